#pragma once
// Puts a document's sample stores back when a command that replaces them
// one by one (append, merge, the two resamplings) fails part-way, so that
// the stores never disagree with the counts, the frame range and the rates.
//
// Those commands change headers and parameters only after every store is
// done, so the stores are all there is to bring back. With the undo
// snapshot written at the start of the command, an old store is let go as
// soon as it is replaced and the snapshot gives it back; without one (batch
// runs take none, or the snapshot file could not be written) the old stores
// are kept in memory until the command ends.

#include <cstddef>
#include <string>
#include <vector>

#include "c3d/Channels.h"

class CEditorDoc;

class CStoreRecovery {
 public:
  // `takeSnapshot`: writes the document's undo snapshot now (the menu forms
  // of the commands, which record undo).
  CStoreRecovery(CEditorDoc& doc, bool takeSnapshot);

  // Replaces the samples of an analog channel or a point (each store at
  // most once per command).
  void ReplaceAnalog(size_t channel, CSampleStore&& fresh);
  void ReplacePoint(size_t point, CSampleStore&& fresh);

  // Removes channels and points added since the start, and brings back
  // every store replaced so far. False when the snapshot could not be read.
  bool Restore();

  // Restore, then show `message`. An undo record that needed the snapshot
  // overwritten at the start is void.
  void Abandon(const std::string& message);

 private:
  struct CKept {
    bool m_bPoint;
    size_t m_nIndex;
    CSampleStore m_store;
  };
  void Replace(bool point, size_t index, CSampleStore&& fresh);

  CEditorDoc& m_doc;
  bool m_bWroteSnapshot;
  bool m_bSnapshot;
  size_t m_nAnalog;
  size_t m_nPoints;
  bool m_bReplaced = false;
  std::vector<CKept> m_kept;
};
