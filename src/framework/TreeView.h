// TTreeView: a tree of text nodes with expand buttons, dotted lines, keyboard and mouse
// navigation, both scroll bars and hot tracking. TTreeNodes (Items) owns the nodes; TTreeNode
// is one node with its text, an integer data value and its children.
//
// Selection: setting Selected to another node raises OnChanging (which may refuse) and then
// OnChange at once; setting the node already selected raises nothing; clearing the selection,
// and removing the selected node (Clear), raise OnChange with no node. A mouse press selects
// the node under it before the release raises OnClick; a press on empty space only clicks.
//
// Sorting (SortType) never happens on insertion: only when the setting changes, or when the
// text of a node already in the tree changes (its siblings are then re-sorted).
//
// Between the first BeginUpdate and the last EndUpdate the window gets WM_SETREDRAW off and
// then on again, as the system's tree does, so a skin can hold its own painting meanwhile.
//
// Hooks for a skin: every message goes through WindowProc; the scroll bars are the window's
// own (WS_VSCROLL / WS_HSCROLL with scroll info) driven by WM_VSCROLL / WM_HSCROLL, including
// positions written into the scroll info before SB_THUMBTRACK; TVM_SETBKCOLOR and
// TVM_SETTEXTCOLOR set the colours; the custom-draw events run in stages (whole tree pre-paint,
// per item pre-paint, default drawing, per item post-paint, whole tree post-paint) with a
// canvas whose brush and font colours the default drawing then uses.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "framework/CustomControl.h"
#include "framework/ImageList.h"
#include "platform/gfx/Bitmap.h"

namespace fw {

class TTreeView;
class TTreeNodes;

// Tree-view messages (their usual numbers); colours are COLORREFs, -1 means the default.
constexpr UINT TVM_SETBKCOLOR = 0x1100 + 29;
constexpr UINT TVM_SETTEXTCOLOR = 0x1100 + 30;
constexpr UINT TVM_GETBKCOLOR = 0x1100 + 31;
constexpr UINT TVM_GETTEXTCOLOR = 0x1100 + 32;
constexpr UINT TVM_SETITEMHEIGHT = 0x1100 + 27;  // wParam: pixels; -1: from the font again
constexpr UINT TVM_GETITEMHEIGHT = 0x1100 + 28;

class TTreeNode {
 public:
  TTreeNode(const TTreeNode&) = delete;
  TTreeNode& operator=(const TTreeNode&) = delete;
  ~TTreeNode();

  const std::u16string& Text() const { return FText; }
  // Changes the text; with sorting by text the node's siblings are re-sorted.
  void SetText(const std::u16string& text);
  std::intptr_t Data() const { return FData; }
  void SetData(std::intptr_t data) { FData = data; }
  // The picture of the tree's Images shown before the text (-1, or an index the list lacks:
  // none).
  int ImageIndex() const { return FImageIndex; }
  void SetImageIndex(int index);
  // The text in the bold variant of the tree's font; its rectangle is as wide as that text.
  bool Bold() const { return FBold; }
  void SetBold(bool bold);

  // The parent node; null for a top-level node.
  TTreeNode* Parent() const;
  int Level() const;  // 0 for top-level nodes
  int Count() const { return int(FChildren.size()); }
  TTreeNode* Item(int index) const;  // a child; throws for a bad index
  int Index() const;                 // position among its siblings
  bool HasChildren() const { return !FChildren.empty(); }

  bool Expanded() const { return FExpanded; }
  // Expands or collapses this node only (raising OnExpanded / OnCollapsed when it changes).
  void SetExpanded(bool expanded);
  void Expand(bool recurse);
  void Collapse(bool recurse);

  bool Selected() const;
  // Position in depth-first order over the whole tree (cached by the tree).
  int AbsoluteIndex() const;
  // True while every ancestor is expanded, so that the node has a row.
  bool IsVisible() const;
  // The row of the node in client coordinates (textOnly: just its text), empty when the
  // node has no row.
  TRect DisplayRect(bool textOnly) const;
  // The next node in depth-first order, or null after the last.
  TTreeNode* GetNext() const;
  TTreeView* TreeView() const;

 private:
  friend class TTreeNodes;
  friend class TTreeView;
  template <class Visit>
  friend void WalkDepthFirst(const TTreeNode& root, Visit visit);
  explicit TTreeNode(TTreeNodes* owner) : FOwner(owner) {}

  TTreeNodes* FOwner;
  TTreeNode* FParent = nullptr;  // the hidden root for top-level nodes
  std::vector<std::unique_ptr<TTreeNode>> FChildren;
  std::u16string FText;
  std::intptr_t FData = 0;
  int FImageIndex = -1;
  bool FBold = false;
  bool FExpanded = false;
  int FAbsoluteIndex = -1;  // valid while the owner's index is
  int FTextWidth = -1;      // measured text width, -1: not yet
  int FRow = -1;            // row while the node is visible and the tree's rows are valid
};

class TTreeNodes {
 public:
  explicit TTreeNodes(TTreeView* owner);
  ~TTreeNodes();
  TTreeNodes(const TTreeNodes&) = delete;
  TTreeNodes& operator=(const TTreeNodes&) = delete;

  TTreeView* Owner() const { return FOwner; }
  int Count() const;  // nodes on all levels
  // The node at a position in depth-first order: top-level nodes in order, each followed by
  // all its descendants. Throws for a bad index.
  TTreeNode* Item(int index) const;
  TTreeNode* GetFirstNode() const;

  // A new last sibling of sibling (top level when sibling is null).
  TTreeNode* Add(TTreeNode* sibling, const std::u16string& text);
  TTreeNode* AddObject(TTreeNode* sibling, const std::u16string& text, std::intptr_t data);
  // A new last child of parent (top level when parent is null).
  TTreeNode* AddChild(TTreeNode* parent, const std::u16string& text);
  TTreeNode* AddChildObject(TTreeNode* parent, const std::u16string& text, std::intptr_t data);
  // Removes every node; a selection is cleared with OnChange reporting no node.
  void Clear();

  // Between BeginUpdate and the matching EndUpdate the tree neither repaints nor updates its
  // scroll bars; the last EndUpdate does both once.
  void BeginUpdate();
  void EndUpdate();
  bool Updating() const { return FUpdateCount > 0; }

 private:
  friend class TTreeNode;
  friend class TTreeView;
  TTreeNode* Insert(TTreeNode* parent, const std::u16string& text, std::intptr_t data);
  void Changed();  // structure changed: the index is stale, the tree relays out
  void BuildIndex() const;

  TTreeView* FOwner;
  std::unique_ptr<TTreeNode> FRoot;  // hidden; its children are the top-level nodes
  int FUpdateCount = 0;
  int FCount = 0;
  mutable std::vector<TTreeNode*> FIndex;  // depth-first order
  mutable bool FIndexValid = true;
};

enum class TSortType { stNone, stData, stText, stBoth };

// Paint stages of the custom-draw events.
enum class TCustomDrawStage { cdPrePaint, cdPostPaint, cdPreErase, cdPostErase };
// States of a drawn item (a set).
enum TCustomDrawStateFlag : unsigned {
  cdsSelected = 1,
  cdsGrayed = 2,
  cdsDisabled = 4,
  cdsChecked = 8,
  cdsFocused = 16,
  cdsDefault = 32,
  cdsHot = 64,
  cdsMarked = 128,
  cdsIndeterminate = 256,
};
using TCustomDrawState = unsigned;

using TTVChangedEvent = std::function<void(TComponent* sender, TTreeNode* node)>;
using TTVChangingEvent =
    std::function<void(TComponent* sender, TTreeNode* node, bool& allowChange)>;
using TTVExpandedEvent = std::function<void(TComponent* sender, TTreeNode* node)>;
using TTVCustomDrawEvent =
    std::function<void(TCustomControl* sender, const TRect& rect, bool& defaultDraw)>;
using TTVCustomDrawItemEvent = std::function<void(TCustomControl* sender, TTreeNode* node,
                                                  TCustomDrawState state, bool& defaultDraw)>;
using TTVAdvancedCustomDrawEvent = std::function<void(TCustomControl* sender, const TRect& rect,
                                                      TCustomDrawStage stage, bool& defaultDraw)>;
using TTVAdvancedCustomDrawItemEvent =
    std::function<void(TCustomControl* sender, TTreeNode* node, TCustomDrawState state,
                       TCustomDrawStage stage, bool& paintImages, bool& defaultDraw)>;

class TTreeView : public TCustomControl {
 public:
  explicit TTreeView(TComponent* owner);
  ~TTreeView() override;
  std::string ClassName() const override { return "TTreeView"; }

  TTreeNodes& Items() { return *FItems; }
  const TTreeNodes& Items() const { return *FItems; }

  TTreeNode* Selected() const { return FSelected; }
  // Selects node (its collapsed ancestors are expanded and it is scrolled into view), or
  // clears the selection with nullptr.
  void SetSelected(TTreeNode* node);
  void FullExpand();
  void FullCollapse();
  // The node whose row contains a client point (anywhere on the row), or null.
  TTreeNode* GetNodeAt(int x, int y);
  // The node under the mouse while HotTrack is on, or null.
  TTreeNode* HotNode() const { return FHotNode; }
  // First row shown and the horizontal scroll offset in pixels.
  int TopRow() const { return FTopRow; }
  int ScrollX() const { return FScrollX; }
  int ItemHeight();
  // Rows of the expanded nodes, top to bottom.
  int RowCount() const;
  // Scrolls so that node's row is fully shown (it must be visible).
  void MakeVisible(TTreeNode* node);

  bool ShowButtons() const { return FShowButtons; }
  void SetShowButtons(bool v) { SetOption(FShowButtons, v); }
  bool ShowLines() const { return FShowLines; }
  void SetShowLines(bool v) { SetOption(FShowLines, v); }
  bool ShowRoot() const { return FShowRoot; }
  void SetShowRoot(bool v) { SetOption(FShowRoot, v); }
  bool HotTrack() const { return FHotTrack; }
  void SetHotTrack(bool v);
  bool ReadOnly() const { return FReadOnly; }  // nodes are never edited in place
  void SetReadOnly(bool v) { FReadOnly = v; }
  bool RowSelect() const { return FRowSelect; }
  void SetRowSelect(bool v) { SetOption(FRowSelect, v); }
  bool HideSelection() const { return FHideSelection; }
  void SetHideSelection(bool v) { SetOption(FHideSelection, v); }
  // Selecting a node by hand expands it and collapses the branch left.
  bool AutoExpand() const { return FAutoExpand; }
  void SetAutoExpand(bool v) { FAutoExpand = v; }
  int Indent() const { return FIndent; }
  void SetIndent(int indent);
  // The +/- box: 2 * (ButtonSize() / 2) + 1 pixels square (odd, its sign in the middle); it
  // grows with the control's scale.
  int ButtonSize() const { return FButtonSize; }
  // The indent and the +/- box scale with the rest.
  void ChangeScale(int m, int d) override;
  TSortType SortType() const { return FSortType; }
  // Sorts every level now when the new setting sorts.
  void SetSortType(TSortType type);
  // A right click selects the node under it (on release over the node pressed).
  bool RightClickSelect() const { return FRightClickSelect; }
  void SetRightClickSelect(bool v) { FRightClickSelect = v; }
  // Row height in pixels; 0 or less: measured from the font again (TVM_SETITEMHEIGHT).
  void SetItemHeight(int height);
  // The node pictures: with a list, every row keeps a cell of the list's width + 5 pixels
  // before its text (the picture 2 pixels into it, centred on the row), shown or empty.
  TImageList* Images() const { return FImages.List(); }
  void SetImages(TImageList* images);
  // The cell's width (0 without a list).
  int ImageCellWidth() const { return Images() ? Images()->Width() + 5 : 0; }
  // The colours a skin sets (TVM_SETBKCOLOR / TVM_SETTEXTCOLOR); clNone: Color / Font.Color.
  TColor BackgroundColor() const;
  TColor TextColor() const;

  TTVChangedEvent OnChange;
  TTVChangingEvent OnChanging;
  TTVExpandedEvent OnExpanded;
  TTVExpandedEvent OnCollapsed;
  TTVCustomDrawEvent OnCustomDraw;
  TTVCustomDrawItemEvent OnCustomDrawItem;
  TTVAdvancedCustomDrawEvent OnAdvancedCustomDraw;
  TTVAdvancedCustomDrawItemEvent OnAdvancedCustomDrawItem;

 protected:
  // Whether the custom-draw events are raised for the paint under way (always, here; a skin
  // holds them while it updates).
  virtual bool IsCustomDrawn() const { return true; }
  void CreateParams(TCreateParams& params) override;
  void CreateWnd() override;
  void WndProc(TMessage& m) override;
  void Paint() override;
  void EraseBackground(HDC dc) override;
  void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
  void MouseUp(TMouseButton button, TShiftState shift, int x, int y) override;
  void MouseMove(TShiftState shift, int x, int y) override;
  void MouseLeave() override;
  void KeyDown(win::WORD& key, TShiftState shift) override;
  void KeyPress(char16_t& key) override;
  bool WantsKey(win::WORD key) const override;
  bool DoMouseWheel(TShiftState shift, int wheelDelta, TPoint mousePos) override;
  void FontChanged() override;
  void ColorChanged() override;
  void Notification(TComponent* component, TOperation operation) override;

 private:
  friend class TTreeNode;
  friend class TTreeNodes;
  enum class THit { Nowhere, Indent, Button, Text, Right };

  void SetOption(bool& field, bool value);
  // Selection by the user (mouse, keys): AutoExpand applies.
  void SelectByUser(TTreeNode* node);
  void StructureChanged();  // nodes added or removed, expansion changed
  void NodeAdded(TTreeNode* node);
  void NodeRemoved(TTreeNode* node);
  void ExpansionChanged(TTreeNode* node);
  void SortChildren(TTreeNode* parent, bool recurse);
  const std::vector<TTreeNode*>& Rows() const;
  int RowOf(const TTreeNode* node) const;  // -1 without a row
  int TextLeft(const TTreeNode* node) const;
  // Where the node's row starts past its lines and button: its picture cell, else its text.
  int ItemLeft(const TTreeNode* node) const;
  int TextWidth(TTreeNode* node);
  TRect TextRectOf(TTreeNode* node, int row);
  THit HitTestAt(int x, int y, TTreeNode** node);
  int VisibleRows();  // rows fully shown
  int ContentWidth();
  void UpdateScrollBars();
  void ScrollTo(int topRow, int scrollX);
  void Scroll(int bar, win::WPARAM wParam);
  void MoveSelection(int rows);
  void SetHotNode(TTreeNode* node);
  void PaintItem(TTreeNode* node, int row, const TRect& client);
  void PaintLines(TTreeNode* node, int row);
  void PaintImage(TTreeNode* node, int row);
  void PaintButton(TTreeNode* node, int row);

  std::unique_ptr<TTreeNodes> FItems;
  TTreeNode* FSelected = nullptr;
  TTreeNode* FHotNode = nullptr;
  mutable std::vector<TTreeNode*> FRows;
  mutable bool FRowsValid = true;
  mutable int FContentWidth = -1;  // widest row, -1: to be measured once the rows are built
  int FTopRow = 0;
  int FScrollX = 0;
  int FItemHeight = 0;            // 0: measure from the font
  bool FFixedItemHeight = false;  // set by TVM_SETITEMHEIGHT
  int FIndent = 19;
  int FButtonSize = 9;
  TScaledValue FIndentScale, FButtonScale;
  bool FShowButtons = true;
  bool FShowLines = true;
  bool FShowRoot = true;
  bool FHotTrack = false;
  bool FReadOnly = false;
  bool FRowSelect = false;
  bool FHideSelection = true;
  bool FAutoExpand = false;
  bool FRightClickSelect = false;
  TTreeNode* FRightPressed = nullptr;  // node under a right press, for RightClickSelect
  bool FUpdatingScrollBars = false;
  TSortType FSortType = TSortType::stNone;
  gfx::COLORREF FBkColor = gfx::COLORREF(-1);
  gfx::COLORREF FTextColor = gfx::COLORREF(-1);
  gfx::Bitmap FMeasureBitmap{1, 1};  // text is measured on it outside painting
  TImageListLink FImages{*this, [this] { StructureChanged(); }};
};

}  // namespace fw
