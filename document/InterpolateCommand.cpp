#include "document/InterpolateCommand.h"

#include <numeric>
#include <vector>

#include "document/EditorDoc.h"
#include "processing/Interpolation.h"

namespace {

// The points to work on; empty when only the selection is asked for and no
// point is selected.
std::vector<int> TargetPoints(const CEditorDoc& doc, bool allChannels) {
  std::vector<int> points;
  if (allChannels) {
    points.resize(static_cast<size_t>(doc.m_c3d.PointCount()));
    std::iota(points.begin(), points.end(), 0);
  } else if (doc.m_nSelNode == -3 && doc.m_nSelItem >= 0 && doc.m_nSelItem < doc.m_c3d.PointCount()) {
    points.push_back(doc.m_nSelItem);
  }
  return points;
}

CUserPrompt* MessagePrompt(CEditorDoc& doc) { return doc.Host().BatchMode() ? nullptr : &doc.Prompt(); }

}  // namespace

CInterpolateRequest MakeInterpolateRequest(const CEditorDoc& doc) {
  const AppSettings& s = doc.Host().Settings();
  CInterpolateRequest request;
  request.m_bAllChannels = s.m_nInterpAllChannels != 0;
  request.m_nMode = s.m_nInterpType == 1 ? 1 : 0;
  request.m_nMaxGap = static_cast<unsigned>(s.m_nInterpGaps);
  request.m_fThreshold = s.m_fInterpResid;
  request.m_nFrames = doc.m_c3d.FrameCount();
  return request;
}

bool InterpolateRequestAccepted(const CInterpolateRequest& request) {
  if (request.m_nMode == 0) return request.m_nMaxGap < static_cast<unsigned>(request.m_nFrames);
  return request.m_fThreshold > 0.0f;
}

bool CanInterpolate(const CEditorDoc& doc) {
  return doc.Host().EditMode() && doc.m_nSelNode == -3 && doc.m_nSelItem >= 0;
}

void RunInterpolateCommand(CEditorDoc& doc, const CInterpolateRequest& request) {
  // Residual mode on a selection that is no point changes nothing; it must
  // not overwrite the snapshot that the last undoable command relies on.
  if (request.m_nMode != 0 && !request.m_bAllChannels && TargetPoints(doc, false).empty()) return;
  CWaitCursor wait(doc.Prompt());
  doc.SaveUndoSnapshot();
  if (request.m_nMode == 0) {
    InterpolateGaps(doc, request.m_bAllChannels, static_cast<int>(request.m_nMaxGap));
  } else if (!InterpolateResiduals(doc, request.m_bAllChannels, request.m_fThreshold)) {
    return;
  }
  doc.m_bDataChanged = true;
  doc.m_bRebuildList = true;
  doc.UpdateAllViews();
  doc.SetModifiedFlag(true);
  doc.m_nUndoKind = UNDO_INTERPOLATE;
}

void InterpolateGaps(CEditorDoc& doc, bool allChannels, int maxGap) {
  InterpolateGapsInPoints(doc.m_c3d, TargetPoints(doc, allChannels), maxGap, MessagePrompt(doc));
}

bool InterpolateResiduals(CEditorDoc& doc, bool allChannels, float threshold) {
  std::vector<int> points = TargetPoints(doc, allChannels);
  if (!allChannels && points.empty()) return false;
  InterpolateResidualsInPoints(doc.m_c3d, points, threshold, MessagePrompt(doc));
  return true;
}

void RunInterpolation(CEditorDoc& doc, int mode, int maxGap, float threshold) {
  if (mode != 0 && mode != 1) return;
  CWaitCursor wait(doc.Prompt());
  std::vector<int> points = TargetPoints(doc, true);
  if (mode == 0)
    InterpolateGapsInPoints(doc.m_c3d, points, maxGap, nullptr);
  else
    InterpolateResidualsInPoints(doc.m_c3d, points, threshold, nullptr);
}
