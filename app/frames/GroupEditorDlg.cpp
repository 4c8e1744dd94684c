#include "app/frames/GroupEditorDlg.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLineEdit>
#include <QSpinBox>
#include <QVBoxLayout>

#include "c3d/UserPrompt.h"

CGroupEditorDlg::CGroupEditorDlg(CGroupEditorRequest& request, CUserPrompt& prompt, QWidget* parent)
    : QDialog(parent), m_request(request), m_prompt(prompt) {
  setWindowTitle("Group Editor");
  m_pName = new QLineEdit(QString::fromStdString(request.m_strName));
  m_pName->setToolTip("Shows the Name of the Group");
  m_pDescription = new QLineEdit(QString::fromStdString(request.m_strDescription));
  m_pDescription->setToolTip("Shows the Description of the Group");
  m_pDescription->setMinimumWidth(260);
  m_pNumber = new QSpinBox;
  // Group numbers are stored in one signed byte; the check refuses 0 and up.
  m_pNumber->setRange(-127, 127);
  m_pNumber->setValue(request.m_nNumber);
  m_pNumber->setToolTip("Shows the Number of the Group");
  m_pLocked = new QCheckBox("&Locked");
  m_pLocked->setChecked(request.m_bLocked);
  m_pLocked->setToolTip("Shows if the Group is Locked");

  auto* form = new QFormLayout;
  form->addRow("&Name", m_pName);
  form->addRow("&Description", m_pDescription);
  form->addRow("N&umber", m_pNumber);
  form->addRow(QString(), m_pLocked);
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
  connect(buttons, &QDialogButtonBox::accepted, this, &CGroupEditorDlg::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(form);
  layout->addWidget(buttons);
}

void CGroupEditorDlg::accept() {
  m_request.m_strName = m_pName->text().toStdString();
  m_request.m_strDescription = m_pDescription->text().toStdString();
  m_request.m_nNumber = m_pNumber->value();
  m_request.m_bLocked = m_pLocked->isChecked();
  if (m_request.Ok(m_prompt)) QDialog::accept();
}
