#include "cli/CliSubcommands.h"

// Each subcommand's entry point lives in its own file; add one line to the
// declarations and one to the table per command.

int CliValidityMain(const std::vector<std::string>& args);

const std::vector<CCliSubcommand>& CliSubcommands() {
  static const std::vector<CCliSubcommand> commands = {
      {"validity",
       "validity parameters RULES FILE [--json]\n"
       "validity points FILE [--json]\n"
       "validity analog FILE [--json]\n",
       "  validity parameters RULES FILE [--json]\n"
       "  validity points FILE [--json]\n"
       "  validity analog FILE [--json]\n"
       "      Runs the editor's validity check and prints the Validity Results:\n"
       "      the caption, then one line per line of the dialog. parameters\n"
       "      compares every parameter's type and dimensions with the rules file\n"
       "      RULES; points checks the 3D samples against SEG:DATA_LIMITS and the\n"
       "      POINT parameters against the header; analog checks the ANALOG\n"
       "      parameters. --json prints one JSON object instead. A check that\n"
       "      cannot run says why on standard error and exits with status 1.\n",
       CliValidityMain},
  };
  return commands;
}

const CCliSubcommand* FindCliSubcommand(const std::string& name) {
  for (const CCliSubcommand& command : CliSubcommands())
    if (name == command.m_pszName) return &command;
  return nullptr;
}
