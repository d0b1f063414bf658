// Helpers of the section painting tests: a hand-built model over a master bitmap whose pixels
// name their own coordinates, and pixel-word helpers.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>

#include "skin/data/acSkinModel.h"
#include "skin/draw/sGraphUtils.h"

namespace skin::draw::test {

using gfx::RectOfSize;
using skin::paint::kTransKey;

constexpr std::uint32_t Px(int b, int g, int r, int a = 255) {
  return std::uint32_t(b) | std::uint32_t(g) << 8 | std::uint32_t(r) << 16 | std::uint32_t(a) << 24;
}
// A pixel word of a TColor (0x00BBGGRR) with alpha a.
constexpr std::uint32_t PxOf(TColor c, int a = 255) {
  return Px(c >> 16 & 0xFF, c >> 8 & 0xFF, c & 0xFF, a);
}
constexpr int Ch(std::uint32_t p, int c) {
  return int(p >> (8 * c) & 0xFF);
}
constexpr std::uint32_t Rgb(std::uint32_t p) {
  return p & 0x00FFFFFF;
}

// The master's own pixel at (x, y): B = x, G = y, R = tag (never the key colour).
constexpr std::uint32_t Coord(int x, int y, int tag = 0x40) {
  return Px(x & 0xFF, y & 0xFF, tag);
}

// A model with a master bitmap of coordinate pixels and no sections.
inline void InitMaster(TacSkinModel& m, int w = 160, int h = 80) {
  m.MasterBitmap = Bitmap(w, h);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) m.MasterBitmap.Set(x, y, Coord(x, y));
}

// A picture item of m at r in the master.
inline int AddItem(TacSkinModel& m, const TRect& r, int imageCount, int maskType, int drawMode,
                   skin::paint::TacImgType type = skin::paint::itisaBorder) {
  TsMaskData md;
  md.R = r;
  md.ImageCount = std::int16_t(imageCount);
  md.MaskType = std::int16_t(maskType);
  md.DrawMode = std::int16_t(drawMode);
  md.ImgType = type;
  md.Manager = &m;
  md.Width = imageCount > 0 ? r.Width() / imageCount : r.Width();
  md.Height = maskType != 0 ? r.Height() / 2 : r.Height();
  m.ma.push_back(md);
  return int(m.ma.size()) - 1;
}

// Mask rows of a masked item: black (the picture shows) below its picture rows.
inline void ClearMask(TacSkinModel& m, const TsMaskData& md) {
  for (int y = md.R.Top + md.Height; y < md.R.Top + 2 * md.Height; ++y)
    for (int x = md.R.Left; x < md.R.Right; ++x) m.MasterBitmap.Set(x, y, Px(0, 0, 0));
}

// A section with every state the same.
inline int AddSection(TacSkinModel& m, TColor color, int transparency = 0, int states = 3) {
  TsGeneralData gd;
  gd.ClassName = "S" + std::to_string(m.gd.size());
  gd.States = states;
  for (TsGenState& s : gd.Props) {
    s.Color = color;
    s.Transparency = transparency;
  }
  m.gd.push_back(gd);
  return int(m.gd.size()) - 1;
}

}  // namespace skin::draw::test
