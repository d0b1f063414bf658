// Device contexts over 32-bit bitmaps, with the platform's drawing calls.
//
// Coordinates given to drawing calls are logical: the viewport origin is added to reach
// device pixels. The clip region is kept in device pixels. Every call draws only inside
// the target bitmap and the clip region.
//
// Alpha: like the platform's own drawing on 32-bit device-independent bitmaps, the
// drawing calls (fills, lines, polygons, pixels, text) write the alpha byte 0 on every
// pixel they touch. Block copies (BitBlt, StretchBlt) copy all four bytes unchanged.
// Inverting operations (DSTINVERT, R2_NOT) flip all four bytes and PATINVERT XORs the colour
// bytes, so that the same drawing done twice restores the pixels exactly.
// The skin engine's pixel operations set alpha explicitly where it matters.
#pragma once

#include <optional>
#include <string_view>
#include <vector>

#include "platform/gfx/Bitmap.h"
#include "platform/gfx/Color.h"
#include "platform/gfx/Font.h"
#include "platform/gfx/Geometry.h"
#include "platform/gfx/Region.h"

namespace gfx {

// Background modes.
constexpr int TRANSPARENT = 1;
constexpr int OPAQUE = 2;
// Polygon fill modes.
constexpr int ALTERNATE = 1;
constexpr int WINDING = 2;
// Raster operations of BitBlt/StretchBlt.
constexpr std::uint32_t SRCCOPY = 0x00CC0020;
constexpr std::uint32_t BLACKNESS = 0x00000042;
constexpr std::uint32_t WHITENESS = 0x00FF0062;
constexpr std::uint32_t DSTINVERT = 0x00550009;  // no source: the destination inverted
// Raster operations of PatBlt (the pattern is the DC brush colour).
constexpr std::uint32_t PATCOPY = 0x00F00021;
constexpr std::uint32_t PATINVERT = 0x005A0049;  // destination XOR pattern
// Mix modes of the pen and of polygon fills (SetROP2).
constexpr int R2_NOT = 6;       // the destination inverted, whatever the colour
constexpr int R2_COPYPEN = 13;  // the colour (the default)
// Stretch modes (only nearest-neighbour sampling exists; both names select it).
constexpr int BLACKONWHITE = 1;
constexpr int COLORONCOLOR = 3;
// A colour meaning "draw no outline" for the pen, "no fill" for the brush.
constexpr COLORREF CLR_NONE = 0xFFFFFFFF;

struct DeviceContextState {
  TPoint origin;               // viewport origin, device pixels
  std::optional<Region> clip;  // device pixels; none means the whole target
  HFONT font;                  // null: the default GUI font
  COLORREF textColor = RGB(0, 0, 0);
  COLORREF bkColor = RGB(255, 255, 255);
  int bkMode = OPAQUE;
  COLORREF brushColor = RGB(255, 255, 255);
  COLORREF penColor = RGB(0, 0, 0);
  int polyFillMode = ALTERNATE;
  int rop2 = R2_COPYPEN;
  TPoint currentPosition;  // logical, for MoveToEx/LineTo
};

class DeviceContext {
 public:
  explicit DeviceContext(Bitmap& target) : target_(&target) {}
  Bitmap& Target() const { return *target_; }
  DeviceContextState& State() { return state_; }
  const DeviceContextState& State() const { return state_; }
  // The region drawing may touch, in device pixels: target bounds and clip together.
  Region EffectiveClip() const;
  std::vector<DeviceContextState>& SavedStates() { return saved_; }
  // The window system's visible region (device pixels) of a window's DC: every clip selected
  // later is limited to it and removing the clip falls back to it. Setting it also makes it
  // the current clip. None (the default) means the whole target.
  const std::optional<Region>& SystemClip() const { return systemClip_; }
  void SetSystemClip(std::optional<Region> clip) {
    systemClip_ = std::move(clip);
    state_.clip = systemClip_;
  }

 private:
  Bitmap* target_;
  DeviceContextState state_;
  std::vector<DeviceContextState> saved_;
  std::optional<Region> systemClip_;
};

using HDC = DeviceContext*;

// State. SaveDC returns the new depth (1 for the first save); RestoreDC takes a depth or,
// when negative, how many saves back to go (-1 the last). Both return 0 on failure.
int SaveDC(HDC dc);
bool RestoreDC(HDC dc, int saved);
bool SetViewportOrgEx(HDC dc, int x, int y, TPoint* old);
bool GetViewportOrgEx(HDC dc, TPoint* org);
bool OffsetViewportOrgEx(HDC dc, int dx, int dy, TPoint* old);
COLORREF SetTextColor(HDC dc, COLORREF c);  // return the previous value
COLORREF SetBkColor(HDC dc, COLORREF c);
int SetBkMode(HDC dc, int mode);
COLORREF SetDCBrushColor(HDC dc, COLORREF c);
COLORREF SetDCPenColor(HDC dc, COLORREF c);
int SetPolyFillMode(HDC dc, int mode);
int SetROP2(HDC dc, int mode);  // R2_COPYPEN or R2_NOT; returns the previous mode, 0 on failure
HFONT SelectFont(HDC dc, HFONT font);  // returns the previous font
HFONT GetCurrentFont(HDC dc);          // never null: the default GUI font when none

// Clipping; rectangles are logical, results are RegionComplexity values.
int IntersectClipRect(HDC dc, int left, int top, int right, int bottom);
int ExcludeClipRect(HDC dc, int left, int top, int right, int bottom);
int SelectClipRgn(HDC dc, const Region* rgn);  // device pixels; null: back to the system clip
int GetClipBox(HDC dc, TRect* box);            // logical bounding box of the drawable area

// Drawing.
bool BitBlt(HDC dst, int x, int y, int cx, int cy, HDC src, int x1, int y1, std::uint32_t rop);
bool StretchBlt(HDC dst, int x, int y, int cx, int cy, HDC src, int x1, int y1, int cx1, int cy1,
                std::uint32_t rop);
int FillRect(HDC dc, const TRect& r, COLORREF color);
// Fills a rectangle by a raster operation without source: PATCOPY, PATINVERT, DSTINVERT,
// BLACKNESS or WHITENESS (false for another one).
bool PatBlt(HDC dc, int x, int y, int cx, int cy, std::uint32_t rop);
bool Polygon(HDC dc, const TPoint* points, int count);  // brush fill, pen outline
bool MoveToEx(HDC dc, int x, int y, TPoint* old);
bool LineTo(HDC dc, int x, int y);  // the end point itself is not drawn
// Lines through the points in turn (each end point left to the next line); the current
// position is neither used nor changed. A closed outline drawn with R2_NOT touches every
// pixel once, so drawing it again removes it.
bool Polyline(HDC dc, const TPoint* points, int count);
COLORREF SetPixel(HDC dc, int x, int y, COLORREF c);  // returns c, or CLR_INVALID when clipped
COLORREF GetPixel(HDC dc, int x, int y);

// Text (implemented with the fonts).
// DrawTextW format flags, with the platform's values.
constexpr unsigned DT_TOP = 0x00000000;
constexpr unsigned DT_LEFT = 0x00000000;
constexpr unsigned DT_CENTER = 0x00000001;
constexpr unsigned DT_RIGHT = 0x00000002;
constexpr unsigned DT_VCENTER = 0x00000004;
constexpr unsigned DT_BOTTOM = 0x00000008;
constexpr unsigned DT_WORDBREAK = 0x00000010;
constexpr unsigned DT_SINGLELINE = 0x00000020;
constexpr unsigned DT_EXPANDTABS = 0x00000040;
constexpr unsigned DT_NOCLIP = 0x00000100;
constexpr unsigned DT_CALCRECT = 0x00000400;
constexpr unsigned DT_NOPREFIX = 0x00000800;
constexpr unsigned DT_PATH_ELLIPSIS = 0x00004000;
constexpr unsigned DT_END_ELLIPSIS = 0x00008000;
constexpr unsigned DT_RTLREADING = 0x00020000;  // accepted; text is drawn left to right
constexpr unsigned DT_WORD_ELLIPSIS = 0x00040000;

// Draws text with its top-left cell corner at (x, y) in the text colour; with OPAQUE
// background mode the text cell is first filled with the background colour.
bool TextOutW(HDC dc, int x, int y, std::u16string_view text);
// Formats text into r; returns the height of the text drawn (0 on failure). With DT_CALCRECT
// nothing is drawn and r's right and bottom are set to the extent of the formatted text.
int DrawTextW(HDC dc, std::u16string_view text, TRect* r, unsigned format);
bool GetTextExtentPoint32W(HDC dc, std::u16string_view text, TSize* size);
bool GetTextMetricsW(HDC dc, TEXTMETRICW* tm);

}  // namespace gfx
