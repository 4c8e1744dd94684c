#pragma once
// CGroupEditorDlg ("Group Editor"): a thin dialog over the request of
// document/GroupEditor.h.

#include <QDialog>

#include "document/GroupEditor.h"

class QCheckBox;
class QLineEdit;
class QSpinBox;

class CGroupEditorDlg : public QDialog {
  Q_OBJECT

 public:
  CGroupEditorDlg(CGroupEditorRequest& request, CUserPrompt& prompt, QWidget* parent = nullptr);

  QLineEdit* NameEdit() const { return m_pName; }
  QLineEdit* DescriptionEdit() const { return m_pDescription; }
  QSpinBox* NumberBox() const { return m_pNumber; }
  QCheckBox* LockedBox() const { return m_pLocked; }

  // OK: takes the fields into the request and closes only when its checks pass.
  void accept() override;

 private:
  CGroupEditorRequest& m_request;
  CUserPrompt& m_prompt;
  QLineEdit* m_pName;
  QLineEdit* m_pDescription;
  QSpinBox* m_pNumber;
  QCheckBox* m_pLocked;
};
