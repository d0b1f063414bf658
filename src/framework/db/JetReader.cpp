#include "framework/db/JetReader.h"

// mdbtools.h includes glib inside its extern "C"; glib's C++ parts must come first.
#include <glib.h>
#include <iconv.h>
// clang-format off
#include <mdbtools.h>
// clang-format on
#include <unistd.h>

#include <array>
#include <cerrno>
#include <charconv>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "framework/db/JetStream.h"

namespace db {

namespace {

// The catalogue's tables, by the names the stream gives them.
constexpr const char* kTables[] = {"mun", "uz", "foto"};
// A bound value's room: a memo holds up to 65 535 characters, three UTF-8 bytes each at most.
constexpr std::size_t kBindSize = 256 * 1024;
// Written out whenever this much is waiting.
constexpr std::size_t kFlushAt = 1 << 20;

struct TRefused {
  std::string why;
};

bool WriteAll(int fd, const std::string& bytes) {
  std::size_t done = 0;
  while (done < bytes.size()) {
    const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    done += std::size_t(n);
  }
  return true;
}

TJetColumnKind KindOf(const MdbColumn& c) {
  switch (c.col_type) {
    case MDB_BOOL:
      return TJetColumnKind::Boolean;
    case MDB_BYTE:
    case MDB_INT:
      return TJetColumnKind::Integer;
    case MDB_LONGINT:
      return c.is_long_auto ? TJetColumnKind::Counter : TJetColumnKind::Integer;
    case MDB_MONEY:
    case MDB_FLOAT:
    case MDB_DOUBLE:
    case MDB_NUMERIC:
      return TJetColumnKind::Real;
    case MDB_DATETIME:
      return TJetColumnKind::DateTime;
    case MDB_MEMO:
      return TJetColumnKind::LongText;
    case MDB_OLE:
    case MDB_BINARY:
      return TJetColumnKind::Blob;
    default:
      return TJetColumnKind::Text;
  }
}

MdbCatalogEntry* FindTable(MdbHandle* mdb, const char* name) {
  for (guint i = 0; i < mdb->catalog->len; ++i) {
    auto* entry = static_cast<MdbCatalogEntry*>(g_ptr_array_index(mdb->catalog, i));
    if (entry->object_type == MDB_TABLE && g_ascii_strcasecmp(entry->object_name, name) == 0)
      return entry;
  }
  return nullptr;
}

struct TTableCloser {
  void operator()(MdbTableDef* t) const { mdb_free_tabledef(t); }
};

// The library reads a definition's continuation pages only as far as it needs them; a chain
// that loops or leaves the file is damage all the same.
void CheckDefinitionChain(MdbHandle* mdb, unsigned long first, const char* name) {
  std::set<unsigned long> seen;
  for (unsigned long pg = first; pg != 0; pg = std::uint32_t(mdb_get_int32(mdb->pg_buf, 4)))
    if (!seen.insert(pg).second || mdb_read_pg(mdb, pg) <= 0 || mdb->pg_buf[0] != MDB_PAGE_TABLE)
      throw TRefused{std::string("the definition of table '") + name + "' is damaged"};
}

// One table's rows onto the stream.
void SendTable(MdbHandle* mdb, const char* name, TJetStreamWriter& out, int fd) {
  MdbCatalogEntry* entry = FindTable(mdb, name);
  if (!entry) throw TRefused{std::string("it has no table '") + name + "'"};
  CheckDefinitionChain(mdb, entry->table_pg, name);
  std::unique_ptr<MdbTableDef, TTableCloser> table(mdb_read_table(entry));
  if (!table || !mdb_read_columns(table.get()) || table->columns->len == 0)
    throw TRefused{std::string("the definition of table '") + name + "' cannot be read"};
  const std::size_t n = table->columns->len;
  std::vector<std::pair<std::string, TJetColumnKind>> columns;
  std::vector<std::vector<char>> bound(n, std::vector<char>(kBindSize + 1));
  std::vector<int> lengths(n);
  for (std::size_t i = 0; i < n; ++i) {
    auto* c = static_cast<MdbColumn*>(g_ptr_array_index(table->columns, i));
    columns.emplace_back(c->name, KindOf(*c));
    mdb_bind_column(table.get(), int(i + 1), bound[i].data(), &lengths[i]);
  }
  out.BeginTable(name, columns);
  // The row's fields as the library finds them in the page: the bound values do not tell an
  // empty text from a null one, and its date text is wrong before 1899-12-30 and after about
  // 4500, so nulls and dates come from the row itself.
  std::vector<MdbField> fields(std::max<std::size_t>(n, table->num_cols));
  mdb_rewind_table(table.get());
  std::uint64_t rows = 0;
  while (mdb_fetch_row(table.get())) {
    int start = 0;
    std::size_t size = 0;
    if (table->cur_row == 0 || mdb_find_row(mdb, int(table->cur_row - 1), &start, &size) != 0 ||
        mdb_crack_row(table.get(), start, size, fields.data()) < int(n))
      throw TRefused{std::string("a row of table '") + name + "' cannot be read"};
    // The fields point into the page, which reading a long value may replace: the dates, and
    // the lengths the long values' headers give (the low 30 bits of their first 4 bytes).
    std::vector<double> dates(n);
    std::vector<std::size_t> longLengths(n);
    std::vector<std::array<unsigned char, MDB_MEMO_OVERHEAD>> longHeaders(n);
    for (std::size_t i = 0; i < n; ++i) {
      if (fields[i].is_null) continue;
      auto* c = static_cast<MdbColumn*>(g_ptr_array_index(table->columns, i));
      if (columns[i].second == TJetColumnKind::DateTime) {
        if (fields[i].siz != 8)
          throw TRefused{std::string("a date in table '") + name + "' is no date"};
        dates[i] = mdb_get_double(fields[i].value, 0);
      } else if (c->col_type == MDB_OLE || c->col_type == MDB_MEMO) {
        if (fields[i].siz < MDB_MEMO_OVERHEAD)
          throw TRefused{std::string("a long value in table '") + name + "' is damaged"};
        longLengths[i] = std::size_t(mdb_get_int32(fields[i].value, 0)) & 0x3FFFFFFF;
        std::memcpy(longHeaders[i].data(), fields[i].value, MDB_MEMO_OVERHEAD);
        // A value kept in the row must fit in the row.
        if ((longHeaders[i][3] & 0x80) &&
            longLengths[i] > std::size_t(fields[i].siz) - MDB_MEMO_OVERHEAD)
          throw TRefused{std::string("a long value in table '") + name + "' is damaged"};
      }
    }
    for (std::size_t i = 0; i < n; ++i) {
      auto* c = static_cast<MdbColumn*>(g_ptr_array_index(table->columns, i));
      const MdbField& field = fields[i];
      const int len = lengths[i];
      // A boolean's value is its null flag.
      if (field.is_null && columns[i].second != TJetColumnKind::Boolean) {
        out.Null();
        continue;
      }
      const std::string_view text(bound[i].data(),
                                  std::min<std::size_t>(std::size_t(std::max(len, 0)), kBindSize));
      switch (columns[i].second) {
        case TJetColumnKind::Integer:
        case TJetColumnKind::Counter: {
          std::int64_t v = 0;
          const auto r = std::from_chars(text.data(), text.data() + text.size(), v);
          if (r.ec != std::errc() || r.ptr != text.data() + text.size())
            throw TRefused{std::string("a number in table '") + name + "' is not one"};
          out.Integer(v);
          break;
        }
        case TJetColumnKind::Real:
          out.Real(std::strtod(std::string(text).c_str(), nullptr));
          break;
        case TJetColumnKind::Boolean:
          out.Boolean(len > 0 && text != "0");
          break;
        case TJetColumnKind::DateTime: {
          TDateTime date;
          if (!JetDateToDateTime(dates[i], date))
            throw TRefused{std::string("a date in table '") + name + "' is no date"};
          out.Date(FormatIsoDate(date));
          break;
        }
        case TJetColumnKind::Blob: {
          if (c->col_type != MDB_OLE) {
            out.Blob({reinterpret_cast<const std::uint8_t*>(text.data()), text.size()});
            break;
          }
          std::size_t blobSize = 0;
          void* data = mdb_ole_read_full(mdb, c, &blobSize);
          if (data && blobSize != longLengths[i]) {
            g_free(data);
            data = nullptr;
          }
          if (!data)
            throw TRefused{std::string("a long value in table '") + name + "' cannot be read"};
          out.Blob({static_cast<const std::uint8_t*>(data), blobSize});
          g_free(data);
          break;
        }
        case TJetColumnKind::Text:
          out.Text(text);
          break;
        case TJetColumnKind::LongText:
          out.Text(text);
          // The library's text of a memo whose chain of pages ends early is as short as the
          // chain: the memo's pages are read again (over its bound text, taken already) and
          // must come to the length its header gives.
          if (c->col_type == MDB_MEMO && !(longHeaders[i][3] & 0x80)) {
            std::memcpy(bound[i].data(), longHeaders[i].data(), MDB_MEMO_OVERHEAD);
            std::size_t size = 0;
            void* data = mdb_ole_read_full(mdb, c, &size);
            g_free(data);
            if ((data ? size : 0) != longLengths[i])
              throw TRefused{std::string("a memo in table '") + name + "' is cut short"};
          }
          break;
      }
    }
    out.EndRow();
    ++rows;
    if (out.Size() >= kFlushAt && !WriteAll(fd, out.Take())) std::_Exit(3);
  }
  // Rows the library skips (a row beyond its page, a row that cannot be cracked) are missing.
  if (rows < table->num_rows)
    throw TRefused{std::string("table '") + name + "' holds " + std::to_string(rows) +
                   " readable rows where its definition counts " + std::to_string(table->num_rows)};
  out.EndTable(rows);
}

}  // namespace

int ServeJetFile(const char* file, int fd) {
  TJetStreamWriter out;
  MdbHandle* mdb = mdb_open(file, MDB_NOFLAGS);
  try {
    if (!mdb) throw TRefused{"the reader cannot open it"};
    if (mdb->f->jet_version != MDB_VER_JET4) throw TRefused{"it is not a Jet 4.0 database"};
    // The system catalogue's definition is always page 2: if that does not read as a table
    // definition, the pages are encoded in a way the library cannot undo (or damaged).
    if (mdb_read_pg(mdb, 2) <= 0 || mdb->pg_buf[0] != MDB_PAGE_TABLE)
      throw TRefused{"its pages are encoded in a way the reader cannot read, or damaged"};
    mdb_set_bind_size(mdb, kBindSize);
    mdb_set_date_fmt(mdb, "%Y-%m-%d %H:%M:%S");
    mdb_set_shortdate_fmt(mdb, "%Y-%m-%d %H:%M:%S");
    mdb_set_boolean_fmt_numbers(mdb);
    if (!mdb_read_catalog(mdb, MDB_TABLE)) throw TRefused{"its catalogue cannot be read"};
    for (const char* table : kTables) SendTable(mdb, table, out, fd);
    out.End();
  } catch (const TRefused& r) {
    out.Refuse(r.why);
  }
  const bool written = WriteAll(fd, out.Take());
  if (mdb) mdb_close(mdb);
  return written ? 0 : 3;
}

}  // namespace db
