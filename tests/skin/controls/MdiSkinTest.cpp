// A skinned MDI parent and its children on the headless desktop: the client window shows the
// skin's "MDIAREA" at its place in the parent's picture, each child gets a run-time provider
// and wears the frame sections for its state, maximising puts the child's buttons on the
// parent's menu bar and restoring takes them off, closing the active child hands the state on,
// a new skin reaches the children, and a released scroll thumb scrolls the client to where it
// was dragged.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <map>
#include <memory>
#include <ostream>
#include <string>

#include "MenuTestSupport.h"
#include "TestOutput.h"
#include "framework/Application.h"
#include "framework/Form.h"
#include "framework/MdiMenus.h"
#include "framework/Menus.h"
#include "framework/TextConv.h"
#include "platform/backend/Dump.h"
#include "platform/gfx/DeviceContext.h"
#include "platform/gfx/PictureCodec.h"
#include "platform/gfx/Region.h"
#include "platform/win/Backend.h"
#include "platform/win/Input.h"
#include "platform/win/Mdi.h"
#include "platform/win/Menu.h"
#include "platform/win/MessageQueue.h"
#include "platform/win/Messages.h"
#include "platform/win/Paint.h"
#include "platform/win/ScrollInfo.h"
#include "platform/win/Styles.h"
#include "platform/win/SystemMetrics.h"
#include "platform/win/VirtualDesktop.h"
#include "platform/win/Window.h"
#include "skin/controls/acDials.h"
#include "skin/controls/sSkinMenus.h"
#include "skin/core/sGraphUtils.h"
#include "skin/core/sMessages.h"
#include "skin/core/sVclUtils.h"
#include "skin/draw/sAlphaGraph.h"
#include "skin/frame/acSBUtils.h"
#include "skin/frame/sMDIForm.h"
#include "skin/frame/sSkinProvider.h"
#include "skin/frame/sSysMenu.h"
#include "skin/internal/sInternalSkins.h"

namespace skin::controls {
namespace {

using frame::TsSkinProvider;
using gfx::TRect;

constexpr unsigned kCtrl = 0x1D, kF4 = 0x3E, kF6 = 0x40;

TRect ScreenRect(win::HWND h) {
  win::RECT r{};
  win::GetWindowRect(h, &r);
  return r;
}

TRect ClientScreenRect(win::HWND h) {
  win::RECT r{};
  win::GetClientRect(h, &r);
  win::POINT o{0, 0};
  win::ClientToScreen(h, &o);
  return r.Offset(o.X, o.Y);
}

class MdiSkinTest : public ::testing::Test {
 protected:
  void SetUp() override {
    InstallDialogSkinning();
    InstallSkinnedMenus();
    frame::InstallProviderDump();
    app = std::make_unique<fw::TApplication>();
    parent = app->CreateForm<fw::TForm>();
    parent->SetFormStyle(fw::TFormStyle::fsMDIForm);
    parent->SetCaption(u"Parent");
    parent->SetBounds(20, 20, 640, 460);
    const fw::test::TMdiMenus menus = fw::test::GiveMdiMenus(*parent);
    menu = menus.menu;
    windowItem = menus.windowItem;
    manager = new core::TsSkinManager(parent);
    manager->Effects().AllowAnimation = false;
    manager->AfterConstruction();
    skin::data::AddInternalSkins(manager->InternalSkins());
    manager->SetSkinName(fw::Utf8ToUtf16(skin::data::InternalSkins().back().Name));
    provider = new TsSkinProvider(parent);
    parent->Show();
    desktop.Pump();
  }
  void TearDown() override { app.reset(); }

  fw::TForm* Child(const std::u16string& caption, const TRect& bounds) {
    auto* f = app->CreateForm<fw::TForm>();
    f->SetFormStyle(fw::TFormStyle::fsMDIChild);
    f->SetCaption(caption);
    f->SetBounds(bounds.Left, bounds.Top, bounds.Width(), bounds.Height());
    f->Show();
    desktop.Pump();
    return f;
  }
  static TsSkinProvider* ProviderOf(fw::TCustomForm* f) {
    return TsSkinProvider::GetSkinProvider(*f);
  }
  const data::TacSkinModel& Model() const { return *manager->SkinModel(); }
  win::HWND Client() const { return parent->ClientHandle(); }
  void Keys(std::initializer_list<unsigned> down) {
    for (unsigned k : down) win::InjectKey(k, true);
    for (auto it = std::rbegin(down); it != std::rend(down); ++it) win::InjectKey(*it, false);
    app->ProcessMessages();
    desktop.Pump();
  }
  void Click(win::POINT p) {
    win::InjectMouseMove(p);
    win::InjectMouseButton(0, true, p);
    win::InjectMouseButton(0, false, p);
    app->ProcessMessages();
    desktop.Pump();
  }
  static win::POINT Centre(const TRect& r) {
    return {(r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2};
  }

  // One item of an open pop-up menu as the platform holds it.
  struct ShownItem {
    std::u16string text;
    bool checked = false;
    bool skinned = false;  // owner-drawn by an item of the framework (drawn by the skin)
    bool operator==(const ShownItem&) const = default;
    friend std::ostream& operator<<(std::ostream& os, const ShownItem& i) {
      return os << '"' << fw::Utf16ToUtf8(i.text) << '"' << (i.checked ? " checked" : "")
                << (i.skinned ? " skinned" : " plain");
    }
  };
  static std::vector<ShownItem> Shown(win::HMENU m) {
    std::vector<ShownItem> out;
    for (int i = 0; i < win::GetMenuItemCount(m); ++i) {
      const win::MenuItem* it = win::GetMenuItem(m, win::UINT(i), win::MF_BYPOSITION);
      out.push_back({it->text, (it->flags & win::MF_CHECKED) != 0,
                     it->data != 0 && (it->flags & win::MF_OWNERDRAW) != 0});
    }
    return out;
  }
  // Opens the window menu as Alt+W does, runs look while it is open, then runs then (which
  // may pick an item; Escape closes the menu otherwise).
  void WithWindowMenu(const std::function<void(win::HMENU)>& look,
                      const std::function<void(win::HMENU)>& then = nullptr) {
    bool looked = false;
    desktop.Schedule(10, [&] {
      const auto popups = menutest::MenuWindows();
      ASSERT_EQ(popups.size(), 1u);
      const win::HMENU m = menutest::MenuOf(popups[0]);
      looked = true;
      look(m);
      if (then) {
        then(m);
      } else {
        menutest::Tap(menutest::kEscape);
        menutest::Tap(menutest::kEscape);
      }
    });
    win::SendMessageW(parent->Handle(), win::WM_SYSCOMMAND, win::SC_KEYMENU, 'w');
    desktop.Pump();
    app->ProcessMessages();
    desktop.Pump();
    EXPECT_TRUE(looked);
  }

  // Pixels of the screen inside area that differ from pic laid at area's top-left (colours
  // only); at most a few are reported.
  static int Differing(const gfx::Bitmap& screen, const TRect& area, const gfx::Bitmap& pic,
                       gfx::TPoint from, const std::string& what) {
    int n = 0;
    for (int y = area.Top; y < area.Bottom; ++y)
      for (int x = area.Left; x < area.Right; ++x) {
        const auto want =
            gfx::ColorFromPixel(pic.At(from.X + x - area.Left, from.Y + y - area.Top));
        const auto got = gfx::ColorFromPixel(screen.At(x, y));
        if (want != got && ++n <= 3)
          ADD_FAILURE() << what << ": (" << x << ", " << y << ") shows " << std::hex << got
                        << " instead of " << want;
      }
    return n;
  }

  // The client window on screen against the skin's "MDIAREA" painted at its size: the edge
  // and the background where no child lies (children must keep out of keep).
  gfx::Bitmap MdiArea(const TRect& cr) {
    const int index = Model().GetSkinIndex("MDIAREA");
    EXPECT_TRUE(Model().IsValidSkinIndex(index)) << "the skin has no MDIAREA section";
    gfx::Bitmap pic(cr.Width(), cr.Height());
    draw::PaintItem(&Model(), index, draw::EmptyCI, true, 0, pic.Bounds(), {0, 0}, &pic);
    return pic;
  }
  void ExpectClientIsMdiArea(const std::string& what) {
    const TRect cr = ScreenRect(Client());
    const gfx::Bitmap pic = MdiArea(cr);
    const gfx::Bitmap screen = desktop.Compose();
    // Down the left and along the bottom of the client: no child lies there in these tests.
    const TRect left{cr.Left, cr.Top, cr.Left + 8, cr.Bottom};
    const TRect bottom{cr.Left, cr.Bottom - 8, cr.Right, cr.Bottom};
    EXPECT_EQ(Differing(screen, left, pic, {0, 0}, what), 0);
    EXPECT_EQ(Differing(screen, bottom, pic, {0, cr.Height() - 8}, what), 0);
  }

  // A child's frame on screen against the "FORM" section for state with "FORMTITLE" over its
  // caption strip: the left frame band below the caption and the title right of the caption
  // text, left of the buttons.
  void ExpectFrame(fw::TCustomForm* child, int state, const std::string& what) {
    TsSkinProvider* p = ProviderOf(child);
    ASSERT_NE(p, nullptr) << what;
    const TRect wr = ScreenRect(child->Handle());
    const int form = Model().GetSkinIndex("FORM"), title = Model().GetSkinIndex("FORMTITLE");
    auto limited = [&](int i) { return std::min(state, Model().gd[std::size_t(i)].States - 1); };
    gfx::Bitmap whole(wr.Width(), wr.Height());
    draw::PaintItem(&Model(), form, draw::EmptyCI, true, limited(form), whole.Bounds(), {0, 0},
                    &whole);
    const int titleBottom = p->TitleBottom();
    gfx::Bitmap strip(wr.Width(), titleBottom);
    draw::PaintItem(&Model(), title, draw::MakeCacheInfo(&whole, 0, 0), true, limited(title),
                    strip.Bounds(), {0, 0}, &strip);
    whole.CopyFrom(strip, strip.Bounds(), {0, 0});
    const gfx::Bitmap screen = desktop.Compose();
    const int b = p->BorderWidth();
    const TRect band{wr.Left, wr.Top + titleBottom + 2, wr.Left + b, wr.Bottom - 2 * b};
    EXPECT_EQ(Differing(screen, band, whole, {0, titleBottom + 2}, what + " frame"), 0);
    const TRect minButton = p->Button(frame::cbMin).cpRect;
    ASSERT_GT(minButton.Width(), 0) << what;
    // Beside the buttons, right of the caption text.
    const TRect titleArea{wr.Left + wr.Width() / 2, wr.Top + minButton.Top,
                          wr.Left + minButton.Left - 3, wr.Top + minButton.Bottom};
    ASSERT_FALSE(titleArea.IsEmpty()) << what;
    EXPECT_EQ(Differing(screen, titleArea, whole, {wr.Width() / 2, minButton.Top}, what + " title"),
              0);
  }

  win::VirtualDesktop desktop{800, 600};
  std::unique_ptr<fw::TApplication> app;
  fw::TForm* parent = nullptr;
  fw::TMainMenu* menu = nullptr;
  fw::TMenuItem* windowItem = nullptr;
  core::TsSkinManager* manager = nullptr;
  TsSkinProvider* provider = nullptr;
};

TEST_F(MdiSkinTest, TheClientShowsTheMdiAreaAndChildrenWearTheirFrameForTheirState) {
  ASSERT_NE(provider->MDIForm(), nullptr);
  ASSERT_TRUE(provider->MDIForm()->Connected());
  EXPECT_EQ(frame::Ac_GetScrollWndFromHwnd(Client())->ClassName(), "TacMDIWnd");
  ExpectClientIsMdiArea("empty client");

  fw::TForm* a = Child(u"A", {40, 10, 280, 200});
  fw::TForm* b = Child(u"B", {330, 10, 570, 200});
  ASSERT_NE(ProviderOf(a), nullptr) << "each child gets a provider";
  ASSERT_NE(ProviderOf(b), nullptr);
  EXPECT_TRUE(ProviderOf(a)->Skinned());
  EXPECT_EQ(parent->ActiveMDIChild(), b);
  EXPECT_TRUE(ProviderOf(b)->FormActive());
  EXPECT_FALSE(ProviderOf(a)->FormActive());
  ExpectFrame(b, 1, "active child");
  ExpectFrame(a, 0, "inactive child");
  ExpectClientIsMdiArea("client with children");
  // Printed (the window pictures of animations): the same picture, edge included.
  const TRect cr = ScreenRect(Client());
  gfx::Bitmap printed(cr.Width(), cr.Height());
  {
    gfx::DeviceContext dc(printed);
    win::SendMessageW(Client(), win::WM_PRINT, win::WPARAM(&dc),
                      win::PRF_NONCLIENT | win::PRF_CLIENT | win::PRF_ERASEBKGND);
  }
  EXPECT_EQ(Differing(printed, {0, 0, 8, cr.Height()}, MdiArea(cr), {0, 0}, "printed"), 0);
  // The children keep their system menu: the platform needs it for a maximised child's bar.
  EXPECT_TRUE(win::GetWindowLongPtrW(a->Handle(), win::GWL_STYLE) & win::WS_SYSMENU);

  // A click on the inactive child's caption activates it; Ctrl+F6 goes on to the next.
  const TRect aw = ScreenRect(a->Handle());
  Click({aw.Left + aw.Width() / 2, aw.Top + ProviderOf(a)->BorderWidth() + 4});
  EXPECT_EQ(parent->ActiveMDIChild(), a);
  EXPECT_TRUE(ProviderOf(a)->FormActive());
  EXPECT_FALSE(ProviderOf(b)->FormActive());
  ExpectFrame(a, 1, "clicked child");
  ExpectFrame(b, 0, "left child");
  Keys({kCtrl, kF6});
  EXPECT_EQ(parent->ActiveMDIChild(), b);
  ExpectFrame(b, 1, "Ctrl+F6");
  ExpectFrame(a, 0, "after Ctrl+F6");
  // Tiled: both frames repainted at their new places, in their states.
  parent->Tile();
  desktop.Pump();
  ExpectFrame(b, 1, "tiled active");
  ExpectFrame(a, 0, "tiled inactive");

  // The dump tells the children's providers and the parent's wrapped client.
  const std::string dump = backend::DumpWindows();
  std::size_t providers = 0;
  for (std::size_t at = dump.find("\"provider\""); at != std::string::npos;
       at = dump.find("\"provider\"", at + 1))
    ++providers;
  EXPECT_EQ(providers, 3u) << dump;
  EXPECT_NE(dump.find("\"mdiClient\":true"), std::string::npos);
  EXPECT_NE(dump.find("\"mdiButtons\":false"), std::string::npos);
}

TEST_F(MdiSkinTest, MaximiseAndRestoreASkinnedChildThroughItsButtonsAndTheMenuBar) {
  fw::TForm* a = Child(u"A", {40, 10, 280, 200});
  const TRect before = a->BoundsRect();
  const int items = win::GetMenuItemCount(win::GetMenu(parent->Handle()));
  TsSkinProvider* pa = ProviderOf(a);
  ASSERT_NE(pa, nullptr);
  const TRect aw = ScreenRect(a->Handle());
  Click(Centre(pa->Button(frame::cbMax).cpRect.Offset(aw.Left, aw.Top)));
  ASSERT_TRUE(win::IsZoomed(a->Handle())) << "the skinned maximise button maximises the child";
  EXPECT_EQ(ClientScreenRect(a->Handle()), ClientScreenRect(Client()));
  // The platform's bar: the child's system menu and its three buttons.
  EXPECT_EQ(win::GetMenuItemCount(win::GetMenu(parent->Handle())), items + 4);
  EXPECT_TRUE(provider->MDIButtonsNeeded());
  EXPECT_NE(backend::DumpWindows().find("\"mdiButtons\":true"), std::string::npos);
  gfx::WriteFileBytes((tests::OutputFolder("skin-controls") / "mdi-maximized.png").string(),
                      gfx::EncodePng(desktop.Compose()));

  provider->MDIForm()->RestoreClick();
  desktop.Pump();
  EXPECT_FALSE(win::IsZoomed(a->Handle()));
  EXPECT_EQ(a->BoundsRect(), before);
  EXPECT_EQ(win::GetMenuItemCount(win::GetMenu(parent->Handle())), items);
  EXPECT_FALSE(provider->MDIButtonsNeeded());
  ExpectFrame(a, 1, "restored child");
  ExpectClientIsMdiArea("after restoring");

  // Maximised again and closed from the bar's close command: the client shows again.
  win::SendMessageW(Client(), win::WM_MDIMAXIMIZE, win::WParamFromHwnd(a->Handle()), 0);
  desktop.Pump();
  a->OnClose = [](fw::TComponent*, fw::TCloseAction& action) { action = fw::TCloseAction::caFree; };
  provider->MDIForm()->CloseClick();
  app->ProcessMessages();
  desktop.Pump();
  EXPECT_EQ(parent->MDIChildCount(), 0);
  EXPECT_EQ(win::GetMenuItemCount(win::GetMenu(parent->Handle())), items);
  ExpectClientIsMdiArea("after closing the maximised child");
}

TEST_F(MdiSkinTest, AChildMinimisedByItsButtonComesBackFromTheWindowMenu) {
  // With the window effects on: a child is minimised in its client, never flown to a taskbar.
  manager->Effects().AllowAnimation = true;
  fw::TForm* a = Child(u"A", {40, 10, 280, 200});
  fw::TForm* b = Child(u"B", {330, 10, 570, 200});
  const TRect before = b->BoundsRect();
  const TRect bw = ScreenRect(b->Handle());
  Click(Centre(ProviderOf(b)->Button(frame::cbMin).cpRect.Offset(bw.Left, bw.Top)));
  ASSERT_TRUE(win::IsIconic(b->Handle()));
  EXPECT_TRUE(win::IsWindowVisible(b->Handle()));
  const TRect icon = ScreenRect(b->Handle());
  EXPECT_EQ(icon.Bottom, ClientScreenRect(Client()).Bottom) << "it lies along the client's bottom";
  EXPECT_FALSE(win::GetWindowLongPtrW(b->Handle(), win::GWL_EXSTYLE) & win::WS_EX_LAYERED);
  // The window menu's entry of b (created second) restores and activates it.
  win::SendMessageW(parent->Handle(), win::WM_COMMAND, 0xFF01, 0);
  desktop.Pump();
  EXPECT_FALSE(win::IsIconic(b->Handle()));
  EXPECT_EQ(b->BoundsRect(), before);
  EXPECT_EQ(parent->ActiveMDIChild(), b);
  ExpectFrame(b, 1, "restored from the window menu");
  ExpectFrame(a, 0, "the other child");
}

TEST_F(MdiSkinTest, TheActiveChildsSystemMenuOpensSkinnedOnItsCaption) {
  InstallSkinnedMenus();
  Child(u"A", {40, 10, 280, 200});
  fw::TForm* b = Child(u"B", {330, 10, 570, 200});
  ASSERT_EQ(parent->ActiveMDIChild(), b);
  std::vector<win::HWND> open;
  int skinned = 0;
  desktop.Schedule(10, [&] {
    open = menutest::MenuWindows();
    skinned = SkinableMenusOf(*manager)->OpenMenus();
    menutest::Tap(menutest::kEscape);
  });
  const TRect bw = ScreenRect(b->Handle());
  const win::POINT caption{bw.Left + 40, bw.Top + ProviderOf(b)->BorderWidth() + 4};
  ASSERT_EQ(win::SendMessageW(b->Handle(), win::WM_NCHITTEST, 0, win::LParamFromPoint(caption)),
            win::HTCAPTION);
  win::InjectMouseMove(caption);
  win::InjectMouseButton(1, true, caption);
  win::InjectMouseButton(1, false, caption);
  app->ProcessMessages();
  desktop.Pump();
  // The child's own menu, skinned, although the application's active form is the parent.
  EXPECT_EQ(open.size(), 1u);
  EXPECT_EQ(skinned, 1);
}

TEST_F(MdiSkinTest, TheActiveChildLooksInactiveWhileItsFrameIsInactive) {
  fw::TForm* a = Child(u"A", {40, 10, 280, 200});
  auto* other = app->CreateForm<fw::TForm>();
  other->SetBounds(600, 400, 150, 100);
  other->Show();
  desktop.Pump();
  ASSERT_EQ(win::GetActiveWindow(), other->Handle());
  EXPECT_FALSE(ProviderOf(a)->FormActive());
  ExpectFrame(a, 0, "frame inactive");
  win::SetActiveWindow(parent->Handle());
  desktop.Pump();
  EXPECT_TRUE(ProviderOf(a)->FormActive());
  ExpectFrame(a, 1, "frame active again");
}

TEST_F(MdiSkinTest, ClosingTheActiveChildHandsTheActiveLookOn) {
  fw::TForm* a = Child(u"A", {40, 10, 280, 200});
  fw::TForm* b = Child(u"B", {330, 10, 570, 200});
  b->OnClose = [](fw::TComponent*, fw::TCloseAction& action) { action = fw::TCloseAction::caFree; };
  ASSERT_EQ(parent->ActiveMDIChild(), b);
  Keys({kCtrl, kF4});
  ASSERT_EQ(parent->MDIChildCount(), 1);
  EXPECT_EQ(parent->ActiveMDIChild(), a);
  EXPECT_TRUE(ProviderOf(a)->FormActive());
  ExpectFrame(a, 1, "the child left");
  ExpectClientIsMdiArea("where the closed child was");
  // The window menu lists the child left after its separator.
  EXPECT_EQ(win::GetMenuItemCount(menu->SubmenuHandle(windowItem)), 3);
}

TEST_F(MdiSkinTest, ANewSkinReachesTheClientAndTheChildren) {
  fw::TForm* a = Child(u"A", {40, 10, 280, 200});
  fw::TForm* b = Child(u"B", {330, 10, 570, 200});
  manager->SetSkinName(fw::Utf8ToUtf16(skin::data::InternalSkins().front().Name));
  desktop.Pump();
  ASSERT_TRUE(provider->MDIForm() && provider->MDIForm()->Connected());
  ExpectClientIsMdiArea("new skin");
  ExpectFrame(b, 1, "active child, new skin");
  ExpectFrame(a, 0, "inactive child, new skin");
  // Without a skin the client is plain again: no wrapper is left on it.
  manager->SetActive(false);
  desktop.Pump();
  EXPECT_EQ(provider->MDIForm(), nullptr);
  EXPECT_EQ(frame::Ac_GetScrollWndFromHwnd(Client()), nullptr);
}

TEST_F(MdiSkinTest, TheReleasedThumbScrollsTheClientToTheDraggedPlace) {
  // A child partly left of the client: the horizontal range starts below 0.
  fw::TForm* a = Child(u"A", {-200, 10, 100, 200});
  auto* sw = dynamic_cast<frame::TacScrollWnd*>(frame::Ac_GetScrollWndFromHwnd(Client()));
  ASSERT_NE(sw, nullptr);
  const frame::TacBarLayout bar = sw->Layout(win::SB_HORZ);
  ASSERT_FALSE(bar.Bar.IsEmpty()) << "the horizontal bar shows";
  ASSERT_LT(bar.Info.nMin, 0);
  ASSERT_GT(bar.Thumb.Size, 0);
  const TRect wr = ScreenRect(Client());
  const int track = bar.Bar.Width() - 2 * bar.Button;
  const win::POINT grab{wr.Left + bar.Bar.Left + bar.Button + bar.Thumb.Offset + bar.Thumb.Size / 2,
                        wr.Top + (bar.Bar.Top + bar.Bar.Bottom) / 2};
  const int moved = -(bar.Thumb.Offset / 2);
  ASSERT_LT(moved, -4);
  const int expected = frame::ThumbPosition(bar.Thumb.Offset + moved, track, bar.Thumb.Size,
                                            bar.Info.nMin, bar.Info.nMax, bar.Info.nPage);
  ASSERT_LT(expected, 0);
  const int left = a->Left(), pos = bar.Info.nPos;
  win::InjectMouseMove(grab);
  win::InjectMouseButton(0, true, grab);
  desktop.Pump();
  win::InjectMouseMove({grab.X + moved, grab.Y});
  desktop.Pump();
  EXPECT_EQ(a->Left(), left) << "dragging alone scrolls nothing";
  win::InjectMouseButton(0, false, {grab.X + moved, grab.Y});
  desktop.Pump();
  EXPECT_EQ(win::GetScrollPos(Client(), win::SB_HORZ), expected);
  EXPECT_EQ(a->Left(), left + (pos - expected));
}

// The window menu lists the children as skinned items in place of the platform's entries:
// numbered as the platform numbers them (a hidden child leaves its number out), the active one
// checked; picking one activates it, restoring a minimised one; opened again the list is new.
TEST_F(MdiSkinTest, TheWindowMenuListsTheChildrenAsSkinnedItems) {
  fw::TForm* a = Child(u"A", {40, 10, 280, 200});
  fw::TForm* b = Child(u"B", {330, 10, 570, 200});
  fw::TForm* c = Child(u"C", {60, 220, 300, 400});
  b->Hide();
  desktop.Pump();
  ASSERT_EQ(parent->ActiveMDIChild(), c);
  const win::HMENU windowMenu = menu->SubmenuHandle(windowItem);
  WithWindowMenu([&](win::HMENU m) {
    EXPECT_EQ(m, windowMenu) << "the open pop-up keeps its menu";
    EXPECT_EQ(Shown(m), (std::vector<ShownItem>{{u"&Tile", false, true},
                                                {u"-", false, true},
                                                {u"&1 A", false, true},
                                                {u"&3 C", true, true}}));
    gfx::WriteFileBytes((tests::OutputFolder("skin-controls") / "mdi-window-list.png").string(),
                        gfx::EncodePng(desktop.Compose()));
  });
  ASSERT_EQ(windowItem->Count(), 4);
  EXPECT_EQ(windowItem->Items(1)->Tag & TsSkinProvider::kWindowListTag,
            TsSkinProvider::kWindowListTag);
  EXPECT_EQ(windowItem->Items(2)->Tag, TsSkinProvider::kWindowListTag + 0);
  EXPECT_EQ(windowItem->Items(3)->Tag, TsSkinProvider::kWindowListTag + 1);

  // "1" picks A.
  WithWindowMenu([](win::HMENU) {}, [](win::HMENU) { win::InjectText(u"1"); });
  EXPECT_EQ(parent->ActiveMDIChild(), a);
  EXPECT_TRUE(menutest::MenuWindows().empty());

  // A minimised child comes back when clicked in the list; the list is made anew each time.
  b->Show();
  c->SetWindowState(fw::TWindowState::wsMinimized);
  desktop.Pump();
  ASSERT_TRUE(win::IsIconic(c->Handle()));
  WithWindowMenu(
      [&](win::HMENU m) {
        const std::vector<ShownItem> shown = Shown(m);
        ASSERT_EQ(shown.size(), 5u);
        EXPECT_EQ(shown[2].text, u"&1 A");
        EXPECT_EQ(shown[3].text, u"&2 B");
        EXPECT_EQ(shown[4].text, u"&3 C");
        EXPECT_EQ(std::count_if(shown.begin(), shown.end(), [](auto& i) { return i.checked; }), 1);
        EXPECT_TRUE(std::all_of(shown.begin(), shown.end(), [](auto& i) { return i.skinned; }));
      },
      [&](win::HMENU m) {
        win::RECT r{};
        ASSERT_TRUE(win::GetMenuItemRect(nullptr, m, 4, &r));
        const win::POINT p = Centre(r);
        win::InjectMouseMove(p);
        win::InjectMouseButton(0, true, p);
        win::InjectMouseButton(0, false, p);
      });
  EXPECT_FALSE(win::IsIconic(c->Handle()));
  EXPECT_EQ(parent->ActiveMDIChild(), c);
  EXPECT_EQ(windowItem->Count(), 5);
}

// Without skinned pop-ups the platform's own list shows, and the skinned one does not stay
// beside it.
TEST_F(MdiSkinTest, WithoutSkinnedPopupsThePlatformListShowsAlone) {
  Child(u"A", {40, 10, 280, 200});
  Child(u"B", {330, 10, 570, 200});
  WithWindowMenu([](win::HMENU) {});
  ASSERT_EQ(windowItem->Count(), 4) << "the skinned list was made";
  manager->SetSkinnedPopups(false);
  desktop.Pump();
  WithWindowMenu([&](win::HMENU m) {
    const std::vector<ShownItem> shown = Shown(m);
    ASSERT_EQ(shown.size(), 4u);
    EXPECT_EQ(shown[0].text, u"&Tile");
    EXPECT_EQ(shown[2], (ShownItem{u"&1 A", false, false}));
    EXPECT_EQ(shown[3], (ShownItem{u"&2 B", true, false}));
  });
  EXPECT_EQ(windowItem->Count(), 1);
}

// The menus changing while a child is maximised (the list made on opening) leave the
// maximised child's items on the bar; the buttons' commands reach the child.
TEST_F(MdiSkinTest, TheMaximisedChildsBarItemsStayAndItsButtonsCommandIt) {
  fw::TForm* a = Child(u"A", {40, 10, 280, 200});
  fw::TForm* b = Child(u"B", {330, 10, 570, 200});
  const win::HMENU bar = win::GetMenu(parent->Handle());
  const int items = win::GetMenuItemCount(bar);
  // Its system menu made while it is normal, as Alt+Space makes it.
  const win::HMENU sys = win::GetSystemMenu(b->Handle(), false);
  win::SendMessageW(Client(), win::WM_MDIMAXIMIZE, win::WParamFromHwnd(b->Handle()), 0);
  desktop.Pump();
  ASSERT_EQ(win::GetMenuItemCount(bar), items + 4);
  WithWindowMenu([&](win::HMENU m) {
    EXPECT_EQ(Shown(m).back(), (ShownItem{u"&2 B", true, true}));
    EXPECT_EQ(win::GetMenu(parent->Handle()), bar);
    EXPECT_EQ(win::GetMenuItemCount(bar), items + 4);
  });
  EXPECT_EQ(win::GetMenuItemCount(bar), items + 4);
  EXPECT_EQ(win::GetSubMenu(bar, 0), sys);
  EXPECT_TRUE(provider->MDIButtonsNeeded());
  // Its system menu, opened from the bar, restores it and cannot size, move or maximise it.
  win::RECT icon;
  ASSERT_TRUE(win::GetMenuItemRect(parent->Handle(), bar, 0, &icon));
  std::map<win::UINT, bool> greyed;
  desktop.Schedule(10, [&] {
    const auto popups = menutest::MenuWindows();
    ASSERT_EQ(popups.size(), 1u);
    ASSERT_EQ(menutest::MenuOf(popups[0]), sys);
    for (win::UINT id : {win::SC_RESTORE, win::SC_MOVE, win::SC_SIZE, win::SC_MAXIMIZE})
      greyed[id] = win::GetMenuState(sys, id, win::MF_BYCOMMAND) & win::MF_GRAYED;
    gfx::WriteFileBytes(
        (tests::OutputFolder("skin-controls") / "mdi-maximised-system-menu.png").string(),
        gfx::EncodePng(desktop.Compose()));
    menutest::Tap(menutest::kEscape);
    menutest::Tap(menutest::kEscape);
  });
  Click(Centre(icon));
  EXPECT_EQ(greyed, (std::map<win::UINT, bool>{{win::SC_RESTORE, false},
                                               {win::SC_MOVE, true},
                                               {win::SC_SIZE, true},
                                               {win::SC_MAXIMIZE, true}}));
  // Minimise from the bar's button: the state goes, and with it the buttons.
  provider->MDIForm()->MinClick();
  desktop.Pump();
  EXPECT_TRUE(win::IsIconic(b->Handle()));
  EXPECT_FALSE(provider->MDIButtonsNeeded());
  EXPECT_EQ(win::GetMenuItemCount(bar), items);
  (void)a;
}

// While the parent of a maximised child runs its menu loop, the strip at the line's right end
// (the child's buttons) stands over the line in a window of its own that shows the parent's
// picture there; it goes with the loop however the loop ends.
TEST_F(MdiSkinTest, TheMenuLoopOfAMaximisedChildsParentShowsTheButtonsStripInAWindow) {
  fw::TForm* child = Child(u"A", {40, 10, 280, 200});
  const win::HWND h = parent->Handle();
  // No maximised child: no strip.
  WithWindowMenu([&](win::HMENU) { EXPECT_EQ(provider->MDIIcons(), nullptr); });
  win::SendMessageW(Client(), win::WM_MDIMAXIMIZE, win::WParamFromHwnd(child->Handle()), 0);
  desktop.Pump();
  ASSERT_TRUE(provider->MDIButtonsNeeded());
  auto icons = [&]() -> win::HWND {
    return provider->MDIIcons() ? provider->MDIIcons()->Handle() : nullptr;
  };
  auto dumped = [] {
    return backend::DumpWindows().find("\"text\":\"acMDIIcons\"") != std::string::npos;
  };
  WithWindowMenu([&](win::HMENU) {
    const win::HWND w = icons();
    ASSERT_NE(w, nullptr);
    EXPECT_TRUE(win::IsWindowVisible(w));
    EXPECT_EQ(win::GetActiveWindow(), h) << "shown without activation";
    EXPECT_TRUE(dumped());
    // At the right end of the menu line, below the caption, SM_CYMENU + 3 high.
    const TRect wr = ScreenRect(h);
    const TRect line = provider->MenuLineRect().Offset(wr.Left, wr.Top);
    const TRect r = ScreenRect(w);
    EXPECT_EQ(r, (TRect{line.Right - 60, line.Top, line.Right,
                        line.Top + win::GetSystemMetrics(win::SM_CYMENU) + 3}));
    // It shows the parent's picture at its place: the screen there is the cache's strip, and
    // the strip holds the child's close button (not the bare ground).
    win::UpdateWindow(w);
    const gfx::Bitmap* cache = provider->SkinData().CacheBmp();
    ASSERT_NE(cache, nullptr);
    const gfx::TPoint origin = provider->CacheOrigin();
    EXPECT_EQ(Differing(desktop.Compose(), r, *cache, {r.Left - origin.X, r.Top - origin.Y},
                        "the strip"),
              0);
    const win::SurfaceInfo surface = win::GetWindowSurface(w);
    ASSERT_NE(surface.pixels, nullptr);
    const gfx::Bitmap& own = *surface.pixels;
    EXPECT_EQ(Differing(own, own.Bounds(), *cache, {r.Left - origin.X, r.Top - origin.Y},
                        "the window's own pixels"),
              0);
    gfx::WriteFileBytes((tests::OutputFolder("skin-controls") / "mdi-menu-loop-strip.png").string(),
                        gfx::EncodePng(desktop.Compose().Copy(line)));
  });
  EXPECT_EQ(icons(), nullptr) << "gone after Escape";
  EXPECT_FALSE(dumped());
  // A click outside the menu ends the loop as well.
  WithWindowMenu([&](win::HMENU) { ASSERT_NE(icons(), nullptr); },
                 [&](win::HMENU) {
                   const TRect cr = ScreenRect(Client());
                   const win::POINT p{cr.Left + 10, cr.Bottom - 10};
                   win::InjectMouseMove(p);
                   win::InjectMouseButton(0, true, p);
                   win::InjectMouseButton(0, false, p);
                 });
  EXPECT_TRUE(menutest::MenuWindows().empty());
  EXPECT_EQ(icons(), nullptr) << "gone after a click outside";
  // In every internal skin the strip is the parent's picture (a picture of the line's top for
  // people to look at).
  for (const auto& skin : skin::data::InternalSkins()) {
    manager->SetSkinName(fw::Utf8ToUtf16(skin.Name));
    desktop.Pump();
    WithWindowMenu([&](win::HMENU) {
      const win::HWND w = icons();
      ASSERT_NE(w, nullptr) << skin.Name;
      win::UpdateWindow(w);
      const TRect r = ScreenRect(w);
      const gfx::TPoint origin = provider->CacheOrigin();
      EXPECT_EQ(Differing(desktop.Compose(), r, *provider->SkinData().CacheBmp(),
                          {r.Left - origin.X, r.Top - origin.Y}, skin.Name),
                0);
      const TRect wr = ScreenRect(h);
      std::string name = skin.Name;
      name = name.substr(0, name.find(' '));
      gfx::WriteFileBytes(
          (tests::OutputFolder("skin-controls") / ("mdi-menu-loop-strip-" + name + ".png")).string(),
          gfx::EncodePng(desktop.Compose().Copy({wr.Left, wr.Top, wr.Right, r.Bottom + 40})));
    });
    EXPECT_EQ(icons(), nullptr) << skin.Name;
  }
  EXPECT_FALSE(dumped());
}

// A window inside the client asks it for its background: the wrapper hands the request to the
// parent form with the window's place, so it stands on the client's "MDIAREA".
TEST_F(MdiSkinTest, AWindowInTheClientGetsTheParentsBackground) {
  const TRect cr = ScreenRect(Client()), inner = ClientScreenRect(Client());
  const gfx::Bitmap pic = MdiArea(cr);
  gfx::Bitmap drawn(40, 30);
  gfx::DeviceContext dc(drawn);
  core::TacBGInfo info;
  info.DrawDC = &dc;
  info.R = {10, 5, 40, 30};
  // Asked as a control does: the origin of the client area, the area R drawn.
  ASSERT_TRUE(core::GetBGInfo(info, Client(), true));
  EXPECT_EQ(info.BgType, core::TacBGType::btCache);
  EXPECT_EQ(info.Bmp, provider->SkinData().CacheBmp());
  const gfx::TRect wanted{10, 5, 40, 30};
  EXPECT_EQ(Differing(drawn, wanted, pic, {inner.Left - cr.Left + 10, inner.Top - cr.Top + 5},
                      "drawn background"),
            0);
  // Without drawing: the offset into the parent's picture.
  core::TacBGInfo place;
  ASSERT_TRUE(core::GetBGInfo(place, Client(), false));
  const gfx::Bitmap& cache = *place.Bmp;
  EXPECT_EQ(gfx::ColorFromPixel(cache.At(place.Offset.X + 3, place.Offset.Y + 3)),
            gfx::ColorFromPixel(pic.At(inner.Left - cr.Left + 3, inner.Top - cr.Top + 3)));
}

// Every internal skin: the maximised child's buttons on the menu line show a glyph, not a box
// filled with the line's text colour (a skin whose small glyphs are whole button pictures).
TEST_F(MdiSkinTest, TheMenuLinesButtonsShowTheirGlyphInEverySkin) {
  fw::TForm* a = Child(u"A", {40, 10, 280, 200});
  win::SendMessageW(Client(), win::WM_MDIMAXIMIZE, win::WParamFromHwnd(a->Handle()), 0);
  desktop.Pump();
  const win::HMENU bar = win::GetMenu(parent->Handle());
  for (const auto& s : skin::data::InternalSkins()) {
    const std::string name = s.Name;
    manager->SetSkinName(fw::Utf8ToUtf16(name));
    desktop.Pump();
    ASSERT_TRUE(provider->MDIButtonsNeeded()) << name;
    const int section = manager->ConstData().Sections[data::ssMenuLine];
    ASSERT_TRUE(Model().IsValidSkinIndex(section)) << name;
    const gfx::Pixel ink =
        gfx::PixelFromColor(Model().gd[std::size_t(section)].Props[0].FontColor.Color, 0) &
        0xFFFFFF;
    const gfx::Bitmap screen = desktop.Compose();
    const int count = win::GetMenuItemCount(bar);
    for (int i = count - 3; i < count; ++i) {
      win::RECT r{};
      ASSERT_TRUE(win::GetMenuItemRect(parent->Handle(), bar, win::UINT(i), &r)) << name;
      int inked = 0;
      for (int y = r.Top; y < r.Bottom; ++y)
        for (int x = r.Left; x < r.Right; ++x) inked += (screen.At(x, y) & 0xFFFFFF) == ink;
      EXPECT_LT(inked * 2, TRect(r).Width() * TRect(r).Height())
          << name << ": button " << i << " is a box of the text colour";
    }
  }
}

// Every internal skin: a parent with two children (the active one over the other), looked at
// in the pictures, with the client's section and the children's frames checked.
TEST_F(MdiSkinTest, EveryInternalSkinDressesTheParentAndItsChildren) {
  fw::TForm* a = Child(u"Document 1", {40, 10, 300, 220});
  fw::TForm* b = Child(u"Document 2", {330, 40, 590, 250});
  for (const auto& s : skin::data::InternalSkins()) {
    const std::string name = s.Name;
    manager->SetSkinName(fw::Utf8ToUtf16(name));
    desktop.Pump();
    ExpectClientIsMdiArea(name);
    ExpectFrame(b, 1, name + " active");
    ExpectFrame(a, 0, name + " inactive");
    const gfx::Bitmap shot = win::ComposeWindow(parent->Handle());
    int keyed = 0;
    for (int y = 0; y < shot.Height(); ++y)
      for (int x = 0; x < shot.Width(); ++x)
        keyed += gfx::ColorFromPixel(shot.At(x, y)) == gfx::RGB(255, 0, 255);
    EXPECT_EQ(keyed, 0) << name << ": key-coloured pixels show";
    std::string file = "mdi-" + name.substr(0, name.find(' ')) + ".png";
    gfx::WriteFileBytes((tests::OutputFolder("skin-controls") / file).string(),
                        gfx::EncodePng(shot));
  }
}

// The parent's picture made for animations and printing (SkinPaintTo) holds what the screen
// shows: the client with its section and the children in their z-order with their frames, the
// active one over the other, clipped to the client.
TEST_F(MdiSkinTest, TheParentsPaintedPictureHoldsTheClientAndTheChildrenAsOnScreen) {
  fw::TForm* a = Child(u"Document 1", {40, 10, 300, 220});
  fw::TForm* b = Child(u"Document 2", {200, 90, 460, 300});
  Child(u"Document 3", {420, 230, 600, 330});
  win::SendMessageW(Client(), win::WM_MDIACTIVATE, win::WParamFromHwnd(a->Handle()), 0);
  desktop.Pump();
  ASSERT_EQ(parent->ActiveMDIChild(), a);
  int checked = 0;
  for (const auto& s : skin::data::InternalSkins()) {
    const std::string name = s.Name;
    const std::string shortName = name.substr(0, name.find(' '));
    if (shortName != "BlueGauze" && shortName != "Retro" && shortName != "Golden") continue;
    ++checked;
    manager->SetSkinName(fw::Utf8ToUtf16(name));
    desktop.Pump();
    // What the desktop shows of the parent, its client's windows included.
    const TRect pw = ScreenRect(parent->Handle());
    gfx::Bitmap screen(pw.Width(), pw.Height());
    screen.CopyFrom(desktop.Compose(), pw, {0, 0});
    gfx::Bitmap painted(screen.Width(), screen.Height());
    {
      gfx::DeviceContext dc(painted);
      core::SkinPaintTo(&dc, parent, provider);
    }
    gfx::WriteFileBytes(
        (tests::OutputFolder("skin-controls") / ("mdi-painted-" + shortName + ".png")).string(),
        gfx::EncodePng(painted));
    gfx::WriteFileBytes(
        (tests::OutputFolder("skin-controls") / ("mdi-screen-" + shortName + ".png")).string(),
        gfx::EncodePng(screen));
    // Inside the parent's shape (its frame's cut-off corners are not the window's).
    gfx::Region shape;
    if (win::GetWindowRgn(parent->Handle(), &shape) == gfx::RGN_ERROR)
      shape = gfx::Region(TRect{0, 0, screen.Width(), screen.Height()});
    int wrong = 0;
    for (int y = 0; y < painted.Height(); ++y)
      for (int x = 0; x < painted.Width(); ++x)
        if (shape.Contains({x, y}) &&
            (painted.At(x, y) & 0xFFFFFF) != (screen.At(x, y) & 0xFFFFFF) && wrong++ < 3)
          ADD_FAILURE() << shortName << ": (" << x << ", " << y << ") painted " << std::hex
                        << painted.At(x, y) << ", on screen " << screen.At(x, y);
    EXPECT_EQ(wrong, 0) << shortName;
    // Where the children overlap, the active one is on top: its client area shows its colour.
    const TRect ac = ClientScreenRect(a->Handle());
    const int x = ac.Right - 5 - pw.Left, y = ac.Bottom - 5 - pw.Top;
    ASSERT_TRUE(ScreenRect(b->Handle()).Contains({ac.Right - 5, ac.Bottom - 5}));
    const TRect aw = ScreenRect(a->Handle());
    gfx::Bitmap alone(aw.Width(), aw.Height());
    {
      gfx::DeviceContext dc(alone);
      core::SkinPaintTo(&dc, a);
    }
    EXPECT_EQ(gfx::ColorFromPixel(painted.At(x, y)),
              gfx::ColorFromPixel(alone.At(ac.Right - 5 - aw.Left, ac.Bottom - 5 - aw.Top)))
        << shortName;
  }
  EXPECT_EQ(checked, 3);
}

TEST_F(MdiSkinTest, TheProgramsOwnWindowMenuItemsSurviveTheListWhateverTheirTag) {
  Child(u"A", {40, 10, 280, 200});
  Child(u"B", {330, 10, 570, 200});
  std::vector<fw::TMenuItem*> mine;
  for (std::intptr_t tag : {std::intptr_t(-1), std::intptr_t(512), std::intptr_t(600)}) {
    auto* item = new fw::TMenuItem(nullptr);
    item->SetCaption(u"&Mine");
    item->Tag = tag;
    windowItem->Add(item);
    mine.push_back(item);
  }
  WithWindowMenu([](win::HMENU) {});
  WithWindowMenu([](win::HMENU) {});
  std::vector<fw::TMenuItem*> kept;
  for (int i = 0; i < windowItem->Count(); ++i)
    if (std::find(mine.begin(), mine.end(), windowItem->Items(i)) != mine.end())
      kept.push_back(windowItem->Items(i));
  EXPECT_EQ(kept, mine) << "the list took the program's items for its own";
  EXPECT_EQ(windowItem->Count(), 1 + 3 + 1 + 2) << "Tile, the program's three, the list's four";

  // An item of the list the program frees itself is forgotten, not freed again.
  delete windowItem->Items(windowItem->Count() - 1);
  WithWindowMenu([](win::HMENU) {});
  EXPECT_EQ(windowItem->Count(), 1 + 3 + 1 + 2);
}

}  // namespace
}  // namespace skin::controls
