#include "platform/win/Shell.h"

#include <spawn.h>
#include <sys/wait.h>

#include <thread>
#include <utility>

#include "platform/gfx/TextEncoding.h"

extern char** environ;

namespace win {

namespace {

bool SpawnAndReap(const std::vector<std::string>& argv) {
  if (argv.empty()) return false;
  std::vector<char*> args;
  for (const std::string& a : argv) args.push_back(const_cast<char*>(a.c_str()));
  args.push_back(nullptr);
  pid_t pid = 0;
  if (posix_spawnp(&pid, args[0], nullptr, nullptr, args.data(), environ) != 0) return false;
  std::thread([pid] { waitpid(pid, nullptr, 0); }).detach();
  return true;
}

TShellLauncher& Launcher() {
  static TShellLauncher launcher = SpawnAndReap;
  return launcher;
}

}  // namespace

TShellLauncher SetShellLauncher(TShellLauncher launcher) {
  TShellLauncher old = std::move(Launcher());
  Launcher() = launcher ? std::move(launcher) : TShellLauncher(SpawnAndReap);
  return old;
}

HINSTANCE ShellExecuteW(HWND, std::u16string_view operation, std::u16string_view file,
                        std::u16string_view, std::u16string_view, int) {
  if (!operation.empty() && operation != u"open") return SE_ERR_NOASSOC;
  if (file.empty()) return SE_ERR_FNF;
  return Launcher()({"xdg-open", gfx::Utf16ToUtf8(file)}) ? 42 : SE_ERR_NOASSOC;
}

}  // namespace win
