#include "skin/controls/sSkinMenus.h"

#include <algorithm>

#include "framework/Application.h"
#include "framework/Form.h"
#include "framework/TextConv.h"
#include "platform/gfx/DeviceContext.h"
#include "platform/win/Menu.h"
#include "platform/win/MenuWindow.h"
#include "platform/win/MessageQueue.h"
#include "platform/win/Paint.h"
#include "platform/win/Styles.h"
#include "platform/win/SystemMetrics.h"
#include "platform/win/WindowProc.h"
#include "skin/controls/sGlyphUtils.h"
#include "skin/core/sCommonData.h"
#include "skin/core/sConst.h"
#include "skin/core/sMessages.h"
#include "skin/data/sSkinOptions.h"
#include "skin/draw/sAlphaGraph.h"
#include "skin/draw/sGraphUtils.h"
#include "skin/draw/sSkinText.h"
#include "skin/frame/sSkinProvider.h"
#include "skin/paint/sAlphaGraph.h"
#include "skin/paint/sGraphUtils.h"

namespace skin::controls {

namespace sc = skin::core;
namespace sd = skin::data;
namespace draw = skin::draw;
using gfx::TPoint;
using gfx::TRect;
using namespace win;

namespace {

constexpr skin::paint::TColor kKeyColor = 0xFF00FF;
constexpr int kCornerScan = 16;  // how far into the picture's corners transparent pixels are cut

// The platform's handler types, so that this painter's handlers are told from others: the
// pop-up items' and the menu line's, each holding the painter weakly.
template <void (TsSkinableMenus::*Measure)(fw::TMenuItem*, fw::TCanvas&, int&, int&)>
struct MeasureHookOf {
  std::weak_ptr<TsSkinableMenus*> Painter;
  void operator()(fw::TMenuItem* item, fw::TCanvas& canvas, int& width, int& height) const {
    if (auto p = Painter.lock()) ((*p)->*Measure)(item, canvas, width, height);
  }
};
template <void (TsSkinableMenus::*Draw)(fw::TMenuItem*, fw::TCanvas&, const TRect&,
                                        fw::TOwnerDrawState)>
struct DrawHookOf {
  std::weak_ptr<TsSkinableMenus*> Painter;
  void operator()(fw::TMenuItem* item, fw::TCanvas& canvas, const TRect& rect,
                  fw::TOwnerDrawState state) const {
    if (auto p = Painter.lock()) ((*p)->*Draw)(item, canvas, rect, state);
  }
};
using MeasureHook = MeasureHookOf<&TsSkinableMenus::sMeasureItem>;
using DrawHook = DrawHookOf<&TsSkinableMenus::sAdvancedDrawItem>;
using LineMeasureHook = MeasureHookOf<&TsSkinableMenus::sMeasureLineItem>;
using LineDrawHook = DrawHookOf<&TsSkinableMenus::sAdvancedDrawLineItem>;

bool OwnDraw(const fw::TMenuItem& item) {
  return item.OnAdvancedDrawItem.target<DrawHook>() ||
         item.OnAdvancedDrawItem.target<LineDrawHook>();
}
bool OwnMeasure(const fw::TMenuItem& item) {
  return item.OnMeasureItem.target<MeasureHook>() || item.OnMeasureItem.target<LineMeasureHook>();
}

// Whether the painter measured a menu since the last pop-up window went: only then are the
// pop-up windows the painter's.
bool Measuring = false;

std::u16string WithoutAmpersands(std::u16string_view s) {
  std::u16string out;
  for (std::size_t i = 0; i < s.size(); ++i) {
    if (s[i] == u'&' && i + 1 < s.size())
      ++i;
    else if (s[i] == u'&')
      continue;
    out += s[i];
  }
  return out;
}

// The caption and the text after the tab (the shortcut) of an item.
std::pair<std::u16string, std::u16string> CaptionParts(const fw::TMenuItem& item) {
  std::u16string caption = item.Caption();
  std::u16string shortcut = fw::ShortCutToText(item.ShortCut());
  if (const auto tab = caption.find(u'\t'); tab != std::u16string::npos) {
    if (shortcut.empty()) shortcut = caption.substr(tab + 1);
    caption.resize(tab);
  }
  return {caption, shortcut};
}

TRect ClientRectOf(HWND h) {
  RECT r{};
  GetClientRect(h, &r);
  return r;
}

TRect WindowRectOf(HWND h) {
  RECT r{};
  GetWindowRect(h, &r);
  return r;
}

// Draws a 32-bit picture with its alpha over bmp at p.
void BlendOver(gfx::Bitmap& bmp, const gfx::Bitmap& pic, TPoint p) {
  for (int y = 0; y < pic.Height(); ++y) {
    const int ty = p.Y + y;
    if (ty < 0 || ty >= bmp.Height()) continue;
    for (int x = 0; x < pic.Width(); ++x) {
      const int tx = p.X + x;
      if (tx < 0 || tx >= bmp.Width()) continue;
      const std::uint32_t s = pic.At(x, y), d = bmp.At(tx, ty);
      const std::uint32_t a = s >> 24;
      if (!a) continue;
      std::uint32_t out = 0xFF000000;
      for (int shift = 0; shift < 24; shift += 8) {
        const std::uint32_t sc = (s >> shift) & 0xFF, dc = (d >> shift) & 0xFF;
        out |= ((sc * a + dc * (255 - a)) / 255) << shift;
      }
      bmp.Set(tx, ty, out);
    }
  }
}

// Turns a picture over left to right.
void Mirror(gfx::Bitmap& bmp) {
  for (int y = 0; y < bmp.Height(); ++y)
    for (int x = 0, r = bmp.Width() - 1; x < r; ++x, --r) {
      const std::uint32_t left = bmp.At(x, y);
      bmp.Set(x, y, bmp.At(r, y));
      bmp.Set(r, y, left);
    }
}

// The symbol of a system command's item (the system menu's items carry the command in Tag);
// -1 for any other item.
int SystemCommandGlyph(const fw::TMenuItem& item) {
  const fw::TMenu* menu = item.GetParentMenu();
  if (!menu || !menu->Name().starts_with("acSysMenu")) return -1;
  switch (WPARAM(item.Tag)) {
    case SC_MOVE:
      return cgMove;
    case SC_MINIMIZE:
      return cgMinimize;
    case SC_MAXIMIZE:
      return cgMaximize;
    case SC_CLOSE:
      return cgClose;
    case SC_RESTORE:
      return cgRestore;
    default:
      return -1;
  }
}

// Whether the next item shown after item in its menu is a divider.
bool DividerBelow(const fw::TMenuItem& item) {
  const fw::TMenuItem* parent = item.Parent();
  if (!parent) return false;
  for (int i = item.MenuIndex() + 1; i < parent->Count(); ++i)
    if (parent->Items(i)->Visible()) return parent->Items(i)->IsLine();
  return false;
}

}  // namespace

TsSkinableMenus::TsSkinableMenus(sc::TsSkinManager& owner)
    : FOwner(owner), FSelf(std::make_shared<TsSkinableMenus*>(this)) {}

TsSkinableMenus::~TsSkinableMenus() = default;

const sd::TacSkinModel* TsSkinableMenus::Model() const {
  return FOwner.Active() ? FOwner.SkinModel() : nullptr;
}

TsMenuItemType TsSkinableMenus::ItemType(const fw::TMenuItem& item) {
  const std::u16string& c = item.Caption();
  if (c == u"-") return smDivider;
  if (c.size() > 2 && c.front() == u'-' && c.back() == u'-') return smCaption;
  return smNormal;
}

bool TsSkinableMenus::IsRTL(const fw::TMenuItem& item) {
  const fw::TMenu* menu = item.GetParentMenu();
  return menu && menu->IsRightToLeft();
}

bool TsSkinableMenus::IsHooked(const fw::TMenuItem& item) {
  return OwnDraw(item);
}

bool TsSkinableMenus::SetHandlers(fw::TMenuItem& item, bool active, bool line) {
  bool changed = false;
  // Handlers of this painter of the other kind (an item moved between a line and a pop-up)
  // go as well.
  const bool wrongDraw = line ? bool(item.OnAdvancedDrawItem.target<DrawHook>())
                              : bool(item.OnAdvancedDrawItem.target<LineDrawHook>());
  const bool wrongMeasure = line ? bool(item.OnMeasureItem.target<MeasureHook>())
                                 : bool(item.OnMeasureItem.target<LineMeasureHook>());
  if ((!active || wrongDraw) && OwnDraw(item)) {
    item.OnAdvancedDrawItem = nullptr;
    changed = true;
  }
  if ((!active || wrongMeasure) && OwnMeasure(item)) {
    item.OnMeasureItem = nullptr;
    changed = true;
  }
  if (!active) return changed;
  // A line item drawn by its own OnDrawItem still gets the line's ground under it.
  if (!item.OnAdvancedDrawItem && (line || !item.OnDrawItem)) {
    if (line)
      item.OnAdvancedDrawItem = LineDrawHook{FSelf};
    else
      item.OnAdvancedDrawItem = DrawHook{FSelf};
    changed = true;
  }
  if (!item.OnMeasureItem) {
    if (line)
      item.OnMeasureItem = LineMeasureHook{FSelf};
    else
      item.OnMeasureItem = MeasureHook{FSelf};
    changed = true;
  }
  return changed;
}

bool TsSkinableMenus::HookItem(fw::TMenuItem& item, bool active) {
  bool changed = false;
  for (int i = 0; i < item.Count(); ++i) {
    fw::TMenuItem& sub = *item.Items(i);
    changed = SetHandlers(sub, active, false) || changed;
    changed = HookItem(sub, active) || changed;
  }
  return changed;
}

void TsSkinableMenus::HookPopupMenu(fw::TPopupMenu& menu, bool active) {
  active = active && FOwner.SkinnedPopups();
  HookItem(*menu.Items(), active);
  menu.SetOwnerDraw(active);  // the window-system menu is made again with the handlers
}

void TsSkinableMenus::InitMenuLine(fw::TMainMenu& menu, bool active) {
  if (menu.HasState(fw::csDestroying)) return;
  const bool on = active && FOwner.Active() && FOwner.SkinnedPopups();
  bool changed = false;
  fw::TMenuItem& root = *menu.Items();
  for (int i = 0; i < root.Count(); ++i) {
    changed = SetHandlers(*root.Items(i), on, true) || changed;
    changed = HookItem(*root.Items(i), on) || changed;
  }
  const bool ownerDraw = on && root.Count() > 0;
  if (changed || menu.OwnerDraw() != ownerDraw) menu.SetOwnerDraw(ownerDraw);
}

void TsSkinableMenus::InitItems(bool active) {
  if (!fw::Application) return;
  std::vector<fw::TComponent*> stack{fw::Application};
  while (!stack.empty()) {
    fw::TComponent* c = stack.back();
    stack.pop_back();
    if (auto* main = dynamic_cast<fw::TMainMenu*>(c))
      InitMenuLine(*main, active);
    else if (auto* popup = dynamic_cast<fw::TPopupMenu*>(c))
      HookPopupMenu(*popup, active);
    else if (auto* item = dynamic_cast<fw::TMenuItem*>(c); item && !item->GetParentMenu())
      HookItem(*item, active && FOwner.SkinnedPopups());
    for (int i = 0; i < c->ComponentCount(); ++i) stack.push_back(c->Components(i));
  }
}

int TsSkinableMenus::GlyphSize() const {
  return FOwner.ScaleInt(sc::kDefIcoLineWidth);
}

gfx::TSize TsSkinableMenus::GlyphSize(const fw::TMenuItem& item) const {
  if (const gfx::Bitmap* own = item.Bitmap()) return {own->Width(), own->Height()};
  const fw::TMenu* menu = item.GetParentMenu();
  if (const fw::TImageList* images = menu ? menu->Images() : nullptr)
    return {images->Width(), images->Height()};
  return {GlyphSize(), GlyphSize()};
}

bool TsSkinableMenus::Breaked(const fw::TMenuItem& item) {
  const fw::TMenuItem* parent = item.Parent();
  if (!parent) return false;
  bool first = true;  // the first shown item starts the first column whatever it says
  for (int i = 0; i < parent->Count(); ++i) {
    const fw::TMenuItem* sibling = parent->Items(i);
    if (!sibling->Visible() && sibling != &item) continue;
    if (!first && sibling->Break() != fw::TMenuBreak::mbNone) return true;
    first = false;
    if (sibling == &item) return false;
  }
  return false;
}

int TsSkinableMenus::ExtraWidth(const TacMenuLayout& layout) const {
  return FOwner.MenuSupport().UseExtraLine && layout.HaveExtraLine
             ? FOwner.ScaleInt(FOwner.MenuSupport().ExtraLineWidth)
             : 0;
}

bool TsSkinableMenus::SetItemFont(fw::TCanvas& canvas, fw::TMenuItem& item, unsigned state) const {
  const sc::TacMenuSupport& ms = FOwner.MenuSupport();
  if (ms.CustomFont) {
    canvas.Font.Assign(ms.Font);
    if (item.Default()) canvas.Font.SetStyle(canvas.Font.Style() | fw::fsBold);
  }
  canvas.Font.SetHeight(FOwner.ScaleInt(canvas.Font.Height()));
  if (!FOwner.OnGetPopupItemData) return false;
  const fw::TColor before = canvas.Font.Color();
  FOwner.OnGetPopupItemData(&item, state, canvas.Font);
  return canvas.Font.Color() != before;
}

TacMenuLayout TsSkinableMenus::MenuLayoutOf(fw::TMenuItem& first) const {
  TacMenuLayout layout;
  layout.GlyphSizeCX = GlyphSize(first).cx;
  layout.RightToLeft = IsRTL(first);
  // The skin list's menu carries the extra line; the program may change it.
  if (first.Name() != "SkinSelectItem") return layout;
  layout.HaveExtraLine = true;
  layout.ExtraSection = u"EXTRALINE";
  layout.ExtraCaption = u"Use OnGetExtraLineData event";
  if (FOwner.OnGetPopupLineData)
    FOwner.OnGetPopupLineData(&first, layout.ExtraSection, layout.HaveExtraLine, layout.ExtraGlyph,
                              layout.ExtraCaption);
  std::erase(layout.ExtraCaption, u'&');
  return layout;
}

int TsSkinableMenus::IcoLineIndex() const {
  const sd::TacSkinModel* model = Model();
  return model ? model->GetSkinIndex(fw::Utf16ToUtf8(FOwner.MenuSupport().IcoLineSkin)) : -1;
}

int TsSkinableMenus::SkinBorderWidth() const {
  const sd::TacSkinModel* model = Model();
  const int body = FOwner.ConstData().Sections[sd::ssMainMenu];
  if (!model || !model->IsValidSkinIndex(body)) return 0;
  const int border = model->gd[std::size_t(body)].BorderIndex;
  if (!model->IsValidImgIndex(border)) return 0;
  const int w = model->ma[std::size_t(border)].BorderWidth;
  return w > 0 ? w : 3;
}

void TsSkinableMenus::sMeasureItem(fw::TMenuItem* item, fw::TCanvas& canvas, int& width,
                                   int& height) {
  if (!item || !Model()) return;
  Measuring = true;
  // The menu's first shown item settles what the menu shows besides its items.
  if (const fw::TMenuItem* parent = item->Parent()) {
    const fw::TMenuItem* first = nullptr;
    for (int i = 0; i < parent->Count() && !first; ++i)
      if (parent->Items(i)->Visible()) first = parent->Items(i);
    if (first == item) FMeasured = MenuLayoutOf(*item);
  }
  const gfx::TSize glyph = GlyphSize(*item);
  FMeasured.GlyphSizeCX = std::max(FMeasured.GlyphSizeCX, glyph.cx);
  const int gw = glyph.cx;
  const int extra = Breaked(*item) ? 0 : ExtraWidth(FMeasured);
  SetItemFont(canvas, *item, 0);
  switch (ItemType(*item)) {
    case smDivider:
      width = 2 * gw + 3 * Margin + Spacing + extra;
      height = 2;
      return;
    case smCaption: {
      const std::u16string text = item->Caption().substr(1, item->Caption().size() - 2);
      width = 2 * gw + draw::acTextWidth(canvas, text) + 3 * Margin + Spacing + extra;
      height = draw::acTextHeight(canvas, text) + 2 * Margin + 3;
      return;
    }
    default: {
      const auto [caption, shortcut] = CaptionParts(*item);
      const std::u16string shown = WithoutAmpersands(caption);
      int textW = draw::acTextWidth(canvas, shown);
      if (!shortcut.empty()) textW += 2 * Spacing + draw::acTextWidth(canvas, shortcut);
      width = 2 * gw + textW + 3 * Margin + Spacing + extra;
      if (SkinBorderWidth() == 0) width -= 2 * BorderWidth;
      height = std::max(draw::acTextHeight(canvas, u"Wy"), glyph.cy) + 2 * Margin + 2;
      return;
    }
  }
}

TacMenuInfo* TsSkinableMenus::MenuInfoOfWindow(HWND wnd) {
  for (TacMenuInfo& mi : FMenuInfo)
    if (mi.Wnd == wnd) return &mi;
  return nullptr;
}

TacMenuInfo* TsSkinableMenus::GetMenuInfo(HWND wnd) {
  TacMenuInfo* mi = MenuInfoOfWindow(wnd);
  if (!mi) {
    // Windows that went without telling this painter (wrappers tell the default manager's
    // only) leave no picture behind.
    std::erase_if(FMenuInfo, [](const TacMenuInfo& e) { return !IsWindow(e.Wnd); });
    mi = &FMenuInfo.emplace_back();
    mi->Wnd = wnd;
    mi->Layout = FMeasured;
  }
  const TRect wr = WindowRectOf(wnd);
  if (!mi->Bmp || mi->Bmp->Width() != wr.Width() || mi->Bmp->Height() != wr.Height())
    PrepareMenuBG(*mi, wr.Width(), wr.Height());
  return mi;
}

void TsSkinableMenus::DropWindow(HWND wnd) {
  std::erase_if(FMenuInfo, [wnd](const TacMenuInfo& mi) { return mi.Wnd == wnd; });
}

void TsSkinableMenus::PrepareMenuBG(TacMenuInfo& mi, int width, int height) {
  mi.Bmp = std::make_unique<gfx::Bitmap>(std::max(width, 1), std::max(height, 1));
  mi.ItemsIterated = false;
  gfx::Bitmap& bmp = *mi.Bmp;
  bmp.Fill(0xFFFFFFFF);
  const sd::TacSkinModel* model = Model();
  const int body = FOwner.ConstData().Sections[sd::ssMainMenu];
  mi.Corners.clear();
  if (!model || !model->IsValidSkinIndex(body)) return;
  draw::PaintItemBG(model, body, draw::EmptyCI, 0, bmp.Bounds(), {0, 0}, bmp);
  const int sbw = SkinBorderWidth();
  const int ico = IcoLineIndex();
  const int icoWidth = Margin + mi.Layout.GlyphSizeCX + Spacing;
  const int extra = ExtraWidth(mi.Layout);
  if (model->IsValidSkinIndex(ico) && height > 2 * sbw) {
    gfx::Bitmap line(icoWidth, height - 2 * sbw);
    draw::PaintItem(model, ico, draw::MakeCacheInfo(&bmp, sbw + extra, sbw), true, 0, line.Bounds(),
                    {0, 0}, &line);
    bmp.CopyFrom(line, line.Bounds(), {sbw + extra, sbw});
  }
  const int border = model->gd[std::size_t(body)].BorderIndex;
  if (model->IsValidImgIndex(border))
    draw::DrawSkinRect(bmp, bmp.Bounds(), draw::EmptyCI, model->ma[std::size_t(border)], 0, false);
  // Right to left the icon column is on the right: the whole picture turns over, and the extra
  // line goes on at the right after it, its text reading as it does on the left.
  if (mi.Layout.RightToLeft) Mirror(bmp);
  if (extra > 0) PaintExtraLine(mi, height);
  // The corners the border picture leaves transparent are cut out of the window's shape.
  for (int y = 0; y < height; ++y) {
    if (y >= kCornerScan && y < height - kCornerScan) continue;
    for (int x = 0; x < width; ++x) {
      if (x == kCornerScan && width - kCornerScan > x) x = width - kCornerScan;
      if ((bmp.At(x, y) & 0xFFFFFF) == kKeyColor) mi.Corners.push_back({x, y, x + 1, y + 1});
    }
  }
}

void TsSkinableMenus::PaintExtraLine(const TacMenuInfo& mi, int height) const {
  const sd::TacSkinModel* model = Model();
  const int section = model->GetSkinIndex(fw::Utf16ToUtf8(mi.Layout.ExtraSection));
  const int sbw = SkinBorderWidth(), sw = ExtraWidth(mi.Layout), sh = height - 2 * sbw;
  if (!model->IsValidSkinIndex(section) || sh <= 0) return;
  gfx::Bitmap& bmp = *mi.Bmp;
  const int left = mi.Layout.RightToLeft ? bmp.Width() - sbw - sw : sbw;
  gfx::Bitmap strip(sw, sh);
  draw::PaintItem(model, section, draw::MakeCacheInfo(&bmp, left, sbw), true, 0, strip.Bounds(),
                  {0, 0}, &strip);
  int textFoot = 12;  // how far above the strip's foot the text begins
  if (const gfx::Bitmap& glyph = mi.Layout.ExtraGlyph; !glyph.Empty()) {
    BlendOver(strip, glyph, {(sw - glyph.Width()) / 2, sh - sc::acSpacing - glyph.Height()});
    textFoot += glyph.Height() + 8;
  }
  if (!mi.Layout.ExtraCaption.empty()) {
    // The text reads upwards: it is written across a copy of the strip turned a quarter
    // clockwise, which is then turned back.
    gfx::Bitmap turned(sh, sw);
    for (int y = 0; y < sw; ++y)
      for (int x = 0; x < sh; ++x) turned.Set(x, y, strip.At(y, sh - 1 - x));
    gfx::DeviceContext dc(turned);
    fw::TCanvas c;
    c.SetHandle(&dc);
    c.Font.Assign(FOwner.MenuSupport().ExtraLineFont);
    c.Font.SetHeight(FOwner.ScaleInt(c.Font.Height()));
    c.BrushStyle = fw::TBrushStyle::bsClear;
    draw::acWriteTextEx(c, mi.Layout.ExtraCaption, true, TRect{textFoot, 0, sh, sw},
                        gfx::DT_SINGLELINE | gfx::DT_VCENTER | gfx::DT_LEFT | gfx::DT_NOPREFIX,
                        section, 0, model);
    c.SetHandle(nullptr);
    for (int y = 0; y < sw; ++y)
      for (int x = 0; x < sh; ++x) strip.Set(y, sh - 1 - x, turned.At(x, y));
  }
  bmp.CopyFrom(strip, strip.Bounds(), {left, sbw});
}

void TsSkinableMenus::DrawWndBorder(const TacMenuInfo& mi) {
  const HWND wnd = mi.Wnd;
  if (BorderDrawing || !IsWindow(wnd)) return;
  BorderDrawing = true;
  const gfx::Bitmap& bmp = *mi.Bmp;
  const int w = bmp.Width(), h = bmp.Height();
  gfx::Region rgn = gfx::Region(TRect{0, 0, w, h}).Subtract(gfx::Region::FromRects(mi.Corners));
  gfx::Region now;
  if (GetWindowRgn(wnd, &now) == gfx::RGN_ERROR || !(now == rgn)) SetWindowRgn(wnd, &rgn, false);
  if (gfx::HDC dc = GetWindowDC(wnd)) {
    const int b = BorderWidth;
    gfx::ExcludeClipRect(dc, b, b, w - b, h - b);
    gfx::DeviceContext from(const_cast<gfx::Bitmap&>(bmp));
    gfx::BitBlt(dc, 0, 0, w, h, &from, 0, 0, gfx::SRCCOPY);
    ReleaseDC(wnd, dc);
  }
  BorderDrawing = false;
}

void TsSkinableMenus::PostMenuBorder(const fw::TMenuItem& item) {
  fw::TMenu* menu = item.GetParentMenu();
  const HMENU handle = menu && item.Parent() ? menu->SubmenuHandle(item.Parent()) : nullptr;
  if (!handle || !fw::Application) return;
  const HWND app = fw::Application->Handle();
  MSG waiting;
  if (PeekMessageW(&waiting, app, sc::WM_DRAWMENUBORDER, sc::WM_DRAWMENUBORDER, PM_NOREMOVE))
    return;
  PostMessageW(app, sc::WM_DRAWMENUBORDER, 0, LPARAM(handle));
}

bool TsSkinableMenus::DrawMenuBorder(HWND menuWindow) {
  const TacMenuInfo* mi = MenuInfoOfWindow(menuWindow);
  if (!mi || !mi->Bmp) return false;
  DrawWndBorder(*mi);
  return true;
}

void TsSkinableMenus::ClearCache() {
  FMenuInfo.clear();
}

void TsSkinableMenus::PaintDivider(gfx::Bitmap& bmp, const TRect& r, int extraWidth, int glyphWidth,
                                   bool rtl) const {
  const sd::TacSkinModel* model = Model();
  const int div = FOwner.ConstData().Sections[sd::ssDividerV];
  const int ico = IcoLineIndex();
  int left = Margin + extraWidth;
  if (model->IsValidSkinIndex(ico) &&
      (model->gd[std::size_t(ico)].Props[0].Transparency < 100 ||
       model->IsValidImgIndex(model->gd[std::size_t(ico)].BorderIndex)))
    left += Margin + glyphWidth + Spacing;
  TRect line{left, 0, std::max(left + 1, r.Width() - Margin), r.Height()};
  // Right to left the gap for the icon column is on the right.
  if (rtl) line = {r.Width() - line.Right, 0, r.Width() - line.Left, r.Height()};
  const int border = model->IsValidSkinIndex(div) ? model->gd[std::size_t(div)].BorderIndex : -1;
  if (model->IsValidImgIndex(border)) {
    draw::DrawSkinRect(bmp, line, draw::EmptyCI, model->ma[std::size_t(border)], 0, false);
    return;
  }
  skin::paint::TColor c = model->Palette[sd::pcBorder];
  if (c == skin::paint::clNone || c == 0) c = 0x808080;
  // Colours are kept red first; pixels are blue first.
  const std::uint32_t px = 0xFF000000 | skin::paint::SwapRedBlue(std::uint32_t(c & 0xFFFFFF));
  for (int x = line.Left; x < line.Right && x < bmp.Width(); ++x) bmp.Set(x, 0, px);
}

void TsSkinableMenus::PaintCaption(gfx::Bitmap& bmp, fw::TCanvas& canvas, const fw::TMenuItem& item,
                                   int extraWidth, bool rtl) const {
  const sd::TacSkinModel* model = Model();
  int section = FOwner.ConstData().Sections[sd::ssMenuCaption];
  TRect r = bmp.Bounds();
  (rtl ? r.Right : r.Left) += rtl ? -extraWidth : extraWidth;
  if (model->IsValidSkinIndex(section) && !r.IsEmpty()) {
    gfx::Bitmap part(r.Width(), r.Height());
    draw::PaintItem(model, section, draw::MakeCacheInfo(&bmp, r.Left, 0), true, 0, part.Bounds(),
                    {0, 0}, &part);
    bmp.CopyFrom(part, part.Bounds(), {r.Left, 0});
  } else {
    section = FOwner.ConstData().Sections[sd::ssMainMenu];  // the caption takes the body's colour
  }
  const std::u16string text = item.Caption().substr(1, item.Caption().size() - 2);
  r.Top += Margin + 2;
  r.Bottom -= Margin + 2;
  canvas.Font.SetStyle(canvas.Font.Style() | fw::fsBold);
  draw::acWriteTextEx(canvas, text, true, r,
                      gfx::DT_SINGLELINE | gfx::DT_CENTER | gfx::DT_VCENTER | gfx::DT_NOPREFIX |
                          (rtl ? gfx::DT_RTLREADING : 0),
                      section, 0, model);
}

void TsSkinableMenus::sAdvancedDrawItem(fw::TMenuItem* item, fw::TCanvas& canvas, const TRect& rect,
                                        fw::TOwnerDrawState state) {
  const sd::TacSkinModel* model = Model();
  if (!item || !model || rect.IsEmpty() || !canvas.Handle()) return;
  const HWND wnd = WindowFromDC(canvas.Handle());
  if (!wnd) {
    // Drawn where the menu's window is not known: the manager draws the frame of the open
    // menu that holds the item (its menu's handle travels, which the window system can tell
    // stale; the item itself may be gone when the message is read).
    PostMenuBorder(*item);
    return;
  }
  TacMenuInfo& mi = *GetMenuInfo(wnd);
  const int W = BorderWidth;
  gfx::Bitmap& bg = *mi.Bmp;
  const bool rtl = mi.Layout.RightToLeft;
  // A column after a bar break gets its line in the background once (in the gap before it:
  // on its right in a right-to-left menu).
  if (item->Break() == fw::TMenuBreak::mbBarBreak && !mi.ItemsIterated) {
    const int ix = FOwner.ConstData().MenuItem.SkinIndex;
    skin::paint::TColor c = model->IsValidSkinIndex(ix)
                                ? model->gd[std::size_t(ix)].Props[0].FontColor.Color
                                : 0x808080;
    const int x =
        rtl ? rect.Right + W + MENU_COLUMN_GAP / 2 - 1 : rect.Left + W - MENU_COLUMN_GAP / 2;
    for (int y = W; y < bg.Height() - W && x >= 0 && x < bg.Width(); ++y)
      bg.Set(x, y, 0xFF000000 | skin::paint::SwapRedBlue(std::uint32_t(c & 0xFFFFFF)));
    gfx::HDC dc = canvas.Handle();
    gfx::DeviceContext from(bg);
    gfx::BitBlt(dc, x - W, 0, 1, bg.Height() - 2 * W, &from, x, W, gfx::SRCCOPY);
  }
  if (item->Parent() && item->MenuIndex() == item->Parent()->Count() - 1) mi.ItemsIterated = true;

  const TRect inBg = rect.Offset(W, W);
  gfx::Bitmap pic = bg.Copy(inBg);
  if (pic.Width() != rect.Width() || pic.Height() != rect.Height()) return;
  const bool enabled = !(state & (fw::odGrayed | fw::odDisabled));
  const bool selected = enabled && (state & fw::odSelected);
  fw::TCanvas c;
  gfx::DeviceContext dc(pic);
  c.SetHandle(&dc);
  c.Font = canvas.Font;
  c.BrushStyle = fw::TBrushStyle::bsClear;
  // A first-column item leaves the extra line alone.
  const int extra = Breaked(*item) ? 0 : ExtraWidth(mi.Layout);
  const int gcx = mi.Layout.GlyphSizeCX;
  const TsMenuItemType type = ItemType(*item);
  // Right to left the item is the mirror image of its left-to-right look: a place x of a part
  // w wide, counted from the left there, is counted from the right here.
  const int pw = pic.Width();
  auto X = [rtl, pw](int x, int w) { return rtl ? pw - x - w : x; };
  if (type == smDivider) {
    PaintDivider(pic, pic.Bounds(), extra, gcx, rtl);
  } else if (type == smCaption) {
    SetItemFont(c, *item, state);
    PaintCaption(pic, c, *item, extra, rtl);
  } else {
    const TRect area{X(extra, pw - extra), 0, X(extra, pw - extra) + pw - extra, pic.Height()};
    const int ix = FOwner.ConstData().MenuItem.SkinIndex;
    int fontSection = FOwner.ConstData().Sections[sd::ssMainMenu];
    if (model->IsValidSkinIndex(ix)) {
      fontSection = ix;
      if ((selected || model->gd[std::size_t(ix)].Props[0].Transparency < 100) && !area.IsEmpty()) {
        // A hot item right above a divider leaves its last row to the body: the divider's
        // line lies on its own top row and would read as the hot frame's edge.
        gfx::Bitmap part(area.Width(), area.Height() - (selected && DividerBelow(*item) ? 1 : 0));
        if (rtl) {
          // Painted as left to right over the background turned back, then turned over.
          gfx::Bitmap ltr = bg;
          Mirror(ltr);
          draw::PaintItem(model, ix,
                          draw::MakeCacheInfo(&ltr, bg.Width() - inBg.Left - area.Right, inBg.Top),
                          true, selected ? 1 : 0, part.Bounds(), {0, 0}, &part);
          Mirror(part);
        } else {
          draw::PaintItem(model, ix, draw::MakeCacheInfo(&bg, inBg.Left + area.Left, inBg.Top),
                          true, selected ? 1 : 0, part.Bounds(), {0, 0}, &part);
        }
        pic.CopyFrom(part, part.Bounds(), {area.Left, 0});
      }
    }
    const int gw = GlyphSize();
    // Character glyphs take the text's colour.
    const skin::paint::TColor glyphColor =
        model->IsValidSkinIndex(fontSection)
            ? draw::StateProps(model->gd[std::size_t(fontSection)], selected ? 1 : 0)
                  .FontColor.Color
            : skin::paint::clNone;
    auto charGlyph = [&](int index, TPoint at, bool mirrored = false) {
      if (auto glyph = acCharImages().CreateBitmap32Color(index, gw, gw, glyphColor)) {
        if (mirrored) Mirror(*glyph);
        BlendOver(pic, *glyph, at);
      }
    };
    // The glyph column: the item's picture, else a check mark, else a system command's symbol.
    const gfx::Bitmap* picture = item->Picture();
    if (picture) {
      const TPoint at{X(extra + Margin + (gcx - picture->Width()) / 2, picture->Width()),
                      (pic.Height() - picture->Height()) / 2};
      const int button = FOwner.ConstData().Sections[sd::ssSpeedButton_Small];
      if (item->Checked() && model->IsValidSkinIndex(button)) {
        const TRect around{at.X - 1, at.Y - 1, at.X + picture->Width() + 1,
                           at.Y + picture->Height() + 1};
        gfx::Bitmap frame(around.Width(), around.Height());
        draw::PaintItem(model, button, draw::MakeCacheInfo(&pic, around.Left, around.Top), true, 2,
                        frame.Bounds(), {0, 0}, &frame);
        pic.CopyFrom(frame, frame.Bounds(), {around.Left, around.Top});
      }
      gfx::Bitmap glyph = *picture;
      if (!selected && FOwner.Effects().DiscoloredGlyphs()) skin::paint::GrayScale(glyph);
      BlendOver(pic, glyph, at);
    } else if (item->Checked()) {
      const int check = model->GetMaskIndex(sd::s_GlobalInfo, "CHECK");
      if (!item->RadioItem() && model->IsValidImgIndex(check)) {
        const paint::TsMaskData& md = model->ma[std::size_t(check)];
        const int x = X(extra + std::max(0, (gcx - md.Width) / 2 + Margin), md.Width);
        draw::DrawSkinGlyph(pic, {x, (pic.Height() - md.Height) / 2}, selected ? 1 : 0, 1, md,
                            draw::MakeCacheInfo(&pic));
      } else {
        charGlyph(item->RadioItem() ? cgRadio : cgCheck,
                  {X(extra + Margin, gw), (pic.Height() - gw) / 2});
      }
    } else if (const int symbol = SystemCommandGlyph(*item); symbol >= 0) {
      charGlyph(symbol, {X(extra + Margin + (gcx - gw) / 2, gw), (pic.Height() - gw) / 2});
    }
    // A submenu item's arrow at the far side, pointing the way the submenu opens (owner-drawn
    // items get none from the window).
    if (item->Count() > 0)
      charGlyph(cgCaretRight, {X(pw - gw - Margin, gw), (pic.Height() - gw) / 2}, rtl);
    // The event's own colour replaces the section's.
    const int textSection = SetItemFont(c, *item, state) ? -1 : fontSection;
    const auto [caption, shortcut] = CaptionParts(*item);
    const int textLeft = extra + gcx + 2 * Margin + Spacing;
    const TRect text{X(textLeft, pw - Margin - textLeft), Margin,
                     X(textLeft, pw - Margin - textLeft) + pw - Margin - textLeft,
                     pic.Height() - Margin};
    // Right to left: read from the right, the caption against the icon column on the right,
    // the shortcut on the left.
    const unsigned flags = gfx::DT_SINGLELINE | gfx::DT_VCENTER | gfx::DT_NOCLIP |
                           gfx::DT_EXPANDTABS | (rtl ? gfx::DT_RTLREADING : 0);
    draw::acWriteTextEx(c, caption, enabled, text, flags | (rtl ? gfx::DT_RIGHT : gfx::DT_LEFT),
                        textSection, selected ? 1 : 0, model);
    if (!shortcut.empty()) {
      TRect sr = text;
      (rtl ? sr.Left : sr.Right) = rtl ? 2 * 8 : pw - 2 * 8;
      draw::acWriteTextEx(c, shortcut, enabled, sr,
                          flags | (rtl ? gfx::DT_LEFT : gfx::DT_RIGHT) | gfx::DT_NOPREFIX,
                          textSection, selected ? 1 : 0, model);
    }
  }
  if (OnDrawItem) OnDrawItem(item, c, type, state, pic.Bounds());
  c.SetHandle(nullptr);
  if (!enabled) {
    gfx::Bitmap under = bg.Copy(inBg);
    skin::paint::BlendTransRectangle(pic, 0, 0, under,
                                     {0, 0, under.Width() - 1, under.Height() - 1},
                                     skin::paint::DefBlendDisabled, kKeyColor);
  }
  gfx::BitBlt(canvas.Handle(), rect.Left, rect.Top, rect.Width(), rect.Height(), &dc, 0, 0,
              gfx::SRCCOPY);
}

void TsSkinableMenus::sMeasureLineItem(fw::TMenuItem* item, fw::TCanvas& /*canvas*/, int& width,
                                       int& height) {
  if (!item || !Model()) return;
  // The width comes measured by the bar (the caption and its padding); an image adds to it.
  height = GetSystemMetrics(SM_CYMENU) - 1;
  const fw::TMenu* menu = item->GetParentMenu();
  const fw::TImageList* images = menu ? menu->Images() : nullptr;
  if (images && item->ImageIndex() >= 0 && item->ImageIndex() < images->Count())
    width += images->Width() + 6;
}

void TsSkinableMenus::sAdvancedDrawLineItem(fw::TMenuItem* item, fw::TCanvas& canvas,
                                            const TRect& rect, fw::TOwnerDrawState state) {
  const sd::TacSkinModel* model = Model();
  if (!item || !model || rect.IsEmpty() || !canvas.Handle()) return;
  // The line's ground is the form provider's: the item is cut out of it at its place.
  fw::TMenu* menu = item->GetParentMenu();
  auto* form =
      menu ? dynamic_cast<fw::TCustomForm*>(fw::TWinControl::FindControl(menu->WindowHandle()))
           : nullptr;
  frame::TsSkinProvider* provider = form ? frame::TsSkinProvider::GetSkinProvider(*form) : nullptr;
  if (!provider) return;
  const TRect line = provider->MenuLineRect();
  const gfx::Bitmap& ground = provider->MenuLineBG();
  if (line.IsEmpty() || ground.Empty()) return;
  const TRect inGround = rect.Offset(-line.Left, -line.Top);
  gfx::Bitmap pic = ground.Copy(inGround);
  if (pic.Width() != rect.Width() || pic.Height() != rect.Height()) return;
  const bool enabled = !(state & (fw::odGrayed | fw::odDisabled));
  const bool hot = enabled && (state & (fw::odSelected | fw::odHotLight));
  const int ix = FOwner.ConstData().MenuItem.SkinIndex;
  // Text in the line's colours, on a hot item in the item section's hot colours (the line's
  // own colour is meant for its ground, not for the hot item's).
  int fontSection = provider->MenuLineSkinIndex();
  if (!model->IsValidSkinIndex(fontSection))
    fontSection = FOwner.ConstData().Sections[sd::ssMainMenu];
  // At rest the line's ground shows through (the item section's rest state is the pop-up
  // body's, a box of another colour on the line).
  int fontState = 0;
  if (hot && model->IsValidSkinIndex(ix)) {
    draw::PaintItem(model, ix, draw::MakeCacheInfo(&ground, inGround.Left, inGround.Top), true, 1,
                    pic.Bounds(), {0, 0}, &pic);
    fontSection = ix;
    fontState = 1;
  }
  fw::TCanvas c;
  gfx::DeviceContext dc(pic);
  c.SetHandle(&dc);
  c.Font = canvas.Font;
  c.BrushStyle = fw::TBrushStyle::bsClear;
  if (!item->OnDrawItem) {
    // A right-to-left line has the image at the item's right and reads from the right.
    const bool rtl = menu->IsRightToLeft();
    TRect text = pic.Bounds();
    const fw::TImageList* images = menu->Images();
    if (images && item->ImageIndex() >= 0 && item->ImageIndex() < images->Count()) {
      const int x = rtl ? pic.Width() - 3 - images->Width() : 3;
      images->Draw(c, x, (pic.Height() - images->Height()) / 2, item->ImageIndex());
      (rtl ? text.Right : text.Left) += rtl ? -(images->Width() + 6) : images->Width() + 6;
    }
    const unsigned flags =
        gfx::DT_SINGLELINE | gfx::DT_VCENTER | gfx::DT_CENTER | (rtl ? gfx::DT_RTLREADING : 0);
    draw::acWriteTextEx(c, CaptionParts(*item).first, enabled, text, flags, fontSection, fontState,
                        model);
  }
  if (OnDrawItem) OnDrawItem(item, c, smTopLine, state, pic.Bounds());
  c.SetHandle(nullptr);
  if (!enabled) {
    gfx::Bitmap under = ground.Copy(inGround);
    skin::paint::BlendTransRectangle(pic, 0, 0, under,
                                     {0, 0, under.Width() - 1, under.Height() - 1},
                                     skin::paint::DefBlendDisabled, kKeyColor);
  }
  gfx::BitBlt(canvas.Handle(), rect.Left, rect.Top, rect.Width(), rect.Height(), &dc, 0, 0,
              gfx::SRCCOPY);
  // The item's own drawing goes over the skinned ground, in the menu's coordinates.
  if (item->OnDrawItem) item->OnDrawItem(item, canvas, rect, hot);
}

TsSkinableMenus* SkinableMenusOf(sc::TsSkinManager& manager) {
  return dynamic_cast<TsSkinableMenus*>(manager.SkinableMenus());
}

// ---- Pop-up menu windows

TacMnuWnd::TacMnuWnd(HWND wnd, sc::TsSkinManager& manager) : CtrlHandle(wnd), FManager(manager) {
  FHooked = SetWindowSubclass(
      wnd,
      [this](HWND h, UINT msg, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR) {
        return WndProc(h, msg, wParam, lParam);
      },
      UINT_PTR(this), 0);
}

TacMnuWnd::~TacMnuWnd() {
  if (FHooked && IsWindow(CtrlHandle)) RemoveWindowSubclass(CtrlHandle, UINT_PTR(this));
}

LRESULT TacMnuWnd::WndProc(HWND h, UINT msg, WPARAM wParam, LPARAM lParam) {
  TsSkinableMenus* painter = SkinableMenusOf(FManager);
  if (msg == WM_NCDESTROY) {
    const LRESULT r = DefSubclassProc(h, msg, wParam, lParam);
    RemoveWindowSubclass(h, UINT_PTR(this));
    FHooked = false;
    CtrlHandle = nullptr;  // the array frees the wrapper later, not while it runs
    if (painter) painter->DropWindow(h);
    if (std::none_of(MnuArray().begin(), MnuArray().end(),
                     [](const auto& w) { return w->CtrlHandle != nullptr; }))
      Measuring = false;
    return r;
  }
  if (!painter || !Measuring || !FManager.Active() || !FManager.SkinnedPopups())
    return DefSubclassProc(h, msg, wParam, lParam);
  switch (msg) {
    case WM_ERASEBKGND: {
      const TacMenuInfo& mi = *painter->GetMenuInfo(h);
      const TRect cr = ClientRectOf(h);
      gfx::DeviceContext from(*mi.Bmp);
      gfx::BitBlt(gfx::HDC(wParam), 0, 0, cr.Width(), cr.Height(), &from, painter->BorderWidth,
                  painter->BorderWidth, gfx::SRCCOPY);
      return 1;
    }
    case WM_NCPAINT: {
      painter->DrawWndBorder(*painter->GetMenuInfo(h));
      const BYTE alpha = FManager.MenuSupport().AlphaBlend;
      const LONG_PTR ex = GetWindowLongPtrW(h, GWL_EXSTYLE);
      if (alpha < 255) {
        if (!(ex & WS_EX_LAYERED)) SetWindowLongPtrW(h, GWL_EXSTYLE, ex | WS_EX_LAYERED);
        SetLayeredWindowAttributes(h, 0, alpha, LWA_ALPHA);
      } else if (ex & WS_EX_LAYERED) {
        SetWindowLongPtrW(h, GWL_EXSTYLE, ex & ~LONG_PTR(WS_EX_LAYERED));
      }
      return 0;
    }
    default:
      return DefSubclassProc(h, msg, wParam, lParam);
  }
}

std::vector<std::unique_ptr<TacMnuWnd>>& MnuArray() {
  static std::vector<std::unique_ptr<TacMnuWnd>> array;
  return array;
}

void ClearMnuArray() {
  MnuArray().clear();
}

void AddMenuWindow(HWND wnd) {
  if (!sc::DefaultManager) return;
  std::erase_if(MnuArray(), [](const auto& w) { return w->CtrlHandle == nullptr; });
  MnuArray().push_back(std::make_unique<TacMnuWnd>(wnd, *sc::DefaultManager));
}

void InstallSkinnedMenus() {
  sc::SetMenuPainterFactory(
      [](sc::TsSkinManager& m) { return std::make_unique<TsSkinableMenus>(m); });
}

}  // namespace skin::controls
