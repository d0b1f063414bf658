// Every operation on empty, one-pixel and out-of-range areas: nothing outside a bitmap is read
// or written (the padding canaries show writes past a row; the sanitizer build shows reads).
#include <functional>

#include "PaintTestUtil.h"
#include "skin/paint/acgpUtils.h"
#include "skin/paint/sBlur.h"
#include "skin/paint/sGradient.h"
#include "skin/paint/sGraphUtils.h"
#include "skin/paint/sStretch.h"

namespace skin::paint {
namespace {

const TRect kAreas[] = {
    {0, 0, 0, 0},         {3, 3, 1, 1},       {0, 0, 1, 1},
    {-1, -1, 0, 0},       {-50, -50, 50, 50}, {2, 1, 3, 2},
    {100, 100, 200, 200}, {-5, 2, 3, 900},    {-1000000, -1000000, 1000000, 1000000}};
const TPoint kPoints[] = {{0, 0}, {-3, -3}, {2, 1}, {40, 40}, {-40, 0}};

using TOp = std::function<void(Bitmap& dst, const Bitmap& src, const TRect& r, TPoint p)>;

// Runs op over bitmap sizes 0 x 0, 1 x 1, 1 x 3 and 5 x 4 on both sides, every area and point.
void Sweep(const TOp& op) {
  std::mt19937 rng(2);
  const int sizes[][2] = {{0, 0}, {1, 1}, {1, 3}, {5, 4}};
  for (auto& ds : sizes)
    for (auto& ss : sizes)
      for (const TRect& r : kAreas)
        for (TPoint p : kPoints) {
          Bitmap dst = test::RandomBitmap(ds[0], ds[1], rng);
          Bitmap src = test::RandomBitmap(ss[0], ss[1], rng);
          op(dst, src, r, p);
          ASSERT_TRUE(test::PaddingIntact(dst))
              << ds[0] << "x" << ds[1] << " area " << r.Left << "," << r.Top << "," << r.Right
              << "," << r.Bottom << " at " << p.X << "," << p.Y;
        }
}

TEST(Bounds, FillsBlendsAndAlpha) {
  Sweep([](Bitmap& d, const Bitmap&, const TRect& r, TPoint) { FillRect32(d, r, 0x123, 4); });
  Sweep([](Bitmap& d, const Bitmap&, const TRect& r, TPoint) {
    FillDCBorder32(d, r, 2, 2, 2, 2, 0x123);
  });
  Sweep([](Bitmap& d, const Bitmap&, const TRect& r, TPoint) { BlendColorRect(d, r, 9, 0x1); });
  Sweep([](Bitmap& d, const Bitmap&, const TRect& r, TPoint) { BlendRect32(d, r, 1, 50, 3); });
  Sweep([](Bitmap& d, const Bitmap&, const TRect& r, TPoint) { UpdateAlpha(d, r); });
  Sweep(
      [](Bitmap& d, const Bitmap&, const TRect& r, TPoint) { FillAlphaRect(d, r, 7, clFuchsia); });
  Sweep([](Bitmap& d, const Bitmap&, const TRect& r, TPoint) {
    FadeBmp(d, r, 40, TsColor_{}, 3, 4);
  });
  Sweep([](Bitmap& d, const Bitmap&, const TRect& r, TPoint) { FillRoundRect(d, r, 3, 1); });
  Sweep([](Bitmap& d, const Bitmap& s, const TRect&, TPoint) {
    UpdateAlpha(d);
    UpdateTransPixels(d);
    CheckEmptyAChannel(d);
    CopyChannel32(d, s, 2);
    GrayScale(d);
    ChangeBitmapPixels(d, ChangeColorHUE, -500, clFuchsia);
    BlendTransBitmap(d, 3, {});
    BlendBmpByMask(d, s, {});
    SumBitmapsByMask(d, s, s, &s, 9);
    BmpDisabledKind(d, dkGrayed | dkBlended, 0, {}, {});
    CopyBmp(d, s);
  });
}

TEST(Bounds, CopiesBetweenBitmaps) {
  Sweep([](Bitmap& d, const Bitmap& s, const TRect& r, TPoint p) {
    PaintBmpRect32(d, s, r, p);
    SumBmpRect(d, s, 300, r, p);
    BlendTransRectangle(d, p.X, p.Y, s, r, 9, 0);
    CopyTransBitmaps(d, s, p.X, p.Y, {});
    CopyTransRectA(d, s, p.X, p.Y, r, 0);
    ColorizeByMask(d, s, p, 0x10, clNone);
    ColorizeByMask(d, s, p, 0x10, 0x20);
  });
  Sweep([](Bitmap& d, const Bitmap& s, const TRect& r, TPoint p) {
    TCacheInfo parent;
    parent.Bmp = &s;
    parent.Ready = true;
    parent.X = p.X;
    parent.Y = p.Y;
    TCacheInfo fill;
    fill.FillColor = 0x50;
    for (const TCacheInfo* ci : {&parent, &fill})
      for (bool update : {false, true}) {
        CopyTransRect(d, s, p.X, p.Y, r, kTransKey, *ci, update);
        CopyByMask(r, r.Offset(p.X, p.Y), d, s, *ci, update);
      }
  });
}

TEST(Bounds, MaskCopies) {
  Sweep([](Bitmap& d, const Bitmap& s, const TRect& r, TPoint p) {
    TCacheInfo parent;
    parent.Bmp = &s;
    parent.Ready = true;
    parent.X = p.X;
    // The mask offset comes from the image rectangle and may point anywhere.
    for (TRect imageRect : {TRect{0, 0, 5, 4}, TRect{0, 0, 1, 60}, TRect{0, 0, 1, -8}}) {
      for (int maskType : {0, 1, 3}) {
        TsMaskData md;
        md.Bmp = &s;
        md.R = imageRect;
        md.MaskType = std::int16_t(maskType);
        TRect r2 = r.Offset(p.X, p.Y);
        CopyByMask(r, r2, d, s, parent, true, md);
        CopyByMask(r, r2, d, s, {}, false, md);
        CopyByMask32(r, r2, d, s, parent, md);
        CopyByMask32Ex(r, r2, d, s, parent, md, 300);
        BlendGlyphByMask(r, r2, d, s, 0, md);
        CopyMasterRect(r, r2, d, parent, md);
      }
    }
    CopyBmp32(r, r.Offset(p.X, p.Y), d, s, parent, true, 0x808080, 30, true);
    CopyBmp32(r, r, d, s, {}, false, clNone, 0, true);
  });
}

TEST(Bounds, ScalingRotationAndGradients) {
  TsGradArray rows, cols, diag, trans;
  PrepareGradArray("255;0;30;0;0;65280;0;70;0;0;255;0;0;0;0", rows);
  PrepareGradArray("255;0;30;1;0;65280;0;70;0;0;255;0;0;0;0", cols);
  PrepareGradArray("255;0;0;2;0;65280;0;0;0;0", diag);
  PrepareGradArray("255;0;16;-2130706433;50;17;65280;100;0C", trans);
  Sweep([&](Bitmap& d, const Bitmap& s, const TRect& r, TPoint p) {
    StretchCopy(d, r.Left, r.Top, r.Width(), r.Height(), s, p.X, p.Y, 3, 2);
    StretchBltMask(r.Left, r.Top, r.Width(), r.Height(), p.X, p.Y, 2, 2, d, s, 1, true);
    StretchBltMask(r.Left, r.Top, r.Width(), r.Height(), 0, 0, 1, 1, d, s, 2, false,
                   TMaskBlend::Mask32Ex, 100);
    BitBltRotated(d, s, p, 77);
    for (const auto* g : {&rows, &cols, &diag, &trans}) {
      PaintGrad(d, r, *g, 0, p.Y);
      PaintGradTxt(d, r, *g, s, r.Offset(p.X, p.Y), 100, 255);
    }
    acgpDrawLine(d, r.Left, r.Top, p.X, p.Y, 0xFF, 3);
    if (r.Width() < 1000) acgpStretchRect(s, d, r.Offset(p.X, p.Y), r);
  });
}

TEST(Bounds, EmptyAndTinyBitmapsAsWholes) {
  std::mt19937 rng(3);
  for (auto [w, h] : {std::pair{0, 0}, {1, 1}, {1, 4}, {4, 1}}) {
    Bitmap b = test::RandomBitmap(w, h, rng);
    Bitmap out;
    Stretch(b, out, 3, 3, ftLanczos3);
    for (int angle : {90, 180, 270}) {
      auto r = bmpRotate(b, angle);
      EXPECT_EQ(r->Width() * r->Height(), w * h);
    }
    gfx::Bitmap8 g(w, h);
    Blur8(g, 2);
    auto region = CreateMaskFromAlpha(b);
    EXPECT_EQ(region == nullptr, w * h == 0);
  }
  auto shadow = MakeShadow(0xFF000000, 0, 0, 0, 0, 0, false);
  EXPECT_EQ(shadow->Width(), 1);
  auto negative = MakeShadow(0xFF000000, -3, -3, -3, -3, -3, true);
  EXPECT_EQ(negative->Height(), 1);
}

}  // namespace
}  // namespace skin::paint
