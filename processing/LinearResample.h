#pragma once
// Linear resampling of one sampled signal to another number of samples, as
// the frame rate and the analog-to-video ratio commands need it.
//
// A signal v[0..e] becomes w[0..g] with the step s = e / g (single
// precision): w[i] is the straight line between v[k] and v[k + 1] at
// c = i x s, k the integer part of c. w[0] is v[0]. Where c reaches the last
// sample (rounding of s can take c a hair past e), the last sample is used,
// so nothing is read past the end and every new sample up to g is
// interpolated.
//
// The loops are templates over the stored types (16-bit integers, floats)
// so that a whole channel runs without a function call per sample.

#include <cstddef>
#include <cstdint>
#include <type_traits>

enum class ResampleCheck {
  Same,       // g equals e: nothing to resample
  Reduction,  // fewer samples
  Expansion,  // more samples
  ReductionFailed,
  ExpansionFailed,
};

// Whether a signal with last index `e` can be resampled to last index `g`.
// A reduction needs s of at least 1 and e of at least s; an expansion needs
// s above 0 and below 1. So a signal of one sample cannot be expanded and no
// signal can be reduced to one sample (or to none).
ResampleCheck CheckResample(int64_t e, int64_t g);

// The single-precision step e / g.
inline float ResampleStep(int64_t e, int64_t g) {
  return static_cast<float>(e) / static_cast<float>(g);
}

// Writes g + 1 resampled values of `in` (e + 1 values, `inStride` apart) to
// `out` (`outStride` apart). Integer output takes each value truncated
// toward zero; interpolated values lie between two stored 16-bit values, so
// they always fit. Call only after CheckResample gave Same, Reduction or
// Expansion.
template <typename In, typename Out>
void ResampleLinear(const In* in, int64_t e, size_t inStride, Out* out, int64_t g,
                    size_t outStride) {
  const double step = g > 0 ? static_cast<double>(ResampleStep(e, g)) : 0.0;
  const double last = static_cast<double>(in[static_cast<size_t>(e) * inStride]);
  for (int64_t i = 0; i <= g; ++i) {
    const double c = static_cast<double>(i) * step;
    const int64_t k = static_cast<int64_t>(c);
    double value;
    if (k >= e) {
      value = last;
    } else {
      const double a = static_cast<double>(in[static_cast<size_t>(k) * inStride]);
      const double b = static_cast<double>(in[static_cast<size_t>(k + 1) * inStride]);
      value = a + (b - a) * (c - static_cast<double>(k));
    }
    if constexpr (std::is_integral_v<Out>)
      out[static_cast<size_t>(i) * outStride] = static_cast<Out>(static_cast<int32_t>(value));
    else
      out[static_cast<size_t>(i) * outStride] = static_cast<Out>(value);
  }
}

// The frame count that `frames` frames at `rate` Hz take at `newRate` Hz:
// frames x newRate / rate, truncated toward zero. The rates are the file's
// single-precision values; a product that is a whole number up to the
// rounding of those values counts as that whole number, so 300 frames at
// 100 Hz give exactly 720 at 240 Hz.
int64_t ScaleFrameCount(int64_t frames, float rate, float newRate);
