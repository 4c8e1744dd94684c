#include "processing/LinearResample.h"

#include <cmath>

ResampleCheck CheckResample(int64_t e, int64_t g) {
  if (g == e) return ResampleCheck::Same;
  const float s = ResampleStep(e, g);
  if (g < e) {
    // g of 0 gives an infinite step, a negative g a negative one.
    if (!(s >= 1.0f) || !(static_cast<float>(e) >= s)) return ResampleCheck::ReductionFailed;
    return ResampleCheck::Reduction;
  }
  if (!(s > 0.0f) || !(s < 1.0f)) return ResampleCheck::ExpansionFailed;
  if (g < static_cast<int64_t>(static_cast<float>(e) / s)) return ResampleCheck::ExpansionFailed;
  return ResampleCheck::Expansion;
}

int64_t ScaleFrameCount(int64_t frames, float rate, float newRate) {
  if (frames <= 0 || !(rate > 0.0f) || !std::isfinite(rate) || !std::isfinite(newRate)) return 0;
  const double exact = static_cast<double>(frames) * static_cast<double>(newRate) /
                       static_cast<double>(rate);
  if (!(exact > 0.0)) return 0;
  if (exact > 9.0e15) return static_cast<int64_t>(9.0e15);
  // Each rate carries a relative rounding of at most 2^-24 from single
  // precision; a few of those either way still means the whole number.
  const double nearest = std::round(exact);
  if (std::fabs(exact - nearest) <= nearest * 4.0e-7) return static_cast<int64_t>(nearest);
  return static_cast<int64_t>(exact);
}
