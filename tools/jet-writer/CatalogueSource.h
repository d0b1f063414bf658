// The catalogue in our own format (SQLite, with the program's password) as a database to
// write as Jet 4, with the region's column types: counters and long integers, texts, the
// sections as a memo and the photo bytes as an OLE object.
#pragma once

#include <string>

#include "JetDatabase.h"

namespace jet {

// The catalogue's three tables `mun`, `uz` and `foto` without rows, with the region's column
// types, and the program's password.
Database CatalogueSchema();

// Every row of `mun`, `uz` and `foto`, in key order. A Jet column holds one type, but our
// `dat_o` may hold dates and texts side by side: when every value is a date (or null) it
// becomes a date column, else a text column with the dates written as the Russian short date
// ("01.09.1987", with " 10:30:00" when there is a time of day), as the card shows them.
Database ReadCatalogue(const std::string& file);

}  // namespace jet
