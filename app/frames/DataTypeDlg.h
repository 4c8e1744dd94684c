#pragma once
// CDataTypeDlg ("Data Type in Parameter"): character or numeric data for a
// new parameter.

#include <QDialog>

#include "document/GroupEditor.h"

class QRadioButton;

class CDataTypeDlg : public QDialog {
  Q_OBJECT

 public:
  explicit CDataTypeDlg(CDataTypeRequest& request, QWidget* parent = nullptr);
  QRadioButton* CharacterButton() const { return m_pCharacter; }
  QRadioButton* NumericButton() const { return m_pNumeric; }
  void accept() override;

 private:
  CDataTypeRequest& m_request;
  QRadioButton* m_pCharacter;
  QRadioButton* m_pNumeric;
};
