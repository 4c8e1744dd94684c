// The batch processor headless: the reading rules of batch files, the
// refusal messages, the General steps, and the Group and Parameter operations.
#include <gtest/gtest.h>

#include <cmath>

#include "DocModel.h"
#include "FakeHost.h"
#include "ModelFixture.h"
#include "TestSupport.h"
#include "app/BatchFile.h"
#include "app/BatchRun.h"

using testsupport::CTempDir;

namespace {

CBatchFile ParseBatch(const std::string& text) {
  CBatchFile file;
  file.Parse(text);
  return file;
}

TEST(BatchFileTest, SectionsKeysStringsAndComments) {
  const std::string longValue(600, 'x');
  CBatchFile file = ParseBatch(
      "; a comment line\n"
      "[general]\n"
      "FILE = BATCH FILE\n"
      "save=\"true, real\"\n"
      "Long=" + longValue + "\n"
      "[OPERATION1]\n"
      "type=Group\n"
      ";Name=Hidden\n"
      "Name=Empty\n"
      "Description=empty\n"
      "Long=" + longValue + "\n");
  EXPECT_EQ(file.GeneralString("File"), "BATCH FILE");
  EXPECT_EQ(file.GeneralString("Save"), "true, real");  // quotes dropped
  EXPECT_EQ(file.GeneralString("Missing"), "");
  EXPECT_EQ(file.GeneralString("Long").size(), 255u);
  EXPECT_EQ(file.String("Operation1", "Type"), "Group");
  // "Empty" (this letter case only) stands for a missing value; the comment
  // line is no key.
  EXPECT_EQ(file.String("Operation1", "Name"), std::nullopt);
  EXPECT_EQ(file.String("Operation1", "Description"), "empty");
  EXPECT_EQ(file.String("Operation1", "Long")->size(), 511u);
  EXPECT_EQ(file.String("Operation2", "Type"), std::nullopt);
}

TEST(BatchFileTest, NumbersAreReadLeniently) {
  CBatchFile file = ParseBatch(
      "[Operation1]\nA=12abc\nB=abc\nC= -5\nD=+7\nE=\nF=99999999999\nG=0x10\n");
  EXPECT_EQ(file.Int("Operation1", "A", -1), 12);
  EXPECT_EQ(file.Int("Operation1", "B", -1), 0);
  EXPECT_EQ(file.Int("Operation1", "C", -1), -5);
  EXPECT_EQ(file.Int("Operation1", "D", -1), 7);
  EXPECT_EQ(file.Int("Operation1", "E", -1), -1);  // empty: the default
  EXPECT_EQ(file.Int("Operation1", "F", -1), 2147483647);
  EXPECT_EQ(file.Int("Operation1", "G", -1), 0);   // decimal only
  EXPECT_EQ(file.Int("Operation1", "Missing", 42), 42);

  EXPECT_DOUBLE_EQ(ReadBatchReal("2.5Hz"), 2.5);
  EXPECT_DOUBLE_EQ(ReadBatchReal(" -.5"), -0.5);
  EXPECT_DOUBLE_EQ(ReadBatchReal("1e3"), 1000.0);
  EXPECT_DOUBLE_EQ(ReadBatchReal("abc"), 0.0);
  EXPECT_EQ(ParseWholeReal("  2048.5  "), 2048.5);
  EXPECT_EQ(ParseWholeReal("2048.5 V"), std::nullopt);
  EXPECT_EQ(ParseWholeReal(""), std::nullopt);
  EXPECT_EQ(ParseWholeReal("nan"), std::nullopt);
}

TEST(BatchFileTest, FieldsAndChannelLists) {
  EXPECT_EQ(SplitFields("true", 3), (std::vector<std::string>{"true", "", ""}));
  EXPECT_EQ(SplitFields(" true , real ,sun,x", 3), (std::vector<std::string>{"true", "real", "sun,x"}));
  EXPECT_EQ(SplitFields("", 2), (std::vector<std::string>{"", ""}));
  EXPECT_EQ(SplitList("1, 2,,3"), (std::vector<std::string>{"1", "2", "", "3"}));

  EXPECT_EQ(ChannelListIndexes("1,3-5", 10), (std::vector<int>{0, 2, 3, 4}));
  EXPECT_EQ(ChannelListIndexes("5-3", 10), std::vector<int>{});
  EXPECT_EQ(ChannelListIndexes("0,0-2,-2", 10), std::vector<int>{});
  // Beyond the channel count and repeats are dropped; order is kept.
  EXPECT_EQ(ChannelListIndexes("4,2-3,3,9-2000000000", 5), (std::vector<int>{3, 1, 2}));
}

TEST(BatchFileTest, SectionLinesKeepRepeatsAndOperationSectionsAreCounted) {
  CBatchFile file = ParseBatch(
      "[Operation2]\nType=Parameter\n>Left = L\n>left=l\n; >skip=me\n>no equals\n"
      "[Operation10]\n[Operations]\n[Operation1x]\n");
  EXPECT_EQ(file.SectionLines("operation2"),
            (std::vector<std::string>{"Type=Parameter", ">Left = L", ">left=l", ">no equals"}));
  EXPECT_EQ(file.LastOperationSection(), 10);
}

// ---- RunBatch ----------------------------------------------------------------

class BatchRunTest : public ::testing::Test {
 protected:
  void SetUp() override {
    CC3d model;
    docmodel::BuildModel(model);
    ASSERT_TRUE(docmodel::SaveModel(model, m_path));
    m_doc = m_host.OpenDocumentFile(m_path);
    ASSERT_NE(m_doc, nullptr);
  }

  CBatchOutcome Run(const std::string& text) {
    testsupport::WriteText(m_batchPath, text);
    m_host.m_settings.m_strBatchFile = m_batchPath;
    return RunBatch(*m_doc, false);
  }

  // Runs the operation sections (their bodies, in order) without saving.
  void RunOps(const std::vector<std::string>& bodies) {
    std::string text = "[General]\nFile=BATCH FILE\nOperations=" + std::to_string(bodies.size()) + "\n";
    for (size_t i = 0; i < bodies.size(); ++i)
      text += "[Operation" + std::to_string(i + 1) + "]\n" + bodies[i];
    Run(text);
  }
  CC3d& Model() { return m_doc->m_c3d; }
  const CGroup* Group(const std::string& name) {
    int g = Model().FindGroup(name);
    return g < 0 ? nullptr : &Model().m_groups[static_cast<size_t>(g)];
  }

  CTempDir m_dir;
  std::string m_path = m_dir.File("trial.c3d");
  std::string m_batchPath = m_dir.File("run.cfg");
  CFakeHost m_host;
  CEditorDoc* m_doc = nullptr;
};

TEST_F(BatchRunTest, BrokenBatchFilesAreRefusedWithABeepAndNothingElseHappens) {
  const struct {
    const char* m_pszText;
    const char* m_pszMessage;
  } cases[] = {
      {"[General]\nFile=Batch File\nOperations=0\nSave=true\nExit=TRUE\n", "Batch File Not Found"},
      {"[General]\nFile=BATCH FILE\nSave=true\n", "Number of Operations Needed"},
      {"[General]\nFile=BATCH FILE\nOperations=-1\n", "Number of Operations Needed"},
      {"[General]\nFile=BATCH FILE\nOperations=-2\nSave=true\n",
       "Incorrect number of Operations in Batch File"},
  };
  const auto before = testsupport::ReadAll(m_path);
  for (const auto& c : cases) {
    m_host.m_bExitAfterBatch = true;  // a run always starts by clearing it
    m_host.m_prompt.m_nBeeps = 0;
    CBatchOutcome outcome = Run(c.m_pszText);
    EXPECT_TRUE(outcome.m_bRejected);
    EXPECT_FALSE(outcome.m_bSaveAsked);
    EXPECT_EQ(m_host.m_prompt.TakeMessages(), std::vector<std::string>{c.m_pszMessage}) << c.m_pszText;
    EXPECT_EQ(m_host.m_prompt.m_nBeeps, 1);
    EXPECT_FALSE(m_host.m_bExitAfterBatch);
  }
  // A batch file that cannot be read at all.
  m_host.m_settings.m_strBatchFile = m_dir.File("missing.cfg");
  RunBatch(*m_doc, false);
  EXPECT_EQ(m_host.m_prompt.TakeMessages(), std::vector<std::string>{"Batch File Not Found"});
  EXPECT_EQ(testsupport::ReadAll(m_path), before);
}

TEST_F(BatchRunTest, NoOperationsStillSavesAndExits) {
  m_doc->SetModifiedFlag(true);
  CBatchOutcome outcome = Run("[General]\nFile=BATCH FILE\nOperations=0\nSave=TRUE\nExit= true \n");
  EXPECT_TRUE(outcome.m_bSaved);
  EXPECT_FALSE(m_doc->IsModified());
  EXPECT_TRUE(m_host.m_bExitAfterBatch);
  EXPECT_EQ(m_host.m_prompt.m_nWaitDepth, 0);
  EXPECT_TRUE(m_host.m_prompt.m_messages.empty());
}

// ---- Group and Parameter operations ------------------------------------------
// The model's groups: POINT -1, ANALOG -2, TRIAL -3, EVENT -4,
// FORCE_PLATFORM -5, EMG -6.

TEST_F(BatchRunTest, GroupCreateModifyDelete) {
  RunOps({"Type=group\nCommand=create\nName=SUBJECT\nDescription=Who\nLock=1\nNumber=-50\n",
          // Refused: a name that exists in another letter case, a positive
          // number, an empty name.
          "Type=Group\nCommand=Create\nName=subject\n",
          "Type=Group\nCommand=Create\nName=OTHER\nNumber=3\n",
          "Type=Group\nCommand=Create\nName=\n"});
  ASSERT_EQ(Model().m_groups.size(), 7u);
  EXPECT_EQ(Model().m_groups[6].m_strName, "SUBJECT");
  EXPECT_EQ(Model().m_groups[6].m_nId, -7);  // below the lowest, whatever "Number" says
  EXPECT_TRUE(Model().m_groups[6].m_bLocked);
  EXPECT_EQ(Model().m_groups[6].m_strDescription, "Who");
  EXPECT_TRUE(m_doc->IsModified());

  // A locked group changes only with locked editing allowed; without "Lock"
  // it ends unlocked.
  RunOps({"Type=Group\nCommand=Modify\nName=subject\nNewName=SUBJECTS\n"});
  EXPECT_NE(Group("SUBJECT"), nullptr);
  m_host.m_bLockedEdit = true;
  RunOps({"Type=Group\nCommand=Modify\nName=subject\nNewName=SUBJECTS\nDescription=Empty\n"});
  ASSERT_NE(Group("SUBJECTS"), nullptr);
  EXPECT_FALSE(Group("SUBJECTS")->m_bLocked);
  EXPECT_EQ(Group("SUBJECTS")->m_strDescription, "Who");

  // Renumbering takes the group's parameters along; a number or name that
  // another group has, or an empty new name, changes nothing.
  const size_t pointParams = testsupport::Values(Model(), "POINT", "RATE").size();
  RunOps({"Type=Group\nCommand=Modify\nName=POINT\nNumber=-20\nLock=1\n",
          "Type=Group\nCommand=Modify\nName=ANALOG\nNumber=-20\n",
          "Type=Group\nCommand=Modify\nName=ANALOG\nNewName=point\n",
          "Type=Group\nCommand=Modify\nName=ANALOG\nNewName=Empty\nNumber=-128\n",
          "Type=Group\nCommand=Modify\nName=TRIAL\nNewName=\n"});
  EXPECT_EQ(Group("POINT")->m_nId, -20);
  EXPECT_TRUE(Group("POINT")->m_bLocked);
  EXPECT_EQ(testsupport::Values(Model(), "POINT", "RATE").size(), pointParams);
  EXPECT_EQ(Group("ANALOG")->m_nId, -2);
  EXPECT_NE(Group("TRIAL"), nullptr);

  // Delete takes every parameter of the group.
  m_host.m_bLockedEdit = false;
  RunOps({"Type=Group\nCommand=Delete\nName=point\n", "Type=Group\nCommand=Delete\nName=Analog\n"});
  EXPECT_NE(Group("POINT"), nullptr);
  EXPECT_EQ(Group("ANALOG"), nullptr);
  for (const CParam& p : Model().m_params) EXPECT_NE(p.m_nGroupId, 2) << p.m_strName;
}

TEST_F(BatchRunTest, ParameterCreate) {
  RunOps({"Type=Parameter\nCommand=Create\nGroup=trial\nName=WEIGHTS\nDataType=4\nDimensions=2\n"
          "Dimension1=2\nDimension2=2\nData1=1.5\nData2=-2e-7\nData4=abc\nLock=1\n",
          "Type=Parameter\nCommand=Create\nGroup=TRIAL\nName=CODES\nDataType=-1\nDimensions=2\n"
          "Dimension1=4\nDimension2=3\nData1=LONGNAME\nData3=Empty\nData2= ab \n",
          "Type=Parameter\nCommand=Create\nGroup=TRIAL\nName=FLAGS\nDataType=1\nDimensions=1\n"
          "Dimension1=300\nData1=-1\nData2=7.9\n",
          // Refused: a name the group has, no such group, a type that does not
          // exist, CHAR without dimensions, a size of 0, more than a file holds.
          "Type=Parameter\nCommand=Create\nGroup=TRIAL\nName=weights\nDataType=2\nDimensions=0\n",
          "Type=Parameter\nCommand=Create\nGroup=NOPE\nName=X\nDataType=2\nDimensions=0\n",
          "Type=Parameter\nCommand=Create\nGroup=TRIAL\nName=X\nDataType=3\nDimensions=0\n",
          "Type=Parameter\nCommand=Create\nGroup=TRIAL\nName=X\nDataType=-1\nDimensions=0\n",
          "Type=Parameter\nCommand=Create\nGroup=TRIAL\nName=X\nDataType=2\nDimensions=1\nDimension1=0\n",
          "Type=Parameter\nCommand=Create\nGroup=TRIAL\nName=X\nDataType=4\nDimensions=3\n"
          "Dimension1=255\nDimension2=255\nDimension3=255\n"});
  const CParam* weights = Model().FindParam("TRIAL", "WEIGHTS");
  ASSERT_NE(weights, nullptr);
  EXPECT_EQ(weights->m_nGroupId, 3);
  EXPECT_TRUE(weights->m_bLocked);
  EXPECT_EQ(testsupport::Values(Model(), "TRIAL", "WEIGHTS"), (std::vector<double>{1.5, -2e-7f, 0, 0}));
  EXPECT_EQ(testsupport::Strings(Model(), "TRIAL", "CODES"), (std::vector<std::string>{"LONG", "ab", ""}));
  const CParam* flags = Model().FindParam("TRIAL", "FLAGS");
  ASSERT_NE(flags, nullptr);
  EXPECT_EQ(flags->m_dims, std::vector<uint8_t>{255});
  EXPECT_EQ(flags->ByteAt(0), 255);
  EXPECT_EQ(flags->ByteAt(1), 7);
  EXPECT_EQ(Model().FindParam("TRIAL", "X"), nullptr);
  EXPECT_EQ(Model().m_params.back().m_strName, "FLAGS");
}

TEST_F(BatchRunTest, ParameterModifyKeepsWhatItsKeysDoNotChange) {
  testsupport::SetList(Model(), "ANALOG", "SCALE", PARAM_FLOAT, {1e-7, -1.7, 2.5});
  testsupport::SetEventTimes(Model(), {});
  const size_t count = Model().m_params.size();
  RunOps({// A rename keeps the stored numbers exactly and moves the parameter last.
          "Type=Parameter\nCommand=Modify\nGroup=Analog\nName=scale\nNewName=GAINS\n",
          // A new integer type truncates toward zero; Data2 is given.
          "Type=Parameter\nCommand=Modify\nGroup=ANALOG\nName=OFFSET\nDataType=2\nData2=-300\n"
          "NewGroup=TRIAL\nDimensions=1\nDimension1=4\n",
          // An empty list keeps its 0 size on a rename.
          "Type=Parameter\nCommand=Modify\nGroup=EVENT\nName=TIMES\nNewName=SECONDS\n",
          // Refused: a target group without it, a name the group has already,
          // an empty new name.
          "Type=Parameter\nCommand=Modify\nGroup=POINT\nName=RATE\nNewGroup=NOPE\n",
          "Type=Parameter\nCommand=Modify\nGroup=POINT\nName=RATE\nNewName=scale\n",
          "Type=Parameter\nCommand=Modify\nGroup=POINT\nName=RATE\nNewName=\n"});
  EXPECT_EQ(Model().m_params.size(), count);
  ASSERT_EQ(Model().m_params[count - 3].m_strName, "GAINS");
  EXPECT_EQ(Model().m_params[count - 3].FloatAt(0), 1e-7f);
  EXPECT_EQ(Model().m_params[count - 3].FloatAt(1), -1.7f);

  // The model's offsets are 0, 10, 20 (INTEGER).
  EXPECT_EQ(testsupport::Values(Model(), "TRIAL", "OFFSET"), (std::vector<double>{0, -300, 20, 0}));
  EXPECT_EQ(Model().FindParam("ANALOG", "OFFSET"), nullptr);
  const CParam* seconds = Model().FindParam("EVENT", "SECONDS");
  ASSERT_NE(seconds, nullptr);
  EXPECT_EQ(seconds->m_dims, (std::vector<uint8_t>{2, 0}));
  EXPECT_NE(Model().FindParam("POINT", "RATE"), nullptr);

  // FLOAT to INTEGER truncates toward zero; a locked parameter needs locked
  // editing; CHAR values become numbers by their text.
  Model().FindParam("ANALOG", "GAINS")->m_bLocked = true;
  RunOps({"Type=Parameter\nCommand=Modify\nGroup=ANALOG\nName=GAINS\nDataType=2\n"});
  EXPECT_EQ(Model().FindParam("ANALOG", "GAINS")->m_nType, PARAM_FLOAT);
  m_host.m_bLockedEdit = true;
  testsupport::SetStrings(Model(), "POINT", "LABELS", {"12", "x"});
  RunOps({"Type=Parameter\nCommand=Modify\nGroup=ANALOG\nName=GAINS\nDataType=2\n",
          "Type=Parameter\nCommand=Modify\nGroup=POINT\nName=LABELS\nDataType=1\nDimensions=1\n"
          "Dimension1=2\n"});
  EXPECT_EQ(testsupport::Values(Model(), "ANALOG", "GAINS"), (std::vector<double>{0, -1, 2}));
  EXPECT_FALSE(Model().FindParam("ANALOG", "GAINS")->m_bLocked);
  EXPECT_EQ(testsupport::Values(Model(), "POINT", "LABELS"), (std::vector<double>{12, 0}));
}

TEST_F(BatchRunTest, ParameterDeleteAndReplaceStrings) {
  testsupport::SetStrings(Model(), "POINT", "LABELS", {"LASI", " rasi", "LASI2"}, 5);
  Model().FindParam("POINT", "RATE")->m_bLocked = true;
  RunOps({"Type=Parameter\nCommand=ReplaceS\nGroup=POINT\nName=LABELS\n>lasi = Left_ASIS_Marker\n"
          ">RASI=R\n>LASI2\n",
          "Type=Parameter\nCommand=ReplaceS\nGroup=POINT\nName=RATE\n>50=60\n",
          "Type=Parameter\nCommand=Delete\nGroup=POINT\nName=RATE\n",
          "Type=Parameter\nCommand=Delete\nGroup=point\nName=used\n"});
  EXPECT_EQ(testsupport::Strings(Model(), "POINT", "LABELS"),
            (std::vector<std::string>{"Left_ASIS_Marker", "R", "LASI2"}));
  EXPECT_EQ(Model().FindParam("POINT", "LABELS")->m_dims[0], 16);
  EXPECT_NE(Model().FindParam("POINT", "RATE"), nullptr);  // locked
  EXPECT_EQ(Model().FindParam("POINT", "USED"), nullptr);
}

}  // namespace
