#pragma once
// The commands of quorvel-cli. Each opens its input as a document of a
// windowless application, exactly as the editor does, so that the command
// line and the editor share one path for reading, checking and saving.

#include "cli/CliArguments.h"

// Exit statuses.
constexpr int kExitOk = 0;
constexpr int kExitFailed = 1;  // a file could not be read or written
constexpr int kExitUsage = 2;   // a wrong command line

// Runs a parsed command (not Help or Version); messages go to standard
// error, the header list to standard output. Returns the exit status.
int RunCliCommand(const CCliCommand& command);
