// MainWindowQt is MainWindow over Qt 6 Widgets: the fixed window of
// app/main_window_description.h with its controls, its timer and the window
// and system operations the handlers call. Needs a QApplication.
#ifndef QUORVEL_PLATFORM_LINUX_MAIN_WINDOW_QT_H_
#define QUORVEL_PLATFORM_LINUX_MAIN_WINDOW_QT_H_

#include <QString>

#include <cstdint>
#include <functional>
#include <memory>

#include "app/window_operations.h"
#include "platform/linux/mp3_player_sdl.h"
#include "text/text.h"

class QWidget;

namespace quorvel {

class MainWindowWidget;

// Text (code page 936) to and from QString, through the program's own code
// page layer. A character that code page 936 lacks comes back as "?".
QString ToQString(const Text& text);
Text FromQString(const QString& s);

class MainWindowQt final : public WindowOperations {
 public:
  // Builds the window and every control; the window stays hidden until Show().
  MainWindowQt();
  MainWindowQt(const MainWindowQt&) = delete;
  MainWindowQt& operator=(const MainWindowQt&) = delete;
  ~MainWindowQt() override;

  // The handlers run by the clicked event of 按钮_检测 and the periodic event
  // of 时钟_检测.
  void SetEventHandlers(std::function<void()> detectButtonClicked,
                        std::function<void()> detectTimerTick);
  // Shows the window in its normal state, centred on the primary screen.
  void Show();

  // The top-level window; its controls are its children named after them.
  QWidget* widget() const;
  bool IsAlwaysOnTop() const { return alwaysOnTop_; }
  int32_t DetectTimerPeriod() const { return timerPeriod_; }
  Mp3PlayerSdl& player() { return player_; }

  Text ReadEditText(EditBox box) override;
  Text ReadDetectButtonCaption() override;
  void WriteDetectButtonCaption(const Text& caption) override;
  void WriteDetectTimerPeriod(int32_t milliseconds) override;
  void AppendEditText(EditBox box, const Text& text) override;
  void SetAlwaysOnTop(int32_t flag) override;
  void ShowMessageBox(const Text& text) override;
  void PlayMp3(int32_t playCount, const Text& path) override;
  bool WriteFileBytes(const Text& path, const Bytes& bytes) override;
  int32_t PathFileExistsA(const Text& path) override;
  Text AlertSoundPath() override;

 private:
  std::unique_ptr<MainWindowWidget> window_;
  Text caption_;
  int32_t timerPeriod_ = 0;
  bool alwaysOnTop_ = false;
  Mp3PlayerSdl player_;
};

// Reports a fatal error on standard error (in UTF-8) and, once a QApplication
// has a screen, in a modal message box with the error icon. For
// SetFatalErrorReporter().
void ReportFatalErrorQt(const Text& reason);

}  // namespace quorvel

#endif  // QUORVEL_PLATFORM_LINUX_MAIN_WINDOW_QT_H_
