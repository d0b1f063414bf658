// TForm3: the hidden maintenance window. Its button stores the photo file of the table's
// current row into the row's blob field "fot". The main window offers no way to show it.
#pragma once

#include "framework/Form.h"
#include "framework/db/ADODataSet.h"

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
};

extern TForm3* Form3;

}  // namespace app
