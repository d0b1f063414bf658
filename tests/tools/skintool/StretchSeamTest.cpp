// The stretched border pictures of the internal skins, painted taller and wider than drawn:
// where a side band meets the centre (and the top and bottom bands meet it) the picture may
// step no more than it does at its own size. The engine stretches a border's centre with a
// filter and its bands pixel by pixel, so a sharp change in a picture's stretched rows lands
// on different rows in the two and shows as a step at the bands' inner edges.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <string>

#include "SkinPicture.h"
#include "skin/internal/sInternalSkins.h"

namespace {

// Largest step beyond the picture's own that a stretch may add: the centre's filter and the
// bands' nearest pixel may differ by about one source row of a gentle gradient.
constexpr int kBound = 6;

int ChannelStep(gfx::Pixel a, gfx::Pixel b) {
  int most = 0;
  for (int shift = 0; shift < 24; shift += 8)
    most = std::max(most, std::abs(int((a >> shift) & 0xFF) - int((b >> shift) & 0xFF)));
  return most;
}

// The slices of a border at a size, as the engine cuts them when the size holds both corners.
struct TCut {
  int wl, wt, wr, wb;
};

// The largest step across the four inner edges of the bands over the stretched rows and
// columns of picture p. side: the side bands' edges, else the top and bottom bands'.
int EdgeStep(const gfx::Bitmap& p, const TCut& c, bool side) {
  const int w = p.Width(), h = p.Height();
  int most = 0;
  if (side) {
    for (int y = c.wt; y < h - c.wb; ++y) {
      if (c.wl > 0) most = std::max(most, ChannelStep(p.At(c.wl - 1, y), p.At(c.wl, y)));
      if (c.wr > 0) most = std::max(most, ChannelStep(p.At(w - c.wr - 1, y), p.At(w - c.wr, y)));
    }
  } else {
    for (int x = c.wl; x < w - c.wr; ++x) {
      if (c.wt > 0) most = std::max(most, ChannelStep(p.At(x, c.wt - 1), p.At(x, c.wt)));
      if (c.wb > 0) most = std::max(most, ChannelStep(p.At(x, h - c.wb - 1), p.At(x, h - c.wb)));
    }
  }
  return most;
}

TEST(StretchSeamTest, StretchedBordersStepNoMoreAtTheirBandsThanAtTheirOwnSize) {
  int checked = 0;
  for (const auto& internal : skin::data::InternalSkins()) {
    const auto model = skintool::LoadSkinModel(internal.Name);
    for (int s = 0; s < int(model->gd.size()); ++s) {
      const int item = model->gd[s].BorderIndex;
      if (!model->IsValidImgIndex(item)) continue;
      const auto& md = model->ma[item];
      if ((md.DrawMode & 1) == 0 || md.Width <= md.WL + md.WR || md.Height <= md.WT + md.WB)
        continue;
      const TCut cut{md.WL, md.WT, md.WR, md.WB};
      for (int state = (md.DrawMode & 2) ? 1 : 0; state < 3; ++state) {
        const gfx::Bitmap own =
            skintool::PaintSectionPicture(*model, s, state, md.Width, md.Height, 0xFFFFFF);
        const int ownSide = EdgeStep(own, cut, true), ownTop = EdgeStep(own, cut, false);
        // The catalogue's buttons (100 x 25, 393 x 27, the expand button 100 x 131), a
        // tall scroll thumb, and sizes in between.
        for (auto [w, h] :
             {std::pair{100, 25}, {393, 27}, {100, 40}, {100, 131}, {200, 60}, {17, 200}}) {
          if (w < md.Width || h < md.Height) continue;
          const gfx::Bitmap p = skintool::PaintSectionPicture(*model, s, state, w, h, 0xFFFFFF);
          const std::string where = std::string(internal.Name) + " " + model->gd[s].ClassName +
                                    " state " + std::to_string(state) + " " + std::to_string(w) +
                                    "x" + std::to_string(h);
          EXPECT_LE(EdgeStep(p, cut, true), ownSide + kBound) << where << ": side bands";
          EXPECT_LE(EdgeStep(p, cut, false), ownTop + kBound) << where << ": top and bottom";
          ++checked;
        }
      }
    }
  }
  EXPECT_GT(checked, 8 * 20);  // every skin has stretched buttons, scroll parts and selections
}

}  // namespace
