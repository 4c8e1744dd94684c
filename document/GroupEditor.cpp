#include "document/GroupEditor.h"

#include <cstdlib>

#include "c3d/C3d.h"

namespace {

const char kNotNegative[] = "Group Number should be negative";
const char kTooLow[] = "Group Number should not be below -127";
const char kNumberTakenNew[] = "The Group Number already belongs to another Group.\nPlease enter a new value";
const char kNumberTaken[] = "The Group Number already belongs to another Group";
const char kInvalidName[] = "Invalid Group Name";
const char kNameNotUnique[] = "Please enter an unique Group Name";
const char kNumberNotUnique[] = "Please enter an unique Group Number";
const char kRenumberQuestion[] =
    "You have changed the Group Number.\n"
    "The Parameters belonging to this Group will not be part of any Group now.\n"
    "Press YES\tto retain the Parameters in this Group by changing Parameter numbers.\n"
    "Press NO\t\tto just change the Group Number\n"
    "Press CANCEL\tto go back to the Group Editor box.";

}  // namespace

CGroupEditorRequest::CGroupEditorRequest(CC3d& c3d, int group, GroupEditMode mode)
    : m_pC3d(&c3d), m_nGroup(group), m_mode(mode) {
  const CGroup& g = c3d.m_groups[static_cast<size_t>(group)];
  m_strName = g.m_strName;
  m_strDescription = g.m_strDescription;
  m_nNumber = g.m_nId;
  m_bLocked = g.m_bLocked;
}

bool CGroupEditorRequest::Ok(CUserPrompt& prompt) {
  std::vector<CGroup>& groups = m_pC3d->m_groups;
  CGroup& group = groups[static_cast<size_t>(m_nGroup)];
  auto otherGroupHas = [&](auto matches) {
    for (size_t g = 0; g < groups.size(); ++g)
      if (static_cast<int>(g) != m_nGroup && matches(groups[g])) return true;
    return false;
  };
  auto numberTaken = [&] { return otherGroupHas([&](const CGroup& g) { return g.m_nId == m_nNumber; }); };

  if (m_nNumber >= 0) {
    prompt.ShowMessage(kNotNegative);
    return false;
  }
  // Group numbers are stored in one signed byte.
  if (m_nNumber < -127) {
    prompt.ShowMessage(kTooLow);
    return false;
  }
  if (m_mode == GroupEditMode::New && numberTaken()) {
    prompt.ShowMessage(kNumberTakenNew);
    return false;
  }
  if (!IsValidName(m_strName)) {
    prompt.ShowMessage(kInvalidName);
    return false;
  }

  // Two groups of one name cannot be told apart: every look-up by name (here
  // and in other programs reading the file) finds only the first. A name
  // kept as it was is not checked, so a file that already has such a pair
  // can still be edited.
  auto nameTaken = [&] { return otherGroupHas([&](const CGroup& g) { return NamesEqual(g.m_strName, m_strName); }); };
  if (m_mode != GroupEditMode::Paste && !NamesEqual(m_strName, group.m_strName) && nameTaken()) {
    prompt.ShowMessage(kNameNotUnique);
    return false;
  }

  bool renumber = false;
  if (m_mode == GroupEditMode::Paste) {
    if (nameTaken()) {
      prompt.ShowMessage(kNameNotUnique);
      return false;
    }
    if (numberTaken()) {
      prompt.ShowMessage(kNumberNotUnique);
      return false;
    }
  } else if (m_mode == GroupEditMode::Edit && m_nNumber != group.m_nId) {
    if (numberTaken()) {
      prompt.ShowMessage(kNumberTaken);
      return false;
    }
    switch (prompt.AskYesNoCancel(kRenumberQuestion)) {
      case CUserPrompt::ANSWER_YES: renumber = true; break;
      case CUserPrompt::ANSWER_NO: break;
      default: return false;
    }
  }

  const int oldNumber = std::abs(static_cast<int>(group.m_nId));
  group.m_strName = m_strName;
  group.m_strDescription = m_strDescription;
  group.m_bLocked = m_bLocked;
  group.m_nId = static_cast<int8_t>(m_nNumber);
  if (renumber) {
    m_bRenumbered = true;
    for (CParam& p : m_pC3d->m_params)
      if (std::abs(static_cast<int>(p.m_nGroupId)) == oldNumber)
        p.m_nGroupId = static_cast<int8_t>(-m_nNumber);
  }
  return true;
}
