// Open: a recovered file's content as a temporary copy that a desktop
// program can be given.

#include <fcntl.h>
#include <unistd.h>

#include <atomic>

#include "OutputFile.h"
#include "SaveJob.h"

namespace dravel::results {

namespace {

std::atomic<int> g_copyNumber{0};

// "TUL7.pdf"; "TUL7" for a name without extension (or ending in ".").
std::string copyName(int number, const std::string& itemName) {
  std::string name = "TUL" + std::to_string(number);
  const auto dot = itemName.rfind('.');
  if (dot != std::string::npos && dot + 1 < itemName.size()) name += "." + safeComponent(itemName.substr(dot + 1));
  return name;
}

}  // namespace

std::optional<std::filesystem::path> writeTemporaryCopy(RecoveredResult& result, const ContentRow& row,
                                                        const std::filesystem::path& folder) {
  const std::string name = copyName(++g_copyNumber, row.name);
  const UniqueFd folderFd(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
  if (!folderFd.valid()) return std::nullopt;
  // A copy left from an earlier run goes first (a link is removed, never followed).
  (void)::unlinkat(folderFd.get(), name.c_str(), 0);
  auto output = OutputFile::create(folderFd.get());
  if (!output) return std::nullopt;
  const WriteResult written = result.writeContent(row, output.value(), WriteControl{});
  if (written.status != WriteStatus::Written) return std::nullopt;
  if (output.value().commit(name, true) != 0) return std::nullopt;
  return folder / name;
}

}  // namespace dravel::results
