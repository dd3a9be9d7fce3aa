#pragma once
// Process-wide state that a test changes and must give back: environment
// variables, the installed device namespace and the platform family. Each
// guard restores what it found when the test ends, even when it fails.

#include <cstdlib>
#include <memory>
#include <optional>
#include <string>
#include <utility>

#include "platform/DeviceNamespace.h"
#include "platform/System.h"

namespace dravel::test {

// Sets (or with nullopt unsets) one environment variable for the guard's lifetime.
class ScopedEnv {
 public:
  ScopedEnv(std::string name, const std::optional<std::string>& value) : m_name(std::move(name)) {
    if (const char* old = std::getenv(m_name.c_str())) m_old = old;
    set(value);
  }
  ~ScopedEnv() { set(m_old); }
  ScopedEnv(const ScopedEnv&) = delete;
  ScopedEnv& operator=(const ScopedEnv&) = delete;

 private:
  void set(const std::optional<std::string>& value) const {
    if (value) {
      ::setenv(m_name.c_str(), value->c_str(), 1);
    } else {
      ::unsetenv(m_name.c_str());
    }
  }
  std::string m_name;
  std::optional<std::string> m_old;
};

// Installs `options` as the namespace device paths resolve in; afterwards an
// images-only namespace without images, so no test sees another's devices
// (nor the machine's).
class ScopedCurrentDevices {
 public:
  explicit ScopedCurrentDevices(platform::DeviceOptions options)
      : m_devices(std::make_shared<platform::DeviceNamespace>(std::move(options))) {
    platform::setCurrentDevices(m_devices);
  }
  ~ScopedCurrentDevices() {
    platform::setCurrentDevices(std::make_shared<platform::DeviceNamespace>(platform::DeviceOptions{{}, true}));
  }
  ScopedCurrentDevices(const ScopedCurrentDevices&) = delete;
  ScopedCurrentDevices& operator=(const ScopedCurrentDevices&) = delete;

  [[nodiscard]] platform::DeviceNamespace& devices() const { return *m_devices; }

 private:
  std::shared_ptr<platform::DeviceNamespace> m_devices;
};

class ScopedPlatformFamily {
 public:
  explicit ScopedPlatformFamily(char family) : m_old(platform::platformFamily()) {
    platform::setPlatformFamily(family);
  }
  ~ScopedPlatformFamily() { platform::setPlatformFamily(m_old); }
  ScopedPlatformFamily(const ScopedPlatformFamily&) = delete;
  ScopedPlatformFamily& operator=(const ScopedPlatformFamily&) = delete;

 private:
  char m_old;
};

}  // namespace dravel::test
