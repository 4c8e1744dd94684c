#include "cli/CliSubcommands.h"

// Each subcommand's entry point lives in its own file; add one line to the
// declarations and one to the table per command.

const std::vector<CCliSubcommand>& CliSubcommands() {
  static const std::vector<CCliSubcommand> commands = {
  };
  return commands;
}

const CCliSubcommand* FindCliSubcommand(const std::string& name) {
  for (const CCliSubcommand& command : CliSubcommands())
    if (name == command.m_pszName) return &command;
  return nullptr;
}
