#include "ResultBrowser.h"

#include <QApplication>
#include <QLabel>
#include <QScrollBar>
#include <QSignalBlocker>

#include "CPopulate.h"
#include "ContentListRows.h"
#include "ResultTreeView.h"
#include "SearchFrame.h"
#include "controls/CTreeClass.h"

namespace dravel::app {
namespace {

// Renames from an expansion, which runs on the GUI thread, go straight to the tree.
class TreeRenames final : public basic::ListingSink {
 public:
  explicit TreeRenames(ResultTreeView& view) : m_view(view) {}
  void folderChanged(results::NodeId node, const std::string& name, bool deleted) override {
    m_view.folderChanged(node, QString::fromStdString(name), deleted);
  }
  void row(const results::ContentRow&) override {}

 private:
  ResultTreeView& m_view;
};

}  // namespace

ResultBrowser::ResultBrowser(SearchFrame& frame, ResultTreeView& view) : m_frame(frame), m_view(view) {
  auto* tree = m_view.tree();
  connect(tree, &QTreeWidget::currentItemChanged, this, [this](QTreeWidgetItem* current) { selectionChanged(current); });
  connect(tree, &QTreeWidget::itemExpanded, this, [this](QTreeWidgetItem* item) { itemExpanded(item); });
  connect(&m_worker, &ListingWorker::batchArrived, this, &ResultBrowser::applyBatch);
  connect(&m_worker, &ListingWorker::ended, this, &ResultBrowser::listingEnded);
}

ResultBrowser::~ResultBrowser() { shutdown(); }

void ResultBrowser::reset() {
  m_worker.cancelAndWait();
  m_source = {};
  m_afterFirstListing = nullptr;
  clearListing();
  m_frame.countLine()->clear();
}

void ResultBrowser::resultReady(Source source, std::function<void()> afterFirstListing) {
  m_source = std::move(source);
  m_afterFirstListing = std::move(afterFirstListing);
  m_listed = results::kNoNode;
}

void ResultBrowser::shutdown() {
  const bool wasRunning = m_worker.running();
  m_worker.cancelAndWait();
  if (!wasRunning) return;
  m_frame.activity().listingRunning = false;
  if (m_populate) m_populate->hide();
  QApplication::restoreOverrideCursor();
}

// ---- the result tree's notifications ------------------------------------

void ResultBrowser::selectionChanged(QTreeWidgetItem* current) {
  auto& activity = m_frame.activity();
  if (m_frame.fillRunning() || activity.partitionSearchRunning) return;
  if (m_worker.running() || activity.listingRunning) {
    keepListedItemSelected();
    return;
  }
  auto* tree = m_view.tree();
  if (activity.scanRunning) {
    const QSignalBlocker quiet(tree);
    tree->setCurrentItem(nullptr);
    tree->clearSelection();
    return;
  }
  if (current == nullptr || !m_source.list || activity.resultCount == 0) return;
  if (m_view.isRoot(current) && m_listed == ResultTreeView::nodeOf(current)) return;
  startListing(current);
}

// A click that arrives while a listing runs changes nothing, the selection included.
void ResultBrowser::keepListedItemSelected() {
  auto* tree = m_view.tree();
  const QSignalBlocker quiet(tree);
  tree->setCurrentItem(m_view.itemOf(m_listed));
}

void ResultBrowser::itemExpanded(QTreeWidgetItem* item) {
  const auto& activity = m_frame.activity();
  if (!m_source.expand || activity.scanRunning || activity.listingRunning || m_worker.running()) return;
  const std::atomic<bool> never{false};
  TreeRenames renames(m_view);
  m_source.expand(ResultTreeView::nodeOf(item), never, &renames);
}

// ---- a listing ----------------------------------------------------------

void ResultBrowser::startListing(QTreeWidgetItem* item) {
  QApplication::setOverrideCursor(Qt::WaitCursor);
  if (!m_populate) {
    m_populate = std::make_unique<CPopulate>();
    connect(m_populate.get(), &CPopulate::cancelRequested, &m_worker, &ListingWorker::cancel);
  }
  m_frame.setEnabled(false);
  m_populate->showOver(&m_frame);
  m_frame.activity().listingRunning = true;

  clearListing();
  auto* tree = m_view.tree();
  m_frame.currentFolderPath()->setText(tree->itemPath(item));
  m_listed = ResultTreeView::nodeOf(item);
  if (m_view.isRoot(item)) {
    tree->scrollToItem(item);
    tree->horizontalScrollBar()->setValue(0);
  }
  const results::NodeId node = m_listed;
  m_worker.start([list = m_source.list, node](const std::atomic<bool>& stop, basic::ListingSink& sink) {
    try {
      return list(node, stop, sink);
    } catch (const std::exception&) {
      return false;  // what was listed stays; the window must not go with the thread
    }
  });
  emit listingStarted(node);
}

void ResultBrowser::clearListing() {
  m_rows.clear();
  m_folderCount = 0;
  m_fileCount = 0;
  m_listed = results::kNoNode;
  m_frame.infoList()->clearRows();
  m_frame.currentFolderPath()->clear();
}

void ResultBrowser::applyBatch(const ListingBatch& batch) {
  for (const auto& change : batch.changes) m_view.folderChanged(change.node, change.name, change.deleted);
  appendContentRows(*m_frame.infoList(), batch.rows, m_rows.size());
  for (const auto& row : batch.rows) ++(row.folder ? m_folderCount : m_fileCount);
  m_rows.insert(m_rows.end(), batch.rows.begin(), batch.rows.end());
  showCounts();
}

void ResultBrowser::listingEnded(bool complete) {
  if (m_populate) m_populate->hide();
  m_frame.setEnabled(true);
  m_view.tree()->setEnabled(true);
  m_frame.activity().listingRunning = false;
  showCounts();
  QApplication::restoreOverrideCursor();
  if (auto tell = std::exchange(m_afterFirstListing, nullptr)) tell();
  emit listingFinished(complete);
}

const results::ContentRow* ResultBrowser::rowOf(const QTreeWidgetItem* item) const {
  const auto index = contentRowIndex(item);
  if (!index || *index >= m_rows.size() || item->treeWidget() != m_frame.infoList()) return nullptr;
  return &m_rows[*index];
}

void ResultBrowser::showCounts() {
  m_frame.countLine()->setText(QString::fromStdString(results::countLine(m_folderCount, m_fileCount)));
}

}  // namespace dravel::app
