// The RC4 stream cipher, which Jet lays over a region of the database definition page.
#pragma once

#include <cstdint>
#include <span>

namespace jet {

// XORs `data` with the RC4 key stream of `key`; applying it twice restores the data.
void Rc4Apply(std::span<const std::uint8_t> key, std::span<std::uint8_t> data);

}  // namespace jet
