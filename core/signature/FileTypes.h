#pragma once
// The plain-language type of a file, from its extension: the "Type" column of
// the content lists.

#include <string>
#include <string_view>

namespace dravel::signature {

// `extension` as an extension finder returns it: from the last dot of the
// name's last component, dot included, or empty.
[[nodiscard]] std::string fileTypeDescription(std::string_view extension, std::string_view fileName);

}  // namespace dravel::signature
