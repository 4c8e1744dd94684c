#pragma once
// A batch file: the operations the batch processor runs on an open C3D file,
// in sections and keys ("[General]", "[Operation1]", ... with key=value
// lines). The program only reads batch files.
//
// Reading rules, shared by every operation:
// - Section and key names are matched without regard to letter case. Lines
//   starting with ";" are comments. A value written in matching quotes loses
//   them ("Name" and Name read alike).
// - Strings are read up to 255 characters in "General" and 511 in the
//   operation sections; longer values are cut. A missing "General" string
//   reads as empty text. In an operation section a value that is literally
//   "Empty" (this letter case) counts as missing.
// - Integers are decimal with an optional sign; reading stops at the first
//   character that is no digit, and text that is no number reads as 0. A key
//   that is missing or has an empty value reads as its default.
// - Reals are read as the leading number of the text (text that is no
//   number reads as 0), always with a decimal point whatever the locale.
// - Lists are comma-separated (SplitFields); channel lists hold "n" or "a-b"
//   tokens counted from 1 (ChannelListIndexes).

#include <optional>
#include <string>
#include <vector>

#include "c3d/IniFile.h"

class CBatchFile {
 public:
  static constexpr size_t kGeneralLength = 255;
  static constexpr size_t kOperationLength = 511;

  // False (and an empty file) when it cannot be read.
  bool Load(const std::string& path);
  void Parse(const std::string& text);
  const std::string& Path() const { return m_strPath; }

  // ---- Section "General" ------------------------------------------------
  std::string GeneralString(const std::string& key) const;
  int GeneralInt(const std::string& key, int defaultValue) const;

  // ---- Any section ------------------------------------------------------
  // An operation section's string: nullopt when missing or "Empty".
  std::optional<std::string> String(const std::string& section, const std::string& key) const;
  int Int(const std::string& section, const std::string& key, int defaultValue) const;
  // Every line of the section as written (comments and blank lines left
  // out, blanks around the line removed), in file order, repeats kept.
  std::vector<std::string> SectionLines(const std::string& section) const;

  // Name of operation section `number` ("Operation3").
  static std::string OperationSection(int number);
  // The highest n for which a section "Operation<n>" exists (0 when none):
  // operations beyond it have no section and do nothing.
  int LastOperationSection() const;

 private:
  // The raw value without its quotes; nullopt when the key is missing.
  std::optional<std::string> Raw(const std::string& section, const std::string& key) const;

  CIniFile m_ini;
  std::string m_strPath;
};

// ---- Value helpers ---------------------------------------------------------

// The integer rule above; nullopt for empty text (so the caller's default
// applies). Values beyond the int range are held at its ends.
std::optional<int> ReadBatchInteger(const std::string& text);
// The leading real number of the text; 0 when there is none.
double ReadBatchReal(const std::string& text);
// A whole text (blanks around it ignored) that is one finite real number.
std::optional<double> ParseWholeReal(const std::string& text);
// Text without leading and trailing blanks.
std::string TrimBlanks(const std::string& text);
// Text with every blank removed.
std::string RemoveBlanks(const std::string& text);
// Keyword comparison: letter case ignored.
bool KeywordEquals(const std::string& text, const char* keyword);

// Splits at the first `count` - 1 commas into exactly `count` fields (the
// last one keeps any further commas); missing fields are empty. Blanks
// around each field are removed.
std::vector<std::string> SplitFields(const std::string& text, int count);
// Splits at every comma; blanks around each token are removed.
std::vector<std::string> SplitList(const std::string& text);

// A channel list such as "1,3-5" as 0-based channel indexes, in list order:
// a token "n" is channel n, "a-b" channels a to b (a at least 1, b at least
// a; otherwise the token selects nothing). Channels above `channelCount` and
// repeats are dropped.
std::vector<int> ChannelListIndexes(const std::string& text, int channelCount);
