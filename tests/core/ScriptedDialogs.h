#pragma once
// CEditDialogs for tests: each dialog plays the steps the test queued for
// it. A step fills in the request's fields as a user would and says which
// button it presses; on OK the request's own check runs and, when it
// refuses, the dialog stays open for the next step. A dialog that opens
// with no step left, or steps left unused at the end, fail the test.
//
//   host.m_dialogs.GroupEditor([](CGroupEditorRequest& r) {
//     r.m_strName = "FORCE";
//     return CScriptedDialogs::OK;
//   });

#include <gtest/gtest.h>

#include <deque>
#include <functional>
#include <type_traits>

#include "c3d/UserPrompt.h"
#include "document/ChannelCommands.h"
#include "document/EditDialogs.h"
#include "document/EventCommands.h"
#include "document/FrameCommands.h"
#include "document/GroupEditor.h"
#include "document/ParamEditor.h"

class CScriptedDialogs : public CEditDialogs {
 public:
  enum Button { OK, CANCEL, DELETE_EVENT };
  template <typename R>
  using Step = std::function<Button(R&)>;

  explicit CScriptedDialogs(CUserPrompt& prompt) : m_prompt(prompt) {}
  ~CScriptedDialogs() override {
    const size_t left = m_group.size() + m_param.size() + m_type.size() + m_frames.size() +
                        m_analog.size() + m_marker.size() + m_event.size();
    if (left) ADD_FAILURE() << "CScriptedDialogs: " << left << " dialog step(s) never used";
  }

  void GroupEditor(Step<CGroupEditorRequest> step) { m_group.push_back(std::move(step)); }
  void ParamEditor(Step<CParamEditorRequest> step) { m_param.push_back(std::move(step)); }
  void DataType(Step<CDataTypeRequest> step) { m_type.push_back(std::move(step)); }
  void AddFrames(Step<CAddFramesRequest> step) { m_frames.push_back(std::move(step)); }
  void AddAnalog(Step<CAddAnalogRequest> step) { m_analog.push_back(std::move(step)); }
  void Add3DMarker(Step<CAdd3DMarkerRequest> step) { m_marker.push_back(std::move(step)); }
  void Event(Step<CEventRequest> step) { m_event.push_back(std::move(step)); }
  // A step that presses a button without touching the fields.
  template <typename R>
  static Step<R> Press(Button button) {
    return [button](R&) { return button; };
  }

  bool RunGroupEditor(CGroupEditorRequest& r) override { return Play(m_group, r, "Group Editor"); }
  bool RunParamEditor(CParamEditorRequest& r) override { return Play(m_param, r, "Parameter Editor"); }
  bool RunDataType(CDataTypeRequest& r) override { return Play(m_type, r, "Data Type"); }
  bool RunAddFrames(CAddFramesRequest& r) override { return Play(m_frames, r, "Add Frames"); }
  bool RunAddAnalog(CAddAnalogRequest& r) override { return Play(m_analog, r, "Add Analog"); }
  bool RunAdd3DMarker(CAdd3DMarkerRequest& r) override { return Play(m_marker, r, "Add 3D Marker"); }
  bool RunEvent(CEventRequest& r) override { return Play(m_event, r, "Event"); }

  int m_nShown = 0;  // dialogs opened

 private:
  template <typename R>
  bool Play(std::deque<Step<R>>& steps, R& request, const char* name) {
    ++m_nShown;
    for (;;) {
      if (steps.empty()) {
        ADD_FAILURE() << "CScriptedDialogs: the " << name << " dialog is open with no step left";
        return false;
      }
      Step<R> step = std::move(steps.front());
      steps.pop_front();
      switch (step(request)) {
        case CANCEL: return false;
        case OK:
          if (request.Ok(m_prompt)) return true;
          break;
        case DELETE_EVENT:
          if constexpr (std::is_same_v<R, CEventRequest>) {
            if (request.Delete(m_prompt)) return true;
          } else {
            ADD_FAILURE() << "CScriptedDialogs: the " << name << " dialog has no Delete button";
            return false;
          }
          break;
      }
    }
  }

  CUserPrompt& m_prompt;
  std::deque<Step<CGroupEditorRequest>> m_group;
  std::deque<Step<CParamEditorRequest>> m_param;
  std::deque<Step<CDataTypeRequest>> m_type;
  std::deque<Step<CAddFramesRequest>> m_frames;
  std::deque<Step<CAddAnalogRequest>> m_analog;
  std::deque<Step<CAdd3DMarkerRequest>> m_marker;
  std::deque<Step<CEventRequest>> m_event;
};
