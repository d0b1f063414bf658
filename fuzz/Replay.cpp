// Replays inputs through one fuzz target outside the fuzz build, so the crashes kept in
// fuzz/regressions/ and the seeds are run by the normal and sanitizer tests too. The empty
// input first, then every file named and every file in the folders named (in name order, so
// runs repeat), each once through LLVMFuzzerTestOneInput. A finding ends the program as under
// the fuzzer (an abort, a sanitizer report, an escaping exception). A folder that does not
// exist holds no inputs (not every target has kept crashes or seeds); a file that cannot be
// read is an error.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);

namespace {

bool Replay(const std::filesystem::path& file) {
  std::ifstream in(file, std::ios::binary);
  std::vector<std::uint8_t> bytes(std::istreambuf_iterator<char>(in), {});
  if (!in.eof() && !in) {
    std::fprintf(stderr, "replay: cannot read %s\n", file.c_str());
    return false;
  }
  std::printf("replay: %s\n", file.c_str());
  std::fflush(stdout);  // names the input should it end the program
  LLVMFuzzerTestOneInput(bytes.data(), bytes.size());
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  LLVMFuzzerTestOneInput(nullptr, 0);
  int count = 1;
  for (int i = 1; i < argc; ++i) {
    const std::filesystem::path path = argv[i];
    std::vector<std::filesystem::path> files;
    std::error_code error;
    if (std::filesystem::is_directory(path, error)) {
      for (const auto& entry : std::filesystem::recursive_directory_iterator(path))
        if (entry.is_regular_file()) files.push_back(entry.path());
      std::sort(files.begin(), files.end());
    } else if (std::filesystem::exists(path, error)) {
      files.push_back(path);
    } else {
      std::printf("replay: no inputs at %s\n", argv[i]);
    }
    for (const auto& f : files) {
      if (!Replay(f)) return 1;
      ++count;
    }
  }
  std::printf("replay: %d inputs, no finding\n", count);
  return 0;
}
