#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/DeviceOptions.h"

namespace dravel::platform {
namespace {

struct OptionsCase {
  const char* name;
  std::vector<std::string> args;
  std::vector<std::string> images;
  bool imagesOnly;
  std::vector<std::string> rest;
  std::string error;
};

class ParseDeviceOptionsTest : public ::testing::TestWithParam<OptionsCase> {};

TEST_P(ParseDeviceOptionsTest, TakesOutDeviceOptionsAndKeepsTheRestInOrder) {
  const auto& c = GetParam();
  const auto parsed = parseDeviceOptions(c.args);
  EXPECT_EQ(parsed.error, c.error);
  if (!c.error.empty()) return;  // the other fields are unspecified after bad usage
  std::vector<std::string> images;
  for (const auto& image : parsed.options.images) images.push_back(image.string());
  EXPECT_EQ(images, c.images);
  EXPECT_EQ(parsed.options.imagesOnly, c.imagesOnly);
  EXPECT_EQ(parsed.rest, c.rest);
}

INSTANTIATE_TEST_SUITE_P(
    Arguments, ParseDeviceOptionsTest,
    ::testing::Values(
        OptionsCase{"Nothing", {}, {}, false, {}, ""},
        OptionsCase{"OnlyOtherArguments", {"list", "-v"}, {}, false, {"list", "-v"}, ""},
        OptionsCase{"SeparateFile", {"--image", "a.img", "list"}, {"a.img"}, false, {"list"}, ""},
        OptionsCase{"JoinedFile", {"list", "--image=b.img"}, {"b.img"}, false, {"list"}, ""},
        // The disk numbers of images follow the order they were given in, whatever the spelling.
        OptionsCase{"OrderKept",
                    {"--image=z.img", "scan", "--image", "a.img", "--image=m.img"},
                    {"z.img", "a.img", "m.img"},
                    false,
                    {"scan"},
                    ""},
        OptionsCase{"ImagesOnly", {"--images-only", "--image", "c.img"}, {"c.img"}, true, {}, ""},
        // Only the joined form's "=" starts the file name; a file may itself contain one.
        OptionsCase{"FileWithEquals", {"--image=x=y.img"}, {"x=y.img"}, false, {}, ""},
        // Whether the file exists is for the device namespace to find out.
        OptionsCase{"MissingFileOnDiskIsKept",
                    {"--image", "/nonexistent/d.img"},
                    {"/nonexistent/d.img"},
                    false,
                    {},
                    ""},
        OptionsCase{"SeparateFileMissing", {"list", "--image"}, {}, false, {}, "--image needs a file"},
        OptionsCase{"SeparateFileEmpty", {"--image", "", "list"}, {}, false, {}, "--image needs a file"},
        OptionsCase{"JoinedFileEmpty", {"--image="}, {}, false, {}, "--image needs a file"},
        // Near misses are not device options.
        OptionsCase{"NearMisses",
                    {"--images", "--image-only", "-image"},
                    {},
                    false,
                    {"--images", "--image-only", "-image"},
                    ""}),
    [](const auto& p) { return std::string(p.param.name); });

}  // namespace
}  // namespace dravel::platform
