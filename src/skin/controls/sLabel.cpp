#include "skin/controls/sLabel.h"

#include <algorithm>
#include <utility>

#include "framework/Automation.h"
#include "framework/WinControl.h"
#include "platform/win/Shell.h"
#include "skin/controls/sCommonData.h"
#include "skin/core/sCommonData.h"
#include "skin/core/sGraphUtils.h"
#include "skin/core/sMessages.h"
#include "skin/core/sVclUtils.h"
#include "skin/data/acSkinPack.h"
#include "skin/draw/sGraphUtils.h"
#include "skin/paint/sGraphUtils.h"

namespace skin::controls {

namespace sc = skin::core;
namespace sd = skin::data;

// ---- TsCustomLabel ---------------------------------------------------------------------------

TsCustomLabel::TsCustomLabel(fw::TComponent* owner) : fw::TLabel(owner) {
  SetTransparent(true);
  DefFontHeight = Font().Height();
  FSkinManager.OnFreed = [this] {
    FSkinIndex = -1;
    Invalidate();
  };
}

void TsCustomLabel::Loaded() {
  fw::TLabel::Loaded();
  DefFontHeight = Font().Height();
  if (sc::TsSkinManager* m = SkinManager()) m->UpdateFontName(this);
}

sc::TsSkinManager* TsCustomLabel::SkinManager() const {
  return FSkinManager.Get() ? FSkinManager.Get() : sc::DefaultManager;
}

void TsCustomLabel::SetSkinManager(sc::TsSkinManager* manager) {
  if (manager == FSkinManager.Get()) return;
  FSkinManager.Set(manager);
  FSkinIndex = -1;
  Invalidate();
}

void TsCustomLabel::SetSkinSection(std::string_view section) {
  const std::string upper = sd::UpperCase(section);
  if (upper == FSkinSection) return;
  FSkinSection = upper;
  FSkinIndex = -1;
  Invalidate();
}

bool TsCustomLabel::SkinActive() const {
  const sc::TsSkinManager* m = SkinManager();
  const sd::TacSkinModel* model = m && m->Active() ? m->SkinModel() : nullptr;
  return model && model->CommonSkinData.Active;
}

int TsCustomLabel::SectionIndex() const {
  if (FSkinIndex >= 0) return FSkinIndex;
  if (FSkinSection.empty() || !SkinActive()) return -1;
  return SkinManager()->GetSkinIndex(FSkinSection);
}

fw::TColor TsCustomLabel::TextColor() {
  const sc::TsSkinManager* m = SkinManager();
  const bool active = SkinActive();
  fw::TColor color = active ? m->SkinModel()->Palette[sd::pcLabelText] : Font().Color();
  if (!Enabled()) {
    const fw::TColor main =
        active ? m->SkinModel()->GetGlobalColor() : fw::TColor(fw::ColorToRGB(fw::clBtnFace));
    color = skin::paint::BlendColors(fw::TColor(sc::acColorToRGB(color, m)), main,
                                     sc::DefBlendDisabled);
  }
  return color;
}

void TsCustomLabel::WndProc(fw::TMessage& m) {
  if (m.Msg == sc::SM_ALPHACMD) {
    const bool going = HasState(fw::csDestroying);
    switch (sc::WParamHi(m.WParam)) {
      case sc::AC_CTRLHANDLED:
        m.Result = 1;  // a form's adapter leaves the label's colours alone
        return;
      case sc::AC_REMOVESKIN:
        if (going) return;
        if (sc::TsSkinManager* own = FSkinManager.Get(); own && own->HasState(fw::csDestroying))
          FSkinManager.Set(nullptr);
        if (FSavedParentFont) {
          FSavedParentFont = false;
          SetParentFont(true);
        }
        FSkinIndex = -1;
        Invalidate();
        return;
      case sc::AC_REFRESH:
        if (going) return;
        if (ParentFont()) FSavedParentFont = true;
        FSkinIndex = -1;
        Invalidate();
        return;
      case sc::AC_FONTSCHANGED:
        if (sc::TsSkinManager* manager = SkinManager()) manager->UpdateFontName(this);
        return;
      case sc::AC_GETFONTINDEX:
        // The text stands on the parent: the parent names the section of its colour.
        if (SkinActive() && Parent())
          m.Result = sc::SendAMessage(Parent(), sc::AC_GETFONTINDEX, m.LParam);
        return;
      default:
        break;
    }
  }
  fw::TLabel::WndProc(m);
}

void TsCustomLabel::FontChanged() {
  if (!HasState(fw::csLoading) && !HasState(fw::csDestroying) && !FFontChanging) {
    FFontChanging = true;
    const sc::TsSkinManager* m = SkinManager();
    constexpr sc::TacSet kManagerChanges = sc::acBit(sc::msFontChanging) |
                                           sc::acBit(sc::msSkinLoading) |
                                           sc::acBit(sc::msScaleChanging);
    if (!m || !(m->ManagerState() & kManagerChanges)) DefFontHeight = Font().Height();
    if (AutoSize()) {
      // Room for a larger font first, then the label sizes itself again.
      const int right = Left() + Width();
      SetWidth(Width() * 3 / 2);
      AdjustBounds();
      if (Alignment() == fw::TAlignment::taRightJustify) SetLeft(right - Width());
    }
    FFontChanging = false;
    Invalidate();
    return;
  }
  fw::TLabel::FontChanged();
}

void TsCustomLabel::Paint() {
  const int index = SectionIndex();
  if (index >= 0 && Width() > 0 && Height() > 0) {
    FSkinIndex = index;
    gfx::Bitmap bmp(Width(), Height());
    sc::TacBGInfo bg;
    sc::GetBGInfo(bg, Parent(), false);
    if (bg.BgType == sc::TacBGType::btCache) {
      bg.Offset.X += Left();
      bg.Offset.Y += Top();
    }
    skin::draw::PaintItem(SkinManager()->SkinModel(), index, sc::BGInfoToCI(bg), true, 0,
                          {0, 0, Width(), Height()}, {0, 0}, &bmp);
    Canvas().Draw(0, 0, bmp);
  }
  fw::TLabel::Paint();
  FSkinIndex = -1;
}

void TsCustomLabel::DoDrawText(gfx::TRect& rect, unsigned flags) {
  fw::TCanvas& c = Canvas();
  c.Font = GetCurrentFont();
  if (!(flags & gfx::DT_CALCRECT)) c.Font.SetColor(TextColor());
  DrawCaption(rect, flags);
}

// ---- TsLabel ---------------------------------------------------------------------------------

void TsLabel::SetUseSkinColor(bool use) {
  if (use == FUseSkinColor) return;
  FUseSkinColor = use;
  Invalidate();
}

fw::TColor TsLabel::TextColor() {
  sc::TsSkinManager* m = SkinManager();
  if (FUseSkinColor && SkinActive()) return sc::GetFontColor(this, SectionIndex(), m, nullptr, 0);
  fw::TColor color = Font().Color();
  if (!Enabled()) {
    const fw::TColor back = Parent() ? sc::GetControlColor(Parent()) : Color();
    color = skin::paint::BlendColors(fw::TColor(sc::acColorToRGB(color, m)),
                                     fw::TColor(sc::acColorToRGB(back, m)), sc::DefBlendDisabled);
  }
  return color;
}

// ---- TsHTMLLabel -----------------------------------------------------------------------------

void TsHTMLLabel::SetUseHTML(bool use) {
  if (use == FUseHTML) return;
  FUseHTML = use;
  AdjustBounds();
  Invalidate();
}

std::u16string TsHTMLLabel::GetPlainCaption() const {
  return skin::controls::GetPlainCaption(Caption());
}

gfx::TSize TsHTMLLabel::MarkupExtent(int width) {
  gfx::Bitmap bmp(1, 1);
  fw::TFont font = GetCurrentFont();
  TsHtml html(SkinManager());
  html.Init(bmp, font, Caption(), -1, -1, gfx::TRect{0, 0, std::max(width, 0), 65535});
  std::vector<TacLink> links;
  const gfx::TRect extent = html.HTMLText(links, true);
  return {extent.Right, extent.Bottom};
}

void TsHTMLLabel::DoDrawText(gfx::TRect& rect, unsigned flags) {
  const std::u16string caption = Caption();
  if (!FUseHTML || caption.empty()) {
    TsLabel::DoDrawText(rect, flags);
    return;
  }
  fw::TCanvas& c = Canvas();
  gfx::Bitmap bmp(std::max(1, Width()), std::max(1, Height()));
  fw::TFont font = GetCurrentFont();
  font.SetColor(TextColor());
  TsHtml html(SkinManager());
  if (flags & gfx::DT_CALCRECT) {
    gfx::TRect area = rect;
    if (AutoSize()) area.Right += 65535;  // measured on one line
    html.Init(bmp, font, caption, PressedLink, HotLink, area);
    std::vector<TacLink> links;
    const gfx::TRect extent = html.HTMLText(links, true);
    rect.Right = std::max(rect.Left, extent.Right);
    rect.Bottom = std::max(rect.Top, extent.Bottom);
    return;
  }
  html.Alignment = Alignment();
  html.BidiMode = BiDiMode();
  html.Layout = Layout();
  html.Init(bmp, font, caption, PressedLink, HotLink, rect);
  // The text goes over what the canvas shows there.
  gfx::DeviceContext dc(bmp);
  gfx::BitBlt(&dc, 0, 0, bmp.Width(), bmp.Height(), c.Handle(), 0, 0, gfx::SRCCOPY);
  html.HTMLText(Links, false);
  gfx::BitBlt(c.Handle(), 0, 0, bmp.Width(), bmp.Height(), &dc, 0, 0, gfx::SRCCOPY);
}

int TsHTMLLabel::LinkAt(gfx::TPoint p) const {
  for (std::size_t i = 0; i < Links.size(); ++i)
    if (Links[i].Bounds.Contains(p)) return int(i);
  return -1;
}

void TsHTMLLabel::SetHotLink(int index) {
  if (index == HotLink) return;
  if (HotLink < 0) FSavedCursor = Cursor();
  HotLink = index;
  SetCursor(index >= 0 ? fw::crHandPoint : FSavedCursor);
  Invalidate();
}

void TsHTMLLabel::WndProc(fw::TMessage& m) {
  if (FUseHTML) switch (m.Msg) {
      case win::WM_MOUSEMOVE:
        SetHotLink(LinkAt(win::PointFromLParam(m.LParam)));
        break;
      case win::WM_LBUTTONDOWN:
        if (HotLink >= 0) {
          PressedLink = HotLink;
          Invalidate();
        }
        break;
      case win::WM_LBUTTONUP:
        if (PressedLink >= 0 && !LinkClicking) {
          const int pressed = PressedLink;
          PressedLink = -1;
          Invalidate();
          // Only a release over the link pressed opens it.
          if (LinkAt(win::PointFromLParam(m.LParam)) == pressed) DoClick(pressed);
        }
        break;
      case win::WM_MOUSELEAVE:
      case fw::CM_MOUSELEAVE:
        PressedLink = -1;
        SetHotLink(-1);
        break;
      default:
        break;
    }
  TsLabel::WndProc(m);
}

void TsHTMLLabel::DoClick(int index) {
  if (index < 0 || index >= int(Links.size())) return;
  LinkClicking = true;
  struct TReset {
    bool& flag;
    ~TReset() { flag = false; }
  } reset{LinkClicking};
  std::u16string url = Links[std::size_t(index)].URL;
  bool defaultAction = true;
  if (OnLinkClick) OnLinkClick(this, url, defaultAction);
  if (!url.empty() && defaultAction) win::ShellExecuteW(nullptr, u"open", url, u"", u"", ShowMode);
}

// ---- TsEditLabel -----------------------------------------------------------------------------

TsEditLabel::TsEditLabel(fw::TComponent* owner, TsBoundLabel* bound)
    : TsHTMLLabel(owner), FBound(bound) {
  SetUseHTML(false);
}

TsEditLabel::~TsEditLabel() {
  if (FBound) FBound->FTheLabel = nullptr;
}

void TsEditLabel::Click() {
  TsHTMLLabel::Click();
  if (FBound && FBound->AllowClick() && FBound->FOwnerControl) FBound->FOwnerControl->Click();
}

void TsEditLabel::DblClick() {
  TsHTMLLabel::DblClick();
  if (FBound && FBound->AllowClick() && FBound->FOwnerControl) FBound->FOwnerControl->Click();
}

// ---- Dump ------------------------------------------------------------------------------------

void InstallLabelDump() {
  static bool installed = false;
  if (installed) return;
  installed = true;
  fw::AddControlDumper([](backend::JsonWriter& w, fw::TControl* c) {
    auto* label = dynamic_cast<TsCustomLabel*>(c);
    if (!label) return;
    w.Key("color");
    w.Number((long long)(sc::acColorToRGB(label->TextColor(), label->SkinManager())));
  });
}

}  // namespace skin::controls
