// The two steps of reading the counter from a page, timed apart: Utf8ToAnsi
// over the body, and RegexMatcher (PCRE2) reading group 1 of match 1 from the
// converted text. Pages of 64 KiB, 1 MiB and 16 MiB: a course page with the
// counter at its end, and a trap for the lazy group, every line full of
// 进行中( and the only ")" after the last line break.
#include <benchmark/benchmark.h>

#include <string>

#include "pattern/regex_matcher.h"
#include "platform/linux/regex_engine_pcre2.h"
#include "text/code_page_conversion.h"

namespace quorvel {
namespace {

const Text kPattern("\xBD\xF8\xD0\xD0\xD6\xD0\\((.*?)\\)");  // 进行中\((.*?)\)

std::string CoursePage(size_t size) {
  const std::string row = "<tr><td>第十二周 课堂签到</td><td>已结束</td><td>2024-05-20</td></tr>\n";
  std::string page;
  page.reserve(size + row.size());
  while (page.size() + 40 < size) page += row;
  return page + "<span>进行中(0)</span>";
}

std::string TrapPage(size_t size) {
  std::string page;
  page.reserve(size + 16);
  while (page.size() + 16 < size) page += "进行中(";
  return page + "\n)";
}

void BM_Utf8ToAnsi(benchmark::State& state) {
  const Text body(CoursePage(static_cast<size_t>(state.range(0))));
  for (auto _ : state) benchmark::DoNotOptimize(Utf8ToAnsi(body));
  state.SetBytesProcessed(state.iterations() * body.length());
}

void Match(benchmark::State& state, const Text& page, const Text& want) {
  RegexEngineProviderPcre2 provider;
  for (auto _ : state) {
    RegexMatcher matcher(provider);
    matcher.Create(kPattern, page);
    if (matcher.SubMatchText(1, 1) != want) {
      state.SkipWithError("the page gave another count");
      break;
    }
  }
  state.SetBytesProcessed(state.iterations() * page.length());
}

void BM_MatchCoursePage(benchmark::State& state) {
  Match(state, Utf8ToAnsi(Text(CoursePage(static_cast<size_t>(state.range(0))))), Text("0"));
}

void BM_MatchTrapPage(benchmark::State& state) {
  Match(state, Utf8ToAnsi(Text(TrapPage(static_cast<size_t>(state.range(0))))), Text());
}

BENCHMARK(BM_Utf8ToAnsi)->Arg(64 << 10)->Arg(1 << 20)->Arg(16 << 20)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_MatchCoursePage)
    ->Arg(64 << 10)
    ->Arg(1 << 20)
    ->Arg(16 << 20)
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_MatchTrapPage)->Arg(64 << 10)->Arg(1 << 20)->Arg(16 << 20)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace quorvel

BENCHMARK_MAIN();
