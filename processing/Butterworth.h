#pragma once
// Digital Butterworth filters (low-pass, high-pass, band-pass, band-stop) as
// a cascade of second-order (low/high-pass) or fourth-order (band) sections,
// designed from the analog prototype by frequency transformation and the
// bilinear substitution, and run once forward over a buffer in place.

#include <cstddef>
#include <string>
#include <vector>

class CUserPrompt;

// Filter types as the filter dialog numbers them.
enum FilterType { FILTER_LPF = 0, FILTER_HPF = 1, FILTER_BPF = 2, FILTER_BSF = 3 };

// The designed cascade: S sections of length L (2 or 4); per section L + 1
// numerator coefficients A0..AL and L denominator coefficients B1..BL (the
// leading 1 implied), all sections one after the other. The coefficients are
// kept in double precision (see ApplySections).
struct CButterworthSections {
  int m_nLength = 0;    // L
  int m_nSections = 0;  // S
  std::vector<double> m_a;
  std::vector<double> m_b;
};

// The order the design uses: low- and high-pass round up to an even order,
// band-pass and band-stop up to a multiple of 4 (at least 4).
int ButterworthRoundedOrder(int order, int type);

// The band edges handed to the design, as fractions of the sampling rate,
// for cut-offs f1 and f2 given as fractions too.
void ButterworthEdges(int type, double f1, double f2, double& edge1, double& edge2);

// Designs the cascade. `designType` is 1..4 (low, high, band-pass,
// band-stop); `family` must be 3 (Butterworth); the ripple is not used.
// Returns 0, or the error code: 6 for a bad type, family or section count,
// 7 for edges outside 0 < edge1 < edge2 < 0.5.
int DesignButterworthSections(int family, int designType, int sections, int length, double edge1,
                              double edge2, double ripple, CButterworthSections& out);

// Designs the cascade for an order, type (FilterType) and cut-offs in Hz at
// sampling rate fs, as ButterworthFilter does. Returns the design's error code.
int DesignButterworth(int order, int type, double f1, double f2, double fs,
                      CButterworthSections& out);

// Runs the cascade over `count` samples in place, section after section.
// Every section starts in the steady state of its first input (histories as
// if that sample had always been applied), so a constant passes a low-pass
// unchanged. Within a section coefficients, sums and histories are double
// precision, which keeps low cut-offs (band-pass 1-10 Hz at 1 kHz, say)
// stable and at their gain; each section's outputs are single precision.
// Returns false (the buffer then holds partial results) when an output
// exceeds 1e10 in magnitude.
bool ApplySections(const CButterworthSections& sections, float* buffer, size_t count);

// Designs and runs the filter over a buffer of lead + n samples, cut-offs in
// Hz at sampling rate fs. Shows "Error %d" for a design error and "There is
// error" for an output overflow, and returns false in both cases.
bool ButterworthFilter(float* buffer, int n, int lead, float f1, float f2, int order, int type,
                       float fs, CUserPrompt& prompt);

// The texts of the two failures.
std::string ButterworthDesignErrorText(int code);
extern const char kButterworthOverflowText[];
