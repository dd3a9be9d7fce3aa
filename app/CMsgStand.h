#pragma once
// Advice shown when Basic Search cannot recover the selected data.

#include "AdviceDialog.h"

namespace dravel::app {

class CMsgStand : public AdviceDialog {
  Q_OBJECT
 public:
  explicit CMsgStand(QWidget* parent = nullptr);
};

}  // namespace dravel::app
