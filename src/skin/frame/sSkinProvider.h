// TsSkinProvider: the component that skins its form's whole window. It takes over the form's
// window procedure (through TControl::HookWindowProc), renders the frame, the caption strip,
// the caption text and the caption buttons from the skin into one cached picture, copies that
// picture to the frame and the client background, cuts the window to the frame picture's
// key-coloured corners with a window region, answers hit tests for its frame and runs the
// caption buttons (hover and press fades, clicks that become system commands). It follows
// activation, sizing and the skin manager's skin changes; taking the skin off gives the form
// its plain frame back.
//
// The frame keeps the system's non-client metrics, so a skin changes the look of a form and
// never its client area; only at a scale other than 100 % the caption is the system's scaled
// (the client area starts lower by the difference). With the manager's ExtendedBorders
// the skin's larger frame and a shadow lie outside the form in a layered window of their own
// (TacBorderForm) and the form is cut to its client area.
#pragma once

#include <array>
#include <functional>
#include <memory>
#include <vector>

#include "framework/Font.h"
#include "framework/Form.h"
#include "platform/gfx/Bitmap.h"
#include "platform/gfx/Region.h"
#include "platform/win/Menu.h"
#include "skin/core/acSBAnimation.h"
#include "skin/core/sCommonData.h"
#include "skin/core/sSkinManager.h"
#include "skin/core/sStyleSimply.h"
#include "skin/frame/acBorderForm.h"
#include "skin/frame/acDisabledVeil.h"
#include "skin/frame/acFrameSizing.h"
#include "skin/frame/acGluedForms.h"
#include "skin/frame/acTitleBar.h"
#include "skin/frame/sCtrlAdapter.h"
#include "skin/paint/sAlphaGraph.h"

namespace skin::frame {

using skin::core::TsCaptionButton;
class TacMinTimer;
class TacMDIIcons;
class TsMDIForm;
class TsSystemMenu;

// Where the provider's extra sub-menu goes in the skinned system menu.
enum TacSubMenuPos { ipTop, ipBottom, ipBeforeClose };

// The provider's extra sub-menu of the skinned system menu: an item captioned Caption holding
// copies of PopupMenu's items, at Position; shown only when both are set.
class TacSysSubMenu {
 public:
  std::u16string Caption;
  TacSubMenuPos Position = ipBottom;
  // Set through the provider (SetSysSubMenuPopup), which forgets a menu that is freed.
  fw::TPopupMenu* PopupMenu() const { return FPopupMenu; }

 private:
  friend class TsSkinProvider;
  fw::TPopupMenu* FPopupMenu = nullptr;
};

// The system buttons of a caption, in the order of their records.
enum TacCaptionButtonKind { cbMin, cbMax, cbHelp, cbClose, cbCount };

// The provider's passing states (FormState()), as bits.
constexpr unsigned FS_SIZING = 1;         // a frame-only size runs
constexpr unsigned FS_BLENDMOVING = 128;  // a translucent copy is being moved
constexpr unsigned FS_ANIMMINIMIZING = 256;
constexpr unsigned FS_ANIMCLOSING = 512;  // the window is being hidden with the hide effect
constexpr unsigned FS_ANIMRESTORING = 1024;
constexpr unsigned FS_THUMBDRAWING = 2048;
constexpr unsigned FS_CHANGING = 4096;
constexpr unsigned FS_ANIMSHOWING = 8192;  // the window is being shown with the show effect
constexpr unsigned FS_MAXHEIGHT = 16384;   // stretched to the work area's height
constexpr unsigned FS_MAXWIDTH = 32768;    // stretched to the work area's width
constexpr unsigned FS_LOCKED = 65536;
constexpr unsigned FS_SCROLLUPDATING = 131072;
constexpr unsigned FS_POSCHANGING = 262144;  // moved along by a master form: no snapping
constexpr unsigned FS_ZOOMING = 524288;
constexpr unsigned FS_DISABLED = 1048576;
constexpr unsigned FS_ACTIVATE = 2097152;  // an activation change is being handled
constexpr unsigned FS_RESTORING = 4194304;
constexpr unsigned FS_ANIMMINREST = FS_ANIMMINIMIZING | FS_ANIMRESTORING;
constexpr unsigned FS_ANIMATING = FS_ANIMMINREST | FS_BLENDMOVING;
constexpr unsigned FS_FULLPAINTING = FS_ANIMCLOSING | FS_CHANGING;
constexpr unsigned FS_MAXBOUNDS = FS_MAXHEIGHT | FS_MAXWIDTH;

// The first skin version whose forms answer AC_GETFONTINDEX with the header band's section for
// text standing on the band.
constexpr double acHeaderFontVersion = 10.25;

// Hit codes of user title buttons: HTUDBTN + index.
constexpr int HTUDBTN = 1000;
// The gap between the system buttons and the user buttons.
constexpr int UserButtonsOffset = 6;

// A user button of the caption, placed left of the system buttons.
struct TsTitleButton {
  std::string Name;
  std::u16string Hint;
  bool Enabled = true;
  bool Visible = true;
  bool UseSkinData = true;  // the skin's "TITLEBUTTON" picture behind the glyph
  gfx::Bitmap Glyph;        // empty: none; with alpha below 255 blended, else keyed by its
                            // bottom-left pixel
  fw::TNotifyEvent OnMouseDown, OnMouseUp;  // the provider is the sender
  TsCaptionButton Data;                     // place, state, hit code (HTUDBTN + index)
};

// The icon at the left of the title.
struct TsTitleIcon {
  gfx::Bitmap Glyph;  // empty: the form's icon; else drawn with its 0xFF00FF pixels left out
  int Width = 0;      // the glyph's size at 100 % scale; 0: the glyph's own
  int Height = 0;
  bool Visible = true;
};

class TsSkinProvider : public fw::TComponent,
                       public skin::core::TacFormProvider,
                       public TacAdapterOwner,
                       public TacBorderOwner {
 public:
  // owner should be a form; another owner leaves the provider inert (see Inert). A form that
  // has a provider already keeps it: the new one stays empty and never hooks, unless the old
  // one was made at run time (CreateRunTime) and is replaced.
  explicit TsSkinProvider(fw::TComponent* owner);
  // Gives the form its window procedure back.
  ~TsSkinProvider() override;
  std::string ClassName() const override { return "TsSkinProvider"; }
  void Loaded() override;
  void Notification(fw::TComponent* component, fw::TOperation operation) override;
  const fw::TComponent* ProviderManager() const override;
  gfx::TPoint ClientOffset() const override { return {OffsetX(), OffsetY()}; }
  bool AnimMinimize() override;
  bool AnimRestore() override;
  bool AnimClose() override;

  // A provider for form, made by the library for a form whose description has none; it
  // initialises itself at the first frame message (LoadInit). Returns the form's provider when
  // it has one.
  static TsSkinProvider* CreateRunTime(fw::TCustomForm& form);
  // The provider of a form (its AC_GETPROVIDER answer), null when none.
  static TsSkinProvider* GetSkinProvider(fw::TCustomForm& form);

  // ---- Properties ----
  skin::core::TsScrollWndData& SkinData() { return *FCommonData; }
  // Alignment of the caption text in the free caption strip (default taLeftJustify).
  fw::TAlignment CaptionAlignment() const { return FCaptionAlignment; }
  void SetCaptionAlignment(fw::TAlignment alignment);
  // The font of text added in front of the caption (colour clNone: the title's own colour).
  fw::TFont& AddedTitleFont() { return FAddedTitleFont; }
  // Text drawn in front of the caption in AddedTitleFont (default empty).
  const std::u16string& AddedTitleText() const { return FAddedTitleText; }
  void SetAddedTitleText(const std::u16string& text);
  // The form's caption is drawn after the added text (default on); off, only the added text.
  bool ShowMainCaption() const { return FShowMainCaption; }
  void SetShowMainCaption(bool value);
  // The provider draws the frame (default on); off, the form keeps the system's frame.
  bool DrawNonClientArea() const { return FDrawNonClientArea; }
  void SetDrawNonClientArea(bool value);
  // The provider paints the client background from the skin (default on).
  bool DrawClientArea() const { return FDrawClientArea; }
  void SetDrawClientArea(bool value) { FDrawClientArea = value; }
  // Caption-button state changes fade, and the window animations of showing, hiding,
  // minimising and restoring run as the manager's AnimEffects say (default on).
  bool AllowAnimation() const { return FAllowAnimation; }
  void SetAllowAnimation(bool value) { FAllowAnimation = value; }
  // The form follows the manager's scale: it is scaled when shown and when the scale changes
  // (default on); off, it answers AC_GETSCALE with -1 and keeps its size.
  bool AllowScale() const { return FAllowScale; }
  void SetAllowScale(bool value) { FAllowScale = value; }
  // A band of this height at the top of the client area is painted with the skin's
  // "FORMHEADER" section (default 0: none); scaled with the form.
  int FormHeaderHeight() const { return FHeaderHeight; }
  void SetFormHeaderHeight(int height);
  // The title icon: its own glyph instead of the form's icon, its size, whether it shows.
  const TsTitleIcon& TitleIcon() const { return FTitleIcon; }
  void SetTitleIcon(const TsTitleIcon& icon);
  // Single and sizeable forms with a system menu show their icon at the left of the title
  // (default on).
  bool ShowAppIcon() const { return FShowAppIcon; }
  void SetShowAppIcon(bool value);
  // The form takes the skin's global colour while skinned (default on).
  bool UseGlobalColor() const { return FUseGlobalColor; }
  void SetUseGlobalColor(bool value) { FUseGlobalColor = value; }
  // rmBorder: a press on the caption or the sizing border moves or sizes only an inverted
  // outline on the desktop, and the form takes its place on release (default rmStandard).
  TacResizeMode ResizeMode() const { return FResizeMode; }
  void SetResizeMode(TacResizeMode value) { FResizeMode = value; }
  // A moved form snaps to the edges of the other skinned forms and of the work area within
  // SnapBuffer pixels (default off, 10 pixels).
  bool ScreenSnap() const { return FScreenSnap; }
  void SetScreenSnap(bool value) { FScreenSnap = value; }
  int SnapBuffer() const { return FSnapBuffer; }
  void SetSnapBuffer(int value) { FSnapBuffer = value; }
  // A caption press moves the form translucently while the manager's BlendOnMoving effect is
  // active (default on).
  bool AllowBlendOnMoving() const { return FAllowBlendOnMoving; }
  void SetAllowBlendOnMoving(bool value) { FAllowBlendOnMoving = value; }
  // The names of the forms that, touching this form edge to edge when it is activated, move
  // with it afterwards (default none).
  std::vector<std::string>& GluedForms() { return FGlued.Names; }
  // A disabled form is veiled in DisabledBlendColor at opacity 255 - DisabledBlendValue
  // (default 255: no veil; colour black).
  int DisabledBlendValue() const { return FDisabledBlendValue; }
  void SetDisabledBlendValue(int value) { FDisabledBlendValue = value; }
  fw::TColor DisabledBlendColor() const { return FDisabledBlendColor; }
  void SetDisabledBlendColor(fw::TColor value) { FDisabledBlendColor = value; }
  // A disabled form is veiled by its own picture blurred, with the blend colour over it at
  // that opacity (default off).
  bool DisabledBlured() const { return FDisabledBlured; }
  void SetDisabledBlured(bool value) { FDisabledBlured = value; }

  // The form wears the extended border while the manager's ExtendedBorders is on (default on).
  bool AllowExtBorders() const { return FAllowExtBorders; }
  void SetAllowExtBorders(bool value);

  // User buttons of the caption (default none), in placement order from the system buttons.
  TsTitleButton& AddTitleButton();
  int TitleButtonCount() const { return int(FTitleButtons.size()); }
  TsTitleButton& TitleButton(int i) { return *FTitleButtons[std::size_t(i)]; }
  // The title bar whose items are laid out in the free caption strip (default none). Linked,
  // the form's caption is drawn only with the bar's ShowCaption.
  TsTitleBar* TitleBar() const { return FTitleBar; }
  void SetTitleBar(TsTitleBar* bar);

  // Controls of other classes may be wrapped by the control adapter (default on).
  bool AllowSkin3rdParty() const override { return FAllowSkin3rdParty; }
  void SetAllowSkin3rdParty(bool value) { FAllowSkin3rdParty = value; }
  // The choice of a child's skinning by the adapter: OnSkinItem, then OnSkinItemEx.
  using TacSkinItemEvent = std::function<void(fw::TControl*, bool&, TacSkinParams&)>;
  TacSkinItemEvent OnSkinItem, OnSkinItemEx;
  // The form's own opacity, given back after an animation.
  bool AlphaBlend = false;
  int AlphaBlendValue = 255;
  // Runs when a show animation has ended.
  fw::TNotifyEvent OnAfterAnimation;

  // ---- State ----
  fw::TCustomForm* Form() const { return FForm; }
  bool Inert() const { return !FHook; }
  bool RTEmpty() const { return FRTEmpty; }
  bool RTInit() const { return FRTInit; }
  bool FormActive() const { return FFormActive; }
  // The passing states (FS_* bits).
  unsigned FormState() const { return FFormState; }
  // How the form comes back after its owner window was minimised (saIgnore: nothing pending):
  // saMinimize, saMaximize or saRestore after the form's state when the owner hid it. A
  // pending saMaximize is handled by the form's next activation, which paints the maximised
  // form whole at once (its children held meanwhile); a deactivation cancels it.
  core::TShowAction ShowAction() const { return FShowAction; }
  // A form stretched by a double click on an edge of its extended border: its bounds before.
  const gfx::TRect& NormalBounds() const { return FNormalBounds; }
  // Skinned: a skin in force, a known form section, the frame drawn.
  bool Skinned() const;
  // The hit code of the element under the mouse (0 none) and whether it is being pressed.
  int CurrentHT() const { return FCurrentHT; }
  bool Clicked() const { return FClicked; }
  const TsCaptionButton& Button(TacCaptionButtonKind kind) const { return FButtons[kind]; }
  // The transparent corner rectangles the window region leaves out (window coordinates).
  const std::vector<gfx::TRect>& Rects() const { return FRects; }
  // Counted WM_SETREDRAW pairs; the frame is not painted while above 0.
  int LockCount() const { return FLockCount; }
  // A frame-only move or size runs (rmBorder).
  const TacFrameSizing& FrameSizing() const { return FSizing; }
  // Whether form is glued to this one.
  bool Linked(const fw::TCustomForm& form) const { return FGlued.Linked(form); }
  // The veil window over the disabled form, null when none.
  core::TacGlowForm* LayerForm() const { return FVeil.Window(); }
  // The rendered window (frame, caption and client background), null before the first paint.
  const gfx::Bitmap* Cache() const { return FCommonData->CacheBmp(); }
  // The control adapter of the form's children that have no skinning of their own, null
  // before the first skinned frame or activation and after the skin goes.
  TacCtrlAdapter* Adapter() const { return FAdapter.get(); }
  // The extended border, null in standard mode.
  TacBorderForm* BorderForm() const { return FBorderForm.get(); }
  // ---- The extended border's view of the provider ----
  win::HWND ExOwnerWindow() const override;
  bool ExOwnerEnabled() const override;
  TacExFrame ExFrame() const override;
  bool ExPaint() override { return PaintAll(); }
  const gfx::Bitmap* ExPicture() const override { return Cache(); }
  gfx::TRect ExClientRect() const override;
  int ExHitTest(gfx::TPoint screen) const override { return HTProcess(screen); }
  bool ExStretchByEdge(int hitCode) override { return StretchByEdge(hitCode); }
  void ExMoveMaximized(gfx::TPoint mouse) override { MoveMaximized(mouse); }
  // Makes the extended border when the form should wear one (the manager's ExtendedBorders,
  // AllowExtBorders, a skinned top-level form with a border, showing, not maximised unless
  // the manager's NativeBordersMaximized is off), frees it otherwise; places it, renewing its
  // picture with redraw (or when made or resized).
  void InitExBorders(bool redraw = true);
  // The form's own class-name lists for the adapter, made (with the defaults) when first
  // asked for; until then the manager's lists serve.
  TsThirdPartyList& ThirdParty();
  // The form's minimise and restore animation, made at its first minimise.
  TacMinTimer* FormTimer() const { return FFormTimer.get(); }

  // ---- The control adapter's view of the provider ----
  fw::TWinControl* AdapterForm() const override { return FForm; }
  const TsThirdPartyList* OwnThirdParty() const override { return FThirdParty.get(); }
  TsSkinManager* AdapterManager() const override;
  void SkinItem(fw::TControl* control, bool& canBeAdded, TacSkinParams& params) override;
  void AddFormProvider(fw::TCustomForm& form, const std::string& section) override;

  // The whole window at opacity alpha (layered below 255, plain at 255), its extended border
  // too.
  void SetWindowAlpha(int alpha);

  // ---- The menu line ----
  // The menu bar's rectangle in window coordinates; empty without one.
  gfx::TRect MenuLineRect() const;
  // The menu line's ground as the skin paints it (its "MENULINE" section over the frame), as
  // large as MenuLineRect: the line's items are cut out of it.
  const gfx::Bitmap& MenuLineBG() const { return FMenuLineBG; }
  // Paints the menu line's items into the picture again (their states changed) and shows it.
  void RepaintMenu();
  // The section of the menu line's ground and text (empty: the skin's "MENULINE"). Setting it
  // repaints the frame.
  const std::u16string& MenuLineSkin() const { return FMenuLineSkin; }
  void SetMenuLineSkin(const std::u16string& section);
  // The index of the line's section: MenuLineSkin's when the skin has it, else "MENULINE"'s.
  int MenuLineSkinIndex() const;
  // How many times the line's items were painted (a frame paint that changed nothing on the
  // line does not paint them).
  int MenuLinePaints() const { return FMenuLinePaints; }

  // ---- Geometry (coordinates of the cache) ----
  // The caption height: the window's (SysCaptionHeight); with the extended border the
  // skin's ExTitleHeight (ExMaxHeight maximised), which the skin gives at its scale.
  int CaptionHeight() const;
  // The frame width: the system's for the window's border style; extended, ExBorderWidth.
  int BorderWidth() const;
  // The window's own caption: the system's (small for tool windows) at the form's scale. The
  // skinned window makes room for the scaled caption by moving its client area down (its
  // WM_NCCALCSIZE), so that the caption strip, its buttons, icon and text grow with the form.
  int SysCaptionHeight() const;
  // The form's scale in percent (100 until the manager scales it).
  int ScalePercent() const;
  int SysBorderWidth() const;
  // The shadow margins around the frame in the cache (the manager's FormShadowSize with the
  // extended border, else none).
  gfx::TRect ShadowSize() const;
  int CaptionWidth() const;
  int CacheHeight() const;
  int OffsetX() const;  // where the client area starts inside the cache
  int OffsetY() const;
  int TitleBottom() const;
  // The vertical centre line of the caption.
  int VCenter() const;
  // The frame's rectangle in the cache: inside the shadow margins; with the extended border
  // in mode 1 ("BORDERMODE" 1) also inside the skin's align offsets ("ALIGNOFFSET" and its
  // "R", "T", "B" variants). Outside it the border window lets the mouse through.
  gfx::TRect FrameRect() const;
  // The extended border is drawn in mode 1: the "EXBORDER" item holds the frame itself.
  bool ExModeOne() const;
  // How far a maximised window comes down from the work area's top so that the extended
  // border's maximised title (ExMaxHeight) stays on the screen: max(0, ExMaxHeight - system
  // caption - 4); 0 in standard mode or while the manager keeps maximised forms native.
  int MaximizedTitleExcess() const;
  // The screen position of the cache's top-left pixel.
  gfx::TPoint CacheOrigin() const;
  // The title icon: shown for single and sizeable forms with ShowAppIcon, TitleIcon().Visible
  // and a system menu, right of the border and BILEFT, centred on VCenter: as large as the
  // title icon's glyph (its Width and Height scaled by the form's scale, when set), else a
  // small icon; empty when hidden.
  bool IconVisible() const;
  gfx::TRect IconRect() const;
  // Tool windows use the small glyphs; other forms with a caption the large ones.
  bool BigButtons() const;
  // The width and height of a button's glyph in the skin; 21 when the skin has none.
  int SysButtonWidth(const TsCaptionButton& btn) const;
  int ButtonHeight(const TsCaptionButton& btn) const;
  // Whether a system button is shown: close with the system menu, minimise and maximise for
  // forms with a normal frame that ask for them.
  bool ButtonVisible(TacCaptionButtonKind kind) const;
  // A user button's width: max(glyph width + 2 (0 without a glyph), one "TITLEBUTTON" image,
  // 21 without one).
  int UserButtonWidth(const TsTitleButton& btn) const;

  // ---- Painting ----
  // Rebuilds the cache when the background changed; false when nothing can be painted.
  bool PaintAll();
  // The frame from the cache into a window DC.
  void PaintCaption(gfx::HDC windowDC);
  // The client area from the cache into a client DC (clip rectangle r).
  void PaintForm(gfx::HDC dc, const gfx::TRect& r);
  // Repaints one caption button (by hit code) in its current state: a fade with glowing on,
  // else the button drawn into the cache and the cache copied to the frame.
  void RepaintButton(int hitCode);
  // Marks the picture stale and repaints the frame now.
  void UpdateFrame();
  // The region the window is cut to; empty when the window keeps its rectangle.
  gfx::Region MakeRegion() const;

  // ---- Frame input ----
  // The hit code of a screen point over the skinned window.
  int HTProcess(gfx::TPoint screen) const;
  // The title-bar item of a hit code (acHTItem + index), null for other codes.
  TacTitleBarItem* ItemByHT(int hitCode) const;
  // Makes the element of hitCode hot (0: none hot), repainting the previous and the new one.
  void SetHotHT(int hitCode, bool repaint = true);
  // Presses the element of hitCode.
  void SetPressedHT(int hitCode);

  // A double click on an edge of the extended border (hit code HTLEFT, HTRIGHT, HTTOP or
  // HTBOTTOM) of a sizeable form that is neither maximised nor minimised: stretches the form
  // over the work area's width or height (FS_MAXWIDTH, FS_MAXHEIGHT; its bounds kept in
  // NormalBounds), or puts a stretched side back. Moving a stretched form gives it its own
  // size back. False when the double click is not such a one.
  bool StretchByEdge(int hitCode);

  // Ends the maximised state for a drag of the extended border's caption with the mouse at
  // screen point mouse: the form is restored to its normal size, centred across under the
  // mouse with its top 8 pixels above it (at -8 when the mouse is within the top 24 rows), and
  // the system's move by the caption starts.
  void MoveMaximized(gfx::TPoint mouse);

  // The skinned system menu, made on first use.
  TsSystemMenu& SystemMenu();
  // The extra sub-menu merged into the skinned system menu.
  TacSysSubMenu& SysSubMenu() { return FSysSubMenu; }
  void SetSysSubMenuPopup(fw::TPopupMenu* menu);
  // Shows the system menu at a screen point (nothing unless the form is the active one or the
  // active MDI child); false when nothing was shown.
  bool DropSysMenu(int x, int y);

  // ---- Multiple-document forms ----
  // The form's window is an MDI parent (fsMDIForm with its client window) or an MDI child.
  bool IsMDIParent() const;
  bool IsMDIChild() const;
  // An MDI child's parent form's provider, null when none (or not a child).
  TsSkinProvider* MDIParentProvider() const;
  // The companion of an MDI parent whose client window wears the skin, null otherwise.
  TsMDIForm* MDIForm() const { return FMDIForm.get(); }
  // The strip over the menu line's right end while an MDI parent with a maximised child runs
  // its menu loop; null otherwise.
  TacMDIIcons* MDIIcons() const { return FMDIIcons.get(); }
  // With true: a companion whose client window lost its wrapper goes; a skinned MDI parent
  // without one gets it (the client wrapped), and its children not yet skinned are handed to
  // the skinning of system windows. With false (or unskinned) the companion goes.
  void HookMDI(bool active);
  // The menu line shows the buttons of a maximised child: an MDI parent with a main menu whose
  // active child is maximised, has a system menu and a provider.
  bool MDIButtonsNeeded() const;
  // Follows a change of the active child (or of its state): the picture is rebuilt, the client
  // window redrawn with its children and the frame repainted; with redrawBorder the client is
  // painted at once and the extended border placed again.
  void UpdateMainForm(bool redrawBorder);
  // The tag of the items the provider puts in the form's WindowMenu (the skinned list of the
  // MDI children, plus the entry's index, and its separator). Only the dump reads it: the
  // provider knows its items by WindowListItems, since the program's own items may carry any
  // tag.
  static constexpr std::intptr_t kWindowListTag = 512;
  const std::vector<fw::TMenuItem*>& WindowListItems() const { return FWindowListItems; }
  // The pop-up popup opens: the list's old items go; when popup is the WindowMenu's and the
  // parent has children, the platform's entries give way to skinned items ("&N Caption" as the
  // platform numbers them, the active one checked; a click activates the child, restoring it
  // when minimised). True when the list was put there (the platform must not see it).
  bool UpdateWindowList(win::HMENU popup);

  // Sends a message straight into the provider's handling of the form's window.
  win::LRESULT ProcessMessage(win::UINT msg, win::WPARAM wParam, win::LPARAM lParam);

 private:
  friend class TsSystemMenu;
  // The messages that open the system menu on a skinned frame (Alt+Space, the icon, a right
  // click on the caption, the shell's request); true when handled.
  bool SysMenuMessage(fw::TMessage& m);
  void NewWndProc(fw::TMessage& m, const fw::TWndNext& next);
  void DropCommonProp();
  bool SkinCommand(fw::TMessage& m, const fw::TWndNext& next);
  void PrepareForm();
  void LoadInit();
  void CheckSysMenu(bool skinned);
  void RemoveSkin();
  void ApplySkin();
  // The main menu's top items draw through the skin's menu line (active) or plainly.
  void InitMenuLine(bool active);
  void InitIndexes();
  void CalcButtons();
  void PaintTitle(gfx::Bitmap& cache);
  void PaintText(gfx::Bitmap& cache);
  void DrawAppIcon(gfx::Bitmap& cache);
  void PaintHeader(gfx::Bitmap& cache);
  void PaintMDIArea(gfx::Bitmap& cache);
  // An MDI child is its client's active child in the active frame.
  bool MDIChildActive() const;
  // An MDI child tells its parent's provider of activation, state changes and its end.
  void NotifyMDIParent(bool wholeClient);
  void FreeGlows();
  void PaintButton(gfx::Bitmap& cache, TsCaptionButton& btn, int state);
  void PaintUserButton(gfx::Bitmap& cache, TsTitleButton& btn, int state);
  void SaveBGForBtns(const gfx::Bitmap& cache);
  bool IsButtonHT(int hitCode) const;
  const paint::TsMaskData* TitleButtonMask() const;
  // The skin's picture of a button's glyph, null when the skin has none.
  const paint::TsMaskData* GlyphMask(const TsCaptionButton& btn) const;
  void UpdateRegion(bool redraw);
  void NCPaint();
  // The menu line into the picture: its ground painted anew (ground) or put back from
  // MenuLineBG, then the items.
  void PaintMenuLine(gfx::Bitmap& cache, bool ground);
  // Where the window's top-left corner lies in the picture.
  gfx::TPoint WindowInCache() const;
  // A maximised MDI child's icon and buttons on the menu line (the item data is the child):
  // measured as the skin's small glyphs, drawn from them.
  bool MdiLineItem(win::ULONG_PTR data) const;
  void MeasureMdiItem(win::MEASUREITEMSTRUCT& mis) const;
  void DrawMdiItem(const win::DRAWITEMSTRUCT& dis);
  void OnLButtonUp(gfx::TPoint screen);
  bool OnCaptionDblClick(int hitCode);
  TsCaptionButton* ButtonByHT(int hitCode);
  int SectionState(int skinIndex) const;
  bool ActivationShows() const;
  bool HaveSysMenu() const;
  void CalcTitleBar();
  void PaintTitleItems(gfx::Bitmap& cache);
  TacTitlePaintInfo TitlePaintInfo() const;
  void RepaintItem(TacTitleBarItem& item);
  // The menu loop starts (shows the strip over the line's right end) or ends (frees it).
  void MenuLoopIcons(bool entering);
  void SetHotItem(int hitCode, int oldHT, bool repaint);
  void UnlinkTitleBar();
  void CheckAdapter();
  void AddAllItems();
  void WithAdapter(const std::function<void(TacCtrlAdapter&)>& f);
  bool AnimateSysCommand(fw::TMessage& m, const fw::TWndNext& next);
  // Starts the minimising animation of a shown form; false when it does not apply.
  bool StartMinimizeAnimation();
  // The main form's minimise and restore go to the application window (its filter).
  bool CommandsGoToApplication() const;
  bool StartFrameSizing(int hitCode, gfx::TPoint screen);
  bool StartTranslucentMove(int hitCode);
  void SnapPosition(win::WINDOWPOS& pos);
  void EndStretch(win::WINDOWPOS& pos);
  void UpdateLayerForm();
  bool ShowAnimationApplies() const;
  bool HideAnimationApplies() const;
  void ShowAnimated(fw::TMessage& m, const fw::TWndNext& next);
  void SetScale(int percent);
  // The window's client area is computed again (its caption's height changed).
  void FrameChanged();
  // The system's caption height for the window's style, unscaled.
  int SystemCaptionHeight() const;
  bool NeedExBorders() const;
  void FreeExBorders();
  void PaintShadow(gfx::Bitmap& cache);
  void ShowShadowInCorners(gfx::Bitmap& cache, const gfx::Bitmap& shadow) const;
  // The extended border's window, null when none.
  win::HWND BorderWindow() const;
  // Shows the cache's rectangle r on screen: the frame in the window DC, or the border window.
  void ShowCacheRect(const gfx::TRect& r);

  fw::TCustomForm* FForm = nullptr;
  std::unique_ptr<skin::core::TsScrollWndData> FCommonData;
  fw::TWndHookId FHook = 0;
  fw::TAlignment FCaptionAlignment = fw::TAlignment::taLeftJustify;
  fw::TFont FAddedTitleFont;
  TsTitleIcon FTitleIcon;
  int FHeaderHeight = 0;
  int FHeaderIndex = -1;
  int FMDIAreaIndex = -1;
  std::unique_ptr<TsMDIForm> FMDIForm;
  std::unique_ptr<TacMDIIcons> FMDIIcons;
  bool FInMenu = false;  // the menu loop of an MDI parent with a maximised child runs
  bool FMDIZoomed = false;  // an MDI child's last size change maximised it
  std::u16string FAddedTitleText;
  bool FShowMainCaption = true;
  // The caption's glow for the active and the inactive state, kept until the text or the
  // size changes.
  skin::paint::TacGlowMask FGlow1, FGlow2;
  bool FDrawNonClientArea = true, FDrawClientArea = true, FAllowAnimation = true,
       FUseGlobalColor = true, FShowAppIcon = true;
  bool FRTEmpty = false, FRTInit = false;
  bool FFormActive = false;
  bool FSkinApplied = false;  // the form wears the skin (styles and colour changed)
  int FCurrentHT = 0;
  bool FClicked = false;
  bool FCapture = false;
  int FLockCount = 0;
  bool FRgnChanged = true;
  bool FPainting = false;
  int FTitleSkinIndex = -1, FCaptionSkinIndex = -1;
  fw::TColor FSavedColor = fw::clNone;
  std::array<TsCaptionButton, cbCount> FButtons;
  std::vector<std::unique_ptr<TsTitleButton>> FTitleButtons;
  std::vector<fw::TMenuItem*> FWindowListItems;  // the list's items now in the WindowMenu
  std::vector<gfx::TRect> FRects;
  gfx::Bitmap FBtnsBG;  // the caption under the buttons, at FBtnsBGAt
  gfx::TPoint FBtnsBGAt;
  TsTitleBar* FTitleBar = nullptr;
  gfx::Bitmap FTitleBG;     // the title rows before the items are painted
  gfx::Bitmap FMenuLineBG;  // the menu line's ground (MenuLineBG)
  std::u16string FMenuLineSkin;
  // What the line showed when its items were painted last: the bar, its place, the hot item
  // and every item's state; a frame paint with the same key leaves the picture's line alone.
  std::vector<std::uintptr_t> FMenuLineKey;
  int FMenuLinePaints = 0;
  std::vector<std::uintptr_t> MenuLineKey() const;
  bool FAllowSkin3rdParty = true;
  std::unique_ptr<TacCtrlAdapter> FAdapter;
  std::unique_ptr<TsSystemMenu> FSystemMenu;
  TacSysSubMenu FSysSubMenu;
  std::unique_ptr<TsThirdPartyList> FThirdParty;
  std::unique_ptr<TacMinTimer> FFormTimer;
  bool FAdapterBusy = false;
  TacResizeMode FResizeMode = TacResizeMode::rmStandard;
  bool FScreenSnap = false;
  int FSnapBuffer = 10;
  TacFrameSizing FSizing;
  int FDisabledBlendValue = 255;
  fw::TColor FDisabledBlendColor = fw::clBlack;
  bool FDisabledBlured = false;
  TacDisabledVeil FVeil;
  TacGluedForms FGlued;
  unsigned FFormState = 0;
  core::TShowAction FShowAction = core::saIgnore;
  gfx::TRect FNormalBounds;
  bool FAllowScale = true;
  bool FAllowExtBorders = true;
  std::unique_ptr<TacBorderForm> FBorderForm;
  bool FAllowBlendOnMoving = true;  // moved along by the form it is glued to: no snapping
};

// Adds each provider's state to the dump of its form ("provider").
void InstallProviderDump();

}  // namespace skin::frame
