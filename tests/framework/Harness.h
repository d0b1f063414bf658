// Shared pieces of the framework tests: a virtual desktop with an application, controls that
// paint one colour, and input helpers in screen coordinates.
#pragma once

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>

#include "TestOutput.h"
#include "framework/Application.h"
#include "framework/CustomControl.h"
#include "framework/Form.h"
#include "framework/GraphicControl.h"
#include "platform/gfx/PictureCodec.h"
#include "platform/win/Backend.h"
#include "platform/win/VirtualDesktop.h"

namespace fw::test {

// A windowless control that fills its bounds with its colour.
class TBlock : public TGraphicControl {
 public:
  TBlock(TComponent* owner, TWinControl* parent, TRect r, TColor color) : TGraphicControl(owner) {
    SetBounds(r.Left, r.Top, r.Width(), r.Height());
    SetColor(color);
    SetParent(parent);
  }

 protected:
  void Paint() override { Canvas().FillRect(ClientRect()); }
};

// A windowed control that fills its client area with its colour and can take the focus.
class TBox : public TCustomControl {
 public:
  TBox(TComponent* owner, TWinControl* parent, TRect r, TColor color) : TCustomControl(owner) {
    SetBounds(r.Left, r.Top, r.Width(), r.Height());
    SetColor(color);
    SetTabStop(true);
    SetParent(parent);
  }
};

class FrameworkTest : public ::testing::Test {
 protected:
  void SetUp() override { app = std::make_unique<TApplication>(); }
  void TearDown() override { app.reset(); }

  // A borderless form at (left, top) of the screen, shown.
  TForm* ShowForm(int left, int top, int width, int height) {
    auto* form = app->CreateForm<TForm>();
    form->SetBorderStyle(TFormBorderStyle::bsNone);
    form->SetBounds(left, top, width, height);
    form->Show();
    desktop.Pump();
    return form;
  }
  void Click(int x, int y) {
    win::InjectMouseMove({x, y});
    win::InjectMouseButton(0, true, {x, y});
    win::InjectMouseButton(0, false, {x, y});
    desktop.Pump();
  }
  void Move(int x, int y) {
    win::InjectMouseMove({x, y});
    desktop.Pump();
  }
  void Key(unsigned scanCode) {
    win::InjectKey(scanCode, true);
    win::InjectKey(scanCode, false);
    desktop.Pump();
  }
  // Writes what the screen shows to the test output folder, for people to look at.
  void SaveScreen(const std::string& name) {
    gfx::WriteFileBytes((tests::OutputFolder("framework") / (name + ".png")).string(),
                        gfx::EncodePng(desktop.Compose()));
  }
  gfx::COLORREF ScreenAt(int x, int y) { return gfx::ColorFromPixel(desktop.Compose().At(x, y)); }

  win::VirtualDesktop desktop{800, 600};
  std::unique_ptr<TApplication> app;
};

// Set-1 scan codes of the keys the tests press.
constexpr unsigned kTab = 0x0F, kEnter = 0x1C, kSpace = 0x39, kEscape = 0x01, kShift = 0x2A;

}  // namespace fw::test
