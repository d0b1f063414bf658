// The catalogue's start-up as a visitor meets it: the program (build/bin/catalogue, or the one
// MC_CATALOGUE names, to compare builds) started headless in a process of its own on the
// catalogue beside it, timed from the start of the process to its first painted frame, with
// the peak memory of the whole process. The script's first command runs once every window has
// painted and the message loop is idle, so its reply marks the first frame; then the program
// quits. The plain pair starts the same program with --plain (its manager switched off before
// the first frame). The jet row starts a copy of the program in a folder whose res.dat is the
// sample catalogue as a Jet 4.0 file (the Jet test files' sample/res.dat, MC_JET_FIXTURES in the
// environment or the build's), read through the reader's child process, beside the same photos.
#include <benchmark/benchmark.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "app/Configuration.h"

extern char** environ;

namespace app {
namespace {

struct StartUp {
  double firstFrameSeconds = 0;
  long peakKiB = 0;  // the process's maximum resident set
  std::string error;
};

std::string Program() {
  const char* other = std::getenv("MC_CATALOGUE");
  return other && *other ? other : ExecutableFolder() + "catalogue";
}

std::string ScriptFile() {
  static const std::string file = [] {
    const std::string path = (std::filesystem::temp_directory_path() /
                              ("startup-bench-" + std::to_string(::getpid()) + ".script"))
                                 .string();
    std::FILE* f = std::fopen(path.c_str(), "w");
    std::fputs("wait 0\nquit\n", f);
    std::fclose(f);
    return path;
  }();
  return file;
}

StartUp RunOnce(const std::string& program, bool plain) {
  StartUp r;
  int reply[2];
  if (::pipe(reply) != 0) return {0, 0, "pipe"};
  // The replies come through the pipe's writing end, which the child inherits.
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addclose(&actions, reply[0]);
  std::vector<std::string> env = {"UI_BACKEND=headless", "UI_SCRIPT=" + ScriptFile(),
                                  "UI_REPLY=/proc/self/fd/" + std::to_string(reply[1])};
  for (char** e = environ; *e; ++e) {
    const std::string v = *e;
    if (!v.starts_with("UI_") && !v.starts_with("DISPLAY=") && !v.starts_with("WAYLAND_DISPLAY="))
      env.push_back(v);
  }
  std::vector<char*> envp;
  for (std::string& v : env) envp.push_back(v.data());
  envp.push_back(nullptr);
  std::string path = program, plainArg = "--plain";
  char* argv[] = {path.data(), plain ? plainArg.data() : nullptr, nullptr};
  const auto start = std::chrono::steady_clock::now();
  pid_t pid = 0;
  const int spawned = posix_spawn(&pid, path.c_str(), &actions, nullptr, argv, envp.data());
  posix_spawn_file_actions_destroy(&actions);
  ::close(reply[1]);
  if (spawned != 0) {
    ::close(reply[0]);
    return {0, 0, "cannot start " + program};
  }
  // Every reply is read (the program must not write into a closed pipe): the first one's
  // arrival is the first frame.
  char c = 0;
  std::string first;
  bool firstDone = false;
  while (::read(reply[0], &c, 1) == 1) {
    if (firstDone) continue;
    if (c != '\n') {
      first += c;
      continue;
    }
    firstDone = true;
    r.firstFrameSeconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  }
  ::close(reply[0]);
  int status = 0;
  rusage usage{};
  ::wait4(pid, &status, 0, &usage);
  r.peakKiB = usage.ru_maxrss;
  if (first != "ok") r.error = "no first frame: " + first;
  if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) r.error = "the program failed";
  return r;
}

// A folder with a copy of the program, the Jet sample as its res.dat and the photos beside it,
// removed when the benchmark program ends; no program when there is no Jet sample.
class TJetFolder {
 public:
  TJetFolder() {
    namespace fs = std::filesystem;
    const char* env = std::getenv("MC_JET_FIXTURES");
    const fs::path jet = fs::path(env && *env ? env : MC_JET_FIXTURES) / "sample" / "res.dat";
    if (!fs::exists(jet)) return;
    FDir = fs::temp_directory_path() / ("startup-bench-jet-" + std::to_string(::getpid()));
    fs::create_directories(FDir);
    fs::copy_file(Program(), FDir / "catalogue", fs::copy_options::overwrite_existing);
    fs::copy_file(jet, FDir / "res.dat", fs::copy_options::overwrite_existing);
    fs::create_directory_symlink(fs::path(Program()).parent_path() / "res", FDir / "res");
  }
  ~TJetFolder() {
    std::error_code ec;
    if (!FDir.empty()) std::filesystem::remove_all(FDir, ec);
  }
  // The copy of the program, or empty text.
  std::string Copy() const { return FDir.empty() ? "" : (FDir / "catalogue").string(); }

 private:
  std::filesystem::path FDir;
};

void BM_StartUpToFirstFrame(benchmark::State& state, bool plain, bool jet) {
  static const TJetFolder jetFolder;
  const std::string program = jet ? jetFolder.Copy() : Program();
  if (program.empty()) {
    state.SkipWithError("no Jet sample (MC_JET_FIXTURES/sample/res.dat)");
    return;
  }
  long peak = 0;
  for (auto _ : state) {
    const StartUp r = RunOnce(program, plain);
    if (!r.error.empty()) {
      state.SkipWithError(r.error.c_str());
      return;
    }
    state.SetIterationTime(r.firstFrameSeconds);
    peak = std::max(peak, r.peakKiB);
  }
  state.counters["peak_MiB"] = double(peak) / 1024;
}
BENCHMARK_CAPTURE(BM_StartUpToFirstFrame, skinned, false, false)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_StartUpToFirstFrame, plain, true, false)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_StartUpToFirstFrame, jet, false, true)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace app
