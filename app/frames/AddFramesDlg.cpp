#include "app/frames/AddFramesDlg.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

#include "app/frames/DialogFields.h"

using namespace dialogfields;

CAddFramesDlg::CAddFramesDlg(CAddFramesRequest& request, CUserPrompt& prompt, QWidget* parent)
    : QDialog(parent), m_request(request), m_prompt(prompt) {
  setWindowTitle("Add Frames");
  m_pInformation = new QLabel(QString::fromStdString(request.InformationText()));
  m_pInformation->setFrameShape(QFrame::StyledPanel);
  m_pInformation->setToolTip("Gives the Information about present First and Last Frame");
  m_pInsertAt = ChoiceList(CAddFramesRequest::InsertAtNames(), request.m_nInsertAt,
                           "Select where frames are to be added");
  m_pAfterFrame = WholeField(request.m_nAfterFrame, 0, 65535, "Enter the Frame at which to Insert new frames");
  m_pFrames = WholeField(request.m_nFrames, 0, 65535, "Enter the number of frames to Add");

  m_pAnalogFill = ChoiceList(CAddFramesRequest::AnalogFillNames(), request.m_nAnalogFill,
                             "Select the type of Data to fill into the Analog Channels");
  m_pMin = RealField(request.m_fMin, "Enter the Minimum Value of Data");
  m_pMax = RealField(request.m_fMax, "Enter the Maximum Value of Data");
  m_pFrequency = RealField(request.m_fFrequency, "Enter the Frequency of the Data");
  m_pFrequency->setMinimum(0.0);

  m_pPointFill = ChoiceList({"Value"}, 0, "Select the type of Data to fill into the 3D Channels");
  m_pX = RealField(request.m_fX, "Enter the Value for the X Coordinate of 3D Data");
  m_pY = RealField(request.m_fY, "Enter the Value for the Y Coordinate of 3D Data");
  m_pZ = RealField(request.m_fZ, "Enter the Value for the Z Coordinate of 3D Data");

  auto* where = new QFormLayout;
  where->addRow(m_pInformation);
  where->addRow("&Insert At", m_pInsertAt);
  where->addRow("&After Frame", m_pAfterFrame);
  where->addRow("&Number of Frames", m_pFrames);

  auto* analogBox = new QGroupBox("Analog Data");
  auto* analog = new QFormLayout(analogBox);
  analog->addRow("&Fill Type", m_pAnalogFill);
  analog->addRow("Mi&n. Value", m_pMin);
  analog->addRow("Ma&x. Value", m_pMax);
  analog->addRow("Fre&quency (Hz)", m_pFrequency);

  auto* pointBox = new QGroupBox("3D Data");
  auto* point = new QFormLayout(pointBox);
  point->addRow("Fill T&ype", m_pPointFill);
  point->addRow("Value &X", m_pX);
  point->addRow("Value &Y", m_pY);
  point->addRow("Value &Z", m_pZ);

  auto* fills = new QHBoxLayout;
  fills->addWidget(analogBox);
  fills->addWidget(pointBox);
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
  connect(buttons, &QDialogButtonBox::accepted, this, &CAddFramesDlg::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(where);
  layout->addLayout(fills);
  layout->addWidget(buttons);

  connect(m_pInsertAt, &QComboBox::currentIndexChanged, this, [this] { UpdateEnabled(); });
  connect(m_pAnalogFill, &QComboBox::currentIndexChanged, this, [this] { UpdateEnabled(); });
  UpdateEnabled();
}

void CAddFramesDlg::UpdateEnabled() {
  m_pAfterFrame->setEnabled(m_pInsertAt->currentIndex() == CAddFramesRequest::AFTER_FRAME);
  const bool wave = m_pAnalogFill->currentIndex() != CAddFramesRequest::VALUE;
  m_pMax->setEnabled(wave);
  m_pFrequency->setEnabled(wave);
}

void CAddFramesDlg::accept() {
  m_request.m_nInsertAt = m_pInsertAt->currentIndex();
  m_request.m_nAfterFrame = m_pAfterFrame->value();
  m_request.m_nFrames = m_pFrames->value();
  m_request.m_nAnalogFill = m_pAnalogFill->currentIndex();
  m_request.m_fMin = static_cast<float>(m_pMin->value());
  m_request.m_fMax = static_cast<float>(m_pMax->value());
  m_request.m_fFrequency = static_cast<float>(m_pFrequency->value());
  m_request.m_fX = static_cast<float>(m_pX->value());
  m_request.m_fY = static_cast<float>(m_pY->value());
  m_request.m_fZ = static_cast<float>(m_pZ->value());
  if (m_request.Ok(m_prompt)) QDialog::accept();
}
