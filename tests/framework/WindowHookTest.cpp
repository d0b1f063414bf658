// Hooks with identity: on a control's WindowProc (tokens, removal in any order, "still mine")
// and on the application window (HookMainWindow).
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "Harness.h"
#include "platform/win/MessageQueue.h"
#include "platform/win/Paint.h"
#include "platform/win/Styles.h"
#include "platform/win/Window.h"

namespace fw::test {
namespace {

constexpr UINT kProbe = win::WM_USER + 1;

class WindowHookTest : public FrameworkTest {
 protected:
  void SetUp() override {
    FrameworkTest::SetUp();
    form = ShowForm(0, 0, 200, 100);
    box = new TBox(form, form, {0, 0, 50, 50}, clBlue);
  }
  // A hook that logs its name for the probe message and passes everything on.
  TWndHookId Logging(TControl* c, const std::string& name) {
    return c->HookWindowProc([this, name](TMessage& m, const TWndNext& next) {
      if (m.Msg == kProbe) log.push_back(name);
      next(m);
    });
  }
  // The hooks the probe passes on its way, in order.
  std::vector<std::string> Probe(TControl* c) {
    log.clear();
    c->Perform(kProbe, 0, 0);
    return log;
  }
  TForm* form = nullptr;
  TBox* box = nullptr;
  std::vector<std::string> log;
};

using Names = std::vector<std::string>;

TEST_F(WindowHookTest, HooksComeOffInAnyOrderAndOnlyByTheirToken) {
  TWndHookId a = Logging(box, "a");
  TWndHookId b = Logging(box, "b");
  TWndHookId c = Logging(box, "c");
  EXPECT_EQ(Probe(box), (Names{"c", "b", "a"}));
  EXPECT_EQ(box->TopWindowProcHook(), c);

  // The first one leaves from under the others: they still pass messages through.
  EXPECT_TRUE(box->UnhookWindowProc(a));
  EXPECT_FALSE(box->WindowProcHooked(a));
  EXPECT_EQ(Probe(box), (Names{"c", "b"}));
  // A stale token, or another control's, removes nothing.
  EXPECT_FALSE(box->UnhookWindowProc(a));
  TWndHookId other = Logging(form, "form");
  EXPECT_FALSE(box->UnhookWindowProc(other));
  EXPECT_EQ(Probe(box), (Names{"c", "b"}));

  // "Still mine at the top?": b is installed but c came later.
  EXPECT_TRUE(box->WindowProcHooked(b));
  EXPECT_NE(box->TopWindowProcHook(), b);
  EXPECT_TRUE(box->UnhookWindowProc(c));
  EXPECT_EQ(box->TopWindowProcHook(), b);
  // A hook installed after removals still goes on top.
  TWndHookId d = Logging(box, "d");
  EXPECT_EQ(Probe(box), (Names{"d", "b"}));
  EXPECT_TRUE(box->UnhookWindowProc(b));
  EXPECT_TRUE(box->UnhookWindowProc(d));
  EXPECT_EQ(box->TopWindowProcHook(), 0u);
  EXPECT_EQ(Probe(box), Names{});

  // Window messages take the same way as Perform.
  TWndHookId e = Logging(box, "e");
  win::SendMessageW(box->Handle(), kProbe, 0, 0);
  EXPECT_EQ(log, Names{"e"});
  box->UnhookWindowProc(e);
}

TEST_F(WindowHookTest, AHookRemovedWhileItRunsStillReachesTheHooksBelow) {
  Logging(box, "a");
  TWndHookId b = 0;
  b = box->HookWindowProc([&](TMessage& m, const TWndNext& next) {
    if (m.Msg == kProbe) {
      log.push_back("b");
      EXPECT_TRUE(box->UnhookWindowProc(b));
    }
    next(m);
  });
  EXPECT_EQ(Probe(box), (Names{"b", "a"}));
  EXPECT_EQ(Probe(box), (Names{"a"}));

  // A hook that takes the one below it out passes straight to the control.
  TWndHookId below = Logging(box, "below");
  box->HookWindowProc([&, below](TMessage& m, const TWndNext& next) {
    if (m.Msg == kProbe) {
      log.push_back("top");
      box->UnhookWindowProc(below);
    }
    next(m);
  });
  EXPECT_EQ(Probe(box), (Names{"top", "a"}));
  delete form;  // its hooks use this test's locals
}

TEST_F(WindowHookTest, HooksAroundTheDefaultHandlingSeeItsEffect) {
  // Invalidate goes through CM_INVALIDATE: before the default handling nothing is invalid yet,
  // after it the window waits for its paint.
  std::vector<bool> invalidated;
  box->HookWindowProc([&](TMessage& m, const TWndNext& next) {
    if (m.Msg != CM_INVALIDATE) return next(m);
    desktop.Pump();
    invalidated.push_back(win::GetUpdateRect(box->Handle(), nullptr, false));
    next(m);
    invalidated.push_back(win::GetUpdateRect(box->Handle(), nullptr, false));
  });
  box->Invalidate();
  EXPECT_EQ(invalidated, (std::vector<bool>{false, true}));
  delete form;
}

TEST_F(WindowHookTest, ApplicationWindowHooksFilterNewestFirst) {
  std::vector<std::string> seen;
  TWndHookId older = app->HookMainWindow([&](TMessage& m) {
    if (m.Msg == kProbe) seen.push_back("older");
    return false;
  });
  TWndHookId newer = app->HookMainWindow([&](TMessage& m) {
    if (m.Msg != kProbe) return false;
    seen.push_back("newer");
    return m.WParam == 1;  // swallows the probes marked 1
  });
  win::SendMessageW(app->Handle(), kProbe, 0, 0);
  win::SendMessageW(app->Handle(), kProbe, 1, 0);
  EXPECT_EQ(seen, (Names{"newer", "older", "newer"}));

  seen.clear();
  EXPECT_TRUE(app->UnhookMainWindow(newer));
  EXPECT_FALSE(app->UnhookMainWindow(newer));
  win::SendMessageW(app->Handle(), kProbe, 1, 0);
  EXPECT_EQ(seen, Names{"older"});
  EXPECT_TRUE(app->UnhookMainWindow(older));
}

// The main form's minimise, and its restore from minimised, reach the application window's
// filters; unhandled, the application does them (OnMinimize, OnRestore). A form that is not the
// main form, or a main form on the taskbar, keeps its commands.
TEST_F(WindowHookTest, TheMainFormsMinimiseAndRestoreReachTheApplicationWindow) {
  ASSERT_EQ(app->MainForm(), form);
  std::vector<win::WPARAM> seen;
  bool swallow = false;
  TWndHookId spy = app->HookMainWindow([&](TMessage& m) {
    if (m.Msg != win::WM_SYSCOMMAND) return false;
    seen.push_back(m.WParam & 0xFFF0);
    return swallow;
  });
  int minimized = 0, restored = 0;
  app->OnMinimize = [&](TComponent* sender) {
    EXPECT_EQ(sender, app.get());
    ++minimized;
  };
  app->OnRestore = [&](TComponent*) { ++restored; };
  const win::HWND h = form->Handle();
  win::SendMessageW(h, win::WM_SYSCOMMAND, win::SC_MINIMIZE, 0);
  EXPECT_TRUE(win::IsIconic(h));
  EXPECT_EQ(minimized, 1);
  win::SendMessageW(h, win::WM_SYSCOMMAND, win::SC_RESTORE, 0);
  EXPECT_FALSE(win::IsIconic(h));
  EXPECT_EQ(restored, 1);
  EXPECT_EQ(seen, (std::vector<win::WPARAM>{win::SC_MINIMIZE, win::SC_RESTORE}));
  // A filter that handles the command stops it there.
  swallow = true;
  win::SendMessageW(h, win::WM_SYSCOMMAND, win::SC_MINIMIZE, 0);
  EXPECT_FALSE(win::IsIconic(h));
  EXPECT_EQ(minimized, 1);
  swallow = false;
  // Restoring from maximised, and other commands, stay the form's.
  seen.clear();
  win::SendMessageW(h, win::WM_SYSCOMMAND, win::SC_MAXIMIZE, 0);
  EXPECT_TRUE(win::IsZoomed(h));
  win::SendMessageW(h, win::WM_SYSCOMMAND, win::SC_RESTORE, 0);
  EXPECT_FALSE(win::IsZoomed(h));
  EXPECT_TRUE(seen.empty());
  // Another form, and the main form on the taskbar, minimise by themselves.
  TForm* other = ShowForm(300, 0, 100, 100);
  win::SendMessageW(other->Handle(), win::WM_SYSCOMMAND, win::SC_MINIMIZE, 0);
  EXPECT_TRUE(win::IsIconic(other->Handle()));
  app->MainFormOnTaskBar = true;
  win::SendMessageW(h, win::WM_SYSCOMMAND, win::SC_MINIMIZE, 0);
  EXPECT_TRUE(win::IsIconic(h));
  EXPECT_TRUE(seen.empty());
  EXPECT_EQ(minimized, 1);
  app->UnhookMainWindow(spy);
}

}  // namespace
}  // namespace fw::test
