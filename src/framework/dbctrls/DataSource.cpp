#include "framework/dbctrls/DataSource.h"

#include <algorithm>

namespace fw {

TDataSource::TDataSource(TComponent* owner) : TComponent(owner) {}

TDataSource::~TDataSource() {
  Destroying();
  if (FDataSet) FDataSet->RemoveObserver(this);
  FDataSet = nullptr;
  std::vector<TDataLink*> links = std::move(FLinks);
  FLinks.clear();
  for (TDataLink* link : links) {
    link->FDataSource = nullptr;
    link->Tell(db::TDataEvent::deActiveChange);
  }
}

void TDataSource::SetDataSet(db::TDataSet* dataSet) {
  if (dataSet == FDataSet) return;
  if (FDataSet) {
    FDataSet->RemoveObserver(this);
    RemoveFreeNotification(FDataSet);
  }
  FDataSet = dataSet;
  if (FDataSet) {
    FDataSet->AddObserver(this);
    FreeNotification(FDataSet);
  }
  Broadcast(db::TDataEvent::deActiveChange);
}

void TDataSource::SetEnabled(bool enabled) {
  if (enabled == FEnabled) return;
  FEnabled = enabled;
  Broadcast(db::TDataEvent::deActiveChange);
}

db::TDataSetState TDataSource::State() const {
  return FDataSet ? FDataSet->State() : db::TDataSetState::dsInactive;
}

void TDataSource::Notification(TComponent* component, TOperation operation) {
  if (operation == TOperation::opRemove && component == FDataSet) {
    // The dataset is being destroyed: only its identity may be used now.
    FDataSet = nullptr;
    Broadcast(db::TDataEvent::deActiveChange);
  }
  TComponent::Notification(component, operation);
}

void TDataSource::DataEvent(db::TDataEvent event) {
  if (!FEnabled) return;
  Broadcast(event);
  bool state = event == db::TDataEvent::deActiveChange || event == db::TDataEvent::deUpdateState;
  if (state && OnStateChange) OnStateChange(this);
  if (!state && OnDataChange) OnDataChange(this);
}

void TDataSource::Broadcast(db::TDataEvent event) {
  // A link told may leave (its control reacting by changing sources).
  std::vector<TDataLink*> links = FLinks;
  for (TDataLink* link : links)
    if (std::find(FLinks.begin(), FLinks.end(), link) != FLinks.end()) link->Tell(event);
}

TDataLink::~TDataLink() {
  if (FDataSource) std::erase(FDataSource->FLinks, this);
}

void TDataLink::SetDataSource(TDataSource* source) {
  if (source == FDataSource) return;
  if (FDataSource) std::erase(FDataSource->FLinks, this);
  FDataSource = source;
  if (FDataSource) FDataSource->FLinks.push_back(this);
  Tell(db::TDataEvent::deActiveChange);
}

db::TDataSet* TDataLink::DataSet() const {
  if (!FDataSource || !FDataSource->Enabled()) return nullptr;
  db::TDataSet* d = FDataSource->DataSet();
  return d && d->Active() ? d : nullptr;
}

}  // namespace fw
