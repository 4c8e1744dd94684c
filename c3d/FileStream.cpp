// Positional file I/O on a POSIX descriptor, with a write buffer for runs of
// small contiguous writes and a read cache for runs of small reads (the
// parameter reader takes a byte at a time). Large transfers bypass both.
#include "c3d/FileStream.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

namespace {

constexpr int64_t kWriteBufferSize = 1 << 20;  // 1 MiB
constexpr int64_t kReadCacheSize = 64 << 10;   // 64 KiB

}  // namespace

CFileStream::~CFileStream() { Close(); }

bool CFileStream::Open(const std::string& path, Mode mode) {
  Close();
  m_bFailed = false;
  m_strError.clear();
  // Opened without blocking, so that a named pipe cannot hang the program;
  // only regular files are read.
  int flags = mode == READ ? O_RDONLY : (O_RDWR | O_CREAT);
  int fd;
  do {
    fd = ::open(path.c_str(), flags | O_CLOEXEC | O_NONBLOCK, 0666);
  } while (fd < 0 && errno == EINTR);
  if (fd < 0) {
    Fail();
    return false;
  }
  struct stat st;
  if (::fstat(fd, &st) != 0 || S_ISDIR(st.st_mode) || (mode == READ && !S_ISREG(st.st_mode))) {
    int reason = S_ISDIR(st.st_mode) ? EISDIR : EINVAL;
    ::close(fd);
    errno = reason;
    Fail();
    return false;
  }
  ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
  m_fd = fd;
  m_strPath = path;
  m_position = 0;
  m_writeBuffer.clear();
  m_bufferStart = 0;
  m_readCache.clear();
  m_readStart = 0;
  return true;
}

bool CFileStream::Close() {
  if (m_fd < 0) return !m_bFailed;
  Flush();
  if (::close(m_fd) != 0 && errno != EINTR) Fail();
  m_fd = -1;
  m_writeBuffer.clear();
  m_writeBuffer.shrink_to_fit();
  m_readCache.clear();
  m_readCache.shrink_to_fit();
  return !m_bFailed;
}

void CFileStream::Fail() {
  if (!m_bFailed) m_strError = std::strerror(errno);
  m_bFailed = true;
}

bool CFileStream::Seek(int64_t position) {
  if (m_fd < 0 || position < 0) return false;
  m_position = position;
  return true;
}

int64_t CFileStream::Length() {
  if (m_fd < 0 || !Flush()) return -1;
  struct stat st;
  if (::fstat(m_fd, &st) != 0) {
    Fail();
    return -1;
  }
  return static_cast<int64_t>(st.st_size);
}

bool CFileStream::SetLength(int64_t length) {
  if (m_fd < 0 || length < 0 || !Flush()) return false;
  m_readCache.clear();
  int rc;
  do {
    rc = ::ftruncate(m_fd, static_cast<off_t>(length));
  } while (rc != 0 && errno == EINTR);
  if (rc != 0) {
    Fail();
    return false;
  }
  return true;
}

int64_t CFileStream::ReadAt(int64_t position, unsigned char* buffer, int64_t count) {
  int64_t done = 0;
  while (done < count) {
    ssize_t n = ::pread(m_fd, buffer + done, static_cast<size_t>(count - done),
                        static_cast<off_t>(position + done));
    if (n < 0) {
      if (errno == EINTR) continue;
      Fail();
      break;
    }
    if (n == 0) break;  // end of file
    done += n;
  }
  return done;
}

int64_t CFileStream::Read(void* buffer, int64_t count) {
  if (m_fd < 0 || count <= 0) return 0;
  if (!Flush()) return 0;
  auto* out = static_cast<unsigned char*>(buffer);
  int64_t done = 0;
  while (done < count) {
    int64_t pos = m_position + done;
    int64_t cacheEnd = m_readStart + static_cast<int64_t>(m_readCache.size());
    if (pos >= m_readStart && pos < cacheEnd) {
      int64_t take = std::min(count - done, cacheEnd - pos);
      std::memcpy(out + done, m_readCache.data() + (pos - m_readStart), static_cast<size_t>(take));
      done += take;
      continue;
    }
    if (count - done >= kReadCacheSize) {
      // Large read: straight into the caller's buffer.
      done += ReadAt(pos, out + done, count - done);
      break;
    }
    m_readCache.resize(static_cast<size_t>(kReadCacheSize));
    int64_t got = ReadAt(pos, m_readCache.data(), kReadCacheSize);
    m_readCache.resize(static_cast<size_t>(got));
    m_readStart = pos;
    if (got == 0) break;
  }
  m_position += done;
  return done;
}

bool CFileStream::WriteAt(int64_t position, const unsigned char* data, int64_t count) {
  int64_t done = 0;
  while (done < count) {
    ssize_t n = ::pwrite(m_fd, data + done, static_cast<size_t>(count - done),
                         static_cast<off_t>(position + done));
    if (n < 0) {
      if (errno == EINTR) continue;
      Fail();
      return false;
    }
    done += n;
  }
  return true;
}

bool CFileStream::Flush() {
  if (m_writeBuffer.empty()) return !m_bFailed;
  bool ok = WriteAt(m_bufferStart, m_writeBuffer.data(), static_cast<int64_t>(m_writeBuffer.size()));
  m_writeBuffer.clear();
  return ok;
}

bool CFileStream::Write(const void* data, int64_t count) {
  if (m_fd < 0 || count < 0) return false;
  if (count == 0) return !m_bFailed;
  m_readCache.clear();
  const auto* bytes = static_cast<const unsigned char*>(data);
  bool contiguous = !m_writeBuffer.empty() &&
                    m_bufferStart + static_cast<int64_t>(m_writeBuffer.size()) == m_position;
  if (!m_writeBuffer.empty() &&
      (!contiguous || static_cast<int64_t>(m_writeBuffer.size()) + count > kWriteBufferSize)) {
    if (!Flush()) return false;
  }
  bool ok = true;
  if (count >= kWriteBufferSize) {
    ok = WriteAt(m_position, bytes, count);
  } else {
    if (m_writeBuffer.empty()) {
      m_writeBuffer.reserve(static_cast<size_t>(kWriteBufferSize));
      m_bufferStart = m_position;
    }
    m_writeBuffer.insert(m_writeBuffer.end(), bytes, bytes + count);
  }
  m_position += count;
  return ok && !m_bFailed;
}

bool CFileStream::WriteZeros(int64_t count) {
  static const unsigned char kZeros[4096] = {};
  while (count > 0) {
    int64_t n = std::min<int64_t>(count, sizeof kZeros);
    if (!Write(kZeros, n)) return false;
    count -= n;
  }
  return !m_bFailed;
}

bool CFileStream::Sync() {
  if (m_fd < 0 || !Flush()) return false;
  if (::fsync(m_fd) != 0) {
    Fail();
    return false;
  }
  return true;
}
