// The window and system operations the handlers are written against. Each
// toolkit backend implements them over its own window: MainWindowQt on Linux,
// MainWindowWin32 on Windows; tests use a recording fake.
#ifndef QUORVEL_APP_WINDOW_OPERATIONS_H_
#define QUORVEL_APP_WINDOW_OPERATIONS_H_

#include <cstdint>

#include "text/text.h"

namespace quorvel {

enum class EditBox {
  kAddress,  // 编辑框_网址
  kCookies,  // 编辑框_cookies
  kStatus,   // 编辑框_提示
};

class WindowOperations {
 public:
  virtual ~WindowOperations() = default;

  // The box's whole current text, line breaks as CR LF.
  virtual Text ReadEditText(EditBox box) = 0;
  // The caption of 按钮_检测 as last written.
  virtual Text ReadDetectButtonCaption() = 0;
  virtual void WriteDetectButtonCaption(const Text& caption) = 0;
  // The period of 时钟_检测 in milliseconds. Writing the period it already has
  // changes nothing; another value restarts it, and 0 or less stops it.
  virtual void WriteDetectTimerPeriod(int32_t milliseconds) = 0;
  // Adds `text` at the very end of the box, caret after it, end in view.
  virtual void AppendEditText(EditBox box, const Text& text) = 0;
  // 1 puts the window into the topmost band, any other value takes it out;
  // never moves, sizes or activates it.
  virtual void SetAlwaysOnTop(int32_t flag) = 0;
  // Modal box with the caption "信息：", one OK button and no icon.
  virtual void ShowMessageBox(const Text& text) = 0;
  // Stops any earlier sound, then plays the MP3 file `playCount` times in the
  // background and returns at once. A file that cannot be played plays nothing.
  virtual void PlayMp3(int32_t playCount, const Text& path) = 0;
  // Creates or empties the file and writes the bytes; false on any failure.
  virtual bool WriteFileBytes(const Text& path, const Bytes& bytes) = 0;
  // Non-zero when a file or a directory of that path exists.
  virtual int32_t PathFileExistsA(const Text& path) = 0;
  // The full path of the alert sound file beside the executable.
  virtual Text AlertSoundPath() = 0;
};

}  // namespace quorvel

#endif  // QUORVEL_APP_WINDOW_OPERATIONS_H_
