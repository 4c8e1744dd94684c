#pragma once
// Editing sample values in the editor view's list: point X, Y, Z, residual
// and camera mask, and analog samples, with their checks and messages.

#include <string>

#include "document/ListContent.h"

class CEditorDoc;

// Applies the text typed into cell (row, column) of the point or analog list
// described by `layout`. Does nothing when Edit Mode is off or the text is
// empty. Refused entries show their message through the document's prompt.
// Returns true when a value was stored (the document is then marked modified
// and its views updated).
bool EditSampleCell(CEditorDoc& doc, const CListLayout& layout, int row, int column,
                    const std::string& text);
