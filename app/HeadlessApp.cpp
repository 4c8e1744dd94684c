#include "app/HeadlessApp.h"

#include <algorithm>

#include "app/RecentFiles.h"
#include "c3d/SafeFile.h"
#include "document/EditorDoc.h"

CHeadlessApp::CHeadlessApp() = default;

CHeadlessApp::~CHeadlessApp() { CloseAllDocuments(); }

CEditorDoc* CHeadlessApp::OpenDocumentFile(const std::string& path) {
  if (BatchModeFlag) {
    if (!SaveAllModified()) return nullptr;
    CloseAllDocuments();
  } else if (CEditorDoc* open = FindOpenDocument(path)) {
    return open;
  }
  auto doc = std::make_unique<CEditorDoc>(*this);
  // The document is listed while it reads, as a window would be: a batch
  // run started from the open step finds it among the open documents.
  CEditorDoc* raw = doc.get();
  m_documents.push_back(std::move(doc));
  if (!raw->OnOpenDocument(path)) {
    // A document that never opened is simply dropped.
    auto it = std::find_if(m_documents.begin(), m_documents.end(),
                           [raw](const std::unique_ptr<CEditorDoc>& p) { return p.get() == raw; });
    if (it != m_documents.end()) m_documents.erase(it);
    return nullptr;
  }
  return raw;
}

CEditorDoc* CHeadlessApp::FindOpenDocument(const std::string& path) const {
  const std::string absolute = CRecentFiles::MakeAbsolute(path);
  for (const auto& doc : m_documents)
    if (CRecentFiles::MakeAbsolute(doc->GetPathName()) == absolute) return doc.get();
  return nullptr;
}

void CHeadlessApp::CloseDocument(CEditorDoc* doc) {
  auto it = std::find_if(m_documents.begin(), m_documents.end(),
                         [doc](const std::unique_ptr<CEditorDoc>& p) { return p.get() == doc; });
  if (it == m_documents.end()) return;
  std::unique_ptr<CEditorDoc> owned = std::move(*it);
  m_documents.erase(it);
  owned->OnCloseDocument();
}

bool CHeadlessApp::ReleaseFileForWriting(const std::string& path, const CEditorDoc* writer) {
  std::vector<CEditorDoc*> showing;
  for (const auto& doc : m_documents)
    if (doc.get() != writer && IsSameFile(doc->GetPathName(), path)) showing.push_back(doc.get());
  for (CEditorDoc* doc : showing) {
    if (!doc->SaveModified()) return false;
    CloseDocument(doc);
  }
  return true;
}

bool CHeadlessApp::SaveAllModified() {
  for (const auto& doc : m_documents)
    if (!doc->SaveModified()) return false;
  return true;
}

void CHeadlessApp::CloseAllDocuments() {
  while (!m_documents.empty()) CloseDocument(m_documents.back().get());
}
