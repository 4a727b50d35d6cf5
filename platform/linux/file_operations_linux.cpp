#include "platform/linux/file_operations_linux.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <string>
#include <vector>

#include "app/main_window_description.h"
#include "text/code_page_conversion.h"

namespace quorvel {

namespace {

// Closes the descriptor when it goes out of scope.
class FileDescriptor {
 public:
  explicit FileDescriptor(int fd) : fd_(fd) {}
  FileDescriptor(const FileDescriptor&) = delete;
  FileDescriptor& operator=(const FileDescriptor&) = delete;
  ~FileDescriptor() {
    if (fd_ >= 0) ::close(fd_);
  }
  int get() const { return fd_; }
  // Closes now and tells whether the close succeeded: a write can fail late.
  bool Close() {
    const int fd = fd_;
    fd_ = -1;
    return ::close(fd) == 0;
  }

 private:
  int fd_;
};

}  // namespace

std::string FileSystemPath(const Text& path) {
  return WideToText(TextToWide(path, 936), 65001).bytes();
}

bool WriteFileBytes(const Text& path, const Bytes& bytes) {
  if (path.empty()) return false;
  // Not O_TRUNC: the file is emptied only once this program holds the lock.
  FileDescriptor file(::open(FileSystemPath(path).c_str(), O_WRONLY | O_CREAT | O_CLOEXEC, 0644));
  if (file.get() < 0) return false;
  if (::flock(file.get(), LOCK_EX | LOCK_NB) != 0) return false;
  if (::ftruncate(file.get(), 0) != 0) return false;
  const unsigned char* data = bytes.data().data();
  size_t left = bytes.data().size();
  while (left > 0) {
    const ssize_t written = ::write(file.get(), data, left);
    if (written < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    data += written;
    left -= static_cast<size_t>(written);
  }
  return file.Close();
}

int32_t PathFileExistsA(const Text& path) {
  if (path.empty()) return 0;
  struct stat info;
  return ::stat(FileSystemPath(path).c_str(), &info) == 0 ? 1 : 0;
}

Text AlertSoundPath() {
  std::vector<char> buffer(4096);
  for (;;) {
    const ssize_t n = ::readlink("/proc/self/exe", buffer.data(), buffer.size());
    if (n < 0) return Text();
    if (static_cast<size_t>(n) < buffer.size()) {
      std::string executable(buffer.data(), static_cast<size_t>(n));
      const size_t slash = executable.rfind('/');
      if (slash == std::string::npos) return Text();
      // The directory's UTF-8 name in code page 936, then the file's name.
      return ConcatText({Utf8ToAnsi(Text(executable.substr(0, slash))), "/", kAlertSoundFileName});
    }
    buffer.resize(buffer.size() * 2);
  }
}

}  // namespace quorvel
