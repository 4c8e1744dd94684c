#include "document/EditSelection.h"

#include "document/CopyBuffer.h"
#include "document/EditorDoc.h"
#include "document/ChannelCommands.h"
#include "document/FrameCommands.h"
#include "document/GroupCommands.h"

namespace {

bool GroupSelected(const CEditorDoc& doc) {
  return doc.m_nSelNode >= 0 && doc.m_nSelNode < static_cast<int>(doc.m_c3d.m_groups.size());
}

bool ParamSelected(const CEditorDoc& doc) {
  return GroupSelected(doc) && doc.m_nSelItem >= 0 &&
         doc.m_nSelItem < static_cast<int>(doc.m_c3d.m_params.size());
}

bool ChannelSelected(const CEditorDoc& doc) {
  if (doc.m_nSelNode == -2) return doc.m_nSelItem >= 0 && doc.m_nSelItem < doc.m_c3d.AnalogCount();
  if (doc.m_nSelNode == -3) return doc.m_nSelItem >= 0 && doc.m_nSelItem < doc.m_c3d.PointCount();
  return false;
}

}  // namespace

void EditSelected(CEditorDoc& doc) {
  if (!doc.Host().EditMode() || !GroupSelected(doc)) return;
  if (doc.m_nSelItem == -4)
    EditGroup(doc, doc.m_nSelNode);
  else if (ParamSelected(doc))
    EditParameter(doc, doc.m_nSelItem);
}

void DeleteSelected(CEditorDoc& doc, const std::vector<int>& frames) {
  if (!doc.Host().EditMode()) return;
  if (GroupSelected(doc)) {
    if (doc.m_nSelItem == -4)
      DeleteGroup(doc, doc.m_nSelNode);
    else if (ParamSelected(doc))
      DeleteParameter(doc, doc.m_nSelItem);
  } else if (ChannelSelected(doc)) {
    if (frames.empty())
      DeleteSelectedChannel(doc);
    else
      DeleteFrameList(doc, frames);
  }
}

void CopySelected(CEditorDoc& doc, const std::vector<int>& frames) {
  if (GroupSelected(doc)) {
    if (doc.m_nSelItem == -4)
      CopyGroupToBuffer(doc, doc.m_nSelNode);
    else if (ParamSelected(doc))
      CopyParameterToBuffer(doc, doc.m_nSelItem);
  } else if (ChannelSelected(doc)) {
    CopySegment(doc, frames);
  }
}

void PasteBuffer(CEditorDoc& doc, const std::vector<int>& frames) {
  if (!doc.Host().EditMode()) return;
  switch (doc.Host().GetCopyBuffer().m_nKind) {
    case COPY_GROUP: PasteGroup(doc); break;
    case COPY_PARAMETER: PasteParameter(doc); break;
    case COPY_ANALOG:
    case COPY_POINT: PasteSegment(doc, frames); break;
    default: break;
  }
}

bool CanCopySelected(const CEditorDoc& doc) {
  return (GroupSelected(doc) && (doc.m_nSelItem == -4 || ParamSelected(doc))) || ChannelSelected(doc);
}

bool CanDeleteSelected(const CEditorDoc& doc) { return doc.Host().EditMode() && CanCopySelected(doc); }

bool CanPasteBuffer(const CEditorDoc& doc) {
  return doc.Host().EditMode() && !doc.Host().GetCopyBuffer().IsEmpty();
}
