// Skinned menus: the manager's menu painter (TsSkinableMenus) measures and draws the items of
// hooked menus from the skin, each pop-up over a picture of its whole window painted once per
// showing (body "MAINMENU", icon column, border), and gives the pop-up menu window (class
// "#32768", wrapped by TacMnuWnd through the dialog hook) the skin's frame and shape.
#pragma once

#include <memory>
#include <vector>

#include "framework/Menus.h"
#include "platform/gfx/Bitmap.h"
#include "platform/win/Window.h"
#include "skin/core/sSkinManager.h"

namespace skin::controls {

// What an item is drawn as: a caption line ("-Text-"), a divider ("-"), a normal item, a
// menu-bar item.
enum TsMenuItemType { smCaption, smDivider, smNormal, smTopLine };

// What a pop-up menu shows besides its items, settled while its items are measured.
struct TacMenuLayout {
  int GlyphSizeCX = 16;         // the width of the glyph column's pictures
  bool HaveExtraLine = false;   // a strip along the menu's left edge (the skin list's menu)
  std::u16string ExtraSection;  // the strip's section
  std::u16string ExtraCaption;  // its text, read upwards
  gfx::Bitmap ExtraGlyph;       // the picture at its foot (empty: none)
  bool RightToLeft = false;     // mirrored: icon column and extra line on the right
};

// One open pop-up menu window and its picture.
struct TacMenuInfo {
  win::HWND Wnd = nullptr;           // the entry's key
  std::unique_ptr<gfx::Bitmap> Bmp;  // the window's background, frame included
  bool ItemsIterated = false;        // every item was drawn once (column lines are in Bmp)
  TacMenuLayout Layout;
  std::vector<gfx::TRect> Corners;  // the pixels cut out of the window's shape
};

// Called after the painter drew an item, on the item's picture before it goes to the menu.
using TsMenuDrawEvent =
    std::function<void(fw::TMenuItem* item, fw::TCanvas& canvas, TsMenuItemType type,
                       fw::TOwnerDrawState state, const gfx::TRect& rect)>;

class TsSkinableMenus : public skin::core::TacMenuPainter {
 public:
  explicit TsSkinableMenus(skin::core::TsSkinManager& owner);
  ~TsSkinableMenus() override;

  int Margin = 2;
  int Spacing = 8;
  int BorderWidth = 3;  // the pop-up window's frame
  // After every item the painter draws (rect: the item in the picture's coordinates).
  TsMenuDrawEvent OnDrawItem;

  void HookPopupMenu(fw::TPopupMenu& menu, bool active) override;
  void SkinChanged() override { ClearCache(); }
  // Every menu of the application (main menus, pop-up menus, loose items, at any depth of
  // ownership) gets (active) or loses this painter's handlers; pop-up items only with the
  // manager's SkinnedPopups.
  void InitItems(bool active) override;
  void UpdateMenus() override { InitItems(FOwner.Active()); }
  // With active (and the manager active with SkinnedPopups) every top item of a main menu
  // draws through the menu line's handlers and the items below them through the pop-up
  // handlers; without, this painter's handlers go. The menu is made again only when that
  // changed anything.
  void InitMenuLine(fw::TMainMenu& menu, bool active) override;
  // Every sub-item of item, at any depth, gets (active) or loses this painter's measure and
  // draw handlers; items with handlers of their own keep them. True when any changed.
  bool HookItem(fw::TMenuItem& item, bool active);
  // Whether the item draws through this painter.
  static bool IsHooked(const fw::TMenuItem& item);

  // The measure and draw handlers.
  void sMeasureItem(fw::TMenuItem* item, fw::TCanvas& canvas, int& width, int& height);
  void sAdvancedDrawItem(fw::TMenuItem* item, fw::TCanvas& canvas, const gfx::TRect& rect,
                         fw::TOwnerDrawState state);
  // The menu line's handlers: an item is the bar's height - 1 high and its text's width (plus
  // the image's + 6) plus the bar's own padding wide; drawn over the line's ground cut from the
  // form provider's MenuLineBG, the item section ("MENUITEM") in state 1 when hot or dropped.
  // An item with an OnDrawItem of its own gets the ground and the hot state, then its handler
  // draws the rest over them.
  void sMeasureLineItem(fw::TMenuItem* item, fw::TCanvas& canvas, int& width, int& height);
  void sAdvancedDrawLineItem(fw::TMenuItem* item, fw::TCanvas& canvas, const gfx::TRect& rect,
                             fw::TOwnerDrawState state);

  // The entry of the pop-up window wnd, null when none.
  TacMenuInfo* MenuInfoOfWindow(win::HWND wnd);
  // The entry of the pop-up window wnd, made when missing, its picture prepared at the
  // window's size.
  TacMenuInfo* GetMenuInfo(win::HWND wnd);
  // Frees the entry of a window that goes.
  void DropWindow(win::HWND wnd);
  // The window's frame and shape from its entry's picture.
  void DrawWndBorder(const TacMenuInfo& mi);
  bool DrawMenuBorder(win::HWND menuWindow) override;
  // Asks the manager (WM_DRAWMENUBORDER to the application window, unless one waits already)
  // to draw the frame of the open menu that shows item.
  static void PostMenuBorder(const fw::TMenuItem& item);
  // Frees every entry.
  void ClearCache();
  int OpenMenus() const { return int(FMenuInfo.size()); }

  // The item's type by its caption.
  static TsMenuItemType ItemType(const fw::TMenuItem& item);
  // Right-to-left layout: the system reads from the right and the item's menu is right to
  // left (TMenu::IsRightToLeft).
  static bool IsRTL(const fw::TMenuItem& item);
  // Width of the body section's border picture (3 when it gives none), 0 without one.
  int SkinBorderWidth() const;
  // The default size of the glyph column's glyph (16 at the owning manager's scale).
  int GlyphSize() const;
  // The size of an item's glyph: its own bitmap's; else its menu's Images' size; else
  // GlyphSize() square.
  gfx::TSize GlyphSize(const fw::TMenuItem& item) const;
  // Whether an item before this one in its menu starts a new column.
  static bool Breaked(const fw::TMenuItem& item);
  // The extra line's width (ExtraLineWidth scaled) for a menu that shows one, else 0.
  int ExtraWidth(const TacMenuLayout& layout) const;
  // The canvas font of an item: the custom menu font (MenuSupport.CustomFont), else the
  // canvas's (the screen's menu font); bold for the default item; then OnGetPopupItemData.
  // True when the event changed the font's colour (the text then takes it).
  bool SetItemFont(fw::TCanvas& canvas, fw::TMenuItem& item, unsigned state) const;

 private:
  void PrepareMenuBG(TacMenuInfo& mi, int width, int height);
  void PaintExtraLine(const TacMenuInfo& mi, int height) const;
  void PaintDivider(gfx::Bitmap& bmp, const gfx::TRect& r, int extraWidth, int glyphWidth,
                    bool rtl) const;
  void PaintCaption(gfx::Bitmap& bmp, fw::TCanvas& canvas, const fw::TMenuItem& item,
                    int extraWidth, bool rtl) const;
  // The layout of a menu whose first item is first: its glyph width and extra line.
  TacMenuLayout MenuLayoutOf(fw::TMenuItem& first) const;
  const skin::data::TacSkinModel* Model() const;
  int IcoLineIndex() const;
  // What the menu measured last will show: its window's entry takes it.
  TacMenuLayout FMeasured;
  skin::core::TsSkinManager& FOwner;
  std::vector<TacMenuInfo> FMenuInfo;
  bool BorderDrawing = false;
  // Sets or takes away the handlers of one item (not its sub-items); true when they changed.
  bool SetHandlers(fw::TMenuItem& item, bool active, bool line);
  // Handlers made by this painter hold it weakly: a painter gone leaves them inert.
  std::shared_ptr<TsSkinableMenus*> FSelf;
};

// The painter of a manager.
TsSkinableMenus* SkinableMenusOf(skin::core::TsSkinManager& manager);

// ---- Pop-up menu windows

// Wraps a pop-up menu window (class "#32768"): its frame and background come from the menu's
// picture; the cache goes when the window does.
class TacMnuWnd {
 public:
  TacMnuWnd(win::HWND wnd, skin::core::TsSkinManager& manager);
  ~TacMnuWnd();
  TacMnuWnd(const TacMnuWnd&) = delete;
  TacMnuWnd& operator=(const TacMnuWnd&) = delete;
  win::HWND CtrlHandle;

 private:
  win::LRESULT WndProc(win::HWND h, win::UINT msg, win::WPARAM wParam, win::LPARAM lParam);
  skin::core::TsSkinManager& FManager;
  bool FHooked = false;
};

// The wrapped pop-up menu windows.
std::vector<std::unique_ptr<TacMnuWnd>>& MnuArray();
// Unhooks and frees every wrapper.
void ClearMnuArray();
// Wraps a new pop-up menu window (the dialog hook calls it as the window is made).
void AddMenuWindow(win::HWND wnd);
// Registers the painter's factory with the managers (once).
void InstallSkinnedMenus();

}  // namespace skin::controls
