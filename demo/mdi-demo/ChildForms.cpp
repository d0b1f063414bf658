#include "ChildForms.h"

#include <string>

#include "DemoPictures.h"
#include "framework/TextConv.h"
#include "skin/controls/sControls.h"

namespace mdidemo {

namespace sc = skin::controls;

namespace {

std::u16string Numbered(const std::u16string& kind, int number) {
  return kind + u" " + fw::Utf8ToUtf16(std::to_string(number));
}

}  // namespace

TChildForm::TChildForm(fw::TComponent* owner, const std::u16string& caption) : TForm(owner) {
  SetFormStyle(fw::TFormStyle::fsMDIChild);
  SetCaption(caption);
  // Closed, a child goes for good (an MDI child would be minimised by default).
  OnClose = [](fw::TComponent*, fw::TCloseAction& action) { action = fw::TCloseAction::caFree; };
  auto* provider = new sc::TsSkinProvider(this);
  provider->SetName("sSkinProvider1");
}

TTextChild::TTextChild(fw::TComponent* owner, int number)
    : TChildForm(owner, Numbered(u"Текст", number)) {
  SetName("Text" + std::to_string(number));
  SetBounds(0, 0, 380, 260);
  auto* memo = new sc::TsMemo(this);
  memo->SetName("Memo");
  memo->SetAlign(fw::TAlign::alClient);
  memo->SetWordWrap(true);
  memo->Lines().Add(u"Музей истории школы № " + fw::Utf8ToUtf16(std::to_string(number)));
  memo->Lines().Add(u"");
  memo->Lines().Add(
      u"Музей открыт в 1985 году. В его фондах хранятся фотографии выпускников, "
      u"письма с фронта, дневники и школьные награды.");
  memo->Lines().Add(u"");
  memo->Lines().Add(u"Экскурсии проводятся по предварительной записи.");
  memo->SetParent(this);
}

TPictureChild::TPictureChild(fw::TComponent* owner, int number)
    : TChildForm(owner, Numbered(u"Рисунок", number)) {
  SetName("Picture" + std::to_string(number));
  SetBounds(0, 0, 360, 280);
  auto* image = new sc::TsImage(this);
  image->SetName("Image");
  image->SetAlign(fw::TAlign::alClient);
  // Stretched to the control until it is drawn at the control's size.
  image->SetStretch(true);
  image->SetPicture(MakeLandscape(480, 320));
  image->SetParent(this);
  FImage = image;
}

void TPictureChild::WndProc(fw::TMessage& m) {
  TChildForm::WndProc(m);
  if (m.Msg != win::WM_SIZE || !FImage || m.WParam == win::SIZE_MINIMIZED) return;
  // The image fills the client (alClient), which may not be aligned to the new size yet.
  win::RECT client{};
  win::GetClientRect(Handle(), &client);
  const gfx::TSize room{client.Width(), client.Height()};
  if (room.cx <= 0 || room.cy <= 0 || room == FDrawn) return;
  FDrawn = room;
  FImage->SetPicture(MakeLandscape(room.cx, room.cy));
}

TCardChild::TCardChild(fw::TComponent* owner, int number)
    : TChildForm(owner, Numbered(u"Анкета", number)) {
  SetName("Card" + std::to_string(number));
  SetBounds(0, 0, 340, 220);
  static const char16_t* const kFields[][2] = {{u"Название:", u"Музей боевой славы"},
                                               {u"Район:", u"Центральный район"},
                                               {u"Адрес:", u"ул. Садовая, 12"},
                                               {u"Телефон:", u"22-41-07"}};
  int top = 16, n = 0;
  for (const auto& field : kFields) {
    ++n;
    auto* label = new sc::TsLabel(this);
    label->SetName("Label" + std::to_string(n));
    label->SetCaption(field[0]);
    label->SetBounds(12, top + 3, 80, 16);
    label->SetParent(this);
    auto* edit = new sc::TsEdit(this);
    edit->SetName("Edit" + std::to_string(n));
    edit->SetText(field[1]);
    edit->SetBounds(96, top, 210, 22);
    edit->SetParent(this);
    top += 34;
  }
}

}  // namespace mdidemo
