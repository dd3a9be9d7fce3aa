// The commands of a search window and their guards, and the selection that
// Next takes from the drive tree.

#include <QApplication>
#include <QGroupBox>
#include <QPushButton>
#include <QThread>
#include <array>

#include "CMsgStand.h"
#include "CRem_Media_Scan.h"
#include "FrameTexts.h"
#include "SearchFrame.h"
#include "controls/CTreeClass.h"
#include "controls/MessageService.h"
#include "storage/SectorReader.h"

namespace dravel::app {

using controls::MessageService;

bool SearchFrame::guardGroupNodeSelected() {
  const auto kind = m_driveView.kindOf(m_driveTree->currentItem());
  if (kind == DriveItemKind::MyComputer || kind == DriveItemKind::PhysicalDrives ||
      kind == DriveItemKind::LogicalDrives || kind == DriveItemKind::None) {
    MessageService::information(this, texts::kSelectDriveFirst);
    afterGuardMessage();
    return true;
  }
  return false;
}

void SearchFrame::next() {
  if (m_phase != Phase::DriveSelection || m_activity.resultCount != 0 || m_fillRunning) return;
  if (guardGroupNodeSelected()) return;
  startFromSelection();
}

void SearchFrame::startFromSelection() {}

std::optional<partitions::ScanStart> SearchFrame::takeSelection(bool confirmWholeDisk, bool requireSupported) {
  auto* item = m_driveTree->currentItem();
  const auto kind = m_driveView.kindOf(item);
  if (kind == DriveItemKind::Disk && confirmWholeDisk && CRem_Media_Scan(this).exec() != QDialog::Accepted)
    return std::nullopt;
  partitions::ScanStartInput input;
  input.driveKind = m_driveKind.toStdString();
  input.panel = panelRows();
  input.selectedDiskNumber = m_selectedDisk;
  for (int i = 0; kind == DriveItemKind::Disk && i < item->childCount(); ++i)
    input.diskPartitionItems.push_back(item->child(i)->text(0).toStdString());
  if (const auto* volume = m_driveView.volumeRecord(item)) input.volume = *volume;
  if (const auto* listing = m_driveView.listing()) input.listing = &listing->state;
  input.mode = m_mode;
  input.requireSupportedFileSystem = requireSupported;

  auto start = partitions::selectionAtScanStart(input);
  if (!start) {
    switch (start.error()) {
      case partitions::ScanStartRefusal::EndSectorNotAfterStart:
        MessageService::information(this, QString::fromUtf8(partitions::kEndSectorMessage.data()));
        break;
      case partitions::ScanStartRefusal::UnsupportedFileSystem: CMsgStand(this).exec(); break;
      case partitions::ScanStartRefusal::DeviceGone:
        MessageService::information(this, QString::fromUtf8(partitions::kDeviceGoneMessage.data()));
        break;
    }
    return std::nullopt;
  }
  // The medium may have gone since the tree was filled; one sector tells.
  std::array<std::byte, 512> sector{};
  if (!storage::readSectors({start->record.devicePath, start->record.firstSector, 1, sector})) {
    MessageService::information(this, QString::fromUtf8(partitions::kDeviceGoneMessage.data()));
    return std::nullopt;
  }
  return std::move(*start);
}

bool SearchFrame::startRun(const partitions::ScanStart&) { return false; }

void SearchFrame::back() {
  if (m_activity.scanRunning || m_activity.listingRunning) {
    MessageService::information(this, texts::kScanStillGoingBack);
    afterGuardMessage();
    return;
  }
  if (m_phase != Phase::DriveSelection) {
    clearResult();
    enterDriveSelectionPhase();
    fillTree();
    return;
  }
  hide();
  emit returnedToMainWindow();
}

void SearchFrame::stop() {
  if (m_stopThread != nullptr) return;  // a stop is being handled
  m_stopFlag = true;
  QApplication::setOverrideCursor(Qt::WaitCursor);
  m_progressGroup->hide();
  m_resultTree->setEnabled(false);
  m_stopThread = QThread::create([this] { stopScan(); });
  connect(m_stopThread, &QThread::finished, this, &SearchFrame::stopFinished);
  m_stopThread->start();
}

void SearchFrame::stopScan() {}

void SearchFrame::waitForStopThread() {
  if (m_stopThread != nullptr) m_stopThread->wait();
}

void SearchFrame::stopFinished() {
  m_stopThread->deleteLater();
  m_stopThread = nullptr;
  m_activity.scanRunning = false;
  if (m_phase == Phase::Scanning) enterResultsPhase();
  if (!m_activity.listingRunning) setEnabled(true);
  QApplication::restoreOverrideCursor();
  emit stopHandled();
}

void SearchFrame::save() {
  if (saveAllowed()) saveSelection();
}

bool SearchFrame::saveAllowed() {
  if (m_activity.resultCount == 0) {
    MessageService::information(this, texts::kSaveNoResult);
  } else if (m_activity.scanRunning || m_activity.listingRunning) {
    MessageService::information(this, texts::kSaveScanRunning);
  } else {
    return true;
  }
  afterGuardMessage();
  return false;
}

void SearchFrame::saveLog() {
  if (m_activity.resultCount == 0) {
    MessageService::information(this, texts::kSaveLogNoResult);
  } else if (m_activity.scanRunning || m_activity.listingRunning) {
    MessageService::information(this, texts::kSaveLogScanRunning);
  } else {
    MessageService::information(this, texts::kLogsNotYet);
    return;
  }
  afterGuardMessage();
}

void SearchFrame::loadLog() {
  if (m_activity.scanRunning || m_activity.listingRunning) {
    MessageService::information(this, texts::kLoadLogScanRunning);
  } else if (m_activity.resultCount != 0) {
    MessageService::information(this, texts::kLoadLogAfterResult);
  } else {
    MessageService::information(this, texts::kLogsNotYet);
    return;
  }
  afterGuardMessage();
}

void SearchFrame::searchMorePartitions() {
  if (m_fillRunning || m_activity.partitionSearchRunning) return;
  MessageService::information(this, texts::kPartitionSearchNotYet);
}

// A message, help or about box enables what the running work had disabled.
void SearchFrame::afterGuardMessage() {
  if (m_activity.logLoaderRunning || m_activity.listingRunning) m_resultTree->setEnabled(false);
}

}  // namespace dravel::app
