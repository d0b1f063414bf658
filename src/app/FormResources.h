// The catalogue's window descriptions (src/app/forms) and the pictures they name, embedded in
// the program at build time by tools/embed-forms, so that the program needs no files of its
// own beside it but the catalogue (res.dat, res/). tools/check-forms reads every description
// into the program's classes during the build: a missing or damaged one fails the build.
#pragma once

#include <span>

#include "framework/Reader.h"

namespace app {

// Every embedded file, by its file name ("Unit1.txt", "header.jpg", ...).
std::span<const fw::TEmbeddedFile> FormFiles();

}  // namespace app
