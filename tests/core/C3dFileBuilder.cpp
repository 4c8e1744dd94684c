#include "C3dFileBuilder.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <fstream>

#include "c3d/Encoding.h"

namespace {

constexpr size_t kBlock = 512;

void PutWord(std::vector<unsigned char>& out, size_t at, int value, int processor) {
  Int16ToFile(static_cast<int16_t>(static_cast<uint16_t>(value & 0xffff)), processor, &out[at]);
}

void PutFloat(std::vector<unsigned char>& out, size_t at, float value, int processor) {
  FloatToFile(value, processor, &out[at]);
}

void Append(std::vector<unsigned char>& out, const void* data, size_t count) {
  const auto* p = static_cast<const unsigned char*>(data);
  out.insert(out.end(), p, p + count);
}

void PadToBlock(std::vector<unsigned char>& out, unsigned char fill = 0) {
  size_t rest = out.size() % kBlock;
  if (rest) out.resize(out.size() + kBlock - rest, fill);
}

int16_t Truncate16(double value) {
  return static_cast<int16_t>(static_cast<uint16_t>(static_cast<int64_t>(std::trunc(value)) & 0xffff));
}

}  // namespace

double CC3dFileBuilder::PointValue(int point, int frame, int value) const {
  if (point < static_cast<int>(m_pointValues.size())) {
    size_t at = static_cast<size_t>(frame) * 4 + static_cast<size_t>(value);
    const auto& values = m_pointValues[static_cast<size_t>(point)];
    return at < values.size() ? values[at] : 0.0;
  }
  if (value == 3) return 0x0102 + point;  // cameras 2, residual 2 + point
  return (point * 1000 + frame * 10 + value) % 30000 - 500;
}

double CC3dFileBuilder::AnalogValue(int channel, int frame, int sample) const {
  if (channel < static_cast<int>(m_analogValues.size())) {
    size_t at = static_cast<size_t>(frame) * static_cast<size_t>(m_nSamplesPerFrame) +
                static_cast<size_t>(sample);
    const auto& values = m_analogValues[static_cast<size_t>(channel)];
    return at < values.size() ? values[at] : 0.0;
  }
  return (channel * 700 + frame * 7 + sample) % 20000 - 3000;
}

void CC3dFileBuilder::AddGroup(const std::string& name, int id, const std::string& description) {
  m_groups.push_back({name, id, description, false});
}

void CC3dFileBuilder::AddInt(int group, const std::string& name, const std::vector<double>& values,
                             std::vector<int> dims) {
  if (dims.empty() && values.size() != 1) dims = {static_cast<int>(values.size())};
  Param p;
  p.m_nGroupId = group;
  p.m_strName = name;
  p.m_nType = 2;
  p.m_dims = dims;
  p.m_values = values;
  m_params.push_back(p);
}

void CC3dFileBuilder::AddFloat(int group, const std::string& name, const std::vector<double>& values,
                               std::vector<int> dims) {
  AddInt(group, name, values, dims);
  m_params.back().m_nType = 4;
}

void CC3dFileBuilder::AddByte(int group, const std::string& name, const std::vector<double>& values,
                              std::vector<int> dims) {
  AddInt(group, name, values, dims);
  m_params.back().m_nType = 1;
}

void CC3dFileBuilder::AddStrings(int group, const std::string& name,
                                 const std::vector<std::string>& strings, int width) {
  Param p;
  p.m_nGroupId = group;
  p.m_strName = name;
  p.m_nType = -1;
  p.m_dims = {width, static_cast<int>(strings.size())};
  for (const std::string& s : strings) {
    std::string padded = s;
    padded.resize(static_cast<size_t>(width), ' ');
    p.m_strData += padded;
  }
  m_params.push_back(p);
}

void CC3dFileBuilder::AddStandardParameters() {
  AddGroup("POINT", -1, "3-D point parameters");
  AddGroup("ANALOG", -2, "Analog data parameters");
  AddInt(1, "USED", {static_cast<double>(m_nPoints)});
  AddFloat(1, "SCALE", {m_bReal ? -std::fabs(m_fScale) : std::fabs(m_fScale)});
  AddFloat(1, "RATE", {m_fRate});
  AddInt(1, "DATA_START", {0});
  AddInt(1, "FRAMES", {static_cast<double>(m_nLastFrame - m_nFirstFrame + 1)});
  std::vector<std::string> labels;
  for (int j = 0; j < m_nPoints; ++j) labels.push_back("P" + std::to_string(j + 1));
  if (!labels.empty()) AddStrings(1, "LABELS", labels, 4);
  AddInt(2, "USED", {static_cast<double>(m_nChannels)});
  std::vector<std::string> analogLabels;
  for (int i = 0; i < m_nChannels; ++i) analogLabels.push_back("A" + std::to_string(i + 1));
  if (!analogLabels.empty()) AddStrings(2, "LABELS", analogLabels, 4);
  AddFloat(2, "RATE", {m_fRate * m_nSamplesPerFrame});
}

std::vector<unsigned char> CC3dFileBuilder::Build() const {
  const int proc = m_nProcessor;
  // Parameter section (without knowing the data start yet).
  std::vector<unsigned char> section = {1, 80, 0,
                                        static_cast<unsigned char>(m_nProcessorByte >= 0
                                                                       ? m_nProcessorByte
                                                                       : 83 + proc)};
  std::vector<size_t> dataStartAt;
  for (const Group& g : m_groups) {
    int n = static_cast<int>(g.m_strName.size());
    section.push_back(static_cast<unsigned char>(static_cast<int8_t>(g.m_bLocked ? -n : n)));
    section.push_back(static_cast<unsigned char>(static_cast<int8_t>(g.m_nId)));
    Append(section, g.m_strName.data(), g.m_strName.size());
    size_t at = section.size();
    section.resize(at + 2);
    PutWord(section, at, static_cast<int>(g.m_strDescription.size()) + 3, proc);
    section.push_back(static_cast<unsigned char>(g.m_strDescription.size()));
    Append(section, g.m_strDescription.data(), g.m_strDescription.size());
  }
  for (const Param& p : m_params) {
    int n = static_cast<int>(p.m_strName.size());
    section.push_back(static_cast<unsigned char>(static_cast<int8_t>(p.m_bLocked ? -n : n)));
    section.push_back(static_cast<unsigned char>(static_cast<int8_t>(p.m_nGroupId)));
    Append(section, p.m_strName.data(), p.m_strName.size());
    std::vector<unsigned char> body;
    body.push_back(static_cast<unsigned char>(static_cast<int8_t>(p.m_nType)));
    body.push_back(static_cast<unsigned char>(p.m_dims.size()));
    for (int d : p.m_dims) body.push_back(static_cast<unsigned char>(d));
    size_t valuesAt = body.size();
    if (p.m_nType == -1 || p.m_bRaw) {
      Append(body, p.m_strData.data(), p.m_strData.size());
    } else {
      for (double v : p.m_values) {
        size_t at = body.size();
        body.resize(at + static_cast<size_t>(std::abs(p.m_nType)));
        if (p.m_nType == 1)
          body[at] = static_cast<unsigned char>(static_cast<int64_t>(v) & 0xff);
        else if (p.m_nType == 2)
          PutWord(body, at, static_cast<int>(v), proc);
        else
          PutFloat(body, at, static_cast<float>(v), proc);
      }
    }
    body.push_back(static_cast<unsigned char>(p.m_strDescription.size()));
    Append(body, p.m_strDescription.data(), p.m_strDescription.size());
    size_t at = section.size();
    section.resize(at + 2);
    PutWord(section, at, static_cast<int>(body.size()) + 2, proc);
    if (p.m_nGroupId == 1 && p.m_strName == "DATA_START" && p.m_nType == 2 && !p.m_bRaw)
      dataStartAt.push_back(section.size() + valuesAt);
    Append(section, body.data(), body.size());
  }
  section.push_back(0);
  m_nBuiltSectionBytes = section.size();
  size_t needed = (section.size() + kBlock - 1) / kBlock;
  int declared = m_nDeclaredBlocks >= 0 ? m_nDeclaredBlocks : static_cast<int>(needed);
  section[2] = static_cast<unsigned char>(declared);
  size_t physical = std::max(needed, static_cast<size_t>(declared));
  section.resize(physical * kBlock, 0);

  const bool withSection = m_nParamBlock >= 2;
  size_t sectionBlocks = withSection ? physical : 0;
  int dataStart = m_nDataStart >= 0
                      ? m_nDataStart
                      : static_cast<int>(std::max(m_nParamBlock, 1) + sectionBlocks +
                                         static_cast<size_t>(m_nGapBlocks));
  if (m_nParamBlock < 2 && m_nDataStart < 0) dataStart = 2 + m_nGapBlocks;
  m_nBuiltDataStart = dataStart;
  m_nBuiltBlocks = declared;
  for (size_t at : dataStartAt) PutWord(section, at, dataStart, proc);

  // Header block.
  std::vector<unsigned char> out(kBlock, 0);
  out[0] = static_cast<unsigned char>(m_nParamBlock);
  out[1] = 80;
  int analogPerFrame = m_nAnalogPerFrame >= 0 ? m_nAnalogPerFrame : m_nChannels * m_nSamplesPerFrame;
  float scale = m_bReal ? -std::fabs(m_fScale) : std::fabs(m_fScale);
  PutWord(out, 2, m_nPoints, proc);
  PutWord(out, 4, analogPerFrame, proc);
  PutWord(out, 6, m_nFirstFrame, proc);
  PutWord(out, 8, m_nLastFrame, proc);
  PutWord(out, 10, m_nMaxGap, proc);
  PutFloat(out, 12, scale, proc);
  PutWord(out, 16, dataStart, proc);
  PutWord(out, 18, m_nSamplesPerFrame, proc);
  PutFloat(out, 20, m_fRate, proc);
  if (m_bEventKey) {
    PutWord(out, 298, 12345, proc);
    PutWord(out, 300, m_nEventCount >= 0 ? m_nEventCount : static_cast<int>(m_events.size()), proc);
  }
  for (size_t i = 0; i < m_events.size() && i < 18; ++i) {
    PutFloat(out, 304 + 4 * i, m_events[i].m_fTime, proc);
    out[376 + i] = m_events[i].m_nDisplay;
    std::string label = m_events[i].m_strLabel;
    label.resize(4, ' ');  // as the program writes labels
    std::memcpy(&out[396 + 4 * i], label.data(), 4);
  }

  // Blocks up to the parameter section (beyond the header) are left as zeros.
  if (withSection) {
    out.resize(static_cast<size_t>(m_nParamBlock - 1) * kBlock, 0);
    Append(out, section.data(), section.size());
  }
  out.resize(out.size() + static_cast<size_t>(m_nGapBlocks) * kBlock, m_nGapFill);

  // Frames, placed at the data start (over whatever lies there).
  std::vector<unsigned char> data;
  int frames = m_nLastFrame - m_nFirstFrame + 1;
  if (m_nStoredFrames >= 0) frames = std::min(frames, m_nStoredFrames);
  int valueSize = m_bReal ? 4 : 2;
  auto putValue = [&](double v) {
    size_t at = data.size();
    data.resize(at + static_cast<size_t>(valueSize));
    if (m_bReal)
      PutFloat(data, at, static_cast<float>(v), proc);
    else
      PutWord(data, at, Truncate16(v), proc);
  };
  int channelsInFrame = m_nSamplesPerFrame ? analogPerFrame / m_nSamplesPerFrame : 0;
  for (int f = 0; f < frames; ++f) {
    for (int j = 0; j < m_nPoints; ++j)
      for (int v = 0; v < 4; ++v) putValue(PointValue(j, f, v));
    for (int k = 0; k < analogPerFrame; ++k) {
      int sample = channelsInFrame ? k / channelsInFrame : 0;
      int channel = channelsInFrame ? k % channelsInFrame : 0;
      putValue(sample < m_nSamplesPerFrame ? AnalogValue(channel, f, sample) : 9999.0);
    }
  }
  size_t dataOffset = static_cast<size_t>(std::max(dataStart - 1, 0)) * kBlock;
  if (out.size() < dataOffset + data.size()) out.resize(dataOffset + data.size(), 0);
  if (!data.empty()) std::memcpy(&out[dataOffset], data.data(), data.size());
  if (!m_trailing.empty()) {
    out.resize(dataOffset + data.size());
    PadToBlock(out);
    Append(out, m_trailing.data(), m_trailing.size());
  }
  return out;
}

void CC3dFileBuilder::Write(const std::string& path) const {
  std::vector<unsigned char> bytes = Build();
  std::ofstream file(path, std::ios::binary | std::ios::trunc);
  file.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}
