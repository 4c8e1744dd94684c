#pragma once
// A timed event of the header event area.

#include <cstdint>
#include <string>

class CEvent {
 public:
  std::string m_strLabel;  // at most 4 characters in the file
  float m_fTime = 0.0f;    // seconds
  int32_t m_nFrame = 0;    // frame number derived from the time
  uint8_t m_nDisplay = 0;  // display flag byte, as stored
};
