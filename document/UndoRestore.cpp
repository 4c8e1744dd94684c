// The restores of the single-level undo: each one reads what it needs from
// the snapshot file (or the values block), checks that it fits the model, and
// only then changes the model.
#include "document/UndoRestore.h"

#include <algorithm>
#include <cmath>
#include <new>
#include <utility>

#include "document/UndoKind.h"

namespace {

using namespace undo_slots;

// Sets element 0 of a numeric parameter in its own type, when the parameter
// exists and has a value.
void SetFirstValue(CC3d& c3d, const char* group, const char* name, double value) {
  CParam* p = c3d.FindParam(group, name);
  if (p && !p->IsChar() && p->ElementCount() > 0) p->SetNumericValue(0, value);
}

// The sample stores of a snapshot, read into memory.
struct CSnapshotStores {
  std::vector<CSampleStore> m_analog;
  std::vector<CSampleStore> m_points;
};

// Reads every analog store (and, with `withPoints`, every point store) of the
// snapshot, in the snapshot's channel order.
bool ReadStores(const CUndoSnapshot& snap, const CSnapshotHeader& h, bool withPoints,
                CSnapshotStores& out) {
  const size_t bytes = snap.SampleBytes();
  const size_t analogSamples = static_cast<size_t>(h.m_nFrames) * h.m_nSamplesPerFrame;
  const size_t pointValues = static_cast<size_t>(h.m_nFrames) * 4;
  try {
    out.m_analog.assign(static_cast<size_t>(h.m_nAnalog), CSampleStore());
    out.m_points.assign(withPoints ? static_cast<size_t>(h.m_nPoints) : 0, CSampleStore());
  } catch (const std::bad_alloc&) {
    return false;
  }
  int64_t offset = CUndoSnapshot::kDataOffset;
  for (CSampleStore& store : out.m_analog) {
    if (!snap.ReadSamples(offset, analogSamples, store)) return false;
    offset += static_cast<int64_t>(analogSamples * bytes);
  }
  for (CSampleStore& store : out.m_points) {
    if (!snap.ReadSamples(offset, pointValues, store)) return false;
    offset += static_cast<int64_t>(pointValues * bytes);
  }
  return true;
}

// Reads the header and checks what every restore needs: a valid snapshot in
// the model's storage kind.
bool ReadHeaderFor(const CC3d& c3d, const CUndoSnapshot& snap, CSnapshotHeader& h) {
  if (!snap.ReadHeader(h)) return false;
  return snap.IsReal() == c3d.IsReal();
}

// The frame range can only hold frame numbers up to 65535.
bool FramesFit(const CC3d& c3d, int frames) {
  return frames >= 1 && static_cast<long>(c3d.m_header.m_nFirstFrame) + frames - 1 <= 0xffff;
}

void SetLastFrameFromCount(CC3d& c3d, int frames) {
  c3d.m_header.m_nLastFrame = static_cast<uint16_t>(c3d.m_header.m_nFirstFrame + frames - 1);
}

void SyncAnalogCounts(CC3d& c3d) {
  c3d.m_header.m_nAnalogChannels = static_cast<uint16_t>(c3d.AnalogCount());
  c3d.m_header.m_nAnalogPerFrame =
      static_cast<uint16_t>(c3d.AnalogCount() * c3d.m_header.m_nSamplesPerFrame);
}

void SyncPointCount(CC3d& c3d) { c3d.m_header.m_nPoints = static_cast<uint16_t>(c3d.PointCount()); }

void CommitAnalog(CC3d& c3d, CSnapshotStores& stores) {
  for (size_t i = 0; i < stores.m_analog.size(); ++i)
    static_cast<CSampleStore&>(c3d.m_analogs[i]) = std::move(stores.m_analog[i]);
}

void CommitPoints(CC3d& c3d, CSnapshotStores& stores) {
  for (size_t i = 0; i < stores.m_points.size(); ++i)
    static_cast<CSampleStore&>(c3d.m_points[i]) = std::move(stores.m_points[i]);
}

void RestoreSlots(CC3d& c3d, const SavedParams& saved, const std::vector<CParamName>& names) {
  for (size_t slot = 0; slot < names.size(); ++slot) RestoreSavedParam(c3d, saved, slot, names[slot]);
}

}  // namespace

bool UndoKindUsesSnapshot(int kind) {
  // New Analog Channel and New 3D Marker write a snapshot too, but removing
  // the new channel again needs nothing from it.
  if (kind == UNDO_NEW_ANALOG || kind == UNDO_NEW_POINT) return false;
  return (kind >= UNDO_DELETE_FRAMES && kind <= UNDO_READ_DST) ||
         (kind >= UNDO_ZERO_FP && kind <= UNDO_ZERO_ANALOG);
}

const std::vector<CParamName>& AnalogSlotNames() {
  static const std::vector<CParamName> names = {
      {"ANALOG", "LABELS"},  {"ANALOG", "DESCRIPTIONS"},      {"ANALOG", "UNITS"},
      {"ANALOG", "SCALE"},   {"ANALOG", "OFFSET"},            {"ANALOG", "USED"},
      {"FORCE_PLATFORM", "CHANNEL"}, {"EMG", "GAIN"},         {"EMG", "NORMALIZATION"},
      {"EMG", "TYPE"},       {"EMG", "SEL"},                  {"EMG", "SIDE"},
      {"ANALOG", "GAIN"},
  };
  return names;
}

const std::vector<CParamName>& PointSlotNames() {
  static const std::vector<CParamName> names = {
      {"POINT", "LABELS"}, {"POINT", "DESCRIPTIONS"}, {"POINT", "USED"}};
  return names;
}

const std::vector<CParamName>& RateSlotNames() {
  static const std::vector<CParamName> names = {{"POINT", "RATE"},
                                                {"POINT", "FRAMES"},
                                                {"ANALOG", "RATE"},
                                                {"TRIAL", "ACTUAL_START_FIELD"},
                                                {"TRIAL", "ACTUAL_END_FIELD"}};
  return names;
}

const std::vector<CParamName>& MergeCountSlotNames() {
  static const std::vector<CParamName> names = {{"POINT", "FRAMES"}, {"ANALOG", "USED"}, {"POINT", "USED"}};
  return names;
}

const std::vector<CParamName>& MergeSlotNames() {
  static const std::vector<CParamName> names = {
      {"ANALOG", "LABELS"}, {"ANALOG", "DESCRIPTIONS"}, {"ANALOG", "SCALE"},
      {"ANALOG", "OFFSET"}, {"ANALOG", "UNITS"},        {"POINT", "LABELS"},
      {"POINT", "DESCRIPTIONS"}};
  return names;
}

const std::vector<CParamName>& FrameSlotNames() {
  static const std::vector<CParamName> names = {
      {"EVENT", "TIMES"}, {"POINT", "FRAMES"}, {"TRIAL", "ACTUAL_START_FIELD"}, {"TRIAL", "ACTUAL_END_FIELD"}};
  return names;
}

void RestoreSavedParam(CC3d& c3d, const SavedParams& saved, size_t slot, const CParamName& name) {
  if (slot >= saved.size() || !saved[slot]) return;
  CParam* p = c3d.FindParam(name.m_szGroup, name.m_szName);
  if (p) CopyParam(*saved[slot], *p);
}

bool RestoreFrames(CC3d& c3d, const CUndoSnapshot& snap, const SavedParams& saved, int kind) {
  CSnapshotHeader h;
  if (!ReadHeaderFor(c3d, snap, h)) return false;
  // Frame commands change only the number of frames.
  if (h.m_nAnalog != c3d.AnalogCount() || h.m_nPoints != c3d.PointCount() ||
      h.m_nSamplesPerFrame != c3d.m_header.m_nSamplesPerFrame || !FramesFit(c3d, h.m_nFrames))
    return false;
  CSnapshotStores stores;
  if (!ReadStores(snap, h, true, stores)) return false;

  CommitAnalog(c3d, stores);
  CommitPoints(c3d, stores);
  SetLastFrameFromCount(c3d, h.m_nFrames);
  SetFirstValue(c3d, "POINT", "FRAMES", h.m_nFrames);
  if (!saved.empty() && saved[0]) {
    if (CParam* times = c3d.FindParam("EVENT", "TIMES")) CopyParam(*saved[0], *times);
  }
  if (kind == UNDO_DELETE_FRAMES) {
    // Deleting frames may have removed events: the working list holds them all.
    c3d.m_events = c3d.m_workEvents;
  } else {
    size_t n = std::min(c3d.m_events.size(), c3d.m_workEvents.size());
    for (size_t i = 0; i < n; ++i) c3d.m_events[i] = c3d.m_workEvents[i];
  }
  c3d.UpdateTrialFields();
  const std::vector<CParamName>& names = FrameSlotNames();
  for (size_t slot = FRAME_POINT_FRAMES; slot < names.size(); ++slot)
    RestoreSavedParam(c3d, saved, slot, names[slot]);
  return true;
}

bool RestoreMerge(CC3d& c3d, const CUndoSnapshot& snap, const SavedParams& saved) {
  CSnapshotHeader h;
  if (!ReadHeaderFor(c3d, snap, h)) return false;
  // A merge only appends channels and points and may lengthen the stores.
  if (h.m_nAnalog > c3d.AnalogCount() || h.m_nPoints > c3d.PointCount() ||
      h.m_nSamplesPerFrame != c3d.m_header.m_nSamplesPerFrame || !FramesFit(c3d, h.m_nFrames))
    return false;
  CSnapshotStores stores;
  if (!ReadStores(snap, h, true, stores)) return false;

  c3d.m_analogs.erase(c3d.m_analogs.begin() + h.m_nAnalog, c3d.m_analogs.end());
  c3d.m_points.erase(c3d.m_points.begin() + h.m_nPoints, c3d.m_points.end());
  CommitAnalog(c3d, stores);
  CommitPoints(c3d, stores);
  SyncAnalogCounts(c3d);
  SyncPointCount(c3d);
  SetLastFrameFromCount(c3d, h.m_nFrames);
  SetFirstValue(c3d, "POINT", "FRAMES", h.m_nFrames);
  SetFirstValue(c3d, "ANALOG", "USED", h.m_nAnalog);
  SetFirstValue(c3d, "POINT", "USED", h.m_nPoints);
  RestoreSlots(c3d, saved, MergeSlotNames());
  const std::vector<CParamName>& counts = MergeCountSlotNames();
  for (size_t i = 0; i < counts.size(); ++i) RestoreSavedParam(c3d, saved, MERGE_POINT_FRAMES + i, counts[i]);
  return true;
}

bool RestoreRates(CC3d& c3d, const CUndoSnapshot& snap, const SavedParams& saved) {
  CSnapshotHeader h;
  if (!ReadHeaderFor(c3d, snap, h)) return false;
  if (h.m_nAnalog != c3d.AnalogCount() || h.m_nPoints != c3d.PointCount() ||
      !FramesFit(c3d, h.m_nFrames))
    return false;
  CSnapshotStores stores;
  if (!ReadStores(snap, h, true, stores)) return false;

  c3d.m_header.m_nSamplesPerFrame = static_cast<uint16_t>(h.m_nSamplesPerFrame);
  c3d.m_header.m_fFrameRate = h.m_fRate;
  CommitAnalog(c3d, stores);
  CommitPoints(c3d, stores);
  SyncAnalogCounts(c3d);
  SetLastFrameFromCount(c3d, h.m_nFrames);
  SetFirstValue(c3d, "POINT", "RATE", h.m_fRate);
  SetFirstValue(c3d, "POINT", "FRAMES", h.m_nFrames);
  SetFirstValue(c3d, "ANALOG", "RATE", static_cast<double>(h.m_nSamplesPerFrame) * h.m_fRate);
  c3d.EventFramesFromTimes();
  c3d.UpdateTrialFields();
  RestoreSlots(c3d, saved, RateSlotNames());
  return true;
}

bool RestoreSamples(CC3d& c3d, const CUndoSnapshot& snap) {
  CSnapshotHeader h;
  if (!ReadHeaderFor(c3d, snap, h)) return false;
  if (h.m_nAnalog != c3d.AnalogCount() || h.m_nPoints != c3d.PointCount() ||
      h.m_nFrames != c3d.FrameCount() || h.m_nSamplesPerFrame != c3d.m_header.m_nSamplesPerFrame)
    return false;
  CSnapshotStores stores;
  if (!ReadStores(snap, h, true, stores)) return false;
  CommitAnalog(c3d, stores);
  CommitPoints(c3d, stores);
  return true;
}

bool RestoreAnalogStores(CC3d& c3d, const CUndoSnapshot& snap) {
  CSnapshotHeader h;
  if (!ReadHeaderFor(c3d, snap, h)) return false;
  if (h.m_nAnalog != c3d.AnalogCount() || h.m_nFrames != c3d.FrameCount() ||
      h.m_nSamplesPerFrame != c3d.m_header.m_nSamplesPerFrame)
    return false;
  CSnapshotStores stores;
  if (!ReadStores(snap, h, false, stores)) return false;
  CommitAnalog(c3d, stores);
  return true;
}

bool ReinsertAnalogChannel(CC3d& c3d, const CUndoSnapshot& snap, int index,
                           const SavedParams& saved) {
  CSnapshotHeader h;
  if (!ReadHeaderFor(c3d, snap, h)) return false;
  if (index < 0 || index > c3d.AnalogCount() || h.m_nAnalog != c3d.AnalogCount() + 1 ||
      h.m_nFrames != c3d.FrameCount() || h.m_nSamplesPerFrame != c3d.m_header.m_nSamplesPerFrame)
    return false;
  CSnapshotStores stores;
  if (!ReadStores(snap, h, false, stores)) return false;
  try {
    c3d.m_analogs.insert(c3d.m_analogs.begin() + index, CAnalog());
  } catch (const std::bad_alloc&) {
    return false;
  }
  CommitAnalog(c3d, stores);
  SyncAnalogCounts(c3d);
  RestoreSlots(c3d, saved, AnalogSlotNames());
  return true;
}

bool ReinsertPoint(CC3d& c3d, const CUndoSnapshot& snap, int index, const SavedParams& saved) {
  CSnapshotHeader h;
  if (!ReadHeaderFor(c3d, snap, h)) return false;
  if (index < 0 || index > c3d.PointCount() || h.m_nPoints != c3d.PointCount() + 1 ||
      h.m_nAnalog != c3d.AnalogCount() || h.m_nFrames != c3d.FrameCount() ||
      h.m_nSamplesPerFrame != c3d.m_header.m_nSamplesPerFrame)
    return false;
  CSnapshotStores stores;
  if (!ReadStores(snap, h, true, stores)) return false;
  try {
    c3d.m_points.insert(c3d.m_points.begin() + index, CVideo());
  } catch (const std::bad_alloc&) {
    return false;
  }
  CommitAnalog(c3d, stores);
  CommitPoints(c3d, stores);
  SyncPointCount(c3d);
  RestoreSlots(c3d, saved, PointSlotNames());
  return true;
}

bool RemoveAnalogChannel(CC3d& c3d, const CUndoSnapshot& snap, int index,
                         const SavedParams& saved) {
  if (index < 0 || index >= c3d.AnalogCount()) return false;
  c3d.m_analogs.erase(c3d.m_analogs.begin() + index);
  if (c3d.m_analogs.empty()) {
    // The channel was the only one: give back the ratio the file had before.
    CSnapshotHeader h;
    bool known = snap.ReadHeader(h) && h.m_nAnalog == 0;
    c3d.m_header.m_nSamplesPerFrame = known ? static_cast<uint16_t>(h.m_nSamplesPerFrame) : 0;
  }
  SyncAnalogCounts(c3d);
  RestoreSlots(c3d, saved, AnalogSlotNames());
  return true;
}

bool RemovePoint(CC3d& c3d, int index, const SavedParams& saved) {
  if (index < 0 || index >= c3d.PointCount()) return false;
  c3d.m_points.erase(c3d.m_points.begin() + index);
  SyncPointCount(c3d);
  RestoreSlots(c3d, saved, PointSlotNames());
  return true;
}

bool RestoreValues(CC3d& c3d, const std::vector<float>& block) {
  if (block.size() < 4) return false;
  const bool point = block[0] != 0.0f;
  const bool residuals = block[0] == kUndoValuesPointWithResiduals;
  const float fields[3] = {block[1], block[2], block[3]};
  for (float f : fields)
    if (!std::isfinite(f) || f < 0.0f || f > 1.0e7f) return false;
  const int channel = static_cast<int>(block[1]);
  const int first = static_cast<int>(block[2]);
  const int frames = static_cast<int>(block[3]);
  const int perFrame = point ? 4 : c3d.m_header.m_nSamplesPerFrame;
  if (channel >= (point ? c3d.PointCount() : c3d.AnalogCount())) return false;
  if (block.size() < 4 + static_cast<size_t>(frames) * perFrame) return false;

  CSampleStore& store = point ? static_cast<CSampleStore&>(c3d.m_points[channel])
                              : static_cast<CSampleStore&>(c3d.m_analogs[channel]);
  const int fileFrames = c3d.FrameCount();
  for (int j = 0; j < frames && first + j < fileFrames; ++j) {
    const float* saved = &block[4 + static_cast<size_t>(j) * perFrame];
    const size_t base = static_cast<size_t>(first + j) * perFrame;
    // A 3D point keeps its current residual word (only X, Y and Z go back)
    // unless the command overwrote it.
    const int count = point && !residuals ? 3 : perFrame;
    for (int k = 0; k < count; ++k) {
      if (base + k < store.Size()) store.Set(base + k, saved[k]);
    }
  }
  return true;
}

bool CaptureValues(const CC3d& c3d, bool point, int channel, int first, int frames,
                   std::vector<float>& block) {
  if (channel < 0 || channel >= (point ? c3d.PointCount() : c3d.AnalogCount())) return false;
  const int fileFrames = c3d.FrameCount();
  if (first < 0) first = 0;
  if (first > fileFrames) first = fileFrames;
  if (frames < 0) frames = 0;
  if (frames > fileFrames - first) frames = fileFrames - first;
  const int perFrame = point ? 4 : c3d.m_header.m_nSamplesPerFrame;
  const CSampleStore& store = point ? static_cast<const CSampleStore&>(c3d.m_points[channel])
                                    : static_cast<const CSampleStore&>(c3d.m_analogs[channel]);
  try {
    block.assign(4 + static_cast<size_t>(frames) * perFrame, 0.0f);
  } catch (const std::bad_alloc&) {
    return false;
  }
  block[0] = point ? 1.0f : 0.0f;
  block[1] = static_cast<float>(channel);
  block[2] = static_cast<float>(first);
  block[3] = static_cast<float>(frames);
  const size_t base = static_cast<size_t>(first) * perFrame;
  for (size_t i = 0; i < static_cast<size_t>(frames) * perFrame; ++i)
    block[4 + i] = base + i < store.Size() ? store.Get(base + i) : 0.0f;
  return true;
}
