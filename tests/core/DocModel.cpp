#include "DocModel.h"

#include <gtest/gtest.h>

#include <cmath>

#include "ModelFixture.h"
#include "TestSupport.h"

namespace docmodel {

CParam NumericParam(const std::string& name, int group, int type, const std::vector<int>& dims,
                    const std::vector<double>& values) {
  CParam p;
  p.m_strName = name;
  p.m_nGroupId = static_cast<int8_t>(group);
  p.m_nType = static_cast<int16_t>(type);
  for (int d : dims) p.m_dims.push_back(static_cast<uint8_t>(d));
  p.ResizeToDimensions();
  for (size_t i = 0; i < values.size() && i < p.m_cells.size(); ++i)
    p.SetNumericValue(static_cast<int>(i), values[i]);
  return p;
}

CParam CharParam(const std::string& name, int group, int width, const std::vector<std::string>& strings,
                 bool listDim) {
  CParam p;
  p.m_strName = name;
  p.m_nGroupId = static_cast<int8_t>(group);
  p.m_nType = PARAM_CHAR;
  p.m_dims.push_back(static_cast<uint8_t>(width));
  if (listDim) p.m_dims.push_back(static_cast<uint8_t>(strings.size()));
  p.m_strings = strings;
  return p;
}

float AnalogValue(int channel, int sample) { return static_cast<float>(100 * (channel + 1) + sample); }

float PointValue(int point, int frame, int word) {
  if (word == 3) return frame % 2 == 0 ? static_cast<float>(0x0102) : -1.0f;
  return static_cast<float>(1000 * (word + 1) + 10 * frame + point);
}

void BuildModel(CC3d& c3d, const CModelSpec& spec) {
  using namespace testsupport;
  c3d.Close();
  c3d.m_events.clear();
  c3d.m_workEvents.clear();
  const float scale = spec.m_bReal ? -std::abs(spec.m_fScale) : spec.m_fScale;
  CModelBuilder()
      .Points(spec.m_nPoints)
      .Analogs(spec.m_nAnalog)
      .Frames(spec.m_nFrames)
      .FirstFrame(spec.m_nFirstFrame)
      .SamplesPerFrame(spec.m_nSamplesPerFrame)
      .FrameRate(spec.m_fRate)
      .Real(spec.m_bReal)
      .Scale(scale)
      .BuildInto(c3d);
  c3d.m_header.m_nParamBlock = 2;
  c3d.m_nProcessor = PROCESSOR_PC;

  // Samples that differ in every channel, frame and sample, and points that
  // are invalid in odd frames.
  for (int a = 0; a < spec.m_nAnalog; ++a) {
    CAnalog& store = c3d.m_analogs[static_cast<size_t>(a)];
    for (size_t k = 0; k < store.Size(); ++k) store.Set(k, AnalogValue(a, static_cast<int>(k)));
  }
  for (int p = 0; p < spec.m_nPoints; ++p)
    for (int f = 0; f < spec.m_nFrames; ++f)
      for (int w = 0; w < 4; ++w) SetPointValue(c3d, p, f, w, PointValue(p, f, w));

  std::vector<double> scales, offsets;
  for (int a = 0; a < spec.m_nAnalog; ++a) {
    scales.push_back(0.5 * (a + 1));
    offsets.push_back(10 * a);
  }
  SetList(c3d, "ANALOG", "SCALE", PARAM_FLOAT, scales);
  SetList(c3d, "ANALOG", "OFFSET", PARAM_INTEGER, offsets);
  SetScalar(c3d, "ANALOG", "GEN_SCALE", PARAM_FLOAT, 2.0);
  SetForcePlates(c3d, {2}, {{1, 2, 3}});
  SetEventTimes(c3d, {{0, 0.04}});

  CEvent e;
  e.m_strLabel = "HS";
  e.m_fTime = 0.02f;
  e.m_nFrame = 2;
  e.m_nDisplay = 1;
  c3d.m_events.push_back(e);
  e.m_strLabel = "TO";
  e.m_fTime = 0.06f;
  e.m_nFrame = 4;
  e.m_nDisplay = 0;
  c3d.m_events.push_back(e);
}

bool SaveModel(CC3d& c3d, const std::string& path) {
  // The writer copies the blocks before the parameters from the source file.
  std::vector<unsigned char> stub(512, 0);
  stub[0] = c3d.m_header.m_nParamBlock;
  stub[1] = 80;
  const std::string source = path + ".src";
  testsupport::WriteAll(source, stub);
  c3d.m_strFileName = source;
  std::string error;
  bool ok = c3d.SaveToFile(path, error);
  EXPECT_TRUE(ok) << "saving the model to " << path << " failed: " << error;
  if (ok) c3d.m_strFileName = path;
  return ok;
}

std::vector<float> AllSamples(const CC3d& c3d) {
  std::vector<float> all;
  for (const CAnalog& a : c3d.m_analogs)
    for (size_t i = 0; i < a.Size(); ++i) all.push_back(a.Get(i));
  for (const CVideo& v : c3d.m_points)
    for (size_t i = 0; i < v.Size(); ++i) all.push_back(v.Get(i));
  return all;
}

}  // namespace docmodel
