// The parameterised painter of the internal skins: a skin's look (style, pattern, corner
// radius, colours) read from its options text, and the pictures every skin carries drawn in
// that look, one layer per image (state).
#pragma once

#include <algorithm>
#include <string>
#include <vector>

#include "Raster.h"
#include "skin/data/acIniFile.h"

namespace skinbuilder {

// How faces are shaded.
enum class TLook { Gloss, Soft, Bevel, Flat };
// A texture laid over frames, titles and panels.
enum class TPattern { None, Gauze, Rhombus, Stripes, Grain };

// The section of the options text that parameterises the painter; the builder drops it from
// the packaged text.
inline constexpr const char* kPainterSection = "PAINTER";

struct TStyle {
  TLook Look = TLook::Soft;
  TPattern Pattern = TPattern::None;
  int Radius = 3;       // buttons, edits, hints
  int FrameRadius = 6;  // the window's top corners
  int BorderWidth = 4;  // window frame
  int TitleHeight = 22;
  TRgb Face, Text, Border, Accent, Frame, FrameInactive;
  TRgb Title1, Title2, Title1Inactive, Title2Inactive, TitleText, Glyph, CloseHot;
  TRgb Button[3];  // normal, hot, pressed
  TRgb Edit, Selection[2], Hint, HintBorder, MenuHot, Track, Check;
  TRgb Workspace;  // the client area of a multiple-document window ("MDIAREA")
  // The scale pictures are drawn for (1.5 for the 150 percent variants): symbols' pens and
  // spacings follow it; one-pixel edges stay one pixel, so the larger pictures stay sharp.
  float Scale = 1;
  // Square bevelled skins draw the classic desktop: grey raised frames and caption buttons.
  bool Classic() const { return Look == TLook::Bevel && Radius == 0; }
  // Edge widths of the title and button pictures: their rounded corners must fit.
  int TitleSide() const { return std::max(6, FrameRadius + 1); }
  int TitleTop() const { return std::max(5, FrameRadius + 1); }
  int ButtonEdge() const { return std::max(4, Radius + 2); }
  // The top edge of a stretched face picture of the given height and edge width. A glossy
  // face changes sharply at half its height; that row must lie in the top slice, which is
  // never stretched: the engine stretches a border's centre with a filter and its sides pixel
  // by pixel, so a sharp change in the stretched rows lands on different rows in the two and
  // shows as a step where the side bands meet the centre.
  int FaceTop(int height, int edge) const {
    return Look == TLook::Gloss ? std::max(edge, height / 2) : edge;
  }
  // The height to draw a small stretched face picture at: its size in a list, and for faces
  // that darken steadily down their height at least twice the given height. Stretched, the
  // centre and the side bands may meet half a source row apart; the more rows, the smaller the
  // steps between them. A glossy face keeps its sharp step at half the picture's height, in
  // the top slice, so the picture is as tall as the rows it is shown in.
  int SmallFaceHeight(int height, int rowHeight) const {
    return Look == TLook::Gloss ? rowHeight : std::max(rowHeight, 2 * height);
  }
};

// Reads the look from GLOBALINFO, the sections' colours and the PAINTER section.
TStyle ReadStyle(const skin::data::TMemIniFile& ini);

// Kinds of picture the painter draws.
enum class TPart {
  FormBorder,
  FormTitle,
  Button,
  ComboButton,
  Edit,
  Selection,
  PanelRaised,
  PanelLowered,
  GroupBox,
  StatusBar,
  Divider,
  DividerV,
  ScrollTrackH,
  ScrollTrackV,
  ScrollButton,
  Slider,
  Hint,
  MenuItem,
  MenuFrame,
  TitleButton,
  // glyphs
  GlyphClose,
  GlyphMax,
  GlyphMin,
  GlyphRestore,
  GlyphHelp,
  ArrowDown,
  ArrowLeft,
  ArrowUp,
  ArrowRight,
  SliderGripH,
  SliderGripV,
  CheckUnchecked,
  CheckChecked,
  CheckGrayed,
  RadioUnchecked,
  RadioChecked,
  Grip,
  MenuCheck,
  // textures
  FormTexture,
  MDIAreaTexture  // the window body's texture over the workspace colour
};

// Draws image (state) index of part into a layer of width × height.
TLayer PaintPart(const TStyle& style, TPart part, int index, int width, int height);

// The 140 × 100 preview: a small window in the skin, built from its pictures by find(key).
struct TPreviewParts {
  const TLayer* Form;       // active frame
  const TLayer* Title;      // active title strip
  const TLayer* Close;      // small close glyph, normal
  const TLayer* Button;     // normal button
  const TLayer* ButtonHot;  // hot button
  const TLayer* Edit;       // edit frame
  const TLayer* Selection;  // focused selection
  const TLayer* Track;      // vertical scroll track
  const TLayer* Slider;     // vertical slider
  const TLayer* Check;      // checked check box
};
TLayer PaintPreview(const TStyle& style, const TPreviewParts& parts);

}  // namespace skinbuilder
