#include "views/ScrView.h"

#include <QAction>
#include <QContextMenuEvent>
#include <QCursor>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <QShortcut>
#include <algorithm>
#include <cmath>

#include "views/PopupMenu.h"

namespace {

QColor FromColorRef(uint32_t color) {
  return QColor(static_cast<int>(ColorRefRed(color)), static_cast<int>(ColorRefGreen(color)),
                static_cast<int>(ColorRefBlue(color)));
}

}  // namespace

CScrView::CScrView(CEditorDoc& doc, QWidget* parent) : QAbstractScrollArea(parent), m_pDoc(&doc) {
  setObjectName("GraphView");
  setFocusPolicy(Qt::StrongFocus);
  viewport()->setMouseTracking(false);
  viewport()->setAutoFillBackground(false);
  horizontalScrollBar()->setSingleStep(20);
  verticalScrollBar()->setSingleStep(20);

  // Shift+F10 opens the pop-up menu like the context-menu key does.
  auto* menuKey = new QShortcut(QKeySequence(Qt::SHIFT | Qt::Key_F10), this);
  menuKey->setContext(Qt::WidgetWithChildrenShortcut);
  connect(menuKey, &QShortcut::activated, this, [this] { ShowContextMenu(true); });

  m_pDoc->AddView(this);
}

CScrView::~CScrView() { Detach(); }

void CScrView::Detach() {
  if (!m_pDoc) return;
  m_pDoc->RemoveView(this);
  m_pDoc = nullptr;
  m_layout = CGraphLayout();
  m_selection.Clear();
  m_nDragMode = -1;
  viewport()->update();
}

// ---- Updates -------------------------------------------------------------------

void CScrView::OnInitialUpdate() {
  if (!m_pDoc) return;
  m_selection.Clear();
  const AppSettings& settings = m_pDoc->Host().Settings();
  m_scale.m_fAnalogStep = static_cast<float>(settings.m_nAnalogXunit);
  m_scale.m_fVideoStep = static_cast<float>(settings.m_n3DXunit);
  m_scale.m_nAnalogDepth = settings.m_nAnalogDepth;
  m_scale.m_nVideoDepth = settings.m_n3DDepth;
  Refit();
}

void CScrView::OnUpdate() {
  if (!m_pDoc) return;
  const bool selectionMoved = m_layout.m_nChannel != m_pDoc->m_nSelItem ||
                              (m_layout.m_kind == GraphKind::Analog) != (m_pDoc->m_nSelNode == -2) ||
                              (m_layout.m_kind == GraphKind::Point) != (m_pDoc->m_nSelNode == -3);
  if (m_pDoc->m_bDataChanged) {
    m_pDoc->m_bDataChanged = false;
    Refit();
  } else if (selectionMoved) {
    RebuildLayout();
  }
  emit documentChanged();
}

void CScrView::RefreshFromSettings() {
  if (!m_pDoc) return;
  const AppSettings& settings = m_pDoc->Host().Settings();
  m_scale.m_fAnalogStep = static_cast<float>(settings.m_nAnalogXunit);
  m_scale.m_fVideoStep = static_cast<float>(settings.m_n3DXunit);
  m_scale.m_nAnalogDepth = settings.m_nAnalogDepth;
  m_scale.m_nVideoDepth = settings.m_n3DDepth;
  m_pDoc->m_bScaleAnalog = settings.m_nScaleAnalog != 0;
  m_pDoc->m_bScale3D = settings.m_nScale3d != 0;
  m_pDoc->m_bShowSubFrames = settings.m_nSubFrames != 0 && m_pDoc->m_c3d.m_header.m_nSamplesPerFrame != 0;
  m_pDoc->m_bDataChanged = true;
  m_pDoc->UpdateAllViews();
}

void CScrView::SetScale(const CGraphScale& scale) {
  m_scale = scale;
  RebuildLayout();
}

void CScrView::SetSelection(const CGraphSelection& selection) {
  m_selection = selection;
  if (m_pDoc) m_selection.Validate(m_pDoc->m_c3d.FrameCount());
  viewport()->update();
  emit documentChanged();
}

void CScrView::Refit() {
  if (!m_pDoc) return;
  const CC3d& c3d = m_pDoc->m_c3d;
  FitHorizontal(m_scale, c3d.FrameCount(), c3d.m_header.m_nSamplesPerFrame, m_pDoc->m_bShowSubFrames,
                m_pDoc->Host().Settings().m_nFitHorizontal != 0, ClientWidthUnits());
  RebuildLayout();
}

void CScrView::RebuildLayout() {
  if (!m_pDoc) return;
  m_layout = DescribeGraph(*m_pDoc, m_scale);
  m_selection.Validate(m_pDoc->m_c3d.FrameCount());
  if (m_nDragMode >= 0 && m_nDragPanel >= static_cast<int>(m_layout.m_panels.size())) m_nDragMode = -1;
  UpdateScrollBars();
  viewport()->update();
}

void CScrView::UpdateScrollBars() {
  const int width = static_cast<int>(std::ceil(m_layout.m_fWidth * PixelsPerUnitX()));
  const int height = static_cast<int>(std::ceil(m_layout.m_fHeight * PixelsPerUnitY()));
  const QSize view = viewport()->size();
  horizontalScrollBar()->setRange(0, std::max(0, width - view.width()));
  horizontalScrollBar()->setPageStep(view.width());
  verticalScrollBar()->setRange(0, std::max(0, height - view.height()));
  verticalScrollBar()->setPageStep(view.height());
}

void CScrView::resizeEvent(QResizeEvent* e) {
  QAbstractScrollArea::resizeEvent(e);
  // With "fit to screen" the steps follow the pane's width.
  if (m_pDoc && m_pDoc->Host().Settings().m_nFitHorizontal != 0)
    Refit();
  else
    UpdateScrollBars();
}

void CScrView::scrollContentsBy(int, int) { viewport()->update(); }

void CScrView::changeEvent(QEvent* e) {
  // The system colours changed: the button-face pen and the window brush
  // follow at the next paint.
  if (e->type() == QEvent::PaletteChange || e->type() == QEvent::StyleChange) {
    m_bDrawingObjects = false;
    viewport()->update();
  }
  QAbstractScrollArea::changeEvent(e);
}

// ---- Coordinates -----------------------------------------------------------

double CScrView::PixelsPerUnitX() const { return logicalDpiX() / 100.0; }
double CScrView::PixelsPerUnitY() const { return logicalDpiY() / 100.0; }

QPointF CScrView::ToDevice(double x, double y) const {
  return QPointF(x * PixelsPerUnitX() - horizontalScrollBar()->value(),
                 -y * PixelsPerUnitY() - verticalScrollBar()->value());
}

QPointF CScrView::ToLogical(const QPointF& device) const {
  return QPointF((device.x() + horizontalScrollBar()->value()) / PixelsPerUnitX(),
                 -(device.y() + verticalScrollBar()->value()) / PixelsPerUnitY());
}

double CScrView::ClientWidthUnits() const { return viewport()->width() / PixelsPerUnitX(); }

QRectF CScrView::DeviceRect(double left, double top, double right, double bottom) const {
  return QRectF(ToDevice(left, top), ToDevice(right, bottom)).normalized();
}

// ---- Painting ---------------------------------------------------------------

void CScrView::CreateDrawingObjects() {
  m_titleFont = QFont("Times New Roman");
  m_titleFont.setPointSize(10);
  m_valueFont = QFont("Arial");
  m_valueFont.setPointSize(8);
  m_frameFont = m_valueFont;
  m_selectionFont = QFont("Times New Roman");
  m_selectionFont.setPointSize(8);
  m_framePen = QPen(palette().color(QPalette::Button).darker(130), 0, Qt::DotLine);
  m_windowBrush = palette().brush(QPalette::Base);
  m_bDrawingObjects = true;
}

void CScrView::UpdatePens() {
  // The colours come from the view settings, which the options may change
  // at any time.
  const AppSettings& settings = m_pDoc->Host().Settings();
  m_dataPen = QPen(FromColorRef(settings.m_nColorHigh), 0);
  m_selectionPen = QPen(FromColorRef(settings.m_nColorZero), 0);
  m_gridPen = QPen(FromColorRef(settings.m_nColorEvent), 0, Qt::DotLine);
}

void CScrView::DrawText(QPainter& painter, const QFont& font, const QRectF& logicalBox, int flags,
                        const QString& text) const {
  painter.setFont(font);
  const QRectF box = DeviceRect(logicalBox.left(), logicalBox.top(), logicalBox.right(), logicalBox.bottom());
  painter.drawText(box, flags | Qt::TextDontClip | Qt::TextSingleLine, text);
}

bool CScrView::FramePoint(int panel, int frame, double& x, double& y) const {
  double value = 0;
  if (!m_pDoc || !FrameValue(*m_pDoc, m_layout, panel, frame, value)) return false;
  x = m_layout.FrameX(frame);
  y = m_layout.m_panels[static_cast<size_t>(panel)].Y(value);
  return true;
}

void CScrView::paintEvent(QPaintEvent*) {
  QPainter painter(viewport());
  if (!m_bDrawingObjects) CreateDrawingObjects();
  painter.fillRect(viewport()->rect(), m_windowBrush);
  if (!m_pDoc || m_layout.IsEmpty()) return;
  UpdatePens();
  // The visible logical range, one pixel column wide at each side.
  const double unitsPerPixel = 1.0 / PixelsPerUnitX();
  const double x0 = horizontalScrollBar()->value() * unitsPerPixel;
  const double x1 = x0 + viewport()->width() * unitsPerPixel;
  for (size_t i = 0; i < m_layout.m_panels.size(); ++i)
    PaintPanel(painter, m_layout.m_panels[i], static_cast<int>(i), x0, x1);
}

void CScrView::PaintPanel(QPainter& painter, const CGraphPanel& panel, int index, double x0, double x1) {
  const CGraphRect& plot = panel.m_plot;
  const double top = plot.m_fTop, bottom = plot.m_fBottom;
  // Panels entirely above or below the window are skipped.
  const double visibleTop = -verticalScrollBar()->value() / PixelsPerUnitY();
  const double visibleBottom = visibleTop - viewport()->height() / PixelsPerUnitY();
  if (bottom - 40 > visibleTop || top + kGraphTitleBand < visibleBottom) return;

  const QColor text = palette().color(QPalette::Text);
  painter.setPen(text);
  DrawText(painter, m_titleFont, QRectF(QPointF(5, top + kGraphTitleBand), QPointF(plot.m_fRight, top)),
           Qt::AlignLeft | Qt::AlignVCenter, QString::fromStdString(panel.m_strTitle));

  // Value labels: the maximum on the top line, the minimum on the bottom
  // line, and the four grid lines between.
  DrawText(painter, m_valueFont, QRectF(QPointF(0, top + 20), QPointF(95, top - 20)),
           Qt::AlignRight | Qt::AlignVCenter, QString::fromStdString(panel.m_strMax));
  DrawText(painter, m_valueFont, QRectF(QPointF(0, bottom + 20), QPointF(95, bottom - 20)),
           Qt::AlignRight | Qt::AlignVCenter, QString::fromStdString(panel.m_strMin));
  const double depth = plot.Height();
  for (int k = 0; k < 4; ++k) {
    const double y = bottom + depth * (k + 1) / 5.0;
    painter.setPen(text);
    DrawText(painter, m_valueFont, QRectF(QPointF(0, y + 20), QPointF(95, y - 20)),
             Qt::AlignRight | Qt::AlignVCenter, QString::fromStdString(panel.m_strGrid[k]));
    painter.setPen(m_gridPen);
    painter.drawLine(ToDevice(plot.m_fLeft, y), ToDevice(plot.m_fRight, y));
  }
  painter.setPen(m_framePen);
  painter.setBrush(Qt::NoBrush);
  painter.drawRect(DeviceRect(plot.m_fLeft, top, plot.m_fRight, bottom));

  // The selected frames: a band over a range, a line at each selected frame.
  if (!m_selection.IsEmpty()) {
    const double lowX = m_layout.FrameX(m_selection.Low());
    const double highX = m_layout.FrameX(m_selection.High());
    if (m_selection.IsRange()) {
      QColor band = m_selectionPen.color();
      band.setAlpha(40);
      painter.fillRect(DeviceRect(lowX, top, highX, bottom), band);
    }
    painter.setPen(m_selectionPen);
    for (double x : {lowX, highX}) painter.drawLine(ToDevice(x, top), ToDevice(x, bottom));
  }

  // Ticks and frame numbers below the bottom line.
  painter.setPen(text);
  for (const CGraphTick& tick : m_layout.m_ticks) {
    if (tick.m_fX < x0 - kGraphLabelBox || tick.m_fX > x1 + kGraphLabelBox) continue;
    painter.drawLine(ToDevice(tick.m_fX, bottom), ToDevice(tick.m_fX, bottom - kGraphTickLength));
    if (!tick.m_strLabel.empty())
      DrawText(painter, m_frameFont,
               QRectF(QPointF(tick.m_fX - kGraphLabelBox / 2.0, bottom - kGraphTickLength),
                      QPointF(tick.m_fX + kGraphLabelBox / 2.0, bottom - kGraphTickLength - 16)),
               Qt::AlignHCenter | Qt::AlignTop, QString::fromStdString(tick.m_strLabel));
  }

  // The data.
  painter.setPen(m_dataPen);
  const CTrace trace = BuildTrace(*m_pDoc, m_layout, index, x0, x1, 1.0 / PixelsPerUnitX());
  QPolygonF polygon;
  for (const std::vector<CTracePoint>& line : trace) {
    polygon.resize(static_cast<qsizetype>(line.size()));
    for (size_t i = 0; i < line.size(); ++i) polygon[static_cast<qsizetype>(i)] = ToDevice(line[i].m_fX, line[i].m_nY);
    painter.drawPolyline(polygon);
  }

  // Marker squares round the selected points; for 3D data the selected
  // frame numbers stand just above the bottom line.
  if (!m_selection.IsEmpty()) {
    painter.setPen(m_selectionPen);
    for (int frame : {m_selection.m_nFirst, m_selection.m_nSecond}) {
      if (frame < 0) continue;
      double x = 0, y = 0;
      if (FramePoint(index, frame, x, y)) {
        const CGraphRect r = MarkerRect(x, y);
        painter.drawRect(DeviceRect(r.m_fLeft, r.m_fTop, r.m_fRight, r.m_fBottom));
      }
      if (m_layout.m_kind == GraphKind::Point)
        DrawText(painter, m_selectionFont,
                 QRectF(QPointF(m_layout.FrameX(frame) - 50, bottom + 16), QPointF(m_layout.FrameX(frame) + 50, bottom + 1)),
                 Qt::AlignHCenter | Qt::AlignBottom, QString::number(m_layout.m_nFirstFrame + frame));
    }
  }

  // The value being dragged: a dotted guide over the graph's height at the
  // frame and a line at the cursor's height.
  if (m_nDragMode >= 0 && m_nDragPanel == index) {
    const double x = m_layout.FrameX(m_selection.m_nFirst);
    QPen guide = m_selectionPen;
    guide.setStyle(Qt::DotLine);
    painter.setPen(guide);
    painter.drawLine(ToDevice(x, top), ToDevice(x, bottom));
    painter.setPen(m_selectionPen);
    painter.drawLine(ToDevice(plot.m_fLeft, m_fDragY), ToDevice(plot.m_fRight, m_fDragY));
    const CGraphRect r = MarkerRect(x, m_fDragY);
    painter.drawRect(DeviceRect(r.m_fLeft, r.m_fTop, r.m_fRight, r.m_fBottom));
  }
}

// ---- Mouse --------------------------------------------------------------------

void CScrView::mouseDoubleClickEvent(QMouseEvent* e) {
  if (!m_pDoc || e->button() != Qt::LeftButton) return;
  const QPointF p = ToLogical(e->position());
  if (m_layout.PanelAt(p.x(), p.y()) < 0) return;
  if (m_selection.DoubleClick(m_layout.FrameAt(p.x()), e->modifiers() & Qt::ControlModifier)) {
    viewport()->update();
    emit documentChanged();
  }
}

void CScrView::mousePressEvent(QMouseEvent* e) {
  setFocus(Qt::MouseFocusReason);
  m_nDragMode = -1;
  if (!m_pDoc || e->button() != Qt::LeftButton || !m_selection.IsSingle() || !m_pDoc->Host().EditMode())
    return;
  const QPointF p = ToLogical(e->position());
  for (int i = 0; i < static_cast<int>(m_layout.m_panels.size()); ++i) {
    double x = 0, y = 0;
    if (!FramePoint(i, m_selection.m_nFirst, x, y) || !MarkerRect(x, y).Contains(p.x(), p.y())) continue;
    m_nDragMode = m_layout.m_kind == GraphKind::Analog ? 0 : i + 1;
    m_nDragPanel = i;
    m_fDragY = y;
    m_dragStart = e->position();
    m_bDragMoved = false;
    viewport()->setCursor(Qt::SizeVerCursor);
    viewport()->update();
    return;
  }
}

void CScrView::mouseMoveEvent(QMouseEvent* e) {
  if (m_nDragMode < 0) return;
  const CGraphRect& plot = m_layout.m_panels[static_cast<size_t>(m_nDragPanel)].m_plot;
  const QPointF p = ToLogical(e->position());
  m_fDragY = std::clamp(p.y(), plot.m_fBottom, plot.m_fTop);
  if (std::abs(e->position().y() - m_dragStart.y()) >= 1) m_bDragMoved = true;
  // The cursor stays on the frame's vertical line.
  const QPointF onLine = ToDevice(m_layout.FrameX(m_selection.m_nFirst), p.y());
  if (std::abs(onLine.x() - e->position().x()) >= 1)
    QCursor::setPos(viewport()->mapToGlobal(QPoint(qRound(onLine.x()), qRound(e->position().y()))));
  viewport()->update();
}

void CScrView::mouseReleaseEvent(QMouseEvent* e) {
  if (m_nDragMode < 0 || e->button() != Qt::LeftButton) return;
  const int panel = m_nDragPanel;
  const bool moved = m_bDragMoved;
  m_nDragMode = -1;
  viewport()->unsetCursor();
  viewport()->update();
  // A click on the marker without a move changes nothing.
  if (moved && m_pDoc) DropDraggedValue(*m_pDoc, m_layout, panel, m_selection.m_nFirst, m_fDragY);
}

// ---- Commands ---------------------------------------------------------------

bool CScrView::CanDeleteAndFill() const { return m_pDoc && ::CanDeleteAndFill(*m_pDoc, m_selection); }

void CScrView::OnDeleteAndFill() {
  if (!CanDeleteAndFill()) return;
  CWaitCursor wait(m_pDoc->Prompt());
  DeleteAndFill(*m_pDoc, m_selection);
}

std::optional<std::pair<int, int>> CScrView::FilterFrames(bool analog) const {
  if (!m_pDoc || !m_selection.IsRange() || (analog && m_pDoc->m_bShowSubFrames)) return std::nullopt;
  const int first = m_pDoc->m_c3d.m_header.m_nFirstFrame;
  return std::make_pair(first + m_selection.Low(), first + m_selection.High());
}

bool CScrView::CanFilter(bool analog) const {
  return m_pDoc && m_fnFilter && m_pDoc->Host().EditMode() && GraphChannelSelected(*m_pDoc) &&
         m_pDoc->m_nSelNode == (analog ? -2 : -3);
}

// ---- Pop-up menu -------------------------------------------------------------

QMenu* CScrView::CreateContextMenu(QWidget* parent) {
  auto* menu = new QMenu(parent);
  AddPopupEntries(menu, m_fnCommandLookup,
                  {{"Append", "&Append..."},
                   {"Merge", "&Merge..."},
                   {"Import", "Import"},
                   {"Sampling Frequency", "Sampling &Frequency..."},
                   {"Analog to Video Ratio", "Analog to Video &Ratio..."},
                   {"Interpolate", "&Interpolate..."},
                   {"Delete and Fill", "&Delete and Fill"}});
  // The filters work on the graph's frames.
  for (bool analog : {true, false}) {
    QAction* filter = menu->addAction(analog ? "Filter Analog..." : "Filter 3D...");
    filter->setEnabled(CanFilter(analog));
    connect(filter, &QAction::triggered, this, [this, analog] {
      if (CanFilter(analog)) m_fnFilter(analog, FilterFrames(analog));
    });
  }
  AddValidityMenu(menu, m_fnCommandLookup);
  menu->addAction("&Options...", this, [this] { emit optionsRequested(); });
  return menu;
}

void CScrView::ShowContextMenu(bool fromKeyboard, const QPoint& globalPos) {
  // From the keyboard the menu opens 5 units inside the top left corner.
  const QPoint inside(qRound(5 * PixelsPerUnitX()), qRound(5 * PixelsPerUnitY()));
  const QPoint at = fromKeyboard ? viewport()->mapToGlobal(inside) : globalPos;
  QMenu* menu = CreateContextMenu(this);
  menu->setAttribute(Qt::WA_DeleteOnClose);
  menu->popup(at);
}

void CScrView::contextMenuEvent(QContextMenuEvent* e) {
  ShowContextMenu(e->reason() == QContextMenuEvent::Keyboard, e->globalPos());
  e->accept();
}
