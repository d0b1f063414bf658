// Checks that a loaded skin is usable: its pictures exist and decode, and every picture item
// lies inside its bitmap. Used by the skin tool's "verify" and by tests of stored skins.
#pragma once

#include <string>
#include <vector>

#include "skin/data/acSkinLoad.h"

namespace skin::data {

// Every problem found, one sentence each; empty when the skin is usable.
std::vector<std::string> CheckSkin(const TacLoadedSkin& skin);

}  // namespace skin::data
