// The skinned combo box under an internal skin: the button style of a drop-down list without a
// section, the cache around the item and the button being the section painted alone, the
// read-only box refusing every key that would change or open it (every digit too), the dump's
// state through hover, focus and the open list, the list's wrapper and its highlighted row, the
// typing box's hover fading frame by frame, and a disabled simple box's list (rows, frame, bar)
// fading toward the parent in every internal skin.
#include <gtest/gtest.h>

#include <algorithm>

#include <string>
#include <vector>

#include "TestOutput.h"
#include "framework/Form.h"
#include "platform/gfx/PictureCodec.h"
#include "platform/win/ControlCodes.h"
#include "platform/win/Input.h"
#include "platform/win/Keys.h"
#include "platform/win/MessageQueue.h"
#include "platform/win/Messages.h"
#include "platform/win/Window.h"
#include "skin/controls/sControls.h"
#include "skin/core/sFade.h"
#include "skin/core/sGraphUtils.h"
#include "skin/core/sMessages.h"
#include "skin/draw/sGraphUtils.h"
#include "skin/frame/InternalSkinFormTest.h"
#include "skin/internal/sInternalSkins.h"
#include "skin/paint/sAlphaGraph.h"

namespace skin::controls {
namespace {

using namespace skin::core;

// Edits are hot under the mouse only where the program allows it.
struct THotEdits {
  bool saved = ac_AllowHotEdits;
  THotEdits() { ac_AllowHotEdits = true; }
  ~THotEdits() { ac_AllowHotEdits = saved; }
};

// Whether every channel of mid lies between those of a and b (the blend rounds down by one).
bool Between(gfx::Pixel mid, gfx::Pixel a, gfx::Pixel b) {
  const auto in = [](int v, int x, int y) { return v >= std::min(x, y) - 1 && v <= std::max(x, y) + 1; };
  return in(gfx::PixelR(mid), gfx::PixelR(a), gfx::PixelR(b)) &&
         in(gfx::PixelG(mid), gfx::PixelG(a), gfx::PixelG(b)) &&
         in(gfx::PixelB(mid), gfx::PixelB(a), gfx::PixelB(b));
}

void Save(const gfx::Bitmap& bmp, const std::string& name) {
  gfx::Bitmap opaque = bmp;
  skin::paint::FillAlphaRect(opaque, opaque.Bounds(), 255, skin::paint::clNone);
  const auto png = gfx::EncodePng(opaque);
  gfx::WriteFileBytes((tests::OutputFolder("combobox") / name).string(), png);
}

class ComboBoxTest : public skin::frame::test::InternalSkinFormTest {
 protected:
  void SetUp() override {
    MakeSkinnedForm(400, 300);
    form->Show();
    desktop.Pump();
    combo = new TsComboBox(form);
    combo->SetBounds(10, 10, 273, 27);
    combo->SetParent(form);
    combo->Font().SetHeight(-16);
    for (const char16_t* s : {u"Все", u"1 Галерея", u"2 Музей", u"Школьный музей"})
      combo->Items().Add(s);
    combo->SetItemIndex(0);
    combo->AfterConstruction();
    combo->Loaded();
    desktop.Pump();
  }
  std::string SectionName() {
    const int i = combo->SkinData().SkinIndex;
    return i < 0 ? "" : manager->SkinModel()->gd[std::size_t(i)].ClassName;
  }
  void Key(win::UINT msg, win::WPARAM key) { win::SendMessageW(combo->Handle(), msg, key, 0); }
  // What the screen shows of a window's client area.
  gfx::Bitmap ClientShown(fw::TWinControl& w) {
    const gfx::Bitmap screen = desktop.Compose();
    const gfx::TPoint o = w.ClientToScreen({0, 0});
    gfx::Bitmap b(w.ClientWidth(), w.ClientHeight());
    b.CopyFrom(screen, {o.X, o.Y, o.X + b.Width(), o.Y + b.Height()}, {0, 0});
    return b;
  }

  // The box made a typing one with no text; its edit part.
  fw::TComboEdit* EmptyTypingBox() {
    combo->SetStyle(fw::TComboBoxStyle::csDropDown);
    combo->SetText(u"");
    desktop.Pump();
    return combo->EditWindow();
  }

  TsComboBox* combo = nullptr;
};

TEST_F(ComboBoxTest, ADropDownListWithoutSectionIsPaintedLikeAButton) {
  EXPECT_TRUE(combo->AllowBtnStyle());
  EXPECT_TRUE(SectionName() == "COMBONOEDIT" || SectionName() == "BUTTON") << SectionName();
  const win::LRESULT def =
      win::SendMessageW(combo->Handle(), SM_ALPHACMD, MakeAlphaCmd(AC_GETDEFINDEX), 0);
  EXPECT_EQ(def - 1, combo->SkinData().SkinIndex);
  // A section set by name leaves the button style.
  combo->SkinData().SetSkinSection("COMBOBOX");
  EXPECT_FALSE(combo->AllowBtnStyle());
  EXPECT_EQ(SectionName(), "COMBOBOX");
}

TEST_F(ComboBoxTest, CacheOutsideItemAndButtonIsTheSectionPaintedAlone) {
  ASSERT_TRUE(combo->PrepareCache());
  TsCommonData& cd = combo->SkinData();
  const gfx::Bitmap& cache = *cd.CacheBmp();
  gfx::Bitmap alone(combo->Width(), combo->Height());
  ASSERT_TRUE(
      PaintSkinControl(cd, form, true, combo->CacheState(), alone.Bounds(), {}, &alone, true));
  const gfx::TRect button = combo->ButtonRect();
  const gfx::TRect item{3, 3, button.Left - 2, combo->Height() - 3};
  int outside = 0, inItem = 0, inButton = 0, fuchsia = 0;
  for (int y = 0; y < cache.Height(); ++y)
    for (int x = 0; x < cache.Width(); ++x) {
      const bool differs = (cache.At(x, y) & 0xFFFFFF) != (alone.At(x, y) & 0xFFFFFF);
      fuchsia += (cache.At(x, y) & 0xFFFFFF) == 0xFF00FF;
      if (item.Contains({x, y}))
        inItem += differs;
      else if (button.Contains({x, y}))
        inButton += differs;
      else
        outside += differs;
    }
  EXPECT_EQ(outside, 0);
  EXPECT_EQ(fuchsia, 0);
  EXPECT_GT(inItem, 20);   // the chosen item's text
  EXPECT_GT(inButton, 5);  // the arrow or glyph
}

TEST_F(ComboBoxTest, TheReadOnlyBoxRefusesKeysThatChangeOrOpenIt) {
  std::vector<win::WORD> seen;
  combo->OnKeyDown = [&](fw::TComponent*, win::WORD& key, fw::TShiftState) { seen.push_back(key); };
  combo->SetReadOnly(true);
  combo->SetFocus();
  std::vector<win::WPARAM> blocked = {win::VK_SPACE, win::VK_DOWN, win::VK_UP, win::VK_NEXT,
                                      win::VK_END,   'A',          'Z',        win::VK_F4};
  for (int d = 0; d < 10; ++d) {
    blocked.push_back('0' + d);
    blocked.push_back(win::VK_NUMPAD0 + d);
  }
  for (win::WPARAM k : blocked) {
    Key(win::WM_KEYDOWN, k);
    Key(win::WM_SYSKEYDOWN, k);
  }
  Key(win::WM_CHAR, u'1');
  Key(win::WM_CHAR, u'Ш');
  EXPECT_TRUE(seen.empty()) << seen.size() << " keys reached the box, the first " << seen[0];
  EXPECT_EQ(combo->ItemIndex(), 0);
  EXPECT_FALSE(combo->DroppedDown());
  // A click only focuses.
  combo->Parent()->SetFocus();
  win::SendMessageW(combo->Handle(), win::WM_LBUTTONDOWN, 0, win::MAKELPARAM(20, 10));
  win::SendMessageW(combo->Handle(), win::WM_LBUTTONUP, 0, win::MAKELPARAM(20, 10));
  EXPECT_FALSE(combo->DroppedDown());
  EXPECT_TRUE(combo->Focused());
  // Other keys still reach it.
  Key(win::WM_KEYDOWN, win::VK_F5);
  EXPECT_EQ(seen.size(), 1u);
  // Writable again: keys work.
  combo->SetReadOnly(false);
  Key(win::WM_KEYDOWN, win::VK_DOWN);
  EXPECT_EQ(combo->ItemIndex(), 1);
}

TEST_F(ComboBoxTest, TheDumpStateFollowsFocusAndTheOpenList) {
  EXPECT_EQ(combo->SkinState(), 0);
  combo->SetFocus();
  desktop.Pump();
  EXPECT_EQ(combo->SkinState(), 1);
  combo->SetDroppedDown(true);
  desktop.Pump();
  EXPECT_EQ(combo->SkinState(), 2);
  EXPECT_EQ(win::SendMessageW(combo->Handle(), SM_ALPHACMD, MakeAlphaCmd(AC_DROPPEDDOWN), 0), 1);
  combo->SetDroppedDown(false);
  desktop.Pump();
  EXPECT_EQ(combo->SkinState(), 1);
  EXPECT_EQ(win::SendMessageW(combo->Handle(), SM_ALPHACMD, MakeAlphaCmd(AC_DROPPEDDOWN), 0), 0);
  auto* other = new TsEdit(form);
  other->SetBounds(10, 100, 100, 24);
  other->SetParent(form);
  other->SetFocus();
  desktop.Pump();
  EXPECT_EQ(combo->SkinState(), 0);
}

TEST_F(ComboBoxTest, TheOpenListWearsAWrapperAndShowsTheHighlightedRowFromSelection) {
  combo->SetDroppedDown(true);
  desktop.Pump();
  auto* list = combo->ListWindow();
  ASSERT_NE(combo->ListSW(), nullptr);
  EXPECT_EQ(combo->ListSW()->ClassName(), "TacComboListWnd");
  const int sel = manager->ConstData().Sections[skin::data::ssSelection];
  const int edit = manager->ConstData().Sections[skin::data::ssEdit];
  ASSERT_GE(sel, 0);
  ASSERT_GE(edit, 0);
  const gfx::Bitmap screen = win::ComposeWindow(list->Handle());
  const gfx::TPoint o = list->ClientToScreen({0, 0});
  win::RECT wr;
  win::GetWindowRect(list->Handle(), &wr);
  const int dx = o.X - wr.Left, dy = o.Y - wr.Top;
  // Row 0 is the chosen one, highlighted; row 3 is a plain row in the edit section's colour.
  const gfx::TRect row0 = list->ItemRect(0), row3 = list->ItemRect(3);
  const auto editColor = fw::ColorToRGB(
      fw::TColor(skin::draw::StateProps(manager->SkinModel()->gd[std::size_t(edit)], 0).Color));
  EXPECT_EQ(gfx::ColorFromPixel(screen.At(dx + row3.Right - 3, dy + row3.Top + 1)), editColor);
  EXPECT_NE(gfx::ColorFromPixel(screen.At(dx + row0.Right - 3, dy + row0.Top + 1)), editColor);
  combo->SetDroppedDown(false);
  desktop.Pump();
}

TEST_F(ComboBoxTest, TheDropDownStyleTypesOnTheComboSectionInItsFontColour) {
  combo->SetStyle(fw::TComboBoxStyle::csDropDown);
  desktop.Pump();
  EXPECT_FALSE(combo->AllowBtnStyle());
  EXPECT_EQ(SectionName(), "COMBOBOX");
  fw::TComboEdit* edit = combo->EditWindow();
  ASSERT_NE(edit, nullptr);
  // The edit part lies between the frame and the skin's button.
  EXPECT_LE(edit->Left() + edit->Width(), combo->ButtonRect().Left);
  ASSERT_TRUE(combo->PrepareCache());
  const auto& gd = manager->SkinModel()->gd[std::size_t(combo->SkinData().SkinIndex)];
  EXPECT_EQ(edit->Font().Color(), fw::TColor(skin::draw::StateProps(gd, 0).FontColor.Color));
  // Unfocused and empty, the edit part shows the cache behind it, pixel for pixel.
  combo->SetText(u"");
  desktop.Pump();
  ASSERT_TRUE(combo->PrepareCache());
  // The edit part as the screen shows it.
  const auto editShown = [&] { return ClientShown(*edit); };
  const gfx::Bitmap shown = editShown();
  const gfx::Bitmap& cache = *combo->SkinData().CacheBmp();
  int differs = 0;
  for (int y = 0; y < edit->Height(); ++y)
    for (int x = 0; x < edit->Width(); ++x)
      differs +=
          (shown.At(x, y) & 0xFFFFFF) != (cache.At(x + edit->Left(), y + edit->Top()) & 0xFFFFFF);
  EXPECT_EQ(differs, 0);
  // With a text, the text is drawn over it; typing goes into the edit part.
  combo->SetFocus();
  desktop.Pump();
  EXPECT_EQ(win::GetFocus(), edit->Handle());
  EXPECT_EQ(combo->SkinState(), 1);
  win::SendMessageW(edit->Handle(), win::WM_CHAR, u'Ш', 0);
  desktop.Pump();
  EXPECT_EQ(combo->Text(), u"Ш");
  const gfx::Bitmap typed = editShown();
  differs = 0;
  for (int y = 0; y < edit->Height(); ++y)
    for (int x = 0; x < edit->Width(); ++x) differs += typed.At(x, y) != shown.At(x, y);
  EXPECT_GT(differs, 10);
}

TEST_F(ComboBoxTest, TheSimpleStyleFramesOnlyItsEditPartAndHasNoButton) {
  combo->SetStyle(fw::TComboBoxStyle::csSimple);
  combo->SetHeight(120);
  desktop.Pump();
  EXPECT_TRUE(combo->ButtonRect().IsEmpty());
  ASSERT_TRUE(combo->PrepareCache());
  const gfx::Bitmap& cache = *combo->SkinData().CacheBmp();
  EXPECT_EQ(cache.Height(), combo->Height());
  // The box holds the section painted at the edit part's height: its frame closes there.
  const gfx::TRect box = combo->BoxRect();
  gfx::Bitmap alone(box.Width(), box.Height());
  TsCommonData& cd = combo->SkinData();
  ASSERT_TRUE(
      PaintSkinControl(cd, form, true, combo->CacheState(), alone.Bounds(), {}, &alone, true));
  int differs = 0, fuchsia = 0;
  for (int y = 0; y < box.Height(); ++y)
    for (int x = 0; x < box.Width(); ++x) {
      differs += (cache.At(x, y) & 0xFFFFFF) != (alone.At(x, y) & 0xFFFFFF);
      fuchsia += (cache.At(x, y) & 0xFFFFFF) == 0xFF00FF;
    }
  EXPECT_EQ(differs, 0);
  EXPECT_EQ(fuchsia, 0);
  // The list under it wears the list's wrapper and the edit section's colour.
  auto* list = combo->ListWindow();
  EXPECT_TRUE(list->Visible());
  EXPECT_EQ(list->Top(), box.Bottom);
  ASSERT_NE(combo->ListSW(), nullptr);
}

TEST_F(ComboBoxTest, TheReadOnlyTypingBoxKeepsItsText) {
  combo->SetStyle(fw::TComboBoxStyle::csDropDown);
  combo->SetReadOnly(true);
  combo->SetFocus();
  desktop.Pump();
  const win::HWND edit = combo->EditWindow()->Handle();
  ASSERT_EQ(win::GetFocus(), edit);
  for (win::WPARAM k : {win::WPARAM(win::VK_DELETE), win::WPARAM(win::VK_BACK),
                        win::WPARAM(win::VK_DOWN), win::WPARAM(win::VK_F4), win::WPARAM('V')})
    win::SendMessageW(edit, win::WM_KEYDOWN, k, 0);
  win::SendMessageW(edit, win::WM_CHAR, u'Ш', 0);
  win::SendMessageW(edit, win::WM_PASTE, 0, 0);
  EXPECT_EQ(combo->Text(), u"Все");
  EXPECT_EQ(combo->ItemIndex(), 0);
  EXPECT_FALSE(combo->DroppedDown());
  // Writable again: typing replaces the text.
  combo->SetReadOnly(false);
  combo->EditWindow()->SelectAll();
  win::SendMessageW(edit, win::WM_CHAR, u'Ш', 0);
  EXPECT_EQ(combo->Text(), u"Ш");
}

TEST_F(ComboBoxTest, TheTypingBoxsEditPartTakesItsHoverAndShowsItsFadeFrames) {
  THotEdits hotEdits;
  fw::TComboEdit* edit = EmptyTypingBox();
  ASSERT_NE(edit, nullptr);
  TsCommonData& cd = combo->SkinData();
  // The edit part as the screen shows it, and the same place of a picture of the box.
  const auto shown = [&] { return ClientShown(*edit); };
  const auto differences = [&](const gfx::Bitmap& part, const gfx::Bitmap& box) {
    int n = 0;
    for (int y = 0; y < part.Height(); ++y)
      for (int x = 0; x < part.Width(); ++x)
        n += (part.At(x, y) & 0xFFFFFF) != (box.At(x + edit->Left(), y + edit->Top()) & 0xFFFFFF);
    return n;
  };
  win::InjectMouseMove(form->ClientToScreen({200, 200}));
  desktop.Pump();
  ASSERT_FALSE(cd.FMouseAbove);
  const gfx::Bitmap normal = *cd.CacheBmp();
  // Straight into the edit part: the box turns hot, the edit part with it.
  win::InjectMouseMove(edit->ClientToScreen({5, 5}));
  desktop.Pump();
  EXPECT_TRUE(cd.FMouseAbove);
  EXPECT_EQ(combo->CacheState(), 1);
  desktop.Advance(2000);
  const gfx::Bitmap hot = shown();
  EXPECT_EQ(differences(hot, *cd.CacheBmp()), 0);
  // Between the edit part and the box's button the box stays hot; leaving it, it is not.
  const gfx::TRect button = combo->ButtonRect();
  win::InjectMouseMove(combo->ClientToScreen({button.Left + 2, button.Top + 2}));
  desktop.Pump();
  EXPECT_TRUE(cd.FMouseAbove);
  win::InjectMouseMove(edit->ClientToScreen({8, 5}));
  desktop.Pump();
  EXPECT_TRUE(cd.FMouseAbove);
  win::InjectMouseMove(form->ClientToScreen({200, 200}));
  desktop.Pump();
  EXPECT_FALSE(cd.FMouseAbove);
  EXPECT_EQ(combo->CacheState(), 0);
  desktop.Advance(2000);
  EXPECT_EQ(differences(shown(), normal), 0);
  // The focus fades the box: at every step the edit part is painted again and shows the box's
  // frame (all but the caret's column).
  int paints = 0;
  const fw::TWndHookId hook = edit->HookWindowProc([&](fw::TMessage& m, const fw::TWndNext& next) {
    if (m.Msg == win::WM_PAINT) ++paints;
    next(m);
  });
  edit->SetFocus();
  const gfx::Bitmap* frame = AnimFrame(cd);
  ASSERT_NE(frame, nullptr);
  EXPECT_LE(differences(shown(), *frame), edit->Height());
  const int before = paints;
  desktop.Advance(40);
  if ((frame = AnimFrame(cd))) {
    EXPECT_LE(differences(shown(), *frame), edit->Height());
  }
  desktop.Advance(2000);
  EXPECT_EQ(AnimFrame(cd), nullptr);
  EXPECT_GE(paints - before, 3);
  EXPECT_LE(differences(shown(), *cd.CacheBmp()), edit->Height());
  edit->UnhookWindowProc(hook);
}

TEST_F(ComboBoxTest, TheHotTypingBoxFadesIntoAndOutOfItsHoverInEverySkin) {
  THotEdits hotEdits;
  fw::TComboEdit* edit = EmptyTypingBox();
  ASSERT_NE(edit, nullptr);
  TsCommonData& cd = combo->SkinData();
  const gfx::TPoint away = form->ClientToScreen({200, 200});
  // The frames on screen as the virtual clock runs, until the fade is over; the end is last.
  const auto fade = [&](gfx::TPoint to) {
    std::vector<gfx::Bitmap> frames;
    win::InjectMouseMove(to);
    desktop.Pump();
    EXPECT_NE(AnimFrame(cd), nullptr) << "the change showed at once";
    for (int i = 0; i < 200 && AnimFrame(cd); ++i) {
      frames.push_back(ClientShown(*combo));
      desktop.Advance(5);
    }
    desktop.Advance(500);
    frames.push_back(ClientShown(*combo));
    return frames;
  };
  // Each frame lies between the two faces, and where they differ most pixels of the frames
  // before the last lie strictly between. Answers how many pixels the faces differ in.
  const auto check = [&](const std::vector<gfx::Bitmap>& frames, const gfx::Bitmap& from,
                         const gfx::Bitmap& to) {
    int changing = 0, midway = 0;
    for (int y = 0; y < from.Height(); ++y)
      for (int x = 0; x < from.Width(); ++x) changing += from.At(x, y) != to.At(x, y);
    for (const gfx::Bitmap& f : frames)
      for (int y = 0; y < f.Height(); ++y)
        for (int x = 0; x < f.Width(); ++x) {
          const gfx::Pixel p = f.At(x, y), a = from.At(x, y), b = to.At(x, y);
          EXPECT_TRUE(Between(p, a, b)) << x << "," << y;
          if (!Between(p, a, b)) return changing;
          midway += (p & 0xFFFFFF) != (a & 0xFFFFFF) && (p & 0xFFFFFF) != (b & 0xFFFFFF);
        }
    if (changing > 20) {
      EXPECT_GT(midway, changing / 2);
    }
    return changing;
  };
  const auto& skins = skin::data::InternalSkins();
  gfx::Bitmap sheet;
  int differing = 0;
  for (std::size_t n = 0; n < skins.size(); ++n) {
    SCOPED_TRACE(skins[n].Name);
    manager->SetSkinName(fw::Utf8ToUtf16(skins[n].Name));
    win::InjectMouseMove(away);
    desktop.Pump();
    desktop.Advance(2000);
    const gfx::Bitmap normal = ClientShown(*combo);
    const std::vector<gfx::Bitmap> in = fade(edit->ClientToScreen({5, 5}));
    EXPECT_TRUE(cd.FMouseAbove);
    EXPECT_EQ(combo->CacheState(), 1);
    const gfx::Bitmap hot = in.back();
    differing += check(in, normal, hot) > 50;
    // The edit part took the hot colours with the box.
    EXPECT_EQ(combo->Font().Color(),
              fw::TColor(skin::draw::StateProps(
                             manager->SkinModel()->gd[std::size_t(cd.SkinIndex)], 1)
                             .FontColor.Color));
    const std::vector<gfx::Bitmap> out = fade(away);
    EXPECT_FALSE(cd.FMouseAbove);
    check(out, hot, normal);
    int back = 0;
    for (int y = 0; y < normal.Height(); ++y)
      for (int x = 0; x < normal.Width(); ++x)
        back += (out.back().At(x, y) & 0xFFFFFF) != (normal.At(x, y) & 0xFFFFFF);
    EXPECT_EQ(back, 0);
    // A row a skin: normal, a frame halfway, hot.
    const int w = normal.Width(), h = normal.Height();
    if (sheet.Empty()) sheet = gfx::Bitmap(3 * (w + 4), int(skins.size()) * (h + 4));
    sheet.CopyFrom(normal, normal.Bounds(), {0, int(n) * (h + 4)});
    sheet.CopyFrom(in[(in.size() - 1) / 2], normal.Bounds(), {w + 4, int(n) * (h + 4)});
    sheet.CopyFrom(hot, normal.Bounds(), {2 * (w + 4), int(n) * (h + 4)});
  }
  // Most skins show their hover plainly.
  EXPECT_GE(differing, int(skins.size()) / 2);
  Save(sheet, "hover-fade.png");
}

TEST_F(ComboBoxTest, ADisabledSimpleBoxFadesItsListsFrameAndBarsInEverySkin) {
  combo->SetStyle(fw::TComboBoxStyle::csSimple);
  for (int i = 0; i < 20; ++i) combo->Items().Add(u"Музей " + fw::Utf8ToUtf16(std::to_string(i)));
  combo->SetHeight(120);
  desktop.Pump();
  auto* list = combo->ListWindow();
  ASSERT_NE(list, nullptr);
  const auto& skins = skin::data::InternalSkins();
  gfx::Bitmap sheet;
  for (std::size_t n = 0; n < skins.size(); ++n) {
    SCOPED_TRACE(skins[n].Name);
    manager->SetSkinName(fw::Utf8ToUtf16(skins[n].Name));
    combo->SetEnabled(true);
    desktop.Pump();
    auto* sw = dynamic_cast<skin::frame::TacScrollWnd*>(combo->ListSW());
    ASSERT_NE(sw, nullptr);
    const skin::frame::TacBarLayout bar = sw->Layout(win::SB_VERT);
    ASSERT_FALSE(bar.Bar.IsEmpty());
    ASSERT_TRUE(bar.Active);
    // The list's whole window as the screen shows it.
    const auto windowShown = [&] {
      win::RECT wr;
      win::GetWindowRect(list->Handle(), &wr);
      return desktop.Compose().Copy({wr.Left, wr.Top, wr.Right, wr.Bottom});
    };
    const gfx::Bitmap before = windowShown();
    combo->SetEnabled(false);
    desktop.Pump();
    const gfx::Bitmap after = windowShown();
    const gfx::Pixel parent = gfx::PixelFromColor(fw::ColorToRGB(form->Color()), 255);
    // Frame and bar: every pixel toward the parent's colour; the bar's buttons (where the
    // arrows are) as much as the rest.
    int moved = 0, count = 0, buttonMoved = 0, buttonCount = 0;
    const gfx::TRect client{1, 1, after.Width() - 1, after.Height() - 1};
    const gfx::TRect up{bar.Bar.Left, bar.Bar.Top, bar.Bar.Right, bar.Bar.Top + bar.Button};
    const gfx::TRect down{bar.Bar.Left, bar.Bar.Bottom - bar.Button, bar.Bar.Right,
                          bar.Bar.Bottom};
    for (int y = 0; y < after.Height(); ++y)
      for (int x = 0; x < after.Width(); ++x) {
        const bool frame = !client.Contains({x, y});
        const bool inBar = bar.Bar.Contains({x, y});
        if (!frame && !inBar) continue;
        const gfx::Pixel p = before.At(x, y), q = after.At(x, y);
        ASSERT_TRUE(Between(q, p, parent)) << x << "," << y;
        const bool differs = (p & 0xFFFFFF) != (q & 0xFFFFFF);
        const bool same = (p & 0xFFFFFF) == (parent & 0xFFFFFF);
        count += !same;
        moved += differs;
        if (up.Contains({x, y}) || down.Contains({x, y})) {
          buttonCount += !same;
          buttonMoved += differs;
        }
      }
    EXPECT_GT(moved, count * 3 / 4);
    ASSERT_GT(buttonCount, 0);
    EXPECT_GT(buttonMoved, buttonCount * 3 / 4);
    // A row a skin: enabled, then disabled.
    const int w = before.Width(), h = before.Height();
    if (sheet.Empty()) sheet = gfx::Bitmap(2 * w + 4, int(skins.size()) * (h + 4));
    sheet.CopyFrom(before, before.Bounds(), {0, int(n) * (h + 4)});
    sheet.CopyFrom(after, after.Bounds(), {w + 4, int(n) * (h + 4)});
  }
  Save(sheet, "disabled-simple-list.png");
  combo->SetEnabled(true);
}

TEST_F(ComboBoxTest, ADisabledSimpleBoxBlendsItsListTowardTheParent) {
  combo->SetStyle(fw::TComboBoxStyle::csSimple);
  combo->SetHeight(120);
  desktop.Pump();
  auto* list = combo->ListWindow();
  ASSERT_NE(list, nullptr);
  const auto listShown = [&] { return ClientShown(*list); };
  const gfx::Bitmap before = listShown();
  const fw::TColor enabledColor = list->Color();
  combo->SetEnabled(false);
  desktop.Pump();
  const gfx::Bitmap after = listShown();
  const gfx::COLORREF parent = fw::ColorToRGB(form->Color());
  ASSERT_NE(fw::ColorToRGB(enabledColor), parent);
  EXPECT_NE(list->Color(), enabledColor);
  // Every pixel moved toward the parent's colour, none past it; the text lost contrast.
  int moved = 0;
  const auto between = [](int v, int a, int b) {
    return v >= std::min(a, b) - 1 && v <= std::max(a, b);  // the blend rounds down
  };
  for (int y = 0; y < after.Height(); ++y)
    for (int x = 0; x < after.Width(); ++x) {
      const gfx::Pixel p = before.At(x, y), q = after.At(x, y);
      ASSERT_TRUE(between(gfx::PixelR(q), gfx::PixelR(p), gfx::GetRValue(parent)) &&
                  between(gfx::PixelG(q), gfx::PixelG(p), gfx::GetGValue(parent)) &&
                  between(gfx::PixelB(q), gfx::PixelB(p), gfx::GetBValue(parent)))
          << x << "," << y;
      moved += (p & 0xFFFFFF) != (q & 0xFFFFFF);
    }
  EXPECT_GT(moved, after.Width() * after.Height() / 2);
  // Enabled again, the list is as it was.
  combo->SetEnabled(true);
  desktop.Pump();
  EXPECT_EQ(list->Color(), enabledColor);
  const gfx::Bitmap again = listShown();
  int differs = 0;
  for (int y = 0; y < again.Height(); ++y)
    for (int x = 0; x < again.Width(); ++x)
      differs += (again.At(x, y) & 0xFFFFFF) != (before.At(x, y) & 0xFFFFFF);
  EXPECT_EQ(differs, 0);

  // A box that asks for no disabled look keeps its list's look when disabled.
  combo->SetDisabledKind(0);
  combo->SetEnabled(false);
  desktop.Pump();
  EXPECT_EQ(list->Color(), enabledColor);
  const gfx::Bitmap plain = listShown();
  differs = 0;
  for (int y = 0; y < plain.Height(); ++y)
    for (int x = 0; x < plain.Width(); ++x)
      differs += (plain.At(x, y) & 0xFFFFFF) != (before.At(x, y) & 0xFFFFFF);
  EXPECT_EQ(differs, 0) << "the rows were blended although the box asks for no disabled look";
}

}  // namespace
}  // namespace skin::controls
