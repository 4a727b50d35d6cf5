// MP3 playback in the background over the system's media control interface
// (MCI, the "mpegvideo" device). The device decodes and plays on its own
// worker; each finished play sends a notification to a hidden message window
// on the creating thread, which starts the next play until the count is used up.
#ifndef QUORVEL_PLATFORM_WIN32_SOUND_PLAYER_MCI_H_
#define QUORVEL_PLATFORM_WIN32_SOUND_PLAYER_MCI_H_

#include <windows.h>

#include <cstdint>
#include <string>

namespace quorvel {

class SoundPlayerMci final {
 public:
  SoundPlayerMci();
  ~SoundPlayerMci();
  SoundPlayerMci(const SoundPlayerMci&) = delete;
  SoundPlayerMci& operator=(const SoundPlayerMci&) = delete;

  // Stops and closes any earlier sound, then opens the file and plays it
  // `playCount` times in a row, returning at once. A file the device cannot
  // open or play plays nothing; a count of 0 or less plays nothing.
  void Play(int32_t playCount, const std::wstring& path);
  // Stops and closes the sound, if any.
  void Stop();

  // True from a successful open until the last play has ended or Stop().
  bool IsOpen() const { return open_; }
  // The plays started since this player was made; a repeat counts as one.
  int32_t PlaysStarted() const { return playsStarted_; }

 private:
  static LRESULT CALLBACK NotifyWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  bool EnsureNotifyWindow();
  void StartOnePlay();
  void OnNotify(WPARAM flags, LPARAM device);
  bool Command(const std::wstring& command, HWND notify = nullptr);

  std::wstring alias_;
  HWND notifyWindow_ = nullptr;
  bool open_ = false;
  UINT device_ = 0;
  int32_t playsLeft_ = 0;
  int32_t playsStarted_ = 0;
};

}  // namespace quorvel

#endif  // QUORVEL_PLATFORM_WIN32_SOUND_PLAYER_MCI_H_
