#include "skin/controls/sTreeView.h"

#include <algorithm>

#include "framework/DragDrop.h"
#include "platform/gfx/DeviceContext.h"
#include "platform/win/Input.h"
#include "platform/win/MessageQueue.h"
#include "platform/win/Messages.h"
#include "platform/win/Paint.h"
#include "platform/win/Window.h"
#include "skin/core/sGraphUtils.h"
#include "skin/draw/sGraphUtils.h"
#include "skin/draw/sSkinText.h"
#include "skin/paint/sGraphUtils.h"

namespace skin::controls {

namespace {

constexpr unsigned kTextFlags =
    gfx::DT_SINGLELINE | gfx::DT_VCENTER | gfx::DT_NOPREFIX | gfx::DT_NOCLIP;

}  // namespace

struct TsTreeView::TSkinDrawItem {
  TsTreeView* tree;
  void operator()(fw::TCustomControl* sender, fw::TTreeNode* node, fw::TCustomDrawState state,
                  fw::TCustomDrawStage stage, bool& paintImages, bool& defaultDraw) const {
    tree->SkinCustomDrawItem(sender, node, state, stage, paintImages, defaultDraw);
  }
};

TsTreeView::TsTreeView(fw::TComponent* owner) : Skinned(owner) {
  FTreeHook = this->HookWindowProc(
      [this](fw::TMessage& m, const fw::TWndNext& next) { TreeWndProc(m, next); });
  InitEvents();
}

TsTreeView::~TsTreeView() {
  Destroying();
  FRightNode = nullptr;
  UnhookWindowProc(FTreeHook);
}

void TsTreeView::Loaded() {
  Skinned::Loaded();
  InitEvents();
}

void TsTreeView::InitEvents() {
  if (OnAdvancedCustomDrawItem && OnAdvancedCustomDrawItem.target<TSkinDrawItem>()) return;
  FOldDrawItem = std::move(OnAdvancedCustomDrawItem);
  OnAdvancedCustomDrawItem = TSkinDrawItem{this};
}

bool TsTreeView::IsCustomDrawn() const {
  return SkinData().FUpdateCount <= 0;
}

void TsTreeView::SkinCustomDrawItem(fw::TCustomControl* sender, fw::TTreeNode* node,
                                    fw::TCustomDrawState state, fw::TCustomDrawStage stage,
                                    bool& paintImages, bool& defaultDraw) {
  if (!node || !defaultDraw) return;
  if (!SkinData().Skinned()) {
    if (FOldDrawItem) FOldDrawItem(sender, node, state, stage, paintImages, defaultDraw);
    return;
  }
  if (stage == fw::TCustomDrawStage::cdPrePaint) {
    // The platform's own selection is painted over at the post-paint stage: it is drawn in
    // the control's colours, so no plain highlight shows around the skinned item.
    Canvas().BrushColor = BackgroundColor();
    Canvas().Font.SetColor(TextColor());
  }
  if (FOldDrawItem) FOldDrawItem(sender, node, state, stage, paintImages, defaultDraw);
  if (stage == fw::TCustomDrawStage::cdPostPaint && defaultDraw) PaintItemSkinned(node, state);
}

void TsTreeView::PaintItemSkinned(fw::TTreeNode* node, fw::TCustomDrawState state) {
  using namespace fw;
  TCanvas& canvas = Canvas();
  HDC target = canvas.Handle();
  const sc::TsCommonData& cd = SkinData();
  const TsSkinManager* manager = cd.SkinManager();
  const sd::TacSkinModel* model = manager ? manager->SkinModel() : nullptr;
  if (!target || !model) return;

  const bool focused = Focused();
  const bool shown = focused || !HideSelection();
  // During the tree's own drag the node under the mouse stands for the selection.
  const bool dragging = AutoDragging();
  const bool dragTarget = dragging && node == FLastHoverItem;
  const bool selected = dragging ? dragTarget
                                 : (shown && (node == Selected() || (state & cdsSelected) ||
                                              (HotTrack() && (state & cdsHot)))) ||
                                       node == FRightNode;
  const bool hot = HotTrack() && (state & cdsHot) && node != Selected();

  const TRect client = ClientRect();
  TRect textRect = node->DisplayRect(true);
  if (textRect.IsEmpty() || textRect.Right <= 0 || textRect.Left >= client.Right ||
      textRect.Bottom <= 0 || textRect.Top >= client.Bottom)
    return;
  const bool rowBmp = RowSelect() && !ShowLines() && selected;
  // With hot tracking or row selection the node's picture is painted again with its item.
  TImageList* images = Images();
  const bool withImage = images && (HotTrack() || RowSelect());
  const int imageCell = images ? ImageCellWidth() : 0;
  TRect r = rowBmp ? TRect{client.Left, textRect.Top, client.Right, textRect.Bottom} : textRect;
  if (withImage && !rowBmp) r.Left -= imageCell;
  if (r.Width() <= 0 || r.Height() <= 0) return;

  // The item's ground: the control's own picture where its section is set, else its colour.
  gfx::Bitmap ground(r.Width(), r.Height());
  const gfx::Bitmap* cache = cd.CacheBmp();
  // The picture spans the window: the client lies inside the frame.
  win::RECT window{};
  win::GetWindowRect(Handle(), &window);
  const TPoint screen = ClientToScreen({0, 0});
  const TPoint origin{screen.X - window.Left, screen.Y - window.Top};
  const TRect inCache{r.Left + origin.X, r.Top + origin.Y, r.Right + origin.X, r.Bottom + origin.Y};
  if (model->IsValidSkinIndex(cd.SkinIndex) && cache && cache->Width() == Width() &&
      cache->Height() == Height() && skin::draw::LiesInside(*cache, inCache)) {
    for (int y = 0; y < r.Height(); ++y)
      std::copy_n(cache->Row(inCache.Top + y) + inCache.Left, r.Width(), ground.Row(y));
  } else {
    skin::paint::FillRect32(ground, {0, 0, r.Width(), r.Height()}, ColorToRGB(BackgroundColor()),
                            255);
  }
  gfx::Bitmap bmp = ground;
  const TRect all{0, 0, r.Width(), r.Height()};
  const int selection = model->ConstData.Sections[sd::ssSelection];
  const bool hasSelection = model->IsValidSkinIndex(selection);
  if (selected) {
    if (hasSelection) {
      skin::draw::PaintItem(model, selection, skin::draw::MakeCacheInfo(&ground), true,
                            focused || dragTarget ? 1 : 0, all, {0, 0}, &bmp);
    } else {
      skin::paint::FillRect32(bmp, all, model->GetHighLightColor((state & cdsFocused) != 0), 255);
    }
    if (hot)
      skin::paint::BlendTransRectangle(bmp, 0, 0, ground, {0, 0, all.Right - 1, all.Bottom - 1},
                                       skin::paint::DefBlendDisabled, 0x00FF00FF);
  }

  const int textLeft = textRect.Left - r.Left;
  const int middle = r.Height() / 2;
  if (rowBmp && node->HasChildren())
    skin::paint::DrawAlphaMask9(
        bmp, textLeft - imageCell - 9, middle - 4,
        node->Expanded() ? skin::paint::BArrayOpened : skin::paint::BArrayClosed,
        model->GetHighLightFontColor(focused));

  gfx::DeviceContext dc(bmp);
  TCanvas c;
  c.SetHandle(&dc);
  c.Font.Assign(canvas.Font);
  c.BrushStyle = TBrushStyle::bsClear;
  TRect t{textLeft + 1, 1, textRect.Right - r.Left - 1, r.Height() - 1};
  if (selected && hasSelection) {
    const bool hotText =
        focused || (cd.FMouseAbove && model->gd[std::size_t(selection)].States > 1);
    skin::draw::WriteTextEx(c, node->Text(), true, t, kTextFlags, selection, hotText ? 1 : 0,
                            model);
  } else {
    if (selected) c.Font.SetColor(TColor(model->GetHighLightFontColor(focused)));
    c.TextRect(t, node->Text(), kTextFlags);
  }
  if (withImage && node->ImageIndex() >= 0 && node->ImageIndex() < images->Count())
    images->Draw(c, textLeft - imageCell + 2, (r.Height() - images->Height()) / 2,
                 node->ImageIndex());
  if (selected && focused && !hasSelection) {
    const TRect frame{textLeft, 0, textRect.Right - r.Left, r.Height()};
    skin::paint::FocusRect(&dc, frame, clNone, ColorToRGB(clBlack));
  }
  if (!Enabled())
    skin::paint::BlendColorRect(bmp, {0, 0, all.Right - 1, all.Bottom - 1},
                                skin::paint::DefBlendDisabled,
                                ColorToRGB(sc::GetControlColor(Parent())));
  c.SetHandle(nullptr);
  gfx::BitBlt(target, r.Left, r.Top, r.Width(), r.Height(), &dc, 0, 0, gfx::SRCCOPY);
}

bool TsTreeView::AutoDragging() {
  return DragMode() == fw::TDragMode::dmAutomatic && Dragging() && fw::TDragSession::Active() &&
         HandleAllocated() && win::GetCapture() == Handle();
}

void TsTreeView::UpdateLastHoverNode(fw::TTreeNode* node) {
  if (node == FLastHoverItem) return;
  FLastHoverItem = node;
  // The old node may be gone by now: the tree repaints whole.
  Invalidate();
}

void TsTreeView::DragOver(fw::TControl* source, int x, int y, fw::TDragState state, bool& accept) {
  Skinned::DragOver(source, x, y, state, accept);
  UpdateLastHoverNode(AutoDragging() && state != fw::TDragState::dsDragLeave ? GetNodeAt(x, y)
                                                                             : nullptr);
}

void TsTreeView::DoEndDrag(fw::TControl* target, int x, int y) {
  UpdateLastHoverNode(nullptr);
  Skinned::DoEndDrag(target, x, y);
}

void TsTreeView::RepaintNode(fw::TTreeNode* node) {
  if (!node || !HandleAllocated()) return;
  const fw::TRect r = node->DisplayRect(false);
  if (r.IsEmpty()) return;
  win::InvalidateRect(Handle(), &r, false);
}

void TsTreeView::SyncBackground() {
  const sc::TsCommonData& cd = SkinData();
  if (!cd.Skinned() || cd.CustomColor() || !HandleAllocated()) return;
  const auto color = win::LPARAM(fw::ColorToRGB(Color()));
  if (win::SendMessageW(Handle(), fw::TVM_GETBKCOLOR, 0, 0) == color) return;
  win::SendMessageW(Handle(), fw::TVM_SETBKCOLOR, 0, color);
}

void TsTreeView::TreeWndProc(fw::TMessage& m, const fw::TWndNext& next) {
  using namespace win;
  sc::TsCommonData& cd = SkinData();
  if (m.Msg == sc::SM_ALPHACMD) {
    const UINT cmd = sc::WParamHi(m.WParam);
    if (cmd == sc::AC_SETSCALE) {
      // The rows follow the scale: the height now times new over old.
      const int oldScale = cd.ScalePercent, newScale = int(m.LParam);
      if (oldScale > 0 && newScale > 0 && newScale != oldScale)
        SetItemHeight(
            std::max(1, int((std::int64_t(ItemHeight()) * newScale + oldScale / 2) / oldScale)));
      next(m);
      return;
    }
    next(m);
    if (cmd == sc::AC_REFRESH && cd.Skinned() && !HasState(fw::csLoading)) {
      if (!cd.CustomColor()) SetColor(sc::GetBGColor(cd, 0));
      SyncBackground();
    } else if (cmd == sc::AC_REMOVESKIN) {
      FRightNode = nullptr;
    }
    return;
  }
  const bool skinned = cd.Skinned();
  switch (m.Msg) {
    case WM_SETREDRAW:
      if (skinned) {
        cd.FUpdating = m.WParam == 0;
        next(m);
        if (!cd.FUpdating) Invalidate();
        return;
      }
      break;
    case WM_PAINT:
      if (skinned && cd.FUpdating) {
        ValidateRect(Handle(), nullptr);
        m.Result = 0;
        return;
      }
      break;
    case WM_ERASEBKGND:
    case WM_NCPAINT:
      if (skinned && cd.FUpdating) {
        m.Result = 1;
        return;
      }
      break;
    case WM_MOVE:
    case fw::CM_VISIBLECHANGED:
    case fw::CM_ENABLEDCHANGED:
      if (skinned) cd.BGChanged = true;
      break;
    case WM_RBUTTONDOWN:
      if (RightClickSelect()) {
        fw::TTreeNode* node = GetNodeAt(GET_X_LPARAM(m.LParam), GET_Y_LPARAM(m.LParam));
        if (node && node != Selected()) {
          FRightNode = node;
          RepaintNode(Selected());
          RepaintNode(node);
        }
      }
      break;
    case WM_NCHITTEST:
      // The node may be gone by now: the whole tree repaints.
      if (FRightNode) {
        FRightNode = nullptr;
        Invalidate();
      }
      break;
    case fw::CM_MOUSEENTER:
    case fw::CM_MOUSELEAVE:
      next(m);
      SyncBackground();
      return;
    default:
      break;
  }
  next(m);
}

}  // namespace skin::controls
