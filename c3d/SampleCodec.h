#pragma once
// Bulk conversion of sample buffers between a file's processor encoding and
// the memory form, in place. Same byte results as FloatFromFile/FloatToFile
// and Int16FromFile/Int16ToFile, but over whole buffers at a time, which is
// what keeps reading and saving large files fast.

#include <cstddef>

// `count` 16-bit integers (real == false) or 4-byte floats (real == true).
void SamplesFromFile(unsigned char* buffer, size_t count, bool real, int processor);
void SamplesToFile(unsigned char* buffer, size_t count, bool real, int processor);
