// The skinned group box: the framework group box painted from the GROUPBOX section (or the
// section set) below the middle of its caption, with the parent's picture above it. The
// caption band holds an optional check box, an optional picture of an image list and the text, over
// the section CaptionSkin names (else the parent's picture). The check box is hot under the mouse,
// pressed while the left button is held on it, and toggles when the button is let go over it; its
// changes fade.
#pragma once

#include <string>

#include "framework/ImageList.h"
#include "framework/Panel.h"
#include "skin/controls/sSkinnedControl.h"

namespace skin::controls {

// Where the caption stands on the top edge.
enum class TsGroupCaptionLayout { clTopLeft, clTopCenter, clTopRight };

// Margins round a group box's caption.
struct TsMargin {
  int Top = 0, Left = 0, Right = 0, Bottom = 0;
  bool operator==(const TsMargin&) const = default;
};

class TsGroupBox : public TsCachedControl<fw::TGroupBox, "TsGroupBox", skin::core::COC_TsGroupBox,
                                          FixedSection<skin::data::ssGroupBox>> {
  using Skinned = TsCachedControl<fw::TGroupBox, "TsGroupBox", skin::core::COC_TsGroupBox,
                                  FixedSection<skin::data::ssGroupBox>>;

 public:
  explicit TsGroupBox(fw::TComponent* owner);
  ~TsGroupBox() override;

  // Index 0: CaptionYOffset; 1: ImageIndex. An unchanged value does nothing; a change repaints.
  virtual void SetInteger(int index, int value);
  // Index 0: CheckBoxVisible; 1: Checked.
  virtual void SetBoolean(int index, bool value);
  // Raises OnCheckBoxChanged.
  virtual void CheckBoxChanged();

  bool Checked() const { return FChecked; }
  void SetChecked(bool value) { SetBoolean(1, value); }
  bool CheckBoxVisible() const { return FCheckBoxVisible; }
  void SetCheckBoxVisible(bool value) { SetBoolean(0, value); }
  // Moves the caption and the client area down (up when negative); 0 by default.
  int CaptionYOffset() const { return FCaptionYOffset; }
  void SetCaptionYOffset(int value) { SetInteger(0, value); }
  // The caption's picture: Images[ImageIndex] between the check box and the text (none for -1
  // or an index the list lacks). A change of the list repaints the box.
  int ImageIndex() const { return FImageIndex; }
  void SetImageIndex(int value) { SetInteger(1, value); }
  fw::TImageList* Images() const { return FImages.List(); }
  void SetImages(fw::TImageList* images);
  const TsMargin& CaptionMargin() const { return FCaptionMargin; }
  void SetCaptionMargin(const TsMargin& value);
  // The section behind the caption; empty: the parent's picture shows.
  const std::string& CaptionSkin() const { return FCaptionSkin; }
  void SetCaptionSkin(const std::string& value);
  // A fixed caption width; 0: measured.
  int CaptionWidth() const { return FCaptionWidth; }
  void SetCaptionWidth(int value);
  TsGroupCaptionLayout CaptionLayout() const { return FCaptionLayout; }
  void SetCaptionLayout(TsGroupCaptionLayout value);
  fw::TNotifyEvent OnCheckBoxChanged;

  // Lays the caption out (the rectangles below) for the font and size now.
  void InitPaintData();
  // Rebuilds the cache; false (marked updating) while the parent's picture is not ready.
  bool PrepareCache();

  bool CheckHot = false, CheckPressed = false;
  gfx::TRect TopRect, TextRect, GlyphRect, CheckBoxRect, CaptionRect;
  int TextIndex = -1;
  int CaptionHeight = 0;

 protected:
  void AlignControls(gfx::TRect& rect) override;
  void SkinPaint(gfx::HDC dc) override;
  void Notification(fw::TComponent* component, fw::TOperation operation) override;

 private:
  void GroupBoxProc(fw::TMessage& m, const fw::TWndNext& next);
  // Paints the caption's background, check box and text into the cache.
  void PaintCaptionArea(const skin::core::TacBGInfo& parentBG, int state);
  // The check box's size for the state now (0 without its picture).
  gfx::TSize CheckSize() const;
  // The state of the caption: 2 pressed, 1 hot (or focused), 0 normal.
  int CaptionState() const;
  // Hot and pressed changed: the caption fades to the new look (pressed: at once).
  void CaptionChanged();
  bool OverCheck(int x, int y) const;
  bool HasGlyph() const;

  bool FChecked = false;
  bool FCheckBoxVisible = false;
  int FImageIndex = -1;
  int FCaptionYOffset = 0;
  TsMargin FCaptionMargin;
  std::string FCaptionSkin;
  int FCaptionWidth = 0;
  TsGroupCaptionLayout FCaptionLayout = TsGroupCaptionLayout::clTopLeft;
  int FTextHeight = 0;
  fw::TWndHookId FHook = 0;
  fw::TImageListLink FImages{*this, [this] { SkinData().Invalidate(); }};
};

}  // namespace skin::controls
