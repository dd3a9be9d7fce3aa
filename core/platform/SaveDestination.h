#pragma once
// Whether a folder can take recovered files: it must be an existing,
// writable folder, and it must not lie on the disk being recovered (writing
// there could overwrite the very sectors the recovery reads).

#include <filesystem>
#include <string>

namespace dravel::platform {

enum class DestinationProblem {
  None,
  Invalid,        // missing, not a folder, or not writable
  OnSourceDrive,  // on the source disk or one of its partitions
};

// `sourceDevicePath` is the scanned device ("\\.\PhysicalDrive1"): a block
// device is compared by device number with the folder's file system (the
// disk and each of its partitions); an attached image file never holds the
// folder's file system, so saving next to it is fine.
[[nodiscard]] DestinationProblem checkDestination(const std::filesystem::path& folder,
                                                  const std::string& sourceDevicePath);

}  // namespace dravel::platform
