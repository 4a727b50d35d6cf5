// The file operations of the window backend, over the wide file API.
#ifndef QUORVEL_PLATFORM_WIN32_FILE_OPERATIONS_WIN32_H_
#define QUORVEL_PLATFORM_WIN32_FILE_OPERATIONS_WIN32_H_

#include <string>

#include "text/text.h"

namespace quorvel {

// WriteFileBytesToPath() creates the file or empties an existing one, opened
// for exclusive writing, writes every byte and closes it. False for an empty
// path, or when the file cannot be created or fully written.
bool WriteFileBytesToPath(const std::wstring& path, const Bytes& bytes);

// PathExists() is true when a file or a directory of that path exists.
bool PathExists(const std::wstring& path);

// ExecutablePath() is the full path of this process's program file.
std::wstring ExecutablePath();

// FileBesideExecutable() is `executablePath` up to, not including, its last
// backslash, then a backslash and `fileName`. A path without a backslash
// gives "\" and the name.
//   FileBesideExecutable(L"C:\\a\\q.exe", L"s.mp3") == L"C:\\a\\s.mp3"
std::wstring FileBesideExecutable(const std::wstring& executablePath, const std::wstring& fileName);

}  // namespace quorvel

#endif  // QUORVEL_PLATFORM_WIN32_FILE_OPERATIONS_WIN32_H_
