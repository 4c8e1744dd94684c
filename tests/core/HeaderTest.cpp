// The header block: processor formats, guessing the format, checks, and the
// header event area in both directions.
#include <gtest/gtest.h>

#include <cstring>

#include "C3dFileBuilder.h"
#include "C3dTestUtil.h"
#include "TestSupport.h"
#include "c3d/Encoding.h"

using c3dtest::OpenC3d;
using c3dtest::SaveC3d;
using testsupport::CTempDir;
using testsupport::ReadAll;
using testsupport::WriteAll;

namespace {

CC3dFileBuilder SmallFile(int processor, bool real) {
  CC3dFileBuilder b;
  b.m_nProcessor = processor;
  b.m_bReal = real;
  b.m_nPoints = 2;
  b.m_nChannels = 3;
  b.m_nSamplesPerFrame = 2;
  b.m_nFirstFrame = 5;
  b.m_nLastFrame = 9;
  b.m_nMaxGap = 10;
  b.m_fScale = 0.25f;
  b.m_fRate = 60.0f;
  b.AddStandardParameters();
  return b;
}

}  // namespace

TEST(Header, ReadsEveryProcessorFormat) {
  CTempDir dir;
  for (int processor : {PROCESSOR_PC, PROCESSOR_DEC, PROCESSOR_SGI}) {
    SCOPED_TRACE(processor);
    CC3dFileBuilder b = SmallFile(processor, processor == PROCESSOR_DEC);
    b.Write(dir.File("h.c3d"));
    auto opened = OpenC3d(dir.File("h.c3d"));
    ASSERT_TRUE(opened->m_c3d.IsOpen());
    const HeaderRecord& h = opened->m_c3d.m_header;
    EXPECT_EQ(opened->m_c3d.m_nProcessor, processor);
    EXPECT_EQ(h.m_nParamBlock, 2);
    EXPECT_EQ(h.m_nPoints, 2);
    EXPECT_EQ(h.m_nAnalogPerFrame, 6);
    EXPECT_EQ(h.m_nAnalogChannels, 3);
    EXPECT_EQ(h.m_nFirstFrame, 5);
    EXPECT_EQ(h.m_nLastFrame, 9);
    EXPECT_EQ(h.m_nMaxGap, 10);
    EXPECT_EQ(h.m_nSamplesPerFrame, 2);
    EXPECT_EQ(h.m_fFrameRate, 60.0f);
    EXPECT_EQ(h.m_fHeaderScale, processor == PROCESSOR_DEC ? -0.25f : 0.25f);
    EXPECT_EQ(h.m_nDataStart, b.m_nBuiltDataStart);
    EXPECT_EQ(opened->m_c3d.IsReal(), processor == PROCESSOR_DEC);
    EXPECT_EQ(opened->m_c3d.FrameCount(), 5);
    ASSERT_EQ(opened->m_c3d.m_headerLabels.size(), 13u);
    EXPECT_EQ(opened->m_c3d.m_headerLabels[0], "Parameter Record");
    EXPECT_EQ(opened->m_c3d.m_headerLabels[12], "Nyquist Freq (Hz)");
  }
}

TEST(Header, GuessesTheProcessorFromTheFrameRate) {
  CTempDir dir;
  struct Case {
    int processor;
    float rate;
    int expected;  // PROCESSOR_NONE: the open fails
  };
  const Case cases[] = {
      {PROCESSOR_PC, 60.0f, PROCESSOR_PC},     {PROCESSOR_DEC, 60.0f, PROCESSOR_DEC},
      {PROCESSOR_SGI, 60.0f, PROCESSOR_SGI},   {PROCESSOR_PC, 1.0f, PROCESSOR_PC},
      {PROCESSOR_PC, 1000.0f, PROCESSOR_NONE}, {PROCESSOR_PC, 0.5f, PROCESSOR_NONE},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.processor << " " << c.rate);
    CC3dFileBuilder b = SmallFile(c.processor, false);
    b.m_fRate = c.rate;
    b.m_nProcessorByte = 0;
    b.Write(dir.File("guess.c3d"));
    auto opened = OpenC3d(dir.File("guess.c3d"));
    if (c.expected == PROCESSOR_NONE) {
      EXPECT_FALSE(opened->m_c3d.IsOpen());
      ASSERT_EQ(opened->m_prompt.m_messages.size(), 1u);
      EXPECT_EQ(opened->m_prompt.m_messages[0], "Header: Could not determine file format");
      continue;
    }
    ASSERT_TRUE(opened->m_c3d.IsOpen());
    EXPECT_EQ(opened->m_c3d.m_nProcessor, c.expected);
    // The guessed type is what the file is written back with.
    ASSERT_TRUE(SaveC3d(opened->m_c3d, dir.File("saved.c3d")));
    EXPECT_EQ(ReadAll(dir.File("saved.c3d"))[512 + 3], 83 + c.expected);
  }
}

TEST(Header, BrokenHeadersFailWithTheirMessage) {
  CTempDir dir;
  std::vector<unsigned char> good = SmallFile(PROCESSOR_PC, false).Build();
  struct Case {
    const char* what;
    std::vector<unsigned char> bytes;
    std::string message;
  };
  std::vector<Case> cases;
  cases.push_back({"short", std::vector<unsigned char>(good.begin(), good.begin() + 29),
                   "Header : Could not read data from file"});
  std::vector<unsigned char> bad = good;
  bad[1] = 81;
  cases.push_back({"byte 2", bad, "Header: Byte 2 does not contain 80 (decimal)"});
  CC3dFileBuilder reversed = SmallFile(PROCESSOR_PC, false);
  reversed.m_nFirstFrame = 10;
  reversed.m_nLastFrame = 9;
  cases.push_back({"frames", reversed.Build(), "Header: First Frame is greater than last frame"});
  bad = good;
  bad[0] = 0;
  cases.push_back({"block 0", bad, "Header: The parameter section cannot start at block 0"});
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    WriteAll(dir.File("bad.c3d"), c.bytes);
    auto opened = OpenC3d(dir.File("bad.c3d"));
    EXPECT_FALSE(opened->m_c3d.IsOpen());
    ASSERT_EQ(opened->m_prompt.m_messages.size(), 1u);
    EXPECT_EQ(opened->m_prompt.m_messages[0], c.message);
    EXPECT_TRUE(opened->m_c3d.m_OpenErrors.empty());  // discarded with everything else
  }
  // A file that cannot be opened fails without a message.
  auto missing = OpenC3d(dir.File("missing.c3d"));
  EXPECT_FALSE(missing->m_c3d.IsOpen());
  EXPECT_TRUE(missing->m_prompt.m_messages.empty());
}

TEST(Header, SamplesPerFrameZeroMeansNoAnalogChannels) {
  CTempDir dir;
  CC3dFileBuilder b = SmallFile(PROCESSOR_PC, false);
  b.m_nChannels = 0;
  b.m_nSamplesPerFrame = 0;
  b.m_nAnalogPerFrame = 6;  // ignored for channels, still part of each frame
  b.Write(dir.File("h.c3d"));
  auto opened = OpenC3d(dir.File("h.c3d"));
  ASSERT_TRUE(opened->m_c3d.IsOpen());
  EXPECT_EQ(opened->m_c3d.m_header.m_nAnalogChannels, 0);
  EXPECT_EQ(opened->m_c3d.AnalogCount(), 0);
  EXPECT_EQ(opened->m_c3d.m_points[1].Get(4 * 2), b.PointValue(1, 2, 0));
}

TEST(HeaderEvents, ReadLabelsTimesFlagsAndFrames) {
  CTempDir dir;
  for (int processor : {PROCESSOR_PC, PROCESSOR_DEC, PROCESSOR_SGI}) {
    CC3dFileBuilder b = SmallFile(processor, false);
    b.m_fRate = 100.0f;
    b.m_events = {{"HS", 0.5f, 1}, {std::string("AB\0D", 4), 0.505f, 0}, {"TOE1", 2.0f, 1}};
    b.Write(dir.File("e.c3d"));
    auto opened = OpenC3d(dir.File("e.c3d"));
    ASSERT_TRUE(opened->m_c3d.IsOpen());
    const auto& events = opened->m_c3d.m_events;
    ASSERT_EQ(events.size(), 3u);
    EXPECT_EQ(events[0].m_strLabel, "HS  ");  // blanks are part of the label
    EXPECT_EQ(events[0].m_fTime, 0.5f);
    EXPECT_EQ(events[0].m_nFrame, 51);
    EXPECT_EQ(events[0].m_nDisplay, 1);
    EXPECT_EQ(events[1].m_strLabel, "AB");  // a zero byte ends the label
    EXPECT_EQ(events[1].m_nFrame, 52);
    EXPECT_EQ(events[1].m_nDisplay, 0);
    EXPECT_EQ(events[2].m_strLabel, "TOE1");
    EXPECT_EQ(events[2].m_nFrame, 201);
  }
}

TEST(HeaderEvents, InvalidKeyOrCountMeansNoEvents) {
  CTempDir dir;
  CC3dFileBuilder b = SmallFile(PROCESSOR_PC, false);
  b.m_events.assign(18, {"E", 0.1f, 1});
  b.m_nEventCount = 19;
  b.Write(dir.File("e.c3d"));
  EXPECT_TRUE(OpenC3d(dir.File("e.c3d"))->m_c3d.m_events.empty());
  b.m_nEventCount = -1;
  b.m_bEventKey = false;
  b.Write(dir.File("e.c3d"));
  EXPECT_TRUE(OpenC3d(dir.File("e.c3d"))->m_c3d.m_events.empty());
}

TEST(HeaderEvents, WritingKeepsAtMost18AndPadsOrCutsLabels) {
  CTempDir dir;
  CC3dFileBuilder b = SmallFile(PROCESSOR_SGI, false);
  b.Write(dir.File("e.c3d"));
  auto opened = OpenC3d(dir.File("e.c3d"));
  ASSERT_TRUE(opened->m_c3d.IsOpen());
  CC3d& c3d = opened->m_c3d;
  for (int i = 0; i < 20; ++i) {
    CEvent e;
    e.m_strLabel = i == 0 ? "AB" : (i == 1 ? "ABCDE" : "E" + std::to_string(i));
    e.m_fTime = 0.25f * static_cast<float>(i);
    e.m_nDisplay = static_cast<uint8_t>(i % 2);
    c3d.m_events.push_back(e);
  }
  ASSERT_TRUE(SaveC3d(c3d, dir.File("saved.c3d")));
  std::vector<unsigned char> bytes = ReadAll(dir.File("saved.c3d"));
  EXPECT_EQ(bytes[298], 0x30);  // 12345 big-endian
  EXPECT_EQ(bytes[299], 0x39);
  EXPECT_EQ(bytes[301], 18);
  EXPECT_EQ(std::string(reinterpret_cast<char*>(&bytes[396]), 8), "AB  ABCD");
  auto reread = OpenC3d(dir.File("saved.c3d"));
  ASSERT_EQ(reread->m_c3d.m_events.size(), 18u);
  EXPECT_EQ(reread->m_c3d.m_events[17].m_fTime, 0.25f * 17);
  EXPECT_EQ(reread->m_c3d.m_events[3].m_nDisplay, 1);
}

TEST(HeaderEvents, SavingWithoutEventsClearsTheArea) {
  CTempDir dir;
  CC3dFileBuilder b = SmallFile(PROCESSOR_PC, false);
  b.m_events = {{"HS", 0.5f, 1}, {"TO", 0.7f, 1}};
  b.Write(dir.File("e.c3d"));
  auto opened = OpenC3d(dir.File("e.c3d"));
  opened->m_c3d.m_events.clear();
  ASSERT_TRUE(SaveC3d(opened->m_c3d, dir.File("saved.c3d")));
  std::vector<unsigned char> bytes = ReadAll(dir.File("saved.c3d"));
  EXPECT_EQ(bytes[298] | (bytes[299] << 8), 12345);
  EXPECT_EQ(bytes[300] | (bytes[301] << 8), 0);
  for (int i = 304; i < 468; ++i) ASSERT_EQ(bytes[static_cast<size_t>(i)], 0) << i;
}

TEST(HeaderEvents, FramesAndTimesConvert) {
  CC3d c3d;
  c3d.m_header.m_fFrameRate = 100.0f;
  c3d.m_events.resize(2);
  c3d.m_events[0].m_fTime = 0.5f;
  c3d.m_events[1].m_fTime = 1.234f;
  c3d.EventFramesFromTimes();
  EXPECT_EQ(c3d.m_events[0].m_nFrame, 51);
  EXPECT_EQ(c3d.m_events[1].m_nFrame, 124);
  c3d.m_events[1].m_nFrame = 11;
  c3d.EventTimesFromFrames();
  EXPECT_FLOAT_EQ(c3d.m_events[1].m_fTime, 0.1f);
  // A rate of 0 gives no undefined conversions.
  c3d.m_header.m_fFrameRate = 0.0f;
  c3d.EventFramesFromTimes();
  c3d.EventTimesFromFrames();
}
