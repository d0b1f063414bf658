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
  void SaveScreen(const std::string& name) {
    const char* out = std::getenv("MC_TEST_OUT");
    auto dir = std::filesystem::path(out ? out : testing::TempDir()) / "app";
    std::filesystem::create_directories(dir);
    gfx::WriteFileBytes((dir / (name + ".png")).string(), gfx::EncodePng(desktop.Compose()));
  }

  win::VirtualDesktop desktop{1440, 900};
  std::unique_ptr<fw::TApplication> app;
};

}  // namespace app::test
