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
#include <vector>

namespace app {

struct TTreeOp {
  enum class Kind {
    Clear,       // remove all nodes
    SelectNone,  // clear the selection
    AddTop,      // add a node after the selected node's siblings (with no selection: last
                 // top-level node), with text and data
    Select,      // select the node at position index in depth-first order
    AddChild,    // add a last child with text and data to the selected node
  };
  Kind kind = Kind::Clear;
  int index = 0;
  std::u16string text;
  std::intptr_t data = 0;

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

template <class Tree>
void ReplayTreeOps(Tree& tree, const TTreeOps& ops) {
  for (const TTreeOp& op : ops) ApplyTreeOp(tree, op);
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
