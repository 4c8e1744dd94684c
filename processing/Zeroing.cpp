#include "processing/Zeroing.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <set>

#include "c3d/C3d.h"

namespace {

// The first value of a parameter as text ("" when there is none).
std::string ValueText(const CC3d& c3d, const char* name, int index) {
  return c3d.GetValueText("FORCE_PLATFORM", name, index, 6);
}

int ChannelsOfType(int type) {
  if (type == 1 || type == 2 || type == 4) return 6;
  return type == 3 ? 8 : 0;
}

// Adds `shift` to every sample: real storage as a float, integer storage as
// the truncation of the sum.
void ShiftSamples(CAnalog& store, float shift) {
  const size_t count = store.Size();
  if (store.IsReal()) {
    float* v = store.Reals();
    for (size_t i = 0; i < count; ++i) v[i] += shift;
  } else {
    for (size_t i = 0; i < count; ++i) store.Set(i, shift + store.Get(i));
  }
}

// Sums a sample into a baseline. Samples that are no number (real storage
// can hold them) are left out, so that one of them does not turn the
// baseline, and with it every sample of the channel, into no number.
inline void AddFinite(float value, long double& sum, long long& counted) {
  if (!std::isfinite(value)) return;
  sum += value;
  ++counted;
}

}  // namespace

std::string CheckForcePlateZero(const CC3d& c3d, CForcePlateZero& zero) {
  zero = CForcePlateZero();
  std::string used = ValueText(c3d, "USED", 0);
  if (used.empty()) return "Could not find the FORCE_PLATFORM:USED parameter to determine number of plates";
  int plates = std::atoi(used.c_str());
  if (plates <= 0) return std::string();
  if (!c3d.FindParam("FORCE_PLATFORM", "TYPE"))
    return "Could not find the FORCE_PLATFORM:TYPE parameter to determine type of plates used";
  std::string first = ValueText(c3d, "ZERO", 0);
  if (first.empty()) return "Could not find the FORCE_PLATFORM:ZERO parameter's first value";
  std::string second = ValueText(c3d, "ZERO", 1);
  if (second.empty()) return "Could not find the FORCE_PLATFORM:ZERO parameter's second value";
  int start = std::atoi(first.c_str()) - 1;
  int end = std::atoi(second.c_str()) - 1;
  if (start < 0 || end < 0 || end < start) return "Incorrect Zero Start and End Values";
  zero.m_nPlates = plates;
  zero.m_nStart = start;
  zero.m_nEnd = end;
  return std::string();
}

std::vector<int> ForcePlateChannelElements(const CC3d& c3d, int plate) {
  std::vector<int> elements;
  const CParam* types = c3d.FindParam("FORCE_PLATFORM", "TYPE");
  const CParam* channels = c3d.FindParam("FORCE_PLATFORM", "CHANNEL");
  if (!types || !channels || plate < 0 || plate >= types->ElementCount()) return elements;
  // CHANNEL is normally a table with one column per plate and as many rows
  // as the largest plate needs; without that shape each plate's entries
  // follow those of the plate before.
  const bool table = channels->DimensionCount() >= 2 && channels->m_dims[0] > 0;
  const int rows = table ? channels->m_dims[0] : 0;
  int start = 0;
  for (int p = 0; p <= plate; ++p) {
    int count = ChannelsOfType(static_cast<int>(types->NumericValue(p)));
    if (table) count = std::min(count, rows);
    if (p == plate)
      for (int e = start; e < start + count && e < channels->ElementCount(); ++e) elements.push_back(e);
    start += table ? rows : count;
  }
  return elements;
}

void ZeroForcePlateChannels(CC3d& c3d, const CForcePlateZero& zero, const std::vector<int>& plates) {
  const CParam* types = c3d.FindParam("FORCE_PLATFORM", "TYPE");
  if (!types) return;
  for (int plate : plates) {
    if (plate < 0 || plate >= zero.m_nPlates || plate >= types->ElementCount()) continue;
    int type = static_cast<int>(types->NumericValue(plate));
    if (type < 1 || type > 4) continue;
    for (int element : ForcePlateChannelElements(c3d, plate)) {
      std::string text = c3d.GetValueText("FORCE_PLATFORM", "CHANNEL", element, 6);
      if (text.empty()) continue;
      int channel = std::atoi(text.c_str()) - 1;
      if (channel < 0 || channel >= c3d.AnalogCount()) continue;
      CAnalog& store = c3d.m_analogs[static_cast<size_t>(channel)];
      const int size = static_cast<int>(store.Size());
      if (zero.m_nStart >= size) continue;
      const int end = std::min(zero.m_nEnd, size - 1);
      long double sum = 0.0L;
      long long counted = 0;
      for (int i = zero.m_nStart; i <= end; ++i) AddFinite(store.Get(static_cast<size_t>(i)), sum, counted);
      if (counted == 0) continue;
      const float total = static_cast<float>(sum);
      const float shift = c3d.GetAnalogOffset(channel) - total / static_cast<float>(counted);
      ShiftSamples(store, shift);
    }
  }
}

void ZeroAnalogChannels(CC3d& c3d) {
  std::set<int> plateChannels;
  if (const CParam* p = c3d.FindParam("FORCE_PLATFORM", "CHANNEL"); p && !p->IsChar()) {
    for (int e = 0; e < p->ElementCount(); ++e) {
      int channel = static_cast<int>(p->NumericValue(e)) - 1;
      if (channel >= 0) plateChannels.insert(channel);
    }
  }
  for (int c = 0; c < c3d.AnalogCount(); ++c) {
    if (plateChannels.count(c)) continue;
    CAnalog& store = c3d.m_analogs[static_cast<size_t>(c)];
    const size_t count = store.Size();
    if (count == 0) continue;
    long double sum = 0.0L;
    long long counted = 0;
    for (size_t i = 0; i < count; ++i) AddFinite(store.Get(i), sum, counted);
    if (counted == 0) continue;
    const float mean = static_cast<float>(sum / counted);
    ShiftSamples(store, c3d.GetAnalogOffset(c) - mean);
  }
}

void SetAnalogOffsetOfChannels(CC3d& c3d, float offset) {
  char text[64];
  std::snprintf(text, sizeof text, "%.8f", static_cast<double>(offset));
  for (int c = 0; c < c3d.AnalogCount(); ++c) {
    if (c3d.GetValueText("ANALOG", "OFFSET", c, 8).empty()) continue;
    const float old = c3d.GetAnalogOffset(c);
    c3d.SetValueText("ANALOG", "OFFSET", c, text);
    const float change = c3d.GetAnalogOffset(c) - old;
    CAnalog& store = c3d.m_analogs[static_cast<size_t>(c)];
    if (store.IsReal()) {
      ShiftSamples(store, change);
    } else {
      const double whole = std::trunc(static_cast<double>(change));
      for (size_t i = 0; i < store.Size(); ++i) store.Set(i, store.Get(i) + whole);
    }
  }
  // Values beyond the channels take the new offset too.
  if (CParam* p = c3d.FindParam("ANALOG", "OFFSET"); p && !p->IsChar())
    for (int e = c3d.AnalogCount(); e < p->ElementCount(); ++e) c3d.SetValueText("ANALOG", "OFFSET", e, text);
}
