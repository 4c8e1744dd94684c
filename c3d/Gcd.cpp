#include "c3d/Gcd.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cstring>

#include "c3d/Param.h"

namespace {

constexpr size_t kReadChunk = 1 << 16;

bool IsTrailingBlank(char c) { return c == ' ' || c == '\t' || c == '\r'; }

bool IsSpace(char c) { return std::isspace(static_cast<unsigned char>(c)) != 0; }

// A field as the C library's text-to-number conversion reads it: leading
// white space, an optional sign, the longest number that follows; 0 when
// there is none. Done without the C library so that the user's locale (a
// decimal comma) cannot change what a DST file means.
float FieldNumber(const char* first, const char* last) {
  while (first < last && IsSpace(*first)) ++first;
  if (first < last && *first == '+') ++first;
  float value = 0.0f;
  auto result = std::from_chars(first, last, value);
  return result.ec == std::errc() ? value : 0.0f;
}

}  // namespace

CGcd::CGcd() : m_pPrompt(&m_defaultPrompt) {}

CGcd::~CGcd() { Close(); }

void CGcd::SetPrompt(CUserPrompt* prompt) { m_pPrompt = prompt ? prompt : &m_defaultPrompt; }

// ---- Lines ---------------------------------------------------------------------

bool CGcd::Rewind(int64_t position) {
  m_nBufferPos = m_nBufferEnd = 0;
  m_nBufferFilePos = position;
  m_bEof = false;
  return m_file.Seek(position);
}

bool CGcd::ReadLine() {
  m_strLine.clear();
  m_nLineStart = m_nBufferFilePos + static_cast<int64_t>(m_nBufferPos);
  bool any = false;
  for (;;) {
    if (m_nBufferPos == m_nBufferEnd) {
      if (m_bEof) break;
      m_nBufferFilePos += static_cast<int64_t>(m_nBufferEnd);
      if (m_buffer.size() < kReadChunk) m_buffer.resize(kReadChunk);
      int64_t got = m_file.Read(m_buffer.data(), static_cast<int64_t>(m_buffer.size()));
      m_nBufferPos = 0;
      m_nBufferEnd = got > 0 ? static_cast<size_t>(got) : 0;
      if (m_nBufferEnd == 0) {
        m_bEof = true;
        break;
      }
    }
    const char* start = m_buffer.data() + m_nBufferPos;
    const size_t available = m_nBufferEnd - m_nBufferPos;
    const char* newline = static_cast<const char*>(std::memchr(start, '\n', available));
    const size_t take = newline ? static_cast<size_t>(newline - start) : available;
    any = true;
    // Only the first kMaxLineLength bytes of a line are kept.
    if (m_strLine.size() < kMaxLineLength)
      m_strLine.append(start, std::min(take, kMaxLineLength - m_strLine.size()));
    m_nBufferPos += take;
    if (newline) {
      ++m_nBufferPos;
      break;
    }
  }
  while (!m_strLine.empty() && IsTrailingBlank(m_strLine.back())) m_strLine.pop_back();
  return any;
}

bool CGcd::IsHeaderLine() const {
  return !m_strLine.empty() && (m_strLine[0] == '!' || m_strLine[0] == '$');
}

std::string CGcd::SectionName(const std::string& line) {
  std::string name = line.substr(0, line.find(' '));
  return name.substr(0, name.find('-'));
}

int CGcd::SplitNumbers(const std::string& line, float* out, int n) {
  if (n <= 0) return 0;
  const char* p = line.data();
  const char* end = p + line.size();
  while (p < end && *p == ' ') ++p;
  if (p == end) return 0;
  int count = 0;
  while (count < n) {
    const char* blank = static_cast<const char*>(std::memchr(p, ' ', static_cast<size_t>(end - p)));
    const char* fieldEnd = blank ? blank : end;
    out[count++] = FieldNumber(p, fieldEnd);
    if (!blank) break;
    p = blank + 1;
  }
  return count;
}

// ---- Open, index, close ---------------------------------------------------------

bool CGcd::Open(const std::string& path) {
  Close();
  if (!m_file.Open(path, CFileStream::READ)) {
    m_pPrompt->ShowMessage("Could not open file");
    return false;
  }
  m_strPath = path;
  Rewind(0);
  bool recognised = false;
  while (ReadLine()) {
    if (m_strLine.empty()) continue;
    recognised = m_strLine.size() >= 5 && NamesEqual(m_strLine.substr(0, 5), "#!DST");
    break;
  }
  if (!recognised) {
    m_file.Close();
    m_strPath.clear();
    m_pPrompt->ShowMessage("Selected file is not a GCD file");
    return false;
  }
  m_bOpen = true;
  return true;
}

void CGcd::IndexSections() {
  m_sections.clear();
  if (!m_bOpen) return;
  Rewind(0);
  while (ReadLine())
    if (IsHeaderLine()) m_sections.push_back({SectionName(m_strLine), m_nLineStart});
}

void CGcd::Close() {
  if (m_file.IsOpen()) m_file.Close();
  m_bOpen = false;
  m_strPath.clear();
  m_strLine.clear();
  std::vector<CSection>().swap(m_sections);
  std::vector<char>().swap(m_buffer);
  m_nBufferPos = m_nBufferEnd = 0;
}

std::vector<std::string> CGcd::SectionNames() const {
  std::vector<std::string> names;
  for (const CSection& s : m_sections) names.push_back(s.m_strName);
  return names;
}

// ---- Reading sections --------------------------------------------------------------

bool CGcd::StartSection(const std::string& name) {
  if (!m_bOpen) return false;
  for (const CSection& section : m_sections) {
    if (!NamesEqual(section.m_strName, name)) continue;
    return Rewind(section.m_nPosition) && ReadLine();
  }
  return false;
}

bool CGcd::ReadRows(const std::string& name, float* dest, int rows, int columns) {
  if (!StartSection(name)) return false;
  if (rows <= 0 || columns <= 0) return true;
  std::vector<float> row(static_cast<size_t>(columns));
  int stored = 0;
  while (stored < rows && ReadLine()) {
    if (IsHeaderLine()) break;
    if (m_strLine.empty()) continue;
    if (SplitNumbers(m_strLine, row.data(), columns) < columns) {
      m_pPrompt->ShowMessage("Not enough data in a line");
      return false;
    }
    std::copy(row.begin(), row.end(), dest + static_cast<size_t>(stored) * columns);
    ++stored;
  }
  return stored == rows;
}

bool CGcd::ReadValues(const std::string& name, float* dest, int rows, int columns) {
  if (!StartSection(name)) return false;
  if (rows <= 0 || columns <= 0) return true;
  const size_t total = static_cast<size_t>(rows) * static_cast<size_t>(columns);
  std::vector<float> fields(static_cast<size_t>(columns));
  size_t stored = 0;
  while (stored < total && ReadLine()) {
    if (IsHeaderLine()) break;
    if (m_strLine.empty()) continue;
    const int n = SplitNumbers(m_strLine, fields.data(), columns);
    const size_t take = std::min(static_cast<size_t>(n), total - stored);
    std::copy(fields.begin(), fields.begin() + static_cast<std::ptrdiff_t>(take), dest + stored);
    stored += take;
  }
  return stored == total;
}
