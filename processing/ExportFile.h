#pragma once
// An output file for exports that never leaves a partial file behind: the
// text goes to a temporary file beside the target, and only a complete,
// synced file is renamed over the target. Anything short of Commit (an
// error, a cancel, an early return) removes the temporary file and leaves an
// existing target untouched.
//
// Numbers are formatted without the C library's locale, so an export always
// uses "." as the decimal separator, whatever locale the program runs in.

#include <cstdint>
#include <string>
#include <string_view>

class CExportFile {
 public:
  CExportFile() = default;
  ~CExportFile();
  CExportFile(const CExportFile&) = delete;
  CExportFile& operator=(const CExportFile&) = delete;

  // Creates the temporary file for `target`. False with the reason in `error`
  // when the folder cannot take a new file.
  bool Create(const std::string& target, std::string& error);

  void Write(std::string_view text);
  void Write(char c) { m_buffer.push_back(c); MaybeFlush(); }
  // The two-byte line end of every export: carriage return, line feed.
  void EndLine() { m_buffer.append("\r\n", 2); MaybeFlush(); }
  // "%d"
  void WriteInt(int64_t value);
  // "%.<decimals>f" of the value
  void WriteFixed(double value, int decimals);

  // Flushes, syncs and renames the temporary file over the target. False
  // with the reason in `error`; the temporary file is then removed.
  bool Commit(std::string& error);
  // Closes and removes the temporary file (nothing happens when committed).
  void Discard();

  const std::string& TempPath() const { return m_strTempPath; }

 private:
  void MaybeFlush() {
    if (m_buffer.size() >= kFlushSize) Flush();
  }
  bool Flush();

  static constexpr size_t kFlushSize = 1 << 20;

  int m_fd = -1;
  std::string m_strTarget;
  std::string m_strTempPath;
  std::string m_buffer;
  std::string m_strError;  // first write error, empty while all is well
};
