#include "c3d/Param.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <limits>

#include "c3d/IniFile.h"

namespace {

// Truncates toward zero and keeps the low `bits` bits (two's complement), as
// a C cast of the integer part would. Values beyond the 64-bit range and NaN
// give 0 instead of undefined behaviour.
int64_t TruncateToInteger(double value) {
  if (!std::isfinite(value)) return 0;
  double t = std::trunc(value);
  if (t >= 9.2e18 || t <= -9.2e18) return 0;
  return static_cast<int64_t>(t);
}

}  // namespace

int CParam::ElementCount() const {
  return IsChar() ? static_cast<int>(m_strings.size()) : static_cast<int>(m_cells.size());
}

int64_t CParam::DimensionProduct() const {
  // Up to 127 dimensions of up to 255 each: the product is held at a
  // ceiling far above anything a record can carry instead of overflowing,
  // and any dimension of 0 gives no elements at all.
  constexpr int64_t kCeiling = int64_t{1} << 40;
  int64_t n = 1;
  for (uint8_t d : m_dims) {
    if (d == 0) return 0;
    n = std::min(n * d, kCeiling);
  }
  return n;
}

int64_t CParam::DataBytes() const {
  if (IsChar()) {
    int64_t width = m_dims.empty() ? 0 : m_dims[0];
    if (m_dims.empty()) {
      // No dimensions: one element, a single character in the file; a longer
      // text is written with one dimension of its length (at most 255).
      size_t length = m_strings.empty() ? 0 : m_strings[0].size();
      return length > 1 ? static_cast<int64_t>(std::min<size_t>(length, 255)) : 1;
    }
    return static_cast<int64_t>(m_strings.size()) * width;
  }
  return static_cast<int64_t>(std::abs(m_nType)) * static_cast<int64_t>(m_cells.size());
}

const char* CParam::TypeName() const {
  switch (m_nType) {
    case PARAM_CHAR: return "CHAR";
    case PARAM_BYTE: return "BYTE";
    case PARAM_INTEGER: return "INTEGER";
    case PARAM_FLOAT: return "FLOAT";
    default: return "";
  }
}

uint8_t CParam::ByteAt(int index) const {
  return static_cast<uint8_t>(m_cells[static_cast<size_t>(index)] & 0xffu);
}

int16_t CParam::ShortAt(int index) const {
  return static_cast<int16_t>(static_cast<uint16_t>(m_cells[static_cast<size_t>(index)] & 0xffffu));
}

float CParam::FloatAt(int index) const {
  float f;
  uint32_t cell = m_cells[static_cast<size_t>(index)];
  std::memcpy(&f, &cell, 4);
  return f;
}

void CParam::SetByteAt(int index, uint8_t value) {
  uint32_t& cell = m_cells[static_cast<size_t>(index)];
  cell = (cell & ~0xffu) | value;
}

void CParam::SetShortAt(int index, int16_t value) {
  uint32_t& cell = m_cells[static_cast<size_t>(index)];
  cell = (cell & ~0xffffu) | static_cast<uint16_t>(value);
}

void CParam::SetFloatAt(int index, float value) {
  std::memcpy(&m_cells[static_cast<size_t>(index)], &value, 4);
}

double CParam::NumericValue(int index, ValueSign sign) const {
  if (IsChar() || index < 0 || index >= static_cast<int>(m_cells.size())) return 0.0;
  switch (m_nType) {
    case PARAM_BYTE:
      return sign == ValueSign::Signed ? static_cast<double>(static_cast<int8_t>(ByteAt(index)))
                                       : static_cast<double>(ByteAt(index));
    case PARAM_INTEGER:
      return sign == ValueSign::Unsigned ? static_cast<double>(static_cast<uint16_t>(ShortAt(index)))
                                         : static_cast<double>(ShortAt(index));
    case PARAM_FLOAT: return FloatAt(index);
    default: return 0.0;
  }
}

void CParam::SetNumericValue(int index, double value) {
  if (IsChar() || index < 0 || index >= static_cast<int>(m_cells.size())) return;
  switch (m_nType) {
    case PARAM_BYTE: SetByteAt(index, static_cast<uint8_t>(TruncateToInteger(value) & 0xff)); break;
    case PARAM_INTEGER:
      SetShortAt(index, static_cast<int16_t>(static_cast<uint16_t>(TruncateToInteger(value) & 0xffff)));
      break;
    case PARAM_FLOAT: SetFloatAt(index, static_cast<float>(value)); break;
    default: break;
  }
}

void CParam::ResizeToDimensions() {
  if (IsChar()) {
    size_t n = 1;
    for (size_t i = 1; i < m_dims.size(); ++i) n *= m_dims[i];
    m_strings.resize(n);
  } else {
    m_cells.resize(static_cast<size_t>(DimensionProduct()), 0u);
  }
}

bool CParam::RemoveElement(int index) {
  if (index < 0) return false;
  if (IsChar()) {
    if (m_dims.size() != 2 || index >= static_cast<int>(m_strings.size())) return false;
    m_strings.erase(m_strings.begin() + index);
    if (m_dims[1] > 0) --m_dims[1];
    return true;
  }
  if (m_dims.size() != 1 || index >= static_cast<int>(m_cells.size())) return false;
  m_cells.erase(m_cells.begin() + index);
  if (m_dims[0] > 0) --m_dims[0];
  return true;
}

void CParam::CheckAgainstTemplate(const std::string& section, const CIniFile& tmpl,
                                  std::vector<std::string>& messages) const {
  const int kMissing = -3421;
  int data = tmpl.GetInt(section, "Data", kMissing);
  if (data == kMissing) {
    messages.push_back("Data Type Entry not found");
    return;
  }
  if (data != m_nType) messages.push_back("Incorrect Data Type");
  int numDim = tmpl.GetInt(section, "NumDim", kMissing);
  if (numDim == kMissing) {
    messages.push_back("Number of dimensions Not Found");
    return;
  }
  if (numDim != DimensionCount()) {
    messages.push_back("Incorrect Number of Dimensions");
    messages.push_back("Incorrect Dimensions");
    return;
  }
  for (int i = 0; i < DimensionCount(); ++i) {
    char key[16];
    std::snprintf(key, sizeof key, "Dim%d", i + 1);
    if (tmpl.GetInt(section, key, kMissing) != m_dims[static_cast<size_t>(i)]) {
      messages.push_back("Incorrect Dimensions");
      break;
    }
  }
}

void CopyParam(const CParam& source, CParam& target) {
  if (&source != &target) target = source;
}

void CopyGroup(const CGroup& source, CGroup& target) {
  target.m_strName = source.m_strName;
  target.m_strDescription = source.m_strDescription;
  target.m_nId = source.m_nId;
  target.m_bLocked = source.m_bLocked;
}

bool IsValidName(const std::string& name) {
  if (name.empty()) return false;
  if (!std::isalpha(static_cast<unsigned char>(name[0]))) return false;
  for (size_t i = 1; i < name.size(); ++i) {
    unsigned char c = static_cast<unsigned char>(name[i]);
    if (!std::isalnum(c) && c != '_') return false;
  }
  return true;
}

bool NamesEqual(const std::string& a, const std::string& b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    if (std::tolower(static_cast<unsigned char>(a[i])) !=
        std::tolower(static_cast<unsigned char>(b[i])))
      return false;
  }
  return true;
}
