// MainWindow as data: its caption, size and every control with its place,
// size, initial text and properties. Both window backends build the window
// from this description, and the tests read the real windows back against it.
//
// Texts are in code page 936, written as escaped bytes with their characters
// in a comment. A hex escape runs on through following hex digits, so a
// literal is split where a letter a ... f follows an escape.
#ifndef QUORVEL_APP_MAIN_WINDOW_DESCRIPTION_H_
#define QUORVEL_APP_MAIN_WINDOW_DESCRIPTION_H_

namespace quorvel {

enum class ControlKind { kTransparentLabel, kEditBox, kPushButton, kTimer };

enum class TextLayout {
  kNone,
  kSingleLineCentredVertically,  // one line, left-aligned, vertically centred
  kWordWrapFromTop,              // word-wrapped lines drawn from the top edge
  kCentred,                      // centred horizontally and vertically
  kSingleLineEdit,               // single-line edit box, scrolls sideways
  kMultiLineEdit,                // multi-line edit box, wraps, Enter adds a line
};

struct ControlDescription {
  const char* name;  // the control's name, UTF-8
  ControlKind kind;
  int left;
  int top;
  int width;
  int height;
  const char* initialText;  // code page 936
  TextLayout layout;
};

struct MainWindowDescription {
  const char* caption;  // code page 936
  int outerWidth;       // frame and title bar included
  int outerHeight;
  const ControlDescription* controls;  // in stacking order, first on top
  int controlCount;
};

inline constexpr ControlDescription kMainWindowControls[] = {
    // 监控提示
    {"透明标签3", ControlKind::kTransparentLabel, 584, 40, 56, 32,
     "\xBC\xE0\xBF\xD8\xCC\xE1\xCA\xBE", TextLayout::kSingleLineCentredVertically},
    // "  登录\r\ncookies："
    {"透明标签2", ControlKind::kTransparentLabel, 8, 192, 56, 32,
     "  \xB5\xC7\xC2\xBC\r\n"
     "cookies\xA3\xBA",
     TextLayout::kWordWrapFromTop},
    // 监控网址：
    {"透明标签1", ControlKind::kTransparentLabel, 8, 72, 56, 32,
     "\xBC\xE0\xBF\xD8\xCD\xF8\xD6\xB7\xA3\xBA", TextLayout::kSingleLineCentredVertically},
    {"编辑框_提示", ControlKind::kEditBox, 544, 72, 128, 208, "", TextLayout::kMultiLineEdit},
    // 开始检测
    {"按钮_检测", ControlKind::kPushButton, 272, 16, 136, 40, "\xBF\xAA\xCA\xBC\xBC\xEC\xB2\xE2",
     TextLayout::kCentred},
    {"编辑框_cookies", ControlKind::kEditBox, 72, 144, 448, 136, "", TextLayout::kMultiLineEdit},
    {"编辑框_网址", ControlKind::kEditBox, 72, 72, 456, 32, "", TextLayout::kSingleLineEdit},
    {"时钟_检测", ControlKind::kTimer, 56, 16, 32, 32, "", TextLayout::kNone},
};

inline constexpr MainWindowDescription kMainWindow = {
    "Quorvel", 703, 338, kMainWindowControls,
    static_cast<int>(sizeof(kMainWindowControls) / sizeof(kMainWindowControls[0]))};

// The fixed texts of the window and the poll cycle.
inline constexpr char kStartCaption[] = "\xBF\xAA\xCA\xBC\xBC\xEC\xB2\xE2";  // 开始检测
inline constexpr char kStopCaption[] = "\xCD\xA3\xD6\xB9\xBC\xEC\xB2\xE2";   // 停止检测
inline constexpr char kMessageBoxCaption[] = "\xD0\xC5\xCF\xA2\xA3\xBA";     // 信息：
// 签到提示.mp3
inline constexpr char kAlertSoundFileName[] = "\xC7\xA9\xB5\xBD\xCC\xE1\xCA\xBE.mp3";
inline constexpr int kDetectPeriodMs = 3000;

// The poll cycle: the counter of running activities, 进行中(...), and what it
// adds to 编辑框_提示.
inline constexpr char kCountPattern[] = "\xBD\xF8\xD0\xD0\xD6\xD0\\((.*?)\\)";  // 进行中\((.*?)\)
inline constexpr char kNothingRunningCount[] = "0";
// 签到未开始\r\n
inline constexpr char kNothingRunningLine[] = "\xC7\xA9\xB5\xBD\xCE\xB4\xBF\xAA\xCA\xBC\r\n";
// 签到已经开始，请自行签到！！
inline constexpr char kAlertMessage[] =
    "\xC7\xA9\xB5\xBD\xD2\xD1\xBE\xAD\xBF\xAA\xCA\xBC\xA3\xAC\xC7\xEB"
    "\xD7\xD4\xD0\xD0\xC7\xA9\xB5\xBD\xA3\xA1\xA3\xA1";
// 签到已经开始，请自行签到！！\r\n
inline constexpr char kAlertLine[] =
    "\xC7\xA9\xB5\xBD\xD2\xD1\xBE\xAD\xBF\xAA\xCA\xBC\xA3\xAC\xC7\xEB"
    "\xD7\xD4\xD0\xD0\xC7\xA9\xB5\xBD\xA3\xA1\xA3\xA1\r\n";
inline constexpr int kAlertPlayCount = 3;

}  // namespace quorvel

#endif  // QUORVEL_APP_MAIN_WINDOW_DESCRIPTION_H_
