// Writes a database as a Jet 4 file: the definition page, the usage-map page, the system
// catalogue (MSysObjects) with an entry per table, a definition page per table, its rows on
// data pages and its long values on long-value pages. No indexes are written.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "JetBytes.h"
#include "JetDatabase.h"
#include "JetPages.h"

namespace jet {

// Where the writer put things, for tests and for damaging a file on purpose.
struct RowPlace {
  std::uint32_t page;
  std::uint16_t offset;  // in the page
  std::uint16_t length;
};
struct TableLayout {
  std::u16string name;
  std::uint32_t definitionPage;
  std::vector<std::uint32_t> dataPages;
  std::vector<RowPlace> rows;
};
struct LongValuePlace {
  std::size_t table, row, column;  // indices into Layout::tables and their rows and columns
  LongValueKind kind;
  std::uint32_t fieldPage;  // where the 12-byte header lies
  std::uint16_t fieldOffset;
  std::vector<std::uint32_t> pages;  // the long-value pages, in chain order
};
struct Layout {
  std::uint32_t pageCount = 0;
  std::vector<TableLayout> tables;  // the catalogue first, then the database's tables
  std::vector<LongValuePlace> longValues;
};

// Long values up to this many bytes stay in their row.
inline constexpr std::size_t kInlineLimit = 64;
// The catalogue's page, fixed by the format.
inline constexpr std::uint32_t kCatalogPage = 2;
// Catalogue flags of a system table.
inline constexpr std::uint32_t kSystemTableFlags = 0x80000002;

// The whole file. Throws std::invalid_argument for a value that does not suit its column
// (type, range, a text longer than its column), a row or a table definition longer than a
// page, a password over 20 characters; std::length_error for a file over 2^24 pages or usage
// maps beyond page 1.
Bytes WriteJet4(const Database& database, Layout* layout = nullptr);

}  // namespace jet
