// ShellExecuteW: a document or an address opened with the desktop's own handler. Here the
// handler is xdg-open, started directly with an argument list (never through a shell, so an
// address is never read as a command). The program that starts it can be replaced, so that
// tests see what would be opened without opening anything.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/win/Types.h"

namespace win {

using HINSTANCE = std::intptr_t;
// Failures of ShellExecuteW (success is any value above 32).
constexpr HINSTANCE SE_ERR_FNF = 2;       // nothing to open
constexpr HINSTANCE SE_ERR_NOASSOC = 31;  // no handler for the verb, or it could not start
constexpr int SW_SHOWDEFAULT = 10;

// Starts a program: argv[0] is its name (looked up in PATH), the rest its arguments, each one
// argument as it is. True when it started.
using TShellLauncher = std::function<bool(const std::vector<std::string>& argv)>;
// The launcher ShellExecuteW uses from now on (null: the default, which spawns the program
// and reaps it when it ends); returns the one it replaces.
TShellLauncher SetShellLauncher(TShellLauncher launcher);

// Opens file (UTF-16) with the verb "open" (an empty verb means it too): xdg-open with file as
// its only argument. parameters, directory and showCmd are accepted and not used. A value
// above 32 when the handler started; SE_ERR_FNF for an empty file, SE_ERR_NOASSOC for another
// verb or a handler that could not start.
HINSTANCE ShellExecuteW(HWND hwnd, std::u16string_view operation, std::u16string_view file,
                        std::u16string_view parameters, std::u16string_view directory, int showCmd);

}  // namespace win
