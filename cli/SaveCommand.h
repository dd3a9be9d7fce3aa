#pragma once
// The command line's save: the paths `basic` prints, found in a finished
// Basic Search and written below a destination folder.

#include <filesystem>
#include <iosfwd>
#include <string>
#include <vector>

#include "basic/BasicSearch.h"
#include "results/SaveJob.h"

namespace dravel::cli {

// "overwrite", "skip" or "rename"; nullopt for anything else.
[[nodiscard]] std::optional<results::ExistsChoice> parseOnExists(const std::string& text);

// Saves the items at `paths` (escaped as `basic` prints them; none: the
// whole result) below `destination`. Throws std::invalid_argument naming
// the first path that names nothing, before anything is written. Prints
// the summary line on `out`, notes and failures on `err`; returns the exit
// code.
int saveItems(basic::BasicSearch& search, const std::filesystem::path& destination,
              const std::vector<std::string>& paths, results::ExistsChoice onExists, std::ostream& out,
              std::ostream& err);

}  // namespace dravel::cli
