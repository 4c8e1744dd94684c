// The bundled sample file: a short, made-up walking trial over one force
// plate, with EMG of both tibialis anterior muscles.
#include <cmath>
#include <cstdint>
#include <string>
#include <vector>

#include "bench/TrialBuilder.h"
#include "bench/Trials.h"

namespace {

constexpr int kFrames = 200;
constexpr float kRate = 100.0f;
constexpr int kSubFrames = 10;
constexpr double kPi = 3.14159265358979323846;

constexpr double kSpeed = 1200.0;          // walking speed, mm/s
constexpr double kCycle = 1.1;             // gait cycle, s
constexpr double kStride = kSpeed * kCycle;
constexpr double kStance = 0.6;            // share of the cycle on the ground
constexpr double kRightStrike = 0.10;      // first right heel strike, s
constexpr double kLeftStrike = kRightStrike + kCycle / 2;
constexpr double kRightFootprint = 300.0;  // x of the right foot on the plate
constexpr double kBodyWeight = 700.0;      // N

// Small, repeatable noise in [-1, 1].
class CNoise {
 public:
  double Next() {
    m_nState = m_nState * 6364136223846793005ull + 1442695040888963407ull;
    return static_cast<double>(m_nState >> 11) / static_cast<double>(1ull << 52) - 1.0;
  }

 private:
  uint64_t m_nState = 0x5eed;
};

struct CFoot {
  double m_fX;     // ankle position along the walkway
  double m_fLift;  // height above the ground in swing
  double m_fStancePhase;  // 0..1 while on the ground, -1 in swing
};

// Ankle of a foot whose heel strikes at `strike` + k cycles on footprints
// `footprint` + k strides: still while on the ground, a smooth step in swing.
CFoot FootAt(double t, double strike, double footprint) {
  double cycles = std::floor((t - strike) / kCycle);
  double tau = t - strike - cycles * kCycle;
  double x = footprint + cycles * kStride;
  if (tau < kStance * kCycle) return {x, 0.0, tau / (kStance * kCycle)};
  double u = (tau - kStance * kCycle) / ((1.0 - kStance) * kCycle);
  double s = u - std::sin(2.0 * kPi * u) / (2.0 * kPi);
  return {x + kStride * s, 70.0 * std::sin(kPi * u), -1.0};
}

double PelvisX(double t) { return kRightFootprint - 330.0 + kSpeed * (t - kRightStrike); }
double PelvisZ(double t) { return 950.0 + 20.0 * std::cos(4.0 * kPi * (t - kRightStrike) / kCycle); }

// Activity envelope of a tibialis anterior: around heel strike and in swing.
double EmgEnvelope(double t, double strike) {
  double tau = std::fmod(t - strike + 10.0 * kCycle, kCycle) / kCycle;  // 0..1 from heel strike
  double nearStrike = std::exp(-std::pow((tau < 0.5 ? tau : tau - 1.0) / 0.06, 2.0));
  double swing = tau > 0.65 ? 0.35 * std::sin(kPi * (tau - 0.65) / 0.35) : 0.0;
  return 0.8 * nearStrike + swing;
}

const char* const kMarkers[] = {"LASI", "RASI", "LPSI", "RPSI", "LKNE", "RKNE", "LANK", "RANK", "LTOE", "RTOE"};
const char* const kMarkerText[] = {
    "Left anterior superior iliac spine", "Right anterior superior iliac spine",
    "Left posterior superior iliac spine", "Right posterior superior iliac spine",
    "Left lateral femoral epicondyle", "Right lateral femoral epicondyle",
    "Left lateral malleolus", "Right lateral malleolus",
    "Left second metatarsal head", "Right second metatarsal head"};
constexpr int kMarkerCount = 10;

const char* const kChannels[] = {"Fx1", "Fy1", "Fz1", "Mx1", "My1", "Mz1", "EMG - L", "EMG - R"};
const char* const kChannelText[] = {"Force plate 1, force X", "Force plate 1, force Y",
                                    "Force plate 1, force Z", "Force plate 1, moment X",
                                    "Force plate 1, moment Y", "Force plate 1, moment Z",
                                    "Tibialis anterior, left", "Tibialis anterior, right"};
const char* const kChannelUnits[] = {"N", "N", "N", "Nmm", "Nmm", "Nmm", "mV", "mV"};
const float kChannelScale[] = {0.5f, 0.5f, 0.5f, 5.0f, 5.0f, 5.0f, 0.0005f, 0.0005f};
constexpr int kChannelCount = 8;

void FillMarkers(CTrialBuilder& b) {
  CNoise noise;
  for (int f = 0; f < kFrames; ++f) {
    double t = f / static_cast<double>(kRate);
    double px = PelvisX(t), pz = PelvisZ(t);
    CFoot left = FootAt(t, kLeftStrike, kRightFootprint + kStride / 2);
    CFoot right = FootAt(t, kRightStrike, kRightFootprint);
    double xyz[kMarkerCount][3] = {
        {px + 110, 120, pz + 40},
        {px + 110, -120, pz + 40},
        {px - 90, 50, pz + 60},
        {px - 90, -50, pz + 60},
        {(px + left.m_fX) / 2 + 30, 105, 490 + left.m_fLift * 0.5 + (pz - 950) * 0.5},
        {(px + right.m_fX) / 2 + 30, -105, 490 + right.m_fLift * 0.5 + (pz - 950) * 0.5},
        {left.m_fX, 85, 80 + left.m_fLift},
        {right.m_fX, -85, 80 + right.m_fLift},
        {left.m_fX + 150, 95, 40 + left.m_fLift * 0.8},
        {right.m_fX + 150, -95, 40 + right.m_fLift * 0.8},
    };
    for (int m = 0; m < kMarkerCount; ++m) {
      // A few samples the cameras lost: the left toe behind the other leg,
      // the right knee for two frames.
      bool lost = (m == 8 && f >= 120 && f < 125) || (m == 5 && (f == 30 || f == 31));
      if (lost) {
        b.SetPoint(m, f, 0.0f, 0.0f, 0.0f, -1.0f);
        continue;
      }
      // Residual word: cameras in the high byte, residual (in 0.1 mm) low.
      int cameras = (m + f / 40) % 3 == 0 ? 0x0b : 0x07;
      int residual = 4 + static_cast<int>(3.0 * (noise.Next() + 1.0));
      b.SetPoint(m, f, static_cast<float>(xyz[m][0] + 0.3 * noise.Next()),
                 static_cast<float>(xyz[m][1] + 0.3 * noise.Next()),
                 static_cast<float>(xyz[m][2] + 0.3 * noise.Next()),
                 static_cast<float>(cameras * 256 + residual));
    }
  }
}

void FillAnalog(CTrialBuilder& b) {
  CNoise noise;
  const double sampleRate = kRate * kSubFrames;
  for (int i = 0; i < kFrames * kSubFrames; ++i) {
    double t = i / sampleRate;
    // Ground reaction of the right foot while it stands on the plate.
    CFoot right = FootAt(t, kRightStrike, kRightFootprint);
    double fx = 0, fy = 0, fz = 0, mx = 0, my = 0, mz = 0;
    bool onPlate = right.m_fStancePhase >= 0.0 && std::fabs(right.m_fX - kRightFootprint) < 1.0;
    if (onPlate) {
      double u = right.m_fStancePhase;
      fz = kBodyWeight * (std::sin(kPi * u) + 0.25 * std::sin(3.0 * kPi * u));
      fx = -0.2 * kBodyWeight * std::sin(2.0 * kPi * u);
      fy = 0.05 * kBodyWeight * std::sin(kPi * u);
      double copX = -100.0 + 250.0 * u;  // heel to toe, from the plate centre
      double copY = -85.0;
      my = -fz * copX;
      mx = fz * copY;
      mz = 2000.0 * std::sin(2.0 * kPi * u);
    }
    double physical[kChannelCount] = {
        fx + 1.5 * noise.Next(), fy + 1.5 * noise.Next(), fz + 2.0 * noise.Next(),
        mx + 40 * noise.Next(), my + 40 * noise.Next(), mz + 40 * noise.Next(),
        (EmgEnvelope(t, kLeftStrike) * 0.9 + 0.02) * noise.Next(),
        (EmgEnvelope(t, kRightStrike) + 0.02) * noise.Next()};
    // Stored as counts: physical = count x ANALOG:SCALE (offset 0); adding
    // 0 turns a rounded -0 into 0.
    for (int c = 0; c < kChannelCount; ++c)
      b.SetAnalog(c, i, static_cast<float>(std::nearbyint(physical[c] / kChannelScale[c]) + 0.0));
  }
}

}  // namespace

bool BuildSampleTrial(CC3d& c3d) {
  CTrialBuilder b(c3d);
  if (!b.SetLayout(kMarkerCount, kChannelCount, kSubFrames, kFrames, kRate, StorageKind::Real, 0.1f))
    return false;

  b.AddGroup("POINT", 1, "3-D point parameters");
  b.AddGroup("ANALOG", 2, "Analog data parameters");
  b.AddGroup("TRIAL", 3, "Trial information");
  b.AddGroup("EVENT", 4, "Gait events");
  b.AddGroup("FORCE_PLATFORM", 5, "Force plate parameters");
  b.AddGroup("MANUFACTURER", 6, "Software that wrote the file");
  b.AddLayoutParameters();

  std::vector<std::string> labels(kMarkers, kMarkers + kMarkerCount);
  std::vector<std::string> text(kMarkerText, kMarkerText + kMarkerCount);
  b.AddChars(1, "LABELS", "Marker labels", labels);
  b.AddChars(1, "DESCRIPTIONS", "Marker descriptions", text);
  b.AddChars(1, "X_SCREEN", "Axis pointing right on screen", {"+X"});
  b.AddChars(1, "Y_SCREEN", "Axis pointing up on screen", {"+Z"});

  b.AddChars(2, "LABELS", "Channel labels",
             std::vector<std::string>(kChannels, kChannels + kChannelCount));
  b.AddChars(2, "DESCRIPTIONS", "Channel descriptions",
             std::vector<std::string>(kChannelText, kChannelText + kChannelCount));
  b.AddChars(2, "UNITS", "Channel units",
             std::vector<std::string>(kChannelUnits, kChannelUnits + kChannelCount));
  b.AddFloats(2, "SCALE", "Channel scale factors",
              std::vector<float>(kChannelScale, kChannelScale + kChannelCount));
  b.AddInts(2, "OFFSET", "Channel offsets", std::vector<int>(kChannelCount, 0));
  b.AddInts(2, "BITS", "Converter resolution", {16});
  b.AddChars(2, "FORMAT", "Signed or unsigned samples", {"SIGNED"});

  b.AddFloats(3, "CAMERA_RATE", "Camera frame rate", {kRate});

  // Header events, and the same events in the EVENT group.
  struct {
    const char* m_pHeader;
    const char* m_pContext;
    const char* m_pLabel;
    double m_fTime;
  } events[] = {{"RHS", "Right", "Foot Strike", kRightStrike},
                {"LTO", "Left", "Foot Off", kLeftStrike - kCycle + kStance * kCycle},
                {"LHS", "Left", "Foot Strike", kLeftStrike},
                {"RTO", "Right", "Foot Off", kRightStrike + kStance * kCycle}};
  std::vector<std::string> contexts, eventLabels;
  std::vector<float> times;
  for (const auto& e : events) {
    float time = static_cast<float>(std::round(e.m_fTime * 100.0) / 100.0);
    b.AddHeaderEvent(e.m_pHeader, time, true);
    contexts.push_back(e.m_pContext);
    eventLabels.push_back(e.m_pLabel);
    times.push_back(0.0f);  // minutes
    times.push_back(time);  // seconds
  }
  b.AddInts(4, "USED", "Number of events", {4});
  b.AddChars(4, "CONTEXTS", "Side of each event", contexts);
  b.AddChars(4, "LABELS", "Event names", eventLabels);
  b.AddFloats(4, "TIMES", "Minutes and seconds of each event", times, {2, 4});

  b.AddInts(5, "USED", "Number of force plates", {1});
  b.AddInts(5, "TYPE", "Plate types", {2}, {1});
  b.AddInts(5, "ZERO", "Frames used to zero the plates", {1, 10});
  b.AddFloats(5, "CORNERS", "Plate corners in the lab frame",
              {600, 200, 0, 0, 200, 0, 0, -200, 0, 600, -200, 0}, {3, 4, 1});
  b.AddFloats(5, "ORIGIN", "Sensor origin below the plate centre", {0, 0, -40}, {3, 1});
  b.AddInts(5, "CHANNEL", "Analog channels of each plate", {1, 2, 3, 4, 5, 6}, {6, 1});

  b.AddChars(6, "COMPANY", "Company", {"Quorvel"});
  b.AddChars(6, "SOFTWARE", "Program", {"quorvel-bench --make-sample"});

  FillMarkers(b);
  FillAnalog(b);
  return true;
}
