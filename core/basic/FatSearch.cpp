#include "FatSearch.h"

namespace dravel::basic {

std::unique_ptr<BasicSearch> makeFatSearch(const ScanInput& /*input*/, SourceFactory /*sources*/) { return nullptr; }

}  // namespace dravel::basic
