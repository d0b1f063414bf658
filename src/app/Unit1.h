// TForm1: the catalogue's main window. Its creation handler writes the status line, sets the
// folders, connects to the database beside the program and opens the catalogue's datasets;
// its last step builds the district and organisation tree. Its handlers filter and rebuild the
// tree, expand or collapse it, and drive the museum card and the photo viewer. The keyboard
// switches to the Russian layout at start and whenever the window becomes active, so names are
// typed in Cyrillic.
#pragma once

#include <memory>
#include <string>

#include "app/MuseumCard.h"
#include "app/PhotoViewer.h"
#include "framework/Button.h"
#include "framework/ComboBox.h"
#include "framework/Edit.h"
#include "framework/Form.h"
#include "framework/Image.h"
#include "framework/Label.h"
#include "framework/Memo.h"
#include "framework/Panel.h"
#include "framework/StatusBar.h"
#include "framework/TreeView.h"
#include "framework/db/ADODataSet.h"
#include "skin/controls/acAlphaImageList.h"

namespace app {

// The resource folder (the program's folder followed by "/res/") and the program's folder,
// set once by the main window's creation handler.
extern std::string path;
extern std::string path1;

class TForm1 : public fw::TForm {
 public:
  // Reads its window description ("forms/Unit1.txt" beside the program).
  explicit TForm1(fw::TComponent* owner);
  ~TForm1() override;
  std::string ClassName() const override { return "TForm1"; }

  void FormCreate();
  void FormActivate();
  // Activates the Russian keyboard layout; a layout that cannot be had is ignored.
  void SetRU();
  // Fills or hides the card from a tree node's data value (no value: no selected node).
  void clickk(std::optional<std::intptr_t> selectedData);
  // The tree's selection change and click: both show the card of the selected node.
  void sTreeView2Change();
  void sTreeView2Click();
  // The type list's close-up and every change of the name box: filter and rebuild the tree.
  void sComboBox1CloseUp();
  // Expands or collapses the whole tree.
  void sBitBtn1Click();
  void sBitBtn2Click();
  void sImage3Click();

  fw::TStatusBar* sStatusBar1 = nullptr;
  fw::TTreeView* sTreeView2 = nullptr;
  fw::TComboBox* sComboBox1 = nullptr;
  fw::TEdit* sEdit1 = nullptr;
  fw::TButton* sBitBtn1 = nullptr;
  fw::TMemo* sMemo1 = nullptr;
  fw::TPanel* sPanel2 = nullptr;
  fw::TImage* sImage3 = nullptr;
  fw::TImage* sImage6 = nullptr;
  // The museum-type pictures sImage6 shows by index.
  skin::controls::TsAlphaImageList* sAlphaImageList1 = nullptr;
  db::TADOConnection* ADOConnection1 = nullptr;
  db::TADOQuery* ADOQuery1 = nullptr;
  db::TADOQuery* ADOQuery2 = nullptr;
  db::TADOQuery* ADOQuery3 = nullptr;
  db::TADOQuery* ADOQuery4 = nullptr;
  db::TADOTable* ADOTable1 = nullptr;

 private:
  template <class T>
  T* Component(const char* name) const;
  // The selected node's data value; none without a selected node.
  std::optional<std::intptr_t> SelectedData() const;

  TCardControls FCard;
  std::unique_ptr<TPhotoViewer> FViewer;
};

extern TForm1* Form1;

}  // namespace app
