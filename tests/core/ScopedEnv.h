#pragma once
// Sets environment variables for the lifetime of the object and restores the
// previous values afterwards, so that tests can point the settings store at
// a scratch folder without touching the real user's files.

#include <cstdlib>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace testsupport {

class CScopedEnv {
 public:
  CScopedEnv() = default;
  CScopedEnv(const CScopedEnv&) = delete;
  CScopedEnv& operator=(const CScopedEnv&) = delete;
  ~CScopedEnv() {
    for (auto it = m_saved.rbegin(); it != m_saved.rend(); ++it) {
      if (it->second)
        ::setenv(it->first.c_str(), it->second->c_str(), 1);
      else
        ::unsetenv(it->first.c_str());
    }
  }

  void Set(const std::string& name, const std::string& value) {
    Save(name);
    ::setenv(name.c_str(), value.c_str(), 1);
  }
  void Unset(const std::string& name) {
    Save(name);
    ::unsetenv(name.c_str());
  }

  // Both settings locations inside `folder`: <folder>/user and <folder>/machine.
  void PointSettingsAt(const std::string& folder) {
    Set("XDG_CONFIG_HOME", folder + "/user");
    Set("XDG_CONFIG_DIRS", folder + "/machine");
  }

 private:
  void Save(const std::string& name) {
    const char* old = std::getenv(name.c_str());
    m_saved.emplace_back(name, old ? std::optional<std::string>(old) : std::nullopt);
  }

  std::vector<std::pair<std::string, std::optional<std::string>>> m_saved;
};

}  // namespace testsupport
