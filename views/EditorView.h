#pragma once
// CEditorView: the left pane of a document window. A tree of the header, the
// analog channels, the 3D points and the groups with their parameters; the
// header event list; and a list of what the selected node holds, with a
// frame range for the data lists and in-place editing of sample values.

#include <QWidget>
#include <functional>

#include "document/EditorDoc.h"

class QAction;
class QLabel;
class QLineEdit;
class QMenu;
class QSplitter;
class QTreeWidget;
class QTreeWidgetItem;
class CListModel;
class CListTable;

class CEditorView : public QWidget, public CDocView {
  Q_OBJECT

 public:
  explicit CEditorView(CEditorDoc& doc, QWidget* parent = nullptr);
  ~CEditorView() override;

  // Null once the document has been closed.
  CEditorDoc* GetDocument() const { return m_pDoc; }
  // The document is going away: stop using it.
  void Detach();

  // First fill after the document was read: tree, events and list.
  void OnInitialUpdate();
  void OnUpdate() override;
  void OnTitleChanged() override;
  // The Views page of the options was applied: take the scale and sub-frame
  // switches from the settings again and redraw.
  void RefreshFromSettings();

  // The main window's commands by name, asked for when the pop-up menu opens
  // (with their enabled state up to date). Without it, or for a command not
  // known, the pop-up menu leaves that entry out.
  using CommandLookup = std::function<QAction*(const QString& name)>;
  void SetCommandLookup(CommandLookup lookup) { m_fnCommandLookup = std::move(lookup); }

  // The pop-up menu of the view (also used by the tests).
  QMenu* CreateContextMenu(QWidget* parent);
  // Opens the pop-up menu; `fromKeyboard` places it just inside the view's
  // top left corner instead of at the mouse.
  void ShowContextMenu(bool fromKeyboard, const QPoint& globalPos = QPoint());

  // Starts the in-place editor on a cell when the list allows editing it.
  bool BeginCellEdit(int row, int column);
  // Applies what was typed into a cell (the end of an in-place edit).
  void OnCellEditEnded(int row, int column, bool cancelled, const QString& text);

  // Applies the frame range typed in the range boxes.
  void ApplyListRange();

  // Frame indexes (0 = the file's first frame, ascending) of the rows
  // selected in a point or analog list; empty for any other list.
  std::vector<int> SelectedFrames() const;
  void ClearFrameSelection();

  // Parts, for the frame and the tests.
  QTreeWidget* Tree() const { return m_pTree; }
  QTreeWidget* EventList() const { return m_pEvents; }
  CListTable* List() const { return m_pList; }
  CListModel* ListModel() const { return m_pModel; }
  QLabel* Caption() const { return m_pCaption; }
  QLineEdit* FirstFrameEdit() const { return m_pFirstFrame; }
  QLineEdit* LastFrameEdit() const { return m_pLastFrame; }

 signals:
  // "Options..." of the pop-up menu.
  void optionsRequested();
  // The document's title or modified mark changed.
  void titleChanged();
  // The document changed in any way (menus may need new states).
  void documentChanged();

 protected:
  void contextMenuEvent(QContextMenuEvent* e) override;

 private:
  void RebuildTree();
  void SelectRememberedNode();
  void FillEventList();
  // Refills the list; `relayout` forces a new layout even if the shape is the
  // same (another node with the same columns).
  void FillList(bool relayout);
  void ShowListRange();
  void OnTreeSelectionChanged();
  void OnListDoubleClicked();
  QTreeWidgetItem* FindTreeItem(int node, int item) const;

  CEditorDoc* m_pDoc;
  QSplitter* m_pSplitter = nullptr;
  QTreeWidget* m_pTree = nullptr;
  QTreeWidget* m_pEvents = nullptr;
  QLabel* m_pCaption = nullptr;
  QWidget* m_pRangeBox = nullptr;
  QLineEdit* m_pFirstFrame = nullptr;
  QLineEdit* m_pLastFrame = nullptr;
  CListTable* m_pList = nullptr;
  CListModel* m_pModel = nullptr;
  bool m_bFillingTree = false;
  CommandLookup m_fnCommandLookup;
};
