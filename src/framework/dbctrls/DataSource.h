// TDataSource: links a dataset to data-aware controls. Each control keeps a TDataLink to a
// data source; the source passes its dataset's events on to every link. Either side may die
// first: a dying source leaves its links without a source, a dying dataset leaves the source
// without a dataset, a dying link leaves its source.
#pragma once

#include <functional>
#include <vector>

#include "framework/Component.h"
#include "framework/db/DataSet.h"

namespace fw {

class TDataLink;

class TDataSource : public TComponent, private db::TDataSetObserver {
 public:
  explicit TDataSource(TComponent* owner);
  ~TDataSource() override;
  std::string ClassName() const override { return "TDataSource"; }

  // The dataset (any owner, another form or data module included); null when none.
  db::TDataSet* DataSet() const { return FDataSet; }
  void SetDataSet(db::TDataSet* dataSet);
  // A disabled source shows its links no dataset (default true).
  bool Enabled() const { return FEnabled; }
  void SetEnabled(bool enabled);
  // The dataset's state; dsInactive without an open dataset.
  db::TDataSetState State() const;

  TNotifyEvent OnDataChange;   // rows or the current row changed (scroll, filter, field set)
  TNotifyEvent OnStateChange;  // opened, closed, edit, post, cancel

 protected:
  void Notification(TComponent* component, TOperation operation) override;

 private:
  friend class TDataLink;
  void DataEvent(db::TDataEvent event) override;
  void Broadcast(db::TDataEvent event);

  db::TDataSet* FDataSet = nullptr;
  bool FEnabled = true;
  std::vector<TDataLink*> FLinks;
};

// A data-aware control's hold on a data source. OnDataEvent is told of every event of the
// source's dataset, and deActiveChange when the source, its dataset or its state changes.
class TDataLink {
 public:
  TDataLink() = default;
  ~TDataLink();
  TDataLink(const TDataLink&) = delete;
  TDataLink& operator=(const TDataLink&) = delete;

  TDataSource* DataSource() const { return FDataSource; }
  void SetDataSource(TDataSource* source);
  // The source's dataset while it is open and the source enabled; otherwise null.
  db::TDataSet* DataSet() const;

  std::function<void(db::TDataEvent)> OnDataEvent;

 private:
  friend class TDataSource;
  void Tell(db::TDataEvent event) {
    if (OnDataEvent) OnDataEvent(event);
  }
  TDataSource* FDataSource = nullptr;
};

}  // namespace fw
