#pragma once
// What every quorvel-cli command shares: a windowless application with
// default settings (the user's settings file is never read or written) whose
// messages go to standard error, and the opening of a file as a document
// exactly as the editor opens it.

#include <iosfwd>
#include <string>

#include "app/ConsolePrompt.h"
#include "app/HeadlessApp.h"

class CEditorDoc;

// Writes "quorvel-cli: TEXT" to standard error.
void CliError(const std::string& text);

class CCliSession {
 public:
  // Questions are answered Yes with `yes` (--rescale and the like), No
  // otherwise. Messages, and the reasons why a file cannot be opened, go to
  // `messages` when given, else to standard error.
  explicit CCliSession(bool yes, std::ostream* messages = nullptr);

  // Opens `path` as a document; null when it cannot be read (the reason has
  // been printed).
  CEditorDoc* Open(const std::string& path);

  CHeadlessApp& App() { return m_app; }
  CConsolePrompt& Prompt() { return m_prompt; }

 private:
  void Error(const std::string& text);

  CConsolePrompt m_prompt;
  CHeadlessApp m_app;
  std::ostream* m_pMessages;
};
