#include "app/TreeModel.h"

#include <stdexcept>

namespace app {

bool TTreeModelNode::Selected() const {
  return FTree && FTree->Selected() == this;
}

void TTreeModelNodes::Order() const {
  if (!FStale) return;
  FOrder.clear();
  auto walk = [this](auto& self,
                     const std::vector<std::unique_ptr<TTreeModelNode>>& nodes) -> void {
    for (const auto& n : nodes) {
      FOrder.push_back(n.get());
      self(self, n->FChildren);
    }
  };
  walk(walk, FRoots);
  FStale = false;
}

int TTreeModelNodes::Count() const {
  return FCount;
}

TTreeModelNode* TTreeModelNodes::Item(int i) const {
  Order();
  if (i < 0 || i >= FCount) throw std::out_of_range("tree node index out of range");
  return FOrder[std::size_t(i)];
}

TTreeModelNode* TTreeModelNodes::AddObject(TTreeModelNode* sibling, const std::u16string& text,
                                           std::intptr_t data) {
  return AddChildObject(sibling ? sibling->FParent : nullptr, text, data);
}

TTreeModelNode* TTreeModelNodes::AddChildObject(TTreeModelNode* parent, const std::u16string& text,
                                                std::intptr_t data) {
  auto node = std::make_unique<TTreeModelNode>();
  node->FTree = &FTree;
  node->FParent = parent;
  node->FText = text;
  node->FData = data;
  node->FNumber = FCount++;
  TTreeModelNode* raw = node.get();
  (parent ? parent->FChildren : FRoots).push_back(std::move(node));
  FStale = true;
  return raw;
}

void TTreeModelNodes::Clear() {
  if (FTree.FSelected) FTree.SetSelected(nullptr);
  FRoots.clear();
  FOrder.clear();
  FStale = false;
  FCount = 0;
}

void TTreeModel::SetSelected(TTreeModelNode* node) {
  if (node == FSelected) return;
  FSelected = node;
  if (OnChange) OnChange(this, node);
}

void TTreeModel::FullExpand() {
  for (int i = 0; i < FItems.Count(); ++i) FItems.Item(i)->FExpanded = true;
}

void TTreeModel::FullCollapse() {
  for (int i = 0; i < FItems.Count(); ++i) FItems.Item(i)->FExpanded = false;
}

}  // namespace app
