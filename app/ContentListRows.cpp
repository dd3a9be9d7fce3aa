#include "ContentListRows.h"

#include <QApplication>
#include <QFileInfo>
#include <QHash>
#include <QMimeDatabase>
#include <QStyle>
#include <QTreeWidgetItem>

#include "controls/CHideColumn.h"

namespace dravel::app {
namespace {

constexpr int kRowIndexRole = Qt::UserRole + 1;

QString optionalNumber(const std::optional<std::uint64_t>& value) {
  return value ? QString::number(*value) : QString();
}

QIcon iconForExtension(const QString& extension) {
  // Looked up once per extension: a listing may hold thousands of files.
  static QHash<QString, QIcon> cache;
  if (const auto it = cache.constFind(extension); it != cache.constEnd()) return *it;
  const QIcon generic = QApplication::style()->standardIcon(QStyle::SP_FileIcon);
  QIcon icon = generic;
  if (!extension.isEmpty()) {
    const QMimeType type =
        QMimeDatabase().mimeTypeForFile(QStringLiteral("x.") + extension, QMimeDatabase::MatchExtension);
    if (type.isValid() && !type.isDefault())
      icon = QIcon::fromTheme(type.iconName(), QIcon::fromTheme(type.genericIconName(), generic));
  }
  cache.insert(extension, icon);
  return icon;
}

}  // namespace

QStringList contentCells(const results::ContentRow& row) {
  return {QString::fromStdString(row.name),
          QString::fromStdString(row.type),
          QString::number(row.size),
          QString::fromStdString(results::rowDateText(row)),
          QString::fromStdString(results::rowTimeText(row)),
          QString::number(row.debugSelf),
          optionalNumber(row.debugParent),
          optionalNumber(row.debugTreeItem),
          QString::fromStdString(row.shortName)};
}

QIcon contentIcon(const results::ContentRow& row) {
  if (row.folder) return QApplication::style()->standardIcon(QStyle::SP_DirIcon);
  return iconForExtension(QFileInfo(QString::fromStdString(row.name)).suffix().toLower());
}

void appendContentRows(controls::CHideColumn& list, const std::vector<results::ContentRow>& rows,
                       std::size_t firstIndex) {
  QList<QTreeWidgetItem*> items;
  items.reserve(static_cast<qsizetype>(rows.size()));
  std::size_t index = firstIndex;
  for (const auto& row : rows) {
    auto* item = new QTreeWidgetItem(contentCells(row));
    item->setIcon(0, contentIcon(row));
    item->setData(0, kRowIndexRole, QVariant::fromValue<qulonglong>(index++));
    items.append(item);
  }
  list.addTopLevelItems(items);
}

}  // namespace dravel::app

namespace dravel::app {

std::optional<std::size_t> contentRowIndex(const QTreeWidgetItem* item) {
  if (item == nullptr) return std::nullopt;
  const QVariant index = item->data(0, kRowIndexRole);
  if (!index.isValid()) return std::nullopt;
  return static_cast<std::size_t>(index.toULongLong());
}

}  // namespace dravel::app
