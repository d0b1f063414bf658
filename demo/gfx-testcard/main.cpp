// Renders the graphics test card: text in the layout's fonts, pictures decoded from PNG and
// JPEG, blits, clipped fills, a region and polygons, on a 1280 x 750 bitmap written as PNG.
#include <cmath>
#include <cstdio>
#include <exception>
#include <string>
#include <vector>

#include "platform/gfx/Bitmap.h"
#include "platform/gfx/DeviceContext.h"
#include "platform/gfx/Font.h"
#include "platform/gfx/PictureCodec.h"
#include "platform/gfx/Region.h"

using namespace gfx;

namespace {

constexpr COLORREF kInk = RGB(0, 0, 0);
constexpr COLORREF kMaroon = RGB(128, 0, 0);
constexpr COLORREF kPaper = RGB(240, 240, 240);
constexpr COLORREF kFrame = RGB(160, 160, 160);

HFONT MakeFont(const char16_t* face, int height, int weight = FW_NORMAL, bool italic = false,
               bool underline = false) {
  LOGFONTW lf;
  lf.lfFaceName = face;
  lf.lfHeight = height;
  lf.lfWeight = weight;
  lf.lfItalic = italic;
  lf.lfUnderline = underline;
  return CreateFontIndirectW(lf);
}

void Outline(HDC dc, const TRect& r, COLORREF c) {
  SetDCPenColor(dc, c);
  MoveToEx(dc, r.Left, r.Top, nullptr);
  LineTo(dc, r.Right - 1, r.Top);
  LineTo(dc, r.Right - 1, r.Bottom - 1);
  LineTo(dc, r.Left, r.Bottom - 1);
  LineTo(dc, r.Left, r.Top);
}

void Caption(HDC dc, int x, int y, std::u16string_view text) {
  SelectFont(dc, MakeFont(u"Tahoma", -11));
  SetTextColor(dc, RGB(90, 90, 90));
  TextOutW(dc, x, y, text);
}

// Straight-alpha source over an opaque destination, for showing decoded pictures.
void AlphaOver(Bitmap& dst, const Bitmap& src, int x0, int y0) {
  for (int y = 0; y < src.Height(); ++y) {
    for (int x = 0; x < src.Width(); ++x) {
      int dx = x0 + x, dy = y0 + y;
      if (!dst.Bounds().Contains({dx, dy})) continue;
      Pixel s = src.At(x, y), d = dst.At(dx, dy);
      int a = PixelA(s);
      auto mix = [a](int sc, int dc) {
        return std::uint8_t((sc * a + dc * (255 - a) + 127) / 255);
      };
      dst.Set(dx, dy,
              MakePixel(mix(PixelB(s), PixelB(d)), mix(PixelG(s), PixelG(d)),
                        mix(PixelR(s), PixelR(d)), 255));
    }
  }
}

// A disc of colour with a soft alpha edge, round-tripped through the PNG codec.
Bitmap AlphaPicture() {
  Bitmap b(200, 200);
  for (int y = 0; y < 200; ++y)
    for (int x = 0; x < 200; ++x) {
      double dist = std::hypot(x - 99.5, y - 99.5);
      double a = std::clamp((95.0 - dist) / 25.0, 0.0, 1.0);
      b.Set(x, y,
            MakePixel(std::uint8_t(255 - x), std::uint8_t(y), std::uint8_t(x),
                      std::uint8_t(a * 255)));
    }
  return DecodePng(EncodePng(b));
}

// A landscape-like colour picture, round-tripped through the JPEG codec with an Exif block.
Bitmap JpegPicture() {
  Bitmap b(270, 170);
  for (int y = 0; y < 170; ++y)
    for (int x = 0; x < 270; ++x) {
      bool ground = y > 110 + 12 * std::sin(x / 25.0);
      Pixel sky = MakePixel(std::uint8_t(235 - y / 2), std::uint8_t(180 - y / 3),
                            std::uint8_t(90 + y / 4), 255);
      Pixel grass = MakePixel(std::uint8_t(40), std::uint8_t(120 + (x * 7 + y * 3) % 40),
                              std::uint8_t(60), 255);
      b.Set(x, y, ground ? grass : sky);
    }
  const std::uint8_t exif[] = {'I', 'I', 42, 0, 8, 0, 0, 0, 0, 0};  // empty TIFF directory
  return DecodeJpeg(EncodeJpeg(b, 90, exif));
}

void DrawText(Bitmap& card) {
  DeviceContext dcObj(card);
  HDC dc = &dcObj;
  SetBkMode(dc, TRANSPARENT);

  SelectFont(dc, MakeFont(u"Tahoma", -21, FW_BOLD));
  SetTextColor(dc, kMaroon);
  TRect title{0, 12, 1280, 40};
  DrawTextW(dc, u"Каталог школьных музеев — испытательная таблица графики", &title,
            DT_CENTER | DT_SINGLELINE);

  struct Sample {
    const char16_t* face;
    int height;
    int weight;
    const char16_t* label;
  };
  const Sample samples[] = {
      {u"Tahoma", -11, FW_NORMAL, u"Tahoma 11"},    {u"Tahoma", -16, FW_NORMAL, u"Tahoma 16"},
      {u"Tahoma", -19, FW_NORMAL, u"Tahoma 19"},    {u"Tahoma", -19, FW_BOLD, u"Tahoma 19 bold"},
      {u"Tahoma", -21, FW_BOLD, u"Tahoma 21 bold"}, {u"Segoe UI", -16, FW_NORMAL, u"Segoe UI 16"},
  };
  int y = 56;
  for (const Sample& s : samples) {
    Caption(dc, 20, y + 4, s.label);
    SelectFont(dc, MakeFont(s.face, s.height, s.weight));
    SetTextColor(dc, kInk);
    TextOutW(dc, 130, y, u"Разделы экспозиции: Великая Отечественная — School museum 1941–1945");
    TEXTMETRICW tm;
    GetTextMetricsW(dc, &tm);
    y += tm.tmHeight + 8;
  }

  // The layout's auto-sized labels, framed by their measured extent.
  const struct {
    const char16_t* text;
    int weight;
  } labels[] = {{u"Тип музея", FW_NORMAL},
                {u"Наименование организации", FW_NORMAL},
                {u"Контактный телефон:", FW_NORMAL},
                {u"Дата открытия:", FW_NORMAL},
                {u"Разделы экспозиции", FW_BOLD}};
  int x = 20;
  y += 10;
  Caption(dc, 20, y, u"Label extents (Tahoma 19), framed:");
  y += 18;
  for (const auto& l : labels) {
    SelectFont(dc, MakeFont(u"Tahoma", -19, l.weight));
    SetTextColor(dc, kInk);
    TSize size;
    GetTextExtentPoint32W(dc, l.text, &size);
    TextOutW(dc, x, y, l.text);
    Outline(dc, {x - 1, y - 1, x + size.cx + 1, y + size.cy + 1}, RGB(0, 120, 215));
    std::string measured = std::to_string(size.cx) + " x " + std::to_string(size.cy);
    Caption(dc, x, y + size.cy + 3, std::u16string(measured.begin(), measured.end()));
    x += size.cx + 24;
  }

  // DrawText formatting in boxes.
  y += 60;
  SelectFont(dc, MakeFont(u"Tahoma", -16));
  const std::u16string para =
      u"Музей истории школы основан в 1985 году. В экспозиции: документы, фотографии, "
      u"форма учащихся разных лет, знамёна и награды. &Accelerator and &&literal.";
  const struct {
    unsigned flags;
    const char16_t* label;
  } boxes[] = {{DT_WORDBREAK, u"WORDBREAK"},
               {DT_WORDBREAK | DT_CENTER, u"WORDBREAK | CENTER"},
               {DT_WORDBREAK | DT_RIGHT, u"WORDBREAK | RIGHT"},
               {DT_SINGLELINE | DT_END_ELLIPSIS | DT_VCENTER, u"SINGLELINE | END_ELLIPSIS"}};
  x = 20;
  for (const auto& b : boxes) {
    TRect r{x, y + 16, x + 225, y + 176};
    FillRect(dc, r, RGB(255, 255, 255));
    Outline(dc, r, kFrame);
    Caption(dc, x, y, b.label);
    SelectFont(dc, MakeFont(u"Tahoma", -16));
    SetTextColor(dc, kInk);
    TRect inner{r.Left + 4, r.Top + 4, r.Right - 4, r.Bottom - 4};
    DrawTextW(dc, para, &inner, b.flags);
    x += 235;
  }
}

void DrawShapes(Bitmap& card) {
  DeviceContext dcObj(card);
  HDC dc = &dcObj;
  int top = 540;

  // Clipped fills: a big fill through a clip with a hole.
  Caption(dc, 20, top - 18, u"Clipped fill (clip rect minus a hole)");
  SaveDC(dc);
  IntersectClipRect(dc, 20, top, 220, top + 180);
  ExcludeClipRect(dc, 70, top + 40, 170, top + 140);
  FillRect(dc, {0, 0, 1280, 750}, RGB(0, 120, 215));
  RestoreDC(dc, -1);

  // A region made of a union and a difference, used as the clip of a striped fill.
  Caption(dc, 240, top - 18, u"Region: union minus circle-ish hole");
  Region rgn =
      Region(RectOfSize(240, top, 200, 120)).Union(Region(RectOfSize(300, top + 60, 120, 120)));
  std::vector<TRect> hole;
  for (int dy = -40; dy <= 40; ++dy) {
    int half = int(std::sqrt(1600.0 - dy * dy));
    hole.push_back({340 - half, top + 70 + dy, 340 + half, top + 71 + dy});
  }
  rgn = rgn.Subtract(Region::FromRects(hole));
  SaveDC(dc);
  SelectClipRgn(dc, &rgn);
  for (int i = 0; i < 40; ++i)
    FillRect(dc, RectOfSize(240, top + i * 5, 200, 5), i % 2 ? RGB(230, 160, 0) : RGB(200, 60, 0));
  RestoreDC(dc, -1);

  // A five-pointed star in both fill modes.
  Caption(dc, 460, top - 18, u"Polygon: ALTERNATE / WINDING");
  for (int mode = 0; mode < 2; ++mode) {
    TPoint star[5];
    for (int i = 0; i < 5; ++i) {
      double angle = -M_PI / 2 + i * 4 * M_PI / 5;
      star[i] = {int(std::lround(530 + mode * 150 + 70 * std::cos(angle))),
                 int(std::lround(top + 90 + 70 * std::sin(angle)))};
    }
    SetPolyFillMode(dc, mode == 0 ? ALTERNATE : WINDING);
    SetDCBrushColor(dc, RGB(0, 150, 80));
    SetDCPenColor(dc, RGB(0, 60, 30));
    Polygon(dc, star, 5);
  }

  // A fan of lines.
  Caption(dc, 780, top - 18, u"Lines");
  for (int i = 0; i <= 12; ++i) {
    SetDCPenColor(dc, RGB(i * 20, 0, 255 - i * 20));
    MoveToEx(dc, 800, top + 170, nullptr);
    double angle = -M_PI / 2 * i / 12.0;
    LineTo(dc, 800 + int(170 * std::cos(angle)), top + 170 + int(170 * std::sin(angle)));
  }
}

void DrawPictures(Bitmap& card) {
  DeviceContext dcObj(card);
  HDC dc = &dcObj;
  int top = 540;
  Bitmap jpeg = JpegPicture();
  DeviceContext src(jpeg);
  Caption(dc, 990, 56, u"JPEG with Exif: BitBlt, StretchBlt, mirrored");
  BitBlt(dc, 990, 74, jpeg.Width(), jpeg.Height(), &src, 0, 0, SRCCOPY);
  StretchBlt(dc, 990, 254, 100, 63, &src, 0, 0, jpeg.Width(), jpeg.Height(), SRCCOPY);
  StretchBlt(dc, 1100, 254, 160, 63, &src, jpeg.Width(), 0, -jpeg.Width(), jpeg.Height(), SRCCOPY);

  Caption(dc, 990, top - 198, u"PNG with alpha over a checkerboard");
  for (int cy = 0; cy < 8; ++cy)
    for (int cx = 0; cx < 11; ++cx)
      FillRect(dc, RectOfSize(990 + cx * 25, top - 180 + cy * 25, 25, 25),
               (cx + cy) % 2 ? RGB(255, 255, 255) : RGB(200, 200, 200));
  AlphaOver(card, AlphaPicture(), 1027, top - 180);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: gfx-testcard OUT.png\n");
    return 2;
  }
  try {
    Bitmap card(1280, 750);
    {
      DeviceContext dc(card);
      FillRect(&dc, card.Bounds(), kPaper);
    }
    DrawText(card);
    DrawShapes(card);
    DrawPictures(card);
    // The drawing calls leave alpha 0, as on the platform; the card is an opaque picture.
    for (int y = 0; y < card.Height(); ++y)
      for (int x = 0; x < card.Width(); ++x) card.Set(x, y, card.At(x, y) | 0xFF000000u);
    WriteFileBytes(argv[1], EncodePng(card));
    std::printf("gfx-testcard: wrote %s\n", argv[1]);
    return 0;
  } catch (const std::exception& e) {
    std::fprintf(stderr, "gfx-testcard: %s\n", e.what());
    return 1;
  }
}
