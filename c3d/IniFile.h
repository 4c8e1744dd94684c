#pragma once
// Sectioned key=value text files ("INI" files): batch files, validity rules,
// parameter templates and the settings store. Section and key names are
// compared without regard to case; the order of sections and keys is kept.
//
// Reading: "[Section]" lines open a section, "key=value" lines add a key
// (blanks around key and value are trimmed), lines starting with ";" or "#"
// are comments, anything else is ignored.
//
// SetExactSectionNames(true) makes section names match only with the same
// letter case (the settings store keeps "Settings\FIRAnalog" and
// "Settings\FIRAnaLog" apart); set it before Load or Parse.

#include <string>
#include <utility>
#include <vector>

class CIniFile {
 public:
  using Entry = std::pair<std::string, std::string>;

  // Reads a file; false (and an empty object) when it cannot be read.
  bool Load(const std::string& path);
  void SetExactSectionNames(bool exact) { m_bExactSections = exact; }
  void Parse(const std::string& text);
  // Writes the whole file through a temporary file and a rename.
  bool Save(const std::string& path) const;
  std::string ToText() const;

  std::vector<std::string> SectionNames() const;
  bool HasSection(const std::string& section) const;
  // Every key=value of a section in file order (empty when missing).
  std::vector<Entry> Section(const std::string& section) const;
  // Every line of a section as read (blanks around it removed, comments and
  // blank lines left out), in file order, repeated keys and lines without
  // "=" included. Only what Load or Parse read; the setters do not add here.
  std::vector<std::string> SectionLines(const std::string& section) const;
  bool HasKey(const std::string& section, const std::string& key) const;

  std::string GetString(const std::string& section, const std::string& key,
                        const std::string& defaultValue) const;
  // Leading blanks, an optional sign and the digits that follow; text that is
  // no number gives 0; a missing key gives the default.
  int GetInt(const std::string& section, const std::string& key, int defaultValue) const;

  void SetString(const std::string& section, const std::string& key, const std::string& value);
  void SetInt(const std::string& section, const std::string& key, int value);
  void RemoveKey(const std::string& section, const std::string& key);

 private:
  struct SectionData {
    std::string m_strName;
    std::vector<Entry> m_entries;
    std::vector<std::string> m_lines;  // as read
  };
  const SectionData* FindSection(const std::string& name) const;
  SectionData* FindSection(const std::string& name);

  bool SectionNameMatches(const std::string& a, const std::string& b) const;

  std::vector<SectionData> m_sections;
  bool m_bExactSections = false;
};
