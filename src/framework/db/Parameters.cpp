#include "framework/db/Parameters.h"

#include <algorithm>

#include "framework/Component.h"
#include "framework/db/DbError.h"

namespace db {

TParameter* TParameters::FindParam(const std::string& name) const {
  for (const auto& p : FItems)
    if (fw::SameText(p->Name(), name)) return p.get();
  return nullptr;
}

TParameter& TParameters::ParamByName(const std::string& name) const {
  if (TParameter* p = FindParam(name)) return *p;
  throw EDatabaseError("Parameter '" + name + "' not found");
}

TParameter& TParameters::AddParameter(const std::string& name) {
  FItems.push_back(std::make_unique<TParameter>(name));
  return *FItems.back();
}

void TParameters::Refresh(const std::vector<std::string>& names) {
  std::vector<std::unique_ptr<TParameter>> items;
  for (const std::string& name : names) {
    auto it = std::find_if(FItems.begin(), FItems.end(),
                           [&](const auto& p) { return p && fw::SameText(p->Name(), name); });
    items.push_back(it != FItems.end() ? std::move(*it) : std::make_unique<TParameter>(name));
  }
  FItems = std::move(items);
}

TVariant BoundValue(const TParameter& param) {
  const TVariant& v = param.Value;
  if (v.IsNull()) return v;
  switch (param.DataType) {
    case TFieldType::ftWideString:
    case TFieldType::ftWideMemo:
      return TVariant(v.ToOleStr());
    case TFieldType::ftInteger:
    case TFieldType::ftAutoInc:
      return TVariant(v.ToInteger());
    case TFieldType::ftBoolean:
      return TVariant(v.ToInteger() != 0);
    case TFieldType::ftFloat:
      return v.VarType() == TVarType::Float ? v : TVariant(double(v.ToInteger()));
    case TFieldType::ftDateTime:
    case TFieldType::ftBlob:
    case TFieldType::ftUnknown:
      break;
  }
  return v;
}

}  // namespace db
