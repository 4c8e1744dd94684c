// What the stored words of the sample stores mean (residual, camera mask),
// the ranges the views draw with, the analog calibration look-ups, the
// force-platform channel map and the TRIAL/EVENT upkeep after frame changes.
//
// Every operation takes store indexes from callers that may be out of step
// with the model (a stale selection, a damaged file), so indexes are checked
// against both the counts and the actual store sizes.
#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <limits>

#include "c3d/C3d.h"

namespace {

constexpr int kInvalidWord = -1;

// Frames a store really holds: the frame count, but never more than its size
// allows (a store left short by a damaged file must not be read past).
int StoreFrames(const CC3d& c3d, const CSampleStore& store, int valuesPerFrame) {
  if (valuesPerFrame <= 0) return 0;
  int frames = std::max(c3d.FrameCount(), 0);
  size_t held = store.Size() / static_cast<size_t>(valuesPerFrame);
  return static_cast<int>(std::min(static_cast<size_t>(frames), held));
}

const CVideo* PointStore(const CC3d& c3d, int point) {
  if (point < 0 || point >= c3d.PointCount()) return nullptr;
  return &c3d.m_points[static_cast<size_t>(point)];
}

bool HasPointFrame(const CC3d& c3d, int point, int frame) {
  const CVideo* store = PointStore(c3d, point);
  return store && frame >= 0 && frame < StoreFrames(c3d, *store, 4);
}

// The residual word of a sample as an integer. A real-storage float is
// truncated; NaN counts as invalid, and floats beyond the integer range are
// clamped so that the conversion stays defined.
int32_t ResidualWord(const CVideo& store, int frame) {
  double value = store.Get(static_cast<size_t>(frame) * 4 + 3);
  if (std::isnan(value)) return kInvalidWord;
  value = std::trunc(value);
  if (value > std::numeric_limits<int32_t>::max()) return std::numeric_limits<int32_t>::max();
  if (value < std::numeric_limits<int32_t>::min()) return std::numeric_limits<int32_t>::min();
  return static_cast<int32_t>(value);
}

// Bits 0 to 6 from the first seven characters of a mask text ("1" sets).
int MaskByteFromText(const std::string& mask) {
  int byte = 0;
  for (size_t i = 0; i < mask.size() && i < 7; ++i)
    if (mask[i] == '1') byte |= 1 << i;
  return byte;
}

// Element `index` of a numeric parameter, byte and 16-bit values signed.
// False when the parameter is missing, of character type or too short.
bool SignedElement(const CC3d& c3d, const char* group, const char* name, int index,
                   double& value) {
  const CParam* p = c3d.FindParam(group, name);
  if (!p || p->IsChar() || index < 0 || index >= p->ElementCount()) return false;
  value = p->NumericValue(index, ValueSign::Signed);
  return true;
}

// Integer value of a parameter element's text, as the user would read it;
// false when the text is empty (missing parameter, character type, no such
// element).
bool ElementTextInteger(const CC3d& c3d, const char* group, const char* name, int index,
                        long& value) {
  std::string text = c3d.GetValueText(group, name, index, 6);
  size_t first = text.find_first_not_of(" \t");
  if (first == std::string::npos) return false;
  value = std::strtol(text.c_str() + first, nullptr, 10);
  return true;
}

// Sets element 0 of a numeric parameter in its own type, when it has one.
void SetFirstElement(CParam* p, double value) {
  if (p && !p->IsChar() && p->ElementCount() > 0) p->SetNumericValue(0, value);
}

}  // namespace

// ---- Residual word and camera mask ---------------------------------------

float CC3d::GetResidual(int point, int frame) const {
  if (!HasPointFrame(*this, point, frame)) return -1.0f;
  int32_t word = ResidualWord(m_points[static_cast<size_t>(point)], frame);
  if (word < 0) return -1.0f;
  int residual = static_cast<int8_t>(static_cast<uint8_t>(word & 0xff));
  return std::fabs(static_cast<float>(residual) * m_header.m_fScale);
}

float CC3d::GetCameraMask(int point, int frame, std::string& mask) const {
  mask = "0000000";
  float residual = GetResidual(point, frame);
  if (residual < 0.0f) return residual;
  int32_t word = ResidualWord(m_points[static_cast<size_t>(point)], frame);
  int cameras = (word >> 8) & 0xff;
  for (int i = 0; i < 7; ++i)
    if ((cameras >> i) & 1) mask[static_cast<size_t>(i)] = '1';
  return residual;
}

void CC3d::SetResidual(int point, int frame, float residual) {
  if (!HasPointFrame(*this, point, frame) || std::isnan(residual)) return;
  CVideo& store = m_points[static_cast<size_t>(point)];
  size_t at = static_cast<size_t>(frame) * 4 + 3;
  if (residual < 0.0f) {
    store.Set(at, kInvalidWord);
    return;
  }
  std::string mask;
  GetCameraMask(point, frame, mask);
  int cameras = MaskByteFromText(mask);

  // The residual is held in scale units in a byte that is read back as a
  // signed number, so 127 units is the most it can say. Larger residuals are
  // held as 127 rather than wrapping into a small one. A tiny allowance keeps
  // float noise from dropping a unit (0.5 / 0.1f is just under 5).
  double scale = std::fabs(static_cast<double>(m_header.m_fScale));
  double units = scale > 0.0 ? static_cast<double>(residual) / scale : 0.0;
  units = std::trunc(std::min(units + 1e-4, 127.0));
  int byte = static_cast<int>(units);
  store.Set(at, cameras * 256 + byte);
}

void CC3d::SetCameraMask(int point, int frame, const std::string& mask) {
  if (!HasPointFrame(*this, point, frame)) return;
  CVideo& store = m_points[static_cast<size_t>(point)];
  size_t at = static_cast<size_t>(frame) * 4 + 3;
  int32_t word = ResidualWord(store, frame);
  if (word < 0) {
    store.Set(at, kInvalidWord);
    return;
  }
  store.Set(at, MaskByteFromText(mask) * 256 + (word & 0xff));
}

// ---- Valid frames and ranges ---------------------------------------------

int CC3d::FirstValidFrame(int point) const {
  const CVideo* store = PointStore(*this, point);
  if (!store) return -1;
  int frames = StoreFrames(*this, *store, 4);
  for (int f = 0; f < frames; ++f)
    if (ResidualWord(*store, f) >= 0) return f;
  return -1;
}

int CC3d::LastValidFrame(int point) const {
  const CVideo* store = PointStore(*this, point);
  if (!store) return -1;
  for (int f = StoreFrames(*this, *store, 4) - 1; f >= 0; --f)
    if (ResidualWord(*store, f) >= 0) return f;
  return -1;
}

void CC3d::ComputePointRange(int point) {
  if (point < 0 || point >= PointCount()) return;
  CVideo& store = m_points[static_cast<size_t>(point)];
  std::fill(std::begin(store.m_fRange), std::end(store.m_fRange), 0.0f);
  int first = FirstValidFrame(point);
  if (first < 0) return;
  int last = LastValidFrame(point);
  // Coordinates that are no number (how some writers mark a missing sample)
  // are left out: one of them must not make the whole range no number.
  for (int axis = 0; axis < 3; ++axis) {
    bool any = false;
    float low = 0.0f, high = 0.0f;
    for (int f = first; f <= last; ++f) {
      if (ResidualWord(store, f) < 0) continue;
      float v = store.Get(static_cast<size_t>(f) * 4 + axis);
      if (!std::isfinite(v)) continue;
      low = any ? std::min(low, v) : v;
      high = any ? std::max(high, v) : v;
      any = true;
    }
    store.m_fRange[axis] = low;
    store.m_fRange[axis + 3] = high;
  }
}

void CC3d::ComputeAnalogRange(int channel) {
  if (channel < 0 || channel >= AnalogCount()) return;
  CAnalog& store = m_analogs[static_cast<size_t>(channel)];
  store.m_fMin = store.m_fMax = store.m_fFirstMin = store.m_fFirstMax = 0.0f;
  size_t count = store.Size();
  if (count == 0) return;
  // Samples that are no number are left out, as for points.
  auto range = [&store, count](size_t step, float& low, float& high) {
    bool any = false;
    for (size_t i = 0; i < count; i += step) {
      float v = store.Get(i);
      if (!std::isfinite(v)) continue;
      low = any ? std::min(low, v) : v;
      high = any ? std::max(high, v) : v;
      any = true;
    }
  };
  range(1, store.m_fMin, store.m_fMax);
  size_t step = m_header.m_nSamplesPerFrame;
  if (step == 0) return;
  range(step, store.m_fFirstMin, store.m_fFirstMax);
}

bool CC3d::CheckPointRange(int point, float lowX, float lowY, float lowZ, float highX,
                           float highY, float highZ) const {
  const CVideo* store = PointStore(*this, point);
  if (!store) return true;
  const float low[3] = {lowX, lowY, lowZ};
  const float high[3] = {highX, highY, highZ};
  int frames = StoreFrames(*this, *store, 4);
  for (int axis = 0; axis < 3; ++axis) {
    for (int f = 0; f < frames; ++f) {
      if (ResidualWord(*store, f) < 0) continue;
      float v = store->Get(static_cast<size_t>(f) * 4 + axis);
      if (!store->IsReal()) v = static_cast<float>(v * m_header.m_fScale);
      if (!(low[axis] <= v && v <= high[axis])) return false;
    }
  }
  return true;
}

// ---- Analog calibration -----------------------------------------------------

float CC3d::GetAnalogScale(int channel) const {
  double v;
  return SignedElement(*this, "Analog", "Scale", channel, v) ? static_cast<float>(v) : 1.0f;
}

float CC3d::GetAnalogOffset(int channel) const {
  double v;
  return SignedElement(*this, "Analog", "Offset", channel, v) ? static_cast<float>(v) : 2048.0f;
}

float CC3d::GetAnalogGenScale() const {
  double v;
  return SignedElement(*this, "Analog", "Gen_Scale", 0, v) ? static_cast<float>(v) : 1.0f;
}

void CC3d::GetAnalogCalibration(int channel, float& offset, float& scale,
                                float& genScale) const {
  double o, s, g;
  if (SignedElement(*this, "Analog", "Offset", channel, o) &&
      SignedElement(*this, "Analog", "Scale", channel, s) &&
      SignedElement(*this, "Analog", "Gen_Scale", 0, g)) {
    offset = static_cast<float>(o);
    scale = static_cast<float>(s);
    genScale = static_cast<float>(g);
  } else {
    // Without a full calibration the raw value is shown as it is.
    offset = 0.0f;
    scale = 1.0f;
    genScale = 1.0f;
  }
}

// ---- Force platforms ----------------------------------------------------------

int CC3d::FindForcePlateChannel(int channel) const {
  long plates = 0;
  if (!ElementTextInteger(*this, "FORCE_PLATFORM", "USED", 0, plates) || plates <= 0) return -1;
  const CParam* types = FindParam("FORCE_PLATFORM", "TYPE");
  const CParam* channels = FindParam("FORCE_PLATFORM", "CHANNEL");
  if (!types || !channels) return -1;

  // Types 1, 2 and 4 measure six channels, type 3 eight, other types none.
  // FORCE_PLATFORM:CHANNEL is normally a table with one column per plate, as
  // many rows as the largest plate needs: plate p's entries then start at
  // p x rows, and a six-channel plate beside an eight-channel one leaves two
  // unused rows. A list without that shape is read as each plate's entries
  // following those of the plate before. Plates beyond the TYPE list have no
  // type and so no channels.
  const int entries = channels->ElementCount();
  const bool table = channels->DimensionCount() >= 2 && channels->m_dims[0] > 0;
  const int rows = table ? channels->m_dims[0] : 0;
  int start = 0;
  for (long p = 0; p < plates && start < entries && p < types->ElementCount(); ++p) {
    int type = static_cast<int>(types->NumericValue(static_cast<int>(p)));
    int count = (type == 1 || type == 2 || type == 4) ? 6 : (type == 3 ? 8 : 0);
    if (table) count = std::min(count, rows);
    for (int e = start; e < start + count; ++e) {
      long value = 0;
      if (ElementTextInteger(*this, "FORCE_PLATFORM", "CHANNEL", e, value) &&
          value == static_cast<long>(channel) + 1)
        return e;
    }
    start += table ? rows : count;
  }
  return -1;
}

void CC3d::ClearForcePlateChannel(int element) {
  SetValueText("FORCE_PLATFORM", "CHANNEL", element, "0");
}

// ---- TRIAL and EVENT upkeep ---------------------------------------------------

void CC3d::UpdateTrialFields() {
  SetFirstElement(FindParam("TRIAL", "ACTUAL_START_FIELD"), m_header.m_nFirstFrame);
  SetFirstElement(FindParam("TRIAL", "ACTUAL_END_FIELD"), m_header.m_nLastFrame);
}

void CC3d::ShiftEventTimes(int fromFrame, int frames) {
  const CParam* used = FindParam("EVENT", "USED");
  CParam* times = FindParam("EVENT", "TIMES");
  if (!used || used->IsChar() || used->ElementCount() < 1 || !times || times->IsChar()) return;
  int events = static_cast<int>(used->NumericValue(0));
  if (events < 1) return;
  double rate = m_header.m_fFrameRate;
  if (!(rate > 0.0) || !std::isfinite(rate)) return;  // no frame rate, no times to move

  double shift = frames / rate;
  double start = fromFrame < 0 ? 0.0 : fromFrame / rate;
  // Times are held as single-precision seconds, so an event sitting exactly
  // on the first moved frame may read a hair earlier than that frame's time;
  // a hundredth of a frame keeps such an event with its frame.
  double slack = 0.01 / rate;

  for (int k = 0; k < events; ++k) {
    int mi = 2 * k, si = 2 * k + 1;
    if (si >= times->ElementCount()) break;
    double t = times->NumericValue(mi) * 60.0 + times->NumericValue(si);
    if (!std::isfinite(t) || t < start - slack) continue;
    t += shift;
    // An event on removed frames at the very start cannot move before the
    // start of the trial.
    if (t < 0.0) t = 0.0;
    double minutes = std::floor(t / 60.0);
    double seconds = t - minutes * 60.0;
    if (seconds >= 60.0) {
      minutes += 1.0;
      seconds -= 60.0;
    }
    if (seconds < 0.0) seconds = 0.0;
    times->SetNumericValue(mi, minutes);
    times->SetNumericValue(si, seconds);
  }
}
