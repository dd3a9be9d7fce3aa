#pragma once
// Basic Search on FAT16 and FAT32.

#include <memory>

#include "BasicSearch.h"

namespace dravel::basic {

[[nodiscard]] std::unique_ptr<BasicSearch> makeFatSearch(const ScanInput& input, SourceFactory sources);

}  // namespace dravel::basic
