#pragma once
// Asked by a signature scan when a block read fails: the medium may have
// been pulled out. The scan reads the answer through cancelFlag()/retryCode().

#include <QDialog>

class QCheckBox;

namespace dravel::app {

class CMediaRemoved : public QDialog {
  Q_OBJECT
 public:
  static constexpr int kCancel = 1;          // "Cancel Searching"
  static constexpr int kRetryOnce = 1;       // "Retry and Continue..."
  static constexpr int kRetryUntilDone = 5;  // the same, with "Apply this action..." checked

  explicit CMediaRemoved(QWidget* parent = nullptr);

  // 1 after "Cancel Searching" (or Escape and the close button), else 0.
  [[nodiscard]] int cancelFlag() const { return m_cancelFlag; }
  // 5 or 1 after "Retry and Continue...", else 0.
  [[nodiscard]] int retryCode() const { return m_retryCode; }

  void reject() override;

 private:
  void onRetry();

  QCheckBox* m_applyToAll = nullptr;
  int m_cancelFlag = 0;
  int m_retryCode = 0;
};

}  // namespace dravel::app
