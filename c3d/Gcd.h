#pragma once
// CGcd: the reader of DST (and GCD) text files: named sections of numbers,
// one section per channel.
//
//   #!DST-2.0 ...          the first non-empty line starts with "#!DST"
//   !LASI-3                a section header: "!" or "$" first; its name is
//   1.0 2.0 3.0            the line up to the first blank, then up to the
//   ...                    first "-" ("!LASI")
//
// Lines end with LF or CR LF; trailing blanks are ignored and empty lines are
// skipped everywhere. Numbers are separated by single blanks. However the
// file looks (very long lines, more numbers than asked for, binary data) the
// reader never stores more than it was asked for: a line is kept up to
// kMaxLineLength bytes and the rest of it is skipped.

#include <cstdint>
#include <string>
#include <vector>

#include "c3d/FileStream.h"
#include "c3d/UserPrompt.h"

class CGcd {
 public:
  // Longest part of a line that is looked at.
  static constexpr size_t kMaxLineLength = 4 << 20;

  CGcd();
  ~CGcd();
  CGcd(const CGcd&) = delete;
  CGcd& operator=(const CGcd&) = delete;

  // Where the messages go (a recording prompt by default).
  void SetPrompt(CUserPrompt* prompt);

  // Opens the file and checks its first non-empty line. Shows "Could not
  // open file" or "Selected file is not a GCD file" and returns false when
  // it cannot be used.
  bool Open(const std::string& path);
  // Rewinds and lists every section header with its position.
  void IndexSections();
  // Reads `rows` rows of exactly `columns` numbers from the first section
  // named `name` (letter case ignored) into `dest`, one row after the other.
  // A line with fewer numbers shows "Not enough data in a line" and ends the
  // read. True only when all rows were read; rows read before a failure stay
  // in `dest`.
  bool ReadRows(const std::string& name, float* dest, int rows, int columns);
  // Reads rows x columns numbers from the section, however they are spread
  // over its lines (at most `columns` numbers are taken from one line). True
  // only when all of them were read.
  bool ReadValues(const std::string& name, float* dest, int rows, int columns);
  void Close();

  bool IsOpen() const { return m_bOpen; }
  const std::string& Path() const { return m_strPath; }
  // Names of the indexed sections, in file order.
  std::vector<std::string> SectionNames() const;

  // The section name of a header line: cut at the first blank, then at the
  // first "-".
  static std::string SectionName(const std::string& line);
  // Splits a line into at most `n` fields: leading blanks are removed, then
  // each field runs to the next blank (two blanks in a row give an empty
  // field) and the text after the last blank is the last field. Each field
  // becomes a number as the C library's decimal conversion reads it, in any
  // locale (text that is no number gives 0). Returns the number of fields.
  static int SplitNumbers(const std::string& line, float* out, int n);

 private:
  struct CSection {
    std::string m_strName;
    int64_t m_nPosition;
  };

  // Reads the next line into m_strLine without its line end and trailing
  // blanks; false at the end of the file. m_nLineStart is where it began.
  bool ReadLine();
  bool Rewind(int64_t position);
  bool IsHeaderLine() const;
  // Seeks to the section and reads its header line; false when there is no
  // such section.
  bool StartSection(const std::string& name);

  CFileStream m_file;
  std::string m_strPath;
  bool m_bOpen = false;
  std::string m_strLine;   // the last line read
  int64_t m_nLineStart = 0;
  std::vector<CSection> m_sections;

  // Read buffer over the file.
  std::vector<char> m_buffer;
  size_t m_nBufferPos = 0;
  size_t m_nBufferEnd = 0;
  int64_t m_nBufferFilePos = 0;  // file position of m_buffer[0]
  bool m_bEof = false;

  CUserPrompt* m_pPrompt;
  CRecordingPrompt m_defaultPrompt;
};
