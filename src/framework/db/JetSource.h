// Reading a Jet 4.0 catalogue file. mdbtools' library (JetReader.h) is not hardened against
// damaged or hostile files, so it never runs in the program's own process: the program starts
// itself again (/proc/self/exe with the hidden first argument kJetReaderSwitch, served before
// main by this unit, so every program that links the data layer can be its own reader) with
// limits on its address space, CPU time and core dumps, reads the stream it writes on fd 3
// (JetStream.h) with a watchdog on the wall-clock time and a cap on the bytes, and builds the
// catalogue in an in-memory SQLite database (JetCatalogue.h). A crash, a hang, a stream that
// is too long or malformed become an EDatabaseError here.
#pragma once

#include <chrono>
#include <cstdint>
#include <string>
#include <vector>

#include "framework/db/JetCatalogue.h"
#include "framework/db/Sqlite.h"

namespace db {

inline constexpr const char* kJetReaderSwitch = "--jet-reader-child";

// What a reader may take.
struct TJetReadLimits {
  std::chrono::milliseconds time{20000};          // wall-clock time until it is killed
  std::uint64_t memory = std::uint64_t(1) << 30;  // address space (not under AddressSanitizer)
  std::uint64_t output = std::uint64_t(2) << 30;  // bytes of stream
};

// Runs argv (argv[0] the program's path) as a reader: its fd 3 is a pipe whose bytes go to
// parser. Raises EDatabaseError when it crashes, is killed, runs out of time, writes too much
// or something malformed, stops with a failure status, or ends its stream early.
void RunJetReader(const std::vector<std::string>& argv, const TJetReadLimits& limits,
                  TJetStreamParser& parser);

// A new in-memory database holding the catalogue of the Jet 4.0 file, made read-only
// (query_only); the Russian collation is the connection's to add. Raises EDatabaseError "Cannot
// read '<file>': <why>." for a file that is not Jet 4.0 (naming its format), damaged, or without
// the catalogue's tables.
SqliteHandle OpenJetCatalogue(const std::string& file, TJetCatalogueCounts* counts = nullptr,
                              const TJetReadLimits& limits = {});

}  // namespace db
