// The catalogue's three tables (mun, uz, foto), as they arrive from a Jet file, made into an
// SQLite database of the program's own format: the columns the program uses get the declared
// types of that format (id an auto-numbered integer primary key, dat_o a date, razd long
// text, fot a blob ...), any other column one after its Jet kind. The queries, the Russian
// ordering, the positional fields and the filter then behave as on the program's own files.
#pragma once

#include <sqlite3.h>

#include <cstdint>
#include <string>

#include "framework/db/JetStream.h"

namespace db {

// The schema of the program's own catalogue file, as "create table" statements.
std::u16string CatalogueSchemaSql();

// Copies a loaded catalogue into a new file of the program's own format with a password (none
// when empty); an existing file of that name raises EDatabaseError.
void WriteCatalogueFile(sqlite3* catalogue, const std::string& file, std::u16string_view password);

// What a load read, for whoever reports it.
struct TJetCatalogueCounts {
  std::uint64_t mun = 0, uz = 0, foto = 0;
  std::uint64_t blobs = 0, blobBytes = 0;  // photo blobs (non-null fot) and their bytes
};

// Builds the tables into an open, empty database, in one transaction. A table other than the
// three, one of them twice, a used column missing, an id that is null or no integer, or a
// duplicate key raise EDatabaseError.
class TJetCatalogueLoader : public TJetStreamSink {
 public:
  explicit TJetCatalogueLoader(sqlite3* h);
  ~TJetCatalogueLoader() override;

  void BeginTable(const TJetTableInfo& table) override;
  void AddRow(const std::vector<TVariant>& values) override;
  void EndTable() override;
  // Raises EDatabaseError unless all three tables came; commits.
  void Finish();

  const TJetCatalogueCounts& Counts() const { return FCounts; }

 private:
  sqlite3* FHandle;
  bool FOpen = true;  // the transaction
  int FTable = -1;    // index of the current table, -1 between tables
  int FBlobColumn = -1;
  int FKeyColumn = -1;  // the id column
  std::size_t FColumnCount = 0;
  bool FSeen[3] = {};
  sqlite3_stmt* FInsert = nullptr;
  TJetCatalogueCounts FCounts;
};

}  // namespace db
