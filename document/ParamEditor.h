#pragma once
// The Parameter Editor's state and rules: a private copy of the parameter
// that the dialog edits (name, description, lock, group, dimensions, data
// type and every value) and that OK writes back. The dialog is app/frames'
// CParamEditorDlg.

#include <string>
#include <vector>

#include "c3d/Param.h"

class CC3d;
class CUserPrompt;

struct CParamEditorRequest {
  static constexpr int kMaxDimensions = 7;

  // The fields.
  std::string m_strName;
  std::string m_strDescription;
  bool m_bLocked = false;
  int m_nGroup = -1;  // index into m_groupNames (the file's groups); -1 none
  std::vector<std::string> m_groupNames;
  // The private copy: data type, dimensions, values and strings.
  CParam m_param;

  CC3d* m_pC3d = nullptr;
  int m_nParam = -1;  // index of the parameter being edited

  // A request on parameter `param` of `c3d`: the private copy is made and
  // the group whose number the parameter refers to is chosen.
  CParamEditorRequest(CC3d& c3d, int param);

  // ---- What the dialog shows -----------------------------------------------
  // The Dimensions box: 1 to 7 for character data (the first dimension is
  // the string length), 0 to 7 for numbers.
  int MinDimensions() const { return m_param.IsChar() ? 1 : 0; }
  int DimensionCount() const { return m_param.DimensionCount(); }
  std::string DimensionText(int d) const;
  // "CHAR" alone for character data, else "BYTE", "INTEGER", "FLOAT".
  std::vector<std::string> DataTypeChoices() const;
  int DataTypeChoice() const;  // index into DataTypeChoices()
  // Rows of the Data list: the value number from 1, and the value ("%d" for
  // BYTE and INTEGER, "%.6f" for FLOAT, the string itself for CHAR).
  int ValueCount() const { return m_param.ElementCount(); }
  std::string ValueText(int i) const;

  // ---- Edits ---------------------------------------------------------------
  // Each returns true when it changed the copy (the lists are then filled
  // again). Refusals with a message show it through `prompt`.
  //
  // A dimension's size typed in place: digits only (anything else is
  // ignored), 1 to 255. Values keep their first entries; new ones are 0 or
  // empty; a shorter string length cuts the strings.
  bool EditDimension(int d, const std::string& text, CUserPrompt& prompt);
  // The Dimensions box: sizes are kept up to the smaller count, added
  // dimensions get size 1.
  bool SetDimensionCount(int count, CUserPrompt& prompt);
  // "BYTE", "INTEGER" or "FLOAT" for a numeric parameter. The values are
  // converted to the new type (whole numbers truncated toward zero).
  bool SetDataType(const std::string& name, CUserPrompt& prompt);
  // A value typed in place (empty text is ignored): BYTE, INTEGER and FLOAT
  // take only text that is plainly such a number; CHAR text longer than the
  // string length is refused without a message.
  bool EditValue(int i, const std::string& text, CUserPrompt& prompt);

  // OK: with no group chosen nothing happens. The name must be valid and
  // not used by another parameter of the chosen group; then the parameter
  // takes the copy. False while the dialog must stay open.
  bool Ok(CUserPrompt& prompt);

 private:
  // Puts the value count in line with the dimensions; `lengthChanged` cuts
  // the strings to the new first dimension.
  void ResizeValues(bool lengthChanged);
  // False, after saying so, when `candidate` could not be saved in a file.
  bool FitsInRecord(const CParam& candidate, CUserPrompt& prompt) const;
};
