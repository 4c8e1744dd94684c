#include "app/BatchFile.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <climits>
#include <cmath>
#include <set>

#include "c3d/Param.h"

namespace {

const char kGeneral[] = "General";
const char kMissingMarker[] = "Empty";

bool IsBlank(char c) { return std::isspace(static_cast<unsigned char>(c)) != 0; }

// The real number at the start of `text` (after blanks and a "+"), with the
// position just behind it; nullopt when there is none.
std::optional<double> LeadingReal(const std::string& text, size_t& end) {
  size_t i = 0;
  while (i < text.size() && IsBlank(text[i])) ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
  // from_chars takes no sign of its own but a "-" only; a second sign after
  // the first is no number.
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) return std::nullopt;
  double value = 0.0;
  auto result = std::from_chars(text.data() + i, text.data() + text.size(), value);
  if (result.ec == std::errc::invalid_argument) return std::nullopt;
  end = static_cast<size_t>(result.ptr - text.data());
  if (result.ec == std::errc::result_out_of_range) {
    // Beyond what a double holds: as the C conversion does, a huge value
    // becomes infinite and a tiny one 0.
    std::string number = text.substr(i, end - i);
    size_t exponent = number.find_first_of("eE");
    bool negativeExponent = exponent != std::string::npos && exponent + 1 < number.size() && number[exponent + 1] == '-';
    std::string whole = number.substr(0, std::min(number.find('.'), exponent));
    bool large = whole.find_first_not_of('0') != std::string::npos;
    value = negativeExponent || (!large && exponent == std::string::npos) ? 0.0 : HUGE_VAL;
  }
  return negative ? -value : value;
}

}  // namespace

// ---- CBatchFile ---------------------------------------------------------------

bool CBatchFile::Load(const std::string& path) {
  m_strPath = path;
  return m_ini.Load(path);
}

void CBatchFile::Parse(const std::string& text) { m_ini.Parse(text); }

std::optional<std::string> CBatchFile::Raw(const std::string& section, const std::string& key) const {
  if (!m_ini.HasKey(section, key)) return std::nullopt;
  std::string value = m_ini.GetString(section, key, std::string());
  if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') && value.back() == value.front())
    value = value.substr(1, value.size() - 2);
  return value;
}

std::string CBatchFile::GeneralString(const std::string& key) const {
  std::optional<std::string> value = Raw(kGeneral, key);
  if (!value) return std::string();
  if (value->size() > kGeneralLength) value->resize(kGeneralLength);
  return *value;
}

int CBatchFile::GeneralInt(const std::string& key, int defaultValue) const {
  return Int(kGeneral, key, defaultValue);
}

std::optional<std::string> CBatchFile::String(const std::string& section, const std::string& key) const {
  std::optional<std::string> value = Raw(section, key);
  if (!value) return std::nullopt;
  if (value->size() > kOperationLength) value->resize(kOperationLength);
  if (*value == kMissingMarker) return std::nullopt;
  return value;
}

int CBatchFile::Int(const std::string& section, const std::string& key, int defaultValue) const {
  std::optional<std::string> value = Raw(section, key);
  if (!value) return defaultValue;
  return ReadBatchInteger(*value).value_or(defaultValue);
}

std::vector<std::string> CBatchFile::SectionLines(const std::string& section) const {
  return m_ini.SectionLines(section);
}

std::string CBatchFile::OperationSection(int number) { return "Operation" + std::to_string(number); }

int CBatchFile::LastOperationSection() const {
  int last = 0;
  for (const std::string& name : m_ini.SectionNames()) {
    if (name.size() <= 9 || !NamesEqual(name.substr(0, 9), "Operation")) continue;
    std::string digits = name.substr(9);
    if (!std::all_of(digits.begin(), digits.end(), [](char c) { return c >= '0' && c <= '9'; })) continue;
    // "Operation007" is the section of operation 7 too.
    std::optional<int> number = ReadBatchInteger(digits);
    if (number && *number > last) last = *number;
  }
  return last;
}

// ---- Value helpers ------------------------------------------------------------

std::optional<int> ReadBatchInteger(const std::string& text) {
  size_t i = 0;
  while (i < text.size() && IsBlank(text[i])) ++i;
  if (i == text.size()) return std::nullopt;
  bool negative = false;
  if (text[i] == '+' || text[i] == '-') negative = text[i++] == '-';
  long long value = 0;
  for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
    value = value * 10 + (text[i] - '0');
    if (value > static_cast<long long>(INT_MAX) + 1) value = static_cast<long long>(INT_MAX) + 1;
  }
  if (negative) value = -value;
  return static_cast<int>(std::clamp<long long>(value, INT_MIN, INT_MAX));
}

double ReadBatchReal(const std::string& text) {
  size_t end = 0;
  return LeadingReal(text, end).value_or(0.0);
}

std::optional<double> ParseWholeReal(const std::string& text) {
  std::string trimmed = TrimBlanks(text);
  size_t end = 0;
  std::optional<double> value = LeadingReal(trimmed, end);
  if (!value || end != trimmed.size() || !std::isfinite(*value)) return std::nullopt;
  return value;
}

std::string TrimBlanks(const std::string& text) {
  size_t b = 0, e = text.size();
  while (b < e && IsBlank(text[b])) ++b;
  while (e > b && IsBlank(text[e - 1])) --e;
  return text.substr(b, e - b);
}

std::string RemoveBlanks(const std::string& text) {
  std::string out;
  for (char c : text)
    if (!IsBlank(c)) out += c;
  return out;
}

bool KeywordEquals(const std::string& text, const char* keyword) { return NamesEqual(text, keyword); }

std::vector<std::string> SplitFields(const std::string& text, int count) {
  std::vector<std::string> fields;
  size_t start = 0;
  for (int i = 0; i + 1 < count; ++i) {
    size_t comma = start == std::string::npos ? std::string::npos : text.find(',', start);
    if (comma == std::string::npos) {
      fields.push_back(start == std::string::npos ? std::string() : TrimBlanks(text.substr(start)));
      start = std::string::npos;
    } else {
      fields.push_back(TrimBlanks(text.substr(start, comma - start)));
      start = comma + 1;
    }
  }
  if (count > 0) fields.push_back(start == std::string::npos ? std::string() : TrimBlanks(text.substr(start)));
  return fields;
}

std::vector<std::string> SplitList(const std::string& text) {
  std::vector<std::string> tokens;
  size_t start = 0;
  while (true) {
    size_t comma = text.find(',', start);
    tokens.push_back(TrimBlanks(text.substr(start, comma == std::string::npos ? std::string::npos : comma - start)));
    if (comma == std::string::npos) break;
    start = comma + 1;
  }
  return tokens;
}

std::vector<int> ChannelListIndexes(const std::string& text, int channelCount) {
  std::vector<int> channels;
  std::set<int> seen;
  auto add = [&](int number) {
    if (number >= 1 && number <= channelCount && seen.insert(number).second) channels.push_back(number - 1);
  };
  for (const std::string& token : SplitList(text)) {
    // A "-" after the first character joins two numbers; one in front is a sign.
    size_t dash = token.find('-', 1);
    if (dash == std::string::npos) {
      add(ReadBatchInteger(token).value_or(0));
      continue;
    }
    int first = ReadBatchInteger(token.substr(0, dash)).value_or(0);
    int last = ReadBatchInteger(token.substr(dash + 1)).value_or(0);
    if (first < 1 || last < first) continue;
    // Only channels that exist can be selected: no need to walk further.
    last = std::min(last, channelCount);
    for (int n = first; n <= last; ++n) add(n);
  }
  return channels;
}
