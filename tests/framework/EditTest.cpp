#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "Harness.h"
#include "framework/Automation.h"
#include "framework/Edit.h"
#include "framework/EditCore.h"
#include "framework/Exception.h"
#include "framework/Memo.h"
#include "framework/Reader.h"
#include "framework/TextConv.h"
#include "platform/backend/Dump.h"
#include "platform/win/Clipboard.h"
#include "platform/win/ControlCodes.h"
#include "platform/win/Input.h"
#include "platform/win/KeyboardLayout.h"
#include "platform/win/ScrollInfo.h"
#include "platform/win/Window.h"

namespace fw::test {
namespace {

// Set-1 scan codes.
constexpr unsigned kCtrl = 0x1D, kBack = 0x0E, kHome = 0xE047, kEnd = 0xE04F, kLeft = 0xE04B,
                   kRight = 0xE04D, kUp = 0xE048, kDown = 0xE050, kPageUp = 0xE049,
                   kPageDown = 0xE051, kInsert = 0xE052, kDelete = 0xE053;
constexpr unsigned kA = 0x1E, kC = 0x2E, kV = 0x2F, kX = 0x2D, kZ = 0x2C;

class EditTest : public FrameworkTest {
 protected:
  void SetUp() override {
    FrameworkTest::SetUp();
    win::LoadKeyboardLayoutW(u"00000409", win::KLF_ACTIVATE);
    form = ShowForm(0, 0, 640, 480);
  }
  void TearDown() override {
    win::LoadKeyboardLayoutW(u"00000409", win::KLF_ACTIVATE);
    FrameworkTest::TearDown();
  }
  TEdit* MakeEdit(int x, int y, int w, int h) {
    auto* e = new TEdit(form);
    e->SetBounds(x, y, w, h);
    e->SetParent(form);
    e->OnChange = [this](TComponent*) { ++changes; };
    return e;
  }
  TMemo* MakeMemo(int x, int y, int w, int h) {
    auto* m = new TMemo(form);
    m->SetBounds(x, y, w, h);
    m->SetParent(form);
    m->OnChange = [this](TComponent*) { ++changes; };
    return m;
  }
  // A key pressed with a modifier held.
  void With(unsigned modifier, unsigned key) {
    win::InjectKey(modifier, true);
    Key(key);
    win::InjectKey(modifier, false);
    desktop.Pump();
  }
  void Type(const std::u16string& text) {
    win::InjectText(text);
    desktop.Pump();
  }
  // A point of a control's client area on the screen.
  TPoint At(TControl* c, int x, int y) { return c->ClientToScreen({x, y}); }
  win::SCROLLINFO Scroll(TMemo* m) {
    win::SCROLLINFO si;
    si.fMask = win::SIF_ALL;
    win::GetScrollInfo(m->Handle(), win::SB_VERT, &si);
    return si;
  }
  // The screen rectangle of a part of a memo's vertical bar.
  TRect BarPart(TMemo* m, TRect win::ScrollBarLayout::*part) {
    win::ScrollBarLayout l = win::GetScrollBarLayout(m->Handle(), win::SB_VERT);
    TRect wr;
    win::GetWindowRect(m->Handle(), &wr);
    return (l.*part).Offset(wr.Left, wr.Top);
  }
  std::vector<std::u16string> NumberedLines(int count) {
    std::vector<std::u16string> lines;
    for (int i = 0; i < count; ++i) lines.push_back(u"Строка " + Utf8ToUtf16(std::to_string(i)));
    return lines;
  }

  TForm* form = nullptr;
  int changes = 0;
};

TEST_F(EditTest, CyrillicTypedUnderTheRussianLayoutChangesTheTextOncePerKey) {
  TEdit* edit = MakeEdit(10, 10, 273, 31);
  edit->SetFocus();
  desktop.Pump();
  win::LoadKeyboardLayoutW(u"00000419", win::KLF_ACTIVATE);
  std::vector<std::u16string> seen;
  edit->OnChange = [&](TComponent*) { seen.push_back(edit->Text()); };
  // The keys G H B D T N type "привет" on the Russian layout.
  for (unsigned scan : {0x22u, 0x23u, 0x30u, 0x20u, 0x14u, 0x31u}) Key(scan);
  EXPECT_EQ(edit->Text(), u"привет");
  EXPECT_EQ(seen, (std::vector<std::u16string>{u"п", u"пр", u"при", u"прив", u"приве", u"привет"}));
  Key(kBack);
  EXPECT_EQ(edit->Text(), u"приве");
  Key(kLeft);
  Key(kLeft);
  Key(kDelete);
  EXPECT_EQ(edit->Text(), u"прие");
  EXPECT_EQ(seen.size(), 8u);
  // Ctrl+Backspace removes the word before the caret.
  Key(kEnd);
  With(kCtrl, kBack);
  EXPECT_EQ(edit->Text(), u"");
  EXPECT_EQ(seen.size(), 9u);
}

TEST_F(EditTest, TheCoreMovesByWordsAndNeverStopsInsideAPair) {
  TEditCore core;
  core.MultiLine = true;
  int changes = 0;
  core.OnChange = [&] { ++changes; };
  core.SetText(u"Музей  истории,школы\nвторая\rтретья");
  EXPECT_EQ(core.Text(), u"Музей  истории,школы\r\nвторая\r\nтретья");  // breaks made CR LF
  EXPECT_EQ(changes, 1);
  EXPECT_EQ(core.WordRight(0), 7);    // past the word and the spaces
  EXPECT_EQ(core.WordRight(7), 14);   // the comma is a word of its own
  EXPECT_EQ(core.WordRight(15), 20);  // stops at the line end
  EXPECT_EQ(core.WordRight(20), 22);  // then over the break
  EXPECT_EQ(core.WordLeft(22), 20);
  EXPECT_EQ(core.WordLeft(14), 7);
  EXPECT_EQ(core.WordAt(9), std::make_pair(7, 14));
  EXPECT_EQ(core.WordAt(20), std::make_pair(15, 20));  // at a line end: the word before
  core.SetSelection(21, 21);                           // between CR and LF
  EXPECT_EQ(core.Caret(), 20);
  EXPECT_EQ(core.NextPos(20), 22);
  EXPECT_EQ(core.PrevPos(22), 20);
  core.MoveCaret(22, false);
  EXPECT_TRUE(core.DeleteBackward(false));  // the whole break goes
  EXPECT_EQ(core.Text(), u"Музей  истории,школывторая\r\nтретья");
  // A cut at MaxLength keeps pairs whole.
  core.MaxLength = int(core.Text().size()) + 2;
  core.MoveCaret(0, false);
  EXPECT_TRUE(core.ReplaceSelection(u"x\r\ny"));
  EXPECT_EQ(core.Text().substr(0, 2), u"xМ");
  EXPECT_FALSE(core.ReplaceSelection(u"\U0001F600"));  // one unit left: no room for a pair
}

TEST_F(EditTest, AnErrorInOnChangeKeepsTheChangeAndTheEditUsable) {
  std::vector<std::string> errors;
  app->OnException = [&](TComponent*, const std::exception& e) { errors.push_back(e.what()); };
  TEdit* edit = MakeEdit(10, 10, 200, 24);
  edit->OnChange = [&](TComponent*) {
    if (edit->Text().find(u'\'') != std::u16string::npos) throw Exception(u"bad filter");
  };
  edit->SetFocus();
  desktop.Pump();
  Type(u"a'");
  EXPECT_EQ(errors.size(), 1u);
  EXPECT_EQ(edit->Text(), u"a'");
  Key(kBack);
  Type(u"b");
  EXPECT_EQ(edit->Text(), u"ab");
  EXPECT_EQ(errors.size(), 1u);
}

TEST_F(EditTest, KeyboardAndMouseSelectionAndTheClipboardRoundTrip) {
  TEdit* edit = MakeEdit(10, 10, 300, 24);
  edit->SetText(u"Музей истории школы");
  edit->SetFocus();
  desktop.Pump();
  // Focus from the keyboard selects all; Home collapses it.
  EXPECT_EQ(edit->SelLength(), 19);
  Key(kHome);
  EXPECT_EQ(edit->SelLength(), 0);
  win::InjectKey(kShift, true);
  With(kCtrl, kRight);
  win::InjectKey(kShift, false);
  desktop.Pump();
  EXPECT_EQ(edit->SelText(), u"Музей ");
  With(kCtrl, kC);
  EXPECT_EQ(win::GetClipboardText(), u"Музей ");
  Key(kEnd);
  changes = 0;
  With(kCtrl, kV);
  EXPECT_EQ(edit->Text(), u"Музей истории школыМузей ");
  EXPECT_EQ(changes, 1);  // a paste is one change
  // Shift+Delete cuts, Shift+Insert pastes, Ctrl+Insert copies.
  win::InjectKey(kShift, true);
  Key(kLeft);
  Key(kLeft);
  Key(kDelete);
  win::InjectKey(kShift, false);
  desktop.Pump();
  EXPECT_EQ(win::GetClipboardText(), u"й ");
  EXPECT_EQ(edit->Text(), u"Музей истории школыМузе");
  Key(kHome);
  With(kShift, kInsert);
  EXPECT_EQ(edit->Text(), u"й Музей истории школыМузе");
  With(kCtrl, kA);
  With(kCtrl, kInsert);
  EXPECT_EQ(win::GetClipboardText(), u"й Музей истории школыМузе");
  With(kCtrl, kX);
  EXPECT_EQ(edit->Text(), u"");

  // The mouse: a double-click selects a word, a drag selects, Shift+click extends.
  edit->SetText(u"alpha beta gamma");
  int beta = edit->PosToPoint(7).X;
  TPoint p = At(edit, beta, 5);
  win::InjectMouseMove(p);
  win::InjectMouseButton(0, true, p);
  win::InjectMouseButton(0, false, p);
  win::InjectMouseButton(0, true, p);
  win::InjectMouseButton(0, false, p);
  desktop.Pump();
  EXPECT_EQ(edit->SelText(), u"beta");
  desktop.Advance(1000);  // no longer a double-click
  TPoint from = At(edit, edit->PosToPoint(0).X, 5), to = At(edit, edit->PosToPoint(5).X, 5);
  win::InjectMouseMove(from);
  win::InjectMouseButton(0, true, from);
  win::InjectMouseMove(to);
  win::InjectMouseButton(0, false, to);
  desktop.Pump();
  EXPECT_EQ(edit->SelText(), u"alpha");
  win::InjectKey(kShift, true);
  Click(At(edit, edit->PosToPoint(10).X, 5).X, At(edit, 0, 5).Y);
  win::InjectKey(kShift, false);
  desktop.Pump();
  EXPECT_EQ(edit->SelText(), u"alpha beta");

  // Held beyond the edge, a drag goes on selecting while the text scrolls.
  edit->SetBounds(10, 10, 60, 24);
  edit->SetText(u"one two three four five six seven");
  desktop.Advance(1000);
  TPoint start = At(edit, edit->TextRect().Left, 5), beyond = At(edit, 80, 5);
  win::InjectMouseMove(start);
  win::InjectMouseButton(0, true, start);
  win::InjectMouseMove(beyond);
  desktop.Pump();
  int first = edit->SelLength();
  EXPECT_GT(first, 0);
  EXPECT_LT(first, int(edit->Text().size()) * 2 / 3);
  desktop.Advance(3000);
  EXPECT_EQ(edit->SelLength(), int(edit->Text().size()));
  EXPECT_GT(edit->ScrollX(), 0);
  win::InjectMouseButton(0, false, beyond);
  desktop.Pump();
}

TEST_F(EditTest, PasswordReadOnlyAndMaxLength) {
  TEdit* pass = MakeEdit(10, 10, 200, 24);
  pass->SetPasswordChar(u'*');
  pass->SetFocus();
  desktop.Pump();
  Type(u"секрет");
  EXPECT_EQ(pass->Text(), u"секрет");
  EXPECT_EQ(pass->DisplayText(), u"******");
  // A password never reaches the clipboard, and cutting it leaves it in place.
  win::SetClipboardText(u"before");
  With(kCtrl, kA);
  With(kCtrl, kC);
  With(kCtrl, kX);
  EXPECT_EQ(win::GetClipboardText(), u"before");
  EXPECT_EQ(pass->Text(), u"секрет");

  TEdit* ro = MakeEdit(10, 50, 200, 24);
  ro->SetText(u"fixed");
  ro->SetReadOnly(true);
  ro->SetFocus();
  desktop.Pump();
  changes = 0;
  Key(kEnd);
  Type(u"x");
  Key(kBack);
  With(kShift, kInsert);
  With(kCtrl, kA);
  With(kCtrl, kX);
  Key(kDelete);
  EXPECT_EQ(ro->Text(), u"fixed");
  EXPECT_EQ(changes, 0);
  EXPECT_EQ(win::GetClipboardText(), u"before");  // nor does cutting copy
  With(kCtrl, kC);
  EXPECT_EQ(win::GetClipboardText(), u"fixed");  // copying still works
  ro->SetText(u"by the program");                // the program may still change it
  EXPECT_EQ(changes, 1);

  TEdit* limited = MakeEdit(10, 90, 200, 24);
  limited->SetMaxLength(5);
  limited->SetFocus();
  desktop.Pump();
  Type(u"abcdefg");
  EXPECT_EQ(limited->Text(), u"abcde");
  Key(kHome);
  Key(kDelete);
  win::SetClipboardText(u"XYZ");
  With(kCtrl, kV);
  EXPECT_EQ(limited->Text(), u"Xbcde");  // the paste is cut to the room left
  // Undo takes back a run of typing at once, a paste alone; undoing again redoes.
  TEdit* undo = MakeEdit(10, 170, 200, 24);
  undo->SetText(u"name");
  undo->SetFocus();
  desktop.Pump();
  Key(kEnd);
  Type(u"abc");
  win::SetClipboardText(u"XY");
  With(kCtrl, kV);
  EXPECT_EQ(undo->Text(), u"nameabcXY");
  changes = 0;
  With(kCtrl, kZ);
  EXPECT_EQ(undo->Text(), u"nameabc");
  With(kCtrl, kZ);
  EXPECT_EQ(undo->Text(), u"nameabcXY");
  Key(kLeft);
  Type(u"1");
  Type(u"2");  // the caret did not move between: one run
  Key(kLeft);
  Type(u"3");  // it did: a new run
  With(kCtrl, kZ);
  EXPECT_EQ(undo->Text(), u"nameabcX12Y");
  EXPECT_EQ(changes, 6);  // each undo is one change
  undo->SetText(u"by the program");
  undo->Perform(EM_UNDO, 0, 0);
  EXPECT_EQ(undo->Text(), u"by the program");
  // A one-line edit takes a pasted text up to its first line break.
  TEdit* single = MakeEdit(10, 130, 200, 24);
  single->SetFocus();
  desktop.Pump();
  win::SetClipboardText(u"first\r\nsecond");
  With(kCtrl, kV);
  EXPECT_EQ(single->Text(), u"first");
}

TEST_F(EditTest, TheCaretBlinksWhileFocusedAndTheTextScrollsToKeepItInView) {
  TEdit* edit = MakeEdit(10, 10, 80, 24);
  TEdit* other = MakeEdit(10, 50, 80, 24);
  EXPECT_FALSE(edit->CaretShowing());
  edit->SetFocus();
  desktop.Pump();
  EXPECT_TRUE(edit->CaretShowing());
  desktop.Advance(600);
  EXPECT_FALSE(edit->CaretShowing());
  desktop.Advance(530);
  EXPECT_TRUE(edit->CaretShowing());
  Type(u"a long line that does not fit");
  TRect r = edit->TextRect();
  TPoint caret = edit->PosToPoint(edit->SelStart());
  EXPECT_GT(edit->ScrollX(), 0);
  EXPECT_GE(caret.X, r.Left);
  EXPECT_LT(caret.X, r.Right);
  Key(kHome);
  EXPECT_EQ(edit->ScrollX(), 0);
  Key(kEnd);
  EXPECT_EQ(edit->PosToPoint(edit->SelStart()).X, r.Right - 1);  // right at the edge
  other->SetFocus();
  desktop.Pump();
  EXPECT_FALSE(edit->CaretShowing());
  desktop.Advance(600);
  EXPECT_FALSE(edit->CaretShowing());
}

TEST_F(EditTest, MemoLinesFollowTheTextAndWordWrapBreaksAtSpaces) {
  TMemo* memo = MakeMemo(10, 10, 120, 120);
  memo->Lines().Add(u"one");
  memo->Lines().Add(u"two");
  EXPECT_EQ(memo->Text(), u"one\r\ntwo");
  memo->SetFocus();
  desktop.Pump();
  With(kCtrl, kEnd);
  Key(kEnter);
  Type(u"три");
  EXPECT_EQ(memo->Lines().Count(), 3);
  EXPECT_EQ(memo->Lines()[2], u"три");
  Key(kUp);
  Key(kHome);
  With(kShift, kDown);
  EXPECT_EQ(memo->SelText(), u"two\r\n");

  std::u16string para = u"Экспозиция посвящена истории школы и её выпускникам разных лет";
  memo->SetText(para);
  EXPECT_EQ(memo->Lines().Count(), 1);
  ASSERT_GT(memo->VisualLineCount(), 2);
  int width = memo->TextRect().Width();
  int lastStart = -1;
  for (int row = 0; row < memo->VisualLineCount(); ++row) {
    int start =
        memo->PointToPos({memo->TextRect().Left, memo->PosToPoint(0).Y + row * memo->LineHeight()});
    EXPECT_GT(start, lastStart);
    if (row > 0) {
      EXPECT_EQ(para[std::size_t(start - 1)], u' ');  // broke after a space
      EXPECT_NE(para[std::size_t(start)], u' ');
    }
    lastStart = start;
  }
  // Every row's last word ends inside the text area.
  for (int pos = 0; pos < int(para.size()); ++pos) {
    if (para[std::size_t(pos)] != u' ') {
      EXPECT_LE(memo->PosToPoint(pos + 1).X - memo->TextRect().Left, width) << pos;
    }
  }
  // Down goes one row at a time from the row's end, and End stays on a wrapped row.
  memo->SetFocus();
  desktop.Pump();
  With(kCtrl, kHome);
  for (int row = 0; row + 1 < memo->VisualLineCount(); ++row) {
    Key(kEnd);
    EXPECT_EQ(memo->PosToPoint(memo->SelStart()).Y,
              memo->PosToPoint(0).Y + row * memo->LineHeight());
    Key(kDown);
    EXPECT_EQ(memo->PosToPoint(memo->SelStart()).Y,
              memo->PosToPoint(0).Y + (row + 1) * memo->LineHeight());
  }
  With(kCtrl, kHome);
  memo->SetWordWrap(false);
  EXPECT_EQ(memo->VisualLineCount(), 1);
  // Unwrapped, the horizontal bar scrolls the long line.
  memo->SetScrollBars(TScrollStyle::ssBoth);
  win::SCROLLINFO h;
  h.fMask = win::SIF_ALL;
  win::GetScrollInfo(memo->Handle(), win::SB_HORZ, &h);
  EXPECT_EQ(int(h.nPage), memo->TextRect().Width());
  EXPECT_GT(h.nMax, 2 * int(h.nPage));
  memo->Perform(win::WM_HSCROLL, win::SB_PAGEDOWN, 0);
  EXPECT_EQ(memo->ScrollX(), memo->TextRect().Width());
  EXPECT_EQ(win::GetScrollPos(memo->Handle(), win::SB_HORZ), memo->ScrollX());
  // A word longer than the line is broken inside.
  memo->SetWordWrap(true);
  memo->SetText(std::u16string(200, u'ш'));
  EXPECT_GT(memo->VisualLineCount(), 3);
}

TEST_F(EditTest, MemoScrollsByLinePageThumbWheelAndKeys) {
  TMemo* memo = MakeMemo(10, 10, 220, 150);
  memo->SetScrollBars(TScrollStyle::ssVertical);
  memo->SetReadOnly(true);
  // The bar is there but inactive while the text fits.
  memo->Lines().Assign(NumberedLines(2));
  EXPECT_TRUE(win::GetWindowLongPtrW(memo->Handle(), win::GWL_STYLE) & win::WS_VSCROLL);
  EXPECT_TRUE(win::GetScrollBarLayout(memo->Handle(), win::SB_VERT).thumb.IsEmpty());

  memo->Lines().Assign(NumberedLines(40));
  int page = memo->TextRect().Height() / memo->LineHeight();
  win::SCROLLINFO si = Scroll(memo);
  EXPECT_EQ(si.nMin, 0);
  EXPECT_EQ(si.nMax, 39);
  EXPECT_EQ(int(si.nPage), page);
  EXPECT_EQ(si.nPos, 0);
  EXPECT_FALSE(win::GetScrollBarLayout(memo->Handle(), win::SB_VERT).thumb.IsEmpty());

  // Line: the down arrow.
  TRect down = BarPart(memo, &win::ScrollBarLayout::after);
  Click(down.Left + 3, down.Top + 3);
  EXPECT_EQ(memo->TopLine(), 1);
  EXPECT_EQ(Scroll(memo).nPos, 1);
  // Page: the track below the thumb; a quick second press (a double-click) pages again.
  int track = down.Top - 2;
  Click(down.Left + 3, track);
  EXPECT_EQ(memo->TopLine(), 1 + page);
  EXPECT_EQ(Scroll(memo).nPos, 1 + page);
  Click(down.Left + 3, track);
  EXPECT_EQ(memo->TopLine(), 1 + 2 * page);
  // Thumb: the text follows while it is dragged.
  desktop.Advance(1000);  // no double-click with what follows
  TRect thumb = BarPart(memo, &win::ScrollBarLayout::thumb);
  TPoint grab{thumb.Left + 3, thumb.Top + 3};
  std::vector<int> during;
  win::InjectMouseMove(grab);
  win::InjectMouseButton(0, true, grab);
  desktop.Schedule(10, [&] { win::InjectMouseMove({grab.X, grab.Y + 20}); });
  desktop.Schedule(20, [&] {
    during.push_back(memo->TopLine());
    win::InjectMouseMove({grab.X, grab.Y + 200});
  });
  desktop.Schedule(30, [&] {
    during.push_back(memo->TopLine());
    win::InjectMouseButton(0, false, {grab.X, grab.Y + 200});
  });
  desktop.Pump();
  ASSERT_EQ(during.size(), 2u);
  EXPECT_GT(during[0], 1 + 2 * page);
  EXPECT_EQ(during[1], 40 - page);  // dragged to the end
  EXPECT_EQ(memo->TopLine(), 40 - page);
  EXPECT_EQ(Scroll(memo).nPos, 40 - page);
  // Thumb messages from elsewhere (a skinned bar) move the view too.
  memo->Perform(win::WM_VSCROLL, win::MAKEWPARAM(win::SB_THUMBPOSITION, 7), 0);
  EXPECT_EQ(memo->TopLine(), 7);
  memo->Perform(win::WM_VSCROLL, win::SB_LINEUP, 0);
  EXPECT_EQ(memo->TopLine(), 6);
  memo->Perform(win::WM_VSCROLL, win::SB_PAGEDOWN, 0);
  EXPECT_EQ(memo->TopLine(), 6 + page);

  // The wheel: three lines a notch, towards the user scrolls down.
  memo->SetFocus();
  desktop.Pump();
  memo->Perform(win::WM_VSCROLL, win::SB_TOP, 0);
  TPoint mid = At(memo, 50, 50);
  win::InjectMouseWheel(-120, false, mid);
  desktop.Pump();
  EXPECT_EQ(memo->TopLine(), 3);
  EXPECT_EQ(Scroll(memo).nPos, 3);
  win::InjectMouseWheel(60, false, mid);
  desktop.Pump();
  EXPECT_EQ(memo->TopLine(), 3);  // half a notch is not a notch yet
  win::InjectMouseWheel(60, false, mid);
  desktop.Pump();
  EXPECT_EQ(memo->TopLine(), 0);

  // Keys: Ctrl+End, Ctrl+Home, PageDown, and the caret's moves past the edge.
  With(kCtrl, kEnd);
  EXPECT_EQ(memo->TopLine(), 40 - page);
  EXPECT_EQ(Scroll(memo).nPos, 40 - page);
  With(kCtrl, kHome);
  EXPECT_EQ(memo->TopLine(), 0);
  Key(kPageDown);
  EXPECT_EQ(memo->TopLine(), page);
  Key(kPageUp);
  EXPECT_EQ(memo->TopLine(), 0);
  for (int i = 0; i < page; ++i) Key(kDown);
  EXPECT_EQ(memo->TopLine(), 1);  // the caret left the last shown line
  EXPECT_EQ(Scroll(memo).nPos, 1);
}

TEST_F(EditTest, AHookTakesOverTheFrameAndSeesTheScrollMessages) {
  // Two memos with a soft raised bevel; one is hooked as a skin would hook it, before its
  // window exists: it paints the frame itself (here: not at all) and watches the bar.
  auto bevelled = [&](int x) {
    auto* m = new TMemo(form);
    m->SetBounds(x, 10, 150, 100);
    m->SetScrollBars(TScrollStyle::ssVertical);
    m->SetBevelKind(TBevelKind::bkSoft);
    m->SetBevelInner(TBevelCut::bvNone);
    m->SetBevelOuter(TBevelCut::bvRaised);
    m->Lines().Assign(NumberedLines(30));
    return m;
  };
  TMemo* plain = bevelled(10);
  TMemo* hooked = bevelled(200);
  std::vector<UINT> seen;
  TWndHookId hook = hooked->HookWindowProc([&](TMessage& m, const TWndNext& next) {
    if (m.Msg == win::WM_NCPAINT) return;  // the hook's own frame
    if (m.Msg == win::WM_VSCROLL) seen.push_back(win::LOWORD(std::uintptr_t(m.WParam)));
    next(m);
  });
  plain->SetParent(form);
  hooked->SetParent(form);
  desktop.Pump();
  // The bevel lies inside the sunken edge (2 pixels).
  gfx::Bitmap shot = desktop.Compose();
  EXPECT_EQ(gfx::ColorFromPixel(shot.At(10 + 2, 10 + 2)), ColorToRGB(cl3DLight));
  EXPECT_NE(gfx::ColorFromPixel(shot.At(200 + 2, 10 + 2)), ColorToRGB(cl3DLight));
  TRect down = BarPart(hooked, &win::ScrollBarLayout::after);
  Click(down.Left + 3, down.Top + 3);
  EXPECT_EQ(hooked->TopLine(), 1);
  EXPECT_EQ(seen, (std::vector<UINT>{win::SB_LINEDOWN, win::SB_ENDSCROLL}));
  hooked->UnhookWindowProc(hook);
}

TEST_F(EditTest, AWrapperTellsAMemoFromAnEditByItsWindowsStyle) {
  auto style = [](TWinControl* c) {
    return win::DWORD(win::GetWindowLongPtrW(c->Handle(), win::GWL_STYLE));
  };
  EXPECT_TRUE(style(MakeMemo(10, 10, 150, 100)) & win::ES_MULTILINE);
  EXPECT_FALSE(style(MakeEdit(10, 150, 150, 25)) & win::ES_MULTILINE);
}

TEST_F(EditTest, DescriptionsAndTheDumpKnowEditsAndMemos) {
  InstallFormDump();
  form->SetName("Form1");
  ReadComponentText(form, R"(object Form1: TForm
  object sEdit1: TEdit
    Left = 9
    Top = 106
    Width = 273
    Height = 31
    TabOrder = 1
    TextHint = 'Наименование'
    MaxLength = 40
  end
  object sMemo1: TMemo
    Left = 16
    Top = 160
    Width = 433
    Height = 100
    BevelKind = bkSoft
    BevelOuter = bvRaised
    BevelInner = bvNone
    ReadOnly = True
    ScrollBars = ssVertical
    Lines.Strings = (
      'Раздел первый'
      'Раздел второй')
    TabOrder = 2
  end
  object Short: TMemo
    Lines.Strings = ('a' 'b'#39'c' +
      'd')
  end
end
)",
                    "Form1.txt", ".");
  auto* edit = static_cast<TEdit*>(form->FindComponent("sEdit1"));
  auto* memo = static_cast<TMemo*>(form->FindComponent("sMemo1"));
  ASSERT_TRUE(edit && memo);
  EXPECT_EQ(edit->TextHint(), u"Наименование");
  EXPECT_EQ(edit->MaxLength(), 40);
  EXPECT_EQ(memo->Text(), u"Раздел первый\r\nРаздел второй");
  auto* shortMemo = static_cast<TMemo*>(form->FindComponent("Short"));
  ASSERT_TRUE(shortMemo);
  EXPECT_EQ(shortMemo->Lines().Lines(), (std::vector<std::u16string>{u"a", u"b'cd"}));
  EXPECT_TRUE(memo->ReadOnly());
  EXPECT_EQ(memo->EditBorderWidth(), 3);  // the sunken edge and one bevel
  EXPECT_EQ(memo->ClientRect().Width(), 433 - 2 * 3 - win::GetSystemMetrics(win::SM_CXVSCROLL));
  std::string dump = backend::DumpWindows();
  EXPECT_NE(dump.find(R"("text":"Раздел первый\r\nРаздел второй","scroll":{"pos":0,"min":0,)"
                      R"("max":1,"page":)"),
            std::string::npos)
      << dump;
  EXPECT_NE(dump.find(R"("name":"sEdit1")"), std::string::npos);
}

TEST_F(EditTest, Screenshots) {
  form->SetColor(clBtnFace);
  TEdit* selected = MakeEdit(10, 10, 273, 31);
  selected->Font().SetHeight(-19);
  selected->SetText(u"Музей истории школы");
  TEdit* hinted = MakeEdit(10, 50, 273, 31);
  hinted->Font().SetHeight(-19);
  hinted->SetTextHint(u"Наименование организации");
  TMemo* memo = MakeMemo(10, 90, 433, 229);
  memo->Font().SetHeight(-19);
  memo->SetScrollBars(TScrollStyle::ssVertical);
  memo->SetBevelKind(TBevelKind::bkSoft);
  memo->SetBevelInner(TBevelCut::bvNone);
  memo->SetBevelOuter(TBevelCut::bvRaised);
  memo->Lines().Assign(NumberedLines(30));
  memo->Perform(win::WM_VSCROLL, win::MAKEWPARAM(win::SB_THUMBPOSITION, 12), 0);
  selected->SetFocus();
  desktop.Pump();
  Key(kHome);
  win::InjectKey(kShift, true);
  With(kCtrl, kRight);
  win::InjectKey(kShift, false);
  desktop.Pump();
  SaveScreen("edit-memo");
  // The selection is drawn in the highlight colour, the cue text in grey.
  TPoint sel = selected->ClientToScreen(selected->PosToPoint(1));
  EXPECT_EQ(ScreenAt(sel.X, sel.Y + 1), ColorToRGB(clHighlight));
  TPoint after = selected->ClientToScreen(selected->PosToPoint(12));
  EXPECT_NE(ScreenAt(after.X, after.Y + 1), ColorToRGB(clHighlight));
  TPoint caret = selected->ClientToScreen(selected->PosToPoint(selected->Editor().Caret()));
  EXPECT_EQ(ScreenAt(caret.X, caret.Y + 2), ColorToRGB(clWindowText));
  TPoint cue = hinted->ClientToScreen({hinted->TextRect().Left, hinted->TextRect().Top});
  gfx::Bitmap shot = desktop.Compose();
  bool grey = false;
  for (int x = cue.X; x < cue.X + 60; ++x)
    for (int y = cue.Y; y < cue.Y + hinted->LineHeight(); ++y)
      grey |= gfx::ColorFromPixel(shot.At(x, y)) == ColorToRGB(clGrayText);
  EXPECT_TRUE(grey);
  EXPECT_EQ(memo->TopLine(), 12);
}

}  // namespace
}  // namespace fw::test
