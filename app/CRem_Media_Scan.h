#pragma once
// Asked when a scan is started on a whole disk rather than a partition:
// Accepted searches the entire drive as one partition, Rejected goes back.

#include <QDialog>

namespace dravel::app {

class CRem_Media_Scan : public QDialog {
  Q_OBJECT
 public:
  explicit CRem_Media_Scan(QWidget* parent = nullptr);
};

}  // namespace dravel::app
