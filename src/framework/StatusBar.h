// TStatusBar: a strip of panels at the bottom of a form, each with a width, text and
// alignment. With AutoHint the first panel (or the simple text when there are no panels)
// shows the application's hint: the hint of the control under the mouse. With UseSystemFont
// (the default) the bar writes in the system's font, not its parent's; giving it a font of
// its own turns UseSystemFont off.
#pragma once

#include <string>
#include <vector>

#include "framework/CustomControl.h"
#include "framework/Label.h"

namespace fw {

struct TStatusPanel {
  std::u16string Text;
  int Width = 50;
  TAlignment Alignment = TAlignment::taLeftJustify;
};

class TStatusBar : public TCustomControl {
 public:
  explicit TStatusBar(TComponent* owner);
  ~TStatusBar() override;
  std::string ClassName() const override { return "TStatusBar"; }

  int PanelCount() const { return int(FPanels.size()); }
  const TStatusPanel& Panel(int index) const;
  void AddPanel(const TStatusPanel& panel);
  void SetPanelText(int index, const std::u16string& text);
  void SetPanelWidth(int index, int width);
  void SetPanelAlignment(int index, TAlignment alignment);
  void ClearPanels();

  // Shown across the whole bar when there are no panels.
  const std::u16string& SimpleText() const { return FSimpleText; }
  void SetSimpleText(const std::u16string& text);

  bool AutoHint() const { return FAutoHint; }
  void SetAutoHint(bool autoHint);

  bool UseSystemFont() const { return FUseSystemFont; }
  void SetUseSystemFont(bool useSystemFont);

 protected:
  void Paint() override;
  void FontChanged() override;

 private:
  void ShowAutoHint(const std::u16string& hint);
  TStatusPanel& At(int index);

  std::vector<TStatusPanel> FPanels;
  std::u16string FSimpleText;
  bool FAutoHint = false;
  bool FUseSystemFont = false;
  bool FApplyingSystemFont = false;
};

}  // namespace fw
