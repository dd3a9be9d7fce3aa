#include "ResultCommands.h"

#include <QMenu>
#include <QTreeWidgetItem>
#include <algorithm>

#include "ContentListRows.h"
#include "FrameTexts.h"
#include "ResultBrowser.h"
#include "ResultTreeView.h"
#include "SearchFrame.h"
#include "controls/CTreeClass.h"
#include "controls/MessageService.h"

namespace dravel::app {
namespace {

void addCheckedBelow(const controls::CTreeClass& tree, QTreeWidgetItem* item, results::SaveRequest& request) {
  switch (tree.checkState(item)) {
    case Qt::Checked: request.wholeFolders.push_back(ResultTreeView::nodeOf(item)); return;
    case Qt::PartiallyChecked:
      for (int i = 0; i < item->childCount(); ++i) addCheckedBelow(tree, item->child(i), request);
      return;
    case Qt::Unchecked: return;
  }
}

bool hasCheckBox(const QTreeWidgetItem* item) { return item->data(0, Qt::CheckStateRole).isValid(); }

}  // namespace

results::SaveRequest checkedFolders(const ResultTreeView& view) {
  results::SaveRequest request;
  const auto* tree = view.tree();
  for (int i = 0; i < tree->topLevelItemCount(); ++i) addCheckedBelow(*tree, tree->topLevelItem(i), request);
  return request;
}

ResultCommands::ResultCommands(SearchFrame& frame, ResultTreeView& view, ResultBrowser& browser,
                               ResultSource result)
    : m_frame(frame), m_view(view), m_browser(browser), m_result(std::move(result)), m_save(frame), m_open(frame),
      m_treeMenu(std::make_unique<QMenu>()), m_listMenu(std::make_unique<QMenu>()) {
  auto* tree = m_view.tree();
  auto* list = m_frame.infoList();
  m_treeMenu->addAction(QStringLiteral("Save"), &m_frame, &SearchFrame::save);
  m_listMenu->addAction(QStringLiteral("Open"), this, [this] { openRow(m_frame.infoList()->currentItem()); });
  m_listMenu->addSeparator();
  m_listMenu->addAction(QStringLiteral("Save"), this, &ResultCommands::saveSelectedRows);
  m_listMenu->addAction(QStringLiteral("Save All"), this, &ResultCommands::saveAllRows);

  tree->setContextMenuPolicy(Qt::CustomContextMenu);
  list->setContextMenuPolicy(Qt::CustomContextMenu);
  list->setSelectionMode(QAbstractItemView::ExtendedSelection);
  connect(tree, &QWidget::customContextMenuRequested, this, &ResultCommands::showTreeMenu);
  connect(list, &QWidget::customContextMenuRequested, this, &ResultCommands::showListMenu);
  connect(list, &QTreeWidget::itemDoubleClicked, this, [this](QTreeWidgetItem* item) { openRow(item); });
}

ResultCommands::~ResultCommands() { shutdown(); }

void ResultCommands::shutdown() {
  m_save.shutdown();
  m_open.shutdown();
}

bool ResultCommands::busy() const { return m_save.running() || m_open.running(); }

bool ResultCommands::resultShown() const {
  return m_frame.phase() == Phase::Results && m_frame.activity().resultCount != 0;
}

void ResultCommands::showTreeMenu(const QPoint& position) {
  if (!resultShown() || m_frame.activity().scanRunning) return;
  m_treeMenu->popup(m_view.tree()->viewport()->mapToGlobal(position));
}

void ResultCommands::showListMenu(const QPoint& position) {
  if (!resultShown() || m_browser.rowOf(m_frame.infoList()->currentItem()) == nullptr) return;
  m_listMenu->popup(m_frame.infoList()->viewport()->mapToGlobal(position));
}

// ---- save ---------------------------------------------------------------------

void ResultCommands::saveChecked() {
  if (busy()) return;
  const auto* root = m_view.tree()->topLevelItem(0);
  if (root == nullptr || !hasCheckBox(root) || m_view.tree()->checkState(root) == Qt::Unchecked) {
    controls::MessageService::information(&m_frame, texts::kNothingCheckedToSave);
    return;
  }
  (void)m_save.start(m_result(), checkedFolders(m_view));
}

void ResultCommands::saveSelectedRows() {
  if (!m_frame.saveAllowed() || busy()) return;
  std::vector<std::size_t> indices;
  for (const auto* item : m_frame.infoList()->selectedItems()) {
    if (m_browser.rowOf(item) != nullptr) indices.push_back(*contentRowIndex(item));
  }
  if (indices.empty()) return;
  std::sort(indices.begin(), indices.end());  // in the listing's order, not the order of the clicks
  results::SaveRequest request;
  request.rowsFolder = m_browser.listedNode();
  for (const std::size_t index : indices) request.rows.push_back(m_browser.rows()[index]);
  (void)m_save.start(m_result(), std::move(request));
}

void ResultCommands::saveAllRows() {
  m_frame.infoList()->selectAll();
  saveSelectedRows();
}

// ---- open -----------------------------------------------------------------------

void ResultCommands::openRow(QTreeWidgetItem* item) {
  const auto& activity = m_frame.activity();
  if (!resultShown() || activity.scanRunning || activity.listingRunning || busy()) return;
  const auto* row = m_browser.rowOf(item);
  if (row == nullptr) return;
  if (row->folder) {
    // The folder's tree item is selected, which lists it.
    if (auto* folder = m_view.itemOf(row->node)) {
      m_view.tree()->scrollToItem(folder);
      m_view.tree()->setCurrentItem(folder);
    }
    return;
  }
  (void)m_open.start(m_result(), *row);
}

}  // namespace dravel::app
