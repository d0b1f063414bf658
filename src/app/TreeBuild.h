// Building the district and organisation tree from the district query and the (filtered)
// organisation query: a district pass (every district a top-level node with data -1, in the
// query's order) and an organisation pass (each organisation added as a last child to every
// node whose text equals its district name, positions looked up afresh while the node count
// taken before the pass stays fixed). The pass's every consequence is kept: two districts of
// one name, an organisation named like a district, a null district name, the last district
// losing its place.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "app/TreeOps.h"
#include "framework/db/DataSet.h"

namespace app {

struct TOrganisationRow {
  std::optional<std::u16string> district;  // "mun.nam"; null matches no node
  std::u16string name;                     // "uz.nam" as text
  std::intptr_t id = 0;                    // "id"
};

struct TTreeRows {
  std::vector<std::u16string> districts;  // "nam" as text, in the query's order
  std::vector<TOrganisationRow> organisations;
};

// Reads both queries from their first row: districts by field "nam", organisations by field
// positions 0, 1 and 2.
TTreeRows ReadTreeRows(db::TDataSet& districts, db::TDataSet& organisations);

// The build followed step by step on a tree in memory, comparing every organisation with
// every node: the definition the fast build is held to.
TTreeOps ReferenceTreeOps(const TTreeRows& rows);

// The same operations, found through the nodes of each text and an order-statistics index of
// the depth-first positions: about (organisations x matching nodes x log nodes) work.
TTreeOps FastTreeOps(const TTreeRows& rows);

// Rebuilds a tree from the two queries (both moved to their first row).
template <class Tree>
void BuildTree(Tree& tree, db::TDataSet& districts, db::TDataSet& organisations) {
  ReplayTreeOps(tree, FastTreeOps(ReadTreeRows(districts, organisations)));
}

}  // namespace app
