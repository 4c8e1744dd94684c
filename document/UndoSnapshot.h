#pragma once
// The undo snapshot file of a document: a private temporary file (name
// starting with "c3d") that holds the counts, the point rate and every sample
// store, so that snapshot-based undo kinds can restore the data.
//
// Layout (little-endian, floats in memory form):
//   0  u16 analog channels    2  u16 points    4  u16 frames
//   6  u16 samples per frame  8  f32 point rate
//   128.. every analog store in channel order, then every point store
//         (frames x 4 words), samples exactly as held in memory.

#include <cstddef>
#include <cstdint>
#include <string>

class CC3d;
class CSampleStore;

// The five header fields of a snapshot.
struct CSnapshotHeader {
  int m_nAnalog = 0;
  int m_nPoints = 0;
  int m_nFrames = 0;
  int m_nSamplesPerFrame = 0;
  float m_fRate = 0.0f;
};

class CUndoSnapshot {
 public:
  static constexpr int64_t kDataOffset = 128;

  CUndoSnapshot() = default;
  ~CUndoSnapshot();
  CUndoSnapshot(const CUndoSnapshot&) = delete;
  CUndoSnapshot& operator=(const CUndoSnapshot&) = delete;

  // Creates and opens the temporary file; false when it cannot be made.
  bool Create();
  // Closes the file and deletes it.
  void Destroy();
  bool IsOpen() const { return m_fd >= 0; }
  const std::string& Path() const { return m_strPath; }

  // Writes the snapshot of `c3d`. On any failure (no file, a count that does
  // not fit 16 bits, a failed write) the snapshot is marked invalid, so that
  // no restore ever reads a half-written or stale file.
  bool Write(const CC3d& c3d);

  // True after a complete Write, until the next Write, Invalidate or Destroy.
  bool IsValid() const { return m_fd >= 0 && m_bValid; }
  void Invalidate() { m_bValid = false; }
  // Storage kind of the samples of the last complete Write.
  bool IsReal() const { return m_bReal; }
  size_t SampleBytes() const { return m_bReal ? 4 : 2; }

  // Reads the five header fields. False when the snapshot is not valid or
  // cannot be read.
  bool ReadHeader(CSnapshotHeader& header) const;
  // Reads `count` samples starting at byte `offset` into `store`, which is
  // made `count` samples of the snapshot's storage kind. False when the bytes
  // cannot be read or memory cannot be had; `store` is then unspecified.
  bool ReadSamples(int64_t offset, size_t count, CSampleStore& store) const;

 private:
  bool ReadAt(int64_t offset, void* buffer, size_t count) const;
  bool WriteAt(int64_t offset, const void* data, size_t count);

  int m_fd = -1;
  std::string m_strPath;
  bool m_bValid = false;
  bool m_bReal = false;
};
