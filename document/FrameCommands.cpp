#include "document/FrameCommands.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <new>

#include "document/CopyBuffer.h"
#include "document/EditDialogs.h"
#include "document/EditorDoc.h"
#include "processing/Filtering.h"
#include "processing/WaveFill.h"

namespace {

const char kAtLeastOneFrame[] = "At least one frame should be added";
const char kTooManyFrames[] = "Please decrease the number of frames added";
const char kChooseFrames[] = "Please choose frame(s)";
const char kCopyMemory[] = "Not Enough memory to carry out copy operation";
const char kChoosePoint[] = "Choose a 3D marker channel";
const char kChooseAnalog[] = "Choose an analog channel";
const char kRatiosDiffer[] = "Cannot copy data as Analog to Video ratios are not the same";
const char kSelectPasteFrame[] = "Please select a frame where data will be pasted";
const char kSelectImportFrame[] = "Please select the frame at which data should be imported";
const char kThreeColumns[] = "There can be only three columns of video data";
const char kSubFrames[] = "Not enough sub frames of data have been copied";
const char kMemory[] = "Not enough memory to perform operation";

constexpr long kMaxFrames = 65535;

// Frame numbers are 16-bit: a file holds at most 65535 frames, and its last
// frame number must stay within 65535 too, so a file that starts at frame
// 398 has room for 397 frames fewer.
bool FramesFit(long firstFrame, long frames) {
  return frames <= kMaxFrames && firstFrame + frames - 1 <= kMaxFrames;
}

bool AnalogSelected(const CEditorDoc& doc) {
  return doc.m_nSelNode == -2 && doc.m_nSelItem >= 0 && doc.m_nSelItem < doc.m_c3d.AnalogCount();
}

bool PointSelected(const CEditorDoc& doc) {
  return doc.m_nSelNode == -3 && doc.m_nSelItem >= 0 && doc.m_nSelItem < doc.m_c3d.PointCount();
}

// The frame indexes that exist, ascending, each once.
std::vector<int> ValidFrames(const CC3d& c3d, const std::vector<int>& frames) {
  std::vector<int> valid;
  for (int f : frames)
    if (f >= 0 && f < c3d.FrameCount()) valid.push_back(f);
  std::sort(valid.begin(), valid.end());
  valid.erase(std::unique(valid.begin(), valid.end()), valid.end());
  return valid;
}

// Records what a frame undo restores besides the stores: EVENT:TIMES,
// POINT:FRAMES and the TRIAL fields, and every header event.
void RecordFrameUndo(CEditorDoc& doc) {
  doc.SaveParameterCopies(FrameSlotNames());
  doc.SaveUndoSnapshot();
  doc.m_c3d.CopyEventList(-1);
}

// A data list that shows the file up to its last frame keeps doing so when
// frames are added, so that the new frames can be seen.
bool ListReachesLastFrame(const CEditorDoc& doc) { return doc.m_nListLast >= doc.m_c3d.FrameCount() - 1; }

void FollowNewFrames(CEditorDoc& doc, bool listToEnd) {
  if (listToEnd) doc.m_nListLast = doc.m_c3d.FrameCount() - 1;
}

void FinishFrames(CEditorDoc& doc, int undoKind) {
  doc.m_c3d.UpdateTrialFields();
  doc.m_nUndoKind = undoKind;
  doc.m_bEventsChanged = true;
  doc.m_bRebuildList = true;
  doc.m_bDataChanged = true;
  doc.SetModifiedFlag(true);
  doc.UpdateAllViews();
}

// Header events behind an insertion move with their frames; their times
// move by the same time span, so that a time between frames stays as exact
// as it was.
void MoveEventsBack(CC3d& c3d, int afterFrame, int count) {
  const double rate = c3d.m_header.m_fFrameRate;
  for (CEvent& e : c3d.m_events) {
    if (e.m_nFrame <= afterFrame) continue;
    e.m_nFrame += count;
    if (rate > 0.0) e.m_fTime = static_cast<float>(e.m_fTime + count / rate);
  }
}

// How the values of a buffered 3D segment translate into the units of the
// file it is pasted into. Integer coordinates count in units of the point
// scale, real ones are real units; residuals count in units of the absolute
// point scale in both storage kinds.
// A pasted or imported value: integer storage holds one beyond the 16-bit
// range at the limit rather than wrapping it round to the other sign (a
// coordinate in millimetres from a real file, at a small point scale).
void StoreHeld(CSampleStore& store, size_t at, double value) {
  if (store.IsReal())
    store.Set(at, value);
  else
    store.Ints()[at] = SaturateTo16(value);
}

struct CPointUnits {
  CPointUnits(const CopyBuffer& buffer, const CC3d& target) {
    const double fromScale = buffer.m_fPointScale;
    const double toScale = target.m_header.m_fScale;
    if (fromScale == 0.0 || toScale == 0.0) return;
    const double fromCoordinate = buffer.m_bRealPoints ? 1.0 : fromScale;
    const double toCoordinate = target.IsReal() ? 1.0 : toScale;
    m_fCoordinateFactor = fromCoordinate / toCoordinate;
    m_fResidualUnit = std::fabs(fromScale);
    m_bResidualsDiffer = std::fabs(fromScale) != std::fabs(toScale);
  }
  double Coordinate(float value) const {
    return m_fCoordinateFactor == 1.0 ? value : value * m_fCoordinateFactor;
  }
  // The residual of a valid residual word, in real units.
  float Residual(float word) const {
    const int low = static_cast<int8_t>(static_cast<uint8_t>(static_cast<int32_t>(word) & 0xff));
    return static_cast<float>(std::abs(low) * m_fResidualUnit);
  }
  double m_fCoordinateFactor = 1.0;
  double m_fResidualUnit = 0.0;
  bool m_bResidualsDiffer = false;
};

}  // namespace

// ---- Add Frames -------------------------------------------------------------

CAddFramesRequest::CAddFramesRequest(int firstFrame, int lastFrame)
    : m_nFirstFrame(firstFrame), m_nLastFrame(lastFrame), m_nAfterFrame(firstFrame) {}

const std::vector<std::string>& CAddFramesRequest::InsertAtNames() {
  static const std::vector<std::string> names = {"Start of Data", "End of Data", "After Frame"};
  return names;
}

const std::vector<std::string>& CAddFramesRequest::AnalogFillNames() {
  static const std::vector<std::string> names = {"Value", "Sine Wave", "Square Wave"};
  return names;
}

std::string CAddFramesRequest::InformationText() const {
  char text[96];
  std::snprintf(text, sizeof text, "  First Frame  %d\n  Last Frame   %d", m_nFirstFrame, m_nLastFrame);
  return text;
}

bool CAddFramesRequest::Ok(CUserPrompt& prompt) const {
  if (WaveChosen() && !(m_fFrequency > 0.0f && m_fMin < m_fMax)) return false;
  if (m_nFrames <= 0) {
    prompt.ShowMessage(kAtLeastOneFrame);
    return false;
  }
  if (!FramesFit(m_nFirstFrame, static_cast<long>(m_nLastFrame) - m_nFirstFrame + 1 + m_nFrames)) {
    prompt.ShowMessage(kTooManyFrames);
    return false;
  }
  if (m_nInsertAt == AFTER_FRAME && !(m_nFirstFrame <= m_nAfterFrame && m_nAfterFrame < m_nLastFrame))
    return false;
  return true;
}

void OnNewFrames(CEditorDoc& doc) {
  if (!doc.Host().EditMode()) return;
  const HeaderRecord& h = doc.m_c3d.m_header;
  CAddFramesRequest request(h.m_nFirstFrame, h.m_nLastFrame);
  if (!doc.Host().EditDialogs().RunAddFrames(request)) return;
  AddFrames(doc, request);
}

bool AddFrames(CEditorDoc& doc, const CAddFramesRequest& r) {
  CC3d& c3d = doc.m_c3d;
  const int n = r.m_nFrames;
  const int first = c3d.m_header.m_nFirstFrame;
  if (n < 1) return false;
  // Refused before anything is recorded: the earlier undo record stays good.
  if (!FramesFit(first, c3d.FrameCount() + static_cast<long>(n))) {
    doc.Prompt().ShowMessage(kTooManyFrames);
    return false;
  }
  const int spf = c3d.m_header.m_nSamplesPerFrame;
  std::vector<float> analog, x, y, z;
  try {
    analog.assign(static_cast<size_t>(spf) * n, r.m_fMin);
    x.assign(static_cast<size_t>(n), r.m_fX);
    y.assign(static_cast<size_t>(n), r.m_fY);
    z.assign(static_cast<size_t>(n), r.m_fZ);
  } catch (const std::bad_alloc&) {
    doc.Prompt().ShowMessage(kMemory);
    return false;
  }
  const float rate = static_cast<float>(spf) * c3d.m_header.m_fFrameRate;
  if (r.m_nAnalogFill == CAddFramesRequest::SINE_WAVE)
    FillSineWave(analog.data(), static_cast<int>(analog.size()), rate, r.m_fMin, r.m_fMax, r.m_fFrequency);
  else if (r.m_nAnalogFill == CAddFramesRequest::SQUARE_WAVE)
    FillSquareWave(analog.data(), static_cast<int>(analog.size()), rate, r.m_fMin, r.m_fMax, r.m_fFrequency);
  if (!c3d.IsReal())
    for (std::vector<float>* values : {&analog, &x, &y, &z})
      for (float& v : *values) v = SaturateTo16(v);

  int position = -1;
  if (r.m_nInsertAt == CAddFramesRequest::END_OF_DATA)
    position = -2;
  else if (r.m_nInsertAt == CAddFramesRequest::AFTER_FRAME)
    position = r.m_nAfterFrame - first;

  CWaitCursor wait(doc.Prompt());
  const bool listToEnd = ListReachesLastFrame(doc);
  RecordFrameUndo(doc);
  bool inserted;
  try {
    inserted = c3d.InsertFrames(n, position, analog, x, y, z);
  } catch (const std::bad_alloc&) {
    inserted = false;
  }
  if (!inserted) {
    // The snapshot and the saved parameters now describe this file, not the
    // command the undo kind names.
    doc.m_nUndoKind = UNDO_NONE;
    doc.Prompt().ShowMessage(kMemory);
    return false;
  }
  FollowNewFrames(doc, listToEnd);
  if (r.m_nInsertAt == CAddFramesRequest::START_OF_DATA) {
    MoveEventsBack(c3d, -1, n);
    c3d.ShiftEventTimes(-1, n);
  } else if (r.m_nInsertAt == CAddFramesRequest::AFTER_FRAME) {
    // The new frames follow frame number a: what lies from frame a + 1 on
    // moves, in the header events and in EVENT:TIMES alike.
    MoveEventsBack(c3d, r.m_nAfterFrame, n);
    c3d.ShiftEventTimes(r.m_nAfterFrame, n);
  }
  FinishFrames(doc, UNDO_NEW_FRAMES);
  return true;
}

// ---- Delete -----------------------------------------------------------------

bool DeleteFrameList(CEditorDoc& doc, const std::vector<int>& frames) {
  if (!doc.Host().EditMode()) return false;
  CC3d& c3d = doc.m_c3d;
  const std::vector<int> list = ValidFrames(c3d, frames);
  if (list.empty()) return false;
  char question[128];
  std::snprintf(question, sizeof question, "You are going to delete %d frames of data.\nDo you want to continue?",
                static_cast<int>(list.size()));
  if (!doc.Prompt().AskYesNo(question)) return false;

  CWaitCursor wait(doc.Prompt());
  RecordFrameUndo(doc);
  c3d.DeleteFrames(list);

  // Events on deleted frames go; later ones move down by the frames deleted
  // before them, their times by the same span.
  const int first = c3d.m_header.m_nFirstFrame;
  const double rate = c3d.m_header.m_fFrameRate;
  std::vector<CEvent> kept;
  for (CEvent& e : c3d.m_events) {
    const int index = e.m_nFrame - first;
    if (std::binary_search(list.begin(), list.end(), index)) continue;
    const int before = static_cast<int>(std::lower_bound(list.begin(), list.end(), index) - list.begin());
    e.m_nFrame -= before;
    if (before > 0 && rate > 0.0) e.m_fTime = static_cast<float>(e.m_fTime - before / rate);
    kept.push_back(e);
  }
  c3d.m_events.swap(kept);
  FinishFrames(doc, UNDO_DELETE_FRAMES);
  return true;
}

// ---- Copy and Paste ---------------------------------------------------------

void CopySegment(CEditorDoc& doc, const std::vector<int>& frames) {
  const bool point = PointSelected(doc);
  if (!point && !AnalogSelected(doc)) return;
  const CC3d& c3d = doc.m_c3d;
  const std::vector<int> list = ValidFrames(c3d, frames);
  if (list.empty()) {
    doc.Prompt().ShowMessage(kChooseFrames);
    return;
  }
  const int perFrame = point ? 4 : c3d.m_header.m_nSamplesPerFrame;
  const CSampleStore& store = point ? static_cast<const CSampleStore&>(c3d.m_points[doc.m_nSelItem])
                                    : static_cast<const CSampleStore&>(c3d.m_analogs[doc.m_nSelItem]);
  std::vector<float> values;
  try {
    values.reserve(list.size() * perFrame);
  } catch (const std::bad_alloc&) {
    doc.Prompt().ShowMessage(kCopyMemory);
    return;
  }
  for (int f : list)
    for (int k = 0; k < perFrame; ++k) {
      const size_t at = static_cast<size_t>(f) * perFrame + k;
      values.push_back(at < store.Size() ? store.Get(at) : 0.0f);
    }
  CopyBuffer& buffer = doc.Host().GetCopyBuffer();
  buffer.m_values.swap(values);
  buffer.m_nFrames = static_cast<int>(list.size());
  buffer.m_nValuesPerFrame = perFrame;
  buffer.m_fPointScale = point ? c3d.m_header.m_fScale : 0.0f;
  buffer.m_bRealPoints = c3d.IsReal();
  buffer.m_nKind = point ? COPY_POINT : COPY_ANALOG;
}

void PasteSegment(CEditorDoc& doc, const std::vector<int>& frames) {
  if (!doc.Host().EditMode()) return;
  const CopyBuffer& buffer = doc.Host().GetCopyBuffer();
  CC3d& c3d = doc.m_c3d;
  const bool point = buffer.m_nKind == COPY_POINT;
  if (point && !PointSelected(doc)) {
    doc.Prompt().ShowMessage(kChoosePoint);
    return;
  }
  if (buffer.m_nKind == COPY_ANALOG) {
    if (!AnalogSelected(doc)) {
      doc.Prompt().ShowMessage(kChooseAnalog);
      return;
    }
    if (buffer.m_nValuesPerFrame != c3d.m_header.m_nSamplesPerFrame) {
      doc.Prompt().ShowMessage(kRatiosDiffer);
      return;
    }
  } else if (!point) {
    return;
  }
  const std::vector<int> list = ValidFrames(c3d, frames);
  if (list.empty()) {
    doc.Prompt().ShowMessage(kSelectPasteFrame);
    return;
  }
  const int start = list.front();
  const int channel = doc.m_nSelItem;
  // The frames that exist from the start on are overwritten; none is added.
  const int count = std::min(buffer.m_nFrames, c3d.FrameCount() - start);
  if (!doc.RecordUndoValues(point, channel, start, count)) {
    doc.Prompt().ShowMessage(kMemory);
    return;
  }
  // Paste overwrites the residual words too: Undo must bring them back.
  if (point) doc.m_hUndoValues[0] = kUndoValuesPointWithResiduals;

  const int perFrame = buffer.m_nValuesPerFrame;
  CSampleStore& store = point ? static_cast<CSampleStore&>(c3d.m_points[channel])
                              : static_cast<CSampleStore&>(c3d.m_analogs[channel]);
  const CPointUnits units(buffer, c3d);
  for (int j = 0; j < count; ++j)
    for (int k = 0; k < perFrame; ++k) {
      const size_t at = static_cast<size_t>(start + j) * perFrame + k;
      const float value = buffer.m_values[static_cast<size_t>(j) * perFrame + k];
      if (at >= store.Size()) continue;
      if (point && k < 3)
        StoreHeld(store, at, units.Coordinate(value));
      else if (point)
        store.Set(at, value);  // the residual word, bits and all
      else
        StoreHeld(store, at, value);
      if (point && k == 3 && value >= 0.0f && units.m_bResidualsDiffer)
        c3d.SetResidual(channel, start + j, units.Residual(value));
    }
  doc.m_nUndoKind = UNDO_VALUES;
  doc.m_bRebuildList = true;
  doc.m_bDataChanged = true;
  doc.SetModifiedFlag(true);
  doc.UpdateAllViews();
}

// ---- Import -----------------------------------------------------------------

namespace {

std::string Trim(const std::string& s) {
  const size_t begin = s.find_first_not_of(" \t\r\n");
  if (begin == std::string::npos) return std::string();
  const size_t end = s.find_last_not_of(" \t\r\n");
  return s.substr(begin, end - begin + 1);
}

double FieldNumber(const std::string& field) { return field.empty() ? 0.0 : std::atof(field.c_str()); }

}  // namespace

CTextTable ParseClipboardText(const std::string& text) {
  CTextTable table;
  size_t pos = 0;
  while (pos <= text.size()) {
    size_t end = text.find('\n', pos);
    if (end == std::string::npos) end = text.size();
    std::string line = text.substr(pos, end - pos);
    pos = end + 1;
    if (!line.empty() && line.back() == '\r') line.pop_back();
    // A line of tabs is a row of empty fields (an invalid 3D sample); only
    // a line without any field is skipped.
    if (line.find('\t') == std::string::npos && Trim(line).empty()) continue;
    std::vector<std::string> fields;
    size_t start = 0;
    for (;;) {
      const size_t tab = line.find('\t', start);
      fields.push_back(Trim(line.substr(start, tab == std::string::npos ? std::string::npos : tab - start)));
      if (tab == std::string::npos) break;
      start = tab + 1;
    }
    if (table.m_nRows == 0) table.m_nColumns = static_cast<int>(fields.size());
    fields.resize(static_cast<size_t>(table.m_nColumns));
    table.m_fields.insert(table.m_fields.end(), fields.begin(), fields.end());
    ++table.m_nRows;
  }
  return table;
}

bool CanImportClipboard(const CEditorDoc& doc, bool clipboardHasText) {
  return doc.Host().EditMode() && clipboardHasText && (AnalogSelected(doc) || PointSelected(doc));
}

bool ImportClipboard(CEditorDoc& doc, const std::string& text, const std::vector<int>& frames) {
  const bool point = PointSelected(doc);
  if (!doc.Host().EditMode() || (!point && !AnalogSelected(doc))) return false;
  CC3d& c3d = doc.m_c3d;
  const CTextTable table = ParseClipboardText(text);
  if (table.m_nRows == 0 || table.m_nColumns == 0) return false;

  const std::vector<int> list = ValidFrames(c3d, frames);
  int start = 0;
  if (!list.empty()) {
    start = list.back();
  } else if (c3d.FrameCount() > 1) {
    doc.Prompt().ShowMessage(kSelectImportFrame);
    return false;
  }

  const int spf = c3d.m_header.m_nSamplesPerFrame;
  const bool oneColumn = table.m_nColumns == 1;
  long framesNeeded;
  if (point) {
    if (table.m_nColumns != 3) {
      doc.Prompt().ShowMessage(kThreeColumns);
      return false;
    }
    framesNeeded = table.m_nRows;
  } else {
    if (spf < 1 || (!oneColumn && table.m_nColumns != spf)) {
      doc.Prompt().ShowMessage(kSubFrames);
      return false;
    }
    // A single column fills the samples one after the other; a last frame
    // that is only partly given is still filled as far as it goes.
    framesNeeded = oneColumn ? (table.m_nRows + spf - 1) / spf : table.m_nRows;
  }

  CWaitCursor wait(doc.Prompt());
  const long missing = start + framesNeeded - c3d.FrameCount();
  if (missing > 0) {
    if (!FramesFit(c3d.m_header.m_nFirstFrame, c3d.FrameCount() + missing)) {
      doc.Prompt().ShowMessage(kTooManyFrames);
      return false;
    }
    const bool listToEnd = ListReachesLastFrame(doc);
    bool extended;
    try {
      extended = c3d.InsertBlankFrames(static_cast<int>(missing), -2);
    } catch (const std::bad_alloc&) {
      extended = false;
    }
    if (!extended) {
      doc.Prompt().ShowMessage(kMemory);
      return false;
    }
    c3d.UpdateTrialFields();
    FollowNewFrames(doc, listToEnd);
  }

  const int channel = doc.m_nSelItem;
  if (point) {
    CVideo& store = c3d.m_points[static_cast<size_t>(channel)];
    const double scale = c3d.m_header.m_fScale;
    const bool divide = !c3d.IsReal() && doc.m_bScale3D && scale != 0.0;
    for (int r = 0; r < table.m_nRows; ++r) {
      const size_t base = static_cast<size_t>(start + r) * 4;
      bool empty = true;
      for (int axis = 0; axis < 3; ++axis) {
        const std::string& field = table.Field(r, axis);
        empty = empty && field.empty();
        double value = FieldNumber(field);
        if (divide) value /= scale;
        StoreHeld(store, base + axis, value);
      }
      store.Set(base + 3, empty ? -1.0 : 0.0);
    }
  } else {
    CAnalog& store = c3d.m_analogs[static_cast<size_t>(channel)];
    float offset = 0.0f, scale = 1.0f, genScale = 1.0f;
    if (doc.m_bScaleAnalog) c3d.GetAnalogCalibration(channel, offset, scale, genScale);
    const double factor = static_cast<double>(scale) * genScale;
    const size_t begin = static_cast<size_t>(start) * spf;
    const size_t count = static_cast<size_t>(table.m_nRows) * table.m_nColumns;
    for (size_t i = 0; i < count && begin + i < store.Size(); ++i) {
      double value = FieldNumber(table.m_fields[i]);
      if (doc.m_bScaleAnalog && factor != 0.0) value = value / factor + offset;
      if (!c3d.IsReal()) value = std::floor(value + 0.5);
      StoreHeld(store, begin + i, value);
    }
  }

  // Nothing of this can be undone: the earlier record no longer fits either.
  doc.m_nUndoKind = UNDO_NONE;
  doc.m_bEventsChanged = true;
  doc.m_bDataChanged = true;
  doc.m_bRebuildList = true;
  doc.SetModifiedFlag(true);
  doc.UpdateAllViews();
  return true;
}
