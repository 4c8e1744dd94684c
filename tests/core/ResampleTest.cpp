// Sampling Frequency and Analog to Video Ratio: the linear resampling, the
// two commands on made and real files, their undo, a failure part-way, and
// the dialog's request.
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "DocModel.h"
#include "FakeHost.h"
#include "ModelFixture.h"
#include "TestSupport.h"
#include "document/SamplingCommands.h"
#include "processing/LinearResample.h"

using namespace docmodel;
using testsupport::CTempDir;

namespace {

std::vector<float> Resampled(const std::vector<float>& in, int64_t g) {
  std::vector<float> out(static_cast<size_t>(g + 1), -999.0f);
  ResampleLinear(in.data(), static_cast<int64_t>(in.size()) - 1, 1, out.data(), g, 1);
  return out;
}

std::vector<float> Ramp(int count, float step) {
  std::vector<float> v;
  for (int i = 0; i < count; ++i) v.push_back(step * static_cast<float>(i));
  return v;
}

// The bytes the document's model saves to.
std::vector<unsigned char> SavedBytes(CC3d& c3d, const CTempDir& dir, const std::string& name) {
  std::string error;
  EXPECT_TRUE(c3d.SaveToFile(dir.File(name), error)) << error;
  return testsupport::ReadAll(dir.File(name));
}

class Sampling : public ::testing::Test {
 protected:
  void SetUp() override { host.m_bEditMode = true; }

  // Writes a model made by BuildModel (changed by `edit`) and opens it as
  // the user would.
  CEditorDoc& Open(const CModelSpec& spec, const std::function<void(CC3d&)>& edit = nullptr) {
    CC3d c3d;
    BuildModel(c3d, spec);
    if (edit) edit(c3d);
    const std::string path = dir.File("model" + std::to_string(++m_nFiles) + ".c3d");
    EXPECT_TRUE(SaveModel(c3d, path));
    CEditorDoc* doc = host.OpenDocumentFile(path);
    EXPECT_NE(doc, nullptr);
    return *doc;
  }

  CTempDir dir;
  CFakeHost host;
  int m_nFiles = 0;
};

}  // namespace

TEST(LinearResample, InterpolatesEveryNewSampleWithoutReadingPastTheEnd) {
  // A straight line stays on the line whatever the lengths; the last new
  // sample is the last old one. 9 -> 8 samples is a case where the
  // single-precision step takes c past the last index (8 x 1.1428572 > 8)
  // and where the integer part of e / s is 6, one short of the new last
  // index 7, which used to become a spike to 0.
  const std::vector<float> ramp = Ramp(9, 10.0f);
  ASSERT_EQ(CheckResample(8, 7), ResampleCheck::Reduction);
  std::vector<float> padded = ramp;
  padded.push_back(1.0e9f);  // a sample past the end must never be read
  std::vector<float> out(8);
  ResampleLinear(padded.data(), 8, 1, out.data(), 7, 1);
  for (int i = 0; i < 8; ++i) EXPECT_NEAR(out[static_cast<size_t>(i)], 80.0f * i / 7.0f, 1e-3) << i;
  EXPECT_FLOAT_EQ(out[7], 80.0f);

  // Expansion 5 -> 8 samples: here too the integer part of e / s (6) falls
  // short of the new last index.
  ASSERT_EQ(CheckResample(4, 7), ResampleCheck::Expansion);
  std::vector<float> up = Resampled(Ramp(5, 10.0f), 7);
  for (int i = 0; i < 8; ++i) EXPECT_NEAR(up[static_cast<size_t>(i)], 40.0f * i / 7.0f, 1e-3) << i;
  EXPECT_FLOAT_EQ(up[7], 40.0f);

  // Halving a hand-worked signal: c = 0, 2, 4 picks every other sample.
  EXPECT_EQ(Resampled({1, 5, 2, 8, 3}, 2), (std::vector<float>{1, 2, 3}));
  // Doubling: the midpoints.
  EXPECT_EQ(Resampled({0, 4, 2}, 4), (std::vector<float>{0, 2, 4, 3, 2}));

  // Integer samples are truncated toward zero: -1.5 becomes -1, not -2.
  const std::vector<int16_t> ints = {-1, -2};
  std::vector<int16_t> intOut(3);
  ResampleLinear(ints.data(), 1, 1, intOut.data(), 2, 1);
  EXPECT_EQ(intOut, (std::vector<int16_t>{-1, -1, -2}));
}

TEST(LinearResample, RefusesOneSampleEitherWayAndCountsFramesExactly) {
  EXPECT_EQ(CheckResample(5, 5), ResampleCheck::Same);
  EXPECT_EQ(CheckResample(5, 0), ResampleCheck::ReductionFailed);   // to one sample
  EXPECT_EQ(CheckResample(5, -1), ResampleCheck::ReductionFailed);  // to none
  EXPECT_EQ(CheckResample(0, 3), ResampleCheck::ExpansionFailed);   // from one sample

  // 300 frames at 100 Hz take 720 frames at 240 Hz (single-precision
  // periods would give 719.99996 and lose one); truncation otherwise.
  EXPECT_EQ(ScaleFrameCount(300, 100.0f, 240.0f), 720);
  EXPECT_EQ(ScaleFrameCount(100, 120.0f, 60.0f), 50);
  EXPECT_EQ(ScaleFrameCount(100, 120.0f, 240.0f), 200);
  EXPECT_EQ(ScaleFrameCount(101, 100.0f, 50.0f), 50);
  EXPECT_EQ(ScaleFrameCount(450, 59.94f, 119.88f), 900);
  EXPECT_EQ(ScaleFrameCount(7, 3.0f, 1.0f), 2);
}

TEST_F(Sampling, RateChangeResamplesEveryStoreAndUpdatesRatesEventsAndTrial) {
  CModelSpec spec;
  spec.m_nFrames = 9;
  spec.m_nAnalog = 1;
  spec.m_nPoints = 3;
  spec.m_nFirstFrame = 10;
  CEditorDoc& doc = Open(spec, [](CC3d& c3d) {
    using testsupport::SetPointFrame;
    for (int f = 0; f < 9; ++f) {
      // Point 0: valid in frames 2 to 6 only, X a ramp with an isolated 0 in
      // frame 4; point 1: never valid; point 2: valid but for a gap in
      // frames 4 and 5 that keeps its coordinates.
      const bool valid = f >= 2 && f <= 6;
      SetPointFrame(c3d, 0, f, f == 4 ? 0 : 100 + 10 * f, 50, 0, valid ? 0x0203 : -1);
      SetPointFrame(c3d, 1, f, 7, 7, 7, -1);
      SetPointFrame(c3d, 2, f, 10 * f, 20 * f, 30 * f, f == 4 || f == 5 ? -1 : 0x0101);
    }
  });
  CC3d& c3d = doc.m_c3d;

  // 9 frames at 50 Hz become 4 at 25 Hz (9 x 0.5 = 4.5): e = 8, g = 3,
  // s = 8/3, c = 0, 2.67, 5.33, 8.
  ASSERT_TRUE(ChangeRate(doc, 25.0f, false));
  EXPECT_TRUE(host.m_prompt.m_messages.empty());
  ASSERT_EQ(c3d.FrameCount(), 4);
  EXPECT_EQ(c3d.m_header.m_nLastFrame, 13);
  EXPECT_EQ(c3d.m_header.m_fFrameRate, 25.0f);
  EXPECT_EQ(testsupport::Values(c3d, "POINT", "RATE"), std::vector<double>{25});
  EXPECT_EQ(testsupport::Values(c3d, "POINT", "FRAMES"), std::vector<double>{4});
  EXPECT_EQ(testsupport::Values(c3d, "ANALOG", "RATE"), std::vector<double>{50});
  EXPECT_EQ(testsupport::Values(c3d, "TRIAL", "ACTUAL_END_FIELD")[0], 13);
  // Events keep their times: 0.02 s and 0.06 s lie in frames 1 and 2 at 25 Hz.
  EXPECT_EQ(c3d.m_events[0].m_nFrame, 1);
  EXPECT_EQ(c3d.m_events[1].m_nFrame, 2);
  EXPECT_EQ(c3d.m_analogs[0].Size(), 8u);
  EXPECT_EQ(doc.m_nUndoKind, UNDO_SAMPLING_FREQUENCY);
  EXPECT_TRUE(doc.IsModified());

  using testsupport::PointValue;
  // Point 2 (integer storage, truncated): X at c = 2.67 is 26.67 -> 26.
  EXPECT_EQ(PointValue(c3d, 2, 1, 0), 26.0f);
  EXPECT_EQ(PointValue(c3d, 2, 3, 2), 240.0f);
  // Point 0, X prepared as 120 120 120 130 130 150 160 170 180 (frames
  // before the first valid one hold its value, the 0 holds the one before):
  // frame 1 (c = 2.67) 126, frame 2 (c = 5.33) 153; the valid frames 2..6
  // map to A = 1 and t = 3, so frame 0 is cleared, and so is frame 3, whose
  // source (c = 8) lies after the last valid frame: cleared frames are
  // invalid, neither a marker at the origin nor one held still.
  EXPECT_EQ(PointValue(c3d, 0, 0, 0), 0.0f);
  EXPECT_EQ(PointValue(c3d, 0, 0, 3), -1.0f);
  EXPECT_EQ(PointValue(c3d, 0, 1, 0), 126.0f);
  EXPECT_EQ(PointValue(c3d, 0, 2, 0), 153.0f);
  EXPECT_EQ(PointValue(c3d, 0, 3, 0), 0.0f);
  EXPECT_EQ(PointValue(c3d, 0, 3, 3), -1.0f);
  for (int f = 0; f < 4; ++f) {
    EXPECT_EQ(PointValue(c3d, 1, f, 0), 0.0f) << "a point without valid frames stays 0";
    EXPECT_EQ(PointValue(c3d, 1, f, 3), -1.0f) << "... and invalid";
    EXPECT_EQ(PointValue(c3d, 2, f, 3), 0.0f) << "valid with residual 0";
    if (f == 1 || f == 2) {
      EXPECT_EQ(PointValue(c3d, 0, f, 3), 0.0f);
    }
  }

  // Doubling instead: 18 frames, s = 8/17. Frames 0..4 (c below 2) and
  // 13..17 (c above 6) lie outside point 0's valid frames, frames 9 and 10
  // (c = 4.24, 4.71) inside point 2's gap: invalid. Frame 11 (c = 5.18)
  // reaches the valid frame 6 and stays.
  doc.OnEditUndo();
  ASSERT_TRUE(ChangeRate(doc, 100.0f, false));
  ASSERT_EQ(c3d.FrameCount(), 18);
  for (int f = 0; f < 18; ++f) {
    const bool inside = f >= 5 && f <= 12;
    EXPECT_EQ(PointValue(c3d, 0, f, 3), inside ? 0.0f : -1.0f) << f;
    EXPECT_EQ(PointValue(c3d, 2, f, 3), f == 9 || f == 10 ? -1.0f : 0.0f) << f;
  }
}

TEST_F(Sampling, RatioChangeKeepsTheFramesAndCanBeUndone) {
  CModelSpec spec;  // ratio 2, 6 frames
  CEditorDoc& doc = Open(spec);
  CC3d& c3d = doc.m_c3d;
  const std::vector<unsigned char> before = SavedBytes(c3d, dir, "before.c3d");

  EXPECT_FALSE(ChangeRatio(doc, 0, false));
  EXPECT_EQ(host.m_prompt.TakeMessages(), std::vector<std::string>{"A/V Ration should be greater than zero"});
  EXPECT_FALSE(ChangeRatio(doc, 2, false));
  EXPECT_FALSE(doc.IsModified());

  ASSERT_TRUE(ChangeRatio(doc, 1, false));
  EXPECT_EQ(c3d.FrameCount(), 6);
  EXPECT_EQ(c3d.m_header.m_nSamplesPerFrame, 1);
  EXPECT_EQ(c3d.m_header.m_nAnalogPerFrame, 3);
  EXPECT_EQ(testsupport::Values(c3d, "ANALOG", "RATE"), std::vector<double>{50});
  for (const CAnalog& a : c3d.m_analogs) EXPECT_EQ(a.Size(), 6u);
  // Channel 0 held 100..111; 12 -> 6 samples, s = 11/5 = 2.2: 100, 102.2, ...
  EXPECT_EQ(testsupport::AnalogValue(c3d, 0, 1, 0), 102.0f);
  EXPECT_EQ(testsupport::AnalogValue(c3d, 0, 5, 0), 111.0f);
  EXPECT_EQ(doc.m_nUndoKind, UNDO_AV_RATIO);

  doc.OnEditUndo();
  EXPECT_EQ(SavedBytes(c3d, dir, "after.c3d"), before);
}

TEST_F(Sampling, FailurePartWayLeavesTheDocumentAsItWas) {
  // One frame with two analog samples: the analog channels can be expanded,
  // the points (one frame) cannot, so the command fails after the analog
  // stores were already replaced. Both forms must bring them back: the menu
  // form from its snapshot, the batch form from the stores it kept.
  for (bool batch : {false, true}) {
    SCOPED_TRACE(batch ? "batch" : "menu");
    CModelSpec spec;
    spec.m_nFrames = 1;
    CEditorDoc& doc = Open(spec);
    doc.m_nUndoKind = UNDO_FILTER;  // an earlier record whose snapshot gets overwritten
    const std::vector<unsigned char> before = SavedBytes(doc.m_c3d, dir, "before.c3d");

    EXPECT_FALSE(ChangeRate(doc, 100.0f, batch));
    EXPECT_EQ(host.m_prompt.TakeMessages(), std::vector<std::string>{"Error"});
    EXPECT_FALSE(doc.IsModified());
    EXPECT_EQ(doc.m_nUndoKind, batch ? UNDO_FILTER : UNDO_NONE);
    EXPECT_EQ(SavedBytes(doc.m_c3d, dir, "after.c3d"), before);
    host.CloseDocument(&doc);
  }
}

TEST_F(Sampling, RefusedBeforeAnyChange) {
  CModelSpec spec;
  spec.m_nFrames = 40000;
  CEditorDoc& doc = Open(spec);
  // Doubling would number frames beyond 65535.
  EXPECT_FALSE(ChangeRate(doc, 100.0f, false));
  EXPECT_TRUE(host.m_prompt.HasMessageContaining("frame numbers end at 65535"));
  // Stores beyond the memory limit are refused up front.
  CC3d::SetStoreLimit(1000);
  EXPECT_FALSE(ChangeRate(doc, 40.0f, false));
  EXPECT_FALSE(ChangeRatio(doc, 3, false));
  CC3d::SetStoreLimit(0);
  EXPECT_EQ(host.m_prompt.TakeMessages().back(), "Memory Allocation Error");
  EXPECT_EQ(doc.m_c3d.FrameCount(), 40000);
  EXPECT_FALSE(doc.IsModified());
  EXPECT_EQ(doc.m_nUndoKind, UNDO_NONE);
}

TEST(SamplingCorpus, UndoGivesBackTheSameFileInBothStorageKinds) {
  REQUIRE_CORPUS();
  CTempDir dir;
  for (const char* name : {"c3dorg_s01_eb015_pc_int.c3d", "c3dorg_s01_eb015_pc_real.c3d",
                           "c3dorg_s02_sgi_int.c3d", "auck_qualisys_dynamic.c3d"}) {
    SCOPED_TRACE(name);
    CFakeHost host;
    host.m_bEditMode = true;
    CEditorDoc* doc = host.OpenDocumentFile(testsupport::CorpusFile(name));
    ASSERT_NE(doc, nullptr);
    CC3d& c3d = doc->m_c3d;
    const int frames = c3d.FrameCount();
    const float rate = c3d.m_header.m_fFrameRate;
    const int ratio = c3d.m_header.m_nSamplesPerFrame;
    const std::vector<unsigned char> before = SavedBytes(c3d, dir, "before.c3d");

    ASSERT_TRUE(ChangeRate(*doc, rate * 2.4f, false));
    EXPECT_EQ(c3d.FrameCount(), static_cast<int>(ScaleFrameCount(frames, rate, rate * 2.4f)));
    doc->OnEditUndo();
    EXPECT_EQ(SavedBytes(c3d, dir, "undone.c3d"), before);

    ASSERT_TRUE(ChangeRate(*doc, rate / 2, false));
    EXPECT_EQ(c3d.FrameCount(), frames / 2);
    doc->OnEditUndo();
    EXPECT_EQ(SavedBytes(c3d, dir, "undone.c3d"), before);
    // The list shows every frame again, not the first half.
    EXPECT_EQ(doc->m_nListLast, frames - 1);

    ASSERT_TRUE(ChangeRatio(*doc, ratio * 3, false));
    EXPECT_EQ(c3d.m_analogs[0].Size(), static_cast<size_t>(frames * ratio * 3));
    doc->OnEditUndo();
    EXPECT_EQ(SavedBytes(c3d, dir, "undone.c3d"), before);
    EXPECT_TRUE(host.m_prompt.m_messages.empty());
  }
}

TEST(SamplingDialog, KeepsOnlyValuesTheCommandsAccept) {
  CSamplingRequest rate(CSamplingRequest::MODE_FREQUENCY, 120.0f, 8);
  EXPECT_EQ(rate.ValueCaption(), "Sampling Frequency");
  EXPECT_EQ(rate.UnitText(), "Hz.");
  EXPECT_EQ(rate.FrequencyText(), "120");
  EXPECT_EQ(rate.InfoLine(), "Analog Sampling Frequency is 960.00 Hz.");
  for (const char* refused : {"0", "-5", "", "abc", "1e999", "12x"}) {
    EXPECT_FALSE(rate.SetFrequencyText(refused)) << refused;
    EXPECT_EQ(rate.Frequency(), 120.0) << refused;
  }
  EXPECT_TRUE(rate.SetFrequencyText("59.94"));
  EXPECT_EQ(rate.InfoLine(), "Analog Sampling Frequency is 479.52 Hz.");
  EXPECT_TRUE(rate.CanAccept());

  CSamplingRequest ratio(CSamplingRequest::MODE_RATIO, 100.0f, 10);
  EXPECT_EQ(ratio.ValueCaption(), "Analog to Video Ratio");
  EXPECT_EQ(ratio.UnitText(), "");
  for (const char* refused : {"0", "00", "-1", "65536", "2.5", ""}) {
    EXPECT_FALSE(ratio.SetRatioText(refused)) << refused;
    EXPECT_EQ(ratio.Ratio(), 10) << refused;
  }
  EXPECT_TRUE(ratio.SetRatioText("4"));
  EXPECT_EQ(ratio.InfoLine(), "Analog Sampling Frequency is 400.00 Hz.");

  // A file without analog samples opens the ratio mode with nothing to accept.
  EXPECT_FALSE(CSamplingRequest(CSamplingRequest::MODE_RATIO, 100.0f, 0).CanAccept());
  EXPECT_FALSE(CSamplingRequest(CSamplingRequest::MODE_FREQUENCY, 0.0f, 4).CanAccept());
}

TEST(SamplingDialog, OkWithTheRateUntouchedLeavesTheFileAlone) {
  // 10000/93 Hz is 107.52688 in single precision: the edit must show a text
  // that reads back as that very rate (not "107.527"), or OK would resample.
  const float rate = 10000.0f / 93.0f;
  CSamplingRequest request(CSamplingRequest::MODE_FREQUENCY, rate, 1);
  ASSERT_TRUE(request.SetFrequencyText(request.FrequencyText()));
  EXPECT_EQ(static_cast<float>(request.Frequency()), rate);
  EXPECT_EQ(CSamplingRequest(CSamplingRequest::MODE_FREQUENCY, 1.0e6f, 1).FrequencyText(), "1000000");
}
