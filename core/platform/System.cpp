#include "System.h"

#include <atomic>
#include <cstdlib>
#include <unistd.h>

#include "common/Text.h"

namespace dravel::platform {

namespace {
std::atomic<char> g_family{kFamilyNt};
}

char platformFamily() { return g_family.load(); }
void setPlatformFamily(char family) { g_family.store(family); }

std::filesystem::path temporaryFolder() {
  const char* dir = std::getenv("TMPDIR");
  if (dir != nullptr && *dir != '\0') return dir;
  return "/tmp";
}

std::string computerName() {
  char name[256] = {};
  if (::gethostname(name, sizeof name - 1) != 0) return {};
  return name;
}

std::filesystem::path programPath() {
  std::error_code ec;
  auto path = std::filesystem::read_symlink("/proc/self/exe", ec);
  return ec ? std::filesystem::path{} : path;
}

std::string commandLineLogPath(std::string_view argument) {
  std::string_view text = trimView(argument);
  if (!text.empty() && (text.front() == '"' || text.back() == '"')) {
    if (text.front() == '"') text.remove_prefix(1);
    if (!text.empty() && text.back() == '"') text.remove_suffix(1);
  }
  return std::string(text);
}

}  // namespace dravel::platform
