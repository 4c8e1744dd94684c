#pragma once
// Edit > Copy, Paste and Delete, and the double-click edit: one command each
// that works on whatever is selected, the way the editor view's tree and
// list select it. `frames` holds the frame indexes (0 = the file's first
// frame, ascending) selected in the data list or in the graph; the editor
// view passes its selected rows plus the first listed frame.

#include <vector>

class CEditorDoc;

// A group or parameter node: edits it (Group Editor or Parameter Editor).
void EditSelected(CEditorDoc& doc);

// A group, a parameter, or a channel (with frames: those frames; without:
// the channel itself).
void DeleteSelected(CEditorDoc& doc, const std::vector<int>& frames);
// A group or a parameter, or the selected frames of a channel, into the
// application's copy buffer.
void CopySelected(CEditorDoc& doc, const std::vector<int>& frames);
// The copy buffer's content: a group or parameter appended, or a channel
// segment written from the first selected frame on.
void PasteBuffer(CEditorDoc& doc, const std::vector<int>& frames);

// Menu states. Delete and Copy need a group, a parameter or a channel
// selected (not the header, not the bare analog or 3D node); Delete and
// Paste need Edit Mode, Paste something in the copy buffer.
bool CanDeleteSelected(const CEditorDoc& doc);
bool CanCopySelected(const CEditorDoc& doc);
bool CanPasteBuffer(const CEditorDoc& doc);
