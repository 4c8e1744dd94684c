// Number encodings of the three processor formats.
#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <cstring>
#include <iterator>
#include <vector>

#include "c3d/Encoding.h"
#include "c3d/SampleCodec.h"

namespace {

float FromBytes(unsigned char b0, unsigned char b1, unsigned char b2, unsigned char b3, int processor) {
  const unsigned char bytes[4] = {b0, b1, b2, b3};
  return FloatFromFile(bytes, processor);
}

std::array<unsigned char, 4> MemoryBytes(float f) {
  std::array<unsigned char, 4> b;
  std::memcpy(b.data(), &f, 4);
  return b;
}

}  // namespace

TEST(Encoding, DecOneReadsAndWritesBack) {
  EXPECT_EQ(FromBytes(0x80, 0x40, 0x00, 0x00, PROCESSOR_DEC), 1.0f);
  unsigned char out[4];
  FloatToFile(1.0f, PROCESSOR_DEC, out);
  EXPECT_EQ(out[0], 0x80);
  EXPECT_EQ(out[1], 0x40);
  EXPECT_EQ(out[2], 0x00);
  EXPECT_EQ(out[3], 0x00);
}

TEST(Encoding, ZeroStaysZeroButNegativeZeroIsAdjusted) {
  for (int p : {PROCESSOR_PC, PROCESSOR_DEC, PROCESSOR_SGI}) {
    unsigned char out[4];
    FloatToFile(0.0f, p, out);
    EXPECT_EQ(out[0] | out[1] | out[2] | out[3], 0) << p;
    EXPECT_EQ(MemoryBytes(FromBytes(0, 0, 0, 0, p)), MemoryBytes(0.0f));
  }
  // -0.0 is 00 00 00 80 in memory: DEC writes 00 81 00 00.
  unsigned char out[4];
  FloatToFile(-0.0f, PROCESSOR_DEC, out);
  EXPECT_EQ(out[1], 0x81);
}

TEST(Encoding, DecExponentAdjustmentWrapsWithinTheByte) {
  // Exponent byte 00 with other bytes set: memory byte 3 becomes FF.
  auto mem = MemoryBytes(FromBytes(0x12, 0x00, 0x34, 0x56, PROCESSOR_DEC));
  EXPECT_EQ(mem[3], 0xFF);
  EXPECT_EQ(mem[2], 0x12);
  EXPECT_EQ(mem[0], 0x34);
  EXPECT_EQ(mem[1], 0x56);
}

TEST(Encoding, EveryPairRoundTripsThroughTheArrayConversion) {
  const float values[] = {1.0f, -2.5f, 1234.5678f, 3.0e-5f, -7.0e6f};
  for (int from : {PROCESSOR_PC, PROCESSOR_DEC, PROCESSOR_SGI}) {
    for (int to : {PROCESSOR_PC, PROCESSOR_DEC, PROCESSOR_SGI}) {
      float buffer[5];
      std::memcpy(buffer, values, sizeof buffer);
      ConvertFloatArray(PROCESSOR_PC, from, buffer, 5);
      ConvertFloatArray(from, to, buffer, 5);
      ConvertFloatArray(to, PROCESSOR_PC, buffer, 5);
      for (int i = 0; i < 5; ++i) EXPECT_EQ(buffer[i], values[i]) << from << "->" << to;
      // And the file form read directly agrees with the array conversion.
      unsigned char file[4];
      FloatToFile(values[1], to, file);
      EXPECT_EQ(FloatFromFile(file, to), values[1]);
    }
  }
}

TEST(Encoding, SgiSwapsIntegersOthersDoNot) {
  const unsigned char bytes[2] = {0x01, 0x02};
  EXPECT_EQ(Int16FromFile(bytes, PROCESSOR_SGI), 0x0102);
  EXPECT_EQ(Int16FromFile(bytes, PROCESSOR_DEC), 0x0201);
  EXPECT_EQ(Int16FromFile(bytes, PROCESSOR_PC), 0x0201);
  EXPECT_EQ(SwapInt16(static_cast<uint16_t>(0x1234)), 0x3412);
}

TEST(Encoding, GuessFromFrameRate) {
  auto guess = [](float rate, int writtenAs) {
    unsigned char b[4];
    FloatToFile(rate, writtenAs, b);
    return GuessProcessorFromRate(b);
  };
  EXPECT_EQ(guess(60.0f, PROCESSOR_PC), PROCESSOR_PC);
  EXPECT_EQ(guess(1.0f, PROCESSOR_PC), PROCESSOR_PC);       // 1.0 accepted
  EXPECT_NE(guess(1000.0f, PROCESSOR_PC), PROCESSOR_PC);    // 1000.0 is not
  EXPECT_EQ(guess(120.0f, PROCESSOR_DEC), PROCESSOR_DEC);
  EXPECT_EQ(guess(50.0f, PROCESSOR_SGI), PROCESSOR_SGI);
  const unsigned char nan[4] = {0x00, 0x00, 0xC0, 0x7F};
  EXPECT_EQ(GuessProcessorFromRate(nan), PROCESSOR_NONE);
  EXPECT_STREQ(ProcessorName(0), "No Format");
  EXPECT_STREQ(ProcessorName(PROCESSOR_DEC), "DEC Format");
}

// The data section converts whole buffers at once; it must give exactly the
// bytes of the value-by-value rules, including zeros and exponent wrap-around.
TEST(Encoding, BulkSampleConversionMatchesTheValueRules) {
  std::vector<unsigned char> bytes;
  uint32_t state = 12345;
  for (int i = 0; i < 4096; ++i) {
    state = state * 1103515245u + 12345u;
    bytes.push_back(static_cast<unsigned char>(state >> 16));
  }
  // A few special patterns: zero, DEC exponent byte 0 and 0xFF.
  const unsigned char special[] = {0, 0, 0, 0, 0x12, 0x00, 0x34, 0x56, 0x00, 0xFF, 0x00, 0x00, 0x00, 0x80, 0, 0};
  bytes.insert(bytes.begin(), std::begin(special), std::end(special));
  const size_t count = bytes.size() / 4;
  for (int p : {PROCESSOR_PC, PROCESSOR_DEC, PROCESSOR_SGI}) {
    std::vector<unsigned char> bulk = bytes;
    SamplesFromFile(bulk.data(), count, true, p);
    for (size_t i = 0; i < count; ++i) {
      float one = FloatFromFile(&bytes[4 * i], p);
      ASSERT_EQ(std::memcmp(&one, &bulk[4 * i], 4), 0) << "processor " << p << " value " << i;
    }
    std::vector<unsigned char> back = bulk;
    SamplesToFile(back.data(), count, true, p);
    for (size_t i = 0; i < count; ++i) {
      float memory;
      std::memcpy(&memory, &bulk[4 * i], 4);
      unsigned char one[4];
      FloatToFile(memory, p, one);
      ASSERT_EQ(std::memcmp(one, &back[4 * i], 4), 0) << "processor " << p << " value " << i;
    }
    std::vector<unsigned char> words = bytes;
    SamplesFromFile(words.data(), bytes.size() / 2, false, p);
    for (size_t i = 0; i < bytes.size() / 2; ++i) {
      int16_t one = Int16FromFile(&bytes[2 * i], p);
      ASSERT_EQ(std::memcmp(&one, &words[2 * i], 2), 0) << "processor " << p << " word " << i;
    }
  }
}
