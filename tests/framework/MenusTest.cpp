// The framework's menus: items read from a description into window-system menus, pop-up menus
// opened by Popup and by a control's PopupMenu, clicks, owner-drawn items, the menu bar of a
// form, and the dump of an open menu.
#include "framework/Menus.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "Harness.h"
#include "framework/Automation.h"
#include "framework/Image.h"
#include "framework/ImageList.h"
#include "framework/Panel.h"
#include "framework/Reader.h"
#include "platform/backend/Dump.h"
#include "platform/win/Input.h"
#include "platform/win/MenuWindow.h"
#include "platform/win/MessageQueue.h"
#include "platform/win/NonClient.h"
#include "platform/win/Paint.h"
#include "platform/win/Styles.h"
#include "platform/win/SystemMetrics.h"
#include "platform/win/Window.h"

namespace fw::test {
namespace {

constexpr unsigned kDown = 0xE050;

class TMenuForm : public TForm {
 public:
  explicit TMenuForm(TComponent* owner) : TForm(owner) {
    PublishMethod("ItemClick", [this](TComponent* s) { clicked.push_back(s->Name()); });
    PublishMethod("MenuPopup", [this](TComponent* s) { clicked.push_back("popup " + s->Name()); });
  }
  std::vector<std::string> clicked;
};

const char* kDescription = R"(object F: TMenuForm
  Left = 100
  Top = 100
  Width = 400
  Height = 300
  Menu = MainMenu1
  object Box: TPanel
    Left = 10
    Top = 10
    Width = 100
    Height = 100
    PopupMenu = PopupMenu1
  end
  object MainMenu1: TMainMenu
    object FileItem: TMenuItem
      Caption = '&File'
      object OpenItem: TMenuItem
        Caption = '&Open'
        ShortCut = 16463
        Default = True
        OnClick = ItemClick
      end
      object Line1: TMenuItem
        Caption = '-'
      end
      object QuitItem: TMenuItem
        Caption = '&Quit'
        Enabled = False
      end
    end
  end
  object PopupMenu1: TPopupMenu
    OnPopup = MenuPopup
    object Red: TMenuItem
      Caption = '&Red'
      RadioItem = True
      Checked = True
      GroupIndex = 1
      OnClick = ItemClick
    end
    object Green: TMenuItem
      Caption = '&Green'
      RadioItem = True
      GroupIndex = 1
      OnClick = ItemClick
    end
    object More: TMenuItem
      Caption = 'More'
      Break = mbBarBreak
      object Hidden: TMenuItem
        Caption = 'Hidden'
        Visible = False
      end
      object Deep: TMenuItem
        Caption = 'Deep'
        OnClick = ItemClick
      end
    end
  end
end
)";

class Menus : public FrameworkTest {
 protected:
  void SetUp() override {
    FrameworkTest::SetUp();
    InstallFormDump();
    RegisterClass<TMenuForm>("TMenuForm", "TForm");
    form = new TMenuForm(app.get());
    ReadComponentText(form, kDescription, "Menus.txt", ".");
    form->Show();
    desktop.Pump();
  }
  TMainMenu* Main() { return dynamic_cast<TMainMenu*>(form->FindComponent("MainMenu1")); }
  TPopupMenu* Popup() { return dynamic_cast<TPopupMenu*>(form->FindComponent("PopupMenu1")); }
  TMenuItem* Item(const char* name) { return dynamic_cast<TMenuItem*>(form->FindComponent(name)); }

  TMenuForm* form = nullptr;
};

TEST_F(Menus, ADescriptionBuildsTheItemsAndTheirWindowSystemMenus) {
  ASSERT_EQ(form->Menu(), Main());
  ASSERT_EQ(Main()->Items()->Count(), 1);
  TMenuItem* file = Main()->Items()->Items(0);
  EXPECT_EQ(file->Count(), 3);
  EXPECT_EQ(Item("OpenItem")->Parent(), file);
  EXPECT_EQ(Item("OpenItem")->GetParentMenu(), Main());
  EXPECT_TRUE(Item("Line1")->IsLine());
  // The form's window shows the bar; the File submenu holds the items as the platform's.
  win::HMENU bar = win::GetMenu(form->Handle());
  ASSERT_EQ(bar, Main()->Handle());
  win::HMENU sub = win::GetSubMenu(bar, 0);
  ASSERT_TRUE(win::IsMenu(sub));
  EXPECT_EQ(Main()->FindItemByHandle(sub), file);
  const win::MenuItem* open = win::GetMenuItem(sub, 0, win::MF_BYPOSITION);
  EXPECT_EQ(open->text, u"&Open\tCtrl+O");
  EXPECT_EQ(open->flags & win::MF_DEFAULT, win::MF_DEFAULT);
  EXPECT_EQ(open->id, Item("OpenItem")->Command());
  EXPECT_EQ(win::GetMenuState(sub, 1, win::MF_BYPOSITION) & win::MF_SEPARATOR, win::MF_SEPARATOR);
  EXPECT_EQ(win::GetMenuState(sub, 2, win::MF_BYPOSITION) & win::MF_GRAYED, win::MF_GRAYED);
  // The pop-up menu: radio items, a bar break, a hidden item left out.
  win::HMENU popup = Popup()->Handle();
  EXPECT_EQ(
      win::GetMenuState(popup, 0, win::MF_BYPOSITION) & (win::MF_CHECKED | win::MFT_RADIOCHECK),
      win::MF_CHECKED | win::MFT_RADIOCHECK);
  EXPECT_EQ(win::GetMenuState(popup, 2, win::MF_BYPOSITION) & win::MF_MENUBARBREAK,
            win::MF_MENUBARBREAK);
  EXPECT_EQ(win::GetMenuItemCount(win::GetSubMenu(popup, 2)), 1);
  auto* box = dynamic_cast<TControl*>(form->FindComponent("Box"));
  EXPECT_EQ(box->PopupMenu(), Popup());
}

TEST_F(Menus, ItemsKeepTheirGroupsAndTheirTreeThroughChangesAndFreeing) {
  Item("Green")->SetChecked(true);
  EXPECT_FALSE(Item("Red")->Checked());
  Item("Deep")->SetDefault(true);
  EXPECT_TRUE(Item("Deep")->Default());
  // A change makes the handle again with it.
  win::HMENU popup = Popup()->Handle();
  EXPECT_EQ(win::GetMenuState(popup, 1, win::MF_BYPOSITION) & win::MF_CHECKED, win::MF_CHECKED);
  // Freed by its owner, an item leaves its parent; freed by its parent, it leaves its owner.
  TMenuItem* more = Item("More");
  delete Item("Deep");
  EXPECT_EQ(more->Count(), 1);
  more->Delete(0);
  EXPECT_EQ(form->FindComponent("Hidden"), nullptr);
  EXPECT_THROW(more->Add(more), EComponentError);
  // An item made in code, without an owner, is freed by its parent.
  auto* extra = new TMenuItem(nullptr);
  extra->SetCaption(u"Extra");
  more->Add(extra);
  EXPECT_EQ(win::GetMenuItemCount(win::GetSubMenu(Popup()->Handle(), 2)), 1);
  // A freed menu is forgotten by the control and the form.
  delete Popup();
  EXPECT_EQ(dynamic_cast<TControl*>(form->FindComponent("Box"))->PopupMenu(), nullptr);
  delete Main();
  EXPECT_EQ(form->Menu(), nullptr);
  EXPECT_EQ(win::GetMenu(form->Handle()), nullptr);
}

// Changed items fill the same window-system menus again: whoever holds a handle (an open
// pop-up, the form's bar) keeps it, and items others put on them stay where they were.
TEST_F(Menus, ChangesFillTheSameMenusAgainAndLeaveOthersItemsInPlace) {
  TMenuItem* fileItem = Item("FileItem");
  const win::HMENU bar = Main()->Handle();
  const win::HMENU file = Main()->SubmenuHandle(fileItem);
  ASSERT_TRUE(win::IsMenu(file));
  // Another's items: an owner-drawn one opening its own menu first on the bar, a button at the
  // bar's end, an entry at the end of File.
  const win::HMENU theirs = win::CreatePopupMenu();
  win::AppendMenuW(theirs, win::MF_STRING, 0xF060, u"Close");
  win::MENUITEMINFOW icon;
  icon.fMask = win::MIIM_FTYPE | win::MIIM_ID | win::MIIM_DATA | win::MIIM_SUBMENU;
  icon.fType = win::MFT_OWNERDRAW;
  icon.hSubMenu = theirs;
  icon.dwItemData = 7;
  win::InsertMenuItemW(bar, 0, true, icon);
  win::AppendMenuW(bar, win::MF_OWNERDRAW | win::MF_RIGHTJUSTIFY, 0xF060, u"");
  win::AppendMenuW(file, win::MF_STRING, 0xFF00, u"&1 Other");

  Item("OpenItem")->SetCaption(u"&Open...");
  auto* save = new TMenuItem(nullptr);
  save->SetCaption(u"&Save");
  fileItem->Insert(1, save);
  Item("QuitItem")->SetVisible(false);
  ASSERT_EQ(Main()->Handle(), bar);
  EXPECT_EQ(win::GetMenu(form->Handle()), bar);
  ASSERT_EQ(Main()->SubmenuHandle(fileItem), file);
  auto texts = [](win::HMENU m) {
    std::vector<std::u16string> out;
    for (int i = 0; i < win::GetMenuItemCount(m); ++i)
      out.push_back(win::GetMenuItem(m, win::UINT(i), win::MF_BYPOSITION)->text);
    return out;
  };
  EXPECT_EQ(texts(file),
            (std::vector<std::u16string>{u"&Open...\tCtrl+O", u"&Save", u"-", u"&1 Other"}));
  ASSERT_EQ(win::GetMenuItemCount(bar), 3);
  EXPECT_EQ(win::GetSubMenu(bar, 0), theirs);
  EXPECT_EQ(win::GetSubMenu(bar, 1), file);
  EXPECT_EQ(win::GetMenuItem(bar, 2, win::MF_BYPOSITION)->id, 0xF060u);
  // The items still answer their commands.
  win::SendMessageW(form->Handle(), win::WM_COMMAND, Item("OpenItem")->Command(), 0);
  EXPECT_EQ(form->clicked, (std::vector<std::string>{"OpenItem"}));

  // File left without items opens nothing: its menu goes, another's stays.
  fileItem->Clear();
  ASSERT_EQ(Main()->Handle(), bar);
  EXPECT_FALSE(win::IsMenu(file));
  EXPECT_TRUE(win::IsMenu(theirs));
  EXPECT_EQ(win::GetMenuItemCount(bar), 3);
  EXPECT_EQ(win::GetSubMenu(bar, 1), nullptr);
  // A new item makes it a new one; the bar's first item is another's again.
  auto* again = new TMenuItem(nullptr);
  again->SetCaption(u"&New");
  fileItem->Add(again);
  const win::HMENU made = Main()->SubmenuHandle(fileItem);
  ASSERT_TRUE(win::IsMenu(made));
  EXPECT_EQ(win::GetSubMenu(bar, 1), made);
  EXPECT_EQ(texts(made), (std::vector<std::u16string>{u"&New"}));
  EXPECT_EQ(win::GetSubMenu(bar, 0), theirs);
}

TEST_F(Menus, ARightClickOpensThePopupMenuAndTheDumpShowsItsItems) {
  std::string dump;
  desktop.Schedule(10, [&] {
    win::InjectKey(kDown, true);
    win::InjectKey(kDown, false);
  });
  desktop.Schedule(20, [&] {
    dump = backend::DumpWindows();
    win::InjectText(u"g");
  });
  // The panel lies at (10, 10) of the client area.
  win::POINT at{0, 0};
  win::ClientToScreen(form->Handle(), &at);
  win::POINT p{at.X + 50, at.Y + 50};
  win::InjectMouseMove(p);
  win::InjectMouseButton(1, true, p);
  win::InjectMouseButton(1, false, p);
  desktop.Pump();
  EXPECT_EQ(form->clicked, (std::vector<std::string>{"popup PopupMenu1", "Green"}));
  EXPECT_EQ(Popup()->PopupComponent, form->FindComponent("Box"));
  // Only the menu's window carries "menu": its items with their states, "Red" hot.
  EXPECT_NE(dump.find(R"("menu":[{"caption":"&Red","enabled":true,"checked":true,)"
                      R"("default":false,"hot":true,"submenu":false},)"),
            std::string::npos)
      << dump;
  EXPECT_NE(dump.find(R"({"caption":"More","enabled":true,"checked":false,"default":false,)"
                      R"("hot":false,"submenu":true}])"),
            std::string::npos);
  EXPECT_EQ(dump.find("\"menu\""), dump.rfind("\"menu\""));
  EXPECT_NE(dump.find(R"("class":"#32768")"), std::string::npos);
}

TEST_F(Menus, OwnerDrawnItemsAreMeasuredAndDrawnByTheirEvents) {
  TMenuItem* red = Item("Red");
  std::vector<TOwnerDrawState> states;
  std::vector<std::u16string> canvases;  // the class of the window drawn on
  for (const char* name : {"Red", "Green", "More"}) {
    Item(name)->OnMeasureItem = [](TMenuItem* item, TCanvas& canvas, int& w, int& h) {
      w = canvas.TextWidth(item->Caption()) + 40;
      h = item->Caption() == u"&Red" ? 30 : 24;
    };
    Item(name)->OnAdvancedDrawItem = [&](TMenuItem* item, TCanvas& canvas, const TRect& r,
                                         TOwnerDrawState state) {
      canvas.BrushColor = (state & odSelected) ? clRed : clWhite;
      canvas.FillRect(r);
      if (item->Name() == "Red") {
        states.push_back(state);
        canvases.push_back(win::GetClassNameW(win::WindowFromDC(canvas.Handle())));
      }
    };
  }
  win::RECT client{};
  desktop.Schedule(10, [&] {
    win::HWND menu = win::GetTopWindow(nullptr);
    win::GetClientRect(menu, &client);
    win::InjectKey(kDown, true);
    win::InjectKey(kDown, false);
  });
  desktop.Schedule(20, [&] {
    win::InjectKey(kEscape, true);
    win::InjectKey(kEscape, false);
  });
  Popup()->Popup(300, 300);
  // Column one: "Red" 30 and "Green" 24 high; "More" starts the second column.
  EXPECT_EQ(client.Height(), 54);
  ASSERT_EQ(states.size(), 2u);
  EXPECT_EQ(states[0], TOwnerDrawState(odChecked));
  EXPECT_EQ(states[1], TOwnerDrawState(odSelected | odChecked));
  EXPECT_EQ(canvases[0], win::POPUPMENU_CLASS);
  EXPECT_EQ(canvases[1], win::POPUPMENU_CLASS);
  EXPECT_TRUE(red->OwnerDrawn());
}

TEST_F(Menus, TheMenuBarOpensByMouseAndKeyboardAndClicksItsItems) {
  win::RECT file;
  ASSERT_TRUE(win::GetMenuItemRect(form->Handle(), Main()->Handle(), 0, &file));
  desktop.Schedule(10, [&] {
    win::RECT open;
    win::GetMenuItemRect(nullptr, win::GetSubMenu(Main()->Handle(), 0), 0, &open);
    win::POINT p{(open.Left + open.Right) / 2, (open.Top + open.Bottom) / 2};
    win::InjectMouseMove(p);
    win::InjectMouseButton(0, true, p);
    win::InjectMouseButton(0, false, p);
  });
  Click((file.Left + file.Right) / 2, (file.Top + file.Bottom) / 2);
  EXPECT_EQ(form->clicked, (std::vector<std::string>{"OpenItem"}));
  // Alt+F drops File with Open hot: Enter.
  desktop.Schedule(10, [&] {
    win::InjectKey(kEnter, true);
    win::InjectKey(kEnter, false);
  });
  win::SendMessageW(form->Handle(), win::WM_SYSCOMMAND, win::SC_KEYMENU, 'f');
  desktop.Pump();
  EXPECT_EQ(form->clicked, (std::vector<std::string>{"OpenItem", "OpenItem"}));
}

TEST_F(Menus, APlainMenuShowsTheHotItemInTheHighlightColour) {
  Item("Deep")->SetDefault(true);
  gfx::COLORREF hot = 0, menu = 0;
  auto tap = [](unsigned scan) {
    win::InjectKey(scan, true);
    win::InjectKey(scan, false);
  };
  desktop.Schedule(10, [&] {
    tap(0xE048);  // Up: from nothing to the last item, "More"
    tap(0xE04D);  // Right: its submenu with "Deep" hot
  });
  desktop.Schedule(20, [&] {
    SaveScreen("popup-menu");
    win::RECT deep, red;
    win::GetMenuItemRect(nullptr, win::GetSubMenu(Popup()->Handle(), 2), 0, &deep);
    win::GetMenuItemRect(nullptr, Popup()->Handle(), 0, &red);
    hot = ScreenAt(deep.Left + 2, deep.Top + 2);
    menu = ScreenAt(red.Right - 2, red.Top + 2);
    tap(kEscape);
    tap(kEscape);
  });
  Popup()->Popup(300, 200);
  EXPECT_EQ(hot, win::GetSysColor(win::COLOR_HIGHLIGHT));
  EXPECT_EQ(menu, win::GetSysColor(win::COLOR_MENU));
  EXPECT_TRUE(form->clicked == std::vector<std::string>{"popup PopupMenu1"});
}

// Presses a key with Ctrl held.
void CtrlKey(unsigned scan) {
  constexpr unsigned kCtrl = 0x1D;
  win::InjectKey(kCtrl, true);
  win::InjectKey(scan, true);
  win::InjectKey(scan, false);
  win::InjectKey(kCtrl, false);
}

TEST_F(Menus, AShortCutClicksItsItemThroughTheFormsMenusWithItsParentsFirst) {
  constexpr unsigned kO = 0x18, kG = 0x22, kQ = 0x10;
  Item("FileItem")->OnClick = [&](TComponent* s) { form->clicked.push_back(s->Name()); };
  Item("QuitItem")->SetShortCut(TShortCut(scCtrl | 'Q'));
  Item("Green")->SetShortCut(TShortCut(scCtrl | 'G'));
  std::vector<win::WORD> keysSeen;
  form->SetKeyPreview(true);
  form->OnKeyDown = [&](TComponent*, win::WORD& key, TShiftState) { keysSeen.push_back(key); };
  // Ctrl+O: the bar's "Open", after its parent "File" was clicked.
  CtrlKey(kO);
  desktop.Pump();
  EXPECT_EQ(form->clicked, (std::vector<std::string>{"FileItem", "OpenItem"}));
  // A disabled item does not answer: the key goes on to the form.
  form->clicked.clear();
  CtrlKey(kQ);
  desktop.Pump();
  EXPECT_TRUE(form->clicked.empty());
  EXPECT_NE(std::find(keysSeen.begin(), keysSeen.end(), win::WORD('Q')), keysSeen.end());
  // A pop-up menu's item answers only where the control (or a parent) holds that menu.
  CtrlKey(kG);
  desktop.Pump();
  EXPECT_TRUE(form->clicked.empty());
  form->SetPopupMenu(Popup());
  keysSeen.clear();
  CtrlKey(kG);
  desktop.Pump();
  EXPECT_EQ(form->clicked, (std::vector<std::string>{"Green"}));
  EXPECT_EQ(std::find(keysSeen.begin(), keysSeen.end(), win::WORD('G')), keysSeen.end());
  EXPECT_EQ(ShortCut('G', ssCtrl | ssShift), TShortCut(scCtrl | scShift | 'G'));
}

TEST_F(Menus, PlainMenusShowTheItemsPicturesFromTheImagesOrTheirBitmap) {
  auto* list = new TImageList(form);
  gfx::Bitmap red(16, 16), blue(16, 16);
  red.Fill(gfx::MakePixel(0, 0, 255, 255));
  blue.Fill(gfx::MakePixel(255, 0, 0, 255));
  list->Add(u"red", red);
  Popup()->SetImages(list);
  Item("Green")->SetImageIndex(0);
  Item("Red")->SetImageIndex(5);  // past the list: no picture
  auto pictureOf = [&](int position) -> const gfx::Bitmap* {
    win::MENUITEMINFOW mii;
    mii.fMask = win::MIIM_BITMAP;
    win::GetMenuItemInfoW(Popup()->Handle(), win::UINT(position), true, &mii);
    return mii.hbmpItem;
  };
  ASSERT_NE(pictureOf(1), nullptr);
  EXPECT_EQ(pictureOf(1)->At(3, 3), red.At(0, 0));
  EXPECT_EQ(pictureOf(0), nullptr);
  // The menu follows the list's changes, and an item's own bitmap comes first.
  list->Replace(0, blue);
  list->Change();
  EXPECT_EQ(pictureOf(1)->At(3, 3), blue.At(0, 0));
  Item("Green")->SetBitmap(&red);
  EXPECT_EQ(pictureOf(1)->At(3, 3), red.At(0, 0));
  // Shown in the open menu, left of the text.
  gfx::COLORREF shown = 0;
  desktop.Schedule(10, [&] {
    win::RECT green;
    win::GetMenuItemRect(nullptr, Popup()->Handle(), 1, &green);
    shown = ScreenAt(green.Left + 10, (green.Top + green.Bottom) / 2);
    SaveScreen("popup-menu-pictures");
    win::InjectKey(kEscape, true);
    win::InjectKey(kEscape, false);
  });
  Popup()->Popup(300, 200);
  EXPECT_EQ(shown, gfx::RGB(255, 0, 0));
  // A list freed leaves the items without pictures.
  Item("Green")->SetBitmap(nullptr);
  delete list;
  EXPECT_EQ(Popup()->Images(), nullptr);
  EXPECT_EQ(pictureOf(1), nullptr);
}

TEST_F(Menus, AWindowlessControlsPopupMenuOpensOnARightClick) {
  auto* image = new TImage(form);
  image->SetParent(form);
  image->SetBounds(200, 10, 60, 60);
  image->SetPopupMenu(Popup());
  desktop.Pump();
  bool open = false;
  desktop.Schedule(10, [&] {
    win::HWND top = win::GetTopWindow(nullptr);
    open = top && win::GetClassNameW(top) == win::POPUPMENU_CLASS;
    win::InjectKey(kEscape, true);
    win::InjectKey(kEscape, false);
  });
  win::POINT p{230, 40};
  win::ClientToScreen(form->Handle(), &p);
  win::InjectMouseMove(p);
  win::InjectMouseButton(1, true, p);
  win::InjectMouseButton(1, false, p);
  desktop.Pump();
  EXPECT_TRUE(open);
  EXPECT_EQ(form->clicked, (std::vector<std::string>{"popup PopupMenu1"}));
  EXPECT_EQ(Popup()->PopupComponent, image);
  // A windowed child without a menu over the image passes the request up to the form, which
  // must not take it for a click on the image under the child.
  auto* cover = new TPanel(form);
  cover->SetParent(form);
  cover->SetBounds(200, 10, 60, 60);
  desktop.Pump();
  form->clicked.clear();
  desktop.Schedule(10, [&] {
    win::InjectKey(kEscape, true);
    win::InjectKey(kEscape, false);
  });
  win::InjectMouseButton(1, true, p);
  win::InjectMouseButton(1, false, p);
  desktop.Pump();
  EXPECT_TRUE(form->clicked.empty());
  delete cover;
  desktop.Pump();
  // Without a menu of its own the click opens nothing (the form has none).
  image->SetPopupMenu(nullptr);
  form->clicked.clear();
  win::InjectMouseButton(1, true, p);
  win::InjectMouseButton(1, false, p);
  desktop.Pump();
  EXPECT_TRUE(form->clicked.empty());

  // The chosen item's handler runs after the loop: PopupComponent never names a control that
  // has left the menu or been freed; one that shares the menu without opening it leaves it be.
  EXPECT_EQ(Popup()->PopupComponent, nullptr);
  image->SetPopupMenu(Popup());
  desktop.Schedule(10, [] {
    win::InjectKey(kEscape, true);
    win::InjectKey(kEscape, false);
  });
  win::InjectMouseButton(1, true, p);
  win::InjectMouseButton(1, false, p);
  desktop.Pump();
  ASSERT_EQ(Popup()->PopupComponent, image);
  delete form->FindComponent("Box");
  EXPECT_EQ(Popup()->PopupComponent, image);
  delete image;
  EXPECT_EQ(Popup()->PopupComponent, nullptr);
}

TEST_F(Menus, AFormsMenuReadsAsItsFormDoesAndOnlyOnARightToLeftSystem) {
  auto flagsOf = [](win::HMENU menu, unsigned position) {
    const win::MenuItem* it = win::GetMenuItem(menu, position, win::MF_BYPOSITION);
    return it ? it->flags : 0u;
  };
  form->SetBiDiMode(TBiDiMode::bdRightToLeft);
  EXPECT_EQ(Main()->BiDiMode(), TBiDiMode::bdRightToLeft);
  // The Russian system reads left to right whatever the form says.
  EXPECT_FALSE(Main()->IsRightToLeft());
  EXPECT_FALSE(flagsOf(Main()->Handle(), 0) & win::MFT_RIGHTORDER);
  win::SetUIRightToLeft(true);
  EXPECT_TRUE(Main()->IsRightToLeft());
  const win::HMENU bar = Main()->Handle();  // made again, in place
  EXPECT_EQ(win::GetMenu(form->Handle()), bar);
  EXPECT_EQ(flagsOf(bar, 0) & (win::MFT_RIGHTORDER | win::MFT_RIGHTJUSTIFY),
            win::MFT_RIGHTORDER | win::MFT_RIGHTJUSTIFY);
  const win::HMENU file = win::GetSubMenu(bar, 0);
  EXPECT_EQ(flagsOf(file, 0) & (win::MFT_RIGHTORDER | win::MFT_RIGHTJUSTIFY), win::MFT_RIGHTORDER);
  // The bar starts at the right: "File" ends where the bar does.
  win::RECT wr, item;
  win::GetWindowRect(form->Handle(), &wr);
  ASSERT_TRUE(win::GetMenuItemRect(form->Handle(), bar, 0, &item));
  EXPECT_EQ(item.Right, wr.Left + win::GetFrameLayout(form->Handle()).menuBar.Right);
  // A pop-up menu with a mode of its own hangs to the left of the point and says it reads
  // from the right; the form going back to left to right leaves it so.
  Popup()->SetBiDiMode(TBiDiMode::bdRightToLeft);
  form->SetBiDiMode(TBiDiMode::bdLeftToRight);
  EXPECT_FALSE(Main()->IsRightToLeft());
  EXPECT_FALSE(flagsOf(Main()->Handle(), 0) & win::MFT_RIGHTORDER);
  EXPECT_TRUE(Popup()->IsRightToLeft());
  EXPECT_FALSE(Popup()->ParentBiDiMode());
  win::RECT shown{};
  std::string dump;
  desktop.Schedule(10, [&] {
    dump = backend::DumpWindows();
    win::EnumWindows(
        [&](win::HWND h, win::LPARAM) {
          if (win::GetClassNameW(h) == win::POPUPMENU_CLASS) win::GetWindowRect(h, &shown);
          return true;
        },
        0);
    win::InjectKey(0x01, true);
    win::InjectKey(0x01, false);
  });
  Popup()->Popup(300, 200);
  desktop.Pump();
  EXPECT_EQ(shown.Right, 300);
  EXPECT_EQ(shown.Top, 200);
  const auto ex = win::WS_EX_TOOLWINDOW | win::WS_EX_TOPMOST | win::WS_EX_NOACTIVATE |
                  win::WS_EX_RIGHT | win::WS_EX_RTLREADING;
  EXPECT_NE(dump.find("\"exstyle\":" + std::to_string(ex)), std::string::npos) << dump;
}

}  // namespace
}  // namespace fw::test
