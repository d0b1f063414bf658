#include "platform/win/Shell.h"

#include <spawn.h>
#include <sys/wait.h>

#include <thread>
#include <utility>

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

// UTF-16 to UTF-8; a lone surrogate becomes U+FFFD.
std::string ToUtf8(std::u16string_view s) {
  std::string out;
  for (std::size_t i = 0; i < s.size(); ++i) {
    char32_t c = s[i];
    if (c >= 0xD800 && c <= 0xDBFF && i + 1 < s.size() && s[i + 1] >= 0xDC00 && s[i + 1] <= 0xDFFF)
      c = 0x10000 + ((c - 0xD800) << 10) + (s[++i] - 0xDC00);
    else if (c >= 0xD800 && c <= 0xDFFF)
      c = 0xFFFD;
    if (c < 0x80) {
      out += char(c);
    } else if (c < 0x800) {
      out += char(0xC0 | (c >> 6));
      out += char(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
      out += char(0xE0 | (c >> 12));
      out += char(0x80 | ((c >> 6) & 0x3F));
      out += char(0x80 | (c & 0x3F));
    } else {
      out += char(0xF0 | (c >> 18));
      out += char(0x80 | ((c >> 12) & 0x3F));
      out += char(0x80 | ((c >> 6) & 0x3F));
      out += char(0x80 | (c & 0x3F));
    }
  }
  return out;
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
  return Launcher()({"xdg-open", ToUtf8(file)}) ? 42 : SE_ERR_NOASSOC;
}

}  // namespace win
