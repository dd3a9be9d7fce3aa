#pragma once
// Direct block reads for whole-device scans: one descriptor for the whole
// scan, large reads at sector × 512, and a short read at the end of the
// device reported as such.

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "platform/DeviceHandle.h"

namespace dravel::storage {

struct BlockRead {
  std::size_t bytes = 0;  // bytes transferred, a multiple of 512 unless the device ends mid-sector
  int error = 0;          // errno of a failed read
  [[nodiscard]] bool ok() const { return error == 0 && bytes > 0; }
  [[nodiscard]] bool shortRead(std::size_t asked) const { return error == 0 && bytes < asked; }
};

class BlockReader {
 public:
  // nullopt when the path is unknown or the device does not open; `why` says which.
  static std::optional<BlockReader> open(std::string_view devicePath, platform::DeviceHandle::OpenError* why = nullptr);

  // Reads buffer.size() bytes (a multiple of 512) from `sector` on.
  BlockRead read(std::uint64_t sector, std::span<std::byte> buffer) const;

  [[nodiscard]] std::uint64_t sectorCount() const;
  [[nodiscard]] const std::string& devicePath() const { return m_path; }

 private:
  BlockReader(std::string path, platform::DeviceHandle handle) : m_path(std::move(path)), m_handle(std::move(handle)) {}
  std::string m_path;
  platform::DeviceHandle m_handle;
};

}  // namespace dravel::storage
