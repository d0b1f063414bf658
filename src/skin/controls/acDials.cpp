#include "skin/controls/acDials.h"

#include <algorithm>

#include "framework/Application.h"
#include "framework/Canvas.h"
#include "framework/Form.h"
#include "framework/TextConv.h"
#include "platform/gfx/Font.h"
#include "platform/backend/Dump.h"
#include "platform/win/ControlCodes.h"
#include "platform/win/Hooks.h"
#include "platform/win/Input.h"
#include "platform/win/MenuWindow.h"
#include "platform/win/MessageBox.h"
#include "platform/win/MessageQueue.h"
#include "platform/win/MulDiv.h"
#include "platform/win/SystemMetrics.h"
#include "platform/win/Paint.h"
#include "platform/win/SystemInfo.h"
#include "platform/win/Window.h"
#include "skin/controls/sSkinMenus.h"
#include "skin/controls/sThirdParty.h"
#include "skin/core/acDialogHook.h"
#include "skin/core/sConst.h"
#include "skin/core/sGraphUtils.h"
#include "skin/core/sMessages.h"
#include "skin/core/sSkinManager.h"
#include "skin/core/sVclUtils.h"
#include "skin/draw/sAlphaGraph.h"
#include "skin/draw/sGraphUtils.h"
#include "skin/draw/sSkinText.h"
#include "skin/frame/acAnimation.h"
#include "skin/frame/acBlendMoving.h"
#include "skin/frame/sCtrlAdapter.h"
#include "skin/frame/sSkinProvider.h"

namespace skin::controls {

namespace sc = skin::core;
namespace sd = skin::data;
namespace draw = skin::draw;
using gfx::TPoint;
using gfx::TRect;
using namespace win;

namespace {

// The shell's request for a window's system menu.

const sd::TacSkinModel* ModelOf(const sc::TsCommonData& cd) {
  const sc::TsSkinManager* m = cd.SkinManager();
  return m && m->Active() ? m->SkinModel() : nullptr;
}

std::u16string Lower(std::u16string s) {
  for (char16_t& c : s)
    if (c >= u'A' && c <= u'Z') c = char16_t(c + 32);
  return s;
}

TRect WindowRectOf(HWND h) {
  RECT r{};
  GetWindowRect(h, &r);
  return r;
}

// The message font at a scale, shared and never destroyed (the windows that take it keep only
// its handle).
gfx::HFONT ScaledMessageFont(int percent) {
  static std::vector<std::pair<int, gfx::HFONT>> fonts;
  for (const auto& [p, f] : fonts)
    if (p == percent) return f;
  NONCLIENTMETRICSW ncm;
  SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, 0, &ncm, 0);
  gfx::LOGFONTW lf = ncm.lfMessageFont;
  lf.lfHeight = MulDiv(lf.lfHeight, percent, 100);
  fonts.emplace_back(percent, gfx::CreateFontIndirectW(lf));
  return fonts.back().second;
}

// The scale a dialog child's parent answers, 100 when it answers none.
int ParentScale(HWND child) {
  const LRESULT s =
      SendMessageW(GetParent(child), sc::SM_ALPHACMD, sc::MakeAlphaCmd(sc::AC_GETSCALE), 0);
  return s > 0 ? int(s) : 100;
}

// A native dialog's record leaves the list and is freed (its wrappers go with it).
void DropNative(TacProvider* p) {
  auto& list = acSupportedList();
  std::erase(list, p);
  delete p;
}

}  // namespace

std::vector<TacProvider*>& acSupportedList() {
  static std::vector<TacProvider*> list;
  return list;
}

// ---- TacProvider ------------------------------------------------------------------------------

TacProvider::TacProvider(fw::TComponent* owner) : fw::TComponent(owner) {}

TacProvider::~TacProvider() {
  Destroying();
  // The record leaves the list; a native dialog's wrappers go with it, children first.
  std::erase(acSupportedList(), this);
  while (!acSkinnedCtrls.empty()) {
    frame::ReleaseWrapper(std::move(acSkinnedCtrls.back()));
    acSkinnedCtrls.pop_back();
  }
  if (ListSW) {
    ListSW->Provider = nullptr;
    // The border window goes at once, even when the wrapper itself is freed later.
    ListSW->FreeExBorders(!WindowGoing);
    // A dialog that stays takes the system's caption again: its own size back too.
    if (!WindowGoing && IsWindow(CtrlHandle)) ListSW->SetScale(100);
    frame::ReleaseWrapper(std::move(ListSW));
    // A dialog that stays (the skin went) loses the skin's corners and repaints plain.
    if (!WindowGoing && IsWindow(CtrlHandle)) {
      SetWindowRgn(CtrlHandle, nullptr, false);
      RedrawWindow(CtrlHandle, nullptr, nullptr,
                   RDW_FRAME | RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
    }
  }
}

void TacProvider::InitForm(fw::TCustomForm& form) {
  sp = frame::TsSkinProvider::CreateRunTime(form);
  if (form.HandleAllocated()) CtrlHandle = form.Handle();
}

bool TacProvider::InitSkin(HWND handle) {
  CtrlHandle = handle;
  sc::TsSkinManager* m = sc::DefaultManager;
  if (ListSW || !m || !m->Active()) return true;
  frame::TacSkinParams params;
  params.SkinSection = "DIALOG";
  ListSW = frame::TacMainWnd::Create<TacDialogWnd>(handle, false, params, m, nullptr);
  ListSW->Provider = this;
  // The skinned dialog's loop is the platform's own.
  SetWindowLongPtrW(handle, GWL_STYLE,
                    GetWindowLongPtrW(handle, GWL_STYLE) & ~LONG_PTR(DS_NOIDLEMSG));
  if (!InitHwndControls(handle)) return false;
  ListSW->ProcessMessage(sc::SM_ALPHACMD, sc::AC_SETNEWSKIN_HI, LPARAM(m));
  return true;
}

bool TacProvider::InitHwndControls(HWND handle) {
  std::vector<HWND> children;
  for (HWND c = GetTopWindow(handle); c; c = GetWindow(c, GW_HWNDNEXT)) children.push_back(c);
  for (HWND c : children) {
    if (!InitHwndControls(c)) return false;
    if ((GetWindowLongPtrW(c, GWL_STYLE) & WS_CHILD) && !AddControl(c)) return false;
  }
  return true;
}

bool TacProvider::AddControl(HWND handle) {
  if (!handle) return false;
  if (frame::Ac_GetScrollWndFromHwnd(handle) || sc::WndIsSkinned(handle)) return true;
  sc::TsSkinManager* m = sc::DefaultManager;
  if (!m) return true;
  const std::u16string cls = Lower(GetClassNameW(handle));
  const auto style = DWORD(GetWindowLongPtrW(handle, GWL_STYLE));
  frame::TacSkinParams params;
  std::unique_ptr<frame::TacMainWnd> w;
  if (cls == u"static") {
    params.SkinSection = "TRANSPARENT";
    if ((style & 3) == 3 || (style & 0xE) == 0xE) {
      // Etched frames ("EDIT") are not made by this platform's dialogs; icons are.
      if (!(GetWindowLongPtrW(handle, GWL_EXSTYLE) & WS_EX_STATICEDGE))
        w = frame::TacMainWnd::Create<TacIconWnd>(handle, false, params, m, nullptr);
    } else if (!((style & 0xD) == 0xD || (style & 0x1F) == 5 || (style & 0x1F) == 6 ||
                 (style & 0x1F) == 11)) {
      w = frame::TacMainWnd::Create<TacStaticWnd>(handle, false, params, m, nullptr);
    }
  } else if (cls == u"button") {
    // Push buttons, with an image or not; the platform makes no check boxes, group boxes or
    // split buttons yet.
    if ((style & 0xFF) <= 1)
      w = frame::TacMainWnd::Create<frame::TacBtnWnd>(handle, false, params, m, nullptr);
    else if ((style & 0xFF & ~win::BS_BITMAP) <= 1)
      w = frame::TacMainWnd::Create<frame::TacBitBtnWnd>(handle, false, params, m, nullptr);
  }
  if (w) acSkinnedCtrls.push_back(std::move(w));
  return true;
}

// ---- TacDialogWnd ------------------------------------------------------------------------------

void TacDialogWnd::AfterCreation() {
  TacScrollWnd::AfterCreation();
  if (const sc::TsSkinManager* m = SkinManager())
    FWantedScale = sc::aScalePercents[std::size_t(m->GetScale())];
  FFormActive = GetActiveWindow() == CtrlHandle;
  UpdateIndexes();
}

void TacDialogWnd::UpdateIndexes() {
  SkinData()->UpdateIndexes();
  const sd::TacSkinModel* model = ModelOf(*SkinData());
  TitleIndex = model ? model->GetSkinIndex("DIALOGTITLE") : -1;
  FCaptionSkinIndex = model ? model->GetSkinIndex("CAPTION") : -1;
}

gfx::Bitmap* TacDialogWnd::Cache() const {
  return SkinData()->CacheBmp();
}

frame::TacExFrame TacDialogWnd::ExFrame() const {
  // Standard, the title (which holds the top border here too) is the window's own.
  const TPoint co = ClientOffset();
  frame::TacExFrame f{co.X, co.Y - co.X, co.X, co.Y, {}};
  if (const sd::TacSkinModel* model = ModelOf(*SkinData()); FBorderForm && model) {
    f.Border = model->CommonSkinData.ExBorderWidth;
    f.Caption = model->CommonSkinData.ExTitleHeight;
    f.Shadow = model->FormShadowSize;
  }
  return f;
}

TPoint TacDialogWnd::CacheOrigin() const {
  const TRect wr = WindowRectOf(CtrlHandle);
  const TPoint at = ExFrame().WindowOffset();
  return {wr.Left - at.X, wr.Top - at.Y};
}

TRect TacDialogWnd::FrameRect() const {
  const frame::TacExFrame f = ExFrame();
  const TRect wr = WindowRectOf(CtrlHandle);
  return {f.Shadow.Left, f.Shadow.Top, f.Width(wr.Width()) - f.Shadow.Right,
          f.Height(wr.Height()) - f.Shadow.Bottom};
}

// Below the top border in the window's own frame; extended, the skin's whole title (which
// holds the top border) moved by its CENTEROFFSET, as a form's.
TRect TacDialogWnd::CaptionBand() const {
  const frame::TacExFrame f = ExFrame();
  const TRect frame = FrameRect();
  if (const sd::TacSkinModel* model = ModelOf(*SkinData()); FBorderForm && model) {
    const int top = f.Shadow.Top + model->CommonSkinData.ExCenterOffs;
    return {frame.Left, top, frame.Right, top + f.Caption};
  }
  return {frame.Left, f.Border, frame.Right, f.Caption};
}

win::HWND TacDialogWnd::ExOwnerWindow() const {
  return !Destroyed() && IsWindow(CtrlHandle) ? CtrlHandle : nullptr;
}

bool TacDialogWnd::ExOwnerEnabled() const {
  return IsWindowEnabled(CtrlHandle);
}

TRect TacDialogWnd::ExClientRect() const {
  RECT client{};
  GetClientRect(CtrlHandle, &client);
  const TPoint co = CacheClientOffset();
  return gfx::RectOfSize(co.X, co.Y, client.Width(), client.Height());
}

int TacDialogWnd::HitTest(TPoint screen) const {
  const TPoint o = CacheOrigin();
  const TPoint p{screen.X - o.X, screen.Y - o.Y};
  if (const int b = ButtonAt(p)) return b;
  if (!FrameRect().Contains(p)) return HTNOWHERE;
  if (IconRect().Contains(p)) return HTSYSMENU;
  if (p.Y < CacheClientOffset().Y) return HTCAPTION;
  return HTCLIENT;
}

// As a form's: only a shown, normal, skinned dialog with a caption, while the manager asks
// for extended borders.
bool TacDialogWnd::NeedExBorders() const {
  const sc::TsSkinManager* m = SkinManager();
  if (!m || !m->ExtendedBorders() || Destroyed() || !Skinned() || !ModelOf(*SkinData()) ||
      !IsWindow(CtrlHandle) || !IsWindowVisible(CtrlHandle) || IsIconic(CtrlHandle) ||
      IsZoomed(CtrlHandle) || BorderStyle() == TacBorderStyle::acbsNone)
    return false;
  const TPoint co = ClientOffset();
  return co.Y > co.X;
}

void TacDialogWnd::InitExBorders(bool redraw) {
  if (!NeedExBorders()) {
    FreeExBorders();
    return;
  }
  if (!FBorderForm) {
    FBorderForm = std::make_unique<frame::TacBorderForm>(*this);
    FBorderForm->CreateNewForm();
    SkinData()->BGChanged = true;
    redraw = true;
  }
  FBorderForm->UpdateExBordersPos(redraw, 255);
  UpdateRegion();
}

// Back to the frame inside the window.
void TacDialogWnd::FreeExBorders(bool repaint) {
  if (!FBorderForm) return;
  FBorderForm.reset();
  SkinData()->BGChanged = true;
  if (repaint && !Destroyed() && IsWindow(CtrlHandle) && PaintAll()) {
    UpdateRegion();
    RedrawWindow(CtrlHandle, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_NOCHILDREN);
  }
}

int TacDialogWnd::TitleHeight() const {
  return ClientOffset().Y;
}

TPoint TacDialogWnd::ClientOffset() const {
  POINT origin{0, 0};
  ClientToScreen(CtrlHandle, &origin);
  const TRect wr = WindowRectOf(CtrlHandle);
  return {origin.X - wr.Left, origin.Y - wr.Top};
}

bool TacDialogWnd::VisibleClose() const {
  return (GetWindowLongPtrW(CtrlHandle, GWL_STYLE) & WS_SYSMENU) != 0;
}

bool TacDialogWnd::VisibleMax() const {
  return VisibleClose() && (GetWindowLongPtrW(CtrlHandle, GWL_STYLE) & WS_MAXIMIZEBOX);
}

bool TacDialogWnd::VisibleMin() const {
  return VisibleClose() && (GetWindowLongPtrW(CtrlHandle, GWL_STYLE) & WS_MINIMIZEBOX);
}

bool TacDialogWnd::VisibleHelp() const {
  return VisibleClose() && (GetWindowLongPtrW(CtrlHandle, GWL_EXSTYLE) & WS_EX_CONTEXTHELP);
}

bool TacDialogWnd::EnabledClose() const {
  if (!VisibleClose() || (GetClassLongPtrW(CtrlHandle, GCL_STYLE) & CS_NOCLOSE)) return false;
  // The program may grey Close in the dialog's system menu: the button and the item follow.
  const HMENU sys = GetSystemMenu(CtrlHandle, false);
  const MenuItem* close = sys ? GetMenuItem(sys, SC_CLOSE, MF_BYCOMMAND) : nullptr;
  return !close || !(close->flags & MF_GRAYED);
}

bool TacDialogWnd::EnabledMax() const {
  // A dialog frame (modal, tool window without sizing) is never maximised.
  const auto style = GetWindowLongPtrW(CtrlHandle, GWL_STYLE);
  const auto ex = GetWindowLongPtrW(CtrlHandle, GWL_EXSTYLE);
  const bool dialogFrame =
      !(style & WS_THICKFRAME) &&
      ((style & DS_MODALFRAME) || (ex & (WS_EX_DLGMODALFRAME | WS_EX_TOOLWINDOW)));
  return VisibleMax() && !IsZoomed(CtrlHandle) && !dialogFrame;
}

bool TacDialogWnd::EnabledMin() const {
  return VisibleMin() && !IsIconic(CtrlHandle);
}

bool TacDialogWnd::EnabledRestore() const {
  return VisibleMax() && (IsIconic(CtrlHandle) || IsZoomed(CtrlHandle));
}

TacBorderStyle TacDialogWnd::BorderStyle() const {
  const auto style = GetWindowLongPtrW(CtrlHandle, GWL_STYLE);
  const auto ex = GetWindowLongPtrW(CtrlHandle, GWL_EXSTYLE);
  const bool sizing = (style & WS_THICKFRAME) != 0;
  if (ex & WS_EX_TOOLWINDOW)
    return sizing ? TacBorderStyle::acbsSizeToolWin : TacBorderStyle::acbsToolWindow;
  if (sizing) return TacBorderStyle::acbsSizeable;
  if ((style & DS_MODALFRAME) || (ex & WS_EX_DLGMODALFRAME)) return TacBorderStyle::acbsDialog;
  if (style & (WS_BORDER | WS_DLGFRAME)) return TacBorderStyle::acbsSingle;
  return TacBorderStyle::acbsNone;
}

TRect TacDialogWnd::IconRect() const {
  const TRect band = CaptionBand();
  const int size = MulDiv(GetSystemMetrics(SM_CXSMICON), FScale, 100);
  if (!VisibleClose() || band.Height() < size) return {};
  const sd::TacSkinModel* model = ModelOf(*SkinData());
  const int left =
      band.Left + ExFrame().Border + (model ? model->CommonSkinData.BILeftMargin : 0) + 2;
  const int top = band.Top + (band.Height() - size) / 2;
  return gfx::RectOfSize(left, top, size, size);
}

bool TacDialogWnd::Enabled(int ht) const {
  switch (ht) {
    case HTCLOSE:
      return EnabledClose();
    case HTMAXBUTTON:
      // Maximise, or restore a maximised dialog.
      return EnabledMax() || (VisibleMax() && IsZoomed(CtrlHandle));
    case HTMINBUTTON:
      return EnabledMin() || (VisibleMin() && IsIconic(CtrlHandle));
    case HTHELP:
      return VisibleHelp();
    default:
      return false;
  }
}

std::vector<int> TacDialogWnd::Buttons() const {
  std::vector<int> out;
  if (VisibleClose()) out.push_back(int(HTCLOSE));
  if (VisibleMax()) out.push_back(int(HTMAXBUTTON));
  if (VisibleMin()) out.push_back(int(HTMINBUTTON));
  if (VisibleHelp()) out.push_back(int(HTHELP));
  return out;
}

int TacDialogWnd::GlyphIndex(int ht) const {
  const auto& glyphs = SkinManager()->ConstData().TitleGlyphs;
  const sd::TacSkinModel* model = ModelOf(*SkinData());
  auto valid = [&](sd::TacTitleGlyph g) {
    const int i = glyphs[std::size_t(g)];
    return model && model->IsValidImgIndex(i) ? i : -1;
  };
  switch (ht) {
    case HTCLOSE: {
      const int alone = VisibleMax() || VisibleMin() ? -1 : valid(sd::tgCloseAlone);
      return alone >= 0 ? alone : valid(sd::tgClose);
    }
    case HTMAXBUTTON:
      return valid(IsZoomed(CtrlHandle) ? sd::tgNormal : sd::tgMax);
    case HTMINBUTTON:
      return valid(IsIconic(CtrlHandle) ? sd::tgNormal : sd::tgMin);
    case HTHELP:
      return valid(sd::tgHelp);
    default:
      return -1;
  }
}

// The row ends BIRightMargin inside the border and grows leftwards: close, maximise, minimise,
// then help after a gap; each button centred in the caption.
TRect TacDialogWnd::ButtonRect(int ht) const {
  const sd::TacSkinModel* model = ModelOf(*SkinData());
  if (!model) return {};
  const TRect band = CaptionBand();
  int right = band.Right - ExFrame().Border - model->CommonSkinData.BIRightMargin;
  bool first = true;
  for (int b : Buttons()) {
    if (b == int(HTHELP))
      right -= sc::acSpacing;
    else if (!first)
      right -= model->CommonSkinData.BISpacing;
    first = false;
    int w = 21, h = 21;
    if (const int i = GlyphIndex(b); i >= 0) {
      w = model->ma[std::size_t(i)].Width;
      h = model->ma[std::size_t(i)].Height;
    }
    if (b == ht) {
      const int top = std::max(0, band.Top + (band.Height() - h) / 2);
      return {right - w, top, right, top + h};
    }
    right -= w;
  }
  return {};
}

int TacDialogWnd::ButtonState(int ht) const {
  return CurrentHT != ht || !Enabled(ht) ? 0 : FPressed ? 2 : 1;
}

WPARAM TacDialogWnd::ButtonCommand(int ht) const {
  switch (ht) {
    case HTMAXBUTTON:
      return IsZoomed(CtrlHandle) ? SC_RESTORE : SC_MAXIMIZE;
    case HTMINBUTTON:
      return IsIconic(CtrlHandle) ? SC_RESTORE : SC_MINIMIZE;
    case HTHELP:
      return SC_CONTEXTHELP;
    default:
      return SC_CLOSE;
  }
}

const sc::TacFormAnimation* TacDialogWnd::DialogEffect(bool show) const {
  const sc::TsSkinManager* m = SkinManager();
  if (!m || !m->Effects().AllowAnimation || !Skinned()) return nullptr;
  const sc::TacFormAnimation& e = show ? m->AnimEffects().DialogShow : m->AnimEffects().DialogHide;
  return e.Active ? &e : nullptr;
}

void TacDialogWnd::ShowAnimated() {
  SkinData()->BGChanged = true;
  RedrawWindow(CtrlHandle, nullptr, nullptr,
               RDW_FRAME | RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
  const sc::TacFormAnimation* show = DialogEffect(true);
  if ((!show ||
       !frame::AnimShowForm(CtrlHandle, *SkinData(), frame::WindowPicture(CtrlHandle, *SkinData()),
                            show->Time, 255, show->Mode)) &&
      IsWindow(CtrlHandle))
    frame::SetFinalOpacity(CtrlHandle, false, 255);
}

void TacDialogWnd::AnimateHide() {
  if (IsWindowVisible(CtrlHandle) && !IsIconic(CtrlHandle))
    if (const sc::TacFormAnimation* hide = DialogEffect(false))
      frame::AnimHideWindow(CtrlHandle, *SkinData(), *hide);
}

bool TacDialogWnd::StartTranslucentMove() {
  const sc::TsSkinManager* m = SkinManager();
  if (!m || IsIconic(CtrlHandle) || IsZoomed(CtrlHandle)) return false;
  const sc::TacBlendOnMoving& effect = m->AnimEffects().BlendOnMoving;
  if (!effect.Active || effect.BlendValue == 255) return false;
  FormState |= 0x80;
  const bool moved = frame::StartBlendOnMoving(CtrlHandle, false, 255, effect, true);
  FormState &= ~0x80u;
  return moved;
}

int TacDialogWnd::ButtonAt(TPoint p) const {
  for (int b : Buttons())
    if (ButtonRect(b).Contains(p)) return b;
  return 0;
}

bool TacDialogWnd::PaintAll() {
  const sd::TacSkinModel* model = ModelOf(*SkinData());
  if (!model || !Skinned() || !IsWindow(CtrlHandle)) return false;
  const TRect wr = WindowRectOf(CtrlHandle);
  if (wr.IsEmpty()) return false;
  sc::TsCommonData& cd = *SkinData();
  if (!cd.CacheBmp()) cd.ClearCache();
  gfx::Bitmap* cache = cd.CacheBmp();
  const frame::TacExFrame ex = ExFrame();
  const int w = ex.Width(wr.Width()), h = ex.Height(wr.Height());
  if (w <= 0 || h <= 0) return false;
  if (cache->Width() != w || cache->Height() != h) {
    *cache = gfx::Bitmap(w, h);
    cd.BGChanged = true;
  }
  if (!cd.BGChanged) return true;
  const int index = cd.SkinIndex;
  auto stateOf = [&](int i) {
    return model->IsValidSkinIndex(i)
               ? std::min(int(FFormActive), model->gd[std::size_t(i)].States - 1)
               : 0;
  };
  const TRect frameR = FrameRect();
  gfx::Bitmap shadow;  // extended: the shadow alone, seen through the frame's corners
  if (FBorderForm) {
    // As a form's: the shadow over the whole picture, then the frame inside the shadow
    // margins; in mode 1 the frame first and the border's picture over it.
    const bool one = frame::ExModeOne(*model);
    cache->Fill(gfx::Pixel{});
    if (!one) {
      frame::PaintExShadow(*model, FFormActive, ex, *cache);
      shadow = *cache;
    }
    gfx::Bitmap back(frameR.Width(), frameR.Height());
    draw::PaintItem(model, index, draw::EmptyCI, true, stateOf(index), back.Bounds(), {0, 0},
                    &back);
    cache->CopyFrom(back, back.Bounds(), {frameR.Left, frameR.Top});
    if (one) frame::PaintExShadow(*model, FFormActive, ex, *cache);
  } else {
    draw::PaintItem(model, index, draw::EmptyCI, true, stateOf(index), cache->Bounds(), {0, 0},
                    cache);
  }
  const TRect strip{frameR.Left, frameR.Top, frameR.Right, CacheClientOffset().Y};
  if (strip.Height() > 0 && model->IsValidSkinIndex(TitleIndex)) {
    gfx::Bitmap title(strip.Width(), strip.Height());
    draw::PaintItem(model, TitleIndex, draw::MakeCacheInfo(cache, strip.Left, strip.Top), true,
                    stateOf(TitleIndex), title.Bounds(), {0, 0}, &title);
    cache->CopyFrom(title, title.Bounds(), {strip.Left, strip.Top});
  }
  const std::vector<int> buttons = Buttons();
  const TRect leftmost = buttons.empty() ? TRect{} : ButtonRect(buttons.back());
  const std::u16string text = GetWindowTextW(CtrlHandle);
  const int border = ex.Border;
  const TRect band = CaptionBand();
  if (band.Height() > 0 && !text.empty()) {
    gfx::DeviceContext dc(*cache);
    fw::TCanvas canvas;
    canvas.SetHandle(&dc);
    NONCLIENTMETRICSW ncm;
    SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, 0, &ncm, 0);
    canvas.Font.SetName(model->CommonSkinData.MainFont.empty()
                            ? ncm.lfCaptionFont.lfFaceName
                            : fw::Utf8ToUtf16(model->CommonSkinData.MainFont));
    canvas.Font.SetHeight(MulDiv(ncm.lfCaptionFont.lfHeight, FScale, 100));
    const TRect icon = IconRect();
    const int left =
        (icon.IsEmpty() ? frameR.Left + border + model->CommonSkinData.BILeftMargin : icon.Right) +
        4;
    const int right = (leftmost.IsEmpty() ? frameR.Right - border : leftmost.Left) - 4;
    const int textH = draw::acTextHeight(canvas, text);
    const int vc = band.Top + band.Height() / 2;
    const TRect r{left, vc - textH / 2, std::max(left, right), vc - textH / 2 + textH};
    const int fontSection = model->IsValidSkinIndex(TitleIndex) ? TitleIndex : index;
    if (model->IsValidSkinIndex(FCaptionSkinIndex)) {
      const TRect behind{r.Left - 4, r.Top - 2,
                         std::min(r.Right, r.Left + draw::acTextWidth(canvas, text)) + 4,
                         r.Bottom + 2};
      gfx::Bitmap back(behind.Width(), behind.Height());
      draw::PaintItem(model, FCaptionSkinIndex, draw::MakeCacheInfo(cache, behind.Left, behind.Top),
                      true, stateOf(FCaptionSkinIndex), back.Bounds(), {0, 0}, &back);
      cache->CopyFrom(back, back.Bounds(), {behind.Left, behind.Top});
    }
    skin::paint::TacGlowMask glow;
    frame::TacKeepAlpha keep(*cache, strip, FBorderForm != nullptr);
    draw::WriteSectionText(
        canvas, text, true, r,
        gfx::DT_SINGLELINE | gfx::DT_VCENTER | gfx::DT_NOPREFIX | gfx::DT_END_ELLIPSIS, *model,
        fontSection, stateOf(fontSection), {}, true, cache, glow);
    canvas.SetHandle(nullptr);
  }
  if (const TRect icon = IconRect(); !icon.IsEmpty())
    if (auto h =
            reinterpret_cast<gfx::HICON>(SendMessageW(CtrlHandle, WM_GETICON, ICON_SMALL2, 0))) {
      gfx::DeviceContext dc(*cache);
      gfx::DrawIconEx(&dc, icon.Left, icon.Top, h, icon.Width(), icon.Height(), gfx::DI_NORMAL);
    }
  for (int b : buttons) {
    const int i = GlyphIndex(b);
    if (i < 0) continue;
    // Lighter at rest on an inactive dialog, and while the button does not answer.
    const int state = ButtonState(b);
    const TRect r = ButtonRect(b);
    draw::DrawSkinGlyph(*cache, {r.Left, r.Top}, state,
                        (!FFormActive && state == 0) || !Enabled(b) ? 2 : 1,
                        model->ma[std::size_t(i)], draw::EmptyCI);
  }
  cd.BGChanged = false;
  if (FBorderForm) {
    if (!shadow.Empty()) frame::ShowShadowInCorners(*model, {index, TitleIndex}, ex.Shadow, *cache, shadow);
    // A picture rebuilt for any reason goes on screen (not again from inside the border's
    // own placement).
    FBorderForm->UpdateExBordersPos(true, 255);
  }
  return true;
}

void TacDialogWnd::UpdateRegion() {
  if (FBorderForm) {
    // The border window shows the frame: the dialog keeps its client area only.
    const TPoint co = ClientOffset();
    RECT client{};
    GetClientRect(CtrlHandle, &client);
    const gfx::Region rgn(gfx::RectOfSize(co.X, co.Y, client.Width(), client.Height()));
    gfx::Region now;
    if (FRegionSet && GetWindowRgn(CtrlHandle, &now) != gfx::RGN_ERROR && now == rgn) return;
    FRegionSet = true;
    SetWindowRgn(CtrlHandle, &rgn, true);
    return;
  }
  // The skin's transparent corners (key-coloured pixels of the frame's corner blocks) are cut
  // out of the window.
  const gfx::Bitmap& pic = *Cache();
  constexpr int kCorner = 16;
  std::vector<TRect> cut;
  const int w = pic.Width(), h = pic.Height();
  for (int y = 0; y < h; ++y) {
    if (y >= kCorner && y < h - kCorner) continue;
    for (int x = 0; x < w; ++x) {
      if (x == kCorner && w - kCorner > x) x = w - kCorner;
      if ((pic.At(x, y) & 0xFFFFFF) == 0xFF00FF) cut.push_back({x, y, x + 1, y + 1});
    }
  }
  gfx::Region rgn = gfx::Region(TRect{0, 0, w, h}).Subtract(gfx::Region::FromRects(cut));
  if (cut.empty()) {
    if (FRegionSet) SetWindowRgn(CtrlHandle, nullptr, true);
    FRegionSet = false;
    return;
  }
  gfx::Region now;
  if (FRegionSet && GetWindowRgn(CtrlHandle, &now) != gfx::RGN_ERROR && now == rgn) return;
  FRegionSet = true;
  SetWindowRgn(CtrlHandle, &rgn, true);
}

void TacDialogWnd::PaintFrame() {
  if (!PaintAll()) return;
  UpdateRegion();
  if (FBorderForm) return;  // the border window shows it
  gfx::HDC dc = GetWindowDC(CtrlHandle);
  if (!dc) return;
  const TPoint co = ClientOffset();
  RECT client;
  GetClientRect(CtrlHandle, &client);
  gfx::ExcludeClipRect(dc, co.X, co.Y, co.X + client.Width(), co.Y + client.Height());
  gfx::DeviceContext from(*Cache());
  gfx::BitBlt(dc, 0, 0, Cache()->Width(), Cache()->Height(), &from, 0, 0, gfx::SRCCOPY);
  ReleaseDC(CtrlHandle, dc);
}

void TacDialogWnd::SetButtonState(int ht, bool pressed) {
  if (CurrentHT == ht && FPressed == pressed) return;
  CurrentHT = ht;
  FPressed = pressed;
  SkinData()->BGChanged = true;
  PaintFrame();
}

void TacDialogWnd::acWndProc(fw::TMessage& m) {
  if (!Destroyed() && m.Msg == sc::SM_ALPHACMD &&
      (sc::WParamHi(m.WParam) == sc::AC_SETNEWSKIN || sc::WParamHi(m.WParam) == sc::AC_REFRESH)) {
    // Another skin: its sections, and the whole window painted again from them.
    UpdateIndexes();
    TacScrollWnd::acWndProc(m);
    if (Destroyed()) return;
    if (const sc::TsSkinManager* manager = SkinManager()) {
      FWantedScale = sc::aScalePercents[std::size_t(manager->GetScale())];
      if (IsWindowVisible(CtrlHandle)) SetScale(FWantedScale);
    }
    // The skin or the manager's ExtendedBorders may have changed: the border is made, renewed
    // or freed, then everything painted again.
    SkinData()->BGChanged = true;
    InitExBorders(true);
    if (IsWindowVisible(CtrlHandle))
      RedrawWindow(CtrlHandle, nullptr, nullptr,
                   RDW_FRAME | RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
    return;
  }
  if (Destroyed() || !Skinned()) {
    TacScrollWnd::acWndProc(m);
    return;
  }
  switch (m.Msg) {
    case sc::SM_ALPHACMD:
      switch (sc::WParamHi(m.WParam)) {
        case sc::AC_GETBG: {
          auto& info = *reinterpret_cast<draw::TacBGInfo*>(m.LParam);
          if (!PaintAll()) break;
          const TPoint co = CacheClientOffset();
          info.BgType = draw::TacBGType::btCache;
          info.Bmp = Cache();
          info.Offset = {info.Offset.X + co.X, info.Offset.Y + co.Y};
          m.Result = 1;
          return;
        }
        case sc::AC_GETSCALE:
          m.Result = FScale;
          return;
        case sc::AC_SETSCALE:
          SetScale(int(m.LParam));
          m.Result = 0;
          return;
        case sc::AC_GETCONTROLCOLOR:
          if (const sd::TacSkinModel* model = ModelOf(*SkinData());
              model && model->IsValidSkinIndex(SkinData()->SkinIndex)) {
            m.Result =
                LRESULT(draw::StateProps(model->gd[std::size_t(SkinData()->SkinIndex)], 0).Color);
            return;
          }
          break;
        default:
          break;
      }
      break;
    case WM_NCPAINT:
      PaintFrame();
      m.Result = 0;
      return;
    case WM_SYSCOMMAND:
    case WM_CONTEXTMENU:
    case WM_POPUPSYSTEMMENU:
      if (SysMenuMessage(m)) return;
      break;
    case WM_COMMAND:
      // The skinned system menu's choice (the dialog owns the menu while it shows): its item,
      // not a control of the dialog with the same number.
      if (SystemMenu && m.LParam == 0 && m.WParamHi() == 0 &&
          SystemMenu->TakeChoice(m.WParamLo()) && SystemMenu->FindItem(m.WParamLo()) &&
          fw::DispatchMenuMessage(m))
        return;
      break;
    case WM_MEASUREITEM:
    case WM_DRAWITEM:
      // The skinned system menu's items measure and draw themselves.
      if (SystemMenu && fw::DispatchMenuMessage(m)) return;
      break;
    case WM_NCACTIVATE:
      FFormActive = m.WParam != 0;
      SkinData()->BGChanged = true;
      PaintFrame();
      m.Result = 1;
      return;
    case WM_ERASEBKGND: {
      if (!PaintAll()) break;
      const TPoint co = CacheClientOffset();
      RECT client;
      GetClientRect(CtrlHandle, &client);
      gfx::DeviceContext from(*Cache());
      gfx::BitBlt(reinterpret_cast<gfx::HDC>(m.WParam), 0, 0, client.Width(), client.Height(),
                  &from, co.X, co.Y, gfx::SRCCOPY);
      m.Result = 1;
      return;
    }
    case WM_PAINT: {
      PAINTSTRUCT ps;
      gfx::HDC dc = BeginPaint(CtrlHandle, &ps);
      if (PaintAll()) {
        const TPoint co = CacheClientOffset();
        RECT client;
        GetClientRect(CtrlHandle, &client);
        gfx::DeviceContext from(*Cache());
        gfx::BitBlt(dc, 0, 0, client.Width(), client.Height(), &from, co.X, co.Y, gfx::SRCCOPY);
      }
      EndPaint(CtrlHandle, &ps);
      if (!Initialized && Provider) {
        // Children made after the dialog's window: wrapped at its first paint.
        Initialized = true;
        Provider->InitHwndControls(CtrlHandle);
      }
      m.Result = 0;
      return;
    }
    case WM_NCCALCSIZE: {
      CallPrevWndProc(m);
      // The scaled caption's room: the client area starts lower.
      if (const int extra = CaptionExtra(); extra > 0) {
        RECT& r = m.WParam ? reinterpret_cast<NCCALCSIZE_PARAMS*>(m.LParam)->rgrc[0]
                           : *reinterpret_cast<RECT*>(m.LParam);
        r.Top = std::min(r.Bottom, r.Top + extra);
      }
      return;
    }
    case WM_SHOWWINDOW:
      // The children are there now: the dialog takes the program's scale before it shows.
      if (m.WParam && FWantedScale != FScale) SetScale(FWantedScale);
      if (m.WParam && (DlgLeft != -1 || DlgTop != -1))
        SetWindowPos(CtrlHandle, nullptr, DlgLeft, DlgTop, 0, 0,
                     SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
      if (m.WParam && !IsWindowVisible(CtrlHandle) && !IsIconic(CtrlHandle) && DialogEffect(true)) {
        // Comes up unseen; the cover fades its picture in once it is shown.
        frame::MakeLayered(CtrlHandle, 0);
        FAnimShowing = true;
      }
      CallPrevWndProc(m);
      if (!m.WParam) FreeExBorders();
      if (m.WParam && !Initialized && Provider) {
        Initialized = true;
        Provider->InitHwndControls(CtrlHandle);
      }
      return;
    case WM_SETTEXT:
    case WM_SIZE:
      CallPrevWndProc(m);
      SkinData()->BGChanged = true;
      PaintFrame();
      return;
    case WM_WINDOWPOSCHANGING:
      if ((reinterpret_cast<WINDOWPOS*>(m.LParam)->flags & SWP_HIDEWINDOW) &&
          IsWindowVisible(CtrlHandle) && !IsIconic(CtrlHandle) && DialogEffect(false))
        AnimClosing = true;
      break;
    case WM_WINDOWPOSCHANGED:
      TacScrollWnd::acWndProc(m);
      if (Destroyed()) return;
      if (FAnimShowing && IsWindowVisible(CtrlHandle)) {
        FAnimShowing = false;
        ShowAnimated();
      } else if (AnimClosing && !IsWindowVisible(CtrlHandle)) {
        AnimClosing = false;
        // The effect may have been switched off since the hide began.
        if (const auto* effect = DialogEffect(false))
          frame::AnimHideWindow(CtrlHandle, *SkinData(), *effect);
      }
      if (Destroyed() || !IsWindow(CtrlHandle)) return;
      // The extended border follows the dialog: made when it shows, moved or renewed with it,
      // freed when it hides.
      if (FBorderForm && IsWindowVisible(CtrlHandle) && NeedExBorders())
        FBorderForm->UpdateExBordersPos(false, 255);
      else
        InitExBorders(true);
      return;
    case WM_NCHITTEST: {
      const POINT p = PointFromLParam(m.LParam);
      if (FBorderForm && !WindowRectOf(CtrlHandle).Contains({p.X, p.Y})) {
        // A point of the extended border (asked for its system menu).
        m.Result = HitTest({p.X, p.Y});
        return;
      }
      CallPrevWndProc(m);
      const TPoint o = CacheOrigin();
      if (const int b = ButtonAt({p.X - o.X, p.Y - o.Y}))
        m.Result = b;
      else if (IconRect().Contains({p.X - o.X, p.Y - o.Y}))
        m.Result = HTSYSMENU;
      else if (m.Result == HTCLOSE || m.Result == HTMAXBUTTON || m.Result == HTMINBUTTON ||
               m.Result == HTHELP || m.Result == HTSYSMENU)
        m.Result = HTCAPTION;  // the system's buttons are not where the skin's are
      return;
    }
    case WM_NCMOUSEMOVE:
      if (!biClicked) {
        const int ht = int(m.WParam);
        SetButtonState(
            ht == HTCLOSE || ht == HTMAXBUTTON || ht == HTMINBUTTON || ht == HTHELP ? ht : 0,
            false);
        TRACKMOUSEEVENT tme;
        tme.dwFlags = TME_LEAVE | TME_NONCLIENT;
        // Extended, the mouse is over the border window, which passes its leave on.
        tme.hwndTrack = FBorderForm && FBorderForm->AForm() && FBorderForm->AForm()->HandleAllocated()
                            ? FBorderForm->AForm()->Handle()
                            : CtrlHandle;
        TrackMouseEvent(&tme);
      }
      CallPrevWndProc(m);
      return;
    case WM_NCMOUSELEAVE:
      if (!biClicked) SetButtonState(0, false);
      CallPrevWndProc(m);
      return;
    case WM_NCLBUTTONDOWN:
      if (m.WParam == WPARAM(HTCAPTION) && StartTranslucentMove()) {
        m.Result = 0;
        return;
      }
      [[fallthrough]];
    case WM_NCLBUTTONDBLCLK:
      if (const int ht = int(m.WParam);
          (ht == HTCLOSE || ht == HTMAXBUTTON || ht == HTMINBUTTON || ht == HTHELP)) {
        // A button that does not answer swallows the press.
        if (Enabled(ht)) {
          biClicked = true;
          SetCapture(CtrlHandle);
          SetButtonState(ht, true);
        }
        m.Result = 0;
        return;
      }
      break;
    case WM_MOUSEMOVE:
      if (biClicked) {
        POINT p = PointFromLParam(m.LParam);
        ClientToScreen(CtrlHandle, &p);
        const TPoint o = CacheOrigin();
        SetButtonState(CurrentHT, ButtonRect(CurrentHT).Contains({p.X - o.X, p.Y - o.Y}));
        return;
      }
      break;
    case WM_LBUTTONUP:
      if (biClicked) {
        biClicked = false;
        const bool over = FPressed;
        const int ht = CurrentHT;
        ReleaseCapture();
        SetButtonState(over ? ht : 0, false);
        if (over) PostMessageW(CtrlHandle, WM_SYSCOMMAND, ButtonCommand(ht), 0);
        return;
      }
      break;
    case WM_CAPTURECHANGED:
      if (biClicked) {
        biClicked = false;
        SetButtonState(0, false);
      }
      break;
    default:
      break;
  }
  TacScrollWnd::acWndProc(m);
}

TacDialogWnd::~TacDialogWnd() = default;

int TacDialogWnd::CaptionExtra() const {
  if (FScale == 100 || !IsWindow(CtrlHandle) || IsIconic(CtrlHandle) ||
      (GetWindowLongPtrW(CtrlHandle, GWL_STYLE) & WS_CAPTION) != WS_CAPTION)
    return 0;
  const bool tool = (GetWindowLongPtrW(CtrlHandle, GWL_EXSTYLE) & WS_EX_TOOLWINDOW) != 0;
  const int sys = GetSystemMetrics(tool ? SM_CYSMCAPTION : SM_CYCAPTION);
  return MulDiv(sys, FScale, 100) - sys;
}

// Everything inside grows by the ratio of the scales, as a scaled form's controls do; the
// window by its client's growth and its caption's, around the same centre and kept on the
// work area.
void TacDialogWnd::SetScale(int percent) {
  if (percent <= 0 || percent == FScale || Destroyed() || !IsWindow(CtrlHandle)) return;
  const int old = FScale;
  const int oldExtra = CaptionExtra();
  std::vector<HWND> children;
  for (HWND c = GetTopWindow(CtrlHandle); c; c = GetWindow(c, GW_HWNDNEXT)) children.push_back(c);
  const gfx::HFONT font = ScaledMessageFont(percent);
  for (HWND c : children) {
    const TRect r = WindowRectOf(c);
    POINT at{r.Left, r.Top};
    ScreenToClient(CtrlHandle, &at);
    SetWindowPos(c, nullptr, MulDiv(at.X, percent, old), MulDiv(at.Y, percent, old),
                 MulDiv(r.Width(), percent, old), MulDiv(r.Height(), percent, old),
                 SWP_NOZORDER | SWP_NOACTIVATE);
    // At 100 % the message font, as the box was made with.
    SendMessageW(c, WM_SETFONT, percent == 100 ? 0 : WPARAM(&font), 0);
  }
  RECT client{};
  GetClientRect(CtrlHandle, &client);
  const TRect wr = WindowRectOf(CtrlHandle);
  FScale = percent;
  const int w = wr.Width() - client.Width() + MulDiv(client.Width(), percent, old);
  const int h = wr.Height() - client.Height() + MulDiv(client.Height(), percent, old) +
                CaptionExtra() - oldExtra;
  RECT work{};
  SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
  const int x = std::max(work.Left, std::min(wr.Left + (wr.Width() - w) / 2, work.Right - w));
  const int y = std::max(work.Top, std::min(wr.Top + (wr.Height() - h) / 2, work.Bottom - h));
  SkinData()->BGChanged = true;
  SetWindowPos(CtrlHandle, nullptr, x, y, w, h,
               SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
}

bool TacDialogWnd::SysMenuMessage(fw::TMessage& m) {
  // Below the icon, else below the title's left end.
  auto belowIcon = [&]() -> POINT {
    const TRect wr = WindowRectOf(CtrlHandle);
    const TRect r = IconRect();
    const TPoint o = CacheOrigin();
    return r.IsEmpty() ? POINT{wr.Left + ClientOffset().X, wr.Top + TitleHeight()}
                       : POINT{o.X + r.Left, o.Y + r.Bottom};
  };
  auto hitTest = [&](POINT p) {
    return int(SendMessageW(CtrlHandle, WM_NCHITTEST, 0, LParamFromPoint(p)));
  };
  const std::optional<POINT> at = frame::SysMenuRequestPoint(m, belowIcon, hitTest);
  if (!at) return false;
  m.Result = 0;
  DropSysMenu(at->X, at->Y);
  return true;
}

void TacDialogWnd::DropSysMenu(int x, int y) {
  if (!SystemMenu) SystemMenu = std::make_unique<TacSystemMenu>(*this);
  SystemMenu->DropDown(x, y);
}

// ---- The dialog's system menu ------------------------------------------------------------------

TacSystemMenu::TacSystemMenu(TacDialogWnd& owner) : FOwner(owner) {}

HWND TacSystemMenu::MenuWindow() const {
  return FOwner.Destroyed() ? nullptr : FOwner.CtrlHandle;
}

sc::TsSkinManager* TacSystemMenu::MenuManager() const {
  return FOwner.SkinManager();
}

void TacSystemMenu::Generate() {
  const HMENU sys = ClearItems();
  AddWindowCommands(sys);
  AddOwnCommands(sys);
  ItemClose = AddCommand(sys, SC_CLOSE, sc::acs_CloseStr, "acIC");
  ItemClose->SetDefault(true);
}

bool TacSystemMenu::VisibleClose() const {
  return FOwner.VisibleClose();
}
bool TacSystemMenu::VisibleMax() const {
  return FOwner.VisibleMax();
}
bool TacSystemMenu::VisibleMin() const {
  return FOwner.VisibleMin();
}
bool TacSystemMenu::EnabledMax() const {
  return FOwner.EnabledMax();
}
bool TacSystemMenu::EnabledMin() const {
  return FOwner.EnabledMin();
}
bool TacSystemMenu::EnabledRestore() const {
  return FOwner.EnabledRestore();
}
bool TacSystemMenu::EnabledClose() const {
  return FOwner.EnabledClose();
}

bool TacSystemMenu::VisibleRestore() const {
  const TacBorderStyle b = FOwner.BorderStyle();
  return FOwner.VisibleClose() &&
         (b == TacBorderStyle::acbsSingle || b == TacBorderStyle::acbsSizeable);
}

bool TacSystemMenu::VisibleSize() const {
  const TacBorderStyle b = FOwner.BorderStyle();
  return b == TacBorderStyle::acbsSingle || b == TacBorderStyle::acbsSizeable ||
         b == TacBorderStyle::acbsSizeToolWin;
}

bool TacSystemMenu::EnabledMove() const {
  return !IsZoomed(FOwner.CtrlHandle);
}

bool TacSystemMenu::EnabledSize() const {
  const TacBorderStyle b = FOwner.BorderStyle();
  return (b == TacBorderStyle::acbsSizeable || b == TacBorderStyle::acbsSizeToolWin) &&
         !IsIconic(FOwner.CtrlHandle) && !IsZoomed(FOwner.CtrlHandle);
}

void TacSystemMenu::UpdateItems(bool full) {
  if (full || !ItemClose) Generate();
  UpdateItemStates();
}

void TacSystemMenu::DropDown(int x, int y) {
  const HWND wnd = MenuWindow();
  if (!wnd) return;
  // Built afresh: the program may have changed the dialog's menu since.
  UpdateItems(true);
  FChoice = 0;
  if (!PopupSkinned(x, y)) {
    detail::ShowSystemMenu(wnd, {x, y});
    return;
  }
  // A choice is posted to the dialog as the menu closes; nothing is posted when it was left.
  MSG posted;
  if (PeekMessageW(&posted, wnd, WM_COMMAND, WM_COMMAND, PM_NOREMOVE) && posted.lParam == 0 &&
      HIWORD(posted.wParam) == 0)
    FChoice = LOWORD(posted.wParam);
}

bool TacSystemMenu::TakeChoice(unsigned id) {
  if (!FChoice || id != FChoice) return false;
  FChoice = 0;
  return true;
}

// ---- Statics
// -------------------------------------------------------------------------------------

void TacStaticWnd::PaintText(gfx::Bitmap& bmp) {
  const std::u16string text = GetWindowTextW(CtrlHandle);
  if (text.empty()) return;
  gfx::DeviceContext dc(bmp);
  fw::TCanvas canvas;
  canvas.SetHandle(&dc);
  frame::SetDialogFont(canvas.Font);
  if (const int scale = ParentScale(CtrlHandle); scale != 100)
    canvas.Font.SetHeight(MulDiv(canvas.Font.Height(), scale, 100));
  // The text takes the font colour of the dialog's section.
  fw::TColor color = fw::clWindowText;
  if (frame::TacMainWnd* parent = frame::Ac_GetScrollWndFromHwnd(GetParent(CtrlHandle)))
    if (const sd::TacSkinModel* model = ModelOf(*parent->SkinData());
        model && model->IsValidSkinIndex(parent->SkinData()->SkinIndex))
      color = fw::TColor(draw::StateProps(model->gd[std::size_t(parent->SkinData()->SkinIndex)], 0)
                             .FontColor.Color);
  canvas.Font.SetColor(color);
  canvas.BrushStyle = fw::TBrushStyle::bsClear;
  const auto style = GetWindowLongPtrW(CtrlHandle, GWL_STYLE);
  TRect r = bmp.Bounds();
  canvas.TextRect(r, text,
                  gfx::DT_LEFT | gfx::DT_WORDBREAK | gfx::DT_EXPANDTABS |
                      ((style & SS_NOPREFIX) ? gfx::DT_NOPREFIX : 0));
  canvas.SetHandle(nullptr);
}

void TacIconWnd::PaintText(gfx::Bitmap& bmp) {
  auto icon = reinterpret_cast<gfx::HICON>(SendMessageW(CtrlHandle, STM_GETICON, 0, 0));
  if (!icon) return;
  gfx::DeviceContext dc(bmp);
  // Its own size at 100 %; scaled, the static's (which grew with the dialog).
  const bool scaled = ParentScale(CtrlHandle) != 100;
  gfx::DrawIconEx(&dc, 0, 0, icon, scaled ? bmp.Width() : 0, scaled ? bmp.Height() : 0,
                  gfx::DI_NORMAL);
}

void TacStaticWnd::Paint(gfx::HDC dc) {
  gfx::Bitmap bmp;
  if (!frame::ParentBackgroundOf(CtrlHandle, nullptr, bmp)) return;
  PaintText(bmp);
  gfx::DeviceContext from(bmp);
  gfx::BitBlt(dc, 0, 0, bmp.Width(), bmp.Height(), &from, 0, 0, gfx::SRCCOPY);
}

void TacStaticWnd::acWndProc(fw::TMessage& m) {
  if (Destroyed() || !Skinned()) {
    TacMainWnd::acWndProc(m);
    return;
  }
  switch (m.Msg) {
    case WM_PAINT: {
      PAINTSTRUCT ps;
      gfx::HDC dc = BeginPaint(CtrlHandle, &ps);
      Paint(dc);
      EndPaint(CtrlHandle, &ps);
      m.Result = 0;
      return;
    }
    case WM_ERASEBKGND:
      m.Result = 1;
      return;
    case WM_SETTEXT:
      CallPrevWndProc(m);
      InvalidateRect(CtrlHandle, nullptr, false);
      return;
    default:
      TacMainWnd::acWndProc(m);
  }
}

// ---- The list and the hook
// --------------------------------------------------------------------------

TacProvider* FindFormInList(HWND handle) {
  for (TacProvider* p : acSupportedList())
    if (p && p->CtrlHandle == handle) return p;
  return nullptr;
}

int VisibleDlgCount() {
  int n = 0;
  for (TacProvider* p : acSupportedList())
    if (p && p->ListSW && !p->ListSW->Destroyed() && IsWindowVisible(p->CtrlHandle)) ++n;
  return n;
}

bool ControlExists(HWND handle, std::u16string_view className) {
  const std::u16string wanted = Lower(std::u16string(className));
  return !EnumChildWindows(
      handle, [&](HWND c, LPARAM) { return Lower(GetClassNameW(c)) != wanted; }, 0);
}

void CleanSupportedList() {
  std::vector<TacProvider*> gone;
  for (TacProvider* p : acSupportedList())
    if (p && !p->Owner() && (!p->ListSW || p->ListSW->Destroyed())) gone.push_back(p);
  for (TacProvider* p : gone) DropNative(p);
}

void FreeSupportedList() {
  std::vector<TacProvider*> list;
  list.swap(acSupportedList());
  for (TacProvider* p : list)
    if (p) delete p;  // a form's record goes from its form's components too
  ClearMnuArray();
}

void UpdateSupportedList() {
  CleanSupportedList();
  const std::vector<TacProvider*> list = acSupportedList();
  for (TacProvider* p : list) {
    if (!p || !p->ListSW || p->ListSW->Destroyed()) continue;
    const LPARAM manager = LPARAM(p->ListSW->SkinManager());
    // The children first: the dialog's repaint then shows them in the new skin too.
    for (auto& w : p->acSkinnedCtrls) {
      if (w->Destroyed()) continue;
      w->SkinData()->UpdateIndexes();  // the children own their data here
      w->ProcessMessage(sc::SM_ALPHACMD, sc::AC_SETNEWSKIN_HI, manager);
    }
    p->ListSW->ProcessMessage(sc::SM_ALPHACMD, sc::AC_SETNEWSKIN_HI, manager);
  }
}

void AddSupportedForm(HWND handle) {
  sc::TsSkinManager* m = sc::DefaultManager;
  if (!m || !fw::Application || fw::Application->HasState(fw::csDestroying)) return;
  if (!IsWindow(handle) || sc::WndIsSkinned(handle)) return;
  CleanSupportedList();
  const auto style = DWORD(GetWindowLongPtrW(handle, GWL_STYLE));
  if ((style & WS_POPUP) && !(style & WS_BORDER)) return;
  if (FindFormInList(handle)) return;
  const std::u16string cls = GetClassNameW(handle);
  if (IsThirdPartySkipForm(cls)) return;
  const sc::TacSet rules = m->SkinningRules();
  auto* form = dynamic_cast<fw::TCustomForm*>(fw::TWinControl::FindControl(handle));
  if (form) {
    if ((form->Tag & frame::ExceptTag) == frame::ExceptTag) return;
    const bool messageForm = form->ClassName() == "TMessageForm";
    if (!(rules & sc::acBit(sc::srStdForms)) &&
        !(messageForm && (rules & sc::acBit(sc::srStdDialogs))))
      return;
    if (frame::TsSkinProvider::GetSkinProvider(*form)) return;
    auto* p = new TacProvider(form);
    acSupportedList().push_back(p);
    p->InitForm(*form);
    return;
  }
  if (cls != WC_DIALOG && cls != u"NativeHWNDHost") return;
  if (!(rules & sc::acBit(sc::srStdDialogs))) return;
  if ((GetWindowLongPtrW(handle, GWL_STYLE) & WS_CHILD) ||
      GetAncestor(handle, GA_PARENT) != GetDesktopWindow())
    return;
  if (VisibleDlgCount() >= ac_DialogsLevel && !ControlExists(handle, u"toolbarwindow32")) return;
  if (m->OnSysDlgInit) {
    bool allow = true;
    m->OnSysDlgInit(m, {handle}, allow);
    if (!allow) return;
  }
  auto* p = new TacProvider(nullptr);
  acSupportedList().push_back(p);
  if (!p->InitSkin(handle)) DropNative(p);
}

LRESULT SkinHookCBT(int code, WPARAM wParam, LPARAM lParam) {
  const LRESULT result = CallNextHookEx(sc::DialogHook(), code, wParam, lParam);
  if (!fw::Application || fw::Application->HasState(fw::csDestroying)) return result;
  const HWND h = HwndFromParam(wParam);
  switch (code) {
    case HCBT_ACTIVATE:
      AddSupportedForm(h);
      break;
    case HCBT_CREATEWND: {
      const CREATESTRUCTW* cs = reinterpret_cast<CBT_CREATEWNDW*>(lParam)->lpcs;
      const std::u16string cls = cs->lpszClass;
      if (cls == WC_DIALOG) {
        AddSupportedForm(h);
      } else if (cls == POPUPMENU_CLASS) {
        AddMenuWindow(h);
      } else if (cls != u"#32768" && cls != u"TPUtilWindow" && cs->style && cs->dwExStyle &&
                 !cs->hwndParent) {
        fw::TCustomForm* main = fw::Application->MainForm();
        if (!main || !main->HandleAllocated() || main->Handle() != h) AddSupportedForm(h);
      }
      break;
    }
    case HCBT_DESTROYWND:
      // A native dialog's record goes with its window (a wrapper whose procedure is running
      // now is freed once it has returned).
      if (TacProvider* p = FindFormInList(h); p && !p->Owner()) {
        // The record goes before the window is hidden: the hide effect starts here.
        if (p->ListSW && !p->ListSW->Destroyed()) p->ListSW->AnimateHide();
        p->WindowGoing = true;
        DropNative(p);
      }
      break;
    default:
      break;
  }
  return result;
}

// ---- The dump
// ----------------------------------------------------------------------------------------

namespace {

void WriteDialog(HWND hwnd, backend::JsonWriter& w) {
  frame::TacMainWnd* wrapper = frame::Ac_GetScrollWndFromHwnd(hwnd);
  if (!wrapper || wrapper->Destroyed() || wrapper->Control()) return;
  if (auto* dlg = dynamic_cast<TacDialogWnd*>(wrapper)) {
    w.Key("provider");
    w.BeginObject();
    w.Key("section");
    w.String(dlg->SkinData()->SkinSection());
    w.Key("captionHeight");
    w.Number(dlg->TitleHeight() - dlg->ClientOffset().X);
    w.Key("borderWidth");
    w.Number(dlg->ClientOffset().X);
    w.Key("buttons");
    w.BeginArray();
    const TPoint o = dlg->CacheOrigin();
    for (int b : dlg->Buttons()) {
      w.BeginObject();
      w.Key("kind");
      w.String(b == int(HTCLOSE)       ? "close"
               : b == int(HTMAXBUTTON) ? "max"
               : b == int(HTMINBUTTON) ? "min"
                                       : "help");
      w.Key("rect");
      frame::WriteRect(w, dlg->ButtonRect(b).Offset(o.X, o.Y));
      w.Key("state");
      w.Number(dlg->ButtonState(b));
      w.Key("enabled");
      w.Bool(dlg->Enabled(b));
      w.EndObject();
    }
    w.EndArray();
    w.Key("active");
    w.Bool(dlg->FormActive());
    w.Key("wrapper");
    w.String(dlg->ClassName());
    w.EndObject();
    return;
  }
  w.Key("wrapper");
  w.String(wrapper->ClassName());
  w.Key("skin");
  w.BeginObject();
  w.Key("section");
  w.String(wrapper->SkinData()->SkinSection());
  if (auto* btn = dynamic_cast<frame::TacBtnWnd*>(wrapper)) {
    w.Key("state");
    w.Number(btn->CurrentState());
  }
  w.EndObject();
}

}  // namespace

void InstallDialogSkinning() {
  static bool done = false;
  if (done) return;
  done = true;
  sc::SetDialogSkinning({SkinHookCBT, FreeSupportedList, UpdateSupportedList, AddSupportedForm});
  backend::AddDumpExtender(WriteDialog);
}

}  // namespace skin::controls
