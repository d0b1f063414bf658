// The database definition page (page 0): the format's name and version, and the encoded
// region with the code page, the database key, the password, the sort order and the creation
// date.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "JetBytes.h"
#include "framework/db/Variant.h"

namespace jet {

// The version field at 0x14: 0 is Jet 3, 1 Jet 4, 2 and on the later formats (2007, 2010, ...).
enum class FormatVersion : std::uint32_t { Jet3 = 0, Jet4 = 1, Ace12 = 2, Ace14 = 3 };

inline constexpr std::size_t kPageSize = 4096;      // Jet 4 and later
inline constexpr std::size_t kJet3PageSize = 2048;  // Jet 3

std::size_t PageSize(FormatVersion version);

struct HeaderFields {
  FormatVersion version = FormatVersion::Jet4;
  std::u16string password;  // up to 20 characters (Jet 3: 20 single-byte characters)
  db::TDateTime created;
  std::uint16_t codePage = 1251;
  std::uint16_t sortOrder = 0x0409;
};

// Where the encoded region lies and the fields inside it, as offsets in the page.
inline constexpr std::size_t kEncodedStart = 0x18;
inline constexpr std::size_t kJet3EncodedLength = 126;
inline constexpr std::size_t kJet4EncodedLength = 128;
inline constexpr std::size_t kSortOrderJet3 = 0x3A;
inline constexpr std::size_t kCodePage = 0x3C;
inline constexpr std::size_t kDatabaseKey = 0x3E;
inline constexpr std::size_t kPassword = 0x42;
inline constexpr std::size_t kSortOrderJet4 = 0x6E;
inline constexpr std::size_t kCreated = 0x72;

// The page, one page long, with the region encoded. The database key is 0: the pages that
// follow are not encoded. Jet 4 lays a further mask derived from the creation date over the
// password; that mask is not written (see docs/data-access.md).
Bytes HeaderPage(const HeaderFields& fields);

// Encodes or decodes the region of a header page in place.
void ApplyHeaderMask(Bytes& page, FormatVersion version);

}  // namespace jet
