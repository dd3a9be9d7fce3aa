#include "DeviceNamespace.h"

#include <cerrno>
#include <cstring>
#include <map>

#include "DevicePath.h"
#include "ReadOnlyFile.h"
#include "SysfsScanner.h"
#include "common/Text.h"

namespace dravel::platform {

namespace fs = std::filesystem;

struct DeviceNamespace::Snapshot {
  std::vector<DiskDevice> disks;  // ascending disk numbers
  std::vector<VolumeDevice> volumes;
  std::map<int, SystemPartitionTable> tables;
  std::vector<std::string> problems;
};

namespace {

DiskDevice describeImage(const fs::path& image, std::vector<std::string>& problems) {
  DiskDevice d;
  d.isImage = true;
  std::error_code ec;
  d.node = fs::absolute(image, ec);
  d.product = image.filename().string();
  d.removable = true;
  d.bus = BusType::FileBackedVirtual;
  const auto file = ReadOnlyFile::open(d.node);
  if (!file.isOpen()) {
    problems.push_back(strprintf("cannot open image %s: %s", image.c_str(), std::strerror(file.openError())));
  } else if (const auto size = file.size()) {
    d.sizeBytes = *size;
  } else {
    problems.push_back(strprintf("cannot use %s as a disk image: not a regular file", image.c_str()));
  }
  return d;
}

SystemPartitionTable readTable(const DiskDevice& disk, std::vector<std::string>& problems) {
  const auto file = ReadOnlyFile::open(disk.node);
  if (!file.isOpen()) {
    // A permission problem is the one a user can act on (run with access to
    // the device); say so for the disks that may be recovered from. An
    // internal disk that cannot be read is not offered anyway.
    const bool denied = file.openError() == EACCES || file.openError() == EPERM;
    if (denied && !disk.isImage && (disk.removable || disk.bus == BusType::Usb)) {
      problems.push_back(strprintf("cannot read %s: %s (its partitions and volumes cannot be examined)",
                                   disk.node.c_str(), std::strerror(file.openError())));
    }
    return {};
  }
  const SectorReadFn read = [&file](std::uint64_t lba, SectorBuffer& out) {
    const auto r = file.readAt(lba * kSectorSize, out);
    return r.ok() && r.bytes == out.size();
  };
  return readSystemPartitionTable(read, disk.sizeBytes / kSectorSize);
}

const SystemPartition* tableEntryAt(const SystemPartitionTable& table, std::uint64_t firstSector) {
  for (const auto& p : table.partitions) {
    if (p.firstSector == firstSector) return &p;
  }
  return nullptr;
}

// Volumes of one disk, before letters are given.
std::vector<VolumeDevice> volumesOf(const DiskDevice& disk, const SystemPartitionTable& table) {
  std::vector<VolumeDevice> out;
  const auto onDiskNode = [&](const SystemPartition& p) {
    VolumeDevice v;
    v.diskNumber = disk.number;
    v.partitionNumber = p.number;
    v.firstSector = p.firstSector;
    v.sectorCount = p.sectorCount;
    v.node = disk.node;
    v.nodeOffset = p.firstSector * kSectorSize;
    v.devNumbers = p.number == 0 ? disk.devNumbers : std::string{};
    v.removable = disk.removable;
    return v;
  };
  if (!disk.isImage && !disk.kernelPartitions.empty()) {
    for (const auto& kp : disk.kernelPartitions) {
      const SystemPartition* entry = tableEntryAt(table, kp.firstSector);
      if (kp.sectorCount <= 2) continue;  // an extended container as the kernel shows it
      if (entry != nullptr && !isVolumeCandidate(*entry)) continue;
      VolumeDevice v;
      v.diskNumber = disk.number;
      v.partitionNumber = kp.number;
      v.firstSector = kp.firstSector;
      v.sectorCount = kp.sectorCount;
      v.node = disk.node.parent_path() / kp.name;
      v.devNumbers = kp.devNumbers;
      v.removable = disk.removable;
      out.push_back(v);
    }
    return out;
  }
  // Images, and block devices whose partitions the kernel did not scan
  // (a loop device without partition scanning): read through the disk node.
  for (const auto& p : table.partitions) {
    if (isVolumeCandidate(p)) out.push_back(onDiskNode(p));
  }
  return out;
}

}  // namespace

DeviceNamespace::DeviceNamespace(DeviceOptions options) : m_options(std::move(options)) { rescan(); }

void DeviceNamespace::rescan() {
  auto snap = std::make_shared<Snapshot>();
  std::vector<DiskDevice> found;
  if (!m_options.imagesOnly) found = scanSysfsDisks(m_options.sysRoot, m_options.devRoot);
  for (const auto& image : m_options.images) found.push_back(describeImage(image, snap->problems));
  for (std::size_t i = 0; i < found.size(); ++i) {
    if (i >= static_cast<std::size_t>(kMaxDiskNumbers)) {
      snap->problems.push_back(strprintf("only %d disks are examined: %s is left out", kMaxDiskNumbers,
                                         found[i].node.c_str()));
      continue;
    }
    found[i].number = static_cast<int>(i);
    snap->disks.push_back(found[i]);
  }
  char letter = kFirstVolumeLetter;
  for (const auto& disk : snap->disks) {
    const auto& table = snap->tables[disk.number] = readTable(disk, snap->problems);
    for (auto& v : volumesOf(disk, table)) {
      if (letter > 'Z') break;
      v.letter = letter++;
      snap->volumes.push_back(v);
    }
  }
  std::lock_guard lock(m_mutex);
  m_snapshot = std::move(snap);
}

std::shared_ptr<const DeviceNamespace::Snapshot> DeviceNamespace::snapshot() const {
  std::lock_guard lock(m_mutex);
  return m_snapshot;
}

std::vector<DiskDevice> DeviceNamespace::disks() const { return snapshot()->disks; }

std::optional<DiskDevice> DeviceNamespace::disk(int number) const {
  for (const auto& d : snapshot()->disks) {
    if (d.number == number) return d;
  }
  return std::nullopt;
}

std::vector<VolumeDevice> DeviceNamespace::volumes() const { return snapshot()->volumes; }

std::optional<VolumeDevice> DeviceNamespace::volume(char letter) const {
  for (const auto& v : snapshot()->volumes) {
    if (v.letter == letter) return v;
  }
  return std::nullopt;
}

std::optional<SystemPartitionTable> DeviceNamespace::partitionTable(int diskNumber) const {
  const auto snap = snapshot();
  const auto it = snap->tables.find(diskNumber);
  if (it == snap->tables.end()) return std::nullopt;
  return it->second;
}

std::vector<std::string> DeviceNamespace::problems() const { return snapshot()->problems; }

std::optional<DeviceTarget> DeviceNamespace::resolve(std::string_view devicePath) const {
  const auto parsed = parseDevicePath(devicePath);
  if (!parsed) return std::nullopt;
  if (parsed->kind == DevicePath::Kind::PhysicalDrive) {
    const auto d = disk(parsed->diskNumber);
    if (!d) return std::nullopt;
    return DeviceTarget{d->node, 0, d->sizeBytes};
  }
  const auto v = volume(parsed->letter);
  if (!v) return std::nullopt;
  return DeviceTarget{v->node, v->nodeOffset, v->sectorCount * kSectorSize};
}

namespace {
std::mutex g_currentMutex;
std::shared_ptr<DeviceNamespace> g_current;
}  // namespace

std::shared_ptr<DeviceNamespace> currentDevices() {
  std::lock_guard lock(g_currentMutex);
  if (!g_current) g_current = std::make_shared<DeviceNamespace>();
  return g_current;
}

void setCurrentDevices(std::shared_ptr<DeviceNamespace> devices) {
  std::lock_guard lock(g_currentMutex);
  g_current = std::move(devices);
}

}  // namespace dravel::platform
