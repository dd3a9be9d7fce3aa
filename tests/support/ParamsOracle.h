#pragma once
// Compares `params` output with the layout fsstat reported for the same
// partition, with gtest expectations.

#include <cstdint>
#include <map>
#include <string>

#include "CliRunner.h"
#include "Manifest.h"

namespace dravel::test {

// The name<TAB>value lines of `params` as numbers (the FileSystem line left out).
[[nodiscard]] std::map<std::string, std::uint64_t> paramValues(const CliResult& result);

void expectParametersMatchFsstat(const std::map<std::string, std::uint64_t>& values, const FsstatReport& report);

}  // namespace dravel::test
