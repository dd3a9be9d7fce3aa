#pragma once
// Browsing a scan's result in a search window: selecting a folder of the
// result tree lists its content on a worker behind the populating window,
// and expanding a folder for the first time names its child folders. The
// window hands in where listings come from once its result is shown.

#include <QObject>
#include <atomic>
#include <functional>
#include <memory>
#include <vector>

#include "ListingWorker.h"

class QTreeWidgetItem;

namespace dravel::app {

class CPopulate;
class ResultTreeView;
class SearchFrame;

class ResultBrowser : public QObject {
  Q_OBJECT
 public:
  // What a result is listed from (both may block the caller briefly; list
  // runs on the listing thread, expand on the GUI thread).
  struct Source {
    std::function<void(results::NodeId, const std::atomic<bool>&, basic::ListingSink*)> expand;
    std::function<bool(results::NodeId, const std::atomic<bool>&, basic::ListingSink&)> list;
  };

  ResultBrowser(SearchFrame& frame, ResultTreeView& view);
  ~ResultBrowser() override;

  // A new scan starts: nothing to list, nothing listed, the list and the
  // count line empty.
  void reset();
  // The result is shown: listings come from `source`. What the window has
  // to tell about the result (a message, the nothing-found advice) waits
  // for the end of the first listing, when the window is enabled again.
  void resultReady(Source source, std::function<void()> afterFirstListing);

  // Cancels a running listing and waits for it (the window is going).
  void shutdown();

  // Null before the first listing.
  [[nodiscard]] CPopulate* populatingWindow() const { return m_populate.get(); }
  // The rows the content list shows, in its order.
  [[nodiscard]] const std::vector<results::ContentRow>& rows() const { return m_rows; }
  [[nodiscard]] results::NodeId listedNode() const { return m_listed; }
  // The row an item of the content list shows; nullptr for anything else.
  [[nodiscard]] const results::ContentRow* rowOf(const QTreeWidgetItem* item) const;

 signals:
  void listingStarted(results::NodeId node);
  // After the populating window closed and the window was enabled again
  // (and after what the window told about the result).
  void listingFinished(bool complete);

 private:
  void selectionChanged(QTreeWidgetItem* current);
  void keepListedItemSelected();
  void itemExpanded(QTreeWidgetItem* item);
  void startListing(QTreeWidgetItem* item);
  void clearListing();
  void applyBatch(const ListingBatch& batch);
  void listingEnded(bool complete);
  void showCounts();

  SearchFrame& m_frame;
  ResultTreeView& m_view;
  ListingWorker m_worker;
  std::unique_ptr<CPopulate> m_populate;
  Source m_source;
  std::function<void()> m_afterFirstListing;
  results::NodeId m_listed = results::kNoNode;  // whose content the list shows
  std::uint64_t m_folderCount = 0;
  std::uint64_t m_fileCount = 0;
  std::vector<results::ContentRow> m_rows;
};

}  // namespace dravel::app
