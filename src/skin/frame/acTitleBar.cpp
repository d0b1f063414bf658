#include "skin/frame/acTitleBar.h"

#include <algorithm>
#include <memory>

#include "framework/Canvas.h"
#include "framework/Exception.h"
#include "framework/Form.h"
#include "platform/gfx/DeviceContext.h"
#include "platform/win/MulDiv.h"
#include "platform/win/SystemInfo.h"
#include "platform/win/Window.h"
#include "skin/core/sCommonData.h"
#include "skin/core/sVclUtils.h"
#include "skin/draw/sGraphUtils.h"
#include "skin/draw/sSkinText.h"
#include "skin/paint/sAlphaGraph.h"
#include "skin/paint/sStretch.h"

namespace skin::frame {

namespace {

// The menu-button picture's frames and the corner sizes it is stretched with.
constexpr int kMenuBtnW = 24, kMenuBtnH = 22;
constexpr gfx::TRect kMenuBtnMargins{8, 2, 8, 4};
// The text and glow of menu items without a section.
constexpr paint::TColor kMenuTextColor = 0xFFFFFF, kMenuGlowColor = 940685;
constexpr int kMenuGlowSize = 2;
// A disabled item is blended back over what it covered with this weight kept of itself.
constexpr int kDisabledWeight = 127;
// The drop-down arrow after the caption of items with a menu.
constexpr char16_t kDownArrow[] = u"\u25BE";

// Three frames side by side: normal (nothing), hot (a light frame over a light veil),
// pressed (a darker one).
gfx::Bitmap MakeDefaultMenuBtn() {
  gfx::Bitmap bmp(kMenuBtnW * 3, kMenuBtnH);
  bmp.Fill(0);
  const gfx::Pixel border[] = {0, 0xFFE8F0F8, 0xFF98A8B8};
  const gfx::Pixel fill[] = {0, 0xFF7C98B4, 0xFF4C6680};
  for (int f = 1; f < 3; ++f)
    for (int y = 0; y < kMenuBtnH; ++y)
      for (int x = 0; x < kMenuBtnW; ++x) {
        const bool edge = x == 0 || y == 0 || x == kMenuBtnW - 1 || y == kMenuBtnH - 1;
        bmp.Set(f * kMenuBtnW + x, y, edge ? border[f] : fill[f]);
      }
  return bmp;
}

fw::TComponent* FormOwner(fw::TComponent* owner) {
  if (!dynamic_cast<fw::TCustomForm*>(owner))
    throw fw::Exception(u"TsTitleBar component may be used with forms only!");
  return owner;
}

// Nine-slice stretch of frame `frame` of pic (margins m) over r of dst, blended by its alpha.
void DrawNineSlice(gfx::Bitmap& dst, const gfx::TRect& r, const gfx::Bitmap& pic, int frameW,
                   int frame, const gfx::TRect& m) {
  if (r.Width() < m.Left + m.Right || r.Height() < m.Top + m.Bottom) return;
  gfx::Bitmap piece(r.Width(), r.Height());
  piece.Fill(0);
  const int sx = frame * frameW, fh = pic.Height();
  const int xs[] = {0, m.Left, frameW - m.Right, frameW};
  const int ys[] = {0, m.Top, fh - m.Bottom, fh};
  const int dxs[] = {0, m.Left, r.Width() - m.Right, r.Width()};
  const int dys[] = {0, m.Top, r.Height() - m.Bottom, r.Height()};
  for (int j = 0; j < 3; ++j)
    for (int i = 0; i < 3; ++i)
      paint::StretchCopy(piece, dxs[i], dys[j], dxs[i + 1] - dxs[i], dys[j + 1] - dys[j], pic,
                         sx + xs[i], ys[j], xs[i + 1] - xs[i], ys[j + 1] - ys[j]);
  paint::PaintBmpRect32(dst, piece, piece.Bounds(), {r.Left, r.Top});
}

int StateImage(const TacTitleBarItem& item, int state, bool enabled) {
  if (!enabled && item.DisabledImageIndex >= 0) return item.DisabledImageIndex;
  if (state == 2 && item.PressedImageIndex >= 0) return item.PressedImageIndex;
  if (state >= 1 && item.HotImageIndex >= 0) return item.HotImageIndex;
  return item.ImageIndex;
}

}  // namespace

// ---- TacItemAnimation -----------------------------------------------------------------------

TacItemAnimation::TacItemAnimation(win::HWND formHandle, win::HWND borderForm,
                                   core::TsCommonData* skinData, TacTitleBarItem& item,
                                   int maxIterations)
    : core::TacSBAnimation(formHandle, borderForm, skinData, &item.Data, maxIterations),
      FItem(item) {}

bool TacItemAnimation::Prepare(int state) {
  const win::HWND on = BorderForm ? BorderForm : FormHandle;
  win::RECT wr{};
  if (!win::GetWindowRect(on, &wr)) return false;
  const gfx::TRect bounds = PBtnData->cpRect.Offset(wr.Left, wr.Top);
  if (bounds.IsEmpty()) return false;
  if (state != 0 || !ABmp) {
    ABmp = paint::CreateBmp32(bounds.Width(), bounds.Height());
    if (FItem.OnInternalDraw) {
      FItem.OnInternalDraw(FItem, *ABmp, ABmp->Bounds());
    } else {
      ABmp->Fill(0xFFFFFF00u);  // yellow
    }
  }
  FAt = {bounds.Left, bounds.Top};
  return true;
}

void StartItemAnimation(TacTitleBarItem& item, int state, int iterations, bool toUp,
                        win::HWND formHandle, win::HWND borderForm, core::TsCommonData* skinData,
                        gfx::TPoint offset) {
  item.Data.cpRect = item.Rect.Offset(offset.X, offset.Y);
  item.Data.cpHitCode = unsigned(acHTItem + item.Index());
  core::StartSBAnimation(
      item.Data, state, iterations, toUp, formHandle, borderForm, skinData, [&](int steps) {
        return std::make_unique<TacItemAnimation>(formHandle, borderForm, skinData, item, steps);
      });
}

// ---- TacTitleBarItem ------------------------------------------------------------------------

TacTitleBarItem::TacTitleBarItem(TsTitleBar& bar, int index) : FBar(bar), FIndex(index) {}

TacTitleBarItem::~TacTitleBarItem() = default;

void TacTitleBarItem::SetState(int state) {
  if (FState == state) return;
  FState = state;
  Invalidate();
}

fw::TFont TacTitleBarItem::InitFont() const {
  win::NONCLIENTMETRICSW ncm;
  win::SystemParametersInfoW(win::SPI_GETNONCLIENTMETRICS, 0, &ncm, 0);
  fw::TFont f;
  f.SetName(ncm.lfCaptionFont.lfFaceName);
  f.SetStyle((ncm.lfCaptionFont.lfWeight >= 700 ? fw::TFontStyles(fw::fsBold) : 0u) |
             (ncm.lfCaptionFont.lfItalic ? fw::TFontStyles(fw::fsItalic) : 0u));
  const fw::TFont& own = FontData.Font;
  if (!FontData.UseSysStyle) f.SetStyle(own.Style());
  if (!FontData.UseSysFontName) f.SetName(own.Name());
  if (!FontData.UseSysSize) {
    f.SetHeight(own.Height());
  } else {
    const core::TsSkinManager* m = FBar.Manager();
    const int step = m ? std::clamp(m->SysFontScale(), 0, 3) : 0;
    f.SetHeight(
        win::MulDiv(ncm.lfCaptionFont.lfHeight, core::aScalePercents[std::size_t(step)], 100));
  }
  f.SetColor(own.Color());
  return f;
}

void TacTitleBarItem::UpdateSize(bool contentOnly) {
  if (!Visible) return;
  gfx::TSize content{0, 0};
  const fw::TImageList* images = FBar.Images;
  if (images && ImageIndex >= 0 && ImageIndex < images->Count())
    content = {images->Width(), images->Height()};
  else if (!Glyph.Empty())
    content = {Glyph.Width() / std::max(1, NumGlyphs), Glyph.Height()};
  const bool hasImage = content.cx > 0;
  const fw::TFont font = InitFont();
  if (!Caption.empty()) {
    const gfx::TSize ts = draw::acGetTextExtent(nullptr, Caption, font.Handle());
    content.cx += (hasImage ? Spacing : 0) + ts.cx + (Style == bsTab ? core::acSpacing : 0);
    content.cy = std::max(content.cy, ts.cy);
  }
  if ((Style == bsButton || Style == bsMenu) && DropdownMenu)
    content.cx += (Style == bsMenu ? core::acSpacing : 1) +
                  draw::acGetTextExtent(nullptr, kDownArrow, font.Handle()).cx + core::acSpacing;
  if (Style == bsMenu || Style == bsTab) ++content.cy;
  FContentSize = content;
  if (contentOnly || Style == bsSpacing || !AutoSize) return;
  Width = std::max(16, (IntXMargin() + FBar.ItemsMargin) * 2 + content.cx);
  Height = std::max(16, content.cy + FBar.ItemsMargin * 2);
}

void TacTitleBarItem::ScaleItem(int newPercent, int oldPercent) {
  if (oldPercent <= 0 || newPercent == oldPercent) return;
  Width = win::MulDiv(Width, newPercent, oldPercent);
  Height = win::MulDiv(Height, newPercent, oldPercent);
  Spacing = win::MulDiv(Spacing, newPercent, oldPercent);
  FontData.Font.SetHeight(win::MulDiv(FontData.Font.Height(), newPercent, oldPercent));
}

void TacTitleBarItem::DoMouseDown(fw::TMouseButton button) {
  if (!Enabled || FPressed) return;
  FPressed = true;
  if (OnMouseDown) OnMouseDown(*this, button);
  if (Style != bsTab || Down) return;
  DoClick();
  if (GroupIndex >= 0) {
    FBar.RaiseGroup(*this);
    Down = true;
  }
  Invalidate();
}

void TacTitleBarItem::DoMouseUp(fw::TMouseButton button) {
  FPressed = false;
  if (OnMouseUp) OnMouseUp(*this, button);
}

void TacTitleBarItem::DoClick() {
  if (OnClick) OnClick(*this);
}

void TacTitleBarItem::Invalidate() {
  if (OnChanged) OnChanged(*this);
  if (FBar.OnChange && !FBar.FUpdating) FBar.OnChange();
}

// ---- TsTitleBar -----------------------------------------------------------------------------

TsTitleBar::TsTitleBar(fw::TComponent* owner)
    : fw::TComponent(FormOwner(owner)), FDefaultMenuBtn(MakeDefaultMenuBtn()) {}

TsTitleBar::~TsTitleBar() {
  Destroying();
}

core::TsSkinManager* TsTitleBar::Manager() const {
  return SkinManager ? SkinManager : core::DefaultManager;
}

TacTitleBarItem& TacTitleItems::Add() {
  FItems.push_back(std::make_unique<TacTitleBarItem>(FBar, Count()));
  return *FItems.back();
}

void TacTitleItems::Clear() {
  FBar.SetHotItem(-1);
  FItems.clear();
}

void TsTitleBar::Notification(fw::TComponent* component, fw::TOperation operation) {
  fw::TComponent::Notification(component, operation);
  if (operation == fw::TOperation::opRemove) {
    if (component == Images) Images = nullptr;
    if (component == SkinManager) SkinManager = nullptr;
    for (auto& item : FItems)
      if (item->DropdownMenu == component) item->DropdownMenu = nullptr;
  }
}

void TsTitleBar::CalcSizes(const gfx::TRect& barRect, int fullRight, int vCenter,
                           bool rightToLeft) {
  FBarRect = barRect;
  FFullRight = fullRight;
  FBarVCenter = vCenter;
  auto alignOf = [&](const TacTitleBarItem& item) {
    if (!rightToLeft) return item.Align;
    return item.Align == tbaLeft ? tbaRight : item.Align == tbaRight ? tbaLeft : item.Align;
  };
  FLeftWidth = 0;
  FRightWidth = RightSpacing;
  FCenterWidth = FCenterWidthS = 0;
  for (auto& item : FItems) {
    if (!item->Visible) continue;
    item->UpdateSize();
    const int w = item->Width + ItemsSpacing;
    switch (alignOf(*item)) {
      case tbaLeft:
        FLeftWidth += w;
        break;
      case tbaRight:
        FRightWidth += w;
        break;
      case tbaCenter:
        FCenterWidth += w;
        break;
      case tbaCenterInSpace:
        FCenterWidthS += w;
        break;
    }
  }
  int pos[4];
  pos[tbaLeft] = barRect.Left;
  pos[tbaRight] = barRect.Right - FRightWidth;
  pos[tbaCenter] = barRect.Left + (fullRight - barRect.Left - FCenterWidth) / 2;
  pos[tbaCenterInSpace] =
      barRect.Left + FLeftWidth +
      (barRect.Right - barRect.Left - FRightWidth - FLeftWidth - FCenterWidthS) / 2;
  const int n = FItems.Count();
  for (int k = 0; k < n; ++k) {
    TacTitleBarItem& item = FItems[rightToLeft ? n - 1 - k : k];
    if (!item.Visible) continue;
    int& x = pos[alignOf(item)];
    int top;
    switch (item.Style) {
      case bsMenu:
        top = barRect.Top;
        break;
      case bsTab:
        top = barRect.Bottom - item.Height;
        break;
      default:
        top = vCenter - item.Height / 2;
        break;
    }
    item.Rect = gfx::RectOfSize(x, top, item.Width, item.Height);
    x += item.Width + ItemsSpacing;
  }
  FCaptionRect = {pos[tbaLeft], barRect.Top, barRect.Right - FRightWidth, barRect.Bottom};
}

int TsTitleBar::ItemAt(gfx::TPoint p) const {
  for (const auto& item : FItems)
    if (item->Visible && item->Rect.Contains(p)) return item->Index();
  return -1;
}

void TsTitleBar::Invalidate() {
  for (auto& item : FItems) item->UpdateSize();
  if (OnChange) OnChange();
}

void TsTitleBar::UpdateScale(int newPercent) {
  if (newPercent <= 0 || newPercent == OldScaleValue) return;
  FUpdating = true;
  for (auto& item : FItems) item->ScaleItem(newPercent, OldScaleValue);
  ItemsMargin = win::MulDiv(ItemsMargin, newPercent, OldScaleValue);
  OldScaleValue = newPercent;
  FUpdating = false;
  Invalidate();
}

fw::TCursor TsTitleBar::SetHotItem(int index) {
  if (index < 0 || index >= FItems.Count() || !FItems[index].Visible) index = -1;
  if (index != FHotItem) {
    if (FHotItem >= 0 && FHotItem < FItems.Count()) {
      TacTitleBarItem& old = FItems[FHotItem];
      old.SetState(0);
      if (old.OnMouseLeave) old.OnMouseLeave(old);
    }
    FHotItem = index;
    if (index >= 0) {
      TacTitleBarItem& item = FItems[index];
      item.SetState(1);
      if (item.OnMouseEnter) item.OnMouseEnter(item);
    }
  }
  return index >= 0 ? FItems[index].Cursor : fw::crDefault;
}

void TsTitleBar::RaiseGroup(const TacTitleBarItem& tab) {
  for (auto& item : FItems)
    if (item.get() != &tab && item->Visible && item->Style == bsTab &&
        item->GroupIndex == tab.GroupIndex && item->Down) {
      item->Down = false;
      item->Invalidate();
    }
}

// ---- Painting -------------------------------------------------------------------------------

namespace {

// The section an item paints: its own when the skin has it, else its style's.
int ItemSection(const data::TacSkinModel& model, const TacTitleBarItem& item) {
  if (!item.SkinSection.empty()) {
    const int own = model.GetSkinIndex(item.SkinSection);
    if (own >= 0) return own;
  }
  switch (item.Style) {
    case bsButton:
      return model.GetSkinIndex("TB_BTN");
    case bsMenu:
      return model.GetSkinIndex("TB_MENUBTN");
    case bsTab:
      return model.GetSkinIndex("TB_TAB");
    default:
      return -1;
  }
}

}  // namespace

void PaintTitleItem(TacTitleBarItem& item, const gfx::TRect& r, gfx::Bitmap& bmp,
                    const TacTitlePaintInfo& info) {
  const gfx::TRect area = gfx::IntersectRects(r, bmp.Bounds());
  if (!item.Visible || area.IsEmpty() || area != r) return;
  const core::TsSkinManager* m = item.Bar().Manager();
  const data::TacSkinModel* model = m ? m->SkinModel() : nullptr;
  const int sec = model ? ItemSection(*model, item) : -1;
  item.SkinIndex = sec;
  const bool enabled = item.Enabled && info.FormEnabled;
  const bool veiled = !enabled || (item.Style == bsMenu && !info.FormActive &&
                                   item.GetState() == 0 && !item.FPressed);
  int state = std::min(item.GetState(), 2);
  if (sec >= 0) state = std::min(state, model->gd[std::size_t(sec)].States - 1);
  state = std::max(state, 0);

  // Colours: the item's own, else those of the section painted behind the text; a button, info
  // item or tab without a section writes on the title itself, in the title's colours.
  paint::TColor color = 0, glowColor = 0;
  int glow = 0;
  const data::TsGeneralData* colors = sec >= 0 ? &model->gd[std::size_t(sec)] : nullptr;
  int colorState = state;
  if (model && (item.Style == bsButton || item.Style == bsInfo || item.Style == bsTab) && !colors &&
      model->IsValidSkinIndex(info.TitleSkinIndex)) {
    colors = &model->gd[std::size_t(info.TitleSkinIndex)];
    colorState = std::min(info.FormActive ? 1 : 0, colors->States - 1);
  }
  if (colors) {
    const data::TsGenState& st = colors->Props[std::size_t(std::clamp(colorState, 0, 2))];
    color = st.FontColor.Color;
    glow = std::min(48, st.GlowSize);
    glowColor = st.GlowColor;
  }
  if (!item.FontData.UseSysColor) color = core::acColorToRGB(item.FontData.Font.Color(), m);
  if (!item.FontData.UseSysGlowing) {
    glow = item.FontData.GlowSize;
    glowColor = core::acColorToRGB(item.FontData.GlowColor, m);
  }

  gfx::Bitmap pic = bmp.Copy(r);
  const gfx::Bitmap under = pic;
  gfx::TRect body = pic.Bounds();
  const int stripBottom = info.StripTop + info.StripHeight - r.Top;  // in pic's rows
  switch (item.Style) {
    case bsMenu:
      body.Bottom = std::min(body.Bottom, stripBottom - 2);
      if (sec < 0) {
        DrawNineSlice(pic, body, item.Bar().DefaultMenuBtn(), kMenuBtnW, state, kMenuBtnMargins);
        color = kMenuTextColor;
        glow = kMenuGlowSize;
        glowColor = kMenuGlowColor;
      } else {
        draw::PaintItem(model, sec, draw::MakeCacheInfo(&under), false, state, body, {0, 0}, &pic);
      }
      break;
    case bsTab:
      body.Top = std::max(body.Top, stripBottom - (info.StripHeight - 2));
      if (state != 2) ++body.Top;
      if (sec >= 0)
        draw::PaintItem(model, sec, draw::MakeCacheInfo(&under), false, state, body, {0, 0}, &pic);
      break;
    case bsButton:
    case bsInfo:
      if (sec >= 0)
        draw::PaintItem(model, sec, draw::MakeCacheInfo(&under), false, state, body, {0, 0}, &pic);
      break;
    case bsSpacing:
      break;
  }

  // The content: the image for the state, then the caption with its glow.
  if (item.Style != bsSpacing) {
    const int margin = item.IntXMargin() + item.Bar().ItemsMargin;
    const int cw = item.FContentSize.cx;
    int x = body.Left + margin;
    if (item.Style == bsTab || item.Alignment == fw::TAlignment::taCenter)
      x = body.Left + (body.Width() - cw) / 2;
    else if (item.Alignment == fw::TAlignment::taRightJustify)
      x = body.Right - margin - cw;
    const int cy = body.Top + body.Height() / 2;
    const fw::TImageList* images = item.Bar().Images;
    const int index = StateImage(item, state, enabled);
    int imageW = 0;
    if (images && index >= 0 && index < images->Count()) {
      imageW = images->Width();
      gfx::DeviceContext dc(pic);
      fw::TCanvas canvas;
      canvas.SetHandle(&dc);
      images->Draw(canvas, x, cy - images->Height() / 2, index);
      canvas.SetHandle(nullptr);
    } else if (!item.Glyph.Empty()) {
      const int frames = std::max(1, item.NumGlyphs);
      imageW = item.Glyph.Width() / frames;
      const int frame = std::min(enabled ? state : frames - 1, frames - 1);
      paint::PaintBmpRect32(pic, item.Glyph,
                            gfx::RectOfSize(frame * imageW, 0, imageW, item.Glyph.Height()),
                            {x, cy - item.Glyph.Height() / 2});
    }
    if (!item.Caption.empty()) {
      const fw::TFont font = item.InitFont();
      const gfx::TSize ts = draw::acGetTextExtent(nullptr, item.Caption, font.Handle());
      const int tx = x + (imageW > 0 ? imageW + item.Spacing : 0);
      const gfx::TRect tr = gfx::RectOfSize(tx, cy - ts.cy / 2, ts.cx, ts.cy);
      const unsigned flags = gfx::DT_SINGLELINE | gfx::DT_NOPREFIX | gfx::DT_LEFT;
      if (glow > 0) {
        paint::TacGlowMask mask;
        paint::acDrawGlowForText(pic, font.Handle(), item.Caption, tr, flags, 0, glow, glowColor,
                                 mask);
      }
      paint::WriteColor(pic, font.Handle(), item.Caption, true, tr, flags, color);
    }
  }
  if (item.OnDrawItem) item.OnDrawItem(item, pic, pic.Bounds());
  // Disabled (and resting menu items of an inactive form) show half of what lies under them.
  if (veiled) paint::SumBmpRect(pic, under, kDisabledWeight, under.Bounds(), {0, 0});
  bmp.CopyFrom(pic, pic.Bounds(), {r.Left, r.Top});
}

}  // namespace skin::frame
