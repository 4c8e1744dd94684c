#pragma once
// What every quorvel-cli command shares: a windowless application with
// default settings (the user's settings file is never read or written) whose
// messages go to standard error, and the opening of a file as a document
// exactly as the editor opens it.

#include <string>

#include "app/ConsolePrompt.h"
#include "app/HeadlessApp.h"

class CEditorDoc;

// Writes "quorvel-cli: TEXT" to standard error.
void CliError(const std::string& text);

class CCliSession {
 public:
  // Questions are answered Yes with `yes` (--rescale and the like), No
  // otherwise.
  explicit CCliSession(bool yes);

  // Opens `path` as a document; null when it cannot be read (the reason has
  // been printed).
  CEditorDoc* Open(const std::string& path);

  CHeadlessApp& App() { return m_app; }
  CConsolePrompt& Prompt() { return m_prompt; }

 private:
  CConsolePrompt m_prompt;
  CHeadlessApp m_app;
};
