#include "NtfsSearch.h"

namespace dravel::basic {

std::unique_ptr<BasicSearch> makeNtfsSearch(const ScanInput& /*input*/, SourceFactory /*sources*/) { return nullptr; }

}  // namespace dravel::basic
