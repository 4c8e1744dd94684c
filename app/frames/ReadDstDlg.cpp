#include "app/frames/ReadDstDlg.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFileInfo>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

#include "c3d/C3d.h"

CReadDstDlg::CReadDstDlg(const CC3d& c3d, std::function<bool(std::string&)> browse, QWidget* parent)
    : QDialog(parent), m_c3d(c3d), m_fnBrowse(std::move(browse)) {
  setWindowTitle("Read DST");
  auto* layout = new QVBoxLayout(this);

  auto* form = new QFormLayout;
  m_pKind = new QComboBox(this);
  for (const std::string& name : DstKindNames()) m_pKind->addItem(QString::fromStdString(name));
  m_pKind->setToolTip("Select the data to be read from the File");
  form->addRow("&Data:", m_pKind);
  layout->addLayout(form);

  m_pChannels = new QListWidget(this);
  m_pChannels->setSelectionMode(QAbstractItemView::ExtendedSelection);
  m_pChannels->setToolTip("Select the channels to read from File");
  auto* channelsLabel = new QLabel("&Channels:", this);
  channelsLabel->setBuddy(m_pChannels);
  layout->addWidget(channelsLabel);
  layout->addWidget(m_pChannels, 1);

  auto* fileRow = new QHBoxLayout;
  m_pFileButton = new QPushButton("DST &File...", this);
  m_pFileName = new QLabel("(no file chosen)", this);
  m_pFileName->setTextInteractionFlags(Qt::TextSelectableByMouse);
  fileRow->addWidget(m_pFileButton);
  fileRow->addWidget(m_pFileName, 1);
  layout->addLayout(fileRow);

  m_pButtons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
  layout->addWidget(m_pButtons);

  connect(m_pKind, &QComboBox::currentIndexChanged, this, [this] { FillChannels(); });
  connect(m_pChannels, &QListWidget::itemSelectionChanged, this, [this] { UpdateOk(); });
  connect(m_pFileButton, &QPushButton::clicked, this, [this] {
    std::string path = m_strPath;
    if (!m_fnBrowse || !m_fnBrowse(path)) return;
    m_strPath = path;
    const QString shown = QString::fromStdString(path);
    m_pFileName->setText(QFileInfo(shown).fileName());
    m_pFileName->setToolTip(shown);
    UpdateOk();
  });
  connect(m_pButtons, &QDialogButtonBox::accepted, this, &CReadDstDlg::accept);
  connect(m_pButtons, &QDialogButtonBox::rejected, this, &QDialog::reject);

  FillChannels();
  resize(380, 440);
}

QPushButton* CReadDstDlg::OkButton() const { return m_pButtons->button(QDialogButtonBox::Ok); }

void CReadDstDlg::FillChannels() {
  m_pChannels->clear();
  for (const std::string& name : DstChannelNames(m_c3d, m_pKind->currentIndex()))
    m_pChannels->addItem(QString::fromStdString(name));
  UpdateOk();
}

CReadDstRequest CReadDstDlg::Request() const {
  CReadDstRequest request;
  request.m_strPath = m_strPath;
  request.m_nKind = m_pKind->currentIndex() == DST_POINTS ? DST_POINTS : DST_ANALOG;
  for (int row = 0; row < m_pChannels->count(); ++row)
    if (m_pChannels->item(row)->isSelected()) request.m_channels.push_back(row);
  return request;
}

void CReadDstDlg::UpdateOk() { OkButton()->setEnabled(Request().CanAccept()); }

void CReadDstDlg::accept() {
  if (Request().CanAccept()) QDialog::accept();
}
