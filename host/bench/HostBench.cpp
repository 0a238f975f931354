// Benchmarks of the picture host (not run by ctest):
//   uploads per second of small and of 10-megapixel pictures through a real host process, and
//   both renditions of a 24-megapixel JPEG in process against libvips' own vipsthumbnail making
//   the same two sizes.
#include <benchmark/benchmark.h>

#include <memory>

#include "../tests/HostProcess.h"
#include "../tests/ProgramForm.h"
#include "../tests/TestPictures.h"
#include "host/DurableFile.h"
#include "host/Renditions.h"

namespace lumatrel::host {
namespace {

namespace fs = std::filesystem;

// The same JPEG with a counter in a comment segment after SOI: distinct bytes (so a new id and
// real work each time) that decode to the same picture.
std::string Distinct(const std::string& jpeg, std::uint64_t counter) {
  const std::string text = "lumatrel-bench " + std::to_string(counter);
  const std::size_t length = text.size() + 2;
  std::string out = jpeg.substr(0, 2);
  out += "\xff\xfe";
  out += static_cast<char>(length >> 8);
  out += static_cast<char>(length & 0xff);
  out += text;
  out += jpeg.substr(2);
  return out;
}

struct BenchHost {
  testing::TempFolder folder;
  testing::HostProcess process;
  BenchHost() { process.Start(folder.path() / "data", folder.path() / "host.log"); }
};

BenchHost& Host() {
  static BenchHost host;
  return host;
}

void Uploads(benchmark::State& state, int width, int height) {
  const std::string jpeg = testing::PatternPicture(width, height, ".jpg[Q=90]");
  auto client = testing::HostClient(Host().process.port());
  static std::uint64_t counter = 0;
  for (auto _ : state) {
    const auto answer = testing::PostUpload(client, testing::ProgramForm("bench.jpg", Distinct(jpeg, ++counter)));
    if (answer.url.empty()) state.SkipWithError(("upload failed: " + answer.body).c_str());
  }
  state.SetItemsProcessed(state.iterations());
  state.counters["picture_bytes"] = static_cast<double>(jpeg.size());
}

void BM_UploadSmallPicture(benchmark::State& state) { Uploads(state, 320, 240); }
void BM_Upload10MegapixelPicture(benchmark::State& state) { Uploads(state, 3872, 2592); }

const std::string& Jpeg24Megapixels() {
  static const std::string jpeg = testing::PatternPicture(6000, 4000, ".jpg[Q=90]");
  return jpeg;
}

void BM_Renditions24MegapixelJpeg(benchmark::State& state) {
  const std::string& jpeg = Jpeg24Megapixels();
  for (auto _ : state) {
    const Renditions renditions = MakeRenditions(jpeg, PictureType::Jpeg, 100'000'000);
    if (renditions.outcome != DecodeOutcome::Made) state.SkipWithError("renditions failed");
    benchmark::DoNotOptimize(renditions.large.data());
  }
}

void BM_Vipsthumbnail24MegapixelJpeg(benchmark::State& state) {
  static testing::TempFolder folder;
  const fs::path input = folder.path() / "in.jpg";
  if (!fs::exists(input)) WriteNewFileDurably(input, Jpeg24Megapixels());
  for (auto _ : state) {
    for (const char* size : {"2000x2000>", "460x460>"}) {
      const std::string output = (folder.path() / (std::string("%s_") + size[0] + ".jpg[Q=85,strip,optimize_coding]")).string();
      if (testing::RunProgram({"/usr/bin/vipsthumbnail", input.string(), "-s", size, "-o", output}) != 0) {
        state.SkipWithError("vipsthumbnail failed");
      }
    }
  }
}

BENCHMARK(BM_UploadSmallPicture)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(3);
BENCHMARK(BM_Upload10MegapixelPicture)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(5);
BENCHMARK(BM_Renditions24MegapixelJpeg)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(5);
BENCHMARK(BM_Vipsthumbnail24MegapixelJpeg)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(5);

}  // namespace
}  // namespace lumatrel::host

BENCHMARK_MAIN();
