// The district and organisation tree as a sequence of tree operations. A build works out the
// operations from the rows of the two queries; a replay applies them to a tree, so the tree
// control sees exactly the calls, and raises exactly the selection events, that a build made
// directly on it would. The replay and the expand/collapse button are templates over the tree
// type: any tree offering the tree control's interface takes them (Items() with Count, Item,
// AddObject, AddChildObject, Clear; Selected/SetSelected; FullExpand/FullCollapse;
// Hint/SetHint).
#pragma once

#include <cstdint>
#include <string>
#include <type_traits>
#include <vector>

namespace app {

struct TTreeOp {
  enum class Kind {
    Clear,       // remove all nodes
    SelectNone,  // clear the selection
    AddTop,      // add a node after the selected node's siblings (with no selection: last
                 // top-level node), with text and data
    Select,      // select the node at position index in depth-first order, which is the
                 // node-th node added since the last Clear
    AddChild,    // add a last child with text and data to the selected node
  };
  Kind kind = Kind::Clear;
  int index = 0;
  std::u16string text;
  std::intptr_t data = 0;
  int node = -1;  // Select: the same node by the order of addition

  friend bool operator==(const TTreeOp&, const TTreeOp&) = default;
};

using TTreeOps = std::vector<TTreeOp>;

// The data value of a district node; organisation nodes hold their key.
inline constexpr std::intptr_t kDistrictData = -1;

// Applies one operation to a tree.
template <class Tree>
void ApplyTreeOp(Tree& tree, const TTreeOp& op) {
  switch (op.kind) {
    case TTreeOp::Kind::Clear:
      tree.Items().Clear();
      break;
    case TTreeOp::Kind::SelectNone:
      tree.SetSelected(nullptr);
      break;
    case TTreeOp::Kind::AddTop:
      tree.Items().AddObject(tree.Selected(), op.text, op.data);
      break;
    case TTreeOp::Kind::Select:
      tree.SetSelected(tree.Items().Item(op.index));
      break;
    case TTreeOp::Kind::AddChild:
      tree.Items().AddChildObject(tree.Selected(), op.text, op.data);
      break;
  }
}

// Applies the operations in order. A selection reaches its node through the nodes the replay
// added since its Clear rather than through the depth-first position: the same node, without
// the tree working out positions after every addition. Should anything else change the tree's
// nodes meanwhile (a handler), the position is used again.
template <class Tree>
void ReplayTreeOps(Tree& tree, const TTreeOps& ops) {
  using Node = std::remove_pointer_t<decltype(tree.Selected())>;
  std::vector<Node*> added;
  bool counted = false;  // added holds every node of the tree
  for (const TTreeOp& op : ops) {
    switch (op.kind) {
      case TTreeOp::Kind::Clear:
        tree.Items().Clear();
        added.clear();
        counted = tree.Items().Count() == 0;
        break;
      case TTreeOp::Kind::AddTop:
        added.push_back(tree.Items().AddObject(tree.Selected(), op.text, op.data));
        break;
      case TTreeOp::Kind::AddChild:
        added.push_back(tree.Items().AddChildObject(tree.Selected(), op.text, op.data));
        break;
      case TTreeOp::Kind::Select:
        if (counted && op.node >= 0 && std::size_t(op.node) < added.size() &&
            std::size_t(tree.Items().Count()) == added.size())
          tree.SetSelected(added[std::size_t(op.node)]);
        else
          ApplyTreeOp(tree, op);
        break;
      case TTreeOp::Kind::SelectNone:
        ApplyTreeOp(tree, op);
        break;
    }
  }
}

// The expand/collapse button keeps its state in the tree's hint: "Р" after expanding all,
// "С" after collapsing all; anything else (the help text before the first press) counts as
// not expanded.
inline constexpr char16_t kExpandedMark[] = u"Р";
inline constexpr char16_t kCollapsedMark[] = u"С";

template <class Tree>
void ToggleFullExpansion(Tree& tree) {
  if (tree.Hint() == kExpandedMark) {
    tree.FullCollapse();
    tree.SetHint(kCollapsedMark);
  } else {
    tree.FullExpand();
    tree.SetHint(kExpandedMark);
  }
}

}  // namespace app
