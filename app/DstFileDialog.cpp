#include "app/DstFileDialog.h"

#include "app/EditorApp.h"
#include "app/OptionsModel.h"
#include "app/SettingsStore.h"
#include "document/DstImport.h"

bool BrowseDstFile(CEditorApp& app, std::string& path) {
  CFileDialogRequest request =
      DstFileRequest(app.ReadStoreString(settingskeys::kDstReadSection, settingskeys::kDstReadDir));
  request.m_strInitialPath = path;
  CFileDialogResult result;
  if (!app.Prompt().AskOpenFile(request, result) || result.m_strPath.empty()) return false;
  path = result.m_strPath;
  app.WriteStoreString(settingskeys::kDstReadSection, settingskeys::kDstReadDir, FolderOfPath(path));
  return true;
}
