#include "app/RecentFiles.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

#include "app/SettingsStore.h"
#include "c3d/IniFile.h"

namespace fs = std::filesystem;

namespace {
std::string FileKey(int index) { return "File" + std::to_string(index + 1); }
}  // namespace

std::string CRecentFiles::MakeAbsolute(const std::string& path) {
  if (path.empty()) return path;
  std::error_code ec;
  fs::path absolute = fs::absolute(path, ec);
  if (ec) return path;
  return absolute.lexically_normal().string();
}

std::string CRecentFiles::DisplayName(const std::string& path) {
  return fs::path(path).filename().string();
}

void CRecentFiles::Add(const std::string& path) {
  if (path.empty() || !IsStorableValue(path)) return;
  std::string absolute = MakeAbsolute(path);
  m_entries.erase(std::remove(m_entries.begin(), m_entries.end(), absolute), m_entries.end());
  m_entries.insert(m_entries.begin(), absolute);
  if (Count() > m_nMaxEntries) m_entries.resize(static_cast<size_t>(m_nMaxEntries));
}

bool CRecentFiles::Remove(const std::string& path) {
  std::string absolute = MakeAbsolute(path);
  auto it = std::find(m_entries.begin(), m_entries.end(), absolute);
  if (it == m_entries.end()) return false;
  m_entries.erase(it);
  return true;
}

void CRecentFiles::Read(const CIniFile& ini) {
  m_entries.clear();
  for (int i = 0; i < m_nMaxEntries; ++i) {
    std::string path = ini.GetString(settingskeys::kRecentFiles, FileKey(i), "");
    if (path.empty()) continue;
    path = MakeAbsolute(path);
    if (std::find(m_entries.begin(), m_entries.end(), path) == m_entries.end()) m_entries.push_back(path);
  }
}

void CRecentFiles::Write(CIniFile& ini) const {
  for (int i = 0; i < m_nMaxEntries; ++i) {
    if (i < Count())
      ini.SetString(settingskeys::kRecentFiles, FileKey(i), m_entries[static_cast<size_t>(i)]);
    else
      ini.RemoveKey(settingskeys::kRecentFiles, FileKey(i));
  }
}
