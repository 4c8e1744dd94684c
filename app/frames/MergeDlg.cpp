#include "app/frames/MergeDlg.h"

#include <QDialogButtonBox>
#include <QFileInfo>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

#include "document/EditorDoc.h"

namespace {

const char kHelp[] =
    "Merge adds analog channels and 3D markers of another C3D file to this one: "
    "choose the file with \"Select File...\", then the channels in the two lists "
    "(Ctrl or Shift selects several). The file keeps its frames: a longer file's "
    "extra frames are left out, a shorter file leaves its analog channels "
    "at zero and its markers invalid after its end. "
    "\"Conditions...\" lists what both files must have in common.";

QListWidget* ChannelList(QWidget* parent, const char* tip) {
  auto* list = new QListWidget(parent);
  list->setSelectionMode(QAbstractItemView::ExtendedSelection);
  list->setToolTip(tip);
  list->setMinimumSize(180, 220);
  return list;
}

std::vector<int> SelectedRows(const QListWidget& list) {
  std::vector<int> rows;
  for (int i = 0; i < list.count(); ++i)
    if (list.item(i)->isSelected()) rows.push_back(i);
  return rows;
}

}  // namespace

CMergeDlg::CMergeDlg(CEditorDoc& doc, CMergeRequest& request, QWidget* parent)
    : QDialog(parent), m_doc(doc), m_request(request) {
  setWindowTitle("Merge");

  m_pSelectFile = new QPushButton("Select File...", this);
  m_pSelectFile->setToolTip("Select the file to merge to the open document");
  m_pFileName = new QLabel(this);
  m_pFileName->setMinimumWidth(300);
  m_pAnalog = ChannelList(this, "Select the Analog Channels to merge");
  m_pPoints = ChannelList(this, "Select the 3D Marker Channels to merge");
  m_pConditions = new QPushButton("Conditions...", this);
  m_pConditions->setToolTip("View the conditions for Merging Data");
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel | QDialogButtonBox::Help, this);
  m_pOk = buttons->button(QDialogButtonBox::Ok);
  m_pHelp = buttons->button(QDialogButtonBox::Help);

  auto* fileRow = new QHBoxLayout;
  fileRow->addWidget(m_pFileName, 1);
  fileRow->addWidget(m_pSelectFile);
  auto* lists = new QGridLayout;
  lists->addWidget(new QLabel("Analog Channels", this), 0, 0);
  lists->addWidget(new QLabel("3D Marker Channels", this), 0, 1);
  lists->addWidget(m_pAnalog, 1, 0);
  lists->addWidget(m_pPoints, 1, 1);
  auto* bottom = new QHBoxLayout;
  bottom->addWidget(m_pConditions);
  bottom->addStretch(1);
  bottom->addWidget(buttons);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(fileRow);
  layout->addLayout(lists, 1);
  layout->addLayout(bottom);

  connect(m_pSelectFile, &QPushButton::clicked, this, &CMergeDlg::SelectFile);
  connect(m_pConditions, &QPushButton::clicked, this, [this] { m_doc.Prompt().ShowMessage(kMergeConditions); });
  connect(buttons, &QDialogButtonBox::accepted, this, &CMergeDlg::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &CMergeDlg::reject);
  connect(buttons, &QDialogButtonBox::helpRequested, this, [this] { m_doc.Prompt().ShowMessage(kHelp); });
  ShowChoice();
}

void CMergeDlg::SelectFile() {
  m_request.SelectFile(m_doc);
  ShowChoice();
}

void CMergeDlg::ShowChoice() {
  const bool chosen = m_request.m_second.IsChosen();
  m_pFileName->setText(chosen ? QFileInfo(QString::fromStdString(m_request.m_second.Path())).fileName()
                              : QString());
  m_pFileName->setToolTip(chosen ? QString::fromStdString(m_request.m_second.Path()) : QString());
  m_pAnalog->clear();
  m_pPoints->clear();
  for (const std::string& line : m_request.m_analogList) m_pAnalog->addItem(QString::fromStdString(line));
  for (const std::string& line : m_request.m_pointList) m_pPoints->addItem(QString::fromStdString(line));
}

void CMergeDlg::accept() {
  const std::string problem = m_request.CheckOk();
  if (!problem.empty()) {
    m_doc.Prompt().ShowMessage(problem);
    return;
  }
  m_request.m_analogChosen = SelectedRows(*m_pAnalog);
  m_request.m_pointChosen = SelectedRows(*m_pPoints);
  QDialog::accept();
}
