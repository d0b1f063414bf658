#include "JetWriter.h"

#include <algorithm>
#include <limits>
#include <optional>
#include <stdexcept>

#include "JetHeader.h"
#include "JetValues.h"

namespace jet {

namespace {

using db::TVariant;
using db::TVarType;

bool IsFixed(ColumnType type) {
  return type == ColumnType::Integer || type == ColumnType::LongInteger ||
         type == ColumnType::Double || type == ColumnType::DateTime;
}

std::size_t FixedSize(ColumnType type) {
  switch (type) {
    case ColumnType::Integer:
      return 2;
    case ColumnType::LongInteger:
      return 4;
    case ColumnType::Double:
    case ColumnType::DateTime:
      return 8;
    default:
      return 0;
  }
}

std::string Where(const Table& table, const Column& column) {
  return db::ToUtf8(table.name) + "." + db::ToUtf8(column.name);
}

std::int64_t IntegerValue(const TVariant& v, const Table& t, const Column& c, std::int64_t lo,
                          std::int64_t hi) {
  if (v.VarType() != TVarType::Integer || v.Integer() < lo || v.Integer() > hi)
    throw std::invalid_argument(Where(t, c) + ": not an integer of the column's range");
  return v.Integer();
}

// The catalogue's own columns and a row of it.
const std::vector<Column>& CatalogColumns() {
  static const std::vector<Column> columns = {{u"Id", ColumnType::LongInteger},
                                              {u"ParentId", ColumnType::LongInteger},
                                              {u"Name", ColumnType::Text},
                                              {u"Type", ColumnType::Integer},
                                              {u"DateCreate", ColumnType::DateTime},
                                              {u"DateUpdate", ColumnType::DateTime},
                                              {u"Flags", ColumnType::LongInteger},
                                              {u"ForeignName", ColumnType::Text},
                                              {u"Database", ColumnType::Memo},
                                              {u"Connect", ColumnType::Memo},
                                              {u"Lv", ColumnType::LongBinary},
                                              {u"LvProp", ColumnType::LongBinary},
                                              {u"LvModule", ColumnType::LongBinary},
                                              {u"LvExtra", ColumnType::LongBinary},
                                              {u"RmtInfoLong", ColumnType::LongBinary}};
  return columns;
}

// Containers of the catalogue: their ids are no pages.
constexpr std::int64_t kTablesContainer = 0x0F000001;
constexpr std::int64_t kDatabasesContainer = 0x0F000002;
constexpr std::int64_t kRelationshipsContainer = 0x0F000003;
constexpr int kTableType = 1, kContainerType = 3;

Row CatalogRow(std::int64_t id, std::int64_t parent, const std::u16string& name, int type,
               std::int64_t flags, db::TDateTime created) {
  Row row(CatalogColumns().size());
  row[0] = TVariant(id);
  row[1] = TVariant(parent);
  row[2] = TVariant(name);
  row[3] = TVariant(type);
  row[4] = TVariant(created);
  row[5] = TVariant(created);
  row[6] = TVariant(std::int64_t(std::int32_t(std::uint32_t(flags))));
  return row;
}

class Writer {
 public:
  Writer() : FLongValues(FFile, kInlineLimit) {}

  Bytes Write(const Database& database, Layout& layout) {
    HeaderFields header;
    header.password = database.password;
    header.created = database.created;
    header.codePage = database.codePage;
    header.sortOrder = database.sortOrder;
    FFile.Allocate();
    std::copy_n(HeaderPage(header).begin(), kPageSize, FFile.Page(0));
    FMaps.emplace(FFile, 0);  // page 1: the usage maps
    FSortOrder = database.sortOrder;

    // The definitions come first, so that the catalogue can name their pages.
    Table catalog{u"MSysObjects", CatalogColumns(), {}};
    std::vector<const Table*> tables = {&catalog};
    for (const Table& t : database.tables) tables.push_back(&t);
    layout.tables.clear();
    for (const Table* t : tables) layout.tables.push_back({t->name, FFile.Allocate(), {}, {}});

    const db::TDateTime created = database.created;
    catalog.rows = {
        CatalogRow(kDatabasesContainer, kDatabasesContainer, u"Databases", kContainerType, 0,
                   created),
        CatalogRow(kTablesContainer, kDatabasesContainer, u"Tables", kContainerType, 0, created),
        CatalogRow(kRelationshipsContainer, kDatabasesContainer, u"Relationships", kContainerType,
                   0, created),
        CatalogRow(kCatalogPage, kTablesContainer, u"MSysObjects", kTableType, kSystemTableFlags,
                   created)};
    for (std::size_t i = 1; i < tables.size(); ++i)
      catalog.rows.push_back(CatalogRow(layout.tables[i].definitionPage, kTablesContainer,
                                        tables[i]->name, kTableType, 0, created));

    for (std::size_t i = 0; i < tables.size(); ++i) WriteRows(*tables[i], i, layout);
    for (std::size_t i = 0; i < tables.size(); ++i)
      WriteDefinition(*tables[i], layout.tables[i], i == 0);

    // The global map: every page is in use.
    std::vector<std::uint32_t> all(FFile.Count());
    for (std::uint32_t p = 0; p < all.size(); ++p) all[p] = p;
    AddMap(UsageMap(all));
    layout.pageCount = FFile.Count();
    return FFile.Image();
  }

 private:
  // Stores a usage map on page 1; returns its row's pointer.
  std::uint32_t AddMap(const Bytes& map) {
    if (!FMaps->Fits(map.size())) throw std::length_error("the usage maps overflow page 1");
    const std::uint32_t pointer = RowPointer(FMaps->Number(), std::uint32_t(FMaps->RowCount()));
    FMaps->Add(map);
    return pointer;
  }

  void WriteRows(const Table& table, std::size_t index, Layout& layout) {
    TableLayout& place = layout.tables[index];
    std::optional<RowPage> page;
    page.emplace(FFile, place.definitionPage);
    place.dataPages.push_back(page->Number());
    for (std::size_t r = 0; r < table.rows.size(); ++r) {
      std::vector<std::pair<std::size_t, StoredLongValue>> longValues;
      const Bytes row = EncodeRow(table, table.rows[r], longValues);
      if (row.size() + 2 > kPageSize - kRowPageHeader)
        throw std::invalid_argument(db::ToUtf8(table.name) + ": a row longer than a page");
      if (!page->Fits(row.size())) {
        page.emplace(FFile, place.definitionPage);
        place.dataPages.push_back(page->Number());
      }
      const std::uint16_t offset = page->Add(row);
      place.rows.push_back({page->Number(), offset, std::uint16_t(row.size())});
      for (auto& [column, stored] : longValues)
        layout.longValues.push_back({index, r, column, stored.kind, page->Number(),
                                     std::uint16_t(offset + FFieldOffsets[column]),
                                     std::move(stored.pages)});
    }
  }

  // A row: the column count, the fixed-length columns, the variable-length ones, then from
  // the end backwards the null mask, the count of variable columns, their offsets and the
  // offset of the data's end.
  Bytes EncodeRow(const Table& table, const Row& values,
                  std::vector<std::pair<std::size_t, StoredLongValue>>& longValues) {
    const auto& columns = table.columns;
    if (values.size() != columns.size())
      throw std::invalid_argument(db::ToUtf8(table.name) + ": a row of the wrong width");
    FFieldOffsets.assign(columns.size(), 0);
    Bytes row;
    Append16(row, std::uint32_t(columns.size()));
    std::size_t fixedSize = 0;
    for (const Column& c : columns) fixedSize += FixedSize(c.type);
    row.resize(2 + fixedSize, 0);
    std::size_t fixedAt = 2;
    std::vector<std::uint16_t> varOffsets;
    for (std::size_t i = 0; i < columns.size(); ++i) {
      const Column& c = columns[i];
      const TVariant& v = values[i];
      if (IsFixed(c.type)) {
        std::uint8_t* at = row.data() + fixedAt;
        FFieldOffsets[i] = fixedAt;
        fixedAt += FixedSize(c.type);
        if (v.IsNull()) continue;
        switch (c.type) {
          case ColumnType::Integer:
            Put16(at, std::uint32_t(IntegerValue(v, table, c, -32768, 32767)));
            break;
          case ColumnType::LongInteger:
            Put32(at,
                  std::uint32_t(IntegerValue(v, table, c, std::numeric_limits<std::int32_t>::min(),
                                             std::numeric_limits<std::int32_t>::max())));
            break;
          case ColumnType::Double:
            if (v.VarType() != TVarType::Float)
              throw std::invalid_argument(Where(table, c) + ": not a real number");
            PutDouble(at, v.Float());
            break;
          default:
            if (v.VarType() != TVarType::Date)
              throw std::invalid_argument(Where(table, c) + ": not a date");
            PutDouble(at, JetDate(v.Date()));
        }
        continue;
      }
      FFieldOffsets[i] = row.size();
      varOffsets.push_back(std::uint16_t(row.size()));
      if (v.IsNull()) continue;
      if (c.type == ColumnType::Text) {
        if (v.VarType() != TVarType::Text || v.Text().size() > std::size_t(c.maxChars))
          throw std::invalid_argument(Where(table, c) + ": not a text of the column's length");
        Append(row, Ucs2(v.Text()));
        continue;
      }
      Bytes value;
      if (c.type == ColumnType::Memo && v.VarType() == TVarType::Text)
        value = Ucs2(v.Text());
      else if (c.type == ColumnType::LongBinary && v.VarType() == TVarType::Blob)
        value = v.Blob();
      else
        throw std::invalid_argument(Where(table, c) + ": not a value of a long column");
      StoredLongValue stored = FLongValues.Store(value);
      Append(row, stored.field);
      longValues.emplace_back(i, std::move(stored));
    }
    const std::uint32_t end = std::uint32_t(row.size());
    if (!varOffsets.empty()) {
      Append16(row, end);
      for (auto it = varOffsets.rbegin(); it != varOffsets.rend(); ++it) Append16(row, *it);
      Append16(row, std::uint32_t(varOffsets.size()));
    }
    Bytes mask((columns.size() + 7) / 8, 0);
    for (std::size_t i = 0; i < columns.size(); ++i)
      if (!values[i].IsNull()) mask[i / 8] |= std::uint8_t(1u << (i % 8));
    Append(row, mask);
    return row;
  }

  // The definition: the table's block, one 25-byte entry per column, the columns' names, and
  // the end of the (empty) list of column usage maps.
  void WriteDefinition(const Table& table, const TableLayout& place, bool system) {
    std::int64_t nextNumber = 0;
    int varCount = 0;
    for (std::size_t i = 0; i < table.columns.size(); ++i) {
      const Column& c = table.columns[i];
      varCount += IsFixed(c.type) ? 0 : 1;
      if (!c.autoNumber) continue;
      for (const Row& row : table.rows)
        if (!row[i].IsNull()) nextNumber = std::max(nextNumber, row[i].Integer());
      ++nextNumber;
    }
    std::vector<std::uint32_t> withSpace;
    for (std::uint32_t p : place.dataPages)
      if (Get16(FFile.Page(p) + 2) > 0) withSpace.push_back(p);
    const std::uint32_t used = AddMap(UsageMap(place.dataPages));
    const std::uint32_t free = AddMap(UsageMap(withSpace));

    Bytes def;
    Append32(def, 0);  // the length, below
    Append32(def, 0);
    Append32(def, std::uint32_t(table.rows.size()));
    Append32(def, std::uint32_t(nextNumber));
    def.push_back(nextNumber ? 1 : 0);
    def.resize(def.size() + 3 + 4 + 8, 0);
    def.push_back(system ? 0x53 : 0x4E);
    Append16(def, std::uint32_t(table.columns.size()));
    Append16(def, std::uint32_t(varCount));
    Append16(def, std::uint32_t(table.columns.size()));
    Append32(def, 0);  // logical indexes
    Append32(def, 0);  // index entries
    Append32(def, used);
    Append32(def, free);
    std::size_t fixedOffset = 0;
    int varIndex = 0;
    for (std::size_t i = 0; i < table.columns.size(); ++i) {
      const Column& c = table.columns[i];
      const bool fixed = IsFixed(c.type);
      def.push_back(std::uint8_t(c.type));
      Append32(def, 0);
      Append16(def, std::uint32_t(i));
      Append16(def, fixed ? 0 : std::uint32_t(varIndex++));
      Append16(def, std::uint32_t(i));
      const bool text = c.type == ColumnType::Text || c.type == ColumnType::Memo;
      Append16(def, text ? FSortOrder : 0);
      Append16(def, 0);
      def.push_back(std::uint8_t((fixed ? 0x01 : 0) | 0x02 | (c.autoNumber ? 0x04 : 0)));
      def.push_back(0);  // no compressed text
      Append32(def, 0);
      Append16(def, fixed ? std::uint32_t(fixedOffset) : 0);
      Append16(def, c.type == ColumnType::Text ? std::uint32_t(c.maxChars * 2)
                                               : std::uint32_t(FixedSize(c.type)));
      fixedOffset += FixedSize(c.type);
    }
    for (const Column& c : table.columns) {
      const Bytes name = Ucs2(c.name);
      Append16(def, std::uint32_t(name.size()));
      Append(def, name);
    }
    Append16(def, 0xFFFF);
    if (8 + def.size() > kPageSize)
      throw std::invalid_argument(db::ToUtf8(table.name) + ": a definition longer than a page");
    Put32(def.data(), std::uint32_t(def.size()));
    std::uint8_t* page = FFile.Page(place.definitionPage);
    page[0] = 0x02;
    page[1] = 0x01;
    // The free space less 8, as the format keeps it.
    Put16(page + 2, std::uint32_t(std::max<std::ptrdiff_t>(
                        0, std::ptrdiff_t(kPageSize - 8 - def.size()) - 8)));
    std::copy(def.begin(), def.end(), page + 8);
  }

  PageFile FFile;
  LongValueStore FLongValues;
  std::optional<RowPage> FMaps;
  std::uint16_t FSortOrder = 0;
  std::vector<std::size_t> FFieldOffsets;  // of the row being encoded, per column
};

}  // namespace

Bytes WriteJet4(const Database& database, Layout* layout) {
  Layout local;
  Writer writer;
  return writer.Write(database, layout ? *layout : local);
}

}  // namespace jet
