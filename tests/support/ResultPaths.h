#pragma once
// Everything a Basic Search shows, by path: every folder of the result tree
// and every row its listing gives, so that a test compares a whole result
// with one lookup per expected entry.

#include <map>
#include <string>

#include "basic/BasicSearch.h"

namespace dravel::test {

// Path below Root, "/" separated ("Docs/Work/a.txt"); a folder's rows come
// from the listing of its parent. A path shown twice appears twice.
using ResultPaths = std::multimap<std::string, results::ContentRow>;

[[nodiscard]] ResultPaths allShown(basic::BasicSearch& search);

// The row at `path`; fails the test when there is none or more than one.
[[nodiscard]] const results::ContentRow* rowAt(const ResultPaths& paths, const std::string& path);

}  // namespace dravel::test
