// Reads the catalogue's embedded window descriptions into the program's own classes, as the
// program does at start but without running its handlers, so that a description the reader
// refuses (an unknown class or property, a bad value, a picture that is not embedded or does
// not decode, a reference to nothing) fails the build instead of the program's start.
//   check-forms STAMP   writes STAMP once every description has been read
#include <cstdio>
#include <exception>
#include <fstream>

#include "app/Unit1.h"
#include "app/Unit2.h"
#include "app/Unit3.h"
#include "framework/Application.h"
#include "platform/win/VirtualDesktop.h"

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fputs("usage: check-forms STAMP\n", stderr);
    return 2;
  }
  try {
    win::VirtualDesktop desktop{1440, 900};
    fw::TApplication application;
    // In the program's order, owned by the application: the maintenance window refers to the
    // data module's connection by name.
    new app::TForm1(&application);
    new app::TDataModule2(&application);
    new app::TForm3(&application);
    std::ofstream(argv[1]) << "Unit1.txt Unit2.txt Unit3.txt\n";
    return 0;
  } catch (const std::exception& e) {
    std::fprintf(stderr, "check-forms: %s\n", e.what());
    return 1;
  }
}
