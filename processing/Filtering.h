#pragma once
// Filtering analog channels and 3D point coordinates with the FIR or the
// Butterworth filter: frame ranges, lead-ins, conversion to physical units,
// the zero hold of 3D gaps, the write-back and the residual updates.
//
// Channels are independent, so they are filtered on several threads; the
// results, the messages and the point at which a failure stops the run are
// those of a run over the channels one after the other.

#include <cstdint>
#include <string>
#include <vector>

#include "processing/Butterworth.h"
#include "settings/AppSettings.h"

class CC3d;
class CUserPrompt;

enum FilterKind { FILTER_FIR = 0, FILTER_BUTTERWORTH = 1 };

// What to filter and how: the arguments of the four filter operations.
struct CFilterRequest {
  float m_fLowFreq = 0.0f;   // F1, Hz
  float m_fHighFreq = 0.0f;  // F2, Hz (band types)
  int m_nOrder = 4;
  int m_nType = 0;                 // FilterType (Butterworth.h)
  int m_nFrames = FRAMES_ALL;      // FilterFrames
  int m_nStartFrame = 0;           // frame numbers as in the file, for FRAMES_SELECTION
  int m_nEndFrame = 0;
  std::vector<int> m_channels;     // 0-based channel or point indexes
  // 3D only.
  float m_fResidual = 0.0f;        // threshold for FRAMES_RESIDUAL
  bool m_bSetResidual = false;     // set the residual of the filtered frames
  float m_fSetResidual = 0.0f;     // to this value (-1 marks them invalid)
  std::string m_strCameras;        // camera bits ('0'/'1', first = camera 1); empty: keep
};

// Where messages go. Messages marked quiet (no data in a channel, residuals
// on analog data, memory, "Could not filter") are dropped when `m_bQuiet`;
// design and overflow errors are always shown.
struct CFilterMessages {
  CUserPrompt& m_prompt;
  bool m_bQuiet = false;
};

// Sampling rates of the two data classes.
float AnalogSampleRate(const CC3d& c3d);
float PointSampleRate(const CC3d& c3d);

// The four operations. Each returns false when it stopped at a failure;
// channels finished before the failing one stay filtered.
bool FilterAnalogChannels(CC3d& c3d, FilterKind kind, const CFilterRequest& request,
                          const CFilterMessages& messages);
bool FilterPointChannels(CC3d& c3d, FilterKind kind, const CFilterRequest& request,
                         const CFilterMessages& messages);

// Lead-in lengths for n data samples. FIR: max(order, n / 10); when that is
// not below n the order drops to n / 2 and the lead-in to n - 2 (`order` is
// updated). Butterworth (order already rounded): analog min(order + 3, n / 2),
// 3D min(order + 2, n / 4), and n - 2 when not below n.
int FirLeadIn(int n, int& order);
int ButterworthAnalogLeadIn(int n, int roundedOrder);
int ButterworthPointLeadIn(int n, int roundedOrder);

// A computed value for integer storage: truncated toward zero and held
// within -32768 .. 32767 rather than wrapped round; 0 for no number.
int16_t SaturateTo16(double value);

extern const char kCouldNotFilterText[];
extern const char kAnalogResidualText[];
