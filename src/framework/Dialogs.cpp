#include "framework/Dialogs.h"

#include <algorithm>

#include "framework/Button.h"
#include "framework/Exception.h"
#include "framework/Image.h"
#include "framework/Label.h"
#include "platform/win/Input.h"
#include "platform/win/MessageBox.h"

namespace fw {

namespace {

// Draws a sign's mark in its font, centred in r by its line box.
void DrawMark(TCanvas& c, const std::u16string& mark, TColor color, TRect r) {
  c.BrushStyle = TBrushStyle::bsClear;
  c.Font.SetHeight(-20);
  c.Font.SetStyle(fsBold);
  c.Font.SetColor(color);
  c.TextRect(r, mark, gfx::DT_CENTER | gfx::DT_VCENTER | gfx::DT_SINGLELINE);
}

// Where a sign's mark, drawn centred in a 32 x 32 box, puts ink; empty without ink.
TRect MarkInk(const std::u16string& mark) {
  gfx::Bitmap scratch(32, 32);
  gfx::DeviceContext dc(scratch);
  TCanvas c;
  c.SetHandle(&dc);
  c.BrushColor = clBlack;
  c.FillRect({0, 0, 32, 32});
  DrawMark(c, mark, clWhite, {0, 0, 32, 32});
  TRect ink{32, 32, 0, 0};
  for (int y = 0; y < 32; ++y)
    for (int x = 0; x < 32; ++x)
      if (gfx::PixelR(scratch.At(x, y)) >= 128) {
        ink.Left = std::min(ink.Left, x);
        ink.Top = std::min(ink.Top, y);
        ink.Right = std::max(ink.Right, x + 1);
        ink.Bottom = std::max(ink.Bottom, y + 1);
      }
  return ink;
}

// The dialog's icon: a 32-pixel sign drawn for its kind, transparent around the sign.
gfx::Bitmap DrawMessageIcon(TMsgDlgType type) {
  gfx::Bitmap icon(32, 32);
  gfx::DeviceContext dc(icon);
  TCanvas c;
  c.SetHandle(&dc);
  // Drawn on a key colour that the sign does not use; everything else becomes opaque.
  c.BrushColor = clFuchsia;
  c.FillRect({0, 0, 32, 32});
  TColor fill = type == TMsgDlgType::mtError     ? clRed
                : type == TMsgDlgType::mtWarning ? clYellow
                                                 : clBlue;
  c.BrushColor = fill;
  c.PenColor = type == TMsgDlgType::mtWarning ? clBlack : fill;
  if (type == TMsgDlgType::mtWarning) {
    TPoint pts[3] = {{16, 1}, {31, 30}, {1, 30}};
    gfx::SetDCBrushColor(c.Handle(), ColorToRGB(fill));
    gfx::SetDCPenColor(c.Handle(), ColorToRGB(clBlack));
    gfx::Polygon(c.Handle(), pts, 3);
  } else {
    // A disc: rows of a circle of radius 15.
    for (int y = 0; y < 32; ++y) {
      int dy = 2 * y + 1 - 32;
      int half = 0;
      while ((2 * half + 2) * (2 * half + 2) + dy * dy <= 32 * 32) ++half;
      if (half) c.FillRect({16 - half, y, 16 + half, y + 1});
    }
  }
  std::u16string mark = type == TMsgDlgType::mtError          ? u"\u00D7"
                        : type == TMsgDlgType::mtWarning      ? u"!"
                        : type == TMsgDlgType::mtConfirmation ? u"?"
                                                              : u"i";
  // The mark is centred by its ink, not by its line box ("×" sits low in its line): the
  // disc's centre, or low in the triangle, where it is widest.
  const TPoint centre = type == TMsgDlgType::mtWarning ? TPoint{16, 19} : TPoint{16, 16};
  const TRect ink = MarkInk(mark);
  TRect r{0, 0, 32, 32};
  if (!ink.IsEmpty())
    r = r.Offset((2 * centre.X - ink.Left - ink.Right) / 2,
                 (2 * centre.Y - ink.Top - ink.Bottom) / 2);
  DrawMark(c, mark, type == TMsgDlgType::mtWarning ? clBlack : clWhite, r);
  const gfx::Pixel key = gfx::PixelFromColor(ColorToRGB(clFuchsia), 0);
  for (int y = 0; y < 32; ++y)
    for (int x = 0; x < 32; ++x)
      icon.Set(x, y, icon.At(x, y) == key ? 0 : icon.At(x, y) | gfx::MakePixel(0, 0, 0, 255));
  return icon;
}

// What each button says and answers, in the order of TMsgDlgBtn.
struct TButtonInfo {
  TMsgDlgBtn Button;
  const char* Name;
  const char16_t* Caption;
  TModalResult Result;
};
constexpr TButtonInfo kButtons[] = {{TMsgDlgBtn::mbYes, "Yes", u"Yes", mrYes},
                                    {TMsgDlgBtn::mbNo, "No", u"No", mrNo},
                                    {TMsgDlgBtn::mbOK, "OK", u"OK", mrOk},
                                    {TMsgDlgBtn::mbCancel, "Cancel", u"Cancel", mrCancel},
                                    {TMsgDlgBtn::mbAbort, "Abort", u"Abort", mrAbort},
                                    {TMsgDlgBtn::mbRetry, "Retry", u"Retry", mrRetry},
                                    {TMsgDlgBtn::mbIgnore, "Ignore", u"Ignore", mrIgnore}};

const TButtonInfo& ButtonInfo(TMsgDlgBtn b) {
  for (const TButtonInfo& info : kButtons)
    if (info.Button == b) return info;
  throw Exception(u"Unknown dialog button");
}

std::u16string TitleOf(TMsgDlgType type) {
  switch (type) {
    case TMsgDlgType::mtWarning:
      return u"Warning";
    case TMsgDlgType::mtError:
      return u"Error";
    case TMsgDlgType::mtInformation:
      return u"Information";
    case TMsgDlgType::mtConfirmation:
      return u"Confirm";
    case TMsgDlgType::mtCustom:
      break;
  }
  return Application ? Application->Title() : std::u16string();
}

}  // namespace

std::string MsgDlgTypeName(TMsgDlgType type) {
  switch (type) {
    case TMsgDlgType::mtWarning:
      return "warning";
    case TMsgDlgType::mtError:
      return "error";
    case TMsgDlgType::mtInformation:
      return "information";
    case TMsgDlgType::mtConfirmation:
      return "confirmation";
    case TMsgDlgType::mtCustom:
      break;
  }
  return "none";
}

TMessageForm* CreateMessageDialog(const std::u16string& text, const std::u16string& title,
                                  TMsgDlgType type, const TMsgDlgButtons& buttons) {
  auto* form = new TMessageForm(Application);
  form->SetName("MessageDialog");
  form->SetBorderStyle(TFormBorderStyle::bsDialog);
  form->SetPosition(TPosition::poScreenCenter);
  form->SetCaption(title);
  constexpr int kMargin = 12, kButtonW = 75, kButtonH = 25, kGap = 6;
  int textLeft = kMargin;
  if (type != TMsgDlgType::mtCustom) {
    auto* icon = new TImage(form);
    icon->SetName("Image");
    icon->SetBounds(kMargin, kMargin, 32, 32);
    icon->SetPicture(DrawMessageIcon(type));
    icon->SetParent(form);
    textLeft = kMargin + 32 + kMargin;
  }
  auto* label = new TLabel(form);
  label->SetName("Message");
  label->SetShowAccelChar(false);  // the text is shown as it is, "&" included
  label->SetCaption(text);
  label->SetParent(form);
  if (label->Width() > 420) {  // long texts wrap
    label->SetWordWrap(true);
    label->SetWidth(420);
    label->AdjustBounds();
  }
  label->SetLeft(textLeft);
  label->SetTop(kMargin + std::max(0, (32 - label->Height()) / 2));
  int rowWidth = int(buttons.size()) * kButtonW + std::max(0, int(buttons.size()) - 1) * kGap;
  int clientW = std::max(textLeft + label->Width() + kMargin, rowWidth + 2 * kMargin);
  int buttonsTop = std::max(label->Top() + label->Height(), kMargin + 32) + kMargin;
  int x = (clientW - rowWidth) / 2;
  bool haveCancel =
      std::find(buttons.begin(), buttons.end(), TMsgDlgBtn::mbCancel) != buttons.end();
  for (std::size_t i = 0; i < buttons.size(); ++i) {
    auto* b = new TButton(form);
    const TButtonInfo& info = ButtonInfo(buttons[i]);
    b->SetName(info.Name);
    b->SetCaption(info.Caption);
    b->SetModalResult(info.Result);
    b->SetDefault(i == 0);
    b->SetCancel(buttons[i] == TMsgDlgBtn::mbCancel ||
                 (!haveCancel && (buttons[i] == TMsgDlgBtn::mbNo || buttons.size() == 1)));
    b->SetBounds(x, buttonsTop, kButtonW, kButtonH);
    b->SetParent(form);
    x += kButtonW + kGap;
  }
  form->SetClientSize(clientW, buttonsTop + kButtonH + kMargin);
  return form;
}

TModalResult ShowMessageBox(const std::u16string& text, const std::u16string& title,
                            TMsgDlgType type, const TMsgDlgButtons& buttons) {
  if (Application) Application->RecordMessage({title, text, type});
  TForm* form = CreateMessageDialog(text, title, type, buttons);
  TModalResult result = mrNone;
  try {
    result = form->ShowModal();
  } catch (...) {
    delete form;
    throw;
  }
  delete form;
  return result;
}

TModalResult MessageDlg(const std::u16string& text, TMsgDlgType type,
                        const TMsgDlgButtons& buttons) {
  return ShowMessageBox(text, TitleOf(type), type, buttons);
}

int ApplicationMessageBox(const std::u16string& text, const std::u16string& caption,
                          unsigned flags) {
  using namespace win;
  const unsigned icon = flags & MB_ICONMASK;
  if (Application)
    Application->RecordMessage({caption, text,
                                icon == MB_ICONHAND          ? TMsgDlgType::mtError
                                : icon == MB_ICONEXCLAMATION ? TMsgDlgType::mtWarning
                                : icon == MB_ICONASTERISK    ? TMsgDlgType::mtInformation
                                : icon == MB_ICONQUESTION    ? TMsgDlgType::mtConfirmation
                                                             : TMsgDlgType::mtCustom});
  HWND owner = GetActiveWindow();
  TCustomForm* main = Application ? Application->MainForm() : nullptr;
  if (!owner && main && main->HandleAllocated()) owner = main->Handle();
  return MessageBoxW(owner, text, caption, flags);
}

void ShowMessage(const std::u16string& text) {
  ShowMessageBox(text, TitleOf(TMsgDlgType::mtCustom), TMsgDlgType::mtCustom, {TMsgDlgBtn::mbOK});
}

}  // namespace fw
