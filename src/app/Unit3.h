// TForm3: the hidden maintenance window. A grid lists the rows of the photo table with the
// picture stored in the current row beside it; the button stores the photo file of the
// current row into the row's blob field "fot". The main window offers no way to show it, and
// nothing opens the table: whoever does binds it to a connection that can open the catalogue
// (the main window's) first.
#pragma once

#include "framework/Form.h"
#include "framework/db/ADODataSet.h"
#include "framework/dbctrls/DBImage.h"
#include "framework/dbctrls/DataSource.h"
#include "skin/controls/sControls.h"

namespace app {

class TForm3 : public fw::TForm {
 public:
  // Reads its window description ("forms/Unit3.txt" beside the program); the table's
  // connection is the data module's, so the data module is created first.
  explicit TForm3(fw::TComponent* owner);
  std::string ClassName() const override { return "TForm3"; }

  // Puts the current row into edit mode, loads the bytes of its photo file into "fot" and
  // posts the row. A file that cannot be read leaves the row in edit mode, nothing written.
  void sButton1Click();

  db::TADOTable* ADOTable1 = nullptr;
  fw::TDataSource* DataSource1 = nullptr;
  skin::controls::TsDBGrid* sDBGrid1 = nullptr;
  fw::TDBImage* DBImage1 = nullptr;

 protected:
  // Its description has no skin provider: the window gets one made at run time when shown.
  void VisibleChanged() override;
};

extern TForm3* Form3;

}  // namespace app
