// TDataModule2: a second connection to the catalogue database, designed against a development
// copy, with the district query and a data source over it (mun). Nothing connects or opens
// them; the maintenance window binds its table to this connection by name.
#pragma once

#include "framework/DataModule.h"
#include "framework/db/ADODataSet.h"
#include "framework/dbctrls/DataSource.h"

namespace app {

class TDataModule2 : public fw::TDataModule {
 public:
  // Reads its window description ("forms/Unit2.txt" beside the program).
  explicit TDataModule2(fw::TComponent* owner);
  std::string ClassName() const override { return "TDataModule2"; }

  db::TADOConnection* ADOConnection1 = nullptr;
  db::TADOQuery* ADOQuery1 = nullptr;
  fw::TDataSource* mun = nullptr;
};

extern TDataModule2* DataModule2;

// Registers every class the catalogue's descriptions name (once).
void RegisterCatalogueClasses();

}  // namespace app
