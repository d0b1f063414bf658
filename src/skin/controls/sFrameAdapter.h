// TsFrameAdapter: the component that skins the frame it is put on the way a panel is skinned.
// It takes the frame's messages through a window-procedure hook for as long as it lives, paints
// the frame from its section (by default the transparent one, so the frame shows what lies
// behind it) and passes the skin announcements on to the frame's controls.
#pragma once

#include <memory>
#include <string>

#include "framework/Frame.h"
#include "skin/core/sCommonData.h"

namespace skin::controls {

class TsFrameAdapter : public fw::TComponent {
 public:
  // owner must be a frame; anything else raises fw::Exception with acs_FrameAdapterError1.
  explicit TsFrameAdapter(fw::TComponent* owner);
  // Gives the frame its own message handling back before the skin data goes.
  ~TsFrameAdapter() override;
  std::string ClassName() const override { return "TsFrameAdapter"; }
  void AfterConstruction() override;
  void Loaded() override;

  fw::TFrame* Frame() const { return FFrame; }
  skin::core::TsScrollWndData& SkinData() { return *FCommonData; }
  const skin::core::TsScrollWndData& SkinData() const { return *FCommonData; }

 private:
  void NewWndProc(fw::TMessage& m, const fw::TWndNext& next);
  // The section over the parent's picture into the frame's cache; false (the data waiting for
  // its parent) when the parent's picture is not ready.
  bool PrepareCache();
  // The frame's picture into dc, then its windowless controls; the controls inside are told
  // the frame has painted.
  void OurPaintHandler(gfx::HDC dc);
  void AC_WMPaint(gfx::HDC dc);
  // Marks the picture stale, tells the controls inside, and repaints the frame.
  void BGChangedNotify(bool repaint);
  // The pop-up menus the frame owns draw through the manager's skinned menus (while it is
  // active with SkinnedPopups): a frame made after the skin came has its menus skinned too.
  void HookPopups();
  // Skinned, with the manager's srThirdParty rule: the form's adapter takes the frame's
  // controls.
  bool ThirdPartySkinned() const;
  // The frame's window class takes the brush (its background where the frame is erased).
  void SetClassBrush(win::HBRUSH brush);

  fw::TFrame* FFrame;
  // Asked before the data exists: once made, it registers with the frame's window itself.
  bool FSkinnedElsewhere;
  std::unique_ptr<skin::core::TsScrollWndData> FCommonData;
  fw::TWndHookId FHook = 0;
  // Drawing is off between AC_BEFORESCROLL and AC_AFTERSCROLL.
  bool FScrolling = false;
};

}  // namespace skin::controls
