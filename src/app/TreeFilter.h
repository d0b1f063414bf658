// The tree's filter on the organisation query: the museum type chosen in the type list and
// part of the organisation's name typed in the name box.
#pragma once

#include <string>

#include "framework/db/DataSet.h"

namespace app {

// The type list's entry that means "every type".
inline constexpr char16_t kAllTypes[] = u"Все";

// The filter expression for a type and a name: "([vid] like '%type%')" unless the type is
// "Все", "([uz.nam] like '%name%')" unless the name is empty, joined with " and "; empty when
// neither applies. The texts are quoted inside the literals, so a quote typed in the name is
// an ordinary character; '%' keeps its meaning of any run of characters.
std::u16string TreeFilterExpression(const std::u16string& typeText, const std::u16string& nameText);

// Puts the filter in force on the organisation query: an empty expression switches the filter
// off, any other is set while the filter is off and then switched on.
void ApplyTreeFilter(db::TDataSet& organisations, const std::u16string& expression);

}  // namespace app
