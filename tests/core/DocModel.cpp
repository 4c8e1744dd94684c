#include "DocModel.h"

#include <gtest/gtest.h>

#include <cmath>

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
  c3d.Close();
  HeaderRecord& h = c3d.m_header;
  h = HeaderRecord();
  h.m_nParamBlock = 2;
  h.m_nPoints = static_cast<uint16_t>(spec.m_nPoints);
  h.m_nSamplesPerFrame = static_cast<uint16_t>(spec.m_nSamplesPerFrame);
  h.m_nAnalogChannels = static_cast<uint16_t>(spec.m_nAnalog);
  h.m_nAnalogPerFrame = static_cast<uint16_t>(spec.m_nAnalog * spec.m_nSamplesPerFrame);
  h.m_nFirstFrame = static_cast<uint16_t>(spec.m_nFirstFrame);
  h.m_nLastFrame = static_cast<uint16_t>(spec.m_nFirstFrame + spec.m_nFrames - 1);
  const float scale = spec.m_bReal ? -std::abs(spec.m_fScale) : spec.m_fScale;
  h.m_fScale = scale;
  h.m_fHeaderScale = scale;
  h.m_fFrameRate = spec.m_fRate;
  h.m_nDataStart = 3;
  c3d.m_storage = spec.m_bReal ? StorageKind::Real : StorageKind::Integer;
  c3d.m_nProcessor = PROCESSOR_PC;

  auto group = [&](const char* name, int id) {
    CGroup g;
    g.m_strName = name;
    g.m_nId = static_cast<int8_t>(id);
    g.m_strDescription = std::string(name) + " group";
    c3d.m_groups.push_back(g);
  };
  group("POINT", -1);
  group("ANALOG", -2);
  group("EVENT", -3);
  group("TRIAL", -4);
  group("FORCE_PLATFORM", -5);

  std::vector<std::string> pointLabels, pointDescriptions, analogLabels, analogDescriptions, units;
  std::vector<double> analogScales, analogOffsets;
  for (int p = 0; p < spec.m_nPoints; ++p) {
    pointLabels.push_back("P" + std::to_string(p + 1));
    pointDescriptions.push_back("point " + std::to_string(p + 1));
  }
  for (int a = 0; a < spec.m_nAnalog; ++a) {
    analogLabels.push_back("A" + std::to_string(a + 1));
    analogDescriptions.push_back("channel " + std::to_string(a + 1));
    units.push_back("V");
    analogScales.push_back(0.5 * (a + 1));
    analogOffsets.push_back(10 * a);
  }
  auto& params = c3d.m_params;
  params.push_back(NumericParam("USED", 1, PARAM_INTEGER, {}, {double(spec.m_nPoints)}));
  params.push_back(NumericParam("SCALE", 1, PARAM_FLOAT, {}, {scale}));
  params.push_back(NumericParam("RATE", 1, PARAM_FLOAT, {}, {spec.m_fRate}));
  params.push_back(NumericParam("FRAMES", 1, PARAM_INTEGER, {}, {double(spec.m_nFrames)}));
  params.push_back(NumericParam("DATA_START", 1, PARAM_INTEGER, {}, {3}));
  params.push_back(CharParam("LABELS", 1, 4, pointLabels));
  params.push_back(CharParam("DESCRIPTIONS", 1, 8, pointDescriptions));
  params.push_back(NumericParam("USED", 2, PARAM_INTEGER, {}, {double(spec.m_nAnalog)}));
  params.push_back(CharParam("LABELS", 2, 4, analogLabels));
  params.push_back(CharParam("DESCRIPTIONS", 2, 10, analogDescriptions));
  params.push_back(CharParam("UNITS", 2, 2, units));
  params.push_back(NumericParam("SCALE", 2, PARAM_FLOAT, {spec.m_nAnalog}, analogScales));
  params.push_back(NumericParam("OFFSET", 2, PARAM_INTEGER, {spec.m_nAnalog}, analogOffsets));
  params.push_back(NumericParam("GEN_SCALE", 2, PARAM_FLOAT, {}, {2.0}));
  params.push_back(NumericParam("RATE", 2, PARAM_FLOAT, {}, {spec.m_fRate * spec.m_nSamplesPerFrame}));
  params.push_back(NumericParam("USED", 3, PARAM_INTEGER, {}, {1}));
  params.push_back(NumericParam("TIMES", 3, PARAM_FLOAT, {2, 1}, {0, 0.04}));
  params.push_back(NumericParam("ACTUAL_START_FIELD", 4, PARAM_INTEGER, {2}, {double(spec.m_nFirstFrame), 0}));
  params.push_back(NumericParam("ACTUAL_END_FIELD", 4, PARAM_INTEGER, {2},
                                {double(spec.m_nFirstFrame + spec.m_nFrames - 1), 0}));
  params.push_back(NumericParam("USED", 5, PARAM_INTEGER, {}, {1}));
  params.push_back(NumericParam("TYPE", 5, PARAM_INTEGER, {1}, {2}));
  params.push_back(NumericParam("CHANNEL", 5, PARAM_INTEGER, {6, 1}, {1, 2, 3, 0, 0, 0}));

  const size_t analogSamples = static_cast<size_t>(spec.m_nFrames) * spec.m_nSamplesPerFrame;
  c3d.m_analogs.resize(static_cast<size_t>(spec.m_nAnalog));
  for (int a = 0; a < spec.m_nAnalog; ++a) {
    CAnalog& store = c3d.m_analogs[static_cast<size_t>(a)];
    store.Allocate(analogSamples, spec.m_bReal);
    for (size_t k = 0; k < analogSamples; ++k) store.Set(k, AnalogValue(a, static_cast<int>(k)));
  }
  c3d.m_points.resize(static_cast<size_t>(spec.m_nPoints));
  for (int p = 0; p < spec.m_nPoints; ++p) {
    CVideo& store = c3d.m_points[static_cast<size_t>(p)];
    store.Allocate(static_cast<size_t>(spec.m_nFrames) * 4, spec.m_bReal);
    for (int f = 0; f < spec.m_nFrames; ++f)
      for (int w = 0; w < 4; ++w) store.Set(static_cast<size_t>(f) * 4 + w, PointValue(p, f, w));
  }
  c3d.m_bChannelsAllocated = true;

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
  c3d.m_bOpen = true;
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
