#include "app/frames/QtEditorApp.h"

#include <QApplication>
#include <QMdiArea>
#include <QStyle>
#include <QStyleFactory>
#include <QScreen>
#include <QTimer>
#include <algorithm>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>

#include "app/OptionsModel.h"
#include "app/RecentFiles.h"
#include "app/frames/MainFrame.h"
#include "app/frames/OptionsSheet.h"
#include "app/frames/ProcessCommands.h"
#include "app/frames/ProgramStyle.h"
#include "app/frames/Splitter.h"
#include "c3d/SafeFile.h"
#include "document/EditorDoc.h"
#include "views/EditorView.h"
#include "views/ScrView.h"

namespace {

const char* const kOpenFilter = "C3d Files (*.c3d)|*.c3d|All Files (*.*)|*.*||";

// Why a file that exists cannot be read, or empty. (A missing file is
// reported by the document itself.)
std::string UnreadableReason(const std::string& path) {
  std::error_code error;
  if (!std::filesystem::is_regular_file(path, error)) return std::string();
  std::ifstream probe(path, std::ios::binary);
  if (!probe) return std::strerror(errno);
  return std::string();
}

}  // namespace

CQtEditorApp::CQtEditorApp() {
  SetPrompt(&m_qtPrompt);
  if (qApp) {
    QApplication::setWindowIcon(ProgramIcon());
    // Lets the desktop match the windows to quorvel.desktop (its icon, its name).
    QGuiApplication::setDesktopFileName("quorvel");
    if (QApplication::style() && QApplication::style()->name().compare("fusion", Qt::CaseInsensitive) == 0)
      QApplication::setStyle(new CProgramStyle(QStyleFactory::create("Fusion")));
  }
}

CQtEditorApp::~CQtEditorApp() {
  // Messages of a start-up that never showed the main window are not lost.
  m_qtPrompt.SetParent(nullptr);
  m_qtPrompt.ReleaseHeldMessages();
  CloseAllDocuments();
  m_closedDocs.clear();
  m_pMainFrame.reset();
}

// ---- Start-up hooks ----------------------------------------------------------

bool CQtEditorApp::CreateMainFrame() {
  m_pMainFrame = std::make_unique<CMainFrame>(*this);
  m_qtPrompt.SetParent(m_pMainFrame.get());
  m_editDialogs.SetParent(m_pMainFrame.get());
  m_qtPrompt.SetActiveFileLookup([this] {
    CEditorDoc* doc = ActiveDocument();
    return doc ? doc->GetPathName() : std::string();
  });
  // A file named on the command line is opened before the main window is
  // shown; what it reports appears once the window is there, over it.
  m_qtPrompt.HoldMessages();
  return true;
}

void CQtEditorApp::RepaintMainFrame() {
  if (!m_pMainFrame) return;
  m_pMainFrame->SetTabbedDocuments(m_settings.m_nTabbedDocuments != 0);
  m_pMainFrame->UpdateRecentFileMenus();
  m_pMainFrame->UpdateCommandUI();
  m_pMainFrame->update();
}

void CQtEditorApp::ShowMainFrame() {
  if (!m_pMainFrame) return;
  m_pMainFrame->UpdateCaption();
  m_pMainFrame->UpdateCommandUI();
  // Without a window manager "maximised" means nothing: fill the screen.
  if (QScreen* screen = m_pMainFrame->screen())
    m_pMainFrame->setGeometry(screen->availableGeometry());
  m_pMainFrame->showMaximized();
  QTimer::singleShot(0, m_pMainFrame.get(), [this] { m_qtPrompt.ReleaseHeldMessages(); });
}

// ---- Document manager --------------------------------------------------------

CQtEditorApp::CDocEntry* CQtEditorApp::FindEntry(const CEditorDoc* doc) {
  for (auto& entry : m_docs)
    if (entry->m_pDoc.get() == doc) return entry.get();
  return nullptr;
}

const CQtEditorApp::CDocEntry* CQtEditorApp::FindEntry(const CEditorDoc* doc) const {
  for (const auto& entry : m_docs)
    if (entry->m_pDoc.get() == doc) return entry.get();
  return nullptr;
}

std::vector<CEditorDoc*> CQtEditorApp::Documents() const {
  std::vector<CEditorDoc*> docs;
  for (const auto& entry : m_docs) docs.push_back(entry->m_pDoc.get());
  return docs;
}

CEditorDoc* CQtEditorApp::FindOpenDocument(const std::string& path) const {
  const std::string absolute = CRecentFiles::MakeAbsolute(path);
  for (const auto& entry : m_docs)
    if (IsSameFile(entry->m_pDoc->GetPathName(), absolute)) return entry->m_pDoc.get();
  return nullptr;
}

CEditorDoc* CQtEditorApp::ActiveDocument() const {
  return m_pMainFrame ? m_pMainFrame->ActiveDocument() : nullptr;
}

CSplitter* CQtEditorApp::FrameOf(const CEditorDoc* doc) const {
  const CDocEntry* entry = FindEntry(doc);
  return entry ? entry->m_pFrame.data() : nullptr;
}

CEditorView* CQtEditorApp::EditorViewOf(const CEditorDoc* doc) const {
  CSplitter* frame = FrameOf(doc);
  return frame ? frame->EditorView() : nullptr;
}

CEditorDoc* CQtEditorApp::OpenDocumentFile(const std::string& path) {
  if (path.empty()) return nullptr;
  // In Batch Mode each file replaces the ones before it; unsaved changes
  // are offered for saving first, and Cancel keeps everything as it is.
  if (BatchMode()) {
    if (!SaveAllModified()) return nullptr;
    CloseAllDocuments();
  }

  const std::string absolute = CRecentFiles::MakeAbsolute(path);
  if (CEditorDoc* open = FindOpenDocument(absolute)) {
    CSplitter* frame = FrameOf(open);
    if (frame && m_pMainFrame) m_pMainFrame->MdiArea()->setActiveSubWindow(frame);
    return open;
  }

  // The reader says nothing about a file it may not read (permissions).
  const std::string reason = UnreadableReason(absolute);
  if (!reason.empty()) {
    CPromptSubject subject(Prompt(), absolute);
    Prompt().ShowFailure("Cannot open the file " + absolute + ".\n" + reason);
    return nullptr;
  }

  auto doc = std::make_unique<CEditorDoc>(*this);
  if (!doc->OnOpenDocument(absolute)) return nullptr;

  CEditorDoc* opened = doc.get();
  auto entry = std::make_unique<CDocEntry>();
  entry->m_pDoc = std::move(doc);
  m_docs.push_back(std::move(entry));
  if (m_pMainFrame) m_docs.back()->m_pFrame = CreateFrame(*opened);
  AddToRecentFileList(absolute);
  if (m_pMainFrame) {
    m_pMainFrame->UpdateRecentFileMenus();
    m_pMainFrame->UpdateCaption();
    m_pMainFrame->UpdateCommandUI();
  }
  return opened;
}

CSplitter* CQtEditorApp::CreateFrame(CEditorDoc& doc) {
  QMdiArea* area = m_pMainFrame->MdiArea();
  // A new window is maximised like the one the user works in, or when it is
  // the first one.
  QMdiSubWindow* current = area->currentSubWindow();
  const bool maximised = !current || current->isMaximized();

  auto* frame = new CSplitter(*this, doc);
  area->addSubWindow(frame);
  CEditorView* view = frame->EditorView();
  connect(view, &CEditorView::optionsRequested, this, [this, view] {
    if (CEditorDoc* viewDoc = view->GetDocument()) OnOptions(viewDoc);
  });
  connect(view, &CEditorView::documentChanged, this, [this] { UpdateCommandUI(); });
  view->SetCommandLookup([this](const QString& name) -> QAction* {
    if (!m_pMainFrame) return nullptr;
    m_pMainFrame->UpdateCommandUI();
    return m_pMainFrame->Action(name);
  });
  CScrView* graph = frame->GraphView();
  connect(graph, &CScrView::optionsRequested, this, [this, graph] {
    if (CEditorDoc* viewDoc = graph->GetDocument()) OnOptions(viewDoc);
  });
  connect(graph, &CScrView::documentChanged, this, [this] { UpdateCommandUI(); });
  graph->SetCommandLookup([this](const QString& name) -> QAction* {
    if (!m_pMainFrame) return nullptr;
    m_pMainFrame->UpdateCommandUI();
    return m_pMainFrame->Action(name);
  });
  graph->SetFilterHandler([this, graph](bool analog, std::optional<std::pair<int, int>> frames) {
    CEditorDoc* graphDoc = graph->GetDocument();
    if (!graphDoc || !m_pMainFrame) return;
    CCommandContext context{*this, *m_pMainFrame, graphDoc};
    RunFilterOnFrames(context, analog, frames);
    UpdateCommandUI();
  });
  view->OnInitialUpdate();
  graph->OnInitialUpdate();
  if (maximised)
    frame->showMaximized();
  else
    frame->show();
  area->setActiveSubWindow(frame);
  return frame;
}

void CQtEditorApp::ReleaseEntry(CDocEntry* entry) {
  auto it = std::find_if(m_docs.begin(), m_docs.end(),
                         [entry](const auto& e) { return e.get() == entry; });
  if (it == m_docs.end()) return;
  std::unique_ptr<CDocEntry> owned = std::move(*it);
  m_docs.erase(it);
  if (owned->m_pFrame) owned->m_pFrame->ReleaseDocument();
  owned->m_pDoc->OnCloseDocument();
  m_closedDocs.push_back(std::move(owned->m_pDoc));
  DeleteClosedDocuments();
}

void CQtEditorApp::DeleteClosedDocuments() {
  if (m_bDeleteScheduled) return;
  m_bDeleteScheduled = true;
  QTimer::singleShot(0, this, [this] {
    m_bDeleteScheduled = false;
    m_closedDocs.clear();
  });
}

void CQtEditorApp::CloseDocument(CEditorDoc* doc) {
  CDocEntry* entry = FindEntry(doc);
  if (!entry) return;
  if (doc->IsBusy()) {
    // Its data are being read (an export): close it once that has ended.
    QTimer::singleShot(100, this, [this, doc] { CloseDocument(doc); });
    return;
  }
  QPointer<CSplitter> frame = entry->m_pFrame;
  ReleaseEntry(entry);
  if (frame) frame->CloseWithoutAsking();
  if (m_pMainFrame) {
    m_pMainFrame->UpdateCaption();
    m_pMainFrame->UpdateCommandUI();
  }
}

void CQtEditorApp::CloseAllDocuments() {
  while (!m_docs.empty()) CloseDocument(m_docs.front()->m_pDoc.get());
}

bool CQtEditorApp::AnyDocumentBusy() const {
  for (const auto& entry : m_docs)
    if (entry->m_pDoc->IsBusy()) return true;
  return false;
}

bool CQtEditorApp::SaveAllModified() {
  for (CEditorDoc* doc : Documents()) {
    if (!doc->IsModified()) continue;
    if (CSplitter* frame = FrameOf(doc); frame && m_pMainFrame)
      m_pMainFrame->MdiArea()->setActiveSubWindow(frame);
    if (!doc->SaveModified()) return false;
  }
  return true;
}

bool CQtEditorApp::ReleaseFileForWriting(const std::string& path, const CEditorDoc* writer) {
  for (CEditorDoc* doc : Documents()) {
    if (doc == writer || !IsSameFile(doc->GetPathName(), path)) continue;
    if (doc->IsBusy()) {
      Prompt().ShowMessage("The file " + doc->GetTitle() +
                           " is being exported; it cannot be replaced until the export has finished.");
      return false;
    }
    if (doc->IsModified()) {
      if (CSplitter* frame = FrameOf(doc); frame && m_pMainFrame)
        m_pMainFrame->MdiArea()->setActiveSubWindow(frame);
      if (!doc->SaveModified()) return false;
    }
    CloseDocument(doc);
  }
  return true;
}

bool CQtEditorApp::QueryCloseFrame(CSplitter& frame) {
  CEditorDoc* doc = frame.GetDocument();
  if (doc && doc->IsBusy()) return false;  // its export reads it: stays open
  return !doc || doc->SaveModified();
}

void CQtEditorApp::FrameClosing(CSplitter& frame) {
  if (CDocEntry* entry = FindEntry(frame.GetDocument())) ReleaseEntry(entry);
  if (m_pMainFrame) {
    // The area activates the next window only after this one is gone.
    QTimer::singleShot(0, m_pMainFrame.get(), [frame = m_pMainFrame.get()] {
      frame->UpdateCaption();
      frame->UpdateCommandUI();
    });
  }
}

void CQtEditorApp::OnFrameTitleChanged(CSplitter* frame) {
  if (m_pMainFrame && frame == m_pMainFrame->ActiveFrame()) m_pMainFrame->UpdateCaption();
}

void CQtEditorApp::UpdateCommandUI() {
  if (m_pMainFrame) m_pMainFrame->UpdateCommandUI();
}

// ---- Commands ------------------------------------------------------------------

void CQtEditorApp::OnFileOpen() {
  CFileDialogRequest request;
  request.m_strTitle = "Open";
  request.m_strFilter = kOpenFilter;
  request.m_strDefaultExt = "c3d";
  request.m_strInitialDir = m_strLastFolder;
  request.m_bOverwritePrompt = false;
  CFileDialogResult result;
  if (!Prompt().AskOpenFile(request, result)) return;
  m_strLastFolder = std::filesystem::path(result.m_strPath).parent_path().string();
  OpenDocumentFile(result.m_strPath);
}

void CQtEditorApp::OpenRecentFile(const std::string& path) {
  // An entry that no longer opens leaves the list (its failure was shown).
  if (!OpenDocumentFile(path)) RecentFiles().Remove(path);
  if (m_pMainFrame) m_pMainFrame->UpdateRecentFileMenus();
}

void CQtEditorApp::OnFileSave(CEditorDoc& doc) {
  doc.OnSaveDocument(doc.GetPathName());
  UpdateCommandUI();
}

void CQtEditorApp::OnFileSaveAs(CEditorDoc& doc) {
  doc.OnFileSaveAs();
  UpdateCommandUI();
}

bool CQtEditorApp::RunOptionsSheet(COptions& sheet) { return sheet.exec() == QDialog::Accepted; }

void CQtEditorApp::OnOptions(CEditorDoc* doc) {
  COptions sheet(*this, m_pMainFrame.get());
  if (RunOptionsSheet(sheet)) {
    sheet.Request().ApplyOk(m_settings, LockedEditFlag);
    // The document may have been closed while the sheet was open.
    if (doc && FindEntry(doc)) {
      doc->ApplyDisplaySettings();
      // The graph takes the steps and depths of the Views page too.
      if (CSplitter* frame = FrameOf(doc)) frame->GraphView()->RefreshFromSettings();
    }
  }
  UpdateCommandUI();
}

void CQtEditorApp::ApplyViewsToDocuments() {
  for (const auto& entry : m_docs) {
    entry->m_pDoc->m_bShowDataInList = m_settings.m_nShowList != 0;
    if (!entry->m_pFrame) continue;
    entry->m_pFrame->EditorView()->RefreshFromSettings();
    entry->m_pFrame->GraphView()->RefreshFromSettings();
  }
  if (m_pMainFrame) m_pMainFrame->update();
  UpdateCommandUI();
}
