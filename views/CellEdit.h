#pragma once
// CCellEdit: the single-line editor placed over one cell of the editor
// view's list. It starts with the cell's text all selected, widens while the
// user types, and ends exactly once: Enter ends with the text, Escape cancels,
// and losing the focus ends with the text as well.

#include <QLineEdit>

class CCellEdit : public QLineEdit {
  Q_OBJECT

 public:
  CCellEdit(int row, int column, const QString& text, QWidget* parent);

  int Row() const { return m_nRow; }
  int Column() const { return m_nColumn; }
  // Puts the editor over `cell` (parent coordinates), never past `maxRight`.
  void Place(const QRect& cell, int maxRight);
  bool HasEnded() const { return m_bEnded; }
  // Whether the editor had the keyboard focus when it ended (Enter, Escape).
  bool HadFocusAtEnd() const { return m_bHadFocus; }

  // Ends the edit from outside (the list is scrolled away, reset, ...).
  void Finish(bool cancel);

 signals:
  // Sent once. `cancelled` is true for Escape; `text` is the typed text.
  void editEnded(int row, int column, bool cancelled, const QString& text);

 protected:
  bool event(QEvent* e) override;
  void keyPressEvent(QKeyEvent* e) override;
  void focusOutEvent(QFocusEvent* e) override;

 private:
  void FitToText();

  int m_nRow;
  int m_nColumn;
  int m_nMaxRight = 0;
  int m_nMinWidth = 0;
  bool m_bEnded = false;
  bool m_bHadFocus = false;
};
