// Skinned menus: the system menu of a skinned form (its items and their states, opened by
// Alt+Space and by a right click on the caption, Move and Close working), a hooked pop-up
// menu drawn from the skin's sections, nested submenus by keyboard and mouse, and the skin list
// keeping the internal skins' names whole.
#include <gtest/gtest.h>

#include <algorithm>

#include "MenuTestSupport.h"
#include "TestOutput.h"
#include "framework/Application.h"
#include "framework/Canvas.h"
#include "framework/ImageList.h"
#include "framework/Menus.h"
#include "framework/TextConv.h"
#include "platform/gfx/DeviceContext.h"
#include "platform/gfx/PictureCodec.h"
#include "platform/win/Backend.h"
#include "platform/win/Input.h"
#include "platform/win/Menu.h"
#include "platform/win/MenuWindow.h"
#include "platform/win/MessageBox.h"
#include "platform/win/MessageQueue.h"
#include "platform/win/Paint.h"
#include "platform/win/Styles.h"
#include "platform/win/SystemMetrics.h"
#include "skin/controls/acDials.h"
#include "skin/controls/sGlyphUtils.h"
#include "skin/controls/sPanel.h"
#include "skin/controls/sSkinMenus.h"
#include "skin/core/sMessages.h"
#include "skin/draw/sAlphaGraph.h"
#include "skin/draw/sGraphUtils.h"
#include "skin/frame/InternalSkinFormTest.h"
#include "skin/frame/sSkinProvider.h"
#include "skin/frame/sSysMenu.h"
#include "skin/internal/sInternalSkins.h"

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
  // Opens menu at (150, 150), lets look see its window, then closes it.
  void ShowPopup(fw::TPopupMenu& menu, const std::function<void(win::HWND)>& look) {
    desktop.Schedule(10, [&] {
      const auto open = MenuWindows();
      ASSERT_EQ(open.size(), 1u);
      look(open[0]);
      Tap(kEscape);
    });
    menu.Popup(150, 150);
    desktop.Pump();
  }
  // A sizeable form's pop-up menu whose Images hold one red 16 x 16 picture.
  fw::TPopupMenu* MenuWithRedPicture() {
    Make(fw::TFormBorderStyle::bsSizeable);
    auto* images = new fw::TImageList(form);
    gfx::Bitmap red(16, 16);
    red.Fill(gfx::MakePixel(0, 0, 255, 255));
    images->Add(u"red", red);
    auto* menu = new fw::TPopupMenu(form);
    menu->SetImages(images);
    return menu;
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

TEST_F(SkinMenusTest, ACommandAddedToTheFormsSystemMenuLaterShowsAtTheNextShowing) {
  Make(fw::TFormBorderStyle::bsSizeable);
  auto openTexts = [&] {
    std::vector<std::u16string> texts;
    desktop.Schedule(10, [&] {
      const auto open = MenuWindows();
      ASSERT_EQ(open.size(), 1u);
      texts = Texts(MenuOf(open[0]));
      Tap(kEscape);
    });
    AltSpace();
    desktop.Pump();
    return texts;
  };
  const std::vector<std::u16string> first = openTexts();
  ASSERT_FALSE(first.empty());
  EXPECT_EQ(std::count(first.begin(), first.end(), u"О программе"), 0);
  win::AppendMenuW(win::GetSystemMenu(form->Handle(), false), win::MF_STRING, 0x0100,
                   u"О программе");
  const std::vector<std::u16string> second = openTexts();
  EXPECT_EQ(std::count(second.begin(), second.end(), u"О программе"), 1);
}

TEST_F(SkinMenusTest, AnEntryOfAWindowThatWentUntoldIsDroppedWhenAnotherComes) {
  Make(fw::TFormBorderStyle::bsSizeable);
  TsSkinableMenus* painter = SkinableMenusOf(*manager);
  painter->ClearCache();
  auto* goes = new fw::TForm(app.get());
  goes->SetBounds(10, 10, 120, 80);
  const win::HWND gone = goes->Handle();
  ASSERT_NE(painter->GetMenuInfo(gone), nullptr);
  delete goes;
  ASSERT_FALSE(win::IsWindow(gone));
  ASSERT_NE(painter->GetMenuInfo(form->Handle()), nullptr);
  EXPECT_EQ(painter->OpenMenus(), 1);
  painter->ClearCache();
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
    // Each window keeps its own shape when its frame is painted again after the others were
    // prepared: the cut corners belong to each picture.
    for (const win::HWND h : three) {
      gfx::Region before, after;
      ASSERT_NE(win::GetWindowRgn(h, &before), gfx::RGN_ERROR) << "the skin's menu cuts corners";
      win::RedrawWindow(h, nullptr, nullptr,
                        win::RDW_FRAME | win::RDW_INVALIDATE | win::RDW_UPDATENOW);
      ASSERT_NE(win::GetWindowRgn(h, &after), gfx::RGN_ERROR);
      EXPECT_TRUE(before == after);
    }
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

// A skin's name as a file name's part: its first word.
std::string ShotName(const std::string& skin) {
  return skin.substr(0, skin.find(' '));
}

// The opaque pixels of a character glyph of the item section's font colour, at the item's
// glyph column: how many the screen shows exactly, of how many there are.
std::pair<int, int> SymbolPixels(const gfx::Bitmap& screen, const core::TsSkinManager& manager,
                                 int glyph, const gfx::TRect& item, int left) {
  const data::TacSkinModel* model = manager.SkinModel();
  const int section = manager.ConstData().MenuItem.SkinIndex;
  const paint::TColor color = draw::StateProps(model->gd[std::size_t(section)], 0).FontColor.Color;
  const int gw = manager.ScaleInt(16);
  auto pic = acCharImages().CreateBitmap32Color(glyph, gw, gw, color);
  const int top = item.Top + (item.Height() - gw) / 2;
  int same = 0, opaque = 0;
  for (int y = 0; y < gw; ++y)
    for (int x = 0; x < gw; ++x) {
      if (gfx::PixelA(pic->At(x, y)) != 255) continue;
      ++opaque;
      same += (screen.At(left + x, top + y) & kRgb) == (pic->At(x, y) & kRgb);
    }
  return {same, opaque};
}

TEST_F(SkinMenusTest, TheSystemMenuShowsTheCommandsSymbolsInEveryInternalSkin) {
  Make(fw::TFormBorderStyle::bsToolWindow);
  for (const auto& skin : data::InternalSkins()) {
    manager->SetSkinName(fw::Utf8ToUtf16(skin.Name));
    desktop.Pump();
    ASSERT_TRUE(manager->Active()) << skin.Name;
    std::pair<int, int> close{}, move{};
    desktop.Schedule(10, [&] {
      const auto open = MenuWindows();
      ASSERT_EQ(open.size(), 1u);
      const win::HMENU m = MenuOf(open[0]);
      const gfx::Bitmap screen = desktop.Compose();
      // Nothing hot: both items show the glyph in the section's normal colour.
      const gfx::TRect mv = ItemRect(m, 0), cl = ItemRect(m, 2);
      move = SymbolPixels(screen, *manager, cgMove, mv, mv.Left + 2);
      close = SymbolPixels(screen, *manager, cgClose, cl, cl.Left + 2);
      Shot("system-menu-symbols-" + ShotName(skin.Name) + ".png");
      Tap(kEscape);
    });
    AltSpace();
    desktop.Pump();
    EXPECT_GT(close.second, 10) << skin.Name;
    EXPECT_EQ(close.first, close.second) << skin.Name;
    EXPECT_EQ(move.first, move.second) << skin.Name;
  }
}

TEST_F(SkinMenusTest, ItemPicturesAndTheExtraLineComeFromTheSkinInEveryInternalSkin) {
  fw::TPopupMenu* menu = MenuWithRedPicture();
  auto add = [&](const std::u16string& caption, const std::string& name = {}) {
    auto* item = new fw::TMenuItem(form);
    item->SetCaption(caption);
    if (!name.empty()) item->SetName(name);
    menu->Items()->Add(item);
    return item;
  };
  add(u"&Скины", "SkinSelectItem");
  fw::TMenuItem* pictured = add(u"&Картинка");
  pictured->SetImageIndex(0);
  fw::TMenuItem* checkedPicture = add(u"&Отмеченная");
  checkedPicture->SetImageIndex(0);
  checkedPicture->SetChecked(true);
  add(u"-Раздел-");
  add(u"&Последний");
  gfx::Bitmap foot(10, 10);
  foot.Fill(gfx::MakePixel(255, 0, 0, 255));  // blue
  std::u16string section = u"MENUITEM";
  manager->OnGetPopupLineData = [&](fw::TMenuItem* first, std::u16string& name, bool& have,
                                    gfx::Bitmap& glyph, std::u16string& text) {
    EXPECT_EQ(first->Name(), "SkinSelectItem");
    EXPECT_TRUE(have);
    name = section;
    glyph = foot;
    text = u"&Каталог";
  };
  SkinableMenusOf(*manager)->HookPopupMenu(*menu, true);
  menu->SetWindowHandle(form->Handle());
  auto show = [&](const std::function<void(win::HWND)>& look) { ShowPopup(*menu, look); };
  manager->MenuSupport().UseExtraLine = true;
  for (const auto& skin : data::InternalSkins()) {
    manager->SetSkinName(fw::Utf8ToUtf16(skin.Name));
    desktop.Pump();
    const data::TacSkinModel* model = manager->SkinModel();
    const int strip = model->GetSkinIndex("MENUITEM");
    if (!model->IsValidSkinIndex(strip)) continue;
    bool looked = false;
    show([&](win::HWND h) {
      const gfx::TRect wr = ScreenRect(h);
      const gfx::Bitmap screen = desktop.Compose();
      Shot("skinned-popup-extras-" + ShotName(skin.Name) + ".png");
      const win::HMENU m = MenuOf(h);
      const int ew = manager->ScaleInt(32), sbw = SkinableMenusOf(*manager)->SkinBorderWidth();
      const int sh = wr.Height() - 2 * sbw;
      // The picture of the list sits in the glyph column, past the extra line.
      const gfx::TRect p = ItemRect(m, 1);
      EXPECT_EQ(screen.At(p.Left + ew + 2 + 8, p.Top + p.Height() / 2) & kRgb, 0xFF0000u)
          << skin.Name;
      // The strip: the section over the body, the blue picture at its foot, text above it.
      const int body = manager->ConstData().Sections[data::ssMainMenu];
      gfx::Bitmap bg(wr.Width(), wr.Height());
      draw::PaintItemBG(model, body, draw::EmptyCI, 0, bg.Bounds(), {0, 0}, bg);
      gfx::Bitmap expect(ew, sh);
      draw::PaintItem(model, strip, draw::MakeCacheInfo(&bg, sbw, sbw), true, 0, expect.Bounds(),
                      {0, 0}, &expect);
      const int x0 = wr.Left + sbw, y0 = wr.Top + sbw;
      for (int y = 2; y < 8; ++y)
        for (int x = 2; x < ew - 2; ++x)
          ASSERT_EQ(screen.At(x0 + x, y0 + y) & kRgb, expect.At(x, y) & kRgb)
              << skin.Name << " strip " << x << "," << y;
      EXPECT_EQ(screen.At(x0 + ew / 2, y0 + sh - 4 - 5) & kRgb, 0x0000FFu) << skin.Name;
      int text = 0;
      for (int y = sh - 4 - 10 - 8 - 12 - 40; y < sh - 4 - 10 - 8 - 12; ++y)
        for (int x = 0; x < ew; ++x)
          text += (screen.At(x0 + x, y0 + y) & kRgb) != (expect.At(x, y) & kRgb);
      EXPECT_GT(text, 20) << skin.Name << " the text upwards";
      looked = true;
    });
    EXPECT_TRUE(looked) << skin.Name;
  }
  // Right to left the strip runs down the right, its picture still at its foot.
  win::SetUIRightToLeft(true);
  menu->SetBiDiMode(fw::TBiDiMode::bdRightToLeft);
  show([&](win::HWND h) {
    const gfx::TRect wr = ScreenRect(h);
    const gfx::Bitmap screen = desktop.Compose();
    Shot("skinned-popup-extras-rtl.png");
    const int ew = manager->ScaleInt(32), sbw = SkinableMenusOf(*manager)->SkinBorderWidth();
    const int foot = wr.Bottom - sbw - 4 - 5;
    EXPECT_EQ(screen.At(wr.Right - sbw - ew + ew / 2, foot) & kRgb, 0x0000FFu);
    EXPECT_NE(screen.At(wr.Left + sbw + ew / 2, foot) & kRgb, 0x0000FFu);
  });
  win::SetUIRightToLeft(false);
  menu->SetBiDiMode(fw::TBiDiMode::bdLeftToRight);
  // Every first-column item grew by the strip.
  int extraWidth = 0, plainWidth = 0;
  show([&](win::HWND h) { extraWidth = ScreenRect(h).Width(); });
  manager->MenuSupport().UseExtraLine = false;
  show([&](win::HWND h) { plainWidth = ScreenRect(h).Width(); });
  EXPECT_EQ(extraWidth, plainWidth + manager->ScaleInt(32));
  manager->MenuSupport().UseExtraLine = true;
  // Without its section the strip keeps its room and shows the body.
  section = u"NO SUCH SECTION";
  show([&](win::HWND h) { EXPECT_EQ(ScreenRect(h).Width(), plainWidth + manager->ScaleInt(32)); });
  manager->OnGetPopupLineData = nullptr;
}

// A right-to-left pop-up is the mirror image of the same menu left to right wherever no text
// lies: frame, icon column with its picture, divider with its gap, submenu arrow; the caption
// keeps to the right half. Its submenu opens to the left.
TEST_F(SkinMenusTest, ARightToLeftPopupIsTheMirrorOfItsLeftToRightLookInEveryInternalSkin) {
  fw::TPopupMenu* menu = MenuWithRedPicture();
  auto add = [&](fw::TMenuItem* parent, const std::u16string& caption) {
    auto* item = new fw::TMenuItem(form);
    item->SetCaption(caption);
    parent->Add(item);
    return item;
  };
  add(menu->Items(), u"&Картинка")->SetImageIndex(0);
  add(menu->Items(), u"&Отмеченный пункт")->SetChecked(true);
  add(menu->Items(), u"-");
  fw::TMenuItem* more = add(menu->Items(), u"&Ещё");
  add(more, u"&Внутри");
  SkinableMenusOf(*manager)->HookPopupMenu(*menu, true);
  menu->SetWindowHandle(form->Handle());
  for (const auto& skin : data::InternalSkins()) {
    manager->SetSkinName(fw::Utf8ToUtf16(skin.Name));
    desktop.Pump();
    gfx::Bitmap ltr, rtl;
    std::vector<gfx::TRect> ltrItems, rtlItems;
    gfx::TRect rtlWindow{}, subWindow{};
    auto look = [&](bool rightToLeft) {
      win::SetUIRightToLeft(rightToLeft);
      menu->SetBiDiMode(rightToLeft ? fw::TBiDiMode::bdRightToLeft : fw::TBiDiMode::bdLeftToRight);
      desktop.Schedule(10, [&] {
        const auto open = MenuWindows();
        ASSERT_EQ(open.size(), 1u);
        const gfx::TRect wr = ScreenRect(open[0]);
        (rightToLeft ? rtl : ltr) = desktop.Compose().Copy(wr);
        auto& items = rightToLeft ? rtlItems : ltrItems;
        for (int i = 0; i < 4; ++i)
          items.push_back(ItemRect(MenuOf(open[0]), i).Offset(-wr.Left, -wr.Top));
        if (rightToLeft) rtlWindow = wr;
        Tap(kEnd);  // "Ещё"
        Tap(rightToLeft ? 0xE04B : kRight);
      });
      desktop.Schedule(20, [&] {
        const auto open = MenuWindows();
        ASSERT_EQ(open.size(), 2u);
        if (rightToLeft) subWindow = ScreenRect(open[0]);
        Shot(std::string("skinned-popup-") + (rightToLeft ? "rtl-" : "ltr-") + ShotName(skin.Name) +
             ".png");
        Tap(kEscape);
        Tap(kEscape);
      });
      menu->Popup(300, 150);
      desktop.Pump();
    };
    look(false);
    look(true);
    win::SetUIRightToLeft(false);
    ASSERT_EQ(ltr.Width(), rtl.Width()) << skin.Name;
    ASSERT_EQ(ltr.Height(), rtl.Height()) << skin.Name;
    ASSERT_EQ(rtlItems.size(), 4u);
    const int w = rtl.Width();
    EXPECT_EQ(rtlWindow.Right, 300) << skin.Name << ": hangs to the left of the point";
    EXPECT_EQ(subWindow.Right, rtlWindow.Left + 3) << skin.Name << ": the submenu opens left";
    auto mirrored = [&](int x, int y) {
      return (rtl.At(x, y) & kRgb) == (ltr.At(w - 1 - x, y) & kRgb);
    };
    // The frame's top rows, the divider's rows (the gap of the icon column on the right).
    // (The corners cut out of the shape show what lies behind, elsewhere for each.)
    for (int y : {0, 1, rtlItems[2].Top, rtlItems[2].Bottom - 1})
      for (int x = 16; x < w - 16; ++x)
        ASSERT_TRUE(mirrored(x, y)) << skin.Name << " " << x << "," << y;
    const int icon = manager->ScaleInt(16) + 2 + 8;  // margin + glyph + spacing
    for (const int i : {0, 3}) {
      const gfx::TRect& r = rtlItems[std::size_t(i)];
      EXPECT_EQ(r.Right, w - ltrItems[std::size_t(i)].Left) << skin.Name;
      // The icon column with its picture on the right, the arrow on the left.
      for (int y = r.Top; y < r.Bottom; ++y) {
        for (int x = r.Right - icon; x < r.Right; ++x)
          ASSERT_TRUE(mirrored(x, y)) << skin.Name << " item " << i << " " << x << "," << y;
        for (int x = r.Left; x < r.Left + 20; ++x)
          ASSERT_TRUE(mirrored(x, y)) << skin.Name << " item " << i << " " << x << "," << y;
      }
    }
    EXPECT_EQ(rtl.At(rtlItems[0].Right - 2 - 8, (rtlItems[0].Top + rtlItems[0].Bottom) / 2) & kRgb,
              0xFF0000u)
        << skin.Name;
    // "Ещё" reads from the right: its left half is the ground as left to right mirrored, its
    // right half holds the text.
    const gfx::TRect& m = rtlItems[3];
    int leftInk = 0, rightInk = 0;
    for (int y = m.Top; y < m.Bottom; ++y)
      for (int x = m.Left + 20; x < m.Right - icon; ++x)
        (x < (m.Left + m.Right) / 2 ? leftInk : rightInk) += !mirrored(x, y);
    EXPECT_EQ(leftInk, 0) << skin.Name;
    EXPECT_GT(rightInk, 10) << skin.Name;
  }
}

// The system menu of a right-to-left form on a right-to-left system reads from the right.
TEST_F(SkinMenusTest, TheSystemMenuOfARightToLeftFormIsRightToLeft) {
  Make(fw::TFormBorderStyle::bsToolWindow);
  win::SetUIRightToLeft(true);
  form->SetBiDiMode(fw::TBiDiMode::bdRightToLeft);
  std::pair<int, int> closeRight{}, closeLeft{};
  win::LONG_PTR ex = 0;
  desktop.Schedule(10, [&] {
    const auto open = MenuWindows();
    ASSERT_EQ(open.size(), 1u);
    ex = win::GetWindowLongPtrW(open[0], win::GWL_EXSTYLE);
    const gfx::TRect cl = ItemRect(MenuOf(open[0]), 2);
    const gfx::Bitmap screen = desktop.Compose();
    const int gw = manager->ScaleInt(16);
    closeRight = SymbolPixels(screen, *manager, cgClose, cl, cl.Right - 2 - gw);
    closeLeft = SymbolPixels(screen, *manager, cgClose, cl, cl.Left + 2);
    Shot("system-menu-rtl.png");
    Tap(kEscape);
  });
  AltSpace();
  desktop.Pump();
  win::SetUIRightToLeft(false);
  EXPECT_TRUE(ex & win::WS_EX_RTLREADING);
  EXPECT_GT(closeRight.second, 10);
  EXPECT_EQ(closeRight.first, closeRight.second);
  EXPECT_LT(closeLeft.first, closeLeft.second);
}

TEST_F(SkinMenusTest, TheProvidersSubMenuIsMergedAtItsPositionAsCopies) {
  Make(fw::TFormBorderStyle::bsToolWindow);
  auto* images = new fw::TImageList(form);
  auto* extra = new fw::TPopupMenu(form);
  extra->SetImages(images);
  auto* tools = new fw::TMenuItem(form);
  tools->SetName("Tools");
  tools->SetCaption(u"&Сервис");
  extra->Items()->Add(tools);
  auto* deep = new fw::TMenuItem(form);
  deep->SetName("Deep");
  deep->SetCaption(u"&Глубже");
  deep->SetChecked(true);
  deep->SetShortCut(fw::TShortCut(fw::scCtrl | 'D'));
  int clicks = 0;
  deep->OnClick = [&](fw::TComponent*) { ++clicks; };
  tools->Add(deep);
  frame::TsSystemMenu& sys = provider->SystemMenu();
  auto captions = [&] {
    std::vector<std::u16string> out;
    for (int i = 0; i < sys.Items()->Count(); ++i) out.push_back(sys.Items()->Items(i)->Caption());
    return out;
  };
  // Without a menu (or a caption) nothing is added.
  provider->SysSubMenu().Caption = u"Ещё";
  sys.UpdateItems(true);
  EXPECT_EQ(sys.SubMenu, nullptr);
  provider->SetSysSubMenuPopup(extra);
  for (auto [at, expect] :
       {std::pair{frame::ipTop, std::vector<std::u16string>{u"Ещё", u"-"}},
        std::pair{frame::ipBeforeClose, std::vector<std::u16string>{u"Ещё", u"-"}},
        std::pair{frame::ipBottom, std::vector<std::u16string>{u"-", u"Ещё"}}}) {
    provider->SysSubMenu().Position = at;
    sys.UpdateItems(true);
    const std::vector<std::u16string> all = captions();
    ASSERT_NE(sys.SubMenu, nullptr);
    const int pos = sys.Items()->IndexOf(sys.SubMenu);
    const int first = at == frame::ipBottom ? pos - 1 : pos;
    ASSERT_GE(first, 0);
    EXPECT_EQ((std::vector<std::u16string>(all.begin() + first, all.begin() + first + 2)), expect);
    if (at == frame::ipTop) {
      EXPECT_EQ(pos, 0);
    } else if (at == frame::ipBeforeClose) {
      EXPECT_EQ(all.at(std::size_t(pos) + 2), u"&Закрыть\tAlt+F4");
    } else {
      EXPECT_EQ(pos, sys.Items()->Count() - 1);
    }
  }
  // The copies: the tree, the states and the handler; the menu takes the images.
  ASSERT_EQ(sys.SubMenu->Count(), 1);
  fw::TMenuItem* toolsCopy = sys.SubMenu->Items(0);
  EXPECT_EQ(toolsCopy->Name(), "ToolsCopy");
  ASSERT_EQ(toolsCopy->Count(), 1);
  fw::TMenuItem* deepCopy = toolsCopy->Items(0);
  EXPECT_NE(deepCopy, deep);
  EXPECT_EQ(deepCopy->Caption(), u"&Глубже");
  EXPECT_TRUE(deepCopy->Checked());
  EXPECT_EQ(deepCopy->ShortCut(), deep->ShortCut());
  deepCopy->Click();
  EXPECT_EQ(clicks, 1);
  EXPECT_EQ(sys.Images(), images);
  // Shown through the skinned system menu: End is the sub-menu, last; Right twice opens it and
  // the copy's own sub-menu.
  bool opened = false;
  desktop.Schedule(10, [&] {
    Tap(kEnd);
    Tap(kRight);
    Tap(kRight);
  });
  desktop.Schedule(20, [&] {
    opened = MenuWindows().size() == 3u;
    Shot("system-menu-sub-menu.png");
    Tap(kEscape);
    Tap(kEscape);
    Tap(kEscape);
  });
  AltSpace();
  desktop.Pump();
  EXPECT_TRUE(opened);
  // A freed menu is forgotten: the system menu goes without the sub-menu.
  delete extra;
  EXPECT_EQ(provider->SysSubMenu().PopupMenu(), nullptr);
  sys.UpdateItems(true);
  EXPECT_EQ(sys.SubMenu, nullptr);
  EXPECT_EQ(sys.Images(), nullptr);
}

TEST_F(SkinMenusTest, TheCustomMenuFontAndTheItemFontEventReachMeasuringAndText) {
  Make(fw::TFormBorderStyle::bsSizeable);
  auto* menu = new fw::TPopupMenu(form);
  for (const char16_t* caption : {u"&Первый", u"&Второй"}) {
    auto* item = new fw::TMenuItem(form);
    item->SetCaption(caption);
    menu->Items()->Add(item);
  }
  SkinableMenusOf(*manager)->HookPopupMenu(*menu, true);
  menu->SetWindowHandle(form->Handle());
  auto show = [&](const std::function<void(win::HMENU)>& look) {
    ShowPopup(*menu, [&](win::HWND h) { look(MenuOf(h)); });
  };
  int plain = 0, custom = 0, green = 0;
  show([&](win::HMENU m) { plain = ItemRect(m, 0).Height(); });
  manager->MenuSupport().CustomFont = true;
  manager->MenuSupport().Font.SetHeight(-30);
  show([&](win::HMENU m) { custom = ItemRect(m, 0).Height(); });
  EXPECT_GT(custom, plain + 10);
  // The event's colour replaces the section's for the second item only.
  manager->MenuSupport().CustomFont = false;
  std::vector<unsigned> states;
  manager->OnGetPopupItemData = [&](fw::TMenuItem* item, unsigned state, fw::TFont& font) {
    states.push_back(state);
    if (item->Caption() == u"&Второй") font.SetColor(0x00FF00);
  };
  show([&](win::HMENU m) {
    const gfx::Bitmap screen = desktop.Compose();
    for (int pos : {0, 1}) {
      const gfx::TRect r = ItemRect(m, pos);
      for (int y = r.Top; y < r.Bottom; ++y)
        for (int x = r.Left; x < r.Right; ++x) {
          // Smoothed text: pixels well on the way to pure green.
          const gfx::Pixel px = screen.At(x, y);
          const bool isGreen =
              gfx::PixelG(px) > 150 && gfx::PixelR(px) < 100 && gfx::PixelB(px) < 100;
          green += isGreen * (pos == 1 ? 1 : -1000);
        }
    }
  });
  EXPECT_GT(green, 10);
  EXPECT_NE(std::find(states.begin(), states.end(), 0u), states.end()) << "measured";
  manager->OnGetPopupItemData = nullptr;
}

// Menus made after the skin came: a right click opens a skinned control's menu skinned, and a
// context request on the form skins the menu of the windowless control under the point and
// the form's own; without SkinnedPopups they stay plain.
TEST_F(SkinMenusTest, AMenuMadeAfterTheSkinOpensSkinnedOnAContextRequest) {
  Make(fw::TFormBorderStyle::bsSizeable);
  auto menuWith = [&](const std::u16string& caption) {
    auto* menu = new fw::TPopupMenu(form);
    auto* item = new fw::TMenuItem(menu->Items());
    item->SetCaption(caption);
    menu->Items()->Add(item);
    return menu;
  };
  auto* panel = new TsPanel(form);
  panel->SetBounds(10, 10, 140, 90);
  panel->SetParent(form);
  auto* label = new fw::TLabel(form);
  label->SetBounds(170, 20, 80, 16);
  label->SetCaption(u"Метка");
  label->SetParent(form);
  desktop.Pump();
  fw::TPopupMenu* panelMenu = menuWith(u"&Панель");
  fw::TPopupMenu* labelMenu = menuWith(u"&Метка");
  fw::TPopupMenu* formMenu = menuWith(u"&Форма");
  panel->SetPopupMenu(panelMenu);
  label->SetPopupMenu(labelMenu);
  form->SetPopupMenu(formMenu);
  for (fw::TPopupMenu* m : {panelMenu, labelMenu, formMenu}) {
    ASSERT_FALSE(TsSkinableMenus::IsHooked(*m->Items()->Items(0))) << "made after the skin";
    m->AutoPopup = false;
  }
  // The windowless label's place on the form: its menu and the form's are skinned.
  const gfx::TPoint onLabel = label->ClientToScreen({5, 5});
  win::SendMessageW(form->Handle(), win::WM_CONTEXTMENU, win::WParamFromHwnd(form->Handle()),
                    win::LParamFromPoint({onLabel.X, onLabel.Y}));
  EXPECT_TRUE(TsSkinableMenus::IsHooked(*labelMenu->Items()->Items(0)));
  EXPECT_TRUE(labelMenu->OwnerDraw());
  EXPECT_TRUE(TsSkinableMenus::IsHooked(*formMenu->Items()->Items(0)));
  EXPECT_FALSE(TsSkinableMenus::IsHooked(*panelMenu->Items()->Items(0)));

  // A real right click on the skinned panel opens its menu drawn by the skin.
  panelMenu->AutoPopup = true;
  const gfx::TPoint onPanel = panel->ClientToScreen({30, 30});
  bool opened = false;
  desktop.Schedule(10, [&] {
    const auto open = MenuWindows();
    ASSERT_EQ(open.size(), 1u);
    opened = true;
    EXPECT_TRUE(TsSkinableMenus::IsHooked(*panelMenu->Items()->Items(0)));
    EXPECT_GT(SkinableMenusOf(*manager)->OpenMenus(), 0) << "the skin paints the menu window";
    Shot("context-popup-menu.png");
    Tap(kEscape);
  });
  win::InjectMouseMove({onPanel.X, onPanel.Y});
  win::InjectMouseButton(1, true, {onPanel.X, onPanel.Y});
  win::InjectMouseButton(1, false, {onPanel.X, onPanel.Y});
  desktop.Pump();
  app->ProcessMessages();
  EXPECT_TRUE(opened);

  // Without skinned pop-ups a new menu stays as the system draws it.
  manager->SetSkinnedPopups(false);
  fw::TPopupMenu* plain = menuWith(u"&Простое");
  plain->AutoPopup = false;
  panel->SetPopupMenu(plain);
  win::SendMessageW(panel->Handle(), win::WM_CONTEXTMENU, win::WParamFromHwnd(panel->Handle()),
                    win::LParamFromPoint({onPanel.X, onPanel.Y}));
  EXPECT_FALSE(TsSkinableMenus::IsHooked(*plain->Items()->Items(0)));
}

// A skinned message box has the skinned system menu: Alt+Space, a right click on its caption
// and a press on its icon open it, drawn by the skin's menu painter, with the box's own
// commands (a message box moves and closes only); its Close answers as the close button.
TEST_F(SkinMenusTest, AMessageBoxsSystemMenuIsSkinnedAndOpensFromKeysCaptionAndIcon) {
  Make(fw::TFormBorderStyle::bsToolWindow);
  win::HWND box = nullptr;
  std::vector<std::u16string> byKeys;
  int painted = 0, byCaption = 0, byIcon = 0;
  auto dialog = [&]() -> TacDialogWnd& { return *FindFormInList(box)->ListSW; };
  desktop.Schedule(50, [&] {
    box = win::GetActiveWindow();
    ASSERT_NE(FindFormInList(box), nullptr);
    ASSERT_NE(FindFormInList(box)->ListSW, nullptr);
    AltSpace();
  });
  desktop.Schedule(100, [&] {
    const auto open = MenuWindows();
    ASSERT_EQ(open.size(), 1u);
    byKeys = Texts(MenuOf(open[0]));
    // The painter keeps the open menu's picture: it drew it.
    painted = SkinableMenusOf(*manager)->OpenMenus();
    // Below the icon, at its left edge.
    const gfx::TRect icon = dialog().IconRect().Offset(ScreenRect(box).Left, ScreenRect(box).Top);
    EXPECT_EQ(ScreenRect(open[0]).Left, icon.Left);
    EXPECT_EQ(ScreenRect(open[0]).Top, icon.Bottom);
    Shot("dialog-system-menu.png");
    Tap(kEscape);
  });
  desktop.Schedule(150, [&] {
    ASSERT_TRUE(MenuWindows().empty());
    const gfx::TRect wr = ScreenRect(box);
    const win::POINT caption{wr.Left + wr.Width() / 2, wr.Top + dialog().TitleHeight() / 2};
    win::InjectMouseMove(caption);
    win::InjectMouseButton(1, true, caption);
    win::InjectMouseButton(1, false, caption);
  });
  desktop.Schedule(200, [&] {
    byCaption = int(MenuWindows().size());
    Tap(kEscape);
  });
  desktop.Schedule(250, [&] {
    ASSERT_TRUE(MenuWindows().empty());
    const gfx::TRect icon = dialog().IconRect().Offset(ScreenRect(box).Left, ScreenRect(box).Top);
    ASSERT_FALSE(icon.IsEmpty());
    const win::POINT at{icon.Left + 4, icon.Top + 4};
    EXPECT_EQ(win::SendMessageW(box, win::WM_NCHITTEST, 0, win::MAKELPARAM(at.X, at.Y)),
              win::HTSYSMENU);
    win::InjectMouseMove(at);
    win::InjectMouseButton(0, true, at);
    win::InjectMouseButton(0, false, at);
  });
  desktop.Schedule(300, [&] {
    byIcon = int(MenuWindows().size());
    Tap(kEnd);  // "Закрыть"
    Tap(kEnter);
  });
  EXPECT_EQ(win::MessageBoxW(form->Handle(), u"Удалить?", u"Каталог",
                             win::MB_OKCANCEL | win::MB_ICONQUESTION),
            win::IDCANCEL);
  EXPECT_EQ(byKeys, (std::vector<std::u16string>{u"&Переместить", u"-", u"&Закрыть\tAlt+F4"}));
  EXPECT_EQ(painted, 1);
  EXPECT_EQ(byCaption, 1);
  EXPECT_EQ(byIcon, 1);
  EXPECT_TRUE(acSupportedList().empty()) << "Закрыть closed the box";
  // In every internal skin Alt+Space opens it, drawn by the painter (a picture of the box
  // with its menu for people to look at).
  for (const auto& skin : skin::data::InternalSkins()) {
    manager->SetSkinName(fw::Utf8ToUtf16(skin.Name));
    int open = 0, drawn = 0;
    desktop.Schedule(50, [&] { AltSpace(); });
    desktop.Schedule(100, [&] {
      const auto windows = MenuWindows();
      open = int(windows.size());
      for (const win::HWND w : windows) win::UpdateWindow(w);
      win::RedrawWindow(win::GetActiveWindow(), nullptr, nullptr,
                        win::RDW_UPDATENOW | win::RDW_ALLCHILDREN);
      drawn = SkinableMenusOf(*manager)->OpenMenus();
      const gfx::TRect box = ScreenRect(win::GetActiveWindow());
      const gfx::TRect menu = windows.empty() ? box : ScreenRect(windows[0]);
      const gfx::TRect both{std::min(box.Left, menu.Left), std::min(box.Top, menu.Top),
                            std::max(box.Right, menu.Right), std::max(box.Bottom, menu.Bottom)};
      std::string name = skin.Name;
      name = name.substr(0, name.find(' '));
      gfx::WriteFileBytes(
          (tests::OutputFolder("skin-controls") / ("dialog-system-menu-" + name + ".png")).string(),
          gfx::EncodePng(desktop.Compose().Copy(both)));
      Tap(kEscape);
    });
    desktop.Schedule(150, [&] { Tap(kEscape); });
    win::MessageBoxW(form->Handle(), u"Удалить?", u"Каталог",
                     win::MB_OKCANCEL | win::MB_ICONQUESTION);
    EXPECT_EQ(open, 1) << skin.Name;
    EXPECT_EQ(drawn, 1) << skin.Name;
  }
}

// The box's own Escape and Enter (Cancel and OK, as commands without a sender, the shape of a
// menu's choice) stay the box's after its system menu was shown, also when the menu's items
// got the same numbers (a program's first items do).
TEST_F(SkinMenusTest, ABoxsCancelAndOkAreNotTakenForItsSystemMenusItems) {
  Make(fw::TFormBorderStyle::bsToolWindow);
  // Lives across the rounds: a round's late check may run in the next round's loop.
  win::HWND box = nullptr;
  bool forced = false;
  for (const auto& round : {std::pair{kEscape, win::IDCANCEL}, std::pair{kEnter, win::IDOK}}) {
    const auto key = round.first;  // a plain variable: lambdas capture it on every compiler
    const auto answer = round.second;
    // The items made next are numbered from 1: the menu's items made at its showing.
    while (std::make_unique<fw::TMenuItem>(nullptr)->Command() != 0xEFFF) {
    }
    forced = false;
    desktop.Schedule(50, [&] {
      box = win::GetActiveWindow();
      AltSpace();
    });
    desktop.Schedule(100, [&] {
      ASSERT_EQ(MenuWindows().size(), 1u);
      Tap(kEscape);  // the menu goes
    });
    desktop.Schedule(150, [&] {
      ASSERT_TRUE(MenuWindows().empty());
      Tap(key);
    });
    desktop.Schedule(200, [&] {
      // The key did not close it: the box goes all the same, its loop ends.
      if (win::IsWindow(box)) {
        forced = true;
        win::DestroyWindow(box);
      }
    });
    const int result = win::MessageBoxW(form->Handle(), u"Удалить?", u"Каталог",
                                        win::MB_OKCANCEL | win::MB_ICONQUESTION);
    EXPECT_FALSE(forced) << "key " << key;
    EXPECT_EQ(result, answer) << "key " << key;
  }
}

// Items drawn where their menu's window is not known ask the manager for the frame: one
// WM_DRAWMENUBORDER at a time, carrying the menu's handle; the manager draws the open menu's
// frame from its picture, and a stale handle is ignored.
TEST_F(SkinMenusTest, AnItemDrawnWithoutItsWindowHasTheManagerDrawTheMenusFrame) {
  Make(fw::TFormBorderStyle::bsToolWindow);
  auto* menu = new fw::TPopupMenu(form);
  for (const char16_t* caption : {u"Первый", u"Второй"}) {
    auto* item = new fw::TMenuItem(form);
    item->SetCaption(caption);
    menu->Items()->Add(item);
  }
  TsSkinableMenus& painter = *SkinableMenusOf(*manager);
  painter.HookPopupMenu(*menu, true);
  const win::HWND app = fw::Application->Handle();
  int waiting = 0;
  bool restored = false;
  desktop.Schedule(10, [&] {
    const auto open = MenuWindows();
    ASSERT_EQ(open.size(), 1u);
    const win::HWND mw = open[0];
    // Spoil the frame on the screen, half way down its left edge.
    const gfx::TRect wr = ScreenRect(mw);
    const int y = wr.Height() / 2;
    gfx::HDC wdc = win::GetWindowDC(mw);
    gfx::FillRect(wdc, gfx::TRect{0, y, 1, y + 1}, gfx::RGB(1, 2, 3));
    win::ReleaseDC(mw, wdc);
    ASSERT_EQ(desktop.Compose().At(wr.Left, wr.Top + y) & kRgb, 0x010203u);
    // Two items drawn into a bitmap of no window: one message waits.
    gfx::Bitmap off(80, 20);
    gfx::DeviceContext dc(off);
    fw::TCanvas canvas;
    canvas.SetHandle(&dc);
    painter.sAdvancedDrawItem(menu->Items()->Items(0), canvas, {0, 0, 80, 20}, 0);
    painter.sAdvancedDrawItem(menu->Items()->Items(1), canvas, {0, 0, 80, 20}, 0);
    canvas.SetHandle(nullptr);
    win::MSG msg;
    while (win::PeekMessageW(&msg, app, core::WM_DRAWMENUBORDER, core::WM_DRAWMENUBORDER,
                             win::PM_REMOVE)) {
      ++waiting;
      EXPECT_EQ(msg.lParam, win::LPARAM(menu->Handle()));
      win::DispatchMessageW(msg);
    }
    const gfx::Bitmap screen = desktop.Compose();
    const gfx::Bitmap* pic = painter.MenuInfoOfWindow(mw)->Bmp.get();
    restored = (screen.At(wr.Left, wr.Top + y) & kRgb) == (pic->At(0, y) & kRgb) &&
               (screen.At(wr.Left, wr.Top + y) & kRgb) != 0x010203u;
    Tap(kEscape);
  });
  menu->Popup(150, 150);
  desktop.Pump();
  EXPECT_EQ(waiting, 1);
  EXPECT_TRUE(restored);
  // The menu is freed with its window-system menu: a message still carrying its handle finds
  // nothing to draw (the sanitizer build checks that nothing freed is touched).
  const win::HMENU gone = menu->Handle();
  delete menu;
  ASSERT_FALSE(win::IsMenu(gone));
  win::PostMessageW(app, core::WM_DRAWMENUBORDER, 0, win::LPARAM(gone));
  desktop.Pump();
}

}  // namespace
}  // namespace skin::controls
