#include "framework/EditCore.h"

#include <algorithm>

#include "platform/win/Clipboard.h"

namespace fw {

namespace {

// Character classes for word moves: words are runs of letters and digits, punctuation runs
// count as words of their own, spaces separate them and line breaks end them.
enum class TCharClass { Space, Word, Punct, Break };

TCharClass ClassOf(char16_t c) {
  if (c == u' ' || c == u'\t' || c == u'\x00A0') return TCharClass::Space;
  if (c == u'\r' || c == u'\n') return TCharClass::Break;
  if ((c >= u'0' && c <= u'9') || (c >= u'A' && c <= u'Z') || (c >= u'a' && c <= u'z') || c == u'_')
    return TCharClass::Word;
  // Letters of other scripts (Cyrillic among them); the general punctuation block is not.
  if (c >= 0x00C0 && !(c >= 0x2000 && c <= 0x206F)) return TCharClass::Word;
  return TCharClass::Punct;
}

bool IsLowSurrogate(char16_t c) {
  return c >= 0xDC00 && c <= 0xDFFF;
}

}  // namespace

int TEditCore::Fit(int pos) const {
  int n = int(FText.size());
  pos = std::clamp(pos, 0, n);
  if (pos > 0 && pos < n) {
    if (FText[pos - 1] == u'\r' && FText[pos] == u'\n')
      --pos;
    else if (IsLowSurrogate(FText[pos]))
      --pos;
  }
  return pos;
}

void TEditCore::Changed() {
  if (OnChange) OnChange();
  if (OnSelectionChange) OnSelectionChange();
}

std::u16string TEditCore::Normalize(std::u16string_view text) const {
  std::u16string out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    char16_t c = text[i];
    if (c == u'\r' || c == u'\n') {
      if (!MultiLine) break;
      out += u"\r\n";
      if (c == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n') ++i;
      continue;
    }
    if (c == 0) continue;
    out += c;
  }
  return out;
}

void TEditCore::SetText(std::u16string_view text) {
  std::u16string t = Normalize(text);
  FCaret = FAnchor = 0;
  FHasUndo = FTyping = false;
  if (t == FText) {
    if (OnSelectionChange) OnSelectionChange();
    return;
  }
  FText = std::move(t);
  Changed();
}

void TEditCore::SetSelection(int anchor, int caret) {
  anchor = Fit(anchor);
  caret = Fit(caret);
  if (anchor == FAnchor && caret == FCaret) return;
  FTyping = false;
  FAnchor = anchor;
  FCaret = caret;
  if (OnSelectionChange) OnSelectionChange();
}

void TEditCore::MoveCaret(int pos, bool extend) {
  SetSelection(extend ? FAnchor : pos, pos);
}

bool TEditCore::ReplaceSelection(std::u16string_view text) {
  if (ReadOnly) return false;
  std::u16string insert = Normalize(text);
  int start = SelStart(), length = SelLength();
  if (MaxLength > 0) {
    int room = std::max(0, MaxLength - (int(FText.size()) - length));
    if (int(insert.size()) > room) {
      insert.resize(std::size_t(room));
      // Do not split a pair at the cut.
      if (!insert.empty() &&
          (insert.back() == u'\r' || (insert.back() >= 0xD800 && insert.back() <= 0xDBFF)))
        insert.pop_back();
    }
  }
  if (length == 0 && insert.empty()) return false;
  bool typing = length == 0 && insert.size() == 1 && insert[0] != u'\r';
  if (!(typing && FTyping)) {
    FUndoText = FText;
    FUndoCaret = FCaret;
    FUndoAnchor = FAnchor;
    FHasUndo = true;
  }
  FText.replace(std::size_t(start), std::size_t(length), insert);
  FCaret = FAnchor = start + int(insert.size());
  Changed();
  FTyping = typing;
  return true;
}

bool TEditCore::Undo() {
  if (ReadOnly || !FHasUndo) return false;
  std::swap(FText, FUndoText);
  std::swap(FCaret, FUndoCaret);
  std::swap(FAnchor, FUndoAnchor);
  FTyping = false;
  Changed();
  return true;
}

bool TEditCore::DeleteBackward(bool word) {
  if (ReadOnly) return false;
  if (SelLength() == 0) {
    if (FCaret == 0) return false;
    FAnchor = word ? WordLeft(FCaret) : PrevPos(FCaret);
  }
  return ReplaceSelection(u"");
}

bool TEditCore::DeleteForward(bool word) {
  if (ReadOnly) return false;
  if (SelLength() == 0) {
    if (FCaret == int(FText.size())) return false;
    FAnchor = word ? WordRight(FCaret) : NextPos(FCaret);
  }
  return ReplaceSelection(u"");
}

bool TEditCore::CopyToClipboard() const {
  if (Concealed || SelLength() == 0) return false;
  return win::SetClipboardText(SelText());
}

bool TEditCore::CutToClipboard() {
  if (ReadOnly || !CopyToClipboard()) return false;
  return ReplaceSelection(u"");
}

bool TEditCore::PasteFromClipboard() {
  if (ReadOnly) return false;
  std::u16string text = win::GetClipboardText();
  if (text.empty()) return false;
  return ReplaceSelection(text);
}

int TEditCore::PrevPos(int pos) const {
  return pos <= 0 ? 0 : Fit(pos - 1);
}

int TEditCore::NextPos(int pos) const {
  int n = int(FText.size());
  if (pos >= n) return n;
  if (FText[pos] == u'\r' && pos + 1 < n && FText[pos + 1] == u'\n') return pos + 2;
  if (pos + 1 < n && IsLowSurrogate(FText[pos + 1])) return pos + 2;
  return pos + 1;
}

int TEditCore::WordLeft(int pos) const {
  pos = Fit(pos);
  if (pos == 0) return 0;
  if (ClassOf(FText[pos - 1]) == TCharClass::Break) return PrevPos(pos);
  while (pos > 0 && ClassOf(FText[pos - 1]) == TCharClass::Space) --pos;
  if (pos == 0 || ClassOf(FText[pos - 1]) == TCharClass::Break) return pos;
  TCharClass k = ClassOf(FText[pos - 1]);
  while (pos > 0 && ClassOf(FText[pos - 1]) == k) --pos;
  return pos;
}

int TEditCore::WordRight(int pos) const {
  pos = Fit(pos);
  int n = int(FText.size());
  if (pos == n) return n;
  if (ClassOf(FText[pos]) == TCharClass::Break) return NextPos(pos);
  TCharClass k = ClassOf(FText[pos]);
  if (k != TCharClass::Space)
    while (pos < n && ClassOf(FText[pos]) == k) ++pos;
  while (pos < n && ClassOf(FText[pos]) == TCharClass::Space) ++pos;
  return pos;
}

std::pair<int, int> TEditCore::WordAt(int pos) const {
  pos = Fit(pos);
  int n = int(FText.size());
  // At the end of a line (or the text) the word is the one before the caret.
  int probe = (pos == n || ClassOf(FText[pos]) == TCharClass::Break) && pos > 0 &&
                      ClassOf(FText[pos - 1]) != TCharClass::Break
                  ? pos - 1
                  : pos;
  if (probe >= n || ClassOf(FText[probe]) == TCharClass::Break) return {pos, pos};
  TCharClass k = ClassOf(FText[probe]);
  int start = probe, end = probe;
  while (start > 0 && ClassOf(FText[start - 1]) == k) --start;
  while (end < n && ClassOf(FText[end]) == k) ++end;
  return {start, end};
}

int TEditCore::LineStart(int pos) const {
  pos = Fit(pos);
  while (pos > 0 && FText[pos - 1] != u'\n' && FText[pos - 1] != u'\r') --pos;
  return pos;
}

int TEditCore::LineEnd(int pos) const {
  pos = Fit(pos);
  int n = int(FText.size());
  while (pos < n && FText[pos] != u'\r' && FText[pos] != u'\n') ++pos;
  return pos;
}

}  // namespace fw
