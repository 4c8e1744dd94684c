#include "c3d/Encoding.h"

#include <cmath>
#include <cstring>
#include <initializer_list>

namespace {

// One row of the conversion table: out[perm[i]] = in[i], then, unless all
// four bytes are zero, out[exponentByte] += adjust (mod 256).
struct ConversionRule {
  int perm[4];
  int adjust;
  int exponentByte;
};

// Indexed [from - 1][to - 1].
const ConversionRule kRules[3][3] = {
    // from PC
    {{{0, 1, 2, 3}, 0, 3}, {{2, 3, 0, 1}, +1, 1}, {{3, 2, 1, 0}, 0, 0}},
    // from DEC
    {{{2, 3, 0, 1}, -1, 3}, {{0, 1, 2, 3}, 0, 1}, {{1, 0, 3, 2}, -1, 0}},
    // from SGI
    {{{3, 2, 1, 0}, 0, 3}, {{1, 0, 3, 2}, +1, 1}, {{0, 1, 2, 3}, 0, 0}},
};

void ConvertFour(const unsigned char* in, unsigned char* out, const ConversionRule& rule) {
  unsigned char tmp[4];
  for (int i = 0; i < 4; ++i) tmp[rule.perm[i]] = in[i];
  if (rule.adjust != 0 && (tmp[0] | tmp[1] | tmp[2] | tmp[3]) != 0)
    tmp[rule.exponentByte] = static_cast<unsigned char>(tmp[rule.exponentByte] + rule.adjust);
  std::memcpy(out, tmp, 4);
}

bool RateAcceptable(float rate) { return rate >= 1.0f && rate < 1000.0f; }

}  // namespace

bool IsKnownProcessor(int processor) {
  return processor == PROCESSOR_PC || processor == PROCESSOR_DEC || processor == PROCESSOR_SGI;
}

const char* ProcessorName(int processor) {
  switch (processor) {
    case PROCESSOR_PC: return "PC Format";
    case PROCESSOR_DEC: return "DEC Format";
    case PROCESSOR_SGI: return "SGI Format";
    default: return "No Format";
  }
}

uint16_t SwapInt16(uint16_t value) { return static_cast<uint16_t>((value >> 8) | (value << 8)); }

int16_t SwapInt16(int16_t value) {
  return static_cast<int16_t>(SwapInt16(static_cast<uint16_t>(value)));
}

int16_t Int16FromFile(const unsigned char bytes[2], int processor) {
  uint16_t v = processor == PROCESSOR_SGI ? static_cast<uint16_t>((bytes[0] << 8) | bytes[1])
                                          : static_cast<uint16_t>(bytes[0] | (bytes[1] << 8));
  return static_cast<int16_t>(v);
}

void Int16ToFile(int16_t value, int processor, unsigned char out[2]) {
  uint16_t v = static_cast<uint16_t>(value);
  if (processor == PROCESSOR_SGI) {
    out[0] = static_cast<unsigned char>(v >> 8);
    out[1] = static_cast<unsigned char>(v & 0xff);
  } else {
    out[0] = static_cast<unsigned char>(v & 0xff);
    out[1] = static_cast<unsigned char>(v >> 8);
  }
}

float FloatFromFile(const unsigned char bytes[4], int processor) {
  unsigned char mem[4];
  if (IsKnownProcessor(processor))
    ConvertFour(bytes, mem, kRules[processor - 1][PROCESSOR_PC - 1]);
  else
    std::memcpy(mem, bytes, 4);
  float value;
  std::memcpy(&value, mem, 4);
  return value;
}

void FloatToFile(float value, int processor, unsigned char out[4]) {
  unsigned char mem[4];
  std::memcpy(mem, &value, 4);
  if (IsKnownProcessor(processor))
    ConvertFour(mem, out, kRules[PROCESSOR_PC - 1][processor - 1]);
  else
    std::memcpy(out, mem, 4);
}

void ConvertFloatArray(int from, int to, void* array, int count) {
  if (from == to || count <= 0 || !IsKnownProcessor(from) || !IsKnownProcessor(to)) return;
  const ConversionRule& rule = kRules[from - 1][to - 1];
  auto* p = static_cast<unsigned char*>(array);
  for (int i = 0; i < count; ++i, p += 4) ConvertFour(p, p, rule);
}

int GuessProcessorFromRate(const unsigned char rateBytes[4]) {
  for (int processor : {PROCESSOR_PC, PROCESSOR_DEC, PROCESSOR_SGI}) {
    float rate = FloatFromFile(rateBytes, processor);
    if (RateAcceptable(rate)) return processor;  // NaN fails every test
  }
  return PROCESSOR_NONE;
}
