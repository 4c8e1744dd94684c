#include "document/CalibrationMatch.h"

#include <cmath>

#include "c3d/C3d.h"
#include "document/ListContent.h"

namespace {

constexpr double kMinSample = -32768.0;
constexpr double kMaxSample = 32767.0;

// A channel's label for messages, or "Chan N" (1-based) when it has none.
std::string ChannelName(const CC3d& c3d, bool point, int index) {
  const std::string label = ChannelLabel(c3d, point, index);
  return label.empty() ? "Chan " + std::to_string(index + 1) : label;
}

// An integer sample rounded to the nearest whole number; false when it does
// not fit 16 bits.
bool FitSample(double value, double& rounded) {
  rounded = std::nearbyint(value);
  return rounded >= kMinSample && rounded <= kMaxSample;
}

// Point words: X, Y, Z and the residual word per frame. Integer coordinates
// are rescaled (invalid samples are held to the 16-bit range, their
// coordinates mean nothing); the residual byte is rescaled in both kinds and
// the camera byte kept.
bool ConvertPoint(CSampleStore& store, double fromScale, double toScale) {
  const bool real = store.IsReal();
  const double ratio = std::fabs(fromScale) / std::fabs(toScale);
  const size_t frames = store.Size() / 4;
  for (size_t f = 0; f < frames; ++f) {
    const double word = store.Get(f * 4 + 3);
    const bool valid = word >= 0.0;
    if (!real) {
      for (size_t k = 0; k < 3; ++k) {
        double converted;
        if (!FitSample(store.Get(f * 4 + k) * fromScale / toScale, converted)) {
          if (valid) return false;
          converted = std::fmin(std::fmax(converted, kMinSample), kMaxSample);
        }
        store.Set(f * 4 + k, converted);
      }
    }
    if (!valid) continue;
    const int bits = static_cast<int>(word);
    const int residual = static_cast<int8_t>(static_cast<uint8_t>(bits & 0xff));
    const double units = std::fmin(std::trunc(std::fabs(residual) * ratio + 1e-4), 127.0);
    store.Set(f * 4 + 3, (bits & 0xff00) + units);
  }
  return true;
}

bool ConvertAnalog(CSampleStore& store, double fromOffset, double fromFactor, double toOffset,
                   double toFactor) {
  const bool real = store.IsReal();
  for (size_t i = 0; i < store.Size(); ++i) {
    const double value = (store.Get(i) - fromOffset) * fromFactor / toFactor + toOffset;
    if (real) {
      store.Set(i, value);
      continue;
    }
    double converted;
    if (!FitSample(value, converted)) return false;
    store.Set(i, converted);
  }
  return true;
}

// Whether the file states a channel's offset, scale and general scale (a
// channel without them is shown raw, and raw values cannot be converted).
bool HasCalibration(const CC3d& c3d, int channel) {
  auto has = [&](const char* name, int index) {
    const CParam* p = c3d.FindParam("ANALOG", name);
    return p && !p->IsChar() && index < p->ElementCount();
  };
  return has("OFFSET", channel) && has("SCALE", channel) && has("GEN_SCALE", 0);
}

}  // namespace

bool MatchCalibration(const CC3d& doc, const CC3d& second, const std::vector<int>& points,
                      const std::vector<std::pair<int, int>>& analogs, CMatchedStores& matched,
                      std::string& misfit) {
  CMatchedStores result;
  result.m_points.resize(second.m_points.size());
  result.m_analogs.resize(second.m_analogs.size());

  const double fromScale = second.m_header.m_fScale;
  const double toScale = doc.m_header.m_fScale;
  const bool rescalePoints = fromScale != toScale && fromScale != 0.0 && toScale != 0.0 &&
                             std::isfinite(fromScale) && std::isfinite(toScale);
  if (rescalePoints) {
    for (int p : points) {
      CSampleStore store = second.m_points[static_cast<size_t>(p)];
      if (!ConvertPoint(store, fromScale, toScale)) {
        misfit = ChannelName(second, true, p);
        return false;
      }
      result.m_points[static_cast<size_t>(p)] = std::move(store);
    }
  }

  for (const auto& [from, to] : analogs) {
    if (!HasCalibration(second, from) || !HasCalibration(doc, to)) continue;
    float fromOffset, fromScaleA, fromGen, toOffset, toScaleA, toGen;
    second.GetAnalogCalibration(from, fromOffset, fromScaleA, fromGen);
    doc.GetAnalogCalibration(to, toOffset, toScaleA, toGen);
    const double fromFactor = static_cast<double>(fromScaleA) * fromGen;
    const double toFactor = static_cast<double>(toScaleA) * toGen;
    if (fromOffset == toOffset && fromFactor == toFactor) continue;
    if (toFactor == 0.0 || fromFactor == 0.0 || !std::isfinite(toFactor) || !std::isfinite(fromFactor))
      continue;
    CSampleStore store = second.m_analogs[static_cast<size_t>(from)];
    if (!ConvertAnalog(store, fromOffset, fromFactor, toOffset, toFactor)) {
      misfit = ChannelName(second, false, from);
      return false;
    }
    result.m_analogs[static_cast<size_t>(from)] = std::move(store);
  }
  matched = std::move(result);
  return true;
}

std::string CalibrationMisfitMessage(const std::string& misfit) {
  return "The channel " + misfit +
         " of the second file cannot be given this file's scales: its values do not fit "
         "16-bit integer samples.\nThe files were not combined.";
}
