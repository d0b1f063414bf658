// Fields: the columns of a dataset's current row. A dataset either creates one default field
// per result column when it opens, or uses the fields declared for it (SetDataSet), which then
// address the result's columns by FieldName and set the order of Fields(i).
#pragma once

#include <string>

#include "framework/Component.h"
#include "framework/db/FieldType.h"
#include "framework/db/Variant.h"

namespace db {

class TDataSet;

class TField : public fw::TComponent {
 public:
  TField(fw::TComponent* owner, TFieldType type);
  ~TField() override;

  std::string ClassName() const override { return "TField"; }

  // The result column this field reads ("uz.nam").
  const std::string& FieldName() const { return FFieldName; }
  void SetFieldName(const std::string& name) { FFieldName = name; }
  TFieldType DataType() const { return FDataType; }
  // Declared size of text fields, in characters (0 when not declared).
  int Size() const { return FSize; }
  void SetSize(int size) { FSize = size; }
  // A read-only field refuses new values ("Field 'id' cannot be modified").
  bool ReadOnly() const { return FReadOnly; }
  void SetReadOnly(bool readOnly) { FReadOnly = readOnly; }

  // The dataset this field belongs to; declaring a field makes the dataset use its declared
  // fields instead of default ones. Only while the dataset is closed.
  TDataSet* DataSet() const { return FDataSet; }
  void SetDataSet(TDataSet* dataSet);

  // The current row's value; null when the dataset has no current row.
  TVariant Value() const;
  TVariant AsVariant() const { return Value(); }
  bool IsNull() const { return Value().IsNull(); }
  // The value as text; null gives empty text.
  std::u16string AsString() const { return Value().ToString(); }
  // The value as an integer; null gives 0.
  std::int64_t AsInteger() const;

  // New values, in edit mode only.
  void SetValue(const TVariant& value);
  void SetAsString(const std::u16string& value) { SetValue(TVariant(value)); }
  void SetAsInteger(std::int64_t value) { SetValue(TVariant(value)); }

 private:
  friend class TDataSet;
  std::string FFieldName;
  TFieldType FDataType;
  int FSize = 0;
  bool FReadOnly = false;
  TDataSet* FDataSet = nullptr;
  int FColumn = -1;  // column of the open result, -1 while closed
};

// Field classes by data type, as window descriptions name them.
class TWideStringField : public TField {
 public:
  explicit TWideStringField(fw::TComponent* owner) : TField(owner, TFieldType::ftWideString) {}
  std::string ClassName() const override { return "TWideStringField"; }
};
class TIntegerField : public TField {
 public:
  explicit TIntegerField(fw::TComponent* owner) : TField(owner, TFieldType::ftInteger) {}
  std::string ClassName() const override { return "TIntegerField"; }
};
class TAutoIncField : public TField {
 public:
  explicit TAutoIncField(fw::TComponent* owner) : TField(owner, TFieldType::ftAutoInc) {
    SetReadOnly(true);
  }
  std::string ClassName() const override { return "TAutoIncField"; }
};
class TFloatField : public TField {
 public:
  explicit TFloatField(fw::TComponent* owner) : TField(owner, TFieldType::ftFloat) {}
  std::string ClassName() const override { return "TFloatField"; }
};
class TDateTimeField : public TField {
 public:
  explicit TDateTimeField(fw::TComponent* owner) : TField(owner, TFieldType::ftDateTime) {}
  std::string ClassName() const override { return "TDateTimeField"; }
};
class TBooleanField : public TField {
 public:
  explicit TBooleanField(fw::TComponent* owner) : TField(owner, TFieldType::ftBoolean) {}
  std::string ClassName() const override { return "TBooleanField"; }
};
class TWideMemoField : public TField {
 public:
  explicit TWideMemoField(fw::TComponent* owner) : TField(owner, TFieldType::ftWideMemo) {}
  std::string ClassName() const override { return "TWideMemoField"; }
};
class TBlobField : public TField {
 public:
  explicit TBlobField(fw::TComponent* owner) : TField(owner, TFieldType::ftBlob) {}
  std::string ClassName() const override { return "TBlobField"; }
  // Sets the value to the bytes of a file (edit mode only); a file that cannot be read raises
  // EFOpenError and leaves the value as it was.
  void LoadFromFile(const std::string& fileName);
};

}  // namespace db
