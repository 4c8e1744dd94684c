// quorvel-cli batch: runs a batch file on C3D files, one after the other, as
// the editor's Batch Process command does.
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iostream>

#include "app/BatchFile.h"
#include "app/BatchRun.h"
#include "cli/CliArguments.h"
#include "cli/CliCommands.h"
#include "cli/CliSession.h"
#include "cli/LinePrefixStream.h"
#include "document/EditorDoc.h"

namespace {

struct CBatchArguments {
  std::string m_strBatchFile;
  std::vector<std::string> m_files;
  bool m_bAlwaysSave = false;
  bool m_bLockedEdit = false;
  bool m_bRescale = false;
};

bool ParseBatchArguments(const std::vector<std::string>& args, CBatchArguments& parsed, std::string& error) {
  std::vector<std::string> operands;
  bool options = true;
  for (const std::string& arg : args) {
    if (options && arg == "--") {
      options = false;
    } else if (options && arg.size() > 1 && arg[0] == '-') {
      if (arg == "--always-save") parsed.m_bAlwaysSave = true;
      else if (arg == "--locked-edit") parsed.m_bLockedEdit = true;
      else if (arg == "--rescale") parsed.m_bRescale = true;
      else {
        error = "unknown option '" + arg + "'";
        return false;
      }
    } else {
      operands.push_back(arg);
    }
  }
  if (operands.size() < 2) {
    error = operands.empty() ? "batch needs a batch file and at least one C3D file"
                             : "batch needs at least one C3D file after the batch file";
    return false;
  }
  parsed.m_strBatchFile = operands[0];
  parsed.m_files.assign(operands.begin() + 1, operands.end());
  return true;
}

void PrintResult(const std::string& file, const std::string& result) {
  std::printf("%s: %s\n", file.c_str(), result.c_str());
  std::fflush(stdout);
}

// Why a refused batch file was refused, in a user's words.
std::string ProblemDetail(const CBatchFile& batch, bool readable) {
  if (!readable) return std::string("it cannot be read: ") + std::strerror(errno);
  if (batch.GeneralString("File") != "BATCH FILE")
    return "its [General] section needs the line File=BATCH FILE";
  return "its [General] section needs Operations=N, the number of [OperationN] sections to run";
}

// Opens one file, runs the batch file on it, closes it. True when it opened
// and any save it asked for succeeded.
bool RunOnFile(const CBatchArguments& arguments, const CBatchFile& batch, const std::string& file) {
  CLinePrefixStream messages(std::cerr, file + ": ");
  CCliSession session(false, &messages);
  CHeadlessApp& app = session.App();
  // Batch Mode stays off: the messages that operations keep quiet in Batch
  // Mode are shown, as the Batch Process command shows them.
  app.m_settings.m_strBatchFile = arguments.m_strBatchFile;
  app.m_settings.m_nRescaleConversion = arguments.m_bRescale ? 1 : 0;
  app.LockedEditFlag = arguments.m_bLockedEdit ? 1 : 0;

  CEditorDoc* doc = session.Open(file);
  if (!doc) {
    messages.flush();
    PrintResult(file, "failed: the file could not be opened");
    return false;
  }
  CBatchOutcome outcome = RunBatch(*doc, batch, arguments.m_bAlwaysSave);
  app.CloseDocument(doc);
  messages.flush();

  if (outcome.m_bRejected) {
    PrintResult(file, "failed: the batch file was refused");
    return false;
  }
  if (!outcome.m_bSaveAsked) {
    PrintResult(file, "not saved");
    return true;
  }
  PrintResult(file, outcome.m_bSaved ? "saved" : "failed: the file could not be saved");
  return outcome.m_bSaved;
}

}  // namespace

int CliBatchMain(const std::vector<std::string>& args) {
  CBatchArguments arguments;
  std::string error;
  if (!ParseBatchArguments(args, arguments, error)) {
    CliError(error);
    std::fputs(CliUsageText(), stderr);
    return kExitUsage;
  }

  // The batch file is the same for every file: refuse a broken one once,
  // before any file is opened.
  CBatchFile batch;
  bool readable = batch.Load(arguments.m_strBatchFile);
  std::string problem = BatchFileProblem(batch);
  if (!problem.empty()) {
    std::string detail = ProblemDetail(batch, readable);
    std::cerr << arguments.m_strBatchFile << ": " << problem << '\n'
              << arguments.m_strBatchFile << ": (" << detail << ")\n";
    for (const std::string& file : arguments.m_files) PrintResult(file, "failed: the batch file was refused");
    return kExitFailed;
  }

  bool allDone = true;
  for (const std::string& file : arguments.m_files)
    if (!RunOnFile(arguments, batch, file)) allDone = false;
  return allDone ? kExitOk : kExitFailed;
}
