// Embeds the catalogue's window descriptions and the pictures they name in the program.
//   embed-forms OUT.cpp PATH...  the descriptions (.txt) and pictures (.png, .jpg, .jpeg, .bmp)
//                                named, and those in the folders named, as byte arrays of
//                                app::FormFiles()
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

std::string GeneratedSource(const std::vector<File>& files) {
  std::ostringstream s;
  s << "// Made by tools/embed-forms from src/app/forms and the drawn pictures; not to be "
       "edited.\n#include \"app/FormResources.h\"\n\nnamespace app {\n\nnamespace {\n";
  for (std::size_t n = 0; n < files.size(); ++n) {
    s << "\nconst std::uint8_t kFile" << n << "[] = {";
    for (std::size_t i = 0; i < files[n].data.size(); ++i)
      s << (i == 0 ? "\n" : (i % 24 ? "," : ",\n")) << int(files[n].data[i]);
    s << "};\n";
  }
  s << "\n}  // namespace\n\nextern const fw::TEmbeddedFile acFormFiles[] = {\n";
  for (std::size_t n = 0; n < files.size(); ++n)
    s << "    {\"" << files[n].name << "\", {kFile" << n << ", sizeof kFile" << n << "}},\n";
  s << "};\nextern const int acFormFileCount = " << files.size() << ";\n\n}  // namespace app\n";
  return s.str();
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3) {
    std::fputs("usage: embed-forms OUT.cpp PATH...\n", stderr);
    return 2;
  }
  try {
    std::vector<File> files;
    std::set<std::string> names;
    for (int a = 2; a < argc; ++a) {
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
    const std::string partial = std::string(argv[1]) + ".partial";
    std::ofstream(partial, std::ios::binary) << GeneratedSource(files);
    fs::rename(partial, argv[1]);
    return 0;
  } catch (const std::exception& e) {
    std::fprintf(stderr, "embed-forms: %s\n", e.what());
    return 1;
  }
}
