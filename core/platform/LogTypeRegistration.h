#pragma once
// Makes a recovery log (*.ZVT, "Log File") open the program: a shared-MIME
// package for the extension and a desktop entry whose Exec line is the
// program's path followed by " %f", written under $XDG_DATA_HOME (default
// ~/.local/share) at every start.

#include <filesystem>
#include <string>

namespace dravel::platform {

inline constexpr const char* kLogMimeType = "application/x-kestavine-recovery-log";
inline constexpr const char* kLogTypeFailureMessage = "Could not create or open a registrty key.";

struct LogTypeRegistration {
  std::filesystem::path mimePackage;  // .../mime/packages/kestavine-recovery-log.xml
  std::filesystem::path desktopEntry; // .../applications/kestavine-usb-drive-recovery.desktop
};

// The XDG data folder: $XDG_DATA_HOME when it is an absolute path, else
// $HOME/.local/share; empty when neither is set.
[[nodiscard]] std::filesystem::path xdgDataHome();

// The Exec value for a program path: quoted when the path holds characters
// the desktop entry format reserves.
[[nodiscard]] std::string desktopExecLine(const std::filesystem::path& program);

// Writes both files (each through a temporary file and a rename). Returns
// false when either cannot be written; the caller shows kLogTypeFailureMessage
// and goes on.
[[nodiscard]] bool registerLogFileType(const std::filesystem::path& program, const std::filesystem::path& dataHome,
                                       LogTypeRegistration* written = nullptr);

}  // namespace dravel::platform
