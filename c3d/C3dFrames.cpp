// Inserting and deleting frames, deleting a 3D point or an analog channel,
// together with the parameters indexed by frame, point or channel, so that
// the parameter section always describes the data it goes with.
#include <algorithm>
#include <functional>

#include "c3d/C3d.h"

namespace {

constexpr int kMaxFrameNumber = 65535;

// Makes room for `count` frames of `perFrame` values at frame `at` and fills
// them from `value(i)`, i counting the new values from 0. Integer stores
// take each value truncated to 16 bits; real stores keep it as it is.
void InsertIntoStore(CSampleStore& store, size_t at, size_t perFrame, size_t count,
                     const std::function<double(size_t)>& value) {
  const size_t old = store.Size();
  const size_t pos = std::min(at * perFrame, old);
  const size_t added = count * perFrame;
  if (added == 0) return;
  store.Resize(old + added);
  if (store.IsReal()) {
    auto& v = store.RealVector();
    std::move_backward(v.begin() + static_cast<ptrdiff_t>(pos),
                       v.begin() + static_cast<ptrdiff_t>(old), v.end());
  } else {
    auto& v = store.IntVector();
    std::move_backward(v.begin() + static_cast<ptrdiff_t>(pos),
                       v.begin() + static_cast<ptrdiff_t>(old), v.end());
  }
  for (size_t i = 0; i < added; ++i) store.Set(pos + i, value(i));
}

// Keeps the frames whose flag is false, closing up in order.
template <typename T>
void DropFrames(SampleVector<T>& values, size_t perFrame, const std::vector<bool>& drop) {
  size_t out = 0;
  const size_t frames = perFrame ? values.size() / perFrame : 0;
  for (size_t f = 0; f < frames; ++f) {
    if (f < drop.size() && drop[f]) continue;
    for (size_t k = 0; k < perFrame; ++k) values[out++] = values[f * perFrame + k];
  }
  // Values past the last whole frame (a short store) are not frames; drop them.
  values.resize(out);
}

void DropFramesFromStore(CSampleStore& store, size_t perFrame, const std::vector<bool>& drop) {
  if (store.IsReal())
    DropFrames(store.RealVector(), perFrame, drop);
  else
    DropFrames(store.IntVector(), perFrame, drop);
}

void SetFrameCountParam(CC3d& c3d, int frames) {
  CParam* p = c3d.FindParam("Point", "Frames");
  if (p && !p->IsChar() && p->ElementCount() > 0) p->SetNumericValue(0, frames);
}

// Copies the parameter into the slot when it exists; the slot is emptied
// otherwise so that an earlier copy cannot be restored by mistake.
void SaveParam(const CC3d& c3d, SavedParams* saved, size_t slot, const char* group,
               const char* name) {
  if (!saved || slot >= saved->size()) return;
  const CParam* p = c3d.FindParam(group, name);
  if (p) {
    CParam copy;
    CopyParam(*p, copy);
    (*saved)[slot] = std::move(copy);
  } else {
    (*saved)[slot].reset();
  }
}

void RemoveParamElement(CC3d& c3d, const char* group, const char* name, int index) {
  if (CParam* p = c3d.FindParam(group, name)) p->RemoveElement(index);
}

// A count parameter (POINT:USED, ANALOG:USED) follows the number of stores.
// The count is one number: without dimensions, or (as some writers store
// it) a list of one.
void SetUsedCount(CC3d& c3d, const char* group, int count) {
  CParam* p = c3d.FindParam(group, "USED");
  if (p && !p->IsChar() && p->ElementCount() == 1)
    p->SetNumericValue(0, count);
}

// Frame index before which new frames go, or -1 for a position that names
// no frame.
int InsertionIndex(int position, int frames) {
  if (position == -2) return frames;
  if (position == -1) return 0;
  if (position >= 0 && position < frames) return position + 1;
  return -1;
}

// The common part of InsertFrames and InsertBlankFrames.
bool InsertFramesWith(CC3d& c3d, int count, int position,
                      const std::function<double(int channel, size_t i)>& analog,
                      const std::function<double(int axis, size_t frame)>& coordinate,
                      double residualWord) {
  const int frames = std::max(c3d.FrameCount(), 0);
  const int at = InsertionIndex(position, frames);
  if (count < 1 || at < 0) return false;
  const int newFrames = frames + count;
  // Frame numbers are 16-bit: the new last frame must still be one.
  if (static_cast<int>(c3d.m_header.m_nFirstFrame) + newFrames - 1 > kMaxFrameNumber) return false;

  const size_t spf = c3d.m_header.m_nSamplesPerFrame;
  for (int c = 0; c < c3d.AnalogCount(); ++c) {
    InsertIntoStore(c3d.m_analogs[static_cast<size_t>(c)], static_cast<size_t>(at), spf,
                    static_cast<size_t>(count), [&](size_t i) { return analog(c, i); });
  }
  for (CVideo& point : c3d.m_points) {
    InsertIntoStore(point, static_cast<size_t>(at), 4, static_cast<size_t>(count), [&](size_t i) {
      size_t axis = i % 4;
      return axis == 3 ? residualWord : coordinate(static_cast<int>(axis), i / 4);
    });
  }
  c3d.m_header.m_nLastFrame = static_cast<uint16_t>(c3d.m_header.m_nFirstFrame + newFrames - 1);
  SetFrameCountParam(c3d, newFrames);
  return true;
}

}  // namespace

bool CC3d::InsertFrames(int count, int position, const std::vector<float>& analogValues,
                        const std::vector<float>& xValues, const std::vector<float>& yValues,
                        const std::vector<float>& zValues) {
  if (count < 1) return false;
  const size_t n = static_cast<size_t>(count);
  // Every store takes the same fill; refuse fills too short to provide it.
  if (AnalogCount() > 0 && analogValues.size() < n * m_header.m_nSamplesPerFrame) return false;
  if (PointCount() > 0 && (xValues.size() < n || yValues.size() < n || zValues.size() < n))
    return false;
  const std::vector<float>* axes[3] = {&xValues, &yValues, &zValues};
  // New frames of real files are marked invalid, those of integer files valid
  // with no residual and no camera.
  double residual = m_storage == StorageKind::Real ? -1.0 : 0.0;
  return InsertFramesWith(
      *this, count, position, [&](int, size_t i) { return analogValues[i]; },
      [&](int axis, size_t frame) { return (*axes[axis])[frame]; }, residual);
}

bool CC3d::InsertBlankFrames(int count, int position) {
  std::vector<float> offsets(static_cast<size_t>(AnalogCount()));
  for (int c = 0; c < AnalogCount(); ++c) offsets[static_cast<size_t>(c)] = GetAnalogOffset(c);
  return InsertFramesWith(
      *this, count, position, [&](int channel, size_t) { return offsets[static_cast<size_t>(channel)]; },
      [](int, size_t) { return 0.0; }, 0.0);
}

void CC3d::DeleteFrames(const std::vector<int>& frames) {
  const int total = std::max(FrameCount(), 0);
  // Indexes that name no frame, and repeats, are ignored.
  std::vector<int> list;
  for (int f : frames)
    if (f >= 0 && f < total) list.push_back(f);
  std::sort(list.begin(), list.end());
  list.erase(std::unique(list.begin(), list.end()), list.end());
  if (list.empty()) return;

  std::vector<bool> drop(static_cast<size_t>(total), false);
  for (int f : list) drop[static_cast<size_t>(f)] = true;
  const size_t spf = m_header.m_nSamplesPerFrame;
  for (CAnalog& analog : m_analogs) DropFramesFromStore(analog, spf, drop);
  for (CVideo& point : m_points) DropFramesFromStore(point, 4, drop);

  const int n = static_cast<int>(list.size());
  const int first = m_header.m_nFirstFrame;
  const int remaining = total - n;
  if (remaining == 0 && first == 0) {
    // No frame left: an empty range is written first = last + 1, which frame
    // 0 cannot express in 16 bits, so the empty file starts at frame 1.
    m_header.m_nFirstFrame = 1;
    m_header.m_nLastFrame = 0;
  } else {
    m_header.m_nLastFrame = static_cast<uint16_t>(first + remaining - 1);
  }
  SetFrameCountParam(*this, remaining);

  // Event times after each removed frame move back by one frame. Going from
  // the last removed frame to the first, each frame's time is still the time
  // the events were measured against, so a run of removed frames moves the
  // events behind it by its full length.
  for (auto it = list.rbegin(); it != list.rend(); ++it) ShiftEventTimes(*it + first - 1, -1);
}

void CC3d::DeletePoint(int point, SavedParams* saved, bool noSave) {
  if (point < 0 || point >= PointCount()) return;
  if (saved && !noSave) {
    saved->assign(3, std::nullopt);
    SaveParam(*this, saved, 0, "POINT", "LABELS");
    SaveParam(*this, saved, 1, "POINT", "DESCRIPTIONS");
    SaveParam(*this, saved, 2, "POINT", "USED");
  }
  m_points.erase(m_points.begin() + point);
  m_header.m_nPoints = static_cast<uint16_t>(PointCount());
  RemoveParamElement(*this, "POINT", "LABELS", point);
  RemoveParamElement(*this, "POINT", "DESCRIPTIONS", point);
  SetUsedCount(*this, "POINT", PointCount());
}

void CC3d::DeleteAnalogChannel(int channel, SavedParams* saved, bool noSave) {
  if (channel < 0 || channel >= AnalogCount()) return;
  if (saved && !noSave) {
    saved->assign(13, std::nullopt);
    SaveParam(*this, saved, 0, "ANALOG", "LABELS");
    SaveParam(*this, saved, 1, "ANALOG", "DESCRIPTIONS");
    SaveParam(*this, saved, 2, "ANALOG", "UNITS");
    SaveParam(*this, saved, 3, "ANALOG", "SCALE");
    SaveParam(*this, saved, 4, "ANALOG", "OFFSET");
    SaveParam(*this, saved, 5, "ANALOG", "USED");
    SaveParam(*this, saved, 6, "FORCE_PLATFORM", "CHANNEL");
    SaveParam(*this, saved, 7, "EMG", "GAIN");
    SaveParam(*this, saved, 8, "EMG", "NORMALIZATION");
    SaveParam(*this, saved, 9, "EMG", "TYPE");
    SaveParam(*this, saved, 10, "EMG", "SEL");
    SaveParam(*this, saved, 11, "EMG", "SIDE");
    SaveParam(*this, saved, 12, "ANALOG", "GAIN");
  }

  m_analogs.erase(m_analogs.begin() + channel);
  const int count = AnalogCount();
  m_header.m_nAnalogChannels = static_cast<uint16_t>(count);
  m_header.m_nAnalogPerFrame = static_cast<uint16_t>(count * m_header.m_nSamplesPerFrame);

  for (const char* name : {"LABELS", "DESCRIPTIONS", "UNITS", "SCALE", "OFFSET", "GAIN"})
    RemoveParamElement(*this, "ANALOG", name, channel);
  // EMG:SEL and ANALOG:GAIN are one entry per channel like the others (a new
  // channel gets its entry there): left alone, every later channel would take
  // its neighbour's.
  for (const char* name : {"GAIN", "NORMALIZATION", "TYPE", "SEL", "SIDE"})
    RemoveParamElement(*this, "EMG", name, channel);
  SetUsedCount(*this, "ANALOG", count);

  // Force-plate entries naming later channels follow them down. Entries that
  // name the deleted channel itself are left for the caller to clear.
  CParam* fp = FindParam("FORCE_PLATFORM", "CHANNEL");
  if (fp && !fp->IsChar() && fp->DimensionCount() > 1) {
    for (int e = 0; e < fp->ElementCount(); ++e) {
      double value = fp->NumericValue(e);
      if (value > channel + 1) fp->SetNumericValue(e, value - 1);
    }
  }
}
