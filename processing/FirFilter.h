#pragma once
// FIR filters: a Hamming-windowed ideal low-pass, high-pass, band-pass or
// band-stop response of order N (N + 1 taps), run forward over a buffer
// whose data are framed by a lead-in and a tail.

#include <cstddef>
#include <vector>

class CUserPrompt;

// The taps for order N, type (FilterType of Butterworth.h) and cut-offs f1,
// f2 in Hz at sampling rate fs. For odd N the distance of tap k from the
// centre, k - N/2, is a real number (never 0), so no tap divides by zero.
// Returns 0, or the error code: 1 for N < 1, 3 for an unknown type, 4 for
// cut-offs outside 0 < f1/fs <= 0.5 (band types: f1/fs < f2/fs < 0.5).
int DesignFir(int order, int type, double f1, double f2, double fs, std::vector<double>& taps);

// Runs the taps forward over `count` samples in place with zero history:
// y(i) = sum over k of taps[k] x(i - k), summed in double precision. Returns
// false (the buffer then holds partial results) when an output exceeds 1e10
// in magnitude. `work` is scratch space the caller may reuse between calls.
bool ApplyFir(const std::vector<double>& taps, float* buffer, size_t count,
              std::vector<double>& work);

// Sets the `lead` samples before the n data samples to the first data sample
// and the `lead` samples after them to the last.
void ExtendFirBuffer(float* buffer, int n, int lead);

// The whole filter on a buffer of lead + n + lead samples: extends the data,
// designs the taps and runs them. Shows "Error in initializing Analog Filter"
// for a design error and "Error2 Ana" for an output overflow, and returns
// false in both cases. The output for data sample j is read at
// lead + j + order / 2 (the filter's delay).
bool FIRFilter(float* buffer, int n, int lead, float f1, float f2, int order, int type, float fs,
               CUserPrompt& prompt);

extern const char kFirDesignErrorText[];
extern const char kFirOverflowText[];
