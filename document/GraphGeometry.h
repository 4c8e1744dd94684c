#pragma once
// Geometry of the graph view, without any toolkit. Coordinates are logical
// units of one hundredth of an inch with y growing upward: the view's top
// edge is y 0 and everything is drawn at negative y below it. The view maps
// these units to pixels; everything that decides where a sample, a tick or a
// hit lands is computed here.

#include <string>

class CUserPrompt;

constexpr int kGraphLeft = 100;          // x of every plot's left edge
constexpr int kGraphTitleBand = 75;      // the title band above each plot
constexpr int kGraphMarkerHalf = 3;      // the marker square is 6 by 6
constexpr int kGraphTickLength = 6;
constexpr int kGraphLabelBox = 100;      // width of a frame number's box
constexpr int kGraphMargin = 50;         // scrollable space beyond the graph
constexpr double kGraphMaxWidth = 31800;  // widest plot when the steps are not fitted
constexpr int kGraphExtentLimit = 32000;  // the Graph Scales dialog's limit

// A rectangle in logical units; m_fTop is above m_fBottom (top > bottom).
struct CGraphRect {
  double m_fLeft = 0, m_fTop = 0, m_fRight = 0, m_fBottom = 0;

  bool Contains(double x, double y) const {
    return x >= m_fLeft && x <= m_fRight && y <= m_fTop && y >= m_fBottom;
  }
  double Width() const { return m_fRight - m_fLeft; }
  double Height() const { return m_fTop - m_fBottom; }
};

// The view's horizontal steps (logical units between two plotted samples),
// the graphs' heights and the frames between labelled ticks.
struct CGraphScale {
  float m_fAnalogStep = 1.0f;
  float m_fVideoStep = 1.0f;
  int m_nAnalogDepth = 200;
  int m_nVideoDepth = 100;
  int m_nTick = 10;
};

// Frames between labelled ticks: 10 up to 100 frames, 50 up to 450,
// otherwise 100.
int TickInterval(int frames);

// The horizontal fit for a file of `frames` frames with `ratio` analog
// samples per frame (0 counts as 1). With `fit` the data fill the client
// width (logical units) less 200; otherwise the steps are only lowered so
// that no plot grows wider than 31800 units. Sets the tick interval too.
// A client narrower than 300 units still gets a plot 100 units wide, so
// that the steps never reach 0.
void FitHorizontal(CGraphScale& scale, int frames, int ratio, bool subFrames, bool fit,
                   double clientWidth);

// Plot rectangles: the analog plot of `points` samples, and 3D graph `axis`
// (0 X, 1 Y, 2 Z) of `frames` frames, stacked one below the other.
CGraphRect AnalogPlotRect(int points, float step, int depth);
CGraphRect VideoPlotRect(int axis, int frames, float step, int depth);

// Height of a value in a plot whose bottom line is `bottom`: the range
// minimum lies on the bottom line and the maximum `depth` units above it,
// rounded to whole units. A flat range (maximum = minimum) is drawn halfway
// up the plot.
int ValueToY(double value, double minimum, double maximum, double bottom, int depth);
// The value at height `y`, which is first held inside the plot.
double YToValue(double y, double minimum, double maximum, double bottom, int depth);

// Frame under x in a plot that starts at kGraphLeft and has `pointsPerFrame`
// plotted samples per frame, held to the frames that exist; -1 when x lies
// left of the plot or the plot has no frames.
int FrameAtX(double x, float step, int pointsPerFrame, int frames);
// x of the first plotted sample of `frame`.
double FrameX(int frame, float step, int pointsPerFrame);

// The 6 by 6 marker square round the point (x, y).
CGraphRect MarkerRect(double x, double y);

// The Graph Scales dialog: distances between frames in logical units,
// depths in inches.
struct CGraphScalesRequest {
  double m_fAnalogDistance = 1.0;
  double m_fVideoDistance = 2.0;
  double m_fAnalogDepth = 2.0;  // inches
  double m_fVideoDepth = 1.0;
  int m_nFirstFrame = 1;
  int m_nLastFrame = 1;
  int m_nRatio = 1;

  // The dialog opened on the view's scale for a file with this frame range.
  CGraphScalesRequest(const CGraphScale& scale, int firstFrame, int lastFrame, int ratio);

  // Sample intervals that the limits are computed for: the frames less two
  // (times the ratio for analog data), at least 1.
  int AnalogIntervals() const;
  int VideoIntervals() const;
  // "= %.4f inches" for a distance.
  static std::string InchesText(double distance);
  // "Minimum=%.4f and Maximum=%.4f pixels( or %.4f inches)".
  std::string AnalogDistanceLimits() const;
  std::string VideoDistanceLimits() const;
  // "Minimum=1 and Maximum=%d inches": 317 for analog data, 105 for 3D.
  static std::string AnalogDepthLimits();
  static std::string VideoDepthLimits();

  // OK: makes the distances positive and checks them and the depths in the
  // dialog's order; a refusal keeps the dialog open (with its message where
  // there is one).
  bool Ok(CUserPrompt& prompt);
  // The view's new scale (the tick interval is kept).
  void ApplyTo(CGraphScale& scale) const;
};
