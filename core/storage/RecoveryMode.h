#pragma once

#include <string>

namespace dravel::storage {

enum class RecoveryMode { Basic = 1, Deep = 2, Photo = 3, Video = 4, Signature = 5 };

// "Basic Search", "Deep Search", "Photo Search", "Video Search", "Signature Search".
[[nodiscard]] std::string recoveryModeName(RecoveryMode mode);

}  // namespace dravel::storage
