// TStrings: an ordered list of lines, the item list of combo boxes and the lines of memos.
// The control that owns it learns of every change through OnChange and repaints.
#pragma once

#include <functional>
#include <string>
#include <vector>

namespace fw {

class TStrings {
 public:
  int Count() const { return int(FItems.size()); }
  // The line at index; raises an error for an index out of range.
  const std::u16string& operator[](int index) const;
  void Set(int index, const std::u16string& s);
  int Add(const std::u16string& s);  // returns the new line's index
  void Insert(int index, const std::u16string& s);
  void Delete(int index);
  void Clear();
  void Assign(const std::vector<std::u16string>& lines);
  // The first line equal to s, or -1.
  int IndexOf(const std::u16string& s) const;
  const std::vector<std::u16string>& Lines() const { return FItems; }

  // The lines joined with CR LF, each line ended by one (an empty list is "").
  std::u16string Text() const;
  // Splits at CR LF, LF or CR; a last line without an end still counts.
  void SetText(const std::u16string& text);

  // Changes inside BeginUpdate/EndUpdate raise one OnChange at the last EndUpdate.
  void BeginUpdate() { ++FUpdateLevel; }
  void EndUpdate();

  std::function<void()> OnChange;

 private:
  void Changed();
  std::vector<std::u16string> FItems;
  int FUpdateLevel = 0;
  bool FPending = false;
};

}  // namespace fw
