#include "processing/Filtering.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <new>
#include <set>

#include "c3d/C3d.h"
#include "c3d/UserPrompt.h"
#include "processing/Butterworth.h"
#include "processing/FirFilter.h"
#include "processing/Parallel.h"

const char kCouldNotFilterText[] = "Could not filter";
const char kAnalogResidualText[] = "Cannot use residuals for analog data";

namespace {

const char kMemoryText[] = "Memory Allocation Error";

// Messages gathered while channels are committed (on worker threads) and
// shown afterwards, in order, on the caller's thread.
class CMessageList {
 public:
  using Kind = CUserPrompt::MessageKind;
  explicit CMessageList(const CFilterMessages& messages) : m_messages(messages) {}
  void Always(const std::string& text) { m_texts.push_back({CUserPrompt::MESSAGE_NOTICE, text}); }
  void Quiet(const std::string& text, Kind kind = CUserPrompt::MESSAGE_NOTICE) {
    if (!m_messages.m_bQuiet) m_texts.push_back({kind, text});
  }
  void Show() {
    for (const auto& [kind, text] : m_texts) m_messages.m_prompt.ShowMessageOfKind(kind, text);
    m_texts.clear();
  }

 private:
  const CFilterMessages& m_messages;
  std::vector<std::pair<Kind, std::string>> m_texts;
};

// The listed channels that exist, each once, in list order.
std::vector<int> ExistingChannels(const std::vector<int>& listed, int count) {
  std::vector<int> channels;
  std::set<int> seen;
  for (int c : listed)
    if (c >= 0 && c < count && seen.insert(c).second) channels.push_back(c);
  return channels;
}

// First frame index and number of frames the request covers, within the file.
void RequestFrames(const CC3d& c3d, const CFilterRequest& request, int& first, int& frames) {
  const int total = c3d.FrameCount();
  first = 0;
  frames = total;
  if (request.m_nFrames != FRAMES_SELECTION) return;
  const int base = c3d.m_header.m_nFirstFrame;
  int from = std::max(request.m_nStartFrame - base, 0);
  int to = std::min(request.m_nEndFrame - base, total - 1);
  first = from;
  frames = std::max(to - from + 1, 0);
}

// A designed filter of either kind, run on a buffer of lead + n (+ lead) samples.
struct CDesign {
  FilterKind m_kind = FILTER_FIR;
  int m_nOrder = 0;  // FIR: after the short-range fallback
  int m_nLead = 0;
  int m_nDelay = 0;  // outputs are read this many samples late
  size_t m_nBuffer = 0;
  int m_nError = 0;
  std::vector<double> m_taps;
  CButterworthSections m_sections;

  std::string ErrorText() const {
    return m_kind == FILTER_FIR ? std::string(kFirDesignErrorText) : ButterworthDesignErrorText(m_nError);
  }
  const char* OverflowText() const {
    return m_kind == FILTER_FIR ? kFirOverflowText : kButterworthOverflowText;
  }
  // Runs over the buffer whose data are in place after the lead-in.
  bool Run(float* buffer, int n, std::vector<double>& work) const {
    if (m_kind == FILTER_FIR) {
      ExtendFirBuffer(buffer, n, m_nLead);
      return ApplyFir(m_taps, buffer, m_nBuffer, work);
    }
    return ApplySections(m_sections, buffer, m_nBuffer);
  }
};

CDesign Design(FilterKind kind, const CFilterRequest& request, int n, float fs, bool analog) {
  CDesign d;
  d.m_kind = kind;
  if (kind == FILTER_FIR) {
    d.m_nOrder = request.m_nOrder;
    d.m_nLead = std::max(FirLeadIn(n, d.m_nOrder), 0);
    d.m_nDelay = d.m_nOrder / 2;
    d.m_nBuffer = static_cast<size_t>(n) + 2 * static_cast<size_t>(d.m_nLead);
    d.m_nError = DesignFir(d.m_nOrder, request.m_nType, request.m_fLowFreq, request.m_fHighFreq, fs,
                           d.m_taps);
  } else {
    int rounded = ButterworthRoundedOrder(request.m_nOrder, request.m_nType);
    d.m_nOrder = rounded;
    d.m_nLead = std::max(analog ? ButterworthAnalogLeadIn(n, rounded)
                                : ButterworthPointLeadIn(n, rounded), 0);
    d.m_nBuffer = static_cast<size_t>(d.m_nLead) + static_cast<size_t>(n);
    d.m_nError = DesignButterworth(request.m_nOrder, request.m_nType, request.m_fLowFreq,
                                   request.m_fHighFreq, fs, d.m_sections);
  }
  return d;
}

// A usable conversion factor: a scale of 0 (or a damaged one) would turn
// every value into 0 on the way in and into nothing on the way out; as the
// filters are linear, filtering the unscaled numbers gives the same result.
float UsableScale(float scale) { return (scale != 0.0f && std::isfinite(scale)) ? scale : 1.0f; }

// Reading and writing samples straight from the stores (the loops here run
// over every sample of a file). Real storage keeps the value; integer
// storage its truncation toward zero, held within -32768 .. 32767 (a filter
// overshoots a signal clipped at the top of the range, and wrapping that
// round would turn it into a spike of the other sign), and 0 for a value
// that is no number.
class CStoreAccess {
 public:
  explicit CStoreAccess(CSampleStore& store)
      : m_pReals(store.IsReal() ? store.Reals() : nullptr), m_pInts(store.IsReal() ? nullptr : store.Ints()) {}
  float Get(size_t i) const { return m_pReals ? m_pReals[i] : static_cast<float>(m_pInts[i]); }
  void Set(size_t i, float value) const {
    if (m_pReals) {
      m_pReals[i] = value;
      return;
    }
    m_pInts[i] = SaturateTo16(value);
  }

 private:
  float* m_pReals;
  int16_t* m_pInts;
};

// A 3D coordinate that marks a gap: 0, or no number.
inline bool IsGap(float v) { return v == 0.0f || !std::isfinite(v); }

// Per-thread buffers.
struct CWorkerBuffers {
  std::vector<float> m_buffer;
  std::vector<double> m_work;
  std::vector<float> m_out[3];       // 3D: the values to write, per coordinate
  int m_nFailedAxis = -1;            // 3D: the coordinate whose filter failed
  bool m_bNoData = false;            // 3D: the point has no valid frame
  bool m_bHeld = false;              // analog: some samples were no number
  bool m_bOk = true;
};

// Samples that are no number (some writers mark missing data so, in real
// storage) would spread through the filter: a single one turns every later
// Butterworth output into one. They take the value before them (leading
// ones the first number) for the filter and are written back as they were.
// Returns whether there was any; with no number at all the data become 0.
bool HoldNonFinite(float* data, int n) {
  bool any = false;
  int firstValue = -1;
  for (int j = 0; j < n; ++j) {
    if (std::isfinite(data[j])) {
      if (firstValue < 0) firstValue = j;
    } else {
      any = true;
      if (firstValue >= 0) data[j] = data[j - 1];
    }
  }
  if (!any) return false;
  if (firstValue < 0)
    std::fill(data, data + n, 0.0f);
  else
    std::fill(data, data + firstValue, data[firstValue]);
  return true;
}

bool AllocateWorkers(std::vector<CWorkerBuffers>& workers, int count, size_t buffer, size_t out) {
  try {
    workers.resize(static_cast<size_t>(count));
    for (CWorkerBuffers& w : workers) {
      w.m_buffer.assign(buffer, 0.0f);
      for (int axis = 0; axis < 3 && out > 0; ++axis) w.m_out[axis].assign(out, 0.0f);
    }
    return true;
  } catch (const std::bad_alloc&) {
    workers.clear();
    return false;
  }
}

}  // namespace

int16_t SaturateTo16(double value) {
  if (std::isnan(value)) return 0;
  const double whole = std::trunc(value);
  if (whole >= 32767.0) return 32767;
  if (whole <= -32768.0) return -32768;
  return static_cast<int16_t>(whole);
}

float AnalogSampleRate(const CC3d& c3d) {
  return static_cast<float>(c3d.m_header.m_nSamplesPerFrame) * c3d.m_header.m_fFrameRate;
}

float PointSampleRate(const CC3d& c3d) { return c3d.m_header.m_fFrameRate; }

int FirLeadIn(int n, int& order) {
  int lead = std::max(order, n / 10);
  if (lead >= n) {
    order = n / 2;
    lead = n - 2;
  }
  return lead;
}

int ButterworthAnalogLeadIn(int n, int roundedOrder) {
  int lead = std::min(roundedOrder + 3, n / 2);
  return lead >= n ? n - 2 : lead;
}

int ButterworthPointLeadIn(int n, int roundedOrder) {
  int lead = std::min(roundedOrder + 2, n / 4);
  return lead >= n ? n - 2 : lead;
}

bool FilterAnalogChannels(CC3d& c3d, FilterKind kind, const CFilterRequest& request,
                          const CFilterMessages& messages) {
  CMessageList out(messages);
  if (request.m_nFrames == FRAMES_RESIDUAL) {
    out.Quiet(kAnalogResidualText);
    out.Show();
    return true;
  }
  int firstFrame, frames;
  RequestFrames(c3d, request, firstFrame, frames);
  const size_t perFrame = c3d.m_header.m_nSamplesPerFrame;
  const int n = static_cast<int>(perFrame * static_cast<size_t>(frames));
  const size_t start = static_cast<size_t>(firstFrame) * perFrame;
  std::vector<int> channels;
  for (int c : ExistingChannels(request.m_channels, c3d.AnalogCount()))
    if (c3d.m_analogs[static_cast<size_t>(c)].Size() >= start + static_cast<size_t>(n)) channels.push_back(c);
  if (n <= 0 || channels.empty()) return true;

  const CDesign design = Design(kind, request, n, AnalogSampleRate(c3d), true);
  std::vector<CWorkerBuffers> workers;
  const int count = static_cast<int>(channels.size());
  if (!AllocateWorkers(workers, ProcessingWorkers(count), design.m_nBuffer, 0)) {
    out.Quiet(kMemoryText, CUserPrompt::MESSAGE_FAILURE);
    out.Show();
    return false;
  }
  if (design.m_nError != 0) {
    out.Always(design.ErrorText());
    out.Quiet(kCouldNotFilterText);
    out.Show();
    return false;
  }

  const float genScale = c3d.GetAnalogGenScale();
  const int lead = design.m_nLead;
  bool ok = true;
  ParallelForOrdered(
      count,
      [&](int index, int worker) {
        const int channel = channels[static_cast<size_t>(index)];
        const CStoreAccess store(c3d.m_analogs[static_cast<size_t>(channel)]);
        CWorkerBuffers& w = workers[static_cast<size_t>(worker)];
        float* buffer = w.m_buffer.data();
        const float offset = c3d.GetAnalogOffset(channel);
        const float scale = UsableScale(c3d.GetAnalogScale(channel) * genScale);
        float* data = buffer + lead;
        for (int j = 0; j < n; ++j) data[j] = (store.Get(start + static_cast<size_t>(j)) - offset) * scale;
        w.m_bHeld = HoldNonFinite(data, n);
        // Butterworth lead-in: the first samples mirrored through the first
        // one, so that the filter starts on the data's own trend.
        if (kind == FILTER_BUTTERWORTH)
          for (int i = 0; i < lead; ++i) buffer[i] = 2.0f * data[0] - data[lead - i];
        w.m_bOk = design.Run(buffer, n, w.m_work);
      },
      [&](int index, int worker) {
        CWorkerBuffers& w = workers[static_cast<size_t>(worker)];
        if (!w.m_bOk) {
          out.Always(design.OverflowText());
          out.Quiet(kCouldNotFilterText);
          ok = false;
          return false;
        }
        const int channel = channels[static_cast<size_t>(index)];
        const CStoreAccess store(c3d.m_analogs[static_cast<size_t>(channel)]);
        const float offset = c3d.GetAnalogOffset(channel);
        const float scale = UsableScale(c3d.GetAnalogScale(channel) * genScale);
        const float* result = w.m_buffer.data() + lead + design.m_nDelay;
        if (w.m_bHeld) {
          for (int j = 0; j < n; ++j)
            if (std::isfinite(store.Get(start + static_cast<size_t>(j))))
              store.Set(start + static_cast<size_t>(j), result[j] / scale + offset);
        } else {
          for (int j = 0; j < n; ++j) store.Set(start + static_cast<size_t>(j), result[j] / scale + offset);
        }
        return true;
      });
  out.Show();
  return ok;
}

bool FilterPointChannels(CC3d& c3d, FilterKind kind, const CFilterRequest& request,
                         const CFilterMessages& messages) {
  CMessageList out(messages);
  int firstFrame, frames;
  RequestFrames(c3d, request, firstFrame, frames);
  const int total = c3d.FrameCount();
  const int n = frames;
  std::vector<int> channels;
  for (int p : ExistingChannels(request.m_channels, c3d.PointCount()))
    if (c3d.m_points[static_cast<size_t>(p)].Size() >= static_cast<size_t>(total) * 4) channels.push_back(p);
  if (n <= 0 || channels.empty()) return true;

  auto noDataText = [](int point) {
    char text[64];
    std::snprintf(text, sizeof text, "There is no data in channel %d", point + 1);
    return std::string(text);
  };

  const CDesign design = Design(kind, request, n, PointSampleRate(c3d), false);
  std::vector<CWorkerBuffers> workers;
  const int count = static_cast<int>(channels.size());
  if (!AllocateWorkers(workers, ProcessingWorkers(count), design.m_nBuffer, static_cast<size_t>(n))) {
    out.Quiet(kMemoryText, CUserPrompt::MESSAGE_FAILURE);
    out.Show();
    return false;
  }
  if (design.m_nError != 0) {
    // The design fails for the first point that has data to filter.
    for (int p : channels) {
      if (c3d.FirstValidFrame(p) < 0) {
        out.Quiet(noDataText(p));
        continue;
      }
      out.Always(design.ErrorText());
      out.Quiet(kCouldNotFilterText);
      out.Show();
      return false;
    }
    out.Show();
    return true;
  }

  // Butterworth works in scaled units on integer storage.
  const bool scaled = kind == FILTER_BUTTERWORTH && !c3d.IsReal();
  const float scale = scaled ? UsableScale(c3d.m_header.m_fScale) : 1.0f;
  const int lead = design.m_nLead;
  const bool residualRuns = request.m_nFrames == FRAMES_RESIDUAL;
  bool ok = true;

  ParallelForOrdered(
      count,
      [&](int index, int worker) {
        const int point = channels[static_cast<size_t>(index)];
        CWorkerBuffers& w = workers[static_cast<size_t>(worker)];
        w.m_bNoData = c3d.FirstValidFrame(point) < 0;
        w.m_nFailedAxis = -1;
        if (w.m_bNoData) return;
        const CStoreAccess store(c3d.m_points[static_cast<size_t>(point)]);
        float* buffer = w.m_buffer.data();
        float* data = buffer + lead;
        for (int axis = 0; axis < 3; ++axis) {
          auto stored = [&](int j) {
            return store.Get(static_cast<size_t>(firstFrame + j) * 4 + static_cast<size_t>(axis));
          };
          for (int j = 0; j < n; ++j) data[j] = scaled ? stored(j) * scale : stored(j);
          // Zero hold: a gap (coordinate 0, or one that is no number) carries
          // the value before it, and leading gaps the first value that is
          // not one, so that gaps do not pull the filtered neighbours toward
          // 0 (or make them no number).
          int firstValue = 0;
          while (firstValue < n && IsGap(data[firstValue])) ++firstValue;
          if (firstValue < n) {
            for (int j = 0; j < firstValue; ++j) data[j] = data[firstValue];
            for (int j = firstValue + 1; j < n; ++j)
              if (IsGap(data[j])) data[j] = data[j - 1];
          } else {
            std::fill(data, data + n, 0.0f);
          }
          if (kind == FILTER_BUTTERWORTH) std::fill(buffer, data, data[0]);
          if (!design.Run(buffer, n, w.m_work)) {
            w.m_nFailedAxis = axis;
            return;
          }
          // Gaps stay gaps.
          const float* result = data + design.m_nDelay;
          float* values = w.m_out[axis].data();
          for (int j = 0; j < n; ++j) {
            const float before = stored(j);
            values[j] = IsGap(before) ? before : result[j];
          }
        }
      },
      [&](int index, int worker) {
        const int point = channels[static_cast<size_t>(index)];
        CWorkerBuffers& w = workers[static_cast<size_t>(worker)];
        if (w.m_bNoData) {
          out.Quiet(noDataText(point));
          return true;
        }
        const CStoreAccess store(c3d.m_points[static_cast<size_t>(point)]);
        // Frames to write, decided before anything is written.
        std::vector<int> written;
        written.reserve(static_cast<size_t>(n));
        if (residualRuns) {
          for (int f = 0; f <= total - 2; ++f)
            if (c3d.GetResidual(point, f) > request.m_fResidual) written.push_back(f);
        } else {
          for (int j = 0; j < n; ++j)
            if (kind == FILTER_BUTTERWORTH || c3d.GetResidual(point, firstFrame + j) >= 0.0f)
              written.push_back(firstFrame + j);
        }
        const int axes = w.m_nFailedAxis < 0 ? 3 : w.m_nFailedAxis;
        for (int axis = 0; axis < axes; ++axis) {
          const float* values = w.m_out[axis].data();
          for (int f : written) {
            float v = values[f - firstFrame];
            store.Set(static_cast<size_t>(f) * 4 + static_cast<size_t>(axis), scaled ? v / scale : v);
          }
        }
        if (w.m_nFailedAxis >= 0) {
          out.Always(design.OverflowText());
          out.Quiet(kCouldNotFilterText);
          ok = false;
          return false;
        }
        // Residual and camera updates of the filtered frames.
        const bool setCameras = !request.m_strCameras.empty();
        if (request.m_bSetResidual || setCameras) {
          auto update = [&](int f) {
            if (request.m_bSetResidual) c3d.SetResidual(point, f, request.m_fSetResidual);
            if (setCameras) c3d.SetCameraMask(point, f, request.m_strCameras);
          };
          if (residualRuns) {
            for (int f : written) update(f);
          } else {
            for (int j = 0; j < n; ++j)
              if (c3d.GetResidual(point, firstFrame + j) >= 0.0f) update(firstFrame + j);
          }
        }
        return true;
      });
  out.Show();
  return ok;
}
