// Conversions between UTF-8 (identifiers, files, messages of std exceptions) and UTF-16 (text
// shown to people). Malformed input becomes U+FFFD; nothing is dropped silently.
#pragma once

#include <string>
#include <string_view>

namespace fw {

// UTF-8 to UTF-16; malformed sequences become U+FFFD.
std::u16string Utf8ToUtf16(std::string_view s);
// UTF-16 to UTF-8; unpaired surrogates become U+FFFD.
std::string Utf16ToUtf8(std::u16string_view s);

}  // namespace fw
