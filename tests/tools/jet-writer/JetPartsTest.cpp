// The writer's parts where they can go wrong: the cipher, the definition page's fields, text
// and dates, pages of rows, long values and usage maps, and the refusal of values that do not
// suit their column.
#include <gtest/gtest.h>

#include <set>

#include "JetHeader.h"
#include "JetPages.h"
#include "JetValues.h"
#include "JetWriter.h"
#include "Rc4.h"

namespace {

using namespace jet;

Bytes Text(std::string_view s) {
  return Bytes(s.begin(), s.end());
}

TEST(JetParts, Rc4MatchesPublishedVectors) {
  struct Case {
    std::string_view key, plain;
    Bytes cipher;
  };
  const Case cases[] = {
      {"Key", "Plaintext", {0xBB, 0xF3, 0x16, 0xE8, 0xD9, 0x40, 0xAF, 0x0A, 0xD3}},
      {"Wiki", "pedia", {0x10, 0x21, 0xBF, 0x04, 0x20}},
      {"Secret",
       "Attack at dawn",
       {0x45, 0xA0, 0x1F, 0x64, 0x5F, 0xC3, 0x5B, 0x38, 0x35, 0x52, 0x54, 0x4B, 0x9B, 0xF5}}};
  for (const Case& c : cases) {
    Bytes data = Text(c.plain);
    const Bytes key = Text(c.key);
    Rc4Apply(key, data);
    EXPECT_EQ(data, c.cipher) << c.key;
    Rc4Apply(key, data);
    EXPECT_EQ(data, Text(c.plain)) << c.key;
  }
}

TEST(JetParts, HeaderPageHoldsItsFieldsUnderTheRegionMask) {
  HeaderFields fields;
  fields.password = u"k7mP305z$42";
  fields.created = db::EncodeDateTime(2009, 3, 17, 12);
  fields.codePage = 1251;
  fields.sortOrder = 0x0419;
  Bytes page = HeaderPage(fields);
  ASSERT_EQ(page.size(), kPageSize);
  EXPECT_EQ(std::string(reinterpret_cast<const char*>(page.data()) + 4), "Standard Jet DB");
  EXPECT_EQ(Get32(page.data() + 0x14), 1u);
  // Encoded: the password does not show in the page as it is.
  const Bytes password = Ucs2(fields.password);
  EXPECT_FALSE(std::equal(password.begin(), password.end(), page.begin() + kPassword));
  ApplyHeaderMask(page, FormatVersion::Jet4);
  EXPECT_TRUE(std::equal(password.begin(), password.end(), page.begin() + kPassword));
  EXPECT_EQ(page[kPassword + password.size()], 0);
  EXPECT_EQ(Get16(page.data() + kCodePage), 1251u);
  EXPECT_EQ(Get32(page.data() + kDatabaseKey), 0u);
  EXPECT_EQ(Get16(page.data() + kSortOrderJet4), 0x0419u);
  double created;
  std::memcpy(&created, page.data() + kCreated, 8);
  EXPECT_EQ(created, fields.created.days);
  // Nothing after the region.
  for (std::size_t i = kEncodedStart + kJet4EncodedLength; i < page.size(); ++i)
    ASSERT_EQ(page[i], 0) << i;

  fields.password = std::u16string(21, u'x');
  EXPECT_THROW(HeaderPage(fields), std::invalid_argument);
}

TEST(JetParts, OtherVersionsKeepTheirPageSizeNameAndRegion) {
  HeaderFields fields;
  fields.version = FormatVersion::Jet3;
  fields.password = u"abc";
  Bytes jet3 = HeaderPage(fields);
  ASSERT_EQ(jet3.size(), kJet3PageSize);
  EXPECT_EQ(Get32(jet3.data() + 0x14), 0u);
  // Jet 3's region is two bytes shorter.
  EXPECT_EQ(jet3[kEncodedStart + kJet3EncodedLength], 0);
  ApplyHeaderMask(jet3, FormatVersion::Jet3);
  EXPECT_EQ(std::string(reinterpret_cast<const char*>(jet3.data()) + kPassword), "abc");
  fields.version = FormatVersion::Ace14;
  const Bytes ace = HeaderPage(fields);
  EXPECT_EQ(std::string(reinterpret_cast<const char*>(ace.data()) + 4), "Standard ACE DB");
  EXPECT_EQ(Get32(ace.data() + 0x14), 3u);
}

TEST(JetParts, TextIsTwoBytesPerUnitLowFirst) {
  EXPECT_EQ(Ucs2(u"Ёж1"), (Bytes{0x01, 0x04, 0x36, 0x04, 0x31, 0x00}));
  EXPECT_EQ(Ucs2(u"\U0001F600"), (Bytes{0x3D, 0xD8, 0x00, 0xDE}));  // a pair stays a pair
  EXPECT_TRUE(Ucs2(u"").empty());
}

TEST(JetParts, DatesKeepTheTimeOfDayApartFromTheDaysSign) {
  EXPECT_EQ(JetDate(db::EncodeDateTime(1899, 12, 30)), 0.0);
  EXPECT_EQ(JetDate(db::EncodeDateTime(1899, 12, 30, 18)), 0.75);
  EXPECT_EQ(JetDate(db::EncodeDateTime(1900, 1, 1, 6)), 2.25);
  EXPECT_EQ(JetDate(db::EncodeDateTime(1899, 12, 29)), -1.0);
  EXPECT_EQ(JetDate(db::EncodeDateTime(1899, 12, 29, 6)), -1.25);
  EXPECT_EQ(JetDate(db::EncodeDateTime(1899, 12, 28, 18)), -2.75);
  EXPECT_EQ(JetDate(db::EncodeDateTime(1800, 1, 1, 12)), -36522.5);
}

TEST(JetParts, RowPagesFillFromTheEndAndCountTheirSpace) {
  PageFile file;
  RowPage page(file, 7);
  EXPECT_EQ(page.FreeSpace(), kPageSize - kRowPageHeader);
  EXPECT_EQ(page.Add(Bytes(100, 1)), kPageSize - 100);
  EXPECT_EQ(page.Add(Bytes(50, 2)), kPageSize - 150);
  const std::uint8_t* p = file.Page(page.Number());
  EXPECT_EQ(p[0], 0x01);
  EXPECT_EQ(Get32(p + 4), 7u);
  EXPECT_EQ(Get16(p + 12), 2u);
  EXPECT_EQ(Get16(p + 14), kPageSize - 100);
  EXPECT_EQ(Get16(p + 16), kPageSize - 150);
  EXPECT_EQ(Get16(p + 2), kPageSize - kRowPageHeader - 4 - 150);
  EXPECT_EQ(p[kPageSize - 1], 1);
  EXPECT_EQ(p[kPageSize - 101], 2);
  // Exactly full, then nothing more.
  const std::size_t rest = page.FreeSpace() - 2;
  EXPECT_TRUE(page.Fits(rest));
  EXPECT_FALSE(page.Fits(rest + 1));
  page.Add(Bytes(rest, 3));
  EXPECT_EQ(page.FreeSpace(), 0u);
  EXPECT_THROW(page.Add(Bytes(1, 4)), std::logic_error);
}

// Reads a long value back by following its field, as a reader of the format does.
Bytes ReadBack(PageFile& file, const StoredLongValue& v) {
  const std::uint32_t head = Get32(v.field.data());
  const std::uint32_t length = head & 0x3FFFFFFF;
  if (head & 0x80000000u) return Bytes(v.field.begin() + 12, v.field.end());
  std::uint32_t pointer = Get32(v.field.data() + 4);
  Bytes out;
  std::set<std::uint32_t> seen;
  while (pointer) {
    const std::uint32_t pageNo = pointer >> 8, row = pointer & 0xFF;
    EXPECT_TRUE(seen.insert(pageNo).second) << "a loop";
    const std::uint8_t* page = file.Page(pageNo);
    EXPECT_EQ(Get32(page + 4), kLongValueOwner);
    const std::uint32_t start = Get16(page + kRowPageHeader + 2 * row);
    const std::uint32_t end = row == 0 ? kPageSize : Get16(page + kRowPageHeader + 2 * row - 2);
    if (head & 0x40000000u) {
      out.insert(out.end(), page + start, page + end);
      break;
    }
    pointer = Get32(page + start);
    out.insert(out.end(), page + start + 4, page + end);
  }
  EXPECT_EQ(out.size(), length);
  return out;
}

TEST(JetParts, LongValuesGoInlineOnOnePageOrAlongAChain) {
  PageFile file;
  file.Allocate();  // page 0, which no pointer names
  LongValueStore store(file, 64);
  auto value = [](std::size_t n, std::uint8_t seed) {
    Bytes b(n);
    for (std::size_t i = 0; i < n; ++i) b[i] = std::uint8_t(seed + i * 31 + i / 251);
    return b;
  };
  struct Case {
    std::size_t size;
    LongValueKind kind;
    std::size_t pages;
  };
  const Case cases[] = {{0, LongValueKind::Inline, 0},
                        {64, LongValueKind::Inline, 0},
                        {65, LongValueKind::SinglePage, 1},
                        {kSinglePageMax, LongValueKind::SinglePage, 1},
                        {kSinglePageMax + 1, LongValueKind::Chain, 2},
                        {3 * kChainChunk, LongValueKind::Chain, 3},
                        {3 * kChainChunk + 1, LongValueKind::Chain, 4},
                        {300000, LongValueKind::Chain, 74}};
  for (const Case& c : cases) {
    const Bytes v = value(c.size, std::uint8_t(c.size));
    const StoredLongValue stored = store.Store(v);
    EXPECT_EQ(stored.kind, c.kind) << c.size;
    EXPECT_EQ(stored.pages.size(), c.pages) << c.size;
    EXPECT_EQ(ReadBack(file, stored), v) << c.size;
  }
  // Small single-page values share their page, one row each.
  const StoredLongValue a = store.Store(value(100, 1));
  const StoredLongValue b = store.Store(value(200, 2));
  EXPECT_EQ(a.pages, b.pages);
  EXPECT_EQ(Get32(b.field.data() + 4) & 0xFF, (Get32(a.field.data() + 4) & 0xFF) + 1);
  EXPECT_EQ(ReadBack(file, a), value(100, 1));
  EXPECT_EQ(ReadBack(file, b), value(200, 2));
}

TEST(JetParts, UsageMapsSetOneBitPerPageFromTheFirst) {
  const Bytes map = UsageMap({21, 5, 7, 12});
  ASSERT_EQ(map.size(), 5u + 3);
  EXPECT_EQ(map[0], 0);
  EXPECT_EQ(Get32(map.data() + 1), 5u);
  EXPECT_EQ(map[5], 0b10000101);  // pages 5, 7 and 12
  EXPECT_EQ(map[6], 0);
  EXPECT_EQ(map[7], 0b1);  // page 21
  EXPECT_EQ(UsageMap({}), (Bytes{0, 0, 0, 0, 0, 0}));
}

TEST(JetParts, ValuesThatDoNotSuitTheirColumnAreRefused) {
  auto write = [](Column column, db::TVariant value) {
    Database d;
    d.tables = {{u"t", {column}, {{value}}}};
    return WriteJet4(d);
  };
  EXPECT_NO_THROW(write({u"c", ColumnType::Text, 3}, db::TVariant(u"abc")));
  EXPECT_THROW(write({u"c", ColumnType::Text, 3}, db::TVariant(u"abcd")), std::invalid_argument);
  EXPECT_THROW(write({u"c", ColumnType::Text}, db::TVariant(5)), std::invalid_argument);
  EXPECT_NO_THROW(write({u"c", ColumnType::Integer}, db::TVariant(-32768)));
  EXPECT_THROW(write({u"c", ColumnType::Integer}, db::TVariant(32768)), std::invalid_argument);
  EXPECT_THROW(write({u"c", ColumnType::LongInteger}, db::TVariant(std::int64_t(1) << 31)),
               std::invalid_argument);
  EXPECT_THROW(write({u"c", ColumnType::DateTime}, db::TVariant(u"1987")), std::invalid_argument);
  EXPECT_THROW(write({u"c", ColumnType::LongBinary}, db::TVariant(u"x")), std::invalid_argument);
  EXPECT_THROW(write({u"c", ColumnType::Memo}, db::TVariant(db::TBytes{1})), std::invalid_argument);
  // A row wider than a page.
  std::vector<Column> wide;
  std::vector<db::TVariant> row;
  for (int i = 0; i < 10; ++i) {
    wide.push_back({u"c" + db::ToUtf16(std::to_string(i)), ColumnType::Text});
    row.push_back(db::TVariant(std::u16string(255, u'я')));
  }
  Database d;
  d.tables = {{u"t", wide, {row}}};
  EXPECT_THROW(WriteJet4(d), std::invalid_argument);
}

TEST(JetParts, TheLayoutNamesEveryTablesPagesAndRows) {
  Database d;
  Table t{u"t", {{u"n", ColumnType::LongInteger}, {u"m", ColumnType::Memo}}, {}};
  for (int i = 0; i < 400; ++i)
    t.rows.push_back({db::TVariant(i), db::TVariant(std::u16string(std::size_t(i % 30), u'ы'))});
  d.tables = {t};
  Layout layout;
  const Bytes file = WriteJet4(d, &layout);
  ASSERT_EQ(file.size(), layout.pageCount * kPageSize);
  ASSERT_EQ(layout.tables.size(), 2u);
  EXPECT_EQ(layout.tables[0].name, u"MSysObjects");
  EXPECT_EQ(layout.tables[0].definitionPage, kCatalogPage);
  const TableLayout& place = layout.tables[1];
  EXPECT_EQ(file[place.definitionPage * kPageSize], 0x02);
  EXPECT_GT(place.dataPages.size(), 1u);
  ASSERT_EQ(place.rows.size(), 400u);
  std::set<std::uint32_t> pages(place.dataPages.begin(), place.dataPages.end());
  for (const RowPlace& r : place.rows) {
    ASSERT_TRUE(pages.count(r.page));
    const std::uint8_t* page = file.data() + r.page * kPageSize;
    EXPECT_EQ(Get32(page + 4), place.definitionPage);
    EXPECT_EQ(Get16(page + r.offset), 2u);  // the row's column count
  }
  // Every row's memo is inline, its field in the row.
  EXPECT_EQ(layout.longValues.size(), 400u);
  for (const LongValuePlace& v : layout.longValues) {
    const std::uint8_t* field = file.data() + v.fieldPage * kPageSize + v.fieldOffset;
    EXPECT_EQ(Get32(field), 0x80000000u | std::uint32_t(v.row % 30 * 2));
  }
}

}  // namespace
