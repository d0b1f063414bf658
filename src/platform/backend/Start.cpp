#include "platform/backend/Start.h"

#include <charconv>
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <stdexcept>
#include <string>

#include "platform/backend/Headless.h"
#include "platform/backend/Sdl.h"

namespace backend {

namespace {

std::string Env(const char* name) {
  const char* v = std::getenv(name);
  return v ? v : "";
}

std::unique_ptr<Automation> MakeAutomation(win::Backend& backend, bool emptyWhenUnset) {
  std::string script = Env("UI_SCRIPT");
  if (script.empty() && !emptyWhenUnset) return nullptr;
  auto reader = script.empty() ? std::make_unique<ScriptReader>(std::deque<std::string>{})
                               : std::make_unique<ScriptReader>(script);
  std::string replyPath = Env("UI_REPLY");
  std::unique_ptr<std::ostream> reply;
  if (replyPath.empty()) {
    reply = std::make_unique<std::ostream>(std::cout.rdbuf());
  } else {
    auto file = std::make_unique<std::ofstream>(replyPath, std::ios::binary | std::ios::trunc);
    if (!*file) throw std::runtime_error("cannot write the replies to " + replyPath);
    reply = std::move(file);
  }
  return std::make_unique<Automation>(backend, std::move(reader), std::move(reply));
}

std::unique_ptr<win::Backend> StartHeadless() {
  std::string size = Env("UI_DESKTOP");
  win::SIZE s = size.empty() ? win::SIZE{1920, 1080} : ParseDesktopSize(size);
  auto headless = std::make_unique<Headless>(s.cx, s.cy);
  headless->SetAutomation(MakeAutomation(*headless, true));
  return headless;
}

std::unique_ptr<win::Backend> StartSdl() {
  auto sdl = std::make_unique<Sdl>();
  sdl->SetAutomation(MakeAutomation(*sdl, false));
  return sdl;
}

}  // namespace

win::SIZE ParseDesktopSize(std::string_view text) {
  auto bad = [&] {
    throw std::invalid_argument("UI_DESKTOP must be WIDTHxHEIGHT (1 to 16384 each), not '" +
                                std::string(text) + "'");
  };
  std::size_t x = text.find('x');
  if (x == std::string_view::npos) bad();
  auto number = [&](std::string_view part) {
    int v = 0;
    auto [end, ec] = std::from_chars(part.data(), part.data() + part.size(), v);
    if (part.empty() || ec != std::errc() || end != part.data() + part.size() || v < 1 || v > 16384)
      bad();
    return v;
  };
  win::SIZE s{number(text.substr(0, x)), number(text.substr(x + 1))};
  if (std::int64_t(s.cx) * s.cy > gfx::Bitmap::kMaxPixels) bad();
  return s;
}

std::unique_ptr<win::Backend> Start() {
  std::string which = Env("UI_BACKEND");
  if (which == "headless") return StartHeadless();
  if (which == "sdl") return StartSdl();
  if (!which.empty())
    throw std::invalid_argument("UI_BACKEND must be headless or sdl, not '" + which + "'");
  if (!Env("DISPLAY").empty() || !Env("WAYLAND_DISPLAY").empty()) {
    try {
      return StartSdl();
    } catch (const BackendError&) {
      // The display is not reachable after all: run headless.
    }
  }
  return StartHeadless();
}

}  // namespace backend
