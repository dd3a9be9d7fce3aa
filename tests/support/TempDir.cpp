#include "TempDir.h"

#include <cstdlib>
#include <fstream>
#include <stdexcept>
#include <vector>

namespace dravel::test {

TempDir::TempDir() {
  const auto base = std::filesystem::temp_directory_path() / "dravel-test-XXXXXX";
  std::string pattern = base.string();
  std::vector<char> buffer(pattern.begin(), pattern.end());
  buffer.push_back('\0');
  if (::mkdtemp(buffer.data()) == nullptr) throw std::runtime_error("mkdtemp failed");
  m_path = buffer.data();
}

TempDir::~TempDir() {
  std::error_code ec;
  std::filesystem::remove_all(m_path, ec);
}

void writeFile(const std::filesystem::path& file, const std::string& text) {
  std::filesystem::create_directories(file.parent_path());
  std::ofstream out(file, std::ios::binary | std::ios::trunc);
  out << text;
}

}  // namespace dravel::test
