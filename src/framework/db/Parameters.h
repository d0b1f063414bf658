// Query parameters: ":name" in the SQL text, each with a declared type and a value.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "framework/db/FieldType.h"
#include "framework/db/Variant.h"

namespace db {

class TParameter {
 public:
  explicit TParameter(std::string name) : FName(std::move(name)) {}

  const std::string& Name() const { return FName; }
  // The declared type; the value is converted to it when bound (ftUnknown binds as is).
  TFieldType DataType = TFieldType::ftUnknown;
  int Size = 0;          // declared size, in bytes for text
  int Precision = 0;     // declared precision
  int NumericScale = 0;  // declared scale
  bool Nullable = true;  // the parameter may be null
  TVariant Value;        // the value bound when the query runs

 private:
  std::string FName;
};

class TParameters {
 public:
  int Count() const { return int(FItems.size()); }
  TParameter& Items(int index) { return *FItems.at(std::size_t(index)); }
  const TParameter& Items(int index) const { return *FItems.at(std::size_t(index)); }
  // The parameter of that name (case-insensitive), or null.
  TParameter* FindParam(const std::string& name) const;
  // The parameter of that name; raises EDatabaseError "Parameter 'x' not found".
  TParameter& ParamByName(const std::string& name) const;
  // Adds a parameter (used by declarations).
  TParameter& AddParameter(const std::string& name);
  // Makes the list exactly these names, keeping the declarations of names already present.
  void Refresh(const std::vector<std::string>& names);

 private:
  std::vector<std::unique_ptr<TParameter>> FItems;
};

// The value a parameter is bound with: its value converted to its declared type (text to a
// number for numeric types, anything to text for text types); null stays null.
TVariant BoundValue(const TParameter& param);

}  // namespace db
