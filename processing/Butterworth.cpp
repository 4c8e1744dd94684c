#include "processing/Butterworth.h"

#include <cmath>
#include <cstdio>

#include "c3d/UserPrompt.h"

const char kButterworthOverflowText[] = "There is error";

namespace {

constexpr int kFamilyButterworth = 3;
constexpr double kPi = 3.14159265358979323846;
constexpr double kOverflow = 1e10;

using Poly = std::vector<double>;  // coefficients by ascending power

Poly Multiply(const Poly& a, const Poly& b) {
  Poly r(a.size() + b.size() - 1, 0.0);
  for (size_t i = 0; i < a.size(); ++i)
    for (size_t j = 0; j < b.size(); ++j) r[i + j] += a[i] * b[j];
  return r;
}

// P(s) with s = (1 - z^-1) / (1 + z^-1), multiplied by (1 + z^-1)^L: the
// coefficients of z^0 .. z^-L.
Poly Bilinear(const Poly& p, int length) {
  Poly result(static_cast<size_t>(length) + 1, 0.0);
  for (int j = 0; j < static_cast<int>(p.size()) && j <= length; ++j) {
    if (p[static_cast<size_t>(j)] == 0.0) continue;
    Poly term{1.0};
    for (int k = 0; k < j; ++k) term = Multiply(term, {1.0, -1.0});
    for (int k = j; k < length; ++k) term = Multiply(term, {1.0, 1.0});
    for (size_t i = 0; i < term.size(); ++i) result[i] += p[static_cast<size_t>(j)] * term[i];
  }
  return result;
}

// Analog numerator and denominator of section k (1-based) of a prototype of
// order n after the frequency transformation of the design type.
void TransformedSection(int designType, int n, int k, double omega1, double omega2, Poly& num,
                        Poly& den) {
  // Prototype factor s^2 + a s + 1.
  const double a = -2.0 * std::cos((n + 2.0 * k - 1.0) * kPi / (2.0 * n));
  const double w = omega2 - omega1;       // bandwidth
  const double w0sq = omega1 * omega2;    // centre frequency squared
  switch (designType) {
    case 1:  // s -> s / omega1
      num = {1.0};
      den = {1.0, a / omega1, 1.0 / (omega1 * omega1)};
      break;
    case 2:  // s -> omega1 / s, times s^2
      num = {0.0, 0.0, 1.0};
      den = {omega1 * omega1, a * omega1, 1.0};
      break;
    case 3:  // s -> (s^2 + w0^2) / (W s), times W^2 s^2
      num = {0.0, 0.0, w * w, 0.0, 0.0};
      den = {w0sq * w0sq, a * w * w0sq, 2.0 * w0sq + w * w, a * w, 1.0};
      break;
    default:  // s -> W s / (s^2 + w0^2), times (s^2 + w0^2)^2
      num = {w0sq * w0sq, 0.0, 2.0 * w0sq, 0.0, 1.0};
      den = {w0sq * w0sq, a * w * w0sq, 2.0 * w0sq + w * w, a * w, 1.0};
      break;
  }
}

// Sections of length 2 (biquads). Each starts from the steady state of its
// first input: input histories equal to it, output histories equal to it
// times the section's gain for a constant. Coefficients, sums and histories
// are double precision: at low cut-offs (a few Hz at 1 kHz and more) the
// poles crowd towards z = 1, and single-precision coefficients or fed-back
// outputs move them far enough to change the gain or make the section
// unstable. Each section's output is rounded to a float once.
struct CBiquad {
  double a0, a1, a2, b1, b2;
  double x1, x2, y1, y2;

  CBiquad(const double* a, const double* b) : a0(a[0]), a1(a[1]), a2(a[2]), b1(b[0]), b2(b[1]) {}

  void Start(float first) {
    double denominator = 1.0 + b1 + b2;
    double gain = denominator != 0.0 ? (a0 + a1 + a2) / denominator : 0.0;
    if (!std::isfinite(gain)) gain = 0.0;
    x1 = x2 = first;
    y1 = y2 = gain * first;
  }
  float Step(float in) {
    // The terms that do not wait for the last output first, so the chain
    // from one output to the next stays short.
    double partial = a0 * in + a1 * x1 + a2 * x2 - b2 * y2;
    double y = partial - b1 * y1;
    x2 = x1;
    x1 = in;
    y2 = y1;
    y1 = y;
    return static_cast<float>(y);
  }
};

bool RunSection2(const double* a, const double* b, float* x, size_t count) {
  CBiquad s(a, b);
  s.Start(x[0]);
  for (size_t i = 0; i < count; ++i) {
    const float y = s.Step(x[i]);
    if (std::fabs(y) > kOverflow) return false;
    x[i] = y;
  }
  return true;
}

// Two biquads in one pass: the same results as one after the other, but the
// two output chains overlap in the processor.
bool RunSectionPair(const double* a, const double* b, float* x, size_t count) {
  CBiquad first(a, b), second(a + 3, b + 2);
  first.Start(x[0]);
  const float y0 = first.Step(x[0]);
  if (std::fabs(y0) > kOverflow) return false;
  second.Start(y0);
  const float z0 = second.Step(y0);
  if (std::fabs(z0) > kOverflow) return false;
  x[0] = z0;
  for (size_t i = 1; i < count; ++i) {
    const float y = first.Step(x[i]);
    const float z = second.Step(y);
    if (std::fabs(y) > kOverflow || std::fabs(z) > kOverflow) return false;
    x[i] = z;
  }
  return true;
}

bool RunSectionN(const double* a, const double* b, int length, float* x, size_t count) {
  double sumA = 0.0, sumB = 1.0;
  for (int k = 0; k <= length; ++k) sumA += a[k];
  for (int k = 0; k < length; ++k) sumB += b[k];
  double gain = sumB != 0.0 ? sumA / sumB : 0.0;
  if (!std::isfinite(gain)) gain = 0.0;
  double xh[8], yh[8];  // xh[k-1] = x(-k), yh[k-1] = y(-k)
  for (int k = 0; k < length; ++k) {
    xh[k] = x[0];
    yh[k] = gain * x[0];
  }
  for (size_t i = 0; i < count; ++i) {
    const float in = x[i];
    double sum = a[0] * in;
    for (int k = 1; k <= length; ++k) sum += a[k] * xh[k - 1] - b[k - 1] * yh[k - 1];
    for (int k = length - 1; k > 0; --k) {
      xh[k] = xh[k - 1];
      yh[k] = yh[k - 1];
    }
    xh[0] = in;
    yh[0] = sum;
    const float y = static_cast<float>(sum);
    if (std::fabs(y) > kOverflow) return false;
    x[i] = y;
  }
  return true;
}

}  // namespace

int ButterworthRoundedOrder(int order, int type) {
  if (type == FILTER_BPF || type == FILTER_BSF) {
    int rounded = (order + 3) / 4 * 4;
    return rounded < 4 ? 4 : rounded;
  }
  return (order + 1) / 2 * 2;
}

void ButterworthEdges(int type, double f1, double f2, double& edge1, double& edge2) {
  edge1 = f1;
  switch (type) {
    case FILTER_LPF:
      edge2 = 1.01 * f1;
      break;
    case FILTER_HPF:
      edge2 = 1.01 * f1;
      if (edge2 >= 0.5) edge2 = 0.499999;
      break;
    default:
      edge2 = f2;
      break;
  }
}

int DesignButterworthSections(int family, int designType, int sections, int length, double edge1,
                              double edge2, double ripple, CButterworthSections& out) {
  (void)ripple;
  if (sections <= 0 || family != kFamilyButterworth || designType < 1 || designType > 4) return 6;
  if ((designType <= 2 && length != 2) || (designType > 2 && length != 4)) return 6;
  if (!(0.0 < edge1 && edge1 < edge2 && edge2 < 0.5)) return 7;

  const int n = 2 * sections;
  const double omega1 = std::tan(kPi * edge1);
  const double omega2 = std::tan(kPi * edge2);
  out.m_nLength = length;
  out.m_nSections = sections;
  out.m_a.assign(static_cast<size_t>(sections) * (length + 1), 0.0);
  out.m_b.assign(static_cast<size_t>(sections) * length, 0.0);
  for (int k = 1; k <= sections; ++k) {
    Poly num, den;
    TransformedSection(designType, n, k, omega1, omega2, num, den);
    Poly zn = Bilinear(num, length);
    Poly zd = Bilinear(den, length);
    bool any = false;
    for (double c : zd) any = any || c != 0.0;
    if (!any) return 1;
    if (zd[0] == 0.0) return 2;
    double* a = &out.m_a[static_cast<size_t>(k - 1) * (length + 1)];
    double* b = &out.m_b[static_cast<size_t>(k - 1) * length];
    for (int i = 0; i <= length; ++i) a[i] = zn[static_cast<size_t>(i)] / zd[0];
    for (int i = 1; i <= length; ++i) b[i - 1] = zd[static_cast<size_t>(i)] / zd[0];
  }
  return 0;
}

int DesignButterworth(int order, int type, double f1, double f2, double fs,
                      CButterworthSections& out) {
  if (type < FILTER_LPF || type > FILTER_BSF) return 6;
  const int rounded = ButterworthRoundedOrder(order, type);
  const int length = (type == FILTER_LPF || type == FILTER_HPF) ? 2 : 4;
  double edge1, edge2;
  ButterworthEdges(type, f1 / fs, f2 / fs, edge1, edge2);
  return DesignButterworthSections(kFamilyButterworth, type + 1, rounded / length, length, edge1,
                                   edge2, 3.1, out);
}

bool ApplySections(const CButterworthSections& sections, float* buffer, size_t count) {
  if (count == 0) return true;
  const int length = sections.m_nLength;
  for (int s = 0; s < sections.m_nSections;) {
    const double* a = &sections.m_a[static_cast<size_t>(s) * (length + 1)];
    const double* b = &sections.m_b[static_cast<size_t>(s) * length];
    bool ok;
    if (length == 2 && s + 1 < sections.m_nSections) {
      ok = RunSectionPair(a, b, buffer, count);
      s += 2;
    } else {
      ok = length == 2 ? RunSection2(a, b, buffer, count) : RunSectionN(a, b, length, buffer, count);
      s += 1;
    }
    if (!ok) return false;
  }
  return true;
}

std::string ButterworthDesignErrorText(int code) {
  char text[32];
  std::snprintf(text, sizeof text, "Error %d", code);
  return text;
}

bool ButterworthFilter(float* buffer, int n, int lead, float f1, float f2, int order, int type,
                       float fs, CUserPrompt& prompt) {
  CButterworthSections sections;
  int error = DesignButterworth(order, type, f1, f2, fs, sections);
  if (error != 0) {
    prompt.ShowMessage(ButterworthDesignErrorText(error));
    return false;
  }
  if (!ApplySections(sections, buffer, static_cast<size_t>(lead) + static_cast<size_t>(n))) {
    prompt.ShowMessage(kButterworthOverflowText);
    return false;
  }
  return true;
}
