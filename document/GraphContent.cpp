#include "document/GraphContent.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <type_traits>

#include "document/EditorDoc.h"
#include "document/ListContent.h"

namespace {

std::string Format(const char* format, double value) {
  char text[64];
  std::snprintf(text, sizeof text, format, value);
  return text;
}

std::string FormatInt(int value) {
  char text[16];
  std::snprintf(text, sizeof text, "%d", value);
  return text;
}

// Where the plotted samples of a panel lie in its store: sample i is element
// m_nOffset + i x m_nStride; for a 3D axis the residual word lies at
// m_nValidOffset within the same frame (-1 for analog data).
struct CSampleWalk {
  size_t m_nOffset = 0;
  size_t m_nStride = 1;
  int m_nValidOffset = -1;
  int m_nCount = 0;  // samples the store holds
};

const CSampleStore* PanelStore(const CEditorDoc& doc, const CGraphLayout& layout) {
  const CC3d& c3d = doc.m_c3d;
  if (layout.m_kind == GraphKind::Analog && layout.m_nChannel < c3d.AnalogCount())
    return &c3d.m_analogs[static_cast<size_t>(layout.m_nChannel)];
  if (layout.m_kind == GraphKind::Point && layout.m_nChannel < c3d.PointCount())
    return &c3d.m_points[static_cast<size_t>(layout.m_nChannel)];
  return nullptr;
}

CSampleWalk PanelWalk(const CEditorDoc& doc, const CGraphLayout& layout, const CSampleStore& store,
                      int panel) {
  CSampleWalk walk;
  const size_t size = store.Size();
  if (layout.m_kind == GraphKind::Point) {
    walk.m_nOffset = static_cast<size_t>(layout.m_panels[static_cast<size_t>(panel)].m_nAxis);
    walk.m_nStride = 4;
    walk.m_nValidOffset = 3 - static_cast<int>(walk.m_nOffset);
    walk.m_nCount = static_cast<int>(size / 4);
  } else {
    const size_t ratio = doc.m_c3d.m_header.m_nSamplesPerFrame;
    // Without sub frames the first sample of every frame is plotted.
    walk.m_nStride = layout.m_nPointsPerFrame > 1 || ratio == 0 ? 1 : ratio;
    walk.m_nCount = static_cast<int>(size / walk.m_nStride);
  }
  walk.m_nCount = std::min(walk.m_nCount, layout.m_nPoints);
  return walk;
}

// A residual word marks an invalid sample when it is negative; a float by
// its integer part (NaN is invalid too).
inline bool WordValid(int16_t word) { return word >= 0; }
inline bool WordValid(float word) { return word > -1.0f; }

template <typename T>
void WalkTrace(const T* data, const CSampleWalk& walk, const CGraphLayout& layout,
               const CGraphPanel& panel, int first, int last, double x0, double unitsPerPixel,
               CTrace& trace) {
  const double step = layout.m_fStep;
  const bool exact = step >= unitsPerPixel;
  std::vector<CTracePoint>* line = nullptr;
  auto add = [&](double x, int y) {
    if (!line) {
      trace.emplace_back();
      line = &trace.back();
    }
    if (!line->empty() && line->back().m_fX == x && line->back().m_nY == y) return;
    line->push_back(CTracePoint{x, y});
  };
  auto yOf = [&](double stored) { return panel.Y(stored); };
  const size_t stride = walk.m_nStride;
  const T* base = data + walk.m_nOffset;
  const bool checkValid = walk.m_nValidOffset >= 0;
  // Real samples that are no number (how some writers mark a missing
  // sample) break the line like invalid frames do.
  constexpr bool kReal = std::is_floating_point_v<T>;
  const bool checkEach = checkValid || kReal;
  auto valid = [&](int i) {
    const T* sample = base + static_cast<size_t>(i) * stride;
    if constexpr (kReal)
      if (!std::isfinite(*sample)) return false;
    return !checkValid || WordValid(sample[walk.m_nValidOffset]);
  };

  if (exact) {
    for (int i = first; i <= last; ++i) {
      if (!valid(i)) {
        line = nullptr;
        continue;
      }
      add(kGraphLeft + i * step, yOf(base[static_cast<size_t>(i) * stride]));
    }
  } else {
    // Pixel columns: the samples i .. j-1 of one column give its first,
    // lowest, highest and last value.
    auto columnOf = [&](int i) {
      return static_cast<long>(std::floor((kGraphLeft + i * step - x0) / unitsPerPixel));
    };
    int i = first;
    while (i <= last) {
      if (!valid(i)) {
        line = nullptr;
        ++i;
        continue;
      }
      const long column = columnOf(i);
      const double next = std::ceil((x0 + (column + 1) * unitsPerPixel - kGraphLeft) / step);
      int j = static_cast<int>(std::clamp(next, i + 1.0, last + 1.0));
      while (j > i + 1 && columnOf(j - 1) > column) --j;
      while (j <= last && columnOf(j) == column) ++j;
      const T* p = base + static_cast<size_t>(i) * stride;
      const T firstValue = *p;
      T low = firstValue, high = firstValue, lastValue = firstValue;
      int k = i + 1;
      if (!checkEach) {
        for (p += stride; k < j; ++k, p += stride) {
          low = std::min(low, *p);
          high = std::max(high, *p);
        }
        lastValue = base[static_cast<size_t>(j - 1) * stride];
      } else {
        // An invalid sample ends the line inside the column.
        for (; k < j && valid(k); ++k) {
          const T v = base[static_cast<size_t>(k) * stride];
          low = std::min(low, v);
          high = std::max(high, v);
          lastValue = v;
        }
      }
      const double x = x0 + (static_cast<double>(column) + 0.5) * unitsPerPixel;
      add(x, yOf(firstValue));
      add(x, yOf(low));
      add(x, yOf(high));
      add(x, yOf(lastValue));
      i = k;
    }
  }
  // A lone vertex draws nothing as a line: keep it as a dot.
  for (auto& polyline : trace)
    if (polyline.size() == 1) polyline.push_back(polyline.front());
}

}  // namespace

int CGraphPanel::Y(double stored) const {
  return ValueToY(Shown(stored), m_fMin, m_fMax, m_plot.m_fBottom, static_cast<int>(m_plot.Height()));
}

int CGraphLayout::PanelAt(double x, double y) const {
  for (size_t i = 0; i < m_panels.size(); ++i)
    if (m_panels[i].m_plot.Contains(x, y)) return static_cast<int>(i);
  return -1;
}

CGraphLayout DescribeGraph(CEditorDoc& doc, const CGraphScale& scale) {
  CGraphLayout layout;
  CC3d& c3d = doc.m_c3d;
  const bool analog = doc.m_nSelNode == -2 && doc.m_nSelItem >= 0 && doc.m_nSelItem < c3d.AnalogCount();
  const bool point = doc.m_nSelNode == -3 && doc.m_nSelItem >= 0 && doc.m_nSelItem < c3d.PointCount();
  const int frames = c3d.FrameCount();
  if ((!analog && !point) || frames <= 0) return layout;

  layout.m_kind = analog ? GraphKind::Analog : GraphKind::Point;
  layout.m_nChannel = doc.m_nSelItem;
  layout.m_nFrames = frames;
  layout.m_nFirstFrame = c3d.m_header.m_nFirstFrame;
  const int ratio = std::max<int>(c3d.m_header.m_nSamplesPerFrame, 1);
  std::string label = ChannelLabel(c3d, point, layout.m_nChannel);
  if (label.empty()) label = FormatInt(layout.m_nChannel + 1);
  const std::string title = "Channel : " + label;

  if (analog) {
    layout.m_nPointsPerFrame = doc.m_bShowSubFrames ? ratio : 1;
    layout.m_fStep = scale.m_fAnalogStep;
    layout.m_nDepth = scale.m_nAnalogDepth;
    layout.m_bScaled = doc.m_bScaleAnalog;
    c3d.ComputeAnalogRange(layout.m_nChannel);
    const CAnalog& store = c3d.m_analogs[static_cast<size_t>(layout.m_nChannel)];
    CGraphPanel panel;
    panel.m_strTitle = title;
    panel.m_fMin = doc.m_bShowSubFrames ? store.m_fMin : store.m_fFirstMin;
    panel.m_fMax = doc.m_bShowSubFrames ? store.m_fMax : store.m_fFirstMax;
    if (layout.m_bScaled) {
      float offset = 0, channelScale = 1, genScale = 1;
      c3d.GetAnalogCalibration(layout.m_nChannel, offset, channelScale, genScale);
      panel.m_fGain = static_cast<double>(channelScale) * genScale;
      panel.m_fBias = -static_cast<double>(offset) * panel.m_fGain;
    }
    layout.m_panels.push_back(panel);
  } else {
    layout.m_nPointsPerFrame = 1;
    layout.m_fStep = scale.m_fVideoStep;
    layout.m_nDepth = scale.m_nVideoDepth;
    layout.m_bScaled = doc.m_bScale3D;
    c3d.ComputePointRange(layout.m_nChannel);
    const CVideo& store = c3d.m_points[static_cast<size_t>(layout.m_nChannel)];
    static const char* const kAxes[3] = {" X", " Y", " Z"};
    for (int axis = 0; axis < 3; ++axis) {
      CGraphPanel panel;
      panel.m_strTitle = title + kAxes[axis];
      panel.m_nAxis = axis;
      panel.m_fMin = store.m_fRange[axis];
      panel.m_fMax = store.m_fRange[axis + 3];
      // Real samples are stored in their units already.
      if (layout.m_bScaled && !c3d.IsReal()) panel.m_fGain = c3d.m_header.m_fScale;
      layout.m_panels.push_back(panel);
    }
  }
  layout.m_nPoints = frames * layout.m_nPointsPerFrame;

  // Raw integer samples are labelled whole; real samples are in their units
  // whatever the toggle says (a trial in metres would read "0" and "1").
  const char* valueFormat = analog ? "%.2e" : (layout.m_bScaled || c3d.IsReal() ? "%.2f" : "%.0f");
  for (size_t i = 0; i < layout.m_panels.size(); ++i) {
    CGraphPanel& panel = layout.m_panels[i];
    double low = panel.Shown(panel.m_fMin), high = panel.Shown(panel.m_fMax);
    if (high < low) std::swap(low, high);
    panel.m_fMin = low;
    panel.m_fMax = high;
    panel.m_plot = analog ? AnalogPlotRect(layout.m_nPoints, layout.m_fStep, layout.m_nDepth)
                          : VideoPlotRect(static_cast<int>(i), frames, layout.m_fStep, layout.m_nDepth);
    panel.m_strMax = Format(valueFormat, high);
    panel.m_strMin = Format(valueFormat, low);
    for (int k = 0; k < 4; ++k) panel.m_strGrid[k] = Format(valueFormat, low + (high - low) * (k + 1) / 5.0);
  }

  // Ticks every tick interval (in frames) and at the last sample; a frame
  // number only where its box clears the previous one.
  const int every = std::max(scale.m_nTick * layout.m_nPointsPerFrame, 1);
  double lastLabelX = -1e300;
  auto addTick = [&](int at) {
    CGraphTick tick;
    tick.m_fX = kGraphLeft + static_cast<double>(at) * layout.m_fStep;
    if (tick.m_fX - kGraphLabelBox / 2.0 >= lastLabelX + kGraphLabelBox / 2.0) {
      tick.m_strLabel = FormatInt(layout.m_nFirstFrame + at / layout.m_nPointsPerFrame);
      lastLabelX = tick.m_fX;
    }
    layout.m_ticks.push_back(tick);
  };
  for (int i = 0; i < layout.m_nPoints; i += every) addTick(i);
  if ((layout.m_nPoints - 1) % every != 0) addTick(layout.m_nPoints - 1);

  const CGraphRect& lowest = layout.m_panels.back().m_plot;
  layout.m_fWidth = lowest.m_fRight + kGraphMargin;
  layout.m_fHeight = -lowest.m_fBottom + kGraphMargin;
  return layout;
}

bool FrameValue(const CEditorDoc& doc, const CGraphLayout& layout, int panel, int frame, double& value) {
  const CSampleStore* store = PanelStore(doc, layout);
  if (!store || panel < 0 || panel >= static_cast<int>(layout.m_panels.size())) return false;
  const CSampleWalk walk = PanelWalk(doc, layout, *store, panel);
  const int i = frame * layout.m_nPointsPerFrame;
  if (frame < 0 || i >= walk.m_nCount) return false;
  const size_t at = walk.m_nOffset + static_cast<size_t>(i) * walk.m_nStride;
  value = store->Get(at);
  if (!std::isfinite(value)) return false;
  if (walk.m_nValidOffset < 0) return true;
  return store->IsReal() ? WordValid(store->Reals()[at + walk.m_nValidOffset])
                         : WordValid(store->Ints()[at + walk.m_nValidOffset]);
}

CTrace BuildTrace(const CEditorDoc& doc, const CGraphLayout& layout, int panel, double x0, double x1,
                  double unitsPerPixel) {
  CTrace trace;
  const CSampleStore* store = PanelStore(doc, layout);
  if (!store || panel < 0 || panel >= static_cast<int>(layout.m_panels.size()) || unitsPerPixel <= 0 ||
      layout.m_fStep <= 0)
    return trace;
  const CSampleWalk walk = PanelWalk(doc, layout, *store, panel);
  if (walk.m_nCount <= 0) return trace;
  // One sample beyond each edge, so that the lines leave the window.
  const double step = layout.m_fStep;
  const double from = std::floor((x0 - kGraphLeft) / step) - 1;
  const double to = std::ceil((x1 - kGraphLeft) / step) + 1;
  const int first = static_cast<int>(std::clamp(from, 0.0, static_cast<double>(walk.m_nCount - 1)));
  const int last = static_cast<int>(std::clamp(to, 0.0, static_cast<double>(walk.m_nCount - 1)));
  const CGraphPanel& p = layout.m_panels[static_cast<size_t>(panel)];
  if (store->IsReal())
    WalkTrace(store->Reals(), walk, layout, p, first, last, x0, unitsPerPixel, trace);
  else
    WalkTrace(store->Ints(), walk, layout, p, first, last, x0, unitsPerPixel, trace);
  return trace;
}
