#pragma once
// CScrView: the right-hand pane of a document window. Plots the channel
// selected in the editor view's tree: one graph for an analog channel, three
// stacked graphs (X, Y, Z) for a 3D point. Frames are selected by double
// click (Control extends), a single selected value is dragged to a new level,
// and the graph's commands (Delete and Fill and the frame commands) work on
// the selected frames.
//
// Everything is placed in logical units of a hundredth of an inch with y
// upward (document/GraphGeometry.h); the view maps them to pixels with the
// screen's resolution and the scroll position, and paints only what is
// visible.

#include <QAbstractScrollArea>
#include <QFont>
#include <QPen>
#include <functional>
#include <optional>
#include <utility>

#include "document/EditorDoc.h"
#include "document/GraphCommands.h"
#include "document/GraphContent.h"

class QAction;
class QMenu;

class CScrView : public QAbstractScrollArea, public CDocView {
  Q_OBJECT

 public:
  explicit CScrView(CEditorDoc& doc, QWidget* parent = nullptr);
  ~CScrView() override;

  // Null once the document has been closed.
  CEditorDoc* GetDocument() const { return m_pDoc; }
  void Detach();

  // First update: clears the selection, takes the steps and depths from the
  // settings and fits the graph to the pane.
  void OnInitialUpdate();
  void OnUpdate() override;
  // The Views page of the options was applied: steps, depths and the
  // document's display switches from the settings again.
  void RefreshFromSettings();

  // ---- State ---------------------------------------------------------------
  const CGraphLayout& Layout() const { return m_layout; }
  const CGraphScale& Scale() const { return m_scale; }
  // The Graph Scales dialog's result: new steps and depths, redrawn.
  void SetScale(const CGraphScale& scale);
  const CGraphSelection& Selection() const { return m_selection; }
  void SetSelection(const CGraphSelection& selection);
  int DragMode() const { return m_nDragMode; }

  // Logical units and viewport pixels.
  double PixelsPerUnitX() const;
  double PixelsPerUnitY() const;
  QPointF ToDevice(double x, double y) const;
  QPointF ToLogical(const QPointF& device) const;
  // Client width in logical units (for the horizontal fit).
  double ClientWidthUnits() const;

  // ---- Commands ------------------------------------------------------------
  bool CanDeleteAndFill() const;
  void OnDeleteAndFill();

  // Filter Analog and Filter 3D from the graph work on the frames selected
  // in it: file frame numbers of a range of two different frames (not for
  // analog data while sub frames are shown), otherwise none (the whole file).
  std::optional<std::pair<int, int>> FilterFrames(bool analog) const;
  bool CanFilter(bool analog) const;
  // Runs the Filter dialog and the filter (the main window provides it).
  using FilterHandler = std::function<void(bool analog, std::optional<std::pair<int, int>> frames)>;
  void SetFilterHandler(FilterHandler handler) { m_fnFilter = std::move(handler); }

  // The main window's commands by name (see CEditorView::SetCommandLookup).
  using CommandLookup = std::function<QAction*(const QString& name)>;
  void SetCommandLookup(CommandLookup lookup) { m_fnCommandLookup = std::move(lookup); }
  QMenu* CreateContextMenu(QWidget* parent);
  void ShowContextMenu(bool fromKeyboard, const QPoint& globalPos = QPoint());

 signals:
  // "Options..." of the pop-up menu.
  void optionsRequested();
  // The selection or the document changed (menus may need new states).
  void documentChanged();

 protected:
  void paintEvent(QPaintEvent* e) override;
  void resizeEvent(QResizeEvent* e) override;
  void scrollContentsBy(int dx, int dy) override;
  void mouseDoubleClickEvent(QMouseEvent* e) override;
  void mousePressEvent(QMouseEvent* e) override;
  void mouseMoveEvent(QMouseEvent* e) override;
  void mouseReleaseEvent(QMouseEvent* e) override;
  void contextMenuEvent(QContextMenuEvent* e) override;
  void changeEvent(QEvent* e) override;

 private:
  // Rebuilds the layout for the document's selection and data.
  void RebuildLayout();
  // Applies the horizontal fit and rebuilds.
  void Refit();
  void UpdateScrollBars();
  void CreateDrawingObjects();
  void UpdatePens();

  QRectF DeviceRect(double left, double top, double right, double bottom) const;
  void DrawText(QPainter& painter, const QFont& font, const QRectF& logicalBox, int flags,
                const QString& text) const;
  void PaintPanel(QPainter& painter, const CGraphPanel& panel, int index, double x0, double x1);
  // The point of `frame` in a panel, when the frame has a valid sample.
  bool FramePoint(int panel, int frame, double& x, double& y) const;

  CEditorDoc* m_pDoc;
  CGraphScale m_scale;
  CGraphLayout m_layout;
  CGraphSelection m_selection;
  int m_nDragMode = -1;  // -1 none, 0 analog value, 1 X, 2 Y, 3 Z
  int m_nDragPanel = -1;
  double m_fDragY = 0;   // logical height of the dragged value
  QPointF m_dragStart;   // where the drag began (pixels)
  bool m_bDragMoved = false;
  CommandLookup m_fnCommandLookup;
  FilterHandler m_fnFilter;

  // Drawing objects, made at the first paint.
  bool m_bDrawingObjects = false;
  QFont m_titleFont, m_valueFont, m_frameFont, m_selectionFont;
  QPen m_dataPen, m_selectionPen, m_framePen, m_gridPen;
  QBrush m_windowBrush;
};
