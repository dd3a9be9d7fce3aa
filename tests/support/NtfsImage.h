#pragma once
// NTFS file records and volumes built in memory: each test writes the
// records whose handling it checks, attribute by attribute, and places them
// in an MFT laid over whatever cluster runs the test chooses.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "DiskBuilder.h"
#include "basic/BasicSearch.h"

namespace dravel::test {

// 2020-01-02 03:04:05 UTC in 100-ns intervals since 1601.
inline constexpr std::uint64_t kSampleFileTime = 132224078450000000ull;

struct FileNameFields {
  std::uint32_t parent = 5;
  std::u16string name;
  std::uint8_t nameSpace = 1;  // Win32
  std::uint64_t creationTime = kSampleFileTime;
  std::optional<std::uint8_t> declaredLength;  // a length field that lies
  std::uint16_t sequence = 1;                  // of the parent reference
};

struct ListEntry {
  std::uint32_t type = 0x30;
  std::uint64_t record = 0;  // the record holding the attribute
};

// One 1024-byte file record.
class MftRecordBuilder {
 public:
  explicit MftRecordBuilder(std::uint16_t flags = 1) : m_flags(flags) {}

  MftRecordBuilder& baseRecord(std::uint64_t record);
  MftRecordBuilder& fileName(const FileNameFields& fields);
  MftRecordBuilder& fileName(std::uint32_t parent, std::u16string name, std::uint8_t nameSpace = 1);
  MftRecordBuilder& residentData(std::size_t length, std::u16string_view streamName = {});
  MftRecordBuilder& nonResidentData(std::uint64_t realSize, const std::vector<std::uint8_t>& pairs,
                                    std::u16string_view streamName = {}, std::uint64_t startingVcn = 0);
  MftRecordBuilder& attributeList(const std::vector<ListEntry>& entries);
  // Bytes taken as a whole attribute, header included, unchecked.
  MftRecordBuilder& raw(const std::vector<std::uint8_t>& attribute);

  // The record with its update sequence in place: the tails of both
  // sectors hold the sequence number, the array holds what they replaced.
  [[nodiscard]] std::vector<std::byte> build() const;

 private:
  void append(const std::vector<std::uint8_t>& attribute);
  std::uint16_t m_flags;
  std::uint64_t m_base = 0;
  std::uint16_t m_nextId = 0;
  std::vector<std::uint8_t> m_attributes;
};

// Mapping pairs for runs given as absolute (start cluster, count); an empty
// start makes a sparse run. Offsets come out relative and signed.
[[nodiscard]] std::vector<std::uint8_t> encodeRuns(
    const std::vector<std::pair<std::optional<std::int64_t>, std::uint64_t>>& runs);

struct NtfsVolumeLayout {
  std::uint64_t firstSector = 0;
  std::uint64_t sectors = 4096;
  std::uint8_t sectorsPerCluster = 8;
  // The MFT's clusters, in order, as (first cluster or empty for a sparse
  // run, count): record 0 lists them.
  std::vector<std::pair<std::optional<std::int64_t>, std::uint64_t>> mftRuns{{4, 4}};
  std::uint64_t mirrorCluster = 200;
};

// An NTFS volume on a disk: the boot sector, record 0 describing the MFT
// runs, and the root folder (record 5, ".").
class NtfsVolume {
 public:
  NtfsVolume(DiskBuilder& disk, NtfsVolumeLayout layout);

  // Writes record `index` where the MFT runs put it.
  void put(std::uint64_t index, const MftRecordBuilder& record);
  void putBytes(std::uint64_t index, const std::vector<std::byte>& record);
  [[nodiscard]] std::uint64_t recordSector(std::uint64_t index) const;
  [[nodiscard]] std::uint64_t mftSector() const;
  // The mapping pairs record 0 was given.
  [[nodiscard]] std::vector<std::uint8_t> mftPairs() const;

  [[nodiscard]] basic::ScanInput input() const;

 private:
  [[nodiscard]] std::uint64_t sectorAt(std::uint64_t mftSector) const;
  DiskBuilder& m_disk;
  NtfsVolumeLayout m_layout;
};

}  // namespace dravel::test
