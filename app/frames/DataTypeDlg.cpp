#include "app/frames/DataTypeDlg.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QRadioButton>
#include <QVBoxLayout>

CDataTypeDlg::CDataTypeDlg(CDataTypeRequest& request, QWidget* parent)
    : QDialog(parent), m_request(request) {
  setWindowTitle("Data Type in Parameter");
  auto* text = new QLabel("Choose the type of data you would like to have in the New Parameter");
  text->setWordWrap(true);
  m_pCharacter = new QRadioButton("&Character data (CHAR)");
  m_pCharacter->setToolTip("Create Parameter with Character Data");
  m_pNumeric = new QRadioButton("&Numeric Data (BYTE, INT, FLOAT)");
  m_pNumeric->setToolTip("Create Parameter with Numeric Data");
  (request.m_nChoice == CDataTypeRequest::NUMERIC ? m_pNumeric : m_pCharacter)->setChecked(true);
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
  connect(buttons, &QDialogButtonBox::accepted, this, &CDataTypeDlg::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(text);
  layout->addWidget(m_pCharacter);
  layout->addWidget(m_pNumeric);
  layout->addWidget(buttons);
}

void CDataTypeDlg::accept() {
  m_request.m_nChoice = m_pNumeric->isChecked() ? CDataTypeRequest::NUMERIC : CDataTypeRequest::CHARACTER;
  QDialog::accept();
}
