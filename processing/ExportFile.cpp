#include "processing/ExportFile.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <charconv>

#include "c3d/SafeFile.h"

CExportFile::~CExportFile() { Discard(); }

bool CExportFile::Create(const std::string& target, std::string& error) {
  Discard();
  m_strTarget = target;
  m_strError.clear();
  m_buffer.clear();
  m_buffer.reserve(kFlushSize + 4096);
  m_strTempPath = CreateTempFileBeside(target, error);
  if (m_strTempPath.empty()) return false;
  m_fd = ::open(m_strTempPath.c_str(), O_WRONLY | O_TRUNC | O_CLOEXEC);
  if (m_fd < 0) {
    error = SystemErrorText();
    ::unlink(m_strTempPath.c_str());
    m_strTempPath.clear();
    return false;
  }
  return true;
}

void CExportFile::Write(std::string_view text) {
  m_buffer.append(text.data(), text.size());
  MaybeFlush();
}

void CExportFile::WriteInt(int64_t value) {
  char text[24];
  auto res = std::to_chars(text, text + sizeof text, value);
  m_buffer.append(text, static_cast<size_t>(res.ptr - text));
  MaybeFlush();
}

void CExportFile::WriteFixed(double value, int decimals) {
  // Large enough for any double in fixed notation (up to 309 digits).
  char text[400];
  auto res = std::to_chars(text, text + sizeof text, value, std::chars_format::fixed, decimals);
  if (res.ec != std::errc()) {
    m_buffer.append("0");
    return;
  }
  m_buffer.append(text, static_cast<size_t>(res.ptr - text));
  MaybeFlush();
}

bool CExportFile::Flush() {
  if (m_fd < 0) {
    m_buffer.clear();
    return false;
  }
  size_t done = 0;
  while (m_strError.empty() && done < m_buffer.size()) {
    ssize_t n = ::write(m_fd, m_buffer.data() + done, m_buffer.size() - done);
    if (n < 0) {
      if (errno == EINTR) continue;
      m_strError = SystemErrorText();
    } else {
      done += static_cast<size_t>(n);
    }
  }
  m_buffer.clear();
  return m_strError.empty();
}

bool CExportFile::Commit(std::string& error) {
  if (m_fd < 0) {
    error = m_strError.empty() ? "the export file is not open" : m_strError;
    return false;
  }
  Flush();
  if (m_strError.empty() && ::fsync(m_fd) != 0) m_strError = SystemErrorText();
  if (::close(m_fd) != 0 && m_strError.empty()) m_strError = SystemErrorText();
  m_fd = -1;
  if (!m_strError.empty()) {
    error = m_strError;
    Discard();
    return false;
  }
  bool ok = ReplaceWithTempFile(m_strTempPath, m_strTarget, error);
  m_strTempPath.clear();  // renamed, or removed by ReplaceWithTempFile
  return ok;
}

void CExportFile::Discard() {
  if (m_fd >= 0) {
    ::close(m_fd);
    m_fd = -1;
  }
  if (!m_strTempPath.empty()) {
    ::unlink(m_strTempPath.c_str());
    m_strTempPath.clear();
  }
  m_buffer.clear();
}
