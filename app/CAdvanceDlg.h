#pragma once
// Advice shown when Deep Search cannot recover the selected data.

#include "AdviceDialog.h"

namespace dravel::app {

class CAdvanceDlg : public AdviceDialog {
  Q_OBJECT
 public:
  explicit CAdvanceDlg(QWidget* parent = nullptr);
};

}  // namespace dravel::app
