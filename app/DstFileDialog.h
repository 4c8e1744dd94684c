#pragma once
// The file dialog of the Read DST dialog's "DST File..." button. It starts
// in the folder remembered under "DstRead"/"Dir" and remembers the folder of
// the chosen file there at once.

#include <string>

class CEditorApp;

// True with the chosen file in `path`; false when the user cancels.
bool BrowseDstFile(CEditorApp& app, std::string& path);
