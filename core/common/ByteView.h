#pragma once
// Bounds-checked little-endian reader over bytes that came from a medium.
// Every on-disk field goes through here: an out-of-range read yields an empty
// optional instead of touching memory past the buffer.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string_view>

namespace dravel {

class ByteView {
 public:
  ByteView() = default;
  explicit ByteView(std::span<const std::byte> bytes) : m_bytes(bytes) {}

  [[nodiscard]] std::size_t size() const { return m_bytes.size(); }
  [[nodiscard]] bool empty() const { return m_bytes.empty(); }
  [[nodiscard]] std::span<const std::byte> bytes() const { return m_bytes; }

  // True when [offset, offset + length) lies inside the view; written so that
  // neither side can overflow.
  [[nodiscard]] bool contains(std::size_t offset, std::size_t length) const {
    return offset <= m_bytes.size() && length <= m_bytes.size() - offset;
  }

  [[nodiscard]] std::optional<ByteView> sub(std::size_t offset, std::size_t length) const {
    if (!contains(offset, length)) return std::nullopt;
    return ByteView(m_bytes.subspan(offset, length));
  }

  [[nodiscard]] std::optional<std::uint8_t> u8(std::size_t offset) const { return read<std::uint8_t>(offset); }
  [[nodiscard]] std::optional<std::uint16_t> u16le(std::size_t offset) const { return read<std::uint16_t>(offset); }
  [[nodiscard]] std::optional<std::uint32_t> u32le(std::size_t offset) const { return read<std::uint32_t>(offset); }
  [[nodiscard]] std::optional<std::uint64_t> u64le(std::size_t offset) const { return read<std::uint64_t>(offset); }
  [[nodiscard]] std::optional<std::int8_t> i8(std::size_t offset) const {
    auto v = u8(offset);
    if (!v) return std::nullopt;
    return static_cast<std::int8_t>(*v);
  }

  // True when the bytes at offset equal the given ASCII text.
  [[nodiscard]] bool matches(std::size_t offset, std::string_view ascii) const {
    if (!contains(offset, ascii.size())) return false;
    for (std::size_t i = 0; i < ascii.size(); ++i) {
      if (m_bytes[offset + i] != static_cast<std::byte>(ascii[i])) return false;
    }
    return true;
  }

  // The bytes at [offset, offset + length) as characters; empty when out of range.
  [[nodiscard]] std::string_view chars(std::size_t offset, std::size_t length) const {
    if (!contains(offset, length)) return {};
    return {reinterpret_cast<const char*>(m_bytes.data() + offset), length};
  }

 private:
  template <typename T>
  [[nodiscard]] std::optional<T> read(std::size_t offset) const {
    if (!contains(offset, sizeof(T))) return std::nullopt;
    T value = 0;
    for (std::size_t i = 0; i < sizeof(T); ++i) {
      value = static_cast<T>(value | static_cast<T>(static_cast<T>(m_bytes[offset + i]) << (8 * i)));
    }
    return value;
  }

  std::span<const std::byte> m_bytes;
};

}  // namespace dravel
