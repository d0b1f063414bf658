// Start-up of the platform: picks the backend and attaches the automation, as the
// environment says. Programs call Start once, before making any window, and keep what it
// returns until they end.
//
//   UI_BACKEND  headless | sdl; by default sdl where a display is reachable (DISPLAY or
//               WAYLAND_DISPLAY is set and SDL starts), otherwise headless.
//   UI_DESKTOP  the headless desktop's size, WIDTHxHEIGHT (default 1920x1080).
//   UI_SCRIPT   a file or pipe of automation commands; headless without one runs an empty
//               script, so the program quits once it is idle.
//   UI_REPLY    where the replies go (default standard output).
#pragma once

#include <memory>
#include <string_view>

#include "platform/win/Backend.h"
#include "platform/win/Types.h"

namespace backend {

std::unique_ptr<win::Backend> Start();
// The size in a UI_DESKTOP value; raises std::invalid_argument for anything else.
win::SIZE ParseDesktopSize(std::string_view text);

}  // namespace backend
