// The catalogue database's password: the program connects with it and the catalogue builder
// (tools/make-catalogue) writes it into every database it makes. Kept here alone so that both
// include one constant and nothing else.
#pragma once

namespace app {

inline constexpr char16_t kDatabasePassword[] = u"k7mP305z$42";

}  // namespace app
