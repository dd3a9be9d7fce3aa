#include "CBasicSearch.h"

namespace dravel::app {

CBasicSearch::CBasicSearch(QWidget* parent)
    : SearchFrame(storage::RecoveryMode::Basic, QStringLiteral("Basic Search"), parent) {}

void CBasicSearch::startFromSelection() {
  auto start = takeSelection(true, true);
  if (!start) return;
  setLastScanStart(*start);
  emit scanRequested();
  startRun(*start);
}

}  // namespace dravel::app
