#include "DriveListing.h"

#include "partitions/DriveListing.h"
#include "platform/DeviceNamespace.h"
#include "platform/DeviceQueries.h"

namespace dravel::app {
namespace {

// Keeps each disk's and volume's record with its item, as the tree's item data.
class RecordingTree final : public storage::DriveTreeSink {
 public:
  explicit RecordingTree(DriveListingResult& out) : m_out(out) {}
  storage::TreeItem addDisk(const storage::PhysicalDriveRecord& record) override {
    const auto item = m_out.tree.addDisk(record);
    m_out.records.emplace(item, record);
    return item;
  }
  storage::TreeItem addLogicalDrive(const storage::LogicalDriveRecord& record) override {
    const auto item = m_out.tree.addLogicalDrive(record);
    m_out.records.emplace(item, record);
    return item;
  }
  storage::TreeItem addPartition(storage::TreeItem parent, const std::string& text) override {
    return m_out.tree.addPartition(parent, text);
  }
  [[nodiscard]] std::string itemText(storage::TreeItem item) const override { return m_out.tree.itemText(item); }
  [[nodiscard]] int childCount(storage::TreeItem item) const override { return m_out.tree.childCount(item); }

 private:
  DriveListingResult& m_out;
};

}  // namespace

bool DriveListingResult::empty() const {
  return tree.childCount(tree.physicalDrives()) == 0 && tree.childCount(tree.logicalDrives()) == 0;
}

const storage::PhysicalDriveRecord* DriveListingResult::disk(int number) const {
  for (const auto& d : state.disks)
    if (d.diskNumber == number) return &d;
  return nullptr;
}

std::shared_ptr<DriveListingResult> listDrivesNow(const std::shared_ptr<platform::DeviceNamespace>& devices,
                                                  const std::string& modeName, bool rescan) {
  auto result = std::make_shared<DriveListingResult>();
  if (!devices) return result;
  if (rescan) devices->rescan();
  RecordingTree sink(*result);
  const platform::DeviceQueries queries(devices);
  partitions::listDrives(queries, &sink, modeName, result->table, result->state);
  result->problems = devices->problems();
  return result;
}

}  // namespace dravel::app
