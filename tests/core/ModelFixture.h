#pragma once
// Builds CC3d models in memory for tests, without any file.
//
//   auto c3d = testsupport::CModelBuilder().Points(3).Analogs(2).Frames(10)
//                  .SamplesPerFrame(4).Real().Build();
//
// A built model has:
// - the header filled in (points, channels, samples per frame, analog values
//   per frame, first and last frame, frame rate, working and header scale);
//   StorageKind as chosen; IsOpen() true; sample stores allocated.
// - samples from a fixed pattern (see PointPattern / AnalogPattern), every
//   point valid (residual word 0) in every frame, so a test can tell which
//   original frame or channel a value came from.
// - the usual groups and parameters:
//     POINT  (-1): LABELS, DESCRIPTIONS (char, 2 dims), USED, SCALE, RATE,
//                  FRAMES, DATA_START
//     ANALOG (-2): LABELS, DESCRIPTIONS, UNITS (char, 2 dims), SCALE (float),
//                  OFFSET (integer), GEN_SCALE, USED, RATE
//     TRIAL  (-3): ACTUAL_START_FIELD, ACTUAL_END_FIELD (integer, 2 values)
//     EVENT  (-4): USED (0), TIMES (float, 2 x 0), LABELS (char, 4 x 0)
//     FORCE_PLATFORM (-5): USED (0), TYPE (integer, 0), CHANNEL (integer, 6 x 0)
//     EMG    (-6): GAIN, NORMALIZATION (float), TYPE, SEL (integer) with one
//                  value per channel, SIDE (char, 1 x channels)
//   Labels are "P1", "P2", ... and "A1", "A2", ...; descriptions "Point 1",
//   "Analog 1", ...; units "V"; analog scale 1, offset 0, general scale 1.
//   Scalars have no dimensions; lists have one.
// Use the free helpers below to change, add or drop parameters afterwards.

#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "c3d/C3d.h"

namespace testsupport {

// Values of the pattern: X = 1000 j + 10 f + 1, Y = ... + 2, Z = ... + 3 for
// point j in frame f; analog channel i, frame f, sample k: 1000 i + 10 f + k.
// (Integer stores wrap them to 16 bits in models of some thousand frames.)
float PointPattern(int point, int frame, int axis);
float AnalogPattern(int channel, int frame, int sample);

class CModelBuilder {
 public:
  CModelBuilder& Points(int count) { m_nPoints = count; return *this; }
  CModelBuilder& Analogs(int count) { m_nAnalogs = count; return *this; }
  CModelBuilder& Frames(int count) { m_nFrames = count; return *this; }
  CModelBuilder& FirstFrame(int frame) { m_nFirstFrame = frame; return *this; }
  CModelBuilder& SamplesPerFrame(int count) { m_nSamplesPerFrame = count; return *this; }
  CModelBuilder& FrameRate(float hz) { m_fFrameRate = hz; return *this; }
  // Real (float) storage; integer storage is the default.
  CModelBuilder& Real(bool real = true) { m_bReal = real; return *this; }
  // Working scale as held (negative for real storage). Without it: 0.1 for
  // integer storage and -0.1 for real storage.
  CModelBuilder& Scale(float scale) { m_fScale = scale; return *this; }
  // Leaves every group and parameter out (header and stores only).
  CModelBuilder& NoParameters() { m_bParams = false; return *this; }

  std::unique_ptr<CC3d> Build() const;
  // Fills an existing, empty model (CC3d can be neither copied nor moved).
  void BuildInto(CC3d& c3d) const;

 private:
  int m_nPoints = 2;
  int m_nAnalogs = 2;
  int m_nFrames = 5;
  int m_nFirstFrame = 1;
  int m_nSamplesPerFrame = 2;
  float m_fFrameRate = 60.0f;
  bool m_bReal = false;
  std::optional<float> m_fScale;
  bool m_bParams = true;
};

// ---- Groups and parameters ----------------------------------------------
// Group names are matched without regard to case, as FindParameter does.

// Id (negative) of the group, appended with the next free id when missing.
int EnsureGroup(CC3d& c3d, const std::string& group);
// Removes the parameter; false when there was none.
bool DropParam(CC3d& c3d, const std::string& group, const std::string& name);
// Removes the group and all its parameters; false when there was none.
bool DropGroup(CC3d& c3d, const std::string& group);

// Replaces (or appends) a parameter and returns it. `dims` empty makes a
// scalar. Numeric values fill the cells in order (missing ones stay 0).
CParam& SetParam(CC3d& c3d, const std::string& group, const std::string& name, ParamType type,
                 const std::vector<int>& dims, const std::vector<double>& values = {});
// Numeric scalar without dimensions.
CParam& SetScalar(CC3d& c3d, const std::string& group, const std::string& name, ParamType type,
                  double value);
// One-dimensional numeric list.
CParam& SetList(CC3d& c3d, const std::string& group, const std::string& name, ParamType type,
                const std::vector<double>& values);
// Character list of two dimensions (width, count); width 0 takes the
// longest string (at least 1).
CParam& SetStrings(CC3d& c3d, const std::string& group, const std::string& name,
                   const std::vector<std::string>& strings, int width = 0);

// Every element of a numeric parameter (empty when missing or of character type).
std::vector<double> Values(const CC3d& c3d, const std::string& group, const std::string& name);
// The strings of a character parameter (empty when missing).
std::vector<std::string> Strings(const CC3d& c3d, const std::string& group,
                                 const std::string& name);

// EVENT:USED, EVENT:TIMES (minutes, seconds pairs) and EVENT:LABELS.
void SetEventTimes(CC3d& c3d, const std::vector<std::pair<double, double>>& times);
// FORCE_PLATFORM:USED, TYPE and CHANNEL (integer, dimensions 6 x plates,
// or 8 x plates when any plate is of type 3; short rows are padded with 0).
void SetForcePlates(CC3d& c3d, const std::vector<int>& types,
                    const std::vector<std::vector<int>>& channels);

// ---- Samples --------------------------------------------------------------

// X, Y, Z or the residual word (axis 3) as held (a float of the stored value).
float PointValue(const CC3d& c3d, int point, int frame, int axis);
void SetPointValue(CC3d& c3d, int point, int frame, int axis, double value);
// Sets X, Y, Z and the residual word of one frame.
void SetPointFrame(CC3d& c3d, int point, int frame, double x, double y, double z, double word);
float AnalogValue(const CC3d& c3d, int channel, int frame, int sample);
void SetAnalogValue(CC3d& c3d, int channel, int frame, int sample, double value);

}  // namespace testsupport
