#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

#include "Harness.h"
#include "framework/Button.h"
#include "framework/DataModule.h"
#include "framework/Dialogs.h"
#include "framework/Exception.h"
#include "framework/Timer.h"
#include "platform/win/Input.h"
#include "platform/win/MessageQueue.h"
#include "platform/win/Styles.h"
#include "platform/win/Window.h"

namespace fw::test {
namespace {

std::vector<std::string>* gLog = nullptr;

// Forms and a module that log their creation; the first refers to the module by name.
class TMainForm : public TForm {
 public:
  explicit TMainForm(TComponent* owner) : TForm(owner) {
    OnCreate = [this](TComponent*) {
      gLog->push_back("main created, main form is " +
                      std::string(Application->MainForm() ? "set" : "unset"));
      if (FailOnCreate) throw Exception(u"Cannot open res.dat");
      gLog->push_back("main finished");
    };
    OnDestroy = [](TComponent*) { gLog->push_back("main destroyed"); };
  }
  static inline bool FailOnCreate = false;
};

class TModule : public TDataModule {
 public:
  explicit TModule(TComponent* owner) : TDataModule(owner) {
    OnCreate = [](TComponent*) { gLog->push_back("module created"); };
  }
};

class ApplicationTest : public FrameworkTest {
 protected:
  void SetUp() override {
    FrameworkTest::SetUp();
    gLog = &log;
    TMainForm::FailOnCreate = false;
    app->SetTitle(u"Catalogue");
  }
  void TearDown() override {
    FrameworkTest::TearDown();
    gLog = nullptr;
  }
  // Presses Enter when the loop next waits (closes a message box by its default button).
  void EnterLater(win::DWORD ms = 10) {
    desktop.Schedule(ms, [] {
      win::InjectKey(kEnter, true);
      win::InjectKey(kEnter, false);
    });
  }
  std::vector<std::string> log;
};

TEST_F(ApplicationTest, FormsAreCreatedInOrderAndTheFirstFormIsTheMainForm) {
  TMainForm* main = nullptr;
  app->Initialize();
  app->MainFormOnTaskBar = true;
  app->CreateForm(&main);
  app->CreateForm<TModule>();
  auto* second = app->CreateForm<TForm>();
  EXPECT_EQ(app->MainForm(), main);
  EXPECT_EQ(app->Forms(), (std::vector<TCustomForm*>{main, second}));
  EXPECT_FALSE(main->Visible());  // created hidden
  EXPECT_FALSE(second->HandleAllocated());
  EXPECT_EQ(log, (std::vector<std::string>{"main created, main form is unset", "main finished",
                                           "module created"}));
}

TEST_F(ApplicationTest, RunShowsTheMainFormAndEndsWhenItCloses) {
  TMainForm* main = nullptr;
  app->CreateForm(&main);
  main->SetPosition(TPosition::poScreenCenter);
  main->SetBounds(0, 0, 200, 100);
  int activated = 0;
  main->OnActivate = [&](TComponent*) { ++activated; };
  std::vector<std::string> closes;
  main->OnClose = [&](TComponent*, TCloseAction&) { closes.push_back("close"); };
  desktop.Schedule(50, [main] { win::PostMessageW(main->Handle(), win::WM_CLOSE, 0, 0); });
  // At the end the application window hears of its hide (listeners fade the main form out)
  // and of nothing else: it neither moved nor changed size.
  std::vector<win::UINT> afterHide;
  bool hidden = false;
  const TWndHookId hook = app->HookMainWindow([&](TMessage& m) {
    if (hidden) afterHide.push_back(m.Msg);
    if (m.Msg == win::WM_WINDOWPOSCHANGED &&
        (reinterpret_cast<const win::WINDOWPOS*>(m.LParam)->flags & win::SWP_HIDEWINDOW))
      hidden = true;
    return false;
  });
  app->Run();
  app->UnhookMainWindow(hook);
  EXPECT_TRUE(app->Terminated());
  EXPECT_EQ(closes.size(), 1u);
  EXPECT_EQ(activated, 1);
  EXPECT_EQ(main->BoundsRect(), (TRect{300, 250, 500, 350}));  // centred on 800 x 600
  EXPECT_TRUE(hidden);
  for (win::UINT msg : afterHide) {
    EXPECT_NE(msg, win::WM_MOVE);
    EXPECT_NE(msg, win::WM_SIZE);
  }
}

TEST_F(ApplicationTest, AnErrorInOnCreateIsShownAndStartUpGoesOn) {
  TMainForm::FailOnCreate = true;
  EnterLater();
  auto* main = app->CreateForm<TMainForm>();
  EXPECT_EQ(app->MainForm(), main);
  ASSERT_EQ(app->Messages().size(), 1u);
  EXPECT_EQ(app->Messages()[0].Title, u"Catalogue");
  EXPECT_EQ(app->Messages()[0].Text, u"Cannot open res.dat.");
  EXPECT_EQ(app->Messages()[0].Icon, TMsgDlgType::mtError);
  EXPECT_EQ(log, (std::vector<std::string>{"main created, main form is unset"}));
  EXPECT_EQ(app->Forms().size(), 1u);  // the box is gone again
}

TEST_F(ApplicationTest, HandlerErrorsShowTheInnermostMessageAndTheLoopGoesOn) {
  TForm* form = ShowForm(0, 0, 300, 200);
  auto* button = new TButton(form);
  button->SetBounds(10, 10, 80, 30);
  button->SetParent(form);
  int clicks = 0;
  button->OnClick = [&](TComponent*) {
    ++clicks;
    try {
      throw std::runtime_error("Invalid parameter.");
    } catch (...) {
      std::throw_with_nested(Exception(u"Query failed"));
    }
  };
  EnterLater();
  Click(20, 20);
  desktop.Pump();
  EnterLater();
  Click(20, 20);
  EXPECT_EQ(clicks, 2);
  ASSERT_EQ(app->Messages().size(), 2u);
  EXPECT_EQ(app->Messages()[1].Text, u"Invalid parameter.");  // no second full stop
  // OnException replaces the box.
  std::u16string seen;
  app->OnException = [&](TComponent*, const std::exception& e) { seen = InnermostMessage(e); };
  Click(20, 20);
  EXPECT_EQ(seen, u"Invalid parameter.");
  EXPECT_EQ(app->Messages().size(), 2u);
}

TEST_F(ApplicationTest, MessageDialogsAreModalFormsWithButtons) {
  TForm* form = ShowForm(0, 0, 300, 200);
  // Esc picks the cancel button; Enter the default (first) one; a click any other.
  desktop.Schedule(10, [] {
    win::InjectKey(kEscape, true);
    win::InjectKey(kEscape, false);
  });
  EXPECT_EQ(MessageDlg(u"Delete?", TMsgDlgType::mtConfirmation,
                       {TMsgDlgBtn::mbYes, TMsgDlgBtn::mbNo, TMsgDlgBtn::mbCancel}),
            mrCancel);
  EnterLater();
  EXPECT_EQ(
      MessageDlg(u"Delete?", TMsgDlgType::mtConfirmation, {TMsgDlgBtn::mbYes, TMsgDlgBtn::mbNo}),
      mrYes);
  // While the box is up, the form below takes no input.
  TModalResult result = mrNone;
  bool formEnabledMeanwhile = true;
  desktop.Schedule(10, [&] {
    formEnabledMeanwhile = win::IsWindowEnabled(form->Handle());
    SaveScreen("message-box");
    TCustomForm* box = app->Forms().back();
    TControl* no = nullptr;
    for (int i = 0; i < box->ControlCount(); ++i)
      if (box->Controls(i)->Caption() == u"No") no = box->Controls(i);
    TPoint p = no->ClientToScreen({5, 5});
    win::InjectMouseButton(0, true, p);
    win::InjectMouseButton(0, false, p);
  });
  result = MessageDlg(u"Delete?", TMsgDlgType::mtWarning, {TMsgDlgBtn::mbYes, TMsgDlgBtn::mbNo});
  EXPECT_EQ(result, mrNo);
  EXPECT_FALSE(formEnabledMeanwhile);
  EXPECT_TRUE(win::IsWindowEnabled(form->Handle()));
  ASSERT_EQ(app->Messages().size(), 3u);
  EXPECT_EQ(app->Messages()[2].Title, u"Warning");
  EXPECT_EQ(app->Messages()[2].Icon, TMsgDlgType::mtWarning);
  EnterLater();
  ShowMessage(u"Done");
  EXPECT_EQ(app->Messages()[3].Title, u"Catalogue");
}

TEST_F(ApplicationTest, ErrorsOfDestroyAndTimerHandlersReachTheApplication) {
  std::vector<std::u16string> errors;
  app->OnException = [&](TComponent*, const std::exception& e) {
    errors.push_back(InnermostMessage(e));
  };
  auto* form = new TForm(app.get());
  form->OnDestroy = [](TComponent*) { throw Exception(u"form"); };
  auto* module = new TDataModule(app.get());
  module->OnDestroy = [](TComponent*) { throw Exception(u"module"); };
  delete form;
  delete module;
  // A timer that frees itself in its handler and then fails.
  auto* timer = new TTimer(app.get());
  timer->SetInterval(10);
  timer->SetOnTimer([timer](TComponent*) {
    delete timer;
    throw Exception(u"timer");
  });
  desktop.Advance(50);
  EXPECT_EQ(errors, (std::vector<std::u16string>{u"form", u"module", u"timer"}));
  // Without an application a failing OnCreate propagates; a failing OnDestroy is dropped.
  app.reset();
  TDataModule alone(nullptr);
  alone.OnCreate = [](TComponent*) { throw Exception(u"create"); };
  EXPECT_THROW(alone.AfterConstruction(), Exception);
  alone.OnDestroy = [](TComponent*) { throw Exception(u"destroy"); };
}

TEST_F(ApplicationTest, EveryDialogButtonSaysAndAnswersItsOwn) {
  using B = TMsgDlgBtn;
  TForm* box = CreateMessageDialog(
      u"All", u"Buttons", TMsgDlgType::mtCustom,
      {B::mbYes, B::mbNo, B::mbOK, B::mbCancel, B::mbAbort, B::mbRetry, B::mbIgnore});
  std::vector<std::pair<std::u16string, TModalResult>> buttons;
  for (int i = 0; i < box->ControlCount(); ++i)
    if (auto* b = dynamic_cast<TButton*>(box->Controls(i)))
      buttons.emplace_back(b->Caption(), b->ModalResult());
  EXPECT_EQ(buttons, (std::vector<std::pair<std::u16string, TModalResult>>{{u"Yes", mrYes},
                                                                           {u"No", mrNo},
                                                                           {u"OK", mrOk},
                                                                           {u"Cancel", mrCancel},
                                                                           {u"Abort", mrAbort},
                                                                           {u"Retry", mrRetry},
                                                                           {u"Ignore", mrIgnore}}));
  delete box;
}

TEST_F(ApplicationTest, ToolWindowFormsHaveTheirFrameAndKeepTheirConstraints) {
  auto* form = app->CreateForm<TForm>();
  form->SetBorderStyle(TFormBorderStyle::bsToolWindow);
  form->SetConstraints({1280, 750, 1280, 750});
  EXPECT_EQ(form->Width(), 1280);
  form->SetBounds(0, 0, 900, 900);
  EXPECT_EQ(form->BoundsRect(), (TRect{0, 0, 1280, 750}));
  form->Show();
  desktop.Pump();
  win::DWORD style = win::DWORD(win::GetWindowLongPtrW(form->Handle(), win::GWL_STYLE));
  win::DWORD exStyle = win::DWORD(win::GetWindowLongPtrW(form->Handle(), win::GWL_EXSTYLE));
  EXPECT_TRUE(exStyle & win::WS_EX_TOOLWINDOW);
  EXPECT_TRUE(style & win::WS_SYSMENU);
  EXPECT_FALSE(style & (win::WS_THICKFRAME | win::WS_MAXIMIZEBOX | win::WS_MINIMIZEBOX));
  win::RECT r;
  win::GetWindowRect(form->Handle(), &r);
  EXPECT_EQ(r.Width(), 1280);
  EXPECT_EQ(r.Height(), 750);
  // The title bar's buttons follow BorderIcons, also on a window that exists.
  auto styleOf = [&] { return win::DWORD(win::GetWindowLongPtrW(form->Handle(), win::GWL_STYLE)); };
  form->SetBorderIcons(0);
  EXPECT_FALSE(styleOf() & win::WS_SYSMENU);
  form->SetBorderStyle(TFormBorderStyle::bsSingle);
  form->SetBorderIcons(biSystemMenu | biMinimize);
  EXPECT_TRUE(styleOf() & win::WS_MINIMIZEBOX);
  EXPECT_FALSE(styleOf() & win::WS_MAXIMIZEBOX);
  form->SetBorderIcons(biMinimize | biMaximize);  // no boxes without the system menu
  EXPECT_FALSE(styleOf() & (win::WS_SYSMENU | win::WS_MINIMIZEBOX | win::WS_MAXIMIZEBOX));
  form->SetBorderIcons(biSystemMenu | biHelp);
  EXPECT_TRUE(win::GetWindowLongPtrW(form->Handle(), win::GWL_EXSTYLE) & win::WS_EX_CONTEXTHELP);
  EXPECT_TRUE(win::IsWindowVisible(form->Handle()));
  // A close that is refused leaves the form alone; a second form only hides.
  auto* second = app->CreateForm<TForm>();
  second->Show();
  bool allow = false;
  second->OnCloseQuery = [&](TComponent*, bool& can) { can = allow; };
  second->Close();
  EXPECT_TRUE(second->Visible());
  allow = true;
  second->Close();
  EXPECT_FALSE(second->Visible());
  EXPECT_FALSE(app->Terminated());
}

}  // namespace
}  // namespace fw::test
