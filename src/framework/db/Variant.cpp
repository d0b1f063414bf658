#include "framework/db/Variant.h"

#include <unicode/ustring.h>

#include <charconv>
#include <cmath>
#include <ctime>

#include "framework/db/DbError.h"

namespace db {

namespace {

// Days from 1970-01-01 to a civil date, and back (proleptic Gregorian calendar).
std::int64_t DaysFromCivil(std::int64_t y, int m, int d) {
  y -= m <= 2;
  const std::int64_t era = (y >= 0 ? y : y - 399) / 400;
  const std::int64_t yoe = y - era * 400;
  const std::int64_t doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
  const std::int64_t doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  return era * 146097 + doe - 719468;
}

void CivilFromDays(std::int64_t z, std::int64_t& y, int& m, int& d) {
  z += 719468;
  const std::int64_t era = (z >= 0 ? z : z - 146096) / 146097;
  const std::int64_t doe = z - era * 146097;
  const std::int64_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  const std::int64_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  const std::int64_t mp = (5 * doy + 2) / 153;
  d = int(doy - (153 * mp + 2) / 5 + 1);
  m = int(mp < 10 ? mp + 3 : mp - 9);
  y = yoe + era * 400 + (m <= 2);
}

// 1899-12-30, the day zero of TDateTime, counted from 1970-01-01.
constexpr std::int64_t kDayZero = -25569;

// Calendar fields of a date; the time of day is rounded to the nearest second.
struct Civil {
  std::int64_t year;
  int month, day, hour, minute, second;
};

Civil Split(TDateTime date) {
  const double whole = std::floor(date.days);
  auto seconds = std::int64_t(std::nearbyint((date.days - whole) * 86400.0));
  std::int64_t day = std::int64_t(whole) + seconds / 86400;
  seconds %= 86400;
  Civil c{};
  CivilFromDays(day + kDayZero, c.year, c.month, c.day);
  c.hour = int(seconds / 3600);
  c.minute = int(seconds / 60 % 60);
  c.second = int(seconds % 60);
  return c;
}

[[noreturn]] void CannotConvert(TVarType from, const char* to) {
  throw EVariantError(std::string("Could not convert variant of type (") + VarTypeName(from) +
                      ") into type (" + to + ")");
}

std::u16string Ascii(std::string_view s) {
  return std::u16string(s.begin(), s.end());
}

std::u16string FloatText(double v) {
  char buf[64];
  auto r = std::to_chars(buf, buf + sizeof buf, v);
  return Ascii(std::string_view(buf, r.ptr - buf));
}

}  // namespace

const char* VarTypeName(TVarType type) {
  switch (type) {
    case TVarType::Null:
      return "Null";
    case TVarType::Integer:
      return "Int64";
    case TVarType::Float:
      return "Double";
    case TVarType::Text:
      return "OleStr";
    case TVarType::Date:
      return "Date";
    case TVarType::Blob:
      return "Array Byte";
    case TVarType::Boolean:
      return "Boolean";
  }
  return "Unknown";
}

std::u16string TVariant::ToOleStr() const {
  switch (VarType()) {
    case TVarType::Integer:
      return Ascii(std::to_string(Integer()));
    case TVarType::Float:
      return FloatText(Float());
    case TVarType::Text:
      return Text();
    case TVarType::Date:
      return DateToStr(Date());
    case TVarType::Boolean:
      return Boolean() ? u"True" : u"False";
    case TVarType::Null:
    case TVarType::Blob:
      break;
  }
  CannotConvert(VarType(), "OleStr");
}

std::u16string TVariant::ToString() const {
  return IsNull() ? std::u16string() : ToOleStr();
}

std::int64_t TVariant::ToInteger() const {
  auto rounded = [this](double v) {
    if (!(std::fabs(v) < 9.2e18)) CannotConvert(VarType(), "Int64");
    return std::int64_t(std::nearbyint(v));
  };
  switch (VarType()) {
    case TVarType::Integer:
      return Integer();
    case TVarType::Float:
      return rounded(Float());
    case TVarType::Date:
      return rounded(Date().days);
    case TVarType::Boolean:
      return Boolean() ? 1 : 0;
    case TVarType::Text: {
      const std::string s = ToUtf8(Text());
      std::int64_t v = 0;
      const char* b = s.data() + (s.size() && s[0] == '+' ? 1 : 0);
      auto r = std::from_chars(b, s.data() + s.size(), v);
      if (s.empty() || r.ec != std::errc() || r.ptr != s.data() + s.size())
        throw EConvertError("'" + s + "' is not a valid integer value");
      return v;
    }
    case TVarType::Null:
    case TVarType::Blob:
      break;
  }
  CannotConvert(VarType(), "Int64");
}

TDateTime EncodeDateTime(int year, int month, int day, int hour, int minute, int second) {
  const double days = double(DaysFromCivil(year, month, day) - kDayZero);
  return {days + (hour * 3600 + minute * 60 + second) / 86400.0};
}

bool TryParseIsoDate(std::u16string_view text, TDateTime& out) {
  auto number = [&](std::size_t at, std::size_t len, int& v) {
    if (at + len > text.size()) return false;
    v = 0;
    for (std::size_t i = at; i < at + len; ++i) {
      if (text[i] < u'0' || text[i] > u'9') return false;
      v = v * 10 + (text[i] - u'0');
    }
    return true;
  };
  int y, mo, d, h = 0, mi = 0, s = 0;
  if (!number(0, 4, y) || text.size() < 10 || text[4] != u'-' || !number(5, 2, mo) ||
      text[7] != u'-' || !number(8, 2, d))
    return false;
  if (text.size() != 10) {
    if (text.size() != 19 || (text[10] != u' ' && text[10] != u'T') || !number(11, 2, h) ||
        text[13] != u':' || !number(14, 2, mi) || text[16] != u':' || !number(17, 2, s))
      return false;
  }
  static constexpr int kMonthDays[] = {31, 29, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  if (mo < 1 || mo > 12 || d < 1 || d > kMonthDays[mo - 1] || h > 23 || mi > 59 || s > 59)
    return false;
  if (mo == 2 && d == 29 && (y % 4 != 0 || (y % 100 == 0 && y % 400 != 0))) return false;
  out = EncodeDateTime(y, mo, d, h, mi, s);
  return true;
}

std::string FormatIsoDate(TDateTime date) {
  const Civil c = Split(date);
  char buf[40];
  int n = std::snprintf(buf, sizeof buf, "%04lld-%02d-%02d", static_cast<long long>(c.year),
                        c.month, c.day);
  if (c.hour || c.minute || c.second)
    std::snprintf(buf + n, sizeof buf - n, " %02d:%02d:%02d", c.hour, c.minute, c.second);
  return buf;
}

namespace {
std::string gShortDateFormat;
}

void SetShortDateFormat(const std::string& format) {
  gShortDateFormat = format;
}

std::u16string DateToStr(TDateTime date) {
  const Civil c = Split(date);
  std::tm tm{};
  tm.tm_year = int(c.year - 1900);
  tm.tm_mon = c.month - 1;
  tm.tm_mday = c.day;
  tm.tm_wday = int(((DaysFromCivil(c.year, c.month, c.day) % 7) + 11) % 7);  // 1970-01-01: Thu
  char buf[128];
  const char* format = gShortDateFormat.empty() ? "%x" : gShortDateFormat.c_str();
  const std::size_t n = std::strftime(buf, sizeof buf, format, &tm);
  return ToUtf16(std::string_view(buf, n));
}

std::string ToUtf8(std::u16string_view text) {
  UErrorCode err = U_ZERO_ERROR;
  int32_t len = 0;
  u_strToUTF8WithSub(nullptr, 0, &len, text.data(), int32_t(text.size()), 0xFFFD, nullptr, &err);
  std::string out(std::size_t(len), '\0');
  err = U_ZERO_ERROR;
  u_strToUTF8WithSub(out.data(), len, &len, text.data(), int32_t(text.size()), 0xFFFD, nullptr,
                     &err);
  return out;
}

std::u16string ToUtf16(std::string_view text) {
  UErrorCode err = U_ZERO_ERROR;
  int32_t len = 0;
  u_strFromUTF8WithSub(nullptr, 0, &len, text.data(), int32_t(text.size()), 0xFFFD, nullptr, &err);
  std::u16string out(std::size_t(len), u'\0');
  err = U_ZERO_ERROR;
  u_strFromUTF8WithSub(out.data(), len, &len, text.data(), int32_t(text.size()), 0xFFFD, nullptr,
                       &err);
  return out;
}

}  // namespace db
