#include "skin/core/sThirdParty.h"

namespace skin::core {

int GetImageCount(const fw::TImageList* list) {
  return list ? list->Count() : 0;
}

int GetImageWidth(const fw::TImageList* list, int) {
  return list ? list->Width() : 0;
}

int GetImageHeight(const fw::TImageList* list, int) {
  return list ? list->Height() : 0;
}

}  // namespace skin::core
