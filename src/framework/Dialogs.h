// Message dialogs as forms of the framework (so the skin engine can skin them like any form):
// an icon, the text and a row of buttons. Every box shown is recorded in the application.
#pragma once

#include <string>
#include <vector>

#include "framework/Application.h"
#include "framework/Form.h"

namespace fw {

enum class TMsgDlgBtn { mbYes, mbNo, mbOK, mbCancel, mbAbort, mbRetry, mbIgnore };
using TMsgDlgButtons = std::vector<TMsgDlgBtn>;

// Builds (does not show) the dialog form: owned by the application when there is one.
TForm* CreateMessageDialog(const std::u16string& text, const std::u16string& title,
                           TMsgDlgType type, const TMsgDlgButtons& buttons);
// Records the box in the application, shows it modally and returns the button's result.
TModalResult ShowMessageBox(const std::u16string& text, const std::u16string& title,
                            TMsgDlgType type, const TMsgDlgButtons& buttons);
// A box titled after its kind ("Warning", "Error", "Information", "Confirm").
TModalResult MessageDlg(const std::u16string& text, TMsgDlgType type,
                        const TMsgDlgButtons& buttons);
// A box with the application's title, no icon and an OK button.
void ShowMessage(const std::u16string& text);

// The name automation reports for an icon ("warning", "error", "information", "confirmation",
// "none").
std::string MsgDlgTypeName(TMsgDlgType type);

}  // namespace fw
