// lumatrel-host: the picture host that Lumatrel uploads to by default.
#include <atomic>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <pthread.h>
#include <signal.h>
#include <thread>
#include <unistd.h>

#include "host/Options.h"
#include "host/PictureHost.h"
#include "host/Renditions.h"
#include "host/Store.h"

int main(int argc, char** argv) {
  using namespace lumatrel::host;
  const char* home = std::getenv("HOME");
  const OptionsReading reading = ReadOptions(std::vector<std::string>(argv + 1, argv + argc), home ? home : "");
  if (reading.help) {
    std::fputs(HelpText().c_str(), stdout);
    return 0;
  }
  if (!reading.error.empty()) {
    std::fprintf(stderr, "lumatrel-host: %s\n(see lumatrel-host --help)\n", reading.error.c_str());
    return 2;
  }

  // Signals are taken by sigwait below, so every thread (libvips' and the server's included)
  // must have them blocked from the start.
  sigset_t stopSignals;
  sigemptyset(&stopSignals);
  sigaddset(&stopSignals, SIGINT);
  sigaddset(&stopSignals, SIGTERM);
  pthread_sigmask(SIG_BLOCK, &stopSignals, nullptr);
  std::signal(SIGPIPE, SIG_IGN);

  if (!StartPictureLibrary()) {
    std::fprintf(stderr, "lumatrel-host: libvips did not start\n");
    return 1;
  }
  PictureStore store(reading.options.dataDir);
  if (!store.Open()) {
    std::fprintf(stderr, "lumatrel-host: cannot use the data folder %s\n", reading.options.dataDir.c_str());
    return 1;
  }
  PictureHost host(reading.options, store);
  const int port = host.Bind();
  if (port <= 0) {
    std::fprintf(stderr, "lumatrel-host: cannot listen on %s:%d\n", reading.options.listenHost.c_str(),
                 reading.options.listenPort);
    return 1;
  }
  // Tests and scripts read the bound port from this first line.
  std::printf("lumatrel-host listening on %s:%d, data in %s, links as %s/p/<id>\n", reading.options.listenHost.c_str(),
              port, reading.options.dataDir.c_str(), host.PublicUrl().c_str());
  std::fflush(stdout);

  bool served = true;
  std::atomic<bool> finished{false};
  std::thread server([&] {
    served = host.Serve();
    finished = true;
    // Wakes the signal wait below when serving ends on its own.
    if (!served) kill(getpid(), SIGTERM);
  });
  int received = 0;
  sigwait(&stopSignals, &received);
  // A stop that comes before the server loop has begun is lost, so it is repeated until the
  // loop has ended.
  while (!finished) {
    host.Stop();
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
  server.join();
  std::printf("lumatrel-host stopped (signal %d)\n", received);
  std::fflush(stdout);
  return served ? 0 : 1;
}
