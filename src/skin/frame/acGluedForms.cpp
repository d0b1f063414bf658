#include "skin/frame/acGluedForms.h"

#include <algorithm>

#include "platform/win/MessageQueue.h"
#include "platform/win/Messages.h"
#include "platform/win/Window.h"
#include "skin/core/sMessages.h"
#include "skin/core/sStyleSimply.h"

namespace skin::frame {

namespace sc = skin::core;
using gfx::TPoint;
using gfx::TRect;

namespace {

TRect WindowRect(win::HWND h) {
  win::RECT r{};
  win::GetWindowRect(h, &r);
  return r;
}

TPoint ClientOrigin(win::HWND h) {
  win::POINT p{0, 0};
  win::ClientToScreen(h, &p);
  return {p.X, p.Y};
}

bool Touch(const TRect& a, const TRect& b) {
  const bool alongX = a.Left < b.Right && b.Left < a.Right;
  const bool alongY = a.Top < b.Bottom && b.Top < a.Bottom;
  return (alongX && (a.Top == b.Bottom || a.Bottom == b.Top)) ||
         (alongY && (a.Left == b.Right || a.Right == b.Left));
}

bool Shown(fw::TCustomForm& f) {
  return f.HandleAllocated() && !f.Parent() && win::IsWindowVisible(f.Handle()) &&
         !win::IsIconic(f.Handle());
}

}  // namespace

bool TacGluedForms::Listed(const fw::TCustomForm& form) const {
  return !form.Name().empty() && std::find(Names.begin(), Names.end(), form.Name()) != Names.end();
}

void TacGluedForms::Prune() {
  const auto& hooked = sc::HookedComponents();
  std::erase_if(FSlaves, [&](const TacFormsCouple& c) {
    return std::find(hooked.begin(), hooked.end(), c.Slave) == hooked.end();
  });
}

void TacGluedForms::UpdateSlaveFormsList(fw::TCustomForm& master) {
  Prune();
  if (Names.empty() || !Shown(master)) return;
  const TRect m = WindowRect(master.Handle());
  const TPoint origin = ClientOrigin(master.Handle());
  for (fw::TCustomForm* f : sc::HookedComponents()) {
    if (f == &master || !Listed(*f) || !Shown(*f) || Linked(*f)) continue;
    const TRect r = WindowRect(f->Handle());
    if (Touch(m, r)) FSlaves.push_back({f, {r.Left - origin.X, r.Top - origin.Y}});
  }
}

void TacGluedForms::MoveGluedForms(fw::TCustomForm& master) {
  Prune();
  if (FSlaves.empty() || !master.HandleAllocated()) return;
  const TPoint origin = ClientOrigin(master.Handle());
  const std::vector<TacFormsCouple> slaves = FSlaves;  // moving may run any form's code
  for (const TacFormsCouple& c : slaves) {
    Prune();
    if (!Linked(*c.Slave) || !Listed(*c.Slave) || !Shown(*c.Slave)) continue;
    const win::HWND h = c.Slave->Handle();
    win::SendMessageW(h, sc::SM_ALPHACMD, sc::MakeAlphaCmd(sc::AC_SETPOSCHANGING), 1);
    win::SetWindowPos(h, nullptr, origin.X + c.Pos.X, origin.Y + c.Pos.Y, 0, 0,
                      win::SWP_NOSIZE | win::SWP_NOZORDER | win::SWP_NOACTIVATE);
    if (win::IsWindow(h))
      win::SendMessageW(h, sc::SM_ALPHACMD, sc::MakeAlphaCmd(sc::AC_SETPOSCHANGING), 0);
  }
}

bool TacGluedForms::Linked(const fw::TCustomForm& form) const {
  return std::any_of(FSlaves.begin(), FSlaves.end(),
                     [&](const TacFormsCouple& c) { return c.Slave == &form; });
}

}  // namespace skin::frame
