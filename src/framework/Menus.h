// Menus of the framework: TMenuItem (a tree of items), TMainMenu (a form's menu bar) and
// TPopupMenu (shown with Popup, or by a control's PopupMenu on WM_CONTEXTMENU), built on the
// window system's menus (platform/win/Menu.h, MenuWindow.h).
//
// A menu makes its window-system menu (Handle) from its items whenever they change. Every
// item gets a command number unique in the program and carries itself as the item data, so
// the messages of any menu (WM_COMMAND, WM_MEASUREITEM, WM_DRAWITEM) find their item through
// DispatchMenuMessage, which forms and the pop-up menus' own window call.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "framework/Canvas.h"
#include "framework/ComboBox.h"  // TOwnerDrawState
#include "framework/Component.h"
#include "framework/ControlMessages.h"
#include "framework/ImageList.h"
#include "platform/win/Menu.h"

namespace fw {

class TMenu;

// Where an item starts: in the same column, a new column, a new column after a line.
enum class TMenuBreak { mbNone, mbBreak, mbBarBreak };

// A key with modifiers: the virtual key in the low byte, scShift, scCtrl, scAlt above.
using TShortCut = std::uint16_t;
constexpr TShortCut scShift = 0x2000;
constexpr TShortCut scCtrl = 0x4000;
constexpr TShortCut scAlt = 0x8000;
// "Ctrl+S", "Shift+F10", "Alt+Enter"...; empty for 0.
std::u16string ShortCutToText(TShortCut shortCut);

class TMenuItem;
using TMenuMeasureItemEvent =
    std::function<void(TMenuItem* sender, TCanvas& canvas, int& width, int& height)>;
using TMenuDrawItemEvent =
    std::function<void(TMenuItem* sender, TCanvas& canvas, const TRect& rect, bool selected)>;
using TAdvancedMenuDrawItemEvent = std::function<void(TMenuItem* sender, TCanvas& canvas,
                                                      const TRect& rect, TOwnerDrawState state)>;

class TMenuItem : public TComponent {
 public:
  explicit TMenuItem(TComponent* owner);
  // Frees its sub-items and leaves its parent item.
  ~TMenuItem() override;
  std::string ClassName() const override { return "TMenuItem"; }

  // "-" makes a separator; "&" marks the access key.
  const std::u16string& Caption() const { return FCaption; }
  void SetCaption(const std::u16string& caption);
  bool IsLine() const { return FCaption == u"-"; }
  bool Checked() const { return FChecked; }
  // Checking a radio item unchecks the other radio items of its GroupIndex among its siblings.
  void SetChecked(bool checked);
  bool RadioItem() const { return FRadioItem; }
  void SetRadioItem(bool radio);
  int GroupIndex() const { return FGroupIndex; }
  void SetGroupIndex(int index);
  // The default item: drawn bold (one per menu: setting it clears its siblings').
  bool Default() const { return FDefault; }
  void SetDefault(bool isDefault);
  bool Enabled() const { return FEnabled; }
  void SetEnabled(bool enabled);
  // A hidden item is left out of the menu.
  bool Visible() const { return FVisible; }
  void SetVisible(bool visible);
  // Shown after a tab at the right of the caption; the key clicks the item when it reaches a
  // form whose menus hold it (TMenu::IsShortCut).
  TShortCut ShortCut() const { return FShortCut; }
  void SetShortCut(TShortCut shortCut);
  // The picture of the menu's Images shown beside the item (-1: none).
  int ImageIndex() const { return FImageIndex; }
  void SetImageIndex(int index);
  // A picture of the item's own, shown beside it in place of the Images one (null: none).
  const gfx::Bitmap* Bitmap() const { return FBitmap.get(); }
  void SetBitmap(const gfx::Bitmap* bitmap);  // copied; null removes it
  // What is shown beside the item: its Bitmap, else its picture of the menu's Images; null
  // when it has neither.
  const gfx::Bitmap* Picture() const;
  TMenuBreak Break() const { return FBreak; }
  void SetBreak(TMenuBreak value);
  std::u16string Hint;

  // The sub-items.
  int Count() const { return int(FItems.size()); }
  TMenuItem* Items(int index) const { return FItems.at(std::size_t(index)); }
  int IndexOf(const TMenuItem* item) const;
  // Adds or inserts an item (taken from its old parent item); the parent frees what it holds
  // unless the item's owner frees it first.
  void Add(TMenuItem* item);
  void Insert(int index, TMenuItem* item);
  // Frees the sub-item at index.
  void Delete(int index);
  // Takes an item out without freeing it.
  void Remove(TMenuItem* item);
  void Clear();  // frees every sub-item
  TMenuItem* Parent() const { return FParent; }
  int MenuIndex() const { return FParent ? FParent->IndexOf(this) : -1; }
  // The menu the item belongs to, through its parents; null when it belongs to none.
  TMenu* GetParentMenu() const;

  // The command number WM_COMMAND carries for this item.
  win::UINT Command() const { return FCommand; }
  // Raises OnClick.
  virtual void Click();
  // Measures and draws the item (owner-drawn items): the events, or the plain look.
  virtual void MeasureItem(TCanvas& canvas, int& width, int& height);
  virtual void AdvancedDrawItem(TCanvas& canvas, const TRect& rect, TOwnerDrawState state);
  // Whether the platform asks for measuring and drawing (a draw event is set).
  bool OwnerDrawn() const;

  TNotifyEvent OnClick;
  TMenuMeasureItemEvent OnMeasureItem;
  TMenuDrawItemEvent OnDrawItem;
  TAdvancedMenuDrawItemEvent OnAdvancedDrawItem;

  // Reading: an item written inside a menu or an item joins it.
  void SetParentComponent(TComponent* parent) override;

 private:
  friend class TMenu;
  void Changed();  // tells the menu to make its handle again
  // Inserts the visible sub-items into menu from position at on; a sub-item's submenu is the
  // one reuse gives for it when it has one, else a new one.
  void AppendTo(win::HMENU menu, int at,
                const std::vector<std::pair<TMenuItem*, win::HMENU>>& reuse) const;

  std::u16string FCaption;
  bool FChecked = false, FRadioItem = false, FDefault = false, FEnabled = true, FVisible = true;
  int FGroupIndex = 0;
  TShortCut FShortCut = 0;
  int FImageIndex = -1;
  std::unique_ptr<gfx::Bitmap> FBitmap;
  TMenuBreak FBreak = TMenuBreak::mbNone;
  std::vector<TMenuItem*> FItems;
  TMenuItem* FParent = nullptr;
  TMenu* FMenu = nullptr;  // set on a menu's root item
  win::UINT FCommand;
};

class TMenu : public TComponent {
 public:
  explicit TMenu(TComponent* owner);
  ~TMenu() override;
  std::string ClassName() const override { return "TMenu"; }

  // The root item: its sub-items are the menu's items.
  TMenuItem* Items() const { return FItems.get(); }
  // The window-system menu, made from the items; when they change, the same menu and submenus
  // are filled again in place (an open pop-up or a window's bar keeps its handle), and items
  // that others put on them (an MDI frame's window list, a maximised child's buttons) stay.
  win::HMENU Handle();
  // Kept for whoever draws the items (a skin): the window-system menu does not use it.
  bool OwnerDraw() const { return FOwnerDraw; }
  // The reading direction (bdLeftToRight by default). Setting it clears ParentBiDiMode.
  TBiDiMode BiDiMode() const { return FBiDiMode; }
  void SetBiDiMode(TBiDiMode mode);
  // Whether the menu takes its form's BiDiMode (a form's main menu; default true).
  bool ParentBiDiMode() const { return FParentBiDiMode; }
  void SetParentBiDiMode(bool value) { FParentBiDiMode = value; }
  // The form tells its menu its BiDiMode; taken while ParentBiDiMode.
  void ParentBiDiModeChanged(TBiDiMode parentMode);
  // Right to left: a mode other than bdLeftToRight on a system whose user interface reads from
  // the right (SM_MIDEASTENABLED). The window-system menu then carries MFT_RIGHTORDER on every
  // item (and MFT_RIGHTJUSTIFY on a bar's), and a pop-up is shown with TPM_LAYOUTRTL. The
  // handle is made again when the answer changes.
  bool IsRightToLeft() const;
  void SetOwnerDraw(bool ownerDraw);
  // The pictures of the items' ImageIndex; the menu follows the list's changes.
  TImageList* Images() const { return FImages.List(); }
  void SetImages(TImageList* images);
  // Clicks the item whose ShortCut is shortCut, when it and its parents are visible and
  // enabled: its parents' Click first (top down, so that they may update their sub-items),
  // then its own if it is still enabled. False when no item answers the key.
  bool IsShortCut(TShortCut shortCut);
  // The window the menu's messages go to: the form of a main menu, the pop-up window for a
  // pop-up menu (set it to have another window get them).
  win::HWND WindowHandle() const { return FWindowHandle; }
  void SetWindowHandle(win::HWND hwnd) { FWindowHandle = hwnd; }

  // The item with that command, searched in every item; null when none.
  TMenuItem* FindItem(win::UINT command) const;
  // The item whose submenu is that window-system menu (the root item for the menu itself).
  TMenuItem* FindItemByHandle(win::HMENU menu);
  // The window-system submenu an item opens (the menu itself for the root item); null when
  // the item is not this menu's or opens none.
  win::HMENU SubmenuHandle(const TMenuItem* item);

 protected:
  // The items changed: the handle is made again.
  virtual void MenuChanged();
  virtual bool IsBar() const { return false; }
  void Notification(TComponent* component, TOperation operation) override;

 private:
  friend class TMenuItem;
  void DestroyHandle();
  void Build();
  // Takes this menu's own items out of menu (those of the last filling); returns where the
  // first was, or where new ones go when there were none.
  int TakeOwnItems(win::HMENU menu) const;
  std::unique_ptr<TMenuItem> FItems;
  win::HMENU FHandle = nullptr;
  bool FStale = true;
  bool FOwnerDraw = false;
  TBiDiMode FBiDiMode = TBiDiMode::bdLeftToRight;
  bool FParentBiDiMode = true;
  bool FBuiltRightToLeft = false;  // what the handle was made with
  TImageListLink FImages{*this, [this] { MenuChanged(); }};
  // Copies of the items' pictures the window-system menu shows, freed with it.
  std::vector<std::unique_ptr<gfx::Bitmap>> FPictures;
  win::HWND FWindowHandle = nullptr;
  // The window-system menus of the items with sub-items, by item.
  std::vector<std::pair<TMenuItem*, win::HMENU>> FSubmenus;
  // What the last filling put on the window-system menus (item data, command): the items
  // that are this menu's own when it is filled again.
  std::vector<std::pair<win::ULONG_PTR, win::UINT>> FFilled;
  std::vector<std::pair<win::ULONG_PTR, win::UINT>> FFilling;  // the filling under way
};

// A form's menu bar (TCustomForm::SetMenu).
class TMainMenu : public TMenu {
 public:
  using TMenu::TMenu;
  std::string ClassName() const override { return "TMainMenu"; }

 protected:
  void MenuChanged() override;
  bool IsBar() const override { return true; }
};

enum class TPopupAlignment { paLeft, paRight, paCenter };

class TPopupMenu : public TMenu {
 public:
  explicit TPopupMenu(TComponent* owner);
  std::string ClassName() const override { return "TPopupMenu"; }
  // Raises OnPopup, then shows the menu at a screen point and runs its loop; a chosen item's
  // OnClick comes once the messages queued are handled (the command is posted).
  virtual void Popup(int x, int y);
  // Whether a control's PopupMenu opens by itself on WM_CONTEXTMENU.
  bool AutoPopup = true;
  TPopupAlignment Alignment = TPopupAlignment::paLeft;
  // The control whose WM_CONTEXTMENU opened the menu last (null: opened by Popup alone).
  TComponent* PopupComponent = nullptr;
  TNotifyEvent OnPopup;
};

// Handles a menu message for whichever menu it concerns: WM_COMMAND from a menu (lParam 0,
// high word 0) clicks the item, WM_MEASUREITEM/WM_DRAWITEM of ODT_MENU measure and draw it.
// True when the message was a menu's (m.Result is set).
bool DispatchMenuMessage(TMessage& m);

// The shortcut of a key with its shift state (ssShift, ssCtrl, ssAlt).
TShortCut ShortCut(win::WORD key, TShiftState shift);

// The window pop-up menus send their messages to when they name none.
win::HWND PopupListWindow();

}  // namespace fw
