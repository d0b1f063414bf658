// The Jet files the tests read: awkward cases in the catalogue's shape, files the reader must
// refuse by their header, and damaged variants of a good file.
#pragma once

#include <string>
#include <vector>

#include "JetBytes.h"
#include "JetDatabase.h"
#include "JetHeader.h"
#include "JetWriter.h"

namespace jet {

// The catalogue's three tables with awkward values: Cyrillic text with Ё, quotes, commas and
// line breaks; nulls in every column; empty texts and blobs; a 255-character text; memos in
// the row, on one long-value page, and over many pages (exactly at the page boundaries too);
// a photo (a real JPEG) over many pages; dates with times, at the day zero and far ahead.
// Beside them: `empty` (no rows), `numbers` (extremes of every number type), `dates` (dates
// before 30 December 1899 and up to 9999 among others) and `many` (rows over several data
// pages).
Database AwkwardDatabase();
// The catalogue's three tables, with no rows.
Database EmptyCatalogue();
// A database with none of the catalogue's tables.
Database NoCatalogue();
// The catalogue's tables with an organisation whose id is null among others.
Database NullIdCatalogue();

// A file of the given version with only its definition page and blank pages after it, as a
// reader sees a Jet 3 file or one of the later formats at first glance.
Bytes HeaderOnlyFile(FormatVersion version);

// `file` with a database key other than 0 in its definition page: readers take its pages for
// encoded, which they are not, so that they decode them to nothing readable.
Bytes WithDatabaseKey(Bytes file, std::uint32_t key);

struct DamagedFile {
  std::string name;  // the file name
  std::string what;  // what is wrong with it
  Bytes bytes;
};
// Variants of the awkward file (`good`, written with `layout`): truncated, pointers to pages
// beyond the end, a loop in a long-value chain and in a definition chain, absurd counts and
// lengths, a catalogue page of the wrong type.
std::vector<DamagedFile> DamagedVariants(const Bytes& good, const Layout& layout);

}  // namespace jet
