#include "SaveWindows.h"

#include <QBoxLayout>
#include <QCheckBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QWindow>
#include <algorithm>

#include "DialogParts.h"
#include "FrameTexts.h"
#include "ProductInfo.h"
#include "storage/SizeText.h"

namespace dravel::app {
namespace {

constexpr int kBarSteps = 1000;

QString pathText(const std::filesystem::path& path) { return QString::fromStdString(path.string()); }

QLabel* valueLabel(QWidget* parent, const QString& objectName) {
  auto* label = new QLabel(QStringLiteral("0"), parent);
  label->setObjectName(objectName);
  return label;
}

QLineEdit* readOnlyField(QWidget* parent, const QString& objectName) {
  auto* field = new QLineEdit(parent);
  field->setObjectName(objectName);
  field->setReadOnly(true);
  return field;
}

QProgressBar* stepBar(QWidget* parent, const QString& objectName) {
  auto* bar = new QProgressBar(parent);
  bar->setObjectName(objectName);
  bar->setRange(0, kBarSteps);
  bar->setTextVisible(false);
  return bar;
}

// done / total in bar steps; a total of 0 shows an empty bar.
int steps(std::uint64_t done, std::uint64_t total) {
  if (total == 0) return 0;
  if (done >= total) return kBarSteps;
  return static_cast<int>(static_cast<double>(done) / static_cast<double>(total) * kBarSteps);
}

// A bar with its caption and "%llu / %llu" on one row of the grid.
void addBarRow(QGridLayout* grid, int row, const QString& caption, QProgressBar* bar, QLabel* count) {
  grid->addWidget(new QLabel(caption, grid->parentWidget()), row, 0);
  grid->addWidget(bar, row, 1);
  grid->addWidget(count, row, 2);
}

}  // namespace

void showAbove(QDialog* window, const QWidget* owner) {
  window->adjustSize();
  if (owner != nullptr) {
    QRect frame(QPoint(0, 0), window->size());
    frame.moveCenter(owner->window()->frameGeometry().center());
    window->move(frame.topLeft());
    window->winId();
    if (window->windowHandle() != nullptr)
      window->windowHandle()->setTransientParent(owner->window()->windowHandle());
  }
  window->show();
  window->raise();
  window->activateWindow();
}

// ---- counting -------------------------------------------------------------

CountingWindow::CountingWindow() {
  setWindowTitle(productTitle());
  setObjectName(QStringLiteral("countingWindow"));
  auto* buttons = parts::buttonRow();
  auto* body = parts::iconAndBody(this, QStyle::SP_FileDialogContentsView, buttons);
  body->addWidget(parts::textLabel(this, texts::kCalculatingTotals, QStringLiteral("text")));
  auto* form = new QFormLayout;
  m_files = valueLabel(this, QStringLiteral("totalFiles"));
  m_folders = valueLabel(this, QStringLiteral("totalFolders"));
  form->addRow(texts::kTotalFiles, m_files);
  form->addRow(texts::kTotalFolders, m_folders);
  body->addLayout(form);
  auto* stop = parts::button(this, QStringLiteral("Stop"), QStringLiteral("stop"));
  buttons->addWidget(stop);
  connect(stop, &QPushButton::clicked, this, &CountingWindow::stopRequested);
  setMinimumWidth(380);
}

void CountingWindow::setTotals(std::uint64_t files, std::uint64_t folders) {
  m_files->setText(QString::number(files));
  m_folders->setText(QString::number(folders));
}

void CountingWindow::reject() { emit stopRequested(); }

// ---- saving ---------------------------------------------------------------

SavingWindow::SavingWindow() {
  setWindowTitle(texts::kSavingFiles);
  setObjectName(QStringLiteral("savingWindow"));
  auto* outer = new QVBoxLayout(this);
  auto* form = new QFormLayout;
  m_fileName = readOnlyField(this, QStringLiteral("fileName"));
  m_filePath = readOnlyField(this, QStringLiteral("filePath"));
  form->addRow(texts::kFileNameField, m_fileName);
  form->addRow(texts::kFilePathField, m_filePath);
  outer->addLayout(form);

  auto* grid = new QGridLayout;
  outer->addLayout(grid);
  m_fileBar = stepBar(this, QStringLiteral("fileBar"));
  m_filesBar = stepBar(this, QStringLiteral("filesBar"));
  m_foldersBar = stepBar(this, QStringLiteral("foldersBar"));
  m_fileBytes = valueLabel(this, QStringLiteral("fileBytes"));
  m_filesCount = valueLabel(this, QStringLiteral("filesCount"));
  m_foldersCount = valueLabel(this, QStringLiteral("foldersCount"));
  addBarRow(grid, 0, texts::kRecoveredCurrentFile, m_fileBar, m_fileBytes);
  addBarRow(grid, 1, texts::kTotalFilesRecovered, m_filesBar, m_filesCount);
  addBarRow(grid, 2, texts::kTotalFoldersRecovered, m_foldersBar, m_foldersCount);

  m_gathering = parts::textLabel(this, texts::kGatheringClusters, QStringLiteral("gathering"));
  m_gathering->hide();
  outer->addWidget(m_gathering);

  auto* buttons = parts::buttonRow();
  auto* stop = parts::button(this, QStringLiteral("Stop"), QStringLiteral("stop"));
  auto* skip = parts::button(this, QStringLiteral("Skip"), QStringLiteral("skip"));
  buttons->addWidget(stop);
  buttons->addWidget(skip);
  outer->addLayout(buttons);
  connect(stop, &QPushButton::clicked, this, &SavingWindow::stopRequested);
  connect(skip, &QPushButton::clicked, this, &SavingWindow::skipRequested);
  setMinimumWidth(520);
  showReport(SaveReport{});
}

void SavingWindow::showReport(const SaveReport& report) {
  m_fileName->setText(report.fileName);
  m_filePath->setText(report.filePath);
  m_fileBytes->setText(texts::doneOfTotal(std::min(report.fileWritten, report.fileSize), report.fileSize));
  m_fileBar->setValue(steps(report.fileWritten, report.fileSize));
  m_filesCount->setText(texts::doneOfTotal(report.filesDone, report.filesTotal));
  m_filesBar->setValue(steps(report.filesDone, report.filesTotal));
  m_foldersCount->setText(texts::doneOfTotal(report.foldersDone, report.foldersTotal));
  m_foldersBar->setValue(steps(report.foldersDone, report.foldersTotal));
  m_gathering->setVisible(report.gathering);
}

void SavingWindow::reject() { emit stopRequested(); }

// ---- the file-exists question ---------------------------------------------

FileExistsDialog::FileExistsDialog(const std::filesystem::path& target, const std::filesystem::path& suggested)
    : m_target(target), m_suggested(suggested) {
  setWindowTitle(texts::kFileExistsTitle);
  setObjectName(QStringLiteral("fileExistsDialog"));
  setWindowModality(Qt::ApplicationModal);
  auto* buttons = parts::buttonRow();
  auto* body = parts::iconAndBody(this, QStyle::SP_MessageBoxInformation, buttons);
  auto* form = new QFormLayout;
  auto* existing = readOnlyField(this, QStringLiteral("fileName"));
  existing->setText(pathText(target));
  m_newName = new QLineEdit(pathText(suggested), this);
  m_newName->setObjectName(QStringLiteral("newFileName"));
  form->addRow(texts::kExistingFileName, existing);
  form->addRow(texts::kNewFileName, m_newName);
  body->addLayout(form);
  m_applyToAll = new QCheckBox(texts::kApplyToAll, this);
  m_applyToAll->setObjectName(QStringLiteral("applyToAll"));
  body->addWidget(m_applyToAll);

  const std::pair<const char*, results::ExistsChoice> choices[] = {{"Overwrite", results::ExistsChoice::Overwrite},
                                                                   {"Skip", results::ExistsChoice::Skip},
                                                                   {"Rename", results::ExistsChoice::Rename},
                                                                   {"Cancel", results::ExistsChoice::Cancel}};
  for (const auto& [text, choice] : choices) {
    const QString caption = QString::fromLatin1(text);
    auto* b = parts::button(this, caption, caption.toLower());
    buttons->addWidget(b);
    connect(b, &QPushButton::clicked, this, [this, choice] { answer(choice); });
  }
  setMinimumWidth(520);
}

void FileExistsDialog::answer(results::ExistsChoice choice) {
  if (m_done) return;
  m_done = true;
  m_answer.choice = choice;
  m_answer.applyToAll = choice != results::ExistsChoice::Cancel && m_applyToAll->isChecked();
  if (choice == results::ExistsChoice::Rename) {
    // A bare name stays beside the existing file; nothing typed keeps the suggestion.
    const std::filesystem::path typed(m_newName->text().trimmed().toStdString());
    if (typed.empty()) {
      m_answer.renameTo = m_suggested;
    } else {
      m_answer.renameTo = typed.is_absolute() ? typed : m_target.parent_path() / typed;
    }
  }
  hide();
  emit answered(m_answer);
}

// The close box cancels, as the Cancel button does.
void FileExistsDialog::reject() { answer(results::ExistsChoice::Cancel); }

// ---- opening ----------------------------------------------------------------

OpeningWindow::OpeningWindow(std::uint64_t size) {
  setWindowTitle(texts::kOpeningFile + QString::fromStdString(storage::formatSize(size)).trimmed());
  setObjectName(QStringLiteral("openingWindow"));
  auto* buttons = parts::buttonRow();
  auto* body = parts::iconAndBody(this, QStyle::SP_FileIcon, buttons);
  body->addWidget(parts::textLabel(this, texts::kOpeningTakesAWhile, QStringLiteral("text")));
  auto* busy = new QProgressBar(this);
  busy->setRange(0, 0);
  busy->setTextVisible(false);
  body->addWidget(busy);
  setMinimumWidth(340);
}

}  // namespace dravel::app
