#pragma once
// Shown when the drive tree found neither a disk nor a volume to recover from.
// Retry asks the owner to list the drives again; Exit gives up (rejected).

#include <QDialog>
#include <functional>

class QPushButton;

namespace dravel::app {

class CNoDevice : public QDialog {
  Q_OBJECT
 public:
  explicit CNoDevice(QWidget* parent = nullptr);

  // Lists the drives again; true when something can now be recovered from.
  // The dialog closes with Accepted on true and stays open on false (or when
  // no handler is set).
  std::function<bool()> retry;

  [[nodiscard]] QPushButton* retryButton() const { return m_retry; }
  [[nodiscard]] QPushButton* exitButton() const { return m_exit; }

 signals:
  // Emitted after a retry that found nothing; the dialog is still open.
  void retryFailed();

 private:
  void onRetry();

  QPushButton* m_retry = nullptr;
  QPushButton* m_exit = nullptr;
};

}  // namespace dravel::app
