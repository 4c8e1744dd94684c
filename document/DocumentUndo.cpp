// The single-level undo of a document: recording helpers, the enabling rule
// and the Undo command, which dispatches on the recorded kind.
#include <cstdio>
#include <cstdlib>

#include "document/EditorDoc.h"

namespace {

const char kUndoFailedMessage[] =
    "The last operation cannot be undone: its undo information could not be read back.";

// POINT:RATE's first value, as text with 6 decimals, becomes the point rate.
void TakePointRateFromParameter(CC3d& c3d) {
  std::string text = c3d.GetValueText("POINT", "RATE", 0, 6);
  if (!text.empty()) c3d.m_header.m_fFrameRate = static_cast<float>(std::atof(text.c_str()));
}

}  // namespace

bool CEditorDoc::SaveUndoSnapshot() { return m_undoFile.Write(m_c3d); }

bool CEditorDoc::CanUndo() const {
  if (m_nUndoKind == UNDO_NONE) return false;
  if (UndoKindUsesSnapshot(m_nUndoKind)) return m_undoFile.IsValid();
  return true;
}

void CEditorDoc::DiscardSavedParams() { SavedParams().swap(m_pSavedParams); }

void CEditorDoc::SaveParameterCopies(const std::vector<CParamName>& names) {
  SavedParams saved(names.size());
  for (size_t i = 0; i < names.size(); ++i) {
    if (const CParam* p = m_c3d.FindParam(names[i].m_szGroup, names[i].m_szName)) saved[i] = *p;
  }
  m_pSavedParams.swap(saved);
}

bool CEditorDoc::RecordUndoValues(bool point, int channel, int first, int frames) {
  return CaptureValues(m_c3d, point, channel, first, frames, m_hUndoValues);
}

bool CEditorDoc::RestoreUndoKind(int kind) {
  switch (kind) {
    case UNDO_EDIT_GROUP:
    case UNDO_RENUMBER_GROUP: {
      if (m_nUndoIndex < 0 || m_nUndoIndex >= static_cast<int>(m_c3d.m_groups.size())) return false;
      CGroup& group = m_c3d.m_groups[static_cast<size_t>(m_nUndoIndex)];
      if (kind == UNDO_RENUMBER_GROUP) {
        const int current = std::abs(static_cast<int>(group.m_nId));
        const int saved = std::abs(static_cast<int>(m_savedGroup.m_nId));
        // The renumbering marked the parameters it moved; without the marks
        // every parameter of the current number goes back.
        const bool marked = m_pSavedParams.size() == m_c3d.m_params.size();
        for (size_t p = 0; p < m_c3d.m_params.size(); ++p) {
          CParam& param = m_c3d.m_params[p];
          if (marked ? m_pSavedParams[p].has_value() : std::abs(static_cast<int>(param.m_nGroupId)) == current)
            param.m_nGroupId = static_cast<int8_t>(saved);
        }
      }
      CopyGroup(m_savedGroup, group);
      CheckPointScale();
      m_bRebuildTree = true;
      return true;
    }
    case UNDO_NEW_GROUP:
      if (m_nUndoIndex < 0 || m_nUndoIndex >= static_cast<int>(m_c3d.m_groups.size())) return false;
      m_c3d.m_groups.erase(m_c3d.m_groups.begin() + m_nUndoIndex);
      CheckPointScale();
      m_bRebuildTree = true;
      return true;
    case UNDO_EDIT_PARAM:
    case UNDO_DELETE_PARAM:
    case UNDO_NEW_PARAM: {
      const int count = static_cast<int>(m_c3d.m_params.size());
      if (kind == UNDO_EDIT_PARAM) {
        if (!m_pSavedParam || m_nUndoIndex < 0 || m_nUndoIndex >= count) return false;
        CopyParam(*m_pSavedParam, m_c3d.m_params[static_cast<size_t>(m_nUndoIndex)]);
      } else if (kind == UNDO_DELETE_PARAM) {
        if (!m_pSavedParam) return false;
        // Back in its former place, so that the file is written as before.
        const int at = m_nUndoIndex >= 0 && m_nUndoIndex <= count ? m_nUndoIndex : count;
        m_c3d.m_params.insert(m_c3d.m_params.begin() + at, *m_pSavedParam);
      } else {
        if (m_nUndoIndex < 0 || m_nUndoIndex >= count) return false;
        m_c3d.m_params.erase(m_c3d.m_params.begin() + m_nUndoIndex);
      }
      CheckPointScale();
      TakePointRateFromParameter(m_c3d);
      m_bRebuildTree = true;
      return true;
    }
    case UNDO_VALUES:
      if (!RestoreValues(m_c3d, m_hUndoValues)) return false;
      m_bDataChanged = true;
      return true;
    case UNDO_DELETE_FRAMES:
    case UNDO_NEW_FRAMES:
    case UNDO_APPEND:
      if (!RestoreFrames(m_c3d, m_undoFile, m_pSavedParams, kind)) return false;
      m_bEventsChanged = true;
      m_bDataChanged = true;
      return true;
    case UNDO_MERGE:
      if (!RestoreMerge(m_c3d, m_undoFile, m_pSavedParams)) return false;
      if (m_nSelNode == -2 || m_nSelNode == -3) {
        m_nSelNode = -1;
        m_nSelItem = -1;
      }
      m_bDataChanged = true;
      m_bRebuildTree = true;
      return true;
    case UNDO_SAMPLING_FREQUENCY:
    case UNDO_AV_RATIO:
      if (!RestoreRates(m_c3d, m_undoFile, m_pSavedParams)) return false;
      m_bEventsChanged = true;
      m_bDataChanged = true;
      m_bRebuildTree = true;
      return true;
    case UNDO_INTERPOLATE:
    case UNDO_DELETE_AND_FILL:
    case UNDO_FILTER:
    case UNDO_READ_DST:
      if (!RestoreSamples(m_c3d, m_undoFile)) return false;
      m_bDataChanged = true;
      return true;
    case UNDO_DELETE_ANALOG:
      if (!ReinsertAnalogChannel(m_c3d, m_undoFile, m_nUndoIndex, m_pSavedParams)) return false;
      m_bDataChanged = true;
      m_bRebuildTree = true;
      return true;
    case UNDO_DELETE_POINT:
      if (!ReinsertPoint(m_c3d, m_undoFile, m_nUndoIndex, m_pSavedParams)) return false;
      m_bDataChanged = true;
      m_bRebuildTree = true;
      return true;
    case UNDO_NEW_ANALOG:
      if (!RemoveAnalogChannel(m_c3d, m_undoFile, m_nUndoIndex, m_pSavedParams)) return false;
      if (m_nSelNode == -2 && m_nSelItem >= m_c3d.AnalogCount()) m_nSelItem = m_c3d.AnalogCount() - 1;
      m_bDataChanged = true;
      m_bRebuildTree = true;
      return true;
    case UNDO_NEW_POINT:
      if (!RemovePoint(m_c3d, m_nUndoIndex, m_pSavedParams)) return false;
      if (m_nSelNode == -3 && m_nSelItem >= m_c3d.PointCount()) m_nSelItem = m_c3d.PointCount() - 1;
      m_bDataChanged = true;
      m_bRebuildTree = true;
      return true;
    case UNDO_NEW_EVENT:
      if (m_c3d.m_events.empty()) return false;
      m_c3d.m_events.pop_back();
      m_bEventsChanged = true;
      m_bDataChanged = true;
      return true;
    case UNDO_DELETE_EVENT:
      if (m_c3d.m_workEvents.empty() || m_nUndoIndex < 0 ||
          m_nUndoIndex > static_cast<int>(m_c3d.m_events.size()))
        return false;
      m_c3d.m_events.insert(m_c3d.m_events.begin() + m_nUndoIndex, m_c3d.m_workEvents.front());
      m_bEventsChanged = true;
      m_bDataChanged = true;
      return true;
    case UNDO_EDIT_EVENT:
      if (m_c3d.m_workEvents.empty() || m_nUndoIndex < 0 ||
          m_nUndoIndex >= static_cast<int>(m_c3d.m_events.size()))
        return false;
      m_c3d.m_events[static_cast<size_t>(m_nUndoIndex)] = m_c3d.m_workEvents.front();
      m_bEventsChanged = true;
      m_bDataChanged = true;
      return true;
    case UNDO_ZERO_FP:
    case UNDO_ZERO_ANALOG:
      if (!RestoreAnalogStores(m_c3d, m_undoFile)) return false;
      m_bRebuildList = true;
      m_bDataChanged = true;
      return true;
    case UNDO_ANALOG_STORAGE: {
      // Read the samples first: a snapshot that cannot be read leaves the
      // offsets as they are too, so samples and offsets stay consistent.
      if (!RestoreAnalogStores(m_c3d, m_undoFile)) return false;
      if (!m_pSavedParams.empty() && m_pSavedParams[0]) {
        if (CParam* offset = m_c3d.FindParam("ANALOG", "OFFSET")) CopyParam(*m_pSavedParams[0], *offset);
      }
      m_bRebuildList = true;
      m_bDataChanged = true;
      return true;
    }
    default: return false;
  }
}

void CEditorDoc::OnEditUndo() {
  if (m_nUndoKind == UNDO_NONE) return;
  CWaitCursor wait(m_host.Prompt());
  const int kind = m_nUndoKind;
  // There is no redo and no second level: the record is used up either way.
  m_nUndoKind = UNDO_NONE;
  const int frames = m_c3d.FrameCount();
  if (!RestoreUndoKind(kind)) {
    m_host.Prompt().ShowMessage(kUndoFailedMessage);
    return;
  }
  // A range chosen for the other frame count would hide frames (or name
  // frames that are gone): the list shows the whole file again, as it did
  // when the command changed the count.
  if (m_c3d.FrameCount() != frames) {
    m_nListFirst = 0;
    m_nListLast = m_c3d.FrameCount() - 1;
  }
  SetModifiedFlag(true);
  m_bRebuildList = true;
  UpdateAllViews();
}
