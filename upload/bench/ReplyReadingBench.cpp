// Cost of reading a reply of the picture service: charset detection and conversion, unescaping,
// and the three field extractions, for replies of growing size (the cost should grow linearly).
#include <benchmark/benchmark.h>

#include "text/DecodeReplyText.h"
#include "text/ExtractBetween.h"
#include "upload/UnescapeText.h"

namespace lumatrel {
namespace {

// A reply in the service's form whose msg is padded to about `size` bytes with escaped Chinese
// text, escaped slashes and plain ASCII.
Bytes MakeReply(std::size_t size) {
  std::string reply = R"({"code":0,"url":"http:\/\/p.example\/abc","msg":")";
  const std::string chunk = R"(\u4e0a\u4f20\u6210\u529f ok \/ 100%25 )";
  while (reply.size() + chunk.size() < size) reply += chunk;
  reply += R"(","path":"\/abc"})";
  return Bytes(reply.begin(), reply.end());
}

void ReadReply(benchmark::State& state) {
  const Bytes body = MakeReply(static_cast<std::size_t>(state.range(0)));
  for (auto _ : state) {
    int detected = 0;
    Text decoded;
    DecodeReplyText({}, 0, detected, decoded, body, {});
    const Text reply = UnescapeText(decoded);
    int p1 = 0, p2 = 0, p3 = 0;
    Text url = ExtractBetween(reply, "''url'':''", "\"", p1);
    Text msg = ExtractBetween(reply, "''msg'':''", "\"", p2);
    Text path = ExtractBetween(reply, "''path'':''", "\"", p3);
    if (url.empty() || path.empty()) state.SkipWithError("fields not found");
    benchmark::DoNotOptimize(msg);
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(body.size()));
  state.SetComplexityN(state.range(0));
}
BENCHMARK(ReadReply)->Arg(1 << 20)->Arg(10 << 20)->Unit(benchmark::kMillisecond)->Complexity(benchmark::oN);

// The three stages alone, to see which one a change slows down.
void DecodeStage(benchmark::State& state) {
  const Bytes body = MakeReply(static_cast<std::size_t>(state.range(0)));
  for (auto _ : state) {
    int detected = 0;
    Text decoded;
    benchmark::DoNotOptimize(DecodeReplyText({}, 0, detected, decoded, body, {}));
  }
  state.SetComplexityN(state.range(0));
}
BENCHMARK(DecodeStage)->Arg(1 << 20)->Arg(10 << 20)->Unit(benchmark::kMillisecond)->Complexity(benchmark::oN);

void UnescapeStage(benchmark::State& state) {
  const Bytes body = MakeReply(static_cast<std::size_t>(state.range(0)));
  const Text reply(body.begin(), body.end());
  for (auto _ : state) benchmark::DoNotOptimize(UnescapeText(reply));
  state.SetComplexityN(state.range(0));
}
BENCHMARK(UnescapeStage)->Arg(1 << 20)->Arg(10 << 20)->Unit(benchmark::kMillisecond)->Complexity(benchmark::oN);

void ExtractStage(benchmark::State& state) {
  const Bytes body = MakeReply(static_cast<std::size_t>(state.range(0)));
  const Text reply(body.begin(), body.end());
  for (auto _ : state) {
    int p = 0;
    benchmark::DoNotOptimize(ExtractBetween(reply, "''path'':''", "\"", p));
  }
  state.SetComplexityN(state.range(0));
}
BENCHMARK(ExtractStage)->Arg(1 << 20)->Arg(10 << 20)->Unit(benchmark::kMillisecond)->Complexity(benchmark::oN);

}  // namespace
}  // namespace lumatrel

BENCHMARK_MAIN();
