// UTF-16 text (the window system's) to UTF-8 (the libraries' and the operating system's).
#pragma once

#include <string>
#include <string_view>

namespace gfx {

// Surrogate pairs become one character; a lone surrogate becomes U+FFFD.
std::string Utf16ToUtf8(std::u16string_view s);

}  // namespace gfx
