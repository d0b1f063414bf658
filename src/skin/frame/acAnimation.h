// Window animations: a skinned form appears, disappears, minimises and restores through a
// picture of itself shown in a separate layered window (the cover, a TacGlowForm) while the
// real window is kept invisible behind it. Frames come every 12 ms on the window system's
// clock (the virtual clock on a virtual desktop), from one picture taken at the start.
//
// The form's provider decides when an animation starts and gives what only it knows: the
// form's picture, its alpha-blend setting and what runs afterwards. Everything here works on
// the form's window and its section data.
#pragma once

#include <functional>
#include <memory>
#include <vector>

#include "platform/gfx/Bitmap.h"
#include "platform/win/Types.h"
#include "skin/core/acGlow.h"
#include "skin/core/acThdTimer.h"
#include "skin/core/sCommonData.h"
#include "skin/core/sSkinManager.h"

namespace skin::frame {

using core::TacAnimType;

// The period of every window animation's frames, in milliseconds.
constexpr int acAnimPeriod = 12;
// Frames of a run lasting time milliseconds.
constexpr int AnimFrameCount(int time) {
  return time / acAnimPeriod;
}
// Set while a show animation runs.
extern bool acAnimatingShow;

// ---- Pictures and covers ------------------------------------------------------------------------

// The transparent corner rectangles of window wnd (window coordinates) for its section: the
// key-coloured corners of the section's "BORDERSMASK" at the four corners and, for a window
// with a caption, the top corners of the "FORMTITLE" section's one. Empty without a skin.
std::vector<gfx::TRect> CoverCornerRects(win::HWND wnd, const core::TsCommonData& sd);
// The window's current image (its whole window), alpha 255. Empty for a stale window.
gfx::Bitmap WindowImage(win::HWND wnd);
// WindowImage with those corners cleared (alpha and colour 0).
gfx::Bitmap WindowPicture(win::HWND wnd, const core::TsCommonData& sd);
// A borderless cover at the window's screen rectangle showing WindowPicture at opacity 255,
// topmost and not activated. Null for a stale window.
std::unique_ptr<core::TacGlowForm> MakeCoverForm(win::HWND wnd, const core::TsCommonData& sd);
// Takes WS_EX_LAYERED off wnd, asking again while the window keeps it (a procedure may refuse
// the change), at most acLayeredRetries times; false when the window is gone or still layered.
constexpr int acLayeredRetries = 8;
bool DropLayeredStyle(win::HWND wnd);
// Makes wnd layered (when it is not) at constant opacity alpha.
void MakeLayered(win::HWND wnd, int alpha);
// The opacity a form ends an animation with: alphaBlendValue when alphaBlend, else opaque and
// not layered.
void SetFinalOpacity(win::HWND wnd, bool alphaBlend, int alphaBlendValue);

// ---- Frame geometry
// -------------------------------------------------------------------------------

// The frames of one show or hide run over a W x H picture: the current opacity and the
// rectangle the picture is drawn into.
class TacFrameRun {
 public:
  // Showing: opacity from 0 up to top (MaxTransparency); hiding: from top (StartBlendValue)
  // down to 0. frames >= 1.
  TacFrameRun(bool showing, TacAnimType type, int width, int height, int frames, int top);
  // Moves to the next frame; false when the run ended before it (a drop-down rolled up or
  // unrolled to under 2 pixels).
  bool Next();
  // Draws the current frame of picture into frame (cleared to black first, sized like picture).
  void Draw(const gfx::Bitmap& picture, gfx::Bitmap& frame) const;
  // The opacity the current frame is shown at.
  int Opacity() const;
  gfx::TRect Rect() const;

 private:
  bool FShowing;
  TacAnimType FType;
  int FWidth, FHeight, FTop;
  double Trans = 0, p = 0, dx = 0, dy = 0, l = 0, t = 0, r = 0, b = 0;
  bool FDrawn = false;  // a show run's frame is drawn before the rectangle widens
};

// ---- Showing
// ----------------------------------------------------------------------------------------

// Shows window wnd, kept hidden until now, through a cover with picture (the form's
// complete picture at its window rectangle; the provider paints it): Time div 12 frames of mode
// type up to opacity maxTransparency, waiting 12 ms from each frame's start on the window
// system's clock, then the real window is shown under the cover (in its window state), gets
// opacity alphaBlendValue when alphaBlend, else loses its layered style, is redrawn, and the
// cover goes. With 0 frames the cover is swapped for the window at once. Nothing for a minimised
// or stale window or data without a skin (false). afterAnimation runs at the end.
bool AnimShowForm(win::HWND wnd, core::TsCommonData& sd, const gfx::Bitmap& picture, int time,
                  int maxTransparency, TacAnimType type, bool alphaBlend = false,
                  int alphaBlendValue = 255, const std::function<void()>& afterAnimation = {});

// ---- Hiding
// ------------------------------------------------------------------------------------------

// The one timer of hide animations; it outlives the hidden form and keeps the cover until
// its last frame. Owned by the application (made on first use, freed with it).
class TacHideTimer : public core::TacThreadedTimer {
 public:
  explicit TacHideTimer(fw::TComponent* owner);
  ~TacHideTimer() override;
  std::string ClassName() const override { return "TacHideTimer"; }
  // One frame; after the last one the cover and the picture go and the event runs.
  void TimeHandler() override;
  // Frees a running run's cover at once (its event runs).
  void Finish();

  win::HWND ParentWnd = nullptr;  // the hidden form's window
  std::unique_ptr<core::TacGlowForm> Form;
  gfx::TSize FBmpSize;
  gfx::TPoint FBmpTopLeft;
  int StartBlendValue = 255;
  int StepCount = 0;
  TacAnimType AnimType = core::atFading;
  bool EventCalled = true;
  std::unique_ptr<gfx::Bitmap> SrcBmp, DstBmp;
  std::unique_ptr<TacFrameRun> Run;
  std::function<void()> OnAfterAnimation;
};
// The application's hide timer, null before the first hide animation (or without an
// application).
TacHideTimer* HideTimer();

// Runs the hide animation of cover showing srcBmp: aTime div 12 frames of mode animType from
// opacity startBlendValue down, on the hide timer, the first frame at once; the cover is placed
// above parentWnd. With 0 frames cover and picture go at once and nothing else happens.
// afterAnimation runs once at the end of a run (also when it is cut short); the run outlives
// the hidden form, so it must not refer to the form or its provider.
void HideAnimForm(std::unique_ptr<core::TacGlowForm> cover, std::unique_ptr<gfx::Bitmap> srcBmp,
                  int aTime, int startBlendValue, TacAnimType animType, win::HWND parentWnd,
                  std::function<void()> afterAnimation = {});
// Replaces window wnd, which is closing, by its cover and fades that out with the manager's
// FormHide settings: the window is made layered at opacity 1 while the cover comes, then gets
// its own layering back (alphaBlendValue when alphaBlend, else none).
void AnimHideForm(win::HWND wnd, core::TsCommonData& sd, bool alphaBlend = false,
                  int alphaBlendValue = 255, std::function<void()> afterAnimation = {});
// The same with the settings hide (a dialog's DialogHide).
void AnimHideWindow(win::HWND wnd, core::TsCommonData& sd, const core::TacFormAnimation& hide,
                    bool alphaBlend = false, int alphaBlendValue = 255,
                    std::function<void()> afterAnimation = {});

// ---- Minimising and restoring ------------------------------------------------------------------

// Taskbar sides (TBPosition).
constexpr unsigned acTBLeft = 1, acTBTop = 2, acTBRight = 4, acTBBottom = 8;
// Where a window centred at from flies to beside a taskbar with rectangle taskbar: a point on
// the taskbar's inner edge (side set to the taskbar's side); without a taskbar the empty
// rectangle at (0, 0) (side 0).
gfx::TRect MinimizeTarget(const win::RECT* taskbar, gfx::TPoint from, unsigned& side);

// The minimise and restore animation of one form, made on its first minimise and kept
// until the form goes.
class TacMinTimer : public core::TacThreadedTimer {
 public:
  // The form's window, its section data and its extended-border window (null when none).
  TacMinTimer(win::HWND form, core::TsCommonData* sd, win::HWND borderForm = nullptr);
  ~TacMinTimer() override;
  std::string ClassName() const override { return "TacMinTimer"; }
  // Takes the start: rectangles, target, steps and opacity (StepCount = max(1, Time div 12)).
  void InitData();
  void TimeHandler() override;
  // The target again after a change of the work area; the current rectangle moves onto it.
  void UpdateDstRect(const win::RECT* taskbar = nullptr);

  double CurrentAlpha = 0, BlendStep = 0, CurRight = 0, CurLeft = 0, CurTop = 0, CurBottom = 0;
  int StepCount = 1, XFrom = 0, YFrom = 0, XTo = 0, YTo = 0;
  double DeltaX = 0, DeltaY = 0, DeltaW = 0, DeltaH = 0;
  int AlphaOrigin = 255, AlphaTo = 0;
  gfx::TRect RectFrom, RectTo;
  unsigned TBPosition = 0;
  std::unique_ptr<core::TacGlowForm> AnimForm;
  core::TsCommonData* sd;
  win::HWND FormHandle, BorderForm;
  std::unique_ptr<gfx::Bitmap> SavedImage, AlphaBmp;
  bool Minimized = false, Restoring = false, WasZoomed = false;
  // The form's alpha-blend setting, for the opacity it gets back.
  bool AlphaBlend = false;
  int AlphaBlendValue = 255;
  // Run at the end of a minimise (the provider clears its hot element) and of a restore.
  std::function<void()> OnMinimized, OnRestored;

 private:
  void Step(int direction);
  void FinishMinimizing();
  void FinishRestoring();
  void Stop();
};

// Starts minimising the form of timer (made into timer when missing): the picture is saved,
// the window made layered at opacity 0 and the cover flies toward the taskbar. Only when the
// manager's Minimizing is active and its animations allowed; true when it started.
bool StartMinimizing(std::unique_ptr<TacMinTimer>& timer, win::HWND form, core::TsCommonData& sd,
                     win::HWND borderForm = nullptr);
// Starts the way back of a minimised form; true when it started.
bool StartRestoring(TacMinTimer* timer);

}  // namespace skin::frame
