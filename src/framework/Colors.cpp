#include "framework/Colors.h"

#include "platform/win/SystemMetrics.h"

namespace fw {

gfx::COLORREF ColorToRGB(TColor color) {
  if (color & clSystemColor) return win::GetSysColor(color & 0xFF);
  return gfx::COLORREF(color) & 0xFFFFFF;
}

}  // namespace fw
