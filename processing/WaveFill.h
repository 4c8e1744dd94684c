#pragma once
// Generated signals for new frames and new analog channels: a sine wave or a
// square wave between two levels, sampled at a given rate.
//
// Arguments: the values to fill, their count, the sample rate x (Hz), the
// levels a and b, the frequency c (Hz). One cycle lasts e = x / c samples
// (single precision); cycle k starts at sample index floor(k e).

// Sine between a and b around their middle, starting at the middle and
// rising; the phase starts again from 0 at the first sample of every cycle.
// A frequency that is not positive gives the middle level throughout.
void FillSineWave(float* values, int count, float x, float a, float b, float c);

// Level b for the first half of each cycle, a for the second: the level
// switches at sample floor(k e / 2), k = 1, 2, ... A frequency that is not
// positive gives level b throughout.
void FillSquareWave(float* values, int count, float x, float a, float b, float c);
