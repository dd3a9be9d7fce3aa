#include "CDeepSearch.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <QVBoxLayout>
#include <algorithm>

#include "FrameTexts.h"
#include "controls/CTreeClass.h"
#include "controls/MessageService.h"
#include "controls/SectorRangeControl.h"
#include "partitions/FileSystemRecognition.h"
#include "storage/InfoPanels.h"

namespace dravel::app {

using controls::MessageService;

CDeepSearch::CDeepSearch(QWidget* parent)
    : SearchFrame(storage::RecoveryMode::Deep, QStringLiteral("Deep Search"), parent) {
  auto* fsRow = new QHBoxLayout;
  fsRow->addWidget(new QLabel(QStringLiteral("Search selected Drive's file system as:"), this));
  m_fileSystem = new QComboBox(this);
  m_fileSystem->setObjectName(QStringLiteral("fileSystemChoice"));
  m_fileSystem->addItems({QStringLiteral("FAT16"), QStringLiteral("FAT32"), QStringLiteral("NTFS"),
                          QStringLiteral("Unknown")});
  m_fileSystem->setCurrentText(QStringLiteral("FAT32"));
  fsRow->addWidget(m_fileSystem);
  fsRow->addStretch(1);
  m_range = new controls::SectorRangeControl(this);
  m_range->setObjectName(QStringLiteral("sectorRange"));
  extraArea()->addLayout(fsRow);
  extraArea()->addWidget(m_range);

  // Shown by the run while it builds the trees of what it found, and while a log loads.
  m_loadingTree = new QLabel(QStringLiteral("Loading tree, Please wait..."), this);
  m_loadingTree->setObjectName(QStringLiteral("loadingTree"));
  m_loadingTreeBar = new QProgressBar(this);
  m_loadingTreeBar->setObjectName(QStringLiteral("loadingTreeBar"));
  m_logWait = new QLabel(QStringLiteral("It may take a while, Please wait..."), this);
  m_logWait->setObjectName(QStringLiteral("logWait"));
  for (auto* w : std::initializer_list<QWidget*>{m_loadingTree, m_loadingTreeBar, m_logWait}) {
    w->hide();
    extraArea()->addWidget(w);
  }
}

QList<controls::ListColumn> CDeepSearch::contentColumns() const {
  return {{QStringLiteral("Name"), 145},
          {QStringLiteral("Type"), 60},
          {QStringLiteral("Size"), 60},
          {QStringLiteral("Date"), 60},
          {QStringLiteral("Time"), 60},
          {QStringLiteral("Sector-Debug Info 1"), 0, true},
          {QStringLiteral("ParentMFT-Debug Info 2"), 0, true},
          {QStringLiteral("SelfMFT-Debug Info 3"), 0, true},
          {QStringLiteral("SFN"), 0, true},
          {QStringLiteral("FILE_SYS"), 0, true}};
}

void CDeepSearch::drivePanelShown(DriveItemKind kind, const QTreeWidgetItem* item) {
  const auto& view = driveTreeView();
  if (kind == DriveItemKind::Partition) {
    int disk = -1;
    if (const auto* entry = view.partitionEntry(item, &disk))
      m_range->setupForSelection(entry->firstSector, entry->endSector, entry->firstSector, entry->endSector);
    const auto name = partitions::normaliseFileSystemName(item->text(0).toStdString());
    m_fileSystem->setCurrentText(QString::fromStdString(name));
  } else if (const auto* volume = view.volumeRecord(item)) {
    m_range->setupForSelection(0, volume->totalSectors, 0, volume->totalSectors);
  } else if (const auto* disk = view.diskRecord(item)) {
    m_range->setupForSelection(0, disk->mediumEndSector(), 0, disk->mediumEndSector());
  }
}

void CDeepSearch::startFromSelection() {
  const auto start = m_range->startSector();
  const auto end = m_range->endSector();
  if (!start || !end || *end <= *start) {
    MessageService::information(this, QString::fromUtf8(partitions::kEndSectorMessage.data()));
    return;
  }
  if (m_fileSystem->currentText() == QStringLiteral("Unknown")) {
    MessageService::information(this, texts::kSelectFileSystem);
    m_fileSystem->setFocus();
    return;
  }
  auto run = rangeFromFields(*start, *end);
  if (!run) {
    MessageService::information(this, QString::fromUtf8(partitions::kDeviceGoneMessage.data()));
    return;
  }
  m_lastDeepStart = run;
  setLastScanStart(run->start);
  emit scanRequested();
  startRun(run->start);
}

// The range on the physical disk: a volume's fields count from the volume's
// own first sector, so they are moved to where the volume lies on its disk.
std::optional<DeepRunStart> CDeepSearch::rangeFromFields(std::uint64_t start, std::uint64_t end) {
  const auto* listing = driveTreeView().listing();
  if (listing == nullptr) return std::nullopt;
  const auto rows = panelRows();
  const auto kind = selectionDriveKind();
  DeepRunStart run;
  auto& record = run.start.record;
  int diskNumber = selectedDiskNumber();
  if (kind == QStringLiteral("Logical")) {
    const auto* volume = driveTreeView().volumeRecord(driveTree()->currentItem());
    if (volume == nullptr) return std::nullopt;
    const std::uint64_t lowest = m_range->minSector().value_or(0);
    const std::uint64_t highest = m_range->maxSector().value_or(volume->totalSectors);
    diskNumber = volume->diskNumber;
    record.logicalDevicePath = volume->devicePath();
    run.partitionBase = volume->diskFirstSector;
    run.driveSize = volume->totalSectors;
    record.firstSector = volume->diskFirstSector + (start - std::min(start, lowest));
    record.endSector = volume->diskEndSector - std::min(volume->diskEndSector, highest - std::min(highest, end));
  } else if (kind == QStringLiteral("Hard Disk")) {
    run.driveSize = partitions::panelNumber(rows, partitions::panel_row::kDiskSectors);
    record.firstSector = start;
    record.endSector = end;
  } else {
    diskNumber = static_cast<int>(std::min<std::uint64_t>(partitions::panelNumber(rows, partitions::panel_row::kDiskNumber), 1000));
    run.partitionBase = partitions::panelNumber(rows, partitions::panel_row::kPartitionStart);
    run.driveSize = partitions::panelNumber(rows, partitions::panel_row::kPartitionEnd);
    record.firstSector = start;
    record.endSector = end;
  }
  const auto* disk = listing->disk(diskNumber);
  if (disk == nullptr) return std::nullopt;
  record.endSector = std::min(record.endSector, disk->mediumEndSector());
  record.driveKind = kind.toStdString();
  record.devicePath = disk->devicePath();
  record.diskIndex = static_cast<std::uint16_t>(disk->diskNumber);
  record.diskTotalSectors = disk->totalSectors;
  record.diskSizeMiB = disk->sizeMiB;
  record.currentDiskModel = disk->model;
  record.fileSystemName = m_fileSystem->currentText().toStdString();
  record.modeName = storage::recoveryModeName(storage::RecoveryMode::Deep);
  record.firstSectorCopy = record.firstSector;
  record.endSectorCopy = record.endSector;
  record.endByteOffset = record.endSector * 512;
  return run;
}

}  // namespace dravel::app
