// The catalogue's main window for the benchmarks: created on a catalogue folder and shown on a
// headless desktop, in the skinned look it starts in or in the plain look (the manager switched
// off); an error ends the run (nobody would answer its box).
#pragma once

#include <cstdio>
#include <cstdlib>
#include <exception>
#include <string>

#include "app/Configuration.h"
#include "app/Unit1.h"
#include "framework/Application.h"
#include "platform/win/VirtualDesktop.h"
#include "skin/core/sSkinManager.h"

namespace bench {

struct TMainWindow {
  win::VirtualDesktop desktop{1440, 900};
  fw::TApplication application;

  TMainWindow(const std::string& folder, bool plain) {
    application.OnException = [](fw::TComponent*, const std::exception& e) {
      std::fprintf(stderr, "app-bench: %s\n", e.what());
      std::exit(1);
    };
    app::OverrideCatalogueFolder(folder);
    application.CreateForm(&app::Form1);
    app::Form1->Show();
    desktop.Pump();
    if (plain) skin::core::DefaultManager->SetActive(false);
    desktop.Pump();
  }
  ~TMainWindow() {
    app::OverrideCatalogueFolder("");
    app::Form1 = nullptr;
  }
};

}  // namespace bench
