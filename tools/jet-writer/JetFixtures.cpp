#include "JetFixtures.h"

#include <stdexcept>

#include "CatalogueSource.h"
#include "JetHeader.h"
#include "app/DatabasePassword.h"
#include "platform/gfx/Bitmap.h"
#include "platform/gfx/Color.h"
#include "platform/gfx/PictureCodec.h"

namespace jet {

namespace {

using db::TVariant;

// `count` characters of Cyrillic and Latin text, lines broken now and then.
std::u16string LongText(std::size_t count) {
  static const std::u16string words[] = {u"Экспозиция ", u"школьного ",  u"музея ",    u"Ёлкино, ",
                                         u"1941–1945 ",  u"«Летопись» ", u"exhibits ", u"\r\n"};
  std::u16string text;
  for (std::size_t i = 0; text.size() < count; ++i) text += words[(i * 5 + i / 3) % 8];
  text.resize(count);
  return text;
}

db::TBytes Pattern(std::size_t count, std::uint32_t seed) {
  db::TBytes bytes(count);
  for (std::size_t i = 0; i < count; ++i) {
    seed = seed * 1664525u + 1013904223u;
    bytes[i] = std::uint8_t(seed >> 24);
  }
  return bytes;
}

// A photograph-sized JPEG: a gradient with grain, so that it does not shrink to nothing.
db::TBytes BigPhoto() {
  gfx::Bitmap bmp(1280, 960);
  std::uint32_t seed = 7;
  for (int y = 0; y < bmp.Height(); ++y)
    for (int x = 0; x < bmp.Width(); ++x) {
      seed = seed * 1664525u + 1013904223u;
      const int grain = int(seed >> 27) - 16;
      auto channel = [&](int v) { return std::uint8_t(std::clamp(v + grain, 0, 255)); };
      bmp.Set(x, y, gfx::MakePixel(channel(x / 5), channel(y / 4), channel((x + y) / 9), 255));
    }
  return gfx::EncodeJpeg(bmp, 92);
}

TVariant Date(int y, int mo, int d, int h = 0, int mi = 0, int s = 0) {
  return TVariant(db::EncodeDateTime(y, mo, d, h, mi, s));
}

Row Organisation(int id, TVariant mun, TVariant nam, TVariant datO, TVariant razd) {
  return {TVariant(id),
          std::move(mun),
          std::move(nam),
          TVariant(u"Краеведческий музей"),
          TVariant(u"Муниципальное учреждение №" + db::ToUtf16(std::to_string(id))),
          TVariant(u"Велморская обл., ул. Школьная, д. " + db::ToUtf16(std::to_string(id))),
          std::move(datO),
          TVariant(u"8 (4999) 1-00-00"),
          std::move(razd)};
}

Database Catalogue(std::vector<Row> mun, std::vector<Row> uz, std::vector<Row> foto) {
  Database d = CatalogueSchema();
  d.tables[0].rows = std::move(mun);
  d.tables[1].rows = std::move(uz);
  d.tables[2].rows = std::move(foto);
  return d;
}

void Patch32(Bytes& bytes, std::size_t at, std::uint32_t value) {
  if (at + 4 > bytes.size()) throw std::logic_error("a patch beyond the file");
  Put32(bytes.data() + at, value);
}
void Patch16(Bytes& bytes, std::size_t at, std::uint32_t value) {
  if (at + 2 > bytes.size()) throw std::logic_error("a patch beyond the file");
  Put16(bytes.data() + at, value);
}

std::size_t PageAt(std::uint32_t page) {
  return std::size_t(page) * kPageSize;
}

}  // namespace

Database AwkwardDatabase() {
  std::u16string longName(255, u'ж');
  longName.replace(0, 12, u"Ёлкино-Длинн");
  std::vector<Row> mun = {
      {TVariant(1), TVariant(u"Заречный район")},
      {TVariant(2), TVariant(u"Ёлкинский район")},
      {TVariant(3), TVariant()},
      {TVariant(4), TVariant(u"")},
      {TVariant(5), TVariant(longName)},
      {TVariant(6), TVariant(u"Район «Ёлки», \"Палки\" и 'Кавычки'")},
      {TVariant(7), TVariant(u"Две\r\nстроки")},
  };
  std::vector<Row> uz = {
      Organisation(1, TVariant(1), TVariant(u"СОШ №1"), Date(1987, 9, 1, 10, 30),
                   TVariant(u"1. Короткий раздел")),
      {TVariant(2), TVariant(), TVariant(), TVariant(), TVariant(), TVariant(), TVariant(),
       TVariant(), TVariant()},
      Organisation(3, TVariant(2), TVariant(u"Школа с длинным текстом"), Date(1899, 12, 30),
                   TVariant(LongText(10000))),
      Organisation(4, TVariant(2), TVariant(u""), Date(2099, 12, 31, 23, 59, 59),
                   TVariant(LongText(1500))),
      // The memo of the longest single long-value row, and one character more.
      Organisation(5, TVariant(5), TVariant(longName), Date(2000, 2, 29),
                   TVariant(LongText(kSinglePageMax / 2))),
      Organisation(6, TVariant(6), TVariant(u"Лицей 100% успеха"), Date(1965, 1, 1, 0, 0, 1),
                   TVariant(LongText(kSinglePageMax / 2 + 1))),
      Organisation(9, TVariant(99), TVariant(u"Школа вне районов"), Date(2024, 12, 31),
                   TVariant(u"")),
  };
  uz[3][4] = TVariant(u"");  // an empty full name
  uz[3][5] = TVariant(u"");
  std::vector<Row> foto = {
      {TVariant(1), TVariant(1), TVariant(u"1/фото №1.jpg"), TVariant()},
      {TVariant(2), TVariant(1), TVariant(u"1\\2.jpg"), TVariant(db::TBytes{})},
      {TVariant(3), TVariant(3), TVariant(u"3/малое.bin"), TVariant(Pattern(40, 3))},
      {TVariant(4), TVariant(3), TVariant(u"3/страница.bin"), TVariant(Pattern(kSinglePageMax, 4))},
      {TVariant(5), TVariant(3), TVariant(u"3/страница+1.bin"),
       TVariant(Pattern(kSinglePageMax + 1, 5))},
      {TVariant(6), TVariant(4), TVariant(u"4/большое.jpg"), TVariant(BigPhoto())},
      {TVariant(7), TVariant(4), TVariant(), TVariant(Pattern(3 * kChainChunk, 7))},
  };
  Database d = Catalogue(std::move(mun), std::move(uz), std::move(foto));

  d.tables.push_back({u"empty",
                      {{u"i", ColumnType::Integer},
                       {u"l", ColumnType::LongInteger},
                       {u"r", ColumnType::Double},
                       {u"d", ColumnType::DateTime},
                       {u"t", ColumnType::Text, 10},
                       {u"m", ColumnType::Memo},
                       {u"b", ColumnType::LongBinary}},
                      {}});
  d.tables.push_back(
      {u"numbers",
       {{u"i", ColumnType::Integer}, {u"l", ColumnType::LongInteger}, {u"r", ColumnType::Double}},
       {{TVariant(-32768), TVariant(std::int64_t(-2147483648LL)), TVariant(-1e300)},
        {TVariant(32767), TVariant(std::int64_t(2147483647LL)), TVariant(1e-300)},
        {TVariant(0), TVariant(0), TVariant(0.1)},
        {TVariant(), TVariant(), TVariant()}}});
  d.tables.push_back({u"dates",
                      {{u"n", ColumnType::LongInteger}, {u"d", ColumnType::DateTime}},
                      {{TVariant(1), Date(1899, 12, 29, 6)},
                       {TVariant(2), Date(1800, 1, 1, 12)},
                       {TVariant(3), Date(1899, 12, 30, 18)},
                       {TVariant(4), Date(1, 1, 1)},
                       {TVariant(5), Date(2026, 12, 10, 8, 35)},
                       {TVariant(6), Date(9999, 12, 31, 23, 59, 59)}}});
  Table many{u"many", {{u"n", ColumnType::LongInteger, 255, true}, {u"t", ColumnType::Text}}, {}};
  for (int i = 1; i <= 1000; ++i)
    many.rows.push_back({TVariant(i), TVariant(u"Строка " + db::ToUtf16(std::to_string(i)))});
  d.tables.push_back(std::move(many));
  return d;
}

Database EmptyCatalogue() {
  return Catalogue({}, {}, {});
}

Database NoCatalogue() {
  Database d = Catalogue({{TVariant(1), TVariant(u"Район")}}, {}, {});
  d.tables[0].name = u"districts";
  d.tables.erase(d.tables.begin() + 1, d.tables.end());
  return d;
}

Database NullIdCatalogue() {
  Row lost = Organisation(2, TVariant(1), TVariant(u"Школа без номера"), Date(1990, 9, 1),
                          TVariant(u"Зал"));
  lost[0] = TVariant();
  return Catalogue(
      {{TVariant(1), TVariant(u"Район")}},
      {Organisation(1, TVariant(1), TVariant(u"Школа"), Date(1987, 9, 1), TVariant(u"Зал")),
       std::move(lost)},
      {});
}

Bytes HeaderOnlyFile(FormatVersion version) {
  HeaderFields header;
  header.version = version;
  header.password = app::kDatabasePassword;
  header.created = db::EncodeDateTime(2009, 3, 17);
  Bytes file = HeaderPage(header);
  file.resize(file.size() * 4, 0);
  return file;
}

Bytes WithDatabaseKey(Bytes file, std::uint32_t key) {
  Bytes page(file.begin(), file.begin() + std::ptrdiff_t(kPageSize));
  ApplyHeaderMask(page, FormatVersion::Jet4);
  Put32(page.data() + kDatabaseKey, key);
  ApplyHeaderMask(page, FormatVersion::Jet4);
  std::copy(page.begin(), page.end(), file.begin());
  return file;
}

std::vector<DamagedFile> DamagedVariants(const Bytes& good, const Layout& layout) {
  auto table = [&](std::u16string_view name) -> const TableLayout& {
    for (const TableLayout& t : layout.tables)
      if (t.name == name) return t;
    throw std::logic_error("the good file lacks a table");
  };
  const TableLayout& catalog = layout.tables.at(0);
  const TableLayout& uz = table(u"uz");
  // The longest chain: the big photo.
  const LongValuePlace* chain = nullptr;
  for (const LongValuePlace& v : layout.longValues)
    if (!chain || v.pages.size() > chain->pages.size()) chain = &v;
  if (!chain || chain->pages.size() < 3) throw std::logic_error("the good file lacks a chain");
  const std::size_t chainField = PageAt(chain->fieldPage) + chain->fieldOffset;
  // The longest memo's chain.
  const LongValuePlace* memo = nullptr;
  for (const LongValuePlace& v : layout.longValues)
    if (layout.tables.at(v.table).name == u"uz" && (!memo || v.pages.size() > memo->pages.size()))
      memo = &v;
  if (!memo || memo->pages.size() < 3) throw std::logic_error("the good file lacks a memo chain");
  // A chain page's one row starts with the pointer to the next.
  auto chainRow = [&](std::uint32_t page) {
    return PageAt(page) + Get16(good.data() + PageAt(page) + kRowPageHeader);
  };
  const std::size_t uzDefinition = PageAt(uz.definitionPage);
  std::size_t uzEntry = 0;  // uz's row in the catalogue: after the containers and MSysObjects
  for (std::size_t i = 0; i < catalog.rows.size(); ++i)
    if (Get32(good.data() + PageAt(catalog.rows[i].page) + catalog.rows[i].offset + 2) ==
        uz.definitionPage)
      uzEntry = PageAt(catalog.rows[i].page) + catalog.rows[i].offset;
  if (!uzEntry) throw std::logic_error("the catalogue lacks uz");

  std::vector<DamagedFile> out;
  auto variant = [&](std::string name, std::string what, auto change) {
    Bytes bytes = good;
    change(bytes);
    out.push_back({std::move(name), std::move(what), std::move(bytes)});
  };
  variant("empty.dat", "no bytes at all", [](Bytes& b) { b.clear(); });
  variant("header-cut.dat", "the first 100 bytes of the definition page",
          [](Bytes& b) { b.resize(100); });
  variant("truncated.dat", "cut in the middle of the photo's long-value chain",
          [&](Bytes& b) { b.resize(PageAt(chain->pages[chain->pages.size() / 2]) + 1000); });
  variant("catalog-not-definition.dat", "the catalogue's page claims to be a data page",
          [&](Bytes& b) { b[PageAt(kCatalogPage)] = 0x01; });
  variant("table-beyond-end.dat", "the catalogue entry of uz names a page beyond the end",
          [&](Bytes& b) { Patch32(b, uzEntry + 2, 0x00FFFFF0); });
  variant("usage-map-beyond-end.dat", "uz's usage map lies on a page beyond the end",
          [&](Bytes& b) { Patch32(b, uzDefinition + 55, RowPointer(0xFFFFF0, 0)); });
  variant("definition-loop.dat", "uz's definition continues on itself",
          [&](Bytes& b) { Patch32(b, uzDefinition + 4, uz.definitionPage); });
  variant("absurd-column-count.dat", "uz's definition claims 65535 columns", [&](Bytes& b) {
    Patch16(b, uzDefinition + 41, 0xFFFF);
    Patch16(b, uzDefinition + 45, 0xFFFF);
  });
  variant("absurd-row-count.dat", "uz's definition claims 2^31 - 1 rows",
          [&](Bytes& b) { Patch32(b, uzDefinition + 16, 0x7FFFFFFF); });
  variant("row-offset-beyond-page.dat", "the first row of uz starts beyond its page",
          [&](Bytes& b) { Patch16(b, PageAt(uz.dataPages[0]) + kRowPageHeader, 0x1FF0); });
  variant("row-column-count.dat", "the first row of uz claims 65535 columns",
          [&](Bytes& b) { Patch16(b, PageAt(uz.rows[0].page) + uz.rows[0].offset, 0xFFFF); });
  variant("chain-loop.dat", "the photo's long-value chain returns to its first page",
          [&](Bytes& b) {
            Patch32(b, chainRow(chain->pages.back()), RowPointer(chain->pages.front(), 0));
          });
  variant("chain-beyond-end.dat", "the photo's long-value chain goes on beyond the end",
          [&](Bytes& b) { Patch32(b, chainRow(chain->pages[1]), RowPointer(0xFFFFF0, 0)); });
  variant("memo-cut-short.dat", "the longest memo's long-value chain ends after its second page",
          [&](Bytes& b) { Patch32(b, chainRow(memo->pages[1]), 0); });
  variant("absurd-long-value.dat", "the photo claims to be 1 GiB long",
          [&](Bytes& b) { Patch32(b, chainField, 0x3FFFFFFF); });
  return out;
}

}  // namespace jet
