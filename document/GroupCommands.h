#pragma once
// Creating, editing, deleting, copying and pasting groups and parameters.
// Each command checks Edit Mode and the locks, asks what it must, runs its
// dialog through the host's CEditDialogs, changes the parameter section and
// records its undo. A dialog closed with Cancel leaves the file and the undo
// record exactly as they were.

class CEditorDoc;

// Edit > New > Group: a group numbered one below the lowest, edited in the
// Group Editor.
void OnNewGroup(CEditorDoc& doc);
// Edit > New > Parameter: the Data Type question, then a parameter of the
// first group edited in the Parameter Editor.
void OnNewParameter(CEditorDoc& doc);

// Double-click on the list of a group or a parameter.
void EditGroup(CEditorDoc& doc, int group);
void EditParameter(CEditorDoc& doc, int param);

// Delete, after the question. Deleting a group deletes its parameters and
// cannot be undone.
void DeleteGroup(CEditorDoc& doc, int group);
void DeleteParameter(CEditorDoc& doc, int param);

// Copy into the application's copy buffer.
void CopyGroupToBuffer(CEditorDoc& doc, int group);
void CopyParameterToBuffer(CEditorDoc& doc, int param);

// Paste of the buffered group (Group Editor in paste mode) or parameter
// (Parameter Editor), appended at the end of the list.
void PasteGroup(CEditorDoc& doc);
void PasteParameter(CEditorDoc& doc);
