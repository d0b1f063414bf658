#include "platform/gfx/DeviceContext.h"

#include <gtest/gtest.h>

namespace gfx {
namespace {

TEST(DeviceContextState, SaveAndRestoreByDepthAndByCount) {
  Bitmap bmp(8, 8);
  DeviceContext dc(bmp);
  SetTextColor(&dc, 1);
  EXPECT_EQ(SaveDC(&dc), 1);
  SetTextColor(&dc, 2);
  EXPECT_EQ(SaveDC(&dc), 2);
  SetTextColor(&dc, 3);
  EXPECT_EQ(SaveDC(&dc), 3);
  SetTextColor(&dc, 4);

  EXPECT_TRUE(RestoreDC(&dc, -1));  // back to the state saved third
  EXPECT_EQ(dc.State().textColor, 3u);
  EXPECT_EQ(dc.SavedStates().size(), 2u);
  EXPECT_TRUE(RestoreDC(&dc, 1));  // straight down to the first save
  EXPECT_EQ(dc.State().textColor, 1u);
  EXPECT_TRUE(dc.SavedStates().empty());

  // Depths that do not exist fail and change nothing.
  EXPECT_EQ(SaveDC(&dc), 1);
  SetTextColor(&dc, 5);
  EXPECT_FALSE(RestoreDC(&dc, 0));
  EXPECT_FALSE(RestoreDC(&dc, 2));
  EXPECT_FALSE(RestoreDC(&dc, -2));
  EXPECT_EQ(dc.State().textColor, 5u);
  EXPECT_TRUE(RestoreDC(&dc, -1));
  EXPECT_FALSE(RestoreDC(&dc, -1));
  EXPECT_EQ(SaveDC(nullptr), 0);
}

TEST(DeviceContextState, SettersReturnThePreviousValue) {
  Bitmap bmp(1, 1);
  DeviceContext dc(bmp);
  EXPECT_EQ(SetTextColor(&dc, RGB(1, 2, 3)), RGB(0, 0, 0));
  EXPECT_EQ(SetTextColor(&dc, 7), RGB(1, 2, 3));
  EXPECT_EQ(SetBkColor(&dc, 7), RGB(255, 255, 255));
  EXPECT_EQ(SetDCBrushColor(&dc, 8), RGB(255, 255, 255));
  EXPECT_EQ(SetDCPenColor(&dc, 9), RGB(0, 0, 0));
  EXPECT_EQ(SetDCPenColor(&dc, CLR_NONE), 9u);
  EXPECT_EQ(SetBkMode(&dc, TRANSPARENT), OPAQUE);
  EXPECT_EQ(SetBkMode(&dc, 77), 0);  // unknown modes are refused
  EXPECT_EQ(dc.State().bkMode, TRANSPARENT);
  EXPECT_EQ(SetPolyFillMode(&dc, WINDING), ALTERNATE);
  EXPECT_EQ(SetPolyFillMode(&dc, 0), 0);
  EXPECT_EQ(dc.State().polyFillMode, WINDING);

  TPoint old{-1, -1};
  EXPECT_TRUE(SetViewportOrgEx(&dc, 5, 6, &old));
  EXPECT_EQ(old, (TPoint{0, 0}));
  EXPECT_TRUE(OffsetViewportOrgEx(&dc, -2, 3, &old));
  EXPECT_EQ(old, (TPoint{5, 6}));
  TPoint org;
  EXPECT_TRUE(GetViewportOrgEx(&dc, &org));
  EXPECT_EQ(org, (TPoint{3, 9}));
}

TEST(DeviceContextClip, RectanglesAreLogicalAndStartFromTheTarget) {
  Bitmap bmp(20, 10);
  DeviceContext dc(bmp);
  TRect box;
  EXPECT_EQ(GetClipBox(&dc, &box), SIMPLEREGION);
  EXPECT_EQ(box, (TRect{0, 0, 20, 10}));

  SetViewportOrgEx(&dc, 4, 2, nullptr);
  EXPECT_EQ(GetClipBox(&dc, &box), SIMPLEREGION);
  EXPECT_EQ(box, (TRect{-4, -2, 16, 8}));  // the same pixels, seen from the new origin

  // Excluding with no clip yet cuts out of the whole target.
  EXPECT_EQ(ExcludeClipRect(&dc, 0, 0, 2, 2), COMPLEXREGION);
  EXPECT_EQ(dc.EffectiveClip(), Region({0, 0, 20, 10}).Subtract(Region({4, 2, 6, 4})));
  // Intersecting may reach beyond the target; only the target's part stays drawable.
  EXPECT_EQ(IntersectClipRect(&dc, -10, -10, 1, 30), COMPLEXREGION);
  EXPECT_EQ(dc.EffectiveClip(),
            Region({0, 0, 4, 10}).Union(Region({4, 4, 5, 10})).Union(Region({4, 0, 5, 2})));
  EXPECT_EQ(GetClipBox(&dc, &box), COMPLEXREGION);
  EXPECT_EQ(box, (TRect{-4, -2, 1, 8}));

  EXPECT_EQ(IntersectClipRect(&dc, 30, 30, 40, 40), NULLREGION);
  EXPECT_EQ(GetClipBox(&dc, &box), NULLREGION);
  EXPECT_EQ(box, TRect{});
}

TEST(DeviceContextClip, SelectedRegionIsACopyAndSavedWithTheState) {
  Bitmap bmp(20, 10);
  DeviceContext dc(bmp);
  Region rgn({2, 2, 6, 6});
  EXPECT_EQ(SelectClipRgn(&dc, &rgn), SIMPLEREGION);
  rgn = Region({0, 0, 1, 1});
  EXPECT_EQ(dc.EffectiveClip(), Region({2, 2, 6, 6}));

  // Selected regions are in device pixels: the origin does not move them.
  SetViewportOrgEx(&dc, 10, 0, nullptr);
  TRect box;
  GetClipBox(&dc, &box);
  EXPECT_EQ(box, (TRect{-8, 2, -4, 6}));

  const int depth = SaveDC(&dc);
  IntersectClipRect(&dc, -7, 0, -6, 10);
  EXPECT_EQ(dc.EffectiveClip(), Region({3, 2, 4, 6}));
  SaveDC(&dc);
  EXPECT_EQ(SelectClipRgn(&dc, nullptr), SIMPLEREGION);
  EXPECT_EQ(dc.EffectiveClip(), Region(bmp.Bounds()));
  RestoreDC(&dc, -1);
  EXPECT_EQ(dc.EffectiveClip(), Region({3, 2, 4, 6}));
  RestoreDC(&dc, depth);
  EXPECT_EQ(dc.EffectiveClip(), Region({2, 2, 6, 6}));

  // A region reaching past the target is kept whole, but only its visible part counts.
  Region wide({-5, 8, 50, 20});
  EXPECT_EQ(SelectClipRgn(&dc, &wide), SIMPLEREGION);
  EXPECT_EQ(*dc.State().clip, wide);
  EXPECT_EQ(dc.EffectiveClip(), Region({0, 8, 20, 10}));
}

}  // namespace
}  // namespace gfx
