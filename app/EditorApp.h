#pragma once
// CEditorApp: the application object without any toolkit. Owns the settings,
// the flags, the recent-file list and the copy buffer; interprets the command
// line; loads the settings at start-up and writes them at exit. The Qt shell
// derives from it and supplies the windows (OpenDocumentFile, CloseDocument
// and the window hooks below); the command-line tool and the tests derive a
// headless variant (CHeadlessApp).

#include <memory>
#include <string>
#include <vector>

#include "settings/AppSettings.h"
#include "app/ConsolePrompt.h"
#include "document/CopyBuffer.h"
#include "app/RecentFiles.h"
#include "app/SettingsStore.h"
#include "document/DocHost.h"

class CEditorDoc;

class CEditorApp : public CDocHost {
 public:
  CEditorApp();
  ~CEditorApp() override;

  // ---- CDocHost ---------------------------------------------------------
  AppSettings& Settings() override { return m_settings; }
  CUserPrompt& Prompt() override;
  bool EditMode() const override { return EditModeFlag != 0; }
  bool LockedEdit() const override { return LockedEditFlag != 0; }
  bool BatchMode() const override { return BatchModeFlag != 0; }
  void SetBatchMode(bool on) override { BatchModeFlag = on ? 1 : 0; }
  CopyBuffer& GetCopyBuffer() override { return m_copyBuffer; }
  void SetExitAfterBatch(bool on) override { ExitAfterBatchFlag = on ? 1 : 0; }
  std::string RescaleHint() const override {
    return m_strRescaleHint.empty() ? CDocHost::RescaleHint() : m_strRescaleHint;
  }
  // Replaces the Options hint (the command line names its own switch).
  void SetRescaleHint(const std::string& hint) { m_strRescaleHint = hint; }
  // Runs the batch file of the setting "BatchFile" on a document that has
  // just been read in Batch Mode (never forcing a save).
  void RunBatchOnDocument(CEditorDoc& doc) override;

  // The open document showing the file at `path` (any form of the path that
  // names the same file), or null. Without a document manager: null.
  virtual CEditorDoc* FindOpenDocument(const std::string& path) const { return nullptr; }

  // Without a prompt of its own the application writes to the console
  // (questions answered Cancel/No).
  void SetPrompt(CUserPrompt* prompt) { m_pPrompt = prompt; }

  // ---- Start-up and exit --------------------------------------------------
  // The start-up sequence on the raw command-line text (see CommandLine.h):
  // reads the machine-wide "LockedEdit", locates the settings store and
  // loads the recent-file list, registers the document types and creates the
  // main frame (hooks), loads the settings, records the program's location
  // as the machine-wide "Exe" where allowed, interprets "-b", opens the file
  // named on the command line and shows the main frame. Returns false when
  // the program should end at once: the main frame could not be created, or
  // a batch run from the command line asked to exit. ExitInstance is to be
  // called in either case.
  virtual bool InitInstance(const std::string& commandLineText);
  // Writes every setting (Edit Mode included) and the recent-file list into
  // the settings file, merged with what the file holds. Writes nothing that
  // was never loaded, so an aborted start-up cannot reset the user's
  // settings to defaults. A failed write is reported (except in Batch Mode,
  // which runs unattended) and gives false.
  virtual bool ExitInstance();

  // Where the settings live. Set before InitInstance to use other files
  // (tests); otherwise InitInstance takes them from the environment. Until
  // then no value is read or written.
  void SetStorePaths(const std::string& userPath, const std::string& machinePath);
  const CSettingsStore& Store() const { return m_store; }
  bool SettingsLoaded() const { return m_bSettingsLoaded; }

  // Values that dialogs remember at once (the folders of "ValidFileLoc",
  // "BatchFileLoc", "BatchFilesDir" in "Settings" and "Dir" in "DstRead"):
  // read from and written to the settings file directly, merged.
  std::string ReadStoreString(const std::string& section, const std::string& key,
                              const std::string& defaultValue = std::string()) const;
  bool WriteStoreString(const std::string& section, const std::string& key, const std::string& value);
  int ReadStoreInt(const std::string& section, const std::string& key, int defaultValue) const;
  bool WriteStoreInt(const std::string& section, const std::string& key, int value);

  // ---- Recent files -------------------------------------------------------
  CRecentFiles& RecentFiles() { return m_recentFiles; }
  const CRecentFiles& RecentFiles() const { return m_recentFiles; }
  void AddToRecentFileList(const std::string& path) { m_recentFiles.Add(path); }

  // ---- Commands -------------------------------------------------------------
  // Edit > Edit Mode: always enabled, checked while Edit Mode is on.
  void OnEditMode() { EditModeFlag = EditModeFlag ? 0 : 1; }
  bool IsEditModeChecked() const { return EditModeFlag != 0; }
  // File > Batch Mode: checked while Batch Mode is on.
  void OnBatchMode() { BatchModeFlag = BatchModeFlag ? 0 : 1; }
  bool IsBatchModeChecked() const { return BatchModeFlag != 0; }

  // ---- Flags ------------------------------------------------------------
  int EditModeFlag = 0;
  int BatchModeFlag = 0;
  int ExitAfterBatchFlag = 0;
  int LockedEditFlag = 0;

  AppSettings m_settings;
  CopyBuffer m_copyBuffer;

 protected:
  // Window steps of the start-up, filled in by the Qt shell. The defaults do
  // nothing and succeed.
  virtual void RegisterDocumentTypes() {}
  // Creates the main frame and lets it accept dropped files; false ends the
  // program.
  virtual bool CreateMainFrame() { return true; }
  // Called once the settings are loaded.
  virtual void RepaintMainFrame() {}
  // Lets the desktop hand files to the running program.
  virtual void EnableShellOpen() {}
  // Shows the main frame maximised.
  virtual void ShowMainFrame() {}

  CUserPrompt* m_pPrompt = nullptr;

 private:
  CConsolePrompt m_consolePrompt;
  CSettingsStore m_store;
  bool m_bStorePathsSet = false;
  bool m_bSettingsLoaded = false;
  CRecentFiles m_recentFiles;
  std::string m_strRescaleHint;
};
