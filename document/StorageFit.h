#pragma once
// Real data saved in integer storage must fit 16-bit samples. These helpers
// name what does not fit (for the questions and messages of Save As, the
// batch processor's save and quorvel-cli convert) and rescale it so that it
// fits with its values kept.

#include <string>
#include <vector>

#include "c3d/C3d.h"

// "3D point 3 (RASI): 1356.32 at scale 0.01" or "analog channel 10 (Fz1): -123810".
std::string DescribeIntegerMisfit(const CC3d& c3d, const CIntegerMisfit& misfit);
// One line per store (each started by two blanks), at most `limit` of them,
// then "  and N more".
std::string DescribeIntegerMisfits(const CC3d& c3d, const std::vector<CIntegerMisfit>& misfits,
                                   size_t limit = 8);

// Makes the stores of `misfits` fit 16-bit integer storage: a point scale
// that maps the largest coordinate to 32000 counts when a point does not
// fit, and FitAnalogToIntegers for each channel. Returns what still does not
// fit (channels whose parameters cannot record a rescale).
std::vector<CIntegerMisfit> FitToIntegerStorage(CC3d& c3d, const std::vector<CIntegerMisfit>& misfits);

// Real-to-integer conversion in the document's saves: fits the data when
// `rescale`, else only checks. Empty when the conversion may go ahead;
// otherwise the stores that do not fit.
std::vector<CIntegerMisfit> PrepareIntegerConversion(CC3d& c3d, bool rescale);
