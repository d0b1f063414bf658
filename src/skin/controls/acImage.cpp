#include "skin/controls/acImage.h"

#include <cmath>
#include <memory>

#include "framework/Exception.h"
#include "skin/controls/acAlphaImageList.h"
#include "skin/core/sGraphUtils.h"
#include "skin/paint/sGraphUtils.h"
#include "skin/paint/sStretch.h"

namespace skin::controls {

namespace {

// x rounded to the nearest integer, ties to even.
int Round(double x) {
  return int(std::nearbyint(x));
}

// src resampled to size with the Mitchell filter; a copy when the sizes match, nearest pixels
// where a side is too short for the filter.
gfx::Bitmap Resampled(const gfx::Bitmap& src, gfx::TSize size) {
  if (src.Width() == size.cx && src.Height() == size.cy) return src;
  gfx::Bitmap out(size.cx, size.cy);
  if (src.Width() > 1 && src.Height() > 1 && size.cx > 1 && size.cy > 1)
    skin::paint::Stretch(src, out, size.cx, size.cy, skin::paint::ftMitchell);
  else
    skin::paint::StretchCopy(out, 0, 0, size.cx, size.cy, src, 0, 0, src.Width(), src.Height());
  return out;
}

// Every pixel of b has alpha 255.
bool Opaque(const gfx::Bitmap& b) {
  for (int y = 0; y < b.Height(); ++y) {
    const gfx::Pixel* row = b.Row(y);
    for (int x = 0; x < b.Width(); ++x)
      if (row[x] < 0xFF000000u) return false;
  }
  return true;
}

}  // namespace

TsCustomImage::TsCustomImage(fw::TComponent* owner) : TsControl(owner) {
  FHook = HookWindowProc([this](fw::TMessage& m, const fw::TWndNext& next) { ImageProc(m, next); });
}

TsCustomImage::~TsCustomImage() {
  UnhookWindowProc(FHook);
}

void TsCustomImage::AfterConstruction() {
  TsControl::AfterConstruction();
  SkinData().Loaded();
}

void TsCustomImage::SetBlend(int value) {
  if (value == FBlend) return;
  FBlend = value;
  SkinData().Invalidate();
}

void TsCustomImage::SetBoolean(int index, bool value) {
  bool& field = index == 0 ? FUseFullSize : index == 1 ? FReflected : FGrayed;
  if (field == value) return;
  field = value;
  SkinData().Invalidate();
}

bool TsCustomImage::ListHolds() const {
  return Images() && ImageIndex() >= 0 && ImageIndex() < Images()->Count();
}

bool TsCustomImage::Empty() const {
  return !ListHolds() && Picture().Empty();
}

void TsCustomImage::GetSrcSize(gfx::TSize& src, gfx::TSize& dst) const {
  src = ListHolds() ? gfx::TSize{Images()->Width(), Images()->Height()}
                    : gfx::TSize{Picture().Width(), Picture().Height()};
  // An auto-sized picture is drawn at the control's scale.
  dst = ListHolds() ? src : PictureSize();
  if (!Stretch() || src.cx <= 0 || src.cy <= 0) return;
  const int w = Width(), a = FReflected ? Height() * 2 / 3 : Height();
  if (!Proportional()) {
    dst = {w, a};
    return;
  }
  // The ratio stays exact: only the products are rounded.
  const double r = double(src.cx) / src.cy;
  if (src.cx > src.cy) {
    dst = {w, Round(w / r)};
    if (dst.cy > a) dst = {Round(r * a), a};
  } else {
    dst = {Round(r * a), a};
    if (dst.cx > w) dst = {w, Round(w / r)};
  }
}

gfx::TPoint TsCustomImage::ImagePos(gfx::TSize b) const {
  if ((Stretch() && !Proportional()) || !Center()) return {0, 0};
  return {(Width() - b.cx) / 2, (Height() - b.cy - (FUseFullSize ? b.cy / 2 : 0)) / 2};
}

bool TsCustomImage::CanAutoSize(int& newWidth, int& newHeight) {
  const int height = newHeight;
  if (!fw::TImage::CanAutoSize(newWidth, newHeight)) return false;
  if (FUseFullSize && FReflected && newHeight != height) newHeight = newHeight * 3 / 2;
  return true;
}

gfx::Bitmap TsCustomImage::ListImage() {
  fw::TImageList& list = *Images();
  auto* own = dynamic_cast<TacImageList*>(&list);
  if (!own) return list.Bitmap(ImageIndex());
  // A character list draws in the control's font colour.
  own->ForeColor = Font().Color();
  std::unique_ptr<gfx::Bitmap> b;
  try {
    b = own->CreateBitmap32(ImageIndex(), list.Width(), list.Height());
  } catch (const fw::Exception&) {
    // A damaged item shows nothing; painting reports nothing.
  }
  own->ForeColor = skin::paint::clNone;
  return b ? std::move(*b) : gfx::Bitmap();
}

void TsCustomImage::Invalidate() {
  FShown = {};
  TsControl::Invalidate();
}

const gfx::Bitmap& TsCustomImage::ShownAt(gfx::TSize d) {
  const TsSkinManager* m = SkinData().SkinManager();
  const bool checkAlpha = !m || m->Options().CheckEmptyAlpha;
  if (!FShown.Empty() && FShown.Width() == d.cx && FShown.Height() == d.cy &&
      FShownAlphaChecked == checkAlpha)
    return FShown;
  FShownAlphaChecked = checkAlpha;
  gfx::Bitmap& b = FShown;
  if (ListHolds()) {
    b = ListImage();
    if (b.Empty()) return b;
  } else if (GraphicKind() == fw::TGraphicKind::gkJpeg) {
    // A photo is opaque whatever lies behind it.
    b = Resampled(Picture(), d);
    skin::paint::FillAlphaRect(b, b.Bounds(), 255, skin::paint::clNone);
  } else {
    b = Picture();
    if (PixelFormat() == 32) {
      if (checkAlpha) skin::paint::CheckEmptyAChannel(b);
    } else {
      // No alpha of its own: opaque, but for the bottom-left pixel's colour when transparent.
      skin::paint::FillAlphaRect(b, b.Bounds(), 0, skin::paint::clNone);
      const auto key =
          Transparent() ? skin::paint::TColor(b.At(0, b.Height() - 1)) : skin::paint::clNone;
      skin::paint::FillAlphaRect(b, b.Bounds(), 255, key);
    }
  }
  if (b.Width() != d.cx || b.Height() != d.cy) {
    const bool opaque = Opaque(b);
    b = Resampled(b, d);
    // The filter fades the alpha at the edges: an opaque picture stays opaque to its edges.
    if (opaque) skin::paint::FillAlphaRect(b, b.Bounds(), 255, skin::paint::clNone);
  }
  return b;
}

void TsCustomImage::DrawImage() {
  gfx::Bitmap& cache = *SkinData().CacheBmp();
  gfx::TSize s, d;
  GetSrcSize(s, d);
  if (s.cx <= 0 || s.cy <= 0 || d.cx <= 0 || d.cy <= 0) return;
  const gfx::Bitmap& b = ShownAt(d);
  if (b.Empty()) return;
  const gfx::TPoint p = ImagePos({b.Width(), b.Height()});
  // An opaque picture drawn as it is covers what lies behind it: its pixels are copied
  // unchanged (composing would darken them by the rounding of the byte weights).
  if (FBlend == 0 && !FGrayed && !FReflected && Opaque(b)) {
    cache.CopyFrom(b, b.Bounds(), p);
    return;
  }
  skin::paint::CopyBmp32(gfx::RectOfSize(p.X, p.Y, b.Width(), b.Height()), b.Bounds(), cache, b,
                         skin::draw::EmptyCI, false,
                         FGrayed ? skin::paint::clWhite : skin::paint::clNone, FBlend, FReflected);
}

bool TsCustomImage::PrepareCache(gfx::HDC dc) {
  sc::TsCommonData& cd = SkinData();
  sc::InitCacheBmp(cd);
  gfx::Bitmap& cache = *cd.CacheBmp();
  if (cache.Empty()) return true;
  const int w = cache.Width(), h = cache.Height();
  // What the target shows under the control, the background unless the parent answers.
  {
    gfx::DeviceContext to(cache);
    gfx::BitBlt(&to, 0, 0, w, h, dc, 0, 0, gfx::SRCCOPY);
  }
  skin::draw::TCacheInfo ci = skin::draw::MakeCacheInfo(&cache);
  const TsSkinManager* m = cd.SkinManager();
  if (Parent() && (!m || !m->Options().StdImgTransparency)) {
    skin::draw::TacBGInfo bg;
    sc::GetBGInfo(bg, Parent(), false);
    if (bg.BgType == skin::draw::TacBGType::btNotReady) {
      cd.FUpdating = true;
      return false;
    }
    if (bg.BgType != skin::draw::TacBGType::btUnknown) {
      // A picture (the whole cache, or the border bands of a filled parent) is read at the
      // control's place.
      if (bg.BgType == skin::draw::TacBGType::btCache || bg.Bmp) {
        bg.Offset.X += Left();
        bg.Offset.Y += Top();
      }
      const skin::draw::TCacheInfo answer = sc::BGInfoToCI(bg);
      if (answer.Bmp && answer.Bmp->Empty()) return true;
      if (answer.Ready) {
        ci = answer;
        if (Transparent()) cache.CopyFrom(*answer.Bmp, gfx::RectOfSize(ci.X, ci.Y, w, h), {0, 0});
      } else if (answer.FillColor != skin::paint::clFuchsia) {
        ci = answer;
        if (Transparent()) skin::paint::FillRect32(cache, cache.Bounds(), ci.FillColor, 255);
      }
    }
  }
  if (m && m->SkinModel() && cd.SkinIndex >= 0)
    skin::draw::PaintItem(m->SkinModel(), sc::ControlPaintOf(cd), ci, true, 0, cache.Bounds(),
                          {0, 0}, &cache, false);
  DrawImage();
  cd.BGChanged = false;
  return true;
}

void TsCustomImage::acWM_Paint(fw::TMessage& m, const fw::TWndNext& next) {
  sc::TsCommonData& cd = SkinData();
  const TsSkinManager* manager = cd.SkinManager();
  const auto dc = reinterpret_cast<gfx::HDC>(m.WParam);
  // Without a skin in force the framework's picture is the plain look.
  if (!dc || !manager || !manager->SkinModel() || !manager->Active() || cd.Updating() ||
      (Empty() && cd.SkinIndex < 0)) {
    next(m);
    return;
  }
  const int saved = gfx::SaveDC(dc);
  cd.UpdateIndexes(false);
  const bool ready = PrepareCache(dc);
  gfx::RestoreDC(dc, saved);
  gfx::Bitmap& cache = *cd.CacheBmp();
  if (!ready || cache.Empty()) return;
  gfx::DeviceContext from(cache);
  gfx::BitBlt(dc, 0, 0, cache.Width(), cache.Height(), &from, 0, 0, gfx::SRCCOPY);
}

void TsCustomImage::ImageProc(fw::TMessage& m, const fw::TWndNext& next) {
  sc::TsCommonData& cd = SkinData();
  switch (m.Msg) {
    case win::WM_PAINT:
      acWM_Paint(m, next);
      return;
    case win::WM_ERASEBKGND:
      return;
    case win::WM_SIZE:
    case win::WM_WINDOWPOSCHANGED:
      if (Visible()) cd.BGChanged = true;
      break;
    case fw::CM_VISIBLECHANGED:
      cd.BGChanged = true;
      cd.FMouseAbove = false;
      break;
    default:
      break;
  }
  next(m);
  // A picture put off while the parent rebuilt its own is painted now that it is ready.
  if (m.Msg == sc::SM_ALPHACMD && sc::WParamHi(m.WParam) == sc::AC_ENDPARENTUPDATE &&
      cd.FUpdating && !sc::InUpdating(cd, true))
    cd.Invalidate();
}

}  // namespace skin::controls
