#include "framework/dbctrls/DBMemo.h"

namespace fw {

namespace {

// Holds a flag up for a scope.
class TFlagUp {
 public:
  explicit TFlagUp(bool& flag) : FFlag(flag) { FFlag = true; }
  ~TFlagUp() { FFlag = false; }
  TFlagUp(const TFlagUp&) = delete;
  TFlagUp& operator=(const TFlagUp&) = delete;

 private:
  bool& FFlag;
};

}  // namespace

TDBMemo::TDBMemo(TComponent* owner) : TMemo(owner) {
  FDataLink.OnDataEvent = [this](db::TDataEvent) {
    if (!FWriting) LoadText();
  };
}

void TDBMemo::SetDataField(const std::string& name) {
  if (name == FDataField) return;
  FDataField = name;
  LoadText();
}

db::TField* TDBMemo::Field() const {
  db::TDataSet* ds = FDataLink.DataSet();
  return ds && !FDataField.empty() ? ds->FindField(FDataField) : nullptr;
}

void TDBMemo::LoadText() {
  db::TField* f = Field();
  TFlagUp loading(FLoading);
  SetText(f ? f->AsString() : std::u16string());
}

void TDBMemo::Change() {
  TMemo::Change();
  db::TField* f = Field();
  if (FLoading || ReadOnly() || !f) return;
  TFlagUp writing(FWriting);
  db::TDataSet* ds = FDataLink.DataSet();
  if (ds->State() != db::TDataSetState::dsEdit) ds->Edit();
  f->SetAsString(Text());
}

}  // namespace fw
