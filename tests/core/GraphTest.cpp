// The graph view without a window: the horizontal fit and its limits, the
// value-to-height mapping, hit tests, the Graph Scales checks, what a
// channel's graph holds, the reduced trace, and the graph's own commands
// (value drag, Delete and Fill) with their undo.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <map>

#include "DocModel.h"
#include "FakeHost.h"
#include "ModelFixture.h"
#include "document/GraphCommands.h"
#include "document/GraphContent.h"
#include "document/GraphGeometry.h"

using namespace docmodel;

TEST(GraphGeometry, HorizontalFitAndStepLimits) {
  CGraphScale scale;
  // Fitted: 1200 units of client less 200 over 100 frames, or 1000 samples.
  FitHorizontal(scale, 100, 10, false, true, 1200);
  EXPECT_FLOAT_EQ(scale.m_fVideoStep, 10.0f);
  EXPECT_FLOAT_EQ(scale.m_fAnalogStep, 10.0f);
  FitHorizontal(scale, 100, 10, true, true, 1200);
  EXPECT_FLOAT_EQ(scale.m_fAnalogStep, 1.0f);
  // A ratio of 0 plots one sample per frame.
  FitHorizontal(scale, 100, 0, true, true, 1200);
  EXPECT_FLOAT_EQ(scale.m_fAnalogStep, 10.0f);
  // A client narrower than the margins still gives a positive step.
  FitHorizontal(scale, 100, 1, false, true, 150);
  EXPECT_GT(scale.m_fVideoStep, 0.0f);

  // Not fitted: only lowered to 31800 units in all.
  scale = CGraphScale();
  scale.m_fVideoStep = 20;
  scale.m_fAnalogStep = 1;
  FitHorizontal(scale, 2000, 10, false, false, 1200);
  EXPECT_FLOAT_EQ(scale.m_fVideoStep, 15.9f);
  EXPECT_FLOAT_EQ(scale.m_fAnalogStep, 1.0f) << "31800 / 20000 = 1.59 is above 1";
  FitHorizontal(scale, 65000, 10, true, false, 1200);
  EXPECT_FLOAT_EQ(scale.m_fAnalogStep, 31800.0f / 650000.0f);

  const std::pair<int, int> ticks[] = {{1, 10}, {100, 10}, {101, 50}, {450, 50}, {451, 100}};
  for (auto [frames, tick] : ticks) {
    FitHorizontal(scale, frames, 1, false, false, 800);
    EXPECT_EQ(scale.m_nTick, tick) << frames;
  }
}

TEST(GraphGeometry, ValueHeightsAndHits) {
  // Analog plot of depth 200: bottom line at -275.
  const CGraphRect plot = AnalogPlotRect(50, 2.0f, 200);
  EXPECT_EQ(plot.m_fLeft, 100);
  EXPECT_EQ(plot.m_fRight, 200);
  EXPECT_EQ(plot.m_fTop, -75);
  EXPECT_EQ(plot.m_fBottom, -275);
  EXPECT_EQ(ValueToY(-10, -10, 10, -275, 200), -275);
  EXPECT_EQ(ValueToY(10, -10, 10, -275, 200), -75);
  EXPECT_EQ(ValueToY(2.5, -10, 10, -275, 200), -150);
  EXPECT_EQ(ValueToY(2.56, -10, 10, -275, 200), -149) << "rounded to whole units";
  EXPECT_EQ(ValueToY(7, 7, 7, -275, 200), -175) << "a flat channel lies halfway up";
  EXPECT_DOUBLE_EQ(YToValue(-150, -10, 10, -275, 200), 2.5);
  EXPECT_DOUBLE_EQ(YToValue(-20, -10, 10, -275, 200), 10) << "held to the plot";
  EXPECT_DOUBLE_EQ(YToValue(-400, -10, 10, -275, 200), -10);

  // 3D graphs are stacked with a title band between them.
  const CGraphRect z = VideoPlotRect(2, 10, 3.0f, 100);
  EXPECT_EQ(z.m_fTop, -75 - 2 * 175);
  EXPECT_EQ(z.m_fBottom, -525);
  EXPECT_EQ(z.m_fRight, 130);

  // Frames under x: 10 samples per frame at half a unit each.
  EXPECT_EQ(FrameAtX(100, 0.5f, 10, 20), 0);
  EXPECT_EQ(FrameAtX(124.9, 0.5f, 10, 20), 4);
  EXPECT_EQ(FrameAtX(125, 0.5f, 10, 20), 5);
  EXPECT_EQ(FrameAtX(400, 0.5f, 10, 20), 19) << "held to the last frame";
  EXPECT_EQ(FrameAtX(99, 0.5f, 10, 20), -1);
  EXPECT_DOUBLE_EQ(FrameX(5, 0.5f, 10), 125);

  const CGraphRect marker = MarkerRect(125, -150);
  EXPECT_TRUE(marker.Contains(122, -147));
  EXPECT_FALSE(marker.Contains(121.9, -150));
}

TEST(GraphGeometry, ScalesDialogChecksInOrder) {
  CGraphScale scale;
  scale.m_nAnalogDepth = 250;
  CGraphScalesRequest request(scale, 1, 101, 10);  // 99 frame intervals, 990 samples
  EXPECT_DOUBLE_EQ(request.m_fAnalogDepth, 2.5);
  EXPECT_EQ(request.VideoDistanceLimits(), "Minimum=1.0000 and Maximum=321.2121 pixels( or 3.2121 inches)");
  EXPECT_EQ(request.AnalogDistanceLimits(), "Minimum=1.0000 and Maximum=32.1212 pixels( or 0.3212 inches)");
  EXPECT_EQ(CGraphScalesRequest::InchesText(2), "= 0.0200 inches");
  EXPECT_EQ(CGraphScalesRequest::AnalogDepthLimits(), "Minimum=1 and Maximum=317 inches");
  EXPECT_EQ(CGraphScalesRequest::VideoDepthLimits(), "Minimum=1 and Maximum=105 inches");
  CGraphScalesRequest longFile(scale, 1, 65000, 10);
  EXPECT_EQ(longFile.AnalogDistanceLimits().substr(0, 16), "Minimum=0.0049 a") << "a tenth of the maximum";

  CRecordingPrompt prompt;
  auto check = [&](double ad, double vd, double adepth, double vdepth) {
    CGraphScalesRequest r(scale, 1, 101, 10);
    r.m_fAnalogDistance = ad;
    r.m_fVideoDistance = vd;
    r.m_fAnalogDepth = adepth;
    r.m_fVideoDepth = vdepth;
    prompt.m_messages.clear();
    const bool ok = r.Ok(prompt);
    return std::make_pair(ok, prompt.m_messages.empty() ? std::string() : prompt.m_messages[0]);
  };
  using Result = std::pair<bool, std::string>;
  EXPECT_EQ(check(-2, -3, 1, 1), Result(true, ""));
  EXPECT_EQ(check(0, 3, 1, 1), Result(false, "")) << "a zero distance does nothing";
  EXPECT_EQ(check(32.2, 400, 1, 1),
            Result(false, "The value of the distance between pixels chosen for analog data is too large"));
  EXPECT_EQ(check(32.1, 321.3, 1, 1),
            Result(false, "The value of the distance between pixels chosen for video data is too large"));
  EXPECT_EQ(check(1, 1, 0.5, 1000), Result(false, ""));
  EXPECT_EQ(check(1, 1, 317, 1), Result(false, "The depth of the graph for analog data is too large"));
  EXPECT_EQ(check(1, 1, 316, 0), Result(false, ""));
  EXPECT_EQ(check(1, 1, 316, 106), Result(false, "The depth of the graph for video data is too large"));
  EXPECT_EQ(check(1, 1, 316, 105), Result(true, ""));

  CGraphScalesRequest accepted(scale, 1, 101, 10);
  accepted.m_fAnalogDistance = 0.25;
  accepted.m_fVideoDepth = 1.5;
  accepted.ApplyTo(scale);
  EXPECT_FLOAT_EQ(scale.m_fAnalogStep, 0.25f);
  EXPECT_EQ(scale.m_nVideoDepth, 150);
}

namespace {

class GraphDoc : public ::testing::Test {
 protected:
  void Use(int frames, int ratio, bool real = false) {
    testsupport::CModelBuilder().Points(2).Analogs(2).Frames(frames).SamplesPerFrame(ratio).Real(real)
        .Scale(real ? -0.5f : 0.5f).FrameRate(100).BuildInto(doc.m_c3d);
    doc.SetModifiedFlag(false);
    host.m_bEditMode = true;
    ASSERT_TRUE(doc.m_undoFile.Create());
  }
  CGraphLayout Select(int node, int item) {
    doc.m_nSelNode = node;
    doc.m_nSelItem = item;
    return DescribeGraph(doc, scale);
  }
  CAnalog& Analog(int c) { return doc.m_c3d.m_analogs[static_cast<size_t>(c)]; }
  CVideo& Point(int p) { return doc.m_c3d.m_points[static_cast<size_t>(p)]; }

  CFakeHost host;
  CEditorDoc doc{host};
  CGraphScale scale;
};

}  // namespace

TEST_F(GraphDoc, AnalogGraphTitleRangeLabelsAndTicks) {
  Use(120, 4);
  // Channel 2: samples 1000 + 10 f + k; the first of each frame spans
  // 1000 .. 2190, all samples 1000 .. 2193.
  CGraphLayout layout = Select(-2, 1);
  ASSERT_EQ(layout.m_kind, GraphKind::Analog);
  ASSERT_EQ(layout.m_panels.size(), 1u);
  const CGraphPanel& panel = layout.m_panels[0];
  EXPECT_EQ(panel.m_strTitle, "Channel : A2");
  EXPECT_EQ(panel.m_strMax, "2.19e+03");
  EXPECT_EQ(panel.m_strMin, "1.00e+03");
  EXPECT_EQ(panel.m_strGrid[1], "1.48e+03");  // 1000 + 0.4 x 1190
  EXPECT_EQ(layout.m_nPoints, 120);
  EXPECT_EQ(panel.m_plot.m_fRight, 220);
  EXPECT_EQ(panel.m_plot.m_fBottom, -275);
  EXPECT_EQ(layout.m_fWidth, 270);
  EXPECT_EQ(layout.m_fHeight, 325);
  // Ticks every 50 frames and at the last; with one unit per frame only
  // every other label has room.
  scale.m_nTick = 50;
  layout = Select(-2, 1);
  ASSERT_EQ(layout.m_ticks.size(), 4u);
  EXPECT_EQ(layout.m_ticks[1].m_fX, 150);
  EXPECT_EQ(layout.m_ticks[0].m_strLabel, "1");
  EXPECT_EQ(layout.m_ticks[1].m_strLabel, "");
  EXPECT_EQ(layout.m_ticks[2].m_strLabel, "101");
  EXPECT_EQ(layout.m_ticks[3].m_fX, 219);
  EXPECT_EQ(layout.m_ticks[3].m_strLabel, "");

  // Sub frames: four samples per frame, the full range, frame numbers of
  // the samples' frames.
  doc.m_bShowSubFrames = true;
  scale.m_fAnalogStep = 0.5f;
  layout = Select(-2, 1);
  EXPECT_EQ(layout.m_nPoints, 480);
  EXPECT_EQ(layout.m_panels[0].m_strMax, "2.19e+03");
  EXPECT_EQ(layout.m_panels[0].m_fMax, 2193);
  EXPECT_EQ(layout.m_ticks[1].m_fX, 200);
  EXPECT_EQ(layout.m_ticks[1].m_strLabel, "51");
  EXPECT_EQ(layout.FrameAt(200), 50);

  // Scale Data: (raw - offset) x scale x general scale, bounds swapped by a
  // negative scale.
  testsupport::SetList(doc.m_c3d, "ANALOG", "SCALE", PARAM_FLOAT, {1.0, -0.5});
  testsupport::SetList(doc.m_c3d, "ANALOG", "OFFSET", PARAM_INTEGER, {0.0, 1000.0});
  doc.m_bScaleAnalog = true;
  layout = Select(-2, 1);
  EXPECT_DOUBLE_EQ(layout.m_panels[0].m_fMin, -596.5);
  EXPECT_DOUBLE_EQ(layout.m_panels[0].m_fMax, 0);
  EXPECT_EQ(layout.m_panels[0].Y(1000), layout.m_panels[0].m_plot.m_fTop);

  EXPECT_TRUE(Select(-2, -4).IsEmpty());
  EXPECT_TRUE(Select(-1, 0).IsEmpty());
  EXPECT_TRUE(Select(-2, 2).IsEmpty());
}

TEST_F(GraphDoc, PointGraphsStackedWithScaledLabels) {
  Use(10, 1);
  scale.m_nVideoDepth = 100;
  scale.m_fVideoStep = 3;
  doc.m_bScale3D = false;
  CGraphLayout layout = Select(-3, 1);
  ASSERT_EQ(layout.m_panels.size(), 3u);
  EXPECT_EQ(layout.m_panels[0].m_strTitle, "Channel : P2 X");
  EXPECT_EQ(layout.m_panels[2].m_strTitle, "Channel : P2 Z");
  EXPECT_EQ(layout.m_panels[1].m_plot.m_fTop, -250);
  // Point 2, Z: 1003 .. 1093; shown raw ("%.0f") or times the scale 0.5.
  EXPECT_EQ(layout.m_panels[2].m_strMax, "1093");
  doc.m_bScale3D = true;
  layout = Select(-3, 1);
  EXPECT_EQ(layout.m_panels[2].m_strMax, "546.50");
  EXPECT_EQ(layout.m_fHeight, 525 + 50);
  // Without labels the point's number stands in.
  testsupport::DropParam(doc.m_c3d, "POINT", "LABELS");
  EXPECT_EQ(Select(-3, 1).m_panels[0].m_strTitle, "Channel : 2 X");
}

TEST_F(GraphDoc, SamplesThatAreNoNumberStayOutOfRangeAndTrace) {
  // Real storage, values not scaled; the very first value of each graph is
  // no number, which must not make its range (and labels) no number, nor
  // draw a line off the plot.
  Use(10, 2, true);
  doc.m_bScaleAnalog = doc.m_bScale3D = false;
  for (size_t i = 0; i < Analog(0).Size(); ++i) Analog(0).Set(i, static_cast<double>(i));
  Analog(0).Set(0, std::nan(""));
  for (int f = 0; f < 10; ++f) testsupport::SetPointFrame(doc.m_c3d, 0, f, 10 + f, 0, 0, 0);
  Point(0).Set(0, std::nan(""));
  CGraphLayout layout = Select(-2, 0);
  EXPECT_EQ(layout.m_panels[0].m_fMin, 2);  // first samples of frames 1 .. 9
  EXPECT_EQ(layout.m_panels[0].m_fMax, 18);
  doc.m_bShowSubFrames = true;
  EXPECT_EQ(Select(-2, 0).m_panels[0].m_fMin, 1);
  Analog(0).Set(9, std::nan(""));
  for (float step : {10.0f, 0.05f}) {  // a vertex per sample, and per pixel column
    scale.m_fAnalogStep = step;
    layout = Select(-2, 0);
    const CGraphRect& plot = layout.m_panels[0].m_plot;
    const CTrace trace = BuildTrace(doc, layout, 0, 0, 1000, 1);
    ASSERT_EQ(trace.size(), 2u) << step;
    for (const auto& line : trace)
      for (const CTracePoint& p : line) EXPECT_TRUE(p.m_nY >= plot.m_fBottom && p.m_nY <= plot.m_fTop) << step;
  }
  layout = Select(-3, 0);
  EXPECT_EQ(layout.m_panels[0].m_fMin, 11);
  EXPECT_EQ(layout.m_panels[0].m_fMax, 19);
  EXPECT_EQ(layout.m_panels[0].m_strMax, "19.00") << "real samples keep their decimals unscaled too";
  scale.m_fVideoStep = 10;
  layout = Select(-3, 0);
  const CTrace trace = BuildTrace(doc, layout, 0, 0, 1000, 1);
  ASSERT_EQ(trace.size(), 1u);
  EXPECT_EQ(trace[0].front().m_fX, 110);
  double value = 0;
  EXPECT_FALSE(FrameValue(doc, layout, 0, 0, value)) << "no marker on a sample that is no number";
}

TEST_F(GraphDoc, ReducedTraceDrawsWhatTheFullPolylineDraws) {
  // 2000 frames x 10 samples of a wandering signal, 0.05 units apart, drawn
  // at 0.96 pixels per unit: about 19 samples per pixel column.
  Use(2000, 10);
  CAnalog& store = Analog(0);
  for (size_t i = 0; i < store.Size(); ++i)
    store.Set(i, std::lround(3000 * std::sin(i * 0.001) + 500 * std::sin(i * 0.37)));
  doc.m_bShowSubFrames = true;
  scale.m_fAnalogStep = 0.05f;
  CGraphLayout layout = Select(-2, 0);
  const double unitsPerPixel = 1 / 0.96;
  const double x0 = 300, x1 = 600;
  CTrace reduced = BuildTrace(doc, layout, 0, x0, x1, unitsPerPixel);
  CTrace full = BuildTrace(doc, layout, 0, x0, x1, 0.01);  // every sample
  ASSERT_EQ(reduced.size(), 1u);
  ASSERT_EQ(full.size(), 1u);
  EXPECT_LT(reduced[0].size(), full[0].size() / 4);

  // Every pixel column covers the same heights either way.
  std::map<long, std::pair<int, int>> fullSpan, reducedSpan;
  auto span = [&](std::map<long, std::pair<int, int>>& into, const std::vector<CTracePoint>& line) {
    for (const CTracePoint& p : line) {
      const long column = static_cast<long>(std::floor((p.m_fX - x0) / unitsPerPixel));
      auto [it, added] = into.emplace(column, std::make_pair(p.m_nY, p.m_nY));
      it->second.first = std::min(it->second.first, p.m_nY);
      it->second.second = std::max(it->second.second, p.m_nY);
    }
  };
  span(fullSpan, full[0]);
  span(reducedSpan, reduced[0]);
  EXPECT_EQ(fullSpan, reducedSpan);
  EXPECT_LE(full[0].front().m_fX, x0);
  EXPECT_GE(full[0].back().m_fX, x1);

  // Wide steps: one vertex per visible sample, at the sample's place.
  scale.m_fAnalogStep = 4;
  layout = Select(-2, 0);
  CTrace exact = BuildTrace(doc, layout, 0, 100, 140, unitsPerPixel);
  ASSERT_EQ(exact.size(), 1u);
  ASSERT_EQ(exact[0].size(), 12u);  // samples 0 .. 11
  EXPECT_EQ(exact[0][3].m_fX, 112);
  EXPECT_EQ(exact[0][3].m_nY, layout.m_panels[0].Y(store.Get(3)));
}

TEST_F(GraphDoc, PointTraceBreaksAtInvalidFrames) {
  Use(10, 1, true);
  Point(0).Set(4 * 4 + 3, -1.0f);
  Point(0).Set(5 * 4 + 3, -0.5f);  // truncates to 0: valid
  scale.m_fVideoStep = 10;
  CGraphLayout layout = Select(-3, 0);
  CTrace trace = BuildTrace(doc, layout, 1, 0, 1000, 1);
  ASSERT_EQ(trace.size(), 2u);
  EXPECT_EQ(trace[0].size(), 4u);
  EXPECT_EQ(trace[1].front().m_fX, 150);
  double value = 0;
  EXPECT_FALSE(FrameValue(doc, layout, 1, 4, value));
  EXPECT_TRUE(FrameValue(doc, layout, 1, 5, value));
  EXPECT_EQ(value, testsupport::PointPattern(0, 5, 1));
}

TEST(GraphSelection, DoubleClicks) {
  CGraphSelection sel;
  EXPECT_FALSE(sel.DoubleClick(4, true)) << "Control needs a first frame";
  EXPECT_TRUE(sel.IsEmpty());
  sel.DoubleClick(7, false);
  EXPECT_TRUE(sel.IsSingle());
  sel.DoubleClick(3, true);
  EXPECT_EQ(sel.Frames(), (std::vector<int>{3, 4, 5, 6, 7}));
  sel.DoubleClick(7, true);
  EXPECT_TRUE(sel.IsSingle()) << "the same frame twice is one frame";
  sel.DoubleClick(2, false);
  EXPECT_EQ(sel.m_nSecond, -1);
  sel.Validate(3);
  EXPECT_EQ(sel.m_nFirst, 2);
  sel.Validate(2);
  EXPECT_TRUE(sel.IsEmpty());
}

TEST_F(GraphDoc, DraggedAnalogValueSetsTheWholeFrameAndUndoes) {
  Use(20, 10);
  doc.m_bScaleAnalog = true;
  testsupport::SetList(doc.m_c3d, "ANALOG", "SCALE", PARAM_FLOAT, {2.0, 1.0});
  testsupport::SetList(doc.m_c3d, "ANALOG", "OFFSET", PARAM_INTEGER, {100.0, 0.0});
  CGraphLayout layout = Select(-2, 0);
  const CGraphPanel panel = layout.m_panels[0];
  // Raw 0 .. 199 (first samples 0 .. 190) shown as -200 .. 180; halfway up
  // is -10, stored as -10 / 2 + 100 = 95.
  const std::vector<float> before = AllSamples(doc.m_c3d);
  ASSERT_TRUE(DropDraggedValue(doc, layout, 0, 3, panel.m_plot.m_fBottom + 100));
  for (int s = 0; s < 10; ++s) EXPECT_EQ(Analog(0).Get(30 + s), 95) << s;
  EXPECT_EQ(Analog(0).Get(40), 40);
  EXPECT_EQ(doc.m_nUndoKind, UNDO_VALUES);
  EXPECT_TRUE(doc.IsModified());
  doc.OnEditUndo();
  EXPECT_EQ(AllSamples(doc.m_c3d), before);

  // A channel of scale 0 shows a flat line: a drag there changes nothing.
  testsupport::SetList(doc.m_c3d, "ANALOG", "SCALE", PARAM_FLOAT, {2.0, 0.0});
  doc.SetModifiedFlag(false);
  layout = Select(-2, 1);
  EXPECT_FALSE(DropDraggedValue(doc, layout, 0, 3, layout.m_panels[0].m_plot.m_fBottom + 150));
  EXPECT_EQ(AllSamples(doc.m_c3d), before);
  EXPECT_FALSE(doc.IsModified());
}

TEST_F(GraphDoc, DraggedPointCoordinateIsRoundedAndUnscaled) {
  Use(10, 1);
  doc.m_bScale3D = true;
  CGraphLayout layout = Select(-3, 1);
  // Y of point 2: raw 1002 .. 1092, shown x 0.5 as 501 .. 546; a height of
  // 0.3 of the depth is 514.5, raw 1029.
  const CGraphPanel& panel = layout.m_panels[1];
  ASSERT_TRUE(DropDraggedValue(doc, layout, 1, 6, panel.m_plot.m_fBottom + 30));
  EXPECT_EQ(Point(1).Get(6 * 4 + 1), 1029);
  EXPECT_EQ(Point(1).Get(6 * 4 + 0), testsupport::PointPattern(1, 6, 0)) << "only the dragged coordinate changes";
  doc.OnEditUndo();
  EXPECT_EQ(Point(1).Get(6 * 4 + 1), testsupport::PointPattern(1, 6, 1));
}

TEST_F(GraphDoc, DeleteAndFillClipsAnalogSpikesToTheMean) {
  Use(10, 2);
  CAnalog& store = Analog(0);
  for (size_t i = 0; i < store.Size(); ++i) store.Set(i, 10);
  // Samples 4 .. 10 (frames 2 .. 5, first samples): 10 10 10 80 10 10 -4.
  store.Set(7, 80);
  store.Set(10, -4);
  store.Set(11, 500);  // beyond the range's last sample
  doc.m_nSelNode = -2;
  doc.m_nSelItem = 0;
  CGraphSelection sel;
  sel.DoubleClick(5, false);
  sel.DoubleClick(2, true);
  const std::vector<float> before = AllSamples(doc.m_c3d);
  ASSERT_TRUE(DeleteAndFill(doc, sel));
  // Mean 18, limit min(62, 22) = 22: 80 goes, -4 (22 away) stays.
  EXPECT_EQ(store.Get(7), 18);
  EXPECT_EQ(store.Get(10), -4);
  EXPECT_EQ(store.Get(11), 500);
  EXPECT_EQ(doc.m_nUndoKind, UNDO_DELETE_AND_FILL);
  doc.OnEditUndo();
  EXPECT_EQ(AllSamples(doc.m_c3d), before);

  // A range from frame 0 is left alone.
  sel.DoubleClick(0, false);
  sel.DoubleClick(3, true);
  doc.SetModifiedFlag(false);
  EXPECT_FALSE(DeleteAndFill(doc, sel));
  EXPECT_FALSE(doc.IsModified());
  EXPECT_EQ(doc.m_nUndoKind, UNDO_NONE);

  // In real storage a sample that is no number neither spoils the mean
  // (which would leave every spike in place) nor stays.
  Use(10, 2, true);
  for (size_t i = 0; i < Analog(0).Size(); ++i) Analog(0).Set(i, 10);
  Analog(0).Set(7, 80);
  Analog(0).Set(10, -4);
  Analog(0).Set(5, std::nan(""));
  sel.DoubleClick(5, false);
  sel.DoubleClick(2, true);
  ASSERT_TRUE(DeleteAndFill(doc, sel));
  // Mean of the six numbers 116 / 6, limit min(80 - mean, mean + 4).
  EXPECT_FLOAT_EQ(Analog(0).Get(7), 116.0f / 6);
  EXPECT_FLOAT_EQ(Analog(0).Get(5), 116.0f / 6);
  EXPECT_EQ(Analog(0).Get(10), -4);
}

TEST_F(GraphDoc, DeleteAndFillSplinesAPointThroughTheFramesAround) {
  // 22 frames at 100 Hz; the knots are frames 0 .. 19 outside the range.
  // Y follows a cubic with zero slope at frames 0 and 19, which the spline
  // (zero end slopes) reproduces; X is constant.
  Use(22, 1, true);
  auto smooth = [](int f) {
    const double u = f / 19.0;
    return 1000 * (3 * u * u - 2 * u * u * u);
  };
  CVideo& store = Point(0);
  for (int f = 0; f < 22; ++f) testsupport::SetPointFrame(doc.m_c3d, 0, f, 500, smooth(f), 7, 0x0305);
  for (int f = 8; f <= 12; ++f) testsupport::SetPointFrame(doc.m_c3d, 0, f, 9999, -9999, 7, -1);
  testsupport::SetPointFrame(doc.m_c3d, 0, 3, 0, 0, 0, -1);  // a gap is no knot
  doc.m_nSelNode = -3;
  doc.m_nSelItem = 0;
  CGraphSelection sel;
  sel.DoubleClick(12, false);
  sel.DoubleClick(8, true);
  const std::vector<float> before = AllSamples(doc.m_c3d);
  ASSERT_TRUE(DeleteAndFill(doc, sel));
  for (int f = 8; f <= 12; ++f) {
    EXPECT_NEAR(store.Get(f * 4 + 0), 500, 1e-3) << f;
    EXPECT_NEAR(store.Get(f * 4 + 1), smooth(f), 1e-2) << f;
    EXPECT_EQ(store.Get(f * 4 + 3), 0) << "valid, no cameras";
  }
  EXPECT_EQ(store.Get(3 * 4 + 3), -1) << "frames outside the range keep their words";
  EXPECT_EQ(doc.m_nUndoKind, UNDO_DELETE_AND_FILL);
  doc.OnEditUndo();
  EXPECT_EQ(AllSamples(doc.m_c3d), before);

  // A range into the last two frames fills only up to frame 19; one that
  // starts at the first frame is left alone.
  sel.DoubleClick(18, false);
  sel.DoubleClick(21, true);
  ASSERT_TRUE(DeleteAndFill(doc, sel));
  EXPECT_EQ(store.Get(20 * 4 + 3), 0x0305);
  EXPECT_EQ(store.Get(19 * 4 + 3), 0);
  sel.DoubleClick(0, false);
  doc.SetModifiedFlag(false);
  EXPECT_FALSE(DeleteAndFill(doc, sel));
  EXPECT_FALSE(doc.IsModified());
}

TEST_F(GraphDoc, DeleteAndFillSkipsNoNumberKnotsAndHoldsIntegersInRange) {
  // Integer storage: Y jumps from 0 to the top of the 16-bit range round
  // the range 8 .. 12, so the spline bulges above 32767 between the knots.
  Use(22, 1);
  CVideo& store = Point(0);
  for (int f = 0; f < 22; ++f) {
    const bool high = f >= 7 && f <= 13;
    testsupport::SetPointFrame(doc.m_c3d, 0, f, 100, high ? 32767 : 0, 7, 0x0305);
  }
  doc.m_nSelNode = -3;
  doc.m_nSelItem = 0;
  CGraphSelection sel;
  sel.DoubleClick(8, false);
  sel.DoubleClick(12, true);
  ASSERT_TRUE(DeleteAndFill(doc, sel));
  for (int f = 8; f <= 12; ++f) EXPECT_GT(store.Get(f * 4 + 1), 30000) << "held, not wrapped: frame " << f;
  EXPECT_EQ(store.Get(10 * 4 + 1), 32767);

  // Real storage: a knot whose X is no number is left out of the spline.
  Use(22, 1, true);
  CVideo& real = Point(0);
  for (int f = 0; f < 22; ++f) testsupport::SetPointFrame(doc.m_c3d, 0, f, 500, 20, 7, 0x0305);
  real.Set(4 * 4 + 0, std::nan(""));
  ASSERT_TRUE(DeleteAndFill(doc, sel));
  for (int f = 8; f <= 12; ++f) EXPECT_NEAR(real.Get(f * 4 + 0), 500, 1e-3) << f;
  EXPECT_TRUE(std::isnan(real.Get(4 * 4 + 0))) << "the frame outside the range keeps its value";
}
