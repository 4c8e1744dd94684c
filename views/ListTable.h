#pragma once
// CListTable: the report-style list of the editor view. Rows are selected as
// a whole; a click on a further column of the row that already has the focus
// asks for an in-place editor on that cell, which the table then hosts.

#include <QPointer>
#include <QTableView>

#include "views/CellEdit.h"

class CListModel;

class CListTable : public QTableView {
  Q_OBJECT

 public:
  explicit CListTable(QWidget* parent = nullptr);

  void SetListModel(CListModel* model);
  CListModel* ListModel() const { return m_pModel; }

  // Column widths from the model's layout (in 96-dpi units).
  void ApplyColumnWidths();
  // Widens or narrows every column to its caption and the texts of the
  // first and last `sampleRows` rows (a long table is never measured
  // whole), never below `minimum` pixels. The user may resize them after.
  void FitColumnsToContents(int sampleRows, int minimum);

  // Opens the editor over (row, column): the row is scrolled into view and
  // the list scrolls sideways when needed. False when there is no such cell
  // or the column is too narrow to edit.
  bool BeginEdit(int row, int column);
  CCellEdit* ActiveEditor() const { return m_pEditor; }
  // Ends a running edit (cancel or with its text).
  void EndEdit(bool cancel);

 signals:
  // The user clicked (row, column) of the focused row, or pressed F2 there.
  void editRequested(int row, int column);
  void editEnded(int row, int column, bool cancelled, const QString& text);
  // A double-click on a row.
  void rowDoubleClicked(int row);

 protected:
  void mousePressEvent(QMouseEvent* e) override;
  void mouseDoubleClickEvent(QMouseEvent* e) override;
  void keyPressEvent(QKeyEvent* e) override;
  void scrollContentsBy(int dx, int dy) override;
  void resizeEvent(QResizeEvent* e) override;

 private:
  void PlaceEditor();

  CListModel* m_pModel = nullptr;
  QPointer<CCellEdit> m_pEditor;
};
