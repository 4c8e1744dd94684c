#include "document/ParamEditor.h"

#include <cstdio>
#include <cstdlib>

#include "c3d/C3d.h"
#include "c3d/NumberText.h"

namespace {

const char kBadDimension[] = "Incorrect Dimension value";
const char kBadByte[] = "Entered Value is not a Valid BYTE value";
const char kBadInteger[] = "Entered Value is not a Valid INTEGER value";
const char kBadFloat[] = "Entered Value is not a Valid FLOAT value";
const char kInvalidName[] = "Invalid Parameter Name";
const char kNameTaken[] = "This Parameter is already present in the Group";
const char kTooLarge[] =
    "The Parameter would hold too much data to be saved in a C3D file (at most 32767 bytes)";

// What one parameter record may carry besides its name.
constexpr long long kMaxRecordBytes = 32767;

int AbsNumber(int id) { return std::abs(id); }

}  // namespace

CParamEditorRequest::CParamEditorRequest(CC3d& c3d, int param) : m_pC3d(&c3d), m_nParam(param) {
  CopyParam(c3d.m_params[static_cast<size_t>(param)], m_param);
  m_strName = m_param.m_strName;
  m_strDescription = m_param.m_strDescription;
  m_bLocked = m_param.m_bLocked;
  for (size_t g = 0; g < c3d.m_groups.size(); ++g) {
    m_groupNames.push_back(c3d.m_groups[g].m_strName);
    if (m_nGroup < 0 && AbsNumber(c3d.m_groups[g].m_nId) == AbsNumber(m_param.m_nGroupId))
      m_nGroup = static_cast<int>(g);
  }
}

std::string CParamEditorRequest::DimensionText(int d) const {
  if (d < 0 || d >= DimensionCount()) return std::string();
  return std::to_string(static_cast<int>(m_param.m_dims[static_cast<size_t>(d)]));
}

std::vector<std::string> CParamEditorRequest::DataTypeChoices() const {
  if (m_param.IsChar()) return {"CHAR"};
  return {"BYTE", "INTEGER", "FLOAT"};
}

int CParamEditorRequest::DataTypeChoice() const {
  switch (m_param.m_nType) {
    case PARAM_INTEGER: return 1;
    case PARAM_FLOAT: return 2;
    default: return 0;
  }
}

std::string CParamEditorRequest::ValueText(int i) const {
  if (i < 0 || i >= ValueCount()) return std::string();
  char text[64];
  switch (m_param.m_nType) {
    case PARAM_CHAR: return m_param.m_strings[static_cast<size_t>(i)];
    case PARAM_BYTE:
      std::snprintf(text, sizeof text, "%d", static_cast<int>(static_cast<int8_t>(m_param.ByteAt(i))));
      return text;
    case PARAM_INTEGER: std::snprintf(text, sizeof text, "%d", static_cast<int>(m_param.ShortAt(i))); return text;
    case PARAM_FLOAT: std::snprintf(text, sizeof text, "%.6f", static_cast<double>(m_param.FloatAt(i))); return text;
    default: return std::string();
  }
}

void CParamEditorRequest::ResizeValues(bool lengthChanged) {
  m_param.ResizeToDimensions();
  if (m_param.IsChar() && lengthChanged && !m_param.m_dims.empty()) {
    const size_t width = m_param.m_dims[0];
    for (std::string& s : m_param.m_strings)
      if (s.size() > width) s.resize(width);
  }
}

bool CParamEditorRequest::FitsInRecord(const CParam& candidate, CUserPrompt& prompt) const {
  long long bytes = 1;
  for (uint8_t d : candidate.m_dims) bytes *= d;
  if (!candidate.IsChar()) bytes *= std::abs(candidate.m_nType);
  bytes += static_cast<long long>(candidate.m_dims.size()) +
           static_cast<long long>(m_strDescription.size()) + 5;
  if (bytes > kMaxRecordBytes) {
    prompt.ShowMessage(kTooLarge);
    return false;
  }
  return true;
}

bool CParamEditorRequest::EditDimension(int d, const std::string& text, CUserPrompt& prompt) {
  if (d < 0 || d >= DimensionCount() || text.empty() || text.size() > 9) return false;
  for (char c : text)
    if (c < '0' || c > '9') return false;
  const int size = std::atoi(text.c_str());
  if (size < 1 || size > 255) {
    prompt.ShowMessage(kBadDimension);
    return false;
  }
  CParam candidate = m_param;
  candidate.m_dims[static_cast<size_t>(d)] = static_cast<uint8_t>(size);
  if (!FitsInRecord(candidate, prompt)) return false;
  m_param.m_dims[static_cast<size_t>(d)] = static_cast<uint8_t>(size);
  ResizeValues(d == 0);
  return true;
}

bool CParamEditorRequest::SetDimensionCount(int count, CUserPrompt& prompt) {
  if (count < MinDimensions() || count > kMaxDimensions || count == DimensionCount()) return false;
  CParam candidate = m_param;
  candidate.m_dims.resize(static_cast<size_t>(count), 1);
  if (!FitsInRecord(candidate, prompt)) return false;
  m_param.m_dims.resize(static_cast<size_t>(count), 1);
  ResizeValues(false);
  return true;
}

bool CParamEditorRequest::SetDataType(const std::string& name, CUserPrompt& prompt) {
  if (m_param.IsChar()) return false;
  int16_t type;
  if (name == "BYTE")
    type = PARAM_BYTE;
  else if (name == "INTEGER")
    type = PARAM_INTEGER;
  else if (name == "FLOAT")
    type = PARAM_FLOAT;
  else
    return false;
  if (type == m_param.m_nType) return false;
  CParam candidate = m_param;
  candidate.m_nType = type;
  if (!FitsInRecord(candidate, prompt)) return false;
  // The cells hold numbers in the old type's form: carry each value over so
  // that a FLOAT 1.5 becomes the BYTE 1, not the low byte of its bits.
  for (int i = 0; i < m_param.ElementCount(); ++i) {
    const double value = m_param.NumericValue(i, ValueSign::Signed);
    candidate.m_cells[static_cast<size_t>(i)] = 0;
    candidate.SetNumericValue(i, value);
  }
  m_param = std::move(candidate);
  return true;
}

bool CParamEditorRequest::EditValue(int i, const std::string& text, CUserPrompt& prompt) {
  if (i < 0 || i >= ValueCount() || text.empty()) return false;
  switch (m_param.m_nType) {
    case PARAM_CHAR: {
      const size_t width = m_param.m_dims.empty() ? 0 : m_param.m_dims[0];
      if (text.size() > width) return false;
      m_param.m_strings[static_cast<size_t>(i)] = text;
      return true;
    }
    case PARAM_BYTE: {
      int value;
      if (!ParseByteText(text, value)) {
        prompt.ShowMessage(kBadByte);
        return false;
      }
      m_param.SetByteAt(i, static_cast<uint8_t>(value));
      return true;
    }
    case PARAM_INTEGER: {
      int value;
      if (!ParseShortText(text, value)) {
        prompt.ShowMessage(kBadInteger);
        return false;
      }
      m_param.SetShortAt(i, static_cast<int16_t>(value));
      return true;
    }
    case PARAM_FLOAT: {
      double value;
      if (!ParseRealText(text, value)) {
        prompt.ShowMessage(kBadFloat);
        return false;
      }
      m_param.SetFloatAt(i, static_cast<float>(value));
      return true;
    }
    default: return false;
  }
}

bool CParamEditorRequest::Ok(CUserPrompt& prompt) {
  if (m_nGroup < 0 || m_nGroup >= static_cast<int>(m_pC3d->m_groups.size())) return false;
  if (!IsValidName(m_strName)) {
    prompt.ShowMessage(kInvalidName);
    return false;
  }
  const int number = AbsNumber(m_pC3d->m_groups[static_cast<size_t>(m_nGroup)].m_nId);
  for (size_t p = 0; p < m_pC3d->m_params.size(); ++p) {
    const CParam& other = m_pC3d->m_params[p];
    if (static_cast<int>(p) != m_nParam && AbsNumber(other.m_nGroupId) == number &&
        NamesEqual(other.m_strName, m_strName)) {
      prompt.ShowMessage(kNameTaken);
      return false;
    }
  }
  CParam& param = m_pC3d->m_params[static_cast<size_t>(m_nParam)];
  param.m_strName = m_strName;
  param.m_strDescription = m_strDescription;
  param.m_bLocked = m_bLocked;
  param.m_nGroupId = static_cast<int8_t>(number);
  param.m_nType = m_param.m_nType;
  param.m_dims = m_param.m_dims;
  param.m_cells = m_param.m_cells;
  param.m_strings = m_param.m_strings;
  return true;
}
