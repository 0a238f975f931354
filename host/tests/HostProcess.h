// A lumatrel-host process for a test: started on a free loopback port, stopped by its PID.
#pragma once

#include <sys/types.h>

#include <filesystem>
#include <string>
#include <vector>

namespace lumatrel::host::testing {

// A fresh folder under the system's temporary folder, removed with everything in it.
class TempFolder {
 public:
  TempFolder();
  ~TempFolder();
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;
  const std::filesystem::path& path() const { return path_; }

 private:
  std::filesystem::path path_;
};

class HostProcess {
 public:
  HostProcess() = default;
  ~HostProcess();
  HostProcess(const HostProcess&) = delete;
  HostProcess& operator=(const HostProcess&) = delete;

  // Starts the program with --data dataDir --listen 127.0.0.1:port (0: a free one) and the extra
  // arguments, and waits for its listening line. Output goes to logFile.
  bool Start(const std::filesystem::path& dataDir, const std::filesystem::path& logFile, int port = 0,
             const std::vector<std::string>& extra = {});
  // SIGTERM, then waits; the exit status, or -1 if it did not exit normally.
  int Stop();
  // SIGKILL, then waits.
  void Kill();

  int port() const { return port_; }
  pid_t pid() const { return pid_; }
  std::string Log() const;

 private:
  pid_t pid_ = -1;
  int port_ = -1;
  std::filesystem::path logFile_;
};

// Runs a program to its end with the arguments; its exit status, or -1.
int RunProgram(const std::vector<std::string>& arguments);

}  // namespace lumatrel::host::testing
