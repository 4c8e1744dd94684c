#include "app/frames/Add3DMarkerDlg.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLineEdit>
#include <QVBoxLayout>

#include "app/frames/DialogFields.h"

using namespace dialogfields;

CAdd3DMarkerDlg::CAdd3DMarkerDlg(CAdd3DMarkerRequest& request, CUserPrompt& prompt, QWidget* parent)
    : QDialog(parent), m_request(request), m_prompt(prompt) {
  setWindowTitle("Add 3D Marker");
  m_pFillType = ChoiceList(CAdd3DMarkerRequest::FillTypeNames(), request.m_nFillType,
                           "Select the type of Data to fill into Channels");
  m_pX = RealField(request.m_fX, "Enter the value of the X Coordinate");
  m_pY = RealField(request.m_fY, "Enter the value of the Y Coordinate");
  m_pZ = RealField(request.m_fZ, "Enter the value of the Z Coordinate");
  m_pName = new QLineEdit(QString::fromStdString(request.m_strName));
  m_pName->setToolTip("Enter the name for the channel");
  m_pDescription = new QLineEdit(QString::fromStdString(request.m_strDescription));
  m_pDescription->setToolTip("Enter the description for the channel");

  auto* form = new QFormLayout;
  form->addRow("&Fill Type", m_pFillType);
  form->addRow("&X Cord", m_pX);
  form->addRow("&Y Cord", m_pY);
  form->addRow("&Z Cord", m_pZ);
  form->addRow("&Name", m_pName);
  form->addRow("&Description", m_pDescription);
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
  connect(buttons, &QDialogButtonBox::accepted, this, &CAdd3DMarkerDlg::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(form);
  layout->addWidget(buttons);
}

void CAdd3DMarkerDlg::accept() {
  m_request.m_nFillType = m_pFillType->currentIndex();
  m_request.m_fX = static_cast<float>(m_pX->value());
  m_request.m_fY = static_cast<float>(m_pY->value());
  m_request.m_fZ = static_cast<float>(m_pZ->value());
  m_request.m_strName = m_pName->text().toStdString();
  m_request.m_strDescription = m_pDescription->text().toStdString();
  if (m_request.Ok(m_prompt)) QDialog::accept();
}
