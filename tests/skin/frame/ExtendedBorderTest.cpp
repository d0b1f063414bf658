// The extended border of a skinned sizeable form on the virtual desktop: a layered window
// around the form at the skin's offsets, showing the provider's picture (larger title, frame
// and shadow), answering the frame's hit codes, following the form and going with the skin,
// with maximising (as the manager's option says) and with ExtendedBorders off; its fades,
// printing and the stretching double click; and, under skins of the test's own, the maximised
// title, mode 1 with an "EXBORDER" item and the header band.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <memory>

#include "InternalSkinFormTest.h"
#include "TestOutput.h"
#include "framework/Application.h"
#include "framework/ControlMessages.h"
#include "framework/Form.h"
#include "platform/gfx/DeviceContext.h"
#include "platform/gfx/PictureCodec.h"
#include "platform/win/Backend.h"
#include "platform/win/MessageQueue.h"
#include "platform/win/Messages.h"
#include "platform/win/Paint.h"
#include "platform/win/Styles.h"
#include "platform/win/SystemMetrics.h"
#include "platform/win/VirtualDesktop.h"
#include "platform/win/Window.h"
#include "platform/win/WindowProc.h"
#include "skin/core/SkinnedFormTest.h"
#include "skin/core/sMessages.h"
#include "skin/core/sSkinManager.h"
#include "skin/data/acSkinModel.h"
#include "skin/frame/acBorderForm.h"
#include "skin/frame/sSkinProvider.h"
#include "skin/internal/sInternalSkins.h"

namespace skin::frame {
namespace {

using gfx::TPoint;
using gfx::TRect;

class ExtendedBorderTest : public test::InternalSkinFormTest {
 protected:
  void Make(const std::string& skin, bool extended = true) {
    app = std::make_unique<fw::TApplication>();
    form = new fw::TForm(app.get());
    form->SetBorderStyle(fw::TFormBorderStyle::bsSizeable);
    form->SetBounds(200, 150, 300, 200);
    form->SetCaption(u"Frame");
    manager = new core::TsSkinManager(form);
    manager->SetExtendedBorders(extended);
    manager->AfterConstruction();
    skin::data::AddInternalSkins(manager->InternalSkins());
    manager->SetSkinName(test::InternalSkinNamed(skin));
    provider = new TsSkinProvider(form);
    form->Show();
    desktop.Pump();
  }
  static TRect WindowOf(win::HWND h) {
    win::RECT r{};
    win::GetWindowRect(h, &r);
    return r;
  }
  const skin::data::TsSkinData& Values() const { return manager->SkinModel()->CommonSkinData; }
  TRect Shadow() const { return manager->SkinModel()->FormShadowSize; }
  win::HWND Border() const {
    return provider->BorderForm() ? provider->BorderForm()->AForm()->Handle() : nullptr;
  }
  int HitAt(TPoint cachePoint) const {
    const TRect b = WindowOf(Border());
    return int(win::SendMessageW(Border(), win::WM_NCHITTEST, 0,
                                 win::MAKELPARAM(b.Left + cachePoint.X, b.Top + cachePoint.Y)));
  }
  // The border window's place as the skin's values give it, for the form's window rectangle.
  TRect Expected() const {
    const TRect w = WindowOf(form->Handle());
    const int sysB = win::GetSystemMetrics(win::SM_CXSIZEFRAME);
    const int sysC = win::GetSystemMetrics(win::SM_CYCAPTION);
    const TRect sh = Shadow();
    const int b = Values().ExBorderWidth, t = Values().ExTitleHeight;
    return {w.Left - (b + sh.Left - sysB), w.Top - (sh.Top + t - sysB - sysC),
            w.Right + (b - sysB) + sh.Right, w.Bottom + (b - sysB) + sh.Bottom};
  }

  TsSkinProvider* provider = nullptr;
};

TEST_F(ExtendedBorderTest, TheBorderWindowLiesAroundTheFormAndShowsThePicture) {
  Make("BlueGauze");
  ASSERT_NE(Border(), nullptr);
  EXPECT_EQ(WindowOf(Border()), Expected());
  ASSERT_NE(provider->Cache(), nullptr);
  EXPECT_EQ(provider->Cache()->Width(), Expected().Width());
  EXPECT_EQ(provider->Cache()->Height(), Expected().Height());
  // The client area keeps its size: the skin changes the look only.
  const int sysB = win::GetSystemMetrics(win::SM_CXSIZEFRAME);
  EXPECT_EQ(form->ClientWidth(), 300 - 2 * sysB);
  // The client starts in the picture at the skin's border and title, inside the shadow.
  EXPECT_EQ(provider->OffsetX(), Values().ExBorderWidth + Shadow().Left);
  EXPECT_EQ(provider->OffsetY(), Values().ExTitleHeight + Shadow().Top);
  // The screen shows the picture's opaque title pixels: the form is cut to its client area.
  const gfx::Bitmap screen = desktop.Compose();
  const TRect b = WindowOf(Border());
  const gfx::Bitmap& cache = *provider->Cache();
  int compared = 0, differ = 0;
  for (int y = Shadow().Top; y < provider->OffsetY(); ++y)
    for (int x = Shadow().Left; x < cache.Width() - Shadow().Right; ++x) {
      const gfx::Pixel p = cache.At(x, y);
      if (gfx::PixelA(p) != 255) continue;
      ++compared;
      // The layered composition may round each channel by one.
      const gfx::Pixel q = screen.At(b.Left + x, b.Top + y);
      if (std::abs(int(gfx::PixelR(q)) - int(gfx::PixelR(p))) > 1 ||
          std::abs(int(gfx::PixelG(q)) - int(gfx::PixelG(p))) > 1 ||
          std::abs(int(gfx::PixelB(q)) - int(gfx::PixelB(p))) > 1)
        ++differ;
    }
  EXPECT_GT(compared, 100);
  EXPECT_EQ(differ, 0);
  // The frame's key-coloured corners show the shadow, never the key colour.
  int key = 0;
  for (int y = 0; y < cache.Height(); ++y)
    for (int x = 0; x < cache.Width(); ++x)
      if ((cache.At(x, y) & 0xFFFFFF) == 0xFF00FF) ++key;
  EXPECT_EQ(key, 0);
  // The caption's text is as opaque as the title under it: the window behind does not show
  // through the letters.
  const TRect icon = provider->IconRect();
  const int textLeft = icon.IsEmpty() ? Shadow().Left + Values().ExBorderWidth : icon.Right;
  int transparent = 0;
  for (int y = Shadow().Top + 4; y < provider->OffsetY() - 4; ++y)
    for (int x = textLeft; x < textLeft + 60; ++x) transparent += gfx::PixelA(cache.At(x, y)) != 255;
  EXPECT_EQ(transparent, 0);
  gfx::WriteFileBytes((tests::OutputFolder("frame") / "extended-border-BlueGauze.png").string(),
                      gfx::EncodePng(screen));
}

TEST_F(ExtendedBorderTest, TheBorderWindowAnswersTheFramesHitCodes) {
  Make("BlueGauze");
  ASSERT_NE(Border(), nullptr);
  const TsCaptionButton& close = provider->Button(cbClose);
  ASSERT_GT(close.cpRect.Right, close.cpRect.Left);
  EXPECT_EQ(HitAt({(close.cpRect.Left + close.cpRect.Right) / 2,
                   (close.cpRect.Top + close.cpRect.Bottom) / 2}),
            win::HTCLOSE);
  const TRect sh = Shadow();
  const int w = provider->Cache()->Width(), h = provider->Cache()->Height();
  EXPECT_EQ(HitAt({w / 3, sh.Top + Values().ExTitleHeight / 2}), win::HTCAPTION);
  // The sizing bands lie just outside the frame.
  EXPECT_EQ(HitAt({sh.Left - 1, h / 2}), win::HTLEFT);
  EXPECT_EQ(HitAt({w - sh.Right, h / 2}), win::HTRIGHT);
  EXPECT_EQ(HitAt({w / 2, h - sh.Bottom}), win::HTBOTTOM);
  EXPECT_EQ(HitAt({sh.Left - 1, sh.Top - 1}), win::HTTOPLEFT);
  // A disabled form's frame answers nothing of its own.
  form->SetEnabled(false);
  EXPECT_EQ(provider->BorderForm()->Ex_WMNCHitTest(
                {WindowOf(Border()).Left + w / 3, WindowOf(Border()).Top + sh.Top + 5}),
            -1);
  form->SetEnabled(true);
}

TEST_F(ExtendedBorderTest, TheBorderFollowsAMoveAndASize) {
  Make("BlueGauze");
  ASSERT_NE(Border(), nullptr);
  form->SetBounds(120, 90, 300, 200);
  desktop.Pump();
  EXPECT_EQ(WindowOf(Border()), Expected());
  form->SetBounds(120, 90, 380, 260);
  desktop.Pump();
  EXPECT_EQ(WindowOf(Border()), Expected());
  EXPECT_EQ(provider->Cache()->Width(), Expected().Width());
}

TEST_F(ExtendedBorderTest, TheBorderGoesWithTheSkinWithMaximisingAndWhenOff) {
  Make("BlueGauze");
  ASSERT_NE(Border(), nullptr);
  manager->SetActive(false);
  desktop.Pump();
  EXPECT_EQ(provider->BorderForm(), nullptr);
  manager->SetActive(true);
  desktop.Pump();
  ASSERT_NE(Border(), nullptr);
  EXPECT_EQ(WindowOf(Border()), Expected());
  // Maximised: kept unless the manager asks for the system's frame there.
  manager->Options().NativeBordersMaximized = true;
  win::ShowWindow(form->Handle(), win::SW_MAXIMIZE);
  desktop.Pump();
  EXPECT_EQ(provider->BorderForm(), nullptr);
  win::ShowWindow(form->Handle(), win::SW_RESTORE);
  desktop.Pump();
  EXPECT_NE(provider->BorderForm(), nullptr);
  form->Hide();
  desktop.Pump();
  EXPECT_EQ(provider->BorderForm(), nullptr);
}

TEST_F(ExtendedBorderTest, WithoutExtendedBordersTheFrameStaysInsideTheWindow) {
  Make("BlueGauze", false);
  EXPECT_EQ(provider->BorderForm(), nullptr);
  ASSERT_NE(provider->Cache(), nullptr);
  EXPECT_EQ(provider->Cache()->Width(), form->Width());
  EXPECT_EQ(provider->Cache()->Height(), form->Height());
}

// The caption buttons of the border fade as the form's own do, over the border's picture, and
// leaving the border from a hot button cools it.
TEST_F(ExtendedBorderTest, TheBordersButtonsFadeAndCoolWhenTheMouseLeaves) {
  Make("BlueGauze");
  ASSERT_NE(Border(), nullptr);
  ASSERT_TRUE(manager->Effects().AllowGlowing);
  const TsCaptionButton& close = provider->Button(cbClose);
  const TRect b = WindowOf(Border());
  const TPoint centre{b.Left + (close.cpRect.Left + close.cpRect.Right) / 2,
                      b.Top + (close.cpRect.Top + close.cpRect.Bottom) / 2};
  win::InjectMouseMove({centre.X, centre.Y});
  desktop.Pump();
  EXPECT_EQ(provider->CurrentHT(), win::HTCLOSE);
  EXPECT_EQ(close.cpState, 1);
  ASSERT_NE(close.cpTimer, nullptr);
  // The fade's window stands over the button's place in the border window.
  for (int t = 0; t < 200; t += 12) desktop.Advance(12);
  ASSERT_NE(close.cpTimer->Window(), nullptr);
  win::RECT fade{};
  win::GetWindowRect(close.cpTimer->Window()->Handle(), &fade);
  EXPECT_TRUE(gfx::IntersectRects(fade, close.cpRect.Offset(b.Left, b.Top)) ==
              close.cpRect.Offset(b.Left, b.Top));
  // Out of the border altogether: the button cools.
  win::InjectMouseMove({5, 5});
  desktop.Pump();
  for (int t = 0; t < 200; t += 12) desktop.Advance(12);
  EXPECT_EQ(provider->CurrentHT(), 0);
  EXPECT_EQ(close.cpState, 0);
}

// Dragging the border's caption of a maximised form restores it under the mouse once the mouse
// has moved away, and the system's move takes it from there; a press alone keeps it maximised.
TEST_F(ExtendedBorderTest, DraggingAMaximisedFormsCaptionRestoresItUnderTheMouse) {
  Make("BlueGauze");
  const TRect normal = WindowOf(form->Handle());
  win::ShowWindow(form->Handle(), win::SW_MAXIMIZE);
  desktop.Pump();
  ASSERT_NE(Border(), nullptr);
  const TRect b = WindowOf(Border());
  const TPoint p{b.Left + provider->Cache()->Width() / 3,
                 b.Top + Shadow().Top + provider->CaptionHeight() / 2};
  ASSERT_EQ(win::SendMessageW(Border(), win::WM_NCHITTEST, 0, win::MAKELPARAM(p.X, p.Y)),
            win::HTCAPTION);
  win::InjectMouseMove({p.X, p.Y});
  win::InjectMouseButton(0, true, {p.X, p.Y});
  win::InjectMouseMove({p.X + 3, p.Y + 2});
  desktop.Pump();
  EXPECT_TRUE(win::IsZoomed(form->Handle()));  // not far enough yet
  win::InjectMouseMove({p.X + 20, p.Y + 2});
  win::InjectMouseButton(0, false, {p.X + 20, p.Y + 2});
  desktop.Pump();
  EXPECT_FALSE(win::IsZoomed(form->Handle()));
  const int top = p.Y + 2 < 24 ? -8 : p.Y + 2 - 8;
  EXPECT_EQ(WindowOf(form->Handle()),
            gfx::RectOfSize(p.X + 20 - normal.Width() / 2, top, normal.Width(), normal.Height()));
  EXPECT_FALSE(provider->BorderForm()->MaxMoving);
}

// A double click on a side edge stretches the form over the work area's width, its skinned
// frame just inside; on the edge again it comes back. On the bottom edge it stretches over the
// height, and moving it gives it its height back.
TEST_F(ExtendedBorderTest, ADoubleClickOnAnEdgeStretchesTheFormAndAMoveEndsIt) {
  Make("BlueGauze");
  ASSERT_NE(Border(), nullptr);
  const TRect normal = WindowOf(form->Handle());
  const int sysB = win::GetSystemMetrics(win::SM_CXSIZEFRAME);
  const int sysC = win::GetSystemMetrics(win::SM_CYCAPTION);
  const int side = Values().ExBorderWidth - sysB;
  const TRect sh = Shadow();
  auto dblClick = [&](TPoint cachePoint) {
    const TRect b = WindowOf(Border());
    const TPoint p{b.Left + cachePoint.X, b.Top + cachePoint.Y};
    const auto ht = win::SendMessageW(Border(), win::WM_NCHITTEST, 0, win::MAKELPARAM(p.X, p.Y));
    win::SendMessageW(Border(), win::WM_NCLBUTTONDBLCLK, win::WPARAM(ht),
                      win::MAKELPARAM(p.X, p.Y));
    desktop.Pump();
  };
  const int h = provider->Cache()->Height();
  dblClick({sh.Left - 1, h / 2});
  EXPECT_EQ(WindowOf(form->Handle()), (TRect{side, normal.Top, 800 - side, normal.Bottom}));
  EXPECT_EQ(provider->FormState() & FS_MAXBOUNDS, FS_MAXWIDTH);
  EXPECT_EQ(provider->NormalBounds(), normal);
  EXPECT_EQ(WindowOf(Border()), Expected());
  const int w = provider->Cache()->Width();
  dblClick({w - sh.Right, h / 2});
  EXPECT_EQ(WindowOf(form->Handle()), normal);
  EXPECT_EQ(provider->FormState() & FS_MAXBOUNDS, 0u);

  dblClick({provider->Cache()->Width() / 2, provider->Cache()->Height() - sh.Bottom});
  const int top = Values().ExTitleHeight - sysB - sysC;
  EXPECT_EQ(WindowOf(form->Handle()), (TRect{normal.Left, top, normal.Right, 600 - side}));
  EXPECT_EQ(provider->FormState() & FS_MAXBOUNDS, FS_MAXHEIGHT);
  win::SetWindowPos(form->Handle(), nullptr, 50, 60, 0, 0,
                    win::SWP_NOSIZE | win::SWP_NOZORDER | win::SWP_NOACTIVATE);
  desktop.Pump();
  EXPECT_EQ(WindowOf(form->Handle()), gfx::RectOfSize(50, 60, normal.Width(), normal.Height()));
  EXPECT_EQ(provider->FormState() & FS_MAXBOUNDS, 0u);
  // The caption's double click is no edge: it maximises as the form's own caption does.
  EXPECT_FALSE(provider->StretchByEdge(win::HTCAPTION));
}

// Printed, a form with the extended border gives its whole picture, its children at their
// place in it.
TEST_F(ExtendedBorderTest, PrintingGivesTheWholePictureWithTheChildrenInPlace) {
  Make("BlueGauze");
  ASSERT_NE(Border(), nullptr);
  win::WNDCLASSEXW wc;
  wc.lpfnWndProc = win::MakeWindowProc([](win::HWND h, win::UINT m, win::WPARAM w, win::LPARAM l) {
    if (m == win::WM_PRINTCLIENT) {
      gfx::Bitmap red(20, 10);
      red.Fill(0xFFFF0000);
      gfx::DeviceContext from(red);
      gfx::BitBlt(reinterpret_cast<gfx::HDC>(w), 0, 0, 20, 10, &from, 0, 0, gfx::SRCCOPY);
      return win::LRESULT(0);
    }
    return win::DefWindowProcW(h, m, w, l);
  });
  wc.lpszClassName = u"RedChild";
  ASSERT_NE(win::RegisterClassExW(wc), 0);
  win::CreateWindowExW(0, u"RedChild", u"", win::WS_CHILD | win::WS_VISIBLE, 10, 20, 20, 10,
                       form->Handle(), 0);
  desktop.Pump();
  const gfx::Bitmap& cache = *provider->Cache();
  gfx::Bitmap printed(cache.Width(), cache.Height());
  {
    gfx::DeviceContext dc(printed);
    win::SendMessageW(form->Handle(), win::WM_PRINT, win::WPARAM(&dc),
                      win::PRF_NONCLIENT | win::PRF_CLIENT | win::PRF_CHILDREN);
  }
  const TRect child = gfx::RectOfSize(provider->OffsetX() + 10, provider->OffsetY() + 20, 20, 10);
  int wrong = 0;
  for (int y = 0; y < cache.Height(); ++y)
    for (int x = 0; x < cache.Width(); ++x) {
      const gfx::Pixel want = child.Contains({x, y}) ? 0xFFFF0000 : cache.At(x, y);
      if ((printed.At(x, y) & 0xFFFFFF) != (want & 0xFFFFFF)) ++wrong;
    }
  EXPECT_EQ(wrong, 0);
}

TEST_F(ExtendedBorderTest, ASecondSkinScreenshot) {
  const auto& skins = skin::data::InternalSkins();
  ASSERT_GE(skins.size(), 2u);
  Make(skins[1].Name);
  ASSERT_NE(Border(), nullptr);
  EXPECT_EQ(WindowOf(Border()), Expected());
  gfx::WriteFileBytes(
      (tests::OutputFolder("frame") / ("extended-border-" + std::string(skins[1].Name) + ".png"))
          .string(),
      gfx::EncodePng(desktop.Compose()));
}

}  // namespace
}  // namespace skin::frame

namespace skin::frame {
namespace {

// Skins of the test's own: a grey "FORM" and a black "FORMTITLE" with the extended values
// given, on a sizeable 300 x 200 form.
class ExtendedTestSkin : public core::test::SkinnedFormTest {
 protected:
  void Make(const std::string& globals, const std::string& sections = {},
            const std::string& version = "8.0") {
    gfx::Bitmap master(8, 8);
    master.Fill(0xFF808080);
    MakeSkinnedForm("[GLOBALINFO]\nVERSION=" + version + "\nMASTERBITMAP=master.bmp\n" + globals +
                        "\n[FORM]\nSTATES=2\nCOLOR=8421504\nHOTCOLOR=8421504\n\n[FORMTITLE]\n"
                        "STATES=2\nCOLOR=0\nHOTCOLOR=0\nFONTCOLOR=16777215\n"
                        "HOTFONTCOLOR=16777215\n" +
                        sections,
                    master);
    form->SetBorderStyle(fw::TFormBorderStyle::bsSizeable);
    form->SetBounds(100, 100, 300, 200);
    provider = new TsSkinProvider(form);
  }
  win::MINMAXINFO MinMax() {
    win::MINMAXINFO mmi{};
    win::SendMessageW(form->Handle(), win::WM_GETMINMAXINFO, 0, win::LPARAM(&mmi));
    return mmi;
  }
  TsSkinProvider* provider = nullptr;
};

// A skin whose maximised title (MAXHEIGHT 40) is taller than the system caption: maximised,
// the window comes down by the difference less 4, so that the skinned title stays on the
// screen; in standard mode it keeps the work area's top.
using ExtendedTitleSkinTest = ExtendedTestSkin;

TEST_F(ExtendedTitleSkinTest, AMaximisedFormKeepsItsSkinnedTitleOnTheScreen) {
  Make("TITLEHEIGHT=30\nMAXHEIGHT=40\nBORDERWIDTH=6\n");
  manager->SetExtendedBorders(true);
  form->Show();
  desktop.Pump();
  ASSERT_NE(provider->BorderForm(), nullptr);
  const int b = win::GetSystemMetrics(win::SM_CXSIZEFRAME);
  const int t = std::max(0, 40 - win::GetSystemMetrics(win::SM_CYCAPTION) - 4);
  ASSERT_GT(t, 0);
  EXPECT_EQ(provider->MaximizedTitleExcess(), t);
  const win::MINMAXINFO mmi = MinMax();
  EXPECT_EQ(mmi.ptMaxPosition.X, -b);
  EXPECT_EQ(mmi.ptMaxPosition.Y, t - b);
  EXPECT_EQ(mmi.ptMaxSize.X, 800 + 2 * b);
  EXPECT_EQ(mmi.ptMaxSize.Y, 600 + 2 * b - t);
  win::ShowWindow(form->Handle(), win::SW_MAXIMIZE);
  desktop.Pump();
  win::RECT r{};
  win::GetWindowRect(form->Handle(), &r);
  EXPECT_EQ(r.Top, t - b);
  EXPECT_EQ(r.Bottom, 600 + b);
  win::ShowWindow(form->Handle(), win::SW_RESTORE);
  desktop.Pump();
  // The system's frame for maximised forms, or no extended border: the work area's top.
  manager->Options().NativeBordersMaximized = true;
  EXPECT_EQ(MinMax().ptMaxPosition.Y, -b);
  manager->Options().NativeBordersMaximized = false;
  manager->SetExtendedBorders(false);
  desktop.Pump();
  ASSERT_EQ(provider->BorderForm(), nullptr);
  EXPECT_EQ(MinMax().ptMaxPosition.Y, -b);
  EXPECT_EQ(MinMax().ptMaxSize.Y, 600 + 2 * b);
}

// Mode 1 ("BORDERMODE" 1) with an "EXBORDER" item: the item's picture (green while active,
// blue inactive) is the frame's outer part, its bands reaching into the frame as far as the
// border; the sizing bands lie inside the frame (4 rows at the top, the system border at the
// sides) and the margins outside it let the mouse through.
TEST_F(ExtendedTestSkin, ModeOneDrawsTheBordersItemAsTheFrame) {
  gfx::Bitmap ext(80, 100);
  for (int y = 0; y < 100; ++y)
    for (int x = 0; x < 80; ++x) ext.Set(x, y, x < 40 ? 0xFF0000FF : 0xFF00FF00);
  dir.Write("S/EXT.PNG", gfx::EncodePng(ext));
  Make(
      "TITLEHEIGHT=30\nBORDERWIDTH=8\nFORMOFFSET=6\nBORDERMODE=1\n"
      "EXBORDER=!EXT.PNG!2!0!3!0016!0040!0016!0016!1\n");
  manager->SetExtendedBorders(true);
  form->Show();
  desktop.Pump();
  ASSERT_NE(provider->BorderForm(), nullptr);
  ASSERT_TRUE(provider->ExModeOne());
  EXPECT_EQ(provider->ShadowSize(), (TRect{6, 6, 6, 6}));
  const gfx::Bitmap& cache = *provider->Cache();
  const int mid = cache.Height() / 2;
  // The picture file's colours come back within a step of rounding.
  auto near = [](gfx::Pixel p, gfx::Pixel want) {
    for (int shift = 0; shift < 32; shift += 8)
      if (std::abs(int(p >> shift & 0xFF) - int(want >> shift & 0xFF)) > 2) return false;
    return true;
  };
  // The item's left band: the shadow margin and the border (6 + 8 pixels), then the form.
  for (int x = 0; x < 14; ++x) EXPECT_TRUE(near(cache.At(x, mid), 0xFF00FF00u)) << x;
  EXPECT_EQ(cache.At(14, mid) & 0xFFFFFF, 0x808080u);
  EXPECT_TRUE(near(cache.At(cache.Width() - 14, mid), 0xFF00FF00u));
  EXPECT_EQ(cache.At(cache.Width() - 15, mid) & 0xFFFFFF, 0x808080u);
  // The title is painted over it.
  EXPECT_EQ(cache.At(cache.Width() / 3, provider->VCenter()) & 0xFFFFFF, 0u);
  // Inactive: the item's first image.
  win::SendMessageW(form->Handle(), win::WM_NCACTIVATE, 0, 0);
  EXPECT_TRUE(near(provider->Cache()->At(3, mid), 0xFF0000FFu));
  // Hit codes: sizing inside the frame, nothing outside it.
  const TRect f = provider->FrameRect();
  EXPECT_EQ(f, (TRect{6, 6, cache.Width() - 6, cache.Height() - 6}));
  const gfx::TPoint origin = provider->CacheOrigin();
  auto hit = [&](int x, int y) { return provider->HTProcess({origin.X + x, origin.Y + y}); };
  const int sysB = win::GetSystemMetrics(win::SM_CXSIZEFRAME);
  EXPECT_EQ(hit(f.Left, mid), win::HTLEFT);
  EXPECT_EQ(hit(f.Left + sysB - 1, mid), win::HTLEFT);
  EXPECT_EQ(hit(f.Left - 1, mid), win::HTNOWHERE);
  EXPECT_EQ(hit(f.Right - 1, mid), win::HTRIGHT);
  EXPECT_EQ(hit(cache.Width() / 3, f.Top + 3), win::HTTOP);
  EXPECT_EQ(hit(cache.Width() / 3, f.Top + 4), win::HTCAPTION);
  EXPECT_EQ(hit(f.Left, f.Top), win::HTTOPLEFT);
  const win::RECT b = [&] {
    win::RECT r{};
    win::GetWindowRect(provider->BorderForm()->AForm()->Handle(), &r);
    return r;
  }();
  EXPECT_EQ(win::SendMessageW(provider->BorderForm()->AForm()->Handle(), win::WM_NCHITTEST, 0,
                              win::MAKELPARAM(b.Left + 2, b.Top + mid)),
            win::HTTRANSPARENT);
}

// The header band: the top rows of the client area in the "FORMHEADER" section, scaled with
// the form; none without a height.
TEST_F(ExtendedTestSkin, TheHeaderBandCoversTheTopOfTheClientArea) {
  Make("", "\n[FORMHEADER]\nSTATES=1\nCOLOR=255\n");
  form->Show();
  desktop.Pump();
  auto at = [&](int y) {
    provider->PaintAll();
    return provider->Cache()->At(provider->OffsetX() + 5, provider->OffsetY() + y) & 0xFFFFFF;
  };
  EXPECT_EQ(at(0), 0x808080u);
  provider->SetFormHeaderHeight(20);
  desktop.Pump();
  EXPECT_EQ(at(0), 0xFF0000u);
  EXPECT_EQ(at(19), 0xFF0000u);
  EXPECT_EQ(at(20), 0x808080u);
  // The client area shows it on the screen.
  win::POINT p{5, 5};
  win::ClientToScreen(form->Handle(), &p);
  EXPECT_EQ(desktop.Compose().At(p.X, p.Y) & 0xFFFFFF, 0xFF0000u);
  win::SendMessageW(form->Handle(), core::SM_ALPHACMD, core::MakeAlphaCmd(core::AC_SETSCALE), 150);
  EXPECT_EQ(provider->FormHeaderHeight(), 30);
  EXPECT_EQ(at(29), 0xFF0000u);
  EXPECT_EQ(at(30), 0x808080u);
}

// Text on the form asks the provider for its section: from skin version 10.25 on, text standing
// on the header band takes the "FORMHEADER" section and other text the form's; older skins
// keep the common answer (the form's section) for both.
TEST_F(ExtendedTestSkin, TextOnTheHeaderBandTakesTheHeadersSectionFromSkinVersion1025) {
  for (const std::string version : {"10.25", "10.2"}) {
    SCOPED_TRACE(version);
    Make("", "\n[FORMHEADER]\nSTATES=1\nCOLOR=255\nFONTCOLOR=65280\n", version);
    provider->SetFormHeaderHeight(20);
    form->Show();
    desktop.Pump();
    const data::TacSkinModel& model = *manager->SkinModel();
    const int header = model.GetSkinIndex("FORMHEADER");
    const int own = provider->SkinData().SkinIndex;
    ASSERT_GE(header, 0);
    auto ask = [&](int top, win::LRESULT* answer = nullptr) {
      core::TacPaintInfo pi{0, -1, {10, top, 60, top + 15}, manager};
      const win::LRESULT a =
          form->Perform(core::SM_ALPHACMD, core::AC_GETFONTINDEX_HI, win::LPARAM(&pi));
      if (answer) *answer = a;
      return pi.FontIndex;
    };
    win::LRESULT answer = 0;
    EXPECT_EQ(ask(2, &answer), version == "10.25" ? header : own);
    EXPECT_EQ(answer, 1);
    EXPECT_EQ(ask(19), version == "10.25" ? header : own);
    EXPECT_EQ(ask(20), own);
    // Without the band all text is the form's.
    provider->SetFormHeaderHeight(0);
    EXPECT_EQ(ask(2), own);
    app.reset();  // the next skin comes with a new application and form
  }
}

// The end of an update announces the menu changes held meanwhile, once.
TEST_F(ExtendedTestSkin, TheEndOfAnUpdateAnnouncesAHeldMenuChangeOnce) {
  Make("");
  int changes = 0;
  const fw::TWndHookId hook = form->HookWindowProc([&](fw::TMessage& m, const fw::TWndNext& next) {
    if (m.Msg == fw::CM_MENUCHANGED) ++changes;
    next(m);
  });
  auto endUpdate = [&] { form->Perform(core::SM_ALPHACMD, core::AC_ENDUPDATE_HI, 0); };
  endUpdate();
  EXPECT_EQ(changes, 0);
  provider->SkinData().CtrlSkinState |= core::ACS_MNUPDATING;
  endUpdate();
  EXPECT_EQ(changes, 1);
  EXPECT_EQ(provider->SkinData().CtrlSkinState & core::ACS_MNUPDATING, 0u);
  endUpdate();
  EXPECT_EQ(changes, 1);
  form->UnhookWindowProc(hook);
}

}  // namespace
}  // namespace skin::frame
