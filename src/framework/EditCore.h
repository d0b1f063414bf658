// TEditCore: the text-editing core shared by the edit and the memo: the text, a caret and a
// selection anchor (UTF-16 indexes), moves by character and word, typing, deleting and the
// clipboard. It knows nothing of windows or layout; the controls map points and lines to
// indexes and call it.
//
// Line breaks are CR LF. A multi-line core turns a lone CR or LF it is given into CR LF; a
// single-line core keeps only what comes before the first break. Neither index ever lies
// inside a CR LF pair or a surrogate pair.
#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <utility>

namespace fw {

class TEditCore {
 public:
  bool MultiLine = false;
  bool ReadOnly = false;   // the user's edits are refused (moves and copying still work)
  bool Concealed = false;  // a password: copying and cutting are refused
  int MaxLength = 0;       // most UTF-16 units the user may bring the text to; 0: no limit

  const std::u16string& Text() const { return FText; }
  // Replaces the whole text (the program's change: ReadOnly and MaxLength do not apply); the
  // caret goes to the start. Reports a change when the text differs.
  void SetText(std::u16string_view text);

  int Caret() const { return FCaret; }
  int Anchor() const { return FAnchor; }
  int SelStart() const { return FCaret < FAnchor ? FCaret : FAnchor; }
  int SelEnd() const { return FCaret < FAnchor ? FAnchor : FCaret; }
  int SelLength() const { return SelEnd() - SelStart(); }
  std::u16string SelText() const { return FText.substr(SelStart(), SelLength()); }
  // Both ends are clamped to the text and moved off the middle of a pair.
  void SetSelection(int anchor, int caret);
  // Moves the caret; with extend the anchor stays, so the selection grows or shrinks.
  void MoveCaret(int pos, bool extend);
  void SelectAll() { SetSelection(0, int(FText.size())); }

  // The user's edits. Each returns whether the text changed and reports one change.
  // Replaces the selection (typing, pasting); the inserted text is cut to MaxLength.
  bool ReplaceSelection(std::u16string_view text);
  // Backspace and Delete: the selection, else one character (a word with word) before or
  // after the caret.
  bool DeleteBackward(bool word);
  bool DeleteForward(bool word);

  // One step of undo, as the platform's edits: a run of typed characters undoes as one; undoing
  // again redoes. The program's SetText forgets it.
  bool CanUndo() const { return FHasUndo; }
  bool Undo();

  // The clipboard (the window system's). Copy and cut need a selection and no concealment.
  bool CopyToClipboard() const;
  bool CutToClipboard();
  bool PasteFromClipboard();

  // Positions.
  int PrevPos(int pos) const;  // one character back (a CR LF pair is one)
  int NextPos(int pos) const;
  int WordLeft(int pos) const;   // the start of this or the previous word
  int WordRight(int pos) const;  // the start of the next word (or the end of the line)
  // The word (or run of spaces, or punctuation) around pos, as [start, end).
  std::pair<int, int> WordAt(int pos) const;
  // The start and end (before its break) of the logical line holding pos.
  int LineStart(int pos) const;
  int LineEnd(int pos) const;

  // Told after every change of the text, once per edit.
  std::function<void()> OnChange;
  // Told after the caret or anchor moved (also with the text).
  std::function<void()> OnSelectionChange;

 private:
  int Fit(int pos) const;  // clamped and moved off the middle of a pair
  std::u16string Normalize(std::u16string_view text) const;
  void Changed();

  std::u16string FText;
  int FCaret = 0;
  int FAnchor = 0;
  std::u16string FUndoText;
  int FUndoCaret = 0;
  int FUndoAnchor = 0;
  bool FHasUndo = false;
  bool FTyping = false;  // the last edit typed a character and the caret has not moved since
};

}  // namespace fw
