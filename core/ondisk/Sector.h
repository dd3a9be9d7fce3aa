#pragma once
// The unit of every device address: sector numbers count 512-byte sectors from
// the start of the device that a device path names, whatever the medium's own
// logical block size.

#include <array>
#include <cstddef>
#include <cstdint>

namespace dravel {

inline constexpr std::uint32_t kSectorSize = 512;
using SectorBuffer = std::array<std::byte, kSectorSize>;

}  // namespace dravel
