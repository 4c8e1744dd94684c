// Reading the data section: both storage kinds in every processor format,
// the frame layout, trailing bytes, the TRIAL check, short data, and files
// that ask for more than the machine can give.
#include <gtest/gtest.h>

#include <cmath>

#include "C3dFileBuilder.h"
#include "C3dTestUtil.h"
#include "TestSupport.h"

using c3dtest::OpenC3d;
using c3dtest::SaveC3d;
using testsupport::CTempDir;
using testsupport::ReadAll;
using testsupport::WriteAll;

namespace {

CC3dFileBuilder Frames(int processor, bool real) {
  CC3dFileBuilder b;
  b.m_nProcessor = processor;
  b.m_bReal = real;
  b.m_nPoints = 3;
  b.m_nChannels = 4;
  b.m_nSamplesPerFrame = 3;
  b.m_nFirstFrame = 10;
  b.m_nLastFrame = 29;
  b.AddStandardParameters();
  return b;
}

void ExpectBuilderSamples(const CC3dFileBuilder& b, const CC3d& c3d) {
  int frames = b.m_nLastFrame - b.m_nFirstFrame + 1;
  ASSERT_EQ(c3d.PointCount(), b.m_nPoints);
  ASSERT_EQ(c3d.AnalogCount(), b.m_nChannels);
  for (int j = 0; j < b.m_nPoints; ++j) {
    ASSERT_EQ(c3d.m_points[static_cast<size_t>(j)].Size(), static_cast<size_t>(frames) * 4);
    for (int f = 0; f < frames; ++f)
      for (int v = 0; v < 4; ++v)
        ASSERT_EQ(c3d.m_points[static_cast<size_t>(j)].Get(static_cast<size_t>(f * 4 + v)),
                  static_cast<float>(b.PointValue(j, f, v)))
            << "point " << j << " frame " << f << " value " << v;
  }
  for (int i = 0; i < b.m_nChannels; ++i)
    for (int f = 0; f < frames; ++f)
      for (int k = 0; k < b.m_nSamplesPerFrame; ++k)
        ASSERT_EQ(c3d.m_analogs[static_cast<size_t>(i)].Get(
                      static_cast<size_t>(f * b.m_nSamplesPerFrame + k)),
                  static_cast<float>(b.AnalogValue(i, f, k)))
            << "channel " << i << " frame " << f << " sample " << k;
}

}  // namespace

TEST(ReadData, BothStorageKindsInEveryFormat) {
  CTempDir dir;
  for (int processor : {PROCESSOR_PC, PROCESSOR_DEC, PROCESSOR_SGI}) {
    for (bool real : {false, true}) {
      SCOPED_TRACE(testing::Message() << processor << (real ? " real" : " integer"));
      CC3dFileBuilder b = Frames(processor, real);
      if (real) {
        // Fractions and extremes that must survive the conversions exactly.
        b.m_pointValues = {{1.5, -2.25, 1.0e-3, 0x0203, 0, -0.0, 3.4e38, -1}};
        b.m_pointValues[0].resize(20 * 4, 7.125);
        b.m_pointValues.push_back(std::vector<double>(20 * 4, std::nan("")));
      }
      b.Write(dir.File("d.c3d"));
      auto opened = OpenC3d(dir.File("d.c3d"));
      ASSERT_TRUE(opened->m_c3d.IsOpen());
      EXPECT_TRUE(opened->m_c3d.m_OpenErrors.empty());
      EXPECT_EQ(opened->m_c3d.FrameCount(), 20);
      EXPECT_EQ(opened->m_c3d.m_points[0].IsReal(), real);
      if (real) {
        EXPECT_EQ(opened->m_c3d.m_points[0].Get(6), 3.4e38f);
        EXPECT_TRUE(std::signbit(opened->m_c3d.m_points[0].Get(5)));
        EXPECT_TRUE(std::isnan(opened->m_c3d.m_points[1].Get(0)));
        // NaN never equals itself: compare the rest only.
        b.m_pointValues[1].assign(20 * 4, 0.0);
        for (float& v : opened->m_c3d.m_points[1].RealVector()) v = 0.0f;
      }
      ExpectBuilderSamples(b, opened->m_c3d);
    }
  }
}

TEST(ReadData, ExtraAnalogValuesOfAFrameAreSkipped) {
  CTempDir dir;
  CC3dFileBuilder b;
  b.m_nPoints = 1;
  b.m_nChannels = 2;
  b.m_nSamplesPerFrame = 8;
  b.m_nAnalogPerFrame = 17;  // 2 channels; the 17th value of each frame is skipped
  b.m_nLastFrame = 4;
  b.Write(dir.File("d.c3d"));
  auto opened = OpenC3d(dir.File("d.c3d"));
  ASSERT_TRUE(opened->m_c3d.IsOpen());
  EXPECT_EQ(opened->m_c3d.m_header.m_nAnalogChannels, 2);
  ExpectBuilderSamples(b, opened->m_c3d);
}

TEST(ReadData, NoChannelsStillFollowsTheFrameRangeAndKeepsTrailingBytes) {
  CTempDir dir;
  CC3dFileBuilder b;
  b.m_nPoints = 0;
  b.m_nChannels = 0;
  b.m_nSamplesPerFrame = 0;
  b.m_nFirstFrame = 1;
  b.m_nLastFrame = 700;
  b.m_trailing = {1, 2, 3, 4, 5};
  b.AddStandardParameters();
  b.Write(dir.File("empty.c3d"));
  auto opened = OpenC3d(dir.File("empty.c3d"));
  ASSERT_TRUE(opened->m_c3d.IsOpen());
  EXPECT_EQ(opened->m_c3d.FrameCount(), 700);
  EXPECT_EQ(opened->m_c3d.PointCount(), 0);
  EXPECT_EQ(opened->m_c3d.m_trailing, b.m_trailing);
}

TEST(ReadData, TrailingBytesRightAfterDataEndingOnABlockBoundary) {
  CTempDir dir;
  CC3dFileBuilder b;
  b.m_nPoints = 16;  // 16 x 4 values x 2 bytes x 4 frames = 1024 bytes
  b.m_nChannels = 0;
  b.m_nLastFrame = 4;
  b.AddStandardParameters();
  b.m_trailing = std::vector<unsigned char>(700, 0xEE);
  b.m_trailing[0] = 0x11;
  b.Write(dir.File("t.c3d"));
  auto opened = OpenC3d(dir.File("t.c3d"));
  ASSERT_TRUE(opened->m_c3d.IsOpen());
  EXPECT_EQ(opened->m_c3d.m_trailing, b.m_trailing);
  ASSERT_TRUE(SaveC3d(opened->m_c3d, dir.File("saved.c3d")));
  EXPECT_EQ(ReadAll(dir.File("saved.c3d")), b.Build());
}

TEST(ReadData, ParameterBlockOneReadsNoParametersButTheData) {
  CTempDir dir;
  CC3dFileBuilder b;
  b.m_nParamBlock = 1;
  b.m_nProcessorByte = -1;
  b.m_nPoints = 2;
  b.m_nChannels = 1;
  b.m_nLastFrame = 5;
  b.m_fRate = 50.0f;
  b.Write(dir.File("one.c3d"));
  auto opened = OpenC3d(dir.File("one.c3d"));
  ASSERT_TRUE(opened->m_c3d.IsOpen());
  EXPECT_TRUE(opened->m_c3d.m_params.empty());
  EXPECT_EQ(opened->m_c3d.m_nGapBlocks, 0);  // the header block is no gap
  EXPECT_EQ(opened->m_c3d.m_nProcessor, PROCESSOR_PC);  // from the rate
  ExpectBuilderSamples(b, opened->m_c3d);
  // Saved with its parameter section in block 2, which is a file any reader
  // can take: the header block is not overwritten by the section.
  ASSERT_TRUE(SaveC3d(opened->m_c3d, dir.File("saved.c3d")));
  std::vector<unsigned char> bytes = ReadAll(dir.File("saved.c3d"));
  EXPECT_EQ(bytes[0], 2);
  EXPECT_EQ(bytes[1], 80);
  EXPECT_EQ(bytes[512 + 3], 84);
  auto reread = OpenC3d(dir.File("saved.c3d"));
  ASSERT_TRUE(reread->m_c3d.IsOpen());
  c3dtest::ExpectSameContent(opened->m_c3d, reread->m_c3d);
}

TEST(ReadData, TrialFramesBeyondSixteenBitsAreRefused) {
  CTempDir dir;
  struct Case {
    std::vector<double> start, end;
    int type;
    bool opens;
  };
  const Case cases[] = {
      {{1, 0}, {500, 0}, 2, true},
      {{1, 0}, {-1, 0}, 2, true},  // -1 reads as 65535
      {{1, 0}, {0, 1}, 2, false},  // 65536
      {{1, 0}, {70000, 0}, 4, false},
      {{1}, {0}, 2, true},  // fewer than 2 elements: not checked
  };
  for (const Case& c : cases) {
    CC3dFileBuilder b = Frames(PROCESSOR_PC, false);
    b.AddGroup("TRIAL", -3);
    b.AddInt(3, "ACTUAL_START_FIELD", c.start, {static_cast<int>(c.start.size())});
    b.AddInt(3, "ACTUAL_END_FIELD", c.end, {static_cast<int>(c.end.size())});
    b.m_params.back().m_nType = c.type;
    b.m_params[b.m_params.size() - 2].m_nType = c.type;
    b.Write(dir.File("trial.c3d"));
    auto opened = OpenC3d(dir.File("trial.c3d"));
    EXPECT_EQ(opened->m_c3d.IsOpen(), c.opens) << c.end[0];
    if (!c.opens) {
      ASSERT_EQ(opened->m_prompt.m_messages.size(), 2u);
      EXPECT_EQ(opened->m_prompt.m_messages[0],
                "This file has extra frames defined in the TRIAL group.  \nPlease contact Halvenor, Inc.");
      EXPECT_EQ(opened->m_prompt.m_messages[1], "Error opening C3D file");
      EXPECT_TRUE(opened->m_c3d.m_params.empty());
    }
  }
}

TEST(ReadData, ShortDataLeavesZerosAndAMessage) {
  CTempDir dir;
  for (bool real : {false, true}) {
    CC3dFileBuilder b = Frames(PROCESSOR_SGI, real);
    std::vector<unsigned char> bytes = b.Build();
    int frameSize = (3 * 4 + 4 * 3) * (real ? 4 : 2);
    size_t dataOffset = static_cast<size_t>(b.m_nBuiltDataStart - 1) * 512;
    bytes.resize(dataOffset + 5 * static_cast<size_t>(frameSize) + 10);  // 5 frames and 10 bytes
    WriteAll(dir.File("short.c3d"), bytes);
    auto opened = OpenC3d(dir.File("short.c3d"));
    ASSERT_TRUE(opened->m_c3d.IsOpen());
    ASSERT_EQ(opened->m_c3d.m_OpenErrors.size(), 1u);
    EXPECT_EQ(opened->m_c3d.m_OpenErrors[0],
              "Found 10 bytes of data but expected " + std::to_string(frameSize) + " bytes");
    EXPECT_TRUE(opened->m_prompt.m_messages.empty());  // the document shows them
    const CC3d& c3d = opened->m_c3d;
    EXPECT_EQ(c3d.m_points[0].Get(4 * 4), static_cast<float>(b.PointValue(0, 4, 0)));
    // The partial frame keeps its first 10 bytes; everything after is zero,
    // never the previous frame's values.
    EXPECT_EQ(c3d.m_points[0].Get(5 * 4), static_cast<float>(b.PointValue(0, 5, 0)));
    for (size_t at = 5 * 4 + (real ? 3 : 5); at < c3d.m_points[0].Size(); ++at)
      ASSERT_EQ(c3d.m_points[0].Get(at), 0.0f) << at;
    for (const CAnalog& channel : c3d.m_analogs)
      for (size_t at = 5 * 3; at < channel.Size(); ++at) ASSERT_EQ(channel.Get(at), 0.0f);
    EXPECT_TRUE(c3d.m_trailing.empty());
  }
}

TEST(ReadData, HeadersAskingForTooMuchMemoryAreRefused) {
  CTempDir dir;
  CC3dFileBuilder b;
  b.m_bReal = true;
  b.m_nPoints = 65535;
  b.m_nChannels = 0;
  b.m_nFirstFrame = 0;
  b.m_nLastFrame = 65535;  // 65536 frames x 65535 points x 16 bytes: 64 GiB
  b.m_nStoredFrames = 0;
  b.AddStandardParameters();
  b.Write(dir.File("huge.c3d"));
  auto opened = OpenC3d(dir.File("huge.c3d"));
  EXPECT_FALSE(opened->m_c3d.IsOpen());
  ASSERT_EQ(opened->m_prompt.m_messages.size(), 1u);
  EXPECT_EQ(opened->m_prompt.m_messages[0], "Not Enough memory to open file");
  EXPECT_TRUE(opened->m_c3d.m_points.empty());

  // The limit decides, whatever the machine.
  CC3dFileBuilder small = Frames(PROCESSOR_PC, true);
  small.Write(dir.File("small.c3d"));
  uint64_t limit = CC3d::StoreLimit();
  CC3d::SetStoreLimit(100);
  auto refused = OpenC3d(dir.File("small.c3d"));
  CC3d::SetStoreLimit(limit);
  EXPECT_FALSE(refused->m_c3d.IsOpen());
  EXPECT_EQ(refused->m_prompt.m_messages, std::vector<std::string>{"Not Enough memory to open file"});
  EXPECT_TRUE(OpenC3d(dir.File("small.c3d"))->m_c3d.IsOpen());
}

TEST(ReadData, ImpossibleDataStartFailsInAnOrderlyWay) {
  CTempDir dir;
  for (int dataStart : {0, 1, 2}) {
    std::vector<unsigned char> bytes = Frames(PROCESSOR_PC, false).Build();
    bytes[16] = static_cast<unsigned char>(dataStart);  // header word 9
    bytes[17] = 0;
    WriteAll(dir.File("ds.c3d"), bytes);
    auto opened = OpenC3d(dir.File("ds.c3d"));
    EXPECT_FALSE(opened->m_c3d.IsOpen()) << dataStart;
    ASSERT_EQ(opened->m_prompt.m_messages.size(), 1u);
    EXPECT_NE(opened->m_prompt.m_messages[0].find("data start"), std::string::npos)
        << opened->m_prompt.m_messages[0];
  }
  // Without any values per frame the data start does not matter.
  CC3dFileBuilder empty;
  empty.m_nDataStart = 0;
  empty.m_nSamplesPerFrame = 0;
  empty.Write(dir.File("ds0.c3d"));
  auto opened = OpenC3d(dir.File("ds0.c3d"));
  EXPECT_TRUE(opened->m_c3d.IsOpen());
  EXPECT_TRUE(opened->m_c3d.m_trailing.empty());
}

TEST(ReadData, CloseDiscardsEverythingAndReopens) {
  CTempDir dir;
  CC3dFileBuilder b = Frames(PROCESSOR_DEC, true);
  b.m_events = {{"E1", 0.1f, 1}};
  b.Write(dir.File("d.c3d"));
  auto opened = OpenC3d(dir.File("d.c3d"));
  ASSERT_TRUE(opened->m_c3d.IsOpen());
  opened->m_c3d.Close();
  EXPECT_FALSE(opened->m_c3d.IsOpen());
  EXPECT_TRUE(opened->m_c3d.m_params.empty());
  EXPECT_TRUE(opened->m_c3d.m_groups.empty());
  EXPECT_TRUE(opened->m_c3d.m_events.empty());
  EXPECT_TRUE(opened->m_c3d.m_points.empty());
  EXPECT_TRUE(opened->m_c3d.m_headerLabels.empty());
  EXPECT_EQ(opened->m_c3d.Open(), 1);
  ExpectBuilderSamples(b, opened->m_c3d);
}
