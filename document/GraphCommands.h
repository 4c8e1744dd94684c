#pragma once
// The graph view's selection and its commands on the selected channel:
// dragging one value, Delete and Fill, and the frame and channel commands
// that the graph runs on its own frame range (delete, copy, paste, new
// frames, import, filters, new event).

#include <vector>

class CEditorDoc;
struct CGraphLayout;

// Frames selected in the graph: indexes from the file's first frame, -1 for
// none. A range needs a first frame; the second may lie on either side.
struct CGraphSelection {
  int m_nFirst = -1;
  int m_nSecond = -1;

  bool IsEmpty() const { return m_nFirst < 0; }
  // Exactly one frame (the second unset or the same).
  bool IsSingle() const { return m_nFirst >= 0 && (m_nSecond < 0 || m_nSecond == m_nFirst); }
  bool IsRange() const { return m_nFirst >= 0 && m_nSecond >= 0 && m_nSecond != m_nFirst; }
  int Low() const { return IsRange() && m_nSecond < m_nFirst ? m_nSecond : m_nFirst; }
  int High() const { return IsRange() && m_nSecond > m_nFirst ? m_nSecond : m_nFirst; }
  int Count() const { return IsEmpty() ? 0 : High() - Low() + 1; }
  // The selected frames in order (empty without a first frame).
  std::vector<int> Frames() const;
  void Clear() { m_nFirst = m_nSecond = -1; }

  // A double click on `frame`: it becomes the first frame and the second is
  // cleared; with Control it becomes the second frame, which needs a first
  // frame. False when nothing changed.
  bool DoubleClick(int frame, bool control);
  // Cleared when a selected index lies beyond the file's frames.
  void Validate(int frames);
};

// Drops a dragged value: the value at height `y` of plot `panel` (converted
// back to a stored value when Scale Data is on) replaces the frame's
// samples: every sample of the frame for an analog channel, the one
// coordinate of a 3D point. Integer storage rounds to the 16-bit sample.
// Recorded as UNDO_VALUES. False when nothing could be set.
bool DropDraggedValue(CEditorDoc& doc, const CGraphLayout& layout, int panel, int frame, double y);

// Delete and Fill on the selected channel over the selection's frames: a 3D
// point is filled by a cubic spline through the frames around the range; an
// analog channel has its spikes clipped to the range's mean. Recorded as
// UNDO_DELETE_AND_FILL. False when nothing changed.
bool DeleteAndFill(CEditorDoc& doc, const CGraphSelection& selection);
// Offered in Edit Mode with a channel selected and a frame selected.
bool CanDeleteAndFill(const CEditorDoc& doc, const CGraphSelection& selection);

// The commands that need a channel selected in the tree (the graph draws
// one): an analog channel or a 3D point.
bool GraphChannelSelected(const CEditorDoc& doc);
