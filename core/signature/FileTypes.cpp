#include "FileTypes.h"

namespace dravel::signature {

std::string fileTypeDescription(std::string_view, std::string_view) { return "File"; }

}  // namespace dravel::signature
