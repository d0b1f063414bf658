// The skinned edit on a form under an internal skin: its cache is the section painted alone
// around the text, an asterisk password shows circles, the hint is blended toward the
// background, the focused edit draws its own text over the section, and the frame and print
// paths copy the cache.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "TestOutput.h"
#include "framework/Form.h"
#include "framework/Reader.h"
#include "platform/gfx/PictureCodec.h"
#include "platform/win/MessageQueue.h"
#include "platform/win/Messages.h"
#include "platform/win/Paint.h"
#include "platform/win/Styles.h"
#include "skin/controls/sControls.h"
#include "skin/controls/sGlyphUtils.h"
#include "skin/core/sGraphUtils.h"
#include "skin/core/sSkinManager.h"
#include "skin/draw/sGraphUtils.h"
#include "skin/frame/InternalSkinFormTest.h"
#include "skin/internal/sInternalSkins.h"
#include "skin/paint/sGraphUtils.h"

namespace skin::controls {
namespace {

using namespace skin::core;

class EditTest : public skin::frame::test::InternalSkinFormTest {
 protected:
  void SetUp() override {
    MakeSkinnedForm(400, 200);
    form->Show();
    desktop.Pump();
  }
  TsEdit* MakeEdit(int top, const std::u16string& text) {
    auto* e = new TsEdit(form);
    e->SetBounds(10, top, 200, 28);
    e->SetParent(form);
    e->Font().SetHeight(-16);
    e->SetText(text);
    e->AfterConstruction();
    e->Loaded();
    desktop.Pump();
    return e;
  }
  // The control's section painted alone for the state over its parent's background.
  static gfx::Bitmap SectionAlone(TsCommonData& cd, int state) {
    fw::TControl* c = cd.OwnerControl();
    gfx::Bitmap bmp(c->Width(), c->Height());
    EXPECT_TRUE(PaintSkinControl(cd, c->Parent(), true, state, bmp.Bounds(), {}, &bmp, true));
    return bmp;
  }
  static int DiffersInside(const gfx::Bitmap& a, const gfx::Bitmap& b, const gfx::TRect& r) {
    int n = 0;
    for (int y = r.Top; y < r.Bottom; ++y)
      for (int x = r.Left; x < r.Right; ++x)
        n += (a.At(x, y) & 0xFFFFFF) != (b.At(x, y) & 0xFFFFFF);
    return n;
  }
};

TEST_F(EditTest, CacheOutsideTheTextIsTheSectionPaintedAlone) {
  TsEdit* e = MakeEdit(10, u"Школа №5");
  ASSERT_TRUE(e->SkinData().Skinned());
  ASSERT_TRUE(e->PrepareCache());
  const gfx::Bitmap& cache = *e->SkinData().CacheBmp();
  const gfx::Bitmap alone = SectionAlone(e->SkinData(), 0);
  const gfx::TRect text = e->TextRect();
  int outside = 0, fuchsia = 0;
  for (int y = 0; y < cache.Height(); ++y)
    for (int x = 0; x < cache.Width(); ++x) {
      fuchsia += (cache.At(x, y) & 0xFFFFFF) == 0xFF00FF;
      if (text.Contains({x, y})) continue;
      outside += (cache.At(x, y) & 0xFFFFFF) != (alone.At(x, y) & 0xFFFFFF);
    }
  EXPECT_EQ(outside, 0);
  EXPECT_EQ(fuchsia, 0);
  // The text is there.
  EXPECT_GT(DiffersInside(cache, alone, text), 20);
}

// Disabled, the edit's picture takes its DisabledKind: blended (the default) keeps the
// section's hue, half-way to the parent; grayed takes the colour out; none leaves the section
// as it is, the text in its disabled colour. Descriptions set the kind as a set.
TEST_F(EditTest, ADisabledEditTakesItsDisabledKind) {
  TsEdit* e = MakeEdit(10, u"");
  const gfx::Bitmap alone = SectionAlone(e->SkinData(), 0);
  e->SetEnabled(false);
  EXPECT_EQ(e->DisabledKind(), unsigned(skin::paint::dkBlended));
  auto picture = [&](unsigned kind) {
    e->SetDisabledKind(kind);
    EXPECT_TRUE(e->PrepareCache());
    return *e->SkinData().CacheBmp();
  };
  const gfx::Bitmap none = picture(0);
  EXPECT_EQ(DiffersInside(none, alone, none.Bounds()), 0);
  const gfx::Bitmap blended = picture(skin::paint::dkBlended);
  EXPECT_GT(DiffersInside(blended, alone, blended.Bounds()), 0);
  const gfx::Bitmap grayed = picture(skin::paint::dkGrayed);
  int coloured = 0, colouredBefore = 0;
  for (int y = 0; y < grayed.Height(); ++y)
    for (int x = 0; x < grayed.Width(); ++x) {
      auto tinted = [](gfx::Pixel p) {
        return std::max({gfx::PixelR(p), gfx::PixelG(p), gfx::PixelB(p)}) -
                   std::min({gfx::PixelR(p), gfx::PixelG(p), gfx::PixelB(p)}) >
               12;
      };
      coloured += tinted(grayed.At(x, y));
      colouredBefore += tinted(alone.At(x, y));
    }
  EXPECT_LT(coloured, colouredBefore / 4 + 1);

  RegisterSkinClasses();
  auto* read = new fw::TForm(app.get());
  fw::ReadComponentText(read, R"(object F: TForm
  object E2: TsEdit
    Left = 10
    Top = 60
    Width = 100
    Height = 24
    DisabledKind = [dkBlended, dkGrayed]
  end
  object C2: TsComboBox
    Left = 10
    Top = 100
    Width = 100
    Height = 24
    DisabledKind = []
  end
end
)",
                        "Unit3.txt", ".");
  auto* e2 = dynamic_cast<TsEdit*>(read->FindComponent("E2"));
  auto* c2 = dynamic_cast<TsComboBox*>(read->FindComponent("C2"));
  ASSERT_NE(e2, nullptr);
  ASSERT_NE(c2, nullptr);
  EXPECT_EQ(e2->DisabledKind(), unsigned(skin::paint::dkBlended | skin::paint::dkGrayed));
  EXPECT_EQ(c2->DisabledKind(), 0u);
  EXPECT_EQ(DisabledKindOf(c2), 0u);
  EXPECT_EQ(DisabledKindOf(form), unsigned(skin::paint::dkBlended)) << "a control without one";
}

TEST_F(EditTest, AnAsteriskPasswordShowsCirclesWhileUnfocused) {
  TsEdit* secret = MakeEdit(10, u"abc");
  secret->SetPasswordChar(u'*');
  TsEdit* plain = MakeEdit(50, u"\u25CF\u25CF\u25CF");
  EXPECT_EQ(secret->DisplayText(), u"\u25CF\u25CF\u25CF");
  ASSERT_TRUE(secret->PrepareCache());
  ASSERT_TRUE(plain->PrepareCache());
  const gfx::Bitmap& a = *secret->SkinData().CacheBmp();
  const gfx::Bitmap& b = *plain->SkinData().CacheBmp();
  ASSERT_EQ(a.Width(), b.Width());
  // Same section, same place: only the parent behind them could differ, and it is one colour.
  EXPECT_EQ(DiffersInside(a, b, a.Bounds()), 0);
  // Another password character is shown as it is.
  secret->SetPasswordChar(u'#');
  EXPECT_EQ(secret->DisplayText(), u"###");
}

TEST_F(EditTest, TheHintIsBlendedTowardTheBackground) {
  TsEdit* e = MakeEdit(10, u"");
  e->SetTextHint(u"Наименование");
  ASSERT_TRUE(e->PrepareCache());
  TsCommonData& cd = e->SkinData();
  const auto& gd = cd.SkinManager()->SkinModel()->gd[std::size_t(cd.SkinIndex)];
  const auto font = fw::ColorToRGB(fw::TColor(skin::draw::StateProps(gd, 0).FontColor.Color));
  const auto bg = GetBGColor(cd, 0);
  const auto limit = skin::paint::BlendColors(font, bg, acTextHintBlend);
  const gfx::Bitmap& cache = *cd.CacheBmp();
  const gfx::Bitmap alone = SectionAlone(cd, 0);
  const gfx::TRect text = e->TextRect();
  ASSERT_GT(DiffersInside(cache, alone, text), 20);
  // No pixel of the hint goes past the blended colour toward the font colour.
  auto channel = [](std::uint32_t c, int shift) { return int((c >> shift) & 0xFF); };
  int beyond = 0;
  for (int y = text.Top; y < text.Bottom; ++y)
    for (int x = text.Left; x < text.Right; ++x) {
      const gfx::Pixel p = cache.At(x, y);
      // Pixels are B, G, R; COLORREFs are R, G, B from the low byte.
      const int px[3] = {channel(p, 16), channel(p, 8), channel(p, 0)};
      for (int i = 0; i < 3; ++i) {
        const int lo = std::min(channel(limit, 8 * i), channel(bg, 8 * i)) - 2;
        const int hi = std::max(channel(limit, 8 * i), channel(bg, 8 * i)) + 2;
        beyond += px[i] < lo || px[i] > hi;
      }
    }
  EXPECT_EQ(beyond, 0);
}

TEST_F(EditTest, TheFocusedEditDrawsItsOwnTextOverTheSection) {
  TsEdit* e = MakeEdit(10, u"Гимназия");
  e->SetFocus();
  desktop.Pump();
  ASSERT_TRUE(e->Focused());
  ASSERT_TRUE(e->PrepareCache());
  // The cache holds the section only: the edit draws text, selection and caret itself.
  const int state = ControlState(e->SkinData());
  const gfx::Bitmap alone = SectionAlone(e->SkinData(), state);
  const gfx::Bitmap& cache = *e->SkinData().CacheBmp();
  EXPECT_EQ(DiffersInside(cache, alone, cache.Bounds()), 0);
  // On screen the text is there, inside the frame copied from the cache.
  const gfx::Bitmap screen = win::ComposeWindow(form->Handle());
  const gfx::TPoint o = e->ClientOrigin();
  const gfx::TRect text = e->TextRect();
  int drawn = 0;
  for (int y = text.Top; y < text.Bottom; ++y)
    for (int x = text.Left; x < text.Left + 60; ++x)
      drawn += (screen.At(e->Left() + x, e->Top() + y) & 0xFFFFFF) != (alone.At(x, y) & 0xFFFFFF);
  EXPECT_GT(drawn, 20);
  for (int x = 0; x < cache.Width(); ++x)
    EXPECT_EQ(screen.At(e->Left() + x, e->Top()) & 0xFFFFFF, alone.At(x, 0) & 0xFFFFFF) << x;
  EXPECT_EQ(screen.At(e->Left(), e->Top() + o.Y) & 0xFFFFFF, alone.At(0, o.Y) & 0xFFFFFF);
}

TEST_F(EditTest, PrintingCopiesTheWholeCache) {
  TsEdit* e = MakeEdit(10, u"Лицей");
  ASSERT_TRUE(e->PrepareCache());
  gfx::Bitmap printed(e->Width(), e->Height());
  gfx::DeviceContext dc(printed);
  win::SendMessageW(e->Handle(), win::WM_PRINT, reinterpret_cast<win::WPARAM>(&dc),
                    win::PRF_NONCLIENT | win::PRF_CLIENT);
  const gfx::Bitmap& cache = *e->SkinData().CacheBmp();
  EXPECT_EQ(DiffersInside(printed, cache, cache.Bounds()), 0);
  const auto png = gfx::EncodePng(printed);
  FILE* f = std::fopen((tests::OutputFolder("edit") / "printed.png").c_str(), "wb");
  if (f) {
    std::fwrite(png.data(), 1, png.size(), f);
    std::fclose(f);
  }
}

// An added glyph without a list of its own shows a picture of the standard list: it takes its
// room before the text and is drawn there in every internal skin, keyed colour nowhere.
TEST_F(EditTest, AnAddedGlyphWithoutAListShowsAStandardGlyphInEverySkin) {
  ASSERT_TRUE(skin::core::ac_OldGlyphsMode);
  acResImages().SetNewScale(0);  // as the form's manager has it
  TsEdit* e = MakeEdit(10, u"Музей");
  const int plainLeft = e->TextRect().Left;
  e->AddedGlyph().SetImageIndex(rgDirectory);
  desktop.Pump();
  EXPECT_EQ(e->AddedGlyphSpace(), 16 + 2);
  EXPECT_EQ(e->TextRect().Left, plainLeft + 18);
  std::vector<gfx::Bitmap> shots;
  for (const auto& skinData : skin::data::InternalSkins()) {
    SCOPED_TRACE(skinData.Name);
    manager->SetSkinName(fw::Utf8ToUtf16(skinData.Name));
    desktop.Pump();
    ASSERT_TRUE(e->PrepareCache());
    const gfx::Bitmap& cache = *e->SkinData().CacheBmp();
    const gfx::Bitmap alone = SectionAlone(e->SkinData(), 0);
    const gfx::TRect glyph = e->AddedGlyphRect();
    EXPECT_GT(DiffersInside(cache, alone, glyph), 40);
    int fuchsia = 0;
    for (int y = 0; y < cache.Height(); ++y)
      for (int x = 0; x < cache.Width(); ++x) fuchsia += (cache.At(x, y) & 0xFFFFFF) == 0xFF00FF;
    EXPECT_EQ(fuchsia, 0);
    shots.push_back(cache);
  }
  // All of them one under the other, three times enlarged, for people to look at.
  const int zoom = 3, w = e->Width() * zoom, h = e->Height() * zoom;
  gfx::Bitmap sheet(w, h * int(shots.size()));
  for (std::size_t i = 0; i < shots.size(); ++i)
    for (int y = 0; y < h; ++y)
      for (int x = 0; x < w; ++x)
        sheet.Set(x, int(i) * h + y, shots[i].At(x / zoom, y / zoom) | 0xFF000000u);
  gfx::WriteFileBytes((tests::OutputFolder("edit") / "std-glyph-skins.png").string(),
                      gfx::EncodePng(sheet));
}

// A list freed under the glyph is dropped: the edit falls back to the standard glyph and
// keeps painting (the sanitizer build sees any use of the freed list).
TEST_F(EditTest, TheAddedGlyphLetsGoOfAFreedList) {
  acResImages().SetNewScale(0);
  TsEdit* e = MakeEdit(10, u"Музей");
  auto* list = new TsAlphaImageList(form);
  list->SetDimension(24, 24);
  list->Add(gfx::Bitmap(24, 24));
  e->AddedGlyph().SetImages(list);
  e->AddedGlyph().SetImageIndex(0);
  desktop.Pump();
  EXPECT_EQ(e->AddedGlyphSpace(), 24 + 2);
  delete list;
  EXPECT_EQ(e->AddedGlyph().Images(), nullptr);
  desktop.Pump();
  EXPECT_EQ(e->AddedGlyphSpace(), 16 + 2);  // standard glyph 0
  EXPECT_TRUE(e->PrepareCache());
}

TEST_F(EditTest, EditBorderWidthCountsBorderAndBevels) {
  TsEdit* e = MakeEdit(10, u"");
  EXPECT_EQ(EditBorderWidth(*e), 2);
  e->SetCtl3D(false);
  EXPECT_EQ(EditBorderWidth(*e), 1);
  e->SetBevelKind(fw::TBevelKind::bkSoft);
  e->SetBevelInner(fw::TBevelCut::bvNone);
  EXPECT_EQ(EditBorderWidth(*e), 2);
  e->SetBorderStyle(fw::TBorderStyle::bsNone);
  EXPECT_EQ(EditBorderWidth(*e), 1);
}

}  // namespace
}  // namespace skin::controls
