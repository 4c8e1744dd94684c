#include "c3d/SafeFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <vector>

namespace {

std::string FolderOf(const std::string& path) {
  size_t slash = path.find_last_of('/');
  if (slash == std::string::npos) return ".";
  if (slash == 0) return "/";
  return path.substr(0, slash);
}

std::string BaseNameOf(const std::string& path) {
  size_t slash = path.find_last_of('/');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

void SyncFolder(const std::string& folder) {
  int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY);
  if (fd >= 0) {
    ::fsync(fd);
    ::close(fd);
  }
}

}  // namespace

std::string SystemErrorText() { return std::strerror(errno); }

bool IsSameFile(const std::string& a, const std::string& b) {
  if (a == b) return true;
  std::error_code ec;
  if (std::filesystem::equivalent(a, b, ec) && !ec) return true;
  std::error_code ea, eb;
  const auto pa = std::filesystem::absolute(a, ea).lexically_normal();
  const auto pb = std::filesystem::absolute(b, eb).lexically_normal();
  return !ea && !eb && pa == pb;
}

std::string CreateTempFileBeside(const std::string& target, std::string& error) {
  // Renaming over a file would pass by its write protection: a file that
  // could not be written in place is not replaced either. A file without any
  // write permission is taken as meant to stay as it is, even for root.
  struct stat st;
  if (::stat(target.c_str(), &st) == 0 && !S_ISDIR(st.st_mode) &&
      ((st.st_mode & 0222) == 0 || ::access(target.c_str(), W_OK) != 0)) {
    error = "The file is read-only.";
    return std::string();
  }
  std::string pattern = FolderOf(target) + "/." + BaseNameOf(target) + ".saving-XXXXXX";
  std::vector<char> buffer(pattern.begin(), pattern.end());
  buffer.push_back('\0');
  int fd = ::mkstemp(buffer.data());
  if (fd < 0) {
    error = SystemErrorText();
    return std::string();
  }
  ::close(fd);
  return std::string(buffer.data());
}

bool ReplaceWithTempFile(const std::string& tempPath, const std::string& target, std::string& error) {
  struct stat st;
  mode_t mode;
  if (::stat(target.c_str(), &st) == 0) {
    mode = st.st_mode & 07777;
  } else {
    mode_t mask = ::umask(0);
    ::umask(mask);
    mode = 0666 & ~mask;
  }
  ::chmod(tempPath.c_str(), mode);
  if (::rename(tempPath.c_str(), target.c_str()) != 0) {
    error = SystemErrorText();
    ::unlink(tempPath.c_str());
    return false;
  }
  SyncFolder(FolderOf(target));
  return true;
}

bool WriteFileAtomically(const std::string& path, const std::string& content) {
  std::string error;
  std::string temp = CreateTempFileBeside(path, error);
  if (temp.empty()) return false;
  int fd = ::open(temp.c_str(), O_WRONLY | O_TRUNC);
  bool ok = fd >= 0;
  size_t done = 0;
  while (ok && done < content.size()) {
    ssize_t n = ::write(fd, content.data() + done, content.size() - done);
    if (n < 0) {
      if (errno == EINTR) continue;
      ok = false;
    } else {
      done += static_cast<size_t>(n);
    }
  }
  if (fd >= 0) {
    if (ok && ::fsync(fd) != 0) ok = false;
    if (::close(fd) != 0) ok = false;
  }
  if (!ok) {
    ::unlink(temp.c_str());
    return false;
  }
  return ReplaceWithTempFile(temp, path, error);
}
