#pragma once
// The export commands of the File menu: "Save Anal&og Data...",
// "Save &3D Marker Data..." and "Save Para&meter Data...". Each asks for a
// file, writes it with a progress window that can be cancelled, and reports
// a file that could not be written.

#include <string>

#include "c3d/UserPrompt.h"

class QWidget;
class CEditorDoc;

enum class ExportCommand { Analog, Points, Parameters };

// The save dialog of an export: title, filter, default extension and the
// suggested name (the document's base name and a letter) in its folder.
CFileDialogRequest ExportDialogRequest(ExportCommand command, const std::string& documentPath);

// Runs the command on `doc`; progress windows are centred on `parent`.
// Returns true when a file was written.
bool RunExportCommand(CEditorDoc& doc, ExportCommand command, QWidget* parent);
