#include "CDravelDlg.h"

#include <QApplication>
#include <QCloseEvent>
#include <QFile>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>
#include <QStyle>
#include <QTimer>
#include <QVBoxLayout>

#include "CAbout_Dlg.h"
#include "CBasicSearch.h"
#include "CDeepSearch.h"
#include "CHelp.h"
#include "CModeless1.h"
#include "DialogParts.h"
#include "FontSet.h"
#include "FrameTexts.h"
#include "ProgressService.h"
#include "WaitWindow.h"
#include "controls/MessageService.h"
#include "platform/System.h"
#include "platform/TemporaryCopies.h"

namespace dravel::app {
namespace {

using controls::MessageService;
using storage::RecoveryMode;

constexpr int kLoadingTickMs = 80;

int slot(RecoveryMode mode) { return static_cast<int>(mode) - 1; }

void centreOn(QWidget* window, const QWidget* over) {
  const QRect area = over != nullptr && over->isVisible() ? over->frameGeometry()
                     : window->screen() != nullptr    ? window->screen()->availableGeometry()
                                                       : QRect();
  if (area.isValid()) window->move(area.center() - window->rect().center());
}

}  // namespace

CDravelDlg::CDravelDlg(QWidget* parent) : QDialog(parent) {
  setWindowTitle(productTitle());
  setObjectName(QStringLiteral("CDravelDlg"));
  setWindowIcon(style()->standardIcon(QStyle::SP_DriveHDIcon));
  buildLayout();
  WaitWindow::setMainWindow(this);
  m_loadingTimer = new QTimer(this);
  m_loadingTimer->setInterval(kLoadingTickMs);
  connect(m_loadingTimer, &QTimer::timeout, this, [this] {
    ++m_loadingTicks;
    if (m_loading) ProgressService::step(m_loading->progressBar(), 0, 100, static_cast<std::uint64_t>(m_loadingTicks));
  });
}

CDravelDlg::~CDravelDlg() { delete m_searchWindow; }

QWidget* CDravelDlg::buildModeEntry(RecoveryMode mode, const QString& label, const QString& description,
                                    const QString& toolTip, const char* name) {
  auto* entry = new QFrame(this);
  entry->setFrameShape(QFrame::StyledPanel);
  auto* layout = new QHBoxLayout(entry);
  auto* button = new QPushButton(label, entry);
  button->setObjectName(QString::fromLatin1(name));
  button->setToolTip(toolTip);
  button->setAutoDefault(false);
  button->setMinimumSize(170, 44);
  button->setFont(sharedFont(1));
  button->setIcon(style()->standardIcon(mode == RecoveryMode::Deep ? QStyle::SP_FileDialogDetailedView
                                        : mode == RecoveryMode::Basic ? QStyle::SP_FileDialogContentsView
                                                                      : QStyle::SP_FileDialogInfoView));
  auto* text = new QLabel(description, entry);
  text->setWordWrap(true);
  layout->addWidget(button);
  layout->addWidget(text, 1);
  m_modeButtons[slot(mode)] = button;
  connect(button, &QPushButton::clicked, this, [this, mode] { launch(mode); });
  return entry;
}

void CDravelDlg::buildLayout() {
  resize(720, 400);
  auto* outer = new QVBoxLayout(this);
  outer->addWidget(parts::titleBand(this));

  auto* caption = new QLabel(QStringLiteral("Select a recovery mode"), this);
  caption->setFont(sharedFont(8));
  outer->addWidget(caption);
  outer->addWidget(buildModeEntry(
      RecoveryMode::Basic, QStringLiteral("Basic Search"),
      QStringLiteral("Basic Search is quick and recovers data in most common data loss cases on the basis of "
                     "fundamental partition parameters."),
      QStringLiteral("Start with 'Basic Search' mode"), "basicSearch"));
  outer->addWidget(buildModeEntry(
      RecoveryMode::Deep, QStringLiteral("Deep Search"),
      QStringLiteral("Deep Search thoroughly scans the storage media to recover data even in complicated data loss "
                     "cases. Deep Search may be slower than Basic Search."),
      QStringLiteral("Start with 'Deep Search' mode"), "deepSearch"));
  auto* photo = buildModeEntry(
      RecoveryMode::Photo, QStringLiteral("Photo Search"),
      QStringLiteral("This mode uses signature search algorithm to find individual photo file regardless of file "
                     "system structure of storage media."),
      QStringLiteral("Start with 'Photo Search' mode"), "photoSearch");
  auto* video = buildModeEntry(
      RecoveryMode::Video, QStringLiteral("Video Search"),
      QStringLiteral("Video Search mode searched for lost videos using signature search algorithm regardless of file "
                     "system structure of storage media."),
      QStringLiteral("Start with 'Video Search' mode"), "videoSearch");
  // Created, but not offered.
  photo->hide();
  video->hide();
  outer->addWidget(photo);
  outer->addWidget(video);
  outer->addWidget(buildModeEntry(
      RecoveryMode::Signature, QStringLiteral("Signature Search"),
      QStringLiteral("This mode uses signature search algorithm to find different file types regardless of file "
                     "system structure of storage media."),
      QStringLiteral("Start with 'Signature Search' mode"), "signatureSearch"));
  outer->addStretch(1);

  auto* row = new QHBoxLayout;
  auto* about = new QPushButton(QStringLiteral("About Us"), this);
  auto* help = new QPushButton(QStringLiteral("Need Help"), this);
  auto* exit = new QPushButton(QStringLiteral("Exit"), this);
  about->setObjectName(QStringLiteral("aboutUs"));
  help->setObjectName(QStringLiteral("needHelp"));
  exit->setObjectName(QStringLiteral("exit"));
  help->setIcon(style()->standardIcon(QStyle::SP_MessageBoxQuestion));
  exit->setIcon(style()->standardIcon(QStyle::SP_DialogCloseButton));
  for (auto* b : {about, help, exit}) b->setAutoDefault(false);
  row->addWidget(about);
  row->addWidget(help);
  row->addStretch(1);
  row->addWidget(exit);
  outer->addLayout(row);
  connect(about, &QPushButton::clicked, this, [this] { CAbout_Dlg(this).exec(); });
  connect(help, &QPushButton::clicked, this, [this] { CHelp(this).exec(); });
  connect(exit, &QPushButton::clicked, this, [this] { exitSequence(); });
}

QPushButton* CDravelDlg::modeButton(RecoveryMode mode) const { return m_modeButtons[slot(mode)]; }

// ---- window launch ------------------------------------------------------

void CDravelDlg::launch(RecoveryMode mode) {
  if (m_logLoading || m_launching || m_searchWindow) return;
  m_mode = mode;
  if (mode != RecoveryMode::Basic && mode != RecoveryMode::Deep) {
    MessageService::information(this, storage::recoveryModeName(mode).c_str() +
                                          QStringLiteral(" is not available in this version."));
    return;
  }
  m_launching = true;
  m_commandLineLog.clear();
  m_loading = new CModeless1(this);
  m_loading->setAttribute(Qt::WA_DeleteOnClose);
  centreOn(m_loading, this);
  m_loadingTicks = 0;
  ProgressService::start(m_loading->progressBar(), 0, 100, 2);
  m_loading->show();
  m_loading->raise();
  m_loadingTimer->start();
  // Let the loading window paint before the search window is built.
  QTimer::singleShot(0, this, &CDravelDlg::openSearchWindow);
}

void CDravelDlg::openSearchWindow() {
  SearchFrame* window = nullptr;
  if (m_mode == RecoveryMode::Deep)
    window = new CDeepSearch;
  else
    window = new CBasicSearch;
  m_searchWindow = window;
  connect(window, &SearchFrame::returnedToMainWindow, this, &CDravelDlg::searchWindowBack);
  connect(window, &SearchFrame::exitRequested, this, &CDravelDlg::finishExit);
  centreOn(window, this);
  window->show();
  hide();
  m_loadingTimer->stop();
  if (m_loading) m_loading->close();
  m_launching = false;
  window->fillTree();
  emit searchWindowOpened(window);
}

void CDravelDlg::searchWindowBack() {
  if (m_searchWindow) m_searchWindow->deleteLater();
  m_searchWindow = nullptr;
  showNormal();
  setEnabled(!m_logLoading);
  centreOn(this, nullptr);
  raise();
  emit searchWindowClosed();
}

// ---- command-line log ---------------------------------------------------

void CDravelDlg::openCommandLineLog() {
  if (m_commandLineLog.isEmpty()) return;
  QFile log(m_commandLineLog);
  if (!log.open(QIODevice::ReadOnly)) {
    // A log that cannot be opened ends the program without a word.
    emit exitConfirmed();
    return;
  }
  m_commandLineLog.clear();
  MessageService::information(this, texts::kLogsNotYet);
}

// ---- exit ---------------------------------------------------------------

bool CDravelDlg::exitSequence() {
  if (isMinimized()) showNormal();
  if (!MessageService::question(this, texts::exitQuestion())) return false;
  finishExit();
  return true;
}

void CDravelDlg::finishExit() {
  // Only our own folder: the shared temporary folder holds other programs' files.
  platform::removeTemporaryCopies(platform::temporaryCopiesFolder(platform::temporaryFolder()));
  emit exitConfirmed();
}

void CDravelDlg::closeEvent(QCloseEvent* event) {
  event->ignore();
  exitSequence();
}

void CDravelDlg::keyPressEvent(QKeyEvent* event) {
  const int key = event->key();
  if (key == Qt::Key_Escape || (key == Qt::Key_Pause && (event->modifiers() & Qt::ControlModifier) != 0)) {
    event->accept();
    return;
  }
  if (key == Qt::Key_F1) {
    CHelp(this).exec();
    return;
  }
  QDialog::keyPressEvent(event);
}

void CDravelDlg::reject() {}

}  // namespace dravel::app
