#pragma once
// The cubic spline pair used to fill gaps in 3D data (interpolation, and the
// graph view's Delete and Fill): second derivatives of a spline through a
// list of knots with given end slopes, and its value at any time.
//
// Knots are numbered 0 .. n-1 here; times must increase.

#include <optional>

// Fills d2[0 .. n-1] with the spline's second derivatives at the knots, for
// the slopes `startSlope` at the first knot and `endSlope` at the last. The
// arithmetic is done in extended precision; the results and the work array
// are single precision. Needs n >= 2; returns false (d2 untouched) otherwise
// or when the work array cannot be had.
bool SplineSecondDerivatives(const float* times, const float* values, int n, float startSlope,
                             float endSlope, float* d2);

// The spline's value at time t. The knot interval around t is found by
// bisection; a time before the first knot or after the last is evaluated on
// the first or last interval's cubic. No value when the two knots around t
// share the same time (or n < 2).
std::optional<float> SplineEvaluate(const float* times, const float* values, const float* d2, int n,
                                    float t);
