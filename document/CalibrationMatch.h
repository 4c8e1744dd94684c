#pragma once
// Samples of a second file in the open file's calibration, for Append and
// Merge. A stored sample means nothing without its scales: an integer 3D
// coordinate is raw x POINT:SCALE, the residual byte counts units of that
// scale in both storage kinds, and an analog sample reads
// (raw - offset) x scale x general scale. Copying raw samples between files
// whose scales differ would silently change every physical value, so the
// second file's samples are converted first.

#include <optional>
#include <string>
#include <vector>

#include "c3d/Channels.h"

class CC3d;

struct CMatchedStores {
  // By the second file's channel index: a converted copy, or nothing when the
  // channel's samples can be taken as they are.
  std::vector<std::optional<CSampleStore>> m_analogs;
  std::vector<std::optional<CSampleStore>> m_points;
};

// Converts the second file's points `points` to the document's point scale
// and its analog channels `analogs` (pairs of the second file's channel and
// the document's channel whose calibration it must take) to that channel's
// offset and scales. False with `misfit` naming the first channel whose
// converted integer samples would not fit 16 bits; nothing is converted then.
bool MatchCalibration(const CC3d& doc, const CC3d& second, const std::vector<int>& points,
                      const std::vector<std::pair<int, int>>& analogs, CMatchedStores& matched,
                      std::string& misfit);

// The message that refuses combining two files because of `misfit`.
std::string CalibrationMisfitMessage(const std::string& misfit);
