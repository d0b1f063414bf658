#include "skin/data/acSkinModelLoad.h"

#include <algorithm>

#include "platform/gfx/GraphicsError.h"
#include "platform/gfx/PictureCodec.h"
#include "skin/data/SkinError.h"
#include "skin/data/acSkinAdjust.h"
#include "skin/data/acSkinPack.h"
#include "skin/paint/sAlphaGraph.h"
#include "skin/paint/sGradient.h"

namespace skin::data {

namespace {

using skin::paint::clNone;

// Alpha 255 everywhere but on the key colour, which gets 0.
void FillKeyAlpha(gfx::Bitmap& bmp) {
  skin::paint::FillAlphaRect(bmp, bmp.Bounds(), 0, clNone);
  skin::paint::FillAlphaRect(bmp, bmp.Bounds(), 255, clFuchsia);
}

bool Inside(const gfx::TRect& r, const gfx::Bitmap& bmp) {
  return !r.IsEmpty() && r.Left >= 0 && r.Top >= 0 && r.Right <= bmp.Width() &&
         r.Bottom <= bmp.Height();
}

// 1 when a corner area of any image holds the key colour, else 0.
int GetCornerType(const TsMaskData& md, const gfx::Bitmap& bmp) {
  const int count = std::max<int>(1, md.ImageCount);
  const int w = md.R.Width() / count;
  const int h = md.MaskType > 0 ? md.R.Height() / (md.MaskType + 1) : md.R.Height();
  for (int i = 0; i < count; ++i) {
    const gfx::TRect image = gfx::RectOfSize(md.R.Left + i * w, md.R.Top, w, h);
    const gfx::TRect corners[4] = {
        {image.Left, image.Top, image.Left + md.WL, image.Top + md.WT},
        {image.Right - md.WR, image.Top, image.Right, image.Top + md.WT},
        {image.Left, image.Bottom - md.WB, image.Left + md.WL, image.Bottom},
        {image.Right - md.WR, image.Bottom - md.WB, image.Right, image.Bottom}};
    for (const gfx::TRect& corner : corners) {
      const gfx::TRect c = gfx::IntersectRects(gfx::IntersectRects(corner, image), bmp.Bounds());
      for (int y = c.Top; y < c.Bottom; ++y) {
        for (int x = c.Left; x < c.Right; ++x) {
          if ((bmp.At(x, y) & 0xFFFFFF) == 0xFF00FF) return 1;
        }
      }
    }
  }
  return 0;
}

class ModelLoader {
 public:
  ModelLoader(const TacSkinContent& content, const TacSkinOptions& options,
              const TacSkinModelParams& params)
      : FContent(content), FOptions(options), FParams(params) {}

  std::unique_ptr<TacSkinModel> Build() {
    FModel = std::make_unique<TacSkinModel>();
    TacSkinModel& m = *FModel;
    m.Scale = std::clamp(FParams.Scale, 0, 3);
    m.CommonSkinData = FOptions.Common;
    m.CommonSkinData.SkinPath = FContent.SkinPath;
    LoadGeneralData();
    LoadMasterBitmap();
    LoadItems();
    LoadFonts();
    LoadOuterEffects();
    AddMissingSections();
    // Before the constant table, so glyphs it resamples come from the adjusted pictures.
    ChangeSkinHue(m, FParams.HueOffset);
    ChangeSkinSaturation(m, FParams.Saturation);
    ChangeSkinBrightness(m, FParams.Brightness);
    m.InitConstantIndexes();
    m.CheckShadows(FParams.ExtendedBorders);
    return std::move(FModel);
  }

 private:
  // A picture file's bitmap, loaded once per name; null when it is missing or empty.
  const gfx::Bitmap* AddExternalItem(const std::string& name, bool onDisk) {
    const std::string upper = UpperCase(name);
    for (const TacExtFileData& e : FModel->ExtArray) {
      if (e.FileName == upper) return e.Bmp.get();
    }
    if (std::find(FMissing.begin(), FMissing.end(), upper) != FMissing.end()) return nullptr;
    auto bmp = Decode(name, onDisk);
    if (!bmp) {
      FMissing.push_back(upper);
      return nullptr;
    }
    FModel->ExtArray.push_back({std::move(bmp), upper, 0});
    return FModel->ExtArray.back().Bmp.get();
  }

  // A picture file whose items carry mask rows below their images.
  void MarkMaskRows(const gfx::Bitmap* bmp, int maskType) {
    for (TacExtFileData& e : FModel->ExtArray) {
      if (e.Bmp.get() == bmp && e.MaskType == 0) e.MaskType = maskType;
    }
  }

  std::unique_ptr<gfx::Bitmap> Decode(const std::string& name, bool onDisk) {
    const auto bytes = FContent.ReadFile(name, onDisk);
    if (!bytes) return nullptr;
    std::unique_ptr<gfx::Bitmap> bmp;
    try {
      bmp = std::make_unique<gfx::Bitmap>(gfx::DecodePicture(*bytes));
    } catch (const gfx::GraphicsError& e) {
      throw ESkinError("Picture " + name + ": " + e.what());
    }
    if (bmp->Empty()) return nullptr;
    const bool png = gfx::DetectPictureFormat(*bytes) == gfx::PictureFormat::Png;
    if (png && FParams.Brightness <= 0 &&
        FModel->CommonSkinData.Version > acPremultipliedPngVersion) {
      skin::paint::UpdateAlpha(*bmp);
    }
    if (!PictureHasAlpha(*bytes)) FillKeyAlpha(*bmp);
    return bmp;
  }

  void LoadMasterBitmap() {
    const std::string& name = FModel->CommonSkinData.MasterBitmap;
    if (name.empty()) return;
    if (auto bmp = Decode(name, false)) FModel->MasterBitmap = std::move(*bmp);
  }

  void LoadItems() {
    TacSkinModel& m = *FModel;
    const int buttonHuge = m.GetSkinIndex("BUTTON_HUGE");
    for (const TacPictureItemDef& def : FOptions.Items) {
      TacPictureValue v = def.Value;
      const gfx::Bitmap* own = nullptr;
      if (!v.FileName.empty()) {
        own = AddExternalItem(v.FileName, def.OnDisk);
        if (!own) continue;
        if (v.Form == TacPictureForm::External || v.Form == TacPictureForm::PlainFile) {
          FitToPicture(v, own->Width(), own->Height());
        }
      }
      const gfx::Bitmap& bmp = own ? *own : m.MasterBitmap;
      if (!Inside(v.R, bmp)) continue;
      // "!" fields may hold any number: the 16-bit fields keep what fits, widths are not
      // negative, and a mask type below −1 means no image rows (as −1 does).
      const auto fit = [](int value, int low) { return std::clamp(value, low, 0x7FFF); };
      const int skinIndex = m.GetSkinIndex(def.Section);
      const int imageCount = v.Form == TacPictureForm::Texture ? 1 : fit(v.ImageCount, 0);
      const int index = m.MakeNewItem(skinIndex, def.PropertyName, def.Section, v.ImgType, v.R,
                                      imageCount, fit(v.DrawMode, 0), fit(v.MaskType, -1));
      TsMaskData& md = m.ma[index];
      md.Bmp = own;
      if (own && md.MaskType > 0) MarkMaskRows(own, md.MaskType);
      md.WL = std::int16_t(fit(v.WL, 0));
      md.WT = std::int16_t(fit(v.WT, 0));
      md.WR = std::int16_t(fit(v.WR, 0));
      md.WB = std::int16_t(fit(v.WB, 0));
      md.BorderWidth = std::int16_t(fit(v.BorderWidth, 0));
      if (md.ImgType == itisaBorder) {
        const bool huge =
            skinIndex >= 0 && skinIndex == buttonHuge && md.PropertyName == "BORDERSMASK";
        md.CornerType = huge ? 2 : GetCornerType(md, bmp);
      }
    }
  }

  void LoadFonts() {
    TacSkinModel& m = *FModel;
    const auto& fonts = m.CommonSkinData.Fonts;
    if (FContent.Source.Mode != smExtUnpacked) {
      for (const TacFileItem& file : FContent.Packed.Files) {
        if (file.FileType != ftFont) continue;
        TacEmbeddedFont font;
        font.FileName = file.Name.substr(file.Name.find_last_of("/\\") + 1);
        for (const TacSkinFont& f : fonts) {
          if (f.FileName == file.Name) {
            font.FontName = f.FaceName;
            break;
          }
        }
        font.Data = file.Stream;
        m.EmbeddedFonts.push_back(std::move(font));
      }
      return;
    }
    for (const TacSkinFont& f : fonts) {
      TacEmbeddedFont font;
      if (auto bytes = FContent.ReadFile(f.FileName, true)) {
        font.FileName = f.FileName.substr(f.FileName.find_last_of("/\\") + 1);
        font.FontName = f.FaceName;
        font.Data = std::move(*bytes);
      }
      m.EmbeddedFonts.push_back(std::move(font));
    }
  }

  void LoadGeneralData() {
    TacSkinModel& m = *FModel;
    m.gd = FOptions.gd;
    m.Palette = FOptions.Palette;
    m.oe = FOptions.oe;
    for (TsGeneralData& d : m.gd) {
      // A section always has its normal state: controls take state min(n, States − 1).
      d.States = std::max(d.States, 1);
      for (std::size_t i = 0; i < d.Props.size(); ++i) {
        TsGenState& s = d.Props[i];
        try {
          skin::paint::PrepareGradArray(s.GradientData, s.GradientArray);
        } catch (const gfx::GraphicsError& e) {
          throw ESkinError("[" + d.ClassName + "] gradient of state " + std::to_string(i) + ": " +
                           e.what());
        }
      }
    }
  }

  void AddMissingSections() {
    TacSkinModel& m = *FModel;
    if (m.GetSkinIndex("TRANSPARENT") < 0) {
      m.AddNewSection("TRANSPARENT", -1, 1, 100, clWhite, m.Palette[pcLabelText]);
    }
    if (m.GetSkinIndex("MAINCOLOR") < 0) {
      m.AddNewSection("MAINCOLOR", -1, 1, 0, m.Palette[pcMainColor], m.Palette[pcLabelText]);
    }
  }

  // The mask of each outer effect: none, the "^" item of SH_MASK / LO_MASK, or a generated
  // shadow picture whose widths still at −1 come from its size.
  void LoadOuterEffects() {
    TacSkinModel& m = *FModel;
    const int global = m.GetSkinIndex(s_GlobalInfo);
    constexpr const char* kKeys[2] = {"LO_MASK", "SH_MASK"};
    for (int i = 0; i < 2; ++i) {
      TacOutEffData& e = m.oe[i];
      if (e.Source == 0) {
        e.Mask = -1;
      } else if (e.Source == 1) {
        e.Mask = m.GetMaskIndex(s_GlobalInfo, kKeys[i]);
      } else {
        const auto bounded = [](int v) { return std::clamp(v, 0, acMaxShadowExtent); };
        const int oL = bounded(e.OffsetL), oT = bounded(e.OffsetT);
        const int oR = bounded(e.OffsetR), oB = bounded(e.OffsetB);
        // The shadow takes its colour in the skin's colour order (blue in the third byte).
        const std::uint32_t color = (std::uint32_t(e.ColorL) & 0xFFFFFF) |
                                    std::uint32_t(std::clamp(e.Opacity, 0, 255)) << 24;
        auto shadow = skin::paint::MakeShadow(color, bounded(e.Radius), 0, oT + oB, oL + oR,
                                              bounded(e.Blur), false);
        const int w = shadow->Width(), h = shadow->Height();
        const gfx::Bitmap* kept = m.KeepBitmap(std::move(shadow));
        e.Mask =
            m.MakeNewItem(global, kKeys[i], s_GlobalInfo, itisaBorder, kept->Bounds(), 1, 1, 0);
        m.ma[e.Mask].Bmp = kept;
        if (e.WidthL == -1) e.WidthL = (w + oL - oR - 1) / 2;
        if (e.WidthR == -1) e.WidthR = (w + oR - oL - 1) / 2;
        if (e.WidthT == -1) e.WidthT = (h + oT - oB - 1) / 2;
        if (e.WidthB == -1) e.WidthB = (h + oB - oT - 1) / 2;
      }
      e.WidthL = ScaleInt(e.WidthL, m.Scale);
      e.WidthT = ScaleInt(e.WidthT, m.Scale);
      e.WidthR = ScaleInt(e.WidthR, m.Scale);
      e.WidthB = ScaleInt(e.WidthB, m.Scale);
    }
  }

  const TacSkinContent& FContent;
  const TacSkinOptions& FOptions;
  const TacSkinModelParams& FParams;
  std::unique_ptr<TacSkinModel> FModel;
  std::vector<std::string> FMissing;  // picture files looked for and not found
};

}  // namespace

bool PictureHasAlpha(std::span<const std::uint8_t> data) {
  switch (gfx::DetectPictureFormat(data)) {
    case gfx::PictureFormat::Png:
      return true;
    case gfx::PictureFormat::Bmp: {
      if (data.size() < 30) return false;
      const std::uint32_t header =
          data[14] | data[15] << 8 | data[16] << 16 | std::uint32_t(data[17]) << 24;
      const std::size_t at = header == 12 ? 24 : 28;
      return (data[at] | data[at + 1] << 8) == 32;
    }
    default:
      return false;
  }
}

std::unique_ptr<TacSkinModel> CreateSkinModel(const TacSkinContent& content,
                                              const TacSkinOptions& options,
                                              const TacSkinModelParams& params) {
  return ModelLoader(content, options, params).Build();
}

}  // namespace skin::data
