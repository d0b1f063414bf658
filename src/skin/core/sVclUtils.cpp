#include "skin/core/sVclUtils.h"

#include <optional>
#include <vector>

#include "framework/Application.h"
#include "framework/Form.h"
#include "platform/gfx/Region.h"
#include "platform/win/Input.h"
#include "platform/win/MessageQueue.h"
#include "platform/win/Messages.h"
#include "platform/win/Paint.h"
#include "platform/win/Styles.h"
#include "platform/win/SystemInfo.h"
#include "platform/win/SystemMetrics.h"
#include "platform/win/Window.h"
#include "skin/core/acReceivers.h"
#include "skin/core/sCommonData.h"
#include "skin/core/sGraphUtils.h"
#include "skin/core/sStyleSimply.h"
#include "skin/draw/sSkinText.h"
#include "skin/paint/sAlphaGraph.h"
#include "skin/paint/sGraphUtils.h"

namespace skin::core {

bool RestrictDrawing = false;

TacMessageHandler* GetCommonData(HWND wnd) {
  return static_cast<TacMessageHandler*>(win::GetPropW(wnd, acDataProp));
}

bool WndIsSkinned(HWND wnd) {
  return GetCommonData(wnd) || win::GetPropW(wnd, acScrollProp) ||
         SendAMessage(wnd, AC_CTRLHANDLED) == 1;
}

LRESULT TrySendMessage(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  TacMessageHandler* handler = GetCommonData(wnd);
  if (!handler || !handler->WndProc) return win::SendMessageW(wnd, msg, wParam, lParam);
  fw::TMessage m{msg, wParam, lParam, 0};
  // A copy: the handler may free its control, and the handler object with it.
  fw::TWndMethod proc = handler->WndProc;
  proc(m);
  return m.Result;
}

LRESULT TrySendMessage(fw::TControl* control, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (!control || control->HasState(fw::csDestroying)) return 0;
  auto* windowed = dynamic_cast<fw::TWinControl*>(control);
  if (!windowed) return control->Perform(msg, wParam, lParam);
  if (!windowed->HandleAllocated()) return 0;
  return TrySendMessage(windowed->Handle(), msg, wParam, lParam);
}

LRESULT SendAMessage(HWND wnd, UINT cmd, LPARAM lParam) {
  return TrySendMessage(wnd, SM_ALPHACMD, MakeAlphaCmd(cmd), lParam);
}

LRESULT SendAMessage(fw::TControl* control, UINT cmd, LPARAM lParam) {
  return TrySendMessage(control, SM_ALPHACMD, MakeAlphaCmd(cmd), lParam);
}

bool GetBoolMsg(HWND wnd, UINT cmd) {
  return SendAMessage(wnd, cmd) == 1;
}

bool GetBoolMsg(fw::TControl* control, UINT cmd) {
  return SendAMessage(control, cmd) == 1;
}

void AlphaBroadCast(fw::TWinControl& control, const fw::TMessage& message) {
  TacReceivers children;
  for (int i = 0; i < control.ControlCount(); ++i) children.Add(control.Controls(i));
  for (int i = 0; i < children.Count(); ++i) {
    auto* child = static_cast<fw::TControl*>(children.Item(i));
    if (!child) continue;  // freed by an earlier receiver
    if (child->HasState(fw::csDestroying)) break;
    auto* windowed = dynamic_cast<fw::TWinControl*>(child);
    if (!windowed || !windowed->HandleAllocated()) {
      child->Perform(message.Msg, message.WParam, message.LParam);
      continue;
    }
    HWND wnd = windowed->Handle();
    TrySendMessage(wnd, message.Msg, message.WParam, message.LParam);
    if (children.Item(i) && !WndIsSkinned(wnd)) AlphaBroadCast(*windowed, message);
  }
}

void AlphaBroadCast(HWND wnd, const fw::TMessage& message) {
  std::vector<HWND> children;
  for (HWND child = win::GetWindow(wnd, win::GW_CHILD); child;
       child = win::GetWindow(child, win::GW_HWNDNEXT))
    children.push_back(child);
  // Handles of windows destroyed on the way are stale: the message goes nowhere.
  for (HWND child : children) TrySendMessage(child, message.Msg, message.WParam, message.LParam);
}

gfx::TPoint acMousePos() {
  win::POINT p{};
  if (!win::GetCursorPos(&p)) return {0, 0};
  return p;
}

bool acMouseInControl(fw::TControl* control) {
  if (!control) return false;
  const gfx::TPoint cursor = acMousePos();
  if (auto* windowed = dynamic_cast<fw::TWinControl*>(control)) {
    win::RECT r;
    if (!windowed->HandleAllocated() || !win::GetWindowRect(windowed->Handle(), &r) ||
        !r.Contains(cursor))
      return false;
    return ContainsWnd(win::WindowFromPoint(cursor), windowed->Handle());
  }
  fw::TWinControl* parent = control->Parent();
  if (!parent || !parent->HandleAllocated()) return false;
  const HWND root = GetRootParent(parent->Handle());
  auto* form = dynamic_cast<fw::TCustomForm*>(fw::TWinControl::FindControl(root));
  if ((form && !form->Enabled()) || !win::IsWindowEnabled(root)) return false;
  const gfx::TPoint p = control->ScreenToClient(cursor);
  if (!gfx::TRect{0, 0, control->Width(), control->Height()}.Contains(p)) return false;
  // Inside the visible part of the parent.
  gfx::HDC dc = win::GetDC(parent->Handle());
  if (!dc) return false;
  gfx::TRect box;
  const int kind = gfx::GetClipBox(dc, &box);
  win::ReleaseDC(parent->Handle(), dc);
  return kind != gfx::NULLREGION && kind != gfx::RGN_ERROR &&
         box.Contains({control->Left() + p.X, control->Top() + p.Y});
}

bool acMouseInControlDC(HWND wnd) {
  gfx::HDC dc = wnd ? win::GetWindowDC(wnd) : nullptr;
  if (!dc) return false;
  gfx::TRect box;
  const int kind = gfx::GetClipBox(dc, &box);
  win::ReleaseDC(wnd, dc);
  win::RECT r;
  if (kind != gfx::SIMPLEREGION || !win::GetWindowRect(wnd, &r)) return false;
  return box.Offset(r.Left, r.Top).Contains(acMousePos());
}

bool ContainsWnd(HWND wnd, HWND parentWnd) {
  for (HWND w = wnd; w; w = win::GetParent(w))
    if (w == parentWnd) return true;
  return false;
}

HWND GetRootParent(HWND wnd) {
  HWND root = wnd;
  while (HWND parent = win::GetParent(root)) root = parent;
  return root;
}

fw::TControl* CtrlUnderMouse() {
  if (DefaultManager && DefaultManager->ActiveGraphControl())
    return DefaultManager->ActiveGraphControl();
  const gfx::TPoint cursor = acMousePos();
  fw::TWinControl* under = fw::TWinControl::FindControl(win::WindowFromPoint(cursor));
  if (!under) return nullptr;
  const gfx::TPoint p = under->ScreenToClient(cursor);
  for (int i = under->ControlCount() - 1; i >= 0; --i) {
    fw::TControl* c = under->Controls(i);
    if (c->Visible() && c->BoundsRect().Contains(p)) return c;
  }
  return under;
}

void IterateControls(fw::TWinControl& owner, const std::function<void(fw::TControl*)>& proc) {
  for (int i = 0; i < owner.ControlCount(); ++i) {
    fw::TControl* c = owner.Controls(i);
    proc(c);
    if (auto* w = dynamic_cast<fw::TWinControl*>(c)) IterateControls(*w, proc);
  }
}

bool IsCustomFont(fw::TControl* control, const fw::TFont& font, bool checkColor) {
  const fw::TWinControl* parent = control ? control->Parent() : nullptr;
  fw::TFont reference;
  if (parent) reference = parent->Font();
  if (!checkColor) reference.SetColor(parent ? control->Font().Color() : font.Color());
  return !draw::FontsEqual(font, reference);
}

bool ControlIsReady(fw::TControl* control) {
  if (!control || !control->Parent()) return false;
  auto* windowed = dynamic_cast<fw::TWinControl*>(control);
  if (windowed && !windowed->HandleAllocated()) return false;
  return !control->HasState(fw::csLoading) && !control->HasState(fw::csReading) &&
         !control->HasState(fw::csDestroying);
}

fw::TCustomForm* GetOwnerForm(fw::TComponent* component) {
  for (fw::TComponent* c = component; c; c = c->Owner())
    if (auto* form = dynamic_cast<fw::TCustomForm*>(c)) return form;
  return nullptr;
}

unsigned GetStringFlags(fw::TControl* control, fw::TAlignment alignment) {
  const unsigned flags = AlignToInt[std::size_t(alignment)] | gfx::DT_EXPANDTABS | gfx::DT_VCENTER;
  return control ? control->DrawTextBiDiModeFlags(flags) : flags;
}

gfx::TRect acClientRect(HWND wnd) {
  win::RECT client, window;
  win::POINT origin{0, 0};
  if (!win::GetClientRect(wnd, &client) || !win::GetWindowRect(wnd, &window) ||
      !win::ClientToScreen(wnd, &origin))
    return {};
  return client.Offset(origin.X - window.Left, origin.Y - window.Top);
}

std::u16string GetWndClassName(HWND wnd) {
  constexpr std::size_t kMaxClassName = 128;
  std::u16string name = win::GetClassNameW(wnd);
  if (name.size() > kMaxClassName) name.resize(kMaxClassName);
  return name;
}

void SetRedraw(HWND wnd, bool value) {
  TrySendMessage(wnd, win::WM_SETREDRAW, value ? 1 : 0, 0);
}

void SetChildOrderAfter(fw::TControl* child, fw::TControl* control) {
  fw::TWinControl* parent = child ? child->Parent() : nullptr;
  if (!parent || !control || control->Parent() != parent || child == control) return;
  // Positions count among the children of one kind, and every windowed child lies above every
  // windowless one: after a control of the other kind is as near to it as the child can go.
  const bool windowed = dynamic_cast<fw::TWinControl*>(child) != nullptr;
  if ((dynamic_cast<fw::TWinControl*>(control) != nullptr) != windowed) {
    parent->SetChildOrder(child, windowed ? 0 : parent->ControlCount());
    return;
  }
  int position = 0;
  for (int i = 0; i < parent->ControlCount(); ++i) {
    fw::TControl* c = parent->Controls(i);
    if (c == child || (dynamic_cast<fw::TWinControl*>(c) != nullptr) != windowed) continue;
    ++position;
    if (c == control) break;
  }
  parent->SetChildOrder(child, position);
}

void CleanPixelsByRects(const std::vector<gfx::TRect>& rects, gfx::Bitmap& bmp) {
  for (const gfx::TRect& r : rects) paint::FillAlphaRect(bmp, r, 0, paint::clNone);
}

bool acThemesEnabled() {
  return win::IsAppThemed();
}

int GetAlignShift(fw::TWinControl& ctrl, fw::TAlign align, bool graphCtrlsToo) {
  const bool vertical = align == fw::TAlign::alTop || align == fw::TAlign::alBottom;
  const bool horizontal = align == fw::TAlign::alLeft || align == fw::TAlign::alRight;
  if (!vertical && !horizontal) return 0;
  int shift = 0;
  for (int i = 0; i < ctrl.ControlCount(); ++i) {
    fw::TControl* c = ctrl.Controls(i);
    if (!c->Visible() || c->Align() != align) continue;
    if (!graphCtrlsToo && !dynamic_cast<fw::TWinControl*>(c)) continue;
    shift += vertical ? c->Height() : c->Width();
  }
  return shift;
}

void AddToAdapter(fw::TControl* control) {
  if (!control || control->HasState(fw::csLoading) || control->HasState(fw::csReading)) return;
  fw::TCustomForm* form = fw::GetParentForm(control);
  if (!form || form->Parent() || !form->HandleAllocated()) return;
  TrySendMessage(form->Handle(), SM_ALPHACMD, MakeAlphaCmd(AC_CONTROLLOADED), LPARAM(control));
}

void SetParentUpdated(fw::TWinControl* control) {
  if (!control || InAnimationProcess) return;
  TacReceivers children;
  for (int i = 0; i < control->ControlCount(); ++i) children.Add(control->Controls(i));
  for (int i = 0; i < children.Count(); ++i) {
    auto* child = static_cast<fw::TControl*>(children.Item(i));
    if (!child || child->HasState(fw::csDestroying)) continue;
    if (auto* windowed = dynamic_cast<fw::TWinControl*>(child)) {
      if (windowed->HandleAllocated() && windowed->Showing())
        SendAMessage(windowed, AC_ENDPARENTUPDATE);
    } else {
      child->Perform(SM_ALPHACMD, AC_ENDPARENTUPDATE_HI, 0);
    }
  }
}

void SetParentUpdated(HWND wnd) {
  std::vector<HWND> children;
  for (HWND child = win::GetWindow(wnd, win::GW_CHILD); child;
       child = win::GetWindow(child, win::GW_HWNDNEXT))
    if (win::GetWindowLongPtrW(child, win::GWL_STYLE) & win::WS_CHILD) children.push_back(child);
  for (HWND child : children) SendAMessage(child, AC_ENDPARENTUPDATE);
}

namespace {

bool PaintingControls = false;

// What owner shows at r (owner coordinates) into r of bmp.
void FillFromBackground(gfx::HDC dc, gfx::Bitmap& bmp, const gfx::TRect& r, const TacBGInfo& bg) {
  gfx::FillRect(dc, r, acColorToRGB(bg.Color));
  if (bg.BgType == TacBGType::btCache && bg.Bmp) {
    bmp.CopyFrom(*bg.Bmp, r.Offset(bg.Offset.X, bg.Offset.Y), {r.Left, r.Top});
    return;
  }
  const gfx::TRect& f = bg.FillRect;
  if (!bg.Bmp || (f.Left | f.Top | f.Right | f.Bottom) == 0) return;
  const gfx::TRect whole = bg.Bmp->Bounds();
  for (const gfx::TRect band :
       {gfx::TRect{0, 0, whole.Right, f.Top}, gfx::TRect{0, 0, f.Left, whole.Bottom},
        gfx::TRect{0, whole.Bottom - f.Bottom, whole.Right, whole.Bottom},
        gfx::TRect{whole.Right - f.Right, 0, whole.Right, whole.Bottom}}) {
    const gfx::TRect part = gfx::IntersectRects(band, r);
    if (!part.IsEmpty()) bmp.CopyFrom(*bg.Bmp, part, {part.Left, part.Top});
  }
}

}  // namespace

void PaintControls(gfx::HDC dc, fw::TWinControl& owner, bool checkVisible, gfx::TPoint offset) {
  if (PaintingControls || !dc || (checkVisible && !owner.Visible()) || owner.ControlCount() == 0)
    return;
  gfx::TRect box;
  if (gfx::GetClipBox(dc, &box) == 0 || box.IsEmpty()) {
    if (owner.HandleAllocated()) SendAMessage(owner.Handle(), AC_SETHALFVISIBLE);
    return;
  }
  PaintingControls = true;
  struct TReset {
    ~TReset() { PaintingControls = false; }
  } reset;
  TacBGInfo bg;
  GetBGInfo(bg, &owner, false);
  std::vector<fw::TControl*> children;
  for (int i = 0; i < owner.ControlCount(); ++i) {
    fw::TControl* c = owner.Controls(i);
    if (dynamic_cast<fw::TWinControl*>(c) || !c->Visible() || c->Width() <= 0 || c->Height() <= 0 ||
        c->HasState(fw::csDestroying))
      continue;
    if (gfx::IntersectRects(c->BoundsRect().Offset(offset.X, offset.Y), box).IsEmpty()) continue;
    children.push_back(c);
  }
  if (children.empty() || owner.Width() <= 0 || owner.Height() <= 0) return;
  // Aligned children of an MDI parent form are told to repaint before they paint.
  auto* form = dynamic_cast<fw::TCustomForm*>(&owner);
  const bool mdiParent = form && form->FormStyle() == fw::TFormStyle::fsMDIForm;
  std::optional<gfx::Bitmap> picture;
  std::optional<gfx::DeviceContext> pdc;
  for (fw::TControl* c : children) {
    if (mdiParent && c->Align() != fw::TAlign::alNone)
      c->Perform(SM_ALPHACMD, MakeAlphaCmd(AC_INVALIDATE), 0);
    if (!picture) {
      picture.emplace(owner.Width(), owner.Height());
      pdc.emplace(*picture);
      for (fw::TControl* each : children) {
        const gfx::TRect r = each->BoundsRect();
        if (each->ControlStyle & fw::csOpaque)
          gfx::FillRect(&*pdc, r, GetControlColor(each));
        else
          FillFromBackground(&*pdc, *picture, r, bg);
      }
    }
    const int saved = gfx::SaveDC(&*pdc);
    gfx::OffsetViewportOrgEx(&*pdc, c->Left(), c->Top(), nullptr);
    gfx::IntersectClipRect(&*pdc, 0, 0, c->Width(), c->Height());
    c->Perform(win::WM_PAINT, win::WPARAM(&*pdc), 0);
    gfx::RestoreDC(&*pdc, saved);
  }
  for (fw::TControl* c : children) {
    const gfx::TRect r = gfx::IntersectRects(c->BoundsRect(), picture->Bounds());
    if (r.IsEmpty() || (picture->At(r.Left, r.Top) & 0xFFFFFF) == 0xFF00FF) continue;
    gfx::BitBlt(dc, r.Left + offset.X, r.Top + offset.Y, r.Width(), r.Height(), &*pdc, r.Left,
                r.Top, gfx::SRCCOPY);
  }
}

namespace {

// What a window is asked to print: its frame, its background and its client area; the windows
// inside follow one by one (PaintChildCtrls).
constexpr LPARAM kPrintFlags = win::PRF_NONCLIENT | win::PRF_ERASEBKGND | win::PRF_CLIENT;

// Where the client area of a control lies in its window (nothing without a window).
gfx::TPoint ClientOffset(fw::TWinControl& ctrl) {
  if (!ctrl.HandleAllocated()) return {};
  const gfx::TRect r = acClientRect(ctrl.Handle());
  return {r.Left, r.Top};
}

// A window's top-left corner in the window of `in` (both on screen).
gfx::TPoint PlaceIn(HWND wnd, HWND in) {
  win::RECT r{}, o{};
  win::GetWindowRect(wnd, &r);
  win::GetWindowRect(in, &o);
  return {r.Left - o.Left, r.Top - o.Top};
}

// An MDI parent's client window and its children, over the form's own picture: the client
// prints its edge and background, then the children follow from the bottom of the z-order up,
// each with its frame, clipped to the client's client area as on screen.
void PaintMDIClient(gfx::HDC dc, fw::TCustomForm& form) {
  const HWND client = form.ClientHandle();
  if (form.FormStyle() != fw::TFormStyle::fsMDIForm || !client || !form.HandleAllocated() ||
      !win::IsWindowVisible(client))
    return;
  const gfx::TPoint at = PlaceIn(client, form.Handle());
  win::RECT wr{};
  win::GetWindowRect(client, &wr);
  const int saved = gfx::SaveDC(dc);
  gfx::OffsetViewportOrgEx(dc, at.X, at.Y, nullptr);
  gfx::IntersectClipRect(dc, 0, 0, wr.Width(), wr.Height());
  TrySendMessage(client, win::WM_PRINT, win::WPARAM(dc), kPrintFlags);
  const gfx::TRect inner = acClientRect(client);
  gfx::IntersectClipRect(dc, inner.Left, inner.Top, inner.Right, inner.Bottom);
  for (int i = form.MDIChildCount() - 1; i >= 0; --i) {
    fw::TCustomForm* child = form.MDIChildren(i);
    if (!child || !child->HandleAllocated() || !win::IsWindowVisible(child->Handle())) continue;
    const HWND wnd = child->Handle();
    const gfx::TPoint place = PlaceIn(wnd, client);
    win::RECT cr{};
    win::GetWindowRect(wnd, &cr);
    // Painted aside, then copied within the child's window shape: cut-off frame corners show
    // the client behind them, as on screen.
    gfx::Bitmap picture(cr.Width(), cr.Height());
    if (picture.Empty()) continue;
    {
      gfx::DeviceContext pdc(picture);
      SkinPaintTo(&pdc, child);
    }
    gfx::Region shape;
    if (win::GetWindowRgn(wnd, &shape) == gfx::RGN_ERROR) shape = gfx::Region(picture.Bounds());
    gfx::DeviceContext from(picture);
    for (const gfx::TRect& r : shape.Rects()) {
      const gfx::TRect part = gfx::IntersectRects(r, picture.Bounds());
      if (!part.IsEmpty())
        gfx::BitBlt(dc, place.X + part.Left, place.Y + part.Top, part.Width(), part.Height(), &from,
                    part.Left, part.Top, gfx::SRCCOPY);
    }
  }
  gfx::RestoreDC(dc, saved);
}

void PrintControl(gfx::HDC dc, fw::TControl& ctrl, TacFormProvider* provider) {
  auto* windowed = dynamic_cast<fw::TWinControl*>(&ctrl);
  if (!windowed) {
    ctrl.Perform(SM_ALPHACMD, MakeAlphaCmd(AC_PRINTING), LPARAM(dc));
    ctrl.Perform(win::WM_PRINT, win::WPARAM(dc), kPrintFlags);
    ctrl.Perform(SM_ALPHACMD, MakeAlphaCmd(AC_PRINTING), 0);
    return;
  }
  const HWND wnd = windowed->HandleAllocated() ? windowed->Handle() : nullptr;
  LRESULT printed = 0;
  if (wnd && (SendAMessage(wnd, AC_PRINTING, LPARAM(dc)) == 1 || WndIsSkinned(wnd))) {
    printed = TrySendMessage(wnd, win::WM_PRINT, win::WPARAM(dc), kPrintFlags);
    SendAMessage(wnd, AC_PRINTING, 0);
  } else {
    windowed->PaintTo(dc, 0, 0);
  }
  if (printed != -2) PaintChildCtrls(*windowed, dc);
  // Last, as on screen: the MDI client lies over the form's picture, the children over it.
  if (auto* form = dynamic_cast<fw::TCustomForm*>(windowed)) PaintMDIClient(dc, *form);
  if (!provider) return;
  if (provider->HasExtendedBorder()) {
    // The client area is opaque whatever the controls left in the alpha bytes.
    gfx::TPoint org;
    gfx::GetViewportOrgEx(dc, &org);
    const gfx::TPoint at = provider->ClientOffset();
    const gfx::TRect client = windowed->ClientRect().Offset(org.X + at.X, org.Y + at.Y);
    paint::FillAlphaRect(dc->Target(), client, 255, paint::clNone);
  }
  if (wnd) SendAMessage(wnd, AC_PAINTFLOATITEMS, LPARAM(&dc->Target()));
}

}  // namespace

void SkinPaintTo(gfx::HDC dc, fw::TControl* ctrl, TacFormProvider* provider, bool paintNext) {
  if (!dc || !ctrl) return;
  const int saved = gfx::SaveDC(dc);
  if (!provider || !provider->HasExtendedBorder())
    gfx::IntersectClipRect(dc, 0, 0, ctrl->Width(), ctrl->Height());
  fw::TWinControl* parent = ctrl->Parent();
  if (provider || !parent || ctrl->Visible()) {
    PrintControl(dc, *ctrl, provider);
  } else {
    // Hidden: what its parent shows behind it.
    TacBGInfo bg;
    GetBGInfo(bg, parent, false);
    const gfx::TRect r{0, 0, ctrl->Width(), ctrl->Height()};
    if (bg.BgType == TacBGType::btCache && bg.Bmp) {
      gfx::DeviceContext from(*bg.Bmp);
      gfx::BitBlt(dc, 0, 0, r.Right, r.Bottom, &from, bg.Offset.X + ctrl->Left(),
                  bg.Offset.Y + ctrl->Top(), gfx::SRCCOPY);
    } else {
      gfx::FillRect(dc, r, acColorToRGB(bg.Color));
    }
  }
  if (paintNext && parent) {
    bool later = false;
    for (int i = 0; i < parent->ControlCount(); ++i) {
      fw::TControl* sibling = parent->Controls(i);
      if (sibling == ctrl) {
        later = true;
        continue;
      }
      if (!later || !sibling->Visible() || dynamic_cast<TOutputWindow*>(sibling) ||
          gfx::IntersectRects(sibling->BoundsRect(), ctrl->BoundsRect()).IsEmpty())
        continue;
      const int before = gfx::SaveDC(dc);
      gfx::OffsetViewportOrgEx(dc, sibling->Left() - ctrl->Left(), sibling->Top() - ctrl->Top(),
                               nullptr);
      SkinPaintTo(dc, sibling);
      gfx::RestoreDC(dc, before);
    }
  }
  gfx::RestoreDC(dc, saved);
}

void PaintChildCtrls(fw::TWinControl& ctrl, gfx::HDC dc) {
  const gfx::TPoint client = ClientOffset(ctrl);
  for (int i = 0; i < ctrl.ControlCount(); ++i) {
    auto* child = dynamic_cast<fw::TWinControl*>(ctrl.Controls(i));
    if (!child || !child->Visible() || !child->HandleAllocated()) continue;
    const int saved = gfx::SaveDC(dc);
    gfx::OffsetViewportOrgEx(dc, client.X + child->Left(), client.Y + child->Top(), nullptr);
    SkinPaintTo(dc, child);
    gfx::RestoreDC(dc, saved);
  }
}

fw::TColor GetControlColor(fw::TControl* control) {
  if (!control) return fw::clFuchsia;
  if (CtrlIsSkinned(control))
    return fw::TColor(
        acColorToRGB(fw::TColor(SendAMessage(control, AC_GETCONTROLCOLOR, 0xFF00FF))));
  return fw::TColor(acColorToRGB(control->Color()));
}

fw::TColor GetControlColor(HWND wnd) {
  if (!wnd) return fw::clFuchsia;
  return fw::TColor(acColorToRGB(fw::TColor(SendAMessage(wnd, AC_GETCONTROLCOLOR, 0xFF00FF))));
}

namespace {

struct TSpecialColor {
  fw::TColor Color;
  data::TacPaletteColors Entry;
};
constexpr TSpecialColor kSpecialColors[] = {
    {slEditRedText, data::pcEditText_Alert},
    {slEditGreenText, data::pcEditText_Ok},
    {slEditYellowText, data::pcEditText_Warning},
    {slEditRed, data::pcEditBG_Alert},
    {slEditGreen, data::pcEditBG_Ok},
    {slEditYellow, data::pcEditBG_Warning},
    {slBtnRed, data::pcBtnToneRed},
    {slBtnRedActive, data::pcBtnToneRedActive},
    {slBtnRedText, data::pcBtnRedText},
    {slBtnRedTextActive, data::pcBtnRedTextActive},
    {slBtnGreen, data::pcBtnToneGreen},
    {slBtnGreenActive, data::pcBtnToneGreenActive},
    {slBtnGreenText, data::pcBtnGreenText},
    {slBtnGreenTextActive, data::pcBtnGreenTextActive},
    {slBtnBlue, data::pcBtnToneBlue},
    {slBtnBlueActive, data::pcBtnToneBlueActive},
    {slBtnBlueText, data::pcBtnBlueText},
    {slBtnBlueTextActive, data::pcBtnBlueTextActive},
};

// The largest system colour index; the low 24 bits of a negative colour above kSpecialFloor
// are an RGB value.
constexpr int kLastSysColor = 30;
constexpr int kSpecialFloor = 100;

// Without a skin: a negative colour whose low 24 bits exceed 100 holds an RGB value there;
// the other negative colours are the system's.
gfx::COLORREF Rgb(fw::TColor c) {
  if (c >= 0) return gfx::COLORREF(c) & 0xFFFFFF;
  const int low = c & 0xFFFFFF;
  return low > kSpecialFloor ? gfx::COLORREF(low) : win::GetSysColor(low & 0xFF);
}

// The skin's answer for a system colour, or −1 to leave it to the system.
std::int64_t SkinSysColor(const data::TacSkinModel& model, int index) {
  const data::TacPalette& pal = model.Palette;
  const fw::TColor main = pal[data::pcMainColor];
  auto section = [&](data::TacSection s) -> const data::TsGeneralData* {
    const int i = model.ConstData.Sections[s];
    return model.IsValidSkinIndex(i) ? &model.gd[std::size_t(i)] : nullptr;
  };
  const data::TsGeneralData* title = section(data::ssFormTitle);
  const data::TsGeneralData* hint = section(data::ssHint);
  using namespace win;
  switch (index) {
    case COLOR_ACTIVECAPTION:
    case COLOR_GRADIENTACTIVECAPTION:
      return title ? title->Props[1].Color : main;
    case COLOR_SCROLLBAR:
    case COLOR_BACKGROUND:
    case COLOR_MENU:
    case COLOR_APPWORKSPACE:
    case COLOR_BTNFACE:
    case COLOR_MENUBAR:
      return main;
    case COLOR_INACTIVECAPTION:
    case COLOR_GRADIENTINACTIVECAPTION:
      return title ? title->Props[0].Color : main;
    case COLOR_WINDOWFRAME:
    case COLOR_ACTIVEBORDER:
    case COLOR_INACTIVEBORDER:
      return pal[data::pcBorder];
    case COLOR_CAPTIONTEXT:
      return title ? title->Props[1].FontColor.Color : pal[data::pcLabelText];
    case COLOR_MENUTEXT:
    case COLOR_BTNTEXT:
      return pal[data::pcLabelText];
    case COLOR_HIGHLIGHT:
    case COLOR_MENUHILIGHT:
      return pal[data::pcSelectionBG_Focused];
    case COLOR_HIGHLIGHTTEXT:
      return pal[data::pcSelectionText_Focused];
    case COLOR_BTNSHADOW:
    case COLOR_3DDKSHADOW:
      return paint::BlendColors(main, fw::clBlack, 180);
    case COLOR_GRAYTEXT:
      return paint::BlendColors(main, pal[data::pcLabelText], 127);
    case COLOR_INACTIVECAPTIONTEXT:
      return title ? title->Props[0].FontColor.Color : pal[data::pcLabelText];
    case COLOR_BTNHIGHLIGHT:
      return paint::BlendColors(main, pal[data::pcSelectionBG_Focused], 127);
    case COLOR_3DLIGHT:
      return paint::BlendColors(main, fw::clWhite, 180);
    case COLOR_INFOTEXT:
      return hint ? hint->Props[0].FontColor.Color : pal[data::pcEditText];
    case COLOR_WINDOWTEXT:
      return pal[data::pcEditText];
    case COLOR_INFOBK:
      return hint ? hint->Props[0].Color : pal[data::pcEditBG];
    case COLOR_WINDOW:
      return pal[data::pcEditBG];
    case COLOR_HOTLIGHT:
      return pal[data::pcWebTextHot];
    default:
      return -1;
  }
}

}  // namespace

gfx::COLORREF acColorToRGB(fw::TColor color, const TsSkinManager* manager) {
  if (color >= 0) return fw::ColorToRGB(color);
  if (!manager) manager = DefaultManager;
  const int low = color & 0xFFFFFF;
  const data::TacSkinModel* model = manager ? manager->SkinModel() : nullptr;
  if (model && model->CommonSkinData.Active) {
    for (const TSpecialColor& s : kSpecialColors)
      if (s.Color == color) return Rgb(model->Palette[s.Entry]);
    if (low <= kLastSysColor && manager->Options().ChangeSysColors()) {
      const std::int64_t c = SkinSysColor(*model, low);
      if (c >= 0) return Rgb(fw::TColor(c));
    }
  }
  return Rgb(color);
}

TOutputWindow::TOutputWindow(fw::TComponent* owner) : TCustomControl(owner) {
  SetVisible(false);
  SetColor(fw::clFuchsia);
  SetText(u"acOutputWindow");
}

void TOutputWindow::CreateParams(fw::TCreateParams& params) {
  TCustomControl::CreateParams(params);
  params.Caption = u"acOutputWindow";
  params.Style &= ~win::WS_VISIBLE;
  if (Parent() || params.WndParent) return;
  params.Style = (params.Style & ~win::WS_CHILD) | win::WS_POPUP;
  params.WndParent = fw::Application ? fw::Application->Handle() : nullptr;
  auto* owner = dynamic_cast<fw::TWinControl*>(Owner());
  if (owner && owner->HandleAllocated() &&
      (win::GetWindowLongPtrW(owner->Handle(), win::GWL_EXSTYLE) & win::WS_EX_TOPMOST))
    params.ExStyle |= win::WS_EX_TOPMOST;
}

void TOutputWindow::WndProc(fw::TMessage& m) {
  switch (m.Msg) {
    case win::WM_ERASEBKGND:
      m.Result = 1;
      return;
    case win::WM_NCPAINT:
      return;
    default:
      TCustomControl::WndProc(m);
  }
}

}  // namespace skin::core
