#pragma once
// What the graph view draws for the document's selection, computed without
// any toolkit: the plots with their titles, value labels and ranges, the
// ticks with their frame numbers, and the trace of each plot reduced to what
// the visible pixels can show. The view keeps one CGraphLayout until the
// data, the selection or the scale change; painting only walks the samples
// that are visible.

#include <string>
#include <vector>

#include "document/GraphGeometry.h"

class CEditorDoc;

enum class GraphKind { None, Analog, Point };

// One plot: the analog graph, or the X, Y or Z graph of a 3D point.
struct CGraphPanel {
  std::string m_strTitle;  // "Channel : " + label (+ " X", " Y", " Z")
  CGraphRect m_plot;
  // The range drawn, in the units shown (scaled or raw): the minimum lies on
  // the bottom line, the maximum on the top line.
  double m_fMin = 0, m_fMax = 0;
  // Shown value = stored value x gain + bias.
  double m_fGain = 1, m_fBias = 0;
  std::string m_strMax, m_strMin;
  std::string m_strGrid[4];  // at 0.2, 0.4, 0.6 and 0.8 of the depth
  int m_nAxis = -1;          // -1 analog, 0 X, 1 Y, 2 Z

  double Shown(double stored) const { return stored * m_fGain + m_fBias; }
  double Stored(double shown) const { return m_fGain != 0 ? (shown - m_fBias) / m_fGain : shown; }
  // Height of a stored value in this plot.
  int Y(double stored) const;
};

struct CGraphTick {
  double m_fX = 0;
  std::string m_strLabel;  // empty when it would overlap the previous label
};

struct CGraphLayout {
  GraphKind m_kind = GraphKind::None;
  int m_nChannel = -1;  // analog channel or point index
  int m_nFrames = 0;
  int m_nFirstFrame = 1;    // frame number of index 0
  int m_nPointsPerFrame = 1;  // plotted samples per frame
  int m_nPoints = 0;          // plotted samples
  float m_fStep = 1.0f;
  int m_nDepth = 0;
  bool m_bScaled = false;  // Scale Data in force for this kind
  std::vector<CGraphPanel> m_panels;  // one, or X, Y and Z
  std::vector<CGraphTick> m_ticks;    // the same for every panel
  double m_fWidth = 0, m_fHeight = 0;  // scrollable size

  bool IsEmpty() const { return m_kind == GraphKind::None; }
  // The panel under (x, y), or -1.
  int PanelAt(double x, double y) const;
  // Frame under x, or -1.
  int FrameAt(double x) const { return FrameAtX(x, m_fStep, m_nPointsPerFrame, m_nFrames); }
  double FrameX(int frame) const { return ::FrameX(frame, m_fStep, m_nPointsPerFrame); }
};

// The layout for the document's tree selection: an analog channel
// (m_nSelNode -2) or a 3D point (-3) with a channel index; anything else
// gives an empty layout. Reads every sample of the channel once (its range).
CGraphLayout DescribeGraph(CEditorDoc& doc, const CGraphScale& scale);

// The stored value of the first plotted sample of `frame` in a panel, and
// whether the sample is valid (a 3D sample with a negative residual word is
// not). False when the frame does not exist.
bool FrameValue(const CEditorDoc& doc, const CGraphLayout& layout, int panel, int frame, double& value);

// A trace to draw: polylines in logical units (a gap in 3D data ends one).
struct CTracePoint {
  double m_fX;
  int m_nY;
};
using CTrace = std::vector<std::vector<CTracePoint>>;

// The trace of `panel` between logical x0 and x1 when one pixel spans
// `unitsPerPixel` units. Where samples lie at least a pixel apart every
// sample is a vertex; where they are closer, each pixel column gets its
// first sample, minimum, maximum and last sample, so the cost follows the
// visible samples and the picture is that of the full polyline.
CTrace BuildTrace(const CEditorDoc& doc, const CGraphLayout& layout, int panel, double x0, double x1,
                  double unitsPerPixel);
