// The window dump of the automation: every top-level window and its children as JSON,
// {"windows": [...]}. Layers above add their own members to each window's object (a form's
// controls, for instance) through dump extenders, and members of their own beside "windows"
// (the application's state, which exists before any window) through top-level extenders.
#pragma once

#include <functional>
#include <string>
#include <string_view>

#include "platform/win/Types.h"

namespace backend {

// Writes JSON text with commas and escaping handled; members and values in document order.
class JsonWriter {
 public:
  void BeginObject();
  void EndObject();
  void BeginArray();
  void EndArray();
  void Key(std::string_view name);  // the next value is this member's
  void String(std::string_view utf8);
  void String(std::u16string_view text);
  void Number(long long value);
  void Bool(bool value);
  void Null();
  const std::string& Text() const { return out_; }

 private:
  void Separate();  // a comma before every value but the first of its container
  std::string out_;
  bool first_ = true;  // nothing written yet in the current container
};

// Adds members to a window's object, after the standard ones and before "children".
using DumpExtender = std::function<void(win::HWND, JsonWriter&)>;
// Registers an extender; returns its id for RemoveDumpExtender.
int AddDumpExtender(DumpExtender extender);
void RemoveDumpExtender(int id);

// Adds members to the dump's top-level object, after "windows".
using DumpTopExtender = std::function<void(JsonWriter&)>;
// Registers a top-level extender, for the rest of the program.
void AddDumpTopExtender(DumpTopExtender extender);

// Every top-level window (topmost first) with handle, class, text, rect and client (screen,
// [left, top, right, bottom]), visible, enabled, active, focus, style, exstyle and children
// in the same form, then the top-level extenders' members.
std::string DumpWindows();

}  // namespace backend
