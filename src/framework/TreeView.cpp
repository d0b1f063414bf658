#include "framework/TreeView.h"

#include <algorithm>

#include "framework/Exception.h"
#include "framework/TextConv.h"
#include "platform/win/Input.h"
#include "platform/win/Keys.h"
#include "platform/win/MessageQueue.h"
#include "platform/win/Messages.h"
#include "platform/win/Paint.h"
#include "platform/win/ScrollInfo.h"
#include "platform/win/Styles.h"
#include "platform/win/SystemMetrics.h"
#include "platform/win/Window.h"

namespace fw {

using namespace win;

namespace {

constexpr int kTextPad = 2;     // between the text and the edge of its highlight
constexpr int kWheelLines = 3;  // rows per wheel notch
constexpr TColor kLineColor = clGray;
constexpr TColor kHotColor = 0xCC6600;  // RGB(0, 102, 204): hot-tracked text

// Case-insensitive order of texts for sorting: Latin and Cyrillic letters fold to upper case.
char16_t Fold(char16_t c) {
  if (c >= u'a' && c <= u'z') return char16_t(c - 32);
  if (c >= u'\u0430' && c <= u'\u044F') return char16_t(c - 32);
  if (c >= u'\u0450' && c <= u'\u045F') return char16_t(c - 80);
  return c;
}

int CompareText(const std::u16string& a, const std::u16string& b) {
  std::size_t n = std::min(a.size(), b.size());
  for (std::size_t i = 0; i < n; ++i) {
    char16_t x = Fold(a[i]), y = Fold(b[i]);
    if (x != y) return x < y ? -1 : 1;
  }
  if (a.size() != b.size()) return a.size() < b.size() ? -1 : 1;
  return 0;
}

bool IsAncestor(const TTreeNode* ancestor, const TTreeNode* node) {
  for (const TTreeNode* p = node ? node->Parent() : nullptr; p; p = p->Parent())
    if (p == ancestor) return true;
  return false;
}

// Gives a bar range 0..max, page and position, unless it has them already and is shown or
// hidden accordingly: an unchanged bar needs no frame repaint, which every node added to a
// long tree would otherwise cost.
void SetBar(HWND h, int bar, int max, UINT page, int pos) {
  // What the bar keeps of these: the page at most the range, the position within the range
  // less the page.
  const std::int64_t kept = std::min<std::int64_t>(page, std::int64_t(max) + 1);
  const std::int64_t last = std::max<std::int64_t>(max - std::max<std::int64_t>(kept - 1, 0), 0);
  const std::int64_t keptPos = std::clamp<std::int64_t>(pos, 0, last);
  const bool scrolls = kept == 0 ? max > 0 : kept <= max;
  const LONG_PTR bit = bar == SB_VERT ? WS_VSCROLL : WS_HSCROLL;
  const bool shown = (GetWindowLongPtrW(h, GWL_STYLE) & bit) != 0;
  SCROLLINFO now;
  now.fMask = SIF_RANGE | SIF_PAGE | SIF_POS;
  if (GetScrollInfo(h, bar, &now) && now.nMin == 0 && now.nMax == max && now.nPage == kept &&
      now.nPos == keptPos && shown == scrolls)
    return;
  SCROLLINFO si;
  si.fMask = SIF_RANGE | SIF_PAGE | SIF_POS;
  si.nMin = 0;
  si.nMax = max;
  si.nPage = page;
  si.nPos = pos;
  SetScrollInfo(h, bar, si, true);
}

}  // namespace

// Visits the nodes below root in depth-first order; visit answers whether to descend into a
// node. Iterative, so that deep trees cannot exhaust the stack.
template <class Visit>
void WalkDepthFirst(const TTreeNode& root, Visit visit) {
  std::vector<std::pair<const TTreeNode*, std::size_t>> stack{{&root, 0}};
  while (!stack.empty()) {
    auto& [node, next] = stack.back();
    if (next == node->FChildren.size()) {
      stack.pop_back();
      continue;
    }
    TTreeNode* child = node->FChildren[next++].get();
    if (visit(child)) stack.push_back({child, 0});
  }
}

// ---- TTreeNode ----

TTreeNode::~TTreeNode() = default;

TTreeNode* TTreeNode::Parent() const {
  return FParent == FOwner->FRoot.get() ? nullptr : FParent;
}

int TTreeNode::Level() const {
  int level = 0;
  for (TTreeNode* p = Parent(); p; p = p->Parent()) ++level;
  return level;
}

TTreeNode* TTreeNode::Item(int index) const {
  if (index < 0 || index >= Count())
    throw Exception(u"Tree node index out of bounds (" + Utf8ToUtf16(std::to_string(index)) + u")");
  return FChildren[std::size_t(index)].get();
}

int TTreeNode::Index() const {
  if (!FParent) return -1;
  const auto& s = FParent->FChildren;
  for (std::size_t i = 0; i < s.size(); ++i)
    if (s[i].get() == this) return int(i);
  return -1;
}

void TTreeNode::SetText(const std::u16string& text) {
  if (text == FText) return;
  FText = text;
  FTextWidth = -1;
  TTreeView* tree = TreeView();
  if (tree->FSortType == TSortType::stText || tree->FSortType == TSortType::stBoth)
    tree->SortChildren(FParent, false);
  tree->StructureChanged();
}

void TTreeNode::SetImageIndex(int index) {
  if (index == FImageIndex) return;
  FImageIndex = index;
  TTreeView* tree = TreeView();
  if (tree->HandleAllocated() && !FOwner->Updating()) {
    const TRect r = DisplayRect(false);
    if (!r.IsEmpty()) InvalidateRect(tree->Handle(), &r, false);
  }
}

void TTreeNode::SetBold(bool bold) {
  if (bold == FBold) return;
  FBold = bold;
  FTextWidth = -1;
  TreeView()->StructureChanged();
}

void TTreeNode::SetExpanded(bool expanded) {
  if (expanded == FExpanded) return;
  FExpanded = expanded;
  TreeView()->ExpansionChanged(this);
}

void TTreeNode::Expand(bool recurse) {
  SetExpanded(true);
  if (recurse)
    for (std::size_t i = 0; i < FChildren.size(); ++i) FChildren[i]->Expand(true);
}

void TTreeNode::Collapse(bool recurse) {
  if (recurse)
    for (std::size_t i = 0; i < FChildren.size(); ++i) FChildren[i]->Collapse(true);
  SetExpanded(false);
}

bool TTreeNode::Selected() const {
  return TreeView()->Selected() == this;
}

int TTreeNode::AbsoluteIndex() const {
  FOwner->BuildIndex();
  return FAbsoluteIndex;
}

bool TTreeNode::IsVisible() const {
  for (TTreeNode* p = Parent(); p; p = p->Parent())
    if (!p->FExpanded) return false;
  return true;
}

TRect TTreeNode::DisplayRect(bool textOnly) const {
  TTreeView* tree = TreeView();
  int row = tree->RowOf(this);
  if (row < 0) return {0, 0, 0, 0};
  auto* self = const_cast<TTreeNode*>(this);
  if (textOnly) return tree->TextRectOf(self, row);
  int h = tree->ItemHeight();
  int top = (row - tree->FTopRow) * h;
  return {0, top, tree->ClientWidth(), top + h};
}

TTreeNode* TTreeNode::GetNext() const {
  if (!FChildren.empty()) return FChildren.front().get();
  for (const TTreeNode* n = this; n->FParent; n = n->FParent) {
    const auto& s = n->FParent->FChildren;
    int i = n->Index();
    if (i + 1 < int(s.size())) return s[std::size_t(i + 1)].get();
  }
  return nullptr;
}

TTreeView* TTreeNode::TreeView() const {
  return FOwner->FOwner;
}

// ---- TTreeNodes ----

TTreeNodes::TTreeNodes(TTreeView* owner) : FOwner(owner), FRoot(new TTreeNode(this)) {
  FRoot->FExpanded = true;
}

TTreeNodes::~TTreeNodes() = default;

int TTreeNodes::Count() const {
  return FCount;
}

void TTreeNodes::BuildIndex() const {
  if (FIndexValid) return;
  FIndex.clear();
  FIndex.reserve(std::size_t(FCount));
  WalkDepthFirst(*FRoot, [this](TTreeNode* n) {
    n->FAbsoluteIndex = int(FIndex.size());
    FIndex.push_back(n);
    return true;
  });
  FIndexValid = true;
}

TTreeNode* TTreeNodes::Item(int index) const {
  if (index < 0 || index >= FCount)
    throw Exception(u"Tree node index out of bounds (" + Utf8ToUtf16(std::to_string(index)) + u")");
  BuildIndex();
  return FIndex[std::size_t(index)];
}

TTreeNode* TTreeNodes::GetFirstNode() const {
  return FRoot->FChildren.empty() ? nullptr : FRoot->FChildren.front().get();
}

TTreeNode* TTreeNodes::Insert(TTreeNode* parent, const std::u16string& text, std::intptr_t data) {
  if (parent && parent->FOwner != this) throw Exception(u"The node belongs to another tree");
  TTreeNode* p = parent ? parent : FRoot.get();
  // Appending after the last node in depth-first order keeps the index valid.
  bool atEnd = FIndexValid;
  for (TTreeNode* n = p; atEnd && n != FRoot.get(); n = n->FParent)
    atEnd = n->FParent->FChildren.back().get() == n;
  auto node = std::unique_ptr<TTreeNode>(new TTreeNode(this));
  node->FParent = p;
  node->FText = text;
  node->FData = data;
  TTreeNode* result = node.get();
  p->FChildren.push_back(std::move(node));
  ++FCount;
  if (atEnd) {
    result->FAbsoluteIndex = int(FIndex.size());
    FIndex.push_back(result);
  } else {
    FIndexValid = false;
  }
  FOwner->NodeAdded(result);
  return result;
}

TTreeNode* TTreeNodes::Add(TTreeNode* sibling, const std::u16string& text) {
  return Insert(sibling ? sibling->Parent() : nullptr, text, 0);
}

TTreeNode* TTreeNodes::AddObject(TTreeNode* sibling, const std::u16string& text,
                                 std::intptr_t data) {
  return Insert(sibling ? sibling->Parent() : nullptr, text, data);
}

TTreeNode* TTreeNodes::AddChild(TTreeNode* parent, const std::u16string& text) {
  return Insert(parent, text, 0);
}

TTreeNode* TTreeNodes::AddChildObject(TTreeNode* parent, const std::u16string& text,
                                      std::intptr_t data) {
  return Insert(parent, text, data);
}

void TTreeNodes::Clear() {
  if (FRoot->FChildren.empty()) return;
  bool hadSelection = FOwner->FSelected != nullptr;
  FOwner->FSelected = nullptr;
  FOwner->FHotNode = nullptr;
  FOwner->FRightPressed = nullptr;
  // Taken out first, so that handlers see an empty tree while the nodes are freed.
  auto old = std::move(FRoot->FChildren);
  FRoot->FChildren.clear();
  FCount = 0;
  FIndex.clear();
  FIndexValid = true;
  FOwner->FTopRow = 0;
  FOwner->FScrollX = 0;
  FOwner->StructureChanged();
  old.clear();
  if (hadSelection && FOwner->OnChange) FOwner->OnChange(FOwner, nullptr);
}

void TTreeNodes::BeginUpdate() {
  if (FUpdateCount++ == 0 && FOwner->HandleAllocated())
    SendMessageW(FOwner->Handle(), WM_SETREDRAW, 0, 0);
}

void TTreeNodes::EndUpdate() {
  if (FUpdateCount == 0) return;
  if (--FUpdateCount > 0) return;
  if (FOwner->HandleAllocated()) SendMessageW(FOwner->Handle(), WM_SETREDRAW, 1, 0);
  FOwner->StructureChanged();
}

// ---- TTreeView ----

TTreeView::TTreeView(TComponent* owner)
    : TCustomControl(owner), FItems(std::make_unique<TTreeNodes>(this)) {
  SetColor(clWindow);
  SetTabStop(true);
  SetBounds(0, 0, 121, 97);
  ControlStyle |= csOpaque | csDoubleClicks;
}

TTreeView::~TTreeView() {
  // The nodes go first: nothing may reach the tree through them while it is being destroyed.
  FSelected = nullptr;
  FHotNode = nullptr;
  FRightPressed = nullptr;
  FItems.reset();
}

void TTreeView::CreateParams(TCreateParams& params) {
  TCustomControl::CreateParams(params);
  params.ExStyle |= WS_EX_CLIENTEDGE;
}

void TTreeView::CreateWnd() {
  TCustomControl::CreateWnd();
  UpdateScrollBars();
}

void TTreeView::SetOption(bool& field, bool value) {
  if (field == value) return;
  field = value;
  StructureChanged();
}

void TTreeView::SetHotTrack(bool v) {
  if (v == FHotTrack) return;
  FHotTrack = v;
  if (!v) SetHotNode(nullptr);
}

void TTreeView::SetIndent(int indent) {
  indent = std::max(indent, 0);
  if (indent == FIndent) return;
  FIndent = indent;
  StructureChanged();
}

void TTreeView::ChangeScale(int m, int d) {
  TCustomControl::ChangeScale(m, d);
  FIndent = FIndentScale.Scale(FIndent, m, d);
  FButtonSize = FButtonScale.Scale(FButtonSize, m, d);
  StructureChanged();
}

void TTreeView::SetImages(TImageList* images) {
  if (!FImages.Set(images)) return;
  if (!FFixedItemHeight) FItemHeight = 0;  // rows at least as tall as the pictures
  StructureChanged();
}

void TTreeView::Notification(TComponent* component, TOperation operation) {
  if (FImages.Removed(component, operation) && !HasState(csDestroying)) StructureChanged();
  TCustomControl::Notification(component, operation);
}

void TTreeView::SetItemHeight(int height) {
  Perform(TVM_SETITEMHEIGHT, WPARAM(std::intptr_t(height > 0 ? height : -1)), 0);
}

void TTreeView::SortChildren(TTreeNode* parent, bool recurse) {
  auto& c = parent->FChildren;
  TSortType type = FSortType;
  std::stable_sort(c.begin(), c.end(), [type](const auto& a, const auto& b) {
    if (type == TSortType::stData) return a->FData < b->FData;
    int t = CompareText(a->FText, b->FText);
    if (type == TSortType::stBoth && t == 0) return a->FData < b->FData;
    return t < 0;
  });
  FItems->FIndexValid = false;
  if (recurse)
    for (auto& child : c) SortChildren(child.get(), true);
}

void TTreeView::SetSortType(TSortType type) {
  if (type == FSortType) return;
  FSortType = type;
  if (type != TSortType::stNone) {
    SortChildren(FItems->FRoot.get(), true);
    StructureChanged();
  }
}

TColor TTreeView::BackgroundColor() const {
  return FBkColor == gfx::COLORREF(-1) ? Color() : TColor(FBkColor);
}

TColor TTreeView::TextColor() const {
  return FTextColor == gfx::COLORREF(-1) ? Font().Color() : TColor(FTextColor);
}

void TTreeView::FontChanged() {
  TCustomControl::FontChanged();
  if (!FFixedItemHeight) FItemHeight = 0;
  for (TTreeNode* n = FItems->GetFirstNode(); n; n = n->GetNext()) n->FTextWidth = -1;
  StructureChanged();
}

void TTreeView::ColorChanged() {
  TCustomControl::ColorChanged();
  Invalidate();
}

// -- selection and expansion --

void TTreeView::SetSelected(TTreeNode* node) {
  if (node == FSelected) return;
  if (node && node->TreeView() != this) throw Exception(u"The node belongs to another tree");
  if (OnChanging) {
    bool allow = true;
    OnChanging(this, node, allow);
    if (!allow) return;
  }
  FSelected = node;
  if (node) {
    for (TTreeNode* p = node->Parent(); p; p = p->Parent())
      if (!p->Expanded()) p->SetExpanded(true);
    MakeVisible(node);
  }
  Invalidate();
  if (OnChange) OnChange(this, node);
}

void TTreeView::SelectByUser(TTreeNode* node) {
  if (!node || node == FSelected) return;
  TTreeNode* old = FSelected;
  SetSelected(node);
  if (!FAutoExpand || FSelected != node) return;
  if (old && !IsAncestor(old, node) && old != node) {
    for (TTreeNode* n = old; n && !IsAncestor(n, node); n = n->Parent()) n->Collapse(false);
  }
  node->Expand(false);
}

void TTreeView::FullExpand() {
  FItems->BeginUpdate();
  for (TTreeNode* n = FItems->GetFirstNode(); n; n = n->GetNext()) n->SetExpanded(true);
  FItems->EndUpdate();
}

void TTreeView::FullCollapse() {
  FItems->BeginUpdate();
  for (TTreeNode* n = FItems->GetFirstNode(); n; n = n->GetNext()) n->SetExpanded(false);
  FItems->EndUpdate();
}

void TTreeView::ExpansionChanged(TTreeNode* node) {
  StructureChanged();
  if (node->Expanded()) {
    if (OnExpanded) OnExpanded(this, node);
    return;
  }
  // A selection hidden by the collapse moves up to the collapsed node.
  if (IsAncestor(node, FSelected)) SetSelected(node);
  if (IsAncestor(node, FHotNode)) FHotNode = nullptr;
  if (IsAncestor(node, FRightPressed)) FRightPressed = nullptr;
  if (OnCollapsed) OnCollapsed(this, node);
}

void TTreeView::NodeAdded(TTreeNode* node) {
  // Under a collapsed node the new node has no row: the rows stay as they are.
  if (node->IsVisible()) FRowsValid = false;
  if (FItems->Updating()) return;
  UpdateScrollBars();
  Invalidate();
}

void TTreeView::StructureChanged() {
  FRowsValid = false;
  if (FItems->Updating()) return;
  UpdateScrollBars();
  Invalidate();
}

// -- rows and geometry --

const std::vector<TTreeNode*>& TTreeView::Rows() const {
  if (FRowsValid) return FRows;
  FRows.clear();
  FContentWidth = -1;
  WalkDepthFirst(*FItems->FRoot, [this](TTreeNode* n) {
    n->FRow = int(FRows.size());
    FRows.push_back(n);
    return n->FExpanded;
  });
  FRowsValid = true;
  return FRows;
}

int TTreeView::RowCount() const {
  return int(Rows().size());
}

int TTreeView::RowOf(const TTreeNode* node) const {
  if (!node || !node->IsVisible()) return -1;
  Rows();
  return node->FRow;
}

int TTreeView::ItemHeight() {
  if (FItemHeight > 0) return FItemHeight;
  gfx::DeviceContext dc(FMeasureBitmap);
  gfx::SelectFont(&dc, Font().Handle());
  gfx::TSize s{0, 0};
  gfx::GetTextExtentPoint32W(&dc, u"Ag", &s);
  FItemHeight = std::max({16, s.cy + 3, Images() ? Images()->Height() + 2 : 0});
  return FItemHeight;
}

int TTreeView::TextLeft(const TTreeNode* node) const {
  int cells = node->Level() + (FShowRoot ? 1 : 0);
  return cells * FIndent + ImageCellWidth() + kTextPad - FScrollX;
}

int TTreeView::ItemLeft(const TTreeNode* node) const {
  return TextLeft(node) - kTextPad - ImageCellWidth();
}

int TTreeView::TextWidth(TTreeNode* node) {
  if (node->FTextWidth < 0) {
    gfx::DeviceContext dc(FMeasureBitmap);
    TFont bold;
    if (node->FBold) {
      bold.Assign(Font());
      bold.SetStyle(bold.Style() | fsBold);
    }
    gfx::SelectFont(&dc, node->FBold ? bold.Handle() : Font().Handle());
    gfx::TSize s{0, 0};
    gfx::GetTextExtentPoint32W(&dc, node->FText, &s);
    node->FTextWidth = s.cx;
  }
  return node->FTextWidth;
}

TRect TTreeView::TextRectOf(TTreeNode* node, int row) {
  int h = ItemHeight();
  int top = (row - FTopRow) * h;
  int left = TextLeft(node);
  return {left - kTextPad, top, left + TextWidth(node) + kTextPad, top + h};
}

int TTreeView::VisibleRows() {
  return std::max(1, ClientHeight() / ItemHeight());
}

int TTreeView::ContentWidth() {
  // Kept with the rows: whatever changes a text, the font, the indent or the levels rebuilds
  // them, and the scroll bars ask after every added node.
  const auto& rows = Rows();
  if (FContentWidth >= 0) return FContentWidth;
  int width = 0;
  for (TTreeNode* n : rows) width = std::max(width, TextLeft(n) + FScrollX + TextWidth(n));
  FContentWidth = width + kTextPad;
  return FContentWidth;
}

TTreeView::THit TTreeView::HitTestAt(int x, int y, TTreeNode** node) {
  *node = nullptr;
  if (y < 0 || x < 0 || y >= ClientHeight() || x >= ClientWidth()) return THit::Nowhere;
  int row = FTopRow + y / ItemHeight();
  const auto& rows = Rows();
  if (row >= int(rows.size())) return THit::Nowhere;
  TTreeNode* n = rows[std::size_t(row)];
  *node = n;
  const int itemLeft = ItemLeft(n);
  bool hasCell = FShowRoot || n->Parent();
  if (FShowButtons && hasCell && n->HasChildren() && x >= itemLeft - FIndent && x < itemLeft)
    return THit::Button;
  if (FRowSelect) return THit::Text;
  TRect text = TextRectOf(n, row);
  // The picture's cell belongs to the node as its text does.
  if (x >= text.Left - ImageCellWidth() && x < text.Right) return THit::Text;
  return x < text.Left ? THit::Indent : THit::Right;
}

TTreeNode* TTreeView::GetNodeAt(int x, int y) {
  TTreeNode* node = nullptr;
  HitTestAt(x, y, &node);
  return node;
}

// -- scrolling --

void TTreeView::UpdateScrollBars() {
  if (!HandleAllocated() || FItems->Updating() || FUpdatingScrollBars) return;
  FUpdatingScrollBars = true;
  HWND h = Handle();
  // Twice: showing one bar narrows the client area, which may call for the other.
  for (int pass = 0; pass < 2; ++pass) {
    int rows = RowCount();
    int page = VisibleRows();
    FTopRow = std::clamp(FTopRow, 0, std::max(0, rows - page));
    SetBar(h, SB_VERT, std::max(0, rows - 1), UINT(page), FTopRow);
    int content = ContentWidth();
    int width = std::max(1, ClientWidth());
    FScrollX = std::clamp(FScrollX, 0, std::max(0, content - width));
    SetBar(h, SB_HORZ, std::max(0, content - 1), UINT(width), FScrollX);
  }
  FUpdatingScrollBars = false;
}

void TTreeView::ScrollTo(int topRow, int scrollX) {
  topRow = std::clamp(topRow, 0, std::max(0, RowCount() - VisibleRows()));
  scrollX = std::clamp(scrollX, 0, std::max(0, ContentWidth() - ClientWidth()));
  if (topRow == FTopRow && scrollX == FScrollX) return;
  FTopRow = topRow;
  FScrollX = scrollX;
  if (HandleAllocated()) {
    SetScrollPos(Handle(), SB_VERT, FTopRow, true);
    SetScrollPos(Handle(), SB_HORZ, FScrollX, true);
  }
  Invalidate();
}

void TTreeView::MakeVisible(TTreeNode* node) {
  int row = RowOf(node);
  if (row < 0) return;
  int top = FTopRow;
  if (row < top) top = row;
  if (row >= top + VisibleRows()) top = row - VisibleRows() + 1;
  ScrollTo(top, FScrollX);
}

void TTreeView::Scroll(int bar, WPARAM wParam) {
  bool vert = bar == SB_VERT;
  int line = vert ? 1 : ItemHeight();
  std::optional<int> pos =
      ScrollRequest(bar, wParam, vert ? FTopRow : FScrollX, line,
                    vert ? std::max(1, VisibleRows() - 1) : std::max(1, ClientWidth() - line),
                    INT32_MAX / 2);  // ScrollTo clamps
  if (!pos) return;
  if (vert)
    ScrollTo(*pos, FScrollX);
  else
    ScrollTo(FTopRow, *pos);
}

bool TTreeView::DoMouseWheel(TShiftState shift, int wheelDelta, TPoint mousePos) {
  if (TCustomControl::DoMouseWheel(shift, wheelDelta, mousePos)) return true;
  int notches = wheelDelta / WHEEL_DELTA;
  if (notches == 0) return false;
  ScrollTo(FTopRow - notches * kWheelLines, FScrollX);
  return true;
}

// -- input --

void TTreeView::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
  if (button == TMouseButton::mbLeft) {
    TTreeNode* node = nullptr;
    THit hit = HitTestAt(x, y, &node);
    if (hit == THit::Button) {
      node->SetExpanded(!node->Expanded());
    } else if (hit == THit::Text) {
      SelectByUser(node);
      if ((shift & ssDouble) && node->HasChildren()) node->SetExpanded(!node->Expanded());
    }
  } else if (button == TMouseButton::mbRight) {
    TTreeNode* node = nullptr;
    FRightPressed = HitTestAt(x, y, &node) == THit::Nowhere ? nullptr : node;
  }
  TCustomControl::MouseDown(button, shift, x, y);
}

void TTreeView::MouseUp(TMouseButton button, TShiftState shift, int x, int y) {
  if (button == TMouseButton::mbRight && FRightClickSelect) {
    TTreeNode* node = nullptr;
    const THit hit = HitTestAt(x, y, &node);
    if (node && node == FRightPressed && (hit == THit::Text || hit == THit::Button))
      SelectByUser(node);
    FRightPressed = nullptr;
  }
  TCustomControl::MouseUp(button, shift, x, y);
}

void TTreeView::MouseMove(TShiftState shift, int x, int y) {
  if (FHotTrack) {
    TTreeNode* node = nullptr;
    SetHotNode(HitTestAt(x, y, &node) == THit::Text ? node : nullptr);
  }
  TCustomControl::MouseMove(shift, x, y);
}

void TTreeView::MouseLeave() {
  SetHotNode(nullptr);
  TCustomControl::MouseLeave();
}

void TTreeView::SetHotNode(TTreeNode* node) {
  if (node == FHotNode) return;
  FHotNode = node;
  Invalidate();
}

void TTreeView::MoveSelection(int rows) {
  const auto& all = Rows();
  if (all.empty()) return;
  int row = RowOf(FSelected);
  int target = row < 0 ? 0 : std::clamp(row + rows, 0, int(all.size()) - 1);
  SelectByUser(all[std::size_t(target)]);
}

void TTreeView::KeyDown(WORD& key, TShiftState shift) {
  TCustomControl::KeyDown(key, shift);
  if (key == 0) return;
  int page = std::max(1, VisibleRows() - 1);
  switch (key) {
    case VK_UP:
      MoveSelection(-1);
      break;
    case VK_DOWN:
      MoveSelection(1);
      break;
    case VK_PRIOR:
      MoveSelection(-page);
      break;
    case VK_NEXT:
      MoveSelection(page);
      break;
    case VK_HOME:
      MoveSelection(-RowCount());
      break;
    case VK_END:
      MoveSelection(RowCount());
      break;
    case VK_LEFT:
      if (!FSelected)
        MoveSelection(0);
      else if (FSelected->Expanded() && FSelected->HasChildren())
        FSelected->SetExpanded(false);
      else if (FSelected->Parent())
        SelectByUser(FSelected->Parent());
      break;
    case VK_RIGHT:
      if (!FSelected)
        MoveSelection(0);
      else if (FSelected->HasChildren() && !FSelected->Expanded())
        FSelected->SetExpanded(true);
      else if (FSelected->HasChildren())
        SelectByUser(FSelected->Item(0));
      break;
    default:
      return;
  }
  key = 0;
}

void TTreeView::KeyPress(char16_t& key) {
  TCustomControl::KeyPress(key);
  if (!FSelected || (key != u'+' && key != u'-' && key != u'*')) return;
  if (key == u'+')
    FSelected->Expand(false);
  else if (key == u'-')
    FSelected->Collapse(false);
  else
    FSelected->Expand(true);
  key = 0;
}

bool TTreeView::WantsKey(WORD key) const {
  return key == VK_LEFT || key == VK_RIGHT || key == VK_UP || key == VK_DOWN;
}

void TTreeView::WndProc(TMessage& m) {
  switch (m.Msg) {
    case WM_VSCROLL:
    case WM_HSCROLL:
      Scroll(m.Msg == WM_VSCROLL ? SB_VERT : SB_HORZ, m.WParam);
      m.Result = 0;
      return;
    case WM_SIZE:
      TCustomControl::WndProc(m);
      UpdateScrollBars();
      Invalidate();
      return;
    case WM_SETCURSOR:
      // Asked before the move arrives: the item is found from the cursor position.
      if (FHotTrack && LOWORD(std::uintptr_t(m.LParam)) == WORD(HTCLIENT)) {
        POINT p;
        TTreeNode* node = nullptr;
        if (GetCursorPos(&p)) {
          TPoint c = ScreenToClient({p.X, p.Y});
          if (HitTestAt(c.X, c.Y, &node) == THit::Text) {
            win::SetCursor(LoadCursorW(IDC_HAND));
            m.Result = 1;
            return;
          }
        }
      }
      break;
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
      TCustomControl::WndProc(m);
      Invalidate();  // the selection's colours follow the focus
      return;
    case TVM_SETBKCOLOR:
    case TVM_SETTEXTCOLOR: {
      gfx::COLORREF& field = m.Msg == TVM_SETBKCOLOR ? FBkColor : FTextColor;
      m.Result = LRESULT(std::intptr_t(std::int32_t(field)));
      field = gfx::COLORREF(m.LParam);
      Invalidate();
      return;
    }
    case TVM_GETBKCOLOR:
      m.Result = LRESULT(std::intptr_t(std::int32_t(FBkColor)));
      return;
    case TVM_GETTEXTCOLOR:
      m.Result = LRESULT(std::intptr_t(std::int32_t(FTextColor)));
      return;
    case TVM_SETITEMHEIGHT: {
      m.Result = ItemHeight();
      int height = int(std::intptr_t(m.WParam));
      FFixedItemHeight = height > 0;
      FItemHeight = FFixedItemHeight ? height : 0;
      StructureChanged();
      return;
    }
    case TVM_GETITEMHEIGHT:
      m.Result = ItemHeight();
      return;
    default:
      break;
  }
  TCustomControl::WndProc(m);
}

// -- painting --

void TTreeView::EraseBackground(HDC) {
  // Paint fills every pixel, in the colour the custom-draw handlers leave on the canvas.
}

void TTreeView::Paint() {
  TCanvas& c = Canvas();
  TRect client = ClientRect();
  c.BrushColor = BackgroundColor();
  c.Font.SetColor(TextColor());
  bool defaultDraw = true;
  const bool customDrawn = IsCustomDrawn();
  if (customDrawn && OnCustomDraw) OnCustomDraw(this, client, defaultDraw);
  if (customDrawn && defaultDraw && OnAdvancedCustomDraw)
    OnAdvancedCustomDraw(this, client, TCustomDrawStage::cdPrePaint, defaultDraw);
  if (!defaultDraw) return;
  c.BrushStyle = TBrushStyle::bsSolid;
  c.FillRect(client);
  TColor brush = c.BrushColor;
  TFont font;
  font.Assign(c.Font);
  const auto& rows = Rows();
  int h = ItemHeight();
  for (int row = FTopRow; row < int(rows.size()) && (row - FTopRow) * h < client.Bottom; ++row) {
    c.BrushColor = brush;
    c.BrushStyle = TBrushStyle::bsSolid;
    c.Font.Assign(font);
    PaintItem(rows[std::size_t(row)], row, client);
  }
  if (customDrawn && OnAdvancedCustomDraw) {
    defaultDraw = true;
    OnAdvancedCustomDraw(this, client, TCustomDrawStage::cdPostPaint, defaultDraw);
  }
}

void TTreeView::PaintItem(TTreeNode* node, int row, const TRect& client) {
  TCanvas& c = Canvas();
  bool focused = Focused();
  TCustomDrawState state = 0;
  bool selected = node == FSelected && (focused || !FHideSelection);
  if (selected) state |= cdsSelected;
  if (node == FSelected && focused) state |= cdsFocused;
  if (FHotTrack && node == FHotNode) state |= cdsHot;
  if (!Enabled()) state |= cdsDisabled | cdsGrayed;
  if (selected) {
    c.BrushColor = focused ? clHighlight : clBtnFace;
    c.Font.SetColor(focused ? clHighlightText : clWindowText);
  } else if (state & cdsHot) {
    c.Font.SetColor(kHotColor);
  }
  if (state & cdsHot) c.Font.SetStyle(c.Font.Style() | fsUnderline);
  if (node->FBold) c.Font.SetStyle(c.Font.Style() | fsBold);
  if (!Enabled()) c.Font.SetColor(clGrayText);
  bool defaultDraw = true;
  bool paintImages = true;
  const bool customDrawn = IsCustomDrawn();
  if (customDrawn && OnCustomDrawItem) OnCustomDrawItem(this, node, state, defaultDraw);
  if (customDrawn && defaultDraw && OnAdvancedCustomDrawItem)
    OnAdvancedCustomDrawItem(this, node, state, TCustomDrawStage::cdPrePaint, paintImages,
                             defaultDraw);
  // The handler may have removed nodes or scrolled: draw only what is still this row.
  if (!defaultDraw || row >= RowCount() || Rows()[std::size_t(row)] != node) return;
  if (FShowLines) PaintLines(node, row);
  if (FShowButtons) PaintButton(node, row);
  TRect r = TextRectOf(node, row);
  if (FRowSelect && selected) r = {client.Left, r.Top, client.Right, r.Bottom};
  if (selected || c.BrushColor != BackgroundColor()) c.FillRect(r);
  c.BrushStyle = TBrushStyle::bsClear;
  TRect text{r.Left + kTextPad, r.Top, r.Right, r.Bottom};
  if (FRowSelect && selected) text.Left = TextLeft(node);
  c.TextRect(text, node->FText,
             gfx::DT_SINGLELINE | gfx::DT_VCENTER | gfx::DT_NOPREFIX | gfx::DT_NOCLIP);
  if (paintImages) PaintImage(node, row);
  if (customDrawn && OnAdvancedCustomDrawItem) {
    defaultDraw = true;
    OnAdvancedCustomDrawItem(this, node, state, TCustomDrawStage::cdPostPaint, paintImages,
                             defaultDraw);
  }
}

void TTreeView::PaintImage(TTreeNode* node, int row) {
  TImageList* images = Images();
  if (!images || node->FImageIndex < 0 || node->FImageIndex >= images->Count()) return;
  const int h = ItemHeight();
  const int x = ItemLeft(node) + 2;
  images->Draw(Canvas(), x, (row - FTopRow) * h + (h - images->Height()) / 2, node->FImageIndex);
}

void TTreeView::PaintLines(TTreeNode* node, int row) {
  HDC dc = Canvas().Handle();
  if (!dc) return;
  gfx::COLORREF color = ColorToRGB(kLineColor);
  int h = ItemHeight();
  int top = (row - FTopRow) * h;
  int mid = top + h / 2;
  // Dotted: every other pixel, in content coordinates so that scrolling keeps the pattern.
  auto vline = [&](int x, int y0, int y1) {
    for (int y = y0; y < y1; ++y)
      if (((x + FScrollX) + (y + FTopRow * h)) % 2 == 0) gfx::SetPixel(dc, x, y, color);
  };
  auto hline = [&](int x0, int x1, int y) {
    for (int x = x0; x < x1; ++x)
      if (((x + FScrollX) + (y + FTopRow * h)) % 2 == 0) gfx::SetPixel(dc, x, y, color);
  };
  auto cellCentre = [&](const TTreeNode* n) { return ItemLeft(n) - FIndent / 2; };
  auto hasNextSibling = [](const TTreeNode* n) {
    return n->Index() + 1 < int(n->FParent->FChildren.size());
  };
  bool hasCell = FShowRoot || node->Parent();
  if (hasCell) {
    int x = cellCentre(node);
    hline(x, ItemLeft(node), mid);
    bool above = node->Index() > 0 || node->Parent();
    vline(x, above ? top : mid, hasNextSibling(node) ? top + h : mid + 1);
  }
  // The lines of ancestors that continue below this row.
  for (const TTreeNode* a = node->Parent(); a; a = a->Parent()) {
    if (!FShowRoot && !a->Parent()) break;
    if (hasNextSibling(a)) vline(cellCentre(a), top, top + h);
  }
}

void TTreeView::PaintButton(TTreeNode* node, int row) {
  if (!node->HasChildren() || (!FShowRoot && !node->Parent())) return;
  TCanvas& c = Canvas();
  int h = ItemHeight();
  int cx = ItemLeft(node) - FIndent / 2;
  int cy = (row - FTopRow) * h + h / 2;
  const int half = FButtonSize / 2, arm = half - 2;
  TRect box{cx - half, cy - half, cx + half + 1, cy + half + 1};
  TColor brush = c.BrushColor;
  c.BrushColor = BackgroundColor();
  c.FillRect(box);
  c.BrushColor = kLineColor;
  c.FrameRect(box);
  c.BrushColor = clWindowText;
  c.FillRect({cx - arm, cy, cx + arm + 1, cy + 1});
  if (!node->Expanded()) c.FillRect({cx, cy - arm, cx + 1, cy + arm + 1});
  c.BrushColor = brush;
}

}  // namespace fw
