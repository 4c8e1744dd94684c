#pragma once
// A binary file opened for reading, or for reading and writing, with
// explicit positions. Writes are buffered so that frame-by-frame output does
// not turn into one system call per frame; every seek, read, length query or
// close flushes first. Errors are remembered and reported by Failed().

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
  const std::string& Path() const { return m_strPath; }

 private:
  bool Flush();

  int m_fd = -1;
  std::string m_strPath;
  int64_t m_position = 0;
  std::vector<unsigned char> m_writeBuffer;  // bytes pending at m_bufferStart
  int64_t m_bufferStart = 0;
  bool m_bFailed = false;
};
