#pragma once
// A folder that lives as long as the test that made it.

#include <filesystem>
#include <string>

namespace dravel::test {

class TempDir {
 public:
  TempDir();
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;

  [[nodiscard]] const std::filesystem::path& path() const { return m_path; }
  [[nodiscard]] std::filesystem::path operator/(const std::string& name) const { return m_path / name; }

 private:
  std::filesystem::path m_path;
};

// Writes text to a file, creating its folders.
void writeFile(const std::filesystem::path& file, const std::string& text);

}  // namespace dravel::test
