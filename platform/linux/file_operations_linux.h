// The file and shell operations of the window layer, over the Linux file
// system. Paths travel as Text in code page 936, as on Windows; the file
// system takes UTF-8 names, so every path is converted on its way in and out.
#ifndef QUORVEL_PLATFORM_LINUX_FILE_OPERATIONS_LINUX_H_
#define QUORVEL_PLATFORM_LINUX_FILE_OPERATIONS_LINUX_H_

#include <cstdint>
#include <string>

#include "text/text.h"

namespace quorvel {

// FileSystemPath() is `path` (code page 936) as the UTF-8 name the file
// system takes.
//   FileSystemPath("\xC7\xA9\xB5\xBD.mp3") == "签到.mp3" (in UTF-8)
std::string FileSystemPath(const Text& path);

// WriteFileBytes() creates the file, or empties an existing one, takes an
// exclusive lock on it, writes all of `bytes` and closes it: true. False for
// an empty path and whenever the file cannot be created, locked or written.
bool WriteFileBytes(const Text& path, const Bytes& bytes);

// PathFileExistsA() is 1 when a file or a directory of that path exists,
// otherwise 0.
int32_t PathFileExistsA(const Text& path);

// AlertSoundPath() is the directory of the running executable, a slash, and
// "签到提示.mp3"; the empty text when the executable's path cannot be read.
Text AlertSoundPath();

}  // namespace quorvel

#endif  // QUORVEL_PLATFORM_LINUX_FILE_OPERATIONS_LINUX_H_
