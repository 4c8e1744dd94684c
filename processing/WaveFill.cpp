#include "processing/WaveFill.h"

#include <cmath>

namespace {

// Steps through the samples that start a cycle: floor(k e), k = 1, 2, ...
class CCycleStarts {
 public:
  explicit CCycleStarts(float e) : m_fE(e), m_bActive(e > 0.0f && std::isfinite(e)) { Advance(); }
  // True when sample i starts a cycle. Called with i rising by one.
  bool Starts(int i) {
    if (!m_bActive) return false;
    bool starts = false;
    // Cycles shorter than a sample start several times on one sample.
    while (m_nNext <= i) {
      starts = starts || m_nNext == i;
      Advance();
    }
    return starts;
  }

 private:
  void Advance() {
    if (!m_bActive) return;
    const float start = static_cast<float>(m_nK++) * m_fE;
    if (!(start < 2.0e9f)) {
      m_bActive = false;
      return;
    }
    m_nNext = static_cast<long>(start);
  }
  float m_fE;
  bool m_bActive;
  long m_nK = 1;
  long m_nNext = 0;
};

}  // namespace

void FillSineWave(float* values, int count, float x, float a, float b, float c) {
  const float h = (b - a) / 2.0f;
  const float e = c > 0.0f ? x / c : 0.0f;
  const float step = e > 0.0f && std::isfinite(e) ? 6.2831855f / e : 0.0f;
  CCycleStarts cycles(e);
  float phase = 0.0f;
  for (int i = 0; i < count; ++i) {
    if (cycles.Starts(i)) phase = 0.0f;
    values[i] = std::sin(phase) * h + (a + h);
    phase += step;
  }
}

void FillSquareWave(float* values, int count, float x, float a, float b, float c) {
  const float e = c > 0.0f ? x / c : 0.0f;
  // The level changes twice a cycle, so that the wave has the frequency
  // asked for (switching once a cycle would halve it).
  CCycleStarts cycles(e / 2.0f);
  bool high = true;
  for (int i = 0; i < count; ++i) {
    if (cycles.Starts(i)) high = !high;
    values[i] = high ? b : a;
  }
}
