#include "ProgressService.h"

#include <QProgressBar>

#include "common/ProgressMeter.h"

namespace dravel::app {
namespace {

// The meter rides on the bar as a child object, so it lives and dies with it.
class MeterHolder : public QObject {
 public:
  explicit MeterHolder(QProgressBar* bar) : QObject(bar) { setObjectName(name()); }
  static QString name() { return QStringLiteral("dravel.progressMeter"); }
  ProgressMeter meter;
};

ProgressMeter& meterOf(QProgressBar* bar) {
  auto* holder = dynamic_cast<MeterHolder*>(bar->findChild<QObject*>(MeterHolder::name(), Qt::FindDirectChildrenOnly));
  if (holder == nullptr) holder = new MeterHolder(bar);
  return holder->meter;
}

void apply(QProgressBar* bar, const ProgressMeter& meter) {
  if (bar->minimum() != meter.minimum() || bar->maximum() != meter.maximum()) {
    bar->setRange(meter.minimum(), meter.maximum());
  }
  bar->setValue(meter.position());
}

}  // namespace

void ProgressService::start(QProgressBar* bar, std::uint64_t low, std::uint64_t high, std::uint32_t step) {
  if (bar == nullptr) return;
  auto& meter = meterOf(bar);
  meter.start(low, high, step);
  apply(bar, meter);
}

void ProgressService::step(QProgressBar* bar, std::uint64_t low, std::uint64_t high, std::uint64_t current) {
  if (bar == nullptr) return;
  auto& meter = meterOf(bar);
  meter.step(low, high, current);
  apply(bar, meter);
}

}  // namespace dravel::app
