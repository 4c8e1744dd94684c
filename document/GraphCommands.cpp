#include "document/GraphCommands.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <optional>
#include <vector>

#include "document/EditorDoc.h"
#include "document/GraphContent.h"
#include "processing/Filtering.h"
#include "processing/Spline.h"

// ---- Selection ---------------------------------------------------------------

std::vector<int> CGraphSelection::Frames() const {
  std::vector<int> frames;
  if (IsEmpty()) return frames;
  for (int f = Low(); f <= High(); ++f) frames.push_back(f);
  return frames;
}

bool CGraphSelection::DoubleClick(int frame, bool control) {
  if (frame < 0) return false;
  if (control) {
    if (m_nFirst < 0) return false;
    m_nSecond = frame;
    return true;
  }
  m_nFirst = frame;
  m_nSecond = -1;
  return true;
}

void CGraphSelection::Validate(int frames) {
  if (m_nFirst >= frames || m_nSecond >= frames) Clear();
}

bool GraphChannelSelected(const CEditorDoc& doc) {
  if (doc.m_nSelItem < 0) return false;
  if (doc.m_nSelNode == -2) return doc.m_nSelItem < doc.m_c3d.AnalogCount();
  if (doc.m_nSelNode == -3) return doc.m_nSelItem < doc.m_c3d.PointCount();
  return false;
}

// ---- Value drag --------------------------------------------------------------

namespace {

// Integer storage takes the value rounded and held to 16 bits.
double StorableValue(const CC3d& c3d, double value) {
  if (c3d.IsReal()) return value;
  return std::clamp(std::round(value), static_cast<double>(INT16_MIN), static_cast<double>(INT16_MAX));
}

// Marks the document changed after a command that rewrote samples.
void FinishSampleChange(CEditorDoc& doc, int undoKind) {
  doc.m_nUndoKind = undoKind;
  doc.m_bDataChanged = true;
  doc.m_bRebuildList = true;
  doc.SetModifiedFlag(true);
  doc.UpdateAllViews();
}

}  // namespace

bool DropDraggedValue(CEditorDoc& doc, const CGraphLayout& layout, int panel, int frame, double y) {
  if (layout.IsEmpty() || panel < 0 || panel >= static_cast<int>(layout.m_panels.size())) return false;
  CC3d& c3d = doc.m_c3d;
  if (frame < 0 || frame >= c3d.FrameCount()) return false;
  const CGraphPanel& plot = layout.m_panels[static_cast<size_t>(panel)];
  // A scale of 0 shows every sample as the same value: the height dropped
  // cannot be turned back into a stored value (it would become 0).
  if (!(plot.m_fGain != 0) || !std::isfinite(plot.m_fGain)) return false;
  const double shown = YToValue(y, plot.m_fMin, plot.m_fMax, plot.m_plot.m_fBottom,
                                static_cast<int>(plot.m_plot.Height()));
  const double value = StorableValue(c3d, plot.Stored(shown));
  const bool point = layout.m_kind == GraphKind::Point;
  if (point ? layout.m_nChannel >= c3d.PointCount() : layout.m_nChannel >= c3d.AnalogCount()) return false;
  if (!doc.RecordUndoValues(point, layout.m_nChannel, frame, 1)) return false;

  if (point) {
    c3d.m_points[static_cast<size_t>(layout.m_nChannel)].Set(static_cast<size_t>(frame) * 4 + plot.m_nAxis,
                                                              value);
  } else {
    CAnalog& store = c3d.m_analogs[static_cast<size_t>(layout.m_nChannel)];
    const size_t ratio = c3d.m_header.m_nSamplesPerFrame;
    for (size_t s = 0; s < ratio; ++s) {
      const size_t at = static_cast<size_t>(frame) * ratio + s;
      if (at < store.Size()) store.Set(at, value);
    }
  }
  FinishSampleChange(doc, UNDO_VALUES);
  return true;
}

// ---- Delete and Fill ---------------------------------------------------------

bool CanDeleteAndFill(const CEditorDoc& doc, const CGraphSelection& selection) {
  return doc.Host().EditMode() && GraphChannelSelected(doc) && !selection.IsEmpty();
}

namespace {

// Spikes of an analog channel within the selection: the samples from the
// first sample of the low frame to the first sample of the high frame that
// lie further from their mean than the nearer of the maximum and minimum
// become the mean. Only the first frames less two are covered.
bool ClipAnalogSpikes(CEditorDoc& doc, int channel, int lo, int hi) {
  CC3d& c3d = doc.m_c3d;
  const long ratio = c3d.m_header.m_nSamplesPerFrame;
  const long covered = ratio * (c3d.FrameCount() - 2);
  CAnalog& store = c3d.m_analogs[static_cast<size_t>(channel)];
  const long first = lo * ratio;
  const long last = std::min({hi * ratio, covered - 1, static_cast<long>(store.Size()) - 1});
  // A range that starts at the very first sample is left alone.
  if (ratio == 0 || covered <= 0 || first == 0 || first > last) return false;

  // Samples that are no number (a gap in real storage) take no part in the
  // mean and the limits, and are filled with the mean like the spikes.
  double sum = 0;
  long count = 0;
  float high = 0, low = 0;
  for (long i = first; i <= last; ++i) {
    const float v = store.Get(static_cast<size_t>(i));
    if (!std::isfinite(v)) continue;
    sum += v;
    high = count ? std::max(high, v) : v;
    low = count ? std::min(low, v) : v;
    ++count;
  }
  if (count == 0) return false;
  doc.SaveUndoSnapshot();
  const double mean = sum / static_cast<double>(count);
  const double limit = std::min(high - mean, mean - low);
  for (long i = first; i <= last; ++i) {
    const float v = store.Get(static_cast<size_t>(i));
    if (!std::isfinite(v) || std::fabs(v - mean) > limit) store.Set(static_cast<size_t>(i), static_cast<float>(mean));
  }
  return true;
}

// A 3D point's frames lo..hi filled, coordinate by coordinate, by the cubic
// spline (zero end slopes) through the valid frames around them, with their
// residual word set to 0 (valid, no cameras). Only the first frames less two
// are knots or filled; a range from the first frame is left alone, as is a
// coordinate with fewer than two knots. A coordinate that is no number (how
// some writers mark a missing sample) is no knot: it would make the whole
// spline no number. In integer storage a spline that overshoots past the
// 16-bit range is held at the limit rather than wrapped to the other sign.
bool FillPointSpline(CEditorDoc& doc, int point, int lo, int hi) {
  CC3d& c3d = doc.m_c3d;
  const int covered = c3d.FrameCount() - 2;
  const float rate = c3d.m_header.m_fFrameRate;
  const int last = std::min(hi, covered - 1);
  if (lo <= 0 || lo > last || !(rate > 0)) return false;

  CVideo& store = c3d.m_points[static_cast<size_t>(point)];
  std::vector<float> times, values, d2;
  bool changed = false;
  for (int axis = 0; axis < 3; ++axis) {
    times.clear();
    values.clear();
    for (int f = 0; f < covered; ++f) {
      if ((f >= lo && f <= hi) || c3d.GetResidual(point, f) < 0) continue;
      const float v = store.Get(static_cast<size_t>(f) * 4 + axis);
      if (!std::isfinite(v)) continue;
      times.push_back(static_cast<float>(f) / rate);
      values.push_back(v);
    }
    const int n = static_cast<int>(times.size());
    d2.assign(times.size(), 0.0f);
    if (n < 2 || !SplineSecondDerivatives(times.data(), values.data(), n, 0.0f, 0.0f, d2.data())) continue;
    if (!changed) doc.SaveUndoSnapshot();
    changed = true;
    for (int j = lo; j <= last; ++j) {
      const std::optional<float> v = SplineEvaluate(times.data(), values.data(), d2.data(), n,
                                                    static_cast<float>(j) / rate);
      if (!v) {
        doc.Prompt().ShowMessage("Bad interpolation");
        break;
      }
      const size_t at = static_cast<size_t>(j) * 4 + axis;
      if (store.IsReal())
        store.Set(at, *v);
      else
        store.Ints()[at] = SaturateTo16(*v);
      store.Set(static_cast<size_t>(j) * 4 + 3, 0.0);
    }
  }
  return changed;
}

}  // namespace

bool DeleteAndFill(CEditorDoc& doc, const CGraphSelection& selection) {
  if (!GraphChannelSelected(doc) || selection.IsEmpty()) return false;
  const int channel = doc.m_nSelItem;
  const bool changed = doc.m_nSelNode == -2 ? ClipAnalogSpikes(doc, channel, selection.Low(), selection.High())
                                            : FillPointSpline(doc, channel, selection.Low(), selection.High());
  if (!changed) return false;
  FinishSampleChange(doc, UNDO_DELETE_AND_FILL);
  return true;
}
