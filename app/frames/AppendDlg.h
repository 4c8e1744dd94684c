#pragma once
// CAppendDlg: the "Append" dialog. The user chooses a second C3D file, sees
// what it holds, picks the range of its frames and whether they go before
// or after the document's frames. OK keeps the dialog open with a message
// while the choice is not complete.

#include <QDialog>

#include "document/AppendMergeCommands.h"

class CEditorDoc;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

class CAppendDlg : public QDialog {
  Q_OBJECT

 public:
  CAppendDlg(CEditorDoc& doc, CAppendRequest& request, QWidget* parent = nullptr);

  QLabel* m_pFileName = nullptr;
  QLabel* m_pDescription = nullptr;
  QLineEdit* m_pFirstFrame = nullptr;
  QLineEdit* m_pLastFrame = nullptr;
  QComboBox* m_pAppendAt = nullptr;
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
  CAppendRequest& m_request;
};
