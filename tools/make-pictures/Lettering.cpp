#include "Lettering.h"

#include <ft2build.h>
#include FT_OUTLINE_H
#include <hb.h>

#include "platform/gfx/FontLibrary.h"
#include "platform/gfx/GraphicsError.h"

namespace art {

namespace {

// Font units (y up) to pixels (y down) relative to the pen position.
struct OutlineSink {
  Path* path;
  double scale;
  double penX;
  Vec Map(const FT_Vector* v) const { return {penX + v->x * scale, -v->y * scale}; }
};

OutlineSink& Sink(void* user) {
  return *static_cast<OutlineSink*>(user);
}

int OnMove(const FT_Vector* to, void* user) {
  const Vec p = Sink(user).Map(to);
  Sink(user).path->Close().MoveTo(p.x, p.y);
  return 0;
}
int OnLine(const FT_Vector* to, void* user) {
  const Vec p = Sink(user).Map(to);
  Sink(user).path->LineTo(p.x, p.y);
  return 0;
}
int OnConic(const FT_Vector* c, const FT_Vector* to, void* user) {
  const Vec q = Sink(user).Map(c), p = Sink(user).Map(to);
  Sink(user).path->QuadTo(q.x, q.y, p.x, p.y);
  return 0;
}
int OnCubic(const FT_Vector* c1, const FT_Vector* c2, const FT_Vector* to, void* user) {
  const Vec a = Sink(user).Map(c1), b = Sink(user).Map(c2), p = Sink(user).Map(to);
  Sink(user).path->CubicTo(a.x, a.y, b.x, b.y, p.x, p.y);
  return 0;
}

}  // namespace

Lettering LayOutText(const std::u16string& family, bool bold, const std::u16string& text,
                     double size, double tracking) {
  const gfx::ResolvedFace resolved = gfx::ResolveFace(family, bold, false);
  FT_Face face = resolved.face->Ft();
  const double scale = size / face->units_per_EM;

  hb_buffer_t* buffer = hb_buffer_create();
  hb_buffer_add_utf16(buffer, reinterpret_cast<const std::uint16_t*>(text.data()), int(text.size()),
                      0, int(text.size()));
  hb_buffer_guess_segment_properties(buffer);
  hb_shape(resolved.face->Hb(), buffer, nullptr, 0);
  unsigned count = 0;
  const hb_glyph_info_t* info = hb_buffer_get_glyph_infos(buffer, &count);
  const hb_glyph_position_t* pos = hb_buffer_get_glyph_positions(buffer, &count);

  static const FT_Outline_Funcs funcs = {OnMove, OnLine, OnConic, OnCubic, 0, 0};
  Lettering out;
  double pen = 0;
  for (unsigned i = 0; i < count; ++i) {
    if (FT_Load_Glyph(face, info[i].codepoint, FT_LOAD_NO_SCALE | FT_LOAD_NO_BITMAP) != 0 ||
        face->glyph->format != FT_GLYPH_FORMAT_OUTLINE) {
      hb_buffer_destroy(buffer);
      throw gfx::GraphicsError("glyph without an outline");
    }
    OutlineSink sink{&out.outline, scale, pen + pos[i].x_offset * scale};
    FT_Outline_Decompose(&face->glyph->outline, &funcs, &sink);
    out.outline.Close();
    pen += pos[i].x_advance * scale + tracking;
  }
  hb_buffer_destroy(buffer);
  out.advance = pen - (count > 0 ? tracking : 0);
  return out;
}

}  // namespace art
