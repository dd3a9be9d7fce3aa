#pragma once
// RAII owner of a read-only descriptor. Sources are only ever opened with
// O_RDONLY: nothing in the system writes to the medium it recovers from.

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <span>
#include <string>

namespace dravel::platform {

struct ReadResult {
  std::size_t bytes = 0;  // bytes transferred; fewer than asked at the end of the file
  int error = 0;          // errno of a failed read, 0 otherwise
  [[nodiscard]] bool ok() const { return error == 0; }
};

class ReadOnlyFile {
 public:
  ReadOnlyFile() = default;
  ~ReadOnlyFile();
  ReadOnlyFile(ReadOnlyFile&& other) noexcept;
  ReadOnlyFile& operator=(ReadOnlyFile&& other) noexcept;
  ReadOnlyFile(const ReadOnlyFile&) = delete;
  ReadOnlyFile& operator=(const ReadOnlyFile&) = delete;

  // Opens with O_RDONLY | O_CLOEXEC; the errno is kept on failure.
  static ReadOnlyFile open(const std::filesystem::path& path);

  [[nodiscard]] bool isOpen() const { return m_fd >= 0; }
  [[nodiscard]] int openError() const { return m_openError; }

  // Reads until the buffer is full, the file ends or an error occurs.
  ReadResult readAt(std::uint64_t offset, std::span<std::byte> buffer) const;

  // Size in bytes of a regular file or block device.
  [[nodiscard]] std::optional<std::uint64_t> size() const;

 private:
  explicit ReadOnlyFile(int fd, int error) : m_fd(fd), m_openError(error) {}
  int m_fd = -1;
  int m_openError = 0;
};

}  // namespace dravel::platform
