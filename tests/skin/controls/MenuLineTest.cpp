// The skinned menu line: a form's main menu drawn from the skin (the line's ground, a hot and a
// dropped item, a disabled item), the keyboard and the mouse working through it, the hooks
// following the skin, a maximised MDI child's icon and buttons on the parent's line, and the
// system menu's divider.
#include <gtest/gtest.h>

#include "MenuTestSupport.h"
#include "TestOutput.h"
#include "framework/Menus.h"
#include "platform/gfx/PictureCodec.h"
#include "platform/win/Backend.h"
#include "platform/win/Input.h"
#include "platform/win/Mdi.h"
#include "platform/win/Menu.h"
#include "platform/win/MenuWindow.h"
#include "platform/win/MessageQueue.h"
#include "platform/win/NonClient.h"
#include "platform/win/Paint.h"
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
  gfx::Bitmap ExpectedGround() {
    const data::TacSkinModel* model = manager->SkinModel();
    const gfx::TRect wr = ScreenRect(Hwnd());
    gfx::Bitmap whole(wr.Width(), wr.Height());
    const int formSection = provider->SkinData().SkinIndex;
    const int state =
        std::min(int(provider->FormActive()), model->gd[std::size_t(formSection)].States - 1);
    draw::PaintItem(model, formSection, draw::EmptyCI, true, state, whole.Bounds(), {0, 0}, &whole);
    const gfx::TRect bar = provider->MenuLineRect();
    gfx::Bitmap line(bar.Width(), bar.Height());
    const int section = manager->ConstData().Sections[data::ssMenuLine];
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
  EXPECT_FALSE(TsSkinableMenus::IsHooked(*mine));
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
