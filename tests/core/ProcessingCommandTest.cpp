// Interpolation, filtering and zeroing as the document runs them: what they
// write, the messages they show, their undo, and the same results on one
// thread and on several.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <functional>

#include "DocModel.h"
#include "FakeHost.h"
#include "ModelFixture.h"
#include "TestSupport.h"
#include "document/FilterCommand.h"
#include "document/InterpolateCommand.h"
#include "document/ZeroCommand.h"
#include "processing/Interpolation.h"
#include "processing/Parallel.h"
#include "processing/Zeroing.h"

using namespace testsupport;
using docmodel::AllSamples;

namespace {

class Processing : public ::testing::Test {
 protected:
  void Make(const CModelBuilder& builder) {
    doc.m_c3d.Close();
    builder.BuildInto(doc.m_c3d);
    doc.m_c3d.m_bOpen = true;
    ASSERT_TRUE(doc.m_undoFile.Create());
  }
  void Select(int node, int item) {
    doc.m_nSelNode = node;
    doc.m_nSelItem = item;
  }
  std::vector<std::string> Messages() { return host.m_prompt.TakeMessages(); }

  CFakeHost host;
  CEditorDoc doc{host};
};

// X, Y, Z and residual word of every frame of a point.
std::vector<float> PointSamples(const CC3d& c3d, int point) {
  std::vector<float> values;
  for (int f = 0; f < c3d.FrameCount(); ++f)
    for (int axis = 0; axis < 4; ++axis) values.push_back(PointValue(c3d, point, f, axis));
  return values;
}

// A cubic in frames with zero slope at frames 0 and 20: a spline through
// knots 0 .. 20 of it gives it back exactly.
double Cubic(int frame) { return 100.0 + frame * frame * (60.0 - 2.0 * frame); }

CFilterRequest Request(int type, float f1, float f2, int order, std::vector<int> channels) {
  CFilterRequest r;
  r.m_nType = type;
  r.m_fLowFreq = f1;
  r.m_fHighFreq = f2;
  r.m_nOrder = order;
  r.m_channels = std::move(channels);
  return r;
}

}  // namespace

// ---- Interpolation ----------------------------------------------------------

TEST_F(Processing, GapsAreFilledOnlyWhenShortAndInsideTheTrajectory) {
  Make(CModelBuilder().Points(5).Frames(23).Real().Analogs(0));
  CC3d& c3d = doc.m_c3d;
  for (int p = 0; p < 5; ++p)
    for (int f = 0; f < 23; ++f) SetPointFrame(c3d, p, f, Cubic(f), -Cubic(f), 500, 0x0305);
  auto gap = [&](int p, int from, int to) {
    for (int f = from; f <= to; ++f) SetPointFrame(c3d, p, f, 0, 0, 0, -1);
  };
  gap(0, 5, 12);   // 8 invalid frames: filled with a largest gap of 10
  gap(1, 5, 13);   // 9: not filled
  gap(2, 0, 2);    // from the first frame: never filled
  gap(3, 19, 22);  // to the last frame: never filled
  gap(4, 20, 20);  // closed by frame 21, past the last knot (20): not filled
  const std::vector<float> before = AllSamples(c3d);

  host.m_bEditMode = true;
  Select(-3, 0);
  ASSERT_TRUE(CanInterpolate(doc));
  CInterpolateRequest request = MakeInterpolateRequest(doc);
  EXPECT_EQ(request.m_nMaxGap, 10u);
  EXPECT_EQ(request.m_nFrames, 23);
  request.m_bAllChannels = true;
  ASSERT_TRUE(InterpolateRequestAccepted(request));
  RunInterpolateCommand(doc, request);
  EXPECT_TRUE(Messages().empty());
  EXPECT_EQ(doc.m_nUndoKind, UNDO_INTERPOLATE);
  EXPECT_TRUE(doc.IsModified());

  for (int f = 5; f <= 13; ++f) {
    EXPECT_NEAR(PointValue(c3d, 0, f, 0), Cubic(f), 0.02) << f;
    EXPECT_NEAR(PointValue(c3d, 0, f, 1), -Cubic(f), 0.02) << f;
    EXPECT_NEAR(PointValue(c3d, 0, f, 2), 500, 0.001) << f;
    EXPECT_EQ(PointValue(c3d, 0, f, 3), 0.0f) << f;  // the closing frame 13 too
  }
  EXPECT_EQ(PointValue(c3d, 0, 14, 3), float(0x0305));
  for (int p = 1; p < 5; ++p) {
    std::vector<float> expected(before.begin() + p * 23 * 4, before.begin() + (p + 1) * 23 * 4);
    EXPECT_EQ(PointSamples(c3d, p), expected) << "point " << p;
  }

  doc.OnEditUndo();
  EXPECT_EQ(AllSamples(c3d), before);
}

TEST_F(Processing, GapValuesAreTruncatedInIntegerStorageWhereZeroIsAKnot) {
  // Knots at frames 0, 4 and 8 with X = 0, 101, 0 (Y the negatives); frames 9
  // and 10 are never knots. Each half is the smoothstep 3u^2 - 2u^3 scaled by
  // 101: 15.78, 50.5, 85.22 are stored truncated toward zero.
  for (bool real : {false, true}) {
    SCOPED_TRACE(real ? "real" : "integer");
    Make(CModelBuilder().Points(1).Frames(11).Real(real).Analogs(0).FrameRate(1));
    CC3d& c3d = doc.m_c3d;
    for (int f = 0; f < 11; ++f) {
      bool knot = f == 0 || f == 4 || f >= 8;
      double x = f == 4 ? 101 : 0;
      SetPointFrame(c3d, 0, f, knot ? x : 0, knot ? -x : 0, 500, knot ? 0x0102 : -1);
    }
    RunInterpolation(doc, INTERPOLATE_GAPS, 10, 0);
    if (!real) {
      const float x[] = {0, 15, 50, 85, 101, 85, 50, 15, 0};
      for (int f = 0; f <= 8; ++f) {
        EXPECT_EQ(PointValue(c3d, 0, f, 0), x[f]) << f;
        EXPECT_EQ(PointValue(c3d, 0, f, 1), -x[f]) << f;
        EXPECT_EQ(PointValue(c3d, 0, f, 3), f == 0 ? float(0x0102) : 0.0f) << f;
      }
    } else {
      // In real storage a coordinate of 0.0 is no knot: X and Y have one knot
      // left and cannot be filled, so the gaps stay invalid (Z alone would
      // make them look measured).
      for (int f : {1, 2, 3, 5, 6, 7}) {
        EXPECT_EQ(PointValue(c3d, 0, f, 0), 0.0f);
        EXPECT_EQ(PointValue(c3d, 0, f, 3), -1.0f);
      }
    }
    EXPECT_TRUE(Messages().empty());
    EXPECT_FALSE(doc.IsModified());  // the batch form leaves that to the batch run
  }
}

TEST_F(Processing, ResidualRunsStartAboveTheThresholdAndContinueAtIt) {
  Make(CModelBuilder().Points(1).Frames(23).Real().Analogs(0).Scale(-0.1f));
  CC3d& c3d = doc.m_c3d;
  // Residual bytes of 20 are exactly the threshold 2.0.
  for (int f = 0; f < 23; ++f) SetPointFrame(c3d, 0, f, Cubic(f), 7, 9, 0x0100 + 10);
  SetPointFrame(c3d, 0, 2, Cubic(2), 7, 9, 20);           // at the threshold: no start
  SetPointFrame(c3d, 0, 3, 9999, 7, 9, 0x0200 + 30);      // starts a run
  SetPointFrame(c3d, 0, 4, Cubic(4), 7, 9, 20);           // continues it (and is a knot)
  SetPointFrame(c3d, 0, 7, -9999, 7, 9, -1);             // invalid, not zero: no knot
  SetPointFrame(c3d, 0, 10, 9999, 7, 9, 0x0200 + 30);     // a run of one frame
  SetPointFrame(c3d, 0, 22, 9999, 7, 9, 30);              // reaches the last frame: kept

  host.m_bEditMode = true;
  Select(-3, 0);
  CInterpolateRequest request = MakeInterpolateRequest(doc);
  request.m_nMode = INTERPOLATE_RESIDUALS;
  request.m_fThreshold = 2.0f;
  ASSERT_TRUE(InterpolateRequestAccepted(request));
  RunInterpolateCommand(doc, request);
  EXPECT_FLOAT_EQ(PointValue(c3d, 0, 2, 0), Cubic(2));
  EXPECT_EQ(PointValue(c3d, 0, 2, 3), 20.0f);
  for (int f : {3, 4, 10}) {
    EXPECT_NEAR(PointValue(c3d, 0, f, 0), Cubic(f), 0.02) << f;
    EXPECT_EQ(PointValue(c3d, 0, f, 3), 0.0f) << f;
  }
  EXPECT_EQ(PointValue(c3d, 0, 22, 0), 9999.0f);
  EXPECT_EQ(PointValue(c3d, 0, 7, 0), -9999.0f);

  // Residual mode needs a point when not all are asked for; the undo
  // record of the run before stays as it was.
  Select(-2, 0);
  RunInterpolateCommand(doc, request);
  EXPECT_EQ(doc.m_nUndoKind, UNDO_INTERPOLATE);
  EXPECT_FALSE(InterpolateResiduals(doc, false, 2.0f));
  request.m_fThreshold = 0;
  EXPECT_FALSE(InterpolateRequestAccepted(request));
  request.m_nMode = 0;
  request.m_nMaxGap = 23;
  EXPECT_FALSE(InterpolateRequestAccepted(request));
  // Any other batch mode does nothing.
  const std::vector<float> now = AllSamples(c3d);
  RunInterpolation(doc, 2, 10, 2.0f);
  EXPECT_EQ(AllSamples(c3d), now);
}

// ---- Filtering --------------------------------------------------------------

TEST_F(Processing, FirOutputIsAlignedWithItsInput) {
  Make(CModelBuilder().Analogs(1).Points(0).Frames(100).SamplesPerFrame(1).Real().FrameRate(1000));
  CC3d& c3d = doc.m_c3d;
  for (int f = 0; f < 100; ++f) SetAnalogValue(c3d, 0, f, 0, f == 40 ? 1000 : 0);
  ASSERT_TRUE(FilterAnalogFIR(doc, Request(FILTER_LPF, 100, 0, 20, {0})));
  int peak = 0;
  for (int f = 0; f < 100; ++f)
    if (AnalogValue(c3d, 0, f, 0) > AnalogValue(c3d, 0, peak, 0)) peak = f;
  EXPECT_EQ(peak, 40);
  EXPECT_NEAR(AnalogValue(c3d, 0, 40, 0), 200.0, 1.0);  // the centre tap, 2 x 100 / 1000
}

TEST_F(Processing, AnalogValuesAreFilteredInPhysicalUnitsAndWrittenBack) {
  // A constant physical value passes a low-pass unchanged whatever the
  // calibration; integer samples come back truncated.
  Make(CModelBuilder().Analogs(2).Points(0).Frames(60).SamplesPerFrame(2).FrameRate(100));
  CC3d& c3d = doc.m_c3d;
  SetList(c3d, "ANALOG", "OFFSET", PARAM_INTEGER, {2048, -5});
  SetList(c3d, "ANALOG", "SCALE", PARAM_FLOAT, {0.25, 0.0});  // a scale of 0 does not destroy the data
  SetScalar(c3d, "ANALOG", "GEN_SCALE", PARAM_FLOAT, 2);
  for (int f = 0; f < 60; ++f)
    for (int k = 0; k < 2; ++k) {
      SetAnalogValue(c3d, 0, f, k, 2500);
      SetAnalogValue(c3d, 1, f, k, 300);
    }
  ASSERT_TRUE(FilterAnalogButterworth(doc, Request(FILTER_LPF, 20, 0, 4, {0, 1})));
  for (int f = 0; f < 60; ++f) {
    EXPECT_NEAR(AnalogValue(c3d, 0, f, 1), 2500, 1.0) << f;
    EXPECT_NEAR(AnalogValue(c3d, 1, f, 1), 300, 1.0) << f;
  }
  EXPECT_TRUE(Messages().empty());

  // Frames by selection: only that range changes.
  for (int f = 0; f < 60; ++f) SetAnalogValue(c3d, 0, f, 0, f % 2 ? 3000 : 2000);
  CFilterRequest r = Request(FILTER_LPF, 10, 0, 4, {0});
  r.m_nFrames = FRAMES_SELECTION;
  r.m_nStartFrame = 11;  // frame indexes 10 .. 19
  r.m_nEndFrame = 20;
  ASSERT_TRUE(FilterAnalogButterworth(doc, r));
  EXPECT_EQ(AnalogValue(c3d, 0, 9, 0), 3000.0f);
  EXPECT_EQ(AnalogValue(c3d, 0, 20, 0), 2000.0f);
  EXPECT_NE(AnalogValue(c3d, 0, 15, 0), 3000.0f);
}

TEST_F(Processing, PointGapsAreHeldForTheFilterAndStayZero) {
  for (int kind : {FILTER_FIR, FILTER_BUTTERWORTH}) {
    SCOPED_TRACE(kind);
    Make(CModelBuilder().Points(1).Frames(80).Analogs(0).FrameRate(100));  // integer, scale 0.1
    CC3d& c3d = doc.m_c3d;
    for (int f = 0; f < 80; ++f) SetPointFrame(c3d, 0, f, 5000, -3000, 0, 0x0102);
    for (int f = 30; f < 35; ++f) SetPointFrame(c3d, 0, f, 0, 0, 0, -1);
    CFilterRequest r = Request(FILTER_LPF, 6, 0, kind == FILTER_FIR ? 20 : 4, {0});
    ASSERT_TRUE(kind == FILTER_FIR ? FilterPointsFIR(doc, r) : FilterPointsButterworth(doc, r));
    // The held input is constant, so the output is the same everywhere
    // (the filter's gain for a constant: 1 for Butterworth, about 0.92 for
    // this short FIR).
    const float x = PointValue(c3d, 0, 0, 0), y = PointValue(c3d, 0, 0, 1);
    EXPECT_NEAR(x, kind == FILTER_BUTTERWORTH ? 5000 : 4592, 1.0);
    for (int f = 0; f < 80; ++f) {
      bool inGap = f >= 30 && f < 35;
      EXPECT_NEAR(PointValue(c3d, 0, f, 0), inGap ? 0 : x, 1.0) << f;
      EXPECT_NEAR(PointValue(c3d, 0, f, 1), inGap ? 0 : y, 1.0) << f;
      EXPECT_EQ(PointValue(c3d, 0, f, 2), 0.0f);
      EXPECT_EQ(PointValue(c3d, 0, f, 3), inGap ? -1.0f : float(0x0102));
    }
  }
}

TEST_F(Processing, ResidualFramesOnlyAreFilteredAndGetTheSetResidual) {
  Make(CModelBuilder().Points(2).Frames(40).Analogs(0).Real().Scale(-0.5f).FrameRate(100));
  CC3d& c3d = doc.m_c3d;
  for (int f = 0; f < 40; ++f) {
    SetPointFrame(c3d, 0, f, f % 2 ? 110 : 90, 50, 50, 0x0301);  // residual 0.5
    SetPointFrame(c3d, 1, f, 0, 0, 0, -1);                       // no data at all
  }
  for (int f : {10, 11, 39}) SetPointFrame(c3d, 0, f, f % 2 ? 110 : 90, 50, 50, 0x0308);  // 4.0
  CFilterRequest r = Request(FILTER_LPF, 5, 0, 4, {1, 0});
  r.m_nFrames = FRAMES_RESIDUAL;
  r.m_fResidual = 2.0f;
  r.m_bSetResidual = true;
  r.m_fSetResidual = -1.0f;  // marks the filtered frames invalid
  ASSERT_TRUE(FilterPointsButterworth(doc, r));
  EXPECT_EQ(Messages(), std::vector<std::string>{"There is no data in channel 2"});
  for (int f = 0; f < 40; ++f) {
    bool run = f == 10 || f == 11;  // the last frame never belongs to a run
    EXPECT_EQ(PointValue(c3d, 0, f, 3), run ? -1.0f : float(f == 39 ? 0x0308 : 0x0301)) << f;
    if (!run) {
      EXPECT_EQ(PointValue(c3d, 0, f, 0), f % 2 ? 110.0f : 90.0f) << f;
    }
  }
  EXPECT_NEAR(PointValue(c3d, 0, 10, 0), 100, 8);

  // Set residual and camera bits on all valid frames; quiet messages are
  // dropped in Batch Mode.
  host.m_bBatchMode = true;
  r.m_nFrames = FRAMES_ALL;
  r.m_fSetResidual = 1.0f;
  r.m_strCameras = "0110000";
  ASSERT_TRUE(FilterPointsFIR(doc, r));
  EXPECT_TRUE(Messages().empty());
  std::string mask;
  EXPECT_EQ(c3d.GetCameraMask(0, 5, mask), 1.0f);
  EXPECT_EQ(mask, "0110000");
  EXPECT_EQ(PointValue(c3d, 0, 10, 3), -1.0f);
}

TEST_F(Processing, FilterFailuresShowTheirMessagesAndStopAtTheFailingChannel) {
  Make(CModelBuilder().Analogs(4).Points(0).Frames(50).SamplesPerFrame(1).Real().FrameRate(1000));
  CC3d& c3d = doc.m_c3d;
  for (int f = 0; f < 50; ++f)
    for (int c = 0; c < 4; ++c) SetAnalogValue(c3d, c, f, 0, c == 2 ? 4e10 * (f % 2) : 100 * (f % 2));
  const std::vector<float> before = AllSamples(c3d);

  // A design error is shown even in Batch Mode; "Could not filter" is not.
  host.m_bBatchMode = true;
  EXPECT_FALSE(FilterAnalogButterworth(doc, Request(FILTER_LPF, 496, 0, 4, {0})));
  EXPECT_EQ(Messages(), std::vector<std::string>{"Error 7"});
  host.m_bBatchMode = false;
  EXPECT_FALSE(FilterAnalogFIR(doc, Request(FILTER_BPF, 300, 200, 20, {0})));
  EXPECT_EQ(Messages(), (std::vector<std::string>{"Error in initializing Analog Filter", "Could not filter"}));
  EXPECT_EQ(AllSamples(c3d), before);

  // Channel 3 overflows: 1 and 2 stay filtered, 4 is untouched, alike on
  // one thread and on several.
  std::vector<float> results[2];
  for (int threads : {1, 3}) {
    SetProcessingThreads(threads);
    c3d.m_analogs.clear();
    for (int c = 0; c < 4; ++c) {
      c3d.m_analogs.emplace_back();
      c3d.m_analogs.back().Allocate(50, true);
      for (int f = 0; f < 50; ++f) c3d.m_analogs.back().Set(size_t(f), before[size_t(c * 50 + f)]);
    }
    EXPECT_FALSE(FilterAnalogFIR(doc, Request(FILTER_LPF, 100, 0, 10, {0, 1, 2, 3})));
    EXPECT_EQ(Messages(), (std::vector<std::string>{"Error2 Ana", "Could not filter"}));
    results[threads == 1 ? 0 : 1] = AllSamples(c3d);
  }
  SetProcessingThreads(0);
  EXPECT_EQ(results[0], results[1]);
  const std::vector<float>& after = results[0];
  EXPECT_NE(std::vector<float>(after.begin(), after.begin() + 100),
            std::vector<float>(before.begin(), before.begin() + 100));
  EXPECT_EQ(std::vector<float>(after.begin() + 100, after.end()),
            std::vector<float>(before.begin() + 100, before.end()));
}

TEST_F(Processing, SeveralThreadsGiveTheResultsOfOne) {
  auto model = CModelBuilder().Points(9).Analogs(7).Frames(300).SamplesPerFrame(3).FrameRate(120);
  std::vector<float> results[2];
  for (int run = 0; run < 2; ++run) {
    SetProcessingThreads(run == 0 ? 1 : 4);
    Make(model);
    CC3d& c3d = doc.m_c3d;
    for (int p = 0; p < 9; ++p)
      for (int f = 0; f < 300; ++f)
        if ((f + p) % 37 < 3) SetPointFrame(c3d, p, f, 0, 0, 0, -1);
    std::vector<int> all(16);
    for (int i = 0; i < 16; ++i) all[size_t(i)] = i;
    RunInterpolation(doc, INTERPOLATE_GAPS, 10, 0);
    FilterPointsButterworth(doc, Request(FILTER_LPF, 10, 0, 6, all));
    FilterPointsFIR(doc, Request(FILTER_BSF, 10, 20, 21, all));
    FilterAnalogButterworth(doc, Request(FILTER_BPF, 30, 60, 8, all));
    FilterAnalogFIR(doc, Request(FILTER_HPF, 30, 0, 30, all));
    results[run] = AllSamples(c3d);
  }
  SetProcessingThreads(0);
  EXPECT_EQ(results[0], results[1]);
  EXPECT_TRUE(Messages().empty());
}

TEST_F(Processing, FilterDialogChecksAndTheCommand) {
  Make(CModelBuilder().Points(3).Analogs(2).Frames(30).SamplesPerFrame(10).FrameRate(100));
  CC3d& c3d = doc.m_c3d;
  SetStrings(c3d, "POINT", "LABELS", {"LASI", "RASI"});
  host.m_bEditMode = true;
  Select(-3, 2);
  ASSERT_TRUE(CanFilterPoints(doc));
  EXPECT_FALSE(CanFilterAnalog(doc));
  host.m_settings.m_nVideoFilter = 0;
  CFilterDialogState state = MakeFilterDialog(doc, false, std::make_pair(5, 20));
  EXPECT_EQ(state.m_nKind, FILTER_FIR);
  EXPECT_EQ(state.m_nOrder, 20);
  EXPECT_EQ(state.m_channelNames, (std::vector<std::string>{"LASI", "RASI", "Marker 3"}));
  EXPECT_EQ(state.m_selected, std::vector<int>{2});
  EXPECT_EQ(state.m_nStartFrame, 5);
  state.m_bSetResidual = true;
  state.m_fSetResidual = 2.5f;
  EXPECT_EQ(FilterHighestFrequencyText(state), "Highest Frequency present is 50.00 Hz");
  SelectFilterKind(state, FILTER_BUTTERWORTH);
  EXPECT_EQ(state.m_nOrder, 4);
  EXPECT_FLOAT_EQ(state.m_fLowFreq, 10.0f);

  auto check = [&](CFilterDialogState s) {
    bool ok = CheckFilterDialog(s, host.m_prompt);
    std::vector<std::string> shown = Messages();
    return std::make_pair(ok, shown);
  };
  using Shown = std::vector<std::string>;
  EXPECT_EQ(check(state), std::make_pair(true, Shown{}));
  CFilterDialogState s = state;
  s.m_selected.clear();
  EXPECT_EQ(check(s), std::make_pair(false, Shown{}));
  s = state;
  s.m_nFrames = FRAMES_SELECTION;
  s.m_nEndFrame = s.m_nStartFrame;
  EXPECT_EQ(check(s), std::make_pair(false, Shown{}));
  s = state;
  s.m_fSetResidual = -0.5f;
  EXPECT_EQ(check(s), std::make_pair(false, Shown{"The Set Residual value should be -1 OR greater than or equal to zero"}));
  s.m_fSetResidual = -1.0f;
  EXPECT_TRUE(check(s).first);
  s = state;
  s.m_nType = FILTER_HPF;
  s.m_fLowFreq = 50;
  EXPECT_EQ(check(s), std::make_pair(false, Shown{"Error: HP frequency is greater than the highest frequency present in the data"}));
  s.m_nType = FILTER_BPF;
  s.m_fLowFreq = 0;
  s.m_fHighFreq = 0;
  EXPECT_EQ(check(s), std::make_pair(false, Shown{"Error: LP Frequency cannot be less than or equal to zero",
                                                  "Error: LP frequency cannot be greater than the HP frequency"}));
  s.m_nType = FILTER_BSF;
  s.m_fLowFreq = 20;
  s.m_fHighFreq = 60;
  EXPECT_EQ(check(s), std::make_pair(false, Shown{"Error: HS frequency is greater than the highest frequency present in the data"}));
  EXPECT_EQ(FilterLowLabel(FILTER_BSF), "Lower Cut Off F1");
  EXPECT_EQ(FilterHighLabel(FILTER_LPF), "");

  // The command stores the kind and its values, and counts as a change even
  // when it filtered nothing (residuals on analog data).
  state.m_nOrder = 6;
  state.m_bSetResidual = false;
  RunFilterCommand(doc, state);
  EXPECT_EQ(host.m_settings.m_nVideoFilter, FILTER_BUTTERWORTH);
  EXPECT_EQ(host.m_settings.m_butterVideo.m_nOrder, 6);
  EXPECT_EQ(doc.m_nUndoKind, UNDO_FILTER);

  doc.SetModifiedFlag(false);
  const std::vector<float> before = AllSamples(c3d);
  Select(-2, 0);
  CFilterDialogState analog = MakeFilterDialog(doc, true);
  EXPECT_EQ(analog.m_channelNames, (std::vector<std::string>{"A1", "A2"}));
  analog.m_nFrames = FRAMES_RESIDUAL;
  RunFilterCommand(doc, analog);
  EXPECT_EQ(Messages(), Shown{"Cannot use residuals for analog data"});
  EXPECT_EQ(AllSamples(c3d), before);
  EXPECT_TRUE(doc.IsModified());
}

TEST_F(Processing, SamplesThatAreNoNumberStayPutAndDoNotSpread) {
  // Some writers mark missing coordinates and samples with NaN in real
  // storage, the residual word left valid. One such sample must not turn
  // its neighbours (or a whole spline, or a channel's mean) into NaN.
  const float nan = std::nanf("");
  // A cubic with zero slopes at frame 0 and at 57, the last knot.
  auto cubic = [](int f) { return 100.0 + f * f * (171.0 - 2.0 * f) / 100.0; };
  Make(CModelBuilder().Points(2).Analogs(2).Frames(60).SamplesPerFrame(1).Real().FrameRate(100));
  CC3d& c3d = doc.m_c3d;
  SetList(c3d, "ANALOG", "OFFSET", PARAM_INTEGER, {0, 10});
  for (int f = 0; f < 60; ++f) {
    SetPointFrame(c3d, 0, f, f == 30 ? nan : 5000, -3000, 700, 0x0102);
    SetPointFrame(c3d, 1, f, cubic(f), 1, 1, f >= 10 && f <= 12 ? -1 : 0x0102);
    SetAnalogValue(c3d, 0, f, 0, f == 40 ? nan : 2500);
    SetAnalogValue(c3d, 1, f, 0, f == 7 ? nan : f == 8 ? 50 : f == 9 ? 10 : 30);
  }
  SetPointFrame(c3d, 1, 3, nan, 1, 1, 0x0102);  // no knot

  ASSERT_TRUE(FilterPointsButterworth(doc, Request(FILTER_LPF, 6, 0, 4, {0})));
  ASSERT_TRUE(FilterAnalogButterworth(doc, Request(FILTER_LPF, 10, 0, 4, {0})));
  for (int f = 0; f < 60; ++f) {
    if (f == 30) {
      EXPECT_TRUE(std::isnan(PointValue(c3d, 0, f, 0)));
    } else {
      EXPECT_NEAR(PointValue(c3d, 0, f, 0), 5000, 0.01) << f;
    }
    if (f == 40) {
      EXPECT_TRUE(std::isnan(AnalogValue(c3d, 0, f, 0)));
    } else {
      EXPECT_NEAR(AnalogValue(c3d, 0, f, 0), 2500, 0.01) << f;
    }
  }
  ASSERT_TRUE(FilterPointsFIR(doc, Request(FILTER_LPF, 6, 0, 20, {0})));
  for (int f = 0; f < 60; ++f) EXPECT_EQ(std::isnan(PointValue(c3d, 0, f, 0)), f == 30) << f;

  RunInterpolation(doc, INTERPOLATE_GAPS, 10, 0);
  for (int f = 10; f <= 13; ++f) EXPECT_NEAR(PointValue(c3d, 1, f, 0), cubic(f), 0.02) << f;

  // The other samples of channel 2 average 30, which moves to its offset 10.
  ZeroAnalogChannels(doc);
  EXPECT_TRUE(std::isnan(AnalogValue(c3d, 1, 7, 0)));
  EXPECT_EQ(AnalogValue(c3d, 1, 8, 0), 30.0f);
  EXPECT_EQ(AnalogValue(c3d, 1, 9, 0), -10.0f);
  EXPECT_EQ(AnalogValue(c3d, 1, 10, 0), 10.0f);
}

TEST_F(Processing, IntegerResultsBeyondSixteenBitsAreHeldAtTheLimit) {
  // A signal clipped at the top of the 16-bit range overshoots it when
  // filtered, and a spline across the top of a peak rises above it: those
  // samples must stay at 32767, not wrap round to large negative numbers.
  Make(CModelBuilder().Analogs(1).Points(1).Frames(30).SamplesPerFrame(10).FrameRate(100));
  CC3d& c3d = doc.m_c3d;
  SetList(c3d, "ANALOG", "OFFSET", PARAM_INTEGER, {0});
  SetList(c3d, "ANALOG", "SCALE", PARAM_FLOAT, {1});
  SetScalar(c3d, "ANALOG", "GEN_SCALE", PARAM_FLOAT, 1);
  for (int f = 0; f < 30; ++f) {
    for (int k = 0; k < 10; ++k) SetAnalogValue(c3d, 0, f, k, f < 10 ? 0 : 32767);
    // A steep tent that peaks in the gap at frames 8 to 10.
    const int x = 32730 - 390 * std::abs(f <= 7 ? 7 - f : f - 11);
    SetPointFrame(c3d, 0, f, x, 1000, 1000, f >= 8 && f <= 10 ? -1 : 0x0102);
  }
  ASSERT_TRUE(FilterAnalogButterworth(doc, Request(FILTER_LPF, 20, 0, 4, {0})));
  float top = 0;
  for (int f = 0; f < 30; ++f)
    for (int k = 0; k < 10; ++k) {
      ASSERT_GE(AnalogValue(c3d, 0, f, k), 0.0f) << f;
      top = std::max(top, AnalogValue(c3d, 0, f, k));
    }
  EXPECT_EQ(top, 32767.0f);

  RunInterpolation(doc, INTERPOLATE_GAPS, 10, 0);
  for (int f = 8; f <= 10; ++f) EXPECT_EQ(PointValue(c3d, 0, f, 0), 32767.0f) << f;
}

// ---- Zeroing and offsets ----------------------------------------------------

TEST_F(Processing, ForcePlateChannelsAreZeroedOverTheZeroRange) {
  Make(CModelBuilder().Analogs(16).Points(0).Frames(10).SamplesPerFrame(2));
  CC3d& c3d = doc.m_c3d;
  // A type-3 plate (8 channels), then a type-2 plate on CHANNEL entries 9-14.
  SetForcePlates(c3d, {3, 2}, {{1, 2, 3, 4, 5, 6, 7, 8}, {9, 10, 11, 12, 13, 14}});
  SetList(c3d, "FORCE_PLATFORM", "ZERO", PARAM_INTEGER, {1, 1});
  SetList(c3d, "ANALOG", "OFFSET", PARAM_INTEGER, std::vector<double>(16, 7));
  const std::vector<float> before = AllSamples(c3d);

  ASSERT_EQ(PrepareZeroForcePlates(doc), 2);
  EXPECT_EQ(ForcePlateNames(2), (std::vector<std::string>{"Force Plate 1", "Force Plate 2"}));
  RunZeroForcePlatesCommand(doc, {1});
  EXPECT_EQ(doc.m_nUndoKind, UNDO_ZERO_FP);
  for (int c = 0; c < 16; ++c) {
    // ZERO = 1, 1: the first sample alone is the baseline, moved to the offset.
    bool zeroed = c >= 8 && c < 14;
    float original = before[size_t(c * 20 + 5)];
    float first = before[size_t(c * 20)];
    EXPECT_EQ(AnalogValue(c3d, c, 2, 1), zeroed ? original - first + 7 : original) << c;
  }
  doc.OnEditUndo();
  EXPECT_EQ(AllSamples(c3d), before);

  // The batch form with all plates; then the checks that end the command.
  ZeroForcePlates(doc, true, {});
  EXPECT_EQ(AnalogValue(c3d, 0, 0, 0), 7.0f);
  EXPECT_EQ(AnalogValue(c3d, 15, 0, 0), before[15 * 20]);
  SetList(c3d, "FORCE_PLATFORM", "ZERO", PARAM_INTEGER, {5, 2});
  EXPECT_EQ(PrepareZeroForcePlates(doc), 0);
  SetList(c3d, "FORCE_PLATFORM", "ZERO", PARAM_INTEGER, {1});
  EXPECT_EQ(PrepareZeroForcePlates(doc), 0);
  DropParam(c3d, "FORCE_PLATFORM", "TYPE");
  EXPECT_EQ(PrepareZeroForcePlates(doc), 0);
  DropParam(c3d, "FORCE_PLATFORM", "USED");
  EXPECT_EQ(PrepareZeroForcePlates(doc), 0);
  EXPECT_EQ(Messages(), (std::vector<std::string>{
                            "Incorrect Zero Start and End Values",
                            "Could not find the FORCE_PLATFORM:ZERO parameter's second value",
                            "Could not find the FORCE_PLATFORM:TYPE parameter to determine type of plates used",
                            "Could not find the FORCE_PLATFORM:USED parameter to determine number of plates"}));
}

TEST_F(Processing, AnalogChannelsOtherThanForcePlatesGetAPhysicalMeanOfZero) {
  Make(CModelBuilder().Analogs(4).Points(0).Frames(10).SamplesPerFrame(2).Real());
  CC3d& c3d = doc.m_c3d;
  SetForcePlates(c3d, {2}, {{2, 0, 0, 0, 0, 0}});
  SetList(c3d, "ANALOG", "OFFSET", PARAM_INTEGER, {10, 10, 10, 10});
  const std::vector<float> before = AllSamples(c3d);
  OnZeroAnalogChannels(doc);
  EXPECT_EQ(doc.m_nUndoKind, UNDO_ZERO_ANALOG);
  for (int c = 0; c < 4; ++c) {
    double mean = 0;
    for (int i = 0; i < 20; ++i) mean += c3d.m_analogs[size_t(c)].Get(size_t(i)) / 20.0;
    if (c == 1) {
      EXPECT_EQ(c3d.m_analogs[1].Get(3), before[20 + 3]);
    } else {
      EXPECT_NEAR(mean, 10.0, 1e-3) << c;
    }
  }
  doc.OnEditUndo();
  EXPECT_EQ(AllSamples(c3d), before);
  // Without FORCE_PLATFORM:CHANNEL every channel is zeroed.
  DropParam(c3d, "FORCE_PLATFORM", "CHANNEL");
  ZeroAnalogChannels(doc);
  EXPECT_NE(c3d.m_analogs[1].Get(3), before[20 + 3]);
}

TEST_F(Processing, AnalogOffsetKeepsThePhysicalValues) {
  Make(CModelBuilder().Analogs(2).Points(0).Frames(5).SamplesPerFrame(1));
  CC3d& c3d = doc.m_c3d;
  SetList(c3d, "ANALOG", "OFFSET", PARAM_INTEGER, {2048, 2048});
  const std::vector<float> before = AllSamples(c3d);
  float first;
  bool differed;
  ASSERT_TRUE(PrepareAnalogOffset(doc, first, differed));
  EXPECT_EQ(first, 2048.0f);
  EXPECT_FALSE(differed);
  RunAnalogOffsetCommand(doc, 2048, first, differed);  // the same value: nothing
  EXPECT_FALSE(doc.IsModified());
  RunAnalogOffsetCommand(doc, 0, first, differed);
  EXPECT_EQ(doc.m_nUndoKind, UNDO_ANALOG_STORAGE);
  EXPECT_EQ(Values(c3d, "ANALOG", "OFFSET"), (std::vector<double>{0, 0}));
  for (size_t i = 0; i < before.size(); ++i) EXPECT_EQ(AllSamples(c3d)[i], before[i] - 2048);
  doc.OnEditUndo();
  EXPECT_EQ(AllSamples(c3d), before);
  EXPECT_EQ(Values(c3d, "ANALOG", "OFFSET"), (std::vector<double>{2048, 2048}));

  // Differing values ask first; only Yes goes on.
  SetList(c3d, "ANALOG", "OFFSET", PARAM_INTEGER, {0, 5});
  host.m_prompt.ExpectQuestion(CUserPrompt::ANSWER_CANCEL,
                               "This file has more than one value of ANALOG:OFFSET.  Would you like to continue?");
  EXPECT_FALSE(PrepareAnalogOffset(doc, first, differed));
  host.m_prompt.ExpectQuestion(CUserPrompt::ANSWER_YES);
  EXPECT_TRUE(PrepareAnalogOffset(doc, first, differed));
  EXPECT_TRUE(differed);

  // Real samples with an integer OFFSET parameter: a fractional offset is
  // held as a whole number, and the samples move by what the parameter holds.
  Make(CModelBuilder().Analogs(1).Points(0).Frames(5).SamplesPerFrame(1).Real());
  SetAnalogOffset(doc, 100.75f);
  EXPECT_EQ(Values(doc.m_c3d, "ANALOG", "OFFSET"), std::vector<double>{100});
  EXPECT_EQ(AnalogValue(doc.m_c3d, 0, 3, 0), AnalogPattern(0, 3, 0) + 100);

  DropParam(doc.m_c3d, "ANALOG", "OFFSET");
  EXPECT_FALSE(PrepareAnalogOffset(doc, first, differed));
  EXPECT_EQ(Messages(), std::vector<std::string>{"The parameter ANALOG:OFFSET cannot be found in the file"});
}

// ---- Real files -------------------------------------------------------------

TEST_F(Processing, RealFilesAreProcessedAndEveryCommandIsUndoneExactly) {
  REQUIRE_CORPUS();
  for (const char* name : {"btk_gait_dec_int.c3d", "auck_qualisys_dynamic.c3d"}) {
    SCOPED_TRACE(name);
    CEditorDoc* opened = host.OpenDocumentFile(CorpusFile(name));
    ASSERT_NE(opened, nullptr);
    CEditorDoc& real = *opened;
    CC3d& c3d = real.m_c3d;
    host.m_bEditMode = true;
    host.m_prompt.TakeMessages();

    // Dropouts knocked into a recorded trajectory come back close to the
    // recording: real markers move smoothly over a few frames.
    const int point = 0, from = c3d.FirstValidFrame(point) + 40;
    std::vector<float> recorded;
    for (int f = from; f < from + 4; ++f) {
      ASSERT_GE(c3d.GetResidual(point, f), 0.0f);
      for (int axis = 0; axis < 3; ++axis) recorded.push_back(PointValue(c3d, point, f, axis));
      c3d.SetResidual(point, f, -1.0f);
    }
    const std::vector<float> withGap = AllSamples(c3d);
    real.m_nSelNode = -3;
    real.m_nSelItem = point;
    CInterpolateRequest request = MakeInterpolateRequest(real);
    RunInterpolateCommand(real, request);
    const float unit = c3d.IsReal() ? 1.0f : c3d.m_header.m_fScale;  // mm per stored unit
    for (int f = from, i = 0; f < from + 4; ++f)
      for (int axis = 0; axis < 3; ++axis, ++i)
        EXPECT_NEAR(PointValue(c3d, point, f, axis) * unit, recorded[size_t(i)] * unit, 3.0) << f;
    real.OnEditUndo();
    EXPECT_EQ(AllSamples(c3d), withGap);
    for (int f = from; f < from + 4; ++f) c3d.SetResidual(point, f, 0.0f);
    const std::vector<float> original = AllSamples(c3d);

    auto undoRestores = [&](const char* what, const std::function<void()>& command) {
      SCOPED_TRACE(what);
      command();
      for (float v : AllSamples(c3d)) ASSERT_TRUE(std::isfinite(v));
      ASSERT_TRUE(real.CanUndo());
      real.OnEditUndo();
      EXPECT_EQ(AllSamples(c3d), original);
    };

    undoRestores("filter 3D", [&] {
      CFilterDialogState state = MakeFilterDialog(real, false);
      state.m_selected = {0, 1, 2, 3, 4, 5, 6, 7, 8, 9};
      SelectFilterKind(state, FILTER_FIR);
      ASSERT_TRUE(CheckFilterDialog(state, host.m_prompt));
      RunFilterCommand(real, state);
    });
    real.m_nSelNode = -2;
    undoRestores("filter analog", [&] {
      CFilterDialogState state = MakeFilterDialog(real, true);
      state.m_selected = {0, 1, 2, 3, 4, 5};
      state.m_fLowFreq = 20.0f;
      ASSERT_TRUE(CheckFilterDialog(state, host.m_prompt));
      RunFilterCommand(real, state);
    });
    undoRestores("zero analog", [&] { OnZeroAnalogChannels(real); });
    undoRestores("zero force plates", [&] {
      const int plates = PrepareZeroForcePlates(real);
      ASSERT_GT(plates, 0);
      RunZeroForcePlatesCommand(real, {0});
      // The first plate's channels now read zero on average over the range.
      CForcePlateZero zero;
      ASSERT_EQ(CheckForcePlateZero(c3d, zero), "");
      for (int element : ForcePlateChannelElements(c3d, 0)) {
        int channel = int(c3d.FindParam("FORCE_PLATFORM", "CHANNEL")->NumericValue(element)) - 1;
        double sum = 0;
        for (int i = zero.m_nStart; i <= zero.m_nEnd; ++i) sum += c3d.m_analogs[size_t(channel)].Get(size_t(i));
        EXPECT_NEAR(sum / (zero.m_nEnd - zero.m_nStart + 1), c3d.GetAnalogOffset(channel), 1.0) << channel;
      }
    });
    undoRestores("analog storage", [&] { RunAnalogOffsetCommand(real, 100.0f, 0.0f, true); });
    EXPECT_TRUE(host.m_prompt.TakeMessages().empty());
    host.CloseDocument(&real);
  }
}
