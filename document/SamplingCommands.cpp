// Change rate and Change ratio: the linear resampling of every store, the
// rate parameters, the event frames and TRIAL fields, and the undo record.
#include "document/SamplingCommands.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <new>
#include <vector>

#include "document/EditorDoc.h"
#include "document/StoreRecovery.h"
#include "processing/LinearResample.h"

namespace {

const char kAnalogReductionFailed[] = "Error in DownSampling of Analog Data";
const char kVideoReductionFailed[] = "Error in Downsampling Video data";
const char kExpansionFailed[] = "Error";
const char kMemoryError[] = "Memory Allocation Error";
const char kZeroRatio[] = "A/V Ration should be greater than zero";

constexpr int64_t kMaxFrameNumber = 65535;
constexpr int64_t kMaxWord = 65535;

std::string Format(const char* format, double a, double b = 0.0) {
  char text[256];
  std::snprintf(text, sizeof text, format, a, b);
  return text;
}

// Element 0 of a numeric parameter, in its own type, when it has one.
void SetFirstValue(CC3d& c3d, const char* group, const char* name, double value) {
  CParam* p = c3d.FindParam(group, name);
  if (p && !p->IsChar() && p->ElementCount() > 0) p->SetNumericValue(0, value);
}

bool StoresFit(uint64_t values, bool real) {
  return values * (real ? 4u : 2u) <= CC3d::StoreLimit();
}

// Resamples every analog channel from `perChannel` to `newPerChannel`
// samples. Null on success, else the message of the failed step.
const char* ResampleAnalog(CC3d& c3d, int64_t perChannel, int64_t newPerChannel,
                           const char* reductionFailed, CStoreRecovery& recovery) {
  if (c3d.m_analogs.empty()) return nullptr;
  const int64_t e = perChannel - 1;
  const int64_t g = newPerChannel - 1;
  switch (CheckResample(e, g)) {
    case ResampleCheck::ReductionFailed: return reductionFailed;
    case ResampleCheck::ExpansionFailed: return kExpansionFailed;
    default: break;
  }
  const bool real = c3d.IsReal();
  for (size_t i = 0; i < c3d.m_analogs.size(); ++i) {
    const CAnalog& old = c3d.m_analogs[i];
    // A store that does not hold what the counts say cannot be resampled
    // without reading past its end.
    if (old.Size() != static_cast<size_t>(perChannel) || old.IsReal() != real) return kExpansionFailed;
    CSampleStore fresh;
    fresh.Allocate(static_cast<size_t>(newPerChannel), real);
    if (real)
      ResampleLinear(old.Reals(), e, 1, fresh.Reals(), g, 1);
    else
      ResampleLinear(old.Ints(), e, 1, fresh.Ints(), g, 1);
    recovery.ReplaceAnalog(i, std::move(fresh));
  }
  return nullptr;
}

// One coordinate of a point, prepared for resampling: before the first
// valid frame the value of that frame, from it on the stored values with
// every exact 0 (a gap) holding the value before it; all 0 for a point
// without valid frames.
template <typename T>
void PrepareCoordinate(const T* store, int64_t frames, int axis, int64_t firstValid, float* out) {
  if (firstValid < 0) {
    for (int64_t f = 0; f < frames; ++f) out[f] = 0.0f;
    return;
  }
  const float held = static_cast<float>(store[firstValid * 4 + axis]);
  for (int64_t f = 0; f < firstValid; ++f) out[f] = held;
  for (int64_t f = firstValid; f < frames; ++f) {
    const float value = static_cast<float>(store[f * 4 + axis]);
    out[f] = (value == 0.0f && f > 0) ? out[f - 1] : value;
  }
}

// Whether new frame `f` takes its values from no measured frame: from
// outside the old frames firstValid .. lastValid, or from within a gap (on
// an invalid frame or between two of them). Such values are only held ones.
bool HeldOnly(int64_t f, double step, int64_t firstValid, int64_t lastValid,
              const std::vector<char>& valid) {
  const double position = static_cast<double>(f) * step;
  constexpr double kSlack = 1e-4;  // the rounding of the single-precision step
  if (position < static_cast<double>(firstValid) - kSlack ||
      position > static_cast<double>(lastValid) + kSlack)
    return true;
  const int64_t last = static_cast<int64_t>(valid.size()) - 1;
  const int64_t k = std::min(static_cast<int64_t>(std::floor(position + kSlack)), last);
  const double fraction = position - static_cast<double>(k);
  if (std::fabs(fraction) <= kSlack || k == last) return !valid[static_cast<size_t>(k)];
  return !valid[static_cast<size_t>(k)] && !valid[static_cast<size_t>(k) + 1];
}

template <typename T>
void ResamplePoint(const T* store, int64_t frames, int64_t newFrames, int64_t firstValid,
                   int64_t lastValid, const std::vector<char>& valid, int64_t zeroBefore,
                   int64_t zeroFrom, std::vector<float>& work, T* out) {
  // New frames that fall before the point's first or after its last valid
  // frame, or inside one of its gaps, are cleared as well, in both
  // directions: otherwise they would show held values as a marker standing
  // still, marked valid, where the point was not seen (and gap filling
  // could no longer find the gap).
  const double step = newFrames > 1 ? static_cast<double>(ResampleStep(frames - 1, newFrames - 1)) : 0.0;
  auto cleared = [&](int64_t f) {
    return f < zeroBefore || (f >= zeroFrom && f <= newFrames - 2) ||
           HeldOnly(f, step, firstValid, lastValid, valid);
  };
  for (int axis = 0; axis < 3; ++axis) {
    PrepareCoordinate(store, frames, axis, firstValid, work.data());
    ResampleLinear(work.data(), frames - 1, 1, out + axis, newFrames - 1, 4);
    if (firstValid < 0) continue;
    for (int64_t f = 0; f < newFrames; ++f)
      if (cleared(f)) out[f * 4 + axis] = T(0);
  }
  // The fourth word (residual and cameras) is 0, valid, where the point has
  // data; the cleared frames, and every frame of a point that had no valid
  // frame, are invalid rather than markers at the origin.
  if (firstValid < 0) {
    for (int64_t f = 0; f < newFrames; ++f) out[f * 4 + 3] = T(-1);
    return;
  }
  for (int64_t f = 0; f < newFrames; ++f)
    if (cleared(f)) out[f * 4 + 3] = T(-1);
}

// Resamples every point from `frames` to `newFrames` frames. In a
// reduction, frames outside the part that the point's valid range maps to
// are cleared.
const char* ResamplePoints(CC3d& c3d, int64_t frames, int64_t newFrames, float rate, float newRate,
                           CStoreRecovery& recovery) {
  if (c3d.m_points.empty()) return nullptr;
  switch (CheckResample(frames - 1, newFrames - 1)) {
    case ResampleCheck::ReductionFailed: return kVideoReductionFailed;
    case ResampleCheck::ExpansionFailed: return kExpansionFailed;
    default: break;
  }
  const bool real = c3d.IsReal();
  const bool reduction = newRate < rate;
  std::vector<float> work(static_cast<size_t>(frames));
  std::vector<char> valid(static_cast<size_t>(frames));
  for (size_t j = 0; j < c3d.m_points.size(); ++j) {
    const CVideo& old = c3d.m_points[j];
    if (old.Size() != static_cast<size_t>(frames) * 4 || old.IsReal() != real) return kExpansionFailed;
    const int first = c3d.FirstValidFrame(static_cast<int>(j));
    const int last = first >= 0 ? c3d.LastValidFrame(static_cast<int>(j)) : -1;
    for (int64_t f = 0; f < frames; ++f)
      valid[static_cast<size_t>(f)] = c3d.GetResidual(static_cast<int>(j), static_cast<int>(f)) >= 0.0f;
    int64_t zeroBefore = 0, zeroFrom = newFrames;
    if (reduction && first >= 0) {
      zeroBefore = ScaleFrameCount(first, rate, newRate);
      zeroFrom = ScaleFrameCount(last, rate, newRate);
    }
    CSampleStore fresh;
    fresh.Allocate(static_cast<size_t>(newFrames) * 4, real);
    if (real)
      ResamplePoint(old.Reals(), frames, newFrames, first, last, valid, zeroBefore, zeroFrom, work, fresh.Reals());
    else
      ResamplePoint(old.Ints(), frames, newFrames, first, last, valid, zeroBefore, zeroFrom, work, fresh.Ints());
    recovery.ReplacePoint(j, std::move(fresh));
  }
  return nullptr;
}

void Finish(CEditorDoc& doc, bool batch, int undoKind) {
  doc.m_bDataChanged = true;
  doc.m_bRebuildList = true;
  doc.m_bRebuildTree = true;
  doc.m_bEventsChanged = true;
  if (!batch) doc.m_nUndoKind = undoKind;
  doc.SetModifiedFlag(true);
  doc.UpdateAllViews();
}

}  // namespace

bool ChangeRate(CEditorDoc& doc, float newRate, bool batch) {
  CC3d& c3d = doc.m_c3d;
  CUserPrompt& prompt = doc.Prompt();
  const float rate = c3d.m_header.m_fFrameRate;
  if (!(newRate > 0.0f) || !std::isfinite(newRate) || newRate == rate) return false;
  if (!(rate > 0.0f) || !std::isfinite(rate)) {
    prompt.ShowMessage("The file's Sampling Frequency is not above 0 Hz, so its data cannot be resampled.");
    return false;
  }
  const int64_t frames = c3d.FrameCount();
  const int64_t newFrames = ScaleFrameCount(frames, rate, newRate);
  if (newFrames < 1) {
    prompt.ShowMessage(c3d.m_analogs.empty() ? kVideoReductionFailed : kAnalogReductionFailed);
    return false;
  }
  if (c3d.m_header.m_nFirstFrame + newFrames - 1 > kMaxFrameNumber) {
    prompt.ShowMessage(Format("At %g Hz the data would take %.0f frames: more than a C3D file can number "
                              "(frame numbers end at 65535).",
                              newRate, static_cast<double>(newFrames)));
    return false;
  }
  const int64_t spf = c3d.m_header.m_nSamplesPerFrame;
  const uint64_t newValues =
      static_cast<uint64_t>(newFrames) * (c3d.m_points.size() * 4 + c3d.m_analogs.size() * spf);
  if (!StoresFit(newValues, c3d.IsReal())) {
    prompt.ShowMessage(kMemoryError);
    return false;
  }

  CWaitCursor wait(prompt);
  const char* failure = nullptr;
  try {
    CStoreRecovery recovery(doc, !batch);
    try {
      failure = ResampleAnalog(c3d, frames * spf, newFrames * spf, kAnalogReductionFailed, recovery);
      if (!failure) failure = ResamplePoints(c3d, frames, newFrames, rate, newRate, recovery);
    } catch (const std::bad_alloc&) {
      failure = kMemoryError;
    }
    if (failure) {
      recovery.Abandon(failure);
      return false;
    }
  } catch (const std::bad_alloc&) {
    prompt.ShowMessage(kMemoryError);
    return false;
  }

  if (!batch) doc.SaveParameterCopies(RateSlotNames());
  c3d.m_header.m_fFrameRate = newRate;
  c3d.m_header.m_nLastFrame = static_cast<uint16_t>(c3d.m_header.m_nFirstFrame + newFrames - 1);
  SetFirstValue(c3d, "POINT", "RATE", newRate);
  SetFirstValue(c3d, "POINT", "FRAMES", static_cast<double>(newFrames));
  SetFirstValue(c3d, "ANALOG", "RATE", static_cast<double>(spf) * newRate);
  c3d.EventFramesFromTimes();
  c3d.UpdateTrialFields();
  doc.m_nListFirst = 0;
  doc.m_nListLast = static_cast<int>(newFrames - 1);
  Finish(doc, batch, UNDO_SAMPLING_FREQUENCY);
  return true;
}

bool ChangeRatio(CEditorDoc& doc, int newRatio, bool batch) {
  CC3d& c3d = doc.m_c3d;
  CUserPrompt& prompt = doc.Prompt();
  if (newRatio <= 0) {
    prompt.ShowMessage(kZeroRatio);
    return false;
  }
  const int ratio = c3d.m_header.m_nSamplesPerFrame;
  if (newRatio == ratio) return false;
  const int64_t channels = static_cast<int64_t>(c3d.m_analogs.size());
  if (newRatio > kMaxWord || channels * newRatio > kMaxWord) {
    prompt.ShowMessage(Format("%.0f analog samples per frame are more than a C3D file can hold "
                              "(at most 65535 per frame).",
                              static_cast<double>(channels * static_cast<int64_t>(newRatio))));
    return false;
  }
  const int64_t frames = c3d.FrameCount();
  if (!StoresFit(static_cast<uint64_t>(frames) *
                     (c3d.m_points.size() * 4 + static_cast<uint64_t>(channels) * newRatio),
                 c3d.IsReal())) {
    prompt.ShowMessage(kMemoryError);
    return false;
  }

  CWaitCursor wait(prompt);
  try {
    CStoreRecovery recovery(doc, !batch);
    const char* failure;
    try {
      failure = ResampleAnalog(c3d, frames * ratio, frames * newRatio, kExpansionFailed, recovery);
    } catch (const std::bad_alloc&) {
      failure = kMemoryError;
    }
    if (failure) {
      recovery.Abandon(failure);
      return false;
    }
  } catch (const std::bad_alloc&) {
    prompt.ShowMessage(kMemoryError);
    return false;
  }

  if (!batch) doc.SaveParameterCopies(RateSlotNames());
  c3d.m_header.m_nSamplesPerFrame = static_cast<uint16_t>(newRatio);
  c3d.m_header.m_nAnalogPerFrame = static_cast<uint16_t>(channels * newRatio);
  SetFirstValue(c3d, "ANALOG", "RATE", static_cast<double>(newRatio) * c3d.m_header.m_fFrameRate);
  Finish(doc, batch, UNDO_AV_RATIO);
  return true;
}

bool CanChangeRate(const CEditorDoc& doc) { return doc.Host().EditMode(); }

bool CanChangeRatio(const CEditorDoc& doc) {
  return doc.Host().EditMode() && doc.m_c3d.m_header.m_nSamplesPerFrame != 0;
}

// ---- The dialog's request ----------------------------------------------------

CSamplingRequest::CSamplingRequest(Mode mode, const CEditorDoc& doc)
    : CSamplingRequest(mode, doc.m_c3d.m_header.m_fFrameRate, doc.m_c3d.m_header.m_nSamplesPerFrame) {}

CSamplingRequest::CSamplingRequest(Mode mode, float frequency, int ratio)
    : m_mode(mode), m_nCurrentRatio(ratio), m_fFrequency(frequency), m_nRatio(ratio) {}

bool CSamplingRequest::SetFrequencyText(const std::string& text) {
  // The edit takes digits and a decimal point only: read them the same way
  // whatever the user's locale.
  const char* begin = text.data();
  const char* end = begin + text.size();
  double value = 0.0;
  const auto [stop, error] = std::from_chars(begin, end, value);
  const char* rest = stop;
  while (rest < end && (*rest == ' ' || *rest == '\t')) ++rest;
  if (error != std::errc() || rest != end || !std::isfinite(value)) return false;
  // The rate is held in single precision: it must stay above 0 there too.
  if (!(static_cast<float>(value) > 0.0f) || !std::isfinite(static_cast<float>(value))) return false;
  m_fFrequency = value;
  return true;
}

bool CSamplingRequest::SetRatioText(const std::string& text) {
  size_t i = 0;
  while (i < text.size() && text[i] == ' ') ++i;
  long value = 0;
  bool digits = false;
  for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
    digits = true;
    value = value * 10 + (text[i] - '0');
    if (value > kMaxWord) return false;
  }
  while (i < text.size() && text[i] == ' ') ++i;
  if (!digits || i != text.size() || value == 0) return false;
  m_nRatio = static_cast<int>(value);
  return true;
}

std::string CSamplingRequest::FrequencyText() const {
  // The shortest text that reads back as the same single-precision rate: a
  // rate such as 10000/93 Hz (107.52688) would otherwise come back from the
  // edit as another rate, and OK with the rate untouched would resample.
  char text[64];
  const auto result = std::to_chars(text, text + sizeof text, static_cast<float>(m_fFrequency),
                                    std::chars_format::fixed);
  return result.ec == std::errc() ? std::string(text, result.ptr) : Format("%g", m_fFrequency);
}

std::string CSamplingRequest::RatioText() const { return std::to_string(m_nRatio); }

std::string CSamplingRequest::ValueCaption() const {
  return m_mode == MODE_FREQUENCY ? "Sampling Frequency" : "Analog to Video Ratio";
}

std::string CSamplingRequest::UnitText() const { return m_mode == MODE_FREQUENCY ? "Hz." : ""; }

std::string CSamplingRequest::InfoLine() const {
  return Format("Analog Sampling Frequency is %.2f Hz.", static_cast<double>(m_nRatio) * m_fFrequency);
}

bool CSamplingRequest::CanAccept() const {
  return m_fFrequency > 0.0 && (m_mode == MODE_FREQUENCY || m_nRatio != 0);
}

bool CSamplingRequest::Apply(CEditorDoc& doc) const {
  if (m_mode == MODE_RATIO) return ChangeRatio(doc, m_nRatio, false);
  const float rate = static_cast<float>(m_fFrequency);
  if (rate == doc.m_c3d.m_header.m_fFrameRate) return false;
  return ChangeRate(doc, rate, false);
}
