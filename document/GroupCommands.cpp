#include "document/GroupCommands.h"

#include <algorithm>
#include <cstdlib>
#include <vector>

#include "document/CopyBuffer.h"
#include "document/EditDialogs.h"
#include "document/EditorDoc.h"
#include "document/GroupEditor.h"
#include "document/ParamEditor.h"

namespace {

const char kNoGroupForNew[] = "There should be at least one group before a parameter can be created";
const char kNoGroupForPaste[] = "There should be at least one group before a parameter can be copied";
const char kNoEditPermission[] = "You do not have permission to edit locked parameters";
const char kNoDeletePermission[] = "You do not have permission to delete locked parameters";

bool ValidGroup(const CEditorDoc& doc, int group) {
  return group >= 0 && group < static_cast<int>(doc.m_c3d.m_groups.size());
}

bool ValidParam(const CEditorDoc& doc, int param) {
  return param >= 0 && param < static_cast<int>(doc.m_c3d.m_params.size());
}

// After a change of the parameter section: the point scale may have
// changed, the tree and the list show something else.
void Finish(CEditorDoc& doc, int undoKind, int undoIndex) {
  doc.CheckPointScale();
  doc.m_nUndoKind = undoKind;
  doc.m_nUndoIndex = undoIndex;
  doc.m_bRebuildList = true;
  doc.m_bRebuildTree = true;
  doc.SetModifiedFlag(true);
  doc.UpdateAllViews();
}

// Removes the parameter a command appended for its dialog.
void DropLastParam(CEditorDoc& doc) { doc.m_c3d.m_params.pop_back(); }

// Opens the Parameter Editor on the appended last parameter; keeps it on
// OK (undoable as a new parameter), removes it again on Cancel.
void EditAppendedParam(CEditorDoc& doc) {
  const int index = static_cast<int>(doc.m_c3d.m_params.size()) - 1;
  CParamEditorRequest request(doc.m_c3d, index);
  if (!doc.Host().EditDialogs().RunParamEditor(request)) {
    DropLastParam(doc);
    return;
  }
  Finish(doc, UNDO_NEW_PARAM, index);
}

// Opens the Group Editor on the appended last group, as for parameters.
void EditAppendedGroup(CEditorDoc& doc, GroupEditMode mode) {
  const int index = static_cast<int>(doc.m_c3d.m_groups.size()) - 1;
  CGroupEditorRequest request(doc.m_c3d, index, mode);
  if (!doc.Host().EditDialogs().RunGroupEditor(request)) {
    doc.m_c3d.m_groups.pop_back();
    return;
  }
  doc.m_nUndoKind = UNDO_NEW_GROUP;
  doc.m_nUndoIndex = index;
  doc.m_bRebuildList = true;
  doc.m_bRebuildTree = true;
  doc.SetModifiedFlag(true);
  doc.UpdateAllViews();
}

// POINT:RATE's first value, as text with 6 decimals, becomes the point rate.
void TakePointRate(CC3d& c3d) {
  const std::string text = c3d.GetValueText("POINT", "RATE", 0, 6);
  if (!text.empty()) c3d.m_header.m_fFrameRate = static_cast<float>(std::atof(text.c_str()));
}

}  // namespace

void OnNewGroup(CEditorDoc& doc) {
  if (!doc.Host().EditMode()) return;
  int lowest = 0;
  for (const CGroup& g : doc.m_c3d.m_groups) lowest = std::min(lowest, static_cast<int>(g.m_nId));
  CGroup group;
  // Group numbers are one signed byte: when -127 is taken the user picks one.
  group.m_nId = static_cast<int8_t>(std::max(lowest - 1, -127));
  doc.m_c3d.m_groups.push_back(group);
  EditAppendedGroup(doc, GroupEditMode::New);
}

void OnNewParameter(CEditorDoc& doc) {
  if (!doc.Host().EditMode()) return;
  CC3d& c3d = doc.m_c3d;
  if (c3d.m_groups.empty()) {
    doc.Prompt().ShowMessage(kNoGroupForNew);
    return;
  }
  CDataTypeRequest type;
  if (!doc.Host().EditDialogs().RunDataType(type)) return;

  CParam param;
  param.m_nGroupId = static_cast<int8_t>(std::abs(static_cast<int>(c3d.m_groups.front().m_nId)));
  param.m_strName = "Name";
  param.m_strDescription = "Description";
  if (type.m_nChoice == CDataTypeRequest::CHARACTER) {
    param.m_nType = PARAM_CHAR;
    param.m_dims = {4};
    param.m_strings = {"Data"};
  } else {
    param.m_nType = PARAM_BYTE;
    param.m_dims = {1};
    param.m_cells = {0u};
  }
  c3d.m_params.push_back(std::move(param));
  EditAppendedParam(doc);
}

void EditGroup(CEditorDoc& doc, int group) {
  if (!doc.Host().EditMode() || !ValidGroup(doc, group)) return;
  CC3d& c3d = doc.m_c3d;
  if (c3d.m_groups[static_cast<size_t>(group)].m_bLocked && !doc.Host().LockedEdit()) {
    doc.Prompt().ShowMessage(kNoEditPermission);
    return;
  }
  // The undo copy replaces the earlier record only when the edit happens.
  CGroup before;
  CopyGroup(c3d.m_groups[static_cast<size_t>(group)], before);
  // The group's parameters as they are now: a renumbering moves just these.
  std::vector<bool> members(c3d.m_params.size());
  const int number = std::abs(static_cast<int>(before.m_nId));
  for (size_t p = 0; p < members.size(); ++p)
    members[p] = std::abs(static_cast<int>(c3d.m_params[p].m_nGroupId)) == number;
  CGroupEditorRequest request(c3d, group, GroupEditMode::Edit);
  if (!doc.Host().EditDialogs().RunGroupEditor(request)) return;
  doc.m_savedGroup = before;
  if (request.m_bRenumbered) {
    // Undo moves back exactly the parameters that moved (a marked slot per
    // parameter): parameters of no group that already had the new number
    // stay where they were.
    SavedParams moved(members.size());
    for (size_t p = 0; p < moved.size(); ++p)
      if (members[p]) moved[p].emplace();
    doc.m_pSavedParams.swap(moved);
  }
  Finish(doc, request.m_bRenumbered ? UNDO_RENUMBER_GROUP : UNDO_EDIT_GROUP, group);
}

void EditParameter(CEditorDoc& doc, int param) {
  if (!doc.Host().EditMode() || !ValidParam(doc, param)) return;
  CC3d& c3d = doc.m_c3d;
  if (c3d.m_params[static_cast<size_t>(param)].m_bLocked && !doc.Host().LockedEdit()) {
    doc.Prompt().ShowMessage(kNoEditPermission);
    return;
  }
  CParam before;
  CopyParam(c3d.m_params[static_cast<size_t>(param)], before);
  CParamEditorRequest request(c3d, param);
  if (!doc.Host().EditDialogs().RunParamEditor(request)) return;
  doc.m_pSavedParam = std::move(before);
  TakePointRate(c3d);
  Finish(doc, UNDO_EDIT_PARAM, param);
}

void DeleteGroup(CEditorDoc& doc, int group) {
  if (!doc.Host().EditMode() || !ValidGroup(doc, group)) return;
  CC3d& c3d = doc.m_c3d;
  const CGroup& g = c3d.m_groups[static_cast<size_t>(group)];
  if (g.m_bLocked && !doc.Host().LockedEdit()) {
    doc.Prompt().ShowMessage(kNoDeletePermission);
    return;
  }
  if (!doc.Prompt().AskYesNo("You are going to delete Group " + g.m_strName +
                             "\nAll Parameters belonging to this group will be deleted.  "
                             "This operation cannot be un-done" +
                             "\nDo you want to continue?"))
    return;
  const int number = std::abs(static_cast<int>(g.m_nId));
  c3d.m_groups.erase(c3d.m_groups.begin() + group);
  for (size_t p = c3d.m_params.size(); p-- > 0;)
    if (std::abs(static_cast<int>(c3d.m_params[p].m_nGroupId)) == number)
      c3d.m_params.erase(c3d.m_params.begin() + static_cast<long>(p));
  doc.m_nSelNode = -1;
  doc.m_nSelItem = -4;
  // The deletion cannot be undone, and the earlier record no longer fits.
  Finish(doc, UNDO_NONE, 0);
}

void DeleteParameter(CEditorDoc& doc, int param) {
  if (!doc.Host().EditMode() || !ValidParam(doc, param)) return;
  CC3d& c3d = doc.m_c3d;
  const CParam& p = c3d.m_params[static_cast<size_t>(param)];
  if (p.m_bLocked && !doc.Host().LockedEdit()) {
    doc.Prompt().ShowMessage(kNoDeletePermission);
    return;
  }
  if (!doc.Prompt().AskYesNo("You are going to delete Parameter " + p.m_strName +
                             ".\nDo you want to continue?"))
    return;
  doc.m_pSavedParam = p;
  c3d.m_params.erase(c3d.m_params.begin() + param);
  doc.m_nSelNode = -1;
  doc.m_nSelItem = -4;
  Finish(doc, UNDO_DELETE_PARAM, param);
}

void CopyGroupToBuffer(CEditorDoc& doc, int group) {
  if (!ValidGroup(doc, group)) return;
  CopyBuffer& buffer = doc.Host().GetCopyBuffer();
  buffer.m_group = doc.m_c3d.m_groups[static_cast<size_t>(group)];
  buffer.m_nKind = COPY_GROUP;
}

void CopyParameterToBuffer(CEditorDoc& doc, int param) {
  if (!ValidParam(doc, param)) return;
  CopyBuffer& buffer = doc.Host().GetCopyBuffer();
  buffer.m_param = doc.m_c3d.m_params[static_cast<size_t>(param)];
  buffer.m_nKind = COPY_PARAMETER;
}

void PasteGroup(CEditorDoc& doc) {
  const CopyBuffer& buffer = doc.Host().GetCopyBuffer();
  if (!doc.Host().EditMode() || buffer.m_nKind != COPY_GROUP || !buffer.m_group) return;
  doc.m_c3d.m_groups.push_back(*buffer.m_group);
  EditAppendedGroup(doc, GroupEditMode::Paste);
}

void PasteParameter(CEditorDoc& doc) {
  const CopyBuffer& buffer = doc.Host().GetCopyBuffer();
  if (!doc.Host().EditMode() || buffer.m_nKind != COPY_PARAMETER || !buffer.m_param) return;
  if (doc.m_c3d.m_groups.empty()) {
    doc.Prompt().ShowMessage(kNoGroupForPaste);
    return;
  }
  doc.m_c3d.m_params.push_back(*buffer.m_param);
  EditAppendedParam(doc);
}
