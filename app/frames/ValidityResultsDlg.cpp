#include "app/frames/ValidityResultsDlg.h"

#include <QDialogButtonBox>
#include <QFontDatabase>
#include <QLabel>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

CValidityResultsDlg::CValidityResultsDlg(const CValidityResult& result, QWidget* parent)
    : QDialog(parent), m_nMode(result.m_nMode) {
  setWindowTitle("Validity Results");
  auto* layout = new QVBoxLayout(this);
  m_pCaption = new QLabel(QString::fromStdString(result.m_strCaption), this);
  QFont bold = m_pCaption->font();
  bold.setBold(true);
  m_pCaption->setFont(bold);
  layout->addWidget(m_pCaption);

  m_pText = new QPlainTextEdit(this);
  m_pText->setReadOnly(true);
  m_pText->setLineWrapMode(QPlainTextEdit::NoWrap);
  QStringList lines;
  for (const std::string& line : result.TextLines()) lines << QString::fromStdString(line);
  m_pText->setPlainText(lines.join('\n'));
  layout->addWidget(m_pText, 1);

  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Help, this);
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons, &QDialogButtonBox::helpRequested, this,
          [this] { QMessageBox::information(this, "Validity Results", HelpText(m_nMode)); });
  layout->addWidget(buttons);
  resize(520, 420);
}

QString CValidityResultsDlg::HelpText(int mode) {
  switch (mode) {
    case VALIDITY_POINTS:
      return "Every valid sample of every 3D point is compared with SEG:DATA_LIMITS "
             "(X, Y, Z minimum, then X, Y, Z maximum; limits included). Points with a "
             "sample outside are listed with \"Data Out Of Limits\".\n\n"
             "Below, POINT:LABELS, USED, SCALE, RATE, DATA_START and FRAMES are compared "
             "with the file's header.";
    case VALIDITY_ANALOG:
      return "The ANALOG parameters LABELS, GEN_SCALE, SCALE, OFFSET, UNITS, USED and RATE "
             "are checked for their data type and compared with the number of analog "
             "channels and the analog sampling rate of the file.";
    default:
      return "Every parameter's data type and dimensions are compared with its section "
             "PARAM-GROUP of the validity rules file (Tools > Options, \"Parameter Validity "
             "File\"). Then the groups the rules file requires, and the parameters it "
             "describes, are looked for in the file.";
  }
}
