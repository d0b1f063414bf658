// TPanel: a container with raised or lowered bevels and an optional caption. Its children are
// aligned inside the border and bevels.
#pragma once

#include "framework/CustomControl.h"
#include "framework/Label.h"

namespace fw {

enum class TBevelCut { bvNone, bvLowered, bvRaised, bvSpace };

class TPanel : public TCustomControl {
 public:
  explicit TPanel(TComponent* owner);
  std::string ClassName() const override { return "TPanel"; }

  TBevelCut BevelOuter() const { return FBevelOuter; }
  void SetBevelOuter(TBevelCut cut);
  TBevelCut BevelInner() const { return FBevelInner; }
  void SetBevelInner(TBevelCut cut);
  int BevelWidth() const { return FBevelWidth; }
  void SetBevelWidth(int width);
  // Space between the outer and inner bevel.
  int BorderWidth() const { return FBorderWidth; }
  void SetBorderWidth(int width);
  TAlignment Alignment() const { return FAlignment; }
  void SetAlignment(TAlignment alignment);
  // Top, bottom, or centred (the default: one line in the middle).
  TVerticalAlignment VerticalAlignment() const { return FVerticalAlignment; }
  void SetVerticalAlignment(TVerticalAlignment alignment);
  // Whether the caption is drawn (true by default).
  bool ShowCaption() const { return FShowCaption; }
  void SetShowCaption(bool show);
  // The room the bevels and border take on each side.
  int FrameWidth() const;

 protected:
  void Paint() override;
  void AlignControls(TRect& rect) override;
  void TextChanged() override { Invalidate(); }

 private:
  void FrameChanged();

  TBevelCut FBevelOuter = TBevelCut::bvRaised;
  TBevelCut FBevelInner = TBevelCut::bvNone;
  int FBevelWidth = 1;
  int FBorderWidth = 0;
  TAlignment FAlignment = TAlignment::taCenter;
  TVerticalAlignment FVerticalAlignment = TVerticalAlignment::taVerticalCenter;
  bool FShowCaption = true;
};

// TGroupBox: a container framed by an etched line with its caption set into the top edge.
class TGroupBox : public TCustomControl {
 public:
  explicit TGroupBox(TComponent* owner);
  std::string ClassName() const override { return "TGroupBox"; }

  // Width of the box's bevel edge in pixels (1 by default, at least 1); a skinned box keeps
  // its caption at least this wide on each side.
  int BevelWidth() const { return FBevelWidth; }
  void SetBevelWidth(int width);

 protected:
  void Paint() override;
  void AlignControls(TRect& rect) override;
  void TextChanged() override { Invalidate(); }

 private:
  int CaptionHeight();

  int FBevelWidth = 1;
};

}  // namespace fw
