// The catalogue's filter box under every internal skin: a button-style combo box (closed, and
// open with its list), an edit unfocused and focused, a hint edit. Each skin's picture goes to
// the test output for people to look at; no key-coloured pixel may show anywhere.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "TestOutput.h"
#include "framework/Form.h"
#include "framework/TextConv.h"
#include "platform/gfx/PictureCodec.h"
#include "platform/win/Window.h"
#include "skin/controls/sControls.h"
#include "skin/frame/InternalSkinFormTest.h"
#include "skin/internal/sInternalSkins.h"

namespace skin::controls {
namespace {

class FilterBoxLookTest : public skin::frame::test::InternalSkinFormTest {};

int KeyColoured(const gfx::Bitmap& bmp) {
  int n = 0;
  for (int y = 0; y < bmp.Height(); ++y)
    for (int x = 0; x < bmp.Width(); ++x) n += (bmp.At(x, y) & 0xFFFFFF) == 0xFF00FF;
  return n;
}

void Save(const gfx::Bitmap& bmp, const std::string& name) {
  const auto png = gfx::EncodePng(bmp);
  if (FILE* f = std::fopen((tests::OutputFolder("filter-box") / name).c_str(), "wb")) {
    std::fwrite(png.data(), 1, png.size(), f);
    std::fclose(f);
  }
}

TEST_F(FilterBoxLookTest, EveryInternalSkinPaintsTheFilterBoxWithoutKeyColour) {
  MakeSkinnedForm(320, 420);
  auto* combo = new TsComboBox(form);
  combo->SetBounds(9, 35, 273, 27);
  combo->SetParent(form);
  combo->Font().SetName(u"Tahoma");
  combo->Font().SetHeight(-16);
  combo->Font().SetColor(fw::TColor(5391682));
  for (const char16_t* s : {u"Все", u"Военно-исторический музей", u"Галерея", u"Музей природы",
                            u"Школьный музей", u"Этнографический музей"})
    combo->Items().Add(s);
  combo->SetItemIndex(1);
  auto* edit = new TsEdit(form);
  edit->SetBounds(9, 106, 273, 31);
  edit->SetParent(form);
  edit->Font().SetName(u"Tahoma");
  edit->Font().SetHeight(-16);
  edit->SetText(u"Гимназия №1");
  auto* hint = new TsEdit(form);
  hint->SetBounds(9, 150, 273, 31);
  hint->SetParent(form);
  hint->Font().SetHeight(-16);
  hint->SetTextHint(u"Наименование организации");
  for (fw::TControl* c : std::initializer_list<fw::TControl*>{combo, edit, hint}) {
    c->AfterConstruction();
    c->Loaded();
  }
  form->Show();
  desktop.Pump();
  for (const auto& skin : skin::data::InternalSkins()) {
    SCOPED_TRACE(skin.Name);
    manager->SetSkinName(fw::Utf8ToUtf16(skin.Name));
    desktop.Pump();
    std::string file = skin.Name;
    for (char& ch : file)
      if (ch == ' ' || ch == '(' || ch == ')') ch = '_';
    const gfx::Bitmap closed = win::ComposeWindow(form->Handle());
    EXPECT_EQ(KeyColoured(closed), 0);
    Save(closed, file + "-closed.png");
    edit->SetFocus();
    desktop.Pump();
    const gfx::Bitmap focused = win::ComposeWindow(form->Handle());
    EXPECT_EQ(KeyColoured(focused), 0);
    Save(focused, file + "-edit-focused.png");
    combo->SetFocus();
    combo->SetDroppedDown(true);
    desktop.Pump();
    combo->ListWindow()->SetHotIndex(3);
    desktop.Pump();
    const gfx::Bitmap open = win::ComposeArea({0, 0, 320, 420});
    EXPECT_EQ(KeyColoured(open), 0);
    Save(open, file + "-open.png");
    combo->SetDroppedDown(false);
    form->SetFocus();
    desktop.Pump();
  }
}

}  // namespace
}  // namespace skin::controls
