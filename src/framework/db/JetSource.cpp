#include "framework/db/JetSource.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>

#include "framework/db/DbError.h"
#include "framework/db/JetHeader.h"
#include "framework/db/JetReader.h"
#include "framework/db/Variant.h"

#if defined(__SANITIZE_ADDRESS__)
#define MC_ASAN 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define MC_ASAN 1
#endif
#endif

namespace db {

namespace {

// The fd the reader writes its stream to.
constexpr int kStreamFd = 3;

// The reader's own process: glibc hands constructors the program's arguments, so the program
// serves as a reader before anything of its own (main, the window system) starts.
__attribute__((constructor)) void ServeAsReader(int argc, char** argv, char**) {
  if (argc == 3 && std::strcmp(argv[1], kJetReaderSwitch) == 0) {
    // What the library prints goes to the program at once, in the order it is printed.
    std::setvbuf(stdout, nullptr, _IONBF, 0);
    ::_exit(ServeJetFile(argv[2], kStreamFd));
  }
}

class TFd {
 public:
  explicit TFd(int fd = -1) : FFd(fd) {}
  ~TFd() { Reset(); }
  TFd(const TFd&) = delete;
  TFd& operator=(const TFd&) = delete;
  int Get() const { return FFd; }
  void Reset() {
    if (FFd >= 0) ::close(FFd);
    FFd = -1;
  }

 private:
  int FFd;
};

// The child, killed and waited for unless it was waited for already.
class TChild {
 public:
  explicit TChild(pid_t pid) : FPid(pid) {}
  ~TChild() { Stop(); }
  TChild(const TChild&) = delete;
  TChild& operator=(const TChild&) = delete;
  int Wait() {
    int status = 0;
    while (::waitpid(FPid, &status, 0) < 0 && errno == EINTR) {
    }
    FPid = -1;
    return status;
  }
  // Kills and waits for it unless it was waited for already.
  void Stop() {
    if (FPid <= 0) return;
    ::kill(FPid, SIGKILL);
    Wait();
  }

 private:
  pid_t FPid;
};

void Limit(int resource, rlim_t value) {
  const rlimit r{value, value};
  ::setrlimit(resource, &r);
}

// What the reader says on its standard output and error (the library's own messages): kept
// up to a limit to go with an error, read all the while so that the reader never waits on it.
class TReaderText {
 public:
  explicit TReaderText(int fd) : FFd(fd) {}
  int Fd() const { return FFd.Get(); }
  bool Open() const { return FFd.Get() >= 0; }
  // Reads what is there; closes at its end.
  void Read() {
    char buffer[4096];
    const ssize_t n = ::read(FFd.Get(), buffer, sizeof buffer);
    if (n < 0 && (errno == EINTR || errno == EAGAIN)) return;
    if (n <= 0) return FFd.Reset();
    FText.append(buffer, std::min(std::size_t(n), kKept - std::min(kKept, FText.size())));
  }
  // Reads what is left once the reader is gone, without waiting for anyone else who holds the
  // pipe.
  void Drain() {
    while (Open()) {
      pollfd p{FFd.Get(), POLLIN, 0};
      if (::poll(&p, 1, 0) <= 0) break;
      Read();
    }
  }
  // The text as part of a message: "; it said: ..." with its lines joined, other control
  // characters dropped and what is not UTF-8 replaced; empty when it said nothing.
  std::string Said() const {
    std::string said;
    for (const char c : ToUtf8(ToUtf16(FText)))
      if (c == '\n' || c == '\r' || c == '\t' || c == ' ') {
        if (!said.empty() && said.back() != ' ') said += ' ';
      } else if (std::uint8_t(c) >= 0x20 && c != 0x7F) {
        said += c;
      }
    while (!said.empty() && said.back() == ' ') said.pop_back();
    return said.empty() ? said : "; it said: " + said;
  }

 private:
  static constexpr std::size_t kKept = 1000;
  TFd FFd;
  std::string FText;
};

std::string Seconds(std::chrono::milliseconds t) {
  const auto ms = t.count();
  return std::to_string(ms / 1000) + (ms % 1000 ? "." + std::to_string(ms % 1000 / 100) : "") +
         " s";
}

}  // namespace

void RunJetReader(const std::vector<std::string>& argv, const TJetReadLimits& limits,
                  TJetStreamParser& parser) {
  // Everything the child needs is made before fork: between fork and exec only
  // async-signal-safe calls are allowed in a program with threads.
  std::vector<char*> args;
  for (const std::string& a : argv) args.push_back(const_cast<char*>(a.c_str()));
  args.push_back(nullptr);
  const rlim_t cpu = rlim_t(limits.time.count() / 1000 + 1);
  int fds[2], text[2];
  if (::pipe2(fds, O_CLOEXEC) != 0)
    throw EDatabaseError(std::string("the reader cannot be started: ") + std::strerror(errno));
  TFd readEnd(fds[0]), writeEnd(fds[1]);
  if (::pipe2(text, O_CLOEXEC) != 0)
    throw EDatabaseError(std::string("the reader cannot be started: ") + std::strerror(errno));
  TReaderText said(text[0]);
  TFd textEnd(text[1]);
  const pid_t pid = ::fork();
  if (pid < 0)
    throw EDatabaseError(std::string("the reader cannot be started: ") + std::strerror(errno));
  if (pid == 0) {
    // The stream on kStreamFd; standard output and error into the text pipe. Copies above
    // every fd the pipes may have come as are placed first, so that none is overwritten
    // before it is copied.
    const int w = ::fcntl(fds[1], F_DUPFD, kStreamFd + 1);
    const int t = ::fcntl(text[1], F_DUPFD, kStreamFd + 1);
    if (w < 0 || t < 0 || ::dup2(w, kStreamFd) < 0 || ::dup2(t, STDOUT_FILENO) < 0 ||
        ::dup2(t, STDERR_FILENO) < 0)
      ::_exit(126);
    ::close_range(kStreamFd + 1, ~0U, 0);
#ifndef MC_ASAN
    Limit(RLIMIT_AS, rlim_t(limits.memory));
#endif
    Limit(RLIMIT_CPU, cpu);
    Limit(RLIMIT_CORE, 0);
    ::execv(args[0], args.data());
    ::_exit(127);
  }
  TChild child(pid);
  writeEnd.Reset();
  textEnd.Reset();
  try {
    const auto deadline = std::chrono::steady_clock::now() + limits.time;
    std::vector<std::uint8_t> buffer(1 << 16);
    std::uint64_t total = 0;
    // Until both pipes end: a reader that ends its stream and goes on printing must not wait
    // on a full pipe while it is waited for.
    while (readEnd.Get() >= 0 || said.Open()) {
      const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
          deadline - std::chrono::steady_clock::now());
      pollfd p[2] = {{readEnd.Get(), POLLIN, 0}, {said.Fd(), POLLIN, 0}};  // -1: left out
      const int ready = left.count() > 0 ? ::poll(p, 2, int(left.count())) : 0;
      if (ready < 0 && errno == EINTR) continue;
      if (ready <= 0)
        throw EDatabaseError("the reader did not finish within " + Seconds(limits.time));
      if (p[1].revents) said.Read();
      if (!p[0].revents) continue;
      const ssize_t n = ::read(readEnd.Get(), buffer.data(), buffer.size());
      if (n < 0 && errno == EINTR) continue;
      if (n < 0)
        throw EDatabaseError(std::string("the reader's stream broke: ") + std::strerror(errno));
      if (n == 0) {
        readEnd.Reset();
        continue;
      }
      total += std::uint64_t(n);
      if (total > limits.output)
        throw EDatabaseError("the reader wrote more than " + std::to_string(limits.output) +
                             " bytes");
      parser.Feed({buffer.data(), std::size_t(n)});
    }
    const int status = child.Wait();
    if (WIFSIGNALED(status)) {
      const int sig = WTERMSIG(status);
      throw EDatabaseError(
          sig == SIGXCPU || sig == SIGKILL
              ? "the reader was stopped at its limits (signal " + std::to_string(sig) + ")"
              : "the reader crashed (signal " + std::to_string(sig) + ", " + strsignal(sig) + ")");
    }
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0)
      throw EDatabaseError("the reader failed (status " + std::to_string(WEXITSTATUS(status)) +
                           ")");
    parser.Finish();
  } catch (const EDatabaseError& e) {
    // What the reader said goes with the error; a reader that read the file says nothing
    // worth keeping.
    child.Stop();
    said.Drain();
    throw EDatabaseError(e.what() + said.Said());
  }
}

SqliteHandle OpenJetCatalogue(const std::string& file, TJetCatalogueCounts* counts,
                              const TJetReadLimits& limits) {
  CheckJet4File(file);
  sqlite3* raw = nullptr;
  const int rc = sqlite3_open_v2(":memory:", &raw, SQLITE_OPEN_READWRITE, nullptr);
  SqliteHandle handle(raw);
  CheckSqlite(raw, rc);
  try {
    TJetCatalogueLoader loader(raw);
    TJetStreamParser parser(loader);
    RunJetReader({"/proc/self/exe", kJetReaderSwitch, file}, limits, parser);
    loader.Finish();
    if (counts) *counts = loader.Counts();
  } catch (const EDatabaseError& e) {
    throw EDatabaseError("Cannot read '" + file + "': " + e.what() + ".");
  }
  ExecSql(raw, "pragma query_only = on");
  return handle;
}

}  // namespace db
