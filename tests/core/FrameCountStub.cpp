// The frame count belongs to the file reader, which is not in this tree yet.
// This weak stand-in lets the model tests link until it is; the reader's own
// definition replaces it as soon as it is linked in.
#include "c3d/C3d.h"

__attribute__((weak)) int CC3d::FrameCount() const {
  return static_cast<int>(m_header.m_nLastFrame) - static_cast<int>(m_header.m_nFirstFrame) + 1;
}
