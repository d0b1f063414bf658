#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "Harness.h"
#include "framework/DragDrop.h"
#include "framework/Exception.h"
#include "framework/Label.h"
#include "platform/gfx/PictureCodec.h"
#include "platform/win/Input.h"
#include "platform/win/Styles.h"
#include "platform/win/Window.h"

namespace fw::test {
namespace {

TEST_F(FrameworkTest, AlignmentTakesTopBottomLeftRightThenClientFromWhatIsLeft) {
  TForm* form = ShowForm(0, 0, 400, 300);
  auto* client = new TBlock(form, form, {0, 0, 10, 10}, clRed);
  client->SetAlign(TAlign::alClient);
  auto* left = new TBlock(form, form, {0, 0, 50, 10}, clBlue);
  left->SetAlign(TAlign::alLeft);
  auto* bottom = new TBlock(form, form, {0, 0, 10, 20}, clGreen);
  bottom->SetAlign(TAlign::alBottom);
  auto* top2 = new TBlock(form, form, {0, 0, 10, 30}, clLime);
  top2->SetAlign(TAlign::alTop);
  auto* top1 = new TBlock(form, form, {0, 0, 10, 40}, clYellow);
  top1->SetAlign(TAlign::alTop);
  EXPECT_EQ(top1->Top(), 30);
  top2->SetTop(100);  // moved below top1: the order by position follows
  auto* right = new TBox(form, form, {0, 0, 60, 10}, clNavy);  // windowed children align too
  right->SetAlign(TAlign::alRight);

  EXPECT_EQ(top1->BoundsRect(), (TRect{0, 0, 400, 40}));
  EXPECT_EQ(top2->BoundsRect(), (TRect{0, 40, 400, 70}));
  EXPECT_EQ(bottom->BoundsRect(), (TRect{0, 280, 400, 300}));
  EXPECT_EQ(left->BoundsRect(), (TRect{0, 70, 50, 280}));
  EXPECT_EQ(right->BoundsRect(), (TRect{340, 70, 400, 280}));
  EXPECT_EQ(client->BoundsRect(), (TRect{50, 70, 340, 280}));
  win::RECT wr;
  win::GetWindowRect(right->Handle(), &wr);
  EXPECT_EQ(wr, (TRect{340, 70, 400, 280}));

  // Hiding one gives its room to the others; resizing the form realigns.
  top2->Hide();
  EXPECT_EQ(left->BoundsRect(), (TRect{0, 40, 50, 280}));
  form->SetBounds(0, 0, 500, 300);
  EXPECT_EQ(client->BoundsRect(), (TRect{50, 40, 440, 280}));
  EXPECT_EQ(right->BoundsRect(), (TRect{440, 40, 500, 280}));
}

TEST_F(FrameworkTest, ScalingTakesPlacesSizesAndOwnFontsAndKeepsTheScaledControlsPlace) {
  TForm* form = ShowForm(0, 0, 400, 300);
  auto* box = new TBox(form, form, gfx::RectOfSize(10, 20, 100, 60), clNavy);
  box->Font().SetHeight(-12);
  auto* inner = new TBox(form, box, gfx::RectOfSize(4, 6, 40, 20), clRed);
  auto* block = new TBlock(form, inner, gfx::RectOfSize(2, 2, 10, 8), clBlue);
  block->Font().SetHeight(-10);
  auto* bar = new TBlock(form, box, gfx::RectOfSize(0, 0, 10, 8), clGreen);
  bar->SetAlign(TAlign::alTop);
  ASSERT_TRUE(inner->ParentFont());

  box->ScaleBy(150, 100);
  EXPECT_EQ(box->BoundsRect(), gfx::RectOfSize(10, 20, 150, 90));  // its place kept
  EXPECT_EQ(box->Font().Height(), -18);
  EXPECT_EQ(inner->BoundsRect(), gfx::RectOfSize(6, 9, 60, 30));
  EXPECT_EQ(inner->Font().Height(), -18);  // follows its parent's
  EXPECT_EQ(block->BoundsRect(), gfx::RectOfSize(3, 3, 15, 12));
  EXPECT_EQ(block->Font().Height(), -15);
  // The pixels per inch they are laid out for, and a design length at that scale.
  EXPECT_EQ(box->CurrentPPI(), 144);
  EXPECT_EQ(block->CurrentPPI(), 144);
  EXPECT_EQ(block->ScaledDesignValue(385), 578);
  // Aligned to the new width once the scaling is over.
  EXPECT_EQ(bar->BoundsRect(), gfx::RectOfSize(0, 0, 150, 12));
  win::RECT outer, wr;
  win::GetWindowRect(box->Handle(), &outer);
  win::GetWindowRect(inner->Handle(), &wr);
  EXPECT_EQ(wr, gfx::RectOfSize(outer.Left + 6, outer.Top + 9, 60, 30));

  // ChangeScale moves the control too; back again, everything is where it was.
  box->ChangeScale(100, 150);
  EXPECT_EQ(box->BoundsRect(), gfx::RectOfSize(7, 13, 100, 60));
  EXPECT_EQ(block->CurrentPPI(), 96);
  EXPECT_EQ(inner->BoundsRect(), gfx::RectOfSize(4, 6, 40, 20));
  EXPECT_EQ(block->Font().Height(), -10);
  EXPECT_EQ(box->Font().Height(), -12);
  // Nothing for a ratio of 1 or one that is not positive.
  box->ScaleBy(0, 100);
  box->ChangeScale(5, 5);
  EXPECT_EQ(box->BoundsRect(), gfx::RectOfSize(7, 13, 100, 60));
}

TEST_F(FrameworkTest, AnchorsKeepTheDistancesToTheirSidesAsTheParentIsResized) {
  TForm* form = ShowForm(0, 0, 400, 300);
  auto* box = new TBox(form, form, gfx::RectOfSize(0, 0, 200, 100), clNavy);
  auto* stays = new TBlock(form, box, gfx::RectOfSize(10, 10, 20, 20), clRed);
  auto* right = new TBlock(form, box, gfx::RectOfSize(150, 10, 40, 20), clBlue);
  right->SetAnchors(akTop | akRight);
  auto* wide = new TBlock(form, box, gfx::RectOfSize(10, 40, 180, 20), clGreen);
  wide->SetAnchors(akLeft | akRight | akTop | akBottom);
  auto* floating = new TBox(form, box, gfx::RectOfSize(90, 70, 20, 10), clLime);
  floating->SetAnchors(0);

  box->SetBounds(0, 0, 260, 140);
  EXPECT_EQ(stays->BoundsRect(), gfx::RectOfSize(10, 10, 20, 20));
  EXPECT_EQ(right->BoundsRect(), gfx::RectOfSize(210, 10, 40, 20));
  EXPECT_EQ(wide->BoundsRect(), gfx::RectOfSize(10, 40, 240, 60));
  EXPECT_EQ(floating->BoundsRect(), gfx::RectOfSize(120, 90, 20, 10));  // centre kept
  win::RECT wr;
  win::GetWindowRect(floating->Handle(), &wr);
  EXPECT_EQ(wr, gfx::RectOfSize(120, 90, 20, 10));
  // Taken from where they were placed, not from step to step: back, they are where they were.
  box->SetBounds(0, 0, 201, 101);
  box->SetBounds(0, 0, 200, 100);
  EXPECT_EQ(floating->BoundsRect(), gfx::RectOfSize(90, 70, 20, 10));
  EXPECT_EQ(wide->BoundsRect(), gfx::RectOfSize(10, 40, 180, 20));
  // A control moved by the program keeps the distances of its new place.
  right->SetLeft(100);
  box->SetBounds(0, 0, 220, 100);
  EXPECT_EQ(right->Left(), 120);
  // Shrunk past its left edge, a stretching control keeps no negative width.
  box->SetBounds(0, 0, 10, 100);
  EXPECT_EQ(wide->Width(), 0);

  // Scaled with the parent, anchored children are scaled, not moved again by its growth.
  box->SetBounds(0, 0, 200, 100);
  right->SetLeft(150);
  box->ScaleBy(150, 100);
  EXPECT_EQ(right->BoundsRect(), gfx::RectOfSize(225, 15, 60, 30));
  EXPECT_EQ(wide->BoundsRect(), gfx::RectOfSize(15, 60, 270, 30));
  box->SetBounds(0, 0, 310, 150);  // and follow its later resizing from there
  EXPECT_EQ(right->Left(), 235);
}

TEST_F(FrameworkTest, ConstraintsLimitEveryControlAndScaleWithIt) {
  TForm* form = ShowForm(0, 0, 400, 300);
  auto* box = new TBox(form, form, gfx::RectOfSize(0, 0, 100, 60), clNavy);
  auto* block = new TBlock(form, box, gfx::RectOfSize(0, 0, 50, 20), clRed);
  block->SetConstraints({20, 10, 60, 30});
  block->SetBounds(0, 0, 100, 5);
  EXPECT_EQ(block->BoundsRect(), gfx::RectOfSize(0, 0, 60, 10));
  // Fixed like the catalogue's window: scaling moves the limits with the size.
  box->SetConstraints({100, 60, 100, 60});
  box->ScaleBy(150, 100);
  EXPECT_EQ(box->BoundsRect(), gfx::RectOfSize(0, 0, 150, 90));
  EXPECT_EQ(box->Constraints(), (TSizeConstraints{150, 90, 150, 90}));
  EXPECT_EQ(block->Constraints(), (TSizeConstraints{30, 15, 90, 45}));
  EXPECT_EQ(block->BoundsRect(), gfx::RectOfSize(0, 0, 90, 15));
  box->ScaleBy(100, 150);
  EXPECT_EQ(box->Constraints(), (TSizeConstraints{100, 60, 100, 60}));
  EXPECT_EQ(block->BoundsRect(), gfx::RectOfSize(0, 0, 60, 10));
}

TEST_F(FrameworkTest, ScalingThroughSeveralStepsComesBackExactly) {
  TForm* form = ShowForm(0, 0, 400, 300);
  auto* box = new TBox(form, form, gfx::RectOfSize(10, 10, 102, 62), clNavy);
  box->Font().SetHeight(-10);
  auto* block = new TBlock(form, box, gfx::RectOfSize(2, 6, 10, 6), clRed);
  // 100 -> 125 -> 200 -> 100: each step alone rounds 2 to 3 (2.5, 4.8 and 2.5 again).
  box->ScaleBy(125, 100);
  EXPECT_EQ(block->BoundsRect(), gfx::RectOfSize(3, 8, 13, 8));
  box->ScaleBy(200, 125);
  EXPECT_EQ(block->BoundsRect(), gfx::RectOfSize(4, 12, 20, 12));
  box->ScaleBy(100, 200);
  EXPECT_EQ(block->BoundsRect(), gfx::RectOfSize(2, 6, 10, 6));
  EXPECT_EQ(box->BoundsRect(), gfx::RectOfSize(10, 10, 102, 62));
  EXPECT_EQ(box->Font().Height(), -10);
  // A label sizing itself to the font it follows is scaled once: it fits its text.
  auto* label = new TLabel(form);
  label->SetParent(box);
  label->SetCaption(u"Район:");
  ASSERT_TRUE(label->AutoSize() && label->ParentFont());
  box->ChangeScale(150, 100);
  const TRect scaled = label->BoundsRect();
  label->AdjustBounds();
  EXPECT_EQ(label->BoundsRect(), scaled);
  box->ChangeScale(100, 150);
  // A value changed between two scalings is taken from where it was put.
  box->ScaleBy(125, 100);
  block->SetWidth(11);
  box->ScaleBy(100, 125);
  EXPECT_EQ(block->BoundsRect(), gfx::RectOfSize(2, 6, 9, 6));
}

TEST_F(FrameworkTest, WindowedChildrenLieAboveWindowlessOnesAndPaintingFollowsZOrder) {
  TForm* form = ShowForm(100, 100, 200, 100);
  form->SetColor(clWhite);
  new TBlock(form, form, {10, 10, 60, 60}, clRed);
  auto* upper = new TBlock(form, form, {40, 10, 90, 60}, clBlue);  // later: on top
  new TBox(form, form, {80, 10, 120, 60}, clGreen);                // windowed: above all
  desktop.Pump();
  EXPECT_EQ(ScreenAt(100 + 20, 100 + 20), gfx::RGB(255, 0, 0));
  EXPECT_EQ(ScreenAt(100 + 50, 100 + 20), gfx::RGB(0, 0, 255));
  EXPECT_EQ(ScreenAt(100 + 85, 100 + 20), gfx::RGB(0, 128, 0));
  EXPECT_EQ(ScreenAt(100 + 150, 100 + 80), gfx::RGB(255, 255, 255));

  upper->SendToBack();
  desktop.Pump();
  EXPECT_EQ(ScreenAt(100 + 50, 100 + 20), gfx::RGB(255, 0, 0));

  // The same picture painted into a bitmap of our own.
  gfx::Bitmap bmp(200, 100);
  gfx::DeviceContext dc(bmp);
  form->PaintTo(&dc, 0, 0);
  EXPECT_EQ(gfx::ColorFromPixel(bmp.At(50, 20)), gfx::RGB(255, 0, 0));
  EXPECT_EQ(gfx::ColorFromPixel(bmp.At(85, 20)), gfx::RGB(0, 128, 0));
  EXPECT_EQ(gfx::ColorFromPixel(bmp.At(150, 80)), gfx::RGB(255, 255, 255));
}

TEST_F(FrameworkTest, AChildTakesTheOrderGivenAmongItsKindAndItsWindowFollows) {
  TForm* form = ShowForm(100, 100, 200, 100);
  auto* a = new TBlock(form, form, {0, 0, 50, 50}, clRed);
  auto* b = new TBlock(form, form, {0, 0, 50, 50}, clBlue);
  auto* c = new TBlock(form, form, {0, 0, 50, 50}, clLime);
  auto* x = new TBox(form, form, {60, 0, 110, 50}, clRed);
  auto* y = new TBox(form, form, {60, 0, 110, 50}, clBlue);
  auto* z = new TBox(form, form, {60, 0, 110, 50}, clLime);
  desktop.Pump();
  const auto order = [&] {
    std::vector<TControl*> v;
    for (int i = 0; i < form->ControlCount(); ++i) v.push_back(form->Controls(i));
    return v;
  };
  form->SetChildOrder(c, 0);
  form->SetChildOrder(a, 9);  // clamped: last of the windowless ones
  EXPECT_EQ(order(), (std::vector<TControl*>{c, b, a, x, y, z}));
  form->SetChildOrder(z, 1);
  EXPECT_EQ(order(), (std::vector<TControl*>{c, b, a, x, z, y}));
  // The windows' z-order (top first) follows: y over z over x.
  EXPECT_EQ(win::GetWindow(form->Handle(), win::GW_CHILD), y->Handle());
  EXPECT_EQ(win::GetWindow(y->Handle(), win::GW_HWNDNEXT), z->Handle());
  EXPECT_EQ(win::GetWindow(z->Handle(), win::GW_HWNDNEXT), x->Handle());
  form->SetChildOrder(x, 2);
  EXPECT_EQ(win::GetWindow(form->Handle(), win::GW_CHILD), x->Handle());
  desktop.Pump();
  EXPECT_EQ(ScreenAt(100 + 80, 100 + 20), gfx::RGB(255, 0, 0));
  EXPECT_EQ(ScreenAt(100 + 20, 100 + 20), gfx::RGB(255, 0, 0));  // a, the last windowless
  form->SetChildOrder(nullptr, 0);
  TForm* other = ShowForm(0, 0, 10, 10);
  other->SetChildOrder(a, 0);  // not its child: nothing
  EXPECT_EQ(order(), (std::vector<TControl*>{c, b, a, z, y, x}));
  // Windows made later lie above the earlier ones, as their controls do.
  auto* last = new TBox(form, form, {60, 0, 110, 50}, clNavy);
  desktop.Pump();
  EXPECT_EQ(win::GetWindow(form->Handle(), win::GW_CHILD), last->Handle());
  EXPECT_EQ(ScreenAt(100 + 80, 100 + 20), gfx::RGB(0, 0, 128));
  // Sent down again, the covered siblings show.
  form->SetChildOrder(last, 0);
  desktop.Pump();
  EXPECT_EQ(ScreenAt(100 + 80, 100 + 20), gfx::RGB(255, 0, 0));
}

TEST_F(FrameworkTest, TextFlagsFollowTheReadingOrder) {
  TForm* form = ShowForm(0, 0, 100, 100);
  auto* label = new TBlock(form, form, {0, 0, 10, 10}, clRed);
  const unsigned left = gfx::DT_LEFT | gfx::DT_VCENTER, right = gfx::DT_RIGHT | gfx::DT_VCENTER,
                 centre = gfx::DT_CENTER;
  EXPECT_EQ(label->DrawTextBiDiModeFlags(left), left);
  EXPECT_EQ(label->DrawTextBiDiModeFlags(right), right);
  label->SetBiDiMode(TBiDiMode::bdRightToLeft);
  EXPECT_EQ(label->DrawTextBiDiModeFlags(left), right | gfx::DT_RTLREADING);
  EXPECT_EQ(label->DrawTextBiDiModeFlags(right), left | gfx::DT_RTLREADING);
  EXPECT_EQ(label->DrawTextBiDiModeFlags(centre), centre | gfx::DT_RTLREADING);
  label->SetBiDiMode(TBiDiMode::bdRightToLeftReadingOnly);
  EXPECT_EQ(label->DrawTextBiDiModeFlags(left), left | gfx::DT_RTLREADING);
}

TEST_F(FrameworkTest, HookedWindowProcSeesEveryMessageAndCanTakeOverPainting) {
  TForm* form = ShowForm(0, 0, 200, 100);
  auto* block = new TBlock(form, form, {0, 0, 50, 50}, clRed);
  std::vector<UINT> seen;
  TWndHookId hook = block->HookWindowProc([&](TMessage& m, const TWndNext& next) {
    seen.push_back(m.Msg);
    if (m.Msg == win::WM_PAINT) {
      gfx::FillRect(reinterpret_cast<HDC>(m.WParam), {0, 0, 50, 50}, gfx::RGB(0, 0, 255));
      return;
    }
    next(m);
  });
  block->SetColor(clGreen);
  desktop.Pump();
  EXPECT_EQ(ScreenAt(10, 10), gfx::RGB(0, 0, 255));
  EXPECT_NE(std::find(seen.begin(), seen.end(), CM_COLORCHANGED), seen.end());
  EXPECT_EQ(block->Perform(CM_HITTEST, 0, 0), win::HTCLIENT);
  EXPECT_TRUE(block->UnhookWindowProc(hook));
  block->Invalidate();
  desktop.Pump();
  EXPECT_EQ(ScreenAt(10, 10), gfx::RGB(0, 128, 0));
}

TEST_F(FrameworkTest, MouseEnterLeaveClickAndDisabledControls) {
  TForm* form = ShowForm(0, 0, 300, 200);
  auto* a = new TBlock(form, form, {10, 10, 60, 60}, clRed);
  auto* box = new TBox(form, form, {100, 10, 160, 60}, clBlue);
  std::vector<std::string> log;
  auto named = [&](const char* name, const char* what) {
    return [&log, name, what](TComponent*) { log.push_back(std::string(name) + " " + what); };
  };
  a->OnMouseEnter = named("a", "enter");
  a->OnMouseLeave = named("a", "leave");
  a->OnClick = named("a", "click");
  box->OnMouseEnter = named("box", "enter");
  box->OnMouseLeave = named("box", "leave");
  box->OnClick = named("box", "click");
  form->OnClick = named("form", "click");

  Move(20, 20);
  Move(120, 20);
  Click(30, 30);
  EXPECT_EQ(log, (std::vector<std::string>{"a enter", "a leave", "box enter", "box leave",
                                           "a enter", "a click"}));
  EXPECT_EQ(MouseControl(), a);
  EXPECT_TRUE(a->MouseInControl());

  // A press that is released elsewhere is no click.
  log.clear();
  win::InjectMouseButton(0, true, {30, 30});
  win::InjectMouseMove({200, 150});
  win::InjectMouseButton(0, false, {200, 150});
  desktop.Pump();
  EXPECT_EQ(log, (std::vector<std::string>{"a leave"}));

  // A disabled control ignores clicks, and so does the parent under it.
  log.clear();
  a->SetEnabled(false);
  box->SetEnabled(false);
  Click(30, 30);
  Click(120, 30);
  EXPECT_EQ(log, (std::vector<std::string>{"a enter", "a leave"}));
}

// Mouse handlers that free their own control: nothing of the control is touched afterwards
// (no automatic drag for a control that is gone, no click, no context menu request).
TEST_F(FrameworkTest, AControlFreedByItsMouseHandlersIsLeftAlone) {
  TForm* form = ShowForm(0, 0, 300, 200);
  int formClicks = 0;
  form->OnClick = [&](TComponent*) { ++formClicks; };
  // The handler lives in the control: it touches nothing of its own after the delete.
  auto freeing = [](TControl*& control) {
    return [&control](TComponent*, TMouseButton, TShiftState, int, int) {
      TControl* going = control;
      control = nullptr;
      delete going;
    };
  };
  TControl* block = new TBlock(form, form, {10, 10, 60, 60}, clRed);
  TControl* box = new TBox(form, form, {100, 10, 160, 60}, clBlue);
  for (TControl* c : {block, box}) c->SetDragMode(TDragMode::dmAutomatic);
  block->OnMouseDown = freeing(block);
  box->OnMouseDown = freeing(box);
  for (TPoint p : {TPoint{30, 30}, TPoint{120, 30}}) {
    win::InjectMouseMove(p);
    win::InjectMouseButton(0, true, p);
    desktop.Pump();
    EXPECT_EQ(TDragSession::Source(), nullptr) << p.X;
    win::InjectMouseButton(0, false, p);
    desktop.Pump();
    EXPECT_EQ(win::GetCapture(), nullptr) << p.X;
  }
  EXPECT_EQ(block, nullptr);
  EXPECT_EQ(box, nullptr);
  EXPECT_EQ(formClicks, 0);

  // Freed at the release, left or right: no click, no context menu asked of a freed control.
  TControl* left = new TBox(form, form, {10, 10, 60, 60}, clRed);
  TControl* right = new TBlock(form, form, {100, 10, 160, 60}, clBlue);
  int clicks = 0;
  left->OnClick = [&](TComponent*) { ++clicks; };
  left->OnMouseUp = freeing(left);
  right->OnMouseUp = freeing(right);
  Click(30, 30);
  win::InjectMouseMove({120, 30});
  win::InjectMouseButton(1, true, {120, 30});
  win::InjectMouseButton(1, false, {120, 30});
  desktop.Pump();
  EXPECT_EQ(left, nullptr);
  EXPECT_EQ(right, nullptr);
  EXPECT_EQ(clicks, 0);
  EXPECT_EQ(win::GetCapture(), nullptr);
}

TEST_F(FrameworkTest, HintsComeFromTheNearestParentAndFollowTheMouse) {
  TForm* form = ShowForm(0, 0, 300, 200);
  auto* panel = new TBox(form, form, {0, 0, 200, 100}, clBlue);
  auto* inner = new TBlock(form, panel, {10, 10, 50, 50}, clRed);
  auto* other = new TBlock(form, form, {210, 0, 250, 40}, clRed);
  panel->SetHint(u"Panel|The panel's long hint");
  other->SetHint(u"Other");
  EXPECT_EQ(inner->ActualHint(), u"Panel|The panel's long hint");
  std::vector<std::u16string> told;
  app->AddHintListener(form, [&](const std::u16string& h) { told.push_back(h); });
  Move(20, 20);
  EXPECT_EQ(app->Hint(), u"The panel's long hint");
  Move(220, 20);
  EXPECT_EQ(app->Hint(), u"Other");
  Move(280, 150);
  EXPECT_EQ(app->Hint(), u"");
  EXPECT_EQ(told, (std::vector<std::u16string>{u"The panel's long hint", u"Other", u""}));
  app->RemoveHintListener(form);
}

TEST_F(FrameworkTest, FocusFollowsTabOrderAndSkipsWhatCannotTakeIt) {
  TForm* form = ShowForm(0, 0, 300, 200);
  auto* a = new TBox(form, form, {0, 0, 20, 20}, clRed);
  auto* panel = new TBox(form, form, {30, 0, 130, 100}, clBlue);
  panel->SetTabStop(false);
  auto* b = new TBox(form, panel, {0, 0, 20, 20}, clRed);
  auto* c = new TBox(form, panel, {30, 0, 50, 20}, clRed);
  auto* d = new TBox(form, form, {140, 0, 160, 20}, clRed);
  c->SetTabOrder(0);  // c before b inside the panel
  std::vector<std::string> log;
  for (auto [ctrl, name] : {std::pair{a, "a"}, {b, "b"}, {c, "c"}, {d, "d"}}) {
    ctrl->OnEnter = [&log, n = name](TComponent*) { log.push_back(std::string("enter ") + n); };
    ctrl->OnExit = [&log, n = name](TComponent*) { log.push_back(std::string("exit ") + n); };
  }
  a->SetFocus();
  EXPECT_TRUE(a->Focused());
  EXPECT_EQ(form->ActiveControl(), a);
  Key(kTab);
  EXPECT_EQ(form->ActiveControl(), c);
  Key(kTab);
  EXPECT_EQ(form->ActiveControl(), b);
  d->SetEnabled(false);
  Key(kTab);
  EXPECT_EQ(form->ActiveControl(), a);  // wrapped, d skipped
  win::InjectKey(kShift, true);
  Key(kTab);
  win::InjectKey(kShift, false);
  desktop.Pump();
  EXPECT_EQ(form->ActiveControl(), b);
  EXPECT_EQ(log, (std::vector<std::string>{"enter a", "exit a", "enter c", "exit c", "enter b",
                                           "exit b", "enter a", "exit a", "enter b"}));
  // A click gives a control with TabStop the focus.
  Click(5, 5);
  EXPECT_EQ(form->ActiveControl(), a);
  // Removing the active control clears it.
  delete a;
  EXPECT_EQ(form->ActiveControl(), nullptr);
}

TEST_F(FrameworkTest, WheelGoesToTheFocusedControlThenUpToItsParentsUntilUsed) {
  TForm* form = ShowForm(0, 0, 300, 200);
  auto* panel = new TBox(form, form, {0, 0, 200, 100}, clBlue);
  auto* box = new TBox(form, panel, {10, 10, 50, 50}, clRed);
  box->SetFocus();
  std::vector<std::string> log;
  bool panelUses = false;
  box->OnMouseWheel = [&](TComponent*, TShiftState, int delta, TPoint p, bool&) {
    log.push_back("box " + std::to_string(delta) + " " + std::to_string(p.X));
  };
  panel->OnMouseWheel = [&](TComponent*, TShiftState, int delta, TPoint, bool& handled) {
    log.push_back("panel " + std::to_string(delta));
    handled = panelUses;
  };
  form->OnMouseWheel = [&](TComponent*, TShiftState, int, TPoint, bool&) { log.push_back("form"); };
  win::InjectMouseWheel(-win::WHEEL_DELTA, false, {150, 20});
  desktop.Pump();
  panelUses = true;
  win::InjectMouseWheel(2 * win::WHEEL_DELTA, false, {150, 20});
  desktop.Pump();
  EXPECT_EQ(log, (std::vector<std::string>{"box -120 150", "panel -120", "form", "box 240 150",
                                           "panel 240"}));
}

TEST_F(FrameworkTest, ParentFontFlowsDownUntilAControlSetsItsOwn) {
  TForm* form = ShowForm(0, 0, 300, 200);
  auto* panel = new TBox(form, form, {0, 0, 200, 100}, clBlue);
  auto* label = new TLabel(form);
  label->SetParent(panel);
  auto* own = new TLabel(form);
  own->SetParent(panel);
  own->Font().SetColor(clMaroon);
  EXPECT_FALSE(own->ParentFont());
  form->Font().SetHeight(-19);
  EXPECT_EQ(label->Font().Height(), -19);
  EXPECT_TRUE(label->ParentFont());
  EXPECT_EQ(own->Font().Height(), -11);
  own->SetParentFont(true);
  EXPECT_EQ(own->Font().Height(), -19);
  EXPECT_EQ(own->Font().Color(), clWindowText);
}

TEST_F(FrameworkTest, ParentColorAndParentShowHintFollowTheParentUntilSetOwn) {
  TForm* form = ShowForm(0, 0, 300, 200);
  form->SetColor(clNavy);
  auto* panel = new TBox(form, form, {0, 0, 200, 100}, clBlue);
  auto* label = new TLabel(form);
  label->SetParentColor(true);
  label->SetParent(panel);  // takes the colour of the parent it joins
  EXPECT_EQ(label->Color(), clBlue);
  panel->SetParentColor(true);
  EXPECT_EQ(panel->Color(), clNavy);
  EXPECT_EQ(label->Color(), clNavy);  // the change flows down through the panel
  form->SetColor(clMaroon);
  EXPECT_EQ(label->Color(), clMaroon);
  label->SetColor(clYellow);
  EXPECT_FALSE(label->ParentColor());
  form->SetColor(clGreen);
  EXPECT_EQ(panel->Color(), clGreen);
  EXPECT_EQ(label->Color(), clYellow);
  desktop.Pump();
  EXPECT_EQ(ScreenAt(150, 50), ColorToRGB(clGreen));  // repainted in the parent's colour
  // Hints: forms start without tooltips, controls follow their parents.
  EXPECT_FALSE(form->ShowHint());
  EXPECT_FALSE(label->ShowHint());
  form->SetShowHint(true);
  EXPECT_TRUE(label->ShowHint());
  panel->SetShowHint(false);
  EXPECT_FALSE(label->ShowHint());
  EXPECT_FALSE(panel->ParentShowHint());
  panel->SetParentShowHint(true);
  EXPECT_TRUE(label->ShowHint());
}

TEST_F(FrameworkTest, KeyPreviewGivesTheFormTheKeysFirst) {
  TForm* form = ShowForm(0, 0, 300, 200);
  auto* box = new TBox(form, form, {0, 0, 100, 100}, clBlue);
  box->SetFocus();
  desktop.Pump();
  std::vector<std::string> seen;
  form->OnKeyDown = [&](TComponent*, win::WORD& key, TShiftState) {
    seen.push_back("form down " + std::to_string(key));
    if (key == 'B') key = 0;
  };
  form->OnKeyPress = [&](TComponent*, char16_t& ch) {
    seen.push_back(std::string("form press ") + char(ch));
    if (ch == u'c') ch = 0;
  };
  box->OnKeyDown = [&](TComponent*, win::WORD& key, TShiftState) {
    seen.push_back("box down " + std::to_string(key));
  };
  box->OnKeyPress = [&](TComponent*, char16_t& ch) {
    seen.push_back(std::string("box press ") + char(ch));
  };
  constexpr unsigned kA = 0x1E, kB = 0x30, kC = 0x2E;
  Key(kA);
  EXPECT_EQ(seen, (std::vector<std::string>{"box down 65", "box press a"}));
  seen.clear();
  form->SetKeyPreview(true);
  Key(kA);
  Key(kB);  // swallowed by the form's OnKeyDown (its character still comes, as usual)
  Key(kC);  // its character swallowed by the form's OnKeyPress
  EXPECT_EQ(seen,
            (std::vector<std::string>{"form down 65", "box down 65", "form press a", "box press a",
                                      "form down 66", "form press b", "box press b", "form down 67",
                                      "box down 67", "form press c"}));
}

TEST_F(FrameworkTest, NotificationsReportEachChangeOnce) {
  TForm* form = ShowForm(0, 0, 300, 200);
  auto* box = new TBox(form, form, {0, 0, 50, 50}, clBlue);
  std::vector<UINT> seen;
  TWndHookId hook = box->HookWindowProc([&](TMessage& m, const TWndNext& next) {
    if (m.Msg >= CM_BASE && m.Msg < CM_BASE + 100 && m.Msg != CM_INVALIDATE) seen.push_back(m.Msg);
    next(m);
  });
  box->SetVisible(false);
  box->SetVisible(false);
  box->SetEnabled(false);
  box->SetColor(clRed);
  box->SetText(u"x");
  box->Font().SetHeight(-20);
  EXPECT_EQ(seen, (std::vector<UINT>{CM_VISIBLECHANGED, CM_SHOWINGCHANGED, CM_ENABLEDCHANGED,
                                     CM_COLORCHANGED, CM_TEXTCHANGED, CM_FONTCHANGED}));
  EXPECT_FALSE(box->Showing());
  EXPECT_EQ(win::GetWindowTextW(box->Handle()), u"x");
  box->UnhookWindowProc(hook);
}

TEST(ControlOwnership, OwnerAndParentFreeTheirControlsOnce) {
  win::VirtualDesktop desktop(400, 300);
  auto form = std::make_unique<TForm>(nullptr);
  auto* panel = new TBox(form.get(), form.get(), {0, 0, 100, 100}, clBlue);
  auto* unowned = new TBlock(nullptr, panel, {0, 0, 10, 10}, clRed);  // freed by its parent
  new TBlock(form.get(), panel, {0, 0, 10, 10}, clRed);               // freed once by its owner
  EXPECT_EQ(panel->ControlCount(), 2);
  EXPECT_EQ(unowned->Parent(), panel);
  form->Show();
  desktop.Pump();
  HWND h = panel->Handle();
  form.reset();
  EXPECT_FALSE(win::IsWindow(h));
}

TEST_F(FrameworkTest, ControlsWithoutAParentWindowRaiseAClearError) {
  auto* box = new TBox(app.get(), nullptr, {0, 0, 10, 10}, clRed);
  box->SetName("Lonely");
  try {
    box->Handle();
    FAIL();
  } catch (const Exception& e) {
    EXPECT_EQ(e.Message(), u"Control 'Lonely' has no parent window");
  }
}

// Points and pixels at the screen's 96 dots per inch, rounded as the platform's MulDiv.
TEST(FontSize, SizeInPointsAndHeightInPixelsFollowEachOther) {
  TFont f;
  struct Case {
    int height, size;
  } fromHeight[] = {{-13, 10}, {-19, 14}, {-16, 12}, {-11, 8}, {-1, 1}, {20, -15}};
  for (const Case& c : fromHeight) {
    f.SetHeight(c.height);
    EXPECT_EQ(f.Size(), c.size) << c.height;
  }
  int changes = 0;
  f.OnChange = [&] { ++changes; };
  f.SetSize(14);
  EXPECT_EQ(f.Height(), -19);
  f.SetSize(8);
  EXPECT_EQ(f.Height(), -11);
  EXPECT_EQ(changes, 2);
}

}  // namespace
}  // namespace fw::test
