#include "JetHeader.h"

#include <array>
#include <stdexcept>

#include "JetValues.h"
#include "Rc4.h"

namespace jet {

namespace {

// The fixed RC4 key of the region, 0x6B39DAC7 low byte first.
constexpr std::array<std::uint8_t, 4> kRegionKey = {0xC7, 0xDA, 0x39, 0x6B};

}  // namespace

std::size_t PageSize(FormatVersion version) {
  return version == FormatVersion::Jet3 ? kJet3PageSize : kPageSize;
}

void ApplyHeaderMask(Bytes& page, FormatVersion version) {
  const std::size_t length =
      version == FormatVersion::Jet3 ? kJet3EncodedLength : kJet4EncodedLength;
  Rc4Apply(kRegionKey, std::span(page).subspan(kEncodedStart, length));
}

Bytes HeaderPage(const HeaderFields& fields) {
  const bool jet3 = fields.version == FormatVersion::Jet3;
  if (fields.password.size() > 20) throw std::invalid_argument("a password has 20 characters");
  Bytes page(PageSize(fields.version), 0);
  page[1] = 0x01;
  const char* name = fields.version >= FormatVersion::Ace12 ? "Standard ACE DB" : "Standard Jet DB";
  std::memcpy(page.data() + 4, name, 16);  // with its terminating zero
  Put32(page.data() + 0x14, std::uint32_t(fields.version));
  Put16(page.data() + kCodePage, fields.codePage);
  Put32(page.data() + kDatabaseKey, 0);
  if (jet3) {
    Put16(page.data() + kSortOrderJet3, fields.sortOrder);
    for (std::size_t i = 0; i < fields.password.size(); ++i)
      page[kPassword + i] = std::uint8_t(fields.password[i]);
  } else {
    const Bytes password = Ucs2(fields.password);
    std::copy(password.begin(), password.end(), page.begin() + kPassword);
    Put16(page.data() + kSortOrderJet4, fields.sortOrder);
    PutDouble(page.data() + kCreated, JetDate(fields.created));
  }
  ApplyHeaderMask(page, fields.version);
  return page;
}

}  // namespace jet
