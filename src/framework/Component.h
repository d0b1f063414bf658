// Components: named objects owned by another component (a form, a data module), freed with
// their owner, told when a component they refer to goes away, and finished by Loaded after
// their stored properties were read.
//
// Identifiers (component, class and property names) are ASCII std::string; text shown to
// people is std::u16string.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

namespace fw {

// Component state flags (a set).
enum TComponentStateFlag : std::uint32_t {
  csLoading = 1u << 0,     // properties are being streamed in; Loaded has not run yet
  csReading = 1u << 1,     // the reader is setting this component's properties right now
  csDestroying = 1u << 2,  // the destructor has begun
};
using TComponentState = std::uint32_t;

enum class TOperation { opInsert, opRemove };

class TComponent;
// An event without arguments other than its sender (OnClick, OnCreate, OnTimer ...).
using TNotifyEvent = std::function<void(TComponent* sender)>;

class TComponent {
 public:
  // An owner frees what it owns; a null owner leaves the component to its creator.
  explicit TComponent(TComponent* owner);
  virtual ~TComponent();
  TComponent(const TComponent&) = delete;
  TComponent& operator=(const TComponent&) = delete;

  // The class name as the window descriptions write it ("TComponent", "TForm1", ...).
  virtual std::string ClassName() const { return "TComponent"; }

  const std::string& Name() const { return FName; }
  // Renames; raises EComponentError for an invalid identifier or a name taken in the owner.
  void SetName(const std::string& name);
  TComponent* Owner() const { return FOwner; }
  TComponentState ComponentState() const { return FComponentState; }
  bool HasState(TComponentStateFlag flag) const { return (FComponentState & flag) != 0; }
  std::intptr_t Tag = 0;  // free for the program's own use

  // Owned components, in the order they were inserted.
  int ComponentCount() const { return int(FComponents.size()); }
  TComponent* Components(int index) const { return FComponents.at(index).get(); }
  // The owned component of that name (case-insensitive, as identifiers are), or null.
  TComponent* FindComponent(const std::string& name) const;

  // Frees every owned component now (a derived destructor calls it while still whole).
  void DestroyComponents();

  // Ask to be told (Notification opRemove) when other is destroyed; cleared on either's death.
  void FreeNotification(TComponent* other);
  void RemoveFreeNotification(TComponent* other);

  // Runs once the component is fully constructed and its description read (forms and data
  // modules raise OnCreate here); whoever creates a component calls it.
  virtual void AfterConstruction() {}

  // Streaming brackets: Loading sets csLoading; Loaded clears it (overrides call the base).
  void Loading() { FComponentState |= csLoading; }
  virtual void Loaded();

  // Sets csDestroying (a derived destructor calls it first, so its parts see the state).
  void Destroying() { FComponentState |= csDestroying; }

  // The handler a window description names (OnClick = sBitBtn1Click); empty when unknown.
  TNotifyEvent MethodAddress(const std::string& name) const;

  // Reading: the component written around this one in a description, for components that
  // nest without being controls (menu items join their menu or item); nothing by default.
  virtual void SetParentComponent(TComponent* /*parent*/) {}

  // Sets or clears csReading (the reader's business).
  void SetReading(bool reading);

 protected:
  // Makes a handler known to window descriptions read into this component.
  void PublishMethod(const std::string& name, TNotifyEvent handler);

  // Told of insertion into and removal from this component's owner, and of the destruction
  // of components asked about with FreeNotification. Overrides drop references and call it.
  virtual void Notification(TComponent* component, TOperation operation);

 private:
  void InsertComponent(TComponent* component);
  void RemoveComponent(TComponent* component);

  std::string FName;
  TComponent* FOwner = nullptr;
  TComponentState FComponentState = 0;
  std::vector<std::unique_ptr<TComponent>> FComponents;
  std::vector<TComponent*> FFreeNotifies;
  std::map<std::string, TNotifyEvent> FMethods;
};

// Raised for misuse of components (a duplicate or invalid name).
class EComponentError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// Case-insensitive comparison of ASCII identifiers.
bool SameText(const std::string& a, const std::string& b);

}  // namespace fw
