#include "views/ListRange.h"

#include <cerrno>
#include <cstdlib>

namespace {

// The typed number as an index, or -1 when the text is no whole number.
long long IndexFromText(const std::string& text, int firstFrame) {
  const char* begin = text.c_str();
  while (*begin == ' ' || *begin == '\t') ++begin;
  if (*begin == '\0') return -1;
  char* end = nullptr;
  errno = 0;
  const long long number = std::strtoll(begin, &end, 10);
  while (*end == ' ' || *end == '\t') ++end;
  if (errno != 0 || *end != '\0') return -1;
  return number - firstFrame;
}

}  // namespace

CListRange ListRangeFromNumbers(const std::string& firstText, const std::string& lastText,
                                int firstFrame, int frameCount) {
  CListRange range;
  const long long first = IndexFromText(firstText, firstFrame);
  const long long last = IndexFromText(lastText, firstFrame);
  range.m_nFirst = (first < 0 || first >= frameCount) ? 0 : static_cast<int>(first);
  range.m_nLast = (last < 0 || last >= frameCount || last < range.m_nFirst)
                      ? frameCount - 1
                      : static_cast<int>(last);
  return range;
}
