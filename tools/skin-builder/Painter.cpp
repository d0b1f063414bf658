#include "Painter.h"

#include <cmath>
#include <cstdint>
#include <string_view>

#include "skin/data/SkinError.h"
#include "skin/data/acSkinValues.h"

namespace skinbuilder {

namespace {

using skin::data::TMemIniFile;

TRgb Color(const TMemIniFile& ini, std::string_view section, std::string_view key,
           std::uint32_t def) {
  const auto v = ini.ReadValue(section, key);
  const auto n = v ? skin::data::StrToIntOpt(*v) : std::nullopt;
  return FromColor(n && *n >= 0 ? std::uint32_t(*n) : def);
}

int Int(const TMemIniFile& ini, std::string_view section, std::string_view key, int def) {
  const auto v = ini.ReadValue(section, key);
  const auto n = v ? skin::data::StrToIntOpt(*v) : std::nullopt;
  return n ? *n : def;
}

// The painter's own keys: a skin without them is a mistake in its source, not a default.
std::string_view Word(const TMemIniFile& ini, std::string_view key) {
  const auto v = ini.ReadValue(kPainterSection, key);
  if (!v) throw skin::data::ESkinError(std::string("[PAINTER] lacks ") + std::string(key));
  return *v;
}

TLook ParseLook(std::string_view s) {
  if (s == "GLOSS") return TLook::Gloss;
  if (s == "SOFT") return TLook::Soft;
  if (s == "BEVEL") return TLook::Bevel;
  if (s == "FLAT") return TLook::Flat;
  throw skin::data::ESkinError("unknown STYLE " + std::string(s));
}

TPattern ParsePattern(std::string_view s) {
  if (s == "NONE") return TPattern::None;
  if (s == "GAUZE") return TPattern::Gauze;
  if (s == "RHOMBUS") return TPattern::Rhombus;
  if (s == "STRIPES") return TPattern::Stripes;
  if (s == "GRAIN") return TPattern::Grain;
  throw skin::data::ESkinError("unknown PATTERN " + std::string(s));
}

// The skin's texture at a pixel. Periods divide 20 and 40, the tiled widths of titles and
// form textures, so tiles join without seams.
TRgb Textured(const TStyle& s, TRgb c, float fx, float fy) {
  const int x = int(fx), y = int(fy);
  switch (s.Pattern) {
    case TPattern::Gauze:
      if ((x + y) % 4 == 0 || (x - y + 4000) % 4 == 0) return Lighter(c, 0.16f);
      return c;
    case TPattern::Rhombus:
      if ((x + y) % 10 == 0 || (x - y + 4000) % 10 == 0) return Lighter(c, 0.22f);
      if ((x + y) % 10 == 5 && (x - y + 4000) % 10 == 5) return Darker(c, 0.12f);
      return c;
    case TPattern::Stripes:
      return (x + y) % 5 < 2 ? Darker(c, 0.05f) : c;
    case TPattern::Grain: {
      const std::uint32_t h = (std::uint32_t(x) * 73856093u) ^ (std::uint32_t(y) * 19349663u);
      return (h >> 5) % 5 == 0 ? Darker(c, 0.07f) : ((h >> 9) % 7 == 0 ? Lighter(c, 0.06f) : c);
    }
    case TPattern::None:
      break;
  }
  return c;
}

// The vertical shading of a face of colour c over rows [from, from + size); pressed faces
// lose their gloss and darken towards the top, as if sunk.
TShader Face(const TStyle& s, TRgb c, float from, float size, bool pressed) {
  return [&s, c, from, size, pressed](float, float y) {
    const float t = std::clamp((y - from) / std::max(1.0f, size), 0.0f, 1.0f);
    if (pressed && s.Look != TLook::Flat) return Mix(Darker(c, 0.12f), Lighter(c, 0.12f), t);
    switch (s.Look) {
      case TLook::Gloss:
        return t < 0.5f ? Mix(Lighter(c, 0.6f), Lighter(c, 0.3f), t * 2)
                        : Mix(c, Lighter(c, 0.25f), (t - 0.5f) * 2);
      case TLook::Soft:
        return Mix(Lighter(c, 0.4f), Darker(c, 0.06f), t);
      case TLook::Bevel:
        return Mix(Lighter(c, 0.12f), Darker(c, 0.05f), t);
      case TLook::Flat:
        break;
    }
    return c;
  };
}

// Light top and left, dark bottom and right lines inside [x0, x1) × [y0, y1) (the other way
// round when sunken).
void Bevel(TLayer& l, float x0, float y0, float x1, float y1, TRgb light, TRgb dark, bool sunken,
           float alpha = 1) {
  if (sunken) std::swap(light, dark);
  l.FillRoundRect(x0, y0, x1, y0 + 1, 0, Solid(light), alpha);
  l.FillRoundRect(x0, y0, x0 + 1, y1, 0, Solid(light), alpha);
  l.FillRoundRect(x0, y1 - 1, x1, y1, 0, Solid(dark), alpha);
  l.FillRoundRect(x1 - 1, y0, x1, y1, 0, Solid(dark), alpha);
}

// A framed face: a border of colour edge, the face inside, and the look's highlights.
void Box(TLayer& l, const TStyle& s, float w, float h, float radius, TRgb edge, TRgb face,
         bool pressed) {
  if (s.Look == TLook::Bevel && radius < 1) {
    // The classic raised (or pressed) block: two lines of light and shadow on each side.
    l.FillRoundRect(0, 0, w, h, 0, Face(s, face, 0, h, false));
    Bevel(l, 0, 0, w, h, Lighter(face, 0.85f), Darker(edge, 0.55f), pressed);
    Bevel(l, 1, 1, w - 1, h - 1, Lighter(face, 0.4f), Darker(face, 0.3f), pressed);
    return;
  }
  l.FillRoundRect(0, 0, w, h, radius, Solid(edge));
  l.FillRoundRect(1, 1, w - 1, h - 1, radius - 1, Face(s, face, 1, h - 2, pressed));
  if (s.Look == TLook::Gloss && !pressed) {
    l.FillRoundRect(1.5f, 1, w - 1.5f, 2, 0, Solid({1, 1, 1}), 0.55f);
  } else if (s.Look == TLook::Bevel) {
    Bevel(l, 1, 1, w - 1, h - 1, Lighter(face, 0.5f), Darker(face, 0.2f), pressed, 0.8f);
  }
}

// A one-pixel frame (two for bevelled skins) with nothing inside.
void Ring(TLayer& l, const TStyle& s, float w, float h, float radius, TRgb edge, bool sunken,
          TRgb face) {
  if (s.Look == TLook::Bevel && radius < 1) {
    Bevel(l, 0, 0, w, h, Darker(face, 0.35f), Lighter(face, 0.9f), !sunken);
    Bevel(l, 1, 1, w - 1, h - 1, Darker(face, 0.7f), Lighter(face, 0.3f), !sunken);
    return;
  }
  l.FillRoundRect(0, 0, w, h, radius, Solid(edge));
  l.Cut(1, 1, w - 1, h - 1, radius - 1);
}

TRgb StateEdge(const TStyle& s, int index) {
  if (index == 1) return Mix(s.Border, s.Accent, 0.75f);
  if (index == 2) return Darker(s.Accent, 0.25f);
  return s.Border;
}

// The background of a title button for a state: none, hot, pressed.
void TitleButtonBack(TLayer& l, const TStyle& s, int index, bool close) {
  if (s.Classic()) {
    // The classic caption buttons are raised in every state.
    Box(l, s, l.Width(), l.Height(), 0, s.Border, s.Button[index], index == 2);
    return;
  }
  if (index == 0) return;
  // On a pale title a lighter button would not show: it darkens instead.
  const bool pale = 0.3f * s.Title1.r + 0.59f * s.Title1.g + 0.11f * s.Title1.b > 0.8f;
  const TRgb base =
      close ? s.CloseHot : (pale ? Darker(s.Title2, 0.12f) : Lighter(s.Title1, 0.35f));
  const TRgb c = index == 2 ? Darker(base, 0.2f) : base;
  const float r = std::min(3.0f, float(s.Radius));
  l.FillRoundRect(0, 0, l.Width(), l.Height(), r, Solid(Darker(c, 0.25f)), 0.9f);
  l.FillRoundRect(1, 1, l.Width() - 1, l.Height() - 1, r - 1,
                  Face(s, c, 1, l.Height() - 2, index == 2), 0.9f);
}

void TitleGlyph(TLayer& back, const TStyle& s, TPart part, int index) {
  TitleButtonBack(back, s, index, part == TPart::GlyphClose);
  // The symbol has holes cut into it, so it is drawn apart and laid over the background.
  TLayer l(back.Width(), back.Height());
  const TRgb ink = (part == TPart::GlyphClose && index > 0) ? TRgb{1, 1, 1} : s.Glyph;
  const float w = l.Width(), h = l.Height(), cx = w / 2, cy = h / 2;
  const float a = std::floor(std::min(w, h) * 0.28f) + 0.5f;  // half the symbol's size
  const float pen = (std::min(w, h) >= 18.5f * s.Scale ? 1.8f : 1.4f) * s.Scale;
  switch (part) {
    case TPart::GlyphClose:
      l.Stroke(cx - a, cy - a, cx + a, cy + a, pen, ink);
      l.Stroke(cx - a, cy + a, cx + a, cy - a, pen, ink);
      break;
    case TPart::GlyphMax:
      l.FillRoundRect(cx - a - 0.5f, cy - a - 0.5f, cx + a + 0.5f, cy + a + 0.5f, 0, Solid(ink));
      l.Cut(cx - a + 0.5f, cy - a + 1.5f, cx + a - 0.5f, cy + a - 0.5f, 0);
      break;
    case TPart::GlyphMin:
      l.FillRoundRect(cx - a - 0.5f, cy + a - 1.5f, cx + a + 0.5f, cy + a + 0.5f, 0, Solid(ink));
      break;
    case TPart::GlyphRestore: {
      const float b = a - 1.5f;
      l.FillRoundRect(cx - a + 2, cy - a - 0.5f, cx + a + 0.5f, cy + b - 1, 0, Solid(ink));
      l.FillRoundRect(cx - a - 0.5f, cy - b + 1, cx + b, cy + a + 0.5f, 0, Solid(ink));
      l.Cut(cx - a + 0.5f, cy - b + 2.5f, cx + b - 1, cy + a - 0.5f, 0);
      break;
    }
    case TPart::GlyphHelp:
      l.Stroke(cx - a * 0.8f, cy - a * 0.5f, cx - a * 0.3f, cy - a, pen, ink);
      l.Stroke(cx - a * 0.3f, cy - a, cx + a * 0.5f, cy - a, pen, ink);
      l.Stroke(cx + a * 0.5f, cy - a, cx + a * 0.8f, cy - a * 0.5f, pen, ink);
      l.Stroke(cx + a * 0.8f, cy - a * 0.5f, cx, cy + a * 0.2f, pen, ink);
      l.Stroke(cx, cy + a * 0.2f, cx, cy + a * 0.45f, pen, ink);
      l.FillDisc(cx, cy + a, pen * 0.7f, ink);
      break;
    default:
      break;
  }
  back.Draw(l, 0, 0);
}

TRgb GlyphInk(const TStyle& s, int index) {
  if (index == 1) return s.Accent;
  if (index == 2) return Darker(s.Accent, 0.3f);
  return s.Text;
}

void Arrow(TLayer& l, const TStyle& s, TPart part, int index) {
  const TRgb ink = GlyphInk(s, index);
  const float w = l.Width(), h = l.Height(), cx = w / 2, cy = h / 2;
  const float a = std::min(w, h) / 2 - 0.5f;
  switch (part) {
    case TPart::ArrowDown:
      l.FillTriangle(cx - a * 1.3f, cy - a * 0.6f, cx + a * 1.3f, cy - a * 0.6f, cx, cy + a * 0.7f,
                     ink);
      break;
    case TPart::ArrowUp:
      l.FillTriangle(cx - a, cy + a * 0.5f, cx + a, cy + a * 0.5f, cx, cy - a * 0.6f, ink);
      break;
    case TPart::ArrowLeft:
      l.FillTriangle(cx + a * 0.5f, cy - a, cx + a * 0.5f, cy + a, cx - a * 0.6f, cy, ink);
      break;
    default:
      l.FillTriangle(cx - a * 0.5f, cy - a, cx - a * 0.5f, cy + a, cx + a * 0.6f, cy, ink);
      break;
  }
}

void CheckMark(TLayer& l, float x, float y, float size, TRgb ink, float pen) {
  l.Stroke(x + size * 0.1f, y + size * 0.5f, x + size * 0.4f, y + size * 0.8f, pen, ink);
  l.Stroke(x + size * 0.4f, y + size * 0.8f, x + size * 0.92f, y + size * 0.18f, pen, ink);
}

void CheckBox(TLayer& l, const TStyle& s, TPart part, int index) {
  const float w = l.Width(), h = l.Height();
  const TRgb face = index == 2 ? Darker(s.Edit, 0.1f) : s.Edit;
  const bool radio = part == TPart::RadioChecked || part == TPart::RadioUnchecked;
  if (radio) {
    l.FillDisc(w / 2, h / 2, w / 2, StateEdge(s, index));
    l.FillRoundRect(1, 1, w - 1, h - 1, w / 2, Face(s, face, 1, h - 2, true));
    if (part == TPart::RadioChecked) l.FillDisc(w / 2, h / 2, w * 0.2f, s.Check);
    return;
  }
  Box(l, s, w, h, std::min(2.0f, float(s.Radius)), StateEdge(s, index), face, true);
  if (part == TPart::CheckChecked) {
    CheckMark(l, 2, 2, w - 4, s.Check, (w >= 12.5f * s.Scale ? 2.0f : 1.5f) * s.Scale);
  } else if (part == TPart::CheckGrayed) {
    l.FillRoundRect(3.5f, 3.5f, w - 3.5f, h - 3.5f, 1, Solid(s.Check), 0.6f);
  }
}

void Lines(TLayer& l, TRgb ink, bool vertical) {
  const float w = l.Width(), h = l.Height();
  for (int i = -1; i <= 1; ++i) {
    const float off = i * 2.5f;
    if (vertical) {
      l.FillRoundRect(w / 2 + off - 0.5f, 1, w / 2 + off + 0.5f, h - 1, 0, Solid(ink));
    } else {
      l.FillRoundRect(1, h / 2 + off - 0.5f, w - 1, h / 2 + off + 0.5f, 0, Solid(ink));
    }
  }
}

}  // namespace

TStyle ReadStyle(const TMemIniFile& ini) {
  TStyle s;
  s.Look = ParseLook(Word(ini, "STYLE"));
  s.Pattern = ParsePattern(Word(ini, "PATTERN"));
  s.Radius = Int(ini, kPainterSection, "RADIUS", 3);
  s.FrameRadius = Int(ini, kPainterSection, "FRAMERADIUS", 6);
  s.BorderWidth = Int(ini, "GLOBALINFO", "BORDERWIDTH", 4);
  s.TitleHeight = Int(ini, "GLOBALINFO", "TITLEHEIGHT", 22);
  s.Face = Color(ini, "GLOBALINFO", "COLOR", 0xF0F0F0);
  s.Text = Color(ini, "GLOBALINFO", "FONTCOLOR", 0);
  s.Border = Color(ini, kPainterSection, "BORDER", 0x808080);
  s.Accent = Color(ini, kPainterSection, "ACCENT", 0xD77800);
  s.Frame = Color(ini, kPainterSection, "FRAME", 0x404040);
  s.FrameInactive = Color(ini, kPainterSection, "FRAMEINACTIVE", 0x808080);
  s.Title1 = Color(ini, kPainterSection, "TITLE1", 0xD0A060);
  s.Title2 = Color(ini, kPainterSection, "TITLE2", 0x906020);
  s.Title1Inactive = Color(ini, kPainterSection, "TITLE1I", 0xD0D0D0);
  s.Title2Inactive = Color(ini, kPainterSection, "TITLE2I", 0xA0A0A0);
  s.TitleText = Color(ini, "FORMTITLE", "HOTFONTCOLOR", 0xFFFFFF);
  s.Glyph = Color(ini, kPainterSection, "GLYPH", 0xFFFFFF);
  s.CloseHot = Color(ini, kPainterSection, "CLOSEHOT", 0x2020C0);
  s.Check = Color(ini, kPainterSection, "CHECK", 0);
  s.Track = Color(ini, kPainterSection, "TRACK", 0xE0E0E0);
  s.HintBorder = Color(ini, kPainterSection, "HINTBORDER", 0x404040);
  s.Button[0] = Color(ini, "BUTTON", "COLOR", 0xE0E0E0);
  s.Button[1] = Color(ini, "BUTTON", "HOTCOLOR", 0xF0F0F0);
  s.Button[2] = Color(ini, "BUTTON", "COLOR2", 0xC0C0C0);
  s.Edit = Color(ini, "EDIT", "COLOR", 0xFFFFFF);
  s.Workspace = Color(ini, "MDIAREA", "COLOR", 0x808080);
  s.Selection[0] = Color(ini, "SELECTION", "COLOR", 0xC0C0C0);
  s.Selection[1] = Color(ini, "SELECTION", "HOTCOLOR", 0xD77800);
  s.Hint = Color(ini, "HINT", "COLOR", 0xE1FFFF);
  s.MenuHot = Color(ini, "MENUITEM", "HOTCOLOR", 0xD77800);
  return s;
}

TLayer PaintPart(const TStyle& s, TPart part, int index, int width, int height) {
  TLayer l(width, height);
  const float w = float(width), h = float(height);
  const float r = float(s.Radius);
  switch (part) {
    case TPart::FormBorder: {
      if (s.Classic()) {
        Box(l, s, w, h, 0, s.Frame, s.Face, false);
        break;
      }
      const TRgb body = index ? s.Title2 : s.Title2Inactive;
      const float fr = std::min(float(s.FrameRadius), float(s.BorderWidth));
      l.FillRoundRect(0, 0, w, h, fr, Solid(index ? s.Frame : s.FrameInactive), 1, fr / 2);
      l.FillRoundRect(1, 1, w - 1, h - 1, fr - 1, Solid(body), 1, fr / 2 - 1);
      const float b = float(s.BorderWidth);
      l.FillRoundRect(b - 1, b - 1, w - b + 1, h - b + 1, 0, Solid(Darker(body, 0.3f)));
      l.FillRoundRect(b, b, w - b, h - b, 0, Solid(s.Face));
      break;
    }
    case TPart::FormTitle: {
      const TRgb t1 = index ? s.Title1 : s.Title1Inactive, t2 = index ? s.Title2 : s.Title2Inactive;
      const float fr = float(s.FrameRadius);
      l.FillRoundRect(0, 0, w, h, fr, Solid(index ? s.Frame : s.FrameInactive), 1, 0);
      const TStyle& st = s;
      l.FillRoundRect(
          1, 1, w - 1, h, fr - 1,
          [&st, t1, t2, h](float x, float y) {
            const float t = std::clamp((y - 1) / (h - 2), 0.0f, 1.0f);
            TRgb c = Mix(t1, t2, t);
            if (st.Look == TLook::Gloss && t < 0.45f) c = Lighter(c, 0.22f);
            return Textured(st, c, x, y);
          },
          1, 0);
      l.FillRoundRect(1.5f, 1, w - 1.5f, 2, 0, Solid({1, 1, 1}), 0.35f);
      l.FillRoundRect(0, h - 1, w, h, 0, Solid(Darker(t2, 0.3f)));
      break;
    }
    case TPart::Button:
    case TPart::ComboButton:
    case TPart::ScrollButton: {
      const float rr = part == TPart::Button ? r : std::min(r, 3.0f);
      Box(l, s, w, h, rr, StateEdge(s, index), s.Button[index], index == 2);
      break;
    }
    case TPart::Slider: {
      const TRgb face = Mix(s.Button[index], s.Accent, s.Classic() ? 0.0f : 0.3f);
      Box(l, s, w, h, std::min(r, 3.0f), StateEdge(s, index == 0 ? 1 : 2), face, index == 2);
      break;
    }
    case TPart::Edit:
      Ring(l, s, w, h, std::min(r, 3.0f), index ? s.Accent : s.Border, true, s.Face);
      break;
    case TPart::Selection: {
      // Text stands on a selection: its colour at the top, only darker below whatever the look
      // (a gloss would whiten the top half under white text).
      const TRgb c = s.Selection[index];
      const float shade = s.Look == TLook::Flat ? 0.0f : 0.1f;
      l.FillRoundRect(0, 0, w, h, std::min(r, 2.0f), Solid(Darker(c, 0.18f)));
      l.FillRoundRect(1, 1, w - 1, h - 1, std::min(r, 2.0f) - 1, [c, shade, h](float, float y) {
        return Darker(c, shade * std::clamp((y - 1) / std::max(1.0f, h - 2.0f), 0.0f, 1.0f));
      });
      break;
    }
    case TPart::PanelRaised:
    case TPart::PanelLowered: {
      const bool low = part == TPart::PanelLowered;
      if (s.Look == TLook::Flat) {
        l.FillRoundRect(0, 0, w, h, 0, Solid(Darker(s.Face, low ? 0.22f : 0.12f)));
        l.Cut(1, 1, w - 1, h - 1, 0);
      } else {
        Bevel(l, 0, 0, w, h, Lighter(s.Face, 0.7f), Darker(s.Face, 0.28f), low);
      }
      break;
    }
    case TPart::GroupBox:
      l.FillRoundRect(1, 1, w, h, std::min(r, 4.0f), Solid(Lighter(s.Face, 0.7f)));
      l.FillRoundRect(0, 0, w - 1, h - 1, std::min(r, 4.0f), Solid(Darker(s.Face, 0.25f)));
      l.Cut(1, 1, w - 2, h - 2, std::min(r, 4.0f) - 1);
      break;
    case TPart::StatusBar:
      l.FillRoundRect(0, 0, w, 1, 0, Solid(Darker(s.Face, 0.25f)));
      l.FillRoundRect(0, 1, w, 2, 0, Solid(Lighter(s.Face, 0.7f)));
      break;
    case TPart::Divider:
      l.FillRoundRect(0, 0, 1, h, 0, Solid(Darker(s.Face, 0.3f)));
      l.FillRoundRect(1, 0, 2, h, 0, Solid(Lighter(s.Face, 0.7f)));
      break;
    case TPart::DividerV:
      l.FillRoundRect(0, 0, w, 1, 0, Solid(Darker(s.Face, 0.3f)));
      l.FillRoundRect(0, 1, w, 2, 0, Solid(Lighter(s.Face, 0.7f)));
      break;
    case TPart::ScrollTrackH:
    case TPart::ScrollTrackV: {
      const bool vertical = part == TPart::ScrollTrackV;
      const TRgb c =
          index == 2 ? Darker(s.Track, 0.15f) : (index ? Lighter(s.Track, 0.2f) : s.Track);
      l.FillRoundRect(0, 0, w, h, 0, Solid(Darker(s.Track, 0.12f)));
      l.FillRoundRect(vertical ? 1 : 0, vertical ? 0 : 1, vertical ? w - 1 : w,
                      vertical ? h : h - 1, 0, [c, vertical, w, h](float x, float y) {
                        const float t = vertical ? x / w : y / h;
                        return Mix(Darker(c, 0.06f), Lighter(c, 0.3f), t);
                      });
      break;
    }
    case TPart::Hint:
      Ring(l, s, w, h, std::min(r, 4.0f), s.HintBorder, false, s.Face);
      break;
    case TPart::MenuItem:
      if (index) {
        l.FillRoundRect(0, 0, w, h, std::min(r, 3.0f), Solid(Darker(s.MenuHot, 0.2f)));
        l.FillRoundRect(1, 1, w - 1, h - 1, std::min(r, 3.0f) - 1,
                        Face(s, s.MenuHot, 1, h - 2, false));
      }
      break;
    case TPart::MenuFrame:
      l.FillRoundRect(0, 0, w, h, 0, Solid(s.Border));
      l.FillRoundRect(1, 1, w - 1, h - 1, 0, Solid(Lighter(s.Face, 0.6f)));
      l.Cut(2, 2, w - 2, h - 2, 0);
      break;
    case TPart::TitleButton:
      TitleButtonBack(l, s, index, false);
      break;
    case TPart::GlyphClose:
    case TPart::GlyphMax:
    case TPart::GlyphMin:
    case TPart::GlyphRestore:
    case TPart::GlyphHelp:
      TitleGlyph(l, s, part, index);
      break;
    case TPart::ArrowDown:
    case TPart::ArrowLeft:
    case TPart::ArrowUp:
    case TPart::ArrowRight:
      Arrow(l, s, part, index);
      break;
    case TPart::SliderGripH:
    case TPart::SliderGripV:
      Lines(l, Darker(Mix(s.Button[index], s.Accent, s.Classic() ? 0.0f : 0.3f), 0.45f),
            part == TPart::SliderGripH);
      break;
    case TPart::CheckUnchecked:
    case TPart::CheckChecked:
    case TPart::CheckGrayed:
    case TPart::RadioUnchecked:
    case TPart::RadioChecked:
      CheckBox(l, s, part, index);
      break;
    case TPart::Grip:
      for (int i = 0; i < 3; ++i) {
        for (int j = 0; j <= i; ++j) {
          const float k = s.Scale, x = w - 2.5f * k - 4 * k * j, y = h - 2.5f * k - 4 * k * (i - j);
          l.FillDisc(x + 0.7f * k, y + 0.7f * k, 1.1f * k, Lighter(s.Face, 0.8f));
          l.FillDisc(x, y, 1.1f * k, Darker(s.Face, 0.4f));
        }
      }
      break;
    case TPart::MenuCheck:
      CheckMark(l, 1, 1, w - 2, s.Text, 1.8f * s.Scale);
      break;
    case TPart::FormTexture:
    case TPart::MDIAreaTexture: {
      const TRgb base = part == TPart::FormTexture ? s.Face : s.Workspace;
      l.FillRoundRect(0, 0, w, h, 0,
                      [&s, base](float x, float y) { return Textured(s, base, x, y); });
      break;
    }
  }
  return l;
}

namespace {

// Copies src into dst's rectangle as a nine-part picture with edge widths wl, wt, wr, wb:
// corners as they are, sides and centre stretched (nearest pixel) or, with tile, repeated,
// as the skin's draw mode asks.
void Slice9(TLayer& dst, const TLayer& src, int wl, int wt, int wr, int wb, int x, int y, int w,
            int h, bool tile = false) {
  const int sw = src.Width(), sh = src.Height();
  const auto map = [tile](int d, int size, int a, int b, int srcSize) {
    if (d < a) return d;
    if (d >= size - b) return srcSize - (size - d);
    const int mid = srcSize - a - b, span = size - a - b;
    if (mid <= 0 || span <= 0) return a;
    return a + (tile ? (d - a) % mid : (d - a) * mid / span);
  };
  for (int dy = 0; dy < h; ++dy) {
    for (int dx = 0; dx < w; ++dx) {
      const int sx = map(dx, w, wl, wr, sw), sy = map(dy, h, wt, wb, sh);
      dst.Over(x + dx, y + dy, src.ColorAt(sx, sy), src.AlphaAt(sx, sy));
    }
  }
}

// A line of text as a preview shows it: a thin rounded bar.
void TextBar(TLayer& l, float x, float y, float w, TRgb ink) {
  l.FillRoundRect(x, y, x + w, y + 3, 1.5f, Solid(ink), 0.75f);
}

}  // namespace

TLayer PaintPreview(const TStyle& s, const TPreviewParts& p) {
  TLayer l(140, 100);
  l.FillRoundRect(0, 0, 140, 100, 0, Solid({1, 1, 1}));
  const int b = s.BorderWidth, title = b + s.TitleHeight;
  Slice9(l, *p.Form, b, b, b, b, 0, 0, 140, 100);
  l.FillRoundRect(float(b), float(title), float(140 - b), float(100 - b), 0,
                  [&s](float x, float y) { return Textured(s, s.Face, x, y); });
  Slice9(l, *p.Title, s.TitleSide(), s.TitleTop(), s.TitleSide(), 2, 0, 0, 140, title, true);
  TextBar(l, 10, float(title) / 2 - 1, 54, s.TitleText);
  l.Draw(*p.Close, 140 - b - 2 - p.Close->Width(), (title - p.Close->Height()) / 2 + 1);
  // An edit box with a line of text, a check box, a list with a selection and a scroll bar,
  // and two buttons, the second one hot.
  const int top = title + 6;
  l.FillRoundRect(10, float(top), 84, float(top + 16), 0, Solid(s.Edit));
  Slice9(l, *p.Edit, 3, 3, 3, 3, 10, top, 74, 16);
  TextBar(l, 15, float(top + 6.5f), 40, s.Text);
  l.Draw(*p.Check, 91, top + 1);
  TextBar(l, 109, float(top + 7), 22, s.Text);
  const int list = top + 22;
  l.FillRoundRect(10, float(list), 100, 94, 0, Solid(s.Edit));
  Slice9(l, *p.Edit, 3, 3, 3, 3, 10, list, 90, 94 - list);
  for (int i = 0; i < 4; ++i) TextBar(l, 15, float(list + 6 + i * 9), float(48 - i * 7), s.Text);
  Slice9(l, *p.Selection, 3, 3, 3, 3, 12, list + 11, 74, 10);
  TextBar(l, 15, float(list + 14.5f), 41, {1, 1, 1});
  Slice9(l, *p.Track, 3, 3, 3, 3, 87, list + 2, 11, 94 - list - 4);
  Slice9(l, *p.Slider, 4, 4, 4, 4, 87, list + 6, 11, 14);
  const int be = s.ButtonEdge();
  Slice9(l, *p.Button, be, be, be, be, 105, list, 28, 17);
  TextBar(l, 112, float(list + 7), 14, s.Text);
  Slice9(l, *p.ButtonHot, be, be, be, be, 105, list + 21, 28, 17);
  TextBar(l, 112, float(list + 28), 14, s.Text);
  return l;
}

}  // namespace skinbuilder
