#include "document/EventCommands.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "document/EditDialogs.h"
#include "document/EditorDoc.h"

namespace {

const char kOutOfRange[] = "Selected Time does not lie in the data collection range";
const char kTruncated[] = "The Event Label will be truncated";
const char kDeleteQuestion[] = "You are going to Delete an Event\nDo you want to continue?";
constexpr size_t kLabelLength = 4;
// Half the last of the four decimals a time is shown with.
constexpr double kShownTimeSlack = 0.00005;

bool ParseNumber(const std::string& text, double& value) {
  if (text.empty()) return false;
  char* end = nullptr;
  value = std::strtod(text.c_str(), &end);
  return end && *end == '\0' && std::isfinite(value);
}

bool ParseWhole(const std::string& text, long& value) {
  if (text.empty()) return false;
  char* end = nullptr;
  value = std::strtol(text.c_str(), &end, 10);
  return end && *end == '\0';
}

std::string Text(const char* format, double value) {
  char text[64];
  std::snprintf(text, sizeof text, format, value);
  return text;
}

std::string Text(long value) { return std::to_string(value); }

}  // namespace

CEventRequest::CEventRequest(float rate, int firstFrame, int lastFrame, int samplesPerFrame)
    : m_fRate(rate), m_nFirst(firstFrame), m_nLast(lastFrame), m_nSamples(samplesPerFrame) {}

double CEventRequest::TimeOfVideoFrame(long frame) const {
  return m_fRate > 0.0 ? (frame - 1) / m_fRate : 0.0;
}

double CEventRequest::TimeOfAnalogFrame(long analogFrame) const {
  const double rate = m_nSamples * m_fRate;
  return rate > 0.0 ? (analogFrame - 1) / rate : 0.0;
}

long CEventRequest::VideoFrameOfTime(double time) const {
  return static_cast<long>(std::ceil(m_fRate * time + 1.0 - m_fRate * kShownTimeSlack));
}

long CEventRequest::AnalogFrameOfTime(double time) const {
  const double rate = m_nSamples * m_fRate;
  if (!(rate > 0.0)) return 0;
  return static_cast<long>(std::ceil(rate * time + 1.0 - rate * kShownTimeSlack));
}

long CEventRequest::AnalogFrameOfVideoFrame(long frame) const { return m_nSamples * (frame - 1) + 1; }

long CEventRequest::VideoFrameOfAnalogFrame(long analogFrame) const {
  return m_nSamples > 0 ? (analogFrame - 1) / m_nSamples + 1 : analogFrame;
}

void CEventRequest::SetTime(double time) {
  m_strTime = Text("%.4f", time);
  m_strShownTime = m_strTime;
  m_fShownTime = time;
}

void CEventRequest::ShowFrame(int frame) {
  SetTime(TimeOfVideoFrame(frame));
  m_strVideoFrame = Text(frame);
  m_strAnalogFrame = Text(AnalogFrameOfVideoFrame(frame));
}

void CEventRequest::ShowEvent(const CEvent& event) {
  m_strLabel = event.m_strLabel;
  m_bStatus = event.m_nDisplay != 0;
  m_nShownDisplay = event.m_nDisplay;
  SetTime(event.m_fTime);
  m_strVideoFrame = Text(static_cast<long>(event.m_nFrame));
  m_strAnalogFrame = Text(AnalogFrameOfVideoFrame(event.m_nFrame));
  m_bExisting = true;
}

bool CEventRequest::OnTimeEdited() {
  double time;
  if (!ParseNumber(m_strTime, time) || time < LowestTime() || time > HighestTime()) return false;
  m_strVideoFrame = Text(VideoFrameOfTime(time));
  m_strAnalogFrame = Text(AnalogFrameOfTime(time));
  return true;
}

bool CEventRequest::OnVideoFrameEdited() {
  long frame;
  if (!ParseWhole(m_strVideoFrame, frame) || frame < m_nFirst || frame > m_nLast) return false;
  SetTime(TimeOfVideoFrame(frame));
  m_strAnalogFrame = Text(AnalogFrameOfVideoFrame(frame));
  return true;
}

bool CEventRequest::OnAnalogFrameEdited() {
  long analog;
  if (!ParseWhole(m_strAnalogFrame, analog) || analog < AnalogFrameOfVideoFrame(m_nFirst) ||
      analog > AnalogFrameOfVideoFrame(m_nLast))
    return false;
  SetTime(TimeOfAnalogFrame(analog));
  m_strVideoFrame = Text(VideoFrameOfAnalogFrame(analog));
  return true;
}

bool CEventRequest::Ok(CUserPrompt& prompt) {
  if (m_strTime.empty() || m_strVideoFrame.empty() || m_strAnalogFrame.empty()) return false;
  long frame;
  if (!ParseWhole(m_strVideoFrame, frame) || frame < m_nFirst || frame > m_nLast) {
    prompt.ShowMessage("Please enter an integer between " + Text(m_nFirst) + " and " + Text(m_nLast) + ".");
    return false;
  }
  double time = std::atof(m_strTime.c_str());
  if (m_strTime == m_strShownTime) time = m_fShownTime;
  if (time < LowestTime() - kShownTimeSlack || time > HighestTime() + kShownTimeSlack) {
    prompt.ShowMessage(kOutOfRange);
    return false;
  }
  std::string label = m_strLabel;
  if (label.size() > kLabelLength) {
    prompt.ShowMessage(kTruncated);
    label.resize(kLabelLength);
  }
  m_event.m_strLabel = label;
  m_event.m_fTime = static_cast<float>(time);
  m_event.m_nFrame = static_cast<int32_t>(VideoFrameOfTime(time));
  // An unchanged status keeps the flag byte the file had.
  m_event.m_nDisplay = m_bStatus == (m_nShownDisplay != 0) ? m_nShownDisplay : (m_bStatus ? 1 : 0);
  return true;
}

bool CEventRequest::Delete(CUserPrompt& prompt) {
  if (!m_bExisting || !prompt.AskYesNo(kDeleteQuestion)) return false;
  m_bDeleteChosen = true;
  return true;
}

// ---- Commands ---------------------------------------------------------------

namespace {

CEventRequest MakeRequest(const CC3d& c3d) {
  const HeaderRecord& h = c3d.m_header;
  return CEventRequest(h.m_fFrameRate, h.m_nFirstFrame, h.m_nLastFrame, h.m_nSamplesPerFrame);
}

void FinishEvents(CEditorDoc& doc, int undoKind, int index) {
  doc.m_nUndoKind = undoKind;
  doc.m_nUndoIndex = index;
  doc.m_bEventsChanged = true;
  doc.m_bDataChanged = true;
  doc.SetModifiedFlag(true);
  doc.UpdateAllViews();
}

// Runs the dialog in new-event mode on video frame `frame`; OK appends.
void AddEventAt(CEditorDoc& doc, int frame) {
  CEventRequest request = MakeRequest(doc.m_c3d);
  request.ShowFrame(frame);
  if (!doc.Host().EditDialogs().RunEvent(request)) return;
  doc.m_c3d.m_events.push_back(request.m_event);
  FinishEvents(doc, UNDO_NEW_EVENT, static_cast<int>(doc.m_c3d.m_events.size()) - 1);
}

}  // namespace

bool CanNewEvent(const CEditorDoc& doc, int selectedFrames) {
  return doc.Host().EditMode() && (doc.m_nSelNode == -2 || doc.m_nSelNode == -3) && doc.m_nSelItem >= 0 &&
         static_cast<int>(doc.m_c3d.m_events.size()) < kMaxHeaderEvents && selectedFrames == 1;
}

void OnNewEvent(CEditorDoc& doc, int frame) {
  if (!doc.Host().EditMode() || static_cast<int>(doc.m_c3d.m_events.size()) >= kMaxHeaderEvents) return;
  if (frame < 0 || frame >= doc.m_c3d.FrameCount()) return;
  AddEventAt(doc, doc.m_c3d.m_header.m_nFirstFrame + frame);
}

void EditEventEntry(CEditorDoc& doc, int entry) {
  if (!doc.Host().EditMode() || entry < 0) return;
  CC3d& c3d = doc.m_c3d;
  const int count = static_cast<int>(c3d.m_events.size());
  if (entry >= count) {
    // The "Add..." entry.
    if (entry == count && count < kMaxHeaderEvents) AddEventAt(doc, c3d.m_header.m_nFirstFrame);
    return;
  }
  CEventRequest request = MakeRequest(c3d);
  request.ShowEvent(c3d.m_events[static_cast<size_t>(entry)]);
  if (!doc.Host().EditDialogs().RunEvent(request)) return;
  c3d.CopyEventList(entry);
  if (request.m_bDeleteChosen) {
    c3d.m_events.erase(c3d.m_events.begin() + entry);
    FinishEvents(doc, UNDO_DELETE_EVENT, entry);
  } else {
    c3d.m_events[static_cast<size_t>(entry)] = request.m_event;
    FinishEvents(doc, UNDO_EDIT_EVENT, entry);
  }
}
