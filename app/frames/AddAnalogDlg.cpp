#include "app/frames/AddAnalogDlg.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QVBoxLayout>

#include "app/frames/DialogFields.h"

using namespace dialogfields;

CAddAnalogDlg::CAddAnalogDlg(CAddAnalogRequest& request, CUserPrompt& prompt, QWidget* parent)
    : QDialog(parent), m_request(request), m_prompt(prompt) {
  setWindowTitle("Add Analog");
  m_pFillType = ChoiceList(CAddAnalogRequest::FillTypeNames(), request.m_nFillType,
                           "Select the type of Data to fill into Channels");
  m_pMin = RealField(request.m_fMin, "Enter the Minimum Value of Data");
  m_pMax = RealField(request.m_fMax, "Enter the Maximum Value of Data");
  m_pFrequency = RealField(request.m_fFrequency, "Enter the Frequency of the Data");
  m_pFrequency->setMinimum(0.0);
  m_pName = new QLineEdit(QString::fromStdString(request.m_strName));
  m_pName->setToolTip("Enter the name for the channel");
  m_pDescription = new QLineEdit(QString::fromStdString(request.m_strDescription));
  m_pDescription->setToolTip("Enter the description for the channel");
  m_pScale = RealField(request.m_fScale, "Enter the scale factor for the channel");
  m_pScale->setDecimals(6);
  m_pOffset = RealField(request.m_fOffset, "Enter the offset for the channel");
  m_pUnits = new QLineEdit(QString::fromStdString(request.m_strUnits));
  m_pUnits->setToolTip("Enter the units for the channel");

  auto* dataBox = new QGroupBox("Data");
  auto* data = new QFormLayout(dataBox);
  data->addRow("&Fill Type", m_pFillType);
  data->addRow("Mi&n. Value", m_pMin);
  data->addRow("Ma&x. Value", m_pMax);
  data->addRow("Fre&quency (Hz)", m_pFrequency);
  auto* channelBox = new QGroupBox("Channel");
  auto* channel = new QFormLayout(channelBox);
  channel->addRow("N&ame", m_pName);
  channel->addRow("&Description", m_pDescription);
  channel->addRow("&Scale", m_pScale);
  channel->addRow("&Offset", m_pOffset);
  channel->addRow("&Units", m_pUnits);

  auto* columns = new QHBoxLayout;
  columns->addWidget(dataBox);
  columns->addWidget(channelBox);
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
  connect(buttons, &QDialogButtonBox::accepted, this, &CAddAnalogDlg::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(columns);
  layout->addWidget(buttons);

  connect(m_pFillType, &QComboBox::currentIndexChanged, this, [this] { UpdateEnabled(); });
  UpdateEnabled();
}

void CAddAnalogDlg::UpdateEnabled() {
  const bool wave = m_pFillType->currentIndex() != CAddAnalogRequest::VALUE;
  m_pMax->setEnabled(wave);
  m_pFrequency->setEnabled(wave);
}

void CAddAnalogDlg::accept() {
  m_request.m_nFillType = m_pFillType->currentIndex();
  m_request.m_fMin = static_cast<float>(m_pMin->value());
  m_request.m_fMax = static_cast<float>(m_pMax->value());
  m_request.m_fFrequency = static_cast<float>(m_pFrequency->value());
  m_request.m_strName = m_pName->text().toStdString();
  m_request.m_strDescription = m_pDescription->text().toStdString();
  m_request.m_fScale = static_cast<float>(m_pScale->value());
  m_request.m_fOffset = static_cast<float>(m_pOffset->value());
  m_request.m_strUnits = m_pUnits->text().toStdString();
  if (m_request.Ok(m_prompt)) QDialog::accept();
}
