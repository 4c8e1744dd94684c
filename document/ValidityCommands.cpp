#include "document/ValidityCommands.h"

#include "document/EditorDoc.h"

void OnValidityParameters(CEditorDoc& doc, CValidityResult& result) {
  CWaitCursor wait(doc.Prompt());
  CValidityRules rules;
  rules.Load(doc.Host().Settings().m_strValidFile);
  result = CheckParameterValidity(doc.m_c3d, rules);
}

bool OnValidityPoints(CEditorDoc& doc, CValidityResult& result) {
  std::string message;
  bool ok;
  {
    CWaitCursor wait(doc.Prompt());
    ok = CheckPointValidity(doc.m_c3d, result, message);
  }
  if (!ok) doc.Prompt().ShowMessage(message);
  return ok;
}

void OnValidityAnalog(CEditorDoc& doc, CValidityResult& result) {
  result = CheckAnalogValidity(doc.m_c3d);
}
