#pragma once
// The command line's view of a Basic Search result: every folder and every
// file, one tab-separated line each (format in the README).

#include <cstdint>
#include <iosfwd>
#include <string>

#include "basic/BasicSearch.h"

namespace dravel::cli {

// A name as one field: tab, newline and backslash escaped.
[[nodiscard]] std::string escapeField(const std::string& name);

// Lists every folder of the result (each one's directory read, as the
// expand pass does) and prints a line per folder and per file.
void printBasicResult(basic::BasicSearch& search, std::ostream& out);

}  // namespace dravel::cli
