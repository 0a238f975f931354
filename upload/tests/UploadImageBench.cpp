// Upload timing and memory under Wine: UploadImage of one picture to a stand-in service, a few
// times over, printing the time of each exchange and the process's peak memory. Run by
// UploadImageBench.sh, which posts the same body with curl for comparison.
//   upload_image_bench.exe ENDPOINT MEBIBYTES REPETITIONS
#include <windows.h>
#include <ole2.h>
#include <psapi.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "http/tests/win/MessagePump.h"
#include "upload/UploadImage.h"

int main(int argc, char** argv) {
  if (argc != 4) {
    std::fprintf(stderr, "usage: upload_image_bench ENDPOINT MEBIBYTES REPETITIONS\n");
    return 2;
  }
  const std::string endpoint = argv[1];
  const std::size_t size = static_cast<std::size_t>(std::atoi(argv[2])) << 20;
  const int repetitions = std::atoi(argv[3]);

  lumatrel::testing::OleThread ole;
  lumatrel::testing::MessagePumpHook pump;
  lumatrel::WebClient client;
  client.Create();

  lumatrel::Bytes picture(size);
  unsigned state = 12345;
  for (auto& byte : picture) {
    state = state * 1103515245u + 12345u;
    byte = static_cast<std::uint8_t>(state >> 24);
  }

  LARGE_INTEGER frequency;
  QueryPerformanceFrequency(&frequency);
  bool allOk = true;
  for (int i = 0; i < repetitions; ++i) {
    lumatrel::Text address, failure, path;
    LARGE_INTEGER start, end;
    QueryPerformanceCounter(&start);
    const bool ok = lumatrel::UploadImage(client, endpoint, picture, "bench.png", address, failure, path);
    QueryPerformanceCounter(&end);
    allOk = allOk && ok;
    std::printf("upload %d: %.1f ms %s\n", i + 1, 1000.0 * (end.QuadPart - start.QuadPart) / frequency.QuadPart,
                ok ? "ok" : "FAILED");
  }
  PROCESS_MEMORY_COUNTERS counters{};
  counters.cb = sizeof counters;
  GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof counters);
  std::printf("picture %.1f MiB, peak working set %.1f MiB, peak private bytes %.1f MiB\n", size / 1048576.0,
              counters.PeakWorkingSetSize / 1048576.0, counters.PeakPagefileUsage / 1048576.0);
  return allOk ? 0 : 1;
}
