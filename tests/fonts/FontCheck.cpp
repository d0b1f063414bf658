// Runs before every test program (ctest's fixture "fonts"): the faces the tests measure and
// draw with must be the real ones, not the fallback. One clear failure naming the set-up script
// stands in for dozens of text and layout tests failing on wrong glyphs.
#include <cstdio>
#include <exception>
#include <string>

#include "platform/gfx/FontLibrary.h"

namespace {

struct Needed {
  const char16_t* family;  // as the program asks for it
  bool bold;
  const char16_t* face;  // the face that must answer
  const char* package;   // the Debian package that brings it
};

constexpr Needed kFaces[] = {
    {u"Tahoma", false, u"Tahoma", "fonts-wine"},
    {u"Tahoma", true, u"Tahoma", "fonts-wine"},
    {u"Segoe UI", false, u"Open Sans", "fonts-open-sans"},
    {u"DejaVu Sans", false, u"DejaVu Sans", "fonts-dejavu-core"},
    {u"FontAwesome", false, u"FontAwesome", "fonts-font-awesome"},
};

std::string Narrow(const std::u16string& s) {
  std::string out;
  for (char16_t c : s) out += c < 0x80 ? char(c) : '?';
  return out;
}

}  // namespace

int main() {
  int missing = 0;
  for (const Needed& n : kFaces) {
    std::string got;
    try {
      got = Narrow(gfx::ResolveFace(n.family, n.bold, false).face->Family());
    } catch (const std::exception& e) {
      got = e.what();
    }
    if (got == Narrow(n.face)) continue;
    ++missing;
    std::printf("font check: \"%s\"%s is answered by \"%s\", not \"%s\" (Debian package %s)\n",
                Narrow(n.family).c_str(), n.bold ? " bold" : "", got.c_str(),
                Narrow(n.face).c_str(), n.package);
  }
  if (missing) {
    std::printf(
        "font check: fonts the tests need are missing; run scripts/setup to install them. "
        "The tests that need them are not run.\n");
    return 1;
  }
  std::printf("font check: every face the tests need is installed\n");
  return 0;
}
