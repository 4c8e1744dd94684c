#include "document/GraphGeometry.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "c3d/UserPrompt.h"

namespace {

std::string Format(const char* format, double a, double b = 0.0, double c = 0.0) {
  char text[128];
  std::snprintf(text, sizeof text, format, a, b, c);
  return text;
}

// Whole inches of the tallest analog graph: the limit less the four title
// bands, in inches.
constexpr int kAnalogDepthLimit = static_cast<int>((kGraphExtentLimit - 4 * kGraphTitleBand) * 0.01);

}  // namespace

int TickInterval(int frames) {
  if (frames <= 100) return 10;
  if (frames <= 450) return 50;
  return 100;
}

void FitHorizontal(CGraphScale& scale, int frames, int ratio, bool subFrames, bool fit,
                   double clientWidth) {
  scale.m_nTick = TickInterval(frames);
  if (frames <= 0) return;
  const double perFrame = ratio > 0 ? ratio : 1;
  const double analogPoints = subFrames ? frames * perFrame : frames;
  if (fit) {
    const double width = std::max(clientWidth - 2 * kGraphLeft, static_cast<double>(kGraphLeft));
    scale.m_fVideoStep = static_cast<float>(width / frames);
    scale.m_fAnalogStep = static_cast<float>(width / analogPoints);
    return;
  }
  const float analogLimit = static_cast<float>(kGraphMaxWidth / (frames * perFrame));
  const float videoLimit = static_cast<float>(kGraphMaxWidth / frames);
  if (scale.m_fAnalogStep > analogLimit) scale.m_fAnalogStep = analogLimit;
  if (scale.m_fVideoStep > videoLimit) scale.m_fVideoStep = videoLimit;
}

CGraphRect AnalogPlotRect(int points, float step, int depth) {
  CGraphRect rect;
  rect.m_fLeft = kGraphLeft;
  rect.m_fTop = -kGraphTitleBand;
  rect.m_fRight = kGraphLeft + static_cast<double>(points) * step;
  rect.m_fBottom = -kGraphTitleBand - depth;
  return rect;
}

CGraphRect VideoPlotRect(int axis, int frames, float step, int depth) {
  CGraphRect rect;
  rect.m_fLeft = kGraphLeft;
  rect.m_fTop = -kGraphTitleBand - static_cast<double>(axis) * (depth + kGraphTitleBand);
  rect.m_fRight = kGraphLeft + static_cast<double>(frames) * step;
  rect.m_fBottom = rect.m_fTop - depth;
  return rect;
}

int ValueToY(double value, double minimum, double maximum, double bottom, int depth) {
  if (!(maximum > minimum)) return static_cast<int>(std::lround(bottom + depth / 2.0));
  return static_cast<int>(std::lround(bottom + (value - minimum) * depth / (maximum - minimum)));
}

double YToValue(double y, double minimum, double maximum, double bottom, int depth) {
  if (depth <= 0) return minimum;
  const double height = std::clamp(y - bottom, 0.0, static_cast<double>(depth));
  return minimum + (maximum - minimum) * height / depth;
}

int FrameAtX(double x, float step, int pointsPerFrame, int frames) {
  if (frames <= 0 || step <= 0 || x < kGraphLeft) return -1;
  const double point = std::trunc((x - kGraphLeft) / step);
  const double frame = std::trunc(point / std::max(pointsPerFrame, 1));
  return static_cast<int>(std::min(frame, static_cast<double>(frames - 1)));
}

double FrameX(int frame, float step, int pointsPerFrame) {
  return kGraphLeft + static_cast<double>(frame) * std::max(pointsPerFrame, 1) * step;
}

CGraphRect MarkerRect(double x, double y) {
  return CGraphRect{x - kGraphMarkerHalf, y + kGraphMarkerHalf, x + kGraphMarkerHalf,
                    y - kGraphMarkerHalf};
}

// ---- Graph Scales dialog -----------------------------------------------------

CGraphScalesRequest::CGraphScalesRequest(const CGraphScale& scale, int firstFrame, int lastFrame,
                                         int ratio)
    : m_fAnalogDistance(scale.m_fAnalogStep),
      m_fVideoDistance(scale.m_fVideoStep),
      m_fAnalogDepth(scale.m_nAnalogDepth / 100.0),
      m_fVideoDepth(scale.m_nVideoDepth / 100.0),
      m_nFirstFrame(firstFrame),
      m_nLastFrame(lastFrame),
      m_nRatio(ratio) {}

int CGraphScalesRequest::VideoIntervals() const {
  return std::max(m_nLastFrame - m_nFirstFrame - 1, 1);
}

int CGraphScalesRequest::AnalogIntervals() const {
  return VideoIntervals() * std::max(m_nRatio, 1);
}

std::string CGraphScalesRequest::InchesText(double distance) {
  return Format("= %.4f inches", distance * 0.01);
}

namespace {

std::string DistanceLimits(int intervals) {
  const double maximum = static_cast<double>(kGraphExtentLimit - 2 * kGraphLeft) / intervals;
  const double minimum = std::min(1.0, maximum * 0.1);
  return Format("Minimum=%.4f and Maximum=%.4f pixels( or %.4f inches)", minimum, maximum,
                maximum * 0.01);
}

}  // namespace

std::string CGraphScalesRequest::AnalogDistanceLimits() const { return DistanceLimits(AnalogIntervals()); }
std::string CGraphScalesRequest::VideoDistanceLimits() const { return DistanceLimits(VideoIntervals()); }

std::string CGraphScalesRequest::AnalogDepthLimits() {
  return "Minimum=1 and Maximum=" + std::to_string(kAnalogDepthLimit) + " inches";
}

std::string CGraphScalesRequest::VideoDepthLimits() {
  return "Minimum=1 and Maximum=" + std::to_string(kAnalogDepthLimit / 3) + " inches";
}

bool CGraphScalesRequest::Ok(CUserPrompt& prompt) {
  m_fAnalogDistance = std::fabs(m_fAnalogDistance);
  m_fVideoDistance = std::fabs(m_fVideoDistance);
  if (m_fAnalogDistance == 0 || m_fVideoDistance == 0) return false;
  if (2 * kGraphLeft + m_fAnalogDistance * AnalogIntervals() >= kGraphExtentLimit) {
    prompt.ShowMessage("The value of the distance between pixels chosen for analog data is too large");
    return false;
  }
  if (2 * kGraphLeft + m_fVideoDistance * VideoIntervals() >= kGraphExtentLimit) {
    prompt.ShowMessage("The value of the distance between pixels chosen for video data is too large");
    return false;
  }
  if (m_fAnalogDepth < 1) return false;
  if (m_fAnalogDepth * 100 + 4 * kGraphTitleBand >= kGraphExtentLimit) {
    prompt.ShowMessage("The depth of the graph for analog data is too large");
    return false;
  }
  if (m_fVideoDepth < 1) return false;
  if (m_fVideoDepth * 300 + 4 * kGraphTitleBand >= kGraphExtentLimit) {
    prompt.ShowMessage("The depth of the graph for video data is too large");
    return false;
  }
  return true;
}

void CGraphScalesRequest::ApplyTo(CGraphScale& scale) const {
  scale.m_fAnalogStep = static_cast<float>(m_fAnalogDistance);
  scale.m_fVideoStep = static_cast<float>(m_fVideoDistance);
  scale.m_nAnalogDepth = static_cast<int>(std::lround(m_fAnalogDepth * 100));
  scale.m_nVideoDepth = static_cast<int>(std::lround(m_fVideoDepth * 100));
}
