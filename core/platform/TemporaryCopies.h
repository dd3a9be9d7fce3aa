#pragma once
// The temporary copies made to open recovered files with a desktop program
// carry "TUL" in their names; they are removed when the program exits.

#include <cstddef>
#include <filesystem>

namespace dravel::platform {

// Deletes every regular file directly in folder whose name contains "TUL"
// (case as written). Sub-folders are not entered and symbolic links are left
// alone, whatever they point to. A file that cannot be removed is skipped.
// Returns how many files were removed.
std::size_t removeTemporaryCopies(const std::filesystem::path& folder);

// Where the copies belong: a folder of this user's own below base (the
// temporary folder), "dravel-" followed by the user id. The temporary folder
// is shared by every program and user, so removing "*TUL*" there would take
// other programs' files with it.
[[nodiscard]] std::filesystem::path temporaryCopiesFolder(const std::filesystem::path& base);

// Creates the folder with owner-only access when it is missing. False when it
// cannot be made, or when what is there is not a real folder owned by this
// user (a link or a folder someone else planted): nothing may be written then.
[[nodiscard]] bool prepareTemporaryCopiesFolder(const std::filesystem::path& folder);

}  // namespace dravel::platform
