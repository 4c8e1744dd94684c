#pragma once
// CQtEditDialogs: the editing dialogs of the editor, shown modally over the
// main window. Messages of the dialogs' checks go through the editor's
// prompt.

#include <QPointer>
#include <QWidget>

#include "document/EditDialogs.h"

class CQtEditDialogs : public CEditDialogs {
 public:
  explicit CQtEditDialogs(CUserPrompt& prompt) : m_prompt(prompt) {}
  void SetParent(QWidget* parent) { m_pParent = parent; }

  bool RunGroupEditor(CGroupEditorRequest& request) override;
  bool RunParamEditor(CParamEditorRequest& request) override;
  bool RunDataType(CDataTypeRequest& request) override;
  bool RunAddFrames(CAddFramesRequest& request) override;
  bool RunAddAnalog(CAddAnalogRequest& request) override;
  bool RunAdd3DMarker(CAdd3DMarkerRequest& request) override;
  bool RunEvent(CEventRequest& request) override;

 private:
  CUserPrompt& m_prompt;
  QPointer<QWidget> m_pParent;
};
