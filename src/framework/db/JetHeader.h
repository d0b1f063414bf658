// Telling a Jet database by its first page: the "Standard Jet DB" / "Standard ACE DB" header,
// the version byte at 0x14 (0 Jet 3, 1 Jet 4.0, 2 and up the later ACE formats) and whole
// pages (4096 bytes for Jet 4.0).
#pragma once

#include <cstdint>
#include <span>
#include <string>

namespace db {

inline constexpr std::size_t kJet4PageSize = 4096;

// Whether the first bytes of a file are a Jet or ACE database's header.
bool IsJetHeader(std::span<const std::uint8_t> head);
// Whether the file begins with such a header (false for a file that cannot be read).
bool IsJetFile(const std::string& file);
// The format a version byte names ("Jet 3 (Access 97)", "Jet 4.0", "ACE 14 (Access 2010)", ...).
std::string JetFormatName(std::uint8_t version);
// Empty when a file of this header and length is one this program reads (Jet 4.0, whole
// pages, at least the pages every database has), else why not.
std::string JetHeaderProblem(std::span<const std::uint8_t> head, std::uint64_t fileSize);
// Raises EDatabaseError naming the file and the problem unless JetHeaderProblem is empty.
void CheckJet4File(const std::string& file);

}  // namespace db
