#pragma once
// CEventDlg ("Event"): a header event's label, time, frame and display
// flag; typing a time, a video frame or an analog frame updates the other
// two (document/EventCommands.h).

#include <QDialog>

#include "document/EventCommands.h"

class QCheckBox;
class QLineEdit;
class QPushButton;

class CEventDlg : public QDialog {
  Q_OBJECT

 public:
  CEventDlg(CEventRequest& request, CUserPrompt& prompt, QWidget* parent = nullptr);

  QLineEdit* LabelEdit() const { return m_pLabel; }
  QLineEdit* TimeEdit() const { return m_pTime; }
  QLineEdit* VideoFrameEdit() const { return m_pVideoFrame; }
  QLineEdit* AnalogFrameEdit() const { return m_pAnalogFrame; }
  QCheckBox* StatusBox() const { return m_pStatus; }
  QPushButton* DeleteButton() const { return m_pDelete; }

  void accept() override;

 private:
  void TakeFields();
  void ShowFields();
  void ShowNumbers();
  void OnDelete();
  void OnHelp();

  CEventRequest& m_request;
  CUserPrompt& m_prompt;
  QLineEdit* m_pLabel;
  QLineEdit* m_pTime;
  QLineEdit* m_pVideoFrame;
  QLineEdit* m_pAnalogFrame;
  QCheckBox* m_pStatus;
  QPushButton* m_pDelete;
};
