#pragma once
// Filling missing or unreliable 3D samples by cubic-spline interpolation over
// time, one coordinate at a time.
//
// Gaps mode fills runs of invalid frames (negative residual) that are shorter
// than a given number of frames, together with the valid frame that closes
// the run; their residual words become 0. Residual mode replaces runs of
// frames whose residual exceeds a threshold; the residual words of the frames
// written while filling X become 0. The last two frames of a file never
// serve as knots. A coordinate with fewer than two knots is left as it is.

#include <vector>

class CC3d;
class CUserPrompt;

enum InterpolationMode { INTERPOLATE_GAPS = 0, INTERPOLATE_RESIDUALS = 1 };

// Fills every gap of fewer than maxGap - 1 invalid frames that neither starts
// at frame 0 nor reaches the last frame, in each listed point (indexes not in
// the file are skipped). `prompt` receives "Bad interpolation" when a spline
// cannot be evaluated; null keeps it quiet.
void InterpolateGapsInPoints(CC3d& c3d, const std::vector<int>& points, int maxGap,
                             CUserPrompt* prompt);

// Replaces every run of frames whose residual is above `threshold` (a frame
// at the threshold continues a run but does not start one) that lies within
// the coordinate's knots.
void InterpolateResidualsInPoints(CC3d& c3d, const std::vector<int>& points, float threshold,
                                  CUserPrompt* prompt);
