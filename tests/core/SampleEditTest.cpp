// Typing sample values into the point and analog lists.
#include <gtest/gtest.h>

#include "DocModel.h"
#include "FakeHost.h"
#include "document/ListContent.h"
#include "document/SampleEdit.h"

using namespace docmodel;

namespace {

class SampleEdit : public ::testing::Test {
 protected:
  void SetUp() override { Use(CModelSpec()); }
  void Use(const CModelSpec& spec) {
    BuildModel(doc.m_c3d, spec);
    doc.m_nListFirst = 0;
    doc.m_nListLast = doc.m_c3d.FrameCount() - 1;
    doc.SetModifiedFlag(false);
    host.m_bEditMode = true;
  }
  CListLayout Select(int node, int item) {
    doc.m_nSelNode = node;
    doc.m_nSelItem = item;
    return DescribeList(doc, true);
  }
  // Expects a refusal with exactly this message and no change.
  void ExpectRefused(const CListLayout& layout, int row, int column, const std::string& text,
                     const std::string& message) {
    std::vector<float> before = AllSamples(doc.m_c3d);
    EXPECT_FALSE(EditSampleCell(doc, layout, row, column, text)) << text;
    EXPECT_EQ(host.m_prompt.TakeMessages(), std::vector<std::string>{message}) << text;
    EXPECT_EQ(AllSamples(doc.m_c3d), before) << text;
    EXPECT_FALSE(doc.IsModified());
  }
  float Point(int point, int frame, int word) { return doc.m_c3d.m_points[point].Get(frame * 4 + word); }

  CFakeHost host;
  CEditorDoc doc{host};
};

}  // namespace

TEST_F(SampleEdit, OnlyInEditModeAndNeverForEmptyText) {
  CListLayout layout = Select(-2, 0);
  host.m_bEditMode = false;
  EXPECT_FALSE(EditSampleCell(doc, layout, 0, 1, "5"));
  host.m_bEditMode = true;
  EXPECT_FALSE(EditSampleCell(doc, layout, 0, 1, ""));
  EXPECT_FALSE(EditSampleCell(doc, layout, 0, 0, "5")) << "the frame column is not a sample";
  EXPECT_TRUE(host.m_prompt.m_messages.empty());
  EXPECT_FALSE(doc.IsModified());
}

TEST_F(SampleEdit, NumericTextRule) {
  CListLayout layout = Select(-2, 0);
  for (const char* text : {"abc", "1.2.3", "1-2", "+5", " 5", "1e3", "-", "."})
    ExpectRefused(layout, 0, 1, text, "Entered Value is not a valid numeric value");
  EXPECT_TRUE(EditSampleCell(doc, layout, 0, 1, ".5"));
  EXPECT_TRUE(EditSampleCell(doc, layout, 0, 1, "-3."));
}

TEST_F(SampleEdit, StoredValueMarksModifiedAndUpdatesViews) {
  struct CSpy : CDocView {
    void OnUpdate() override { ++m_nUpdates; }
    int m_nUpdates = 0;
  } view;
  doc.AddView(&view);
  CListLayout layout = Select(-2, 1);
  ASSERT_TRUE(EditSampleCell(doc, layout, 2, 2, "77"));
  EXPECT_EQ(doc.m_c3d.m_analogs[1].Get(5), 77.0f);
  EXPECT_TRUE(doc.IsModified());
  EXPECT_TRUE(doc.m_bDataChanged);
  EXPECT_EQ(view.m_nUpdates, 1);
  doc.RemoveView(&view);
}

TEST_F(SampleEdit, AnalogRoundingScalingAndRange) {
  CListLayout layout = Select(-2, 2);
  // Integer storage rounds halves upward.
  ASSERT_TRUE(EditSampleCell(doc, layout, 0, 1, "12.5"));
  EXPECT_EQ(doc.m_c3d.m_analogs[2].Get(0), 13.0f);
  ASSERT_TRUE(EditSampleCell(doc, layout, 0, 2, "12.49"));
  EXPECT_EQ(doc.m_c3d.m_analogs[2].Get(1), 12.0f);
  ASSERT_TRUE(EditSampleCell(doc, layout, 1, 1, "-2.5"));
  EXPECT_EQ(doc.m_c3d.m_analogs[2].Get(2), -2.0f);

  // Scaled entry: raw = value / (scale 1.5 x general scale 2) + offset 20.
  doc.m_bScaleAnalog = true;
  ASSERT_TRUE(EditSampleCell(doc, layout, 1, 2, "30"));
  EXPECT_EQ(doc.m_c3d.m_analogs[2].Get(3), 30.0f);
  EXPECT_EQ(ListCellText(doc, layout, 1, 2), "30.000");

  // Integer samples are signed 16-bit: beyond that they would wrap.
  doc.SetModifiedFlag(false);
  doc.m_bScaleAnalog = false;
  ExpectRefused(layout, 0, 1, "40000", "Entered value is beyond valid range for 16 bit integer");
  ExpectRefused(layout, 0, 1, "-32769", "Entered value is beyond valid range for 16 bit integer");
  EXPECT_TRUE(EditSampleCell(doc, layout, 0, 1, "-32768"));

  Use(CModelSpec{3, 2, 6, 2, true});
  layout = Select(-2, 2);
  ASSERT_TRUE(EditSampleCell(doc, layout, 0, 1, "12.5"));
  EXPECT_EQ(doc.m_c3d.m_analogs[2].Get(0), 12.5f);
  ASSERT_TRUE(EditSampleCell(doc, layout, 0, 1, "-70000.25"));
  EXPECT_EQ(doc.m_c3d.m_analogs[2].Get(0), -70000.25f);
}

TEST_F(SampleEdit, MaskEdits) {
  CListLayout layout = Select(-3, 0);
  ASSERT_TRUE(EditSampleCell(doc, layout, 0, POINT_COL_MASK, "101"));
  std::string mask;
  float residual = doc.m_c3d.GetCameraMask(0, 0, mask);
  EXPECT_EQ(mask, "1010000");
  EXPECT_EQ(residual, 1.0f) << "the residual is kept";
  EXPECT_EQ(ListCellText(doc, layout, 0, POINT_COL_MASK), "1010000");

  doc.SetModifiedFlag(false);
  ExpectRefused(layout, 0, POINT_COL_MASK, "10101010", "The length of the mask should not be greater than 7");
  ExpectRefused(layout, 0, POINT_COL_MASK, "102", "You can enter only 0's or 1's in the mask");
  ExpectRefused(layout, 0, POINT_COL_MASK, "1x", "Entered Value is not a valid numeric value");
}

TEST_F(SampleEdit, ResidualEdits) {
  CListLayout layout = Select(-3, 1);
  ASSERT_TRUE(EditSampleCell(doc, layout, 0, POINT_COL_RESIDUAL, "-1"));
  EXPECT_LT(Point(1, 0, 3), 0.0f) << "-1 makes the sample invalid";
  EXPECT_EQ(ListCellText(doc, layout, 0, POINT_COL_RESIDUAL), "-1.000");
  ASSERT_TRUE(EditSampleCell(doc, layout, 2, POINT_COL_RESIDUAL, "1.5"));
  EXPECT_EQ(doc.m_c3d.GetResidual(1, 2), 1.5f);

  doc.SetModifiedFlag(false);
  ExpectRefused(layout, 0, POINT_COL_RESIDUAL, "-2", "Entered value is beyond valid range for 16 bit Integer");
  ExpectRefused(layout, 0, POINT_COL_RESIDUAL, "65536", "Entered value is beyond valid range for 16 bit Integer");
  Use(CModelSpec{3, 2, 6, 2, true});
  layout = Select(-3, 1);
  ExpectRefused(layout, 0, POINT_COL_RESIDUAL, "-0.5",
                "Entered value is beyond valid range for unsigned 16 bit Integer");
}

TEST_F(SampleEdit, CoordinatesScaledUnscaledAndLimited) {
  CListLayout layout = Select(-3, 0);
  // Scaled (working scale 0.5): 100 real units store 200 counts.
  ASSERT_TRUE(EditSampleCell(doc, layout, 1, POINT_COL_X, "100"));
  EXPECT_EQ(Point(0, 1, 0), 200.0f);
  EXPECT_EQ(ListCellText(doc, layout, 1, POINT_COL_X), "100.000");
  // Unscaled: the counts as typed; negative coordinates are ordinary values.
  doc.m_bScale3D = false;
  ASSERT_TRUE(EditSampleCell(doc, layout, 1, POINT_COL_Y, "-300"));
  EXPECT_EQ(Point(0, 1, 1), -300.0f);
  EXPECT_EQ(Point(0, 1, 3), PointValue(0, 1, 3)) << "the residual word is untouched";

  doc.SetModifiedFlag(false);
  ExpectRefused(layout, 1, POINT_COL_Z, "40000", "Entered value is beyond valid range for 16 bit Integer");
  doc.m_bScale3D = true;
  ExpectRefused(layout, 1, POINT_COL_Z, "20000", "Entered value is beyond valid range for 16 bit Integer");

  // SEG:DATA_LIMITS: lower X, Y, Z then upper X, Y, Z, in real units.
  doc.m_c3d.m_groups.push_back(CGroup{"SEG", false, -7, ""});
  doc.m_c3d.m_params.push_back(
      NumericParam("DATA_LIMITS", 7, PARAM_FLOAT, {3, 2}, {-10, -20, -30, 10, 20, 30}));
  ExpectRefused(layout, 0, POINT_COL_Y, "-20.5",
                "You must increase the DATA_LIMITS before entering co-ordinates less than -20.000");
  ExpectRefused(layout, 0, POINT_COL_Z, "31",
                "You must increase the DATA_LIMITS before entering co-ordinates greater than 30.000");
  doc.m_bScale3D = false;  // 50 counts are 25 real units: above the X limit of 10
  ExpectRefused(layout, 0, POINT_COL_X, "50",
                "You must increase the DATA_LIMITS before entering co-ordinates greater than 10.000");
  EXPECT_TRUE(EditSampleCell(doc, layout, 0, POINT_COL_X, "20"));

  Use(CModelSpec{3, 2, 6, 2, true});
  layout = Select(-3, 0);
  ASSERT_TRUE(EditSampleCell(doc, layout, 0, POINT_COL_Z, "1234.5"));
  EXPECT_EQ(Point(0, 0, 2), 1234.5f);
}
