#include "CTreeClass.h"

#include <QHeaderView>

namespace dravel::controls {

CTreeClass::CTreeClass(QWidget* parent) : QTreeWidget(parent) {
  setHeaderHidden(true);
  setColumnCount(1);
}

}  // namespace dravel::controls
