// The control services of the skin on a form with a manager and a small skin made here: look-ups
// on windows and controls, text flags, child order, painting a container's windowless children
// over its background, painting a window tree into a bitmap (checked against the screen), and
// an edit's hot colours under the mouse.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <memory>
#include <string>
#include <vector>

#include "framework/Application.h"
#include "framework/Edit.h"
#include "framework/Form.h"
#include "framework/GraphicControl.h"
#include "framework/Label.h"
#include "framework/Memo.h"
#include "framework/Panel.h"
#include "framework/TextConv.h"
#include "platform/win/Input.h"
#include "platform/win/Messages.h"
#include "platform/win/Styles.h"
#include "platform/win/SystemMetrics.h"
#include "platform/win/VirtualDesktop.h"
#include "platform/win/Window.h"
#include "skin/controls/acAlphaImageList.h"
#include "skin/controls/sControls.h"
#include "skin/controls/sThirdParty.h"
#include "skin/core/sGraphUtils.h"
#include "skin/core/sStyleSimply.h"
#include "skin/data/TempDir.h"

namespace skin::controls::test {
namespace {

using namespace skin::core;
using skin::data::test::TempDir;

const std::string kOptions =
    "[GLOBALINFO]\nVERSION=8.0\nCOLOR=4210752\n\n"
    "[PANEL]\nCOLOR=255\nGRADIENTPERCENT=100\n"
    "GRADIENTDATA=16777215;14212312;53;0;0;14212312;14212312;44;0;0;14212312;14212312;0;0;0\n\n"
    "[TRANSPARENT]\nTRANSPARENCY=100\nHOTTRANSPARENCY=100\n\n"
    "[EDIT]\nSTATES=2\nCOLOR=14741744\nFONTCOLOR=128\nHOTCOLOR=65535\nHOTFONTCOLOR=255\n";

// A windowless control that fills itself with one colour and counts its paintings.
class TSpot : public fw::TGraphicControl {
 public:
  TSpot(fw::TComponent* owner, fw::TWinControl* parent, gfx::TRect r, fw::TColor fill)
      : TGraphicControl(owner), FFill(fill) {
    SetBounds(r.Left, r.Top, r.Width(), r.Height());
    SetParent(parent);
  }
  int Painted = 0;

 protected:
  void Paint() override {
    ++Painted;
    Canvas().BrushColor = FFill;
    Canvas().FillRect({0, 0, Width(), Height()});
  }

 private:
  fw::TColor FFill;
};

class VclUtilsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    app = std::make_unique<fw::TApplication>();
    dir.Write("S/Options.dat", kOptions);
    form = new fw::TForm(app.get());
    form->SetName("F");
    form->SetBorderStyle(fw::TFormBorderStyle::bsNone);
    form->SetBounds(0, 0, 300, 200);
    form->SetColor(fw::clBlack);
    manager = new TsSkinManager(form);
    manager->SetSkinDirectory(fw::Utf8ToUtf16(dir.Dir()));
    manager->SetSkinName(u"S");
  }
  void TearDown() override {
    for (const auto& [c, id] : hooks) c->UnhookWindowProc(id);
    app.reset();
  }
  template <class T>
  T* Add(fw::TWinControl* parent, const std::string& name, gfx::TRect r) {
    auto* c = new T(form);
    c->SetName(name);
    c->SetBounds(r.Left, r.Top, r.Width(), r.Height());
    c->SetParent(parent);
    return c;
  }
  void Show() {
    form->Show();
    desktop.Pump();
  }
  void MouseAt(int x, int y) {
    win::InjectMouseMove({x, y});
    desktop.Pump();
  }
  // Records the skin commands (as "AC<n>") and the other messages named in watched that reach c.
  std::vector<std::string>& Listen(fw::TControl* c, std::vector<UINT> watched = {}) {
    auto& heard = heardBy.emplace_back(std::make_unique<std::vector<std::string>>());
    std::vector<std::string>* log = heard.get();
    hooks.emplace_back(
        c, c->HookWindowProc([log, watched](fw::TMessage& m, const fw::TWndNext& next) {
          if (m.Msg == SM_ALPHACMD)
            log->push_back("AC" + std::to_string(WParamHi(m.WParam)));
          else if (std::find(watched.begin(), watched.end(), m.Msg) != watched.end())
            log->push_back("M" + std::to_string(m.Msg) + ":" + std::to_string(m.WParam));
          next(m);
        }));
    return *log;
  }
  // Colour bytes of every pixel of part equal those of whole at (dx, dy).
  static void ExpectSameColours(const gfx::Bitmap& part, const gfx::Bitmap& whole, int dx, int dy) {
    int wrong = 0;
    for (int y = 0; y < part.Height(); ++y)
      for (int x = 0; x < part.Width(); ++x)
        if ((part.At(x, y) & 0xFFFFFF) != (whole.At(x + dx, y + dy) & 0xFFFFFF) && wrong++ < 5)
          ADD_FAILURE() << "pixel " << x << "," << y << ": " << std::hex << part.At(x, y)
                        << " against " << whole.At(x + dx, y + dy);
    EXPECT_EQ(wrong, 0);
  }

  win::VirtualDesktop desktop{800, 600};
  std::unique_ptr<fw::TApplication> app;
  TempDir dir;
  fw::TForm* form = nullptr;
  TsSkinManager* manager = nullptr;
  std::vector<std::pair<fw::TControl*, fw::TWndHookId>> hooks;
  std::vector<std::unique_ptr<std::vector<std::string>>> heardBy;
};

TEST_F(VclUtilsTest, LookUpsOnWindowsAndControls) {
  auto* outer = Add<TsPanel>(form, "Outer", {10, 10, 210, 160});
  auto* a = Add<TsPanel>(outer, "A", {0, 0, 60, 60});
  auto* c = Add<TsPanel>(a, "C", {5, 5, 20, 20});
  auto* b = Add<TsPanel>(outer, "B", {100, 0, 160, 60});
  auto* low = new TSpot(form, outer, {0, 80, 50, 120}, fw::clRed);
  auto* high = new TSpot(form, outer, {20, 90, 70, 130}, fw::clBlue);
  auto* hidden = new TSpot(form, outer, {20, 90, 70, 130}, fw::clLime);
  hidden->Hide();
  auto* edit = Add<TsEdit>(form, "E", {220, 10, 290, 40});
  Show();

  EXPECT_EQ(GetParentFormHandle(c->Handle()), form->Handle());
  EXPECT_EQ(GetWndClassName(a->Handle()), u"FwWindow");
  EXPECT_FALSE(acThemesEnabled());
  // The edit's client area lies inside its sunken edge.
  const int edge = win::GetSystemMetrics(win::SM_CXEDGE);
  ASSERT_GT(edge, 0);
  EXPECT_EQ(acClientRect(edit->Handle()), (gfx::TRect{edge, edge, 70 - edge, 30 - edge}));
  EXPECT_EQ(acClientRect(a->Handle()), (gfx::TRect{0, 0, 60, 60}));

  // Depth first: a windowed child's children right after it.
  std::vector<fw::TControl*> seen;
  IterateControls(*outer, [&](fw::TControl* each) { seen.push_back(each); });
  EXPECT_EQ(seen, (std::vector<fw::TControl*>{low, high, hidden, a, c, b}));

  // The child of the highest index under the cursor; a hidden one is not under it.
  MouseAt(10 + 30, 10 + 100);
  EXPECT_EQ(CtrlUnderMouse(), high);
  MouseAt(10 + 10, 10 + 85);
  EXPECT_EQ(CtrlUnderMouse(), low);
  MouseAt(10 + 150, 10 + 100);
  EXPECT_EQ(CtrlUnderMouse(), outer);
  MouseAt(10 + 10, 10 + 10);
  EXPECT_EQ(CtrlUnderMouse(), c);
  MouseAt(700, 500);
  EXPECT_EQ(CtrlUnderMouse(), nullptr);
  manager->SetActiveGraphControl(low);
  EXPECT_EQ(CtrlUnderMouse(), low);
  manager->SetActiveGraphControl(nullptr);

  // Child order: right after the other control, among the children of its kind.
  SetChildOrderAfter(a, b);
  seen.clear();
  for (int i = 0; i < outer->ControlCount(); ++i) seen.push_back(outer->Controls(i));
  EXPECT_EQ(seen, (std::vector<fw::TControl*>{low, high, hidden, b, a}));
  SetChildOrderAfter(hidden, low);
  SetChildOrderAfter(a, low);  // windowed after a windowless one: the lowest windowed
  seen.clear();
  for (int i = 0; i < outer->ControlCount(); ++i) seen.push_back(outer->Controls(i));
  EXPECT_EQ(seen, (std::vector<fw::TControl*>{low, hidden, high, a, b}));
  EXPECT_EQ(win::GetWindow(outer->Handle(), win::GW_CHILD), b->Handle());

  // The visible part of a window: one rectangle holding the cursor.
  MouseAt(10 + 130, 10 + 30);
  EXPECT_TRUE(acMouseInControlDC(b->Handle()));
  EXPECT_FALSE(acMouseInControlDC(a->Handle()));
  auto* cover = Add<TsPanel>(outer, "Cover", {150, 0, 170, 20});
  desktop.Pump();
  EXPECT_FALSE(acMouseInControlDC(b->Handle()));  // partly covered: no single rectangle
  cover->Hide();
  EXPECT_TRUE(acMouseInControlDC(b->Handle()));
  EXPECT_FALSE(acMouseInControlDC(nullptr));

  auto& redraw = Listen(b, {win::WM_SETREDRAW});
  SetRedraw(b->Handle(), false);
  SetRedraw(b->Handle(), true);
  EXPECT_EQ(redraw, (std::vector<std::string>{"M11:0", "M11:1"}));
}

TEST_F(VclUtilsTest, TextFlagsFontsAndPixels) {
  auto* panel = Add<TsPanel>(form, "P", {0, 0, 100, 100});
  auto* child = Add<TsPanel>(panel, "C", {0, 0, 10, 10});
  Show();
  EXPECT_EQ(GetStringFlags(child, fw::TAlignment::taLeftJustify), 0x44u);
  EXPECT_EQ(GetStringFlags(child, fw::TAlignment::taRightJustify), 0x46u);
  EXPECT_EQ(GetStringFlags(child, fw::TAlignment::taCenter), 0x45u);
  child->SetBiDiMode(fw::TBiDiMode::bdRightToLeft);
  EXPECT_EQ(GetStringFlags(child, fw::TAlignment::taLeftJustify), 0x46u | gfx::DT_RTLREADING);
  EXPECT_EQ(GetStringFlags(child, fw::TAlignment::taRightJustify), 0x44u | gfx::DT_RTLREADING);

  // A font is custom when it differs from the parent's; the colour only when asked.
  EXPECT_FALSE(IsCustomFont(child, child->Font(), true));
  fw::TFont font = child->Font();
  font.SetColor(fw::clRed);
  EXPECT_TRUE(IsCustomFont(child, font, true));
  child->Font().SetColor(fw::clRed);
  EXPECT_FALSE(IsCustomFont(child, child->Font(), false));
  EXPECT_TRUE(IsCustomFont(child, child->Font(), true));
  font.SetHeight(-30);
  EXPECT_TRUE(IsCustomFont(child, font, false));
  // Without a parent the reference is a new default font.
  EXPECT_FALSE(IsCustomFont(nullptr, fw::TFont(), true));
  fw::TFont bold;
  bold.SetStyle(fw::fsBold);
  EXPECT_TRUE(IsCustomFont(form, bold, false));

  gfx::Bitmap bmp(8, 6);
  bmp.Fill(gfx::MakePixel(1, 2, 3, 255));
  CleanPixelsByRects({{1, 1, 3, 2}, {6, 4, 20, 20}}, bmp);
  for (int y = 0; y < 6; ++y)
    for (int x = 0; x < 8; ++x) {
      const bool cleared = (x >= 1 && x < 3 && y == 1) || (x >= 6 && y >= 4);
      EXPECT_EQ(gfx::PixelA(bmp.At(x, y)), cleared ? 0 : 255) << x << "," << y;
      EXPECT_EQ(bmp.At(x, y) & 0xFFFFFF, gfx::MakePixel(1, 2, 3, 0));
    }
}

TEST_F(VclUtilsTest, PaintingChildrenIntoAnEmptyClipOnlyTellsTheOwnerItIsHalfVisible) {
  auto* owner = Add<TsPanel>(form, "P", {0, 0, 100, 100});
  auto* spot = new TSpot(form, owner, {10, 10, 30, 30}, fw::clRed);
  Show();
  const int before = spot->Painted;
  auto& heard = Listen(owner);
  gfx::Bitmap bmp(100, 100);
  gfx::DeviceContext dc(bmp);
  gfx::IntersectClipRect(&dc, 0, 0, 0, 0);
  PaintControls(&dc, *owner, true, {0, 0});
  EXPECT_EQ(heard, (std::vector<std::string>{"AC" + std::to_string(AC_SETHALFVISIBLE)}));
  EXPECT_TRUE(owner->SkinData().HalfVisible);
  EXPECT_EQ(spot->Painted, before);
  EXPECT_EQ(bmp.At(20, 20), 0u);
}

TEST_F(VclUtilsTest, ALabelLeavingItsCornerInTheKeyColourIsNotCopied) {
  // An unskinned container whose colour is the key colour: a transparent label leaves it.
  auto* owner = Add<fw::TPanel>(form, "P", {0, 0, 120, 60});
  owner->SetColor(fw::clFuchsia);
  owner->SetBevelOuter(fw::TBevelCut::bvNone);
  auto* clear = new fw::TLabel(form);
  clear->SetCaption(u"Clear");
  clear->SetTransparent(true);
  clear->SetBounds(5, 5, 50, 20);
  clear->SetParent(owner);
  auto* filled = new fw::TLabel(form);
  filled->SetCaption(u"Filled");
  filled->SetColor(fw::clWhite);
  filled->SetBounds(5, 30, 50, 20);
  filled->SetParent(owner);
  Show();
  gfx::Bitmap bmp(130, 70);
  const gfx::Pixel marker = gfx::MakePixel(9, 9, 9, 255);
  bmp.Fill(marker);
  gfx::DeviceContext dc(bmp);
  PaintControls(&dc, *owner, true, {3, 2});
  int untouched = 0;
  for (int y = 2 + 5; y < 2 + 25; ++y)
    for (int x = 3 + 5; x < 3 + 55; ++x) untouched += bmp.At(x, y) == marker;
  EXPECT_EQ(untouched, 50 * 20);
  EXPECT_EQ(gfx::ColorFromPixel(bmp.At(3 + 5, 2 + 30)), gfx::RGB(255, 255, 255));
  EXPECT_EQ(bmp.At(0, 0), marker);
}

TEST_F(VclUtilsTest, AlignedChildrenOfAnMdiParentAreToldToRepaintFirst) {
  form->SetFormStyle(fw::TFormStyle::fsMDIForm);
  auto* aligned = new TSpot(form, form, {0, 0, 300, 20}, fw::clRed);
  aligned->SetAlign(fw::TAlign::alTop);
  auto* free = new TSpot(form, form, {10, 50, 30, 70}, fw::clBlue);
  Show();
  auto& alignedHeard = Listen(aligned);
  auto& freeHeard = Listen(free);
  gfx::Bitmap bmp(300, 200);
  gfx::DeviceContext dc(bmp);
  PaintControls(&dc, *form, true, {0, 0});
  const std::string invalidate = "AC" + std::to_string(AC_INVALIDATE);
  EXPECT_EQ(std::count(alignedHeard.begin(), alignedHeard.end(), invalidate), 1);
  EXPECT_EQ(std::count(freeHeard.begin(), freeHeard.end(), invalidate), 0);
  EXPECT_EQ(gfx::ColorFromPixel(bmp.At(20, 60)), gfx::RGB(0, 0, 255));
}

TEST_F(VclUtilsTest, AWindowTreePaintedIntoABitmapEqualsTheScreen) {
  auto* p = Add<TsPanel>(form, "P", {10, 10, 190, 150});
  auto* label = new fw::TLabel(form);
  label->SetCaption(u"Label");
  label->SetBounds(8, 8, 60, 16);
  label->SetParent(p);
  new TSpot(form, p, {70, 8, 90, 20}, fw::clLime);
  auto* edit = Add<TsEdit>(p, "E", {8, 30, 120, 52});
  edit->SetText(u"Edit text");
  auto* plain = Add<fw::TPanel>(p, "Plain", {8, 60, 170, 130});
  plain->SetBevelInner(fw::TBevelCut::bvLowered);
  auto* inner = Add<TsPanel>(plain, "Inner", {10, 10, 80, 50});
  auto* memo = Add<TsMemo>(plain, "M", {90, 5, 155, 65});
  memo->SetBevelKind(fw::TBevelKind::bkSoft);
  memo->SetText(u"Two\r\nlines");
  new TSpot(form, inner, {5, 5, 15, 15}, fw::clBlue);
  auto* over = Add<TsPanel>(form, "Over", {150, 100, 250, 180});
  over->SetColor(fw::clYellow);
  Show();
  const gfx::Bitmap screen = win::ComposeWindow(form->Handle());

  gfx::Bitmap all(300, 200);
  {
    gfx::DeviceContext dc(all);
    SkinPaintTo(&dc, form);
  }
  ExpectSameColours(all, screen, 0, 0);

  // A skinned panel alone, printed through its window, with the windows inside it.
  gfx::Bitmap alone(p->Width(), p->Height());
  gfx::DeviceContext dc(alone);
  SkinPaintTo(&dc, p);
  gfx::Bitmap expected(p->Width(), p->Height());
  expected.CopyFrom(screen, p->BoundsRect(), {0, 0});
  // The later sibling over it shows only with paintNext.
  EXPECT_NE(alone.At(170, 120) & 0xFFFFFF, expected.At(170, 120) & 0xFFFFFF);
  alone.Fill(0);
  SkinPaintTo(&dc, p, nullptr, true);
  ExpectSameColours(alone, expected, 0, 0);

  // Hidden, a control shows what its parent shows behind it.
  inner->Hide();
  desktop.Pump();
  gfx::Bitmap gone(inner->Width(), inner->Height());
  gfx::DeviceContext goneDC(gone);
  SkinPaintTo(&goneDC, inner);
  const gfx::TPoint at = inner->ClientToScreen({0, 0});
  ExpectSameColours(gone, win::ComposeWindow(form->Handle()), at.X, at.Y);
}

TEST_F(VclUtilsTest, PrintingTellsTheControlAndAProviderMakesTheClientOpaque) {
  struct TProvider : TacFormProvider {
    const fw::TComponent* ProviderManager() const override { return nullptr; }
    bool HasExtendedBorder() const override { return true; }
    gfx::TPoint ClientOffset() const override { return {3, 4}; }
  } provider;
  auto* spot = new TSpot(form, form, {10, 10, 20, 20}, fw::clRed);
  Show();
  auto& formHeard = Listen(form);
  auto& spotHeard = Listen(spot, {win::WM_PRINT});
  gfx::Bitmap bmp(320, 220);
  gfx::DeviceContext dc(bmp);
  gfx::SetViewportOrgEx(&dc, 5, 5, nullptr);
  SkinPaintTo(&dc, form, &provider);
  // The client area at the provider's offset (and the origin) is opaque, nothing else.
  EXPECT_EQ(gfx::PixelA(bmp.At(5 + 3, 5 + 4)), 255);
  EXPECT_EQ(gfx::PixelA(bmp.At(5 + 3 + 299, 5 + 4 + 199)), 255);
  EXPECT_EQ(gfx::PixelA(bmp.At(5 + 2, 5 + 4)), 0);
  EXPECT_EQ(gfx::PixelA(bmp.At(5 + 3 + 300, 5 + 4)), 0);

  // A windowless control prints itself between the two printing notices.
  gfx::Bitmap small(10, 10);
  gfx::DeviceContext smallDC(small);
  SkinPaintTo(&smallDC, spot);
  const std::string printing = "AC" + std::to_string(AC_PRINTING);
  EXPECT_EQ(spotHeard, (std::vector<std::string>{printing,
                                                 "M" + std::to_string(win::WM_PRINT) + ":" +
                                                     std::to_string(win::WPARAM(&smallDC)),
                                                 printing}));
  // Printing, the question whether the form is skinned, and the floating items.
  EXPECT_EQ(formHeard, (std::vector<std::string>{printing, "AC" + std::to_string(AC_CTRLHANDLED),
                                                 "AC" + std::to_string(AC_PAINTFLOATITEMS)}));
}

TEST_F(VclUtilsTest, ImageListsOfEveryKindMeasureAlikeAndTheSkippedClassesAreSorted) {
  const auto& skip = ThirdPartySkipForms();
  EXPECT_EQ(skip.size(), 7u);
  std::vector<std::string> lower;
  for (const std::u16string& name : skip) {
    std::string text = fw::Utf16ToUtf8(name);
    for (char& ch : text) ch = char(std::tolower(static_cast<unsigned char>(ch)));
    lower.push_back(text);
  }
  EXPECT_TRUE(std::is_sorted(lower.begin(), lower.end()));
  EXPECT_TRUE(IsThirdPartySkipForm(u"TApplication"));
  EXPECT_TRUE(IsThirdPartySkipForm(u"tcxgridfilterpopup"));
  EXPECT_FALSE(IsThirdPartySkipForm(u"TForm1"));
  EXPECT_FALSE(IsThirdPartySkipForm(u""));

  EXPECT_EQ(GetImageCount(nullptr), 0);
  EXPECT_EQ(GetImageWidth(nullptr, 0), 0);
  fw::TImageList plain(nullptr);
  plain.SetSize(20, 10);
  plain.Add(u"a", gfx::Bitmap(20, 10));
  EXPECT_EQ(GetImageCount(&plain), 1);
  EXPECT_EQ(GetImageWidth(&plain, 0), 20);
  EXPECT_EQ(GetImageHeight(&plain, 5), 10);
  // The alpha list counts its items before its platform pictures are made.
  TsAlphaImageList alpha(nullptr);
  alpha.SetDimension(24, 24);
  alpha.AddItem(skin::paint::ifPNG, u"x", {});
  alpha.AddItem(skin::paint::ifPNG, u"y", {});
  EXPECT_EQ(GetImageCount(&alpha), 2);
  EXPECT_EQ(GetImageWidth(&alpha, 1), 24);
  // A character item scales the list's size by its own factor.
  TsCharImageList chars(nullptr);
  chars.SetSize(16, 20);
  TacCharItemData big;
  big.Char = 0xF015;
  big.ScalingFactor = 1.5;
  chars.AddItem(big);
  big.ScalingFactor = 0.5625;  // 9 and 11.25
  chars.AddItem(big);
  EXPECT_EQ(GetImageCount(&chars), 2);
  EXPECT_EQ(GetImageWidth(&chars, 0), 24);
  EXPECT_EQ(GetImageHeight(&chars, 0), 30);
  EXPECT_EQ(GetImageWidth(&chars, 1), 9);
  EXPECT_EQ(GetImageHeight(&chars, 1), 11);
  EXPECT_EQ(GetImageWidth(&chars, 2), 16);
  EXPECT_EQ(GetImageHeight(&chars, -1), 20);
}

TEST_F(VclUtilsTest, AnEditUnderTheMouseShowsTheHotColoursUntilTheMouseLeaves) {
  auto* edit = Add<TsEdit>(form, "E", {10, 10, 110, 32});
  auto* other = Add<TsEdit>(form, "O", {10, 50, 110, 72});
  other->SkinData().SetCustomColor(true);
  other->SetColor(fw::clRed);
  // The focus elsewhere: a focused edit shows its hot colours anyway.
  auto* sink = Add<fw::TEdit>(form, "Sink", {10, 100, 110, 122});
  Show();
  sink->SetFocus();
  desktop.Pump();
  EXPECT_EQ(edit->Color(), 14741744);
  EXPECT_EQ(edit->Font().Color(), 128);
  MouseAt(50, 20);
  EXPECT_TRUE(edit->SkinData().FMouseAbove);
  EXPECT_EQ(edit->Color(), 65535);
  EXPECT_EQ(edit->Font().Color(), 255);
  MouseAt(50, 60);  // onto the other edit, which keeps its own colour
  EXPECT_FALSE(edit->SkinData().FMouseAbove);
  EXPECT_EQ(edit->Color(), 14741744);
  EXPECT_EQ(edit->Font().Color(), 128);
  EXPECT_EQ(other->Color(), fw::clRed);
  EXPECT_EQ(other->Font().Color(), 255);
}

}  // namespace
}  // namespace skin::controls::test
