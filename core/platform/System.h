#pragma once
// Process-wide facts the platform gives: the temporary folder, the platform
// family the sector reader switches on, the computer name, the program path.

#include <filesystem>
#include <string>
#include <string_view>

namespace dravel::platform {

// 'N' is the only family on Linux. The reader keeps its rule that any other
// family reads nothing, so the value is still a real switch.
inline constexpr char kFamilyNt = 'N';
[[nodiscard]] char platformFamily();
void setPlatformFamily(char family);  // tests only

// $TMPDIR when it is set and not empty, else /tmp.
[[nodiscard]] std::filesystem::path temporaryFolder();

[[nodiscard]] std::string computerName();

// The running program's own path (for the desktop entry's Exec line).
[[nodiscard]] std::filesystem::path programPath();

// The recovery-log path given on the command line: blanks trimmed at both
// ends; when the first or the last character is a double quote, one leading
// and one trailing quote are removed where present.
[[nodiscard]] std::string commandLineLogPath(std::string_view argument);

}  // namespace dravel::platform
