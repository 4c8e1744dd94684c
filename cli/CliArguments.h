#pragma once
// The command line of quorvel-cli, parsed into one command.

#include <optional>
#include <string>
#include <vector>

#include "c3d/C3d.h"

enum class CliCommandKind {
  Help,
  Version,
  Header,
  ExportAnalog,
  ExportPoints,
  ExportParameters,
  Convert,
};

struct CCliCommand {
  CliCommandKind m_kind = CliCommandKind::Help;
  std::string m_strInput;   // the C3D file read
  std::string m_strOutput;  // export or converted file
  // convert only: the format asked for (unset keeps the file's own)
  std::optional<int> m_nProcessor;  // PROCESSOR_PC, _DEC or _SGI
  std::optional<StorageKind> m_storage;
  bool m_bRescale = false;
};

// Parses argv[1..]. False with the reason in `error` for a wrong command
// line (the caller prints it with the usage lines).
bool ParseCliArguments(const std::vector<std::string>& args, CCliCommand& command, std::string& error);

// The short usage lines printed after a wrong command line.
const char* CliUsageText();
// The full --help text.
const char* CliHelpText();
