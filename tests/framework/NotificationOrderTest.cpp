// The order of the framework's notices around showing, sizing and activation, as hooks see
// them; the application's and utility windows; the form's state fields; Delay.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "Harness.h"
#include "framework/Reader.h"
#include "framework/TextConv.h"
#include "framework/Timer.h"
#include "platform/win/Input.h"
#include "platform/win/MessageQueue.h"
#include "platform/win/Paint.h"
#include "platform/win/Styles.h"
#include "platform/win/SystemMetrics.h"
#include "platform/win/Window.h"

namespace fw::test {
namespace {

using Names = std::vector<std::string>;

class NotificationOrderTest : public FrameworkTest {
 protected:
  TForm* NewForm(int left, int top, int width, int height) {
    auto* form = app->CreateForm<TForm>();
    form->SetBounds(left, top, width, height);
    return form;
  }
  Names log;
};

TEST_F(NotificationOrderTest, TheWindowShowsInsideTheDefaultHandlingOfShowingChanged) {
  TForm* form = NewForm(10, 10, 200, 150);
  auto* child = new TBox(form, form, {0, 0, 40, 40}, clRed);
  auto state = [&](const std::string& when) {
    HWND h = form->HandleAllocated() ? form->Handle() : nullptr;
    log.push_back(when + (form->Showing() ? " showing" : " hidden") +
                  (win::IsWindowVisible(h) ? " visible" : " invisible") +
                  (win::GetActiveWindow() == h && form->Active() ? " active" : ""));
  };
  form->OnShow = [&](TComponent*) { state("OnShow"); };
  form->OnHide = [&](TComponent*) { state("OnHide"); };
  const TWndHookId formHook = form->HookWindowProc([&](TMessage& m, const TWndNext& next) {
    if (m.Msg != CM_SHOWINGCHANGED) return next(m);
    state("before");
    next(m);
    state("after");
  });
  child->HookWindowProc([&](TMessage& m, const TWndNext& next) {
    if (m.Msg == CM_SHOWINGCHANGED)
      log.push_back(child->Showing() ? "child showing" : "child hidden");
    next(m);
  });
  form->Show();
  EXPECT_EQ(log, (Names{"child showing", "before showing invisible", "OnShow showing invisible",
                        "after showing visible active"}));
  EXPECT_TRUE(win::IsWindowVisible(child->Handle()));

  log.clear();
  form->Hide();
  EXPECT_EQ(log, (Names{"before hidden visible active", "OnHide hidden visible active",
                        "after hidden invisible", "child hidden"}));
  // The child's window keeps its own flag and comes back with the form.
  EXPECT_TRUE(win::GetWindowLongPtrW(child->Handle(), win::GWL_STYLE) & win::WS_VISIBLE);
  child->Hide();
  form->Show();
  EXPECT_FALSE(child->Showing());
  EXPECT_FALSE(win::IsWindowVisible(child->Handle()));
  // The hook asks the form for form state, which a form being destroyed no longer has.
  form->UnhookWindowProc(formHook);
  delete form;  // the child's hook uses this test's locals
}

// Coming to show, the innermost controls hear it first, each while its window cannot yet be
// seen; going, the outermost first. A child never shows without its parent.
TEST_F(NotificationOrderTest, ChildrenHearOfShowingBeforeTheirParentAndOfHidingAfterIt) {
  TForm* form = NewForm(10, 10, 200, 150);
  auto* outer = new TBox(form, form, {0, 0, 120, 100}, clRed);
  auto* inner = new TBox(form, outer, {10, 10, 40, 40}, clBlue);
  auto* sibling = new TBox(form, form, {130, 0, 40, 40}, clGreen);
  auto listen = [&](TWinControl* c, const std::string& name) {
    return c->HookWindowProc([&, c, name](TMessage& m, const TWndNext& next) {
      if (m.Msg == CM_SHOWINGCHANGED) {
        const bool parentShowing = !c->Parent() || c->Parent()->Showing();
        log.push_back(name + (c->Showing() ? " showing" : " hidden") +
                      (win::IsWindowVisible(form->Handle()) ? " form visible" : "") +
                      (c->Showing() && !parentShowing ? " orphan" : ""));
      }
      next(m);
    });
  };
  const TWndHookId hooks[] = {listen(form, "form"), listen(outer, "outer"),
                              listen(inner, "inner"), listen(sibling, "sibling")};
  form->Show();
  EXPECT_EQ(log, (Names{"inner showing", "outer showing", "sibling showing", "form showing"}));
  log.clear();
  form->Hide();
  EXPECT_EQ(log, (Names{"form hidden form visible", "outer hidden", "inner hidden",
                        "sibling hidden"}));
  // Within a showing form, a panel shown again brings its child before itself.
  form->Show();
  outer->Hide();
  log.clear();
  outer->Show();
  EXPECT_EQ(log, (Names{"inner showing form visible", "outer showing form visible"}));
  EXPECT_TRUE(inner->Showing());
  log.clear();
  outer->Hide();
  EXPECT_EQ(log, (Names{"outer hidden form visible", "inner hidden form visible"}));
  EXPECT_FALSE(inner->Showing());
  form->UnhookWindowProc(hooks[0]);
  outer->UnhookWindowProc(hooks[1]);
  inner->UnhookWindowProc(hooks[2]);
  sibling->UnhookWindowProc(hooks[3]);
  delete form;
}

TEST_F(NotificationOrderTest, AChildsFailingShowingNoticeLeavesTheParentAndItsChildrenHidden) {
  TForm* form = NewForm(10, 10, 200, 150);
  auto* panel = new TBox(form, form, {0, 0, 120, 100}, clRed);
  auto* calm = new TBox(form, panel, {10, 10, 40, 40}, clBlue);
  auto* failing = new TBox(form, panel, {60, 10, 40, 40}, clGreen);
  form->Show();
  panel->Hide();
  bool fail = true;
  const TWndHookId hook = failing->HookWindowProc([&](TMessage& m, const TWndNext& next) {
    if (m.Msg == CM_SHOWINGCHANGED && failing->Showing() && fail) throw Exception(u"refused");
    next(m);
  });
  EXPECT_THROW(panel->Show(), Exception);
  // Nobody says it shows without having been told so.
  EXPECT_FALSE(panel->Showing());
  EXPECT_FALSE(calm->Showing());
  EXPECT_FALSE(failing->Showing());
  fail = false;
  panel->Hide();
  panel->Show();
  EXPECT_TRUE(panel->Showing());
  EXPECT_TRUE(calm->Showing());
  EXPECT_TRUE(failing->Showing());
  failing->UnhookWindowProc(hook);
  delete form;
}

TEST_F(NotificationOrderTest, BoundsAreCurrentInsideWmSizeAfterMaximiseAndDragResize) {
  TForm* form = NewForm(100, 100, 300, 200);
  form->Show();
  desktop.Pump();
  std::vector<std::pair<int, int>> seen;    // Width(), Height() inside each WM_SIZE
  std::vector<std::pair<int, int>> window;  // the window's size then
  form->HookWindowProc([&](TMessage& m, const TWndNext& next) {
    if (m.Msg == win::WM_SIZE && m.WParam != win::SIZE_MINIMIZED) {
      win::RECT r;
      win::GetWindowRect(form->Handle(), &r);
      seen.emplace_back(form->Width(), form->Height());
      window.emplace_back(r.Width(), r.Height());
    }
    next(m);
  });

  // The user maximises: the state follows the window.
  win::SendMessageW(form->Handle(), win::WM_SYSCOMMAND, win::SC_MAXIMIZE, 0);
  ASSERT_EQ(seen.size(), 1u);
  EXPECT_EQ(seen, window);
  EXPECT_GT(form->Width(), 700);
  EXPECT_EQ(form->WindowState(), TWindowState::wsMaximized);
  form->SetWindowState(TWindowState::wsNormal);
  EXPECT_EQ(form->Width(), 300);
  // Minimised, the form keeps the bounds it returns to.
  form->SetWindowState(TWindowState::wsMinimized);
  EXPECT_TRUE(win::IsIconic(form->Handle()));
  EXPECT_EQ(form->BoundsRect(), gfx::RectOfSize(100, 100, 300, 200));
  win::ShowWindow(form->Handle(), win::SW_RESTORE);
  EXPECT_EQ(form->WindowState(), TWindowState::wsNormal);

  // The user drags the bottom-right corner of the frame.
  seen.clear();
  window.clear();
  desktop.Pump();
  win::InjectMouseMove({399, 299});
  win::InjectMouseButton(0, true, {399, 299});
  desktop.Schedule(10, [] {
    win::InjectMouseMove({439, 329});
    win::InjectMouseButton(0, false, {439, 329});
  });
  desktop.Pump();
  ASSERT_FALSE(seen.empty());
  EXPECT_EQ(seen, window);
  EXPECT_EQ(seen.back(), std::make_pair(340, 230));
  delete form;
}

TEST_F(NotificationOrderTest, TheApplicationHearsActivationThroughItsWindow) {
  EXPECT_EQ(win::GetClassNameW(app->Handle()), u"TApplication");
  EXPECT_FALSE(win::IsWindowVisible(app->Handle()));
  app->OnActivate = [&](TComponent*) { log.push_back("OnActivate"); };
  app->OnDeactivate = [&](TComponent*) { log.push_back("OnDeactivate"); };
  bool swallow = false;
  TWndHookId hook = app->HookMainWindow([&](TMessage& m) {
    if (m.Msg == win::WM_ACTIVATEAPP) log.push_back(m.WParam ? "app active" : "app inactive");
    if (m.Msg == CM_ACTIVATE) log.push_back("CM_ACTIVATE");
    if (m.Msg == CM_DEACTIVATE) log.push_back("CM_DEACTIVATE");
    return swallow && m.Msg == CM_ACTIVATE;
  });
  TForm* form = NewForm(0, 0, 100, 100);
  form->Show();
  EXPECT_TRUE(app->Active());
  desktop.Pump();  // the notices are posted
  form->Hide();    // nothing else can be activated
  EXPECT_FALSE(app->Active());
  desktop.Pump();
  EXPECT_EQ(log, (Names{"app active", "CM_ACTIVATE", "OnActivate", "app inactive", "CM_DEACTIVATE",
                        "OnDeactivate"}));

  // A filter that answers true keeps the notice from the application.
  log.clear();
  swallow = true;
  form->Show();
  desktop.Pump();
  EXPECT_EQ(log, (Names{"app active", "CM_ACTIVATE"}));
  app->UnhookMainWindow(hook);
}

TEST_F(NotificationOrderTest, InvalidateAndRecreateGoThroughTheirNotices) {
  TForm* form = NewForm(0, 0, 200, 150);
  auto* panel = new TBox(form, form, {0, 0, 100, 100}, clRed);
  auto* inner = new TBox(form, panel, {10, 10, 30, 30}, clBlue);
  auto* block = new TBlock(form, panel, {40, 40, 50, 50}, clGreen);
  form->Show();
  desktop.Pump();
  auto record = [&](TControl* c, const std::string& name) {
    c->HookWindowProc([&, name](TMessage& m, const TWndNext& next) {
      if (m.Msg == CM_INVALIDATE) log.push_back(name + " invalidate " + std::to_string(m.WParam));
      if (m.Msg == CM_RECREATEWND) log.push_back(name + " recreate");
      next(m);
    });
  };
  record(form, "form");
  record(panel, "panel");
  record(block, "block");
  inner->Invalidate();
  block->Invalidate();
  EXPECT_EQ(log, (Names{"panel invalidate 1", "form invalidate 1", "block invalidate 0"}));
  win::RECT dirty;
  EXPECT_TRUE(win::GetUpdateRect(panel->Handle(), &dirty, false));
  EXPECT_EQ(dirty, gfx::RectOfSize(40, 40, 10, 10));

  log.clear();
  inner->SetFocus();
  HWND old = panel->Handle(), oldInner = inner->Handle();
  panel->RecreateWnd();
  EXPECT_EQ(log, Names{"panel recreate"});
  EXPECT_FALSE(win::IsWindow(old));
  EXPECT_NE(panel->Handle(), old);
  EXPECT_NE(inner->Handle(), oldInner);
  EXPECT_TRUE(panel->Showing());
  EXPECT_TRUE(inner->Showing());
  EXPECT_TRUE(win::IsWindowVisible(inner->Handle()));
  EXPECT_EQ(win::GetParent(inner->Handle()), panel->Handle());
  desktop.Pump();
  TPoint p = inner->ClientToScreen({5, 5});
  EXPECT_EQ(ScreenAt(p.X, p.Y), gfx::RGB(0, 0, 255));

  // A form made again shows again, without telling OnShow it was shown anew.
  int shows = 0;
  form->OnShow = [&shows](TComponent*) { ++shows; };
  HWND oldForm = form->Handle();
  form->RecreateWnd();
  EXPECT_NE(form->Handle(), oldForm);
  EXPECT_TRUE(win::IsWindowVisible(form->Handle()));
  EXPECT_TRUE(win::IsWindowVisible(inner->Handle()));
  EXPECT_EQ(shows, 0);
  form->OnShow = nullptr;
}

TEST_F(NotificationOrderTest, SettingsFontsAndDirectionReachEveryControl) {
  TForm* form = NewForm(0, 0, 200, 150);
  auto* panel = new TBox(form, form, {0, 0, 100, 100}, clRed);
  auto* block = new TBlock(form, panel, {40, 40, 50, 50}, clGreen);
  form->Show();
  for (auto [c, name] : {std::pair<TControl*, std::string>{panel, "panel"}, {block, "block"}})
    c->HookWindowProc([&, name](TMessage& m, const TWndNext& next) {
      if (m.Msg == CM_WININICHANGE) log.push_back(name + " settings " + std::to_string(m.WParam));
      if (m.Msg == CM_SYSFONTCHANGED) log.push_back(name + " fonts");
      if (m.Msg == CM_BIDIMODECHANGED) log.push_back(name + " bidi");
      next(m);
    });
  win::SendMessageW(form->Handle(), win::WM_SETTINGCHANGE, 0x2F, 0);
  win::SendMessageW(form->Handle(), win::WM_FONTCHANGE, 0, 0);
  block->SetBiDiMode(TBiDiMode::bdRightToLeft);
  block->SetBiDiMode(TBiDiMode::bdRightToLeft);
  EXPECT_EQ(log, (Names{"panel settings 47", "block settings 47", "panel fonts", "block fonts",
                        "block bidi"}));
}

TEST_F(NotificationOrderTest, DelayWaitsOnTheWindowSystemClockWhileHandlingMessages) {
  auto* timer = new TTimer(app.get());
  int ticks = 0;
  timer->SetInterval(100);
  timer->SetOnTimer([&](TComponent*) { ++ticks; });
  // The timer's window is a utility window.
  Names classes;
  win::EnumWindows(
      [&](HWND h, win::LPARAM) {
        classes.push_back(Utf16ToUtf8(win::GetClassNameW(h)));
        return true;
      },
      0);
  EXPECT_NE(std::find(classes.begin(), classes.end(), "TPUtilWindow"), classes.end());

  win::DWORD start = win::GetTickCount();
  Delay(250);
  EXPECT_EQ(win::GetTickCount() - start, 250u);  // the virtual clock stops at the end
  EXPECT_EQ(ticks, 2);
  delete timer;
}

TEST_F(NotificationOrderTest, FormStateFieldsReachTheWindowAndComeFromDescriptions) {
  TForm* form = NewForm(0, 0, 100, 100);
  ReadComponentText(form, R"(object Form7: TForm
  Color = clWhite
  BorderStyle = bsNone
  AlphaBlend = True
  AlphaBlendValue = 128
  FormStyle = fsStayOnTop
  WindowState = wsMaximized
  BiDiMode = bdRightToLeft
end
)",
                    "Unit7.txt", ".");
  EXPECT_EQ(form->BiDiMode(), TBiDiMode::bdRightToLeft);
  form->Show();
  desktop.Pump();
  HWND h = form->Handle();
  EXPECT_TRUE(win::IsZoomed(h));
  EXPECT_TRUE(win::GetWindowLongPtrW(h, win::GWL_EXSTYLE) & win::WS_EX_TOPMOST);
  // Half white over the desktop's colour.
  gfx::COLORREF back = win::GetSysColor(win::COLOR_BACKGROUND);
  gfx::COLORREF seen = ScreenAt(400, 300);
  EXPECT_NEAR(gfx::GetRValue(seen), (255 + gfx::GetRValue(back)) / 2, 1);
  EXPECT_NEAR(gfx::GetBValue(seen), (255 + gfx::GetBValue(back)) / 2, 1);
  form->SetAlphaBlend(false);
  desktop.Pump();
  EXPECT_EQ(ScreenAt(400, 300), gfx::RGB(255, 255, 255));
  form->SetFormStyle(TFormStyle::fsNormal);
  EXPECT_FALSE(win::GetWindowLongPtrW(h, win::GWL_EXSTYLE) & win::WS_EX_TOPMOST);

  // The icon goes to the window.
  std::vector<std::pair<win::WPARAM, win::LPARAM>> icons;
  form->HookWindowProc([&](TMessage& m, const TWndNext& next) {
    if (m.Msg == win::WM_SETICON) icons.emplace_back(m.WParam, m.LParam);
    next(m);
  });
  gfx::ICONINFO ii;
  ii.hbmColor = std::make_shared<gfx::Bitmap>(16, 16);
  ii.hbmMask = std::make_shared<gfx::Bitmap8>(16, 16);
  gfx::HICON icon = gfx::CreateIconIndirect(ii);
  form->Icon().SetHandle(icon);
  ASSERT_EQ(icons.size(), 1u);
  EXPECT_EQ(icons[0].first, win::ICON_BIG);
  EXPECT_EQ(icons[0].second, reinterpret_cast<win::LPARAM>(icon));
  delete form;
}

}  // namespace
}  // namespace fw::test
