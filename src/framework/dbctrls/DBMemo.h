// TDBMemo: a memo showing a text field of the current row. It reloads the field's text at every
// data event of its link (scroll, row change, dataset change, open and close); what the user
// types puts the dataset in edit mode and goes into the field at once. A read-only memo, a
// missing field or a closed dataset edits nothing.
#pragma once

#include <string>

#include "framework/Memo.h"
#include "framework/db/Field.h"
#include "framework/dbctrls/DataSource.h"

namespace fw {

class TDBMemo : public TMemo {
 public:
  explicit TDBMemo(TComponent* owner);
  std::string ClassName() const override { return "TDBMemo"; }

  TDataSource* DataSource() const { return FDataLink.DataSource(); }
  void SetDataSource(TDataSource* source) { FDataLink.SetDataSource(source); }
  // The field shown (by name; a name the dataset lacks shows nothing).
  const std::string& DataField() const { return FDataField; }
  void SetDataField(const std::string& name);
  // The field of the open dataset, or null.
  db::TField* Field() const;
  // The link; its OnDataEvent is the memo's, which a skinned memo may chain after its own.
  TDataLink& DataLink() { return FDataLink; }

 protected:
  void Change() override;

 private:
  void LoadText();

  TDataLink FDataLink;
  std::string FDataField;
  bool FLoading = false;  // the field's text is being shown: no write back
  bool FWriting = false;  // the typed text goes to the field: no reload
};

}  // namespace fw
