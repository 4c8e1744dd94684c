#pragma once
// The three validity checks of an open file. None of them changes the model.
//
// - Parameters: every parameter's data type and dimensions against a rules
//   file, the groups the rules require, and the parameters the rules
//   describe.
// - 3D data: every valid sample of every point inside SEG:DATA_LIMITS, and
//   the POINT parameters against the header.
// - Analog data: the ANALOG parameters against the header.
//
// Each gives the lines of the Validity Results dialog.

#include <string>
#include <vector>

#include "c3d/IniFile.h"

class CC3d;

enum ValidityMode {
  VALIDITY_PARAMETERS = 0,
  VALIDITY_POINTS = 1,
  VALIDITY_ANALOG = 2,
};

// A validity rules file: sections named PARAM-GROUP with "Data", "NumDim"
// and "Dim1".."DimN", and a section "Groups" with "Number" and
// "Group1".."GroupN". A missing or unreadable file gives empty rules.
class CValidityRules {
 public:
  // False (and empty rules) when the file cannot be read.
  bool Load(const std::string& path);
  void Parse(const std::string& text);

  const CIniFile& Ini() const { return m_ini; }
  // Names of the groups that must exist, in key order ("Group1" first). Keys
  // that are missing or empty are skipped; names are cut to 255 characters.
  std::vector<std::string> RequiredGroups() const;
  // Section names as the check sees them: in file order, as many as fit whole
  // in a list of 6400 characters (each name and its terminator, plus the
  // list's own terminator); the rest are not seen.
  std::vector<std::string> SectionNames() const;

 private:
  CIniFile m_ini;
};

// What the Validity Results dialog shows.
struct CValidityResult {
  int m_nMode = VALIDITY_PARAMETERS;
  std::string m_strCaption;
  // The text box's lines (mode 1: the out-of-limit lines, or the line that
  // says there are none).
  std::vector<std::string> m_lines;
  // Mode 1: the POINT parameter lines, shown after a blank line.
  std::vector<std::string> m_pointLines;
  // Mode 1: the names of the points with samples outside the limits.
  std::vector<std::string> m_outOfLimits;

  // Every line of the text box in order.
  std::vector<std::string> TextLines() const;
  // The text box's text: every line followed by "\r\r\n".
  std::string Text() const;
};

// The parameter check (dialog caption "Parameter Validity").
CValidityResult CheckParameterValidity(const CC3d& c3d, const CValidityRules& rules);

// The 3D check (caption "Point Data and related Parameter Validity"). False
// with the message box text in `message` when POINT:SCALE or SEG:DATA_LIMITS
// make the check impossible; nothing else is then reported.
bool CheckPointValidity(const CC3d& c3d, CValidityResult& result, std::string& message);

// The POINT parameter lines of the 3D check (LABELS, USED, SCALE, RATE,
// DATA_START, FRAMES).
std::vector<std::string> PointParameterLines(const CC3d& c3d);

// The analog check (caption "Analog Data related Parameter Validity").
CValidityResult CheckAnalogValidity(const CC3d& c3d);
