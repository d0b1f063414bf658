#include "platform/win/WindowSystem.h"

#include "platform/win/Backend.h"
#include "platform/win/Window.h"

namespace win::detail {

namespace {

// Gives a fresh state its desktop window (the parent of every top-level window).
void AddDesktop(State& s) {
  auto desktop = std::make_shared<Window>();
  desktop->handle = reinterpret_cast<HWND>(s.nextHandle);
  s.nextHandle += 4;
  desktop->style = WS_VISIBLE | WS_CLIPCHILDREN;
  desktop->created = true;
  s.desktop = desktop->handle;
  s.windows.emplace(reinterpret_cast<std::uintptr_t>(desktop->handle), desktop);
}

}  // namespace

State& S() {
  static State state;
  static const bool ready = (AddDesktop(state), true);
  (void)ready;
  return state;
}

Window* Find(HWND hwnd) {
  if (!hwnd) return nullptr;
  auto& windows = S().windows;
  auto it = windows.find(reinterpret_cast<std::uintptr_t>(hwnd));
  return it == windows.end() ? nullptr : it->second.get();
}

Window* FindReal(HWND hwnd) {
  return hwnd == S().desktop ? nullptr : Find(hwnd);
}

Backend& TheBackend() {
  if (!S().backend) throw WindowError("no backend is attached to the window system");
  return *S().backend;
}

DWORD Now() {
  return TheBackend().Now();
}

bool IsTopLevel(const Window& w) {
  return w.parent == S().desktop;
}

POINT ClientOriginOnScreen(const Window& w) {
  POINT p{w.rect.Left + w.client.Left, w.rect.Top + w.client.Top};
  for (Window* p2 = Find(w.parent); p2 && p2->handle != S().desktop; p2 = Find(p2->parent)) {
    p.X += p2->rect.Left + p2->client.Left;
    p.Y += p2->rect.Top + p2->client.Top;
  }
  return p;
}

RECT WindowRectOnScreen(const Window& w) {
  Window* parent = Find(w.parent);
  if (!parent || parent->handle == S().desktop) return w.rect;
  POINT o = ClientOriginOnScreen(*parent);
  return w.rect.Offset(o.X, o.Y);
}

HWND RootOf(HWND hwnd) {
  Window* w = FindReal(hwnd);
  while (w && !IsTopLevel(*w)) w = FindReal(w->parent);
  return w ? w->handle : nullptr;
}

bool IsVisibleOnScreen(HWND hwnd) {
  Window* w = FindReal(hwnd);
  if (!w) return false;
  for (; w; w = FindReal(w->parent))
    if (!(w->style & WS_VISIBLE)) return false;
  return true;
}

namespace {

// Forgets everything; handle numbers go on from where they were, so none is reused.
void Reset() {
  State& s = S();
  std::uintptr_t next = s.nextHandle, nextMenu = s.nextMenu, nextHook = s.nextHook;
  s = State{};
  s.nextHandle = next;
  s.nextMenu = nextMenu;
  s.nextHook = nextHook;
  AddDesktop(s);
}

}  // namespace

void ResetDesktopRect() {
  Window* d = Find(S().desktop);
  RECT r = TheBackend().DesktopRect();
  d->rect = r;
  d->client = {0, 0, r.Width(), r.Height()};
}

}  // namespace win::detail

namespace win {

using namespace detail;

void AttachBackend(Backend* backend) {
  if (S().backend) DetachBackend();
  Reset();
  ResetKeyboardLayouts();
  S().backend = backend;
  ResetDesktopRect();
}

void DetachBackend() {
  if (!S().backend) return;
  std::vector<HWND> tops = Find(S().desktop)->children;
  for (HWND h : tops) DestroyWindow(h);
  Reset();
}

}  // namespace win
