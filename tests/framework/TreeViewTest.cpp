// The tree view: node order and index, selection events, sorting, expansion, mouse and keyboard
// navigation, scrolling, custom drawing and the dump of its nodes.
#include "framework/TreeView.h"

#include <algorithm>
#include <string>
#include <vector>

#include "Harness.h"
#include "framework/Automation.h"
#include "framework/DragDrop.h"
#include "framework/Exception.h"
#include "framework/Panel.h"
#include "framework/Reader.h"
#include "framework/TextConv.h"
#include "platform/backend/Dump.h"
#include "platform/win/Input.h"
#include "platform/win/MessageQueue.h"
#include "platform/win/Messages.h"
#include "platform/win/ScrollInfo.h"
#include "platform/win/Styles.h"
#include "platform/win/Window.h"

namespace fw::test {
namespace {

using win::SCROLLINFO;

constexpr unsigned kUp = 0xE048, kDown = 0xE050, kLeft = 0xE04B, kRight = 0xE04D, kHome = 0xE047,
                   kEnd = 0xE04F, kPageDown = 0xE051, kPageUp = 0xE049, kNumPlus = 0x4E,
                   kNumMinus = 0x4A, kNumStar = 0x37, kEscape = 0x01;

std::string Texts(const TTreeNodes& items) {
  std::string s;
  for (int i = 0; i < items.Count(); ++i) {
    if (i) s += ",";
    s += Utf16ToUtf8(items.Item(i)->Text());
  }
  return s;
}

std::string Name(TTreeNode* n) {
  return n ? Utf16ToUtf8(n->Text()) : "(none)";
}

class TreeViewTest : public FrameworkTest {
 protected:
  // A shown form with a 200 x 150 tree at (10, 10) of a form at (50, 50), focused.
  void SetUp() override {
    FrameworkTest::SetUp();
    form = ShowForm(50, 50, 400, 300);
    tree = new TTreeView(form);
    tree->SetBounds(10, 10, 200, 150);
    tree->SetParent(form);
    tree->Font().SetName(u"Tahoma");
    tree->Font().SetHeight(-11);
    tree->SetFocus();
    desktop.Pump();
    tree->OnChange = [this](TComponent*, TTreeNode* n) {
      log.push_back("change:" + Name(n) + (tree->Selected() == n ? "" : "!"));
    };
    tree->OnClick = [this](TComponent*) { log.push_back("click"); };
  }
  // Districts A and B with two and three schools.
  void AddDistricts() {
    auto& items = tree->Items();
    a = items.AddObject(nullptr, u"A", -1);
    b = items.AddObject(nullptr, u"B", -1);
    items.AddChildObject(a, u"a1", 1);
    items.AddChildObject(a, u"a2", 2);
    for (int i = 1; i <= 3; ++i)
      items.AddChildObject(b, u"b" + Utf8ToUtf16(std::to_string(i)), 10 + i);
    desktop.Pump();
  }
  // Screen point in the middle of a node's text.
  TPoint At(TTreeNode* n) {
    TRect r = n->DisplayRect(true);
    return tree->ClientToScreen({(r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2});
  }
  void ClickNode(TTreeNode* n) {
    TPoint p = At(n);
    Click(p.X, p.Y);
  }
  std::string Log() {
    std::string s;
    for (const auto& e : log) s += (s.empty() ? "" : " ") + e;
    log.clear();
    return s;
  }
  bool HasStyle(win::DWORD style) {
    return (win::GetWindowLongPtrW(tree->Handle(), win::GWL_STYLE) & style) != 0;
  }

  TForm* form = nullptr;
  TTreeView* tree = nullptr;
  TTreeNode* a = nullptr;
  TTreeNode* b = nullptr;
  std::vector<std::string> log;
};

TEST_F(TreeViewTest, ItemsAreInDepthFirstOrderAfterAddsAndClear) {
  auto& items = tree->Items();
  EXPECT_EQ(items.Count(), 0);
  EXPECT_EQ(items.GetFirstNode(), nullptr);
  AddDistricts();
  EXPECT_EQ(Texts(items), "A,a1,a2,B,b1,b2,b3");
  // Adding under an earlier node moves every later node one place down.
  TTreeNode* a3 = items.AddChild(a, u"a3");
  items.AddChild(a3, u"deep");
  items.Add(a, u"C");    // a last top-level sibling
  items.Add(a3, u"a4");  // a last sibling on the second level
  EXPECT_EQ(Texts(items), "A,a1,a2,a3,deep,a4,B,b1,b2,b3,C");
  EXPECT_EQ(items.Count(), 11);
  for (int i = 0; i < items.Count(); ++i) EXPECT_EQ(items.Item(i)->AbsoluteIndex(), i);
  EXPECT_EQ(items.Item(4)->Level(), 2);
  EXPECT_EQ(items.Item(4)->Parent(), a3);
  EXPECT_EQ(a->Parent(), nullptr);
  EXPECT_EQ(a->Count(), 4);
  EXPECT_EQ(b->Item(2)->Data(), 13);
  std::string walk;
  for (TTreeNode* n = items.GetFirstNode(); n; n = n->GetNext()) walk += Name(n) + ",";
  EXPECT_EQ(walk, "A,a1,a2,a3,deep,a4,B,b1,b2,b3,C,");
  EXPECT_THROW(items.Item(11), Exception);
  EXPECT_THROW(items.Item(-1), Exception);
  EXPECT_THROW(a->Item(4), Exception);

  items.Clear();
  EXPECT_EQ(items.Count(), 0);
  EXPECT_THROW(items.Item(0), Exception);
  items.Add(nullptr, u"X");
  EXPECT_EQ(Texts(items), "X");
  EXPECT_EQ(Log(), "");  // nothing was selected, so nothing changed
}

// The catalogue's build: positions looked up afresh after every add while the count taken at
// the start of a pass stays fixed; a district named twice, the second one last, stays empty.
TEST_F(TreeViewTest, PositionsFollowAddsMadeDuringAScan) {
  auto& items = tree->Items();
  for (const char16_t* d : {u"X", u"Y", u"X"}) {
    tree->SetSelected(nullptr);
    items.AddObject(tree->Selected(), d, -1);
  }
  for (const char16_t* school : {u"x1", u"x2", u"x3"}) {
    int n = items.Count();
    for (int i = 0; i < n; ++i)
      if (items.Item(i)->Text() == u"X") {
        tree->SetSelected(items.Item(i));
        items.AddChildObject(tree->Selected(), school, 1);
      }
  }
  EXPECT_EQ(Texts(items), "X,x1,x2,x3,Y,X");
  EXPECT_EQ(Log(), "change:X");  // the same node selected again raises nothing
  EXPECT_EQ(items.Item(5)->Count(), 0);
}

TEST_F(TreeViewTest, SelectionFromCodeRaisesChangeOnlyWhenItChanges) {
  AddDistricts();
  tree->SetSelected(a);
  EXPECT_EQ(Log(), "change:A");  // synchronously, with Selected already the new node
  tree->SetSelected(a);
  EXPECT_EQ(Log(), "");
  EXPECT_TRUE(a->Selected());
  tree->SetSelected(b->Item(1));
  EXPECT_EQ(Log(), "change:b2");
  EXPECT_TRUE(b->Expanded());  // a selected node is shown
  tree->SetSelected(nullptr);
  EXPECT_EQ(Log(), "change:(none)");
  tree->SetSelected(nullptr);
  EXPECT_EQ(Log(), "");

  // OnChanging may refuse; nothing changes then.
  tree->OnChanging = [](TComponent*, TTreeNode* n, bool& allow) { allow = n->Text() != u"B"; };
  tree->SetSelected(b);
  EXPECT_EQ(tree->Selected(), nullptr);
  EXPECT_EQ(Log(), "");
  tree->OnChanging = nullptr;

  // Removing all nodes with a selection reports no selection, with the tree already empty.
  tree->SetSelected(a->Item(0));
  Log();
  int countSeen = -1;
  tree->OnChange = [&](TComponent*, TTreeNode* n) {
    log.push_back("change:" + Name(n));
    countSeen = tree->Items().Count();
  };
  tree->Items().Clear();
  EXPECT_EQ(Log(), "change:(none)");
  EXPECT_EQ(countSeen, 0);
  EXPECT_EQ(tree->Selected(), nullptr);
}

TEST_F(TreeViewTest, CollapsingMovesAHiddenSelectionUpAndFullExpandCoversAllLevels) {
  AddDistricts();
  TTreeNode* deep = tree->Items().AddChild(b->Item(0), u"deep");
  for (int i = 0; i < tree->Items().Count(); ++i)
    EXPECT_FALSE(tree->Items().Item(i)->Expanded()) << i;  // new nodes are collapsed
  tree->FullExpand();
  for (TTreeNode* n : {a, b, b->Item(0)}) EXPECT_TRUE(n->Expanded()) << Name(n);
  EXPECT_EQ(tree->RowCount(), 8);
  tree->SetSelected(deep);
  Log();
  b->Collapse(false);
  EXPECT_EQ(Log(), "change:B");
  EXPECT_TRUE(b->Item(0)->Expanded());  // collapsing one level keeps the inner state
  tree->FullCollapse();
  for (TTreeNode* n : {a, b, b->Item(0)}) EXPECT_FALSE(n->Expanded()) << Name(n);
  EXPECT_EQ(tree->RowCount(), 2);
  EXPECT_FALSE(deep->IsVisible());
  EXPECT_TRUE(deep->DisplayRect(true).IsEmpty());
}

TEST_F(TreeViewTest, SortingByTextHappensOnlyOnTextChangesAndSettingChanges) {
  tree->SetSortType(TSortType::stText);
  auto& items = tree->Items();
  TTreeNode* z = items.Add(nullptr, u"Zeta");
  items.Add(nullptr, u"alpha");
  items.Add(nullptr, u"Мир");
  items.Add(nullptr, u"айва");
  items.AddChild(z, u"z2");
  items.AddChild(z, u"Z1");
  EXPECT_EQ(Texts(items), "Zeta,z2,Z1,alpha,Мир,айва");  // insertion order kept
  z->Item(0)->SetText(u"z3");                            // re-sorts z's children only
  EXPECT_EQ(Texts(items), "Zeta,Z1,z3,alpha,Мир,айва");
  tree->SetSortType(TSortType::stNone);
  items.Item(0)->SetText(u"Omega");
  EXPECT_EQ(Texts(items), "Omega,Z1,z3,alpha,Мир,айва");
  tree->SetSortType(TSortType::stText);  // case-insensitive, Latin before Cyrillic
  EXPECT_EQ(Texts(items), "alpha,Omega,Z1,z3,айва,Мир");
  for (int i = 0; i < items.Count(); ++i) EXPECT_EQ(items.Item(i)->AbsoluteIndex(), i);
}

TEST_F(TreeViewTest, MouseSelectsBeforeClickTogglesOnButtonAndDoubleClick) {
  AddDistricts();
  ClickNode(b);
  EXPECT_EQ(Log(), "change:B click");  // the change comes first
  desktop.Advance(1000);               // no double-clicks unless meant
  ClickNode(b);
  EXPECT_EQ(Log(), "click");  // the node already selected: only the click
  EXPECT_FALSE(b->Expanded());
  // Empty space below the rows: a click, no change.
  TPoint empty = tree->ClientToScreen({50, 140});
  Click(empty.X, empty.Y);
  EXPECT_EQ(Log(), "click");
  EXPECT_EQ(tree->Selected(), b);
  // The +/- button left of the text toggles without selecting.
  TRect r = a->DisplayRect(true);
  TPoint button = tree->ClientToScreen({r.Left - tree->Indent() / 2, (r.Top + r.Bottom) / 2});
  Click(button.X, button.Y);
  EXPECT_TRUE(a->Expanded());
  EXPECT_EQ(tree->Selected(), b);
  Click(button.X, button.Y);
  EXPECT_FALSE(a->Expanded());
  Log();
  // A double-click on a node's text toggles it.
  TPoint p = At(b);
  Click(p.X, p.Y);
  Click(p.X, p.Y);
  EXPECT_TRUE(b->Expanded());
  Click(p.X, p.Y);  // a third press is a new single click
  EXPECT_TRUE(b->Expanded());
  Click(p.X, p.Y);
  EXPECT_FALSE(b->Expanded());
}

TEST_F(TreeViewTest, RowSelectTakesTheWholeRowAndAutoExpandFollowsTheUser) {
  AddDistricts();
  tree->SetRowSelect(true);
  tree->SetAutoExpand(true);
  TPoint right = tree->ClientToScreen({150, b->DisplayRect(true).Top + 2});
  Click(right.X, right.Y);  // far right of the text: still B's row
  EXPECT_EQ(tree->Selected(), b);
  EXPECT_TRUE(b->Expanded());  // a user's selection opens the node
  desktop.Advance(1000);
  ClickNode(a);
  EXPECT_TRUE(a->Expanded());
  EXPECT_FALSE(b->Expanded());  // and closes the branch left
  Key(kDown);                   // into A: A stays open
  EXPECT_EQ(Name(tree->Selected()), "a1");
  EXPECT_TRUE(a->Expanded());
  tree->SetSelected(b);  // from code: no automatic expansion
  EXPECT_FALSE(b->Expanded());
  EXPECT_TRUE(a->Expanded());
}

TEST_F(TreeViewTest, KeyboardMovesAndExpands) {
  AddDistricts();
  Key(kDown);  // nothing selected: the first row
  EXPECT_EQ(Name(tree->Selected()), "A");
  Key(kRight);  // expands
  EXPECT_TRUE(a->Expanded());
  Key(kRight);  // then goes to the first child
  EXPECT_EQ(Name(tree->Selected()), "a1");
  Key(kDown);
  Key(kDown);
  EXPECT_EQ(Name(tree->Selected()), "B");
  Key(kUp);
  EXPECT_EQ(Name(tree->Selected()), "a2");
  Key(kLeft);  // to the parent
  EXPECT_EQ(Name(tree->Selected()), "A");
  Key(kLeft);  // collapses
  EXPECT_FALSE(a->Expanded());
  Key(kEnd);
  EXPECT_EQ(Name(tree->Selected()), "B");
  Key(kNumPlus);
  EXPECT_TRUE(b->Expanded());
  Key(kEnd);
  EXPECT_EQ(Name(tree->Selected()), "b3");
  Key(kHome);
  EXPECT_EQ(Name(tree->Selected()), "A");
  Key(kPageDown);  // the tree shows more rows than there are: to the last
  EXPECT_EQ(Name(tree->Selected()), "b3");
  Key(kPageUp);
  EXPECT_EQ(Name(tree->Selected()), "A");
  tree->Items().AddChild(a->Item(0), u"deep");
  Key(kNumStar);  // everything under A
  EXPECT_TRUE(a->Expanded());
  EXPECT_TRUE(a->Item(0)->Expanded());
  Key(kNumMinus);
  EXPECT_FALSE(a->Expanded());
  EXPECT_EQ(Log(),
            "change:A change:a1 change:a2 change:B change:a2 change:A change:B change:b3 "
            "change:A change:b3 change:A");
}

// The bars follow each added node, whether it gets a row or sits under a collapsed node, and
// whether the bar changes or not (an unchanged bar is not set again).
TEST_F(TreeViewTest, ScrollBarsFollowEveryAddedNode) {
  auto& items = tree->Items();
  win::HWND h = tree->Handle();
  auto vert = [&] {
    SCROLLINFO si;
    si.fMask = win::SIF_ALL;
    EXPECT_TRUE(win::GetScrollInfo(h, win::SB_VERT, &si));
    return si;
  };
  const std::u16string wide = u"A name far too wide for a tree of two hundred pixels, surely";
  TTreeNode* top = items.Add(nullptr, u"Top");
  for (int i = 0; i < 30; ++i) {
    items.AddChild(top, wide);
    ASSERT_FALSE(HasStyle(win::WS_VSCROLL)) << i;
    ASSERT_FALSE(HasStyle(win::WS_HSCROLL)) << i;
    ASSERT_EQ(vert().nMax, 0);
  }
  top->Expand(false);
  EXPECT_TRUE(HasStyle(win::WS_VSCROLL));
  EXPECT_TRUE(HasStyle(win::WS_HSCROLL));
  EXPECT_EQ(vert().nMax, 30);
  tree->MakeVisible(top->Item(29));
  const int topRow = tree->TopRow();
  EXPECT_GT(topRow, 0);
  for (int i = 0; i < 5; ++i) {
    items.Add(nullptr, u"Short");
    ASSERT_EQ(vert().nMax, 31 + i);
    ASSERT_EQ(vert().nPos, topRow);
  }
  items.Clear();
  EXPECT_FALSE(HasStyle(win::WS_VSCROLL));
  EXPECT_FALSE(HasStyle(win::WS_HSCROLL));
  // Short texts: the vertical bar appears with the first row that does not fit.
  const int page = tree->ClientHeight() / tree->ItemHeight();
  for (int i = 1; i <= page + 2; ++i) {
    items.Add(nullptr, u"Row");
    ASSERT_EQ(HasStyle(win::WS_VSCROLL), i > page) << i;
    ASSERT_EQ(vert().nMax, i - 1);
    ASSERT_EQ(int(vert().nPage), std::min(i, page));
  }
  EXPECT_FALSE(HasStyle(win::WS_HSCROLL));
}

TEST_F(TreeViewTest, ScrollsByLinePageThumbAndWheel) {
  auto& items = tree->Items();
  items.BeginUpdate();
  for (int i = 0; i < 40; ++i) items.Add(nullptr, u"Node " + Utf8ToUtf16(std::to_string(i)));
  items.EndUpdate();
  desktop.Pump();
  EXPECT_TRUE(HasStyle(win::WS_VSCROLL));
  EXPECT_FALSE(HasStyle(win::WS_HSCROLL));
  win::HWND h = tree->Handle();
  int page = tree->ClientHeight() / tree->ItemHeight();
  SCROLLINFO si;
  si.fMask = win::SIF_ALL;
  ASSERT_TRUE(win::GetScrollInfo(h, win::SB_VERT, &si));
  EXPECT_EQ(si.nMax, 39);
  EXPECT_EQ(int(si.nPage), page);

  win::SendMessageW(h, win::WM_VSCROLL, win::SB_LINEDOWN, 0);
  EXPECT_EQ(tree->TopRow(), 1);
  win::SendMessageW(h, win::WM_VSCROLL, win::SB_PAGEDOWN, 0);
  EXPECT_EQ(tree->TopRow(), 1 + page - 1);
  win::SendMessageW(h, win::WM_VSCROLL, win::SB_LINEUP, 0);
  EXPECT_EQ(tree->TopRow(), page - 1);
  EXPECT_EQ(win::GetScrollPos(h, win::SB_VERT), page - 1);
  win::SendMessageW(h, win::WM_VSCROLL, win::SB_BOTTOM, 0);
  EXPECT_EQ(tree->TopRow(), 40 - page);  // never past the last full page
  win::SendMessageW(h, win::WM_VSCROLL, win::SB_PAGEUP, 0);
  EXPECT_EQ(tree->TopRow(), 40 - page - (page - 1));
  // A thumb position written into the scroll info before SB_THUMBTRACK (as a skin's bar does).
  si.fMask = win::SIF_POS;
  si.nPos = 7;
  win::SetScrollInfo(h, win::SB_VERT, si, false);
  win::SendMessageW(h, win::WM_VSCROLL, win::MAKEWPARAM(win::SB_THUMBTRACK, 7), 0);
  EXPECT_EQ(tree->TopRow(), 7);

  // Dragging the window's own thumb: the rows follow while the button is still down.
  win::ScrollBarLayout l = win::GetScrollBarLayout(h, win::SB_VERT);
  win::RECT wr;
  win::GetWindowRect(h, &wr);
  TPoint grab{wr.Left + (l.thumb.Left + l.thumb.Right) / 2,
              wr.Top + (l.thumb.Top + l.thumb.Bottom) / 2};
  int during = -1;
  desktop.Schedule(10, [&] { win::InjectMouseMove({grab.X, grab.Y + 40}); });
  desktop.Schedule(20, [&] { during = tree->TopRow(); });
  desktop.Schedule(30, [&] { win::InjectMouseButton(0, false, {grab.X, grab.Y + 40}); });
  win::InjectMouseMove(grab);
  win::InjectMouseButton(0, true, grab);
  desktop.Pump();
  desktop.Advance(50);
  desktop.Pump();
  EXPECT_GT(during, 7);
  EXPECT_EQ(tree->TopRow(), during);
  EXPECT_EQ(win::GetScrollPos(h, win::SB_VERT), during);

  // The wheel: three rows a notch.
  win::SendMessageW(h, win::WM_VSCROLL, win::SB_TOP, 0);
  TPoint inside = tree->ClientToScreen({20, 20});
  Move(inside.X, inside.Y);
  win::InjectMouseWheel(-2 * win::WHEEL_DELTA, false, {inside.X, inside.Y});
  desktop.Pump();
  EXPECT_EQ(tree->TopRow(), 6);
  win::InjectMouseWheel(win::WHEEL_DELTA, false, {inside.X, inside.Y});
  desktop.Pump();
  EXPECT_EQ(tree->TopRow(), 3);

  // A long text brings the horizontal bar; the text moves left with it.
  TTreeNode* wide =
      items.Add(nullptr, u"A very long name of a school that does not fit in the tree");
  desktop.Pump();
  EXPECT_TRUE(HasStyle(win::WS_HSCROLL));
  tree->MakeVisible(wide);
  int left = wide->DisplayRect(true).Left;
  win::SendMessageW(h, win::WM_HSCROLL, win::SB_LINERIGHT, 0);
  EXPECT_GT(tree->ScrollX(), 0);
  EXPECT_EQ(wide->DisplayRect(true).Left, left - tree->ScrollX());
  win::SendMessageW(h, win::WM_HSCROLL, win::SB_PAGERIGHT, 0);
  win::SendMessageW(h, win::WM_HSCROLL, win::SB_PAGERIGHT, 0);
  si.fMask = win::SIF_ALL;
  ASSERT_TRUE(win::GetScrollInfo(h, win::SB_HORZ, &si));
  EXPECT_EQ(tree->ScrollX(), si.nPos);
  EXPECT_EQ(tree->ScrollX(), si.nMax - int(si.nPage) + 1);  // at the right end
  // Selecting from code scrolls the node into view.
  tree->SetSelected(items.Item(0));
  EXPECT_EQ(tree->TopRow(), 0);
  tree->SetSelected(items.Item(39));
  page = tree->ClientHeight() / tree->ItemHeight();  // less room under the horizontal bar
  EXPECT_EQ(tree->TopRow(), 39 - page + 1);
  win::SendMessageW(h, win::WM_HSCROLL, win::SB_LEFT, 0);
  EXPECT_EQ(tree->ScrollX(), 0);
  desktop.Pump();
  SaveScreen("tree-scrolled");
}

TEST_F(TreeViewTest, CustomDrawStagesRunInOrderAndTheCanvasColoursAreUsed) {
  AddDistricts();
  std::vector<std::string> stages;
  auto name = [](TCustomDrawStage s) { return s == TCustomDrawStage::cdPrePaint ? "pre" : "post"; };
  tree->OnCustomDraw = [&](TCustomControl*, const TRect&, bool&) { stages.push_back("tree"); };
  tree->OnAdvancedCustomDraw = [&](TCustomControl*, const TRect&, TCustomDrawStage s, bool&) {
    stages.push_back(std::string("tree-") + name(s));
  };
  tree->OnCustomDrawItem = [&](TCustomControl*, TTreeNode* n, TCustomDrawState, bool&) {
    stages.push_back("item:" + Name(n));
  };
  tree->OnAdvancedCustomDrawItem = [&](TCustomControl* sender, TTreeNode* n, TCustomDrawState state,
                                       TCustomDrawStage s, bool&, bool& defaultDraw) {
    stages.push_back(Name(n) + "-" + name(s) + ((state & cdsSelected) ? "*" : ""));
    if (s == TCustomDrawStage::cdPrePaint && n->Text() == u"B")
      static_cast<TTreeView*>(sender)->Canvas().BrushColor = clRed;  // B on red
    if (s == TCustomDrawStage::cdPrePaint && n->Text() == u"a1") defaultDraw = false;
  };
  a->Expand(false);
  tree->SetSelected(a);
  stages.clear();
  tree->Repaint();
  EXPECT_EQ(stages, (std::vector<std::string>{"tree", "tree-pre", "item:A", "A-pre*", "A-post*",
                                              "item:a1", "a1-pre", "item:a2", "a2-pre", "a2-post",
                                              "item:B", "B-pre", "B-post", "tree-post"}));
  desktop.Pump();
  TPoint p = At(b);
  EXPECT_EQ(ScreenAt(b->DisplayRect(true).Left + tree->ClientToScreen({0, 0}).X + 1, p.Y),
            gfx::RGB(255, 0, 0));
  // A skin's background colour.
  tree->Perform(TVM_SETBKCOLOR, 0, win::LPARAM(gfx::RGB(10, 20, 30)));
  desktop.Pump();
  TPoint corner = tree->ClientToScreen({tree->ClientWidth() - 3, tree->ClientHeight() - 3});
  EXPECT_EQ(ScreenAt(corner.X, corner.Y), gfx::RGB(10, 20, 30));
  EXPECT_EQ(tree->Perform(TVM_GETBKCOLOR, 0, 0), win::LRESULT(gfx::RGB(10, 20, 30)));
  // A skin's item height (scaling) moves the rows.
  int height = tree->ItemHeight();
  tree->Perform(TVM_SETITEMHEIGHT, win::WPARAM(height * 2), 0);
  EXPECT_EQ(b->DisplayRect(false).Top, 3 * height * 2);
  tree->Font().SetHeight(-30);  // a fixed height stays
  EXPECT_EQ(tree->Perform(TVM_GETITEMHEIGHT, 0, 0), height * 2);
  tree->Perform(TVM_SETITEMHEIGHT, win::WPARAM(-1), 0);
  EXPECT_GT(tree->ItemHeight(), height);  // from the font again
}

TEST_F(TreeViewTest, HotTrackingFollowsTheMouseWithAHandCursor) {
  AddDistricts();
  tree->SetHotTrack(true);
  b->Expand(false);
  tree->SetSelected(a);
  TPoint p = At(b->Item(1));
  Move(p.X, p.Y);
  EXPECT_EQ(tree->HotNode(), b->Item(1));
  EXPECT_EQ(win::GetCursor(), win::LoadCursorW(win::IDC_HAND));
  SaveScreen("tree-hot");
  TPoint empty = tree->ClientToScreen({150, 140});
  Move(empty.X, empty.Y);
  EXPECT_EQ(tree->HotNode(), nullptr);
  Move(10, 10);  // off the tree
  Move(p.X, p.Y);
  Move(10, 10);
  EXPECT_EQ(tree->HotNode(), nullptr);
}

TEST_F(TreeViewTest, DumpListsNodesWithScreenRects) {
  InstallFormDump();
  AddDistricts();
  tree->SetHint(u"Choose a school");
  tree->SetSelected(b->Item(0));
  std::string dump = backend::DumpWindows();
  TPoint tl = tree->ClientToScreen({0, 0});
  TRect r = a->DisplayRect(true);
  std::string rect = "[" + std::to_string(tl.X + r.Left) + "," + std::to_string(tl.Y + r.Top) +
                     "," + std::to_string(tl.X + r.Right) + "," + std::to_string(tl.Y + r.Bottom) +
                     "]";
  EXPECT_NE(dump.find(R"("nodes":[{"text":"A","data":-1,"level":0,"expanded":false,)"
                      R"("selected":false,"rect":)" +
                      rect +
                      R"(},{"text":"a1","data":1,"level":1,"expanded":false,)"
                      R"("selected":false,"rect":null})"),
            std::string::npos)
      << dump;
  EXPECT_NE(dump.find(R"({"text":"b1","data":11,"level":1,"expanded":false,"selected":true,)"
                      R"("rect":[)"),
            std::string::npos)
      << dump;
  EXPECT_NE(dump.find(R"("hint":"Choose a school")"), std::string::npos);
}

// The catalogue's look: Tahoma 19 px, indent 19, districts with schools. Screenshots for people
// to judge; the pixels checked are the selection's and the button's.
TEST_F(TreeViewTest, DrawsButtonsLinesSelectionAndScrollBars) {
  tree->SetBounds(10, 10, 300, 230);
  tree->Font().SetHeight(-19);
  tree->Font().SetColor(clBlack);
  auto& items = tree->Items();
  const char16_t* districts[] = {u"Заречный район", u"Лесной район", u"Озёрный район",
                                 u"Центральный район"};
  for (const char16_t* d : districts) {
    TTreeNode* n = items.AddObject(nullptr, d, -1);
    for (int i = 1; i <= 3; ++i)
      items.AddChildObject(
          n, u"Средняя общеобразовательная школа № " + Utf8ToUtf16(std::to_string(i)), i);
  }
  desktop.Pump();
  EXPECT_FALSE(HasStyle(win::WS_VSCROLL));
  SaveScreen("tree-collapsed");
  TTreeNode* first = items.Item(0);
  // The + box: its centre column holds the vertical stroke while collapsed.
  TRect r = first->DisplayRect(true);
  TPoint centre = tree->ClientToScreen({r.Left - tree->Indent() / 2, (r.Top + r.Bottom) / 2});
  EXPECT_EQ(ScreenAt(centre.X, centre.Y - 2), ColorToRGB(clWindowText));
  tree->FullExpand();
  desktop.Pump();
  EXPECT_EQ(ScreenAt(centre.X, centre.Y - 2), ColorToRGB(clWindow));  // now a minus
  EXPECT_TRUE(HasStyle(win::WS_VSCROLL));
  EXPECT_TRUE(HasStyle(win::WS_HSCROLL));
  TTreeNode* school = first->Item(1);
  tree->SetSelected(school);
  desktop.Pump();
  TRect s = school->DisplayRect(true);
  TPoint in = tree->ClientToScreen({s.Left + 1, s.Top + 1});
  EXPECT_EQ(ScreenAt(in.X, in.Y), ColorToRGB(clHighlight));
  SaveScreen("tree-expanded-selected");
  // Without the focus the selection is hidden (HideSelection) or grey.
  (new TBox(form, form, {330, 10, 350, 30}, clRed))->SetFocus();
  desktop.Pump();
  EXPECT_FALSE(tree->Focused());
  EXPECT_EQ(ScreenAt(in.X, in.Y), ColorToRGB(clWindow));
  tree->SetHideSelection(false);
  desktop.Pump();
  EXPECT_EQ(ScreenAt(in.X, in.Y), ColorToRGB(clBtnFace));
  SaveScreen("tree-selected-unfocused");
}

// At 150 % the indent and the +/- box grow: the box's frame lies at the scaled half size from
// the cell's centre, its sign's arm reaches further, and a click there still toggles; back at
// 100 % both sizes are the old ones again.
TEST_F(TreeViewTest, TheIndentAndTheButtonsScaleWithTheControl) {
  AddDistricts();
  tree->ChangeScale(3, 2);
  desktop.Pump();
  EXPECT_EQ(tree->Indent(), 29);
  EXPECT_EQ(tree->ButtonSize(), 14);
  auto centre = [&] {
    const TRect r = a->DisplayRect(true);
    return tree->ClientToScreen({r.Left - tree->Indent() / 2, (r.Top + r.Bottom) / 2});
  };
  const TPoint c = centre();
  EXPECT_EQ(ScreenAt(c.X - 7, c.Y), ColorToRGB(clGray));        // the frame, 7 away
  EXPECT_EQ(ScreenAt(c.X, c.Y - 5), ColorToRGB(clWindowText));  // the + reaches 5 up
  EXPECT_EQ(ScreenAt(c.X, c.Y - 6), ColorToRGB(clWindow));
  Click(c.X + 4, c.Y + 4);
  desktop.Pump();
  EXPECT_TRUE(a->Expanded());
  EXPECT_EQ(ScreenAt(c.X, c.Y - 5), ColorToRGB(clWindow));  // now a minus
  tree->ChangeScale(2, 3);
  EXPECT_EQ(tree->Indent(), 19);
  EXPECT_EQ(tree->ButtonSize(), 9);
}

// A form whose handlers the test publishes.
class TOwnerForm : public TForm {
 public:
  using TForm::PublishMethod;
  using TForm::TForm;
};

TEST_F(TreeViewTest, WindowDescriptionsSetTheTreeAndWireItsChange) {
  auto* owner = app->CreateForm<TOwnerForm>();
  int changes = 0;
  owner->PublishMethod("TreeChange", [&](TComponent*) { ++changes; });
  ReadComponentText(owner, R"(object F: TForm
  object T: TTreeView
    Indent = 25
    ShowLines = False
    ShowRoot = False
    HotTrack = True
    ReadOnly = True
    RowSelect = True
    HideSelection = False
    AutoExpand = True
    SortType = stText
    Cursor = crHandPoint
    OnChange = TreeChange
  end
end)",
                    "Tree.txt", ".");
  auto* t = static_cast<TTreeView*>(owner->FindComponent("T"));
  ASSERT_NE(t, nullptr);
  EXPECT_EQ(t->Indent(), 25);
  EXPECT_FALSE(t->ShowLines());
  EXPECT_FALSE(t->ShowRoot());
  EXPECT_TRUE(t->HotTrack() && t->ReadOnly() && t->RowSelect() && t->AutoExpand());
  EXPECT_FALSE(t->HideSelection());
  EXPECT_EQ(t->SortType(), TSortType::stText);
  t->SetSelected(t->Items().Add(nullptr, u"X"));
  EXPECT_EQ(changes, 1);
}

TEST_F(TreeViewTest, RightClickSelectsOnlyWhenAskedAndOnlyTheNodePressed) {
  AddDistricts();
  tree->Items().Item(0)->Expand(false);
  desktop.Pump();
  TTreeNode* a1 = a->Item(0);
  auto rightClick = [&](TPoint down, TPoint up) {
    win::InjectMouseMove(down);
    win::InjectMouseButton(1, true, down);
    win::InjectMouseMove(up);
    win::InjectMouseButton(1, false, up);
    desktop.Pump();
  };
  rightClick(At(a1), At(a1));
  EXPECT_EQ(tree->Selected(), nullptr);  // off by default
  tree->SetRightClickSelect(true);
  rightClick(At(a1), At(b));  // released over another node
  EXPECT_EQ(tree->Selected(), nullptr);
  rightClick(At(a1), At(a1));
  EXPECT_EQ(tree->Selected(), a1);
  EXPECT_EQ(log.back(), "change:a1");
  // A node pressed and then removed is not selected by a later release.
  const TPoint overA1 = At(a1);
  win::InjectMouseMove(At(b));
  win::InjectMouseButton(1, true, At(b));
  desktop.Pump();
  tree->Items().Clear();
  win::InjectMouseButton(1, false, overA1);
  desktop.Pump();
  EXPECT_EQ(tree->Selected(), nullptr);
}

// A tree that refuses custom drawing, as a skin does while it updates.
class TNoCustomDrawTree : public TTreeView {
 public:
  using TTreeView::TTreeView;
  bool customDrawn = true;

 protected:
  bool IsCustomDrawn() const override { return customDrawn; }
};

TEST_F(TreeViewTest, UpdatesBracketRedrawAndCustomDrawCanBeHeld) {
  auto* own = new TNoCustomDrawTree(form);
  own->SetBounds(220, 10, 150, 150);
  own->SetParent(form);
  desktop.Pump();
  std::vector<int> redraw;
  const TWndHookId hook = own->HookWindowProc([&](TMessage& m, const TWndNext& next) {
    if (m.Msg == win::WM_SETREDRAW) redraw.push_back(int(m.WParam));
    next(m);
  });
  own->Items().BeginUpdate();
  own->Items().BeginUpdate();
  own->Items().Add(nullptr, u"x");
  own->Items().EndUpdate();
  EXPECT_EQ(redraw, (std::vector<int>{0}));  // only the outer pair
  own->Items().EndUpdate();
  EXPECT_EQ(redraw, (std::vector<int>{0, 1}));
  int items = 0, whole = 0;
  own->OnAdvancedCustomDrawItem = [&](TCustomControl*, TTreeNode*, TCustomDrawState,
                                      TCustomDrawStage, bool&, bool&) { ++items; };
  own->OnAdvancedCustomDraw = [&](TCustomControl*, const TRect&, TCustomDrawStage, bool&) {
    ++whole;
  };
  own->Repaint();
  EXPECT_EQ(items, 2);  // pre- and post-paint of the one node
  EXPECT_EQ(whole, 2);
  own->customDrawn = false;
  own->Repaint();
  EXPECT_EQ(items, 2);
  EXPECT_EQ(whole, 2);
  // The item height set by hand holds until it is given back to the font.
  own->SetItemHeight(30);
  EXPECT_EQ(own->ItemHeight(), 30);
  EXPECT_EQ(own->Items().Item(0)->DisplayRect(false).Height(), 30);
  own->SetItemHeight(0);
  EXPECT_LT(own->ItemHeight(), 30);
  own->UnhookWindowProc(hook);
  own->OnAdvancedCustomDrawItem = nullptr;
  own->OnAdvancedCustomDraw = nullptr;
}

TEST_F(TreeViewTest, NodePicturesKeepACellBeforeEveryText) {
  AddDistricts();
  a->Expand(false);
  const int plainLeft = a->DisplayRect(true).Left;
  auto* list = new TImageList(form);
  list->SetSize(12, 24);
  gfx::Bitmap red(12, 24), blue(12, 24);
  red.Fill(gfx::MakePixel(0, 0, 255, 255));
  blue.Fill(gfx::MakePixel(255, 0, 0, 255));
  list->Add(u"red", red);
  list->Add(u"blue", blue);
  a->SetImageIndex(0);
  a->Item(1)->SetImageIndex(1);
  a->Item(0)->SetImageIndex(7);  // not in the list: an empty cell
  tree->SetImages(list);
  desktop.Pump();
  // Rows grow to hold the pictures; every text moves right by the cell.
  EXPECT_EQ(tree->ItemHeight(), 26);
  EXPECT_EQ(a->DisplayRect(true).Left, plainLeft + 12 + 5);
  EXPECT_EQ(b->DisplayRect(true).Left, plainLeft + 12 + 5);
  auto pictureAt = [&](TTreeNode* n, int dx, int dy) {
    const TRect r = n->DisplayRect(true);
    const TPoint p = tree->ClientToScreen({r.Left - 12 - 3 + dx, r.Top + 1 + dy});
    return ScreenAt(p.X, p.Y);
  };
  EXPECT_EQ(pictureAt(a, 0, 0), gfx::RGB(255, 0, 0));
  EXPECT_EQ(pictureAt(a, 11, 23), gfx::RGB(255, 0, 0));
  EXPECT_EQ(pictureAt(a, 12, 0), ColorToRGB(clWindow));
  EXPECT_EQ(pictureAt(a->Item(1), 5, 5), gfx::RGB(0, 0, 255));
  EXPECT_EQ(pictureAt(a->Item(0), 5, 5), ColorToRGB(clWindow));
  EXPECT_EQ(pictureAt(b, 5, 5), ColorToRGB(clWindow));
  // A click on the picture selects its node.
  const TRect r = b->DisplayRect(true);
  const TPoint p = tree->ClientToScreen({r.Left - 10, (r.Top + r.Bottom) / 2});
  Click(p.X, p.Y);
  EXPECT_EQ(tree->Selected(), b);
  // A new index repaints the row.
  a->Item(0)->SetImageIndex(1);
  desktop.Pump();
  EXPECT_EQ(pictureAt(a->Item(0), 5, 5), gfx::RGB(0, 0, 255));
  // The list freed: the tree forgets it and the texts move back.
  delete list;
  EXPECT_EQ(tree->Images(), nullptr);
  desktop.Pump();
  EXPECT_EQ(a->DisplayRect(true).Left, plainLeft);
}

TEST_F(TreeViewTest, ABoldNodeIsMeasuredAndDrawnBold) {
  auto& items = tree->Items();
  TTreeNode* plain = items.Add(nullptr, u"Museum of Music");
  TTreeNode* bold = items.Add(nullptr, u"Museum of Music");
  desktop.Pump();
  const int width = plain->DisplayRect(true).Width();
  bold->SetBold(true);
  desktop.Pump();
  EXPECT_GT(bold->DisplayRect(true).Width(), width);
  EXPECT_EQ(plain->DisplayRect(true).Width(), width);
  // More ink in the bold row than in the plain one.
  auto ink = [&](TTreeNode* n) {
    const TRect r = n->DisplayRect(true);
    int dark = 0;
    for (int y = r.Top; y < r.Bottom; ++y)
      for (int x = r.Left; x < r.Right; ++x) {
        const TPoint p = tree->ClientToScreen({x, y});
        if (gfx::GetRValue(ScreenAt(p.X, p.Y)) < 128) ++dark;
      }
    return dark;
  };
  EXPECT_GT(ink(bold), ink(plain) * 11 / 10);
  bold->SetBold(false);
  EXPECT_EQ(bold->DisplayRect(true).Width(), width);
}

// Dragging nodes: a tree that drags itself automatically onto a panel.
class TreeDragTest : public TreeViewTest {
 protected:
  void SetUp() override {
    TreeViewTest::SetUp();
    AddDistricts();
    tree->SetDragMode(TDragMode::dmAutomatic);
    panel = new TPanel(form);
    panel->SetBounds(250, 10, 100, 100);
    panel->SetParent(form);
    panel->OnDragOver = [this](TComponent* sender, TComponent* source, int, int, TDragState state,
                               bool& accept) {
      static const char* names[] = {"enter", "leave", "move"};
      log.push_back(std::string("over:") + names[int(state)] + (source == tree ? "" : "?") +
                    (sender == panel ? "" : "!"));
      accept = accepting;
    };
    panel->OnDragDrop = [this](TComponent*, TComponent* source, int x, int y) {
      log.push_back("drop:" + std::to_string(x) + "," + std::to_string(y) +
                    (source == tree ? "" : "?"));
    };
    tree->OnEndDrag = [this](TComponent*, TComponent* target, int, int) {
      log.push_back(std::string("end:") + (!target ? "none" : target == panel ? "panel" : "?"));
    };
    desktop.Pump();
  }
  void Press(TPoint p) {
    win::InjectMouseMove(p);
    win::InjectMouseButton(0, true, p);
    desktop.Pump();
  }
  void MoveTo(TPoint p) {
    win::InjectMouseMove(p);
    desktop.Pump();
  }
  void Release(TPoint p) {
    win::InjectMouseButton(0, false, p);
    desktop.Pump();
  }
  TPoint InPanel(int x, int y) { return panel->ClientToScreen({x, y}); }

  TPanel* panel = nullptr;
  bool accepting = true;
};

TEST_F(TreeDragTest, ADragStartsPastTheThresholdAndDropsOnAControlThatAcceptsIt) {
  const TPoint start = At(b);
  Press(start);
  EXPECT_EQ(tree->Selected(), b);  // the press selects first
  EXPECT_TRUE(tree->Dragging());
  EXPECT_FALSE(TDragSession::Active());
  MoveTo({start.X + TControl::DragThreshold - 1, start.Y});
  EXPECT_FALSE(TDragSession::Active());
  log.clear();
  // Past the threshold, over the tree itself, which takes no drop.
  MoveTo({start.X + TControl::DragThreshold, start.Y});
  EXPECT_TRUE(TDragSession::Active());
  EXPECT_EQ(TDragSession::Target(), tree);
  EXPECT_FALSE(TDragSession::Accepted());
  EXPECT_EQ(win::GetCursor(), win::LoadCursorW(CursorResource(crNoDrop)));
  MoveTo(InPanel(20, 30));
  MoveTo(InPanel(40, 50));
  EXPECT_EQ(win::GetCursor(), win::LoadCursorW(CursorResource(crDrag)));
  EXPECT_EQ(win::GetCapture(), tree->Handle());
  Release(InPanel(40, 50));
  EXPECT_EQ(log, (std::vector<std::string>{"over:enter", "over:move", "drop:40,50", "end:panel"}));
  EXPECT_FALSE(tree->Dragging());
  EXPECT_EQ(win::GetCapture(), nullptr);
  EXPECT_NE(win::GetCursor(), win::LoadCursorW(CursorResource(crDrag)));
  // The mouse is free again: moving over the panel asks nothing.
  log.clear();
  MoveTo(InPanel(50, 50));
  EXPECT_TRUE(log.empty());
}

TEST_F(TreeDragTest, EscapeARefusalOrAShortPressEndWithoutADrop) {
  // Escape over the panel: it hears the drag leave, the tree hears it ended nowhere.
  Press(At(b));
  MoveTo(InPanel(20, 30));
  log.clear();
  Key(kEscape);
  EXPECT_EQ(log, (std::vector<std::string>{"over:leave", "end:none"}));
  EXPECT_FALSE(tree->Dragging());
  EXPECT_EQ(win::GetCapture(), nullptr);
  log.clear();
  Release(InPanel(20, 30));
  MoveTo(InPanel(30, 30));
  EXPECT_TRUE(log.empty());

  // A panel that refuses gets no drop.
  accepting = false;
  Press(At(a));
  MoveTo(InPanel(20, 30));
  EXPECT_EQ(win::GetCursor(), win::LoadCursorW(CursorResource(crNoDrop)));
  log.clear();
  Release(InPanel(20, 30));
  EXPECT_EQ(log, (std::vector<std::string>{"over:leave", "end:none"}));

  // Released before the threshold: a click on the tree and no drag event.
  log.clear();
  const TPoint p = At(b);
  Press(p);
  MoveTo({p.X + 1, p.Y + 1});
  Release({p.X + 1, p.Y + 1});
  EXPECT_FALSE(tree->Dragging());
  EXPECT_EQ(win::GetCapture(), nullptr);
  EXPECT_EQ(std::count(log.begin(), log.end(), "click"), 1);
  for (const std::string& line : log) EXPECT_NE(line.substr(0, 3), "end") << line;
}

TEST_F(TreeDragTest, ATargetFreedDuringTheDragIsForgottenAndBeginDragStartsAtOnce) {
  Press(At(b));
  MoveTo(InPanel(20, 30));
  ASSERT_EQ(TDragSession::Target(), panel);
  delete panel;
  panel = nullptr;
  EXPECT_EQ(TDragSession::Target(), nullptr);
  log.clear();
  Release(At(b));
  EXPECT_EQ(log, (std::vector<std::string>{"end:none"}));

  // A manual drag begun at once is over its target without moving.
  tree->SetDragMode(TDragMode::dmManual);
  auto* target = new TPanel(form);
  target->SetBounds(250, 150, 60, 60);
  target->SetParent(form);
  int overs = 0;
  target->OnDragOver = [&](TComponent*, TComponent*, int, int, TDragState, bool&) { ++overs; };
  desktop.Pump();
  MoveTo(target->ClientToScreen({5, 5}));
  tree->BeginDrag(true);
  EXPECT_TRUE(TDragSession::Active());
  EXPECT_EQ(TDragSession::Target(), target);
  EXPECT_TRUE(TDragSession::Accepted());  // a handler that leaves accept alone accepts
  EXPECT_EQ(overs, 1);
  log.clear();
  tree->EndDrag(false);
  EXPECT_EQ(log, (std::vector<std::string>{"end:none"}));
  EXPECT_EQ(win::GetCapture(), nullptr);
}

TEST_F(TreeDragTest, ControlsFreedByTheDragsHandlersAreNeitherAskedNorReported) {
  // Leaving the panel frees the control the mouse moves onto: that one is not asked, and the
  // drag goes on over what lies there now.
  auto* second = new TPanel(form);
  second->SetBounds(250, 120, 100, 100);
  second->SetParent(form);
  int secondAsked = 0;
  second->OnDragOver = [&](TComponent*, TComponent*, int, int, TDragState, bool&) {
    ++secondAsked;
  };
  panel->OnDragOver = [&](TComponent*, TComponent*, int, int, TDragState state, bool&) {
    if (state == TDragState::dsDragLeave && second) {
      TPanel* going = second;
      second = nullptr;
      delete going;
    }
  };
  desktop.Pump();
  const TPoint inSecond = second->ClientToScreen({20, 20});
  Press(At(b));
  MoveTo(InPanel(20, 30));
  ASSERT_EQ(TDragSession::Target(), panel);
  MoveTo(inSecond);
  EXPECT_EQ(second, nullptr);
  EXPECT_EQ(secondAsked, 0);
  EXPECT_EQ(TDragSession::Target(), form);
  EXPECT_FALSE(TDragSession::Accepted());
  log.clear();
  Release(inSecond);
  EXPECT_EQ(log, (std::vector<std::string>{"end:none"}));

  // A target freed by its own drop handler reaches the source's end as no target.
  panel->OnDragOver = [](TComponent*, TComponent*, int, int, TDragState, bool& accept) {
    accept = true;
  };
  panel->OnDragDrop = [this](TComponent*, TComponent*, int, int) {
    log.push_back("drop");
    TPanel* going = panel;
    panel = nullptr;
    delete going;
  };
  Press(At(a));  // not At(b) again: that would be a double click, which starts no drag
  MoveTo(InPanel(20, 30));
  ASSERT_TRUE(TDragSession::Accepted());
  const TPoint at = InPanel(25, 30);
  MoveTo(at);
  log.clear();
  Release(at);
  EXPECT_EQ(panel, nullptr);
  EXPECT_EQ(log, (std::vector<std::string>{"drop", "end:none"}));
  EXPECT_EQ(win::GetCapture(), nullptr);

  // A windowless source freed during its drag: no events, and its window lets the mouse go.
  auto* block = new TBlock(form, form, {10, 200, 40, 40}, clRed);
  int blockEnds = 0;
  block->OnEndDrag = [&](TComponent*, TComponent*, int, int) { ++blockEnds; };
  desktop.Pump();
  MoveTo(block->ClientToScreen({5, 5}));
  block->BeginDrag(true);
  ASSERT_TRUE(TDragSession::Active());
  ASSERT_EQ(win::GetCapture(), form->Handle());
  delete block;
  EXPECT_EQ(TDragSession::Source(), nullptr);
  EXPECT_EQ(win::GetCapture(), nullptr);
  EXPECT_EQ(blockEnds, 0);
}

}  // namespace
}  // namespace fw::test
