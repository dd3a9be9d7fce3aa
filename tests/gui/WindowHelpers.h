#pragma once
// Driving the search windows in tests: attach the fixture images, wait for
// the drive tree, select items by text, and answer modal dialogs.

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QDialog>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>
#include <functional>
#include <memory>

#include "app/SearchFrame.h"
#include "controls/CHideColumn.h"
#include "controls/CTreeClass.h"
#include "support/Fixtures.h"
#include "support/ScopedState.h"

namespace dravel::testing {

// A tree's item texts, one line each, indented two blanks per level.
inline QString renderTree(const QTreeWidget& tree) {
  QString out;
  std::function<void(const QTreeWidgetItem*, int)> walk = [&](const QTreeWidgetItem* item, int depth) {
    out += QString(depth * 2, QLatin1Char(' ')) + item->text(0) + QLatin1Char('\n');
    for (int i = 0; i < item->childCount(); ++i) walk(item->child(i), depth + 1);
  };
  for (int i = 0; i < tree.topLevelItemCount(); ++i) walk(tree.topLevelItem(i), 0);
  return out;
}


// The three project images, as disks 0 (sample), 1 (mbr-mixed) and 2 (gpt-mixed).
inline platform::DeviceOptions fixtureDevices() {
  platform::DeviceOptions options;
  options.imagesOnly = true;
  options.images = {test::fixtureImage("sample"), test::fixtureImage("mbr-mixed"), test::fixtureImage("gpt-mixed")};
  return options;
}

// Fills the window's drive tree and waits until it is shown.
inline void fillAndWait(app::SearchFrame& window) {
  QSignalSpy filled(&window, &app::SearchFrame::driveTreeFilled);
  window.fillTree();
  ASSERT_TRUE(filled.wait(20000)) << "the drive tree was not filled";
}

inline void selectDriveItem(app::SearchFrame& window, const QString& text) {
  const auto found = window.driveTree()->findItems(text, Qt::MatchExactly | Qt::MatchRecursive);
  ASSERT_FALSE(found.isEmpty()) << "no drive item " << text.toStdString();
  window.driveTree()->setCurrentItem(found.front());
}

// The first row-and-value pairs of the information list.
inline std::vector<std::pair<QString, QString>> infoRows(const app::SearchFrame& window) {
  std::vector<std::pair<QString, QString>> rows;
  for (int i = 0; i < window.infoList()->rowCount(); ++i)
    rows.emplace_back(window.infoList()->cellText(i, 0), window.infoList()->cellText(i, 1));
  return rows;
}

inline QPushButton* button(const QWidget& window, const char* name) {
  return window.findChild<QPushButton*>(QString::fromLatin1(name));
}

// Runs `answer` on the next modal dialog that opens (polling, since exec()
// blocks the caller); records the dialog's class name.
class ModalAnswer {
 public:
  explicit ModalAnswer(std::function<void(QDialog*)> answer) : m_answer(std::move(answer)) { poll(); }
  [[nodiscard]] QString seenClass() const { return m_class; }

 private:
  void poll() {
    QTimer::singleShot(20, [this] {
      auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
      if (dialog == nullptr) {
        if (++m_tries < 500) poll();
        return;
      }
      m_class = QString::fromLatin1(dialog->metaObject()->className());
      m_answer(dialog);
    });
  }
  std::function<void(QDialog*)> m_answer;
  QString m_class;
  int m_tries = 0;
};

inline void clickChild(QDialog* dialog, const char* name) {
  auto* b = dialog->findChild<QAbstractButton*>(QString::fromLatin1(name));
  ASSERT_NE(b, nullptr) << name;
  b->click();
}

}  // namespace dravel::testing
