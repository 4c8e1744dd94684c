#pragma once
// CSelectFilesDlg: the "Select Files" dialog of File > Batch Process. The
// user names a folder (typed, or chosen with "..."), lists its C3D files with
// "Find Files" (optionally with its sub-folders), unticks the files to leave
// out, and names the batch file ("Browse..."). OK stays open with a message
// while no batch file is named or it cannot be found.

#include <QDialog>

#include "app/BatchProcess.h"

class CEditorApp;
class QCheckBox;
class QLineEdit;
class QPushButton;
class QTreeWidget;

class CSelectFilesDlg : public QDialog {
  Q_OBJECT

 public:
  CSelectFilesDlg(CEditorApp& app, CSelectFilesRequest& request, QWidget* parent = nullptr);

  QLineEdit* m_pFolder = nullptr;
  QPushButton* m_pChooseFolder = nullptr;  // "..."
  QPushButton* m_pFindFiles = nullptr;
  QCheckBox* m_pSubFolders = nullptr;
  QTreeWidget* m_pFileList = nullptr;
  QLineEdit* m_pBatchFile = nullptr;
  QPushButton* m_pBrowse = nullptr;
  QCheckBox* m_pAlwaysSave = nullptr;
  QPushButton* m_pOk = nullptr;

  void FindFiles();
  void accept() override;

 protected:
  // Enter in the folder edit finds the files instead of closing the dialog.
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void ChooseFolder();
  void BrowseBatchFile();
  // Dialog to request and back.
  void TakeControls();
  void ShowFileList();

  CEditorApp& m_app;
  CSelectFilesRequest& m_request;
};
