// One poll cycle's processing of a fetched page, as OnDetectTimerTick does it:
// the body turned into text, converted from UTF-8 with Utf8ToAnsi, searched by
// a new RegexMatcher over the PCRE2 engine for the program's pattern, and the
// count read with SubMatchText(1, 1).
//
// Pages: course pages (UTF-8 HTML with Chinese text, the counter 进行中(0) near
// the end) and hostile pages (进行中( over and over, never closed, no line
// break), each of 64 KiB, 1 MiB and 16 MiB. A course page must give the count
// "0" and a hostile one the empty count, the alert.
//
//   poll_cycle_benchmark --write_pages=DIR   writes the pages to DIR and ends,
//       for benchmarks/compare_with_peer.py to time the same pages elsewhere
//   poll_cycle_benchmark [benchmark flags]   times the cycle on each page
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstring>
#include <fstream>
#include <string>
#include <vector>

#include "pattern/regex_matcher.h"
#include "platform/linux/page_memory.h"
#include "platform/linux/regex_engine_pcre2.h"
#include "text/code_page_conversion.h"
#include "text/text_commands.h"

namespace quorvel {
namespace {

// 进行中\((.*?)\)
const Text kPattern("\xBD\xF8\xD0\xD0\xD6\xD0\\((.*?)\\)");

struct Page {
  std::string name;
  bool hostile;
  size_t size;
};

const Page kPages[] = {
    {"course-64KiB", false, 64 << 10}, {"course-1MiB", false, 1 << 20},
    {"course-16MiB", false, 16 << 20}, {"hostile-64KiB", true, 64 << 10},
    {"hostile-1MiB", true, 1 << 20},   {"hostile-16MiB", true, 16 << 20},
};

// Exactly `size` bytes of UTF-8. A course page is a list of activities in
// Chinese, then the counter and the closing tags in its last 200 bytes or so.
std::string MakePage(const Page& page) {
  std::string out;
  out.reserve(page.size);
  if (page.hostile) {
    const std::string unclosed = "进行中(";
    while (out.size() + unclosed.size() <= page.size) out += unclosed;
    out.append(page.size - out.size(), 'x');
    return out;
  }
  const std::string head =
      "<!DOCTYPE html>\n<html><head><meta charset=\"utf-8\"><title>课程活动</title></head>\n"
      "<body><ul class=\"activities\">\n";
  const std::string tail =
      "</ul>\n<div class=\"status\">签到 进行中(0) 已结束(12)</div>\n</body></html>\n";
  out += head;
  for (int n = 1; out.size() < page.size - tail.size() - 200; ++n) {
    out += "<li class=\"activity\"><span>第" + std::to_string(n) +
           "次课 签到 已结束</span><em>讨论、作业与测验，请按时完成。</em></li>\n";
  }
  out.append(page.size - tail.size() - out.size(), ' ');
  out += tail;
  return out;
}

void PollCycle(benchmark::State& state, const Page& page) {
  const std::string html = MakePage(page);
  const Bytes body(html.data(), static_cast<int32_t>(html.size()));
  RegexEngineProviderPcre2 provider;
  const Text want = page.hostile ? Text() : Text("0");
  for (auto _ : state) {
    RegexMatcher matcher(provider);
    const Text text = BytesToText(body);
    const Text converted = Utf8ToAnsi(text);
    matcher.Create(kPattern, converted);
    const Text count = matcher.SubMatchText(1, 1);
    if (count != want) {
      state.SkipWithError("the count read from the page is not the one it holds");
      break;
    }
    benchmark::DoNotOptimize(count);
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) *
                          static_cast<int64_t>(page.size));
}

bool WritePages(const std::string& dir) {
  for (const Page& page : kPages) {
    std::ofstream file(dir + "/" + page.name + ".html", std::ios::binary);
    const std::string html = MakePage(page);
    file.write(html.data(), static_cast<std::streamsize>(html.size()));
    if (!file) return false;
  }
  return true;
}

}  // namespace
}  // namespace quorvel

int main(int argc, char** argv) {
  const char* kWritePages = "--write_pages=";
  for (int i = 1; i < argc; ++i) {
    if (std::strncmp(argv[i], kWritePages, std::strlen(kWritePages)) == 0) {
      if (quorvel::WritePages(argv[i] + std::strlen(kWritePages))) return 0;
      std::fprintf(stderr, "cannot write the pages to %s\n", argv[i] + std::strlen(kWritePages));
      return 1;
    }
  }
  for (const quorvel::Page& page : quorvel::kPages) {
    benchmark::RegisterBenchmark(("PollCycle/" + page.name).c_str(), quorvel::PollCycle, page)
        ->Unit(benchmark::kMillisecond);
  }
  // As the program does at start-up.
  quorvel::KeepPageMemoryForReuse();
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
