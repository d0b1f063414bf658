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

// The message dialog's form, told apart by its class name: an icon image named "Image" (none
// for mtCustom), the text in a label named "Message", and a row of TButtons named as the
// buttons are ("Yes", "No", "OK", "Cancel", "Abort", "Retry", "Ignore"), each with its
// ModalResult (mrYes, mrNo, mrOk, ...). The first button is the default one; the cancel
// button (Cancel, else No, else a lone button) takes Esc.
class TMessageForm : public TForm {
 public:
  using TForm::TForm;
  std::string ClassName() const override { return "TMessageForm"; }
};

// Builds (does not show) the dialog form: owned by the application when there is one.
TMessageForm* CreateMessageDialog(const std::u16string& text, const std::u16string& title,
                                  TMsgDlgType type, const TMsgDlgButtons& buttons);
// Records the box in the application, shows it modally and returns the button's result.
TModalResult ShowMessageBox(const std::u16string& text, const std::u16string& title,
                            TMsgDlgType type, const TMsgDlgButtons& buttons);
// A box titled after its kind ("Warning", "Error", "Information", "Confirm").
TModalResult MessageDlg(const std::u16string& text, TMsgDlgType type,
                        const TMsgDlgButtons& buttons);
// A box with the application's title, no icon and an OK button.
void ShowMessage(const std::u16string& text);

// The platform's message box (win::MessageBoxW with MB_* flags) over the active window (the
// main form's without one), recorded like every box; returns the answer (IDOK, IDCANCEL, ...).
// The application's default error handler shows its errors in one (stop icon, OK).
int ApplicationMessageBox(const std::u16string& text, const std::u16string& caption,
                          unsigned flags);

// The name automation reports for an icon ("warning", "error", "information", "confirmation",
// "none").
std::string MsgDlgTypeName(TMsgDlgType type);

}  // namespace fw
