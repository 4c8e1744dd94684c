#include "document/StoreRecovery.h"

#include <utility>

#include "document/EditorDoc.h"

CStoreRecovery::CStoreRecovery(CEditorDoc& doc, bool takeSnapshot)
    : m_doc(doc),
      m_bWroteSnapshot(takeSnapshot),
      m_bSnapshot(takeSnapshot && doc.SaveUndoSnapshot()),
      m_nAnalog(doc.m_c3d.m_analogs.size()),
      m_nPoints(doc.m_c3d.m_points.size()) {
  // Room for every original store up front: keeping one must not fail
  // after it has been taken out of the model.
  if (!m_bSnapshot) m_kept.reserve(m_nAnalog + m_nPoints);
}

void CStoreRecovery::ReplaceAnalog(size_t channel, CSampleStore&& fresh) {
  Replace(false, channel, std::move(fresh));
}

void CStoreRecovery::ReplacePoint(size_t point, CSampleStore&& fresh) {
  Replace(true, point, std::move(fresh));
}

void CStoreRecovery::Replace(bool point, size_t index, CSampleStore&& fresh) {
  CC3d& c3d = m_doc.m_c3d;
  CSampleStore& store = point ? static_cast<CSampleStore&>(c3d.m_points[index])
                              : static_cast<CSampleStore&>(c3d.m_analogs[index]);
  m_bReplaced = true;
  const bool original = point ? index < m_nPoints : index < m_nAnalog;
  if (!m_bSnapshot && original) m_kept.push_back(CKept{point, index, std::move(store)});
  store = std::move(fresh);
}

bool CStoreRecovery::Restore() {
  CC3d& c3d = m_doc.m_c3d;
  if (c3d.m_analogs.size() > m_nAnalog)
    c3d.m_analogs.erase(c3d.m_analogs.begin() + static_cast<std::ptrdiff_t>(m_nAnalog), c3d.m_analogs.end());
  if (c3d.m_points.size() > m_nPoints)
    c3d.m_points.erase(c3d.m_points.begin() + static_cast<std::ptrdiff_t>(m_nPoints), c3d.m_points.end());
  if (!m_bReplaced) return true;
  if (m_bSnapshot) return RestoreSamples(c3d, m_doc.m_undoFile);
  for (CKept& k : m_kept) {
    CSampleStore& store = k.m_bPoint ? static_cast<CSampleStore&>(c3d.m_points[k.m_nIndex])
                                     : static_cast<CSampleStore&>(c3d.m_analogs[k.m_nIndex]);
    store = std::move(k.m_store);
  }
  m_kept.clear();
  return true;
}

void CStoreRecovery::Abandon(const std::string& message) {
  // A restore that could not read the snapshot leaves stores that may not
  // be what was saved: never let the document pass for unchanged.
  if (!Restore()) m_doc.SetModifiedFlag(true);
  if (m_bWroteSnapshot && UndoKindUsesSnapshot(m_doc.m_nUndoKind)) m_doc.m_nUndoKind = UNDO_NONE;
  m_doc.Prompt().ShowMessage(message);
}
