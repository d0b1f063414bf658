// Datasets: an open result held in memory (a static cursor), its fields, a cursor over its
// rows, the record-set filter, and editing of the current row.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "framework/Component.h"
#include "framework/db/Field.h"
#include "framework/db/Filter.h"
#include "framework/db/RecordSet.h"

namespace db {

enum class TDataSetState { dsInactive, dsBrowse, dsEdit };

// What a dataset tells its observers: opened or closed, its rows replaced (a filter), the
// cursor moved, a field of the current row set, the state changed (edit, post, cancel).
enum class TDataEvent {
  deActiveChange,
  deDataSetChange,
  deDataSetScroll,
  deRecordChange,
  deUpdateState
};

// Told of a dataset's events (data sources). It removes itself before it dies; a dataset
// that dies first is noticed through the component's free notification.
class TDataSetObserver {
 public:
  virtual void DataEvent(TDataEvent event) = 0;

 protected:
  ~TDataSetObserver() = default;
};

class TDataSet : public fw::TComponent {
 public:
  explicit TDataSet(fw::TComponent* owner);
  ~TDataSet() override;

  std::string ClassName() const override { return "TDataSet"; }

  // Opening runs the dataset's command and holds every row; closing drops them.
  void Open();
  void Close();
  bool Active() const { return FState != TDataSetState::dsInactive; }
  void SetActive(bool active);
  TDataSetState State() const { return FState; }

  // Cursor over the visible rows (all rows, or those passing the filter), in result order.
  // Moving posts a pending edit first.
  void First();
  void Next();
  void Prior();
  void Last();
  // True after Next moved past the last row (the cursor stays on it) or when there is no row.
  bool Eof() const { return FEof; }
  // True after Prior moved before the first row or when there is no row.
  bool Bof() const { return FBof; }
  // Visible rows of the open result.
  int RecordCount() const;
  // 1-based number of the current row among the visible rows; 0 when there is none.
  int RecNo() const;
  // Moves to that row (clamped to the visible rows), posting a pending edit first.
  void SetRecNo(int recNo);
  // Moves distance rows forward (back when negative), stopping at either end; returns the
  // rows actually moved. Eof/Bof are set when the move was cut short.
  int MoveBy(int distance);

  // Fields of the open result (declared fields, or one default field per column).
  int FieldCount() const { return int(FFields.size()); }
  TField& Fields(int index) const;
  // The field of that name (case-insensitive) or null.
  TField* FindField(const std::string& name) const;
  // The field of that name; raises "<Name>: Field 'x' not found".
  TField& FieldByName(const std::string& name) const;

  // The record-set filter (Filter.h). Setting Filtered to true checks the expression first:
  // a bad one raises and leaves the dataset as it was. Changing the text while filtered
  // re-applies it the same way. The cursor goes to the first visible row.
  const std::u16string& Filter() const { return FFilterText; }
  void SetFilter(const std::u16string& text);
  bool Filtered() const { return FFiltered; }
  void SetFiltered(bool filtered);

  // Editing the current row: Edit copies it to an edit buffer, fields' new values go there,
  // Post writes the changed columns through WriteRow and keeps them, Cancel drops them.
  void Edit();
  void Post();
  void Cancel();

  // A value of the current row (the edit buffer while editing); null when there is no row.
  const TVariant& ColumnValue(int column) const;
  // A field's value in a visible row (0-based) without moving the cursor; the current row's
  // reads the edit buffer while editing. Null for a row or field that is not there.
  const TVariant& ValueAt(const TField& field, int row) const;
  // Raises EDatabaseError with the dataset's name, a colon and the message.
  [[noreturn]] void DatabaseError(const std::string& message) const;

  // Observers, told of every event in the order they were added.
  void AddObserver(TDataSetObserver* observer);
  void RemoveObserver(TDataSetObserver* observer);

 protected:
  // The subclass runs its command and returns the whole result.
  virtual TRecordSet OpenRecordSet() = 0;
  // The subclass writes the changed columns of a row (the columns' old row given).
  virtual void WriteRow(const TRecordSet& result, const TRow& oldRow, const TRow& newRow,
                        const std::vector<int>& changed) = 0;
  // Raises the closed-dataset error unless open.
  void CheckActive() const;

 private:
  friend class TField;
  void AddDeclaredField(TField* field);
  void RemoveDeclaredField(TField* field);
  void SetFieldValue(TField& field, const TVariant& value);
  void BindFields();
  void ApplyFilter(const std::u16string& text, bool filtered);
  void CheckBrowseMode();
  const TRow* CurrentRow() const;
  void DataEvent(TDataEvent event);
  void MovedFrom(std::size_t cursor);

  TDataSetState FState = TDataSetState::dsInactive;
  TRecordSet FResult;
  std::vector<std::size_t> FVisible;  // indices of the rows the cursor sees
  std::size_t FCursor = 0;            // index into FVisible
  bool FEof = true;
  bool FBof = true;
  std::vector<TField*> FDeclared;                  // declared fields, in declaration order
  std::vector<std::unique_ptr<TField>> FDefaults;  // default fields of the open result
  std::vector<TField*> FFields;                    // the fields in use
  std::u16string FFilterText;
  bool FFiltered = false;
  TRow FEditRow;
  std::vector<int> FChanged;  // columns set while editing
  std::vector<TDataSetObserver*> FObservers;
};

}  // namespace db
