#include "skin/controls/sEdit.h"

#include <algorithm>

#include "platform/win/MulDiv.h"
#include "platform/win/Paint.h"
#include "platform/win/Window.h"
#include "skin/core/sGraphUtils.h"
#include "skin/draw/sSkinText.h"
#include "skin/paint/sGraphUtils.h"

namespace skin::controls {

namespace {

using gfx::TRect;
using namespace skin::core;

constexpr win::UINT kRedrawAll =
    win::RDW_FRAME | win::RDW_INVALIDATE | win::RDW_ERASE | win::RDW_ALLCHILDREN;
constexpr unsigned kTextFlags = gfx::DT_SINGLELINE | gfx::DT_NOPREFIX;

}  // namespace

void PaintDisabledLook(TsCommonData& cd, unsigned kind) {
  fw::TControl* c = cd.OwnerControl();
  gfx::Bitmap* cache = cd.CacheBmp();
  if (c && cache) PaintDisabledKind(*cache, *c, kind);
}

int EditBorderWidth(const fw::TCustomEdit& edit) {
  return edit.EditBorderWidth();
}

TsEdit::TsEdit(fw::TComponent* owner)
    : TsEditBase(owner), FAddedGlyph(*this, [this](bool relayout) {
        FAddedGlyphRect.Left = -1;
        SkinData().BGChanged = true;
        if (!HandleAllocated()) return;
        if (relayout)
          win::SetWindowPos(Handle(), nullptr, 0, 0, 0, 0,
                            win::SWP_NOMOVE | win::SWP_NOSIZE | win::SWP_NOZORDER |
                                win::SWP_NOACTIVATE | win::SWP_FRAMECHANGED);
        Redraw(true);
      }) {
  // Skin commands the edit answers itself, before the shared handling.
  FHook = HookWindowProc([this](fw::TMessage& m, const fw::TWndNext& next) {
    if (m.Msg == SM_ALPHACMD) {
      switch (WParamHi(m.WParam)) {
        case AC_PREPARECACHE:
          m.Result = PrepareCache() ? 1 : 0;
          return;
        case AC_GETCONTROLCOLOR:
          if (!SkinData().Skinned()) {
            m.Result = win::LRESULT(fw::ColorToRGB(Color()));
            return;
          }
          break;
        case AC_CHILDCHANGED:
          m.Result = 0;
          return;
        case AC_REFRESH:
          next(m);
          SkinData().BGChanged = true;
          Redraw(true);
          return;
        default:
          break;
      }
    }
    next(m);
  });
}

TsEdit::~TsEdit() {
  UnhookWindowProc(FHook);
}

void TsEdit::Notification(fw::TComponent* component, fw::TOperation operation) {
  FAddedGlyph.Removed(component, operation);
  TsEditBase::Notification(component, operation);
}

int TsEdit::AddedGlyphSpace() const {
  if (!FAddedGlyph.Visible()) return 0;
  return FAddedGlyph.Size().cx + win::MulDiv(4, SkinData().ScalePercent, 100) / 2;
}

gfx::TRect TsEdit::AddedGlyphRect() {
  if (FAddedGlyphRect.Left < 0) {
    const gfx::TPoint o = ClientOrigin();
    const int space = AddedGlyphSpace();
    FAddedGlyphRect = {o.X - space, o.Y, o.X, Height() - o.Y};
  }
  return FAddedGlyphRect;
}

std::u16string TsEdit::DisplayText() const {
  std::u16string text = TEdit::DisplayText();
  if (PasswordChar() == u'*' && SkinData().Skinned()) text.assign(text.size(), acPasswordCircle);
  return text;
}

gfx::TPoint TsEdit::ClientOrigin() const {
  if (!HandleAllocated()) {
    const int b = skin::controls::EditBorderWidth(*this);
    return {b, b};
  }
  win::RECT wr;
  win::GetWindowRect(const_cast<TsEdit*>(this)->Handle(), &wr);
  const gfx::TPoint p = ClientToScreen({0, 0});
  return {p.X - wr.Left, p.Y - wr.Top};
}

gfx::TRect TsEdit::TextRect() const {
  const gfx::TPoint o = ClientOrigin();
  return TCustomEdit::TextRect().Offset(o.X, o.Y);
}

bool TsEdit::OwnPainting() const {
  return Enabled() && HandleAllocated() && Focused();
}

bool TsEdit::PrepareCache() {
  TsCommonData& cd = SkinData();
  if (!cd.Skinned()) {
    InitCacheBmp(cd);
    gfx::Bitmap& cache = *cd.CacheBmp();
    gfx::DeviceContext dc(cache);
    gfx::FillRect(&dc, cache.Bounds(), fw::ColorToRGB(Color()));
    PaintAddedGlyph();
    return true;
  }
  const int state = ControlState(cd);
  cd.BGChanged = true;
  if (!UpdateCache(cd, state)) return false;
  gfx::Bitmap& cache = *cd.CacheBmp();
  if (BorderStyle() == fw::TBorderStyle::bsNone) {
    // Without a border only the section's background is shown.
    TacBGInfo bg;
    if (GetBGInfo(bg, Parent(), false) && bg.BgType == TacBGType::btCache) {
      bg.Offset.X += Left();
      bg.Offset.Y += Top();
    }
    skin::draw::PaintItemBG(cd.SkinManager()->SkinModel(), ControlPaintOf(cd), BGInfoToCI(bg),
                            state, cache.Bounds(), {}, cache);
  }
  FOwnPaintCached = OwnPainting();
  if (!FOwnPaintCached) PaintText();
  if (!Enabled()) PaintDisabledLook(cd, FDisabledKind);
  PaintAddedGlyph();
  cd.BGChanged = false;
  return true;
}

void TsEdit::PaintHint(fw::TCanvas& canvas, gfx::TRect r) {
  TsCommonData& cd = SkinData();
  fw::TColor color = fw::clGrayText;
  if (cd.Skinned()) {
    const auto& gd = cd.SkinManager()->SkinModel()->gd[std::size_t(cd.SkinIndex)];
    const int state = ControlState(cd);
    const fw::TColor font = cd.CustomFont()
                                ? Font().Color()
                                : fw::TColor(skin::draw::StateProps(gd, state).FontColor.Color);
    color = skin::paint::BlendColors(fw::ColorToRGB(font), GetBGColor(cd, state), acTextHintBlend);
  }
  canvas.Font.SetColor(color);
  canvas.TextRect(r, TextHint(), kTextFlags);
}

void TsEdit::PaintText() {
  TsCommonData& cd = SkinData();
  gfx::Bitmap* cache = cd.CacheBmp();
  if (!cache || cache->Empty()) return;
  gfx::DeviceContext dc(*cache);
  fw::TCanvas canvas;
  canvas.SetHandle(&dc);
  canvas.Font.Assign(Font());
  canvas.BrushStyle = fw::TBrushStyle::bsClear;
  // The text area, clipped as the edit clips it; the text starts where the edit scrolled it.
  const TRect area = TextRect();
  const gfx::TPoint o = ClientOrigin();
  gfx::IntersectClipRect(&dc, area.Left, o.Y, area.Right, Height() - o.Y);
  const std::u16string text = DisplayText();
  if (!text.empty()) {
    const TRect r{area.Left - ScrollX(), area.Top, std::max(area.Right, area.Left + 32767),
                  area.Bottom};
    WriteTextEx(canvas, text, Enabled(), r, kTextFlags, cd, ControlState(cd), false);
  } else if (!TextHint().empty()) {
    PaintHint(canvas, area);
  }
  canvas.SetHandle(nullptr);
}

void TsEdit::SetDisabledKind(unsigned kind) {
  if (FDisabledKind == kind) return;
  FDisabledKind = kind;
  SkinData().Invalidate();
}

void TsEdit::PaintAddedGlyph() {
  if (!FAddedGlyph.Visible()) return;
  gfx::Bitmap* cache = SkinData().CacheBmp();
  if (!cache || cache->Empty()) return;
  const bool grayed =
      SkinData().Skinned() && SkinData().SkinManager()->Effects().DiscoloredGlyphs();
  FAddedGlyph.Draw(*cache, AddedGlyphRect(), Enabled(), grayed);
}

bool TsEdit::CacheStale() const {
  const TsCommonData& cd = SkinData();
  const gfx::Bitmap* cache = cd.CacheBmp();
  return cd.BGChanged || cd.HalfVisible || !cache || cache->Empty() || cache->Width() != Width() ||
         cache->Height() != Height() || FOwnPaintCached != OwnPainting();
}

bool TsEdit::CacheReady() {
  if (!CacheStale() || PrepareCache()) return true;
  // Painted at the end of the parent's update.
  SkinData().FUpdating = true;
  return false;
}

void TsEdit::OurPaintHandler(gfx::HDC dc) {
  TsCommonData& cd = SkinData();
  if (!CacheReady()) return;
  const gfx::TPoint o = ClientOrigin();
  gfx::DeviceContext from(*cd.CacheBmp());
  gfx::BitBlt(dc, 0, 0, ClientWidth(), ClientHeight(), &from, o.X, o.Y, gfx::SRCCOPY);
}

void TsEdit::PaintFocused(gfx::HDC dc) {
  TsCommonData& cd = SkinData();
  if (!CacheReady()) return;
  const gfx::TPoint o = ClientOrigin();
  gfx::Bitmap client(std::max(1, ClientWidth()), std::max(1, ClientHeight()));
  client.CopyFrom(*cd.CacheBmp(), TRect{o.X, o.Y, o.X + client.Width(), o.Y + client.Height()},
                  {0, 0});
  gfx::DeviceContext bdc(client);
  if (Editor().Text().empty() && !TextHint().empty()) {
    fw::TCanvas canvas;
    canvas.SetHandle(&bdc);
    canvas.Font.Assign(Font());
    canvas.BrushStyle = fw::TBrushStyle::bsClear;
    PaintHint(canvas, TCustomEdit::TextRect());
    canvas.SetHandle(nullptr);
  }
  // The edit's own drawing: text, selection and caret, on the section's background.
  TCustomEdit::PaintWindow(&bdc);
  gfx::BitBlt(dc, 0, 0, client.Width(), client.Height(), &bdc, 0, 0, gfx::SRCCOPY);
}

void TsEdit::PaintBorder(gfx::HDC dc) {
  TsCommonData& cd = SkinData();
  if (!dc) return;
  if (!CacheReady()) return;
  gfx::Bitmap& cache = *cd.CacheBmp();
  const gfx::TPoint o = ClientOrigin();
  skin::frame::CopyFrameBands(dc, cache, {o.X, o.Y, o.X + ClientWidth(), o.Y + ClientHeight()},
                              cache.Width(), cache.Height());
}

void TsEdit::Redraw(bool frame) {
  if (!HandleAllocated() || !win::IsWindowVisible(Handle())) return;
  win::RedrawWindow(Handle(), nullptr, nullptr, frame ? kRedrawAll : win::RDW_INVALIDATE);
}

void TsEdit::WndProc(fw::TMessage& m) {
  TsCommonData& cd = SkinData();
  if (m.Msg == win::WM_NCCALCSIZE) {
    // The glyph takes its room from the client's left.
    TsEditBase::WndProc(m);
    if (const int space = AddedGlyphSpace()) {
      win::RECT* r = m.WParam ? &reinterpret_cast<win::NCCALCSIZE_PARAMS*>(m.LParam)->rgrc[0]
                              : reinterpret_cast<win::RECT*>(m.LParam);
      r->Left = std::min(r->Left + space, r->Right);
    }
    return;
  }
  if (!cd.Skinned()) {
    TsEditBase::WndProc(m);
    if (m.Msg == win::WM_NCPAINT && FAddedGlyph.Visible() && HandleAllocated()) {
      // The glyph's column lies in the frame: drawn over the plain frame.
      if (win::HDC dc = win::GetWindowDC(Handle())) {
        const TRect r = AddedGlyphRect();
        gfx::Bitmap bmp(std::max(1, r.Width()), std::max(1, r.Height()));
        {
          gfx::DeviceContext bdc(bmp);
          gfx::FillRect(&bdc, bmp.Bounds(), fw::ColorToRGB(Color()));
        }
        FAddedGlyph.Draw(bmp, bmp.Bounds(), Enabled(), false);
        gfx::DeviceContext from(bmp);
        gfx::BitBlt(dc, r.Left, r.Top, r.Width(), r.Height(), &from, 0, 0, gfx::SRCCOPY);
        win::ReleaseDC(Handle(), dc);
      }
    }
    return;
  }
  switch (m.Msg) {
    case win::WM_PAINT: {
      win::PAINTSTRUCT ps;
      gfx::HDC dc =
          m.WParam ? reinterpret_cast<gfx::HDC>(m.WParam) : win::BeginPaint(Handle(), &ps);
      if (!cd.Updating() && !InAnimationProcess) {
        if (OwnPainting())
          PaintFocused(dc);
        else
          OurPaintHandler(dc);
      }
      if (!m.WParam) win::EndPaint(Handle(), &ps);
      m.Result = 0;
      return;
    }
    case win::WM_PRINTCLIENT:
      if (m.WParam) {
        if (OwnPainting())
          PaintFocused(reinterpret_cast<gfx::HDC>(m.WParam));
        else
          OurPaintHandler(reinterpret_cast<gfx::HDC>(m.WParam));
      }
      return;
    case win::WM_ERASEBKGND:
      // The client is painted whole from the cache.
      m.Result = 1;
      return;
    case win::WM_NCPAINT:
      if (!win::IsWindowVisible(Handle())) return;
      if (gfx::HDC dc = win::GetWindowDC(Handle())) {
        if (!cd.Updating()) PaintBorder(dc);
        win::ReleaseDC(Handle(), dc);
      }
      m.Result = 0;
      return;
    case win::WM_PRINT: {
      auto dc = reinterpret_cast<gfx::HDC>(m.WParam);
      if (!dc || !PrepareCache()) return;
      const gfx::TPoint o = ClientOrigin();
      if (m.LParam & win::PRF_NONCLIENT) PaintBorder(dc);
      const int saved = gfx::SaveDC(dc);
      if (m.LParam & win::PRF_NONCLIENT) gfx::OffsetViewportOrgEx(dc, o.X, o.Y, nullptr);
      gfx::IntersectClipRect(dc, 0, 0, ClientWidth(), ClientHeight());
      // The client as the screen shows it: the edit's own drawing while focused.
      if (OwnPainting())
        PaintFocused(dc);
      else
        OurPaintHandler(dc);
      gfx::RestoreDC(dc, saved);
      return;
    }
    default:
      break;
  }
  TsEditBase::WndProc(m);
  switch (m.Msg) {
    case win::WM_SETTEXT:
    case fw::CM_CHANGED:
    case fw::CM_TEXTCHANGED:
      // While the edit draws its own text the cache holds none: typing rebuilds nothing.
      if ((ComponentState() & fw::csLoading) || OwnPainting()) break;
      cd.BGChanged = true;
      Redraw(true);
      break;
    case win::WM_SETFONT:
    case fw::CM_VISIBLECHANGED:
    case fw::CM_ENABLEDCHANGED:
      if (ComponentState() & fw::csLoading) break;
      cd.BGChanged = true;
      Redraw(true);
      break;
    case win::WM_SIZE:
    case win::WM_WINDOWPOSCHANGED:
      FAddedGlyphRect.Left = -1;
      cd.BGChanged = true;
      Redraw(true);
      break;
    case fw::CM_FOCUSCHANGED:
    case win::WM_SETFOCUS:
    case win::WM_KILLFOCUS:
      cd.BGChanged = true;
      Redraw(true);
      break;
    case fw::CM_COLORCHANGED:
      if (cd.CustomColor()) cd.BGChanged = true;
      break;
    default:
      break;
  }
}

}  // namespace skin::controls
