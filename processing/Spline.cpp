#include "processing/Spline.h"

#include <new>
#include <vector>

bool SplineSecondDerivatives(const float* times, const float* values, int n, float startSlope,
                             float endSlope, float* d2) {
  if (n < 2) return false;
  std::vector<float> u;
  try {
    u.assign(static_cast<size_t>(n) + 1, 0.0f);
  } catch (const std::bad_alloc&) {
    return false;
  }
  using Ext = long double;
  const float* t = times;
  const float* y = values;

  // Forward sweep of the tridiagonal system (first row: the start slope).
  Ext h0 = static_cast<Ext>(t[1]) - t[0];
  d2[0] = -0.5f;
  u[0] = static_cast<float>((3.0L / h0) * ((static_cast<Ext>(y[1]) - y[0]) / h0 - startSlope));
  // The slope of each interval is needed twice (right of one knot, left of
  // the next); it is computed once and carried along.
  Ext left = (static_cast<Ext>(y[1]) - y[0]) / h0;
  for (int i = 1; i < n - 1; ++i) {
    Ext sig = (static_cast<Ext>(t[i]) - t[i - 1]) / (static_cast<Ext>(t[i + 1]) - t[i - 1]);
    Ext p = sig * d2[i - 1] + 2.0L;
    d2[i] = static_cast<float>((sig - 1.0L) / p);
    Ext right = (static_cast<Ext>(y[i + 1]) - y[i]) / (static_cast<Ext>(t[i + 1]) - t[i]);
    u[i] = static_cast<float>((6.0L * (right - left) / (static_cast<Ext>(t[i + 1]) - t[i - 1]) -
                               sig * u[i - 1]) / p);
    left = right;
  }
  // Last row: the end slope.
  const int last = n - 1;
  Ext hn = static_cast<Ext>(t[last]) - t[last - 1];
  Ext q = 0.5L;
  Ext un = (3.0L / hn) * (endSlope - (static_cast<Ext>(y[last]) - y[last - 1]) / hn);
  d2[last] = static_cast<float>((un - q * u[last - 1]) / (q * d2[last - 1] + 1.0L));
  // Back substitution.
  for (int k = last - 1; k >= 0; --k)
    d2[k] = static_cast<float>(static_cast<Ext>(d2[k]) * d2[k + 1] + u[k]);
  return true;
}

std::optional<float> SplineEvaluate(const float* times, const float* values, const float* d2, int n,
                                    float t) {
  if (n < 2) return std::nullopt;
  int lo = 0, hi = n - 1;
  while (hi - lo > 1) {
    int mid = (hi + lo) / 2;
    if (times[mid] > t)
      hi = mid;
    else
      lo = mid;
  }
  float h = times[hi] - times[lo];
  if (h == 0.0f) return std::nullopt;
  double a = (static_cast<double>(times[hi]) - t) / h;
  double b = (static_cast<double>(t) - times[lo]) / h;
  double value = a * values[lo] + b * values[hi] +
                 ((a * a * a - a) * d2[lo] + (b * b * b - b) * d2[hi]) * (static_cast<double>(h) * h) *
                     0.16666666666666666;
  return static_cast<float>(value);
}
