#include "OpenWithDialog.h"

#include <QBoxLayout>
#include <QFileDialog>
#include <QFileInfo>
#include <QIcon>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>

#include "DialogParts.h"
#include "controls/MessageService.h"

namespace dravel::app {
namespace {

constexpr int kExecRole = Qt::UserRole;

QIcon applicationIcon(const QString& icon, const QIcon& fallback) {
  if (icon.isEmpty()) return fallback;
  if (QFileInfo(icon).isAbsolute()) return QIcon(icon);
  return QIcon::fromTheme(icon, fallback);
}

}  // namespace

OpenWithDialog::OpenWithDialog(const QString& path, const QList<DesktopApplication>& applications, QWidget* parent)
    : QDialog(parent), m_path(path), m_filter(new QLineEdit(this)), m_list(new QListWidget(this)) {
  setWindowTitle(QStringLiteral("Open With"));
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(16, 16, 16, 12);
  layout->addWidget(parts::textLabel(
      this, QStringLiteral("Choose the program to open \u201c%1\u201d with:").arg(QFileInfo(path).fileName()),
      QStringLiteral("prompt")));
  m_filter->setObjectName(QStringLiteral("filter"));
  m_filter->setPlaceholderText(QStringLiteral("Type to filter"));
  m_filter->setClearButtonEnabled(true);
  layout->addWidget(m_filter);
  m_list->setObjectName(QStringLiteral("applications"));
  m_list->setIconSize(QSize(24, 24));
  const QIcon fallback = style()->standardIcon(QStyle::SP_FileIcon, nullptr, this);
  for (const auto& application : applications) {
    auto* item = new QListWidgetItem(applicationIcon(application.icon, fallback), application.name, m_list);
    item->setData(kExecRole, application.exec);
  }
  layout->addWidget(m_list, 1);

  auto* buttons = parts::buttonRow();
  auto* browseButton = parts::button(this, QStringLiteral("Browse..."), QStringLiteral("browse"));
  buttons->insertWidget(0, browseButton);  // left of the stretch
  m_open = parts::button(this, QStringLiteral("Open"), QStringLiteral("open"));
  m_open->setDefault(true);
  m_open->setEnabled(false);
  auto* cancel = parts::button(this, QStringLiteral("Cancel"), QStringLiteral("cancel"));
  buttons->addWidget(m_open);
  buttons->addWidget(cancel);
  layout->addLayout(buttons);

  connect(m_filter, &QLineEdit::textChanged, this, &OpenWithDialog::filter);
  connect(m_list, &QListWidget::currentItemChanged, this,
          [this](QListWidgetItem* current) { m_open->setEnabled(current != nullptr && !current->isHidden()); });
  connect(m_list, &QListWidget::itemActivated, this, &OpenWithDialog::acceptSelected);
  connect(m_open, &QPushButton::clicked, this, &OpenWithDialog::acceptSelected);
  connect(browseButton, &QPushButton::clicked, this, &OpenWithDialog::browse);
  connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
  resize(420, 460);
}

bool OpenWithDialog::chooseProgram(const QString& program) {
  const QFileInfo info(program);
  if (!info.isFile() || !info.isExecutable()) {
    controls::MessageService::information(this, QStringLiteral("The chosen file is not a program."));
    return false;
  }
  m_command = QStringList{info.absoluteFilePath(), m_path};
  accept();
  return true;
}

void OpenWithDialog::filter(const QString& text) {
  for (int row = 0; row < m_list->count(); ++row) {
    auto* item = m_list->item(row);
    item->setHidden(!item->text().contains(text, Qt::CaseInsensitive));
  }
  auto* current = m_list->currentItem();
  m_open->setEnabled(current != nullptr && !current->isHidden());
}

void OpenWithDialog::acceptSelected() {
  const auto* item = m_list->currentItem();
  if (item == nullptr || item->isHidden()) return;
  m_command = expandExec(item->data(kExecRole).toString(), m_path);
  if (!m_command.isEmpty()) accept();
}

void OpenWithDialog::browse() {
  const QString program =
      QFileDialog::getOpenFileName(this, QStringLiteral("Choose a Program"), QStringLiteral("/usr/bin"));
  if (!program.isEmpty()) chooseProgram(program);
}

}  // namespace dravel::app
