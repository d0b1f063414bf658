// The window half of section painting: a control asks its parent what lies behind it
// (AC_GETBG), turns the answer into the cache information the painting of skin/draw takes,
// and paints its section into its cache over that. The bitmap half is skin/draw/sGraphUtils.h.
#pragma once

#include <string_view>

#include "framework/Canvas.h"
#include "framework/Control.h"
#include "platform/gfx/Bitmap.h"
#include "platform/win/Types.h"
#include "skin/core/sCommonData.h"
#include "skin/draw/sAlphaGraph.h"
#include "skin/draw/sGraphUtils.h"

namespace skin::core {

using skin::draw::TacControlPaint;
using skin::draw::TCacheInfo;

// Asks the window for its background (AC_GETBG). A skinned window answers itself: true. An
// unskinned one is asked to paint itself into info.DrawDC (with pleaseDraw: its picture moved
// by -info.Offset, clipped to info.R moved by info.Offset), else it counts as a fill of the
// default manager's main colour (button face without an active skin); false either way.
bool GetBGInfo(TacBGInfo& info, win::HWND wnd, bool pleaseDraw);
// The same for a parent control (its window when it has one, else Perform). An unskinned
// control paints itself into info.DrawDC with pleaseDraw, else it counts as a fill of its
// answer to AC_GETCONTROLCOLOR (its own colour when that is 0). Always true but for no control.
bool GetBGInfo(TacBGInfo& info, fw::TControl* parent, bool pleaseDraw);
// A cache answer: the parent's bitmap at the offset, ready; otherwise not ready, with the
// colour as RGB and the border bands.
TCacheInfo BGInfoToCI(const TacBGInfo& info);

// What a control adds to its section when painted: its indexes, custom colour and tone.
TacControlPaint ControlPaintOf(const TsCommonData& cd);
// The state a control's picture shows: 1 when focused or hot (where it can be hot), else 0.
int ControlState(const TsCommonData& cd);

// Paints cd's control into r of itemBmp over the background parent gives (a cache answer is
// taken at the control's place in it, moved by offsetX, offsetY). False, with nothing
// painted, when the control is unskinned, there is no parent or the parent's picture is not
// ready.
bool PaintSkinControl(TsCommonData& cd, fw::TControl* parent, bool filling, int state,
                      const gfx::TRect& r, gfx::TPoint pP, gfx::Bitmap* itemBmp, bool updateCorners,
                      int offsetX = 0, int offsetY = 0);
// Brings the control's cache up to date for state: a clean cache of the control's size is
// kept; otherwise it is painted again and BGChanged cleared. When it cannot be painted the
// cache is emptied. True when the cache is ready.
bool UpdateCache(TsCommonData& cd, int state);

// A control that chooses how its disabled look is made from its enabled picture: a set of
// paint::dkBlended and paint::dkGrayed. Wrappers read it from the control they wrap.
class IacDisabledKind {
 public:
  virtual unsigned DisabledKind() const = 0;

 protected:
  ~IacDisabledKind() = default;
};
// The control's DisabledKind; dkBlended for a control without one.
unsigned DisabledKindOf(const fw::TControl* control);
// The disabled look over bmp, a picture of the whole control: kind's effect against what the
// control's parent shows at its place (its parent's colour when it shows no picture).
void PaintDisabledKind(gfx::Bitmap& bmp, fw::TControl& control, unsigned kind);

}  // namespace skin::core

namespace skin::core {

// Repairs the corners of the control's cache painted for state: pixels its border picture
// leaves transparent take what the parent shows there.
void UpdateCorners(TsCommonData& cd, int state, draw::TsCorners corners);

// A control's text in its section's font colours (state min(hot, 2)): with a custom font or
// unskinned, in the canvas's font (disabled: embossed in the button highlight and shadow
// colours). A hot control on the web-button section is underlined. A control of the
// button-like sections (menu item to button) with a parent takes the section its parent names
// for fonts, and the parent's font colour when that is none. With canGlow the state's glow
// goes into the control's cache first. The canvas's font and brush style are kept.
void WriteTextEx(fw::TCanvas& canvas, std::u16string_view text, bool enabled, const gfx::TRect& r,
                 unsigned flags, TsCommonData& cd, int hot, bool canGlow);
inline void acWriteTextEx(fw::TCanvas& canvas, std::u16string_view text, bool enabled,
                          const gfx::TRect& r, unsigned flags, TsCommonData& cd, int hot,
                          bool canGlow) {
  WriteTextEx(canvas, text, enabled, r, flags, cd, hot, canGlow);
}

// Excludes from dc's clipping the children of control that paint themselves: windowed ones,
// and windowless ones when the default manager leaves their pictures opaque
// (StdImgTransparency off); each at its bounds moved by (offsetX, offsetY).
void ExcludeControls(gfx::HDC dc, fw::TWinControl& control, int offsetX, int offsetY);

// The size of one picture of the system's check boxes (0 until GetCheckSize has run; the
// skin classes' registration runs it at start-up).
extern int FCheckWidth, FCheckHeight;
// Reads the system's check-box picture (OBM_CHECKBOXES, four across and three down) into
// FCheckWidth and FCheckHeight, and frees it.
void GetCheckSize();

}  // namespace skin::core
