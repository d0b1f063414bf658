// Drives the program from a script, as a visitor would: the backend calls Idle whenever the
// program's message loop has nothing left to do, and the automation runs the next command.
// A command that gives the loop work (input, a posted close, a wait) is answered when the
// loop is idle again, so every reply follows the queue being drained.
#pragma once

#include <memory>
#include <optional>
#include <ostream>
#include <string>

#include "platform/backend/Script.h"
#include "platform/backend/ScriptReader.h"
#include "platform/win/Backend.h"

namespace backend {

class Automation {
 public:
  // Borrows the backend (for its clock and desktop); replies go to reply, one line each.
  Automation(win::Backend& backend, std::unique_ptr<ScriptReader> script,
             std::unique_ptr<std::ostream> reply);
  // Answers a command still running: the program ended during it (quit does that).
  ~Automation();
  Automation(const Automation&) = delete;
  Automation& operator=(const Automation&) = delete;

  // Called when the message loop is idle. Answers the command in progress once it is done
  // and runs the next ones; with waitForLines it blocks until a line arrives, otherwise it
  // returns when none is there yet. True when it gave the loop something to do.
  bool Idle(bool waitForLines);
  // When the running wait command ends, if one runs (the backend wakes up by then).
  std::optional<win::DWORD> WakeAt() const;
  // The script has ended and the main window was asked to close.
  bool Finished() const { return finished_; }
  ScriptReader& Reader() { return *script_; }

 private:
  // Runs one command; true when it must wait for the loop before its reply.
  bool Run(const Command& c);
  void Reply(const std::string& line);
  void Quit();

  win::Backend& backend_;
  std::unique_ptr<ScriptReader> script_;
  std::unique_ptr<std::ostream> reply_;
  bool pending_ = false;                 // a command waits for its reply
  std::optional<win::DWORD> waitUntil_;  // the pending command is a wait until then
  bool finished_ = false;
};

// Types text as key presses through the active keyboard layout (Shift where needed);
// characters the layout has no key for come as characters.
void TypeText(std::u16string_view text);
// Presses and releases a key with its modifiers.
void PressChord(const KeyChord& chord);
// The program's main window: the first top-level window created that has no owner and
// still exists; nullptr when there is none.
win::HWND MainWindow();

}  // namespace backend
