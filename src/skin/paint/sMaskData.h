// One picture item of a skin: the record the skin model keeps per item and the painting code
// reads. It lives here, below the skin model, because painting needs it and must not depend
// on the model; the model includes this header.
#pragma once

#include <cstdint>
#include <string>

#include "platform/gfx/Bitmap.h"
#include "platform/gfx/Geometry.h"

namespace skin::data {
class TacSkinModel;
}

namespace skin::paint {

// Kind of picture item.
enum TacImgType : std::uint8_t {
  itisaBorder = 0,
  itisaTexture = 1,
  itisaGlyph = 2,
  itisaGlow = 3,
  itisaPngGlyph = 4,
};

// One picture item.
struct TsMaskData {
  const gfx::Bitmap* Bmp = nullptr;  // the item's own picture; null: it lies in the master bitmap
  std::string ClassName;             // section the item was defined in, as written
  std::string PropertyName;          // key that defined it, as written (plus a resolution suffix)
  gfx::TRect R;                      // the item's area in Bmp or in the master bitmap
  std::int16_t ImageCount = 0;       // images side by side
  std::int16_t MaskType = 0;         // 0 no mask; n: n mask bands below the images (1 for borders)
  std::int16_t BorderWidth = 0;      // uniform border width
  std::int16_t DrawMode = 0;         // fill mode or border fill mode
  TacImgType ImgType = itisaBorder;  // what the item is used as
  const skin::data::TacSkinModel* Manager = nullptr;  // the skin model holding the item; borrowed
  std::int16_t WL = 0, WT = 0, WR = 0, WB = 0;        // border widths: left, top, right, bottom
  std::int32_t CornerType = 0;  // 0 opaque corners; 1 a corner pixel is 0xFF00FF; 2 BUTTON_HUGE
  std::int32_t SkinIndex = -1;  // the owning section's index
  std::int32_t Width = 0;       // size of one image
  std::int32_t Height = 0;
};

}  // namespace skin::paint
