#pragma once
// CQtEditorApp: the application object of the editor. Adds the windows to
// CEditorApp: the main frame, one document window per open file (opening a
// file that is already open activates its window), closing with the
// "Save changes?" question, and the commands that work on the application
// or on a document as a whole.

#include <QObject>
#include <QPointer>
#include <memory>
#include <string>
#include <vector>

#include "app/EditorApp.h"
#include "app/frames/QtEditDialogs.h"
#include "app/frames/QtPrompt.h"

class CEditorDoc;
class CEditorView;
class CMainFrame;
class COptions;
class CSplitter;

class CQtEditorApp : public QObject, public CEditorApp {
  Q_OBJECT

 public:
  CQtEditorApp();
  ~CQtEditorApp() override;

  CMainFrame* MainFrame() const { return m_pMainFrame.get(); }
  CQtPrompt& QtPrompt() { return m_qtPrompt; }

  // ---- Document manager --------------------------------------------------
  CEditorDoc* OpenDocumentFile(const std::string& path) override;
  // A busy document (an export running) is closed as soon as it is idle.
  void CloseDocument(CEditorDoc* doc) override;
  CEditDialogs& EditDialogs() override { return m_editDialogs; }
  bool ReleaseFileForWriting(const std::string& path, const CEditorDoc* writer) override;

  CEditorDoc* FindOpenDocument(const std::string& path) const override;

  std::vector<CEditorDoc*> Documents() const;
  CEditorDoc* ActiveDocument() const;
  CSplitter* FrameOf(const CEditorDoc* doc) const;
  CEditorView* EditorViewOf(const CEditorDoc* doc) const;

  // Whether an export is reading one of the documents.
  bool AnyDocumentBusy() const;
  // Asks "Save changes?" for every changed document; false when the user
  // cancels one (or its save fails), in which case nothing is closed.
  bool SaveAllModified();
  // Closes every document without asking.
  void CloseAllDocuments();

  // The user closes a document window: true when it may close (saved, or
  // the user chose not to save; never while it is busy). FrameClosing then
  // closes the document.
  bool QueryCloseFrame(CSplitter& frame);
  void FrameClosing(CSplitter& frame);
  void OnFrameTitleChanged(CSplitter* frame);

  // ---- Commands ------------------------------------------------------------
  void OnFileOpen();
  void OpenRecentFile(const std::string& path);
  void OnFileSave(CEditorDoc& doc);
  void OnFileSaveAs(CEditorDoc& doc);
  // Options from the File menu (`doc` null) or for a document (Tools menu,
  // the editor view's pop-up menu): after OK the document takes its display
  // switches from the settings again.
  void OnOptions(CEditorDoc* doc);
  // The Views page was applied: every open document shows the new settings.
  void ApplyViewsToDocuments();
  // Brings the main frame's menus up to date.
  void UpdateCommandUI();

 protected:
  bool CreateMainFrame() override;
  void RepaintMainFrame() override;
  void ShowMainFrame() override;
  // Shows the options sheet; true for OK. Tests replace it to fill the
  // pages without a modal loop.
  virtual bool RunOptionsSheet(COptions& sheet);

 private:
  struct CDocEntry {
    std::unique_ptr<CEditorDoc> m_pDoc;
    QPointer<CSplitter> m_pFrame;
  };
  CDocEntry* FindEntry(const CEditorDoc* doc);
  const CDocEntry* FindEntry(const CEditorDoc* doc) const;
  CSplitter* CreateFrame(CEditorDoc& doc);
  // Takes the document out of the list and lets it go once control is back
  // in the event loop (it may be the caller of CloseDocument).
  void ReleaseEntry(CDocEntry* entry);
  void DeleteClosedDocuments();

  CQtPrompt m_qtPrompt;
  CQtEditDialogs m_editDialogs{m_qtPrompt};
  std::unique_ptr<CMainFrame> m_pMainFrame;
  std::vector<std::unique_ptr<CDocEntry>> m_docs;
  std::vector<std::unique_ptr<CEditorDoc>> m_closedDocs;
  bool m_bDeleteScheduled = false;
  std::string m_strLastFolder;
};
