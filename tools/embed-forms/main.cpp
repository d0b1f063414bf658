// Embeds the catalogue's window descriptions and the pictures they name in the program.
//   embed-forms OUT.cpp PATH...  the descriptions (.txt) and pictures (.png, .jpg, .jpeg, .bmp)
//                                named, and those in the folders named, as byte arrays of
//                                app::FormFiles()
//   embed-forms --into NAMESPACE ARRAY COUNT OUT.cpp PATH...
//                                the same as NAMESPACE::ARRAY (fw::TEmbeddedFile) and
//                                NAMESPACE::COUNT, for the libraries' own pictures
// Every description is parsed on the way, so a damaged one stops the build here; reading them
// into the program's own classes is tools/check-forms' part, once the program is linked.
#include <algorithm>
#include <cstdio>
#include <exception>
#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "framework/WindowDescription.h"
#include "platform/gfx/PictureCodec.h"

namespace {

namespace fs = std::filesystem;

struct File {
  std::string name;
  std::vector<std::uint8_t> data;
};

bool Embedded(const fs::path& p) {
  static const std::set<std::string> kExtensions = {".txt", ".png", ".jpg", ".jpeg", ".bmp"};
  return kExtensions.count(p.extension().string()) > 0;
}

// Where the generated arrays go.
struct Symbols {
  std::string ns = "app", array = "acFormFiles", count = "acFormFileCount";
};

std::string GeneratedSource(const std::vector<File>& files, const Symbols& sym) {
  std::ostringstream s;
  s << "// Made by tools/embed-forms from the files named on its command line; not to be "
       "edited.\n#include \"framework/Reader.h\"\n\nnamespace "
    << sym.ns << " {\n\nnamespace {\n";
  for (std::size_t n = 0; n < files.size(); ++n) {
    s << "\nconst std::uint8_t kFile" << n << "[] = {";
    for (std::size_t i = 0; i < files[n].data.size(); ++i)
      s << (i == 0 ? "\n" : (i % 24 ? "," : ",\n")) << int(files[n].data[i]);
    s << "};\n";
  }
  // An array of no files still needs one element.
  s << "\n}  // namespace\n\nextern const fw::TEmbeddedFile " << sym.array << "["
    << std::max<std::size_t>(files.size(), 1) << "] = {\n";
  for (std::size_t n = 0; n < files.size(); ++n)
    s << "    {\"" << files[n].name << "\", {kFile" << n << ", sizeof kFile" << n << "}},\n";
  s << "};\nextern const int " << sym.count << " = " << files.size() << ";\n\n}  // namespace "
    << sym.ns << "\n";
  return s.str();
}

}  // namespace

int main(int argc, char** argv) {
  Symbols sym;
  int first = 1;
  if (argc > 1 && std::string(argv[1]) == "--into") {
    first = argc;  // too few: usage
    if (argc >= 5) sym = {argv[2], argv[3], argv[4]}, first = 5;
  }
  if (argc < first + 2) {
    std::fputs("usage: embed-forms [--into NAMESPACE ARRAY COUNT] OUT.cpp PATH...\n", stderr);
    return 2;
  }
  try {
    std::vector<File> files;
    std::set<std::string> names;
    for (int a = first + 1; a < argc; ++a) {
      std::vector<fs::path> found;
      if (!fs::is_directory(argv[a])) {
        if (!Embedded(argv[a])) throw std::runtime_error(std::string("not embedded: ") + argv[a]);
        found.push_back(argv[a]);
      } else {
        for (const auto& entry : fs::directory_iterator(argv[a]))
          if (entry.is_regular_file() && Embedded(entry.path())) found.push_back(entry.path());
      }
      std::sort(found.begin(), found.end());
      for (const fs::path& p : found) {
        const std::string name = p.filename().string();
        // Names stay plain so that they can stand in the generated source as they are.
        if (name.find_first_of("\"\\") != std::string::npos)
          throw std::runtime_error("unusable file name " + p.string());
        if (!names.insert(name).second) throw std::runtime_error("two files named " + name);
        File f{name, gfx::ReadFileBytes(p.string())};
        if (p.extension() == ".txt")
          fw::ParseWindowDescription(
              std::string_view(reinterpret_cast<const char*>(f.data.data()), f.data.size()),
              p.string());
        files.push_back(std::move(f));
      }
    }
    const std::string partial = std::string(argv[first]) + ".partial";
    std::ofstream(partial, std::ios::binary) << GeneratedSource(files, sym);
    fs::rename(partial, argv[first]);
    return 0;
  } catch (const std::exception& e) {
    std::fprintf(stderr, "embed-forms: %s\n", e.what());
    return 1;
  }
}
