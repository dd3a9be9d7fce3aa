#include "DeviceOptions.h"

namespace dravel::platform {

DeviceOptionsParse parseDeviceOptions(const std::vector<std::string>& args) {
  DeviceOptionsParse out;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    if (arg == "--images-only") {
      out.options.imagesOnly = true;
    } else if (arg == "--image") {
      if (i + 1 >= args.size() || args[i + 1].empty()) {
        out.error = "--image needs a file";
        return out;
      }
      out.options.images.emplace_back(args[++i]);
    } else if (arg.starts_with("--image=")) {
      const std::string file = arg.substr(8);
      if (file.empty()) {
        out.error = "--image needs a file";
        return out;
      }
      out.options.images.emplace_back(file);
    } else {
      out.rest.push_back(arg);
    }
  }
  return out;
}

}  // namespace dravel::platform
