#include "app/BatchFileSearch.h"

#include <dirent.h>
#include <sys/stat.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <set>
#include <utility>

namespace {

char Folded(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

bool HasC3dExtension(const std::string& name) {
  static const char kExtension[] = ".c3d";
  const size_t n = sizeof kExtension - 1;
  if (name.size() < n) return false;
  for (size_t i = 0; i < n; ++i)
    if (Folded(name[name.size() - n + i]) != kExtension[i]) return false;
  return true;
}

// Name order without regard to letter case; names that differ only in case
// keep a fixed order between them.
bool NameBefore(const std::string& a, const std::string& b) {
  const size_t n = std::min(a.size(), b.size());
  for (size_t i = 0; i < n; ++i) {
    char fa = Folded(a[i]), fb = Folded(b[i]);
    if (fa != fb) return static_cast<unsigned char>(fa) < static_cast<unsigned char>(fb);
  }
  if (a.size() != b.size()) return a.size() < b.size();
  return a < b;
}

using CFolderId = std::pair<dev_t, ino_t>;

class CSearch {
 public:
  CSearch(bool subFolders, CFileSearchResult& result) : m_bSubFolders(subFolders), m_result(result) {}

  void Folder(const std::string& folder) {
    struct stat st;
    if (::stat(folder.c_str(), &st) == 0 && !m_visited.insert({st.st_dev, st.st_ino}).second) return;

    DIR* dir = ::opendir(folder.c_str());
    if (!dir) {
      m_result.m_unsearchable.push_back(folder + ": " + std::strerror(errno));
      return;
    }
    std::vector<std::string> files, folders;
    while (const dirent* entry = ::readdir(dir)) {
      const std::string name = entry->d_name;
      if (name == "." || name == "..") continue;
      const std::string path = JoinFolder(folder, name);
      // Links count as what they point to; a broken link is no folder.
      struct stat target;
      const bool isFolder = ::stat(path.c_str(), &target) == 0 && S_ISDIR(target.st_mode);
      if (isFolder)
        folders.push_back(name);
      else if (HasC3dExtension(name))
        files.push_back(name);
    }
    ::closedir(dir);

    std::sort(files.begin(), files.end(), NameBefore);
    for (const std::string& name : files) m_result.m_files.push_back(JoinFolder(folder, name));
    if (!m_bSubFolders) return;
    std::sort(folders.begin(), folders.end(), NameBefore);
    for (const std::string& name : folders) Folder(JoinFolder(folder, name));
  }

 private:
  bool m_bSubFolders;
  CFileSearchResult& m_result;
  std::set<CFolderId> m_visited;
};

}  // namespace

std::string JoinFolder(const std::string& folder, const std::string& name) {
  if (folder.empty()) return name;
  if (folder.back() == '/') return folder + name;
  return folder + "/" + name;
}

CFileSearchResult FindC3dFiles(const std::string& folder, bool subFolders) {
  CFileSearchResult result;
  CSearch(subFolders, result).Folder(folder);
  return result;
}

bool CanSearchFolder(const std::string& folder, std::string& reason) {
  DIR* dir = ::opendir(folder.c_str());
  if (!dir) {
    reason = std::strerror(errno);
    return false;
  }
  ::closedir(dir);
  return true;
}
