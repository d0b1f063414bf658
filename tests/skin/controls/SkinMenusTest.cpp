// Skinned menus: the system menu of a skinned form (its items and their states, opened by
// Alt+Space and by a right click on the caption, Move and Close working), a hooked pop-up
// menu drawn from the skin's sections, nested submenus by keyboard and mouse, and the skin list
// keeping the internal skins' names whole.
#include <gtest/gtest.h>

#include "MenuTestSupport.h"
#include "TestOutput.h"
#include "framework/Menus.h"
#include "platform/gfx/PictureCodec.h"
#include "platform/win/Backend.h"
#include "platform/win/Menu.h"
#include "platform/win/MenuWindow.h"
#include "platform/win/MessageQueue.h"
#include "platform/win/Paint.h"
#include "skin/controls/acDials.h"
#include "skin/controls/sSkinMenus.h"
#include "skin/draw/sAlphaGraph.h"
#include "skin/draw/sGraphUtils.h"
#include "skin/frame/InternalSkinFormTest.h"
#include "skin/frame/sSkinProvider.h"
#include "skin/frame/sSysMenu.h"

namespace skin::controls {
namespace {

using namespace menutest;

// The items of an open menu: text, and "(grey)" for a greyed one.
std::vector<std::u16string> Texts(win::HMENU m) {
  std::vector<std::u16string> out;
  for (int i = 0, n = win::GetMenuItemCount(m); i < n; ++i) {
    const win::MenuItem* it = win::GetMenuItem(m, win::UINT(i), win::MF_BYPOSITION);
    std::u16string t = (it->flags & win::MF_SEPARATOR) ? u"-" : it->text;
    if (it->flags & win::MF_GRAYED) t += u" (grey)";
    out.push_back(t);
  }
  return out;
}

gfx::TRect ItemRect(win::HMENU m, int pos) {
  win::RECT r{};
  EXPECT_TRUE(win::GetMenuItemRect(nullptr, m, win::UINT(pos), &r));
  return r;
}

class SkinMenusTest : public skin::frame::test::InternalSkinFormTest {
 protected:
  void Make(fw::TFormBorderStyle style) {
    InstallDialogSkinning();
    InstallSkinnedMenus();
    app = std::make_unique<fw::TApplication>();
    form = new fw::TForm(app.get());
    form->SetBorderStyle(style);
    form->SetBounds(100, 80, 320, 240);
    form->SetCaption(u"Каталог");
    manager = new core::TsSkinManager(form);
    manager->AfterConstruction();
    skin::data::AddInternalSkins(manager->InternalSkins());
    manager->SetSkinName(skin::frame::test::InternalSkinNamed("BlueGauze"));
    provider = new frame::TsSkinProvider(form);
    form->Show();
    desktop.Pump();
  }
  void AltSpace() {
    win::InjectKey(kAlt, true);
    Tap(kSpace);
    win::InjectKey(kAlt, false);
  }
  void Shot(const std::string& name) {
    gfx::WriteFileBytes((tests::OutputFolder("skin-controls") / name).string(),
                        gfx::EncodePng(desktop.Compose()));
  }
  frame::TsSkinProvider* provider = nullptr;
};

TEST_F(SkinMenusTest, ToolWindowMenuByAltSpaceHoldsMoveAndCloseAndCloseCloses) {
  Make(fw::TFormBorderStyle::bsToolWindow);
  ASSERT_TRUE(provider->Skinned());
  std::vector<std::u16string> texts;
  bool painted = false;
  desktop.Schedule(10, [&] { Tap(kDown); });  // "Переместить" hot
  desktop.Schedule(20, [&] {
    const auto open = MenuWindows();
    ASSERT_EQ(open.size(), 1u);
    const win::HWND mw = open[0];
    const win::HMENU m = MenuOf(mw);
    texts = Texts(m);
    Shot("system-menu-tool-window.png");
    // The frame is the body section's border picture over its background; the hot item is
    // the item section's hot state over the body.
    const data::TacSkinModel* model = manager->SkinModel();
    const auto& cd = manager->ConstData();
    const int body = cd.Sections[data::ssMainMenu];
    ASSERT_TRUE(model->IsValidSkinIndex(body));
    const gfx::TRect wr = ScreenRect(mw);
    gfx::Bitmap expect(wr.Width(), wr.Height());
    draw::PaintItemBG(model, body, draw::EmptyCI, 0, expect.Bounds(), {0, 0}, expect);
    const int border = model->gd[std::size_t(body)].BorderIndex;
    if (model->IsValidImgIndex(border))
      draw::DrawSkinRect(expect, expect.Bounds(), draw::EmptyCI, model->ma[std::size_t(border)], 0,
                         false);
    const gfx::Bitmap screen = desktop.Compose();
    gfx::Region rgn;
    const bool hasRegion = win::GetWindowRgn(mw, &rgn) != gfx::RGN_ERROR;
    // The ring the border picture covers (without one: the top rows right of the icon column).
    const int ring = std::min(3, SkinableMenusOf(*manager)->SkinBorderWidth());
    int framePixels = 0;
    for (int y = 0; y < wr.Height(); ++y)
      for (int x = 0; x < wr.Width(); ++x) {
        if (ring > 0 && x >= ring && y >= ring && x < wr.Width() - ring && y < wr.Height() - ring)
          continue;
        if (ring == 0 && (y >= 3 || x < 40)) continue;
        if ((expect.At(x, y) & kRgb) == 0xFF00FF) {
          ASSERT_TRUE(hasRegion && !rgn.Contains({x, y})) << "cut corner " << x << "," << y;
          continue;
        }
        ASSERT_EQ(screen.At(wr.Left + x, wr.Top + y) & kRgb, expect.At(x, y) & kRgb)
            << "frame " << x << "," << y;
        ++framePixels;
      }
    EXPECT_GT(framePixels, 0);
    const int item = cd.MenuItem.SkinIndex;
    ASSERT_TRUE(model->IsValidSkinIndex(item));
    const gfx::TRect hot = ItemRect(m, 0);
    gfx::Bitmap hotPic(hot.Width(), hot.Height());
    const gfx::Bitmap under = expect.Copy(hot.Offset(-wr.Left, -wr.Top));
    draw::PaintItem(model, item, draw::MakeCacheInfo(&expect, hot.Left - wr.Left, hot.Top - wr.Top),
                    true, 1, hotPic.Bounds(), {0, 0}, &hotPic);
    // Right of the text the hot item is the section alone.
    const int x = hot.Width() - 6, y = hot.Height() / 2;
    EXPECT_EQ(screen.At(hot.Left + x, hot.Top + y) & kRgb, hotPic.At(x, y) & kRgb);
    EXPECT_NE(hotPic.At(x, y) & kRgb, under.At(x, y) & kRgb) << "the hot state shows";
    painted = true;
    Tap(kEnd);  // "Закрыть"
    Tap(kEnter);
  });
  AltSpace();
  desktop.Pump();
  EXPECT_TRUE(painted);
  EXPECT_EQ(texts, (std::vector<std::u16string>{u"&Переместить", u"-", u"&Закрыть\tAlt+F4"}));
  EXPECT_FALSE(win::IsWindowVisible(form->Handle())) << "Закрыть closed the form";
  EXPECT_EQ(SkinableMenusOf(*manager)->OpenMenus(), 0) << "the pictures went with the menu";
}

TEST_F(SkinMenusTest, MaximisedSizeableFormByRightClickShowsEveryCommandWithItsState) {
  Make(fw::TFormBorderStyle::bsSizeable);
  win::ShowWindow(form->Handle(), win::SW_MAXIMIZE);
  desktop.Pump();
  std::vector<std::u16string> texts;
  desktop.Schedule(10, [&] {
    const auto open = MenuWindows();
    ASSERT_EQ(open.size(), 1u);
    texts = Texts(MenuOf(open[0]));
    Shot("system-menu-maximised.png");
    Tap(kEscape);
  });
  const gfx::TRect wr = ScreenRect(form->Handle());
  const win::POINT caption{wr.Left + wr.Width() / 2, wr.Top + provider->BorderWidth() + 4};
  ASSERT_EQ(win::SendMessageW(form->Handle(), win::WM_NCHITTEST, 0, win::LParamFromPoint(caption)),
            win::HTCAPTION);
  win::InjectMouseMove(caption);
  win::InjectMouseButton(1, true, caption);
  win::InjectMouseButton(1, false, caption);
  desktop.Pump();
  EXPECT_EQ(texts, (std::vector<std::u16string>{u"&Восстановить", u"&Переместить (grey)",
                                                u"&Размер (grey)", u"Св&ернуть",
                                                u"Ра&звернуть (grey)", u"-", u"&Закрыть\tAlt+F4"}));
}

TEST_F(SkinMenusTest, MoveFromTheSystemMenuMovesTheFormByArrows) {
  Make(fw::TFormBorderStyle::bsSizeable);
  const gfx::TRect before = ScreenRect(form->Handle());
  desktop.Schedule(10, [&] {
    Tap(kDown);  // "Переместить": Restore is greyed and passed over
    Tap(kEnter);
  });
  desktop.Schedule(30, [&] {
    Tap(kRight);
    Tap(kEnter);
  });
  AltSpace();
  desktop.Pump();
  const gfx::TRect after = ScreenRect(form->Handle());
  EXPECT_EQ(after.Left, before.Left + 8);
  EXPECT_EQ(after.Top, before.Top);
}

TEST_F(SkinMenusTest, APopupMenuIsDrawnFromTheSkinThroughNestedSubmenus) {
  Make(fw::TFormBorderStyle::bsSizeable);
  auto* menu = new fw::TPopupMenu(form);
  auto add = [](fw::TMenuItem* parent, const std::u16string& caption) {
    auto* item = new fw::TMenuItem(parent);
    item->SetCaption(caption);
    parent->Add(item);
    return item;
  };
  fw::TMenuItem* checked = add(menu->Items(), u"&Отмечен");
  checked->SetChecked(true);
  fw::TMenuItem* plain = add(menu->Items(), u"&Простой");
  add(menu->Items(), u"-");
  fw::TMenuItem* more = add(menu->Items(), u"&Ещё");
  fw::TMenuItem* deeper = add(more, u"&Глубже");
  fw::TMenuItem* deep = add(deeper, u"&Дно");
  int clicks = 0;
  deep->OnClick = [&](fw::TComponent*) { ++clicks; };
  SkinableMenusOf(*manager)->HookPopupMenu(*menu, true);
  EXPECT_TRUE(TsSkinableMenus::IsHooked(*deep));
  menu->SetWindowHandle(form->Handle());
  bool looked = false;
  desktop.Schedule(10, [&] {
    const auto open = MenuWindows();
    ASSERT_EQ(open.size(), 1u);
    const win::HMENU m = MenuOf(open[0]);
    Shot("skinned-popup-menu.png");
    const gfx::Bitmap screen = desktop.Compose();
    // The checked item shows the check mark where the plain one shows the ground.
    const gfx::TRect c = ItemRect(m, 0), p = ItemRect(m, 1);
    int differ = 0;
    for (int y = 0; y < c.Height(); ++y)
      for (int x = 0; x < 20; ++x)
        differ +=
            (screen.At(c.Left + x, c.Top + y) & kRgb) != (screen.At(p.Left + x, p.Top + y) & kRgb);
    EXPECT_GT(differ, 4) << "check mark";
    // The divider measures 2 pixels and shows a line across the body.
    const gfx::TRect d = ItemRect(m, 2);
    EXPECT_EQ(d.Height(), 2);
    const int mid = (d.Left + d.Right) / 2;
    EXPECT_NE(screen.At(mid, d.Top) & kRgb, screen.At(mid, p.Top + 1) & kRgb);
    // Keyboard into the second level, then the mouse into the third.
    Tap(kEnd);
    Tap(kRight);
  });
  desktop.Schedule(20, [&] {
    const auto two = MenuWindows();
    ASSERT_EQ(two.size(), 2u);
    const gfx::TRect deeperRect = ItemRect(MenuOf(two[0]), 0);
    const win::POINT at{(deeperRect.Left + deeperRect.Right) / 2,
                        (deeperRect.Top + deeperRect.Bottom) / 2};
    win::InjectMouseMove(at);
    win::InjectMouseButton(0, true, at);
  });
  desktop.Schedule(30, [&] {
    const auto three = MenuWindows();
    ASSERT_EQ(three.size(), 3u);
    EXPECT_EQ(SkinableMenusOf(*manager)->OpenMenus(), 3);
    Shot("skinned-popup-menu-nested.png");
    const gfx::TRect dno = ItemRect(MenuOf(three[0]), 0);
    const win::POINT on{(dno.Left + dno.Right) / 2, (dno.Top + dno.Bottom) / 2};
    win::InjectMouseMove(on);
    win::InjectMouseButton(0, true, on);
    win::InjectMouseButton(0, false, on);
    looked = true;
  });
  menu->Popup(150, 150);
  desktop.Pump();
  EXPECT_TRUE(looked);
  EXPECT_EQ(clicks, 1);
  (void)plain;
}

TEST_F(SkinMenusTest, TheSkinListKeepsTheInternalSkinsNamesWhole) {
  Make(fw::TFormBorderStyle::bsSizeable);
  // The internal skins carry the "(внутренний)" mark in their names.
  auto& stored = manager->InternalSkins();
  frame::TsSystemMenu& sys = provider->SystemMenu();
  sys.UpdateItems(true);
  sys.MakeSkinItems();
  fw::TMenuItem* list = sys.Items()->Items(0);
  ASSERT_EQ(list->Name(), "SkinSelectItem");
  ASSERT_EQ(list->Count(), stored.Count());
  fw::TMenuItem* golden = nullptr;
  for (int i = 0; i < list->Count(); ++i)
    if (list->Items(i)->Caption().starts_with(u"Golden")) golden = list->Items(i);
  ASSERT_NE(golden, nullptr);
  EXPECT_EQ(golden->Caption(), u"Golden (внутренний)");
  golden->Click();
  EXPECT_EQ(manager->SkinName(), u"Golden (внутренний)");
  EXPECT_TRUE(manager->Active() && manager->SkinModel()) << "the chosen skin loaded";
  // Made again, the list has one set of items and the chosen skin checked.
  sys.MakeSkinItems();
  int lists = 0;
  for (int i = 0; i < sys.Items()->Count(); ++i)
    lists += sys.Items()->Items(i)->Name() == "SkinSelectItem";
  EXPECT_EQ(lists, 1);
  for (int i = 0; i < sys.Items()->Items(0)->Count(); ++i) {
    fw::TMenuItem* it = sys.Items()->Items(0)->Items(i);
    EXPECT_EQ(it->Checked(), it->Caption() == u"Golden (внутренний)") << i;
  }
}

}  // namespace
}  // namespace skin::controls
