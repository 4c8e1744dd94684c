#pragma once
// CValidityResultsDlg: "Validity Results". The caption of the check, its
// findings in a read-only text box, OK and Help.

#include <QDialog>

#include "processing/Validity.h"

class QLabel;
class QPlainTextEdit;

class CValidityResultsDlg : public QDialog {
  Q_OBJECT

 public:
  CValidityResultsDlg(const CValidityResult& result, QWidget* parent = nullptr);

  QLabel* Caption() const { return m_pCaption; }
  QPlainTextEdit* TextBox() const { return m_pText; }

  // What the check of this mode looks at and what its lines mean.
  static QString HelpText(int mode);

 private:
  int m_nMode;
  QLabel* m_pCaption;
  QPlainTextEdit* m_pText;
};
