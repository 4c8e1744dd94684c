#pragma once
// The editing dialogs as the document's commands see them. Each dialog works
// on a request struct (its fields, and its OK checks with their messages);
// the Qt shell shows the real dialogs, the command-line tool has none (every
// dialog answers Cancel), and the tests script them.
//
// A dialog shows the request's fields, lets the user change them and, on OK,
// calls the request's Ok(): while that refuses the dialog stays open. Run...
// returns true when the dialog was closed with OK.

class CUserPrompt;
struct CAddAnalogRequest;
struct CAdd3DMarkerRequest;
struct CAddFramesRequest;
struct CDataTypeRequest;
struct CEventRequest;
struct CGroupEditorRequest;
struct CParamEditorRequest;

class CEditDialogs {
 public:
  virtual ~CEditDialogs() = default;
  virtual bool RunGroupEditor(CGroupEditorRequest& request) = 0;
  virtual bool RunParamEditor(CParamEditorRequest& request) = 0;
  virtual bool RunDataType(CDataTypeRequest& request) = 0;
  virtual bool RunAddFrames(CAddFramesRequest& request) = 0;
  virtual bool RunAddAnalog(CAddAnalogRequest& request) = 0;
  virtual bool RunAdd3DMarker(CAdd3DMarkerRequest& request) = 0;
  virtual bool RunEvent(CEventRequest& request) = 0;
};

// Answers every dialog with Cancel: what a host without windows offers.
class CNoEditDialogs : public CEditDialogs {
 public:
  bool RunGroupEditor(CGroupEditorRequest&) override { return false; }
  bool RunParamEditor(CParamEditorRequest&) override { return false; }
  bool RunDataType(CDataTypeRequest&) override { return false; }
  bool RunAddFrames(CAddFramesRequest&) override { return false; }
  bool RunAddAnalog(CAddAnalogRequest&) override { return false; }
  bool RunAdd3DMarker(CAdd3DMarkerRequest&) override { return false; }
  bool RunEvent(CEventRequest&) override { return false; }
};
