// TIcon: an icon handle of the graphics core kept by a form (its title bar's icon) or anyone
// else who needs one; it frees the handle it holds and tells OnChange when it gets another.
#pragma once

#include <functional>

#include "platform/gfx/Icon.h"

namespace fw {

class TIcon {
 public:
  TIcon() = default;
  ~TIcon();
  TIcon(const TIcon&) = delete;
  TIcon& operator=(const TIcon&) = delete;

  gfx::HICON Handle() const { return FHandle; }
  // Takes over icon (null: none), frees the one held before and raises OnChange.
  void SetHandle(gfx::HICON icon);
  bool Empty() const { return FHandle == nullptr; }

  std::function<void()> OnChange;

 private:
  gfx::HICON FHandle = nullptr;
};

}  // namespace fw
