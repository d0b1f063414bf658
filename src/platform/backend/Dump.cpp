#include "platform/backend/Dump.h"

#include <cstdio>
#include <map>
#include <vector>

#include "platform/backend/Script.h"
#include "platform/win/Input.h"
#include "platform/win/Mdi.h"
#include "platform/win/MessageQueue.h"
#include "platform/win/Styles.h"
#include "platform/win/Window.h"

namespace backend {

void JsonWriter::Separate() {
  if (!first_) out_ += ',';
  first_ = false;
}

void JsonWriter::BeginObject() {
  Separate();
  out_ += '{';
  first_ = true;
}

void JsonWriter::EndObject() {
  out_ += '}';
  first_ = false;
}

void JsonWriter::BeginArray() {
  Separate();
  out_ += '[';
  first_ = true;
}

void JsonWriter::EndArray() {
  out_ += ']';
  first_ = false;
}

void JsonWriter::Key(std::string_view name) {
  String(name);
  out_ += ':';
  first_ = true;  // the value follows without a comma
}

void JsonWriter::String(std::string_view utf8) {
  Separate();
  out_ += '"';
  for (char c : utf8) {
    switch (c) {
      case '"':
        out_ += "\\\"";
        break;
      case '\\':
        out_ += "\\\\";
        break;
      case '\n':
        out_ += "\\n";
        break;
      case '\r':
        out_ += "\\r";
        break;
      case '\t':
        out_ += "\\t";
        break;
      default:
        if (std::uint8_t(c) < 0x20) {
          char buf[8];
          std::snprintf(buf, sizeof buf, "\\u%04x", unsigned(c));
          out_ += buf;
        } else {
          out_ += c;
        }
    }
  }
  out_ += '"';
}

void JsonWriter::String(std::u16string_view text) {
  String(std::string_view(Utf16ToUtf8(text)));
}

void JsonWriter::Number(long long value) {
  Separate();
  out_ += std::to_string(value);
}

void JsonWriter::Bool(bool value) {
  Separate();
  out_ += value ? "true" : "false";
}

void JsonWriter::Null() {
  Separate();
  out_ += "null";
}

namespace {

std::map<int, DumpExtender>& Extenders() {
  static std::map<int, DumpExtender> extenders;
  return extenders;
}

std::vector<DumpTopExtender>& TopExtenders() {
  static std::vector<DumpTopExtender> extenders;
  return extenders;
}

void Rect(JsonWriter& j, const win::RECT& r) {
  j.BeginArray();
  j.Number(r.Left);
  j.Number(r.Top);
  j.Number(r.Right);
  j.Number(r.Bottom);
  j.EndArray();
}

void DumpWindow(win::HWND h, JsonWriter& j) {
  using namespace win;
  j.BeginObject();
  j.Key("handle");
  j.Number(static_cast<long long>(reinterpret_cast<std::uintptr_t>(h)));
  j.Key("class");
  j.String(std::u16string_view(GetClassNameW(h)));
  j.Key("text");
  j.String(std::u16string_view(GetWindowTextW(h)));
  RECT r;
  GetWindowRect(h, &r);
  j.Key("rect");
  Rect(j, r);
  RECT c;
  GetClientRect(h, &c);
  POINT origin{0, 0};
  ClientToScreen(h, &origin);
  j.Key("client");
  Rect(j, c.Offset(origin.X, origin.Y));
  j.Key("visible");
  j.Bool(IsWindowVisible(h));
  j.Key("enabled");
  j.Bool(IsWindowEnabled(h));
  // An MDI child is never the active window: its `active` is its client's active child.
  HWND parent = GetParent(h);
  bool mdiChild = (GetWindowLongPtrW(h, GWL_EXSTYLE) & WS_EX_MDICHILD) &&
                  GetClassNameW(parent) == MDICLIENT_CLASS;
  j.Key("active");
  j.Bool(mdiChild ? HwndFromParam(std::uintptr_t(SendMessageW(parent, WM_MDIGETACTIVE, 0, 0))) == h
                  : GetActiveWindow() == h);
  if (mdiChild) {
    j.Key("mdiChild");
    j.Bool(true);
    j.Key("maximized");
    j.Bool(IsZoomed(h));
  }
  j.Key("focus");
  j.Bool(GetFocus() == h);
  j.Key("style");
  j.Number(DWORD(GetWindowLongPtrW(h, GWL_STYLE)));
  j.Key("exstyle");
  j.Number(DWORD(GetWindowLongPtrW(h, GWL_EXSTYLE)));
  for (auto& [id, extend] : Extenders()) extend(h, j);
  j.Key("children");
  j.BeginArray();
  for (HWND child = GetWindow(h, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
    DumpWindow(child, j);
  j.EndArray();
  j.EndObject();
}

}  // namespace

int AddDumpExtender(DumpExtender extender) {
  static int next = 1;
  Extenders().emplace(next, std::move(extender));
  return next++;
}

void RemoveDumpExtender(int id) {
  Extenders().erase(id);
}

void AddDumpTopExtender(DumpTopExtender extender) {
  TopExtenders().push_back(std::move(extender));
}

std::string DumpWindows() {
  JsonWriter j;
  j.BeginObject();
  j.Key("windows");
  j.BeginArray();
  for (win::HWND h = win::GetTopWindow(nullptr); h; h = win::GetWindow(h, win::GW_HWNDNEXT))
    DumpWindow(h, j);
  j.EndArray();
  for (const DumpTopExtender& extend : TopExtenders()) extend(j);
  j.EndObject();
  return j.Text() + "\n";
}

}  // namespace backend
