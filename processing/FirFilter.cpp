#include "processing/FirFilter.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "c3d/UserPrompt.h"
#include "processing/Butterworth.h"

const char kFirDesignErrorText[] = "Error in initializing Analog Filter";
const char kFirOverflowText[] = "Error2 Ana";

namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr double kOverflow = 1e10;

}  // namespace

int DesignFir(int order, int type, double f1, double f2, double fs, std::vector<double>& taps) {
  if (order < 1) return 1;
  if (type < FILTER_LPF || type > FILTER_BSF) return 3;
  const double r1 = f1 / fs, r2 = f2 / fs;
  if (!(r1 > 0.0 && r1 <= 0.5)) return 4;
  if ((type == FILTER_BPF || type == FILTER_BSF) && !(r1 < r2 && r2 < 0.5)) return 4;

  const double w1 = 2.0 * kPi * r1, w2 = 2.0 * kPi * r2;
  const int n = order;
  taps.assign(static_cast<size_t>(n) + 1, 0.0);
  const int last = n % 2 == 0 ? n / 2 - 1 : n / 2;
  for (int k = 0; k <= last; ++k) {
    const double m = k - n / 2.0;
    double ideal = 0.0;
    switch (type) {
      case FILTER_LPF: ideal = std::sin(w1 * m); break;
      case FILTER_HPF: ideal = std::sin(kPi * m) - std::sin(w1 * m); break;
      case FILTER_BPF: ideal = std::sin(w2 * m) - std::sin(w1 * m); break;
      default: ideal = std::sin(w1 * m) + std::sin(kPi * m) - std::sin(w2 * m); break;
    }
    ideal /= kPi * m;
    const double window = 0.54 - 0.46 * std::cos(2.0 * kPi * k / n);
    taps[static_cast<size_t>(k)] = taps[static_cast<size_t>(n - k)] = window * ideal;
  }
  if (n % 2 == 0) {
    double centre = 0.0;
    switch (type) {
      case FILTER_LPF: centre = w1 / kPi; break;
      case FILTER_HPF: centre = 1.0 - w1 / kPi; break;
      case FILTER_BPF: centre = (w2 - w1) / kPi; break;
      default: centre = (w1 + kPi - w2) / kPi; break;
    }
    taps[static_cast<size_t>(n / 2)] = centre;
  }
  return 0;
}

namespace {

// Two doubles side by side: the compiler's vector type where there is one,
// plain pairs of operations otherwise. Each lane sums its own output in tap
// order, so the results are those of the plain loop.
typedef double Pair __attribute__((vector_size(16)));

inline Pair LoadPair(const double* p) {
  Pair v;
  std::memcpy(&v, p, sizeof v);
  return v;
}

}  // namespace

bool ApplyFir(const std::vector<double>& taps, float* buffer, size_t count,
              std::vector<double>& work) {
  if (count == 0 || taps.empty()) return true;
  const size_t order = taps.size() - 1;
  // The input in double precision behind `order` zeros (the empty history).
  if (work.size() < order + count) work.resize(order + count);
  std::fill(work.begin(), work.begin() + static_cast<std::ptrdiff_t>(order), 0.0);
  double* x = work.data() + order;
  for (size_t i = 0; i < count; ++i) x[i] = buffer[i];
  const double* h = taps.data();

  bool overflow = false;
  size_t i = 0;
  // Eight outputs at a time, their sums held in registers over all taps.
  for (; i + 8 <= count; i += 8) {
    Pair s0 = {0.0, 0.0}, s1 = s0, s2 = s0, s3 = s0;
    for (size_t k = 0; k <= order; ++k) {
      const Pair hk = {h[k], h[k]};
      const double* xs = x + i - k;
      s0 += hk * LoadPair(xs);
      s1 += hk * LoadPair(xs + 2);
      s2 += hk * LoadPair(xs + 4);
      s3 += hk * LoadPair(xs + 6);
    }
    const double out[8] = {s0[0], s0[1], s1[0], s1[1], s2[0], s2[1], s3[0], s3[1]};
    for (size_t j = 0; j < 8; ++j) {
      overflow |= std::fabs(out[j]) > kOverflow;
      buffer[i + j] = static_cast<float>(out[j]);
    }
  }
  for (; i < count; ++i) {
    double sum = 0.0;
    for (size_t k = 0; k <= order; ++k) sum += h[k] * x[i - k];
    overflow |= std::fabs(sum) > kOverflow;
    buffer[i] = static_cast<float>(sum);
  }
  return !overflow;
}

void ExtendFirBuffer(float* buffer, int n, int lead) {
  if (n <= 0 || lead <= 0) return;
  std::fill(buffer, buffer + lead, buffer[lead]);
  std::fill(buffer + lead + n, buffer + lead + n + lead, buffer[lead + n - 1]);
}

bool FIRFilter(float* buffer, int n, int lead, float f1, float f2, int order, int type, float fs,
               CUserPrompt& prompt) {
  ExtendFirBuffer(buffer, n, lead);
  std::vector<double> taps;
  if (DesignFir(order, type, f1, f2, fs, taps) != 0) {
    prompt.ShowMessage(kFirDesignErrorText);
    return false;
  }
  std::vector<double> work;
  if (!ApplyFir(taps, buffer, static_cast<size_t>(n) + 2 * static_cast<size_t>(std::max(lead, 0)),
                work)) {
    prompt.ShowMessage(kFirOverflowText);
    return false;
  }
  return true;
}
