#pragma once
// CC3d: one C3D file in memory: header, groups and parameters, one sample
// store per 3D point and per analog channel, the header events, and the
// blocks the program does not interpret (kept so that saving gives them back).
//
// The implementation is split by subject:
//   C3d.cpp            construction, prompt, memory limit
//   C3dHeader.cpp      header record and header events
//   C3dParamRecords.cpp  reading and writing the parameter section
//   C3dParameters.cpp  parameter look-ups and value accessors
//   C3dRead.cpp        Open / Close and the data section
//   C3dWrite.cpp       saving
//   C3dChannels.cpp    residuals, masks, ranges, calibration, TRIAL/EVENT upkeep
//   C3dConvert.cpp     storage conversion and the optimum point scale
//   C3dFrames.cpp      inserting and deleting frames, points and channels

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "c3d/Channels.h"
#include "c3d/Encoding.h"
#include "c3d/Event.h"
#include "c3d/Param.h"
#include "c3d/UserPrompt.h"

class CFileStream;

enum class StorageKind { Integer, Real };

// The values of the 512-byte header block that the program interprets.
struct HeaderRecord {
  uint8_t m_nParamBlock = 2;        // first parameter block, counted from 1
  uint16_t m_nPoints = 0;           // number of 3D points
  uint16_t m_nAnalogPerFrame = 0;   // analog measurements per frame (word 3)
  uint16_t m_nFirstFrame = 1;
  uint16_t m_nLastFrame = 0;
  uint16_t m_nMaxGap = 0;           // maximum interpolation gap
  float m_fScale = 0.0f;            // working scale used for integer points
  float m_fHeaderScale = 0.0f;      // copy read from / written to the header
  uint16_t m_nDataStart = 0;        // data start block, counted from 1
  uint16_t m_nSamplesPerFrame = 0;  // analog samples per frame (A to V ratio)
  float m_fFrameRate = 0.0f;        // point frame rate, Hz
  uint16_t m_nAnalogChannels = 0;   // word 3 / samples per frame, 0 if none
};

// A sample store whose real values do not fit 16-bit integer storage as
// they are (see CC3d::IntegerMisfits).
struct CIntegerMisfit {
  bool m_bPoint = false;  // a 3D point, else an analog channel
  int m_nIndex = 0;       // 0-based point or channel
  float m_fValue = 0.0f;  // the first value found that does not fit
};

// Slot arrays for the parameters that point and channel deletions save.
using SavedParams = std::vector<std::optional<CParam>>;

class CC3d {
 public:
  CC3d();
  ~CC3d();
  CC3d(const CC3d&) = delete;
  CC3d& operator=(const CC3d&) = delete;

  // Where messages go (never null; a recording prompt by default).
  void SetPrompt(CUserPrompt* prompt);
  CUserPrompt& Prompt() const { return *m_pPrompt; }

  // ---- Whole file -------------------------------------------------------
  // Reads the file at m_strFileName completely. 1 on success, 0 on failure
  // (messages shown through the prompt; everything read is discarded).
  int Open();
  // Discards everything read; the object may open a file again.
  void Close();
  bool IsOpen() const { return m_bOpen; }

  // Saves the whole model to `path`: writes a temporary file in the target's
  // folder (header, parameters, data) and renames it over the target only
  // when every byte was written and synced, so a failed save never leaves a
  // damaged file. The leading blocks are those kept from reading. Sets the header's
  // analog measurements per frame and scale copy first. On success the
  // header and POINT:DATA_START hold the new data start, and m_strFileName is
  // `path` (the saved file is the source of the next save). Returns false
  // with the reason in `error` (empty when a writer step has already shown
  // its own message).
  bool SaveToFile(const std::string& path, std::string& error);

  // ---- Header (C3dHeader.cpp) -------------------------------------------
  bool ReadHeader(CFileStream& file);
  void ReadHeaderEvents(CFileStream& file);
  bool WriteHeader(CFileStream& target);
  void WriteHeaderEvents(CFileStream& target);
  void EventFramesFromTimes();
  void EventTimesFromFrames();
  void CopyEventList(int index);

  // ---- Parameters (C3dParameters.cpp) -----------------------------------
  void ReadParameters(CFileStream& file);
  bool ReadGroupRecord(CFileStream& file, int nameLength, int groupId);
  bool ReadParamRecord(CFileStream& file, int nameLength, int groupId);
  bool WriteParameters(CFileStream& target);
  bool WriteParameterStream(CFileStream& stream);

  // Index into m_params, or -1. Names compared without regard to case.
  int FindParameter(const std::string& group, const std::string& param) const;
  CParam* FindParam(const std::string& group, const std::string& param);
  const CParam* FindParam(const std::string& group, const std::string& param) const;
  // Index into m_groups of the first group with that name, or -1.
  int FindGroup(const std::string& group) const;
  std::string GetValueText(const std::string& group, const std::string& param, int index,
                           int decimals) const;
  void SetValueText(const std::string& group, const std::string& param, int index,
                    const std::string& text);

  // ---- Reading (C3dRead.cpp) --------------------------------------------
  // The 13 captions of the header information, in display order; Open copies
  // them into m_headerLabels.
  static const std::vector<std::string>& HeaderInformationLabels();
  bool AllocateChannels();
  void FreeChannels();
  bool CheckTrialFrames() const;
  bool ReadIntegerData(CFileStream& file);
  bool ReadRealData(CFileStream& file);

  // ---- Writing (C3dWrite.cpp) -------------------------------------------
  bool WriteIntegerData(CFileStream& target);
  bool WriteRealData(CFileStream& target);

  // ---- Channel stores (C3dChannels.cpp) ---------------------------------
  int FrameCount() const;
  int PointCount() const { return static_cast<int>(m_points.size()); }
  int AnalogCount() const { return static_cast<int>(m_analogs.size()); }
  bool IsReal() const { return m_storage == StorageKind::Real; }

  float GetResidual(int point, int frame) const;
  float GetCameraMask(int point, int frame, std::string& mask) const;
  void SetResidual(int point, int frame, float residual);
  void SetCameraMask(int point, int frame, const std::string& mask);
  int FirstValidFrame(int point) const;
  int LastValidFrame(int point) const;
  void ComputePointRange(int point);
  void ComputeAnalogRange(int channel);
  bool CheckPointRange(int point, float lowX, float lowY, float lowZ, float highX, float highY,
                       float highZ) const;
  float GetAnalogScale(int channel) const;
  float GetAnalogOffset(int channel) const;
  float GetAnalogGenScale() const;
  void GetAnalogCalibration(int channel, float& offset, float& scale, float& genScale) const;
  int FindForcePlateChannel(int channel) const;
  void ClearForcePlateChannel(int element);
  void UpdateTrialFields();
  void ShiftEventTimes(int fromFrame, int frames);

  // ---- Scale and storage (C3dConvert.cpp) -------------------------------
  // Switches every sample to the other storage kind. `rescaleAnalog` is the
  // "Rescale data during INT conversion" option. Returns false (and changes
  // nothing) when a real-to-integer conversion would divide by a zero scale.
  bool ConvertStorage(bool rescaleAnalog);
  void ComputeOptimumScale();
  // In real storage: the points with a coordinate that is not a 16-bit count
  // at the working scale, then the analog channels with a sample outside the
  // 16-bit range, in store order. Empty in integer storage.
  std::vector<CIntegerMisfit> IntegerMisfits() const;
  // In real storage: changes one analog channel's samples so that they fit
  // 16 bits while (sample - ANALOG:OFFSET) x ANALOG:SCALE stays the same:
  // the samples are scaled (ANALOG:SCALE takes the inverse factor) and, for
  // offsets near the ends of the 16-bit range, moved together with the
  // offset. Each sample becomes a whole number. With an offset of 0 this is
  // exactly the rescale of ConvertStorage. False, with nothing changed,
  // when the parameters cannot record the change.
  bool FitAnalogToIntegers(int channel);

  // ---- Frames, points, channels (C3dFrames.cpp) -------------------------
  // Position: -2 after the last frame, -1 before the first, otherwise after
  // the frame with that 0-based index.
  bool InsertFrames(int count, int position, const std::vector<float>& analogValues,
                    const std::vector<float>& xValues, const std::vector<float>& yValues,
                    const std::vector<float>& zValues);
  bool InsertBlankFrames(int count, int position);
  void DeleteFrames(const std::vector<int>& frames);
  // `saved` is resized to 3 (point) or 13 (channel) slots and filled with
  // copies of the parameters about to change, unless `noSave`.
  void DeletePoint(int point, SavedParams* saved, bool noSave);
  void DeleteAnalogChannel(int channel, SavedParams* saved, bool noSave);

  // ---- Data -------------------------------------------------------------
  std::string m_strFileName;  // the file read, or last saved
  bool m_bOpen = false;
  std::vector<std::string> m_OpenErrors;
  std::vector<std::string> m_headerLabels;  // the 13 header-information captions

  HeaderRecord m_header;
  int m_nProcessor = PROCESSOR_PC;  // ProcessorType
  StorageKind m_storage = StorageKind::Integer;

  int32_t m_nParamBlocks = 0;  // byte 2 of the parameter-section header
  std::vector<CGroup> m_groups;
  std::vector<CParam> m_params;

  // The blocks before the parameter section as read (the header block
  // first); saving writes them back with the header words rewritten, so the
  // source file is not needed any more once it has been read.
  std::vector<unsigned char> m_leadingBlocks;
  int32_t m_nGapBlocks = 0;               // blocks between parameters and data
  std::vector<unsigned char> m_gapBuffer;  // m_nGapBlocks x 512 bytes
  std::vector<unsigned char> m_trailing;   // bytes kept from after the data

  std::vector<CVideo> m_points;
  std::vector<CAnalog> m_analogs;
  bool m_bChannelsAllocated = false;

  std::vector<CEvent> m_events;      // the header event list
  std::vector<CEvent> m_workEvents;  // undo copies (CopyEventList)

  // Upper bound, in bytes, for the sample stores of one file. A header that
  // asks for more is refused with "Not Enough memory to open file" instead of
  // exhausting the machine. Defaults to a share of the physical memory.
  static void SetStoreLimit(uint64_t bytes);
  static uint64_t StoreLimit();

 private:
  // Parameter records (groups, parameters, closing zero byte) appended to
  // `out`; `dataStartPosition` receives where POINT:DATA_START's value lies
  // in `out` (-1 when absent). False, with a message shown, when a record
  // cannot be written.
  bool BuildParameterRecords(std::vector<unsigned char>& out, int64_t& dataStartPosition);
  // Takes ANALOG:USED x samples per frame as the analog values per frame when
  // header word 3 disagrees and only ANALOG:USED explains the file's length.
  void ReconcileAnalogCount(int64_t fileLength);
  // Reads every frame of the data section in either storage kind.
  bool ReadData(CFileStream& file, bool real);
  // Writes every frame, the block padding and the trailing bytes.
  bool WriteData(CFileStream& target, bool real);

  int64_t m_nRecordEnd = 0;  // end of the bytes the last record read consumed
  CUserPrompt* m_pPrompt;
  CRecordingPrompt m_defaultPrompt;
};
