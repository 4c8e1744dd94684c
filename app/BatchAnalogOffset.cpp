// The General/"AnalogOffset" step of a batch run.
#include "app/BatchOps.h"

// Not built yet: the analog offset command comes with the analog processing
// commands, and this step will call its shared operation (no dialog, no
// messages, no undo). Until then the step changes nothing.
void BatchSetAnalogOffset(CEditorDoc& doc, float offset) {}
