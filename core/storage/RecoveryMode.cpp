#include "RecoveryMode.h"

namespace dravel::storage {

std::string recoveryModeName(RecoveryMode mode) {
  switch (mode) {
    case RecoveryMode::Basic:
      return "Basic Search";
    case RecoveryMode::Deep:
      return "Deep Search";
    case RecoveryMode::Photo:
      return "Photo Search";
    case RecoveryMode::Video:
      return "Video Search";
    case RecoveryMode::Signature:
      return "Signature Search";
  }
  return {};
}

}  // namespace dravel::storage
