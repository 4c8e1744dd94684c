#pragma once
// CSplitter: the window of one document inside the main window. A splitter
// with the editor view on the left and the graph view on the right.
// Closing it by the user asks about unsaved changes first.

#include <QMdiSubWindow>
#include <QPointer>

class QSplitter;
class CEditorDoc;
class CEditorView;
class CQtEditorApp;
class CScrView;

class CSplitter : public QMdiSubWindow {
  Q_OBJECT

 public:
  CSplitter(CQtEditorApp& app, CEditorDoc& doc, QWidget* parent = nullptr);
  ~CSplitter() override;

  // Null once the document has been closed.
  CEditorDoc* GetDocument() const { return m_pDoc; }
  CEditorView* EditorView() const { return m_pEditorView; }
  CScrView* GraphView() const { return m_pGraphView; }
  QSplitter* Splitter() const { return m_pSplitter; }

  // Whether the graph view is the pane the user works in: it holds the
  // focus, or held it last. The Edit commands on frames then take the
  // frames selected in the graph instead of the rows of the list.
  bool GraphIsActive() const { return m_bGraphActive; }

  // The document is being closed: the views stop using it.
  void ReleaseDocument();
  // Closes the window without asking (the document is closed already or is
  // being closed by the program).
  void CloseWithoutAsking();
  // Shows the document's title and modified mark.
  void UpdateCaption();

 protected:
  void closeEvent(QCloseEvent* e) override;

 private:
  CQtEditorApp& m_app;
  CEditorDoc* m_pDoc;
  CEditorView* m_pEditorView = nullptr;
  CScrView* m_pGraphView = nullptr;
  QSplitter* m_pSplitter = nullptr;
  bool m_bClosingWithoutAsking = false;
  bool m_bGraphActive = false;
};
