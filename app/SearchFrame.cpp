#include "SearchFrame.h"

#include <QApplication>
#include <QCloseEvent>
#include <QEventLoop>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QSplitter>
#include <QStackedWidget>
#include <QThread>
#include <QVBoxLayout>

#include "CAbout_Dlg.h"
#include "CHelp.h"
#include "CMsgStand.h"
#include "CNoDevice.h"
#include "CRem_Media_Scan.h"
#include "FontSet.h"
#include "FrameTexts.h"
#include "WaitWindow.h"
#include "controls/CColorStatic.h"
#include "controls/CTreeClass.h"
#include "controls/MessageService.h"
#include "platform/DeviceNamespace.h"
#include "storage/InfoPanels.h"
#include "storage/SectorReader.h"

#include <array>

namespace dravel::app {
namespace {

using controls::MessageService;

QPushButton* makeButton(const QString& text, const char* name, QWidget* parent) {
  auto* button = new QPushButton(text, parent);
  button->setObjectName(QString::fromLatin1(name));
  button->setAutoDefault(false);
  return button;
}

QList<controls::ListColumn> nameValueColumns(int valueWidth) {
  return {{QStringLiteral("Name"), 160}, {QStringLiteral("Value"), valueWidth}};
}

// Lists the drives on a worker; the caller's event loop keeps running.
std::shared_ptr<DriveListingResult> listOffThread(const std::string& modeName, bool rescan) {
  std::shared_ptr<DriveListingResult> result;
  auto devices = platform::currentDevices();
  QEventLoop loop;
  QThread* worker = QThread::create([&result, devices, modeName, rescan] {
    result = listDrivesNow(devices, modeName, rescan);
  });
  QObject::connect(worker, &QThread::finished, &loop, &QEventLoop::quit);
  worker->start();
  loop.exec(QEventLoop::ExcludeUserInputEvents);
  worker->wait();
  delete worker;
  return result;
}

}  // namespace

SearchFrame::SearchFrame(storage::RecoveryMode mode, const QString& title, QWidget* parent)
    : QDialog(parent), m_mode(mode) {
  setWindowTitle(title);
  setObjectName(title);
  buildLayout(title);
  enterDriveSelectionPhase();
}

SearchFrame::~SearchFrame() {
  m_stopFlag = true;
  // Both workers are bounded; the window's members they report to must outlive them.
  for (QThread* worker : {m_fillThread, m_stopThread}) {
    if (worker == nullptr) continue;
    worker->wait();
    delete worker;
  }
}

void SearchFrame::buildLayout(const QString& title) {
  resize(940, 620);
  auto* outer = new QVBoxLayout(this);

  auto* band = new controls::CColorStatic(productTitle() + QStringLiteral(" - ") + title, this);
  band->setObjectName(QStringLiteral("titleBand"));
  band->setFont(sharedFont(10));
  band->setBackgroundColour(QColor(0xFF, 0xFF, 0xFF));
  band->setTextColour(QColor(0x1F, 0x3A, 0x60));
  band->setContentsMargins(12, 6, 12, 6);
  outer->addWidget(band);

  auto* split = new QSplitter(Qt::Horizontal, this);
  m_treeStack = new QStackedWidget(split);
  m_driveTree = new controls::CTreeClass(m_treeStack);
  m_driveTree->setObjectName(QStringLiteral("driveTree"));
  m_resultTree = new controls::CTreeClass(m_treeStack);
  m_resultTree->setObjectName(QStringLiteral("resultTree"));
  m_treeStack->addWidget(m_driveTree);
  m_treeStack->addWidget(m_resultTree);
  m_driveView = DriveTreeView(m_driveTree);

  auto* right = new QWidget(split);
  auto* rightLayout = new QVBoxLayout(right);
  rightLayout->setContentsMargins(0, 0, 0, 0);
  m_heading = new QLabel(texts::kSelectDriveHeading, right);
  m_heading->setObjectName(QStringLiteral("heading"));
  m_heading->setFont(sharedFont(1));
  m_list = new controls::CHideColumn(right);
  m_list->setObjectName(QStringLiteral("infoList"));
  m_extraWidget = new QWidget(right);
  m_extraArea = new QVBoxLayout(m_extraWidget);
  m_extraArea->setContentsMargins(0, 0, 0, 0);
  m_countLine = new QLabel(right);
  m_countLine->setObjectName(QStringLiteral("countLine"));
  m_currentFolder = new QGroupBox(QStringLiteral("Current Folder"), right);
  auto* folderLayout = new QVBoxLayout(m_currentFolder);
  folderLayout->addWidget(new QLabel(m_currentFolder));
  rightLayout->addWidget(m_heading);
  rightLayout->addWidget(m_list, 1);
  rightLayout->addWidget(m_extraWidget);
  rightLayout->addWidget(buildProgressArea());
  rightLayout->addWidget(m_countLine);
  rightLayout->addWidget(m_currentFolder);
  split->addWidget(m_treeStack);
  split->addWidget(right);
  split->setStretchFactor(0, 2);
  split->setStretchFactor(1, 3);
  split->setSizes({340, 560});
  outer->addWidget(split, 1);

  m_hint = new controls::CColorStatic(QString(), this);
  m_hint->setObjectName(QStringLiteral("hint"));
  m_hint->setWordWrap(true);
  m_hint->setBackgroundColour(QColor(0xFF, 0xFF, 0xE8));
  m_hint->setContentsMargins(8, 6, 8, 6);
  m_hint->setMinimumHeight(52);
  outer->addWidget(m_hint);
  outer->addWidget(buildButtonRow());

  connect(m_driveTree, &QTreeWidget::currentItemChanged, this, [this] { driveItemSelected(); });
}

QWidget* SearchFrame::buildProgressArea() {
  m_progressGroup = new QGroupBox(this);
  m_progressGroup->setObjectName(QStringLiteral("progressArea"));
  auto* layout = new QGridLayout(m_progressGroup);
  m_progressText = new QLabel(texts::kValidatingPartition, m_progressGroup);
  m_progressText->setObjectName(QStringLiteral("progressText"));
  m_progressBar = new QProgressBar(m_progressGroup);
  m_progressBar->setObjectName(QStringLiteral("progressBar"));
  m_stop = makeButton(QStringLiteral("Stop"), "stop", m_progressGroup);
  layout->addWidget(new QLabel(QStringLiteral("Searching from sectors"), m_progressGroup), 0, 0);
  layout->addWidget(m_progressText, 0, 1, 1, 2);
  layout->addWidget(m_progressBar, 1, 0, 1, 2);
  layout->addWidget(m_stop, 1, 2);
  connect(m_stop, &QPushButton::clicked, this, &SearchFrame::stop);
  return m_progressGroup;
}

QWidget* SearchFrame::buildButtonRow() {
  auto* row = new QWidget(this);
  auto* layout = new QHBoxLayout(row);
  layout->setContentsMargins(0, 0, 0, 0);
  m_refresh = makeButton(QStringLiteral("Refresh Tree"), "refreshTree", row);
  m_searchMore = makeButton(QStringLiteral("Search More Partitions"), "searchMorePartitions", row);
  m_stopSearching = makeButton(QStringLiteral("Stop Searching Partitions"), "stopSearchingPartitions", row);
  m_stopSearching->hide();
  m_save = makeButton(QStringLiteral("Save"), "save", row);
  m_loadLog = makeButton(QStringLiteral("Load Log"), "loadLog", row);
  m_saveLog = makeButton(QStringLiteral("Save Log"), "saveLog", row);
  m_about = makeButton(QStringLiteral("About Us"), "aboutUs", row);
  m_help = makeButton(QStringLiteral("Need Help"), "needHelp", row);
  m_back = makeButton(QStringLiteral("Back"), "back", row);
  m_next = makeButton(QStringLiteral("Next"), "next", row);
  for (auto* button : {m_refresh, m_searchMore, m_stopSearching, m_save, m_loadLog, m_saveLog}) layout->addWidget(button);
  layout->addStretch(1);
  for (auto* button : {m_about, m_help, m_back, m_next}) layout->addWidget(button);
  m_back->setIcon(style()->standardIcon(QStyle::SP_ArrowBack));
  m_next->setIcon(style()->standardIcon(QStyle::SP_ArrowForward));
  m_refresh->setIcon(style()->standardIcon(QStyle::SP_BrowserReload));
  m_help->setIcon(style()->standardIcon(QStyle::SP_MessageBoxQuestion));

  connect(m_refresh, &QPushButton::clicked, this, &SearchFrame::refreshTree);
  connect(m_searchMore, &QPushButton::clicked, this, &SearchFrame::searchMorePartitions);
  connect(m_save, &QPushButton::clicked, this, &SearchFrame::save);
  connect(m_loadLog, &QPushButton::clicked, this, &SearchFrame::loadLog);
  connect(m_saveLog, &QPushButton::clicked, this, &SearchFrame::saveLog);
  connect(m_about, &QPushButton::clicked, this, [this] {
    CAbout_Dlg(this).exec();
    afterGuardMessage();
  });
  connect(m_help, &QPushButton::clicked, this, [this] {
    CHelp(this).exec();
    afterGuardMessage();
  });
  connect(m_back, &QPushButton::clicked, this, &SearchFrame::back);
  connect(m_next, &QPushButton::clicked, this, &SearchFrame::next);
  return row;
}

QLabel* SearchFrame::heading() const { return m_heading; }
QString SearchFrame::hintText() const { return m_hint->text(); }
QWidget* SearchFrame::progressArea() const { return m_progressGroup; }

// ---- drive tree -------------------------------------------------------

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
    auto listing = listOffThread(modeName, true);
    if (!listing || listing->tree.childCount(listing->tree.logicalDrives()) == 0) {
      m_list->hide();
      return false;
    }
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

// ---- commands -----------------------------------------------------------

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
  if (m_activity.resultCount == 0) {
    MessageService::information(this, texts::kSaveNoResult);
  } else if (m_activity.scanRunning || m_activity.listingRunning) {
    MessageService::information(this, texts::kSaveScanRunning);
  } else {
    return;  // saving arrives with the writers
  }
  afterGuardMessage();
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

// ---- phases -------------------------------------------------------------

QList<controls::ListColumn> SearchFrame::contentColumns() const {
  return {{QStringLiteral("Name"), 145},
          {QStringLiteral("Type"), 60},
          {QStringLiteral("Size"), 60},
          {QStringLiteral("Date"), 60},
          {QStringLiteral("Time"), 60},
          {QStringLiteral("SelfCluster-Debug Info 1"), 0, true},
          {QStringLiteral("ParentCluster-Debug Info 2"), 0, true},
          {QStringLiteral("TreeItem-Debug Info 3"), 0, true},
          {QStringLiteral("SFN"), 0, true}};
}

void SearchFrame::enterDriveSelectionPhase() {
  m_phase = Phase::DriveSelection;
  m_treeStack->setCurrentWidget(m_driveTree);
  setNameValueColumns(325);
  m_heading->setText(texts::kSelectDriveHeading);
  m_heading->show();
  m_extraWidget->show();
  m_progressGroup->hide();
  m_stop->hide();
  m_countLine->hide();
  m_currentFolder->hide();
  m_hint->setText(texts::kHintDriveSelection);
  for (auto* button : {m_refresh, m_searchMore, m_back, m_next}) button->setEnabled(true);
  m_next->show();
}

void SearchFrame::enterScanningPhase() {
  m_phase = Phase::Scanning;
  m_treeStack->setCurrentWidget(m_resultTree);
  m_resultTree->setEnabled(true);
  m_list->setColumns(contentColumns());
  m_heading->hide();
  m_extraWidget->hide();
  m_progressGroup->show();
  m_stop->show();
  m_progressText->setText(texts::kValidatingPartition);
  m_progressBar->setValue(0);
  for (auto* button : {m_refresh, m_searchMore, m_back, m_next}) button->setEnabled(false);
  m_hint->setText(texts::kHintScanning);
  m_stopFlag = false;
  ++m_activity.resultCount;
}

void SearchFrame::enterResultsPhase() {
  m_phase = Phase::Results;
  m_progressGroup->hide();
  m_stop->hide();
  m_resultTree->setEnabled(true);
  if (m_resultTree->topLevelItemCount() > 0) m_resultTree->setCurrentItem(m_resultTree->topLevelItem(0));
  m_countLine->show();
  m_currentFolder->show();
  m_back->setEnabled(true);
  m_next->setEnabled(false);
  m_hint->setText(texts::kHintResults);
}

void SearchFrame::clearResult() {
  m_resultTree->clear();
  m_list->clearRows();
  m_activity.resultCount = 0;
  m_activity.logLoaded = false;
  m_lastScanStart.reset();
  m_countLine->clear();
}

// ---- closing and keys ---------------------------------------------------

void SearchFrame::closeEvent(QCloseEvent* event) {
  event->ignore();
  if (isMinimized()) showNormal();
  const auto& a = m_activity;
  if (a.resultCount != 0 && !a.logLoaded && !a.scanRunning && !a.logLoaderRunning &&
      MessageService::question(this, texts::kSaveLogQuestion, controls::MessageAnswer::Yes)) {
    saveLog();
  }
  if (!MessageService::question(this, texts::exitQuestion())) return;
  m_stopFlag = true;
  event->accept();
  emit exitRequested();
}

void SearchFrame::keyPressEvent(QKeyEvent* event) {
  const int key = event->key();
  // Neither Escape nor Enter may end the window; Ctrl+Break neither.
  if (key == Qt::Key_Escape || key == Qt::Key_Return || key == Qt::Key_Enter ||
      (key == Qt::Key_Pause && (event->modifiers() & Qt::ControlModifier) != 0)) {
    event->accept();
    return;
  }
  if (key == Qt::Key_F1) {
    CHelp(this).exec();
    afterGuardMessage();
    return;
  }
  QDialog::keyPressEvent(event);
}

void SearchFrame::reject() {}

}  // namespace dravel::app
