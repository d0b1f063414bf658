// The skin manager: the component that owns the skin in force, chooses and loads skins (an
// external package or folder, or one of its stored skins), adjusts their colours, carries the
// application-wide skinning settings controls read, and announces every change to all forms
// and controls through the skin message.
//
// The skin is loaded aside and put in force only when nothing failed: a skin that cannot be
// loaded leaves the previous skin, its name and everything announced as they were, and its
// error is shown once in an error box. The model's lookups are reached through SkinModel()
// and the delegating lookups below; with no skin every lookup answers −1.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "framework/Component.h"
#include "framework/Control.h"
#include "framework/Font.h"
#include "framework/Strings.h"
#include "framework/Timer.h"
#include "platform/gfx/Pen.h"
#include "platform/win/SystemMetrics.h"
#include "skin/core/acSkinAnnouncer.h"
#include "skin/data/acPreviewRecord.h"
#include "skin/data/acSkinList.h"
#include "skin/data/acSkinLoad.h"
#include "skin/data/sStoredSkins.h"
#include "skin/paint/sGraphUtils.h"

namespace fw {
class TApplication;
class TPopupMenu;
class TMainMenu;
class TMenuItem;
}  // namespace fw

namespace skin::core {

class TsSkinManager;

// Sets are unsigned masks with bit (1 << value) per member, as the framework keeps them.
enum TacSkinsFilterItem { sfiInternal, sfiExternal };
enum TacSkinningRule { srStdForms, srStdDialogs, srThirdParty };
enum TacManagerStateValue { msFontChanging, msSkinLoading, msScaleChanging };
enum TShowAction { saIgnore, saRestore, saMinimize, saMaximize };
enum TacAnimType { atFading, atAero, atDropDown };
enum TacBtnEvent { beMouseEnter, beMouseLeave, beMouseDown, beMouseUp };
enum TacModalButtonsColoringValue { bcBackground, bcGlyph, bcText };
enum TacScaleMode { sm100, sm125, sm150, sm200, smAuto, smOldMode, smVCL };
// The arrow looks are the arrow painter's.
using paint::TacArrowsStyle;
using enum paint::TacArrowsStyle;
enum TacOptimizingPriority { opSpeed, opMemory };
enum TacFontMode { fmDefault, fmFromSkin, fmCustom };
using TacSet = unsigned;
constexpr TacSet acBit(int value) {
  return 1u << value;
}

// The scale steps' percentages.
inline constexpr std::array<int, 4> aScalePercents = {100, 125, 150, 200};
// The version the manager reports.
inline constexpr std::u16string_view acManagerVersion = u"13.15";
// Skins of a later version than this are not completely supported (a warning is shown).
inline constexpr double acMaxSkinVersion = 13.99;

// Flags shared with the units that load skins and animate forms.
extern bool aSkinChanging;       // a skin is being loaded
extern bool InAnimationProcess;  // forms are locked for an animated skin change
// The skin editor's preview channel: a preview was received (stays set; a folder of the
// skin's name then comes before its package), and a preview message is being taken.
extern bool acPreviewNeeded;
extern bool acSkinPreviewUpdating;
// The options text of the preview being applied (acMemSkinFile); null otherwise.
extern const std::string* acMemSkinFile;
// The WParam a skin editor's WM_COPYDATA carries.
constexpr win::WPARAM acPreviewCopyData = 7;
// The button glyph mode (ButtonsOptions.OldGlyphsMode); on at start.
extern bool ac_OldGlyphsMode;
// The manager controls use when they are given none; the first manager made.
extern TsSkinManager* DefaultManager;
// Whether the system is of the NT line, read once at start-up; the default manager filters the
// application window's messages only there.
extern const bool IsNT;

// The scale step (0 to 3) of a logical DPI: 120 to 143 gives 1, 144 to 191 gives 2, 192 and
// more 3, anything else 0.
int acScaleOfDpi(int dpi);

// One window animation's settings (FormShow, FormHide, DialogShow, ...; TacFormShow and its
// siblings differ only in their defaults).
struct TacFormAnimation {
  bool Active = true;
  std::uint16_t Time = 0;  // milliseconds
  TacAnimType Mode = atAero;
};
struct TacBlendOnMoving : TacFormAnimation {
  std::uint8_t BlendValue = 170;
};
struct TacBtnEffects {
  TacSet Events = acBit(beMouseEnter) | acBit(beMouseLeave) | acBit(beMouseDown) | acBit(beMouseUp);
};

// AnimEffects: the settings of the animations (the animations come with the frame painting).
struct TacAnimEffects {
  TacFormAnimation FormShow, FormHide, DialogShow, DialogHide;
  TacFormAnimation Minimizing{true, 120, atAero};
  TacFormAnimation PageChange;
  TacFormAnimation SkinChanging{true, 100, atFading};
  TacBlendOnMoving BlendOnMoving{{false, 1000, atAero}, 170};
  TacBtnEffects Buttons;
};

// Effects: AllowOuterEffects and DiscoloredGlyphs repaint every form when changed (not while
// the manager loads or its updates are suspended); the others are only stored.
class TacSkinEffects {
 public:
  explicit TacSkinEffects(TsSkinManager& manager) : FManager(manager) {}
  bool AllowGlowing = true;
  bool AllowAnimation = true;
  bool AllowAeroBluring = true;
  bool DiscoloredGlyphs() const { return FDiscoloredGlyphs; }
  void SetDiscoloredGlyphs(bool value);
  bool AllowOuterEffects() const { return FAllowOuterEffects; }
  void SetAllowOuterEffects(bool value);

 private:
  void Changed();
  TsSkinManager& FManager;
  bool FDiscoloredGlyphs = false;
  bool FAllowOuterEffects = true;
};

// ButtonsOptions. OldGlyphsMode lives in ac_OldGlyphsMode (one mode for the whole program).
class TacButtonsSupport {
 public:
  explicit TacButtonsSupport(TsSkinManager& manager) : FManager(manager) {}
  bool ShowFocusRect = true;
  bool ShiftContentOnClick = true;
  TacSet ModalButtonsColoring = acBit(bcGlyph);
  bool OldGlyphsMode() const { return ac_OldGlyphsMode; }
  // Changing it repaints every form.
  void SetOldGlyphsMode(bool value);

 private:
  TsSkinManager& FManager;
};

struct TacLabelsSupport {
  bool TransparentAlways = true;
};

// ScrollsOptions: −1 is the system's size. Changing ButtonsSize repaints every form; changing
// ScrollSize sends AC_REINITSCROLLS to every control (neither while the manager loads).
class TacScrollBarsSupport {
 public:
  explicit TacScrollBarsSupport(TsSkinManager& manager) : FManager(manager) {}
  int ScrollSize() const { return FScrollSize; }
  void SetScrollSize(int value);
  int ButtonsSize() const { return FButtonsSize; }
  void SetButtonsSize(int value);

 private:
  TsSkinManager& FManager;
  int FScrollSize = -1;
  int FButtonsSize = -1;
};

// Fonts: the application's main font policy (see ChangeAppFont).
class TacFonts {
 public:
  explicit TacFonts(TsSkinManager& manager) : FManager(manager) {}
  const std::u16string& MainFont() const { return FMainFont; }
  void SetMainFont(const std::u16string& value);
  TacFontMode MainMode() const { return FMainMode; }
  void SetMainMode(TacFontMode value);

 private:
  TsSkinManager& FManager;
  std::u16string FMainFont;
  TacFontMode FMainMode = fmDefault;
};

// MenuSupport: read by the menu painter.
struct TacMenuSupport {
  std::u16string IcoLineSkin;  // "ICOLINE" when empty after loading
  bool UseExtraLine = false;
  int ExtraLineWidth = 32;
  fw::TFont ExtraLineFont;
  std::uint8_t AlphaBlend = 255;
  fw::TFont Font;
  bool CustomFont = false;
};

// The menu painter (the manager's SkinableMenus): made by the skinned menus' layer through the
// factory it registers, owned by the manager.
class TacMenuPainter {
 public:
  virtual ~TacMenuPainter() = default;
  // Hooks (active) or unhooks the items of a pop-up menu for the skinned drawing.
  virtual void HookPopupMenu(fw::TPopupMenu& menu, bool active) = 0;
  // Gives the top items of a form's main menu the menu line's handlers (active) or takes
  // them away.
  virtual void InitMenuLine(fw::TMainMenu& menu, bool active) = 0;
  // Hooks (active) or unhooks every menu of the application.
  virtual void InitItems(bool active) = 0;
  // InitItems with the manager's state (a setting the hooks depend on changed).
  virtual void UpdateMenus() = 0;
  // A skin came or went: cached pictures and measures are dropped.
  virtual void SkinChanged() = 0;
  // Draws the skinned frame of an open pop-up menu window ("#32768") from the picture kept
  // for it; false when none is kept.
  virtual bool DrawMenuBorder(win::HWND menuWindow) = 0;
};
using TacMenuPainterFactory = std::function<std::unique_ptr<TacMenuPainter>(TsSkinManager&)>;
void SetMenuPainterFactory(TacMenuPainterFactory factory);

// Options.
class TacOptions {
 public:
  explicit TacOptions(TsSkinManager& manager) : FManager(manager) {}
  bool NoMouseHover = false;
  bool StdGlyphsOrder = false;
  bool CheckEmptyAlpha = false;
  bool StdImgTransparency = false;
  bool NativeBordersMaximized = false;
  TacOptimizingPriority OptimizingPriority = opSpeed;
  // Stored; the default manager redirects the system colours to the skin's while it is on.
  bool ChangeSysColors() const { return FChangeSysColors; }
  void SetChangeSysColors(bool value);
  // When changed, AC_SETNCSKINNED (LParam 0 or 1) goes to every form skinned by a provider.
  bool DrawNonClientArea() const { return FDrawNonClientArea; }
  void SetDrawNonClientArea(bool value);
  // When changed, the default manager gives the library's image lists the new step and the
  // skin is loaded again at it (SetScaleMode below).
  TacScaleMode ScaleMode() const { return FScaleMode; }
  void SetScaleMode(TacScaleMode value);
  // When changed, the skin is announced again.
  TacArrowsStyle ArrowsStyle() const { return FArrowsStyle; }
  void SetArrowsStyle(TacArrowsStyle value);
  // ArrowsStyle, or the skin's own when that is arsDefault.
  TacArrowsStyle ActualArrowStyle() const;

 private:
  TsSkinManager& FManager;
  bool FChangeSysColors = false;
  bool FDrawNonClientArea = true;
  TacScaleMode FScaleMode = smOldMode;
  TacArrowsStyle FArrowsStyle = arsDefault;
};

// The kinds of foreign controls skinned through adapters, one list of class names each.
enum TacThirdPartyTypes {
  tpEdit,
  tpButton,
  tpBitBtn,
  tpCheckBox,
  tpComboBox,
  tpGrid,
  tpGroupBox,
  tpListView,
  tpPanel,
  tpTreeView,
  tpwwEdit,
  tpGridEh,
  tpVirtualTree,
  tpPageControl,
  tpTabControl,
  tpToolBar,
  tpStatusBar,
  tpSpeedButton,
  tpScrollControl,
  tpUpDownBtn,
  tpScrollBar,
  tpStaticText,
  tpNativePaint
};

// ThirdParty: the stored text of each list, one class name per line. A list holding only a
// space names none.
class TsThirdPartyList {
 public:
  static constexpr int kCount = tpNativePaint + 1;
  // The stored property names, by index (ThirdEdits, ThirdButtons, ...).
  static const std::array<const char*, kCount>& Names();
  // The defaults (acThirdNames): "TButton" for the buttons, "TSpeedButton" for the speed
  // buttons, a space for every other kind.
  static const std::u16string& Default(int index);
  TsThirdPartyList();
  const std::u16string& Text(int index) const { return FTexts.at(std::size_t(index)); }
  void SetText(int index, const std::u16string& text) { FTexts.at(std::size_t(index)) = text; }

 private:
  std::array<std::u16string, kCount> FTexts;
};

// A pointer to a manager that becomes null when the manager is freed, for the objects that
// name a manager and are not components (components use FreeNotification).
class TacManagerRef {
 public:
  TacManagerRef() = default;
  explicit TacManagerRef(TsSkinManager* manager) { Set(manager); }
  ~TacManagerRef() { Set(nullptr); }
  TacManagerRef(const TacManagerRef&) = delete;
  TacManagerRef& operator=(const TacManagerRef&) = delete;
  TsSkinManager* Get() const { return FManager; }
  void Set(TsSkinManager* manager);
  // Runs when the manager is freed, after the pointer became null.
  std::function<void()> OnFreed;

 private:
  friend class TsSkinManager;
  TsSkinManager* FManager = nullptr;
};

// What OnScaleModeChange receives: the modes and the percentages of their steps.
struct TScaleChangeData {
  TacScaleMode OldScaleMode, NewScaleMode;
  int OldScalePercent, NewScalePercent;
};
using TacScaleModeChangeEvent =
    std::function<void(fw::TComponent* sender, const TScaleChangeData& data)>;

using TacFontChangedEvent = std::function<void(
    fw::TComponent* sender, const std::u16string& oldName, const std::u16string& newName)>;

// What OnSysDlgInit receives: the native dialog about to wear the skin.
struct TacSysDlgData {
  win::HWND WindowHandle = nullptr;
};
// Clearing allowSkinning leaves the dialog with the system's look.
using TacSysDlgInitEvent =
    std::function<void(fw::TComponent* sender, const TacSysDlgData& data, bool& allowSkinning)>;

// What OnGetPopupLineData may change for a pop-up menu about to show (item: its first item):
// the extra line's section, whether it has one, the picture at its foot (empty: none) and its
// text.
using TacGetExtraLineData =
    std::function<void(fw::TMenuItem* item, std::u16string& sectionName, bool& haveExtraLine,
                       gfx::Bitmap& glyph, std::u16string& text)>;
// OnGetPopupItemData: the font a skinned pop-up item is measured and drawn with (state: the
// owner-draw state, 0 when measuring); a changed colour replaces the section's text colour.
using TacGetPopupItemData =
    std::function<void(fw::TMenuItem* item, unsigned state, fw::TFont& font)>;

class TsSkinManager : public fw::TComponent, public TacSkinAnnouncer {
 public:
  // Algorithms of construction: option objects with their defaults, no skin, the default
  // manager when there is none yet.
  explicit TsSkinManager(fw::TComponent* owner);
  ~TsSkinManager() override;
  std::string ClassName() const override { return "TsSkinManager"; }
  // LoadThirdNames without overwriting; SkinDirectory "c:\Skins" when empty.
  void AfterConstruction() override;
  // Completes streaming and announces the skin read with the description.
  void Loaded() override;

  // Published properties.
  bool Active() const { return FActive; }
  void SetActive(bool value);
  const std::u16string& SkinName() const { return FSkinName; }
  void SetSkinName(const std::u16string& value);
  const std::u16string& SkinDirectory() const { return FSkinDirectory; }
  void SetSkinDirectory(const std::u16string& value);
  // The loaded skin's version ("8.0"), or "N/A" with no skin.
  std::u16string SkinInfo() const;
  std::u16string Version() const { return std::u16string(acManagerVersion); }
  data::TsStoredSkins& InternalSkins() { return FInternalSkins; }
  const fw::TStrings& CommonSections() const { return FCommonSections; }
  // Assigns the lines without spaces (but for comment lines) and reloads the skin.
  void SetCommonSections(const std::vector<std::u16string>& lines);
  TacSet SkinsFilter() const { return FSkinsFilter; }
  void SetSkinsFilter(TacSet value);
  TacSet SkinningRules() const { return FSkinningRules; }
  void SetSkinningRules(TacSet value);
  bool SkinnedPopups() const { return FSkinnedPopups; }
  void SetSkinnedPopups(bool value);
  bool ExtendedBorders() const { return FExtendedBorders; }
  void SetExtendedBorders(bool value);
  // ExtendedBorders where the system can show them (always here: layered windows exist).
  bool GetExtendedBorders() const { return FExtendedBorders; }
  bool IsDefault() const { return DefaultManager == this; }
  void SetIsDefault(bool value);
  int Brightness() const { return FBrightness; }
  void SetBrightness(int value);  // limited to −100..100
  int HueOffset() const { return FHueOffset; }
  void SetHueOffset(int value);
  int Saturation() const { return FSaturation; }
  void SetSaturation(int value);
  TacSkinEffects& Effects() { return FEffects; }
  const TacSkinEffects& Effects() const { return FEffects; }
  TacAnimEffects& AnimEffects() { return FAnimEffects; }
  const TacAnimEffects& AnimEffects() const { return FAnimEffects; }
  TacButtonsSupport& ButtonsOptions() { return FButtonsOptions; }
  TacLabelsSupport& LabelsOptions() { return FLabelsOptions; }
  TacScrollBarsSupport& ScrollsOptions() { return FScrollsOptions; }
  const TacScrollBarsSupport& ScrollsOptions() const { return FScrollsOptions; }
  TacMenuSupport& MenuSupport() { return FMenuSupport; }
  // The menu painter, made on first use; null when no painter factory is registered.
  TacMenuPainter* SkinableMenus();
  TacOptions& Options() { return FOptions; }
  const TacOptions& Options() const { return FOptions; }
  TacFonts& Fonts() { return FFonts; }
  TsThirdPartyList& ThirdParty() { return FThirdParty; }

  // The system colours: with Options.ChangeSysColors the default manager redirects the
  // platform's GetSysColor, GetSysColorBrush and CreatePen to acGetSysColor,
  // acGetSysColorBrush and acCreatePen from the announcement of its skin to its removal
  // (AfterNewSkin and BeforeRemoveSkin call these). HookSysColors does nothing without the option
  // or on another manager; UnHookSysColors gives the platform's functions back.
  void HookSysColors();
  void UnHookSysColors();
  // The brushes acGetSysColorBrush answers for COLOR_WINDOWTEXT, COLOR_HIGHLIGHT and
  // COLOR_HIGHLIGHTTEXT: solid brushes of the skin's colours, made with the skin and freed
  // with it; null for any other index or with no skin.
  win::HBRUSH SysColorBrush(int index) const;
  // The system's inactive-border colour as it was when the manager was made (the redirection
  // answers it for COLOR_INACTIVEBORDER).
  gfx::COLORREF SysInactiveBorderColor() const { return FSysInactiveBorderColor; }

  // The filter of every message the application's window gets (installed by the first
  // manager, removed with it); true when it handled the message: a skin editor's preview
  // (WM_COPYDATA with acPreviewCopyData), its deferred loading (AC_COPYDATA), the activation
  // of the application (AC_INVALIDATE to every form), WM_THEMECHANGED (swallowed) and, while a
  // skin is in force, the minimise and restore commands (ShowState).
  bool MainWindowHook(fw::TMessage& m);
  // Applies the last preview received: its folder and name through the normal load path, its
  // options text in place of the folder's file. Nothing unless a preview was accepted.
  void ReceiveData();
  // The last preview accepted (Magic 0 before any).
  const data::TacSkinData& PreviewBuffer() const { return FPreviewBuffer; }

  // Events (the manager is the sender).
  fw::TNotifyEvent OnBeforeChange, OnAfterChange, OnActivate, OnDeactivate, OnSkinLoading,
      OnSkinListChanged, OnScaleChanged;
  TacFontChangedEvent OnFontChanged;
  // The scale mode changes (before anything is rescaled).
  TacScaleModeChangeEvent OnScaleModeChange;
  // A native dialog is about to be skinned (the dialog hook); may veto.
  TacSysDlgInitEvent OnSysDlgInit;
  // Skinned pop-up menus: the extra line of a menu, and the font of an item.
  TacGetExtraLineData OnGetPopupLineData;
  TacGetPopupItemData OnGetPopupItemData;

  // The skin in force and its lookups; no skin: no model, every lookup −1.
  const data::TacSkinModel* SkinModel() const { return FHolder.Model(); }
  // Solid brushes of the palette's first six colours (pcMainColor to pcEditBG) while a skin is
  // in force; null otherwise.
  win::HBRUSH Brushes(data::TacPaletteColors color) const {
    return std::size_t(color) < FBrushes.size() ? FBrushes[std::size_t(color)].get() : nullptr;
  }
  const data::TsSkinData& CommonSkinData() const;
  const data::TConstantSkinData& ConstData() const;
  int GetSkinIndex(std::string_view section) const;
  int GetMaskIndex(int skinIndex, std::string_view mask) const;
  int GetMaskIndex(std::string_view section, std::string_view mask) const;
  int GetTextureIndex(int skinIndex, std::string_view propName) const;
  bool IsValidSkinIndex(int i) const;
  bool IsValidImgIndex(int i) const;
  std::vector<std::string> GetSkinSections() const;
  data::TColor GetGlobalColor() const;
  data::TColor GetGlobalFontColor() const;
  // The scale step the skin is built for (ScaleMode; smOldMode none) and a value scaled by it
  // (+1/4, +1/2, x2, truncated).
  int GetScale() const;
  int ScaleInt(int value) const;
  // Every image list of the library (SetNewScale) and every hooked form (UpdateScale from
  // 100 percent) take the present step.
  void UpdateAllScale();
  // The scale step of the screen's logical DPI.
  int SysFontScale() const { return FSysFontScale; }

  // Announcements.
  void UpdateSkin(bool repaint);  // announces the skin again when Active
  // Reloads the skin in force (colour adjustments, scale) and announces it.
  void UpdateCurrentSkin();
  // Between the brackets skin changes are loaded but not announced; EndUpdate announces once.
  void BeginUpdate() { FNoAutoUpdate = true; }
  void EndUpdate(bool repaint, bool allowAnimation);
  bool NoAutoUpdate() const { return FNoAutoUpdate; }
  void RepaintForms(bool lockForms);
  void UpdateSkinSection(std::string_view sectionName);
  std::string GetRandomSkin();
  std::string GetFullSkinDirectory() const;
  data::TacSkinListController& SkinListController() { return FSkinList; }

  // The manager's own state. Loading: its description is being read.
  bool IsLoading() const { return HasState(fw::csLoading) || HasState(fw::csReading); }
  TacSet ManagerState() const { return FManagerState; }
  bool SkinRemoving() const { return FSkinRemoving; }
  bool GlobalHookInstalled() const { return FGlobalHookInstalled; }
  // What the application's windows are doing: a window animation sets saRestore while a
  // form comes back from the taskbar.
  TShowAction ShowState() const { return FShowState; }
  void SetShowState(TShowAction value) { FShowState = value; }

  // Fonts: the name the application had before any skin font, the name in use, the one being
  // applied.
  void ChangeAppFont(const std::u16string& fontName, bool doLockForms);
  // Gives the control the font name in force; false for a control following its parent's font,
  // for one whose font the program chose itself, and while no font name is in force.
  bool UpdateFontName(fw::TControl* ctrl) const;
  void StoreDefFont();
  const std::u16string& DefStoredFontName() const { return FDefStoredFontName; }
  const std::u16string& DefOldFontName() const { return FDefOldFontName; }

  // Hover tracking: the windowed control and the windowless control under the mouse; each
  // change sends AC_MOUSELEAVE to the old one and AC_MOUSEENTER to the new (windowed) one. A
  // 100 ms check notices the mouse leaving while someone is tracked.
  win::HWND ActiveControl() const { return FActiveControl; }
  void SetActiveControl(win::HWND value);
  fw::TControl* ActiveGraphControl() const { return FActiveGraphControl; }
  void SetActiveGraphControl(fw::TControl* value);
  void OnCheckHot();

  // The class-name lists of foreign controls, one per TacThirdPartyTypes value.
  const fw::TStrings& ThirdLists(int index) const { return FThirdLists.at(std::size_t(index)); }

  // TacSkinAnnouncer.
  fw::TComponent& Sender() override { return *this; }
  void SetSkinLoading(bool loading) override;
  void SetSkinRemoving(bool removing) override { FSkinRemoving = removing; }
  void BeforeNewSkin() override;
  void AfterNewSkin() override;
  void BeforeRemoveSkin() override;
  void AfterRemoveSkin() override;
  void LockForms() override;
  void UnLockForms() override;

 protected:
  void Notification(fw::TComponent* component, fw::TOperation operation) override;

 private:
  friend class TacManagerRef;
  friend class TacOptions;
  // After the scale mode changed from oldMode (step oldStep): OnScaleModeChange; then, for the
  // default manager at a new step, inside an update bracket and with its forms' drawing off:
  // the scaled globals, UpdateAllScale, the skin at the new step announced once; the forms
  // unlocked; OnScaleChanged, OnAfterChange. While loading only the globals follow.
  void ScaleChanged(TacScaleMode oldMode, int oldStep);
  friend void LoadThirdNames(TsSkinManager& manager, bool overwrite);
  friend void UpdateThirdNames(TsSkinManager& manager);
  data::TacSkinLoadContext LoadContext() const;
  void LoadSkin();
  void SkinListSourcesChanged();
  void CheckVersion();
  void ShowError(const std::exception& e);
  void UpdateHotTimer();
  // The preview receiver: a whole record with the editor's marker is kept and its loading
  // posted; false (not handled) when the message was answered already or one is being taken.
  bool TakePreview(const fw::TMessage& m);

  data::TacSkinHolder FHolder;
  struct TBrushDeleter {
    void operator()(win::HBRUSH brush) const { win::DeleteBrush(brush); }
  };
  std::array<std::unique_ptr<const win::Brush, TBrushDeleter>, 6> FBrushes;
  // The redirected system colours' brushes: COLOR_WINDOWTEXT, COLOR_HIGHLIGHT,
  // COLOR_HIGHLIGHTTEXT.
  std::array<std::unique_ptr<const win::Brush, TBrushDeleter>, 3> FSysBrushes;
  gfx::COLORREF FSysInactiveBorderColor = 0;
  data::TacSkinData FPreviewBuffer;
  fw::TWndHookId FMainWindowHook = 0;
  fw::TApplication* FHookedApplication = nullptr;  // hook ids are that application's
  bool FActive = true;
  std::u16string FSkinName;
  std::u16string FSkinDirectory;
  data::TsStoredSkins FInternalSkins;
  fw::TStrings FCommonSections;
  TacSet FSkinsFilter = acBit(sfiInternal) | acBit(sfiExternal);
  TacSet FSkinningRules = acBit(srStdForms) | acBit(srStdDialogs) | acBit(srThirdParty);
  bool FSkinnedPopups = true;
  bool FExtendedBorders = false;
  int FBrightness = 0, FHueOffset = 0, FSaturation = 0;
  TacSkinEffects FEffects{*this};
  TacAnimEffects FAnimEffects;
  TacButtonsSupport FButtonsOptions{*this};
  TacLabelsSupport FLabelsOptions;
  TacScrollBarsSupport FScrollsOptions{*this};
  TacMenuSupport FMenuSupport;
  std::unique_ptr<TacMenuPainter> FSkinableMenus;
  TacOptions FOptions{*this};
  TacFonts FFonts{*this};
  TsThirdPartyList FThirdParty;
  std::array<fw::TStrings, TsThirdPartyList::kCount> FThirdLists;
  data::TacSkinListController FSkinList;

  TacSet FManagerState = 0;
  bool FNoAutoUpdate = false;
  TShowAction FShowState = saIgnore;
  bool FSkinRemoving = false;
  bool FGlobalHookInstalled = false;
  int FSysFontScale = 0;
  std::u16string FDefStoredFontName, FDefOldFontName, FDefNewFontName;
  win::HWND FActiveControl = nullptr;
  fw::TControl* FActiveGraphControl = nullptr;
  fw::TTimer* FTimerCheckHot = nullptr;  // owned as a component
  std::vector<TacManagerRef*> FUsers;
};

// Sets each ThirdParty text to its default (all with overwrite, else only the empty ones),
// then each list from its text.
void LoadThirdNames(TsSkinManager& manager, bool overwrite);
// Each ThirdParty text from its list.
void UpdateThirdNames(TsSkinManager& manager);

// The thickness of skinned scroll bars: the system's vertical bar width without a manager;
// ScrollsOptions.ScrollSize when set (0 or more); else the system width, scaled from the
// screen's step to the skin's unless ScaleMode is smAuto or smOldMode.
int GetScrollSize(const TsSkinManager* manager);
// The width of a combo box's drop button: the larger of the system's vertical bar width and
// the manager's scroll size (GetScrollSize).
int GetComboBtnSize(const TsSkinManager* manager);

// The system-colour redirection (see TsSkinManager::HookSysColors): the default manager's
// skin answers the colours its table names (acGetSysColor only while the application's active
// form is visible), the platform the rest. Without a default manager acGetSysColor and
// acCreatePen pass everything on and acGetSysColorBrush answers no brush. Any thread may call
// them; they read the skin without locking, and the brushes they answer belong to the manager.
gfx::COLORREF acGetSysColor(int index);
win::HBRUSH acGetSysColorBrush(int index);
gfx::HPEN acCreatePen(int style, int width, gfx::COLORREF color);
void HookGetSysColor();
void UnHookGetSysColor();
void HookGetSysColorBrush();
void UnHookGetSysColorBrush();
void HookCreatePen();
void UnHookCreatePen();

// The library's name and version as the "/acver" switch shows them.
std::u16string acVersionText();
// Whether arg is the switch "/acver" in any letter case.
bool IsVersionSwitch(std::string_view arg);
// Shows acVersionText in an information message when one of args is the switch (once,
// however often it is given); true when it was shown. The first manager made looks at the
// program's command line so.
bool CheckVersionSwitch(const std::vector<std::string>& args);

// Scales ctrl from its scale (its answer to AC_GETSCALE; 0: currentScale; -1: it does not
// scale) to the default manager's step: its children, size, font and constraints (its place
// stays; the children's anchors are off meanwhile), then AC_SETSCALE with the new percentage.
// A shown window is hidden meanwhile; what a smaller window uncovers is repainted.
void UpdateScale(fw::TWinControl& ctrl, int currentScale);

// Registers the manager and its stored properties for window descriptions (once). The stored
// skins (InternalSkins) are read by whoever knows the program's packages.
void RegisterSkinManager();
// Adds "skin" to the application's dump: the default manager's skin name, whether it is
// active, its section count and its colour adjustment (once).
void InstallSkinDump();

}  // namespace skin::core
