// quorvel-cli: reads, exports and converts C3D files without a window.
#include <cstdio>
#include <string>
#include <vector>

#include "c3d/Version.h"
#include "cli/CliArguments.h"
#include "cli/CliCommands.h"
#include "cli/CliSubcommands.h"

int main(int argc, char** argv) {
  std::vector<std::string> args(argv + 1, argv + argc);
  if (!args.empty()) {
    if (const CCliSubcommand* sub = FindCliSubcommand(args[0])) {
      bool help = false;
      for (size_t i = 1; i < args.size(); ++i) help = help || args[i] == "--help" || args[i] == "-h";
      if (help) {
        // Every usage line gets the program's name, the later ones indented.
        std::string usage = sub->m_pszUsage, lines;
        for (size_t start = 0; start < usage.size();) {
          size_t end = usage.find('\n', start);
          if (end == std::string::npos) end = usage.size();
          lines += (lines.empty() ? "usage: " : "       ") + std::string("quorvel-cli ") +
                   usage.substr(start, end - start) + "\n";
          start = end + 1;
        }
        std::printf("%s\n%s", lines.c_str(), sub->m_pszHelp);
        return kExitOk;
      }
      return sub->m_pfnRun(std::vector<std::string>(args.begin() + 1, args.end()));
    }
  }
  CCliCommand command;
  std::string error;
  if (!ParseCliArguments(args, command, error)) {
    std::fprintf(stderr, "quorvel-cli: %s\n%s", error.c_str(), CliUsageText());
    return kExitUsage;
  }
  switch (command.m_kind) {
    case CliCommandKind::Help:
      std::fputs(CliHelpText(), stdout);
      std::fputs("\n", stdout);
      std::fputs(CliUsageText(), stdout);
      return kExitOk;
    case CliCommandKind::Version:
      std::printf("quorvel-cli %s\n", kQuorvelVersion);
      return kExitOk;
    default: return RunCliCommand(command);
  }
}
