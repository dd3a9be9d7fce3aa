#pragma once
// Where the tests find disk images: the project's own (unpacked at build
// time) and the independent reference set beside the project.

#include <filesystem>
#include <string>

namespace dravel::test {

// The project's image NAME.img; the test fails when it is missing.
[[nodiscard]] inline std::filesystem::path fixtureImage(const std::string& name) {
  return std::filesystem::path(DRAVEL_FIXTURE_DIR) / (name + ".img");
}

[[nodiscard]] inline std::filesystem::path sharedFixturesDir() { return DRAVEL_SHARED_FIXTURES; }

// A reference image NAME.img unpacked in the build tree; empty when the
// reference set is absent (the test should then skip).
[[nodiscard]] inline std::filesystem::path sharedImage(const std::string& name) {
  const auto image = std::filesystem::path(DRAVEL_SHARED_IMAGES) / (name + ".img");
  return std::filesystem::exists(image) ? image : std::filesystem::path{};
}

}  // namespace dravel::test
