#pragma once
// CInterpolateDlg: the "Interpolate" dialog. Fills a CInterpolateRequest;
// OK closes only when the request passes its check.

#include <QDialog>

#include "document/InterpolateCommand.h"

class QCheckBox;
class QLineEdit;
class QRadioButton;
class CUserPrompt;

class CInterpolateDlg : public QDialog {
  Q_OBJECT

 public:
  CInterpolateDlg(CInterpolateRequest& request, CUserPrompt& prompt, QWidget* parent = nullptr);

  void accept() override;

  QRadioButton* m_pGapsMode = nullptr;
  QRadioButton* m_pResidualMode = nullptr;
  QLineEdit* m_pMaxGap = nullptr;
  QLineEdit* m_pThreshold = nullptr;
  QCheckBox* m_pAllChannels = nullptr;

 private:
  void UpdateEnabling();

  CInterpolateRequest& m_request;
  CUserPrompt& m_prompt;
};
