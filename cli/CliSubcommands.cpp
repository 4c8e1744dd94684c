#include "cli/CliSubcommands.h"

// Each subcommand's entry point lives in its own file; add one line to the
// declarations and one to the table per command.

int CliValidityMain(const std::vector<std::string>& args);
int CliImportDstMain(const std::vector<std::string>& args);
int CliPrintMain(const std::vector<std::string>& args);
int CliBatchMain(const std::vector<std::string>& args);  // CliBatch.cpp

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
      {"import-dst",
       "import-dst FILE DSTFILE (--analog LIST | --points LIST)\n",
       "  import-dst FILE DSTFILE (--analog LIST | --points LIST)\n"
       "      Replaces the samples of the analog channels or 3D points in LIST\n"
       "      (\"all\", or numbers from 1 such as 1,3-5) by the DST sections that\n"
       "      carry their labels, as the editor's Read From DST does, prints one\n"
       "      result line per channel and saves FILE. Exit status 1 when a\n"
       "      channel could not be read (the others are still saved).\n",
       CliImportDstMain},
      {"print",
       "print FILE [--analog LIST] [--points LIST] [--first N] [--last N]\n",
       "  print FILE [--analog LIST] [--points LIST] [--first N] [--last N]\n"
       "      Writes the channel listing that File > Print prints: for each\n"
       "      chosen analog channel, then each chosen 3D point, a heading, one\n"
       "      line per frame (\"N.\", a tab, the stored values each followed by a\n"
       "      tab) and an empty line. LIST is \"all\" or numbers from 1 such as\n"
       "      1,3-5; without --analog and --points every channel is listed.\n"
       "      --first and --last are frame numbers (the file's first and last\n"
       "      frame by default).\n",
       CliPrintMain},
      {"batch",
       "batch BATCHFILE PATH... [--recursive] [--jobs N] [--always-save] [--locked-edit] [--rescale]\n",
       "  batch BATCHFILE PATH... [--recursive] [--jobs N] [--always-save]\n"
       "        [--locked-edit] [--rescale]\n"
       "      Runs the batch file on each C3D file, as the editor's Batch Process\n"
       "      command does: opens it, runs the operations, saves it when the batch\n"
       "      file says so (Save=true[,integer|real[,pc|dec|sun]]) or always with\n"
       "      --always-save, and closes it. A PATH that is a folder stands for its\n"
       "      files ending in .c3d (any letter case), in name order; --recursive\n"
       "      adds its sub-folders' files after them. --jobs N runs N files at a\n"
       "      time (default: one per core), each on its own, with the same results\n"
       "      as one at a time. --locked-edit allows changes to locked groups and\n"
       "      parameters; --rescale rescales the data when the save converts real\n"
       "      data to integer storage.\n"
       "      Standard output gets one line per file, in the order of the list:\n"
       "      \"FILE: saved\", \"FILE: not saved\" or \"FILE: failed: REASON\".\n"
       "      Messages go to standard error, each line starting with the file's\n"
       "      name and each file's lines together; then a summary line. On a\n"
       "      terminal a progress line shows the files done and the time taken.\n"
       "      Ctrl-C lets the files in progress finish and starts no more (a\n"
       "      second Ctrl-C stops at once). Exit status 1 when a file could not\n"
       "      be opened or saved, a folder could not be searched, or the batch\n"
       "      file is refused. The batch file format is described in docs/CLI.md.\n",
       CliBatchMain},
  };
  return commands;
}

const CCliSubcommand* FindCliSubcommand(const std::string& name) {
  for (const CCliSubcommand& command : CliSubcommands())
    if (name == command.m_pszName) return &command;
  return nullptr;
}
