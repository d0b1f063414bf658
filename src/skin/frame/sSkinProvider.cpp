#include "skin/frame/sSkinProvider.h"

#include "skin/frame/sSysMenu.h"

#include <algorithm>

#include "framework/Application.h"
#include "framework/Automation.h"
#include "framework/Canvas.h"
#include "framework/ControlMessages.h"
#include "framework/Menus.h"
#include "framework/TextConv.h"
#include "platform/backend/Dump.h"
#include "platform/gfx/DeviceContext.h"
#include "platform/win/Input.h"
#include "platform/win/KeyboardLayout.h"
#include "platform/win/Keys.h"
#include "platform/win/Mdi.h"
#include "platform/win/MenuWindow.h"
#include "platform/win/MessageQueue.h"
#include "platform/win/Messages.h"
#include "platform/win/MulDiv.h"
#include "platform/win/NonClient.h"
#include "platform/win/Paint.h"
#include "platform/win/Styles.h"
#include "platform/win/SystemInfo.h"
#include "platform/win/SystemMetrics.h"
#include "platform/win/Window.h"
#include "skin/core/acDialogHook.h"
#include "skin/core/sConst.h"
#include "skin/core/sMessages.h"
#include "skin/core/sSkinManager.h"
#include "skin/core/sVclUtils.h"
#include "skin/draw/sAlphaGraph.h"
#include "skin/draw/sGraphUtils.h"
#include "skin/draw/sSkinText.h"
#include "skin/frame/acAnimation.h"
#include "skin/frame/acBlendMoving.h"
#include "skin/frame/acSBUtils.h"
#include "skin/frame/sMDIForm.h"
#include "skin/paint/sGraphUtils.h"

namespace skin::frame {

namespace sc = skin::core;
namespace sd = skin::data;
using gfx::TPoint;
using gfx::TRect;

namespace {

constexpr int kDefaultButtonSize = 21;           // a caption button whose glyph the skin lacks
constexpr int kMdiButtonSize = 16;  // a maximised MDI child's button on the menu line, no glyph
// Steps of a hot or normal fade (one step for the pressed picture).
constexpr int kFadeIterations = 10;

fw::TCustomForm* FormOf(fw::TComponent* owner) {
  return dynamic_cast<fw::TCustomForm*>(owner);
}

const sd::TacSkinModel* ModelOf(const sc::TsCommonData& cd) {
  const sc::TsSkinManager* m = cd.SkinManager();
  return m && m->Active() ? m->SkinModel() : nullptr;
}

win::LONG_PTR StyleOf(win::HWND h) {
  return h ? win::GetWindowLongPtrW(h, win::GWL_STYLE) : 0;
}

TRect WindowRect(win::HWND h) {
  win::RECT r{};
  win::GetWindowRect(h, &r);
  return r;
}

// The glyph a button of kind shows, small for tool windows.
sd::TacTitleGlyph GlyphOf(TacCaptionButtonKind kind, bool big, bool closeAlone, bool zoomed) {
  switch (kind) {
    case cbClose:
      return big ? (closeAlone ? sd::tgCloseAlone : sd::tgClose) : sd::tgSmallClose;
    case cbMax:
      return zoomed ? (big ? sd::tgNormal : sd::tgSmallNormal) : (big ? sd::tgMax : sd::tgSmallMax);
    case cbMin:
      return big ? sd::tgMin : sd::tgSmallMin;
    case cbHelp:
      return big ? sd::tgHelp : sd::tgSmallHelp;
    default:
      return sd::tgNone;
  }
}

constexpr int kHitCodes[cbCount] = {int(win::HTMINBUTTON), int(win::HTMAXBUTTON), int(win::HTHELP),
                                    int(win::HTCLOSE)};

}  // namespace

// ---- Lifecycle ---------------------------------------------------------------------------------

TsSkinProvider::TsSkinProvider(fw::TComponent* owner)
    : TComponent(owner),
      FForm(FormOf(owner)),
      FCommonData(std::make_unique<sc::TsScrollWndData>(this, true)) {
  FAddedTitleFont.SetColor(fw::clNone);
  FCommonData->COC = sc::COC_TsSkinProvider;
  FCommonData->SetSkinSection("FORM");
  for (int k = 0; k < cbCount; ++k) FButtons[std::size_t(k)].cpHitCode = unsigned(kHitCodes[k]);
  if (!FForm) return;  // inert: providers skin forms only
  if (TsSkinProvider* old = GetSkinProvider(*FForm)) {
    // A provider the library made waits for its first frame message; the form's own takes over.
    if (old->FRTInit) {
      delete old;
    } else {
      // The form's window keeps the first provider's skin data as its own.
      FRTEmpty = true;
      DropCommonProp();
      old->FCommonData->InitCommonProp();
      return;
    }
  }
  fw::TCustomForm* form = FForm;
  FCommonData->WndProc = [form](fw::TMessage& m) { form->WindowProc(m); };
  FHook = FForm->HookWindowProc(
      [this](fw::TMessage& m, const fw::TWndNext& next) { NewWndProc(m, next); });
  sc::IntSkinForm(FForm);
  FFormActive = FForm->HandleAllocated() && win::GetActiveWindow() == FForm->Handle();
  if (IsMDIChild()) FFormActive = MDIChildActive();
  FCommonData->InitCommonProp();
}

TsSkinProvider::~TsSkinProvider() {
  FMDIIcons.reset();
  FMDIForm.reset();
  for (TsCaptionButton& b : FButtons) b.cpTimer.reset();
  FFormTimer.reset();
  FBorderForm.reset();
  FAdapter.reset();
  UnlinkTitleBar();
  if (FHook) {
    if (FSkinApplied && !FForm->HasState(fw::csDestroying)) RemoveSkin();
    FForm->UnhookWindowProc(FHook);
    sc::IntUnSkinForm(FForm);
  }
  DropCommonProp();
  Destroying();
}

// The skin data leaves the form's window while the window is still known (once the provider
// or the form is being destroyed the data no longer finds it, and a stale entry would be
// called by the next skin message).
void TsSkinProvider::DropCommonProp() {
  if (!FForm || !FForm->HandleAllocated()) return;
  const win::HWND h = FForm->Handle();
  if (win::GetPropW(h, sc::acDataProp) == static_cast<sc::TacMessageHandler*>(FCommonData.get()))
    win::RemovePropW(h, sc::acDataProp);
}

void TsSkinProvider::Loaded() {
  TComponent::Loaded();
  if (!FHook) return;
  FCommonData->Loaded(false);
  PrepareForm();
}

void TsSkinProvider::Notification(fw::TComponent* component, fw::TOperation operation) {
  fw::TComponent::Notification(component, operation);
  if (operation == fw::TOperation::opInsert)
    if (auto* c = dynamic_cast<fw::TWinControl*>(component))
      WithAdapter([c](TacCtrlAdapter& a) {
        if (a.IsControlSupported(c)) a.AddNewItem(c);
      });
  if (operation == fw::TOperation::opRemove && component == FSysSubMenu.FPopupMenu)
    FSysSubMenu.FPopupMenu = nullptr;
  if (operation == fw::TOperation::opRemove) std::erase(FWindowListItems, component);
  if (operation != fw::TOperation::opRemove || component != FTitleBar) return;
  FTitleBar = nullptr;  // going: its items are no longer touched
  if (FCurrentHT >= acHTItem) FCurrentHT = 0;
  if (FHook && !FForm->HasState(fw::csDestroying)) UpdateFrame();
}

// ---- Control adapter ---------------------------------------------------------------------------

TsSkinManager* TsSkinProvider::AdapterManager() const {
  return FCommonData->SkinManager();
}

void TsSkinProvider::SkinItem(fw::TControl* control, bool& canBeAdded, TacSkinParams& params) {
  if (OnSkinItem) OnSkinItem(control, canBeAdded, params);
  if (canBeAdded && OnSkinItemEx) OnSkinItemEx(control, canBeAdded, params);
}

void TsSkinProvider::AddFormProvider(fw::TCustomForm& form, const std::string& section) {
  if (GetSkinProvider(form)) return;
  auto* p = new TsSkinProvider(&form);
  if (!section.empty()) p->SkinData().SetSkinSection(section);
  p->PrepareForm();
}

// The adapter comes with the first skinned frame or activation and scans the form at once.
void TsSkinProvider::CheckAdapter() {
  if (FAdapter || !Skinned() || !FSkinApplied) return;
  FAdapter = std::make_unique<TacCtrlAdapter>(*this);
  AddAllItems();
}

// A wrapper being made sends messages that come back here as rescans (AC_CONTROLLOADED); one
// running would drop the item still being hooked, so they wait for the adapter's current call.
void TsSkinProvider::WithAdapter(const std::function<void(TacCtrlAdapter&)>& f) {
  if (!FAdapter || FAdapterBusy) return;
  FAdapterBusy = true;
  f(*FAdapter);
  FAdapterBusy = false;
}

void TsSkinProvider::AddAllItems() {
  WithAdapter([](TacCtrlAdapter& a) { a.AddAllItems(); });
}

void TsSkinProvider::SetTitleBar(TsTitleBar* bar) {
  if (bar == FTitleBar) return;
  UnlinkTitleBar();
  FTitleBar = bar;
  if (bar) {
    FreeNotification(bar);
    bar->OnChange = [this] { UpdateFrame(); };
  }
  if (FHook) UpdateFrame();
}

void TsSkinProvider::SetSysSubMenuPopup(fw::TPopupMenu* menu) {
  if (FSysSubMenu.FPopupMenu) RemoveFreeNotification(FSysSubMenu.FPopupMenu);
  FSysSubMenu.FPopupMenu = menu;
  if (menu) FreeNotification(menu);
}

// The bar keeps nothing of the provider: no cue, no fades, no item pictures.
void TsSkinProvider::UnlinkTitleBar() {
  if (!FTitleBar) return;
  TsTitleBar* bar = FTitleBar;
  FTitleBar = nullptr;
  if (FCurrentHT >= acHTItem) FCurrentHT = 0;
  bar->OnChange = nullptr;
  for (auto& item : bar->Items()) {
    item->Data.cpTimer.reset();
    item->OnInternalDraw = nullptr;
  }
  RemoveFreeNotification(bar);
}

TsSkinProvider* TsSkinProvider::CreateRunTime(fw::TCustomForm& form) {
  if (TsSkinProvider* p = GetSkinProvider(form)) return p;
  auto* p = new TsSkinProvider(&form);
  p->FRTInit = true;
  return p;
}

TsThirdPartyList& TsSkinProvider::ThirdParty() {
  if (!FThirdParty) FThirdParty = std::make_unique<TsThirdPartyList>();
  return *FThirdParty;
}

TsSkinProvider* TsSkinProvider::GetSkinProvider(fw::TCustomForm& form) {
  auto* p = reinterpret_cast<sc::TacFormProvider*>(
      form.Perform(sc::SM_ALPHACMD, sc::AC_GETPROVIDER_HI, 0));
  return dynamic_cast<TsSkinProvider*>(p);
}

const fw::TComponent* TsSkinProvider::ProviderManager() const {
  return FCommonData->SkinManager();
}

bool TsSkinProvider::Skinned() const {
  return FHook && FDrawNonClientArea && ModelOf(*FCommonData) &&
         ModelOf(*FCommonData)->IsValidSkinIndex(FCommonData->SkinIndex) &&
         !FForm->HasState(fw::csDestroying);
}

void TsSkinProvider::SetCaptionAlignment(fw::TAlignment alignment) {
  if (FCaptionAlignment == alignment) return;
  FCaptionAlignment = alignment;
  UpdateFrame();
}

void TsSkinProvider::SetAddedTitleText(const std::u16string& text) {
  if (FAddedTitleText == text) return;
  FAddedTitleText = text;
  UpdateFrame();
}

void TsSkinProvider::SetShowMainCaption(bool value) {
  if (FShowMainCaption == value) return;
  FShowMainCaption = value;
  UpdateFrame();
}

void TsSkinProvider::SetWindowAlpha(int alpha) {
  if (!FForm->HandleAllocated()) return;
  if (alpha < 255)
    MakeLayered(FForm->Handle(), alpha);
  else
    DropLayeredStyle(FForm->Handle());
  if (FBorderForm) FBorderForm->UpdateExBordersPos(true, alpha);
}

void TsSkinProvider::FreeGlows() {
  FGlow1 = {};
  FGlow2 = {};
}

void TsSkinProvider::SetDrawNonClientArea(bool value) {
  if (FDrawNonClientArea == value) return;
  FDrawNonClientArea = value;
  if (FHook) ProcessMessage(sc::SM_ALPHACMD, sc::MakeAlphaCmd(sc::AC_SETNCSKINNED), 0);
}

bool TsSkinProvider::HaveSysMenu() const {
  return FForm->BorderStyle() != fw::TFormBorderStyle::bsNone &&
         (FForm->BorderIcons() & fw::biSystemMenu);
}

// The form takes the skin: no system-menu style (the system neither draws nor answers caption
// buttons of its own), the skin's colour, a region; or gives all of it back.
void TsSkinProvider::CheckSysMenu(bool skinned) {
  if (!FForm->HandleAllocated()) return;
  const win::HWND h = FForm->Handle();
  const auto style = StyleOf(h);
  // An MDI child keeps it: the platform puts a maximised child's system menu on the parent's
  // menu bar from it (the provider still paints and answers the child's caption buttons).
  const bool want = (!skinned || IsMDIChild()) && HaveSysMenu();
  if (bool(style & win::WS_SYSMENU) != want)
    win::SetWindowLongPtrW(
        h, win::GWL_STYLE,
        want ? style | win::WS_SYSMENU : style & ~win::LONG_PTR(win::WS_SYSMENU));
}

void TsSkinProvider::InitIndexes() {
  const sd::TacSkinModel* model = ModelOf(*FCommonData);
  FTitleSkinIndex = model ? model->GetSkinIndex("FORMTITLE") : -1;
  FCaptionSkinIndex = model ? model->GetSkinIndex("CAPTION") : -1;
  FHeaderIndex = model ? model->GetSkinIndex("FORMHEADER") : -1;
  FMDIAreaIndex = model ? model->GetSkinIndex("MDIAREA") : -1;
}

void TsSkinProvider::PrepareForm() {
  if (FRTInit || !FHook || FForm->HasState(fw::csLoading)) return;
  FCommonData->UpdateIndexes();
  InitIndexes();
  if (!FForm->HandleAllocated()) return;
  FCommonData->InitCommonProp();  // the window made since carries the skin data
  if (!Skinned()) return;
  FCommonData->Loading = false;
  // A child skinned after it was made missed its activation.
  if (IsMDIChild()) FFormActive = MDIChildActive();
  ApplySkin();
  HookMDI(true);
}

void TsSkinProvider::ApplySkin() {
  CheckSysMenu(true);
  const sd::TacSkinModel* model = ModelOf(*FCommonData);
  if (FUseGlobalColor && !FCommonData->CustomColor() && model) {
    if (!FSkinApplied) FSavedColor = FForm->Color();
    FForm->SetColor(model->GetGlobalColor());
  }
  const bool wasApplied = FSkinApplied;
  FSkinApplied = true;
  FCommonData->BGChanged = true;
  FRgnChanged = true;
  InitMenuLine(true);
  // A scaled caption needs its room.
  if (!wasApplied && ScalePercent() != 100) FrameChanged();
}

void TsSkinProvider::InitMenuLine(bool active) {
  sc::TsSkinManager* m = FCommonData->SkinManager();
  if (!FForm->Menu() || !m) return;
  if (sc::TacMenuPainter* menus = m->SkinableMenus()) menus->InitMenuLine(*FForm->Menu(), active);
}

// Back to the plain frame: the system-menu style, the form's own colour, no region; the
// control adapter and its wrappers go.
void TsSkinProvider::RemoveSkin() {
  HookMDI(false);
  FAdapter.reset();
  FBorderForm.reset();
  for (TsCaptionButton& b : FButtons) {
    b.cpTimer.reset();
    b.cpState = 0;
  }
  FCurrentHT = 0;
  FClicked = false;
  FRects.clear();
  if (FSkinApplied && FSavedColor != fw::clNone) FForm->SetColor(FSavedColor);
  FSavedColor = fw::clNone;
  FSkinApplied = false;
  FCommonData->ClearCache();
  FMenuLineBG = {};
  InitMenuLine(false);
  if (!FForm->HandleAllocated()) return;
  CheckSysMenu(false);
  // The plain frame has the system's caption again.
  if (ScalePercent() != 100) FrameChanged();
  win::SetWindowRgn(FForm->Handle(), nullptr, false);
  win::RedrawWindow(FForm->Handle(), nullptr, nullptr,
                    win::RDW_INVALIDATE | win::RDW_FRAME | win::RDW_ERASE | win::RDW_ALLCHILDREN);
}

void TsSkinProvider::SetAllowExtBorders(bool value) {
  if (FAllowExtBorders == value) return;
  FAllowExtBorders = value;
  InitExBorders();
}

bool TsSkinProvider::NeedExBorders() const {
  const sc::TsSkinManager* m = FCommonData->SkinManager();
  if (!m || !m->ExtendedBorders() || !FAllowExtBorders || !FSkinApplied || !Skinned() ||
      !FForm->HandleAllocated() || FForm->Parent() || IsMDIChild() ||
      FForm->HasState(fw::csDestroying) || FForm->BorderStyle() == fw::TFormBorderStyle::bsNone)
    return false;
  const win::HWND h = FForm->Handle();
  if (!win::IsWindowVisible(h) || win::IsIconic(h)) return false;
  return !win::IsZoomed(h) || !m->Options().NativeBordersMaximized;
}

void TsSkinProvider::InitExBorders(bool redraw) {
  if (!NeedExBorders()) {
    FreeExBorders();
    return;
  }
  if (!FBorderForm) {
    FBorderForm = std::make_unique<TacBorderForm>(*this);
    FBorderForm->CreateNewForm();
    FCommonData->BGChanged = true;
    UpdateRegion(true);
    redraw = true;
  }
  FBorderForm->UpdateExBordersPos(redraw, 255);
}

// Back to the standard frame inside the window.
void TsSkinProvider::FreeExBorders() {
  if (!FBorderForm) return;
  FBorderForm.reset();
  FCommonData->BGChanged = true;
  FRgnChanged = true;
  if (FSkinApplied && FForm->HandleAllocated() && !FForm->HasState(fw::csDestroying))
    UpdateRegion(true);
}

void TsSkinProvider::LoadInit() {
  FRTInit = false;
  PrepareForm();
}

// ---- Geometry ----------------------------------------------------------------------------------

int TsSkinProvider::ScalePercent() const {
  return FCommonData->ScalePercent > 0 ? FCommonData->ScalePercent : 100;
}

int TsSkinProvider::SysCaptionHeight() const {
  const int system = SystemCaptionHeight();
  // An iconic window shows the system's caption only.
  if (system == 0 || !FSkinApplied || win::IsIconic(FForm->Handle())) return system;
  return win::MulDiv(system, ScalePercent(), 100);
}

int TsSkinProvider::SystemCaptionHeight() const {
  if (!FForm->HandleAllocated()) return 0;
  const auto style = StyleOf(FForm->Handle());
  if ((style & win::WS_CAPTION) != win::WS_CAPTION && !win::IsIconic(FForm->Handle())) return 0;
  const auto b = FForm->BorderStyle();
  const bool tool =
      b == fw::TFormBorderStyle::bsToolWindow || b == fw::TFormBorderStyle::bsSizeToolWin;
  return win::GetSystemMetrics(tool && !win::IsIconic(FForm->Handle()) ? win::SM_CYSMCAPTION
                                                                       : win::SM_CYCAPTION);
}

int TsSkinProvider::SysBorderWidth() const {
  if (!FForm->HandleAllocated()) return 0;
  const auto style = StyleOf(FForm->Handle());
  if (style & win::WS_THICKFRAME) return win::GetSystemMetrics(win::SM_CXSIZEFRAME);
  if (style & win::WS_DLGFRAME) return win::GetSystemMetrics(win::SM_CXFIXEDFRAME);
  return 0;
}

int TsSkinProvider::CaptionHeight() const {
  const int sys = SysCaptionHeight();
  const sd::TacSkinModel* model = ModelOf(*FCommonData);
  if (!FBorderForm || sys == 0 || !model) return sys;
  const sd::TsSkinData& v = model->CommonSkinData;
  return win::IsZoomed(FForm->Handle()) ? v.ExMaxHeight : v.ExTitleHeight;
}

int TsSkinProvider::BorderWidth() const {
  const sd::TacSkinModel* model = ModelOf(*FCommonData);
  return FBorderForm && model ? model->CommonSkinData.ExBorderWidth : SysBorderWidth();
}

TRect TsSkinProvider::ShadowSize() const {
  const sd::TacSkinModel* model = ModelOf(*FCommonData);
  return FBorderForm && model ? model->FormShadowSize : TRect{};
}

// Extended, the picture reaches past the window by the difference of the frames and the shadow.
int TsSkinProvider::CaptionWidth() const {
  return ExFrame().Width(FForm->Width());
}

int TsSkinProvider::CacheHeight() const {
  if (!FBorderForm) return FForm->Height();
  return ExFrame().Height(FForm->Height());
}

TacExFrame TsSkinProvider::ExFrame() const {
  return {SysBorderWidth(), SysCaptionHeight(), BorderWidth(), CaptionHeight(), ShadowSize()};
}

win::HWND TsSkinProvider::ExOwnerWindow() const {
  return FForm->HandleAllocated() ? FForm->Handle() : nullptr;
}

bool TsSkinProvider::ExOwnerEnabled() const {
  return FForm->Enabled();
}

TRect TsSkinProvider::ExClientRect() const {
  return gfx::RectOfSize(OffsetX(), OffsetY(), FForm->ClientWidth(), FForm->ClientHeight());
}

int TsSkinProvider::OffsetX() const {
  if (FBorderForm) return ExFrame().ClientOffset().X;
  return (FForm->Width() - FForm->ClientWidth()) / 2;
}

int TsSkinProvider::OffsetY() const {
  if (!FForm->HandleAllocated()) return 0;
  if (FBorderForm) return ExFrame().ClientOffset().Y;
  const bool dlgFrame = (StyleOf(FForm->Handle()) & (win::WS_THICKFRAME | win::WS_DLGFRAME)) != 0;
  return FForm->Height() - FForm->ClientHeight() - (dlgFrame ? BorderWidth() : 0);
}

// Extended, the skin's title holds the top border.
int TsSkinProvider::TitleBottom() const {
  return FBorderForm ? ShadowSize().Top + CaptionHeight() : BorderWidth() + CaptionHeight();
}

// Extended, the caption's centre moves by the skin's CENTEROFFSET.
int TsSkinProvider::VCenter() const {
  if (!FBorderForm) return CaptionHeight() / 2 + BorderWidth() / 2;
  const sd::TacSkinModel* model = ModelOf(*FCommonData);
  return ShadowSize().Top + CaptionHeight() / 2 + (model ? model->CommonSkinData.ExCenterOffs : 0);
}

TRect TsSkinProvider::FrameRect() const {
  const TRect sh = ShadowSize();
  TRect frame{sh.Left, sh.Top, CaptionWidth() - sh.Right, CacheHeight() - sh.Bottom};
  if (ExModeOne())
    if (const sd::TacSkinModel* model = ModelOf(*FCommonData)) {
      const sd::TsSkinData& v = model->CommonSkinData;
      frame = {frame.Left + v.ExShadowOffs, frame.Top + v.ExShadowOffsT,
               frame.Right - v.ExShadowOffsR, frame.Bottom - v.ExShadowOffsB};
    }
  return frame;
}

int TsSkinProvider::MaximizedTitleExcess() const {
  const sd::TacSkinModel* model = ModelOf(*FCommonData);
  const sc::TsSkinManager* m = FCommonData->SkinManager();
  if (!FBorderForm || !model || !m || m->Options().NativeBordersMaximized ||
      SysCaptionHeight() == 0)
    return 0;
  return std::max(0, model->CommonSkinData.ExMaxHeight - SysCaptionHeight() - 4);
}

TPoint TsSkinProvider::CacheOrigin() const {
  const TRect wr = WindowRect(FForm->Handle());
  if (!FBorderForm) return {wr.Left, wr.Top};
  return {wr.Left - FBorderForm->OffsetX(), wr.Top - FBorderForm->OffsetY()};
}

bool TsSkinProvider::IconVisible() const {
  const auto b = FForm->BorderStyle();
  return FShowAppIcon && FTitleIcon.Visible && HaveSysMenu() && CaptionHeight() > 0 &&
         (b == fw::TFormBorderStyle::bsSingle || b == fw::TFormBorderStyle::bsSizeable);
}

TRect TsSkinProvider::IconRect() const {
  if (!IconVisible()) return {};
  const sd::TacSkinModel* model = ModelOf(*FCommonData);
  const int scale = ScalePercent();
  int w = win::MulDiv(win::GetSystemMetrics(win::SM_CXSMICON), scale, 100);
  int h = win::MulDiv(win::GetSystemMetrics(win::SM_CYSMICON), scale, 100);
  if (const gfx::Bitmap& g = FTitleIcon.Glyph; !g.Empty()) {
    w = FTitleIcon.Width > 0 ? win::MulDiv(FTitleIcon.Width, scale, 100) : g.Width();
    h = FTitleIcon.Height > 0 ? win::MulDiv(FTitleIcon.Height, scale, 100) : g.Height();
  }
  const int left =
      BorderWidth() + ShadowSize().Left + (model ? model->CommonSkinData.BILeftMargin : 0);
  return gfx::RectOfSize(left, VCenter() - h / 2, w, h);
}

void TsSkinProvider::SetFormHeaderHeight(int height) {
  height = std::max(0, height);
  if (FHeaderHeight == height) return;
  FHeaderHeight = height;
  FCommonData->BGChanged = true;
  if (FHook && FForm->HandleAllocated() && Skinned())
    win::RedrawWindow(FForm->Handle(), nullptr, nullptr,
                      win::RDW_INVALIDATE | win::RDW_FRAME | win::RDW_ERASE | win::RDW_ALLCHILDREN);
}

// The header band over the top rows of the client area, seen through to the form's picture;
// the controls standing on it take it as their background.
void TsSkinProvider::PaintHeader(gfx::Bitmap& cache) {
  const sd::TacSkinModel* model = ModelOf(*FCommonData);
  if (FHeaderHeight <= 0 || !model->IsValidSkinIndex(FHeaderIndex)) return;
  const TRect band = gfx::IntersectRects(
      gfx::RectOfSize(OffsetX(), OffsetY(), FForm->ClientWidth(), FHeaderHeight), cache.Bounds());
  if (band.IsEmpty()) return;
  gfx::Bitmap pic(band.Width(), band.Height());
  draw::PaintItem(model, FHeaderIndex, draw::MakeCacheInfo(&cache, band.Left, band.Top), true,
                  SectionState(FHeaderIndex), pic.Bounds(), {0, 0}, &pic);
  cache.CopyFrom(pic, pic.Bounds(), {band.Left, band.Top});
}

// The client window of an MDI parent shows this part of the picture (TacMDIWnd).
void TsSkinProvider::PaintMDIArea(gfx::Bitmap& cache) {
  const sd::TacSkinModel* model = ModelOf(*FCommonData);
  if (!IsMDIParent() || !model->IsValidSkinIndex(FMDIAreaIndex)) return;
  const TRect client = WindowRect(FForm->ClientHandle());
  const TPoint origin = CacheOrigin();
  const TRect area = gfx::IntersectRects(client.Offset(-origin.X, -origin.Y), cache.Bounds());
  if (area.IsEmpty()) return;
  gfx::Bitmap pic(area.Width(), area.Height());
  draw::PaintItem(model, FMDIAreaIndex, draw::MakeCacheInfo(&cache, area.Left, area.Top), true,
                  SectionState(FMDIAreaIndex), pic.Bounds(), {0, 0}, &pic);
  cache.CopyFrom(pic, pic.Bounds(), {area.Left, area.Top});
}

// ---- Multiple-document forms -------------------------------------------------------------------

bool TsSkinProvider::IsMDIParent() const {
  return FForm->FormStyle() == fw::TFormStyle::fsMDIForm && FForm->HandleAllocated() &&
         FForm->ClientHandle() && win::IsWindow(FForm->ClientHandle());
}

bool TsSkinProvider::IsMDIChild() const {
  return FForm->FormStyle() == fw::TFormStyle::fsMDIChild && FForm->HandleAllocated() &&
         (win::GetWindowLongPtrW(FForm->Handle(), win::GWL_EXSTYLE) & win::WS_EX_MDICHILD);
}

bool TsSkinProvider::MDIChildActive() const {
  const win::HWND h = FForm->Handle(), client = win::GetParent(h);
  const auto active = win::SendMessageW(client, win::WM_MDIGETACTIVE, 0, 0);
  return win::HwndFromParam(std::uintptr_t(active)) == h &&
         win::GetActiveWindow() == win::GetParent(client);
}

TsSkinProvider* TsSkinProvider::MDIParentProvider() const {
  if (!IsMDIChild()) return nullptr;
  const win::HWND frame = win::GetParent(win::GetParent(FForm->Handle()));
  auto* parent = dynamic_cast<fw::TCustomForm*>(fw::TWinControl::FindControl(frame));
  return parent ? GetSkinProvider(*parent) : nullptr;
}

void TsSkinProvider::HookMDI(bool active) {
  if (FMDIForm && !FMDIForm->Connected()) FMDIForm.reset();
  if (!active || !FHook || !IsMDIParent() || !Skinned() || FForm->HasState(fw::csDestroying)) {
    FMDIForm.reset();
    return;
  }
  if (!FMDIForm) {
    FMDIForm = std::make_unique<TsMDIForm>(*this);
    FMDIForm->ConnectToClient();
  }
  // Children made before the client was wrapped.
  for (int i = 0; fw::TCustomForm* child = FForm->MDIChildren(i); ++i)
    if (child->HandleAllocated()) sc::AddSupportedForm(child->Handle());
}

bool TsSkinProvider::MDIButtonsNeeded() const {
  if (!IsMDIParent() || !FForm->Menu()) return false;
  fw::TCustomForm* child = FForm->ActiveMDIChild();
  return child && child->HandleAllocated() && win::IsZoomed(child->Handle()) &&
         (child->BorderIcons() & fw::biSystemMenu) && GetSkinProvider(*child);
}

void TsSkinProvider::MenuLoopIcons(bool entering) {
  if (!entering) {
    FInMenu = false;
    FMDIIcons.reset();
    return;
  }
  if (FInMenu || !Skinned() || !FSkinApplied || !IsMDIParent()) return;
  fw::TCustomForm* child = FForm->ActiveMDIChild();
  if (!child || !child->HandleAllocated() || !win::IsZoomed(child->Handle())) return;
  FInMenu = true;
  if (!FMDIIcons) FMDIIcons = std::make_unique<TacMDIIcons>(*this);
  FMDIIcons->ShowOverLine();
}

void TsSkinProvider::UpdateMainForm(bool redrawBorder) {
  if (!FForm->HandleAllocated() || FForm->HasState(fw::csDestroying)) return;
  const win::HWND h = FForm->Handle();
  if (!FHook || !Skinned() || !FSkinApplied) {
    win::RedrawWindow(h, nullptr, nullptr,
                      win::RDW_FRAME | win::RDW_INVALIDATE | win::RDW_UPDATENOW);
    return;
  }
  FreeGlows();
  FCommonData->BGChanged = true;
  if (IsMDIParent())
    win::RedrawWindow(FForm->ClientHandle(), nullptr, nullptr,
                      win::RDW_ERASE | win::RDW_FRAME | win::RDW_INVALIDATE | win::RDW_ALLCHILDREN |
                          (redrawBorder ? win::RDW_UPDATENOW : 0));
  NCPaint();
  if (redrawBorder && FBorderForm) FBorderForm->UpdateExBordersPos(true, 255);
}

bool TsSkinProvider::UpdateWindowList(win::HMENU popup) {
  fw::TMainMenu* menu = FForm->Menu();
  fw::TMenuItem* list = FForm->WindowMenu();
  if (!menu || !list) return false;
  const bool windowMenu = popup && menu->SubmenuHandle(list) == popup;
  // The items the program removed from the menu are no longer the list's to free.
  std::vector<fw::TMenuItem*> old;
  for (fw::TMenuItem* item : FWindowListItems)
    if (item->Parent() == list) old.push_back(item);
  FWindowListItems.clear();
  auto isOld = [&](const fw::TMenuItem* item) {
    return std::find(old.begin(), old.end(), item) != old.end();
  };
  sc::TsSkinManager* mgr = FCommonData->SkinManager();
  const bool skinned = mgr && mgr->SkinnedPopups() && Skinned() && FSkinApplied;
  if (!windowMenu || !skinned || !IsMDIParent() || FForm->MDIChildCount() == 0) {
    for (fw::TMenuItem* item : old) delete item;
    return false;
  }
  // The children in the platform's order (their window ids follow their creation), numbered
  // as its list numbers them.
  std::vector<std::pair<win::LONG_PTR, fw::TCustomForm*>> children;
  for (int i = 0; fw::TCustomForm* child = FForm->MDIChildren(i); ++i)
    if (child->HandleAllocated())
      children.emplace_back(win::GetWindowLongPtrW(child->Handle(), win::GWLP_ID), child);
  std::sort(children.begin(), children.end(),
            [](const auto& a, const auto& b) { return a.first < b.first; });
  // The new items come before the old ones go, so that the menu never empties (its handle is
  // the pop-up being opened).
  auto add = [&](const std::u16string& caption, std::intptr_t index) {
    auto* item = new fw::TMenuItem(nullptr);
    item->SetCaption(caption);
    item->Tag = kWindowListTag + index;
    list->Add(item);
    FWindowListItems.push_back(item);
    item->FreeNotification(this);
    return item;
  };
  const fw::TMenuItem* last = nullptr;
  for (int i = 0; i < list->Count(); ++i)
    if (!isOld(list->Items(i))) last = list->Items(i);
  if (!last || !last->IsLine()) add(u"-", 0);
  const fw::TCustomForm* active = FForm->ActiveMDIChild();
  const win::HWND client = FForm->ClientHandle();
  std::intptr_t index = 0;
  for (std::size_t n = 0; n < children.size(); ++n) {
    fw::TCustomForm* child = children[n].second;
    const win::HWND h = child->Handle();
    if (!win::IsWindowVisible(h)) continue;
    std::u16string number;
    for (char d : std::to_string(n + 1)) number += char16_t(d);
    fw::TMenuItem* item = add(u"&" + number + u" " + child->Caption(), index++);
    item->SetChecked(child == active);
    item->OnClick = [h, client](fw::TComponent*) {
      if (!win::IsWindow(h) || win::GetParent(h) != client) return;
      if (win::IsIconic(h)) win::ShowWindow(h, win::SW_RESTORE);
      win::SendMessageW(client, win::WM_MDIACTIVATE, win::WParamFromHwnd(h), 0);
    };
  }
  for (fw::TMenuItem* item : old) delete item;
  // The platform's own entries (and its separator) leave the pop-up: they carry no item.
  for (int i = win::GetMenuItemCount(popup) - 1; i >= 0; --i) {
    const win::MenuItem* it = win::GetMenuItem(popup, win::UINT(i), win::MF_BYPOSITION);
    if (!it || it->data || it->submenu) continue;
    const bool entry = std::any_of(children.begin(), children.end(),
                                   [&](const auto& c) { return win::UINT(c.first) == it->id; });
    if (entry || (it->flags & win::MF_SEPARATOR))
      win::RemoveMenu(popup, win::UINT(i), win::MF_BYPOSITION);
  }
  return true;
}

void TsSkinProvider::NotifyMDIParent(bool wholeClient) {
  TsSkinProvider* parent = MDIParentProvider();
  if (!parent || parent == this || parent->FForm->HasState(fw::csDestroying)) return;
  if (wholeClient) {
    parent->UpdateMainForm(false);
  } else {
    parent->UpdateFrame();
  }
}

void TsSkinProvider::SetTitleIcon(const TsTitleIcon& icon) {
  FTitleIcon = icon;
  UpdateFrame();
}

// The title icon's glyph, its key-coloured pixels left out, alpha-blended into the icon's
// place (stretched to it); without a glyph the form's small icon.
void TsSkinProvider::DrawAppIcon(gfx::Bitmap& cache) {
  const TRect icon = IconRect();
  if (icon.IsEmpty()) return;
  gfx::DeviceContext dc(cache);
  if (FTitleIcon.Glyph.Empty()) {
    const auto h = reinterpret_cast<gfx::HICON>(
        win::SendMessageW(FForm->Handle(), win::WM_GETICON, win::ICON_SMALL2, 0));
    gfx::DrawIconEx(&dc, icon.Left, icon.Top, h, icon.Width(), icon.Height(), gfx::DI_NORMAL);
    return;
  }
  gfx::Bitmap glyph = FTitleIcon.Glyph;
  for (int y = 0; y < glyph.Height(); ++y)
    for (int x = 0; x < glyph.Width(); ++x) {
      const gfx::Pixel p = glyph.At(x, y);
      glyph.Set(x, y, (p & 0xFFFFFF) == paint::kTransKey ? 0 : p | 0xFF000000);
    }
  fw::TCanvas canvas;
  canvas.SetHandle(&dc);
  canvas.StretchDraw(icon, glyph, true);
  canvas.SetHandle(nullptr);
}

void TsSkinProvider::SetShowAppIcon(bool value) {
  if (FShowAppIcon == value) return;
  FShowAppIcon = value;
  UpdateFrame();
}

bool TsSkinProvider::BigButtons() const {
  const auto b = FForm->BorderStyle();
  return b == fw::TFormBorderStyle::bsSingle || b == fw::TFormBorderStyle::bsSizeable ||
         b == fw::TFormBorderStyle::bsDialog;
}

bool TsSkinProvider::ButtonVisible(TacCaptionButtonKind kind) const {
  const auto b = FForm->BorderStyle();
  const bool normalFrame =
      b == fw::TFormBorderStyle::bsSingle || b == fw::TFormBorderStyle::bsSizeable;
  const bool iconic = FForm->HandleAllocated() && win::IsIconic(FForm->Handle());
  switch (kind) {
    case cbClose:
      return HaveSysMenu();
    case cbMax:
      return HaveSysMenu() && ((normalFrame && (FForm->BorderIcons() & fw::biMaximize)) || iconic);
    case cbMin:
      return HaveSysMenu() && ((normalFrame && (FForm->BorderIcons() & fw::biMinimize)) || iconic);
    case cbHelp:
      return HaveSysMenu() && (FForm->BorderIcons() & fw::biHelp) &&
             !(FForm->BorderIcons() & (fw::biMinimize | fw::biMaximize));
    default:
      return false;
  }
}

const paint::TsMaskData* TsSkinProvider::GlyphMask(const TsCaptionButton& btn) const {
  const sd::TacSkinModel* model = ModelOf(*FCommonData);
  if (!model || btn.cpGlyphType >= sd::tgNone) return nullptr;
  const int i = FCommonData->SkinManager()->ConstData().TitleGlyphs[std::size_t(btn.cpGlyphType)];
  return model->IsValidImgIndex(i) ? &model->ma[std::size_t(i)] : nullptr;
}

int TsSkinProvider::SysButtonWidth(const TsCaptionButton& btn) const {
  const paint::TsMaskData* md = GlyphMask(btn);
  return md ? md->Width : kDefaultButtonSize;
}

int TsSkinProvider::ButtonHeight(const TsCaptionButton& btn) const {
  const paint::TsMaskData* md = GlyphMask(btn);
  return md ? md->Height : kDefaultButtonSize;
}

bool TsSkinProvider::IsButtonHT(int ht) const {
  return ht == win::HTMINBUTTON || ht == win::HTMAXBUTTON || ht == win::HTCLOSE ||
         ht == win::HTHELP || (ht >= HTUDBTN && ht < HTUDBTN + TitleButtonCount()) || ItemByHT(ht);
}

TsTitleButton& TsSkinProvider::AddTitleButton() {
  FTitleButtons.push_back(std::make_unique<TsTitleButton>());
  FCommonData->BGChanged = true;
  return *FTitleButtons.back();
}

const paint::TsMaskData* TsSkinProvider::TitleButtonMask() const {
  const sd::TacSkinModel* model = ModelOf(*FCommonData);
  if (!model) return nullptr;
  const int i = FCommonData->SkinManager()->ConstData().TitleGlyphs[sd::tgUser];
  return model->IsValidImgIndex(i) ? &model->ma[std::size_t(i)] : nullptr;
}

int TsSkinProvider::UserButtonWidth(const TsTitleButton& btn) const {
  const paint::TsMaskData* md = TitleButtonMask();
  return std::max(btn.Glyph.Empty() ? 0 : btn.Glyph.Width() + 2,
                  md ? md->Width : kDefaultButtonSize);
}

// The button row ends at the right of the caption and grows leftwards: close, maximise,
// minimise, then help after a gap.
void TsSkinProvider::CalcButtons() {
  const sd::TacSkinModel* model = ModelOf(*FCommonData);
  const sd::TsSkinData* values = model ? &model->CommonSkinData : nullptr;
  const bool big = BigButtons();
  const bool zoomed = FForm->HandleAllocated() && win::IsZoomed(FForm->Handle());
  const bool closeAlone = !ButtonVisible(cbMax) && !ButtonVisible(cbMin);
  const int spacing = big && values ? values->BISpacing : 0;
  int right = CaptionWidth() - (values ? values->BIRightMargin : 0) - std::max(4, BorderWidth()) -
              ShadowSize().Right;
  const int vcenter = VCenter();
  bool first = true;
  for (TacCaptionButtonKind kind : {cbClose, cbMax, cbMin, cbHelp}) {
    TsCaptionButton& b = FButtons[kind];
    b.cpGlyphType = GlyphOf(kind, big, closeAlone, zoomed);
    b.cpHaveAlignment = big;
    if (!ButtonVisible(kind)) {
      b.cpRect = {right, 0, right, 0};
      continue;
    }
    if (kind == cbHelp)
      right -= sc::acSpacing;
    else if (!first)
      right -= spacing;
    first = false;
    const int w = SysButtonWidth(b), h = ButtonHeight(b);
    const int top = b.cpHaveAlignment && values && values->BIVAlign == 1
                        ? TitleBottom() - CaptionHeight() + values->BITopMargin
                        : vcenter - h / 2;
    b.cpRect = {right - w, top, right, top + h};
    right -= w;
  }
  // User buttons after a further gap, each placed like a system button.
  const paint::TsMaskData* mask = TitleButtonMask();
  bool gap = true;
  for (int i = 0; i < TitleButtonCount(); ++i) {
    TsTitleButton& t = TitleButton(i);
    TsCaptionButton& b = t.Data;
    b.cpHitCode = unsigned(HTUDBTN + i);
    b.cpGlyphType = t.UseSkinData ? sd::tgUser : sd::tgNone;
    if (!t.Visible) {
      b.cpRect = {right, 0, right, 0};
      continue;
    }
    right -= gap ? UserButtonsOffset : spacing;
    gap = false;
    const int w = UserButtonWidth(t);
    const int h = mask ? mask->Height : kDefaultButtonSize;
    b.cpRect = {right - w, vcenter - h / 2, right, vcenter - h / 2 + h};
    right -= w;
  }
  CalcTitleBar();
}

// The title bar gets the title rows between the icon and the buttons, 6 pixels in from each
// end (6 more on the left when an item stands there), and lays its items out itself.
void TsSkinProvider::CalcTitleBar() {
  if (!FTitleBar) return;
  const sd::TacSkinModel* model = ModelOf(*FCommonData);
  const TRect icon = IconRect();
  int left = icon.IsEmpty() ? BorderWidth() + ShadowSize().Left +
                                  (model ? model->CommonSkinData.BILeftMargin : 0)
                            : icon.Right;
  int right = CaptionWidth() - std::max(4, BorderWidth()) - ShadowSize().Right;
  auto leftOf = [&](const TsCaptionButton& b) {
    if (b.cpRect.Right > b.cpRect.Left) right = std::min(right, b.cpRect.Left);
  };
  for (const TsCaptionButton& b : FButtons) leftOf(b);
  for (const auto& t : FTitleButtons) leftOf(t->Data);
  left += UserButtonsOffset;
  for (const auto& item : FTitleBar->Items())
    if (item->Visible && item->Align == tbaLeft) {
      left += UserButtonsOffset;
      break;
    }
  right -= UserButtonsOffset;
  const TRect strip{left, BorderWidth(), std::max(left, right), TitleBottom()};
  FTitleBar->CalcSizes(strip, strip.Right, VCenter(), false);
  // A fade shows the item as the frame paints it.
  for (auto& item : FTitleBar->Items())
    item->OnInternalDraw = [this](TacTitleBarItem& it, gfx::Bitmap& bmp, const TRect& r) {
      if (FTitleBG.Empty()) return;
      bmp.CopyFrom(FTitleBG, it.Rect, {r.Left, r.Top});
      TacTitlePaintInfo info = TitlePaintInfo();
      info.StripTop -= it.Rect.Top - r.Top;
      PaintTitleItem(it, r, bmp, info);
    };
}

// ---- Painting ----------------------------------------------------------------------------------

int TsSkinProvider::SectionState(int skinIndex) const {
  const sd::TacSkinModel* model = ModelOf(*FCommonData);
  if (!model || !model->IsValidSkinIndex(skinIndex)) return 0;
  return std::min(int(FFormActive), model->gd[std::size_t(skinIndex)].States - 1);
}

// Whether the form's section looks different when the form is active: more than one state,
// or a border picture with more than one image. A form without a section always repaints.
bool TsSkinProvider::ActivationShows() const {
  const sd::TacSkinModel* model = ModelOf(*FCommonData);
  const int i = FCommonData->SkinIndex;
  if (!model || !model->IsValidSkinIndex(i)) return true;
  const sd::TsGeneralData& gd = model->gd[std::size_t(i)];
  return gd.States > 1 || (model->IsValidImgIndex(gd.BorderIndex) &&
                           model->ma[std::size_t(gd.BorderIndex)].ImageCount > 1);
}

bool TsSkinProvider::PaintAll() {
  const sd::TacSkinModel* model = ModelOf(*FCommonData);
  if (!Skinned() || FForm->HasState(fw::csLoading) || !FForm->HandleAllocated()) return false;
  gfx::Bitmap* cache = FCommonData->CacheBmp();
  const int w = CaptionWidth(), h = CacheHeight();
  if (w <= 0 || h <= 0) return false;
  if (!cache) {
    FCommonData->ClearCache();
    cache = FCommonData->CacheBmp();
  }
  if (cache->Width() != w || cache->Height() != h) {
    *cache = gfx::Bitmap(w, h);
    FCommonData->BGChanged = true;
  }
  if (!FCommonData->BGChanged) return true;
  CalcButtons();
  const int state = SectionState(FCommonData->SkinIndex);
  gfx::Bitmap shadow;  // extended: the shadow alone, seen through the frame's corners
  if (FBorderForm) {
    // The shadow over the whole picture, then the frame inside the shadow margins; in mode 1
    // the frame first and the border's picture over it.
    const TRect sh = ShadowSize();
    cache->Fill(gfx::Pixel{});
    if (!ExModeOne()) {
      PaintShadow(*cache);
      shadow = *cache;
    }
    gfx::Bitmap frame(w - sh.Left - sh.Right, h - sh.Top - sh.Bottom);
    draw::PaintItem(model, FCommonData->SkinIndex, draw::EmptyCI, true, state, frame.Bounds(),
                    {0, 0}, &frame);
    cache->CopyFrom(frame, frame.Bounds(), {sh.Left, sh.Top});
    if (ExModeOne()) PaintShadow(*cache);
  } else {
    draw::PaintItem(model, FCommonData->SkinIndex, draw::EmptyCI, true, state, cache->Bounds(),
                    {0, 0}, cache);
  }
  PaintHeader(*cache);
  PaintMDIArea(*cache);
  if (CaptionHeight() > 0) {
    PaintTitle(*cache);
    DrawAppIcon(*cache);
    if (!FTitleBar || FTitleBar->ShowCaption) {
      const TRect sh = ShadowSize();
      TacKeepAlpha keep(*cache, {sh.Left, sh.Top, w - sh.Right, TitleBottom()}, FBorderForm != nullptr);
      PaintText(*cache);
    }
    PaintTitleItems(*cache);
    SaveBGForBtns(*cache);
    for (TsCaptionButton& b : FButtons)
      if (b.cpRect.Right > b.cpRect.Left) PaintButton(*cache, b, b.cpTimer ? 0 : b.cpState);
    for (auto& t : FTitleButtons)
      if (t->Data.cpRect.Right > t->Data.cpRect.Left) PaintUserButton(*cache, *t, t->Data.cpState);
  }
  PaintMenuLine(*cache, true);
  FCommonData->BGChanged = false;
  if (FBorderForm) {
    if (!ExModeOne()) ShowShadowInCorners(*cache, shadow);
    // A picture rebuilt for any reason (the client's paint too) goes on screen (not again
    // from inside the border's own placement).
    FBorderForm->UpdateExBordersPos(true, 255);
  }
  return true;
}

bool TsSkinProvider::ExModeOne() const {
  const sd::TacSkinModel* model = ModelOf(*FCommonData);
  return FBorderForm && model && frame::ExModeOne(*model);
}

void TsSkinProvider::PaintShadow(gfx::Bitmap& cache) {
  PaintExShadow(*ModelOf(*FCommonData), FFormActive, ExFrame(), cache);
}

void TsSkinProvider::ShowShadowInCorners(gfx::Bitmap& cache, const gfx::Bitmap& shadow) const {
  frame::ShowShadowInCorners(*ModelOf(*FCommonData), {FCommonData->SkinIndex, FTitleSkinIndex},
                             ShadowSize(), cache, shadow);
}

TacTitlePaintInfo TsSkinProvider::TitlePaintInfo() const {
  return {FTitleSkinIndex, FFormActive, FForm->Enabled(), CaptionHeight(), BorderWidth()};
}

// Every visible item of the title bar over the title rows, which are kept without them for
// repainting one item.
void TsSkinProvider::PaintTitleItems(gfx::Bitmap& cache) {
  if (!FTitleBar) {
    FTitleBG = {};
    return;
  }
  FTitleBG = cache.Copy(TRect{0, 0, cache.Width(), std::min(cache.Height(), TitleBottom())});
  const TacTitlePaintInfo info = TitlePaintInfo();
  for (auto& item : FTitleBar->Items())
    if (item->Visible && !item->Rect.IsEmpty()) PaintTitleItem(*item, item->Rect, cache, info);
}

// The title section over the caption strip, seen through to the form's picture.
void TsSkinProvider::PaintTitle(gfx::Bitmap& cache) {
  const sd::TacSkinModel* model = ModelOf(*FCommonData);
  if (!model->IsValidSkinIndex(FTitleSkinIndex)) return;
  const TRect sh = ShadowSize();
  const TRect strip{sh.Left, sh.Top, cache.Width() - sh.Right, TitleBottom()};
  gfx::Bitmap title(strip.Width(), strip.Height());
  draw::PaintItem(model, FTitleSkinIndex, draw::MakeCacheInfo(&cache, strip.Left, strip.Top), true,
                  SectionState(FTitleSkinIndex), title.Bounds(), {0, 0}, &title);
  cache.CopyFrom(title, title.Bounds(), {strip.Left, strip.Top});
}

// The caption in the title's font colour for the state, with its glow, in the free strip left
// of the buttons; centred, right-aligned (when it fits) or left-aligned. The added title goes in
// front of it in its own font (in the title's colour while that font's colour is clNone).
void TsSkinProvider::PaintText(gfx::Bitmap& cache) {
  const sd::TacSkinModel* model = ModelOf(*FCommonData);
  const int fontSection =
      model->IsValidSkinIndex(FTitleSkinIndex) ? FTitleSkinIndex : FCommonData->SkinIndex;
  const std::u16string text = FShowMainCaption ? FForm->Caption() : std::u16string();
  if (text.empty() && FAddedTitleText.empty()) return;
  int right = CaptionWidth() - std::max(4, BorderWidth()) - ShadowSize().Right;
  for (const TsCaptionButton& b : FButtons)
    if (b.cpRect.Right > b.cpRect.Left) right = std::min(right, b.cpRect.Left);
  const TRect icon = IconRect();
  int left =
      (icon.IsEmpty() ? BorderWidth() + ShadowSize().Left + model->CommonSkinData.BILeftMargin
                      : icon.Right) +
      4;
  right -= 4;
  if (FTitleBar) {
    left = std::max(left, FTitleBar->FCaptionRect.Left);
    right = std::min(right, FTitleBar->FCaptionRect.Right);
  }
  if (right <= left) return;

  gfx::DeviceContext dc(cache);
  fw::TCanvas canvas;
  canvas.SetHandle(&dc);
  win::NONCLIENTMETRICSW ncm;
  win::SystemParametersInfoW(win::SPI_GETNONCLIENTMETRICS, 0, &ncm, 0);
  auto captionFont = [&] {
    canvas.Font.SetName(model->CommonSkinData.MainFont.empty()
                            ? ncm.lfCaptionFont.lfFaceName
                            : fw::Utf8ToUtf16(model->CommonSkinData.MainFont));
    canvas.Font.SetHeight(win::MulDiv(ncm.lfCaptionFont.lfHeight, ScalePercent(), 100));
    canvas.Font.SetStyle({});
  };
  int addedWidth = 0, addedHeight = 0;
  if (!FAddedTitleText.empty()) {
    canvas.Font.Assign(FAddedTitleFont);
    addedWidth = draw::acTextWidth(canvas, FAddedTitleText);
    addedHeight = draw::acTextHeight(canvas, FAddedTitleText);
  }
  captionFont();
  const int textWidth = text.empty() ? 0 : draw::acTextWidth(canvas, text);
  const int textHeight = text.empty() ? 0 : draw::acTextHeight(canvas, text);
  const int free = right - left;
  int x = left;
  switch (FCaptionAlignment) {
    case fw::TAlignment::taCenter:
      x = std::max(left, left + (free - textWidth - addedWidth - sc::acSpacing) / 2);
      break;
    case fw::TAlignment::taRightJustify:
      if (textWidth + addedWidth < free) x = right - textWidth - addedWidth;
      break;
    default:
      break;
  }
  const int vc = VCenter();
  const unsigned flags =
      gfx::DT_SINGLELINE | gfx::DT_VCENTER | gfx::DT_NOPREFIX | gfx::DT_END_ELLIPSIS;
  const int allHeight = std::max(textHeight, addedHeight);
  const TRect all{x, vc - allHeight / 2, std::min(right, x + addedWidth + textWidth),
                  vc - allHeight / 2 + allHeight};
  if (model->IsValidSkinIndex(FCaptionSkinIndex)) {
    const TRect behind{all.Left - 4, all.Top - 2, all.Right + 4, all.Bottom + 2};
    gfx::Bitmap back(behind.Width(), behind.Height());
    draw::PaintItem(model, FCaptionSkinIndex, draw::MakeCacheInfo(&cache, behind.Left, behind.Top),
                    true, SectionState(FCaptionSkinIndex), back.Bounds(), {0, 0}, &back);
    cache.CopyFrom(back, back.Bounds(), {behind.Left, behind.Top});
  }
  if (addedWidth > 0) {
    canvas.Font.Assign(FAddedTitleFont);
    TRect r{x, vc - addedHeight / 2, std::min(right, x + addedWidth),
            vc - addedHeight / 2 + addedHeight};
    if (FAddedTitleFont.Color() == fw::clNone) {
      skin::paint::TacGlowMask glow;
      draw::WriteSectionText(canvas, FAddedTitleText, true, r, flags, *model, fontSection,
                             SectionState(fontSection), {}, true, &cache, glow);
    } else {
      canvas.BrushStyle = fw::TBrushStyle::bsClear;
      draw::acWriteText(canvas, FAddedTitleText, flags, r);
    }
    x += addedWidth;
    captionFont();
  }
  if (text.empty() || x >= right) {
    canvas.SetHandle(nullptr);
    return;
  }
  // The glow of the caption is kept per state until the text or the size changes.
  const TRect r{x, vc - textHeight / 2, std::min(right, x + textWidth),
                vc - textHeight / 2 + textHeight};
  draw::WriteSectionText(canvas, text, true, r, flags, *model, fontSection,
                         SectionState(fontSection), {}, true, &cache,
                         FFormActive ? FGlow1 : FGlow2);
  canvas.SetHandle(nullptr);
}

// One caption button: its glyph's frame for the state at the button's top-left, lighter when
// its command is off or the form is inactive and the button is at rest.
void TsSkinProvider::PaintButton(gfx::Bitmap& cache, TsCaptionButton& btn, int state) {
  const paint::TsMaskData* md = GlyphMask(btn);
  if (!md) return;
  const bool lighter = !FForm->Enabled() || (!FFormActive && state == 0);
  draw::DrawSkinGlyph(cache, {btn.cpRect.Left, btn.cpRect.Top}, state, lighter ? 2 : 1, *md,
                      draw::EmptyCI);
}

// A user button: the skin's "TITLEBUTTON" frame for the state (lighter at rest on an inactive
// form) when it asks for it, then its glyph centred, one pixel right and down while pressed.
void TsSkinProvider::PaintUserButton(gfx::Bitmap& cache, TsTitleButton& btn, int state) {
  const TRect& r = btn.Data.cpRect;
  if (btn.UseSkinData)
    if (const paint::TsMaskData* md = TitleButtonMask())
      draw::DrawSkinGlyph(cache, {r.Left, r.Top}, state, !FFormActive && state == 0 ? 2 : 1, *md,
                          draw::EmptyCI);
  if (btn.Glyph.Empty()) return;
  const gfx::Bitmap& g = btn.Glyph;
  const int shift = state == 2 ? 1 : 0;
  const TPoint at{r.Left + (r.Width() - g.Width()) / 2 + shift,
                  r.Top + (r.Height() - g.Height()) / 2 + shift};
  bool alpha = false;
  for (int y = 0; y < g.Height() && !alpha; ++y)
    for (int x = 0; x < g.Width() && !alpha; ++x) alpha = (g.At(x, y) >> 24) != 255;
  if (alpha) {
    paint::PaintBmpRect32(cache, g, g.Bounds(), at);
  } else {
    const auto key = g.At(0, g.Height() - 1);
    paint::CopyTransBitmaps(cache, g, at.X, at.Y,
                            {std::uint8_t(key >> 16), std::uint8_t(key >> 8), std::uint8_t(key),
                             std::uint8_t(key >> 24)});
  }
}

// Keeps the caption under the buttons, so one button is repainted without the whole frame.
void TsSkinProvider::SaveBGForBtns(const gfx::Bitmap& cache) {
  TRect area;
  auto add = [&](const TsCaptionButton& b) {
    if (b.cpRect.Right > b.cpRect.Left)
      area = area.IsEmpty() ? b.cpRect : gfx::UnionRects(area, b.cpRect);
  };
  for (const TsCaptionButton& b : FButtons) add(b);
  for (const auto& t : FTitleButtons) add(t->Data);
  area = gfx::IntersectRects(area, cache.Bounds());
  FBtnsBG = gfx::Bitmap(area.Width(), area.Height());
  FBtnsBGAt = {area.Left, area.Top};
  if (!area.IsEmpty()) FBtnsBG.CopyFrom(cache, area, {0, 0});
}

void TsSkinProvider::PaintCaption(gfx::HDC windowDC) {
  const bool rebuild = FCommonData->BGChanged;
  if (!PaintAll()) return;
  gfx::Bitmap& cache = *FCommonData->CacheBmp();
  // The line's items show the hot item of the menu loop and of the mouse, which change
  // without a new picture: the line is painted again only when its key changed.
  if (!rebuild && MenuLineKey() != FMenuLineKey) PaintMenuLine(cache, false);
  // The strip over the line's end during an MDI menu loop shows the picture as it is now.
  if (FMDIIcons && FMDIIcons->HandleAllocated())
    win::InvalidateRect(FMDIIcons->Handle(), nullptr, false);
  gfx::DeviceContext from(cache);
  const int w = cache.Width(), h = cache.Height();
  const int top = OffsetY(), left = OffsetX();
  const int right = left + FForm->ClientWidth(), bottom = top + FForm->ClientHeight();
  gfx::BitBlt(windowDC, 0, 0, w, top, &from, 0, 0, gfx::SRCCOPY);
  gfx::BitBlt(windowDC, 0, top, left, bottom - top, &from, 0, top, gfx::SRCCOPY);
  gfx::BitBlt(windowDC, right, top, w - right, bottom - top, &from, right, top, gfx::SRCCOPY);
  gfx::BitBlt(windowDC, 0, bottom, w, h - bottom, &from, 0, bottom, gfx::SRCCOPY);
}

// ---- The menu line ------------------------------------------------------------------------------

TRect TsSkinProvider::MenuLineRect() const {
  if (!FForm->HandleAllocated() || win::IsIconic(FForm->Handle()) || !win::GetMenu(FForm->Handle()))
    return {};
  return win::GetFrameLayout(FForm->Handle()).menuBar;
}

TPoint TsSkinProvider::WindowInCache() const {
  const TRect wr = WindowRect(FForm->Handle());
  const TPoint origin = CacheOrigin();
  return {wr.Left - origin.X, wr.Top - origin.Y};
}

std::vector<std::uintptr_t> TsSkinProvider::MenuLineKey() const {
  std::vector<std::uintptr_t> key;
  const win::HWND h = FForm->HandleAllocated() ? FForm->Handle() : nullptr;
  const win::HMENU menu = h ? win::GetMenu(h) : nullptr;
  if (!menu) return key;
  const TRect bar = MenuLineRect();
  key = {reinterpret_cast<std::uintptr_t>(menu),
         std::uintptr_t(bar.Left),
         std::uintptr_t(bar.Top),
         std::uintptr_t(bar.Right),
         std::uintptr_t(bar.Bottom),
         std::uintptr_t(win::detail::MenuBarHot(h) + 1),
         std::uintptr_t(FFormActive)};
  for (int i = 0, n = win::GetMenuItemCount(menu); i < n; ++i)
    if (const win::MenuItem* it = win::GetMenuItem(menu, win::UINT(i), win::MF_BYPOSITION)) {
      key.push_back(it->flags);
      key.push_back(it->id);
      key.push_back(it->data);
      key.push_back(std::hash<std::u16string>{}(it->text));
    }
  return key;
}

void TsSkinProvider::SetMenuLineSkin(const std::u16string& section) {
  if (FMenuLineSkin == section) return;
  FMenuLineSkin = section;
  UpdateFrame();
}

int TsSkinProvider::MenuLineSkinIndex() const {
  const sd::TacSkinModel* model = ModelOf(*FCommonData);
  sc::TsSkinManager* m = FCommonData->SkinManager();
  if (!model || !m) return -1;
  if (!FMenuLineSkin.empty()) {
    std::string name;
    for (char16_t c : FMenuLineSkin) name += c < 0x80 ? char(c) : '?';
    const int ix = model->GetSkinIndex(name);
    if (model->IsValidSkinIndex(ix)) return ix;
  }
  return m->ConstData().Sections[sd::ssMenuLine];
}

void TsSkinProvider::PaintMenuLine(gfx::Bitmap& cache, bool ground) {
  const TRect bar = MenuLineRect();
  const sd::TacSkinModel* model = ModelOf(*FCommonData);
  sc::TsSkinManager* m = FCommonData->SkinManager();
  FMenuLineKey = MenuLineKey();
  if (bar.IsEmpty() || !model || !m) {
    FMenuLineBG = {};
    return;
  }
  ++FMenuLinePaints;
  const TPoint at = WindowInCache();
  const TRect inCache = bar.Offset(at.X, at.Y);
  if (ground || FMenuLineBG.Width() != bar.Width() || FMenuLineBG.Height() != bar.Height()) {
    FMenuLineBG = cache.Copy(inCache);
    const int section = MenuLineSkinIndex();
    if (model->IsValidSkinIndex(section))
      draw::PaintItem(model, section, draw::MakeCacheInfo(&cache, inCache.Left, inCache.Top), true,
                      0, FMenuLineBG.Bounds(), {0, 0}, &FMenuLineBG);
  }
  cache.CopyFrom(FMenuLineBG, FMenuLineBG.Bounds(), {inCache.Left, inCache.Top});
  // The items draw themselves at their window places: the picture's DC maps them.
  gfx::DeviceContext dc(cache);
  gfx::SetViewportOrgEx(&dc, at.X, at.Y, nullptr);
  win::DrawMenuBarItems(FForm->Handle(), &dc, bar, !m->SkinnedPopups());
}

void TsSkinProvider::RepaintMenu() {
  FMenuLineKey.clear();  // the items draw again even when their states did not change
  if (FHook && FForm->HandleAllocated() && Skinned() && !MenuLineRect().IsEmpty()) NCPaint();
}

bool TsSkinProvider::MdiLineItem(win::ULONG_PTR data) const {
  const win::HWND client = FForm->ClientHandle();
  if (FForm->FormStyle() != fw::TFormStyle::fsMDIForm || !client || !data) return false;
  bool maximized = false;
  const auto active = win::HWND(win::SendMessageW(client, win::WM_MDIGETACTIVE, 0,
                                                  reinterpret_cast<win::LPARAM>(&maximized)));
  return maximized && active && data == reinterpret_cast<win::ULONG_PTR>(active);
}

namespace {
// The skin's small glyph of a maximised MDI child's button item (by its command), null for
// the icon item or when the skin has none.
const paint::TsMaskData* MdiGlyph(const sd::TacSkinModel& model, const sc::TsSkinManager& m,
                                  win::UINT command) {
  const sd::TacTitleGlyph glyph = command == win::SC_CLOSE      ? sd::tgSmallClose
                                  : command == win::SC_RESTORE  ? sd::tgSmallNormal
                                  : command == win::SC_MINIMIZE ? sd::tgSmallMin
                                                                : sd::tgNone;
  if (glyph == sd::tgNone) return nullptr;
  const int i = m.ConstData().TitleGlyphs[std::size_t(glyph)];
  return model.IsValidImgIndex(i) ? &model.ma[std::size_t(i)] : nullptr;
}
}  // namespace

void TsSkinProvider::MeasureMdiItem(win::MEASUREITEMSTRUCT& mis) const {
  // The platform's own measure (its buttons), then the skin's glyph and a pixel between two.
  win::DefFrameProcW(FForm->Handle(), FForm->ClientHandle(), win::WM_MEASUREITEM, 0,
                     reinterpret_cast<win::LPARAM>(&mis));
  const sd::TacSkinModel* model = ModelOf(*FCommonData);
  if (mis.itemID == 0xFFFFFFFF || !model) return;
  const paint::TsMaskData* md = MdiGlyph(*model, *FCommonData->SkinManager(), mis.itemID);
  mis.itemWidth = win::UINT((md ? md->Width : kMdiButtonSize) + 1);
}

void TsSkinProvider::DrawMdiItem(const win::DRAWITEMSTRUCT& dis) {
  const sd::TacSkinModel* model = ModelOf(*FCommonData);
  const TRect bar = MenuLineRect();
  const TRect r = dis.rcItem;
  if (!model || bar.IsEmpty() || FMenuLineBG.Empty() || r.IsEmpty()) return;
  gfx::Bitmap pic = FMenuLineBG.Copy(r.Offset(-bar.Left, -bar.Top));
  if (pic.Width() != r.Width() || pic.Height() != r.Height()) return;
  const auto child = reinterpret_cast<win::HWND>(dis.itemData);
  gfx::DeviceContext dc(pic);
  if (dis.itemID == 0xFFFFFFFF) {
    // The child's system menu: its icon.
    const int w = win::GetSystemMetrics(win::SM_CXSMICON),
              h = win::GetSystemMetrics(win::SM_CYSMICON);
    const auto icon = reinterpret_cast<gfx::HICON>(
        win::SendMessageW(child, win::WM_GETICON, win::ICON_SMALL2, 0));
    gfx::DrawIconEx(&dc, (pic.Width() - w) / 2, (pic.Height() - h) / 2, icon, w, h, gfx::DI_NORMAL);
  } else if (const paint::TsMaskData* md =
                 MdiGlyph(*model, *FCommonData->SkinManager(), dis.itemID)) {
    // The title's glyphs are drawn for the title's ground; on the line they take its shape in
    // the line's text colour (the hot item section's when selected, one pixel down and right
    // while the left button holds it), lighter on an inactive parent or when the child's
    // system menu greys the command.
    const sc::TsSkinManager& m = *FCommonData->SkinManager();
    const bool selected = dis.itemState & win::ODS_SELECTED;
    const bool pressed = selected && win::GetKeyState(win::VK_LBUTTON) < 0;
    int fontSection = MenuLineSkinIndex();
    const int ix = m.ConstData().MenuItem.SkinIndex;
    if (selected && model->IsValidSkinIndex(ix)) {
      draw::PaintItem(model, ix, draw::MakeCacheInfo(&FMenuLineBG, r.Left - bar.Left, 0), true, 1,
                      pic.Bounds(), {0, 0}, &pic);
      fontSection = ix;
    }
    const paint::TColor color =
        model->IsValidSkinIndex(fontSection)
            ? draw::StateProps(model->gd[std::size_t(fontSection)], selected ? 1 : 0)
                  .FontColor.Color
            : paint::TColor(win::GetSysColor(win::COLOR_MENUTEXT));
    const int shift = pressed ? 1 : 0;
    const TPoint at{(pic.Width() - md->Width) / 2 + shift, (pic.Height() - md->Height) / 2 + shift};
    // The glyph's coverage from the glyph drawn over black and over white.
    gfx::Bitmap overBlack(md->Width, md->Height), overWhite(md->Width, md->Height);
    overBlack.Fill(0xFF000000);
    overWhite.Fill(0xFFFFFFFF);
    draw::DrawSkinGlyph(overBlack, {0, 0}, 0, 1, *md, draw::EmptyCI);
    draw::DrawSkinGlyph(overWhite, {0, 0}, 0, 1, *md, draw::EmptyCI);
    const std::uint32_t ink = paint::SwapRedBlue(std::uint32_t(color) & 0xFFFFFF);
    // A glyph that covers its whole box is a button picture of its own (a bevelled box): it
    // is drawn as it is, its state by the item's, since its shape alone would be a solid box.
    bool opaque = true;
    for (int y = 0; y < md->Height && opaque; ++y)
      for (int x = 0; x < md->Width && opaque; ++x)
        opaque = gfx::PixelG(overWhite.At(x, y)) == gfx::PixelG(overBlack.At(x, y));
    if (opaque)
      draw::DrawSkinGlyph(pic, at,
                          std::min<int>(selected ? (pressed ? 2 : 1) : 0, md->ImageCount - 1), 1,
                          *md, draw::EmptyCI);
    for (int y = 0; y < md->Height && !opaque; ++y)
      for (int x = 0; x < md->Width; ++x) {
        const int a =
            255 - (int(gfx::PixelG(overWhite.At(x, y))) - int(gfx::PixelG(overBlack.At(x, y))));
        const int px = at.X + x, py = at.Y + y;
        if (a <= 0 || px < 0 || py < 0 || px >= pic.Width() || py >= pic.Height()) continue;
        const gfx::Pixel under = pic.At(px, py);
        std::uint32_t out = 0xFF000000;
        for (int sh = 0; sh < 24; sh += 8) {
          const int c = int((ink >> sh) & 0xFF), u = int((under >> sh) & 0xFF);
          out |= std::uint32_t((c * a + u * (255 - a)) / 255) << sh;
        }
        pic.Set(px, py, out);
      }
    const win::HMENU sys = win::GetSystemMenu(child, false);
    const bool greyed = dis.itemID != win::SC_CLOSE && sys &&
                        (win::GetMenuState(sys, dis.itemID, win::MF_BYCOMMAND) & win::MF_GRAYED);
    if (!FFormActive || greyed) {
      const gfx::Bitmap under = FMenuLineBG.Copy(r.Offset(-bar.Left, -bar.Top));
      paint::BlendTransRectangle(pic, 0, 0, under, {0, 0, under.Width() - 1, under.Height() - 1},
                                 paint::DefBlendDisabled, paint::kTransKey);
    }
  }
  gfx::BitBlt(dis.hDC, r.Left, r.Top, r.Width(), r.Height(), &dc, 0, 0, gfx::SRCCOPY);
}

void TsSkinProvider::PaintForm(gfx::HDC dc, const TRect& r) {
  if (!PaintAll()) return;
  const int saved = gfx::SaveDC(dc);
  gfx::IntersectClipRect(dc, r.Left, r.Top, r.Right, r.Bottom);
  const TRect client{0, 0, FForm->ClientWidth(), FForm->ClientHeight()};
  sc::CopyWinControlCache(*FForm, *FCommonData, client.Offset(OffsetX(), OffsetY()), client, dc,
                          false);
  sc::PaintControls(dc, *FForm, true, {});
  gfx::RestoreDC(dc, saved);
  sc::SetParentUpdated(FForm);
  if (FAdapter) {
    fw::TMessage end{sc::SM_ALPHACMD, sc::AC_ENDPARENTUPDATE_HI, 0, 0};
    FAdapter->WndProc(end);
  }
}

void TsSkinProvider::NCPaint() {
  if (FLockCount > 0 || FPainting || !win::IsWindowVisible(FForm->Handle())) return;
  FPainting = true;
  CheckAdapter();
  if (FRgnChanged) UpdateRegion(false);
  if (FBorderForm) {
    // The form shows its client area and its menu line only; the frame is the border
    // window's.
    FBorderForm->UpdateExBordersPos(true, 255);
    const TRect bar = MenuLineRect();
    gfx::Bitmap* cache = FCommonData->CacheBmp();
    gfx::HDC dc = bar.IsEmpty() || !cache ? nullptr : win::GetWindowDC(FForm->Handle());
    if (dc) {
      if (MenuLineKey() != FMenuLineKey) PaintMenuLine(*cache, false);
      const TPoint at = WindowInCache();
      gfx::DeviceContext from(*cache);
      gfx::BitBlt(dc, bar.Left, bar.Top, bar.Width(), bar.Height(), &from, bar.Left + at.X,
                  bar.Top + at.Y, gfx::SRCCOPY);
      win::ReleaseDC(FForm->Handle(), dc);
    }
  } else if (gfx::HDC dc = win::GetWindowDC(FForm->Handle())) {
    PaintCaption(dc);
    win::ReleaseDC(FForm->Handle(), dc);
  }
  FPainting = false;
}

void TsSkinProvider::UpdateFrame() {
  FCommonData->BGChanged = true;
  if (FHook && FForm->HandleAllocated() && Skinned()) NCPaint();
}

// An item in its state: a fade with glowing on, else drawn over the title rows kept without
// items and copied to the frame.
void TsSkinProvider::RepaintItem(TacTitleBarItem& item) {
  sc::TsSkinManager* m = FCommonData->SkinManager();
  if (FAllowAnimation && m->Effects().AllowGlowing) {
    const int state = std::min(item.GetState(), 2);
    StartItemAnimation(item, state, state == 2 ? 1 : kFadeIterations, state != 0, FForm->Handle(),
                       BorderWindow(), FCommonData.get());
    return;
  }
  if (!PaintAll() || FTitleBG.Empty()) return;
  gfx::Bitmap& cache = *FCommonData->CacheBmp();
  const TRect r = gfx::IntersectRects(item.Rect, FTitleBG.Bounds());
  cache.CopyFrom(FTitleBG, r, {r.Left, r.Top});
  PaintTitleItem(item, r, cache, TitlePaintInfo());
  ShowCacheRect(r);
}

win::HWND TsSkinProvider::BorderWindow() const {
  return FBorderForm && FBorderForm->AForm() && FBorderForm->AForm()->HandleAllocated()
             ? FBorderForm->AForm()->Handle()
             : nullptr;
}

void TsSkinProvider::ShowCacheRect(const TRect& r) {
  if (FBorderForm) {
    FBorderForm->UpdateExBordersPos(true, 255);
    return;
  }
  if (gfx::HDC dc = win::GetWindowDC(FForm->Handle())) {
    gfx::DeviceContext from(*FCommonData->CacheBmp());
    gfx::BitBlt(dc, r.Left, r.Top, r.Width(), r.Height(), &from, r.Left, r.Top, gfx::SRCCOPY);
    win::ReleaseDC(FForm->Handle(), dc);
  }
}

void TsSkinProvider::RepaintButton(int hitCode) {
  if (TacTitleBarItem* item = ItemByHT(hitCode)) {
    if (Skinned() && item->Visible && !item->Rect.IsEmpty()) RepaintItem(*item);
    return;
  }
  TsCaptionButton* b = ButtonByHT(hitCode);
  if (!b || b->cpRect.Right <= b->cpRect.Left || !Skinned()) return;
  sc::TsSkinManager* m = FCommonData->SkinManager();
  const bool user = hitCode >= HTUDBTN;
  // A fade shows the skin's glyphs (over the extended border's picture when there is one); user
  // buttons carry their own and are painted in place.
  if (!user && FAllowAnimation && m->Effects().AllowGlowing) {
    sc::StartSBAnimation(*b, b->cpState, b->cpState == 2 ? 1 : kFadeIterations, b->cpState != 0,
                         FForm->Handle(), BorderWindow(), FCommonData.get());
    return;
  }
  if (!PaintAll()) return;
  // Over the caption saved without buttons, only this button is drawn and copied.
  gfx::Bitmap& cache = *FCommonData->CacheBmp();
  const TRect& br = b->cpRect;
  cache.CopyFrom(FBtnsBG, br.Offset(-FBtnsBGAt.X, -FBtnsBGAt.Y), {br.Left, br.Top});
  if (user)
    PaintUserButton(cache, TitleButton(hitCode - HTUDBTN), b->cpState);
  else
    PaintButton(cache, *b, b->cpState);
  ShowCacheRect(b->cpRect);
}

// ---- Region ------------------------------------------------------------------------------------

gfx::Region TsSkinProvider::MakeRegion() const {
  const sd::TacSkinModel* model = ModelOf(*FCommonData);
  const int w = FForm->Width(), h = FForm->Height();
  if (!model || !model->IsValidSkinIndex(FCommonData->SkinIndex) || BorderWidth() == 0 ||
      !FForm->HandleAllocated())
    return {};
  if (FBorderForm) {
    // Cut to the client area: the border window shows the frame around it.
    win::POINT origin{0, 0};
    win::ClientToScreen(FForm->Handle(), &origin);
    const TRect wr = WindowRect(FForm->Handle());
    gfx::Region rgn(gfx::RectOfSize(origin.X - wr.Left, origin.Y - wr.Top, FForm->ClientWidth(),
                                    FForm->ClientHeight()));
    if (const TRect bar = MenuLineRect(); !bar.IsEmpty()) rgn = rgn.Union(gfx::Region(bar));
    return rgn;
  }
  if (win::IsZoomed(FForm->Handle())) {
    const int b = BorderWidth();
    return gfx::Region(TRect{b, b, w - b, h - b});
  }
  skin::paint::TAOR aor;
  const int border = model->gd[std::size_t(FCommonData->SkinIndex)].BorderIndex;
  if (model->IsValidImgIndex(border))
    skin::paint::AddRgn(aor, w, h, model->ma[std::size_t(border)], &model->MasterBitmap);
  if (model->IsValidSkinIndex(FTitleSkinIndex)) {
    // Only the top corners of the title's border.
    const int title = model->gd[std::size_t(FTitleSkinIndex)].BorderIndex;
    if (model->IsValidImgIndex(title)) {
      const skin::paint::TsMaskData& md = model->ma[std::size_t(title)];
      const gfx::Bitmap* pic = md.Bmp ? md.Bmp : &model->MasterBitmap;
      if (md.CornerType != 0) {
        const TRect window{0, 0, w, h};
        skin::paint::AddRgnBmp(aor, *pic, gfx::RectOfSize(md.R.Left, md.R.Top, md.WL, md.WT),
                               {0, 0}, skin::paint::kTransKey, window);
        skin::paint::AddRgnBmp(
            aor, *pic, gfx::RectOfSize(md.R.Left + md.Width - md.WR, md.R.Top, md.WR, md.WT),
            {w - md.WR, 0}, skin::paint::kTransKey, window);
      }
    }
  }
  if (aor.empty()) return {};
  return gfx::Region(TRect{0, 0, w, h}).Subtract(gfx::Region::FromRects(aor));
}

void TsSkinProvider::UpdateRegion(bool redraw) {
  FRgnChanged = false;
  const gfx::Region rgn = MakeRegion();
  FRects = rgn.IsEmpty()
               ? std::vector<TRect>{}
               : gfx::Region(TRect{0, 0, FForm->Width(), FForm->Height()}).Subtract(rgn).Rects();
  const win::HWND h = FForm->Handle();
  win::SetWindowRgn(h, rgn.IsEmpty() ? nullptr : &rgn, redraw);
  // A child window's cut-off corners show its parent (an MDI child's, the client): the parent
  // paints what lies there, else nothing ever would.
  const win::HWND parent = win::GetParent(h);
  if (FRects.empty() || !parent || !(win::GetWindowLongPtrW(h, win::GWL_STYLE) & win::WS_CHILD))
    return;
  win::RECT wr{};
  win::GetWindowRect(h, &wr);
  win::POINT at{wr.Left, wr.Top};
  win::ScreenToClient(parent, &at);
  for (const TRect& r : FRects) {
    const win::RECT corner = r.Offset(at.X, at.Y);
    win::InvalidateRect(parent, &corner, true);
  }
}

// ---- Frame input -------------------------------------------------------------------------------

TsCaptionButton* TsSkinProvider::ButtonByHT(int hitCode) {
  for (TsCaptionButton& b : FButtons)
    if (int(b.cpHitCode) == hitCode) return &b;
  if (hitCode >= HTUDBTN && hitCode < HTUDBTN + TitleButtonCount())
    return &TitleButton(hitCode - HTUDBTN).Data;
  return nullptr;
}

TacTitleBarItem* TsSkinProvider::ItemByHT(int hitCode) const {
  if (!FTitleBar || hitCode < acHTItem || hitCode >= acHTItem + FTitleBar->Items().Count())
    return nullptr;
  return &FTitleBar->Items()[hitCode - acHTItem];
}

int TsSkinProvider::HTProcess(TPoint screen) const {
  if (!FForm->HandleAllocated() || CaptionHeight() == 0) return win::HTCLIENT;
  const TPoint origin = CacheOrigin();
  const TPoint p{screen.X - origin.X, screen.Y - origin.Y};
  for (const TsCaptionButton& b : FButtons)
    if (b.cpRect.Right > b.cpRect.Left && b.cpRect.Contains(p))
      return FForm->Enabled() ? int(b.cpHitCode) : int(win::HTCAPTION);
  for (const auto& t : FTitleButtons)
    if (t->Data.cpRect.Right > t->Data.cpRect.Left && t->Data.cpRect.Contains(p))
      return t->Enabled && FForm->Enabled() ? int(t->Data.cpHitCode) : int(win::HTCLIENT);
  if (FTitleBar)
    if (const int i = FTitleBar->ItemAt(p); i >= 0) {
      const TacTitleBarItem& item = FTitleBar->Items()[i];
      if (!item.Enabled || !FForm->Enabled()) return win::HTCAPTION;
      // A tab that is down already answers as the client: pressing it again does nothing.
      return item.Style == bsTab && item.Down ? int(win::HTCLIENT) : acHTItem + i;
    }
  const auto style = StyleOf(FForm->Handle());
  // The frame's rectangle in the cache; extended, the sizing bands lie just outside it, in
  // the shadow.
  const TRect frame = FrameRect();
  // Mode 1: 4 rows at the top and the system border elsewhere, inside the frame.
  const bool one = ExModeOne();
  const int bw = FBorderForm && !one ? std::max(BorderWidth(), 6)
                 : one               ? SysBorderWidth()
                                     : BorderWidth();
  const int bt = one ? 4 : bw;
  const TRect bands = FBorderForm && !one ? TRect{frame.Left - bw, frame.Top - bw, frame.Right + bw,
                                                  frame.Bottom + bw}
                                          : frame;
  if ((style & win::WS_THICKFRAME) && !win::IsZoomed(FForm->Handle()) && bands.Contains(p)) {
    const int w = bands.Right, h = bands.Bottom, x0 = bands.Left, y0 = bands.Top;
    const bool l = p.X < x0 + bw, r = p.X >= w - bw, t = p.Y < y0 + bt, btm = p.Y >= h - bw;
    if (t && l) return win::HTTOPLEFT;
    if (t && r) return win::HTTOPRIGHT;
    if (btm && l) return win::HTBOTTOMLEFT;
    if (btm && r) return win::HTBOTTOMRIGHT;
    if (l) return win::HTLEFT;
    if (r) return win::HTRIGHT;
    if (t) return win::HTTOP;
    if (btm) return win::HTBOTTOM;
  }
  if (!frame.Contains(p)) return win::HTNOWHERE;
  if (IconRect().Contains(p)) return win::HTSYSMENU;
  if (p.Y < TitleBottom()) return win::HTCAPTION;
  // The menu line: the bar's own code, so that the window's default handling finds its items.
  if (const TRect bar = MenuLineRect(); !bar.IsEmpty()) {
    const TPoint at = WindowInCache();
    if (bar.Offset(at.X, at.Y).Contains(p)) return win::HTMENU;
  }
  return win::HTCLIENT;
}

void TsSkinProvider::SetHotHT(int hitCode, bool repaint) {
  if (FCurrentHT == hitCode) return;
  if (TsCaptionButton* old = ButtonByHT(FCurrentHT)) {
    old->cpState = 0;
    if (repaint) RepaintButton(FCurrentHT);
  }
  const int oldHT = FCurrentHT;
  FCurrentHT = hitCode;
  if (ItemByHT(oldHT) || ItemByHT(hitCode)) SetHotItem(hitCode, oldHT, repaint);
  if (TsCaptionButton* b = ButtonByHT(hitCode)) {
    b->cpState = FClicked ? b->cpState : 1;
    if (repaint) RepaintButton(hitCode);
  }
}

// The bar's hot item follows the frame's hot element (its events run, its cursor shows); the
// provider repaints the items itself, so the bar's cue is held meanwhile.
void TsSkinProvider::SetHotItem(int hitCode, int oldHT, bool repaint) {
  TacTitleBarItem* item = FClicked ? nullptr : ItemByHT(hitCode);
  TacTitleBarItem* old = ItemByHT(oldHT);
  FTitleBar->FUpdating = true;
  if (old && old->FState == 2) old->FState = 1;  // a press let go elsewhere
  const fw::TCursor cursor = FTitleBar->SetHotItem(item ? item->Index() : -1);
  FTitleBar->FUpdating = false;
  if (item && cursor != fw::crDefault) win::SetCursor(win::LoadCursorW(fw::CursorResource(cursor)));
  if (!repaint) return;
  if (old) RepaintButton(oldHT);
  if (item) RepaintButton(hitCode);
}

void TsSkinProvider::SetPressedHT(int hitCode) {
  if (TacTitleBarItem* item = ItemByHT(hitCode)) {
    if (!item->Enabled) return;
    if (FCurrentHT != hitCode) SetHotHT(hitCode);
    FClicked = true;
    // Tabs show their Down state; other items show pressed while held.
    if (item->Style != bsTab) {
      FTitleBar->FUpdating = true;
      item->SetState(2);
      FTitleBar->FUpdating = false;
      RepaintButton(hitCode);
    }
    return;
  }
  TsCaptionButton* b = ButtonByHT(hitCode);
  if (!b) return;
  if (hitCode == win::HTMAXBUTTON && !ButtonVisible(cbMax)) return;
  if (hitCode >= HTUDBTN && !TitleButton(hitCode - HTUDBTN).Enabled) return;
  if (FCurrentHT != hitCode) SetHotHT(hitCode);
  b->cpState = 2;
  FClicked = true;
  RepaintButton(hitCode);
}

// A release ends a press: over the pressed button it runs the button's command, elsewhere the
// button only cools down.
void TsSkinProvider::OnLButtonUp(TPoint screen) {
  const int pressed = FCurrentHT;
  FClicked = false;
  if (FCapture) {
    FCapture = false;
    win::ReleaseCapture();
  }
  if (TacTitleBarItem* item = ItemByHT(pressed)) {
    const TRect wr = WindowRect(FForm->Handle());
    const bool over = FTitleBar->ItemAt({screen.X - wr.Left, screen.Y - wr.Top}) == item->Index();
    FTitleBar->FUpdating = true;
    if (item->FState == 2) item->FState = over ? 1 : 0;
    FTitleBar->FUpdating = false;
    if (over)
      RepaintButton(pressed);
    else
      SetHotHT(0);
    item->DoMouseUp(fw::TMouseButton::mbLeft);
    // A tab was clicked when it went down.
    if (over && item->Style != bsTab) item->DoClick();
    return;
  }
  TsCaptionButton* b = ButtonByHT(pressed);
  if (!b) return;
  const bool over = HTProcess(screen) == pressed;
  b->cpState = over ? 1 : 0;
  if (!over) FCurrentHT = 0;
  RepaintButton(pressed);
  if (!over) return;
  const win::HWND h = FForm->Handle();
  switch (pressed) {
    case win::HTCLOSE:
      win::SendMessageW(h, win::WM_SYSCOMMAND, win::SC_CLOSE, 0);
      break;
    case win::HTMAXBUTTON:
      win::SendMessageW(h, win::WM_SYSCOMMAND,
                        win::IsZoomed(h) ? win::SC_RESTORE : win::SC_MAXIMIZE, 0);
      break;
    case win::HTMINBUTTON:
      win::SendMessageW(h, win::WM_SYSCOMMAND,
                        win::IsIconic(h) ? win::SC_RESTORE : win::SC_MINIMIZE, 0);
      break;
    case win::HTHELP:
      win::SendMessageW(h, win::WM_SYSCOMMAND, win::SC_CONTEXTHELP, 0);
      break;
    default:
      if (pressed >= HTUDBTN) {
        TsTitleButton& t = TitleButton(pressed - HTUDBTN);
        if (t.OnMouseUp) t.OnMouseUp(this);
      }
      break;
  }
}

bool TsSkinProvider::StartFrameSizing(int hitCode, TPoint screen) {
  const win::HWND h = FForm->Handle();
  if (FResizeMode != TacResizeMode::rmBorder || win::IsZoomed(h) || win::IsIconic(h)) return false;
  if (hitCode != win::HTCAPTION && !(StyleOf(h) & win::WS_THICKFRAME)) return false;
  const fw::TSizeConstraints& c = FForm->Constraints();
  const gfx::TSize minSize{std::max(c.MinWidth, win::GetSystemMetrics(win::SM_CXMINTRACK)),
                           std::max(c.MinHeight, win::GetSystemMetrics(win::SM_CYMINTRACK))};
  return FSizing.StartMove(h, hitCode, screen, minSize, {c.MaxWidth, c.MaxHeight});
}

bool TsSkinProvider::StartTranslucentMove(int hitCode) {
  const sc::TsSkinManager* manager = FCommonData->SkinManager();
  const win::HWND h = FForm->Handle();
  if (hitCode != win::HTCAPTION || !manager || !FAllowBlendOnMoving || win::IsIconic(h) ||
      win::IsZoomed(h))
    return false;
  const sc::TacBlendOnMoving& effect = manager->AnimEffects().BlendOnMoving;
  if (!effect.Active || effect.BlendValue == 255) return false;
  if (win::GetActiveWindow() != h) win::SetActiveWindow(h);
  FGlued.UpdateSlaveFormsList(*FForm);
  return StartBlendOnMoving(*FForm, effect, FAllowBlendOnMoving);
}

void TsSkinProvider::SnapPosition(win::WINDOWPOS& pos) {
  const win::HWND h = FForm->Handle();
  if ((pos.flags & win::SWP_NOMOVE) || !FScreenSnap || (FFormState & FS_POSCHANGING) ||
      FForm->Parent() || win::IsZoomed(h) || win::IsIconic(h) || !win::IsWindowVisible(h))
    return;
  win::RECT r{};
  win::GetWindowRect(h, &r);
  if (r.Left == pos.x && r.Top == pos.y) return;
  const gfx::TSize size = (pos.flags & win::SWP_NOSIZE) ? gfx::TSize{r.Width(), r.Height()}
                                                        : gfx::TSize{pos.cx, pos.cy};
  std::vector<TRect> others;
  for (fw::TCustomForm* f : sc::HookedComponents()) {
    if (f == FForm || !f->HandleAllocated() || f->Parent() || FGlued.Linked(*f)) continue;
    const win::HWND o = f->Handle();
    if (!win::IsWindowVisible(o) || win::IsIconic(o)) continue;
    win::RECT orc{};
    win::GetWindowRect(o, &orc);
    others.push_back(orc);
  }
  win::RECT work{};
  win::SystemParametersInfoW(win::SPI_GETWORKAREA, 0, &work, 0);
  CheckNewPosition(pos.x, pos.y, size, others, work, FSnapBuffer);
}

void TsSkinProvider::UpdateLayerForm() {
  FVeil.Update(FForm->Handle(), !FForm->Enabled(), FDisabledBlendColor, FDisabledBlendValue,
               FDisabledBlured);
}

TsSystemMenu& TsSkinProvider::SystemMenu() {
  if (!FSystemMenu) FSystemMenu = std::make_unique<TsSystemMenu>(*this);
  return *FSystemMenu;
}

bool TsSkinProvider::DropSysMenu(int x, int y) {
  return SystemMenu().DropDown(x, y);
}

bool TsSkinProvider::SysMenuMessage(fw::TMessage& m) {
  if (!Skinned() || !FDrawNonClientArea || !FForm->HandleAllocated()) return false;
  const win::HWND h = FForm->Handle();
  // Below the icon (16 pixels higher for a minimised form), else below the caption.
  auto belowIcon = [&]() -> win::POINT {
    const TPoint o = CacheOrigin();
    const TRect icon = IconRect();
    const int top = o.Y + (icon.IsEmpty() ? BorderWidth() + CaptionHeight() : icon.Bottom) -
                    (win::IsIconic(h) ? 16 : 0);
    return {o.X + (icon.IsEmpty() ? BorderWidth() : icon.Left), top};
  };
  auto hitTest = [&](win::POINT p) { return HTProcess({p.X, p.Y}); };
  const std::optional<win::POINT> at = SysMenuRequestPoint(m, belowIcon, hitTest);
  // A menu that may not open leaves the message to the form's own handling.
  if (!at || !DropSysMenu(at->X, at->Y)) return false;
  m.Result = 0;
  return true;
}

// A double click on the caption maximises or restores where the form allows it (else a
// minimised form comes back); on the icon it closes the form. Other codes go to the form.
bool TsSkinProvider::OnCaptionDblClick(int ht) {
  const win::HWND h = FForm->Handle();
  if (ht == win::HTCAPTION) {
    if (ButtonVisible(cbMax) && !win::IsIconic(h))
      win::SendMessageW(h, win::WM_SYSCOMMAND,
                        win::IsZoomed(h) ? win::SC_RESTORE : win::SC_MAXIMIZE, 0);
    else if (win::IsIconic(h))
      win::SendMessageW(h, win::WM_SYSCOMMAND, win::SC_RESTORE, 0);
    return true;
  }
  if (ht == win::HTSYSMENU) {
    win::SendMessageW(h, win::WM_SYSCOMMAND, win::SC_CLOSE, 0);
    return true;
  }
  return false;
}

// A double click on an edge of the extended border stretches a sizeable form over the work
// area's width (left or right edge) or height (top or bottom edge), its skinned frame just
// inside the work area; a second one puts it back.
bool TsSkinProvider::StretchByEdge(int hitCode) {
  const bool horz = hitCode == win::HTLEFT || hitCode == win::HTRIGHT;
  const bool vert = hitCode == win::HTTOP || hitCode == win::HTBOTTOM;
  if (!FBorderForm || (!horz && !vert) ||
      FForm->BorderStyle() != fw::TFormBorderStyle::bsSizeable || !FForm->HandleAllocated())
    return false;
  const win::HWND h = FForm->Handle();
  if (win::IsZoomed(h) || win::IsIconic(h)) return false;
  TRect r = WindowRect(h);
  if (!(FFormState & FS_MAXBOUNDS)) FNormalBounds = r;
  const unsigned flag = horz ? FS_MAXWIDTH : FS_MAXHEIGHT;
  if (FFormState & flag) {
    if (horz) {
      r.Left = FNormalBounds.Left;
      r.Right = FNormalBounds.Right;
    } else {
      r.Top = FNormalBounds.Top;
      r.Bottom = FNormalBounds.Bottom;
    }
  } else {
    win::RECT work{};
    win::SystemParametersInfoW(win::SPI_GETWORKAREA, 0, &work, 0);
    // How far the skinned frame stands out of the window on each side.
    const int side = BorderWidth() - SysBorderWidth();
    const int top = CaptionHeight() - SysBorderWidth() - SysCaptionHeight();
    if (horz) {
      r.Left = work.Left + side;
      r.Right = work.Right - side;
    } else {
      r.Top = work.Top + top;
      r.Bottom = work.Bottom - side;
    }
  }
  FFormState ^= flag;
  win::SetWindowPos(h, nullptr, r.Left, r.Top, r.Width(), r.Height(),
                    win::SWP_NOZORDER | win::SWP_NOACTIVATE);
  return true;
}

void TsSkinProvider::MoveMaximized(TPoint mouse) {
  const win::HWND h = FForm->Handle();
  if (!win::IsZoomed(h)) return;
  win::ShowWindow(h, win::SW_RESTORE);
  if (!win::IsWindow(h)) return;
  const TRect r = WindowRect(h);
  const int top = mouse.Y < 24 ? -8 : mouse.Y - 8;
  win::SetWindowPos(h, nullptr, mouse.X - r.Width() / 2, top, 0, 0,
                    win::SWP_NOSIZE | win::SWP_NOZORDER | win::SWP_NOACTIVATE);
  win::SendMessageW(h, win::WM_SYSCOMMAND, win::SC_MOVE + win::HTCAPTION,
                    win::MAKELPARAM(mouse.X, mouse.Y));
}

// A stretched form that is moved takes its own size back along the stretched sides.
void TsSkinProvider::EndStretch(win::WINDOWPOS& pos) {
  if (!(FFormState & FS_MAXBOUNDS) || (pos.flags & win::SWP_NOMOVE) ||
      !(pos.flags & win::SWP_NOSIZE))
    return;
  const TRect r = WindowRect(FForm->Handle());
  if (pos.x == r.Left && pos.y == r.Top) return;
  pos.cx = (FFormState & FS_MAXWIDTH) ? FNormalBounds.Width() : r.Width();
  pos.cy = (FFormState & FS_MAXHEIGHT) ? FNormalBounds.Height() : r.Height();
  pos.flags &= ~win::UINT(win::SWP_NOSIZE);
  FFormState &= ~FS_MAXBOUNDS;
}

// ---- Window animations
// ---------------------------------------------------------------------------

// Minimising a form other than the main form flies its picture to the taskbar while the system
// minimises the window (kept invisible meanwhile); restoring flies it back, and the window is
// restored at the end. True when the command was taken care of.
bool TsSkinProvider::AnimateSysCommand(fw::TMessage& m, const fw::TWndNext& next) {
  const win::HWND h = FForm->Handle();
  const auto cmd = m.WParam & 0xFFF0;
  // The main form's are the application window's filter's (AnimMinimize, AnimRestore).
  if (CommandsGoToApplication()) return false;
  if (cmd == win::SC_MINIMIZE && !win::IsIconic(h) && !IsMDIChild()) {
    if (!StartMinimizeAnimation()) return false;
    next(m);
    return true;
  }
  if (cmd == win::SC_RESTORE && FFormTimer && win::IsIconic(h)) {
    if (!StartRestoring(FFormTimer.get())) return false;
    m.Result = 0;
    return true;
  }
  return false;
}

bool TsSkinProvider::CommandsGoToApplication() const {
  return fw::Application && fw::Application->MainForm() == FForm &&
         !fw::Application->MainFormOnTaskBar;
}

bool TsSkinProvider::StartMinimizeAnimation() {
  const win::HWND h = FForm->Handle();
  if (!FAllowAnimation || !Skinned() || !StartMinimizing(FFormTimer, h, *FCommonData)) return false;
  FFormTimer->AlphaBlend = AlphaBlend;
  FFormTimer->AlphaBlendValue = AlphaBlendValue;
  FFormTimer->OnMinimized = [this] { FCurrentHT = 0; };
  FFormTimer->OnRestored = [this] {
    FRgnChanged = true;
    UpdateFrame();
    // The main form is back: the application tells its handler, as a plain restore does.
    if (fw::Application && fw::Application->MainForm() == FForm)
      fw::RaiseNotifyEvent(fw::Application->OnRestore, fw::Application, false);
  };
  return true;
}

bool TsSkinProvider::AnimMinimize() {
  if (!FForm->HandleAllocated()) return false;
  const win::HWND h = FForm->Handle();
  if (!win::IsWindowVisible(h) || win::IsIconic(h) || !StartMinimizeAnimation()) return false;
  // The window goes down under the flying picture, as the command would have it, and the
  // application tells its handler, as a plain minimise does.
  win::ShowWindow(h, win::SW_MINIMIZE);
  if (fw::Application) fw::RaiseNotifyEvent(fw::Application->OnMinimize, fw::Application, true);
  return true;
}

bool TsSkinProvider::AnimClose() {
  if (!FForm->HandleAllocated()) return false;
  const win::HWND h = FForm->Handle();
  const sc::TsSkinManager* m = FCommonData->SkinManager();
  if (!m || !win::IsWindowVisible(h) || win::IsIconic(h) || !HideAnimationApplies() ||
      m->AnimEffects().FormHide.Time == 0)
    return false;
  // The program is ending: with its message loop over, the frames run before this returns.
  AnimHideForm(h, *FCommonData, AlphaBlend, AlphaBlendValue);
  return true;
}

bool TsSkinProvider::AnimRestore() {
  if (!FForm->HandleAllocated() || !FFormTimer || !win::IsIconic(FForm->Handle())) return false;
  return StartRestoring(FFormTimer.get());
}

// A top-level skinned form shows and hides through the manager's form effects when both the
// form and the manager allow animations.
bool TsSkinProvider::ShowAnimationApplies() const {
  const sc::TsSkinManager* m = FCommonData->SkinManager();
  return m && FAllowAnimation && Skinned() && FSkinApplied && !FForm->Parent() && !IsMDIChild() &&
         m->Effects().AllowAnimation && m->AnimEffects().FormShow.Active;
}

bool TsSkinProvider::HideAnimationApplies() const {
  const sc::TsSkinManager* m = FCommonData->SkinManager();
  return m && FAllowAnimation && Skinned() && FSkinApplied && !FForm->Parent() && !IsMDIChild() &&
         !FForm->HasState(fw::csDestroying) && m->Effects().AllowAnimation &&
         m->AnimEffects().FormHide.Active;
}

// The window comes up fully transparent, is painted whole and fades in through a cover showing
// that picture; it ends at its own opacity.
void TsSkinProvider::ShowAnimated(fw::TMessage& m, const fw::TWndNext& next) {
  const win::HWND h = FForm->Handle();
  MakeLayered(h, 0);
  FFormState |= FS_ANIMSHOWING;
  next(m);
  FFormState &= ~FS_ANIMSHOWING;
  if (!win::IsWindow(h)) return;
  if (!win::IsWindowVisible(h)) {
    SetFinalOpacity(h, AlphaBlend, AlphaBlendValue);
    return;
  }
  FCommonData->BGChanged = true;
  FRgnChanged = true;
  win::RedrawWindow(h, nullptr, nullptr,
                    win::RDW_FRAME | win::RDW_INVALIDATE | win::RDW_ERASE | win::RDW_ALLCHILDREN |
                        win::RDW_UPDATENOW);
  const sc::TacFormAnimation show = FCommonData->SkinManager()->AnimEffects().FormShow;
  fw::TCustomForm* form = FForm;
  const fw::TNotifyEvent after = OnAfterAnimation;
  if (!AnimShowForm(h, *FCommonData, WindowPicture(h, *FCommonData), show.Time,
                    AlphaBlend ? AlphaBlendValue : 255, show.Mode, AlphaBlend, AlphaBlendValue,
                    [form, after] {
                      if (after) after(form);
                    }) &&
      win::IsWindow(h))
    SetFinalOpacity(h, AlphaBlend, AlphaBlendValue);
}

// A new scale: the added title's font follows, the controls learn the percentage, and the frame
// is cut and painted again for the new size.
void TsSkinProvider::SetScale(int percent) {
  const int old = FCommonData->ScalePercent;
  if (percent > 0 && old > 0 && percent != old) {
    FAddedTitleFont.SetHeight(win::MulDiv(FAddedTitleFont.Height(), percent, old));
    FHeaderHeight = win::MulDiv(FHeaderHeight, percent, old);
  }
  FCommonData->BGChanged = true;
  FRgnChanged = true;
}

void TsSkinProvider::FrameChanged() {
  if (!FForm->HandleAllocated() || FForm->HasState(fw::csDestroying)) return;
  win::SetWindowPos(FForm->Handle(), nullptr, 0, 0, 0, 0,
                    win::SWP_NOMOVE | win::SWP_NOSIZE | win::SWP_NOZORDER | win::SWP_NOACTIVATE |
                        win::SWP_NOOWNERZORDER | win::SWP_FRAMECHANGED);
}

// ---- Messages ----------------------------------------------------------------------------------

win::LRESULT TsSkinProvider::ProcessMessage(win::UINT msg, win::WPARAM wParam, win::LPARAM lParam) {
  fw::TMessage m{msg, wParam, lParam, 0};
  FForm->WindowProc(m);
  return m.Result;
}

bool TsSkinProvider::SkinCommand(fw::TMessage& m, const fw::TWndNext& next) {
  sc::TsScrollWndData& cd = *FCommonData;
  const sc::TsSkinManager* manager = cd.SkinManager();
  const bool ours = manager && m.LParam == win::LPARAM(manager);
  switch (sc::WParamHi(m.WParam)) {
    case sc::AC_GETPROVIDER:
      m.Result = win::LRESULT(static_cast<sc::TacFormProvider*>(this));
      return true;
    case sc::AC_CTRLHANDLED:
      m.Result = 1;
      return true;
    case sc::AC_SETPOSCHANGING:
      if (m.LParam)
        FFormState |= FS_POSCHANGING;
      else
        FFormState &= ~FS_POSCHANGING;
      return true;
    case sc::AC_GETPOSCHANGING:
      m.Result = (FFormState & FS_POSCHANGING) ? 1 : 0;
      return true;
    case sc::AC_UPDATING:
      // Suspended painting shows a new picture when it resumes.
      cd.FUpdating = sc::WParamLo(m.WParam) == 1;
      if (cd.FUpdating) cd.BGChanged = true;
      return true;
    case sc::AC_PREPARING:
      m.Result = (cd.FUpdating || cd.FUpdateCount > 0) && !(FFormState & FS_ANIMATING) ? 1 : 0;
      return true;
    case sc::AC_GETBORDERWIDTH: {
      // The width of the form's left frame.
      if (!FForm->HandleAllocated()) return true;
      win::POINT origin{0, 0};
      win::ClientToScreen(FForm->Handle(), &origin);
      m.Result = origin.X - WindowRect(FForm->Handle()).Left;
      return true;
    }
    case sc::AC_NCPAINT:
      // The caption again; with 1 its items are laid out anew first.
      if (sc::WParamLo(m.WParam) == 1 && FTitleBar)
        FTitleBar->Invalidate();
      else
        UpdateFrame();
      return true;
    case sc::AC_SETALPHA:
      SetWindowAlpha(int(std::clamp<win::LPARAM>(m.LParam, 0, 255)));
      return true;
    case sc::AC_SETNEWSKIN:
      sc::CommonWndProc(m, cd);
      if (ours) {
        for (TsCaptionButton& b : FButtons) b.cpTimer.reset();
        PrepareForm();
        // The client's wrapper takes the new skin's sections.
        if (FMDIForm) FMDIForm->RefreshMDIScrolls();
        InitExBorders();
        if (FAdapter)
          AddAllItems();
        else
          CheckAdapter();
      }
      return true;
    case sc::AC_REMOVESKIN:
      sc::CommonWndProc(m, cd);
      if (ours) {
        if (FAdapter) FAdapter->WndProc(m);
        RemoveSkin();
      }
      return true;
    case sc::AC_REFRESH:
      sc::CommonWndProc(m, cd);
      if (ours && Skinned() && FForm->HandleAllocated()) {
        if (!FSkinApplied) ApplySkin();
        if (FAdapter) {
          FAdapter->WndProc(m);
          AddAllItems();
        }
        cd.BGChanged = true;
        FRgnChanged = true;
        InitExBorders();
        HookMDI(true);
        win::RedrawWindow(FForm->Handle(), nullptr, nullptr,
                          win::RDW_INVALIDATE | win::RDW_FRAME | win::RDW_ERASE);
      }
      return true;
    case sc::AC_SETNCSKINNED:
      if (Skinned()) {
        ApplySkin();
        win::RedrawWindow(FForm->Handle(), nullptr, nullptr,
                          win::RDW_INVALIDATE | win::RDW_FRAME | win::RDW_ERASE);
      } else if (FSkinApplied) {
        RemoveSkin();
      }
      return true;
    case sc::AC_SETBGCHANGED:
      cd.BGChanged = true;
      return true;
    case sc::AC_CONTROLLOADED:
      // A control finished loading: it (or, without one, the whole form) is scanned again.
      WithAdapter([&m](TacCtrlAdapter& a) {
        if (auto* c = dynamic_cast<fw::TWinControl*>(reinterpret_cast<fw::TControl*>(m.LParam)))
          a.AddAllItems(c);
        else if (!m.LParam)
          a.AddAllItems();
      });
      break;
    case sc::AC_PREPARECACHE:
      PaintAll();
      return true;
    case sc::AC_GETBG: {
      auto& info = *reinterpret_cast<draw::TacBGInfo*>(m.LParam);
      if (!FDrawClientArea || !PaintAll()) break;
      info.BgType = draw::TacBGType::btCache;
      info.Bmp = FCommonData->CacheBmp();
      info.Offset = {info.Offset.X + OffsetX(), info.Offset.Y + OffsetY()};
      if (info.PleaseDraw && info.DrawDC) {
        gfx::DeviceContext from(*info.Bmp);
        gfx::BitBlt(info.DrawDC, info.R.Left, info.R.Top, info.R.Width(), info.R.Height(), &from,
                    info.R.Left + info.Offset.X, info.R.Top + info.Offset.Y, gfx::SRCCOPY);
      }
      return true;
    }
    case sc::AC_GETCONTROLCOLOR:
      if (!Skinned()) break;
      m.Result = win::LRESULT(sc::GetBGColor(cd, SectionState(cd.SkinIndex)));
      return true;
    case sc::AC_PARENTCLOFFSET:
      m.Result = win::LRESULT(win::MAKELPARAM(OffsetX(), OffsetY()));
      return true;
    case sc::AC_MOUSELEAVE:
      SetHotHT(0);
      FClicked = false;
      return true;
    case sc::AC_GETSCALE:
      m.Result = FAllowScale ? cd.ScalePercent : -1;
      return true;
    case sc::AC_ENDUPDATE:
      // Menu changes held while updating are announced now.
      if (cd.CtrlSkinState & sc::ACS_MNUPDATING) {
        cd.CtrlSkinState &= ~sc::ACS_MNUPDATING;
        FForm->Perform(fw::CM_MENUCHANGED, 0, 0);
      }
      return true;
    case sc::AC_GETFONTINDEX: {
      // Skins that know the header band's text (10.25 on) write text standing on the band in
      // its section's colours and other text on the form in the form's; older skins keep the
      // common answer.
      const sd::TacSkinModel* model = ModelOf(cd);
      if (!model || model->CommonSkinData.Version < acHeaderFontVersion || !m.LParam || !Skinned())
        break;
      auto& pi = *reinterpret_cast<sc::TacPaintInfo*>(m.LParam);
      const bool onHeader =
          FHeaderHeight > 0 && model->IsValidSkinIndex(FHeaderIndex) && pi.R.Top < FHeaderHeight;
      pi.FontIndex = onHeader ? FHeaderIndex : cd.SkinIndex;
      m.Result = 1;
      return true;
    }
    case sc::AC_SETSCALE: {
      const int old = ScalePercent();
      SetScale(int(m.LParam));
      if (!sc::CommonWndProc(m, cd)) next(m);
      if (ScalePercent() != old && FSkinApplied) FrameChanged();
      if (FForm->HandleAllocated() && win::IsWindowVisible(FForm->Handle()))
        win::RedrawWindow(FForm->Handle(), nullptr, nullptr,
                          win::RDW_INVALIDATE | win::RDW_FRAME | win::RDW_ERASE);
      return true;
    }
    default:
      break;
  }
  if (!sc::CommonWndProc(m, cd)) next(m);
  return true;
}

void TsSkinProvider::NewWndProc(fw::TMessage& m, const fw::TWndNext& next) {
  if (m.Msg == sc::SM_ALPHACMD) {
    SkinCommand(m, next);
    return;
  }
  if (FRTInit && (m.Msg == win::WM_NCPAINT || m.Msg == win::WM_NCACTIVATE ||
                  m.Msg == win::WM_NCCALCSIZE || m.Msg == win::WM_SHOWWINDOW))
    LoadInit();
  if (m.Msg == win::WM_INITMENUPOPUP && IsMDIParent()) {
    const auto popup = reinterpret_cast<win::HMENU>(m.WParam);
    if (UpdateWindowList(popup)) {
      m.Result = 0;
      return;
    }
    next(m);
    return;
  }
  if (m.Msg == win::WM_ENTERMENULOOP || m.Msg == win::WM_EXITMENULOOP) {
    MenuLoopIcons(m.Msg == win::WM_ENTERMENULOOP);
    next(m);
    return;
  }
  if (!Skinned() || !FSkinApplied) {
    if (m.Msg == win::WM_SHOWWINDOW || m.Msg == win::WM_NCPAINT || m.Msg == win::WM_CREATE) {
      next(m);
      PrepareForm();
      if (FSkinApplied && m.Msg != win::WM_CREATE) UpdateFrame();
      return;
    }
    next(m);
    return;
  }
  const win::HWND h = FForm->Handle();
  switch (m.Msg) {
    case win::WM_NCPAINT:
      NCPaint();
      m.Result = 0;
      return;
    case win::WM_NCCALCSIZE: {
      next(m);
      // The scaled caption's room: the client area starts lower.
      const int extra = SysCaptionHeight() - SystemCaptionHeight();
      if (extra <= 0) return;
      win::RECT& r = m.WParam ? reinterpret_cast<win::NCCALCSIZE_PARAMS*>(m.LParam)->rgrc[0]
                              : *reinterpret_cast<win::RECT*>(m.LParam);
      r.Top = std::min(r.Bottom, r.Top + extra);
      return;
    }
    case win::WM_NCACTIVATE: {
      FFormState |= FS_ACTIVATE;
      // A form that comes back maximised with its owner is painted once it is activated: its
      // children wait meanwhile, then frame and children are drawn whole. Deactivated first,
      // nothing is pending any more.
      const bool maximizing = FShowAction == sc::saMaximize && m.WParam != 0;
      if (FShowAction == sc::saMaximize) FShowAction = sc::saIgnore;
      if (maximizing && !FBorderForm) FCommonData->FUpdating = true;
      if (FFormActive != (m.WParam != 0)) {
        FFormActive = m.WParam != 0;
        if (ActivationShows()) FCommonData->BGChanged = true;
      }
      CheckAdapter();
      NCPaint();
      // The platform's frame procedure would tell the active child; this one does it instead.
      if (IsMDIParent())
        if (fw::TCustomForm* child = FForm->ActiveMDIChild(); child && child->HandleAllocated())
          win::SendMessageW(child->Handle(), win::WM_NCACTIVATE, m.WParam, 0);
      if (maximizing) {
        FCommonData->FUpdating = false;
        FCommonData->BGChanged = true;
        win::RedrawWindow(h, nullptr, nullptr,
                          win::RDW_INVALIDATE | win::RDW_FRAME | win::RDW_ERASE |
                              win::RDW_ALLCHILDREN | win::RDW_UPDATENOW);
      }
      FFormState &= ~FS_ACTIVATE;
      m.Result = 1;
      return;
    }
    case win::WM_PAINT: {
      if (!FDrawClientArea) break;
      win::PAINTSTRUCT ps;
      if (gfx::HDC dc = win::BeginPaint(h, &ps)) PaintForm(dc, ps.rcPaint);
      win::EndPaint(h, &ps);
      m.Result = 0;
      return;
    }
    case win::WM_ERASEBKGND:
      if (!FDrawClientArea) break;
      if (m.WParam && PaintAll()) {
        const TRect client{0, 0, FForm->ClientWidth(), FForm->ClientHeight()};
        sc::CopyWinControlCache(*FForm, *FCommonData, client.Offset(OffsetX(), OffsetY()), client,
                                reinterpret_cast<gfx::HDC>(m.WParam), false);
      }
      m.Result = 1;
      return;
    case win::WM_PRINTCLIENT:
      return;
    case win::WM_PRINT: {
      auto dc = reinterpret_cast<gfx::HDC>(m.WParam);
      if (!dc || FForm->HasState(fw::csLoading)) return;
      // Extended, the DC takes the whole picture (frame, title and shadow), and the window lies
      // inside it at the border window's offsets.
      if (m.LParam & win::PRF_NONCLIENT) {
        if (!FBorderForm) {
          PaintCaption(dc);
        } else if (PaintAll()) {
          gfx::Bitmap& cache = *FCommonData->CacheBmp();
          gfx::DeviceContext from(cache);
          gfx::BitBlt(dc, 0, 0, cache.Width(), cache.Height(), &from, 0, 0, gfx::SRCCOPY);
        }
      }
      if (m.LParam & (win::PRF_CLIENT | win::PRF_ERASEBKGND)) {
        const int saved = gfx::SaveDC(dc);
        gfx::OffsetViewportOrgEx(dc, OffsetX(), OffsetY(), nullptr);
        PaintForm(dc, TRect{0, 0, FForm->ClientWidth(), FForm->ClientHeight()});
        gfx::RestoreDC(dc, saved);
      }
      // The children print themselves, at their place in the picture.
      m.LParam &= ~(win::PRF_NONCLIENT | win::PRF_CLIENT | win::PRF_ERASEBKGND);
      const int saved = gfx::SaveDC(dc);
      if (FBorderForm)
        gfx::OffsetViewportOrgEx(dc, FBorderForm->OffsetX(), FBorderForm->OffsetY(), nullptr);
      next(m);
      gfx::RestoreDC(dc, saved);
      return;
    }
    case win::WM_SETTEXT:
      FreeGlows();
      next(m);
      UpdateFrame();
      return;
    case win::WM_SETREDRAW:
      if (m.WParam == 0) {
        ++FLockCount;
      } else if (FLockCount > 0) {
        --FLockCount;
      }
      next(m);
      return;
    case win::WM_SIZE:
    case win::WM_WINDOWPOSCHANGED: {
      const gfx::Bitmap* cache = FCommonData->CacheBmp();
      const bool resized =
          !cache || cache->Width() != CaptionWidth() || cache->Height() != CacheHeight();
      next(m);
      if (m.Msg == win::WM_WINDOWPOSCHANGED && (FFormState & FS_ANIMCLOSING)) {
        // Hidden: a cover of its last picture fades out; the run outlives the form, so it
        // refers to nothing of it.
        FFormState &= ~FS_ANIMCLOSING;
        if (win::IsWindow(h) && !win::IsWindowVisible(h) && HideAnimationApplies())
          AnimHideForm(h, *FCommonData, AlphaBlend, AlphaBlendValue);
      }
      // Shown, moved, sized, maximised or hidden: the extended border follows (or goes).
      if (m.Msg == win::WM_WINDOWPOSCHANGED) InitExBorders(resized);
      if (resized) {
        FreeGlows();
        FCommonData->BGChanged = true;
        FRgnChanged = true;
        if (win::IsWindowVisible(h)) UpdateRegion(true);
        sc::AlphaBroadCast(*FForm, {sc::SM_ALPHACMD, sc::MakeAlphaCmd(sc::AC_SETBGCHANGED), 0, 0});
      }
      if (FVeil.Window() || !FForm->Enabled()) UpdateLayerForm();
      // A child maximised, minimised or restored changes the parent's menu line and client.
      if (m.Msg == win::WM_SIZE && IsMDIChild()) {
        const bool zoomed = m.WParam == win::SIZE_MAXIMIZED;
        if (zoomed || FMDIZoomed || m.WParam == win::SIZE_MINIMIZED) NotifyMDIParent(true);
        FMDIZoomed = zoomed;
      }
      return;
    }
    case win::WM_MDIACTIVATE:
      next(m);
      NotifyMDIParent(false);
      return;
    case win::WM_DESTROY:
      next(m);
      NotifyMDIParent(true);
      return;
    case win::WM_SHOWWINDOW: {
      // Restoring its owner brings the main form back by itself while the manager's
      // minimising animation runs.
      const sc::TsSkinManager* sm = FCommonData->SkinManager();
      if (m.LParam == win::SW_PARENTOPENING && fw::Application &&
          fw::Application->MainForm() == FForm && sm && sm->Effects().AllowAnimation &&
          sm->AnimEffects().Minimizing.Active) {
        next(m);
        return;
      }
      next(m);
      // Hidden with its owner: remembered how it comes back.
      if (m.LParam == win::SW_PARENTCLOSING && !m.WParam)
        FShowAction = win::IsIconic(h)   ? sc::saMinimize
                      : win::IsZoomed(h) ? sc::saMaximize
                                         : sc::saRestore;
      if (m.WParam) {
        FRgnChanged = true;
        FCommonData->BGChanged = true;
      }
      return;
    }
    case win::WM_STYLECHANGED:
      // A new border style: the frame is laid out and cut again, and the system-menu style the
      // form may have put back goes once more.
      next(m);
      if (m.WParam == win::WPARAM(win::GWL_STYLE)) {
        CheckSysMenu(true);
        FCommonData->BGChanged = true;
        FRgnChanged = true;
      }
      return;
    case win::WM_ACTIVATE:
      next(m);
      FGlued.UpdateSlaveFormsList(*FForm);
      return;
    case win::WM_MOVE:
      next(m);
      FGlued.MoveGluedForms(*FForm);
      return;
    case win::WM_WINDOWPOSCHANGING: {
      auto& pos = *reinterpret_cast<win::WINDOWPOS*>(m.LParam);
      // A shown form about to be hidden (closed, Hide(), ShowWindow or SetWindowPos) fades out
      // once it is hidden.
      if ((pos.flags & win::SWP_HIDEWINDOW) && win::IsWindowVisible(h) && !win::IsIconic(h) &&
          HideAnimationApplies())
        FFormState |= FS_ANIMCLOSING;
      EndStretch(pos);
      SnapPosition(pos);
      break;
    }
    case win::WM_GETMINMAXINFO:
      // Maximised, the frame lies just outside the work area (its region keeps the inside).
      // The extended border's title, taller than the system caption, stands above the window:
      // the window comes down by the difference so that the title stays on the screen.
      if (SysBorderWidth() > 0 && !FForm->Parent() && !IsMDIChild()) {
        auto& mmi = *reinterpret_cast<win::MINMAXINFO*>(m.LParam);
        win::RECT work{};
        win::SystemParametersInfoW(win::SPI_GETWORKAREA, 0, &work, 0);
        const int b = SysBorderWidth();
        const int t = MaximizedTitleExcess();
        mmi.ptMaxPosition = {work.Left - b, work.Top + t - b};
        mmi.ptMaxSize = {work.Width() + 2 * b, work.Height() + 2 * b - t};
      }
      break;
    case fw::CM_VISIBLECHANGED:
      next(m);
      // A hidden form keeps no picture and no fades.
      if (!FForm->Visible() && !FForm->HasState(fw::csDestroying)) {
        for (TsCaptionButton& b : FButtons) {
          b.cpTimer.reset();
          b.cpState = 0;
        }
        FCurrentHT = 0;
        FCommonData->ClearCache();
        FCommonData->BGChanged = true;
        FVeil.Free();
        FreeExBorders();
      }
      return;
    case fw::CM_SHOWINGCHANGED:
      if (FForm->Showing()) {
        // Shown: scaled to the manager's scale first, then faded in when the effect applies.
        const sc::TsSkinManager* sm = FCommonData->SkinManager();
        if (FAllowScale && sm && FForm->ClassName() != "TMessageForm" &&
            sc::aScalePercents[std::size_t(sm->GetScale())] != FCommonData->ScalePercent)
          sc::UpdateScale(*FForm, 100);
        HookMDI(true);
        if (ShowAnimationApplies()) {
          ShowAnimated(m, next);
          AddAllItems();
          return;
        }
      }
      next(m);
      AddAllItems();
      return;
    case win::WM_PARENTNOTIFY:
      next(m);
      // A visible child window was made: it, or when it is no control, the whole form.
      if ((m.WParam & 0xFFFF) == win::WM_PARENTNOTIFY_CREATE) {
        const win::HWND child = win::HwndFromParam(std::uintptr_t(m.LParam));
        if (win::IsWindow(child) && win::IsWindowVisible(child))
          WithAdapter([child](TacCtrlAdapter& a) {
            if (fw::TWinControl* c = fw::TWinControl::FindControl(child))
              a.AddNewItem(c);
            else
              a.AddAllItems();
          });
      }
      return;
    case fw::CM_CONTROLLISTCHANGE:
      next(m);
      if (m.LParam)
        if (auto* c = dynamic_cast<fw::TWinControl*>(reinterpret_cast<fw::TControl*>(m.WParam)))
          WithAdapter([c](TacCtrlAdapter& a) { a.AddNewItem(c); });
      return;
    case fw::CM_ENABLEDCHANGED:
      next(m);
      UpdateLayerForm();
      UpdateFrame();
      return;
    case win::WM_NCHITTEST: {
      const int ht = HTProcess(win::PointFromLParam(m.LParam));
      if (IsButtonHT(ht) || ht == win::HTSYSMENU) {
        m.Result = ht;
        return;
      }
      next(m);
      // The rows a scaled caption adds below the system's are caption too.
      if (ht == win::HTCAPTION && m.Result == win::HTBORDER) m.Result = win::HTCAPTION;
      return;
    }
    case win::WM_NCMOUSEMOVE: {
      if (!FForm->Enabled()) break;
      const int ht = HTProcess(win::PointFromLParam(m.LParam));
      m.WParam = win::WPARAM(ht);
      if (IsButtonHT(ht)) {
        if (!FClicked || ht == FCurrentHT) SetHotHT(ht);
        // The platform's frame sees the move too: the mouse left the menu line's hot item,
        // and no leave comes while it stays in the frame.
        next(m);
        win::TRACKMOUSEEVENT tme;
        tme.dwFlags = win::TME_LEAVE | win::TME_NONCLIENT;
        // Extended, the mouse is over the border window, which passes its leave on.
        tme.hwndTrack = BorderWindow() ? BorderWindow() : h;
        win::TrackMouseEvent(&tme);
        return;
      }
      if (!FClicked) SetHotHT(0);
      break;
    }
    case win::WM_MOUSEMOVE:
      if (FSizing.InProcess()) {
        win::POINT p = win::PointFromLParam(m.LParam);
        win::ClientToScreen(h, &p);
        FSizing.DrawFormBorder({p.X, p.Y});
        return;
      }
      if (FCapture) {
        // Held down: the pressed button shows pressed only while the mouse is over it.
        win::POINT p = win::PointFromLParam(m.LParam);
        win::ClientToScreen(h, &p);
        if (TsCaptionButton* b = ButtonByHT(FCurrentHT)) {
          const int state = HTProcess({p.X, p.Y}) == FCurrentHT ? 2 : 0;
          if (b->cpState != state) {
            b->cpState = state;
            RepaintButton(FCurrentHT);
          }
        }
        return;
      }
      next(m);
      if (!FClicked) SetHotHT(0);
      return;
    case win::WM_NCMOUSELEAVE:
    case win::WM_MOUSELEAVE:
      if (!FCapture) {
        SetHotHT(0);
        FClicked = false;
      }
      next(m);
      return;
    case win::WM_NCLBUTTONDOWN:
    case win::WM_NCLBUTTONDBLCLK: {
      // A quick second click on a caption button presses it again.
      const int ht = int(m.WParam);
      if (m.Msg == win::WM_NCLBUTTONDOWN &&
          (StartFrameSizing(ht, win::PointFromLParam(m.LParam)) || StartTranslucentMove(ht))) {
        m.Result = 0;
        return;
      }
      if (IsButtonHT(ht)) {
        SetPressedHT(ht);
        if (FClicked) {
          win::SetCapture(h);
          FCapture = true;
          if (TacTitleBarItem* item = ItemByHT(ht)) {
            item->DoMouseDown(fw::TMouseButton::mbLeft);
          } else if (ht >= HTUDBTN) {
            TsTitleButton& t = TitleButton(ht - HTUDBTN);
            if (t.OnMouseDown) t.OnMouseDown(this);
          }
        }
        return;
      }
      if (m.Msg == win::WM_NCLBUTTONDBLCLK && OnCaptionDblClick(ht)) return;
      break;
    }
    case win::WM_NCLBUTTONUP:
      if (FClicked) {
        OnLButtonUp(win::PointFromLParam(m.LParam));
        return;
      }
      break;
    case win::WM_LBUTTONUP:
      if (FSizing.InProcess()) {
        win::POINT p = win::PointFromLParam(m.LParam);
        win::ClientToScreen(h, &p);
        FSizing.StopMove({p.X, p.Y});
        return;
      }
      if (FClicked) {
        win::POINT p = win::PointFromLParam(m.LParam);
        win::ClientToScreen(h, &p);
        OnLButtonUp({p.X, p.Y});
        return;
      }
      break;
    case win::WM_SYSCOMMAND:
    case win::WM_CONTEXTMENU:
    case win::WM_POPUPSYSTEMMENU:
      if (SysMenuMessage(m)) return;
      // The form's menu, or a windowless child's under the point, opens skinned.
      if (m.Msg == win::WM_CONTEXTMENU)
        sc::HookContextPopups(FForm, m.LParam, FCommonData->SkinManager());
      if (m.Msg == win::WM_SYSCOMMAND && AnimateSysCommand(m, next)) return;
      break;
    case win::WM_SETTINGCHANGE:
      // A new work area moves the target of a minimise (and a minimised picture) with it.
      FCommonData->BGChanged = true;
      if (m.WParam == win::SPI_SETWORKAREA && FFormTimer) FFormTimer->UpdateDstRect();
      break;
    case win::WM_SETCURSOR:
      // A hot title-bar item shows its own cursor.
      if (ItemByHT(FCurrentHT)) {
        m.Result = 1;
        return;
      }
      break;
    case win::WM_CAPTURECHANGED:
      if (FSizing.InProcess() && win::HWND(m.LParam) != h) FSizing.Cancel();
      if (FCapture && win::HWND(m.LParam) != h) {
        FCapture = false;
        FClicked = false;
        SetHotHT(0);
      }
      break;
    case win::WM_MEASUREITEM:
    case win::WM_DRAWITEM: {
      // A maximised MDI child's icon and buttons on the skinned menu line.
      sc::TsSkinManager* mgr = FCommonData->SkinManager();
      const bool measure = m.Msg == win::WM_MEASUREITEM;
      auto* mis = reinterpret_cast<win::MEASUREITEMSTRUCT*>(m.LParam);
      auto* dis = reinterpret_cast<win::DRAWITEMSTRUCT*>(m.LParam);
      const bool menuItem = m.LParam && (measure ? mis->CtlType : dis->CtlType) == win::ODT_MENU;
      if (menuItem && mgr && mgr->SkinnedPopups() &&
          MdiLineItem(measure ? mis->itemData : dis->itemData)) {
        if (measure)
          MeasureMdiItem(*mis);
        else
          DrawMdiItem(*dis);
        m.Result = 1;
        return;
      }
      break;
    }
    case fw::CM_MENUCHANGED:
      // New or changed items of the main menu draw through the skin too; the line is painted
      // again.
      if (sc::TsSkinManager* mgr = FCommonData->SkinManager(); mgr && FForm->Menu())
        if (sc::TacMenuPainter* menus = mgr->SkinableMenus())
          menus->InitMenuLine(*FForm->Menu(), true);
      FCommonData->BGChanged = true;
      break;
    default:
      break;
  }
  next(m);
}

// ---- Dump --------------------------------------------------------------------------------------

namespace {

const char* ButtonKindName(TacCaptionButtonKind kind) {
  switch (kind) {
    case cbClose:
      return "close";
    case cbMax:
      return "max";
    case cbMin:
      return "min";
    default:
      return "help";
  }
}

const char* AlignmentName(fw::TAlignment a) {
  switch (a) {
    case fw::TAlignment::taCenter:
      return "taCenter";
    case fw::TAlignment::taRightJustify:
      return "taRightJustify";
    default:
      return "taLeftJustify";
  }
}

void WriteProvider(win::HWND hwnd, backend::JsonWriter& w) {
  auto* form = dynamic_cast<fw::TCustomForm*>(fw::TWinControl::FindControl(hwnd));
  if (!form) return;
  TsSkinProvider* p = TsSkinProvider::GetSkinProvider(*form);
  if (!p || p->Inert()) return;
  w.Key("provider");
  w.BeginObject();
  w.Key("section");
  w.String(p->SkinData().SkinSection());
  w.Key("captionHeight");
  w.Number(p->CaptionHeight());
  w.Key("borderWidth");
  w.Number(p->BorderWidth());
  w.Key("captionAlignment");
  w.String(AlignmentName(p->CaptionAlignment()));
  w.Key("buttons");
  w.BeginArray();
  const TRect wr = WindowRect(form->Handle());
  auto button = [&](const char* kind, const TsCaptionButton& b) {
    if (b.cpRect.Right <= b.cpRect.Left) return;
    w.BeginObject();
    w.Key("kind");
    w.String(kind);
    w.Key("rect");
    WriteRect(w, b.cpRect.Offset(wr.Left, wr.Top));
    w.Key("state");
    w.Number(b.cpState);
    w.EndObject();
  };
  if (p->Skinned()) {
    for (TacCaptionButtonKind kind : {cbClose, cbMax, cbMin, cbHelp})
      button(ButtonKindName(kind), p->Button(kind));
    for (int i = 0; i < p->TitleButtonCount(); ++i) button("user", p->TitleButton(i).Data);
  }
  w.EndArray();
  w.Key("active");
  w.Bool(p->FormActive());
  // An MDI parent: whether its client window wears the skin, and whether the menu line shows
  // a maximised child's buttons.
  if (p->IsMDIParent()) {
    w.Key("mdiClient");
    w.Bool(p->MDIForm() && p->MDIForm()->Connected());
    w.Key("mdiButtons");
    w.Bool(p->MDIButtonsNeeded());
    // The skinned list of the children in the window menu, as made when it was opened last.
    w.Key("windowList");
    w.BeginArray();
    for (const fw::TMenuItem* item : p->WindowListItems())
      if (!item->IsLine()) {
        w.BeginObject();
        w.Key("caption");
        w.String(item->Caption());
        w.Key("checked");
        w.Bool(item->Checked());
        w.Key("tag");
        w.Number(int(item->Tag));
        w.EndObject();
      }
    w.EndArray();
  }
  w.Key("region");
  gfx::Region rgn;
  if (win::GetWindowRgn(form->Handle(), &rgn) == gfx::RGN_ERROR) {
    w.Null();
  } else {
    w.BeginArray();
    for (const TRect& r : rgn.Rects()) WriteRect(w, r);
    w.EndArray();
  }
  // The controls the adapter wrapped, by name (null without an adapter).
  w.Key("adapter");
  if (TacCtrlAdapter* a = p->Adapter()) {
    w.BeginArray();
    for (int i = 0; i < a->Count(); ++i)
      if (const fw::TWinControl* c = a->GetItem(i).WinCtrl) w.String(c->Name());
    w.EndArray();
  } else {
    w.Null();
  }
  w.EndObject();
}

}  // namespace

void InstallProviderDump() {
  static bool done = false;
  if (done) return;
  done = true;
  backend::AddDumpExtender(WriteProvider);
}

}  // namespace skin::frame
