#include "bench/TrialBuilder.h"

#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <fstream>
#include <new>

#include "c3d/SafeFile.h"

namespace {

CParam MakeParam(int group, const std::string& name, const std::string& description, int16_t type) {
  CParam p;
  p.m_nGroupId = static_cast<int8_t>(group);
  p.m_strName = name;
  p.m_strDescription = description;
  p.m_nType = type;
  return p;
}

}  // namespace

bool CTrialBuilder::SetLayout(int points, int analogChannels, int samplesPerFrame, int frames,
                              float frameRate, StorageKind storage, float pointScale) {
  if (frames < 1 || frames > 65535 || points < 0 || points > 65535 || analogChannels < 0 ||
      samplesPerFrame < 0 || analogChannels * samplesPerFrame > 65535)
    return false;
  HeaderRecord& h = m_c3d.m_header;
  h.m_nParamBlock = 2;
  h.m_nPoints = static_cast<uint16_t>(points);
  h.m_nSamplesPerFrame = static_cast<uint16_t>(analogChannels > 0 ? samplesPerFrame : 0);
  h.m_nAnalogChannels = static_cast<uint16_t>(h.m_nSamplesPerFrame ? analogChannels : 0);
  h.m_nAnalogPerFrame = static_cast<uint16_t>(h.m_nAnalogChannels * h.m_nSamplesPerFrame);
  h.m_nFirstFrame = 1;
  h.m_nLastFrame = static_cast<uint16_t>(frames);
  h.m_nMaxGap = 10;
  h.m_fFrameRate = frameRate;
  m_c3d.m_storage = storage;
  float scale = std::fabs(pointScale);
  h.m_fScale = storage == StorageKind::Real ? -scale : scale;
  h.m_fHeaderScale = h.m_fScale;
  h.m_nDataStart = 0;  // set by the writer
  m_c3d.m_nProcessor = PROCESSOR_PC;
  m_c3d.m_nGapBlocks = 0;
  try {
    bool real = storage == StorageKind::Real;
    m_c3d.m_points.assign(static_cast<size_t>(points), CVideo());
    for (CVideo& v : m_c3d.m_points) v.Allocate(static_cast<size_t>(frames) * 4, real);
    m_c3d.m_analogs.assign(h.m_nAnalogChannels, CAnalog());
    for (CAnalog& a : m_c3d.m_analogs)
      a.Allocate(static_cast<size_t>(frames) * h.m_nSamplesPerFrame, real);
  } catch (const std::bad_alloc&) {
    m_c3d.m_points.clear();
    m_c3d.m_analogs.clear();
    return false;
  }
  m_c3d.m_bChannelsAllocated = true;
  m_c3d.m_bOpen = true;
  return true;
}

void CTrialBuilder::AddGroup(const std::string& name, int id, const std::string& description) {
  CGroup g;
  g.m_strName = name;
  g.m_nId = static_cast<int8_t>(-std::abs(id));
  g.m_strDescription = description;
  m_c3d.m_groups.push_back(g);
}

void CTrialBuilder::AddChars(int group, const std::string& name, const std::string& description,
                             const std::vector<std::string>& entries) {
  CParam p = MakeParam(group, name, description, PARAM_CHAR);
  size_t width = 1;
  for (const std::string& e : entries) width = std::max(width, e.size());
  if (entries.size() == 1) {
    p.m_dims = {static_cast<uint8_t>(width)};
  } else {
    p.m_dims = {static_cast<uint8_t>(width), static_cast<uint8_t>(entries.size())};
  }
  p.m_strings = entries;
  m_c3d.m_params.push_back(p);
}

void CTrialBuilder::AddInts(int group, const std::string& name, const std::string& description,
                            const std::vector<int>& values, std::vector<uint8_t> dims) {
  CParam p = MakeParam(group, name, description, PARAM_INTEGER);
  p.m_dims = dims.empty() ? std::vector<uint8_t>{static_cast<uint8_t>(values.size())} : dims;
  if (values.size() == 1 && dims.empty()) p.m_dims.clear();  // a single value has no dimensions
  p.m_cells.assign(values.size(), 0u);
  for (size_t i = 0; i < values.size(); ++i) p.SetShortAt(static_cast<int>(i), static_cast<int16_t>(values[i]));
  m_c3d.m_params.push_back(p);
}

void CTrialBuilder::AddFloats(int group, const std::string& name, const std::string& description,
                              const std::vector<float>& values, std::vector<uint8_t> dims) {
  CParam p = MakeParam(group, name, description, PARAM_FLOAT);
  p.m_dims = dims.empty() ? std::vector<uint8_t>{static_cast<uint8_t>(values.size())} : dims;
  if (values.size() == 1 && dims.empty()) p.m_dims.clear();
  p.m_cells.assign(values.size(), 0u);
  for (size_t i = 0; i < values.size(); ++i) p.SetFloatAt(static_cast<int>(i), values[i]);
  m_c3d.m_params.push_back(p);
}

void CTrialBuilder::AddLayoutParameters() {
  const HeaderRecord& h = m_c3d.m_header;
  int frames = h.m_nLastFrame - h.m_nFirstFrame + 1;
  AddInts(1, "USED", "Number of 3D points", {h.m_nPoints});
  AddFloats(1, "SCALE", "3D scale factor", {h.m_fScale});
  AddFloats(1, "RATE", "3D data capture rate", {h.m_fFrameRate});
  AddInts(1, "DATA_START", "Number of the first block of 3D and analog data", {0});
  // A 16-bit count: above 32767 frames readers take it as unsigned.
  AddInts(1, "FRAMES", "Number of frames", {frames});
  AddChars(1, "UNITS", "Units of the 3D coordinates", {"mm"});
  AddInts(2, "USED", "Number of analog channels", {h.m_nAnalogChannels});
  AddFloats(2, "RATE", "Analog data capture rate", {h.m_fFrameRate * h.m_nSamplesPerFrame});
  AddFloats(2, "GEN_SCALE", "General analog scale factor", {1.0f});
  AddInts(3, "ACTUAL_START_FIELD", "First frame of the trial", {h.m_nFirstFrame, 0});
  AddInts(3, "ACTUAL_END_FIELD", "Last frame of the trial", {h.m_nLastFrame, 0});
}

void CTrialBuilder::AddHeaderEvent(const std::string& label, float time, bool display) {
  CEvent e;
  e.m_strLabel = label.substr(0, 4);
  e.m_fTime = time;
  e.m_nFrame = static_cast<int32_t>(std::ceil(m_c3d.m_header.m_fFrameRate * time + 1.0f));
  e.m_nDisplay = display ? 1 : 0;
  m_c3d.m_events.push_back(e);
}

void CTrialBuilder::SetPoint(int point, int frame, float x, float y, float z, float residualWord) {
  CVideo& v = m_c3d.m_points[static_cast<size_t>(point)];
  size_t base = static_cast<size_t>(frame) * 4;
  if (m_c3d.IsReal()) {
    float* r = v.Reals() + base;
    r[0] = x, r[1] = y, r[2] = z, r[3] = residualWord;
  } else {
    // Integer storage holds coordinates in units of the point scale.
    float s = m_c3d.m_header.m_fScale;
    v.Set(base + 0, std::lround(x / s));
    v.Set(base + 1, std::lround(y / s));
    v.Set(base + 2, std::lround(z / s));
    v.Set(base + 3, residualWord);
  }
}

void CTrialBuilder::SetAnalog(int channel, int sampleIndex, float value) {
  CAnalog& a = m_c3d.m_analogs[static_cast<size_t>(channel)];
  a.Set(static_cast<size_t>(sampleIndex), m_c3d.IsReal() ? value : std::nearbyint(value));
}

bool CTrialBuilder::Save(const std::string& path, std::string& error) {
  std::string blank = CreateTempFileBeside(path, error);
  if (blank.empty()) return false;
  {
    // Header block of the source: parameters start in block 2, key byte 80.
    std::vector<char> block(512, 0);
    block[0] = static_cast<char>(m_c3d.m_header.m_nParamBlock);
    block[1] = 80;
    std::ofstream out(blank, std::ios::binary | std::ios::trunc);
    out.write(block.data(), static_cast<std::streamsize>(block.size()));
    if (!out) {
      error = "could not write " + blank;
      ::unlink(blank.c_str());
      return false;
    }
  }
  m_c3d.m_strFileName = blank;
  bool ok = m_c3d.SaveToFile(path, error);
  ::unlink(blank.c_str());
  m_c3d.m_strFileName = path;
  if (!ok && error.empty()) error = "the file could not be written";
  return ok;
}
