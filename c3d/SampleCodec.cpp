#include "c3d/SampleCodec.h"

#include <bit>
#include <cstdint>
#include <cstring>

#include "c3d/Encoding.h"

// The memory form is little-endian, as the host's own numbers must be.
static_assert(std::endian::native == std::endian::little);

namespace {

inline uint32_t Load32(const unsigned char* p) {
  uint32_t v;
  std::memcpy(&v, p, 4);
  return v;
}

inline void Store32(unsigned char* p, uint32_t v) { std::memcpy(p, &v, 4); }

inline uint32_t Rotate16(uint32_t v) { return (v << 16) | (v >> 16); }

void SwapWords(unsigned char* buffer, size_t count) {
  for (size_t i = 0; i < count; ++i) {
    unsigned char* p = buffer + 2 * i;
    unsigned char t = p[0];
    p[0] = p[1];
    p[1] = t;
  }
}

void ReverseFloats(unsigned char* buffer, size_t count) {
  for (size_t i = 0; i < count; ++i) {
    unsigned char* p = buffer + 4 * i;
    Store32(p, __builtin_bswap32(Load32(p)));
  }
}

// The DEC rules on a little-endian load of the four bytes: the halves trade
// places and the exponent byte (memory byte 3) moves by one, within its byte,
// unless the value is all zero.
void DecToMemory(unsigned char* buffer, size_t count) {
  for (size_t i = 0; i < count; ++i) {
    unsigned char* p = buffer + 4 * i;
    uint32_t v = Rotate16(Load32(p));
    if (v != 0) v -= 1u << 24;
    Store32(p, v);
  }
}

void MemoryToDec(unsigned char* buffer, size_t count) {
  for (size_t i = 0; i < count; ++i) {
    unsigned char* p = buffer + 4 * i;
    uint32_t v = Load32(p);
    if (v != 0) v += 1u << 24;
    Store32(p, Rotate16(v));
  }
}

}  // namespace

void SamplesFromFile(unsigned char* buffer, size_t count, bool real, int processor) {
  if (!real) {
    if (processor == PROCESSOR_SGI) SwapWords(buffer, count);
    return;
  }
  if (processor == PROCESSOR_SGI)
    ReverseFloats(buffer, count);
  else if (processor == PROCESSOR_DEC)
    DecToMemory(buffer, count);
}

void SamplesToFile(unsigned char* buffer, size_t count, bool real, int processor) {
  if (!real) {
    if (processor == PROCESSOR_SGI) SwapWords(buffer, count);
    return;
  }
  if (processor == PROCESSOR_SGI)
    ReverseFloats(buffer, count);
  else if (processor == PROCESSOR_DEC)
    MemoryToDec(buffer, count);
}
