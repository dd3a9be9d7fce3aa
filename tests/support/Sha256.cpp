#include "Sha256.h"

#include <array>
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <vector>

namespace dravel::test {

namespace {

constexpr std::array<std::uint32_t, 64> kRound = {
    0x428a2f98, 0x71374491, 0xb5c0fbcf, 0xe9b5dba5, 0x3956c25b, 0x59f111f1, 0x923f82a4, 0xab1c5ed5,
    0xd807aa98, 0x12835b01, 0x243185be, 0x550c7dc3, 0x72be5d74, 0x80deb1fe, 0x9bdc06a7, 0xc19bf174,
    0xe49b69c1, 0xefbe4786, 0x0fc19dc6, 0x240ca1cc, 0x2de92c6f, 0x4a7484aa, 0x5cb0a9dc, 0x76f988da,
    0x983e5152, 0xa831c66d, 0xb00327c8, 0xbf597fc7, 0xc6e00bf3, 0xd5a79147, 0x06ca6351, 0x14292967,
    0x27b70a85, 0x2e1b2138, 0x4d2c6dfc, 0x53380d13, 0x650a7354, 0x766a0abb, 0x81c2c92e, 0x92722c85,
    0xa2bfe8a1, 0xa81a664b, 0xc24b8b70, 0xc76c51a3, 0xd192e819, 0xd6990624, 0xf40e3585, 0x106aa070,
    0x19a4c116, 0x1e376c08, 0x2748774c, 0x34b0bcb5, 0x391c0cb3, 0x4ed8aa4a, 0x5b9cca4f, 0x682e6ff3,
    0x748f82ee, 0x78a5636f, 0x84c87814, 0x8cc70208, 0x90befffa, 0xa4506ceb, 0xbef9a3f7, 0xc67178f2};

std::uint32_t rotr(std::uint32_t x, int n) { return (x >> n) | (x << (32 - n)); }

class Sha256 {
 public:
  void update(std::span<const std::byte> bytes) {
    for (const std::byte b : bytes) {
      m_block[m_fill++] = static_cast<std::uint8_t>(b);
      if (m_fill == 64) compress();
    }
    m_length += bytes.size();
  }

  std::string hex() {
    const std::uint64_t bits = m_length * 8;
    m_block[m_fill++] = 0x80;
    if (m_fill > 56) {
      while (m_fill < 64) m_block[m_fill++] = 0;
      compress();
    }
    while (m_fill < 56) m_block[m_fill++] = 0;
    for (int i = 7; i >= 0; --i) m_block[m_fill++] = static_cast<std::uint8_t>(bits >> (8 * i));
    compress();
    std::string out;
    for (const std::uint32_t word : m_state) {
      char text[9];
      std::snprintf(text, sizeof text, "%08x", word);
      out += text;
    }
    return out;
  }

 private:
  void compress() {
    std::array<std::uint32_t, 64> w{};
    for (std::size_t i = 0; i < 16; ++i) {
      w[i] = std::uint32_t{m_block[4 * i]} << 24 | std::uint32_t{m_block[4 * i + 1]} << 16 |
             std::uint32_t{m_block[4 * i + 2]} << 8 | std::uint32_t{m_block[4 * i + 3]};
    }
    for (std::size_t i = 16; i < 64; ++i) {
      const std::uint32_t s0 = rotr(w[i - 15], 7) ^ rotr(w[i - 15], 18) ^ (w[i - 15] >> 3);
      const std::uint32_t s1 = rotr(w[i - 2], 17) ^ rotr(w[i - 2], 19) ^ (w[i - 2] >> 10);
      w[i] = w[i - 16] + s0 + w[i - 7] + s1;
    }
    auto [a, b, c, d, e, f, g, h] = m_state;
    for (std::size_t i = 0; i < 64; ++i) {
      const std::uint32_t t1 = h + (rotr(e, 6) ^ rotr(e, 11) ^ rotr(e, 25)) + ((e & f) ^ (~e & g)) + kRound[i] + w[i];
      const std::uint32_t t2 = (rotr(a, 2) ^ rotr(a, 13) ^ rotr(a, 22)) + ((a & b) ^ (a & c) ^ (b & c));
      h = g;
      g = f;
      f = e;
      e = d + t1;
      d = c;
      c = b;
      b = a;
      a = t1 + t2;
    }
    const std::array<std::uint32_t, 8> add{a, b, c, d, e, f, g, h};
    for (std::size_t i = 0; i < 8; ++i) m_state[i] += add[i];
    m_fill = 0;
  }

  std::array<std::uint32_t, 8> m_state{0x6a09e667, 0xbb67ae85, 0x3c6ef372, 0xa54ff53a,
                                       0x510e527f, 0x9b05688c, 0x1f83d9ab, 0x5be0cd19};
  std::array<std::uint8_t, 64> m_block{};
  std::size_t m_fill = 0;
  std::uint64_t m_length = 0;
};

}  // namespace

std::string sha256Hex(std::span<const std::byte> bytes) {
  Sha256 hash;
  hash.update(bytes);
  return hash.hex();
}

std::optional<std::string> sha256OfFile(const std::filesystem::path& file) {
  std::ifstream in(file, std::ios::binary);
  if (!in) return std::nullopt;
  Sha256 hash;
  std::vector<char> buffer(1 << 16);
  while (in) {
    in.read(buffer.data(), static_cast<std::streamsize>(buffer.size()));
    const auto got = static_cast<std::size_t>(in.gcount());
    hash.update(std::as_bytes(std::span<const char>(buffer.data(), got)));
  }
  if (in.bad()) return std::nullopt;
  return hash.hex();
}

}  // namespace dravel::test
