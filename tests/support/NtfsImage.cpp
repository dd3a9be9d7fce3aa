#include "NtfsImage.h"

#include <stdexcept>

namespace dravel::test {

namespace {

constexpr std::size_t kRecordSize = 1024;
constexpr std::size_t kUsaOffset = 0x30;
constexpr std::size_t kFirstAttribute = 0x38;
constexpr std::uint16_t kUsn = 0x0007;

void putLe(std::vector<std::uint8_t>& b, std::size_t offset, std::uint64_t value, std::size_t bytes) {
  if (b.size() < offset + bytes) b.resize(offset + bytes);
  for (std::size_t i = 0; i < bytes; ++i) b[offset + i] = static_cast<std::uint8_t>(value >> (8 * i));
}

void putName(std::vector<std::uint8_t>& b, std::size_t offset, std::u16string_view name) {
  for (std::size_t i = 0; i < name.size(); ++i) putLe(b, offset + 2 * i, name[i], 2);
}

std::size_t align8(std::size_t n) { return (n + 7) / 8 * 8; }

std::vector<std::uint8_t> residentAttribute(std::uint32_t type, std::u16string_view name,
                                            const std::vector<std::uint8_t>& value, std::uint16_t id) {
  std::vector<std::uint8_t> a(24);
  const std::size_t nameOffset = 24;
  const std::size_t valueOffset = align8(nameOffset + name.size() * 2);
  putLe(a, 0, type, 4);
  putLe(a, 8, 0, 1);
  putLe(a, 9, name.size(), 1);
  putLe(a, 10, nameOffset, 2);
  putLe(a, 14, id, 2);
  putLe(a, 16, value.size(), 4);
  putLe(a, 20, valueOffset, 2);
  putName(a, nameOffset, name);
  a.resize(valueOffset);
  a.insert(a.end(), value.begin(), value.end());
  a.resize(align8(a.size()));
  putLe(a, 4, a.size(), 4);
  return a;
}

}  // namespace

MftRecordBuilder& MftRecordBuilder::baseRecord(std::uint64_t record) {
  m_base = record;
  return *this;
}

void MftRecordBuilder::append(const std::vector<std::uint8_t>& attribute) {
  m_attributes.insert(m_attributes.end(), attribute.begin(), attribute.end());
  ++m_nextId;
}

MftRecordBuilder& MftRecordBuilder::fileName(const FileNameFields& fields) {
  std::vector<std::uint8_t> value(66);
  putLe(value, 0, fields.parent | (std::uint64_t{fields.sequence} << 48), 8);
  for (std::size_t t = 8; t < 40; t += 8) putLe(value, t, fields.creationTime, 8);
  putLe(value, 64, fields.declaredLength.value_or(static_cast<std::uint8_t>(fields.name.size())), 1);
  putLe(value, 65, fields.nameSpace, 1);
  putName(value, 66, fields.name);
  append(residentAttribute(0x30, {}, value, m_nextId));
  return *this;
}

MftRecordBuilder& MftRecordBuilder::fileName(std::uint32_t parent, std::u16string name, std::uint8_t nameSpace) {
  FileNameFields fields;
  fields.parent = parent;
  fields.name = std::move(name);
  fields.nameSpace = nameSpace;
  return fileName(fields);
}

MftRecordBuilder& MftRecordBuilder::residentData(std::size_t length, std::u16string_view streamName) {
  append(residentAttribute(0x80, streamName, std::vector<std::uint8_t>(length, 'x'), m_nextId));
  return *this;
}

MftRecordBuilder& MftRecordBuilder::nonResidentData(std::uint64_t realSize, const std::vector<std::uint8_t>& pairs,
                                                    std::u16string_view streamName, std::uint64_t startingVcn) {
  std::vector<std::uint8_t> a(64);
  const std::size_t pairsOffset = align8(64 + streamName.size() * 2);
  putLe(a, 0, 0x80, 4);
  putLe(a, 8, 1, 1);
  putLe(a, 9, streamName.size(), 1);
  putLe(a, 10, 64, 2);
  putLe(a, 14, m_nextId, 2);
  putLe(a, 16, startingVcn, 8);
  putLe(a, 32, pairsOffset, 2);
  putLe(a, 40, (realSize + 4095) / 4096 * 4096, 8);
  putLe(a, 48, realSize, 8);
  putLe(a, 56, realSize, 8);
  putName(a, 64, streamName);
  a.resize(pairsOffset);
  a.insert(a.end(), pairs.begin(), pairs.end());
  a.push_back(0);
  a.resize(align8(a.size()));
  putLe(a, 4, a.size(), 4);
  append(a);
  return *this;
}

MftRecordBuilder& MftRecordBuilder::attributeList(const std::vector<ListEntry>& entries) {
  std::vector<std::uint8_t> value;
  for (std::size_t i = 0; i < entries.size(); ++i) {
    const std::size_t e = i * 32;
    putLe(value, e, entries[i].type, 4);
    putLe(value, e + 4, 32, 2);
    putLe(value, e + 6, 0, 1);
    putLe(value, e + 7, 26, 1);
    putLe(value, e + 16, entries[i].record | (std::uint64_t{1} << 48), 8);
    putLe(value, e + 24, i, 2);
    putLe(value, e + 31, 0, 1);
  }
  append(residentAttribute(0x20, {}, value, m_nextId));
  return *this;
}

MftRecordBuilder& MftRecordBuilder::raw(const std::vector<std::uint8_t>& attribute) {
  append(attribute);
  return *this;
}

std::vector<std::byte> MftRecordBuilder::build() const {
  std::vector<std::uint8_t> r(kRecordSize);
  putLe(r, 0, 0x454C4946, 4);  // "FILE"
  putLe(r, 4, kUsaOffset, 2);
  putLe(r, 6, 3, 2);
  putLe(r, 0x10, 1, 2);
  putLe(r, 0x12, 1, 2);
  putLe(r, 0x14, kFirstAttribute, 2);
  putLe(r, 0x16, m_flags, 2);
  const std::size_t end = kFirstAttribute + m_attributes.size();
  if (end + 8 > kRecordSize) throw std::length_error("MftRecordBuilder: attributes overflow the record");
  std::copy(m_attributes.begin(), m_attributes.end(), r.begin() + static_cast<std::ptrdiff_t>(kFirstAttribute));
  putLe(r, end, 0xFFFFFFFF, 4);
  putLe(r, 0x18, end + 8, 4);
  putLe(r, 0x1C, kRecordSize, 4);
  putLe(r, 0x20, m_base, 8);
  putLe(r, kUsaOffset, kUsn, 2);
  for (std::size_t i = 1; i <= 2; ++i) {
    const std::size_t tail = i * 512 - 2;
    r[kUsaOffset + 2 * i] = r[tail];
    r[kUsaOffset + 2 * i + 1] = r[tail + 1];
    putLe(r, tail, kUsn, 2);
  }
  std::vector<std::byte> out(kRecordSize);
  for (std::size_t i = 0; i < kRecordSize; ++i) out[i] = static_cast<std::byte>(r[i]);
  return out;
}

std::vector<std::uint8_t> encodeRuns(const std::vector<std::pair<std::optional<std::int64_t>, std::uint64_t>>& runs) {
  std::vector<std::uint8_t> out;
  std::int64_t previous = 0;
  for (const auto& [start, count] : runs) {
    std::size_t lengthSize = 1;
    while (lengthSize < 8 && (count >> (8 * lengthSize)) != 0) ++lengthSize;
    std::size_t offsetSize = 0;
    std::int64_t delta = 0;
    if (start) {
      delta = *start - previous;
      previous = *start;
      offsetSize = 1;
      // Smallest signed field that holds delta.
      while (offsetSize < 8 && (delta < -(std::int64_t{1} << (8 * offsetSize - 1)) ||
                                delta >= (std::int64_t{1} << (8 * offsetSize - 1)))) {
        ++offsetSize;
      }
    }
    out.push_back(static_cast<std::uint8_t>(lengthSize | (offsetSize << 4)));
    for (std::size_t i = 0; i < lengthSize; ++i) out.push_back(static_cast<std::uint8_t>(count >> (8 * i)));
    for (std::size_t i = 0; i < offsetSize; ++i) {
      out.push_back(static_cast<std::uint8_t>(static_cast<std::uint64_t>(delta) >> (8 * i)));
    }
  }
  return out;
}

NtfsVolume::NtfsVolume(DiskBuilder& disk, NtfsVolumeLayout layout) : m_disk(disk), m_layout(std::move(layout)) {
  NtfsLayout boot;
  boot.sectorsPerCluster = m_layout.sectorsPerCluster;
  boot.totalSectors = m_layout.sectors - 1;
  boot.mftCluster = static_cast<std::uint64_t>(m_layout.mftRuns.front().first.value_or(0));
  boot.mftMirrorCluster = m_layout.mirrorCluster;
  m_disk.ntfs(m_layout.firstSector, boot);
  std::uint64_t clusters = 0;
  for (const auto& run : m_layout.mftRuns) clusters += run.second;
  const std::uint64_t bytes = clusters * m_layout.sectorsPerCluster * 512;
  put(0, MftRecordBuilder(1).fileName(5, u"$MFT").nonResidentData(bytes, mftPairs()));
  put(5, MftRecordBuilder(3).fileName(5, u".", 3));
}

std::vector<std::uint8_t> NtfsVolume::mftPairs() const { return encodeRuns(m_layout.mftRuns); }

std::uint64_t NtfsVolume::mftSector() const { return recordSector(0); }

std::uint64_t NtfsVolume::sectorAt(std::uint64_t mftSector) const {
  for (const auto& [start, count] : m_layout.mftRuns) {
    const std::uint64_t sectors = count * m_layout.sectorsPerCluster;
    if (mftSector < sectors) {
      if (!start) throw std::invalid_argument("NtfsVolume: record in a sparse run");
      return m_layout.firstSector + static_cast<std::uint64_t>(*start) * m_layout.sectorsPerCluster + mftSector;
    }
    mftSector -= sectors;
  }
  throw std::out_of_range("NtfsVolume: record past the MFT");
}

std::uint64_t NtfsVolume::recordSector(std::uint64_t index) const { return sectorAt(index * 2); }

void NtfsVolume::put(std::uint64_t index, const MftRecordBuilder& record) { putBytes(index, record.build()); }

void NtfsVolume::putBytes(std::uint64_t index, const std::vector<std::byte>& record) {
  // Sector by sector: a record may straddle two runs.
  for (std::uint64_t half = 0; half < 2; ++half) {
    const std::uint64_t sector = sectorAt(index * 2 + half);
    for (std::uint64_t i = 0; i < 512; ++i) m_disk.bytes()[sector * 512 + i] = record[half * 512 + i];
  }
}

basic::ScanInput NtfsVolume::input() const {
  basic::ScanInput in;
  in.devicePath = "memory";
  in.fileSystemName = "NTFS";
  in.firstSector = m_layout.firstSector;
  in.endSector = m_layout.firstSector + m_layout.sectors;
  return in;
}

}  // namespace dravel::test
