#pragma once
// Commands of quorvel-cli that parse their own arguments, one file each
// (cli/CliBatch.cpp and the like). main() looks a command's name up here
// before the built-in commands; the usage and --help texts list these
// commands after the built-in ones.

#include <string>
#include <vector>

struct CCliSubcommand {
  const char* m_pszName;   // the first argument, e.g. "batch"
  const char* m_pszUsage;  // usage line(s) without "quorvel-cli ", each ending in "\n"
  const char* m_pszHelp;   // the --help paragraph: indented lines, each ending in "\n"
  // Runs the command on the arguments after its name; returns the exit
  // status (kExitOk, kExitFailed, kExitUsage of cli/CliCommands.h).
  int (*m_pfnRun)(const std::vector<std::string>& args);
};

// Every subcommand, in the order the help lists them.
const std::vector<CCliSubcommand>& CliSubcommands();
const CCliSubcommand* FindCliSubcommand(const std::string& name);
