#pragma once
// Filter Analog and Filter 3D: the Filter dialog's values and checks, the
// command with its undo, and the four filter operations that the batch
// processor calls directly.

#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "processing/Filtering.h"

class CEditorDoc;
class CUserPrompt;

// The Filter dialog: what it shows and what the user chose.
struct CFilterDialogState {
  bool m_bAnalog = true;
  int m_nKind = FILTER_BUTTERWORTH;  // FilterKind
  // The settings of both kinds for this data class ([FILTER_FIR],
  // [FILTER_BUTTERWORTH]); choosing a kind loads its values.
  FilterSettings m_kinds[2];

  int m_nType = 0;  // FilterType
  float m_fLowFreq = 0.0f;
  float m_fHighFreq = 0.0f;
  int m_nOrder = 4;
  int m_nFrames = FRAMES_ALL;
  float m_fResidual = 2.0f;  // 3D, "Residual" frames
  int m_nStartFrame = 0;     // file frame numbers, "Selection" frames
  int m_nEndFrame = 0;
  // 3D only: "Set Residual to" and its value. The dialog keeps them in the
  // settings store itself (Settings\FIRVideo "Zero" and "ResValue").
  bool m_bSetResidual = false;
  float m_fSetResidual = 0.0f;

  std::vector<std::string> m_channelNames;
  std::vector<int> m_selected;  // chosen channel indexes, in list order

  float m_fSampleRate = 0.0f;  // of the data class, Hz
  int m_nFileFirstFrame = 1;
  int m_nFileLastFrame = 1;
};

// Enabled while Edit Mode is on and the analog channels node (or the 3D
// points node, or one of its entries) is selected.
bool CanFilterAnalog(const CEditorDoc& doc);
bool CanFilterPoints(const CEditorDoc& doc);

// The dialog's starting values: the settings of the kind last chosen for the
// data class, the range (file frame numbers; none: the whole file), the
// channel names, the channel selected in the editor view. "Set Residual to"
// starts off; the caller fills it from the settings store.
CFilterDialogState MakeFilterDialog(const CEditorDoc& doc, bool analog,
                                    std::optional<std::pair<int, int>> range = std::nullopt);

// Loads type, order, cut-offs, frames and threshold of a kind.
void SelectFilterKind(CFilterDialogState& state, int kind);
// The order slider's range for a kind: FIR 5..100, Butterworth 2..10.
std::pair<int, int> FilterOrderRange(int kind);
// Caption of the F1 edit for a type, and of the F2 edit (empty when F2 is
// not used).
std::string FilterLowLabel(int type);
std::string FilterHighLabel(int type);
// "Highest Frequency present is %.2f Hz".
std::string FilterHighestFrequencyText(const CFilterDialogState& state);

// The OK checks in order; shows their messages through `prompt`. False keeps
// the dialog open.
bool CheckFilterDialog(const CFilterDialogState& state, CUserPrompt& prompt);

// After OK: stores the chosen kind and its values in the settings, takes
// the undo snapshot, filters, and marks the document modified whatever the
// filter's result.
void RunFilterCommand(CEditorDoc& doc, const CFilterDialogState& state);

// The request the dialog's values make.
CFilterRequest FilterRequestFromDialog(const CFilterDialogState& state);

// The four operations; messages through the document's prompt, the quiet
// ones dropped in Batch Mode. No snapshot, no refresh.
bool FilterAnalogFIR(CEditorDoc& doc, const CFilterRequest& request);
bool FilterAnalogButterworth(CEditorDoc& doc, const CFilterRequest& request);
bool FilterPointsFIR(CEditorDoc& doc, const CFilterRequest& request);
bool FilterPointsButterworth(CEditorDoc& doc, const CFilterRequest& request);
