// The file operations of the Linux window layer on a real file system.
#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "app/main_window_description.h"
#include "platform/linux/file_operations_linux.h"
#include "tests/app/fake_services.h"

namespace quorvel {
namespace {

namespace fs = std::filesystem;
using ::quorvel::testing::Cp936;

std::string ReadAll(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// A fresh directory with a Chinese name, removed afterwards.
class FileOperationsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string pattern = (fs::temp_directory_path() / "quorvel-files-XXXXXX").string();
    ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
    root_ = fs::path(pattern) / "监控 目录";
    fs::create_directory(root_);
  }
  void TearDown() override { fs::remove_all(root_.parent_path()); }

  // The path as the program holds it: code page 936.
  Text Cp936Path(const std::string& utf8Name) const {
    return Cp936((root_ / utf8Name).string().c_str());
  }

  fs::path root_;
};

TEST_F(FileOperationsTest, FileSystemPathIsUtf8) {
  EXPECT_EQ(FileSystemPath(Cp936("/tmp/签到提示.mp3")), "/tmp/签到提示.mp3");
  EXPECT_EQ(FileSystemPath(Text()), "");
}

TEST_F(FileOperationsTest, WriteFileBytesCreatesOrEmptiesTheFile) {
  const Bytes data{0, 1, 2, 255, 0, 'x'};
  ASSERT_TRUE(WriteFileBytes(Cp936Path("签到提示.mp3"), data));
  EXPECT_EQ(ReadAll(root_ / "签到提示.mp3"), std::string("\0\1\2\xFF\0x", 6));

  // An existing longer file is emptied first, not overwritten in place.
  { std::ofstream(root_ / "old.bin", std::ios::binary) << std::string(100, 'z'); }
  ASSERT_TRUE(WriteFileBytes(Cp936Path("old.bin"), Bytes{'a', 'b'}));
  EXPECT_EQ(ReadAll(root_ / "old.bin"), "ab");

  ASSERT_TRUE(WriteFileBytes(Cp936Path("empty.bin"), Bytes()));
  EXPECT_TRUE(fs::exists(root_ / "empty.bin"));
  EXPECT_EQ(fs::file_size(root_ / "empty.bin"), 0u);
}

TEST_F(FileOperationsTest, WriteFileBytesFailsQuietly) {
  fs::create_directory(root_ / "a directory");
  struct {
    const char* what;
    Text path;
  } cases[] = {
      {"empty path", Text()},
      {"a directory of that name", Cp936Path("a directory")},
      {"a missing directory", Cp936Path("missing/file.bin")},
  };
  for (auto& c : cases) {
    SCOPED_TRACE(c.what);
    EXPECT_FALSE(WriteFileBytes(c.path, Bytes{1, 2, 3}));
  }
  EXPECT_TRUE(fs::is_directory(root_ / "a directory"));
}

TEST_F(FileOperationsTest, WriteFileBytesFailsInADirectoryWithoutWriteAccess) {
  if (::geteuid() == 0) GTEST_SKIP() << "root writes into any directory";
  fs::create_directory(root_ / "locked");
  fs::permissions(root_ / "locked", fs::perms::owner_read | fs::perms::owner_exec);
  EXPECT_FALSE(WriteFileBytes(Cp936Path("locked/file.bin"), Bytes{1}));
  fs::permissions(root_ / "locked", fs::perms::owner_all);
}

TEST_F(FileOperationsTest, PathFileExistsAKnowsFilesAndDirectories) {
  { std::ofstream(root_ / "签到提示.mp3"); }
  fs::create_directory(root_ / "子目录");
  struct {
    const char* what;
    Text path;
    int32_t want;
  } cases[] = {
      {"file", Cp936Path("签到提示.mp3"), 1},
      {"directory", Cp936Path("子目录"), 1},
      {"missing", Cp936Path("nothing.mp3"), 0},
      {"empty path", Text(), 0},
  };
  for (auto& c : cases) {
    SCOPED_TRACE(c.what);
    EXPECT_EQ(PathFileExistsA(c.path), c.want);
  }
}

TEST(AlertSoundPathTest, IsTheSoundFileBesideTheExecutable) {
  const fs::path executable = fs::read_symlink("/proc/self/exe");
  const Text want = Cp936((executable.parent_path() / "签到提示.mp3").string().c_str());
  EXPECT_EQ(AlertSoundPath(), want);
  EXPECT_EQ(FileSystemPath(AlertSoundPath()), (executable.parent_path() / "签到提示.mp3").string());
}

}  // namespace
}  // namespace quorvel
