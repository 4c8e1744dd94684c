#pragma once
// Sample stores of the 3D points and analog channels. Each store is one
// contiguous, zero-initialised block of signed 16-bit integers (integer
// storage) or floats (real storage).

#include <cstddef>
#include <cstdint>
#include <vector>

#include "c3d/SampleMemory.h"

// The samples of one store. New elements made without a value are not
// zeroed (see CSampleAllocator): give resize() a value.
template <typename T>
using SampleVector = std::vector<T, CSampleAllocator<T>>;

class CSampleStore {
 public:
  bool IsReal() const { return m_bReal; }
  size_t Size() const { return m_bReal ? m_reals.size() : m_ints.size(); }

  // Discards the samples and makes `count` zero samples of the given kind
  // (within the region of a CSampleRegion scope, when one is open).
  // Throws std::bad_alloc when memory cannot be had.
  void Allocate(size_t count, bool real);
  // Keeps the first samples, new ones are zero.
  void Resize(size_t count);
  void Clear();

  // Sample as a float (integer samples widened).
  float Get(size_t index) const {
    return m_bReal ? m_reals[index] : static_cast<float>(m_ints[index]);
  }
  // Stores a value: real storage as is, integer storage truncated toward
  // zero and wrapped to 16 bits.
  void Set(size_t index, double value);

  int16_t* Ints() { return m_ints.data(); }
  const int16_t* Ints() const { return m_ints.data(); }
  float* Reals() { return m_reals.data(); }
  const float* Reals() const { return m_reals.data(); }
  SampleVector<int16_t>& IntVector() { return m_ints; }
  SampleVector<float>& RealVector() { return m_reals; }

  // Turns every sample into the other kind (integer -> float of the same
  // number; float -> truncated toward zero, wrapped to 16 bits).
  void ConvertKind(bool real);

 private:
  bool m_bReal = false;
  SampleVector<int16_t> m_ints;
  SampleVector<float> m_reals;
};

// One 3D point: frame count x 4 values (X, Y, Z, residual word).
class CVideo : public CSampleStore {
 public:
  // Filled by ComputePointRange: minimum X, Y, Z then maximum X, Y, Z.
  float m_fRange[6] = {0, 0, 0, 0, 0, 0};
};

// One analog channel: frame count x samples per frame values.
class CAnalog : public CSampleStore {
 public:
  // Filled by ComputeAnalogRange.
  float m_fMin = 0, m_fMax = 0;            // over all samples
  float m_fFirstMax = 0, m_fFirstMin = 0;  // over the first sample of each frame
};
