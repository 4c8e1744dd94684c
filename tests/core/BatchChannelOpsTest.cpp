// Batch operations "Analog" and "Video": the keys' rules, and that they make
// the same channels as the menu commands.
#include <gtest/gtest.h>

#include "EditFixture.h"
#include "app/BatchRun.h"

using namespace edittest;

namespace {

class BatchChannelOps : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_NE(f.OpenBuilt(StandardFile(false, 3, 12)), nullptr); }
  // Runs the operations (one section body each) on the document.
  void Run(const std::vector<std::string>& operations) {
    std::string text = "[General]\nFile=BATCH FILE\nOperations=" + std::to_string(operations.size()) + "\n";
    for (size_t i = 0; i < operations.size(); ++i)
      text += "[Operation" + std::to_string(i + 1) + "]\n" + operations[i] + "\n";
    testsupport::WriteText(f.dir.File("run.cfg"), text);
    f.host.m_settings.m_strBatchFile = f.dir.File("run.cfg");
    RunBatch(*f.doc, false);
  }
  CC3d& c3d() { return f.doc->m_c3d; }
  std::vector<double> Values(const char* group, const char* name) {
    std::vector<double> values;
    const CParam* p = c3d().FindParam(group, name);
    for (int i = 0; p && i < p->ElementCount(); ++i) values.push_back(p->NumericValue(i, ValueSign::Signed));
    return values;
  }
  const std::vector<std::string>& Labels(const char* group) { return c3d().FindParam(group, "LABELS")->m_strings; }
  CEditFixture f;
};

}  // namespace

TEST_F(BatchChannelOps, AnalogCreateAtAPositionWithAWave) {
  Run({"Type=Analog\nCommand=create\nName=EMG1\nInsertAt=3\nFillType=square\nValue=-5, 5, 25\nScale=0.5\n"
       "Offset=12\nUnits=mV",
       // Beyond the channels: at the end, with the defaults.
       "Type=Analog\nCommand=Create\nName=LAST\nInsertAt=99",
       // Not done: no name, an unknown fill, a wave without frequency.
       "Type=Analog\nCommand=Create\nName=Empty", "Type=Analog\nCommand=Create\nName=X\nFillType=Ramp",
       "Type=Analog\nCommand=Create\nName=X\nFillType=Sine\nValue=1,2,0"});
  ASSERT_EQ(c3d().AnalogCount(), 14);
  EXPECT_EQ(Labels("ANALOG")[2], "EMG1");
  EXPECT_EQ(Labels("ANALOG")[13], "LAST");
  EXPECT_EQ(Values("ANALOG", "SCALE")[2], 0.5);
  EXPECT_EQ(Values("ANALOG", "OFFSET")[2], 12);
  EXPECT_EQ(Values("ANALOG", "OFFSET")[13], 2048);
  EXPECT_EQ(c3d().FindParam("ANALOG", "DESCRIPTIONS")->m_strings[13], "Desc");
  EXPECT_EQ(c3d().FindParam("ANALOG", "UNITS")->m_strings[2], "mV");
  EXPECT_EQ(Values("FORCE_PLATFORM", "CHANNEL")[2], 4);  // channel 3 moved up
  // 100 samples a second at 25 Hz, a cycle of 4: 5 5 -5 -5 | 5 5 ...
  const float expected[6] = {5, 5, -5, -5, 5, 5};
  for (int i = 0; i < 6; ++i) EXPECT_EQ(c3d().m_analogs[2].Get(i), expected[i]) << i;
  EXPECT_EQ(c3d().m_analogs[13].Get(7), 2040);
  EXPECT_TRUE(f.doc->IsModified());
  EXPECT_EQ(f.doc->m_nUndoKind, UNDO_NONE);
}

TEST_F(BatchChannelOps, AnalogDeleteRangesAndForcePlateEntries) {
  // "3-3" and "8-7", "0" and "13" name nothing; "5-7" takes channels 7, 6
  // and 5, whose force-plate entries become 0 rather than name a channel
  // that is gone (or its neighbour after the shift).
  Run({"Type=Analog\nCommand=Delete\nChannel=3-3", "Type=Analog\nCommand=Delete\nChannel=8-7",
       "Type=Analog\nCommand=Delete\nChannel=0", "Type=Analog\nCommand=Delete\nChannel=13",
       "Type=Analog\nCommand=Delete\nChannel=5 - 7"});
  EXPECT_EQ(c3d().AnalogCount(), 9);
  EXPECT_EQ(Values("FORCE_PLATFORM", "CHANNEL"), (std::vector<double>{1, 2, 3, 4, 0, 0, 0, 5, 6, 7, 8, 9}));
  EXPECT_EQ(Labels("ANALOG")[4], "A8");
  EXPECT_EQ(Values("ANALOG", "USED")[0], 9);
  EXPECT_EQ(c3d().m_header.m_nAnalogPerFrame, 18);
  Run({"Type=Analog\nCommand=Delete\nChannel=2", "Type=Analog\nCommand=Delete\nChannel=6-end"});
  EXPECT_EQ(c3d().AnalogCount(), 5);
  EXPECT_EQ(Labels("ANALOG"), (std::vector<std::string>{"A1", "A3", "A4", "A8", "A9"}));
}

TEST_F(BatchChannelOps, VideoCreateScaledOrRawAndDelete) {
  // Integer storage, point scale 0.5.
  Run({"Type=Video\nCommand=Create\nName=HEEL\nDescription=heel\nValueX=10\nValueY=-4.5\nValueType=scaled\n"
       "InsertAt=1",
       "Type=Video\nCommand=Create\nName=RAW\nValueX=10"});
  ASSERT_EQ(c3d().PointCount(), 5);
  EXPECT_EQ(Labels("POINT")[0], "HEEL");
  EXPECT_EQ(c3d().m_points[0].Get(0), 20);
  EXPECT_EQ(c3d().m_points[0].Get(1), -8);  // -4 (whole units) / 0.5
  EXPECT_EQ(c3d().m_points[4].Get(4 * 9), 10);
  EXPECT_EQ(Values("POINT", "USED")[0], 5);
  Run({"Type=Video\nCommand=Delete\nChannel=2-END"});
  EXPECT_EQ(c3d().PointCount(), 1);
  EXPECT_EQ(c3d().m_header.m_nPoints, 1);
  EXPECT_EQ(Labels("POINT"), std::vector<std::string>{"HEEL"});
}
