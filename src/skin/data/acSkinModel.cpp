#include "skin/data/acSkinModel.h"

#include <algorithm>
#include <utility>
#include <vector>

#include "skin/data/acSkinValues.h"
#include "skin/data/sSkinOptions.h"
#include "skin/paint/sAlphaGraph.h"
#include "skin/paint/sGradient.h"
#include "skin/paint/sStretch.h"

namespace skin::data {

namespace {

using skin::paint::itisaBorder;
using skin::paint::itisaTexture;

int Bounded(int v) {
  return std::clamp(v, 0, acMaxShadowExtent);
}

// A window shadow of the skin in the given colour (its top byte the opacity).
std::unique_ptr<gfx::Bitmap> WindowShadow(const TsSkinData& s, TColor color) {
  const int size = 2 * Bounded(s.WndShadowSize);
  return skin::paint::MakeShadow(std::uint32_t(color), Bounded(s.WndShadowRadius),
                                 Bounded(s.WndShadowOffset), size, size, 0, false);
}

// Sections from start along PARENTCLASS: each step yields the section index and the name
// its lookup compares with (the given name first, then each parent's own). The walk stops at
// a section without parent, at a parent equal to the name of the step before (a section
// naming itself), at a missing or already visited section, and after acMaxParentDepth steps.
template <typename Model, typename Find>
int WalkParents(const Model& m, int start, std::string_view name, Find&& find) {
  std::array<int, acMaxParentDepth> visited{};
  int index = start;
  for (int depth = 0; depth < acMaxParentDepth; ++depth) {
    const int found = find(index, name);
    if (found >= 0) return found;
    if (!m.IsValidSkinIndex(index)) return -1;
    visited[depth] = index;
    const std::string& parent = m.gd[index].ParentClass;
    if (parent.empty() || parent == name) return -1;
    index = m.GetSkinIndex(parent);
    if (index < 0 || std::find(visited.begin(), visited.begin() + depth + 1, index) !=
                         visited.begin() + depth + 1) {
      return -1;
    }
    name = m.gd[index].ClassName;
  }
  return -1;
}

// Gives the key-coloured pixels of a picture (its top h rows, in cells w wide) the mean colour
// of their other neighbours in the same cell, spreading inwards a few pixels (past a
// resampling filter's reach), so that resampling never averages the key colour into what
// shows; alphas are kept. Pixels out of reach take fallback's colour.
void CoverKeyColour(gfx::Bitmap& bmp, int w, int h, TColor fallback) {
  const int width = bmp.Width();
  std::vector<bool> key(std::size_t(width) * std::size_t(h));
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < width; ++x)
      key[std::size_t(y * width + x)] = (bmp.At(x, y) & 0xFFFFFF) == 0xFF00FF;
  const auto recolour = [&](int x, int y, gfx::Pixel colour) {
    bmp.Set(x, y, (bmp.At(x, y) & 0xFF000000) | (colour & 0xFFFFFF));
    key[std::size_t(y * width + x)] = false;
  };
  constexpr int kReach = 4;
  for (int pass = 0; pass < kReach; ++pass) {
    std::vector<std::pair<gfx::TPoint, gfx::Pixel>> covered;
    for (int y = 0; y < h; ++y) {
      for (int x = 0; x < width; ++x) {
        if (!key[std::size_t(y * width + x)]) continue;
        int n = 0, b = 0, g = 0, r = 0;
        for (int ny = std::max(0, y - 1); ny <= std::min(h - 1, y + 1); ++ny) {
          for (int nx = std::max(0, x - 1); nx <= std::min(width - 1, x + 1); ++nx) {
            if (nx / w != x / w || key[std::size_t(ny * width + nx)]) continue;
            const gfx::Pixel p = bmp.At(nx, ny);
            b += gfx::PixelB(p);
            g += gfx::PixelG(p);
            r += gfx::PixelR(p);
            ++n;
          }
        }
        if (n > 0)
          covered.push_back({{x, y},
                             gfx::MakePixel(std::uint8_t(b / n), std::uint8_t(g / n),
                                            std::uint8_t(r / n), 0)});
      }
    }
    if (covered.empty()) break;
    for (const auto& [at, colour] : covered) recolour(at.X, at.Y, colour);
  }
  const gfx::Pixel rest = gfx::PixelFromColor(gfx::COLORREF(fallback), 0);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < width; ++x)
      if (key[std::size_t(y * width + x)]) recolour(x, y, rest);
}

}  // namespace

int TacSkinModel::GetSkinIndex(std::string_view skinSection) const {
  if (skinSection.empty()) return -1;
  for (std::size_t i = 0; i < gd.size(); ++i) {
    if (gd[i].ClassName == skinSection) return int(i);
  }
  return -1;
}

int TacSkinModel::GetMaskIndex(int skinIndex, std::string_view skinSection,
                               std::string_view mask) const {
  if (skinIndex < 0) return -1;
  return WalkParents(*this, skinIndex, skinSection, [&](int index, std::string_view) {
    for (std::size_t i = 0; i < ma.size(); ++i) {
      if (ma[i].SkinIndex == index && ma[i].PropertyName == mask) return int(i);
    }
    return -1;
  });
}

int TacSkinModel::GetMaskIndex(int skinIndex, std::string_view mask) const {
  if (!IsValidSkinIndex(skinIndex)) return -1;
  return GetMaskIndex(skinIndex, {}, mask);
}

int TacSkinModel::GetMaskIndex(std::string_view skinSection, std::string_view mask) const {
  for (std::size_t i = 0; i < ma.size(); ++i) {
    if (ma[i].ClassName == skinSection && ma[i].PropertyName == mask) return int(i);
  }
  return -1;
}

int TacSkinModel::GetTextureIndex(int skinIndex, std::string_view skinSection,
                                  std::string_view propName) const {
  if (skinIndex < 0) return -1;
  return WalkParents(*this, skinIndex, skinSection, [&](int, std::string_view name) {
    for (std::size_t i = 0; i < ma.size(); ++i) {
      const TsMaskData& md = ma[i];
      if (md.ImgType == itisaTexture && md.PropertyName == propName && md.ClassName == name) {
        return int(i);
      }
    }
    return -1;
  });
}

int TacSkinModel::GetTextureIndex(int skinIndex, std::string_view propName) const {
  if (!IsValidSkinIndex(skinIndex)) return -1;
  return WalkParents(*this, skinIndex, {}, [&](int index, std::string_view) {
    for (std::size_t i = 0; i < ma.size(); ++i) {
      const TsMaskData& md = ma[i];
      if (md.SkinIndex == index && md.ImgType == itisaTexture && md.PropertyName == propName) {
        return int(i);
      }
    }
    return -1;
  });
}

std::vector<std::string> TacSkinModel::GetSkinSections() const {
  std::vector<std::string> names;
  names.reserve(gd.size());
  for (const TsGeneralData& d : gd) names.push_back(d.ClassName);
  return names;
}

int TacSkinModel::AddNewSection(std::string_view name, int parentSection, int states,
                                int transparency, TColor color, TColor fontColor) {
  TsGeneralData d;
  if (IsValidSkinIndex(parentSection)) {
    d = gd[parentSection];
  } else {
    d.States = states;
    for (TsGenState& s : d.Props) {
      s.Transparency = transparency;
      s.Color = color;
      s.FontColor.Color = fontColor;
      s.FontColor.Left = s.FontColor.Top = s.FontColor.Right = s.FontColor.Bottom = kNoColor;
    }
  }
  d.ClassName = std::string(name);
  d.ParentClass.clear();
  gd.push_back(std::move(d));
  return int(gd.size()) - 1;
}

int TacSkinModel::MakeNewItem(int skinIndex, std::string_view propertyName,
                              std::string_view className, skin::paint::TacImgType imgType,
                              const gfx::TRect& r, int imageCount, int drawMode, int maskType) {
  TsMaskData md;
  md.SkinIndex = skinIndex;
  md.PropertyName = std::string(propertyName);
  md.ClassName = std::string(className);
  md.ImgType = imgType;
  md.R = r;
  md.ImageCount = std::int16_t(imageCount);
  md.DrawMode = std::int16_t(drawMode);
  md.MaskType = std::int16_t(maskType);
  md.Manager = this;
  ma.push_back(std::move(md));
  return int(ma.size()) - 1;
}

const gfx::Bitmap* TacSkinModel::KeepBitmap(std::unique_ptr<gfx::Bitmap> bmp) {
  FItemBitmaps.push_back(std::move(bmp));
  return FItemBitmaps.back().get();
}

int TacSkinModel::GlobalIndex(std::string_view name) const {
  return GetMaskIndex(ConstData.IndexGLobalInfo, s_GlobalInfo, name);
}

int TacSkinModel::GetExtBordNdx(std::string_view name) const {
  const int found = GlobalIndex(std::string(name) + std::string(aSfxs[Scale]));
  return found < 0 && Scale > 0 ? GlobalIndex(name) : found;
}

int TacSkinModel::GetGlyphNdx(std::string_view name, int skinIndex, bool stretch) {
  const auto find = [&](std::string_view n) {
    return skinIndex < 0 ? GlobalIndex(n) : GetMaskIndex(skinIndex, n);
  };
  const int found = find(std::string(name) + std::string(aSfxs[Scale]));
  if (found >= 0 || Scale == 0) return found;
  const int base = find(name);
  if (base >= 0 && std::find(FResampled.begin(), FResampled.end(), base) == FResampled.end()) {
    Resample(ma[base], stretch);
    FResampled.push_back(base);
  }
  return base;
}

void TacSkinModel::Resample(TsMaskData& md, bool stretch) {
  using skin::paint::Stretch;
  const gfx::Bitmap& from = ItemBitmap(md);
  const gfx::TRect r = gfx::IntersectRects(md.R, from.Bounds());
  const int count = std::max<int>(1, md.ImageCount);
  const int w = r.Width() / count;
  const int h = md.MaskType > 0 ? r.Height() / (md.MaskType + 1) : r.Height();
  if (w <= 0 || h <= 0) return;
  // The picture with one mask row below it.
  gfx::Bitmap source(w * count, 2 * h);
  source.CopyFrom(from, {r.Left, r.Top, r.Left + w * count, r.Top + h}, {0, 0});
  if (md.MaskType > 0) {
    source.CopyFrom(from, {r.Left, r.Top + h, r.Left + w * count, r.Top + 2 * h}, {0, h});
  } else {
    // Key pixels become transparent above and white in the mask.
    const gfx::Pixel white = 0xFFFFFFFF, black = 0xFF000000;
    for (int y = 0; y < h; ++y) {
      for (int x = 0; x < w * count; ++x) {
        const bool key = (source.At(x, y) & 0xFFFFFF) == 0xFF00FF;
        if (key) source.Set(x, y, source.At(x, y) & 0xFFFFFF);
        source.Set(x, y + h, key ? white : black);
      }
    }
  }
  CoverKeyColour(source, w, h, Palette[pcMainColor]);
  const int sw = std::max(1, ScaleInt(w, Scale)), sh = std::max(1, ScaleInt(h, Scale));
  auto scaled = std::make_unique<gfx::Bitmap>(sw * count, 2 * sh);
  if (stretch) {
    Stretch(source, *scaled, sw * count, 2 * sh, skin::paint::ftMitchell);
  } else {
    // Each image and its mask apart, so no image bleeds into its neighbour.
    for (int row = 0; row < 2; ++row) {
      for (int i = 0; i < count; ++i) {
        gfx::Bitmap cell = source.Copy(gfx::RectOfSize(i * w, row * h, w, h)), out;
        Stretch(cell, out, sw, sh, skin::paint::ftMitchell);
        if (out.Empty()) out = cell;
        scaled->CopyFrom(out, out.Bounds(), {i * sw, row * sh});
      }
    }
  }
  md.Bmp = KeepBitmap(std::move(scaled));
  md.R = md.Bmp->Bounds();
  md.MaskType = 1;
  md.ImageCount = std::int16_t(count);
  md.Width = sw;
  md.Height = sh;
}

int TacSkinModel::PrepareOuter(int skinIndex) {
  const TsGeneralData& d = gd[skinIndex];
  const int oL = Bounded(d.OuterOffset.Left), oT = Bounded(d.OuterOffset.Top);
  const int oR = Bounded(d.OuterOffset.Right), oB = Bounded(d.OuterOffset.Bottom);
  // The shadow takes its colour in the skin's colour order (blue in the third byte).
  const std::uint32_t color = (std::uint32_t(d.OuterColorL) & 0xFFFFFF) |
                              std::uint32_t(std::clamp(d.OuterOpacity, 0, 255)) << 24;
  const auto shadow = skin::paint::MakeShadow(color, Bounded(d.OuterRadius), 0, oT + oB, oL + oR,
                                              Bounded(d.OuterBlur), false);
  const int w = shadow->Width(), h = shadow->Height();
  auto bmp = std::make_unique<gfx::Bitmap>(w, 2 * h);
  bmp->CopyFrom(*shadow, shadow->Bounds(), {0, 0});
  const int wl = std::clamp((w + oL - oR) / 2, 0, w), wr = std::clamp((w - oL + oR) / 2, 0, w);
  const int wt = std::clamp((h + oT - oB) / 2, 0, h), wb = std::clamp((h - oT + oB) / 2, 0, h);
  // The mask half: one colour per side band; mode 3 colours the left side only.
  const bool perSide = d.OuterMode == 4;
  const auto pixel = [](TColor c) { return gfx::PixelFromColor(gfx::COLORREF(c), 255); };
  const gfx::Pixel key = pixel(clFuchsia);
  const gfx::Pixel left = pixel(d.OuterColorL), top = perSide ? pixel(d.OuterColorT) : key;
  const gfx::Pixel right = perSide ? pixel(d.OuterColorR) : key;
  const gfx::Pixel bottom = perSide ? pixel(d.OuterColorB) : key;
  for (int y = 0; y < h; ++y) {
    for (int x = 0; x < w; ++x) {
      gfx::Pixel p = key;
      if (x < wl) {
        p = left;
      } else if (x >= w - wr) {
        p = right;
      } else if (y < wt) {
        p = top;
      } else if (y >= h - wb) {
        p = bottom;
      }
      bmp->Set(x, h + y, p);
    }
  }
  const gfx::Bitmap* kept = KeepBitmap(std::move(bmp));
  const int index =
      MakeNewItem(skinIndex, "OUTERMASK", d.ClassName, itisaBorder, kept->Bounds(), 1, 1, 1);
  TsMaskData& md = ma[index];
  md.Bmp = kept;
  md.WL = std::int16_t(wl);
  md.WT = std::int16_t(wt);
  md.WR = std::int16_t(wr);
  md.WB = std::int16_t(wb);
  md.CornerType = 0;
  return index;
}

void TacSkinModel::InitMaskIndexes() {
  for (std::size_t n = 0; n < gd.size(); ++n) {
    TsGeneralData& d = gd[n];
    if (d.ClassName == s_GlobalInfo) continue;
    const int i = int(n);
    d.BorderIndex = GetMaskIndex(i, "BORDERSMASK");
    d.ImgTL = GetMaskIndex(i, "IMGTOPLEFT");
    d.ImgTR = GetMaskIndex(i, "IMGTOPRIGHT");
    d.ImgBL = GetMaskIndex(i, "IMGBTMLEFT");
    d.ImgBR = GetMaskIndex(i, "IMGBTMRIGHT");
    if (d.OuterMode == 1 || d.OuterMode == 2) {
      d.OuterMask = GetMaskIndex(i, "OUTERMASK");
    } else if (d.OuterMode == 3 || d.OuterMode == 4) {
      // Generated once; running the indexes again keeps the item.
      if (!IsValidImgIndex(d.OuterMask)) d.OuterMask = PrepareOuter(i);
    } else {
      d.OuterMask = -1;
    }
    d.Props[0].TextureIndex = GetTextureIndex(i, d.ClassName, "PATTERN");
    if (d.States > 1) d.Props[1].TextureIndex = GetTextureIndex(i, d.ClassName, "HOTPATTERN");
    d.Props[2].TextureIndex = d.States > 2 && d.UseState2
                                  ? GetTextureIndex(i, d.ClassName, "PATTERN2")
                                  : d.Props[1].TextureIndex;
    if (d.BorderIndex < 0) {
      d.ScrollBorderOffset = -2;
    } else {
      const TsMaskData& b = ma[d.BorderIndex];
      const bool thin = b.WL == 1 && b.WT == 1 && b.WR == 1 && b.WB == 1;
      d.ScrollBorderOffset = thin && (d.ClassName == "EDIT" || d.ClassName == "ALPHAEDIT") ? -1 : 0;
    }
  }
  for (TsMaskData& md : ma) {
    // An item without images is one image (its widths come from that image).
    const bool noImages = md.ImageCount <= 0;
    if (noImages) md.ImageCount = 1;
    md.Width = md.R.Width() / md.ImageCount;
    md.Height = md.MaskType > 0 ? md.R.Height() / (md.MaskType + 1)
                                : (md.MaskType == 0 ? md.R.Height() : 0);
    if (noImages) {
      const auto fill = [&md](std::int16_t& w, int size) {
        if (w <= 0) w = std::int16_t(md.BorderWidth > 0 ? md.BorderWidth : size);
      };
      fill(md.WL, md.Width);
      fill(md.WR, md.Width);
      fill(md.WT, md.Height);
      fill(md.WB, md.Height);
    }
  }
}

TacConstElementData TacSkinModel::ReadConstElementData(std::string_view name, std::string_view alt1,
                                                       bool glyphVariants, std::string_view alt2) {
  TacConstElementData e;
  e.SkinSection = std::string(name);
  e.SkinIndex = GetSkinIndex(e.SkinSection);
  if (e.SkinIndex < 0 && !alt1.empty()) {
    e.SkinSection = std::string(alt1);
    e.SkinIndex = GetSkinIndex(e.SkinSection);
  }
  if (e.SkinIndex < 0 && !alt2.empty()) {
    e.SkinSection = std::string(alt2);
    e.SkinIndex = GetSkinIndex(e.SkinSection);
  }
  e.MaskIndex = GetMaskIndex(e.SkinIndex, e.SkinSection, "BORDERSMASK");
  // Without a section there is no glyph (GetGlyphNdx would look among the global items).
  if (e.SkinIndex < 0) {
    e.GlyphIndex = -1;
  } else {
    e.GlyphIndex = glyphVariants ? GetGlyphNdx("GLYPHMASK", e.SkinIndex, false)
                                 : GetMaskIndex(e.SkinIndex, "GLYPHMASK");
  }
  e.BGIndex[0] = GetMaskIndex(e.SkinIndex, e.SkinSection, "PATTERN");
  e.BGIndex[1] = GetMaskIndex(e.SkinIndex, e.SkinSection, "HOTPATTERN");
  e.BGIndex[2] = -1;
  return e;
}

TacTrackBarData TacSkinModel::ReadTrackBarData(bool horizontal) {
  TacTrackBarData t;
  t.SkinIndex = GetSkinIndex("TRACKBAR");
  t.MaskIndex = GetMaskIndex(t.SkinIndex, "BORDERSMASK");
  t.ProgIndex = GetMaskIndex(t.SkinIndex, acProgArray[horizontal]);
  t.TickIndex = t.SkinIndex < 0 ? -1 : GetGlyphNdx(acThickArray[horizontal], t.SkinIndex);
  t.SlideIndex = GetMaskIndex(t.SkinIndex, "SLIDERCHANNEL");
  if (horizontal || t.SkinIndex < 0) {
    t.GlyphIndex = -1;
  } else {
    t.GlyphIndex = GetGlyphNdx("SLIDERVMASK", t.SkinIndex);
    if (t.GlyphIndex < 0) t.GlyphIndex = GetGlyphNdx("SLIDERMASK", t.SkinIndex);
  }
  t.BGIndex[0] = GetMaskIndex(t.SkinIndex, "PATTERN");
  t.BGIndex[1] = GetMaskIndex(t.SkinIndex, "HOTPATTERN");
  return t;
}

void TacSkinModel::InitConstantIndexes() {
  TConstantSkinData& c = ConstData;
  c = TConstantSkinData{};
  c.IndexGLobalInfo = GetSkinIndex(s_GlobalInfo);
  const auto global = [this](std::string_view name) {
    return ConstData.IndexGLobalInfo < 0 ? -1 : GetGlyphNdx(name);
  };
  c.CheckBox = {global("BOXUNCHECKED"), global("BOXCHECKED"), global("BOXGRAYED")};
  c.SmallCheckBox = {global("SMALLUNCHECKED"), global("SMALLCHECKED"), global("SMALLGRAYED")};
  c.RadioButton = {global("RADIOUNCHECKED"), global("RADIOCHECKED")};
  c.ExBorder = GetExtBordNdx("EXBORDER");
  c.GripRightBottom = global("GRIPIMAGE");
  c.GripHorizontal = GlobalIndex("GRIPHORZ");
  c.GripVertical = GlobalIndex("GRIPVERT");

  c.MenuItem = ReadConstElementData("MENUITEM", {}, true, {});
  c.ComboBtn = ReadConstElementData("COMBOBTN", {}, true, {});
  c.ComboBtn.GlyphIndex = GetMaskIndex("COMBOBOX", "GLYPHMASK");
  for (int layout = 0; layout < 4; ++layout) {
    for (int side = 0; side < 4; ++side) {
      c.Tabs[layout][side] = ReadConstElementData(acTabSections[layout * 4 + side], {}, true, {});
    }
  }
  for (int k = 0; k < 2; ++k) {
    c.Sliders[k] = ReadConstElementData(acScrollSliders[k], {}, true, {});
    c.TrackBar[k] = ReadTrackBarData(k == 1);
  }
  for (int side = 0; side < 4; ++side) {
    c.ScrollBtns[side] = ReadConstElementData(acScrollBtns[side], {}, false, {});
    c.Scrolls[side] = ReadConstElementData(acScrollParts[side], {}, false, {});
    c.UpDownBtns[side] = ReadConstElementData(acUpDownBtns[side], "UPDOWNBTN", false, "BUTTON");
  }

  for (int g = 0; g < tgNone; ++g) c.TitleGlyphs[g] = global(acTitleGlyphs[g]);
  if (c.TitleGlyphs[tgCloseAlone] < 0) c.TitleGlyphs[tgCloseAlone] = c.TitleGlyphs[tgClose];
  for (int g = tgSmallClose; g <= tgSmallHelp; ++g) {
    if (c.TitleGlyphs[g] < 0) c.TitleGlyphs[g] = c.TitleGlyphs[g - 5];
  }
  for (int g = 0; g < 5; ++g) {
    c.GlowMargins[g] = CommonSkinData.TitleGlowMargins[g];
    for (int j = 0; j < CommonSkinData.TitleGlowCount; ++j) {
      const std::string name = std::string(acTitleGlyphs[g]) + "GLOW" + std::to_string(j);
      c.TitleGlows[g].push_back(c.IndexGLobalInfo < 0 ? -1
                                                      : GetGlyphNdx(name, c.IndexGLobalInfo, true));
    }
  }
  if (c.TitleGlyphs[tgCloseAlone] == c.TitleGlyphs[tgClose]) {
    c.GlowMargins[0] = c.GlowMargins[1];
    c.TitleGlows[0] = c.TitleGlows[1];
  }

  for (int t = 0; t < acSectionCount; ++t) c.Sections[t] = GetSkinIndex(acSectNames[t]);
  InitMaskIndexes();

  // Entries a skin may lack take another section's index; a copy of that section under the
  // entry's own name lets lookups by the name succeed too. A replacement that is missing as
  // well leaves the entry −1 and adds nothing.
  struct Replacement {
    TacSection Entry, With;
  };
  constexpr Replacement kAuxReplacement[] = {
      {ssMenuCaption, ssToolBar},  {ssDialogTitle, ssFormTitle}, {ssMenuButton, ssSpeedButton},
      {ssMenuLine, ssMenuLine},    {ssFormHeader, ssFormHeader}, {ssTBBtn, ssToolButton},
      {ssTBMenuBtn, ssTBMenuBtn},  {ssTBTab, ssTabTop},          {ssColHeader, ssButton},
      {ssColHeaderA, ssColHeader}, {ssColHeaderL, ssColHeader},  {ssColHeaderR, ssColHeader},
      {ssSlider_Off, ssPanelLow},  {ssSlider_On, ssPanelLow}};
  for (const Replacement& r : kAuxReplacement) {
    if (c.Sections[r.Entry] >= 0 || r.Entry == r.With || c.Sections[r.With] < 0) continue;
    c.Sections[r.Entry] = c.Sections[r.With];
    AddNewSection(acSectNames[r.Entry], c.Sections[r.With], -1, -1, -1, -1);
  }
}

const gfx::Bitmap& TacSkinModel::GetActiveShadow() {
  if (!Frsta) Frsta = WindowShadow(CommonSkinData, CommonSkinData.WndShadowColorA);
  return *Frsta;
}

const gfx::Bitmap& TacSkinModel::GetPassiveShadow() {
  if (!Frsti) Frsti = WindowShadow(CommonSkinData, CommonSkinData.WndShadowColorN);
  return *Frsti;
}

void TacSkinModel::CheckShadows(bool extendedBorders) {
  ShdaTemplate = {};
  ShdiTemplate = {};
  FormShadowSize = {};
  if (!extendedBorders) return;
  const TsSkinData& s = CommonSkinData;
  if (IsValidImgIndex(ConstData.ExBorder)) {
    const TsMaskData& md = ma[ConstData.ExBorder];
    const gfx::Bitmap& from = ItemBitmap(md);
    const gfx::TRect first = gfx::RectOfSize(md.R.Left, md.R.Top, md.Width, md.Height);
    ShdiTemplate = from.Copy(first);
    ShdaTemplate = md.ImageCount > 1 ? from.Copy(first.Offset(md.Width, 0)) : ShdiTemplate;
    if (s.ExDrawMode != 0) {
      FormShadowSize = {s.ExContentOffs, s.ExContentOffs, s.ExContentOffs, s.ExContentOffs};
    } else {
      const auto less = [&s](int w) { return std::max(0, w - s.ExContentOffs); };
      FormShadowSize = {less(md.WL), less(md.WT), less(md.WR), less(md.WB)};
    }
  } else {
    ShdaTemplate = GetActiveShadow();
    ShdiTemplate = GetPassiveShadow();
    const int size = s.WndShadowSize, offset = s.WndShadowOffset;
    FormShadowSize = {std::max(0, size), std::max(0, size - offset), std::max(0, size),
                      std::max(0, size + offset)};
  }
}

}  // namespace skin::data
