#pragma once
// The restores of the single-level undo, as pieces that work on a model, the
// snapshot file and the saved parameter copies. The document's Undo command
// chooses the piece by the undo kind and adds its refresh hints.
//
// Every restore that reads the snapshot first checks that the snapshot fits
// the model it is about to change (storage kind, counts) and reads all the
// samples it needs into memory; only then does it change the model. A
// restore that returns false has left the model exactly as it was.

#include <vector>

#include "c3d/C3d.h"
#include "document/UndoSnapshot.h"

// True for the undo kinds whose restore needs the snapshot file.
bool UndoKindUsesSnapshot(int kind);

// Slots of the saved-parameter array, as the recording commands fill them.
namespace undo_slots {
// Delete/New of an analog channel (kinds 15 and 17).
enum AnalogSlot {
  ANALOG_LABELS = 0,
  ANALOG_DESCRIPTIONS = 1,
  ANALOG_UNITS = 2,
  ANALOG_SCALE = 3,
  ANALOG_OFFSET = 4,
  ANALOG_USED = 5,
  FORCE_PLATFORM_CHANNEL = 6,
  EMG_GAIN = 7,
  EMG_NORMALIZATION = 8,
  EMG_TYPE = 9,
  EMG_SEL = 10,
  EMG_SIDE = 11,
  ANALOG_GAIN = 12,
  ANALOG_SLOT_COUNT = 13,
};
// Delete/New of a 3D point (kinds 16 and 18).
enum PointSlot { POINT_LABELS = 0, POINT_DESCRIPTIONS = 1, POINT_USED = 2, POINT_SLOT_COUNT = 3 };
// Sampling Frequency and Analog to Video Ratio (kinds 12 and 13): what the
// rate restore would otherwise recompute.
enum RateSlot {
  RATE_POINT_RATE = 0,
  RATE_POINT_FRAMES = 1,
  RATE_ANALOG_RATE = 2,
  RATE_TRIAL_START = 3,
  RATE_TRIAL_END = 4,
  RATE_SLOT_COUNT = 5,
};
// Merge (kind 11) saves three copies more after its seven (MergeSlot,
// MergeCountSlotNames): what the merge restore would otherwise recompute.
enum MergeCountSlot { MERGE_POINT_FRAMES = 7, MERGE_ANALOG_USED = 8, MERGE_POINT_USED = 9 };
// Merge (kind 11).
enum MergeSlot {
  MERGE_ANALOG_LABELS = 0,
  MERGE_ANALOG_DESCRIPTIONS = 1,
  MERGE_ANALOG_SCALE = 2,
  MERGE_ANALOG_OFFSET = 3,
  MERGE_ANALOG_UNITS = 4,
  MERGE_POINT_LABELS = 5,
  MERGE_POINT_DESCRIPTIONS = 6,
  MERGE_SLOT_COUNT = 7,
};
// Frame commands (kinds 8, 9 and 10):
// EVENT:TIMES, then what the frame restore would otherwise recompute.
enum FrameSlot {
  FRAME_EVENT_TIMES = 0,
  FRAME_POINT_FRAMES = 1,
  FRAME_TRIAL_START = 2,
  FRAME_TRIAL_END = 3,
  FRAME_SLOT_COUNT = 4,
};
}  // namespace undo_slots

// The (group, parameter) names of each slot list, in slot order.
struct CParamName {
  const char* m_szGroup;
  const char* m_szName;
};
const std::vector<CParamName>& AnalogSlotNames();
const std::vector<CParamName>& PointSlotNames();
const std::vector<CParamName>& RateSlotNames();
const std::vector<CParamName>& MergeCountSlotNames();
const std::vector<CParamName>& MergeSlotNames();
const std::vector<CParamName>& FrameSlotNames();

// Puts saved copy `slot` back into the parameter `name` when both exist.
void RestoreSavedParam(CC3d& c3d, const SavedParams& saved, size_t slot, const CParamName& name);

// Frame restore after Delete Frames (8), New Frames (9) and Append (10):
// stores, frame range, POINT:FRAMES, EVENT:TIMES (saved slot 0), the header
// events from the working event list, then the TRIAL fields. Saved copies
// of POINT:FRAMES and the TRIAL fields (slots 1 to 3), when there are any,
// go back last, so that values that did not follow the frame count before
// the command are given back as they were.
bool RestoreFrames(CC3d& c3d, const CUndoSnapshot& snap, const SavedParams& saved, int kind);

// Merge restore (11): drops the merged channels and points, restores the
// stores, counts and the saved parameters (the last three after the counts,
// so that values that did not follow the counts come back as they were).
bool RestoreMerge(CC3d& c3d, const CUndoSnapshot& snap, const SavedParams& saved);

// Rate restore after Sampling Frequency (12) and Analog to Video Ratio (13);
// the saved copies of the rate, frame and TRIAL parameters go back last.
bool RestoreRates(CC3d& c3d, const CUndoSnapshot& snap, const SavedParams& saved);

// Sample restore after Interpolate, Delete and Fill, Filter, Read DST (14,
// 19, 20, 21): every store read back, sizes and parameters unchanged.
bool RestoreSamples(CC3d& c3d, const CUndoSnapshot& snap);

// Analog stores read back from the snapshot (zeroing 25 and 27, analog
// offset 26); point data and parameters untouched.
bool RestoreAnalogStores(CC3d& c3d, const CUndoSnapshot& snap);

// After Delete of an analog channel (15): puts the channel back at `index`
// with its samples and the twelve saved parameters.
bool ReinsertAnalogChannel(CC3d& c3d, const CUndoSnapshot& snap, int index,
                           const SavedParams& saved);

// After Delete of a 3D point (16): puts the point back at `index`.
bool ReinsertPoint(CC3d& c3d, const CUndoSnapshot& snap, int index, const SavedParams& saved);

// After New Analog Channel (17): removes the channel at `index` and puts the
// twelve saved parameters back. When no channel is left the samples per
// frame go back to the value the snapshot recorded before the channel was
// added (0 when the snapshot cannot tell).
bool RemoveAnalogChannel(CC3d& c3d, const CUndoSnapshot& snap, int index,
                         const SavedParams& saved);

// After New 3D Marker (18): removes the point at `index`.
bool RemovePoint(CC3d& c3d, int index, const SavedParams& saved);

// Values undo block (7): channel kind (0 analog, else 3D), channel index,
// first frame index, frame count n, then n x (samples per frame or 4)
// values. Writes the values back; a 3D point keeps its current residual
// words unless the kind is kUndoValuesPointWithResiduals (Paste, which
// overwrote them). False when the block does not fit the model (nothing is
// written).
constexpr float kUndoValuesPointWithResiduals = 2.0f;
bool RestoreValues(CC3d& c3d, const std::vector<float>& block);

// Fills a values undo block with the current values of `frames` frames of a
// channel from frame index `first` (clipped to the file). False when the
// channel does not exist.
bool CaptureValues(const CC3d& c3d, bool point, int channel, int first, int frames,
                   std::vector<float>& block);
