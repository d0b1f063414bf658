// The files the build writes: the same bytes as the writer writes now, read back by the
// library itself where it is installed, and damaged exactly where their names say.
#include <gtest/gtest.h>

#include <filesystem>
#include <set>

#include "JetFixtures.h"
#include "JetHeader.h"
#include "JetWriter.h"
#include "platform/gfx/PictureCodec.h"

#ifdef MC_HAVE_LIBMDB
#include <mdbtools.h>
#endif

namespace {

namespace fs = std::filesystem;
using namespace jet;

const fs::path kJet = MC_JET_FIXTURES;

struct Awkward {
  Layout layout;
  Bytes bytes;
  Awkward() { bytes = WriteJet4(AwkwardDatabase(), &layout); }
};
const Awkward& Good() {
  static const Awkward good;
  return good;
}

TEST(JetFiles, TheBuildsFilesAreWhatTheWriterWrites) {
  EXPECT_TRUE(Good().bytes == gfx::ReadFileBytes((kJet / "awkward.dat").string()));
  for (const DamagedFile& f : DamagedVariants(Good().bytes, Good().layout))
    EXPECT_TRUE(f.bytes == gfx::ReadFileBytes((kJet / "damaged" / f.name).string())) << f.name;
  EXPECT_TRUE(HeaderOnlyFile(FormatVersion::Jet3) ==
              gfx::ReadFileBytes((kJet / "refused/jet3.dat").string()));
  // The encoded file differs from the awkward one only inside the definition page's region.
  const Bytes encoded = gfx::ReadFileBytes((kJet / "refused/encoded.dat").string());
  ASSERT_EQ(encoded.size(), Good().bytes.size());
  for (std::size_t i = 0; i < encoded.size(); ++i) {
    if (encoded[i] == Good().bytes[i]) continue;
    ASSERT_TRUE(i >= kDatabaseKey && i < kDatabaseKey + 4) << i;
  }
  EXPECT_NE(encoded, Good().bytes);
}

TEST(JetFiles, TheAwkwardFileHoldsEveryKindOfLongValue) {
  std::set<LongValueKind> kinds;
  std::size_t longest = 0;
  for (const LongValuePlace& v : Good().layout.longValues) {
    kinds.insert(v.kind);
    longest = std::max(longest, v.pages.size());
  }
  EXPECT_EQ(kinds.size(), 3u);
  EXPECT_GT(longest, 50u);  // the photo
  // `many` spreads over several data pages.
  EXPECT_GT(Good().layout.tables.back().dataPages.size(), 3u);
}

// Follows the longest chain's pointers in `bytes`; returns the pages visited until a pointer
// leaves the file, ends the chain or returns to a page seen.
struct Walk {
  std::vector<std::uint32_t> pages;
  bool loops = false, leaves = false;
};
Walk WalkChain(const Bytes& bytes, const LongValuePlace& v) {
  Walk walk;
  std::set<std::uint32_t> seen;
  std::uint32_t pointer = Get32(bytes.data() + v.fieldPage * kPageSize + v.fieldOffset + 4);
  while (pointer) {
    const std::uint32_t page = pointer >> 8;
    if ((page + 1) * kPageSize > bytes.size()) {
      walk.leaves = true;
      break;
    }
    if (!seen.insert(page).second) {
      walk.loops = true;
      break;
    }
    walk.pages.push_back(page);
    const std::uint8_t* p = bytes.data() + page * kPageSize;
    pointer = Get32(p + Get16(p + kRowPageHeader));
  }
  return walk;
}

TEST(JetFiles, DamagedVariantsAreDamagedWhereTheirNamesSay) {
  const Bytes& good = Good().bytes;
  const LongValuePlace* photo = &Good().layout.longValues[0];
  for (const LongValuePlace& v : Good().layout.longValues)
    if (v.pages.size() > photo->pages.size()) photo = &v;
  const Walk goodWalk = WalkChain(good, *photo);
  EXPECT_FALSE(goodWalk.loops || goodWalk.leaves);
  EXPECT_EQ(goodWalk.pages, photo->pages);

  std::set<std::string> names;
  for (const DamagedFile& f : DamagedVariants(good, Good().layout)) {
    SCOPED_TRACE(f.name);
    EXPECT_TRUE(names.insert(f.name).second);
    EXPECT_FALSE(f.what.empty());
    ASSERT_NE(f.bytes, good);
    if (f.bytes.size() < good.size()) {
      EXPECT_TRUE(std::equal(f.bytes.begin(), f.bytes.end(), good.begin()));
      continue;
    }
    std::size_t changed = 0;
    for (std::size_t i = 0; i < good.size(); ++i) changed += f.bytes[i] != good[i];
    EXPECT_LE(changed, 8u);  // one field or two, nothing else
    const Walk walk = WalkChain(f.bytes, *photo);
    EXPECT_EQ(walk.loops, f.name == "chain-loop.dat");
    EXPECT_EQ(walk.leaves, f.name == "chain-beyond-end.dat");
  }
  EXPECT_GE(names.size(), 12u);
}

#ifdef MC_HAVE_LIBMDB
TEST(JetFiles, TheLibraryReadsTheDefinitionPageAndCatalogue) {
  const std::string file = (kJet / "awkward.dat").string();
  MdbHandle* mdb = mdb_open(file.c_str(), MDB_NOFLAGS);
  ASSERT_NE(mdb, nullptr);
  // The encoded region decoded: no page key, the code page and sort order written.
  EXPECT_EQ(mdb->f->jet_version, guint32(MDB_VER_JET4));
  EXPECT_EQ(mdb->f->db_key, 0u);
  EXPECT_EQ(mdb->f->code_page, 1251);
  EXPECT_EQ(mdb->f->lang_id, 0x0409);
  ASSERT_NE(mdb_read_catalog(mdb, MDB_TABLE), nullptr);
  std::vector<std::pair<std::string, unsigned long>> tables, expected;
  for (unsigned i = 0; i < mdb->num_catalog; ++i) {
    auto* e = static_cast<MdbCatalogEntry*>(g_ptr_array_index(mdb->catalog, i));
    tables.emplace_back(e->object_name, e->table_pg);
  }
  for (const TableLayout& t : Good().layout.tables)
    expected.emplace_back(db::ToUtf8(t.name), t.definitionPage);
  EXPECT_EQ(tables, expected);

  // An empty text is a value, not a null (the export prints both alike): uz's fourth row has
  // an empty `nam`.
  const TableLayout& uz = Good().layout.tables[2];
  ASSERT_EQ(uz.name, u"uz");
  MdbTableDef* table = mdb_read_table_by_name(mdb, const_cast<gchar*>("uz"), MDB_TABLE);
  ASSERT_NE(table, nullptr);
  mdb_read_columns(table);
  // uz's key is a counter, the rest are not.
  ASSERT_EQ(table->num_cols, 9u);
  EXPECT_TRUE(static_cast<MdbColumn*>(g_ptr_array_index(table->columns, 0))->is_long_auto);
  EXPECT_FALSE(static_cast<MdbColumn*>(g_ptr_array_index(table->columns, 1))->is_long_auto);
  EXPECT_EQ(table->num_rows, 7u);
  const RowPlace& row = uz.rows[3];
  mdb_read_pg(mdb, row.page);
  std::vector<MdbField> fields(MDB_MAX_COLS);
  const int count = mdb_crack_row(table, row.offset, row.length, fields.data());
  ASSERT_EQ(count, 9);
  EXPECT_FALSE(fields[2].is_null);
  EXPECT_EQ(fields[2].siz, 0);
  EXPECT_FALSE(fields[1].is_null);
  mdb_free_tabledef(table);
  mdb_close(mdb);
}

TEST(JetFiles, TheLibraryTakesTheEncodedFilesPagesForEncoded) {
  const std::string file = (kJet / "refused/encoded.dat").string();
  MdbHandle* mdb = mdb_open(file.c_str(), MDB_NOFLAGS);
  ASSERT_NE(mdb, nullptr);
  EXPECT_NE(mdb->f->db_key, 0u);
  mdb_close(mdb);
}
#endif

}  // namespace
