#pragma once
// Small in-memory C3D models for the document tests: the usual POINT,
// ANALOG, EVENT, TRIAL and FORCE_PLATFORM parameters and sample stores whose
// values tell channel, frame and sample apart.

#include <string>
#include <vector>

#include "c3d/C3d.h"

namespace docmodel {

struct CModelSpec {
  int m_nAnalog = 3;
  int m_nPoints = 2;
  int m_nFrames = 6;
  int m_nSamplesPerFrame = 2;
  bool m_bReal = false;
  float m_fScale = 0.5f;  // made negative for real storage
  float m_fRate = 50.0f;
  int m_nFirstFrame = 1;
};

// Numeric parameter with the given dimensions and values (type 1, 2 or 4).
CParam NumericParam(const std::string& name, int group, int type, const std::vector<int>& dims,
                    const std::vector<double>& values);
// Character parameter: strings of `width` characters; with `listDim` the
// parameter has two dimensions (width, count), otherwise one.
CParam CharParam(const std::string& name, int group, int width, const std::vector<std::string>& strings,
                 bool listDim = true);

// Analog sample k of channel c: 100 x (c + 1) + k (k counts all samples).
float AnalogValue(int channel, int sample);
// Point p, frame f: X = 1000 + 10 f + p, Y = 2000 + ..., Z = 3000 + ...;
// residual word = camera 1 + residual 2 (0x0102) in even frames, -1 in odd.
float PointValue(int point, int frame, int word);

// Fills `c3d` with the shared test model (groups POINT -1, ANALOG -2,
// TRIAL -3, EVENT -4, FORCE_PLATFORM -5, EMG -6) with the samples above,
// analog scales 0.5 (c + 1), offsets 10 c, general scale 2, one force plate
// on channels 1 to 3, and header events HS (frame 2) and TO (frame 4).
void BuildModel(CC3d& c3d, const CModelSpec& spec = CModelSpec());

// Writes the model to `path` (its leading block comes from a small stub
// written beside it). Returns false with a test failure when it cannot.
bool SaveModel(CC3d& c3d, const std::string& path);

// All samples of the model as floats, channel after channel, then points.
std::vector<float> AllSamples(const CC3d& c3d);

}  // namespace docmodel
