#pragma once
// The command-line front end over the engines. Output formats are stable:
// scripts rely on them (see the README).

#include <iosfwd>
#include <string>
#include <vector>

namespace dravel::cli {

inline constexpr int kExitOk = 0;
inline constexpr int kExitFailure = 1;
inline constexpr int kExitUsage = 2;

// Runs one command; `args` excludes the program name.
int run(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

}  // namespace dravel::cli
