// The skinned menu line: a form's main menu drawn from the skin (the line's ground, a hot and a
// dropped item, a disabled item), the keyboard and the mouse working through it, the hooks
// following the skin, a maximised MDI child's icon and buttons on the parent's line, and the
// system menu's divider.
#include <gtest/gtest.h>

#include "MenuTestSupport.h"
#include "TestOutput.h"
#include "framework/ImageList.h"
#include "framework/Menus.h"
#include "framework/TextConv.h"
#include "platform/gfx/PictureCodec.h"
#include "platform/win/Backend.h"
#include "platform/win/Input.h"
#include "platform/win/Mdi.h"
#include "platform/win/Menu.h"
#include "platform/win/MenuWindow.h"
#include "platform/win/MessageQueue.h"
#include "platform/win/NonClient.h"
#include "platform/win/Paint.h"
#include "platform/win/Styles.h"
#include "platform/win/SystemMetrics.h"
#include "platform/win/Window.h"
#include "skin/controls/acDials.h"
#include "skin/controls/sSkinMenus.h"
#include "skin/draw/sAlphaGraph.h"
#include "skin/draw/sGraphUtils.h"
#include "skin/frame/InternalSkinFormTest.h"
#include "skin/frame/sSkinProvider.h"

namespace skin::controls {
namespace {

using namespace menutest;

// An item's rectangle in window coordinates of hwnd (bar items) or on the screen (hwnd null).
gfx::TRect ItemRect(win::HWND hwnd, win::HMENU m, int pos) {
  win::RECT r{};
  EXPECT_TRUE(win::GetMenuItemRect(hwnd, m, win::UINT(pos), &r));
  if (!hwnd) return r;
  const gfx::TRect wr = ScreenRect(hwnd);
  return gfx::TRect(r).Offset(-wr.Left, -wr.Top);
}

win::POINT Centre(const gfx::TRect& r) {
  return {(r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2};
}

void Click(win::POINT at) {
  win::InjectMouseMove(at);
  win::InjectMouseButton(0, true, at);
  win::InjectMouseButton(0, false, at);
}

fw::TMenuItem* Add(fw::TMenuItem* parent, const std::u16string& caption) {
  auto* item = new fw::TMenuItem(parent->GetParentMenu());
  item->SetCaption(caption);
  parent->Add(item);
  return item;
}

class MenuLineTest : public skin::frame::test::InternalSkinFormTest {
 protected:
  void Make(const std::string& skin = "BlueGauze", fw::TFormStyle style = fw::TFormStyle::fsNormal,
            bool extended = false) {
    InstallDialogSkinning();
    InstallSkinnedMenus();
    app = std::make_unique<fw::TApplication>();
    form = app->CreateForm<fw::TForm>();
    form->SetBorderStyle(fw::TFormBorderStyle::bsSizeable);
    form->SetFormStyle(style);
    form->SetBounds(60, 40, 420, 300);
    form->SetCaption(u"Каталог");
    menu = new fw::TMainMenu(form);
    file = Add(menu->Items(), u"&Файл");
    open = Add(file, u"&Открыть");
    Add(file, u"-");
    Add(file, u"&Выход");
    edit = Add(menu->Items(), u"&Правка");
    copy = Add(edit, u"&Копировать");
    view = Add(menu->Items(), u"&Вид");
    view->SetEnabled(false);
    windowItem = Add(menu->Items(), u"&Окно");
    form->SetMenu(menu);
    manager = new core::TsSkinManager(form);
    manager->SetExtendedBorders(extended);
    manager->AfterConstruction();
    skin::data::AddInternalSkins(manager->InternalSkins());
    manager->SetSkinName(skin::frame::test::InternalSkinNamed(skin));
    provider = new frame::TsSkinProvider(form);
    form->Show();
    desktop.Pump();
  }
  win::HWND Hwnd() const { return form->Handle(); }
  win::HMENU Bar() const { return win::GetMenu(form->Handle()); }
  // The window as on the screen, in window coordinates.
  gfx::Bitmap WindowPicture() {
    const gfx::TRect wr = ScreenRect(Hwnd());
    return desktop.Compose().Copy(wr);
  }
  // The line's ground painted here: the form's section for its state over the whole window,
  // the menu line's section over its rectangle.
  gfx::Bitmap ExpectedGround(int section = -1) {
    const data::TacSkinModel* model = manager->SkinModel();
    const gfx::TRect wr = ScreenRect(Hwnd());
    gfx::Bitmap whole(wr.Width(), wr.Height());
    const int formSection = provider->SkinData().SkinIndex;
    const int state =
        std::min(int(provider->FormActive()), model->gd[std::size_t(formSection)].States - 1);
    draw::PaintItem(model, formSection, draw::EmptyCI, true, state, whole.Bounds(), {0, 0}, &whole);
    const gfx::TRect bar = provider->MenuLineRect();
    gfx::Bitmap line(bar.Width(), bar.Height());
    if (section < 0) section = manager->ConstData().Sections[data::ssMenuLine];
    EXPECT_TRUE(model->IsValidSkinIndex(section));
    draw::PaintItem(model, section, draw::MakeCacheInfo(&whole, bar.Left, bar.Top), true, 0,
                    line.Bounds(), {0, 0}, &line);
    return line;
  }
  void Shot(const std::string& name) {
    gfx::WriteFileBytes((tests::OutputFolder("skin-controls") / name).string(),
                        gfx::EncodePng(desktop.Compose()));
  }

  frame::TsSkinProvider* provider = nullptr;
  fw::TMainMenu* menu = nullptr;
  fw::TMenuItem *file = nullptr, *open = nullptr, *edit = nullptr, *copy = nullptr, *view = nullptr,
                *windowItem = nullptr;
};

TEST_F(MenuLineTest, TheLinesGroundAndAHotItemComeFromTheirSections) {
  Make();
  ASSERT_TRUE(provider->Skinned());
  EXPECT_TRUE(TsSkinableMenus::IsHooked(*file)) << "a top item draws through the line";
  EXPECT_TRUE(TsSkinableMenus::IsHooked(*open)) << "its pop-up's items through the pop-up";
  const gfx::TRect bar = provider->MenuLineRect();
  ASSERT_FALSE(bar.IsEmpty());
  EXPECT_EQ(bar, gfx::TRect(win::GetFrameLayout(Hwnd()).menuBar));
  // Right of the last item the line is its section alone, pixel by pixel.
  const gfx::Bitmap ground = ExpectedGround();
  const gfx::Bitmap shown = WindowPicture();
  const gfx::TRect last = ItemRect(Hwnd(), Bar(), 3);
  int checked = 0;
  for (int y = bar.Top; y < bar.Bottom; ++y)
    for (int x = last.Right; x < bar.Right; ++x, ++checked)
      ASSERT_EQ(shown.At(x, y) & kRgb, ground.At(x - bar.Left, y - bar.Top) & kRgb)
          << x << "," << y;
  EXPECT_GT(checked, 1000);
  // A resting item shows its caption in the line's font colour over the ground.
  const data::TacSkinModel* model = manager->SkinModel();
  const int lineSection = manager->ConstData().Sections[data::ssMenuLine];
  const auto lineText = model->gd[std::size_t(lineSection)].Props[0].FontColor.Color;
  const gfx::TRect first = ItemRect(Hwnd(), Bar(), 0);
  auto hasColour = [&](const gfx::Bitmap& pic, const gfx::TRect& r, gfx::COLORREF colour) {
    for (int y = r.Top; y < r.Bottom; ++y)
      for (int x = r.Left; x < r.Right; ++x)
        if ((pic.At(x, y) & kRgb) == (gfx::PixelFromColor(colour, 0) & kRgb)) return true;
    return false;
  };
  EXPECT_TRUE(hasColour(shown, first, lineText));

  // F10 makes the first item hot: the item section's hot state over the ground, its text in
  // the section's hot font colour.
  bool looked = false;
  desktop.Schedule(10, [&] {
    const gfx::Bitmap hotShown = WindowPicture();
    const int ix = manager->ConstData().MenuItem.SkinIndex;
    ASSERT_TRUE(model->IsValidSkinIndex(ix));
    gfx::Bitmap hot(first.Width(), first.Height());
    draw::PaintItem(model, ix,
                    draw::MakeCacheInfo(&ground, first.Left - bar.Left, first.Top - bar.Top), true,
                    1, hot.Bounds(), {0, 0}, &hot);
    for (int y : {first.Top + 1, first.Bottom - 2})
      for (int x = first.Left; x < first.Right; ++x)
        ASSERT_EQ(hotShown.At(x, y) & kRgb, hot.At(x - first.Left, y - first.Top) & kRgb)
            << x << "," << y;
    EXPECT_NE(hot.At(1, 1) & kRgb, ground.At(first.Left - bar.Left + 1, 1) & kRgb)
        << "the hot state shows";
    EXPECT_TRUE(hasColour(hotShown, first, model->gd[std::size_t(ix)].Props[1].FontColor.Color));
    looked = true;
    Tap(kEscape);
  });
  Tap(kF10);
  desktop.Pump();
  EXPECT_TRUE(looked);
  // The loop over, the item rests again.
  EXPECT_EQ(WindowPicture().At(first.Left + 1, first.Top + 1) & kRgb,
            ground.At(first.Left - bar.Left + 1, 1) & kRgb);
}

// With the extended border the form keeps its menu line in its region and paints it itself.
TEST_F(MenuLineTest, TheExtendedBordersFormShowsItsLine) {
  Make("BlueGauze", fw::TFormStyle::fsNormal, true);
  ASSERT_NE(provider->BorderForm(), nullptr);
  const gfx::TRect bar = provider->MenuLineRect();
  ASSERT_FALSE(bar.IsEmpty());
  gfx::Region rgn;
  ASSERT_NE(win::GetWindowRgn(Hwnd(), &rgn), gfx::RGN_ERROR);
  EXPECT_TRUE(rgn.Contains({bar.Left, bar.Top}));
  EXPECT_TRUE(rgn.Contains({bar.Right - 1, bar.Bottom - 1}));
  const data::TacSkinModel* model = manager->SkinModel();
  const int section = manager->ConstData().Sections[data::ssMenuLine];
  const gfx::Pixel colour = gfx::PixelFromColor(model->gd[std::size_t(section)].Props[0].Color, 0);
  const gfx::TRect last = ItemRect(Hwnd(), Bar(), 3);
  gfx::Bitmap shown = WindowPicture();
  for (int y = bar.Top; y < bar.Bottom; ++y)
    for (int x = last.Right; x < bar.Right; ++x)
      ASSERT_EQ(shown.At(x, y) & kRgb, colour) << x << "," << y;
  // The loop's hot item shows there too.
  const gfx::TRect first = ItemRect(Hwnd(), Bar(), 0);
  bool looked = false;
  desktop.Schedule(10, [&] {
    EXPECT_NE(WindowPicture().At(first.Left + 2, first.Top + 2) & kRgb, colour);
    looked = true;
    Tap(kEscape);
  });
  Tap(kF10);
  desktop.Pump();
  EXPECT_TRUE(looked);
  EXPECT_EQ(WindowPicture().At(first.Left + 2, first.Top + 2) & kRgb, colour);
}

TEST_F(MenuLineTest, APressedItemShowsDroppedAndOpensItsPopupSkinned) {
  Make();
  const gfx::TRect first = ItemRect(Hwnd(), Bar(), 0);
  const gfx::TRect wr = ScreenRect(Hwnd());
  int opened = 0;
  bool looked = false;
  open->OnClick = [&](fw::TComponent*) { ++opened; };
  desktop.Schedule(10, [&] {
    const auto popups = MenuWindows();
    ASSERT_EQ(popups.size(), 1u);
    EXPECT_EQ(MenuOf(popups[0]), menu->SubmenuHandle(file));
    EXPECT_EQ(SkinableMenusOf(*manager)->OpenMenus(), 1) << "the pop-up's picture was made";
    Shot("menu-line-dropped.png");
    // The dropped item is drawn in the item section's second state.
    const data::TacSkinModel* model = manager->SkinModel();
    const int ix = manager->ConstData().MenuItem.SkinIndex;
    const gfx::Bitmap shown = WindowPicture();
    const gfx::Bitmap ground = ExpectedGround();
    const gfx::TRect bar = provider->MenuLineRect();
    gfx::Bitmap hot(first.Width(), first.Height());
    draw::PaintItem(model, ix,
                    draw::MakeCacheInfo(&ground, first.Left - bar.Left, first.Top - bar.Top), true,
                    1, hot.Bounds(), {0, 0}, &hot);
    for (int x = first.Left; x < first.Right; ++x)
      ASSERT_EQ(shown.At(x, first.Top + 1) & kRgb, hot.At(x - first.Left, 1) & kRgb) << x;
    // The pop-up's frame is the skin's body, not the plain menu colour.
    const gfx::TRect pr = ScreenRect(popups[0]);
    const gfx::Pixel plain = gfx::PixelFromColor(win::GetSysColor(win::COLOR_MENU), 0);
    const gfx::Bitmap screen = desktop.Compose();
    EXPECT_NE(screen.At(pr.Left + 1, pr.Top + pr.Height() / 2) & kRgb, plain);
    // A click on an item chooses it.
    Click(Centre(ItemRect(nullptr, MenuOf(popups[0]), 0)));
    looked = true;
  });
  Click({wr.Left + Centre(first).X, wr.Top + Centre(first).Y});
  desktop.Pump();
  EXPECT_TRUE(looked);
  EXPECT_EQ(opened, 1);
  EXPECT_TRUE(MenuWindows().empty());
}

TEST_F(MenuLineTest, TheKeyboardWalksTheSkinnedLine) {
  Make();
  int copied = 0;
  copy->OnClick = [&](fw::TComponent*) { ++copied; };
  desktop.Schedule(10, [&] { Tap(kRight); });  // "Правка"
  desktop.Schedule(20, [&] { Tap(kDown); });   // drops it, "Копировать" hot
  desktop.Schedule(30, [&] {
    const auto popups = MenuWindows();
    ASSERT_EQ(popups.size(), 1u);
    EXPECT_EQ(MenuOf(popups[0]), menu->SubmenuHandle(edit));
    Tap(kEnter);
  });
  Tap(kF10);
  desktop.Pump();
  EXPECT_EQ(copied, 1);
  // Alt alone selects the line as well; the mouse then chooses in the dropped pop-up.
  desktop.Schedule(10, [&] { Tap(kRight); });
  desktop.Schedule(20, [&] { Tap(kEnter); });
  desktop.Schedule(30, [&] {
    const auto popups = MenuWindows();
    ASSERT_EQ(popups.size(), 1u);
    EXPECT_EQ(MenuOf(popups[0]), menu->SubmenuHandle(edit));
    Click(Centre(ItemRect(nullptr, MenuOf(popups[0]), 0)));
  });
  Tap(kAlt);
  desktop.Pump();
  EXPECT_EQ(copied, 2);
}

TEST_F(MenuLineTest, ADisabledItemIsBlendedWithTheGround) {
  Make();
  const gfx::Bitmap shown = WindowPicture();
  const gfx::TRect bar = provider->MenuLineRect();
  const gfx::Bitmap ground = ExpectedGround();
  // The darkest pixel of an enabled caption against the disabled one's: the disabled caption is
  // nearer the ground.
  auto distance = [&](const gfx::TRect& r) {
    int most = 0;
    for (int y = r.Top; y < r.Bottom; ++y)
      for (int x = r.Left; x < r.Right; ++x) {
        const gfx::Pixel a = shown.At(x, y), b = ground.At(x - bar.Left, y - bar.Top);
        int d = 0;
        for (int s = 0; s < 24; s += 8) d += std::abs(int((a >> s) & 0xFF) - int((b >> s) & 0xFF));
        most = std::max(most, d);
      }
    return most;
  };
  const int enabled = distance(ItemRect(Hwnd(), Bar(), 1));
  const int disabled = distance(ItemRect(Hwnd(), Bar(), 2));
  EXPECT_GT(disabled, 0) << "the disabled caption is drawn";
  EXPECT_LT(disabled, enabled * 3 / 4);
}

TEST_F(MenuLineTest, TheHooksFollowTheSkinAndNewItems) {
  Make();
  ASSERT_TRUE(TsSkinableMenus::IsHooked(*edit));
  // An item added later draws through the skin as well.
  fw::TMenuItem* help = Add(menu->Items(), u"&Справка");
  fw::TMenuItem* about = Add(help, u"&О программе");
  EXPECT_TRUE(TsSkinableMenus::IsHooked(*help));
  EXPECT_TRUE(TsSkinableMenus::IsHooked(*about));
  // An item with a handler of its own keeps it.
  int own = 0;
  auto* mine = new fw::TMenuItem(menu);
  mine->SetCaption(u"&Своё");
  mine->OnDrawItem = [&](fw::TMenuItem*, fw::TCanvas&, const gfx::TRect&, bool) { ++own; };
  menu->Items()->Add(mine);
  EXPECT_TRUE(TsSkinableMenus::IsHooked(*mine)) << "the line's ground goes under its drawing";
  desktop.Pump();
  EXPECT_GT(own, 0) << "drawn by its own handler";
  // Without the skin the menu is plain again: no handler of the painter left, not owner-drawn.
  manager->SetActive(false);
  desktop.Pump();
  EXPECT_FALSE(TsSkinableMenus::IsHooked(*file));
  EXPECT_FALSE(TsSkinableMenus::IsHooked(*open));
  EXPECT_FALSE(menu->OwnerDraw());
  EXPECT_TRUE(mine->OnDrawItem) << "the item's own handler stays";
  const win::MenuItem* first = win::GetMenuItem(Bar(), 0, win::MF_BYPOSITION);
  ASSERT_NE(first, nullptr);
  EXPECT_FALSE(first->flags & win::MF_OWNERDRAW);
  // The plain bar is the platform's, in the menu colour.
  const gfx::TRect bar = gfx::TRect(win::GetFrameLayout(Hwnd()).menuBar);
  EXPECT_EQ(WindowPicture().At(bar.Right - 2, bar.Top + 2) & kRgb,
            gfx::PixelFromColor(win::GetSysColor(win::COLOR_MENU), 0));
  manager->SetActive(true);
  desktop.Pump();
  EXPECT_TRUE(TsSkinableMenus::IsHooked(*file));
  EXPECT_TRUE(TsSkinableMenus::IsHooked(*open));
  EXPECT_TRUE(menu->OwnerDraw());
  // Without skinned pop-ups the skinned frame shows the plain bar.
  manager->SetSkinnedPopups(false);
  desktop.Pump();
  EXPECT_FALSE(TsSkinableMenus::IsHooked(*file));
  EXPECT_TRUE(provider->Skinned());
  EXPECT_EQ(WindowPicture().At(bar.Right - 2, bar.Top + 2) & kRgb,
            gfx::PixelFromColor(win::GetSysColor(win::COLOR_MENU), 0));
  manager->SetSkinnedPopups(true);
  desktop.Pump();
  EXPECT_TRUE(TsSkinableMenus::IsHooked(*file));
  EXPECT_NE(WindowPicture().At(bar.Right - 2, bar.Top + 2) & kRgb,
            gfx::PixelFromColor(win::GetSysColor(win::COLOR_MENU), 0));
}

// Every internal skin: the line with a dropped pop-up, for looking at.
TEST_F(MenuLineTest, PicturesInEveryInternalSkin) {
  for (const auto& s : skin::data::InternalSkins()) {
    const std::string name = s.Name;
    Make(name.substr(0, name.find(' ')));
    ASSERT_TRUE(provider->Skinned()) << name;
    bool shot = false;
    desktop.Schedule(10, [&] { Tap(kDown); });
    desktop.Schedule(20, [&] {
      ASSERT_EQ(MenuWindows().size(), 1u) << name;
      Shot("menu-line-" + name.substr(0, name.find(' ')) + ".png");
      shot = true;
      Tap(kEscape);
      Tap(kEscape);
    });
    Tap(kF10);
    desktop.Pump();
    EXPECT_TRUE(shot) << name;
    app.reset();
    desktop.Pump();
  }
}

// The item's part of the window picture against the item section's hot state over the ground.
bool ShowsHot(const gfx::Bitmap& shown, const gfx::Bitmap& ground, const gfx::TRect& bar,
              const gfx::TRect& item, const data::TacSkinModel* model, int ix) {
  gfx::Bitmap hot(item.Width(), item.Height());
  draw::PaintItem(model, ix, draw::MakeCacheInfo(&ground, item.Left - bar.Left, item.Top - bar.Top),
                  true, 1, hot.Bounds(), {0, 0}, &hot);
  for (int y : {item.Top + 1, item.Bottom - 2})
    for (int x = item.Left; x < item.Right; ++x)
      if ((shown.At(x, y) & kRgb) != (hot.At(x - item.Left, y - item.Top) & kRgb)) return false;
  return true;
}

// A right-to-left form on a right-to-left system: its line runs from the right, a bar item's
// picture is at its right, the hot item is drawn at its place and drops its pop-up from its
// right edge; the pop-up and its submenu read from the right. Pictures of both directions.
TEST_F(MenuLineTest, ARightToLeftLineRunsFromTheRightInEveryInternalSkin) {
  constexpr win::UINT kLeft = 0xE04B, kUp = 0xE048;
  for (const auto& s : skin::data::InternalSkins()) {
    const std::string full = s.Name, name = full.substr(0, full.find(' '));
    for (const bool rtl : {false, true}) {
      const std::string what = name + (rtl ? " right to left" : " left to right");
      Make(name);
      auto* images = new fw::TImageList(form);
      gfx::Bitmap red(16, 16);
      red.Fill(gfx::MakePixel(0, 0, 255, 255));
      images->Add(u"red", red);
      menu->SetImages(images);
      file->SetImageIndex(0);
      open->SetImageIndex(0);
      Add(file, u"&Отметка")->SetChecked(true);
      fw::TMenuItem* more = Add(file, u"&Ещё");
      Add(more, u"&Внутри");
      Add(more, u"&Отмеченный")->SetChecked(true);
      win::SetUIRightToLeft(rtl);
      form->SetBiDiMode(rtl ? fw::TBiDiMode::bdRightToLeft : fw::TBiDiMode::bdLeftToRight);
      desktop.Pump();
      ASSERT_TRUE(provider->Skinned()) << what;
      ASSERT_EQ(menu->IsRightToLeft(), rtl);
      const gfx::TRect bar = provider->MenuLineRect();
      const gfx::TRect first = ItemRect(Hwnd(), Bar(), 0), last = ItemRect(Hwnd(), Bar(), 3);
      const gfx::Bitmap shown = WindowPicture();
      const int cy = (first.Top + first.Bottom) / 2;
      const int pictureNear = rtl ? first.Right - 3 - 8 : first.Left + 3 + 8;
      const int pictureFar = rtl ? first.Left + 3 + 8 : first.Right - 3 - 8;
      EXPECT_EQ(shown.At(pictureNear, cy) & kRgb, 0xFF0000u) << what;
      EXPECT_NE(shown.At(pictureFar, cy) & kRgb, 0xFF0000u) << what;
      if (rtl) {
        EXPECT_EQ(first.Right, bar.Right) << what;
        EXPECT_LT(last.Right, first.Left) << what;
        // Left of the last item the line is its section alone.
        const gfx::Bitmap ground = ExpectedGround();
        for (int y = bar.Top; y < bar.Bottom; ++y)
          for (int x = bar.Left; x < last.Left; ++x)
            ASSERT_EQ(shown.At(x, y) & kRgb, ground.At(x - bar.Left, y - bar.Top) & kRgb)
                << what << " " << x << "," << y;
      } else {
        EXPECT_EQ(first.Left, bar.Left) << what;
      }
      const gfx::TRect wr = ScreenRect(Hwnd());
      gfx::TRect dropped{}, sub{};
      bool hot = false;
      win::LONG_PTR subEx = 0;
      desktop.Schedule(10, [&] { Tap(kDown); });
      desktop.Schedule(20, [&] {
        const auto popups = MenuWindows();
        ASSERT_EQ(popups.size(), 1u) << what;
        dropped = ScreenRect(popups[0]);
        const data::TacSkinModel* model = manager->SkinModel();
        hot = ShowsHot(WindowPicture(), ExpectedGround(), bar, first, model,
                       manager->ConstData().MenuItem.SkinIndex);
        Tap(kUp);                   // "Ещё", the last
        Tap(rtl ? kLeft : kRight);  // forward: opens it
      });
      desktop.Schedule(30, [&] {
        const auto popups = MenuWindows();
        ASSERT_EQ(popups.size(), 2u) << what;
        sub = ScreenRect(popups[0]);
        subEx = win::GetWindowLongPtrW(popups[0], win::GWL_EXSTYLE);
        Shot("menu-line-" + std::string(rtl ? "rtl-" : "ltr-") + name + ".png");
        Tap(kEscape);
        Tap(kEscape);
        Tap(kEscape);
      });
      Tap(kF10);
      desktop.Pump();
      EXPECT_TRUE(hot) << what;
      EXPECT_EQ(dropped.Top, wr.Top + first.Bottom) << what;
      if (rtl) {
        EXPECT_EQ(dropped.Right, wr.Left + first.Right) << what;
        EXPECT_LT(sub.Left, dropped.Left) << what << ": the submenu opens to the left";
        EXPECT_TRUE(subEx & win::WS_EX_RTLREADING) << what;
      } else {
        EXPECT_EQ(dropped.Left, wr.Left + first.Left) << what;
        EXPECT_GT(sub.Right, dropped.Right) << what;
      }
      app.reset();
      desktop.Pump();
    }
  }
  win::SetUIRightToLeft(false);
}

TEST_F(MenuLineTest, TheItemUnderTheMouseIsHotOnTheLineBeforeAnyClick) {
  Make();
  const gfx::TRect bar = provider->MenuLineRect();
  const gfx::TRect second = ItemRect(Hwnd(), Bar(), 1);
  const gfx::TRect wr = ScreenRect(Hwnd());
  const gfx::Bitmap ground = ExpectedGround();
  const data::TacSkinModel* model = manager->SkinModel();
  const int ix = manager->ConstData().MenuItem.SkinIndex;
  ASSERT_TRUE(model->IsValidSkinIndex(ix));
  EXPECT_FALSE(ShowsHot(WindowPicture(), ground, bar, second, model, ix));
  win::InjectMouseMove({wr.Left + Centre(second).X, wr.Top + Centre(second).Y});
  desktop.Pump();
  EXPECT_TRUE(MenuWindows().empty()) << "nothing dropped";
  EXPECT_TRUE(ShowsHot(WindowPicture(), ground, bar, second, model, ix));
  Shot("menu-line-hover.png");
  // A disabled item does not light up.
  const gfx::TRect third = ItemRect(Hwnd(), Bar(), 2);
  win::InjectMouseMove({wr.Left + Centre(third).X, wr.Top + Centre(third).Y});
  desktop.Pump();
  EXPECT_FALSE(ShowsHot(WindowPicture(), ground, bar, second, model, ix));
  EXPECT_FALSE(ShowsHot(WindowPicture(), ground, bar, third, model, ix));
  // Into the client area: the line rests again.
  win::InjectMouseMove({wr.Left + Centre(second).X, wr.Top + Centre(second).Y});
  desktop.Pump();
  ASSERT_TRUE(ShowsHot(WindowPicture(), ground, bar, second, model, ix));
  win::InjectMouseMove({wr.Left + wr.Width() / 2, wr.Top + wr.Height() / 2});
  desktop.Pump();
  EXPECT_FALSE(ShowsHot(WindowPicture(), ground, bar, second, model, ix));
  EXPECT_EQ(WindowPicture().At(second.Left + 1, second.Top + 1) & kRgb,
            ground.At(second.Left - bar.Left + 1, 1) & kRgb);
}

// The line's hot item goes whichever way the mouse leaves it in one move: onto a caption
// button, the caption, the border, the client area or off the window; plain, skinned and with
// the extended borders (whose buttons lie on the border window).
TEST_F(MenuLineTest, TheHotItemGoesWhereverTheMouseLeavesTheLineTo) {
  for (const char* look : {"plain", "skinned", "extended"}) {
    SCOPED_TRACE(look);
    const std::string name = look;
    Make("BlueGauze", fw::TFormStyle::fsNormal, name == "extended");
    if (name == "plain") {
      manager->SetActive(false);
      desktop.Pump();
      ASSERT_FALSE(provider->Skinned());
    }
    const gfx::TRect wr = ScreenRect(Hwnd());
    const gfx::TRect second = ItemRect(Hwnd(), Bar(), 1);
    const win::POINT onItem{wr.Left + Centre(second).X, wr.Top + Centre(second).Y};
    // The first point of the caption's middle row, from the right, whose hit code is code.
    const int captionY = wr.Top + second.Top / 2;
    auto onCaption = [&](win::LRESULT code) {
      for (int x = wr.Right - 1; x > wr.Left; --x) {
        const win::HWND under = win::WindowFromPoint({x, captionY});
        if (win::SendMessageW(under, win::WM_NCHITTEST, 0, win::MAKELPARAM(x, captionY)) == code)
          return win::POINT{x, captionY};
      }
      ADD_FAILURE() << "no point with hit code " << code;
      return win::POINT{wr.Left, captionY};
    };
    const std::vector<std::pair<const char*, win::POINT>> places = {
        {"close button", onCaption(win::HTCLOSE)},
        {"caption", onCaption(win::HTCAPTION)},
        {"left border", {wr.Left + 1, wr.Top + wr.Height() / 2}},
        {"client area", {wr.Left + wr.Width() / 2, wr.Top + wr.Height() / 2}},
        {"outside", {wr.Left - 30, wr.Top + wr.Height() / 2}}};
    for (const auto& [where, to] : places) {
      SCOPED_TRACE(where);
      win::InjectMouseMove(onItem);
      desktop.Pump();
      ASSERT_EQ(win::detail::MenuBarHot(Hwnd()), 1);
      const gfx::Bitmap hot = WindowPicture();
      win::InjectMouseMove(to);
      desktop.Pump();
      EXPECT_EQ(win::detail::MenuBarHot(Hwnd()), -1);
      // The line shows it at rest: the item's middle row as before the first move.
      const gfx::Bitmap after = WindowPicture();
      int changed = 0;
      for (int x = second.Left; x < second.Right; ++x)
        changed += (after.At(x, second.Top + 1) & kRgb) != (hot.At(x, second.Top + 1) & kRgb);
      EXPECT_GT(changed, 0) << "the item is drawn at rest again";
    }
    Shot("menu-line-left-" + name + ".png");
    app.reset();
    desktop.Pump();
  }
  // Onto the close button in every internal skin: pictures of the line hot and left.
  Make();
  for (const auto& skin : skin::data::InternalSkins()) {
    SCOPED_TRACE(skin.Name);
    manager->SetSkinName(fw::Utf8ToUtf16(skin.Name));
    desktop.Pump();
    const gfx::TRect wr = ScreenRect(Hwnd());
    const gfx::TRect second = ItemRect(Hwnd(), Bar(), 1);
    win::InjectMouseMove({wr.Left + Centre(second).X, wr.Top + Centre(second).Y});
    desktop.Pump();
    ASSERT_EQ(win::detail::MenuBarHot(Hwnd()), 1);
    std::string name = skin.Name;
    name = name.substr(0, name.find(' '));
    Shot("menu-line-hot-" + name + ".png");
    const gfx::TRect close = provider->Button(frame::cbClose).cpRect;
    ASSERT_FALSE(close.IsEmpty());
    win::InjectMouseMove({wr.Left + Centre(close).X, wr.Top + Centre(close).Y});
    desktop.Pump();
    EXPECT_EQ(win::detail::MenuBarHot(Hwnd()), -1);
    Shot("menu-line-left-to-close-" + name + ".png");
  }
}

TEST_F(MenuLineTest, AFramePaintThatChangesNothingOnTheLineLeavesItsItemsAlone) {
  Make();
  int drawn = 0;
  SkinableMenusOf(*manager)->OnDrawItem = [&](fw::TMenuItem*, fw::TCanvas&, TsMenuItemType type,
                                              fw::TOwnerDrawState, const gfx::TRect&) {
    if (type == smTopLine) ++drawn;
  };
  const gfx::Bitmap before = WindowPicture();
  for (int i = 0; i < 3; ++i) {
    win::RedrawWindow(Hwnd(), nullptr, nullptr, win::RDW_INVALIDATE | win::RDW_FRAME);
    desktop.Pump();
  }
  EXPECT_EQ(drawn, 0) << "the frame was painted three times, the line's items not once";
  const gfx::Bitmap after = WindowPicture();
  const gfx::TRect bar = provider->MenuLineRect();
  for (int y = bar.Top; y < bar.Bottom; ++y)
    for (int x = bar.Left; x < bar.Right; ++x)
      ASSERT_EQ(after.At(x, y), before.At(x, y)) << x << "," << y;
  // The mouse's hot item, an item's new state and RepaintMenu each paint them again.
  const gfx::TRect wr = ScreenRect(Hwnd());
  const gfx::TRect first = ItemRect(Hwnd(), Bar(), 0);
  win::InjectMouseMove({wr.Left + Centre(first).X, wr.Top + Centre(first).Y});
  desktop.Pump();
  EXPECT_GT(drawn, 0);
  drawn = 0;
  view->SetEnabled(true);
  desktop.Pump();
  EXPECT_GT(drawn, 0);
  drawn = 0;
  provider->RepaintMenu();
  desktop.Pump();
  EXPECT_GT(drawn, 0);
}

TEST_F(MenuLineTest, MenuLineSkinNamesTheLinesSection) {
  Make();
  const data::TacSkinModel* model = manager->SkinModel();
  const int line = manager->ConstData().Sections[data::ssMenuLine];
  // A section of another colour than the line's.
  std::string name;
  int section = -1;
  for (const char* candidate : {"TOOLBAR", "PANEL", "BUTTON", "EDIT", "CAPTION"}) {
    const int ix = model->GetSkinIndex(candidate);
    if (model->IsValidSkinIndex(ix) &&
        model->gd[std::size_t(ix)].Props[0].Color != model->gd[std::size_t(line)].Props[0].Color) {
      name = candidate;
      section = ix;
      break;
    }
  }
  ASSERT_GE(section, 0);
  provider->SetMenuLineSkin(fw::Utf8ToUtf16(name));
  desktop.Pump();
  EXPECT_EQ(provider->MenuLineSkinIndex(), section);
  const gfx::TRect bar = provider->MenuLineRect();
  const gfx::TRect last = ItemRect(Hwnd(), Bar(), 3);
  auto groundIs = [&](const gfx::Bitmap& ground) {
    const gfx::Bitmap shown = WindowPicture();
    for (int y = bar.Top; y < bar.Bottom; ++y)
      for (int x = last.Right; x < bar.Right; ++x)
        if ((shown.At(x, y) & kRgb) != (ground.At(x - bar.Left, y - bar.Top) & kRgb)) return false;
    return true;
  };
  EXPECT_TRUE(groundIs(ExpectedGround(section)));
  EXPECT_FALSE(groundIs(ExpectedGround(line)));
  // A name the skin lacks, or none, is the line's own section.
  provider->SetMenuLineSkin(u"NO SUCH SECTION");
  desktop.Pump();
  EXPECT_EQ(provider->MenuLineSkinIndex(), line);
  EXPECT_TRUE(groundIs(ExpectedGround(line)));
}

TEST_F(MenuLineTest, AnOwnerDrawnLineItemDrawsOverTheSkinnedGround) {
  Make();
  const gfx::COLORREF mark = 0x00C0FF;  // orange, in no skin's line
  int own = 0;
  auto* mine = new fw::TMenuItem(menu);
  mine->SetCaption(u"&Своё");
  mine->OnDrawItem = [&](fw::TMenuItem*, fw::TCanvas& c, const gfx::TRect& r, bool) {
    ++own;
    gfx::FillRect(c.Handle(), {r.Left + 6, r.Top + 4, r.Left + 12, r.Bottom - 4}, mark);
  };
  menu->Items()->Add(mine);
  int topLine = 0;
  SkinableMenusOf(*manager)->OnDrawItem = [&](fw::TMenuItem* item, fw::TCanvas&,
                                              TsMenuItemType type, fw::TOwnerDrawState,
                                              const gfx::TRect&) {
    if (item == mine && type == smTopLine) ++topLine;
  };
  provider->RepaintMenu();
  desktop.Pump();
  EXPECT_GT(own, 0);
  EXPECT_GT(topLine, 0) << "the painter's event sees the line's items";
  const gfx::TRect bar = provider->MenuLineRect();
  const gfx::TRect r = ItemRect(Hwnd(), Bar(), 4);
  const gfx::Bitmap ground = ExpectedGround();
  gfx::Bitmap shown = WindowPicture();
  EXPECT_EQ(shown.At(r.Left + 8, r.Top + r.Height() / 2) & kRgb, gfx::PixelFromColor(mark, 0));
  // Around its drawing the line's ground, at rest; the hot state under the mouse.
  EXPECT_EQ(shown.At(r.Left + 1, r.Top + 1) & kRgb, ground.At(r.Left - bar.Left + 1, 1) & kRgb);
  const gfx::TRect wr = ScreenRect(Hwnd());
  win::InjectMouseMove({wr.Left + r.Right - 3, wr.Top + Centre(r).Y});
  desktop.Pump();
  const data::TacSkinModel* model = manager->SkinModel();
  const int ix = manager->ConstData().MenuItem.SkinIndex;
  shown = WindowPicture();
  gfx::Bitmap hot(r.Width(), r.Height());
  draw::PaintItem(model, ix, draw::MakeCacheInfo(&ground, r.Left - bar.Left, r.Top - bar.Top), true,
                  1, hot.Bounds(), {0, 0}, &hot);
  EXPECT_EQ(shown.At(r.Left + 1, r.Top + 1) & kRgb, hot.At(1, 1) & kRgb);
  EXPECT_EQ(shown.At(r.Left + 8, r.Top + r.Height() / 2) & kRgb, gfx::PixelFromColor(mark, 0));
  Shot("menu-line-owner-drawn.png");
}

TEST_F(MenuLineTest, ALineThatDoesNotFitWrapsAndTheFrameFollowsItsRows) {
  Make();
  const int row = win::GetSystemMetrics(win::SM_CYMENU);
  const int clientBefore = form->ClientHeight();
  for (int i = 0; i < 3; ++i) Add(menu->Items(), u"Ещё один пункт");
  desktop.Pump();
  const gfx::TRect bar = provider->MenuLineRect();
  ASSERT_EQ(bar.Height(), 2 * row);
  EXPECT_EQ(form->ClientHeight(), clientBefore - row);
  const int n = win::GetMenuItemCount(Bar());
  const gfx::TRect last = ItemRect(Hwnd(), Bar(), n - 1);
  EXPECT_EQ(last.Top, bar.Top + row);
  // The second row is the line's ground right of its last item, and its items are drawn.
  const gfx::Bitmap ground = ExpectedGround();
  const gfx::Bitmap shown = WindowPicture();
  for (int y = last.Top; y < last.Bottom; ++y)
    for (int x = last.Right; x < bar.Right; ++x)
      ASSERT_EQ(shown.At(x, y) & kRgb, ground.At(x - bar.Left, y - bar.Top) & kRgb)
          << x << "," << y;
  bool differs = false;
  for (int x = last.Left; x < last.Right && !differs; ++x)
    differs = (shown.At(x, Centre(last).Y) & kRgb) !=
              (ground.At(x - bar.Left, Centre(last).Y - bar.Top) & kRgb);
  EXPECT_TRUE(differs) << "the caption shows on the second row";
  // The client area starts below both rows.
  win::POINT origin{0, 0};
  win::ClientToScreen(Hwnd(), &origin);
  EXPECT_EQ(origin.Y - ScreenRect(Hwnd()).Top, bar.Bottom);
  Shot("menu-line-two-rows.png");
}

// Every internal skin: the line wrapped to two rows, an owner-drawn item, the mouse's hot item.
TEST_F(MenuLineTest, HoverWrappedAndOwnerDrawnInEveryInternalSkin) {
  for (const auto& s : skin::data::InternalSkins()) {
    const std::string name = s.Name;
    Make(name.substr(0, name.find(' ')));
    ASSERT_TRUE(provider->Skinned()) << name;
    auto* mine = new fw::TMenuItem(menu);
    mine->SetCaption(u"Своё");
    mine->OnDrawItem = [](fw::TMenuItem*, fw::TCanvas& c, const gfx::TRect& r, bool selected) {
      c.BrushStyle = fw::TBrushStyle::bsClear;
      c.Font.SetColor(selected ? 0x0000C0 : 0x008000);
      gfx::TRect t = r;
      c.TextRect(t, u"Своё", gfx::DT_SINGLELINE | gfx::DT_VCENTER | gfx::DT_CENTER);
    };
    menu->Items()->Add(mine);
    for (int i = 0; i < 4; ++i) Add(menu->Items(), u"Ещё пункт");
    desktop.Pump();
    EXPECT_EQ(provider->MenuLineRect().Height(), 2 * win::GetSystemMetrics(win::SM_CYMENU)) << name;
    const gfx::TRect wr = ScreenRect(Hwnd());
    const gfx::TRect second = ItemRect(Hwnd(), Bar(), 1);
    win::InjectMouseMove({wr.Left + Centre(second).X, wr.Top + Centre(second).Y});
    desktop.Pump();
    Shot("menu-line-hover-" + name.substr(0, name.find(' ')) + ".png");
    app.reset();
    desktop.Pump();
  }
}

// ---- A maximised MDI child on the parent's line

class MdiMenuLineTest : public MenuLineTest {
 protected:
  void SetUp() override {
    Make("BlueGauze", fw::TFormStyle::fsMDIForm);
    form->SetWindowMenu(windowItem);
    child = new fw::TForm(app.get());
    child->SetFormStyle(fw::TFormStyle::fsMDIChild);
    child->SetCaption(u"Экспонат");
    child->SetBounds(10, 10, 200, 140);
    child->Show();
    desktop.Pump();
  }
  // The bar items the platform put there for the child, by command (0: its icon).
  int Position(win::UINT command) {
    for (int i = 0, n = win::GetMenuItemCount(Bar()); i < n; ++i) {
      const win::MenuItem* it = win::GetMenuItem(Bar(), win::UINT(i), win::MF_BYPOSITION);
      if (it && it->data == reinterpret_cast<win::ULONG_PTR>(child->Handle()) &&
          (command ? it->id == command : bool(it->flags & win::MF_POPUP)))
        return i;
    }
    return -1;
  }
  const paint::TsMaskData& Glyph(data::TacTitleGlyph glyph) {
    const data::TacSkinModel* model = manager->SkinModel();
    const int i = manager->ConstData().TitleGlyphs[std::size_t(glyph)];
    EXPECT_TRUE(model->IsValidImgIndex(i));
    return model->ma[std::size_t(i)];
  }
  fw::TForm* child = nullptr;
};

TEST_F(MdiMenuLineTest, AMaximisedChildsButtonsAreTheSkinsGlyphsOnTheLine) {
  win::ShowWindow(child->Handle(), win::SW_MAXIMIZE);
  desktop.Pump();
  ASSERT_TRUE(win::IsZoomed(child->Handle()));
  const int close = Position(win::SC_CLOSE), restore = Position(win::SC_RESTORE),
            minimise = Position(win::SC_MINIMIZE);
  ASSERT_GE(close, 0);
  ASSERT_GE(restore, 0);
  ASSERT_GE(minimise, 0);
  ASSERT_GE(Position(0), 0) << "the child's icon";
  Shot("menu-line-mdi-maximised.png");
  // The buttons stand at the line's right end, each as wide as its glyph and a pixel apart,
  // drawn from the skin's small glyphs over the line's ground.
  const gfx::TRect bar = provider->MenuLineRect();
  const gfx::Bitmap ground = ExpectedGround();
  const gfx::Bitmap shown = WindowPicture();
  ASSERT_TRUE(provider->FormActive());
  const paint::TsMaskData& closeGlyph = Glyph(data::tgSmallClose);
  const gfx::TRect c = ItemRect(Hwnd(), Bar(), close);
  EXPECT_EQ(c.Right, bar.Right);
  EXPECT_EQ(c.Width(), closeGlyph.Width + 1);
  EXPECT_EQ(ItemRect(Hwnd(), Bar(), restore).Right, c.Left);
  // The glyph's shape (where it covers fully or not at all, drawn over black and over white)
  // in the line's text colour over the line's ground.
  const gfx::TRect inGround = c.Offset(-bar.Left, -bar.Top);
  gfx::Bitmap overBlack(closeGlyph.Width, closeGlyph.Height);
  gfx::Bitmap overWhite(closeGlyph.Width, closeGlyph.Height);
  overBlack.Fill(0xFF000000);
  overWhite.Fill(0xFFFFFFFF);
  draw::DrawSkinGlyph(overBlack, {0, 0}, 0, 1, closeGlyph, draw::EmptyCI);
  draw::DrawSkinGlyph(overWhite, {0, 0}, 0, 1, closeGlyph, draw::EmptyCI);
  const int lineSection = manager->ConstData().Sections[data::ssMenuLine];
  const gfx::Pixel ink = gfx::PixelFromColor(
      manager->SkinModel()->gd[std::size_t(lineSection)].Props[0].FontColor.Color, 0);
  const int top = (c.Height() - closeGlyph.Height) / 2;
  int inked = 0;
  for (int y = 0; y < closeGlyph.Height; ++y)
    for (int x = 0; x < closeGlyph.Width; ++x) {
      const gfx::Pixel b = overBlack.At(x, y) & kRgb, w = overWhite.At(x, y) & kRgb;
      const gfx::Pixel at = shown.At(c.Left + x, c.Top + top + y) & kRgb;
      if (b == w) {
        ASSERT_EQ(at, ink) << x << "," << y;
        ++inked;
      } else if (b == 0 && w == 0xFFFFFF) {
        ASSERT_EQ(at, ground.At(inGround.Left + x, top + y) & kRgb) << x << "," << y;
      }
    }
  EXPECT_GT(inked, 10) << "the glyph shows";
  // The restore button restores the child, and the buttons go.
  const gfx::TRect wr = ScreenRect(Hwnd());
  const gfx::TRect r = ItemRect(Hwnd(), Bar(), restore);
  Click({wr.Left + Centre(r).X, wr.Top + Centre(r).Y});
  desktop.Pump();
  EXPECT_FALSE(win::IsZoomed(child->Handle()));
  EXPECT_EQ(Position(win::SC_CLOSE), -1);
  const gfx::Bitmap after = WindowPicture();
  for (int x = c.Left; x < c.Right; ++x)
    ASSERT_EQ(after.At(x, c.Top + c.Height() / 2) & kRgb,
              ground.At(x - bar.Left, c.Height() / 2) & kRgb)
        << "the line's end is bare again at " << x;
}

TEST_F(MdiMenuLineTest, TheCloseButtonOfTheMaximisedChildClosesIt) {
  win::ShowWindow(child->Handle(), win::SW_MAXIMIZE);
  desktop.Pump();
  bool closed = false;
  child->OnClose = [&](fw::TComponent*, fw::TCloseAction& action) {
    closed = true;
    action = fw::TCloseAction::caHide;
  };
  const gfx::TRect wr = ScreenRect(Hwnd());
  const gfx::TRect c = ItemRect(Hwnd(), Bar(), Position(win::SC_CLOSE));
  Click({wr.Left + Centre(c).X, wr.Top + Centre(c).Y});
  desktop.Pump();
  EXPECT_TRUE(closed);
}

// ---- The tool window's system menu and a pop-up's column line

TEST_F(MenuLineTest, TheDividerUnderAHotItemStaysVisible) {
  Make();
  form->SetMenu(nullptr);
  form->SetBorderStyle(fw::TFormBorderStyle::bsToolWindow);
  desktop.Pump();
  bool looked = false;
  desktop.Schedule(10, [&] { Tap(kDown); });  // "Переместить" hot, the divider right below it
  desktop.Schedule(20, [&] {
    const auto popups = MenuWindows();
    ASSERT_EQ(popups.size(), 1u);
    const win::HMENU m = MenuOf(popups[0]);
    ASSERT_EQ(win::GetMenuItemCount(m), 3);
    Shot("system-menu-tool-window-divider.png");
    const gfx::Bitmap screen = desktop.Compose();
    const gfx::TRect move = ItemRect(nullptr, m, 0), div = ItemRect(nullptr, m, 1),
                     close = ItemRect(nullptr, m, 2);
    EXPECT_EQ(div.Height(), 2);
    // The divider is the "DIVIDERV" picture across the menu; between it and the hot frame
    // lies a row of the body (as the rows of the resting item below show it).
    const data::TacSkinModel* model = manager->SkinModel();
    const int section = manager->ConstData().Sections[data::ssDividerV];
    ASSERT_TRUE(model->IsValidSkinIndex(section));
    const int border = model->gd[std::size_t(section)].BorderIndex;
    ASSERT_TRUE(model->IsValidImgIndex(border));
    const int mid = (div.Left + div.Right) / 2;
    const gfx::Pixel body = screen.At(mid, close.Bottom - 2) & kRgb;
    gfx::Bitmap strip(div.Width(), 2);
    strip.Fill(0xFF000000 | body);
    draw::DrawSkinRect(strip, strip.Bounds(), draw::EmptyCI, model->ma[std::size_t(border)], 0,
                       false);
    for (int x = mid - 10; x < mid + 10; ++x) {
      ASSERT_EQ(screen.At(x, div.Top) & kRgb, strip.At(x - div.Left, 0) & kRgb) << x;
      ASSERT_NE(screen.At(x, div.Top) & kRgb, body) << x;
      ASSERT_EQ(screen.At(x, move.Bottom - 1) & kRgb, body) << "the hot item's last row " << x;
      ASSERT_NE(screen.At(x, move.Bottom - 2) & kRgb, body) << "the hot frame " << x;
    }
    looked = true;
    Tap(kEscape);
  });
  win::InjectKey(kAlt, true);
  Tap(kSpace);
  win::InjectKey(kAlt, false);
  desktop.Pump();
  EXPECT_TRUE(looked);
}

TEST_F(MenuLineTest, AColumnAfterABarBreakHasALineInTheItemsFontColour) {
  Make();
  auto* popup = new fw::TPopupMenu(form);
  Add(popup->Items(), u"&Один");
  Add(popup->Items(), u"&Два")->SetBreak(fw::TMenuBreak::mbBarBreak);
  SkinableMenusOf(*manager)->HookPopupMenu(*popup, true);
  popup->SetWindowHandle(Hwnd());
  bool looked = false;
  desktop.Schedule(10, [&] {
    const auto popups = MenuWindows();
    ASSERT_EQ(popups.size(), 1u);
    const gfx::TRect second = ItemRect(nullptr, MenuOf(popups[0]), 1);
    const int x = second.Left - win::MENU_COLUMN_GAP / 2;
    const data::TacSkinModel* model = manager->SkinModel();
    const int ix = manager->ConstData().MenuItem.SkinIndex;
    const auto colour = model->gd[std::size_t(ix)].Props[0].FontColor.Color;
    const gfx::Bitmap screen = desktop.Compose();
    for (int y = second.Top; y < second.Bottom; ++y)
      ASSERT_EQ(screen.At(x, y) & kRgb, gfx::PixelFromColor(colour, 0)) << y;
    looked = true;
    Tap(kEscape);
  });
  popup->Popup(150, 150);
  desktop.Pump();
  EXPECT_TRUE(looked);
}

}  // namespace
}  // namespace skin::controls
