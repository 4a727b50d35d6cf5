#include "platform/win32/sound_player_mci.h"

#include <mmsystem.h>

namespace quorvel {
namespace {

constexpr wchar_t kNotifyWindowClass[] = L"QuorvelSoundNotify";

}  // namespace

SoundPlayerMci::SoundPlayerMci()
    // Every player has a device alias of its own.
    : alias_(L"quorvel_sound_" + std::to_wstring(reinterpret_cast<uintptr_t>(this))) {}

SoundPlayerMci::~SoundPlayerMci() {
  Stop();
  if (notifyWindow_ != nullptr) ::DestroyWindow(notifyWindow_);
}

void SoundPlayerMci::Play(int32_t playCount, const std::wstring& path) {
  Stop();
  if (playCount <= 0 || path.empty() || !EnsureNotifyWindow()) return;
  if (!Command(L"open \"" + path + L"\" type mpegvideo alias " + alias_)) return;
  open_ = true;
  device_ = ::mciGetDeviceIDW(alias_.c_str());
  playsLeft_ = playCount;
  StartOnePlay();
}

void SoundPlayerMci::Stop() {
  if (!open_) return;
  open_ = false;
  playsLeft_ = 0;
  device_ = 0;
  Command(L"close " + alias_);
  // The next device may get the same number: a notification of this one that
  // is still waiting (a play that had just ended, the abort that closing
  // reports) must not count for it.
  MSG waiting;
  while (::PeekMessageW(&waiting, notifyWindow_, MM_MCINOTIFY, MM_MCINOTIFY, PM_REMOVE)) {
  }
}

bool SoundPlayerMci::EnsureNotifyWindow() {
  if (notifyWindow_ != nullptr) return true;
  HINSTANCE instance = ::GetModuleHandleW(nullptr);
  WNDCLASSEXW windowClass = {};
  windowClass.cbSize = sizeof(windowClass);
  windowClass.lpfnWndProc = &SoundPlayerMci::NotifyWindowProc;
  windowClass.hInstance = instance;
  windowClass.lpszClassName = kNotifyWindowClass;
  if (!::RegisterClassExW(&windowClass) && ::GetLastError() != ERROR_CLASS_ALREADY_EXISTS) {
    return false;
  }
  notifyWindow_ = ::CreateWindowExW(0, kNotifyWindowClass, L"", 0, 0, 0, 0, 0, HWND_MESSAGE,
                                    nullptr, instance, nullptr);
  if (notifyWindow_ == nullptr) return false;
  ::SetWindowLongPtrW(notifyWindow_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
  return true;
}

void SoundPlayerMci::StartOnePlay() {
  if (!Command(L"play " + alias_ + L" from 0 notify", notifyWindow_)) {
    Stop();
    return;
  }
  --playsLeft_;
  ++playsStarted_;
}

void SoundPlayerMci::OnNotify(WPARAM flags, LPARAM device) {
  // Notifications of an earlier, closed device, and the abort that closing
  // a device reports, are not about the current sound.
  if (!open_ || static_cast<UINT>(device) != device_) return;
  if (flags == MCI_NOTIFY_SUCCESSFUL && playsLeft_ > 0) {
    StartOnePlay();
  } else if (flags == MCI_NOTIFY_SUCCESSFUL || flags == MCI_NOTIFY_FAILURE) {
    Stop();
  }
}

bool SoundPlayerMci::Command(const std::wstring& command, HWND notify) {
  return ::mciSendStringW(command.c_str(), nullptr, 0, notify) == 0;
}

LRESULT CALLBACK SoundPlayerMci::NotifyWindowProc(HWND window, UINT message, WPARAM wParam,
                                                  LPARAM lParam) {
  if (message == MM_MCINOTIFY) {
    auto* player = reinterpret_cast<SoundPlayerMci*>(::GetWindowLongPtrW(window, GWLP_USERDATA));
    if (player != nullptr) player->OnNotify(wParam, lParam);
    return 0;
  }
  return ::DefWindowProcW(window, message, wParam, lParam);
}

}  // namespace quorvel
