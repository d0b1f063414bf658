// The markup engine of the markup labels: a small subset of HTML (B, I, U, FONT with SIZE,
// COLOR and FACE, BR, P, A with HREF, character references) laid out with word wrapping and
// per-line alignment, and drawn into a 32-bit bitmap. It needs no window: a label hands it a
// bitmap holding its background and copies the result back. One engine lays out one text once
// (a measuring pass that records every line's size, then the placing and drawing pass).
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "framework/Canvas.h"
#include "framework/Font.h"
#include "framework/Label.h"
#include "platform/gfx/Bitmap.h"
#include "skin/core/sSkinManager.h"

namespace skin::controls {

// A link found in the text: where its text lies (label coordinates) and its address.
struct TacLink {
  gfx::TRect Bounds;
  std::u16string URL;
};

// Carriage returns start a new row (off: carriage returns and line feeds are skipped).
extern bool acHtmlStdBreak;

// The address of a link tag: what follows HREF and "=", without the quotes around it and
// without any quote or ">"; empty for a tag without HREF.
std::u16string ExtractAddress(std::u16string_view tag);
// The text without tags: every "<" up to the first ">" after it is removed; a "<" without a
// later ">" stays.
std::u16string GetPlainCaption(std::u16string_view text);
// A character reference at the start of text (just after its "&"): its name up to a ";"
// (no space before it, at most 255 characters looked at), looked up by name (letter case
// respected) or by "#" and its decimal number in the 87 known references. The character and
// the length of the name with its ";", or nothing.
struct TacSpecialChar {
  char16_t Char;
  std::size_t Length;
};
std::optional<TacSpecialChar> GetSpecialCharacter(std::u16string_view text);
// The number of references known (one row each).
std::size_t SpecialCharacterCount();

class TsHtml {
 public:
  // manager: where link colours come from (null: none, plain blue and red links).
  explicit TsHtml(const skin::core::TsSkinManager* manager);
  TsHtml(const TsHtml&) = delete;
  TsHtml& operator=(const TsHtml&) = delete;

  // Binds the target bitmap with font as the starting font (its colour the default colour),
  // the text, the links drawn pressed and hot (-1: none) and the area (Right <= 0: no
  // wrapping); clears the extents.
  void Init(gfx::Bitmap& bitmap, const fw::TFont& font, std::u16string_view text, int pressedLink,
            int hotLink, const gfx::TRect& area);
  // Lays out and, unless calcOnly, draws the text into the bitmap. The extent (0, 0, widest
  // line, bottom of the last row) and, in links, the links with their rectangles.
  gfx::TRect HTMLText(std::vector<TacLink>& links, bool calcOnly);

  // Placing: horizontal alignment of every line, and text direction.
  fw::TAlignment Alignment = fw::TAlignment::taLeftJustify;
  fw::TBiDiMode BidiMode = fw::TBiDiMode::bdLeftToRight;
  // Stored; the layout does not read it.
  fw::TTextLayout Layout = fw::TTextLayout::tlTop;
  int WrapWidth = 0;
  // Draws text with its alpha (for layered targets) instead of plain text drawing.
  bool AlphaChannel = false;

  // The layout's state, readable for tests and the label.
  int CurX = 0, CurY = 0;
  int LineNumber = 0;
  int MaxBmpWidth = 0, MaxBmpHeight = 0;
  int CurWidthValue = 0;
  int CurrentRowHeight = 0;
  bool Calculating = false;
  gfx::TRect Area;
  fw::TColor DefaultFontColor = fw::clBlack;
  // Width and height of every line, from the measuring pass.
  std::vector<gfx::TSize> aLineSizes;

 private:
  void RunPass();
  void ShowCut(std::size_t from, std::size_t to);
  void OutLine(const std::u16string& text);
  void DrawText(const std::u16string& text, int x, int width);
  void NewRow();
  int InitNewX();
  void UpdateRowHeight();
  void AddSize();
  // Executes a tag (the text from "<" to ">" inclusive); false when it is not one we know.
  bool ExecTag(std::size_t at, std::size_t length);
  void SetFont(const std::u16string& tag);
  void NewFont(int linkIndex);
  void BackFont();
  void ShowSpecial(char16_t c);
  int YyHeight();
  int RecordedHeight() const;

  const skin::core::TsSkinManager* FManager;
  gfx::Bitmap* Bitmap = nullptr;
  std::optional<gfx::DeviceContext> FDC;
  fw::TCanvas Canvas;
  std::u16string Origin;
  std::u16string UppedText;
  int HotLink = -1, PressedLink = -1;
  bool FDrawing = false;  // the placing pass draws
  int FLineLeft = 0;      // where the current line starts
  int FOpenLink = -1;     // the link whose closing tag is awaited
  int FWidest = 0;        // the widest line finished in this pass
  std::vector<fw::TFont> aFonts;
  std::vector<TacLink> Links;
};

}  // namespace skin::controls
