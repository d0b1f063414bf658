// The Jet reader's stream as the program parses it, into the in-memory catalogue: the first
// byte chooses the size of the pieces the rest arrives in, as a pipe may cut it anywhere.
#include <sqlite3.h>

#include <algorithm>
#include <cstddef>
#include <cstdint>

#include "framework/db/DbError.h"
#include "framework/db/JetCatalogue.h"
#include "framework/db/JetStream.h"
#include "framework/db/Sqlite.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace db;
  if (size == 0) return 0;
  const std::size_t piece = std::size_t(data[0]) * 7 + 1;
  ++data;
  --size;
  sqlite3* raw = nullptr;
  sqlite3_open_v2(":memory:", &raw, SQLITE_OPEN_READWRITE, nullptr);
  SqliteHandle handle(raw);
  try {
    TJetCatalogueLoader loader(raw);
    // Frames as large as a real photo are allowed; the fuzzer's inputs are far smaller.
    TJetStreamParser parser(loader, 1 << 20);
    for (std::size_t at = 0; at < size; at += piece)
      parser.Feed({data + at, std::min(piece, size - at)});
    parser.Finish();
    loader.Finish();
  } catch (const EDatabaseError&) {
  }
  return 0;
}
