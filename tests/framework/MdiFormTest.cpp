// MDI forms: the parent's client window beside its aligned controls, child forms made in it,
// the window menu, activation, arrangement and closing.
#include "Harness.h"
#include "MdiMenus.h"
#include "framework/Exception.h"
#include "framework/Menus.h"
#include "framework/Reader.h"
#include "platform/win/Input.h"
#include "platform/win/Mdi.h"
#include "platform/win/Menu.h"
#include "platform/win/MessageQueue.h"
#include "platform/win/Window.h"

namespace fw::test {
namespace {

using win::POINT;
using win::RECT;

constexpr unsigned kCtrl = 0x1D, kF6 = 0x40;

class MdiForms : public FrameworkTest {
 protected:
  void SetUp() override {
    FrameworkTest::SetUp();
    parent = app->CreateForm<TForm>();
    parent->SetFormStyle(TFormStyle::fsMDIForm);
    parent->SetBounds(20, 20, 700, 500);
    const fw::test::TMdiMenus menus = fw::test::GiveMdiMenus(*parent);
    menu = menus.menu;
    windowItem = menus.windowItem;
    toolbar = new TBox(parent, parent, {0, 0, 100, 30}, clRed);
    toolbar->SetAlign(TAlign::alTop);
    parent->Show();
    desktop.Pump();
  }
  TForm* Child(const std::u16string& caption) {
    auto* f = app->CreateForm<TForm>();
    f->SetFormStyle(TFormStyle::fsMDIChild);
    f->SetCaption(caption);
    f->SetBounds(10, 10, 240, 160);
    f->Show();
    desktop.Pump();
    return f;
  }
  int WindowMenuCount() { return win::GetMenuItemCount(menu->SubmenuHandle(windowItem)); }

  TForm* parent = nullptr;
  TMainMenu* menu = nullptr;
  TMenuItem* windowItem = nullptr;
  TBox* toolbar = nullptr;
};

TEST_F(MdiForms, ChildrenLiveInTheClientBelowTheAlignedControls) {
  HWND client = parent->ClientHandle();
  ASSERT_TRUE(client);
  EXPECT_EQ(win::GetClassNameW(client), win::MDICLIENT_CLASS);
  RECT r, fc;
  win::GetWindowRect(client, &r);
  win::MapWindowPoints(nullptr, parent->Handle(), reinterpret_cast<POINT*>(&r), 2);
  win::GetClientRect(parent->Handle(), &fc);
  EXPECT_EQ(r, (RECT{0, 30, fc.Right, fc.Bottom}));

  TForm* a = Child(u"Alpha");
  TForm* b = Child(u"Beta");
  EXPECT_EQ(win::GetParent(a->Handle()), client);
  EXPECT_EQ(a->Left(), 10);  // in the client's coordinates
  EXPECT_EQ(parent->MDIChildCount(), 2);
  EXPECT_EQ(parent->ActiveMDIChild(), b);
  EXPECT_EQ(parent->MDIChildren(0), b);
  EXPECT_EQ(parent->MDIChildren(1), a);
  EXPECT_EQ(parent->MDIChildren(2), nullptr);
  // "Tile", a separator and the two children.
  EXPECT_EQ(WindowMenuCount(), 4);
  // The window menu survives the menu being made again.
  auto* cascade = new TMenuItem(menu);
  cascade->SetCaption(u"&Cascade");
  windowItem->Add(cascade);
  desktop.Pump();
  EXPECT_EQ(WindowMenuCount(), 5);

  int activated = 0;
  a->OnActivate = [&](TComponent*) { ++activated; };
  parent->Next();
  EXPECT_EQ(parent->ActiveMDIChild(), a);
  EXPECT_EQ(activated, 1);
  EXPECT_TRUE(a->Active());
  EXPECT_FALSE(b->Active());
  parent->Previous();
  EXPECT_EQ(parent->ActiveMDIChild(), b);
  // Ctrl+F6 through the application's loop.
  win::InjectKey(kCtrl, true);
  win::InjectKey(kF6, true);
  win::InjectKey(kF6, false);
  win::InjectKey(kCtrl, false);
  app->ProcessMessages();
  EXPECT_EQ(parent->ActiveMDIChild(), a);
  // The window menu's entries (from 0xFF00, in creation order) reach the frame's default.
  win::SendMessageW(parent->Handle(), win::WM_COMMAND, 0xFF01, 0);
  EXPECT_EQ(parent->ActiveMDIChild(), b);
}

TEST_F(MdiForms, ClosingMinimisesByDefaultAndFreesWithCaFree) {
  TForm* a = Child(u"A");
  TForm* b = Child(u"B");
  b->Close();
  desktop.Pump();
  EXPECT_TRUE(win::IsIconic(b->Handle()));
  EXPECT_EQ(b->WindowState(), TWindowState::wsMinimized);
  b->OnClose = [](TComponent*, TCloseAction& action) { action = TCloseAction::caFree; };
  b->Close();
  app->ProcessMessages();
  EXPECT_EQ(parent->MDIChildCount(), 1);
  EXPECT_EQ(parent->ActiveMDIChild(), a);
  EXPECT_EQ(WindowMenuCount(), 3);
}

TEST_F(MdiForms, TileFollowsTheTileModeAndAChildNeedsAnMdiParent) {
  TForm* a = Child(u"A");
  TForm* b = Child(u"B");
  RECT area;
  win::GetClientRect(parent->ClientHandle(), &area);
  parent->SetTileMode(TTileMode::tbVertical);
  parent->Tile();
  EXPECT_EQ(b->BoundsRect(), (TRect{0, 0, area.Width() / 2, area.Height()}));
  EXPECT_EQ(a->Left(), area.Width() / 2);
  parent->SetTileMode(TTileMode::tbHorizontal);
  parent->Tile();
  EXPECT_EQ(b->BoundsRect(), (TRect{0, 0, area.Width(), area.Height() / 2}));
  parent->Tile();
  desktop.Pump();
  SaveScreen("mdi-tiled");
  a->SetWindowState(TWindowState::wsMaximized);
  desktop.Pump();
  SaveScreen("mdi-maximized");
  EXPECT_EQ(parent->ActiveMDIChild(), a);
  a->SetWindowState(TWindowState::wsNormal);
  // Maximising made a the active child: it cascades last, on top.
  parent->Cascade();
  EXPECT_EQ(b->Top(), 0);
  EXPECT_EQ(a->Top(),
            win::GetSystemMetrics(win::SM_CYCAPTION) + win::GetSystemMetrics(win::SM_CYFRAME));
  // Without an MDI main form there is nowhere to put a child.
  parent->SetFormStyle(TFormStyle::fsNormal);
  auto* orphan = new TForm(app.get());
  orphan->SetFormStyle(TFormStyle::fsMDIChild);
  EXPECT_THROW(orphan->HandleNeeded(), Exception);
  delete orphan;
  parent->SetFormStyle(TFormStyle::fsMDIForm);
}

// The menus change while a child is maximised: the bar keeps its handle, the child's system
// menu first and its buttons last; the window menu keeps its handle and its list.
TEST_F(MdiForms, AMaximisedChildsBarItemsAndTheListOutliveChangedMenus) {
  TForm* a = Child(u"A");
  Child(u"B");
  const win::HMENU bar = win::GetMenu(parent->Handle());
  const int items = win::GetMenuItemCount(bar);
  a->SetWindowState(TWindowState::wsMaximized);
  desktop.Pump();
  ASSERT_EQ(win::GetMenuItemCount(bar), items + 4);
  const win::HMENU windowMenu = menu->SubmenuHandle(windowItem);
  auto check = [&](const char* what) {
    ASSERT_EQ(win::GetMenu(parent->Handle()), bar) << what;
    ASSERT_EQ(win::GetMenuItemCount(bar), items + 4) << what;
    EXPECT_EQ(win::GetSubMenu(bar, 0), win::GetSystemMenu(a->Handle(), false)) << what;
    EXPECT_EQ(win::GetMenuItem(bar, win::UINT(items + 3), win::MF_BYPOSITION)->id,
              win::UINT(win::SC_CLOSE))
        << what;
    EXPECT_EQ(menu->SubmenuHandle(windowItem), windowMenu) << what;
    // "Tile" (and what was added), a separator, the two children.
    EXPECT_EQ(WindowMenuCount(), windowItem->Count() + 3) << what;
    EXPECT_EQ(
        win::GetMenuItem(windowMenu, win::UINT(WindowMenuCount() - 2), win::MF_BYPOSITION)->text,
        u"&1 A")
        << what;
  };
  check("maximised");
  auto* cascade = new TMenuItem(nullptr);
  cascade->SetCaption(u"&Cascade");
  windowItem->Add(cascade);
  check("an item added to the window menu");
  menu->Items()->Items(0)->SetCaption(u"&Files");
  check("a top item renamed");
  // The bar's items taken off by someone else come back when the client refreshes its menus.
  for (int i = win::GetMenuItemCount(bar) - 1; i >= 0; --i)
    if (win::GetMenuItem(bar, win::UINT(i), win::MF_BYPOSITION)->flags & win::MF_OWNERDRAW)
      win::RemoveMenu(bar, win::UINT(i), win::MF_BYPOSITION);
  ASSERT_EQ(win::GetMenuItemCount(bar), items);
  win::SendMessageW(parent->ClientHandle(), win::WM_MDIREFRESHMENU, 0, 0);
  check("refreshed");
}

TEST(MdiFormDescription, FormStyleWindowMenuAndTileModeAreRead) {
  win::VirtualDesktop desktop{800, 600};
  TApplication app;
  auto* form = app.CreateForm<TForm>();
  ReadComponentText(form, R"(object F: TForm
  Width = 500
  Height = 400
  FormStyle = fsMDIForm
  Menu = MainMenu1
  WindowMenu = WindowItem
  TileMode = tbVertical
  object MainMenu1: TMainMenu
    object WindowItem: TMenuItem
      Caption = '&Window'
    end
  end
end
)",
                    "Mdi.txt", ".");
  EXPECT_EQ(form->FormStyle(), TFormStyle::fsMDIForm);
  EXPECT_EQ(form->TileMode(), TTileMode::tbVertical);
  ASSERT_TRUE(form->WindowMenu());
  EXPECT_EQ(form->WindowMenu()->Name(), "WindowItem");
  form->Show();
  desktop.Pump();
  EXPECT_TRUE(form->ClientHandle());
}

}  // namespace
}  // namespace fw::test
