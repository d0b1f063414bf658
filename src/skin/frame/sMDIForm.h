// TsMDIForm: the companion the provider of an MDI parent form keeps while the form wears the
// skin. It wraps the form's MDI client window (TacMDIWnd), so that the client's background is
// the parent's picture and its bars are skinned, and it carries the commands of a maximised
// child's buttons shown on the parent's menu line.
#pragma once

#include <memory>

#include "framework/Form.h"
#include "platform/gfx/Bitmap.h"
#include "skin/core/acGlow.h"
#include "skin/frame/acSBUtils.h"

namespace skin::frame {

class TsSkinProvider;

class TsMDIForm {
 public:
  // Made by the parent's provider, which owns it; the form gets its window.
  explicit TsMDIForm(TsSkinProvider& provider);
  // The wrapper leaves the client window.
  ~TsMDIForm();
  TsMDIForm(const TsMDIForm&) = delete;
  TsMDIForm& operator=(const TsMDIForm&) = delete;

  // Wraps the client window unless the wrapper is there.
  void ConnectToClient();
  // A fresh wrapper while the provider is skinned; none otherwise.
  void RefreshMDIScrolls();
  // The wrapper goes.
  void DestroyScrolls();
  // The client window still wears this wrapper.
  bool Connected() const;
  // The parent's menu line is painted again (a child's icon or buttons changed).
  void UpdateMDIIconItem();
  // The commands of the maximised child's buttons: SC_CLOSE, SC_MINIMIZE and SC_RESTORE sent
  // to the active child.
  void CloseClick();
  void MinClick();
  void RestoreClick();

  fw::TCustomForm* Form() const { return FForm; }
  TsSkinProvider* SkinProvider() const { return FSkinProvider; }
  // The client window's wrapper, null when none.
  TacMDIWnd* ListSW() const;

 private:
  void SendToActiveChild(unsigned command);

  fw::TCustomForm* FForm;
  TsSkinProvider* FSkinProvider;
  std::unique_ptr<TacMainWnd> FListSW;
};

// The right end of an MDI parent's menu line (a maximised child's buttons) kept on the screen
// while the parent's menu loop runs: a borderless pop-up named "acMDIIcons", shown without
// activation over the line, that paints the same strip of the parent's picture. Like a glow it
// lets the mouse through (to the line) and never takes activation; unlike one it is an owned,
// painted window, not a layered picture.
class TacMDIIcons : public core::TacGlowForm {
 public:
  static constexpr int kWidth = 60;
  explicit TacMDIIcons(TsSkinProvider& provider);
  std::string ClassName() const override { return "TacMDIIcons"; }
  // Its place on the screen for the parent as it stands: kWidth wide and SM_CYMENU + 3 high,
  // the right edge at the parent's right edge less the border, the top below the caption.
  static gfx::TRect PlaceFor(const TsSkinProvider& provider);
  // Placed (again) and shown, not activated, above the parent.
  void ShowOverLine();

 protected:
  void CreateParams(fw::TCreateParams& params) override;
  void WndProc(fw::TMessage& m) override;

 private:
  TsSkinProvider& FProvider;
};

}  // namespace skin::frame
