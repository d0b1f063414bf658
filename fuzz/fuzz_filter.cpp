// The record-set filter parser and evaluator on arbitrary text (read as UTF-8).
#include <cstddef>
#include <cstdint>

#include "framework/db/DbError.h"
#include "framework/db/Filter.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace db;
  static const std::vector<TColumnInfo> columns = {
      {"mun.nam", TFieldType::ftWideString, "mun", "nam", false},
      {"uz.nam", TFieldType::ftWideString, "uz", "nam", false},
      {"id", TFieldType::ftAutoInc, "uz", "id", true},
      {"vid", TFieldType::ftWideString, "uz", "vid", false},
      {"dat_o", TFieldType::ftDateTime, "uz", "dat_o", false},
  };
  static const std::vector<TRow> rows = {
      {TVariant(u"Заречный район"), TVariant(u"Школа «O'Хара» 50%"), TVariant(4),
       TVariant(u"Галерея"), TVariant(EncodeDateTime(1987, 9, 1))},
      {TVariant(), TVariant(), TVariant(), TVariant(), TVariant()},
      {TVariant(u""), TVariant(u"ǅ ß ΐ İ"), TVariant(-7), TVariant(2.5), TVariant(u"1987-09-01")},
  };
  const std::u16string text = ToUtf16(std::string_view(reinterpret_cast<const char*>(data), size));
  try {
    const TFilterExpression expr(text, columns);
    for (const TRow& row : rows) expr.Matches(row);
  } catch (const EDatabaseError&) {
  }
  return 0;
}
