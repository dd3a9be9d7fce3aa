#include "SysfsScanner.h"

#include <algorithm>
#include <array>
#include <fstream>
#include <system_error>

#include "common/Text.h"

namespace dravel::platform {

namespace fs = std::filesystem;

namespace {

std::string readAttribute(const fs::path& file) {
  std::ifstream in(file);
  if (!in) return {};
  std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  return trim(text);
}

std::uint64_t readNumber(const fs::path& file) { return parseUnsigned(readAttribute(file)).value_or(0); }

bool allLetters(std::string_view s) {
  return !s.empty() && std::all_of(s.begin(), s.end(), [](char c) { return c >= 'a' && c <= 'z'; });
}

bool allDigits(std::string_view s) {
  return !s.empty() && std::all_of(s.begin(), s.end(), [](char c) { return c >= '0' && c <= '9'; });
}

// Whole-disk device families, in the order their disks are numbered; -1 for
// anything else (partitions, ram disks, device-mapper, optical drives).
int familyRank(std::string_view name) {
  if (name.starts_with("sd") && allLetters(name.substr(2))) return 0;
  if (name.starts_with("nvme")) {
    const std::string_view rest = name.substr(4);
    const auto n = rest.find('n');
    if (n != std::string_view::npos && allDigits(rest.substr(0, n)) && allDigits(rest.substr(n + 1))) return 1;
  }
  if (name.starts_with("vd") && allLetters(name.substr(2))) return 2;
  if (name.starts_with("mmcblk") && allDigits(name.substr(6))) return 3;
  if (name.starts_with("loop") && allDigits(name.substr(4))) return 4;
  return -1;
}

// The first attribute named `name` found in `dir` or one of its parents below sysRoot.
std::string findUpwards(fs::path dir, const fs::path& sysRoot, const char* name, const char* marker) {
  std::error_code ec;
  const fs::path stop = fs::weakly_canonical(sysRoot, ec);
  for (int depth = 0; depth < 32 && !dir.empty() && dir != stop && dir != dir.root_path(); ++depth) {
    if ((marker == nullptr || fs::exists(dir / marker, ec)) && fs::exists(dir / name, ec)) {
      return readAttribute(dir / name);
    }
    dir = dir.parent_path();
  }
  return {};
}

std::string firstAttribute(const fs::path& dir, std::initializer_list<const char*> names) {
  for (const char* name : names) {
    std::string value = readAttribute(dir / name);
    if (!value.empty()) return value;
  }
  return {};
}

std::vector<SysfsPartition> scanPartitions(const fs::path& diskDir) {
  std::vector<SysfsPartition> out;
  std::error_code ec;
  for (const auto& entry : fs::directory_iterator(diskDir, ec)) {
    if (!fs::exists(entry.path() / "partition", ec)) continue;
    SysfsPartition p;
    p.name = entry.path().filename().string();
    p.number = static_cast<int>(readNumber(entry.path() / "partition"));
    p.firstSector = readNumber(entry.path() / "start");
    p.sectorCount = readNumber(entry.path() / "size");
    p.devNumbers = readAttribute(entry.path() / "dev");
    out.push_back(p);
  }
  std::sort(out.begin(), out.end(), [](const auto& a, const auto& b) { return a.number < b.number; });
  return out;
}

DiskDevice describeDisk(const fs::path& sysRoot, const fs::path& devRoot, const std::string& name) {
  const fs::path dir = sysRoot / "block" / name;
  std::error_code ec;
  const fs::path canonical = fs::weakly_canonical(dir, ec);
  const fs::path device = dir / "device";
  DiskDevice d;
  d.sysName = name;
  d.node = devRoot / name;
  d.sizeBytes = readNumber(dir / "size") * 512;  // sysfs counts 512-byte units whatever the block size
  d.logicalBlockSize = static_cast<std::uint32_t>(readNumber(dir / "queue" / "logical_block_size"));
  if (d.logicalBlockSize == 0) d.logicalBlockSize = 512;
  d.devNumbers = readAttribute(dir / "dev");
  const bool isLoop = name.starts_with("loop");
  d.bus = isLoop ? BusType::FileBackedVirtual : busFromSysfsPath(canonical.string());
  // Memory cards and attached image files are removable media, whatever the
  // kernel's flag says (a card in a built-in reader reports 0).
  d.removable = readNumber(dir / "removable") == 1 || d.bus == BusType::Sd || isLoop;
  d.vendor = readAttribute(device / "vendor");
  d.product = firstAttribute(device, {"model", "name"});
  d.revision = firstAttribute(device, {"rev", "firmware_rev", "fwrev", "hwrev"});
  d.serial = readAttribute(device / "serial");
  if (d.serial.empty() && d.bus == BusType::Usb) {
    d.serial = findUpwards(canonical, sysRoot, "serial", "idVendor");
  }
  if (isLoop) {
    const fs::path backing = readAttribute(dir / "loop" / "backing_file");
    d.product = backing.filename().string();
  }
  d.kernelPartitions = scanPartitions(dir);
  return d;
}

}  // namespace

BusType busFromSysfsPath(const std::string& path) {
  if (containsText(path, "/usb")) return BusType::Usb;
  if (containsText(path, "/nvme")) return BusType::Nvme;
  if (containsText(path, "/mmc")) return BusType::Sd;
  if (containsText(path, "/ata")) return BusType::Sata;
  if (containsText(path, "/virtio")) return BusType::Unknown;
  if (containsText(path, "/host") && containsText(path, "/target")) return BusType::Scsi;
  return BusType::Unknown;
}

bool naturalLess(const std::string& a, const std::string& b) {
  const int ra = familyRank(a);
  const int rb = familyRank(b);
  if (ra != rb) return ra < rb;
  std::size_t i = 0;
  std::size_t j = 0;
  while (i < a.size() && j < b.size()) {
    const bool da = std::isdigit(static_cast<unsigned char>(a[i])) != 0;
    const bool db = std::isdigit(static_cast<unsigned char>(b[j])) != 0;
    std::size_t ie = i;
    std::size_t je = j;
    while (ie < a.size() && (std::isdigit(static_cast<unsigned char>(a[ie])) != 0) == da) ++ie;
    while (je < b.size() && (std::isdigit(static_cast<unsigned char>(b[je])) != 0) == db) ++je;
    const std::string_view ta(a.data() + i, ie - i);
    const std::string_view tb(b.data() + j, je - j);
    if (da != db) return da;
    if (da) {
      const auto na = ta.find_first_not_of('0');
      const auto nb = tb.find_first_not_of('0');
      const std::string_view sa = na == std::string_view::npos ? std::string_view{} : ta.substr(na);
      const std::string_view sb = nb == std::string_view::npos ? std::string_view{} : tb.substr(nb);
      if (sa.size() != sb.size()) return sa.size() < sb.size();
      if (sa != sb) return sa < sb;
    } else {
      // "sdz" comes before "sdaa": shorter letter runs first, as the kernel names them.
      if (ta.size() != tb.size()) return ta.size() < tb.size();
      if (ta != tb) return ta < tb;
    }
    i = ie;
    j = je;
  }
  return a.size() - i < b.size() - j;
}

std::vector<DiskDevice> scanSysfsDisks(const fs::path& sysRoot, const fs::path& devRoot) {
  std::vector<std::string> names;
  std::error_code ec;
  for (const auto& entry : fs::directory_iterator(sysRoot / "block", ec)) {
    const std::string name = entry.path().filename().string();
    if (familyRank(name) < 0) continue;
    if (name.starts_with("loop") && readAttribute(entry.path() / "loop" / "backing_file").empty()) continue;
    names.push_back(name);
  }
  std::sort(names.begin(), names.end(), naturalLess);
  std::vector<DiskDevice> disks;
  for (const auto& name : names) disks.push_back(describeDisk(sysRoot, devRoot, name));
  return disks;
}

}  // namespace dravel::platform
