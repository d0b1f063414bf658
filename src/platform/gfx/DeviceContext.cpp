#include "platform/gfx/DeviceContext.h"

#include "platform/gfx/ClipRects.h"

namespace gfx {

namespace {

template <class T>
T Exchange(T& field, T value) {
  T old = std::move(field);
  field = std::move(value);
  return old;
}

// The clip to shrink: the current one, or the whole target when there is none yet.
Region CurrentClip(const DeviceContext& dc) {
  return dc.State().clip ? *dc.State().clip : Region(dc.Target().Bounds());
}

int SetClip(HDC dc, Region clip) {
  dc->State().clip = std::move(clip);
  return dc->EffectiveClip().Complexity();
}

}  // namespace

Region DeviceContext::EffectiveClip() const {
  Region bounds(target_->Bounds());
  return state_.clip ? state_.clip->Intersect(bounds) : bounds;
}

int SaveDC(HDC dc) {
  if (!dc) return 0;
  dc->SavedStates().push_back(dc->State());
  return int(dc->SavedStates().size());
}

bool RestoreDC(HDC dc, int saved) {
  if (!dc || saved == 0) return false;
  std::vector<DeviceContextState>& stack = dc->SavedStates();
  const int depth = int(stack.size());
  // A positive value names the depth SaveDC returned; a negative one counts back from the top.
  const int target = saved > 0 ? saved : depth + saved + 1;
  if (target < 1 || target > depth) return false;
  dc->State() = std::move(stack[target - 1]);
  stack.resize(target - 1);
  return true;
}

bool SetViewportOrgEx(HDC dc, int x, int y, TPoint* old) {
  if (!dc) return false;
  TPoint previous = Exchange(dc->State().origin, TPoint{x, y});
  if (old) *old = previous;
  return true;
}

bool GetViewportOrgEx(HDC dc, TPoint* org) {
  if (!dc || !org) return false;
  *org = dc->State().origin;
  return true;
}

bool OffsetViewportOrgEx(HDC dc, int dx, int dy, TPoint* old) {
  if (!dc) return false;
  const TPoint o = dc->State().origin;
  return SetViewportOrgEx(dc, SaturatingAdd(o.X, dx), SaturatingAdd(o.Y, dy), old);
}

COLORREF SetTextColor(HDC dc, COLORREF c) {
  return dc ? Exchange(dc->State().textColor, c) : CLR_INVALID;
}

COLORREF SetBkColor(HDC dc, COLORREF c) {
  return dc ? Exchange(dc->State().bkColor, c) : CLR_INVALID;
}

int SetBkMode(HDC dc, int mode) {
  if (!dc || (mode != TRANSPARENT && mode != OPAQUE)) return 0;
  return Exchange(dc->State().bkMode, mode);
}

COLORREF SetDCBrushColor(HDC dc, COLORREF c) {
  return dc ? Exchange(dc->State().brushColor, c) : CLR_INVALID;
}

COLORREF SetDCPenColor(HDC dc, COLORREF c) {
  return dc ? Exchange(dc->State().penColor, c) : CLR_INVALID;
}

int SetPolyFillMode(HDC dc, int mode) {
  if (!dc || (mode != ALTERNATE && mode != WINDING)) return 0;
  return Exchange(dc->State().polyFillMode, mode);
}

int SetROP2(HDC dc, int mode) {
  if (!dc || (mode != R2_COPYPEN && mode != R2_NOT)) return 0;
  return Exchange(dc->State().rop2, mode);
}

HFONT SelectFont(HDC dc, HFONT font) {
  return dc ? Exchange(dc->State().font, std::move(font)) : nullptr;
}

HFONT GetCurrentFont(HDC dc) {
  if (!dc) return nullptr;
  return dc->State().font ? dc->State().font : DefaultGuiFont();
}

int IntersectClipRect(HDC dc, int left, int top, int right, int bottom) {
  if (!dc) return RGN_ERROR;
  const Region rect(ToDevice(*dc, TRect{left, top, right, bottom}));
  return SetClip(dc, CurrentClip(*dc).Intersect(rect));
}

int ExcludeClipRect(HDC dc, int left, int top, int right, int bottom) {
  if (!dc) return RGN_ERROR;
  const Region rect(ToDevice(*dc, TRect{left, top, right, bottom}));
  return SetClip(dc, CurrentClip(*dc).Subtract(rect));
}

int SelectClipRgn(HDC dc, const Region* rgn) {
  if (!dc) return RGN_ERROR;
  const std::optional<Region>& system = dc->SystemClip();
  if (!rgn) {
    dc->State().clip = system;
    return dc->EffectiveClip().Complexity();
  }
  return SetClip(dc, system ? rgn->Intersect(*system) : *rgn);
}

int GetClipBox(HDC dc, TRect* box) {
  if (!dc || !box) return RGN_ERROR;
  const Region visible = dc->EffectiveClip();
  *box = visible.IsEmpty() ? TRect{} : FromDevice(*dc, visible.Bounds());
  return visible.Complexity();
}

}  // namespace gfx
