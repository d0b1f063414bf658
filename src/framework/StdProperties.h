// Property readers shared by every unit that registers classes for window descriptions.
#pragma once

#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "framework/Colors.h"
#include "framework/Exception.h"
#include "framework/Reader.h"

namespace fw {

// A colour: a name (clWindow, clRed...) or a number ($00BBGGRR, or a system colour).
TColor ReadColor(const TValueDesc& v, TReadContext& ctx);
// The names of TAlignment's values (taLeftJustify, taRightJustify, taCenter).
extern const std::vector<std::pair<std::string, int>> kAlignmentNames;
// The names of Font.Style's members.
extern const std::vector<std::pair<std::string, int>> kFontStyleNames;

// A reference to a component of class T (possibly in another module), applied once everything
// is read; a component of another class is refused with the message expected.
template <class T>
void ReferTo(TReadContext& ctx, const TValueDesc& v, const char16_t* expected,
             std::function<void(T*)> apply) {
  ctx.Reference(v, [expected, apply](TComponent* c) {
    auto* t = dynamic_cast<T*>(c);
    if (!t) throw Exception(expected);
    apply(t);
  });
}

}  // namespace fw
