#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "Harness.h"
#include "framework/Button.h"
#include "framework/Dialogs.h"
#include "framework/Image.h"
#include "framework/Label.h"
#include "framework/Menus.h"
#include "framework/Reader.h"
#include "platform/win/ControlCodes.h"
#include "platform/win/Input.h"
#include "platform/win/MessageQueue.h"
#include "platform/win/Window.h"

namespace fw::test {
namespace {

constexpr unsigned kAlt = 0x38, kS = 0x1F, kX = 0x2D, kDown = 0xE050;

win::LRESULT StateOf(TButton* b) {
  return win::SendMessageW(b->Handle(), win::BM_GETSTATE, 0, 0);
}

win::DWORD TypeOf(TButton* b) {
  return win::DWORD(win::GetWindowLongPtrW(b->Handle(), win::GWL_STYLE)) & win::BS_TYPEMASK;
}

gfx::Bitmap Filled(int w, int h, gfx::Pixel p) {
  gfx::Bitmap b(w, h);
  b.Fill(p);
  return b;
}

TEST_F(FrameworkTest, ButtonsAnswerBmGetStateAndMoveTheDefaultStyleWithTheFocus) {
  TForm* form = ShowForm(0, 0, 300, 200);
  auto* ok = new TButton(form);
  ok->SetParent(form);
  ok->SetBounds(10, 10, 75, 25);
  ok->SetDefault(true);
  auto* cancel = new TButton(form);
  cancel->SetParent(form);
  cancel->SetBounds(100, 10, 75, 25);
  auto* other = new TBox(form, form, {0, 100, 50, 150}, clRed);
  other->SetFocus();
  desktop.Pump();
  EXPECT_EQ(TypeOf(ok), win::BS_DEFPUSHBUTTON);
  EXPECT_EQ(TypeOf(cancel), win::BS_PUSHBUTTON);
  EXPECT_EQ(StateOf(ok), 0);

  // Held down with the mouse: pushed and focused; dragged off: only focused; the focused
  // button is now the one Enter clicks, so the default one gives up its style.
  win::InjectMouseMove({120, 20});
  win::InjectMouseButton(0, true, {120, 20});
  desktop.Pump();
  EXPECT_EQ(StateOf(cancel), win::BST_PUSHED | win::BST_FOCUS);
  EXPECT_EQ(TypeOf(cancel), win::BS_DEFPUSHBUTTON);
  EXPECT_EQ(TypeOf(ok), win::BS_PUSHBUTTON);
  EXPECT_FALSE(ok->Active());
  Move(250, 150);
  EXPECT_EQ(StateOf(cancel), win::BST_FOCUS);
  win::InjectMouseButton(0, false, {250, 150});
  desktop.Pump();
  EXPECT_EQ(StateOf(cancel), win::BST_FOCUS);

  // Space holds the focused button down until it is released.
  ok->SetFocus();
  win::InjectKey(kSpace, true);
  desktop.Pump();
  EXPECT_EQ(StateOf(ok), win::BST_PUSHED | win::BST_FOCUS);
  EXPECT_EQ(StateOf(cancel), 0);
  win::InjectKey(kSpace, false);
  desktop.Pump();
  EXPECT_EQ(StateOf(ok), win::BST_FOCUS);

  // The focus leaves the buttons: the default one has its style back.
  cancel->SetFocus();
  other->SetFocus();
  desktop.Pump();
  EXPECT_EQ(TypeOf(ok), win::BS_DEFPUSHBUTTON);
  EXPECT_EQ(TypeOf(cancel), win::BS_PUSHBUTTON);
  ok->SetDefault(false);
  EXPECT_EQ(TypeOf(ok), win::BS_PUSHBUTTON);
  // BM_SETSTATE draws it pushed from outside, as a skin's wrapper may.
  win::SendMessageW(ok->Handle(), win::BM_SETSTATE, 1, 0);
  EXPECT_TRUE(ok->Down());
  EXPECT_EQ(StateOf(ok), win::BST_PUSHED);
}

TEST_F(FrameworkTest, AcceleratorsClickTheirButtonWithAltOrFromAFocusedButton) {
  TForm* form = ShowForm(0, 0, 300, 200);
  std::vector<std::string> log;
  auto add = [&](const char16_t* caption, int left, const char* name) {
    auto* b = new TButton(form);
    b->SetParent(form);
    b->SetBounds(left, 10, 70, 25);
    b->SetCaption(caption);
    b->OnClick = [&log, name](TComponent*) { log.push_back(name); };
    return b;
  };
  add(u"&Save", 0, "save");
  TButton* exit = add(u"E&xit", 80, "exit");
  add(u"Fish && &Chips", 160, "chips");
  auto* box = new TBox(form, form, {0, 100, 50, 150}, clRed);
  box->SetFocus();
  desktop.Pump();
  win::InjectKey(kAlt, true);
  Key(kS);
  Key(kX);
  win::InjectKey(kAlt, false);
  desktop.Pump();
  // A plain letter is typing in the box, but from a focused button it is an accelerator.
  Key(kS);
  exit->SetFocus();
  Key(kS);
  EXPECT_EQ(log, (std::vector<std::string>{"save", "exit", "save"}));

  EXPECT_TRUE(IsAccel(u'C', u"Fish && &Chips"));
  EXPECT_FALSE(IsAccel(u'&', u"Fish && &Chips"));
  EXPECT_FALSE(IsAccel(u'F', u"Fish && &Chips"));
  EXPECT_TRUE(IsAccel(u'с', u"&Сохранить"));  // either case, Cyrillic too
  EXPECT_TRUE(IsAccel(u'Ё', u"&ёлка"));
  EXPECT_FALSE(IsAccel(u'x', u"Exit&"));
}

TEST_F(FrameworkTest, BitButtonsLayOutGlyphAndCaptionAndShowTheFrameOfTheirState) {
  TForm* form = ShowForm(0, 0, 400, 300);
  form->SetColor(clWhite);
  auto* b = new TBitBtn(form);
  b->SetParent(form);
  b->SetBounds(10, 10, 120, 60);
  b->SetCaption(u"Go");
  // A strip of two 16 x 16 frames: red (up), blue (disabled).
  gfx::Bitmap strip(32, 16);
  strip.Fill(gfx::MakePixel(0, 0, 255, 255));
  strip.CopyFrom(Filled(16, 16, gfx::MakePixel(255, 0, 0, 255)), {0, 0, 16, 16}, {16, 0});
  b->SetGlyph(strip);
  b->SetNumGlyphs(2);
  const TRect face = b->ClientRect();
  TRect g, t;

  // Centred as one block, 4 pixels apart.
  b->CalcLayout(face, g, t);
  EXPECT_EQ(g.Width(), 16);
  EXPECT_EQ(t.Left - g.Right, 4);
  EXPECT_LE(std::abs((g.Left - face.Left) - (face.Right - t.Right)), 1);
  EXPECT_LE(std::abs((g.Top - face.Top) - (face.Bottom - g.Bottom)), 1);
  // Glyph at the right, 5 from the edge.
  b->SetLayout(TButtonLayout::blGlyphRight);
  b->SetMargin(5);
  b->CalcLayout(face, g, t);
  EXPECT_EQ(g.Right, face.Right - 5);
  EXPECT_EQ(t.Right, g.Left - 4);
  // Glyph above, everything spaced evenly.
  b->SetLayout(TButtonLayout::blGlyphTop);
  b->SetMargin(-1);
  b->SetSpacing(-1);
  b->CalcLayout(face, g, t);
  int gap = g.Top - face.Top;
  EXPECT_EQ(t.Top - g.Bottom, gap);
  EXPECT_LE(std::abs(face.Bottom - t.Bottom - gap), 2);
  EXPECT_LE(std::abs((g.Left + g.Right) - (face.Left + face.Right)), 1);
  // Glyph below the caption.
  b->SetLayout(TButtonLayout::blGlyphBottom);
  b->CalcLayout(face, g, t);
  EXPECT_GT(g.Top, t.Bottom);
  // No caption: the glyph alone is centred.
  b->SetLayout(TButtonLayout::blGlyphLeft);
  b->SetSpacing(4);
  b->SetCaption(u"");
  b->CalcLayout(face, g, t);
  EXPECT_TRUE(t.IsEmpty());
  EXPECT_EQ(g.Left - face.Left, face.Right - g.Right);

  // On the screen: the first frame, the second when disabled.
  desktop.Pump();
  TPoint centre = b->ClientToScreen({(g.Left + g.Right) / 2, (g.Top + g.Bottom) / 2});
  EXPECT_EQ(ScreenAt(centre.X, centre.Y), gfx::RGB(255, 0, 0));
  b->SetEnabled(false);
  desktop.Pump();
  EXPECT_EQ(ScreenAt(centre.X, centre.Y), gfx::RGB(0, 0, 255));

  // A caption wider than the face wraps at its width with WordWrap.
  b->SetCaption(u"A caption of many words that cannot fit");
  b->CalcLayout(face, g, t);
  int oneLine = t.Height();
  EXPECT_GT(t.Width(), face.Width());
  b->SetWordWrap(true);
  EXPECT_TRUE(win::GetWindowLongPtrW(b->Handle(), win::GWL_STYLE) & win::BS_MULTILINE);
  b->CalcLayout(face, g, t);
  EXPECT_LE(t.Width(), face.Width());
  EXPECT_GE(t.Height(), 2 * oneLine);
}

TEST_F(FrameworkTest, ButtonsShowTheirImageWhereItsAlignmentPutsIt) {
  TForm* form = ShowForm(0, 0, 400, 300);
  form->SetColor(clWhite);
  auto* list = new TImageList(form);
  list->SetSize(16, 16);
  list->Add(u"red", Filled(16, 16, gfx::MakePixel(0, 0, 255, 255)));
  auto* b = new TButton(form);
  b->SetParent(form);
  b->SetBounds(10, 10, 120, 60);
  b->SetCaption(u"Go");
  const TRect face{0, 0, 120, 60};
  TRect image, caption;
  b->ImageLayout(face, image, caption);
  EXPECT_TRUE(image.IsEmpty());  // no list
  EXPECT_EQ(caption, face);
  b->SetImages(list);
  b->SetImageIndex(1);  // not in the list
  EXPECT_FALSE(b->HasImage());
  b->SetImageIndex(0);
  b->SetImageMargins({2, 3, 4, 5});
  struct Case {
    TImageAlignment alignment;
    TRect image, caption;
  };
  // The box (image and margins, 22 x 24) centred across its side: top 18 + 3.
  const std::vector<Case> cases = {
      {TImageAlignment::iaLeft, {2, 21, 18, 37}, {22, 0, 120, 60}},
      {TImageAlignment::iaRight, {100, 21, 116, 37}, {0, 0, 98, 60}},
      {TImageAlignment::iaTop, {51, 3, 67, 19}, {0, 24, 120, 60}},
      {TImageAlignment::iaBottom, {51, 39, 67, 55}, {0, 0, 120, 36}},
      {TImageAlignment::iaCenter, {51, 21, 67, 37}, {0, 0, 120, 60}},
  };
  for (const Case& c : cases) {
    b->SetImageAlignment(c.alignment);
    b->ImageLayout(face, image, caption);
    EXPECT_EQ(image, c.image) << int(c.alignment);
    EXPECT_EQ(caption, c.caption) << int(c.alignment);
  }
  // On the screen, inside the bevel, at the left.
  b->SetImageAlignment(TImageAlignment::iaLeft);
  desktop.Pump();
  TRect inner;
  b->ImageLayout({1, 1, 119, 59}, inner, caption);
  const TPoint centre =
      b->ClientToScreen({(inner.Left + inner.Right) / 2, (inner.Top + inner.Bottom) / 2});
  EXPECT_EQ(ScreenAt(centre.X, centre.Y), gfx::RGB(255, 0, 0));
  // The list freed first: the button forgets it.
  delete list;
  EXPECT_EQ(b->Images(), nullptr);
  desktop.Pump();
}

// A split button with a two-item menu at (20, 30) of a form at the screen's origin.
class SplitButtonTest : public FrameworkTest {
 protected:
  void SetUp() override {
    FrameworkTest::SetUp();
    form = ShowForm(0, 0, 300, 200);
    button = new TButton(form);
    button->SetParent(form);
    button->SetBounds(20, 30, 120, 25);
    button->SetStyle(TButtonStyle::bsSplitButton);
    button->SetCaption(u"Split");
    button->OnClick = [this](TComponent*) { ++clicks; };
    button->OnDropDownClick = [this](TComponent*) { ++dropDownClicks; };
    menu = new TPopupMenu(form);
    for (const char16_t* text : {u"First", u"Second"}) {
      auto* item = new TMenuItem(menu);
      item->SetCaption(text);
      menu->Items()->Add(item);
    }
    menu->OnPopup = [this](TComponent*) { ++popups; };
    button->SetDropDownMenu(menu);
    desktop.Pump();
  }
  // While the menu is open: where it is, whether the button shows it dropped; then Escape.
  void WhenOpen(std::function<void()> check) {
    desktop.Schedule(10, [this, check] {
      win::HWND popup = win::GetTopWindow(nullptr);
      win::GetWindowRect(popup, &menuRect);
      if (check) check();
      win::InjectKey(kEscape, true);
      win::InjectKey(kEscape, false);
    });
  }
  TForm* form = nullptr;
  TButton* button = nullptr;
  TPopupMenu* menu = nullptr;
  int clicks = 0, dropDownClicks = 0, popups = 0;
  win::RECT menuRect{};
};

TEST_F(SplitButtonTest, TheArrowPartOpensTheMenuUnderTheButtonAndTheMainPartClicks) {
  // The part is 16 pixels at the right; other styles have none.
  EXPECT_EQ(button->DropDownRect(), (TRect{104, 0, 120, 25}));
  button->SetStyle(TButtonStyle::bsPushButton);
  EXPECT_TRUE(button->DropDownRect().IsEmpty());
  button->SetStyle(TButtonStyle::bsSplitButton);

  // The main part: a plain click, nothing dropped.
  Click(60, 42);
  EXPECT_EQ(clicks, 1);
  EXPECT_EQ(dropDownClicks, 0);
  EXPECT_EQ(popups, 0);

  // The arrow part: the event, then the menu under the button, left-aligned with it, the
  // button held dropped down meanwhile; no click, neither then nor at the release.
  bool droppedMeanwhile = false;
  WhenOpen([&] { droppedMeanwhile = button->DroppedDown(); });
  Click(132, 42);
  EXPECT_EQ(dropDownClicks, 1);
  EXPECT_EQ(popups, 1);
  EXPECT_TRUE(droppedMeanwhile);
  EXPECT_FALSE(button->DroppedDown());
  EXPECT_EQ(menuRect.Left, 20);
  EXPECT_EQ(menuRect.Top, 55);
  EXPECT_EQ(clicks, 1);
  EXPECT_TRUE(button->Focused());

  // A right-aligned menu ends at the button's right edge.
  menu->Alignment = TPopupAlignment::paRight;
  WhenOpen(nullptr);
  Click(132, 42);
  EXPECT_EQ(menuRect.Right, 140);
  menu->Alignment = TPopupAlignment::paLeft;

  // From the keyboard: Alt+Down; Space still clicks the main part.
  WhenOpen(nullptr);
  win::InjectKey(kAlt, true);
  win::InjectKey(kDown, true);
  win::InjectKey(kDown, false);
  win::InjectKey(kAlt, false);
  desktop.Pump();
  EXPECT_EQ(popups, 3);
  EXPECT_EQ(dropDownClicks, 3);
  Key(kSpace);
  EXPECT_EQ(clicks, 2);
  EXPECT_EQ(popups, 3);

  // Without a menu only the event comes; a push button never drops down.
  button->SetDropDownMenu(nullptr);
  Click(132, 42);
  EXPECT_EQ(dropDownClicks, 4);
  EXPECT_EQ(popups, 3);
  button->SetStyle(TButtonStyle::bsPushButton);
  button->DropDown();
  Click(132, 42);
  EXPECT_EQ(dropDownClicks, 4);
  EXPECT_EQ(clicks, 3);
}

TEST_F(SplitButtonTest, ThePartUnderThePointerIsTrackedAndAFreedMenuForgotten) {
  Move(60, 42);
  EXPECT_EQ(button->HotPart(), TSplitPart::spMain);
  Move(135, 42);
  EXPECT_EQ(button->HotPart(), TSplitPart::spDropDown);
  Move(60, 42);
  EXPECT_EQ(button->HotPart(), TSplitPart::spMain);
  Move(250, 150);
  EXPECT_EQ(button->HotPart(), TSplitPart::spNone);
  // The unskinned face draws the part's arrow in the button text colour, centred in the part.
  const gfx::COLORREF arrow = ScreenAt(20 + 112, 30 + 12);
  EXPECT_EQ(arrow, gfx::COLORREF(ColorToRGB(clBtnText)));
  delete menu;
  EXPECT_EQ(button->DropDownMenu(), nullptr);
  Click(132, 42);  // the event only
  EXPECT_EQ(dropDownClicks, 1);
  EXPECT_EQ(popups, 0);
}

// Counts the repaints of its split part, and says when it is gone.
class TCountingButton : public TButton {
 public:
  using TButton::TButton;
  ~TCountingButton() override { *gone = true; }
  std::shared_ptr<bool> gone = std::make_shared<bool>(false);
  std::shared_ptr<int> changesAfterGone = std::make_shared<int>(0);

 protected:
  void SplitStateChanged() override {
    if (*gone) ++*changesAfterGone;
    TButton::SplitStateChanged();
  }
};

TEST_F(SplitButtonTest, AButtonFreedByItsDropDownEventOrWhileItsMenuIsOpenIsLeftAlone) {
  auto* b = new TCountingButton(form);
  b->SetParent(form);
  b->SetBounds(20, 100, 120, 25);
  b->SetStyle(TButtonStyle::bsSplitButton);
  b->SetDropDownMenu(menu);
  // The handler lives in the button: it touches nothing of its own after the delete.
  b->OnDropDownClick = [&b](TComponent*) {
    TButton* going = b;
    b = nullptr;
    delete going;
  };
  desktop.Pump();
  Click(132, 112);
  EXPECT_EQ(b, nullptr);
  EXPECT_EQ(popups, 0);  // its menu does not open for a button that is gone

  // Freed by a timer while its menu's loop runs.
  auto* c = new TCountingButton(form);
  c->SetParent(form);
  c->SetBounds(20, 100, 120, 25);
  c->SetStyle(TButtonStyle::bsSplitButton);
  c->SetDropDownMenu(menu);
  const std::shared_ptr<bool> gone = c->gone;
  const std::shared_ptr<int> after = c->changesAfterGone;
  desktop.Pump();
  desktop.Schedule(10, [&] {
    delete c;
    c = nullptr;
  });
  WhenOpen(nullptr);  // closed after the button went
  Click(132, 112);
  EXPECT_EQ(popups, 1);
  EXPECT_TRUE(*gone);
  EXPECT_EQ(*after, 0);
  // The menu's choice is handled after its loop: it must not find the freed button there.
  EXPECT_EQ(menu->PopupComponent, nullptr);
  // The menu still works for the others.
  WhenOpen(nullptr);
  Click(132, 42);
  EXPECT_EQ(popups, 2);
}

TEST_F(FrameworkTest, ButtonAndLabelSettingsAreReadFromDescriptions) {
  auto* form = new TForm(app.get());
  ReadComponentText(form, R"(object F: TForm
  object B: TBitBtn
    Layout = blGlyphTop
    Margin = 3
    Spacing = -1
    NumGlyphs = 2
    WordWrap = True
  end
  object IL: TImageList
  end
  object P: TButton
    Images = IL
    ImageIndex = 0
    ImageAlignment = iaRight
    ImageMargins.Left = 2
    ImageMargins.Bottom = 5
    Style = bsSplitButton
    DropDownMenu = PM
  end
  object PM: TPopupMenu
  end
  object CL: TButton
    Style = bsCommandLink
    CommandLinkHint = 'A note'
  end
  object L: TLabel
    ShowAccelChar = False
    EllipsisPosition = epPathEllipsis
  end
end
)",
                    "Unit9.txt", testing::TempDir());
  auto* b = static_cast<TBitBtn*>(form->FindComponent("B"));
  EXPECT_EQ(b->Layout(), TButtonLayout::blGlyphTop);
  EXPECT_EQ(b->Margin(), 3);
  EXPECT_EQ(b->Spacing(), -1);
  EXPECT_EQ(b->NumGlyphs(), 2);
  EXPECT_TRUE(b->WordWrap());
  auto* p = static_cast<TButton*>(form->FindComponent("P"));
  EXPECT_EQ(p->Images(), form->FindComponent("IL"));
  EXPECT_EQ(p->ImageIndex(), 0);
  EXPECT_EQ(p->ImageAlignment(), TImageAlignment::iaRight);
  EXPECT_EQ(p->ImageMargins(), (TImageMargins{2, 0, 0, 5}));
  EXPECT_EQ(p->Style(), TButtonStyle::bsSplitButton);
  EXPECT_EQ(p->DropDownMenu(), form->FindComponent("PM"));
  EXPECT_EQ(static_cast<TButton*>(form->FindComponent("CL"))->CommandLinkHint(), u"A note");
  auto* l = static_cast<TLabel*>(form->FindComponent("L"));
  EXPECT_FALSE(l->ShowAccelChar());
  EXPECT_EQ(l->EllipsisPosition(), TEllipsisPosition::epPathEllipsis);
  delete form;
}

TEST_F(FrameworkTest, MessageDialogsAreMessageFormsWithNamedParts) {
  TMessageForm* box =
      CreateMessageDialog(u"Save the changes to A&B?", u"Confirm", TMsgDlgType::mtConfirmation,
                          {TMsgDlgBtn::mbYes, TMsgDlgBtn::mbNo, TMsgDlgBtn::mbCancel});
  EXPECT_EQ(box->ClassName(), "TMessageForm");
  auto* image = dynamic_cast<TImage*>(box->FindComponent("Image"));
  ASSERT_NE(image, nullptr);
  EXPECT_EQ(image->Parent(), box);
  // The sign is drawn opaque on a transparent ground.
  EXPECT_EQ(gfx::PixelA(image->Picture().At(16, 16)), 255);
  EXPECT_EQ(gfx::PixelA(image->Picture().At(0, 0)), 0);
  auto* label = dynamic_cast<TLabel*>(box->FindComponent("Message"));
  ASSERT_NE(label, nullptr);
  EXPECT_EQ(label->Caption(), u"Save the changes to A&B?");
  EXPECT_FALSE(label->ShowAccelChar());  // "&" is shown, not an accelerator
  std::vector<std::pair<std::string, TModalResult>> buttons;
  for (const char* name : {"Yes", "No", "Cancel"}) {
    auto* b = dynamic_cast<TButton*>(box->FindComponent(name));
    ASSERT_NE(b, nullptr) << name;
    EXPECT_EQ(b->ClassName(), "TButton");
    buttons.emplace_back(name, b->ModalResult());
  }
  EXPECT_EQ(buttons, (std::vector<std::pair<std::string, TModalResult>>{
                         {"Yes", mrYes}, {"No", mrNo}, {"Cancel", mrCancel}}));
  EXPECT_TRUE(static_cast<TButton*>(box->FindComponent("Yes"))->Default());
  EXPECT_TRUE(static_cast<TButton*>(box->FindComponent("Cancel"))->Cancel());
  delete box;
  // A box without an icon has no image.
  TMessageForm* plain =
      CreateMessageDialog(u"Done", u"", TMsgDlgType::mtCustom, {TMsgDlgBtn::mbOK});
  EXPECT_EQ(plain->FindComponent("Image"), nullptr);
  EXPECT_NE(dynamic_cast<TButton*>(plain->FindComponent("OK")), nullptr);
  delete plain;
}

// The mark of each sign (white on the disc, black in the triangle) sits at the sign's middle.
TEST_F(FrameworkTest, MessageIconsCentreTheirMarks) {
  struct Case {
    TMsgDlgType Type;
    bool DarkMark;
    TPoint Centre;
  };
  for (const Case& k : {Case{TMsgDlgType::mtError, false, {16, 16}},
                        Case{TMsgDlgType::mtInformation, false, {16, 16}},
                        Case{TMsgDlgType::mtConfirmation, false, {16, 16}},
                        Case{TMsgDlgType::mtWarning, true, {16, 19}}}) {
    TMessageForm* box = CreateMessageDialog(u"x", u"", k.Type, {TMsgDlgBtn::mbOK});
    const gfx::Bitmap& icon = static_cast<TImage*>(box->FindComponent("Image"))->Picture();
    int left = 32, top = 32, right = 0, bottom = 0;
    for (int y = 0; y < 32; ++y)
      for (int x = 0; x < 32; ++x) {
        const gfx::Pixel p = icon.At(x, y);
        const int grey = (gfx::PixelR(p) + gfx::PixelG(p) + gfx::PixelB(p)) / 3;
        const bool mark =
            k.DarkMark ? grey < 64 && gfx::PixelB(p) < 64 && y > 10 && y < 29 && x > 11 && x < 21
                       : gfx::PixelA(p) == 255 && grey > 192;
        if (!mark) continue;
        left = std::min(left, x), top = std::min(top, y);
        right = std::max(right, x + 1), bottom = std::max(bottom, y + 1);
      }
    ASSERT_LT(left, right) << int(k.Type);
    EXPECT_NEAR((left + right) / 2.0, k.Centre.X, 1.0) << int(k.Type);
    EXPECT_NEAR((top + bottom) / 2.0, k.Centre.Y, 1.0) << int(k.Type);
    delete box;
  }
}

}  // namespace
}  // namespace fw::test
