#include "app/frames/Splitter.h"

#include <QApplication>
#include <QCloseEvent>
#include <QSplitter>

#include "app/frames/QtEditorApp.h"
#include "document/EditorDoc.h"
#include "views/EditorView.h"
#include "views/ScrView.h"

namespace {
constexpr int kEditorWidth = 400;
constexpr int kGraphWidth = 500;
constexpr int kMinPaneWidth = 50;
}  // namespace

CSplitter::CSplitter(CQtEditorApp& app, CEditorDoc& doc, QWidget* parent)
    : QMdiSubWindow(parent), m_app(app), m_pDoc(&doc) {
  setAttribute(Qt::WA_DeleteOnClose);

  m_pSplitter = new QSplitter(Qt::Horizontal);
  m_pSplitter->setChildrenCollapsible(false);

  m_pEditorView = new CEditorView(doc);
  m_pEditorView->setMinimumWidth(kMinPaneWidth);
  m_pSplitter->addWidget(m_pEditorView);

  m_pGraphView = new CScrView(doc);
  m_pGraphView->setMinimumWidth(kMinPaneWidth);
  m_pSplitter->addWidget(m_pGraphView);

  // Extra width is shared by the editor view (tree and list) and the graph.
  m_pSplitter->setStretchFactor(0, 1);
  m_pSplitter->setStretchFactor(1, 1);
  m_pSplitter->setSizes({kEditorWidth, kGraphWidth});

  setWidget(m_pSplitter);
  resize(kEditorWidth + kGraphWidth + 20, 400);

  connect(m_pEditorView, &CEditorView::titleChanged, this, &CSplitter::UpdateCaption);
  // The pane that last took the focus is the one the Edit commands serve.
  connect(qApp, &QApplication::focusChanged, this, [this](QWidget*, QWidget* now) {
    if (!now) return;
    if (m_pGraphView->isAncestorOf(now) || now == m_pGraphView)
      m_bGraphActive = true;
    else if (m_pEditorView->isAncestorOf(now) || now == m_pEditorView)
      m_bGraphActive = false;
  });
  UpdateCaption();
}

CSplitter::~CSplitter() = default;

void CSplitter::ReleaseDocument() {
  if (!m_pDoc) return;
  m_pEditorView->Detach();
  m_pGraphView->Detach();
  m_pDoc = nullptr;
}

void CSplitter::CloseWithoutAsking() {
  m_bClosingWithoutAsking = true;
  close();
}

void CSplitter::UpdateCaption() {
  if (!m_pDoc) return;
  setWindowTitle(QString::fromStdString(m_pDoc->GetTitle()) + "[*]");
  setWindowModified(m_pDoc->IsModified());
  m_app.OnFrameTitleChanged(this);
}

void CSplitter::closeEvent(QCloseEvent* e) {
  if (!m_bClosingWithoutAsking && m_pDoc) {
    // The user closes the window: unsaved changes are asked about, and
    // Cancel (or a failed save) keeps the document open.
    if (!m_app.QueryCloseFrame(*this)) {
      e->ignore();
      return;
    }
    m_app.FrameClosing(*this);
  }
  QMdiSubWindow::closeEvent(e);
}
