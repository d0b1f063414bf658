// The pages of a Jet 4 file while it is written: allocation in file order, pages of rows
// (data pages and long-value pages share one shape), long values, and usage maps.
#pragma once

#include <cstdint>
#include <vector>

#include "JetBytes.h"

namespace jet {

class PageFile {
 public:
  // A new page of zeros at the end; returns its number.
  std::uint32_t Allocate();
  std::uint8_t* Page(std::uint32_t number) { return FPages[number].data(); }
  std::uint32_t Count() const { return std::uint32_t(FPages.size()); }
  Bytes Image() const;

 private:
  std::vector<Bytes> FPages;
};

// The header of a page of rows: type, a constant 1, the free space, the owner (a table
// definition's page, or "LVAL" for long values), four unknown bytes and the row count; the
// rows' offsets follow, the rows themselves fill the page from its end.
inline constexpr std::size_t kRowPageHeader = 14;
inline constexpr std::uint32_t kLongValueOwner = 0x4C41564C;  // "LVAL"

// Fills one page of rows.
class RowPage {
 public:
  RowPage(PageFile& file, std::uint32_t owner);
  std::uint32_t Number() const { return FNumber; }
  int RowCount() const { return FRows; }
  bool Fits(std::size_t length) const;
  // Stores a row (it must fit); returns its offset in the page. Its number is RowCount()
  // before the call.
  std::uint16_t Add(const Bytes& row);
  std::size_t FreeSpace() const;

 private:
  PageFile& FFile;
  std::uint32_t FNumber;
  int FRows = 0;
  std::size_t FLowest;  // where the last stored row starts
};

// How a long value (memo, OLE object) is held: in the row itself, as one row of a long-value
// page, or as a chain of long-value pages whose rows start with the pointer to the next.
enum class LongValueKind { Inline, SinglePage, Chain };

// The most a long-value page's one row holds, and a chain page's share of the value.
inline constexpr std::size_t kSinglePageMax = 4096 - kRowPageHeader - 2;
inline constexpr std::size_t kChainChunk = kSinglePageMax - 4;

struct StoredLongValue {
  LongValueKind kind;
  Bytes field;                       // what the row holds: the 12-byte header (and the value)
  std::vector<std::uint32_t> pages;  // the long-value pages, in chain order
};

// Places long values; single-page ones share pages while they fit.
class LongValueStore {
 public:
  // Values up to `inlineLimit` bytes stay in the row.
  LongValueStore(PageFile& file, std::size_t inlineLimit) : FFile(file), FInline(inlineLimit) {}
  StoredLongValue Store(const Bytes& value);

 private:
  PageFile& FFile;
  std::size_t FInline;
  std::vector<RowPage> FShared;  // the last one is being filled
};

// A usage map of the first kind: a type byte 0, the first page it covers, then one bit per
// page from that one on (low bit first), set for the pages listed.
Bytes UsageMap(const std::vector<std::uint32_t>& pages);

}  // namespace jet
