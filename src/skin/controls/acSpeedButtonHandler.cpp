#include "skin/controls/acSpeedButtonHandler.h"

#include <algorithm>

#include "framework/Application.h"
#include "skin/controls/sButton.h"
#include "skin/core/sGraphUtils.h"
#include "skin/draw/sAlphaGraph.h"
#include "skin/paint/sGraphUtils.h"

namespace skin::controls {

namespace core = skin::core;
namespace draw = skin::draw;
namespace paint = skin::paint;
using fw::TButtonLayout;
using fw::TButtonState;
using gfx::TRect;
using gfx::TSize;

namespace {

// The caption is measured in a box this wide (it wraps only past it, or at line breaks).
constexpr int kCaptionBox = 255;

TSize GlyphSize(const fw::TSpeedButton& b) {
  if (b.Glyph().Empty()) return {0, 0};
  return {b.Glyph().Width() / std::max(b.NumGlyphs(), 1), b.Glyph().Height()};
}

// The caption's flags: centred in the block, or towards the edge Margin measures from.
unsigned CaptionFlags(const fw::TSpeedButton& b) {
  unsigned align = gfx::DT_CENTER;
  if (b.Margin() >= 0 && b.Layout() == TButtonLayout::blGlyphLeft) align = gfx::DT_LEFT;
  if (b.Margin() >= 0 && b.Layout() == TButtonLayout::blGlyphRight) align = gfx::DT_RIGHT;
  return b.DrawTextBiDiModeFlags(align | gfx::DT_EXPANDTABS | gfx::DT_WORDBREAK);
}

}  // namespace

int SpeedButtonState(const fw::TSpeedButton& button, const TsCommonData& skinData) {
  const TButtonState s = button.State();
  if (s == TButtonState::bsDown || s == TButtonState::bsExclusive) return 2;
  return core::ControlIsActive(skinData) ? 1 : 0;
}

TacSpeedButtonHandler::TacSpeedButtonHandler(fw::TSpeedButton& button, const std::string& section,
                                             TsSkinManager* manager, TsCommonData& skinData)
    : FCtrl(&button), FSkinData(skinData) {
  if (manager) FSkinData.SetSkinManager(manager);
  if (FSkinData.SkinSection().empty()) FSkinData.SetSkinSection(section);
  FHook = button.HookWindowProc(
      [this](fw::TMessage& m, const fw::TWndNext& next) { acWndProc(m, next); });
  FSkinData.WndProc = [this](fw::TMessage& m) {
    if (FCtrl) FCtrl->WindowProc(m);
  };
  FSkinData.Loaded(false);
}

TacSpeedButtonHandler::~TacSpeedButtonHandler() {
  *FAlive = false;
  if (FDestroyed || !FCtrl) return;
  Unhook();
  // The button paints itself again, unless it or its parent is going.
  if (!FCtrl->HasState(fw::csDestroying) && FCtrl->Parent() &&
      !FCtrl->Parent()->HasState(fw::csDestroying))
    Repaint();
}

void TacSpeedButtonHandler::ButtonFreed() {
  // The button's hooks went with it: nothing to give back.
  FCtrl = nullptr;
  FHook = 0;
  FDestroyed = true;
  FSkinData.WndProc = nullptr;
}

void TacSpeedButtonHandler::Unhook() {
  FDestroyed = true;
  if (!FCtrl) return;
  FCtrl->UnhookWindowProc(FHook);
  FHook = 0;
  fw::TSpeedButton* button = FCtrl;
  FSkinData.WndProc = [button](fw::TMessage& m) { button->WindowProc(m); };
}

void TacSpeedButtonHandler::Repaint() {
  if (FCtrl && FCtrl->Visible()) FCtrl->Invalidate();
}

int TacSpeedButtonHandler::CurrentState() const {
  return FCtrl ? SpeedButtonState(*FCtrl, FSkinData) : 0;
}

int TacSpeedButtonHandler::SectionState(int state) const {
  const TsSkinManager* manager = FSkinData.SkinManager();
  const sd::TacSkinModel* model = manager ? manager->SkinModel() : nullptr;
  if (!model || !model->IsValidSkinIndex(FSkinData.SkinIndex)) return state;
  const int states = model->gd[std::size_t(FSkinData.SkinIndex)].States;
  return std::clamp(state, 0, std::max(states - 1, 0));
}

TSize TacSpeedButtonHandler::TextRectSize() const {
  if (!FCtrl || FCtrl->Caption().empty()) return {0, 0};
  gfx::Bitmap scratch(1, 1);
  gfx::DeviceContext dc(scratch);
  fw::TCanvas canvas;
  canvas.SetHandle(&dc);
  canvas.Font.Assign(FCtrl->Font());
  const unsigned flags = gfx::DT_CALCRECT | gfx::DT_EXPANDTABS |
                         (FCtrl->UseRightToLeftReading() ? gfx::DT_RTLREADING : 0u);
  TRect r{0, 0, kCaptionBox, 0};
  canvas.TextRect(r, FCtrl->Caption(), flags | gfx::DT_WORDBREAK);
  // Wrapping keeps the box's width: the text is as wide as its widest line, which is the box
  // only when a line had to wrap.
  TRect line{0, 0, kCaptionBox, 0};
  canvas.TextRect(line, FCtrl->Caption(), flags);
  return {std::min(line.Width(), r.Width()), r.Height()};
}

namespace {

// Glyph and caption of b for the layout of the skinned buttons: Margin -1 centres the block;
// otherwise the glyph (or the caption) keeps Margin from the edge the layout names.
TacButtonLayoutOut SpeedLayout(const fw::TSpeedButton& b, TSize text) {
  TacButtonLayoutIn in;
  in.Client = {b.Width(), b.Height()};
  in.Glyph = GlyphSize(b);
  in.Text = text;
  in.Layout = b.Layout();
  in.Margin = b.Margin();
  in.Spacing = b.Spacing();
  in.RightToLeft = b.UseRightToLeftAlignment();
  if (b.Margin() >= 0) switch (b.Layout()) {
      case TButtonLayout::blGlyphLeft:
        in.Alignment = fw::TAlignment::taLeftJustify;
        break;
      case TButtonLayout::blGlyphRight:
        in.Alignment = fw::TAlignment::taRightJustify;
        break;
      case TButtonLayout::blGlyphTop:
        in.VerticalAlignment = fw::TVerticalAlignment::taAlignTop;
        break;
      case TButtonLayout::blGlyphBottom:
        in.VerticalAlignment = fw::TVerticalAlignment::taAlignBottom;
        break;
    }
  return CalcButtonLayout(in);
}

}  // namespace

TRect TacSpeedButtonHandler::CaptionRect(int state) const {
  if (!FCtrl) return {};
  TRect r = SpeedLayout(*FCtrl, TextRectSize()).Caption;
  if (state == 2 && core::CanClickShift(FSkinData.SkinIndex, FSkinData.SkinManager()))
    r = r.Offset(1, 1);
  return r;
}

TRect TacSpeedButtonHandler::ImgRect(int state) const {
  if (!FCtrl) return {};
  TRect r = SpeedLayout(*FCtrl, TextRectSize()).Glyph;
  if (state == 2 && core::CanClickShift(FSkinData.SkinIndex, FSkinData.SkinManager()))
    r = r.Offset(1, 1);
  return r;
}

bool TacSpeedButtonHandler::PrepareCache() {
  TsCommonData& cd = FSkinData;
  TsSkinManager* manager = cd.SkinManager();
  if (!FCtrl || !manager || !cd.Skinned() || !FCtrl->Parent()) return false;
  core::InitCacheBmp(cd);
  gfx::Bitmap* cache = cd.CacheBmp();
  if (!cache || cache->Empty()) return false;
  draw::TacBGInfo bg;
  core::GetBGInfo(bg, FCtrl->Parent(), false);
  if (bg.BgType == draw::TacBGType::btNotReady) {
    cd.FUpdating = true;
    return false;
  }
  // A parent with an empty picture shows nothing yet.
  if (bg.BgType == draw::TacBGType::btCache && (!bg.Bmp || bg.Bmp->Height() == 0)) return false;
  // Its picture (the whole cache, or the border bands of a parent that fills with a colour) is
  // read at the button's place.
  if (bg.BgType == draw::TacBGType::btCache || bg.Bmp) {
    bg.Offset.X += FCtrl->Left();
    bg.Offset.Y += FCtrl->Top();
  }
  const paint::TCacheInfo ci = core::BGInfoToCI(bg);
  const int state = CurrentState();
  const int S = SectionState(state);
  draw::PaintItem(manager->SkinModel(), core::ControlPaintOf(cd), ci, true, S, cache->Bounds(),
                  {0, 0}, cache, true);
  core::UpdateCorners(cd, S, draw::acAllCorners);
  {
    gfx::DeviceContext dc(*cache);
    fw::TCanvas canvas;
    canvas.SetHandle(&dc);
    canvas.Font.Assign(FCtrl->Font());
    DrawCaption(canvas, state);
  }
  DrawGlyph(*cache, state);
  if (!FCtrl->Enabled())
    paint::BmpDisabledKind(*cache, dkBlended, paint::TColor(bg.Color), ci, {0, 0});
  cd.BGChanged = false;
  return true;
}

void TacSpeedButtonHandler::DrawCaption(fw::TCanvas& canvas, int state) {
  const std::u16string& text = FCtrl->Caption();
  const TRect r = CaptionRect(state);
  if (text.empty() || r.IsEmpty()) return;
  core::WriteTextEx(canvas, text, FCtrl->Enabled(), r, CaptionFlags(*FCtrl), FSkinData, state,
                    true);
}

void TacSpeedButtonHandler::DrawGlyph(gfx::Bitmap& cache, int state) {
  const TRect r = ImgRect(state);
  if (r.IsEmpty()) return;
  TacDrawGlyphData d;
  d.SkinIndex = FSkinData.SkinIndex;
  d.NumGlyphs = FCtrl->NumGlyphs();
  d.CurrentState = state;
  d.Down = FCtrl->Down();
  d.Enabled = FCtrl->Enabled();
  d.SkinManager = FSkinData.SkinManager();
  // Discoloured in the normal state when the skin's effect says so.
  d.Grayed = d.SkinManager && d.SkinManager->Effects().DiscoloredGlyphs();
  d.Glyph = &FCtrl->Glyph();
  d.DstBmp = &cache;
  d.ImgRect = r;
  acDrawGlyphEx(d);
}

void TacSpeedButtonHandler::AC_WMPaint(gfx::HDC dc) {
  if (!PrepareCache()) return;
  const gfx::Bitmap& cache = *FSkinData.CacheBmp();
  const int saved = gfx::SaveDC(dc);
  gfx::DeviceContext from(const_cast<gfx::Bitmap&>(cache));
  gfx::BitBlt(dc, 0, 0, FCtrl->Width(), FCtrl->Height(), &from, 0, 0, gfx::SRCCOPY);
  gfx::RestoreDC(dc, saved);
}

void TacSpeedButtonHandler::SkinCommand(fw::TMessage& m, const fw::TWndNext& next) {
  TsCommonData& cd = FSkinData;
  const TsSkinManager* manager = cd.SkinManager();
  const bool ours = manager && m.LParam == fw::LPARAM(manager);
  switch (core::WParamHi(m.WParam)) {
    case core::AC_SETNEWSKIN:
      if (!ours) break;
      core::CommonWndProc(m, cd);
      return;
    case core::AC_REMOVESKIN:
      if (!ours || FCtrl->HasState(fw::csDestroying)) break;
      core::CommonWndProc(m, cd);
      // The button paints itself again; the adapter drops the item at its next cleaning.
      Unhook();
      Repaint();
      return;
    case core::AC_REFRESH:
      if (!ours) break;
      core::CommonWndProc(m, cd);
      Repaint();
      return;
    case core::AC_ENDPARENTUPDATE:
      if (!cd.FUpdating) break;
      cd.FUpdating = false;
      cd.BGChanged = true;
      Repaint();
      return;
    case core::AC_CTRLHANDLED:
      m.Result = 1;
      return;
    case core::AC_INVALIDATE:
      cd.FUpdating = false;
      cd.BGChanged = true;
      Repaint();
      return;
    case core::AC_GETAPPLICATION:
      m.Result = fw::LRESULT(fw::Application);
      return;
    case core::AC_GETFONTINDEX:
    case core::AC_GETSKINDATA:
      if (core::CommonMessage(m, cd)) return;
      break;
    default:
      break;
  }
  next(m);
}

void TacSpeedButtonHandler::acWndProc(fw::TMessage& m, const fw::TWndNext& next) {
  switch (m.Msg) {
    case core::SM_ALPHACMD:
      SkinCommand(m, next);
      return;
    case win::WM_PAINT:
      // Without a DC there is nothing to paint on; unskinned, the button paints itself.
      if (!m.WParam) return;
      if (!FSkinData.Skinned()) break;
      AC_WMPaint(reinterpret_cast<gfx::HDC>(m.WParam));
      return;
    case win::WM_DESTROY:
      // The button is going: it gets its own handling back and is not touched again.
      Unhook();
      FCtrl = nullptr;
      next(m);
      return;
    case fw::CM_MOUSEENTER:
    case fw::CM_MOUSELEAVE: {
      FSkinData.FMouseAbove = m.Msg == fw::CM_MOUSEENTER;
      FSkinData.BGChanged = true;
      // The pass below may free the button, and this handler with it.
      const std::shared_ptr<bool> alive = FAlive;
      next(m);
      if (*alive) Repaint();
      return;
    }
    default:
      break;
  }
  next(m);
}

std::unique_ptr<skin::frame::TacGraphHandler> MakeSpeedButtonHandler(fw::TSpeedButton& button,
                                                                     const std::string& section,
                                                                     TsSkinManager* manager,
                                                                     TsCommonData& skinData) {
  return std::make_unique<TacSpeedButtonHandler>(button, section, manager, skinData);
}

}  // namespace skin::controls
