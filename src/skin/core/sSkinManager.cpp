#include "skin/core/sSkinManager.h"

#include "skin/core/acDialogHook.h"

#include <algorithm>
#include <cctype>
#include <exception>
#include <optional>
#include <vector>

#include "framework/Application.h"
#include "framework/Automation.h"
#include "framework/ControlMessages.h"
#include "framework/Dialogs.h"
#include "framework/Exception.h"
#include "framework/Form.h"
#include "framework/Reader.h"
#include "framework/TextConv.h"
#include "framework/WinControl.h"
#include "platform/gfx/Font.h"
#include "platform/win/Input.h"
#include "platform/win/Menu.h"
#include "platform/win/MenuWindow.h"
#include "platform/win/MessageQueue.h"
#include "platform/win/MulDiv.h"
#include "platform/win/Paint.h"
#include "platform/win/Styles.h"
#include "platform/win/SystemInfo.h"
#include "platform/win/SystemMetrics.h"
#include "platform/win/Window.h"
#include "skin/core/acGlow.h"
#include "skin/core/acReceivers.h"
#include "skin/core/acScaleFollower.h"
#include "skin/core/sCommonData.h"
#include "skin/core/sConst.h"
#include "skin/core/sMessages.h"
#include "skin/core/sStyleSimply.h"
#include "skin/core/sVclUtils.h"
#include "skin/data/acSkinValues.h"
#include "skin/draw/sSkinText.h"

namespace skin::core {

bool aSkinChanging = false;
bool InAnimationProcess = false;
bool acPreviewNeeded = false;
bool acSkinPreviewUpdating = false;
const std::string* acMemSkinFile = nullptr;
bool ac_OldGlyphsMode = true;
TsSkinManager* DefaultManager = nullptr;
const bool IsNT = [] {
  win::OSVERSIONINFOW info;
  return win::GetVersionExW(&info) && info.dwPlatformId == win::VER_PLATFORM_WIN32_NT;
}();

namespace {

constexpr std::u16string_view kDefSkinDirectory = u"c:\\Skins";

// Clears a flag when the scope ends, however it ends.
class TacFlagGuard {
 public:
  explicit TacFlagGuard(bool& flag) : FFlag(flag) { FFlag = true; }
  ~TacFlagGuard() { FFlag = false; }
  TacFlagGuard(const TacFlagGuard&) = delete;
  TacFlagGuard& operator=(const TacFlagGuard&) = delete;

 private:
  bool& FFlag;
};

void Raise(const fw::TNotifyEvent& event, fw::TComponent* sender) {
  if (event) event(sender);
}

// The platform's own colours (never a skin's redirected ones: a new skin falls back on these).
data::TacSystemColors SystemColors() {
  data::TacSystemColors c;
  c.BtnFace = data::TColor(win::DefGetSysColor(win::COLOR_BTNFACE));
  c.WindowText = data::TColor(win::DefGetSysColor(win::COLOR_WINDOWTEXT));
  c.Window = data::TColor(win::DefGetSysColor(win::COLOR_WINDOW));
  c.InfoText = data::TColor(win::DefGetSysColor(win::COLOR_INFOTEXT));
  c.InfoBk = data::TColor(win::DefGetSysColor(win::COLOR_INFOBK));
  c.Highlight = data::TColor(win::DefGetSysColor(win::COLOR_HIGHLIGHT));
  c.HighlightText = data::TColor(win::DefGetSysColor(win::COLOR_HIGHLIGHTTEXT));
  c.SizingFrame = win::GetSystemMetrics(win::SM_CXSIZEFRAME);
  return c;
}

int ScreenDpi() {
  gfx::HDC dc = win::GetDC(nullptr);
  const int dpi = win::GetDeviceCaps(dc, win::LOGPIXELSY);
  win::ReleaseDC(nullptr, dc);
  return dpi;
}

bool CursorIn(const win::RECT& r) {
  win::POINT p{};
  win::GetCursorPos(&p);
  return r.Contains(p);
}

bool MouseInWindow(win::HWND wnd) {
  win::RECT r{};
  return win::GetWindowRect(wnd, &r) && CursorIn(r);
}

bool MouseOverControl(fw::TControl* control) {
  const fw::TPoint origin = control->ClientToScreen({0, 0});
  return CursorIn(gfx::RectOfSize(origin.X, origin.Y, control->Width(), control->Height()));
}

// The system colours whose brushes the manager makes for the redirection, and their colours.
constexpr std::array<int, 3> kSysBrushIndexes = {win::COLOR_WINDOWTEXT, win::COLOR_HIGHLIGHT,
                                                 win::COLOR_HIGHLIGHTTEXT};
constexpr std::array<data::TacPaletteColors, 3> kSysBrushColors = {
    data::pcEditText, data::pcSelectionBG_Focused, data::pcSelectionText_Focused};

const data::TsSkinData kNoSkinData{};
const data::TConstantSkinData kNoConstData{};

}  // namespace

int acScaleOfDpi(int dpi) {
  if (dpi >= 192) return 3;
  if (dpi >= 144) return 2;
  if (dpi >= 120) return 1;
  return 0;
}

// The library's scaled globals from the old percentage to the new one; the glyph and scroll
// button sizes from their sizes at 100 percent, so that steps there and back come home exactly.
void ScaleGlobals(int newPercent, int oldPercent) {
  draw::acScaleArrowMetrics(newPercent, oldPercent);
  acSpacing = win::MulDiv(4, newPercent, 100);
  iDefIcoLineWidth = win::MulDiv(kDefIcoLineWidth, newPercent, 100);
  acScrollBtnLength = win::MulDiv(win::GetSystemMetrics(win::SM_CXHSCROLL), newPercent, 100);
}

int GetScrollSize(const TsSkinManager* manager) {
  const int system = win::GetSystemMetrics(win::SM_CXVSCROLL);
  if (!manager) return system;
  if (manager->ScrollsOptions().ScrollSize() >= 0) return manager->ScrollsOptions().ScrollSize();
  const TacScaleMode mode = manager->Options().ScaleMode();
  if (mode == smAuto || mode == smOldMode) return system;
  return win::MulDiv(system, aScalePercents[std::size_t(manager->GetScale())],
                     aScalePercents[std::size_t(manager->SysFontScale())]);
}

int GetComboBtnSize(const TsSkinManager* manager) {
  return std::max(win::GetSystemMetrics(win::SM_CXVSCROLL), GetScrollSize(manager));
}

// ---- Option objects -------------------------------------------------------------------------

void TacSkinEffects::Changed() {
  if (!FManager.IsLoading() && !FManager.NoAutoUpdate()) FManager.RepaintForms(false);
}

void TacSkinEffects::SetDiscoloredGlyphs(bool value) {
  if (FDiscoloredGlyphs == value) return;
  FDiscoloredGlyphs = value;
  Changed();
}

void TacSkinEffects::SetAllowOuterEffects(bool value) {
  if (FAllowOuterEffects == value) return;
  FAllowOuterEffects = value;
  Changed();
}

void TacButtonsSupport::SetOldGlyphsMode(bool value) {
  if (ac_OldGlyphsMode == value) return;
  ac_OldGlyphsMode = value;
  FManager.RepaintForms(true);
}

void TacScrollBarsSupport::SetScrollSize(int value) {
  if (FScrollSize == value) return;
  FScrollSize = value;
  if (!FManager.IsLoading()) AppBroadCastS({SM_ALPHACMD, MakeAlphaCmd(AC_REINITSCROLLS), 0, 0});
}

void TacScrollBarsSupport::SetButtonsSize(int value) {
  if (FButtonsSize == value) return;
  FButtonsSize = value;
  if (!FManager.IsLoading()) FManager.RepaintForms(false);
}

void TacFonts::SetMainFont(const std::u16string& value) {
  if (FMainFont == value) return;
  FMainFont = value;
  if (!FManager.IsLoading() && FMainMode == fmCustom) FManager.ChangeAppFont(FMainFont, true);
}

void TacFonts::SetMainMode(TacFontMode value) {
  if (FMainMode == value) return;
  FMainMode = value;
  if (FManager.IsLoading()) return;
  switch (value) {
    case fmDefault:
      if (!FManager.DefStoredFontName().empty())
        FManager.ChangeAppFont(FManager.DefStoredFontName(), true);
      break;
    case fmFromSkin: {
      const std::u16string skinFont = fw::Utf8ToUtf16(FManager.CommonSkinData().MainFont);
      FManager.ChangeAppFont(skinFont.empty() ? FManager.DefStoredFontName() : skinFont, true);
      break;
    }
    case fmCustom:
      FManager.ChangeAppFont(FMainFont, true);
      break;
  }
}

void TacOptions::SetChangeSysColors(bool value) {
  FChangeSysColors = value;
  if (!FManager.IsDefault() || FManager.IsLoading()) return;
  if (value)
    FManager.HookSysColors();
  else
    FManager.UnHookSysColors();
}

void TacOptions::SetDrawNonClientArea(bool value) {
  if (FDrawNonClientArea == value) return;
  FDrawNonClientArea = value;
  SendToHooked({SM_ALPHACMD, MakeAlphaCmd(AC_SETNCSKINNED), LPARAM(value ? 1 : 0), 0});
}

void TacOptions::SetArrowsStyle(TacArrowsStyle value) {
  if (FArrowsStyle == value) return;
  FArrowsStyle = value;
  FManager.UpdateSkin(true);
}

void TacOptions::SetScaleMode(TacScaleMode value) {
  if (FScaleMode == value) return;
  const int oldStep = FManager.GetScale();
  const TacScaleMode oldMode = FScaleMode;
  FScaleMode = value;
  FManager.ScaleChanged(oldMode, oldStep);
}

TacArrowsStyle TacOptions::ActualArrowStyle() const {
  if (FArrowsStyle != arsDefault) return FArrowsStyle;
  const int skin = FManager.CommonSkinData().ArrowStyle;
  return skin >= arsSolid1 && skin <= arsDefault ? TacArrowsStyle(skin) : arsDefault;
}

// ---- Foreign-control lists ------------------------------------------------------------------

const std::array<const char*, TsThirdPartyList::kCount>& TsThirdPartyList::Names() {
  static const std::array<const char*, kCount> names = {
      "ThirdEdits",        "ThirdButtons",     "ThirdBitBtns",       "ThirdCheckBoxes",
      "ThirdComboBoxes",   "ThirdGrids",       "ThirdGroupBoxes",    "ThirdListViews",
      "ThirdPanels",       "ThirdTreeViews",   "ThirdWWEdits",       "ThirdGridEh",
      "ThirdVirtualTrees", "ThirdPageControl", "ThirdTabControl",    "ThirdToolBar",
      "ThirdStatusBar",    "ThirdSpeedButton", "ThirdScrollControl", "ThirdUpDown",
      "ThirdScrollBar",    "ThirdStaticText",  "ThirdNativePaint"};
  return names;
}

const std::u16string& TsThirdPartyList::Default(int index) {
  static const std::u16string none = u" ", buttons = u"TButton", speed = u"TSpeedButton";
  return index == tpButton ? buttons : index == tpSpeedButton ? speed : none;
}

TsThirdPartyList::TsThirdPartyList() {
  for (int i = 0; i < kCount; ++i) FTexts[std::size_t(i)] = Default(i);
}

void LoadThirdNames(TsSkinManager& manager, bool overwrite) {
  for (int i = 0; i < TsThirdPartyList::kCount; ++i) {
    if (overwrite || manager.FThirdParty.Text(i).empty())
      manager.FThirdParty.SetText(i, TsThirdPartyList::Default(i));
    manager.FThirdLists[std::size_t(i)].SetText(manager.FThirdParty.Text(i));
  }
}

void UpdateThirdNames(TsSkinManager& manager) {
  for (int i = 0; i < TsThirdPartyList::kCount; ++i)
    manager.FThirdParty.SetText(i, manager.FThirdLists[std::size_t(i)].Text());
}

// ---- Manager references ---------------------------------------------------------------------

void TacManagerRef::Set(TsSkinManager* manager) {
  if (manager == FManager) return;
  if (FManager) std::erase(FManager->FUsers, this);
  FManager = manager;
  if (FManager) FManager->FUsers.push_back(this);
}

// ---- Lifecycle ------------------------------------------------------------------------------

TsSkinManager::TsSkinManager(fw::TComponent* owner) : TComponent(owner) {
  InstallSkinDump();
  FSysFontScale = acScaleOfDpi(ScreenDpi());
  FSysInactiveBorderColor = win::DefGetSysColor(win::COLOR_INACTIVEBORDER);
  if (!DefaultManager) {
    DefaultManager = this;
    if (fw::Application && IsNT) {
      FMainWindowHook =
          fw::Application->HookMainWindow([this](fw::TMessage& m) { return MainWindowHook(m); });
      FHookedApplication = fw::Application;
      FHookedApplication->FreeNotification(this);
    }
  }
  // The library's switch on the command line is looked at once, by the first manager.
  static bool versionSwitchSeen = false;
  if (!versionSwitchSeen) {
    versionSwitchSeen = true;
    CheckVersionSwitch(fw::ParamStrs());
  }
  FTimerCheckHot = new fw::TTimer(this);
  FTimerCheckHot->SetEnabled(false);
  FTimerCheckHot->SetInterval(100);
  FTimerCheckHot->SetOnTimer([this](fw::TComponent*) { OnCheckHot(); });
  SkinListSourcesChanged();
}

void TsSkinManager::AfterConstruction() {
  LoadThirdNames(*this, false);
  if (FSkinDirectory.empty()) FSkinDirectory = kDefSkinDirectory;
}

void TsSkinManager::Loaded() {
  const bool wasActive = CommonSkinData().Active;
  TComponent::Loaded();
  if (FSkinDirectory.empty()) FSkinDirectory = kDefSkinDirectory;
  if (FMenuSupport.IcoLineSkin.empty()) FMenuSupport.IcoLineSkin = u"ICOLINE";
  LoadThirdNames(*this, false);
  // A skin that failed to load while the description was read has nothing to announce.
  if (FActive && !FSkinName.empty() && FHolder.Active()) SendNewSkin(*this, false);
  if (!wasActive && CommonSkinData().Active) Raise(OnActivate, this);
  // The owner form's window joins the windows the dialog hook skins: a form without a provider
  // of its own gets one at run time when the rules skin standard forms.
  if (auto* form = dynamic_cast<fw::TCustomForm*>(Owner()); form && form->HandleAllocated())
    AddSupportedForm(form->Handle());
}

TsSkinManager::~TsSkinManager() {
  Destroying();
  if (CommonSkinData().Active) {
    try {
      SetActive(false);
    } catch (...) {
      // A receiver's error while the removal is announced: reported, the manager still goes.
      if (fw::Application) fw::Application->HandleException(std::current_exception());
    }
  }
  if (IsDefault() && FGlobalHookInstalled) {  // a removal that failed half-way
    UnInstallHook(*this);
    FGlobalHookInstalled = false;
  }
  FExtendedBorders = false;
  // Only from the application that gave the id (forgotten when it goes): another one's hook may
  // carry the same number.
  if (FMainWindowHook && FHookedApplication) {
    FHookedApplication->RemoveFreeNotification(this);
    FHookedApplication->UnhookMainWindow(FMainWindowHook);
  }
  if (DefaultManager == this) {
    UnHookSysColors();
    // The scaled globals followed this manager; the next one starts from 100 percent.
    if (GetScale() != 0) ScaleGlobals(100, aScalePercents[std::size_t(GetScale())]);
    DefaultManager = nullptr;
  }
  UpdateThirdNames(*this);
  // Whoever names this manager forgets it now.
  const std::vector<TacManagerRef*> users = FUsers;
  for (TacManagerRef* user : users) {
    if (std::find(FUsers.begin(), FUsers.end(), user) == FUsers.end()) continue;
    std::erase(FUsers, user);
    user->FManager = nullptr;
    if (user->OnFreed) user->OnFreed();
  }
  FActiveGraphControl = nullptr;
  DestroyComponents();  // the hover timer, while its handler's object is whole
}

void TsSkinManager::Notification(fw::TComponent* component, fw::TOperation operation) {
  if (operation == fw::TOperation::opRemove) {
    if (component == FActiveGraphControl) FActiveGraphControl = nullptr;
    if (component == FTimerCheckHot) FTimerCheckHot = nullptr;
    if (component == FHookedApplication) {
      FHookedApplication = nullptr;
      FMainWindowHook = 0;
    }
  }
  TComponent::Notification(component, operation);
}

// ---- The skin in force ----------------------------------------------------------------------

const data::TsSkinData& TsSkinManager::CommonSkinData() const {
  return FHolder.Model() ? FHolder.Model()->CommonSkinData : kNoSkinData;
}

const data::TConstantSkinData& TsSkinManager::ConstData() const {
  return FHolder.Model() ? FHolder.Model()->ConstData : kNoConstData;
}

int TsSkinManager::GetSkinIndex(std::string_view section) const {
  return SkinModel() ? SkinModel()->GetSkinIndex(section) : -1;
}

int TsSkinManager::GetMaskIndex(int skinIndex, std::string_view mask) const {
  return SkinModel() ? SkinModel()->GetMaskIndex(skinIndex, mask) : -1;
}

int TsSkinManager::GetMaskIndex(std::string_view section, std::string_view mask) const {
  return SkinModel() ? SkinModel()->GetMaskIndex(section, mask) : -1;
}

int TsSkinManager::GetTextureIndex(int skinIndex, std::string_view propName) const {
  return SkinModel() ? SkinModel()->GetTextureIndex(skinIndex, propName) : -1;
}

bool TsSkinManager::IsValidSkinIndex(int i) const {
  return SkinModel() && SkinModel()->IsValidSkinIndex(i);
}

bool TsSkinManager::IsValidImgIndex(int i) const {
  return SkinModel() && SkinModel()->IsValidImgIndex(i);
}

std::vector<std::string> TsSkinManager::GetSkinSections() const {
  return SkinModel() ? SkinModel()->GetSkinSections() : std::vector<std::string>{};
}

data::TColor TsSkinManager::GetGlobalColor() const {
  return SkinModel() ? SkinModel()->GetGlobalColor() : SystemColors().BtnFace;
}

data::TColor TsSkinManager::GetGlobalFontColor() const {
  return SkinModel() ? SkinModel()->GetGlobalFontColor() : SystemColors().WindowText;
}

int TsSkinManager::GetScale() const {
  switch (FOptions.ScaleMode()) {
    case sm100:
    case sm125:
    case sm150:
    case sm200:
      return int(FOptions.ScaleMode());
    case smAuto:
      return FSysFontScale;
    default:
      return 0;
  }
}

int TsSkinManager::ScaleInt(int value) const {
  return data::ScaleInt(value, GetScale());
}

void TsSkinManager::ScaleChanged(TacScaleMode oldMode, int oldStep) {
  struct TStateGuard {
    TacSet& State;
    ~TStateGuard() { State &= ~acBit(msScaleChanging); }
  } guard{FManagerState};
  FManagerState |= acBit(msScaleChanging);
  const int step = GetScale();
  if (OnScaleModeChange)
    OnScaleModeChange(this, {oldMode, FOptions.ScaleMode(), aScalePercents[std::size_t(oldStep)],
                             aScalePercents[std::size_t(step)]});
  if (step == oldStep || !IsDefault()) return;
  const int oldPercent = aScalePercents[std::size_t(oldStep)];
  const int newPercent = aScalePercents[std::size_t(step)];
  if (IsLoading()) {  // the lists and forms take the step when they are loaded and shown
    ScaleGlobals(newPercent, oldPercent);
    return;
  }
  // The skin is announced once at the new step, while the forms are locked; the update bracket
  // only holds its after-change event back until they are unlocked, so it ends without a second
  // announcement. A skin that fails to load still unlocks the forms and ends the bracket.
  BeginUpdate();
  skin::core::LockForms(*this);
  try {
    ScaleGlobals(newPercent, oldPercent);
    UpdateAllScale();
    UpdateCurrentSkin();
  } catch (...) {
    skin::core::UnLockForms(*this, true);
    FNoAutoUpdate = false;
    throw;
  }
  skin::core::UnLockForms(*this, true);
  Raise(OnScaleChanged, this);
  FNoAutoUpdate = false;
  Raise(OnAfterChange, this);
}

void TsSkinManager::UpdateAllScale() {
  const int step = GetScale();
  TacScaleFollower::IterateFollowers([step](TacScaleFollower* f) { f->SetNewScale(step); });
  // A copy: a form may leave the list while it scales.
  const std::vector<fw::TCustomForm*> forms = HookedComponents();
  for (fw::TCustomForm* form : forms)
    if (!form->HasState(fw::csDestroying)) UpdateScale(*form, 100);
}

void UpdateScale(fw::TWinControl& ctrl, int currentScale) {
  TsSkinManager* m = DefaultManager;
  if (!m || ctrl.HasState(fw::csDestroying)) return;
  m->StoreDefFont();
  const LRESULT answer =
      ctrl.HandleAllocated()
          ? win::SendMessageW(ctrl.Handle(), SM_ALPHACMD, MakeAlphaCmd(AC_GETSCALE), 0)
          : ctrl.Perform(SM_ALPHACMD, MakeAlphaCmd(AC_GETSCALE), 0);
  if (answer == -1) return;
  const int current = answer > 0 ? int(answer) : currentScale;
  const int target = aScalePercents[std::size_t(m->GetScale())];
  if (current <= 0 || current == target) return;
  const bool animation = m->Effects().AllowAnimation;
  m->Effects().AllowAnimation = false;
  const bool shown = ctrl.HandleAllocated() && win::IsWindowVisible(ctrl.Handle());
  // Hidden meanwhile, an active window would lose its activation for good.
  const bool active = shown && win::GetActiveWindow() == ctrl.Handle();
  constexpr win::UINT kKeep = win::SWP_NOMOVE | win::SWP_NOSIZE | win::SWP_NOZORDER |
                              win::SWP_NOACTIVATE | win::SWP_NOOWNERZORDER;
  win::RECT oldBounds{};
  if (ctrl.HandleAllocated()) win::GetWindowRect(ctrl.Handle(), &oldBounds);
  if (shown) win::SetWindowPos(ctrl.Handle(), nullptr, 0, 0, 0, 0, kKeep | win::SWP_HIDEWINDOW);
  ctrl.DisableAlign();
  // The children are scaled, not moved by their anchors as the control grows.
  std::vector<fw::TAnchors> anchors;
  for (int i = 0; i < ctrl.ControlCount(); ++i) {
    anchors.push_back(ctrl.Controls(i)->Anchors());
    ctrl.Controls(i)->SetAnchors(fw::akLeft | fw::akTop);
  }
  ctrl.ScaleBy(target, current);
  if (ctrl.HandleAllocated())
    win::SendMessageW(ctrl.Handle(), SM_ALPHACMD, MakeAlphaCmd(AC_SETSCALE), target);
  else
    ctrl.Perform(SM_ALPHACMD, MakeAlphaCmd(AC_SETSCALE), target);
  for (int i = 0; i < ctrl.ControlCount() && i < int(anchors.size()); ++i)
    ctrl.Controls(i)->SetAnchors(anchors[std::size_t(i)]);
  ctrl.EnableAlign();
  if (shown) win::SetWindowPos(ctrl.Handle(), nullptr, 0, 0, 0, 0, kKeep | win::SWP_SHOWWINDOW);
  if (active && win::IsWindowVisible(ctrl.Handle())) win::SetActiveWindow(ctrl.Handle());
  // What the smaller window uncovers.
  if (target < current) win::InvalidateRect(nullptr, &oldBounds, true);
  m->Effects().AllowAnimation = animation;
}

std::u16string TsSkinManager::SkinInfo() const {
  if (!FActive || !FHolder.Active()) return u"N/A";
  std::string text = std::to_string(CommonSkinData().Version);
  // The shortest form with at least one decimal ("8.0", "13.15").
  while (text.size() > 1 && text.back() == '0' && text[text.size() - 2] != '.') text.pop_back();
  return fw::Utf8ToUtf16(text);
}

std::string TsSkinManager::GetFullSkinDirectory() const {
  return data::GetFullSkinDirectory(fw::Utf16ToUtf8(FSkinDirectory), data::GetAppPath());
}

data::TacSkinLoadContext TsSkinManager::LoadContext() const {
  data::TacSkinLoadContext c;
  c.FullSkinDirectory = GetFullSkinDirectory();
  c.InternalSkins = &FInternalSkins;
  c.Scale = GetScale();
  c.System = SystemColors();
  c.CommonSections = fw::Utf16ToUtf8(FCommonSections.Text());
  c.Brightness = FBrightness;
  c.ExtendedBorders = GetExtendedBorders();
  c.HueOffset = FHueOffset;
  c.Saturation = FSaturation;
  c.Preview = {acPreviewNeeded, acMemSkinFile};
  return c;
}

// Loads the skin named SkinName aside and puts it in force with its brushes; the fonts it
// carries become available to the whole program (a later skin's face of the same family and
// style takes the place of an earlier one's).
void TsSkinManager::LoadSkin() {
  FHolder.SetSkinName(fw::Utf16ToUtf8(FSkinName), LoadContext());
  const data::TacSkinModel* model = FHolder.Model();
  for (std::size_t i = 0; i < FBrushes.size(); ++i)
    FBrushes[i].reset(model ? win::CreateSolidBrush(gfx::COLORREF(model->Palette[i] & 0xFFFFFF))
                            : nullptr);
  for (std::size_t i = 0; i < FSysBrushes.size(); ++i)
    FSysBrushes[i].reset(
        model ? win::CreateSolidBrush(gfx::COLORREF(model->Palette[kSysBrushColors[i]] & 0xFFFFFF))
              : nullptr);
  if (!model) return;
  for (const data::TacEmbeddedFont& font : model->EmbeddedFonts)
    if (!font.Data.empty()) gfx::AddFontMemResourceEx(font.Data.data(), font.Data.size());
}

void TsSkinManager::SkinListSourcesChanged() {
  data::TacSkinListSources& s = FSkinList.Sources;
  s.InternalSkins = &FInternalSkins;
  s.FullSkinDirectory = GetFullSkinDirectory();
  s.Internal = (FSkinsFilter & acBit(sfiInternal)) != 0;
  s.External = (FSkinsFilter & acBit(sfiExternal)) != 0;
  s.DefaultList =
      DefaultManager && DefaultManager != this && DefaultManager->FSkinDirectory == FSkinDirectory
          ? &DefaultManager->FSkinList
          : nullptr;
  FSkinList.MarkStale();
}

// ---- Choosing and announcing ----------------------------------------------------------------

void TsSkinManager::ShowError(const std::exception& e) {
  fw::MessageDlg(fw::InnermostMessage(e), fw::TMsgDlgType::mtError, {fw::TMsgDlgBtn::mbOK});
}

void TsSkinManager::CheckVersion() {
  if (CommonSkinData().Version <= acMaxSkinVersion) return;
  // Standard dialogs are not skinned while the warning shows.
  const TacSet rules = FSkinningRules;
  FSkinningRules &= ~acBit(srStdDialogs);
  try {
    fw::MessageDlg(
        u"Версия скина поддерживается установленной библиотекой не полностью. "
        u"Обновите компоненты.",
        fw::TMsgDlgType::mtWarning, {fw::TMsgDlgBtn::mbOK});
  } catch (...) {
    FSkinningRules = rules;
    throw;
  }
  FSkinningRules = rules;
}

void TsSkinManager::SetSkinName(const std::u16string& value) {
  const std::u16string oldName = FSkinName;
  FSkinName = value;
  const bool wasActive = CommonSkinData().Active;
  if (FActive) {
    Raise(OnBeforeChange, this);
    // The skinned forms are captured for the animated change here once forms have extended
    // borders (frame painting).
    bool loaded = false;
    {
      TacFlagGuard changing(aSkinChanging);
      try {
        LoadSkin();
        loaded = true;
      } catch (const std::exception& e) {
        // The skin in force stays, with its name and what was announced of it.
        FSkinName = oldName;
        ShowError(e);
      }
      if (loaded) {
        Raise(OnSkinLoading, this);
        CheckVersion();
        if (!FHolder.Active()) {
          // No skin exists at all.
          FActive = false;
          SendRemoveSkin(*this);
        } else if (!FNoAutoUpdate) {
          SendNewSkin(*this, true);
        }
        if (!wasActive && CommonSkinData().Active && !IsLoading()) Raise(OnActivate, this);
      }
    }
    if (!loaded) return;
    if (!FNoAutoUpdate) Raise(OnAfterChange, this);
  }
  FSkinList.SendSkinChanged();
}

void TsSkinManager::SetActive(bool value) {
  if (FActive == value) return;
  FActive = value;
  if (value) {
    SetSkinName(FSkinName);
    return;  // SetSkinName told the skin list
  }
  if (!FSkinName.empty()) {
    if (!IsLoading())
      SendRemoveSkin(*this);
    else
      FHolder.Clear();
    Raise(OnDeactivate, this);
  }
  FSkinList.SendSkinChanged();
}

void TsSkinManager::SetSkinDirectory(const std::u16string& value) {
  if (FSkinDirectory == value) return;
  FSkinDirectory = value;
  SkinListSourcesChanged();
  Raise(OnSkinListChanged, this);
}

void TsSkinManager::SetSkinsFilter(TacSet value) {
  if (FSkinsFilter == value) return;
  FSkinsFilter = value;
  SkinListSourcesChanged();
  Raise(OnSkinListChanged, this);
}

void TsSkinManager::SetSkinningRules(TacSet value) {
  // The framework has no standard file and colour dialogs whose style this would choose.
  FSkinningRules = value;
}

void TsSkinManager::SetCommonSections(const std::vector<std::u16string>& lines) {
  std::vector<std::u16string> cleaned = lines;
  for (std::u16string& line : cleaned)
    if (!line.empty() && line[0] != u';') std::erase(line, u' ');
  FCommonSections.Assign(cleaned);
  SetSkinName(FSkinName);
}

void TsSkinManager::SetSkinnedPopups(bool value) {
  if (FSkinnedPopups == value) return;
  FSkinnedPopups = value;
  // Menu lines and pop-ups are hooked or plain as the setting says.
  if (FSkinableMenus) FSkinableMenus->UpdateMenus();
}

namespace {
TacMenuPainterFactory& MenuPainterFactory() {
  static TacMenuPainterFactory factory;
  return factory;
}
}  // namespace

void SetMenuPainterFactory(TacMenuPainterFactory factory) {
  MenuPainterFactory() = std::move(factory);
}

TacMenuPainter* TsSkinManager::SkinableMenus() {
  if (!FSkinableMenus && MenuPainterFactory()) FSkinableMenus = MenuPainterFactory()(*this);
  return FSkinableMenus.get();
}

void TsSkinManager::SetIsDefault(bool value) {
  if (!value && DefaultManager) return;
  DefaultManager = this;
  if (FActive)
    SendNewSkin(*this, true);
  else
    SendRemoveSkin(*this);
}

void TsSkinManager::UpdateSkin(bool repaint) {
  if (FActive) SendNewSkin(*this, repaint);
}

void TsSkinManager::UpdateCurrentSkin() {
  if (!FActive || IsLoading()) return;
  {
    TacFlagGuard changing(aSkinChanging);
    LoadSkin();
    SendNewSkin(*this, true);
  }
  if (!FNoAutoUpdate) {
    Raise(OnAfterChange, this);
    RepaintForms(true);
  }
}

void TsSkinManager::SetBrightness(int value) {
  value = std::clamp(value, -100, 100);
  if (FBrightness == value) return;
  FBrightness = value;
  UpdateCurrentSkin();
}

void TsSkinManager::SetHueOffset(int value) {
  if (FHueOffset == value) return;
  FHueOffset = value;
  UpdateCurrentSkin();
}

void TsSkinManager::SetSaturation(int value) {
  if (FSaturation == value) return;
  FSaturation = value;
  UpdateCurrentSkin();
}

namespace {
TacDialogSkinning& DialogSkinning();
}

void TsSkinManager::SetExtendedBorders(bool value) {
  if (FExtendedBorders == value) return;
  FExtendedBorders = value;
  if (!FHolder.Active() || !FActive) return;
  {
    // The shadow templates are part of the model: reload it with or without them.
    TacFlagGuard changing(aSkinChanging);
    LoadSkin();
    if (FHolder.Model()) FHolder.Model()->CommonSkinData.Active = true;
  }
  if (IsLoading()) return;
  RepaintForms(true);
  // Skinned dialogs are no forms: they hear of the change (and make or free their borders)
  // here.
  if (IsDefault() && DialogSkinning().NewSkin) DialogSkinning().NewSkin();
}

void TsSkinManager::EndUpdate(bool repaint, bool allowAnimation) {
  FNoAutoUpdate = false;
  const bool animation = FAnimEffects.SkinChanging.Active;
  if (!allowAnimation) FAnimEffects.SkinChanging.Active = false;
  try {
    UpdateSkin(repaint);
  } catch (...) {
    FAnimEffects.SkinChanging.Active = animation;
    throw;
  }
  FAnimEffects.SkinChanging.Active = animation;
  Raise(OnAfterChange, this);
}

void TsSkinManager::RepaintForms(bool lockForms) {
  skin::core::RepaintForms(*this, lockForms);
}

void TsSkinManager::UpdateSkinSection(std::string_view sectionName) {
  skin::core::UpdateSkinSection(sectionName);
}

std::string TsSkinManager::GetRandomSkin() {
  FSkinList.UpdateIfNeeded();
  return FSkinList.GetRandomSkin();
}

// ---- The announcer's steps ------------------------------------------------------------------

void TsSkinManager::SetSkinLoading(bool loading) {
  if (loading)
    FManagerState |= acBit(msSkinLoading);
  else
    FManagerState &= ~acBit(msSkinLoading);
}

void TsSkinManager::BeforeNewSkin() {
  // The glows show the pictures of the skin that goes; the menus' pictures are the old skin's.
  if (IsDefault()) ClearGlows();
  if (FSkinableMenus) FSkinableMenus->SkinChanged();
  if (FHolder.Model()) FHolder.Model()->CommonSkinData.Active = false;
}

namespace {
TacDialogSkinning& DialogSkinning();
}

void TsSkinManager::AfterNewSkin() {
  if (FHolder.Model()) FHolder.Model()->CommonSkinData.Active = true;
  if (IsDefault()) {
    InstallHook(*this);
    FGlobalHookInstalled = true;
    HookSysColors();
    // Dialogs are no forms: the announcement reaches the open ones here.
    if (DialogSkinning().NewSkin) DialogSkinning().NewSkin();
    if (TacMenuPainter* menus = SkinableMenus()) menus->InitItems(true);
  }
  if (FFonts.MainMode() == fmFromSkin) {
    const std::u16string skinFont = fw::Utf8ToUtf16(CommonSkinData().MainFont);
    ChangeAppFont(skinFont.empty() ? FDefStoredFontName : skinFont, false);
  }
}

void TsSkinManager::BeforeRemoveSkin() {
  if (FFonts.MainMode() == fmFromSkin && !(fw::Application && fw::Application->Terminated()) &&
      !FDefStoredFontName.empty())
    ChangeAppFont(FDefStoredFontName, false);
  if (IsDefault()) {
    if (FGlobalHookInstalled) UnInstallHook(*this);
    FGlobalHookInstalled = false;
    if (FOptions.ChangeSysColors()) UnHookSysColors();
    if (FSkinableMenus) FSkinableMenus->InitItems(false);
  }
  ClearGlows();
  if (FSkinableMenus) FSkinableMenus->SkinChanged();
  if (FHolder.Model()) FHolder.Model()->CommonSkinData.Active = false;
}

namespace {

TacDialogSkinning& DialogSkinning() {
  static TacDialogSkinning skinning;
  return skinning;
}

win::HHOOK hookCallback = nullptr;

}  // namespace

void SetDialogSkinning(TacDialogSkinning skinning) {
  DialogSkinning() = std::move(skinning);
}

void AddSupportedForm(win::HWND handle) {
  if (DialogSkinning().AddForm) DialogSkinning().AddForm(handle);
}

win::HHOOK DialogHook() {
  return hookCallback;
}

void InstallHook(TsSkinManager& manager) {
  if (!manager.IsDefault() || hookCallback) return;
  if (DialogSkinning().HookProc)
    hookCallback = win::SetWindowsHookExW(win::WH_CBT, DialogSkinning().HookProc);
}

void UnInstallHook(TsSkinManager& manager) {
  if (!manager.IsDefault()) return;
  if (hookCallback) win::UnhookWindowsHookEx(hookCallback);
  hookCallback = nullptr;
  if (DialogSkinning().FreeRecords) DialogSkinning().FreeRecords();
}

void TsSkinManager::AfterRemoveSkin() {
  FHolder.Clear();
  for (auto& brush : FBrushes) brush.reset();
  for (auto& brush : FSysBrushes) brush.reset();
}

void TsSkinManager::LockForms() {
  skin::core::LockForms(*this);
}

void TsSkinManager::UnLockForms() {
  skin::core::UnLockForms(*this, !FNoAutoUpdate);
}

// ---- Fonts ----------------------------------------------------------------------------------

void TsSkinManager::StoreDefFont() {
  if (!FDefStoredFontName.empty()) return;
  fw::TCustomForm* main = fw::Application ? fw::Application->MainForm() : nullptr;
  FDefStoredFontName = main ? main->Font().Name() : fw::TFont().Name();
  FDefOldFontName = FDefStoredFontName;
}

void TsSkinManager::ChangeAppFont(const std::u16string& fontName, bool doLockForms) {
  if (fontName == FDefOldFontName) return;
  FManagerState |= acBit(msFontChanging);
  try {
    if (doLockForms) LockForms();
    FDefNewFontName = fontName;
    // The menu painter rebuilds its font from MenuSupport here once menus are skinned.
    StoreDefFont();
    try {
      AppBroadCastS({SM_ALPHACMD, MakeAlphaCmd(AC_FONTSCHANGED), LPARAM(this), 0});
      if (OnFontChanged) OnFontChanged(this, FDefOldFontName, fontName);
    } catch (...) {
      if (doLockForms) skin::core::UnLockForms(*this, false);
      throw;
    }
    FDefOldFontName = fontName;
    if (doLockForms) UnLockForms();
  } catch (...) {
    FManagerState &= ~acBit(msFontChanging);
    throw;
  }
  FManagerState &= ~acBit(msFontChanging);
}

bool TsSkinManager::UpdateFontName(fw::TControl* ctrl) const {
  const std::u16string& name = CommonSkinData().Active ? FDefNewFontName : FDefStoredFontName;
  // No font chosen for the program yet: an empty name would give the control another face.
  if (name.empty()) return false;
  if (ctrl->Parent() && ctrl->ParentFont()) return false;
  const std::u16string& current = ctrl->Font().Name();
  if (current != FDefOldFontName && current != FDefStoredFontName) return false;
  auto* windowed = dynamic_cast<fw::TWinControl*>(ctrl);
  if ((windowed && windowed->HandleAllocated()) || (!windowed && ctrl->Parent())) {
    ctrl->Font().SetName(name);
    return true;
  }
  return false;
}

// ---- Hover tracking -------------------------------------------------------------------------

void TsSkinManager::UpdateHotTimer() {
  if (FTimerCheckHot) FTimerCheckHot->SetEnabled(FActiveControl || FActiveGraphControl);
}

void TsSkinManager::SetActiveControl(win::HWND value) {
  if (value == FActiveControl) return;
  // A parent does not take the hover from a child that still has the mouse.
  if (FActiveControl && value && win::IsWindow(FActiveControl) && MouseInWindow(FActiveControl) &&
      win::IsChild(value, FActiveControl))
    return;
  if (FActiveControl && FActiveGraphControl) {
    SetActiveGraphControl(nullptr);
    if (FActiveGraphControl) {
      if (win::IsWindow(FActiveControl)) SendAMessage(FActiveControl, AC_MOUSELEAVE, LPARAM(this));
      return;
    }
  }
  const win::HWND old = FActiveControl;
  FActiveControl = value;
  UpdateHotTimer();
  if (old && win::IsWindow(old)) SendAMessage(old, AC_MOUSELEAVE, LPARAM(this));
  if (value) SendAMessage(value, AC_MOUSEENTER, LPARAM(this));
}

void TsSkinManager::SetActiveGraphControl(fw::TControl* value) {
  if ((Owner() && Owner()->HasState(fw::csDestroying)) || value == FActiveGraphControl) return;
  // A control whose skin data still feel the mouse above it keeps the hover.
  if (!value && FActiveGraphControl) {
    const auto* data = reinterpret_cast<const TsCommonData*>(
        FActiveGraphControl->Perform(SM_ALPHACMD, MakeAlphaCmd(AC_GETSKINDATA), 0));
    if (data && data->FMouseAbove) return;
  }
  fw::TControl* previous = FActiveGraphControl;
  if (previous) RemoveFreeNotification(previous);
  FActiveGraphControl = value;
  if (value) FreeNotification(value);
  UpdateHotTimer();
  if (previous) previous->Perform(SM_ALPHACMD, MakeAlphaCmd(AC_MOUSELEAVE), LPARAM(this));
}

void TsSkinManager::OnCheckHot() {
  if (FActiveControl && (!win::IsWindow(FActiveControl) || !MouseInWindow(FActiveControl)))
    SetActiveControl(nullptr);
  fw::TControl* graphic = FActiveGraphControl;
  if (graphic && !graphic->HasState(fw::csDestroying) && !MouseOverControl(graphic))
    graphic->Perform(SM_ALPHACMD, MakeAlphaCmd(AC_MOUSELEAVE), LPARAM(graphic));
}

// ---- System colours ---------------------------------------------------------------------------

namespace {

// The default manager's skin in force, or null: the redirection then passes everything on.
const data::TacSkinModel* RedirectingSkin(const TsSkinManager*& manager) {
  manager = DefaultManager;
  const data::TacSkinModel* model = manager ? manager->SkinModel() : nullptr;
  return model && model->CommonSkinData.Active ? model : nullptr;
}

gfx::COLORREF PaletteRgb(const data::TacSkinModel& model, data::TacPaletteColors color) {
  return gfx::COLORREF(model.Palette[color]) & 0xFFFFFF;
}

// The main colour blended with another: 205 parts of 255 main.
gfx::COLORREF MainBlend(const data::TacSkinModel& model, fw::TColor with) {
  return gfx::COLORREF(paint::BlendColors(model.Palette[data::pcMainColor], with, 205)) & 0xFFFFFF;
}

// What GetSysColor and a pen of a system colour index get alike from the skin; −1 for the
// platform's answer.
std::int64_t SkinColorOf(const TsSkinManager& manager, const data::TacSkinModel& model, int index) {
  switch (index) {
    case win::COLOR_WINDOW:
      return PaletteRgb(model, data::pcEditBG);
    case win::COLOR_WINDOWFRAME:
      return PaletteRgb(model, data::pcBorder);
    case win::COLOR_INACTIVEBORDER:
      return manager.SysInactiveBorderColor();
    case win::COLOR_HIGHLIGHT:
      return PaletteRgb(model, data::pcSelectionBG_Focused);
    case win::COLOR_HIGHLIGHTTEXT:
      return PaletteRgb(model, data::pcSelectionText_Focused);
    case win::COLOR_BTNSHADOW:
    case win::COLOR_3DDKSHADOW:
      return MainBlend(model, fw::clBlack);
    case win::COLOR_3DLIGHT:
      return MainBlend(model, fw::clWhite);
    default:
      return -1;
  }
}

// The application's active form shows: only then GetSysColor answers the skin's colours.
bool ActiveFormShows() {
  const fw::TCustomForm* form = fw::Application ? fw::Application->ActiveForm() : nullptr;
  return form && form->Visible();
}

}  // namespace

gfx::COLORREF acGetSysColor(int index) {
  const TsSkinManager* manager = nullptr;
  const data::TacSkinModel* model = RedirectingSkin(manager);
  if (!model || !ActiveFormShows()) return win::DefGetSysColor(index);
  if (index == win::COLOR_WINDOWTEXT) return PaletteRgb(*model, data::pcEditText);
  const std::int64_t skin = SkinColorOf(*manager, *model, index);
  return skin >= 0 ? gfx::COLORREF(skin) : win::DefGetSysColor(index);
}

win::HBRUSH acGetSysColorBrush(int index) {
  const TsSkinManager* manager = nullptr;
  const data::TacSkinModel* model = RedirectingSkin(manager);
  if (!manager) return nullptr;
  if (model) {
    if (index == win::COLOR_WINDOW) return manager->Brushes(data::pcEditBG);
    if (win::HBRUSH brush = manager->SysColorBrush(index)) return brush;
  }
  return win::DefGetSysColorBrush(index);
}

gfx::HPEN acCreatePen(int style, int width, gfx::COLORREF color) {
  const TsSkinManager* manager = nullptr;
  const data::TacSkinModel* model = RedirectingSkin(manager);
  if (model) {
    // Light greys drawn as lines between edits and grounds; small values are system colour
    // indexes given as colours.
    if (color == 0xC0C0C0 || color == 0xF0F0F0) {
      color = gfx::COLORREF(paint::BlendColors(model->Palette[data::pcEditText],
                                               model->Palette[data::pcEditBG], 38)) &
              0xFFFFFF;
    } else if (color == gfx::COLORREF(win::COLOR_BTNFACE)) {
      color = PaletteRgb(*model, data::pcMainColor);
    } else if (color <= gfx::COLORREF(win::COLOR_3DLIGHT)) {
      const std::int64_t skin = SkinColorOf(*manager, *model, int(color));
      if (skin >= 0) color = gfx::COLORREF(skin);
    }
  }
  return gfx::DefCreatePen(style, width, color);
}

void HookGetSysColor() {
  win::SetGetSysColorProc(&acGetSysColor);
}

void UnHookGetSysColor() {
  win::SetGetSysColorProc(nullptr);
}

void HookGetSysColorBrush() {
  win::SetGetSysColorBrushProc(&acGetSysColorBrush);
}

void UnHookGetSysColorBrush() {
  win::SetGetSysColorBrushProc(nullptr);
}

void HookCreatePen() {
  gfx::SetCreatePenProc(&acCreatePen);
}

void UnHookCreatePen() {
  gfx::SetCreatePenProc(nullptr);
}

void TsSkinManager::HookSysColors() {
  if (!IsDefault() || !FOptions.ChangeSysColors()) return;
  HookGetSysColor();
  HookGetSysColorBrush();
  HookCreatePen();
}

void TsSkinManager::UnHookSysColors() {
  if (!IsDefault()) return;
  UnHookGetSysColor();
  UnHookGetSysColorBrush();
  UnHookCreatePen();
}

win::HBRUSH TsSkinManager::SysColorBrush(int index) const {
  for (std::size_t i = 0; i < kSysBrushIndexes.size(); ++i)
    if (kSysBrushIndexes[i] == index) return FSysBrushes[i].get();
  return nullptr;
}

// ---- The application window's filter and the preview channel ----------------------------------

bool TsSkinManager::MainWindowHook(fw::TMessage& m) {
  switch (m.Msg) {
    case win::WM_COPYDATA:
      return TakePreview(m);
    case win::WM_WINDOWPOSCHANGED: {
      // The application window hides as the program ends: the main form fades out first.
      const auto* wp = reinterpret_cast<const win::WINDOWPOS*>(m.LParam);
      const TacFormAnimation& hide = FAnimEffects.FormHide;
      if (!wp || !(wp->flags & win::SWP_HIDEWINDOW) || !fw::Application ||
          !fw::Application->Terminated() || !CommonSkinData().Active || !hide.Active ||
          hide.Time == 0 || !FEffects.AllowAnimation)
        return false;
      fw::TCustomForm* main = fw::Application->MainForm();
      if (!main || !main->HandleAllocated() || !win::IsWindowVisible(main->Handle())) return false;
      if (auto* provider =
              reinterpret_cast<TacFormProvider*>(SendAMessage(main->Handle(), AC_GETPROVIDER)))
        provider->AnimClose();
      return false;
    }
    case win::WM_THEMECHANGED:
      return true;
    case WM_DRAWMENUBORDER:
    case WM_DRAWMENUBORDER2: {
      if (!SkinnedPopups()) return false;
      win::HWND wnd = nullptr;
      if (m.Msg == WM_DRAWMENUBORDER2) {
        wnd = win::HWND(m.LParam);
      } else if (const auto menu = win::HMENU(m.LParam); win::IsMenu(menu)) {
        // The open pop-up window under the menu's first item.
        win::RECT r{};
        if (win::GetMenuItemRect(nullptr, menu, 0, &r))
          wnd = win::WindowFromPoint({(r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2});
      }
      if (wnd && win::IsWindow(wnd) && win::GetClassNameW(wnd) == u"#32768")
        if (TacMenuPainter* painter = SkinableMenus()) painter->DrawMenuBorder(wnd);
      return true;
    }
    case win::WM_SYSCOMMAND: {
      // The main form's minimise and restore come here: its provider animates them.
      if (!CommonSkinData().Active) return false;
      const win::WPARAM cmd = m.WParam & 0xFFF0;
      FShowState = cmd == win::SC_MINIMIZE  ? saMinimize
                   : cmd == win::SC_RESTORE ? saRestore
                                            : saIgnore;
      if (FShowState == saIgnore) return false;
      fw::TCustomForm* main = fw::Application ? fw::Application->MainForm() : nullptr;
      if (!main || !main->HandleAllocated()) return false;
      auto* provider =
          reinterpret_cast<TacFormProvider*>(SendAMessage(main->Handle(), AC_GETPROVIDER));
      if (!provider) return false;
      const bool done =
          FShowState == saMinimize ? provider->AnimMinimize() : provider->AnimRestore();
      if (done) m.Result = 0;
      return done;
    }
    case SM_ALPHACMD:
      if (WParamHi(m.WParam) == AC_COPYDATA) ReceiveData();
      return false;
    case fw::CM_ACTIVATE: {
      // The application came back: every form repaints what depends on the activation.
      TacReceivers forms;
      const std::vector<fw::TCustomForm*>& all = fw::Application->Forms();
      for (auto it = all.rbegin(); it != all.rend(); ++it) forms.Add(*it);
      for (int i = 0; i < forms.Count(); ++i) {
        auto* form = static_cast<fw::TCustomForm*>(forms.Item(i));
        if (form && form->HandleAllocated()) SendAMessage(form->Handle(), AC_INVALIDATE);
      }
      return false;
    }
    default:
      return false;
  }
}

bool TsSkinManager::TakePreview(const fw::TMessage& m) {
  if (m.Result != 0 || acSkinPreviewUpdating) return false;
  TacFlagGuard updating(acSkinPreviewUpdating);
  // The block comes from another program: it is read only when it holds the whole record.
  const auto* copy = reinterpret_cast<const win::COPYDATASTRUCT*>(m.LParam);
  if (!copy || m.WParam != acPreviewCopyData) return true;
  std::optional<data::TacSkinData> record = data::ReadSkinData(copy->lpData, copy->cbData);
  if (!record) return true;
  FPreviewBuffer = std::move(*record);
  // Loaded later, so the sender's SendMessage returns first.
  if (fw::Application)
    win::PostMessageW(fw::Application->Handle(), SM_ALPHACMD, MakeAlphaCmd(AC_COPYDATA), 0);
  return true;
}

void TsSkinManager::ReceiveData() {
  if (FPreviewBuffer.Magic != data::ASE_MSG) return;
  acPreviewNeeded = true;
  const std::string options = FPreviewBuffer.Data;
  struct TMemSkinFile {
    explicit TMemSkinFile(const std::string& text) { acMemSkinFile = &text; }
    ~TMemSkinFile() { acMemSkinFile = nullptr; }
  } memSkinFile(options);
  BeginUpdate();
  SetSkinDirectory(fw::Utf8ToUtf16(FPreviewBuffer.SkinDir));
  SetSkinName(fw::Utf8ToUtf16(FPreviewBuffer.SkinName));
  EndUpdate(true, false);
}

// ---- Start-up ---------------------------------------------------------------------------------

std::u16string acVersionText() {
  return u"Skinning library " + std::u16string(acManagerVersion);
}

bool IsVersionSwitch(std::string_view arg) {
  constexpr std::string_view kSwitch = "/acver";
  return arg.size() == kSwitch.size() &&
         std::equal(arg.begin(), arg.end(), kSwitch.begin(), [](char a, char b) {
           return std::tolower(static_cast<unsigned char>(a)) == b;
         });
}

bool CheckVersionSwitch(const std::vector<std::string>& args) {
  if (std::none_of(args.begin(), args.end(), IsVersionSwitch)) return false;
  fw::MessageDlg(acVersionText(), fw::TMsgDlgType::mtInformation, {fw::TMsgDlgBtn::mbOK});
  return true;
}

// ---- Streaming and the dump -----------------------------------------------------------------

namespace {

using V = const fw::TValueDesc&;
using C = fw::TReadContext&;
using M = TsSkinManager;

const std::vector<std::pair<std::string, int>> kFilterNames = {
    {"sfiInternal", int(acBit(sfiInternal))}, {"sfiExternal", int(acBit(sfiExternal))}};
const std::vector<std::pair<std::string, int>> kRuleNames = {
    {"srStdForms", int(acBit(srStdForms))},
    {"srStdDialogs", int(acBit(srStdDialogs))},
    {"srThirdParty", int(acBit(srThirdParty))}};
const std::vector<std::pair<std::string, int>> kAnimTypeNames = {
    {"atFading", atFading}, {"atAero", atAero}, {"atDropDown", atDropDown}};
const std::vector<std::pair<std::string, int>> kBtnEventNames = {
    {"beMouseEnter", int(acBit(beMouseEnter))},
    {"beMouseLeave", int(acBit(beMouseLeave))},
    {"beMouseDown", int(acBit(beMouseDown))},
    {"beMouseUp", int(acBit(beMouseUp))}};
const std::vector<std::pair<std::string, int>> kColoringNames = {
    {"bcBackground", int(acBit(bcBackground))},
    {"bcGlyph", int(acBit(bcGlyph))},
    {"bcText", int(acBit(bcText))}};
const std::vector<std::pair<std::string, int>> kScaleModeNames = {
    {"sm100", sm100},   {"sm125", sm125},         {"sm150", sm150}, {"sm200", sm200},
    {"smAuto", smAuto}, {"smOldMode", smOldMode}, {"smVCL", smVCL}};
const std::vector<std::pair<std::string, int>> kArrowsNames = {{"arsSolid1", arsSolid1},
                                                               {"arsLines1", arsLines1},
                                                               {"arsSolid2", arsSolid2},
                                                               {"arsLines2", arsLines2},
                                                               {"arsDefault", arsDefault}};
const std::vector<std::pair<std::string, int>> kPriorityNames = {{"opSpeed", opSpeed},
                                                                 {"opMemory", opMemory}};
const std::vector<std::pair<std::string, int>> kFontModeNames = {
    {"fmDefault", fmDefault}, {"fmFromSkin", fmFromSkin}, {"fmCustom", fmCustom}};

void Prop(const std::string& name, std::function<void(M*, V, C)> setter) {
  fw::RegisterProperty<M>("TsSkinManager", name, std::move(setter));
}

void BoolProp(const std::string& name, bool& (*field)(M*)) {
  Prop(name, [field](M* m, V v, C x) { field(m) = x.Bool(v); });
}

void AnimationProps(const std::string& name, TacFormAnimation& (*anim)(M*)) {
  const std::string prefix = "AnimEffects." + name + ".";
  Prop(prefix + "Active", [anim](M* m, V v, C x) { anim(m).Active = x.Bool(v); });
  Prop(prefix + "Time",
       [anim](M* m, V v, C x) { anim(m).Time = std::uint16_t(x.Integer(v, 0, 65535)); });
  Prop(prefix + "Mode",
       [anim](M* m, V v, C x) { anim(m).Mode = TacAnimType(x.Enum(v, kAnimTypeNames)); });
}

}  // namespace

void RegisterSkinManager() {
  static bool done = false;
  if (done) return;
  done = true;
  fw::RegisterClass<M>("TsSkinManager", "");
  Prop("Active", [](M* m, V v, C x) { m->SetActive(x.Bool(v)); });
  Prop("SkinName", [](M* m, V v, C x) { m->SetSkinName(x.String(v)); });
  Prop("SkinDirectory", [](M* m, V v, C x) { m->SetSkinDirectory(x.String(v)); });
  // Read-only: written by the designer, ignored on reading.
  Prop("SkinInfo", [](M*, V v, C x) { x.String(v); });
  Prop("Version", [](M*, V v, C x) { x.String(v); });
  Prop("CommonSections.Strings", [](M* m, V v, C x) { m->SetCommonSections(x.Strings(v)); });
  Prop("SkinsFilter", [](M* m, V v, C x) { m->SetSkinsFilter(x.Set(v, kFilterNames)); });
  Prop("SkinningRules", [](M* m, V v, C x) { m->SetSkinningRules(x.Set(v, kRuleNames)); });
  Prop("SkinnedPopups", [](M* m, V v, C x) { m->SetSkinnedPopups(x.Bool(v)); });
  Prop("ExtendedBorders", [](M* m, V v, C x) { m->SetExtendedBorders(x.Bool(v)); });
  Prop("IsDefault", [](M* m, V v, C x) { m->SetIsDefault(x.Bool(v)); });
  Prop("Brightness", [](M* m, V v, C x) { m->SetBrightness(x.Int(v)); });
  Prop("HueOffset", [](M* m, V v, C x) { m->SetHueOffset(x.Int(v)); });
  Prop("Saturation", [](M* m, V v, C x) { m->SetSaturation(x.Int(v)); });

  BoolProp("Effects.AllowGlowing", [](M* m) -> bool& { return m->Effects().AllowGlowing; });
  BoolProp("Effects.AllowAnimation", [](M* m) -> bool& { return m->Effects().AllowAnimation; });
  BoolProp("Effects.AllowAeroBluring", [](M* m) -> bool& { return m->Effects().AllowAeroBluring; });
  Prop("Effects.DiscoloredGlyphs",
       [](M* m, V v, C x) { m->Effects().SetDiscoloredGlyphs(x.Bool(v)); });
  Prop("Effects.AllowOuterEffects",
       [](M* m, V v, C x) { m->Effects().SetAllowOuterEffects(x.Bool(v)); });

  AnimationProps("FormShow", [](M* m) -> TacFormAnimation& { return m->AnimEffects().FormShow; });
  AnimationProps("FormHide", [](M* m) -> TacFormAnimation& { return m->AnimEffects().FormHide; });
  AnimationProps("DialogShow",
                 [](M* m) -> TacFormAnimation& { return m->AnimEffects().DialogShow; });
  AnimationProps("DialogHide",
                 [](M* m) -> TacFormAnimation& { return m->AnimEffects().DialogHide; });
  AnimationProps("Minimizing",
                 [](M* m) -> TacFormAnimation& { return m->AnimEffects().Minimizing; });
  AnimationProps("PageChange",
                 [](M* m) -> TacFormAnimation& { return m->AnimEffects().PageChange; });
  AnimationProps("SkinChanging",
                 [](M* m) -> TacFormAnimation& { return m->AnimEffects().SkinChanging; });
  AnimationProps("BlendOnMoving",
                 [](M* m) -> TacFormAnimation& { return m->AnimEffects().BlendOnMoving; });
  Prop("AnimEffects.BlendOnMoving.BlendValue", [](M* m, V v, C x) {
    m->AnimEffects().BlendOnMoving.BlendValue = std::uint8_t(x.Integer(v, 0, 255));
  });
  Prop("AnimEffects.Buttons.Events",
       [](M* m, V v, C x) { m->AnimEffects().Buttons.Events = x.Set(v, kBtnEventNames); });

  BoolProp("ButtonsOptions.ShowFocusRect",
           [](M* m) -> bool& { return m->ButtonsOptions().ShowFocusRect; });
  BoolProp("ButtonsOptions.ShiftContentOnClick",
           [](M* m) -> bool& { return m->ButtonsOptions().ShiftContentOnClick; });
  Prop("ButtonsOptions.ModalButtonsColoring",
       [](M* m, V v, C x) { m->ButtonsOptions().ModalButtonsColoring = x.Set(v, kColoringNames); });
  Prop("ButtonsOptions.OldGlyphsMode",
       [](M* m, V v, C x) { m->ButtonsOptions().SetOldGlyphsMode(x.Bool(v)); });
  BoolProp("LabelsOptions.TransparentAlways",
           [](M* m) -> bool& { return m->LabelsOptions().TransparentAlways; });
  Prop("ScrollsOptions.ScrollSize",
       [](M* m, V v, C x) { m->ScrollsOptions().SetScrollSize(x.Int(v)); });
  Prop("ScrollsOptions.ButtonsSize",
       [](M* m, V v, C x) { m->ScrollsOptions().SetButtonsSize(x.Int(v)); });

  Prop("MenuSupport.IcoLineSkin",
       [](M* m, V v, C x) { m->MenuSupport().IcoLineSkin = x.String(v); });
  BoolProp("MenuSupport.UseExtraLine", [](M* m) -> bool& { return m->MenuSupport().UseExtraLine; });
  Prop("MenuSupport.ExtraLineWidth",
       [](M* m, V v, C x) { m->MenuSupport().ExtraLineWidth = x.Int(v); });
  Prop("MenuSupport.AlphaBlend",
       [](M* m, V v, C x) { m->MenuSupport().AlphaBlend = std::uint8_t(x.Integer(v, 0, 255)); });
  BoolProp("MenuSupport.CustomFont", [](M* m) -> bool& { return m->MenuSupport().CustomFont; });

  BoolProp("Options.NoMouseHover", [](M* m) -> bool& { return m->Options().NoMouseHover; });
  BoolProp("Options.StdGlyphsOrder", [](M* m) -> bool& { return m->Options().StdGlyphsOrder; });
  BoolProp("Options.CheckEmptyAlpha", [](M* m) -> bool& { return m->Options().CheckEmptyAlpha; });
  BoolProp("Options.StdImgTransparency",
           [](M* m) -> bool& { return m->Options().StdImgTransparency; });
  BoolProp("Options.NativeBordersMaximized",
           [](M* m) -> bool& { return m->Options().NativeBordersMaximized; });
  Prop("Options.ChangeSysColors",
       [](M* m, V v, C x) { m->Options().SetChangeSysColors(x.Bool(v)); });
  Prop("Options.DrawNonClientArea",
       [](M* m, V v, C x) { m->Options().SetDrawNonClientArea(x.Bool(v)); });
  Prop("Options.ScaleMode",
       [](M* m, V v, C x) { m->Options().SetScaleMode(TacScaleMode(x.Enum(v, kScaleModeNames))); });
  Prop("Options.ArrowsStyle", [](M* m, V v, C x) {
    m->Options().SetArrowsStyle(TacArrowsStyle(x.Enum(v, kArrowsNames)));
  });
  Prop("Options.OptimizingPriority", [](M* m, V v, C x) {
    m->Options().OptimizingPriority = TacOptimizingPriority(x.Enum(v, kPriorityNames));
  });

  Prop("Fonts.MainFont", [](M* m, V v, C x) { m->Fonts().SetMainFont(x.String(v)); });
  Prop("Fonts.MainMode",
       [](M* m, V v, C x) { m->Fonts().SetMainMode(TacFontMode(x.Enum(v, kFontModeNames))); });

  for (int i = 0; i < TsThirdPartyList::kCount; ++i)
    Prop(std::string("ThirdParty.") + TsThirdPartyList::Names()[std::size_t(i)],
         [i](M* m, V v, C x) { m->ThirdParty().SetText(i, x.String(v)); });
}

void InstallSkinDump() {
  static bool installed = false;
  if (installed) return;
  installed = true;
  fw::AddApplicationDumper([](backend::JsonWriter& w) {
    w.Key("skin");
    TsSkinManager* m = DefaultManager;
    if (!m) {
      w.Null();
      return;
    }
    w.BeginObject();
    w.Key("name");
    w.String(m->SkinName());
    w.Key("active");
    w.Bool(m->CommonSkinData().Active);
    w.Key("sections");
    w.Number(m->SkinModel() ? (long long)m->SkinModel()->gd.size() : 0);
    w.Key("hue");
    w.Number(m->HueOffset());
    w.Key("saturation");
    w.Number(m->Saturation());
    w.Key("brightness");
    w.Number(m->Brightness());
    w.EndObject();
  });
}

}  // namespace skin::core
