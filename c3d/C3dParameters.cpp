// Parameter look-ups and value accessors of CC3d. Reading and writing of the
// parameter records lives in C3dParamRecords.cpp.
#include <cstdio>
#include <cstdlib>

#include "c3d/C3d.h"

int CC3d::FindGroup(const std::string& group) const {
  for (size_t i = 0; i < m_groups.size(); ++i)
    if (NamesEqual(m_groups[i].m_strName, group)) return static_cast<int>(i);
  return -1;
}

int CC3d::FindParameter(const std::string& group, const std::string& param) const {
  // Only the first group of that name is searched; several groups may share a
  // name and later ones are never looked at.
  int g = FindGroup(group);
  if (g < 0) return -1;
  int id = std::abs(static_cast<int>(m_groups[static_cast<size_t>(g)].m_nId));
  for (size_t i = 0; i < m_params.size(); ++i) {
    const CParam& p = m_params[i];
    if (std::abs(static_cast<int>(p.m_nGroupId)) == id && NamesEqual(p.m_strName, param))
      return static_cast<int>(i);
  }
  return -1;
}

CParam* CC3d::FindParam(const std::string& group, const std::string& param) {
  int i = FindParameter(group, param);
  return i < 0 ? nullptr : &m_params[static_cast<size_t>(i)];
}

const CParam* CC3d::FindParam(const std::string& group, const std::string& param) const {
  int i = FindParameter(group, param);
  return i < 0 ? nullptr : &m_params[static_cast<size_t>(i)];
}

std::string CC3d::GetValueText(const std::string& group, const std::string& param, int index,
                               int decimals) const {
  const CParam* p = FindParam(group, param);
  if (!p || p->IsChar() || index < 0 || index >= p->ElementCount()) return std::string();
  char text[512];
  switch (p->m_nType) {
    case PARAM_BYTE: std::snprintf(text, sizeof text, "%d", static_cast<int>(p->ByteAt(index))); break;
    case PARAM_INTEGER: std::snprintf(text, sizeof text, "%d", static_cast<int>(p->ShortAt(index))); break;
    case PARAM_FLOAT: {
      char format[32];
      std::snprintf(format, sizeof format, "%%.%df", decimals);
      std::snprintf(text, sizeof text, format, static_cast<double>(p->FloatAt(index)));
      break;
    }
    default: return std::string();
  }
  return text;
}

void CC3d::SetValueText(const std::string& group, const std::string& param, int index,
                        const std::string& text) {
  CParam* p = FindParam(group, param);
  if (!p || index < 0 || index >= p->ElementCount()) return;
  switch (p->m_nType) {
    case PARAM_CHAR: p->m_strings[static_cast<size_t>(index)] = text; break;
    case PARAM_BYTE: p->SetByteAt(index, static_cast<uint8_t>(std::strtoll(text.c_str(), nullptr, 10) & 0xff)); break;
    case PARAM_INTEGER:
      p->SetShortAt(index, static_cast<int16_t>(static_cast<uint16_t>(std::strtoll(text.c_str(), nullptr, 10) & 0xffff)));
      break;
    case PARAM_FLOAT: p->SetFloatAt(index, static_cast<float>(std::atof(text.c_str()))); break;
    default: break;
  }
}
