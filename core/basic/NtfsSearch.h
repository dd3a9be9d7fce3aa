#pragma once
// Basic Search on NTFS: one pass over every record of the master file table
// in the order it lies on the disk, deleted records included. Folders go
// into the tree as soon as their parent is there, or wait in the folder
// table until the pass ends; files wait in the NTFS file table until their
// folder is listed, when their names and sizes are completed.

#include <cstdint>
#include <memory>
#include <optional>

#include "BasicSearch.h"
#include "NtfsRecords.h"
#include "ondisk/MftExtents.h"
#include "partitions/PartitionRecord.h"
#include "results/FolderTable.h"
#include "results/NtfsFileTable.h"

namespace dravel::basic {

class NtfsSearch final : public BasicSearch {
 public:
  NtfsSearch(ScanInput input, SourceFactory sources) : BasicSearch(std::move(input), std::move(sources)) {}

  [[nodiscard]] std::uint32_t rootId() const override { return results::kNtfsRootId; }

  // What saving a file needs after the scan: the geometry and the MFT's
  // extents. Read them once run() has returned.
  [[nodiscard]] const partitions::PartitionRecord& partition() const { return m_partition; }
  [[nodiscard]] const ondisk::MftLayout& mft() const { return m_mft; }

 protected:
  ScanOutcome scanAndBuild(ScanControl& control, ScanProgress& progress) override;
  void nameChildren(results::NodeId /*node*/, const std::atomic<bool>& /*populationStop*/,
                    ListingSink* /*sink*/) override {}  // NTFS names are final when found
  void listFiles(results::NodeId node, const std::atomic<bool>& populationStop, ListingSink& sink) override;
  results::WriteResult writeFile(const results::ContentRow& row, results::ContentOutput& out,
                                 const results::WriteControl& control) override;
  [[nodiscard]] results::Timestamp folderTime(const results::FolderRecord& record) const override;

 private:
  // NtfsSearch.cpp
  void readMftExtents(storage::SectorSource& source);
  void attachFolders(ScanProgress& progress);
  bool completeRow(results::NtfsFileRow& row, storage::SectorSource* source);

  // NtfsMftPass.cpp
  bool recordPass(storage::SectorSource& source, ScanControl& control, ScanProgress& progress);
  void takeRecord(std::uint64_t index, std::uint64_t sector, MftRecordBuffer& record, storage::SectorSource& source);
  void takeFolder(std::uint64_t index, std::uint64_t sector, const ondisk::FileName& name, bool inUse);
  [[nodiscard]] std::optional<results::NodeId> parentNode(std::uint32_t parent) const;

  partitions::PartitionRecord m_partition;
  ondisk::MftLayout m_mft;
  results::NtfsFileTable m_files;
  results::FolderTable m_folders;
  results::NodeId m_root = results::kNoNode;
  std::optional<results::NodeId> m_orphanNode;
  std::optional<results::NodeId> m_lastInserted;
};

[[nodiscard]] std::unique_ptr<BasicSearch> makeNtfsSearch(const ScanInput& input, SourceFactory sources);

}  // namespace dravel::basic
