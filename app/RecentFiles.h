#pragma once
// The recent-file list: at most eight paths, most recent first. Paths are
// kept absolute so that the same file reached by two relative names is
// listed once. The list lives in the settings file, section
// "Recent File List", keys File1 to File8.
//
// Entries whose file has gone stay listed: opening one reports the failure
// like any open, and the shell may then Remove it.

#include <string>
#include <vector>

class CIniFile;

class CRecentFiles {
 public:
  static constexpr int kMaxEntries = 8;

  explicit CRecentFiles(int maxEntries = kMaxEntries) : m_nMaxEntries(maxEntries) {}

  // Puts `path` (made absolute) at the top; an entry naming the same file
  // moves up instead of appearing twice; the oldest entry drops off when the
  // list is full. Paths holding a line break are ignored (the file could not
  // store them).
  void Add(const std::string& path);
  // Removes the entry naming `path`; false when it is not listed.
  bool Remove(const std::string& path);
  void Clear() { m_entries.clear(); }

  const std::vector<std::string>& Entries() const { return m_entries; }
  int Count() const { return static_cast<int>(m_entries.size()); }
  int MaxEntries() const { return m_nMaxEntries; }

  // Replaces the list by the entries of the settings file (in key order,
  // empty keys skipped, duplicates dropped).
  void Read(const CIniFile& ini);
  // Writes File1..FileN and removes the keys of entries no longer listed.
  void Write(CIniFile& ini) const;

  // `path` made absolute and lexically normalised ("a/../b" is "b"); links
  // are not followed and the file need not exist.
  static std::string MakeAbsolute(const std::string& path);
  // What a menu shows for an entry: its file name.
  static std::string DisplayName(const std::string& path);

 private:
  int m_nMaxEntries;
  std::vector<std::string> m_entries;
};
