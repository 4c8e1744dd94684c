#pragma once
// CAddAnalogDlg ("Add Analog"): the samples and the description of a new
// analog channel (document/ChannelCommands.h).

#include <QDialog>

#include "document/ChannelCommands.h"

class QComboBox;
class QDoubleSpinBox;
class QLineEdit;

class CAddAnalogDlg : public QDialog {
  Q_OBJECT

 public:
  CAddAnalogDlg(CAddAnalogRequest& request, CUserPrompt& prompt, QWidget* parent = nullptr);

  QComboBox* FillTypeBox() const { return m_pFillType; }
  QDoubleSpinBox* MinBox() const { return m_pMin; }
  QDoubleSpinBox* MaxBox() const { return m_pMax; }
  QDoubleSpinBox* FrequencyBox() const { return m_pFrequency; }
  QLineEdit* NameEdit() const { return m_pName; }

  void accept() override;

 private:
  void UpdateEnabled();

  CAddAnalogRequest& m_request;
  CUserPrompt& m_prompt;
  QComboBox* m_pFillType;
  QDoubleSpinBox* m_pMin;
  QDoubleSpinBox* m_pMax;
  QDoubleSpinBox* m_pFrequency;
  QLineEdit* m_pName;
  QLineEdit* m_pDescription;
  QDoubleSpinBox* m_pScale;
  QDoubleSpinBox* m_pOffset;
  QLineEdit* m_pUnits;
};
