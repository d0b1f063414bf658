// TStatusBar: a strip of panels at the bottom of a form, each with a width, text and
// alignment. With AutoHint the first panel (or the simple text when there are no panels)
// shows the application's hint: the hint of the control under the mouse. With UseSystemFont
// (the default) the bar writes in the system's font, not its parent's; giving it a font of
// its own turns UseSystemFont off. An owner-drawn panel (psOwnerDraw) is drawn by OnDrawPanel;
// SimplePanel shows the simple text across the whole bar even when there are panels; SizeGrip
// draws the grip in the bottom-right corner while the bar's form can be resized.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "framework/CustomControl.h"
#include "framework/Label.h"

namespace fw {

enum class TStatusPanelStyle { psText, psOwnerDraw };

struct TStatusPanel {
  std::u16string Text;
  int Width = 50;
  TAlignment Alignment = TAlignment::taLeftJustify;
  TStatusPanelStyle Style = TStatusPanelStyle::psText;
};

class TStatusBar;
// Draws panel index of bar into rect of the bar's canvas.
using TDrawPanelEvent = std::function<void(TStatusBar* bar, int index, const TRect& rect)>;

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
  void SetPanelStyle(int index, TStatusPanelStyle style);
  void ClearPanels();

  // Shown across the whole bar when there are no panels, or with SimplePanel.
  const std::u16string& SimpleText() const { return FSimpleText; }
  void SetSimpleText(const std::u16string& text);
  // One cell with the simple text, whatever the panels (false by default).
  bool SimplePanel() const { return FSimplePanel; }
  void SetSimplePanel(bool simplePanel);
  // Whether the bar shows its simple text rather than its panels.
  bool ShowsSimpleText() const { return FSimplePanel || FPanels.empty(); }

  // The grip in the bottom-right corner (true by default); it shows only while the bar's form
  // can be resized (ShowsSizeGrip).
  bool SizeGrip() const { return FSizeGrip; }
  void SetSizeGrip(bool sizeGrip);
  bool ShowsSizeGrip() const;
  // The width the grip takes from the last cell.
  static constexpr int kSizeGripWidth = 18;
  // The width the cells share: the bar's less the grip's.
  int UsableWidth() const;
  // The bounds of cell index (0-based) in client coordinates: from the sum of the widths
  // before it to that plus its own, the last one to the usable width (the client width less
  // the grip); never inverted. With the simple text there is one cell, index 0.
  TRect CellRect(int index) const;

  // Draws the owner-drawn panels; without it they stay empty.
  TDrawPanelEvent OnDrawPanel;

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
  bool FSimplePanel = false;
  bool FSizeGrip = true;
  bool FUseSystemFont = false;
  bool FApplyingSystemFont = false;
};

}  // namespace fw
