#pragma once
// Shifting stored analog samples so that their physical values
// ((stored - offset) x scales) start from a chosen baseline: force-plate
// channels zeroed over the FORCE_PLATFORM:ZERO range, the other channels
// zeroed on their mean, and one common ANALOG:OFFSET for all channels.

#include <string>
#include <vector>

class CC3d;

// What FORCE_PLATFORM says about zeroing the plates.
struct CForcePlateZero {
  int m_nPlates = 0;  // FORCE_PLATFORM:USED (0 when it is 0 or less)
  int m_nStart = 0;   // baseline range, 0-based sample indexes
  int m_nEnd = 0;
};

// Reads FORCE_PLATFORM:USED, TYPE and ZERO. Returns the message that ends
// the command ("Could not find the FORCE_PLATFORM:USED parameter ...",
// "Incorrect Zero Start and End Values" and the like), or an empty text when
// zeroing may go on; with no plates (USED of 0 or less) m_nPlates is 0 and
// the text is empty.
std::string CheckForcePlateZero(const CC3d& c3d, CForcePlateZero& zero);

// FORCE_PLATFORM:CHANNEL element indexes of a plate (0-based), by the same
// map as the force-plate channel look-up: types 1, 2 and 4 have six
// channels, type 3 eight, other types none.
std::vector<int> ForcePlateChannelElements(const CC3d& c3d, int plate);

// Zeroes the channels of each listed plate (0-based, in list order; plates
// not below `zero.m_nPlates` are skipped): every channel's samples are
// shifted so that the mean of samples m_nStart .. m_nEnd lands on the
// channel's offset. A range that runs past a channel's last sample is cut
// at that sample; a channel shorter than its start is left alone.
void ZeroForcePlateChannels(CC3d& c3d, const CForcePlateZero& zero, const std::vector<int>& plates);

// Shifts every analog channel that no force plate uses so that its mean
// lands on its offset (physical mean 0).
void ZeroAnalogChannels(CC3d& c3d);

// Gives every channel the analog offset `offset` (ANALOG:OFFSET values set
// from "%.8f") and shifts its samples by the change, so the physical values
// stay the same. The shift is the change of the offset as the parameter
// holds it (an integer parameter keeps whole numbers).
void SetAnalogOffsetOfChannels(CC3d& c3d, float offset);
