#include "app/BatchProcess.h"

#include <cstdio>
#include <filesystem>

#include "app/BatchFile.h"
#include "app/BatchFileSearch.h"
#include "app/BatchRun.h"
#include "app/EditorApp.h"
#include "app/OptionsModel.h"
#include "document/EditorDoc.h"

namespace {

const char kNoFolder[] = "Please select a directory to find files in.";
const char kFolderInaccessible[] = "The specified directory cannot be accessed";
const char kNoBatchFile[] = "Please select a batch file";
const char kBatchFileNotFound[] = "The selected batch file could not be found";
const char kNoFiles[] = "No Files were selected";

// The longest list of unreadable sub-folders shown in one message.
constexpr size_t kListedFolders = 10;

bool BatchFileExists(const std::string& path) {
  std::error_code error;
  return !path.empty() && std::filesystem::is_regular_file(path, error);
}

std::string UnsearchableMessage(const std::vector<std::string>& folders) {
  std::string text = "These folders could not be searched:";
  for (size_t i = 0; i < folders.size() && i < kListedFolders; ++i) text += "\n" + folders[i];
  if (folders.size() > kListedFolders)
    text += "\n(and " + std::to_string(folders.size() - kListedFolders) + " more)";
  return text;
}

// Puts the setting "BatchFile", Batch Mode and the recent-file list back
// however the run ends: the files a run opens are not the user's recent work.
class CBatchSettingsKeeper {
 public:
  explicit CBatchSettingsKeeper(CEditorApp& app)
      : m_app(app),
        m_strBatchFile(app.m_settings.m_strBatchFile),
        m_nBatchMode(app.BatchModeFlag),
        m_recent(app.RecentFiles()) {}
  ~CBatchSettingsKeeper() {
    m_app.m_settings.m_strBatchFile = m_strBatchFile;
    m_app.BatchModeFlag = m_nBatchMode;
    m_app.RecentFiles() = m_recent;
  }
  CBatchSettingsKeeper(const CBatchSettingsKeeper&) = delete;
  CBatchSettingsKeeper& operator=(const CBatchSettingsKeeper&) = delete;

 private:
  CEditorApp& m_app;
  std::string m_strBatchFile;
  int m_nBatchMode;
  CRecentFiles m_recent;
};

// One file of the run; false when it was skipped.
bool RunOnFile(CEditorApp& app, const std::string& path, const CBatchFile& batch, bool alwaysSave,
               CBatchProgress& progress) {
  // The messages of the batch file's operations name the file they are about.
  CPromptSubject subject(app.Prompt(), path);
  CEditorDoc* alreadyOpen = app.FindOpenDocument(path);
  if (alreadyOpen && alreadyOpen->IsModified()) {
    app.Prompt().ShowMessage(path +
                             "\nThis file is open with unsaved changes and was not processed. Save or "
                             "close it, then run the batch file on it again.");
    return false;
  }
  CEditorDoc* doc = alreadyOpen ? alreadyOpen : app.OpenDocumentFile(path);
  if (!doc) return false;  // the open step has said why
  // The progress window repaints and sees Cancel between operations too,
  // not only between files.
  RunBatch(*doc, batch, alwaysSave, [&progress] { progress.ProcessPendingMessages(); });
  // A window the user had open before the run stays open.
  if (!alreadyOpen) app.CloseDocument(doc);
  return true;
}

}  // namespace

CSelectFilesRequest CSelectFilesRequest::FromSettings(const CEditorApp& app) {
  CSelectFilesRequest request;
  request.m_strFolder = app.ReadStoreString(settingskeys::kSettings, settingskeys::kBatchFilesDir, "");
  request.m_strBatchFile = app.m_settings.m_strBatchFile;
  return request;
}

bool CSelectFilesRequest::FindFiles(CEditorApp& app) {
  CUserPrompt& prompt = app.Prompt();
  if (m_strFolder.empty()) {
    prompt.ShowMessage(kNoFolder);
    return false;
  }
  std::string reason;
  if (!CanSearchFolder(m_strFolder, reason)) {
    prompt.ShowMessage(kFolderInaccessible);
    return false;
  }
  app.WriteStoreString(settingskeys::kSettings, settingskeys::kBatchFilesDir, m_strFolder);
  m_files.clear();
  CFileSearchResult found;
  {
    CWaitCursor wait(prompt);
    found = FindC3dFiles(m_strFolder, m_bSubFolders);
  }
  for (std::string& path : found.m_files) m_files.push_back(CEntry{std::move(path), true});
  if (!found.m_unsearchable.empty()) prompt.ShowMessage(UnsearchableMessage(found.m_unsearchable));
  return true;
}

void CSelectFilesRequest::BrowseBatchFile(CEditorApp& app) {
  BrowseOptionsFile(app, BROWSE_BATCH_FILE, m_strBatchFile);
}

std::string CSelectFilesRequest::CheckOk() const {
  if (m_strBatchFile.empty()) return kNoBatchFile;
  if (!BatchFileExists(m_strBatchFile)) return kBatchFileNotFound;
  return std::string();
}

std::vector<std::string> CSelectFilesRequest::CheckedFiles() const {
  std::vector<std::string> files;
  for (const CEntry& entry : m_files)
    if (entry.m_bChecked) files.push_back(entry.m_strPath);
  return files;
}

std::string BatchPercentText(int done, int count) {
  char text[32];
  std::snprintf(text, sizeof text, "%.0f%%", count > 0 ? 100.0 * done / count : 100.0);
  return text;
}

CBatchProcessResult RunBatchProcess(CEditorApp& app, const std::vector<std::string>& files,
                                    const std::string& batchFile, bool alwaysSave, CBatchProgress& progress) {
  CBatchProcessResult result;
  if (files.empty()) {
    app.Prompt().ShowMessage(kNoFiles);
    return result;
  }
  if (!BatchFileExists(batchFile)) {
    app.Prompt().ShowMessage(kBatchFileNotFound);
    return result;
  }
  // A batch file that would be refused is refused once, before any file is
  // opened, not once for every file of the run.
  CBatchFile batch;
  batch.Load(batchFile);
  const std::string problem = BatchFileProblem(batch);
  if (!problem.empty()) {
    app.Prompt().Beep();
    app.Prompt().ShowMessage(problem);
    return result;
  }

  CBatchSettingsKeeper keeper(app);
  app.m_settings.m_strBatchFile = batchFile;
  // Opening a file must not start a second run of its own.
  app.BatchModeFlag = 0;
  result.m_bStarted = true;

  const int count = static_cast<int>(files.size());
  progress.Start(count);
  for (int i = 0; i < count; ++i) {
    progress.SetCurrentFile(files[static_cast<size_t>(i)]);
    if (!RunOnFile(app, files[static_cast<size_t>(i)], batch, alwaysSave, progress)) ++result.m_nSkipped;
    progress.ProcessPendingMessages();
    result.m_nDone = i + 1;
    progress.SetDone(i + 1, BatchPercentText(i + 1, count));
    if (progress.Cancelled()) {
      result.m_bCancelled = i + 1 < count;
      break;
    }
  }
  progress.Finish();
  return result;
}
