#include "CAdvanceDlg.h"

namespace dravel::app {

CAdvanceDlg::CAdvanceDlg(QWidget* parent)
    : AdviceDialog(
          QStringLiteral("Recovery is not possible in Deep Search Mode, use other search mode to recover your data."),
          {QStringLiteral("2. All Recovery Modes are recover data using different Data Recovery Techniques in "
                          "different cases of Data Loss. "),
           QStringLiteral("2. It is strongly recommended that you should allow every process to be completed 100%.")},
          parent) {}

}  // namespace dravel::app
