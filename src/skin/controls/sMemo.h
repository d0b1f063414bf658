// TsMemo: the multi-line edit with skinned frame and bars through its ListSW wrapper. Its text
// is the memo's own, drawn in the section's colours for the state it shows (focused, or hot
// under the mouse where the section has a hot look), taken just before each paint.
#pragma once

#include "skin/controls/sControls.h"

namespace skin::controls {

using TsMemoBase = TsListSWControl<fw::TMemo, "TsMemo", sc::COC_TsMemo, FixedSection<sd::ssEdit>,
                                   skin::frame::TacEditWnd>;

class TsMemo : public TsMemoBase {
 public:
  using TsMemoBase::TsMemoBase;

  // Told after the view scrolled vertically, and after the caret was scrolled into view.
  fw::TNotifyEvent OnVScroll;
  fw::TNotifyEvent OnScrollCaret;

 protected:
  void WndProc(fw::TMessage& m) override;
};

}  // namespace skin::controls
