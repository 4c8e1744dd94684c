#pragma once
// Number encodings of the three processor formats a C3D file may use.
// In memory every number is held in the PC form (little-endian integers,
// little-endian IEEE floats); conversion happens only while bytes move
// between memory and a file.

#include <cstdint>

enum ProcessorType : int {
  PROCESSOR_NONE = 0,  // unknown / not one of the three below
  PROCESSOR_PC = 1,    // little-endian integers, IEEE little-endian floats
  PROCESSOR_DEC = 2,   // little-endian integers, DEC F-floating
  PROCESSOR_SGI = 3,   // big-endian integers, IEEE big-endian floats
};

// The processor byte of the parameter-section header is 83 + ProcessorType.
constexpr int kProcessorByteBase = 83;

// True for PC, DEC and SGI.
bool IsKnownProcessor(int processor);

// "PC Format", "DEC Format", "SGI Format" or "No Format".
const char* ProcessorName(int processor);

// Exchanges the two bytes of a 16-bit value.
uint16_t SwapInt16(uint16_t value);
int16_t SwapInt16(int16_t value);

// 16-bit value as stored in a file of `processor` <-> memory form
// (only SGI swaps).
int16_t Int16FromFile(const unsigned char bytes[2], int processor);
void Int16ToFile(int16_t value, int processor, unsigned char out[2]);

// Four file bytes -> memory float, and back.
float FloatFromFile(const unsigned char bytes[4], int processor);
void FloatToFile(float value, int processor, unsigned char out[4]);

// Converts `count` consecutive 4-byte values in place from one processor
// encoding to another. Nothing happens when from == to or count <= 0.
void ConvertFloatArray(int from, int to, void* array, int count);

// Guesses the processor from the four header bytes of the frame rate:
// the first of PC, DEC, SGI for which 1.0 <= rate < 1000.0, else
// PROCESSOR_NONE.
int GuessProcessorFromRate(const unsigned char rateBytes[4]);
