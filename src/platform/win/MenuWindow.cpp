#include "platform/win/MenuWindow.h"

#include <algorithm>
#include <cstdlib>
#include <memory>
#include <tuple>

#include "platform/gfx/DeviceContext.h"
#include "platform/gfx/Font.h"
#include "platform/win/Input.h"
#include "platform/win/Keys.h"
#include "platform/win/MessageQueue.h"
#include "platform/win/Messages.h"
#include "platform/win/NonClient.h"
#include "platform/win/Paint.h"
#include "platform/win/Styles.h"
#include "platform/win/SystemInfo.h"
#include "platform/win/Timers.h"
#include "platform/win/WindowProc.h"
#include "platform/win/WindowSystem.h"

namespace win {

using namespace detail;

namespace {

constexpr UINT_PTR kShowTimer = 0xFFFE;  // opens or closes a submenu after the mouse rests
constexpr UINT kShowDelay = 400;         // milliseconds, the platform's menu show delay
constexpr int kFrame = 3;                // the pop-up window's border (WS_DLGFRAME)
constexpr int kCheckColumn = 20;         // room for a check mark on the left of the text
constexpr int kArrowColumn = 20;         // room for the submenu arrow on the right
constexpr int kShortcutGap = 16;         // between the text and the shortcut
constexpr int kBarItemPad = 7;           // on each side of a menu bar item's text
constexpr int kPicturePad = 2;           // around an item's picture in the check column

// One open level: a pop-up menu with its window, or the menu bar (no window of its own).
struct Level {
  HMENU menu = nullptr;
  HWND hwnd = nullptr;            // the "#32768" window; nullptr for the bar
  std::vector<RECT> rects;        // item rectangles: client coordinates, window ones for the bar
  int checkWidth = kCheckColumn;  // the check column, widened for the items' pictures
  int hot = -1;
  int hover = -1;       // the bar's item under the mouse outside the loop (ODS_HOTLIGHT)
  int parentItem = -1;  // the item of the level above that opened this one
  bool rtl = false;     // right to left: mirrored, submenus open to the left
};

struct Loop {
  HWND owner = nullptr;
  UINT flags = 0;
  bool systemMenu = false;
  bool bar = false;  // levels[0] is the owner's menu bar
  std::vector<Level> levels;
  HWND capture = nullptr;
  int mouseLevel = -1;  // where the mouse last rested
  bool done = false;
  bool chosen = false;
  UINT command = 0;
  DWORD openedAt = 0;  // when the loop began: a second press on the icon soon after closes
  gfx::HFONT font, bold;
};

Loop* running = nullptr;

bool Notify(const Loop& loop) {
  return !(loop.flags & TPM_NONOTIFY);
}

std::vector<MenuItem> ItemsOf(HMENU menu) {
  std::vector<MenuItem> out;
  for (int i = 0, n = GetMenuItemCount(menu); i < n; ++i)
    out.push_back(*GetMenuItem(menu, UINT(i), MF_BYPOSITION));
  return out;
}

// Access keys compare without case (Latin and Cyrillic letters).
char16_t Fold(char16_t c) {
  if ((c >= u'A' && c <= u'Z') || (c >= 0x0410 && c <= 0x042F)) return char16_t(c + 32);
  if (c == 0x0401) return 0x0451;  // Ё
  return c;
}

// The access key of an item's text (the letter after a single '&'), folded; 0 without one.
char16_t AccessKeyOf(std::u16string_view text) {
  for (std::size_t k = 0; k + 1 < text.size(); ++k) {
    if (text[k] != u'&') continue;
    if (text[k + 1] != u'&') return Fold(text[k + 1]);
    ++k;
  }
  return 0;
}

bool Selectable(const MenuItem& m) {
  return !(m.flags & MF_SEPARATOR) && !(m.flags & MFS_GRAYED);
}

gfx::LOGFONTW MenuFont() {
  NONCLIENTMETRICSW ncm;
  SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof(ncm), &ncm, 0);
  return ncm.lfMenuFont;
}

std::pair<gfx::HFONT, gfx::HFONT> MenuFonts() {
  gfx::LOGFONTW lf = MenuFont();
  gfx::HFONT normal = gfx::CreateFontIndirectW(lf);
  lf.lfWeight = gfx::FW_BOLD;
  return {normal, gfx::CreateFontIndirectW(lf)};
}

std::u16string_view Before(std::u16string_view text) {
  return text.substr(0, std::min(text.size(), text.find(u'\t')));
}
std::u16string_view After(std::u16string_view text) {
  auto tab = text.find(u'\t');
  return tab == std::u16string_view::npos ? std::u16string_view() : text.substr(tab + 1);
}

// Whether two items lay out alike on a bar: the same kind, text, command and data (what an
// owner-drawn item is measured by). States that only change the look do not count.
bool SameOnBar(const MenuItem& a, const MenuItem& b) {
  constexpr UINT look = MF_HILITE | MF_GRAYED | MF_DISABLED | MF_CHECKED;
  return (a.flags & ~look) == (b.flags & ~look) && a.id == b.id && a.data == b.data &&
         a.submenu == b.submenu && a.text == b.text;
}

bool SameFont(const gfx::LOGFONTW& a, const gfx::LOGFONTW& b) {
  return a.lfHeight == b.lfHeight && a.lfWeight == b.lfWeight && a.lfItalic == b.lfItalic &&
         a.lfUnderline == b.lfUnderline && a.lfStrikeOut == b.lfStrikeOut &&
         a.lfFaceName == b.lfFaceName;
}

// Whether a bar's kept layout still holds for menu at width.
bool SameBarLayout(const MenuBarCache& c, HMENU menu, int width) {
  if (c.menu != menu || c.width != width || c.itemHeight != GetSystemMetrics(SM_CYMENU) ||
      int(c.items.size()) != GetMenuItemCount(menu) || !SameFont(c.font, MenuFont()))
    return false;
  for (std::size_t i = 0; i < c.items.size(); ++i) {
    const MenuItem* it = GetMenuItem(menu, UINT(i), MF_BYPOSITION);
    if (!it || !SameOnBar(*it, c.items[i])) return false;
  }
  return true;
}

SIZE TextSize(HDC dc, gfx::HFONT font, std::u16string_view text) {
  gfx::SelectFont(dc, font);
  RECT r{0, 0, 0, 0};
  gfx::DrawTextW(dc, text, &r, gfx::DT_SINGLELINE | gfx::DT_CALCRECT);
  return {r.Width(), r.Height()};
}

// A memory DC for measuring text outside painting.
struct MeasureDC {
  gfx::Bitmap bitmap{1, 1};
  gfx::DeviceContext context{bitmap};
  HDC dc = &context;
};

// Measures every item (asking the owner for owner-drawn ones) and lays the items out in
// columns; returns the client size.
SIZE LayOut(Loop& loop, Level& level) {
  std::vector<MenuItem> items = ItemsOf(level.menu);
  MeasureDC m;
  std::vector<SIZE> sizes;
  std::vector<int> columnOf;
  int column = 0;
  // Pictures widen the check column of every item, so that the texts stay aligned.
  level.checkWidth = kCheckColumn;
  for (const MenuItem& it : items)
    if (it.bitmap && !(it.flags & MF_SEPARATOR))
      level.checkWidth = std::max(level.checkWidth, it.bitmap->Width() + 2 * kPicturePad);
  for (std::size_t i = 0; i < items.size(); ++i) {
    const MenuItem& it = items[i];
    if (i > 0 && (it.flags & (MF_MENUBREAK | MF_MENUBARBREAK))) ++column;
    columnOf.push_back(column);
    SIZE s{0, it.flags & MF_SEPARATOR ? MENU_SEPARATOR_HEIGHT : MenuItemHeight()};
    if (!(it.flags & MF_SEPARATOR)) {
      SIZE t = TextSize(m.dc, (it.flags & MF_DEFAULT) ? loop.bold : loop.font, Before(it.text));
      SIZE k = TextSize(m.dc, loop.font, After(it.text));
      s.cx = level.checkWidth + t.cx + (k.cx ? kShortcutGap + k.cx : 0) + kArrowColumn;
      if (it.bitmap) s.cy = std::max(s.cy, it.bitmap->Height() + 2 * kPicturePad);
    }
    if (it.flags & MF_OWNERDRAW) {
      MEASUREITEMSTRUCT mis;
      mis.CtlType = ODT_MENU;
      mis.itemID = (it.flags & MF_POPUP) ? 0xFFFFFFFF : it.id;
      mis.itemWidth = UINT(s.cx);
      mis.itemHeight = UINT(s.cy);
      mis.itemData = it.data;
      Deliver(loop.owner, WM_MEASUREITEM, 0, reinterpret_cast<LPARAM>(&mis));
      s = {int(mis.itemWidth), int(mis.itemHeight)};
    }
    sizes.push_back(s);
  }
  // Columns: each as wide as its widest item, MENU_COLUMN_GAP apart; items stack in them.
  std::vector<int> widths(std::size_t(column + 1), 0);
  for (std::size_t i = 0; i < items.size(); ++i)
    widths[std::size_t(columnOf[i])] = std::max(widths[std::size_t(columnOf[i])], sizes[i].cx);
  level.rects.assign(items.size(), RECT{});
  int x = 0, y = 0, height = 0, current = 0;
  for (std::size_t i = 0; i < items.size(); ++i) {
    if (columnOf[i] != current) {
      x += widths[std::size_t(current)] + MENU_COLUMN_GAP;
      current = columnOf[i];
      y = 0;
    }
    level.rects[i] = RectOfSize(x, y, widths[std::size_t(current)], sizes[i].cy);
    y += sizes[i].cy;
    height = std::max(height, y);
  }
  int width = x + (items.empty() ? 0 : widths[std::size_t(current)]);
  // Right to left, the first column is on the right.
  if (level.rtl)
    for (RECT& r : level.rects) r = RECT{width - r.Right, r.Top, width - r.Left, r.Bottom};
  return {width, height};
}

// Plain painting in the system colours.
void DrawCheck(HDC dc, const RECT& r, int checkWidth, bool radio, gfx::COLORREF color, bool rtl) {
  int cx = rtl ? r.Right - checkWidth / 2 : r.Left + checkWidth / 2, cy = (r.Top + r.Bottom) / 2;
  gfx::SetDCBrushColor(dc, color);
  gfx::SetDCPenColor(dc, color);
  if (radio) {
    POINT dot[8] = {{cx - 1, cy - 3}, {cx + 2, cy - 3}, {cx + 3, cy - 1}, {cx + 3, cy + 2},
                    {cx + 2, cy + 3}, {cx - 1, cy + 3}, {cx - 3, cy + 2}, {cx - 3, cy - 1}};
    gfx::Polygon(dc, dot, 8);
    return;
  }
  for (int k = 0; k < 3; ++k) {  // a tick three pixels thick
    POINT tick[3] = {{cx - 3, cy - 1 + k}, {cx - 1, cy + 1 + k}, {cx + 4, cy - 4 + k}};
    gfx::Polyline(dc, tick, 3);
  }
}

// The submenu arrow points the way the submenu opens: right, or left in a right-to-left menu.
void DrawArrow(HDC dc, const RECT& r, gfx::COLORREF color, bool rtl) {
  int x = rtl ? r.Left + kArrowColumn / 2 + 2 : r.Right - kArrowColumn / 2 - 2;
  int cy = (r.Top + r.Bottom) / 2, tip = rtl ? x - 4 : x + 4;
  gfx::SetDCBrushColor(dc, color);
  gfx::SetDCPenColor(dc, color);
  POINT tri[3] = {{x, cy - 4}, {tip, cy}, {x, cy + 4}};
  gfx::Polygon(dc, tri, 3);
}

// Blends a straight-alpha picture over what the DC holds at (x, y).
void BlendPicture(HDC dc, int x, int y, const gfx::Bitmap& pic) {
  gfx::Bitmap under(pic.Width(), pic.Height());
  gfx::DeviceContext at(under);
  gfx::BitBlt(&at, 0, 0, pic.Width(), pic.Height(), dc, x, y, gfx::SRCCOPY);
  for (int py = 0; py < pic.Height(); ++py)
    for (int px = 0; px < pic.Width(); ++px) {
      const gfx::Pixel s = pic.At(px, py), d = under.At(px, py);
      const int a = gfx::PixelA(s);
      auto mix = [a](int dv, int sv) {
        return std::uint8_t((sv * a + dv * (255 - a) + 127) / 255);
      };
      under.Set(
          px, py,
          gfx::MakePixel(mix(gfx::PixelB(d), gfx::PixelB(s)), mix(gfx::PixelG(d), gfx::PixelG(s)),
                         mix(gfx::PixelR(d), gfx::PixelR(s)), gfx::PixelA(d)));
    }
  gfx::BitBlt(dc, x, y, pic.Width(), pic.Height(), &at, 0, 0, gfx::SRCCOPY);
}

// An item's picture, centred in the check column; a checked one is framed instead of ticked.
void DrawPicture(HDC dc, const MenuItem& it, const RECT& r, int checkWidth, bool rtl) {
  const gfx::Bitmap& pic = *it.bitmap;
  int column = rtl ? r.Right - checkWidth : r.Left;
  int x = column + (checkWidth - pic.Width()) / 2, y = r.Top + (r.Height() - pic.Height()) / 2;
  BlendPicture(dc, x, y, pic);
  if (!(it.flags & MF_CHECKED)) return;
  RECT f{x - 1, y - 1, x + pic.Width() + 1, y + pic.Height() + 1};
  gfx::COLORREF c = GetSysColor(COLOR_BTNSHADOW);
  gfx::FillRect(dc, {f.Left, f.Top, f.Right, f.Top + 1}, c);
  gfx::FillRect(dc, {f.Left, f.Bottom - 1, f.Right, f.Bottom}, c);
  gfx::FillRect(dc, {f.Left, f.Top, f.Left + 1, f.Bottom}, c);
  gfx::FillRect(dc, {f.Right - 1, f.Top, f.Right, f.Bottom}, c);
}

void DrawPlainItem(const Loop& loop, const Level& level, HDC dc, const MenuItem& it, const RECT& r,
                   bool hot) {
  if (it.flags & MF_SEPARATOR) {
    gfx::FillRect(dc, r, GetSysColor(COLOR_MENU));
    int y = r.Top + r.Height() / 2 - 1;
    gfx::FillRect(dc, {r.Left + 1, y, r.Right - 1, y + 1}, GetSysColor(COLOR_BTNSHADOW));
    gfx::FillRect(dc, {r.Left + 1, y + 1, r.Right - 1, y + 2}, GetSysColor(COLOR_BTNHIGHLIGHT));
    return;
  }
  bool disabled = it.flags & MFS_GRAYED;
  gfx::FillRect(dc, r, GetSysColor(hot ? COLOR_HIGHLIGHT : COLOR_MENU));
  gfx::COLORREF text = GetSysColor(disabled ? COLOR_GRAYTEXT
                                   : hot    ? COLOR_HIGHLIGHTTEXT
                                            : COLOR_MENUTEXT);
  const bool rtl = level.rtl;
  if (it.bitmap)
    DrawPicture(dc, it, r, level.checkWidth, rtl);
  else if (it.flags & MF_CHECKED)
    DrawCheck(dc, r, level.checkWidth, it.flags & MFT_RADIOCHECK, text, rtl);
  if (it.flags & MF_POPUP) DrawArrow(dc, r, text, rtl);
  gfx::SetBkMode(dc, gfx::TRANSPARENT);
  // Right to left the text lies against the check column on the right, the shortcut on the left.
  RECT t = rtl ? RECT{r.Left + kArrowColumn, r.Top, r.Right - level.checkWidth, r.Bottom}
               : RECT{r.Left + level.checkWidth, r.Top, r.Right - kArrowColumn, r.Bottom};
  const unsigned reading = rtl ? gfx::DT_RTLREADING : 0;
  const unsigned captionAlign = rtl ? gfx::DT_RIGHT : gfx::DT_LEFT;
  const unsigned shortcutAlign = rtl ? gfx::DT_LEFT : gfx::DT_RIGHT;
  auto write = [&](int dx, gfx::COLORREF color) {
    gfx::SetTextColor(dc, color);
    RECT a = t.Offset(dx, dx);
    gfx::SelectFont(dc, (it.flags & MF_DEFAULT) ? loop.bold : loop.font);
    gfx::DrawTextW(dc, Before(it.text), &a,
                   gfx::DT_SINGLELINE | gfx::DT_VCENTER | captionAlign | reading);
    gfx::SelectFont(dc, loop.font);
    gfx::DrawTextW(dc, After(it.text), &a,
                   gfx::DT_SINGLELINE | gfx::DT_VCENTER | shortcutAlign | reading);
  };
  if (disabled && !hot) write(1, GetSysColor(COLOR_BTNHIGHLIGHT));  // the classic emboss
  write(0, text);
}

// Paints one item of a level: the owner draws an owner-drawn one.
void DrawItem(const Loop& loop, const Level& level, int index, HDC dc, UINT action) {
  const MenuItem* it = GetMenuItem(level.menu, UINT(index), MF_BYPOSITION);
  if (!it || index >= int(level.rects.size())) return;
  const RECT& r = level.rects[std::size_t(index)];
  bool hot = index == level.hot;
  if (!(it->flags & MF_OWNERDRAW)) {
    DrawPlainItem(loop, level, dc, *it, r, hot);
    return;
  }
  DRAWITEMSTRUCT dis;
  dis.CtlType = ODT_MENU;
  dis.itemID = (it->flags & MF_POPUP) ? 0xFFFFFFFF : it->id;
  dis.itemAction = action;
  dis.itemState = (hot ? ODS_SELECTED : 0) | ((it->flags & MF_GRAYED) ? ODS_GRAYED : 0) |
                  ((it->flags & MF_DISABLED) ? ODS_DISABLED : 0) |
                  ((it->flags & MF_CHECKED) ? ODS_CHECKED : 0) |
                  ((it->flags & MF_DEFAULT) ? ODS_DEFAULT : 0) |
                  (index == level.hover && !hot ? ODS_HOTLIGHT : 0);
  dis.hwndItem = reinterpret_cast<HWND>(level.menu);
  dis.hDC = dc;
  dis.rcItem = r;
  dis.itemData = it->data;
  int saved = gfx::SaveDC(dc);
  Deliver(loop.owner, WM_DRAWITEM, 0, reinterpret_cast<LPARAM>(&dis));
  gfx::RestoreDC(dc, saved);
}

void PaintLevel(const Loop& loop, const Level& level, HDC dc) {
  std::vector<MenuItem> items = ItemsOf(level.menu);
  for (std::size_t i = 0; i < items.size() && i < level.rects.size(); ++i) {
    DrawItem(loop, level, int(i), dc, ODA_DRAWENTIRE);
    // A bar break draws a line in the gap before a plain item's column.
    if (i > 0 && (items[i].flags & MF_MENUBARBREAK) && !(items[i].flags & MF_OWNERDRAW)) {
      RECT c;
      GetClientRect(level.hwnd, &c);
      int x = level.rtl ? level.rects[i].Right + MENU_COLUMN_GAP / 2 - 1
                        : level.rects[i].Left - MENU_COLUMN_GAP / 2 - 1;
      gfx::FillRect(dc, {x, c.Top, x + 1, c.Bottom}, GetSysColor(COLOR_BTNSHADOW));
      gfx::FillRect(dc, {x + 1, c.Top, x + 2, c.Bottom}, GetSysColor(COLOR_BTNHIGHLIGHT));
    }
  }
}

Level* LevelOfWindow(HWND hwnd) {
  if (!running) return nullptr;
  for (Level& l : running->levels)
    if (l.hwnd == hwnd) return &l;
  return nullptr;
}

LRESULT MenuWindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  switch (msg) {
    case MN_GETHMENU: {
      Level* l = LevelOfWindow(hwnd);
      return l ? reinterpret_cast<LRESULT>(l->menu) : 0;
    }
    case WM_PAINT: {
      PAINTSTRUCT ps;
      HDC dc = BeginPaint(hwnd, &ps);
      if (Level* l = LevelOfWindow(hwnd); l && dc) PaintLevel(*running, *l, dc);
      EndPaint(hwnd, &ps);
      return 0;
    }
    case WM_MOUSEACTIVATE:
      return MA_NOACTIVATE;
    default:
      return DefWindowProcW(hwnd, msg, wParam, lParam);
  }
}

void EnsureClass() {
  for (auto& c : S().classes)
    if (c->name == POPUPMENU_CLASS) return;
  WNDCLASSEXW wc;
  wc.style = CS_SAVEBITS;
  wc.lpfnWndProc = MakeWindowProc(MenuWindowProc);
  wc.hCursor = LoadCursorW(IDC_ARROW);
  wc.hbrBackground = GetSysColorBrush(COLOR_MENU);
  wc.lpszClassName = std::u16string(POPUPMENU_CLASS);
  RegisterClassExW(wc);
}

// The screen rectangle of a level's item.
RECT ItemOnScreen(const Loop& loop, const Level& level, int index) {
  RECT r = level.rects[std::size_t(index)];
  POINT origin{0, 0};
  if (level.hwnd) {
    ClientToScreen(level.hwnd, &origin);
  } else if (Window* w = FindReal(loop.owner)) {
    RECT wr = WindowRectOnScreen(*w);
    origin = {wr.Left, wr.Top};
  }
  return r.Offset(origin.X, origin.Y);
}

void Redraw(const Loop& loop, const Level& level, int index) {
  if (index < 0) return;
  if (!level.hwnd) {
    RedrawWindow(loop.owner, nullptr, nullptr, RDW_INVALIDATE | RDW_FRAME | RDW_NOCHILDREN);
    return;
  }
  if (!IsWindowVisible(level.hwnd)) return;
  HDC dc = GetDC(level.hwnd);
  if (!dc) return;
  DrawItem(loop, level, index, dc, ODA_SELECT);
  ReleaseDC(level.hwnd, dc);
}

void SetHilite(HMENU menu, int index, bool on) {
  if (index < 0) return;
  MENUITEMINFOW mii;
  mii.fMask = MIIM_STATE;
  if (!GetMenuItemInfoW(menu, UINT(index), true, &mii)) return;
  mii.fState = on ? (mii.fState | MFS_HILITE) : (mii.fState & ~MFS_HILITE);
  SetMenuItemInfoW(menu, UINT(index), true, mii);
}

void SetHot(Loop& loop, std::size_t li, int index, bool byMouse) {
  Level& level = loop.levels[li];
  if (level.hot == index) return;
  int old = level.hot;
  SetHilite(level.menu, old, false);
  level.hot = index;
  SetHilite(level.menu, index, true);
  Redraw(loop, loop.levels[li], old);
  Redraw(loop, loop.levels[li], index);
  if (!Notify(loop) || index < 0) return;
  const MenuItem* it = GetMenuItem(loop.levels[li].menu, UINT(index), MF_BYPOSITION);
  if (!it) return;
  // The right-order bit shares its value with MF_SYSMENU, which alone tells the system menu.
  UINT flags = (it->flags & 0xFFFF & ~MFT_RIGHTORDER) | MF_HILITE |
               (loop.systemMenu ? MF_SYSMENU : 0) | (byMouse ? MF_MOUSESELECT : 0);
  UINT what = (it->flags & MF_POPUP) ? UINT(index) : it->id;
  Deliver(loop.owner, WM_MENUSELECT, MAKEWPARAM(int(what), int(flags)),
          reinterpret_cast<LPARAM>(loop.levels[li].menu));
}

// Closes every level deeper than keep.
void CloseBelow(Loop& loop, std::size_t keep) {
  while (loop.levels.size() > keep + 1) {
    Level level = loop.levels.back();
    SetHilite(level.menu, level.hot, false);
    if (Notify(loop))
      Deliver(loop.owner, WM_UNINITMENUPOPUP, reinterpret_cast<WPARAM>(level.menu),
              loop.systemMenu ? LPARAM(MF_SYSMENU) << 16 : 0);
    loop.levels.pop_back();
    // The first pop-up holds the capture: it goes when the loop ends.
    if (level.hwnd && level.hwnd != loop.capture) DestroyWindow(level.hwnd);
  }
}

RECT Desktop() {
  RECT r;
  GetWindowRect(GetDesktopWindow(), &r);
  return r;
}

// Where the first pop-up goes: aligned to (x, y) by the flags, off the exclusion rectangle,
// flipped to the other side of the point where it would leave the desktop.
RECT PlaceFirst(SIZE size, UINT flags, POINT at, const TPMPARAMS* params) {
  // Right to left, left and right alignment swap: by default the menu hangs to the left.
  const bool rtl = flags & TPM_LAYOUTRTL;
  int x = (flags & TPM_CENTERALIGN)             ? at.X - size.cx / 2
          : bool(flags & TPM_RIGHTALIGN) != rtl ? at.X - size.cx
                                                : at.X;
  int y = (flags & TPM_BOTTOMALIGN)    ? at.Y - size.cy
          : (flags & TPM_VCENTERALIGN) ? at.Y - size.cy / 2
                                       : at.Y;
  RECT desk = Desktop();
  RECT r = RectOfSize(x, y, size.cx, size.cy);
  if (params && !IntersectRects(r, params->rcExclude).IsEmpty()) {
    const RECT& e = params->rcExclude;
    if (flags & TPM_VERTICAL)
      r = RectOfSize(x, e.Bottom + size.cy <= desk.Bottom ? e.Bottom : e.Top - size.cy, size.cx,
                     size.cy);
    else
      r = RectOfSize(e.Right + size.cx <= desk.Right ? e.Right : e.Left - size.cx, y, size.cx,
                     size.cy);
  } else {
    if (r.Right > desk.Right && x - size.cx >= desk.Left) r = r.Offset(-size.cx, 0);
    if (r.Left < desk.Left && at.X + size.cx <= desk.Right)
      r = RectOfSize(at.X, r.Top, size.cx, size.cy);
    if (r.Bottom > desk.Bottom && y - size.cy >= desk.Top) r = r.Offset(0, -size.cy);
  }
  int dx = r.Right > desk.Right ? desk.Right - r.Right : 0;
  int dy = r.Bottom > desk.Bottom ? desk.Bottom - r.Bottom : 0;
  r = r.Offset(dx, dy);
  return r.Offset(std::max(0, desk.Left - r.Left), std::max(0, desk.Top - r.Top));
}

// Opens the pop-up of menu as a new level; position: the parent item's, place: where it goes
// given its size. False when the menu is empty or gone.
bool OpenLevel(Loop& loop, HMENU menu, int position, bool rtl,
               const std::function<RECT(SIZE)>& place) {
  if (Notify(loop))
    Deliver(loop.owner, WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(menu),
            MAKELPARAM(position, loop.systemMenu ? 1 : 0));
  if (loop.done || GetMenuItemCount(menu) <= 0) return false;
  Level level;
  level.menu = menu;
  level.parentItem = position;
  level.rtl = rtl || IsMenuRightOrder(menu);
  SIZE client = LayOut(loop, level);
  RECT r = place({client.cx + 2 * kFrame, client.cy + 2 * kFrame});
  EnsureClass();
  // A right-to-left pop-up says so in its window's style, where anyone may read it.
  const DWORD exStyle = WS_EX_TOOLWINDOW | WS_EX_TOPMOST | WS_EX_NOACTIVATE |
                        (level.rtl ? WS_EX_RIGHT | WS_EX_RTLREADING : 0);
  HWND hwnd =
      CreateWindowExW(exStyle, POPUPMENU_CLASS, u"", WS_POPUP | WS_DLGFRAME | WS_CLIPSIBLINGS,
                      r.Left, r.Top, r.Width(), r.Height(), loop.owner, 0);
  if (!hwnd) return false;
  level.hwnd = hwnd;
  loop.levels.push_back(level);
  SetWindowPos(hwnd, HWND_TOPMOST, 0, 0, 0, 0,
               SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | SWP_SHOWWINDOW);
  UpdateWindow(hwnd);
  return true;
}

// Opens the submenu of the hot item of level li, when it has an enabled one.
bool OpenSubmenu(Loop& loop, std::size_t li, bool selectFirst);

int NextSelectable(HMENU menu, int from, int step) {
  std::vector<MenuItem> items = ItemsOf(menu);
  int n = int(items.size());
  if (n == 0) return -1;
  int i = from;
  for (int k = 0; k < n; ++k) {
    i = i < 0 ? (step > 0 ? 0 : n - 1) : (i + step + n) % n;
    if (Selectable(items[std::size_t(i)])) return i;
  }
  return -1;
}

bool OpenSubmenu(Loop& loop, std::size_t li, bool selectFirst) {
  CloseBelow(loop, li);
  Level& level = loop.levels[li];
  const MenuItem* it =
      level.hot >= 0 ? GetMenuItem(level.menu, UINT(level.hot), MF_BYPOSITION) : nullptr;
  if (!it || !(it->flags & MF_POPUP) || (it->flags & MFS_GRAYED) || !IsMenu(it->submenu))
    return false;
  // A window's system menu put on a bar (a maximised MDI child's) shows the window's present
  // states, as it does when opened from the window itself.
  if (HWND of = SystemMenuOwner(it->submenu)) RefreshSystemMenu(of);
  RECT item = ItemOnScreen(loop, level, level.hot);
  RECT parent;
  bool fromBar = !level.hwnd;
  if (!fromBar) GetWindowRect(level.hwnd, &parent);
  RECT desk = Desktop();
  auto place = [&](SIZE size) {
    RECT r;
    // Right to left a bar's pop-up hangs from the item's right edge and a submenu opens to
    // the left, each flipping to the other side only where the desktop ends.
    const bool rtl = level.rtl || IsMenuRightOrder(it->submenu);
    if (fromBar) {
      const int x = rtl ? item.Right - size.cx : item.Left;
      r = RectOfSize(x, item.Bottom, size.cx, size.cy);
      if (r.Bottom > desk.Bottom) r = RectOfSize(x, item.Top - size.cy, size.cx, size.cy);
    } else if (rtl) {
      r = RectOfSize(parent.Left + kFrame - size.cx, item.Top - kFrame, size.cx, size.cy);
      if (r.Left < desk.Left) r = r.Offset(parent.Right - kFrame - r.Left, 0);
    } else {
      r = RectOfSize(parent.Right - kFrame, item.Top - kFrame, size.cx, size.cy);
      if (r.Right > desk.Right) r = r.Offset(parent.Left + kFrame - size.cx - r.Left, 0);
    }
    if (r.Bottom > desk.Bottom) r = r.Offset(0, desk.Bottom - r.Bottom);
    if (r.Right > desk.Right) r = r.Offset(desk.Right - r.Right, 0);
    return r.Offset(std::max(0, desk.Left - r.Left), std::max(0, desk.Top - r.Top));
  };
  if (!OpenLevel(loop, it->submenu, level.hot, level.rtl, place)) return false;
  if (selectFirst) SetHot(loop, loop.levels.size() - 1, NextSelectable(it->submenu, -1, 1), false);
  return true;
}

void Choose(Loop& loop, std::size_t li, int index) {
  const MenuItem* it = GetMenuItem(loop.levels[li].menu, UINT(index), MF_BYPOSITION);
  if (!it || !Selectable(*it)) return;
  if (it->flags & MF_POPUP) {
    OpenSubmenu(loop, li, true);
    return;
  }
  loop.chosen = true;
  loop.command = it->id;
  loop.done = true;
}

// The level and item under a screen point (deepest level first); level -1 when on none.
std::pair<int, int> Hit(const Loop& loop, POINT pt) {
  for (int li = int(loop.levels.size()) - 1; li >= 0; --li) {
    const Level& l = loop.levels[std::size_t(li)];
    RECT area;
    if (l.hwnd) {
      GetWindowRect(l.hwnd, &area);
    } else {
      area = RECT{};
      for (std::size_t i = 0; i < l.rects.size(); ++i)
        area = UnionRects(area, ItemOnScreen(loop, l, int(i)));
    }
    if (!area.Contains(pt)) continue;
    for (std::size_t i = 0; i < l.rects.size(); ++i) {
      const MenuItem* it = GetMenuItem(l.menu, UINT(i), MF_BYPOSITION);
      if (it && !(it->flags & MF_SEPARATOR) && ItemOnScreen(loop, l, int(i)).Contains(pt))
        return {li, int(i)};
    }
    return {li, -1};
  }
  return {-1, -1};
}

void MouseMove(Loop& loop, POINT pt) {
  auto [li, index] = Hit(loop, pt);
  if (li < 0) {
    // Off the menus: the deepest level cools unless its hot item has its submenu open.
    std::size_t last = loop.levels.size() - 1;
    if (loop.levels[last].hwnd) SetHot(loop, last, -1, true);
    return;
  }
  std::size_t l = std::size_t(li);
  loop.mouseLevel = li;
  if (!loop.levels[l].hwnd) {
    // On the bar, another item takes over at once while a pop-up is open.
    if (index >= 0 && index != loop.levels[l].hot) {
      bool dropped = loop.levels.size() > 1;
      CloseBelow(loop, l);
      SetHot(loop, l, index, true);
      if (dropped) OpenSubmenu(loop, l, false);
    }
    return;
  }
  if (index == loop.levels[l].hot) return;
  SetHot(loop, l, index, true);
  // A submenu opens, or the open one closes, once the mouse rests.
  SetTimer(loop.capture, kShowTimer, kShowDelay, nullptr);
}

void ShowTimer(Loop& loop) {
  KillTimer(loop.capture, kShowTimer);
  if (loop.mouseLevel < 0 || std::size_t(loop.mouseLevel) >= loop.levels.size()) return;
  std::size_t l = std::size_t(loop.mouseLevel);
  const Level& level = loop.levels[l];
  if (l + 1 < loop.levels.size() && loop.levels[l + 1].parentItem == level.hot) return;
  CloseBelow(loop, l);
  OpenSubmenu(loop, l, false);
}

void ButtonDown(Loop& loop, POINT pt, UINT message) {
  auto [li, index] = Hit(loop, pt);
  if (li < 0) {
    loop.done = true;  // a click outside dismisses the menu
    // A double click on the window's icon: the first press opened the system menu, the
    // second closes the window.
    const bool left =
        message == WM_LBUTTONDOWN || message == WM_NCLBUTTONDOWN || message == WM_LBUTTONDBLCLK;
    if (left && loop.systemMenu && IsWindow(loop.owner) &&
        GetMessageTime() - loop.openedAt <= GetDoubleClickTime() &&
        SendMessageW(loop.owner, WM_NCHITTEST, 0, LParamFromPoint(pt)) == HTSYSMENU) {
      loop.chosen = true;
      loop.command = SC_CLOSE;
    }
    return;
  }
  std::size_t l = std::size_t(li);
  if (index < 0) return;
  if (!loop.levels[l].hwnd && loop.levels.size() > 1 && loop.levels[l].hot == index) {
    loop.done = true;  // a second press on the dropped bar item closes it
    return;
  }
  SetHot(loop, l, index, true);
  const MenuItem* it = GetMenuItem(loop.levels[l].menu, UINT(index), MF_BYPOSITION);
  if (it && (it->flags & MF_POPUP) &&
      !(l + 1 < loop.levels.size() && loop.levels[l + 1].parentItem == index))
    OpenSubmenu(loop, l, false);
}

void ButtonUp(Loop& loop, POINT pt) {
  auto [li, index] = Hit(loop, pt);
  if (li < 0 || index < 0) return;
  const Level& level = loop.levels[std::size_t(li)];
  const MenuItem* it = GetMenuItem(level.menu, UINT(index), MF_BYPOSITION);
  if (!it || (it->flags & MF_POPUP)) return;
  // A command item on the bar (a maximised MDI child's buttons) is chosen by the release over
  // the item the press made hot.
  if (!level.hwnd && level.hot != index) return;
  Choose(loop, std::size_t(li), index);
}

// The selectable item of the column to the right (step 1) or left (-1) of the hot item's in a
// pop-up, nearest in height to it; -1 when there is no such column.
int ColumnNeighbour(const Level& level, int step) {
  if (level.hot < 0 || std::size_t(level.hot) >= level.rects.size()) return -1;
  std::vector<MenuItem> items = ItemsOf(level.menu);
  const RECT& from = level.rects[std::size_t(level.hot)];
  // The left edge of the neighbouring column.
  int column = -1;
  for (const RECT& r : level.rects)
    if (step > 0 ? r.Left > from.Left && (column < 0 || r.Left < column)
                 : r.Left < from.Left && (column < 0 || r.Left > column))
      column = r.Left;
  int best = -1, distance = 0;
  for (std::size_t i = 0; i < items.size() && i < level.rects.size(); ++i) {
    if (level.rects[i].Left != column || !Selectable(items[i])) continue;
    int d = std::abs(level.rects[i].Top - from.Top);
    if (best < 0 || d < distance) {
      best = int(i);
      distance = d;
    }
  }
  return best;
}

// Moves along the bar to the next or previous item, dropping its pop-up when one was down.
void BarStep(Loop& loop, int step) {
  bool dropped = loop.levels.size() > 1;
  CloseBelow(loop, 0);
  SetHot(loop, 0, NextSelectable(loop.levels[0].menu, loop.levels[0].hot, step), false);
  if (dropped) OpenSubmenu(loop, 0, true);
}

void Key(Loop& loop, UINT vk) {
  std::size_t last = loop.levels.size() - 1;
  Level& level = loop.levels[last];
  bool onBar = !level.hwnd;
  switch (vk) {
    case VK_UP:
    case VK_DOWN:
      if (onBar) {
        OpenSubmenu(loop, last, true);
      } else {
        SetHot(loop, last, NextSelectable(level.menu, level.hot, vk == VK_DOWN ? 1 : -1), false);
      }
      break;
    case VK_HOME:
    case VK_END:
      if (!onBar) SetHot(loop, last, NextSelectable(level.menu, -1, vk == VK_HOME ? 1 : -1), false);
      break;
    case VK_RIGHT:
    case VK_LEFT: {
      // Forward is the way the menu reads: right, or left in a right-to-left menu, where the
      // two keys swap their parts. Columns are found by their place on the screen.
      const bool forward = (vk == VK_RIGHT) != level.rtl;
      const int ahead = level.rtl ? -1 : 1;
      if (onBar) {
        BarStep(loop, forward ? 1 : -1);
      } else if (forward) {
        if (OpenSubmenu(loop, last, true)) break;
        // Without a submenu: the next column, or the next bar item from the last column.
        if (int next = ColumnNeighbour(loop.levels[last], ahead); next >= 0)
          SetHot(loop, last, next, false);
        else if (loop.bar && last == 1)
          BarStep(loop, 1);
      } else if (int prev = ColumnNeighbour(level, -ahead); prev >= 0) {
        SetHot(loop, last, prev, false);
      } else if (last >= 2 || (last == 1 && !loop.bar)) {
        CloseBelow(loop, last - 1);
      } else if (loop.bar) {
        BarStep(loop, -1);
      }
      break;
    }
    case VK_ESCAPE:
      if (last == 0)
        loop.done = true;
      else
        CloseBelow(loop, last - 1);
      break;
    case VK_RETURN:
      if (level.hot >= 0) {
        if (onBar)
          OpenSubmenu(loop, last, true);
        else
          Choose(loop, last, level.hot);
      }
      break;
    case VK_MENU:
    case VK_F10:
      loop.done = true;
      break;
    default:
      break;
  }
}

void AccessKey(Loop& loop, char16_t ch) {
  std::size_t last = loop.levels.size() - 1;
  Level& level = loop.levels[last];
  std::vector<MenuItem> items = ItemsOf(level.menu);
  std::vector<int> matches;  // several items may share a key
  for (std::size_t i = 0; i < items.size(); ++i)
    if (!(items[i].flags & MF_SEPARATOR) && AccessKeyOf(items[i].text) == Fold(ch))
      matches.push_back(int(i));
  if (matches.empty()) return;
  if (matches.size() == 1) {
    SetHot(loop, last, matches[0], false);
    if (!level.hwnd)
      OpenSubmenu(loop, last, true);
    else
      Choose(loop, last, matches[0]);
    return;
  }
  auto next = std::upper_bound(matches.begin(), matches.end(), level.hot);
  SetHot(loop, last, next == matches.end() ? matches[0] : *next, false);
}

// Runs the loop until it is done or its capture goes.
void Run(Loop& loop) {
  ModalLoop(loop.capture, [&](const MSG& m, bool* done) {
    bool taken = true;
    POINT pt = S().cursorPos;
    switch (m.message) {
      case WM_MOUSEMOVE:
      case WM_NCMOUSEMOVE:
        MouseMove(loop, pt);
        break;
      case WM_LBUTTONDOWN:
      case WM_RBUTTONDOWN:
      case WM_MBUTTONDOWN:
      case WM_LBUTTONDBLCLK:
      case WM_RBUTTONDBLCLK:
      case WM_NCLBUTTONDOWN:
      case WM_NCRBUTTONDOWN:
        ButtonDown(loop, pt, m.message);
        break;
      case WM_LBUTTONUP:
      case WM_NCLBUTTONUP:
        ButtonUp(loop, pt);
        break;
      case WM_RBUTTONUP:
      case WM_NCRBUTTONUP:
        if (loop.flags & TPM_RIGHTBUTTON) ButtonUp(loop, pt);
        break;
      case WM_KEYDOWN:
      case WM_SYSKEYDOWN:
        Key(loop, UINT(m.wParam));
        if (!loop.done) TranslateMessage(m);
        break;
      case WM_CHAR:
      case WM_SYSCHAR:
        AccessKey(loop, char16_t(m.wParam));
        break;
      case WM_KEYUP:
      case WM_SYSKEYUP:
        break;
      case WM_TIMER:
        taken = m.hwnd == loop.capture && m.wParam == kShowTimer;
        if (taken) ShowTimer(loop);
        break;
      default:
        taken = (m.message >= WM_MOUSEFIRST && m.message <= WM_MOUSELAST) ||
                (m.message >= WM_NCMOUSEMOVE && m.message <= WM_NCMBUTTONDBLCLK);
        break;
    }
    if (loop.done || !IsWindow(loop.owner)) *done = true;
    return taken;
  });
}

// Ends a loop: closes every level, tells the owner and posts the command.
int Finish(Loop& loop, std::size_t keep) {
  KillTimer(loop.capture, kShowTimer);
  CloseBelow(loop, keep);
  if (!loop.bar) {
    // The first pop-up held the capture and goes last.
    Level first = loop.levels[0];
    SetHilite(first.menu, first.hot, false);
    if (Notify(loop) && IsWindow(loop.owner))
      Deliver(loop.owner, WM_UNINITMENUPOPUP, reinterpret_cast<WPARAM>(first.menu),
              loop.systemMenu ? LPARAM(MF_SYSMENU) << 16 : 0);
    if (IsWindow(first.hwnd)) DestroyWindow(first.hwnd);
  } else {
    SetHilite(loop.levels[0].menu, loop.levels[0].hot, false);
    if (IsWindow(loop.owner)) DrawMenuBar(loop.owner);
  }
  if (Notify(loop) && IsWindow(loop.owner)) {
    Deliver(loop.owner, WM_MENUSELECT, MAKEWPARAM(0, 0xFFFF), 0);
    Deliver(loop.owner, WM_EXITMENULOOP, loop.bar ? 0 : 1, 0);
  }
  if (!loop.chosen) return 0;
  if ((loop.flags & TPM_RETURNCMD)) return int(loop.command);
  if (Notify(loop) && IsWindow(loop.owner)) {
    if (loop.systemMenu)
      PostMessageW(loop.owner, WM_SYSCOMMAND, loop.command, LParamFromPoint(S().cursorPos));
    else
      PostMessageW(loop.owner, WM_COMMAND, MAKEWPARAM(int(loop.command), 0), 0);
  }
  return 1;
}

// Marks the loop that runs; when a handler throws, its menu windows go with it.
struct Running {
  explicit Running(Loop* loop) : loop(loop) { running = loop; }
  ~Running() {
    running = nullptr;
    for (const Level& l : loop->levels) {
      SetHilite(l.menu, l.hot, false);
      if (l.hwnd && IsWindow(l.hwnd)) DestroyWindow(l.hwnd);
    }
  }
  Loop* loop;
};

void Start(Loop& loop, HMENU first) {
  loop.openedAt = GetTickCount();
  auto [normal, bold] = MenuFonts();
  loop.font = normal;
  loop.bold = bold;
  if (!Notify(loop)) return;
  Deliver(loop.owner, WM_ENTERMENULOOP, loop.bar ? 0 : 1, 0);
  Deliver(loop.owner, WM_INITMENU, reinterpret_cast<WPARAM>(first), 0);
}

}  // namespace

int MenuItemHeight() {
  return std::max(GetSystemMetrics(SM_CYMENUSIZE), 19);
}

int TrackPopupMenuEx(HMENU menu, UINT flags, int x, int y, HWND owner, const TPMPARAMS* params) {
  if (running || !IsMenu(menu) || !FindReal(owner)) return 0;
  Loop loop;
  loop.owner = owner;
  loop.flags = flags;
  Window* root = FindReal(RootOf(owner));
  loop.systemMenu = root && root->systemMenu == menu;
  Running mark(&loop);
  Start(loop, menu);
  bool shown = OpenLevel(loop, menu, 0, flags & TPM_LAYOUTRTL, [&](SIZE size) {
    return PlaceFirst(size, flags, {x, y}, params);
  });
  if (!shown) {
    loop.chosen = false;
    if (Notify(loop) && IsWindow(owner)) {
      Deliver(owner, WM_MENUSELECT, MAKEWPARAM(0, 0xFFFF), 0);
      Deliver(owner, WM_EXITMENULOOP, 1, 0);
    }
    return 0;
  }
  loop.capture = loop.levels[0].hwnd;
  loop.mouseLevel = 0;
  Run(loop);
  return Finish(loop, 0);
}

int TrackPopupMenu(HMENU menu, UINT flags, int x, int y, int /*reserved*/, HWND owner,
                   const RECT* /*ignored*/) {
  return TrackPopupMenuEx(menu, flags, x, y, owner, nullptr);
}

bool EndMenu() {
  if (!running) return false;
  running->done = true;
  // Wakes the loop, which then sees it is done.
  PostMessageW(running->capture, WM_NULL, 0, 0);
  return true;
}

bool GetMenuItemRect(HWND hwnd, HMENU menu, UINT position, RECT* r) {
  if (!r) return false;
  if (running)
    for (const Level& l : running->levels)
      if (l.menu == menu && position < l.rects.size()) {
        *r = ItemOnScreen(*running, l, int(position));
        return true;
      }
  // A menu bar is shown whether or not its loop runs.
  Window* w = FindReal(hwnd);
  if (!w || !menu || menu != GetMenu(hwnd)) return false;
  FrameLayout f = GetFrameLayout(hwnd);
  std::vector<RECT> bar = MenuBarLayout(hwnd, f.menuBar.Left, f.menuBar.Top, f.menuBar.Width());
  if (position >= bar.size() || !(w = FindReal(hwnd))) return false;
  RECT wr = WindowRectOnScreen(*w);
  *r = bar[position].Offset(wr.Left, wr.Top);
  return true;
}

int MenuItemFromPoint(HWND /*hwnd*/, HMENU menu, POINT screen) {
  if (!running) return -1;
  auto [li, index] = Hit(*running, screen);
  return li >= 0 && running->levels[std::size_t(li)].menu == menu ? index : -1;
}

namespace detail {

static std::vector<RECT> LayOutBar(HWND hwnd, int left, int top, int width) {
  HMENU menu = GetMenu(hwnd);
  std::vector<RECT> out;
  if (!menu) return out;
  auto [font, bold] = MenuFonts();
  MeasureDC m;
  int height = GetSystemMetrics(SM_CYMENU), x = left, y = top;
  std::vector<MenuItem> items = ItemsOf(menu);
  for (const MenuItem& it : items) {
    int w =
        TextSize(m.dc, (it.flags & MF_DEFAULT) ? bold : font, Before(it.text)).cx + 2 * kBarItemPad;
    if (it.flags & MF_OWNERDRAW) {
      MEASUREITEMSTRUCT mis;
      mis.CtlType = ODT_MENU;
      mis.itemID = (it.flags & MF_POPUP) ? 0xFFFFFFFF : it.id;
      mis.itemWidth = UINT(w);
      mis.itemHeight = UINT(height);
      mis.itemData = it.data;
      Deliver(hwnd, WM_MEASUREITEM, 0, reinterpret_cast<LPARAM>(&mis));
      w = std::max(0, int(mis.itemWidth));
    }
    // An item that does not fit after another wraps; one wider than the bar is cut.
    if (x > left && x + w > left + width) {
      x = left;
      y += height;
    }
    out.push_back(RECT{x, y, std::min(x + w, left + width), y + height});
    x += w;
  }
  // Right to left the bar is the mirror image; its items start at the right edge, where a
  // right-justified item would put them anyway.
  if (IsMenuRightOrder(menu)) {
    for (RECT& r : out)
      r = RECT{2 * left + width - r.Right, r.Top, 2 * left + width - r.Left, r.Bottom};
    return out;
  }
  // A right-justified item and those after it on its row end at the bar's right edge.
  for (std::size_t i = 0; i < items.size() && i < out.size(); ++i) {
    if (!(items[i].flags & MF_RIGHTJUSTIFY)) continue;
    std::size_t end = i;
    while (end + 1 < out.size() && out[end + 1].Top == out[i].Top) ++end;
    int shift = left + width - out[end].Right;
    if (shift > 0)
      for (std::size_t j = i; j <= end; ++j) out[j] = out[j].Offset(shift, 0);
    break;
  }
  return out;
}

std::vector<RECT> MenuBarLayout(HWND hwnd, int left, int top, int width) {
  HMENU menu = GetMenu(hwnd);
  if (!menu) return {};
  // What the layout is made from, taken before the owner measures (and may change) the items:
  // an owner that changed the menu meanwhile finds it laid out again next time.
  const gfx::LOGFONTW font = MenuFont();
  const int height = GetSystemMetrics(SM_CYMENU);
  std::vector<MenuItem> items = ItemsOf(menu);
  std::vector<RECT> out = LayOutBar(hwnd, left, top, width);
  if (Window* w = FindReal(hwnd); w && w->menu == menu) {
    MenuBarCache& c = w->menuBarCache;
    c.menu = menu;
    c.width = width;
    c.itemHeight = height;
    c.font = font;
    c.items = std::move(items);
    c.rects.clear();
    for (const RECT& r : out) c.rects.push_back(r.Offset(-left, -top));
  }
  return out;
}

std::vector<RECT> CachedMenuBarLayout(HWND hwnd, int left, int top, int width) {
  Window* w = FindReal(hwnd);
  HMENU menu = GetMenu(hwnd);
  if (!w || !menu) return {};
  const MenuBarCache& c = w->menuBarCache;
  if (!SameBarLayout(c, menu, width)) return MenuBarLayout(hwnd, left, top, width);
  std::vector<RECT> out;
  out.reserve(c.rects.size());
  for (const RECT& r : c.rects) out.push_back(r.Offset(left, top));
  return out;
}

int MenuBarRows(HWND hwnd, int width) {
  std::vector<RECT> rects = MenuBarLayout(hwnd, 0, 0, width);
  if (rects.empty()) return 1;
  return rects.back().Bottom / std::max(1, GetSystemMetrics(SM_CYMENU));
}

int MenuBarHot(HWND hwnd) {
  Window* w = FindReal(hwnd);
  return w && HasMenuBar(*w) && w->menuHot < GetMenuItemCount(w->menu) ? w->menuHot : -1;
}

void SetMenuBarHot(HWND hwnd, int index) {
  Window* w = FindReal(hwnd);
  if (!w || w->menuHot == index) return;
  w->menuHot = index;
  DrawMenuBar(hwnd);
}

int MenuBarItemAt(HWND hwnd, POINT p) {
  if (!GetMenu(hwnd)) return -1;
  FrameLayout f = GetFrameLayout(hwnd);
  // Asked at every mouse move over the bar: the last layout serves while nothing moved.
  std::vector<RECT> rects =
      CachedMenuBarLayout(hwnd, f.menuBar.Left, f.menuBar.Top, f.menuBar.Width());
  for (std::size_t i = 0; i < rects.size(); ++i)
    if (rects[i].Contains(p)) return int(i);
  return -1;
}

void TrackMenuBar(HWND hwnd, int hot, bool drop, bool byMouse) {
  HMENU menu = GetMenu(hwnd);
  if (running || !menu || GetMenuItemCount(menu) <= 0) return;
  // The loop's own hot item takes over from the mouse's.
  if (Window* w = FindReal(hwnd)) w->menuHot = -1;
  Loop loop;
  loop.owner = hwnd;
  loop.bar = true;
  loop.capture = hwnd;
  Running mark(&loop);
  Start(loop, menu);
  FrameLayout f = GetFrameLayout(hwnd);
  Level bar;
  bar.menu = menu;
  bar.rects = MenuBarLayout(hwnd, f.menuBar.Left, f.menuBar.Top, f.menuBar.Width());
  bar.rtl = IsMenuRightOrder(menu);
  loop.levels.push_back(bar);
  loop.mouseLevel = 0;
  SetHot(loop, 0, hot >= 0 ? hot : NextSelectable(menu, -1, 1), byMouse);
  if (drop) OpenSubmenu(loop, 0, !byMouse);
  if (!loop.done) Run(loop);
  Finish(loop, 0);
}

void ShowSystemMenu(HWND hwnd, POINT at) {
  HMENU menu = GetSystemMenu(hwnd, false);
  if (!menu) return;
  RefreshSystemMenu(hwnd);
  TrackPopupMenuEx(menu, TPM_RIGHTBUTTON, at.X, at.Y, hwnd, nullptr);
}

int MenuAccessKey(HMENU menu, char16_t ch) {
  for (int i = 0, n = GetMenuItemCount(menu); i < n; ++i) {
    const MenuItem* it = GetMenuItem(menu, UINT(i), MF_BYPOSITION);
    if (it && !(it->flags & MF_SEPARATOR) && AccessKeyOf(it->text) == Fold(ch)) return i;
  }
  return -1;
}

}  // namespace detail

void DrawMenuBarItems(HWND hwnd, HDC dc, const RECT& bar, bool ground) {
  HMENU menu = GetMenu(hwnd);
  if (!menu) return;
  if (ground) gfx::FillRect(dc, bar, GetSysColor(COLOR_MENU));
  std::vector<RECT> rects = detail::MenuBarLayout(hwnd, bar.Left, bar.Top, bar.Width());
  Loop paint;  // the fonts and the owner, as a loop would draw them
  std::tie(paint.font, paint.bold) = MenuFonts();
  paint.owner = hwnd;
  Level level;
  level.menu = menu;
  level.rects = rects;
  level.hover = running ? -1 : detail::MenuBarHot(hwnd);
  std::vector<MenuItem> items = ItemsOf(menu);
  for (std::size_t i = 0; i < items.size() && i < rects.size(); ++i)
    if (items[i].flags & MF_HILITE) level.hot = int(i);
  for (std::size_t i = 0; i < items.size() && i < rects.size(); ++i) {
    const MenuItem& it = items[i];
    if (it.flags & MF_OWNERDRAW) {
      DrawItem(paint, level, int(i), dc, ODA_DRAWENTIRE);
      continue;
    }
    bool hot = it.flags & MF_HILITE;
    bool grayed = it.flags & MFS_GRAYED;
    gfx::FillRect(dc, rects[i], GetSysColor(hot ? COLOR_HIGHLIGHT : COLOR_MENU));
    if (!hot && int(i) == level.hover && !grayed) {
      // Under the mouse: a raised edge around the item, its ground unchanged.
      const RECT& r = rects[i];
      gfx::COLORREF light = GetSysColor(COLOR_BTNHIGHLIGHT), dark = GetSysColor(COLOR_BTNSHADOW);
      gfx::FillRect(dc, {r.Left, r.Top, r.Right, r.Top + 1}, light);
      gfx::FillRect(dc, {r.Left, r.Top, r.Left + 1, r.Bottom}, light);
      gfx::FillRect(dc, {r.Left, r.Bottom - 1, r.Right, r.Bottom}, dark);
      gfx::FillRect(dc, {r.Right - 1, r.Top, r.Right, r.Bottom}, dark);
    }
    gfx::SetBkMode(dc, gfx::TRANSPARENT);
    gfx::SetTextColor(dc, GetSysColor(grayed ? COLOR_GRAYTEXT
                                      : hot  ? COLOR_HIGHLIGHTTEXT
                                             : COLOR_MENUTEXT));
    gfx::SelectFont(dc, (it.flags & MF_DEFAULT) ? paint.bold : paint.font);
    RECT t = rects[i];
    gfx::DrawTextW(dc, Before(it.text), &t,
                   gfx::DT_SINGLELINE | gfx::DT_VCENTER | gfx::DT_CENTER |
                       (IsMenuRightOrder(menu) ? gfx::DT_RTLREADING : 0));
  }
}

}  // namespace win
