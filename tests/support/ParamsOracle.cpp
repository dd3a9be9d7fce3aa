#include "ParamsOracle.h"

#include <gtest/gtest.h>

namespace dravel::test {

std::map<std::string, std::uint64_t> paramValues(const CliResult& result) {
  std::map<std::string, std::uint64_t> values;
  for (const auto& fields : result.rows()) {
    if (fields.size() == 2 && fields[0] != "FileSystem") values[fields[0]] = std::stoull(fields[1]);
  }
  return values;
}

void expectParametersMatchFsstat(const std::map<std::string, std::uint64_t>& values, const FsstatReport& report) {
  const std::uint64_t start = report.partitionStart;
  const std::uint64_t spc = std::stoull(report.fields.at("Cluster Size")) / 512;
  EXPECT_EQ(values.at("SPC"), spc);
  if (report.fields.at("File System Type") == "NTFS") {
    EXPECT_EQ(values.at("Cluster0Start"), start);
    EXPECT_EQ(values.at("MFTStart"), start + std::stoull(report.fields.at("First Cluster of MFT")) * spc);
    EXPECT_EQ(values.at("MFTMirrorStart"), start + std::stoull(report.fields.at("First Cluster of MFT Mirror")) * spc);
    EXPECT_EQ(values.at("SectorsPerFileRecord"), std::stoull(report.fields.at("Size of MFT Entries")) / 512);
    EXPECT_EQ(values.at("SectorsPerIndexBlock"), std::stoull(report.fields.at("Size of Index Records")) / 512);
    return;
  }
  const auto fat0 = report.ranges.at("FAT 0");
  const auto fat1 = report.ranges.at("FAT 1");
  EXPECT_EQ(values.at("ReserveSecStart"), report.ranges.at("Reserved").second + 1);
  EXPECT_EQ(values.at("SPF"), fat0.second - fat0.first + 1);
  EXPECT_EQ(values.at("firstFAT"), start + fat0.first);
  EXPECT_EQ(values.at("secondFAT"), start + fat1.first);
  EXPECT_EQ(values.at("Cluster0Start"), start + report.ranges.at("Cluster Area").first - 2 * spc);
  if (report.fields.at("File System Type") == "FAT16") {
    const auto root = report.ranges.at("Root Directory");
    EXPECT_EQ(values.at("RootStartSec"), start + root.first);
    EXPECT_EQ(values.at("RootSec"), root.second - root.first + 1);
  } else {
    EXPECT_EQ(values.at("RootSec"), 0u);
    EXPECT_EQ(values.at("RootStartSec"), 2u);
  }
}

}  // namespace dravel::test
