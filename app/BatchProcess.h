#pragma once
// File > Batch Process: the user picks C3D files of a folder (optionally with
// its sub-folders) and a batch file in the Select Files dialog, and the batch
// file runs on each picked file in turn, with a progress window whose Cancel
// stops the run after the current file.
//
// The dialog's state and checks (CSelectFilesRequest) and the run
// (RunBatchProcess) live here without any toolkit; the Qt dialog and
// progress window only show them.

#include <string>
#include <vector>

class CEditorApp;

// The Select Files dialog.
struct CSelectFilesRequest {
  struct CEntry {
    std::string m_strPath;
    bool m_bChecked = true;
  };

  std::string m_strFolder;
  bool m_bSubFolders = false;
  std::vector<CEntry> m_files;
  std::string m_strBatchFile;
  bool m_bAlwaysSave = false;

  // The dialog opens with the folder of Settings/"BatchFilesDir" and the
  // batch file of the setting "BatchFile".
  static CSelectFilesRequest FromSettings(const CEditorApp& app);

  // Both talk to the user through the application's prompt.
  // "Find Files": refuses an empty folder ("Please select a directory to
  // find files in.") or one that cannot be read ("The specified directory
  // cannot be accessed") and changes nothing then. Otherwise remembers the
  // folder in Settings/"BatchFilesDir" at once and lists the folder's C3D
  // files (see BatchFileSearch.h), each checked; sub-folders that could not
  // be read are named in a message. False when the folder was refused.
  bool FindFiles(CEditorApp& app);

  // "Browse...": the "Select Batch File" dialog, starting in
  // Settings/"BatchFileLoc"; the chosen file becomes the batch file and its
  // folder is remembered in "BatchFileLoc" at once.
  void BrowseBatchFile(CEditorApp& app);

  // OK: "Please select a batch file" without a batch file, "The selected
  // batch file could not be found" when it is not there; empty when the
  // dialog may close.
  std::string CheckOk() const;

  // The checked files, in list order.
  std::vector<std::string> CheckedFiles() const;
};

// The progress window of a run.
class CBatchProgress {
 public:
  virtual ~CBatchProgress() = default;
  // Shows the window for `fileCount` files: bar at 0, " 0 %", Cancel.
  virtual void Start(int fileCount) = 0;
  virtual void SetCurrentFile(const std::string& path) = 0;
  // `done` files of the run are finished; `percent` reads "60%".
  virtual void SetDone(int done, const std::string& percent) = 0;
  // Lets the window and its Cancel button react.
  virtual void ProcessPendingMessages() {}
  virtual bool Cancelled() const = 0;
  virtual void Finish() = 0;
};

// "%.0f%%" of done / count x 100.
std::string BatchPercentText(int done, int count);

struct CBatchProcessResult {
  bool m_bStarted = false;    // the run began (files and batch file were there)
  int m_nDone = 0;            // files the loop went through
  int m_nSkipped = 0;         // of those: not opened, or open with unsaved changes
  bool m_bCancelled = false;  // Cancel stopped the run
};

// The run: "No Files were selected" without files, "The selected batch file
// could not be found" when the batch file has gone, and the processor's own
// refusal ("Batch File Not Found" and the like) once, before any file is
// opened, when the batch file would be refused. Otherwise, with the
// setting "BatchFile" set to `batchFile` and Batch Mode off for the length of
// the run (both restored afterwards, with the recent-file list, which the
// run's files do not enter), each file in turn is opened as a
// document, the batch file runs on it (forcing a save with `alwaysSave`) and
// it is closed without asking; a file that does not open has been reported
// and is skipped. After each file the progress window is updated and Cancel
// ends the run.
//
// A file already open in a window is run on in that window's document, which
// stays open; when that document has unsaved changes the file is skipped with
// a message, so that the changes are neither saved by the batch file nor
// thrown away by closing it.
CBatchProcessResult RunBatchProcess(CEditorApp& app, const std::vector<std::string>& files,
                                    const std::string& batchFile, bool alwaysSave, CBatchProgress& progress);
