#pragma once
// Times the resampling commands on the large trial in memory, beside a plain
// copy of the same samples into fresh stores.

#include <string>
#include <vector>

#include "c3d/C3d.h"

struct CResampleFigures {
  std::string m_strName;
  double m_fSamples = 0;        // samples of the trial (points x 4 + analog)
  double m_fAnalogSamples = 0;  // analog samples only
  double m_fCopySeconds = 0;    // every store copied into a fresh one
  double m_fRateSeconds = 0;    // Sampling Frequency 100 -> 60 Hz
  double m_fRatioSeconds = 0;   // Analog to Video Ratio 10 -> 16
};

bool MeasureResampling(StorageKind storage, int repeats, CResampleFigures& figures);
void ReportResampling(const std::vector<CResampleFigures>& figures);
