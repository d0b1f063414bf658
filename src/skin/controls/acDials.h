// Skinned dialogs: windows the program does not make as skinned forms. The default manager's
// window-creation hook (SkinHookCBT, installed by TsSkinManager::InstallHook while a skin is
// in force) sees every window of the thread being made or activated:
//
// - a native dialog (class "#32770": the platform's message boxes) gets a TacProvider with a
//   TacDialogWnd on its window, which paints its frame, title strip with the title buttons and
//   background from the skin's "DIALOG" and "DIALOGTITLE" sections, runs the manager's dialog
//   show and hide effects and the translucent move, and puts wrappers on its
//   children: push buttons (TacBtnWnd, section "BUTTON"), texts (TacStaticWnd) and icons
//   (TacIconWnd);
// - a framework form without a provider of its own (the message dialog TMessageForm among
//   them) gets a TacProvider owned by the form and a skin provider made at run time.
//
// acSupportedList keeps one record per skinned dialog or form. A native dialog's record goes
// when its window is destroyed, a form's with the form, and all of them with the skin
// (UnInstallHook). Pop-up menu windows ("#32768") are not wrapped here: their skinning (the
// menus' wrapper list) is the skinned menus' own.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "framework/Component.h"
#include "platform/win/Types.h"
#include "skin/frame/acBorderForm.h"
#include "skin/frame/acSBUtils.h"
#include "skin/frame/sSysMenu.h"

namespace fw {
class TCustomForm;
}
namespace skin::frame {
class TsSkinProvider;
}

namespace skin::controls {

using win::HWND;
using win::LPARAM;
using win::LRESULT;
using win::WPARAM;

// Native dialogs are skinned only while fewer than this many skinned dialogs are visible.
constexpr int ac_DialogsLevel = 2;
// When either is not -1, a native dialog being shown is first moved there (screen
// coordinates); the program itself leaves them at -1.
inline int DlgLeft = -1;
inline int DlgTop = -1;

class TacDialogWnd;

// The frame kinds of a native dialog, from its styles.
enum class TacBorderStyle {
  acbsDialog,
  acbsSingle,
  acbsNone,
  acbsSizeable,
  acbsToolWindow,
  acbsSizeToolWin
};

// The skinned system menu of a native dialog: the window commands of the dialog's own system
// menu (its texts, else the library's) and the commands the program added to it, shown
// through the manager's menu painter on the dialog's icon, for Alt+Space, a right click on
// the caption and the shell's window-menu request.
class TacSystemMenu : public frame::TsCustomSysMenu {
 public:
  explicit TacSystemMenu(TacDialogWnd& owner);
  std::string ClassName() const override { return "TacSystemMenu"; }

  // Rebuilds every item from the dialog's system menu.
  void Generate();
  // Visibility and enabling from the dialog's styles and state (full: Generate first).
  void UpdateItems(bool full = false);
  // Shows the menu at a screen point: skinned where the manager skins pop-ups, else the
  // dialog's own system menu.
  void DropDown(int x, int y);
  // Whether command id is the choice the menu made at its last showing; it is taken once.
  // The dialog's own commands without a sender (Escape's Cancel, Enter's OK) have the same
  // shape and may carry the same numbers.
  bool TakeChoice(unsigned id);

  bool VisibleClose() const override;
  bool VisibleMax() const override;
  bool VisibleMin() const override;
  bool EnabledMax() const override;
  bool EnabledMin() const override;
  bool EnabledRestore() const override;
  // Restore for single and sizeable frames with a system menu; size for single, sizeable
  // and sizeable tool frames, answering only where the frame sizes and the window is normal;
  // move answers unless maximised; close as the close button.
  bool VisibleRestore() const override;
  bool VisibleSize() const override;
  bool EnabledMove() const override;
  bool EnabledSize() const override;
  bool EnabledClose() const override;

 protected:
  HWND MenuWindow() const override;
  core::TsSkinManager* MenuManager() const override;

 private:
  TacDialogWnd& FOwner;
  unsigned FChoice = 0;  // the command the menu posted when it closed; 0: none
};

// The record of one skinned dialog or form.
class TacProvider : public fw::TComponent {
 public:
  // owner: the form for a framework form; null for a native dialog (the list owns it).
  explicit TacProvider(fw::TComponent* owner);
  ~TacProvider() override;
  std::string ClassName() const override { return "TacProvider"; }

  // Skins a framework form without a provider: a skin provider made at run time.
  void InitForm(fw::TCustomForm& form);
  // Skins a native dialog: its TacDialogWnd and its children's wrappers; false when a child
  // could not be wrapped.
  bool InitSkin(HWND handle);
  // Wraps every child window of handle, depth first (a child's children before it).
  bool InitHwndControls(HWND handle);
  // Wraps one child window by its class; true unless handle is null.
  bool AddControl(HWND handle);

  HWND CtrlHandle = nullptr;             // the dialog's or form's window
  bool WindowGoing = false;              // the window is being destroyed (nothing to restore)
  frame::TsSkinProvider* sp = nullptr;   // the form's run-time provider (owned by the form)
  std::unique_ptr<TacDialogWnd> ListSW;  // the native dialog's wrapper
  // The wrappers of the dialog's children.
  std::vector<std::unique_ptr<frame::TacMainWnd>> acSkinnedCtrls;
};

// The dialog wrapper: frame, title strip, caption, title buttons and background from the
// skin, hit testing and the buttons' hover and press, the background its children ask for.
// With the manager's ExtendedBorders and a skin that draws them, the dialog wears the extended
// border a skinned form of its frame wears: the skin's larger title and frame with the shadow
// in a layered window behind it (BorderForm), the dialog itself cut to its client area. The
// picture (Cache) then reaches past the window; the geometry below is in its coordinates.
class TacDialogWnd : public frame::TacScrollWnd, public frame::TacBorderOwner {
 public:
  using frame::TacScrollWnd::TacScrollWnd;
  std::string ClassName() const override { return "TacDialogWnd"; }

  // Hit code of the hot or pressed title button (HTCLOSE, HTMAXBUTTON, HTMINBUTTON, HTHELP),
  // 0 when none.
  int CurrentHT = 0;
  bool FFormActive = false;
  bool Initialized = false;  // the children were looked at again after the first paint
  bool biClicked = false;    // a title button is held down
  bool AnimClosing = false;  // hidden now: the hide effect runs once the window is hidden
  // Bit 0x80: a translucent move runs.
  unsigned FormState = 0;
  int TitleIndex = -1;         // "DIALOGTITLE"
  int FCaptionSkinIndex = -1;  // "CAPTION"
  TacProvider* Provider = nullptr;
  // The skinned system menu, made at its first showing.
  std::unique_ptr<TacSystemMenu> SystemMenu;
  ~TacDialogWnd() override;

  bool FormActive() const { return FFormActive; }
  // The scale the dialog is drawn at, in percent: the manager's (the scale its forms are given)
  // from its showing on. Its caption (the system's, scaled), title icon and font and its
  // children's places, sizes and fonts follow; the window grows around its centre. AC_GETSCALE
  // answers it; AC_SETSCALE and a skin announced at another scale change it.
  int ScalePercent() const { return FScale; }
  void SetScale(int percent);
  // The skin's sections looked up again (a new skin was announced).
  void UpdateIndexes();

  // The title buttons the window's style asks for, and whether each answers.
  bool VisibleClose() const;
  bool VisibleMax() const;
  bool VisibleMin() const;
  bool VisibleHelp() const;
  bool EnabledClose() const;
  bool EnabledMax() const;
  bool EnabledMin() const;
  // Maximised or minimised with a maximise box: restore answers.
  bool EnabledRestore() const;
  bool Enabled(int ht) const;
  // The frame kind the window's styles give.
  TacBorderStyle BorderStyle() const;
  // The title icon (the window's icon shown small) in picture coordinates, left in the title
  // and centred on it; empty without a system menu or a title.
  gfx::TRect IconRect() const;
  // Shows the skinned system menu at a screen point.
  void DropSysMenu(int x, int y);
  // A title button (by its hit code) in picture coordinates, empty when not shown, and its
  // state (0 normal, 1 hot, 2 pressed).
  gfx::TRect ButtonRect(int ht) const;
  int ButtonState(int ht) const;
  // The hit codes of the shown title buttons, right to left.
  std::vector<int> Buttons() const;
  // The whole window painted from the skin (frame, title, caption, buttons, background);
  // false when unskinned.
  bool PaintAll();
  // The title strip's height (border and caption), the client's place in the window.
  int TitleHeight() const;
  gfx::TPoint ClientOffset() const;
  gfx::Bitmap* Cache() const;
  // The frame's geometry (the window's own frame in standard mode), the client's place in the
  // picture and the screen point of the picture's top-left pixel.
  frame::TacExFrame ExFrame() const override;
  gfx::TPoint CacheClientOffset() const { return ExFrame().ClientOffset(); }
  gfx::TPoint CacheOrigin() const;
  // The extended border, null in standard mode. InitExBorders makes it when the dialog should
  // wear one (the manager's ExtendedBorders, a skinned, shown, normal dialog with a caption)
  // and places it, else frees it.
  frame::TacBorderForm* BorderForm() const { return FBorderForm.get(); }
  void InitExBorders(bool redraw = true);
  // repaint: the dialog's own frame painted again (not for a window that goes).
  void FreeExBorders(bool repaint = true);
  // The hit code of a screen point over the picture: a title button, the icon (HTSYSMENU),
  // the caption, HTCLIENT inside the frame, HTNOWHERE outside it.
  int HitTest(gfx::TPoint screen) const;

  // ---- The extended border's view of the dialog ----
  win::HWND ExOwnerWindow() const override;
  bool ExOwnerEnabled() const override;
  bool ExPaint() override { return PaintAll(); }
  const gfx::Bitmap* ExPicture() const override { return Cache(); }
  gfx::TRect ExClientRect() const override;
  int ExHitTest(gfx::TPoint screen) const override { return HitTest(screen); }
  // The window, still shown, goes through the manager's DialogHide effect (a cover of its
  // picture fades out); nothing when the effect or the animations are off.
  void AnimateHide();

 protected:
  void AfterCreation() override;
  void acWndProc(fw::TMessage& m) override;

 private:
  void PaintFrame();
  // The window region: the window less the key-coloured pixels of the frame's corners.
  void UpdateRegion();
  void SetButtonState(int ht, bool pressed);
  // The skin's glyph of a title button (TitleGlyphs index), -1 when the skin has none.
  int GlyphIndex(int ht) const;
  // The system command a title button gives.
  WPARAM ButtonCommand(int ht) const;
  // The manager's DialogShow or DialogHide effect, null when it does not apply.
  const core::TacFormAnimation* DialogEffect(bool show) const;
  // The window was shown unseen (layered at 0): painted whole, then faded in.
  void ShowAnimated();
  // A caption drag with the manager's BlendOnMoving effect; false when it does not apply.
  bool StartTranslucentMove();
  // The messages that open the system menu (Alt+Space, a press on the icon, a right click on
  // the caption or the icon, the shell's request); true when handled.
  bool SysMenuMessage(fw::TMessage& m);
  bool FAnimShowing = false;
  // The button under a point of the window, 0 when none.
  int ButtonAt(gfx::TPoint p) const;
  bool FPressed = false;
  bool FRegionSet = false;
  int FScale = 100;
  int FWantedScale = 100;  // the manager's, taken at wrapping and at each new skin
  // The caption's growth over the system's at the dialog's scale.
  int CaptionExtra() const;
  bool NeedExBorders() const;
  // The frame's rectangle in the picture (inside the shadow) and the caption's band in it.
  gfx::TRect FrameRect() const;
  gfx::TRect CaptionBand() const;
  std::unique_ptr<frame::TacBorderForm> FBorderForm;
};

// Static texts of dialogs (section "TRANSPARENT"): the text over the parent's background in the
// dialog section's font colour, word-wrapped, in the window's font.
class TacStaticWnd : public frame::TacMainWnd {
 public:
  using frame::TacMainWnd::TacMainWnd;
  std::string ClassName() const override { return "TacStaticWnd"; }

 protected:
  void acWndProc(fw::TMessage& m) override;
  // The picture of the window into bmp (its size) over the parent's background.
  virtual void PaintText(gfx::Bitmap& bmp);
  void Paint(gfx::HDC dc);
};

// Icon statics: the icon (STM_GETICON) at (0, 0) over the parent's background.
class TacIconWnd : public TacStaticWnd {
 public:
  using TacStaticWnd::TacStaticWnd;
  std::string ClassName() const override { return "TacIconWnd"; }

 protected:
  void PaintText(gfx::Bitmap& bmp) override;
};

// The records of the skinned dialogs and forms; a record leaves it when it is freed.
std::vector<TacProvider*>& acSupportedList();

// The window-creation hook procedure (see the header comment); passes every call on first.
LRESULT SkinHookCBT(int code, WPARAM wParam, LPARAM lParam);
// Decides whether a top-level window is skinned here and, if so, records and skins it.
void AddSupportedForm(HWND handle);
// Drops the records of native dialogs whose wrapper is gone.
void CleanSupportedList();
// The record of a window, or null.
TacProvider* FindFormInList(HWND handle);
// Visible skinned native dialogs.
int VisibleDlgCount();
// Whether handle has a child window (any depth) of the class (case ignored).
bool ControlExists(HWND handle, std::u16string_view className);
// Frees every record (the skin's removal).
void FreeSupportedList();
// The open native dialogs and their children take the skin just announced.
void UpdateSupportedList();

// Registers the dialog skinning with the manager and the dump's "provider" of skinned native
// dialogs and "wrapper" of their children (once).
void InstallDialogSkinning();

}  // namespace skin::controls
