// quorvel-cli validity parameters|points|analog: the editor's three validity
// checks, printed as the Validity Results dialog shows them or as JSON.
#include <cstdio>
#include <string>
#include <vector>

#include "cli/CliCommands.h"
#include "cli/CliSession.h"
#include "document/EditorDoc.h"
#include "document/ValidityCommands.h"

int CliValidityMain(const std::vector<std::string>& args);

namespace {

const char kUsage[] =
    "usage: quorvel-cli validity parameters RULES FILE [--json]\n"
    "       quorvel-cli validity points FILE [--json]\n"
    "       quorvel-cli validity analog FILE [--json]\n";

int Usage(const std::string& reason) {
  CliError(reason);
  std::fputs(kUsage, stderr);
  return kExitUsage;
}

// Length of the UTF-8 sequence starting at `p` (0 when it is not one).
size_t Utf8Length(const unsigned char* p, size_t left) {
  size_t n = p[0] >= 0xf0 && p[0] <= 0xf4 ? 4 : p[0] >= 0xe0 ? 3 : p[0] >= 0xc2 && p[0] < 0xe0 ? 2 : 0;
  if (n == 0 || n > left) return 0;
  for (size_t i = 1; i < n; ++i)
    if ((p[i] & 0xc0) != 0x80) return 0;
  return n;
}

// A JSON string. Labels in C3D files are often Latin-1: bytes that are not
// UTF-8 are written as the Latin-1 characters they stand for.
std::string Json(const std::string& text) {
  std::string out = "\"";
  const auto* p = reinterpret_cast<const unsigned char*>(text.data());
  for (size_t i = 0; i < text.size();) {
    unsigned char c = p[i];
    char escape[8];
    if (c == '"' || c == '\\') {
      out += '\\';
      out += static_cast<char>(c);
    } else if (c < 0x20 || c == 0x7f) {
      std::snprintf(escape, sizeof escape, "\\u%04x", c);
      out += escape;
    } else if (c >= 0x80) {
      size_t n = Utf8Length(p + i, text.size() - i);
      if (n > 0) {
        out.append(text, i, n);
        i += n;
        continue;
      }
      std::snprintf(escape, sizeof escape, "\\u%04x", c);
      out += escape;
    } else {
      out += static_cast<char>(c);
    }
    ++i;
  }
  return out + "\"";
}

std::string JsonList(const std::vector<std::string>& lines) {
  std::string out = "[";
  for (size_t i = 0; i < lines.size(); ++i) out += (i ? ", " : "") + Json(lines[i]);
  return out + "]";
}

const char* ModeName(int mode) {
  switch (mode) {
    case VALIDITY_POINTS: return "points";
    case VALIDITY_ANALOG: return "analog";
    default: return "parameters";
  }
}

int Print(const std::string& file, const CValidityResult& result, bool json) {
  if (json) {
    std::string out = "{\"file\": " + Json(file) + ", \"mode\": \"" + ModeName(result.m_nMode) +
                      "\", \"caption\": " + Json(result.m_strCaption) +
                      ", \"lines\": " + JsonList(result.TextLines());
    if (result.m_nMode == VALIDITY_POINTS)
      out += ", \"outOfLimits\": " + JsonList(result.m_outOfLimits) +
             ", \"parameterLines\": " + JsonList(result.m_pointLines);
    out += "}\n";
    std::fputs(out.c_str(), stdout);
  } else {
    std::printf("%s\n", result.m_strCaption.c_str());
    for (const std::string& line : result.TextLines()) std::printf("%s\n", line.c_str());
  }
  return std::fflush(stdout) == 0 ? kExitOk : kExitFailed;
}

}  // namespace

int CliValidityMain(const std::vector<std::string>& args) {
  std::vector<std::string> operands;
  bool json = false;
  for (const std::string& arg : args) {
    if (arg == "--json")
      json = true;
    else if (arg.size() > 1 && arg[0] == '-')
      return Usage("unknown option '" + arg + "'");
    else
      operands.push_back(arg);
  }
  if (operands.empty()) return Usage("validity needs parameters, points or analog");
  const std::string& check = operands[0];
  const size_t wanted = check == "parameters" ? 3 : 2;
  if (check != "parameters" && check != "points" && check != "analog")
    return Usage("unknown check '" + check + "' (parameters, points or analog)");
  if (operands.size() != wanted)
    return Usage(check == "parameters" ? "validity parameters needs a rules file and a C3D file"
                                       : "validity " + check + " needs one C3D file");

  const std::string& file = operands.back();
  CValidityRules rules;
  // The editor treats a missing rules file as an empty one; a rules file
  // named on the command line that cannot be read is a mistake to report.
  if (check == "parameters" && !rules.Load(operands[1])) {
    CliError("cannot read the rules file '" + operands[1] + "'");
    return kExitFailed;
  }
  CCliSession session(false);
  CEditorDoc* doc = session.Open(file);
  if (!doc) return kExitFailed;

  CValidityResult result;
  if (check == "parameters") {
    result = CheckParameterValidity(doc->m_c3d, rules);
  } else if (check == "points") {
    // The check's message box (an unusable POINT:SCALE or SEG:DATA_LIMITS)
    // goes to standard error.
    if (!OnValidityPoints(*doc, result)) return kExitFailed;
  } else {
    OnValidityAnalog(*doc, result);
  }
  return Print(file, result, json);
}
