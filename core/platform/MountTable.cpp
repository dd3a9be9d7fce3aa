#include "MountTable.h"

#include <fstream>
#include <sstream>

namespace dravel::platform {

namespace {

// mountinfo escapes blanks, tabs, newlines and backslashes as \ooo.
std::string unescapeOctal(const std::string& text) {
  std::string out;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\\' && i + 3 < text.size()) {
      const std::string digits = text.substr(i + 1, 3);
      if (digits.find_first_not_of("01234567") == std::string::npos) {
        out.push_back(static_cast<char>(std::stoi(digits, nullptr, 8)));
        i += 3;
        continue;
      }
    }
    out.push_back(text[i]);
  }
  return out;
}

}  // namespace

std::optional<std::filesystem::path> findMountPoint(const std::filesystem::path& mountInfo,
                                                    const std::string& devNumbers) {
  if (devNumbers.empty()) return std::nullopt;
  std::ifstream in(mountInfo);
  std::string line;
  while (std::getline(in, line)) {
    std::istringstream fields(line);
    std::string id, parent, dev, root, mountPoint;
    if (!(fields >> id >> parent >> dev >> root >> mountPoint)) continue;
    if (dev == devNumbers) return std::filesystem::path(unescapeOctal(mountPoint));
  }
  return std::nullopt;
}

}  // namespace dravel::platform
