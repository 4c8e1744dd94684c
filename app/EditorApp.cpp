#include "app/EditorApp.h"

#include "app/BatchRun.h"
#include "app/CommandLine.h"
#include "c3d/IniFile.h"

CEditorApp::CEditorApp() = default;

CEditorApp::~CEditorApp() = default;

CUserPrompt& CEditorApp::Prompt() { return m_pPrompt ? *m_pPrompt : m_consolePrompt; }

void CEditorApp::SetStorePaths(const std::string& userPath, const std::string& machinePath) {
  m_store = CSettingsStore(userPath, machinePath);
  m_bStorePathsSet = true;
}

bool CEditorApp::InitInstance(const std::string& commandLineText) {
  if (!m_bStorePathsSet) SetStorePaths(CSettingsStore::UserStorePath(), CSettingsStore::MachineStorePath());

  // The machine-wide permission to edit locked parameters.
  if (m_store.ReadLockedEdit()) LockedEditFlag = 1;

  CIniFile ini;
  m_store.ReadUserFile(ini);
  m_recentFiles.Read(ini);

  RegisterDocumentTypes();
  if (!CreateMainFrame()) return false;

  CSettingsStore::ReadSettings(ini, m_settings);
  EditModeFlag = m_settings.m_nEdit != 0 ? 1 : 0;
  m_bSettingsLoaded = true;
  RepaintMainFrame();

  EnableShellOpen();
  m_store.WriteExe(RunningProgramPath());

  CCommandLine command = InterpretCommandLine(commandLineText);
  if (command.m_bBatch) BatchModeFlag = 1;
  if (!command.m_strPath.empty()) OpenDocumentFile(command.m_strPath);

  ShowMainFrame();
  return !(BatchModeFlag && ExitAfterBatchFlag);
}

void CEditorApp::RunBatchOnDocument(CEditorDoc& doc) { RunBatch(doc, false); }

bool CEditorApp::ExitInstance() {
  if (!m_bSettingsLoaded) return true;
  m_settings.m_nEdit = EditModeFlag;
  bool saved = m_store.UpdateUserFile([&](CIniFile& ini) {
    CSettingsStore::WriteSettings(m_settings, ini);
    m_recentFiles.Write(ini);
    return true;
  });
  if (!saved && !BatchModeFlag) Prompt().ShowMessage("The settings could not be saved to " + m_store.UserPath());
  return saved;
}

std::string CEditorApp::ReadStoreString(const std::string& section, const std::string& key,
                                        const std::string& defaultValue) const {
  return m_store.ReadString(section, key, defaultValue);
}

bool CEditorApp::WriteStoreString(const std::string& section, const std::string& key,
                                  const std::string& value) {
  return m_store.WriteString(section, key, value);
}

int CEditorApp::ReadStoreInt(const std::string& section, const std::string& key, int defaultValue) const {
  return m_store.ReadInt(section, key, defaultValue);
}

bool CEditorApp::WriteStoreInt(const std::string& section, const std::string& key, int value) {
  return m_store.WriteInt(section, key, value);
}
