#include "framework/db/DataSet.h"

#include <algorithm>
#include <optional>

#include "framework/db/DbError.h"

namespace db {

namespace {

std::unique_ptr<TField> CreateDefaultField(TFieldType type) {
  switch (type) {
    case TFieldType::ftInteger:
      return std::make_unique<TIntegerField>(nullptr);
    case TFieldType::ftAutoInc:
      return std::make_unique<TAutoIncField>(nullptr);
    case TFieldType::ftFloat:
      return std::make_unique<TFloatField>(nullptr);
    case TFieldType::ftDateTime:
      return std::make_unique<TDateTimeField>(nullptr);
    case TFieldType::ftBoolean:
      return std::make_unique<TBooleanField>(nullptr);
    case TFieldType::ftWideMemo:
      return std::make_unique<TWideMemoField>(nullptr);
    case TFieldType::ftBlob:
      return std::make_unique<TBlobField>(nullptr);
    case TFieldType::ftWideString:
    case TFieldType::ftUnknown:
      break;
  }
  return std::make_unique<TWideStringField>(nullptr);
}

const TVariant kNull;

}  // namespace

TDataSet::TDataSet(fw::TComponent* owner) : TComponent(owner) {}

TDataSet::~TDataSet() {
  for (TField* f : FDeclared) {
    f->FDataSet = nullptr;
    f->FColumn = -1;
  }
}

void TDataSet::DatabaseError(const std::string& message) const {
  throw EDatabaseError(Name().empty() ? message : Name() + ": " + message);
}

void TDataSet::CheckActive() const {
  if (!Active()) DatabaseError("Cannot perform this operation on a closed dataset");
}

void TDataSet::SetActive(bool active) {
  if (active) {
    Open();
  } else {
    Close();
  }
}

void TDataSet::Open() {
  if (Active()) return;
  FResult = OpenRecordSet();
  try {
    BindFields();
    FState = TDataSetState::dsBrowse;
    ApplyFilter(FFilterText, FFiltered);
  } catch (...) {
    Close();
    throw;
  }
  DataEvent(TDataEvent::deActiveChange);
}

void TDataSet::Close() {
  bool wasActive = Active();
  FState = TDataSetState::dsInactive;
  FResult = {};
  FVisible.clear();
  FCursor = 0;
  FEof = FBof = true;
  FFields.clear();
  FDefaults.clear();
  for (TField* f : FDeclared) f->FColumn = -1;
  FEditRow.clear();
  FChanged.clear();
  if (wasActive) DataEvent(TDataEvent::deActiveChange);
}

void TDataSet::AddObserver(TDataSetObserver* observer) {
  if (std::find(FObservers.begin(), FObservers.end(), observer) == FObservers.end())
    FObservers.push_back(observer);
}

void TDataSet::RemoveObserver(TDataSetObserver* observer) {
  std::erase(FObservers, observer);
}

void TDataSet::DataEvent(TDataEvent event) {
  // An observer may remove others (or itself) while being told: each is told only while
  // still registered.
  std::vector<TDataSetObserver*> observers = FObservers;
  for (TDataSetObserver* o : observers)
    if (std::find(FObservers.begin(), FObservers.end(), o) != FObservers.end()) o->DataEvent(event);
}

void TDataSet::MovedFrom(std::size_t cursor) {
  if (FCursor != cursor) DataEvent(TDataEvent::deDataSetScroll);
}

void TDataSet::BindFields() {
  FFields.clear();
  FDefaults.clear();
  if (FDeclared.empty()) {
    for (std::size_t i = 0; i < FResult.columns.size(); ++i) {
      const TColumnInfo& c = FResult.columns[i];
      std::unique_ptr<TField> f = CreateDefaultField(c.type);
      f->SetFieldName(c.name);
      f->FDataSet = this;
      f->FColumn = int(i);
      FFields.push_back(f.get());
      FDefaults.push_back(std::move(f));
    }
    return;
  }
  for (TField* f : FDeclared) {
    f->FColumn = FResult.FindColumn(f->FieldName());
    if (f->FColumn < 0) DatabaseError("Field '" + f->FieldName() + "' not found");
    FFields.push_back(f);
  }
}

void TDataSet::AddDeclaredField(TField* field) {
  FDeclared.push_back(field);
  field->FDataSet = this;
}

void TDataSet::RemoveDeclaredField(TField* field) {
  std::erase(FDeclared, field);
  std::erase(FFields, field);
  field->FDataSet = nullptr;
  field->FColumn = -1;
}

TField& TDataSet::Fields(int index) const {
  CheckActive();
  if (index < 0 || index >= FieldCount())
    DatabaseError("List index out of bounds (" + std::to_string(index) + ")");
  return *FFields[std::size_t(index)];
}

TField* TDataSet::FindField(const std::string& name) const {
  for (TField* f : FFields)
    if (fw::SameText(f->FieldName(), name)) return f;
  return nullptr;
}

TField& TDataSet::FieldByName(const std::string& name) const {
  if (TField* f = FindField(name)) return *f;
  DatabaseError("Field '" + name + "' not found");
}

// Cursor.

void TDataSet::CheckBrowseMode() {
  CheckActive();
  if (FState == TDataSetState::dsEdit) Post();
}

void TDataSet::First() {
  CheckBrowseMode();
  std::size_t from = FCursor;
  FCursor = 0;
  FBof = true;
  FEof = FVisible.empty();
  MovedFrom(from);
}

void TDataSet::Last() {
  CheckBrowseMode();
  std::size_t from = FCursor;
  FCursor = FVisible.empty() ? 0 : FVisible.size() - 1;
  FEof = true;
  FBof = FVisible.empty();
  MovedFrom(from);
}

void TDataSet::Next() {
  CheckBrowseMode();
  if (FCursor + 1 < FVisible.size()) {
    ++FCursor;
    FBof = false;
    DataEvent(TDataEvent::deDataSetScroll);
  } else {
    FEof = true;
  }
}

void TDataSet::Prior() {
  CheckBrowseMode();
  if (FCursor > 0 && !FVisible.empty()) {
    --FCursor;
    FEof = false;
    DataEvent(TDataEvent::deDataSetScroll);
  } else {
    FBof = true;
  }
}

int TDataSet::MoveBy(int distance) {
  CheckBrowseMode();
  if (FVisible.empty()) return 0;
  std::size_t from = FCursor;
  long long to = (long long)FCursor + distance;
  long long last = (long long)FVisible.size() - 1;
  FCursor = std::size_t(std::clamp(to, 0LL, last));
  FBof = to < 0;
  FEof = to > last;
  MovedFrom(from);
  return int((long long)FCursor - (long long)from);
}

void TDataSet::SetRecNo(int recNo) {
  CheckBrowseMode();
  if (FVisible.empty()) return;
  MoveBy(std::clamp(recNo, 1, int(FVisible.size())) - RecNo());
}

int TDataSet::RecordCount() const {
  CheckActive();
  return int(FVisible.size());
}

int TDataSet::RecNo() const {
  CheckActive();
  return FVisible.empty() ? 0 : int(FCursor) + 1;
}

const TRow* TDataSet::CurrentRow() const {
  if (FState == TDataSetState::dsEdit) return &FEditRow;
  if (FVisible.empty()) return nullptr;
  return &FResult.rows[FVisible[FCursor]];
}

const TVariant& TDataSet::ColumnValue(int column) const {
  const TRow* row = CurrentRow();
  if (!row || column < 0 || std::size_t(column) >= row->size()) return kNull;
  return (*row)[std::size_t(column)];
}

const TVariant& TDataSet::ValueAt(const TField& field, int row) const {
  if (field.FDataSet != this || field.FColumn < 0 || row < 0 || std::size_t(row) >= FVisible.size())
    return kNull;
  if (FState == TDataSetState::dsEdit && std::size_t(row) == FCursor)
    return ColumnValue(field.FColumn);
  const TRow& r = FResult.rows[FVisible[std::size_t(row)]];
  return std::size_t(field.FColumn) < r.size() ? r[std::size_t(field.FColumn)] : kNull;
}

// Filter.

void TDataSet::ApplyFilter(const std::u16string& text, bool filtered) {
  std::vector<std::size_t> visible;
  if (Active()) {
    // Checked in full before anything changes.
    if (filtered && !text.empty()) {
      std::optional<TFilterExpression> expr;
      try {
        expr.emplace(text, FResult.columns);
      } catch (const EDatabaseError& e) {
        DatabaseError(e.what());
      }
      for (std::size_t i = 0; i < FResult.rows.size(); ++i)
        if (expr->Matches(FResult.rows[i])) visible.push_back(i);
    } else {
      visible.resize(FResult.rows.size());
      for (std::size_t i = 0; i < visible.size(); ++i) visible[i] = i;
    }
  }
  FFilterText = text;
  FFiltered = filtered;
  FVisible = std::move(visible);
  FCursor = 0;
  FBof = true;
  FEof = FVisible.empty();
}

void TDataSet::SetFilter(const std::u16string& text) {
  if (Active()) CheckBrowseMode();
  if (FFiltered && Active()) {
    ApplyFilter(text, true);
    DataEvent(TDataEvent::deDataSetChange);
  } else {
    FFilterText = text;
  }
}

void TDataSet::SetFiltered(bool filtered) {
  if (filtered == FFiltered) return;
  if (!Active()) {
    FFiltered = filtered;
    return;
  }
  CheckBrowseMode();
  ApplyFilter(FFilterText, filtered);
  DataEvent(TDataEvent::deDataSetChange);
}

// Editing.

void TDataSet::Edit() {
  CheckActive();
  if (FState == TDataSetState::dsEdit) return;
  if (FVisible.empty()) DatabaseError("Cannot perform this operation on an empty dataset");
  FEditRow = FResult.rows[FVisible[FCursor]];
  FChanged.clear();
  FState = TDataSetState::dsEdit;
  DataEvent(TDataEvent::deUpdateState);
}

void TDataSet::SetFieldValue(TField& field, const TVariant& value) {
  if (FState != TDataSetState::dsEdit) DatabaseError("Dataset not in edit or insert mode");
  if (field.ReadOnly() || FResult.columns[std::size_t(field.FColumn)].type == TFieldType::ftAutoInc)
    DatabaseError("Field '" + field.FieldName() + "' cannot be modified");
  FEditRow[std::size_t(field.FColumn)] = value;
  if (std::find(FChanged.begin(), FChanged.end(), field.FColumn) == FChanged.end())
    FChanged.push_back(field.FColumn);
  DataEvent(TDataEvent::deRecordChange);
}

void TDataSet::Post() {
  CheckActive();
  if (FState != TDataSetState::dsEdit) return;
  TRow& stored = FResult.rows[FVisible[FCursor]];
  if (!FChanged.empty()) WriteRow(FResult, stored, FEditRow, FChanged);
  stored = std::move(FEditRow);
  FEditRow.clear();
  FChanged.clear();
  FState = TDataSetState::dsBrowse;
  DataEvent(TDataEvent::deUpdateState);
}

void TDataSet::Cancel() {
  if (FState != TDataSetState::dsEdit) return;
  FEditRow.clear();
  FChanged.clear();
  FState = TDataSetState::dsBrowse;
  DataEvent(TDataEvent::deUpdateState);
}

}  // namespace db
