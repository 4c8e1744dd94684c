#include "app/frames/SelectFilesDlg.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QGridLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "app/EditorApp.h"

namespace {

constexpr int kFileColumnWidth = 450;

}  // namespace

CSelectFilesDlg::CSelectFilesDlg(CEditorApp& app, CSelectFilesRequest& request, QWidget* parent)
    : QDialog(parent), m_app(app), m_request(request) {
  setWindowTitle("Select Files");

  m_pFolder = new QLineEdit(QString::fromStdString(request.m_strFolder), this);
  m_pFolder->setToolTip("The folder whose C3D files are listed by Find Files");
  m_pChooseFolder = new QPushButton("...", this);
  m_pChooseFolder->setToolTip("Choose the folder");
  m_pChooseFolder->setFixedWidth(m_pChooseFolder->fontMetrics().horizontalAdvance("....") + 16);
  m_pFindFiles = new QPushButton("Find Files", this);
  m_pFindFiles->setToolTip("List the C3D files of the folder");
  m_pSubFolders = new QCheckBox("Look in Sub Folders", this);
  m_pSubFolders->setChecked(request.m_bSubFolders);

  m_pFileList = new QTreeWidget(this);
  m_pFileList->setColumnCount(1);
  m_pFileList->setHeaderLabels({"C3d File"});
  m_pFileList->setRootIsDecorated(false);
  m_pFileList->setSelectionBehavior(QAbstractItemView::SelectRows);
  m_pFileList->setUniformRowHeights(true);
  m_pFileList->setColumnWidth(0, kFileColumnWidth);
  m_pFileList->setMinimumWidth(kFileColumnWidth + 24);
  m_pFileList->setToolTip("The batch file runs on the ticked files, from the top down");

  m_pBatchFile = new QLineEdit(QString::fromStdString(request.m_strBatchFile), this);
  m_pBatchFile->setToolTip("The batch file to run on each file");
  m_pBrowse = new QPushButton("Browse...", this);
  m_pAlwaysSave = new QCheckBox("Always Save Data", this);
  m_pAlwaysSave->setToolTip("Save every file, even when the batch file does not ask for it");
  m_pAlwaysSave->setChecked(request.m_bAlwaysSave);

  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
  m_pOk = buttons->button(QDialogButtonBox::Ok);

  auto* grid = new QGridLayout;
  grid->addWidget(new QLabel("Select Folder :", this), 0, 0);
  grid->addWidget(m_pFolder, 0, 1);
  grid->addWidget(m_pChooseFolder, 0, 2);
  auto* findRow = new QHBoxLayout;
  findRow->addWidget(m_pFindFiles);
  findRow->addWidget(m_pSubFolders);
  findRow->addStretch(1);
  grid->addLayout(findRow, 1, 1, 1, 2);
  grid->addWidget(m_pFileList, 2, 0, 1, 3);
  grid->addWidget(new QLabel("Batch File", this), 3, 0);
  grid->addWidget(m_pBatchFile, 3, 1);
  grid->addWidget(m_pBrowse, 3, 2);
  grid->addWidget(m_pAlwaysSave, 4, 1);
  grid->setColumnStretch(1, 1);

  auto* layout = new QVBoxLayout(this);
  layout->addLayout(grid);
  layout->addWidget(buttons);

  m_pFolder->installEventFilter(this);
  connect(m_pChooseFolder, &QPushButton::clicked, this, &CSelectFilesDlg::ChooseFolder);
  connect(m_pFindFiles, &QPushButton::clicked, this, &CSelectFilesDlg::FindFiles);
  connect(m_pBrowse, &QPushButton::clicked, this, &CSelectFilesDlg::BrowseBatchFile);
  connect(buttons, &QDialogButtonBox::accepted, this, &CSelectFilesDlg::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &CSelectFilesDlg::reject);
  ShowFileList();
}

void CSelectFilesDlg::TakeControls() {
  m_request.m_strFolder = m_pFolder->text().toStdString();
  m_request.m_bSubFolders = m_pSubFolders->isChecked();
  m_request.m_strBatchFile = m_pBatchFile->text().toStdString();
  m_request.m_bAlwaysSave = m_pAlwaysSave->isChecked();
  const int count = m_pFileList->topLevelItemCount();
  for (int i = 0; i < count && i < static_cast<int>(m_request.m_files.size()); ++i)
    m_request.m_files[static_cast<size_t>(i)].m_bChecked =
        m_pFileList->topLevelItem(i)->checkState(0) == Qt::Checked;
}

void CSelectFilesDlg::ShowFileList() {
  m_pFileList->clear();
  QList<QTreeWidgetItem*> items;
  items.reserve(static_cast<int>(m_request.m_files.size()));
  for (const CSelectFilesRequest::CEntry& entry : m_request.m_files) {
    auto* item = new QTreeWidgetItem({QString::fromStdString(entry.m_strPath)});
    item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
    item->setCheckState(0, entry.m_bChecked ? Qt::Checked : Qt::Unchecked);
    items.append(item);
  }
  m_pFileList->addTopLevelItems(items);
}

bool CSelectFilesDlg::eventFilter(QObject* watched, QEvent* event) {
  if (watched == m_pFolder && event->type() == QEvent::KeyPress) {
    const int key = static_cast<QKeyEvent*>(event)->key();
    if (key == Qt::Key_Return || key == Qt::Key_Enter) {
      FindFiles();
      return true;
    }
  }
  return QDialog::eventFilter(watched, event);
}

void CSelectFilesDlg::ChooseFolder() {
  const QString folder = QFileDialog::getExistingDirectory(this, "Select Folder", m_pFolder->text());
  if (!folder.isEmpty()) m_pFolder->setText(folder);
}

void CSelectFilesDlg::FindFiles() {
  TakeControls();
  if (m_request.FindFiles(m_app)) ShowFileList();
}

void CSelectFilesDlg::BrowseBatchFile() {
  TakeControls();
  m_request.BrowseBatchFile(m_app);
  m_pBatchFile->setText(QString::fromStdString(m_request.m_strBatchFile));
}

void CSelectFilesDlg::accept() {
  TakeControls();
  const std::string problem = m_request.CheckOk();
  if (!problem.empty()) {
    m_app.Prompt().ShowMessage(problem);
    return;
  }
  QDialog::accept();
}
