#include "c3d/Channels.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace {

int16_t TruncateTo16(double value) {
  if (!std::isfinite(value)) return 0;
  double t = std::trunc(value);
  if (t >= 9.2e18 || t <= -9.2e18) return 0;
  return static_cast<int16_t>(static_cast<uint16_t>(static_cast<int64_t>(t) & 0xffff));
}

}  // namespace

void CSampleStore::Allocate(size_t count, bool real) {
  Clear();
  m_bReal = real;
  // Memory fresh from the system holds zeros already; writing them again
  // would cost as much as reading the file.
  if (real) {
    m_reals.resize(count);
    if (count > 0 && !IsFreshSampleMemory(m_reals.data())) std::fill(m_reals.begin(), m_reals.end(), 0.0f);
  } else {
    m_ints.resize(count);
    if (count > 0 && !IsFreshSampleMemory(m_ints.data())) std::fill(m_ints.begin(), m_ints.end(), int16_t(0));
  }
}

void CSampleStore::Resize(size_t count) {
  if (m_bReal)
    m_reals.resize(count, 0.0f);
  else
    m_ints.resize(count, 0);
}

void CSampleStore::Clear() {
  SampleVector<int16_t>().swap(m_ints);
  SampleVector<float>().swap(m_reals);
}

void CSampleStore::Set(size_t index, double value) {
  if (m_bReal)
    m_reals[index] = static_cast<float>(value);
  else
    m_ints[index] = TruncateTo16(value);
}

void CSampleStore::ConvertKind(bool real) {
  if (real == m_bReal) return;
  if (real) {
    SampleVector<float> out(m_ints.size());
    for (size_t i = 0; i < m_ints.size(); ++i) out[i] = static_cast<float>(m_ints[i]);
    SampleVector<int16_t>().swap(m_ints);
    m_reals.swap(out);
  } else {
    SampleVector<int16_t> out(m_reals.size());
    for (size_t i = 0; i < m_reals.size(); ++i) out[i] = TruncateTo16(m_reals[i]);
    SampleVector<float>().swap(m_reals);
    m_ints.swap(out);
  }
  m_bReal = real;
}
