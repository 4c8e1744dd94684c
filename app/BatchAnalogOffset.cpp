// The General/"AnalogOffset" step of a batch run.
#include "app/BatchOps.h"
#include "document/EditorDoc.h"
#include "document/ZeroCommand.h"

// The analog offset command's shared operation, without dialog, messages
// and undo. A file without ANALOG:OFFSET values has nothing to change.
void BatchSetAnalogOffset(CEditorDoc& doc, float offset) {
  const CParam* offsets = doc.m_c3d.FindParam("ANALOG", "OFFSET");
  if (!offsets || offsets->IsChar() || offsets->ElementCount() == 0) return;
  SetAnalogOffset(doc, offset);
  doc.m_bDataChanged = true;
  doc.m_bRebuildList = true;
  doc.UpdateAllViews();
  doc.SetModifiedFlag(true);
}
