// A small variant: the value of one field or parameter. Text is UTF-16; a date is a day count
// from 30 December 1899 with the time of day as the fraction, as the record-set library keeps
// dates.
#pragma once

#include <concepts>
#include <cstdint>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace db {

// The kinds a variant may hold.
enum class TVarType { Null, Integer, Float, Text, Date, Blob, Boolean };

// A date value: days since 1899-12-30, time of day as the fraction.
struct TDateTime {
  double days = 0;
  friend bool operator==(TDateTime, TDateTime) = default;
};

using TBytes = std::vector<std::uint8_t>;

class TVariant {
 public:
  TVariant() = default;  // null
  TVariant(std::int64_t v) : FValue(v) {}
  TVariant(int v) : FValue(std::int64_t(v)) {}
  TVariant(double v) : FValue(v) {}
  TVariant(std::u16string v) : FValue(std::move(v)) {}
  TVariant(const char16_t* v) : FValue(std::u16string(v)) {}
  TVariant(TDateTime v) : FValue(v) {}
  TVariant(TBytes v) : FValue(std::move(v)) {}
  // Only a real bool: a pointer or number must not turn into a boolean by accident.
  TVariant(std::same_as<bool> auto v) : FValue(bool(v)) {}

  TVarType VarType() const { return TVarType(FValue.index()); }
  bool IsNull() const { return FValue.index() == 0; }

  // The held value; the caller checks VarType first.
  std::int64_t Integer() const { return std::get<std::int64_t>(FValue); }
  double Float() const { return std::get<double>(FValue); }
  const std::u16string& Text() const { return std::get<std::u16string>(FValue); }
  TDateTime Date() const { return std::get<TDateTime>(FValue); }
  const TBytes& Blob() const { return std::get<TBytes>(FValue); }
  bool Boolean() const { return std::get<bool>(FValue); }

  // Strict conversion to text: text unchanged, numbers in decimal, a date as the locale's
  // date text, a boolean as "True"/"False"; null or a blob raise EVariantError
  // "Could not convert variant of type (Null) into type (OleStr)".
  std::u16string ToOleStr() const;
  // Lenient conversion to text: as ToOleStr, but null gives empty text.
  std::u16string ToString() const;
  // Conversion to an integer: text must be a whole decimal number (EConvertError "'x' is not
  // a valid integer value"), a float or date is rounded to nearest, ties to even; null or a
  // blob raise EVariantError.
  std::int64_t ToInteger() const;

  friend bool operator==(const TVariant&, const TVariant&) = default;

 private:
  std::variant<std::monostate, std::int64_t, double, std::u16string, TDateTime, TBytes, bool>
      FValue;
};

// The name a variant type goes by in conversion errors ("Null", "Int64", "OleStr", ...).
const char* VarTypeName(TVarType type);

// The date text of the user's locale (the C library's "%x" under the current LC_TIME), or of
// the short date format a program chose (a strftime format; empty returns to the locale's).
std::u16string DateToStr(TDateTime date);
void SetShortDateFormat(const std::string& format);
// A date of the calendar (proleptic Gregorian) and a time of day.
TDateTime EncodeDateTime(int year, int month, int day, int hour = 0, int minute = 0,
                         int second = 0);
// "YYYY-MM-DD" optionally followed by " HH:MM:SS" or "THH:MM:SS"; false if it is not that.
bool TryParseIsoDate(std::u16string_view text, TDateTime& out);
// The stored form of a date: "YYYY-MM-DD", with " HH:MM:SS" when there is a time of day.
std::string FormatIsoDate(TDateTime date);

// UTF-16 to and from UTF-8; ill-formed input is replaced, never rejected.
std::string ToUtf8(std::u16string_view text);
std::u16string ToUtf16(std::string_view text);

}  // namespace db
