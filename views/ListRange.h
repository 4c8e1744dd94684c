#pragma once
// The frame range of the editor view's data list: typed as frame numbers,
// kept as 0-based frame indexes. A start outside the file becomes the first
// frame; an end outside the file, or before the start, becomes the last.

#include <string>

struct CListRange {
  int m_nFirst = 0;
  int m_nLast = -1;
};

// `firstText`/`lastText` are the typed frame numbers (text that is no whole
// number counts as outside the file). `firstFrame` is the file's first frame
// number and `frameCount` its number of frames.
CListRange ListRangeFromNumbers(const std::string& firstText, const std::string& lastText,
                                int firstFrame, int frameCount);
