// How the searching commands scale with the size of a page: each should stay
// linear up to the 16 MiB a fetched page can reach.
#include <benchmark/benchmark.h>

#include <string>

#include "text/find_text.h"
#include "text/replace_subtext.h"
#include "text/split_text.h"
#include "text/text.h"

namespace quorvel {
namespace {

// A page of `size` bytes: HTML lines with Chinese characters (啊 in code page
// 936) in them.
Text MakePage(size_t size) {
  const std::string line = "<li class=\"item\">\xB0\xA1\xB0\xA1 sign-in 12:00</li>\r\n";
  std::string page;
  page.reserve(size + line.size());
  while (page.size() < size) page += line;
  page.resize(size);
  return Text(std::move(page));
}

void BM_FindTextMissing(benchmark::State& state) {
  const Text page = MakePage(static_cast<size_t>(state.range(0)));
  for (auto _ : state) benchmark::DoNotOptimize(FindText(page, "not there"));
  state.SetBytesProcessed(state.iterations() * state.range(0));
  state.SetComplexityN(state.range(0));
}
BENCHMARK(BM_FindTextMissing)->RangeMultiplier(4)->Range(1 << 16, 1 << 24)->Complexity();

void BM_FindTextCaseInsensitive(benchmark::State& state) {
  const Text page = MakePage(static_cast<size_t>(state.range(0)));
  for (auto _ : state) {
    benchmark::DoNotOptimize(FindText(page, "NOT THERE", std::nullopt, true));
  }
  state.SetBytesProcessed(state.iterations() * state.range(0));
  state.SetComplexityN(state.range(0));
}
BENCHMARK(BM_FindTextCaseInsensitive)->RangeMultiplier(4)->Range(1 << 16, 1 << 24)->Complexity();

void BM_ReplaceSubtextEveryLine(benchmark::State& state) {
  const Text page = MakePage(static_cast<size_t>(state.range(0)));
  for (auto _ : state) {
    benchmark::DoNotOptimize(ReplaceSubtext(page, "\r\n", "\n", std::nullopt, std::nullopt, true));
  }
  state.SetBytesProcessed(state.iterations() * state.range(0));
  state.SetComplexityN(state.range(0));
}
BENCHMARK(BM_ReplaceSubtextEveryLine)->RangeMultiplier(4)->Range(1 << 16, 1 << 24)->Complexity();

void BM_SplitTextLines(benchmark::State& state) {
  const Text page = MakePage(static_cast<size_t>(state.range(0)));
  for (auto _ : state) benchmark::DoNotOptimize(SplitText(page, "\r\n"));
  state.SetBytesProcessed(state.iterations() * state.range(0));
  state.SetComplexityN(state.range(0));
}
BENCHMARK(BM_SplitTextLines)->RangeMultiplier(4)->Range(1 << 16, 1 << 24)->Complexity();

}  // namespace
}  // namespace quorvel
