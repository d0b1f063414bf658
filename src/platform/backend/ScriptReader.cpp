#include "platform/backend/ScriptReader.h"

#include <fstream>
#include <thread>

#include "platform/backend/Script.h"

namespace backend {

ScriptReader::ScriptReader(const std::string& path) : shared_(std::make_shared<Shared>()) {
  // The thread owns its share of the state: a reader blocked on a silent pipe can outlive
  // this object and simply ends with the process.
  std::thread([shared = shared_, path] {
    auto push = [&](std::string line, bool end) {
      std::function<void()> notify;
      {
        std::lock_guard lock(shared->mutex);
        if (!end) shared->lines.push_back(std::move(line));
        shared->ended = end;
        notify = shared->notify;
      }
      shared->arrived.notify_all();
      if (notify) notify();
    };
    std::ifstream in(path, std::ios::binary);
    if (!in) {
      {
        std::lock_guard lock(shared->mutex);
        shared->failure = "cannot open the script " + path;
      }
      push({}, true);
      return;
    }
    // A line longer than the parser accepts keeps one extra byte (so it is rejected whole)
    // and its rest is skipped, so memory stays bounded.
    std::string line;
    bool any = false;
    for (char c; in.get(c);) {
      any = true;
      if (c == '\n') {
        push(std::move(line), false);
        line.clear();
        any = false;
      } else if (line.size() <= kMaxScriptLine) {
        line += c;
      }
    }
    if (any) push(std::move(line), false);
    push({}, true);
  }).detach();
}

ScriptReader::ScriptReader(std::deque<std::string> lines) : shared_(std::make_shared<Shared>()) {
  shared_->lines = std::move(lines);
  shared_->ended = true;
}

ScriptReader::~ScriptReader() {
  std::lock_guard lock(shared_->mutex);
  shared_->notify = nullptr;
}

ScriptReader::Result ScriptReader::Next(bool wait) {
  std::unique_lock lock(shared_->mutex);
  if (wait) shared_->arrived.wait(lock, [&] { return !shared_->lines.empty() || shared_->ended; });
  Result r;
  if (!shared_->lines.empty()) {
    r.line = std::move(shared_->lines.front());
    shared_->lines.pop_front();
  } else if (shared_->failure) {
    r.failure = std::move(shared_->failure);
    shared_->failure.reset();
  } else {
    r.ended = shared_->ended;
  }
  return r;
}

void ScriptReader::OnArrival(std::function<void()> notify) {
  std::lock_guard lock(shared_->mutex);
  shared_->notify = std::move(notify);
}

}  // namespace backend
