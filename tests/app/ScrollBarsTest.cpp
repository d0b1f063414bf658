// The skinned scroll bars of the main window's tree and memo, driven with the mouse on the
// headless desktop and its virtual clock: the auto-repeat of an arrow, a thumb drag, a press
// ended by a message box, and the bars' pixels on the screen against the bars painted alone.
#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "Catalogue.h"
#include "Forms.h"
#include "framework/Dialogs.h"
#include "framework/TextConv.h"
#include "platform/win/Input.h"
#include "platform/win/Messages.h"
#include "platform/win/ScrollInfo.h"
#include "platform/win/Window.h"
#include "skin/controls/sControls.h"
#include "skin/frame/acSBUtils.h"

namespace app::test {
namespace {

using skin::frame::TacBarLayout;
using skin::frame::TacScrollWnd;

constexpr unsigned kEnterKey = 0x1C;

class ScrollBarsTest : public FormsTest {
 protected:
  void SetUp() override {
    FormsTest::SetUp();
    Start(SampleFolder());
    Form1->Show();
    desktop.Pump();
    Form1->sTreeView2->FullExpand();
    desktop.Pump();
    hook = Form1->sTreeView2->HookWindowProc([this](fw::TMessage& m, const fw::TWndNext& next) {
      if (m.Msg == win::WM_VSCROLL)
        log.push_back({desktop.Now() - t0, win::LOWORD(std::uintptr_t(m.WParam))});
      next(m);
    });
  }
  void TearDown() override {
    Form1->sTreeView2->UnhookWindowProc(hook);
    FormsTest::TearDown();
  }
  static TacScrollWnd* Bars(fw::TControl* c) {
    auto* listSW = dynamic_cast<skin::controls::TsSkinnedControl*>(c);
    EXPECT_NE(listSW, nullptr);
    TacScrollWnd* sw = nullptr;
    if (auto* tree = dynamic_cast<skin::controls::TsTreeView*>(c))
      sw = dynamic_cast<TacScrollWnd*>(tree->Wrapper());
    if (auto* memo = dynamic_cast<skin::controls::TsMemo*>(c))
      sw = dynamic_cast<TacScrollWnd*>(memo->Wrapper());
    EXPECT_NE(sw, nullptr);
    return sw;
  }
  TacScrollWnd* TreeBars() { return Bars(Form1->sTreeView2); }
  // The vertical bar of a control on the screen.
  static gfx::TRect ScreenBar(TacScrollWnd* sw, const TacBarLayout& l) {
    win::RECT wr;
    win::GetWindowRect(sw->CtrlHandle, &wr);
    return l.Bar.Offset(wr.Left, wr.Top);
  }
  gfx::TPoint DownArrow() {
    const TacBarLayout l = TreeBars()->Layout(win::SB_VERT);
    const gfx::TRect r = ScreenBar(TreeBars(), l);
    return {(r.Left + r.Right) / 2, r.Bottom - l.Button / 2};
  }
  gfx::TPoint ThumbCentre() {
    const TacBarLayout l = TreeBars()->Layout(win::SB_VERT);
    const gfx::TRect r = ScreenBar(TreeBars(), l);
    return {(r.Left + r.Right) / 2, r.Top + l.Button + l.Thumb.Offset + l.Thumb.Size / 2};
  }
  void Press(gfx::TPoint p) {
    win::InjectMouseMove(p);
    desktop.Pump();
    t0 = desktop.Now();
    win::InjectMouseButton(0, true, p);
    desktop.Pump();
  }
  void Release(gfx::TPoint p) {
    win::InjectMouseButton(0, false, p);
    desktop.Pump();
  }
  std::vector<win::DWORD> TimesOf(win::WORD code) const {
    std::vector<win::DWORD> times;
    for (const auto& [at, c] : log)
      if (c == code) times.push_back(at);
    return times;
  }
  // The bar on the screen is the bar painted alone, pixel by pixel: nothing of the system's.
  void ExpectScreenIsTheSkinnedBar(TacScrollWnd* sw, const char* what) {
    const TacBarLayout l = sw->Layout(win::SB_VERT);
    ASSERT_FALSE(l.Bar.IsEmpty()) << what;
    const gfx::TRect r = ScreenBar(sw, l);
    gfx::Bitmap alone(r.Width(), r.Height());
    sw->PaintBar(win::SB_VERT, alone);
    const gfx::Bitmap screen = desktop.Compose();
    int differing = 0;
    for (int y = 0; y < r.Height(); ++y)
      for (int x = 0; x < r.Width(); ++x)
        differing += (screen.At(r.Left + x, r.Top + y) & 0xFFFFFF) != (alone.At(x, y) & 0xFFFFFF);
    EXPECT_EQ(differing, 0) << what;
  }

  fw::TWndHookId hook = 0;
  win::DWORD t0 = 0;
  std::vector<std::pair<win::DWORD, win::WORD>> log;  // WM_VSCROLL codes by time since the press
};

TEST_F(ScrollBarsTest, TheDownArrowScrollsAtOnceThenEvery55msAfter300AndPausesOffIt) {
  ASSERT_EQ(Form1->sTreeView2->TopRow(), 0);
  const gfx::TPoint arrow = DownArrow();
  Press(arrow);
  EXPECT_EQ(TreeBars()->PressedPart(win::SB_VERT), skin::frame::HTSCROLL_DOWN);
  desktop.Advance(600);
  EXPECT_EQ(TimesOf(win::SB_LINEDOWN), (std::vector<win::DWORD>{0, 355, 410, 465, 520, 575}));
  EXPECT_EQ(Form1->sTreeView2->TopRow(), 6);
  // Off the arrow (onto the track above it) the repeat pauses; back on it, it goes on.
  win::InjectMouseMove({arrow.X, arrow.Y - 60});
  desktop.Advance(200);
  EXPECT_EQ(TimesOf(win::SB_LINEDOWN).size(), 6u);
  EXPECT_EQ(TreeBars()->PressedPart(win::SB_VERT), skin::frame::HTSCROLL_NONE);
  win::InjectMouseMove(arrow);
  desktop.Advance(110);
  EXPECT_EQ(TimesOf(win::SB_LINEDOWN),
            (std::vector<win::DWORD>{0, 355, 410, 465, 520, 575, 850, 905}));
  Release(arrow);
  ASSERT_FALSE(log.empty());
  EXPECT_EQ(log.back().second, win::SB_ENDSCROLL);
  const std::size_t after = log.size();
  desktop.Advance(300);
  EXPECT_EQ(log.size(), after);
  EXPECT_EQ(Form1->sTreeView2->TopRow(), 8);
  EXPECT_EQ(TreeBars()->PressedPart(win::SB_VERT), skin::frame::HTSCROLL_NONE);
}

TEST_F(ScrollBarsTest, AThumbDragSendsTrackMessagesAndLeavesTheTopRowWhereItWasDragged) {
  TacScrollWnd* sw = TreeBars();
  const TacBarLayout before = sw->Layout(win::SB_VERT);
  ASSERT_GT(before.Thumb.Size, 0);
  const gfx::TPoint grab = ThumbCentre();
  Press(grab);
  win::InjectMouseMove({grab.X, grab.Y + 100});
  desktop.Pump();
  const TacBarLayout dragged = sw->Layout(win::SB_VERT);
  EXPECT_EQ(dragged.Thumb.Offset, before.Thumb.Offset + 100);
  EXPECT_EQ(sw->PressedPart(win::SB_VERT), skin::frame::HTSCROLL_THUMB);
  ExpectScreenIsTheSkinnedBar(sw, "the tree while its thumb is dragged");
  const int track = before.Bar.Height() - 2 * before.Button;
  const int expected =
      skin::frame::ThumbPosition(before.Thumb.Offset + 100, track, before.Thumb.Size,
                                 before.Info.nMin, before.Info.nMax, before.Info.nPage);
  EXPECT_GT(expected, 0);
  EXPECT_EQ(Form1->sTreeView2->TopRow(), expected);
  EXPECT_FALSE(TimesOf(win::SB_THUMBTRACK).empty());
  Release({grab.X, grab.Y + 100});
  ASSERT_GE(log.size(), 2u);
  EXPECT_EQ(log[log.size() - 2].second, win::SB_THUMBPOSITION);
  EXPECT_EQ(log.back().second, win::SB_ENDSCROLL);
  EXPECT_EQ(Form1->sTreeView2->TopRow(), expected);
  EXPECT_EQ(win::GetScrollPos(Form1->sTreeView2->Handle(), win::SB_VERT), expected);
  EXPECT_FALSE(sw->ThumbTracking());
}

TEST_F(ScrollBarsTest, AMessageBoxOpenedDuringAPressStopsTheRepeat) {
  const gfx::TPoint arrow = DownArrow();
  Press(arrow);
  desktop.Advance(100);
  desktop.Schedule(10, [] {
    win::InjectKey(kEnterKey, true);
    win::InjectKey(kEnterKey, false);
  });
  fw::ShowMessage(u"A box over the press");
  desktop.Pump();
  ASSERT_FALSE(log.empty());
  EXPECT_EQ(log.back().second, win::SB_ENDSCROLL);
  const int top = Form1->sTreeView2->TopRow();
  const std::size_t after = log.size();
  desktop.Advance(1000);
  EXPECT_EQ(log.size(), after);
  EXPECT_EQ(Form1->sTreeView2->TopRow(), top);
  EXPECT_EQ(TreeBars()->PressedPart(win::SB_VERT), skin::frame::HTSCROLL_NONE);
  EXPECT_EQ(win::GetCapture(), nullptr);
}

// The wheel, the keys and a page click scroll as before, and the bar on the screen follows.
TEST_F(ScrollBarsTest, WheelKeysAndPageClicksScrollAndTheBarFollows) {
  fw::TTreeView* tree = Form1->sTreeView2;
  tree->SetFocus();
  desktop.Pump();
  const gfx::TPoint inside = tree->ClientToScreen({50, 50});
  win::InjectMouseWheel(-120, false, inside);
  desktop.Pump();
  const int wheeled = tree->TopRow();
  EXPECT_GT(wheeled, 0);
  EXPECT_EQ(TreeBars()->Layout(win::SB_VERT).Info.nPos, wheeled);
  ExpectScreenIsTheSkinnedBar(TreeBars(), "after the wheel");
  constexpr unsigned kPageDown = 0xE051;
  win::InjectKey(kPageDown, true);
  win::InjectKey(kPageDown, false);
  desktop.Pump();
  EXPECT_GT(tree->TopRow(), wheeled);
  ExpectScreenIsTheSkinnedBar(TreeBars(), "after Page Down");
  // A click on the track below the thumb scrolls a page less one row.
  const int before = tree->TopRow();
  const TacBarLayout l = TreeBars()->Layout(win::SB_VERT);
  const gfx::TRect r = ScreenBar(TreeBars(), l);
  const gfx::TPoint below{(r.Left + r.Right) / 2,
                          r.Top + l.Button + l.Thumb.Offset + l.Thumb.Size + 5};
  Press(below);
  Release(below);
  EXPECT_EQ(TimesOf(win::SB_PAGEDOWN).size(), 1u);
  EXPECT_EQ(tree->TopRow(), before + std::max(1, int(l.Info.nPage) - 1));
  ExpectScreenIsTheSkinnedBar(TreeBars(), "after a page click");
}

// With the skin off the tree's wrapper comes off and the system's bar is back in the same room;
// with the skin on again a new wrapper paints the skinned bar.
TEST_F(ScrollBarsTest, TheSkinOffGivesTheSystemBarBackAndOnAgainANewWrapper) {
  auto* manager = dynamic_cast<skin::core::TsSkinManager*>(Form1->FindComponent("sSkinManager1"));
  ASSERT_NE(manager, nullptr);
  auto* tree = dynamic_cast<skin::controls::TsTreeView*>(Form1->sTreeView2);
  ASSERT_NE(tree, nullptr);
  const int clientWidth = tree->ClientWidth();
  const gfx::TRect skinned = ScreenBar(TreeBars(), TreeBars()->Layout(win::SB_VERT));
  manager->SetActive(false);
  desktop.Pump();
  EXPECT_TRUE(tree->Wrapper() == nullptr || tree->Wrapper()->Destroyed());
  EXPECT_EQ(tree->ClientWidth(), clientWidth);
  win::SCROLLBARINFO info;
  ASSERT_TRUE(win::GetScrollBarInfo(tree->Handle(), win::OBJID_VSCROLL, &info));
  EXPECT_EQ(gfx::TRect(info.rcScrollBar), skinned);
  manager->SetActive(true);
  desktop.Pump();
  ASSERT_NE(tree->Wrapper(), nullptr);
  EXPECT_FALSE(tree->Wrapper()->Destroyed());
  EXPECT_EQ(tree->ClientWidth(), clientWidth);
  ExpectScreenIsTheSkinnedBar(TreeBars(), "the tree after the skin came back");
}

TEST_F(ScrollBarsTest, NoSystemPixelInTheBarsOfTheTreeAndTheMemo) {
  Form1->sTreeView2->Perform(win::WM_VSCROLL, win::MAKEWPARAM(win::SB_THUMBPOSITION, 20), 0);
  desktop.Pump();
  ExpectScreenIsTheSkinnedBar(TreeBars(), "the tree");
  // The hovered arrow.
  win::InjectMouseMove(DownArrow());
  desktop.Advance(50);
  EXPECT_EQ(TreeBars()->HotPart(win::SB_VERT), skin::frame::HTSCROLL_DOWN);
  ExpectScreenIsTheSkinnedBar(TreeBars(), "the tree with its arrow hot");

  // The card with the memo: a text that fits shows the inactive bar; a long one scrolls.
  fw::TControl* panel = Form1->sMemo1->Parent();
  panel->Show();
  Form1->sMemo1->SetText(u"Одна строка");
  desktop.Pump();
  TacScrollWnd* memo = Bars(Form1->sMemo1);
  const TacBarLayout fits = memo->Layout(win::SB_VERT);
  EXPECT_FALSE(fits.Active);
  EXPECT_EQ(fits.Thumb.Size, 0);
  ExpectScreenIsTheSkinnedBar(memo, "the memo that fits its text");
  std::u16string longText;
  for (int i = 0; i < 60; ++i)
    longText += u"Строка " + fw::Utf8ToUtf16(std::to_string(i)) + u"\r\n";
  Form1->sMemo1->SetText(longText);
  desktop.Pump();
  const TacBarLayout scrolls = memo->Layout(win::SB_VERT);
  EXPECT_TRUE(scrolls.Active);
  EXPECT_GT(scrolls.Thumb.Size, 0);
  ExpectScreenIsTheSkinnedBar(memo, "the memo with a long text");
}

// A wrapped control that still erases its own background keeps doing so: a shorter text
// leaves nothing of the longer one behind it.
TEST_F(ScrollBarsTest, ANewTextInTheWrappedMemoLeavesNothingOfTheOldOne) {
  fw::TControl* panel = Form1->sMemo1->Parent();
  panel->Show();
  std::u16string longText;
  for (int i = 0; i < 8; ++i)
    longText += u"Длинная строка текста номер " + fw::Utf8ToUtf16(std::to_string(i)) + u"\r\n";
  Form1->sMemo1->SetText(longText);
  desktop.Pump();
  Form1->sMemo1->SetText(u"");
  desktop.Pump();
  auto* memo = static_cast<fw::TWinControl*>(Form1->sMemo1);
  win::POINT origin{0, 0};
  win::ClientToScreen(memo->Handle(), &origin);
  const gfx::Bitmap screen = desktop.Compose();
  const gfx::Pixel background = screen.At(origin.X + 1, origin.Y + 1) & 0xFFFFFF;
  int differing = 0;
  for (int y = 0; y < memo->ClientHeight(); ++y)
    for (int x = 0; x < memo->ClientWidth(); ++x)
      differing += (screen.At(origin.X + x, origin.Y + y) & 0xFFFFFF) != background;
  EXPECT_EQ(differing, 0);
}

}  // namespace
}  // namespace app::test
