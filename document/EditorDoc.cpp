// CEditorDoc: opening and closing, the views, the modified flag, the point
// scale check and the display switches. Saving is in DocumentSave.cpp, Undo
// in DocumentUndo.cpp.
#include "document/EditorDoc.h"

#include <sys/stat.h>

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstring>

namespace {

const char kTempFileMessage[] = "Temp File could not be opened.  Some UNDO options may not be possible";
const char kPointScaleMessage[] = "There is an error in the POINT:SCALE Parameter.  It will not be used";

}  // namespace

CEditorDoc::CEditorDoc(CDocHost& host) : m_hUndoValues(10, 0.0f), m_host(host) {
  m_c3d.SetPrompt(&m_host.Prompt());
}

CEditorDoc::~CEditorDoc() {
  m_views.clear();
  OnCloseDocument();
}

std::string CEditorDoc::GetTitle() const {
  size_t slash = m_strPathName.find_last_of('/');
  return slash == std::string::npos ? m_strPathName : m_strPathName.substr(slash + 1);
}

// ---- Lifecycle ------------------------------------------------------------

bool CEditorDoc::OnOpenDocument(const std::string& path) {
  const AppSettings& settings = m_host.Settings();
  m_bScaleAnalog = settings.m_nScaleAnalog != 0;
  m_bScale3D = settings.m_nScale3d != 0;
  m_bShowSubFrames = settings.m_nSubFrames != 0;
  m_bShowDataInList = settings.m_nShowList != 0;

  CPromptSubject subject(m_host.Prompt(), path);
  // The reader says nothing when the file itself cannot be opened; tell the
  // user why here. Only a regular file can be read: a named pipe would block
  // the program until something writes to it, and a device never ends.
  struct stat st;
  int error = ::stat(path.c_str(), &st) != 0 ? errno : (S_ISDIR(st.st_mode) ? EISDIR : 0);
  if (error != 0) {
    m_host.Prompt().ShowFailure("Cannot open the file " + path + ".\n" + std::strerror(error));
    return false;
  }
  if (!S_ISREG(st.st_mode)) {
    m_host.Prompt().ShowFailure("Cannot open the file " + path +
                                ".\nIt is not a regular file (a named pipe, a device or a socket).");
    return false;
  }

  if (m_c3d.IsOpen()) m_c3d.Close();
  m_c3d.m_strFileName = path;
  if (!m_c3d.Open()) return false;
  m_strPathName = path;
  for (CDocView* view : std::vector<CDocView*>(m_views)) view->OnTitleChanged();

  if (m_c3d.m_header.m_nSamplesPerFrame == 0) m_bShowSubFrames = false;
  CheckPointScale();
  UpdateAllViews();

  if (!m_undoFile.Create()) m_host.Prompt().ShowMessage(kTempFileMessage);

  if (!m_host.BatchMode()) {
    if (!m_c3d.m_OpenErrors.empty()) {
      std::string text;
      for (const std::string& message : m_c3d.m_OpenErrors) text += message + "\n";
      m_host.Prompt().ShowMessage(text);  // what was read is open: a notice
    }
  } else {
    m_host.RunBatchOnDocument(*this);
  }

  m_nListFirst = 0;
  m_nListPage = 50;
  m_nListLast = m_c3d.FrameCount() - 1;
  return true;
}

void CEditorDoc::OnCloseDocument() {
  m_pSavedParam.reset();
  DiscardSavedParams();
  m_hUndoValues.clear();
  m_hUndoValues.shrink_to_fit();
  m_nUndoKind = UNDO_NONE;
  if (m_c3d.IsOpen()) m_c3d.Close();
  m_undoFile.Destroy();
}

bool CEditorDoc::SaveModified() {
  if (!IsModified()) return true;
  switch (m_host.Prompt().AskYesNoCancel("Save changes to " + GetTitle() + "?")) {
    case CUserPrompt::ANSWER_YES: return OnSaveDocument(m_strPathName);
    case CUserPrompt::ANSWER_NO: return true;
    default: return false;
  }
}

void CEditorDoc::SetModifiedFlag(bool modified) {
  if (m_bModified == modified) return;
  m_bModified = modified;
  for (CDocView* view : std::vector<CDocView*>(m_views)) view->OnTitleChanged();
}

// ---- Views ------------------------------------------------------------------

void CEditorDoc::AddView(CDocView* view) {
  if (view && std::find(m_views.begin(), m_views.end(), view) == m_views.end())
    m_views.push_back(view);
}

void CEditorDoc::RemoveView(CDocView* view) {
  m_views.erase(std::remove(m_views.begin(), m_views.end(), view), m_views.end());
}

void CEditorDoc::UpdateAllViews() {
  // A view may remove itself while updating: walk a copy.
  for (CDocView* view : std::vector<CDocView*>(m_views)) {
    if (std::find(m_views.begin(), m_views.end(), view) != m_views.end()) view->OnUpdate();
  }
}

// ---- Point scale ------------------------------------------------------------

void CEditorDoc::CheckPointScale() {
  HeaderRecord& header = m_c3d.m_header;
  header.m_fScale = header.m_fHeaderScale;
  const CParam* scale = m_c3d.FindParam("Point", "Scale");
  if (scale && !scale->IsChar() && scale->ElementCount() > 0)
    header.m_fScale = static_cast<float>(scale->NumericValue(0, ValueSign::Signed));
  // Integer coordinates are multiplied by the scale: one that is not a finite
  // number would turn every coordinate into garbage.
  bool wrong = m_c3d.IsReal() ? header.m_fScale > 0.0f
                              : header.m_fScale < 0.0f || !std::isfinite(header.m_fScale);
  if (wrong) {
    m_host.Prompt().ShowMessage(kPointScaleMessage);
    header.m_fScale = header.m_fHeaderScale;
  }
}

// ---- Display switches -----------------------------------------------------

void CEditorDoc::OnShowSubFrames() {
  m_bShowSubFrames = !m_bShowSubFrames;
  m_bDataChanged = true;
  UpdateAllViews();
}

bool CEditorDoc::CanShowSubFrames() const { return m_nSelNode == -2; }

void CEditorDoc::OnScaleData() {
  if (m_nSelNode == -2)
    m_bScaleAnalog = !m_bScaleAnalog;
  else if (m_nSelNode == -3)
    m_bScale3D = !m_bScale3D;
  else
    return;
  m_bDataChanged = true;
  m_bRebuildList = true;
  UpdateAllViews();
}

bool CEditorDoc::CanScaleData() const {
  if (m_nSelNode == -2) return true;
  if (m_nSelNode == -3) return !m_c3d.IsReal();  // real samples are already scaled
  return false;
}

bool CEditorDoc::IsScaleDataChecked() const {
  if (m_nSelNode == -2) return m_bScaleAnalog;
  if (m_nSelNode == -3) return m_bScale3D;
  return false;
}

void CEditorDoc::OnShowDataInList() {
  m_bShowDataInList = !m_bShowDataInList;
  m_bRebuildList = true;
  UpdateAllViews();
}

void CEditorDoc::ApplyDisplaySettings() {
  const AppSettings& settings = m_host.Settings();
  m_bScaleAnalog = settings.m_nScaleAnalog != 0;
  m_bScale3D = settings.m_nScale3d != 0;
  m_bShowSubFrames = settings.m_nSubFrames != 0 && m_c3d.m_header.m_nSamplesPerFrame != 0;
  m_bShowDataInList = settings.m_nShowList != 0;
  m_bDataChanged = true;
  m_bRebuildList = true;
  UpdateAllViews();
}
