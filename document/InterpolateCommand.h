#pragma once
// Interpolate: gap filling of 3D data from the menu (with its dialog and
// undo) and from batch files.

class CEditorDoc;

// The Interpolate dialog's values.
struct CInterpolateRequest {
  bool m_bAllChannels = false;
  int m_nMode = 0;              // InterpolationMode: 0 fill gaps, 1 residual threshold
  unsigned m_nMaxGap = 10;      // gaps mode
  float m_fThreshold = 2.5f;    // residual mode
  int m_nFrames = 0;            // the file's frame count, for the check only
};

// The dialog's starting values: the interpolation settings and the file's
// frame count.
CInterpolateRequest MakeInterpolateRequest(const CEditorDoc& doc);

// The OK check: in gaps mode the largest gap must be below the frame count,
// in residual mode the threshold above 0. A refused entry keeps the dialog
// open without a message.
bool InterpolateRequestAccepted(const CInterpolateRequest& request);

// Enabled while Edit Mode is on and a 3D point is selected.
bool CanInterpolate(const CEditorDoc& doc);

// After OK: takes the undo snapshot, interpolates, and on success refreshes
// the views, marks the document modified and records the undo kind.
void RunInterpolateCommand(CEditorDoc& doc, const CInterpolateRequest& request);

// Gaps mode on all points or the selected one.
void InterpolateGaps(CEditorDoc& doc, bool allChannels, int maxGap);
// Residual mode; false (nothing changed) when only the selected point is
// asked for and no point is selected.
bool InterpolateResiduals(CEditorDoc& doc, bool allChannels, float threshold);

// The batch form: all points, mode 0 gaps or 1 residual (anything else does
// nothing), no snapshot, no messages; the caller marks the document
// modified and saves.
void RunInterpolation(CEditorDoc& doc, int mode, int maxGap, float threshold);
