// The batch processor headless: the reading rules of batch files, the
// refusal messages, and the General steps (save with conversion, exit).
#include <gtest/gtest.h>

#include <cmath>

#include "DocModel.h"
#include "FakeHost.h"
#include "TestSupport.h"
#include "app/BatchFile.h"
#include "app/BatchOps.h"
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

TEST(BatchFileTest, EveryOperationTypeIsKnownInAnyLetterCase) {
  for (const char* type : {"Group", "Parameter", "Analog", "Video", "FilterAnalog", "FilterVideo",
                           "SamplingFreq", "Interpolation", "ZeroFP", "ZeroAnalog"})
    EXPECT_NE(FindBatchOperation(type), nullptr) << type;
  EXPECT_NE(FindBatchOperation("zerofp"), nullptr);
  EXPECT_EQ(FindBatchOperation("Unknown"), nullptr);
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

  CBatchOutcome Run(const std::string& text, bool forceSave = false) {
    testsupport::WriteText(m_batchPath, text);
    m_host.m_settings.m_strBatchFile = m_batchPath;
    return RunBatch(*m_doc, forceSave);
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

  // "false" does not save unless the run forces it; no "Exit" clears the request.
  outcome = Run("[General]\nFile=BATCH FILE\nOperations=0\nSave=false,real\n");
  EXPECT_FALSE(outcome.m_bSaveAsked);
  EXPECT_FALSE(m_host.m_bExitAfterBatch);
  outcome = Run("[General]\nFile=BATCH FILE\nOperations=0\nSave=false,real\n", true);
  EXPECT_TRUE(outcome.m_bSaved);
  EXPECT_TRUE(m_doc->m_c3d.IsReal());
}

TEST_F(BatchRunTest, SaveConvertsStorageAndProcessor) {
  // The model holds integer points at scale 0.5: X 1000 + 10 f + p counts.
  CBatchOutcome outcome = Run("[General]\nFile=BATCH FILE\nOperations=0\nSave=true, Real, SUN\n");
  ASSERT_TRUE(outcome.m_bSaved);

  CC3d saved;
  saved.m_strFileName = m_path;
  ASSERT_TRUE(saved.Open());
  EXPECT_EQ(saved.m_nProcessor, PROCESSOR_SGI);
  EXPECT_TRUE(saved.IsReal());
  EXPECT_FLOAT_EQ(saved.m_header.m_fScale, -0.5f);
  EXPECT_FLOAT_EQ(saved.m_points[1].Get(3 * 4 + 0), (1000 + 30 + 1) * 0.5f);  // X, frame 3
  EXPECT_FLOAT_EQ(saved.m_analogs[2].Get(5), 300 + 5);
}

}  // namespace
