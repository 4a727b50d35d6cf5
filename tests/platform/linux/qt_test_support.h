// A QApplication for the window suites, on Qt's offscreen platform unless the
// caller chose another, and a helper that waits while events are processed.
#ifndef QUORVEL_TESTS_PLATFORM_LINUX_QT_TEST_SUPPORT_H_
#define QUORVEL_TESTS_PLATFORM_LINUX_QT_TEST_SUPPORT_H_

#include <QApplication>
#include <QElapsedTimer>
#include <QTest>

#include <cstdlib>
#include <functional>

namespace quorvel::testing {

inline QApplication& TestApplication() {
  static int argc = 1;
  static char name[] = "quorvel-test";
  static char* argv[] = {name, nullptr};
  static QApplication* application = [] {
    ::setenv("QT_QPA_PLATFORM", "offscreen", 0);
    ::setenv("SDL_AUDIODRIVER", "dummy", 1);
    auto* app = new QApplication(argc, argv);
    // The suites close windows on purpose; the application goes on.
    app->setQuitOnLastWindowClosed(false);
    return app;
  }();
  return *application;
}

// Processes events until `done` holds or `timeoutMs` has passed; returns `done`.
inline bool ProcessEventsUntil(const std::function<bool()>& done, int timeoutMs) {
  QElapsedTimer clock;
  clock.start();
  while (!done()) {
    if (clock.elapsed() > timeoutMs) return false;
    QTest::qWait(10);
  }
  return true;
}

}  // namespace quorvel::testing

#endif  // QUORVEL_TESTS_PLATFORM_LINUX_QT_TEST_SUPPORT_H_
