#pragma once
// Strict conversions of typed text to numbers, for editors that must refuse
// anything that is not plainly a number of the target type. Each returns
// false (and sets `value` to 0) when the text is refused.

#include <string>

// A signed 8-bit number written as "%d" writes it: a digit or "-" first,
// digits after, no leading zeros, -128 to 127.
bool ParseByteText(const std::string& text, int& value);
// The same for a signed 16-bit number (-32768 to 32767).
bool ParseShortText(const std::string& text, int& value);
// A digit, "-" or "." first, then digits or "."; at most one "." and at
// least one digit. No exponent, no blanks.
bool ParseRealText(const std::string& text, double& value);
