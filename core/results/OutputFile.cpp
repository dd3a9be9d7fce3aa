#include "OutputFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstdio>

#include "common/Text.h"

namespace dravel::results {

UniqueFd& UniqueFd::operator=(UniqueFd&& other) noexcept {
  if (this != &other) {
    reset();
    m_fd = other.release();
  }
  return *this;
}

int UniqueFd::release() { return std::exchange(m_fd, -1); }

int UniqueFd::reset() {
  if (m_fd < 0) return 0;
  // Linux closes the descriptor even when close reports an error: never retry.
  const int result = ::close(std::exchange(m_fd, -1));
  return result == 0 ? 0 : errno;
}

bool isDestinationFull(int error) { return error == ENOSPC || error == EDQUOT; }

namespace {

constexpr int kFolderFlags = O_RDONLY | O_DIRECTORY | O_CLOEXEC;
constexpr int kTempAttempts = 100;

// One component below `parent`, made when missing; never a link.
Expected<UniqueFd, int> openComponent(int parent, const std::string& name) {
  for (int attempt = 0; attempt < 2; ++attempt) {
    const int fd = ::openat(parent, name.c_str(), kFolderFlags | O_NOFOLLOW);
    if (fd >= 0) return UniqueFd(fd);
    if (errno != ENOENT) return Unexpected{errno};
    // Made by someone else between the two calls: open it on the next round.
    if (::mkdirat(parent, name.c_str(), 0777) != 0 && errno != EEXIST) return Unexpected{errno};
  }
  return Unexpected{ENOENT};
}

}  // namespace

Expected<SaveFolders, int> SaveFolders::open(const std::filesystem::path& destination) {
  const int fd = ::open(destination.c_str(), kFolderFlags);
  if (fd < 0) return Unexpected{errno};
  return SaveFolders(UniqueFd(fd));
}

Expected<int, int> SaveFolders::folder(const std::string& relative) {
  if (relative.empty()) return m_root.get();
  if (m_current.valid() && relative == m_currentPath) return m_current.get();
  m_current.reset();
  UniqueFd current;
  std::size_t start = 0;
  while (start <= relative.size()) {
    const std::size_t slash = relative.find('/', start);
    const std::size_t end = slash == std::string::npos ? relative.size() : slash;
    auto next = openComponent(current.valid() ? current.get() : m_root.get(), relative.substr(start, end - start));
    if (!next) return Unexpected{next.error()};
    current = std::move(next.value());
    start = end + 1;
  }
  m_current = std::move(current);
  m_currentPath = relative;
  return m_current.get();
}

bool existsIn(int folderFd, const std::string& name) {
  struct stat info {};
  return ::fstatat(folderFd, name.c_str(), &info, AT_SYMLINK_NOFOLLOW) == 0;
}

Expected<OutputFile, int> OutputFile::create(int folderFd) {
  static std::atomic<std::uint64_t> counter{0};
  for (int attempt = 0; attempt < kTempAttempts; ++attempt) {
    std::string name = strprintf(".dravel-save-%ld-%llu.part", static_cast<long>(::getpid()),
                                 static_cast<unsigned long long>(++counter));
    const int fd = ::openat(folderFd, name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
    if (fd >= 0) return OutputFile(folderFd, std::move(name), UniqueFd(fd));
    if (errno != EEXIST) return Unexpected{errno};
  }
  return Unexpected{EEXIST};
}

OutputFile::~OutputFile() { discard(); }

void OutputFile::discard() {
  m_fd.reset();
  if (!m_tempName.empty()) (void)::unlinkat(m_folder, std::exchange(m_tempName, {}).c_str(), 0);
}

int OutputFile::write(std::span<const std::byte> bytes) {
  if (!m_fd.valid()) return EBADF;
  while (!bytes.empty()) {
    const ssize_t n = ::write(m_fd.get(), bytes.data(), bytes.size());
    if (n < 0) {
      if (errno == EINTR) continue;
      return errno;
    }
    // A write that takes nothing without an error: the device is full.
    if (n == 0) return ENOSPC;
    bytes = bytes.subspan(static_cast<std::size_t>(n));
  }
  return 0;
}

namespace {

// Gives `from` the name `to` unless `to` exists. A file system that knows no
// such rename (some FUSE file systems) gets a check before a plain rename.
int renameNoReplace(int folder, const std::string& from, const std::string& to) {
  if (::renameat2(folder, from.c_str(), folder, to.c_str(), RENAME_NOREPLACE) == 0) return 0;
  if (errno != EINVAL && errno != ENOSYS) return errno;
  if (existsIn(folder, to)) return EEXIST;
  return ::renameat(folder, from.c_str(), folder, to.c_str()) == 0 ? 0 : errno;
}

}  // namespace

int OutputFile::commit(const std::string& name, bool replace) {
  // Some file systems (network, FUSE) report a full disk only when the file
  // is closed.
  if (const int closeError = m_fd.reset(); closeError != 0) {
    discard();
    return closeError;
  }
  const int error = replace ? (::renameat(m_folder, m_tempName.c_str(), m_folder, name.c_str()) == 0 ? 0 : errno)
                            : renameNoReplace(m_folder, m_tempName, name);
  if (error != 0) {
    discard();
    return error;
  }
  m_tempName.clear();
  return 0;
}

}  // namespace dravel::results
