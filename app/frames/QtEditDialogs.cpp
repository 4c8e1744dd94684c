#include "app/frames/QtEditDialogs.h"

#include "app/frames/Add3DMarkerDlg.h"
#include "app/frames/AddAnalogDlg.h"
#include "app/frames/AddFramesDlg.h"
#include "app/frames/DataTypeDlg.h"
#include "app/frames/EventDlg.h"
#include "app/frames/GroupEditorDlg.h"
#include "app/frames/ParamEditorDlg.h"

bool CQtEditDialogs::RunGroupEditor(CGroupEditorRequest& request) {
  CGroupEditorDlg dialog(request, m_prompt, m_pParent);
  return dialog.exec() == QDialog::Accepted;
}

bool CQtEditDialogs::RunParamEditor(CParamEditorRequest& request) {
  CParamEditorDlg dialog(request, m_prompt, m_pParent);
  return dialog.exec() == QDialog::Accepted;
}

bool CQtEditDialogs::RunDataType(CDataTypeRequest& request) {
  CDataTypeDlg dialog(request, m_pParent);
  return dialog.exec() == QDialog::Accepted;
}

bool CQtEditDialogs::RunAddFrames(CAddFramesRequest& request) {
  CAddFramesDlg dialog(request, m_prompt, m_pParent);
  return dialog.exec() == QDialog::Accepted;
}

bool CQtEditDialogs::RunAddAnalog(CAddAnalogRequest& request) {
  CAddAnalogDlg dialog(request, m_prompt, m_pParent);
  return dialog.exec() == QDialog::Accepted;
}

bool CQtEditDialogs::RunAdd3DMarker(CAdd3DMarkerRequest& request) {
  CAdd3DMarkerDlg dialog(request, m_prompt, m_pParent);
  return dialog.exec() == QDialog::Accepted;
}

bool CQtEditDialogs::RunEvent(CEventRequest& request) {
  CEventDlg dialog(request, m_prompt, m_pParent);
  return dialog.exec() == QDialog::Accepted;
}
