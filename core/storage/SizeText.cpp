#include "SizeText.h"

#include "common/Text.h"

namespace dravel::storage {

std::string formatSize(std::uint64_t n) {
  if (n < 1024) return strprintf("%u Byte", static_cast<unsigned>(n));
  constexpr const char* kUnits = "KMGTPEZY";
  constexpr std::uint64_t kMega = 1u << 20;
  int steps = 0;
  for (; steps < 9 && n >= kMega; ++steps) {
    n = n / 1024 + (n % 1024 >= 512 ? 1 : 0);  // (n + 512) / 1024 without overflow
  }
  if (n >= kMega) return "Unknown Size";
  return strprintf("%6.2f %cB", static_cast<double>(n) / 1024.0, kUnits[steps]);
}

}  // namespace dravel::storage
