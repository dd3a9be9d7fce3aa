#include "FatSearch.h"

namespace dravel::basic {

std::unique_ptr<BasicSearch> makeFatSearch(const ScanInput& /*input*/) { return nullptr; }

}  // namespace dravel::basic
