#include "JetPages.h"

#include <algorithm>
#include <stdexcept>

namespace jet {

std::uint32_t PageFile::Allocate() {
  if (FPages.size() >= 0xFFFFFF) throw std::length_error("a Jet file has at most 2^24 pages");
  FPages.emplace_back(4096, 0);
  return std::uint32_t(FPages.size() - 1);
}

Bytes PageFile::Image() const {
  Bytes out;
  out.reserve(FPages.size() * 4096);
  for (const Bytes& page : FPages) Append(out, page);
  return out;
}

RowPage::RowPage(PageFile& file, std::uint32_t owner)
    : FFile(file), FNumber(file.Allocate()), FLowest(4096) {
  std::uint8_t* page = FFile.Page(FNumber);
  page[0] = 0x01;
  page[1] = 0x01;
  Put32(page + 4, owner);
  Put16(page + 2, std::uint32_t(FreeSpace()));
}

std::size_t RowPage::FreeSpace() const {
  return FLowest - kRowPageHeader - 2 * std::size_t(FRows);
}

bool RowPage::Fits(std::size_t length) const {
  return length + 2 <= FreeSpace();
}

std::uint16_t RowPage::Add(const Bytes& row) {
  if (!Fits(row.size())) throw std::logic_error("the row does not fit the page");
  std::uint8_t* page = FFile.Page(FNumber);
  FLowest -= row.size();
  std::copy(row.begin(), row.end(), page + FLowest);
  Put16(page + kRowPageHeader + 2 * std::size_t(FRows), std::uint32_t(FLowest));
  ++FRows;
  Put16(page + 12, std::uint32_t(FRows));
  Put16(page + 2, std::uint32_t(FreeSpace()));
  return std::uint16_t(FLowest);
}

StoredLongValue LongValueStore::Store(const Bytes& value) {
  if (value.size() > 0x3FFFFFFF) throw std::length_error("a long value holds under 1 GiB");
  StoredLongValue out;
  out.field.resize(12, 0);
  const std::uint32_t length = std::uint32_t(value.size());
  if (value.size() <= FInline) {
    out.kind = LongValueKind::Inline;
    Put32(out.field.data(), length | 0x80000000u);
    Append(out.field, value);
  } else if (value.size() <= kSinglePageMax) {
    out.kind = LongValueKind::SinglePage;
    if (FShared.empty() || !FShared.back().Fits(value.size()))
      FShared.emplace_back(FFile, kLongValueOwner);
    RowPage& page = FShared.back();
    const int row = page.RowCount();
    page.Add(value);
    Put32(out.field.data(), length | 0x40000000u);
    Put32(out.field.data() + 4, RowPointer(page.Number(), std::uint32_t(row)));
    out.pages = {page.Number()};
  } else {
    out.kind = LongValueKind::Chain;
    const std::size_t count = (value.size() + kChainChunk - 1) / kChainChunk;
    std::vector<RowPage> chain;
    for (std::size_t i = 0; i < count; ++i) {
      chain.emplace_back(FFile, kLongValueOwner);
      out.pages.push_back(chain.back().Number());
    }
    for (std::size_t i = 0; i < count; ++i) {
      Bytes row;
      Append32(row, i + 1 < count ? RowPointer(out.pages[i + 1], 0) : 0);
      const std::size_t from = i * kChainChunk;
      const std::size_t to = std::min(value.size(), from + kChainChunk);
      row.insert(row.end(), value.begin() + std::ptrdiff_t(from),
                 value.begin() + std::ptrdiff_t(to));
      chain[i].Add(row);
    }
    Put32(out.field.data(), length);
    Put32(out.field.data() + 4, RowPointer(out.pages[0], 0));
  }
  return out;
}

Bytes UsageMap(const std::vector<std::uint32_t>& pages) {
  Bytes map(5, 0);
  if (pages.empty()) {
    map.push_back(0);
    return map;
  }
  const std::uint32_t first = *std::min_element(pages.begin(), pages.end());
  const std::uint32_t last = *std::max_element(pages.begin(), pages.end());
  Put32(map.data() + 1, first);
  map.resize(5 + (last - first) / 8 + 1, 0);
  for (std::uint32_t page : pages)
    map[5 + (page - first) / 8] |= std::uint8_t(1u << ((page - first) % 8));
  return map;
}

}  // namespace jet
