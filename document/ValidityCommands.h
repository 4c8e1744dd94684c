#pragma once
// The "Validity" commands of a document: each runs its check on the open
// file and fills the result the Validity Results dialog shows. The model
// never changes.

#include "processing/Validity.h"

class CEditorDoc;

// Parameters against the rules file named in the settings ("ValidFile"); a
// missing or unreadable rules file counts as an empty one.
void OnValidityParameters(CEditorDoc& doc, CValidityResult& result);

// 3D data and POINT parameters. False when the check cannot run; its message
// has then been shown and there is no result.
bool OnValidityPoints(CEditorDoc& doc, CValidityResult& result);

// ANALOG parameters.
void OnValidityAnalog(CEditorDoc& doc, CValidityResult& result);
