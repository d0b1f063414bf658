#include "framework/Icon.h"

namespace fw {

TIcon::~TIcon() {
  if (FHandle) gfx::DestroyIcon(FHandle);
}

void TIcon::SetHandle(gfx::HICON icon) {
  if (icon == FHandle) return;
  if (FHandle) gfx::DestroyIcon(FHandle);
  FHandle = icon;
  if (OnChange) OnChange();
}

}  // namespace fw
