#pragma once
// CAddFramesDlg ("Add Frames"): where to insert how many frames and what the
// new frames hold (document/FrameCommands.h).

#include <QDialog>

#include "document/FrameCommands.h"

class QComboBox;
class QDoubleSpinBox;
class QLabel;
class QSpinBox;

class CAddFramesDlg : public QDialog {
  Q_OBJECT

 public:
  CAddFramesDlg(CAddFramesRequest& request, CUserPrompt& prompt, QWidget* parent = nullptr);

  QComboBox* InsertAtBox() const { return m_pInsertAt; }
  QSpinBox* AfterFrameBox() const { return m_pAfterFrame; }
  QSpinBox* FramesBox() const { return m_pFrames; }
  QComboBox* AnalogFillBox() const { return m_pAnalogFill; }
  QDoubleSpinBox* MinBox() const { return m_pMin; }
  QDoubleSpinBox* MaxBox() const { return m_pMax; }
  QDoubleSpinBox* FrequencyBox() const { return m_pFrequency; }

  void accept() override;

 private:
  void UpdateEnabled();

  CAddFramesRequest& m_request;
  CUserPrompt& m_prompt;
  QLabel* m_pInformation;
  QComboBox* m_pInsertAt;
  QSpinBox* m_pAfterFrame;
  QSpinBox* m_pFrames;
  QComboBox* m_pAnalogFill;
  QDoubleSpinBox* m_pMin;
  QDoubleSpinBox* m_pMax;
  QDoubleSpinBox* m_pFrequency;
  QComboBox* m_pPointFill;
  QDoubleSpinBox* m_pX;
  QDoubleSpinBox* m_pY;
  QDoubleSpinBox* m_pZ;
};
