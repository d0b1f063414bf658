// Measuring image lists of any kind the skinned controls draw from (a missing list measures 0).
#pragma once

#include "framework/ImageList.h"

namespace skin::core {

int GetImageCount(const fw::TImageList* list);
// The size of the list's images; index names the item (lists of one size answer the same for
// every item).
int GetImageWidth(const fw::TImageList* list, int index = -1);
int GetImageHeight(const fw::TImageList* list, int index = -1);

}  // namespace skin::core
