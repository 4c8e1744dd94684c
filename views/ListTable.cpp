#include "views/ListTable.h"

#include <QHeaderView>
#include <QStyle>
#include <algorithm>
#include <QKeyEvent>
#include <QMouseEvent>

#include "views/CellEdit.h"
#include "views/ListModel.h"

namespace {
// Columns this narrow (in pixels) are not edited: there is nothing to see.
constexpr int kMinEditWidth = 4;
}  // namespace

CListTable::CListTable(QWidget* parent) : QTableView(parent) {
  setSelectionBehavior(QAbstractItemView::SelectRows);
  // Frame commands work on any set of rows: Shift and Ctrl extend.
  setSelectionMode(QAbstractItemView::ExtendedSelection);
  setEditTriggers(QAbstractItemView::NoEditTriggers);
  setWordWrap(false);
  setAlternatingRowColors(false);
  setShowGrid(true);
  verticalHeader()->hide();
  // Fixed row heights: the table never measures rows, which keeps very long
  // lists instant.
  verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
  verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 6);
  horizontalHeader()->setHighlightSections(false);
  horizontalHeader()->setStretchLastSection(false);
  setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
  // An open editor follows its cell when columns are resized or moved.
  connect(horizontalHeader(), &QHeaderView::sectionResized, this, [this] { PlaceEditor(); });
  connect(horizontalHeader(), &QHeaderView::sectionMoved, this, [this] { PlaceEditor(); });
}

void CListTable::SetListModel(CListModel* model) {
  m_pModel = model;
  setModel(model);
  // A reset changes what the cells mean: an open editor would write into the
  // wrong place, so it is cancelled.
  connect(model, &QAbstractItemModel::modelAboutToBeReset, this, [this] { EndEdit(true); });
  connect(model, &QAbstractItemModel::modelReset, this, [this] { ApplyColumnWidths(); });
}

void CListTable::ApplyColumnWidths() {
  if (!m_pModel) return;
  const double dpiScale = logicalDpiX() / 96.0;
  const auto& columns = m_pModel->Layout().m_columns;
  for (int i = 0; i < static_cast<int>(columns.size()); ++i)
    setColumnWidth(i, static_cast<int>(columns[i].m_nWidth * dpiScale + 0.5));
}

void CListTable::FitColumnsToContents(int sampleRows, int minimum) {
  if (!m_pModel) return;
  const int rows = m_pModel->rowCount();
  const int columns = m_pModel->columnCount();
  const QFontMetrics metrics(font());
  // Room for the cell's margins and grid line, as the view draws them.
  const int margin = 2 * style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, this) + 14;
  for (int c = 0; c < columns; ++c) {
    int width = std::max(minimum, horizontalHeader()->sectionSizeHint(c));
    auto measure = [&](int row) {
      const QString text = m_pModel->data(m_pModel->index(row, c), Qt::DisplayRole).toString();
      width = std::max(width, metrics.horizontalAdvance(text) + margin);
    };
    for (int r = 0; r < rows && r < sampleRows; ++r) measure(r);
    for (int r = std::max(sampleRows, rows - sampleRows); r < rows; ++r) measure(r);
    setColumnWidth(c, width);
  }
}

bool CListTable::BeginEdit(int row, int column) {
  if (!m_pModel || row < 0 || column < 0 || row >= m_pModel->rowCount() ||
      column >= m_pModel->columnCount())
    return false;
  if (columnWidth(column) <= kMinEditWidth) return false;
  EndEdit(false);

  const QModelIndex cell = m_pModel->index(row, column);
  scrollTo(cell);
  const QString text = m_pModel->data(cell, Qt::DisplayRole).toString();

  auto* editor = new CCellEdit(row, column, text, viewport());
  editor->setFont(font());
  editor->setAlignment(m_pModel->ColumnAlignment(column));
  connect(editor, &CCellEdit::editEnded, this,
          [this](int r, int c, bool cancelled, const QString& typed) {
            // Keyboard ends give the focus back to the list; a click elsewhere
            // keeps it where the user put it.
            const bool editorHadFocus = m_pEditor && m_pEditor->HadFocusAtEnd();
            m_pEditor = nullptr;
            if (editorHadFocus) setFocus(Qt::OtherFocusReason);
            emit editEnded(r, c, cancelled, typed);
          });
  m_pEditor = editor;
  PlaceEditor();
  editor->show();
  editor->setFocus(Qt::OtherFocusReason);
  editor->selectAll();
  return true;
}

void CListTable::EndEdit(bool cancel) {
  if (m_pEditor) m_pEditor->Finish(cancel);
}

void CListTable::PlaceEditor() {
  if (!m_pEditor || !m_pModel) return;
  const QRect cell = visualRect(m_pModel->index(m_pEditor->Row(), m_pEditor->Column()));
  m_pEditor->Place(cell, viewport()->width());
  // Scrolled out of sight: hidden, but still open with its text.
  m_pEditor->setVisible(cell.isValid() && viewport()->rect().intersects(cell));
}

void CListTable::mousePressEvent(QMouseEvent* e) {
  if (e->button() == Qt::LeftButton && e->modifiers() == Qt::NoModifier && m_pModel) {
    const QModelIndex hit = indexAt(e->position().toPoint());
    const QModelIndex focused = currentIndex();
    if (hit.isValid() && focused.isValid() && hit.row() == focused.row() && hit.column() > 0) {
      // Keep the focus mark on the clicked cell and let the view decide
      // whether the cell may be edited.
      setCurrentIndex(hit);
      emit editRequested(hit.row(), hit.column());
      return;
    }
  }
  QTableView::mousePressEvent(e);
}

void CListTable::mouseDoubleClickEvent(QMouseEvent* e) {
  const QModelIndex hit = indexAt(e->position().toPoint());
  if (e->button() == Qt::LeftButton && hit.isValid()) emit rowDoubleClicked(hit.row());
  QTableView::mouseDoubleClickEvent(e);
}

void CListTable::keyPressEvent(QKeyEvent* e) {
  if (e->key() == Qt::Key_F2 && e->modifiers() == Qt::NoModifier) {
    const QModelIndex focused = currentIndex();
    if (focused.isValid() && focused.column() > 0) {
      emit editRequested(focused.row(), focused.column());
      return;
    }
  }
  QTableView::keyPressEvent(e);
}

void CListTable::scrollContentsBy(int dx, int dy) {
  QTableView::scrollContentsBy(dx, dy);
  PlaceEditor();
}

void CListTable::resizeEvent(QResizeEvent* e) {
  QTableView::resizeEvent(e);
  PlaceEditor();
}
