// The drive tree of a search window: filled on a worker, the no-device
// step, and what selecting an item shows in the information list.

#include <QEventLoop>
#include <QGroupBox>
#include <QLabel>
#include <QThread>

#include "CNoDevice.h"
#include "FrameTexts.h"
#include "SearchFrame.h"
#include "WaitWindow.h"
#include "controls/CTreeClass.h"
#include "controls/MessageService.h"
#include "platform/DeviceNamespace.h"
#include "storage/InfoPanels.h"

namespace dravel::app {

using controls::MessageService;
namespace {

QList<controls::ListColumn> nameValueColumns(int valueWidth) {
  return {{QStringLiteral("Name"), 160}, {QStringLiteral("Value"), valueWidth}};
}

// Lists the drives on a worker; the caller's event loop keeps running.
std::shared_ptr<DriveListingResult> listOffThread(const std::string& modeName) {
  std::shared_ptr<DriveListingResult> result;
  auto devices = platform::currentDevices();
  QEventLoop loop;
  QThread* worker = QThread::create([&result, devices, modeName] { result = listDrivesNow(devices, modeName, true); });
  QObject::connect(worker, &QThread::finished, &loop, &QEventLoop::quit);
  worker->start();
  loop.exec(QEventLoop::ExcludeUserInputEvents);
  worker->wait();
  delete worker;
  return result;
}

}  // namespace

void SearchFrame::fillTree() {
  if (m_fillThread != nullptr) return;
  WaitWindow::showWait(this, true);
  setEnabled(false);
  m_driveView.clear();
  m_resultTree->clear();
  m_list->clearRows();
  m_progressGroup->hide();
  m_lastScanStart.reset();
  m_fillRunning = true;
  const std::string modeName = storage::recoveryModeName(m_mode);
  auto devices = platform::currentDevices();
  auto result = std::make_shared<std::shared_ptr<DriveListingResult>>();
  // Every fill looks at the devices again: nothing tells the program of drives plugged in meanwhile.
  m_fillThread = QThread::create([result, devices, modeName] { *result = listDrivesNow(devices, modeName, true); });
  connect(m_fillThread, &QThread::finished, this, [this, result] {
    m_fillThread->deleteLater();
    m_fillThread = nullptr;
    applyFill(*result);
  });
  m_fillThread->start();
}

void SearchFrame::applyFill(std::shared_ptr<const DriveListingResult> listing) {
  m_driveKind = QStringLiteral("Logical");
  m_driveView.show(std::move(listing));
  setEnabled(true);
  m_fillRunning = false;
  m_driveTree->setFocus();
  WaitWindow::hideWait(this);
  const auto* result = m_driveView.listing();
  showDeviceProblems(result != nullptr ? result->problems : std::vector<std::string>{});
  if (result == nullptr || result->empty()) {
    if (!runNoDeviceStep()) return;
  }
  emit driveTreeFilled();
}

bool SearchFrame::runNoDeviceStep() {
  raise();
  CNoDevice dialog(this);
  const std::string modeName = storage::recoveryModeName(m_mode);
  dialog.retry = [this, modeName] {
    auto listing = listOffThread(modeName);
    if (!listing || listing->tree.childCount(listing->tree.logicalDrives()) == 0) {
      m_list->hide();
      return false;
    }
    showDeviceProblems(listing->problems);
    m_driveView.show(std::move(listing));
    m_list->show();
    return true;
  };
  if (dialog.exec() == QDialog::Accepted) return true;
  // Exit: the window ends and the main window comes back.
  hide();
  emit returnedToMainWindow();
  return false;
}

// A drive the user expects may be missing for a reason they can mend
// (permissions, an image path); say which instead of leaving it out silently.
void SearchFrame::showDeviceProblems(const std::vector<std::string>& problems) {
  QStringList lines;
  for (const auto& problem : problems) lines << QString::fromStdString(problem);
  m_problems->setText(QStringLiteral("Not listed: ") + lines.join(QStringLiteral("; ")));
  m_problems->setVisible(!lines.isEmpty());
}

void SearchFrame::refreshTree() {
  const auto& a = m_activity;
  if (a.resultCount != 0 || a.scanRunning || a.logLoaderRunning || a.listingRunning) {
    MessageService::information(this, texts::kRefreshInProgress);
    afterGuardMessage();
    return;
  }
  fillTree();
}

void SearchFrame::driveItemSelected() {
  if (m_phase != Phase::DriveSelection || m_activity.scanRunning || m_fillRunning) return;
  auto* item = m_driveTree->currentItem();
  const auto kind = m_driveView.kindOf(item);
  switch (kind) {
    case DriveItemKind::None: return;
    case DriveItemKind::MyComputer:
      m_driveKind = QString::fromUtf8(partitions::drive_kind::kMyComputer.data());
      hideInfoList(QStringLiteral("My Computer"));
      break;
    case DriveItemKind::LogicalDrives:
      m_driveKind = QString::fromUtf8(partitions::drive_kind::kLogicalDrives.data());
      hideInfoList(QStringLiteral("Logical Drives"));
      break;
    case DriveItemKind::PhysicalDrives:
      m_driveKind = QString::fromUtf8(partitions::drive_kind::kPhysicalDrives.data());
      showDiskList();
      break;
    case DriveItemKind::Disk:
      if (const auto* disk = m_driveView.diskRecord(item)) {
        m_driveKind = QStringLiteral("Hard Disk");
        m_selectedDisk = disk->diskNumber;
        setNameValueColumns(325);
        showInfoRows(storage::physicalDiskPanel(*disk));
      }
      break;
    case DriveItemKind::Volume:
      if (const auto* volume = m_driveView.volumeRecord(item)) {
        m_driveKind = QStringLiteral("Logical");
        setNameValueColumns(250);
        showInfoRows(storage::logicalDrivePanel(*volume));
      }
      break;
    case DriveItemKind::Partition: {
      int diskNumber = -1;
      if (const auto* entry = m_driveView.partitionEntry(item, &diskNumber)) {
        m_driveKind = QStringLiteral("part");
        setNameValueColumns(325);
        showInfoRows(storage::partitionPanel(item->text(0).toStdString(), entry->index, diskNumber,
                                             storage::recoveryModeName(m_mode), entry->firstSector,
                                             entry->endSector));
      }
      break;
    }
  }
  if (kind == DriveItemKind::Disk || kind == DriveItemKind::Volume || kind == DriveItemKind::Partition)
    m_heading->setText(item->text(0));
  drivePanelShown(kind, item);
}

void SearchFrame::setNameValueColumns(int valueWidth) { m_list->setColumns(nameValueColumns(valueWidth)); }

void SearchFrame::showInfoRows(const std::vector<storage::InfoRow>& rows) {
  m_list->clearRows();
  for (const auto& row : rows)
    m_list->appendRow({QString::fromStdString(row.label), QString::fromStdString(row.value)});
  m_list->show();
}

void SearchFrame::showDiskList() {
  m_list->setColumns({{QStringLiteral("No."), 0},
                      {QStringLiteral("Disk number"), 80},
                      {QStringLiteral("Name"), 180},
                      {QStringLiteral("Value"), 180}});
  auto* node = m_driveView.physicalNode();
  for (int i = 0; node != nullptr && i < node->childCount(); ++i) {
    const auto* disk = m_driveView.diskRecord(node->child(i));
    if (disk == nullptr) continue;
    m_list->appendRow({QString::number(i + 1), QString::fromStdString(disk->diskName),
                       QString::fromStdString(disk->model), QString::fromStdString(disk->sizeAndClass)});
  }
  m_heading->setText(QStringLiteral("Physical Drives"));
  m_list->show();
}

void SearchFrame::hideInfoList(const QString& headingText) {
  m_list->clearRows();
  m_list->hide();
  m_heading->setText(headingText);
}

std::vector<storage::InfoRow> SearchFrame::panelRows() const {
  std::vector<storage::InfoRow> rows;
  for (int i = 0; i < m_list->rowCount(); ++i)
    rows.push_back({m_list->cellText(i, 0).toStdString(), m_list->cellText(i, 1).toStdString()});
  return rows;
}

void SearchFrame::drivePanelShown(DriveItemKind, const QTreeWidgetItem*) {}

}  // namespace dravel::app
