#pragma once
// CSamplingDlg: the "Sampling Frequency" dialog in its two modes, the new
// frame rate or the new analog-to-video ratio, with the analog sampling
// frequency they give. The edits take back a value that is not above 0;
// OK closes only with values the commands accept.

#include <QDialog>

#include "document/SamplingCommands.h"

class QDialogButtonBox;
class QLabel;
class QLineEdit;

class CSamplingDlg : public QDialog {
  Q_OBJECT

 public:
  CSamplingDlg(CSamplingRequest& request, QWidget* parent = nullptr);

  QLabel* m_pCaption = nullptr;
  QLineEdit* m_pFrequency = nullptr;
  QLineEdit* m_pRatio = nullptr;
  QLabel* m_pUnit = nullptr;
  QLabel* m_pInfo = nullptr;
  QDialogButtonBox* m_pButtons = nullptr;

  void accept() override;

 private:
  void FrequencyEdited(const QString& text);
  void RatioEdited(const QString& text);
  // Shows the values the request holds (a refused entry goes back).
  void PutBackFrequency();
  void PutBackRatio();
  void UpdateInfo();

  CSamplingRequest& m_request;
};
