// Batch operation "Group": Create, Modify and Delete of a parameter group.
//
// Keys: "Command", "Name" (the group, letter case ignored), "Description",
// "Lock" (non-zero locks), "Number" (a negative group number), "NewName".
// Locked groups change only when locked editing is allowed.
#include <algorithm>
#include <cstdlib>

#include "app/BatchFile.h"
#include "app/BatchOps.h"
#include "document/EditorDoc.h"

namespace {

// Group numbers are single signed bytes, and a parameter holds the
// absolute value: -1 to -127 can be used.
constexpr int kLowestGroupNumber = -127;

bool NumberTaken(const CC3d& c3d, int number, int except) {
  for (size_t i = 0; i < c3d.m_groups.size(); ++i)
    if (static_cast<int>(i) != except && c3d.m_groups[i].m_nId == number) return true;
  return false;
}

// Group names are compared without regard to case everywhere else (look-ups,
// other programs reading the file): two groups whose names differ only in
// case could not be told apart.
bool NameTaken(const CC3d& c3d, const std::string& name, int except) {
  for (size_t i = 0; i < c3d.m_groups.size(); ++i)
    if (static_cast<int>(i) != except && NamesEqual(c3d.m_groups[i].m_strName, name)) return true;
  return false;
}

void GroupsChanged(CEditorDoc& doc) {
  doc.m_bRebuildTree = true;
  doc.m_bRebuildList = true;
  doc.UpdateAllViews();
  doc.SetModifiedFlag(true);
}

void CreateGroup(CBatchOperation& op) {
  CC3d& c3d = op.C3d();
  std::optional<std::string> name = op.String("Name");
  // An empty name would end the parameter section in the saved file.
  if (!name || name->empty() || NameTaken(c3d, *name, -1)) return;
  if (op.Int("Number", 0) > 0) return;

  int lowest = 0;
  for (const CGroup& group : c3d.m_groups) lowest = std::min(lowest, static_cast<int>(group.m_nId));
  const int number = lowest - 1;
  if (number < kLowestGroupNumber) return;

  CGroup group;
  group.m_strName = *name;
  group.m_strDescription = op.String("Description", std::string());
  group.m_bLocked = op.Int("Lock", 0) != 0;
  group.m_nId = static_cast<int8_t>(number);
  c3d.m_groups.push_back(group);
  GroupsChanged(op.Doc());
}

void ModifyGroup(CBatchOperation& op) {
  CC3d& c3d = op.C3d();
  std::optional<std::string> name = op.String("Name");
  if (!name) return;
  const int index = c3d.FindGroup(*name);
  if (index < 0) return;
  CGroup& group = c3d.m_groups[static_cast<size_t>(index)];
  if (group.m_bLocked && !op.LockedEdit()) return;

  const std::string newName = op.String("NewName").value_or(group.m_strName);
  if (newName.empty() || NameTaken(c3d, newName, index)) return;
  const int oldNumber = group.m_nId;
  int number = op.Int("Number", 0);
  if (number == 0) number = oldNumber;
  if (number > 0 || number < kLowestGroupNumber) return;
  if (number != oldNumber && NumberTaken(c3d, number, index)) return;

  group.m_strName = newName;
  group.m_nId = static_cast<int8_t>(number);
  if (std::optional<std::string> description = op.String("Description")) group.m_strDescription = *description;
  group.m_bLocked = op.Int("Lock", 0) != 0;
  // The parameters move with their group: left behind they would belong to
  // no group, where no later operation and no reader of the file finds them.
  if (number != oldNumber) {
    for (CParam& param : c3d.m_params)
      if (std::abs(param.m_nGroupId) == std::abs(oldNumber))
        param.m_nGroupId = static_cast<int8_t>(std::abs(number));
  }
  GroupsChanged(op.Doc());
}

void DeleteGroup(CBatchOperation& op) {
  CEditorDoc& doc = op.Doc();
  CC3d& c3d = op.C3d();
  std::optional<std::string> name = op.String("Name");
  if (!name) return;
  const int index = c3d.FindGroup(*name);
  if (index < 0) return;
  const CGroup& group = c3d.m_groups[static_cast<size_t>(index)];
  if (group.m_bLocked && !op.LockedEdit()) return;

  const int number = std::abs(group.m_nId);
  c3d.m_groups.erase(c3d.m_groups.begin() + index);
  c3d.m_params.erase(std::remove_if(c3d.m_params.begin(), c3d.m_params.end(),
                                    [number](const CParam& p) { return std::abs(p.m_nGroupId) == number; }),
                     c3d.m_params.end());
  doc.m_nSelNode = -1;
  doc.m_nSelItem = -4;
  GroupsChanged(doc);
}

}  // namespace

void RunBatchGroup(CBatchOperation& op) {
  std::optional<std::string> command = op.String("Command");
  if (!command) return;
  if (KeywordEquals(*command, "Create")) CreateGroup(op);
  else if (KeywordEquals(*command, "Modify")) ModifyGroup(op);
  else if (KeywordEquals(*command, "Delete")) DeleteGroup(op);
}
