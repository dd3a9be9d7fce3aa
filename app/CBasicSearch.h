#pragma once
// The Basic Search window: a FAT16, FAT32 or NTFS partition, volume or whole
// disk, walked through its own file-system structures.

#include "SearchFrame.h"

namespace dravel::app {

class CBasicSearch : public SearchFrame {
  Q_OBJECT
 public:
  explicit CBasicSearch(QWidget* parent = nullptr);

 protected:
  void startFromSelection() override;
};

}  // namespace dravel::app
