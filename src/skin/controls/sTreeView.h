// TsTreeView: the tree view painting its rows from the skin. The platform tree draws lines,
// buttons and text as usual; at each item's post-paint stage the skin paints the item again
// over it: the selected (or hot) item from the "SELECTION" section, others on the control's
// own background, the text in the section's colours, a focus frame where the skin has no
// selection section, disabled items blended toward the parent. A selected row of a row-select
// tree without lines is painted whole, with its expand mark (BArrayClosed / BArrayOpened).
//
// While the tree drags itself automatically (DragMode dmAutomatic, the mouse held), the node
// under the mouse is the one shown selected, in the focused look (FLastHoverItem).
//
// While redrawing is off (WM_SETREDRAW 0, as the tree's BeginUpdate sends) the tree only
// validates its paints; the skin's commands scale the item height (AC_SETSCALE) and take the
// section's colour (AC_REFRESH).
#pragma once

#include "skin/controls/sSkinnedControl.h"

namespace skin::controls {

class TsTreeView : public TsListSWControl<fw::TTreeView, "TsTreeView", sc::COC_TsTreeView,
                                          FixedSection<sd::ssEdit>, skin::frame::TacTreeViewWnd> {
  using Skinned = TsListSWControl<fw::TTreeView, "TsTreeView", sc::COC_TsTreeView,
                                  FixedSection<sd::ssEdit>, skin::frame::TacTreeViewWnd>;

 public:
  explicit TsTreeView(fw::TComponent* owner);
  ~TsTreeView() override;
  void Loaded() override;

  // Installs SkinCustomDrawItem as the advanced item handler; an application handler found
  // there is kept in FOldDrawItem and still called first.
  virtual void InitEvents();
  // The advanced item handler the skin paints through (see the top of this file).
  void SkinCustomDrawItem(fw::TCustomControl* sender, fw::TTreeNode* node,
                          fw::TCustomDrawState state, fw::TCustomDrawStage stage, bool& paintImages,
                          bool& defaultDraw);
  // The node right-clicked while RightClickSelect is on, shown selected until the next hit
  // test; null when none.
  fw::TTreeNode* RightNode() const { return FRightNode; }
  // The node under the mouse during the tree's own automatic drag, else null.
  fw::TTreeNode* LastHoverItem() const { return FLastHoverItem; }
  // Takes node as the drag's hover node, repainting when it changes.
  void UpdateLastHoverNode(fw::TTreeNode* node);

 protected:
  // No custom drawing while the skin data is updating.
  bool IsCustomDrawn() const override;
  // The drag's hover node follows the mouse over the tree, and goes when the drag ends.
  void DragOver(fw::TControl* source, int x, int y, fw::TDragState state, bool& accept) override;
  void DoEndDrag(fw::TControl* target, int x, int y) override;

 private:
  struct TSkinDrawItem;  // the installed handler, recognised by its type
  void TreeWndProc(fw::TMessage& m, const fw::TWndNext& next);
  void PaintItemSkinned(fw::TTreeNode* node, fw::TCustomDrawState state);
  void RepaintNode(fw::TTreeNode* node);
  // Gives the tree's background the control's colour (the hot colour under the mouse).
  void SyncBackground();
  // The tree drags itself automatically and holds the mouse.
  bool AutoDragging();

  fw::TTVAdvancedCustomDrawItemEvent FOldDrawItem;
  fw::TTreeNode* FRightNode = nullptr;
  fw::TTreeNode* FLastHoverItem = nullptr;
  fw::TWndHookId FTreeHook = 0;
};

}  // namespace skin::controls
