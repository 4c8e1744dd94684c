// The application object: start-up from the command line, the flags, the
// exit write, the console prompt. The settings locations point at a scratch
// folder through the environment, as a real start-up finds them.

#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>

#include "ScopedEnv.h"
#include "TestSupport.h"
#include "app/ConsolePrompt.h"
#include "app/EditorApp.h"
#include "c3d/IniFile.h"

using testsupport::CScopedEnv;
using testsupport::CTempDir;
using testsupport::WriteText;

namespace {

// Records what start-up asks of the windows and the document manager.
class CFakeApp : public CEditorApp {
 public:
  CEditorDoc* OpenDocumentFile(const std::string& path) override {
    m_opened.push_back(path);
    m_bBatchAtOpen = BatchModeFlag != 0;
    if (m_bBatchAsksExit) ExitAfterBatchFlag = 1;
    return nullptr;
  }
  void CloseDocument(CEditorDoc*) override {}

  bool CreateMainFrame() override {
    m_steps += "frame ";
    return m_bFrameOk;
  }
  void RepaintMainFrame() override { m_steps += SettingsLoaded() ? "repaint(loaded) " : "repaint "; }
  void ShowMainFrame() override { m_steps += "show "; }

  std::vector<std::string> m_opened;
  std::string m_steps;
  bool m_bFrameOk = true;
  bool m_bBatchAsksExit = false;
  bool m_bBatchAtOpen = false;
};

class EditorAppTest : public ::testing::Test {
 protected:
  void SetUp() override {
    m_env.PointSettingsAt(m_dir.Path());
    m_app.SetPrompt(&m_prompt);
  }
  std::string UserFile() const { return m_dir.Path() + "/user/Halvenor/Quorvel.ini"; }
  std::string MachineFile() const { return m_dir.Path() + "/machine/Halvenor/Quorvel.ini"; }
  CIniFile ReadUserFile() const {
    CIniFile ini;
    ini.SetExactSectionNames(true);
    ini.Load(UserFile());
    return ini;
  }

  CTempDir m_dir;
  CScopedEnv m_env;
  CRecordingPrompt m_prompt;
  CFakeApp m_app;
};

}  // namespace

TEST_F(EditorAppTest, StartsWithDefaultsAndRecordsTheProgram) {
  EXPECT_TRUE(m_app.InitInstance(""));
  EXPECT_TRUE(m_app.m_opened.empty());
  EXPECT_EQ(m_app.m_steps, "frame repaint(loaded) show ");
  EXPECT_EQ(m_app.LockedEditFlag, 0);
  EXPECT_EQ(m_app.EditModeFlag, 0);
  EXPECT_EQ(m_app.BatchModeFlag, 0);
  EXPECT_EQ(m_app.m_settings.m_strFontName, "Times New Roman");
  EXPECT_EQ(m_app.Store().UserPath(), UserFile());

  CIniFile machine;
  ASSERT_TRUE(machine.Load(MachineFile()));
  EXPECT_EQ(machine.GetString("General", "Exe", ""), RunningProgramPath());
  EXPECT_FALSE(RunningProgramPath().empty());
  // Start-up alone writes nothing into the user's file.
  EXPECT_FALSE(std::filesystem::exists(UserFile()));
}

TEST_F(EditorAppTest, CommandLineForms) {
  {
    CFakeApp app;
    EXPECT_TRUE(app.InitInstance("-b"));
    EXPECT_EQ(app.BatchModeFlag, 1);
    EXPECT_TRUE(app.m_opened.empty());
  }
  {
    CFakeApp app;
    EXPECT_TRUE(app.InitInstance("a.c3d -b b.c3d"));
    ASSERT_EQ(app.m_opened.size(), 1u);
    EXPECT_EQ(app.m_opened[0], "b.c3d");
    EXPECT_TRUE(app.m_bBatchAtOpen);
  }
  {
    CFakeApp app;
    EXPECT_TRUE(app.InitInstance("/data/trial 1.c3d"));
    ASSERT_EQ(app.m_opened.size(), 1u);
    EXPECT_EQ(app.m_opened[0], "/data/trial 1.c3d");
    EXPECT_FALSE(app.m_bBatchAtOpen);
    EXPECT_EQ(app.BatchModeFlag, 0);
  }
}

TEST_F(EditorAppTest, BatchRunAskingToExitEndsStartUpButSettingsAreWritten) {
  m_app.m_bBatchAsksExit = true;
  m_app.m_settings.m_strBatchFile = "changed";  // overwritten by the load
  EXPECT_FALSE(m_app.InitInstance("-b /data/a.c3d"));
  EXPECT_EQ(m_app.m_opened.size(), 1u);
  EXPECT_TRUE(m_app.ExitInstance());
  EXPECT_EQ(ReadUserFile().GetString("Settings", "BatchFile", "missing"), "");

  // Without Batch Mode the exit request is ignored.
  CFakeApp app;
  app.m_bBatchAsksExit = true;
  EXPECT_TRUE(app.InitInstance("/data/a.c3d"));
}

TEST_F(EditorAppTest, FailedMainFrameWritesNothingAtExit) {
  std::filesystem::create_directories(m_dir.Path() + "/user/Halvenor");
  WriteText(UserFile(), "[Settings]\nFontName=Arial\n");
  m_app.m_bFrameOk = false;
  EXPECT_FALSE(m_app.InitInstance("/data/a.c3d"));
  EXPECT_TRUE(m_app.m_opened.empty());
  m_app.ExitInstance();
  CIniFile ini = ReadUserFile();
  EXPECT_EQ(ini.SectionNames().size(), 1u);
  EXPECT_EQ(ini.Section("Settings").size(), 1u);
}

TEST_F(EditorAppTest, LockedEditComesFromTheMachineWideFile) {
  std::filesystem::create_directories(m_dir.Path() + "/machine/Halvenor");
  WriteText(MachineFile(), "[General]\nLockedEdit=True\n");
  EXPECT_TRUE(m_app.InitInstance(""));
  EXPECT_EQ(m_app.LockedEditFlag, 1);
  EXPECT_TRUE(m_app.LockedEdit());
}

TEST_F(EditorAppTest, TogglesAndTheExitWrite) {
  std::filesystem::create_directories(m_dir.Path() + "/user/Halvenor");
  WriteText(UserFile(), "[Settings]\nEdit=1\n[Settings\\FIRVideo]\nZero=1\n");
  ASSERT_TRUE(m_app.InitInstance(""));
  EXPECT_EQ(m_app.EditModeFlag, 1);
  EXPECT_TRUE(m_app.IsEditModeChecked());
  m_app.OnEditMode();
  EXPECT_FALSE(m_app.EditMode());
  m_app.OnBatchMode();
  EXPECT_TRUE(m_app.IsBatchModeChecked());
  m_app.OnBatchMode();
  EXPECT_FALSE(m_app.BatchMode());

  // A folder remembered while the program runs survives the exit write.
  EXPECT_TRUE(m_app.WriteStoreString("Settings", "BatchFilesDir", "/data/runs"));
  m_app.m_settings.m_nInterpGaps = 33;
  m_app.AddToRecentFileList("/data/a.c3d");
  m_app.AddToRecentFileList("/data/b.c3d");
  ASSERT_TRUE(m_app.ExitInstance());

  CIniFile ini = ReadUserFile();
  EXPECT_EQ(ini.GetString("Settings", "Edit", ""), "0");
  EXPECT_EQ(ini.GetString("Settings", "BatchFilesDir", ""), "/data/runs");
  EXPECT_EQ(ini.GetString("Settings\\FIRVideo", "Zero", ""), "1");
  EXPECT_EQ(ini.GetString("Settings\\Interpolate", "Gaps", ""), "33");
  EXPECT_EQ(ini.GetString("Recent File List", "File1", ""), "/data/b.c3d");

  // The next run finds everything again.
  CFakeApp next;
  ASSERT_TRUE(next.InitInstance(""));
  EXPECT_EQ(next.EditModeFlag, 0);
  EXPECT_EQ(next.m_settings.m_nInterpGaps, 33);
  ASSERT_EQ(next.RecentFiles().Count(), 2);
  EXPECT_EQ(next.RecentFiles().Entries()[1], "/data/a.c3d");
  EXPECT_EQ(next.ReadStoreString("Settings", "BatchFilesDir"), "/data/runs");
}

TEST_F(EditorAppTest, FailedExitWriteIsReportedOutsideBatchMode) {
  WriteText(m_dir.File("user"), "not a folder");
  ASSERT_TRUE(m_app.InitInstance(""));
  EXPECT_FALSE(m_app.ExitInstance());
  ASSERT_EQ(m_prompt.m_messages.size(), 1u);
  EXPECT_NE(m_prompt.m_messages[0].find(UserFile()), std::string::npos);

  CFakeApp batch;
  CRecordingPrompt quiet;
  batch.SetPrompt(&quiet);
  ASSERT_TRUE(batch.InitInstance("-b"));
  EXPECT_FALSE(batch.ExitInstance());
  EXPECT_TRUE(quiet.m_messages.empty());
}

TEST(ConsolePrompt, WritesMessagesAndAnswersFromItsPolicy) {
  std::ostringstream out;
  CConsolePrompt prompt(CConsolePrompt::POLICY_CANCEL, &out);
  prompt.ShowMessage("Line one\nLine two");
  EXPECT_FALSE(prompt.AskYesNo("Delete?"));
  EXPECT_EQ(prompt.AskYesNoCancel("Save changes?"), CUserPrompt::ANSWER_CANCEL);
  prompt.SetPolicy(CConsolePrompt::POLICY_YES);
  EXPECT_TRUE(prompt.AskYesNo("Delete?"));
  EXPECT_EQ(prompt.AskYesNoCancel("Save changes?"), CUserPrompt::ANSWER_YES);
  prompt.SetPolicy(CConsolePrompt::POLICY_NO);
  EXPECT_EQ(prompt.AskYesNoCancel("Save changes?"), CUserPrompt::ANSWER_NO);
  CFileDialogRequest request;
  request.m_strTitle = "Select DST File";
  CFileDialogResult result;
  EXPECT_FALSE(prompt.AskOpenFile(request, result));
  EXPECT_EQ(out.str(),
            "Line one\nLine two\n"
            "Delete?\n-> No\n"
            "Save changes?\n-> Cancel\n"
            "Delete?\n-> Yes\n"
            "Save changes?\n-> Yes\n"
            "Save changes?\n-> No\n"
            "Select DST File\n-> cancelled\n");
}
