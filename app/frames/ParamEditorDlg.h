#pragma once
// CParamEditorDlg ("Parameter Editor"): edits a private copy of a parameter
// (document/ParamEditor.h) and writes it back on OK. Sizes of the Dimension
// List and values of the Data list are edited in place (double-click).

#include <QDialog>

#include "document/ParamEditor.h"

class QCheckBox;
class QComboBox;
class QLineEdit;
class QSpinBox;
class QTableWidget;
class QTableWidgetItem;

class CParamEditorDlg : public QDialog {
  Q_OBJECT

 public:
  CParamEditorDlg(CParamEditorRequest& request, CUserPrompt& prompt, QWidget* parent = nullptr);

  QLineEdit* NameEdit() const { return m_pName; }
  QLineEdit* DescriptionEdit() const { return m_pDescription; }
  QCheckBox* LockedBox() const { return m_pLocked; }
  QComboBox* GroupBox() const { return m_pGroup; }
  QSpinBox* DimensionsBox() const { return m_pDimensions; }
  QTableWidget* DimensionList() const { return m_pDimensionList; }
  QComboBox* DataTypeBox() const { return m_pDataType; }
  QTableWidget* DataList() const { return m_pData; }

  void accept() override;

 private:
  void FillDimensions();
  void FillData();
  void OnDimensionEdited(QTableWidgetItem* item);
  void OnValueEdited(QTableWidgetItem* item);

  CParamEditorRequest& m_request;
  CUserPrompt& m_prompt;
  QLineEdit* m_pName;
  QLineEdit* m_pDescription;
  QCheckBox* m_pLocked;
  QComboBox* m_pGroup;
  QSpinBox* m_pDimensions;
  QTableWidget* m_pDimensionList;
  QComboBox* m_pDataType;
  QTableWidget* m_pData;
  bool m_bFilling = false;
};
