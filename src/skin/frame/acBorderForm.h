// TacBorderForm: the extended border of a skinned form. A layered window behind the form shows
// the provider's whole picture (the skin's larger title, borders and the drop shadow) with
// per-pixel alpha; the form itself is cut to its client area, which shows through a hole in
// the border window. The border window answers the hit tests of the frame it shows and passes
// the mouse on its caption, buttons and sizing bands to the form. Skinned native dialogs wear
// the same border: the owner is anything that paints such a picture (TacBorderOwner).
#pragma once

#include <initializer_list>
#include <cstdint>
#include <memory>
#include <vector>

#include "platform/gfx/Bitmap.h"
#include "platform/gfx/Region.h"
#include "platform/win/Types.h"
#include "skin/core/acGlow.h"

namespace skin::data {
class TacSkinModel;
}

namespace skin::frame {

// The geometry of an extended frame: the window's own frame (its system border and caption)
// and the skin's larger one (ExBorderWidth, ExTitleHeight) inside the shadow margins. The
// skin's title holds the top border.
struct TacExFrame {
  int SysBorder = 0, SysCaption = 0;
  int Border = 0, Caption = 0;
  gfx::TRect Shadow;
  // Where the window's top-left pixel lies in the picture.
  gfx::TPoint WindowOffset() const {
    return {Border + Shadow.Left - SysBorder, Shadow.Top + Caption - SysBorder - SysCaption};
  }
  // Where the client area starts in the picture.
  gfx::TPoint ClientOffset() const { return {Border + Shadow.Left, Caption + Shadow.Top}; }
  // The picture's size for a window of the given size.
  int Width(int windowWidth) const {
    return windowWidth + 2 * (Border - SysBorder) + Shadow.Left + Shadow.Right;
  }
  int Height(int windowHeight) const {
    return windowHeight + (Caption - SysCaption - SysBorder) + (Border - SysBorder) + Shadow.Top +
           Shadow.Bottom;
  }
};

// What wears an extended border: a skinned form's provider or a skinned native dialog.
class TacBorderOwner {
 public:
  virtual ~TacBorderOwner() = default;
  // The real window (null when it has none) and whether it takes input.
  virtual win::HWND ExOwnerWindow() const = 0;
  virtual bool ExOwnerEnabled() const = 0;
  virtual TacExFrame ExFrame() const = 0;
  // The owner's picture painted when stale (false when it cannot be), and the picture.
  virtual bool ExPaint() = 0;
  virtual const gfx::Bitmap* ExPicture() const = 0;
  // The part of the picture the real window shows (its client area and menu line).
  virtual gfx::TRect ExClientRect() const = 0;
  // The hit code at a screen point: HTNOWHERE outside the frame, HTCLIENT where the frame
  // answers nothing of its own.
  virtual int ExHitTest(gfx::TPoint screen) const = 0;
  // A double click on an edge (see TsSkinProvider::StretchByEdge); false when not handled.
  virtual bool ExStretchByEdge(int /*hitCode*/) { return false; }
  // A drag of the maximised owner's caption restores it under the mouse.
  virtual void ExMoveMaximized(gfx::TPoint /*mouse*/) {}
};

// Mode 1 ("BORDERMODE" 1): the skin's "EXBORDER" item holds the frame itself.
bool ExModeOne(const data::TacSkinModel& model);
// The manager's shadow template for the state, nine-sliced over the picture with its centre
// left out (see TsSkinProvider::PaintShadow).
void PaintExShadow(const data::TacSkinModel& model, bool active, const TacExFrame& frame,
                   gfx::Bitmap& picture);
// The frame's key-coloured corner pixels (as large as the corners of the sections' borders)
// take the shadow's pixels.
void ShowShadowInCorners(const data::TacSkinModel& model, std::initializer_list<int> sections,
                         const gfx::TRect& shadowSize, gfx::Bitmap& picture,
                         const gfx::Bitmap& shadow);

// Text drawn through a device context leaves alpha 0 where it draws, as the system's does: on
// the layered border the caption would let whatever lies behind show through. The guard keeps
// the alpha of an area of the picture as it was before (nothing when not active).
class TacKeepAlpha {
 public:
  TacKeepAlpha(gfx::Bitmap& picture, const gfx::TRect& area, bool active);
  ~TacKeepAlpha();
  TacKeepAlpha(const TacKeepAlpha&) = delete;
  TacKeepAlpha& operator=(const TacKeepAlpha&) = delete;

 private:
  gfx::Bitmap& FPicture;
  gfx::TRect FArea;
  std::vector<std::uint8_t> FAlpha;
};

class TacBorderForm {
 public:
  explicit TacBorderForm(TacBorderOwner& owner);
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
  TacBorderOwner& sp;
  std::unique_ptr<TacBorderWindow> FWnd;
  bool ExBorderShowing = false;  // a placement runs; re-entry is refused
  int FLastWidth = 0, FLastHeight = 0;
};

}  // namespace skin::frame
