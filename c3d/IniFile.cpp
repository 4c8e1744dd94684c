#include "c3d/IniFile.h"

#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>

#include "c3d/Param.h"
#include "c3d/SafeFile.h"

namespace {

std::string Trim(const std::string& s) {
  size_t b = 0, e = s.size();
  while (b < e && std::isspace(static_cast<unsigned char>(s[b]))) ++b;
  while (e > b && std::isspace(static_cast<unsigned char>(s[e - 1]))) --e;
  return s.substr(b, e - b);
}

}  // namespace

bool CIniFile::Load(const std::string& path) {
  m_sections.clear();
  std::ifstream in(path, std::ios::binary);
  if (!in) return false;
  std::ostringstream text;
  text << in.rdbuf();
  Parse(text.str());
  return true;
}

void CIniFile::Parse(const std::string& text) {
  m_sections.clear();
  SectionData* current = nullptr;
  std::istringstream in(text);
  std::string line;
  while (std::getline(in, line)) {
    std::string t = Trim(line);
    if (t.empty() || t[0] == ';' || t[0] == '#') continue;
    if (t[0] == '[') {
      size_t close = t.find(']');
      std::string name = Trim(t.substr(1, close == std::string::npos ? std::string::npos : close - 1));
      current = FindSection(name);
      if (!current) {
        m_sections.push_back({name, {}, {}});
        current = &m_sections.back();
      }
      continue;
    }
    if (current) current->m_lines.push_back(t);
    size_t eq = t.find('=');
    if (eq == std::string::npos || !current) continue;
    std::string key = Trim(t.substr(0, eq));
    std::string value = Trim(t.substr(eq + 1));
    if (key.empty()) continue;
    bool replaced = false;
    for (auto& entry : current->m_entries) {
      if (NamesEqual(entry.first, key)) {
        entry.second = value;
        replaced = true;
        break;
      }
    }
    if (!replaced) current->m_entries.emplace_back(key, value);
  }
}

std::string CIniFile::ToText() const {
  std::string out;
  for (const auto& section : m_sections) {
    if (!out.empty()) out += "\n";
    out += "[" + section.m_strName + "]\n";
    for (const auto& entry : section.m_entries) out += entry.first + "=" + entry.second + "\n";
  }
  return out;
}

bool CIniFile::Save(const std::string& path) const {
  return WriteFileAtomically(path, ToText());
}

std::vector<std::string> CIniFile::SectionNames() const {
  std::vector<std::string> names;
  for (const auto& section : m_sections) names.push_back(section.m_strName);
  return names;
}

bool CIniFile::HasSection(const std::string& section) const { return FindSection(section) != nullptr; }

std::vector<CIniFile::Entry> CIniFile::Section(const std::string& section) const {
  const SectionData* s = FindSection(section);
  return s ? s->m_entries : std::vector<Entry>{};
}

std::vector<std::string> CIniFile::SectionLines(const std::string& section) const {
  const SectionData* s = FindSection(section);
  return s ? s->m_lines : std::vector<std::string>{};
}

bool CIniFile::HasKey(const std::string& section, const std::string& key) const {
  const SectionData* s = FindSection(section);
  if (!s) return false;
  for (const auto& entry : s->m_entries)
    if (NamesEqual(entry.first, key)) return true;
  return false;
}

std::string CIniFile::GetString(const std::string& section, const std::string& key,
                                const std::string& defaultValue) const {
  const SectionData* s = FindSection(section);
  if (!s) return defaultValue;
  for (const auto& entry : s->m_entries)
    if (NamesEqual(entry.first, key)) return entry.second;
  return defaultValue;
}

int CIniFile::GetInt(const std::string& section, const std::string& key, int defaultValue) const {
  if (!HasKey(section, key)) return defaultValue;
  std::string text = GetString(section, key, "");
  size_t i = 0;
  while (i < text.size() && std::isspace(static_cast<unsigned char>(text[i]))) ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == '-' || text[i] == '+')) negative = text[i++] == '-';
  // Hexadecimal "0x..." is accepted too (colours are often written that way).
  bool hex = i + 1 < text.size() && text[i] == '0' && (text[i + 1] == 'x' || text[i + 1] == 'X');
  unsigned long long value = std::strtoull(text.c_str() + i + (hex ? 2 : 0), nullptr, hex ? 16 : 10);
  long long v = static_cast<long long>(value & 0xffffffffULL);
  return static_cast<int>(static_cast<unsigned int>(negative ? -v : v));
}

void CIniFile::SetString(const std::string& section, const std::string& key, const std::string& value) {
  SectionData* s = FindSection(section);
  if (!s) {
    m_sections.push_back({section, {}, {}});
    s = &m_sections.back();
  }
  for (auto& entry : s->m_entries) {
    if (NamesEqual(entry.first, key)) {
      entry.second = value;
      return;
    }
  }
  s->m_entries.emplace_back(key, value);
}

void CIniFile::SetInt(const std::string& section, const std::string& key, int value) {
  SetString(section, key, std::to_string(value));
}

void CIniFile::RemoveKey(const std::string& section, const std::string& key) {
  SectionData* s = FindSection(section);
  if (!s) return;
  for (auto it = s->m_entries.begin(); it != s->m_entries.end(); ++it) {
    if (NamesEqual(it->first, key)) {
      s->m_entries.erase(it);
      return;
    }
  }
}

const CIniFile::SectionData* CIniFile::FindSection(const std::string& name) const {
  for (const auto& section : m_sections)
    if (SectionNameMatches(section.m_strName, name)) return &section;
  return nullptr;
}

CIniFile::SectionData* CIniFile::FindSection(const std::string& name) {
  for (auto& section : m_sections)
    if (SectionNameMatches(section.m_strName, name)) return &section;
  return nullptr;
}

bool CIniFile::SectionNameMatches(const std::string& a, const std::string& b) const {
  return m_bExactSections ? a == b : NamesEqual(a, b);
}
