// Fonts: metrics the way the platform reports them, shaping with whole-pixel advances, and
// glyph rendering. The rules are described in docs/text-metrics.md.
#include "platform/gfx/Font.h"

#include <algorithm>

#include "platform/gfx/FontLibrary.h"
#include "platform/gfx/GlyphCache.h"
#include FT_OUTLINE_H
#include FT_TRUETYPE_TABLES_H

namespace gfx {
namespace {

// Em sizes outside this range are clamped; glyph bitmaps above kMaxGlyphPixels are not drawn,
// so a damaged or absurd font cannot make us allocate without bound.
constexpr int kMaxEm = 2048;
constexpr std::int64_t kMaxGlyphPixels = std::int64_t(1) << 22;
// Cell height of a request of height 0.
constexpr int kDefaultCellHeight = 16;
// Shear of synthetic italic (about 12 degrees, 16.16 fixed point).
constexpr FT_Fixed kObliqueShear = 0x0366A;

// value * em / upem rounded to the nearest integer, halves away from minus infinity.
int Scale(std::int64_t value, int em, int upem) {
  std::int64_t num = value * em * 2 + upem;
  std::int64_t den = std::int64_t(upem) * 2;
  return int(num >= 0 ? num / den : -((-num + den - 1) / den));
}

}  // namespace

Font::Font(const LOGFONTW& lf) : logical_(lf) {
  bool bold = lf.lfWeight >= 600;
  ResolvedFace resolved = ResolveFace(lf.lfFaceName, bold, lf.lfItalic);
  face_ = resolved.face;
  faceName_ = resolved.family;
  oblique_ = resolved.syntheticItalic;

  FT_Face ft = face_->Ft();
  const int upem = ft->units_per_EM;
  auto* os2 = static_cast<TT_OS2*>(FT_Get_Sfnt_Table(ft, FT_SFNT_OS2));
  auto* hhea = static_cast<TT_HoriHeader*>(FT_Get_Sfnt_Table(ft, FT_SFNT_HHEA));
  auto* post = static_cast<TT_Postscript*>(FT_Get_Sfnt_Table(ft, FT_SFNT_POST));
  if (os2 && os2->version == 0xFFFF) os2 = nullptr;

  // The cell: the Windows ascent and descent of OS/2, else the face's ascender/descender.
  std::int64_t winAscent = os2 ? os2->usWinAscent : std::max<FT_Short>(0, ft->ascender);
  std::int64_t winDescent = os2 ? os2->usWinDescent : std::max<FT_Short>(0, -ft->descender);
  if (winAscent + winDescent <= 0) winAscent = upem * 4 / 5, winDescent = upem / 5;

  std::int64_t height = lf.lfHeight == 0 ? kDefaultCellHeight : lf.lfHeight;
  std::int64_t em =
      height < 0 ? -height
                 : (height * upem * 2 + (winAscent + winDescent)) / (2 * (winAscent + winDescent));
  em_ = int(std::clamp<std::int64_t>(em, 1, kMaxEm));
  // Synthetic bold widens strokes and advances by about em / 24, at least a pixel; a bold face
  // with regular strokes gets the strokes only.
  if (bold && (resolved.syntheticBold || resolved.thinBold))
    emboldenPx_ = std::max(1, (em_ + 12) / 24);
  if (bold && resolved.syntheticBold) advanceExtraPx_ = emboldenPx_;

  TEXTMETRICW& tm = metrics_;
  tm.tmAscent = Scale(winAscent, em_, upem);
  tm.tmDescent = Scale(winDescent, em_, upem);
  tm.tmHeight = tm.tmAscent + tm.tmDescent;
  tm.tmInternalLeading = tm.tmHeight - em_;
  if (hhea) {
    std::int64_t gap =
        hhea->Line_Gap - ((winAscent + winDescent) - (hhea->Ascender - hhea->Descender));
    tm.tmExternalLeading = std::max(0, Scale(gap, em_, upem));
  }
  FT_UInt x = FT_Get_Char_Index(ft, 'x');
  tm.tmAveCharWidth =
      x ? Scale(hb_font_get_glyph_h_advance(face_->Hb(), x), em_, upem) + advanceExtraPx_
        : Scale(os2 ? os2->xAvgCharWidth : upem / 2, em_, upem) + advanceExtraPx_;
  tm.tmMaxCharWidth = Scale(ft->max_advance_width, em_, upem) + advanceExtraPx_;
  tm.tmWeight = lf.lfWeight > 0 ? lf.lfWeight : FW_NORMAL;
  tm.tmItalic = lf.lfItalic;
  tm.tmUnderlined = lf.lfUnderline;
  tm.tmStruckOut = lf.lfStrikeOut;

  // Lines: the underline centred on the post table's position, the strike-out from OS/2.
  int underlineCentre = post ? -Scale(post->underlinePosition, em_, upem) : tm.tmDescent / 2;
  underlineThickness_ = std::max(1, post ? Scale(post->underlineThickness, em_, upem) : em_ / 14);
  underlineTop_ = underlineCentre - underlineThickness_ / 2;
  strikeOutThickness_ =
      std::max(1, os2 ? Scale(os2->yStrikeoutSize, em_, upem) : underlineThickness_);
  strikeOutTop_ = -(os2 ? Scale(os2->yStrikeoutPosition, em_, upem) : em_ * 3 / 10);
}

ShapedText Font::Shape(std::u16string_view text) const {
  ShapedText out;
  out.advances.assign(text.size(), 0);
  if (text.empty()) return out;
  hb_buffer_t* buffer = hb_buffer_create();
  hb_buffer_add_utf16(buffer, reinterpret_cast<const std::uint16_t*>(text.data()), int(text.size()),
                      0, int(text.size()));
  hb_buffer_guess_segment_properties(buffer);
  // The platform lays text out without kerning or ligatures.
  const hb_feature_t features[] = {{HB_TAG('k', 'e', 'r', 'n'), 0, 0, ~0u},
                                   {HB_TAG('l', 'i', 'g', 'a'), 0, 0, ~0u},
                                   {HB_TAG('c', 'l', 'i', 'g'), 0, 0, ~0u}};
  hb_shape(face_->Hb(), buffer, features, 3);
  unsigned count = 0;
  const hb_glyph_info_t* info = hb_buffer_get_glyph_infos(buffer, &count);
  const hb_glyph_position_t* pos = hb_buffer_get_glyph_positions(buffer, &count);
  const int upem = face_->Ft()->units_per_EM;
  out.glyphs.reserve(count);
  int pen = 0;
  for (unsigned i = 0; i < count; ++i) {
    out.glyphs.push_back({info[i].codepoint, info[i].cluster,
                          pen + Scale(pos[i].x_offset, em_, upem),
                          -Scale(pos[i].y_offset, em_, upem)});
    int advance = Scale(pos[i].x_advance, em_, upem);
    if (advance != 0) advance += advanceExtraPx_;
    if (info[i].cluster < text.size()) out.advances[info[i].cluster] += advance;
    pen += advance;
  }
  out.width = pen;
  hb_buffer_destroy(buffer);
  return out;
}

std::shared_ptr<const GlyphImage> Font::Glyph(std::uint32_t id) const {
  GlyphKey key{face_->Id(), em_, emboldenPx_, oblique_, id};
  GlyphCache& cache = GlyphCache::Instance();
  if (auto cached = cache.Find(key)) return cached;

  auto image = std::make_shared<GlyphImage>();
  FT_Face ft = face_->Ft();
  FT_GlyphSlot slot = ft->glyph;
  if (FT_Set_Pixel_Sizes(ft, 0, em_) == 0 &&
      FT_Load_Glyph(ft, id, FT_LOAD_NO_BITMAP | FT_LOAD_TARGET_LIGHT) == 0 &&
      slot->format == FT_GLYPH_FORMAT_OUTLINE) {
    if (emboldenPx_ > 0) FT_Outline_EmboldenXY(&slot->outline, emboldenPx_ * 64, 0);
    if (oblique_) {
      FT_Matrix shear{0x10000, kObliqueShear, 0, 0x10000};
      FT_Outline_Transform(&slot->outline, &shear);
    }
    FT_BBox box;
    FT_Outline_Get_CBox(&slot->outline, &box);
    std::int64_t w = ((std::int64_t(box.xMax) + 63) >> 6) - (std::int64_t(box.xMin) >> 6);
    std::int64_t h = ((std::int64_t(box.yMax) + 63) >> 6) - (std::int64_t(box.yMin) >> 6);
    if (w * h <= kMaxGlyphPixels && FT_Render_Glyph(slot, FT_RENDER_MODE_NORMAL) == 0 &&
        slot->bitmap.pixel_mode == FT_PIXEL_MODE_GRAY && slot->bitmap.pitch >= 0) {
      const FT_Bitmap& bm = slot->bitmap;
      image->left = slot->bitmap_left;
      image->top = slot->bitmap_top;
      image->width = int(bm.width);
      image->height = int(bm.rows);
      image->coverage.resize(std::size_t(bm.width) * bm.rows);
      for (unsigned row = 0; row < bm.rows; ++row) {
        const unsigned char* src = bm.buffer + std::ptrdiff_t(row) * bm.pitch;
        std::copy_n(src, bm.width, image->coverage.data() + std::size_t(row) * bm.width);
      }
    }
  }
  cache.Insert(key, image);
  return image;
}

HFONT CreateFontIndirectW(const LOGFONTW& lf) {
  return std::make_shared<const Font>(lf);
}

HFONT DefaultGuiFont() {
  static const HFONT font = [] {
    LOGFONTW lf;
    lf.lfHeight = -11;
    lf.lfFaceName = u"Tahoma";
    return CreateFontIndirectW(lf);
  }();
  return font;
}

}  // namespace gfx
