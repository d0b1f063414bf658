// The framework's part of the automation's window dump: each form's window carries "form"
// (name and class) and "controls" (the control tree with bounds, state, text, font and what
// each kind adds; an image without a picture has "picture": {}), and the dump's top level
// carries "application" beside "windows" (the current automatic hint, the tooltip showing and
// every message box shown so far, the one still open included) from the moment the
// application exists, before any of its windows.
#pragma once

#include <functional>
#include <string>

#include "platform/backend/Dump.h"
#include "platform/gfx/Bitmap.h"

namespace fw {

class TControl;

// Writes what a kind of control adds to its entry in "controls"; units above the framework
// (the data-aware controls) add theirs.
using TControlDumper = std::function<void(backend::JsonWriter&, TControl*)>;
void AddControlDumper(TControlDumper dumper);
// Writes members of its own into the dump's "application" object, after "messages"; units
// above the framework (the skin manager) add theirs.
using TApplicationDumper = std::function<void(backend::JsonWriter&)>;
void AddApplicationDumper(TApplicationDumper dumper);
// Writes "picture": null for an empty picture, else its width, height and, when given, the file
// it was loaded from.
void WritePicture(backend::JsonWriter& w, const gfx::Bitmap& picture,
                  const std::string* file = nullptr);

// Registers the dump extenders (once; later calls do nothing).
void InstallFormDump();

}  // namespace fw
