#include "app/Unit2.h"

#include "app/FormResources.h"
#include "app/Unit1.h"
#include "app/Unit3.h"
#include "framework/Reader.h"
#include "framework/db/DataClasses.h"
#include "skin/controls/sControls.h"

namespace app {

TDataModule2* DataModule2 = nullptr;

void RegisterCatalogueClasses() {
  static bool done = false;
  if (done) return;
  done = true;
  db::RegisterDataClasses();
  skin::controls::RegisterSkinClasses();  // the data-aware controls with them
  fw::RegisterClass<TDataModule2>("TDataModule2", "TDataModule");
  fw::RegisterClass<TForm1>("TForm1", "TForm");
  fw::RegisterClass<TForm3>("TForm3", "TForm");
}

TDataModule2::TDataModule2(fw::TComponent* owner) : TDataModule(owner) {
  RegisterCatalogueClasses();
  fw::ReadComponentResource(this, FormFiles(), "Unit2.txt");
  ADOConnection1 = static_cast<db::TADOConnection*>(FindComponent("ADOConnection1"));
  ADOQuery1 = static_cast<db::TADOQuery*>(FindComponent("ADOQuery1"));
  mun = static_cast<fw::TDataSource*>(FindComponent("mun"));
}

}  // namespace app
