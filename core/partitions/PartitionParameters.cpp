#include "PartitionParameters.h"

#include <bit>
#include <optional>

#include "common/Text.h"
#include "ondisk/BootSector.h"
#include "ondisk/PartitionTableLayout.h"
#include "ondisk/Sector.h"

namespace dravel::partitions {

using namespace dravel::ondisk;

namespace {

using storage::readSector;

using Result = Expected<PartitionRecord, ParamError>;

Unexpected<ParamError> fail(std::string reason, bool noBootSector = false) {
  return Unexpected{ParamError{std::move(reason), noBootSector}};
}

// A boot sector read at `sector` that ends with 0x55 0xAA.
std::optional<SectorBuffer> readBootSector(storage::SectorSource& source, std::uint64_t sector) {
  auto buffer = readSector(source, sector);
  if (!buffer || !hasBootSignature(ByteView(*buffer))) return std::nullopt;
  return buffer;
}

struct FatGeometry {
  std::uint32_t reserved = 0;
  std::uint32_t spf = 0;
  std::uint32_t spc = 0;
};

// The fields every FAT layout needs, checked so that the arithmetic below
// stays inside the partition.
std::optional<std::string> checkFatGeometry(const FatGeometry& g, PartitionRange range, std::uint64_t bootSector) {
  if (!std::has_single_bit(g.spc) || g.spc > 128) {
    return strprintf("sector %llu: %u sectors per cluster is not a power of two up to 128",
                     static_cast<unsigned long long>(bootSector), g.spc);
  }
  if (g.reserved == 0) return strprintf("sector %llu: no reserved sectors", static_cast<unsigned long long>(bootSector));
  if (g.spf == 0) return strprintf("sector %llu: 0 sectors per FAT", static_cast<unsigned long long>(bootSector));
  const std::uint64_t fatsEnd = range.firstSector + g.reserved + 2ull * g.spf;
  if (fatsEnd >= range.endSector) {
    return strprintf("sector %llu: the FATs end at sector %llu, past the partition's end %llu",
                     static_cast<unsigned long long>(bootSector), static_cast<unsigned long long>(fatsEnd),
                     static_cast<unsigned long long>(range.endSector));
  }
  return std::nullopt;
}

// The first byte of the second FAT must be the fixed-disk media byte.
std::optional<std::string> checkSecondFat(storage::SectorSource& source, std::uint64_t secondFat) {
  const auto fat = readSector(source, secondFat);
  if (!fat) return strprintf("sector %llu: the second FAT cannot be read", static_cast<unsigned long long>(secondFat));
  if ((*fat)[0] != std::byte{kFatMediaFixedDisk}) {
    return strprintf("sector %llu: the second FAT begins with 0x%02X, not 0xF8",
                     static_cast<unsigned long long>(secondFat), static_cast<unsigned>((*fat)[0]));
  }
  return std::nullopt;
}

Result fat16Parameters(storage::SectorSource& source, PartitionRange range) {
  const std::uint64_t first = range.firstSector;
  const auto boot = readBootSector(source, first);
  if (!boot) return fail(strprintf("sector %llu: no boot sector (0x55 0xAA missing or unreadable)",
                                   static_cast<unsigned long long>(first)), true);
  const auto b = *parseFatBootSector(ByteView(*boot));
  const FatGeometry g{b.reservedSectors, b.sectorsPerFat16, b.sectorsPerCluster};
  if (auto bad = checkFatGeometry(g, range, first)) return fail(*bad);
  PartitionRecord r;
  r.reserveSecStart = g.reserved;
  r.spf = g.spf;
  r.spc = g.spc;
  r.rootSec = b.rootEntries / 16u;
  r.firstFat = first + g.reserved;
  r.secondFat = r.firstFat + g.spf;
  r.rootStartSec = r.secondFat + g.spf;
  if (auto bad = checkSecondFat(source, r.secondFat)) return fail(*bad);
  const std::uint64_t dataStart = r.rootStartSec + r.rootSec;
  if (dataStart < 2ull * g.spc || dataStart > range.endSector) {
    return fail(strprintf("sector %llu: the data area at sector %llu does not fit the partition",
                          static_cast<unsigned long long>(first), static_cast<unsigned long long>(dataStart)));
  }
  r.cluster0Start = dataStart - 2ull * g.spc;
  return r;
}

std::optional<PartitionRecord> fat32FromBoot(storage::SectorSource& source, const SectorBuffer& boot,
                                             PartitionRange range, std::string& why) {
  const auto b = *parseFatBootSector(ByteView(boot));
  const FatGeometry g{b.reservedSectors, b.sectorsPerFat32, b.sectorsPerCluster};
  if (auto bad = checkFatGeometry(g, range, range.firstSector)) {
    why = *bad;
    return std::nullopt;
  }
  if (b.rootCluster < 2) {
    why = strprintf("sector %llu: root cluster %u", static_cast<unsigned long long>(range.firstSector), b.rootCluster);
    return std::nullopt;
  }
  PartitionRecord r;
  r.reserveSecStart = g.reserved;
  r.spf = g.spf;
  r.spc = g.spc;
  r.rootSec = 0;
  r.rootStartSec = b.rootCluster;
  r.firstFat = range.firstSector + g.reserved;
  r.secondFat = r.firstFat + g.spf;
  if (auto bad = checkSecondFat(source, r.secondFat)) {
    why = *bad;
    return std::nullopt;
  }
  const std::uint64_t dataStart = r.secondFat + g.spf;
  if (dataStart < 2ull * g.spc) {
    why = "the data area starts before cluster 2 could";
    return std::nullopt;
  }
  r.cluster0Start = dataStart - 2ull * g.spc;
  return r;
}

Result fat32Parameters(storage::SectorSource& source, PartitionRange range) {
  const std::uint64_t backupSector = range.firstSector + kFat32BackupBootOffset;
  auto boot = readBootSector(source, range.firstSector);
  const bool usedBackup = !boot;
  if (!boot) boot = readBootSector(source, backupSector);
  if (!boot) {
    return fail(strprintf("sectors %llu and %llu: neither the boot sector nor its backup ends with 0x55 0xAA",
                          static_cast<unsigned long long>(range.firstSector),
                          static_cast<unsigned long long>(backupSector)), true);
  }
  std::string why;
  if (auto r = fat32FromBoot(source, *boot, range, why)) return *r;
  if (!usedBackup) {
    if (const auto backup = readBootSector(source, backupSector)) {
      std::string backupWhy;
      if (auto r = fat32FromBoot(source, *backup, range, backupWhy)) return *r;
      why += "; backup boot sector: " + backupWhy;
    }
  }
  return fail(why);
}

bool beginsWithFile(storage::SectorSource& source, std::uint64_t sector) {
  const auto buffer = readSector(source, sector);
  return buffer && ByteView(*buffer).matches(0, "FILE");
}

// first + cluster × spc when it stays inside the range and its sector begins
// with "FILE"; 0 otherwise.
std::uint64_t locateRecords(storage::SectorSource& source, PartitionRange range, std::uint64_t cluster,
                            std::uint32_t spc) {
  if (cluster > (range.endSector - range.firstSector) / spc) return 0;
  const std::uint64_t sector = range.firstSector + cluster * spc;
  if (sector >= range.endSector) return 0;
  return beginsWithFile(source, sector) ? sector : 0;
}

Result ntfsParameters(storage::SectorSource& source, PartitionRange range) {
  // The backup boot sector is the partition's last sector.
  const std::uint64_t backupSector = range.endSector - 1;
  std::uint64_t bootAt = range.firstSector;
  auto boot = readBootSector(source, bootAt);
  if (!boot) {
    bootAt = backupSector;
    boot = readBootSector(source, bootAt);
  }
  if (!boot) {
    return fail(strprintf("sectors %llu and %llu: neither the boot sector nor its backup ends with 0x55 0xAA",
                          static_cast<unsigned long long>(range.firstSector),
                          static_cast<unsigned long long>(backupSector)), true);
  }
  auto b = *parseNtfsBootSector(ByteView(*boot));
  const std::uint32_t spc = ntfsSectorsPerCluster(b.sectorsPerCluster);
  if (spc == 0) return fail(strprintf("sector %llu: 0 sectors per cluster", static_cast<unsigned long long>(bootAt)));
  PartitionRecord r;
  r.spc = spc;
  r.cluster0Start = range.firstSector;
  r.sectorsPerFileRecord = ntfsUnitSectors(b.clustersPerFileRecord, spc);
  r.sectorsPerIndexBlock = ntfsUnitSectors(b.clustersPerIndexBlock, spc);
  r.mftStart = locateRecords(source, range, b.mftCluster, spc);
  if (r.mftStart == 0) {
    // One more read of the same boot sector: a transient error must not lose the MFT.
    if (const auto again = readBootSector(source, bootAt)) {
      b = *parseNtfsBootSector(ByteView(*again));
      r.mftStart = locateRecords(source, range, b.mftCluster, spc);
    }
  }
  r.mftMirrorStart = locateRecords(source, range, b.mftMirrorCluster, spc);
  if (r.mftStart == 0 && r.mftMirrorStart == 0) {
    return fail(strprintf("sector %llu: neither the MFT (cluster %llu) nor its mirror (cluster %llu) begins with FILE",
                          static_cast<unsigned long long>(bootAt), static_cast<unsigned long long>(b.mftCluster),
                          static_cast<unsigned long long>(b.mftMirrorCluster)));
  }
  return r;
}

}  // namespace

Expected<PartitionRecord, ParamError> calculatePartitionParameters(storage::SectorSource& source,
                                                                   const std::string& fileSystemName,
                                                                   PartitionRange range) {
  if (range.endSector <= range.firstSector) {
    return fail(strprintf("empty range: first sector %llu, end sector %llu",
                          static_cast<unsigned long long>(range.firstSector),
                          static_cast<unsigned long long>(range.endSector)));
  }
  if (fileSystemName == "FAT16") return fat16Parameters(source, range);
  if (fileSystemName == "FAT32") return fat32Parameters(source, range);
  if (fileSystemName == "NTFS") return ntfsParameters(source, range);
  return fail("'" + fileSystemName + "' is not FAT16, FAT32 or NTFS");
}

}  // namespace dravel::partitions
