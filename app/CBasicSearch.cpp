#include "CBasicSearch.h"

#include <QLabel>
#include <QSignalBlocker>

#include "CMsgStand.h"
#include "FrameTexts.h"
#include "ResultBrowser.h"
#include "ResultCommands.h"
#include "ResultTreeView.h"
#include "ScanProgressPanel.h"
#include "ScanWorker.h"
#include "controls/CTreeClass.h"
#include "controls/MessageService.h"

namespace dravel::app {
namespace {

CBasicSearch::EngineFactory& engineFactory() {
  static CBasicSearch::EngineFactory factory;
  return factory;
}

std::unique_ptr<basic::BasicSearch> makeEngine(const basic::ScanInput& input) {
  if (const auto& factory = engineFactory()) return factory(input);
  return basic::BasicSearch::create(input);
}

}  // namespace

CBasicSearch::CBasicSearch(QWidget* parent)
    : SearchFrame(storage::RecoveryMode::Basic, QStringLiteral("Basic Search"), parent),
      m_view(std::make_unique<ResultTreeView>(resultTree())),
      m_browser(std::make_unique<ResultBrowser>(*this, *m_view)),
      m_commands(std::make_unique<ResultCommands>(
          *this, *m_view, *m_browser, [this] { return std::shared_ptr<results::RecoveredResult>(m_engine); })),
      m_scanWorker(std::make_unique<ScanWorker>()),
      m_progress(new ScanProgressPanel(*this)) {
  connect(m_scanWorker.get(), &ScanWorker::stageChanged, m_progress, &ScanProgressPanel::stage);
  connect(m_scanWorker.get(), &ScanWorker::totalChanged, m_progress, &ScanProgressPanel::total);
  connect(m_scanWorker.get(), &ScanWorker::positionChanged, m_progress, &ScanProgressPanel::position);
  connect(m_scanWorker.get(), &ScanWorker::foldersInserted, this, &CBasicSearch::showFolders);
  connect(m_scanWorker.get(), &ScanWorker::ended, this, &CBasicSearch::scanEnded);
}

CBasicSearch::~CBasicSearch() {
  m_stopFlag = true;
  m_commands->shutdown();
  m_browser->shutdown();
  // The stop thread waits for the scan inside stopScan(), which uses this
  // window's members: both end before any of them goes.
  waitForStopThread();
  m_scanWorker->waitUntilEnded();
  m_scanWorker.reset();
}

void CBasicSearch::setEngineFactory(EngineFactory factory) { engineFactory() = std::move(factory); }

void CBasicSearch::startFromSelection() {
  auto start = takeSelection(true, true);
  if (!start) return;
  setLastScanStart(*start);
  emit scanRequested();
  startRun(*start);
}

bool CBasicSearch::startRun(const partitions::ScanStart& start) {
  const auto& record = start.record;
  const basic::ScanInput input{record.devicePath, record.fileSystemName, record.firstSector, record.endSector};
  std::shared_ptr<basic::BasicSearch> engine = makeEngine(input);
  if (!engine) {
    CMsgStand(this).exec();
    return false;
  }
  // A result of an earlier run goes: its list, counters, flags and tree.
  m_browser->reset();
  m_nothingFound = false;
  m_outcome = {};
  m_view->clear();
  m_engine = std::move(engine);

  enterScanningPhase();  // also counts the result and lowers the stop flag
  m_progress->begin(texts::kBasicSearchMode, record.firstSector, record.endSector);
  activity().scanRunning = true;
  m_scanWorker->start([this, engine = m_engine](basic::ScanProgress& progress) {
    basic::ScanControl control(&m_stopFlag);
    try {
      m_outcome = engine->run(control, progress);
    } catch (const std::exception& error) {
      // An engine reports bad disk data as fewer results; this is a failure
      // of the machine (memory), said as such rather than ending the program.
      m_outcome.message = std::string("The scan ended early: ") + error.what();
    }
  });
  return true;
}

// The stop thread: the scan polls the stop flag (raised by the frame) and
// builds its tree from what it found; this waits until it has.
void CBasicSearch::stopScan() {
  QMetaObject::invokeMethod(
      this, [this] {
        if (!activity().scanRunning) return;  // the scan's end came first
        countLine()->setText(texts::kItMayTakeAWhile);
        countLine()->show();
      },
      Qt::QueuedConnection);
  m_scanWorker->waitUntilEnded();
}

void CBasicSearch::saveSelection() { m_commands->saveChecked(); }

void CBasicSearch::showFolders(const QList<InsertedFolder>& folders) {
  if (!activity().scanRunning) return;
  for (const auto& folder : folders) m_view->addLive(folder.node, folder.parent, folder.text);
}

// The scan's worker has ended (by itself or after Stop): the tree is drawn
// from the engine's final tree, and the result phase selects Root, which
// starts its listing.
void CBasicSearch::scanEnded() {
  m_nothingFound = m_outcome.nothingFound;
  m_engine->readTree([this](const results::ResultTree& tree) { m_view->rebuild(tree); });
  activity().scanRunning = false;

  const QString message = QString::fromStdString(m_outcome.message);
  const bool nothingFound = m_nothingFound;
  auto tell = [this, message, nothingFound] {
    if (!message.isEmpty()) controls::MessageService::information(this, message);
    if (nothingFound) CMsgStand(this).exec();
  };
  const bool listable = resultTree()->topLevelItemCount() > 0;
  auto engine = m_engine;
  ResultBrowser::Source source{
      [engine](results::NodeId node, const std::atomic<bool>& stop, basic::ListingSink* sink) {
        engine->expand(node, stop, sink);
      },
      [engine](results::NodeId node, const std::atomic<bool>& stop, basic::ListingSink& sink) {
        return engine->list(node, stop, sink);
      }};
  m_browser->resultReady(std::move(source), listable ? std::function<void()>(tell) : nullptr);
  {
    const QSignalBlocker quiet(resultTree());
    resultTree()->setCurrentItem(nullptr);
  }
  enterResultsPhase();
  if (!listable) tell();
}

}  // namespace dravel::app
