#pragma once
// New and deleted channels: New Analog Channel (the Add Analog dialog), New
// 3D Marker (the Add 3D Marker dialog) and Delete of the selected channel,
// each keeping the ANALOG, POINT, FORCE_PLATFORM and EMG parameters in line
// with the channel lists. The model steps are shared with the batch
// processor, which records no undo.

#include <string>
#include <vector>

#include "c3d/C3d.h"

class CEditorDoc;
class CUserPrompt;

// The Add Analog dialog.
struct CAddAnalogRequest {
  enum FillType { VALUE = 0, SINE_WAVE = 1, SQUARE_WAVE = 2 };
  int m_nFillType = VALUE;
  float m_fMin = 2047.0f;
  float m_fMax = 0.0f;
  float m_fFrequency = 0.0f;
  std::string m_strName = "Name";
  std::string m_strDescription = "Description";
  float m_fScale = 1.0f;
  float m_fOffset = 2047.0f;
  std::string m_strUnits = "u";

  static const std::vector<std::string>& FillTypeNames();
  bool WaveChosen() const { return m_nFillType != VALUE; }
  // OK: a name, and for a wave a frequency above 0 and Min. below Max.;
  // refusals are silent.
  bool Ok(CUserPrompt& prompt) const;
};

// The Add 3D Marker dialog.
struct CAdd3DMarkerRequest {
  enum FillType { SCALED = 0, UNSCALED = 1 };
  int m_nFillType = SCALED;
  float m_fX = 0.0f, m_fY = 0.0f, m_fZ = 0.0f;
  std::string m_strName = "N";
  std::string m_strDescription = "D";

  static const std::vector<std::string>& FillTypeNames();
  // OK: a name; a refusal is silent.
  bool Ok(CUserPrompt& prompt) const;
};

// Edit > New > Analog Channel and Edit > New > 3D Marker: the dialog, then
// the channel, before the selected one or at the end; undoable.
void OnNewAnalogChannel(CEditorDoc& doc);
void OnNewPoint(CEditorDoc& doc);

// The model steps. `position` is the new channel's index (at most the
// channel count). An analog channel takes its samples from the fill and its
// label, description, units, scale and offset, and every parameter indexed
// by channel gets its entry; a file without analog samples per frame gets
// one per frame. A point holds the same coordinates in every frame.
bool InsertAnalogChannel(CC3d& c3d, const CAddAnalogRequest& request, int position);
// Room for one more analog channel: at most 255 (the labels hold 255
// strings) and at most 65535 analog values per frame.
bool CanInsertAnalogChannel(const CC3d& c3d);
bool InsertPoint(CC3d& c3d, const CAdd3DMarkerRequest& request, int position);

// Delete of the selected channel (no frames selected), after asking; an
// analog channel that a force plate uses is cleared from
// FORCE_PLATFORM:CHANNEL after a second question.
void DeleteSelectedChannel(CEditorDoc& doc);
// Removes analog channel `channel` with its parameter entries and sets
// every FORCE_PLATFORM:CHANNEL entry naming it to 0. `saved`, when given, receives the
// parameters as they were (the slots of the undo record).
void DeleteAnalogChannelWithPlates(CC3d& c3d, int channel, SavedParams* saved);
