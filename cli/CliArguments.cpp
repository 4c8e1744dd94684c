#include "cli/CliArguments.h"

#include "cli/CliSubcommands.h"

namespace {

bool TakeValue(const std::vector<std::string>& args, size_t& i, const std::string& option,
               std::string& value, std::string& error) {
  // Both "--option value" and "--option=value".
  const std::string& arg = args[i];
  if (arg.size() > option.size() && arg[option.size()] == '=') {
    value = arg.substr(option.size() + 1);
    return true;
  }
  if (i + 1 >= args.size()) {
    error = option + " needs a value";
    return false;
  }
  value = args[++i];
  return true;
}

bool IsOption(const std::string& arg, const std::string& option) {
  return arg == option || arg.rfind(option + "=", 0) == 0;
}

bool ParseConvertOption(const std::vector<std::string>& args, size_t& i, CCliCommand& command,
                        std::string& error) {
  const std::string& arg = args[i];
  std::string value;
  if (IsOption(arg, "--processor")) {
    if (!TakeValue(args, i, "--processor", value, error)) return false;
    if (value == "pc") command.m_nProcessor = PROCESSOR_PC;
    else if (value == "dec") command.m_nProcessor = PROCESSOR_DEC;
    else if (value == "sgi") command.m_nProcessor = PROCESSOR_SGI;
    else {
      error = "unknown processor format '" + value + "' (pc, dec or sgi)";
      return false;
    }
    return true;
  }
  if (IsOption(arg, "--storage")) {
    if (!TakeValue(args, i, "--storage", value, error)) return false;
    if (value == "integer") command.m_storage = StorageKind::Integer;
    else if (value == "real") command.m_storage = StorageKind::Real;
    else {
      error = "unknown storage kind '" + value + "' (integer or real)";
      return false;
    }
    return true;
  }
  if (arg == "--rescale") {
    command.m_bRescale = true;
    return true;
  }
  error = "unknown option '" + arg + "'";
  return false;
}

}  // namespace

bool ParseCliArguments(const std::vector<std::string>& args, CCliCommand& command, std::string& error) {
  command = CCliCommand();
  if (args.empty()) {
    error = "no command given";
    return false;
  }
  for (const std::string& arg : args) {
    if (arg == "--help" || arg == "-h") {
      command.m_kind = CliCommandKind::Help;
      return true;
    }
  }
  if (args[0] == "--version") {
    if (args.size() != 1) {
      error = "--version takes no arguments";
      return false;
    }
    command.m_kind = CliCommandKind::Version;
    return true;
  }

  // Operands in order; options only where the command has some. A lone "-"
  // is an operand (a file named "-" would have to be given as "./-").
  const std::string& name = args[0];
  std::vector<std::string> operands;
  for (size_t i = 1; i < args.size(); ++i) {
    const std::string& arg = args[i];
    if (arg.size() > 1 && arg[0] == '-') {
      if (name != "convert") {
        error = "unknown option '" + arg + "'";
        return false;
      }
      if (!ParseConvertOption(args, i, command, error)) return false;
    } else {
      operands.push_back(arg);
    }
  }

  auto expect = [&](size_t count, const char* what) {
    if (operands.size() == count) return true;
    error = std::string(operands.size() < count ? "missing " : "too many arguments for ") + what;
    return false;
  };

  if (name == "header") {
    if (!expect(1, "header FILE")) return false;
    command.m_kind = CliCommandKind::Header;
    command.m_strInput = operands[0];
    return true;
  }
  if (name == "export") {
    if (operands.empty()) {
      error = "export needs analog, points or parameters";
      return false;
    }
    const std::string what = operands[0];
    if (what == "analog") command.m_kind = CliCommandKind::ExportAnalog;
    else if (what == "points") command.m_kind = CliCommandKind::ExportPoints;
    else if (what == "parameters") command.m_kind = CliCommandKind::ExportParameters;
    else {
      error = "unknown export '" + what + "' (analog, points or parameters)";
      return false;
    }
    operands.erase(operands.begin());
    if (!expect(2, "export FILE OUT")) return false;
    command.m_strInput = operands[0];
    command.m_strOutput = operands[1];
    return true;
  }
  if (name == "convert") {
    if (!expect(2, "convert IN OUT")) return false;
    command.m_kind = CliCommandKind::Convert;
    command.m_strInput = operands[0];
    command.m_strOutput = operands[1];
    return true;
  }
  error = "unknown command '" + name + "'";
  return false;
}

const char* CliUsageText() {
  static const std::string text = [] {
    std::string t =
        "usage: quorvel-cli header FILE\n"
        "       quorvel-cli export analog|points|parameters FILE OUT\n"
        "       quorvel-cli convert IN OUT [--processor pc|dec|sgi] [--storage integer|real] "
        "[--rescale]\n";
    for (const CCliSubcommand& sub : CliSubcommands()) {
      // Every usage line of a subcommand gets the same indentation.
      std::string usage = sub.m_pszUsage;
      size_t start = 0;
      while (start < usage.size()) {
        size_t end = usage.find('\n', start);
        if (end == std::string::npos) end = usage.size();
        t += "       quorvel-cli " + usage.substr(start, end - start) + "\n";
        start = end + 1;
      }
    }
    t += "       quorvel-cli --help | --version\n";
    return t;
  }();
  return text.c_str();
}

// The help of the built-in commands; the subcommands' paragraphs go before
// the closing options.
static const char* BuiltinHelpText();

const char* CliHelpText() {
  static const std::string text = [] {
    std::string t = BuiltinHelpText();
    const std::string tail = "  --help       Shows this text.\n";
    std::string subs;
    for (const CCliSubcommand& sub : CliSubcommands()) subs += std::string(sub.m_pszHelp) + "\n";
    t.insert(t.find(tail), subs);
    return t;
  }();
  return text.c_str();
}

static const char* BuiltinHelpText() {
  return "quorvel-cli: reads, exports and converts C3D motion-capture files without a window.\n"
         "\n"
         "Commands:\n"
         "  header FILE\n"
         "      Prints the header information of FILE as the editor lists it, one\n"
         "      line per row: the caption, a tab, the value.\n"
         "\n"
         "  export analog FILE OUT\n"
         "  export points FILE OUT\n"
         "      Writes the analog samples (in physical units) or the 3D coordinates\n"
         "      of every frame of FILE as text. The format follows OUT's extension:\n"
         "      .txt tab-separated, .dst DST text, anything else comma-separated.\n"
         "\n"
         "  export parameters FILE OUT\n"
         "      Writes every group and parameter of FILE: as DST text when OUT ends\n"
         "      in .dst, as a binary parameter section when it ends in .des.\n"
         "\n"
         "  convert IN OUT [--processor pc|dec|sgi] [--storage integer|real] [--rescale]\n"
         "      Saves IN as OUT in the processor format and storage kind given;\n"
         "      what is not given stays as it is, so without options the file is\n"
         "      saved unchanged. When real data become integer data, --rescale\n"
         "      computes an optimum point scale (also for a point scale of -1.0)\n"
         "      and rescales analog channels whose samples do not fit 16 bits.\n"
         "\n"
         "  --help       Shows this text.\n"
         "  --version    Shows the program version.\n"
         "\n"
         "An existing OUT is replaced only by a complete file. Messages go to\n"
         "standard error; the editor's settings are neither read nor changed.\n"
         "Exit status: 0 on success, 1 when a file could not be read or written,\n"
         "2 for a wrong command line.\n";
}
