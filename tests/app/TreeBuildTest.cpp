// The tree build: the step-by-step reference on the awkward cases, the fast build held to it
// on random catalogues, the replay's selection events, and the expand/collapse button.
#include <gtest/gtest.h>

#include <random>
#include <sstream>
#include <string>

#include "Catalogue.h"
#include "app/TreeBuild.h"
#include "app/TreeModel.h"
#include "framework/Application.h"
#include "framework/Form.h"
#include "framework/TreeView.h"
#include "framework/db/Variant.h"
#include "platform/win/ScrollInfo.h"
#include "platform/win/VirtualDesktop.h"

namespace app::test {
namespace {

// The tree as text: one line per node in depth-first order, indented by level, "text:data".
std::string Dump(const TTreeModel& tree) {
  std::ostringstream out;
  for (int i = 0; i < tree.Items().Count(); ++i) {
    const TTreeModelNode* n = tree.Items().Item(i);
    for (const TTreeModelNode* p = n->Parent(); p; p = p->Parent()) out << "  ";
    out << db::ToUtf8(n->Text()) << ":" << n->Data() << "\n";
  }
  return out.str();
}

struct Built {
  std::string tree;
  std::vector<std::intptr_t> events;  // data of each newly selected node, -99 for none
  std::intptr_t selected = -99;
};

Built Replay(const TTreeOps& ops) {
  TTreeModel tree;
  Built b;
  tree.OnChange = [&](TTreeModel*, TTreeModelNode* n) { b.events.push_back(n ? n->Data() : -99); };
  ReplayTreeOps(tree, ops);
  b.tree = Dump(tree);
  b.selected = tree.Selected() ? tree.Selected()->Data() : -99;
  return b;
}

TOrganisationRow Org(const char16_t* district, const char16_t* name, int id) {
  TOrganisationRow r;
  if (district) r.district = district;
  r.name = name;
  r.id = id;
  return r;
}

TEST(TreeBuild, OrdinaryCatalogueEachOrganisationOnceUnderItsDistrict) {
  TTreeRows rows{
      {u"A", u"B", u"C"},
      {Org(u"B", u"b1", 1), Org(u"A", u"a1", 2), Org(u"B", u"b2", 3), Org(u"A", u"a2", 4)}};
  for (const TTreeOps& ops : {ReferenceTreeOps(rows), FastTreeOps(rows)}) {
    const Built b = Replay(ops);
    EXPECT_EQ(b.tree, "A:-1\n  a1:2\n  a2:4\nB:-1\n  b1:1\n  b2:3\nC:-1\n");
    // B, A, B, A: each change of district selects once; the last district stays selected.
    EXPECT_EQ(b.events, (std::vector<std::intptr_t>{-1, -1, -1, -1}));
    EXPECT_EQ(b.selected, -1);
  }
}

TEST(TreeBuild, TwoDistrictsOfOneNameAndTheLastDistrictCase) {
  // The second "A" is followed by "B": both get the organisation.
  TTreeRows followed{{u"A", u"A", u"B"}, {Org(u"A", u"x", 1)}};
  EXPECT_EQ(Replay(ReferenceTreeOps(followed)).tree, "A:-1\n  x:1\nA:-1\n  x:1\nB:-1\n");
  // The second "A" is the last node: the place the first child took is its own.
  TTreeRows last{{u"A", u"B", u"A"}, {Org(u"A", u"x", 1), Org(u"A", u"y", 2)}};
  EXPECT_EQ(Replay(ReferenceTreeOps(last)).tree, "A:-1\n  x:1\n  y:2\nB:-1\nA:-1\n");
  EXPECT_EQ(ReferenceTreeOps(last), FastTreeOps(last));
  EXPECT_EQ(ReferenceTreeOps(followed), FastTreeOps(followed));
}

TEST(TreeBuild, AnOrganisationNamedLikeADistrictCollectsItsLaterOrganisations) {
  TTreeRows rows{
      {u"A", u"B"},
      {Org(u"B", u"a0", 1), Org(u"A", u"B", 2), Org(u"B", u"b1", 3), Org(u"B", u"b2", 4)}};
  const Built b = Replay(ReferenceTreeOps(rows));
  EXPECT_EQ(b.tree, "A:-1\n  B:2\n    b1:3\n    b2:4\nB:-1\n  a0:1\n  b1:3\n  b2:4\n");
  // Selecting the organisation node "B" shows its own card (data 2) each time it is chosen.
  EXPECT_EQ(b.events, (std::vector<std::intptr_t>{-1, -1, 2, -1, 2, -1}));
  EXPECT_EQ(Replay(FastTreeOps(rows)).tree, b.tree);
}

TEST(TreeBuild, AnOrganisationNamedLikeItsOwnDistrictNestsWithinThePass) {
  // Each new "A" is itself looked at later in the same pass while positions remain.
  TTreeRows rows{{u"A", u"x", u"y", u"z"}, {Org(u"A", u"A", 7)}};
  const TTreeOps ref = ReferenceTreeOps(rows);
  EXPECT_EQ(Replay(ref).tree, "A:-1\n  A:7\n    A:7\n      A:7\n        A:7\nx:-1\ny:-1\nz:-1\n");
  EXPECT_EQ(FastTreeOps(rows), ref);
}

TEST(TreeBuild, NullDistrictNamesMatchNothingAndEmptyNamesMatchEmpty) {
  TTreeRows rows{{u"", u"A"}, {Org(nullptr, u"lost", 1), Org(u"", u"e", 2), Org(u"A", u"a", 3)}};
  const Built b = Replay(ReferenceTreeOps(rows));
  EXPECT_EQ(b.tree, ":-1\n  e:2\nA:-1\n  a:3\n");
  EXPECT_EQ(Replay(FastTreeOps(rows)).tree, b.tree);
}

TEST(TreeBuild, NoOrganisationLeavesNoSelection) {
  TTreeRows rows{{u"A", u"B"}, {}};
  const Built b = Replay(FastTreeOps(rows));
  EXPECT_EQ(b.tree, "A:-1\nB:-1\n");
  EXPECT_TRUE(b.events.empty());
  EXPECT_EQ(b.selected, -99);
}

// A random catalogue over seven names: up to maxDistricts districts and 40 organisations, a
// tenth with a null district, a quarter named like a district (the others prefix + a name).
TTreeRows RandomRows(std::mt19937& random, const std::u16string (&names)[7], int maxDistricts,
                     const std::u16string& prefix) {
  std::uniform_int_distribution<int> nameOf(0, 6), districts(0, maxDistricts), orgs(0, 40),
      pct(0, 99);
  TTreeRows rows;
  const int nd = districts(random);
  for (int i = 0; i < nd; ++i) rows.districts.push_back(names[nameOf(random)]);
  const int no = orgs(random);
  for (int i = 0; i < no; ++i) {
    TOrganisationRow r;
    if (pct(random) >= 10) r.district = names[nameOf(random)];
    r.name = pct(random) < 25 ? names[nameOf(random)] : prefix + names[nameOf(random)];
    r.id = i + 1;
    rows.organisations.push_back(r);
  }
  return rows;
}

// Random catalogues with few distinct names, so that duplicate districts, organisations named
// like districts, empty and null names all occur. MC_TREE_VERBOSE=1 prints each case.
TEST(TreeBuild, FastBuildEqualsReferenceOnRandomCatalogues) {
  const bool verbose = std::getenv("MC_TREE_VERBOSE") != nullptr;
  const std::u16string names[] = {u"", u"A", u"B", u"C", u"D", u"Е", u"Ё"};
  std::mt19937 random(20261209);
  for (int round = 0; round < 400; ++round) {
    const TTreeRows rows = RandomRows(random, names, 12, u"o");
    const TTreeOps ref = ReferenceTreeOps(rows);
    const TTreeOps fast = FastTreeOps(rows);
    if (verbose || ref != fast)
      std::printf("round %d: %zu districts, %zu organisations, %zu operations\n", round,
                  rows.districts.size(), rows.organisations.size(), ref.size());
    ASSERT_EQ(ref, fast) << "round " << round;
    const Built a = Replay(ref), b = Replay(fast);
    ASSERT_EQ(a.events, b.events);
  }
}

TEST(TreeBuild, FixtureCatalogue) {
  auto conn = ConnectCatalogue(FixtureFolder());
  auto q1 = MakeQuery(*conn, "ADOQuery1", kDistrictsSql);
  auto q2 = MakeQuery(*conn, "ADOQuery2", kOrganisationsSql);
  q1->Open();
  q2->Open();
  const TTreeRows rows = ReadTreeRows(*q1, *q2);
  ASSERT_EQ(rows.districts.size(), 5u);
  EXPECT_EQ(rows.organisations.size(), 10u);  // 6 has no district
  TTreeModel tree;
  BuildTree(tree, *q1, *q2);
  EXPECT_EQ(Dump(tree), Replay(ReferenceTreeOps(rows)).tree);
  // Where each organisation key appears: under which parent's text.
  auto parentsOf = [&](std::intptr_t id) {
    std::vector<std::u16string> out;
    for (int i = 0; i < tree.Items().Count(); ++i) {
      const TTreeModelNode* n = tree.Items().Item(i);
      if (n->Data() == id && n->Parent()) out.push_back(n->Parent()->Text());
    }
    std::sort(out.begin(), out.end());
    return out;
  };
  const std::u16string lake = u"Озёрный район", river = u"Заречный район";
  // Before the organisation named like the district: under both districts of that name.
  EXPECT_EQ(parentsOf(4), (std::vector<std::u16string>{lake, lake}));
  // After it: under the organisation node as well.
  EXPECT_EQ(parentsOf(9), (std::vector<std::u16string>{lake, lake, lake}));
  EXPECT_EQ(parentsOf(5), (std::vector<std::u16string>{river}));
  EXPECT_TRUE(parentsOf(3).empty());  // the district without a name
  // The districts without organisations stay childless: the nameless one and the empty one.
  for (int i = 0; i < tree.Items().Count(); ++i) {
    const TTreeModelNode* n = tree.Items().Item(i);
    if (!n->Parent() && (n->Text().empty() || n->Text() == u"Пустой район")) {
      EXPECT_EQ(n->Count(), 0) << db::ToUtf8(n->Text());
    }
  }
}

// The tree control itself: the step-by-step build made directly on it against the replay of
// the fast build, on random catalogues in a tree small enough to scroll both ways. Every event
// is logged with the scroll position at that moment; the nodes, their expansion, the selection,
// the scroll position and both scroll bars must come out the same.
class TreeControlBuild : public ::testing::Test {
 protected:
  void SetUp() override {
    app = std::make_unique<fw::TApplication>();
    form = app->CreateForm<fw::TForm>();
    form->SetBorderStyle(fw::TFormBorderStyle::bsNone);
    form->SetBounds(0, 0, 400, 300);
    form->Show();
    desktop.Pump();
  }
  void TearDown() override { app.reset(); }

  fw::TTreeView* MakeTree(std::string& log) {
    auto* tree = new fw::TTreeView(form);
    tree->SetBounds(10, 10, 120, 90);
    tree->SetParent(form);
    auto at = [tree](const fw::TTreeNode* n) {
      return (n ? std::to_string(n->Data()) + "#" + std::to_string(n->AbsoluteIndex()) : "-") +
             "@" + std::to_string(tree->TopRow()) + "," + std::to_string(tree->ScrollX()) + " ";
    };
    tree->OnChanging = [&log, at](fw::TComponent*, fw::TTreeNode* n, bool&) {
      log += "changing:" + at(n);
    };
    tree->OnChange = [&log, at](fw::TComponent*, fw::TTreeNode* n) { log += "change:" + at(n); };
    tree->OnExpanded = [&log, at](fw::TComponent*, fw::TTreeNode* n) {
      log += "expanded:" + at(n);
    };
    return tree;
  }

  // What a visitor and the program can see of a tree after a build.
  static std::string State(fw::TTreeView& tree) {
    std::ostringstream out;
    for (int i = 0; i < tree.Items().Count(); ++i) {
      const fw::TTreeNode* n = tree.Items().Item(i);
      out << std::string(std::size_t(n->Level()) * 2, ' ') << db::ToUtf8(n->Text()) << ":"
          << n->Data() << (n->Expanded() ? "+" : "") << (n->Selected() ? "*" : "") << "\n";
    }
    out << "top " << tree.TopRow() << " x " << tree.ScrollX() << " rows " << tree.RowCount();
    for (int bar : {win::SB_VERT, win::SB_HORZ}) {
      win::SCROLLINFO si;
      si.fMask = win::SIF_RANGE | win::SIF_PAGE | win::SIF_POS;
      win::GetScrollInfo(tree.Handle(), bar, &si);
      out << " bar " << si.nMin << ".." << si.nMax << "/" << si.nPage << "@" << si.nPos;
    }
    return out.str();
  }

  win::VirtualDesktop desktop{640, 480};
  std::unique_ptr<fw::TApplication> app;
  fw::TForm* form = nullptr;
};

// The build written out on the control: every organisation compared with every node.
void BuildStepByStep(fw::TTreeView& tree, const TTreeRows& rows) {
  tree.Items().Clear();
  for (const std::u16string& d : rows.districts) {
    tree.SetSelected(nullptr);
    tree.Items().AddObject(tree.Selected(), d, kDistrictData);
  }
  for (const TOrganisationRow& row : rows.organisations) {
    const int n = tree.Items().Count();
    for (int i = 0; i < n; ++i) {
      if (row.district && tree.Items().Item(i)->Text() == *row.district) {
        tree.SetSelected(tree.Items().Item(i));
        tree.Items().AddChildObject(tree.Selected(), row.name, row.id);
      }
    }
  }
}

TEST_F(TreeControlBuild, ReplayEqualsTheStepByStepBuildOnRandomCatalogues) {
  const std::u16string names[] = {
      u"", u"A", u"B", u"Район Заречный", u"D", u"Е", u"Ёлочка и длинное название"};
  std::mt19937 random(91220261);
  std::string directLog, replayLog;
  fw::TTreeView* direct = MakeTree(directLog);
  fw::TTreeView* replayed = MakeTree(replayLog);
  for (int round = 0; round < 150; ++round) {
    const TTreeRows rows = RandomRows(random, names, 14, u"школа ");
    // Each round starts from the previous round's tree, with its selection and scrolling.
    directLog.clear();
    replayLog.clear();
    BuildStepByStep(*direct, rows);
    ReplayTreeOps(*replayed, FastTreeOps(rows));
    ASSERT_EQ(directLog, replayLog) << "round " << round;
    ASSERT_EQ(State(*direct), State(*replayed)) << "round " << round;
    // Now and then the visitor scrolls or expands everything before the next keystroke.
    if (round % 3 == 0) {
      direct->FullExpand();
      replayed->FullExpand();
    }
    if (round % 5 == 0 && direct->Items().Count() > 0) {
      direct->MakeVisible(direct->Items().Item(direct->Items().Count() - 1));
      replayed->MakeVisible(replayed->Items().Item(replayed->Items().Count() - 1));
    }
    desktop.Pump();
  }
}

TEST(TreeExpansion, TheHintKeepsTheMarker) {
  TTreeModel tree;
  tree.SetHint(u"Выберите интересующий Вас район и образовательную организацию.");
  ReplayTreeOps(tree, FastTreeOps(TTreeRows{{u"A"}, {Org(u"A", u"a", 1)}}));
  ToggleFullExpansion(tree);
  EXPECT_EQ(tree.Hint(), u"Р");
  EXPECT_TRUE(tree.Items().Item(0)->Expanded());
  ToggleFullExpansion(tree);
  EXPECT_EQ(tree.Hint(), u"С");
  EXPECT_FALSE(tree.Items().Item(0)->Expanded());
  ToggleFullExpansion(tree);
  // A rebuild leaves the nodes collapsed but the marker as it was: the next press collapses.
  ReplayTreeOps(tree, FastTreeOps(TTreeRows{{u"A"}, {Org(u"A", u"a", 1)}}));
  EXPECT_FALSE(tree.Items().Item(0)->Expanded());
  ToggleFullExpansion(tree);
  EXPECT_EQ(tree.Hint(), u"С");
  EXPECT_FALSE(tree.Items().Item(0)->Expanded());
  ToggleFullExpansion(tree);
  EXPECT_TRUE(tree.Items().Item(0)->Expanded());
}

}  // namespace
}  // namespace app::test
