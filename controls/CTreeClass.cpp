#include "CTreeClass.h"

#include <QHeaderView>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QStyle>
#include <QStyleOptionViewItem>

namespace dravel::controls {
namespace {

// Where an item's own colour is kept (the foreground role holds what is drawn).
constexpr int kStoredColourRole = Qt::UserRole + 0x7C1;
// Where an item's image index is kept (the decoration role holds the icon).
constexpr int kImageIndexRole = Qt::UserRole + 0x7C2;

bool isDefaultColour(const QColor& colour) { return !colour.isValid() || (colour.rgb() & 0xFFFFFF) == 0; }

}  // namespace

CTreeClass::CTreeClass(QWidget* parent) : QTreeWidget(parent) {
  setHeaderHidden(true);
  setColumnCount(1);
  connect(model(), &QAbstractItemModel::rowsInserted, this,
          [this](const QModelIndex& parentIndex, int first, int last) { rowsAdded(parentIndex, first, last); });
}

void CTreeClass::setItemColour(QTreeWidgetItem* item, const QColor& colour) {
  if (item == nullptr) return;
  if (isDefaultColour(colour)) {
    item->setData(0, kStoredColourRole, QVariant());
    item->setData(0, Qt::ForegroundRole, QVariant());
    return;
  }
  item->setData(0, kStoredColourRole, colour);
  // Dark green is drawn unless it is the default colour anyway; every other
  // stored colour is drawn in the default colour.
  const bool drawn = (colour.rgb() & 0xFFFFFF) == kDarkGreen &&
                     (palette().color(QPalette::Text).rgb() & 0xFFFFFF) != kDarkGreen;
  item->setData(0, Qt::ForegroundRole, drawn ? QVariant(QColor(kDarkGreen)) : QVariant());
}

QColor CTreeClass::itemColour(const QTreeWidgetItem* item) const {
  if (item == nullptr) return {};
  return item->data(0, kStoredColourRole).value<QColor>();
}

void CTreeClass::setItemFont(QTreeWidgetItem* item, const QFont& font) {
  if (item == nullptr) return;
  if (font.family().isEmpty())
    item->setData(0, Qt::FontRole, QVariant());
  else
    item->setFont(0, font);
}

// ---- images -------------------------------------------------------------

void CTreeClass::setImageList(const QList<QIcon>& images) { m_images = images; }

void CTreeClass::setItemImage(QTreeWidgetItem* item, int image) {
  if (item == nullptr) return;
  item->setData(0, kImageIndexRole, image);
  item->setIcon(0, image >= 0 && image < m_images.size() ? m_images[image] : QIcon());
}

int CTreeClass::itemImage(const QTreeWidgetItem* item) const {
  if (item == nullptr) return -1;
  const QVariant image = item->data(0, kImageIndexRole);
  return image.isValid() ? image.toInt() : -1;
}

// ---- check boxes --------------------------------------------------------

// The item shows a check box, unchecked unless it has a state already. The
// view never toggles it by itself (no ItemIsUserCheckable): every toggle
// goes through toggleCheck.
void CTreeClass::prepareCheckBoxes(QTreeWidgetItem* item) {
  if (!item->data(0, Qt::CheckStateRole).isValid()) item->setData(0, Qt::CheckStateRole, Qt::Unchecked);
  item->setFlags(item->flags() & ~(Qt::ItemIsUserCheckable | Qt::ItemIsAutoTristate | Qt::ItemIsUserTristate));
  for (int i = 0; i < item->childCount(); ++i) prepareCheckBoxes(item->child(i));
}

void CTreeClass::removeCheckBoxes(QTreeWidgetItem* item) {
  item->setData(0, Qt::CheckStateRole, QVariant());
  for (int i = 0; i < item->childCount(); ++i) removeCheckBoxes(item->child(i));
}

void CTreeClass::rowsAdded(const QModelIndex& parentIndex, int first, int last) {
  if (!m_checkBoxes) return;
  for (int row = first; row <= last; ++row)
    if (auto* item = itemFromIndex(model()->index(row, 0, parentIndex))) prepareCheckBoxes(item);
}

void CTreeClass::setCheckBoxesEnabled(bool enabled) {
  m_checkBoxes = enabled;
  for (int i = 0; i < topLevelItemCount(); ++i) {
    if (enabled)
      prepareCheckBoxes(topLevelItem(i));
    else
      removeCheckBoxes(topLevelItem(i));
  }
}

void CTreeClass::setCheckState(QTreeWidgetItem* item, Qt::CheckState state) {
  if (item != nullptr) item->setData(0, Qt::CheckStateRole, state);
}

void CTreeClass::setSubtreeCheckState(QTreeWidgetItem* item, Qt::CheckState state) {
  if (item == nullptr) return;
  setCheckState(item, state);
  for (int i = 0; i < item->childCount(); ++i) setSubtreeCheckState(item->child(i), state);
}

Qt::CheckState CTreeClass::checkState(const QTreeWidgetItem* item) const {
  if (item == nullptr) return Qt::Unchecked;
  return static_cast<Qt::CheckState>(item->data(0, Qt::CheckStateRole).toInt());
}

void CTreeClass::toggleCheck(QTreeWidgetItem* item) {
  if (item == nullptr) return;
  const Qt::CheckState state = checkState(item) == Qt::Checked ? Qt::Unchecked : Qt::Checked;
  setSubtreeCheckState(item, state);
  for (auto* ancestor = item->parent(); ancestor != nullptr; ancestor = ancestor->parent()) {
    bool all = true;
    for (int i = 0; i < ancestor->childCount() && all; ++i) all = checkState(ancestor->child(i)) == state;
    setCheckState(ancestor, all ? state : Qt::PartiallyChecked);
  }
}

// The item whose check box is under the point (viewport coordinates), if any.
QTreeWidgetItem* CTreeClass::checkBoxItemAt(const QPoint& viewportPos) const {
  if (!m_checkBoxes) return nullptr;
  const QModelIndex index = indexAt(viewportPos);
  if (!index.isValid() || index.column() != 0) return nullptr;
  auto* item = itemFromIndex(index);
  if (item == nullptr || !item->data(0, Qt::CheckStateRole).isValid()) return nullptr;
  QStyleOptionViewItem option;
  initViewItemOption(&option);
  option.rect = visualRect(index);
  option.index = index;
  option.features |= QStyleOptionViewItem::HasCheckIndicator | QStyleOptionViewItem::HasDisplay;
  option.checkState = checkState(item);
  option.text = item->text(0);
  if (!item->icon(0).isNull()) {
    option.features |= QStyleOptionViewItem::HasDecoration;
    option.icon = item->icon(0);
  }
  const QRect box = style()->subElementRect(QStyle::SE_ItemViewItemCheckIndicator, &option, this);
  return box.contains(viewportPos) ? item : nullptr;
}

// The check-box click: select the item, then toggle.
void CTreeClass::clickCheckBox(QTreeWidgetItem* item) {
  setCurrentItem(item);
  toggleCheck(item);
  emit checkToggled(item);
}

bool CTreeClass::takeCheckBoxClick(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton) return false;
  auto* item = checkBoxItemAt(event->position().toPoint());
  if (item == nullptr) return false;
  clickCheckBox(item);
  m_swallowRelease = true;
  event->accept();
  return true;
}

void CTreeClass::mousePressEvent(QMouseEvent* event) {
  if (!takeCheckBoxClick(event)) QTreeWidget::mousePressEvent(event);
}

// Two quick clicks on a check box are two toggles, not an expansion.
void CTreeClass::mouseDoubleClickEvent(QMouseEvent* event) {
  if (!takeCheckBoxClick(event)) QTreeWidget::mouseDoubleClickEvent(event);
}

void CTreeClass::mouseReleaseEvent(QMouseEvent* event) {
  if (m_swallowRelease && event->button() == Qt::LeftButton) {
    m_swallowRelease = false;
    event->accept();
    return;
  }
  QTreeWidget::mouseReleaseEvent(event);
}

void CTreeClass::keyPressEvent(QKeyEvent* event) {
  if (m_checkBoxes && (event->key() == Qt::Key_Space || event->key() == Qt::Key_Select) &&
      event->modifiers() == Qt::NoModifier) {
    auto* item = currentItem();
    if (item != nullptr && item->data(0, Qt::CheckStateRole).isValid()) {
      toggleCheck(item);
      emit checkToggled(item);
      event->accept();
      return;
    }
  }
  QTreeWidget::keyPressEvent(event);
}

// ---- paths --------------------------------------------------------------

QString CTreeClass::itemPath(const QTreeWidgetItem* item) const {
  QStringList parts;
  const QTreeWidgetItem* first = topLevelItem(0);
  for (auto* current = item; current != nullptr && current != first; current = current->parent())
    parts.prepend(current->text(0));
  return parts.join(QLatin1Char('\\'));
}

int CTreeClass::childCount(const QTreeWidgetItem* item) const { return item != nullptr ? item->childCount() : 0; }

}  // namespace dravel::controls
