// Controls and a form that log every skin message they receive, for the delivery and
// broadcast tests: windowed controls with or without a registered skin handler, windowless
// ones, each with an optional action to run while it handles the message.
#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "framework/Application.h"
#include "framework/CustomControl.h"
#include "framework/Form.h"
#include "framework/GraphicControl.h"
#include "platform/win/Messages.h"
#include "platform/win/VirtualDesktop.h"
#include "platform/win/Window.h"
#include "skin/core/sMessages.h"
#include "skin/core/sVclUtils.h"

namespace skin::core::test {

// One skin message as a receiver saw it.
struct TReceipt {
  std::string Name;
  UINT Cmd = 0;
  bool Direct = false;    // came through the registered handler, not the window system
  bool Restrict = false;  // RestrictDrawing while it was handled
  LPARAM LParam = 0;
};

using Names = std::vector<std::string>;

inline std::vector<TReceipt> gReceipts;
inline bool gDirect = false;

// The names that received cmd, in order.
inline Names Receivers(UINT cmd) {
  Names names;
  for (const TReceipt& r : gReceipts)
    if (r.Cmd == cmd) names.push_back(r.Name);
  return names;
}

template <class Base>
class TRecorder : public Base {
 public:
  TRecorder(fw::TComponent* owner, fw::TWinControl* parent, const std::string& name) : Base(owner) {
    this->SetName(name);
    this->SetBounds(0, 0, 40, 20);
    if (parent) this->SetParent(parent);
  }
  // Runs while the control handles a skin message (after it is logged).
  std::function<void(const fw::TMessage&)> OnAlphaCmd;
  int Paints = 0;  // WM_PAINT messages handled

 protected:
  void WndProc(fw::TMessage& m) override {
    if (m.Msg == win::WM_PAINT) ++Paints;
    if (m.Msg != SM_ALPHACMD) return Base::WndProc(m);
    gReceipts.push_back({this->Name(), WParamHi(m.WParam), gDirect, RestrictDrawing, m.LParam});
    gDirect = false;
    AlphaCmd(m);
    if (OnAlphaCmd) OnAlphaCmd(m);
  }
  virtual void AlphaCmd(fw::TMessage&) {}
};

using TPlainBox = TRecorder<fw::TCustomControl>;  // windowed, unskinned
using TPlainForm = TRecorder<fw::TForm>;
using TGraphic = TRecorder<fw::TGraphicControl>;  // windowless

// A windowed control that registers its skin handler with its window, answers
// AC_CTRLHANDLED and passes the announcements on to its children, as skinned containers do.
class TSkinnedBox : public TRecorder<fw::TCustomControl> {
 public:
  using TRecorder::TRecorder;
  TacMessageHandler Handler;

 protected:
  void CreateWnd() override {
    TRecorder::CreateWnd();
    Handler.WndProc = [this](fw::TMessage& m) {
      gDirect = true;
      WindowProc(m);
    };
    win::SetPropW(Handle(), acDataProp, &Handler);
  }
  void AlphaCmd(fw::TMessage& m) override {
    const UINT cmd = WParamHi(m.WParam);
    if (cmd == AC_CTRLHANDLED) m.Result = 1;
    if (cmd == AC_SETNEWSKIN || cmd == AC_REMOVESKIN || cmd == AC_REFRESH) AlphaBroadCast(*this, m);
  }
};

class SkinMessageTest : public ::testing::Test {
 protected:
  void SetUp() override {
    gReceipts.clear();
    app = std::make_unique<fw::TApplication>();
  }
  void TearDown() override {
    app.reset();
    RestrictDrawing = false;
  }
  TPlainForm* NewForm(const std::string& name) {
    auto* form = new TPlainForm(app.get(), nullptr, name);
    form->SetBorderStyle(fw::TFormBorderStyle::bsNone);
    form->SetBounds(0, 0, 300, 200);
    return form;
  }

  win::VirtualDesktop desktop{800, 600};
  std::unique_ptr<fw::TApplication> app;
};

}  // namespace skin::core::test
