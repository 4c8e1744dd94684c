#pragma once
// CHeadlessApp: the application without windows, for the command-line tool
// and the tests. Open documents are kept in a list; opening a file creates a
// CEditorDoc and reads the file into it.

#include <memory>
#include <string>
#include <vector>

#include "app/EditorApp.h"

class CHeadlessApp : public CEditorApp {
 public:
  CHeadlessApp();
  ~CHeadlessApp() override;

  // In Batch Mode every open document is closed first; one with unsaved
  // changes is offered for saving ("Save changes to ...?"), and Cancel stops
  // the open. Outside Batch Mode a file that is already open is not read a
  // second time: its document is returned. Null when the open failed (the
  // document has reported why) or was cancelled.
  CEditorDoc* OpenDocumentFile(const std::string& path) override;
  // Closes and destroys the document without asking about changes.
  void CloseDocument(CEditorDoc* doc) override;
  bool ReleaseFileForWriting(const std::string& path, const CEditorDoc* writer) override;
  void CloseAllDocuments();
  CEditorDoc* FindOpenDocument(const std::string& path) const override;
  // Asks "Save changes?" for every changed document; false when the user
  // cancels one (or its save fails), in which case nothing is closed.
  bool SaveAllModified();

  const std::vector<std::unique_ptr<CEditorDoc>>& Documents() const { return m_documents; }
  int DocumentCount() const { return static_cast<int>(m_documents.size()); }

 private:
  std::vector<std::unique_ptr<CEditorDoc>> m_documents;
};
