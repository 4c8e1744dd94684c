#pragma once
#include <QDialog>

#include "document/ChannelCommands.h"

class QComboBox;
class QDoubleSpinBox;
class QLineEdit;

// CAdd3DMarkerDlg ("Add 3D Marker"): the coordinates and the description of
// a new 3D point.
class CAdd3DMarkerDlg : public QDialog {
  Q_OBJECT

 public:
  CAdd3DMarkerDlg(CAdd3DMarkerRequest& request, CUserPrompt& prompt, QWidget* parent = nullptr);

  QComboBox* FillTypeBox() const { return m_pFillType; }
  QDoubleSpinBox* XBox() const { return m_pX; }
  QLineEdit* NameEdit() const { return m_pName; }

  void accept() override;

 private:
  CAdd3DMarkerRequest& m_request;
  CUserPrompt& m_prompt;
  QComboBox* m_pFillType;
  QDoubleSpinBox* m_pX;
  QDoubleSpinBox* m_pY;
  QDoubleSpinBox* m_pZ;
  QLineEdit* m_pName;
  QLineEdit* m_pDescription;
};
