#pragma once
// The files a save writes, and the folders it writes them in. Recovered
// names come from the medium, so the destination tree is walked one folder
// at a time without following links: a link planted there (or a name that
// reads "..") never takes a file outside it. A file is written under a
// hidden temporary name and put in place whole, so an abandoned, failed or
// half-written file never stands under its real name and an overwritten
// file is replaced only by a complete one.

#include <cstdint>
#include <filesystem>
#include <span>
#include <string>
#include <utility>

#include "RecoveredResult.h"
#include "common/Expected.h"

namespace dravel::results {

// Owns one open descriptor.
class UniqueFd {
 public:
  UniqueFd() = default;
  explicit UniqueFd(int fd) : m_fd(fd) {}
  UniqueFd(UniqueFd&& other) noexcept : m_fd(other.release()) {}
  UniqueFd& operator=(UniqueFd&& other) noexcept;
  UniqueFd(const UniqueFd&) = delete;
  UniqueFd& operator=(const UniqueFd&) = delete;
  ~UniqueFd() { reset(); }

  [[nodiscard]] int get() const { return m_fd; }
  [[nodiscard]] bool valid() const { return m_fd >= 0; }
  int release();
  // Closes the descriptor; the errno of a failed close, else 0.
  int reset();

 private:
  int m_fd = -1;
};

// The destination and the folders below it.
class SaveFolders {
 public:
  // The destination folder itself is the user's choice: a link to it is
  // followed. errno when it does not open as a folder.
  static Expected<SaveFolders, int> open(const std::filesystem::path& destination);

  // The folder `relative` below the destination ('/'-separated, every
  // component already safe; "" is the destination), made where missing.
  // The descriptor stays valid until the next call. errno when a component
  // cannot be made or is not a real folder (a link, a file).
  Expected<int, int> folder(const std::string& relative);

 private:
  explicit SaveFolders(UniqueFd root) : m_root(std::move(root)) {}
  UniqueFd m_root;
  std::string m_currentPath;
  UniqueFd m_current;  // the folder at m_currentPath; invalid: none cached
};

// True for the errors that say the destination has no room left.
[[nodiscard]] bool isDestinationFull(int error);

class OutputFile final : public ContentOutput {
 public:
  // A new temporary file in the folder `folderFd` (which must outlive it).
  static Expected<OutputFile, int> create(int folderFd);
  OutputFile(OutputFile&& other) noexcept
      : m_folder(other.m_folder), m_tempName(std::exchange(other.m_tempName, {})), m_fd(std::move(other.m_fd)) {}
  OutputFile& operator=(OutputFile&&) = delete;
  ~OutputFile() override;

  [[nodiscard]] int write(std::span<const std::byte> bytes) override;

  // Closes the file and gives it the name `name` in its folder, replacing
  // what stands there when `replace` is set and failing with EEXIST
  // otherwise. errno on failure (the temporary file is then removed).
  [[nodiscard]] int commit(const std::string& name, bool replace);

 private:
  OutputFile(int folderFd, std::string tempName, UniqueFd fd)
      : m_folder(folderFd), m_tempName(std::move(tempName)), m_fd(std::move(fd)) {}
  void discard();

  int m_folder;
  std::string m_tempName;  // empty once committed or removed
  UniqueFd m_fd;
};

// Whether `name` exists in `folderFd`, a link counting as existing.
[[nodiscard]] bool existsIn(int folderFd, const std::string& name);

}  // namespace dravel::results
