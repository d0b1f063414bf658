#include "framework/db/DataClasses.h"

#include "framework/Exception.h"
#include "framework/Reader.h"
#include "framework/TextConv.h"
#include "framework/db/ADODataSet.h"

namespace db {

namespace {

using V = const fw::TValueDesc&;
using C = fw::TReadContext&;
using Table = std::vector<std::pair<std::string, int>>;

const Table kModes = {{"cmUnknown", int(TConnectMode::cmUnknown)},
                      {"cmRead", int(TConnectMode::cmRead)},
                      {"cmWrite", int(TConnectMode::cmWrite)},
                      {"cmReadWrite", int(TConnectMode::cmReadWrite)},
                      {"cmShareDenyRead", int(TConnectMode::cmShareDenyRead)},
                      {"cmShareDenyWrite", int(TConnectMode::cmShareDenyWrite)},
                      {"cmShareExclusive", int(TConnectMode::cmShareExclusive)},
                      {"cmShareDenyNone", int(TConnectMode::cmShareDenyNone)}};
// Every result is held in memory when the dataset opens, so every cursor type reads as a
// static one; the names are accepted as descriptions write them.
const Table kCursorTypes = {{"ctUnspecified", 0},
                            {"ctOpenForwardOnly", 1},
                            {"ctKeyset", 2},
                            {"ctDynamic", 3},
                            {"ctStatic", 4}};
const Table kFieldTypes = {
    {"ftUnknown", int(TFieldType::ftUnknown)},   {"ftWideString", int(TFieldType::ftWideString)},
    {"ftString", int(TFieldType::ftWideString)}, {"ftInteger", int(TFieldType::ftInteger)},
    {"ftAutoInc", int(TFieldType::ftAutoInc)},   {"ftFloat", int(TFieldType::ftFloat)},
    {"ftDateTime", int(TFieldType::ftDateTime)}, {"ftBoolean", int(TFieldType::ftBoolean)},
    {"ftWideMemo", int(TFieldType::ftWideMemo)}, {"ftBlob", int(TFieldType::ftBlob)}};
const Table kParamAttributes = {{"paSigned", 1}, {"paNullable", 2}, {"paLong", 4}};

void Connection(TCustomADODataSet* d, V v, C x) {
  x.Reference(v, [d](fw::TComponent* c) {
    auto* conn = dynamic_cast<TADOConnection*>(c);
    if (!conn) throw fw::Exception(u"a connection expected");
    d->SetConnection(conn);
  });
}

// A parameter's stored value: a number, a text or Null.
TVariant ParameterValue(V v, C x) {
  if (v.kind == fw::TValueDesc::Kind::Integer) return TVariant(std::int64_t(v.integer));
  if (v.kind == fw::TValueDesc::Kind::Ident && fw::SameText(v.ident, "Null")) return TVariant();
  return TVariant(x.String(v));
}

TParameter& ReadParameter(TParameters& params, const std::vector<fw::TPropertyDesc>& item, C x) {
  std::string name;
  for (const fw::TPropertyDesc& p : item)
    if (fw::SameText(p.name, "Name")) name = fw::Utf16ToUtf8(x.String(p.value));
  if (name.empty()) throw fw::Exception(u"parameter without Name");
  TParameter* param = params.FindParam(name);
  if (!param) param = &params.AddParameter(name);
  for (const fw::TPropertyDesc& p : item) {
    if (fw::SameText(p.name, "Name")) continue;
    if (fw::SameText(p.name, "DataType"))
      param->DataType = TFieldType(x.Enum(p.value, kFieldTypes));
    else if (fw::SameText(p.name, "Size"))
      param->Size = int(x.Integer(p.value, 0, INT32_MAX));
    else if (fw::SameText(p.name, "Precision"))
      param->Precision = int(x.Integer(p.value, 0, 255));
    else if (fw::SameText(p.name, "NumericScale"))
      param->NumericScale = int(x.Integer(p.value, 0, 255));
    else if (fw::SameText(p.name, "Attributes"))
      param->Nullable = (x.Set(p.value, kParamAttributes) & 2) != 0;
    else if (fw::SameText(p.name, "Value"))
      param->Value = ParameterValue(p.value, x);
    else
      throw fw::Exception(u"unknown parameter property " + fw::Utf8ToUtf16(p.name));
  }
  return *param;
}

template <class T>
void RegisterField(const char* name) {
  fw::RegisterClass<T>(name, "TField");
}

}  // namespace

void RegisterDataClasses() {
  static bool done = false;
  if (done) return;
  done = true;

  using Conn = TADOConnection;
  fw::RegisterClass<Conn>("TADOConnection", "");
  fw::RegisterProperty<Conn>("TADOConnection", "ConnectionString",
                             [](Conn* c, V v, C x) { c->SetConnectionString(x.String(v)); });
  fw::RegisterProperty<Conn>("TADOConnection", "LoginPrompt",
                             [](Conn* c, V v, C x) { c->SetLoginPrompt(x.Bool(v)); });
  fw::RegisterProperty<Conn>("TADOConnection", "Mode", [](Conn* c, V v, C x) {
    c->SetMode(TConnectMode(x.Enum(v, kModes)));
  });
  // The provider is part of the connection string; only the one this layer serves is taken.
  fw::RegisterProperty<Conn>("TADOConnection", "Provider", [](Conn*, V v, C x) {
    if (x.String(v) != kJetProvider)
      throw fw::Exception(u"Provider cannot be found. It may not be properly installed");
  });

  using DS = TCustomADODataSet;
  fw::RegisterClass("TCustomADODataSet", "", nullptr);
  fw::RegisterProperty<DS>("TCustomADODataSet", "Connection", Connection);
  fw::RegisterProperty<DS>("TCustomADODataSet", "CursorType",
                           [](DS*, V v, C x) { x.Enum(v, kCursorTypes); });

  using Q = TADOQuery;
  fw::RegisterClass<Q>("TADOQuery", "TCustomADODataSet");
  fw::RegisterProperty<Q>("TADOQuery", "SQL.Strings", [](Q* q, V v, C x) {
    std::u16string text;
    for (const std::u16string& line : x.Strings(v)) text += (text.empty() ? u"" : u"\r\n") + line;
    q->SetSQL(text);
  });
  fw::RegisterProperty<Q>("TADOQuery", "Parameters", [](Q* q, V v, C x) {
    if (v.kind != fw::TValueDesc::Kind::Collection) throw fw::Exception(u"collection expected");
    for (const auto& item : v.items) ReadParameter(q->Parameters(), item, x);
  });

  using T = TADOTable;
  fw::RegisterClass<T>("TADOTable", "TCustomADODataSet");
  fw::RegisterProperty<T>("TADOTable", "TableName",
                          [](T* t, V v, C x) { t->SetTableName(fw::Utf16ToUtf8(x.String(v))); });

  // Declared fields name their dataset; the order they are written in is Fields' order.
  fw::RegisterClass("TField", "", nullptr);
  fw::RegisterProperty<TField>("TField", "FieldName", [](TField* f, V v, C x) {
    f->SetFieldName(fw::Utf16ToUtf8(x.String(v)));
  });
  fw::RegisterProperty<TField>(
      "TField", "Size", [](TField* f, V v, C x) { f->SetSize(int(x.Integer(v, 0, INT32_MAX))); });
  fw::RegisterProperty<TField>("TField", "ReadOnly",
                               [](TField* f, V v, C x) { f->SetReadOnly(x.Bool(v)); });
  fw::RegisterProperty<TField>("TField", "DataSet", [](TField* f, V v, C x) {
    x.Reference(v, [f](fw::TComponent* c) {
      auto* d = dynamic_cast<TDataSet*>(c);
      if (!d) throw fw::Exception(u"a dataset expected");
      f->SetDataSet(d);
    });
  });
  RegisterField<TWideStringField>("TWideStringField");
  RegisterField<TIntegerField>("TIntegerField");
  RegisterField<TAutoIncField>("TAutoIncField");
  RegisterField<TFloatField>("TFloatField");
  RegisterField<TDateTimeField>("TDateTimeField");
  RegisterField<TBooleanField>("TBooleanField");
  RegisterField<TWideMemoField>("TWideMemoField");
  RegisterField<TBlobField>("TBlobField");
}

}  // namespace db
