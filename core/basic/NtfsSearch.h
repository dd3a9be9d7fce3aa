#pragma once
// Basic Search on NTFS.

#include <memory>

#include "BasicSearch.h"

namespace dravel::basic {

[[nodiscard]] std::unique_ptr<BasicSearch> makeNtfsSearch(const ScanInput& input, SourceFactory sources);

}  // namespace dravel::basic
