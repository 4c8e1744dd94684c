#pragma once
// A binary file opened for reading, or for reading and writing, with
// explicit positions. Writes are buffered so that frame-by-frame output does
// not turn into one system call per frame; every read, length query, sync or
// close flushes first. Small reads are served from a read cache. Errors are
// remembered and reported by Failed() and ErrorText().

#include <cstdint>
#include <string>
#include <vector>

class CFileStream {
 public:
  enum Mode { READ, READ_WRITE_CREATE };

  CFileStream() = default;
  ~CFileStream();
  CFileStream(const CFileStream&) = delete;
  CFileStream& operator=(const CFileStream&) = delete;

  // Opens `path`. READ_WRITE_CREATE creates the file when missing and does
  // not empty it.
  bool Open(const std::string& path, Mode mode);
  // Flushes and closes; false when any write failed.
  bool Close();
  bool IsOpen() const { return m_fd >= 0; }

  bool Seek(int64_t position);
  int64_t Position() const { return m_position; }
  int64_t Length();
  bool SetLength(int64_t length);

  // Reads up to `count` bytes; returns the number read (short at the end of
  // the file or on error).
  int64_t Read(void* buffer, int64_t count);
  // Writes `count` bytes at the current position.
  bool Write(const void* data, int64_t count);
  bool WriteZeros(int64_t count);

  // Flushes buffered writes and forces them to the disk.
  bool Sync();

  bool Failed() const { return m_bFailed; }
  // The system's text for the first error ("No space left on device", ...).
  const std::string& ErrorText() const { return m_strError; }
  const std::string& Path() const { return m_strPath; }

 private:
  bool Flush();
  void Fail();
  int64_t ReadAt(int64_t position, unsigned char* buffer, int64_t count);
  bool WriteAt(int64_t position, const unsigned char* data, int64_t count);

  int m_fd = -1;
  std::string m_strPath;
  int64_t m_position = 0;
  std::vector<unsigned char> m_writeBuffer;  // bytes pending at m_bufferStart
  int64_t m_bufferStart = 0;
  bool m_bFailed = false;
  std::string m_strError;
  std::vector<unsigned char> m_readCache;  // bytes of the file from m_readStart
  int64_t m_readStart = 0;
};
