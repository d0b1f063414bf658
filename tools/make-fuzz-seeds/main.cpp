// Writes small seeds for the fuzz targets into DIR/<target>/: pictures made with the
// project's own encoders (the progressive and greyscale JPEGs, which the encoder does not
// write, with libjpeg directly), skin packages and options texts, filter expressions, gradient
// values, automation scripts, window descriptions and label markup.
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include <jpeglib.h>

#include "framework/db/JetStream.h"
#include "platform/gfx/Bitmap.h"
#include "platform/gfx/PictureCodec.h"
#include "skin/data/acPreviewRecord.h"
#include "skin/data/acSkinPack.h"
#include "skin/internal/sInternalSkins.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

// A small picture with colour ramps, an edge and varying alpha.
gfx::Bitmap SeedPicture(int width, int height) {
  gfx::Bitmap bmp(width, height);
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x)
      bmp.Set(x, y,
              gfx::MakePixel(std::uint8_t(x * 255 / width), std::uint8_t(y * 255 / height),
                             x < width / 2 ? 40 : 220, std::uint8_t(255 - x * 16)));
  return bmp;
}

// The picture through libjpeg with the given colour space of the file; libjpeg's default
// error handler ends the program, which is right for a build tool.
Bytes WriteJpegWithLibjpeg(const gfx::Bitmap& bmp, J_COLOR_SPACE fileSpace, bool progressive) {
  jpeg_compress_struct cinfo{};
  jpeg_error_mgr error;
  cinfo.err = jpeg_std_error(&error);
  jpeg_create_compress(&cinfo);
  unsigned char* buffer = nullptr;
  unsigned long size = 0;
  jpeg_mem_dest(&cinfo, &buffer, &size);
  cinfo.image_width = JDIMENSION(bmp.Width());
  cinfo.image_height = JDIMENSION(bmp.Height());
  cinfo.input_components = 4;
  cinfo.in_color_space = JCS_EXT_BGRA;
  jpeg_set_defaults(&cinfo);
  jpeg_set_colorspace(&cinfo, fileSpace);
  jpeg_set_quality(&cinfo, 75, TRUE);
  if (progressive) jpeg_simple_progression(&cinfo);
  jpeg_start_compress(&cinfo, TRUE);
  while (cinfo.next_scanline < cinfo.image_height) {
    auto* row =
        reinterpret_cast<JSAMPROW>(const_cast<gfx::Pixel*>(bmp.Row(int(cinfo.next_scanline))));
    jpeg_write_scanlines(&cinfo, &row, 1);
  }
  jpeg_finish_compress(&cinfo);
  jpeg_destroy_compress(&cinfo);
  Bytes out(buffer, buffer + size);
  std::free(buffer);
  return out;
}

// A little-endian TIFF block as cameras write it: an orientation entry and an embedded
// thumbnail JPEG with its own SOI and EOI markers.
Bytes ExifWithThumbnail(const Bytes& thumbnail) {
  Bytes tiff = {'I', 'I', 42, 0, 8, 0, 0, 0, 3, 0};
  auto put16 = [&](unsigned v) {
    tiff.push_back(std::uint8_t(v));
    tiff.push_back(std::uint8_t(v >> 8));
  };
  auto entry = [&](unsigned tag, unsigned type, std::uint32_t value) {
    put16(tag), put16(type), put16(1), put16(0), put16(value & 0xFFFF), put16(value >> 16);
  };
  std::uint32_t thumbnailAt = 10 + 3 * 12 + 4;
  entry(0x0112, 3, 1);  // orientation: as stored
  entry(0x0201, 4, thumbnailAt);
  entry(0x0202, 4, std::uint32_t(thumbnail.size()));
  put16(0), put16(0);  // no next IFD
  tiff.insert(tiff.end(), thumbnail.begin(), thumbnail.end());
  return tiff;
}

// An options text with every value form, inheritance, states and resolution variants.
std::string SeedSkinOptions() {
  return "[GLOBALINFO]\nVERSION=8.15\nMASTERBITMAP=MASTER.BMP\nTITLEHEIGHT=24\n"
         "BOXCHECKED=@0000@0000@0018@0010@3@1\nBOXCHECKED*125=@0000@0000@0019@0011@1@0\n"
         "EXBORDER=!EXTBORD.PNG!2!0!3!0002!0002!0002!0002!0\nEXBORDER*150=!EXTBORD.PNG!1\n"
         "BTNCOLOR1ACTIVE=-2565928\nFontCount=1\nFontFile0=A.TTF\n"
         "[EDIT]\nCOLOR=$FFFFFF\nFONTCOLOR=0x10\nSTATES=2\nHOTCOLOR=255\n"
         "BORDERSMASK=^0000^0000^0018^0010^0000^0000^0000^0000^1^0^1^1\n"
         "[COMBOBOX]\nPARENTCLASS=EDIT\nUSESTATE2=1\nCOLOR2=5\nGRADIENTDATA=N/A\n"
         "PATTERN=~0000~0000~0010~0010~00~1~TEX.BMP\nBG=BG.JPG\n"
         "[SELECTION]\nPARENTCLASS=SELECTION\nCOLOR=1\n";
}

void Write(const std::filesystem::path& dir, const char* name, const Bytes& bytes) {
  std::filesystem::create_directories(dir);
  gfx::WriteFileBytes((dir / name).string(), bytes);
}

Bytes Text(std::string_view text) {
  return Bytes(text.begin(), text.end());
}

// An icon file whose directory holds the one image (a DIB or a PNG file's bytes).
Bytes IconOf(const Bytes& image, int width, int height) {
  Bytes out = {0, 0, 1, 0, 1, 0, std::uint8_t(width), std::uint8_t(height), 0, 0, 1, 0, 32, 0};
  for (std::uint32_t v : {std::uint32_t(image.size()), 22u})
    for (int i = 0; i < 4; ++i) out.push_back(std::uint8_t(v >> (8 * i)));
  out.insert(out.end(), image.begin(), image.end());
  return out;
}

// An icon of bmp as a 24-bit DIB with an AND mask whose left column is transparent.
Bytes IconWithMask(const gfx::Bitmap& bmp) {
  Bytes dib;
  auto put = [&dib](std::uint32_t v, int bytes) {
    for (int i = 0; i < bytes; ++i) dib.push_back(std::uint8_t(v >> (8 * i)));
  };
  const int w = bmp.Width(), h = bmp.Height();
  put(40, 4), put(std::uint32_t(w), 4), put(std::uint32_t(2 * h), 4), put(1, 2), put(24, 2);
  for (int i = 0; i < 6; ++i) put(0, 4);
  for (int y = h - 1; y >= 0; --y) {
    for (int x = 0; x < w; ++x) {
      const gfx::Pixel p = bmp.At(x, y);
      put(gfx::PixelB(p), 1), put(gfx::PixelG(p), 1), put(gfx::PixelR(p), 1);
    }
    for (int pad = (4 - w * 3 % 4) % 4; pad > 0; --pad) put(0, 1);
  }
  for (int y = 0; y < h; ++y) put(0x80, 4);  // widths up to 32: one word a row
  return IconOf(dib, w, h);
}

// An image-list fuzz input: format, requested size, the item's bytes.
Bytes ListItem(std::uint8_t format, std::uint8_t width, std::uint8_t height, const Bytes& data) {
  Bytes out = {format, width, height};
  out.insert(out.end(), data.begin(), data.end());
  return out;
}

}  // namespace

// A small catalogue as the Jet reader streams it: one piece that the fuzz target's first byte
// cuts into pieces, every kind of value, a photo blob; with nullId, a second district whose
// id is null.
Bytes CatalogueStream(bool nullId = false) {
  using db::TJetColumnKind;
  db::TJetStreamWriter w;
  w.BeginTable("mun", {{"id", TJetColumnKind::Counter}, {"nam", TJetColumnKind::Text}});
  w.Integer(1);
  w.Text("Заречный район");
  w.EndRow();
  if (nullId) {
    w.Null();
    w.Text("Район без номера");
    w.EndRow();
  }
  w.EndTable(nullId ? 2 : 1);
  w.BeginTable("uz", {{"id", TJetColumnKind::Counter},
                      {"id_mun", TJetColumnKind::Integer},
                      {"nam", TJetColumnKind::Text},
                      {"vid", TJetColumnKind::Text},
                      {"nam1", TJetColumnKind::Text},
                      {"addr", TJetColumnKind::Text},
                      {"dat_o", TJetColumnKind::DateTime},
                      {"phone", TJetColumnKind::Text},
                      {"razd", TJetColumnKind::LongText},
                      {"open", TJetColumnKind::Boolean},
                      {"area", TJetColumnKind::Real}});
  w.Integer(4);
  w.Integer(1);
  w.Text("Школа №1");
  w.Text("Краеведческий");
  w.Text("Средняя школа №1");
  w.Text("ул. Мира, 1");
  w.Date("1987-09-01");
  w.Null();
  w.Text("Зал 1\r\nЗал 2");
  w.Boolean(true);
  w.Real(12.5);
  w.EndRow();
  w.EndTable(1);
  w.BeginTable("foto", {{"id", TJetColumnKind::Counter},
                        {"id_uz", TJetColumnKind::Integer},
                        {"foto", TJetColumnKind::Text},
                        {"fot", TJetColumnKind::Blob}});
  w.Integer(1);
  w.Integer(4);
  w.Text("1\\zal.jpg");
  const std::uint8_t photo[] = {0xFF, 0xD8, 0xFF, 0xE0, 0, 16, 'J', 'F', 'I', 'F', 0, 0xFF, 0xD9};
  w.Blob(photo);
  w.EndRow();
  w.EndTable(1);
  w.End();
  const std::string stream = w.Take();
  Bytes out(stream.begin(), stream.end());
  out.insert(out.begin(), 61);  // pieces of 428 bytes
  return out;
}

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: make-fuzz-seeds DIR\n");
    return 2;
  }
  try {
    std::filesystem::path dir = argv[1];
    gfx::Bitmap picture = SeedPicture(19, 11);
    Write(dir / "fuzz_png", "rgba.png", gfx::EncodePng(picture));
    Write(dir / "fuzz_png", "tiny.png", gfx::EncodePng(SeedPicture(1, 1)));
    Write(dir / "fuzz_bmp", "rgba-top-down.bmp", gfx::EncodeBmp(picture, true));
    Write(dir / "fuzz_bmp", "rgb-bottom-up.bmp", gfx::EncodeBmp(picture, false));
    const Bytes icon = IconWithMask(picture);
    Write(dir / "fuzz_ico", "dib-with-mask.ico", icon);
    Write(dir / "fuzz_ico", "png.ico", IconOf(gfx::EncodePng(picture), 19, 11));
    Write(dir / "fuzz_image_list_item", "png-scaled.bin",
          ListItem(0, 9, 5, gfx::EncodePng(picture)));
    Write(dir / "fuzz_image_list_item", "ico-same-size.bin", ListItem(1, 19, 11, icon));
    Write(dir / "fuzz_image_list_item", "bmp-line.bin",
          ListItem(2, 1, 30, gfx::EncodeBmp(picture, true)));
    Write(dir / "fuzz_jpeg", "plain.jpg", gfx::EncodeJpeg(picture, 75));
    Bytes thumbnail = gfx::EncodeJpeg(SeedPicture(8, 8), 50);
    Write(dir / "fuzz_jpeg", "exif.jpg",
          gfx::EncodeJpeg(picture, 75, ExifWithThumbnail(thumbnail)));
    Write(dir / "fuzz_jpeg", "progressive.jpg", WriteJpegWithLibjpeg(picture, JCS_YCbCr, true));
    Write(dir / "fuzz_jpeg", "grey.jpg", WriteJpegWithLibjpeg(picture, JCS_GRAYSCALE, false));
    const std::string options = SeedSkinOptions();
    const Bytes optionBytes(options.begin(), options.end());
    Write(dir / "fuzz_skin_options", "options.dat", optionBytes);
    const std::vector<skin::data::TacPackEntry> files = {
        {"MASTER.BMP", gfx::EncodeBmp(picture, false)}, {"EXTBORD.PNG", gfx::EncodePng(picture)}};
    Write(dir / "fuzz_skin_package", "skin.asz",
          skin::data::PackSkin(optionBytes, files, gfx::EncodePng(SeedPicture(14, 10))));
    // The internal skins: real packages and options texts, every value syntax they use.
    for (std::size_t n = 0; n < skin::data::InternalSkins().size(); ++n) {
      const auto packed = skin::data::PackageOf(skin::data::InternalSkins()[n]);
      const std::string stem = "internal-" + std::to_string(n);
      Write(dir / "fuzz_skin_package", (stem + ".asz").c_str(),
            Bytes(packed.begin(), packed.end()));
      skin::data::TacSkinConvertor convertor;
      if (skin::data::ExtractPackedData(packed, convertor) && convertor.Options) {
        Write(dir / "fuzz_skin_options", (stem + ".dat").c_str(), *convertor.Options);
      }
    }
    // Preview records as a skin editor sends them: the whole layout, and a block cut short;
    // the first two bytes are the block's size.
    {
      skin::data::TacSkinData record{skin::data::ASE_MSG, "Preview", "/tmp/skins",
                                     SeedSkinOptions()};
      const Bytes block = skin::data::WriteSkinData(record);
      const auto sized = [&block](std::size_t size) {
        Bytes out = {std::uint8_t(size), std::uint8_t(size >> 8)};
        out.insert(out.end(), block.begin(), block.begin() + std::ptrdiff_t(block.size()));
        return out;
      };
      Write(dir / "fuzz_preview_record", "whole.bin", sized(block.size()));
      Write(dir / "fuzz_preview_record", "short.bin", sized(block.size() - 1));
    }
    // Record-set filters as the catalogue builds them, and the other operators.
    Write(dir / "fuzz_filter", "type-and-name.txt",
          Text("([vid] like '%Галерея%') and ([uz.nam] like '%шк%')"));
    Write(dir / "fuzz_filter", "operators.txt",
          Text("([id] >= 3 or [id] <> -2.5) and (vid = 'O''Хара' or [dat_o] < '1987-09-01')"));
    // Gradient values as skins give them: colour, percent and mode of each stop.
    Write(dir / "fuzz_jet_stream", "catalogue.bin", CatalogueStream());
    Bytes oneByOne = CatalogueStream();
    oneByOne[0] = 0;  // pieces of one byte
    Write(dir / "fuzz_jet_stream", "one-byte-pieces.bin", oneByOne);
    Write(dir / "fuzz_jet_stream", "null-id.bin", CatalogueStream(true));
    Write(dir / "fuzz_gradient", "three-stops.txt",
          Text("255;0;40;0;0;65280;0;60;0;0;16711680;0;0;0;0"));
    // Markup as markup labels show it: tags, fonts, links and character references.
    Write(dir / "fuzz_html_markup", "tags.txt",
          Text("<b>Музей</b> <i>и</i> <u>школа</u><br><p>&amp;&&&eacute;&#233;&trade;<<"
               "<font size=+2 color=\"#FF0000\" face=\"Tahoma\">big</font><HR></p>"));
    Write(dir / "fuzz_html_markup", "links.txt",
          Text("go <a href=\"http://e.org\">there</a> <A HREF=x>unquoted</A></a></font>"
               "<table><font size=-x color=nothex>word word word word word</font>"));
    std::string_view script =
        "640x480\nclick 10 20\ndblclick 1 2 right\nrclick 3 4\nmove -5 6\ndown 7 8 middle\n"
        "up 7 8\nwheel 9 10 -120\nkey Alt+Down\nkey Ctrl+Shift+F4\ntype Музей, 1 €\n"
        "wait 250\nshot a.png\nwshot b.png\ndump c.json\n# comment\nquit\n";
    Write(dir / "fuzz_ui_script", "commands.txt", Bytes(script.begin(), script.end()));
    std::string_view description =
        "object M: TDataModule\n  OnCreate = X\n  object T: TTimer\n    Interval = $10\n"
        "    Enabled = False\n  end\n  object L: TImageList\n    Width = 2\n    Items = <\n"
        "      item\n        Name = 'a'#13'b' +\n 'c'\n        Png = 'x.png'\n      end>\n"
        "  end\n  object P: TPanel\n    Font.Style = [fsBold]\n    Tag = -3\n"
        "    Scale = 1.200000000000000000\n    Ratio = -2.5E-3\n"
        "    Items.Strings = ('a' 'b')\n  end\nend\n";
    Write(dir / "fuzz_window_description", "module.txt",
          Bytes(description.begin(), description.end()));
    std::string_view skinned =
        "object M: TDataModule\n  object P: TsSkinProvider\n    CaptionAlignment = taCenter\n"
        "    SkinData.SkinSection = 'FORM'\n    AddedTitle.Font.Height = -11\n"
        "    TitleButtons = <\n      item\n        Name = 'b'\n        Hint = 'h'\n"
        "        Enabled = False\n        UseSkinData = True\n      end\n      item\n"
        "        Visible = False\n      end>\n  end\nend\n";
    Write(dir / "fuzz_window_description", "provider.txt", Bytes(skinned.begin(), skinned.end()));
  } catch (const std::exception& e) {
    std::fprintf(stderr, "make-fuzz-seeds: %s\n", e.what());
    return 1;
  }
  return 0;
}
