#include "LogTypeRegistration.h"

#include <cstdlib>
#include <fstream>
#include <system_error>

namespace dravel::platform {

namespace fs = std::filesystem;

namespace {

bool writeAtomically(const fs::path& target, const std::string& content) {
  std::error_code ec;
  fs::create_directories(target.parent_path(), ec);
  if (ec) return false;
  const fs::path temp = target.string() + ".tmp";
  {
    std::ofstream out(temp, std::ios::binary | std::ios::trunc);
    if (!out) return false;
    out << content;
    out.flush();
    if (!out) return false;
  }
  fs::rename(temp, target, ec);
  if (ec) {
    std::error_code cleanup;  // a successful clean-up must not hide the failed rename
    fs::remove(temp, cleanup);
    return false;
  }
  return true;
}

std::string mimePackageText() {
  return std::string(
             "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
             "<mime-info xmlns=\"http://www.freedesktop.org/standards/shared-mime-info\">\n"
             "  <mime-type type=\"") +
         kLogMimeType +
         "\">\n"
         "    <comment>Log File</comment>\n"
         "    <glob pattern=\"*.ZVT\"/>\n"
         "  </mime-type>\n"
         "</mime-info>\n";
}

}  // namespace

fs::path xdgDataHome() {
  const char* data = std::getenv("XDG_DATA_HOME");
  // The base directory rules make a relative value invalid: it must be ignored.
  if (data != nullptr && *data == '/') return data;
  const char* home = std::getenv("HOME");
  if (home != nullptr && *home != '\0') return fs::path(home) / ".local" / "share";
  return {};
}

std::string desktopExecLine(const fs::path& program) {
  const std::string path = program.string();
  const bool needsQuotes = path.find_first_of(" \t\n\r\"'\\><~|&;$*?#()`%") != std::string::npos;
  if (!needsQuotes) return path + " %f";
  // Inside quotes, ", `, $ and \ are escaped with a backslash; the desktop
  // entry's own string escaping then doubles every backslash.
  std::string quoted = "\"";
  for (char c : path) {
    if (c == '\\') {
      quoted += "\\\\\\\\";
    } else if (c == '"' || c == '`' || c == '$') {
      quoted += "\\\\";
      quoted += c;
    } else if (c == '%') {
      quoted += "%%";
    } else if (c == '\t' || c == '\n' || c == '\r') {
      // Control characters may not stand raw in a value; the string escapes carry them.
      quoted += c == '\t' ? "\\t" : c == '\n' ? "\\n" : "\\r";
    } else {
      quoted += c;
    }
  }
  return quoted + "\" %f";
}

bool registerLogFileType(const fs::path& program, const fs::path& dataHome, LogTypeRegistration* written) {
  if (dataHome.empty() || program.empty()) return false;
  LogTypeRegistration files;
  files.mimePackage = dataHome / "mime" / "packages" / "kestavine-recovery-log.xml";
  files.desktopEntry = dataHome / "applications" / "kestavine-usb-drive-recovery.desktop";
  const std::string desktop = std::string(
                                  "[Desktop Entry]\n"
                                  "Type=Application\n"
                                  "Name=Kestavine USB Drive Recovery\n"
                                  "Comment=Recover files from USB drives and memory cards\n"
                                  "Exec=") +
                              desktopExecLine(program) + "\nMimeType=" + kLogMimeType +
                              ";\nTerminal=false\nCategories=Utility;System;\n";
  const bool ok = writeAtomically(files.mimePackage, mimePackageText()) && writeAtomically(files.desktopEntry, desktop);
  if (written != nullptr) *written = files;
  return ok;
}

}  // namespace dravel::platform
