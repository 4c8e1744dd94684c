#include "cli/CliSubcommands.h"

// Each subcommand's entry point lives in its own file; add one line to the
// declarations and one to the table per command.

int CliBatchMain(const std::vector<std::string>& args);  // CliBatch.cpp

const std::vector<CCliSubcommand>& CliSubcommands() {
  static const std::vector<CCliSubcommand> commands = {
      {"batch", "batch BATCHFILE FILE... [--always-save] [--locked-edit] [--rescale]\n",
       "  batch BATCHFILE FILE... [--always-save] [--locked-edit] [--rescale]\n"
       "      Runs the batch file on each FILE in turn, as the editor's Batch\n"
       "      Process command does: opens it, runs the operations, saves it when\n"
       "      the batch file says so (Save=true[,integer|real[,pc|dec|sun]]) or\n"
       "      always with --always-save, and closes it. --locked-edit allows\n"
       "      changes to locked groups and parameters; --rescale rescales the\n"
       "      data when the save converts real data to integer storage.\n"
       "      Messages go to standard error, each line starting with the file's\n"
       "      name; standard output gets one line per file: \"FILE: saved\",\n"
       "      \"FILE: not saved\" or \"FILE: failed: REASON\". Exit status 1 when\n"
       "      a file could not be opened or saved, or the batch file is refused.\n"
       "      The batch file format is described in docs/CLI.md.\n",
       CliBatchMain},
  };
  return commands;
}

const CCliSubcommand* FindCliSubcommand(const std::string& name) {
  for (const CCliSubcommand& command : CliSubcommands())
    if (name == command.m_pszName) return &command;
  return nullptr;
}
