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

}  // namespace dravel::platform
