// The clipboard's text. The backend keeps it: the host's clipboard on a real display, a
// private one on a virtual desktop.
#pragma once

#include <string>
#include <string_view>

namespace win {

// Replaces the clipboard's contents with text; false when no backend is attached.
bool SetClipboardText(std::u16string_view text);
// The clipboard's text; empty when it holds none or no backend is attached.
std::u16string GetClipboardText();

}  // namespace win
