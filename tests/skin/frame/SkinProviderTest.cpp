// The form skin provider on a tool window under the internal BlueGauze skin: frame geometry and
// hit codes, the region cut from the frame picture's key-coloured corners, the close button's
// hover, press, release and leave with their fades, active and inactive captions, taking the
// skin off and putting it back, the redraw lock and the rules for a second provider.
#include <gtest/gtest.h>

#include "TestOutput.h"

#include <cstdlib>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "InternalSkinFormTest.h"
#include "framework/Application.h"
#include "framework/Edit.h"
#include "framework/Form.h"
#include "framework/Memo.h"
#include "framework/TextConv.h"
#include "platform/gfx/DeviceContext.h"
#include "platform/gfx/Icon.h"
#include "platform/gfx/PictureCodec.h"
#include "platform/win/Backend.h"
#include "platform/win/Input.h"
#include "platform/win/MessageQueue.h"
#include "platform/win/Messages.h"
#include "platform/win/MulDiv.h"
#include "platform/win/NonClient.h"
#include "platform/win/Paint.h"
#include "platform/win/Styles.h"
#include "platform/win/SystemInfo.h"
#include "platform/win/SystemMetrics.h"
#include "platform/win/VirtualDesktop.h"
#include "platform/win/Window.h"
#include "skin/core/sVclUtils.h"
#include "skin/draw/sAlphaGraph.h"
#include "skin/draw/sGraphUtils.h"
#include "skin/frame/acAnimation.h"
#include "skin/frame/acSBUtils.h"
#include "skin/frame/acTitleBar.h"
#include "skin/frame/sSkinProvider.h"
#include "skin/internal/sInternalSkins.h"
#include "skin/paint/sAlphaGraph.h"

namespace skin::frame {
namespace {

using namespace skin::core;
using gfx::TRect;

class SkinProviderTest : public ::testing::Test {
 protected:
  void SetUp() override {
    app = std::make_unique<fw::TApplication>();
    form = new fw::TForm(app.get());
    form->SetBorderStyle(fw::TFormBorderStyle::bsToolWindow);
    form->SetBounds(100, 100, 400, 300);
    form->SetCaption(u"Frame");
    manager = new TsSkinManager(form);
    manager->AfterConstruction();
    skin::data::AddInternalSkins(manager->InternalSkins());
    manager->SetSkinName(test::InternalSkinNamed("BlueGauze"));
    provider = new TsSkinProvider(form);
    provider->SetCaptionAlignment(fw::TAlignment::taCenter);
    form->Show();
    desktop.Pump();
  }
  void TearDown() override { app.reset(); }
  // Advances the clock a frame (12 ms) at a time while running holds, 40 frames at most; the
  // frames it took.
  int FramesWhile(const std::function<bool()>& running) {
    int ticks = 0;
    for (; running() && ticks < 40; ++ticks) desktop.Advance(12);
    return ticks;
  }

  win::HWND H() const { return form->Handle(); }
  TRect Window() const {
    win::RECT r{};
    win::GetWindowRect(H(), &r);
    return r;
  }
  const skin::data::TacSkinModel& Model() const { return *manager->SkinModel(); }
  const paint::TsMaskData& Glyph(int glyph) const {
    return Model().ma[std::size_t(manager->ConstData().TitleGlyphs[std::size_t(glyph)])];
  }
  const TsCaptionButton& Close() const { return provider->Button(cbClose); }
  // The close button's centre on the screen.
  win::POINT CloseCentre() const {
    const TRect r = Close().cpRect.Offset(Window().Left, Window().Top);
    return {(r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2};
  }
  win::LRESULT HitAt(int x, int y) {
    return win::SendMessageW(H(), win::WM_NCHITTEST, 0, win::MAKELPARAM(x, y));
  }
  void MoveTo(win::POINT p) {
    win::InjectMouseMove(p);
    desktop.Pump();
  }
  void Run(int ms) {
    for (int t = 0; t < ms; t += 12) desktop.Advance(12);
  }
  // The screen's pixels over the close button.
  gfx::Bitmap ButtonOnScreen() {
    const gfx::Bitmap screen = desktop.Compose();
    const TRect r = Close().cpRect.Offset(Window().Left, Window().Top);
    gfx::Bitmap out(r.Width(), r.Height());
    out.CopyFrom(screen, r, {0, 0});
    return out;
  }
  // The glyph's picture for state (straight alpha, as a fade shows it) over under; counts the
  // pixels of `shown` further than 2 from that in any channel.
  int FadeDiffers(int state, const gfx::Bitmap& under, const gfx::Bitmap& shown) {
    const paint::TsMaskData& md = Glyph(skin::data::tgSmallClose);
    gfx::Bitmap pic(md.Width, md.Height);
    draw::DrawSkinGlyph(pic, {0, 0}, state, 1, md, draw::EmptyCI);
    int differ = 0;
    for (int y = 0; y < pic.Height(); ++y)
      for (int x = 0; x < pic.Width(); ++x) {
        const auto p = pic.At(x, y), u = under.At(x, y), v = shown.At(x, y);
        const int a = int(p >> 24);
        for (int c = 0; c < 3; ++c) {
          const int src = int(p >> (8 * c)) & 255, dst = int(u >> (8 * c)) & 255;
          const int want = (src * a + dst * (255 - a) + 127) / 255;
          if (std::abs(want - (int(v >> (8 * c)) & 255)) > 2) {
            ++differ;
            break;
          }
        }
      }
    return differ;
  }
  // The caption strip as the skin paints it for the state: the title section over the form
  // section, with the close glyph for buttonState drawn at its place (-1: none).
  gfx::Bitmap Strip(int state, int buttonState) {
    gfx::Bitmap back(form->Width(), provider->TitleBottom());
    draw::PaintItem(&Model(), provider->SkinData().SkinIndex, draw::EmptyCI, true, state,
                    TRect{0, 0, form->Width(), form->Height()}, {0, 0}, &back);
    gfx::Bitmap strip(back.Width(), back.Height());
    draw::PaintItem(&Model(), Model().GetSkinIndex("FORMTITLE"), draw::MakeCacheInfo(&back), true,
                    state, strip.Bounds(), {0, 0}, &strip);
    if (buttonState >= 0)
      draw::DrawSkinGlyph(strip, {Close().cpRect.Left, Close().cpRect.Top}, buttonState, 1,
                          Glyph(skin::data::tgSmallClose), draw::EmptyCI);
    return strip;
  }
  // Pixels of the screen's window area r differing from expected at the same place.
  int ScreenDiffers(const gfx::Bitmap& expected, const TRect& r) {
    const gfx::Bitmap screen = desktop.Compose();
    int wrong = 0;
    for (int y = r.Top; y < r.Bottom; ++y)
      for (int x = r.Left; x < r.Right; ++x)
        if ((expected.At(x, y) & 0xFFFFFF) !=
            (screen.At(Window().Left + x, Window().Top + y) & 0xFFFFFF))
          ++wrong;
    return wrong;
  }

  win::VirtualDesktop desktop{800, 600};
  std::unique_ptr<fw::TApplication> app;
  fw::TForm* form = nullptr;
  TsSkinManager* manager = nullptr;
  TsSkinProvider* provider = nullptr;
};

TEST_F(SkinProviderTest, AToolWindowKeepsItsClientAreaAndShowsTheSmallCloseButtonAlone) {
  ASSERT_TRUE(provider->Skinned());
  const int caption = win::GetSystemMetrics(win::SM_CYSMCAPTION);
  const int border = win::GetSystemMetrics(win::SM_CXFIXEDFRAME);
  EXPECT_EQ(provider->CaptionHeight(), caption);
  EXPECT_EQ(provider->BorderWidth(), border);
  EXPECT_EQ(form->ClientWidth(), 400 - 2 * border);
  EXPECT_EQ(form->ClientHeight(), 300 - 2 * border - caption);
  EXPECT_EQ(provider->OffsetX(), border);
  EXPECT_EQ(provider->OffsetY(), border + caption);
  // The system neither draws nor answers caption buttons of its own.
  EXPECT_FALSE(win::GetWindowLongPtrW(H(), win::GWL_STYLE) & win::WS_SYSMENU);

  // Close alone, the small glyph's size, right-aligned and centred on the caption.
  const paint::TsMaskData& md = Glyph(skin::data::tgSmallClose);
  const int right = 400 - Model().CommonSkinData.BIRightMargin - std::max(4, border);
  const int top = caption / 2 + border / 2 - md.Height / 2;
  EXPECT_EQ(Close().cpGlyphType, skin::data::tgSmallClose);
  EXPECT_EQ(Close().cpRect, (TRect{right - md.Width, top, right, top + md.Height}));
  for (auto kind : {cbMin, cbMax, cbHelp})
    EXPECT_EQ(provider->Button(kind).cpRect.Width(), 0) << kind;

  const win::POINT c = CloseCentre();
  EXPECT_EQ(HitAt(c.X, c.Y), win::HTCLOSE);
  EXPECT_EQ(HitAt(Window().Left + 60, Window().Top + 10), win::HTCAPTION);
  EXPECT_EQ(HitAt(Window().Left + 200, Window().Top + 150), win::HTCLIENT);
}

// The rows of the caption strip left of the buttons where the picture shows more than the
// title section: the caption text's height.
int TextRows(const gfx::Bitmap& cache, const gfx::Bitmap& strip, int left, int right) {
  int top = -1, bottom = -1;
  for (int y = 0; y < strip.Height(); ++y)
    for (int x = left; x < right; ++x)
      if ((cache.At(x, y) & 0xFFFFFF) != (strip.At(x, y) & 0xFFFFFF)) {
        if (top < 0) top = y;
        bottom = y + 1;
        break;
      }
  return top < 0 ? 0 : bottom - top;
}

// At 150 % the caption strip is the system's caption scaled: the window makes room for it
// (its client area starts lower), the skin's 150 % glyph sits centred in it, the caption's
// lowest rows answer as caption and its text is larger; taking the skin off gives the plain
// caption back, and at 100 % everything is as it was.
TEST_F(SkinProviderTest, TheCaptionStripFollowsTheScaleAndComesBack) {
  ASSERT_TRUE(manager->IsDefault());
  const int border = win::GetSystemMetrics(win::SM_CXFIXEDFRAME);
  const int system = win::GetSystemMetrics(win::SM_CYSMCAPTION);
  const TRect closeAt100 = Close().cpRect;
  const int glyphAt100 = Glyph(skin::data::tgSmallClose).Height;
  const int textAt100 = TextRows(*provider->Cache(), Strip(1, -1), border + 4, closeAt100.Left);
  ASSERT_GT(textAt100, 0);

  manager->Options().SetScaleMode(sm150);
  desktop.Pump();
  ASSERT_EQ(provider->ScalePercent(), 150);
  const int caption = win::MulDiv(system, 150, 100);
  EXPECT_EQ(provider->CaptionHeight(), caption);
  EXPECT_EQ(form->Height(), 450);
  EXPECT_EQ(form->ClientHeight(), 450 - 2 * border - caption);
  EXPECT_EQ(provider->OffsetY(), border + caption);
  const paint::TsMaskData& md = Glyph(skin::data::tgSmallClose);
  EXPECT_GT(md.Height, glyphAt100) << "the skin's glyph for 150 %";
  EXPECT_EQ(Close().cpRect.Height(), md.Height);
  EXPECT_EQ(Close().cpRect.Top, caption / 2 + border / 2 - md.Height / 2);
  EXPECT_GE(Close().cpRect.Top, border);
  EXPECT_LE(Close().cpRect.Bottom, border + caption);
  EXPECT_EQ(HitAt(Window().Left + 60, Window().Top + border + caption - 2), win::HTCAPTION);
  EXPECT_EQ(HitAt(Window().Left + 60, Window().Top + border + caption + 1), win::HTCLIENT);
  const gfx::Bitmap strip = Strip(1, -1);
  EXPECT_EQ(ScreenDiffers(strip, TRect{20, border, 40, border + 3}), 0)
      << "the screen shows the scaled strip";
  const int textAt150 = TextRows(*provider->Cache(), strip, border + 4, Close().cpRect.Left);
  EXPECT_GE(textAt150 * 4, textAt100 * 5) << textAt150 << " rows against " << textAt100;
  gfx::WriteFileBytes((tests::OutputFolder("frame") / "caption-150.png").string(),
                      gfx::EncodePng(desktop.Compose()));

  // Unskinned the window has the system's caption again; skinned anew, the scaled one.
  manager->SetActive(false);
  desktop.Pump();
  EXPECT_EQ(form->ClientHeight(), 450 - 2 * border - system);
  manager->SetActive(true);
  desktop.Pump();
  ASSERT_TRUE(provider->Skinned());
  EXPECT_EQ(form->ClientHeight(), 450 - 2 * border - caption);

  manager->Options().SetScaleMode(sm100);
  desktop.Pump();
  EXPECT_EQ(provider->CaptionHeight(), system);
  EXPECT_EQ(form->ClientHeight(), 300 - 2 * border - system);
  EXPECT_EQ(Close().cpRect, closeAt100);
  EXPECT_EQ(TextRows(*provider->Cache(), Strip(1, -1), border + 4, closeAt100.Left), textAt100);
}

// A sizeable form's icon grows with the caption.
TEST_F(SkinProviderTest, TheIconFollowsTheScale) {
  form->SetBorderStyle(fw::TFormBorderStyle::bsSizeable);
  desktop.Pump();
  const int size = win::GetSystemMetrics(win::SM_CXSMICON);
  EXPECT_EQ(provider->IconRect().Height(), size);
  manager->Options().SetScaleMode(sm150);
  desktop.Pump();
  EXPECT_EQ(provider->CaptionHeight(),
            win::MulDiv(win::GetSystemMetrics(win::SM_CYCAPTION), 150, 100));
  const TRect icon = provider->IconRect();
  EXPECT_EQ(icon.Width(), win::MulDiv(size, 150, 100));
  EXPECT_EQ(icon.Height(), win::MulDiv(size, 150, 100));
  EXPECT_EQ(icon.Top, provider->VCenter() - icon.Height() / 2);
  EXPECT_EQ(HitAt(Window().Left + icon.Right - 2, Window().Top + icon.Bottom - 2), win::HTSYSMENU);
  manager->Options().SetScaleMode(sm100);
  desktop.Pump();
  EXPECT_EQ(provider->IconRect().Height(), size);
}

TEST_F(SkinProviderTest, TheRegionLeavesOutTheKeyColouredCornersAndTheDesktopShowsThere) {
  gfx::Region rgn;
  ASSERT_NE(win::GetWindowRgn(H(), &rgn), gfx::RGN_ERROR);
  const auto& sec = Model().gd[std::size_t(provider->SkinData().SkinIndex)];
  ASSERT_TRUE(Model().IsValidImgIndex(sec.BorderIndex));
  const paint::TsMaskData& md = Model().ma[std::size_t(sec.BorderIndex)];
  const gfx::Bitmap& pic = md.Bmp ? *md.Bmp : Model().MasterBitmap;
  auto key = [&](int sx, int sy) {
    return (pic.At(md.R.Left + sx, md.R.Top + sy) & 0xFFFFFF) == paint::kTransKey;
  };
  const gfx::Bitmap screen = desktop.Compose();
  const auto desk = screen.At(0, 0);
  const TRect wr = Window();
  int cut = 0;
  // The bottom corners of the form's border picture, pixel by pixel.
  for (int y = 0; y < md.WB; ++y)
    for (int x = 0; x < md.WL; ++x) {
      const bool transparent = key(x, md.Height - md.WB + y);
      const int wy = 300 - md.WB + y;
      EXPECT_EQ(rgn.Contains({x, wy}), !transparent) << x << "," << wy;
      if (transparent) {
        ++cut;
        EXPECT_EQ(screen.At(wr.Left + x, wr.Top + wy), desk);
      }
    }
  EXPECT_GT(cut, 0);
  // The top corners are cut as well, and the rest of the window is whole.
  EXPECT_FALSE(rgn.Contains({0, 0}));
  EXPECT_FALSE(rgn.Contains({399, 0}));
  EXPECT_EQ(screen.At(wr.Left, wr.Top), desk);
  EXPECT_TRUE(rgn.Contains({200, 150}));
  EXPECT_TRUE(rgn.Contains({0, 150}));
  EXPECT_EQ(provider->Rects().empty(), false);
}

TEST_F(SkinProviderTest, AMaximisedSizeableFormHasAPlainRectangle) {
  form->SetBorderStyle(fw::TFormBorderStyle::bsSizeable);
  desktop.Pump();
  win::SendMessageW(H(), win::WM_SYSCOMMAND, win::SC_MAXIMIZE, 0);
  desktop.Pump();
  ASSERT_TRUE(win::IsZoomed(H()));
  gfx::Region rgn;
  ASSERT_NE(win::GetWindowRgn(H(), &rgn), gfx::RGN_ERROR);
  const int b = provider->BorderWidth();
  EXPECT_EQ(rgn, gfx::Region(TRect{b, b, form->Width() - b, form->Height() - b}));
  // The frame lies just outside the work area.
  EXPECT_EQ(Window(), (TRect{-b, -b, 800 + b, 600 + b}));
  win::SendMessageW(H(), win::WM_SYSCOMMAND, win::SC_RESTORE, 0);
  desktop.Pump();
  ASSERT_NE(win::GetWindowRgn(H(), &rgn), gfx::RGN_ERROR);
  EXPECT_FALSE(rgn.Contains({0, 0}));  // the corners come back
}

TEST_F(SkinProviderTest, TheCloseButtonFadesHotPressesAndClosesOnlyWhenReleasedOverIt) {
  ASSERT_TRUE(manager->Effects().AllowGlowing);
  EXPECT_EQ(ScreenDiffers(Strip(1, 0), Close().cpRect), 0);
  const gfx::Bitmap rest = ButtonOnScreen();
  MoveTo(CloseCentre());
  EXPECT_EQ(Close().cpState, 1);
  EXPECT_EQ(provider->CurrentHT(), win::HTCLOSE);
  Run(200);
  // The hot picture fully faded in over the button at rest.
  const gfx::Bitmap hot = ButtonOnScreen();
  EXPECT_EQ(FadeDiffers(1, rest, hot), 0);
  EXPECT_GT(FadeDiffers(0, rest, hot), 0);

  const win::POINT c = CloseCentre();
  win::InjectMouseButton(0, true, c);
  desktop.Pump();
  EXPECT_EQ(Close().cpState, 2);
  Run(12);  // the pressed picture in one step
  EXPECT_EQ(FadeDiffers(2, rest, ButtonOnScreen()), 0);

  // Held down, it shows pressed only over the button.
  win::InjectMouseMove({c.X - 100, c.Y + 100});
  desktop.Pump();
  EXPECT_EQ(Close().cpState, 0);
  win::InjectMouseMove(c);
  desktop.Pump();
  EXPECT_EQ(Close().cpState, 2);
  // Released outside: the form stays, the button rests.
  win::InjectMouseMove({c.X - 100, c.Y + 100});
  win::InjectMouseButton(0, false, {c.X - 100, c.Y + 100});
  desktop.Pump();
  Run(300);
  EXPECT_TRUE(win::IsWindowVisible(H()));
  EXPECT_EQ(Close().cpState, 0);
  EXPECT_FALSE(provider->Clicked());

  // A whole click closes it, also as a quick second click (a double click on the button).
  MoveTo(c);
  win::InjectMouseButton(0, true, c);
  win::InjectMouseButton(0, false, c);
  desktop.Pump();
  EXPECT_FALSE(win::IsWindowVisible(H()));
}

TEST_F(SkinProviderTest, LeavingTheWindowFromTheButtonCoolsIt) {
  MoveTo(CloseCentre());
  Run(200);
  ASSERT_EQ(Close().cpState, 1);
  // Straight out of the window over its right edge.
  MoveTo({Window().Right + 20, CloseCentre().Y});
  Run(300);
  EXPECT_EQ(Close().cpState, 0);
  EXPECT_EQ(provider->CurrentHT(), 0);
  EXPECT_EQ(ScreenDiffers(Strip(1, 0), Close().cpRect), 0);
}

TEST_F(SkinProviderTest, WithoutGlowingTheButtonIsPaintedIntoTheFrameForEachState) {
  manager->Effects().AllowGlowing = false;
  MoveTo(CloseCentre());
  EXPECT_EQ(ScreenDiffers(Strip(1, 1), Close().cpRect), 0);
  win::InjectMouseButton(0, true, CloseCentre());
  desktop.Pump();
  EXPECT_EQ(ScreenDiffers(Strip(1, 2), Close().cpRect), 0);
  EXPECT_GT(ScreenDiffers(Strip(1, 1), Close().cpRect), 0);
}

TEST_F(SkinProviderTest, TheCaptionFollowsActivation) {
  ASSERT_TRUE(provider->FormActive());
  // The caption strip away from the text and the button.
  auto stripMatches = [&](int state) {
    return ScreenDiffers(Strip(state, -1), TRect{10, 4, 60, provider->TitleBottom() - 2});
  };
  EXPECT_EQ(stripMatches(1), 0);
  auto* other = new fw::TForm(app.get());
  other->SetBounds(500, 300, 200, 150);
  other->Show();
  desktop.Pump();
  EXPECT_FALSE(provider->FormActive());
  EXPECT_EQ(stripMatches(0), 0);
  EXPECT_GT(stripMatches(1), 0);
  delete other;
  win::SetActiveWindow(H());
  desktop.Pump();
  EXPECT_TRUE(provider->FormActive());
  EXPECT_EQ(stripMatches(1), 0);
}

TEST_F(SkinProviderTest, FreeingTheProviderGivesTheFormItsPlainFrameAndNoStaleSkinData) {
  ASSERT_EQ(GetCommonData(H()), &provider->SkinData());
  delete provider;
  provider = nullptr;
  EXPECT_EQ(GetCommonData(H()), nullptr);
  gfx::Region rgn;
  EXPECT_EQ(win::GetWindowRgn(H(), &rgn), gfx::RGN_ERROR);
  EXPECT_TRUE(win::GetWindowLongPtrW(H(), win::GWL_STYLE) & win::WS_SYSMENU);
  // Skin messages reach the form's own handling now.
  EXPECT_EQ(SendAMessage(H(), AC_GETPROVIDER), 0);
  manager->SetActive(false);
  manager->SetActive(true);
  desktop.Pump();
}

TEST_F(SkinProviderTest, AOneStateSectionDoesNotRebuildItsPictureOnActivation) {
  provider->SkinData().SetSkinSection("TRANSPARENT");
  ASSERT_EQ(Model().gd[std::size_t(provider->SkinData().SkinIndex)].States, 1);
  provider->UpdateFrame();
  desktop.Pump();
  const gfx::Bitmap before = *provider->Cache();
  auto* other = new fw::TForm(app.get());
  other->SetBounds(500, 300, 200, 150);
  other->Show();
  desktop.Pump();
  ASSERT_FALSE(provider->FormActive());
  EXPECT_FALSE(provider->SkinData().BGChanged);
  EXPECT_EQ(*provider->Cache(), before);
  delete other;
}

TEST_F(SkinProviderTest, TakingTheSkinOffRestoresThePlainFrameAndPuttingItBackTheSkin) {
  // The form wears the skin's colour; its own (the default button face) comes back.
  EXPECT_EQ(form->Color(), Model().GetGlobalColor());
  manager->SetActive(false);
  desktop.Pump();
  gfx::Region rgn;
  EXPECT_EQ(win::GetWindowRgn(H(), &rgn), gfx::RGN_ERROR);
  EXPECT_TRUE(win::GetWindowLongPtrW(H(), win::GWL_STYLE) & win::WS_SYSMENU);
  EXPECT_FALSE(provider->Skinned());
  EXPECT_EQ(form->Color(), fw::clBtnFace);
  // The screen shows the system's frame again.
  const gfx::Bitmap plain = win::ComposeWindow(H());
  gfx::Bitmap frame(400, 300);
  {
    gfx::DeviceContext dc(frame);
    win::DrawDefaultFrame(H(), &dc, true);
  }
  int wrong = 0;
  for (int y = 0; y < 20; ++y)
    for (int x = 0; x < 400; ++x)
      if ((plain.At(x, y) & 0xFFFFFF) != (frame.At(x, y) & 0xFFFFFF)) ++wrong;
  EXPECT_EQ(wrong, 0);

  manager->SetActive(true);
  desktop.Pump();
  EXPECT_TRUE(provider->Skinned());
  EXPECT_NE(win::GetWindowRgn(H(), &rgn), gfx::RGN_ERROR);
  EXPECT_FALSE(win::GetWindowLongPtrW(H(), win::GWL_STYLE) & win::WS_SYSMENU);
  EXPECT_EQ(form->Color(), Model().GetGlobalColor());
}

// The frame on the screen is the provider's picture, also right after the caption changed.
TEST_F(SkinProviderTest, TheScreenShowsTheFramePictureAndANewCaptionAtOnce) {
  auto frameDiffers = [&] {
    const gfx::Bitmap screen = desktop.Compose();
    const gfx::Bitmap& cache = *provider->Cache();
    gfx::Region rgn;
    win::GetWindowRgn(H(), &rgn);
    const TRect client = gfx::RectOfSize(provider->OffsetX(), provider->OffsetY(),
                                         form->ClientWidth(), form->ClientHeight());
    int wrong = 0;
    for (int y = 0; y < cache.Height(); ++y)
      for (int x = 0; x < cache.Width(); ++x)
        if (rgn.Contains({x, y}) && !client.Contains({x, y}) &&
            (cache.At(x, y) & 0xFFFFFF) !=
                (screen.At(Window().Left + x, Window().Top + y) & 0xFFFFFF))
          ++wrong;
    return wrong;
  };
  ASSERT_NE(provider->Cache(), nullptr);
  EXPECT_EQ(frameDiffers(), 0);
  const gfx::Bitmap strip = desktop.Compose();
  form->SetCaption(u"A much longer caption than before");
  desktop.Pump();
  EXPECT_EQ(frameDiffers(), 0);
  const gfx::Bitmap after = desktop.Compose();
  int changed = 0;
  for (int x = Window().Left + 100; x < Window().Left + 300; ++x)
    if (after.At(x, Window().Top + 12) != strip.At(x, Window().Top + 12)) ++changed;
  EXPECT_GT(changed, 0);  // the new text is drawn
}

// The added title goes in front of the caption in its own font and, with colour clNone, in
// the title's colours: added alone in the caption's font it paints what the caption paints;
// ShowMainCaption off hides the caption; a colour of its own shows.
TEST_F(SkinProviderTest, TheAddedTitleStandsInFrontOfTheCaption) {
  manager->Effects().AllowGlowing = false;
  auto picture = [&] {
    provider->UpdateFrame();
    return *provider->Cache();
  };
  const gfx::Bitmap caption = picture();
  win::NONCLIENTMETRICSW ncm;
  win::SystemParametersInfoW(win::SPI_GETNONCLIENTMETRICS, 0, &ncm, 0);
  const std::string& mainFont = Model().CommonSkinData.MainFont;
  provider->AddedTitleFont().SetName(mainFont.empty() ? ncm.lfCaptionFont.lfFaceName
                                                      : fw::Utf8ToUtf16(mainFont));
  provider->AddedTitleFont().SetHeight(ncm.lfCaptionFont.lfHeight);
  provider->AddedTitleFont().SetStyle(0);
  form->SetCaption(u"");
  EXPECT_NE(picture(), caption);
  provider->SetAddedTitleText(u"Frame");
  EXPECT_EQ(picture(), caption);
  form->SetCaption(u"Museum");
  provider->SetShowMainCaption(false);
  EXPECT_EQ(picture(), caption);
  // Both: the caption follows the added text, so the picture is neither alone.
  provider->SetShowMainCaption(true);
  const gfx::Bitmap both = picture();
  EXPECT_NE(both, caption);
  provider->SetAddedTitleText(u"");
  EXPECT_NE(picture(), both);
  // A colour of its own.
  provider->SetAddedTitleText(u"Frame");
  provider->AddedTitleFont().SetColor(fw::clRed);
  const gfx::Bitmap red = picture();
  int reds = 0;
  for (int y = 0; y < provider->TitleBottom(); ++y)
    for (int x = 0; x < red.Width(); ++x)
      if (gfx::PixelR(red.At(x, y)) > 200 && gfx::PixelG(red.At(x, y)) < 60 &&
          gfx::PixelB(red.At(x, y)) < 60)
        ++reds;
  EXPECT_GT(reds, 3);
  gfx::WriteFileBytes((tests::OutputFolder("frame") / "added-title.png").string(),
                      gfx::EncodePng(win::ComposeWindow(H())));
}

TEST_F(SkinProviderTest, AHiddenFormDropsItsPictureAndItsFades) {
  MoveTo(CloseCentre());
  ASSERT_NE(Close().cpTimer, nullptr);
  form->Hide();
  desktop.Pump();
  EXPECT_TRUE(provider->Cache()->Empty());
  EXPECT_EQ(Close().cpTimer, nullptr);
  EXPECT_EQ(Close().cpState, 0);
  form->Show();
  desktop.Pump();
  ASSERT_FALSE(provider->Cache()->Empty());
  EXPECT_EQ(ScreenDiffers(Strip(1, 0), Close().cpRect), 0);
}

TEST_F(SkinProviderTest, FrameRepaintsSettleAndTheRedrawLockNeverGoesNegative) {
  for (int i = 0; i < 3; ++i) {
    win::RedrawWindow(H(), nullptr, nullptr,
                      win::RDW_INVALIDATE | win::RDW_FRAME | win::RDW_ERASE | win::RDW_ALLCHILDREN);
    int handled = 0, rounds = 0;
    while (int n = desktop.Pump()) {
      handled += n;
      ASSERT_LT(++rounds, 5) << "the frame keeps repainting";
    }
    EXPECT_LT(handled, 10);
  }
  win::SendMessageW(H(), win::WM_SETREDRAW, 0, 0);
  EXPECT_EQ(provider->LockCount(), 1);
  // Locked, a frame invalidation settles as well.
  win::RedrawWindow(H(), nullptr, nullptr, win::RDW_INVALIDATE | win::RDW_FRAME);
  int rounds = 0;
  while (desktop.Pump()) ASSERT_LT(++rounds, 5) << "the locked frame keeps repainting";
  win::SendMessageW(H(), win::WM_SETREDRAW, 1, 0);
  win::SendMessageW(H(), win::WM_SETREDRAW, 1, 0);
  EXPECT_EQ(provider->LockCount(), 0);
}

TEST_F(SkinProviderTest, ASecondProviderStaysEmptyButReplacesOneMadeAtRunTime) {
  auto* second = new TsSkinProvider(form);
  EXPECT_TRUE(second->RTEmpty());
  EXPECT_TRUE(second->Inert());
  EXPECT_EQ(TsSkinProvider::GetSkinProvider(*form), provider);
  // The window's skin data stays the first provider's, also once the second is gone.
  EXPECT_EQ(GetCommonData(H()), &provider->SkinData());
  delete second;
  EXPECT_EQ(GetCommonData(H()), &provider->SkinData());

  auto* plain = new fw::TForm(app.get());
  plain->SetBorderStyle(fw::TFormBorderStyle::bsToolWindow);
  plain->SetBounds(50, 50, 300, 200);
  TsSkinProvider* rt = TsSkinProvider::CreateRunTime(*plain);
  EXPECT_TRUE(rt->RTInit());
  EXPECT_EQ(TsSkinProvider::CreateRunTime(*plain), rt);
  plain->Show();
  desktop.Pump();
  EXPECT_FALSE(rt->RTInit());
  EXPECT_TRUE(rt->Skinned());
  gfx::Region rgn;
  EXPECT_NE(win::GetWindowRgn(plain->Handle(), &rgn), gfx::RGN_ERROR);

  auto* late = new fw::TForm(app.get());
  TsSkinProvider* first = TsSkinProvider::CreateRunTime(*late);
  auto* own = new TsSkinProvider(late);  // frees the waiting one
  EXPECT_FALSE(own->RTEmpty());
  EXPECT_EQ(TsSkinProvider::GetSkinProvider(*late), own);
  (void)first;
}

TEST_F(SkinProviderTest, UserButtonsStandLeftOfTheSystemButtonsAndRunTheirEvents) {
  TsTitleButton& first = provider->AddTitleButton();
  first.Glyph = gfx::Bitmap(10, 10);
  first.Glyph.Fill(0xFF0000FF);                                    // opaque blue ...
  for (int x = 0; x < 10; ++x) first.Glyph.Set(x, 9, 0xFF00FF00);  // ... keyed by its last row
  TsTitleButton& second = provider->AddTitleButton();
  second.Enabled = false;
  int downs = 0, ups = 0;
  first.OnMouseDown = [&](fw::TComponent* sender) {
    EXPECT_EQ(sender, provider);
    ++downs;
  };
  first.OnMouseUp = [&](fw::TComponent*) { ++ups; };
  provider->UpdateFrame();
  desktop.Pump();

  const TRect& a = first.Data.cpRect;
  const TRect& b = second.Data.cpRect;
  EXPECT_EQ(a.Right, Close().cpRect.Left - UserButtonsOffset);
  EXPECT_EQ(a.Width(), provider->UserButtonWidth(first));
  EXPECT_GE(a.Width(), 12);
  EXPECT_EQ(b.Right, a.Left);  // small glyphs: no spacing
  auto centre = [&](const TRect& r) {
    return win::POINT{Window().Left + (r.Left + r.Right) / 2,
                      Window().Top + (r.Top + r.Bottom) / 2};
  };
  EXPECT_EQ(HitAt(centre(a).X, centre(a).Y), HTUDBTN);
  EXPECT_EQ(HitAt(centre(b).X, centre(b).Y), win::HTCAPTION);  // disabled: the caption under it

  // The glyph centred on the button, its keyed row left out.
  const gfx::Bitmap screen = desktop.Compose();
  const int gx = Window().Left + a.Left + (a.Width() - 10) / 2;
  const int gy = Window().Top + a.Top + (a.Height() - 10) / 2;
  EXPECT_EQ(screen.At(gx, gy) & 0xFFFFFF, 0x0000FFu);
  EXPECT_EQ(screen.At(gx + 9, gy + 8) & 0xFFFFFF, 0x0000FFu);
  EXPECT_NE(screen.At(gx, gy + 9) & 0xFFFFFF, 0x00FF00u);

  MoveTo(centre(a));
  EXPECT_EQ(first.Data.cpState, 1);
  win::InjectMouseButton(0, true, centre(a));
  desktop.Pump();
  EXPECT_EQ(downs, 1);
  EXPECT_EQ(first.Data.cpState, 2);
  // Pressed, the glyph moves one pixel right and down.
  EXPECT_EQ(desktop.Compose().At(gx + 10, gy + 9) & 0xFFFFFF, 0x0000FFu);
  win::InjectMouseButton(0, false, centre(a));
  desktop.Pump();
  EXPECT_EQ(ups, 1);
  // Released elsewhere: no click.
  win::InjectMouseButton(0, true, centre(a));
  win::InjectMouseMove({centre(a).X, centre(a).Y + 150});
  win::InjectMouseButton(0, false, {centre(a).X, centre(a).Y + 150});
  desktop.Pump();
  EXPECT_EQ(downs, 2);
  EXPECT_EQ(ups, 1);
  EXPECT_EQ(first.Data.cpState, 0);
}

TEST_F(SkinProviderTest, ASizeableFormShowsItsIconWhichAnswersAndClosesOnADoubleClick) {
  EXPECT_TRUE(provider->IconRect().IsEmpty());  // tool windows have none
  form->SetBorderStyle(fw::TFormBorderStyle::bsSizeable);
  desktop.Pump();
  // The new style does not bring the system's caption buttons back.
  EXPECT_FALSE(win::GetWindowLongPtrW(H(), win::GWL_STYLE) & win::WS_SYSMENU);
  const TRect icon = provider->IconRect();
  ASSERT_FALSE(icon.IsEmpty());
  const int size = win::GetSystemMetrics(win::SM_CXSMICON);
  EXPECT_EQ(icon, gfx::RectOfSize(provider->BorderWidth() + Model().CommonSkinData.BILeftMargin,
                                  provider->VCenter() - size / 2, size, size));
  // The form's caption icon (the default one) over the title strip.
  gfx::Bitmap expected = Strip(1, -1);
  {
    gfx::DeviceContext dc(expected);
    gfx::DrawIconEx(&dc, icon.Left, icon.Top, win::LoadIconW(win::IDI_APPLICATION), size, size,
                    gfx::DI_NORMAL);
  }
  EXPECT_EQ(ScreenDiffers(expected, icon), 0);
  EXPECT_GT(ScreenDiffers(Strip(1, -1), icon), 0);

  const int x = Window().Left + icon.Left + 4, y = Window().Top + icon.Top + 4;
  EXPECT_EQ(HitAt(x, y), win::HTSYSMENU);
  win::InjectMouseMove({x, y});
  win::InjectMouseButton(0, true, {x, y});
  win::InjectMouseButton(0, false, {x, y});
  win::InjectMouseButton(0, true, {x, y});
  win::InjectMouseButton(0, false, {x, y});
  desktop.Pump();
  EXPECT_FALSE(win::IsWindowVisible(H()));
}

// The title icon's own glyph: stretched to its size, its key-coloured pixels showing the
// title; hidden, the text moves left and the icon answers no more.
TEST_F(SkinProviderTest, TheTitleIconsGlyphReplacesTheFormsIcon) {
  form->SetBorderStyle(fw::TFormBorderStyle::bsSizeable);
  desktop.Pump();
  TsTitleIcon ti;
  ti.Glyph = gfx::Bitmap(8, 8);
  for (int y = 0; y < 8; ++y)
    for (int x = 0; x < 8; ++x) ti.Glyph.Set(x, y, x < 4 ? 0xFFFF0000 : 0xFFFF00FF);
  ti.Width = ti.Height = 12;
  provider->SetTitleIcon(ti);
  desktop.Pump();
  const TRect icon = provider->IconRect();
  EXPECT_EQ(icon.Width(), 12);
  EXPECT_EQ(icon.Height(), 12);
  EXPECT_EQ(icon.Top, provider->VCenter() - 6);
  const gfx::Bitmap screen = desktop.Compose();
  const gfx::Bitmap strip = Strip(1, -1);
  int red = 0, title = 0;
  for (int y = icon.Top; y < icon.Bottom; ++y)
    for (int x = icon.Left; x < icon.Right; ++x) {
      const auto p = screen.At(Window().Left + x, Window().Top + y) & 0xFFFFFF;
      if (x < icon.Left + 6 && p == 0xFF0000) ++red;
      if (x >= icon.Left + 6 && p == (strip.At(x, y) & 0xFFFFFF)) ++title;
    }
  EXPECT_EQ(red, 6 * 12);
  EXPECT_EQ(title, 6 * 12);
  const int x = Window().Left + icon.Left + 2, y = Window().Top + icon.Top + 2;
  EXPECT_EQ(HitAt(x, y), win::HTSYSMENU);
  ti.Visible = false;
  provider->SetTitleIcon(ti);
  desktop.Pump();
  EXPECT_TRUE(provider->IconRect().IsEmpty());
  EXPECT_EQ(HitAt(x, y), win::HTCAPTION);
}

// A title bar of a button, a tab pair and an info text, linked to the provider.
class ProviderTitleBarTest : public SkinProviderTest {
 protected:
  void SetUp() override {
    SkinProviderTest::SetUp();
    bar = new TsTitleBar(form);
    TacTitleBarItem& go = bar->Items().Add();
    go.Caption = u"Go";
    for (const char16_t* c : {u"One", u"Two"}) {
      TacTitleBarItem& tab = bar->Items().Add();
      tab.Caption = c;
      tab.Style = bsTab;
      tab.GroupIndex = 1;
    }
    bar->Items()[1].Down = true;
    TacTitleBarItem& info = bar->Items().Add();
    info.Caption = u"Info";
    info.Style = bsInfo;
    info.Align = tbaRight;
    for (auto& item : bar->Items()) {
      item->OnClick = [this](TacTitleBarItem& i) { clicks.push_back(i.Index()); };
      item->OnMouseEnter = [this](TacTitleBarItem&) { ++enters; };
      item->OnMouseLeave = [this](TacTitleBarItem&) { ++leaves; };
    }
    provider->SetTitleBar(bar);
    desktop.Pump();
  }
  TacTitleBarItem& Item(int i) { return bar->Items()[i]; }
  win::POINT Centre(int i) {
    const TRect r = Item(i).Rect.Offset(Window().Left, Window().Top);
    return {(r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2};
  }
  // The caption strip with the items painted over it by PaintTitleItem alone.
  gfx::Bitmap Expected() {
    gfx::Bitmap strip = Strip(1, 0);
    for (auto& item : bar->Items())
      PaintTitleItem(*item, item->Rect, strip,
                     {Model().GetSkinIndex("FORMTITLE"), true, true, provider->CaptionHeight(),
                      provider->BorderWidth()});
    return strip;
  }

  TsTitleBar* bar = nullptr;
  std::vector<int> clicks;
  int enters = 0, leaves = 0;
};

TEST_F(ProviderTitleBarTest, ItemsArePaintedInTheFreeStripAndAnswerTheirHitCodes) {
  // Between the left edge and the close button, 6 pixels in (12 on the left, where items are).
  const int left = provider->BorderWidth() + Model().CommonSkinData.BILeftMargin + 12;
  EXPECT_EQ(Item(0).Rect.Left, left);
  EXPECT_EQ(Item(1).Rect.Left, Item(0).Rect.Right);
  EXPECT_EQ(Item(3).Rect.Right, Close().cpRect.Left - 6);
  for (auto& item : bar->Items()) {
    EXPECT_FALSE(item->Rect.IsEmpty());
    EXPECT_GE(item->Rect.Top, 0);
    EXPECT_LE(item->Rect.Bottom, provider->TitleBottom());
  }
  // The form's caption is hidden while the bar is linked: the strip is the items' alone.
  const gfx::Bitmap expected = Expected();
  for (auto& item : bar->Items()) EXPECT_EQ(ScreenDiffers(expected, item->Rect), 0);
  const TRect between{Item(2).Rect.Right, provider->BorderWidth(), Item(3).Rect.Left,
                      provider->TitleBottom()};
  EXPECT_EQ(ScreenDiffers(expected, between), 0);

  EXPECT_EQ(HitAt(Centre(0).X, Centre(0).Y), acHTItem + 0);
  EXPECT_NE(HitAt(Centre(1).X, Centre(1).Y), acHTItem + 1);  // down already
  EXPECT_EQ(HitAt(Centre(2).X, Centre(2).Y), acHTItem + 2);
  EXPECT_EQ(HitAt(Centre(3).X, Centre(3).Y), acHTItem + 3);
  Item(3).Enabled = false;
  EXPECT_EQ(HitAt(Centre(3).X, Centre(3).Y), win::HTCAPTION);

  // Showing the caption again draws the form's text in the strip.
  bar->ShowCaption = true;
  bar->Invalidate();
  desktop.Pump();
  EXPECT_GT(ScreenDiffers(Expected(), between), 0);
}

TEST_F(ProviderTitleBarTest, HoverPressAndClickGoThroughTheWindowMessages) {
  manager->Effects().AllowGlowing = false;  // each state painted into the frame at once
  MoveTo(Centre(0));
  EXPECT_EQ(provider->CurrentHT(), acHTItem);
  EXPECT_EQ(bar->HotItem(), 0);
  EXPECT_EQ(enters, 1);
  EXPECT_EQ(ScreenDiffers(Expected(), Item(0).Rect), 0);
  win::InjectMouseButton(0, true, Centre(0));
  desktop.Pump();
  EXPECT_EQ(Item(0).GetState(), 2);
  EXPECT_TRUE(Item(0).FPressed);
  EXPECT_EQ(ScreenDiffers(Expected(), Item(0).Rect), 0);
  win::InjectMouseButton(0, false, Centre(0));
  desktop.Pump();
  EXPECT_EQ(clicks, std::vector<int>{0});
  EXPECT_EQ(Item(0).GetState(), 1);
  EXPECT_FALSE(Item(0).FPressed);

  // Released elsewhere: no click, the item rests.
  win::InjectMouseButton(0, true, Centre(0));
  win::InjectMouseMove({Centre(0).X, Centre(0).Y + 100});
  win::InjectMouseButton(0, false, {Centre(0).X, Centre(0).Y + 100});
  desktop.Pump();
  EXPECT_EQ(clicks, std::vector<int>{0});
  EXPECT_EQ(Item(0).GetState(), 0);
  EXPECT_EQ(bar->HotItem(), -1);
  EXPECT_EQ(leaves, 1);

  // The second tab goes down and raises the first; the frame shows both.
  MoveTo(Centre(2));
  win::InjectMouseButton(0, true, Centre(2));
  win::InjectMouseButton(0, false, Centre(2));
  desktop.Pump();
  EXPECT_EQ(clicks, (std::vector<int>{0, 2}));
  EXPECT_TRUE(Item(2).Down);
  EXPECT_FALSE(Item(1).Down);
  EXPECT_EQ(ScreenDiffers(Expected(), Item(1).Rect), 0);
  EXPECT_EQ(ScreenDiffers(Expected(), Item(2).Rect), 0);

  // Into the client area: nothing is hot.
  MoveTo({Window().Left + 200, Window().Top + 150});
  EXPECT_EQ(bar->HotItem(), -1);
  EXPECT_EQ(provider->CurrentHT(), 0);
}

TEST_F(ProviderTitleBarTest, AnItemFadesToThePictureTheFramePaints) {
  ASSERT_TRUE(manager->Effects().AllowGlowing);
  MoveTo(Centre(0));
  Run(200);
  const gfx::Bitmap screen = desktop.Compose();
  const gfx::Bitmap expected = Expected();
  const TRect r = Item(0).Rect;
  int wrong = 0;
  for (int y = r.Top; y < r.Bottom; ++y)
    for (int x = r.Left; x < r.Right; ++x) {
      const auto e = expected.At(x, y), v = screen.At(Window().Left + x, Window().Top + y);
      for (int c = 0; c < 3; ++c)
        if (std::abs(int(e >> (8 * c) & 255) - int(v >> (8 * c) & 255)) > 2) {
          ++wrong;
          break;
        }
    }
  EXPECT_EQ(wrong, 0);
}

// Screenshots of the form with its bar in every internal skin (frame/titlebar-N.png): in each
// the items stand between the left edge and the close button, and the resting button's caption
// is written in the font colour of the section painted behind it, so it reads on that face.
TEST_F(ProviderTitleBarTest, EverySkinShowsTheItemsLeftOfTheButtonsInReadableColours) {
  int i = 0;
  for (const auto& s : skin::data::InternalSkins()) {
    manager->SetSkinName(fw::Utf8ToUtf16(s.Name));
    desktop.Pump();
    ASSERT_TRUE(provider->Skinned()) << s.Name;
    for (auto& item : bar->Items()) {
      EXPECT_GT(item->Rect.Left, provider->BorderWidth()) << s.Name;
      EXPECT_LE(item->Rect.Right, Close().cpRect.Left - 6) << s.Name;
    }
    const int section = Item(0).SkinIndex;
    if (section >= 0) {
      const std::uint32_t font = paint::SwapRedBlue(
          std::uint32_t(Model().gd[std::size_t(section)].Props[0].FontColor.Color));
      const gfx::Bitmap screen = desktop.Compose();
      const TRect r = Item(0).Rect.Offset(Window().Left, Window().Top);
      int ink = 0;
      for (int y = r.Top; y < r.Bottom; ++y)
        for (int x = r.Left; x < r.Right; ++x) {
          int far = 0;
          for (int c = 0; c < 3; ++c)
            far = std::max(
                far, std::abs(int(screen.At(x, y) >> (8 * c) & 255) - int(font >> (8 * c) & 255)));
          if (far <= 16) ++ink;
        }
      EXPECT_GT(ink, 3) << s.Name << ": the caption is not in its section's colour";
    }
    gfx::WriteFileBytes(
        (tests::OutputFolder("frame") / ("titlebar-" + std::to_string(i++) + ".png")).string(),
        gfx::EncodePng(win::ComposeWindow(H())));
  }
}

TEST_F(ProviderTitleBarTest, TheBarGoingOrUnlinkedLeavesThePlainCaption) {
  MoveTo(Centre(0));
  delete bar;
  bar = nullptr;
  EXPECT_EQ(provider->TitleBar(), nullptr);
  EXPECT_EQ(provider->CurrentHT(), 0);
  desktop.Pump();
  MoveTo({Window().Left + 60, Window().Top + 8});
  EXPECT_EQ(HitAt(Window().Left + 60, Window().Top + 8), win::HTCAPTION);
}

// The control adapter: made with the skinned frame, it wraps the form's standard controls,
// takes new children, goes with the skin and comes back with it.
TEST_F(SkinProviderTest, TheAdapterWrapsStandardControlsAndFollowsTheSkin) {
  manager->ThirdParty().SetText(tpEdit, u"TEdit\nTMemo");
  LoadThirdNames(*manager, false);
  ASSERT_NE(provider->Adapter(), nullptr);
  EXPECT_EQ(provider->Adapter()->Count(), 0);
  auto* edit = new fw::TEdit(form);
  edit->SetBounds(10, 10, 100, 22);
  edit->SetParent(form);
  desktop.Pump();
  EXPECT_GE(provider->Adapter()->IndexOf(edit), 0);
  auto* memo = new fw::TMemo(form);
  memo->SetBounds(10, 40, 100, 60);
  memo->SetParent(form);
  desktop.Pump();
  EXPECT_GE(provider->Adapter()->IndexOf(memo), 0);
  EXPECT_EQ(provider->Adapter()->Count(), 2);

  manager->SetActive(false);
  desktop.Pump();
  EXPECT_EQ(provider->Adapter(), nullptr);
  manager->SetActive(true);
  desktop.Pump();
  ASSERT_NE(provider->Adapter(), nullptr);
  EXPECT_EQ(provider->Adapter()->Count(), 2);
}

// A form's own class-name lists take the place of the manager's: a run-time provider that
// names a class wraps it on a form whose manager names none.
TEST_F(SkinProviderTest, AFormsOwnListsServeItsAdapterInPlaceOfTheManagers) {
  auto* other = new fw::TForm(app.get());
  other->SetBounds(150, 120, 300, 200);
  auto* edit = new fw::TEdit(other);
  edit->SetBounds(10, 10, 100, 22);
  edit->SetParent(other);
  auto* memo = new fw::TMemo(other);
  memo->SetBounds(10, 40, 100, 60);
  memo->SetParent(other);
  TsSkinProvider* p = TsSkinProvider::CreateRunTime(*other);
  EXPECT_EQ(p->OwnThirdParty(), nullptr);
  EXPECT_EQ(p->ThirdParty().Text(tpButton), u"TButton");  // made with the defaults
  p->ThirdParty().SetText(tpEdit, u"TMemo");
  ASSERT_EQ(manager->ThirdLists(tpEdit).IndexOf(u"TMemo"), -1);
  other->Show();
  desktop.Pump();
  ASSERT_NE(p->Adapter(), nullptr);
  EXPECT_GE(p->Adapter()->IndexOf(memo), 0);
  EXPECT_EQ(p->Adapter()->IndexOf(edit), -1);
  EXPECT_NE(Ac_GetScrollWndFromHwnd(memo->Handle()), nullptr);
}

// Minimising a form other than the main form flies its picture to the taskbar on the virtual
// clock; restoring flies it back and gives the window back visible and without layering.
TEST_F(SkinProviderTest, MinimisingAndRestoringAFormRunOnTheClock) {
  auto* other = new fw::TForm(app.get());
  other->SetBorderStyle(fw::TFormBorderStyle::bsSizeable);
  other->SetBounds(150, 120, 300, 200);
  auto* p = new TsSkinProvider(other);
  other->Show();
  desktop.Pump();
  const win::HWND h = other->Handle();
  ASSERT_TRUE(p->Skinned());
  win::SendMessageW(h, win::WM_SYSCOMMAND, win::SC_MINIMIZE, 0);
  ASSERT_NE(p->FormTimer(), nullptr);
  EXPECT_TRUE(win::IsIconic(h));
  EXPECT_TRUE(win::GetWindowLongPtrW(h, win::GWL_EXSTYLE) & win::WS_EX_LAYERED);
  int ticks = FramesWhile([&] { return !p->FormTimer()->Minimized; });
  EXPECT_EQ(ticks, AnimFrameCount(manager->AnimEffects().Minimizing.Time) - 2);
  EXPECT_FALSE(win::GetWindowLongPtrW(h, win::GWL_EXSTYLE) & win::WS_EX_LAYERED);
  // A new work area puts the minimised picture onto the target again.
  TacMinTimer& timer = *p->FormTimer();
  timer.CurLeft = timer.CurRight = timer.XTo + 50;
  win::RECT work{0, 0, 800, 560};
  win::SystemParametersInfoW(win::SPI_SETWORKAREA, 0, &work, win::SPIF_SENDCHANGE);
  EXPECT_EQ(timer.CurLeft, timer.XTo);
  EXPECT_EQ(timer.CurRight, timer.XTo);
  win::SystemParametersInfoW(win::SPI_SETWORKAREA, 0, nullptr, 0);

  win::SendMessageW(h, win::WM_SYSCOMMAND, win::SC_RESTORE, 0);
  EXPECT_TRUE(win::IsIconic(h));  // until the picture is back
  ticks = FramesWhile([&] { return p->FormTimer()->Restoring; });
  EXPECT_LT(ticks, 40);
  EXPECT_FALSE(win::IsIconic(h));
  EXPECT_TRUE(win::IsWindowVisible(h));
  EXPECT_FALSE(win::GetWindowLongPtrW(h, win::GWL_EXSTYLE) & win::WS_EX_LAYERED);
  // The frame is the provider's picture again.
  desktop.Pump();
  const gfx::Bitmap shown = win::ComposeWindow(h);
  EXPECT_EQ(
      shown.At(p->Button(cbClose).cpRect.Left + 3, p->Button(cbClose).cpRect.Top + 3) & 0xFFFFFF,
      p->Cache()->At(p->Button(cbClose).cpRect.Left + 3, p->Button(cbClose).cpRect.Top + 3) &
          0xFFFFFF);
}

// The main form's minimise and restore go through the application window: its filter has the
// provider fly the picture to the taskbar and back on the clock; with animations off the
// application minimises the form plainly; with the main form on the taskbar the provider
// takes the commands itself.
TEST_F(SkinProviderTest, TheMainFormsMinimiseAndRestoreAreAnimatedThroughTheApplicationWindow) {
  fw::TForm* main = app->CreateForm<fw::TForm>();
  ASSERT_EQ(app->MainForm(), main);
  main->SetBorderStyle(fw::TFormBorderStyle::bsSizeable);
  main->SetBounds(150, 120, 300, 200);
  auto* p = new TsSkinProvider(main);
  int minimizes = 0, restores = 0;
  app->OnMinimize = [&](fw::TComponent*) { ++minimizes; };
  app->OnRestore = [&](fw::TComponent*) { ++restores; };
  std::vector<win::WPARAM> seen;
  const fw::TWndHookId spy = app->HookMainWindow([&](fw::TMessage& m) {
    if (m.Msg == win::WM_SYSCOMMAND) seen.push_back(m.WParam & 0xFFF0);
    return false;
  });
  main->Show();
  desktop.Pump();
  const win::HWND h = main->Handle();
  ASSERT_TRUE(p->Skinned());
  win::SendMessageW(h, win::WM_SYSCOMMAND, win::SC_MINIMIZE, 0);
  EXPECT_EQ(seen, (std::vector<win::WPARAM>{win::SC_MINIMIZE})) << "the application window saw it";
  EXPECT_EQ(manager->ShowState(), saMinimize);
  ASSERT_NE(p->FormTimer(), nullptr) << "the filter started the provider's animation";
  EXPECT_TRUE(win::IsIconic(h));
  EXPECT_EQ(minimizes, 1) << "the application's handler heard of it";
  int ticks = FramesWhile([&] { return !p->FormTimer()->Minimized; });
  EXPECT_EQ(ticks, AnimFrameCount(manager->AnimEffects().Minimizing.Time) - 2);
  win::SendMessageW(h, win::WM_SYSCOMMAND, win::SC_RESTORE, 0);
  EXPECT_EQ(manager->ShowState(), saRestore);
  EXPECT_TRUE(win::IsIconic(h)) << "until the picture is back";
  ticks = FramesWhile([&] { return p->FormTimer()->Restoring; });
  EXPECT_LT(ticks, 40);
  EXPECT_FALSE(win::IsIconic(h));
  EXPECT_TRUE(win::IsWindowVisible(h));
  EXPECT_FALSE(win::GetWindowLongPtrW(h, win::GWL_EXSTYLE) & win::WS_EX_LAYERED);
  EXPECT_EQ(restores, 1) << "once the picture is back";
  // A restore of a form that is not minimised stays the form's own (un-maximising).
  seen.clear();
  win::SendMessageW(h, win::WM_SYSCOMMAND, win::SC_MAXIMIZE, 0);
  win::SendMessageW(h, win::WM_SYSCOMMAND, win::SC_RESTORE, 0);
  EXPECT_TRUE(seen.empty());
  EXPECT_FALSE(win::IsZoomed(h));

  // Animations off: the application minimises and restores the form plainly.
  manager->Effects().AllowAnimation = false;
  win::SendMessageW(h, win::WM_SYSCOMMAND, win::SC_MINIMIZE, 0);
  EXPECT_TRUE(win::IsIconic(h));
  EXPECT_EQ(minimizes, 2);
  EXPECT_FALSE(win::GetWindowLongPtrW(h, win::GWL_EXSTYLE) & win::WS_EX_LAYERED);
  win::SendMessageW(h, win::WM_SYSCOMMAND, win::SC_RESTORE, 0);
  EXPECT_FALSE(win::IsIconic(h));
  EXPECT_EQ(restores, 2);
  manager->Effects().AllowAnimation = true;

  // The main form on the taskbar: its commands stay its own and its provider animates them.
  app->MainFormOnTaskBar = true;
  seen.clear();
  win::SendMessageW(h, win::WM_SYSCOMMAND, win::SC_MINIMIZE, 0);
  EXPECT_TRUE(seen.empty());
  EXPECT_TRUE(win::IsIconic(h));
  EXPECT_FALSE(p->FormTimer()->Minimized) << "flying";
  ticks = FramesWhile([&] { return !p->FormTimer()->Minimized; });
  EXPECT_LT(ticks, 40);
  app->UnhookMainWindow(spy);
}

// As the program ends the application window's filter fades the main form out through the
// provider, on the clock, before Run returns; without a fade time nothing waits.
TEST_F(SkinProviderTest, TheMainFormFadesOutAsTheProgramEnds) {
  fw::TForm* main = app->CreateForm<fw::TForm>();
  main->SetBorderStyle(fw::TFormBorderStyle::bsSizeable);
  main->SetBounds(150, 120, 300, 200);
  new TsSkinProvider(main);
  main->Show();
  desktop.Pump();
  const win::HWND h = main->Handle();
  ASSERT_EQ(manager->AnimEffects().FormHide.Time, 0);
  app->Terminate();
  win::DWORD start = win::GetTickCount();
  app->Run();
  EXPECT_LT(win::GetTickCount() - start, 12u);
  EXPECT_FALSE(win::GetWindowLongPtrW(h, win::GWL_EXSTYLE) & win::WS_EX_LAYERED);
  EXPECT_EQ(HideTimer(), nullptr) << "no fade ran";

  manager->AnimEffects().FormHide.Time = 120;
  start = win::GetTickCount();
  app->Run();  // terminated already: straight to the end
  const win::DWORD took = win::GetTickCount() - start;
  EXPECT_GE(took, 120u - acAnimPeriod);
  EXPECT_LT(took, 120u + 4 * acAnimPeriod);
  ASSERT_NE(HideTimer(), nullptr);
  EXPECT_EQ(HideTimer()->Form, nullptr) << "the cover went with the last frame";
  // The form stays out of sight until it is destroyed.
  win::BYTE alpha = 255;
  ASSERT_TRUE(win::GetLayeredWindowAttributes(h, nullptr, &alpha, nullptr));
  EXPECT_LE(alpha, 1);

  // A fade shorter than one frame runs none and does not wait for one either.
  main->Show();
  desktop.Pump();
  manager->AnimEffects().FormHide.Time = 5;
  start = win::GetTickCount();
  EXPECT_NO_THROW(app->Run());
  EXPECT_LT(win::GetTickCount() - start, 12u);
}

}  // namespace
}  // namespace skin::frame
