// A tree in memory with the tree control's interface: nodes with text and a data value,
// depth-first positions, a selection that raises OnChange when it changes, expansion and a
// hint. The reference build runs on it, and tests replay builds into it.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace app {

class TTreeModel;

class TTreeModelNode {
 public:
  const std::u16string& Text() const { return FText; }
  std::intptr_t Data() const { return FData; }
  bool Selected() const;
  bool Expanded() const { return FExpanded; }
  TTreeModelNode* Parent() const { return FParent; }
  // Nodes added before this one since the last Clear.
  int Number() const { return FNumber; }
  int Count() const { return int(FChildren.size()); }
  TTreeModelNode* Item(int i) const { return FChildren.at(std::size_t(i)).get(); }

 private:
  friend class TTreeModelNodes;
  friend class TTreeModel;
  TTreeModel* FTree = nullptr;
  TTreeModelNode* FParent = nullptr;
  std::u16string FText;
  std::intptr_t FData = 0;
  int FNumber = 0;
  bool FExpanded = false;
  std::vector<std::unique_ptr<TTreeModelNode>> FChildren;
};

class TTreeModelNodes {
 public:
  explicit TTreeModelNodes(TTreeModel& tree) : FTree(tree) {}
  // Nodes on all levels.
  int Count() const;
  // The node at a depth-first position (each node followed by all its descendants).
  TTreeModelNode* Item(int i) const;
  // A new last sibling of sibling (with no sibling: a new last top-level node).
  TTreeModelNode* Add(TTreeModelNode* sibling, const std::u16string& text) {
    return AddObject(sibling, text, 0);
  }
  TTreeModelNode* AddObject(TTreeModelNode* sibling, const std::u16string& text,
                            std::intptr_t data);
  // A new last child of parent (with no parent: a new last top-level node).
  TTreeModelNode* AddChildObject(TTreeModelNode* parent, const std::u16string& text,
                                 std::intptr_t data);
  // Removes every node; a selection goes with them (raising OnChange with no node).
  void Clear();

 private:
  friend class TTreeModel;
  void Order() const;
  TTreeModel& FTree;
  std::vector<std::unique_ptr<TTreeModelNode>> FRoots;
  mutable std::vector<TTreeModelNode*> FOrder;  // depth-first order, rebuilt when stale
  mutable bool FStale = false;
  int FCount = 0;  // nodes added since the last Clear
};

class TTreeModel {
 public:
  TTreeModel() : FItems(*this) {}
  TTreeModel(const TTreeModel&) = delete;
  TTreeModel& operator=(const TTreeModel&) = delete;

  TTreeModelNodes& Items() { return FItems; }
  const TTreeModelNodes& Items() const { return FItems; }
  TTreeModelNode* Selected() const { return FSelected; }
  // Selecting another node (or none) raises OnChange at once; the same node raises nothing.
  void SetSelected(TTreeModelNode* node);
  void FullExpand();
  void FullCollapse();
  const std::u16string& Hint() const { return FHint; }
  void SetHint(const std::u16string& hint) { FHint = hint; }

  std::function<void(TTreeModel* sender, TTreeModelNode* node)> OnChange;

 private:
  friend class TTreeModelNodes;
  TTreeModelNodes FItems;
  TTreeModelNode* FSelected = nullptr;
  std::u16string FHint;
};

}  // namespace app
