// Building a tree with children spread over 50 parents (added in turn, so that most adds land
// before the end of the depth-first order) and then reading every node by its depth-first
// position: linear in the node count, thanks to the tree's cached index.
#include <benchmark/benchmark.h>

#include <vector>

#include "framework/TreeView.h"

namespace {

void BuildAndIndex(benchmark::State& state) {
  const int children = int(state.range(0));
  for (auto _ : state) {
    fw::TTreeView tree(nullptr);
    auto& items = tree.Items();
    std::vector<fw::TTreeNode*> parents;
    for (int p = 0; p < 50; ++p) parents.push_back(items.AddObject(nullptr, u"District", -1));
    for (int i = 0; i < children; ++i) items.AddChildObject(parents[i % 50], u"School", i);
    std::intptr_t sum = 0;
    for (int i = 0; i < items.Count(); ++i) sum += items.Item(i)->Data();
    benchmark::DoNotOptimize(sum);
  }
  state.SetComplexityN(children);
}
BENCHMARK(BuildAndIndex)->Arg(2500)->Arg(5000)->Arg(10000)->Complexity(benchmark::oN);

}  // namespace
