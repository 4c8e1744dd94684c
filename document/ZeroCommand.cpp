#include "document/ZeroCommand.h"

#include <cstdio>
#include <cstdlib>

#include "document/EditorDoc.h"
#include "processing/Zeroing.h"

namespace {

void FinishAnalogChange(CEditorDoc& doc, int undoKind) {
  doc.SetModifiedFlag(true);
  doc.m_bDataChanged = true;
  doc.m_bRebuildList = true;
  doc.m_nUndoKind = undoKind;
  doc.UpdateAllViews();
}

}  // namespace

int PrepareZeroForcePlates(CEditorDoc& doc) {
  CForcePlateZero zero;
  std::string message = CheckForcePlateZero(doc.m_c3d, zero);
  if (!message.empty()) doc.Prompt().ShowMessage(message);
  return message.empty() ? zero.m_nPlates : 0;
}

std::vector<std::string> ForcePlateNames(int plates) {
  std::vector<std::string> names;
  for (int p = 1; p <= plates; ++p) {
    char text[32];
    std::snprintf(text, sizeof text, "Force Plate %d", p);
    names.emplace_back(text);
  }
  return names;
}

void RunZeroForcePlatesCommand(CEditorDoc& doc, const std::vector<int>& plates) {
  CForcePlateZero zero;
  if (!CheckForcePlateZero(doc.m_c3d, zero).empty() || zero.m_nPlates <= 0) return;
  CWaitCursor wait(doc.Prompt());
  doc.SaveUndoSnapshot();
  ZeroForcePlateChannels(doc.m_c3d, zero, plates);
  FinishAnalogChange(doc, UNDO_ZERO_FP);
}

bool ZeroForcePlates(CEditorDoc& doc, bool allPlates, const std::vector<int>& plates) {
  CForcePlateZero zero;
  if (!CheckForcePlateZero(doc.m_c3d, zero).empty() || zero.m_nPlates <= 0) return false;
  std::vector<int> chosen = plates;
  if (allPlates)
    for (int p = 0; p < zero.m_nPlates; ++p) chosen.push_back(p);
  ZeroForcePlateChannels(doc.m_c3d, zero, chosen);
  return true;
}

void OnZeroAnalogChannels(CEditorDoc& doc) {
  CWaitCursor wait(doc.Prompt());
  doc.SaveUndoSnapshot();
  ZeroAnalogChannels(doc);
  FinishAnalogChange(doc, UNDO_ZERO_ANALOG);
}

void ZeroAnalogChannels(CEditorDoc& doc) { ZeroAnalogChannels(doc.m_c3d); }

bool PrepareAnalogOffset(CEditorDoc& doc, float& first, bool& differed) {
  const CParam* offsets = doc.m_c3d.FindParam("ANALOG", "OFFSET");
  if (!offsets) {
    doc.Prompt().ShowMessage("The parameter ANALOG:OFFSET cannot be found in the file");
    return false;
  }
  const int count = offsets->IsChar() ? 0 : offsets->ElementCount();
  if (count == 0) {
    doc.Prompt().ShowMessage("The parameter ANALOG:OFFSET has no data in it");
    return false;
  }
  auto value = [&](int i) {
    return static_cast<float>(std::atof(doc.m_c3d.GetValueText("ANALOG", "OFFSET", i, 8).c_str()));
  };
  first = value(0);
  differed = false;
  for (int i = 1; i < count && !differed; ++i) differed = value(i) != first;
  if (differed &&
      doc.Prompt().AskYesNoCancel("This file has more than one value of ANALOG:OFFSET.  Would you like to continue?") !=
          CUserPrompt::ANSWER_YES)
    return false;
  return true;
}

void RunAnalogOffsetCommand(CEditorDoc& doc, float offset, float first, bool differed) {
  if (!differed && offset == first) return;
  CWaitCursor wait(doc.Prompt());
  doc.SaveUndoSnapshot();
  doc.SaveParameterCopies({{"ANALOG", "OFFSET"}});
  SetAnalogOffset(doc, offset);
  FinishAnalogChange(doc, UNDO_ANALOG_STORAGE);
}

void SetAnalogOffset(CEditorDoc& doc, float offset) { SetAnalogOffsetOfChannels(doc.m_c3d, offset); }

bool CanZeroAnalog(const CEditorDoc& doc) { return doc.Host().EditMode() && doc.m_c3d.AnalogCount() > 0; }
