#include <gtest/gtest.h>

#include <string>

#include "Harness.h"
#include "framework/Edit.h"
#include "framework/Label.h"

namespace fw::test {
namespace {

// A label that draws its text bold: measuring goes the same way, so it sizes itself wider.
class TBoldLabel : public TLabel {
 public:
  using TLabel::TLabel;

 protected:
  void DoDrawText(TRect& rect, unsigned flags) override {
    Canvas().Font.SetStyle(fsBold);
    TLabel::DoDrawText(rect, flags);
  }
};

// The label painted alone, without clipping, on white: the box of every pixel it inked.
TRect InkOf(TLabel* label, int width = 800, int height = 400) {
  gfx::Bitmap target(width, height);
  target.Fill(gfx::MakePixel(255, 255, 255, 255));
  gfx::DeviceContext dc(target);
  label->Perform(win::WM_PAINT, reinterpret_cast<win::WPARAM>(&dc), 0);
  TRect ink{width, height, 0, 0};
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x)
      if (target.At(x, y) != gfx::MakePixel(255, 255, 255, 255)) {
        ink.Left = std::min(ink.Left, x);
        ink.Top = std::min(ink.Top, y);
        ink.Right = std::max(ink.Right, x + 1);
        ink.Bottom = std::max(ink.Bottom, y + 1);
      }
  return ink;
}

class LabelTest : public FrameworkTest {
 protected:
  void SetUp() override {
    FrameworkTest::SetUp();
    form = ShowForm(0, 0, 600, 400);
  }
  template <class T = TLabel>
  T* Make(const char16_t* caption) {
    auto* l = new T(form);
    l->SetParent(form);
    l->SetTransparent(true);
    l->SetCaption(caption);
    return l;
  }
  int LineHeight() {
    TLabel* probe = Make(u"Yy");
    int h = probe->Height();
    delete probe;
    return h;
  }
  // Painted with room to spare (DrawTextW clips to the label), the ink lies within the
  // measured size, and fills it: it reaches the right edge (less the last letter's bearing)
  // and the last line. A wrapped label keeps its width, so that it wraps as measured.
  void ExpectInkFills(TLabel* l, bool reachesRight = true) {
    const int w = l->Width(), h = l->Height();
    SCOPED_TRACE(std::string("label of ") + std::to_string(w) + " x " + std::to_string(h));
    l->SetAutoSize(false);
    l->SetBounds(l->Left(), l->Top(), l->WordWrap() ? w : w + 60, h + 60);
    TRect ink = InkOf(l);
    l->SetBounds(l->Left(), l->Top(), w, h);
    l->SetAutoSize(true);
    ASSERT_FALSE(ink.IsEmpty());
    EXPECT_GE(ink.Left, 0);
    EXPECT_GE(ink.Top, 0);
    EXPECT_LE(ink.Right, w);
    EXPECT_LE(ink.Bottom, h);
    if (reachesRight) {
      EXPECT_GE(ink.Right, w - 3);
    }
    EXPECT_GT(ink.Bottom, h - LineHeight());
  }

  TForm* form = nullptr;
};

TEST_F(LabelTest, TheAcceleratorFocusesTheFocusControlWhileItLives) {
  TForm* form = ShowForm(0, 0, 200, 100);
  auto* edit = new TEdit(form);
  edit->SetParent(form);
  auto* other = new TEdit(form);
  other->SetBounds(0, 40, 80, 20);
  other->SetParent(form);
  auto* label = new TLabel(form);
  label->SetCaption(u"&Name");
  label->SetParent(form);
  label->SetFocusControl(edit);
  other->SetFocus();
  EXPECT_EQ(form->Perform(CM_DIALOGCHAR, u'q', 0), 0);
  EXPECT_TRUE(other->Focused());
  EXPECT_NE(form->Perform(CM_DIALOGCHAR, u'N', 0), 0);
  EXPECT_TRUE(edit->Focused());
  delete edit;
  EXPECT_EQ(label->FocusControl(), nullptr);
  EXPECT_EQ(form->Perform(CM_DIALOGCHAR, u'n', 0), 0);
}

TEST_F(LabelTest, MeasureAndPaintAgreeForAutoSizedAndWrappedLabels) {
  ExpectInkFills(Make(u"Тип &музея"));
  TLabel* plain = Make(u"A && B &&& C");
  TLabel* raw = Make(u"A && B &&& C");
  raw->SetShowAccelChar(false);  // every '&' shown, so it is wider
  EXPECT_GT(raw->Width(), plain->Width());
  ExpectInkFills(plain);
  ExpectInkFills(raw);

  TLabel* wrapped = Make(u"");
  wrapped->SetWordWrap(true);
  wrapped->SetWidth(90);
  wrapped->SetCaption(u"Районный краеведческий музей имени героев");
  EXPECT_GE(wrapped->Height(), 3 * LineHeight());
  ExpectInkFills(wrapped, false);
  wrapped->SetAlignment(TAlignment::taRightJustify);
  ExpectInkFills(wrapped, false);
  EXPECT_GE(InkOf(wrapped).Right, wrapped->Width() - 3);

  TLabel* lines = Make(u"Развернуть/\r\nсвернуть");
  EXPECT_EQ(lines->Height(), 2 * LineHeight());
  ExpectInkFills(lines);
}

TEST_F(LabelTest, AutoSizeFollowsWhatDoDrawTextDraws) {
  TLabel* plain = Make(u"Музейная комната");
  auto* bold = Make<TBoldLabel>(u"Музейная комната");
  EXPECT_GT(bold->Width(), plain->Width());
  ExpectInkFills(bold);
  bold->SetWordWrap(true);
  bold->SetWidth(plain->Width());  // too narrow for the bold text on one line
  bold->AdjustBounds();
  EXPECT_EQ(bold->Height(), 2 * LineHeight());
  ExpectInkFills(bold, false);
  // An empty caption (or a lone accelerator mark) keeps one line's height.
  TLabel* empty = Make(u"x");
  empty->SetCaption(u"");
  EXPECT_EQ(empty->Height(), LineHeight());
  empty->SetCaption(u"&");
  EXPECT_EQ(empty->Height(), LineHeight());
  EXPECT_GT(empty->Width(), 0);
}

// A label that draws (but does not measure) with room below, to show how many lines it draws.
class TTallLabel : public TLabel {
 public:
  using TLabel::TLabel;

 protected:
  void DoDrawText(TRect& rect, unsigned flags) override {
    if (!(flags & gfx::DT_CALCRECT)) rect.Bottom += 200;
    TLabel::DoDrawText(rect, flags);
  }
};

TEST_F(LabelTest, EllipsisCutsTextThatDoesNotFitALabelOfFixedSize) {
  const char16_t* path = u"C:\\Музей\\Фотографии первого этажа\\снимок.jpg";
  TLabel* l = Make(path);
  const int fullWidth = l->Width();
  l->SetAutoSize(false);
  l->SetWidth(fullWidth * 2 / 3);
  auto shot = [&](TEllipsisPosition p) {
    l->SetEllipsisPosition(p);
    gfx::Bitmap target(800, 100);
    target.Fill(gfx::MakePixel(255, 255, 255, 255));
    gfx::DeviceContext dc(target);
    l->Perform(win::WM_PAINT, reinterpret_cast<win::WPARAM>(&dc), 0);
    return target;
  };
  const gfx::Bitmap none = shot(TEllipsisPosition::epNone),
                    end = shot(TEllipsisPosition::epEndEllipsis),
                    word = shot(TEllipsisPosition::epWordEllipsis),
                    pathCut = shot(TEllipsisPosition::epPathEllipsis);
  EXPECT_FALSE(end == none);
  EXPECT_FALSE(word == end);
  EXPECT_FALSE(pathCut == end);
  EXPECT_LE(InkOf(l).Right, l->Width());

  // Wrapped into a label two lines high: words are taken off until the rest, with "...",
  // takes two lines; without an ellipsis all lines are drawn (and cut by the label).
  auto* tall = Make<TTallLabel>(u"Музей имени героев труда и войны в селе Лесном");
  const int twoLines = 2 * LineHeight();
  tall->SetAutoSize(false);
  tall->SetWordWrap(true);
  tall->SetBounds(0, 0, 90, twoLines);
  EXPECT_GT(InkOf(tall).Bottom, twoLines + LineHeight());
  tall->SetEllipsisPosition(TEllipsisPosition::epEndEllipsis);
  TRect cut = InkOf(tall);
  EXPECT_LE(cut.Bottom, twoLines);
  EXPECT_GT(cut.Bottom, LineHeight());
  EXPECT_LE(cut.Right, 90);
  // AutoSize wins over the ellipsis: the label grows to the text.
  l->SetAutoSize(true);
  EXPECT_EQ(l->Width(), fullWidth);
}

}  // namespace
}  // namespace fw::test
