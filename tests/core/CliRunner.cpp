#include "CliRunner.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>

#include <filesystem>

extern char** environ;

namespace testsupport {

std::string ReadText(const std::string& path) {
  std::vector<unsigned char> bytes = ReadAll(path);
  return std::string(bytes.begin(), bytes.end());
}

CCliRun RunCli(const CTempDir& dir, std::vector<std::string> args, bool inDir) {
  const std::string outPath = dir.File("cli.stdout"), errPath = dir.File("cli.stderr");
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, 1, outPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
  posix_spawn_file_actions_addopen(&actions, 2, errPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
  if (inDir) posix_spawn_file_actions_addchdir_np(&actions, dir.Path().c_str());
  args.insert(args.begin(), QUORVEL_CLI_PATH);
  std::vector<char*> argv;
  for (std::string& a : args) argv.push_back(a.data());
  argv.push_back(nullptr);
  CCliRun run;
  pid_t pid;
  if (posix_spawn(&pid, QUORVEL_CLI_PATH, &actions, nullptr, argv.data(), environ) == 0) {
    int status = 0;
    ::waitpid(pid, &status, 0);
    run.m_nStatus = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
  }
  posix_spawn_file_actions_destroy(&actions);
  run.m_strOut = ReadText(outPath);
  run.m_strErr = ReadText(errPath);
  std::filesystem::remove(outPath);
  std::filesystem::remove(errPath);
  return run;
}

}  // namespace testsupport
