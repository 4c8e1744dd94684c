#pragma once
// CListModel: the editor view's list as a Qt table model. It keeps only the
// list's layout (caption, columns, row count); every cell's text is asked
// from the document when the table draws it, so a list of many thousands of
// frames costs nothing until rows are on screen.

#include <QAbstractTableModel>

#include "document/ListContent.h"

class CEditorDoc;

class CListModel : public QAbstractTableModel {
  Q_OBJECT

 public:
  explicit CListModel(QObject* parent = nullptr);

  // The document the cells come from; null shows an empty list.
  void SetDocument(const CEditorDoc* doc);
  // Installs a new layout (resets the table).
  void SetLayout(const CListLayout& layout);
  const CListLayout& Layout() const { return m_layout; }
  // The values changed but not the layout: the table redraws what it shows.
  void RefreshCells();

  // True when the two layouts describe the same table (kind, rows, columns
  // and caption), so that a refresh need not reset the table.
  static bool SameShape(const CListLayout& a, const CListLayout& b);

  // Alignment of a column's cells: numbers of the data lists to the right,
  // everything else to the left.
  Qt::Alignment ColumnAlignment(int column) const;

  int rowCount(const QModelIndex& parent = QModelIndex()) const override;
  int columnCount(const QModelIndex& parent = QModelIndex()) const override;
  QVariant data(const QModelIndex& index, int role) const override;
  QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

 private:
  const CEditorDoc* m_pDoc = nullptr;
  CListLayout m_layout;
};
