#include "VolumeProbe.h"

#include <vector>

#include "SystemPartitionTable.h"
#include "common/Text.h"
#include "ondisk/BootSector.h"
#include "ondisk/MftRecord.h"

namespace dravel::platform {

using namespace dravel::ondisk;

namespace {

bool readSector(const DeviceHandle& volume, std::uint64_t sector, SectorBuffer& out) {
  const auto r = volume.read(sector * kSectorSize, out);
  return r.ok() && r.bytes == out.size();
}

// Labels are stored in an OEM code page; keep ASCII and mark the rest.
std::string labelText(std::string_view raw) {
  std::string out;
  for (char c : raw) {
    const auto u = static_cast<unsigned char>(c);
    out.push_back(u >= 0x20 && u < 0x7F ? c : '_');
  }
  out = trim(out);
  return out == "NO NAME" ? std::string{} : out;
}

std::optional<std::uint64_t> fatFreeClusters(const DeviceHandle& volume, const FatBootSector& b,
                                             std::uint64_t clusterCount) {
  if (b.isFat32Layout) {
    SectorBuffer info{};
    if (b.fsInfoSector == 0 || !readSector(volume, b.fsInfoSector, info)) return std::nullopt;
    const ByteView v(info);
    if (v.u32le(0) != 0x41615252u || v.u32le(484) != 0x61417272u) return std::nullopt;
    const std::uint32_t free = *v.u32le(488);
    if (free > clusterCount) return std::nullopt;  // 0xFFFFFFFF: not known
    return free;
  }
  // FAT12 entries straddle bytes; only FAT16 is counted.
  if (clusterCount < 4085 || clusterCount > 65524) return std::nullopt;
  const std::uint64_t fatBytes = (clusterCount + 2) * 2;
  std::vector<std::byte> fat((fatBytes + kSectorSize - 1) / kSectorSize * kSectorSize);
  const auto r = volume.read(static_cast<std::uint64_t>(b.reservedSectors) * kSectorSize, fat);
  if (!r.ok() || r.bytes < fatBytes) return std::nullopt;
  const ByteView v(fat);
  std::uint64_t free = 0;
  for (std::uint64_t c = 2; c < clusterCount + 2; ++c) {
    if (*v.u16le(static_cast<std::size_t>(c * 2)) == 0) ++free;
  }
  return free;
}

std::optional<VolumeProbe> probeFat(const DeviceHandle& volume, ByteView sector) {
  const auto b = parseFatBootSector(sector);
  if (!b || b->bytesPerSector != kSectorSize) return std::nullopt;
  VolumeProbe p;
  p.fileSystemName = b->isFat32Layout ? "FAT32" : "FAT";
  if (b->extendedSignature == 0x28 || b->extendedSignature == 0x29) {
    p.serialNumber = b->volumeId;
    if (b->extendedSignature == 0x29) p.label = labelText(b->volumeLabel);
  }
  const std::uint64_t rootSectors = (static_cast<std::uint64_t>(b->rootEntries) * 32 + kSectorSize - 1) / kSectorSize;
  const std::uint64_t meta = b->reservedSectors + static_cast<std::uint64_t>(b->fatCount) * b->sectorsPerFat() + rootSectors;
  if (b->totalSectors() > meta) {
    const std::uint64_t clusters = (b->totalSectors() - meta) / b->sectorsPerCluster;
    VolumeSpace space;
    space.totalBytes = clusters * b->sectorsPerCluster * kSectorSize;
    if (const auto free = fatFreeClusters(volume, *b, clusters)) {
      space.freeBytes = *free * b->sectorsPerCluster * kSectorSize;
    }
    p.space = space;
  }
  return p;
}

std::string ntfsLabel(const DeviceHandle& volume, const NtfsBootSector& b, std::uint32_t sectorsPerCluster) {
  constexpr std::uint64_t kVolumeRecord = 3;
  const std::uint64_t clusterBytes = static_cast<std::uint64_t>(sectorsPerCluster) * kSectorSize;
  const std::uint64_t recordBytes =
      static_cast<std::uint64_t>(ntfsUnitSectors(b.clustersPerFileRecord, sectorsPerCluster)) * kSectorSize;
  if (recordBytes < kSectorSize || recordBytes > 65536) return {};
  if (b.mftCluster > volume.length() / clusterBytes) return {};
  std::vector<std::byte> record(static_cast<std::size_t>(recordBytes));
  const std::uint64_t at = b.mftCluster * clusterBytes + kVolumeRecord * recordBytes;
  const auto r = volume.read(at, record);
  if (!r.ok() || r.bytes != record.size() || !applyFixup(record)) return {};
  for (const auto& attr : attributes(ByteView(record))) {
    if (attr.type == kAttrVolumeName && attr.resident) return utf16leToUtf8(*attr.resident, false);
  }
  return {};
}

std::optional<VolumeProbe> probeNtfs(const DeviceHandle& volume, ByteView sector) {
  const auto b = parseNtfsBootSector(sector);
  const std::uint32_t spc = b ? ntfsSectorsPerCluster(b->sectorsPerCluster) : 0;
  if (!b || b->bytesPerSector != kSectorSize || spc == 0) return std::nullopt;
  VolumeProbe p;
  p.fileSystemName = "NTFS";
  p.serialNumber = static_cast<std::uint32_t>(b->serialNumber);
  p.label = ntfsLabel(volume, *b, spc);
  p.space = VolumeSpace{b->totalSectors / spc * spc * kSectorSize, std::nullopt};
  return p;
}

}  // namespace

std::optional<VolumeProbe> probeVolume(const DeviceHandle& volume) {
  SectorBuffer boot{};
  if (!readSector(volume, 0, boot)) return std::nullopt;
  const ByteView sector(boot);
  if (!hasBootSignature(sector)) return std::nullopt;
  if (sector.matches(kNtfsOemOffset, "NTFS    ")) return probeNtfs(volume, sector);
  if (sector.matches(kNtfsOemOffset, "EXFAT   ")) {
    VolumeProbe p;
    p.fileSystemName = "exFAT";
    p.serialNumber = *sector.u32le(0x64);
    return p;
  }
  if (looksLikeVolumeBootSector(sector)) return probeFat(volume, sector);
  return std::nullopt;
}

}  // namespace dravel::platform
