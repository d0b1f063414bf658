// A database to write as a Jet 4 file: its tables with their columns and rows, the database
// password and the header's settings.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "framework/db/Variant.h"

namespace jet {

// Column types, numbered as the file numbers them.
enum class ColumnType : std::uint8_t {
  Integer = 0x03,      // 16-bit integer (db integer)
  LongInteger = 0x04,  // 32-bit integer (db integer)
  Double = 0x07,       // (db float)
  DateTime = 0x08,     // (db date)
  Text = 0x0A,         // up to 255 characters (db text)
  LongBinary = 0x0B,   // OLE object: bytes of any length (db blob)
  Memo = 0x0C,         // text of any length (db text)
};

struct Column {
  std::u16string name;
  ColumnType type;
  int maxChars = 255;       // Text: the longest value
  bool autoNumber = false;  // LongInteger: a counter, numbered by the database
};

// A row holds one value per column; null is allowed everywhere.
using Row = std::vector<db::TVariant>;

struct Table {
  std::u16string name;
  std::vector<Column> columns;
  std::vector<Row> rows;
};

struct Database {
  std::vector<Table> tables;
  std::u16string password;  // up to 20 characters
  db::TDateTime created;    // the creation date in the header
  std::uint16_t codePage = 1251;
  std::uint16_t sortOrder = 0x0409;  // "General"
};

}  // namespace jet
