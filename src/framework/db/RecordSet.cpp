#include "framework/db/RecordSet.h"

#include "framework/Component.h"

namespace db {

int TRecordSet::FindColumn(const std::string& name) const {
  for (std::size_t i = 0; i < columns.size(); ++i)
    if (fw::SameText(columns[i].name, name)) return int(i);
  return -1;
}

}  // namespace db
