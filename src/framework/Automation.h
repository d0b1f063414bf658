// The framework's part of the automation's window dump: each form's window carries "form"
// (name and class) and "controls" (the control tree with bounds, state, text, font and what
// each kind adds; an image without a picture has "picture": {}), and the application's main form
// window carries "application" (the current automatic hint and every message box shown so far).
#pragma once

namespace fw {

// Registers the dump extender (once; later calls do nothing).
void InstallFormDump();

}  // namespace fw
