#include "app/TreeBuild.h"

#include <cstdint>
#include <unordered_map>

#include "app/TreeModel.h"

namespace app {

TTreeRows ReadTreeRows(db::TDataSet& districts, db::TDataSet& organisations) {
  TTreeRows rows;
  districts.First();
  db::TField& nam = districts.FieldByName("nam");
  for (; !districts.Eof(); districts.Next()) rows.districts.push_back(nam.AsString());
  organisations.First();
  db::TField& district = organisations.Fields(0);
  db::TField& name = organisations.Fields(1);
  db::TField& id = organisations.Fields(2);
  for (; !organisations.Eof(); organisations.Next()) {
    TOrganisationRow row;
    const db::TVariant d = district.Value();
    if (!d.IsNull()) row.district = d.ToString();
    row.name = name.AsString();
    row.id = std::intptr_t(id.AsInteger());
    rows.organisations.push_back(std::move(row));
  }
  return rows;
}

namespace {

TTreeOp Op(TTreeOp::Kind kind, int index = 0, std::u16string text = {}, std::intptr_t data = 0,
           int node = -1) {
  return TTreeOp{kind, index, std::move(text), data, node};
}

}  // namespace

TTreeOps ReferenceTreeOps(const TTreeRows& rows) {
  TTreeModel tree;
  TTreeOps ops;
  auto apply = [&](TTreeOp op) {
    ops.push_back(std::move(op));
    ApplyTreeOp(tree, ops.back());
  };
  apply(Op(TTreeOp::Kind::Clear));
  for (const std::u16string& d : rows.districts) {
    apply(Op(TTreeOp::Kind::SelectNone));
    apply(Op(TTreeOp::Kind::AddTop, 0, d, kDistrictData));
  }
  for (const TOrganisationRow& row : rows.organisations) {
    const int n = tree.Items().Count();
    for (int i = 0; i < n; ++i) {
      if (row.district && tree.Items().Item(i)->Text() == *row.district) {
        apply(Op(TTreeOp::Kind::Select, i, {}, 0, tree.Items().Item(i)->Number()));
        apply(Op(TTreeOp::Kind::AddChild, 0, row.name, row.id));
      }
    }
  }
  return ops;
}

namespace {

// Depth-first positions of the nodes as an implicit treap: a node's position is its rank, a
// new node goes in at a rank, and a node finds its rank through its parents in the treap.
class TPositionIndex {
 public:
  // Inserts node id (the next one, ids being 0, 1, 2, ...) at position pos.
  void Insert(int pos) {
    const int x = int(FNodes.size());
    FNodes.push_back(TNode{-1, -1, -1, NextPriority(), 1});
    FRoot = InsertAt(FRoot, pos, x);
    FNodes[std::size_t(FRoot)].parent = -1;
  }
  int Rank(int x) const {
    int r = Size(N(x).left);
    for (int p = N(x).parent; p != -1; x = p, p = N(p).parent)
      if (N(p).right == x) r += Size(N(p).left) + 1;
    return r;
  }

 private:
  struct TNode {
    int left, right, parent;
    std::uint32_t priority;
    int size;
  };
  const TNode& N(int x) const { return FNodes[std::size_t(x)]; }
  TNode& N(int x) { return FNodes[std::size_t(x)]; }
  int Size(int x) const { return x == -1 ? 0 : N(x).size; }
  void Update(int x) {
    TNode& n = N(x);
    n.size = 1 + Size(n.left) + Size(n.right);
    if (n.left != -1) N(n.left).parent = x;
    if (n.right != -1) N(n.right).parent = x;
  }
  std::uint32_t NextPriority() {
    FSeed ^= FSeed << 13;
    FSeed ^= FSeed >> 17;
    FSeed ^= FSeed << 5;
    return FSeed;
  }
  // Splits t into its first k nodes and the rest.
  std::pair<int, int> Split(int t, int k) {
    if (t == -1) return {-1, -1};
    if (Size(N(t).left) >= k) {
      auto [l, r] = Split(N(t).left, k);
      N(t).left = r;
      Update(t);
      return {l, t};
    }
    auto [l, r] = Split(N(t).right, k - Size(N(t).left) - 1);
    N(t).right = l;
    Update(t);
    return {t, r};
  }
  int InsertAt(int t, int k, int x) {
    if (t == -1) return x;
    if (N(x).priority > N(t).priority) {
      auto [l, r] = Split(t, k);
      N(x).left = l;
      N(x).right = r;
      if (l != -1) N(l).parent = x;
      if (r != -1) N(r).parent = x;
      Update(x);
      return x;
    }
    const int leftSize = Size(N(t).left);
    if (k <= leftSize)
      N(t).left = InsertAt(N(t).left, k, x);
    else
      N(t).right = InsertAt(N(t).right, k - leftSize - 1, x);
    Update(t);
    return t;
  }

  std::vector<TNode> FNodes;
  int FRoot = -1;
  std::uint32_t FSeed = 0x9E3779B9u;
};

}  // namespace

TTreeOps FastTreeOps(const TTreeRows& rows) {
  TTreeOps ops;
  ops.reserve(1 + 2 * rows.districts.size() + 2 * rows.organisations.size());
  TPositionIndex positions;
  std::vector<int> parent;       // tree parent of each node, -1 at the top level
  std::vector<int> descendants;  // number of descendants of each node
  // The nodes of each text, in depth-first order.
  std::unordered_map<std::u16string, std::vector<int>> byText;

  auto addNode = [&](int pos, int treeParent, const std::u16string& text) {
    const int x = int(parent.size());
    positions.Insert(pos);
    parent.push_back(treeParent);
    descendants.push_back(0);
    for (int a = treeParent; a != -1; a = parent[std::size_t(a)]) ++descendants[std::size_t(a)];
    // Keeps the text's list in depth-first order: the new node goes before the first node of
    // the same text that now lies after it.
    std::vector<int>& list = byText[text];
    std::size_t lo = 0, hi = list.size();
    while (lo < hi) {
      const std::size_t mid = (lo + hi) / 2;
      if (positions.Rank(list[mid]) < pos)
        lo = mid + 1;
      else
        hi = mid;
    }
    list.insert(list.begin() + std::ptrdiff_t(lo), x);
    return x;
  };

  ops.push_back(Op(TTreeOp::Kind::Clear));
  int count = 0;
  for (const std::u16string& d : rows.districts) {
    ops.push_back(Op(TTreeOp::Kind::SelectNone));
    ops.push_back(Op(TTreeOp::Kind::AddTop, 0, d, kDistrictData));
    addNode(count++, -1, d);
  }
  for (const TOrganisationRow& row : rows.organisations) {
    if (!row.district) continue;
    const auto found = byText.find(*row.district);
    if (found == byText.end()) continue;
    // The pass looks at positions 0 .. n-1 of the tree as it changes; nodes added during the
    // pass always lie after the position being looked at, so the matching nodes are visited
    // in their list's order, and the pass ends at the first one at position n or beyond.
    const int n = count;
    std::vector<int>& matching = found->second;  // stays valid while other texts are added
    for (std::size_t k = 0; k < matching.size(); ++k) {
      const int node = matching[k];
      const int pos = positions.Rank(node);
      if (pos >= n) break;
      ops.push_back(Op(TTreeOp::Kind::Select, pos, {}, 0, node));
      ops.push_back(Op(TTreeOp::Kind::AddChild, 0, row.name, row.id));
      addNode(pos + descendants[std::size_t(node)] + 1, node, row.name);
      ++count;
    }
  }
  return ops;
}

}  // namespace app
