// Glow windows: a section's glow image shown around a control in a layered pop-up of its own,
// faded in and out with the control's state. Glow windows (and the caption-button fade
// windows, TacSBAnimation) are bare pop-ups that are layered, transparent to the mouse and
// never activated: they never take the hover or the focus from the windows under them.
#pragma once

#include <memory>
#include <string_view>
#include <vector>

#include "framework/CustomControl.h"
#include "platform/gfx/Bitmap.h"
#include "platform/win/Types.h"
#include "skin/core/sCommonData.h"

namespace skin::core {

// The borderless layered pop-up of a glow or a caption fade. With TransparentMouse (the
// default) it answers every hit test with HTTRANSPARENT and is WS_EX_TRANSPARENT, so the
// mouse reaches what lies under it; it is WS_EX_NOACTIVATE and refuses activation by click.
class TacGlowForm : public fw::TCustomControl {
 public:
  // topmost: a topmost pop-up (over a topmost window).
  explicit TacGlowForm(bool topmost = false);
  std::string ClassName() const override { return "TacGlowForm"; }
  bool TransparentMouse = true;
  // Puts picture (straight alpha; premultiplied here) on screen at screen point at, with the
  // constant opacity alpha, just above the window above, and shows it without activation.
  void ShowPicture(const gfx::Bitmap& picture, gfx::TPoint at, int alpha, win::HWND above);
  // The whole window's opacity, the picture kept.
  void SetAlpha(int alpha);

 protected:
  void CreateParams(fw::TCreateParams& params) override;
  void WndProc(fw::TMessage& m) override;

 private:
  bool FTopmost;
  gfx::Bitmap FPicture;  // premultiplied
};

// One shown glow.
struct TacGlowEffect {
  std::unique_ptr<TacGlowForm> Wnd;
  TsCommonData* SkinData = nullptr;
  int MaskIndex = -1;  // the glow image
  int Margin = 0;
  std::unique_ptr<gfx::Bitmap> AlphaBmp;  // its picture
};

// Every glow shown, by id. A freed glow leaves an empty place: ids are never reused, so an id
// kept after its glow went never names another.
std::vector<std::unique_ptr<TacGlowEffect>>& acgEffects();

// Shows the glow image name + "0" of section skinSection (empty: the control's section)
// around realRect (screen coordinates) at opacity alpha, above window wnd; answers its id, -1
// when nothing is shown (no skin data, the mouse captured, no such image).
int ShowGlow(const gfx::TRect& realRect, std::string_view skinSection, std::string_view name,
             int margin, int alpha, win::HWND wnd, TsCommonData* skinData);
// The same with the glow image's index.
int ShowGlow(const gfx::TRect& realRect, int maskIndex, int margin, int alpha, win::HWND wnd,
             TsCommonData* skinData);
// Hides glow id and sets it to -1. With doAnimation (animations allowed, the application
// running, and the control's timer free or a glow timer) it fades out first and id stays until
// the window goes at the fade's end.
void HideGlow(int& id, bool doAnimation);
void SetGlowAlpha(int id, int alpha);
// Destroys every glow window (skin changes, shutdown), or, given skin data, every glow shown
// for it (the data going); the data's GlowID becomes -1.
void ClearGlows(const TsCommonData* of = nullptr);
// Shows the control's glow at opacity alpha when the manager allows glowing, none is shown and
// its section has one (GLOW above 0: the image "GLOW0", GLOWMARGIN its margin).
void ShowGlowingIfNeeded(TsCommonData& data, int alpha);

}  // namespace skin::core
