// The one place where the catalogue's SQL texts are adapted to the engine. The texts are
// written for the record-set library and run verbatim apart from what follows, which applies
// to texts that return rows (commands run unchanged, so nothing stored in the file, such as a
// view, comes to depend on the collation):
//  - every ORDER BY term gets "COLLATE RU" (RussianCollation.h) unless it names a collation,
//    so "order by nam" sorts Russian text as a Russian reader expects (numbers are unaffected:
//    a collation only orders text);
//  - ":name" parameters are left in place and bound by name (SQLite reads ":p1" itself);
//  - result columns that share a name are renamed "table.column" when the result is read
//    (TADOConnection), as "mun.nam" and "uz.nam" of the organisation query.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace db {

// The text the engine runs for a text of the catalogue.
std::u16string EngineSql(std::u16string_view sql);
// The names of the ":name" parameters in order of first appearance, without the colon
// (quoted text, quoted identifiers and comments are skipped).
std::vector<std::string> ParameterNames(std::u16string_view sql);

}  // namespace db
