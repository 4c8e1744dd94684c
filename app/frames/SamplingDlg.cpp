#include "app/frames/SamplingDlg.h"

#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QRegularExpressionValidator>
#include <QVBoxLayout>

CSamplingDlg::CSamplingDlg(CSamplingRequest& request, QWidget* parent)
    : QDialog(parent), m_request(request) {
  const bool frequency = request.GetMode() == CSamplingRequest::MODE_FREQUENCY;
  setWindowTitle(frequency ? "Sampling Frequency" : "Analog to Video Ratio");

  m_pCaption = new QLabel(QString::fromStdString(request.ValueCaption()), this);
  m_pFrequency = new QLineEdit(QString::fromStdString(request.FrequencyText()), this);
  m_pFrequency->setValidator(
      new QRegularExpressionValidator(QRegularExpression("[0-9]*\\.?[0-9]*"), m_pFrequency));
  m_pFrequency->setToolTip("Enter the new Sampling Frequency");
  m_pRatio = new QLineEdit(QString::fromStdString(request.RatioText()), this);
  m_pRatio->setValidator(new QRegularExpressionValidator(QRegularExpression("[0-9]{0,5}"), m_pRatio));
  m_pRatio->setToolTip("Enter the new Analog to Video ratio");
  m_pFrequency->setVisible(frequency);
  m_pRatio->setVisible(!frequency);
  m_pUnit = new QLabel(QString::fromStdString(request.UnitText()), this);
  m_pInfo = new QLabel(this);
  m_pButtons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);

  auto* grid = new QGridLayout;
  grid->addWidget(m_pCaption, 0, 0);
  grid->addWidget(frequency ? m_pFrequency : m_pRatio, 0, 1);
  grid->addWidget(m_pUnit, 0, 2);
  grid->setColumnMinimumWidth(1, 120);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(grid);
  layout->addWidget(m_pInfo);
  layout->addWidget(m_pButtons);
  layout->setSizeConstraint(QLayout::SetFixedSize);

  connect(m_pFrequency, &QLineEdit::textEdited, this, &CSamplingDlg::FrequencyEdited);
  connect(m_pFrequency, &QLineEdit::editingFinished, this, &CSamplingDlg::PutBackFrequency);
  connect(m_pRatio, &QLineEdit::textEdited, this, &CSamplingDlg::RatioEdited);
  connect(m_pRatio, &QLineEdit::editingFinished, this, &CSamplingDlg::PutBackRatio);
  connect(m_pButtons, &QDialogButtonBox::accepted, this, &CSamplingDlg::accept);
  connect(m_pButtons, &QDialogButtonBox::rejected, this, &CSamplingDlg::reject);
  UpdateInfo();
  (frequency ? m_pFrequency : m_pRatio)->selectAll();
}

void CSamplingDlg::FrequencyEdited(const QString& text) {
  // "0" or "0." may still become a rate: a value that is not above 0 goes
  // back when the edit is left.
  if (m_request.SetFrequencyText(text.toStdString())) UpdateInfo();
}

void CSamplingDlg::RatioEdited(const QString& text) {
  if (m_request.SetRatioText(text.toStdString()))
    UpdateInfo();
  else if (!text.isEmpty())
    PutBackRatio();  // a ratio of 0 goes back at once
}

void CSamplingDlg::PutBackFrequency() {
  if (!m_request.SetFrequencyText(m_pFrequency->text().toStdString()))
    m_pFrequency->setText(QString::fromStdString(m_request.FrequencyText()));
}

void CSamplingDlg::PutBackRatio() {
  if (!m_request.SetRatioText(m_pRatio->text().toStdString()))
    m_pRatio->setText(QString::fromStdString(m_request.RatioText()));
}

void CSamplingDlg::UpdateInfo() { m_pInfo->setText(QString::fromStdString(m_request.InfoLine())); }

void CSamplingDlg::accept() {
  PutBackFrequency();
  PutBackRatio();
  if (m_request.CanAccept()) QDialog::accept();
}
