#include "app/frames/EventDlg.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "c3d/UserPrompt.h"

namespace {

const char kHelp[] =
    "An event marks a moment of the trial.\n\n"
    "Label: up to 4 characters.\n"
    "Time: seconds from the first frame of the recording.\n"
    "Video Frame and Analog Frame: the same moment as a frame number or as an analog sample "
    "number; typing any of the three fills in the other two.\n"
    "Status: whether the event is displayed.";

}  // namespace

CEventDlg::CEventDlg(CEventRequest& request, CUserPrompt& prompt, QWidget* parent)
    : QDialog(parent), m_request(request), m_prompt(prompt) {
  setWindowTitle("Event");
  m_pLabel = new QLineEdit;
  m_pLabel->setToolTip("The label of the event (up to 4 characters)");
  m_pTime = new QLineEdit;
  m_pTime->setToolTip("The time of the event in seconds");
  m_pVideoFrame = new QLineEdit;
  m_pVideoFrame->setToolTip("The video frame of the event");
  m_pAnalogFrame = new QLineEdit;
  m_pAnalogFrame->setToolTip("The analog frame (sample) of the event");
  m_pStatus = new QCheckBox("&Status");
  m_pStatus->setToolTip("Whether the event is displayed");

  auto* form = new QFormLayout;
  form->addRow("&Label", m_pLabel);
  form->addRow("&Time", m_pTime);
  form->addRow("&Video Frame", m_pVideoFrame);
  form->addRow("&Analog Frame", m_pAnalogFrame);
  form->addRow(QString(), m_pStatus);

  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel | QDialogButtonBox::Help);
  m_pDelete = buttons->addButton("&Delete", QDialogButtonBox::DestructiveRole);
  m_pDelete->setToolTip("Delete this event");
  // Delete is offered for an existing event only.
  m_pDelete->setEnabled(request.m_bExisting);
  connect(buttons, &QDialogButtonBox::accepted, this, &CEventDlg::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  connect(buttons, &QDialogButtonBox::helpRequested, this, &CEventDlg::OnHelp);
  connect(m_pDelete, &QPushButton::clicked, this, &CEventDlg::OnDelete);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(form);
  layout->addWidget(buttons);

  ShowFields();
  // Typing in one number fills in the other two (setText does not count as
  // typing, so the updates do not echo). Only the numbers are refreshed: the
  // label and the status the user has typed so far stay as they are.
  connect(m_pTime, &QLineEdit::textEdited, this, [this](const QString& text) {
    m_request.m_strTime = text.toStdString();
    if (m_request.OnTimeEdited()) ShowNumbers();
  });
  connect(m_pVideoFrame, &QLineEdit::textEdited, this, [this](const QString& text) {
    m_request.m_strVideoFrame = text.toStdString();
    if (m_request.OnVideoFrameEdited()) ShowNumbers();
  });
  connect(m_pAnalogFrame, &QLineEdit::textEdited, this, [this](const QString& text) {
    m_request.m_strAnalogFrame = text.toStdString();
    if (m_request.OnAnalogFrameEdited()) ShowNumbers();
  });
}

void CEventDlg::ShowNumbers() {
  auto set = [](QLineEdit* edit, const std::string& text) {
    const QString value = QString::fromStdString(text);
    if (edit->text() != value) edit->setText(value);
  };
  set(m_pTime, m_request.m_strTime);
  set(m_pVideoFrame, m_request.m_strVideoFrame);
  set(m_pAnalogFrame, m_request.m_strAnalogFrame);
}

void CEventDlg::ShowFields() {
  m_pLabel->setText(QString::fromStdString(m_request.m_strLabel));
  m_pStatus->setChecked(m_request.m_bStatus);
  ShowNumbers();
}

void CEventDlg::TakeFields() {
  m_request.m_strLabel = m_pLabel->text().toStdString();
  m_request.m_strTime = m_pTime->text().trimmed().toStdString();
  m_request.m_strVideoFrame = m_pVideoFrame->text().trimmed().toStdString();
  m_request.m_strAnalogFrame = m_pAnalogFrame->text().trimmed().toStdString();
  m_request.m_bStatus = m_pStatus->isChecked();
}

void CEventDlg::accept() {
  TakeFields();
  if (m_request.Ok(m_prompt)) {
    ShowFields();
    QDialog::accept();
  }
}

void CEventDlg::OnDelete() {
  if (m_request.Delete(m_prompt)) QDialog::accept();
}

void CEventDlg::OnHelp() { m_prompt.ShowMessage(kHelp); }
