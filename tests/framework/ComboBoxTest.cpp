#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <utility>
#include <vector>

#include "Harness.h"
#include "framework/Automation.h"
#include "framework/Button.h"
#include "framework/ComboBox.h"
#include "framework/Reader.h"
#include "platform/backend/Dump.h"
#include "platform/win/ControlCodes.h"
#include "platform/win/Input.h"
#include "platform/win/KeyboardLayout.h"
#include "platform/win/MessageQueue.h"
#include "platform/win/ScrollInfo.h"
#include "platform/win/Styles.h"
#include "platform/win/Window.h"
#include "platform/win/WindowProc.h"

namespace fw::test {
namespace {

// Set-1 scan codes of the keys these tests press.
constexpr unsigned kF4 = 0x3E, kAlt = 0x38, kUp = 0xE048, kDown = 0xE050, kHome = 0xE047,
                   kEnd = 0xE04F, kPageDown = 0xE051;
// Letter keys by position: under the Russian layout V types "м", ' types "э", D types "в".
constexpr unsigned kKeyV = 0x2F, kKeyQuote = 0x28, kKeyD = 0x20;

const std::vector<std::u16string> kTypes = {u"Все",
                                            u"Военно-исторический музей",
                                            u"Галерея",
                                            u"Историко-краеведческий музей",
                                            u"Исторический музей",
                                            u"Краеведческий музей",
                                            u"Мини-музей старых вещей",
                                            u"Музей боевой славы",
                                            u"Музей истории школы",
                                            u"Музей музыкальных инструментов",
                                            u"Музей природы",
                                            u"Музей творчества",
                                            u"Музей театра и куклы",
                                            u"Музейный уголок",
                                            u"Школьный музей",
                                            u"Этнографический музей"};

class ComboBoxTest : public FrameworkTest {
 protected:
  // A combo with the museum types on a borderless form at (left, top) of the screen.
  TComboBox* MakeCombo(int left = 0, int top = 0) {
    form = ShowForm(left, top, 400, 200);
    combo = new TComboBox(form);
    combo->SetBounds(10, 10, 273, 27);
    combo->Font().SetName(u"Tahoma");
    combo->Font().SetHeight(-16);
    combo->SetParent(form);
    combo->Items().Assign(kTypes);
    combo->SetItemIndex(0);
    other = new TBox(form, form, {300, 10, 50, 50}, clWhite);
    combo->OnChange = [this](TComponent*) { log.push_back("change " + Index()); };
    combo->OnSelect = [this](TComponent*) { log.push_back("select " + Index()); };
    combo->OnDropDown = [this](TComponent*) { log.push_back("dropdown"); };
    combo->OnCloseUp = [this](TComponent*) {
      log.push_back("closeup " + Index() + (combo->DroppedDown() ? " open" : ""));
    };
    combo->SetFocus();
    desktop.Pump();
    return combo;
  }
  std::string Index() { return std::to_string(combo->ItemIndex()); }
  TRect ScreenRect(TControl* c) {
    TPoint o = c->ClientToScreen({0, 0});
    return gfx::RectOfSize(o.X, o.Y, c->Width(), c->Height());
  }
  TRect ListRect() {
    win::RECT r;
    win::GetWindowRect(combo->ListWindow()->Handle(), &r);
    return r;
  }
  bool ListShown() {
    TComboListWindow* list = combo->ListWindow();
    return list->HandleAllocated() && win::IsWindowVisible(list->Handle());
  }
  void ClickBox() {
    TRect r = ScreenRect(combo);
    Click(r.Left + 40, r.Top + 10);
  }
  // Screen point in the middle of list item index (which must be in sight).
  TPoint ItemPoint(int index) {
    TComboListWindow* list = combo->ListWindow();
    TRect r = list->ItemRect(index);
    return list->ClientToScreen({r.Left + 30, (r.Top + r.Bottom) / 2});
  }
  void AltKey(unsigned scanCode) {
    win::InjectKey(kAlt, true);
    Key(scanCode);
    win::InjectKey(kAlt, false);
    desktop.Pump();
  }
  std::vector<std::string> TakeLog() { return std::exchange(log, {}); }

  TForm* form = nullptr;
  TComboBox* combo = nullptr;
  TBox* other = nullptr;
  std::vector<std::string> log;
};

using Log = std::vector<std::string>;

// A form that publishes one handler for its description.
class TEventForm : public TForm {
 public:
  TEventForm(TComponent* owner, TNotifyEvent handler) : TForm(owner) {
    PublishMethod("TypeCloseUp", std::move(handler));
  }
};

TEST_F(ComboBoxTest, EveryWayOfClosingRaisesCloseUpOnceAndOnlyChoicesChange) {
  MakeCombo();
  // A click on an item: the list is hidden, then change, select and close-up.
  ClickBox();
  EXPECT_TRUE(combo->DroppedDown());
  EXPECT_TRUE(ListShown());
  EXPECT_EQ(TakeLog(), Log{"dropdown"});
  EXPECT_EQ(win::GetFocus(), combo->Handle());  // the list takes neither focus nor activation
  EXPECT_EQ(win::GetActiveWindow(), form->Handle());
  TPoint p = ItemPoint(3);
  Click(p.X, p.Y);
  EXPECT_EQ(combo->ItemIndex(), 3);
  EXPECT_EQ(combo->Text(), u"Историко-краеведческий музей");
  EXPECT_FALSE(ListShown());
  EXPECT_EQ(TakeLog(), (Log{"change 3", "select 3", "closeup 3"}));

  // A click outside the list closes without choosing, even after hovering another item.
  ClickBox();
  p = ItemPoint(5);
  Move(p.X, p.Y);
  EXPECT_EQ(combo->ListWindow()->HotIndex(), 5);
  Click(380, 150);
  EXPECT_FALSE(combo->DroppedDown());
  EXPECT_EQ(combo->ItemIndex(), 3);
  EXPECT_EQ(TakeLog(), (Log{"dropdown", "closeup 3"}));

  // A click on the box while open closes it too; the chosen item again changes nothing.
  ClickBox();
  ClickBox();
  EXPECT_FALSE(ListShown());
  ClickBox();
  p = ItemPoint(3);
  Click(p.X, p.Y);
  EXPECT_EQ(TakeLog(), (Log{"dropdown", "closeup 3", "dropdown", "closeup 3"}));

  // Enter chooses the highlighted item; Escape leaves the choice alone.
  Key(kF4);
  Key(kDown);
  Key(kDown);
  EXPECT_EQ(combo->ItemIndex(), 3);  // the highlight moves, not the choice
  Key(kEnter);
  EXPECT_EQ(combo->ItemIndex(), 5);
  EXPECT_EQ(TakeLog(), (Log{"dropdown", "change 5", "select 5", "closeup 5"}));
  Key(kF4);
  Key(kDown);
  Key(kEscape);
  EXPECT_EQ(combo->ItemIndex(), 5);
  EXPECT_FALSE(ListShown());
  EXPECT_EQ(TakeLog(), (Log{"dropdown", "closeup 5"}));

  // F4 and Alt+Down open and close again.
  Key(kF4);
  Key(kF4);
  AltKey(kDown);
  EXPECT_TRUE(combo->DroppedDown());
  AltKey(kDown);
  EXPECT_EQ(TakeLog(), (Log{"dropdown", "closeup 5", "dropdown", "closeup 5"}));

  // Losing the focus closes the list without choosing.
  Key(kF4);
  other->SetFocus();
  desktop.Pump();
  EXPECT_FALSE(ListShown());
  EXPECT_EQ(win::GetCapture(), nullptr);
  EXPECT_EQ(TakeLog(), (Log{"dropdown", "closeup 5"}));
}

TEST_F(ComboBoxTest, ReleasingOverAnItemAfterDraggingFromTheBoxChoosesIt) {
  MakeCombo();
  TRect box = ScreenRect(combo);
  win::InjectMouseMove({box.Left + 40, box.Top + 10});
  win::InjectMouseButton(0, true, {box.Left + 40, box.Top + 10});
  desktop.Pump();
  EXPECT_TRUE(ListShown());
  win::InjectMouseButton(0, false, {box.Left + 40, box.Top + 10});  // the opening press ends
  desktop.Pump();
  EXPECT_TRUE(ListShown());
  win::InjectMouseButton(0, true, {box.Left + 40, box.Top + 10});
  desktop.Pump();
  EXPECT_FALSE(ListShown());
  win::InjectMouseButton(0, false, {box.Left + 40, box.Top + 10});
  desktop.Pump();
  TakeLog();

  win::InjectMouseButton(0, true, {box.Left + 40, box.Top + 10});
  TPoint p = ItemPoint(2);
  win::InjectMouseMove(p);
  win::InjectMouseButton(0, false, p);
  desktop.Pump();
  EXPECT_EQ(combo->ItemIndex(), 2);
  EXPECT_EQ(TakeLog(), (Log{"dropdown", "change 2", "select 2", "closeup 2"}));
}

TEST_F(ComboBoxTest, KeysWhileClosedChangeTheChoiceWithoutOpening) {
  MakeCombo();
  Key(kDown);
  Key(kDown);
  EXPECT_EQ(combo->ItemIndex(), 2);
  EXPECT_EQ(TakeLog(), (Log{"change 1", "select 1", "change 2", "select 2"}));
  Key(kEnd);
  EXPECT_EQ(combo->ItemIndex(), 15);
  Key(kDown);  // at the end: nothing changes, nothing is raised
  Key(kHome);
  Key(kUp);
  EXPECT_EQ(TakeLog(), (Log{"change 15", "select 15", "change 0", "select 0"}));
  Key(kPageDown);  // a page is DropDownCount items
  EXPECT_EQ(combo->ItemIndex(), 15);
  combo->SetDropDownCount(8);
  Key(kHome);
  Key(kPageDown);
  EXPECT_EQ(combo->ItemIndex(), 7);
  EXPECT_FALSE(ListShown());
  TakeLog();

  // The program's own changes raise nothing.
  combo->SetItemIndex(4);
  combo->SetText(u"Галерея");
  EXPECT_EQ(combo->ItemIndex(), 2);
  combo->SetText(u"no such type");
  EXPECT_EQ(combo->ItemIndex(), -1);
  EXPECT_EQ(combo->Text(), u"");
  combo->SetItemIndex(99);
  EXPECT_EQ(combo->ItemIndex(), -1);
  EXPECT_TRUE(log.empty());
  // Enter and Esc on the closed box go to the form as usual.
  bool dialogKey = false;
  auto* button = new TButton(form);
  button->SetParent(form);
  button->SetBounds(300, 100, 60, 24);
  button->SetDefault(true);
  button->OnClick = [&](TComponent*) { dialogKey = true; };
  Key(kEnter);
  EXPECT_TRUE(dialogKey);
}

TEST_F(ComboBoxTest, LettersFindTheNextItemWithThatLetterInAnyLayout) {
  MakeCombo();
  ASSERT_NE(win::LoadKeyboardLayoutW(u"00000419", win::KLF_ACTIVATE), nullptr);
  Key(kKeyV);  // "м"
  EXPECT_EQ(combo->ItemIndex(), 6);
  Key(kKeyV);
  EXPECT_EQ(combo->ItemIndex(), 7);
  Key(kKeyQuote);  // "э"
  EXPECT_EQ(combo->ItemIndex(), 15);
  Key(kKeyD);  // "в": cycles past the end to "Все", then "Военно-исторический музей"
  EXPECT_EQ(combo->ItemIndex(), 0);
  Key(kKeyD);
  EXPECT_EQ(combo->ItemIndex(), 1);
  EXPECT_EQ(TakeLog(), (Log{"change 6", "select 6", "change 7", "select 7", "change 15",
                            "select 15", "change 0", "select 0", "change 1", "select 1"}));
  win::InjectText(u"Г");  // capitals match too
  desktop.Pump();
  EXPECT_EQ(combo->ItemIndex(), 2);
  win::InjectText(u"zЖ");  // no item starts with these
  desktop.Pump();
  EXPECT_EQ(combo->ItemIndex(), 2);
  // While open, a letter moves the highlight only.
  TakeLog();
  Key(kF4);
  win::InjectText(u"ш");
  desktop.Pump();
  EXPECT_EQ(combo->ListWindow()->HotIndex(), 14);
  EXPECT_EQ(combo->ItemIndex(), 2);
  Key(kEnter);
  EXPECT_EQ(combo->ItemIndex(), 14);
  EXPECT_EQ(TakeLog(), (Log{"dropdown", "change 14", "select 14", "closeup 14"}));
}

TEST_F(ComboBoxTest, TheListOpensBelowOrAboveWhenTheScreenHasNoRoomBelow) {
  MakeCombo(100, 50);
  Key(kF4);
  TRect box = ScreenRect(combo);
  TRect list = ListRect();
  EXPECT_EQ(list.Top, box.Bottom);
  EXPECT_EQ(list.Left, box.Left);
  EXPECT_EQ(list.Width(), box.Width());
  SaveScreen("combo-open-below");
  Key(kEscape);
  SaveScreen("combo-closed");

  form->SetBounds(100, 520, 400, 60);
  desktop.Pump();
  Key(kF4);
  box = ScreenRect(combo);
  list = ListRect();
  EXPECT_EQ(list.Bottom, box.Top);
  EXPECT_EQ(list.Left, box.Left);
  EXPECT_TRUE(combo->DroppedDown());
  SaveScreen("combo-open-above");
  // The highlighted item is drawn in the selection colours.
  TPoint p = ItemPoint(0);
  EXPECT_EQ(ScreenAt(list.Right - 4, p.Y), ColorToRGB(clHighlight));
  p = ItemPoint(1);
  EXPECT_EQ(ScreenAt(list.Right - 4, p.Y), ColorToRGB(clWindow));
  Move(p.X, p.Y);
  EXPECT_EQ(ScreenAt(list.Right - 4, p.Y), ColorToRGB(clHighlight));
}

TEST_F(ComboBoxTest, SixteenItemsShowWithoutAScrollBarAndMoreScroll) {
  MakeCombo();
  int h = combo->ItemHeight();
  Key(kF4);
  TComboListWindow* list = combo->ListWindow();
  auto hasBar = [&] {
    return (win::GetWindowLongPtrW(list->Handle(), win::GWL_STYLE) & win::WS_VSCROLL) != 0;
  };
  EXPECT_EQ(list->ClientHeight(), 16 * h);
  EXPECT_FALSE(hasBar());
  Key(kEscape);

  combo->Items().Add(u"Ещё один музей");
  combo->SetItemIndex(16);
  Key(kF4);
  EXPECT_EQ(list->ClientHeight(), 16 * h);
  EXPECT_TRUE(hasBar());
  EXPECT_EQ(list->TopIndex(), 1);  // the chosen item is in sight
  // The wheel scrolls the open list and leaves the choice alone.
  win::InjectMouseWheel(win::WHEEL_DELTA, false, {50, 50});
  desktop.Pump();
  EXPECT_EQ(list->TopIndex(), 0);
  EXPECT_EQ(combo->ItemIndex(), 16);
  // The scroll bar's down arrow scrolls and the list stays open, keeping the mouse.
  auto layout = win::GetScrollBarLayout(list->Handle(), win::SB_VERT);
  TRect wr = ListRect();
  Click(wr.Left + (layout.after.Left + layout.after.Right) / 2,
        wr.Top + (layout.after.Top + layout.after.Bottom) / 2);
  EXPECT_EQ(list->TopIndex(), 1);
  EXPECT_TRUE(ListShown());
  EXPECT_EQ(win::GetCapture(), list->Handle());
  TPoint p = ItemPoint(16);
  Click(p.X, p.Y);
  EXPECT_FALSE(ListShown());
  EXPECT_EQ(TakeLog(), (Log{"dropdown", "closeup 0", "dropdown", "closeup 16"}));
}

TEST_F(ComboBoxTest, TheWheelOnTheClosedBoxStepsThroughTheItems) {
  MakeCombo();
  win::InjectMouseWheel(-win::WHEEL_DELTA, false, {50, 20});
  win::InjectMouseWheel(-win::WHEEL_DELTA, false, {50, 20});
  desktop.Pump();
  EXPECT_EQ(combo->ItemIndex(), 2);
  win::InjectMouseWheel(win::WHEEL_DELTA, false, {50, 20});
  desktop.Pump();
  EXPECT_EQ(combo->ItemIndex(), 1);
  win::InjectMouseWheel(3 * win::WHEEL_DELTA, false, {50, 20});  // stops at the first item
  desktop.Pump();
  EXPECT_EQ(combo->ItemIndex(), 0);
  EXPECT_FALSE(ListShown());
  EXPECT_EQ(TakeLog(), (Log{"change 1", "select 1", "change 2", "select 2", "change 1", "select 1",
                            "change 0", "select 0"}));
}

TEST_F(ComboBoxTest, OwnerDrawDrawsListItemsAndTheBoxThroughTheHandler) {
  MakeCombo();
  combo->SetStyle(TComboBoxStyle::csOwnerDrawFixed);
  combo->SetItemHeight(20);
  std::vector<std::pair<int, TOwnerDrawState>> calls;
  combo->OnDrawItem = [&](TComponent*, int index, TRect r, TOwnerDrawState state) {
    calls.push_back({index, state});
    combo->Canvas().BrushColor = index == 2 ? clRed : combo->Canvas().BrushColor;
    combo->Canvas().FillRect(r);
  };
  combo->Repaint();
  desktop.Pump();
  ASSERT_FALSE(calls.empty());
  EXPECT_EQ(calls.back(),
            (std::pair<int, TOwnerDrawState>{0, odComboBoxEdit | odSelected | odFocused}));
  calls.clear();
  Key(kF4);
  EXPECT_EQ(combo->ListWindow()->ClientHeight(), 16 * 20);
  std::erase_if(calls, [](auto& call) { return call.second & odComboBoxEdit; });
  EXPECT_EQ(calls.size(), 16u);
  EXPECT_EQ(std::count(calls.begin(), calls.end(), std::pair<int, TOwnerDrawState>{0, odSelected}),
            1);
  EXPECT_EQ(std::count(calls.begin(), calls.end(), std::pair<int, TOwnerDrawState>{2, 0}), 1);
  TPoint p = ItemPoint(2);
  EXPECT_EQ(ScreenAt(p.X, p.Y), ColorToRGB(clRed));
  // The highlight colours are set up for the handler.
  p = ItemPoint(0);
  EXPECT_EQ(ScreenAt(p.X, p.Y), ColorToRGB(clHighlight));
}

TEST_F(ComboBoxTest, ReadFromADescriptionAndDumped) {
  InstallFormDump();
  std::vector<std::string> events;
  auto* f = new TEventForm(app.get(), [&](TComponent*) { events.push_back("closeup"); });
  ReadComponentText(f, R"(object F: TForm
  BorderStyle = bsNone
  Width = 400
  Height = 200
  object sComboBox1: TComboBox
    Left = 9
    Top = 35
    Width = 273
    Height = 27
    Style = csOwnerDrawFixed
    ItemHeight = 21
    ItemIndex = 1
    DropDownCount = 5
    Items.Strings = (
      'Все'
      'Галерея'
      'Музей природы')
    OnCloseUp = TypeCloseUp
  end
  object ByText: TComboBox
    Text = 'Музей природы'
    Items.Strings = (
      'Все' + ' типы'
      'Музей природы')
  end
  object Typed: TComboBox
    Style = csDropDown
    Text = 'свой музей'
    Items.Strings = (
      'Все')
  end
end
)",
                    "Unit9.txt", testing::TempDir());
  auto* c = static_cast<TComboBox*>(f->FindComponent("sComboBox1"));
  ASSERT_NE(c, nullptr);
  EXPECT_EQ(c->Style(), TComboBoxStyle::csOwnerDrawFixed);
  EXPECT_EQ(c->ItemIndex(), 1);  // given before the items, applied once they are there
  EXPECT_EQ(c->Text(), u"Галерея");
  EXPECT_EQ(c->DropDownCount(), 5);
  EXPECT_EQ(c->ItemHeight(), 21);
  auto* byText = static_cast<TComboBox*>(f->FindComponent("ByText"));
  EXPECT_EQ(byText->Items().Lines(), (std::vector<std::u16string>{u"Все типы", u"Музей природы"}));
  EXPECT_EQ(byText->ItemIndex(), 1);
  auto* typed = static_cast<TComboBox*>(f->FindComponent("Typed"));
  EXPECT_EQ(typed->Style(), TComboBoxStyle::csDropDown);
  EXPECT_EQ(typed->Text(), u"свой музей");  // a typing style keeps any text
  EXPECT_EQ(typed->ItemIndex(), -1);
  f->Show();
  desktop.Pump();
  c->SetFocus();
  Key(kF4);
  std::string dump = backend::DumpWindows();
  EXPECT_NE(dump.find(R"("items":["Все","Галерея","Музей природы"],"itemIndex":1,)"
                      R"("text":"Галерея","droppedDown":true)"),
            std::string::npos)
      << dump;
  Key(kF4);
  EXPECT_EQ(events, std::vector<std::string>{"closeup"});
}

TEST_F(ComboBoxTest, ADisabledBoxDoesNotOpenAndAHiddenOneCloses) {
  MakeCombo();
  Key(kF4);
  combo->SetEnabled(false);
  EXPECT_FALSE(ListShown());
  EXPECT_EQ(TakeLog(), (Log{"dropdown", "closeup 0"}));
  ClickBox();
  EXPECT_FALSE(combo->DroppedDown());
  SaveScreen("combo-disabled");
  combo->SetEnabled(true);
  combo->SetFocus();
  Key(kF4);
  combo->Hide();
  EXPECT_FALSE(ListShown());
  EXPECT_EQ(win::GetCapture(), nullptr);
  EXPECT_EQ(TakeLog(), (Log{"dropdown", "closeup 0"}));
  // Freeing a combo with its list open leaves no capture behind.
  combo->Show();
  combo->SetFocus();
  Key(kF4);
  delete combo;
  desktop.Pump();
  EXPECT_EQ(win::GetCapture(), nullptr);
}

TEST_F(ComboBoxTest, AWrapperSeesTheListDropDownWithItsWindowAndTheChoiceByMessage) {
  MakeCombo();
  // A wrapper as a skin attaches it: the box's window procedure replaced, the framework's
  // WindowProc hooked.
  std::vector<std::string> seen;
  win::HWND listSeenAtDropDown = nullptr;
  bool shownAtDropDown = true;
  win::HWND colouredList = nullptr;
  win::WNDPROC previous;
  auto wrapper = std::make_shared<const win::WindowProcFunction>(
      [&](win::HWND h, win::UINT msg, win::WPARAM w, win::LPARAM l) -> win::LRESULT {
        if (msg == win::WM_CTLCOLORLISTBOX && !colouredList)
          colouredList = win::HwndFromParam(std::uintptr_t(l));
        if (msg == win::CB_SETCURSEL) seen.push_back("setcursel " + std::to_string(int(w)));
        return win::CallWindowProcW(previous, h, msg, w, l);
      });
  previous = win::SetWindowLongPtrW(combo->Handle(), win::GWLP_WNDPROC, wrapper);
  TWndHookId hook = combo->HookWindowProc([&](TMessage& m, const TWndNext& next) {
    if (m.Msg == CN_COMMAND && win::HIWORD(m.WParam) == win::CBN_DROPDOWN) {
      win::COMBOBOXINFO info;
      ASSERT_EQ(win::SendMessageW(combo->Handle(), win::CB_GETCOMBOBOXINFO, 0,
                                  reinterpret_cast<win::LPARAM>(&info)),
                1);
      listSeenAtDropDown = info.hwndList;
      shownAtDropDown = win::IsWindowVisible(info.hwndList);
      EXPECT_EQ(info.hwndCombo, combo->Handle());
      EXPECT_EQ(info.rcButton, combo->ButtonRect());
      EXPECT_EQ(info.stateButton, 0u);
    }
    next(m);
  });
  ClickBox();
  EXPECT_TRUE(ListShown());
  ASSERT_NE(listSeenAtDropDown, nullptr);
  EXPECT_EQ(listSeenAtDropDown, combo->ListWindow()->Handle());
  EXPECT_FALSE(shownAtDropDown);  // told before the list is shown
  EXPECT_EQ(colouredList, combo->ListWindow()->Handle());
  win::COMBOBOXINFO info;
  win::SendMessageW(combo->Handle(), win::CB_GETCOMBOBOXINFO, 0,
                    reinterpret_cast<win::LPARAM>(&info));
  EXPECT_EQ(info.stateButton, win::STATE_SYSTEM_PRESSED);
  EXPECT_EQ(win::SendMessageW(combo->Handle(), win::CB_GETDROPPEDSTATE, 0, 0), 1);
  win::SendMessageW(combo->Handle(), win::CB_SHOWDROPDOWN, 0, 0);
  EXPECT_FALSE(ListShown());
  TakeLog();

  // The choice, by message and by ItemIndex alike, passes the window and raises no event.
  EXPECT_EQ(win::SendMessageW(combo->Handle(), win::CB_SETCURSEL, 3, 0), 3);
  EXPECT_EQ(combo->ItemIndex(), 3);
  EXPECT_EQ(combo->Text(), kTypes[3]);
  combo->SetItemIndex(5);
  EXPECT_EQ(win::SendMessageW(combo->Handle(), win::CB_GETCURSEL, 0, 0), 5);
  EXPECT_EQ(win::SendMessageW(combo->Handle(), win::CB_SETCURSEL, 999, 0), win::CB_ERR);
  EXPECT_EQ(combo->ItemIndex(), -1);
  EXPECT_EQ(win::SendMessageW(combo->Handle(), win::CB_GETCURSEL, 0, 0), win::CB_ERR);
  EXPECT_EQ(seen, (std::vector<std::string>{"setcursel 3", "setcursel 5", "setcursel 999"}));
  EXPECT_EQ(TakeLog(), Log{});
  // A wrong record size is refused.
  info.cbSize = 4;
  EXPECT_EQ(win::SendMessageW(combo->Handle(), win::CB_GETCOMBOBOXINFO, 0,
                              reinterpret_cast<win::LPARAM>(&info)),
            0);
  combo->UnhookWindowProc(hook);
  win::SetWindowLongPtrW(combo->Handle(), win::GWLP_WNDPROC, previous);
}

// The typing styles: a combo with the museum types whose edit part has the focus.
class TypingComboTest : public ComboBoxTest {
 protected:
  TComboBox* MakeTyping(TComboBoxStyle style, int height = 27) {
    MakeCombo();
    combo->SetStyle(style);
    combo->SetHeight(height);
    combo->SetFocus();
    desktop.Pump();
    TakeLog();
    return combo;
  }
  void Type(const std::u16string& text) {
    win::InjectText(text);
    desktop.Pump();
  }
  TComboEdit* EditPart() { return combo->EditWindow(); }
};

TEST_F(TypingComboTest, TypingInTheDropDownStyleChangesTheTextAndFindsTheItem) {
  MakeTyping(TComboBoxStyle::csDropDown);
  ASSERT_NE(EditPart(), nullptr);
  EXPECT_EQ(win::GetFocus(), EditPart()->Handle());  // the box hands the focus on
  EXPECT_TRUE(combo->HasFocus());
  EXPECT_EQ(combo->Text(), u"Все");
  // The keyboard focus selected the whole text: typing replaces it, one change a character.
  Type(u"Гал");
  EXPECT_EQ(combo->Text(), u"Гал");
  EXPECT_EQ(combo->ItemIndex(), -1);
  EXPECT_EQ(TakeLog(), (Log{"change -1", "change -1", "change -1"}));
  Type(u"ерея");
  EXPECT_EQ(combo->ItemIndex(), 2);  // the text is exactly an item's
  EXPECT_EQ(TakeLog().back(), "change 2");
  // Up and Down still choose, putting the item's text into the edit part.
  Key(kDown);
  EXPECT_EQ(combo->ItemIndex(), 3);
  EXPECT_EQ(combo->Text(), u"Историко-краеведческий музей");
  EXPECT_EQ(EditPart()->SelLength(), int(combo->Text().size()));
  EXPECT_EQ(TakeLog(), (Log{"change 3", "select 3"}));
  // Home and End move the caret, not the choice.
  Key(kHome);
  EXPECT_EQ(combo->ItemIndex(), 3);
  EXPECT_EQ(EditPart()->SelStart(), 0);
  EXPECT_EQ(EditPart()->SelLength(), 0);
  // The program's text chooses the matching item, raising nothing; another text chooses none
  // and stays.
  combo->SetText(u"Галерея");
  EXPECT_EQ(combo->ItemIndex(), 2);
  combo->SetText(u"свой музей");
  EXPECT_EQ(combo->ItemIndex(), -1);
  EXPECT_EQ(combo->Text(), u"свой музей");
  EXPECT_TRUE(TakeLog().empty());
  win::COMBOBOXINFO info;
  ASSERT_TRUE(win::SendMessageW(combo->Handle(), win::CB_GETCOMBOBOXINFO, 0,
                                reinterpret_cast<win::LPARAM>(&info)));
  EXPECT_EQ(info.hwndItem, EditPart()->Handle());
  // Tab leaves the edit part for the next control, Shift+Tab comes back to it.
  other->SetTabStop(true);
  Key(kTab);
  EXPECT_EQ(win::GetFocus(), other->Handle());
  win::InjectKey(kShift, true);
  Key(kTab);
  win::InjectKey(kShift, false);
  desktop.Pump();
  EXPECT_EQ(win::GetFocus(), EditPart()->Handle());
  // A disabled box disables its edit part (its text greys), and back.
  combo->SetEnabled(false);
  EXPECT_FALSE(EditPart()->Enabled());
  combo->SetEnabled(true);
  EXPECT_TRUE(EditPart()->Enabled());
}

TEST_F(TypingComboTest, TheDropDownListOpensFromTheButtonAndItsKeysAndFollowsTheTyping) {
  MakeTyping(TComboBoxStyle::csDropDown);
  // A click on the edit part places the caret and does not open.
  TRect box = ScreenRect(combo);
  Click(box.Left + 20, box.Top + 10);
  EXPECT_FALSE(combo->DroppedDown());
  EXPECT_EQ(win::GetFocus(), EditPart()->Handle());
  // The button opens and closes.
  TRect button = combo->ButtonRect();
  Click(box.Left + button.Left + 3, box.Top + button.Top + 3);
  EXPECT_TRUE(combo->DroppedDown());
  EXPECT_TRUE(ListShown());
  EXPECT_EQ(win::GetFocus(), EditPart()->Handle());
  // Typing goes on in the edit part; the list highlights the first item it begins, any case.
  EditPart()->SelectAll();
  Type(u"музей т");
  EXPECT_TRUE(combo->DroppedDown());
  EXPECT_EQ(combo->ListWindow()->HotIndex(), 11);  // "Музей творчества"
  EXPECT_EQ(combo->ItemIndex(), -1);
  TakeLog();
  // Enter chooses the highlighted item.
  Key(kEnter);
  EXPECT_FALSE(combo->DroppedDown());
  EXPECT_EQ(combo->Text(), u"Музей творчества");
  EXPECT_EQ(TakeLog(), (Log{"change 11", "select 11", "closeup 11"}));
  // Alt+Down opens, Escape closes without choosing; F4 opens, a click on an item chooses.
  AltKey(kDown);
  EXPECT_TRUE(combo->DroppedDown());
  Key(kEscape);
  EXPECT_FALSE(combo->DroppedDown());
  EXPECT_EQ(combo->ItemIndex(), 11);
  Key(kF4);
  ASSERT_TRUE(ListShown());
  TPoint p = ItemPoint(12);
  Click(p.X, p.Y);
  EXPECT_EQ(combo->Text(), u"Музей театра и куклы");
  // Losing the focus closes the open list.
  Key(kF4);
  ASSERT_TRUE(combo->DroppedDown());
  TakeLog();
  other->SetTabStop(true);
  other->SetFocus();
  desktop.Pump();
  EXPECT_FALSE(combo->DroppedDown());
  EXPECT_EQ(TakeLog(), (Log{"closeup 12"}));
}

TEST_F(TypingComboTest, TheSimpleListIsAlwaysShownUnderTheEditPartAndChoosesByClickAndKeys) {
  MakeTyping(TComboBoxStyle::csSimple, 150);
  TComboListWindow* list = combo->ListWindow();
  ASSERT_TRUE(ListShown());
  EXPECT_EQ(win::GetParent(list->Handle()), combo->Handle());
  // The edit part is ItemHeight + 8 high; the list fills the rest, with a bar for the rest of
  // the items.
  int boxHeight = combo->ItemHeight() + 8;
  EXPECT_EQ(combo->BoxRect().Height(), boxHeight);
  EXPECT_EQ(list->Top(), boxHeight);
  EXPECT_EQ(list->Top() + list->Height(), combo->ClientHeight());
  EXPECT_EQ(list->RowCount(), list->ClientHeight() / combo->ItemHeight());
  EXPECT_TRUE(win::GetWindowLongPtrW(list->Handle(), win::GWL_STYLE) & win::WS_VSCROLL);
  EXPECT_TRUE(combo->ButtonRect().IsEmpty());
  EXPECT_EQ(list->HotIndex(), 0);  // the choice is highlighted
  // Nothing drops down.
  Key(kF4);
  EXPECT_FALSE(combo->DroppedDown());
  // A click on an item chooses it at once; the list stays and the edit part keeps the focus.
  TPoint p = ItemPoint(2);
  Click(p.X, p.Y);
  EXPECT_EQ(combo->ItemIndex(), 2);
  EXPECT_EQ(combo->Text(), u"Галерея");
  EXPECT_EQ(list->HotIndex(), 2);
  EXPECT_TRUE(ListShown());
  EXPECT_EQ(win::GetFocus(), EditPart()->Handle());
  EXPECT_EQ(TakeLog(), (Log{"change 2", "select 2"}));
  // Down moves the choice and scrolls it into sight.
  for (int i = 0; i < 10; ++i) Key(kDown);
  EXPECT_EQ(combo->ItemIndex(), 12);
  EXPECT_EQ(list->HotIndex(), 12);
  EXPECT_GE(list->TopIndex(), 12 - list->RowCount() + 1);
  EXPECT_LE(list->TopIndex(), 12);
  // Typing highlights the first item the text begins.
  EditPart()->SelectAll();
  Type(u"Ш");
  EXPECT_EQ(list->HotIndex(), 14);
  EXPECT_EQ(combo->ItemIndex(), -1);
}

TEST_F(TypingComboTest, SwitchingStylesSwapsTheEditPartAndTheKindOfList) {
  MakeCombo();
  combo->SetStyle(TComboBoxStyle::csSimple);
  combo->SetStyle(TComboBoxStyle::csDropDown);
  EXPECT_TRUE(win::GetWindowLongPtrW(combo->ListWindow()->Handle(), win::GWL_STYLE) &
              win::WS_POPUP);
  EXPECT_FALSE(combo->ListWindow()->Visible());
  combo->SetStyle(TComboBoxStyle::csDropDownList);
  EXPECT_EQ(combo->EditWindow(), nullptr);
  EXPECT_EQ(combo->Text(), u"Все");
  combo->SetText(u"свой музей");  // a list style keeps only items' texts
  EXPECT_EQ(combo->Text(), u"");
}

}  // namespace
}  // namespace fw::test
