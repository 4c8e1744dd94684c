// Residuals and camera masks, ranges, calibration look-ups, the force-plate
// channel map and the TRIAL/EVENT upkeep of CC3d.
#include <gtest/gtest.h>

#include "ModelFixture.h"

using namespace testsupport;

namespace {

std::unique_ptr<CC3d> Model(bool real, int frames = 5) {
  return CModelBuilder().Points(2).Analogs(2).Frames(frames).Real(real).Build();
}

}  // namespace

TEST(ResidualWord, ReadsResidualAndCamerasInBothStorages) {
  for (bool real : {false, true}) {
    SCOPED_TRACE(real ? "real" : "integer");
    auto c3d = Model(real);
    SetPointValue(*c3d, 0, 1, 3, 0x0305);
    std::string mask;
    EXPECT_FLOAT_EQ(c3d->GetCameraMask(0, 1, mask), 0.5f);
    EXPECT_EQ(mask, "1100000");
    EXPECT_FLOAT_EQ(c3d->GetResidual(0, 1), 0.5f);

    // The residual byte is signed: 0xF6 is -10 units, shown as 1.0.
    SetPointValue(*c3d, 0, 2, 3, 0x40F6);
    EXPECT_FLOAT_EQ(c3d->GetCameraMask(0, 2, mask), 1.0f);
    EXPECT_EQ(mask, "0000001");

    SetPointValue(*c3d, 0, 3, 3, -1);
    mask = "junk";
    EXPECT_EQ(c3d->GetCameraMask(0, 3, mask), -1.0f);
    EXPECT_EQ(mask, "0000000");
  }
}

TEST(ResidualWord, SettingMaskOrResidualKeepsTheOtherPart) {
  for (bool real : {false, true}) {
    SCOPED_TRACE(real ? "real" : "integer");
    auto c3d = Model(real);
    std::string mask;

    // A mask on an invalid sample leaves it invalid.
    SetPointValue(*c3d, 1, 0, 3, -1);
    c3d->SetCameraMask(1, 0, "1111111");
    EXPECT_EQ(PointValue(*c3d, 1, 0, 3), -1.0f);

    // Residual exactly 1.0 (10 units) survives a mask change.
    SetPointValue(*c3d, 1, 1, 3, 10);
    c3d->SetCameraMask(1, 1, "101");
    EXPECT_FLOAT_EQ(c3d->GetCameraMask(1, 1, mask), 1.0f);
    EXPECT_EQ(mask, "1010000");
    EXPECT_EQ(PointValue(*c3d, 1, 1, 3), 5 * 256 + 10);

    // Setting the residual keeps the cameras; 0.5 at scale 0.1 is 5 units,
    // not 4 (0.5 / 0.1f is a hair under 5).
    c3d->SetResidual(1, 1, 0.5f);
    EXPECT_FLOAT_EQ(c3d->GetCameraMask(1, 1, mask), 0.5f);
    EXPECT_EQ(mask, "1010000");

    // A negative residual marks the sample invalid.
    c3d->SetResidual(1, 1, -3.0f);
    EXPECT_EQ(PointValue(*c3d, 1, 1, 3), -1.0f);
    // Setting a residual on an invalid sample makes it valid, no cameras.
    c3d->SetResidual(1, 1, 0.3f);
    EXPECT_FLOAT_EQ(c3d->GetCameraMask(1, 1, mask), 0.3f);
    EXPECT_EQ(mask, "0000000");
  }
}

TEST(ResidualWord, ResidualBeyondTheByteSaturatesInsteadOfWrapping) {
  auto c3d = Model(false);
  // 20.0 at scale 0.1 is 200 units, more than the signed byte holds; the
  // largest residual it can hold is 12.7.
  c3d->SetResidual(0, 0, 20.0f);
  EXPECT_FLOAT_EQ(c3d->GetResidual(0, 0), 12.7f);

  // With a zero scale no residual can be expressed; nothing divides by zero.
  c3d->m_header.m_fScale = 0.0f;
  c3d->SetResidual(0, 0, 2.0f);
  EXPECT_EQ(c3d->GetResidual(0, 0), 0.0f);
}

TEST(ResidualWord, BadIndexesAreHarmless) {
  auto c3d = Model(false);
  std::string mask;
  EXPECT_EQ(c3d->GetResidual(-1, 0), -1.0f);
  EXPECT_EQ(c3d->GetResidual(2, 0), -1.0f);
  EXPECT_EQ(c3d->GetResidual(0, 5), -1.0f);
  EXPECT_EQ(c3d->GetCameraMask(0, -1, mask), -1.0f);
  EXPECT_EQ(mask, "0000000");
  c3d->SetResidual(0, 5, 1.0f);
  c3d->SetCameraMask(7, 0, "1");
  EXPECT_EQ(c3d->FirstValidFrame(-1), -1);
  EXPECT_EQ(c3d->FirstValidFrame(2), -1);
  EXPECT_EQ(c3d->LastValidFrame(2), -1);
  c3d->ComputePointRange(9);
  c3d->ComputeAnalogRange(-3);
  EXPECT_TRUE(c3d->CheckPointRange(5, 0, 0, 0, 0, 0, 0));

  // A store shorter than the frame count (damaged file) is not read past.
  c3d->m_points[0].Resize(8);
  EXPECT_EQ(c3d->GetResidual(0, 3), -1.0f);
  EXPECT_EQ(c3d->LastValidFrame(0), 1);
}

TEST(PointRange, CoversValidFramesOnlyFromFirstToLastInclusive) {
  auto c3d = CModelBuilder().Points(1).Analogs(0).Frames(30).Build();
  for (int f = 0; f < 30; ++f) SetPointFrame(*c3d, 0, f, 30000, -30000, 30000, -1);
  SetPointFrame(*c3d, 0, 10, 5, 50, -7, 0);
  SetPointFrame(*c3d, 0, 20, 9, 40, -3, 0x0102);

  EXPECT_EQ(c3d->FirstValidFrame(0), 10);
  EXPECT_EQ(c3d->LastValidFrame(0), 20);
  c3d->ComputePointRange(0);
  const float* r = c3d->m_points[0].m_fRange;
  EXPECT_EQ(r[0], 5);
  EXPECT_EQ(r[1], 40);
  EXPECT_EQ(r[2], -7);
  EXPECT_EQ(r[3], 9);
  EXPECT_EQ(r[4], 50);
  EXPECT_EQ(r[5], -3);

  // Bounds are checked in scaled units and ignore invalid frames.
  EXPECT_TRUE(c3d->CheckPointRange(0, 0.45f, 3.95f, -0.75f, 0.95f, 5.05f, -0.25f));
  EXPECT_FALSE(c3d->CheckPointRange(0, 0.45f, 3.95f, -0.75f, 0.95f, 4.95f, -0.25f));
  EXPECT_FALSE(c3d->CheckPointRange(0, 0.55f, 3.95f, -0.75f, 0.95f, 5.05f, -0.25f));

  // No valid frame at all: the range is zero.
  SetPointValue(*c3d, 0, 10, 3, -1);
  SetPointValue(*c3d, 0, 20, 3, -1);
  c3d->ComputePointRange(0);
  for (int i = 0; i < 6; ++i) EXPECT_EQ(r[i], 0.0f);
}

TEST(AnalogRange, AllSamplesAndFirstSampleOfEachFrame) {
  auto c3d = CModelBuilder().Points(0).Analogs(1).Frames(3).SamplesPerFrame(3).Real().Build();
  const float values[9] = {1, -8, 2, 4, 9, 5, -2, 0, 3};
  for (int i = 0; i < 9; ++i) SetAnalogValue(*c3d, 0, i / 3, i % 3, values[i]);
  c3d->ComputeAnalogRange(0);
  const CAnalog& a = c3d->m_analogs[0];
  EXPECT_EQ(a.m_fMin, -8);
  EXPECT_EQ(a.m_fMax, 9);
  EXPECT_EQ(a.m_fFirstMin, -2);
  EXPECT_EQ(a.m_fFirstMax, 4);

  c3d->m_analogs[0].Resize(0);
  c3d->ComputeAnalogRange(0);
  EXPECT_EQ(a.m_fMin, 0);
  EXPECT_EQ(a.m_fMax, 0);
  EXPECT_EQ(a.m_fFirstMax, 0);
}

TEST(AnalogCalibration, ValuesAndDefaults) {
  auto c3d = CModelBuilder().Analogs(3).Build();
  SetList(*c3d, "ANALOG", "SCALE", PARAM_FLOAT, {0.5, 2.0});
  SetList(*c3d, "ANALOG", "OFFSET", PARAM_BYTE, {200, 10, 20});
  SetScalar(*c3d, "ANALOG", "GEN_SCALE", PARAM_FLOAT, 0.25);

  EXPECT_EQ(c3d->GetAnalogScale(1), 2.0f);
  EXPECT_EQ(c3d->GetAnalogScale(2), 1.0f);  // no such element
  EXPECT_EQ(c3d->GetAnalogOffset(0), -56.0f);  // bytes count as signed here
  EXPECT_EQ(c3d->GetAnalogGenScale(), 0.25f);
  float o, s, g;
  c3d->GetAnalogCalibration(1, o, s, g);
  EXPECT_EQ(o, 10);
  EXPECT_EQ(s, 2);
  EXPECT_EQ(g, 0.25f);
  // Any missing piece gives the neutral calibration for all three.
  c3d->GetAnalogCalibration(2, o, s, g);
  EXPECT_EQ(o, 0);
  EXPECT_EQ(s, 1);
  EXPECT_EQ(g, 1);

  DropParam(*c3d, "ANALOG", "OFFSET");
  EXPECT_EQ(c3d->GetAnalogOffset(0), 2048.0f);
  c3d->GetAnalogCalibration(0, o, s, g);
  EXPECT_EQ(o, 0);
  EXPECT_EQ(s, 1);
  EXPECT_EQ(g, 1);

  SetStrings(*c3d, "ANALOG", "GEN_SCALE", {"2"});
  EXPECT_EQ(c3d->GetAnalogGenScale(), 1.0f);
}

TEST(ForcePlates, ChannelMapFollowsPlateTypes) {
  auto c3d = CModelBuilder().Analogs(16).Build();

  // Laid out as a list: plate 1 (type 2) uses entries 0-5, plate 2 (type 3)
  // entries 6-13.
  SetForcePlates(*c3d, {2, 3}, {});
  SetList(*c3d, "FORCE_PLATFORM", "CHANNEL", PARAM_INTEGER,
          {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15});
  EXPECT_EQ(c3d->FindForcePlateChannel(0), 0);
  EXPECT_EQ(c3d->FindForcePlateChannel(6), 6);
  EXPECT_EQ(c3d->FindForcePlateChannel(13), 13);
  EXPECT_EQ(c3d->FindForcePlateChannel(14), -1);

  // Laid out as a table of 8 rows x 2 plates: plate 1 uses rows 0-5 of its
  // column (rows 6-7 unused), plate 2 entries 8-15.
  SetForcePlates(*c3d, {2, 3}, {{1, 2, 3, 4, 5, 6, 15, 16}, {7, 8, 9, 10, 11, 12, 13, 14}});
  EXPECT_EQ(c3d->FindForcePlateChannel(5), 5);
  EXPECT_EQ(c3d->FindForcePlateChannel(6), 8);
  EXPECT_EQ(c3d->FindForcePlateChannel(13), 15);
  EXPECT_EQ(c3d->FindForcePlateChannel(14), -1);  // unused row of plate 1

  c3d->ClearForcePlateChannel(8);
  EXPECT_EQ(c3d->FindForcePlateChannel(6), -1);
  EXPECT_EQ(Values(*c3d, "FORCE_PLATFORM", "CHANNEL")[8], 0);
  c3d->ClearForcePlateChannel(99);  // no such entry: nothing happens

  // A plate of an unknown type has no channels.
  SetList(*c3d, "FORCE_PLATFORM", "TYPE", PARAM_INTEGER, {7, 3});
  EXPECT_EQ(c3d->FindForcePlateChannel(0), -1);
  EXPECT_EQ(c3d->FindForcePlateChannel(7), 9);

  SetScalar(*c3d, "FORCE_PLATFORM", "USED", PARAM_INTEGER, 0);
  EXPECT_EQ(c3d->FindForcePlateChannel(7), -1);
  SetScalar(*c3d, "FORCE_PLATFORM", "USED", PARAM_INTEGER, 2);
  DropParam(*c3d, "FORCE_PLATFORM", "TYPE");
  EXPECT_EQ(c3d->FindForcePlateChannel(7), -1);
}

TEST(TrialFields, FollowTheFrameRangeInTheirOwnType) {
  auto c3d = CModelBuilder().Frames(10).FirstFrame(3).Build();
  SetList(*c3d, "TRIAL", "ACTUAL_START_FIELD", PARAM_INTEGER, {0, 7});
  SetList(*c3d, "TRIAL", "ACTUAL_END_FIELD", PARAM_FLOAT, {0, 9});
  c3d->m_header.m_nLastFrame = 40000;
  c3d->UpdateTrialFields();
  EXPECT_EQ(Values(*c3d, "TRIAL", "ACTUAL_START_FIELD"), (std::vector<double>{3, 7}));
  EXPECT_EQ(Values(*c3d, "TRIAL", "ACTUAL_END_FIELD"), (std::vector<double>{40000, 9}));

  SetParam(*c3d, "TRIAL", "ACTUAL_START_FIELD", PARAM_INTEGER, {0});
  DropParam(*c3d, "TRIAL", "ACTUAL_END_FIELD");
  c3d->UpdateTrialFields();  // empty and missing parameters are left alone
  EXPECT_TRUE(Values(*c3d, "TRIAL", "ACTUAL_START_FIELD").empty());
}

TEST(EventTimes, ShiftCarriesIntoMinutesAndSkipsEarlierEvents) {
  auto c3d = CModelBuilder().Frames(100).FrameRate(60).Build();
  SetEventTimes(*c3d, {{0, 59.5}, {0, 0.5}, {2, 10}});
  c3d->ShiftEventTimes(-1, 60);
  std::vector<double> t = Values(*c3d, "EVENT", "TIMES");
  EXPECT_EQ(t[0], 1);
  EXPECT_FLOAT_EQ(t[1], 0.5);
  EXPECT_EQ(t[2], 0);
  EXPECT_FLOAT_EQ(t[3], 1.5);
  EXPECT_EQ(t[4], 2);
  EXPECT_FLOAT_EQ(t[5], 11);

  // Only events at or after the start frame move; backwards across a minute.
  SetEventTimes(*c3d, {{0, 0.5}, {1, 0.25}});
  c3d->ShiftEventTimes(60, -30);  // from 1.0 s, back 0.5 s
  t = Values(*c3d, "EVENT", "TIMES");
  EXPECT_FLOAT_EQ(t[1], 0.5);
  EXPECT_EQ(t[2], 0);
  EXPECT_FLOAT_EQ(t[3], 59.75);

  // An event at exactly the start frame's time moves with it, even though
  // 0.7 s is held as a float a hair below 0.7.
  SetEventTimes(*c3d, {{0, 0.7}});
  c3d->ShiftEventTimes(42, -1);
  EXPECT_NEAR(Values(*c3d, "EVENT", "TIMES")[1], 0.7 - 1.0 / 60, 1e-6);
}

TEST(EventTimes, NothingMovesWithoutRateOrEvents) {
  auto c3d = CModelBuilder().Frames(10).FrameRate(0).Build();
  SetEventTimes(*c3d, {{0, 1}});
  c3d->ShiftEventTimes(-1, 5);
  EXPECT_EQ(Values(*c3d, "EVENT", "TIMES")[1], 1);

  c3d->m_header.m_fFrameRate = 10;
  // USED claims more events than TIMES holds: the missing ones are skipped.
  SetScalar(*c3d, "EVENT", "USED", PARAM_INTEGER, 5);
  c3d->ShiftEventTimes(-1, 5);
  EXPECT_EQ(Values(*c3d, "EVENT", "TIMES")[1], 1.5);

  // An event cannot move before the start of the trial.
  c3d->ShiftEventTimes(-1, -100);
  EXPECT_EQ(Values(*c3d, "EVENT", "TIMES")[1], 0);

  SetScalar(*c3d, "EVENT", "USED", PARAM_INTEGER, 0);
  c3d->ShiftEventTimes(-1, 5);
  EXPECT_EQ(Values(*c3d, "EVENT", "TIMES")[1], 0);
  DropParam(*c3d, "EVENT", "TIMES");
  SetScalar(*c3d, "EVENT", "USED", PARAM_INTEGER, 1);
  c3d->ShiftEventTimes(-1, 5);  // no TIMES: nothing to do, no crash
}

TEST(SampleStores, AllocateGivesZerosWhereverTheMemoryComesFrom) {
  auto allZero = [](const CSampleStore& s) {
    for (size_t i = 0; i < s.Size(); ++i)
      if (s.Get(i) != 0.0f) return false;
    return true;
  };
  // Heap blocks are handed out again with what they held: they are cleared.
  for (int round = 0; round < 2; ++round) {
    CSampleStore small;
    small.Allocate(1000, round == 1);
    EXPECT_TRUE(allZero(small));
    for (size_t i = 0; i < small.Size(); ++i) small.Set(i, 7.0);
  }
  // The stores of one file share one region, aligned for huge pages.
  const size_t count = (1u << 20) / 4;
  CSampleStore a, b;
  {
    CSampleRegion region(2 * CSampleRegion::RegionBytes(count * 4));
    a.Allocate(count, true);
    b.Allocate(count, true);
  }
  EXPECT_EQ(reinterpret_cast<uintptr_t>(a.Reals()) % (2u << 20), 64u);
  EXPECT_EQ(reinterpret_cast<const char*>(b.Reals()), reinterpret_cast<const char*>(a.Reals()) + count * 4 + 64);
  EXPECT_TRUE(allZero(a) && allZero(b));
  // Growing keeps the samples and adds zeros.
  a.Set(0, 3.5);
  a.Resize(count + 10);
  EXPECT_EQ(a.Get(0), 3.5f);
  EXPECT_EQ(a.Get(count + 9), 0.0f);
}
