#include "processing/Interpolation.h"

#include <algorithm>
#include <atomic>
#include <cmath>
#include <vector>

#include "c3d/C3d.h"
#include "processing/Filtering.h"
#include "processing/Parallel.h"
#include "processing/Spline.h"

namespace {

struct CSpan {
  int m_nStart;
  int m_nEnd;
};

// Gaps mode: each run of invalid frames with the valid frame after it. A run
// that reaches the last frame has no closing frame and is not listed.
std::vector<CSpan> FindGaps(const std::vector<float>& residual) {
  std::vector<CSpan> spans;
  const int n = static_cast<int>(residual.size());
  int a = 0;
  while (a < n) {
    int s = a;
    while (s < n && residual[static_cast<size_t>(s)] >= 0.0f) ++s;
    if (s >= n) break;
    int e = s + 1;
    while (e < n && residual[static_cast<size_t>(e)] < 0.0f) ++e;
    if (e >= n) break;
    spans.push_back({s, e});
    a = e + 1;
  }
  return spans;
}

// Residual mode: runs that start above the threshold and go on while the
// residual is at least the threshold (an invalid frame ends them).
std::vector<CSpan> FindHighResidualRuns(const std::vector<float>& residual, float threshold) {
  std::vector<CSpan> spans;
  const int n = static_cast<int>(residual.size());
  int a = 0;
  while (a < n) {
    int s = a;
    while (s < n && !(residual[static_cast<size_t>(s)] > threshold)) ++s;
    if (s >= n) break;
    int e = s;
    while (e + 1 < n && residual[static_cast<size_t>(e) + 1] >= threshold) ++e;
    spans.push_back({s, e});
    a = e + 1;
  }
  return spans;
}

// Seconds per frame for knot times; the spline's values do not depend on the
// time unit, so a file without a usable rate is interpolated over frame
// indexes.
float FramePeriod(const CC3d& c3d) {
  float rate = c3d.m_header.m_fFrameRate;
  return (rate > 0.0f && std::isfinite(rate)) ? 1.0f / rate : 1.0f;
}

class CPointInterpolator {
 public:
  CPointInterpolator(CC3d& c3d, InterpolationMode mode, int maxGap, float threshold)
      : m_c3d(c3d), m_mode(mode), m_nMaxGap(maxGap), m_fThreshold(threshold),
        m_fPeriod(FramePeriod(c3d)) {}

  // Interpolates one point; false when a spline could not be evaluated.
  bool Run(int point) {
    const int n = m_c3d.FrameCount();
    CVideo& store = m_c3d.m_points[static_cast<size_t>(point)];
    if (n < 3 || store.Size() < static_cast<size_t>(n) * 4) return true;

    std::vector<float> residual(static_cast<size_t>(n));
    for (int f = 0; f < n; ++f) residual[static_cast<size_t>(f)] = m_c3d.GetResidual(point, f);

    std::vector<CSpan> spans;
    if (m_mode == INTERPOLATE_GAPS) {
      for (const CSpan& s : FindGaps(residual))
        if (s.m_nStart != 0 && s.m_nEnd - s.m_nStart + 1 < m_nMaxGap && s.m_nStart <= s.m_nEnd)
          spans.push_back(s);
    } else {
      spans = FindHighResidualRuns(residual, m_fThreshold);
    }
    if (spans.empty()) return true;

    bool evaluated = true;
    std::vector<char> filledAll(spans.size(), 1);  // gaps mode: all three coordinates filled
    std::vector<int> resetFrames;                  // residual mode: frames written in X
    for (int axis = 0; axis < 3; ++axis) {
      if (!BuildKnots(store, residual, axis, n)) {
        std::fill(filledAll.begin(), filledAll.end(), 0);
        continue;
      }
      for (size_t k = 0; k < spans.size(); ++k) {
        const CSpan& span = spans[k];
        // Only spans between two knots are filled: beyond the last knot the
        // spline's end cubic runs off freely, and in gaps mode it would
        // overwrite the measured frame that closes the gap with its guess.
        if (span.m_nStart < m_nFirstKnot || span.m_nEnd > m_nLastKnot) {
          filledAll[k] = 0;
          continue;
        }
        bool spanOk = true;
        for (int j = span.m_nStart; j <= span.m_nEnd; ++j) {
          float t = static_cast<float>(j) * m_fPeriod;
          auto value = SplineEvaluate(m_times.data(), m_values.data(), m_d2.data(),
                                      static_cast<int>(m_times.size()), t);
          if (!value) {
            evaluated = spanOk = false;
            continue;
          }
          // Integer storage: a spline across the top of a peak may rise
          // past the 16-bit range; it is held at the limit, not wrapped.
          const size_t at = static_cast<size_t>(j) * 4 + static_cast<size_t>(axis);
          if (store.IsReal())
            store.Set(at, *value);
          else
            store.Ints()[at] = SaturateTo16(*value);
          if (m_mode == INTERPOLATE_RESIDUALS && axis == 0) resetFrames.push_back(j);
        }
        if (!spanOk) filledAll[k] = 0;
      }
    }

    // The filled frames count as measured now: residual word 0 (cameras go
    // with it). In gaps mode a span that could not be filled in every
    // coordinate stays invalid rather than show made-up zeros as data.
    if (m_mode == INTERPOLATE_GAPS) {
      for (size_t k = 0; k < spans.size(); ++k)
        if (filledAll[k])
          for (int j = spans[k].m_nStart; j <= spans[k].m_nEnd; ++j)
            store.Set(static_cast<size_t>(j) * 4 + 3, 0.0);
    } else {
      for (int j : resetFrames) store.Set(static_cast<size_t>(j) * 4 + 3, 0.0);
    }
    return evaluated;
  }

 private:
  // Knots of one coordinate from frames 0 .. n-3 and the spline through
  // them; false with fewer than two knots.
  bool BuildKnots(const CVideo& store, const std::vector<float>& residual, int axis, int n) {
    m_times.clear();
    m_values.clear();
    m_nFirstKnot = m_nLastKnot = -1;
    const bool real = store.IsReal();
    for (int i = 0; i <= n - 3; ++i) {
      float r = residual[static_cast<size_t>(i)];
      float v = store.Get(static_cast<size_t>(i) * 4 + static_cast<size_t>(axis));
      // An invalid frame is never a knot, whatever it holds: some writers
      // leave a stale or made-up position there, and a curve through it
      // would replace the measured frames around it.
      bool knot = m_mode == INTERPOLATE_GAPS ? (r >= 0.0f && (!real || v != 0.0f))
                                             : (r >= 0.0f && r <= m_fThreshold && v != 0.0f);
      // A coordinate that is no number (how some writers mark a missing
      // sample) would make the whole spline no number.
      if (!knot || !std::isfinite(v)) continue;
      if (m_nFirstKnot < 0) m_nFirstKnot = i;
      m_nLastKnot = i;
      m_times.push_back(static_cast<float>(i) * m_fPeriod);
      m_values.push_back(v);
    }
    if (m_times.size() < 2) return false;
    m_d2.assign(m_times.size(), 0.0f);
    return SplineSecondDerivatives(m_times.data(), m_values.data(), static_cast<int>(m_times.size()),
                                   0.0f, 0.0f, m_d2.data());
  }

  CC3d& m_c3d;
  InterpolationMode m_mode;
  int m_nMaxGap;
  float m_fThreshold;
  float m_fPeriod;
  std::vector<float> m_times, m_values, m_d2;
  int m_nFirstKnot = -1, m_nLastKnot = -1;
};

void InterpolatePoints(CC3d& c3d, const std::vector<int>& points, InterpolationMode mode,
                       int maxGap, float threshold, CUserPrompt* prompt) {
  std::vector<int> valid;
  for (int p : points)
    if (p >= 0 && p < c3d.PointCount()) valid.push_back(p);
  std::atomic<bool> bad{false};
  // Points are independent: each thread fills whole points.
  ParallelFor(static_cast<int>(valid.size()), [&](int index, int) {
    CPointInterpolator interpolator(c3d, mode, maxGap, threshold);
    if (!interpolator.Run(valid[static_cast<size_t>(index)])) bad = true;
  });
  if (bad && prompt) prompt->ShowMessage("Bad interpolation");
}

}  // namespace

void InterpolateGapsInPoints(CC3d& c3d, const std::vector<int>& points, int maxGap,
                             CUserPrompt* prompt) {
  InterpolatePoints(c3d, points, INTERPOLATE_GAPS, maxGap, 0.0f, prompt);
}

void InterpolateResidualsInPoints(CC3d& c3d, const std::vector<int>& points, float threshold,
                                  CUserPrompt* prompt) {
  InterpolatePoints(c3d, points, INTERPOLATE_RESIDUALS, 0, threshold, prompt);
}
