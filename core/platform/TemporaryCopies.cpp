#include "TemporaryCopies.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
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

std::filesystem::path temporaryCopiesFolder(const std::filesystem::path& base) {
  return base / ("dravel-" + std::to_string(::getuid()));
}

bool prepareTemporaryCopiesFolder(const std::filesystem::path& folder) {
  if (::mkdir(folder.c_str(), S_IRWXU) != 0 && errno != EEXIST) return false;
  struct stat info {};
  if (::lstat(folder.c_str(), &info) != 0) return false;
  return S_ISDIR(info.st_mode) && info.st_uid == ::getuid() && (info.st_mode & (S_IRWXG | S_IRWXO)) == 0;
}

}  // namespace dravel::platform
