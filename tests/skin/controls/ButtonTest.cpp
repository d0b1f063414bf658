// Skinned buttons: the layout of glyph and caption as tables, the glyph's frame and drawing,
// and buttons on a form in an internal skin: their faces against the section painted alone,
// the caption's place, colours by modal result, children following the press, and the mouse
// on the virtual clock (enter, press, release, quick click, leaving while pressed, a button
// freed by its own click), and the split style of both buttons (parts, states, menu, keys).
#include <gtest/gtest.h>

#include <cstdlib>
#include <vector>

#include "TestOutput.h"
#include "framework/Menus.h"
#include "framework/Panel.h"
#include "framework/Reader.h"
#include "framework/Timer.h"
#include "platform/gfx/PictureCodec.h"
#include "platform/win/Backend.h"
#include "platform/win/MessageQueue.h"
#include "skin/controls/sButton.h"
#include "skin/controls/sControls.h"
#include "skin/core/sGraphUtils.h"
#include "skin/draw/sGraphUtils.h"
#include "skin/paint/sAlphaGraph.h"
#include "skin/frame/InternalSkinFormTest.h"
#include "skin/internal/sInternalSkins.h"

namespace skin::controls::test {
namespace {

using fw::TAlignment;
using fw::TButtonLayout;
using fw::TVerticalAlignment;
using gfx::TRect;

// ---- Layout tables -----------------------------------------------------------------------------

struct LayoutCase {
  const char* what;
  TacButtonLayoutIn in;
  TRect glyph, caption;
};

TacButtonLayoutIn In(gfx::TSize client, gfx::TSize glyph, gfx::TSize text,
                     TButtonLayout layout = TButtonLayout::blGlyphLeft, int margin = -1,
                     int spacing = 4, TAlignment alignment = TAlignment::taCenter,
                     TVerticalAlignment va = TVerticalAlignment::taVerticalCenter,
                     bool rtl = false) {
  return {client, glyph, text, layout, alignment, va, margin, spacing, rtl};
}

TEST(ButtonLayout, PlacesGlyphAndCaptionAsTheTableSays) {
  const std::vector<LayoutCase> cases = {
      // A caption alone is centred both ways: margin (100 - 80 + 1) / 2.
      {"caption only", In({100, 131}, {0, 0}, {80, 38}), {}, {10, 47, 90, 85}},
      {"caption only, odd room", In({75, 25}, {0, 0}, {50, 13}), {}, {13, 6, 63, 19}},
      // Glyph and caption centred as one block, 4 apart.
      {"centred block", In({100, 30}, {16, 16}, {40, 13}), {20, 7, 36, 23}, {40, 9, 80, 22}},
      // Automatic margin and spacing: a third each of the free room.
      {"even spacing",
       In({100, 30}, {16, 16}, {40, 13}, TButtonLayout::blGlyphLeft, -1, -1),
       {15, 7, 31, 23},
       {45, 9, 85, 22}},
      // A set margin and automatic spacing: the caption centred in what the glyph leaves.
      {"margin 5, left",
       In({100, 30}, {16, 16}, {40, 13}, TButtonLayout::blGlyphLeft, 5, -1,
          TAlignment::taLeftJustify),
       {5, 7, 21, 23},
       {40, 9, 95, 22}},
      {"glyph right, right",
       In({100, 30}, {16, 16}, {40, 13}, TButtonLayout::blGlyphRight, 3, 4,
          TAlignment::taRightJustify),
       {81, 7, 97, 23},
       {0, 9, 77, 22}},
      {"glyph right, centred",
       In({100, 30}, {16, 16}, {40, 13}, TButtonLayout::blGlyphRight),
       {64, 7, 80, 23},
       {20, 9, 60, 22}},
      // Not centred: the automatic margin is 2.
      {"left, automatic margin",
       In({100, 30}, {16, 16}, {40, 13}, TButtonLayout::blGlyphLeft, -1, 4,
          TAlignment::taLeftJustify),
       {2, 7, 18, 23},
       {22, 9, 98, 22}},
      {"glyph top",
       In({60, 80}, {16, 16}, {40, 13}, TButtonLayout::blGlyphTop),
       {22, 23, 38, 39},
       {10, 43, 50, 56}},
      {"glyph bottom",
       In({60, 80}, {16, 16}, {40, 13}, TButtonLayout::blGlyphBottom),
       {22, 41, 38, 57},
       {10, 24, 50, 37}},
      // The block to the top or bottom, the set margin away.
      {"top",
       In({100, 30}, {16, 16}, {40, 13}, TButtonLayout::blGlyphLeft, 4, 4,
          TAlignment::taLeftJustify, TVerticalAlignment::taAlignTop),
       {4, 4, 20, 20},
       {24, 6, 96, 19}},
      {"bottom",
       In({100, 30}, {16, 16}, {40, 13}, TButtonLayout::blGlyphLeft, 4, 4,
          TAlignment::taLeftJustify, TVerticalAlignment::taAlignBottom),
       {4, 10, 20, 26},
       {24, 12, 96, 25}},
      {"right to left",
       In({100, 30}, {16, 16}, {40, 13}, TButtonLayout::blGlyphLeft, -1, 4, TAlignment::taCenter,
          TVerticalAlignment::taVerticalCenter, true),
       {64, 7, 80, 23},
       {20, 9, 60, 22}},
  };
  for (const LayoutCase& c : cases) {
    const TacButtonLayoutOut out = CalcButtonLayout(c.in);
    EXPECT_EQ(out.Glyph, c.glyph) << c.what;
    EXPECT_EQ(out.Caption, c.caption) << c.what;
  }
}

TEST(ButtonLayout, CaptionIsWrappedNoWiderThanTheButtonLessItsMargins) {
  // The automatic margin (-1) counts as 0, not as a pixel outside on each side.
  EXPECT_EQ(MaxCaptionWidth(100, -1, 4, 0, TButtonLayout::blGlyphLeft, true, true), 100);
  EXPECT_EQ(MaxCaptionWidth(100, 3, 4, 16, TButtonLayout::blGlyphLeft, true, true), 74);
  EXPECT_EQ(MaxCaptionWidth(100, 3, 4, 16, TButtonLayout::blGlyphTop, true, true), 94);
  EXPECT_EQ(MaxCaptionWidth(100, 3, 4, 16, TButtonLayout::blGlyphLeft, false, true), 0);
  EXPECT_EQ(MaxCaptionWidth(100, 3, 4, 16, TButtonLayout::blGlyphLeft, true, false), 0);
  EXPECT_EQ(MaxCaptionWidth(10, 8, 4, 16, TButtonLayout::blGlyphLeft, true, true), 0);
}

// ---- Glyphs ------------------------------------------------------------------------------------

TEST(ButtonGlyph, FrameOfTheStripForEachState) {
  // Own order: the state's frame as far as the strip goes.
  EXPECT_EQ(GlyphFrame(0, 4, true, false), 0);
  EXPECT_EQ(GlyphFrame(1, 4, true, false), 1);
  EXPECT_EQ(GlyphFrame(2, 2, true, false), 1);
  EXPECT_EQ(GlyphFrame(3, 1, true, false), 0);
  // The framework's order: up, disabled, down.
  EXPECT_EQ(GlyphFrame(1, 4, true, true), 0);
  EXPECT_EQ(GlyphFrame(2, 3, true, true), 2);
  EXPECT_EQ(GlyphFrame(2, 2, true, true), 0);
  EXPECT_EQ(GlyphFrame(0, 2, false, true), 1);
  EXPECT_EQ(GlyphFrame(0, 1, false, true), 0);
}

TEST(ButtonGlyph, DrawsTheStateFrameGreyedAndBlendedAsAsked) {
  // A strip of two opaque frames: red, then blue.
  gfx::Bitmap strip(8, 4);
  for (int y = 0; y < 4; ++y)
    for (int x = 0; x < 8; ++x)
      strip.Set(x, y, x < 4 ? gfx::MakePixel(0, 0, 255, 255) : gfx::MakePixel(255, 0, 0, 255));
  gfx::Bitmap dst(10, 10);
  skin::paint::FillRect32(dst, dst.Bounds(), 0xFFFFFF, 255);
  TacDrawGlyphData d;
  d.Glyph = &strip;
  d.NumGlyphs = 2;
  d.DstBmp = &dst;
  d.ImgRect = gfx::RectOfSize(3, 3, 4, 4);
  d.CurrentState = 1;
  acDrawGlyphEx(d);
  EXPECT_EQ(dst.At(3, 3) & 0xFFFFFF, gfx::MakePixel(255, 0, 0, 0) & 0xFFFFFF);  // the hot frame
  EXPECT_EQ(dst.At(2, 3) & 0xFFFFFF, 0xFFFFFFu);                                // outside kept
  // Greyed in the normal state: equal channels.
  d.CurrentState = 0;
  d.Grayed = true;
  acDrawGlyphEx(d);
  const std::uint32_t grey = dst.At(4, 4);
  // Equal channels, but for the pixel weighing's rounding.
  EXPECT_LE(std::abs(int(grey & 0xFF) - int((grey >> 8) & 0xFF)), 1);
  EXPECT_LE(std::abs(int(grey & 0xFF) - int((grey >> 16) & 0xFF)), 1);
  EXPECT_GT(grey & 0xFF, 40u);  // the red turned grey, not black
  // Disabled and blended: half of the white behind shows through.
  skin::paint::FillRect32(dst, dst.Bounds(), 0xFFFFFF, 255);
  d.Grayed = false;
  d.Enabled = false;
  d.DisabledGlyphKind = dgBlended;
  acDrawGlyphEx(d);
  const std::uint32_t blended = dst.At(4, 4);
  EXPECT_GT(blended & 0xFF, 100u);  // blue and green rise toward white
  EXPECT_GT((blended >> 8) & 0xFF, 100u);
  // Nothing without a target or a picture.
  d.DstBmp = nullptr;
  acDrawGlyphEx(d);
  d.DstBmp = &dst;
  d.Glyph = nullptr;
  const gfx::Bitmap before = dst;
  acDrawGlyphEx(d);
  EXPECT_EQ(dst, before);
}

// ---- On a form ---------------------------------------------------------------------------------

class SkinnedButtonTest : public skin::frame::test::InternalSkinFormTest {
 protected:
  void SetUp() override {
    MakeSkinnedForm(400, 300);
    form->SetColor(fw::clWhite);
  }
  template <class B>
  B* Add(int left, int top, int width, int height, const std::u16string& caption) {
    auto* b = new B(form);
    b->SetBounds(left, top, width, height);
    b->SetCaption(caption);
    b->SetParent(form);
    return b;
  }
  // An image list of one red 16 x 16 picture.
  fw::TImageList* RedList() {
    auto* list = new fw::TImageList(form);
    list->SetSize(16, 16);
    gfx::Bitmap red(16, 16);
    red.Fill(gfx::MakePixel(0, 0, 255, 255));
    list->Add(u"red", red);
    return list;
  }
  // Shows the form with the focus on a plain button, so the skinned ones are not active.
  void Show() {
    auto* sink = new fw::TButton(form);
    sink->SetBounds(300, 260, 60, 25);
    sink->SetParent(form);
    form->Show();
    desktop.Pump();
    sink->SetFocus();
    desktop.Pump();
  }
  void MoveTo(int x, int y) {
    win::InjectMouseMove({x, y});
    desktop.Pump();
  }
  void Button(bool down, int x, int y) {
    win::InjectMouseButton(0, down, {x, y});
    desktop.Pump();
  }
  void Settle(core::TsCommonData& cd) {
    for (int i = 0; i < 50 && core::TimerIsActive(cd); ++i) desktop.Advance(12);
  }
  // The section painted alone for state over the button's background, at the button's size.
  template <class B>
  gfx::Bitmap SectionAlone(B& b, int state) {
    core::TsCommonData& cd = b.SkinData();
    draw::TacBGInfo bg;
    core::GetBGInfo(bg, form, false);
    if (bg.BgType == draw::TacBGType::btCache) {
      bg.Offset.X += b.Left();
      bg.Offset.Y += b.Top();
    }
    gfx::Bitmap out(b.Width(), b.Height());
    draw::PaintItem(manager->SkinModel(), core::ControlPaintOf(cd), core::BGInfoToCI(bg), true,
                    state, out.Bounds(), {0, 0}, &out, true);
    return out;
  }
  // Pixels of the cache outside r that differ from want.
  int DiffOutside(const gfx::Bitmap& cache, const gfx::Bitmap& want, const TRect& r) {
    int n = 0;
    for (int y = 0; y < cache.Height(); ++y)
      for (int x = 0; x < cache.Width(); ++x)
        if (!r.Contains({x, y}) && cache.At(x, y) != want.At(x, y)) ++n;
    return n;
  }
  // Writes bmp as an opaque picture: a control's cache carries colours only, its alpha bytes
  // mean nothing (text leaves 0 there, as on the platform), so written as they are the caption
  // would show through to whatever a viewer puts behind the picture.
  void Save(const gfx::Bitmap& bmp, const std::string& name) {
    gfx::Bitmap opaque = bmp;
    skin::paint::FillAlphaRect(opaque, opaque.Bounds(), 255, skin::paint::clNone);
    auto png = gfx::EncodePng(opaque);
    std::FILE* f = std::fopen((tests::OutputFolder("buttons") / name).c_str(), "wb");
    if (!f) return;
    std::fwrite(png.data(), 1, png.size(), f);
    std::fclose(f);
  }
};

TEST_F(SkinnedButtonTest, EachStateFaceOutsideItsTextIsTheSectionPaintedAlone) {
  auto* b = Add<TsBitBtn>(20, 20, 100, 131, u"Развернуть/\r\nсвернуть");
  Show();
  ASSERT_TRUE(b->SkinData().Skinned());
  const int states = manager->SkinModel()->gd[std::size_t(b->SkinData().SkinIndex)].States;
  struct Step {
    const char* what;
    std::function<void()> set;
    int state;
  };
  const std::vector<Step> steps = {
      {"normal", [] {}, 0},
      {"hot", [&] { b->SkinData().FMouseAbove = true; }, 1},
      {"pressed", [&] { b->SetDown(true); }, 2},
      {"default",
       [&] {
         b->SetDown(false);
         b->SkinData().FMouseAbove = false;
         b->SetDefault(true);
       },
       3},
  };
  for (const Step& s : steps) {
    s.set();
    ASSERT_EQ(b->CurrentState(), s.state) << s.what;
    ASSERT_TRUE(b->PrepareCache()) << s.what;
    // Sections of fewer than four states show the default button as hot.
    const int shown = s.state == 3 && states < 4 ? 1 : std::min(s.state, states - 1);
    const gfx::Bitmap& cache = *b->SkinData().CacheBmp();
    Save(cache, std::string("bitbtn-") + s.what + ".png");
    TRect text = b->CaptionRect();
    if (s.state == 2) text = text.Offset(1, 1);
    EXPECT_EQ(DiffOutside(cache, SectionAlone(*b, shown), text), 0) << s.what;
    EXPECT_NE(DiffOutside(cache, SectionAlone(*b, shown), {}), 0) << s.what << ": no caption";
    EXPECT_EQ(b->SkinState(), s.state) << s.what;
  }
}

TEST_F(SkinnedButtonTest, PrintClientGivesTheCacheAndADisabledFaceFadesTowardItsParent) {
  auto* b = Add<TsBitBtn>(20, 20, 100, 40, u"Go");
  Show();
  ASSERT_TRUE(b->PrepareCache());
  const gfx::Bitmap enabled = *b->SkinData().CacheBmp();
  gfx::Bitmap printed(100, 40);
  gfx::DeviceContext dc(printed);
  b->Perform(win::WM_PRINTCLIENT, win::WPARAM(&dc), 0);
  EXPECT_EQ(DiffOutside(printed, enabled, {}), 0);
  // Disabled: nearer the white form everywhere on average, and no longer hot under the mouse.
  b->SetEnabled(false);
  desktop.Pump();
  MoveTo(60, 40);
  EXPECT_EQ(b->CurrentState(), 0);
  ASSERT_TRUE(b->PrepareCache());
  const gfx::Bitmap& disabled = *b->SkinData().CacheBmp();
  auto distance = [](const gfx::Bitmap& bmp) {
    long sum = 0;
    for (int y = 0; y < bmp.Height(); ++y)
      for (int x = 0; x < bmp.Width(); ++x) {
        const std::uint32_t p = bmp.At(x, y);
        sum += 765 - int(p & 0xFF) - int((p >> 8) & 0xFF) - int((p >> 16) & 0xFF);
      }
    return sum;
  };
  EXPECT_LT(distance(disabled), distance(enabled));
}

TEST_F(SkinnedButtonTest, ALayoutChangeShowsAtTheNextPaint) {
  auto* b = Add<TsBitBtn>(20, 20, 100, 40, u"Go");
  Show();
  const TRect centred = b->CaptionRect();
  ASSERT_FALSE(centred.IsEmpty());
  b->SetMargin(3);
  b->SetSpacing(4);
  b->SetAlignment(TAlignment::taLeftJustify);
  desktop.Pump();
  EXPECT_EQ(b->CaptionRect().Left, 3);
  EXPECT_NE(b->CaptionRect(), centred);
  // A new caption repaints from a rebuilt cache.
  b->SetCaption(u"Gone");
  desktop.Pump();
  EXPECT_FALSE(b->SkinData().BGChanged);
}

// The image's red, but for the pixel weighing's rounding.
bool Red(std::uint32_t p) {
  return ((p >> 16) & 0xFF) >= 250 && ((p >> 8) & 0xFF) <= 4 && (p & 0xFF) <= 4;
}

TEST_F(SkinnedButtonTest, ImagesFromTheListStandBesideTheCaption) {
  fw::TImageList* list = RedList();
  auto* push = Add<TsButton>(20, 20, 120, 40, u"Go");
  push->SetImages(list);
  push->SetImageIndex(0);
  push->SetImageMargins({2, 0, 2, 0});
  auto* bit = Add<TsBitBtn>(20, 80, 120, 40, u"Go");
  bit->SetImages(list);
  bit->SetImageIndex(0);
  Show();
  ASSERT_TRUE(push->PrepareCache());
  {
    // Inside the content margin at the left, centred down; the caption after it and its margin.
    const gfx::TPoint g = push->GlyphPos();
    EXPECT_EQ(g.X, 6 + 2);
    EXPECT_EQ(g.Y, (40 - 16) / 2);
    EXPECT_TRUE(Red(push->SkinData().CacheBmp()->At(g.X + 8, g.Y + 8)));
    EXPECT_GE(push->CaptionRect().Left, g.X + 16 + 2);
  }
  ASSERT_TRUE(bit->PrepareCache());
  const gfx::TPoint g = bit->GlyphPos();
  EXPECT_TRUE(Red(bit->SkinData().CacheBmp()->At(g.X + 8, g.Y + 8)));
  EXPECT_EQ(bit->CaptionRect().Left - (g.X + 16), bit->Spacing());
  // Discoloured in the normal state, its colours back when hot.
  bit->SetGrayed(true);
  ASSERT_TRUE(bit->PrepareCache());
  std::uint32_t p = bit->SkinData().CacheBmp()->At(g.X + 8, g.Y + 8);
  EXPECT_LE(std::abs(int(p & 0xFF) - int((p >> 16) & 0xFF)), 1);
  bit->SkinData().FMouseAbove = true;
  ASSERT_TRUE(bit->PrepareCache());
  p = bit->SkinData().CacheBmp()->At(g.X + 8, g.Y + 8);
  EXPECT_TRUE(Red(p));
}

TEST_F(SkinnedButtonTest, TwoLineCaptionIsCentredInTheTallButton) {
  auto* b = Add<TsBitBtn>(20, 20, 100, 131, u"Развернуть/\r\nсвернуть");
  b->SetParentFont(false);
  b->Font().SetName(u"Tahoma");
  b->Font().SetHeight(-16);
  Show();
  ASSERT_TRUE(b->PrepareCache());
  const TRect r = b->CaptionRect();
  ASSERT_FALSE(r.IsEmpty());
  EXPECT_LE(std::abs(r.Left - (100 - r.Right)), 1) << r.Left << " " << r.Right;
  EXPECT_LE(std::abs(r.Top - (131 - r.Bottom)), 1) << r.Top << " " << r.Bottom;
  // Two lines: about twice the height of one.
  fw::TCanvas canvas;
  gfx::Bitmap scratch(1, 1);
  gfx::DeviceContext dc(scratch);
  canvas.SetHandle(&dc);
  canvas.Font.Assign(b->Font());
  b->SetCaption(u"свернуть");
  const int one = b->TextRectSize(canvas).cy;
  EXPECT_GE(r.Height(), 2 * one - 1);
  EXPECT_LE(r.Width(), 100);
}

TEST_F(SkinnedButtonTest, WrappedCaptionNeverComesOutWiderThanTheButton) {
  auto* b = Add<TsBitBtn>(20, 20, 100, 40, u"");
  Show();
  fw::TCanvas canvas;
  gfx::Bitmap scratch(1, 1);
  gfx::DeviceContext dc(scratch);
  canvas.SetHandle(&dc);
  canvas.Font.Assign(b->Font());
  // Words of every length, so that some line fills the room to its last pixel.
  for (int len = 1; len <= 12; ++len)
    for (int extra = 0; extra < 6; ++extra) {
      std::u16string caption;
      for (int w = 0; w < 8; ++w)
        caption += std::u16string(std::size_t(len + (w < extra)), u'e') + u" ";
      b->SetCaption(caption);
      EXPECT_LE(b->TextRectSize(canvas).cx, 100) << len << " " << extra;
    }
}

TEST_F(SkinnedButtonTest, ModalResultColoursCaptionAndGlyph) {
  auto* b = Add<TsBitBtn>(20, 20, 100, 30, u"OK");
  b->SetModalResult(fw::mrOk);
  manager->ButtonsOptions().ModalButtonsColoring =
      core::acBit(core::bcText) | core::acBit(core::bcGlyph);
  Show();
  EXPECT_EQ(b->GetColoring(0).ColorText, 0x28851Au);
  EXPECT_EQ(b->GetColoring(1).ColorGlyph, 0x008E00u);
  EXPECT_EQ(b->GetColoring(0).ColorToneBG, TacColoring::None);
  ASSERT_TRUE(b->PrepareCache());
  // Some caption pixel is plainly green.
  const gfx::Bitmap& cache = *b->SkinData().CacheBmp();
  bool green = false;
  const TRect r = b->CaptionRect();
  for (int y = r.Top; y < r.Bottom; ++y)
    for (int x = r.Left; x < r.Right; ++x) {
      const std::uint32_t p = cache.At(x, y);
      const int bl = int(p & 0xFF), g = int((p >> 8) & 0xFF), rd = int((p >> 16) & 0xFF);
      green |= g > rd + 60 && g > bl + 60;
    }
  EXPECT_TRUE(green);
  // Cancel: red; another result: nothing; the control's own tone wins over the table.
  b->SetModalResult(fw::mrCancel);
  EXPECT_EQ(b->GetColoring(0).ColorText, 0x0000B4u);
  b->SetModalResult(fw::mrNone);
  EXPECT_EQ(b->GetColoring(0).ColorText, TacColoring::None);
  b->SetModalResult(fw::mrOk);
  b->SkinData().SetColorTone(0x123456);
  EXPECT_EQ(b->GetColoring(0).ColorToneBG, 0x123456u);
  EXPECT_EQ(b->GetColoring(0).ColorText, TacColoring::None);
  // The handler has the last word.
  b->OnGetColoring = [](fw::TComponent*, int, TacColoring& c) { c.ColorText = 0x0000FF; };
  EXPECT_EQ(b->GetColoring(0).ColorText, 0x0000FFu);
}

TEST_F(SkinnedButtonTest, ChildrenFollowThePressAndComeBack) {
  auto* b = Add<TsBitBtn>(20, 20, 100, 60, u"");
  b->SetAcceptsControls(true);
  auto* child = new fw::TPanel(form);
  child->SetBounds(5, 5, 20, 20);
  child->SetParent(b);
  Show();
  b->SetDown(true);
  ASSERT_TRUE(b->PrepareCache());
  EXPECT_TRUE(b->ControlsShifted());
  EXPECT_EQ(child->Left(), 6);
  EXPECT_EQ(child->Top(), 6);
  ASSERT_TRUE(b->PrepareCache());  // once only
  EXPECT_EQ(child->Left(), 6);
  b->SetDown(false);
  ASSERT_TRUE(b->PrepareCache());
  EXPECT_FALSE(b->ControlsShifted());
  EXPECT_EQ(child->Left(), 5);
  EXPECT_EQ(child->Top(), 5);
}

TEST_F(SkinnedButtonTest, EnterPressReleaseFadeThroughTheStates) {
  auto* b = Add<TsBitBtn>(20, 20, 100, 40, u"Go");
  int entered = 0, left = 0, clicks = 0;
  b->OnMouseEnter = [&](fw::TComponent*) { ++entered; };
  b->OnMouseLeave = [&](fw::TComponent*) { ++left; };
  b->OnClick = [&](fw::TComponent*) { ++clicks; };
  Show();
  core::TsCommonData& cd = b->SkinData();
  MoveTo(60, 40);
  EXPECT_EQ(entered, 1);
  EXPECT_EQ(b->CurrentState(), 1);
  EXPECT_TRUE(core::TimerIsActive(cd));  // a fade toward hot
  Settle(cd);
  Button(true, 60, 40);
  EXPECT_EQ(b->CurrentState(), 2);
  EXPECT_EQ(b->SkinState(), 2);
  EXPECT_TRUE(core::TimerIsActive(cd));
  Settle(cd);
  const win::DWORD before = win::GetTickCount();
  Button(false, 60, 40);
  EXPECT_EQ(clicks, 1);
  // The fade had ended: no wait, a fade back to hot.
  EXPECT_LT(win::GetTickCount() - before, 30u);
  EXPECT_EQ(b->CurrentState(), 1);
  Settle(cd);
  MoveTo(300, 250);
  EXPECT_EQ(left, 1);
  EXPECT_TRUE(b->Focused());  // the click focused it: hot still
  EXPECT_EQ(b->CurrentState(), 1);
  Settle(cd);
  EXPECT_FALSE(core::TimerIsActive(cd));
}

TEST_F(SkinnedButtonTest, QuickClickShowsThePressedFaceForThirtyMilliseconds) {
  auto* b = Add<TsBitBtn>(20, 20, 100, 40, u"Go");
  std::vector<int> painted;
  b->OnPaint = [&](fw::TComponent*, gfx::Bitmap&) { painted.push_back(b->CurrentState()); };
  int clicks = 0;
  b->OnClick = [&](fw::TComponent*) { ++clicks; };
  Show();
  MoveTo(60, 40);
  Settle(b->SkinData());
  Button(true, 60, 40);
  ASSERT_TRUE(core::TimerIsActive(b->SkinData()));  // the fade to pressed has not arrived
  painted.clear();
  const win::DWORD before = win::GetTickCount();
  Button(false, 60, 40);
  EXPECT_GE(win::GetTickCount() - before, 30u);
  ASSERT_FALSE(painted.empty());
  EXPECT_EQ(painted.front(), 2);  // the pressed face first
  EXPECT_EQ(clicks, 1);
  EXPECT_EQ(b->CurrentState(), 1);  // then toward hot, the pointer still above
}

TEST_F(SkinnedButtonTest, PressedAndMovedOffShowsNotPressedUnlessHoverIsOff) {
  auto* b = Add<TsBitBtn>(20, 20, 100, 40, u"Go");
  Show();
  MoveTo(60, 40);
  Button(true, 60, 40);
  EXPECT_EQ(b->CurrentState(), 2);
  MoveTo(300, 250);  // held, off the button
  EXPECT_NE(b->CurrentState(), 2);
  MoveTo(60, 40);
  EXPECT_EQ(b->CurrentState(), 2);
  Button(false, 60, 40);
  // With hover off, a held button keeps its pressed face wherever the pointer is.
  manager->Options().NoMouseHover = true;
  Button(true, 60, 40);
  b->Perform(win::BM_SETSTATE, 1, 0);
  MoveTo(300, 250);
  b->Perform(win::BM_SETSTATE, 1, 0);
  EXPECT_EQ(b->CurrentState(), 2);
  Button(false, 300, 250);
}

TEST_F(SkinnedButtonTest, ButtonFreedByItsOwnClickLeavesCleanly) {
  auto* b = Add<TsBitBtn>(20, 20, 100, 40, u"Go");
  bool freed = false;
  // Freeing the button frees this handler too: nothing of it is touched after the delete.
  b->OnClick = [&](fw::TComponent*) {
    freed = true;
    auto* going = b;
    b = nullptr;
    delete going;
  };
  Show();
  MoveTo(60, 40);
  Settle(b->SkinData());
  Button(true, 60, 40);
  Button(false, 60, 40);  // a quick click: the wait, then the click that frees it
  EXPECT_TRUE(freed);
  desktop.Advance(100);
  desktop.Pump();
  // A second one, freed during the quick click's wait by a posted message.
  auto* c = Add<TsBitBtn>(20, 80, 100, 40, u"Go");
  desktop.Pump();
  MoveTo(60, 100);
  Button(true, 60, 100);
  ASSERT_TRUE(core::TimerIsActive(c->SkinData()));
  // A timer due during the wait frees it.
  auto* timer = new fw::TTimer(form);
  timer->SetInterval(1);
  timer->SetOnTimer([&](fw::TComponent*) {
    timer->SetEnabled(false);
    delete c;
    c = nullptr;
  });
  timer->SetEnabled(true);
  int clicks = 0;
  c->OnClick = [&](fw::TComponent*) { ++clicks; };
  Button(false, 60, 100);
  EXPECT_EQ(c, nullptr);
  EXPECT_EQ(clicks, 0);
  desktop.Advance(100);
  desktop.Pump();
}

TEST_F(SkinnedButtonTest, DefaultPushButtonShowsTheDefaultFaceUntilActive) {
  auto* b = Add<TsButton>(20, 20, 75, 25, u"sButton1");
  b->SetDefault(true);
  Show();
  EXPECT_EQ(b->CurrentState(), 3);
  b->SkinData().FMouseAbove = true;
  EXPECT_EQ(b->CurrentState(), 1);
  b->SkinData().FMouseAbove = false;
  ASSERT_TRUE(b->PrepareCache());
  const int states = manager->SkinModel()->gd[std::size_t(b->SkinData().SkinIndex)].States;
  const gfx::Bitmap& cache = *b->SkinData().CacheBmp();
  EXPECT_EQ(DiffOutside(cache, SectionAlone(*b, states < 4 ? 1 : 3), b->CaptionRect()), 0);
  // The caption is centred.
  const TRect r = b->CaptionRect();
  EXPECT_LE(std::abs(r.Left - (75 - r.Right)), 1);
  // A command link's caption starts after its image room, at the top margin.
  b->SetStyle(TButtonStyle::bsCommandLink);
  ASSERT_TRUE(b->PrepareCache());
  EXPECT_EQ(b->CaptionRect().Left, 6 + 32 + 6);
  EXPECT_EQ(b->CaptionRect().Top, 6);
}

TEST_F(SkinnedButtonTest, EveryInternalSkinDrawsTheCataloguesButtonsWithoutKeyColour) {
  // On a panel, as in the catalogue: the panel's section names the caption's colours.
  auto* panel = new TsPanel(form);
  panel->SetBounds(0, 0, 400, 200);
  panel->SetParent(form);
  auto* tall = Add<TsBitBtn>(10, 10, 100, 131, u"Развернуть/\r\nсвернуть");
  tall->SetParent(panel);
  tall->SetParentFont(false);
  tall->Font().SetName(u"Tahoma");
  tall->Font().SetHeight(-16);
  auto* wide = Add<TsBitBtn>(120, 10, 393 - 200, 27, u">>");
  wide->SetParent(panel);
  Show();
  // One row per skin: the tall button and the wide one, normal, hot, pressed, focused, disabled.
  const auto& skins = skin::data::InternalSkins();
  const int cell = 110, rowH = 140;
  gfx::Bitmap sheet(5 * cell + 5 * 200, int(skins.size()) * rowH);
  skin::paint::FillRect32(sheet, sheet.Bounds(), 0x808080, 255);
  int row = 0;
  for (const auto& s : skins) {
    manager->SetSkinName(fw::Utf8ToUtf16(s.Name));
    desktop.Pump();
    for (int look = 0; look < 5; ++look) {
      for (TsBitBtn* b : {tall, wide}) {
        b->SetEnabled(look != 4);
        b->SetDown(look == 2);
        b->SkinData().FMouseAbove = look == 1;
        b->SkinData().FFocused = false;
        if (look == 3) b->SetFocus();
        desktop.Pump();
        ASSERT_TRUE(b->PrepareCache()) << s.Name << " " << look;
        const gfx::Bitmap& cache = *b->SkinData().CacheBmp();
        for (int y = 0; y < cache.Height(); ++y)
          for (int x = 0; x < cache.Width(); ++x)
            ASSERT_NE(cache.At(x, y) & 0xFFFFFF, 0xFF00FFu)
                << s.Name << " look " << look << " at " << x << "," << y;
        if (b == tall && row == 7) {
          gfx::Bitmap big(cache.Width() * 4, cache.Height() * 4);
          for (int y = 0; y < big.Height(); ++y)
            for (int x = 0; x < big.Width(); ++x) big.Set(x, y, cache.At(x / 4, y / 4));
          Save(big, "tall-" + std::to_string(look) + ".png");
        }
        const int left = b == tall ? look * cell : 5 * cell + look * 200;
        sheet.CopyFrom(cache, cache.Bounds(), {left, row * rowH});
      }
      if (look == 3) form->SetFocus();
    }
    ++row;
  }
  Save(sheet, "skins.png");
  // The picture shows every caption: no pixel of it is transparent.
  const gfx::Bitmap written = gfx::DecodePng(
      gfx::ReadFileBytes((tests::OutputFolder("buttons") / "skins.png").string()));
  ASSERT_EQ(written.Width(), sheet.Width());
  int seeThrough = 0;
  for (int y = 0; y < written.Height(); ++y)
    for (int x = 0; x < written.Width(); ++x) seeThrough += gfx::PixelA(written.At(x, y)) != 255;
  EXPECT_EQ(seeThrough, 0);
}

// Pixels of the cache inside r (clipped to it) that differ from want.
int DiffInside(const gfx::Bitmap& cache, const gfx::Bitmap& want, const TRect& r) {
  int n = 0;
  for (int y = std::max(r.Top, 0); y < std::min(r.Bottom, cache.Height()); ++y)
    for (int x = std::max(r.Left, 0); x < std::min(r.Right, cache.Width()); ++x)
      if (cache.At(x, y) != want.At(x, y)) ++n;
  return n;
}

// Sum of the channel differences of two pixels.
int Distance(std::uint32_t a, std::uint32_t b) {
  int d = 0;
  for (int shift : {0, 8, 16}) d += std::abs(int((a >> shift) & 0xFF) - int((b >> shift) & 0xFF));
  return d;
}

// A colour as a pixel word.
std::uint32_t PixelOf(fw::TColor c) {
  return gfx::PixelFromColor(gfx::COLORREF(c & 0xFFFFFF), 255);
}

// Both buttons keep the split style's drop-down part: the bit button as the push button.
template <class B>
class SplitButtonSkinTest : public SkinnedButtonTest {
 protected:
  void SetUp() override {
    SkinnedButtonTest::SetUp();
    b = Add<B>(20, 20, 120, 30, u"Split");
    b->SetStyle(TButtonStyle::bsSplitButton);
    b->OnClick = [this](fw::TComponent*) { ++clicks; };
    menu = new fw::TPopupMenu(form);
    auto* item = new fw::TMenuItem(menu);
    item->SetCaption(u"Item");
    menu->Items()->Add(item);
    b->SetDropDownMenu(menu);
    Show();
  }
  int States() const {
    return manager->SkinModel()->gd[std::size_t(b->SkinData().SkinIndex)].States;
  }
  int Shown(int state) const { return std::min(state == 3 && States() < 4 ? 1 : state, States() - 1); }
  // The face outside the caption and the part is the section alone in the main state, and the
  // part's right columns (no arrow or divider there) the section alone in the part's state.
  void ExpectFaces(const char* what, int mainState, int partState) {
    SCOPED_TRACE(what);
    EXPECT_EQ(b->CurrentState(), mainState);
    EXPECT_EQ(b->DropDownState(), partState);
    ASSERT_TRUE(b->PrepareCache());
    const gfx::Bitmap& cache = *b->SkinData().CacheBmp();
    Save(cache, Name("split-") + what + ".png");
    const TRect part = b->DropDownRect();
    TRect caption = b->CaptionRect();
    if (Shown(mainState) == 2) caption = caption.Offset(1, 1);
    // A focused button frames its caption.
    if (b->Focused()) caption = {caption.Left - 3, caption.Top - 2, caption.Right + 3, caption.Bottom + 2};
    // A bit button's caption takes the main face's width; the part is compared on its own.
    caption.Right = std::min(caption.Right, part.Left);
    const gfx::Bitmap main = SectionAlone(*b, Shown(mainState));
    EXPECT_EQ(DiffInside(cache, main, {0, 0, part.Left, cache.Height()}),
              DiffInside(cache, main, caption));
    const gfx::Bitmap own = SectionAlone(*b, Shown(partState));
    EXPECT_EQ(DiffInside(cache, own, {part.Right - 2, 0, part.Right, cache.Height()}), 0);
    // The arrow: drawn in the part, and only there.
    EXPECT_GT(DiffInside(cache, own, {part.Left + 2, 0, part.Right, cache.Height()}), 4);
  }
  // A picture's name for this kind of button.
  std::string Name(const std::string& what) const { return b->ClassName() + "-" + what; }
  B* b = nullptr;
  fw::TPopupMenu* menu = nullptr;
  int clicks = 0;
};

using SplitButtonKinds = ::testing::Types<TsButton, TsBitBtn>;
TYPED_TEST_SUITE(SplitButtonSkinTest, SplitButtonKinds);

TYPED_TEST(SplitButtonSkinTest, EachPartShowsItsOwnStateFromTheSection) {
  [[maybe_unused]] auto*& b = this->b;
  [[maybe_unused]] auto*& menu = this->menu;
  [[maybe_unused]] auto& desktop = this->desktop;
  [[maybe_unused]] auto& manager = this->manager;
  EXPECT_EQ(b->DropDownRect(), (TRect{104, 0, 120, 30}));
  // The caption stays out of the part.
  EXPECT_LE(b->CaptionRect().Right, 104);
  this->ExpectFaces("rest", 0, 0);
  this->MoveTo(40, 35);  // the main part
  this->Settle(b->SkinData());
  EXPECT_EQ(b->HotPart(), fw::TSplitPart::spMain);
  this->ExpectFaces("hot-main", 1, 0);
  this->MoveTo(133, 35);  // the arrow part: only it is hot
  this->Settle(b->SkinData());
  EXPECT_EQ(b->HotPart(), fw::TSplitPart::spDropDown);
  this->ExpectFaces("hot-part", 0, 1);
  // Pressed on the main part: a click, no menu.
  this->MoveTo(40, 35);
  this->Button(true, 40, 35);
  this->Settle(b->SkinData());
  this->ExpectFaces("pressed-main", 2, 0);
  this->Button(false, 40, 35);
  EXPECT_EQ(this->clicks, 1);
  // Pressed on the part: the menu opens and the part shows pressed while it is open; the main
  // face is hot for the focus the press gave.
  this->MoveTo(133, 35);
  int opened = 0;
  menu->OnPopup = [&](fw::TComponent*) { ++opened; };
  desktop.Schedule(10, [&] {
    this->ExpectFaces("dropped", 1, 2);
    gfx::Bitmap screen = desktop.Compose();
    this->Save(screen.Copy({0, 0, 200, 120}), this->Name("split-open.png"));
    win::InjectKey(0x01, true);
    win::InjectKey(0x01, false);
  });
  this->Button(true, 133, 35);
  this->Button(false, 133, 35);
  EXPECT_EQ(opened, 1);
  EXPECT_EQ(this->clicks, 1);
  EXPECT_FALSE(b->DroppedDown());
  EXPECT_EQ(b->DropDownState(), 1);
}

TYPED_TEST(SplitButtonSkinTest, ThePartScalesAndEverySkinDrawsItWithoutKeyColour) {
  [[maybe_unused]] auto*& b = this->b;
  [[maybe_unused]] auto*& menu = this->menu;
  [[maybe_unused]] auto& desktop = this->desktop;
  [[maybe_unused]] auto& manager = this->manager;
  const auto& skins = skin::data::InternalSkins();
  gfx::Bitmap sheet(6 * 130, int(skins.size()) * 40);
  skin::paint::FillRect32(sheet, sheet.Bounds(), 0x808080, 255);
  int row = 0;
  for (const auto& s : skins) {
    manager->SetSkinName(fw::Utf8ToUtf16(s.Name));
    desktop.Pump();
    for (int look = 0; look < 4; ++look) {
      // At rest, the main part hot, the part hot, a default button; then pressed and dropped.
      b->SetDefault(look == 3);
      if (look == 1 || look == 2)
        b->Perform(win::WM_MOUSEMOVE, 0, win::MAKELPARAM(look == 2 ? 110 : 20, 10));
      else
        b->Perform(fw::CM_MOUSELEAVE, 0, 0);
      b->SkinData().FMouseAbove = look == 1 || look == 2;
      EXPECT_EQ(b->DropDownState(), look == 2 ? 1 : look == 3 ? 3 : 0) << s.Name;
      ASSERT_TRUE(b->PrepareCache()) << s.Name;
      const gfx::Bitmap& cache = *b->SkinData().CacheBmp();
      for (int y = 0; y < cache.Height(); ++y)
        for (int x = 0; x < cache.Width(); ++x)
          ASSERT_NE(cache.At(x, y) & 0xFFFFFF, 0xFF00FFu) << s.Name << " " << look;
      sheet.CopyFrom(cache, cache.Bounds(), {look * 130, row * 40});
    }
    b->SetDefault(false);
    // Pressed on the main part, and the part held while its menu is open.
    b->Perform(fw::CM_MOUSELEAVE, 0, 0);
    b->SetDown(true);
    ASSERT_TRUE(b->PrepareCache());
    sheet.CopyFrom(*b->SkinData().CacheBmp(), b->SkinData().CacheBmp()->Bounds(), {4 * 130, row * 40});
    b->SetDown(false);
    bool dropped = false;
    desktop.Schedule(10, [&] {
      dropped = b->DroppedDown() && b->PrepareCache();
      if (dropped) sheet.CopyFrom(*b->SkinData().CacheBmp(), b->SkinData().CacheBmp()->Bounds(),
                                  {5 * 130, row * 40});
      win::InjectKey(0x01, true);
      win::InjectKey(0x01, false);
    });
    b->DropDown();
    EXPECT_TRUE(dropped) << s.Name;
    ++row;
  }
  this->Save(sheet, this->Name("split-skins.png"));
  manager->SetSkinName(fw::Utf8ToUtf16(skins.front().Name));
  desktop.Pump();
  // The skin's scale as a provider hands it down; the form keeps its size here.
  core::SendAMessage(b, core::AC_SETSCALE, 150);
  EXPECT_EQ(b->SkinData().ScalePercent, 150);
  EXPECT_EQ(b->DropDownRect().Width(), 24);
  EXPECT_EQ(b->DropDownRect().Right, b->ClientWidth());
  ASSERT_TRUE(b->PrepareCache());
  EXPECT_LE(b->CaptionRect().Right, b->DropDownRect().Left);
  const gfx::Bitmap& big = *b->SkinData().CacheBmp();
  const TRect part = b->DropDownRect();
  EXPECT_GT(DiffInside(big, this->SectionAlone(*b, this->Shown(b->DropDownState())),
                       {part.Left + 2, 0, part.Right, big.Height()}),
            9);
  this->Save(big, this->Name("split-150.png"));
}

TYPED_TEST(SplitButtonSkinTest, AButtonFreedByItsDropDownOrWhileItsMenuIsOpenIsLeftAlone) {
  [[maybe_unused]] auto*& b = this->b;
  [[maybe_unused]] auto*& menu = this->menu;
  [[maybe_unused]] auto& desktop = this->desktop;
  [[maybe_unused]] auto& manager = this->manager;
  // The handler lives in the button: it touches nothing of its own after the delete.
  b->OnDropDownClick = [this](fw::TComponent*) {
    auto* going = this->b;
    this->b = nullptr;
    delete going;
  };
  this->MoveTo(133, 35);
  this->Button(true, 133, 35);
  this->Button(false, 133, 35);
  EXPECT_EQ(b, nullptr);
  auto* c = this->template Add<TypeParam>(20, 20, 120, 30, u"Again");
  c->SetStyle(TButtonStyle::bsSplitButton);
  c->SetDropDownMenu(menu);
  desktop.Pump();
  desktop.Schedule(10, [&] {
    delete c;
    c = nullptr;
    win::InjectKey(0x01, true);
    win::InjectKey(0x01, false);
  });
  this->Button(true, 133, 35);
  this->Button(false, 133, 35);
  EXPECT_EQ(c, nullptr);
  desktop.Advance(100);
  desktop.Pump();
}

TYPED_TEST(SplitButtonSkinTest, AltDownOpensTheMenuWithThePartPressedAndOnlyForTheSplitStyle) {
  auto* b = this->b;
  auto& desktop = this->desktop;
  int opened = 0, dropClicks = 0;
  this->menu->OnPopup = [&](fw::TComponent*) { ++opened; };
  b->OnDropDownClick = [&](fw::TComponent*) { ++dropClicks; };
  const auto altDown = [&] {
    win::InjectKey(0x38, true);
    win::InjectKey(0xE050, true);
    win::InjectKey(0xE050, false);
    win::InjectKey(0x38, false);
    desktop.Pump();
  };
  b->SetFocus();
  desktop.Pump();
  bool seen = false;
  desktop.Schedule(10, [&] {
    seen = b->DroppedDown();
    // Focused, the main face is hot; the part shows pressed.
    this->ExpectFaces("keyboard", 1, 2);
    win::InjectKey(0x01, true);
    win::InjectKey(0x01, false);
  });
  altDown();
  EXPECT_TRUE(seen);
  EXPECT_EQ(opened, 1);
  EXPECT_EQ(dropClicks, 1);
  EXPECT_EQ(this->clicks, 0);
  EXPECT_FALSE(b->DroppedDown());
  EXPECT_EQ(b->DropDownState(), b->CurrentState() == 3 ? 3 : 0);
  // A plain push button has no part: no menu, and the caption has the whole face.
  b->SetStyle(fw::TButtonStyle::bsPushButton);
  desktop.Pump();
  EXPECT_TRUE(b->DropDownRect().IsEmpty());
  altDown();
  EXPECT_EQ(opened, 1);
  EXPECT_EQ(dropClicks, 1);
  ASSERT_TRUE(b->PrepareCache());
  const TRect c = b->CaptionRect();
  EXPECT_LE(std::abs(c.Left - (b->ClientWidth() - c.Right)), 1) << c.Left << " " << c.Right;
}

TEST_F(SkinnedButtonTest, ASplitBitBtnKeepsItsGlyphWrappedCaptionAndFocusOutOfThePart) {
  fw::TImageList* list = RedList();
  auto* b = Add<TsBitBtn>(20, 20, 120, 48, u"Развернуть все музеи района");
  b->SetImages(list);
  b->SetImageIndex(0);
  b->SetStyle(TButtonStyle::bsSplitButton);
  Show();
  b->SetFocus();
  desktop.Pump();
  ASSERT_TRUE(b->Focused());
  for (const fw::TButtonLayout layout : {TButtonLayout::blGlyphLeft, TButtonLayout::blGlyphRight,
                                         TButtonLayout::blGlyphTop}) {
    SCOPED_TRACE(int(layout));
    b->SetLayout(layout);
    // The part as the bare button draws it: divider and arrow only.
    b->SetCaption(u"");
    b->SetImageIndex(-1);
    ASSERT_TRUE(b->PrepareCache());
    const TRect part = b->DropDownRect();
    ASSERT_EQ(part, (TRect{104, 0, 120, 48}));
    const gfx::Bitmap bare = b->SkinData().CacheBmp()->Copy(part);
    b->SetCaption(u"Развернуть все музеи района");
    b->SetImageIndex(0);
    ASSERT_TRUE(b->PrepareCache());
    const gfx::Bitmap& cache = *b->SkinData().CacheBmp();
    // Glyph and caption (wrapped at the main face's width) stay left of the part...
    EXPECT_LE(b->CaptionRect().Right, part.Left);
    EXPECT_LE(b->GlyphPos().X + 16, part.Left);
    EXPECT_TRUE(Red(cache.At(b->GlyphPos().X + 8, b->GlyphPos().Y + 8)));
    // ...and nothing of them, nor the focus frame around the caption, is drawn into it.
    EXPECT_EQ(cache.Copy(part), bare);
    Save(cache, std::string("split-bitbtn-") + std::to_string(int(layout)) + ".png");
  }
}

TEST_F(SkinnedButtonTest, CommandLinkCaptionFontAndNote) {
  auto* b = Add<TsButton>(20, 20, 260, 70, u"Open the card");
  b->SetStyle(TButtonStyle::bsCommandLink);
  b->SetCommandLinkHint(u"Shows the museum with its photos");
  Show();
  // Bold and two points (three pixels) larger than the button's own font, unless one is set.
  const fw::TFont made = b->CommandLinkFont();
  EXPECT_TRUE(made.Style() & fw::fsBold);
  EXPECT_EQ(std::abs(made.Height()), std::abs(b->Font().Height()) + 3);
  EXPECT_FALSE(b->CustomCommandLinkFont());
  ASSERT_TRUE(b->PrepareCache());
  const TRect caption = b->CaptionRect(), note = b->NoteRect();
  ASSERT_FALSE(note.IsEmpty());
  EXPECT_GE(note.Top, caption.Bottom);
  EXPECT_EQ(note.Left, caption.Left);
  // The note is drawn: its room differs from the section alone.
  const gfx::Bitmap alone = SectionAlone(*b, b->CurrentState());
  EXPECT_GT(DiffInside(*b->SkinData().CacheBmp(), alone, note), 20);
  // A font of its own: a larger caption.
  fw::TFont big;
  big.Assign(b->Font());
  big.SetHeight(-24);
  b->SetCommandLinkFont(big);
  EXPECT_TRUE(b->CustomCommandLinkFont());
  EXPECT_EQ(b->CommandLinkFont().Height(), -24);
  ASSERT_TRUE(b->PrepareCache());
  EXPECT_GT(b->CaptionRect().Height(), caption.Height());
  // No note for a push button.
  b->SetStyle(TButtonStyle::bsPushButton);
  ASSERT_TRUE(b->PrepareCache());
  EXPECT_TRUE(b->NoteRect().IsEmpty());
}

// In every internal skin and state the caption is drawn in the button section's own text
// colour for that state.
TEST_F(SkinnedButtonTest, CaptionsTakeTheirOwnSectionsColourOnAPanel) {
  auto* panel = new TsPanel(form);
  panel->SetBounds(0, 0, 400, 200);
  panel->SetParent(form);
  auto* b = Add<TsBitBtn>(10, 10, 120, 40, u"WWWW");
  b->SetParent(panel);
  Show();
  for (const auto& s : skin::data::InternalSkins()) {
    manager->SetSkinName(fw::Utf8ToUtf16(s.Name));
    desktop.Pump();
    const sd::TacSkinModel& model = *manager->SkinModel();
    const sd::TsGeneralData& gd = model.gd[std::size_t(b->SkinData().SkinIndex)];
    const sd::TsGeneralData& pd = model.gd[std::size_t(panel->SkinData().SkinIndex)];
    for (int look = 0; look < 4; ++look) {
      b->SetDown(look == 2);
      b->SkinData().FMouseAbove = look == 1;
      b->SetDefault(look == 3);
      const int state = b->CurrentState();
      ASSERT_TRUE(b->PrepareCache());
      const int shown = std::min(state == 3 && gd.States < 4 ? 1 : state, gd.States - 1);
      if (gd.Props[std::size_t(std::min(shown, 2))].Transparency > 50) continue;
      const std::uint32_t want =
          PixelOf(draw::StateProps(gd, std::min(shown, 2)).FontColor.Color);
      const std::uint32_t parents =
          PixelOf(draw::StateProps(pd, std::min(shown, 2)).FontColor.Color);
      // The ink: the caption pixel farthest from the face alone.
      const gfx::Bitmap& cache = *b->SkinData().CacheBmp();
      const gfx::Bitmap alone = SectionAlone(*b, shown);
      TRect r = b->CaptionRect();
      if (state == 2) r = r.Offset(1, 1);
      std::uint32_t ink = 0;
      int far = -1;
      for (int y = r.Top; y < r.Bottom; ++y)
        for (int x = r.Left; x < r.Right; ++x)
          if (const int d = Distance(cache.At(x, y), alone.At(x, y)); d > far) {
            far = d;
            ink = cache.At(x, y);
          }
      EXPECT_LT(Distance(ink, want), 90)
          << s.Name << " state " << state << ": ink " << std::hex << ink << " want " << want
          << " panel's " << parents;
    }
    b->SetDefault(false);
  }
}

TEST_F(SkinnedButtonTest, DescriptionsGiveDefaultsAndStoredSettings) {
  RegisterSkinClasses();
  auto* root = new fw::TForm(app.get());
  fw::ReadComponentText(root, R"(object Form9: TForm
  object A: TsBitBtn
    Caption = 'a'
  end
  object B: TsBitBtn
    Alignment = taLeftJustify
    VerticalAlignment = taAlignTop
    TextAlignment = taRightJustify
    Margin = 3
    WordWrap = False
    ShowCaption = False
    Blend = 40
    Down = True
    FocusMargin = 2
  end
  object C: TsButton
    Style = bsCommandLink
    ContentMargin = 4
    ShowFocus = False
  end
end)",
                        "Unit9.txt", "/nonexistent");
  auto* a = dynamic_cast<TsBitBtn*>(root->FindComponent("A"));
  auto* b = dynamic_cast<TsBitBtn*>(root->FindComponent("B"));
  auto* c = dynamic_cast<TsButton*>(root->FindComponent("C"));
  ASSERT_TRUE(a && b && c);
  // A bit button wraps its caption and centres it by default.
  EXPECT_EQ(a->Margin(), -1);
  EXPECT_TRUE(a->WordWrap());
  EXPECT_EQ(a->Alignment(), TAlignment::taCenter);
  EXPECT_EQ(a->VerticalAlignment(), TVerticalAlignment::taVerticalCenter);
  EXPECT_TRUE(a->ShowFocus());
  EXPECT_EQ(a->DisabledKind(), unsigned(dkBlended));
  EXPECT_EQ(b->Alignment(), TAlignment::taLeftJustify);
  EXPECT_EQ(b->VerticalAlignment(), TVerticalAlignment::taAlignTop);
  EXPECT_EQ(b->TextAlignment(), TAlignment::taRightJustify);
  EXPECT_EQ(b->Margin(), 3);
  EXPECT_FALSE(b->WordWrap());
  EXPECT_FALSE(b->ShowCaption());
  EXPECT_EQ(b->Blend(), 40);
  EXPECT_TRUE(b->Down());
  EXPECT_EQ(b->CurrentState(), 2);
  EXPECT_EQ(b->FocusMargin(), 2);
  EXPECT_EQ(c->Style(), TButtonStyle::bsCommandLink);
  EXPECT_EQ(c->ContentMargin(), 4);
  EXPECT_FALSE(c->ShowFocus());
}

}  // namespace
}  // namespace skin::controls::test
