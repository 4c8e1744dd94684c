// quorvel-cli print: the listing that File > Print prints, as text on
// standard output (no pages), for scripts and for checking a print without
// paper.
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "cli/CliChannelList.h"
#include "cli/CliCommands.h"
#include "cli/CliSession.h"
#include "document/EditorDoc.h"
#include "document/PrintListing.h"

int CliPrintMain(const std::vector<std::string>& args);

namespace {

const char kUsage[] =
    "usage: quorvel-cli print FILE [--analog LIST] [--points LIST] [--first N] [--last N]\n";

int Usage(const std::string& reason) {
  CliError(reason);
  std::fputs(kUsage, stderr);
  return kExitUsage;
}

// A frame number: digits only, at most 65535.
bool ParseFrame(const std::string& text, int& frame) {
  if (text.empty() || text.size() > 5 || text.find_first_not_of("0123456789") != std::string::npos)
    return false;
  frame = std::atoi(text.c_str());
  return frame <= 65535;
}

}  // namespace

int CliPrintMain(const std::vector<std::string>& args) {
  std::vector<std::string> operands;
  const std::string* lists[2] = {nullptr, nullptr};  // analog, points
  std::string frameTexts[2];
  bool frameGiven[2] = {false, false};
  for (size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    const int list = arg == "--analog" ? 0 : arg == "--points" ? 1 : -1;
    const int frame = arg == "--first" ? 0 : arg == "--last" ? 1 : -1;
    if (list >= 0 || frame >= 0) {
      if (i + 1 >= args.size()) return Usage(arg + " needs a value");
      if ((list >= 0 && lists[list]) || (frame >= 0 && frameGiven[frame])) return Usage(arg + " is given twice");
      if (list >= 0) lists[list] = &args[++i];
      if (frame >= 0) {
        frameTexts[frame] = args[++i];
        frameGiven[frame] = true;
      }
    } else if (arg.size() > 1 && arg[0] == '-') {
      return Usage("unknown option '" + arg + "'");
    } else {
      operands.push_back(arg);
    }
  }
  if (operands.size() != 1) return Usage("print needs one C3D file");

  CCliSession session(false);
  CEditorDoc* doc = session.Open(operands[0]);
  if (!doc) return kExitFailed;
  const CC3d& c3d = doc->m_c3d;

  CPrintChannelsRequest request(c3d);
  const int counts[2] = {c3d.AnalogCount(), c3d.PointCount()};
  std::vector<int>* chosen[2] = {&request.m_analog, &request.m_points};
  const bool anyList = lists[0] || lists[1];
  for (int k = 0; k < 2; ++k) {
    std::string error;
    if (!lists[k]) {
      // Without any list every channel of the file is printed.
      if (!anyList)
        for (int c = 0; c < counts[k]; ++c) chosen[k]->push_back(c);
      continue;
    }
    if (counts[k] == 0) {
      CliError("'" + operands[0] + "' has no " + (k ? "3D points" : "analog channels"));
      return kExitFailed;
    }
    if (!ParseChannelList(*lists[k], counts[k], *chosen[k], error)) return Usage(error);
  }
  int* frames[2] = {&request.m_nFirstFrame, &request.m_nLastFrame};
  for (int k = 0; k < 2; ++k) {
    if (frameGiven[k] && !ParseFrame(frameTexts[k], *frames[k]))
      return Usage("'" + frameTexts[k] + "' is not a frame number");
  }
  if (request.m_analog.empty() && request.m_points.empty()) {
    CliError("'" + operands[0] + "' has no channels to print");
    return kExitFailed;
  }
  if (!request.Ok())
    return Usage("frames " + std::to_string(request.m_nFirstFrame) + " to " +
                 std::to_string(request.m_nLastFrame) + " are not a range within the file's frames " +
                 std::to_string(request.m_nFileFirstFrame) + " to " +
                 std::to_string(request.m_nFileLastFrame));

  CPrintListing listing(c3d, request);
  CPrintLine line;
  while (listing.Next(line)) {
    const std::string text = PrintLineText(line);
    if (std::fwrite(text.data(), 1, text.size(), stdout) != text.size() || std::fputc('\n', stdout) == EOF)
      break;
  }
  if (std::fflush(stdout) != 0 || std::ferror(stdout)) {
    CliError(std::string("could not write the listing: ") + std::strerror(errno));
    return kExitFailed;
  }
  return kExitOk;
}
