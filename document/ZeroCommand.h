#pragma once
// Zero FP Channels, Zero Analog Channels and Analog Storage (the common
// analog offset): the menu commands with their checks and undo, and the
// plain operations that the batch processor and the DST import call.

#include <string>
#include <vector>

class CEditorDoc;

// ---- Zero FP Channels -------------------------------------------------------
// Before the Force Plates dialog: checks FORCE_PLATFORM and shows the
// message that ends the command. Returns the number of plates the dialog
// lists (0: the command ends).
int PrepareZeroForcePlates(CEditorDoc& doc);
// The dialog's entries: "Force Plate 1" ...
std::vector<std::string> ForcePlateNames(int plates);
// After the dialog: takes the undo snapshot, zeroes the chosen plates
// (0-based, in the chosen order), marks the document modified.
void RunZeroForcePlatesCommand(CEditorDoc& doc, const std::vector<int>& plates);
// The batch form: silent, no snapshot; does nothing (and returns false)
// where the menu command would show a message or has no plate to offer.
// With `allPlates` every plate is zeroed.
bool ZeroForcePlates(CEditorDoc& doc, bool allPlates, const std::vector<int>& plates);

// ---- Zero Analog Channels ---------------------------------------------------
// The menu command: snapshot, zeroing, refresh, undo.
void OnZeroAnalogChannels(CEditorDoc& doc);
// The shared operation: every channel that is not a force-plate channel gets
// a physical mean of 0. No snapshot, no refresh.
void ZeroAnalogChannels(CEditorDoc& doc);

// ---- Analog Storage ---------------------------------------------------------
// Before the Analog Offset dialog: checks ANALOG:OFFSET and, when its values
// differ, asks whether to go on. False ends the command. `first` receives
// the first value, `differed` whether the values differed.
bool PrepareAnalogOffset(CEditorDoc& doc, float& first, bool& differed);
// After OK: changes nothing when the values were all equal and `offset` is
// the first value; otherwise takes the snapshot and a copy of ANALOG:OFFSET,
// sets the offset and marks the document modified.
void RunAnalogOffsetCommand(CEditorDoc& doc, float offset, float first, bool differed);
// The shared operation: every channel gets `offset`, its samples shifted so
// the physical values stay the same. No snapshot, no refresh.
void SetAnalogOffset(CEditorDoc& doc, float offset);

// Enabled while Edit Mode is on and the file has analog channels.
bool CanZeroAnalog(const CEditorDoc& doc);
