#include "platform/win/MessageBox.h"

#include <algorithm>
#include <map>
#include <vector>

#include "platform/gfx/DeviceContext.h"
#include "platform/gfx/Font.h"
#include "platform/win/ControlCodes.h"
#include "platform/win/Input.h"
#include "platform/win/KeyboardLayout.h"
#include "platform/win/Keys.h"
#include "platform/win/MessageQueue.h"
#include "platform/win/Paint.h"
#include "platform/win/SystemBitmaps.h"
#include "platform/win/SystemInfo.h"
#include "platform/win/Window.h"
#include "platform/win/WindowProc.h"

namespace win {

namespace {

// What a standard control or a box keeps besides its window.
struct ControlState {
  gfx::HFONT font;            // WM_SETFONT; null: the message font
  gfx::HICON icon = nullptr;  // a static's STM_SETICON
  HBITMAP image = nullptr;    // a button's BM_SETIMAGE (the caller's)
  bool pushed = false;        // a button drawn sunken (mouse held on it, Space, BM_SETSTATE)
  bool tracking = false;      // a button pressed with the mouse, capture held
  int result = 0;             // a box's answer, 0 while it runs
  int escapeId = 0;           // a box's answer to Escape and the close button, 0: none
  int defaultId = 0;          // a box's default button
};

std::map<HWND, ControlState>& States() {
  static std::map<HWND, ControlState> states;
  return states;
}

ControlState& StateOf(HWND hwnd) {
  return States()[hwnd];
}

gfx::HFONT MessageFont() {
  static gfx::HFONT font;
  if (!font) {
    NONCLIENTMETRICSW m;
    SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof m, &m, 0);
    font = gfx::CreateFontIndirectW(m.lfMessageFont);
  }
  return font;
}

gfx::HFONT FontOf(HWND hwnd) {
  auto it = States().find(hwnd);
  return it != States().end() && it->second.font ? it->second.font : MessageFont();
}

// The message common to both controls: fonts, and forgetting the state with the window.
bool CommonMessage(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) {
  switch (msg) {
    case WM_SETFONT:
      StateOf(hwnd).font = wParam ? *reinterpret_cast<const gfx::HFONT*>(wParam) : nullptr;
      if (lParam) InvalidateRect(hwnd, nullptr, true);
      result = 0;
      return true;
    case WM_GETFONT: {
      auto it = States().find(hwnd);
      result = it != States().end() && it->second.font ? LRESULT(&it->second.font) : 0;
      return true;
    }
    case WM_NCDESTROY:
      States().erase(hwnd);
      result = DefWindowProcW(hwnd, msg, wParam, lParam);
      return true;
    default:
      return false;
  }
}

// A control's window procedure: the messages every control of the box answers alike, then
// Proc with the control's state.
template <LRESULT (*Proc)(HWND, UINT, WPARAM, LPARAM, ControlState&)>
LRESULT ControlProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  LRESULT result = 0;
  if (CommonMessage(hwnd, msg, wParam, lParam, result)) return result;
  return Proc(hwnd, msg, wParam, lParam, StateOf(hwnd));
}

bool IsPushButton(HWND hwnd) {
  return GetClassNameW(hwnd) == WC_BUTTON &&
         (GetWindowLongPtrW(hwnd, GWL_STYLE) & BS_TYPEMASK) <= BS_DEFPUSHBUTTON;
}

// The dialog a control belongs to: its parent when that is a "#32770", else nullptr.
HWND DialogOf(HWND hwnd) {
  HWND parent = GetParent(hwnd);
  return parent && GetClassNameW(parent) == WC_DIALOG ? parent : nullptr;
}

// The dialog's tab stops (visible, enabled children with WS_TABSTOP) in child order.
std::vector<HWND> TabStops(HWND dialog) {
  std::vector<HWND> out;
  for (HWND c = GetTopWindow(dialog); c; c = GetWindow(c, GW_HWNDNEXT))
    if ((GetWindowLongPtrW(c, GWL_STYLE) & WS_TABSTOP) && IsWindowVisible(c) && IsWindowEnabled(c))
      out.push_back(c);
  return out;
}

// Moves the focus to the next (or previous) tab stop; the focused push button becomes the
// default one, as it shows.
void NextControl(HWND dialog, bool previous) {
  std::vector<HWND> stops = TabStops(dialog);
  if (stops.empty()) return;
  auto it = std::find(stops.begin(), stops.end(), GetFocus());
  std::size_t i = it == stops.end() ? 0 : std::size_t(it - stops.begin());
  i = previous ? (i + stops.size() - 1) % stops.size()
               : (it == stops.end() ? 0 : (i + 1) % stops.size());
  SetFocus(stops[i]);
}

// Marks the default push button: the focused one when a button has the focus, else the box's.
void ShowDefault(HWND dialog) {
  HWND focus = GetFocus();
  bool buttonFocused = focus && GetParent(focus) == dialog && IsPushButton(focus);
  int defId = StateOf(dialog).defaultId;
  for (HWND c = GetTopWindow(dialog); c; c = GetWindow(c, GW_HWNDNEXT)) {
    if (!IsPushButton(c)) continue;
    bool def = buttonFocused ? c == focus : int(GetWindowLongPtrW(c, GWLP_ID)) == defId;
    SendMessageW(c, BM_SETSTYLE, def ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON, 1);
  }
}

// Presses a button of the dialog by its identifier (as a click would).
void PressButton(HWND dialog, int id) {
  for (HWND c = GetTopWindow(dialog); c; c = GetWindow(c, GW_HWNDNEXT))
    if (int(GetWindowLongPtrW(c, GWLP_ID)) == id && IsWindowEnabled(c)) {
      SendMessageW(c, BM_CLICK, 0, 0);
      return;
    }
}

// The character an access-key mark ("&x") names in text, 0 when none.
char16_t AccessKey(const std::u16string& text) {
  for (std::size_t i = 0; i + 1 < text.size(); ++i)
    if (text[i] == u'&') {
      if (text[i + 1] != u'&') return text[i + 1];
      ++i;
    }
  return 0;
}

char16_t Upper(char16_t c) {
  if (c >= u'a' && c <= u'z') return char16_t(c - 32);
  if (c >= u'а' && c <= u'я') return char16_t(c - 32);
  if (c == u'ё') return u'Ё';
  return c;
}

// The dialog's keys, wherever the focus is inside it; true when one was taken.
bool DialogKey(HWND dialog, UINT msg, WPARAM key) {
  if (msg == WM_KEYDOWN) {
    switch (key) {
      case VK_TAB:
        NextControl(dialog, GetKeyState(VK_SHIFT) < 0);
        return true;
      case VK_LEFT:
      case VK_UP:
        NextControl(dialog, true);
        return true;
      case VK_RIGHT:
      case VK_DOWN:
        NextControl(dialog, false);
        return true;
      case VK_RETURN: {
        HWND focus = GetFocus();
        if (focus && GetParent(focus) == dialog && IsPushButton(focus))
          SendMessageW(focus, BM_CLICK, 0, 0);
        else
          PressButton(dialog, LOWORD(std::uintptr_t(SendMessageW(dialog, DM_GETDEFID, 0, 0))));
        return true;
      }
      case VK_ESCAPE:
        SendMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
        return true;
      default:
        return false;
    }
  }
  if (msg == WM_CHAR || msg == WM_SYSCHAR) {
    const char16_t c = Upper(char16_t(key));
    for (HWND b = GetTopWindow(dialog); b; b = GetWindow(b, GW_HWNDNEXT))
      if (IsPushButton(b) && IsWindowEnabled(b) && Upper(AccessKey(GetWindowTextW(b))) == c && c) {
        SetFocus(b);
        SendMessageW(b, BM_CLICK, 0, 0);
        return true;
      }
    return msg == WM_CHAR;  // characters have no other use in a box
  }
  return false;
}

void DrawButton(HWND hwnd, gfx::HDC dc) {
  RECT r;
  GetClientRect(hwnd, &r);
  const ControlState& s = StateOf(hwnd);
  const bool def = (GetWindowLongPtrW(hwnd, GWL_STYLE) & BS_TYPEMASK) == BS_DEFPUSHBUTTON;
  gfx::FillRect(dc, r, GetSysColor(COLOR_BTNFACE));
  auto line = [dc](int x0, int y0, int x1, int y1, gfx::COLORREF c) {
    gfx::SetDCPenColor(dc, c);
    gfx::MoveToEx(dc, x0, y0, nullptr);
    gfx::LineTo(dc, x1, y1);
  };
  RECT e = r;
  if (def) {  // the default button's black outline
    line(e.Left, e.Top, e.Right - 1, e.Top, GetSysColor(COLOR_WINDOWFRAME));
    line(e.Right - 1, e.Top, e.Right - 1, e.Bottom - 1, GetSysColor(COLOR_WINDOWFRAME));
    line(e.Right - 1, e.Bottom - 1, e.Left, e.Bottom - 1, GetSysColor(COLOR_WINDOWFRAME));
    line(e.Left, e.Bottom - 1, e.Left, e.Top, GetSysColor(COLOR_WINDOWFRAME));
    e = {e.Left + 1, e.Top + 1, e.Right - 1, e.Bottom - 1};
  }
  const gfx::COLORREF light = GetSysColor(s.pushed ? COLOR_BTNSHADOW : COLOR_BTNHIGHLIGHT);
  const gfx::COLORREF dark = GetSysColor(s.pushed ? COLOR_BTNSHADOW : COLOR_3DDKSHADOW);
  line(e.Left, e.Bottom - 1, e.Left, e.Top, light);
  line(e.Left, e.Top, e.Right - 1, e.Top, light);
  line(e.Right - 1, e.Top, e.Right - 1, e.Bottom - 1, dark);
  line(e.Right - 1, e.Bottom - 1, e.Left - 1, e.Bottom - 1, dark);
  RECT t = r;
  if (s.pushed) t = t.Offset(1, 1);
  if ((GetWindowLongPtrW(hwnd, GWL_STYLE) & BS_BITMAP) && s.image && !s.image->Empty()) {
    // The image in place of the text, centred, clipped to the inside of the edge.
    gfx::Bitmap& image = *s.image;
    const int saved = gfx::SaveDC(dc);
    gfx::IntersectClipRect(dc, e.Left + 1, e.Top + 1, e.Right - 1, e.Bottom - 1);
    gfx::DeviceContext from(image);
    gfx::BitBlt(dc, t.Left + (r.Width() - image.Width()) / 2,
                t.Top + (r.Height() - image.Height()) / 2, image.Width(), image.Height(), &from, 0,
                0, gfx::SRCCOPY);
    gfx::RestoreDC(dc, saved);
  } else {
    gfx::SelectFont(dc, FontOf(hwnd));
    gfx::SetBkMode(dc, gfx::TRANSPARENT);
    gfx::SetTextColor(dc, GetSysColor(IsWindowEnabled(hwnd) ? COLOR_BTNTEXT : COLOR_GRAYTEXT));
    gfx::DrawTextW(dc, GetWindowTextW(hwnd), &t,
                   gfx::DT_CENTER | gfx::DT_VCENTER | gfx::DT_SINGLELINE);
  }
  if (GetFocus() == hwnd) {  // a dotted focus rectangle inside the edge
    RECT f{r.Left + 4, r.Top + 4, r.Right - 4, r.Bottom - 4};
    for (int x = f.Left; x < f.Right; x += 2) {
      gfx::SetPixel(dc, x, f.Top, GetSysColor(COLOR_BTNTEXT));
      gfx::SetPixel(dc, x, f.Bottom - 1, GetSysColor(COLOR_BTNTEXT));
    }
    for (int y = f.Top; y < f.Bottom; y += 2) {
      gfx::SetPixel(dc, f.Left, y, GetSysColor(COLOR_BTNTEXT));
      gfx::SetPixel(dc, f.Right - 1, y, GetSysColor(COLOR_BTNTEXT));
    }
  }
}

void SetPushed(HWND hwnd, bool pushed) {
  ControlState& s = StateOf(hwnd);
  if (s.pushed == pushed) return;
  s.pushed = pushed;
  InvalidateRect(hwnd, nullptr, false);
}

void Click(HWND hwnd) {
  SetPushed(hwnd, false);
  if (HWND parent = GetParent(hwnd))
    SendMessageW(parent, WM_COMMAND, MAKEWPARAM(int(GetWindowLongPtrW(hwnd, GWLP_ID)), BN_CLICKED),
                 LParamFromHwnd(hwnd));
}

bool Inside(HWND hwnd, LPARAM lParam) {
  RECT r;
  GetClientRect(hwnd, &r);
  return r.Contains(PointFromLParam(lParam));
}

LRESULT ButtonProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam, ControlState& s) {
  switch (msg) {
    case WM_PAINT: {
      PAINTSTRUCT ps;
      gfx::HDC dc = BeginPaint(hwnd, &ps);
      DrawButton(hwnd, dc);
      EndPaint(hwnd, &ps);
      return 0;
    }
    case WM_ERASEBKGND:
      return 1;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
      SetFocus(hwnd);
      SetCapture(hwnd);
      s.tracking = true;
      SetPushed(hwnd, true);
      return 0;
    case WM_MOUSEMOVE:
      if (s.tracking) SetPushed(hwnd, Inside(hwnd, lParam));
      return 0;
    case WM_LBUTTONUP:
      if (!s.tracking) return 0;
      s.tracking = false;
      ReleaseCapture();
      if (Inside(hwnd, lParam))
        Click(hwnd);
      else
        SetPushed(hwnd, false);
      return 0;
    case WM_CAPTURECHANGED:
      if (s.tracking) {
        s.tracking = false;
        SetPushed(hwnd, false);
      }
      return 0;
    case WM_KEYDOWN:
      if (wParam == VK_SPACE) {
        SetPushed(hwnd, true);
        return 0;
      }
      break;
    case WM_KEYUP:
      if (wParam == VK_SPACE && s.pushed) Click(hwnd);
      return 0;
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
      if (msg == WM_KILLFOCUS) SetPushed(hwnd, false);
      if (HWND dialog = DialogOf(hwnd); dialog && msg == WM_SETFOCUS) ShowDefault(dialog);
      InvalidateRect(hwnd, nullptr, false);
      return 0;
    case WM_ENABLE:
      InvalidateRect(hwnd, nullptr, false);
      return 0;
    case WM_SETTEXT: {
      const LRESULT result = DefWindowProcW(hwnd, msg, wParam, lParam);
      InvalidateRect(hwnd, nullptr, false);
      return result;
    }
    case WM_GETDLGCODE:
      return DLGC_BUTTON | ((GetWindowLongPtrW(hwnd, GWL_STYLE) & BS_TYPEMASK) == BS_DEFPUSHBUTTON
                                ? DLGC_DEFPUSHBUTTON
                                : DLGC_UNDEFPUSHBUTTON);
    case BM_GETSTATE:
      return (s.pushed ? BST_PUSHED : 0) | (GetFocus() == hwnd ? BST_FOCUS : 0);
    case BM_SETSTATE:
      SetPushed(hwnd, wParam != 0);
      return 0;
    case BM_CLICK:
      Click(hwnd);
      return 0;
    case BM_SETIMAGE: {
      if (wParam != IMAGE_BITMAP) return 0;
      HBITMAP old = s.image;
      s.image = reinterpret_cast<HBITMAP>(lParam);
      InvalidateRect(hwnd, nullptr, false);
      return LRESULT(old);
    }
    case BM_GETIMAGE:
      return wParam == IMAGE_BITMAP ? LRESULT(s.image) : 0;
    case BM_SETSTYLE: {
      LONG_PTR style = GetWindowLongPtrW(hwnd, GWL_STYLE);
      LONG_PTR next = (style & ~LONG_PTR(BS_TYPEMASK)) | LONG_PTR(wParam & BS_TYPEMASK);
      if (next != style) {
        SetWindowLongPtrW(hwnd, GWL_STYLE, next);
        if (lParam) InvalidateRect(hwnd, nullptr, false);
      }
      return 0;
    }
    default:
      break;
  }
  if (HWND dialog = DialogOf(hwnd))
    if (DialogKey(dialog, msg, wParam)) return 0;
  return DefWindowProcW(hwnd, msg, wParam, lParam);
}

LRESULT StaticProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam, ControlState& s) {
  const DWORD style = DWORD(GetWindowLongPtrW(hwnd, GWL_STYLE));
  switch (msg) {
    case WM_PAINT: {
      PAINTSTRUCT ps;
      gfx::HDC dc = BeginPaint(hwnd, &ps);
      RECT r;
      GetClientRect(hwnd, &r);
      gfx::FillRect(dc, r, GetSysColor(COLOR_BTNFACE));
      if ((style & SS_TYPEMASK) == SS_ICON) {
        if (gfx::HICON icon = s.icon) gfx::DrawIconEx(dc, 0, 0, icon, 0, 0, gfx::DI_NORMAL);
      } else {
        gfx::SelectFont(dc, FontOf(hwnd));
        gfx::SetBkMode(dc, gfx::TRANSPARENT);
        gfx::SetTextColor(dc, GetSysColor(COLOR_WINDOWTEXT));
        gfx::DrawTextW(dc, GetWindowTextW(hwnd), &r,
                       gfx::DT_LEFT | gfx::DT_WORDBREAK | gfx::DT_EXPANDTABS |
                           ((style & SS_NOPREFIX) ? gfx::DT_NOPREFIX : 0));
      }
      EndPaint(hwnd, &ps);
      return 0;
    }
    case WM_ERASEBKGND:
      return 1;
    case STM_SETICON: {
      gfx::HICON old = s.icon;
      s.icon = reinterpret_cast<gfx::HICON>(wParam);
      InvalidateRect(hwnd, nullptr, true);
      return LRESULT(old);
    }
    case STM_GETICON:
      return LRESULT(s.icon);
    case WM_SETTEXT: {
      const LRESULT result = DefWindowProcW(hwnd, msg, wParam, lParam);
      InvalidateRect(hwnd, nullptr, true);
      return result;
    }
    case WM_NCHITTEST:
      return HTTRANSPARENT;
    case WM_GETDLGCODE:
      return DLGC_STATIC;
    default:
      return DefWindowProcW(hwnd, msg, wParam, lParam);
  }
}

LRESULT DialogProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam, ControlState& s) {
  switch (msg) {
    case WM_COMMAND: {
      const int id = LOWORD(wParam);
      if (id == IDCANCEL && HIWORD(wParam) == 0 && !lParam) {  // Escape, close: the box's choice
        if (s.escapeId) s.result = s.escapeId;
        return 0;
      }
      if (HIWORD(wParam) == BN_CLICKED && id > 0) s.result = id;
      return 0;
    }
    case WM_CLOSE:
      SendMessageW(hwnd, WM_COMMAND, IDCANCEL, 0);
      return 0;
    case DM_GETDEFID:
      return s.defaultId ? MAKELRESULT(s.defaultId, DC_HASDEFID) : 0;
    case WM_NEXTDLGCTL:
      NextControl(hwnd, wParam != 0);
      return 0;
    case WM_ACTIVATE:
      // The focus goes back to the control that had it, the default button at first.
      if (LOWORD(wParam) != 0) {
        HWND focus = GetFocus();
        if (!focus || !IsChild(hwnd, focus)) {
          for (HWND c = GetTopWindow(hwnd); c; c = GetWindow(c, GW_HWNDNEXT))
            if (int(GetWindowLongPtrW(c, GWLP_ID)) == s.defaultId) SetFocus(c);
        }
      }
      return 0;
    case WM_KEYDOWN:
    case WM_CHAR:
    case WM_SYSCHAR:
      if (DialogKey(hwnd, msg, wParam)) return 0;
      break;
    default:
      break;
  }
  return DefWindowProcW(hwnd, msg, wParam, lParam);
}

// A box's sign: a red disc with a white cross, a yellow triangle with "!", a blue disc with
// "?" or "i"; transparent around the sign.
gfx::HICON MakeSign(UINT iconType) {
  constexpr int kSize = 32;
  auto color = std::make_shared<gfx::Bitmap>(kSize, kSize);
  auto mask = std::make_shared<gfx::Bitmap8>(kSize, kSize);
  color->Fill(0);
  mask->Fill(255);
  const bool triangle = iconType == MB_ICONEXCLAMATION;
  const gfx::COLORREF fill = iconType == MB_ICONHAND ? gfx::RGB(204, 0, 0)
                             : triangle              ? gfx::RGB(255, 204, 0)
                                                     : gfx::RGB(0, 90, 200);
  for (int y = 0; y < kSize; ++y)
    for (int x = 0; x < kSize; ++x) {
      bool in;
      if (triangle) {  // apex at (16, 1), base along row 30
        in = y >= 1 && y <= 30 && 2 * std::abs(2 * x + 1 - kSize) <= 2 * (y - 1) + 2;
      } else {
        int dx = 2 * x + 1 - kSize, dy = 2 * y + 1 - kSize;
        in = dx * dx + dy * dy <= 30 * 30;
      }
      if (in) {
        color->Set(x, y, gfx::PixelFromColor(fill, 255));
        mask->Set(x, y, 0);
      }
    }
  gfx::DeviceContext dc(*color);
  gfx::LOGFONTW lf;
  lf.lfHeight = -20;
  lf.lfWeight = gfx::FW_BOLD;
  lf.lfFaceName = u"Tahoma";
  gfx::SelectFont(&dc, gfx::CreateFontIndirectW(lf));
  gfx::SetBkMode(&dc, gfx::TRANSPARENT);
  gfx::SetTextColor(&dc, triangle ? gfx::RGB(0, 0, 0) : gfx::RGB(255, 255, 255));
  const std::u16string mark = iconType == MB_ICONHAND       ? u"\u00D7"
                              : triangle                    ? u"!"
                              : iconType == MB_ICONQUESTION ? u"?"
                                                            : u"i";
  RECT r{0, triangle ? 6 : 0, kSize, kSize};
  gfx::DrawTextW(&dc, mark, &r, gfx::DT_CENTER | gfx::DT_VCENTER | gfx::DT_SINGLELINE);
  // The text drew opaque pixels only inside the sign; keep them so.
  for (int y = 0; y < kSize; ++y)
    for (int x = 0; x < kSize; ++x)
      if (mask->At(x, y) == 255) color->Set(x, y, 0);
  gfx::ICONINFO ii;
  ii.hbmColor = color;
  ii.hbmMask = mask;
  return gfx::CreateIconIndirect(ii);
}

struct BoxButton {
  int id;
  std::u16string text;
};

std::vector<int> ButtonIds(UINT type) {
  switch (type & MB_TYPEMASK) {
    case MB_OKCANCEL:
      return {IDOK, IDCANCEL};
    case MB_ABORTRETRYIGNORE:
      return {IDABORT, IDRETRY, IDIGNORE};
    case MB_YESNOCANCEL:
      return {IDYES, IDNO, IDCANCEL};
    case MB_YESNO:
      return {IDYES, IDNO};
    case MB_RETRYCANCEL:
      return {IDRETRY, IDCANCEL};
    default:
      return {IDOK};
  }
}

// Sizes of the box's layout, in pixels.
constexpr int kMargin = 12, kIcon = 32, kButtonW = 75, kButtonH = 23, kGap = 6, kMaxText = 400;

}  // namespace

std::u16string MessageBoxButtonText(int id) {
  switch (id) {
    case IDOK:
      return u"OK";
    case IDCANCEL:
      return u"Отмена";
    case IDABORT:
      return u"&Прервать";
    case IDRETRY:
      return u"&Повторить";
    case IDIGNORE:
      return u"&Пропустить";
    case IDYES:
      return u"&Да";
    case IDNO:
      return u"&Нет";
    default:
      return {};
  }
}

gfx::HICON MessageBoxIcon(UINT iconType) {
  iconType &= MB_ICONMASK;
  if (iconType != MB_ICONHAND && iconType != MB_ICONQUESTION && iconType != MB_ICONEXCLAMATION &&
      iconType != MB_ICONASTERISK)
    return nullptr;
  static std::map<UINT, gfx::HICON> icons;
  gfx::ICONINFO probe;
  gfx::HICON& icon = icons[iconType];
  if (!gfx::GetIconInfo(icon, &probe)) icon = MakeSign(iconType);
  return icon;
}

void RegisterStandardClasses() {
  const std::pair<const char16_t*, LRESULT (*)(HWND, UINT, WPARAM, LPARAM)> classes[] = {
      {WC_DIALOG, ControlProc<DialogProc>},
      {WC_STATIC, ControlProc<StaticProc>},
      {WC_BUTTON, ControlProc<ButtonProc>}};
  for (const auto& [name, proc] : classes) {
    WNDCLASSEXW wc;
    wc.lpfnWndProc = MakeWindowProc(proc);
    wc.lpszClassName = name;
    wc.hCursor = LoadCursorW(IDC_ARROW);
    wc.hbrBackground = GetSysColorBrush(COLOR_BTNFACE);
    RegisterClassExW(wc);  // 0 when registered already
  }
}

bool EndDialog(HWND dialog, int result) {
  if (GetClassNameW(dialog) != WC_DIALOG) return false;
  StateOf(dialog).result = result;
  return true;
}

int MessageBoxW(HWND owner, std::u16string_view text, std::u16string_view caption, UINT type) {
  RegisterStandardClasses();
  const std::vector<int> ids = ButtonIds(type);
  gfx::HICON icon = MessageBoxIcon(type);
  // The text's size in the message font, wrapped at kMaxText.
  RECT textRect{0, 0, kMaxText, 0};
  {
    gfx::Bitmap scratch(1, 1);
    gfx::DeviceContext dc(scratch);
    gfx::SelectFont(&dc, MessageFont());
    gfx::DrawTextW(&dc, text, &textRect,
                   gfx::DT_CALCRECT | gfx::DT_WORDBREAK | gfx::DT_EXPANDTABS | gfx::DT_NOPREFIX);
  }
  const int textLeft = icon ? kMargin + kIcon + kMargin : kMargin;
  const int textTop = kMargin + (icon ? std::max(0, (kIcon - textRect.Height()) / 2) : 0);
  const int rowWidth = int(ids.size()) * kButtonW + (int(ids.size()) - 1) * kGap;
  const int clientW = std::max(textLeft + textRect.Width() + kMargin, rowWidth + 2 * kMargin);
  const int buttonsTop =
      std::max(textTop + textRect.Height(), icon ? kMargin + kIcon : 0) + kMargin + 4;
  const int clientH = buttonsTop + kButtonH + kMargin;

  const DWORD style = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_SETFONT;
  const DWORD exStyle = WS_EX_DLGMODALFRAME;
  RECT frame{0, 0, clientW, clientH};
  AdjustWindowRectEx(&frame, style, false, exStyle);
  RECT around{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
  if (owner && IsWindowVisible(owner)) GetWindowRect(GetAncestor(owner, GA_ROOT), &around);
  // Centred, but kept on the work area.
  RECT work{};
  SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
  const int x = std::max(work.Left, std::min(around.Left + (around.Width() - frame.Width()) / 2,
                                             work.Right - frame.Width()));
  const int y = std::max(work.Top, std::min(around.Top + (around.Height() - frame.Height()) / 2,
                                            work.Bottom - frame.Height()));

  // Every other enabled top-level window waits for the answer.
  std::vector<HWND> disabled;
  EnumWindows(
      [&](HWND h, LPARAM) {
        if (IsWindowVisible(h) && IsWindowEnabled(h)) disabled.push_back(h);
        return true;
      },
      0);
  if (GetCapture()) ReleaseCapture();
  HWND box = CreateWindowExW(exStyle, WC_DIALOG, caption, style, x, y, frame.Width(),
                             frame.Height(), owner ? GetAncestor(owner, GA_ROOT) : nullptr, 0);
  if (!box) return 0;
  struct Cleanup {  // also when a procedure throws
    HWND box;
    std::vector<HWND>& disabled;
    ~Cleanup() {
      for (HWND h : disabled)
        if (IsWindow(h)) EnableWindow(h, true);
      if (IsWindow(box)) DestroyWindow(box);
    }
  } cleanup{box, disabled};
  for (HWND h : disabled) EnableWindow(h, false);

  ControlState& s = StateOf(box);
  const bool hasCancel = std::find(ids.begin(), ids.end(), IDCANCEL) != ids.end();
  s.escapeId = hasCancel ? IDCANCEL : ids.size() == 1 ? ids[0] : 0;
  const std::size_t defIndex = std::min<std::size_t>((type & MB_DEFMASK) >> 8, ids.size() - 1);
  s.defaultId = ids[defIndex];
  if (icon) {
    HWND i = CreateWindowExW(0, WC_STATIC, u"", WS_CHILD | WS_VISIBLE | SS_ICON, kMargin, kMargin,
                             kIcon, kIcon, box, UINT_PTR(-1));
    SendMessageW(i, STM_SETICON, WPARAM(icon), 0);
  }
  CreateWindowExW(0, WC_STATIC, text, WS_CHILD | WS_VISIBLE | WS_GROUP | SS_LEFT | SS_NOPREFIX,
                  textLeft, textTop, textRect.Width(), textRect.Height(), box, 0xFFFF);
  int bx = (clientW - rowWidth) / 2;
  for (std::size_t i = 0; i < ids.size(); ++i) {
    const DWORD bs = WS_CHILD | WS_VISIBLE | WS_TABSTOP | (i == 0 ? WS_GROUP : 0) |
                     (i == defIndex ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON);
    CreateWindowExW(0, WC_BUTTON, MessageBoxButtonText(ids[i]), bs, bx, buttonsTop, kButtonW,
                    kButtonH, box, UINT_PTR(ids[i]));
    bx += kButtonW + kGap;
  }
  ShowWindow(box, SW_SHOW);
  SetActiveWindow(box);

  MSG msg;
  while (IsWindow(box) && StateOf(box).result == 0) {
    if (!GetMessageW(&msg, nullptr, 0, 0)) {
      PostQuitMessage(int(msg.wParam));
      return s.escapeId ? s.escapeId : 0;
    }
    TranslateMessage(msg);
    DispatchMessageW(msg);
  }
  return IsWindow(box) ? StateOf(box).result : 0;
}

}  // namespace win
