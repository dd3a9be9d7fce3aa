#include "SearchFrame.h"

#include <QApplication>
#include <QCloseEvent>
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
#include "DialogParts.h"
#include "FontSet.h"
#include "FrameTexts.h"
#include "controls/CColorStatic.h"
#include "controls/CTreeClass.h"
#include "controls/MessageService.h"

namespace dravel::app {
namespace {

using controls::MessageService;

QPushButton* makeButton(const QString& text, const char* name, QWidget* parent) {
  auto* button = new QPushButton(text, parent);
  button->setObjectName(QString::fromLatin1(name));
  button->setAutoDefault(false);
  return button;
}

}  // namespace

SearchFrame::SearchFrame(storage::RecoveryMode mode, const QString& title, QWidget* parent)
    : QDialog(parent), m_mode(mode) {
  setWindowTitle(title);
  setObjectName(title);
  buildLayout();
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

void SearchFrame::buildLayout() {
  resize(940, 620);
  auto* outer = new QVBoxLayout(this);

  outer->addWidget(parts::titleBand(this));

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
  m_currentFolderPath = new QLabel(m_currentFolder);
  m_currentFolderPath->setObjectName(QStringLiteral("currentFolderPath"));
  m_currentFolderPath->setTextFormat(Qt::PlainText);
  folderLayout->addWidget(m_currentFolderPath);
  m_problems = new QLabel(right);
  m_problems->setObjectName(QStringLiteral("deviceProblems"));
  m_problems->setWordWrap(true);
  m_problems->setTextFormat(Qt::PlainText);
  m_problems->setStyleSheet(QStringLiteral("color: #8a4b00;"));
  m_problems->hide();
  rightLayout->addWidget(m_heading);
  rightLayout->addWidget(m_problems);
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
  // Folders appear while the scan runs, but ticks and selections wait for the
  // finished result: the tree is drawn again from it when the scan ends.
  m_resultTree->setEnabled(false);
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
  m_currentFolderPath->clear();
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
