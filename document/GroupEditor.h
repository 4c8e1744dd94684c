#pragma once
// The Group Editor's fields and OK checks, and the Data Type question of
// New Parameter. The dialogs themselves are app/frames' CGroupEditorDlg and
// CDataTypeDlg.

#include <string>

class CC3d;
class CUserPrompt;

enum class GroupEditMode {
  Edit,   // an existing group; changing its number may renumber its parameters
  New,    // a group New Group has just appended
  Paste,  // a group Paste has just appended from the copy buffer
};

struct CGroupEditorRequest {
  // The fields, as the dialog shows them.
  std::string m_strName;
  std::string m_strDescription;
  int m_nNumber = -1;
  bool m_bLocked = false;

  CC3d* m_pC3d = nullptr;
  int m_nGroup = -1;  // index of the group being edited
  GroupEditMode m_mode = GroupEditMode::Edit;
  // Output: OK renumbered the parameters of the group.
  bool m_bRenumbered = false;

  // A request on group `group` of `c3d`, its fields taken from the group.
  CGroupEditorRequest(CC3d& c3d, int group, GroupEditMode mode);

  // OK: checks the fields and, when they pass, writes them into the group
  // (renumbering its parameters when the user asks for it). False, after
  // showing why, while the dialog must stay open.
  bool Ok(CUserPrompt& prompt);
};

// Data Type in Parameter: 0 character data (the default), 1 numeric data.
struct CDataTypeRequest {
  enum { CHARACTER = 0, NUMERIC = 1 };
  int m_nChoice = CHARACTER;
  bool Ok(CUserPrompt&) { return true; }
};
