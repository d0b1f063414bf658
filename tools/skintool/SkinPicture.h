// What `skintool paint` draws: a section of a skin for a state, as a control with that section
// shows it over a parent known only by its colour.
#pragma once

#include <memory>
#include <string>

#include "platform/gfx/Bitmap.h"
#include "skin/data/acSkinModel.h"

namespace skintool {

// The model of a skin named as `skintool list` prints it, or of a package or skin folder
// (an existing path wins). Raises ESkinError when there is no such skin.
std::unique_ptr<skin::data::TacSkinModel> LoadSkinModel(const std::string& skin);

// Section sectionIndex for state into a width x height picture over parentColor (0xRRGGBB);
// every pixel opaque.
gfx::Bitmap PaintSectionPicture(const skin::data::TacSkinModel& model, int sectionIndex, int state,
                                int width, int height, std::uint32_t parentColor);

}  // namespace skintool
