// TacBorderForm: the extended border of a skinned form. A layered window behind the form shows
// the provider's whole picture (the skin's larger title, borders and the drop shadow) with
// per-pixel alpha; the form itself is cut to its client area, which shows through a hole in
// the border window. The border window answers the hit tests of the frame it shows and passes
// the mouse on its caption, buttons and sizing bands to the form.
#pragma once

#include <memory>

#include "platform/gfx/Region.h"
#include "platform/win/Types.h"
#include "skin/core/acGlow.h"

namespace skin::frame {

class TsSkinProvider;

class TacBorderForm {
 public:
  explicit TacBorderForm(TsSkinProvider& owner);
  ~TacBorderForm();
  TacBorderForm(const TacBorderForm&) = delete;
  TacBorderForm& operator=(const TacBorderForm&) = delete;

  // Makes the layered window (hidden until placed).
  void CreateNewForm();
  // Puts the window right behind the form at the form's position less (OffsetX, OffsetY).
  // With redraw (or a new size) the picture is renewed from the provider's cache at opacity
  // blend; else only the position changes.
  void UpdateExBordersPos(bool redraw = true, int blend = 255);
  // The border window's region for a picture of width x height: all of it but the hole over
  // the form's client area.
  gfx::Region MakeRgn(int width, int height) const;
  void UpdateRgn();
  // The hit code at a screen point over the border window: a sizing band, the caption (2),
  // the icon (3), a caption button or user button; -1 where the frame does not answer (the
  // shadow, the client hole, the border) and for a disabled form.
  int Ex_WMNCHitTest(gfx::TPoint screen) const;
  // Where the form's window lies inside the picture.
  int OffsetX() const;
  int OffsetY() const;
  // The layered window, null before CreateNewForm.
  core::TacGlowForm* AForm() const;
  // A press on the caption of the maximised form waits for the mouse to move away (more than
  // 5 pixels across or 6 down) before the form is restored under it and moved.
  bool MaxMoving = false;
  gfx::TPoint LastMousePos;

 private:
  class TacBorderWindow;
  TsSkinProvider& sp;
  std::unique_ptr<TacBorderWindow> FWnd;
  bool ExBorderShowing = false;  // a placement runs; re-entry is refused
  int FLastWidth = 0, FLastHeight = 0;
};

}  // namespace skin::frame
