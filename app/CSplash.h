#pragma once
// Shown while a recovery log named on the command line loads. Every two
// seconds it asks whether it is still needed and closes once it is not.

#include <QDialog>
#include <functional>

class QTimer;

namespace dravel::app {

class CSplash : public QDialog {
  Q_OBJECT
 public:
  static constexpr int kIntervalMs = 2000;

  explicit CSplash(QWidget* parent = nullptr);

  // True when no log was given on the command line: nothing to wait for.
  // Unset counts as empty.
  std::function<bool()> commandLineLogEmpty;
  // True once the log has loaded; it clears the flag it reports.
  std::function<bool()> takeLogLoaded;

  // One tick of the timer: closes the splash when it is no longer needed.
  void checkProgress();

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  QTimer* m_timer = nullptr;
};

}  // namespace dravel::app
