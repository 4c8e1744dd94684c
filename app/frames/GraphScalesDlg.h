#pragma once
// CGraphScalesDlg: the "Graph Scales" dialog of the graph view. The distance
// between frames (logical units of 0.01 inch, echoed in inches) and the
// height of the graph (inches) for analog and for 3D data, each with its
// limits. OK closes only with values the view can draw.

#include <QDialog>

#include "document/GraphGeometry.h"

class QDialogButtonBox;
class QLabel;
class QLineEdit;
class CUserPrompt;

class CGraphScalesDlg : public QDialog {
  Q_OBJECT

 public:
  CGraphScalesDlg(CGraphScalesRequest& request, CUserPrompt& prompt, QWidget* parent = nullptr);

  QLineEdit* m_pAnalogDistance = nullptr;
  QLineEdit* m_pAnalogDepth = nullptr;
  QLineEdit* m_pVideoDistance = nullptr;
  QLineEdit* m_pVideoDepth = nullptr;
  QLabel* m_pAnalogInches = nullptr;
  QLabel* m_pVideoInches = nullptr;
  QDialogButtonBox* m_pButtons = nullptr;

  void accept() override;

 private:
  void UpdateInches();

  CGraphScalesRequest& m_request;
  CUserPrompt& m_prompt;
};
