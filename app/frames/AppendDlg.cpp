#include "app/frames/AppendDlg.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFileInfo>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QVBoxLayout>

#include "document/EditorDoc.h"

namespace {

const char kHelp[] =
    "Append adds frames of another C3D file to this one: choose the file with "
    "\"Select File...\", the range of its frames with First Frame and Last Frame, "
    "and whether they go before the first frame (Start of File) or after the last "
    "(End of File). \"Conditions...\" lists what both files must have in common.";

QLineEdit* FrameEdit(QWidget* parent, const char* tip) {
  auto* edit = new QLineEdit(parent);
  edit->setValidator(new QRegularExpressionValidator(QRegularExpression("[0-9]{0,9}"), edit));
  edit->setToolTip(tip);
  return edit;
}

}  // namespace

CAppendDlg::CAppendDlg(CEditorDoc& doc, CAppendRequest& request, QWidget* parent)
    : QDialog(parent), m_doc(doc), m_request(request) {
  setWindowTitle("Append");

  m_pSelectFile = new QPushButton("Select File...", this);
  m_pSelectFile->setToolTip("Select a file from which Data will be copied");
  m_pFileName = new QLabel(this);
  m_pFileName->setTextInteractionFlags(Qt::TextSelectableByMouse);
  m_pFileName->setMinimumWidth(320);
  m_pDescription = new QLabel(this);
  m_pDescription->setMinimumHeight(m_pDescription->fontMetrics().lineSpacing() * 4);
  m_pDescription->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  m_pFirstFrame = FrameEdit(this, "Enter the First data frame to Append");
  m_pLastFrame = FrameEdit(this, "Enter the Last data frame to Append");
  m_pAppendAt = new QComboBox(this);
  m_pAppendAt->addItem("Start of File", static_cast<int>(AppendAt::StartOfFile));
  m_pAppendAt->addItem("End of File", static_cast<int>(AppendAt::EndOfFile));
  m_pAppendAt->setCurrentIndex(static_cast<int>(request.m_at));
  m_pAppendAt->setToolTip("Select where the Data should be copied to");
  m_pConditions = new QPushButton("Conditions...", this);
  m_pConditions->setToolTip("View the conditions for Appending Data");

  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel | QDialogButtonBox::Help, this);
  m_pOk = buttons->button(QDialogButtonBox::Ok);
  m_pHelp = buttons->button(QDialogButtonBox::Help);

  auto* fileBox = new QGroupBox("File", this);
  auto* fileLayout = new QVBoxLayout(fileBox);
  auto* fileRow = new QHBoxLayout;
  fileRow->addWidget(m_pFileName, 1);
  fileRow->addWidget(m_pSelectFile);
  fileLayout->addLayout(fileRow);
  fileLayout->addWidget(m_pDescription);

  auto* form = new QFormLayout;
  form->addRow("First Frame", m_pFirstFrame);
  form->addRow("Last Frame", m_pLastFrame);
  form->addRow("Append At", m_pAppendAt);

  auto* bottom = new QHBoxLayout;
  bottom->addWidget(m_pConditions);
  bottom->addStretch(1);
  bottom->addWidget(buttons);

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(fileBox);
  layout->addLayout(form);
  layout->addLayout(bottom);

  connect(m_pSelectFile, &QPushButton::clicked, this, &CAppendDlg::SelectFile);
  connect(m_pConditions, &QPushButton::clicked, this, [this] { m_doc.Prompt().ShowMessage(kAppendConditions); });
  connect(buttons, &QDialogButtonBox::accepted, this, &CAppendDlg::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &CAppendDlg::reject);
  connect(buttons, &QDialogButtonBox::helpRequested, this, [this] { m_doc.Prompt().ShowMessage(kHelp); });
  ShowChoice();
}

void CAppendDlg::SelectFile() {
  m_request.SelectFile(m_doc);
  ShowChoice();
}

void CAppendDlg::ShowChoice() {
  const bool chosen = m_request.m_second.IsChosen();
  m_pFileName->setText(chosen ? QFileInfo(QString::fromStdString(m_request.m_second.Path())).fileName()
                              : QString());
  m_pFileName->setToolTip(chosen ? QString::fromStdString(m_request.m_second.Path()) : QString());
  m_pDescription->setText(QString::fromStdString(m_request.m_strDescription));
  m_pFirstFrame->setText(chosen ? QString::number(m_request.m_nFirstFrame) : QString());
  m_pLastFrame->setText(chosen ? QString::number(m_request.m_nLastFrame) : QString());
}

void CAppendDlg::accept() {
  m_request.m_nFirstFrame = m_pFirstFrame->text().toLongLong();
  m_request.m_nLastFrame = m_pLastFrame->text().toLongLong();
  m_request.m_at = static_cast<AppendAt>(m_pAppendAt->currentData().toInt());
  const std::string problem = m_request.CheckOk();
  if (!problem.empty()) {
    m_doc.Prompt().ShowMessage(problem);
    return;
  }
  QDialog::accept();
}
