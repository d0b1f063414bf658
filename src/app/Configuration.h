// The catalogue's fixed configuration: the program's folder, the resource folder built from
// it, and the connection string of the database beside the program. Nothing is read from a
// settings file or the command line.
#pragma once

#include <string>

namespace app {

// The folder of the running program, with its trailing separator ("/opt/catalogue/").
std::string ExecutableFolder();
// The folder the catalogue's files are looked for in: the program's folder, unless tests
// start the catalogue on another folder (an empty text returns to the program's).
std::string CatalogueFolder();
void OverrideCatalogueFolder(const std::string& folder);

// The resource folder: the program's folder followed by "/res/", joined as they stand (a
// doubled separator, "/opt/catalogue//res/", is an ordinary path here).
std::string ResourceFolder(const std::string& programFolder);

// Dates are shown (status line, card) in the short date of the user's locale; with no locale
// chosen (C or POSIX, whose "%x" is the American month/day/year) in the Russian short date
// "dd.mm.yyyy" the catalogue's visitors read. Follows the current LC_TIME.
void ChooseDateFormat();

// The connection string of programFolder + "res.dat" with the database password.
std::u16string CatalogueConnectionString(const std::string& programFolder);

}  // namespace app
