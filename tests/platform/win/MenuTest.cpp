// Menus: items and their info, the pop-up menu loop with keyboard and mouse, submenus,
// owner-drawn items, placement and the notifications the owner gets.
#include <algorithm>
#include <stdexcept>

#include "platform/win/Harness.h"
#include "platform/win/Input.h"
#include "platform/win/Menu.h"
#include "platform/win/MenuWindow.h"
#include "platform/win/NonClient.h"
#include "platform/win/Paint.h"
#include "platform/win/Timers.h"

namespace win::test {
namespace {

constexpr UINT kDown = 0xE050, kUp = 0xE048, kRight = 0xE04D, kLeft = 0xE04B, kEnter = 0x1C,
               kEscape = 0x01;

void Tap(UINT scan) {
  InjectKey(scan, true);
  InjectKey(scan, false);
}
void Click(POINT pt, int button = 0) {
  InjectMouseMove(pt);
  InjectMouseButton(button, true, pt);
  InjectMouseButton(button, false, pt);
}

// The open pop-up menu windows, topmost first.
std::vector<HWND> MenuWindows() {
  std::vector<HWND> out;
  EnumWindows(
      [&](HWND h, LPARAM) {
        if (GetClassNameW(h) == POPUPMENU_CLASS && IsWindowVisible(h)) out.push_back(h);
        return true;
      },
      0);
  return out;
}

class Menus : public WindowTest {
 protected:
  void SetUp() override {
    WindowTest::SetUp();
    owner = Top();
    desktop.Pump();
  }
  void TearDown() override {
    for (HMENU m : made) DestroyMenu(m);
    WindowTest::TearDown();
  }
  // "Open" 1, a separator, "Disabled" 2 (greyed), "Save" 3, "More" (submenu: "Sub A" 10,
  // "Sub B" 11, "Deeper" (submenu: "Deep" 20)).
  HMENU Sample() {
    HMENU deeper = CreatePopupMenu();
    AppendMenuW(deeper, MF_STRING, 20, u"Deep");
    sub = CreatePopupMenu();
    AppendMenuW(sub, MF_STRING, 10, u"Sub &A");
    AppendMenuW(sub, MF_STRING, 11, u"Sub &B");
    AppendMenuW(sub, MF_POPUP, reinterpret_cast<UINT_PTR>(deeper), u"Deeper");
    HMENU m = CreatePopupMenu();
    AppendMenuW(m, MF_STRING, 1, u"&Open");
    AppendMenuW(m, MF_SEPARATOR, 0, u"");
    AppendMenuW(m, MF_GRAYED, 2, u"&Disabled");
    AppendMenuW(m, MF_STRING, 3, u"&Save\tCtrl+S");
    AppendMenuW(m, MF_POPUP, reinterpret_cast<UINT_PTR>(sub), u"&More");
    made.push_back(m);
    return m;
  }
  RECT ItemRect(HMENU m, UINT pos) {
    RECT r;
    EXPECT_TRUE(GetMenuItemRect(nullptr, m, pos, &r));
    return r;
  }
  static POINT Centre(const RECT& r) { return {(r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2}; }

  HWND owner = nullptr;
  HMENU sub = nullptr;
  std::vector<HMENU> made;
};

TEST_F(Menus, ItemInfoRoundTripsAndLooksIntoSubmenus) {
  HMENU m = Sample();
  MENUITEMINFOW in;
  in.fMask = MIIM_FTYPE | MIIM_STATE | MIIM_ID | MIIM_DATA | MIIM_STRING;
  in.fType = MFT_OWNERDRAW | MFT_RADIOCHECK | MFT_MENUBARBREAK;
  in.fState = MFS_CHECKED | MFS_DEFAULT;
  in.wID = 7;
  in.dwItemData = 0xBEEF;
  in.dwTypeData = u"Seven";
  ASSERT_TRUE(InsertMenuItemW(m, 1, true, in));
  EXPECT_EQ(GetMenuItemCount(m), 6);
  MENUITEMINFOW out;
  out.fMask = in.fMask | MIIM_SUBMENU;
  ASSERT_TRUE(GetMenuItemInfoW(m, 7, false, &out));
  EXPECT_EQ(out.fType, in.fType);
  EXPECT_EQ(out.fState, in.fState);
  EXPECT_EQ(out.dwItemData, 0xBEEFu);
  EXPECT_EQ(out.dwTypeData, u"Seven");
  EXPECT_EQ(out.hSubMenu, nullptr);
  EXPECT_EQ(GetMenuItemID(m, 1), 7u);
  // By command the submenus are searched too; a submenu item reports its item count.
  EXPECT_EQ(GetMenuState(m, 11, MF_BYCOMMAND), MF_STRING);
  EXPECT_EQ(GetMenuState(m, 5, MF_BYPOSITION), MF_POPUP | (3u << 8));
  EXPECT_EQ(GetSubMenu(m, 5), sub);
  EXPECT_EQ(GetMenuItemID(m, 5), 0xFFFFFFFFu);
  EXPECT_EQ(CheckMenuItem(m, 11, MF_CHECKED), MF_UNCHECKED);
  EXPECT_EQ(GetMenuState(sub, 1, MF_BYPOSITION) & MF_CHECKED, MF_CHECKED);
  // One default item per menu.
  ASSERT_TRUE(SetMenuDefaultItem(m, 3, false));
  EXPECT_EQ(GetMenuDefaultItem(m, false, 0), 3u);
  EXPECT_EQ(GetMenuState(m, 7, MF_BYCOMMAND) & MF_DEFAULT, 0u);
  ASSERT_TRUE(SetMenuDefaultItem(m, 0xFFFFFFFF, false));
  EXPECT_EQ(GetMenuDefaultItem(m, false, 0), 0xFFFFFFFFu);
  // Radio items: one checked in the range, with the radio mark.
  ASSERT_TRUE(CheckMenuRadioItem(sub, 0, 1, 0, MF_BYPOSITION));
  EXPECT_EQ(GetMenuState(sub, 10, MF_BYCOMMAND) & (MF_CHECKED | MFT_RADIOCHECK),
            MF_CHECKED | MFT_RADIOCHECK);
  EXPECT_EQ(GetMenuState(sub, 11, MF_BYCOMMAND) & MF_CHECKED, 0u);
  EXPECT_FALSE(CheckMenuRadioItem(sub, 0, 1, 99, MF_BYCOMMAND));
  // ModifyMenuW keeps the item data; SetMenuItemInfoW changes only what fMask names.
  ASSERT_TRUE(ModifyMenuW(m, 7, MF_BYCOMMAND | MF_STRING, 8, u"Eight"));
  out.fMask = MIIM_DATA | MIIM_STRING | MIIM_ID;
  ASSERT_TRUE(GetMenuItemInfoW(m, 1, true, &out));
  EXPECT_EQ(out.wID, 8u);
  EXPECT_EQ(out.dwItemData, 0xBEEFu);
  EXPECT_EQ(out.dwTypeData, u"Eight");
}

TEST_F(Menus, DeleteMenuDestroysTheSubmenuRemoveMenuKeepsIt) {
  HMENU m = Sample();
  HMENU deeper = GetSubMenu(sub, 2);
  ASSERT_TRUE(RemoveMenu(sub, 2, MF_BYPOSITION));
  EXPECT_TRUE(IsMenu(deeper));
  EXPECT_EQ(GetMenuItemCount(sub), 2);
  ASSERT_TRUE(
      InsertMenuW(sub, 0, MF_BYPOSITION | MF_POPUP, reinterpret_cast<UINT_PTR>(deeper), u"Back"));
  EXPECT_EQ(GetSubMenu(sub, 0), deeper);
  ASSERT_TRUE(DeleteMenu(m, 4, MF_BYPOSITION));
  EXPECT_FALSE(IsMenu(sub));
  EXPECT_FALSE(IsMenu(deeper));
  EXPECT_FALSE(DeleteMenu(m, 99, MF_BYCOMMAND));
}

TEST_F(Menus, KeyboardSkipsSeparatorsAndDisabledItemsAndChoosesWithEnter) {
  HMENU m = Sample();
  // Down: "Open"; Down: past the separator and "Disabled" to "Save"; Enter.
  desktop.Schedule(10, [] {
    Tap(kDown);
    Tap(kDown);
    Tap(kEnter);
  });
  EXPECT_EQ(TrackPopupMenuEx(m, TPM_RETURNCMD, 200, 200, owner, nullptr), 3);
  EXPECT_TRUE(MenuWindows().empty());
  EXPECT_EQ(GetCapture(), nullptr);
  // With TPM_RETURNCMD nothing is posted.
  desktop.Pump();
  EXPECT_TRUE(Of(WM_COMMAND, owner).empty());
  // Up from nothing wraps to the last item, the submenu; Up again is "Save".
  desktop.Schedule(10, [] {
    Tap(kUp);
    Tap(kUp);
    Tap(kEnter);
  });
  EXPECT_EQ(TrackPopupMenuEx(m, TPM_RETURNCMD, 200, 200, owner, nullptr), 3);
}

TEST_F(Menus, NotificationsComeInOrderAndTheCommandIsPosted) {
  HMENU m = Sample();
  std::vector<bool> visibleAtInit;
  handler = [&](HWND, UINT msg, WPARAM, LPARAM) -> std::optional<LRESULT> {
    if (msg == WM_INITMENUPOPUP) visibleAtInit.push_back(!MenuWindows().empty());
    return std::nullopt;
  };
  log.clear();
  desktop.Schedule(10, [] {
    Tap(kDown);
    Tap(kEnter);
  });
  EXPECT_NE(TrackPopupMenuEx(m, 0, 200, 200, owner, nullptr), 0);
  desktop.Pump();
  std::vector<UINT> want{WM_ENTERMENULOOP,   WM_INITMENU,   WM_INITMENUPOPUP, WM_MENUSELECT,
                         WM_UNINITMENUPOPUP, WM_MENUSELECT, WM_EXITMENULOOP,  WM_COMMAND};
  std::vector<UINT> got;
  for (UINT msg : Messages(owner))
    if (std::find(want.begin(), want.end(), msg) != want.end()) got.push_back(msg);
  EXPECT_EQ(got, want);
  EXPECT_EQ(visibleAtInit, std::vector<bool>{false});  // before the menu shows
  auto sel = Of(WM_MENUSELECT, owner);
  EXPECT_EQ(LOWORD(sel[0].wParam), 1);
  EXPECT_TRUE(HIWORD(sel[0].wParam) & MF_HILITE);
  EXPECT_EQ(sel[0].lParam, reinterpret_cast<LPARAM>(m));
  EXPECT_EQ(HIWORD(sel[1].wParam), 0xFFFF);
  EXPECT_EQ(Of(WM_COMMAND, owner)[0].wParam, MAKEWPARAM(1, 0));
  EXPECT_EQ(Of(WM_ENTERMENULOOP, owner)[0].wParam, 1u);
  // The hot item is marked while the menu is open and no longer after.
  EXPECT_EQ(GetMenuState(m, 1, MF_BYCOMMAND) & MF_HILITE, 0u);
}

TEST_F(Menus, NestedSubmenusByKeyboardAndEscapeClosesOneLevel) {
  HMENU m = Sample();
  std::vector<std::size_t> depth;
  // End on "More", Right opens it with "Sub A" hot, Escape closes it alone, Right again,
  // Down twice to "Deeper", Right, Enter: "Deep".
  desktop.Schedule(10, [&] {
    Tap(kUp);
    Tap(kRight);
  });
  desktop.Schedule(20, [&] {
    depth.push_back(MenuWindows().size());
    Tap(kEscape);
  });
  desktop.Schedule(30, [&] {
    depth.push_back(MenuWindows().size());
    Tap(kRight);
    Tap(kDown);
    Tap(kDown);
    Tap(kRight);
  });
  desktop.Schedule(40, [&] {
    depth.push_back(MenuWindows().size());
    Tap(kLeft);  // closes "Deeper" again
  });
  desktop.Schedule(50, [&] {
    depth.push_back(MenuWindows().size());
    Tap(kRight);
    Tap(kEnter);
  });
  EXPECT_EQ(TrackPopupMenuEx(m, TPM_RETURNCMD, 200, 200, owner, nullptr), 20);
  EXPECT_EQ(depth, (std::vector<std::size_t>{2, 1, 3, 2}));
  auto inits = Of(WM_INITMENUPOPUP, owner);
  ASSERT_GE(inits.size(), 3u);
  EXPECT_EQ(inits[1].wParam, reinterpret_cast<WPARAM>(sub));
  EXPECT_EQ(LOWORD(inits[1].lParam), 4);  // the position of "More"
  EXPECT_EQ(Of(WM_UNINITMENUPOPUP, owner).size(), inits.size());
}

TEST_F(Menus, MouseOpensSubmenusAfterTheDelayAndChoosesOnRelease) {
  HMENU m = Sample();
  std::vector<std::size_t> depth;
  desktop.Schedule(10, [&] { InjectMouseMove(Centre(ItemRect(m, 4))); });
  desktop.Schedule(300, [&] { depth.push_back(MenuWindows().size()); });  // not yet
  desktop.Schedule(500, [&] {
    depth.push_back(MenuWindows().size());
    InjectMouseMove(Centre(ItemRect(sub, 2)));  // "Deeper"
  });
  desktop.Schedule(1000, [&] {
    depth.push_back(MenuWindows().size());
    Click(Centre(ItemRect(GetSubMenu(sub, 2), 0)));
  });
  EXPECT_NE(TrackPopupMenuEx(m, 0, 200, 200, owner, nullptr), 0);
  EXPECT_EQ(depth, (std::vector<std::size_t>{1, 2, 3}));
  desktop.Pump();
  ASSERT_EQ(Of(WM_COMMAND, owner).size(), 1u);
  EXPECT_EQ(Of(WM_COMMAND, owner)[0].wParam, MAKEWPARAM(20, 0));
}

TEST_F(Menus, AClickOutsideClosesAndADisabledItemIsNotChosen) {
  HMENU m = Sample();
  bool stillOpen = false;
  desktop.Schedule(10, [&] { Click(Centre(ItemRect(m, 2))); });  // "Disabled"
  desktop.Schedule(20, [&] {
    stillOpen = MenuWindows().size() == 1;
    Click({5, 5});  // on nothing
  });
  EXPECT_EQ(TrackPopupMenuEx(m, TPM_RETURNCMD, 200, 200, owner, nullptr), 0);
  EXPECT_TRUE(stillOpen);
  EXPECT_TRUE(MenuWindows().empty());
  desktop.Pump();
  EXPECT_TRUE(Of(WM_COMMAND, owner).empty());
  EXPECT_EQ(Of(WM_EXITMENULOOP, owner).size(), 1u);
}

TEST_F(Menus, AccessKeysChooseWithoutCaseAndInCyrillic) {
  HMENU m = Sample();
  AppendMenuW(m, MF_STRING, 30, u"&Закрыть");
  desktop.Schedule(10, [] { InjectText(u"s"); });
  EXPECT_EQ(TrackPopupMenuEx(m, TPM_RETURNCMD, 200, 200, owner, nullptr), 3);
  desktop.Schedule(10, [] { InjectText(u"з"); });
  EXPECT_EQ(TrackPopupMenuEx(m, TPM_RETURNCMD, 200, 200, owner, nullptr), 30);
  // An access key of a submenu item opens it; the next key chooses inside.
  desktop.Schedule(10, [] { InjectText(u"Mb"); });
  EXPECT_EQ(TrackPopupMenuEx(m, TPM_RETURNCMD, 200, 200, owner, nullptr), 11);
  EXPECT_EQ(detail::MenuAccessKey(m, u'D'), 2);
  EXPECT_EQ(detail::MenuAccessKey(m, u'x'), -1);
}

TEST_F(Menus, OwnerDrawnItemsAreMeasuredAndDrawnByTheOwner) {
  HMENU m = CreatePopupMenu();
  made.push_back(m);
  AppendMenuW(m, MF_OWNERDRAW, 1, u"one");
  AppendMenuW(m, MF_OWNERDRAW | MF_CHECKED | MF_GRAYED, 2, u"two");
  AppendMenuW(m, MF_OWNERDRAW | MF_MENUBARBREAK, 3, u"three");
  SetMenuDefaultItem(m, 1, false);
  MENUITEMINFOW data;
  data.fMask = MIIM_DATA;
  data.dwItemData = 77;
  SetMenuItemInfoW(m, 2, false, data);
  std::vector<DRAWITEMSTRUCT> drawn;
  std::vector<HWND> drawnOn;
  handler = [&](HWND, UINT msg, WPARAM, LPARAM l) -> std::optional<LRESULT> {
    if (msg == WM_MEASUREITEM) {
      auto* mis = reinterpret_cast<MEASUREITEMSTRUCT*>(l);
      EXPECT_EQ(mis->CtlType, ODT_MENU);
      mis->itemWidth = 50 + 10 * mis->itemID;
      mis->itemHeight = 20 + mis->itemID;
      if (mis->itemID == 2) {
        EXPECT_EQ(mis->itemData, 77u);
      }
      return 1;
    }
    if (msg == WM_DRAWITEM) {
      auto* dis = reinterpret_cast<DRAWITEMSTRUCT*>(l);
      drawn.push_back(*dis);
      drawnOn.push_back(WindowFromDC(dis->hDC));
      return 1;
    }
    return std::nullopt;
  };
  HWND window = nullptr;
  RECT client{};
  desktop.Schedule(10, [&] {
    window = MenuWindows().at(0);
    GetClientRect(window, &client);
    drawn.clear();
    drawnOn.clear();
    Tap(kDown);
  });
  desktop.Schedule(20, [] { Tap(kEscape); });
  EXPECT_EQ(TrackPopupMenuEx(m, TPM_RETURNCMD, 200, 200, owner, nullptr), 0);
  // Column one: 60 and 70 wide, 21 + 22 high; column two 80 wide, MENU_COLUMN_GAP apart.
  EXPECT_EQ(client.Width(), 70 + MENU_COLUMN_GAP + 80);
  EXPECT_EQ(client.Height(), 43);
  ASSERT_EQ(drawn.size(), 1u);  // Down: "one" becomes hot and is drawn again selected
  EXPECT_EQ(drawn[0].itemID, 1u);
  EXPECT_EQ(drawn[0].CtlType, ODT_MENU);
  EXPECT_EQ(drawn[0].itemAction, ODA_SELECT);
  EXPECT_EQ(drawn[0].itemState, UINT(ODS_SELECTED | ODS_DEFAULT));
  EXPECT_EQ(drawn[0].rcItem, (RECT{0, 0, 70, 21}));
  EXPECT_EQ(drawn[0].hwndItem, reinterpret_cast<HWND>(m));
  EXPECT_EQ(drawnOn[0], window);
  // The whole menu as it first showed.
  drawn.clear();
  desktop.Schedule(10, [] { Tap(kEscape); });
  TrackPopupMenuEx(m, TPM_RETURNCMD, 200, 200, owner, nullptr);
  ASSERT_GE(drawn.size(), 3u);
  EXPECT_EQ(drawn[1].itemState, UINT(ODS_GRAYED | ODS_CHECKED));
  EXPECT_EQ(drawn[1].itemData, 77u);
  EXPECT_EQ(drawn[2].rcItem, (RECT{70 + MENU_COLUMN_GAP, 0, 70 + MENU_COLUMN_GAP + 80, 23}));
}

TEST_F(Menus, LeftAndRightMoveBetweenColumnsToTheNearestRow) {
  constexpr UINT kEnd = 0xE04F;
  HMENU more = CreatePopupMenu();
  AppendMenuW(more, MF_STRING, 30, u"Inside");
  HMENU m = CreatePopupMenu();
  made.push_back(m);
  AppendMenuW(m, MF_STRING, 1, u"A1");
  AppendMenuW(m, MF_STRING, 2, u"A2");
  AppendMenuW(m, MF_STRING, 3, u"A3");
  AppendMenuW(m, MF_STRING | MF_MENUBREAK, 4, u"B1");
  AppendMenuW(m, MF_STRING, 5, u"B2");
  AppendMenuW(m, MF_POPUP, reinterpret_cast<UINT_PTR>(more), u"B3");
  AppendMenuW(m, MF_GRAYED | MF_MENUBARBREAK, 6, u"C1");
  AppendMenuW(m, MF_STRING, 7, u"C2");
  // A2 (row 1) -> B2 (row 1) -> C2 (C1 is greyed; the nearest selectable one) -> Left from
  // row 1 of C back to B2 -> Left to A2.
  desktop.Schedule(10, [] {
    for (UINT k : {kDown, kDown, kRight, kRight}) Tap(k);
  });
  int hot = -1;
  desktop.Schedule(20, [&] {
    hot = int(GetMenuState(m, 7, MF_BYCOMMAND) & MF_HILITE);
    for (UINT k : {kLeft, kLeft, kEnter}) Tap(k);
  });
  EXPECT_EQ(TrackPopupMenuEx(m, TPM_RETURNCMD, 100, 100, owner, nullptr), 2);
  EXPECT_EQ(hot, int(MF_HILITE));
  // End: C2; Left: B2; Down: B3, whose submenu Right opens ("Inside" hot) rather than moving.
  desktop.Schedule(10, [] {
    for (UINT k : {kEnd, kLeft, kDown, kRight}) Tap(k);
  });
  std::size_t open = 0;
  desktop.Schedule(20, [&] {
    open = MenuWindows().size();
    Tap(kEnter);
  });
  EXPECT_EQ(TrackPopupMenuEx(m, TPM_RETURNCMD, 100, 100, owner, nullptr), 30);
  EXPECT_EQ(open, 2u);
  // In the last column Right has nowhere to go.
  desktop.Schedule(10, [] {
    for (UINT k : {kEnd, kRight, kEnter}) Tap(k);
  });
  EXPECT_EQ(TrackPopupMenuEx(m, TPM_RETURNCMD, 100, 100, owner, nullptr), 7);
}

TEST_F(Menus, AnItemsPictureIsBlendedInTheCheckColumnWhichItWidens) {
  gfx::Bitmap picture(24, 24);
  picture.Fill(gfx::MakePixel(0, 0, 255, 255));                                  // opaque red
  for (int x = 0; x < 24; ++x) picture.Set(x, 0, gfx::MakePixel(255, 0, 0, 0));  // clear row
  HMENU m = CreatePopupMenu();
  made.push_back(m);
  AppendMenuW(m, MF_STRING, 1, u"Plain");
  AppendMenuW(m, MF_STRING | MF_CHECKED, 2, u"Pictured");
  MENUITEMINFOW mii;
  mii.fMask = MIIM_BITMAP;
  mii.hbmpItem = &picture;
  ASSERT_TRUE(SetMenuItemInfoW(m, 2, false, mii));
  MENUITEMINFOW back;
  back.fMask = MIIM_BITMAP;
  ASSERT_TRUE(GetMenuItemInfoW(m, 2, false, &back));
  EXPECT_EQ(back.hbmpItem, &picture);
  RECT plain{}, pictured{};
  gfx::COLORREF centre = 0, clearRow = 0, frame = 0, tickPlace = 0;
  desktop.Schedule(10, [&] {
    HWND h = MenuWindows().at(0);
    plain = ItemRect(m, 0);
    pictured = ItemRect(m, 1);
    POINT o{0, 0};
    ClientToScreen(h, &o);
    SurfaceInfo s = GetWindowSurface(h);
    RECT wr;
    GetWindowRect(h, &wr);
    auto at = [&](int x, int y) {
      return gfx::ColorFromPixel(s.pixels->At(x - wr.Left, y - wr.Top));
    };
    // The picture sits centred in a column of 24 + 4 pixels, in an item 28 high.
    int px = pictured.Left + 2, py = pictured.Top + 2;
    centre = at(px + 12, py + 12);
    clearRow = at(px + 12, py);
    frame = at(px - 1, py + 12);
    tickPlace = at(plain.Left + 14, (plain.Top + plain.Bottom) / 2);
    Tap(kEscape);
  });
  TrackPopupMenuEx(m, TPM_RETURNCMD, 100, 100, owner, nullptr);
  EXPECT_EQ(pictured.Height(), 28);
  EXPECT_EQ(plain.Height(), MenuItemHeight());
  EXPECT_EQ(centre, gfx::RGB(255, 0, 0));
  EXPECT_EQ(clearRow, GetSysColor(COLOR_MENU));    // a clear pixel leaves the menu's colour
  EXPECT_EQ(frame, GetSysColor(COLOR_BTNSHADOW));  // checked: framed, not ticked
  EXPECT_EQ(tickPlace, GetSysColor(COLOR_MENU));
}

TEST_F(Menus, ARightToLeftMenuIsMirroredAndItsKeysAndSubmenusGoToTheLeft) {
  HMENU more = CreatePopupMenu();  // takes its parent's direction
  AppendMenuW(more, MF_STRING, 10, u"Sub A");
  AppendMenuW(more, MF_STRING, 11, u"Sub B");
  HMENU m = CreatePopupMenu();
  made.push_back(m);
  AppendMenuW(m, MF_STRING | MF_CHECKED | MFT_RIGHTORDER, 1, u"&Open");
  AppendMenuW(m, MF_POPUP | MFT_RIGHTORDER, reinterpret_cast<UINT_PTR>(more), u"&More");
  AppendMenuW(m, MF_STRING | MFT_RIGHTORDER, 2, u"A caption long enough to widen the menu");
  EXPECT_TRUE(IsMenuRightOrder(m));
  EXPECT_FALSE(IsMenuRightOrder(more));
  RECT first{}, second{}, open{}, moreItem{};
  LONG_PTR firstEx = 0, secondEx = 0;
  // Ink of the text colour in a band of an item, in screen coordinates.
  auto ink = [](HWND h, const RECT& band) {
    SurfaceInfo s = GetWindowSurface(h);
    RECT wr;
    GetWindowRect(h, &wr);
    int n = 0;
    for (int y = band.Top; y < band.Bottom; ++y)
      for (int x = band.Left; x < band.Right; ++x)
        n += gfx::ColorFromPixel(s.pixels->At(x - wr.Left, y - wr.Top)) ==
             GetSysColor(COLOR_MENUTEXT);
    return n;
  };
  int tickRight = 0, tickLeft = 0, textRight = 0, textLeft = 0, arrowLeft = 0, arrowRight = 0;
  std::size_t afterBack = 0;
  desktop.Schedule(10, [&] {
    HWND h = MenuWindows().at(0);
    GetWindowRect(h, &first);
    firstEx = GetWindowLongPtrW(h, GWL_EXSTYLE);
    open = ItemRect(m, 0);
    moreItem = ItemRect(m, 1);
    // The check column is on the right, the arrow column on the left.
    tickRight = ink(h, {open.Right - 20, open.Top, open.Right, open.Bottom});
    tickLeft = ink(h, {open.Left, open.Top, open.Left + 20, open.Bottom});
    textRight = ink(h, {open.Right - 60, open.Top, open.Right - 20, open.Bottom});
    textLeft = ink(h, {open.Left + 20, open.Top, open.Left + 60, open.Bottom});
    arrowLeft = ink(h, {moreItem.Left, moreItem.Top, moreItem.Left + 20, moreItem.Bottom});
    arrowRight = ink(h, {moreItem.Right - 20, moreItem.Top, moreItem.Right, moreItem.Bottom});
    Tap(kDown);  // "Open"
    Tap(kDown);  // "More"
    Tap(kLeft);  // forward: opens it
  });
  desktop.Schedule(20, [&] {
    HWND h = MenuWindows().at(0);
    GetWindowRect(h, &second);
    secondEx = GetWindowLongPtrW(h, GWL_EXSTYLE);
    Tap(kRight);  // back: closes it
  });
  desktop.Schedule(30, [&] {
    afterBack = MenuWindows().size();
    Tap(kLeft);
    Tap(kDown);  // "Sub B"
    Tap(kEnter);
  });
  EXPECT_EQ(TrackPopupMenuEx(m, TPM_RETURNCMD | TPM_LAYOUTRTL, 600, 150, owner, nullptr), 11);
  // The right-order bit is MF_SYSMENU's value: WM_MENUSELECT does not pass it on.
  ASSERT_FALSE(Of(WM_MENUSELECT, owner).empty());
  for (const auto& sel : Of(WM_MENUSELECT, owner))
    if (HIWORD(sel.wParam) != 0xFFFF) {  // not the closing one
      EXPECT_FALSE(HIWORD(sel.wParam) & MF_SYSMENU) << std::hex << sel.wParam;
    }
  // Hangs to the left of the point; the submenu opens against its left edge.
  EXPECT_EQ(first.Right, 600);
  EXPECT_EQ(first.Top, 150);
  EXPECT_EQ(second.Right, first.Left + 3);
  EXPECT_EQ(second.Top, moreItem.Top - 3);
  EXPECT_EQ(afterBack, 1u);
  EXPECT_TRUE(firstEx & WS_EX_RTLREADING);
  EXPECT_TRUE(secondEx & WS_EX_RTLREADING);
  EXPECT_GT(tickRight, 0);
  EXPECT_EQ(tickLeft, 0);
  EXPECT_GT(textRight, 0);
  EXPECT_EQ(textLeft, 0);
  EXPECT_GT(arrowLeft, 0);
  EXPECT_EQ(arrowRight, 0);
  // The same menu without the flag reads left to right: the tick on the left.
  for (UINT pos = 0; pos < 3; ++pos) {
    MENUITEMINFOW mii;
    mii.fMask = MIIM_FTYPE;
    mii.fType = MFT_STRING;
    ASSERT_TRUE(SetMenuItemInfoW(m, pos, true, mii));
  }
  ASSERT_FALSE(IsMenuRightOrder(m));
  desktop.Schedule(10, [&] {
    HWND h = MenuWindows().at(0);
    GetWindowRect(h, &first);
    firstEx = GetWindowLongPtrW(h, GWL_EXSTYLE);
    open = ItemRect(m, 0);
    tickLeft = ink(h, {open.Left, open.Top, open.Left + 20, open.Bottom});
    Tap(kEscape);
  });
  TrackPopupMenuEx(m, TPM_RETURNCMD, 600, 150, owner, nullptr);
  EXPECT_EQ(first.Left, 600);
  EXPECT_FALSE(firstEx & WS_EX_RTLREADING);
  EXPECT_GT(tickLeft, 0);
}

TEST_F(Menus, ARightToLeftMenuKeepsToTheDesktop) {
  HMENU more = CreatePopupMenu();
  AppendMenuW(more, MF_STRING | MFT_RIGHTORDER, 10, u"Sub A");
  HMENU m = CreatePopupMenu();
  made.push_back(m);
  AppendMenuW(m, MF_POPUP | MFT_RIGHTORDER, reinterpret_cast<UINT_PTR>(more), u"&More");
  RECT desk;
  GetWindowRect(GetDesktopWindow(), &desk);
  RECT first{}, second{};
  desktop.Schedule(10, [&] {
    GetWindowRect(MenuWindows().at(0), &first);
    Tap(kDown);
    Tap(kLeft);
  });
  desktop.Schedule(20, [&] {
    GetWindowRect(MenuWindows().at(0), &second);
    Tap(kEscape);
    Tap(kEscape);
  });
  // At the desktop's left edge the menu flips to the right of the point, and its submenu
  // opens to the right where there is no room on the left.
  TrackPopupMenuEx(m, TPM_RETURNCMD | TPM_LAYOUTRTL, desk.Left + 5, 100, owner, nullptr);
  EXPECT_EQ(first.Left, desk.Left + 5);
  EXPECT_EQ(second.Left, first.Right - 3);
}

TEST_F(Menus, TheMenuWindowAnswersWithItsMenuAndHasAThreePixelFrame) {
  HMENU m = Sample();
  LRESULT asked = 0;
  RECT window{}, client{};
  POINT origin{0, 0};
  desktop.Schedule(10, [&] {
    HWND h = MenuWindows().at(0);
    asked = SendMessageW(h, MN_GETHMENU, 0, 0);
    GetWindowRect(h, &window);
    GetClientRect(h, &client);
    ClientToScreen(h, &origin);
    Tap(kEscape);
  });
  TrackPopupMenuEx(m, TPM_RETURNCMD, 200, 150, owner, nullptr);
  EXPECT_EQ(asked, reinterpret_cast<LRESULT>(m));
  EXPECT_EQ(window.Left, 200);
  EXPECT_EQ(window.Top, 150);
  EXPECT_EQ(origin, (POINT{203, 153}));
  EXPECT_EQ(window.Width(), client.Width() + 6);
  EXPECT_EQ(client.Height(), 4 * MenuItemHeight() + MENU_SEPARATOR_HEIGHT);
}

TEST_F(Menus, PlacementFollowsTheFlagsTheDesktopAndTheExclusion) {
  HMENU m = Sample();
  auto placed = [&](UINT flags, POINT at, const TPMPARAMS* p) {
    RECT r{};
    desktop.Schedule(10, [&] {
      GetWindowRect(MenuWindows().at(0), &r);
      Tap(kEscape);
    });
    TrackPopupMenuEx(m, flags | TPM_RETURNCMD, at.X, at.Y, owner, p);
    return r;
  };
  RECT plain = placed(0, {300, 300}, nullptr);
  int w = plain.Width(), h = plain.Height();
  EXPECT_EQ(placed(TPM_RIGHTALIGN | TPM_BOTTOMALIGN, {300, 300}, nullptr),
            (RECT{300 - w, 300 - h, 300, 300}));
  EXPECT_EQ(placed(TPM_CENTERALIGN, {300, 300}, nullptr).Left, 300 - w / 2);
  // At the desktop's bottom right corner the menu opens up and to the left of the point.
  EXPECT_EQ(placed(0, {1270, 1020}, nullptr), (RECT{1270 - w, 1020 - h, 1270, 1020}));
  // Off the exclusion rectangle: sideways by default, below it with TPM_VERTICAL.
  TPMPARAMS p{{280, 280, 400, 320}};
  EXPECT_EQ(placed(0, {300, 300}, &p).Left, 400);
  RECT v = placed(TPM_VERTICAL, {300, 300}, &p);
  EXPECT_EQ(v.Top, 320);
  EXPECT_EQ(v.Left, 300);
}

TEST_F(Menus, AThrowingOwnerLeavesNoMenuWindowBehind) {
  HMENU m = Sample();
  handler = [&](HWND, UINT msg, WPARAM wp, LPARAM) -> std::optional<LRESULT> {
    if (msg == WM_INITMENUPOPUP && reinterpret_cast<HMENU>(wp) == sub)
      throw std::runtime_error("refused");
    return std::nullopt;
  };
  desktop.Schedule(10, [] {
    Tap(kUp);
    Tap(kRight);
  });
  EXPECT_THROW(TrackPopupMenuEx(m, TPM_RETURNCMD, 200, 200, owner, nullptr), std::runtime_error);
  EXPECT_TRUE(MenuWindows().empty());
  EXPECT_EQ(GetMenuState(m, 4, MF_BYPOSITION) & MF_HILITE, 0u);
  // The next menu runs as usual.
  handler = nullptr;
  desktop.Schedule(10, [] {
    Tap(kDown);
    Tap(kEnter);
  });
  EXPECT_EQ(TrackPopupMenuEx(m, TPM_RETURNCMD, 200, 200, owner, nullptr), 1);
}

TEST_F(Menus, OnlyOneMenuLoopRunsAndEndMenuEndsIt) {
  HMENU m = Sample();
  int inner = -1;
  desktop.Schedule(10, [&] {
    inner = TrackPopupMenuEx(m, TPM_RETURNCMD, 0, 0, owner, nullptr);
    EndMenu();
  });
  EXPECT_EQ(TrackPopupMenuEx(m, TPM_RETURNCMD, 200, 200, owner, nullptr), 0);
  EXPECT_EQ(inner, 0);
  EXPECT_FALSE(EndMenu());
  // An empty menu is not shown.
  HMENU empty = CreatePopupMenu();
  made.push_back(empty);
  EXPECT_EQ(TrackPopupMenuEx(empty, 0, 200, 200, owner, nullptr), 0);
}

// The captions of a menu's items, with "-" for separators and "(grey)" after disabled ones.
std::vector<std::u16string> Captions(HMENU m) {
  std::vector<std::u16string> out;
  for (int i = 0; i < GetMenuItemCount(m); ++i) {
    const MenuItem* it = GetMenuItem(m, UINT(i), MF_BYPOSITION);
    out.push_back((it->flags & MF_SEPARATOR) ? u"-" : it->text);
    if (it->flags & MF_GRAYED) out.back() += u" (grey)";
  }
  return out;
}

using SystemMenus = Menus;

TEST_F(SystemMenus, ItemsAndStatesFollowTheWindow) {
  HWND tool =
      Top(WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_VISIBLE, {50, 50, 300, 200}, WS_EX_TOOLWINDOW);
  EXPECT_EQ(Captions(GetSystemMenu(tool, false)),
            (std::vector<std::u16string>{u"&Переместить", u"-", u"&Закрыть\tAlt+F4"}));
  HMENU m = GetSystemMenu(owner, false);
  EXPECT_EQ(Captions(m),
            (std::vector<std::u16string>{u"&Восстановить (grey)", u"&Переместить", u"&Размер",
                                         u"Св&ернуть", u"Ра&звернуть", u"-", u"&Закрыть\tAlt+F4"}));
  EXPECT_EQ(GetMenuDefaultItem(m, false, 0), UINT(SC_CLOSE));
  // Shown for a maximised window: Restore on; Move, Size and Maximise grey. A command the
  // program added stays.
  AppendMenuW(m, MF_STRING, 0x100, u"Extra");
  ShowWindow(owner, SW_MAXIMIZE);
  std::vector<std::u16string> shown;
  desktop.Schedule(10, [&] {
    shown = Captions(m);
    Tap(kEscape);
  });
  SendMessageW(owner, WM_SYSCOMMAND, SC_KEYMENU, ' ');
  EXPECT_EQ(shown, (std::vector<std::u16string>{
                       u"&Восстановить", u"&Переместить (grey)", u"&Размер (grey)", u"Св&ернуть",
                       u"Ра&звернуть (grey)", u"-", u"&Закрыть\tAlt+F4", u"Extra"}));
}

TEST_F(SystemMenus, AltSpaceAndARightClickOnTheCaptionOpenItAndCloseCloses) {
  RECT wr;
  GetWindowRect(owner, &wr);
  RECT menuRect{};
  bool system = false;
  desktop.Schedule(10, [&] {
    HWND h = MenuWindows().at(0);
    GetWindowRect(h, &menuRect);
    system = SendMessageW(h, MN_GETHMENU, 0, 0) ==
             reinterpret_cast<LRESULT>(GetSystemMenu(owner, false));
    Tap(kEscape);
  });
  SendMessageW(owner, WM_SYSCOMMAND, SC_KEYMENU, ' ');
  EXPECT_TRUE(system);
  // Below the icon: at the frame's inner corner, under the caption.
  EXPECT_EQ(menuRect.Left, wr.Left + GetSystemMetrics(SM_CXFRAME));
  EXPECT_EQ(menuRect.Top, wr.Top + GetSystemMetrics(SM_CXFRAME) + GetSystemMetrics(SM_CYCAPTION));
  // A right click on the caption opens it at the mouse. "Ра&звернуть" and "&Закрыть" share a
  // key: it makes them hot in turn, and Enter chooses.
  POINT onCaption{wr.Left + 150, wr.Top + 12};
  desktop.Schedule(10, [&] {
    GetWindowRect(MenuWindows().at(0), &menuRect);
    InjectText(u"ЗЗ");
    Tap(kEnter);
  });
  Click(onCaption, 1);
  desktop.Pump();
  EXPECT_EQ(menuRect.Left, onCaption.X);
  EXPECT_EQ(menuRect.Top, onCaption.Y);
  auto commands = Of(WM_SYSCOMMAND, owner);
  ASSERT_FALSE(commands.empty());
  EXPECT_EQ(commands.back().wParam, SC_CLOSE);
  EXPECT_FALSE(IsWindow(owner));
}

// The first press on the icon opens the system menu; a second one within the double-click time
// closes the window, a later one only shuts the menu.
TEST_F(SystemMenus, ADoubleClickOnTheIconClosesTheWindowASlowOneOnlyShutsTheMenu) {
  RECT wr;
  GetWindowRect(owner, &wr);
  const RECT icon = GetFrameLayout(owner).sysMenuButton;
  ASSERT_FALSE(icon.IsEmpty());
  const POINT at{wr.Left + (icon.Left + icon.Right) / 2, wr.Top + (icon.Top + icon.Bottom) / 2};
  desktop.Schedule(int(GetDoubleClickTime()) + 10, [&] { Click(at); });
  Click(at);
  desktop.Pump();
  EXPECT_TRUE(IsWindow(owner));
  EXPECT_TRUE(MenuWindows().empty());
  Click(at);
  Click(at);
  desktop.Pump();
  EXPECT_FALSE(IsWindow(owner));
}

TEST_F(SystemMenus, MoveAndSizeWorkFromTheKeyboard) {
  RECT before, after;
  GetWindowRect(owner, &before);
  // Move: Right twice, Enter.
  desktop.Schedule(10, [] { InjectText(u"п"); });
  desktop.Schedule(20, [] {
    Tap(kRight);
    Tap(kRight);
    Tap(kEnter);
  });
  SendMessageW(owner, WM_SYSCOMMAND, SC_KEYMENU, ' ');
  desktop.Pump();
  GetWindowRect(owner, &after);
  EXPECT_EQ(after, before.Offset(16, 0));
  // Size: Down picks the bottom edge, Down twice more grows it, Enter.
  desktop.Schedule(10, [] { InjectText(u"р"); });
  desktop.Schedule(20, [] {
    Tap(kDown);
    Tap(kDown);
    Tap(kDown);
    Tap(kEnter);
  });
  SendMessageW(owner, WM_SYSCOMMAND, SC_KEYMENU, ' ');
  desktop.Pump();
  RECT sized;
  GetWindowRect(owner, &sized);
  EXPECT_EQ(sized, (RECT{after.Left, after.Top, after.Right, after.Bottom + 16}));
  // Escape puts the size back.
  desktop.Schedule(10, [] { InjectText(u"р"); });
  desktop.Schedule(20, [] {
    Tap(kLeft);
    Tap(kLeft);
    Tap(kEscape);
  });
  SendMessageW(owner, WM_SYSCOMMAND, SC_KEYMENU, ' ');
  desktop.Pump();
  GetWindowRect(owner, &after);
  EXPECT_EQ(after, sized);
}

using MenuBars = Menus;

TEST_F(MenuBars, TheBarTakesRoomBelowTheCaptionAndOpensItsPopups) {
  HMENU file = CreatePopupMenu();
  AppendMenuW(file, MF_STRING, 101, u"&New");
  AppendMenuW(file, MF_STRING, 102, u"&Quit");
  HMENU help = CreatePopupMenu();
  AppendMenuW(help, MF_STRING, 201, u"&About");
  HMENU bar = CreateMenu();
  AppendMenuW(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(file), u"&File");
  AppendMenuW(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(help), u"&Help");
  RECT before;
  GetClientRect(owner, &before);
  ASSERT_TRUE(SetMenu(owner, bar));
  EXPECT_EQ(GetMenu(owner), bar);
  RECT after;
  GetClientRect(owner, &after);
  EXPECT_EQ(after.Height(), before.Height() - GetSystemMetrics(SM_CYMENU));
  RECT fileRect, helpRect;
  ASSERT_TRUE(GetMenuItemRect(owner, bar, 0, &fileRect));
  ASSERT_TRUE(GetMenuItemRect(owner, bar, 1, &helpRect));
  EXPECT_EQ(fileRect.Right, helpRect.Left);
  EXPECT_EQ(SendMessageW(owner, WM_NCHITTEST, 0, LParamFromPoint(Centre(helpRect))), HTMENU);
  // A click on "Help" drops it; a click on "About" chooses.
  desktop.Schedule(10, [&] { Click(Centre(ItemRect(help, 0))); });
  Click(Centre(helpRect));
  desktop.Pump();
  ASSERT_EQ(Of(WM_COMMAND, owner).size(), 1u);
  EXPECT_EQ(Of(WM_COMMAND, owner)[0].wParam, MAKEWPARAM(201, 0));
  EXPECT_EQ(Of(WM_ENTERMENULOOP, owner)[0].wParam, 0u);
  // Alt+F drops "File" with "New" hot; Right moves to "Help" dropped; Enter chooses "About".
  log.clear();
  desktop.Schedule(10, [] {
    Tap(kRight);
    Tap(kEnter);
  });
  SendMessageW(owner, WM_SYSCOMMAND, SC_KEYMENU, 'f');
  desktop.Pump();
  ASSERT_EQ(Of(WM_COMMAND, owner).size(), 1u);
  EXPECT_EQ(Of(WM_COMMAND, owner)[0].wParam, MAKEWPARAM(201, 0));
  // F10 selects the bar; Down drops "File", Down, Enter: "Quit".
  log.clear();
  desktop.Schedule(10, [] {
    Tap(kDown);
    Tap(kDown);
    Tap(kEnter);
  });
  Tap(0x44);  // F10
  desktop.Pump();
  ASSERT_EQ(Of(WM_COMMAND, owner).size(), 1u);
  EXPECT_EQ(Of(WM_COMMAND, owner)[0].wParam, MAKEWPARAM(102, 0));
  // A command item on the bar is chosen by a click on it; a press on it that is released
  // elsewhere on the bar chooses nothing.
  AppendMenuW(bar, MF_STRING, 301, u"&Run");
  DrawMenuBar(owner);
  RECT runRect;
  ASSERT_TRUE(GetMenuItemRect(owner, bar, 2, &runRect));
  log.clear();
  Click(Centre(runRect));
  desktop.Pump();
  ASSERT_EQ(Of(WM_COMMAND, owner).size(), 1u);
  EXPECT_EQ(Of(WM_COMMAND, owner)[0].wParam, MAKEWPARAM(301, 0));
  log.clear();
  desktop.Schedule(10, [] { Tap(kEscape); });
  InjectMouseMove(Centre(runRect));
  InjectMouseButton(0, true, Centre(runRect));
  InjectMouseMove(Centre(fileRect));
  InjectMouseButton(0, false, Centre(fileRect));
  desktop.Pump();
  EXPECT_TRUE(Of(WM_COMMAND, owner).empty());
  // The bar goes with its window.
  DestroyWindow(owner);
  EXPECT_FALSE(IsMenu(bar));
  EXPECT_FALSE(IsMenu(file));
}

gfx::COLORREF PixelOf(gfx::Bitmap& pic, int x, int y) {
  gfx::DeviceContext dc(pic);
  return gfx::GetPixel(&dc, x, y);
}

// A bar of "&File", "&Edit", "&View" (each with one command) and a greyed "&Off" on owner.
HMENU BarOf(HWND owner, int extra = 0) {
  HMENU bar = CreateMenu();
  const char16_t* names[] = {u"&File", u"&Edit", u"&View"};
  for (int i = 0; i < 3; ++i) {
    HMENU sub = CreatePopupMenu();
    AppendMenuW(sub, MF_STRING, UINT_PTR(100 * (i + 1)), u"&Go");
    AppendMenuW(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(sub), names[i]);
  }
  AppendMenuW(bar, MF_GRAYED, 400, u"&Off");
  for (int i = 0; i < extra; ++i) AppendMenuW(bar, MF_STRING, UINT_PTR(500 + i), u"Another item");
  SetMenu(owner, bar);
  return bar;
}

// The bar as the plain frame paints it, in a picture of the window's size.
gfx::Bitmap PaintBar(HWND owner) {
  RECT wr;
  GetWindowRect(owner, &wr);
  gfx::Bitmap pic(wr.Width(), wr.Height());
  gfx::DeviceContext dc(pic);
  DrawMenuBarItems(owner, &dc, GetFrameLayout(owner).menuBar);
  return pic;
}

TEST_F(MenuBars, ARightToLeftBarRunsFromTheRightAndDropsItsPopupsFromTheItemsRightEdge) {
  HMENU bar = BarOf(owner);
  for (UINT i = 0; i < 4; ++i) {
    MENUITEMINFOW mii;
    mii.fMask = MIIM_FTYPE;
    mii.fType = MFT_STRING | MFT_RIGHTORDER | MFT_RIGHTJUSTIFY;
    ASSERT_TRUE(SetMenuItemInfoW(bar, i, true, mii));
  }
  DrawMenuBar(owner);
  RECT wr, file, edit;
  GetWindowRect(owner, &wr);
  ASSERT_TRUE(GetMenuItemRect(owner, bar, 0, &file));
  ASSERT_TRUE(GetMenuItemRect(owner, bar, 1, &edit));
  EXPECT_EQ(file.Right, wr.Left + GetFrameLayout(owner).menuBar.Right);
  EXPECT_EQ(edit.Right, file.Left);
  EXPECT_EQ(detail::MenuBarItemAt(owner, {file.Right - wr.Left - 2, file.Top - wr.Top + 2}), 0);
  // Alt+F drops "File" from its right edge; Left (forward) moves on to "Edit".
  RECT dropped{}, next{};
  desktop.Schedule(10, [&] {
    GetWindowRect(MenuWindows().at(0), &dropped);
    Tap(kLeft);
  });
  desktop.Schedule(20, [&] {
    GetWindowRect(MenuWindows().at(0), &next);
    Tap(kEnter);
  });
  SendMessageW(owner, WM_SYSCOMMAND, SC_KEYMENU, 'f');
  desktop.Pump();
  EXPECT_EQ(dropped.Right, file.Right);
  EXPECT_EQ(dropped.Top, file.Bottom);
  EXPECT_EQ(next.Right, edit.Right);
  ASSERT_EQ(Of(WM_COMMAND, owner).size(), 1u);
  EXPECT_EQ(Of(WM_COMMAND, owner)[0].wParam, MAKEWPARAM(200, 0));
}

TEST_F(MenuBars, TheItemUnderTheMouseIsHotBeforeAnyClickAndCoolsWhenTheMouseLeaves) {
  HMENU bar = BarOf(owner);
  desktop.Pump();
  RECT edit, off;
  ASSERT_TRUE(GetMenuItemRect(owner, bar, 1, &edit));
  ASSERT_TRUE(GetMenuItemRect(owner, bar, 3, &off));
  RECT wr;
  GetWindowRect(owner, &wr);
  const RECT editIn = edit.Offset(-wr.Left, -wr.Top);
  gfx::Bitmap cold = PaintBar(owner);
  EXPECT_EQ(detail::MenuBarHot(owner), -1);
  InjectMouseMove(Centre(edit));
  desktop.Pump();
  EXPECT_EQ(detail::MenuBarHot(owner), 1);
  EXPECT_TRUE(Of(WM_ENTERMENULOOP, owner).empty());  // no loop: only the look changed
  // The plain look raises the hot item: a light top-left edge and a dark bottom-right one.
  gfx::Bitmap hot = PaintBar(owner);
  EXPECT_EQ(PixelOf(hot, editIn.Left, editIn.Top + 2), GetSysColor(COLOR_BTNHIGHLIGHT));
  EXPECT_EQ(PixelOf(hot, editIn.Right - 1, editIn.Top + 2), GetSysColor(COLOR_BTNSHADOW));
  EXPECT_EQ(PixelOf(cold, editIn.Left, editIn.Top + 2), GetSysColor(COLOR_MENU));
  // Another item takes over; the caption and the client area clear it.
  InjectMouseMove(Centre(off));
  desktop.Pump();
  EXPECT_EQ(detail::MenuBarHot(owner), 3);
  RECT caption = GetFrameLayout(owner).caption.Offset(wr.Left, wr.Top);
  InjectMouseMove(Centre(caption));
  desktop.Pump();
  EXPECT_EQ(detail::MenuBarHot(owner), -1);
  InjectMouseMove(Centre(edit));
  desktop.Pump();
  ASSERT_EQ(detail::MenuBarHot(owner), 1);
  RECT client;
  GetClientRect(owner, &client);
  POINT inside{client.Width() / 2, client.Height() / 2};
  ClientToScreen(owner, &inside);
  InjectMouseMove(inside);
  desktop.Pump();
  EXPECT_EQ(detail::MenuBarHot(owner), -1);
  gfx::Bitmap again = PaintBar(owner);
  EXPECT_EQ(PixelOf(again, editIn.Left, editIn.Top + 2), GetSysColor(COLOR_MENU));
}

TEST_F(MenuBars, AnOwnerDrawnBarItemIsToldItIsHotAndTheKeyboardStillWorks) {
  HMENU bar = BarOf(owner);
  MENUITEMINFOW od;
  od.fMask = MIIM_FTYPE;
  od.fType = MFT_OWNERDRAW;
  for (UINT i = 0; i < 4; ++i) SetMenuItemInfoW(bar, i, true, od);
  std::vector<DRAWITEMSTRUCT> drawn;
  handler = [&](HWND, UINT msg, WPARAM, LPARAM l) -> std::optional<LRESULT> {
    if (msg == WM_DRAWITEM) {
      drawn.push_back(*reinterpret_cast<DRAWITEMSTRUCT*>(l));
      return 1;
    }
    return std::nullopt;
  };
  DrawMenuBar(owner);
  desktop.Pump();
  RECT view;
  ASSERT_TRUE(GetMenuItemRect(owner, bar, 2, &view));
  InjectMouseMove(Centre(view));
  desktop.Pump();
  drawn.clear();
  PaintBar(owner);
  ASSERT_EQ(drawn.size(), 4u);
  EXPECT_EQ(drawn[2].itemState & ODS_HOTLIGHT, UINT(ODS_HOTLIGHT));
  EXPECT_EQ(drawn[0].itemState & ODS_HOTLIGHT, 0u);
  EXPECT_EQ(drawn[1].itemState & ODS_HOTLIGHT, 0u);
  // F10 and the arrows: the loop's item is selected, not hot, and the mouse's goes.
  UINT stateInLoop = 0;
  desktop.Schedule(10, [&] {
    drawn.clear();
    PaintBar(owner);
    for (const DRAWITEMSTRUCT& d : drawn) stateInLoop |= d.itemState;
    Tap(kRight);
    Tap(kDown);
    Tap(kEnter);
  });
  log.clear();
  Tap(0x44);  // F10
  desktop.Pump();
  EXPECT_EQ(stateInLoop & ODS_HOTLIGHT, 0u);
  EXPECT_EQ(stateInLoop & ODS_SELECTED, UINT(ODS_SELECTED));
  ASSERT_EQ(Of(WM_COMMAND, owner).size(), 1u);
  EXPECT_EQ(Of(WM_COMMAND, owner)[0].wParam, MAKEWPARAM(200, 0));  // File, Right: Edit's "Go"
}

// The item under the mouse comes from the bar's last layout while nothing that places the
// items changed: no item is measured again for a move. Every change that moves an item gives
// the answer a new layout gives.
TEST_F(MenuBars, TheItemUnderTheMouseFollowsEveryChangeThatMovesTheItems) {
  HMENU bar = BarOf(owner);
  // "&Edit" is owner-drawn: as wide as its data says, else as its text.
  MENUITEMINFOW od;
  od.fMask = MIIM_FTYPE;
  od.fType = MFT_OWNERDRAW;
  SetMenuItemInfoW(bar, 1, true, od);
  int measured = 0, extra = 0;
  handler = [&](HWND, UINT msg, WPARAM, LPARAM l) -> std::optional<LRESULT> {
    if (msg != WM_MEASUREITEM) return std::nullopt;
    auto* mis = reinterpret_cast<MEASUREITEMSTRUCT*>(l);
    if (mis->itemData) mis->itemWidth = UINT(mis->itemData);
    mis->itemWidth += UINT(extra);
    ++measured;
    return 1;
  };
  DrawMenuBar(owner);
  desktop.Pump();
  // The cached answers along the bar's rows first, then the bar laid out anew.
  auto check = [&](const char* what) {
    const FrameLayout f = GetFrameLayout(owner);
    std::vector<std::pair<POINT, int>> cached;
    for (int y = f.menuBar.Top + 1; y < f.menuBar.Bottom; y += GetSystemMetrics(SM_CYMENU))
      for (int x = f.menuBar.Left; x < f.menuBar.Right; x += 3)
        cached.push_back({{x, y}, detail::MenuBarItemAt(owner, {x, y})});
    const std::vector<RECT> fresh =
        detail::MenuBarLayout(owner, f.menuBar.Left, f.menuBar.Top, f.menuBar.Width());
    int wrong = 0;
    for (const auto& [p, got] : cached) {
      int want = -1;
      for (std::size_t i = 0; i < fresh.size() && want < 0; ++i)
        if (fresh[i].Contains(p)) want = int(i);
      wrong += got != want;
    }
    EXPECT_EQ(wrong, 0) << what;
  };
  check("as made");
  RECT view;
  ASSERT_TRUE(GetMenuItemRect(owner, bar, 2, &view));
  InjectMouseMove({view.Left + 2, view.Top + 3});
  desktop.Pump();
  ASSERT_EQ(detail::MenuBarHot(owner), 2);
  // The hot item stays: nothing to paint, and nothing to measure.
  measured = 0;
  for (int k = 1; k < 5; ++k) InjectMouseMove({view.Left + 2 + k, view.Top + 3});
  desktop.Pump();
  EXPECT_EQ(detail::MenuBarHot(owner), 2);
  EXPECT_EQ(measured, 0) << "moves within an item measured the bar again";
  // The owner measures differently and says so with DrawMenuBar.
  extra = 40;
  DrawMenuBar(owner);
  check("measured wider");
  // The owner-drawn item's data, another text, the default item in bold, a new item.
  od.fMask = MIIM_DATA;
  od.dwItemData = 90;
  SetMenuItemInfoW(bar, 1, true, od);
  check("data");
  ModifyMenuW(bar, 0, MF_BYPOSITION | MF_POPUP, reinterpret_cast<UINT_PTR>(GetSubMenu(bar, 0)),
              u"&File and more");
  check("text");
  SetMenuDefaultItem(bar, 2, true);
  check("bold");
  InsertMenuW(bar, 0, MF_BYPOSITION | MF_STRING, 600, u"&New");
  check("inserted");
  RemoveMenu(bar, 0, MF_BYPOSITION);
  check("removed");
  // The last item pushed to the right edge; then a narrower window (rows wrap) and a wider one.
  MENUITEMINFOW right;
  right.fMask = MIIM_FTYPE;
  right.fType = MFT_RIGHTJUSTIFY;
  SetMenuItemInfoW(bar, 3, true, right);
  check("right-justified");
  RECT wr;
  GetWindowRect(owner, &wr);
  SetWindowPos(owner, nullptr, 0, 0, 200, wr.Height(), SWP_NOMOVE | SWP_NOZORDER);
  check("narrow");
  SetWindowPos(owner, nullptr, 0, 0, wr.Width() + 100, wr.Height(), SWP_NOMOVE | SWP_NOZORDER);
  check("wide");
  // Another bar on the window.
  HMENU other = CreateMenu();
  AppendMenuW(other, MF_STRING, 700, u"&Only one rather long item");
  SetMenu(owner, other);
  check("another bar");
  DestroyMenu(bar);
}

TEST_F(MenuBars, ABarThatDoesNotFitWrapsAndTheFrameMakesRoomForItsRows) {
  RECT before;
  GetClientRect(owner, &before);
  HMENU bar = BarOf(owner, 6);
  const int row = GetSystemMetrics(SM_CYMENU);
  const int n = GetMenuItemCount(bar);
  RECT first, last;
  ASSERT_TRUE(GetMenuItemRect(owner, bar, 0, &first));
  ASSERT_TRUE(GetMenuItemRect(owner, bar, UINT(n - 1), &last));
  const FrameLayout f = GetFrameLayout(owner);
  const int rows = f.menuBar.Height() / row;
  ASSERT_GE(rows, 2);
  EXPECT_EQ(f.menuBar.Height(), rows * row);
  EXPECT_EQ(last.Top, first.Top + (rows - 1) * row);
  RECT client;
  GetClientRect(owner, &client);
  EXPECT_EQ(client.Height(), before.Height() - rows * row);
  // Every item lies inside the bar and none overlaps the one before it on its row.
  RECT wr;
  GetWindowRect(owner, &wr);
  RECT prev{};
  for (int i = 0; i < n; ++i) {
    RECT r;
    ASSERT_TRUE(GetMenuItemRect(owner, bar, UINT(i), &r));
    r = r.Offset(-wr.Left, -wr.Top);
    EXPECT_GE(r.Left, f.menuBar.Left);
    EXPECT_LE(r.Right, f.menuBar.Right);
    EXPECT_LE(r.Bottom, f.menuBar.Bottom);
    if (i > 0 && r.Top == prev.Top) {
      EXPECT_GE(r.Left, prev.Right);
    }
    prev = r;
  }
  // The last row answers the hit test and its items open with a click.
  EXPECT_EQ(SendMessageW(owner, WM_NCHITTEST, 0, LParamFromPoint(Centre(last))), HTMENU);
  log.clear();
  Click(Centre(last));
  desktop.Pump();
  ASSERT_EQ(Of(WM_COMMAND, owner).size(), 1u);
  EXPECT_EQ(Of(WM_COMMAND, owner)[0].wParam, MAKEWPARAM(UINT(500 + 5), 0));
  // Wide enough, one row again; fewer items after DrawMenuBar, the frame shrinks back too.
  SetWindowPos(owner, nullptr, 0, 0, 1200, wr.Height(), SWP_NOMOVE | SWP_NOZORDER);
  EXPECT_EQ(GetFrameLayout(owner).menuBar.Height(), row);
  SetWindowPos(owner, nullptr, 0, 0, wr.Width(), wr.Height(), SWP_NOMOVE | SWP_NOZORDER);
  ASSERT_EQ(GetFrameLayout(owner).menuBar.Height(), rows * row);
  while (GetMenuItemCount(bar) > 4) DeleteMenu(bar, 4, MF_BYPOSITION);
  DrawMenuBar(owner);
  EXPECT_EQ(GetFrameLayout(owner).menuBar.Height(), row);
  GetClientRect(owner, &client);
  EXPECT_EQ(client.Height(), before.Height() - row);
}

}  // namespace
}  // namespace win::test
