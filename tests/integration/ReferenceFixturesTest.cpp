// Checks the partition walk and the parameter calculation against the
// independent reference images beside the project and what The Sleuth Kit
// reported for them. Skips when the reference set is absent.

#include <gtest/gtest.h>

#include <set>
#include <tuple>

#include "support/CliRunner.h"
#include "support/Fixtures.h"
#include "support/Manifest.h"
#include "support/OracleCases.h"
#include "support/ParamsOracle.h"

namespace dravel::test {
namespace {

const std::map<std::string, ManifestImage>& manifest() {
  static const auto images = readManifest(sharedFixturesDir() / "MANIFEST.md");
  return images;
}

using Listed = std::tuple<std::string, std::uint64_t, std::uint64_t>;  // file system, first, end

std::set<Listed> listedPartitions(const std::filesystem::path& image) {
  const auto r = runCli(withImage(image, {"partitions"}));
  EXPECT_EQ(r.exitCode, 0) << r.err;
  std::set<Listed> out;
  for (const auto& row : r.rows()) {
    if (row.size() == 5) out.insert({row[2], std::stoull(row[3]), std::stoull(row[4])});
  }
  return out;
}

class ReferenceImage : public ::testing::TestWithParam<std::string> {
 protected:
  void SetUp() override {
    m_image = sharedImage(GetParam());
    if (m_image.empty()) GTEST_SKIP() << "reference image " << GetParam() << " is not available";
    const auto it = manifest().find(GetParam());
    ASSERT_NE(it, manifest().end()) << "MANIFEST has no section for " << GetParam();
    m_manifest = &it->second;
  }
  std::filesystem::path m_image;
  const ManifestImage* m_manifest = nullptr;
};

// Every FAT or NTFS partition in the table is listed with its file system and
// its first and end sector (one past the last); nothing else is listed.
TEST_P(ReferenceImage, ListsEveryTablePartition) {
  std::set<Listed> expected;
  for (const auto& p : m_manifest->partitions) {
    // A wiped table lists nothing until the partition search runs.
    if (p.type.find("wiped") != std::string::npos) continue;
    if (p.fileSystem == "FAT16" || p.fileSystem == "FAT32" || p.fileSystem == "NTFS") {
      expected.insert({p.fileSystem, p.start, p.start + p.sectors});
    }
  }
  EXPECT_EQ(listedPartitions(m_image), expected);
}

// The parameters agree with the layout fsstat reported for the same partition.
TEST_P(ReferenceImage, ParametersAgreeWithFsstat) {
  const auto listed = runCli(withImage(m_image, {"partitions"})).rows();
  ASSERT_FALSE(m_manifest->reports.empty());
  int compared = 0;
  for (const auto& report : m_manifest->reports) {
    const auto row = std::find_if(listed.begin(), listed.end(), [&](const auto& r) {
      return r.size() == 5 && std::stoull(r[3]) == report.partitionStart;
    });
    if (row == listed.end()) continue;  // not in the table (wiped): nothing to compute yet
    const auto r = runCli(withImage(m_image, {"params", (*row)[0], (*row)[1]}));
    if (GetParam() == "fat32-noboot") {
      // Both boot sectors are zeroed: the calculation refuses and says why.
      EXPECT_EQ(r.exitCode, 1);
      EXPECT_NE(r.err.find("neither the boot sector nor its backup"), std::string::npos) << r.err;
      continue;
    }
    ASSERT_EQ(r.exitCode, 0) << r.err;
    SCOPED_TRACE(GetParam() + " at sector " + std::to_string(report.partitionStart));
    ++compared;
    expectParametersMatchFsstat(paramValues(r), report);
  }
  // Only the images whose table or boot sectors were destroyed compare nothing.
  if (GetParam() != "lost-partition" && GetParam() != "fat32-noboot") {
    EXPECT_GT(compared, 0);
  }
}

INSTANTIATE_TEST_SUITE_P(Images, ReferenceImage,
                         ::testing::Values("fat32-mbr", "fat16-mbr", "ntfs-mbr", "extended-mbr", "gpt",
                                           "fat32-noboot", "lost-partition", "carve"),
                         [](const auto& paramInfo) {
                           std::string name = paramInfo.param;
                           std::replace(name.begin(), name.end(), '-', '_');
                           return name;
                         });

}  // namespace
}  // namespace dravel::test
