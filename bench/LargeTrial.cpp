// The large trials the benchmark times: many frames, points and channels of
// smooth made-up motion.
#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

#include "bench/TrialBuilder.h"
#include "bench/Trials.h"

namespace {

constexpr int kFrames = 65000;
constexpr int kPoints = 120;
constexpr int kChannels = 64;
constexpr int kSubFrames = 10;
constexpr float kRate = 100.0f;

std::vector<std::string> Names(const char* format, int count) {
  std::vector<std::string> names;
  for (int i = 0; i < count; ++i) {
    char text[16];
    std::snprintf(text, sizeof text, format, i + 1);
    names.emplace_back(text);
  }
  return names;
}

}  // namespace

bool BuildLargeTrial(CC3d& c3d, StorageKind storage) {
  CTrialBuilder b(c3d);
  if (!b.SetLayout(kPoints, kChannels, kSubFrames, kFrames, kRate, storage, 0.1f)) return false;
  b.AddGroup("POINT", 1, "3-D point parameters");
  b.AddGroup("ANALOG", 2, "Analog data parameters");
  b.AddGroup("TRIAL", 3, "Trial information");
  b.AddLayoutParameters();
  b.AddChars(1, "LABELS", "Marker labels", Names("M%03d", kPoints));
  b.AddChars(2, "LABELS", "Channel labels", Names("A%02d", kChannels));
  b.AddFloats(2, "SCALE", "Channel scale factors", std::vector<float>(kChannels, 0.01f));
  b.AddInts(2, "OFFSET", "Channel offsets", std::vector<int>(kChannels, 0));

  // Each point circles slowly around its own place; the sines advance by a
  // fixed step per frame, so a rotation per frame keeps this cheap.
  for (int p = 0; p < kPoints; ++p) {
    double step = 0.002 + 0.0001 * p;
    double c = std::cos(step), s = std::sin(step);
    double u = 1.0, v = 0.0;  // cos and sin of the phase
    double cx = (p % 12) * 200.0 - 1100.0, cy = (p / 12) * 150.0 - 700.0, cz = 100.0 + 8.0 * p;
    for (int f = 0; f < kFrames; ++f) {
      b.SetPoint(p, f, static_cast<float>(cx + 400.0 * u), static_cast<float>(cy + 300.0 * v),
                 static_cast<float>(cz + 50.0 * u * v), static_cast<float>(0x0700 + 5));
      double nu = u * c - v * s;
      v = u * s + v * c;
      u = nu;
    }
  }
  for (int a = 0; a < kChannels; ++a) {
    double step = 0.01 + 0.001 * a;
    double c = std::cos(step), s = std::sin(step);
    double u = 1.0, v = 0.0;
    for (int i = 0; i < kFrames * kSubFrames; ++i) {
      b.SetAnalog(a, i, static_cast<float>(std::nearbyint(2000.0 * v)));
      double nu = u * c - v * s;
      v = u * s + v * c;
      u = nu;
    }
  }
  return true;
}
