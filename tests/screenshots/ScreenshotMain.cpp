// Saves pictures of the main window and of the Basic and Deep Search windows
// with a disk image attached, and of a finished Basic Search of the first
// image's first partition, so the program can be seen without a display.
// Usage: dravel-screenshots OUTPUT_DIR IMAGE...

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QPushButton>
#include <QSignalSpy>
#include <QTreeWidget>
#include <cstdio>

#include "app/CBasicSearch.h"
#include "app/CDeepSearch.h"
#include "app/CDravelDlg.h"
#include "app/ResultBrowser.h"
#include "controls/CTreeClass.h"
#include "platform/DeviceNamespace.h"

namespace {

using dravel::app::SearchFrame;

bool saveShot(QWidget& window, const QDir& dir, const QString& name) {
  window.show();
  QApplication::processEvents();
  const QString path = dir.filePath(name);
  if (!window.grab().save(path)) {
    std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
    return false;
  }
  std::printf("%s\n", qPrintable(path));
  return true;
}

bool fillAndSelect(SearchFrame& window, const QString& itemText) {
  QSignalSpy filled(&window, &SearchFrame::driveTreeFilled);
  window.fillTree();
  if (!filled.wait(30000)) return false;
  const auto found = window.driveTree()->findItems(itemText, Qt::MatchExactly | Qt::MatchRecursive);
  if (found.isEmpty()) return false;
  window.driveTree()->setCurrentItem(found.front());
  return true;
}

// Next on the selected drive item, then the result with Root's listing.
bool runBasicSearch(dravel::app::CBasicSearch& window) {
  QSignalSpy listed(&window.resultBrowser(), &dravel::app::ResultBrowser::listingFinished);
  window.findChild<QPushButton*>(QStringLiteral("next"))->click();
  return listed.wait(120000);
}

}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  if (argc < 3) {
    std::fprintf(stderr, "usage: dravel-screenshots OUTPUT_DIR IMAGE...\n");
    return 2;
  }
  const QDir dir(QString::fromLocal8Bit(argv[1]));
  dravel::platform::DeviceOptions options;
  options.imagesOnly = true;
  for (int i = 2; i < argc; ++i) options.images.emplace_back(argv[i]);
  dravel::platform::setCurrentDevices(std::make_shared<dravel::platform::DeviceNamespace>(options));

  bool ok = true;
  dravel::app::CDravelDlg main;
  ok = saveShot(main, dir, QStringLiteral("main-window.png")) && ok;
  main.hide();

  dravel::app::CBasicSearch basic;
  basic.show();
  ok = fillAndSelect(basic, QStringLiteral("Partition - 2 ( FAT32 )")) && ok;
  ok = saveShot(basic, dir, QStringLiteral("basic-search.png")) && ok;
  basic.hide();

  // The sample's FAT32 partition, searched: Root's listing shows the deleted OLDLOG.TXT.
  dravel::app::CBasicSearch result;
  result.show();
  ok = fillAndSelect(result, QStringLiteral("Partition - 1 ( FAT32 )")) && runBasicSearch(result) && ok;
  ok = saveShot(result, dir, QStringLiteral("basic-search-result.png")) && ok;
  result.hide();

  dravel::app::CDeepSearch deep;
  deep.show();
  ok = fillAndSelect(deep, QStringLiteral("Partition - 3 ( NTFS )")) && ok;
  ok = saveShot(deep, dir, QStringLiteral("deep-search.png")) && ok;
  return ok ? 0 : 1;
}
