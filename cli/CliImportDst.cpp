// quorvel-cli import-dst: the editor's Read From DST on a file, which is then
// saved.
#include <cstdio>
#include <string>
#include <vector>

#include "cli/CliChannelList.h"
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
