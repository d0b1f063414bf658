// What the command line asks of the catalogue at start, for whoever looks at it in every skin
// (scripts/look): another of the program's internal skins, and the maintenance window shown.
//   --skin NAME     the main window's manager wears the internal skin NAME (as its list names
//                   it, e.g. "Golden (внутренний)") instead of the one its description names
//   --maintenance   the maintenance window is shown over the main window's catalogue
//   --plain         the main window's manager is switched off before the first frame: the
//                   plain look, to compare with the skin (app-bench)
//   --scale PERCENT the main window's manager scales the program to 100, 125, 150 or 200
//                   percent (its ScaleMode), to look at the skins' pictures at that scale
//   /acver          (any letter case) left to the skin library, which shows its version
#pragma once

#include <span>
#include <string>

namespace app {

struct TStartOptions {
  std::u16string Skin;       // empty: the description's skin
  bool Maintenance = false;  // show the maintenance window
  bool Plain = false;        // the manager switched off (after any --skin)
  int Scale = 0;             // percent; 0: the description's scale mode
};

// The options of the arguments after the program's name; raises fw::Exception naming an
// unknown argument or a missing value.
TStartOptions ParseStartOptions(std::span<const char* const> args);
// Applied once the program's forms exist (Form1, Form3): raises fw::Exception for a skin the
// manager does not hold. The maintenance window's table is bound to the main window's
// connection and opened before the window shows.
void ApplyStartOptions(const TStartOptions& options);

}  // namespace app
