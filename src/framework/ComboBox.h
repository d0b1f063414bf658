// TComboBox: a combo box. In its drop-down list styles (csDropDownList, csOwnerDrawFixed) a box
// that shows the chosen item with a drop button at its right, and a list that drops down below
// it (above it when the screen has no room below) as a pop-up window of its own,
// TComboListWindow, so that a skin can wrap and paint it like any other window.
//
// The typing styles hold an edit part (TComboEdit, a borderless edit child over the box) that
// takes the focus and the typing: csDropDown with the drop button and the drop-down list,
// csSimple with no button and its list always shown under the edit part as a child window
// (the box's upper ItemHeight + 8 pixels are the edit part, the list fills the rest). Typing
// raises OnChange (CBN_EDITCHANGE) at every change; ItemIndex is then the item with exactly
// that text, or -1, and the list highlights the first item the text begins (any case).
// Choosing an item puts its text into the edit part. Up, Down, PageUp and PageDown in the
// edit part choose as in the list styles; Home, End and the letters edit the text. A click on
// an item of the simple list chooses it.
//
// Choosing:
// - Open: a press on the box, F4, Alt+Down or Alt+Up (each of which also closes it again);
//   OnDropDown runs before the list appears.
// - Open list: the item under the mouse is highlighted; a click on an item (or a release over
//   one after dragging in from the box) chooses it and closes; a press outside the list closes
//   without choosing; Up/Down/Home/End/PageUp/PageDown and letters move the highlight, Enter
//   (and F4, Alt+Down, Alt+Up) chooses it and closes, Escape closes without choosing; the
//   wheel scrolls. The list closes without choosing when the box loses the focus or the
//   mouse capture is taken from it.
// - Closed list: the same keys and the wheel (one item a notch) change the selection at once.
//
// Events, all raised only by the user: OnChange and then OnSelect when the selection changed;
// OnCloseUp at every close, chosen or not. When an item of the list is chosen the list is
// hidden first, then OnChange, OnSelect and OnCloseUp run in that order, so that a close-up
// handler already sees the new Text. Setting ItemIndex from code raises nothing.
//
// Each event passes through WindowProc first as CN_COMMAND with the list notification code
// (CBN_DROPDOWN, CBN_SELCHANGE, CBN_CLOSEUP) in the high word of wParam, so a hook sees the
// list open and close in the message stream. CBN_DROPDOWN comes before the list is shown; the
// list's window is then reachable through CB_GETCOMBOBOXINFO (hwndList), and the list sends
// WM_CTLCOLORLISTBOX (lParam: its window) to the box's window each time it paints.
//
// The box's window answers the native combo box's messages CB_GETCURSEL, CB_SETCURSEL (which
// ItemIndex also goes through once the window exists; it raises no event),
// CB_SHOWDROPDOWN, CB_GETDROPPEDSTATE and CB_GETCOMBOBOXINFO.
//
// Owner draw (csOwnerDrawFixed): OnDrawItem draws each item of the list (odSelected for the
// highlighted one) and the chosen item in the box (odComboBoxEdit, plus odSelected and
// odFocused while the box has the focus) on Canvas(), which is bound to the window being
// painted and prepared with the state's colours; every item is ItemHeight pixels high.
// Without an owner draw handler the items are drawn as text, ItemHeight then follows the font.
#pragma once

#include <functional>
#include <memory>
#include <optional>

#include "framework/CustomControl.h"
#include "framework/Edit.h"
#include "framework/Strings.h"
#include "platform/win/ControlCodes.h"

namespace fw {

// Notifications a windowed control sends itself (VCL numbering: CN_BASE + the message).
constexpr UINT CN_BASE = 0xBC00;
constexpr UINT CN_COMMAND = CN_BASE + win::WM_COMMAND;

// Combo box notification codes (high word of CN_COMMAND's wParam).
using win::CBN_CLOSEUP;
using win::CBN_DROPDOWN;
using win::CBN_EDITCHANGE;
using win::CBN_SELCHANGE;

enum class TComboBoxStyle { csDropDown, csSimple, csDropDownList, csOwnerDrawFixed };

// Owner draw state flags (a set).
// The platform's ODS_* values; menus (Menus.h) use the ones combo boxes do not.
enum TOwnerDrawStateFlag : unsigned {
  odSelected = 1,
  odGrayed = 2,
  odDisabled = 4,
  odChecked = 8,
  odFocused = 16,
  odDefault = 0x20,
  odHotLight = 0x40,
  odNoAccel = 0x100,
  odComboBoxEdit = 4096,
};
using TOwnerDrawState = unsigned;

using TDrawItemEvent =
    std::function<void(TComponent* control, int index, TRect rect, TOwnerDrawState state)>;

class TComboBox;

// The edit part of the typing styles: a borderless edit over the box. The keys that choose or
// open go to its combo box; losing the focus closes the open list.
class TComboEdit : public TCustomEdit {
 public:
  explicit TComboEdit(TComboBox* combo);
  std::string ClassName() const override { return "TComboEdit"; }

  TComboBox* ComboBox() const { return FCombo; }
  // The text, selection and caret as the edit draws them, into dc (client origin at 0, 0)
  // over what dc already holds: for a box that paints the background itself.
  void PaintText(HDC dc) { TCustomEdit::PaintWindow(dc); }

 protected:
  void WndProc(TMessage& m) override;
  void KeyDown(win::WORD& key, TShiftState shift) override;
  bool WantsKey(win::WORD key) const override;
  void Change() override;
  void EraseBackground(HDC dc) override;

 private:
  TComboBox* FCombo;
};

// The drop-down list: a top-level pop-up that never takes the activation or the focus. It holds
// the mouse capture while open, to see presses outside it. The simple style's list is a child
// of the box instead, always shown.
class TComboListWindow : public TCustomControl {
 public:
  explicit TComboListWindow(TComboBox* combo);
  std::string ClassName() const override { return "TComboListWindow"; }

  TComboBox* ComboBox() const { return FCombo; }
  // The highlighted item (-1 none) and the first item shown.
  int HotIndex() const { return FHotIndex; }
  void SetHotIndex(int index);
  int TopIndex() const { return FTopIndex; }
  void SetTopIndex(int index);
  // Items shown at once.
  int RowCount() const;
  // The item at a client point, -1 when none.
  int ItemAtPos(TPoint p) const;
  TRect ItemRect(int index) const;

 protected:
  void CreateParams(TCreateParams& params) override;
  void CreateWnd() override;
  void WndProc(TMessage& m) override;
  void Paint() override;
  void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
  void MouseMove(TShiftState shift, int x, int y) override;
  void MouseUp(TMouseButton button, TShiftState shift, int x, int y) override;

 private:
  friend class TComboBox;
  // Places and shows the list under (or over) the box, taking the mouse capture.
  void Popup();
  void Dismiss();
  void UpdateScrollBar();
  void Scroll(win::WORD code, int thumbPos);
  // Handles a press outside the client area while captured; true when it was one.
  bool PressOutsideClient(TPoint client);

  TComboBox* FCombo;
  int FHotIndex = -1;
  int FTopIndex = 0;
  bool FTrackingBar = false;  // a scroll bar drag holds (and at its end drops) the capture
};

class TComboBox : public TCustomControl {
 public:
  explicit TComboBox(TComponent* owner);
  ~TComboBox() override;
  std::string ClassName() const override { return "TComboBox"; }

  TComboBoxStyle Style() const { return FStyle; }
  virtual void SetStyle(TComboBoxStyle style);
  TStrings& Items() { return FItems; }
  const TStrings& Items() const { return FItems; }
  // The chosen item, -1 for none; out of range values choose none.
  int ItemIndex() const { return FItemIndex; }
  void SetItemIndex(int index);
  // Items the open list shows without scrolling.
  int DropDownCount() const { return FDropDownCount; }
  void SetDropDownCount(int count);
  // Height of one item: the stored value in owner draw style, else the font's line + 2.
  int ItemHeight() const;
  void SetItemHeight(int height);
  bool DroppedDown() const { return FDroppedDown; }
  // Opens (raising OnDropDown) or closes (without choosing, raising OnCloseUp) the list.
  void SetDroppedDown(bool value);

  TComboListWindow* ListWindow() const { return FList.get(); }
  // The drop button's place in client coordinates; empty in the simple style.
  virtual TRect ButtonRect() const;
  // Where the chosen item is drawn in the box, or the edit part lies.
  TRect EditRect() const;
  // The box around the item or edit part: the client, or its upper part in the simple style.
  TRect BoxRect() const;
  // The typing styles' edit part, else null.
  TComboEdit* EditWindow() const { return FEdit.get(); }
  bool HasEdit() const {
    return FStyle == TComboBoxStyle::csDropDown || FStyle == TComboBoxStyle::csSimple;
  }
  // The box or its edit part has the focus.
  bool HasFocus() const;

  TNotifyEvent OnChange;
  TNotifyEvent OnSelect;
  TNotifyEvent OnDropDown;
  TNotifyEvent OnCloseUp;
  TDrawItemEvent OnDrawItem;

 protected:
  void WndProc(TMessage& m) override;
  void Paint() override;
  // Parts of the box, each drawn on Canvas().
  virtual void PaintFrame(TRect& r);
  virtual void PaintButton(const TRect& r);
  // Draws an item into the canvas (bound to the box or the list) with the state's colours.
  virtual void DrawItem(int index, TRect r, TOwnerDrawState state);
  void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
  void KeyDown(win::WORD& key, TShiftState shift) override;
  void KeyPress(char16_t& key) override;
  bool WantsKey(win::WORD key) const override;
  bool DoMouseWheel(TShiftState shift, int wheelDelta, TPoint mousePos) override;
  std::u16string GetText() const override;
  void SetTextBuf(const std::u16string& text) override;
  void FontChanged() override;
  void Loaded() override;
  // Reactions to the notifications (CN_COMMAND): they raise the events.
  virtual void Change();
  virtual void Select();
  virtual void DropDown();
  virtual void CloseUp();
  // The edit part's background into dc (its client origin at 0, 0); false leaves it to the
  // edit (its Color).
  virtual bool EraseEditPart(HDC) { return false; }
  // The edit part took or lost the focus.
  virtual void EditFocusChanged() { Invalidate(); }
  // Sees each message of the edit part first; true swallows it.
  virtual bool FilterEditMessage(TMessage&) { return false; }
  // Places the edit part and the simple style's list.
  void Layout();

 private:
  friend class TComboListWindow;
  friend class TComboEdit;
  // Closes the open list; with accept the highlighted item becomes the choice.
  void CloseList(bool accept);
  // A selection the user made: changes it and notifies when it differs.
  void UserSelect(int index);
  // The keys that open, close or choose; true when key was one (and is then handled).
  // Letters and Home/End are the edit part's in the typing styles.
  bool ListKey(win::WORD key, TShiftState shift, bool fromEdit);
  // The edit part's text changed: by the user, or (while FSettingText) by the box.
  void EditChanged();
  void SetEditText(const std::u16string& text);
  // The list is in sight: dropped down, or the simple style's.
  bool ListShowing() const { return FDroppedDown || FStyle == TComboBoxStyle::csSimple; }
  // Where keys move from and to: the highlight of the open list, else the choice.
  int CurrentIndex() const;
  void MoveTo(int index);
  // The item a navigation key leads to from index (count: items a page), or index.
  int NavigateFrom(int index, win::WORD key, int page) const;
  // The next item after index that starts with ch (any case), cycling; -1 when none.
  int FindByLetter(int index, char16_t ch) const;
  void ItemsChanged();
  void Notify(win::WORD code);
  // Sets the chosen item (none when out of range); false when out of range.
  bool ChangeItemIndex(int index);
  void GetComboBoxInfo(win::COMBOBOXINFO& info);

  TComboBoxStyle FStyle = TComboBoxStyle::csDropDownList;
  TStrings FItems;
  int FItemIndex = -1;
  int FDropDownCount = 16;
  int FItemHeight = 16;
  bool FDroppedDown = false;
  std::optional<int> FLoadedIndex;  // ItemIndex and Text read before the items
  std::optional<std::u16string> FLoadedText;
  bool FSettingText = false;
  std::unique_ptr<TComboListWindow> FList;
  std::unique_ptr<TComboEdit> FEdit;
};

}  // namespace fw
