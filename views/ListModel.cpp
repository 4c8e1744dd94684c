#include "views/ListModel.h"

#include "document/EditorDoc.h"

CListModel::CListModel(QObject* parent) : QAbstractTableModel(parent) {}

void CListModel::SetDocument(const CEditorDoc* doc) {
  beginResetModel();
  m_pDoc = doc;
  if (!doc) m_layout = CListLayout();
  endResetModel();
}

void CListModel::SetLayout(const CListLayout& layout) {
  beginResetModel();
  m_layout = layout;
  endResetModel();
}

void CListModel::RefreshCells() {
  if (m_layout.m_nRows <= 0 || m_layout.m_columns.empty()) return;
  // One range over the whole table: the view only repaints what is visible.
  emit dataChanged(index(0, 0), index(m_layout.m_nRows - 1, columnCount() - 1),
                   {Qt::DisplayRole});
}

bool CListModel::SameShape(const CListLayout& a, const CListLayout& b) {
  if (a.m_kind != b.m_kind || a.m_nRows != b.m_nRows || a.m_strCaption != b.m_strCaption ||
      a.m_columns.size() != b.m_columns.size())
    return false;
  for (size_t i = 0; i < a.m_columns.size(); ++i)
    if (a.m_columns[i].m_strCaption != b.m_columns[i].m_strCaption) return false;
  return true;
}

Qt::Alignment CListModel::ColumnAlignment(int column) const {
  const bool data = m_layout.m_kind == ListKind::Analog || m_layout.m_kind == ListKind::Point;
  return Qt::AlignVCenter | (data && column > 0 ? Qt::AlignRight : Qt::AlignLeft);
}

int CListModel::rowCount(const QModelIndex& parent) const {
  return parent.isValid() || !m_pDoc ? 0 : m_layout.m_nRows;
}

int CListModel::columnCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : static_cast<int>(m_layout.m_columns.size());
}

QVariant CListModel::data(const QModelIndex& index, int role) const {
  if (!m_pDoc || !index.isValid()) return {};
  switch (role) {
    case Qt::DisplayRole:
      return QString::fromStdString(ListCellText(*m_pDoc, m_layout, index.row(), index.column()));
    case Qt::TextAlignmentRole:
      return static_cast<int>(ColumnAlignment(index.column()));
    default:
      return {};
  }
}

QVariant CListModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (orientation != Qt::Horizontal || section < 0 ||
      section >= static_cast<int>(m_layout.m_columns.size()))
    return QAbstractTableModel::headerData(section, orientation, role);
  if (role == Qt::DisplayRole)
    return QString::fromStdString(m_layout.m_columns[section].m_strCaption);
  if (role == Qt::TextAlignmentRole) return static_cast<int>(ColumnAlignment(section));
  return {};
}
