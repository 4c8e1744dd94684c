#pragma once
// CFilterDlg: the "Filter" dialog of Filter Analog and Filter 3D. Fills a
// CFilterDialogState; OK closes only when the state passes its checks (their
// messages go through the prompt). CFilterSketch draws the chosen type's
// magnitude response.

#include <QDialog>
#include <QWidget>

#include "document/FilterCommand.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QSlider;
class CUserPrompt;

// A small drawing of a low-pass, high-pass, band-pass or band-stop response:
// gain over frequency, with the cut-offs marked.
class CFilterSketch : public QWidget {
  Q_OBJECT

 public:
  explicit CFilterSketch(QWidget* parent = nullptr);
  void SetType(int type);
  int Type() const { return m_nType; }
  QSize sizeHint() const override { return QSize(170, 110); }

 protected:
  void paintEvent(QPaintEvent* e) override;

 private:
  int m_nType = 0;
};

class CFilterDlg : public QDialog {
  Q_OBJECT

 public:
  CFilterDlg(CFilterDialogState& state, CUserPrompt& prompt, QWidget* parent = nullptr);

  void accept() override;

  QComboBox* m_pKind = nullptr;
  QComboBox* m_pType = nullptr;
  QSlider* m_pOrder = nullptr;
  QLabel* m_pOrderLabel = nullptr;
  QComboBox* m_pFrames = nullptr;
  QLabel* m_pLowLabel = nullptr;
  QLineEdit* m_pLowFreq = nullptr;
  QLabel* m_pHighLabel = nullptr;
  QLineEdit* m_pHighFreq = nullptr;
  QLabel* m_pResidualLabel = nullptr;
  QLineEdit* m_pResidual = nullptr;
  QLabel* m_pStartLabel = nullptr;
  QLineEdit* m_pStartFrame = nullptr;
  QLabel* m_pEndLabel = nullptr;
  QLineEdit* m_pEndFrame = nullptr;
  QCheckBox* m_pSetResidual = nullptr;
  QLineEdit* m_pSetResidualValue = nullptr;
  QListWidget* m_pChannels = nullptr;
  QLabel* m_pInfo = nullptr;
  CFilterSketch* m_pSketch = nullptr;

 private:
  // Shows the state's kind-dependent values in the controls.
  void ShowKindValues();
  // Shows and hides the controls that depend on type and frame selection.
  void UpdateVisibility();
  void OnKindChanged(int kind);

  CFilterDialogState& m_state;
  CUserPrompt& m_prompt;
};
