#pragma once
// Basic Search on FAT16 and FAT32: the partition parameters (from the boot
// sector, else searched for in the data), the directory cluster scan, the
// folder tree with the names the root and the parent directories give, and
// the listings of one folder at a time.

#include <memory>
#include <optional>

#include "BasicSearch.h"
#include "FatVolume.h"
#include "results/FolderTable.h"

namespace dravel::basic {

class FatSearch final : public BasicSearch {
 public:
  FatSearch(ScanInput input, SourceFactory sources);

  [[nodiscard]] std::uint32_t rootId() const override { return results::kFatRootId; }

  // The geometry the last run worked with (after the boot-sector computation
  // or the parameter search); nullopt before a run or when none was found.
  // Saving files needs its FAT positions, SPC and Cluster0Start. Read it
  // after run() has returned.
  [[nodiscard]] const std::optional<fat::FatVolume>& volume() const { return m_volume; }

 protected:
  ScanOutcome scanAndBuild(ScanControl& control, ScanProgress& progress) override;
  void nameChildren(results::NodeId node, const std::atomic<bool>& populationStop, ListingSink* sink) override;
  void listFiles(results::NodeId node, const std::atomic<bool>& populationStop, ListingSink& sink) override;
  results::WriteResult writeFile(const results::ContentRow& row, results::ContentOutput& out,
                                 const results::WriteControl& control) override;
  [[nodiscard]] results::Timestamp folderTime(const results::FolderRecord& record) const override;

 private:
  [[nodiscard]] std::optional<partitions::PartitionRecord> findParameters(storage::SectorSource& source,
                                                                          ScanControl& control,
                                                                          ScanProgress& progress,
                                                                          ScanOutcome& outcome);
  void buildTree(storage::SectorSource& source, results::FolderTable& table, ScanProgress& progress);
  void nameRootLevelRows(storage::SectorSource& source, results::FolderTable& table);
  void insertFolders(results::FolderTable& table);
  void expandFolders(storage::SectorSource& source, ScanProgress& progress);
  void nameChildrenFrom(storage::SectorSource& source, results::NodeId node,
                        const std::atomic<bool>& populationStop, ListingSink* sink);

  std::optional<fat::FatVolume> m_volume;
};

[[nodiscard]] std::unique_ptr<BasicSearch> makeFatSearch(const ScanInput& input, SourceFactory sources);

}  // namespace dravel::basic
