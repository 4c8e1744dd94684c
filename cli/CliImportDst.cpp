// quorvel-cli import-dst: the editor's Read From DST on a file, which is then
// saved.
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "cli/CliCommands.h"
#include "cli/CliSession.h"
#include "document/DstImport.h"
#include "document/EditorDoc.h"

int CliImportDstMain(const std::vector<std::string>& args);

namespace {

const char kUsage[] = "usage: quorvel-cli import-dst FILE DSTFILE (--analog LIST | --points LIST)\n";

int Usage(const std::string& reason) {
  CliError(reason);
  std::fputs(kUsage, stderr);
  return kExitUsage;
}

// A number from 1 to `count`; false for anything else.
bool ParseNumber(const std::string& text, int count, int& value) {
  if (text.empty() || text.size() > 9 || text.find_first_not_of("0123456789") != std::string::npos)
    return false;
  value = std::atoi(text.c_str());
  return value >= 1 && value <= count;
}

// "all" or a list such as "1,3-5" (numbered from 1) as 0-based indexes, in
// the order given, each once.
bool ParseChannelList(const std::string& list, int count, std::vector<int>& channels,
                      std::string& error) {
  channels.clear();
  if (list == "all") {
    for (int i = 0; i < count; ++i) channels.push_back(i);
    return true;
  }
  std::vector<bool> taken(static_cast<size_t>(count), false);
  size_t start = 0;
  while (start <= list.size()) {
    size_t comma = list.find(',', start);
    if (comma == std::string::npos) comma = list.size();
    const std::string item = list.substr(start, comma - start);
    const size_t dash = item.find('-');
    int first = 0, last = 0;
    bool ok = dash == std::string::npos
                  ? ParseNumber(item, count, first) && (last = first, true)
                  : ParseNumber(item.substr(0, dash), count, first) &&
                        ParseNumber(item.substr(dash + 1), count, last) && first <= last;
    if (!ok) {
      error = "'" + item + "' is not a channel or range of channels from 1 to " + std::to_string(count);
      return false;
    }
    for (int c = first; c <= last; ++c) {
      if (taken[static_cast<size_t>(c - 1)]) continue;
      taken[static_cast<size_t>(c - 1)] = true;
      channels.push_back(c - 1);
    }
    start = comma + 1;
  }
  return true;
}

}  // namespace

int CliImportDstMain(const std::vector<std::string>& args) {
  std::vector<std::string> operands;
  std::string list;
  int kind = -1;
  for (size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    if (arg == "--analog" || arg == "--points") {
      if (kind >= 0) return Usage("give either --analog or --points, once");
      if (i + 1 >= args.size()) return Usage(arg + " needs a channel list");
      kind = arg == "--analog" ? DST_ANALOG : DST_POINTS;
      list = args[++i];
    } else if (arg.size() > 1 && arg[0] == '-') {
      return Usage("unknown option '" + arg + "'");
    } else {
      operands.push_back(arg);
    }
  }
  if (operands.size() != 2) return Usage("import-dst needs a C3D file and a DST file");
  if (kind < 0) return Usage("import-dst needs --analog LIST or --points LIST");

  CCliSession session(false);
  CEditorDoc* doc = session.Open(operands[0]);
  if (!doc) return kExitFailed;

  CReadDstRequest request;
  request.m_strPath = operands[1];
  request.m_nKind = kind;
  const int count = kind == DST_POINTS ? doc->m_c3d.PointCount() : doc->m_c3d.AnalogCount();
  std::string error;
  if (count == 0) {
    CliError("'" + operands[0] + "' has no " + (kind == DST_POINTS ? "3D points" : "analog channels"));
    return kExitFailed;
  }
  if (!ParseChannelList(list, count, request.m_channels, error)) return Usage(error);

  CReadDstResult result = ReadFromDst(*doc, request, false);
  if (!result.m_bOpened) return kExitFailed;
  for (const std::string& line : result.m_lines) std::printf("%s\n", line.c_str());
  std::fflush(stdout);
  const int before = session.Prompt().MessageCount();
  if (result.m_nRead > 0 && !doc->SaveInPlace()) {
    if (session.Prompt().MessageCount() == before) CliError("could not write '" + operands[0] + "'");
    return kExitFailed;
  }
  return result.m_nFailed > 0 ? kExitFailed : kExitOk;
}
