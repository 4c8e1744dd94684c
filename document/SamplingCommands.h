#pragma once
// Sampling Frequency and Analog to Video Ratio: resampling every analog
// channel and 3D point to a new frame rate (the recording keeps its
// duration, the number of frames changes), or the analog channels to a new
// number of samples per frame (the frames stay). Both also come in a batch
// form, which takes no undo snapshot.

#include <string>

class CEditorDoc;

// Change rate: resamples to `newRate` Hz. The menu form (`batch` false)
// writes the undo snapshot first and records UNDO_SAMPLING_FREQUENCY.
// Failures are shown through the document's prompt; a failure part-way
// leaves the document as it was. True when the document changed.
bool ChangeRate(CEditorDoc& doc, float newRate, bool batch);

// Change ratio: resamples every analog channel to `newRatio` samples per
// frame; records UNDO_AV_RATIO in the menu form. A ratio of 0 is refused
// with a message; the current ratio changes nothing.
bool ChangeRatio(CEditorDoc& doc, int newRatio, bool batch);

// The menu commands: both need Edit Mode, Analog to Video Ratio also a file
// whose ratio is not 0.
bool CanChangeRate(const CEditorDoc& doc);
bool CanChangeRatio(const CEditorDoc& doc);

// What the "Sampling Frequency" dialog edits, in either of its two modes.
// The edits keep only values that the commands accept: a frequency above 0
// and a ratio from 1 to 65535.
class CSamplingRequest {
 public:
  enum Mode { MODE_FREQUENCY = 0, MODE_RATIO = 1 };

  // Filled from the document: its frame rate and ratio.
  CSamplingRequest(Mode mode, const CEditorDoc& doc);
  CSamplingRequest(Mode mode, float frequency, int ratio);

  Mode GetMode() const { return m_mode; }
  int CurrentRatio() const { return m_nCurrentRatio; }
  double Frequency() const { return m_fFrequency; }
  int Ratio() const { return m_nRatio; }

  // Takes a typed value; false when the text is no value above 0 (for the
  // ratio: no whole number from 1 to 65535), the previous value staying.
  bool SetFrequencyText(const std::string& text);
  bool SetRatioText(const std::string& text);
  // The values as the edits show them.
  std::string FrequencyText() const;
  std::string RatioText() const;

  // "Sampling Frequency" or "Analog to Video Ratio"; "Hz." or nothing.
  std::string ValueCaption() const;
  std::string UnitText() const;
  // "Analog Sampling Frequency is %.2f Hz." for ratio x frequency.
  std::string InfoLine() const;

  // OK is taken only with a frequency above 0 and, in ratio mode, a ratio.
  bool CanAccept() const;

  // Runs the matching command on the document with the dialog's value
  // (Change rate only when the frequency differs from the file's).
  bool Apply(CEditorDoc& doc) const;

 private:
  Mode m_mode;
  int m_nCurrentRatio;
  double m_fFrequency;
  int m_nRatio;
};
