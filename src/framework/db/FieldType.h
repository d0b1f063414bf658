// Field and parameter data types, and the description of one result column.
#pragma once

#include <string>

namespace db {

// The data types the layer distinguishes.
enum class TFieldType {
  ftUnknown,     // not declared; a parameter of this type is bound as its value's kind
  ftWideString,  // text up to Size characters
  ftInteger,     // 64-bit integer
  ftAutoInc,     // integer key numbered by the engine; read-only
  ftFloat,       // double
  ftDateTime,    // date and time of day
  ftBoolean,     // true or false
  ftWideMemo,    // long text
  ftBlob,        // bytes
};

// One column of a result as the engine describes it.
struct TColumnInfo {
  std::string name;  // the name fields and filters use ("vid", "mun.nam")
  TFieldType type = TFieldType::ftUnknown;
  std::string table;        // base table the column comes from, empty for an expression
  std::string origin;       // the column's name in that table
  bool primaryKey = false;  // the column is its table's primary key
};

}  // namespace db
