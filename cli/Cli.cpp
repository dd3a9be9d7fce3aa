#include "Cli.h"

#include <algorithm>
#include <filesystem>
#include <map>
#include <memory>
#include <ostream>

#include "BasicListing.h"
#include "SaveCommand.h"
#include "basic/BasicSearch.h"
#include "common/Text.h"
#include "partitions/DriveListing.h"
#include "partitions/FileSystemRecognition.h"
#include "partitions/PartitionParameters.h"
#include "partitions/PartitionWalk.h"
#include "partitions/ScanStart.h"
#include "platform/DeviceNamespace.h"
#include "platform/DeviceOptions.h"
#include "platform/SaveDestination.h"
#include "storage/InfoPanels.h"
#include "storage/MemoryDriveTree.h"
#include "storage/RecoveryMode.h"
#include "storage/SectorSource.h"

namespace dravel::cli {

namespace {

constexpr const char* kUsage =
    "usage: dravel-cli [--image FILE]... [--images-only] [--mode MODE] COMMAND [ARGS]\n"
    "  disks                  print the drive tree\n"
    "  partitions             one line per recorded partition: disk, number, file system, first, end sector\n"
    "  info DISK [PARTITION]  information rows of a disk (0 or Disk0) or of one of its partitions\n"
    "  info LETTER:           information rows of a logical drive\n"
    "  params DISK PARTITION  partition parameters, one name<TAB>value line each\n"
    "  basic DISK PARTITION [--stop-after N]\n"
    "  basic --volume LETTER [--stop-after N]\n"
    "                         Basic Search: every recovered folder and file, one line each:\n"
    "                         kind, deleted, size, date, time, id, path (tab-separated)\n"
    "  save DISK PARTITION DEST [PATH]... [--on-exists overwrite|skip|rename]\n"
    "  save --volume LETTER DEST [PATH]... [--on-exists overwrite|skip|rename]\n"
    "                         Basic Search, then the files and folders at the PATHs (as basic\n"
    "                         prints them; none: everything) written below DEST\n"
    "MODE is basic (default), deep, photo, video or signature.\n";

struct UsageError {
  std::string message;
};
struct Failure {
  std::string message;
};

// Everything one command works on: the listed drives, their tree and table.
struct Session {
  std::shared_ptr<platform::DeviceNamespace> devices;
  storage::MemoryDriveTree tree;
  partitions::DiskTable table;
  storage::EnumerationState state;
  std::string modeName;
};

std::string modeNameFor(const std::string& mode) {
  static const std::map<std::string, storage::RecoveryMode> kModes = {
      {"basic", storage::RecoveryMode::Basic},   {"deep", storage::RecoveryMode::Deep},
      {"photo", storage::RecoveryMode::Photo},   {"video", storage::RecoveryMode::Video},
      {"signature", storage::RecoveryMode::Signature}};
  const auto it = kModes.find(mode);
  if (it == kModes.end()) throw UsageError{"unknown mode '" + mode + "'"};
  return storage::recoveryModeName(it->second);
}

int parseNumber(const std::string& text, const char* what) {
  std::string_view digits = text;
  if (startsWithNoCase(digits, "Disk")) digits.remove_prefix(4);
  const auto n = parseUnsigned(digits);
  if (!n || *n > 1000000) throw UsageError{std::string("bad ") + what + " '" + text + "'"};
  return static_cast<int>(*n);
}

const storage::PhysicalDriveRecord& listedDisk(const Session& s, int number) {
  for (const auto& d : s.state.disks) {
    if (d.diskNumber == number) return d;
  }
  throw Failure{strprintf("disk %d is not listed (no such removable disk)", number)};
}

const partitions::PartitionEntry& partitionOf(const Session& s, int disk, int partition, std::string& fsName) {
  listedDisk(s, disk);
  const auto* entry = s.table.disk(disk);
  if (entry == nullptr || partition < 1 || partition > entry->partitionCount) {
    throw Failure{strprintf("disk %d has no partition %d", disk, partition)};
  }
  fsName = entry->fileSystemNames[static_cast<std::size_t>(partition - 1)];
  return entry->entries[static_cast<std::size_t>(partition - 1)];
}

void printRows(std::ostream& out, const std::vector<storage::InfoRow>& rows) {
  for (const auto& row : rows) out << row.label << '\t' << row.value << '\n';
}

void commandDisks(Session& s, std::ostream& out) { out << s.tree.render(); }

void commandPartitions(Session& s, std::ostream& out) {
  for (const auto& disk : s.state.disks) {
    const auto* entry = s.table.disk(disk.diskNumber);
    if (entry == nullptr) continue;
    for (int i = 0; i < entry->partitionCount; ++i) {
      const auto slot = static_cast<std::size_t>(i);
      out << disk.diskNumber << '\t' << i + 1 << '\t' << entry->fileSystemNames[slot] << '\t'
          << entry->entries[slot].firstSector << '\t' << entry->entries[slot].endSector << '\n';
    }
  }
}

void commandInfo(Session& s, const std::vector<std::string>& args, std::ostream& out) {
  if (args.empty() || args.size() > 2) throw UsageError{"info takes a disk, a disk and partition, or a drive letter"};
  const std::string& item = args[0];
  if (args.size() == 1 && (item.size() == 1 || item[1] == ':') && std::isalpha(static_cast<unsigned char>(item[0]))) {
    const std::string letterColon = toUpperAscii(item.substr(0, 1)) + ":";
    for (const auto& v : s.state.volumes) {
      if (v.letterColon == letterColon) return printRows(out, storage::logicalDrivePanel(v));
    }
    throw Failure{"drive " + letterColon + " is not listed (no such removable drive)"};
  }
  const int disk = parseNumber(item, "disk number");
  if (args.size() == 1) return printRows(out, storage::physicalDiskPanel(listedDisk(s, disk)));
  const int partition = parseNumber(args[1], "partition number");
  std::string fsName;
  const auto& entry = partitionOf(s, disk, partition, fsName);
  printRows(out, storage::partitionPanel(partitions::partitionItemText(partition - 1, fsName), partition - 1, disk,
                                         s.modeName, entry.firstSector, entry.endSector));
}

void commandParams(Session& s, const std::vector<std::string>& args, std::ostream& out) {
  if (args.size() != 2) throw UsageError{"params takes a disk number and a partition number"};
  const int disk = parseNumber(args[0], "disk number");
  const int partition = parseNumber(args[1], "partition number");
  std::string fsName;
  const auto& entry = partitionOf(s, disk, partition, fsName);
  const std::string fs = partitions::normaliseFileSystemName(fsName);
  storage::DeviceSectorSource source(listedDisk(s, disk).devicePath());
  const auto record = partitions::calculatePartitionParameters(source, fs, {entry.firstSector, entry.endSector});
  if (!record) {
    throw Failure{strprintf("disk %d partition %d (%s): ", disk, partition, fs.c_str()) + record.error().reason};
  }
  const auto& r = *record;
  std::vector<std::pair<const char*, std::uint64_t>> fields;
  if (fs == "NTFS") {
    fields = {{"SPC", r.spc},
              {"Cluster0Start", r.cluster0Start},
              {"MFTStart", r.mftStart},
              {"MFTMirrorStart", r.mftMirrorStart},
              {"SectorsPerFileRecord", r.sectorsPerFileRecord},
              {"SectorsPerIndexBlock", r.sectorsPerIndexBlock}};
  } else {
    fields = {{"SPF", r.spf},           {"SPC", r.spc},
              {"RootSec", r.rootSec},   {"RootStartSec", r.rootStartSec},
              {"ReserveSecStart", r.reserveSecStart}, {"Cluster0Start", r.cluster0Start},
              {"firstFAT", r.firstFat}, {"secondFAT", r.secondFat}};
  }
  out << "FileSystem\t" << fs << '\n';
  for (const auto& [name, value] : fields) out << name << '\t' << value << '\n';
}

// The scan range exactly as the window takes it from a selected partition or
// logical drive, so both front ends scan the same sectors.
partitions::ScanStart basicScanStart(Session& s, const std::vector<std::string>& args) {
  partitions::ScanStartInput input;
  input.listing = &s.state;
  input.mode = storage::RecoveryMode::Basic;
  input.requireSupportedFileSystem = true;
  std::string what;
  if (args[0] == "--volume") {
    const std::string letterColon = toUpperAscii(args[1].substr(0, 1)) + ":";
    for (const auto& v : s.state.volumes) {
      if (v.letterColon != letterColon) continue;
      input.driveKind = std::string(partitions::drive_kind::kLogical);
      input.volume = v;
      input.panel = storage::logicalDrivePanel(v);
    }
    if (!input.volume) throw Failure{"drive " + letterColon + " is not listed (no such removable drive)"};
    what = "drive " + letterColon;
  } else {
    const int disk = parseNumber(args[0], "disk number");
    const int partition = parseNumber(args[1], "partition number");
    std::string fsName;
    const auto& entry = partitionOf(s, disk, partition, fsName);
    input.driveKind = std::string(partitions::drive_kind::kPartition);
    input.selectedDiskNumber = disk;
    input.panel = storage::partitionPanel(partitions::partitionItemText(partition - 1, fsName), partition - 1, disk,
                                          s.modeName, entry.firstSector, entry.endSector);
    what = strprintf("disk %d partition %d", disk, partition);
  }
  auto start = partitions::selectionAtScanStart(input);
  if (start) return *start;
  switch (start.error()) {
    case partitions::ScanStartRefusal::EndSectorNotAfterStart:
      throw Failure{what + ": " + std::string(partitions::kEndSectorMessage)};
    case partitions::ScanStartRefusal::UnsupportedFileSystem:
      throw Failure{what + ": " + std::string(partitions::kBasicSearchAdvice)};
    case partitions::ScanStartRefusal::DeviceGone:
      throw Failure{what + ": " + std::string(partitions::kDeviceGoneMessage)};
  }
  throw Failure{what + ": no scan range"};
}

int commandBasic(Session& s, std::vector<std::string> args, std::ostream& out, std::ostream& err) {
  std::uint64_t stopAfter = 0;
  if (args.size() >= 2 && args[args.size() - 2] == "--stop-after") {
    const auto n = parseUnsigned(args.back());
    if (!n || *n == 0) throw UsageError{"--stop-after takes a positive number of blocks"};
    stopAfter = *n;
    args.resize(args.size() - 2);
  }
  if (args.size() != 2) throw UsageError{"basic takes a disk and a partition number, or --volume LETTER"};
  const auto start = basicScanStart(s, args);
  const auto& record = start.record;
  basic::ScanInput input{record.devicePath, record.fileSystemName, record.firstSector, record.endSector};
  auto search = basic::BasicSearch::create(input);
  if (!search) throw Failure{"Basic Search does not read " + record.fileSystemName};
  basic::ScanControl control(nullptr, stopAfter);
  basic::ScanProgress quiet;
  const auto outcome = search->run(control, quiet);
  if (!outcome.message.empty()) err << "dravel-cli: " << outcome.message << '\n';
  if (outcome.stopped) {
    err << "dravel-cli: scan stopped after " << control.blocksDone() << " blocks; the result is partial\n";
  }
  printBasicResult(*search, out);
  return outcome.message.empty() ? kExitOk : kExitFailure;
}

// The program's refusals of a destination, word for word.
constexpr const char* kInvalidDestinationMessage =
    "Invalid destination path. Please provide a valid location path to save the recovered data.";
constexpr const char* kSameDriveMessage =
    "Please select only different drive to save the recovered data. Saving data in same drive/volume (from which "
    "you are trying to recover data) may cause overwriting and your data may be lost forever. ";

int commandSave(Session& s, std::vector<std::string> args, std::ostream& out, std::ostream& err) {
  auto onExists = results::ExistsChoice::Skip;
  if (const auto it = std::find(args.begin(), args.end(), "--on-exists"); it != args.end()) {
    const auto choice = it + 1 != args.end() ? parseOnExists(*(it + 1)) : std::nullopt;
    if (!choice) throw UsageError{"--on-exists takes overwrite, skip or rename"};
    onExists = *choice;
    args.erase(it, it + 2);
  }
  if (args.size() < 3) throw UsageError{"save takes a disk and a partition number, or --volume LETTER, then DEST"};
  const std::vector<std::string> selection(args.begin(), args.begin() + 2);
  const std::filesystem::path destination = args[2];
  const std::vector<std::string> paths(args.begin() + 3, args.end());
  const auto start = basicScanStart(s, selection);
  const auto& record = start.record;
  switch (platform::checkDestination(destination, record.devicePath)) {
    case platform::DestinationProblem::Invalid: throw Failure{kInvalidDestinationMessage};
    case platform::DestinationProblem::OnSourceDrive: throw Failure{kSameDriveMessage};
    case platform::DestinationProblem::None: break;
  }
  basic::ScanInput input{record.devicePath, record.fileSystemName, record.firstSector, record.endSector};
  auto search = basic::BasicSearch::create(input);
  if (!search) throw Failure{"Basic Search does not read " + record.fileSystemName};
  basic::ScanControl control;
  basic::ScanProgress quiet;
  const auto outcome = search->run(control, quiet);
  if (!outcome.message.empty()) throw Failure{outcome.message};
  try {
    return saveItems(*search, destination, paths, onExists, out, err);
  } catch (const std::invalid_argument& e) {
    throw Failure{std::string("no recovered file or folder at '") + e.what() + "'; nothing was saved"};
  }
}

int dispatch(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
  const auto parsed = platform::parseDeviceOptions(args);
  if (!parsed.error.empty()) throw UsageError{parsed.error};
  std::vector<std::string> rest = parsed.rest;
  std::string mode = "basic";
  if (rest.size() >= 2 && rest[0] == "--mode") {
    mode = rest[1];
    rest.erase(rest.begin(), rest.begin() + 2);
  }
  if (rest.empty()) throw UsageError{"no command"};
  const std::string command = rest[0];
  const std::vector<std::string> commandArgs(rest.begin() + 1, rest.end());
  if (command == "help" || command == "--help" || command == "-h") {
    out << kUsage;
    return kExitOk;
  }
  if (command != "disks" && command != "partitions" && command != "info" && command != "params" &&
      command != "basic" && command != "save") {
    throw UsageError{"unknown command '" + command + "'"};
  }
  if ((command == "disks" || command == "partitions") && !commandArgs.empty()) {
    throw UsageError{command + " takes no arguments"};
  }
  Session s;
  s.modeName = modeNameFor(mode);
  s.devices = std::make_shared<platform::DeviceNamespace>(parsed.options);
  platform::setCurrentDevices(s.devices);
  for (const auto& problem : s.devices->problems()) err << "dravel-cli: warning: " << problem << '\n';
  const platform::DeviceQueries queries(s.devices);
  partitions::listDrives(queries, &s.tree, s.modeName, s.table, s.state);
  if (command == "disks") commandDisks(s, out);
  if (command == "partitions") commandPartitions(s, out);
  if (command == "info") commandInfo(s, commandArgs, out);
  if (command == "params") commandParams(s, commandArgs, out);
  if (command == "basic") return commandBasic(s, commandArgs, out, err);
  if (command == "save") return commandSave(s, commandArgs, out, err);
  return kExitOk;
}

}  // namespace

int run(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
  try {
    return dispatch(args, out, err);
  } catch (const UsageError& e) {
    err << "dravel-cli: " << e.message << '\n' << kUsage;
    return kExitUsage;
  } catch (const Failure& e) {
    err << "dravel-cli: " << e.message << '\n';
    return kExitFailure;
  } catch (const std::exception& e) {
    err << "dravel-cli: " << e.what() << '\n';
    return kExitFailure;
  }
}

}  // namespace dravel::cli
