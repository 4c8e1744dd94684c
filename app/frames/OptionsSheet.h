#pragma once
// COptions: the "Options" sheet with the pages "General" (CPropGeneral),
// "Views" (CPropView) and "Interpolate" (CPropInt). The pages edit a copy
// of the settings (COptionsRequest); OK hands it back to the caller, Apply
// puts the Views page (and the interpolation values) into effect at once.

#include <QDialog>

#include "app/OptionsModel.h"

class QCheckBox;
class QComboBox;
class QDialogButtonBox;
class QDoubleSpinBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QSpinBox;
class QTabWidget;
class CQtEditorApp;

class CPropGeneral : public QWidget {
  Q_OBJECT

 public:
  CPropGeneral(CQtEditorApp& app, COptionsRequest& request, QWidget* parent = nullptr);

  QLineEdit* m_pValidFile = nullptr;
  QLineEdit* m_pBatchFile = nullptr;
  QPushButton* m_pBrowseValid = nullptr;
  QPushButton* m_pBrowseBatch = nullptr;
  QLabel* m_pFontText = nullptr;
  QPushButton* m_pFontButton = nullptr;
  QCheckBox* m_pLockedEdit = nullptr;
  QCheckBox* m_pRescale = nullptr;

  // After the font dialog (also used by the tests).
  void SetFont(const QFont& font);

 signals:
  void changed();

 private:
  void Browse(OptionsBrowseKind kind, QLineEdit* edit);
  void ChooseFont();

  CQtEditorApp& m_app;
  COptionsRequest& m_request;
};

class CPropView : public QWidget {
  Q_OBJECT

 public:
  CPropView(COptionsRequest& request, QWidget* parent = nullptr);

  QCheckBox* m_pSubFrames = nullptr;
  QDoubleSpinBox* m_p3DRed = nullptr;
  QSpinBox* m_pAnalogDepth = nullptr;
  QSpinBox* m_p3DDepth = nullptr;
  QSpinBox* m_pAnalogXunit = nullptr;
  QSpinBox* m_p3DXunit = nullptr;
  QCheckBox* m_pFitHorizontal = nullptr;
  QCheckBox* m_pScaleAnalog = nullptr;
  QCheckBox* m_pScale3d = nullptr;
  QCheckBox* m_pShowList = nullptr;
  QPushButton* m_pColorHigh = nullptr;
  QPushButton* m_pColorZero = nullptr;
  QPushButton* m_pColorEvent = nullptr;

  // Sets a colour as the colour dialog would (also used by the tests).
  void SetColor(QPushButton* button, const QColor& color);
  static QColor ToQColor(uint32_t colorRef);
  static uint32_t ToColorRef(const QColor& color);

 signals:
  void changed();

 private:
  void ChooseColor(QPushButton* button);
  void ShowSwatch(QPushButton* button, uint32_t colorRef);
  uint32_t* ColorOf(QPushButton* button);

  COptionsRequest& m_request;
};

class CPropInt : public QWidget {
  Q_OBJECT

 public:
  CPropInt(COptionsRequest& request, QWidget* parent = nullptr);

  QComboBox* m_pType = nullptr;
  QSpinBox* m_pGaps = nullptr;
  QDoubleSpinBox* m_pResid = nullptr;
  QCheckBox* m_pAllChannels = nullptr;

 signals:
  void changed();

 private:
  COptionsRequest& m_request;
};

class COptions : public QDialog {
  Q_OBJECT

 public:
  COptions(CQtEditorApp& app, QWidget* parent = nullptr);

  // The values as the pages hold them now.
  const COptionsRequest& Request() const { return m_request; }

  CPropGeneral* GeneralPage() const { return m_pGeneral; }
  CPropView* ViewPage() const { return m_pView; }
  CPropInt* InterpolatePage() const { return m_pInt; }
  QTabWidget* Tabs() const { return m_pTabs; }
  QPushButton* ApplyButton() const;
  QPushButton* OkButton() const;

  // The Apply button: the Views page (and the interpolation values) take
  // effect at once; every open document redraws.
  void OnApply();

 private:
  void UpdateApplyButton();

  CQtEditorApp& m_app;
  COptionsRequest m_request;
  QTabWidget* m_pTabs = nullptr;
  CPropGeneral* m_pGeneral = nullptr;
  CPropView* m_pView = nullptr;
  CPropInt* m_pInt = nullptr;
  QDialogButtonBox* m_pButtons = nullptr;
  bool m_bViewChanged = false;
  bool m_bIntChanged = false;
};
