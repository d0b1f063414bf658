// The title bar: a component on a form whose items (buttons, menu buttons, tabs, spacers and
// info texts) are laid out in the free strip of the skinned caption. The form's provider gives
// the strip (between the icon and the caption buttons), paints each item into its picture of
// the frame with PaintTitleItem, answers hit tests with ItemAt (2000 + index) and passes the
// mouse on to the items. Layout, hit testing and painting use the same item rectangles, made
// by CalcSizes.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "framework/Component.h"
#include "framework/Control.h"
#include "framework/Font.h"
#include "framework/ImageList.h"
#include "framework/Label.h"
#include "platform/gfx/Bitmap.h"
#include "skin/core/acSBAnimation.h"
#include "skin/core/sSkinManager.h"
#include "skin/data/acSkinModel.h"

namespace skin::frame {

// What an item is.
enum TacBtnStyle { bsButton, bsMenu, bsTab, bsSpacing, bsInfo };
// Where an item goes in the strip: from the left end, from the right end, centred on the
// whole strip, or centred in the space the left and right items leave.
enum TacItemAlign { tbaLeft, tbaRight, tbaCenter, tbaCenterInSpace };

// The first hit code of title-bar items: item i answers acHTItem + i.
constexpr int acHTItem = 2000;

// An item's font: the system caption font, with the parts not taken from the system from Font.
struct TacFontData {
  fw::TFont Font;
  int GlowSize = 0;
  fw::TColor GlowColor = fw::clWhite;
  bool UseSysColor = true;     // the section's font colour, not Font's
  bool UseSysFontName = true;  // the caption font's face, not Font's
  bool UseSysGlowing = true;   // the section's glow, not GlowSize / GlowColor
  bool UseSysSize = true;      // the caption font's height (scaled), not Font's
  bool UseSysStyle = true;     // the caption font's style, not Font's
};

class TsTitleBar;
class TacTitleBarItem;

// The fade of an item's state change: TacSBAnimation's window over the item's rectangle,
// with the item's own picture (OnInternalDraw), or an opaque yellow placeholder without one.
class TacItemAnimation : public core::TacSBAnimation {
 public:
  TacItemAnimation(win::HWND formHandle, win::HWND borderForm, core::TsCommonData* skinData,
                   TacTitleBarItem& item, int maxIterations);
  bool Prepare(int state) override;

 private:
  TacTitleBarItem& FItem;
};

class TacTitleBarItem {
 public:
  TacTitleBarItem(TsTitleBar& bar, int index);
  ~TacTitleBarItem();
  TacTitleBarItem(const TacTitleBarItem&) = delete;
  TacTitleBarItem& operator=(const TacTitleBarItem&) = delete;

  TsTitleBar& Bar() const { return FBar; }
  int Index() const { return FIndex; }

  // Properties (with their defaults).
  std::string Name = "TacTitleBarItem";
  std::u16string Caption, Hint;
  bool ShowHint = false;
  TacBtnStyle Style = bsButton;
  TacItemAlign Align = tbaLeft;
  fw::TAlignment Alignment = fw::TAlignment::taLeftJustify;  // of the text inside the item
  int Width = 22, Height = 18;                               // recomputed when AutoSize
  bool AutoSize = true;
  int Spacing = 4;  // between the image and the caption
  gfx::Bitmap Glyph;
  int NumGlyphs = 1;  // frames side by side in Glyph
  int ImageIndex = -1, HotImageIndex = -1, PressedImageIndex = -1, DisabledImageIndex = -1;
  bool Enabled = true, Visible = true;
  bool Down = false;   // a tab's toggle state
  int GroupIndex = 0;  // tabs of one group (>= 0) exclude each other
  // The pop-up menu a button or menu item drops (the framework has no pop-up menus yet: an
  // item only keeps it and sizes its drop-down arrow).
  fw::TComponent* DropdownMenu = nullptr;
  std::string SkinSection;  // empty: the style's default section
  TacFontData FontData;
  fw::TCursor Cursor = fw::crDefault;
  int Tag = 0;

  using TItemEvent = std::function<void(TacTitleBarItem&)>;
  using TItemMouseEvent = std::function<void(TacTitleBarItem&, fw::TMouseButton)>;
  // Draws over the item's painted picture: the picture, the item's rectangle in it.
  using TItemDrawEvent = std::function<void(TacTitleBarItem&, gfx::Bitmap&, const gfx::TRect&)>;
  TItemEvent OnClick, OnMouseEnter, OnMouseLeave, OnChanged;
  TItemMouseEvent OnMouseDown, OnMouseUp;
  TItemDrawEvent OnDrawItem, OnInternalDraw;

  // Run-time state.
  int FState = 0;  // 0 normal, 1 hot
  bool FPressed = false, FDroppedDown = false;
  gfx::TSize FContentSize;
  gfx::TRect Rect;             // in the strip's (the caption picture's) coordinates
  int SkinIndex = -1;          // the section in use, -1 none
  core::TsCaptionButton Data;  // its hot/pressed state and fade (Data.cpTimer) for the frame

  // 2 while dropped down or down, else FState.
  int GetState() const { return FDroppedDown || Down ? 2 : FState; }
  void SetState(int state);
  // 4 for menu items, else 0: extra room on each side.
  int IntXMargin() const { return Style == bsMenu ? 4 : 0; }
  // The font the caption is drawn in (InitFont's rules), for the manager's scale.
  fw::TFont InitFont() const;
  // Content size (image and caption), and unless contentOnly the item's size.
  void UpdateSize(bool contentOnly = false);
  // Width, height and font by newPercent / oldPercent.
  void ScaleItem(int newPercent, int oldPercent);
  // Mouse handling (the provider calls these for hit code acHTItem + index).
  void DoMouseDown(fw::TMouseButton button = fw::TMouseButton::mbLeft);
  void DoMouseUp(fw::TMouseButton button = fw::TMouseButton::mbLeft);
  void DoClick();
  // Tells the bar (and OnChanged) that the item must be laid out and painted again.
  void Invalidate();

 private:
  TsTitleBar& FBar;
  int FIndex;
};

// The items of a title bar in their order; an item's index is its place.
class TacTitleItems {
 public:
  explicit TacTitleItems(TsTitleBar& bar) : FBar(bar) {}
  int Count() const { return int(FItems.size()); }
  TacTitleBarItem& operator[](int i) const { return *FItems.at(std::size_t(i)); }
  // A new item with the defaults, at the end.
  TacTitleBarItem& Add();
  // Every item goes (a hot one leaves first).
  void Clear();
  auto begin() const { return FItems.begin(); }
  auto end() const { return FItems.end(); }

 private:
  TsTitleBar& FBar;
  std::vector<std::unique_ptr<TacTitleBarItem>> FItems;
};

// The title bar of a form; the form owns it.
class TsTitleBar : public fw::TComponent {
 public:
  // Raises "TsTitleBar component may be used with forms only!" for an owner that is not a form.
  explicit TsTitleBar(fw::TComponent* owner);
  ~TsTitleBar() override;
  std::string ClassName() const override { return "TsTitleBar"; }

  TacTitleItems& Items() { return FItems; }
  const TacTitleItems& Items() const { return FItems; }

  fw::TImageList* Images = nullptr;  // borrowed
  int ItemsMargin = 3;               // inside each item, around its content
  int ItemsSpacing = 0;              // between items
  int RightSpacing = 0;              // kept free at the right end
  bool ShowCaption = false;          // the form's caption is drawn while the bar is linked
  // The manager whose skin and scale the items follow (null: the default manager).
  core::TsSkinManager* SkinManager = nullptr;
  core::TsSkinManager* Manager() const;

  // Sums of the widths of the visible items aligned left and right (RightWidth starts at
  // RightSpacing), after CalcSizes.
  int LeftWidth() const { return FLeftWidth; }
  int RightWidth() const { return FRightWidth; }

  // Lays the visible items out in barRect (sizes brought up to date first): fullRight is the
  // strip's right end before the buttons, vCenter the caption's centre line; a right-to-left
  // form lays them out in reverse with the left and right alignments swapped.
  void CalcSizes(const gfx::TRect& barRect, int fullRight, int vCenter, bool rightToLeft);
  // The visible item under p (the strip's coordinates), -1 when none.
  int ItemAt(gfx::TPoint p) const;
  // Every item's size again, then OnChange.
  void Invalidate();
  // The items for a new scale (percent), from OldScaleValue.
  void UpdateScale(int newPercent);
  // The item under the mouse (the frame's hot element acHTItem + index), -1 for none: the
  // previous one turns normal (OnMouseLeave), the new one hot (OnMouseEnter). Answers the
  // cursor to show: the hot item's Cursor, else crDefault.
  fw::TCursor SetHotItem(int index);
  int HotItem() const { return FHotItem; }
  // A tab of group g became down: the other visible tabs of the group are raised.
  void RaiseGroup(const TacTitleBarItem& tab);
  // The frame's cue to lay out and paint again.
  std::function<void()> OnChange;

  // The picture of menu items without a section: three frames (normal, hot, pressed).
  const gfx::Bitmap& DefaultMenuBtn() const { return FDefaultMenuBtn; }

  int FCenterWidth = 0, FCenterWidthS = 0, FFullRight = 0, FBarVCenter = 0;
  gfx::TRect FBarRect, FCaptionRect;
  int OldScaleValue = 100;
  bool FUpdating = false;

  void Notification(fw::TComponent* component, fw::TOperation operation) override;

 private:
  TacTitleItems FItems{*this};
  int FLeftWidth = 0, FRightWidth = 0;
  int FHotItem = -1;
  gfx::Bitmap FDefaultMenuBtn;
};

// What the frame knows when an item is painted.
struct TacTitlePaintInfo {
  int TitleSkinIndex = -1;  // the title section: its font colour and glow for plain items
  bool FormActive = true;
  bool FormEnabled = true;
  int StripHeight = 0;  // the title strip's height (menu items and tabs stay 2 pixels inside)
  int StripTop = 0;     // its top in the picture
};
// Paints item into r of bmp (the frame's picture, whose pixels there are the background).
void PaintTitleItem(TacTitleBarItem& item, const gfx::TRect& r, gfx::Bitmap& bmp,
                    const TacTitlePaintInfo& info);
// Starts or redirects the fade of item's state change on the form's window (see
// StartSBAnimation); the item's rectangle is placed at offset in the form window.
void StartItemAnimation(TacTitleBarItem& item, int state, int iterations, bool toUp,
                        win::HWND formHandle, win::HWND borderForm, core::TsCommonData* skinData,
                        gfx::TPoint offset = {});

}  // namespace skin::frame
