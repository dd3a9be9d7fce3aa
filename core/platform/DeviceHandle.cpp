#include "DeviceHandle.h"

#include <cerrno>
#include <cstring>

#include "DeviceNamespace.h"
#include "common/Text.h"

namespace dravel::platform {

std::optional<DeviceHandle> DeviceHandle::open(std::string_view devicePath, OpenError* why) {
  return open(devicePath, *currentDevices(), why);
}

std::optional<DeviceHandle> DeviceHandle::open(std::string_view devicePath, const DeviceNamespace& devices,
                                               OpenError* why) {
  const auto target = devices.resolve(devicePath);
  if (!target) {
    if (why != nullptr) *why = {ENODEV, std::string(devicePath) + ": no such device"};
    return std::nullopt;
  }
  auto handle = open(*target, why);
  if (!handle && why != nullptr) why->message = std::string(devicePath) + " (" + why->message + ")";
  return handle;
}

std::optional<DeviceHandle> DeviceHandle::open(const DeviceTarget& target, OpenError* why) {
  auto file = ReadOnlyFile::open(target.node);
  if (!file.isOpen()) {
    if (why != nullptr) *why = {file.openError(), target.node.string() + ": " + std::strerror(file.openError())};
    return std::nullopt;
  }
  std::uint64_t length = target.length;
  if (const auto size = file.size()) {
    // The node may be shorter than the table says (a truncated image).
    const std::uint64_t available = *size > target.offset ? *size - target.offset : 0;
    length = length == 0 ? available : std::min(length, available);
  }
  return DeviceHandle(std::move(file), target.offset, length);
}

ReadResult DeviceHandle::read(std::uint64_t offset, std::span<std::byte> buffer) const {
  if (offset >= m_length) return ReadResult{0, 0};
  const std::uint64_t room = m_length - offset;
  if (buffer.size() > room) buffer = buffer.first(static_cast<std::size_t>(room));
  if (offset > UINT64_MAX - m_base) return ReadResult{0, EINVAL};
  return m_file.readAt(m_base + offset, buffer);
}

}  // namespace dravel::platform
