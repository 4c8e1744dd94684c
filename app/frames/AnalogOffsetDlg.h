#pragma once
// CAnalogOffsetDlg: the "Analog Offset" dialog of Analog Storage: one
// number, the offset every analog channel is to have.

#include <QDialog>

class QLineEdit;
class CUserPrompt;

class CAnalogOffsetDlg : public QDialog {
  Q_OBJECT

 public:
  CAnalogOffsetDlg(float offset, CUserPrompt& prompt, QWidget* parent = nullptr);

  void accept() override;
  float Offset() const { return m_fOffset; }

  QLineEdit* m_pOffset = nullptr;

 private:
  CUserPrompt& m_prompt;
  float m_fOffset;
};
