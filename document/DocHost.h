#pragma once
// What a document needs from the application that owns it: the settings and
// flags, the user prompt, and the document manager's open/close steps. The Qt
// shell, the command-line runner and the tests each provide one.

#include <string>

#include "settings/AppSettings.h"
#include "c3d/UserPrompt.h"

class CEditorDoc;
class CEditDialogs;
struct CopyBuffer;

class CDocHost {
 public:
  virtual ~CDocHost() = default;

  virtual AppSettings& Settings() = 0;
  virtual CUserPrompt& Prompt() = 0;

  virtual bool EditMode() const = 0;
  virtual bool LockedEdit() const = 0;
  virtual bool BatchMode() const = 0;
  virtual void SetBatchMode(bool on) = 0;
  // A batch run clears the request to end the program when it starts and
  // sets it when its batch file says "Exit=TRUE" (only the command-line start
  // acts on it).
  virtual void SetExitAfterBatch(bool on) {}

  // The application's copy buffer, shared by every open document.
  virtual CopyBuffer& GetCopyBuffer() = 0;
  // The editing dialogs (Group Editor, Parameter Editor, Add Frames ...).
  // Without windows every dialog answers Cancel.
  virtual CEditDialogs& EditDialogs();

  // The document manager's "open a document file" step: in batch mode every
  // open document is closed first; then `path` is opened as a new document
  // (or the document already showing it is activated). Returns the document
  // or null when the open failed.
  virtual CEditorDoc* OpenDocumentFile(const std::string& path) = 0;
  // Closes a document and its window without asking about changes.
  virtual void CloseDocument(CEditorDoc* doc) = 0;
  // Before `writer` writes a file at `path`: any other open document showing
  // that file is closed (after the usual question about its unsaved
  // changes), so that no window shows a file that was overwritten. False,
  // with nothing closed, when the user cancels or that save fails.
  virtual bool ReleaseFileForWriting(const std::string& path, const CEditorDoc* writer) { return true; }
  // Called by a document right after it has been read while batch mode is
  // on: runs the batch file's operations on it.
  virtual void RunBatchOnDocument(CEditorDoc& doc) {}
  // The last line of the message that refuses a conversion to integer
  // storage whose values do not fit: how the user turns rescaling on here.
  virtual std::string RescaleHint() const {
    return "Turn on \"Rescale data during INT conversion\" in the Options to rescale them.";
  }
};
