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
}

void TDataSet::Close() {
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
  FCursor = 0;
  FBof = true;
  FEof = FVisible.empty();
}

void TDataSet::Last() {
  CheckBrowseMode();
  FCursor = FVisible.empty() ? 0 : FVisible.size() - 1;
  FEof = true;
  FBof = FVisible.empty();
}

void TDataSet::Next() {
  CheckBrowseMode();
  if (FCursor + 1 < FVisible.size()) {
    ++FCursor;
    FBof = false;
  } else {
    FEof = true;
  }
}

void TDataSet::Prior() {
  CheckBrowseMode();
  if (FCursor > 0 && !FVisible.empty()) {
    --FCursor;
    FEof = false;
  } else {
    FBof = true;
  }
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
}

// Editing.

void TDataSet::Edit() {
  CheckActive();
  if (FState == TDataSetState::dsEdit) return;
  if (FVisible.empty()) DatabaseError("Cannot perform this operation on an empty dataset");
  FEditRow = FResult.rows[FVisible[FCursor]];
  FChanged.clear();
  FState = TDataSetState::dsEdit;
}

void TDataSet::SetFieldValue(TField& field, const TVariant& value) {
  if (FState != TDataSetState::dsEdit) DatabaseError("Dataset not in edit or insert mode");
  if (field.ReadOnly() || FResult.columns[std::size_t(field.FColumn)].type == TFieldType::ftAutoInc)
    DatabaseError("Field '" + field.FieldName() + "' cannot be modified");
  FEditRow[std::size_t(field.FColumn)] = value;
  if (std::find(FChanged.begin(), FChanged.end(), field.FColumn) == FChanged.end())
    FChanged.push_back(field.FColumn);
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
}

void TDataSet::Cancel() {
  if (FState != TDataSetState::dsEdit) return;
  FEditRow.clear();
  FChanged.clear();
  FState = TDataSetState::dsBrowse;
}

}  // namespace db
