#pragma once
// The copy buffer: one per application, shared by every open document,
// emptied only by being overwritten. Copy fills it, Paste reads it, in both
// views of any document.

#include <optional>
#include <vector>

#include "c3d/Param.h"

enum CopyKind {
  COPY_EMPTY = -1,
  COPY_GROUP = 0,
  COPY_PARAMETER = 1,
  COPY_ANALOG = 2,  // a segment of one analog channel
  COPY_POINT = 3,   // a segment of one 3D point
};

struct CopyBuffer {
  int m_nKind = COPY_EMPTY;  // CopyKind
  std::optional<CGroup> m_group;
  std::optional<CParam> m_param;
  // Segments: the values frame after frame, m_nFrames frames of
  // m_nValuesPerFrame values each (the analog samples per frame, or 4 for a
  // 3D point: X, Y, Z and the residual word). Integer samples are held as
  // their float value.
  std::vector<float> m_values;
  int m_nFrames = 0;
  int m_nValuesPerFrame = 0;
  // 3D segments: the working point scale and storage kind of the file they
  // came from, so that a Paste into a file of other units (the other storage
  // kind, another point scale) carries coordinates and residuals over in
  // real units. A scale of 0 means unknown: the values go in as they are.
  float m_fPointScale = 0.0f;
  bool m_bRealPoints = false;

  bool IsEmpty() const { return m_nKind == COPY_EMPTY; }
  void Clear() { *this = CopyBuffer(); }
};
