// Batch operation "Parameter": Create, Modify, Delete and ReplaceS.
//
// Keys: "Command", "Group" and "Name" (select the parameter, letter case
// ignored), "Description", "Lock", "DataType" (-1 CHAR, 1 BYTE, 2 INTEGER,
// 4 FLOAT), "Dimensions" (0 to 7, CHAR 1 to 7), "Dimension1".."DimensionN"
// (1 to 255; larger taken as 255), "Data1".."DataM" (the values in storage
// order; for CHAR the strings, the first dimension being their length),
// "NewGroup", "NewName"; ReplaceS reads ">old=new" lines.
#include <algorithm>
#include <charconv>
#include <cstdlib>

#include "app/BatchFile.h"
#include "app/BatchOps.h"
#include "document/EditorDoc.h"

namespace {

// What one parameter record can carry in a file (its offset word).
constexpr int64_t kMaxRecordBytes = 32767;

int GroupOf(const CC3d& c3d, const CBatchOperation& op, const char* key) {
  std::optional<std::string> name = op.String(key);
  return name ? c3d.FindGroup(*name) : -1;
}

// Index of the parameter `name` of group `group` (letter case ignored), -1
// when there is none; `except` is skipped.
int FindInGroup(const CC3d& c3d, int group, const std::string& name, int except = -1) {
  const int number = std::abs(c3d.m_groups[static_cast<size_t>(group)].m_nId);
  for (size_t i = 0; i < c3d.m_params.size(); ++i) {
    const CParam& p = c3d.m_params[i];
    if (static_cast<int>(i) != except && std::abs(p.m_nGroupId) == number && NamesEqual(p.m_strName, name))
      return static_cast<int>(i);
  }
  return -1;
}

// The parameter that "Group" and "Name" select, or -1.
int SelectedParameter(const CC3d& c3d, const CBatchOperation& op) {
  const int group = GroupOf(c3d, op, "Group");
  std::optional<std::string> name = op.String("Name");
  return group < 0 || !name ? -1 : FindInGroup(c3d, group, *name);
}

void ParametersChanged(CEditorDoc& doc) {
  doc.m_nSelNode = -1;
  doc.m_nSelItem = -4;
  doc.m_bRebuildTree = true;
  doc.m_bRebuildList = true;
  doc.UpdateAllViews();
  doc.SetModifiedFlag(true);
}

// A number as text for a parameter that becomes CHAR: whole numbers as
// "%d", reals with six decimals, always with a decimal point.
std::string NumberText(const CParam& param, int index) {
  const double value = param.NumericValue(index);
  if (param.m_nType != PARAM_FLOAT) return std::to_string(static_cast<int>(value));
  char buffer[400];
  auto result = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, 6);
  return std::string(buffer, result.ptr);
}

bool IsDataType(int type) {
  return type == PARAM_CHAR || type == PARAM_BYTE || type == PARAM_INTEGER || type == PARAM_FLOAT;
}

// Type, dimensions and values of a parameter built from the operation's
// keys; `current` (Modify) gives what a missing key keeps.
bool BuildShapeAndValues(const CBatchOperation& op, const CParam* current, CParam& param) {
  const int type = op.OptionalInt("DataType").value_or(current ? current->m_nType : 0);
  if (!IsDataType(type)) return false;
  const int dims = op.OptionalInt("Dimensions").value_or(current ? current->DimensionCount() : -1);
  if (dims < (type == PARAM_CHAR ? 1 : 0) || dims > 7) return false;

  param.m_nType = static_cast<int16_t>(type);
  param.m_dims.clear();
  for (int d = 1; d <= dims; ++d) {
    std::optional<int> size = op.OptionalInt("Dimension" + std::to_string(d));
    if (size) {
      if (*size < 1) return false;
      param.m_dims.push_back(static_cast<uint8_t>(std::min(*size, 255)));
    } else if (current && d <= current->DimensionCount()) {
      // A size the parameter already has is kept, even an empty list's 0:
      // renaming a parameter must not depend on its having values.
      param.m_dims.push_back(current->m_dims[static_cast<size_t>(d - 1)]);
    } else {
      return false;
    }
  }

  // Refuse what no file can hold before making room for it.
  int64_t count = 1;
  for (size_t d = type == PARAM_CHAR ? 1 : 0; d < param.m_dims.size(); ++d) count *= param.m_dims[d];
  const int64_t bytes = type == PARAM_CHAR ? count * param.m_dims[0] : count * std::abs(type);
  if (bytes + dims + 5 > kMaxRecordBytes) return false;

  param.ResizeToDimensions();
  for (int i = 0; i < static_cast<int>(count); ++i) {
    std::optional<std::string> text = op.String("Data" + std::to_string(i + 1));
    if (type == PARAM_CHAR) {
      std::string value;
      if (text) value = *text;
      else if (current && current->IsChar() && i < current->ElementCount()) value = current->m_strings[static_cast<size_t>(i)];
      else if (current && !current->IsChar() && i < current->ElementCount()) value = NumberText(*current, i);
      if (value.size() > param.m_dims[0]) value.resize(param.m_dims[0]);
      param.m_strings[static_cast<size_t>(i)] = value;
      continue;
    }
    double value = 0.0;
    if (text) {
      value = type == PARAM_FLOAT ? ReadBatchReal(*text) : ReadBatchInteger(*text).value_or(0);
    } else if (current && current->IsChar() && i < current->ElementCount()) {
      const std::string& old = current->m_strings[static_cast<size_t>(i)];
      value = type == PARAM_FLOAT ? ReadBatchReal(old) : ReadBatchInteger(old).value_or(0);
    } else if (current && i < current->ElementCount()) {
      // The stored number itself, not a rounded text of it; a new integer
      // type takes it truncated toward zero.
      value = current->NumericValue(i);
    }
    param.SetNumericValue(i, value);
  }
  return true;
}

void CreateParameter(CBatchOperation& op) {
  CC3d& c3d = op.C3d();
  const int group = GroupOf(c3d, op, "Group");
  std::optional<std::string> name = op.String("Name");
  // An empty name would end the parameter section in the saved file.
  if (group < 0 || !name || name->empty() || FindInGroup(c3d, group, *name) >= 0) return;

  CParam param;
  if (!BuildShapeAndValues(op, nullptr, param)) return;
  param.m_strName = *name;
  param.m_nGroupId = static_cast<int8_t>(std::abs(c3d.m_groups[static_cast<size_t>(group)].m_nId));
  param.m_strDescription = op.String("Description", std::string());
  param.m_bLocked = op.Int("Lock", 0) != 0;
  c3d.m_params.push_back(std::move(param));
  ParametersChanged(op.Doc());
}

void ModifyParameter(CBatchOperation& op) {
  CC3d& c3d = op.C3d();
  const int index = SelectedParameter(c3d, op);
  if (index < 0) return;
  const CParam& current = c3d.m_params[static_cast<size_t>(index)];
  if (current.m_bLocked && !op.LockedEdit()) return;

  int group = GroupOf(c3d, op, "Group");
  if (op.String("NewGroup")) {
    group = GroupOf(c3d, op, "NewGroup");
    if (group < 0) return;
  }
  const std::string name = op.String("NewName").value_or(current.m_strName);
  if (name.empty() || FindInGroup(c3d, group, name, index) >= 0) return;

  CParam rebuilt;
  if (!BuildShapeAndValues(op, &current, rebuilt)) return;
  rebuilt.m_strName = name;
  rebuilt.m_nGroupId = static_cast<int8_t>(std::abs(c3d.m_groups[static_cast<size_t>(group)].m_nId));
  rebuilt.m_strDescription = op.String("Description").value_or(current.m_strDescription);
  rebuilt.m_bLocked = op.Int("Lock", 0) != 0;
  c3d.m_params.erase(c3d.m_params.begin() + index);
  c3d.m_params.push_back(std::move(rebuilt));
  ParametersChanged(op.Doc());
}

void DeleteParameter(CBatchOperation& op) {
  CC3d& c3d = op.C3d();
  const int index = SelectedParameter(c3d, op);
  if (index < 0) return;
  if (c3d.m_params[static_cast<size_t>(index)].m_bLocked && !op.LockedEdit()) return;
  c3d.m_params.erase(c3d.m_params.begin() + index);
  ParametersChanged(op.Doc());
}

void ReplaceStrings(CBatchOperation& op) {
  CC3d& c3d = op.C3d();
  const int index = SelectedParameter(c3d, op);
  if (index < 0) return;
  CParam& param = c3d.m_params[static_cast<size_t>(index)];
  if (!param.IsChar() || (param.m_bLocked && !op.LockedEdit())) return;

  bool replaced = false;
  for (const std::string& line : op.Lines()) {
    size_t equals = line.find('=');
    if (line.empty() || line[0] != '>' || equals == std::string::npos) continue;
    const std::string oldText = TrimBlanks(line.substr(1, equals - 1));
    std::string newText = TrimBlanks(line.substr(equals + 1));
    if (newText.size() > 255) newText.resize(255);  // the longest string a file holds
    for (std::string& value : param.m_strings) {
      if (NamesEqual(TrimBlanks(value), oldText)) {
        value = newText;
        replaced = true;
      }
    }
  }
  if (!replaced) return;
  if (!param.m_dims.empty()) {
    size_t longest = 0;
    for (const std::string& value : param.m_strings) longest = std::max(longest, value.size());
    if (longest > param.m_dims[0]) param.m_dims[0] = static_cast<uint8_t>(longest);
  }
  ParametersChanged(op.Doc());
}

}  // namespace

void RunBatchParameter(CBatchOperation& op) {
  std::optional<std::string> command = op.String("Command");
  if (!command) return;
  if (KeywordEquals(*command, "Create")) CreateParameter(op);
  else if (KeywordEquals(*command, "Modify")) ModifyParameter(op);
  else if (KeywordEquals(*command, "Delete")) DeleteParameter(op);
  else if (KeywordEquals(*command, "ReplaceS")) ReplaceStrings(op);
}
