// Lines of the automation script as they arrive. A file is read to its end; a pipe is read
// line by line while its writer produces them. A thread reads, so a backend that must keep
// its windows responsive never blocks on the script.
#pragma once

#include <condition_variable>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <string>

namespace backend {

class ScriptReader {
 public:
  // Starts reading the file (or pipe) at path; one that cannot be opened gives a failure,
  // then the end.
  explicit ScriptReader(const std::string& path);
  // Lines given in advance (tests, and an empty script).
  explicit ScriptReader(std::deque<std::string> lines);
  ~ScriptReader();
  ScriptReader(const ScriptReader&) = delete;
  ScriptReader& operator=(const ScriptReader&) = delete;

  // What Next returns: a line, a failure to read, nothing yet, or the end of the script.
  struct Result {
    std::optional<std::string> line;
    std::optional<std::string> failure;
    bool ended = false;
  };
  // The next line; with wait, blocks until one arrives or the script ends.
  Result Next(bool wait);
  // Called from the reading thread whenever a line or the end arrives (wakes a backend).
  void OnArrival(std::function<void()> notify);

 private:
  struct Shared {
    std::mutex mutex;
    std::condition_variable arrived;
    std::deque<std::string> lines;
    bool ended = false;
    std::optional<std::string> failure;
    std::function<void()> notify;
  };
  std::shared_ptr<Shared> shared_;
};

}  // namespace backend
