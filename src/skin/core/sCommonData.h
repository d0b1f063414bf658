// Per-control skin data: what binds a skinned control (or a form skin provider) to a skin
// manager and a section of its skin, keeps the indexes resolved from the skin in force, owns
// the control's cache picture, and carries the handling of window messages and skin commands
// every skinned control performs before its own.
//
// The data registers itself as the "ACSDATA" property of the control's window from the
// window's creation to its destruction, so the skin message reaches the control's handler
// directly (sVclUtils). The manager is held through a TacManagerRef: a manager freed first
// leaves the data without one (and unskinned), never with a dangling pointer.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <memory>
#include <string>
#include <string_view>

#include "framework/Control.h"
#include "framework/WinControl.h"
#include "platform/gfx/Bitmap.h"
#include "skin/core/acThdTimer.h"
#include "skin/core/sConst.h"
#include "skin/core/sMessages.h"
#include "skin/core/sSkinManager.h"
#include "skin/core/sVclUtils.h"
#include "skin/paint/sAlphaGraph.h"

namespace skin::core {

enum class TacOuterVisibility { ovNone, ovAlways };

// OuterEffects: the shadow drawn around a control (drawn only with ovAlways).
struct TacOuterEffects {
  TacOuterVisibility Visibility = TacOuterVisibility::ovNone;
};

class TsCommonData : public TacMessageHandler {
 public:
  // owner: a control, or a form skin provider. createCacheBmp: start with an empty cache.
  TsCommonData(fw::TComponent* owner, bool createCacheBmp);
  virtual ~TsCommonData();
  TsCommonData(const TsCommonData&) = delete;
  TsCommonData& operator=(const TsCommonData&) = delete;

  // Streaming is over: resolve the section, register with the form's adapter and, with
  // updateColors, take the skin's colours.
  void Loaded(bool updateColors = true);

  // SkinManager: null means the default manager.
  TsSkinManager* SkinManager() const;
  // The manager set, null when the default one is followed.
  TsSkinManager* StoredSkinManager() const { return FSkinManager.Get(); }
  void SetSkinManager(TsSkinManager* value);
  // Always upper case; empty means the control's default section.
  const std::string& SkinSection() const { return FSkinSection; }
  void SetSkinSection(std::string_view value);
  bool CustomColor() const { return FCustomColor; }
  void SetCustomColor(bool value) { SetBoolean(0, value); }
  bool CustomFont() const { return FCustomFont; }
  void SetCustomFont(bool value) { SetBoolean(1, value); }
  int HUEOffset() const { return FHUEOffset; }
  void SetHUEOffset(int value) { SetInteger(0, value); }
  int Saturation() const { return FSaturation; }
  void SetSaturation(int value) { SetInteger(1, value); }
  fw::TColor ColorTone() const { return FColorTone; }
  void SetColorTone(fw::TColor value);
  TacOuterEffects& OuterEffects() { return FOuterEffects; }

  // A manager with its skin, a valid section, an owner not being destroyed; with
  // checkSkinActive the skin is also active.
  bool Skinned(bool checkSkinActive = false) const;
  // Marks the picture stale; with updateMain resolves the section again (by name, or by the
  // control's answer to AC_GETDEFINDEX), then the background kind and border item.
  void UpdateIndexes(bool updateMain = true);
  void BeginUpdate();
  void EndUpdate(bool repaint = false);
  // Painting is suspended here or in a parent preparing its picture.
  bool Updating() const { return GetUpdating(); }
  bool GetUpdating() const;
  // Marks the picture stale and redraws the control.
  void Invalidate(bool updateNow = false);
  // The window the data belongs to, or null; never raises.
  win::HWND OwnerHandle() const;
  // Registers the data as the window's "ACSDATA" property (and the handler with it).
  void InitCommonProp();
  void RemoveCommonProp();
  void ClearLinks();
  // Whether a move changes the control's picture.
  bool RepaintIfMoved();
  // Whether the control shows an outer effect: the manager allows them, Visibility is
  // ovAlways and the section has an outer item.
  bool HasOuterEffect() const;
  // Paints the control's outer effect into info.Bmp round the control placed at info.Offset
  // (the answer to AC_PAINTOUTER); nothing when it has none.
  void PaintOuter(const TacBGInfo& info);
  // Paints the outer effects of parent's visible children into the cache, parent's origin at
  // offset in it.
  void PaintOuterEffects(fw::TWinControl& parent, gfx::TPoint offset);

  fw::TControl* OwnerControl() const { return FOwnerControl; }
  fw::TComponent* OwnerObject() const { return FOwnerObject; }
  gfx::Bitmap* CacheBmp() const { return FCacheBmp.get(); }
  // The cache emptied (zero size); created when missing.
  void ClearCache();

  // Fields read and written by the skinned controls.
  fw::TColor SavedColor = fw::clNone, SavedFontColor = fw::clNone;
  bool FFocused = false;
  bool FUpdating = false;
  bool FMouseAbove = false;
  bool HalfVisible = false;
  bool Loading = true;
  std::uint8_t COC = 0;
  std::int32_t GlowID = -1;
  std::int32_t BorderIndex = -1;
  std::int32_t ScalePercent = 100;
  std::int32_t FUpdateCount = 0;
  std::int32_t DefFontHeight = 0;
  gfx::HDC PrintDC = nullptr;
  win::HWND FSWHandle = nullptr;
  std::uint16_t BGType = 0;
  std::uint32_t CtrlSkinState = 0;
  gfx::TRect InvalidRectH, InvalidRectV;
  bool BGChanged = true;
  std::int32_t SkinIndex = -1;
  // The mask of the glow behind the control's text, kept while text, font and glow stay.
  skin::paint::TacGlowMask GlowMask;
  // The state fade or glow fade of the control, made on its first animation (sFade).
  std::unique_ptr<TacThreadedTimer> AnimTimer;

 private:
  void SetBoolean(int index, bool value);
  void SetInteger(int index, int value);
  // The provider's form, or the owner control, is going; data without an owner object is
  // alive while its bare window (FSWHandle) exists.
  bool OwnerDestroying() const;

  bool FCustomFont = false;
  bool FCustomColor = false;
  std::unique_ptr<gfx::Bitmap> FOuterCache;
  std::string FSkinSection;
  TacManagerRef FSkinManager;
  TacOuterEffects FOuterEffects;
  fw::TColor FColorTone = fw::clNone;
  std::int32_t FHUEOffset = 0, FSaturation = 0;
  std::unique_ptr<gfx::Bitmap> FCacheBmp;
  fw::TComponent* FOwnerObject = nullptr;
  fw::TControl* FOwnerControl = nullptr;
};

// The skin data of forms and of controls with scroll bars: scroll sizes (−1: the manager's).
struct TacScrollData {
  int ScrollWidth = -1;
  int ButtonsSize = -1;
};

class TsScrollWndData : public TsCommonData {
 public:
  using TsCommonData::TsCommonData;
  const TacScrollData& HorzScrollData() const { return FHorz; }
  const TacScrollData& VertScrollData() const { return FVert; }
  // A windowed control with a window that is not loading recalculates its frame.
  void SetScrollWidth(bool vert, int value);
  // A windowed control with a window repaints its frame.
  void SetButtonsSize(bool vert, int value);

 private:
  TacScrollData FHorz, FVert;
};

// Edit-like controls show hot colours too (off: list views keep their font colour and edits
// are not hot under the mouse).
extern bool ac_AllowHotEdits;

// The skin data of a control: its "ACSDATA" object (or that of its skinned scroll bar), else
// its answer to AC_CTRLHANDLED. With checkSkinned the data must also be Skinned.
bool CtrlIsSkinned(fw::TControl* control, bool checkSkinned = true);
// Resolves the section: by name when one is set, else by the class code (most ask the control
// for its default through AC_GETDEFINDEX; a few have a fixed name).
void UpdateData(TsCommonData& cd);
// The first of the names the skin has gives the section; empty names are skipped.
void InitIndexes(TsCommonData& cd, std::initializer_list<std::string_view> names);
bool InUpdating(TsCommonData& cd, bool reset = false);
// Takes the section's colours (edit-like controls) and repaints with repaint.
void UpdateCtrlColors(TsCommonData& cd, bool repaint);
void InitBGType(TsCommonData& cd);
// The cache created when missing and sized to the owner control.
void InitCacheBmp(TsCommonData& cd);
// The section's colour for the state, through the control's hue offset and saturation.
fw::TColor GetBGColor(const TsCommonData& cd, int state);
// What the control answers to AC_GETCONTROLCOLOR: the colour a child sees behind it, as RGB.
fw::TColor GetControlColorAnswer(TsCommonData& cd);
// What the control answers to AC_GETBG.
void InitBGInfo(TsCommonData& cd, TacBGInfo& info, int state);
bool ControlIsActive(const TsCommonData& cd);
int SkinBorderMaxWidth(const TsCommonData& cd);
bool HaveOuterEffects(const TsCommonData& cd);
bool FullRepaintOnly(const TsCommonData& cd);
inline bool ChildBgIsChanged(const TsCommonData&) {
  return true;
}
bool CanClickShift(int skinIndex, TsSkinManager* manager);
// Stops the control's animation and drops its pictures.
void StopTimer(TsCommonData& cd);
// A fade of the control runs.
bool TimerIsActive(const TsCommonData& cd);
inline int CurrentScale(const TsCommonData& cd) {
  return cd.ScalePercent;
}
// Whether a text on the section in the state stands on the parent's background and takes
// the parent's font colour.
bool NeedParentFont(TsSkinManager* manager, int skinIndex, int state, fw::TControl* control);
// The text colour of a window: it is asked AC_GETFONTINDEX also in state 0; its answer 0, or no
// skin in force, gives the button-text colour. Never blended.
fw::TColor GetFontColor(win::HWND wnd, int skinIndex, TsSkinManager* manager, int state);

// Copies srcRect of the cache of control (skin data cd) to dstRect of dstDC, leaving out the
// children that paint themselves (opaque ones, and those answering AC_ISOPAQUE; windowless
// ones only when the manager leaves their pictures opaque), each at its bounds moved by
// (offsetX, offsetY). With updateCorners the cache's corners are repaired first. Nothing for
// a missing or empty cache.
void CopyWinControlCache(fw::TWinControl& control, TsCommonData& cd, const gfx::TRect& srcRect,
                         const gfx::TRect& dstRect, gfx::HDC dstDC, bool updateCorners,
                         int offsetX = 0, int offsetY = 0);
// The same for a control known by its window: its visible child windows are left out by their
// window rectangles (relative to wnd's, moved by -offsetX, -offsetY); a group box without a
// client edge only by its frame (its caption band, as high as its AC_GETSERVICEINT answer, and
// the group-box border's widths), and only with a default manager.
void CopyHwndCache(win::HWND wnd, TsCommonData& cd, const gfx::TRect& srcRect,
                   const gfx::TRect& dstRect, gfx::HDC dstDC, bool updateCorners, int offsetX = 0,
                   int offsetY = 0);

// The colour of a text the control draws on its section (skinIndex) in the state: its own font
// colour with CustomFont; on a section the text stands through (transparency above 39, or a
// state the section lacks) the section the control names through AC_GETFONTINDEX, or its
// parent's font colour when it names none; without a skin its own font colour. A disabled
// control's colour is mixed with its parent's background (DefBlendDisabled, 100 of 255).
fw::TColor GetFontColor(fw::TControl* control, int skinIndex, TsSkinManager* manager,
                        const TsCommonData* cd, int state);
constexpr int DefBlendDisabled = 100;

// The shared handling of window messages before the control's own; true when handled.
bool CommonWndProc(fw::TMessage& message, TsCommonData& cd);
// The default answers of every skinned control to the skin message; true when handled.
bool CommonMessage(fw::TMessage& message, TsCommonData& cd);
// Before a context-menu request (WM_CONTEXTMENU at screen point where, -1 from the keyboard)
// reaches control: the pop-up menus it may open (the windowless child's under the point, the
// control's own, its parents') draw through the manager's skinned menus while the manager is
// active with SkinnedPopups, also when they were made after the skin came.
void HookContextPopups(fw::TControl* control, win::LPARAM where, TsSkinManager* manager);

// The space between a control and its bound label (4 at 100 percent).
extern int acSpacing;

}  // namespace skin::core
