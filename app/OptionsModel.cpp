#include "app/OptionsModel.h"

#include <cstdio>
#include <filesystem>

#include "app/EditorApp.h"
#include "app/SettingsStore.h"

namespace {
bool DepthValid(int inches) { return inches >= 1 && inches <= 50; }
bool XunitValid(int units) { return units >= 1 && units <= 5; }
}  // namespace

COptionsRequest COptionsRequest::FromSettings(const AppSettings& s, int lockedEditFlag) {
  COptionsRequest r;
  r.m_strValidFile = s.m_strValidFile;
  r.m_strBatchFile = s.m_strBatchFile;
  r.m_strFontName = s.m_strFontName;
  r.m_nFontSize = s.m_nFontSize;
  r.m_bFontBold = s.m_nFontBold != 0;
  r.m_bFontItalic = s.m_nFontItalic != 0;
  r.m_bLockedEdit = lockedEditFlag != 0;
  r.m_bRescaleConversion = s.m_nRescaleConversion != 0;

  r.m_bSubFrames = s.m_nSubFrames != 0;
  r.m_f3DRed = s.m_f3DRed;
  r.m_nAnalogDepth = s.m_nAnalogDepth / 100;
  r.m_n3DDepth = s.m_n3DDepth / 100;
  r.m_nAnalogXunit = s.m_nAnalogXunit;
  r.m_n3DXunit = s.m_n3DXunit;
  r.m_bFitHorizontal = s.m_nFitHorizontal != 0;
  r.m_bScaleAnalog = s.m_nScaleAnalog != 0;
  r.m_bScale3d = s.m_nScale3d != 0;
  r.m_bShowList = s.m_nShowList != 0;
  r.m_nColorHigh = s.m_nColorHigh;
  r.m_nColorZero = s.m_nColorZero;
  r.m_nColorEvent = s.m_nColorEvent;

  r.m_nInterpType = s.m_nInterpType;
  r.m_nInterpGaps = s.m_nInterpGaps;
  r.m_fInterpResid = s.m_fInterpResid;
  r.m_bInterpAllChannels = s.m_nInterpAllChannels != 0;
  return r;
}

std::string COptionsRequest::FontDescription() const {
  char size[32];
  std::snprintf(size, sizeof size, " %d Point ", m_nFontSize);
  std::string text = m_strFontName + size;
  if (m_bFontBold) text += " Bold";
  if (m_bFontItalic) text += " Italic";
  return text;
}

void COptionsRequest::SetFont(const std::string& face, int pointSize, int weight, bool italic) {
  m_strFontName = face;
  m_nFontSize = pointSize;
  m_bFontBold = weight == 700;
  m_bFontItalic = italic;
}

bool COptionsRequest::ViewsApplyEnabled() const {
  return DepthValid(m_nAnalogDepth) && DepthValid(m_n3DDepth) && XunitValid(m_nAnalogXunit) &&
         XunitValid(m_n3DXunit) && m_f3DRed >= 0.0f;
}

bool COptionsRequest::InterpolateApplyEnabled() const {
  if (m_nInterpType == 0) return m_nInterpGaps >= 0;
  if (m_nInterpType == 1) return m_fInterpResid > 0.0f;
  return true;
}

void COptionsRequest::ApplyViews(AppSettings& s) const {
  s.m_nScaleAnalog = m_bScaleAnalog ? 1 : 0;
  s.m_nScale3d = m_bScale3d ? 1 : 0;
  s.m_nSubFrames = m_bSubFrames ? 1 : 0;
  s.m_f3DRed = m_f3DRed;
  s.m_nShowList = m_bShowList ? 1 : 0;
  s.m_nAnalogDepth = m_nAnalogDepth * 100;
  s.m_n3DDepth = m_n3DDepth * 100;
  s.m_nAnalogXunit = m_nAnalogXunit;
  s.m_n3DXunit = m_n3DXunit;
  s.m_nFitHorizontal = m_bFitHorizontal ? 1 : 0;
  s.m_nColorHigh = m_nColorHigh;
  s.m_nColorZero = m_nColorZero;
  s.m_nColorEvent = m_nColorEvent;
}

void COptionsRequest::ApplyOk(AppSettings& s, int& lockedEditFlag) const {
  s.m_strValidFile = m_strValidFile;
  s.m_strBatchFile = m_strBatchFile;
  s.m_strFontName = m_strFontName;
  s.m_nFontSize = m_nFontSize;
  s.m_nFontBold = m_bFontBold ? 1 : 0;
  s.m_nFontItalic = m_bFontItalic ? 1 : 0;
  lockedEditFlag = m_bLockedEdit ? 1 : 0;
  s.m_nRescaleConversion = m_bRescaleConversion ? 1 : 0;

  s.m_nScaleAnalog = m_bScaleAnalog ? 1 : 0;
  s.m_nScale3d = m_bScale3d ? 1 : 0;
  s.m_nSubFrames = m_bSubFrames ? 1 : 0;
  if (m_f3DRed != s.m_f3DRed && m_f3DRed >= 0.0f) s.m_f3DRed = m_f3DRed;
  if (DepthValid(m_nAnalogDepth)) s.m_nAnalogDepth = m_nAnalogDepth * 100;
  if (DepthValid(m_n3DDepth)) s.m_n3DDepth = m_n3DDepth * 100;
  if (XunitValid(m_nAnalogXunit)) s.m_nAnalogXunit = m_nAnalogXunit;
  if (XunitValid(m_n3DXunit)) s.m_n3DXunit = m_n3DXunit;
  s.m_nFitHorizontal = m_bFitHorizontal ? 1 : 0;
  s.m_nShowList = m_bShowList ? 1 : 0;

  s.m_nInterpAllChannels = m_bInterpAllChannels ? 1 : 0;
  s.m_nInterpType = m_nInterpType;
  s.m_nInterpGaps = m_nInterpGaps;
  s.m_fInterpResid = m_fInterpResid;

  s.m_nColorHigh = m_nColorHigh;
  s.m_nColorZero = m_nColorZero;
  s.m_nColorEvent = m_nColorEvent;
}

std::string FolderOfPath(const std::string& path) {
  return std::filesystem::path(path).parent_path().string();
}

CFileDialogRequest OptionsBrowseRequest(OptionsBrowseKind kind, const std::string& currentPath,
                                        const std::string& initialDir) {
  CFileDialogRequest request;
  request.m_strTitle = kind == BROWSE_VALID_FILE ? "Select Validity File" : "Select Batch File";
  request.m_strFilter = "Config Files (*.cfg)|*.cfg|All Files (*.*)|*.*||";
  request.m_strInitialPath = currentPath;
  request.m_strInitialDir = initialDir;
  request.m_bOverwritePrompt = false;
  return request;
}

bool BrowseOptionsFile(CEditorApp& app, OptionsBrowseKind kind, std::string& path) {
  const char* key = kind == BROWSE_VALID_FILE ? settingskeys::kValidFileLoc : settingskeys::kBatchFileLoc;
  CFileDialogRequest request =
      OptionsBrowseRequest(kind, path, app.ReadStoreString(settingskeys::kSettings, key, ""));
  CFileDialogResult result;
  if (!app.Prompt().AskOpenFile(request, result) || result.m_strPath.empty()) return false;
  path = result.m_strPath;
  app.WriteStoreString(settingskeys::kSettings, key, FolderOfPath(path));
  return true;
}
