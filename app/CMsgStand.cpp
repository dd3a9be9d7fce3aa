#include "CMsgStand.h"

#include "partitions/ScanStart.h"

namespace dravel::app {

CMsgStand::CMsgStand(QWidget* parent)
    : AdviceDialog(
          QString::fromUtf8(partitions::kBasicSearchAdvice.data(),
                            static_cast<qsizetype>(partitions::kBasicSearchAdvice.size())),
          {QStringLiteral("1. When you need to recover data from Dynamic volumes (such as spanned, striped, mirrored, "
                          "and RAID-5 volumes etc), you Must perform 'Logical Scanning' of drive by selecting the "
                          "logical drive (e.g. Drive letter C:, D: or E: etc) from the Drives list tree."),
           QStringLiteral("1. All Recovery Modes are recover data using different Data Recovery Techniques in "
                          "different cases of Data Loss.\n"
                          "2. It is strongly recommended that you should allow every process to be completed 100%.")},
          parent) {}

}  // namespace dravel::app
