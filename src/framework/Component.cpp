#include "framework/Component.h"

#include <algorithm>
#include <cctype>
#include <stdexcept>

namespace fw {

bool SameText(const std::string& a, const std::string& b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
           return std::tolower(static_cast<unsigned char>(x)) ==
                  std::tolower(static_cast<unsigned char>(y));
         });
}

namespace {

bool IsValidIdent(const std::string& s) {
  if (s.empty() || std::isdigit(static_cast<unsigned char>(s[0]))) return false;
  return std::all_of(s.begin(), s.end(), [](char c) {
    return std::isalnum(static_cast<unsigned char>(c)) || c == '_';
  });
}

}  // namespace

TComponent::TComponent(TComponent* owner) {
  if (owner) owner->InsertComponent(this);
}

TComponent::~TComponent() {
  FComponentState |= csDestroying;
  // Tell everyone who asked, then forget them in both directions.
  while (!FFreeNotifies.empty()) {
    TComponent* other = FFreeNotifies.back();
    FFreeNotifies.pop_back();
    std::erase(other->FFreeNotifies, this);
    other->Notification(this, TOperation::opRemove);
  }
  DestroyComponents();
  if (FOwner) FOwner->RemoveComponent(this);
}

void TComponent::DestroyComponents() {
  // Last inserted first, each leaving the list before it is destroyed.
  while (!FComponents.empty()) {
    std::unique_ptr<TComponent> child = std::move(FComponents.back());
    FComponents.pop_back();
    child->FOwner = nullptr;
    Notification(child.get(), TOperation::opRemove);
    child.reset();
  }
}

void TComponent::SetName(const std::string& name) {
  if (name == FName) return;
  if (!name.empty() && !IsValidIdent(name))
    throw EComponentError("\"" + name + "\" is not a valid component name");
  if (!name.empty() && FOwner) {
    TComponent* other = FOwner->FindComponent(name);
    if (other && other != this)
      throw EComponentError("A component named " + name + " already exists");
  }
  FName = name;
}

TComponent* TComponent::FindComponent(const std::string& name) const {
  if (name.empty()) return nullptr;
  for (const auto& c : FComponents)
    if (SameText(c->FName, name)) return c.get();
  return nullptr;
}

void TComponent::FreeNotification(TComponent* other) {
  if (!other || other == this) return;
  if (std::find(FFreeNotifies.begin(), FFreeNotifies.end(), other) == FFreeNotifies.end())
    FFreeNotifies.push_back(other);
  if (std::find(other->FFreeNotifies.begin(), other->FFreeNotifies.end(), this) ==
      other->FFreeNotifies.end())
    other->FFreeNotifies.push_back(this);
}

void TComponent::RemoveFreeNotification(TComponent* other) {
  if (!other) return;
  std::erase(FFreeNotifies, other);
  std::erase(other->FFreeNotifies, this);
}

void TComponent::PublishMethod(const std::string& name, TNotifyEvent handler) {
  FMethods[name] = std::move(handler);
}

TNotifyEvent TComponent::MethodAddress(const std::string& name) const {
  for (const auto& [key, handler] : FMethods)
    if (SameText(key, name)) return handler;
  return {};
}

void TComponent::Loaded() {
  FComponentState &= ~TComponentState(csLoading);
}

void TComponent::SetReading(bool reading) {
  if (reading)
    FComponentState |= csReading;
  else
    FComponentState &= ~TComponentState(csReading);
}

void TComponent::Notification(TComponent* component, TOperation operation) {
  // An owner passes the news on to everything it owns.
  if (!component) return;
  for (const auto& c : FComponents)
    if (c.get() != component) c->Notification(component, operation);
}

void TComponent::InsertComponent(TComponent* component) {
  FComponents.emplace_back(component);
  component->FOwner = this;
  Notification(component, TOperation::opInsert);
}

void TComponent::RemoveComponent(TComponent* component) {
  // Called from the component's own destructor: release without deleting.
  auto it = std::find_if(FComponents.begin(), FComponents.end(),
                         [&](const auto& p) { return p.get() == component; });
  if (it == FComponents.end()) return;
  it->release();
  FComponents.erase(it);
  component->FOwner = nullptr;
  Notification(component, TOperation::opRemove);
}

}  // namespace fw
