// The scroll-bar arithmetic: the thumb of a bar, the position of a dragged thumb and the part
// under a point, as a table of chosen cases and as a seeded random comparison with a plain
// reference computed in 128 bits.
#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <random>

#include "skin/frame/acSBUtils.h"

namespace skin::frame {
namespace {

struct ThumbCase {
  int length, button, minThumb, min, max;
  unsigned page;
  int pos;
  int size, offset;
};

TEST(ScrollArithmetic, ThumbTable) {
  const ThumbCase cases[] = {
      {100, 17, 16, 0, 99, 10, 0, 16, 0},    // a page of 10 in 100: the minimum thumb, at the top
      {100, 17, 16, 0, 99, 10, 90, 16, 50},  // at the last position the thumb ends the track
      {100, 17, 16, 0, 99, 10, 45, 16, 25},  // half way
      {100, 17, 16, 0, 99, 50, 25, 33, 17},  // half the range shows: half the track
      {100, 17, 16, 0, 99, 0, 99, 17, 49},   // page 0: a thumb as long as a button
      {100, 17, 16, 0, 9, 50, 0, 0, 0},      // the page is above the range: no thumb
      {100, 17, 16, 0, 9, 10, 0, 0, 0},      // the page covers the range exactly: no thumb
      {50, 17, 16, 0, 99, 10, 50, 0, 0},     // the thumb would fill the track: no thumb
      {30, 17, 16, 0, 99, 10, 50, 0, 0},     // the bar is shorter than its two buttons
      {34, 17, 16, 0, 99, 10, 50, 0, 0},     // exactly two buttons: no track
      {100, 17, 16, INT_MIN, INT_MAX, 1, INT_MAX, 16, 50},  // the widest range, at its end
      {100, 17, 16, INT_MIN, INT_MAX, 1, 0, 16, 25},        // ... and in its middle
      {100, 17, 16, INT_MIN, INT_MAX, UINT_MAX, 0, 0, 0},   // a page above even that
      {100, 0, 16, 0, 999, 10, 0, 19, 0},  // no buttons and a short thumb: 19 pixels
      {100, 0, 16, 0, 999, 0, 0, 19, 0},   // ... also for page 0
      {100, 17, 16, 5, 5, 1, 5, 0, 0},     // an empty range
      {100, 17, 16, 10, 0, 1, 10, 0, 0},   // max below min
  };
  for (const ThumbCase& c : cases) {
    const TacThumb t = CalcThumb(c.length, c.button, c.minThumb, c.min, c.max, c.page, c.pos);
    EXPECT_EQ(t.Size, c.size) << c.length << " " << c.min << ".." << c.max << " page " << c.page
                              << " pos " << c.pos;
    EXPECT_EQ(t.Offset, c.offset) << c.length << " " << c.min << ".." << c.max << " page " << c.page
                                  << " pos " << c.pos;
  }
}

TEST(ScrollArithmetic, DraggedThumbPositionTable) {
  EXPECT_EQ(ThumbPosition(25, 66, 16, 0, 99, 10), 45);
  EXPECT_EQ(ThumbPosition(50, 66, 16, 0, 99, 10), 90);
  EXPECT_EQ(ThumbPosition(80, 66, 16, 0, 99, 10), 90);  // beyond the track: the last position
  EXPECT_EQ(ThumbPosition(-5, 66, 16, 0, 99, 10), 0);
  EXPECT_EQ(ThumbPosition(0, 16, 16, 3, 99, 10), 3);  // no room to move: the minimum
  EXPECT_EQ(ThumbPosition(10, 66, 16, 0, 9, 50), 0);  // page above the range
  EXPECT_EQ(ThumbPosition(50, 66, 16, INT_MIN, INT_MAX, 1), INT_MAX);
  EXPECT_EQ(ThumbPosition(0, 66, 16, INT_MIN, INT_MAX, 1), INT_MIN);
  EXPECT_EQ(ThumbPosition(49, 66, 17, 0, 99, 0), 99);  // page 0 reaches max
  EXPECT_EQ(LastPosition(0, 99, 10), 90);
  EXPECT_EQ(LastPosition(0, 9, 50), 0);
  EXPECT_EQ(LastPosition(INT_MIN, INT_MAX, 0), INT_MAX);
}

TEST(ScrollArithmetic, PartsUnderPoints) {
  // A 100-pixel bar, 17 thick, with 17-pixel buttons and a thumb from 42 to 58.
  const TacThumb thumb{16, 25};
  struct {
    int along, across;
    bool shift;
    int part;
  } const cases[] = {
      {5, 3, false, HTSCROLL_UP},        {16, 3, false, HTSCROLL_UP},
      {83, 3, false, HTSCROLL_DOWN},     {99, 3, false, HTSCROLL_DOWN},
      {30, 3, false, HTSCROLL_PAGEUP},   {41, 3, false, HTSCROLL_PAGEUP},
      {42, 3, false, HTSCROLL_THUMB},    {57, 3, false, HTSCROLL_THUMB},
      {58, 3, false, HTSCROLL_PAGEDOWN}, {30, 3, true, HTSCROLL_PAGEGO},
      {50, 3, true, HTSCROLL_THUMB},     {50, 17, false, HTSCROLL_NONE},
      {50, -1, false, HTSCROLL_NONE},    {100, 3, false, HTSCROLL_NONE},
  };
  for (const auto& c : cases)
    EXPECT_EQ(ScrollPortion(c.along, c.across, 100, 17, 17, thumb, c.shift), c.part)
        << c.along << "," << c.across << (c.shift ? " shift" : "");
  // No thumb: the track is nothing.
  EXPECT_EQ(ScrollPortion(50, 3, 100, 17, 17, TacThumb{}, false), HTSCROLL_NONE);
  // A bar shorter than two buttons: two half-length buttons.
  EXPECT_EQ(ScrollPortion(14, 3, 30, 17, 17, TacThumb{}, false), HTSCROLL_UP);
  EXPECT_EQ(ScrollPortion(15, 3, 30, 17, 17, TacThumb{}, false), HTSCROLL_DOWN);
}

// The plain formulas in 128 bits, rounding halves away from zero.
using i128 = __int128;
i128 Round(i128 num, i128 den) {
  const i128 half = den / 2;
  return (num >= 0 ? num + half : num - half) / den;
}

TacThumb ReferenceThumb(int length, int button, int minThumb, int min, int max, unsigned page,
                        int pos) {
  const i128 track = i128(length) - 2 * i128(button);
  if (track <= 0) return {};
  const i128 range = i128(max) > i128(min) ? i128(max) - min : 0;
  i128 size =
      page == 0 ? (button > minThumb ? button : minThumb) : Round(i128(page) * track, range + 1);
  if (button != 0 || size > 18)
    size = size > minThumb ? size : minThumb;
  else
    size = 19;
  if (size >= track) return {};
  const i128 room = track - size;
  const i128 scrollable = range - (page > 1 ? i128(page) : 1) + 1;
  i128 offset = scrollable > 0 ? Round((i128(pos) - min) * room, scrollable) : 0;
  if (offset < 0) offset = 0;
  if (offset > room) offset = room;
  return {int(size), int(offset)};
}

TEST(ScrollArithmetic, RandomBarsAgreeWithTheReference) {
  std::mt19937_64 rng(20261209);
  const bool verbose = std::getenv("MC_VERBOSE") != nullptr;
  auto pick = [&](std::int64_t lo, std::int64_t hi) {
    return std::uniform_int_distribution<std::int64_t>(lo, hi)(rng);
  };
  auto anyInt = [&]() -> int {
    switch (pick(0, 3)) {
      case 0:
        return int(pick(-100, 100));
      case 1:
        return int(pick(-100000, 100000));
      case 2:
        return pick(0, 1) ? INT_MAX - int(pick(0, 5)) : INT_MIN + int(pick(0, 5));
      default:
        return int(pick(INT_MIN, INT_MAX));
    }
  };
  for (int i = 0; i < 200000; ++i) {
    const int length = int(pick(0, 400)), button = int(pick(0, 40));
    const int minThumb = int(pick(0, 2)) * 8;
    int min = anyInt(), max = anyInt();
    if (pick(0, 4) && min > max) std::swap(min, max);
    unsigned page;
    switch (pick(0, 3)) {
      case 0:
        page = 0;
        break;
      case 1:
        page = unsigned(pick(1, 50));
        break;
      case 2:
        page = unsigned(pick(0, UINT_MAX));
        break;
      default:
        page =
            unsigned(std::clamp<std::int64_t>(std::int64_t(max) - min + pick(-2, 2), 0, UINT_MAX));
    }
    const int last = LastPosition(min, max, page);
    const int pos = min <= last ? int(pick(min, last)) : min;
    const TacThumb got = CalcThumb(length, button, minThumb, min, max, page, pos);
    const TacThumb want = ReferenceThumb(length, button, minThumb, min, max, page, pos);
    if (verbose)
      std::printf("length %d button %d min %d max %d page %u pos %d: %d %d\n", length, button, min,
                  max, page, pos, got.Size, got.Offset);
    ASSERT_EQ(got.Size, want.Size) << "length " << length << " button " << button << " min " << min
                                   << " max " << max << " page " << page << " pos " << pos;
    ASSERT_EQ(got.Offset, want.Offset)
        << "length " << length << " button " << button << " min " << min << " max " << max
        << " page " << page << " pos " << pos;
    if (got.Size == 0) continue;
    // The thumb lies in the track, and dragging it where it is gives back a position whose
    // thumb is there too.
    const int track = length - 2 * button;
    ASSERT_LE(got.Offset + got.Size, track);
    const int back = ThumbPosition(got.Offset, track, got.Size, min, max, page);
    ASSERT_GE(back, min);
    ASSERT_LE(back, last);
    ASSERT_EQ(CalcThumb(length, button, minThumb, min, max, page, back).Offset, got.Offset)
        << "length " << length << " min " << min << " max " << max << " page " << page << " pos "
        << pos << " back " << back;
  }
}

}  // namespace
}  // namespace skin::frame
