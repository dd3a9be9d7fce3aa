#pragma once
// The plain-language type of a file, from its extension: the "Type" column of
// the content lists.

#include <string>
#include <string_view>

namespace dravel::signature {

// `extension` as an extension finder returns it: from the last dot of the
// name's last component, dot included, or empty (extensionOf below).
// `fileName` is the name the extension came from: as in the Windows version a
// few spellings (.ttf, .bmp, .C, .c, .WS, .ws, .sys, .mdbx, .h) are matched
// against the end of the name instead of the extension, which gives the same
// result whenever the extension really is the name's.
// Blanks around the extension are ignored; an empty one gives "File"; a
// spelling the table does not hold gives the extension without its dot,
// upper-cased (ASCII letters only), followed by " File". Spellings compare
// with case: ".Doc" is neither ".DOC" nor ".doc" and gives "DOC File".
[[nodiscard]] std::string fileTypeDescription(std::string_view extension, std::string_view fileName);

// The extension as the platform's extension finder (PathFindExtensionW) gives
// it: the text from the last dot of the last path component ('\' or '/'
// separated), dot included, or empty when there is no dot. A blank after the
// last dot ends the extension search too, so "notes.a b" has none.
[[nodiscard]] std::string extensionOf(std::string_view name);

}  // namespace dravel::signature
