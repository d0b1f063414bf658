// Building the in-memory skin from a skin read from its source: the master bitmap and the
// picture files its items name, the picture items, the embedded fonts' data, the sections
// with their parsed gradients, the outer-effect masks and the constant index table. One pure
// step with no window: the result is put in force only when nothing raised.
#pragma once

#include <cstdint>
#include <memory>
#include <span>

#include "skin/data/acSkinModel.h"
#include "skin/data/acSkinSources.h"
#include "skin/data/sSkinOptions.h"

namespace skin::data {

// The model of a skin whose source content and options were read. A picture that is missing
// or has no pixels, and an item whose rectangle does not lie inside its picture, make no
// item. A section's States is at least 1. A picture or gradient that cannot be decoded raises
// ESkinError.
std::unique_ptr<TacSkinModel> CreateSkinModel(const TacSkinContent& content,
                                              const TacSkinOptions& options,
                                              const TacSkinModelParams& params);

// Whether picture data keep their own alpha channel (32-bit BMP, PNG); other pictures get
// alpha 255 with the key colour 0xFF00FF at alpha 0.
bool PictureHasAlpha(std::span<const std::uint8_t> data);

}  // namespace skin::data
