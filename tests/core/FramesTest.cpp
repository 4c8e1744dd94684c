// Inserting and deleting frames, points and analog channels, with the
// parameters that follow them.
#include <gtest/gtest.h>

#include "ModelFixture.h"

using namespace testsupport;

namespace {

// Original frame of each remaining frame, read back from the pattern.
std::vector<int> PointFrames(const CC3d& c3d, int point) {
  std::vector<int> out;
  for (int f = 0; f < c3d.FrameCount(); ++f)
    out.push_back(static_cast<int>(PointValue(c3d, point, f, 0) - PointPattern(point, 0, 0)) / 10);
  return out;
}

std::vector<int> AnalogFrames(const CC3d& c3d, int channel) {
  std::vector<int> out;
  for (int f = 0; f < c3d.FrameCount(); ++f)
    out.push_back(static_cast<int>(AnalogValue(c3d, channel, f, 0) - AnalogPattern(channel, 0, 0)) / 10);
  return out;
}

}  // namespace

TEST(DeleteFrames, KeepsOtherFramesInOrderInBothStorages) {
  for (bool real : {false, true}) {
    SCOPED_TRACE(real ? "real" : "integer");
    auto c3d = CModelBuilder().Points(2).Analogs(2).Frames(5).SamplesPerFrame(3).FirstFrame(10)
                   .Real(real).Build();
    c3d->DeleteFrames({0, 2});
    EXPECT_EQ(c3d->m_header.m_nFirstFrame, 10);
    EXPECT_EQ(c3d->m_header.m_nLastFrame, 12);
    EXPECT_EQ(c3d->FrameCount(), 3);
    EXPECT_EQ(Values(*c3d, "POINT", "FRAMES")[0], 3);
    for (int j = 0; j < 2; ++j) {
      EXPECT_EQ(PointFrames(*c3d, j), (std::vector<int>{1, 3, 4}));
      EXPECT_EQ(c3d->m_points[static_cast<size_t>(j)].Size(), 12u);
      EXPECT_EQ(AnalogFrames(*c3d, j), (std::vector<int>{1, 3, 4}));
      EXPECT_EQ(c3d->m_analogs[static_cast<size_t>(j)].Size(), 9u);
    }
    // Every sample of a kept frame moves with it.
    EXPECT_EQ(AnalogValue(*c3d, 1, 2, 2), AnalogPattern(1, 4, 2));
    EXPECT_EQ(PointValue(*c3d, 1, 1, 2), PointPattern(1, 3, 2));
  }
}

TEST(DeleteFrames, IgnoresBadEntriesAndKeepsTheFrameCountInItsType) {
  auto c3d = CModelBuilder().Points(1).Analogs(1).Frames(5).Build();
  SetScalar(*c3d, "POINT", "FRAMES", PARAM_FLOAT, 5);
  c3d->DeleteFrames({4, -1, 1, 9, 4});
  EXPECT_EQ(PointFrames(*c3d, 0), (std::vector<int>{0, 2, 3}));
  EXPECT_EQ(Values(*c3d, "POINT", "FRAMES")[0], 3.0);
  c3d->DeleteFrames({});
  c3d->DeleteFrames({7});
  EXPECT_EQ(c3d->FrameCount(), 3);
}

TEST(DeleteFrames, EventTimesFollowTheRemovedFrames) {
  // 60 Hz from frame 1: frame index i is at i / 60 s.
  auto c3d = CModelBuilder().Points(1).Analogs(0).Frames(20).FrameRate(60).Build();
  SetEventTimes(*c3d, {{0, 1.0 / 60}, {0, 5.0 / 60}, {0, 10.0 / 60}});
  // A run of three removed frames moves later events back by three frames.
  c3d->DeleteFrames({2, 3, 4});
  std::vector<double> t = Values(*c3d, "EVENT", "TIMES");
  EXPECT_NEAR(t[1], 1.0 / 60, 1e-6);
  EXPECT_NEAR(t[3], 2.0 / 60, 1e-6);
  EXPECT_NEAR(t[5], 7.0 / 60, 1e-6);

  // An event on the removed first frame stays at the start.
  SetEventTimes(*c3d, {{0, 0}});
  c3d->DeleteFrames({0});
  EXPECT_EQ(Values(*c3d, "EVENT", "TIMES")[1], 0);
}

TEST(DeleteFrames, AllFramesOfAFileStartingAtFrameZero) {
  auto c3d = CModelBuilder().Points(1).Analogs(1).Frames(3).FirstFrame(0).Build();
  c3d->DeleteFrames({0, 1, 2});
  EXPECT_EQ(c3d->FrameCount(), 0);
  EXPECT_EQ(c3d->m_points[0].Size(), 0u);
  EXPECT_EQ(c3d->m_analogs[0].Size(), 0u);
  EXPECT_EQ(Values(*c3d, "POINT", "FRAMES")[0], 0);
  // Frames can be added to the empty file again.
  EXPECT_TRUE(c3d->InsertBlankFrames(2, -2));
  EXPECT_EQ(c3d->FrameCount(), 2);
}

TEST(InsertBlankFrames, BeforeTheFirstFrameWithOffsetsOrTheirDefault) {
  auto c3d = CModelBuilder().Points(2).Analogs(2).Frames(3).SamplesPerFrame(2).Build();
  DropParam(*c3d, "ANALOG", "OFFSET");
  ASSERT_TRUE(c3d->InsertBlankFrames(2, -1));
  EXPECT_EQ(c3d->FrameCount(), 5);
  EXPECT_EQ(c3d->m_header.m_nLastFrame, 5);
  EXPECT_EQ(Values(*c3d, "POINT", "FRAMES")[0], 5);
  for (int i = 0; i < 2; ++i) {
    for (int f = 0; f < 2; ++f) {
      EXPECT_EQ(AnalogValue(*c3d, i, f, 0), 2048);
      EXPECT_EQ(AnalogValue(*c3d, i, f, 1), 2048);
      for (int a = 0; a < 4; ++a) EXPECT_EQ(PointValue(*c3d, i, f, a), 0);
    }
    // The original frames follow.
    for (int f = 0; f < 3; ++f) {
      EXPECT_EQ(AnalogValue(*c3d, i, f + 2, 1), AnalogPattern(i, f, 1));
      EXPECT_EQ(PointValue(*c3d, i, f + 2, 2), PointPattern(i, f, 2));
    }
  }

  // Each channel gets its own offset; in the middle of the file.
  SetList(*c3d, "ANALOG", "OFFSET", PARAM_INTEGER, {7, -3});
  ASSERT_TRUE(c3d->InsertBlankFrames(1, 2));
  EXPECT_EQ(AnalogValue(*c3d, 0, 3, 1), 7);
  EXPECT_EQ(AnalogValue(*c3d, 1, 3, 0), -3);
  EXPECT_EQ(AnalogValue(*c3d, 0, 4, 0), AnalogPattern(0, 1, 0));
}

TEST(InsertFrames, FillValuesInBothStorages) {
  const std::vector<float> analog = {1.9f, -1.9f, 40000.0f, 5.0f};
  const std::vector<float> x = {10.5f, 11.5f}, y = {-2.5f, -3.5f}, z = {0.25f, 70000.0f};
  for (bool real : {false, true}) {
    SCOPED_TRACE(real ? "real" : "integer");
    auto c3d = CModelBuilder().Points(2).Analogs(2).Frames(3).SamplesPerFrame(2).Real(real).Build();
    if (real) SetAnalogValue(*c3d, 0, 0, 0, 0.125);
    // After frame index 0: new frames at indexes 1 and 2.
    ASSERT_TRUE(c3d->InsertFrames(2, 0, analog, x, y, z));
    EXPECT_EQ(c3d->FrameCount(), 5);
    EXPECT_EQ(Values(*c3d, "POINT", "FRAMES")[0], 5);
    for (int i = 0; i < 2; ++i) {
      EXPECT_EQ(AnalogFrames(*c3d, i)[3], 1);
      EXPECT_EQ(PointFrames(*c3d, i)[4], 2);
      if (real) {
        EXPECT_EQ(AnalogValue(*c3d, i, 1, 0), 1.9f);
        EXPECT_EQ(AnalogValue(*c3d, i, 2, 0), 40000.0f);
        EXPECT_EQ(PointValue(*c3d, i, 1, 0), 10.5f);
        EXPECT_EQ(PointValue(*c3d, i, 2, 2), 70000.0f);
        EXPECT_EQ(PointValue(*c3d, i, 2, 3), -1.0f);  // new real frames are invalid
      } else {
        EXPECT_EQ(AnalogValue(*c3d, i, 1, 0), 1);
        EXPECT_EQ(AnalogValue(*c3d, i, 1, 1), -1);
        EXPECT_EQ(AnalogValue(*c3d, i, 2, 0), static_cast<int16_t>(40000));
        EXPECT_EQ(PointValue(*c3d, i, 1, 0), 10);
        EXPECT_EQ(PointValue(*c3d, i, 2, 1), -3);
        EXPECT_EQ(PointValue(*c3d, i, 2, 3), 0);  // valid, no residual, no camera
      }
    }
    // Old real samples keep their fractions.
    if (real) {
      EXPECT_EQ(AnalogValue(*c3d, 0, 0, 0), 0.125f);
    }

    // After the last frame, by index and by -2.
    ASSERT_TRUE(c3d->InsertFrames(1, 4, analog, x, y, z));
    ASSERT_TRUE(c3d->InsertFrames(1, -2, analog, x, y, z));
    EXPECT_EQ(c3d->FrameCount(), 7);
    EXPECT_EQ(PointFrames(*c3d, 0)[4], 2);
  }
}

TEST(InsertFrames, RefusesWhatItCannotDoWithoutChange) {
  auto c3d = CModelBuilder().Points(1).Analogs(1).Frames(3).SamplesPerFrame(2).Build();
  const std::vector<float> a4(4, 1.0f), a3(3, 1.0f), v2(2, 1.0f), v1(1, 1.0f);
  EXPECT_FALSE(c3d->InsertFrames(0, -1, a4, v2, v2, v2));
  EXPECT_FALSE(c3d->InsertFrames(2, 3, a4, v2, v2, v2));   // no frame index 3
  EXPECT_FALSE(c3d->InsertFrames(2, -3, a4, v2, v2, v2));
  EXPECT_FALSE(c3d->InsertFrames(2, -1, a3, v2, v2, v2));  // fill too short
  EXPECT_FALSE(c3d->InsertFrames(2, -1, a4, v2, v1, v2));
  EXPECT_FALSE(c3d->InsertBlankFrames(65533, -2));          // frame 65536
  EXPECT_EQ(c3d->FrameCount(), 3);
  EXPECT_EQ(c3d->m_points[0].Size(), 12u);
  EXPECT_EQ(c3d->m_analogs[0].Size(), 6u);
  EXPECT_TRUE(c3d->InsertBlankFrames(65532, -2));           // up to frame 65535
  EXPECT_EQ(c3d->m_header.m_nLastFrame, 65535);
}

TEST(DeleteAnalogChannel, RemovesItsEntriesAndRenumbersForcePlates) {
  auto c3d = CModelBuilder().Points(0).Analogs(5).Frames(2).SamplesPerFrame(4).Build();
  SetForcePlates(*c3d, {2}, {{1, 2, 3, 4, 5, 0}});
  SetList(*c3d, "ANALOG", "OFFSET", PARAM_INTEGER, {10, 11, 12, 13, 14});
  SetList(*c3d, "EMG", "SEL", PARAM_INTEGER, {1, 2, 3, 4, 5});
  const CParam labelsBefore = *c3d->FindParam("ANALOG", "LABELS");

  SavedParams saved;
  c3d->DeleteAnalogChannel(2, &saved, false);

  EXPECT_EQ(c3d->AnalogCount(), 4);
  EXPECT_EQ(c3d->m_header.m_nAnalogChannels, 4);
  EXPECT_EQ(c3d->m_header.m_nAnalogPerFrame, 16);
  EXPECT_EQ(AnalogValue(*c3d, 2, 1, 0), AnalogPattern(3, 1, 0));
  EXPECT_EQ(Strings(*c3d, "ANALOG", "LABELS"), (std::vector<std::string>{"A1", "A2", "A4", "A5"}));
  EXPECT_EQ(c3d->FindParam("ANALOG", "LABELS")->m_dims[1], 4);
  EXPECT_EQ(Strings(*c3d, "ANALOG", "DESCRIPTIONS").size(), 4u);
  EXPECT_EQ(Strings(*c3d, "ANALOG", "UNITS").size(), 4u);
  EXPECT_EQ(Values(*c3d, "ANALOG", "OFFSET"), (std::vector<double>{10, 11, 13, 14}));
  EXPECT_EQ(c3d->FindParam("ANALOG", "OFFSET")->m_dims[0], 4);
  EXPECT_EQ(Values(*c3d, "ANALOG", "SCALE").size(), 4u);
  EXPECT_EQ(Values(*c3d, "ANALOG", "USED")[0], 4);
  for (const char* emg : {"GAIN", "NORMALIZATION", "TYPE"})
    EXPECT_EQ(Values(*c3d, "EMG", emg).size(), 4u) << emg;
  EXPECT_EQ(Strings(*c3d, "EMG", "SIDE").size(), 4u);
  // EMG:SEL is per channel too: the later channels keep their own entries.
  EXPECT_EQ(Values(*c3d, "EMG", "SEL"), (std::vector<double>{1, 2, 4, 5}));
  // Entries above the deleted channel move down; its own entry is the
  // caller's to clear.
  EXPECT_EQ(Values(*c3d, "FORCE_PLATFORM", "CHANNEL"), (std::vector<double>{1, 2, 3, 3, 4, 0}));

  // Thirteen slots of copies taken before the change; slot 10 holds EMG:SEL,
  // slot 12 ANALOG:GAIN (which this file lacks).
  ASSERT_EQ(saved.size(), 13u);
  for (size_t i = 0; i < 12; ++i) EXPECT_TRUE(saved[i].has_value()) << i;
  EXPECT_EQ(saved[0]->m_strings, labelsBefore.m_strings);
  EXPECT_EQ(saved[4]->ElementCount(), 5);
  EXPECT_TRUE(NamesEqual(saved[6]->m_strName, "CHANNEL"));
  EXPECT_EQ(saved[6]->NumericValue(4), 5);
  EXPECT_TRUE(NamesEqual(saved[10]->m_strName, "SEL"));
  EXPECT_EQ(saved[10]->ElementCount(), 5);
  EXPECT_TRUE(NamesEqual(saved[11]->m_strName, "SIDE"));
}

TEST(DeleteAnalogChannel, MissingParametersEmptySlotsAndNoSave) {
  auto c3d = CModelBuilder().Points(0).Analogs(2).Frames(2).Build();
  DropGroup(*c3d, "EMG");
  DropParam(*c3d, "ANALOG", "UNITS");
  SavedParams saved(12);
  saved[2] = CParam();  // a stale copy from an earlier command
  c3d->DeleteAnalogChannel(0, &saved, false);
  EXPECT_FALSE(saved[2].has_value());
  for (size_t i = 7; i < 12; ++i) EXPECT_FALSE(saved[i].has_value()) << i;
  EXPECT_TRUE(saved[0].has_value());

  SavedParams untouched(1);
  c3d->DeleteAnalogChannel(0, &untouched, true);
  EXPECT_EQ(untouched.size(), 1u);
  EXPECT_EQ(c3d->AnalogCount(), 0);
  // The only channel gone: nothing per frame is left.
  EXPECT_EQ(c3d->m_header.m_nAnalogPerFrame, 0);
  EXPECT_EQ(Values(*c3d, "ANALOG", "USED")[0], 0);
  EXPECT_TRUE(Strings(*c3d, "ANALOG", "LABELS").empty());

  c3d->DeleteAnalogChannel(0, &saved, false);  // no channel left: ignored
  c3d->DeleteAnalogChannel(-1, nullptr, false);
  EXPECT_EQ(c3d->AnalogCount(), 0);
}

TEST(DeletePoint, RemovesEntriesOfListShapesOnly) {
  auto c3d = CModelBuilder().Points(3).Analogs(0).Frames(2).Build();
  // One-dimensional character labels (a single string) are left alone.
  SetParam(*c3d, "POINT", "LABELS", PARAM_CHAR, {12});
  c3d->FindParam("POINT", "LABELS")->m_strings = {"P1P2P3"};
  SavedParams saved;
  c3d->DeletePoint(1, &saved, false);

  EXPECT_EQ(c3d->PointCount(), 2);
  EXPECT_EQ(c3d->m_header.m_nPoints, 2);
  EXPECT_EQ(PointValue(*c3d, 1, 0, 0), PointPattern(2, 0, 0));
  EXPECT_EQ(Strings(*c3d, "POINT", "LABELS"), (std::vector<std::string>{"P1P2P3"}));
  EXPECT_EQ(Strings(*c3d, "POINT", "DESCRIPTIONS"),
            (std::vector<std::string>{"Point 1", "Point 3"}));
  EXPECT_EQ(Values(*c3d, "POINT", "USED")[0], 2);
  ASSERT_EQ(saved.size(), 3u);
  EXPECT_EQ(saved[1]->m_strings.size(), 3u);
  EXPECT_EQ(saved[2]->NumericValue(0), 3);

  // A POINT:USED of several values is not a count to keep.
  SetList(*c3d, "POINT", "USED", PARAM_INTEGER, {9, 9});
  c3d->DeletePoint(0, nullptr, false);
  EXPECT_EQ(Values(*c3d, "POINT", "USED")[0], 9);
  c3d->DeletePoint(5, &saved, false);
  EXPECT_EQ(c3d->PointCount(), 1);
}
