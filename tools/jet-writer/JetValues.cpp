#include "JetValues.h"

#include <cmath>

namespace jet {

Bytes Ucs2(std::u16string_view text) {
  Bytes out;
  out.reserve(text.size() * 2);
  for (char16_t unit : text) Append16(out, unit);
  return out;
}

double JetDate(db::TDateTime date) {
  const double day = std::floor(date.days);
  const double time = date.days - day;
  return day < 0 ? day - time : date.days;
}

}  // namespace jet
