#include "platform/win/Paint.h"

#include <algorithm>
#include <memory>
#include <vector>

#include "platform/win/Messages.h"
#include "platform/win/Styles.h"
#include "platform/win/Window.h"
#include "platform/win/WindowSystem.h"

namespace win {

using namespace detail;
using gfx::Region;

namespace {

// A DC handed out by GetDC, GetWindowDC or BeginPaint.
struct DCRecord {
  HWND hwnd;
  std::unique_ptr<gfx::DeviceContext> dc;
};
std::vector<DCRecord>& DCs() {
  static std::vector<DCRecord> dcs;
  return dcs;
}

// What DCs of destroyed windows draw on: nothing.
gfx::Bitmap& Nowhere() {
  static gfx::Bitmap none;
  return none;
}

// Top-left corner of w's window rectangle in its top-level window's coordinates.
POINT OriginInRoot(const Window& w) {
  if (IsTopLevel(w)) return {0, 0};
  const Window* p = Find(w.parent);
  POINT o = OriginInRoot(*p);
  return {o.X + p->client.Left + w.rect.Left, o.Y + p->client.Top + w.rect.Top};
}

// The pixels a window covers, in its top-level window's coordinates.
Region Shape(const Window& w) {
  POINT o = OriginInRoot(w);
  Region r(RectOfSize(o.X, o.Y, w.rect.Width(), w.rect.Height()));
  if (w.windowRegion) {
    Region shaped = *w.windowRegion;
    shaped.Offset(o.X, o.Y);
    r = r.Intersect(shaped);
  }
  return r;
}

bool RedrawAllowed(const Window& w) {
  for (const Window* p = &w; p && p->handle != S().desktop; p = Find(p->parent))
    if (p->redrawDisabled) return false;
  return true;
}

// The part of a window (client area or whole window) that drawing may touch, in its top-level
// window's coordinates.
Region VisibleRegion(const Window& w, bool client) {
  if (!IsWindowVisible(w.handle) || !RedrawAllowed(w)) return {};
  POINT o = OriginInRoot(w);
  RECT base = client ? w.client : RECT{0, 0, w.rect.Width(), w.rect.Height()};
  Region vis = Region(base.Offset(o.X, o.Y)).Intersect(Shape(w));
  if (w.style & WS_CLIPCHILDREN)
    for (HWND h : w.children)
      if (const Window* c = Find(h); c && (c->style & WS_VISIBLE)) vis = vis.Subtract(Shape(*c));
  for (const Window* cur = &w; !IsTopLevel(*cur); cur = Find(cur->parent)) {
    const Window* p = Find(cur->parent);
    if (cur->style & WS_CLIPSIBLINGS)
      for (HWND h : p->children) {
        if (h == cur->handle) break;
        if (const Window* s = Find(h); s && (s->style & WS_VISIBLE)) vis = vis.Subtract(Shape(*s));
      }
    POINT po = OriginInRoot(*p);
    vis = vis.Intersect(Region(p->client.Offset(po.X, po.Y))).Intersect(Shape(*p));
  }
  return vis;
}

// A DC on the screen's layer, made when first asked for (a screen's worth of pixels).
HDC MakeScreenDC() {
  Window* d = Find(S().desktop);
  if (!d->surface) {
    d->surface = std::make_unique<gfx::Bitmap>(d->rect.Width(), d->rect.Height());
    d->surface->Fill(0);
  }
  auto dc = std::make_unique<gfx::DeviceContext>(*d->surface);
  gfx::SetViewportOrgEx(dc.get(), -d->rect.Left, -d->rect.Top, nullptr);
  HDC h = dc.get();
  DCs().push_back({S().desktop, std::move(dc)});
  return h;
}

HDC MakeDC(HWND hwnd, bool client, const Region* extra) {
  if (!hwnd || hwnd == S().desktop) return MakeScreenDC();
  Window* w = FindReal(hwnd);
  if (!w) return nullptr;
  Window* root = FindReal(RootOf(hwnd));
  auto dc = std::make_unique<gfx::DeviceContext>(*root->surface);
  POINT o = OriginInRoot(*w);
  if (client) o.X += w->client.Left, o.Y += w->client.Top;
  gfx::SetViewportOrgEx(dc.get(), o.X, o.Y, nullptr);
  Region clip = VisibleRegion(*w, client);
  if (extra) {
    Region e = *extra;
    e.Offset(o.X, o.Y);
    clip = clip.Intersect(e);
  }
  dc->SetSystemClip(std::move(clip));
  HDC h = dc.get();
  DCs().push_back({hwnd, std::move(dc)});
  return h;
}

// Tells the backend which pixels a DC may have changed.
void Flush(HWND hwnd, HDC dc) {
  HWND root = hwnd == S().desktop ? hwnd : RootOf(hwnd);
  if (!root || dc->Target().Empty()) return;
  RECT r = dc->EffectiveClip().Bounds();
  if (!r.IsEmpty()) TheBackend().SurfaceUpdated(root, r);
}

// Whether the window asks for WM_PAINT. A validated window does not, even while its
// WM_NCPAINT is still owed to the next BeginPaint.
bool HasWork(const Window& w) {
  return !w.update.IsEmpty() || w.frameInvalid || w.internalPaint;
}

// Sends WM_PAINT at once; the internal paint request is used up by it.
void SendPaint(HWND hwnd) {
  if (Window* w = FindReal(hwnd)) w->internalPaint = false;
  Deliver(hwnd, WM_PAINT, 0, 0);
}

HWND FindPaint(const Window& w, HWND filter) {
  for (HWND h : w.children) {
    const Window* c = Find(h);
    if (!c || !(c->style & WS_VISIBLE) || c->redrawDisabled) continue;
    bool wanted = !filter || h == filter || IsChild(filter, h);
    if (wanted && HasWork(*c)) return h;
    if (HWND found = FindPaint(*c, filter)) return found;
  }
  return nullptr;
}

// Adds rgn (client coordinates) to the update region of w and, by the flags, of its children.
void Invalidate(HWND hwnd, const Region& rgn, bool frame, UINT flags) {
  Window* w = FindReal(hwnd);
  if (!w || w->layeredPerPixel) return;  // UpdateLayeredWindow gives the whole picture
  RECT clientBounds{0, 0, w->client.Width(), w->client.Height()};
  w->update = w->update.Union(rgn.Intersect(Region(clientBounds)));
  if (frame) w->ncPaintPending = w->frameInvalid = true;
  if (flags & RDW_ERASE) w->erasePending = true;
  bool children =
      (flags & RDW_ALLCHILDREN) || (!(flags & RDW_NOCHILDREN) && !(w->style & WS_CLIPCHILDREN));
  if (!children) return;
  std::vector<HWND> list = w->children;
  for (HWND h : list) {
    Window* c = FindReal(h);
    if (!c || !(c->style & WS_VISIBLE)) continue;
    Region part = rgn.Intersect(Region(c->rect));
    if (part.IsEmpty()) continue;
    part.Offset(-c->rect.Left - c->client.Left, -c->rect.Top - c->client.Top);
    bool touchesFrame =
        !part.Subtract(Region(RECT{0, 0, c->client.Width(), c->client.Height()})).IsEmpty();
    Invalidate(h, part, touchesFrame || frame, flags);
  }
}

void Validate(HWND hwnd, const Region* rgn, UINT flags) {
  Window* w = FindReal(hwnd);
  if (!w) return;
  w->update = rgn ? w->update.Subtract(*rgn) : Region();
  if (!rgn) w->frameInvalid = false;  // the whole window, frame included, is valid now
  if (flags & (RDW_FRAME | RDW_NOFRAME)) w->ncPaintPending = w->frameInvalid = false;
  if ((flags & RDW_NOERASE) || w->update.IsEmpty()) w->erasePending = false;
  if (flags & RDW_NOINTERNALPAINT) w->internalPaint = false;
  bool children = (flags & RDW_ALLCHILDREN) ||
                  (!(flags & RDW_NOCHILDREN) && !(w->style & WS_CLIPCHILDREN) && !rgn);
  if (children)
    for (HWND h : std::vector<HWND>(w->children)) Validate(h, nullptr, flags);
}

// Sends the pending WM_NCPAINT and WM_ERASEBKGND of a window without painting its client.
void EraseNow(HWND hwnd) {
  Window* w = FindReal(hwnd);
  if (!w) return;
  if (w->ncPaintPending) {
    w->ncPaintPending = w->frameInvalid = false;
    Deliver(hwnd, WM_NCPAINT, 1, 0);
  }
  if ((w = FindReal(hwnd)) && w->erasePending) {
    w->erasePending = false;
    Region clip = w->update;
    HDC dc = MakeDC(hwnd, true, &clip);
    Deliver(hwnd, WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc), 0);
    ReleaseDC(hwnd, dc);
  }
}

void UpdateTree(HWND hwnd, UINT flags, bool children) {
  Window* w = FindReal(hwnd);
  if (!w || !IsWindowVisible(hwnd) || !RedrawAllowed(*w)) return;
  if (flags & RDW_UPDATENOW) {
    if (HasWork(*w)) SendPaint(hwnd);
  } else {
    EraseNow(hwnd);
  }
  if (!children || !(w = FindReal(hwnd))) return;
  for (HWND h : std::vector<HWND>(w->children)) UpdateTree(h, flags, children);
}

}  // namespace

namespace detail {

void ResizeSurface(Window& w) {
  if (!IsTopLevel(w)) return;
  int width = std::clamp(w.rect.Width(), 0, gfx::Bitmap::kMaxSide);
  int height = std::clamp(w.rect.Height(), 0, gfx::Bitmap::kMaxSide);
  if (!w.surface) w.surface = std::make_unique<gfx::Bitmap>();
  if (w.surface->Width() != width || w.surface->Height() != height)
    *w.surface = gfx::Bitmap(width, height);  // the same object: DCs keep their target
}

HWND NextWindowToPaint(HWND filter) {
  return FindPaint(*Find(S().desktop), filter);
}

void InvalidateArea(HWND parent, const RECT& screenRect) {
  Window* p = FindReal(parent);
  if (!p) return;
  POINT o = ClientOriginOnScreen(*p);
  RECT r = screenRect.Offset(-o.X, -o.Y);
  RedrawWindow(parent, &r, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
}

void InvalidateForGeometry(HWND hwnd, const RECT& oldScreen, bool full, bool exposeOld) {
  Window* w = FindReal(hwnd);
  if (!w) return;
  if (exposeOld && !IsTopLevel(*w)) InvalidateArea(w->parent, oldScreen);
  if (full && IsWindowVisible(hwnd))
    RedrawWindow(hwnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN);
}

void DropDCsOf(HWND hwnd) {
  for (DCRecord& r : DCs())
    if (r.hwnd == hwnd) *r.dc = gfx::DeviceContext(Nowhere());
}

}  // namespace detail

bool InvalidateRect(HWND hwnd, const RECT* r, bool erase) {
  return RedrawWindow(hwnd, r, nullptr, RDW_INVALIDATE | (erase ? RDW_ERASE : 0));
}

bool InvalidateRgn(HWND hwnd, const Region* rgn, bool erase) {
  return RedrawWindow(hwnd, nullptr, rgn, RDW_INVALIDATE | (erase ? RDW_ERASE : 0));
}

bool ValidateRect(HWND hwnd, const RECT* r) {
  return RedrawWindow(hwnd, r, nullptr, RDW_VALIDATE | RDW_NOCHILDREN);
}

bool ValidateRgn(HWND hwnd, const Region* rgn) {
  return RedrawWindow(hwnd, nullptr, rgn, RDW_VALIDATE | RDW_NOCHILDREN);
}

bool RedrawWindow(HWND hwnd, const RECT* r, const Region* rgn, UINT flags) {
  if (!hwnd) hwnd = S().desktop;
  Window* w = Find(hwnd);
  if (!w) return false;
  if (hwnd == S().desktop) {
    for (HWND h : std::vector<HWND>(w->children)) RedrawWindow(h, nullptr, nullptr, flags);
    return true;
  }
  bool whole = !r && !rgn;
  Region area = rgn ? *rgn
                : r ? Region(*r)
                    : Region(RECT{0, 0, w->client.Width(), w->client.Height()});
  if (flags & RDW_INVALIDATE) {
    if (IsWindowVisible(hwnd)) Invalidate(hwnd, area, (flags & RDW_FRAME) && whole, flags);
  } else if (flags & RDW_VALIDATE) {
    Validate(hwnd, whole ? nullptr : &area, flags);
  }
  if (flags & RDW_INTERNALPAINT) w->internalPaint = true;
  if (flags & RDW_NOINTERNALPAINT) w->internalPaint = false;
  if (flags & (RDW_UPDATENOW | RDW_ERASENOW)) {
    bool children = (flags & RDW_ALLCHILDREN) || !(flags & RDW_NOCHILDREN);
    UpdateTree(hwnd, flags, children);
  }
  return true;
}

bool UpdateWindow(HWND hwnd) {
  Window* w = FindReal(hwnd);
  if (!w) return false;
  if (HasWork(*w) && IsWindowVisible(hwnd) && RedrawAllowed(*w)) SendPaint(hwnd);
  return true;
}

bool GetUpdateRect(HWND hwnd, RECT* r, bool erase) {
  Window* w = FindReal(hwnd);
  if (!w) return false;
  if (erase) EraseNow(hwnd);
  if (!(w = FindReal(hwnd))) return false;
  if (r) *r = w->update.Bounds();
  return !w->update.IsEmpty();
}

int GetUpdateRgn(HWND hwnd, Region* rgn, bool erase) {
  Window* w = FindReal(hwnd);
  if (!w) return gfx::RGN_ERROR;
  if (erase) EraseNow(hwnd);
  if (!(w = FindReal(hwnd))) return gfx::RGN_ERROR;
  *rgn = w->update;
  return rgn->Complexity();
}

HDC BeginPaint(HWND hwnd, PAINTSTRUCT* ps) {
  Window* w = FindReal(hwnd);
  if (!w) return nullptr;
  w->frameInvalid = false;
  if (w->ncPaintPending) {
    w->ncPaintPending = false;
    Deliver(hwnd, WM_NCPAINT, 1, 0);
    if (!(w = FindReal(hwnd))) return nullptr;
  }
  Region update = std::move(w->update);
  w->update = Region();
  bool erase = w->erasePending;
  w->erasePending = false;
  w->internalPaint = false;
  HDC dc = MakeDC(hwnd, true, &update);
  ps->hdc = dc;
  ps->rcPaint = update.Bounds();
  ps->fErase = false;
  if (erase) ps->fErase = !Deliver(hwnd, WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc), 0);
  return dc;
}

bool EndPaint(HWND hwnd, const PAINTSTRUCT* ps) {
  return ReleaseDC(hwnd, ps->hdc) == 1;
}

HDC GetDC(HWND hwnd) {
  return MakeDC(hwnd, true, nullptr);
}

HDC GetWindowDC(HWND hwnd) {
  return MakeDC(hwnd, false, nullptr);
}

int ReleaseDC(HWND /*hwnd*/, HDC dc) {
  auto& list = DCs();
  auto it =
      std::find_if(list.begin(), list.end(), [&](const DCRecord& r) { return r.dc.get() == dc; });
  if (it == list.end()) return 0;
  if (Find(it->hwnd)) Flush(it->hwnd, dc);
  list.erase(it);
  return 1;
}

HWND WindowFromDC(HDC dc) {
  for (const DCRecord& r : DCs())
    if (r.dc.get() == dc) return r.hwnd;
  return nullptr;
}

int FillRect(HDC dc, const RECT& r, HBRUSH brush) {
  if (!brush) return 0;
  return gfx::FillRect(dc, r, BrushColor(brush));
}

bool SetWindowRgn(HWND hwnd, const Region* rgn, bool redraw) {
  Window* w = FindReal(hwnd);
  if (!w) return false;
  RECT oldScreen = WindowRectOnScreen(*w);
  if (rgn)
    w->windowRegion = *rgn;
  else
    w->windowRegion.reset();
  if (redraw && IsWindowVisible(hwnd)) InvalidateForGeometry(hwnd, oldScreen, true, true);
  if (IsTopLevel(*w)) {
    TheBackend().RegionChanged(hwnd);
    TheBackend().SurfaceUpdated(hwnd, {0, 0, w->rect.Width(), w->rect.Height()});
  }
  return true;
}

int GetWindowRgn(HWND hwnd, Region* rgn) {
  Window* w = FindReal(hwnd);
  if (!w || !w->windowRegion) return gfx::RGN_ERROR;
  *rgn = *w->windowRegion;
  return rgn->Complexity();
}

bool SetLayeredWindowAttributes(HWND hwnd, gfx::COLORREF key, BYTE alpha, DWORD flags) {
  Window* w = FindReal(hwnd);
  if (!w || !(w->exStyle & WS_EX_LAYERED) || !IsTopLevel(*w)) return false;
  w->layeredFlags = flags;
  w->layeredAlpha = (flags & LWA_ALPHA) ? alpha : 255;
  w->layeredKey = key;
  w->layeredPerPixel = false;
  TheBackend().SurfaceUpdated(hwnd, {0, 0, w->rect.Width(), w->rect.Height()});
  return true;
}

bool GetLayeredWindowAttributes(HWND hwnd, gfx::COLORREF* key, BYTE* alpha, DWORD* flags) {
  Window* w = FindReal(hwnd);
  if (!w || !(w->exStyle & WS_EX_LAYERED) || w->layeredPerPixel) return false;
  if (key) *key = w->layeredKey;
  if (alpha) *alpha = w->layeredAlpha;
  if (flags) *flags = w->layeredFlags;
  return true;
}

bool UpdateLayeredWindow(HWND hwnd, const POINT* dst, const SIZE* size, const gfx::Bitmap* src,
                         const POINT* srcPt, gfx::COLORREF key, const BLENDFUNCTION* blend,
                         DWORD flags) {
  Window* w = FindReal(hwnd);
  if (!w || !(w->exStyle & WS_EX_LAYERED) || !IsTopLevel(*w)) return false;
  if (dst || size) {
    RECT r = w->rect;
    SetWindowPos(hwnd, nullptr, dst ? dst->X : r.Left, dst ? dst->Y : r.Top,
                 size ? size->cx : r.Width(), size ? size->cy : r.Height(),
                 SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOREDRAW | (dst ? 0 : SWP_NOMOVE) |
                     (size ? 0 : SWP_NOSIZE));
    if (!(w = FindReal(hwnd))) return false;
  }
  if (src) {
    POINT from = srcPt ? *srcPt : POINT{};
    w->surface->Fill(0);
    w->surface->CopyFrom(*src, RectOfSize(from.X, from.Y, w->rect.Width(), w->rect.Height()),
                         {0, 0});
  }
  w->layeredPerPixel = true;
  w->layeredAlpha = blend ? blend->SourceConstantAlpha : 255;
  w->layeredFlags = flags;
  w->layeredKey = key;
  w->update = Region();  // the picture is complete: nothing to paint
  w->erasePending = false;
  w->ncPaintPending = w->frameInvalid = false;
  TheBackend().SurfaceUpdated(hwnd, {0, 0, w->rect.Width(), w->rect.Height()});
  return true;
}

SurfaceInfo GetWindowSurface(HWND hwnd) {
  SurfaceInfo info;
  Window* w = FindReal(hwnd);
  if (!w || !IsTopLevel(*w)) return info;
  info.pixels = w->surface.get();
  info.perPixelAlpha = w->layeredPerPixel && (w->layeredFlags & ULW_ALPHA);
  info.constantAlpha = (w->exStyle & WS_EX_LAYERED) ? w->layeredAlpha : 255;
  info.colorKey = (w->exStyle & WS_EX_LAYERED) && (w->layeredFlags & LWA_COLORKEY);
  info.key = w->layeredKey;
  info.region = w->windowRegion ? &*w->windowRegion : nullptr;
  return info;
}

}  // namespace win
