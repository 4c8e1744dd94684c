// File > Batch Process without windows: the search of "Find Files", the
// checks of the Select Files dialog, and the run with its progress, Cancel
// and the settings it puts back.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>

#include "DocModel.h"
#include "ScriptedPrompt.h"
#include "TestSupport.h"
#include "app/BatchFileSearch.h"
#include "app/BatchProcess.h"
#include "app/HeadlessApp.h"
#include "app/SettingsStore.h"
#include "document/EditorDoc.h"

using testsupport::CTempDir;
namespace fs = std::filesystem;

namespace {

void MakeC3d(const std::string& path) {
  CC3d c3d;
  docmodel::BuildModel(c3d);
  ASSERT_TRUE(docmodel::SaveModel(c3d, path));
}

std::unique_ptr<CC3d> Read(const std::string& path) {
  auto c3d = std::make_unique<CC3d>();
  c3d->m_strFileName = path;
  EXPECT_TRUE(c3d->Open()) << path;
  return c3d;
}

// Names the files of a search relative to `root`.
std::vector<std::string> Relative(const std::vector<std::string>& files, const std::string& root) {
  std::vector<std::string> names;
  for (const std::string& f : files) names.push_back(f.substr(root.size() + 1));
  return names;
}

// Records what the run shows; presses Cancel while the file `cancelAt`
// (1-based) runs, i.e. the click is seen once that file is done.
class CRecordingProgress : public CBatchProgress {
 public:
  CRecordingProgress(CHeadlessApp& app, int cancelAt) : m_app(app), m_nCancelAt(cancelAt) {}
  void Start(int count) override { m_nStartCount = count; }
  void SetCurrentFile(const std::string& path) override {
    m_files.push_back(path);
    m_batchModeDuringRun.push_back(m_app.BatchModeFlag);
    m_batchFileDuringRun.push_back(m_app.m_settings.m_strBatchFile);
  }
  void SetDone(int done, const std::string& percent) override {
    m_nDone = done;
    m_strPercent = percent;
  }
  void ProcessPendingMessages() override {
    ++m_nPumps;
    if (static_cast<int>(m_files.size()) == m_nCancelAt) m_bCancelled = true;
  }
  bool Cancelled() const override { return m_bCancelled; }
  void Finish() override { m_bFinished = true; }

  CHeadlessApp& m_app;
  int m_nCancelAt;
  int m_nStartCount = -1;
  std::vector<std::string> m_files;
  std::vector<int> m_batchModeDuringRun;
  std::vector<std::string> m_batchFileDuringRun;
  int m_nDone = 0;
  std::string m_strPercent;
  bool m_bCancelled = false;
  bool m_bFinished = false;
  int m_nPumps = 0;  // calls of ProcessPendingMessages
};

class BatchFolderRunTest : public ::testing::Test {
 protected:
  void SetUp() override {
    m_app.SetStorePaths(m_dir.File("Quorvel.ini"), "");
    m_app.SetPrompt(&m_prompt);
  }

  CTempDir m_dir;
  CScriptedPrompt m_prompt;
  CHeadlessApp m_app;
};

}  // namespace

// ".C3D" and ".c3d" count, ".c3dx" and a folder named "x.c3d" do not; a
// sub-folder's files come after the folder's own, and a link back up the
// tree is not followed round.
TEST(BatchFileSearch, FindsC3dFilesInAnyCaseFolderFilesFirst) {
  CTempDir dir;
  const std::string root = dir.Path();
  for (const char* folder : {"x.c3d", "sub", "sub/deeper"}) fs::create_directories(dir.File(folder));
  for (const char* file : {"b.c3d", "A.C3D", "c.c3dx", "notes.txt", "x.c3d/inner.c3d", "sub/s.c3d",
                           "sub/deeper/d.C3d"})
    testsupport::WriteText(dir.File(file), "x");
  ASSERT_EQ(::symlink("..", dir.File("sub/up").c_str()), 0);

  EXPECT_EQ(Relative(FindC3dFiles(root, false).m_files, root), (std::vector<std::string>{"A.C3D", "b.c3d"}));
  CFileSearchResult all = FindC3dFiles(root + "/", true);
  EXPECT_EQ(Relative(all.m_files, root),
            (std::vector<std::string>{"A.C3D", "b.c3d", "sub/s.c3d", "sub/deeper/d.C3d", "x.c3d/inner.c3d"}));
  EXPECT_TRUE(all.m_unsearchable.empty());
}

TEST_F(BatchFolderRunTest, SelectFilesDialogChecksFolderAndBatchFile) {
  CSelectFilesRequest request = CSelectFilesRequest::FromSettings(m_app);
  EXPECT_TRUE(request.m_strFolder.empty());
  EXPECT_FALSE(request.FindFiles(m_app));
  testsupport::WriteText(m_dir.File("plain.txt"), "x");
  for (const std::string& folder : {m_dir.File("missing"), m_dir.File("plain.txt")}) {
    request.m_strFolder = folder;
    EXPECT_FALSE(request.FindFiles(m_app));
  }
  EXPECT_EQ(m_prompt.TakeMessages(),
            (std::vector<std::string>{"Please select a directory to find files in.",
                                      "The specified directory cannot be accessed",
                                      "The specified directory cannot be accessed"}));
  // A refused folder is not remembered.
  EXPECT_TRUE(CSelectFilesRequest::FromSettings(m_app).m_strFolder.empty());

  const std::string folder = m_dir.File("trials");
  fs::create_directories(folder);
  for (const char* name : {"one.c3d", "two.c3d"}) testsupport::WriteText(folder + "/" + name, "x");
  request.m_strFolder = folder;
  ASSERT_TRUE(request.FindFiles(m_app));
  ASSERT_EQ(request.m_files.size(), 2u);
  EXPECT_TRUE(request.m_files[0].m_bChecked && request.m_files[1].m_bChecked);
  request.m_files[0].m_bChecked = false;
  EXPECT_EQ(request.CheckedFiles(), std::vector<std::string>{folder + "/two.c3d"});
  // The folder is remembered at once, for the next time the dialog opens.
  EXPECT_EQ(CSelectFilesRequest::FromSettings(m_app).m_strFolder, folder);

  EXPECT_EQ(request.CheckOk(), "Please select a batch file");
  request.m_strBatchFile = m_dir.File("missing.cfg");
  EXPECT_EQ(request.CheckOk(), "The selected batch file could not be found");
  request.m_strBatchFile = folder;  // a folder is no batch file
  EXPECT_EQ(request.CheckOk(), "The selected batch file could not be found");
  testsupport::WriteText(m_dir.File("run.cfg"), "[General]\n");
  request.m_strBatchFile = m_dir.File("run.cfg");
  EXPECT_EQ(request.CheckOk(), "");
  EXPECT_TRUE(m_prompt.m_messages.empty());
}

// Five files, the second missing; Cancel is pressed during the third. The
// run goes past the missing file, stops after the third at 60%, and puts the
// setting "BatchFile" and Batch Mode back. Exit=TRUE does not end the run.
TEST_F(BatchFolderRunTest, RunStopsAfterTheFileDuringWhichCancelWasPressed) {
  std::vector<std::string> files;
  for (const char* name : {"a.c3d", "missing.c3d", "b.c3d", "c.c3d", "d.c3d"}) {
    files.push_back(m_dir.File(name));
    if (std::string(name) != "missing.c3d") MakeC3d(files.back());
  }
  const std::string batchFile = m_dir.File("run.cfg");
  testsupport::WriteText(batchFile, "[General]\nFile=BATCH FILE\nOperations=2\nSave=true,real,dec\nExit=TRUE\n"
                                    "[Operation1]\nType=ZeroAnalog\n[Operation2]\nType=ZeroAnalog\n");
  m_app.m_settings.m_strBatchFile = "/elsewhere/usual.cfg";
  m_app.BatchModeFlag = 1;

  CRecordingProgress progress(m_app, 3);
  CBatchProcessResult result = RunBatchProcess(m_app, files, batchFile, false, progress);

  EXPECT_TRUE(result.m_bStarted && result.m_bCancelled);
  EXPECT_EQ(result.m_nDone, 3);
  EXPECT_EQ(result.m_nSkipped, 1);
  EXPECT_EQ(progress.m_nStartCount, 5);
  EXPECT_EQ(progress.m_files, (std::vector<std::string>{files[0], files[1], files[2]}));
  EXPECT_EQ(progress.m_nDone, 3);
  EXPECT_EQ(progress.m_strPercent, "60%");
  // The window is served after each operation and after each file: three
  // times for each file run, once for the file that could not be opened.
  EXPECT_EQ(progress.m_nPumps, 3 + 1 + 3);
  EXPECT_TRUE(progress.m_bFinished);
  EXPECT_EQ(progress.m_batchModeDuringRun, (std::vector<int>{0, 0, 0}));
  EXPECT_EQ(progress.m_batchFileDuringRun, (std::vector<std::string>{batchFile, batchFile, batchFile}));
  EXPECT_EQ(m_app.m_settings.m_strBatchFile, "/elsewhere/usual.cfg");
  EXPECT_EQ(m_app.BatchModeFlag, 1);
  EXPECT_EQ(m_app.ExitAfterBatchFlag, 1);

  EXPECT_EQ(m_prompt.m_messages.size(), 1u);  // the missing file, from the open step
  EXPECT_EQ(m_app.DocumentCount(), 0);
  for (size_t i : {0u, 2u}) {
    auto c3d = Read(files[i]);
    EXPECT_TRUE(c3d->IsReal() && c3d->m_nProcessor == PROCESSOR_DEC) << files[i];
  }
  for (size_t i : {3u, 4u}) EXPECT_FALSE(Read(files[i])->IsReal()) << files[i];
}

TEST_F(BatchFolderRunTest, RunRefusesMissingFilesOrBatchFileAndKeepsUnsavedWindows) {
  const std::string batchFile = m_dir.File("run.cfg");
  testsupport::WriteText(batchFile, "[General]\nFile=BATCH FILE\nOperations=0\nSave=true,real\n");
  m_app.m_settings.m_strBatchFile = "usual.cfg";
  const std::string changed = m_dir.File("changed.c3d"), clean = m_dir.File("clean.c3d");
  MakeC3d(changed);
  MakeC3d(clean);

  CRecordingProgress progress(m_app, 0);
  EXPECT_FALSE(RunBatchProcess(m_app, {}, batchFile, false, progress).m_bStarted);
  EXPECT_FALSE(RunBatchProcess(m_app, {clean}, m_dir.File("gone.cfg"), false, progress).m_bStarted);
  EXPECT_EQ(m_prompt.TakeMessages(), (std::vector<std::string>{"No Files were selected",
                                                               "The selected batch file could not be found"}));
  EXPECT_EQ(progress.m_nStartCount, -1);
  // A batch file the processor refuses is refused once, not once a file.
  testsupport::WriteText(m_dir.File("notes.cfg"), "[General]\nFile=NOTES\nOperations=0\n");
  EXPECT_FALSE(RunBatchProcess(m_app, {clean, changed}, m_dir.File("notes.cfg"), true, progress).m_bStarted);
  EXPECT_EQ(m_prompt.TakeMessages(), std::vector<std::string>{"Batch File Not Found"});
  EXPECT_EQ(progress.m_nStartCount, -1);

  // A window with unsaved changes is left alone; an unchanged one is run on
  // and stays open.
  CEditorDoc* changedDoc = m_app.OpenDocumentFile(changed);
  CEditorDoc* cleanDoc = m_app.OpenDocumentFile(clean);
  ASSERT_TRUE(changedDoc && cleanDoc);
  changedDoc->SetModifiedFlag(true);
  CBatchProcessResult result = RunBatchProcess(m_app, {changed, clean}, batchFile, false, progress);
  EXPECT_EQ(result.m_nSkipped, 1);
  ASSERT_EQ(m_prompt.m_messages.size(), 1u);
  EXPECT_EQ(m_prompt.m_messages[0].rfind(changed + "\n", 0), 0u) << m_prompt.m_messages[0];
  EXPECT_EQ(m_app.DocumentCount(), 2);
  EXPECT_TRUE(changedDoc->IsModified());
  EXPECT_FALSE(Read(changed)->IsReal());
  EXPECT_TRUE(Read(clean)->IsReal());
  EXPECT_EQ(m_app.m_settings.m_strBatchFile, "usual.cfg");
}
