#pragma once
// Times the resampling commands on the large trial in memory, beside a plain
// copy of the same samples into fresh stores.

#include <string>
#include <vector>

#include "c3d/C3d.h"

struct CTiming {
  double m_fSeconds = 1e30;  // wall time of the best run
  double m_fCpuSeconds = 0;  // processor time of that run
};

struct CResampleFigures {
  std::string m_strName;
  double m_fSamples = 0;        // samples of the trial (points x 4 + analog)
  double m_fAnalogSamples = 0;  // analog samples only
  CTiming m_copy;               // every store copied into a fresh one
  CTiming m_rate;               // Sampling Frequency 100 -> 60 Hz
  CTiming m_ratio;              // Analog to Video Ratio 10 -> 16
};

bool MeasureResampling(StorageKind storage, int repeats, CResampleFigures& figures);
void ReportResampling(const std::vector<CResampleFigures>& figures);
