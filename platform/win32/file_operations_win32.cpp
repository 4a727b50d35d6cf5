#include "platform/win32/file_operations_win32.h"

#include <windows.h>

namespace quorvel {

bool WriteFileBytesToPath(const std::wstring& path, const Bytes& bytes) {
  if (path.empty()) return false;
  HANDLE file = ::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  const unsigned char* next = bytes.data().data();
  DWORD left = static_cast<DWORD>(bytes.length());
  bool ok = true;
  while (left > 0) {
    DWORD written = 0;
    if (!::WriteFile(file, next, left, &written, nullptr) || written == 0) {
      ok = false;
      break;
    }
    next += written;
    left -= written;
  }
  if (!::CloseHandle(file)) ok = false;
  return ok;
}

bool PathExists(const std::wstring& path) {
  return !path.empty() && ::GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

std::wstring ExecutablePath() {
  // The path may be longer than MAX_PATH; grow until it fits.
  std::wstring path(MAX_PATH, L'\0');
  for (;;) {
    const DWORD n = ::GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
    if (n == 0) return std::wstring();
    if (n < path.size()) {
      path.resize(n);
      return path;
    }
    path.resize(path.size() * 2);
  }
}

std::wstring FileBesideExecutable(const std::wstring& executablePath, const std::wstring& fileName) {
  const size_t slash = executablePath.rfind(L'\\');
  const std::wstring directory =
      slash == std::wstring::npos ? std::wstring() : executablePath.substr(0, slash);
  return directory + L"\\" + fileName;
}

}  // namespace quorvel
