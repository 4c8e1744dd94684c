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

#include <string>

class CC3d;

class CUndoSnapshot {
 public:
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

  // Writes the snapshot of `c3d`.
  bool Write(const CC3d& c3d);

  // Restore helpers are declared by the document implementation.

 private:
  int m_fd = -1;
  std::string m_strPath;
};
