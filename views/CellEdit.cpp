#include "views/CellEdit.h"

#include <QKeyEvent>
#include <QStyle>

#include <algorithm>

CCellEdit::CCellEdit(int row, int column, const QString& text, QWidget* parent)
    : QLineEdit(text, parent), m_nRow(row), m_nColumn(column) {
  setFrame(true);
  connect(this, &QLineEdit::textChanged, this, [this] { FitToText(); });
}

bool CCellEdit::event(QEvent* e) {
  // Delete and Ctrl combinations belong to the editor while it is open, not
  // to the menu shortcuts of the window (Ctrl+Z must undo the typing, not the
  // last change to the file).
  if (e->type() == QEvent::ShortcutOverride) {
    auto* key = static_cast<QKeyEvent*>(e);
    if (key->key() == Qt::Key_Delete || (key->modifiers() & Qt::ControlModifier)) {
      e->accept();
      return true;
    }
  }
  return QLineEdit::event(e);
}

void CCellEdit::keyPressEvent(QKeyEvent* e) {
  switch (e->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
      Finish(false);
      return;
    case Qt::Key_Escape:
      Finish(true);
      return;
    default:
      QLineEdit::keyPressEvent(e);
  }
}

void CCellEdit::focusOutEvent(QFocusEvent* e) {
  QLineEdit::focusOutEvent(e);
  // A context menu of the editor itself or a window switch does not end it;
  // a click elsewhere does.
  if (e->reason() == Qt::PopupFocusReason || e->reason() == Qt::ActiveWindowFocusReason) return;
  Finish(false);
}

void CCellEdit::Finish(bool cancel) {
  if (m_bEnded) return;
  m_bEnded = true;
  m_bHadFocus = hasFocus();
  const QString typed = text();
  hide();
  emit editEnded(m_nRow, m_nColumn, cancel, typed);
  deleteLater();
}

void CCellEdit::Place(const QRect& cell, int maxRight) {
  m_nMaxRight = maxRight;
  QRect rect = cell;
  if (rect.right() + 1 > maxRight) rect.setRight(maxRight - 1);
  m_nMinWidth = rect.width();
  setGeometry(rect);
  FitToText();
}

void CCellEdit::FitToText() {
  // Text width + 5, plus the frame and the editor's own text margins.
  const int chrome = 2 * style()->pixelMetric(QStyle::PM_DefaultFrameWidth, nullptr, this) + 4;
  int wanted = fontMetrics().horizontalAdvance(text()) + 5 + chrome;
  wanted = std::max(wanted, m_nMinWidth);
  if (m_nMaxRight > x()) wanted = std::min(wanted, m_nMaxRight - x());
  if (wanted != width()) resize(wanted, height());
}
