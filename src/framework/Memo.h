// TMemo: several lines of text (Lines), wrapped at the right edge with WordWrap, with the
// window's own scroll bars. A vertical bar is always there and stays inactive while the
// text fits. The view scrolls by the bar (a line, a page, the thumb, which the text follows
// while it is dragged), the wheel (three lines a notch) and the keyboard (the caret's moves,
// PageUp and PageDown a page, Ctrl+Home and Ctrl+End to the ends).
#pragma once

#include "framework/Edit.h"
#include "framework/Strings.h"

namespace fw {

class TMemo : public TCustomEdit {
 public:
  explicit TMemo(TComponent* owner);
  std::string ClassName() const override { return "TMemo"; }

  // The text's lines; changing them changes the text (and the other way round).
  TStrings& Lines() { return FLinesList; }
  const TStrings& Lines() const { return FLinesList; }
  bool WordWrap() const { return FWordWrap; }
  void SetWordWrap(bool value);
  TScrollStyle ScrollBars() const { return FScrollBars; }
  void SetScrollBars(TScrollStyle value);
  // Enter starts a new line (else it goes to the form, as for other controls); Tab is typed.
  bool WantReturns() const { return FWantReturns; }
  void SetWantReturns(bool value) { FWantReturns = value; }
  bool WantTabs() const { return FWantTabs; }
  void SetWantTabs(bool value) { FWantTabs = value; }

 protected:
  void CreateParams(TCreateParams& params) override;
  void WndProc(TMessage& m) override;
  void KeyPress(char16_t& key) override;
  bool WantsKey(win::WORD key) const override;
  bool DoMouseWheel(TShiftState shift, int wheelDelta, TPoint mousePos) override;
  void Change() override;
  void BuildLines(std::vector<TVisualLine>& rows) const override;
  void UpdateScrollBars() override;
  bool ScrollsHorizontally() const override { return !FWordWrap; }

 private:
  void WrapLine(int start, int end, int width, std::vector<TVisualLine>& rows) const;
  void Scroll(bool vertical, WPARAM wParam);

  TStrings FLinesList;
  bool FSyncing = false;  // lines and text are being brought in step
  bool FWordWrap = true;
  TScrollStyle FScrollBars = TScrollStyle::ssNone;
  bool FWantReturns = true;
  bool FWantTabs = false;
  int FWheelRest = 0;  // wheel turn not yet worth a notch
};

}  // namespace fw
