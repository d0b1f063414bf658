// A result held in memory: its columns and all its rows (a static cursor's data).
#pragma once

#include <vector>

#include "framework/db/FieldType.h"
#include "framework/db/Variant.h"

namespace db {

using TRow = std::vector<TVariant>;

struct TRecordSet {
  std::vector<TColumnInfo> columns;
  std::vector<TRow> rows;

  // The index of the column of that name (case-insensitive), or -1.
  int FindColumn(const std::string& name) const;
};

}  // namespace db
