// The program's windows on a virtual desktop big enough for the main window: a fixture that
// creates them as the program does, on the catalogue of a given folder.
#pragma once

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <memory>
#include <string>

#include "TestOutput.h"
#include "app/Configuration.h"
#include "app/Unit1.h"
#include "app/Unit2.h"
#include "app/Unit3.h"
#include "framework/Application.h"
#include "platform/gfx/PictureCodec.h"
#include "platform/win/VirtualDesktop.h"

namespace app::test {

// Today as the status line shows it with no locale chosen: the Russian short date.
inline std::u16string Today() {
  const std::time_t now = std::time(nullptr);
  std::tm t{};
  localtime_r(&now, &t);
  char text[32];
  std::snprintf(text, sizeof text, "%02d.%02d.%04d", t.tm_mday, t.tm_mon + 1, t.tm_year + 1900);
  return std::u16string(text, text + std::char_traits<char>::length(text));
}

// Whether a date the program read after Today() gave before is today's: a run across midnight
// may show either day.
inline ::testing::AssertionResult ShowsToday(const std::u16string& shown,
                                             const std::u16string& before) {
  const std::u16string after = Today();
  if (shown == before || shown == after) return ::testing::AssertionSuccess();
  return ::testing::AssertionFailure()
         << ::testing::PrintToString(shown) << " is not " << ::testing::PrintToString(after);
}

// A desktop that holds the whole main window.
class FormsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    app = std::make_unique<fw::TApplication>();
    app->SetTitle(u"catalogue");
  }
  void TearDown() override {
    app.reset();
    OverrideCatalogueFolder("");
    Form1 = nullptr;
    Form3 = nullptr;
    DataModule2 = nullptr;
  }
  // Creates the program's three objects in its order, on the catalogue of folder.
  void Start(const std::string& folder) {
    OverrideCatalogueFolder(folder);
    app->CreateForm(&Form1);
    app->CreateForm(&DataModule2);
    app->CreateForm(&Form3);
  }
  // The maintenance window shown at the screen's top-left with its table open on the main
  // window's connection.
  void ShowMaintenance() {
    Form3->ADOTable1->SetConnection(Form1->ADOConnection1);
    Form3->ADOTable1->Open();
    Form3->SetBounds(0, 0, Form3->Width(), Form3->Height());
    Form3->Show();
    desktop.Pump();
  }
  void SaveScreen(const std::string& name) {
    gfx::WriteFileBytes((tests::OutputFolder("app") / (name + ".png")).string(),
                        gfx::EncodePng(desktop.Compose()));
  }

  win::VirtualDesktop desktop{1440, 900};
  std::unique_ptr<fw::TApplication> app;
};

}  // namespace app::test
