// Opening a C3D file: header, parameters, every frame of samples, and the
// bytes that follow the data.
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <new>
#include <string>
#include <vector>

#include "c3d/C3d.h"
#include "c3d/FileStream.h"
#include "c3d/SampleCodec.h"

namespace {

constexpr int kBlockSize = 512;
// The data section is read this many bytes at a time (whole frames).
constexpr int64_t kChunkBytes = 4 << 20;
// Frames are moved into the stores this many bytes at a time.
constexpr int64_t kTileBytes = 128 << 10;

// One TRIAL field: element 1 x 65536 + element 0, both unsigned 16-bit.
// Returns false when the parameter cannot be used for the check.
bool TrialField(const CParam* param, double& value) {
  if (!param || param->IsChar() || param->ElementCount() < 2) return false;
  double low = std::trunc(param->NumericValue(0, ValueSign::Unsigned));
  double high = std::trunc(param->NumericValue(1, ValueSign::Unsigned));
  value = high * 65536.0 + low;
  return true;
}

// Moves the samples of `frames` frames from a file-order buffer (already in
// memory form) into the point and analog stores, starting at frame `first`.
// The frames are taken in tiles small enough to stay in the cache, and each
// store is filled a run at a time, so that the writes do not hop between
// hundreds of stores for every frame.
template <typename T>
void ScatterFrames(const unsigned char* buffer, int64_t frameSize, int frames, int first,
                   std::vector<CVideo>& points, std::vector<CAnalog>& analogs, int samplesPerFrame,
                   T* (*data)(CSampleStore&)) {
  const size_t pointCount = points.size();
  const size_t channels = analogs.size();
  const size_t spf = static_cast<size_t>(samplesPerFrame);
  const int tile = static_cast<int>(std::max<int64_t>(1, kTileBytes / frameSize));
  for (int t = 0; t < frames; t += tile) {
    const int count = std::min(tile, frames - t);
    const unsigned char* tileStart = buffer + t * frameSize;
    const size_t frame0 = static_cast<size_t>(first + t);
    for (size_t j = 0; j < pointCount; ++j) {
      T* out = data(points[j]) + frame0 * 4;
      const unsigned char* in = tileStart + j * 4 * sizeof(T);
      for (int f = 0; f < count; ++f) std::memcpy(out + f * 4, in + f * frameSize, 4 * sizeof(T));
    }
    const unsigned char* analogStart = tileStart + pointCount * 4 * sizeof(T);
    for (size_t i = 0; i < channels; ++i) {
      T* out = data(analogs[i]) + frame0 * spf;
      const unsigned char* in = analogStart + i * sizeof(T);
      for (int f = 0; f < count; ++f) {
        const unsigned char* frame = in + f * frameSize;
        for (size_t k = 0; k < spf; ++k)
          std::memcpy(out + static_cast<size_t>(f) * spf + k, frame + k * channels * sizeof(T), sizeof(T));
      }
    }
  }
}

int16_t* IntData(CSampleStore& store) { return store.Ints(); }
float* RealData(CSampleStore& store) { return store.Reals(); }

}  // namespace

const std::vector<std::string>& CC3d::HeaderInformationLabels() {
  static const std::vector<std::string> labels = {
      "Parameter Record", "3D Points",     "Analog Channels",
      "First Frame",      "Last Frame",    "Maximum Interpolation Gap",
      "Scaling Factor",   "Data Start",    "Sampling Rate",
      "File Format",      "Data Type",     "A to V Ratio",
      "Nyquist Freq (Hz)"};
  return labels;
}

int CC3d::FrameCount() const {
  int count = static_cast<int>(m_header.m_nLastFrame) - static_cast<int>(m_header.m_nFirstFrame) + 1;
  return std::max(count, 0);
}

int CC3d::Open() {
  std::string path = m_strFileName;
  Close();
  m_strFileName = path;

  CFileStream file;
  if (!file.Open(m_strFileName, CFileStream::READ)) return 0;

  bool ok = false;
  try {
    ok = ReadHeader(file);
    if (ok) {
      ReadHeaderEvents(file);
      ReadParameters(file);
      if (!CheckTrialFrames()) {
        Prompt().ShowMessage(
            "This file has extra frames defined in the TRIAL group.  \nPlease contact Halvenor, Inc.");
        ok = false;
      }
    }
    if (ok) {
      ReconcileAnalogCount(file.Length());
      ok = IsReal() ? ReadRealData(file) : ReadIntegerData(file);
    }
  } catch (const std::bad_alloc&) {
    m_OpenErrors.push_back("Not Enough memory to open file");
    ok = false;
  }
  file.Close();

  if (ok) {
    m_bOpen = true;
    m_headerLabels = HeaderInformationLabels();
    return 1;
  }
  std::string text;
  for (const std::string& error : m_OpenErrors) text += error;
  if (text.empty()) text = "Error opening C3D file";
  Prompt().ShowFailure(text);
  Close();
  return 0;
}

void CC3d::Close() {
  m_bOpen = false;
  m_OpenErrors.clear();
  m_headerLabels.clear();
  m_groups.clear();
  m_params.clear();
  m_events.clear();
  m_workEvents.clear();
  FreeChannels();
  std::vector<unsigned char>().swap(m_trailing);
  std::vector<unsigned char>().swap(m_leadingBlocks);
  m_nGapBlocks = 0;
  m_gapBuffer.assign(kBlockSize, 0);
  m_nParamBlocks = 0;
  m_header = HeaderRecord();
  m_nProcessor = PROCESSOR_PC;
  m_storage = StorageKind::Integer;
}

bool CC3d::AllocateChannels() {
  FreeChannels();
  bool real = IsReal();
  size_t frames = static_cast<size_t>(FrameCount());
  size_t points = m_header.m_nPoints;
  size_t channels = m_header.m_nAnalogChannels;
  size_t samples = m_header.m_nSamplesPerFrame;
  uint64_t values = static_cast<uint64_t>(frames) * (points * 4 + channels * samples);
  if (values * (real ? 4 : 2) > StoreLimit()) {
    m_OpenErrors.push_back("Not Enough memory to open file");
    return false;
  }
  try {
    // All stores of the file from one region, ready in one step.
    const size_t valueSize = real ? 4 : 2;
    CSampleRegion region(channels * CSampleRegion::RegionBytes(frames * samples * valueSize) +
                         points * CSampleRegion::RegionBytes(frames * 4 * valueSize));
    m_analogs.resize(channels);
    for (CAnalog& analog : m_analogs) analog.Allocate(frames * samples, real);
    m_points.resize(points);
    for (CVideo& point : m_points) point.Allocate(frames * 4, real);
  } catch (const std::bad_alloc&) {
    FreeChannels();
    m_OpenErrors.push_back("Not Enough memory to open file");
    return false;
  }
  m_bChannelsAllocated = true;
  return true;
}

void CC3d::FreeChannels() {
  std::vector<CVideo>().swap(m_points);
  std::vector<CAnalog>().swap(m_analogs);
  m_bChannelsAllocated = false;
}

bool CC3d::CheckTrialFrames() const {
  double start = 0, end = 0;
  if (!TrialField(FindParam("TRIAL", "ACTUAL_START_FIELD"), start)) return true;
  if (!TrialField(FindParam("TRIAL", "ACTUAL_END_FIELD"), end)) return true;
  return start <= 65535.0 && end <= 65535.0;
}

void CC3d::ReconcileAnalogCount(int64_t fileLength) {
  // Some writers put the channel count in header word 3 instead of channels x
  // samples per frame. Reading such a file by word 3 splits every frame in the
  // wrong place, and saving it would drop the values word 3 leaves out. Only
  // when the data section then fits the file exactly (to the last block) by
  // ANALOG:USED, and does not by word 3, is ANALOG:USED taken instead.
  const CParam* used = FindParam("ANALOG", "USED");
  int samples = m_header.m_nSamplesPerFrame;
  if (!used || used->IsChar() || used->ElementCount() < 1 || samples == 0 || fileLength < 0) return;
  int64_t channels = static_cast<int64_t>(used->NumericValue(0));
  int64_t analogValues = channels * samples;
  if (channels <= 0 || analogValues > 0xffff || analogValues == m_header.m_nAnalogPerFrame) return;
  if (m_header.m_nDataStart <= m_header.m_nParamBlock) return;
  const int64_t valueSize = IsReal() ? 4 : 2;
  const int64_t dataOffset = (static_cast<int64_t>(m_header.m_nDataStart) - 1) * kBlockSize;
  auto fillsFile = [&](int64_t valuesPerFrame) {
    int64_t end = dataOffset + FrameCount() * valuesPerFrame * valueSize;
    return end <= fileLength && fileLength - end < kBlockSize;
  };
  const int64_t points = static_cast<int64_t>(m_header.m_nPoints) * 4;
  if (fillsFile(points + m_header.m_nAnalogPerFrame) || !fillsFile(points + analogValues)) return;
  m_header.m_nAnalogPerFrame = static_cast<uint16_t>(analogValues);
  m_header.m_nAnalogChannels = static_cast<uint16_t>(channels);
}

bool CC3d::ReadIntegerData(CFileStream& file) { return ReadData(file, false); }

bool CC3d::ReadRealData(CFileStream& file) { return ReadData(file, true); }

bool CC3d::ReadData(CFileStream& file, bool real) {
  const int frames = FrameCount();
  const int64_t valueSize = real ? 4 : 2;
  const int64_t frameSize =
      (static_cast<int64_t>(m_header.m_nPoints) * 4 + m_header.m_nAnalogPerFrame) * valueSize;
  // Data that would start in the header or the parameter section (block 0
  // included) cannot be read; without any values there is nothing to read.
  const bool dataPlaced = m_header.m_nDataStart > m_header.m_nParamBlock;
  if (!dataPlaced && frameSize > 0) {
    char text[160];
    std::snprintf(text, sizeof text,
                  "Header: The data start block (%d) does not follow the parameter section (block "
                  "%d)",
                  static_cast<int>(m_header.m_nDataStart), static_cast<int>(m_header.m_nParamBlock));
    m_OpenErrors.push_back(text);
    return false;
  }
  if (!AllocateChannels()) return false;

  const int64_t fileLength = file.Length();
  const int64_t dataOffset = (static_cast<int64_t>(m_header.m_nDataStart) - 1) * kBlockSize;
  if (frameSize > 0) {
    const int chunkFrames = static_cast<int>(std::max<int64_t>(1, kChunkBytes / frameSize));
    std::vector<unsigned char> buffer(static_cast<size_t>(std::min<int64_t>(chunkFrames, frames) * frameSize));
    const size_t valuesPerFrame = static_cast<size_t>(frameSize / valueSize);
    for (int first = 0; first < frames; first += chunkFrames) {
      int count = std::min(chunkFrames, frames - first);
      int64_t want = count * frameSize;
      file.Seek(dataOffset + first * frameSize);
      int64_t got = file.Read(buffer.data(), want);
      if (got < want) {
        // Missing samples are zero, never bytes of an earlier frame.
        std::memset(buffer.data() + got, 0, static_cast<size_t>(want - got));
        char text[96];
        std::snprintf(text, sizeof text, "Found %d bytes of data but expected %d bytes",
                      static_cast<int>(got % frameSize), static_cast<int>(frameSize));
        m_OpenErrors.push_back(text);
      }
      SamplesFromFile(buffer.data(), valuesPerFrame * static_cast<size_t>(count), real, m_nProcessor);
      if (real)
        ScatterFrames<float>(buffer.data(), frameSize, count, first, m_points, m_analogs,
                             m_header.m_nSamplesPerFrame, RealData);
      else
        ScatterFrames<int16_t>(buffer.data(), frameSize, count, first, m_points, m_analogs,
                               m_header.m_nSamplesPerFrame, IntData);
      if (got < want) break;  // the rest of the stores stay zero
    }
  }

  // Whatever follows the data, from the next block boundary on, is kept.
  if (dataPlaced) {
    int64_t dataEnd = dataOffset + frames * frameSize;
    int64_t trailingStart = (dataEnd + kBlockSize - 1) / kBlockSize * kBlockSize;
    if (trailingStart < fileLength) {
      m_trailing.assign(static_cast<size_t>(fileLength - trailingStart), 0);
      file.Seek(trailingStart);
      int64_t got = file.Read(m_trailing.data(), static_cast<int64_t>(m_trailing.size()));
      m_trailing.resize(static_cast<size_t>(std::max<int64_t>(got, 0)));
    }
  }
  return true;
}
