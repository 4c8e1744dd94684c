// quorvel-cli validity run as a program: its output, JSON and exit statuses.
#include <gtest/gtest.h>
#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cmath>
#include <cstdlib>
#include <filesystem>

#include "DocModel.h"
#include "ModelFixture.h"
#include "TestSupport.h"
#include "c3d/C3d.h"

extern char** environ;

using testsupport::CTempDir;

namespace {

struct CRun {
  int m_nStatus = -1;
  std::string m_strOut;
  std::string m_strErr;
};

std::string ReadText(const std::string& path) {
  std::vector<unsigned char> bytes = testsupport::ReadAll(path);
  return std::string(bytes.begin(), bytes.end());
}

CRun RunCli(const CTempDir& dir, std::vector<std::string> args) {
  const std::string out = dir.File("cli.stdout"), err = dir.File("cli.stderr");
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, 1, out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
  posix_spawn_file_actions_addopen(&actions, 2, err.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
  args.insert(args.begin(), QUORVEL_CLI_PATH);
  std::vector<char*> argv;
  for (std::string& a : args) argv.push_back(a.data());
  argv.push_back(nullptr);
  CRun run;
  pid_t pid;
  if (posix_spawn(&pid, QUORVEL_CLI_PATH, &actions, nullptr, argv.data(), environ) == 0) {
    int status = 0;
    ::waitpid(pid, &status, 0);
    run.m_nStatus = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
  }
  posix_spawn_file_actions_destroy(&actions);
  run.m_strOut = ReadText(out);
  run.m_strErr = ReadText(err);
  return run;
}

// The numbers of a CSV export, row by row (the header row left out).
std::vector<std::vector<double>> CsvNumbers(const std::string& path) {
  std::vector<std::vector<double>> rows;
  std::string text = ReadText(path);
  size_t start = text.find("\r\n") + 2;
  while (start < text.size()) {
    size_t end = text.find("\r\n", start);
    std::vector<double> row;
    const char* p = text.c_str() + start;
    const char* stop = text.c_str() + end;
    while (p < stop) {
      char* next;
      row.push_back(std::strtod(p, &next));
      p = next + 1;
    }
    rows.push_back(row);
    start = end + 2;
  }
  return rows;
}

const char kSample[] = QUORVEL_SOURCE_DIR "/samples/sample.c3d";
const char kSampleRules[] = QUORVEL_SOURCE_DIR "/samples/validity.cfg";

}  // namespace

TEST(CliValidity, PrintsTheResultsOrWhyTheCheckCannotRun) {
  CTempDir dir;
  CRun run = RunCli(dir, {"validity", "parameters", kSampleRules, kSample});
  EXPECT_EQ(run.m_nStatus, 0) << run.m_strErr;
  EXPECT_EQ(run.m_strOut, "Parameter Validity\nAll the Parameters contain valid Data Type and dimensions\n");

  // Integer storage, scale 0.5, points valid in even frames only: P1's valid
  // X reach 520, P2's 520.5 (both reach 525 or more in invalid frames).
  CC3d model;
  docmodel::BuildModel(model);
  testsupport::SetList(model, "SEG", "DATA_LIMITS", PARAM_FLOAT, {0, 0, 0, 520.25, 2000, 2000});
  ASSERT_TRUE(docmodel::SaveModel(model, dir.File("limits.c3d")));
  run = RunCli(dir, {"validity", "points", dir.File("limits.c3d")});
  EXPECT_EQ(run.m_nStatus, 0) << run.m_strErr;
  EXPECT_EQ(run.m_strOut,
            "Point Data and related Parameter Validity\nP2  :  Data Out Of Limits\n\n"
            "POINT:LABELS has valid data\nPOINT:USED has valid data\nPOINT:SCALE has valid data\n"
            "POINT:RATE has valid data\nPOINT:DATA_START has valid data\nPOINT:FRAMES has valid data\n");
  run = RunCli(dir, {"validity", "points", "--json", dir.File("limits.c3d")});
  EXPECT_EQ(run.m_strOut,
            "{\"file\": \"" + dir.File("limits.c3d") +
                "\", \"mode\": \"points\", \"caption\": \"Point Data and related Parameter Validity\", "
                "\"lines\": [\"P2  :  Data Out Of Limits\", \"\", \"POINT:LABELS has valid data\", "
                "\"POINT:USED has valid data\", \"POINT:SCALE has valid data\", \"POINT:RATE has valid "
                "data\", \"POINT:DATA_START has valid data\", \"POINT:FRAMES has valid data\"], "
                "\"outOfLimits\": [\"P2\"], \"parameterLines\": [\"POINT:LABELS has valid data\", "
                "\"POINT:USED has valid data\", \"POINT:SCALE has valid data\", \"POINT:RATE has valid "
                "data\", \"POINT:DATA_START has valid data\", \"POINT:FRAMES has valid data\"]}\n");

  run = RunCli(dir, {"validity", "points", kSample});
  EXPECT_EQ(run.m_nStatus, 1);
  EXPECT_EQ(run.m_strOut, "");
  EXPECT_EQ(run.m_strErr, "Could not find parameter SEG:DATA_LIMITS\nCannot Check Validity\n");

  run = RunCli(dir, {"validity", "analog", kSample, "--json"});
  EXPECT_EQ(run.m_nStatus, 0);
  EXPECT_EQ(run.m_strOut.substr(run.m_strOut.find("\"mode\"")),
            "\"mode\": \"analog\", \"caption\": \"Analog Data related Parameter Validity\", \"lines\": "
            "[\"ANALOG:LABELS has valid data\", \"ANALOG:GEN_SCALE has valid data\", \"ANALOG:SCALE has "
            "valid data\", \"ANALOG:OFFSET has valid data\", \"ANALOG:UNITS has valid data\", "
            "\"ANALOG:USED has valid data\", \"ANALOG:RATE has valid data\"]}\n");

  run = RunCli(dir, {"validity", "parameters", dir.File("none.cfg"), kSample});
  EXPECT_EQ(run.m_nStatus, 1);
  EXPECT_EQ(run.m_strErr, "quorvel-cli: cannot read the rules file '" + dir.File("none.cfg") + "'\n");
  for (std::vector<std::string> args : {std::vector<std::string>{"validity"},
                                        {"validity", "parameters", kSample},
                                        {"validity", "limits", kSample},
                                        {"validity", "analog", kSample, "--xml"}})
    EXPECT_EQ(RunCli(dir, args).m_nStatus, 2) << args.back();
}
