#include "framework/db/Variant.h"

#include <gtest/gtest.h>

#include "framework/db/DbError.h"

namespace db {
namespace {

std::string ErrorOf(auto&& f) {
  try {
    f();
  } catch (const std::exception& e) {
    return e.what();
  }
  return "no error";
}

TEST(Variant, StrictTextConversionRefusesNullWithTheExactMessage) {
  EXPECT_EQ(ErrorOf([] { TVariant().ToOleStr(); }),
            "Could not convert variant of type (Null) into type (OleStr)");
  EXPECT_THROW(TVariant().ToOleStr(), EVariantError);
  EXPECT_EQ(ErrorOf([] {
              TVariant(TBytes{1, 2}).ToOleStr();
            }),
            "Could not convert variant of type (Array Byte) into type (OleStr)");
  EXPECT_EQ(TVariant(u"").ToOleStr(), u"");  // empty text is not null
  EXPECT_EQ(TVariant(u"Галерея").ToOleStr(), u"Галерея");
  EXPECT_EQ(TVariant(-42).ToOleStr(), u"-42");
  EXPECT_EQ(TVariant(2.5).ToOleStr(), u"2.5");
  EXPECT_EQ(TVariant(true).ToOleStr(), u"True");
  const TDateTime d = EncodeDateTime(1987, 9, 1);
  EXPECT_EQ(TVariant(d).ToOleStr(), DateToStr(d));
  EXPECT_EQ(TVariant().ToString(), u"");  // the lenient one gives empty text
}

TEST(Variant, IntegerConversion) {
  EXPECT_EQ(TVariant(u"12").ToInteger(), 12);
  EXPECT_EQ(TVariant(u"-7").ToInteger(), -7);
  EXPECT_EQ(ErrorOf([] { TVariant(u"12a").ToInteger(); }), "'12a' is not a valid integer value");
  EXPECT_THROW(TVariant(u"").ToInteger(), EConvertError);
  EXPECT_EQ(TVariant(2.5).ToInteger(), 2);  // ties to even
  EXPECT_EQ(TVariant(3.5).ToInteger(), 4);
  EXPECT_EQ(TVariant(-2.6).ToInteger(), -3);
  EXPECT_THROW(TVariant(1e300).ToInteger(), EVariantError);
  EXPECT_THROW(TVariant().ToInteger(), EVariantError);
}

TEST(Variant, DatesCountDaysFromTheLibrarysDayZero) {
  EXPECT_EQ(EncodeDateTime(1899, 12, 30).days, 0);
  EXPECT_EQ(EncodeDateTime(1900, 1, 1).days, 2);
  EXPECT_EQ(EncodeDateTime(2000, 3, 1).days, 36586);
  EXPECT_EQ(EncodeDateTime(1899, 12, 29, 18).days, -0.25);
  TDateTime d;
  ASSERT_TRUE(TryParseIsoDate(u"2024-02-29 10:20:30", d));
  EXPECT_EQ(FormatIsoDate(d), "2024-02-29 10:20:30");
  ASSERT_TRUE(TryParseIsoDate(u"1987-09-01", d));
  EXPECT_EQ(FormatIsoDate(d), "1987-09-01");
  EXPECT_FALSE(TryParseIsoDate(u"2023-02-29", d));
  EXPECT_FALSE(TryParseIsoDate(u"1900-02-29", d));
  EXPECT_FALSE(TryParseIsoDate(u"1987-13-01", d));
  EXPECT_FALSE(TryParseIsoDate(u"1987-09-01x", d));
  EXPECT_FALSE(TryParseIsoDate(u"сентябрь 1987", d));
}

TEST(Variant, DateTextFollowsTheLocale) {
  // The C locale's date text is month/day/year with two-digit years.
  EXPECT_EQ(DateToStr(EncodeDateTime(2026, 12, 9)), u"12/09/26");
  EXPECT_EQ(DateToStr(EncodeDateTime(1899, 12, 29, 18)), u"12/29/99");
}

TEST(Variant, Utf8RoundTripAndRepair) {
  EXPECT_EQ(ToUtf16("Ёлка €"), u"Ёлка €");
  EXPECT_EQ(ToUtf8(u"Ёлка €"), "Ёлка €");
  EXPECT_EQ(ToUtf16("a\xff"), u"a\uFFFD");
  EXPECT_EQ(ToUtf8(std::u16string(1, char16_t(0xD800))), "\xEF\xBF\xBD");
}

}  // namespace
}  // namespace db
