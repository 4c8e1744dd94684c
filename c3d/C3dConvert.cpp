// Switching a whole file between integer and real storage, and choosing a
// point scale that uses the 16-bit range well before going to integers.
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <limits>
#include <vector>

#include "c3d/C3d.h"

namespace {

// Largest peak an analog channel is rescaled to when its real samples do not
// fit 16 bits: 90 % of the positive range.
constexpr double kAnalogRescalePeak = 29490.3;
// The largest coordinate maps to 32000 counts.
constexpr double kOptimumScalePerUnit = 0.00003125;

// Counts of a real coordinate: value / scale truncated toward zero. A real
// value that came from counts (counts x scale, rounded to a float) can land
// a hair below the whole number it stands for; truncating that would lose a
// count on every round trip, so values within float noise of a whole number
// are taken as that number.
double CountsOf(double value, double scale) {
  double q = value / scale;
  if (!std::isfinite(q)) return 0.0;
  double nearest = std::nearbyint(q);
  if (std::fabs(q - nearest) <= 1e-6 * std::max(1.0, std::fabs(q))) return nearest;
  return std::trunc(q);
}

// One real analog channel to integers. When it does not fit 16 bits and may
// be rescaled, its samples are scaled so that the peak becomes 29490 counts
// and ANALOG:SCALE takes the inverse factor; otherwise samples are truncated
// and wrap to 16 bits (which keeps the bits of unsigned 16-bit data).
void AnalogToIntegers(CC3d& c3d, int channel, bool rescaleAnalog) {
  CAnalog& store = c3d.m_analogs[static_cast<size_t>(channel)];
  const auto& samples = store.RealVector();
  bool outOfRange = false;
  double low = 0.0, high = 0.0;
  bool any = false;
  for (float v : samples) {
    if (!std::isfinite(v)) continue;
    double t = std::trunc(static_cast<double>(v));
    if (t > 32767.0 || t < -32768.0) outOfRange = true;
    if (!any) low = high = v;
    low = std::min(low, static_cast<double>(v));
    high = std::max(high, static_cast<double>(v));
    any = true;
  }

  // The rescale must be recorded in the channel's own float ANALOG:SCALE
  // element; without one (missing, too short, or an integer type that would
  // store 1/f as 0) rescaling would silently change the channel's units.
  CParam* scale = c3d.FindParam("ANALOG", "SCALE");
  bool canRecord = scale && scale->m_nType == PARAM_FLOAT && channel < scale->ElementCount();
  double peak = std::max(std::fabs(low), std::fabs(high));
  if (outOfRange && rescaleAnalog && canRecord && peak > 0.0 &&
      c3d.GetAnalogScale(channel) == 1.0f && c3d.GetAnalogGenScale() == 1.0f) {
    double f = kAnalogRescalePeak / peak;
    scale->SetNumericValue(channel, 1.0 / f);
    auto& values = store.RealVector();
    for (float& v : values) v = static_cast<float>(std::trunc(f * v));
  }
  store.ConvertKind(false);
}

}  // namespace

bool CC3d::ConvertStorage(bool rescaleAnalog) {
  const double s = std::fabs(static_cast<double>(m_header.m_fScale));
  // A zero scale cannot be divided by, and multiplying by it would turn every
  // coordinate into 0: refuse before anything changes.
  if (!(s > 0.0) || !std::isfinite(s)) return false;

  if (m_storage == StorageKind::Integer) {
    for (CAnalog& analog : m_analogs) analog.ConvertKind(true);
    for (CVideo& point : m_points) {
      if (point.IsReal()) continue;
      point.ConvertKind(true);
      auto& v = point.RealVector();
      for (size_t i = 0; i < v.size(); i += 4)
        for (size_t a = 0; a < 3 && i + a < v.size(); ++a)
          v[i + a] = static_cast<float>(static_cast<double>(v[i + a]) * s);
    }
    m_storage = StorageKind::Real;
  } else {
    for (int c = 0; c < AnalogCount(); ++c) {
      if (!m_analogs[static_cast<size_t>(c)].IsReal()) continue;
      AnalogToIntegers(*this, c, rescaleAnalog);
    }
    for (CVideo& point : m_points) {
      if (!point.IsReal()) continue;
      auto& v = point.RealVector();
      for (size_t i = 0; i + 3 < v.size(); i += 4) {
        // Some writers mark a missing marker with coordinates that are not
        // numbers. Integer storage has no such value: the sample becomes
        // invalid instead of a valid marker at the origin.
        if (!std::isfinite(v[i]) || !std::isfinite(v[i + 1]) || !std::isfinite(v[i + 2])) {
          v[i] = v[i + 1] = v[i + 2] = 0.0f;
          v[i + 3] = -1.0f;
          continue;
        }
        for (size_t a = 0; a < 3; ++a) v[i + a] = static_cast<float>(CountsOf(v[i + a], s));
      }
      point.ConvertKind(false);  // the residual words truncate as they are
    }
    m_storage = StorageKind::Integer;
  }

  // The scale's sign follows the storage kind; POINT:SCALE keeps in step.
  m_header.m_fScale = -m_header.m_fScale;
  CParam* p = FindParam("Point", "Scale");
  if (p && !p->IsChar() && p->ElementCount() > 0) p->SetNumericValue(0, m_header.m_fScale);
  return true;
}

std::vector<CIntegerMisfit> CC3d::IntegerMisfits() const {
  std::vector<CIntegerMisfit> misfits;
  if (m_storage != StorageKind::Real) return misfits;
  const double s = std::fabs(static_cast<double>(m_header.m_fScale));
  const bool scaleUsable = s > 0.0 && std::isfinite(s);
  for (int j = 0; j < PointCount(); ++j) {
    const CVideo& point = m_points[static_cast<size_t>(j)];
    if (!point.IsReal()) continue;
    const float* v = point.Reals();
    const size_t n = point.Size();
    for (size_t i = 0; i < n; i += 4) {
      bool fits = true;
      size_t a = 0;
      for (; a < 3 && i + a < n && fits; ++a) {
        const float value = v[i + a];
        if (!std::isfinite(value)) continue;  // becomes 0, as it always did
        // Without a usable scale only zeros can be stored.
        const double counts = scaleUsable ? CountsOf(value, s) : (value == 0.0f ? 0.0 : 1e9);
        fits = counts >= -32768.0 && counts <= 32767.0;
      }
      if (!fits) {
        misfits.push_back({true, j, v[i + a - 1]});
        break;
      }
    }
  }
  for (int c = 0; c < AnalogCount(); ++c) {
    const CAnalog& analog = m_analogs[static_cast<size_t>(c)];
    if (!analog.IsReal()) continue;
    const float* v = analog.Reals();
    for (size_t i = 0; i < analog.Size(); ++i) {
      if (!std::isfinite(v[i])) continue;
      const double t = std::trunc(static_cast<double>(v[i]));
      if (t > 32767.0 || t < -32768.0) {
        misfits.push_back({false, c, v[i]});
        break;
      }
    }
  }
  return misfits;
}

bool CC3d::FitAnalogToIntegers(int channel) {
  if (m_storage != StorageKind::Real || channel < 0 || channel >= AnalogCount()) return false;
  CAnalog& store = m_analogs[static_cast<size_t>(channel)];
  if (!store.IsReal()) return false;
  auto& samples = store.RealVector();
  double low = 0.0, high = 0.0;
  bool any = false;
  for (float v : samples) {
    if (!std::isfinite(v)) continue;
    if (!any) low = high = v;
    low = std::min(low, static_cast<double>(v));
    high = std::max(high, static_cast<double>(v));
    any = true;
  }
  if (!any || (std::trunc(low) >= -32768.0 && std::trunc(high) <= 32767.0)) return true;

  // The value each sample stands for is (sample - offset) x scale x general
  // scale. New samples are o2 + k x (sample - offset) with offset o2 and
  // scale / k, which keeps that value.
  const double offset = GetAnalogOffset(channel);
  double k = 0.0;
  double newOffset = offset;
  const double peak = kAnalogRescalePeak;
  if (std::fabs(offset) < peak) {
    // The offset stays; the samples are scaled about it so that the farthest
    // one lands at 29490 counts from 0. With an offset of 0 this is the
    // factor ConvertStorage uses.
    k = std::numeric_limits<double>::infinity();
    if (high - offset > 0.0) k = std::min(k, (peak - offset) / (high - offset));
    if (low - offset < 0.0) k = std::min(k, (peak + offset) / (offset - low));
  } else {
    // An offset at an end of the 16-bit range (data meant as unsigned):
    // samples and offset move together to the middle of the range, scaled
    // only when their spread is wider than it.
    const double top = std::max(high, offset);
    const double bottom = std::min(low, offset);
    const double spread = top - bottom;
    k = spread > 2.0 * peak ? 2.0 * peak / spread : 1.0;
    newOffset = std::nearbyint(k * (offset - (top + bottom) / 2.0));
  }
  if (!(k > 0.0) || !std::isfinite(k)) return false;

  CParam* scale = FindParam("ANALOG", "SCALE");
  CParam* offsets = FindParam("ANALOG", "OFFSET");
  if (k != 1.0 && !(scale && scale->m_nType == PARAM_FLOAT && channel < scale->ElementCount()))
    return false;
  if (newOffset != offset) {
    const bool wide = offsets && (offsets->m_nType == PARAM_INTEGER || offsets->m_nType == PARAM_FLOAT);
    if (!wide || channel >= offsets->ElementCount()) return false;
    offsets->SetNumericValue(channel, newOffset);
  }
  if (k != 1.0) scale->SetNumericValue(channel, GetAnalogScale(channel) / k);
  for (float& v : samples)
    if (std::isfinite(v)) v = static_cast<float>(std::trunc(newOffset + k * (v - offset)));
  return true;
}

void CC3d::ComputeOptimumScale() {
  if (m_storage != StorageKind::Real) return;
  double largest = 0.0;
  for (const CVideo& point : m_points) {
    if (!point.IsReal()) continue;
    const float* v = point.Reals();
    const size_t n = point.Size();
    for (size_t i = 0; i < n; i += 4)
      for (size_t a = 0; a < 3 && i + a < n; ++a)
        if (std::isfinite(v[i + a]))
          largest = std::max(largest, std::fabs(static_cast<double>(v[i + a])));
  }
  // With no coordinate at all there is nothing to fit; a zero scale would
  // only make the integer conversion impossible.
  if (!(largest > 0.0)) return;

  float scale = static_cast<float>(-(largest * kOptimumScalePerUnit));
  m_header.m_fScale = scale;
  m_header.m_fHeaderScale = scale;
  CParam* p = FindParam("Point", "Scale");
  if (!p) {
    Prompt().ShowMessage("Warning : The parameter POINT:SCALE was not found");
    return;
  }
  if (p->m_nType == PARAM_FLOAT) {
    // Kept exactly equal to the working scale: six decimals would round a
    // small scale away (even to 0).
    if (p->ElementCount() > 0) p->SetNumericValue(0, scale);
  } else {
    char text[64];
    std::snprintf(text, sizeof text, "%.6f", static_cast<double>(scale));
    SetValueText("Point", "Scale", 0, text);
  }
}
