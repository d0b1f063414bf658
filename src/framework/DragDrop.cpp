#include "framework/DragDrop.h"

#include <cstdlib>
#include <memory>

#include "framework/WinControl.h"
#include "platform/win/Input.h"
#include "platform/win/Keys.h"
#include "platform/win/Messages.h"
#include "platform/win/Window.h"

namespace fw {

namespace {

struct TDragRun {
  TControl* source = nullptr;
  bool active = false;
  TPoint start;  // screen point where the drag was begun
  int threshold = TControl::DragThreshold;
  TControl* target = nullptr;
  bool accepted = false;
  bool releasing = false;      // our own release of the capture
  TControl* ending = nullptr;  // the source while its drag's last events run
};

TDragRun& S() {
  static TDragRun s;
  return s;
}

// The enabled control under a screen point: the deepest windowless child of the window there.
TControl* ControlAtScreen(TPoint p) {
  // A window of no control (a part of one) stands for the control it lies in.
  TWinControl* w = nullptr;
  for (win::HWND h = win::WindowFromPoint(p); h && !w; h = win::GetParent(h))
    w = TWinControl::FindControl(h);
  if (!w || !w->Enabled()) return nullptr;
  const TPoint c = w->ScreenToClient(p);
  TControl* child = w->ClientRect().Contains(c) ? w->ControlAtPos(c, false) : nullptr;
  return child ? child : w;
}

void ShowCursor(bool accepted) {
  win::SetCursor(win::LoadCursorW(CursorResource(accepted ? crDrag : crNoDrop)));
}

}  // namespace

// Asks t about the drag at screen point p.
bool TDragSession::AskOver(TControl* t, TPoint p, TDragState state) {
  const TPoint c = t->ScreenToClient(p);
  bool accept = false;
  t->DragOver(S().source, c.X, c.Y, state, accept);
  return accept;
}

// The mouse at screen point p during an active drag.
void TDragSession::MoveTo(TPoint p) {
  TDragRun& s = S();
  TControl* now = ControlAtScreen(p);
  if (now != s.target) {
    if (TControl* old = s.target) {
      s.target = nullptr;
      s.accepted = false;
      AskOver(old, p, TDragState::dsDragLeave);
      if (!s.source) return;  // the handler ended the drag
      now = ControlAtScreen(p);  // it may have freed or moved the control under the mouse
    }
    s.target = now;
    const bool accept = now && AskOver(now, p, TDragState::dsDragEnter);
    s.accepted = accept && s.target == now;  // not when the handler freed it or ended the drag
  } else if (now) {
    const bool accept = AskOver(now, p, TDragState::dsDragMove);
    s.accepted = accept && s.target == now;
  }
  if (s.source) ShowCursor(s.accepted);
}

namespace {

void ReleaseHostCapture(TControl* source) {
  TWinControl* host = source->WindowHost();
  if (!host || !host->HandleAllocated() || win::GetCapture() != host->Handle()) return;
  S().releasing = true;
  win::ReleaseCapture();
  S().releasing = false;
}

}  // namespace

TControl* TDragSession::Source() {
  return S().source;
}

bool TDragSession::Active() {
  return S().source && S().active;
}

TControl* TDragSession::Target() {
  return S().target;
}

bool TDragSession::Accepted() {
  return S().accepted;
}

void TDragSession::Begin(TControl* source, bool immediate, int threshold) {
  TDragRun& s = S();
  if (s.source || !source) return;
  TWinControl* host = source->WindowHost();
  if (!host || !host->HandleAllocated()) return;
  s.source = source;
  s.active = false;
  s.target = nullptr;
  s.accepted = false;
  s.threshold = threshold < 0 ? TControl::DragThreshold : threshold;
  win::GetCursorPos(&s.start);
  if (win::GetCapture() != host->Handle()) win::SetCapture(host->Handle());
  if (immediate) {
    s.active = true;
    MoveTo(s.start);
  }
}

void TDragSession::Finish(bool drop) {
  TDragRun& s = S();
  if (!s.source) return;
  TControl* source = s.source;
  TControl* target = s.target;
  const bool active = s.active, accepted = s.accepted;
  win::POINT p;
  win::GetCursorPos(&p);
  ReleaseHostCapture(source);
  s.source = nullptr;
  s.target = nullptr;
  s.accepted = false;
  s.active = false;
  if (!active) return;
  source->FClicked = false;  // the release that dropped is no click
  win::SetCursor(win::LoadCursorW(win::IDC_ARROW));
  // The source may go away in a drop handler: it is watched through the session.
  s.ending = source;
  if (drop && target && accepted) {
    const TPoint c = target->ScreenToClient(p);
    // The drop handler may free the target too: the source then hears of no target.
    const std::shared_ptr<const bool> targetAlive = target->AliveToken();
    target->DragDrop(source, c.X, c.Y);
    if (S().ending == source) {
      if (*targetAlive)
        source->DoEndDrag(target, c.X, c.Y);
      else
        source->DoEndDrag(nullptr, 0, 0);
    }
  } else {
    if (target) {
      bool ignored = false;
      const TPoint c = target->ScreenToClient(p);
      target->DragOver(source, c.X, c.Y, TDragState::dsDragLeave, ignored);
    }
    if (S().ending == source) source->DoEndDrag(nullptr, 0, 0);
  }
  S().ending = nullptr;
}

bool TDragSession::HostMessage(TWinControl* host, TMessage& m) {
  TDragRun& s = S();
  if (!s.source) return false;
  const bool ours = s.source->WindowHost() == host;
  switch (m.Msg) {
    case win::WM_MOUSEMOVE: {
      if (!ours) return false;
      const TPoint p = host->ClientToScreen(win::PointFromLParam(m.LParam));
      if (!s.active) {
        if (std::abs(p.X - s.start.X) < s.threshold && std::abs(p.Y - s.start.Y) < s.threshold)
          return false;
        s.active = true;
      }
      MoveTo(p);
      m.Result = 0;
      return true;
    }
    case win::WM_LBUTTONUP:
      if (!ours) return false;
      if (!s.active) {
        // Released before the threshold: a click, handled as usual.
        s.source = nullptr;
        return false;
      }
      Finish(true);
      m.Result = 0;
      return true;
    case win::WM_RBUTTONDOWN:
      if (!ours || !s.active) return false;
      Finish(false);
      m.Result = 0;
      return true;
    case win::WM_KEYDOWN:
      if (m.WParam != win::VK_ESCAPE) return false;
      Finish(false);
      m.Result = 0;
      return true;
    case win::WM_CAPTURECHANGED:
      if (ours && !s.releasing) Finish(false);
      return false;
    default:
      return false;
  }
}

void TDragSession::Forget(TControl* control) {
  TDragRun& s = S();
  if (s.target == control) {
    s.target = nullptr;
    s.accepted = false;
  }
  if (s.ending == control) s.ending = nullptr;
  if (s.source == control) {
    TControl* ending = s.ending;
    s = {};
    s.ending = ending;
    // A windowless source leaves its window holding the mouse; a windowed one has lost its
    // window (and the capture with it) by now.
    ReleaseHostCapture(control);
  }
}

}  // namespace fw
