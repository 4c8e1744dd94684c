#include "processing/Validity.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <map>

#include "c3d/C3d.h"
#include "processing/TextExport.h"

namespace {

// The rules file's marker for a value that is not there.
constexpr int kMissing = -3421;
// The buffer the section names are listed in.
constexpr size_t kSectionListSize = 6400;
constexpr size_t kGroupNameLimit = 255;

const char kAllParametersValid[] = "All the Parameters contain valid Data Type and dimensions";
const char kAllPointsInside[] = "All the data in the 3D Channels lie within data limits";

std::string Upper(std::string text) {
  for (char& c : text) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return text;
}

std::string TrimTrailingBlanks(std::string text) {
  while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) text.pop_back();
  return text;
}

// Name of the group a parameter belongs to. Groups carry negative numbers and
// parameters the absolute value, so the absolute values are compared.
std::string GroupNameOf(const CC3d& c3d, const CParam& param) {
  const int id = std::abs(static_cast<int>(param.m_nGroupId));
  for (const CGroup& group : c3d.m_groups)
    if (std::abs(static_cast<int>(group.m_nId)) == id) return group.m_strName;
  return std::string();
}

bool GroupHasParameter(const CC3d& c3d, const CGroup& group, const std::string& name) {
  const int id = std::abs(static_cast<int>(group.m_nId));
  for (const CParam& p : c3d.m_params)
    if (std::abs(static_cast<int>(p.m_nGroupId)) == id && NamesEqual(p.m_strName, name)) return true;
  return false;
}

// Some group named `group` holds a parameter named `param` (several groups
// may share a name).
bool ParameterExists(const CC3d& c3d, const std::string& group, const std::string& param) {
  for (const CGroup& g : c3d.m_groups)
    if (NamesEqual(g.m_strName, group) && GroupHasParameter(c3d, g, param)) return true;
  return false;
}

// First value of a 16-bit integer parameter as a count (0 .. 65535), so that
// files of more than 32767 frames or channels compare with the header.
int UnsignedFirst(const CParam& p) {
  return static_cast<int>(p.NumericValue(0, ValueSign::Unsigned));
}

// One parameter check that appends exactly one line. The tests run in this
// order: missing, wrong type, no values (when `noDataText` is given), the
// comparison, valid.
struct CParamCheck {
  const char* m_pszGroup;
  const char* m_pszName;
  int16_t m_nType;
  const char* m_pszNoData;  // null: no such test
  std::function<bool(const CParam&)> m_fnPasses;
  const char* m_pszFailed;  // " shows ..." / " has lesser ..." text after the name
};

void RunCheck(const CC3d& c3d, const CParamCheck& check, std::vector<std::string>& lines) {
  const std::string name = std::string(check.m_pszGroup) + ":" + check.m_pszName;
  const CParam* p = c3d.FindParam(check.m_pszGroup, check.m_pszName);
  if (!p)
    lines.push_back(name + " does Not Exist");
  else if (p->m_nType != check.m_nType)
    lines.push_back(name + " has Incorrect data type");
  else if (check.m_pszNoData && p->ElementCount() == 0)
    lines.push_back(name + " " + check.m_pszNoData);
  else if (!check.m_fnPasses(*p))
    lines.push_back(name + " " + check.m_pszFailed);
  else
    lines.push_back(name + " has valid data");
}

// LABELS and UNITS: one line when missing; otherwise a wrong type and too
// few entries each add their line, and only a right type with enough entries
// is valid.
void RunListCheck(const CC3d& c3d, const char* group, const char* param, int count,
                  const char* lesserText, std::vector<std::string>& lines) {
  const std::string name = std::string(group) + ":" + param;
  const CParam* p = c3d.FindParam(group, param);
  if (!p) {
    lines.push_back(name + " does Not Exist");
    return;
  }
  const bool rightType = p->IsChar();
  if (!rightType) lines.push_back(name + " has Incorrect data type");
  const bool enough = p->ElementCount() >= count;
  if (!enough) lines.push_back(name + " " + lesserText);
  if (rightType && enough) lines.push_back(name + " has valid data");
}

}  // namespace

// ---- Rules file ----------------------------------------------------------------

bool CValidityRules::Load(const std::string& path) {
  if (path.empty() || !m_ini.Load(path)) {
    m_ini = CIniFile();
    return false;
  }
  return true;
}

void CValidityRules::Parse(const std::string& text) { m_ini.Parse(text); }

std::vector<std::string> CValidityRules::RequiredGroups() const {
  int number = m_ini.GetInt("Groups", "Number", 0);
  if (number == kMissing || number < 0) number = 0;
  // Only the keys "Group1".."GroupN" that exist count; walking the section's
  // keys keeps a huge "Number" from costing anything.
  std::map<int, std::string> byNumber;
  for (const CIniFile::Entry& entry : m_ini.Section("Groups")) {
    const std::string& key = entry.first;
    if (key.size() < 6 || !NamesEqual(key.substr(0, 5), "Group")) continue;
    const std::string digits = key.substr(5);
    if (digits.find_first_not_of("0123456789") != std::string::npos || digits.size() > 9) continue;
    const int k = std::atoi(digits.c_str());
    if (k < 1 || k > number || entry.second.empty()) continue;
    byNumber.emplace(k, entry.second.substr(0, kGroupNameLimit));
  }
  std::vector<std::string> names;
  for (auto& [k, name] : byNumber) names.push_back(name);
  return names;
}

std::vector<std::string> CValidityRules::SectionNames() const {
  std::vector<std::string> seen;
  size_t used = 1;  // the terminator that ends the list
  for (const std::string& name : m_ini.SectionNames()) {
    if (used + name.size() + 1 > kSectionListSize) break;
    used += name.size() + 1;
    seen.push_back(name);
  }
  return seen;
}

// ---- Result text ------------------------------------------------------------------

std::vector<std::string> CValidityResult::TextLines() const {
  std::vector<std::string> lines = m_lines;
  if (m_nMode == VALIDITY_POINTS) {
    lines.emplace_back();
    lines.insert(lines.end(), m_pointLines.begin(), m_pointLines.end());
  }
  return lines;
}

std::string CValidityResult::Text() const {
  std::string text;
  for (const std::string& line : TextLines()) text += line + "\r\r\n";
  return text;
}

// ---- Parameters ---------------------------------------------------------------------

CValidityResult CheckParameterValidity(const CC3d& c3d, const CValidityRules& rules) {
  CValidityResult result;
  result.m_nMode = VALIDITY_PARAMETERS;
  result.m_strCaption = "Parameter Validity";
  bool found = false;
  std::vector<std::string>& lines = result.m_lines;

  for (const CParam& param : c3d.m_params) {
    const std::string section = param.m_strName + "-" + GroupNameOf(c3d, param);
    std::vector<std::string> messages;
    param.CheckAgainstTemplate(section, rules.Ini(), messages);
    if (messages.empty()) continue;
    found = true;
    lines.push_back(section);
    lines.insert(lines.end(), messages.begin(), messages.end());
  }
  lines.emplace_back();

  for (const std::string& group : rules.RequiredGroups()) {
    if (c3d.FindGroup(group) >= 0) continue;
    found = true;
    lines.push_back("Group " + Upper(group) + " was not found in the C3D file");
  }
  lines.emplace_back();

  for (const std::string& section : rules.SectionNames()) {
    const size_t dash = section.find('-');
    if (dash == std::string::npos) continue;
    const std::string param = TrimTrailingBlanks(section.substr(0, dash));
    const std::string group = TrimTrailingBlanks(section.substr(dash + 1));
    if (ParameterExists(c3d, group, param)) continue;
    found = true;
    lines.push_back("Parameter " + Upper(param) + " not found in Group " + Upper(group) +
                    " in the C3D file");
  }

  if (!found) lines.assign(1, kAllParametersValid);
  return result;
}

// ---- 3D data --------------------------------------------------------------------------

std::vector<std::string> PointParameterLines(const CC3d& c3d) {
  const HeaderRecord& h = c3d.m_header;
  std::vector<std::string> lines;
  RunListCheck(c3d, "POINT", "LABELS", h.m_nPoints, "lesser data items than Markers Used", lines);
  RunCheck(c3d,
           {"POINT", "USED", PARAM_INTEGER, "has no data in it",
            [&](const CParam& p) { return UnsignedFirst(p) == h.m_nPoints; },
            "shows Incorrect number of Markers used"},
           lines);
  RunCheck(c3d,
           {"POINT", "SCALE", PARAM_FLOAT, "has no data in it",
            [&](const CParam& p) { return p.FloatAt(0) == h.m_fHeaderScale; },
            "shows Incorrect Scale Factor"},
           lines);
  RunCheck(c3d,
           {"POINT", "RATE", PARAM_FLOAT, "has no data in it",
            [&](const CParam& p) { return p.FloatAt(0) == h.m_fFrameRate; },
            "shows Incorrect Sampling Frequency"},
           lines);
  RunCheck(c3d,
           {"POINT", "DATA_START", PARAM_INTEGER, "has no data in it",
            [&](const CParam& p) { return UnsignedFirst(p) == h.m_nDataStart; },
            "shows Incorrect Start of data"},
           lines);
  // The frame count is compared as the unsigned 16-bit number C3D files hold
  // there: a trial of more than 32767 frames is not reported as wrong.
  RunCheck(c3d,
           {"POINT", "FRAMES", PARAM_INTEGER, "has no data in it",
            [&](const CParam& p) {
              return UnsignedFirst(p) == static_cast<int>(h.m_nLastFrame) - h.m_nFirstFrame + 1;
            },
            "shows Video frames collected"},
           lines);
  return lines;
}

bool CheckPointValidity(const CC3d& c3d, CValidityResult& result, std::string& message) {
  const CParam* scale = c3d.FindParam("POINT", "SCALE");
  if (!scale) {
    message = "Could not find parameter POINT:SCALE\nCannot Check Validity";
    return false;
  }
  if (scale->m_nType != PARAM_FLOAT) {
    message = "Incorrect data in parameter POINT:SCALE\nCannot Check Validity";
    return false;
  }
  const CParam* limits = c3d.FindParam("SEG", "DATA_LIMITS");
  if (!limits) {
    message = "Could not find parameter SEG:DATA_LIMITS\nCannot Check Validity";
    return false;
  }
  if (limits->m_nType != PARAM_FLOAT || limits->ElementCount() != 6) {
    message = "Incorrect data in parameter SEG:DATA_LIMITS\nCannot Check Validity";
    return false;
  }
  float v[6];
  for (int i = 0; i < 6; ++i) v[i] = limits->FloatAt(i);

  result = CValidityResult();
  result.m_nMode = VALIDITY_POINTS;
  result.m_strCaption = "Point Data and related Parameter Validity";
  const std::vector<std::string> names = PointExportLabels(c3d);
  for (int j = 0; j < c3d.PointCount(); ++j) {
    if (c3d.CheckPointRange(j, v[0], v[1], v[2], v[3], v[4], v[5])) continue;
    result.m_outOfLimits.push_back(names[static_cast<size_t>(j)]);
    result.m_lines.push_back(names[static_cast<size_t>(j)] + "  :  Data Out Of Limits");
  }
  if (result.m_lines.empty()) result.m_lines.push_back(kAllPointsInside);
  result.m_pointLines = PointParameterLines(c3d);
  return true;
}

// ---- Analog data ------------------------------------------------------------------------

CValidityResult CheckAnalogValidity(const CC3d& c3d) {
  CValidityResult result;
  result.m_nMode = VALIDITY_ANALOG;
  result.m_strCaption = "Analog Data related Parameter Validity";
  const HeaderRecord& h = c3d.m_header;
  const int channels = c3d.AnalogCount();
  std::vector<std::string>& lines = result.m_lines;

  auto enough = [channels](const CParam& p) { return p.ElementCount() >= channels; };
  RunListCheck(c3d, "ANALOG", "LABELS", channels, "lesser data items than Channels Used", lines);
  RunCheck(c3d, {"ANALOG", "GEN_SCALE", PARAM_FLOAT, "has no data in it",
                 [](const CParam&) { return true; }, ""},
           lines);
  RunCheck(c3d, {"ANALOG", "SCALE", PARAM_FLOAT, nullptr, enough,
                 "has lesser data than channels collected"},
           lines);
  RunCheck(c3d, {"ANALOG", "OFFSET", PARAM_INTEGER, nullptr, enough,
                 "has lesser data than channels collected"},
           lines);
  RunListCheck(c3d, "ANALOG", "UNITS", channels, "has lesser data items than Channels Used", lines);
  RunCheck(c3d,
           {"ANALOG", "USED", PARAM_INTEGER, "has no data in it",
            [&](const CParam& p) { return UnsignedFirst(p) == channels; },
            "shows Incorrect Analog Channels Used"},
           lines);
  RunCheck(c3d,
           {"ANALOG", "RATE", PARAM_FLOAT, "has no data in it",
            [&](const CParam& p) {
              const float rate = static_cast<float>(h.m_nSamplesPerFrame) * h.m_fFrameRate;
              return p.FloatAt(0) == rate;
            },
            "shows Incorrect Analog Sampling Rate"},
           lines);
  return result;
}
