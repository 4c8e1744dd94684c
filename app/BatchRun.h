#pragma once
// The batch processor: runs a batch file (see BatchFile.h) on one open
// document. The editor starts it from the open step in Batch Mode (the
// batch file of the setting "BatchFile", never forcing a save); quorvel-cli
// batch and the Batch Process command run it on each file they open.
//
// A run touches nothing but the document, its host and the batch file, so
// documents of different hosts may run in parallel threads.

#include <functional>
#include <string>

class CBatchFile;
class CEditorDoc;

// What happened, for callers that report per file (the command line).
struct CBatchOutcome {
  bool m_bRejected = false;       // the batch file was refused (message shown)
  bool m_bSaveAsked = false;      // the save step wanted to save
  bool m_bSaved = false;          // ... and the file was written
  bool m_bExitRequested = false;  // General/"Exit" is "TRUE"
};

// The message that refuses a batch file ("Batch File Not Found",
// "Number of Operations Needed", "Incorrect number of Operations in Batch
// File"), or empty when it can run. A file that could not be read counts as
// one without "File".
std::string BatchFileProblem(const CBatchFile& file);

// Reads the batch file of the host's setting "BatchFile" and runs it.
CBatchOutcome RunBatch(CEditorDoc& doc, bool forceSave);
// Runs an already read batch file: clears the host's exit request; refuses
// a broken file (beep and message); otherwise, under the wait cursor, sets
// the analog offset, runs the operations in order, saves as "Save" says (or
// always with `forceSave`), checks POINT:SCALE, and sets the host's exit
// request when "Exit" is "TRUE". `afterEachOperation`, when given, runs
// between operations (a window's repaint and its Cancel button during a long
// file).
CBatchOutcome RunBatch(CEditorDoc& doc, const CBatchFile& file, bool forceSave,
                       const std::function<void()>& afterEachOperation = nullptr);
