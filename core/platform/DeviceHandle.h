#pragma once
// An open, read-only view of the bytes a device path names: a whole disk, or
// the slice of a disk that is one volume. Reads are clamped to the slice, so
// a volume inside an image never reads its neighbour.

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "Devices.h"
#include "ReadOnlyFile.h"

namespace dravel::platform {

class DeviceNamespace;

class DeviceHandle {
 public:
  // errno-style reason when the path is unknown (ENODEV) or the open failed.
  struct OpenError {
    int error = 0;
    std::string message;  // "\\.\PhysicalDrive3: no such device"
  };

  // Resolves the path in the process-wide namespace, or in `devices`.
  static std::optional<DeviceHandle> open(std::string_view devicePath, OpenError* why = nullptr);
  static std::optional<DeviceHandle> open(std::string_view devicePath, const DeviceNamespace& devices,
                                          OpenError* why = nullptr);
  static std::optional<DeviceHandle> open(const DeviceTarget& target, OpenError* why = nullptr);

  // Reads from byte `offset` of the device. A read that reaches the end
  // transfers what is there (bytes < buffer size); one that starts at or past
  // the end transfers nothing.
  ReadResult read(std::uint64_t offset, std::span<std::byte> buffer) const;

  // Length of the device in bytes.
  [[nodiscard]] std::uint64_t length() const { return m_length; }

 private:
  DeviceHandle(ReadOnlyFile file, std::uint64_t base, std::uint64_t length)
      : m_file(std::move(file)), m_base(base), m_length(length) {}
  ReadOnlyFile m_file;
  std::uint64_t m_base = 0;
  std::uint64_t m_length = 0;
};

}  // namespace dravel::platform
