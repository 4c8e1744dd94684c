#include "ModelFixture.h"

#include <algorithm>
#include <cstdio>

namespace testsupport {

float PointPattern(int point, int frame, int axis) {
  return static_cast<float>(1000 * point + 10 * frame + axis + 1);
}

float AnalogPattern(int channel, int frame, int sample) {
  return static_cast<float>(1000 * channel + 10 * frame + sample);
}

namespace {

std::vector<std::string> Numbered(const char* format, int count) {
  std::vector<std::string> out;
  for (int i = 1; i <= count; ++i) {
    char text[32];
    std::snprintf(text, sizeof text, format, i);
    out.push_back(text);
  }
  return out;
}

int GroupIdOf(const CC3d& c3d, const std::string& group) {
  int g = c3d.FindGroup(group);
  return g < 0 ? 0 : std::abs(static_cast<int>(c3d.m_groups[static_cast<size_t>(g)].m_nId));
}

}  // namespace

std::unique_ptr<CC3d> CModelBuilder::Build() const {
  auto c3d = std::make_unique<CC3d>();
  BuildInto(*c3d);
  return c3d;
}

void CModelBuilder::BuildInto(CC3d& c3d) const {
  const float scale = m_fScale ? *m_fScale : (m_bReal ? -0.1f : 0.1f);
  HeaderRecord& h = c3d.m_header;
  h.m_nPoints = static_cast<uint16_t>(m_nPoints);
  h.m_nAnalogChannels = static_cast<uint16_t>(m_nAnalogs);
  h.m_nSamplesPerFrame = static_cast<uint16_t>(m_nSamplesPerFrame);
  h.m_nAnalogPerFrame = static_cast<uint16_t>(m_nAnalogs * m_nSamplesPerFrame);
  h.m_nFirstFrame = static_cast<uint16_t>(m_nFirstFrame);
  h.m_nLastFrame = static_cast<uint16_t>(m_nFirstFrame + m_nFrames - 1);
  h.m_fScale = scale;
  h.m_fHeaderScale = scale;
  h.m_fFrameRate = m_fFrameRate;
  h.m_nDataStart = 3;
  c3d.m_storage = m_bReal ? StorageKind::Real : StorageKind::Integer;

  c3d.m_points.assign(static_cast<size_t>(m_nPoints), CVideo());
  for (int j = 0; j < m_nPoints; ++j) {
    CVideo& store = c3d.m_points[static_cast<size_t>(j)];
    store.Allocate(static_cast<size_t>(m_nFrames) * 4, m_bReal);
    for (int f = 0; f < m_nFrames; ++f)
      for (int a = 0; a < 3; ++a)
        store.Set(static_cast<size_t>(f) * 4 + a, PointPattern(j, f, a));
  }
  c3d.m_analogs.assign(static_cast<size_t>(m_nAnalogs), CAnalog());
  for (int i = 0; i < m_nAnalogs; ++i) {
    CAnalog& store = c3d.m_analogs[static_cast<size_t>(i)];
    store.Allocate(static_cast<size_t>(m_nFrames) * m_nSamplesPerFrame, m_bReal);
    for (int f = 0; f < m_nFrames; ++f)
      for (int k = 0; k < m_nSamplesPerFrame; ++k)
        store.Set(static_cast<size_t>(f) * m_nSamplesPerFrame + k, AnalogPattern(i, f, k));
  }
  c3d.m_bChannelsAllocated = true;
  c3d.m_bOpen = true;
  if (!m_bParams) return;

  for (const char* group : {"POINT", "ANALOG", "TRIAL", "EVENT", "FORCE_PLATFORM", "EMG"})
    EnsureGroup(c3d, group);

  SetStrings(c3d, "POINT", "LABELS", Numbered("P%d", m_nPoints), 4);
  SetStrings(c3d, "POINT", "DESCRIPTIONS", Numbered("Point %d", m_nPoints), 16);
  SetScalar(c3d, "POINT", "USED", PARAM_INTEGER, m_nPoints);
  SetScalar(c3d, "POINT", "SCALE", PARAM_FLOAT, scale);
  SetScalar(c3d, "POINT", "RATE", PARAM_FLOAT, m_fFrameRate);
  SetScalar(c3d, "POINT", "FRAMES", PARAM_INTEGER, m_nFrames);
  SetScalar(c3d, "POINT", "DATA_START", PARAM_INTEGER, h.m_nDataStart);

  const std::vector<double> ones(static_cast<size_t>(m_nAnalogs), 1.0);
  const std::vector<double> zeros(static_cast<size_t>(m_nAnalogs), 0.0);
  SetStrings(c3d, "ANALOG", "LABELS", Numbered("A%d", m_nAnalogs), 4);
  SetStrings(c3d, "ANALOG", "DESCRIPTIONS", Numbered("Analog %d", m_nAnalogs), 16);
  SetStrings(c3d, "ANALOG", "UNITS", std::vector<std::string>(static_cast<size_t>(m_nAnalogs), "V"), 4);
  SetList(c3d, "ANALOG", "SCALE", PARAM_FLOAT, ones);
  SetList(c3d, "ANALOG", "OFFSET", PARAM_INTEGER, zeros);
  SetScalar(c3d, "ANALOG", "GEN_SCALE", PARAM_FLOAT, 1.0);
  SetScalar(c3d, "ANALOG", "USED", PARAM_INTEGER, m_nAnalogs);
  SetScalar(c3d, "ANALOG", "RATE", PARAM_FLOAT, m_fFrameRate * m_nSamplesPerFrame);

  SetList(c3d, "TRIAL", "ACTUAL_START_FIELD", PARAM_INTEGER, {static_cast<double>(m_nFirstFrame), 0});
  SetList(c3d, "TRIAL", "ACTUAL_END_FIELD", PARAM_INTEGER,
          {static_cast<double>(m_nFirstFrame + m_nFrames - 1), 0});

  SetEventTimes(c3d, {});
  SetForcePlates(c3d, {}, {});

  SetList(c3d, "EMG", "GAIN", PARAM_FLOAT, ones);
  SetList(c3d, "EMG", "NORMALIZATION", PARAM_FLOAT, ones);
  SetList(c3d, "EMG", "TYPE", PARAM_INTEGER, zeros);
  SetList(c3d, "EMG", "SEL", PARAM_INTEGER, zeros);
  SetStrings(c3d, "EMG", "SIDE", std::vector<std::string>(static_cast<size_t>(m_nAnalogs), "L"), 1);
}

int EnsureGroup(CC3d& c3d, const std::string& group) {
  int g = c3d.FindGroup(group);
  if (g >= 0) return c3d.m_groups[static_cast<size_t>(g)].m_nId;
  int id = 0;
  for (const CGroup& existing : c3d.m_groups) id = std::min(id, static_cast<int>(existing.m_nId));
  CGroup added;
  added.m_strName = group;
  added.m_nId = static_cast<int8_t>(id - 1);
  c3d.m_groups.push_back(added);
  return added.m_nId;
}

bool DropParam(CC3d& c3d, const std::string& group, const std::string& name) {
  int i = c3d.FindParameter(group, name);
  if (i < 0) return false;
  c3d.m_params.erase(c3d.m_params.begin() + i);
  return true;
}

bool DropGroup(CC3d& c3d, const std::string& group) {
  int g = c3d.FindGroup(group);
  if (g < 0) return false;
  int id = GroupIdOf(c3d, group);
  std::erase_if(c3d.m_params,
                [id](const CParam& p) { return std::abs(static_cast<int>(p.m_nGroupId)) == id; });
  c3d.m_groups.erase(c3d.m_groups.begin() + g);
  return true;
}

CParam& SetParam(CC3d& c3d, const std::string& group, const std::string& name, ParamType type,
                 const std::vector<int>& dims, const std::vector<double>& values) {
  int id = -EnsureGroup(c3d, group);
  CParam p;
  p.m_strName = name;
  p.m_nGroupId = static_cast<int8_t>(id);
  p.m_nType = type;
  for (int d : dims) p.m_dims.push_back(static_cast<uint8_t>(d));
  p.ResizeToDimensions();
  for (size_t i = 0; i < values.size() && !p.IsChar() && i < p.m_cells.size(); ++i)
    p.SetNumericValue(static_cast<int>(i), values[i]);
  int existing = c3d.FindParameter(group, name);
  if (existing >= 0) {
    c3d.m_params[static_cast<size_t>(existing)] = p;
    return c3d.m_params[static_cast<size_t>(existing)];
  }
  c3d.m_params.push_back(p);
  return c3d.m_params.back();
}

CParam& SetScalar(CC3d& c3d, const std::string& group, const std::string& name, ParamType type,
                  double value) {
  return SetParam(c3d, group, name, type, {}, {value});
}

CParam& SetList(CC3d& c3d, const std::string& group, const std::string& name, ParamType type,
                const std::vector<double>& values) {
  return SetParam(c3d, group, name, type, {static_cast<int>(values.size())}, values);
}

CParam& SetStrings(CC3d& c3d, const std::string& group, const std::string& name,
                   const std::vector<std::string>& strings, int width) {
  if (width <= 0) {
    width = 1;
    for (const std::string& s : strings) width = std::max(width, static_cast<int>(s.size()));
  }
  CParam& p = SetParam(c3d, group, name, PARAM_CHAR, {width, static_cast<int>(strings.size())});
  p.m_strings = strings;
  return p;
}

std::vector<double> Values(const CC3d& c3d, const std::string& group, const std::string& name) {
  std::vector<double> out;
  const CParam* p = c3d.FindParam(group, name);
  if (!p || p->IsChar()) return out;
  for (int i = 0; i < p->ElementCount(); ++i) out.push_back(p->NumericValue(i));
  return out;
}

std::vector<std::string> Strings(const CC3d& c3d, const std::string& group,
                                 const std::string& name) {
  const CParam* p = c3d.FindParam(group, name);
  return p && p->IsChar() ? p->m_strings : std::vector<std::string>();
}

void SetEventTimes(CC3d& c3d, const std::vector<std::pair<double, double>>& times) {
  const int n = static_cast<int>(times.size());
  SetScalar(c3d, "EVENT", "USED", PARAM_INTEGER, n);
  std::vector<double> values;
  for (const auto& t : times) {
    values.push_back(t.first);
    values.push_back(t.second);
  }
  SetParam(c3d, "EVENT", "TIMES", PARAM_FLOAT, {2, n}, values);
  SetStrings(c3d, "EVENT", "LABELS", Numbered("E%d", n), 4);
}

void SetForcePlates(CC3d& c3d, const std::vector<int>& types,
                    const std::vector<std::vector<int>>& channels) {
  const int plates = static_cast<int>(types.size());
  SetScalar(c3d, "FORCE_PLATFORM", "USED", PARAM_INTEGER, plates);
  std::vector<double> typeValues(types.begin(), types.end());
  SetList(c3d, "FORCE_PLATFORM", "TYPE", PARAM_INTEGER, typeValues);
  const int rows = std::find(types.begin(), types.end(), 3) != types.end() ? 8 : 6;
  std::vector<double> cells(static_cast<size_t>(rows * plates), 0.0);
  for (int p = 0; p < plates && p < static_cast<int>(channels.size()); ++p)
    for (int r = 0; r < rows && r < static_cast<int>(channels[static_cast<size_t>(p)].size()); ++r)
      cells[static_cast<size_t>(p * rows + r)] = channels[static_cast<size_t>(p)][static_cast<size_t>(r)];
  SetParam(c3d, "FORCE_PLATFORM", "CHANNEL", PARAM_INTEGER, {rows, plates}, cells);
}

float PointValue(const CC3d& c3d, int point, int frame, int axis) {
  return c3d.m_points[static_cast<size_t>(point)].Get(static_cast<size_t>(frame) * 4 + axis);
}

void SetPointValue(CC3d& c3d, int point, int frame, int axis, double value) {
  c3d.m_points[static_cast<size_t>(point)].Set(static_cast<size_t>(frame) * 4 + axis, value);
}

void SetPointFrame(CC3d& c3d, int point, int frame, double x, double y, double z, double word) {
  SetPointValue(c3d, point, frame, 0, x);
  SetPointValue(c3d, point, frame, 1, y);
  SetPointValue(c3d, point, frame, 2, z);
  SetPointValue(c3d, point, frame, 3, word);
}

float AnalogValue(const CC3d& c3d, int channel, int frame, int sample) {
  size_t spf = c3d.m_header.m_nSamplesPerFrame;
  return c3d.m_analogs[static_cast<size_t>(channel)].Get(static_cast<size_t>(frame) * spf + sample);
}

void SetAnalogValue(CC3d& c3d, int channel, int frame, int sample, double value) {
  size_t spf = c3d.m_header.m_nSamplesPerFrame;
  c3d.m_analogs[static_cast<size_t>(channel)].Set(static_cast<size_t>(frame) * spf + sample, value);
}

}  // namespace testsupport
