#pragma once
// Runs the built quorvel-cli as a child process for the command-line tests.

#include <string>
#include <vector>

#include "TestSupport.h"

namespace testsupport {

struct CCliRun {
  int m_nStatus = -1;  // exit status, 128 + signal when killed, -1 when not started
  std::string m_strOut;
  std::string m_strErr;
};

// Runs "quorvel-cli ARGS"; standard output and error are captured through
// files of `dir`. With `inDir` the tool runs with `dir` as its working
// folder, so that the file names it prints are short.
CCliRun RunCli(const CTempDir& dir, std::vector<std::string> args, bool inDir = false);

// The whole content of a file as text (empty when it cannot be read).
std::string ReadText(const std::string& path);

}  // namespace testsupport
