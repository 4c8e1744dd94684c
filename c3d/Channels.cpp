#include "c3d/Channels.h"

#include <sys/mman.h>

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

// Asks the system to back a freshly reserved block with memory in one step:
// touching a large block page by page costs far more than the zeroing itself
// on virtual machines. Systems without the request simply skip it.
namespace {

template <typename T>
void ReserveBacked(std::vector<T>& values, size_t count) {
  values.reserve(count);
  size_t bytes = count * sizeof(T);
  if (bytes < (256u << 10)) return;
#ifdef MADV_POPULATE_WRITE
  const uintptr_t page = 4096;
  uintptr_t begin = (reinterpret_cast<uintptr_t>(values.data()) + page - 1) & ~(page - 1);
  uintptr_t end = (reinterpret_cast<uintptr_t>(values.data()) + bytes) & ~(page - 1);
  if (end > begin) ::madvise(reinterpret_cast<void*>(begin), end - begin, MADV_POPULATE_WRITE);
#endif
}

}  // namespace

void CSampleStore::Allocate(size_t count, bool real) {
  Clear();
  m_bReal = real;
  if (real) {
    ReserveBacked(m_reals, count);
    m_reals.assign(count, 0.0f);
  } else {
    ReserveBacked(m_ints, count);
    m_ints.assign(count, 0);
  }
}

void CSampleStore::Resize(size_t count) {
  if (m_bReal)
    m_reals.resize(count, 0.0f);
  else
    m_ints.resize(count, 0);
}

void CSampleStore::Clear() {
  std::vector<int16_t>().swap(m_ints);
  std::vector<float>().swap(m_reals);
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
    std::vector<float> out(m_ints.size());
    for (size_t i = 0; i < m_ints.size(); ++i) out[i] = static_cast<float>(m_ints[i]);
    std::vector<int16_t>().swap(m_ints);
    m_reals.swap(out);
  } else {
    std::vector<int16_t> out(m_reals.size());
    for (size_t i = 0; i < m_reals.size(); ++i) out[i] = TruncateTo16(m_reals[i]);
    std::vector<float>().swap(m_reals);
    m_ints.swap(out);
  }
  m_bReal = real;
}
