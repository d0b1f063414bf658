// The reading side of a Jet 4.0 file, through mdbtools' library. It runs only in the reader's
// child process (JetSource.h): the library is not hardened against damaged or hostile files,
// so whatever it does there stays there.
#pragma once

namespace db {

// Writes the tables mun, uz and foto of the Jet file (every row, photo blobs included) to fd
// as a stream of JetStream.h, or a refusal with its reason. Returns the process's exit status.
int ServeJetFile(const char* file, int fd);

}  // namespace db
