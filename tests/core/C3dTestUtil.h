#pragma once
// Helpers for tests of the C3D reader and writer: opening into a model with
// a recording prompt, and comparing two models value by value.

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "c3d/C3d.h"

namespace c3dtest {

// A model with its own recording prompt.
struct COpened {
  COpened() { m_c3d.SetPrompt(&m_prompt); }
  CRecordingPrompt m_prompt;
  CC3d m_c3d;
};

// Opens `path`; returns the model whatever the outcome (check IsOpen()).
std::unique_ptr<COpened> OpenC3d(const std::string& path);

// Saves, failing the test with the error when the save fails.
bool SaveC3d(CC3d& c3d, const std::string& path);

// Header values, groups, parameters, events and samples equal. Samples of
// different storage kinds compare in real units (integer x |scale|) within
// `tolerance`. Labels name the models in failure messages.
void ExpectSameContent(const CC3d& a, const CC3d& b, double tolerance = 0.0,
                       bool compareParameters = true);

// Sample v of point j / analog channel i at position `at`, in real units.
double PointReal(const CC3d& c3d, int point, size_t at);
double AnalogValue(const CC3d& c3d, int channel, size_t at);

}  // namespace c3dtest
