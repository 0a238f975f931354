#include "HostProcess.h"

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <thread>

#include "host/DurableFile.h"

extern char** environ;

namespace lumatrel::host::testing {
namespace {

pid_t Spawn(const std::vector<std::string>& arguments, const std::filesystem::path* output) {
  std::vector<char*> argv;
  for (const std::string& argument : arguments) argv.push_back(const_cast<char*>(argument.c_str()));
  argv.push_back(nullptr);
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  if (output) {
    posix_spawn_file_actions_addopen(&actions, 1, output->c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    posix_spawn_file_actions_adddup2(&actions, 1, 2);
  }
  pid_t pid = -1;
  if (posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environ) != 0) pid = -1;
  posix_spawn_file_actions_destroy(&actions);
  return pid;
}

int WaitFor(pid_t pid) {
  int status = 0;
  while (waitpid(pid, &status, 0) < 0) {
    if (errno != EINTR) return -1;
  }
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

}  // namespace

TempFolder::TempFolder() {
  std::string pattern = (std::filesystem::temp_directory_path() / "lumatrel-host-test-XXXXXX").string();
  if (mkdtemp(pattern.data()) != nullptr) path_ = pattern;
}

TempFolder::~TempFolder() {
  std::error_code ignored;
  if (!path_.empty()) std::filesystem::remove_all(path_, ignored);
}

HostProcess::~HostProcess() { Kill(); }

bool HostProcess::Start(const std::filesystem::path& dataDir, const std::filesystem::path& logFile, int port,
                        const std::vector<std::string>& extra) {
  std::vector<std::string> arguments{LUMATREL_HOST_PROGRAM, "--data", dataDir.string(), "--listen",
                                     "127.0.0.1:" + std::to_string(port)};
  arguments.insert(arguments.end(), extra.begin(), extra.end());
  logFile_ = logFile;
  pid_ = Spawn(arguments, &logFile_);
  if (pid_ <= 0) return false;
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
  while (std::chrono::steady_clock::now() < deadline) {
    const std::string log = Log();
    const std::size_t at = log.find("listening on 127.0.0.1:");
    const std::size_t comma = at == std::string::npos ? std::string::npos : log.find(',', at);
    if (comma != std::string::npos) {
      port_ = std::atoi(log.c_str() + log.rfind(':', comma) + 1);
      return port_ > 0;
    }
    int status = 0;
    if (waitpid(pid_, &status, WNOHANG) == pid_) {
      pid_ = -1;
      return false;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  Kill();
  return false;
}

int HostProcess::Stop() {
  if (pid_ <= 0) return -1;
  kill(pid_, SIGTERM);
  const int status = WaitFor(pid_);
  pid_ = -1;
  return status;
}

void HostProcess::Kill() {
  if (pid_ <= 0) return;
  kill(pid_, SIGKILL);
  WaitFor(pid_);
  pid_ = -1;
}

std::string HostProcess::Log() const { return ReadWholeFile(logFile_).value_or(""); }

int RunProgram(const std::vector<std::string>& arguments) {
  const pid_t pid = Spawn(arguments, nullptr);
  return pid > 0 ? WaitFor(pid) : -1;
}

}  // namespace lumatrel::host::testing
