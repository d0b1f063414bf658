// What the skin needs to know of other component suites and of image lists of any kind: the
// window classes the dialog hook leaves alone, and one way of measuring every image list (a
// missing list measures 0).
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "framework/ImageList.h"

namespace skin::controls {

// The window classes never skinned as dialogs: the application's hidden window and the pop-up
// windows of other component suites. Sorted without regard to case.
const std::vector<std::u16string>& ThirdPartySkipForms();
// Whether className is one of them (case does not matter).
bool IsThirdPartySkipForm(std::u16string_view className);

// The number of pictures: the skin's lists count their items, a framework list its pictures.
int GetImageCount(const fw::TImageList* list);
// The size of picture index: a character list scales its size by the item's own factor
// (rounded) for a valid index; every other list answers its size for any index.
int GetImageWidth(const fw::TImageList* list, int index = -1);
int GetImageHeight(const fw::TImageList* list, int index = -1);

}  // namespace skin::controls
