// How Jet 4 stores text and dates: text as UCS-2 (two bytes per UTF-16 unit, low byte first),
// dates as a double of days since 30 December 1899 whose fraction is the time of day, the
// fraction counting forward even for days before that date (-1.25 is 29 December 1899, 06:00).
#pragma once

#include <string_view>

#include "JetBytes.h"
#include "framework/db/Variant.h"

namespace jet {

Bytes Ucs2(std::u16string_view text);
// Our dates run on one line (-0.75 is 29 December 1899, 06:00); Jet's keep the time of day
// apart from the sign of the day.
double JetDate(db::TDateTime date);

}  // namespace jet
