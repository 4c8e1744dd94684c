#pragma once
// Frames: New Frames (the Add Frames dialog), deleting frames, copying and
// pasting a segment of one channel through the copy buffer, and importing
// columns of numbers from clipboard text. Each command keeps the frame
// range, POINT:FRAMES, the TRIAL fields, the header events and EVENT:TIMES
// in line with the data and records its undo.
//
// Frames are given as frame indexes (0 = the file's first frame); the
// editor view passes its selected rows, the graph view its chosen range.

#include <string>
#include <vector>

class CEditorDoc;
class CUserPrompt;

// The Add Frames dialog.
struct CAddFramesRequest {
  enum InsertAt { START_OF_DATA = 0, END_OF_DATA = 1, AFTER_FRAME = 2 };
  enum FillType { VALUE = 0, SINE_WAVE = 1, SQUARE_WAVE = 2 };

  int m_nFirstFrame = 1;  // the file's frame range, for the information text
  int m_nLastFrame = 1;
  int m_nInsertAt = START_OF_DATA;
  int m_nAfterFrame = 1;  // a frame number, for AFTER_FRAME
  int m_nFrames = 0;      // Number of Frames
  int m_nAnalogFill = VALUE;
  float m_fMin = 0.0f, m_fMax = 0.0f, m_fFrequency = 0.0f;
  float m_fX = 0.0f, m_fY = 0.0f, m_fZ = 0.0f;

  // Fields as the dialog opens on a file with this frame range.
  CAddFramesRequest(int firstFrame, int lastFrame);

  static const std::vector<std::string>& InsertAtNames();
  static const std::vector<std::string>& AnalogFillNames();
  // "  First Frame  %d\n  Last Frame   %d".
  std::string InformationText() const;
  // Max. Value and Frequency matter only for the waves.
  bool WaveChosen() const { return m_nAnalogFill != VALUE; }

  // OK: a wave needs a frequency above 0 and Min. below Max.; at least one
  // frame; at most 65535 frames in all; "After Frame" inside the file but
  // before its last frame. Refusals without a message are silent, as the
  // dialog's own field checks are.
  bool Ok(CUserPrompt& prompt) const;
};

// Edit > New > Frames: the dialog, then AddFrames.
void OnNewFrames(CEditorDoc& doc);
// Inserts the frames the request describes, with undo.
bool AddFrames(CEditorDoc& doc, const CAddFramesRequest& request);

// Deletes the frames after asking; false when nothing was deleted.
bool DeleteFrameList(CEditorDoc& doc, const std::vector<int>& frames);

// Copies the frames of the selected channel into the copy buffer.
void CopySegment(CEditorDoc& doc, const std::vector<int>& frames);
// Writes the buffered segment into the selected channel from the first of
// `frames` on; undoable.
void PasteSegment(CEditorDoc& doc, const std::vector<int>& frames);

// Clipboard text as a table: whole lines (any length), blank lines skipped,
// fields split at tabs and trimmed (a line of tabs alone is a row of empty
// fields). The first line fixes the column count;
// shorter lines are padded with empty fields, longer ones cut.
struct CTextTable {
  int m_nRows = 0;
  int m_nColumns = 0;
  std::vector<std::string> m_fields;  // row after row
  const std::string& Field(int row, int column) const {
    return m_fields[static_cast<size_t>(row) * m_nColumns + column];
  }
};
CTextTable ParseClipboardText(const std::string& text);

// Edit > Import: the numbers of `text` into the selected channel from the
// last of `frames` on (the whole file when it has one frame), extending the
// file at its end when the rows need more frames. Cannot be undone.
bool ImportClipboard(CEditorDoc& doc, const std::string& text, const std::vector<int>& frames);
// Edit > Import is offered with a channel selected, Edit Mode on and text
// on the clipboard.
bool CanImportClipboard(const CEditorDoc& doc, bool clipboardHasText);
