// The signal-processing building blocks against closed forms: the cubic
// spline pair, the Butterworth cascade against its analog prototype, the
// FIR taps against the windowed ideal response, and the ordered parallel
// loop the filters run on.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <complex>
#include <mutex>
#include <vector>

#include "processing/Butterworth.h"
#include "processing/FirFilter.h"
#include "processing/Filtering.h"
#include "processing/Parallel.h"
#include "processing/Spline.h"

namespace {

const double kPi = 3.14159265358979323846;

// |H| of the designed cascade at f (a fraction of the sampling rate).
double CascadeMagnitude(const CButterworthSections& s, double f) {
  const std::complex<double> zInv = std::polar(1.0, -2.0 * kPi * f);
  std::complex<double> h = 1.0;
  const int L = s.m_nLength;
  for (int k = 0; k < s.m_nSections; ++k) {
    std::complex<double> num = 0.0, den = 1.0, zk = 1.0;
    for (int i = 0; i <= L; ++i) {
      num += static_cast<double>(s.m_a[static_cast<size_t>(k * (L + 1) + i)]) * zk;
      if (i > 0) den += static_cast<double>(s.m_b[static_cast<size_t>(k * L + i - 1)]) * zk;
      zk *= zInv;
    }
    h *= num / den;
  }
  return std::abs(h);
}

// The analog Butterworth prototype of order n at the transformed frequency q.
double Prototype(double q, int n) { return 1.0 / std::sqrt(1.0 + std::pow(std::fabs(q), 2.0 * n)); }

double FirMagnitude(const std::vector<double>& taps, double f) {
  std::complex<double> h = 0.0;
  for (size_t k = 0; k < taps.size(); ++k) h += taps[k] * std::polar(1.0, -2.0 * kPi * f * static_cast<double>(k));
  return std::abs(h);
}

}  // namespace

TEST(Spline, ClampedSplineThroughThreeKnotsIsTheSmoothstep) {
  // Knots (0,0), (1,1), (2,0) with zero end slopes: worked by hand, the
  // second derivatives are 6, -6, 6 and the first piece is 3t^2 - 2t^3.
  const float t[] = {0, 1, 2}, y[] = {0, 1, 0};
  float d2[3];
  ASSERT_TRUE(SplineSecondDerivatives(t, y, 3, 0, 0, d2));
  EXPECT_FLOAT_EQ(d2[0], 6.0f);
  EXPECT_FLOAT_EQ(d2[1], -6.0f);
  EXPECT_FLOAT_EQ(d2[2], 6.0f);
  EXPECT_FLOAT_EQ(*SplineEvaluate(t, y, d2, 3, 0.25f), 0.15625f);
  EXPECT_FLOAT_EQ(*SplineEvaluate(t, y, d2, 3, 1.75f), 0.15625f);
  EXPECT_FLOAT_EQ(*SplineEvaluate(t, y, d2, 3, 1.0f), 1.0f);
}

TEST(Spline, ReproducesACubicWithMatchingEndSlopesOnUnevenKnots) {
  // y = t^3 - 3t has slope 0 at t = -1 and t = 1.
  const std::vector<float> t = {-1.0f, -0.7f, -0.2f, 0.1f, 0.15f, 0.6f, 1.0f};
  std::vector<float> y, d2(t.size());
  for (float x : t) y.push_back(x * x * x - 3 * x);
  ASSERT_TRUE(SplineSecondDerivatives(t.data(), y.data(), 7, 0, 0, d2.data()));
  for (float x = -1.0f; x <= 1.0f; x += 0.05f)
    EXPECT_NEAR(*SplineEvaluate(t.data(), y.data(), d2.data(), 7, x), x * x * x - 3 * x, 2e-5) << x;
}

TEST(Spline, RefusesTooFewKnotsAndCoincidentTimes) {
  const float t[] = {0, 0, 1}, y[] = {1, 2, 3};
  float d2[3] = {9, 9, 9};
  EXPECT_FALSE(SplineSecondDerivatives(t, y, 1, 0, 0, d2));
  EXPECT_EQ(d2[0], 9.0f);
  const float zero[3] = {0, 0, 0};
  EXPECT_FALSE(SplineEvaluate(t, y, zero, 3, -0.5f).has_value());  // bracketed by t0 = t1
  EXPECT_FALSE(SplineEvaluate(t, y, zero, 1, 0.0f).has_value());
}

TEST(Butterworth, SectionsMatchTheAnalogPrototypeForAllFourTypes) {
  const double fs = 1000, f1 = 100, f2 = 200;
  const double o1 = std::tan(kPi * f1 / fs), o2 = std::tan(kPi * f2 / fs);
  struct Case {
    int type, order, n;  // n: prototype order
  } cases[] = {{FILTER_LPF, 4, 4}, {FILTER_LPF, 5, 6}, {FILTER_HPF, 2, 2}, {FILTER_HPF, 6, 6},
               {FILTER_BPF, 4, 2}, {FILTER_BPF, 8, 4}, {FILTER_BSF, 4, 2}, {FILTER_BSF, 8, 4}};
  for (const Case& c : cases) {
    SCOPED_TRACE(::testing::Message() << "type " << c.type << " order " << c.order);
    CButterworthSections s;
    ASSERT_EQ(DesignButterworth(c.order, c.type, f1, f2, fs, s), 0);
    EXPECT_EQ(s.m_nLength * s.m_nSections, ButterworthRoundedOrder(c.order, c.type));
    for (double f : {5.0, 50.0, 90.0, 100.0, 130.0, 150.0, 200.0, 260.0, 400.0, 490.0}) {
      const double w = std::tan(kPi * f / fs);
      double q = 0;
      switch (c.type) {
        case FILTER_LPF: q = w / o1; break;
        case FILTER_HPF: q = o1 / w; break;
        case FILTER_BPF: q = (w * w - o1 * o2) / ((o2 - o1) * w); break;
        default: q = (o2 - o1) * w / (o1 * o2 - w * w); break;
      }
      EXPECT_NEAR(CascadeMagnitude(s, f / fs), Prototype(q, c.n), 2e-4) << f << " Hz";
    }
  }
}

TEST(Butterworth, OrderRoundingAndEdgeErrors) {
  EXPECT_EQ(ButterworthRoundedOrder(3, FILTER_LPF), 4);
  EXPECT_EQ(ButterworthRoundedOrder(6, FILTER_BPF), 8);
  EXPECT_EQ(ButterworthRoundedOrder(2, FILTER_BSF), 4);
  CButterworthSections s;
  // A low-pass cut-off of 0.496 fs puts the second edge past 0.5 fs.
  EXPECT_EQ(DesignButterworth(4, FILTER_LPF, 496, 0, 1000, s), 7);
  EXPECT_EQ(ButterworthDesignErrorText(7), "Error 7");
  // A high-pass just below half the rate gets 0.499999 as its second edge
  // and works while the cut-off stays below it.
  EXPECT_EQ(DesignButterworth(4, FILTER_HPF, 499.9, 0, 1000, s), 0);
  EXPECT_EQ(DesignButterworth(4, FILTER_HPF, 499.9995, 0, 1000, s), 7);
  EXPECT_EQ(DesignButterworth(4, FILTER_BPF, 200, 100, 1000, s), 7);
  EXPECT_EQ(DesignButterworthSections(3, 1, 0, 2, 0.1, 0.2, 3.1, s), 6);
}

TEST(Butterworth, EverySectionStartsInTheSteadyStateOfItsFirstInput) {
  // An 800 mm coordinate stays 800 mm from the first frame on through a
  // low-pass and a band-stop, and a high-pass or band-pass gives 0 at once;
  // with empty histories the first low-pass output would be far off.
  struct Case {
    int type;
    double expected;
  } cases[] = {{FILTER_LPF, 800}, {FILTER_BSF, 800}, {FILTER_HPF, 0}, {FILTER_BPF, 0}};
  for (const Case& c : cases) {
    CButterworthSections s;
    ASSERT_EQ(DesignButterworth(8, c.type, 6, 12, 100, s), 0);
    std::vector<float> buffer(200, 800.0f);
    ASSERT_TRUE(ApplySections(s, buffer.data(), buffer.size()));
    for (size_t i = 0; i < buffer.size(); ++i) ASSERT_NEAR(buffer[i], c.expected, 0.05) << c.type << " at " << i;
  }
  // Runaway outputs fail.
  CButterworthSections s;
  ASSERT_EQ(DesignButterworth(2, FILTER_LPF, 10, 0, 100, s), 0);
  std::vector<float> huge(10, 3e10f);
  EXPECT_FALSE(ApplySections(s, huge.data(), huge.size()));
}

TEST(Butterworth, LowCutOffsKeepTheirGainAndStayStable) {
  // At a few Hz and a sampling rate of 1 kHz or more the poles lie close to
  // z = 1: a constant must still pass a low-pass at gain 1, and a band-pass
  // must pass its centre frequency sqrt(f1 f2) at gain 1 (the prototype's
  // peak) without growing, however long the record.
  CButterworthSections s;
  ASSERT_EQ(DesignButterworth(4, FILTER_LPF, 3, 0, 2000, s), 0);
  std::vector<float> constant(4000, 1000.0f);
  ASSERT_TRUE(ApplySections(s, constant.data(), constant.size()));
  for (size_t i = 0; i < constant.size(); i += 97) ASSERT_NEAR(constant[i], 1000.0f, 0.01f) << i;

  struct Band {
    double f1, f2, fs;
    int order;
  } bands[] = {{1, 10, 1000, 4}, {1, 5, 960, 8}, {1, 5, 2000, 4}};
  for (const Band& b : bands) {
    SCOPED_TRACE(::testing::Message() << b.f1 << "-" << b.f2 << " Hz at " << b.fs << ", order " << b.order);
    ASSERT_EQ(DesignButterworth(b.order, FILTER_BPF, b.f1, b.f2, b.fs, s), 0);
    const double centre = std::sqrt(std::tan(kPi * b.f1 / b.fs) * std::tan(kPi * b.f2 / b.fs));
    const double f = std::atan(centre) / kPi;  // the digital frequency of the analog centre
    EXPECT_NEAR(CascadeMagnitude(s, f), 1.0, 1e-6);
    const size_t n = static_cast<size_t>(8 * b.fs);
    std::vector<float> sine(n);
    for (size_t i = 0; i < n; ++i) sine[i] = static_cast<float>(std::sin(2 * kPi * f * static_cast<double>(i)));
    ASSERT_TRUE(ApplySections(s, sine.data(), sine.size()));
    float peak = 0;
    for (size_t i = n / 2; i < n; ++i) peak = std::max(peak, std::fabs(sine[i]));
    EXPECT_NEAR(peak, 1.0f, 0.01f);
  }
}

TEST(Fir, TapsAreTheHammingWindowedIdealResponse) {
  // Order 2 low-pass at a quarter of the rate, by hand: w(0) = 0.08, the
  // ideal tap at m = -1 is sin(-pi/2) / -pi = 1/pi, the centre tap 0.5.
  std::vector<double> taps;
  ASSERT_EQ(DesignFir(2, FILTER_LPF, 250, 0, 1000, taps), 0);
  ASSERT_EQ(taps.size(), 3u);
  EXPECT_NEAR(taps[0], 0.08 / kPi, 1e-15);
  EXPECT_DOUBLE_EQ(taps[1], 0.5);
  EXPECT_DOUBLE_EQ(taps[2], taps[0]);

  // A windowed ideal response: about 1 in the pass band, 1/2 at the cut-off,
  // about 0 in the stop band, for even and odd orders alike (an odd order
  // has no centre tap, and no tap divides by zero).
  for (int order : {40, 41}) {
    SCOPED_TRACE(order);
    ASSERT_EQ(DesignFir(order, FILTER_LPF, 100, 0, 1000, taps), 0);
    for (double t : taps) ASSERT_TRUE(std::isfinite(t));
    for (int k = 0; k <= order; ++k) EXPECT_DOUBLE_EQ(taps[size_t(k)], taps[size_t(order - k)]);
    EXPECT_NEAR(FirMagnitude(taps, 0.0), 1.0, 0.01);
    EXPECT_NEAR(FirMagnitude(taps, 0.1), 0.5, 0.02);
    EXPECT_LT(FirMagnitude(taps, 0.2), 0.01);
    ASSERT_EQ(DesignFir(order, FILTER_BSF, 100, 300, 1000, taps), 0);
    EXPECT_NEAR(FirMagnitude(taps, 0.0), 1.0, 0.01);
    EXPECT_LT(FirMagnitude(taps, 0.2), 0.01);
    ASSERT_EQ(DesignFir(order, FILTER_BPF, 100, 300, 1000, taps), 0);
    EXPECT_NEAR(FirMagnitude(taps, 0.2), 1.0, 0.01);
    EXPECT_LT(FirMagnitude(taps, 0.0), 0.01);
  }
  ASSERT_EQ(DesignFir(40, FILTER_HPF, 100, 0, 1000, taps), 0);
  EXPECT_NEAR(FirMagnitude(taps, 0.5), 1.0, 0.01);
  EXPECT_LT(FirMagnitude(taps, 0.0), 0.01);

  EXPECT_EQ(DesignFir(0, FILTER_LPF, 100, 0, 1000, taps), 1);
  EXPECT_EQ(DesignFir(10, 4, 100, 0, 1000, taps), 3);
  EXPECT_EQ(DesignFir(10, FILTER_LPF, 0, 0, 1000, taps), 4);
  EXPECT_EQ(DesignFir(10, FILTER_LPF, 500, 0, 1000, taps), 0);
  EXPECT_EQ(DesignFir(10, FILTER_BPF, 300, 200, 1000, taps), 4);
}

TEST(Filters, SumsAreFormedInDoublePrecision) {
  // A large constant with a ripple of one unit: summed in single precision
  // the terms' rounding (about a unit each at 1e7) would swamp the result.
  // Each output must be the extended-precision sum rounded once to a float.
  std::vector<float> x(400);
  for (size_t i = 0; i < x.size(); ++i) x[i] = 1e7f + (i % 2 ? 1.0f : -1.0f);
  auto ulp = [](float v) { return std::nextafter(std::fabs(v), INFINITY) - std::fabs(v); };

  std::vector<double> taps;
  ASSERT_EQ(DesignFir(20, FILTER_HPF, 250, 0, 1000, taps), 0);
  std::vector<float> fir = x;
  std::vector<double> work;
  ASSERT_TRUE(ApplyFir(taps, fir.data(), fir.size(), work));
  for (size_t i = 20; i < x.size(); ++i) {
    long double sum = 0;
    for (size_t k = 0; k < taps.size(); ++k) sum += static_cast<long double>(taps[k]) * x[i - k];
    const float expected = static_cast<float>(sum);
    ASSERT_LE(std::fabs(fir[i] - expected), ulp(expected)) << i;
  }

  // One biquad: sums and histories in extended precision, outputs floats,
  // started in the steady state of the first input.
  CButterworthSections s;
  ASSERT_EQ(DesignButterworth(2, FILTER_LPF, 100, 0, 1000, s), 0);
  std::vector<float> iir = x;
  ASSERT_TRUE(ApplySections(s, iir.data(), iir.size()));
  const long double a0 = s.m_a[0], a1 = s.m_a[1], a2 = s.m_a[2], b1 = s.m_b[0], b2 = s.m_b[1];
  const long double start = (a0 + a1 + a2) / (1 + b1 + b2) * x[0];
  long double x1 = x[0], x2 = x[0], y1 = start, y2 = start;
  for (size_t i = 0; i < x.size(); ++i) {
    const long double y = a0 * x[i] + a1 * x1 + a2 * x2 - b1 * y1 - b2 * y2;
    const float rounded = static_cast<float>(y);
    ASSERT_LE(std::fabs(iir[i] - rounded), ulp(rounded)) << i;
    x2 = x1, x1 = x[i], y2 = y1, y1 = y;
  }
}

TEST(Fir, LeadInsAndTheirShortRangeFallbacks) {
  int order = 20;
  EXPECT_EQ(FirLeadIn(50, order), 20);
  EXPECT_EQ(order, 20);
  EXPECT_EQ(FirLeadIn(15, order), 13);
  EXPECT_EQ(order, 7);
  order = 20;
  EXPECT_EQ(FirLeadIn(1000, order), 100);
  EXPECT_EQ(ButterworthAnalogLeadIn(10, 4), 5);
  EXPECT_EQ(ButterworthAnalogLeadIn(100, 4), 7);
  EXPECT_EQ(ButterworthPointLeadIn(100, 4), 6);
  EXPECT_EQ(ButterworthPointLeadIn(12, 4), 3);
}

TEST(Parallel, OrderedCommitsStopAtTheFirstFailureAsOneThreadWould) {
  for (int threads : {1, 2, 5}) {
    SetProcessingThreads(threads);
    std::vector<int> worked(40, 0), committed;
    std::mutex mutex;
    ParallelForOrdered(
        40,
        [&](int i, int worker) {
          ASSERT_LT(worker, ProcessingWorkers(40));
          std::lock_guard<std::mutex> lock(mutex);
          ++worked[size_t(i)];
        },
        [&](int i, int) {
          committed.push_back(i);
          return i != 17;
        });
    std::vector<int> expected;
    for (int i = 0; i <= 17; ++i) expected.push_back(i);
    EXPECT_EQ(committed, expected) << threads << " threads";
    for (int i = 0; i <= 17; ++i) EXPECT_EQ(worked[size_t(i)], 1);
  }
  SetProcessingThreads(0);
}
