#include "ReadOnlyFile.h"

#include <cerrno>
#include <climits>
#include <fcntl.h>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace dravel::platform {

ReadOnlyFile::~ReadOnlyFile() {
  if (m_fd >= 0) ::close(m_fd);
}

ReadOnlyFile::ReadOnlyFile(ReadOnlyFile&& other) noexcept : m_fd(other.m_fd), m_openError(other.m_openError) {
  other.m_fd = -1;
}

ReadOnlyFile& ReadOnlyFile::operator=(ReadOnlyFile&& other) noexcept {
  if (this != &other) {
    if (m_fd >= 0) ::close(m_fd);
    m_fd = other.m_fd;
    m_openError = other.m_openError;
    other.m_fd = -1;
  }
  return *this;
}

ReadOnlyFile ReadOnlyFile::open(const std::filesystem::path& path) {
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  return ReadOnlyFile(fd, fd < 0 ? errno : 0);
}

ReadResult ReadOnlyFile::readAt(std::uint64_t offset, std::span<std::byte> buffer) const {
  ReadResult result;
  if (m_fd < 0) {
    result.error = EBADF;
    return result;
  }
  while (result.bytes < buffer.size()) {
    const std::uint64_t position = offset + result.bytes;
    if (position < offset || position > static_cast<std::uint64_t>(LLONG_MAX)) {
      result.error = EINVAL;  // beyond what off_t can address
      return result;
    }
    const ssize_t n = ::pread(m_fd, buffer.data() + result.bytes, buffer.size() - result.bytes,
                              static_cast<off_t>(position));
    if (n < 0) {
      if (errno == EINTR) continue;
      result.error = errno;
      return result;
    }
    if (n == 0) break;  // end of file
    result.bytes += static_cast<std::size_t>(n);
  }
  return result;
}

std::optional<std::uint64_t> ReadOnlyFile::size() const {
  if (m_fd < 0) return std::nullopt;
  struct stat st {};
  if (::fstat(m_fd, &st) != 0) return std::nullopt;
  if (S_ISBLK(st.st_mode)) {
    std::uint64_t bytes = 0;
    if (::ioctl(m_fd, BLKGETSIZE64, &bytes) != 0) return std::nullopt;
    return bytes;
  }
  if (S_ISREG(st.st_mode)) return static_cast<std::uint64_t>(st.st_size);
  return std::nullopt;
}

}  // namespace dravel::platform
