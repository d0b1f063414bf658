// TDataModule: a non-visual container of components (connections, datasets) owned by the
// application; other modules refer to its components by name.
#pragma once

#include "framework/Control.h"

namespace fw {

class TDataModule : public TComponent {
 public:
  explicit TDataModule(TComponent* owner) : TComponent(owner) {}
  ~TDataModule() override;
  std::string ClassName() const override { return "TDataModule"; }
  // Raises OnCreate; CreateForm calls it.
  void AfterConstruction() override;

  TNotifyEvent OnCreate;
  TNotifyEvent OnDestroy;
};

}  // namespace fw
