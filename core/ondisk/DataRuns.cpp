#include "DataRuns.h"

namespace dravel::ondisk {

namespace {

constexpr std::size_t kMappingPairsOffset = 0x20;
constexpr std::size_t kMaxFieldSize = 8;

// A little-endian field of 1 to 8 bytes; `sign` extends its top bit.
std::uint64_t readField(ByteView pairs, std::size_t offset, std::size_t size, bool sign) {
  std::uint64_t value = 0;
  for (std::size_t i = 0; i < size; ++i) value |= static_cast<std::uint64_t>(*pairs.u8(offset + i)) << (8 * i);
  if (sign && size < kMaxFieldSize && (value >> (8 * size - 1)) != 0) value |= ~std::uint64_t{0} << (8 * size);
  return value;
}

}  // namespace

std::vector<DataRun> decodeDataRuns(ByteView pairs) {
  std::vector<DataRun> runs;
  std::int64_t previousStart = 0;
  std::size_t offset = 0;
  while (runs.size() < kMaxDataRuns) {
    const auto header = pairs.u8(offset);
    if (!header || *header == 0) break;
    const std::size_t lengthSize = *header & 0x0Fu;
    const std::size_t offsetSize = *header >> 4;
    if (lengthSize == 0 || lengthSize > kMaxFieldSize || offsetSize > kMaxFieldSize) break;
    if (!pairs.contains(offset + 1, lengthSize + offsetSize)) break;
    DataRun run;
    run.clusterCount = readField(pairs, offset + 1, lengthSize, false);
    if (offsetSize != 0) {
      const auto delta = static_cast<std::int64_t>(readField(pairs, offset + 1 + lengthSize, offsetSize, true));
      std::int64_t start = 0;
      if (__builtin_add_overflow(previousStart, delta, &start)) break;
      run.startCluster = start;
      previousStart = start;
    }
    runs.push_back(run);
    offset += 1 + lengthSize + offsetSize;
  }
  return runs;
}

std::vector<DataRun> attributeDataRuns(ByteView attribute) {
  const auto pairsOffset = attribute.u16le(kMappingPairsOffset);
  if (!pairsOffset || *pairsOffset > attribute.size()) return {};
  return decodeDataRuns(*attribute.sub(*pairsOffset, attribute.size() - *pairsOffset));
}

}  // namespace dravel::ondisk
