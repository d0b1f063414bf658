// TsMemo and TsDBMemo: multi-line edits with skinned frame and bars through their ListSW
// wrapper. The text is the memo's own, drawn in the section's colours for the state it shows
// (focused, or hot under the mouse where the section has a hot look), taken just before each
// paint. TsDBMemo is the data-aware one; with EmptyIsNull, text the user empties stores null.
#pragma once

#include "framework/dbctrls/DBMemo.h"
#include "platform/win/Paint.h"
#include "skin/controls/sSkinnedControl.h"

namespace skin::controls {

// What both memos add to their skinned base.
template <class Base>
class TsMemoT : public Base {
 public:
  using Base::Base;

  // Told after the view scrolled vertically, and after the caret was scrolled into view.
  fw::TNotifyEvent OnVScroll;
  fw::TNotifyEvent OnScrollCaret;

 protected:
  void WndProc(fw::TMessage& m) override {
    sc::TsScrollWndData& cd = this->SkinData();
    if (m.Msg == win::WM_PAINT && cd.Skinned()) {
      if (cd.Updating()) {
        win::ValidateRect(this->Handle(), nullptr);
        m.Result = 0;
        return;
      }
      TakeStateColors(cd, *this);
    }
    Base::WndProc(m);
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

 private:
  // The section's colour and font colour for the state shown, the control's own kept aside
  // the first time they are replaced (custom ones stay).
  static void TakeStateColors(sc::TsCommonData& cd, fw::TControl& c);
};

using TsMemo = TsMemoT<TsListSWControl<fw::TMemo, "TsMemo", sc::COC_TsMemo,
                                       FixedSection<sd::ssEdit>, skin::frame::TacEditWnd>>;

class TsDBMemo
    : public TsMemoT<TsListSWControl<fw::TDBMemo, "TsDBMemo", sc::COC_TsDBMemo,
                                     FixedSection<sd::ssEdit>, skin::frame::TacEditWnd>> {
 public:
  using TsMemoT::TsMemoT;
  // Emptied text stores null in the field (default off: an empty text).
  bool EmptyIsNull() const { return FEmptyIsNull; }
  void SetEmptyIsNull(bool value) { FEmptyIsNull = value; }
  bool IsEmpty() const { return Text().empty(); }

 protected:
  void Change() override;

 private:
  bool FEmptyIsNull = false;
};

}  // namespace skin::controls
