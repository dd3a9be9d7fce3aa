#pragma once
// What the user does with a shown result besides browsing it: Save from the
// button or the result tree's menu (the checked folders), Save and Save All
// from the content list's menu (its selected rows), and Open from the
// content list's menu or a double-click. Guards first, then the save or
// open command. The Basic and Deep Search windows each own one.

#include <QObject>
#include <functional>
#include <memory>

#include "OpenCommand.h"
#include "SaveCommand.h"

class QMenu;
class QTreeWidgetItem;

namespace dravel::app {

class ResultBrowser;
class ResultTreeView;
class SearchFrame;

// The checked folders of a result tree as a save request: a checked folder
// whole, a partly checked one only through its checked descendants.
[[nodiscard]] results::SaveRequest checkedFolders(const ResultTreeView& view);

class ResultCommands : public QObject {
  Q_OBJECT
 public:
  // The result being shown; nullptr when there is none.
  using ResultSource = std::function<std::shared_ptr<results::RecoveredResult>()>;

  ResultCommands(SearchFrame& frame, ResultTreeView& view, ResultBrowser& browser, ResultSource result);
  ~ResultCommands() override;

  // The Save button and "Save" of the tree's menu (the frame's guards passed).
  void saveChecked();
  // "Save" and "Save All" of the content list's menu.
  void saveSelectedRows();
  void saveAllRows();
  // A double-click or "Open" on a content row.
  void openRow(QTreeWidgetItem* item);

  // Stops and waits for a save or an Open (the window is going).
  void shutdown();

  [[nodiscard]] SaveCommand& saveCommand() { return m_save; }
  [[nodiscard]] OpenCommand& openCommand() { return m_open; }
  // The context menus, as they pop up ("Save"; "Open", "Save", "Save All").
  [[nodiscard]] QMenu* treeMenu() const { return m_treeMenu.get(); }
  [[nodiscard]] QMenu* listMenu() const { return m_listMenu.get(); }

 private:
  [[nodiscard]] bool busy() const;
  [[nodiscard]] bool resultShown() const;
  void showTreeMenu(const QPoint& position);
  void showListMenu(const QPoint& position);

  SearchFrame& m_frame;
  ResultTreeView& m_view;
  ResultBrowser& m_browser;
  ResultSource m_result;
  SaveCommand m_save;
  OpenCommand m_open;
  std::unique_ptr<QMenu> m_treeMenu;
  std::unique_ptr<QMenu> m_listMenu;
};

}  // namespace dravel::app
