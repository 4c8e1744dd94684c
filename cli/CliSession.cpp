#include "cli/CliSession.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <ostream>

#include "document/EditorDoc.h"

void CliError(const std::string& text) { std::fprintf(stderr, "quorvel-cli: %s\n", text.c_str()); }

CCliSession::CCliSession(bool yes, std::ostream* messages)
    : m_prompt(yes ? CConsolePrompt::POLICY_YES : CConsolePrompt::POLICY_NO, messages), m_pMessages(messages) {
  m_app.SetPrompt(&m_prompt);
  m_app.m_settings.m_nRescaleConversion = yes ? 1 : 0;
  m_app.SetRescaleHint("Run again with --rescale to rescale them.");
}

void CCliSession::Error(const std::string& text) {
  if (m_pMessages)
    *m_pMessages << text << '\n' << std::flush;
  else
    CliError(text);
}

CEditorDoc* CCliSession::Open(const std::string& path) {
  // The reader gives no reason when the file cannot be opened at all; the
  // editor's file dialog never offers such a file, here it must be said.
  struct stat st;
  if (::stat(path.c_str(), &st) != 0) {
    Error("cannot open '" + path + "': " + std::strerror(errno));
    return nullptr;
  }
  if (S_ISDIR(st.st_mode)) {
    Error("cannot open '" + path + "': it is a folder");
    return nullptr;
  }
  // Without O_NONBLOCK a named pipe would hold the program here until
  // something writes to it; the document refuses it with a message.
  int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
  if (fd < 0) {
    Error("cannot open '" + path + "': " + std::strerror(errno));
    return nullptr;
  }
  ::close(fd);
  int before = m_prompt.MessageCount();
  CEditorDoc* doc = m_app.OpenDocumentFile(path);
  if (!doc && m_prompt.MessageCount() == before) Error("could not read '" + path + "' as a C3D file");
  return doc;
}
