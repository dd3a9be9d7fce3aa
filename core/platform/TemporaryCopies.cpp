#include "TemporaryCopies.h"

#include <string>

namespace dravel::platform {
namespace {

bool isTemporaryCopy(const std::filesystem::directory_entry& entry) {
  if (entry.path().filename().string().find("TUL") == std::string::npos) return false;
  // symlink_status: a link is never a copy of ours, even when it points to a file.
  std::error_code ec;
  return entry.symlink_status(ec).type() == std::filesystem::file_type::regular && !ec;
}

}  // namespace

std::size_t removeTemporaryCopies(const std::filesystem::path& folder) {
  std::size_t removed = 0;
  std::error_code ec;
  std::filesystem::directory_iterator it(folder, ec);
  if (ec) return 0;
  for (const std::filesystem::directory_iterator end; it != end; it.increment(ec)) {
    if (ec) break;
    if (!isTemporaryCopy(*it)) continue;
    std::error_code removeError;
    if (std::filesystem::remove(it->path(), removeError)) ++removed;
  }
  return removed;
}

}  // namespace dravel::platform
