// The 512-byte header block: counts, frame range, scale, rates and the
// header event area.
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <limits>
#include <vector>

#include "c3d/C3d.h"
#include "c3d/FileStream.h"

namespace {

constexpr int kBlockSize = 512;
constexpr int kEventKey = 12345;
constexpr int kMaxHeaderEvents = 18;
constexpr int kEventKeyOffset = 298;   // key, then count at 300
constexpr int kEventTimesOffset = 304;  // 18 floats
constexpr int kEventFlagsOffset = 376;  // 18 bytes
constexpr int kEventLabelsOffset = 396;  // 18 x 4 characters
constexpr int kEventAreaSize = 164;     // times, flags and labels (304 to 467)

uint16_t WordAt(const unsigned char* bytes, int processor) {
  return static_cast<uint16_t>(Int16FromFile(bytes, processor));
}

// Float to int without undefined behaviour for NaN and huge values.
int32_t ClampToInt(double value) {
  if (std::isnan(value)) return 0;
  if (value >= static_cast<double>(std::numeric_limits<int32_t>::max()))
    return std::numeric_limits<int32_t>::max();
  if (value <= static_cast<double>(std::numeric_limits<int32_t>::min()))
    return std::numeric_limits<int32_t>::min();
  return static_cast<int32_t>(value);
}

void PutWord(std::vector<unsigned char>& out, uint16_t value, int processor) {
  unsigned char b[2];
  Int16ToFile(static_cast<int16_t>(value), processor, b);
  out.push_back(b[0]);
  out.push_back(b[1]);
}

void PutFloat(std::vector<unsigned char>& out, float value, int processor) {
  unsigned char b[4];
  FloatToFile(value, processor, b);
  out.insert(out.end(), b, b + 4);
}

}  // namespace

bool CC3d::ReadHeader(CFileStream& file) {
  unsigned char h[30];
  file.Seek(0);
  if (file.Read(h, sizeof h) < static_cast<int64_t>(sizeof h)) {
    m_OpenErrors.push_back("Header : Could not read data from file");
    return false;
  }
  if (h[1] != 80) {
    m_OpenErrors.push_back("Header: Byte 2 does not contain 80 (decimal)");
    return false;
  }
  m_header.m_nParamBlock = h[0];
  if (h[0] == 0) {
    // The parameter section would lie before the start of the file.
    m_OpenErrors.push_back("Header: The parameter section cannot start at block 0");
    return false;
  }

  // The processor byte sits in the parameter-section header. A file too short
  // to hold it reads as zeros, and the frame rate decides.
  unsigned char section[4] = {0, 0, 0, 0};
  int64_t back = file.Position();
  file.Seek(static_cast<int64_t>(h[0] - 1) * kBlockSize);
  file.Read(section, sizeof section);
  file.Seek(back);
  int processor = static_cast<int>(section[3]) - kProcessorByteBase;
  if (!IsKnownProcessor(processor)) processor = GuessProcessorFromRate(h + 20);
  if (!IsKnownProcessor(processor)) {
    m_OpenErrors.push_back("Header: Could not determine file format");
    return false;
  }
  m_nProcessor = processor;

  m_header.m_nPoints = WordAt(h + 2, processor);
  m_header.m_nAnalogPerFrame = WordAt(h + 4, processor);
  m_header.m_nFirstFrame = WordAt(h + 6, processor);
  m_header.m_nLastFrame = WordAt(h + 8, processor);
  m_header.m_nMaxGap = WordAt(h + 10, processor);
  m_header.m_fHeaderScale = FloatFromFile(h + 12, processor);
  m_header.m_fScale = m_header.m_fHeaderScale;
  m_header.m_nDataStart = WordAt(h + 16, processor);
  m_header.m_nSamplesPerFrame = WordAt(h + 18, processor);
  m_header.m_fFrameRate = FloatFromFile(h + 20, processor);

  // A scale that is not a number counts as real storage.
  m_storage = m_header.m_fHeaderScale >= 0.0f ? StorageKind::Integer : StorageKind::Real;
  m_header.m_nAnalogChannels =
      m_header.m_nSamplesPerFrame == 0
          ? 0
          : static_cast<uint16_t>(m_header.m_nAnalogPerFrame / m_header.m_nSamplesPerFrame);

  if (m_header.m_nFirstFrame > m_header.m_nLastFrame) {
    m_OpenErrors.push_back("Header: First Frame is greater than last frame");
    return false;
  }

  // Saving gives these blocks back; keeping them here means a later save no
  // longer needs the file (it may have been moved, renamed or deleted).
  // A file shorter than its leading blocks keeps what it has, and saving
  // refuses it as before.
  const int64_t leading = static_cast<int64_t>(std::max<int>(m_header.m_nParamBlock - 1, 1)) * kBlockSize;
  m_leadingBlocks.assign(static_cast<size_t>(leading), 0);
  file.Seek(0);
  const int64_t got = file.Read(m_leadingBlocks.data(), leading);
  m_leadingBlocks.resize(static_cast<size_t>(std::max<int64_t>(got, 0)));
  file.Seek(back);
  return true;
}

void CC3d::ReadHeaderEvents(CFileStream& file) {
  m_events.clear();
  unsigned char area[kEventLabelsOffset + 4 * kMaxHeaderEvents - kEventKeyOffset] = {};
  file.Seek(kEventKeyOffset);
  if (file.Read(area, sizeof area) < 4) return;  // a short file has no event area
  int key = Int16FromFile(area, m_nProcessor);
  int count = static_cast<uint16_t>(Int16FromFile(area + 2, m_nProcessor));
  if (key != kEventKey || count > kMaxHeaderEvents) return;

  const unsigned char* times = area + (kEventTimesOffset - kEventKeyOffset);
  const unsigned char* flags = area + (kEventFlagsOffset - kEventKeyOffset);
  const unsigned char* labels = area + (kEventLabelsOffset - kEventKeyOffset);
  for (int i = 0; i < count; ++i) {
    CEvent event;
    const char* label = reinterpret_cast<const char*>(labels + 4 * i);
    event.m_strLabel.assign(label, strnlen(label, 4));
    event.m_fTime = FloatFromFile(times + 4 * i, m_nProcessor);
    event.m_nDisplay = flags[i];
    float frames = m_header.m_fFrameRate * event.m_fTime;
    event.m_nFrame = ClampToInt(std::ceil(static_cast<double>(frames) + 1.0));
    m_events.push_back(event);
  }
}

bool CC3d::WriteHeader(CFileStream& target) {
  // A parameter section in block 1 would share its block with the header;
  // such a file is written back with its parameters in block 2.
  if (m_header.m_nParamBlock < 2) m_header.m_nParamBlock = 2;

  uint32_t analogValues =
      static_cast<uint32_t>(m_header.m_nAnalogChannels) * m_header.m_nSamplesPerFrame;
  if (analogValues > 0xffff) {
    Prompt().ShowMessage(
        "The file cannot be saved: analog channels x samples per frame exceeds 65535 values per "
        "frame");
    return false;
  }

  int64_t leading = static_cast<int64_t>(m_header.m_nParamBlock - 1) * kBlockSize;
  std::vector<unsigned char> blocks;
  if (!m_leadingBlocks.empty()) {
    // Kept from reading. A parameter section moved from block 1 to block 2
    // needs only the header block, which is always kept.
    if (static_cast<int64_t>(m_leadingBlocks.size()) < leading) {
      Prompt().ShowMessage("Insufficient data present in the header of the source file");
      return false;
    }
    blocks.assign(m_leadingBlocks.begin(), m_leadingBlocks.begin() + leading);
  } else {
    // A model that was never read from a file takes them from the file named.
    CFileStream source;
    if (!source.Open(m_strFileName, CFileStream::READ)) {
      Prompt().ShowMessage("Could not open source data file");
      return false;
    }
    blocks.resize(static_cast<size_t>(leading));
    if (source.Length() < leading || source.Read(blocks.data(), leading) < leading) {
      Prompt().ShowMessage("Insufficient data present in the header of the source file");
      return false;
    }
    source.Close();
  }

  blocks[0] = m_header.m_nParamBlock;
  blocks[1] = 80;
  target.Seek(0);
  target.Write(blocks.data(), leading);

  m_header.m_fHeaderScale = m_header.m_fScale;
  std::vector<unsigned char> words;
  words.reserve(22);
  PutWord(words, m_header.m_nPoints, m_nProcessor);
  PutWord(words, static_cast<uint16_t>(analogValues), m_nProcessor);
  PutWord(words, m_header.m_nFirstFrame, m_nProcessor);
  PutWord(words, m_header.m_nLastFrame, m_nProcessor);
  PutWord(words, m_header.m_nMaxGap, m_nProcessor);
  PutFloat(words, m_header.m_fScale, m_nProcessor);
  PutWord(words, m_header.m_nDataStart, m_nProcessor);
  PutWord(words, m_header.m_nSamplesPerFrame, m_nProcessor);
  PutFloat(words, m_header.m_fFrameRate, m_nProcessor);
  target.Seek(2);
  target.Write(words.data(), static_cast<int64_t>(words.size()));

  WriteHeaderEvents(target);
  target.SetLength(leading);
  return !target.Failed();
}

void CC3d::WriteHeaderEvents(CFileStream& target) {
  int count = static_cast<int>(std::min<size_t>(m_events.size(), kMaxHeaderEvents));
  std::vector<unsigned char> out;
  PutWord(out, kEventKey, m_nProcessor);
  PutWord(out, static_cast<uint16_t>(count), m_nProcessor);
  target.Seek(kEventKeyOffset);
  target.Write(out.data(), static_cast<int64_t>(out.size()));

  if (count == 0) {
    target.Seek(kEventTimesOffset);
    target.WriteZeros(kEventAreaSize);
  }

  out.clear();
  for (int i = 0; i < kMaxHeaderEvents; ++i)
    PutFloat(out, i < count ? m_events[static_cast<size_t>(i)].m_fTime : 0.0f, m_nProcessor);
  target.Seek(kEventTimesOffset);
  target.Write(out.data(), static_cast<int64_t>(out.size()));

  unsigned char flags[kMaxHeaderEvents] = {};
  for (int i = 0; i < count; ++i) flags[i] = m_events[static_cast<size_t>(i)].m_nDisplay;
  target.Seek(kEventFlagsOffset);
  target.Write(flags, sizeof flags);

  // Label slots beyond the events keep what the source had.
  for (int i = 0; i < count; ++i) {
    char label[4] = {' ', ' ', ' ', ' '};
    const std::string& text = m_events[static_cast<size_t>(i)].m_strLabel;
    std::memcpy(label, text.data(), std::min<size_t>(text.size(), 4));
    target.Seek(kEventLabelsOffset + 4 * i);
    target.Write(label, 4);
  }
}

void CC3d::EventFramesFromTimes() {
  float period = 1.0f / m_header.m_fFrameRate;
  for (CEvent& event : m_events)
    event.m_nFrame = ClampToInt(std::trunc(static_cast<double>(event.m_fTime / period)) + 1.0);
}

void CC3d::EventTimesFromFrames() {
  float period = 1.0f / m_header.m_fFrameRate;
  for (CEvent& event : m_events)
    event.m_fTime = period * static_cast<float>(static_cast<double>(event.m_nFrame) - 1.0);
}

void CC3d::CopyEventList(int index) {
  if (index < 0) {
    m_workEvents = m_events;
    return;
  }
  m_workEvents.clear();
  if (index < static_cast<int>(m_events.size())) m_workEvents.push_back(m_events[static_cast<size_t>(index)]);
}
