#include "cli/CliSubcommands.h"

// Each subcommand's entry point lives in its own file; add one line to the
// declarations and one to the table per command.

int CliValidityMain(const std::vector<std::string>& args);
int CliImportDstMain(const std::vector<std::string>& args);
int CliPrintMain(const std::vector<std::string>& args);

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
  };
  return commands;
}

const CCliSubcommand* FindCliSubcommand(const std::string& name) {
  for (const CCliSubcommand& command : CliSubcommands())
    if (name == command.m_pszName) return &command;
  return nullptr;
}
