// Writes Jet 4 files for the tests.
//   make-jet catalogue IN OUT   the catalogue IN (our format) as the Jet 4 file OUT
//   make-jet fixtures DIR       the awkward cases, the refused headers and the damaged files
#include <cstdio>
#include <exception>
#include <filesystem>
#include <string>

#include "CatalogueSource.h"
#include "JetFixtures.h"
#include "JetWriter.h"
#include "platform/gfx/PictureCodec.h"

namespace {

namespace fs = std::filesystem;
using namespace jet;

// Writes beside the name and renames, so that an interrupted build leaves no half file.
void Save(const fs::path& path, const Bytes& bytes) {
  if (path.has_parent_path()) fs::create_directories(path.parent_path());
  const fs::path partial = path.string() + ".partial";
  gfx::WriteFileBytes(partial.string(), bytes);
  fs::rename(partial, path);
}

void WriteFixtures(const fs::path& dir) {
  Layout layout;
  const Bytes awkward = WriteJet4(AwkwardDatabase(), &layout);
  Save(dir / "empty.dat", WriteJet4(EmptyCatalogue()));
  Save(dir / "no-catalogue.dat", WriteJet4(NoCatalogue()));
  Save(dir / "null-id.dat", WriteJet4(NullIdCatalogue()));
  Save(dir / "refused" / "jet3.dat", HeaderOnlyFile(FormatVersion::Jet3));
  Save(dir / "refused" / "ace12.dat", HeaderOnlyFile(FormatVersion::Ace12));
  Save(dir / "refused" / "ace14.dat", HeaderOnlyFile(FormatVersion::Ace14));
  Save(dir / "refused" / "encoded.dat", WithDatabaseKey(awkward, 0x5EC2E7));
  fs::remove_all(dir / "damaged");
  for (const DamagedFile& f : DamagedVariants(awkward, layout))
    Save(dir / "damaged" / f.name, f.bytes);
  // Last: the build waits for this one.
  Save(dir / "awkward.dat", awkward);
}

}  // namespace

int main(int argc, char** argv) {
  const std::string mode = argc > 1 ? argv[1] : "";
  if (!((mode == "catalogue" && argc == 4) || (mode == "fixtures" && argc == 3))) {
    std::fprintf(stderr, "usage: make-jet catalogue IN OUT | make-jet fixtures DIR\n");
    return 2;
  }
  try {
    if (mode == "catalogue")
      Save(argv[3], WriteJet4(ReadCatalogue(argv[2])));
    else
      WriteFixtures(argv[2]);
  } catch (const std::exception& e) {
    std::fprintf(stderr, "make-jet: %s\n", e.what());
    return 1;
  }
  return 0;
}
