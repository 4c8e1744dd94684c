#pragma once
// CEditorApp: the application object without any toolkit. Owns the settings,
// the flags, the recent-file list and the copy buffer; interprets the command
// line; loads the settings at start-up and writes them at exit. The Qt shell
// derives from it and supplies the windows (OpenDocumentFile, CloseDocument);
// the command-line tool and the tests derive a headless variant.

#include <memory>
#include <string>
#include <vector>

#include "app/AppSettings.h"
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

  void SetPrompt(CUserPrompt* prompt) { m_pPrompt = prompt; }

  // ---- Flags ------------------------------------------------------------
  int EditModeFlag = 0;
  int BatchModeFlag = 0;
  int ExitAfterBatchFlag = 0;
  int LockedEditFlag = 0;

  AppSettings m_settings;

 protected:
  CUserPrompt* m_pPrompt = nullptr;
};
