// Rewriting one value of a large settings file in place: the time and the bytes written per edit.
// An edit moves the bytes after the value once, by the difference in length: a value near the
// start of the file costs about the file, one near the end next to nothing, and a value of the
// same length only its own bytes. Finding the section scans the document in memory.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

#include "settings/ConfigStore.h"

namespace {

// Bytes this process has handed to write calls so far (Linux).
long long BytesWrittenSoFar() {
  std::ifstream io("/proc/self/io");
  std::string name;
  long long value = 0;
  while (io >> name >> value) {
    if (name == "wchar:") return value;
  }
  return -1;
}

// A file of about size bytes: section S with the key near the start when atStart, else at the end.
std::string MakeSettings(std::size_t size, bool atStart) {
  std::string body;
  for (int i = 0; body.size() < size; ++i) body += "\r\nkey" + std::to_string(i) + "=some value of the entry " + std::to_string(i);
  return atStart ? "[S]\r\nK=D:\\pics\\" + body : "[T]" + body + "\r\n[S]\r\nK=D:\\pics\\";
}

void RewriteOneValue(benchmark::State& state) {
  const auto size = static_cast<std::size_t>(state.range(0)) << 20;
  const bool atStart = state.range(1) != 0;
  const bool sameLength = state.range(2) != 0;
  const auto path = std::filesystem::temp_directory_path() / ("lumatrel-bench-" + std::to_string(size) + ".ini");
  {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << MakeSettings(size, atStart);
  }
  lumatrel::ConfigStore store;
  if (!store.Open(path.string(), lumatrel::StorageMode::File)) {
    state.SkipWithError("cannot open the settings file");
    return;
  }
  store.SelectSection("S");
  // The file starts with the first value, so every edit is a rewrite of the same kind.
  const std::string values[] = {sameLength ? "E:\\pics\\" : "D:\\pictures of the summer\\", "D:\\pics\\"};
  // Bytes per edit are measured over a few edits before the timed loop, whose time they would
  // otherwise include.
  constexpr int kCountedEdits = 4;
  std::size_t edits = 0;
  const long long before = BytesWrittenSoFar();
  for (; edits < kCountedEdits; ++edits) store.WriteText("K", values[edits % 2]);
  const double writtenPerEdit = static_cast<double>(BytesWrittenSoFar() - before) / kCountedEdits;
  for (auto _ : state) {
    benchmark::DoNotOptimize(store.WriteText("K", values[edits % 2]));
    ++edits;
  }
  state.counters["file_MiB"] = static_cast<double>(store.Document().Length()) / (1 << 20);
  state.counters["bytes_written_per_edit"] = writtenPerEdit;
  store.Close();
  std::filesystem::remove(path);
}

BENCHMARK(RewriteOneValue)
    ->ArgNames({"MiB", "near_start", "same_length"})
    ->Args({1, 1, 0})
    ->Args({16, 1, 0})
    ->Args({1, 1, 1})
    ->Args({16, 1, 1})
    ->Args({1, 0, 0})
    ->Args({16, 0, 0})
    ->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
