#pragma once
// Builds small C3D files byte by byte for tests: header (with events),
// parameter section, gap blocks, frames and trailing bytes, in any of the
// three processor formats and either storage kind. Every field has a sound
// default; tests change what they need, call Build(), and may patch the
// bytes before writing them.

#include <cstdint>
#include <string>
#include <vector>

class CC3dFileBuilder {
 public:
  struct Group {
    std::string m_strName;
    int m_nId = -1;  // negative
    std::string m_strDescription;
    bool m_bLocked = false;
  };
  struct Param {
    int m_nGroupId = 1;  // positive
    std::string m_strName;
    int m_nType = 2;  // -1, 1, 2, 4
    std::vector<int> m_dims;
    std::vector<double> m_values;  // numeric types
    std::string m_strData;         // character type: the data bytes as they are
    std::string m_strDescription;
    bool m_bLocked = false;
    bool m_bRaw = false;  // m_strData holds the data bytes of any type
  };
  struct Event {
    std::string m_strLabel;
    float m_fTime = 0;
    uint8_t m_nDisplay = 1;
  };

  // Header.
  int m_nProcessor = 1;  // PC 1, DEC 2, SGI 3
  int m_nProcessorByte = -1;  // byte 4 of the section; -1 = 83 + processor
  bool m_bReal = false;
  float m_fScale = 0.1f;  // sign set from m_bReal by Build()
  float m_fRate = 100.0f;
  int m_nParamBlock = 2;
  int m_nDeclaredBlocks = -1;  // -1 = the blocks the records need
  int m_nGapBlocks = 0;
  unsigned char m_nGapFill = 0xAB;
  int m_nDataStart = -1;  // -1 = right after parameters and gap
  int m_nPoints = 0;
  int m_nChannels = 0;
  int m_nSamplesPerFrame = 1;
  int m_nAnalogPerFrame = -1;  // word 3; -1 = channels x samples per frame
  int m_nFirstFrame = 1;
  int m_nLastFrame = 1;
  int m_nMaxGap = 0;
  bool m_bEventKey = true;
  std::vector<Event> m_events;
  int m_nEventCount = -1;  // -1 = m_events.size()

  std::vector<Group> m_groups;
  std::vector<Param> m_params;

  // Samples in memory units: point j, frame f, value v (X Y Z residual) and
  // analog channel i, frame f, sample k. Defaults give distinct values.
  double PointValue(int point, int frame, int value) const;
  double AnalogValue(int channel, int frame, int sample) const;
  std::vector<std::vector<double>> m_pointValues;   // [point][frame * 4 + v], optional
  std::vector<std::vector<double>> m_analogValues;  // [channel][frame * spf + k], optional
  int m_nStoredFrames = -1;  // frames actually written (-1 = all)
  std::vector<unsigned char> m_trailing;  // written after the data, block aligned

  // Convenience for parameters.
  void AddGroup(const std::string& name, int id, const std::string& description = "");
  void AddInt(int group, const std::string& name, const std::vector<double>& values,
              std::vector<int> dims = {});
  void AddFloat(int group, const std::string& name, const std::vector<double>& values,
                std::vector<int> dims = {});
  void AddByte(int group, const std::string& name, const std::vector<double>& values,
               std::vector<int> dims = {});
  // Strings padded to `width`; dims = width x count.
  void AddStrings(int group, const std::string& name, const std::vector<std::string>& strings,
                  int width);
  // A typical POINT/ANALOG set: groups POINT (-1) and ANALOG (-2) with USED,
  // SCALE, RATE, DATA_START, FRAMES and LABELS.
  void AddStandardParameters();

  std::vector<unsigned char> Build() const;
  void Write(const std::string& path) const;

  // Where things ended up in the last Build().
  mutable int m_nBuiltDataStart = 0;
  mutable int m_nBuiltBlocks = 0;
  mutable size_t m_nBuiltSectionBytes = 0;  // section header, records and zero byte
};
