// The menu bar the MDI tests give their parent: "&File", and "&Window" (holding "&Tile") as the
// window menu that lists the children.
#pragma once

#include "framework/Form.h"
#include "framework/Menus.h"

namespace fw::test {

struct TMdiMenus {
  TMainMenu* menu = nullptr;
  TMenuItem* windowItem = nullptr;
};

inline TMdiMenus GiveMdiMenus(TForm& parent) {
  TMdiMenus m;
  m.menu = new TMainMenu(&parent);
  auto* file = new TMenuItem(m.menu);
  file->SetCaption(u"&File");
  m.windowItem = new TMenuItem(m.menu);
  m.windowItem->SetCaption(u"&Window");
  auto* tile = new TMenuItem(m.menu);
  tile->SetCaption(u"&Tile");
  m.windowItem->Add(tile);
  m.menu->Items()->Add(file);
  m.menu->Items()->Add(m.windowItem);
  parent.SetMenu(m.menu);
  parent.SetWindowMenu(m.windowItem);
  return m;
}

}  // namespace fw::test
