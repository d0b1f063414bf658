// The catalogue program: the main window, the data module and the hidden maintenance window,
// created in that order, the Russian keyboard layout, and the message loop until the main
// window closes. The command line may choose another internal skin and show the maintenance
// window (StartOptions).
#include <clocale>
#include <cstdio>
#include <exception>

#include "app/StartOptions.h"
#include "app/Unit1.h"
#include "app/Unit2.h"
#include "app/Unit3.h"
#include "framework/Application.h"
#include "framework/Automation.h"
#include "platform/backend/Start.h"

int main(int argc, char** argv) {
  try {
    const app::TStartOptions options = app::ParseStartOptions({argv + 1, std::size_t(argc - 1)});
    // Dates in the user's locale.
    std::setlocale(LC_ALL, "");
    auto platform = backend::Start();
    fw::InstallFormDump();
    fw::TApplication application;
    application.Initialize();
    application.MainFormOnTaskBar = true;
    application.CreateForm(&app::Form1);
    application.CreateForm(&app::DataModule2);
    application.CreateForm(&app::Form3);
    app::Form1->SetRU();
    app::ApplyStartOptions(options);
    application.Run();
    return 0;
  } catch (const std::exception& e) {
    std::fprintf(stderr, "catalogue: %s\n", e.what());
    return 1;
  }
}
