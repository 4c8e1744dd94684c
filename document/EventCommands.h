#pragma once
// Header events: the Event dialog with its live conversions between time,
// video frame and analog frame; New Event on a selected frame; editing and
// deleting an event from the editor view's event list. Each records its
// undo.

#include <string>

#include "c3d/Event.h"

class CEditorDoc;
class CUserPrompt;

constexpr int kMaxHeaderEvents = 18;

// The Event dialog. Times are seconds from frame 1; frames are the file's
// frame numbers; analog frames count the samples of one channel from 1.
struct CEventRequest {
  // The fields, as typed.
  std::string m_strLabel = "xxxx";
  std::string m_strTime;
  std::string m_strVideoFrame;
  std::string m_strAnalogFrame;
  bool m_bStatus = true;

  // True when an existing event is shown (Delete is offered); after OK,
  // whether Delete was chosen.
  bool m_bExisting = false;
  bool m_bDeleteChosen = false;
  // After OK: the event the fields describe.
  CEvent m_event;

  // Point rate R, first and last frame F0 and F1, analog samples per frame S.
  CEventRequest(float rate, int firstFrame, int lastFrame, int samplesPerFrame);

  // Fills the three numbers for video frame `frame`.
  void ShowFrame(int frame);
  // Fills every field from an event (existing-event mode).
  void ShowEvent(const CEvent& event);

  // Typing in one of the numbers: when it is a number within its limits,
  // the other two follow it. False when they did not change.
  bool OnTimeEdited();
  bool OnVideoFrameEdited();
  bool OnAnalogFrameEdited();

  // OK: nothing while a number is empty; the video frame must be a number
  // within the file and the time within the recording; a label longer than
  // 4 characters is cut after saying so.
  bool Ok(CUserPrompt& prompt);
  // Delete: asks; Yes closes the dialog with Delete chosen.
  bool Delete(CUserPrompt& prompt);

  // Conversions.
  double TimeOfVideoFrame(long frame) const;
  double TimeOfAnalogFrame(long analogFrame) const;
  // The frame whose time is t or the first after it. A time shown with four
  // decimals gives back the frame it was computed from.
  long VideoFrameOfTime(double time) const;
  long AnalogFrameOfTime(double time) const;
  long AnalogFrameOfVideoFrame(long frame) const;
  long VideoFrameOfAnalogFrame(long analogFrame) const;
  double LowestTime() const { return TimeOfVideoFrame(m_nFirst); }
  double HighestTime() const { return TimeOfVideoFrame(m_nLast); }

 private:
  void SetTime(double time);

  double m_fRate;
  long m_nFirst, m_nLast, m_nSamples;
  // The time last written into the Time field, at full precision: while the
  // field still shows it, OK takes it instead of its four decimals.
  std::string m_strShownTime;
  double m_fShownTime = 0.0;
  uint8_t m_nShownDisplay = 1;
};

// Edit > New > Event: an event at frame index `frame` (0 = the file's
// first frame).
void OnNewEvent(CEditorDoc& doc, int frame);
// Double-click on entry `entry` of the event list: the last entry of a list
// with room adds an event, any other edits or deletes that event.
void EditEventEntry(CEditorDoc& doc, int entry);
// Edit > New > Event is offered with a channel selected, one frame selected,
// room for another event and Edit Mode on.
bool CanNewEvent(const CEditorDoc& doc, int selectedFrames);
