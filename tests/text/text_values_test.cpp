#include "text/text.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <limits>
#include <new>
#include <string>
#include <utility>

#include "text/fatal_error.h"

#ifdef _WIN32
#include <windows.h>

#include <thread>
#endif

namespace quorvel {
namespace {

TEST(TextTest, StopsAtTheFirstZeroByte) {
  struct {
    std::string in;
    std::string want;
  } cases[] = {
      {std::string("hi\0j", 4), "hi"},
      {std::string("\0abc", 4), ""},
      {"", ""},
      {"\xBD\xF8", "\xBD\xF8"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.want);
    Text t{std::string_view(c.in)};
    EXPECT_EQ(t.bytes(), c.want);
    EXPECT_EQ(t.length(), static_cast<int32_t>(c.want.size()));
  }
  EXPECT_TRUE(Text(static_cast<const char*>(nullptr)).empty());
}

TEST(TextTest, CompareTextIsUnsignedAndExact) {
  struct {
    const char* a;
    const char* b;
    int want;
  } cases[] = {
      {"", "", 0},       {"abc", "abc", 0},  {"abc", "abd", -1}, {"b", "a", 1},
      {"ab", "abc", -1}, {"\x80", "a", 1},   {"A", "a", -1},     {nullptr, "", 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.a ? c.a : "(missing)") + " vs " + c.b);
    EXPECT_EQ(CompareText(Text(c.a), Text(c.b)), c.want);
  }
}

TEST(TextTest, ConcatAndBytes) {
  EXPECT_EQ(ConcatText({"a", Text(), "bc"}), Text("abc"));
  EXPECT_TRUE(CompareBytes(Bytes(), Bytes(std::vector<unsigned char>{})));
  EXPECT_TRUE(ConcatBytes({Bytes(), Bytes()}).empty());
  EXPECT_EQ(ConcatBytes({Bytes{1, 0}, Bytes{}, Bytes{2}}), (Bytes{1, 0, 2}));
  EXPECT_FALSE(CompareBytes(Bytes{0}, Bytes{}));
}

TEST(TextArrayTest, AppendAndResize) {
  TextArray a;
  EXPECT_EQ(ElementCount(a), 0);
  AppendElement(a, "x");
  AppendElement(a, "y");
  ASSERT_EQ(ElementCount(a), 2);
  EXPECT_EQ(a[1], Text("x"));
  EXPECT_EQ(a[2], Text("y"));
  ResizeArray(a, true, 3);
  EXPECT_EQ(a[1], Text("x"));
  EXPECT_TRUE(a[3].empty());
  ResizeArray(a, false, 2);
  EXPECT_TRUE(a[1].empty());
  ResizeArray(a, true, 0);
  EXPECT_EQ(ElementCount(a), 0);
}

TEST(TruncateTest, TowardZero) {
  struct {
    double x;
    int64_t want;
    int32_t want32;
  } cases[] = {
      {2.7, 2, 2},
      {-2.7, -2, -2},
      {7.999, 7, 7},
      {-0.5, 0, 0},
      {4294967297.0, 4294967297LL, 1},  // a 32-bit variable receives the low 32 bits
      {2147483648.0, 2147483648LL, std::numeric_limits<int32_t>::min()},
      {-4294967297.5, -4294967297LL, -1},
      {9007199254740993.0, 9007199254740992LL, 0},
      // Outside the 64-bit range, and NaN, there is no integer to give: 0.
      {1e300, 0, 0},
      {-9.3e18, 0, 0},
      {std::numeric_limits<double>::infinity(), 0, 0},
      {std::numeric_limits<double>::quiet_NaN(), 0, 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.x);
    EXPECT_EQ(TruncateToInteger(c.x), c.want);
    EXPECT_EQ(TruncateToInt32(c.x), c.want32);
  }
}

TEST(TextTest, EveryWayOfMakingOneStopsAtZero) {
  std::string withZero("ab\0cd", 5);
  EXPECT_EQ(Text(std::move(withZero)).bytes(), "ab");
  Text joined("x");
  joined += Text(std::string_view("y\0z", 3));
  EXPECT_EQ(joined.bytes(), "xy");
  EXPECT_EQ(ConcatText({Text(std::string("\0", 1)), "q"}).bytes(), "q");
}

#ifdef _WIN32
constexpr int kFatalExit = -1;
#else
constexpr int kFatalExit = 255;  // -1 as a POSIX exit status
#endif

TEST(TextArrayDeathTest, IndexOutsideEndsTheProgram) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  // The reason goes to standard error only: no message box waits for a click.
  SetFatalErrorReporter([](const Text& reason) { std::fprintf(stderr, "%s\n", reason.c_str()); });
  TextArray a{"only"};
  EXPECT_EXIT(static_cast<void>(a[0]), ::testing::ExitedWithCode(kFatalExit), "outside");
  EXPECT_EXIT(static_cast<void>(a[2]), ::testing::ExitedWithCode(kFatalExit), "outside");
  EXPECT_EXIT(ResizeArray(a, true, -1), ::testing::ExitedWithCode(kFatalExit), "below 0");
}

void ReportToStandardError(const Text& reason) { std::fprintf(stderr, "%s\n", reason.c_str()); }

void* volatile g_allocated = nullptr;

TEST(FatalErrorDeathTest, ExhaustedMemoryEndsTheProgram) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  SetFatalErrorReporter(ReportToStandardError);
  // The handler is in place before main() runs.
  const std::new_handler handler = std::get_new_handler();
  ASSERT_NE(handler, nullptr);
  EXPECT_EXIT(handler(), ::testing::ExitedWithCode(kFatalExit), "out of memory");
#ifndef __SANITIZE_ADDRESS__
  // AddressSanitizer ends a failed allocation with its own report instead.
  EXPECT_EXIT(g_allocated = ::operator new(std::numeric_limits<size_t>::max() / 2),
              ::testing::ExitedWithCode(kFatalExit), "out of memory");
#endif
}

#ifdef _WIN32
// Presses OK on the message box of the default report once it shows, so that
// the test never waits for a user.
void PressOkOnTheReportWhenItShows() {
  std::thread([] {
    for (int i = 0; i < 400; ++i) {
      if (HWND box = ::FindWindowW(L"#32770", L"Quorvel")) {
        ::PostMessageW(box, WM_COMMAND, IDOK, 0);
        return;
      }
      ::Sleep(25);
    }
  }).detach();
}
#endif

TEST(FatalErrorDeathTest, DefaultReportNamesTheReason) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  SetFatalErrorReporter(nullptr);
#ifdef _WIN32
  EXPECT_EXIT((PressOkOnTheReportWhenItShows(), FatalError("the reason")),
              ::testing::ExitedWithCode(kFatalExit), "fatal error: the reason");
#else
  EXPECT_EXIT(FatalError("the reason"), ::testing::ExitedWithCode(kFatalExit),
              "fatal error: the reason");
#endif
}

}  // namespace
}  // namespace quorvel
