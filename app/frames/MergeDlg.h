#pragma once
// CMergeDlg: the "Merge" dialog. The user chooses a second C3D file and, in
// two lists of its channels, the analog channels and 3D markers to add to
// the document.

#include <QDialog>

#include "document/AppendMergeCommands.h"

class CEditorDoc;
class QLabel;
class QListWidget;
class QPushButton;

class CMergeDlg : public QDialog {
  Q_OBJECT

 public:
  CMergeDlg(CEditorDoc& doc, CMergeRequest& request, QWidget* parent = nullptr);

  QLabel* m_pFileName = nullptr;
  QListWidget* m_pAnalog = nullptr;
  QListWidget* m_pPoints = nullptr;
  QPushButton* m_pSelectFile = nullptr;
  QPushButton* m_pConditions = nullptr;
  QPushButton* m_pOk = nullptr;
  QPushButton* m_pHelp = nullptr;

  void accept() override;
  // "Select File...".
  void SelectFile();

 private:
  void ShowChoice();

  CEditorDoc& m_doc;
  CMergeRequest& m_request;
};
