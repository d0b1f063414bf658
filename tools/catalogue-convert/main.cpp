// catalogue-convert IN OUT [--force]: writes the program's own catalogue format (SQLite, the
// program's password kept as a salted hash) from a Jet 4.0 catalogue file: every row and
// every photo blob of mun, uz and foto. The new file is written beside OUT and renamed over it
// only when whole, so a failed conversion leaves nothing behind; an existing OUT is kept
// unless --force is given. Exit status: 0 done, 1 refused (not Jet 4.0, damaged, without the
// catalogue's tables, OUT exists) or not written, 2 wrong usage.
#include <unistd.h>

#include <cstdio>
#include <exception>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "app/DatabasePassword.h"
#include "framework/db/DbError.h"
#include "framework/db/JetSource.h"

namespace {

namespace fs = std::filesystem;

constexpr const char* kUsage =
    "usage: catalogue-convert IN OUT [--force]\n"
    "  IN       a Jet 4.0 catalogue file (res.dat with the tables mun, uz, foto)\n"
    "  OUT      the file to write in the program's own format\n"
    "  --force  overwrite OUT when it exists\n";

}  // namespace

int main(int argc, char** argv) {
  std::vector<std::string_view> files;
  bool force = false;
  for (int i = 1; i < argc; ++i) {
    const std::string_view a = argv[i];
    if (a == "--force") {
      force = true;
    } else if (a.starts_with("-") && a.size() > 1) {
      std::fprintf(stderr, "catalogue-convert: unknown option %s\n%s", argv[i], kUsage);
      return 2;
    } else {
      files.push_back(a);
    }
  }
  if (files.size() != 2) {
    std::fputs(kUsage, stderr);
    return 2;
  }
  const std::string in(files[0]), out(files[1]);
  std::error_code ec;
  if (fs::exists(out, ec) && !force) {
    std::fprintf(stderr, "catalogue-convert: '%s' exists; give --force to overwrite it\n",
                 out.c_str());
    return 1;
  }
  const std::string temp = out + ".converting-" + std::to_string(::getpid());
  try {
    db::TJetCatalogueCounts n;
    db::SqliteHandle catalogue = db::OpenJetCatalogue(in, &n);
    fs::remove(temp, ec);
    db::WriteCatalogueFile(catalogue.get(), temp, app::kDatabasePassword);
    fs::rename(temp, out);
    std::printf(
        "Read '%s' (Jet 4.0): %llu rows of mun, %llu of uz, %llu of foto, %llu photo blobs "
        "(%llu bytes).\nWrote '%s'.\n",
        in.c_str(), static_cast<unsigned long long>(n.mun), static_cast<unsigned long long>(n.uz),
        static_cast<unsigned long long>(n.foto), static_cast<unsigned long long>(n.blobs),
        static_cast<unsigned long long>(n.blobBytes), out.c_str());
    return 0;
  } catch (const std::exception& e) {
    fs::remove(temp, ec);
    std::fprintf(stderr, "catalogue-convert: %s\n", e.what());
    return 1;
  }
}
