#include "skin/controls/sMemo.h"

#include "platform/win/Paint.h"
#include "skin/core/sGraphUtils.h"
#include "skin/draw/sGraphUtils.h"

namespace skin::controls {

void TsMemo::WndProc(fw::TMessage& m) {
  using namespace skin::core;
  TsScrollWndData& cd = SkinData();
  if (m.Msg == win::WM_PAINT && cd.Skinned()) {
    if (cd.Updating()) {
      win::ValidateRect(Handle(), nullptr);
      m.Result = 0;
      return;
    }
    // The state's colours, kept aside the first time they replace the control's own.
    const auto& gd = cd.SkinManager()->SkinModel()->gd[std::size_t(cd.SkinIndex)];
    const int state = gd.States > 1 ? ControlState(cd) : 0;
    const fw::TColor color = GetBGColor(cd, state);
    const auto font = fw::TColor(skin::draw::StateProps(gd, state).FontColor.Color);
    cd.BeginUpdate();
    if (!cd.CustomColor() && Color() != color) {
      if (cd.SavedColor == fw::clNone) cd.SavedColor = Color();
      SetColor(color);
    }
    if (!cd.CustomFont() && Font().Color() != font) {
      if (cd.SavedFontColor == fw::clNone) cd.SavedFontColor = Font().Color();
      Font().SetColor(font);
    }
    cd.EndUpdate(false);
  }
  TsMemoBase::WndProc(m);
  switch (m.Msg) {
    case fw::EM_SCROLLCARET:
      if (OnScrollCaret) OnScrollCaret(this);
      break;
    case win::WM_VSCROLL:
      if (OnVScroll) OnVScroll(this);
      break;
    case win::WM_SETFONT:
    case fw::CM_VISIBLECHANGED:
    case fw::CM_ENABLEDCHANGED:
      if (cd.Skinned()) cd.Invalidate();
      break;
    default:
      break;
  }
}

}  // namespace skin::controls
