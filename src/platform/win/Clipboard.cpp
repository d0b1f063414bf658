#include "platform/win/Clipboard.h"

#include "platform/win/WindowSystem.h"

namespace win {

using namespace detail;

bool SetClipboardText(std::u16string_view text) {
  if (!S().backend) return false;
  TheBackend().SetClipboardText(std::u16string(text));
  return true;
}

std::u16string GetClipboardText() {
  return S().backend ? TheBackend().ClipboardText() : std::u16string();
}

}  // namespace win
