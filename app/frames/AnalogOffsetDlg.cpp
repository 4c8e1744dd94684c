#include "app/frames/AnalogOffsetDlg.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QVBoxLayout>

#include "c3d/UserPrompt.h"

CAnalogOffsetDlg::CAnalogOffsetDlg(float offset, CUserPrompt& prompt, QWidget* parent)
    : QDialog(parent), m_prompt(prompt), m_fOffset(offset) {
  setWindowTitle("Analog Offset");
  m_pOffset = new QLineEdit(QString::number(static_cast<double>(offset), 'g', 9), this);
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel | QDialogButtonBox::Help, this);
  connect(buttons, &QDialogButtonBox::accepted, this, &CAnalogOffsetDlg::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &CAnalogOffsetDlg::reject);
  connect(buttons, &QDialogButtonBox::helpRequested, this, [this] {
    QMessageBox::information(this, "Analog Offset",
                             "Every analog channel gets this ANALOG:OFFSET; the stored samples are "
                             "shifted by the change, so the physical values stay the same.");
  });
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(new QLabel("Choose Value for Analog Offset", this));
  layout->addWidget(m_pOffset);
  layout->addWidget(buttons);
}

void CAnalogOffsetDlg::accept() {
  bool ok = false;
  const float value = m_pOffset->text().trimmed().toFloat(&ok);
  if (!ok) {
    m_prompt.ShowMessage("Please enter a number.");
    return;
  }
  m_fOffset = value;
  QDialog::accept();
}
