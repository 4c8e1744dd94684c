#include "document/ChannelCommands.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <new>
#include <vector>

#include "document/EditDialogs.h"
#include "document/EditorDoc.h"
#include "processing/Filtering.h"
#include "processing/WaveFill.h"

namespace {

const char kForcePlateQuestion[] =
    "The channel that you have selected for deletion is a Force Plate channel!\n"
    "The entry for this channel will be set to 0 in the FORCE_PLATFORM:CHANNEL parameter.\n"
    "Do you want to continue?";
const char kMemory[] = "Not enough memory to perform operation";
const char kNoRoomForChannel[] = "No more analog channels can be added to this file";

// Inserts `text`, cut to the string length, as string `at` of a character
// list (two dimensions); the string count grows by one. A list of length 0
// (an empty list, or one of empty strings) first takes the text's length,
// so that the new channel's name is not lost.
void InsertString(CParam* p, int at, const std::string& text) {
  if (!p || !p->IsChar() || p->m_dims.size() != 2 || p->m_dims[1] == 255) return;
  if (p->m_dims[0] == 0) {
    // Within what one parameter record can carry (about 32 KB).
    const size_t fits = 32000 / (static_cast<size_t>(p->m_dims[1]) + 1);
    p->m_dims[0] = static_cast<uint8_t>(std::min({text.size(), fits, size_t{255}}));
  }
  const size_t width = p->m_dims[0];
  const size_t pos = std::min(static_cast<size_t>(std::max(at, 0)), p->m_strings.size());
  p->m_strings.insert(p->m_strings.begin() + static_cast<long>(pos), text.substr(0, width));
  ++p->m_dims[1];
}

// A numeric list (one dimension) gets value `value` at `at`: the list first
// grows to at least `count` values, the added ones `fill`, then the values
// from `at` on move up by one place (the last one drops off).
void InsertListValue(CParam* p, int at, int count, double fill, double value) {
  if (!p || p->IsChar() || p->m_dims.size() != 1) return;
  const int size = std::max(p->ElementCount(), count);
  if (size > 255 || at < 0 || at >= size) return;
  const int old = p->ElementCount();
  p->m_dims[0] = static_cast<uint8_t>(size);
  p->m_cells.resize(static_cast<size_t>(size), 0u);
  for (int i = old; i < size; ++i) p->SetNumericValue(i, fill);
  for (int i = size - 1; i > at; --i) p->m_cells[static_cast<size_t>(i)] = p->m_cells[static_cast<size_t>(i - 1)];
  p->SetNumericValue(at, value);
}

// A count (ANALOG:USED, POINT:USED) := `count`. It is one number: without
// dimensions, or (as some writers store it) a list of one; left alone, the
// file would promise readers channels it does not hold.
void SetCount(CParam* p, int count) {
  if (p && !p->IsChar() && p->ElementCount() == 1) p->SetNumericValue(0, count);
}

bool AnalogSelected(const CEditorDoc& doc) {
  return doc.m_nSelNode == -2 && doc.m_nSelItem >= 0 && doc.m_nSelItem < doc.m_c3d.AnalogCount();
}

bool PointSelected(const CEditorDoc& doc) {
  return doc.m_nSelNode == -3 && doc.m_nSelItem >= 0 && doc.m_nSelItem < doc.m_c3d.PointCount();
}

// The FORCE_PLATFORM:CHANNEL entries that name analog channel `channel`:
// the one the plates' layout finds, and in a table any other entry of that
// value (a plate of a type without a known channel count, a plate past
// FORCE_PLATFORM:USED, a channel two plates share). Left in place, such an
// entry would name the neighbour once the channels behind move down.
std::vector<int> ForcePlateEntries(const CC3d& c3d, int channel) {
  std::vector<int> entries;
  const int found = c3d.FindForcePlateChannel(channel);
  if (found >= 0) entries.push_back(found);
  const CParam* fp = c3d.FindParam("FORCE_PLATFORM", "CHANNEL");
  if (fp && !fp->IsChar() && fp->DimensionCount() > 1) {
    for (int e = 0; e < fp->ElementCount(); ++e)
      if (e != found && fp->NumericValue(e, ValueSign::Signed) == channel + 1) entries.push_back(e);
  }
  return entries;
}

void FinishChannels(CEditorDoc& doc, int undoKind, int index) {
  doc.m_nUndoKind = undoKind;
  doc.m_nUndoIndex = index;
  doc.m_bRebuildTree = true;
  doc.m_bRebuildList = true;
  doc.m_bDataChanged = true;
  doc.SetModifiedFlag(true);
  doc.UpdateAllViews();
}

}  // namespace

// ---- Requests ---------------------------------------------------------------

const std::vector<std::string>& CAddAnalogRequest::FillTypeNames() {
  static const std::vector<std::string> names = {"Value", "Sine Wave", "Square Wave"};
  return names;
}

bool CAddAnalogRequest::Ok(CUserPrompt&) const {
  if (m_strName.empty()) return false;
  return !WaveChosen() || (m_fFrequency > 0.0f && m_fMin < m_fMax);
}

const std::vector<std::string>& CAdd3DMarkerRequest::FillTypeNames() {
  static const std::vector<std::string> names = {"Value (Scaled)", "Value (Un Scaled)"};
  return names;
}

bool CAdd3DMarkerRequest::Ok(CUserPrompt&) const { return !m_strName.empty(); }

// ---- Model steps ------------------------------------------------------------

bool CanInsertAnalogChannel(const CC3d& c3d) {
  const long channels = c3d.AnalogCount();
  const long spf = std::max<long>(c3d.m_header.m_nSamplesPerFrame, 1);
  return channels < 255 && (channels + 1) * spf <= 0xffff;
}

bool InsertAnalogChannel(CC3d& c3d, const CAddAnalogRequest& r, int position) {
  const int channels = c3d.AnalogCount();
  if (position < 0 || position > channels || !CanInsertAnalogChannel(c3d)) return false;
  // A file without analog samples cannot hold a channel: one sample per
  // frame, or the channel would not be written at all.
  if (c3d.m_header.m_nSamplesPerFrame == 0) c3d.m_header.m_nSamplesPerFrame = 1;
  const int spf = c3d.m_header.m_nSamplesPerFrame;
  const size_t samples = static_cast<size_t>(std::max(c3d.FrameCount(), 0)) * spf;

  CAnalog channel;
  try {
    std::vector<float> fill(samples, r.m_fMin);
    const float rate = static_cast<float>(spf) * c3d.m_header.m_fFrameRate;
    if (r.m_nFillType == CAddAnalogRequest::SINE_WAVE)
      FillSineWave(fill.data(), static_cast<int>(samples), rate, r.m_fMin, r.m_fMax, r.m_fFrequency);
    else if (r.m_nFillType == CAddAnalogRequest::SQUARE_WAVE)
      FillSquareWave(fill.data(), static_cast<int>(samples), rate, r.m_fMin, r.m_fMax, r.m_fFrequency);
    if (!c3d.IsReal())
      for (float& v : fill) v = SaturateTo16(v);
    channel.Allocate(samples, c3d.IsReal());
    for (size_t i = 0; i < samples; ++i) channel.Set(i, fill[i]);
    c3d.m_analogs.insert(c3d.m_analogs.begin() + position, std::move(channel));
  } catch (const std::bad_alloc&) {
    return false;
  }
  const int count = channels + 1;
  c3d.m_header.m_nAnalogChannels = static_cast<uint16_t>(count);
  c3d.m_header.m_nAnalogPerFrame = static_cast<uint16_t>(count * spf);

  InsertString(c3d.FindParam("ANALOG", "LABELS"), position, r.m_strName);
  InsertString(c3d.FindParam("ANALOG", "DESCRIPTIONS"), position, r.m_strDescription);
  InsertString(c3d.FindParam("ANALOG", "UNITS"), position, r.m_strUnits);
  CParam* offset = c3d.FindParam("ANALOG", "OFFSET");
  const double offsetFill = offset && offset->m_nType == PARAM_BYTE ? 0.0 : 2047.0;
  InsertListValue(c3d.FindParam("ANALOG", "SCALE"), position, count, 1.0, r.m_fScale);
  InsertListValue(offset, position, count, offsetFill, r.m_fOffset);
  SetCount(c3d.FindParam("ANALOG", "USED"), count);

  // Force-plate entries that name channels behind the new one follow them.
  CParam* fp = c3d.FindParam("FORCE_PLATFORM", "CHANNEL");
  if (fp && !fp->IsChar() && fp->DimensionCount() >= 2) {
    for (int e = 0; e < fp->ElementCount(); ++e) {
      const double value = fp->NumericValue(e, ValueSign::Signed);
      if (value >= position + 1) fp->SetNumericValue(e, value + 1);
    }
  }
  for (const char* name : {"GAIN", "NORMALIZATION"}) {
    CParam* p = c3d.FindParam("EMG", name);
    const double none = p && p->m_nType == PARAM_BYTE ? 0.0 : -1.0;
    InsertListValue(p, position, count, none, none);
  }
  // ANALOG:GAIN holds a gain code per channel; 0 says the gain is unknown.
  InsertListValue(c3d.FindParam("ANALOG", "GAIN"), position, count, 0.0, 0.0);
  InsertListValue(c3d.FindParam("EMG", "TYPE"), position, count, 0.0, 0.0);
  InsertListValue(c3d.FindParam("EMG", "SEL"), position, count, 0.0, 0.0);
  InsertString(c3d.FindParam("EMG", "SIDE"), position, "N");
  return true;
}

bool InsertPoint(CC3d& c3d, const CAdd3DMarkerRequest& r, int position) {
  const int points = c3d.PointCount();
  if (position < 0 || position > points || points >= 65535) return false;
  const int frames = std::max(c3d.FrameCount(), 0);
  const double s = c3d.m_header.m_fScale;
  double xyz[3] = {r.m_fX, r.m_fY, r.m_fZ};
  for (double& v : xyz) {
    if (r.m_nFillType == CAdd3DMarkerRequest::SCALED) {
      // Real units: integer samples count in units of the scale.
      if (!c3d.IsReal() && s != 0.0) v = std::trunc(v) / s;
    } else if (c3d.IsReal()) {
      v *= std::fabs(s);
    }
  }
  if (!c3d.IsReal())
    for (double& v : xyz) v = SaturateTo16(v);
  CVideo point;
  try {
    point.Allocate(static_cast<size_t>(frames) * 4, c3d.IsReal());
    for (int f = 0; f < frames; ++f)
      for (int axis = 0; axis < 3; ++axis) point.Set(static_cast<size_t>(f) * 4 + axis, xyz[axis]);
    c3d.m_points.insert(c3d.m_points.begin() + position, std::move(point));
  } catch (const std::bad_alloc&) {
    return false;
  }
  c3d.m_header.m_nPoints = static_cast<uint16_t>(points + 1);
  InsertString(c3d.FindParam("POINT", "LABELS"), position, r.m_strName);
  InsertString(c3d.FindParam("POINT", "DESCRIPTIONS"), position, r.m_strDescription);
  SetCount(c3d.FindParam("POINT", "USED"), points + 1);
  return true;
}

void DeleteAnalogChannelWithPlates(CC3d& c3d, int channel, SavedParams* saved) {
  if (channel < 0 || channel >= c3d.AnalogCount()) return;
  const std::vector<int> plateEntries = ForcePlateEntries(c3d, channel);
  c3d.DeleteAnalogChannel(channel, saved, saved == nullptr);
  for (int entry : plateEntries) c3d.ClearForcePlateChannel(entry);
}

// ---- Commands ---------------------------------------------------------------

void OnNewAnalogChannel(CEditorDoc& doc) {
  if (!doc.Host().EditMode()) return;
  if (!CanInsertAnalogChannel(doc.m_c3d)) {
    doc.Prompt().ShowMessage(kNoRoomForChannel);
    return;
  }
  CAddAnalogRequest request;
  if (!doc.Host().EditDialogs().RunAddAnalog(request)) return;
  CC3d& c3d = doc.m_c3d;
  const int count = c3d.AnalogCount();
  const int position = AnalogSelected(doc) ? std::min(doc.m_nSelItem, count) : count;

  CWaitCursor wait(doc.Prompt());
  doc.SaveUndoSnapshot();
  doc.SaveParameterCopies(AnalogSlotNames());
  if (!InsertAnalogChannel(c3d, request, position)) {
    // The snapshot and the saved parameters no longer fit the earlier record.
    doc.m_nUndoKind = UNDO_NONE;
    doc.Prompt().ShowMessage(kMemory);
    return;
  }
  FinishChannels(doc, UNDO_NEW_ANALOG, position);
}

void OnNewPoint(CEditorDoc& doc) {
  if (!doc.Host().EditMode()) return;
  CAdd3DMarkerRequest request;
  if (!doc.Host().EditDialogs().RunAdd3DMarker(request)) return;
  CC3d& c3d = doc.m_c3d;
  const int count = c3d.PointCount();
  const int position = PointSelected(doc) ? std::min(doc.m_nSelItem, count) : count;

  CWaitCursor wait(doc.Prompt());
  doc.SaveUndoSnapshot();
  doc.SaveParameterCopies(PointSlotNames());
  if (!InsertPoint(c3d, request, position)) {
    doc.m_nUndoKind = UNDO_NONE;
    doc.Prompt().ShowMessage(kMemory);
    return;
  }
  FinishChannels(doc, UNDO_NEW_POINT, position);
}

void DeleteSelectedChannel(CEditorDoc& doc) {
  if (!doc.Host().EditMode()) return;
  const bool analog = AnalogSelected(doc);
  if (!analog && !PointSelected(doc)) return;
  CC3d& c3d = doc.m_c3d;
  const int channel = doc.m_nSelItem;
  char question[96];
  std::snprintf(question, sizeof question, "You are going to delete Channel %d .\nDo you want to continue?",
                channel + 1);
  if (!doc.Prompt().AskYesNo(question)) return;
  if (analog && !ForcePlateEntries(c3d, channel).empty() && !doc.Prompt().AskYesNo(kForcePlateQuestion)) return;

  CWaitCursor wait(doc.Prompt());
  doc.SaveUndoSnapshot();
  doc.DiscardSavedParams();
  int count;
  if (analog) {
    DeleteAnalogChannelWithPlates(c3d, channel, &doc.m_pSavedParams);
    count = c3d.AnalogCount();
  } else {
    c3d.DeletePoint(channel, &doc.m_pSavedParams, false);
    count = c3d.PointCount();
  }
  if (doc.m_nSelItem >= count) doc.m_nSelItem = count - 1;
  FinishChannels(doc, analog ? UNDO_DELETE_ANALOG : UNDO_DELETE_POINT, channel);
}
