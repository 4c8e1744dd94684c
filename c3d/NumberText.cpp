#include "c3d/NumberText.h"

#include <cstdio>
#include <cstdlib>

namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// An optional "-" and then digits only.
bool IsIntegerText(const std::string& text) {
  if (text.empty() || !(IsDigit(text[0]) || text[0] == '-')) return false;
  for (size_t i = 1; i < text.size(); ++i)
    if (!IsDigit(text[i])) return false;
  return true;
}

// Accepts the text when the number, kept to the type's width, prints back
// as the same text: out-of-range numbers, "-0" and leading zeros fail.
template <typename T>
bool ParseIntegerText(const std::string& text, int& value) {
  value = 0;
  if (!IsIntegerText(text) || text.size() > 12) return false;
  const T narrowed = static_cast<T>(std::atol(text.c_str()));
  char back[16];
  std::snprintf(back, sizeof back, "%d", static_cast<int>(narrowed));
  if (text != back) return false;
  value = narrowed;
  return true;
}

}  // namespace

bool ParseByteText(const std::string& text, int& value) { return ParseIntegerText<signed char>(text, value); }

bool ParseShortText(const std::string& text, int& value) { return ParseIntegerText<short>(text, value); }

bool ParseRealText(const std::string& text, double& value) {
  value = 0.0;
  if (text.empty()) return false;
  int dots = 0;
  bool digit = false;
  for (size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if (c == '.')
      ++dots;
    else if (IsDigit(c))
      digit = true;
    else if (!(i == 0 && c == '-'))
      return false;
  }
  if (dots > 1 || !digit) return false;
  value = std::strtod(text.c_str(), nullptr);
  return true;
}
